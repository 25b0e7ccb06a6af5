// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTest>

#include "app/Look.h"

MessageRecorder::MessageRecorder() {
  Previous = SetMessageBoxFunction([this](QWidget*, MessageKind Kind, const QString& Text) {
    Messages.append({Kind, Text});
  });
}

MessageRecorder::~MessageRecorder() { SetMessageBoxFunction(Previous); }

ModalWatchdog::ModalWatchdog() {
  QObject::connect(&Timer, &QTimer::timeout, [this] {
    if (QWidget* Modal = QApplication::activeModalWidget()) {
      Seen = QString::fromLatin1(Modal->metaObject()->className());
      if (auto* Dialog = qobject_cast<QDialog*>(Modal))
        Dialog->reject();
      else
        Modal->close();
    }
  });
  Timer.start(100);
}

WindowFixture::WindowFixture(const std::function<void(const QString&)>& Files,
                             const std::function<void(TForm1&)>& BeforeShow)
    : PreviousDir(QDir::currentPath()) {
  QDir::setCurrent(Dir.path());
  if (Files) Files(Dir.path());
  Window = std::make_unique<TForm1>();
  if (BeforeShow) BeforeShow(*Window);
  Window->show();
  QApplication::setActiveWindow(Window.get());
  if (!QTest::qWaitForWindowActive(Window.get())) qWarning("the window did not become active");
}

WindowFixture::~WindowFixture() {
  Window.reset();
  QDir::setCurrent(PreviousDir);
}

void SetUpApplication() {
  QApplication::setLayoutDirection(Qt::RightToLeft);
  ApplyLook(*qApp);
}

QWidget* Focused() { return QApplication::focusWidget(); }

void Press(Qt::Key Key, Qt::KeyboardModifiers Modifiers) {
  QWidget* Target = Focused();
  if (!Target) QFAIL("nothing has the focus");
  QTest::keyClick(Target, Key, Modifiers);
}

void TypeCharacter(QChar Character, Qt::KeyboardModifiers Modifiers) {
  QWidget* Target = Focused();
  if (!Target) QFAIL("nothing has the focus");
  // The key code of a character key is its upper-case code, as the X11
  // platform gives it; QTest::keyClicks would squeeze the text into Latin-1.
  const auto Key = static_cast<Qt::Key>(Character.toUpper().unicode());
  QTest::sendKeyEvent(QTest::Press, Target, Key, QString(Character), Modifiers);
  QTest::sendKeyEvent(QTest::Release, Target, Key, QString(Character), Modifiers);
}

void Type(const QString& Text) {
  for (QChar Character : Text) TypeCharacter(Character);
}

void TypeInto(QLineEdit* Edit, const QString& Text) {
  Edit->setFocus(Qt::MouseFocusReason);
  Type(Text);
}

void Click(QWidget* Target, QPoint Where) {
  QTest::mouseClick(Target, Qt::LeftButton, Qt::NoModifier, Where.isNull() ? Target->rect().center() : Where);
}

void TypeInputA(TForm1& Form) {
  // The base figures, Edit1 to Edit18 in Enter order; no clause-B points.
  Form.Edit1->setFocus(Qt::MouseFocusReason);
  for (const char* Value : {"1000", "2000000", "1600000", "6000000", "300000", "100000", "", ""}) {
    Type(QString::fromLatin1(Value));
    Press(Qt::Key_Return);
  }
  // The employee: group 9 with 2 incentive groups, last year's figures, 4 %.
  for (const char* Value : {"9", "2", "800000", "100000", "4", ""}) {
    Type(QString::fromLatin1(Value));
    Press(Qt::Key_Return);
  }
  // The retirement organisation by its first letter; the choice moves on to Edit11.
  Type(QStringLiteral(u"س"));
  Type(QStringLiteral("2"));
  Press(Qt::Key_Return);
  // Head of household yes, veteran no, adjustment yes, article 26 no, border no.
  for (bool Check : {true, false, true, false, false}) {
    if (Check) Press(Qt::Key_Space);
    Press(Qt::Key_Return);
  }
  // Job 20, attraction 50, special 10, shift work 20; CheckBox6 left clear.
  for (const char* Value : {"20", "50", "10", "", "", "", "20", "", "", "", ""}) {
    Type(QString::fromLatin1(Value));
    Press(Qt::Key_Return);
  }
  Press(Qt::Key_Return);
}

void FillInputA(TForm1& Form, const QStringList& Skip) {
  const std::pair<const char*, const char*> Values[] = {
      {"Edit1", "1000"},   {"Edit2", "2000000"}, {"Edit3", "1600000"}, {"Edit26", "6000000"},
      {"Edit4", "300000"}, {"Edit5", "100000"},  {"Edit6", "9"},       {"Edit7", "2"},
      {"Edit8", "800000"}, {"Edit9", "100000"},  {"Edit10", "4"},      {"Edit11", "2"},
      {"Edit13", "20"},    {"Edit14", "50"},     {"Edit15", "10"},     {"Edit20", "20"}};
  for (const auto& [Name, Value] : Values)
    if (!Skip.contains(QLatin1String(Name)))
      TypeInto(Form.findChild<QLineEdit*>(QLatin1String(Name)), QString::fromLatin1(Value));
  if (!Skip.contains(QStringLiteral("ComboBox1"))) {
    Form.ComboBox1->setFocus(Qt::MouseFocusReason);
    Press(Qt::Key_Down);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    Press(Qt::Key_Down);
  }
  for (QAbstractButton* Box :
       {static_cast<QAbstractButton*>(Form.CheckBox1), static_cast<QAbstractButton*>(Form.CheckBox3)}) {
    Box->setFocus(Qt::MouseFocusReason);
    Press(Qt::Key_Space);
  }
}

QString ReportOfInputA() {
  const char16_t* const Lines[] = {
      u"     ",
      u"     حقوق مبنا: 880,000     افزایش سنواتی: 136,000     حقوق پایه: 1,016,000",
      u"     ------------------------------------",
      u"     فوق العاده شغل: 176,000",
      u"     فوق العاده جذب: 2,588,000",
      u"     تفاوت حداقل دریافتی: 984,000",
      u"     فوق العاده ویژه: 776,400",
      u"     تفاوت ناشی از گروه های تشویقی: 277,200",
      u"     ترمیم حقوق: 3,000,000",
      u"     حق عائله مندی: 300,000",
      u"     حق اولاد: 200,000",
      u"     فوق العاده نوبت کاری: 140,000",
      u"     فوق العاده تعدیل: 408,600",
      u"     ------------------------------------",
      u"     جمع حکم (بدون حق مسکن): 9,866,200",
      u"     ",
      u"     حق مسکن: 1,873,240",
      u"     جمع کل حکم (با حق مسکن): 11,739,440",
  };
  QString Text;
  for (const char16_t* Line : Lines) Text += QString::fromUtf16(Line) + QLatin1Char('\n');
  return Text;
}
