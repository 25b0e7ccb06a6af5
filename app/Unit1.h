// SPDX-License-Identifier: GPL-3.0-or-later
// The main window. TForm1 holds two panels of the same size in the same place,
// exactly one of them visible: Panel2, where the clerk types the new year's
// figures, the employee's data and the allowance percentages, and Panel1, which
// shows (and prints) the decree report. Button1Click runs the road from the one
// to the other: ReadDecreeInput over this window (TForm1 is the DecreePanel the
// decree core reads), CheckGroupRange, ComputeDecree, BuildDecreeReport into
// RichEdit1, SaveBaseValues, then the panel switch. Every handler runs inside
// Guarded(), which turns an error into the general error message box.
//
// Positions are pixels at 96 dpi from the parent's top-left corner and are not
// mirrored, although the application reads right to left.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QHash>
#include <QString>
#include <QWidget>

#include "decree/DecreeCompute.h"
#include "decree/DecreeInput.h"
#include "decree/NumberFormat.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrintDialog;
class QPrinter;
class QPushButton;
class QSessionManager;
class QTextEdit;
class TWaterImage;

// The window's controls as (type, name), in their declaration order. The
// widgets are built from the layout table (decree/PanelLayout.h); this one
// list declares a member per control and binds it to the widget of its name.
// clang-format off
#define TFORM1_CONTROLS(X)                                                                                \
  X(QFrame, Panel1) X(QGroupBox, GroupBox4) X(QPushButton, Button2) X(QPushButton, Button3)               \
  X(QFrame, Panel2) X(QGroupBox, GroupBox3)                                                               \
  X(QLabel, Label13) X(QLabel, Label14) X(QLabel, Label15) X(QLabel, Label16) X(QLabel, Label17)          \
  X(QLabel, Label77) X(QLabel, Label78) X(QLabel, Label79) X(QLabel, Label86) X(QLabel, Label87)          \
  X(QLabel, Label88)                                                                                      \
  X(QLineEdit, Edit13) X(QLineEdit, Edit14) X(QLineEdit, Edit15) X(QLineEdit, Edit16)                     \
  X(QLineEdit, Edit17) X(QLineEdit, Edit19) X(QLineEdit, Edit20) X(QLineEdit, Edit21)                     \
  X(QLineEdit, Edit22) X(QLineEdit, Edit23) X(QLineEdit, Edit24) X(QCheckBox, CheckBox5)                  \
  X(QGroupBox, GroupBox1)                                                                                 \
  X(QLabel, Label1) X(QLabel, Label2) X(QLabel, Label3) X(QLabel, Label4) X(QLabel, Label5)               \
  X(QLabel, Label20)                                                                                      \
  X(QLineEdit, Edit1) X(QLineEdit, Edit2) X(QLineEdit, Edit3) X(QLineEdit, Edit4) X(QLineEdit, Edit5)     \
  X(QLineEdit, Edit18)                                                                                    \
  X(QGroupBox, GroupBox2)                                                                                 \
  X(QLabel, Label6) X(QLabel, Label7) X(QLabel, Label8) X(QLabel, Label9) X(QLabel, Label10)              \
  X(QLabel, Label11) X(QLabel, Label12) X(QLabel, Label19) X(QLabel, Label21) X(QLabel, Label18)          \
  X(QLabel, Label22) X(QLabel, Label23) X(QLabel, Label24)                                                \
  X(QLineEdit, Edit7) X(QLineEdit, Edit8) X(QLineEdit, Edit9) X(QLineEdit, Edit10) X(QLineEdit, Edit11)   \
  X(QLineEdit, Edit12) X(QLineEdit, Edit6)                                                                \
  X(QCheckBox, CheckBox1) X(QComboBox, ComboBox1) X(QCheckBox, CheckBox2) X(QCheckBox, CheckBox4)         \
  X(QCheckBox, CheckBox8) X(QCheckBox, CheckBox3)                                                         \
  X(QLabel, Label25) X(QLineEdit, Edit25) X(QCheckBox, CheckBox6) X(QLineEdit, Edit26) X(QLabel, Label26) \
  X(QPushButton, Button1) X(TWaterImage, WaterImage1) X(QTextEdit, RichEdit1)
// clang-format on

class TForm1 : public QWidget, public DecreePanel {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* Parent = nullptr);
  ~TForm1() override;

  QPrintDialog* PrintDialog1 = nullptr;  // made at the first print, kept for the run
#define TFORM1_DECLARE_CONTROL(Type, Name) Type* Name = nullptr;
  TFORM1_CONTROLS(TFORM1_DECLARE_CONTROL)
#undef TFORM1_DECLARE_CONTROL

  // Shows PrintDialog1 over the printer; true when the user confirmed. A test
  // puts a function here that sets the printer to a PDF file instead.
  std::function<bool(QPrinter& Printer)> ExecPrintDialog;

  void FormCreate();
  void FormShow();
  void FormCloseQuery(bool& CanClose);
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void CheckBox6Click();
  void ComboBox1Change();
  void Edit1KeyUp();
  void Edit25KeyUp();
  void WaterImage1Click();
  // The 32 character handlers are this one procedure; Control picks the
  // successor. Key comes back 0 when the character is to be discarded.
  void KeyPress(QWidget* Control, QChar& Key);

  // Prints RichEdit1 as one job over the whole printable area.
  void PrintRichEdit(QPrinter& Printer);

  // A session logout: true when it has to be refused (the result panel was
  // showing; the input panel is now in front).
  bool RefuseSessionEnd();

  const QString& Folder() const { return Masir; }
  const NumberFormat& Format() const { return Numbers; }

  // DecreePanel
  std::string Text(PanelControl Edit) const override;
  void SetText(PanelControl Edit, const std::string& Text) override;
  void SetFocus(PanelControl Control) override;
  int ItemIndex() const override;
  bool Checked(PanelControl CheckBox) const override;
  void ShowMessage(const std::string& Text) override;

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
  void changeEvent(QEvent* Event) override;

 private:
  void CreateControls();
  // The Tab and Enter orders, label buddies and what a screen reader is told.
  void ConnectControls(const QHash<QString, QWidget*>& Built);
  void ConnectHandlers();
  void ReadNumberFormat();
  bool FilterKey(QWidget* Control, QKeyEvent* Event);
  void ClauseBAutoFill();
  QWidget* ControlOf(PanelControl Control) const;
  // Runs a handler's body; an error ends it and shows the general error box.
  void Guarded(const std::function<void()>& Body);
  void ShowError(const QString& Message);
  void SessionEndRequested(QSessionManager& Manager);

  GroupPoints G{};
  QString Masir;  // working directory at creation: the folder of info.ini
  NumberFormat Numbers;
  std::unique_ptr<QPrinter> Printer;    // kept so the chosen printer stays selected
  QHash<QObject*, QWidget*> Successor;  // where Enter moves the focus
  std::vector<QWidget*> InputControls;  // by PanelControl
};

extern TForm1* Form1;
