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

class TForm1 : public QWidget, public DecreePanel {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* Parent = nullptr);
  ~TForm1() override;

  QPrintDialog* PrintDialog1 = nullptr;  // made at the first print, kept for the run
  QFrame* Panel1;
  QGroupBox* GroupBox4;
  QPushButton* Button2;
  QPushButton* Button3;
  QFrame* Panel2;
  QGroupBox* GroupBox3;
  QLabel* Label13;
  QLabel* Label14;
  QLabel* Label15;
  QLabel* Label16;
  QLabel* Label17;
  QLabel* Label77;
  QLabel* Label78;
  QLabel* Label79;
  QLabel* Label86;
  QLabel* Label87;
  QLabel* Label88;
  QLineEdit* Edit13;
  QLineEdit* Edit14;
  QLineEdit* Edit15;
  QLineEdit* Edit16;
  QLineEdit* Edit17;
  QLineEdit* Edit19;
  QLineEdit* Edit20;
  QLineEdit* Edit21;
  QLineEdit* Edit22;
  QLineEdit* Edit23;
  QLineEdit* Edit24;
  QCheckBox* CheckBox5;
  QGroupBox* GroupBox1;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label20;
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QLineEdit* Edit4;
  QLineEdit* Edit5;
  QLineEdit* Edit18;
  QGroupBox* GroupBox2;
  QLabel* Label6;
  QLabel* Label7;
  QLabel* Label8;
  QLabel* Label9;
  QLabel* Label10;
  QLabel* Label11;
  QLabel* Label12;
  QLabel* Label19;
  QLabel* Label21;
  QLabel* Label18;
  QLabel* Label22;
  QLabel* Label23;
  QLabel* Label24;
  QLineEdit* Edit7;
  QLineEdit* Edit8;
  QLineEdit* Edit9;
  QLineEdit* Edit10;
  QLineEdit* Edit11;
  QLineEdit* Edit12;
  QLineEdit* Edit6;
  QCheckBox* CheckBox1;
  QComboBox* ComboBox1;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox4;
  QCheckBox* CheckBox8;
  QCheckBox* CheckBox3;
  QLabel* Label25;
  QLineEdit* Edit25;
  QCheckBox* CheckBox6;
  QLineEdit* Edit26;
  QLabel* Label26;
  QPushButton* Button1;
  TWaterImage* WaterImage1;
  QTextEdit* RichEdit1;

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
  // Accessible names and descriptions, as a screen reader reads them.
  void NameForScreenReaders();
  void ConnectHandlers();
  void ReadNumberFormat();
  bool FilterKey(QWidget* Control, QKeyEvent* Event);
  void ClauseBAutoFill();
  QLineEdit* EditByNumber(int Number) const;
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
};

extern TForm1* Form1;
