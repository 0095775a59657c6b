// End to end: the real modal dialogs and message boxes, answered by a timer
// that finds the active modal window and works its controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/frmMain.h"
#include "components/RecordsListView.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmCustomizeDB.h"
#include "platform/ActionList.h"

namespace {

// Runs handler on the first modal window that appears, waiting at most 5 s
// so a test never hangs.
void WhenModal(std::function<void(QWidget*)> handler) {
  QTimer::singleShot(0, [handler] {
    QWidget* modal = nullptr;
    if (!QTest::qWaitFor(
            [&] {
              modal = QApplication::activeModalWidget();
              return modal && modal->isVisible();
            },
            5000)) {
      ADD_FAILURE() << "no modal window appeared";
      return;
    }
    handler(modal);
  });
}

}  // namespace

TEST(MainFormModal, CreateThroughTheRealDialogAndMessageBox) {
  TMainListDBForm form;
  form.show();

  QString proposed;
  WhenModal([&](QWidget* w) {
    auto* dlg = qobject_cast<TCustomizeDBDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), "List Properties");
    proposed = dlg->ListNameEdit->text();
    dlg->ListNameEdit->setText("Real");
    dlg->OKBtn->click();
  });
  ASSERT_TRUE(
      ExecuteAction(*form.findChild<TActionList*>(), form.findChild<QAction*>("NewFileAction")));
  ASSERT_NE(form.Document(), nullptr);
  EXPECT_TRUE(proposed.startsWith("New List "));
  EXPECT_EQ(form.Document()->DatabaseName(), "Real");

  // The not-yet-ready message, titled with the application's name.
  QString text, title;
  WhenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    text = box->text();
    title = box->windowTitle();
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    box->button(QMessageBox::Ok)->click();
  });
  ExecuteAction(*form.findChild<TActionList*>(), form.findChild<QAction*>("SendToPalmSyncAction"));
  EXPECT_EQ(text, "Sorry, but this function not yet ready...");
  EXPECT_EQ(title, "Vornik");

  // Closing asks to save; No lets the window close.
  WhenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    text = box->text();
    box->button(QMessageBox::No)->click();
  });
  form.close();
  EXPECT_EQ(text, "Save changes to database \"Real\"");
  EXPECT_FALSE(form.isVisible());
}
