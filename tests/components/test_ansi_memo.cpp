// The note memo: every byte kept, line breaks as CR LF, the typing limit in
// bytes with a break counting two, and what typing and pasting insert.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "components/AnsiMemo.h"

namespace {

// Pastes through the clipboard, as Ctrl+V does.
void Paste(TAnsiMemo& memo, const QString& text) {
  QApplication::clipboard()->setText(text);
  memo.paste();
}

TEST(AnsiMemo, KeepsEveryByteAndMakesAllLineBreaksCrLf) {
  TAnsiMemo memo;
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') all += static_cast<char>(b);
  memo.SetText(all);
  EXPECT_EQ(memo.Text(), all);
  EXPECT_EQ(memo.TextLength(), static_cast<int>(all.size()));

  memo.SetText("a\nb\rc\r\n\r\nd");
  EXPECT_EQ(memo.Text(), "a\r\nb\r\nc\r\n\r\nd");
  EXPECT_EQ(memo.TextLength(), 12);
}

TEST(AnsiMemo, PasteIsFilteredAndCutToTheRoomLeft) {
  TAnsiMemo memo;
  memo.SetMaxLength(10);
  memo.SetText("12345678");
  memo.moveCursor(QTextCursor::End);
  EXPECT_FALSE(memo.InsertText(QString::fromUtf8("x\u4e2dy")));  // not Windows-1252
  EXPECT_EQ(memo.Text(), "12345678");
  EXPECT_TRUE(memo.InsertText("\r\nzz"));  // a break takes the two bytes left
  EXPECT_EQ(memo.Text(), "12345678\r\n");
  EXPECT_FALSE(memo.InsertText("q"));

  // Replacing a selection frees its bytes, a break counting two.
  memo.selectAll();
  Paste(memo, "ab\ncd\nef\ngh");
  EXPECT_EQ(memo.Text(), "ab\r\ncd\r\nef");

  // A text set longer than the limit is kept and only shrinks.
  memo.SetMaxLength(4);
  memo.SetText("abcdef");
  memo.moveCursor(QTextCursor::End);
  QTest::keyClicks(&memo, "g");
  QTest::keyClick(&memo, 'h', Qt::AltModifier);
  EXPECT_EQ(memo.Text(), "abcdef");
  QTest::keyClick(&memo, Qt::Key_Backspace);
  EXPECT_EQ(memo.Text(), "abcde");
}

}  // namespace
