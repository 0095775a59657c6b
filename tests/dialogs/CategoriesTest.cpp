#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "DialogTestUtil.h"
#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmEditCategories.h"
#include "dialogs/frmStringEdit.h"
#include "platform/ActionList.h"
#include "platform/ScriptedPrompts.h"

namespace {

// Answers the next name entry dialog with text typed into its edit.
void AnswerName(TScriptedPrompts& prompts, const QString& text,
                TModalResult result = TModalResult::OK) {
  prompts.AnswerDialog([text, result](QDialog* dialog) {
    auto* entry = dynamic_cast<TStringDialog*>(dialog);
    if (!entry) return TModalResult::Cancel;
    entry->Edit1->setText(text);
    return result;
  });
}

TEST(StringDialog, OkNeedsANameBeyondBlanksAndTypingStopsAtSixteen) {
  TStringDialog dlg(nullptr);
  dlg.FormShow();
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  dlg.Edit1->setText(" \t ");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  dlg.Edit1->setText(" x ");
  EXPECT_TRUE(dlg.OKBtn->isEnabled());
  dlg.Edit1->clear();
  TypeText(dlg.Edit1, "abcdefghijklmnopqrs");
  EXPECT_EQ(dlg.Edit1->text(), "abcdefghijklmnop");
  EXPECT_EQ(dlg.size(), QSize(201, 91));
}

TEST(StringDialog, ExecuteTrimsOnOkAndLeavesTheTextOnCancel) {
  TScriptedPrompts prompts;
  std::string text = "old";
  AnswerName(prompts, "  Work\t ");
  EXPECT_TRUE(ExecuteStringDialog(nullptr, "New category", text));
  EXPECT_EQ(text, "Work");
  ASSERT_EQ(prompts.Questions().size(), 1u);
  EXPECT_EQ(prompts.Questions()[0].text, "New category");

  AnswerName(prompts, "other", TModalResult::Cancel);
  EXPECT_FALSE(ExecuteStringDialog(nullptr, "Rename category", text));
  EXPECT_EQ(text, "Work");
}

TEST(StringDialog, RealModalExecShowsTheTextAndReturnsTheEntry) {
  std::string text = "Home";
  QString shown;
  bool okEnabled = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<TStringDialog*>(QApplication::activeModalWidget());
    if (!dlg) return;
    shown = dlg->Edit1->text();
    dlg->Edit1->setText(" Garden ");
    okEnabled = dlg->OKBtn->isEnabled();
    dlg->OKBtn->click();
  });
  ASSERT_TRUE(ExecuteStringDialog(nullptr, "Rename category", text));
  EXPECT_EQ(shown, "Home");
  EXPECT_TRUE(okEnabled);
  EXPECT_EQ(text, "Garden");
}

struct CategoriesDialog : ::testing::Test {
  TScriptedPrompts prompts;
  TListDBData doc;
  TCategoriesListDialog dlg{nullptr};

  void Load() {
    dlg.LoadCategories(doc);
    dlg.ActionList1->UpdateAll();
  }
  QStringList Listed() const {
    QStringList names;
    for (int i = 0; i < dlg.ListBox->count(); ++i) names << dlg.ListBox->item(i)->text();
    return names;
  }
  void Select(int row) {
    dlg.ListBox->setCurrentRow(row);
    dlg.ActionList1->UpdateAll();
  }
  void AddNamed(const QString& name) {
    AnswerName(prompts, name);
    dlg.Button1->click();
    dlg.ActionList1->UpdateAll();
  }
};

TEST_F(CategoriesDialog, OnlyUnfiledListsNothingAndOffersOnlyNew) {
  Load();
  EXPECT_EQ(dlg.ListBox->count(), 0);
  EXPECT_TRUE(dlg.Button1->isEnabled());
  EXPECT_FALSE(dlg.Button2->isEnabled());
  EXPECT_FALSE(dlg.Button3->isEnabled());
  EXPECT_EQ(dlg.IDLabel->text(), "");
  EXPECT_FALSE(dlg.IDLabel->isEnabled());
  EXPECT_EQ(dlg.OKBtn->text(), "&Cancel");
  EXPECT_EQ(dlg.Button1->text(), "&New");
  EXPECT_EQ(dlg.Button2->text(), "&Delete");
  EXPECT_EQ(dlg.Button3->text(), "&Rename");
  EXPECT_EQ(dlg.windowTitle(), "Categories");
  EXPECT_EQ(dlg.size(), QSize(223, 230));
}

TEST_F(CategoriesDialog, ListsSortedIgnoringCaseAndInsertsAtTheSortedPlace) {
  AddCategories(doc, {"delta", "Bravo", "alpha"});
  Load();
  EXPECT_EQ(Listed(), QStringList({"alpha", "Bravo", "delta"}));
  AddNamed("  Charlie ");
  EXPECT_EQ(Listed(), QStringList({"alpha", "Bravo", "Charlie", "delta"}));
  EXPECT_EQ(dlg.ListBox->SelectedItem()->text(), "Charlie");
  EXPECT_EQ(doc.Categories().NameOf(4), "Charlie");  // stored trimmed
  EXPECT_EQ(dlg.IDLabel->text(), "id: 4");
  EXPECT_EQ(dlg.OKBtn->text(), "&Close");
  EXPECT_TRUE(dlg.Modified());
}

TEST_F(CategoriesDialog, NewIsOfferedUpToFourteenListedAndTheCountRefusalChangesNothing) {
  for (int i = 1; i <= 14; ++i) doc.Categories().Add("C" + std::to_string(i));
  Load();
  ASSERT_EQ(dlg.ListBox->count(), 14);
  EXPECT_TRUE(dlg.Button1->isEnabled());
  const QStringList before = Listed();

  prompts.AnswerMessage(TModalResult::OK);
  AddNamed("Extra");
  ASSERT_EQ(prompts.Questions().size(), 2u);  // the name entry, then the error box
  EXPECT_EQ(prompts.Questions()[1].kind, TScriptedPrompts::Asked::Message);
  EXPECT_EQ(prompts.Questions()[1].text, "Count of categories can't be more than 15.");
  EXPECT_EQ(prompts.Questions()[1].icon, TMsgIcon::Error);
  EXPECT_EQ(Listed(), before);
  EXPECT_EQ(doc.Categories().Count(), 15);
  EXPECT_FALSE(dlg.Modified());
  EXPECT_EQ(dlg.OKBtn->text(), "&Cancel");
}

TEST_F(CategoriesDialog, FifteenListedFromAFileDisableNew) {
  for (int i = 1; i <= 15; ++i) doc.Categories().AppendEntry("C" + std::to_string(i), i);
  Load();
  EXPECT_EQ(dlg.ListBox->count(), 15);
  EXPECT_FALSE(dlg.Button1->isEnabled());
}

TEST_F(CategoriesDialog, NewIdIsOneMoreThanTheLargestLeft) {
  AddCategories(doc, {"A", "B", "C"});
  Load();
  Select(2);  // C, id 3
  ASSERT_EQ(dlg.IDLabel->text(), "id: 3");
  dlg.Button2->click();
  AddNamed("D");
  EXPECT_EQ(dlg.IDLabel->text(), "id: 3");

  TListDBData other;
  AddCategories(other, {"A", "B", "C"});
  TCategoriesListDialog second(nullptr);
  second.LoadCategories(other);
  second.ListBox->setCurrentRow(1);  // B, id 2
  second.ActionList1->UpdateAll();
  second.Button2->click();
  AnswerName(prompts, "D");
  second.Button1->click();
  second.ActionList1->UpdateAll();
  EXPECT_EQ(second.IDLabel->text(), "id: 4");
}

TEST_F(CategoriesDialog, RenameKeepsPositionIdAndSelection) {
  AddCategories(doc, {"apple", "banana", "cherry"});
  Load();
  Select(0);
  AnswerName(prompts, "zucchini");
  dlg.Button3->click();
  dlg.ActionList1->UpdateAll();
  EXPECT_EQ(Listed(), QStringList({"zucchini", "banana", "cherry"}));
  EXPECT_EQ(dlg.ListBox->SelectedItem(), dlg.ListBox->item(0));
  EXPECT_EQ(dlg.IDLabel->text(), "id: 1");
  EXPECT_EQ(doc.Categories().NameOf(1), "zucchini");
  EXPECT_EQ(dlg.OKBtn->text(), "&Close");
}

TEST_F(CategoriesDialog, RenameRefusalShowsTheErrorAndLeavesTheList) {
  AddCategories(doc, {"apple", "banana"});
  Load();
  Select(0);
  prompts.AnswerMessage(TModalResult::OK);
  AnswerName(prompts, "banana");
  dlg.Button3->click();
  dlg.ActionList1->UpdateAll();
  ASSERT_EQ(prompts.Questions().size(), 2u);
  EXPECT_EQ(prompts.Questions()[1].text, "Category \"banana\" already exists.");
  EXPECT_EQ(Listed(), QStringList({"apple", "banana"}));
  EXPECT_FALSE(dlg.Modified());
}

TEST_F(CategoriesDialog, DeleteLeavesNoSelectionAndFreesTheRecords) {
  AddCategories(doc, {"A", "B", "C"});
  TListRecord* rec = doc.AddRecord();
  rec->SetCategoryID(2);
  Load();
  Select(1);
  dlg.Button2->click();
  dlg.ActionList1->UpdateAll();
  EXPECT_EQ(Listed(), QStringList({"A", "C"}));
  EXPECT_EQ(dlg.ListBox->SelectedItem(), nullptr);
  EXPECT_FALSE(dlg.Button2->isEnabled());
  EXPECT_FALSE(dlg.Button3->isEnabled());
  EXPECT_EQ(dlg.IDLabel->text(), "");
  EXPECT_EQ(rec->CategoryID(), -1);
  EXPECT_EQ(doc.Categories().IndexOfID(2), -1);
  EXPECT_EQ(dlg.OKBtn->text(), "&Close");
}

TEST_F(CategoriesDialog, DoubleClickRenamesTheSelectionOrOnlyBeeps) {
  AddCategories(doc, {"A"});
  Load();
  dlg.resize(223, 230);
  dlg.ListBox->ClearSelectionAndCurrent();
  dlg.ListBoxDblClick();
  EXPECT_EQ(prompts.Beeps(), 1);
  EXPECT_EQ(prompts.Questions().size(), 1u);

  Select(0);
  AnswerName(prompts, "B");
  const QRect row = dlg.ListBox->visualItemRect(dlg.ListBox->item(0));
  SendDoubleClick(dlg.ListBox->viewport(), row.center());
  EXPECT_EQ(prompts.Beeps(), 1);
  EXPECT_EQ(Listed(), QStringList({"B"}));
  EXPECT_EQ(prompts.Pending(), 0);
}

TEST_F(CategoriesDialog, EnterEscAndTheCloseCommandActAsTheCloseButton) {
  Load();
  dlg.show();
  SendKey(dlg.ListBox, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);

  dlg.show();
  AddNamed("New one");
  SendKey(dlg.ListBox, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  dlg.setResult(0);
  dlg.show();
  SendKey(dlg.ListBox, Qt::Key_Return);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  dlg.setResult(0);
  dlg.show();
  EXPECT_TRUE(dlg.close());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(CategoriesDialog, RealModalExecClosedByTheWindowAfterAChangeReportsOk) {
  AddCategories(doc, {"A", "B"});
  Load();
  SetPrompts(nullptr);  // the real dialogs: exec() runs
  const int result = ExecWhile(dlg, [this] {
    dlg.ListBox->setCurrentRow(0);
    dlg.ActionList1->UpdateAll();
    dlg.Button2->click();
    dlg.close();
  });
  SetPrompts(&prompts);
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(doc.Categories().Count(), 2);
}

}  // namespace
