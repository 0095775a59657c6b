// The program entry: the command line, the application object, the main
// window, the event loop.
#include <QApplication>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <functional>

#include "app/CommandLine.h"
#include "app/frmMain.h"

int main(int argc, char** argv) {
  if (const std::optional<int> status = RunPrintingOptions(argc, argv)) return *status;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vornik");
  // Lets the desktop match the window to its menu entry, and so to its icon.
  QApplication::setDesktopFileName(VORNIK_APP_ID);
  // The toolkit has taken its own options out of the arguments by now.
  const TProgramArguments arguments = ParseProgramArguments(QApplication::arguments().mid(1));
  if (arguments.wrong) std::fputs(kProgramUsage, stderr);
  TMainListDBForm form;
  form.show();
  if (!arguments.file.isEmpty()) {
    // Once the window is on the screen where the desktop placed it, so that
    // an error box opens centred on it.
    std::function<void()> openWhenShown = [&] {
      if (form.windowHandle() && form.windowHandle()->isExposed())
        form.OpenCommandLineFile(arguments.file);
      else
        QTimer::singleShot(20, &form, openWhenShown);
    };
    QTimer::singleShot(0, &form, openWhenShown);
  }
  return app.exec();
}
