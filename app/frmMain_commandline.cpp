// The main window's list named on the command line.
#include <QFileInfo>

#include "app/frmMain.h"
#include "platform/ErrorBox.h"

void TMainListDBForm::OpenCommandLineFile(const QString& path) {
  // As Open does once its dialog has named the file: the same checks, error
  // box and recent files. The path is made absolute as the dialog's is.
  const QString absolute = QFileInfo(path).absoluteFilePath();
  RunGuarded(this, [this, absolute] {
    QuerySaveChanges();
    CloseDocument();
    OpenListFile(absolute);
  });
}
