// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/Text.h"

std::string TrimControl(std::string_view Text) {
  std::size_t First = 0, Last = Text.size();
  while (First < Last && static_cast<unsigned char>(Text[First]) <= 0x20) ++First;
  while (Last > First && static_cast<unsigned char>(Text[Last - 1]) <= 0x20) --Last;
  return std::string(Text.substr(First, Last - First));
}
