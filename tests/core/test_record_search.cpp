// Whether a record matches a search request.
#include <gtest/gtest.h>

#include "core/RecordSearch.h"
#include "core/listdb.h"

namespace {

class RecordSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.Categories().Add("Secret");
    record = doc.AddRecord();
    record->SetField1("xABCx");
    record->SetField2("\xC4rger");  // A with diaeresis
    record->SetNotes("first line\r\nsecond LINE end");
    record->SetCategoryID(1);
  }
  bool Matches(const std::string& text, std::uint8_t where = InField1 | InField2 | InNotes) {
    return RecordMatchesSearch(*record, TRecSearchOptions{text, where});
  }

  TListDBData doc;
  TListRecord* record = nullptr;
};

TEST_F(RecordSearchTest, AsciiLettersMatchInEitherCaseOtherBytesExactly) {
  EXPECT_TRUE(Matches("abc"));
  EXPECT_TRUE(Matches("XaBcX"));
  EXPECT_TRUE(Matches("x"));  // at the very start and end
  EXPECT_TRUE(Matches("\xC4r"));
  EXPECT_FALSE(Matches("\xE4r"));  // a with diaeresis is not upper-cased
  EXPECT_TRUE(Matches("RGER"));
  EXPECT_FALSE(Matches("xabcxy"));  // longer than the value
  EXPECT_FALSE(Matches("ab c"));
}

TEST_F(RecordSearchTest, OnlyTheChosenPlacesAreSearched) {
  EXPECT_FALSE(Matches("abc", InNotes));
  EXPECT_FALSE(Matches("abc", InField2));
  EXPECT_TRUE(Matches("abc", InField1));
  EXPECT_TRUE(Matches("rger", InField2));
  EXPECT_FALSE(Matches("second", InField1 | InField2));
  EXPECT_TRUE(Matches("line\r\nsecond", InNotes));  // across the note's line break
  EXPECT_FALSE(Matches("abc", 0));
}

TEST_F(RecordSearchTest, EmptyTextAndCategoryNameNeverMatch) {
  EXPECT_FALSE(Matches(""));
  EXPECT_EQ(record->CategoryName(), "Secret");
  EXPECT_FALSE(Matches("secret"));
  TListRecord* empty = doc.AddRecord();
  EXPECT_FALSE(RecordMatchesSearch(*empty, TRecSearchOptions{"", InField1}));
  EXPECT_FALSE(RecordMatchesSearch(*empty, TRecSearchOptions{"a", InField1}));
}

// Every pair of bytes, as one-letter texts in values past the block size and
// inside a longer text: only a..z and A..Z are taken as equal, so Windows-1252
// letters (\xC4 and \xE4, \x8A and \x9A, \x9F and \xFF) keep their case.
TEST(TextSearcher, FoldsOnlyAsciiLettersForEveryByte) {
  auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
  for (int t = 0; t < 256; ++t) {
    const char text = static_cast<char>(t);
    const TTextSearcher one(std::string(1, text));
    const TTextSearcher framed(std::string("x") + text + "y");
    for (int v = 0; v < 256; ++v) {
      const bool equal =
          upper(static_cast<unsigned char>(t)) == upper(static_cast<unsigned char>(v));
      std::string value(100, '.');
      value[70] = static_cast<char>(v);
      ASSERT_EQ(one.FoundIn(value), equal || t == '.') << t << " in " << v;
      value.replace(69, 3, std::string("X") + static_cast<char>(v) + "Y");
      ASSERT_EQ(framed.FoundIn(value), equal) << t << " in " << v;
    }
  }
}

// Every position and overlap a searcher must get right, checked against the
// plain definition on all texts and values over a small alphabet, and the
// case that made a searcher comparing every start take seconds.
TEST(TextSearcher, AgreesWithThePlainSearchAndStaysLinear) {
  auto plain = [](std::string_view value, std::string_view text) {
    if (text.empty()) return false;
    for (size_t i = 0; i + text.size() <= value.size(); ++i) {
      size_t k = 0;
      while (k < text.size() && (value[i + k] | 0x20) == (text[k] | 0x20)) ++k;
      if (k == text.size()) return true;
    }
    return false;
  };
  // Words over {a, A, b} up to the given length (a and A are equal letters).
  auto words = [](size_t maxLength) {
    std::vector<std::string> all = {""};
    for (size_t n = 0; n < all.size(); ++n)
      if (all[n].size() < maxLength)
        for (char c : {'a', 'A', 'b'}) all.push_back(all[n] + c);
    return all;
  };
  const auto texts = words(5), values = words(7);
  for (const std::string& text : texts) {
    const TTextSearcher searcher(text);
    for (const std::string& value : values)
      ASSERT_EQ(searcher.FoundIn(value), plain(value, text)) << text << " in " << value;
  }
  // Values past the block size, the match at every place near its edges.
  const std::string needle = "ab@[`{";
  const TTextSearcher searcher("AB@[`{");
  for (size_t at = 0; at + needle.size() <= 200; ++at) {
    std::string value(200, 'a');
    value.replace(at, needle.size(), needle);
    EXPECT_TRUE(searcher.FoundIn(value)) << at;
    value[at + needle.size() - 1] = '[';  // not the text's last byte in any case
    EXPECT_FALSE(searcher.FoundIn(value)) << at;
  }
  const std::string note(4095, 'a');
  const std::string text = std::string(2047, 'a') + "b";
  const std::string hit = std::string(3000, 'a') + "b";
  const TTextSearcher worst(text);
  for (int i = 0; i < 2000; ++i) ASSERT_FALSE(worst.FoundIn(note));
  EXPECT_TRUE(worst.FoundIn(hit));
  EXPECT_FALSE(TTextSearcher(std::string(2048, 'a')).FoundIn(std::string(2047, 'a') + "ba"));
}

}  // namespace
