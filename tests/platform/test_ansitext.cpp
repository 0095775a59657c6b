#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "platform/AnsiText.h"

TEST(AnsiText, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = AnsiToQString(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_TRUE(IsAnsiRepresentable(text));
  EXPECT_EQ(QStringToAnsi(text), all);
}

TEST(AnsiText, HighBytesMapToWindows1252) {
  EXPECT_EQ(AnsiToQString("\x80"), QString(QChar(0x20AC)));
  EXPECT_EQ(AnsiToQString("\x85"), QString(QChar(0x2026)));
  EXPECT_EQ(AnsiToQString("\x9F"), QString(QChar(0x0178)));
  EXPECT_EQ(AnsiToQString("\xE9"), QString(QChar(0xE9)));
  // The undefined bytes keep their C1 code points.
  for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(AnsiToQString(std::string(1, char(b))), QString(QChar(b))) << b;
  }
  EXPECT_EQ(QStringToAnsi(QString(QChar(0x20AC))), "\x80");
  EXPECT_EQ(QStringToAnsi(QString(QChar(0x2122))), "\x99");
}

TEST(AnsiText, UnrepresentableBecomesQuestionMark) {
  // U+0080 is not byte 0x80 (that is the euro sign); Cyrillic and CJK have no byte.
  EXPECT_EQ(QStringToAnsi(QString(QChar(0x80))), "?");
  EXPECT_EQ(QStringToAnsi(QStringLiteral(u"a\u0416b\u4E2D")), "a?b?");
  // A character outside the BMP is one '?', not two.
  EXPECT_EQ(QStringToAnsi(QString::fromUcs4(U"x\U0001F600y")), "x?y");
  EXPECT_FALSE(IsAnsiRepresentable(QChar(0x0416)));
  EXPECT_TRUE(IsAnsiRepresentable(QChar(0x20AC)));
  EXPECT_EQ(QStringToAnsi(QString()), "");
  EXPECT_EQ(AnsiToQString(std::string("a\0b", 3)).size(), 3);
}

TEST(AnsiText, ValidatorRefusesForeignCharacters) {
  TAnsiValidator v;
  int pos = 0;
  QString ok = QStringLiteral(u"Caf\u00E9 \u20AC5");
  EXPECT_EQ(v.validate(ok, pos), QValidator::Acceptable);
  QString bad = QStringLiteral(u"\u0416uk");
  EXPECT_EQ(v.validate(bad, pos), QValidator::Invalid);
  QString empty;
  EXPECT_EQ(v.validate(empty, pos), QValidator::Acceptable);
}

TEST(AnsiText, TrimViewTakesCodesUpTo32Only) {
  EXPECT_EQ(TrimView(QString(" \t\r\nabc \x01")), u"abc");
  // A no-break space (0xA0) is a character of the value, not trimmed.
  EXPECT_EQ(TrimView(QString(QChar(0xA0)) + "a").size(), 2);
  EXPECT_TRUE(TrimView(QStringLiteral("   ")).isEmpty());
}
