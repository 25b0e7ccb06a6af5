// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own look: the Fusion style under a style sheet compiled into
// the program. Applied to the whole application before the window is created,
// so that message boxes and tooltips wear it too.
#pragma once

#include <QString>

#include "report/Fonts.h"

class QApplication;

void ApplyLook(QApplication& App);

// The style sheet text of the look (empty if the resource is missing).
QString LookStyleSheet();
