// End to end: the real modal dialogs and message boxes, answered by a timer
// that finds the active modal window and works its controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/frmMain.h"
#include "components/RecordsListView.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmCustomizeDB.h"
#include "platform/ActionList.h"

namespace {

// Runs handler on the first modal window that appears (polled every 20 ms,
// for at most 5 s so a test never hangs).
void WhenModal(std::function<void(QWidget*)> handler) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, handler] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      handler(modal);
    } else if (++*tries > 250) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal window appeared";
    }
  });
  timer->start(20);
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
  ExecuteAction(*form.findChild<TActionList*>(), form.findChild<QAction*>("ExportFileAction"));
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
