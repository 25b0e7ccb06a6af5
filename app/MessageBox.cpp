// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include <utility>

#include <QMessageBox>

#include "Texts.h"

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
                  QString::fromUtf8(Texts::ApplicationTitle), Text, QMessageBox::Ok, Parent);
  Box.exec();
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction Function) {
  return std::exchange(Replacement(), std::move(Function));
}
