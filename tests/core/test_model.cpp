#include <gtest/gtest.h>

#include <functional>

#include "core_test_util.h"

namespace {

TEST(Model, EveryLimitAcceptsItsLengthAndRefusesOneMore) {
  TListDBData doc;
  TListRecord* r = doc.AddRecord();
  struct Limit {
    std::function<void(const std::string&)> set;
    int length;
    const char* message;
  };
  const Limit limits[] = {
      {[&](const std::string& v) { r->SetField1(v); }, 112, "Field1 value is longer than 112"},
      {[&](const std::string& v) { r->SetField2(v); }, 112, "Field2 value is longer than 112"},
      {[&](const std::string& v) { r->SetNotes(v); }, 4095, "Notes value is longer than 4095"},
      {[&](const std::string& v) { doc.SetDatabaseName(v); }, 32,
       "Database name is longer than 32"},
      {[&](const std::string& v) { doc.SetCustomField1(v); }, 16,
       "CustomField1 name is longer than 16"},
      {[&](const std::string& v) { doc.SetCustomField2(v); }, 16,
       "CustomField2 name is longer than 16"},
      {[&](const std::string& v) { doc.Categories().Add(v); }, 16,
       "Category name can't be longer than 16"},
  };
  for (const Limit& limit : limits) {
    EXPECT_EQ(MessageOf<EListDBError>([&] { limit.set(std::string(limit.length, 'a')); }),
              "<none>");
    EXPECT_EQ(MessageOf<EListDBError>([&] { limit.set(std::string(limit.length + 1, 'b')); }),
              limit.message);
  }
  // A refused value leaves the old one.
  EXPECT_EQ(r->Field1(), std::string(112, 'a'));
  EXPECT_EQ(doc.DatabaseName(), std::string(32, 'a'));
  EXPECT_EQ(MessageOf<EListDBError>([] { TDetachedRecord x(nullptr); }),
            "Owner of \"record\" can't be a NULL");
  EXPECT_EQ(MessageOf<EListDBError>([] { TListDBCategories x(nullptr); }),
            "Owner of \"categories\" can't be a NULL");
}

// Assign and SetNames check every value before changing any: the first value
// refused raises the message its setter raises, and nothing changes.
TEST(Model, AssignAndSetNamesChangeAllOrNothing) {
  TListDBData doc;
  doc.Categories().Add("A");
  TListRecord* r = doc.AddRecord();
  r->Assign("f1", "f2", "n", 1);
  const std::string tooLong(113, 'x');
  EXPECT_EQ(MessageOf<EListDBError>([&] { r->Assign("new", tooLong, tooLong, 0); }),
            "Field2 value is longer than 112");
  EXPECT_EQ(MessageOf<EListDBError>([&] { r->Assign("new", "new", std::string(4096, 'n'), 0); }),
            "Notes value is longer than 4095");
  EXPECT_EQ(r->Field1(), "f1");
  EXPECT_EQ(r->Notes(), "n");
  EXPECT_EQ(r->CategoryID(), 1);
  r->Assign("a", "b", "c", 42);  // no entry has the id
  EXPECT_EQ(r->Field2(), "b");
  EXPECT_EQ(r->CategoryID(), -1);

  doc.SetNames("List", "One", "Two");
  EXPECT_EQ(MessageOf<EListDBError>([&] { doc.SetNames("New", "F", std::string(17, 'x')); }),
            "CustomField2 name is longer than 16");
  EXPECT_EQ(MessageOf<EListDBError>([&] { doc.SetNames(std::string(33, 'x'), tooLong, ""); }),
            "Database name is longer than 32");
  EXPECT_EQ(doc.DatabaseName(), "List");
  EXPECT_EQ(doc.CustomField1(), "One");
  EXPECT_EQ(doc.CustomField2(), "Two");
}

TEST(Model, RecordsCategoryIdsAndModified) {
  TListDBData doc;
  doc.Categories().Add("A");
  TListRecord* a = doc.AddRecord();
  TListRecord* b = doc.AddRecord();
  EXPECT_EQ(a->CategoryID(), -1);
  a->SetCategoryID(1);
  EXPECT_EQ(a->CategoryName(), "A");
  b->SetCategoryID(42);  // no entry has it
  EXPECT_EQ(b->CategoryID(), -1);
  EXPECT_EQ(b->CategoryName(), "Unfiled");
  doc.SetModified(false);
  doc.DeleteRecord(0);
  EXPECT_TRUE(doc.Modified());
  EXPECT_EQ(doc.GetRecord(0), b);
  EXPECT_EQ(b->Index(), 0);
  EXPECT_THROW(doc.DeleteRecord(1), std::out_of_range);
  EXPECT_EQ(doc.RecordCount(), 1);
}

TEST(Categories, AddNumbersFromLargestIdAndRefusesInOrder) {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  EXPECT_EQ(cats.Add("Business"), 1);
  EXPECT_EQ(cats.Add("Personal"), 2);
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add("bUSINESS"); }),
            "Categoriy named \"bUSINESS\" already exists");
  cats.Delete(1);
  EXPECT_EQ(cats.Add("Next"), 3);  // one more than the largest id, not the count
  for (int i = cats.Count(); i < 15; ++i) cats.Add(std::to_string(i) + "C");
  // With 15 entries: the count message even for a duplicate, the length one first.
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add("Personal"); }),
            "Count of categories can't be more than 15");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add(std::string(17, 'x')); }),
            "Category name can't be longer than 16");
  EXPECT_EQ(cats.Count(), 15);
}

TEST(Categories, DuplicateCheckFoldsWindows1252Letters) {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  cats.Add("\xC4pfel \xDE\x8A\x8C\x8E\x9F");  // ÄPFEL ÞŠŒŽŸ
  EXPECT_THROW(cats.Add("\xE4PFEL \xFE\x9A\x9C\x9E\xFF"), EListDBError);
  EXPECT_THROW(cats.Add("unfiled"), EListDBError);
  // × / ÷, ß / ÿ and the C1 neighbours of Š are not case pairs.
  for (const char* pair : {"\xD7\xF7", "\xDF\xFF", "\x8B\x9B", "@`"}) {
    EXPECT_FALSE(SameTextIgnoreCase(std::string(1, pair[0]), std::string(1, pair[1]))) << pair;
  }
  EXPECT_EQ(FoldCase1252('\xC0'), '\xE0');
  EXPECT_EQ(FoldCase1252('Z'), 'z');
  EXPECT_EQ(Trim(std::string("\0\t \x1F"
                             "a b\r\n ",
                             10)),
            "a b");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
}

// ("Unfiled" 0, A 1, B 2) with one record in each and one without a category.
struct CategoryTable : ::testing::Test {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  TListRecord* r[4] = {};
  void SetUp() override {
    cats.Add("A");
    cats.Add("B");
    for (int i = 0; i < 4; ++i) (r[i] = doc.AddRecord())->SetCategoryID(i < 3 ? i : -1);
  }
};

TEST_F(CategoryTable, DeleteThenCompact) {
  cats.Delete(1);
  ASSERT_EQ(cats.Count(), 2);
  EXPECT_EQ(cats.IDAt(1), 2);
  EXPECT_EQ(r[1]->CategoryID(), -1);
  cats.Compact();
  EXPECT_EQ(cats.NameAt(1), "B");
  EXPECT_EQ(cats.IDAt(1), 1);
  EXPECT_EQ(r[2]->CategoryID(), 1);
  EXPECT_EQ(r[0]->CategoryID(), 0);
  EXPECT_EQ(r[3]->CategoryID(), -1);
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Delete(2); }), "Category not found.");
}

TEST_F(CategoryTable, RenameIsExactAndChangeIdMovesRecords) {
  cats.Rename(1, "b");  // another entry's name in other letter case
  cats.Rename(1, "b");  // its own name
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Rename(1, "B"); }),
            "Category \"B\" already exists.");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Rename(7, "Z"); }), "Category not found.");
  EXPECT_EQ(cats.NameOf(1), "b");
  cats.ChangeID(2, 9);
  EXPECT_EQ(r[2]->CategoryID(), 9);
  EXPECT_EQ(r[2]->CategoryName(), "B");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.ChangeID(2, 3); }),
            "Unable to compact categories. Category with index 2 not exists");
}

TEST_F(CategoryTable, CompactKeepsRecordsWhenIdsOverlapPositions) {
  cats.ChangeID(1, 100);  // A 2, B 1, "Unfiled" 5, then C 0
  cats.ChangeID(2, 1);
  cats.ChangeID(100, 2);
  cats.ChangeID(0, 5);
  cats.AppendEntry("C", 0);
  TListRecord* rc = doc.AddRecord();
  rc->SetCategoryID(0);
  cats.Compact();
  for (int i = 0; i < cats.Count(); ++i) EXPECT_EQ(cats.IDAt(i), i);
  EXPECT_EQ(r[0]->CategoryName(), "Unfiled");
  EXPECT_EQ(r[1]->CategoryName(), "A");
  EXPECT_EQ(r[2]->CategoryName(), "B");
  EXPECT_EQ(rc->CategoryID(), 3);
  EXPECT_EQ(cats.NameOf(-1), "Unfiled");
  EXPECT_EQ(cats.IDOfName("c"), -1);  // exact
}

}  // namespace
