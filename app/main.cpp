#include <QApplication>

#include "Look.h"
#include "Texts.h"
#include "Unit1.h"

int main(int argc, char* argv[]) {
  QApplication App(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(Texts::ApplicationTitle));
  QApplication::setLayoutDirection(Qt::RightToLeft);
  ApplyLook(App);
  TForm1 Window;
  Form1 = &Window;
  Window.show();
  return App.exec();
}
