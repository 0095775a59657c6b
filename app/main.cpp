// The program entry: the command line, the application object, the main
// window, the event loop.
#include <QApplication>
#include <cstdio>

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
  if (!arguments.file.isEmpty()) form.OpenCommandLineFileOnceShown(arguments.file);
  return app.exec();
}
