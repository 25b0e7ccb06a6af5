// SPDX-License-Identifier: GPL-3.0-or-later
// The window's controls where the layout puts them, with their fonts,
// cursors, hints, reading directions and the colours the look must not touch.
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextEdit>

#include "app/Look.h"
#include "ripple/WaterImage.h"
#include "tests/app/TestSupport.h"

namespace {

QWidget* Named(TForm1& Form, const QString& Name) { return Form.findChild<QWidget*>(Name); }

// The darkest pixel of an area: the stem colour of the text drawn there.
QColor Darkest(const QImage& Image, const QRect& Area) {
  QColor Best(Qt::white);
  for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
    for (int X = Area.left(); X <= Area.right(); ++X) {
      const QColor Pixel = Image.pixelColor(X, Y);
      if (Pixel.lightness() < Best.lightness()) Best = Pixel;
    }
  return Best;
}

}  // namespace

class LayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void init() { Fixture = std::make_unique<WindowFixture>(); }
  void cleanup() { Fixture.reset(); }

  void everyNamedControlExists();
  void inputsLieInsideTheirBoxWithoutOverlap();
  void labelsEndNextToTheirControls_data();
  void labelsEndNextToTheirControls();
  void fontPixelHeights_data();
  void fontPixelHeights();
  void everyCaptionCharacterHasAGlyph();
  void captionsKeepTheirSpecialLetters();
  void onlyFiveControlsHaveHints();
  void cursorsAndReadingDirections();
  void comboBoxStartsEmptyWithTwoItems();
  void lookLeavesOwnEditColoursAlone_data();
  void lookLeavesOwnEditColoursAlone();
  void groupBox2CaptionKeepsWindowTextColour();
  void lookIsCompiledIn();
  void bannerFillsItsPlace();

 private:
  std::unique_ptr<WindowFixture> Fixture;
};

void LayoutTest::everyNamedControlExists() {
  // One loop per kind catches a name slipped in copying.
  TForm1& Form = Fixture->Form();
  const auto Parent = [&](const QString& Name) {
    QWidget* Widget = Named(Form, Name);
    return Widget && Widget->parentWidget() ? Widget->parentWidget()->objectName() : QStringLiteral("(missing)");
  };
  for (int Number = 1; Number <= 26; ++Number) {
    const QString Name = QStringLiteral("Edit%1").arg(Number);
    QVERIFY2(qobject_cast<QLineEdit*>(Named(Form, Name)), qPrintable(Name));
    const QString Group = Number <= 5 || Number == 18 || Number >= 25 ? QStringLiteral("GroupBox1")
                          : Number <= 12                              ? QStringLiteral("GroupBox2")
                                                                      : QStringLiteral("GroupBox3");
    QCOMPARE(Parent(Name), Group);
  }
  for (int Number : {1, 2, 3, 4, 5, 6, 8}) {
    const QString Name = QStringLiteral("CheckBox%1").arg(Number);
    QVERIFY2(qobject_cast<QCheckBox*>(Named(Form, Name)), qPrintable(Name));
    QCOMPARE(Parent(Name), Number == 5 || Number == 6 ? QStringLiteral("GroupBox3") : QStringLiteral("GroupBox2"));
  }
  QCOMPARE(Form.findChildren<QCheckBox*>().size(), 7);
  QCOMPARE(Form.findChildren<QLineEdit*>().size(), 26);
  for (int Number : {1, 2, 3}) QCOMPARE(Parent(QStringLiteral("GroupBox%1").arg(Number)), QStringLiteral("Panel2"));
  QCOMPARE(Parent(QStringLiteral("Button1")), QStringLiteral("Panel2"));
  for (const char* Name : {"Button2", "Button3", "RichEdit1"})
    QCOMPARE(Parent(QLatin1String(Name)), QStringLiteral("GroupBox4"));
  QCOMPARE(Parent(QStringLiteral("GroupBox4")), QStringLiteral("Panel1"));
  for (const char* Name : {"Panel1", "Panel2"})
    QCOMPARE(Named(Form, QLatin1String(Name))->geometry(), QRect(0, 0, 785, 691));
}

void LayoutTest::inputsLieInsideTheirBoxWithoutOverlap() {
  // A mistyped coordinate shows up as two controls on one spot or a control
  // hanging out of its group box.
  QList<QWidget*> Inputs;
  for (QWidget* Widget : Fixture->Form().findChildren<QWidget*>())
    if (qobject_cast<QLineEdit*>(Widget) || qobject_cast<QCheckBox*>(Widget) || qobject_cast<QComboBox*>(Widget) ||
        qobject_cast<QPushButton*>(Widget) || qobject_cast<QGroupBox*>(Widget))
      Inputs << Widget;
  for (QWidget* Input : Inputs) {
    QVERIFY2(Input->parentWidget()->rect().contains(Input->geometry()), qPrintable(Input->objectName()));
    for (QWidget* Other : Inputs)
      if (Other != Input && Other->parentWidget() == Input->parentWidget())
        QVERIFY2(!Input->geometry().intersects(Other->geometry()),
                 qPrintable(Input->objectName() + QStringLiteral(" / ") + Other->objectName()));
  }
}

void LayoutTest::labelsEndNextToTheirControls_data() {
  QTest::addColumn<QString>("Label");
  QTest::addColumn<int>("Right");   // right edge, exclusive
  QTest::addColumn<int>("Middle");  // designed top + height / 2
  QTest::addColumn<QString>("Control");
  struct Row {
    const char* Label;
    int Left, Top, Width, Height;
    const char* Control;
  };
  const Row Rows[] = {
      {"Label1", 148, 36, 40, 16, "Edit1"},        {"Label2", 148, 61, 123, 16, "Edit2"},
      {"Label3", 148, 86, 105, 16, "Edit3"},       {"Label26", 148, 111, 115, 16, "Edit26"},
      {"Label5", 148, 136, 96, 16, "Edit4"},       {"Label4", 148, 161, 56, 16, "Edit5"},
      {"Label20", 148, 186, 193, 16, "Edit25"},    {"Label25", 148, 211, 160, 16, "Edit18"},
      {"Label6", 148, 39, 85, 16, "Edit6"},        {"Label7", 148, 64, 141, 16, "Edit7"},
      {"Label8", 148, 89, 130, 16, "Edit8"},       {"Label10", 148, 114, 146, 16, "Edit9"},
      {"Label9", 148, 139, 126, 16, "Edit10"},     {"Label19", 148, 166, 202, 13, "Edit12"},
      {"Label21", 148, 189, 55, 16, "ComboBox1"},  {"Label12", 148, 212, 61, 16, "Edit11"},
      {"Label11", 148, 235, 113, 16, "CheckBox1"}, {"Label18", 148, 258, 111, 16, "CheckBox2"},
      {"Label24", 148, 280, 179, 16, "CheckBox3"}, {"Label23", 148, 302, 50, 16, "CheckBox4"},
      {"Label14", 148, 36, 128, 16, "Edit13"},     {"Label13", 148, 61, 127, 16, "Edit14"},
      {"Label15", 148, 86, 120, 16, "Edit15"},     {"Label16", 148, 111, 128, 16, "Edit16"},
      {"Label17", 148, 136, 196, 16, "Edit17"},    {"Label77", 151, 163, 160, 14, "Edit19"},
      {"Label78", 148, 187, 144, 14, "Edit20"},    {"Label79", 148, 212, 148, 14, "Edit21"},
      {"Label86", 148, 237, 172, 14, "Edit22"},    {"Label87", 148, 262, 160, 14, "Edit23"},
      {"Label88", 148, 287, 151, 14, "Edit24"},    {"Label22", 143, 325, 180, 32, "CheckBox8"},
  };
  for (const Row& R : Rows) QTest::newRow(R.Label) << R.Label << R.Left + R.Width << R.Top + R.Height / 2 << R.Control;
}

void LayoutTest::labelsEndNextToTheirControls() {
  QFETCH(QString, Label);
  QFETCH(int, Right);
  QFETCH(int, Middle);
  QFETCH(QString, Control);
  auto* Caption = qobject_cast<QLabel*>(Named(Fixture->Form(), Label));
  QVERIFY(Caption);
  const QRect Box = Caption->geometry();
  QCOMPARE(Box.left() + Box.width(), Right);
  // A one-line label keeps its middle; the two-line Label22 keeps its top.
  const int Top = Middle - (Caption->wordWrap() ? 16 : Box.height() / 2);
  QVERIFY2(qAbs(Box.top() - Top) <= 1, qPrintable(QString::number(Box.top())));
  // Not clipped: the whole text fits, one line (two for the word-wrapped Label22).
  const QFontMetrics Metrics(Caption->font());
  const int Lines = Caption->wordWrap() ? 2 : 1;
  QVERIFY(Box.height() >= Lines * Metrics.height());
  if (!Caption->wordWrap()) QVERIFY(Box.width() >= Metrics.horizontalAdvance(Caption->text()));
  // The label ends to the right of its control, never over it.
  const QRect Other = Named(Fixture->Form(), Control)->geometry();
  QVERIFY2(Box.left() >= Other.left() + Other.width(), qPrintable(QString::number(Box.left())));
}

void LayoutTest::fontPixelHeights_data() {
  QTest::addColumn<QString>("Name");
  QTest::addColumn<int>("Pixels");
  for (const char* Name : {"Form1", "Label19", "CheckBox1", "CheckBox6"}) QTest::newRow(Name) << Name << 11;
  for (const char* Name : {"Label77", "Label78", "Label79", "Label86", "Label87", "Label88"})
    QTest::newRow(Name) << Name << 12;
  for (const char* Name :
       {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "Button1", "Button2", "Button3", "Label1", "Label6",
        "Label14", "Label22", "Edit1", "Edit6", "Edit13", "ComboBox1", "CheckBox2", "CheckBox8"})
    QTest::newRow(Name) << Name << 13;
  QTest::newRow("RichEdit1") << "RichEdit1" << 16;
}

void LayoutTest::fontPixelHeights() {
  QFETCH(QString, Name);
  QFETCH(int, Pixels);
  QWidget* Control = Name == QLatin1String("Form1") ? &Fixture->Form() : Named(Fixture->Form(), Name);
  QCOMPARE(Control->font().pixelSize(), Pixels);
  QCOMPARE(Control->font().families().value(0), QStringLiteral("Tahoma"));
}

void LayoutTest::everyCaptionCharacterHasAGlyph() {
  // Tahoma is not installed here; the faces after it must cover every letter,
  // or the window shows boxes.
  QStringList Faces = WindowFont(13).families();
  Faces.removeIf([](const QString& Face) { return !QFontDatabase::hasFamily(Face); });
  QVERIFY(!Faces.isEmpty());
  QStringList Captions = {Fixture->Form().windowTitle()};
  for (QLabel* Label : Fixture->Form().findChildren<QLabel*>()) Captions << Label->text();
  for (QAbstractButton* Button : Fixture->Form().findChildren<QAbstractButton*>()) Captions << Button->text();
  for (QGroupBox* Group : Fixture->Form().findChildren<QGroupBox*>()) Captions << Group->title();
  for (QWidget* Widget : Fixture->Form().findChildren<QWidget*>()) Captions << Widget->toolTip();
  Captions << Fixture->Form().ComboBox1->itemText(0) << Fixture->Form().ComboBox1->itemText(1);
  for (const QString& Caption : Captions)
    for (QChar Character : Caption) {
      if (Character.category() == QChar::Other_Format) continue;  // ZWNJ is not drawn
      const bool Covered = std::any_of(
          Faces.begin(), Faces.end(), [&](const QString& Face) { return QFontMetrics(QFont(Face)).inFont(Character); });
      QVERIFY2(Covered,
               qPrintable(QStringLiteral("U+%1 in %2").arg(Character.unicode(), 4, 16, QLatin1Char('0')).arg(Caption)));
    }
}

void LayoutTest::captionsKeepTheirSpecialLetters() {
  TForm1& Form = Fixture->Form();
  QCOMPARE(Form.Button1->text(), QStringLiteral(u"محاسبه\u200Cی حکم"));
  QCOMPARE(Form.Button2->text(), QStringLiteral(u"چاپ نتیجه\u200Cی محاسبات"));
  QCOMPARE(Form.GroupBox1->title(), QStringLiteral(u" اطلاعات پایه سال جدید "));
  QCOMPARE(Form.GroupBox4->title(), QStringLiteral(u" نمایش نتیجه محاسبات "));
  QVERIFY(Form.Label17->text().contains(QStringLiteral(u"زتدگی")));
  QVERIFY(Form.Label88->text().contains(QStringLiteral(u"\u0643ار")));
  QVERIFY(!Form.Label78->text().contains(QChar(0x0643)));
  QCOMPARE(Form.CheckBox5->toolTip().count(QChar(0x060C)), 3);
  QVERIFY(!Form.CheckBox5->toolTip().contains(QLatin1Char(',')));
  QVERIFY(Form.ComboBox1->toolTip().startsWith(QLatin1Char('!')));
  QVERIFY(Form.CheckBox5->text().isEmpty());
}

void LayoutTest::onlyFiveControlsHaveHints() {
  QStringList Hinted;
  for (QWidget* Widget : Fixture->Form().findChildren<QWidget*>())
    if (!Widget->toolTip().isEmpty()) Hinted << Widget->objectName();
  Hinted.sort();
  QCOMPARE(Hinted, QStringList({"CheckBox5", "ComboBox1", "Edit6", "Label6", "Label86"}));
  QCOMPARE(Fixture->Form().Label6->toolTip(), Fixture->Form().Edit6->toolTip());
  QCOMPARE(Fixture->Form().Label86->toolTip(), QStringLiteral(u"20% یا 25%"));
}

void LayoutTest::cursorsAndReadingDirections() {
  TForm1& Form = Fixture->Form();
  for (QWidget* Hand :
       std::initializer_list<QWidget*>{Form.Button1, Form.Button2, Form.Button3, Form.CheckBox1, Form.CheckBox2,
                                       Form.CheckBox3, Form.CheckBox4, Form.CheckBox6, Form.CheckBox8})
    QCOMPARE(Hand->cursor().shape(), Qt::PointingHandCursor);
  for (QWidget* Help : std::initializer_list<QWidget*>{Form.ComboBox1, Form.CheckBox5})
    QCOMPARE(Help->cursor().shape(), Qt::WhatsThisCursor);
  for (QWidget* Widget : Form.findChildren<QWidget*>()) {
    static const QRegularExpression Ours(
        QStringLiteral("^(Edit|Label|CheckBox|ComboBox|GroupBox|Button|Panel|RichEdit)\\d+$"));
    if (!Ours.match(Widget->objectName()).hasMatch()) continue;  // the toolkit's own parts
    const bool LeftToRight = Widget == Form.ComboBox1 || Widget == Form.CheckBox6;
    QCOMPARE(Widget->layoutDirection(), LeftToRight ? Qt::LeftToRight : Qt::RightToLeft);
  }
  QCOMPARE(Form.layoutDirection(), Qt::RightToLeft);
  QCOMPARE(Form.Edit13->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

void LayoutTest::comboBoxStartsEmptyWithTwoItems() {
  QComboBox* Box = Fixture->Form().ComboBox1;
  QVERIFY(!Box->isEditable());
  QCOMPARE(Box->count(), 2);
  QCOMPARE(Box->itemText(0), QStringLiteral(u"تامین اجتماعی"));
  QCOMPARE(Box->itemText(1), QStringLiteral(u"سازمان بازنشستگی"));
  QCOMPARE(Box->currentIndex(), -1);
}

void LayoutTest::lookLeavesOwnEditColoursAlone_data() {
  QTest::addColumn<QString>("Name");
  QTest::addColumn<QColor>("Background");
  QTest::addColumn<QColor>("Text");  // invalid: the look's
  const QColor Navy(0x00, 0x00, 0x80), Maroon(0x80, 0x00, 0x00);
  QTest::newRow("Edit1") << "Edit1" << QColor(0xC4, 0xFF, 0xC4) << Navy;
  QTest::newRow("Edit25") << "Edit25" << QColor(0xC4, 0xFF, 0xC4) << Navy;
  QTest::newRow("Edit2") << "Edit2" << QColor(0xDC, 0xE4, 0xC9) << Navy;
  QTest::newRow("Edit18") << "Edit18" << QColor(0xDC, 0xE4, 0xC9) << Navy;
  QTest::newRow("Edit13") << "Edit13" << QColor(0xEC, 0xF8, 0xFD) << Maroon;
  QTest::newRow("Edit24") << "Edit24" << QColor(0xEC, 0xF8, 0xFD) << Maroon;
  QTest::newRow("Edit6 follows the look") << "Edit6" << QColor(Qt::white) << QColor();
}

void LayoutTest::lookLeavesOwnEditColoursAlone() {
  QFETCH(QString, Name);
  QFETCH(QColor, Background);
  QFETCH(QColor, Text);
  auto* Edit = qobject_cast<QLineEdit*>(Named(Fixture->Form(), Name));
  Edit->setText(QStringLiteral("8888"));
  const QImage Image = Edit->grab().toImage();
  QCOMPARE(Image.pixelColor(6, Image.height() / 2), Background);
  if (Text.isValid()) {
    const QColor Stem = Darkest(Image, Image.rect().adjusted(4, 4, -4, -4));
    // Antialiasing blends the edges; the stems carry the text colour's hue.
    QVERIFY2(Text.blue() > Text.red() ? Stem.blue() > Stem.red() + 60 : Stem.red() > Stem.blue() + 60,
             qPrintable(Stem.name()));
  }
}

void LayoutTest::groupBox2CaptionKeepsWindowTextColour() {
  TForm1& Form = Fixture->Form();
  const auto CaptionStem = [](QGroupBox* Group) {
    const QImage Image = Group->grab().toImage();
    return Darkest(Image, QRect(Image.width() / 2, 0, Image.width() / 2, 18));
  };
  const QColor Plain = CaptionStem(Form.GroupBox2);
  const QColor Styled = CaptionStem(Form.GroupBox1);
  const QColor WindowText = Form.GroupBox2->palette().color(QPalette::WindowText);
  QVERIFY2(qAbs(Plain.lightness() - WindowText.lightness()) < 40 && qAbs(Plain.blue() - Plain.red()) < 30,
           qPrintable(Plain.name()));
  QVERIFY2(Styled.blue() > Styled.red() + 40, qPrintable(Styled.name()));
}

void LayoutTest::lookIsCompiledIn() {
  // A resource in a static library disappears without a reference to it.
  QVERIFY(LookStyleSheet().contains(QStringLiteral("QGroupBox")));
  QCOMPARE(qApp->styleSheet(), LookStyleSheet());
}

void LayoutTest::bannerFillsItsPlace() {
  TWaterImage* Banner = Fixture->Form().WaterImage1;
  QCOMPARE(Banner->parentWidget(), static_cast<QWidget*>(Fixture->Form().Panel2));
  // Auto-size takes the size from the banner picture, which must have loaded.
  QCOMPARE(Banner->Picture().size(), QSize(375, 237));
  QCOMPARE(Banner->geometry(), QRect(16, 436, 375, 237));
  QCOMPARE(Banner->Radius(), 0);
  QCOMPARE(Banner->Interval(), 50u);
  QCOMPARE(Banner->cursor().shape(), Qt::PointingHandCursor);
  QCOMPARE(Banner->focusPolicy(), Qt::NoFocus);
}

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
