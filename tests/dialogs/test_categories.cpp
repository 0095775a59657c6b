#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "dialog_test_util.h"
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

TEST(StringDialog, OkRuleTypingLimitAndTrimmedResult) {
  TStringDialog dlg(nullptr);
  dlg.FormShow();
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  dlg.Edit1->setText(" \t ");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  dlg.Edit1->clear();
  QTest::keyClicks(dlg.Edit1, "abcdefghijklmnopqrs");
  EXPECT_EQ(dlg.Edit1->text(), "abcdefghijklmnop");
  EXPECT_TRUE(dlg.OKBtn->isEnabled());

  TScriptedPrompts prompts;
  std::string text = "old";
  AnswerName(prompts, "  Work\t ");
  EXPECT_TRUE(ExecuteStringDialog(nullptr, "New category", text));
  EXPECT_EQ(text, "Work");
  EXPECT_EQ(prompts.Questions().at(0).text, "New category");
  AnswerName(prompts, "other", TModalResult::Cancel);
  EXPECT_FALSE(ExecuteStringDialog(nullptr, "Rename category", text));
  EXPECT_EQ(text, "Work");
}

struct CategoriesDialog : ::testing::Test {
  TScriptedPrompts prompts;
  TListDBData doc;
  TCategoriesListDialog dlg{nullptr};

  void Load() { dlg.LoadCategories(doc); }
  QStringList Listed() const {
    QStringList names;
    for (int i = 0; i < dlg.ListBox->count(); ++i) names << dlg.ListBox->item(i)->text();
    return names;
  }
  // Clicks a button, then lets the idle update run as after any input.
  void Click(QPushButton* button) {
    button->click();
    dlg.ActionList1->UpdateAll();
  }
  void Select(int row) {
    dlg.ListBox->setCurrentRow(row);
    dlg.ActionList1->UpdateAll();
  }
  void AddNamed(const QString& name) {
    AnswerName(prompts, name);
    Click(dlg.Button1);
  }
};

TEST_F(CategoriesDialog, OnlyUnfiledListsNothingAndOffersOnlyNew) {
  Load();
  EXPECT_EQ(dlg.ListBox->count(), 0);
  EXPECT_TRUE(dlg.Button1->isEnabled());
  EXPECT_FALSE(dlg.Button2->isEnabled());
  EXPECT_FALSE(dlg.Button3->isEnabled());
  EXPECT_EQ(dlg.IDLabel->text(), "");
  EXPECT_EQ(dlg.OKBtn->text(), "&Cancel");
}

TEST_F(CategoriesDialog, AddInsertsTrimmedAtTheSortedPlaceAndSelectsIt) {
  AddCategories(doc, {"delta", "Bravo", "alpha"});
  Load();
  EXPECT_EQ(Listed(), QStringList({"alpha", "Bravo", "delta"}));
  AddNamed("  Charlie ");
  EXPECT_EQ(Listed(), QStringList({"alpha", "Bravo", "Charlie", "delta"}));
  EXPECT_EQ(dlg.ListBox->SelectedItem()->text(), "Charlie");
  EXPECT_EQ(doc.Categories().NameOf(4), "Charlie");
  EXPECT_EQ(dlg.IDLabel->text(), "id: 4");
  EXPECT_EQ(dlg.OKBtn->text(), "&Close");
}

TEST_F(CategoriesDialog, NewIsOfferedUpToFourteenListedAndTheCountRefusalChangesNothing) {
  for (int i = 1; i <= 14; ++i) doc.Categories().Add("C" + std::to_string(i));
  Load();
  EXPECT_TRUE(dlg.Button1->isEnabled());
  const QStringList before = Listed();
  prompts.AnswerMessage(TModalResult::OK);
  AddNamed("Extra");
  ASSERT_EQ(prompts.Questions().size(), 2u);  // the name entry, then the error box
  EXPECT_EQ(prompts.Questions()[1].text, "Count of categories can't be more than 15.");
  EXPECT_EQ(prompts.Questions()[1].icon, TMsgIcon::Error);
  EXPECT_EQ(Listed(), before);
  EXPECT_FALSE(dlg.Modified());
  EXPECT_EQ(dlg.OKBtn->text(), "&Cancel");

  // Fifteen listed, as a file may hold: New is disabled.
  doc.Categories().AppendEntry("C15", 15);
  Load();
  dlg.ActionList1->UpdateAll();
  EXPECT_FALSE(dlg.Button1->isEnabled());
}

TEST_F(CategoriesDialog, NewIdIsOneMoreThanTheLargestLeft) {
  for (const auto& [row, expected] : {std::pair{2, "id: 3"}, std::pair{1, "id: 4"}}) {
    TListDBData other;
    AddCategories(other, {"A", "B", "C"});
    dlg.LoadCategories(other);
    Select(row);
    Click(dlg.Button2);
    AddNamed("D");
    EXPECT_EQ(dlg.IDLabel->text(), expected) << "after deleting row " << row;
  }
}

TEST_F(CategoriesDialog, RenameInPlaceAndItsRefusal) {
  AddCategories(doc, {"apple", "banana", "cherry"});
  Load();
  Select(0);
  AnswerName(prompts, "zucchini");
  Click(dlg.Button3);
  EXPECT_EQ(Listed(), QStringList({"zucchini", "banana", "cherry"}));
  EXPECT_EQ(dlg.ListBox->SelectedItem(), dlg.ListBox->item(0));
  EXPECT_EQ(dlg.IDLabel->text(), "id: 1");
  EXPECT_EQ(doc.Categories().NameOf(1), "zucchini");

  TCategoriesListDialog second(nullptr);
  second.LoadCategories(doc);
  second.ListBox->setCurrentRow(0);  // banana
  second.ActionList1->UpdateAll();
  prompts.AnswerMessage(TModalResult::OK);
  AnswerName(prompts, "cherry");
  second.Button3->click();
  EXPECT_EQ(prompts.Questions().back().text, "Category \"cherry\" already exists.");
  EXPECT_EQ(second.ListBox->item(0)->text(), "banana");
  EXPECT_FALSE(second.Modified());
}

TEST_F(CategoriesDialog, DeleteLeavesNoSelectionAndFreesTheRecords) {
  AddCategories(doc, {"A", "B", "C"});
  TListRecord* rec = doc.AddRecord();
  rec->SetCategoryID(2);
  Load();
  Select(1);
  Click(dlg.Button2);
  EXPECT_EQ(Listed(), QStringList({"A", "C"}));
  EXPECT_EQ(dlg.ListBox->SelectedItem(), nullptr);
  EXPECT_FALSE(dlg.Button2->isEnabled());
  EXPECT_FALSE(dlg.Button3->isEnabled());
  EXPECT_EQ(dlg.IDLabel->text(), "");
  EXPECT_EQ(rec->CategoryID(), -1);
  EXPECT_EQ(dlg.OKBtn->text(), "&Close");
}

TEST_F(CategoriesDialog, DoubleClickRenamesTheSelectionOrOnlyBeeps) {
  AddCategories(doc, {"A"});
  Load();
  dlg.ListBoxDblClick();
  EXPECT_EQ(prompts.Beeps(), 1);
  EXPECT_EQ(prompts.Questions().size(), 1u);

  Select(0);
  AnswerName(prompts, "B");
  const QRect row = dlg.ListBox->visualItemRect(dlg.ListBox->item(0));
  QTest::mouseDClick(dlg.ListBox->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
  EXPECT_EQ(prompts.Beeps(), 1);
  EXPECT_EQ(Listed(), QStringList({"B"}));
}

TEST_F(CategoriesDialog, EnterEscAndTheCloseCommandActAsTheCloseButton) {
  Load();
  dlg.show();
  QTest::keyClick(dlg.ListBox, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);

  dlg.show();
  AddNamed("New one");
  QTest::keyClick(dlg.ListBox, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  for (const auto& close :
       {std::function<void()>([&] { QTest::keyClick(dlg.ListBox, Qt::Key_Return); }),
        std::function<void()>([&] { dlg.close(); })}) {
    dlg.setResult(0);
    dlg.show();
    close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
  }
}

TEST_F(CategoriesDialog, RealModalExecClosedByTheWindowAfterAChangeReportsOk) {
  AddCategories(doc, {"A", "B"});
  Load();
  SetPrompts(nullptr);  // the real dialogs: exec() runs
  const int result = ExecWhile(dlg, [this] {
    Select(0);
    dlg.Button2->click();
    dlg.close();
  });
  SetPrompts(&prompts);
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(doc.Categories().Count(), 2);
}

// A reader announces each entry that becomes current; tabbing into the list
// with nothing selected announces none, so Rename and Delete, which act on
// the selection, are not offered for an entry that was only announced.
TEST_F(CategoriesDialog, TabbingIntoAListWithNothingSelectedAnnouncesNoEntry) {
  AddCategories(doc, {"Home", "Work"});
  Load();
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
  int currentChanges = 0;
  QObject::connect(dlg.ListBox->selectionModel(), &QItemSelectionModel::currentChanged,
                   [&] { ++currentChanges; });
  dlg.OKBtn->setFocus();
  QTest::keyClick(dlg.OKBtn, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), dlg.ListBox);
  EXPECT_EQ(currentChanges, 0);
  EXPECT_FALSE(dlg.ListBox->currentIndex().isValid());
  // The first arrow key selects, and announces, the first entry.
  QTest::keyClick(dlg.ListBox, Qt::Key_Down);
  dlg.ActionList1->UpdateAll();
  EXPECT_EQ(dlg.ListBox->SelectedItem()->text(), "Home");
  EXPECT_TRUE(dlg.Button3->isEnabled());
}

}  // namespace
