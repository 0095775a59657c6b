// What a document tells its listeners, and "modified" as the changes since the
// last save or load.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core_test_util.h"

namespace {

// Each change as a short line: "added 2", "changed 0 all", "removed 1,3", ...
struct TChangeLog {
  explicit TChangeLog(TListDBData& doc) : doc(doc) {
    key = doc.Subscribe([this](const TListDBChange& c) { lines.push_back(Line(c)); });
  }
  ~TChangeLog() { doc.Unsubscribe(key); }
  std::string Line(const TListDBChange& c) const {
    switch (c.kind) {
      case TListDBChange::RecordAdded:
        return "added " + std::to_string(c.record->Index());
      case TListDBChange::RecordChanged:
        return "changed " + std::to_string(c.record->Index()) +
               (c.allValues ? " all" : " " + std::to_string(static_cast<int>(c.value)));
      case TListDBChange::RecordsRemoved: {
        std::string line = "removed";
        for (int i : c.removed) line += (line.size() > 7 ? "," : " ") + std::to_string(i);
        return line;
      }
      case TListDBChange::Categories:
        return "categories";
      case TListDBChange::Names:
        return "names";
      case TListDBChange::Reset:
        return "reset " + std::to_string(doc.RecordCount());
      case TListDBChange::Destroyed:
        return "destroyed";
    }
    return "?";
  }
  std::vector<std::string> Take() { return std::exchange(lines, {}); }
  TListDBData& doc;
  int key;
  std::vector<std::string> lines;
};

using Lines = std::vector<std::string>;

TEST(DocumentChanges, EachChangeIsToldOnceWithWhatChanged) {
  TListDBData doc;
  TChangeLog log(doc);
  TListRecord* a = doc.AddRecord();
  a->SetField1("a");
  a->SetNotes("n");
  a->SetCategoryID(0);
  a->Assign("x", "y", "z", 0);
  TListRecord* b = doc.AddRecord();
  *b = *a;
  EXPECT_EQ(log.Take(), (Lines{"added 0", "changed 0 0", "changed 0 2", "changed 0 3",
                               "changed 0 all", "added 1", "changed 1 all"}));

  // A refused value changes nothing and tells nobody.
  EXPECT_THROW(a->SetField2(std::string(113, 'x')), EListDBError);
  EXPECT_THROW(a->Assign("ok", std::string(113, 'x'), "", 0), EListDBError);
  // A record outside the list holds values only.
  TDetachedRecord values(&doc);
  values.SetField1("v");
  EXPECT_EQ(log.Take(), Lines{});

  doc.Categories().Add("Work");
  doc.SetNames("L", "F1", "F2");
  doc.SetCustomField1("G");
  EXPECT_EQ(log.Take(), (Lines{"categories", "names", "names"}));

  for (int i = 0; i < 4; ++i) doc.AddRecord()->SetField1(std::to_string(i));
  log.Take();
  doc.DeleteRecords({4, 1, 4, 3});
  EXPECT_EQ(log.Take(), Lines{"removed 1,3,4"});
  EXPECT_EQ(doc.RecordCount(), 3);
  EXPECT_EQ(doc.GetRecord(1)->Field1(), "0");
  EXPECT_EQ(doc.GetRecord(2)->Field1(), "3");
  // A bad position deletes nothing.
  EXPECT_THROW(doc.DeleteRecords({0, 3}), std::out_of_range);
  EXPECT_EQ(doc.RecordCount(), 3);
  doc.DeleteRecords({});
  EXPECT_EQ(log.Take(), Lines{});

  doc.ClearRecords();
  EXPECT_EQ(log.Take(), Lines{"reset 0"});
  doc.Unsubscribe(log.key);
  doc.AddRecord();
  EXPECT_EQ(log.Take(), Lines{});
}

// Appending in bulk tells, counts and checks as AddRecord and Assign do; its
// texts take exact room, and a record changed later still keeps its
// neighbours whole.
TEST(DocumentChanges, AppendingIsAddingAndAssigning) {
  TListDBData doc;
  doc.Categories().Add("Work");
  doc.Categories().Add("Home");
  doc.Categories().Delete(1);  // Home keeps id 2 at position 1
  uint64_t changes = doc.ChangeCount(), revision = doc.Revision(TRecordValue::Notes);
  doc.AppendRecord("a", "", "n", 2);
  EXPECT_EQ(doc.ChangeCount(), changes + 2);
  EXPECT_NE(doc.Revision(TRecordValue::Notes), revision);
  EXPECT_EQ(doc.GetRecord(0)->CategoryName(), "Home");
  // Unheard appends show in every revision at the next look, one or many.
  for (int appends : {1, 3}) {
    const uint64_t before = doc.Revision(TRecordValue::Field1);
    EXPECT_EQ(doc.Revision(TRecordValue::Field1), before);
    for (int i = 0; i < appends; ++i) doc.AppendRecord("b", "", "", 0);
    for (TRecordValue v :
         {TRecordValue::Field1, TRecordValue::Field2, TRecordValue::Notes, TRecordValue::Category})
      EXPECT_GT(doc.Revision(v), before);
  }
  {
    TChangeLog log(doc);
    std::string seen;
    const int key = doc.Subscribe([&](const TListDBChange& c) {
      if (c.kind == TListDBChange::RecordAdded) seen = std::string(c.record->Field1()) + "|";
    });
    changes = doc.ChangeCount();
    doc.AppendRecord("x", "y", "z", 1);  // no entry has id 1 any more
    EXPECT_EQ(log.Take(), (Lines{"added 5", "changed 5 all"}));
    EXPECT_EQ(seen, "|");  // told of an empty record first
    EXPECT_EQ(doc.ChangeCount(), changes + 2);
    EXPECT_EQ(doc.GetRecord(5)->CategoryID(), -1);
    // A refused value adds nothing and tells nobody.
    EXPECT_THROW(doc.AppendRecord("ok", "", std::string(4096, 'n'), 0), EListDBError);
    EXPECT_EQ(doc.RecordCount(), 6);
    EXPECT_EQ(log.Take(), Lines{});
    doc.Unsubscribe(key);
  }
  for (int i = 0; i < 1000; ++i) doc.AppendRecord(std::to_string(i), "v", std::string(100, 'n'), 0);
  doc.GetRecord(6)->SetField1(std::string(112, 'f'));
  EXPECT_EQ(doc.GetRecord(6)->Field1(), std::string(112, 'f'));
  EXPECT_EQ(doc.GetRecord(6)->Notes(), std::string(100, 'n'));
  for (int i : {7, 500, 1005}) EXPECT_EQ(doc.GetRecord(i)->Field1(), std::to_string(i - 6));
  EXPECT_EQ(doc.GetRecord(7)->Notes(), std::string(100, 'n'));
}

TEST(DocumentChanges, ReadingTellsOnceEvenWhenRefused) {
  TListDBData source;
  for (int i = 0; i < 3; ++i) source.AddRecord()->SetField1(std::to_string(i));
  const TBytes bytes = WriteBytes(source);

  TListDBData doc;
  TChangeLog log(doc);
  ReadBytes(doc, bytes);
  Lines lines = log.Take();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "reset 3");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "reset 3"), 1);

  EXPECT_ANY_THROW(ReadBytes(doc, TBytes(bytes.begin(), bytes.begin() + 100)));
  EXPECT_EQ(log.Take().back(), "reset 0");
}

TEST(DocumentChanges, ModifiedFollowsTheChangesSinceSaved) {
  TListDBData doc;
  EXPECT_FALSE(doc.Modified());
  TListRecord* r = doc.AddRecord();
  EXPECT_TRUE(doc.Modified());
  doc.SetModified(false);  // saved
  EXPECT_FALSE(doc.Modified());
  TDetachedRecord values(&doc);
  values.SetField1("kept aside");
  EXPECT_THROW(r->SetNotes(std::string(4096, 'n')), EListDBError);
  EXPECT_FALSE(doc.Modified());
  r->SetField1("x");
  EXPECT_TRUE(doc.Modified());
  doc.SetModified(false);
  doc.SetModified(true);  // a new list counts as unsaved
  EXPECT_TRUE(doc.Modified());
  doc.SetModified(false);
  doc.Categories().Compact();  // already compact: nothing changes
  EXPECT_FALSE(doc.Modified());
  doc.SetNames("n", "", "");
  EXPECT_TRUE(doc.Modified());
}

TEST(DocumentChanges, ListenersMayLetGoWhileTold) {
  auto owned = std::make_unique<TListDBData>();
  TListDBData* doc = owned.get();
  int first = 0, second = 0, destroyed = 0;
  int secondKey = -1;
  doc->Subscribe([&](const TListDBChange& c) {
    ++first;
    if (c.kind == TListDBChange::Destroyed) ++destroyed;
    doc->Unsubscribe(secondKey);
  });
  secondKey = doc->Subscribe([&](const TListDBChange&) { ++second; });
  doc->AddRecord();
  doc->AddRecord();
  EXPECT_EQ(first, 2);
  EXPECT_EQ(second, 1);  // told of the change during which it was let go, not after
  owned.reset();
  EXPECT_EQ(destroyed, 1);
}

}  // namespace
