#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "components/AnsiMemo.h"
#include "dialog_test_util.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmRecordProp.h"

namespace {

struct RecordDialog : ::testing::Test {
  TListDBData doc;
  TRecPropDialog dlg{nullptr};

  TListRecord* Record(const std::string& f1, const std::string& f2, int32_t category = -1) {
    TListRecord* rec = doc.AddRecord();
    rec->StoreField1Unchecked(f1);
    rec->StoreField2Unchecked(f2);
    rec->SetCategoryID(category);
    return rec;
  }
  void Prepare() { dlg.SetupDialog("Name", "Phone", doc); }
  QString Counters() const {
    return dlg.F1SizeLabel->text() + "/" + dlg.F2SizeLabel->text() + "/" +
           dlg.NotesSizeLabel->text();
  }
};

TEST_F(RecordDialog, OkNeedsBothFieldsBeyondBlanksAndCountersAreUntrimmed) {
  Prepare();
  dlg.FormShow();
  EXPECT_EQ(dlg.F1Label->text(), "Name:");
  EXPECT_EQ(Counters(), "0/0/0");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  EXPECT_FALSE(dlg.F1SizeLabel->isEnabled());
  EXPECT_EQ(dlg.CategoryCombobox->currentText(), "Unfiled");

  dlg.Field1ValueEdit->setText("   ");
  dlg.Field2ValueEdit->setText("x");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  EXPECT_EQ(Counters(), "3/1/0");
  dlg.Field1ValueEdit->setText(" \t a ");
  EXPECT_TRUE(dlg.OKBtn->isEnabled());
  dlg.Field2ValueEdit->setText("");
  dlg.NoteMemo->SetText("the note plays no part");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
}

TEST_F(RecordDialog, TypedTwoLineNoteCountsFourAndHoldsCrLf) {
  Prepare();
  QTest::keyClicks(dlg.NoteMemo, "a");
  QTest::keyClick(dlg.NoteMemo, Qt::Key_Return);
  QTest::keyClicks(dlg.NoteMemo, "b");
  EXPECT_EQ(dlg.NotesSizeLabel->text(), "4");
  EXPECT_EQ(dlg.NoteMemo->Text(), "a\r\nb");
  QTest::keyClick(dlg.NoteMemo, Qt::Key_Return, Qt::ShiftModifier);  // no soft line breaks
  QTest::keyClick(dlg.NoteMemo, Qt::Key_Tab);                        // moves the focus on
  EXPECT_EQ(dlg.NoteMemo->Text(), "a\r\nb\r\n");
}

TEST_F(RecordDialog, StoresValuesAsTypedWithEveryByte) {
  AddCategories(doc, {"Work", "Home"});
  Prepare();
  TListRecord* rec = Record("  lead ", "tail\xA0", 2);  // a no-break space stays one
  rec->SetNotes(" one\r\n\r\ntwo\xE9 ");
  dlg.LoadRecord(*rec);
  dlg.FormShow();
  EXPECT_EQ(dlg.CategoryCombobox->currentText(), "Home");
  EXPECT_EQ(Counters(), "7/5/13");

  TListRecord* out = doc.AddRecord();
  dlg.StoreRecord(*out);
  EXPECT_EQ(out->Field1(), "  lead ");
  EXPECT_EQ(out->Field2(), "tail\xA0");
  EXPECT_EQ(out->Notes(), " one\r\n\r\ntwo\xE9 ");
  EXPECT_EQ(out->CategoryID(), 2);
}

TEST_F(RecordDialog, RecordWithoutCategoryOpensOnUnfiledAndStoresZero) {
  AddCategories(doc, {"Work"});
  Prepare();
  TListRecord* rec = Record("a", "b");
  dlg.LoadRecord(*rec);
  dlg.FormShow();
  EXPECT_EQ(dlg.CategoryCombobox->currentIndex(), 0);
  dlg.StoreRecord(*rec);
  EXPECT_EQ(rec->CategoryID(), 0);
}

TEST_F(RecordDialog, CategoryBoxFollowsTableOrderAndUserChoice) {
  AddCategories(doc, {"Zeta", "Alpha", "Mid"});
  doc.Categories().Delete(1);
  doc.Categories().Add("Last");
  Prepare();
  QStringList entries;
  for (int i = 0; i < dlg.CategoryCombobox->count(); ++i)
    entries << dlg.CategoryCombobox->itemText(i) + "=" +
                   dlg.CategoryCombobox->itemData(i).toString();
  EXPECT_EQ(entries, QStringList({"Unfiled=0", "Alpha=2", "Mid=3", "Last=4"}));

  dlg.CategoryCombobox->setCurrentIndex(2);
  emit dlg.CategoryCombobox->activated(2);
  EXPECT_EQ(dlg.Category(), 3);
  dlg.SelectCategoryItem(99);
  EXPECT_EQ(dlg.CategoryCombobox->currentIndex(), 0);

  // Position 0 is never examined: a later entry sharing id 0 (as a damaged
  // file may give) is the one chosen.
  doc.Categories().AppendEntry("Twin", 0);
  Prepare();
  dlg.SelectCategoryItem(0);
  EXPECT_EQ(dlg.CategoryCombobox->currentIndex(), 4);
}

TEST_F(RecordDialog, LongLoadedValuesShowWholeAndARefusalStoresNothing) {
  Prepare();
  TListRecord* rec = Record("short", std::string(130, 'y'));
  dlg.LoadRecord(*rec);
  EXPECT_EQ(dlg.F2SizeLabel->text(), "130");
  QTest::keyClicks(dlg.Field2ValueEdit, "z");  // no typing beyond the limit
  EXPECT_EQ(dlg.F2SizeLabel->text(), "130");

  dlg.Field1ValueEdit->setText("changed");
  try {
    dlg.StoreRecord(*rec);
    FAIL() << "no refusal";
  } catch (const EListDBError& e) {
    EXPECT_STREQ(e.what(), "Field2 value is longer than 112");
  }
  EXPECT_EQ(rec->Field1(), "short");
  EXPECT_EQ(rec->Field2().size(), 130u);
}

// A loaded value over its limit keeps OK disabled and its counter red until
// the user shortens it, so OK never loses the edits on a refusal.
TEST_F(RecordDialog, OverLimitValuesKeepOkDisabledAndShowRedUntilShortened) {
  Prepare();
  TListRecord* rec = Record(std::string(130, 'x'), "555");
  rec->StoreNotesUnchecked(std::string(4096, 'n'));
  dlg.LoadRecord(*rec);
  dlg.FormShow();
  const QColor normal = dlg.F2SizeLabel->palette().color(QPalette::Disabled, QPalette::WindowText);
  auto red = [&](QLabel* counter) {
    return counter->palette().color(QPalette::Disabled, QPalette::WindowText) != normal;
  };
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  EXPECT_TRUE(red(dlg.F1SizeLabel));
  EXPECT_TRUE(red(dlg.NotesSizeLabel));

  dlg.Field1ValueEdit->setCursorPosition(130);
  for (int i = 0; i < 18; ++i) QTest::keyClick(dlg.Field1ValueEdit, Qt::Key_Backspace);
  EXPECT_EQ(dlg.F1SizeLabel->text(), "112");
  EXPECT_FALSE(red(dlg.F1SizeLabel));
  EXPECT_FALSE(dlg.OKBtn->isEnabled());  // the note is still too long
  dlg.NoteMemo->moveCursor(QTextCursor::End);
  QTest::keyClick(dlg.NoteMemo, Qt::Key_Backspace);
  EXPECT_FALSE(red(dlg.NotesSizeLabel));
  ASSERT_TRUE(dlg.OKBtn->isEnabled());
  dlg.StoreRecord(*rec);
  EXPECT_EQ(rec->Field1(), std::string(112, 'x'));
}

TEST_F(RecordDialog, CtrlEnterInNotePressesOkOnlyWhileEnabled) {
  Prepare();
  dlg.show();
  dlg.NoteMemo->SetText("x");
  QTest::keyClick(dlg.NoteMemo, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.NoteMemo->Text(), "x");

  dlg.Field1ValueEdit->setText("a");
  dlg.Field2ValueEdit->setText("b");
  QTest::keyClick(dlg.NoteMemo, Qt::Key_Return);  // plain Enter breaks the line
  EXPECT_TRUE(dlg.isVisible());
  QTest::keyClick(dlg.NoteMemo, Qt::Key_Enter, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.NoteMemo->Text(), "\r\nx");
}

TEST_F(RecordDialog, EnterInAFieldClosesOnlyWhileOkIsEnabledAndEscCancels) {
  Prepare();
  dlg.show();
  dlg.Field1ValueEdit->setText("a");
  QTest::keyClick(dlg.Field1ValueEdit, Qt::Key_Return);
  EXPECT_TRUE(dlg.isVisible());
  dlg.Field2ValueEdit->setText("b");
  QTest::keyClick(dlg.Field2ValueEdit, Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  dlg.show();
  QTest::keyClick(dlg.Field1ValueEdit, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(RecordDialog, RealModalExecOpensOnField1AndClosesByCtrlEnter) {
  Prepare();
  TListRecord* rec = Record("f1", "f2");
  dlg.LoadRecord(*rec);
  bool field1Focused = false;
  const int result = ExecWhile(dlg, [this, &field1Focused] {
    field1Focused = dlg.focusWidget() == dlg.Field1ValueEdit;
    dlg.NoteMemo->SetText("from exec");
    QTest::keyClick(dlg.NoteMemo, Qt::Key_Return, Qt::ControlModifier);
  });
  ASSERT_EQ(result, QDialog::Accepted);
  EXPECT_TRUE(field1Focused);
  dlg.StoreRecord(*rec);
  EXPECT_EQ(rec->Notes(), "from exec");
}

}  // namespace
