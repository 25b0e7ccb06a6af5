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

#include "ripple/WaterImage.h"
#include "tests/app/TestSupport.h"

namespace {

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
  // Each label's caption without its colon; a check box adds its own caption.
  Add("Edit1", QStringLiteral(u"ضریب"));
  Add("CheckBox2", QStringLiteral(u"فوق العاده ایثارگری: مشمول می باشد"), QAccessible::CheckBox);
  Add("Edit2", QStringLiteral(u"حداقل حقوق اعلامی"));
  Add("Edit3", QStringLiteral(u"حداقل حقوق موثر"));
  Add("Edit26", QStringLiteral(u"حداقل حقوق و مزایا"));
  Add("Edit4", QStringLiteral(u"حق عائله مندی"));
  Add("Edit5", QStringLiteral(u"حق اولاد"));
  Add("Edit25", QStringLiteral(u"امتیاز فوق العاده خاص جز 3 بند ب"));
  Add("Edit18", QStringLiteral(u"فوق العاده خاص جز 3 بند ب"));
  Add("Edit6", QStringLiteral(u"گروه مستخدم"));
  Add("Edit7", QStringLiteral(u"تعداد گروه های تشویقی"));
  Add("Edit8", QStringLiteral(u"حقوق مبنای سال قبل"));
  Add("Edit9", QStringLiteral(u"افزایش سنواتی سال قبل"));
  Add("Edit10", QStringLiteral(u"درصد افزایش سنواتی"));
  Add("Edit12", QStringLiteral(u"تفاوت تطبیق موضوع جز 1+بند ی تبصره 12"));
  Add("ComboBox1", QStringLiteral(u"نوع بیمه"), QAccessible::ComboBox);
  Add("Edit11", QStringLiteral(u"تعداد اولاد"));
  Add("CheckBox1", QStringLiteral(u"وضعیت عائله مندی: سرپرست خانوار است"), QAccessible::CheckBox);
  Add("CheckBox3", QStringLiteral(u"فوق العاده تعدیل (408600 ریال): مشمول می باشد"), QAccessible::CheckBox);
  Add("CheckBox4", QStringLiteral(u"ماده 26: مشمول می باشد"), QAccessible::CheckBox);
  // The label of this row has its colon before the bracket.
  Add("CheckBox8", QStringLiteral(u"محرومیت از تسهیلات زندگی 2 (مخصوص مناطق مرزی): مشمول می باشد"),
      QAccessible::CheckBox);
  Add("Edit13", QStringLiteral(u"درصد فوق العاده شغل"));
  Add("Edit14", QStringLiteral(u"درصد فوق العاده جذب"));
  Add("Edit15", QStringLiteral(u"درصد فوق العاده ویژه"));
  Add("Edit16", QStringLiteral(u"درصد فوق العاده خاص"));
  Add("Edit17", QStringLiteral(u"درصد محرومیت از تسهیلات زتدگی"));
  Add("Edit19", QStringLiteral(u"درصد فوق العاده بدی آب و هوا"));
  Add("Edit20", QStringLiteral(u"درصد فوق العاده نوبت کاری"));
  Add("Edit21", QStringLiteral(u"درصد فوق العاده سختی کار"));
  Add("Edit22", QStringLiteral(u"درصد فوق العاده مناطق عملیاتی"));
  Add("CheckBox5", QStringLiteral(u"درصد فوق العاده مناطق عملیاتی: بر مبنای مجموع حقوق و فوق العاده ها"),
      QAccessible::CheckBox);
  Add("Edit23", QStringLiteral(u"درصد فوق العاده منطقه محروم"));
  Add("Edit24", QStringLiteral(u"درصد فوق العاده \u0643ار با اشعه"));  // the Arabic kaf, as shown
  Add("CheckBox6", QStringLiteral(u"مبلغ فوق العاده خاص جز 3 بند ب در محاسبه حق مسکن لحاظ شود"), QAccessible::CheckBox);
  Add("Button1", QStringLiteral(u"محاسبه\u200cی حکم"), QAccessible::Button);
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
  const std::pair<QWidget*, QString> Described[] = {
      {Form.Edit6, QStringLiteral(u"گروه مستخدم (کل گروه شامل استحقاقی و تشویقی و...)")},
      {Form.Edit22, QStringLiteral(u"20% یا 25%")},
      {Form.CheckBox5,
       QStringLiteral(u"مجموع حقوق، فوق العاده شغل، فوق العاده جذب، تفاوت دریافتی و ماده 26 در محاسبه ی "
                      u"فوق العاده مناطق عملیاتی لحاظ شود")},
      {Form.ComboBox1, QStringLiteral(u"!برای بیمه تامین اجتماعی آیتم های محرومیت از تسهیلات زندگی و بدی آب و هوا جزو "
                                      u"کسورات محاسبه می شود ولی برای بیمه سازمان بازنشستگی نه")}};
  for (const auto& [Control, Hint] : Described) QCOMPARE(Accessible(Control)->text(QAccessible::Description), Hint);
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
  QCOMPARE(Banner->text(QAccessible::Name), QStringLiteral(u"تصویر متحرک موج آب"));
  QCOMPARE(Banner->text(QAccessible::Description),
           QStringLiteral(u"کلیک روی تصویر، صفحه وب برنامه نویس را در مرورگر باز می کند"));
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
  QCOMPARE(Accessible(Form.Button2)->text(QAccessible::Name), QStringLiteral(u"چاپ نتیجه\u200cی محاسبات"));
  QCOMPARE(Accessible(Form.Button3)->text(QAccessible::Name), QStringLiteral(u"خروج و محاسبه حکم جدید"));
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
