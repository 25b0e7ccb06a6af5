// SPDX-License-Identifier: GPL-3.0-or-later
#include <functional>
#include <vector>

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "ripple/Random.h"
#include "ripple/WaterImage.h"
#include "tests/ripple/ScriptedRandom.h"

Q_DECLARE_METATYPE(TAlign)

namespace {

// A textured picture, so that every pixel differs from its neighbours.
QImage TestPicture(int Width = 375, int Height = 237) {
  QImage Image(Width, Height, QImage::Format_RGB888);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) Image.setPixel(x, y, qRgb((x * 7) & 255, (y * 5) & 255, (x * y) & 255));
  return Image;
}

void Tick(TWaterImage& W) { QVERIFY(QMetaObject::invokeMethod(&W, "Tick", Qt::DirectConnection)); }

int RaisedCells(const TWaterEffect& Water, bool Previous = false) {
  int Count = 0;
  for (int y = 0; y < Water.Height(); ++y)
    for (int x = 0; x < Water.Width(); ++x)
      if ((Previous ? Water.PreviousCell(x, y) : Water.Cell(x, y)) != 0) ++Count;
  return Count;
}

bool Calm(const TWaterEffect& Water) { return RaisedCells(Water) == 0 && RaisedCells(Water, true) == 0; }

std::vector<int> Cells(const TWaterEffect& Water) {
  std::vector<int> All;
  for (int y = 0; y < Water.Height(); ++y)
    for (int x = 0; x < Water.Width(); ++x) All.push_back(Water.Cell(x, y));
  return All;
}

// A shown 375 × 237 banner with the test picture and a stopped timer (the
// Interval stays 50), so that only the test's own ticks move the water.
struct TBanner {
  TWaterImage W;
  TBanner() {
    W.findChild<QTimer*>()->stop();
    W.SetAutoSize(true);
    W.SetPicture(TestPicture());
    W.show();
  }
};

}  // namespace

class tst_WaterImage : public QObject {
  Q_OBJECT

 private slots:
  void newControlHasTheDefaultsAndARunningTimer();
  void timerAnimatesTheWater();
  void intervalZeroStopsTheTimer();
  void autoSizeTakesThePictureSize();
  void autoSizeFollowsAlign_data();
  void autoSizeFollowsAlign();
  void bannerPictureLoadsAt375By237();
  void sizeChangeCalmsTheWater();
  void mouseRaisesDrops_data();
  void mouseRaisesDrops();
  void dragOutsideTheControlRaisesNothing();
  void disabledControlFreezesTheFrame();
  void noRandomDrops_data();
  void noRandomDrops();
  void randomDropChance_data();
  void randomDropChance();
  void randomDropRadiusAndHeight_data();
  void randomDropRadiusAndHeight();
  void clickSignal_data();
  void clickSignal();
  void paintShowsTheRenderedFrame();
  void renderHandlersSeeTheirBitmaps();
  void throwingHandlerDoesNotEscapeTheTick();
};

void tst_WaterImage::newControlHasTheDefaultsAndARunningTimer() {
  TWaterImage W;
  QCOMPARE(W.size(), QSize(105, 105));
  QCOMPARE(W.Interval(), 50u);
  QCOMPARE(W.Damping(), 20);
  QCOMPARE(W.Radius(), 1);
  QCOMPARE(W.RandomDelay(), 800);
  QCOMPARE(W.RandomBlob(), 500);
  QCOMPARE(W.TrackBlob(), 100);
  QCOMPARE(W.ClickBlob(), 250);
  QCOMPARE(W.AutoSize(), false);
  QVERIFY(W.Align() == TAlign::alNone);
  QVERIFY(W.Picture().isNull());
  QCOMPARE(W.Water().Width(), 0);
  QVERIFY(W.testAttribute(Qt::WA_OpaquePaintEvent));
  QCOMPARE(W.focusPolicy(), Qt::NoFocus);
  QVERIFY(W.hasMouseTracking());
  const auto Timers = W.findChildren<QTimer*>();
  QCOMPARE(Timers.size(), 1);
  QVERIFY(Timers[0]->isActive());
  QCOMPARE(Timers[0]->interval(), 50);

  W.SetDamping(0);
  W.SetDamping(100);
  QCOMPARE(W.Damping(), 20);
  W.SetDamping(99);
  QCOMPARE(W.Damping(), 99);
}

void tst_WaterImage::timerAnimatesTheWater() {
  TWaterImage W;
  W.SetAutoSize(true);
  W.SetPicture(TestPicture());
  W.Blob(100, 100, 2, 500);
  QCOMPARE(W.Water().Cell(100, 100), 500);
  QTRY_VERIFY_WITH_TIMEOUT(W.Water().Cell(100, 100) != 500, 2000);
}

void tst_WaterImage::intervalZeroStopsTheTimer() {
  TWaterImage W;
  QTimer* Timer = W.findChild<QTimer*>();
  W.SetInterval(0);
  QCOMPARE(W.Interval(), 0u);
  QVERIFY(!Timer->isActive());
  W.SetInterval(40);
  QVERIFY(Timer->isActive());
  QCOMPARE(Timer->interval(), 40);
}

void tst_WaterImage::autoSizeTakesThePictureSize() {
  TWaterImage W;
  W.SetInterval(0);
  W.SetAutoSize(true);
  const QImage Picture = TestPicture();
  W.SetPicture(Picture);
  QCOMPARE(W.size(), QSize(375, 237));
  QCOMPARE(W.SourceBitmap().size(), QSize(375, 237));
  QCOMPARE(W.SourceBitmap().format(), QImage::Format_RGB888);
  QCOMPARE(W.Canvas().size(), QSize(375, 237));
  QCOMPARE(W.Canvas().format(), QImage::Format_RGB888);
  QCOMPARE(W.Water().Width(), 375);
  QCOMPARE(W.Water().Height(), 237);
  QVERIFY(Calm(W.Water()));
  QVERIFY(W.Canvas() == Picture);  // no ripples before the first tick
}

void tst_WaterImage::autoSizeFollowsAlign_data() {
  QTest::addColumn<TAlign>("align");
  QTest::addColumn<QSize>("withPicture");    // from 500 × 100
  QTest::addColumn<QSize>("afterResizing");  // asked for 600 × 300
  QTest::newRow("none: both") << TAlign::alNone << QSize(375, 237) << QSize(375, 237);
  QTest::newRow("top: the height") << TAlign::alTop << QSize(500, 237) << QSize(600, 237);
  QTest::newRow("bottom: the height") << TAlign::alBottom << QSize(500, 237) << QSize(600, 237);
  QTest::newRow("left: the width") << TAlign::alLeft << QSize(375, 100) << QSize(375, 300);
  QTest::newRow("right: the width") << TAlign::alRight << QSize(375, 100) << QSize(375, 300);
  QTest::newRow("client: neither") << TAlign::alClient << QSize(500, 100) << QSize(600, 300);
  QTest::newRow("custom: neither") << TAlign::alCustom << QSize(500, 100) << QSize(600, 300);
}

void tst_WaterImage::autoSizeFollowsAlign() {
  QFETCH(TAlign, align);
  QFETCH(QSize, withPicture);
  QFETCH(QSize, afterResizing);
  TWaterImage W;
  W.SetInterval(0);
  W.resize(500, 100);
  W.show();
  W.SetAlign(align);
  W.SetAutoSize(true);
  W.SetPicture(TestPicture());
  QCOMPARE(W.size(), withPicture);
  QCOMPARE(W.Water().Width(), withPicture.width());
  QCOMPARE(W.Water().Height(), withPicture.height());
  W.resize(600, 300);
  QCOMPARE(W.size(), afterResizing);
  QCOMPARE(W.Canvas().size(), afterResizing);
}

void tst_WaterImage::bannerPictureLoadsAt375By237() {
  TWaterImage W;
  W.SetAutoSize(true);
  QVERIFY(W.LoadBannerPicture());
  QCOMPARE(W.Picture().size(), QSize(375, 237));
  QCOMPARE(W.size(), QSize(375, 237));
  QCOMPARE(W.Canvas().format(), QImage::Format_RGB888);
}

void tst_WaterImage::sizeChangeCalmsTheWater() {
  TBanner B;
  B.W.Blob(100, 100, 2, 500);
  Tick(B.W);
  Tick(B.W);
  QVERIFY(!Calm(B.W.Water()));
  B.W.SetAutoSize(false);
  B.W.resize(200, 120);
  QCOMPARE(B.W.Water().Width(), 200);
  QCOMPARE(B.W.Water().Height(), 120);
  QVERIFY(Calm(B.W.Water()));
  QCOMPARE(B.W.SourceBitmap().size(), QSize(200, 120));  // the picture stretched to the new size
}

void tst_WaterImage::mouseRaisesDrops_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<int>("height");  // at (30, 40); with Radius 0 its neighbours stay calm
  QTest::newRow("move without a button: TrackBlob") << "move" << 100;
  QTest::newRow("move with the left button held: ClickBlob") << "drag" << 250;
  QTest::newRow("left press: ClickBlob") << "left press" << 250;
  QTest::newRow("right press: nothing") << "right press" << 0;
}

void tst_WaterImage::mouseRaisesDrops() {
  QFETCH(QString, action);
  QFETCH(int, height);
  TBanner B;
  B.W.SetRadius(0);
  const QPoint At(30, 40);
  QTest::mouseMove(&B.W, QPoint(200, 200));  // a move to where the mouse already is makes no event
  B.W.ClearWater();
  if (action == "move") {
    QTest::mouseMove(&B.W, At);
  } else if (action == "drag") {
    QTest::mousePress(&B.W, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseMove(&B.W, At);
  } else if (action == "left press") {
    QTest::mousePress(&B.W, Qt::LeftButton, Qt::NoModifier, At);
  } else {
    QTest::mousePress(&B.W, Qt::RightButton, Qt::NoModifier, At);
  }
  const TWaterEffect& Water = B.W.Water();
  const int Cell = Water.Cell(At.x(), At.y());
  const int Around = Water.Cell(At.x() - 1, At.y()) | Water.Cell(At.x() + 1, At.y()) | Water.Cell(At.x(), At.y() - 1) |
                     Water.Cell(At.x(), At.y() + 1);
  if (action == "drag")
    QTest::mouseRelease(&B.W, Qt::LeftButton, Qt::NoModifier, At);
  else if (action.endsWith("press"))
    QTest::mouseRelease(&B.W, action == "left press" ? Qt::LeftButton : Qt::RightButton, Qt::NoModifier, At);
  QCOMPARE(Cell, height);
  QCOMPARE(Around, 0);
}

void tst_WaterImage::dragOutsideTheControlRaisesNothing() {
  TBanner B;
  B.W.SetRadius(0);
  QTest::mousePress(&B.W, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(RaisedCells(B.W.Water()), 1);
  // The control keeps the mouse during the drag; these moves are outside it.
  for (const QPoint P : {QPoint(375, 10), QPoint(10, 237), QPoint(-1, 10), QPoint(400, 300)}) QTest::mouseMove(&B.W, P);
  QCOMPARE(RaisedCells(B.W.Water()), 1);
  QTest::mouseRelease(&B.W, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
}

void tst_WaterImage::disabledControlFreezesTheFrame() {
  TBanner B;
  B.W.Blob(100, 100, 3, 600);
  Tick(B.W);
  const QImage Frame = B.W.Canvas().copy();
  const std::vector<int> Water = Cells(B.W.Water());
  QVERIFY(Frame != TestPicture());
  B.W.setEnabled(false);
  for (int i = 0; i < 5; ++i) Tick(B.W);
  QVERIFY(B.W.Canvas() == Frame);
  QVERIFY(Cells(B.W.Water()) == Water);
  QVERIFY(B.W.grab().toImage().convertToFormat(QImage::Format_RGB888) == Frame);
  B.W.setEnabled(true);
  Tick(B.W);
  QVERIFY(Cells(B.W.Water()) != Water);
}

void tst_WaterImage::noRandomDrops_data() {
  QTest::addColumn<int>("randomDelay");
  QTest::addColumn<int>("randomBlob");
  QTest::newRow("RandomDelay 0") << 0 << 500;
  QTest::newRow("RandomDelay negative") << -800 << 500;
  QTest::newRow("RandomBlob 0") << 800 << 0;
}

void tst_WaterImage::noRandomDrops() {
  QFETCH(int, randomDelay);
  QFETCH(int, randomBlob);
  TBanner B;
  B.W.SetRandomDelay(randomDelay);
  B.W.SetRandomBlob(randomBlob);
  TScriptedRandom Script({});
  for (int i = 0; i < 50; ++i) Tick(B.W);
  QVERIFY(Script.Asked.empty());
  QVERIFY(Calm(B.W.Water()));
}

void tst_WaterImage::randomDropChance_data() {
  QTest::addColumn<int>("randomDelay");
  QTest::addColumn<unsigned>("interval");
  QTest::addColumn<int>("outOf");  // the drop falls when a draw from 0 .. outOf − 1 is 0
  QTest::newRow("defaults: 800 / 50 = 16, 1 in 17") << 800 << 50u << 17;
  QTest::newRow("interval 30: 800 / 30 up to 27, 1 in 28") << 800 << 30u << 28;
  QTest::newRow("801 / 50 up to 17, 1 in 18") << 801 << 50u << 18;
  QTest::newRow("delay shorter than the interval: 1 in 2") << 1 << 1000u << 2;
}

void tst_WaterImage::randomDropChance() {
  QFETCH(int, randomDelay);
  QFETCH(unsigned, interval);
  QFETCH(int, outOf);
  TBanner B;
  B.W.SetRandomDelay(randomDelay);
  B.W.SetInterval(interval);
  {
    TScriptedRandom Miss({1});
    Tick(B.W);
    QCOMPARE(Miss.Asked, std::vector<int>{outOf});
    QVERIFY(Calm(B.W.Water()));
  }
  {
    TScriptedRandom Hit({0});
    Tick(B.W);
    QCOMPARE(Hit.Asked, (std::vector<int>{outOf, 2, 500, 32767, 32767}));
    QVERIFY(!Calm(B.W.Water()));
  }
}

void tst_WaterImage::randomDropRadiusAndHeight_data() {
  QTest::addColumn<int>("randomBlob");
  QTest::addColumn<std::vector<int>>("answers");  // decision, radius, height, column, row
  QTest::addColumn<int>("radius");
  QTest::addColumn<int>("height");
  QTest::addColumn<QPoint>("centre");
  // Column ARadius + 1 + R mod (375 − 2·ARadius − 1), row the same with 237.
  QTest::newRow("smallest: radius 1, height 100") << 500 << std::vector<int>{0, 0, 0, 0, 0} << 1 << 100 << QPoint(2, 2);
  QTest::newRow("largest: radius 2, height 599")
      << 500 << std::vector<int>{0, 1, 499, 32766, 32766} << 2 << 599 << QPoint(3 + 32766 % 370, 3 + 32766 % 232);
  QTest::newRow("RandomBlob 1: height 100 only")
      << 1 << std::vector<int>{0, 1, 0, 10, 20} << 2 << 100 << QPoint(13, 23);
}

void tst_WaterImage::randomDropRadiusAndHeight() {
  QFETCH(int, randomBlob);
  QFETCH(std::vector<int>, answers);
  QFETCH(int, radius);
  QFETCH(int, height);
  QFETCH(QPoint, centre);
  TBanner B;
  B.W.SetRandomBlob(randomBlob);
  TScriptedRandom Script(answers);
  Tick(B.W);
  QCOMPARE(Script.Asked, (std::vector<int>{17, 2, randomBlob, 32767, 32767}));
  // The tick rendered once: the surface before that step holds the drop.
  const TWaterEffect& Water = B.W.Water();
  QCOMPARE(RaisedCells(Water, true), radius == 1 ? 5 : 13);
  QCOMPARE(Water.PreviousCell(centre.x(), centre.y()), height);
  QCOMPARE(Water.PreviousCell(centre.x() + radius, centre.y()), height);
  QCOMPARE(Water.PreviousCell(centre.x() + radius + 1, centre.y()), 0);
}

void tst_WaterImage::clickSignal_data() {
  QTest::addColumn<QString>("gesture");
  QTest::addColumn<int>("clicks");
  QTest::newRow("left click") << "left" << 1;
  QTest::newRow("two left clicks") << "left left" << 2;
  QTest::newRow("double click counts once") << "double" << 1;
  QTest::newRow("right click") << "right" << 0;
  QTest::newRow("released outside") << "outside" << 0;
}

void tst_WaterImage::clickSignal() {
  QFETCH(QString, gesture);
  QFETCH(int, clicks);
  TBanner B;
  QSignalSpy Spy(&B.W, &TWaterImage::OnClick);
  const QPoint At(50, 60);
  if (gesture.startsWith("left")) {
    for (int i = 0; i < gesture.count("left"); ++i) QTest::mouseClick(&B.W, Qt::LeftButton, Qt::NoModifier, At);
  } else if (gesture == "double") {
    // What a window system delivers: press, release, double-click, release.
    QTest::mouseClick(&B.W, Qt::LeftButton, Qt::NoModifier, At);
    QMouseEvent Double(QEvent::MouseButtonDblClick, At, B.W.mapToGlobal(At), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(&B.W, &Double);
    QTest::mouseRelease(&B.W, Qt::LeftButton, Qt::NoModifier, At);
  } else if (gesture == "right") {
    QTest::mouseClick(&B.W, Qt::RightButton, Qt::NoModifier, At);
  } else {
    QTest::mousePress(&B.W, Qt::LeftButton, Qt::NoModifier, At);
    QTest::mouseRelease(&B.W, Qt::LeftButton, Qt::NoModifier, QPoint(380, 60));
  }
  QCOMPARE(Spy.count(), clicks);
}

void tst_WaterImage::paintShowsTheRenderedFrame() {
  TBanner B;
  QVERIFY(B.W.grab().toImage().convertToFormat(QImage::Format_RGB888) == TestPicture());
  B.W.Blob(200, 120, 2, 400);
  Tick(B.W);
  Tick(B.W);
  QVERIFY(B.W.Canvas() != TestPicture());
  QVERIFY(B.W.grab().toImage().convertToFormat(QImage::Format_RGB888) == B.W.Canvas());
}

void tst_WaterImage::renderHandlersSeeTheirBitmaps() {
  TBanner B;
  B.W.SetRandomDelay(0);  // the water must stay calm
  QImage* AfterBitmap = nullptr;
  TWaterImage* AfterSender = nullptr;
  int Order = 0, BeforeAt = 0, AfterAt = 0;
  B.W.SetOnBeforeRender([&](TWaterImage*, QImage& ABitmap) {
    BeforeAt = ++Order;
    ABitmap.fill(QColor(10, 20, 30));
  });
  B.W.SetOnAfterRender([&](TWaterImage* Sender, QImage& ABitmap) {
    AfterAt = ++Order;
    AfterSender = Sender;
    AfterBitmap = &ABitmap;
  });
  Tick(B.W);
  QCOMPARE(BeforeAt, 1);
  QCOMPARE(AfterAt, 2);
  QCOMPARE(AfterSender, &B.W);
  QCOMPARE(AfterBitmap, &B.W.Canvas());
  // Calm water: the frame is the handler's drawing; the source stays the picture.
  QImage Filled(375, 237, QImage::Format_RGB888);
  Filled.fill(QColor(10, 20, 30));
  QVERIFY(B.W.Canvas() == Filled);
  QVERIFY(B.W.SourceBitmap() == TestPicture());
}

void tst_WaterImage::throwingHandlerDoesNotEscapeTheTick() {
  TBanner B;
  B.W.SetOnBeforeRender([](TWaterImage*, QImage&) { throw std::runtime_error("handler failed"); });
  Tick(B.W);
  B.W.SetOnBeforeRender(nullptr);
  B.W.Blob(100, 100, 2, 400);
  Tick(B.W);
  QVERIFY(B.W.Canvas() != TestPicture());
}

QTEST_MAIN(tst_WaterImage)
#include "WaterImageTest.moc"
