// SPDX-License-Identifier: GPL-3.0-or-later
// Every message box of the program goes through ShowMessageBox, so that a test
// can put its own function in place and read the text instead of blocking.
#pragma once

#include <functional>

#include <QString>

class QWidget;

enum class MessageKind {
  Standard,  // the text and one OK button
  Error,     // the same with the error icon
};

using MessageBoxFunction = std::function<void(QWidget* Parent, MessageKind Kind, const QString& Text)>;

// Modal, titled with the application title. Runs the replacement when one is set.
void ShowMessageBox(QWidget* Parent, MessageKind Kind, const QString& Text);

// Puts Function in place (an empty one restores the real box); returns the previous one.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction Function);
