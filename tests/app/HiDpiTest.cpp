// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a high-density screen (run with QT_SCALE_FACTOR 1, 1.5 and
// 2): the same logical layout in a picture that many times larger, and the
// banner drawn smooth, repainted only where the water moved, yet always
// showing the whole current frame.
#include <cmath>

#include <QBackingStore>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTextEdit>

#include "ripple/Random.h"
#include "ripple/WaterImage.h"
#include "tests/app/TestSupport.h"

namespace {

// Counts the paint events a widget gets and the area they ask for.
class PaintCounter : public QObject {
 public:
  int Events = 0;
  int Pixels = 0;

 protected:
  bool eventFilter(QObject*, QEvent* Event) override {
    if (Event->type() == QEvent::Paint) {
      ++Events;
      for (const QRect& Rect : static_cast<QPaintEvent*>(Event)->region()) Pixels += Rect.width() * Rect.height();
    }
    return false;
  }
};

void Frame(TWaterImage* Banner) { QMetaObject::invokeMethod(Banner, "Tick", Qt::DirectConnection); }

// The largest difference of one colour channel between two pictures of one size.
int LargestDifference(const QImage& A, const QImage& B) {
  int Largest = 0;
  for (int Y = 0; Y < A.height(); ++Y) {
    const uchar* RowA = A.constScanLine(Y);
    const uchar* RowB = B.constScanLine(Y);
    for (int X = 0; X < 3 * A.width(); ++X) Largest = std::max(Largest, std::abs(RowA[X] - RowB[X]));
  }
  return Largest;
}

}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void init();
  void cleanup() { Fixture.reset(); }

  void screenshotKeepsTheLogicalLayout_data();
  void screenshotKeepsTheLogicalLayout();
  void bannerIsDrawnSmooth();
  void calmWaterAsksForNoRepaint();
  void partialRepaintsShowTheWholeFrame();

 private:
  std::unique_ptr<WindowFixture> Fixture;
  TWaterImage* Banner = nullptr;
};

void HiDpiTest::init() {
  Fixture = std::make_unique<WindowFixture>();
  Banner = Fixture->Form().WaterImage1;
  // The test raises the drops itself.
  Banner->SetRandomDelay(0);
  Banner->SetInterval(0);
  RandomSeed(7);
}

void HiDpiTest::screenshotKeepsTheLogicalLayout_data() {
  QTest::addColumn<QString>("Control");
  QTest::addColumn<QRect>("Geometry");
  // Where the layout puts the controls that have a fixed size, in logical pixels.
  const std::pair<const char*, QRect> Rows[] = {
      {"Panel2", {0, 0, 785, 691}},      {"GroupBox1", {395, 22, 366, 256}}, {"GroupBox2", {394, 286, 366, 384}},
      {"GroupBox3", {20, 22, 369, 355}}, {"Button1", {20, 378, 369, 53}},    {"WaterImage1", {16, 436, 375, 237}},
      {"Edit1", {22, 33, 121, 24}},      {"Edit18", {22, 208, 121, 24}},     {"Edit6", {22, 36, 121, 24}},
      {"Edit12", {22, 161, 121, 24}},    {"ComboBox1", {22, 186, 121, 22}},  {"Edit11", {22, 209, 121, 24}},
      {"Edit13", {24, 33, 121, 24}},     {"Edit22", {41, 233, 104, 24}},     {"Edit24", {24, 283, 121, 24}},
      {"Panel1", {0, 0, 785, 691}},      {"GroupBox4", {20, 6, 741, 667}},   {"Button2", {10, 632, 459, 29}},
      {"Button3", {474, 632, 255, 29}},  {"RichEdit1", {12, 19, 717, 611}}};
  for (const auto& [Name, Geometry] : Rows) QTest::newRow(Name) << QString::fromLatin1(Name) << Geometry;
}

void HiDpiTest::screenshotKeepsTheLogicalLayout() {
  QFETCH(QString, Control);
  QFETCH(QRect, Geometry);
  TForm1& Form = Fixture->Form();
  const qreal Ratio = Form.devicePixelRatioF();
  const QByteArray Scale = qgetenv("QT_SCALE_FACTOR");
  QCOMPARE(Ratio, Scale.isEmpty() ? 1.0 : Scale.toDouble());
  const QImage Shot = Form.grab().toImage();
  QCOMPARE(Shot.size(), QSize(qRound(785 * Ratio), qRound(691 * Ratio)));
  QCOMPARE(Shot.devicePixelRatio(), Ratio);
  QCOMPARE(Form.size(), QSize(785, 691));
  QWidget* Widget = Form.findChild<QWidget*>(Control);
  QVERIFY(Widget);
  QCOMPARE(Widget->geometry(), Geometry);
}

void HiDpiTest::bannerIsDrawnSmooth() {
  const qreal Ratio = Banner->devicePixelRatioF();
  if (Ratio == 1) QSKIP("at scale 1 the banner is drawn pixel for pixel");
  const QImage Shot = Banner->grab().toImage().convertToFormat(QImage::Format_RGB888);
  QCOMPARE(Shot.size(), QSize(qRound(375 * Ratio), qRound(237 * Ratio)));
  // Scaled pixel by pixel, every colour on screen would be one of the
  // picture's; filtered, the edges take colours in between.
  QSet<QRgb> Picture;
  const QImage& Frame = Banner->Canvas();
  for (int Y = 0; Y < Frame.height(); ++Y)
    for (int X = 0; X < Frame.width(); ++X) Picture.insert(Frame.pixel(X, Y));
  int New = 0;
  for (int Y = 0; Y < Shot.height(); ++Y)
    for (int X = 0; X < Shot.width(); ++X) New += !Picture.contains(Shot.pixel(X, Y));
  QVERIFY2(New > Shot.width() * Shot.height() / 10, qPrintable(QString::number(New)));
}

void HiDpiTest::calmWaterAsksForNoRepaint() {
  PaintCounter Counter;
  Banner->installEventFilter(&Counter);
  for (int I = 0; I < 20; ++I) Frame(Banner);
  QCoreApplication::processEvents();
  QCOMPARE(Counter.Events, 0);
  // One drop asks for a repaint of a band around it, not of the whole banner.
  Banner->Blob(200, 100, 1, 250);
  Frame(Banner);
  QCoreApplication::processEvents();
  QCOMPARE(Counter.Events, 1);
  QVERIFY(Counter.Pixels > 0);
  QVERIFY2(Counter.Pixels < 375 * 237 / 4, qPrintable(QString::number(Counter.Pixels)));
  // Once the water has calmed down, the frames stop asking.
  for (int I = 0; I < 400; ++I) Frame(Banner);
  QCoreApplication::processEvents();
  Counter.Events = 0;
  for (int I = 0; I < 5; ++I) Frame(Banner);
  QCoreApplication::processEvents();
  QCOMPARE(Counter.Events, 0);
  Banner->removeEventFilter(&Counter);
}

void HiDpiTest::partialRepaintsShowTheWholeFrame() {
  TForm1& Form = Fixture->Form();
  const qreal Ratio = Form.devicePixelRatioF();
  const QPoint Corner = Banner->mapTo(&Form, QPoint(0, 0));
  const QRect OnScreen(qRound(Corner.x() * Ratio), qRound(Corner.y() * Ratio), qRound(375 * Ratio),
                       qRound(237 * Ratio));
  // Drops here and there, ripples spreading, some dying out; each frame
  // repaints only its bands. What the window shows must be the frame itself.
  // At a fractional ratio the filter rounds a clipped repaint a shade apart
  // from a whole one; a pixel left over from an older frame is far more off.
  const int Tolerance = Ratio == std::floor(Ratio) ? 0 : 2;
  for (int Step = 0; Step < 90; ++Step) {
    if (Step % 7 == 0) Banner->Blob((Step * 37) % 375, (Step * 53) % 237, 1 + Step % 2, 150 + Step * 5);
    if (Step < 40) Banner->Blob(20 + Step * 8, 180 - Step * 3, 0, Banner->TrackBlob());
    Frame(Banner);
    QCoreApplication::processEvents();
    if (Step % 15 != 14) continue;
    // What the window holds: its backing store, in device pixels.
    QPaintDevice* Store = Form.backingStore()->paintDevice();
    QCOMPARE(Store->devType(), int(QInternal::Image));
    const QImage Shown = static_cast<QImage*>(Store)->copy(OnScreen).convertToFormat(QImage::Format_RGB888);
    const QImage Whole = Banner->grab().toImage().convertToFormat(QImage::Format_RGB888);
    QCOMPARE(Shown.size(), Whole.size());
    const int Difference = LargestDifference(Shown, Whole);
    QVERIFY2(Difference <= Tolerance, qPrintable(QStringLiteral("frame %1: %2").arg(Step).arg(Difference)));
  }
}

QTEST_MAIN(HiDpiTest)
#include "HiDpiTest.moc"
