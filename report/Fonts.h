// SPDX-License-Identifier: GPL-3.0-or-later
// The program's faces, shared by the window and the report on screen and paper.
#pragma once

#include <QFont>
#include <QStringList>

// Tahoma where installed, else a Persian-capable face, at a pixel height.
QFont WindowFont(int PixelSize);

// The report's face: WindowFont at 16 px.
QFont ReportFont();
