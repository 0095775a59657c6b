// The main window's record list: category filter, rebuilds, sorting by header
// clicks, double-click and the hidden category keys.
#include "main_form_fixture.h"

namespace {

using Texts = std::vector<std::string>;

class MainFormListTest : public MainFormTest {
 protected:
  // Records in categories Work (id 1) and Home (id 2), one without a category.
  void OpenSample() {
    WriteListFile(Path("s.pdb"), "Sample", {"Work", "Home"},
                  {{"a", "9", "one\r\ntwo", 1},
                   {"b", "10", "", 2},
                   {"c", "8", "", 0},
                   {"d", "7", "", -1},
                   {"e", "11", "", 1}});
    OpenFile(Path("s.pdb"));
    ASSERT_NE(Doc(), nullptr);
  }
  std::vector<int> Marks() const {
    std::vector<int> marks;
    for (int c = 0; c < 4; ++c) marks.push_back(List()->Model()->HeaderImage(c));
    return marks;
  }
};

}  // namespace

TEST_F(MainFormListTest, EmptyDocumentListsAllAndUnfiled) {
  CreateList();
  EXPECT_EQ(List()->RowCount(), 0);
  ASSERT_EQ(Combo()->count(), 2);
  EXPECT_EQ(Combo()->itemText(0), "All");
  EXPECT_EQ(Combo()->itemText(1), "Unfiled");
  EXPECT_EQ(Combo()->currentIndex(), 0);
  EXPECT_EQ(Combo()->maxVisibleItems(), 16);
}

TEST_F(MainFormListTest, FilterByCategory) {
  OpenSample();
  EXPECT_EQ(RowTexts(), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(RowTexts(2)[0], "one two");
  EXPECT_EQ(RowTexts(3), (Texts{"Work", "Home", "Unfiled", "Unfiled", "Work"}));
  EXPECT_EQ(Panel(1), "5");

  PickCategory("Work");
  EXPECT_EQ(RowTexts(), (Texts{"a", "e"}));
  EXPECT_EQ(Panel(1), "2/5");

  // "Unfiled" lists the records without a category as well.
  PickCategory("Unfiled");
  EXPECT_EQ(RowTexts(), (Texts{"c", "d"}));
  EXPECT_EQ(Panel(1), "2/5");

  PickCategory("All");
  EXPECT_EQ(RowTexts(), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(Panel(1), "5");
}

TEST_F(MainFormListTest, ProgrammaticSelectionDoesNotRebuild) {
  OpenSample();
  Combo()->setCurrentIndex(2);  // not a user pick
  EXPECT_EQ(List()->RowCount(), 5);
}

TEST_F(MainFormListTest, RebuildKeepsOnlyTheFirstSelectedRecord) {
  OpenSample();
  SelectRows({0, 4});
  PickCategory("Work");
  ASSERT_EQ(RowTexts(), (Texts{"a", "e"}));
  EXPECT_EQ(List()->SelectedRows(), (std::vector<int>{0}));

  SelectRows({1});
  PickCategory("Home");
  EXPECT_EQ(List()->SelectedCount(), 0);
}

TEST_F(MainFormListTest, HeaderClicksSortAndMark) {
  OpenSample();
  ClickHeader(0);
  EXPECT_EQ(RowTexts(), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(Marks(), (std::vector<int>{1, -1, -1, -1}));
  ClickHeader(0);
  EXPECT_EQ(RowTexts(), (Texts{"e", "d", "c", "b", "a"}));
  EXPECT_EQ(Marks(), (std::vector<int>{2, -1, -1, -1}));
  ClickHeader(0);
  EXPECT_EQ(RowTexts(), (Texts{"a", "b", "c", "d", "e"}));
  EXPECT_EQ(Marks(), (std::vector<int>{1, -1, -1, -1}));

  // Another column starts ascending; numbers sort as text.
  ClickHeader(0);
  ClickHeader(1);
  EXPECT_EQ(RowTexts(1), (Texts{"10", "11", "7", "8", "9"}));
  EXPECT_EQ(Marks(), (std::vector<int>{-1, 1, -1, -1}));
  // The document's order is untouched.
  EXPECT_EQ(Doc()->GetRecord(0)->Field1(), "a");
}

TEST_F(MainFormListTest, DirectionIsRememberedAcrossARebuild) {
  OpenSample();
  ClickHeader(1);
  ClickHeader(1);  // descending
  PickCategory("Work");
  EXPECT_EQ(Marks(), (std::vector<int>{-1, -1, -1, -1}));
  EXPECT_EQ(RowTexts(), (Texts{"a", "e"}));  // document order again
  ClickHeader(1);
  EXPECT_TRUE(TMainListDBForm::SortAscending());
  EXPECT_EQ(RowTexts(1), (Texts{"11", "9"}));
  EXPECT_EQ(Marks(), (std::vector<int>{-1, 1, -1, -1}));
}

TEST_F(MainFormListTest, CtrlClickFitsColumnsOnly) {
  form->show();
  OpenSample();
  ClickHeader(0);
  ClickHeader(0);
  const Texts order = RowTexts();
  ClickHeader(2, true);
  EXPECT_EQ(RowTexts(), order);
  EXPECT_EQ(TMainListDBForm::SortColumn(), 0);
  EXPECT_FALSE(TMainListDBForm::SortAscending());
  EXPECT_EQ(Marks(), (std::vector<int>{2, -1, -1, -1}));
}

TEST_F(MainFormListTest, HiddenCategoryKeys) {
  Update();
  EXPECT_FALSE(Action("GotoNextCategory")->isEnabled());
  EXPECT_FALSE(Run("GotoAllCategory"));
  EXPECT_EQ(Action("GotoAllCategory")->shortcut(), QKeySequence("Ctrl+0"));
  EXPECT_EQ(Action("GotoPrevCategory")->shortcut(), QKeySequence("Ctrl+1"));
  EXPECT_EQ(Action("GotoNextCategory")->shortcut(), QKeySequence("Ctrl+2"));
  EXPECT_TRUE(form->actions().contains(Action("GotoNextCategory")));

  OpenSample();  // All, Unfiled, Work, Home
  ASSERT_TRUE(Run("GotoPrevCategory"));
  EXPECT_EQ(Combo()->currentText(), "Home");
  EXPECT_EQ(RowTexts(), (Texts{"b"}));
  Run("GotoNextCategory");
  EXPECT_EQ(Combo()->currentText(), "All");
  Run("GotoNextCategory");
  Run("GotoNextCategory");
  EXPECT_EQ(Combo()->currentText(), "Work");
  EXPECT_EQ(RowTexts(), (Texts{"a", "e"}));
  Run("GotoAllCategory");
  EXPECT_EQ(Combo()->currentText(), "All");
  EXPECT_EQ(List()->RowCount(), 5);
}

TEST_F(MainFormListTest, DoubleClickEditsOneRowAndBeepsOtherwise) {
  OpenSample();
  SelectRows({0, 1});
  emit List()->RowDoubleClicked();
  EXPECT_EQ(prompts->Beeps(), 1);

  SelectRows({1});
  prompts->AnswerDialog(CancelAnswer());
  emit List()->RowDoubleClicked();
  EXPECT_EQ(prompts->Beeps(), 1);
  EXPECT_EQ(prompts->Questions().back().text, "Edit record");
}

TEST_F(MainFormListTest, ManyRecordsFillAndFilter) {
  std::vector<TTestRecord> records;
  for (int i = 0; i < 3000; ++i)
    records.push_back({"Name " + std::to_string(i), std::to_string(i), "", i % 3});
  WriteListFile(Path("big.pdb"), "Big", {"Odd", "Even"}, records);
  OpenFile(Path("big.pdb"));
  EXPECT_EQ(List()->RowCount(), 3000);
  PickCategory("Even");
  EXPECT_EQ(List()->RowCount(), 1000);
  EXPECT_EQ(Panel(1), "1000/3000");
}
