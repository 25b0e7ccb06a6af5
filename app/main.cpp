// SPDX-License-Identifier: GPL-3.0-or-later
#include <csignal>

#include <QApplication>
#include <QIcon>

#include "app/Look.h"
#include "app/Translations.h"
#include "app/Unit1.h"
#include "decree/WindowTexts.h"

int main(int argc, char* argv[]) {
  // Under a file-size limit the kernel would kill the program mid-save; ignored,
  // the write fails and the user reads "Stream write error" instead.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication App(argc, argv);
  // Persian whatever LANG says, before the first widget reads a Qt text.
  InstallTranslations(App);
  QApplication::setApplicationName(QString::fromUtf8(WindowTexts::ApplicationTitle));
  // Ties the window to its menu entry on Wayland, where the window class is not used.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.SalaryDecree"));
  QIcon Icon;
  Icon.addFile(QStringLiteral(":/icon/48.png"));
  Icon.addFile(QStringLiteral(":/icon/128.png"));
  QApplication::setWindowIcon(Icon);
  QApplication::setLayoutDirection(Qt::RightToLeft);
  ApplyLook(App);
  TForm1 Window;
  Form1 = &Window;
  Window.show();
  return App.exec();
}
