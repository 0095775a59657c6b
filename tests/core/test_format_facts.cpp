// What the reader reports beyond the document: header fields it keeps no
// copy of, and what it mended to load a file.
#include <gtest/gtest.h>

#include "core_test_util.h"

namespace {

TListFileFacts FactsOf(const TBytes& bytes) {
  TListDBData doc;
  TMemoryStream stream(bytes);
  TListFileFacts facts;
  facts.TrimmedRecords = 99;  // whatever it held before is replaced
  ReadListDB(doc, stream, facts);
  return facts;
}

TEST(ListFileFacts, AFileTheWriterMadeNeedsNoMending) {
  TListDBData doc;
  doc.SetNames("List", "A", "B");
  doc.Categories().Add("Work");
  TListRecord* r = doc.AddRecord();
  r->Assign("x", "y", "line\r\nline", 1);
  const TListFileFacts facts = FactsOf(WriteBytes(doc));
  EXPECT_EQ(facts.Attributes, 0x0008);
  EXPECT_EQ(facts.AppInfoOffset, facts.AppInfoFoundAt);
  EXPECT_EQ(facts.AppInfoFoundAt, 80u + 8u);
  EXPECT_EQ(facts.RenumberedCategories + facts.ClosedUpSlots + facts.RecordsInEmptySlots +
                facts.TrimmedRecords,
            0);
}

TEST(ListFileFacts, EachMendIsCounted) {
  TRawListFile raw;
  // Slot 2 is empty between named ones; slots 3 and 4 share id 3, and slot 5
  // uses "Unfiled"'s 0: two of them get new ids.
  raw.slotNames[1] = "Work";
  raw.slotIds[1] = 1;
  raw.slotNames[3] = "Home";
  raw.slotIds[3] = 3;
  raw.slotNames[4] = "Travel";
  raw.slotIds[4] = 3;
  raw.slotNames[5] = "Misc";
  raw.slotIds[5] = 0;
  raw.records.push_back({TRawListFile::Values(" padded", "b", "c"), 1});
  raw.records.push_back({TRawListFile::Values("a", "b", "note\n"), 1});
  raw.records.push_back({TRawListFile::Values("a", "b", "c"), 2});  // empty slot
  raw.records.push_back({TRawListFile::Values("a", "b", "c"), 9});  // empty slot
  raw.records.push_back({TRawListFile::Values("a", "b", "c"), 0});  // "Unfiled": fine
  raw.records.push_back({TRawListFile::Values("a", "b\t", "c"), 3});
  const TListFileFacts facts = FactsOf(raw.Build());
  EXPECT_EQ(facts.ClosedUpSlots, 1);
  EXPECT_EQ(facts.RenumberedCategories, 2);
  EXPECT_EQ(facts.RecordsInEmptySlots, 2);
  EXPECT_EQ(facts.TrimmedRecords, 3);
  EXPECT_EQ(facts.Attributes, 0);
}

}  // namespace
