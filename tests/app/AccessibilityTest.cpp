// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told of the window through Qt's accessibility
// interfaces: every input named by its own label, the hints as descriptions,
// the window as a window, the banner as a picture that can be pressed. None of
// it may show: the hints stay on their five controls.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextEdit>

#include "decree/WindowTexts.h"
#include "ripple/WaterImage.h"
#include "tests/app/TestSupport.h"

namespace {

QString T(const char* Utf8) { return QString::fromUtf8(Utf8); }

// A label's caption without its closing " :".
QString Caption(const char* Label) {
  QString Text = T(Label);
  if (Text.endsWith(QStringLiteral(" :"))) Text.chop(2);
  return Text;
}

QString Row(const char* Label, const char* Box) { return Caption(Label) + QStringLiteral(": ") + T(Box); }

QAccessibleInterface* Accessible(QObject* Object) { return QAccessible::queryAccessibleInterface(Object); }

// The inputs of the input panel, in the Enter order.
const char* const Inputs[] = {"Edit1",     "Edit2",  "Edit3",     "Edit26",    "Edit4",     "Edit5",     "Edit25",
                              "Edit18",    "Edit6",  "Edit7",     "Edit8",     "Edit9",     "Edit10",    "Edit12",
                              "ComboBox1", "Edit11", "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox8",
                              "Edit13",    "Edit14", "Edit15",    "Edit16",    "Edit17",    "Edit19",    "Edit20",
                              "Edit21",    "Edit22", "CheckBox5", "Edit23",    "Edit24",    "CheckBox6", "Button1"};

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void init() { Fixture = std::make_unique<WindowFixture>(); }
  void cleanup() { Fixture.reset(); }

  void inputsAreNamedByTheirLabels_data();
  void inputsAreNamedByTheirLabels();
  void namesAreDistinctAndNotGroupCaptions();
  void hintsAreDescriptionsWithoutNewTooltips();
  void windowIsAWindowNamedByItsCaption();
  void bannerIsAPictureThatCanBePressed();
  void resultPanelIsNamed();

 private:
  std::unique_ptr<WindowFixture> Fixture;
  QList<QUrl> Opened;

 public slots:
  void OpenUrl(const QUrl& Url) { Opened << Url; }
};

void AccessibilityTest::inputsAreNamedByTheirLabels_data() {
  QTest::addColumn<QString>("Control");
  QTest::addColumn<QString>("Name");
  QTest::addColumn<QAccessible::Role>("Role");
  const auto Add = [](const char* Control, const QString& Name, QAccessible::Role Role = QAccessible::EditableText) {
    QTest::newRow(Control) << QString::fromLatin1(Control) << Name << Role;
  };
  // Two written out by hand, the rest from the captions the window shows.
  Add("Edit1", QStringLiteral(u"ضریب"));
  Add("CheckBox2", QStringLiteral(u"فوق العاده ایثارگری: مشمول می باشد"), QAccessible::CheckBox);
  Add("Edit2", Caption(WindowTexts::Label2));
  Add("Edit3", Caption(WindowTexts::Label3));
  Add("Edit26", Caption(WindowTexts::Label26));
  Add("Edit4", Caption(WindowTexts::Label5));
  Add("Edit5", Caption(WindowTexts::Label4));
  Add("Edit25", Caption(WindowTexts::Label20));
  Add("Edit18", Caption(WindowTexts::Label25));
  Add("Edit6", Caption(WindowTexts::Label6));
  Add("Edit7", Caption(WindowTexts::Label7));
  Add("Edit8", Caption(WindowTexts::Label8));
  Add("Edit9", Caption(WindowTexts::Label10));
  Add("Edit10", Caption(WindowTexts::Label9));
  Add("Edit12", Caption(WindowTexts::Label19));
  Add("ComboBox1", Caption(WindowTexts::Label21), QAccessible::ComboBox);
  Add("Edit11", Caption(WindowTexts::Label12));
  Add("CheckBox1", Row(WindowTexts::Label11, WindowTexts::CheckBox1), QAccessible::CheckBox);
  Add("CheckBox3", Row(WindowTexts::Label24, WindowTexts::CheckBox3), QAccessible::CheckBox);
  Add("CheckBox4", Row(WindowTexts::Label23, WindowTexts::CheckBox4), QAccessible::CheckBox);
  // The label of this row has its colon before the bracket.
  Add("CheckBox8", QStringLiteral(u"محرومیت از تسهیلات زندگی 2 (مخصوص مناطق مرزی): ") + T(WindowTexts::CheckBox8),
      QAccessible::CheckBox);
  Add("Edit13", Caption(WindowTexts::Label14));
  Add("Edit14", Caption(WindowTexts::Label13));
  Add("Edit15", Caption(WindowTexts::Label15));
  Add("Edit16", Caption(WindowTexts::Label16));
  Add("Edit17", Caption(WindowTexts::Label17));
  Add("Edit19", Caption(WindowTexts::Label77));
  Add("Edit20", Caption(WindowTexts::Label78));
  Add("Edit21", Caption(WindowTexts::Label79));
  Add("Edit22", Caption(WindowTexts::Label86));
  Add("CheckBox5", Caption(WindowTexts::Label86) + QStringLiteral(": ") + T(WindowTexts::CheckBox5Purpose),
      QAccessible::CheckBox);
  Add("Edit23", Caption(WindowTexts::Label87));
  Add("Edit24", Caption(WindowTexts::Label88));
  Add("CheckBox6", T(WindowTexts::CheckBox6), QAccessible::CheckBox);
  Add("Button1", T(WindowTexts::Button1), QAccessible::Button);
}

void AccessibilityTest::inputsAreNamedByTheirLabels() {
  QFETCH(QString, Control);
  QFETCH(QString, Name);
  QFETCH(QAccessible::Role, Role);
  QAccessibleInterface* Interface = Accessible(Fixture->Form().findChild<QWidget*>(Control));
  QVERIFY(Interface);
  QCOMPARE(Interface->text(QAccessible::Name), Name);
  QCOMPARE(Interface->role(), Role);
}

void AccessibilityTest::namesAreDistinctAndNotGroupCaptions() {
  TForm1& Form = Fixture->Form();
  QSet<QString> Groups;
  for (QGroupBox* Group : {Form.GroupBox1, Form.GroupBox2, Form.GroupBox3}) Groups << Group->title().trimmed();
  QSet<QString> Names;
  for (const char* Control : Inputs) {
    const QString Name = Accessible(Form.findChild<QWidget*>(QLatin1String(Control)))->text(QAccessible::Name);
    QVERIFY2(!Name.trimmed().isEmpty(), Control);
    QVERIFY2(!Groups.contains(Name.trimmed()), Control);
    QVERIFY2(!Names.contains(Name), qPrintable(QStringLiteral("%1: %2 twice").arg(QLatin1String(Control), Name)));
    Names << Name;
  }
  QCOMPARE(Names.size(), 35);
}

void AccessibilityTest::hintsAreDescriptionsWithoutNewTooltips() {
  TForm1& Form = Fixture->Form();
  const std::pair<QWidget*, const char*> Described[] = {{Form.Edit6, WindowTexts::HintEdit6},
                                                        {Form.Edit22, WindowTexts::HintLabel86},
                                                        {Form.CheckBox5, WindowTexts::HintCheckBox5},
                                                        {Form.ComboBox1, WindowTexts::HintComboBox1}};
  for (const auto& [Control, Hint] : Described) QCOMPARE(Accessible(Control)->text(QAccessible::Description), T(Hint));
  // An input without a hint is described by nothing.
  QCOMPARE(Accessible(Form.Edit1)->text(QAccessible::Description), QString());
  // A description is no tooltip: still exactly the five hinted controls.
  QStringList Hinted;
  for (QWidget* Widget : Form.findChildren<QWidget*>())
    if (!Widget->toolTip().isEmpty()) Hinted << Widget->objectName();
  Hinted.sort();
  QCOMPARE(Hinted, (QStringList{QStringLiteral("CheckBox5"), QStringLiteral("ComboBox1"), QStringLiteral("Edit6"),
                                QStringLiteral("Label6"), QStringLiteral("Label86")}));
  QCOMPARE(Form.Edit22->toolTip(), QString());
}

void AccessibilityTest::windowIsAWindowNamedByItsCaption() {
  TForm1& Form = Fixture->Form();
  QAccessibleInterface* Window = Accessible(&Form);
  QCOMPARE(Window->role(), QAccessible::Window);
  QCOMPARE(Window->text(QAccessible::Name), Form.windowTitle());
  QVERIFY(Form.windowTitle().startsWith(QStringLiteral(u"نرم افزار محاسبه احکام کارگزینی")));
  // The panels inside it are panes, not windows of their own.
  QCOMPARE(Accessible(Form.Panel1)->role(), QAccessible::Pane);
  QCOMPARE(Accessible(Form.Panel2)->role(), QAccessible::Pane);
  // Each label points at its input for screen readers that follow the
  // relation (Qt adds the group box around it as a second label).
  QList<QObject*> Labels;
  for (const auto& Relation : Accessible(Form.Edit1)->relations(QAccessible::Label)) Labels << Relation.first->object();
  QVERIFY(Labels.contains(Form.Label1));
}

void AccessibilityTest::bannerIsAPictureThatCanBePressed() {
  TForm1& Form = Fixture->Form();
  QAccessibleInterface* Banner = Accessible(Form.WaterImage1);
  QCOMPARE(Banner->role(), QAccessible::Graphic);
  QCOMPARE(Banner->text(QAccessible::Name), T(WindowTexts::WaterImage1Name));
  QCOMPARE(Banner->text(QAccessible::Description), T(WindowTexts::WaterImage1Description));
  QAccessibleActionInterface* Actions = Banner->actionInterface();
  QVERIFY(Actions);
  QCOMPARE(Actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
  // Pressing it opens the web page, as a click does.
  for (const char* Scheme : {"http", "https"})
    QDesktopServices::setUrlHandler(QString::fromLatin1(Scheme), this, "OpenUrl");
  Opened.clear();
  Actions->doAction(QAccessibleActionInterface::pressAction());
  for (const char* Scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(Scheme));
  QCOMPARE(Opened.size(), 1);
  QCOMPARE(Opened[0], QUrl(QStringLiteral(DECREE_WEB_ADDRESS)));
  QVERIFY(Form.WaterImage1->toolTip().isEmpty());
}

void AccessibilityTest::resultPanelIsNamed() {
  TForm1& Form = Fixture->Form();
  QCOMPARE(Accessible(Form.RichEdit1)->text(QAccessible::Name), QStringLiteral(u"نمایش نتیجه محاسبات"));
  QCOMPARE(Accessible(Form.Button2)->text(QAccessible::Name), T(WindowTexts::Button2));
  QCOMPARE(Accessible(Form.Button3)->text(QAccessible::Name), T(WindowTexts::Button3));
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
