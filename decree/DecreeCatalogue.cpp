// SPDX-License-Identifier: GPL-3.0-or-later
#include "decree/DecreeCatalogue.h"

#include "storage/Text.h"

std::string WithoutColon(std::string_view Caption) {
  std::string Text = TrimControl(Caption);
  if (!Text.empty() && Text.back() == ':') Text = TrimControl(std::string_view(Text).substr(0, Text.size() - 1));
  return Text;
}
