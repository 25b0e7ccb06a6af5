// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/Fonts.h"

namespace {

constexpr int ReportPixelSize = 16;

}  // namespace

QFont WindowFont(int PixelSize) {
  QFont Font;
  // Tahoma is not shipped on Linux; Noto Sans Arabic UI has the compact line
  // height the fixed layout was drawn for, Noto Sans Arabic is its taller cousin.
  Font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic UI"), QStringLiteral("Noto Sans Arabic"),
                    QStringLiteral("DejaVu Sans")});
  Font.setPixelSize(PixelSize);
  return Font;
}

QFont ReportFont() { return WindowFont(ReportPixelSize); }
