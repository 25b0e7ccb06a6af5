// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts in Persian: the button of the message boxes, the print dialog
// with its options, properties and file chooser, and the context menus of the
// edit boxes and the result area. Run under LANG=C.UTF-8 and fa_IR.UTF-8. The
// first test starts the window without any translation, as a build without
// the files would.
#include <functional>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include "app/Translations.h"
#include "tests/app/TestSupport.h"

namespace {

// A word a Persian reader would have to read as English: two or more Latin
// letters with a lower-case one among them. Capital abbreviations (PDF, ANSI,
// JIS) and paper names such as A4 are international and stay.
QStringList EnglishWords(const QString& Text) {
  static const QRegularExpression Word(QStringLiteral("[A-Za-z]{2,}"));
  QStringList Found;
  QString Plain = Text;
  Plain.remove(QLatin1Char('&'));  // mnemonics
  for (auto Match = Word.globalMatch(Plain); Match.hasNext();) {
    const QString W = Match.next().captured();
    if (W != W.toUpper()) Found << W;
  }
  return Found;
}

// Every text a widget of the tree shows or can show: captions, titles, tab
// and list items, column headers, hints. The contents of edit boxes are the
// user's (a file path), not the program's.
QStringList ShownTexts(QWidget* Root) {
  QList<QWidget*> Widgets = Root->findChildren<QWidget*>();
  Widgets.prepend(Root);
  QStringList Texts;
  for (QWidget* W : Widgets) {
    if (W->isWindow()) Texts << W->windowTitle();
    Texts << W->toolTip() << W->whatsThis();
    if (auto* B = qobject_cast<QAbstractButton*>(W)) Texts << B->text();
    if (auto* L = qobject_cast<QLabel*>(W)) Texts << L->text();
    if (auto* G = qobject_cast<QGroupBox*>(W)) Texts << G->title();
    if (auto* E = qobject_cast<QLineEdit*>(W)) Texts << E->placeholderText();
    // The printers are named by whoever set them up.
    if (auto* C = qobject_cast<QComboBox*>(W); C && C->objectName() != QLatin1String("printers"))
      for (int I = 0; I < C->count(); ++I) Texts << C->itemText(I);
    if (auto* T = qobject_cast<QTabWidget*>(W))
      for (int I = 0; I < T->count(); ++I) Texts << T->tabText(I) << T->tabToolTip(I);
    if (auto* V = qobject_cast<QAbstractItemView*>(W); V && V->model())
      for (int C = 0; C < V->model()->columnCount(); ++C) Texts << V->model()->headerData(C, Qt::Horizontal).toString();
  }
  Texts.removeAll(QString());
  return Texts;
}

// "text → word" for every English word, to name what is left untranslated.
// Folder names (the file chooser's places) are the user's, not Qt's.
QStringList Untranslated(const QStringList& Texts) {
  QStringList Found;
  for (const QString& Text : Texts)
    if (!Text.startsWith(QLatin1Char('/')))
      for (const QString& Word : EnglishWords(Text)) Found << Text + QStringLiteral(" → ") + Word;
  Found.removeDuplicates();
  return Found;
}

QStringList MenuTexts(QMenu* Menu) {
  QStringList Texts;
  for (QAction* Action : Menu->actions()) {
    Texts << Action->text() << Action->shortcut().toString(QKeySequence::NativeText);
    if (Action->menu()) Texts << MenuTexts(Action->menu());
  }
  Texts.removeAll(QString());
  return Texts;
}

// Runs Inspect once on the first modal dialog of the class that appears while
// the caller blocks in the code that opens it. Inspect must close it.
void WhenModal(const char* ClassName, std::function<void(QDialog*)> Inspect) {
  auto* Poll = new QTimer(qApp);
  QObject::connect(Poll, &QTimer::timeout, [Poll, ClassName, Inspect] {
    auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!Dialog || qstrcmp(Dialog->metaObject()->className(), ClassName) != 0) return;
    Poll->stop();
    Poll->deleteLater();
    Inspect(Dialog);
  });
  Poll->start(20);
}

// The same for the popup menu that a context menu event opens.
void WhenPopup(std::function<void(QMenu*)> Inspect) {
  auto* Poll = new QTimer(qApp);
  QObject::connect(Poll, &QTimer::timeout, [Poll, Inspect] {
    auto* Menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!Menu) return;
    Poll->stop();
    Poll->deleteLater();
    Inspect(Menu);
  });
  Poll->start(20);
}

QAbstractButton* ButtonWithText(QWidget* Root, const QString& Text) {
  for (QAbstractButton* Button : Root->findChildren<QAbstractButton*>())
    if (Button->text() == Text) return Button;
  return nullptr;
}

// A right click as the window system delivers it: press, then the context menu event.
void RightClick(QWidget* Target) {
  const QPoint Where = Target->rect().center();
  QTest::mousePress(Target, Qt::RightButton, Qt::NoModifier, Where);
  QContextMenuEvent Event(QContextMenuEvent::Mouse, Where, Target->mapToGlobal(Where));
  QApplication::sendEvent(Target, &Event);
  QTest::mouseRelease(Target, Qt::RightButton, Qt::NoModifier, Where);
}

}  // namespace

class TranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void init();
  void cleanup() { Fixture.reset(); }

  // Runs first, before anything is installed.
  void startsInEnglishWithoutTranslationFiles();
  void failedCheckShowsPersianOk();
  void printDialogIsPersian();
  void contextMenusArePersian_data();
  void contextMenusArePersian();

 private:
  // The real message box, shown, with Inspect called on it; returns its texts.
  void ComputeEmpty(const std::function<void(QMessageBox*)>& Inspect);
  // Installs both translations, as the program does at start, once.
  void RequirePersian();

  bool Installed = false;

  std::unique_ptr<WindowFixture> Fixture;
};

void TranslationTest::init() {
  Fixture = std::make_unique<WindowFixture>();
  // These tests meet the dialogs themselves.
  Fixture->Watchdog.Stop();
}

void TranslationTest::ComputeEmpty(const std::function<void(QMessageBox*)>& Inspect) {
  const MessageBoxFunction Recorder = SetMessageBoxFunction({});
  bool Seen = false;
  WhenModal("QMessageBox", [&](QDialog* Dialog) {
    Seen = true;
    Inspect(static_cast<QMessageBox*>(Dialog));
    Dialog->reject();
  });
  Click(Fixture->Form().Button1);
  SetMessageBoxFunction(Recorder);
  QVERIFY(Seen);
}

void TranslationTest::startsInEnglishWithoutTranslationFiles() {
  if (Installed) QSKIP("the translations are installed already");
  const TranslationFiles Missing{QStringLiteral("/nonexistent"), QStringLiteral("/nonexistent/own.qm")};
  QCOMPARE(InstallTranslations(*qApp, Missing), 0);
  // A window made now starts as usual, with no message...
  Fixture = std::make_unique<WindowFixture>();
  Fixture->Watchdog.Stop();
  QVERIFY(Fixture->Form().isVisible());
  QVERIFY(Fixture->Recorder.Messages.isEmpty());
  QCOMPARE(Focused(), Fixture->Form().Edit6);
  // ...and Qt's button reads as Qt writes it.
  QStringList Buttons;
  ComputeEmpty([&](QMessageBox* Box) {
    for (QAbstractButton* Button : Box->buttons()) Buttons << Button->text();
  });
  QCOMPARE(Buttons, QStringList{QStringLiteral("OK")});
}

void TranslationTest::RequirePersian() {
  if (Installed) return;
  QCOMPARE(InstallTranslations(*qApp), 2);
  Installed = true;
}

void TranslationTest::failedCheckShowsPersianOk() {
  RequirePersian();
  QString Title, Text;
  QStringList Buttons;
  ComputeEmpty([&](QMessageBox* Box) {
    Title = Box->windowTitle();
    Text = Box->text();
    for (QAbstractButton* Button : Box->buttons()) Buttons << Button->text();
  });
  QCOMPARE(Title, QStringLiteral(u"محاسبه احکام کارگزینی"));
  QCOMPARE(Text, QStringLiteral(u"ضریب اعلامی برای سال جدید را وارد کنید"));
  QCOMPARE(Buttons, QStringList{QStringLiteral(u"تأیید")});
}

void TranslationTest::printDialogIsPersian() {
  RequirePersian();
  TForm1& Form = Fixture->Form();
  FillInputA(Form);
  Click(Form.Button1);
  QVERIFY(Form.Panel1->isVisible());

  QString Title;
  QStringList MainButtons, MainPage, Options, Properties, FileChooser;
  WhenModal("QPrintDialog", [&](QDialog* Dialog) {
    // Qt's own printer, the last in the list: a system printer's model and
    // options come from its driver, in the driver's language.
    if (auto* Printers = Dialog->findChild<QComboBox*>(QStringLiteral("printers"))) {
      Printers->setFocus(Qt::TabFocusReason);
      QTest::keyClick(Printers, Qt::Key_End);
    }
    Title = Dialog->windowTitle();
    for (QAbstractButton* Button : Dialog->findChildren<QPushButton*>())
      if (Button->isVisible()) MainButtons << Button->text();
    MainPage = ShownTexts(Dialog);
    if (QAbstractButton* More = ButtonWithText(Dialog, QStringLiteral(u"&تنظیمات >>"))) {
      Click(More);
      Options = ShownTexts(Dialog);
    }
    WhenModal("QPrintPropertiesDialog", [&](QDialog* Nested) {
      Properties = ShownTexts(Nested);
      Nested->reject();
    });
    if (QAbstractButton* Button = ButtonWithText(Dialog, QStringLiteral(u"وی&ژگی‌ها"))) Click(Button);
    WhenModal("QFileDialog", [&](QDialog* Nested) {
      FileChooser = ShownTexts(Nested);
      Nested->reject();
    });
    if (QAbstractButton* Button = ButtonWithText(Dialog, QStringLiteral("..."))) Click(Button);
    Dialog->reject();
  });
  Click(Form.Button2);

  QCOMPARE(Title, QStringLiteral(u"چاپ"));
  MainButtons.sort();
  QCOMPARE(MainButtons, (QStringList{QStringLiteral(u"&تنظیمات >>"), QStringLiteral(u"&چاپ"), QStringLiteral(u"انصراف"),
                                     QStringLiteral(u"وی&ژگی‌ها")}));
  // Each part was reached, and none holds an English word.
  for (const auto& [Part, Texts] : {std::pair{"main page", &MainPage},
                                    {"options", &Options},
                                    {"properties", &Properties},
                                    {"file chooser", &FileChooser}}) {
    QVERIFY2(!Texts->isEmpty(), Part);
    const QStringList Left = Untranslated(*Texts);
    QVERIFY2(Left.isEmpty(),
             qPrintable(QString::fromLatin1(Part) + QStringLiteral(": ") + Left.join(QStringLiteral(" | "))));
  }
  // Options and properties were really opened: their own captions are there.
  QVERIFY(Options.contains(QStringLiteral(u"تعداد:")));
  QVERIFY(Properties.contains(QStringLiteral(u"اندازهٔ صفحه:")));
  QVERIFY(Fixture->Recorder.Messages.isEmpty());
}

void TranslationTest::contextMenusArePersian_data() {
  QTest::addColumn<QString>("Control");
  QTest::newRow("an edit box of the base figures") << "Edit1";
  QTest::newRow("an edit box of the employee") << "Edit8";
  QTest::newRow("an edit box of the percentages") << "Edit13";
  QTest::newRow("the result area") << "RichEdit1";
}

void TranslationTest::contextMenusArePersian() {
  QFETCH(QString, Control);
  RequirePersian();
  TForm1& Form = Fixture->Form();
  if (Control == QLatin1String("RichEdit1")) {
    FillInputA(Form);
    Click(Form.Button1);
    QVERIFY(Form.Panel1->isVisible());
  }
  auto* Target = Form.findChild<QWidget*>(Control);
  QVERIFY(Target);
  QStringList Texts;
  WhenPopup([&](QMenu* Menu) {
    Texts = MenuTexts(Menu);
    QTest::keyClick(Menu, Qt::Key_Escape);
  });
  // A QTextEdit takes the event on its viewport.
  auto* Area = qobject_cast<QTextEdit*>(Target);
  RightClick(Area ? Area->viewport() : Target);
  // The edit boxes open their menu without blocking.
  QTRY_VERIFY(!Texts.isEmpty());
  // Qt puts the shortcut after a tab, with the key's name translated too.
  QVERIFY2(Texts.contains(QStringLiteral(u"&کپی\tکنترل+C")), qPrintable(Texts.join(QStringLiteral(" | "))));
  QVERIFY2(Untranslated(Texts).isEmpty(), qPrintable(Untranslated(Texts).join(QStringLiteral(" | "))));
}

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
