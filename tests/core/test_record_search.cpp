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

}  // namespace
