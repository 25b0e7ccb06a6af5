// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts (standard buttons, the print dialog, context menus) in
// Persian, whatever the system language: Qt's Persian translation, then the
// program's own for what that leaves in English.
#pragma once

#include <QString>

class QCoreApplication;

// Where Qt's translation (qtbase_fa.qm) and the program's own are looked for.
struct TranslationFiles {
  QString QtFolder;  // normally QLibraryInfo::path(QLibraryInfo::TranslationsPath)
  QString Own;       // normally the copy compiled into the program
};

TranslationFiles DefaultTranslationFiles();

// Installs on App whichever of the two can be loaded, before any widget
// exists; a missing file leaves those texts in English, silently. Returns
// how many were installed.
int InstallTranslations(QCoreApplication& App, const TranslationFiles& Files = DefaultTranslationFiles());
