// SPDX-License-Identifier: GPL-3.0-or-later
// The texts only the web page shows, UTF-8. Everything else the page says
// comes from the window's tables (decree/WindowTexts.h, decree/PanelLayout.h)
// and the cores' messages.
#pragma once

namespace WebTexts {

// The one button of a message box, as Qt's Persian translation words it.
inline constexpr const char* OkButton = "تأیید";

}  // namespace WebTexts
