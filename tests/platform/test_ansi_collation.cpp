// Ranking Windows-1252 texts in a locale's order: the ranks must say exactly
// what the locale's collator says of every pair, whatever the texts hold.
#include <gtest/gtest.h>

#include <QCollator>
#include <random>
#include <string>

#include "platform/AnsiCollation.h"
#include "platform/AnsiText.h"

namespace {

// Characters that expand to two (æ ß œ ½ ™), are ignored (controls, the soft
// hyphen), differ only in case or accent, contract in some locales (aa, ch,
// ll), and bytes of 0x80..0x9F.
std::vector<std::string> TrickyTexts(size_t count) {
  static const char* const kPieces[] = {
      "a",  "A",    "aa",   "\xE5", "\xC5", "ch", "c",    "h",    "ll",   "l",    "\xE6", "ae",
      "AE", "\xC6", "\xDF", "ss",   "SS",   "o",  "\xF6", "\xD6", "\x9C", "oe",   "\x8C", "\xBD",
      "1",  "2",    "10",   " ",    "-",    "'",  "\x01", "\xAD", "\x99", "tm",   "\x80", "\x9F",
      "y",  "Y",    "\xFF", "z",    "Z",    "e",  "\xE9", "\xC9", "\xEA", "\xA0", ".",    "_"};
  std::mt19937 random(99);
  std::vector<std::string> texts;
  for (size_t i = 0; i < count; ++i) {
    std::string text;
    const int pieces = static_cast<int>(random() % 6);
    for (int p = 0; p < pieces; ++p) text += kPieces[random() % std::size(kPieces)];
    texts.push_back(text);
  }
  return texts;
}

// Negative, zero or positive as a sorts before, with or after b.
int Compare(const TAnsiCollation& collation, std::string_view a, std::string_view b) {
  const std::vector<uint32_t> ranks = collation.Ranks({a, b});
  return static_cast<int>(ranks[0]) - static_cast<int>(ranks[1]);
}

TEST(AnsiCollation, RanksAgreeWithTheCollatorOnEveryPairInEveryLocale) {
  const std::vector<std::string> texts = TrickyTexts(700);
  std::vector<std::string_view> views(texts.begin(), texts.end());
  for (const char* name : {"C", "en_US", "sv_SE", "da_DK", "cs_CZ", "de_DE", "es_ES", "fr_FR"}) {
    const QLocale locale(QString::fromLatin1(name));
    const TAnsiCollation collation(locale);
    QCollator reference(locale);
    reference.setCaseSensitivity(Qt::CaseSensitive);
    reference.setNumericMode(false);
    reference.setIgnorePunctuation(false);
    // The locale's own order, not a stand-in: "\xE5" comes before "z" in
    // English and after it in Swedish.
    if (std::string(name) == "en_US") {
      EXPECT_LT(Compare(collation, "\xE5", "z"), 0);
    } else if (std::string(name) == "sv_SE") {
      EXPECT_GT(Compare(collation, "\xE5", "z"), 0);
    }
    const std::vector<uint32_t> ranks = collation.Ranks(views);
    ASSERT_EQ(ranks.size(), texts.size());
    std::vector<QString> converted;
    for (const std::string& text : texts) converted.push_back(AnsiToQString(text));
    int wrong = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
      for (size_t j = i + 1; j < texts.size(); ++j) {
        const int expected = reference.compare(converted[i], converted[j]);
        const int got = ranks[i] < ranks[j] ? -1 : ranks[i] > ranks[j] ? 1 : 0;
        if ((expected > 0) - (expected < 0) != got && ++wrong <= 3)
          ADD_FAILURE() << name << ": \"" << converted[i].toStdString() << "\" vs \""
                        << converted[j].toStdString() << "\"";
      }
    }
    EXPECT_EQ(wrong, 0) << name;
    // Dense from 0.
    const uint32_t largest = *std::max_element(ranks.begin(), ranks.end());
    std::vector<bool> used(largest + 1);
    for (uint32_t r : ranks) used[r] = true;
    EXPECT_EQ(std::count(used.begin(), used.end(), false), 0) << name;
  }
}

TEST(AnsiCollation, EdgeCases) {
  const TAnsiCollation collation{QLocale(QLocale::English, QLocale::UnitedStates)};
  EXPECT_TRUE(collation.Ranks({}).empty());
  EXPECT_EQ(collation.Ranks({"x"}), std::vector<uint32_t>({0}));
  // Equal texts share a rank; case is kept apart; a long common start.
  const std::string longA = std::string(4000, 'q') + "a", longB = std::string(4000, 'q') + "B";
  EXPECT_EQ(collation.Ranks({"b", "", "b", "B", "a", longB, longA}),
            std::vector<uint32_t>({2, 0, 2, 3, 1, 5, 4}));
  EXPECT_LT(Compare(collation, "a", "B"), 0);
  EXPECT_NE(Compare(collation, "b", "B"), 0);
  EXPECT_EQ(Compare(collation, "\x80", "\x80"), 0);
}

}  // namespace
