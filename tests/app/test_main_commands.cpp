// The record and category commands of the main window, through the real
// dialogs' inputs.
#include <QApplication>
#include <QTest>

#include "dialogs/DialogControls.h"
#include "dialogs/frmCustomizeDB.h"
#include "dialogs/frmEditCategories.h"
#include "dialogs/frmRecordProp.h"
#include "dialogs/frmStringEdit.h"
#include "main_form_fixture.h"

namespace {

using Texts = std::vector<std::string>;

class MainFormCommandsTest : public MainFormTest {
 protected:
  // Work (id 1) and Home (id 2).
  void OpenSample() {
    WriteListFile(Path("s.pdb"), "Sample", {"Work", "Home"},
                  {{"a", "1", "", 1}, {"b", "2", "", 2}, {"c", "3", "", 1}, {"d", "4", "", 0}});
    OpenFile(Path("s.pdb"));
    ASSERT_NE(Doc(), nullptr);
  }
  Texts DocFields() const {
    Texts t;
    for (int i = 0; i < Doc()->RecordCount(); ++i) t.emplace_back(Doc()->GetRecord(i)->Field1());
    return t;
  }
  // A categories dialog handler that runs the given steps on the dialog and
  // then closes it through its close button.
  std::function<TModalResult(QDialog*)> Categories(
      std::function<void(TCategoriesListDialog*)> steps) {
    return [steps](QDialog* d) {
      auto* dlg = dynamic_cast<TCategoriesListDialog*>(d);
      EXPECT_NE(dlg, nullptr);
      if (!dlg) return TModalResult::Cancel;
      dlg->FormShow();
      dlg->ActionList1->UpdateAll();
      steps(dlg);
      dlg->ActionList1->UpdateAll();
      dlg->OKBtn->click();
      return dlg->result() == QDialog::Accepted ? TModalResult::OK : TModalResult::Cancel;
    };
  }
  std::function<TModalResult(QDialog*)> StringAnswer(const QString& text) {
    return [text](QDialog* d) {
      auto* dlg = dynamic_cast<TStringDialog*>(d);
      EXPECT_NE(dlg, nullptr);
      if (!dlg) return TModalResult::Cancel;
      dlg->FormShow();
      dlg->Edit1->setText(text);
      return PressOK(dlg, dlg->OKBtn);
    };
  }
  void SelectInDialog(TCategoriesListDialog* dlg, const QString& name) {
    const auto items = dlg->ListBox->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    dlg->ListBox->setCurrentItem(items.front());
    items.front()->setSelected(true);
    dlg->ActionList1->UpdateAll();
  }
};

}  // namespace

TEST_F(MainFormCommandsTest, EnablingFollowsDocumentAndSelection) {
  QAction* const all[] = {Action("NewRecordAction"),      Action("EditRecordAction"),
                          Action("DeleteRecordAction"),   Action("EditCategoriesAction"),
                          Action("ChangeCategoryAction"), Action("PropertiesAction")};
  auto enabled = [&] {
    Update();
    std::vector<bool> e;
    for (QAction* a : all) e.push_back(a->isEnabled());
    return e;
  };
  using B = std::vector<bool>;
  EXPECT_EQ(enabled(), (B{false, false, false, false, false, false}));
  OpenSample();
  SelectRows({});
  EXPECT_EQ(enabled(), (B{true, false, false, true, false, true}));
  SelectRows({1});
  EXPECT_EQ(enabled(), (B{true, true, true, true, true, true}));
  SelectRows({1, 2});
  EXPECT_EQ(enabled(), (B{true, false, true, true, true, true}));
}

TEST_F(MainFormCommandsTest, DeleteAsksAndRemovesExactlyTheSelected) {
  OpenSample();
  SelectRows({2});
  prompts->AnswerMessage(TModalResult::No);
  Run("DeleteRecordAction");
  EXPECT_EQ(LastMessage(), "Selected record will be deleted.\r\nContinue?");
  EXPECT_EQ(prompts->Questions().back().caption, "Confirmation");
  EXPECT_EQ(prompts->Questions().back().buttons, mbYes | mbNo);
  EXPECT_EQ(Doc()->RecordCount(), 4);
  EXPECT_FALSE(Doc()->Modified());

  SelectRows({0, 1, 3});
  prompts->AnswerMessage(TModalResult::No);
  Run("DeleteRecordAction");
  EXPECT_EQ(LastMessage(), "Selected records (3) will be deleted.\r\nContinue?");
  EXPECT_EQ(Doc()->RecordCount(), 4);

  prompts->AnswerMessage(TModalResult::Yes);
  Run("DeleteRecordAction");
  EXPECT_EQ(DocFields(), (Texts{"c"}));
  EXPECT_EQ(RowTexts(), (Texts{"c"}));
  EXPECT_TRUE(Doc()->Modified());
  EXPECT_EQ(Panel(1), "1");
  EXPECT_EQ(Panel(2), "*");
}

TEST_F(MainFormCommandsTest, DeletingManyRowsKeepsTheOthersInListOrder) {
  std::vector<TTestRecord> records;
  for (int i = 0; i < 60; ++i) records.emplace_back("r" + std::to_string(100 + i), "x");
  WriteListFile(Path("many.pdb"), "Many", {}, records);
  OpenFile(Path("many.pdb"));
  ClickHeader(0);
  ClickHeader(0);  // r159 ... r100
  std::vector<int> rows;
  for (int r = 0; r < 60; ++r)
    if (r % 3 != 0) rows.push_back(r);  // keeps r159, r156, ..., r102
  SelectRows(rows);
  prompts->AnswerMessage(TModalResult::Yes);
  Run("DeleteRecordAction");
  Texts shown, inDocument;
  for (int i = 0; i < 20; ++i) {
    shown.push_back("r" + std::to_string(159 - 3 * i));
    inDocument.push_back("r" + std::to_string(102 + 3 * i));
  }
  EXPECT_EQ(RowTexts(), shown);
  EXPECT_EQ(DocFields(), inDocument);
  EXPECT_EQ(Panel(1), "20");
}

TEST_F(MainFormCommandsTest, NewRecordUnderAnotherFilterGetsNoRow) {
  OpenSample();
  PickCategory("Work");
  ASSERT_EQ(RowTexts(), (Texts{"a", "c"}));
  AddRecord("new", "5");  // left in Unfiled
  EXPECT_EQ(prompts->Questions().back().text, "New record");
  EXPECT_EQ(RowTexts(), (Texts{"a", "c"}));
  EXPECT_EQ(Panel(1), "2/5");
  EXPECT_TRUE(Doc()->Modified());

  AddRecord("work", "6", "Work");
  EXPECT_EQ(RowTexts(), (Texts{"a", "c", "work"}));
  EXPECT_EQ(List()->SelectedRows(), (std::vector<int>{2}));
  EXPECT_EQ(Doc()->GetRecord(5)->CategoryID(), 1);
}

TEST_F(MainFormCommandsTest, CancelledNewRecordAddsNothing) {
  OpenSample();
  prompts->AnswerDialog(CancelAnswer());
  Run("NewRecordAction");
  EXPECT_EQ(Doc()->RecordCount(), 4);
  EXPECT_FALSE(Doc()->Modified());
}

TEST_F(MainFormCommandsTest, EditedRecordLeavingTheFilterLosesItsRow) {
  OpenSample();
  PickCategory("Work");
  SelectRows({1});
  prompts->AnswerDialog(RecordAnswer("c2", "33", "Home"));
  Run("EditRecordAction");
  EXPECT_EQ(RowTexts(), (Texts{"a"}));
  EXPECT_EQ(Doc()->GetRecord(2)->Field1(), "c2");
  EXPECT_EQ(Doc()->GetRecord(2)->CategoryID(), 2);
  EXPECT_TRUE(Doc()->Modified());
}

TEST_F(MainFormCommandsTest, EditedRecordKeepsItsPlaceInASortedList) {
  OpenSample();
  ClickHeader(0);
  ClickHeader(0);  // d c b a
  SelectRows({1});
  prompts->AnswerDialog(RecordAnswer("zzz", "3", "Work"));
  Run("EditRecordAction");
  EXPECT_EQ(RowTexts(), (Texts{"d", "zzz", "b", "a"}));
  EXPECT_EQ(List()->Model()->HeaderImage(kField1Column), kSortDescendingImage);
  EXPECT_EQ(List()->SelectedRows(), (std::vector<int>{1}));
}

TEST_F(MainFormCommandsTest, EditOfAnOverlongValueFailsAndChangesNothing) {
  WriteListFile(Path("long.pdb"), "Long", {},
                {{std::string(113, 'x'), "1"}, {"ok", std::string(120, 'y')}});
  OpenFile(Path("long.pdb"));
  ASSERT_EQ(Doc()->GetRecord(0)->Field1().size(), 113u);

  SelectRows({0});
  prompts->AnswerDialog([](QDialog* d) {
    d->accept();  // the values as loaded
    return TModalResult::OK;
  });
  prompts->AnswerMessage(TModalResult::OK);  // the error box
  Run("EditRecordAction");
  EXPECT_EQ(LastMessage(), "Field1 value is longer than 112.");
  EXPECT_EQ(prompts->Questions().back().caption, "Vornik");
  EXPECT_FALSE(Doc()->Modified());
  EXPECT_EQ(Panel(2), "");

  // Field 1 changes, field 2 is refused: field 1 is put back.
  SelectRows({1});
  prompts->AnswerDialog([](QDialog* d) {
    auto* dlg = dynamic_cast<TRecPropDialog*>(d);
    dlg->Field1ValueEdit->setText("changed");
    EXPECT_FALSE(dlg->OKBtn->isEnabled());  // the user is kept from losing the edit
    d->accept();
    return TModalResult::OK;
  });
  prompts->AnswerMessage(TModalResult::OK);  // the error box
  Run("EditRecordAction");
  EXPECT_EQ(LastMessage(), "Field2 value is longer than 112.");
  EXPECT_EQ(Doc()->GetRecord(1)->Field1(), "ok");
  EXPECT_EQ(RowTexts()[1], "ok");
  EXPECT_FALSE(Doc()->Modified());
}

TEST_F(MainFormCommandsTest, ChangeCategoryMovesTheSelectedAndShowsAll) {
  OpenSample();
  PickCategory("Work");
  SelectRows({0, 1});
  prompts->AnswerDialog(SelectCategoryAnswer("Home"));
  Run("ChangeCategoryAction");
  EXPECT_EQ(Combo()->currentText(), "All");
  EXPECT_EQ(RowTexts(3), (Texts{"Home", "Home", "Home", "Unfiled"}));
  EXPECT_EQ(List()->SelectedRows(), (std::vector<int>{0}));
  EXPECT_EQ(Panel(2), "*");
  EXPECT_EQ(Panel(1), "4");

  // Cancelled: nothing moves.
  SelectRows({3});
  prompts->AnswerDialog(CancelAnswer());
  Doc()->SetModified(false);
  Run("ChangeCategoryAction");
  EXPECT_EQ(Doc()->GetRecord(3)->CategoryID(), 0);
  EXPECT_FALSE(Doc()->Modified());
}

TEST_F(MainFormCommandsTest, CategoriesClosedWithoutChangeDoesNothing) {
  OpenSample();
  PickCategory("Work");
  prompts->AnswerDialog(
      Categories([](TCategoriesListDialog* dlg) { EXPECT_EQ(dlg->OKBtn->text(), "&Cancel"); }));
  Run("EditCategoriesAction");
  EXPECT_FALSE(Doc()->Modified());
  EXPECT_EQ(Combo()->currentText(), "Work");
  EXPECT_EQ(RowTexts(), (Texts{"a", "c"}));
}

TEST_F(MainFormCommandsTest, DeletedCategoryRecordsShowUnfiled) {
  OpenSample();
  PickCategory("Home");
  prompts->AnswerDialog(Categories([this](TCategoriesListDialog* dlg) {
    SelectInDialog(dlg, "Work");
    dlg->DeleteCategoryAction->trigger();
  }));
  Run("EditCategoriesAction");
  EXPECT_TRUE(Doc()->Modified());
  EXPECT_EQ(Combo()->currentText(), "All");
  EXPECT_EQ(Combo()->count(), 3);  // All, Unfiled, Home
  EXPECT_EQ(RowTexts(3), (Texts{"Unfiled", "Home", "Unfiled", "Unfiled"}));
  // Compacted: Home is now id 1.
  EXPECT_EQ(Doc()->GetRecord(1)->CategoryID(), 1);
  PickCategory("Unfiled");
  EXPECT_EQ(RowTexts(), (Texts{"a", "c", "d"}));
}

TEST_F(MainFormCommandsTest, CategoriesClosedByTheCloseBoxAfterAChangeStillCounts) {
  OpenSample();
  prompts->AnswerDialog([this](QDialog* d) {
    auto* dlg = dynamic_cast<TCategoriesListDialog*>(d);
    prompts->AnswerDialog(StringAnswer("Garden"));
    dlg->ActionList1->UpdateAll();
    dlg->NewCategoryAction->trigger();
    return TModalResult::Cancel;  // as the window's close command reports
  });
  Run("EditCategoriesAction");
  EXPECT_TRUE(Doc()->Modified());
  EXPECT_NE(Combo()->findText("Garden"), -1);
}

TEST_F(MainFormCommandsTest, PropertiesRenameListAndColumns) {
  OpenSample();
  prompts->AnswerDialog(ListPropertiesAnswer("Renamed", "Who", "Number"));
  Run("PropertiesAction");
  EXPECT_EQ(Doc()->DatabaseName(), "Renamed");
  EXPECT_EQ(Panel(0), "Renamed");
  EXPECT_EQ(Panel(2), "*");
  EXPECT_EQ(List()->Model()->Caption(0), "Who");
  EXPECT_EQ(List()->Model()->Caption(1), "Number");
  EXPECT_EQ(List()->Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Number");
}

TEST_F(MainFormCommandsTest, ScriptedSessionRoundTrips) {
  CreateList("Contacts", "Name", "Phone");
  prompts->AnswerDialog(Categories([this](TCategoriesListDialog* dlg) {
    prompts->AnswerDialog(StringAnswer("Friends"));
    dlg->NewCategoryAction->trigger();
    prompts->AnswerDialog(StringAnswer("Work"));
    dlg->ActionList1->UpdateAll();
    dlg->NewCategoryAction->trigger();
  }));
  Run("EditCategoriesAction");
  AddRecord("Ann", "555-1", "Friends");
  AddRecord("Bob", "555-2", "Work");
  AddRecord("Cid", "555-3");
  SelectRows({2});
  prompts->AnswerDialog(SelectCategoryAnswer("Work"));
  Run("ChangeCategoryAction");
  prompts->AnswerSaveFile(Path("contacts.pdb"));
  Run("SaveFileAction");
  ASSERT_FALSE(Doc()->Modified());

  OpenFile(Path("contacts.pdb"));
  ASSERT_NE(Doc(), nullptr);
  EXPECT_EQ(Doc()->DatabaseName(), "Contacts");
  EXPECT_EQ(Doc()->CustomField2(), "Phone");
  EXPECT_EQ(RowTexts(0), (Texts{"Ann", "Bob", "Cid"}));
  EXPECT_EQ(RowTexts(1), (Texts{"555-1", "555-2", "555-3"}));
  EXPECT_EQ(RowTexts(3), (Texts{"Friends", "Work", "Work"}));
  PickCategory("Work");
  EXPECT_EQ(RowTexts(), (Texts{"Bob", "Cid"}));
  EXPECT_EQ(form->RecentFiles().front(), Path("contacts.pdb"));
}

namespace {

// Insert, Enter and Delete are the window's keys, also with the focus in the
// category box; an open drop-down list keeps its own keys.
TEST_F(MainFormCommandsTest, RecordKeysWorkWindowWideButNotInAnOpenDropDown) {
  OpenSample();
  form->show();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  PickCategory("All");
  Combo()->setFocus();
  SelectRows({0});
  Update();
  ASSERT_EQ(QApplication::focusWidget(), Combo());

  for (Qt::Key key : {Qt::Key_Insert, Qt::Key_Return}) {
    prompts->AnswerDialog(CancelAnswer());
    QTest::keyClick(Combo(), key);
    ASSERT_FALSE(prompts->Questions().empty());
    EXPECT_EQ(prompts->Questions().back().kind, TScriptedPrompts::Asked::Dialog);
    prompts->Clear();
  }
  prompts->AnswerMessage(TModalResult::No);
  QTest::keyClick(Combo(), Qt::Key_Delete);
  ASSERT_EQ(prompts->Questions().size(), 1u);
  EXPECT_EQ(prompts->Questions().back().caption, "Confirmation");
  prompts->Clear();

  Combo()->showPopup();
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  QTest::keyClick(popup, Qt::Key_Insert);
  QTest::keyClick(popup, Qt::Key_Delete);
  EXPECT_TRUE(prompts->Questions().empty());
  Combo()->hidePopup();
  EXPECT_EQ(Doc()->RecordCount(), 4);
}

}  // namespace
