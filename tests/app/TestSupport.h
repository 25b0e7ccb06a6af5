// SPDX-License-Identifier: GPL-3.0-or-later
// What every window test needs: a real TForm1 in a folder of its own, the
// message boxes recorded instead of shown, a watchdog against any other modal
// dialog, and typing that goes where the keyboard focus is, as a user's does.
#pragma once

#include <memory>

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include "app/MessageBox.h"
#include "app/Unit1.h"

class QLineEdit;

struct RecordedMessage {
  MessageKind Kind;
  QString Text;
};

// Puts the recorder in place for its lifetime.
class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  QList<RecordedMessage> Messages;

 private:
  MessageBoxFunction Previous;
};

// Closes any modal dialog that appears and remembers its class, so that an
// unexpected dialog fails the test instead of hanging it.
class ModalWatchdog {
 public:
  ModalWatchdog();
  QString Seen;  // empty while no dialog appeared
  // For a test that handles its dialogs itself.
  void Stop() { Timer.stop(); }

 private:
  QTimer Timer;
};

// A shown, active TForm1 whose working directory is a fresh temporary folder.
class WindowFixture {
 public:
  // Files runs in the folder before the window is created, BeforeShow on the
  // created window before it is shown.
  explicit WindowFixture(const std::function<void(const QString& Folder)>& Files = {},
                         const std::function<void(TForm1&)>& BeforeShow = {});
  ~WindowFixture();
  TForm1& Form() { return *Window; }
  QString Folder() const { return Dir.path(); }
  QString InfoPath() const { return Dir.path() + QStringLiteral("/info.ini"); }
  MessageRecorder Recorder;
  ModalWatchdog Watchdog;

 private:
  QTemporaryDir Dir;
  QString PreviousDir;
  std::unique_ptr<TForm1> Window;
};

// Once per test program: the look and the reading direction of the program.
void SetUpApplication();

// Keys to whatever has the focus, as the keyboard delivers them.
QWidget* Focused();
void Press(Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
void Type(const QString& Text);
void TypeCharacter(QChar Character, Qt::KeyboardModifiers Modifiers = Qt::NoModifier);
// Focus the edit box (as a click would) and type Text into it.
void TypeInto(QLineEdit* Edit, const QString& Text);
// Click a widget with the left button at its middle (or at Where).
void Click(QWidget* Target, QPoint Where = {});

// Fills the input panel with worked input A through the keyboard: Enter from
// field to field, Space on the check boxes, type-ahead in ComboBox1. Leaves
// the focus on Button1 without pressing it.
void TypeInputA(TForm1& Form);

// Puts worked input A into the panel field by field (click, type), leaving
// out the controls named in Skip; ComboBox1 by the arrow keys.
void FillInputA(TForm1& Form, const QStringList& Skip = {});

// The report lines of input A, each followed by a paragraph break.
QString ReportOfInputA();
