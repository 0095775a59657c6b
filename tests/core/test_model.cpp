#include <gtest/gtest.h>

#include "CoreTestUtil.h"
#include "core/listdb.h"

namespace {

const std::string k112(112, 'a'), k113(113, 'a');

TEST(ListRecord, ValueLimitsAndMessages) {
  TListDBData doc;
  TListRecord* r = doc.AddRecord();
  r->SetField1(k112);
  r->SetField2(k112);
  r->SetNotes(std::string(4095, 'n'));
  EXPECT_EQ(r->Field1().size(), 112u);
  EXPECT_EQ(r->Notes().size(), 4095u);

  EXPECT_EQ(MessageOf<EListDBError>([&] { r->SetField1(k113); }),
            "Field1 value is longer than 112");
  EXPECT_EQ(MessageOf<EListDBError>([&] { r->SetField2(k113); }),
            "Field2 value is longer than 112");
  EXPECT_EQ(MessageOf<EListDBError>([&] { r->SetNotes(std::string(4096, 'n')); }),
            "Notes value is longer than 4095");
  // A refused value leaves the old one.
  EXPECT_EQ(r->Field1(), k112);
  EXPECT_EQ(r->Notes().size(), 4095u);
}

TEST(ListRecord, CategoryIdOnlyForExistingEntries) {
  TListDBData doc;
  const int32_t a = doc.Categories().Add("A");
  TListRecord* r = doc.AddRecord();
  EXPECT_EQ(r->CategoryID(), -1);
  EXPECT_EQ(r->CategoryName(), "Unfiled");
  r->SetCategoryID(a);
  EXPECT_EQ(r->CategoryID(), a);
  EXPECT_EQ(r->CategoryName(), "A");
  r->SetCategoryID(42);
  EXPECT_EQ(r->CategoryID(), -1);
  EXPECT_EQ(r->CategoryName(), "Unfiled");
  r->SetCategoryID(0);
  EXPECT_EQ(r->CategoryName(), "Unfiled");
}

TEST(ListRecord, NullOwnersAreRefused) {
  EXPECT_EQ(MessageOf<EListDBError>([] { TListRecord r(nullptr); }),
            "Owner of \"record\" can't be a NULL");
  EXPECT_EQ(MessageOf<EListDBError>([] { TListDBCategories c(nullptr); }),
            "Owner of \"categories\" can't be a NULL");
}

TEST(ListDBData, NameLimitsAndMessages) {
  TListDBData doc;
  doc.SetDatabaseName(std::string(32, 'd'));
  doc.SetCustomField1(std::string(16, '1'));
  doc.SetCustomField2(std::string(16, '2'));
  EXPECT_EQ(MessageOf<EListDBError>([&] { doc.SetDatabaseName(std::string(33, 'd')); }),
            "Database name is longer than 32");
  EXPECT_EQ(MessageOf<EListDBError>([&] { doc.SetCustomField1(std::string(17, 'x')); }),
            "CustomField1 name is longer than 16");
  EXPECT_EQ(MessageOf<EListDBError>([&] { doc.SetCustomField2(std::string(17, 'x')); }),
            "CustomField2 name is longer than 16");
  EXPECT_EQ(doc.DatabaseName(), std::string(32, 'd'));
  EXPECT_EQ(doc.CustomField1(), std::string(16, '1'));
}

TEST(ListDBData, RecordsIndexAndModified) {
  TListDBData doc;
  EXPECT_FALSE(doc.Modified);
  EXPECT_GT(doc.CreationDate, 40000.0);  // some time after 2009
  TListRecord* a = doc.AddRecord();
  TListRecord* b = doc.AddRecord();
  TListRecord* c = doc.AddRecord();
  EXPECT_FALSE(doc.Modified);  // adding leaves Modified to the caller
  EXPECT_EQ(c->Index(), 2);
  doc.DeleteRecord(1);
  EXPECT_TRUE(doc.Modified);
  ASSERT_EQ(doc.RecordCount(), 2);
  EXPECT_EQ(doc.GetRecord(0), a);
  EXPECT_EQ(doc.GetRecord(1), c);
  EXPECT_EQ(c->Index(), 1);
  (void)b;
  EXPECT_THROW(doc.DeleteRecord(2), std::out_of_range);
  EXPECT_EQ(doc.RecordCount(), 2);
  doc.Modified = false;
  doc.ClearRecords();
  EXPECT_EQ(doc.RecordCount(), 0);
  EXPECT_FALSE(doc.Modified);
}

TEST(Categories, AddIdsAndRefusals) {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  ASSERT_EQ(cats.Count(), 1);
  EXPECT_EQ(cats.NameAt(0), "Unfiled");
  EXPECT_EQ(cats.IDAt(0), 0);
  EXPECT_EQ(cats.Add("Business"), 1);
  EXPECT_EQ(cats.Add("Personal"), 2);
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add("bUSINESS"); }),
            "Categoriy named \"bUSINESS\" already exists");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add("unfiled"); }),
            "Categoriy named \"unfiled\" already exists");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add(std::string(17, 'c')); }),
            "Category name can't be longer than 16");
  EXPECT_EQ(cats.Add(std::string(16, 'c')), 3);
  // The new id follows the largest one, not the count.
  cats.Delete(2);
  EXPECT_EQ(cats.Add("Next"), 4);
}

TEST(Categories, AddStopsAtFifteenEntriesLengthCheckedFirst) {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  for (int i = 1; i < 15; ++i) cats.Add("C" + std::to_string(i));
  ASSERT_EQ(cats.Count(), 15);
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add("New"); }),
            "Count of categories can't be more than 15");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add("C1"); }),
            "Count of categories can't be more than 15");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Add(std::string(17, 'x')); }),
            "Category name can't be longer than 16");
  EXPECT_EQ(cats.Count(), 15);
}

TEST(Categories, DuplicateCheckFoldsWindows1252Letters) {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  cats.Add("\xC4pfel \x8A\x8C\x8E\x9F");  // Äpfel ŠŒŽŸ
  EXPECT_THROW(cats.Add("\xE4PFEL \x9A\x9C\x9E\xFF"), EListDBError);
  // × and ÷ are not a case pair; nor are the C1 neighbours of Š.
  cats.Add("\xD7");
  EXPECT_EQ(cats.Add("\xF7"), 3);
  cats.Add("\x8B");
  EXPECT_EQ(cats.Add("\x9B"), 5);
}

// The table ("Unfiled" 0, A 1, B 2) with one record in each category.
struct CategoryTable : ::testing::Test {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  TListRecord *unfiled = nullptr, *ra = nullptr, *rb = nullptr, *none = nullptr;
  void SetUp() override {
    cats.Add("A");
    cats.Add("B");
    unfiled = doc.AddRecord();
    unfiled->SetCategoryID(0);
    ra = doc.AddRecord();
    ra->SetCategoryID(1);
    rb = doc.AddRecord();
    rb->SetCategoryID(2);
    none = doc.AddRecord();
  }
};

TEST_F(CategoryTable, DeleteThenCompact) {
  cats.Delete(1);
  ASSERT_EQ(cats.Count(), 2);
  EXPECT_EQ(cats.NameAt(1), "B");
  EXPECT_EQ(cats.IDAt(1), 2);
  EXPECT_EQ(ra->CategoryID(), -1);
  EXPECT_EQ(rb->CategoryID(), 2);
  cats.Compact();
  EXPECT_EQ(cats.IDAt(0), 0);
  EXPECT_EQ(cats.IDAt(1), 1);
  EXPECT_EQ(rb->CategoryID(), 1);
  EXPECT_EQ(rb->CategoryName(), "B");
  EXPECT_EQ(unfiled->CategoryID(), 0);
  EXPECT_EQ(ra->CategoryID(), -1);
  EXPECT_EQ(none->CategoryID(), -1);
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Delete(2); }), "Category not found.");
}

TEST_F(CategoryTable, RenameExactCheck) {
  cats.Rename(1, "b");  // other letter case of another entry is accepted
  EXPECT_EQ(cats.NameOf(1), "b");
  cats.Rename(1, "b");  // its own name
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Rename(1, "B"); }),
            "Category \"B\" already exists.");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.Rename(7, "Z"); }), "Category not found.");
  EXPECT_EQ(cats.NameOf(1), "b");
  EXPECT_EQ(ra->CategoryID(), 1);
}

TEST_F(CategoryTable, ChangeIdMovesRecordsAndFirstEntry) {
  cats.ChangeID(2, 9);
  EXPECT_EQ(cats.IDAt(2), 9);
  EXPECT_EQ(rb->CategoryID(), 9);
  EXPECT_EQ(rb->CategoryName(), "B");
  EXPECT_EQ(MessageOf<EListDBError>([&] { cats.ChangeID(2, 3); }),
            "Unable to compact categories. Category with index 2 not exists");
}

TEST_F(CategoryTable, CompactKeepsRecordsWithScrambledIds) {
  // Ids that overlap the target positions: A 2, B 1, plus C 0 after "Unfiled" 5.
  cats.ChangeID(1, 100);
  cats.ChangeID(2, 1);
  cats.ChangeID(100, 2);
  cats.ChangeID(0, 5);
  cats.AppendEntry("C", 0);
  TListRecord* rc = doc.AddRecord();
  rc->SetCategoryID(0);
  cats.Compact();
  for (int i = 0; i < cats.Count(); ++i) EXPECT_EQ(cats.IDAt(i), i);
  EXPECT_EQ(unfiled->CategoryName(), "Unfiled");
  EXPECT_EQ(ra->CategoryName(), "A");
  EXPECT_EQ(rb->CategoryName(), "B");
  EXPECT_EQ(rc->CategoryName(), "C");
  EXPECT_EQ(rc->CategoryID(), 3);
  EXPECT_EQ(none->CategoryID(), -1);
}

TEST_F(CategoryTable, LookupsByIdAndName) {
  EXPECT_EQ(cats.NameOf(-1), "Unfiled");
  EXPECT_EQ(cats.NameOf(77), "Unfiled");
  EXPECT_EQ(cats.IndexOfID(2), 2);
  EXPECT_EQ(cats.IndexOfID(-1), -1);
  EXPECT_EQ(cats.IDOfName("B"), 2);
  EXPECT_EQ(cats.IDOfName("b"), -1);  // exact
  cats.Reset();
  EXPECT_EQ(cats.Count(), 1);
  EXPECT_EQ(cats.NameAt(0), "Unfiled");
}

TEST(Text, TrimRemovesControlCodesAndSpaces) {
  EXPECT_EQ(Trim(std::string("\0\t \x1F"
                             "a b\r\n ",
                             10)),
            "a b");
  EXPECT_EQ(Trim(" \x01 "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // a no-break space is not trimmed
}

TEST(Text, FoldCaseTable) {
  EXPECT_EQ(FoldCase1252('Q'), 'q');
  EXPECT_EQ(FoldCase1252('q'), 'q');
  EXPECT_EQ(FoldCase1252('@'), '@');
  EXPECT_EQ(FoldCase1252('['), '[');
  EXPECT_EQ(FoldCase1252('\xC0'), '\xE0');
  EXPECT_EQ(FoldCase1252('\xDE'), '\xFE');
  EXPECT_EQ(FoldCase1252('\xD7'), '\xD7');
  EXPECT_EQ(FoldCase1252('\xDF'), '\xDF');  // ß has no single-byte capital
  EXPECT_EQ(FoldCase1252('\x9F'), '\xFF');
  EXPECT_TRUE(SameTextIgnoreCase("\xC9t\xC9", "\xE9T\xE9"));
  EXPECT_FALSE(SameTextIgnoreCase("ab", "abc"));
}

}  // namespace
