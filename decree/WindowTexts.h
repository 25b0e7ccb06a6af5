// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own texts, UTF-8: its title and caption, the print job and
// its messages. The controls' captions, hints and screen-reader texts are the
// layout table's (decree/PanelLayout.cpp), the inputs' messages and the
// insurance items the catalogue's (decree/DecreeCatalogue.h).
#pragma once

// The caption's author and telephone and the banner's web page are build
// settings (cmake/Author.cmake); a build without them shows nothing there.
#ifndef DECREE_AUTHOR_NAME
#define DECREE_AUTHOR_NAME ""
#endif
#ifndef DECREE_AUTHOR_PHONE
#define DECREE_AUTHOR_PHONE ""
#endif
#ifndef DECREE_WEB_ADDRESS
#define DECREE_WEB_ADDRESS ""
#endif

namespace WindowTexts {

extern const char ApplicationTitle[];
extern const char CaptionStart[];
extern const char CaptionSeparator[];
extern const char CaptionEnd[];
extern const char PrintJobName[];
extern const char NothingToPrint[];

// The last resort of the error box; the other error texts come from the
// decree and storage cores and the report's print job.
extern const char UnknownError[];

}  // namespace WindowTexts
