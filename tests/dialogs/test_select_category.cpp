#include <gtest/gtest.h>

#include <QPushButton>

#include "core/listdb.h"
#include "dialog_test_util.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmSelectCategory.h"
#include "platform/ScriptedPrompts.h"

namespace {

TEST(SelectCategory, OpensOnTheGivenCategorySelectedSoOkWorksAtOnce) {
  TListDBData doc;
  AddCategories(doc, {"Work", "Home"});
  TSelCategoryDialog dlg(nullptr);
  dlg.LoadCategories(&doc);
  dlg.SelectCategory(-1);  // an id no entry carries: the first entry
  dlg.show();
  dlg.ListBox->setFocus();
  ASSERT_EQ(dlg.ListBox->count(), 3);
  EXPECT_EQ(dlg.ListBox->item(0)->text(), "Unfiled");
  ASSERT_NE(dlg.ListBox->SelectedItem(), nullptr);
  EXPECT_EQ(dlg.ListBox->SelectedItem()->text(), "Unfiled");
  EXPECT_EQ(dlg.ListBox->currentRow(), 0);
  EXPECT_TRUE(dlg.OKBtn->isEnabled());

  dlg.SelectCategory(2);
  EXPECT_EQ(dlg.ListBox->SelectedItem()->text(), "Home");
  EXPECT_EQ(dlg.ListBox->currentRow(), 2);
  QTest::keyClick(dlg.ListBox, Qt::Key_Up);
  int32_t id = -5;
  ASSERT_TRUE(dlg.SelectedID(id));
  EXPECT_EQ(id, 1);
  QTest::keyClick(dlg.ListBox, Qt::Key_Return);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.size(), QSize(180, 247));
  EXPECT_EQ(dlg.windowTitle(), "Category");
}

TEST(SelectCategory, ExecuteReturnsTheChosenIdOrLeavesTheIndex) {
  TScriptedPrompts prompts;
  TListDBData doc;
  AddCategories(doc, {"A", "B", "C"});
  doc.Categories().Delete(2);  // ids 0, 1, 3
  prompts.AnswerDialog([](QDialog* dialog) {
    auto* dlg = dynamic_cast<TSelCategoryDialog*>(dialog);
    dlg->ListBox->setCurrentRow(2);
    return TModalResult::OK;
  });
  int32_t index = 0;
  EXPECT_TRUE(ExecuteSelCategoryDialog(nullptr, &doc, index));
  EXPECT_EQ(index, 3);

  prompts.AnswerDialog([](QDialog* dialog) {
    dynamic_cast<TSelCategoryDialog*>(dialog)->ListBox->setCurrentRow(1);
    return TModalResult::Cancel;
  });
  EXPECT_FALSE(ExecuteSelCategoryDialog(nullptr, &doc, index));
  EXPECT_EQ(index, 3);
}

TEST(SelectCategory, WithoutADocumentOnlyCancelCanClose) {
  TScriptedPrompts prompts;
  int listed = -1;
  bool okEnabled = true;
  prompts.AnswerDialog([&](QDialog* dialog) {
    auto* dlg = dynamic_cast<TSelCategoryDialog*>(dialog);
    dlg->FormShow();
    listed = dlg->ListBox->count();
    okEnabled = dlg->OKBtn->isEnabled();
    return TModalResult::OK;  // even a forced OK gives no id
  });
  int32_t index = 7;
  EXPECT_FALSE(ExecuteSelCategoryDialog(nullptr, nullptr, index));
  EXPECT_EQ(listed, 0);
  EXPECT_FALSE(okEnabled);
  EXPECT_EQ(index, 7);
}

TEST(SelectCategory, RealModalExecChoosingWithEnterAtOnce) {
  TListDBData doc;
  AddCategories(doc, {"Work"});
  int32_t index = 5;
  bool listFocused = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<TSelCategoryDialog*>(QApplication::activeModalWidget());
    if (!dlg) return;
    listFocused = dlg->focusWidget() == dlg->ListBox;
    QTest::keyClick(dlg->ListBox, Qt::Key_Return);  // the first entry is chosen already
  });
  EXPECT_TRUE(ExecuteSelCategoryDialog(nullptr, &doc, index));
  EXPECT_TRUE(listFocused);
  EXPECT_EQ(index, 0);

  QTimer::singleShot(0, [] {
    if (QWidget* dlg = QApplication::activeModalWidget()) dlg->close();
  });
  EXPECT_FALSE(ExecuteSelCategoryDialog(nullptr, &doc, index));
  EXPECT_EQ(index, 0);
}

}  // namespace
