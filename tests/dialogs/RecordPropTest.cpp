#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "DialogTestUtil.h"
#include "components/AnsiMemo.h"
#include "core/listdb.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmRecordProp.h"

namespace {

struct RecordDialog : ::testing::Test {
  TListDBData doc;
  TRecPropDialog dlg{nullptr};

  void Prepare() { dlg.SetupDialog("Name", "Phone", doc); }
  QString Counters() const {
    return dlg.F1SizeLabel->text() + "/" + dlg.F2SizeLabel->text() + "/" +
           dlg.NotesSizeLabel->text();
  }
};

TEST_F(RecordDialog, NewRecordStartsEmptyWithGreyedCountersAndUnfiled) {
  Prepare();
  dlg.FormShow();
  EXPECT_EQ(dlg.F1Label->text(), "Name:");
  EXPECT_EQ(dlg.F2Label->text(), "Phone:");
  EXPECT_EQ(Counters(), "0/0/0");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  EXPECT_FALSE(dlg.F1SizeLabel->isEnabled());
  EXPECT_FALSE(dlg.F2SizeLabel->isEnabled());
  EXPECT_FALSE(dlg.NotesSizeLabel->isEnabled());
  ASSERT_EQ(dlg.CategoryCombobox->count(), 1);
  EXPECT_EQ(dlg.CategoryCombobox->currentText(), "Unfiled");
  EXPECT_TRUE(dlg.OKBtn->isDefault());
  EXPECT_EQ(dlg.Label2->buddy(), dlg.CategoryCombobox);
  EXPECT_EQ(dlg.F1Label->buddy(), dlg.Field1ValueEdit);
  EXPECT_EQ(dlg.F2Label->buddy(), dlg.Field2ValueEdit);
  EXPECT_EQ(dlg.Label1->buddy(), dlg.NoteMemo);
  EXPECT_EQ(dlg.size(), QSize(392, 373));
}

TEST_F(RecordDialog, OkNeedsBothFieldsBeyondBlanksAndCountersAreUntrimmed) {
  Prepare();
  dlg.Field1ValueEdit->setText("   ");
  dlg.Field2ValueEdit->setText("x");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  EXPECT_EQ(Counters(), "3/1/0");
  dlg.Field1ValueEdit->setText(" \t a ");
  EXPECT_TRUE(dlg.OKBtn->isEnabled());
  dlg.Field2ValueEdit->setText("");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  // The note plays no part in the rule.
  dlg.NoteMemo->SetText("note");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
}

TEST_F(RecordDialog, TypedTwoLineNoteCountsFourAndHoldsCrLf) {
  Prepare();
  TypeText(dlg.NoteMemo, "a");
  SendKey(dlg.NoteMemo, Qt::Key_Return);
  TypeText(dlg.NoteMemo, "b");
  EXPECT_EQ(dlg.NotesSizeLabel->text(), "4");
  EXPECT_EQ(dlg.NoteMemo->Text(), "a\r\nb");
  // Shift+Enter makes the same line break, never a soft one.
  SendKey(dlg.NoteMemo, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(dlg.NoteMemo->Text(), "a\r\nb\r\n");
  EXPECT_EQ(dlg.NotesSizeLabel->text(), "6");
}

TEST_F(RecordDialog, StoresValuesAsTypedAndKeepsEveryByte) {
  AddCategories(doc, {"Work", "Home"});
  Prepare();
  TListRecord* rec = doc.AddRecord();
  rec->SetField1("  lead ");
  rec->SetField2("tail\xA0");  // a no-break space stays one
  rec->SetNotes(" one\r\n\r\ntwo\xE9 ");
  rec->SetCategoryID(2);
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
  TListRecord* rec = doc.AddRecord();
  rec->SetField1("a");
  rec->SetField2("b");
  ASSERT_EQ(rec->CategoryID(), -1);
  dlg.LoadRecord(*rec);
  dlg.FormShow();
  EXPECT_EQ(dlg.CategoryCombobox->currentIndex(), 0);
  EXPECT_EQ(dlg.CategoryCombobox->currentText(), "Unfiled");
  dlg.StoreRecord(*rec);
  EXPECT_EQ(rec->CategoryID(), 0);
}

TEST_F(RecordDialog, CategoryBoxFollowsTableOrderAndUserChoice) {
  AddCategories(doc, {"Zeta", "Alpha", "Mid"});
  doc.Categories().Delete(1);
  doc.Categories().Add("Last");
  Prepare();
  QStringList names;
  QList<int> ids;
  for (int i = 0; i < dlg.CategoryCombobox->count(); ++i) {
    names << dlg.CategoryCombobox->itemText(i);
    ids << dlg.CategoryCombobox->itemData(i).toInt();
  }
  EXPECT_EQ(names, QStringList({"Unfiled", "Alpha", "Mid", "Last"}));
  EXPECT_EQ(ids, QList<int>({0, 2, 3, 4}));

  // A choice of the user's sets the category; an unknown id falls back to
  // position 0.
  dlg.CategoryCombobox->setCurrentIndex(2);
  emit dlg.CategoryCombobox->activated(2);
  EXPECT_EQ(dlg.Category(), 3);
  dlg.SelectCategoryItem(99);
  EXPECT_EQ(dlg.CategoryCombobox->currentIndex(), 0);
  dlg.SelectCategoryItem(4);
  EXPECT_EQ(dlg.CategoryCombobox->currentIndex(), 3);
}

TEST_F(RecordDialog, SelectCategoryItemNeverExaminesPositionZero) {
  // A table whose later entry shares id 0 with "Unfiled" (as a damaged file
  // may give): the id picks the later entry, position 0 is only the fallback.
  doc.Categories().AppendEntry("Twin", 0);
  Prepare();
  dlg.SelectCategoryItem(0);
  EXPECT_EQ(dlg.CategoryCombobox->currentIndex(), 1);
}

TEST_F(RecordDialog, LongLoadedValuesShowWholeAndStoreStopsAtFirstRefusal) {
  Prepare();
  TListRecord* rec = doc.AddRecord();
  rec->StoreField1Unchecked("short");
  rec->StoreField2Unchecked(std::string(130, 'y'));
  dlg.LoadRecord(*rec);
  EXPECT_EQ(dlg.Field2ValueEdit->text().size(), 130);
  EXPECT_EQ(dlg.F2SizeLabel->text(), "130");

  dlg.Field1ValueEdit->setText("changed");
  try {
    dlg.StoreRecord(*rec);
    FAIL() << "no refusal";
  } catch (const EListDBError& e) {
    EXPECT_STREQ(e.what(), "Field2 value is longer than 112");
  }
  EXPECT_EQ(rec->Field1(), "changed");
  EXPECT_EQ(rec->Field2().size(), 130u);
}

TEST_F(RecordDialog, TypingStopsAtTheLimits) {
  Prepare();
  dlg.Field1ValueEdit->setText(QString(111, 'a'));
  TypeText(dlg.Field1ValueEdit, "bcd");
  EXPECT_EQ(dlg.Field1ValueEdit->text(), QString(111, 'a') + "b");
  EXPECT_EQ(dlg.F1SizeLabel->text(), "112");

  dlg.NoteMemo->SetText(std::string(4094, 'n'));
  SendKey(dlg.NoteMemo, Qt::Key_Return);  // a break needs two characters
  EXPECT_EQ(dlg.NoteMemo->TextLength(), 4094);
  TypeText(dlg.NoteMemo, "xy");
  EXPECT_EQ(dlg.NoteMemo->TextLength(), 4095);
  EXPECT_EQ(dlg.NotesSizeLabel->text(), "4095");
}

TEST_F(RecordDialog, CtrlEnterInNotePressesOkOnlyWhileEnabled) {
  Prepare();
  dlg.show();
  dlg.NoteMemo->SetText("x");
  dlg.NoteMemo->moveCursor(QTextCursor::End);
  SendKey(dlg.NoteMemo, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.NoteMemo->Text(), "x");

  dlg.Field1ValueEdit->setText("a");
  dlg.Field2ValueEdit->setText("b");
  SendKey(dlg.NoteMemo, Qt::Key_Enter, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.NoteMemo->Text(), "x");
}

TEST_F(RecordDialog, EnterInAFieldClosesOnlyWhileOkIsEnabledAndEscCancels) {
  Prepare();
  dlg.show();
  dlg.Field1ValueEdit->setText("a");
  SendKey(dlg.Field1ValueEdit, Qt::Key_Return);
  EXPECT_TRUE(dlg.isVisible());

  dlg.Field2ValueEdit->setText("b");
  SendKey(dlg.Field2ValueEdit, Qt::Key_Return);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);

  dlg.show();
  SendKey(dlg.Field1ValueEdit, Qt::Key_Escape);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(RecordDialog, EnterInTheNoteBreaksTheLineAndTabLeavesIt) {
  Prepare();
  dlg.show();
  dlg.Field1ValueEdit->setText("a");
  dlg.Field2ValueEdit->setText("b");
  SendKey(dlg.NoteMemo, Qt::Key_Return);
  SendKey(dlg.NoteMemo, Qt::Key_Tab);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.NoteMemo->Text(), "\r\n");
}

TEST_F(RecordDialog, RealModalExecClosedByCtrlEnter) {
  Prepare();
  TListRecord* rec = doc.AddRecord();
  rec->SetField1("f1");
  rec->SetField2("f2");
  dlg.LoadRecord(*rec);
  bool field1Focused = false;
  const int result = ExecWhile(dlg, [this, &field1Focused] {
    field1Focused = dlg.focusWidget() == dlg.Field1ValueEdit;
    dlg.NoteMemo->SetText("from exec");
    SendKey(dlg.NoteMemo, Qt::Key_Return, Qt::ControlModifier);
  });
  ASSERT_EQ(result, QDialog::Accepted);
  EXPECT_TRUE(field1Focused);
  dlg.StoreRecord(*rec);
  EXPECT_EQ(rec->Notes(), "from exec");
}

}  // namespace
