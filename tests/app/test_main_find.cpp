// Find and Find again over the rows the list shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QScreen>

#include "dialogs/frmSearchDlg.h"
#include "main_form_fixture.h"

namespace {

class MainFormFindTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    SearchHistory().clear();
  }
  void TearDown() override {
    SearchHistory().clear();
    MainFormTest::TearDown();
  }

  QAction* Find() const { return Action("FindAction"); }
  QAction* FindAgain() const { return Action("FindAgainAction"); }

  void Open(const std::vector<TTestRecord>& records) {
    const QString path = Path("find.pdb");
    WriteListFile(path, "Find", {"Work", "Secret"}, records);
    OpenFile(path);
  }

  // Runs Find with the dialog answered with text in the given places.
  void RunFind(const QString& text, std::uint8_t where = InField1 | InField2 | InNotes) {
    prompts->AnswerDialog([=](QDialog* dialog) {
      auto* dlg = dynamic_cast<TSearchDialog*>(dialog);
      EXPECT_NE(dlg, nullptr);
      if (!dlg) return TModalResult::Cancel;
      dlg->FormShow();
      dlg->SearchStringEdit->setEditText(text);
      dlg->Field1CB->setChecked(where & InField1);
      dlg->Field2CB->setChecked(where & InField2);
      dlg->NotesCB->setChecked(where & InNotes);
      return PressOK(dlg, dlg->OKBtn);
    });
    ASSERT_TRUE(Run(Find()));
  }

  // The selected rows and the focused row.
  std::vector<int> Selected() const { return List()->SelectedRows(); }
  int Focused() const { return List()->currentIndex().row(); }

  // Expects the "not found" message for text; the selection stays.
  void ExpectNotFound(const QString& text, const std::vector<int>& selected) {
    const auto& asked = prompts->Questions();
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().kind, TScriptedPrompts::Asked::Message);
    EXPECT_EQ(asked.back().text, "Cannot find \"" + text + "\".");
    EXPECT_EQ(asked.back().caption, "Search result");
    EXPECT_EQ(asked.back().icon, TMsgIcon::Information);
    EXPECT_EQ(asked.back().buttons, mbOK);
    EXPECT_EQ(Selected(), selected);
  }
};

TEST_F(MainFormFindTest, EnablingFollowsDocumentRowsAndText) {
  Update();
  EXPECT_FALSE(Find()->isEnabled());
  EXPECT_FALSE(FindAgain()->isEnabled());
  Open({{"one", "1", "", 1}});
  Update();
  EXPECT_TRUE(Find()->isEnabled());
  EXPECT_FALSE(FindAgain()->isEnabled());

  // Cancel keeps the fresh search: nothing asked, nothing selected.
  prompts->AnswerDialog([](QDialog* dialog) {
    auto* dlg = dynamic_cast<TSearchDialog*>(dialog);
    EXPECT_NE(dlg, nullptr);
    if (!dlg) return TModalResult::Cancel;
    dlg->FormShow();
    EXPECT_EQ(dlg->Field1CB->text(), "Field&1 (Name)");
    EXPECT_EQ(dlg->SearchStringEdit->currentText(), "");
    EXPECT_TRUE(dlg->Field1CB->isChecked() && dlg->Field2CB->isChecked() &&
                dlg->NotesCB->isChecked());
    EXPECT_FALSE(dlg->OKBtn->isEnabled());
    return TModalResult::Cancel;
  });
  ASSERT_TRUE(Run(Find()));
  EXPECT_TRUE(Selected().empty());
  Update();
  EXPECT_FALSE(FindAgain()->isEnabled());

  RunFind("one");
  Update();
  EXPECT_TRUE(FindAgain()->isEnabled());
  PickCategory("Secret");  // no rows shown
  Update();
  EXPECT_FALSE(Find()->isEnabled());
  EXPECT_FALSE(FindAgain()->isEnabled());
}

TEST_F(MainFormFindTest, FindStartsAtTheTopAndFindAgainContinuesWithoutWrapping) {
  Open({{"xABCx", "1"}, {"none", "2"}, {"abc", "3"}, {"none", "4"}});
  SelectRows({3});
  RunFind("abc");
  EXPECT_EQ(Selected(), std::vector<int>({0}));
  EXPECT_EQ(Focused(), 0);

  ASSERT_TRUE(Run(FindAgain()));
  EXPECT_EQ(Selected(), std::vector<int>({2}));
  EXPECT_EQ(Focused(), 2);

  prompts->AnswerMessage(TModalResult::OK);
  ASSERT_TRUE(Run(FindAgain()));
  ExpectNotFound("abc", {2});
  EXPECT_EQ(Focused(), 2);

  // Without a selection Find again starts at the top.
  List()->ClearSelection();
  ASSERT_TRUE(Run(FindAgain()));
  EXPECT_EQ(Selected(), std::vector<int>({0}));

  // Letters outside ASCII match only in the same case.
  Open({{"\xE4rger", "1"}});
  prompts->AnswerMessage(TModalResult::OK);
  RunFind(QString::fromUtf8("\xC3\x84"));  // capital A with diaeresis
  ExpectNotFound(QString::fromUtf8("\xC3\x84"), {});
}

TEST_F(MainFormFindTest, SearchesTheShownRowsInTheirOrder) {
  Open({{"a match", "1", "", 1}, {"b match", "2", "", 2}, {"c match", "3", "", 1}});
  PickCategory("Secret");
  RunFind("match");
  EXPECT_EQ(List()->RecordAt(Selected().at(0))->Field1(), "b match");
  prompts->AnswerMessage(TModalResult::OK);
  ASSERT_TRUE(Run(FindAgain()));
  ExpectNotFound("match", {0});

  PickCategory("All");
  ClickHeader(0);
  ClickHeader(0);  // c b a
  RunFind("match");
  ASSERT_EQ(Selected().size(), 1u);
  EXPECT_EQ(List()->RecordAt(Selected()[0])->Field1(), "c match");
  ASSERT_TRUE(Run(FindAgain()));
  EXPECT_EQ(List()->RecordAt(Selected()[0])->Field1(), "b match");
}

TEST_F(MainFormFindTest, OnlyTheChosenPlacesNeverTheCategory) {
  Open({{"alpha", "1", "", 1}, {"beta", "2", "line one\r\nalpha in notes", 2}});
  RunFind("alpha", InNotes);
  EXPECT_EQ(Selected(), std::vector<int>({1}));
  prompts->AnswerMessage(TModalResult::OK);
  RunFind("secret");  // the second record's category name
  ExpectNotFound("secret", {1});
  RunFind("one\r\nalpha", InNotes);  // the note as kept, with its line break
  EXPECT_EQ(Selected(), std::vector<int>({1}));
}

TEST_F(MainFormFindTest, ALongSearchTextIsShortenedToFitTheScreen) {
  Open({{"alpha", "1", std::string(4095, 'a'), 1}});
  const QString text = QString(2047, u'a') + u'b';
  prompts->AnswerMessage(TModalResult::OK);
  RunFind(text);
  const QString shown = prompts->Questions().back().text;
  EXPECT_TRUE(shown.startsWith("Cannot find \"aaa")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith("ab\".") && shown.contains(QChar(0x2026)));
  const int width = QFontMetrics(QApplication::font("QMessageBox")).horizontalAdvance(shown);
  EXPECT_LT(width, QGuiApplication::primaryScreen()->availableGeometry().width());
}

}  // namespace
