// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Look.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>

// A resource in a static library is dropped by the linker unless something
// refers to its initialiser.
static void InitLookResource() { Q_INIT_RESOURCE(Look); }

QString LookStyleSheet() {
  InitLookResource();
  QFile File(QStringLiteral(":/look/Look.qss"));
  if (!File.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(File.readAll());
}

void ApplyLook(QApplication& App) {
  App.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  App.setStyleSheet(LookStyleSheet());
}
