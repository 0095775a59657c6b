// Test entry for the suites that drive Qt widgets: one QApplication for the
// whole run, on the offscreen platform unless the caller chose another, and
// settings kept in memory so that no test reads or writes the user's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include "platform/RegFileStore.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vornik");
  QStandardPaths::setTestModeEnabled(true);
  TMemorySettingsStore settings;
  SetSettingsStore(&settings);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
