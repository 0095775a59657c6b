#include <gtest/gtest.h>

#include "platform/TextWrap.h"

TEST(TextWrap, BreaksAfterBlanksTabsAndHyphensWithinTheLimit) {
  EXPECT_EQ(WrapTextLine("one two three four", 9), (QStringList{"one two ", "three ", "four"}));
  EXPECT_EQ(WrapTextLine("well-known\tfact", 6), (QStringList{"well-", "known\t", "fact"}));
  // A blank just past the limit still ends the line; blanks starting the
  // continuation are dropped.
  EXPECT_EQ(WrapTextLine("abcde   fgh", 5), (QStringList{"abcde ", "fgh"}));
  EXPECT_EQ(WrapTextLine("a b", 1), (QStringList{"a ", "b"}));
  EXPECT_EQ(WrapTextLine("short", 10), (QStringList{"short"}));
  EXPECT_EQ(WrapTextLine("", 10), (QStringList{""}));
}

TEST(TextWrap, LongWordsAndQuotedTextStayWhole) {
  EXPECT_EQ(WrapTextLine("a verylongword b", 4), (QStringList{"a ", "verylongword ", "b"}));
  EXPECT_EQ(WrapTextLine("say \"not here\" then", 6),
            (QStringList{"say ", "\"not here\" ", "then"}));
  // An apostrophe inside a word opens no quote; an open quote ends with the line.
  EXPECT_EQ(WrapTextLine("don't stop me now", 6), (QStringList{"don't ", "stop ", "me now"}));
  EXPECT_EQ(WrapTextLine("x 'open quote runs on", 3), (QStringList{"x ", "'open quote runs on"}));
}
