// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MessageBox.h"

#include <utility>

#include <QMessageBox>

#include "decree/WindowTexts.h"

namespace {

MessageBoxFunction& Replacement() {
  static MessageBoxFunction Function;
  return Function;
}

}  // namespace

void ShowMessageBox(QWidget* Parent, MessageKind Kind, const QString& Text) {
  if (Replacement()) {
    Replacement()(Parent, Kind, Text);
    return;
  }
  QMessageBox Box(Kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                  QString::fromUtf8(WindowTexts::ApplicationTitle), Text, QMessageBox::Ok, Parent);
  Box.exec();
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction Function) {
  return std::exchange(Replacement(), std::move(Function));
}
