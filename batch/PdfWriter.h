// SPDX-License-Identifier: GPL-3.0-or-later
// --pdf: every row's report as the window prints it, one PDF document, each
// decree from a new page with its identification columns on top. The only
// part of the batch program that uses Qt: it starts a QGuiApplication on the
// offscreen platform when it is made, so no display is needed.
#pragma once

#include <memory>
#include <string>

#include "batch/Writers.h"
#include "decree/NumberFormat.h"

std::unique_ptr<RowWriter> MakePdfWriter(const std::string& Path, const NumberFormat& Format);
