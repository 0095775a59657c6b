#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "dialog_test_util.h"
#include "dialogs/frmSearchDlg.h"
#include "platform/ScriptedPrompts.h"

namespace {

class SearchDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { SearchHistory().clear(); }
  void TearDown() override { SearchHistory().clear(); }

  // Answers the next dialog through handler, after the dialog's show step.
  void Answer(std::function<TModalResult(TSearchDialog*)> handler) {
    prompts.AnswerDialog([handler](QDialog* dialog) {
      auto* dlg = dynamic_cast<TSearchDialog*>(dialog);
      if (!dlg) return TModalResult::Cancel;
      dlg->FormShow();
      return handler(dlg);
    });
  }
  bool Execute() { return ExecuteSearchDialog(nullptr, "Title", "Author", options); }

  TScriptedPrompts prompts;
  TRecSearchOptions options;
};

TEST_F(SearchDialogTest, FirstSearchStartsEmptyWithAllPlacesAndOKOnlyForARealRequest) {
  Answer([](TSearchDialog* dlg) {
    EXPECT_EQ(dlg->windowTitle(), "Search");
    EXPECT_EQ(dlg->Field1CB->text(), "Field&1 (Title)");
    EXPECT_EQ(dlg->Field2CB->text(), "Field&2 (Author)");
    EXPECT_EQ(dlg->SearchStringEdit->currentText(), "");
    EXPECT_EQ(dlg->SearchStringEdit->count(), 0);
    EXPECT_TRUE(dlg->Field1CB->isChecked() && dlg->Field2CB->isChecked() &&
                dlg->NotesCB->isChecked());
    EXPECT_FALSE(dlg->OKBtn->isEnabled());
    QTest::keyClicks(dlg->SearchStringEdit->lineEdit(), "   ");
    EXPECT_FALSE(dlg->OKBtn->isEnabled());
    QTest::keyClicks(dlg->SearchStringEdit->lineEdit(), "x");
    EXPECT_TRUE(dlg->OKBtn->isEnabled());
    for (QCheckBox* box : {dlg->Field1CB, dlg->Field2CB, dlg->NotesCB}) box->click();
    EXPECT_FALSE(dlg->OKBtn->isEnabled());
    dlg->Field2CB->click();
    EXPECT_TRUE(dlg->OKBtn->isEnabled());
    return TModalResult::OK;
  });
  ASSERT_TRUE(Execute());
  EXPECT_EQ(options.Text, "x");  // typed with blanks in front, stored trimmed
  EXPECT_EQ(options.Where, InField2);
  EXPECT_EQ(SearchHistory(), std::vector<std::string>({"x"}));
}

TEST_F(SearchDialogTest, HistoryTakesTheNewTextOnceAtTheTop) {
  SearchHistory() = {"old", "Abc", "other", "ABC"};
  options = {"old", InNotes};
  QStringList offered;
  Answer([&](TSearchDialog* dlg) {
    for (int i = 0; i < dlg->SearchStringEdit->count(); ++i)
      offered << dlg->SearchStringEdit->itemText(i);
    EXPECT_EQ(dlg->SearchStringEdit->currentText(), "old");
    EXPECT_FALSE(dlg->Field1CB->isChecked());
    dlg->SearchStringEdit->setEditText(" aBC ");
    return TModalResult::OK;
  });
  ASSERT_TRUE(Execute());
  EXPECT_EQ(offered, QStringList({"old", "Abc", "other", "ABC"}));
  EXPECT_EQ(options.Text, "aBC");
  EXPECT_EQ(SearchHistory(), std::vector<std::string>({"aBC", "old", "other", "ABC"}));

  // Picking an entry from the list is a change of the text like typing.
  Answer([](TSearchDialog* dlg) {
    dlg->SearchStringEdit->setEditText("");
    EXPECT_FALSE(dlg->OKBtn->isEnabled());
    dlg->SearchStringEdit->setCurrentIndex(2);
    EXPECT_TRUE(dlg->OKBtn->isEnabled());
    return TModalResult::OK;
  });
  ASSERT_TRUE(Execute());
  EXPECT_EQ(options.Text, "other");
  EXPECT_EQ(SearchHistory(), std::vector<std::string>({"other", "aBC", "old", "ABC"}));
}

TEST_F(SearchDialogTest, CancelChangesNothing) {
  SearchHistory() = {"kept"};
  options = {"kept", InField1 | InNotes};
  Answer([](TSearchDialog* dlg) {
    dlg->SearchStringEdit->setEditText("new");
    dlg->Field2CB->click();
    return TModalResult::Cancel;
  });
  EXPECT_FALSE(Execute());
  EXPECT_EQ(options.Text, "kept");
  EXPECT_EQ(options.Where, InField1 | InNotes);
  EXPECT_EQ(SearchHistory(), std::vector<std::string>({"kept"}));
}

TEST_F(SearchDialogTest, TextIsWindows1252OfAnyLength) {
  TSearchDialog dlg(nullptr);
  QLineEdit* edit = dlg.SearchStringEdit->lineEdit();
  for (const QString& c : {QString::fromUtf8("\u20ac"), QString::fromUtf8("\u00e9"),
                           QString::fromUtf8("\u0100")})  // the last refused
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, c, Qt::NoModifier);
  EXPECT_EQ(dlg.SearchText(), "\x80\xE9");
  const QString longText(40000, QLatin1Char('a'));
  dlg.SearchStringEdit->setEditText(longText);
  EXPECT_EQ(dlg.SearchText().size(), 40000u);
  QTest::keyClicks(edit, "b");
  EXPECT_EQ(dlg.SearchText().size(), 40001u);
}

TEST_F(SearchDialogTest, LayoutTabOrderAndKeys) {
  const QFont saved = QToolTip::font();
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(9);
  QToolTip::setFont(small);
  TSearchDialog dlg(nullptr);
  QToolTip::setFont(saved);
  dlg.SetFieldNames("Title", "R&D");
  EXPECT_EQ(dlg.Field2CB->text(), "Field&2 (R&&D)");  // the name's own '&' is shown
  EXPECT_EQ(dlg.size(), QSize(284, 202));
  EXPECT_EQ(dlg.SearchStringEdit->geometry(), QRect(12, 28, 261, 21));
  EXPECT_EQ(dlg.GroupBox1->geometry(), QRect(12, 60, 261, 97));
  EXPECT_EQ(dlg.NotesCB->geometry(), QRect(12, 68, 240, 17));
  EXPECT_EQ(dlg.OKBtn->geometry(), QRect(119, 168, 75, 25));
  EXPECT_EQ(dlg.CancelBtn->geometry(), QRect(199, 168, 75, 25));

  QWidget* chain = dlg.SearchStringEdit;
  for (QWidget* next : {static_cast<QWidget*>(dlg.Field1CB), static_cast<QWidget*>(dlg.Field2CB),
                        static_cast<QWidget*>(dlg.NotesCB), static_cast<QWidget*>(dlg.OKBtn),
                        static_cast<QWidget*>(dlg.CancelBtn)}) {
    chain = chain->nextInFocusChain();
    while (chain->focusPolicy() == Qt::NoFocus || chain->focusProxy())
      chain = chain->nextInFocusChain();
    EXPECT_EQ(chain, next) << next->objectName().toStdString();
  }

  dlg.show();
  dlg.FormShow();
  QTest::keyClick(dlg.SearchStringEdit, Qt::Key_Return);  // OK disabled: stays
  EXPECT_TRUE(dlg.isVisible());
  QTest::keyClicks(dlg.SearchStringEdit, "abc");
  EXPECT_EQ(dlg.SearchText(), "abc");
  dlg.NotesCB->setChecked(true);
  QTest::keyClick(dlg.SearchStringEdit, Qt::Key_Return);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.SearchStringEdit->count(), 0);  // Enter does not add to the list
  dlg.show();
  QTest::keyClick(dlg.SearchStringEdit, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

}  // namespace
