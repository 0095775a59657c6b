// The record hint's markup text.
#include <gtest/gtest.h>

#include <QStringList>

#include "components/RecordHint.h"
#include "core/listdb.h"

namespace {

class HintText : public ::testing::Test {
 protected:
  HintText() : record(doc.AddRecord()) {
    doc.SetCustomField1("Item");
    doc.SetCustomField2("Price");
    doc.Categories().Add("Shop");
    record->SetField1("Milk");
    record->SetField2("1.20");
    record->SetCategoryID(1);
  }
  TListDBData doc;
  TListRecord* record;
};

TEST_F(HintText, WithoutNotes) {
  EXPECT_EQ(GetRecordHintText(*record),
            "<u><b>Category</b></u>:\r\n  <c:blue>Shop<c:black>\r\n"
            "<u><b>Item</b></u>:\r\n  Milk\r\n"
            "<u><b>Price</b></u>:\r\n  1.20");
  // A note of blanks and breaks only gives no notes section.
  record->SetNotes(" \r\n\t \r\n ");
  EXPECT_FALSE(GetRecordHintText(*record).contains("Notes"));
  EXPECT_TRUE(GetRecordHintText(*record).endsWith("  1.20"));
}

TEST_F(HintText, WithNotesAndEscapedValues) {
  record->SetField1("a<b>c");
  record->SetField2("%s %d %1");  // placeholders in values are values
  record->SetNotes(" first\r\n<i>second ");
  record->SetCategoryID(-1);
  doc.SetCustomField2("<u>");
  EXPECT_EQ(GetRecordHintText(*record),
            "<u><b>Category</b></u>:\r\n  <c:blue>Unfiled<c:black>\r\n"
            "<u><b>Item</b></u>:\r\n  a< b>c\r\n"
            "<u><b>< u></b></u>:\r\n  %s %d %1\r\n"
            "<u><b>Notes</b></u>:\r\n first\r\n< i>second \r\n");
}

TEST(EscapeMarkup, BlankAfterEveryLessThan) {
  EXPECT_EQ(EscapeMarkup("<<a"), "< < a");
  EXPECT_EQ(EscapeMarkup("a > b"), "a > b");
  EXPECT_EQ(EscapeMarkup(""), "");
}

TEST(ShortenNoteText, LineBreaksOfAllKinds) {
  EXPECT_EQ(ShortenNoteText("a\r\nb\rc\nd"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(ShortenNoteText("a\r\n"), "a\r\n");            // no empty last line
  EXPECT_EQ(ShortenNoteText("a\n\nb"), "a\r\n\r\nb\r\n");  // inner empty lines stay
  EXPECT_EQ(ShortenNoteText("a\r\r\n"), "a\r\n\r\n");
  EXPECT_EQ(ShortenNoteText(""), "");
}

TEST(ShortenNoteText, AtMostEightLines) {
  QStringList twelve;
  for (int i = 1; i <= 12; ++i) twelve << QString("line %1").arg(i);
  QString expected;
  for (int i = 0; i < 8; ++i) expected += twelve[i] + "\r\n";
  expected += "...\r\n";
  EXPECT_EQ(ShortenNoteText(twelve.join("\r\n")), expected);
  // Exactly eight lines are kept whole.
  EXPECT_EQ(ShortenNoteText(twelve.mid(0, 8).join("\n") + "\n"), expected.chopped(5));
}

TEST(ShortenNoteText, LinesCutAtThirtyCharacters) {
  const QString thirty = "abcdefghijklmnopqrstuvwxyz0123";
  EXPECT_EQ(ShortenNoteText(thirty), thirty + "\r\n");
  EXPECT_EQ(ShortenNoteText(thirty + "X"), thirty + "...\r\n");
  // Escaping comes first, so its blanks count.
  const QString escaped = ShortenNoteText(EscapeMarkup(thirty.left(29) + "<"));
  EXPECT_EQ(escaped, thirty.left(29) + "<...\r\n");
}

}  // namespace
