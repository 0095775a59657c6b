#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include "components/DelayedProgressDialog.h"

TEST(DelayedProgressDialog, QuickWorkShowsNothing) {
  QWidget owner;
  TDelayedProgressDialog progress(&owner, "Printing...", "PrintProgressDialog", 100);
  for (int i = 0; i <= 100; ++i) ASSERT_TRUE(progress.Step(i));
  EXPECT_FALSE(progress.Dialog().isVisible());
}

TEST(DelayedProgressDialog, SlowWorkShowsItsProgressAndCancelStopsIt) {
  QWidget owner;
  owner.show();
  TDelayedProgressDialog progress(&owner, "Exporting...", "ExportProgressDialog", 10, 20);
  ASSERT_TRUE(progress.Step(0));
  EXPECT_FALSE(progress.Dialog().isVisible());
  QThread::msleep(30);
  // Shown past the delay even before anything is done (a first pass that
  // only measures), window-modal, with the owner's caption and Cancel.
  ASSERT_TRUE(progress.Step(0));
  QProgressDialog& dialog = progress.Dialog();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
  EXPECT_EQ(dialog.windowTitle(), QApplication::applicationName());
  EXPECT_EQ(dialog.objectName(), "ExportProgressDialog");
  EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Exporting...");
  QThread::msleep(TDelayedProgressDialog::kStepMs + 10);
  ASSERT_TRUE(progress.Step(25));  // beyond the end: shown as all done
  EXPECT_EQ(dialog.value(), 10);

  auto* cancel = dialog.findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text(), "Cancel");
  cancel->click();
  EXPECT_FALSE(progress.Step(10));
  progress.Close();
  EXPECT_FALSE(dialog.isVisible());
}
