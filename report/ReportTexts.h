// SPDX-License-Identifier: GPL-3.0-or-later
// What a failed print job tells the user, UTF-8.
#pragma once

namespace ReportTexts {

inline constexpr const char* NoPrinter = "چاپگری برای چاپ وجود ندارد";
inline constexpr const char* PrintNotStarted = "چاپ آغاز نشد";
inline constexpr const char* PrintFailed = "چاپ به پایان نرسید";

}  // namespace ReportTexts
