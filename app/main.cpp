// The program entry: the application object, the main window, the event loop.
#include <QApplication>

#include "app/frmMain.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vornik");
  // Lets the desktop match the window to its menu entry, and so to its icon.
  QApplication::setDesktopFileName(VORNIK_APP_ID);
  TMainListDBForm form;
  form.show();
  return app.exec();
}
