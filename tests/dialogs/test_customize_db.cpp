#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "dialog_test_util.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmCustomizeDB.h"

namespace {

struct CustomizeDB : ::testing::Test {
  TCustomizeDBDialog dlg{nullptr};
  void Names(const char* list, const char* f1, const char* f2) {
    dlg.ListNameEdit->setText(list);
    dlg.Field1Name->setText(f1);
    dlg.Field2Name->setText(f2);
  }
};

TEST_F(CustomizeDB, OkRuleOnTrimmedNames) {
  dlg.FormShow();
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  Names("List", "Name", "Phone");
  EXPECT_TRUE(dlg.OKBtn->isEnabled());
  Names("List", "Name", "Name ");  // equal once trimmed
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  Names("List", "Name", "name");  // letter case counts
  EXPECT_TRUE(dlg.OKBtn->isEnabled());
  Names("   ", "Name", "Phone");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  Names("List", "", "Phone");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
  Names("List", "Name", "\t");
  EXPECT_FALSE(dlg.OKBtn->isEnabled());
}

TEST_F(CustomizeDB, NamesAreTrimmedBothWaysAndNotCutWhenWritten) {
  dlg.SetListName("  New List 3 ");
  dlg.SetField1("Field1");
  dlg.SetField2(" Field2\t");
  EXPECT_EQ(dlg.ListNameEdit->text(), "New List 3");
  EXPECT_EQ(dlg.Field2Name->text(), "Field2");
  dlg.FormShow();
  EXPECT_TRUE(dlg.OKBtn->isEnabled());

  dlg.Field1Name->setText("  Kept  ");
  EXPECT_EQ(dlg.Field1(), "Kept");
  EXPECT_EQ(dlg.Field1Name->text(), "  Kept  ");

  const std::string longName(40, 'L');
  dlg.SetListName(longName);
  EXPECT_EQ(dlg.ListName(), longName);
  dlg.SetField2(std::string(20, 'F') + "\xE4");
  EXPECT_EQ(dlg.Field2(), std::string(20, 'F') + "\xE4");
}

TEST_F(CustomizeDB, TypingLimitsAreThirtyOneSixteenSixteen) {
  const QString many(40, 'x');
  QTest::keyClicks(dlg.ListNameEdit, many);
  QTest::keyClicks(dlg.Field1Name, many);
  QTest::keyClicks(dlg.Field2Name, many);
  EXPECT_EQ(dlg.ListNameEdit->text().size(), 31);
  EXPECT_EQ(dlg.Field1Name->text().size(), 16);
  EXPECT_EQ(dlg.Field2Name->text().size(), 16);
  // A character Windows-1252 cannot hold is refused.
  dlg.Field1Name->clear();
  for (const QChar c : QString::fromUtf8("a\u0416b"))
    QTest::sendKeyEvent(QTest::Click, dlg.Field1Name, Qt::Key_unknown, QString(c), Qt::NoModifier);
  EXPECT_EQ(dlg.Field1Name->text(), "ab");
}

TEST_F(CustomizeDB, EnterClosesWithOkEscAndTheCloseCommandCancel) {
  Names("L", "A", "B");
  dlg.show();
  QTest::keyClick(dlg.Field2Name, Qt::Key_Return);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  dlg.show();
  QTest::keyClick(dlg.Field2Name, Qt::Key_Escape);
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  dlg.setResult(0);
  dlg.show();
  dlg.close();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

}  // namespace
