// SPDX-License-Identifier: GPL-3.0-or-later
// The banner alone in a small window, for looking at it and for measuring
// what the animation costs while it runs by itself.
//   banner_demo                      shows it until closed
//   banner_demo --seconds 12         quits after 12 s
//   banner_demo --snapshot out.png   writes a frame with ripples and quits
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QTimer>

#include "ripple/Random.h"
#include "ripple/WaterImage.h"

int main(int argc, char** argv) {
  QApplication App(argc, argv);
  QWidget Window;
  Window.setFixedSize(375 + 32, 237 + 32);
  auto* Banner = new TWaterImage(&Window);
  Banner->move(16, 16);
  Banner->setCursor(Qt::PointingHandCursor);
  Banner->SetRadius(0);
  Banner->SetAutoSize(true);
  if (!Banner->LoadBannerPicture()) return 1;

  if (argc == 3 && std::strcmp(argv[1], "--snapshot") == 0) {
    // A mouse track across the picture, a click splash and a few random drops.
    RandomSeed(5);
    for (int Frame = 0; Frame < 36; ++Frame) {
      Banner->Blob(40 + 8 * Frame, 150 - 2 * Frame, 0, Banner->TrackBlob());
      if (Frame == 6) Banner->Blob(120, 70, 1, Banner->ClickBlob());
      if (Frame % 9 == 0) Banner->Blob(-1, -1, 2, 500);
      QMetaObject::invokeMethod(Banner, "Tick", Qt::DirectConnection);
    }
    return Banner->Canvas().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--seconds") == 0)
    QTimer::singleShot(std::atoi(argv[2]) * 1000, &App, &QApplication::quit);
  Window.show();
  return App.exec();
}
