// The program entry: the application object, the main window, the event loop.
#include <QApplication>

#include "app/frmMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vornik");
  TMainListDBForm form;
  form.show();
  return app.exec();
}
