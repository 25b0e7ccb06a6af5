// SPDX-License-Identifier: GPL-3.0-or-later
// The texts only the web page shows, UTF-8. Everything else the page says
// comes from the window's tables (decree/WindowTexts.h, decree/PanelLayout.h)
// and the cores' messages.
#pragma once

namespace WebTexts {

// The one button of a message box, as Qt's Persian translation words it.
inline constexpr const char* OkButton = "تأیید";

// The browser keeps the base figures instead of info.ini. When it refuses to
// (storage switched off, a private window that allows none, a full store),
// the decree is computed all the same.
inline constexpr const char* StorageUnavailable =
    "این مرورگر اجازه نگهداری اطلاعات را نمی دهد؛ اطلاعات پایه سال جدید برای دفعه بعد نگهداری نمی شود";
inline constexpr const char* StorageWriteFailed = "اطلاعات پایه سال جدید در این مرورگر ذخیره نشد";

}  // namespace WebTexts
