// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Installed translators live as long as the application.
bool Install(QCoreApplication& App, const QString& File, const QString& Folder = {}) {
  auto* Translator = new QTranslator(&App);
  if (!Translator->load(File, Folder) || !QCoreApplication::installTranslator(Translator)) {
    delete Translator;
    return false;
  }
  return true;
}

}  // namespace

TranslationFiles DefaultTranslationFiles() {
  return {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral(":/translations/salary-decree_fa.qm")};
}

int InstallTranslations(QCoreApplication& App, const TranslationFiles& Files) {
  // A resource of a static library needs its initialiser called by name. The
  // build leaves the resource out when lrelease is missing.
#ifdef DECREE_HAS_OWN_TRANSLATION
  Q_INIT_RESOURCE(Translations);
#endif
  int Installed = 0;
  if (Install(App, QStringLiteral("qtbase_fa"), Files.QtFolder)) ++Installed;
  // Translators are searched newest first: the program's own wins where both have a text.
  if (Install(App, Files.Own)) ++Installed;
  return Installed;
}
