#include <gtest/gtest.h>

#include "platform/Canvas.h"
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

TEST(TextWrap, BreakToWidthBreaksAtBlanksFirstThenInsideWords) {
  TRecordingCanvas canvas;  // 7 pixels a character
  TWidthEstimator estimator;
  estimator.Reset(canvas);
  EXPECT_EQ(BreakToWidth("one two threefourfive", 35, canvas, estimator),
            (QStringList{"one ", "two ", "three", "fourf", "ive"}));
  // A blank just past the width ends the piece; a hyphen stays at its end.
  EXPECT_EQ(BreakToWidth("abcde fg-hijkl", 35, canvas, estimator),
            (QStringList{"abcde", "fg-", "hijkl"}));
  // Narrower than a character: one a piece. Characters the estimate lacks
  // are measured.
  EXPECT_EQ(BreakToWidth("ab", 3, canvas, estimator), (QStringList{"a", "b"}));
  EXPECT_EQ(BreakToWidth(QString(5, QChar(0x20AC)), 14, canvas, estimator).size(), 3);
  EXPECT_EQ(BreakToWidth("fits", 28, canvas, estimator), (QStringList{"fits"}));
}
