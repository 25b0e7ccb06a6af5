// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the banner picture once; not part of the build. Run from the
// repository root:
//   g++ -std=c++17 -fPIC assets/MakeBanner.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make-banner
//   QT_QPA_PLATFORM=offscreen /tmp/make-banner assets/banner.jpg
// The result is a baseline JPEG (no progressive scans), 375 × 237, 8 bits per
// sample, three components. It needs the "Noto Sans Arabic" face
// (fonts-noto-core).
#include <cmath>
#include <cstdint>
#include <cstdio>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const char* const Title = "محاسبه احکام کارگزینی";
const char* const Credit = "طراحی و برنامه‌نویسی — گروه توسعه";

constexpr int Width = 375;
constexpr int Height = 237;
constexpr int Horizon = 92;

// A fixed sequence, so that the picture comes out the same on every run.
std::uint32_t Noise = 12345;
int NextNoise(int n) {
  Noise = Noise * 1103515245u + 12345u;
  return static_cast<int>((Noise >> 16) % static_cast<std::uint32_t>(n));
}

void DrawSky(QPainter& P) {
  QLinearGradient Sky(0, 0, 0, Horizon);
  Sky.setColorAt(0.0, QColor(18, 52, 110));
  Sky.setColorAt(0.6, QColor(62, 128, 190));
  Sky.setColorAt(1.0, QColor(250, 206, 140));
  P.fillRect(QRect(0, 0, Width, Horizon), Sky);

  QRadialGradient Sun(QPointF(300, Horizon - 6), 70);
  Sun.setColorAt(0.0, QColor(255, 246, 210, 255));
  Sun.setColorAt(0.18, QColor(255, 226, 150, 230));
  Sun.setColorAt(1.0, QColor(255, 200, 120, 0));
  P.fillRect(QRect(0, 0, Width, Horizon), Sun);

  // Distant hills on the horizon.
  QPainterPath Hills;
  Hills.moveTo(0, Horizon);
  for (int x = 0; x <= Width; x += 5)
    Hills.lineTo(x, Horizon - 10 - 8 * std::sin(x / 31.0) - 5 * std::sin(x / 11.0 + 1.3));
  Hills.lineTo(Width, Horizon);
  Hills.closeSubpath();
  P.fillPath(Hills, QColor(40, 70, 96));
}

void DrawSea(QPainter& P) {
  QLinearGradient Sea(0, Horizon, 0, Height);
  Sea.setColorAt(0.0, QColor(46, 110, 150));
  Sea.setColorAt(0.5, QColor(22, 84, 126));
  Sea.setColorAt(1.0, QColor(8, 44, 82));
  P.fillRect(QRect(0, Horizon, Width, Height - Horizon), Sea);

  // Wave crests: short strokes, longer and brighter towards the viewer, and a
  // glittering path under the sun. They give the ripples something to bend.
  P.setRenderHint(QPainter::Antialiasing);
  for (int Row = 0; Row < 46; ++Row) {
    const double t = Row / 45.0;
    const int y = Horizon + 2 + static_cast<int>(t * t * (Height - Horizon - 4));
    const int Count = 40 - Row / 3;
    for (int k = 0; k < Count; ++k) {
      const int x = NextNoise(Width);
      const double Length = 4 + t * 18 + NextNoise(6);
      const bool UnderSun = std::abs(x - 300) < 28 + t * 40;
      QColor Crest = UnderSun ? QColor(255, 236, 190) : QColor(150, 200, 225);
      Crest.setAlpha(UnderSun ? 200 : 70 + static_cast<int>(t * 90));
      P.setPen(QPen(Crest, 0.8 + t * 1.4, Qt::SolidLine, Qt::RoundCap));
      QPainterPath Wave;
      Wave.moveTo(x, y);
      Wave.quadTo(x + Length / 2, y - 1.5 - t * 2.5, x + Length, y);
      P.drawPath(Wave);
    }
  }
  P.setRenderHint(QPainter::Antialiasing, false);
}

void DrawText(QPainter& P) {
  P.setRenderHint(QPainter::Antialiasing);
  P.setRenderHint(QPainter::TextAntialiasing);
  P.setLayoutDirection(Qt::RightToLeft);

  QFont TitleFont("Noto Sans Arabic");
  TitleFont.setPixelSize(31);
  TitleFont.setBold(true);
  P.setFont(TitleFont);
  const QRect TitleBox(10, 104, Width - 20, 52);
  P.setPen(QColor(0, 20, 40, 170));
  P.drawText(TitleBox.translated(2, 2), Qt::AlignCenter, QString::fromUtf8(Title));
  P.setPen(QColor(255, 255, 255));
  P.drawText(TitleBox, Qt::AlignCenter, QString::fromUtf8(Title));

  QFont CreditFont("Noto Sans Arabic");
  CreditFont.setPixelSize(17);
  CreditFont.setBold(true);
  P.setFont(CreditFont);
  const QRect CreditBox(10, 186, Width - 20, 30);
  P.setPen(QColor(0, 20, 40, 160));
  P.drawText(CreditBox.translated(1, 1), Qt::AlignCenter, QString::fromUtf8(Credit));
  P.setPen(QColor(214, 236, 248));
  P.drawText(CreditBox, Qt::AlignCenter, QString::fromUtf8(Credit));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication App(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-banner OUTPUT.jpg\n");
    return 2;
  }
  QImage Image(Width, Height, QImage::Format_RGB32);
  {
    QPainter P(&Image);
    DrawSky(P);
    DrawSea(P);
    DrawText(P);
  }
  QImageWriter Writer(QString::fromLocal8Bit(argv[1]), "jpeg");
  Writer.setQuality(90);
  Writer.setOptimizedWrite(false);
  Writer.setProgressiveScanWrite(false);
  if (!Writer.write(Image.convertToFormat(QImage::Format_RGB888))) {
    std::fprintf(stderr, "%s\n", qPrintable(Writer.errorString()));
    return 1;
  }
  return 0;
}
