// SPDX-License-Identifier: GPL-3.0-or-later
// A working day in a few minutes: the real window with the banner animating
// (its timer sped up from 50 ms to 1 ms), a few hundred computations in a row
// with a different employee each time and a return to the inputs in between,
// the mouse passing over the banner now and then. Once the first computations
// have made Qt's one-time allocations (fonts, glyph caches, style), the live
// heap must stay within a small bound; in the sanitizer build LeakSanitizer
// checks at exit that nothing became unreachable.
#include <cstddef>
#include <malloc.h>

#include <QDeadlineTimer>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "ripple/WaterImage.h"
#include "tests/app/TestSupport.h"

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of live heap bytes (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Bytes the program holds on the heap now. Under ASan freed blocks wait in a
// quarantine, so the process size would only measure that; its allocator
// counts live blocks instead.
std::size_t LiveHeapBytes() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 Info = mallinfo2();
  return Info.uordblks + Info.hblkhd;
#endif
}

constexpr int WarmUpComputations = 20;
constexpr int Computations = 300;
constexpr int FramesPerComputation = 12;
// Heap growth allowed over the 300 computations after the warm-up: a leak of
// a few kilobytes per computation (one report's text) would pass 1 MiB.
constexpr std::size_t GrowthBound = 512 * 1024;

}  // namespace

class SoakTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { SetUpApplication(); }
  void computationsAndFramesAllDayKeepTheHeapFlat();
};

void SoakTest::computationsAndFramesAllDayKeepTheHeapFlat() {
  WindowFixture Fixture;
  TForm1& Form = Fixture.Form();
  int Frames = 0;
  Form.WaterImage1->SetOnAfterRender([&Frames](TWaterImage*, QImage&) { ++Frames; });
  Form.WaterImage1->SetInterval(1);
  FillInputA(Form);

  const auto Replace = [](QLineEdit* Edit, const QString& Text) {
    Edit->setFocus(Qt::MouseFocusReason);
    Edit->selectAll();
    Type(Text);
  };
  const auto LetTheWaterRun = [&](int Count) {
    const int Until = Frames + Count;
    QDeadlineTimer Deadline(10000);
    while (Frames < Until && !Deadline.hasExpired()) QTest::qWait(1);
    QVERIFY2(Frames >= Until, "the banner's timer stopped");
  };
  // Employee k: every tenth is worked input A again, whose report is known to
  // the byte; the others vary the group (3 .. 20) and the number of children.
  const auto Compute = [&](int k) {
    const bool InputA = k % 10 == 0;
    Replace(Form.Edit6, InputA ? QStringLiteral("9") : QString::number(3 + k % 18));
    Replace(Form.Edit11, InputA ? QStringLiteral("2") : QString::number(k % 7));
    Click(Form.Button1);
    QVERIFY2(Form.Panel1->isVisible(), qPrintable(QStringLiteral("computation %1").arg(k)));
    if (InputA) QCOMPARE(Form.RichEdit1->toPlainText(), ReportOfInputA());
    if (k % 25 == 0) {
      QTest::mouseMove(Form.Button3);
      LetTheWaterRun(FramesPerComputation);
    }
    Click(Form.Button3);
    QVERIFY(Form.Panel2->isVisible());
    if (k % 7 == 0) {
      // Over the banner: the moving mouse raises drops.
      for (int x = 20; x < 360; x += 40) QTest::mouseMove(Form.WaterImage1, QPoint(x, 100 + k % 50));
    }
    LetTheWaterRun(FramesPerComputation);
  };

  for (int k = 0; k < WarmUpComputations; ++k) {
    Compute(k);
    if (QTest::currentTestFailed()) return;
  }
  const std::size_t Before = LiveHeapBytes();
  for (int k = WarmUpComputations; k < WarmUpComputations + Computations; ++k) {
    Compute(k);
    if (QTest::currentTestFailed()) return;
  }
  const std::size_t After = LiveHeapBytes();

  QVERIFY(Fixture.Recorder.Messages.isEmpty());
  QVERIFY2(Frames >= (WarmUpComputations + Computations) * FramesPerComputation,
           qPrintable(QStringLiteral("%1 frames").arg(Frames)));
  const long long Growth = static_cast<long long>(After) - static_cast<long long>(Before);
  qInfo("%d frames, %d computations; live heap %zu -> %zu bytes (%+lld)", Frames, WarmUpComputations + Computations,
        Before, After, Growth);
  QVERIFY2(Growth < static_cast<long long>(GrowthBound), qPrintable(QStringLiteral("grew %1 bytes").arg(Growth)));
}

QTEST_MAIN(SoakTest)
#include "SoakTest.moc"
