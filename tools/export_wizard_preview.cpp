// Opens the export wizard for a small sample list in a real window, to look at
// it and step through its pages (no display: xvfb-run -a).
#include <QApplication>

#include "core/listdb.h"
#include "dialogs/frmExportTuneup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vornik"));
  TListDBData data;
  for (const char* name : {"Business", "Personal", "Travel"}) data.Categories().Add(name);
  ExecuteExportWizard(nullptr, &data);
  return 0;
}
