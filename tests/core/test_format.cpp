#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "core/PalmTypesUnit.h"
#include "core_test_util.h"

namespace {

TEST(WriteListDB, EmptyListIsExactly592Bytes) {
  TListDBData doc;
  doc.SetDatabaseName("Phones");
  doc.SetCustomField1("Name");
  doc.SetCustomField2("Number");
  const double before = NowLocal();
  TBytes b = WriteBytes(doc);
  ASSERT_EQ(b.size(), 592u);
  for (size_t at : {36, 40, 44}) {  // now, in seconds since 1970 of the local clock
    EXPECT_NEAR(DecodeHeaderDate(BigLong(b, at)), before, 2.0 / 86400);
    std::memset(&b[at], 0, 4);
  }
  TBytes expected(592);
  std::memcpy(&expected[0], "Phones", 6);
  expected[33] = 0x08;  // backup flag
  expected[55] = 80;    // application-info offset
  std::memcpy(&expected[60], "DATALSdb", 8);
  expected[78] = 0x80;  // filler
  expected[81] = 0x0E;  // category flags
  std::memcpy(&expected[82], "Unfiled", 7);
  expected[80 + 274] = 2;  // last unique id counts from 1
  std::memcpy(&expected[80 + 278], "Name", 4);
  std::memcpy(&expected[80 + 294], "Number", 6);
  EXPECT_EQ(b, expected);
}

TEST(WriteListDB, RecordsEntriesAndLineBreaks) {
  TListDBData doc;
  doc.Categories().Add("A");
  doc.Categories().Add("B");
  doc.AddRecord()->SetCategoryID(2);
  TBytes b = WriteBytes(doc);
  ASSERT_EQ(b.size(), 606u);
  EXPECT_EQ(BigLong(b, 52), 88u);
  EXPECT_EQ(Text(b, 76, 12), std::string("\0\1\0\0\x02\x58\2\0\0\0\x80\0", 12));
  EXPECT_EQ(Text(b, 88 + 258, 4), std::string("\0\1\2\0", 4));
  EXPECT_EQ(b[88 + 274], 3);
  EXPECT_EQ(Text(b, 600, 6), std::string("\3\4\5\0\0\0", 6));

  TListRecord* r = doc.GetRecord(0);
  r->SetField1("ab");
  r->SetField2("c\r\nd");
  r->SetNotes("x\r\ny\rz");  // CR LF becomes LF, a lone CR stays
  for (int i = 1; i < 300; ++i) doc.AddRecord();
  b = WriteBytes(doc);
  const size_t start = 592 + 8 * 300;
  EXPECT_EQ(BigLong(b, 78), start);
  EXPECT_EQ(Text(b, start, 16), std::string("\3\6\12ab\0c\nd\0x\ny\rz\0", 16));
  EXPECT_EQ(BigLong(b, 78 + 8), start + 16);
  EXPECT_EQ(Text(b, 78 + 8 * 299 + 5, 3), std::string("\0\1\x2B", 3));  // unique id 299
}

TEST(WriteListDB, UncompactedIdsKeepRecordsInTheirCategories) {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  for (const char* name : {"A", "B", "C"}) cats.Add(name);
  cats.Delete(1);          // ("Unfiled" 0, B 2, C 3)
  cats.ChangeID(3, 0x1F);  // an id whose high bits would be the handheld's flags
  doc.AddRecord()->SetCategoryID(2);
  doc.AddRecord()->SetCategoryID(0x1F);
  doc.AddRecord();
  const TBytes b = WriteBytes(doc);
  EXPECT_EQ(b[82], 1);
  EXPECT_EQ(b[90], 2);
  EXPECT_EQ(b[98], 0);
  TListDBData back;
  ReadBytes(back, b);
  EXPECT_EQ(back.GetRecord(0)->CategoryName(), "B");
  EXPECT_EQ(back.GetRecord(1)->CategoryName(), "C");
  EXPECT_EQ(back.GetRecord(2)->CategoryID(), 0);
}

TEST(WriteListDB, RefusesWhatTheFileCannotHoldBeforeTouchingTheStream) {
  const TBytes old{'o', 'l', 'd'};
  TListDBData doc;
  TListRecord* r = doc.AddRecord();
  r->StoreField1Unchecked(std::string(200, 'a'));
  r->StoreField2Unchecked(std::string(51, 'b'));
  TMemoryStream stream(old);
  EXPECT_EQ(MessageOf<EListDBError>([&] { WriteListDB(doc, stream); }),
            "Record 1 of 1 cannot be saved: its two field values are 251 characters long "
            "together, but a list file can hold at most 250");
  EXPECT_EQ(stream.Bytes(), old);
  r->StoreField2Unchecked(std::string(49, 'b') + "\r\n");  // 250 once CR LF is LF
  WriteListDB(doc, stream);
  EXPECT_EQ(stream.Bytes()[602], 255);

  for (int i = 1; i < 65536; ++i) doc.AddRecord();
  TMemoryStream full(old);
  EXPECT_EQ(MessageOf<EListDBError>([&] { WriteListDB(doc, full); }),
            "The list has 65536 records, but a list file can hold at most 65535");
  EXPECT_EQ(full.Bytes(), old);
}

TEST(ReadListDB, WrongTypeOrCreatorIsRefused) {
  TRawListFile raw;
  raw.creator = "LSDB";
  EXPECT_EQ(ReadError(raw), "Invalid database type or creator ID: DATA-LSDB");
  raw.creator = "LSdb";
  raw.type = "data";
  EXPECT_EQ(ReadError(raw), "Invalid database type or creator ID: data-LSdb");
}

TEST(ReadListDB, SlotsCloseUpAndUnknownSlotsGiveNoCategory) {
  TRawListFile raw;
  raw.slotNames[1] = "Work";
  raw.slotIds[1] = 1;
  raw.slotNames[3] = "Home";
  raw.slotIds[3] = 3;
  for (uint8_t attributes : {1, 3, 2, 0xF0}) {  // slot 2 is empty; flag bits are ignored
    raw.records.push_back({TRawListFile::Values("", "", ""), attributes});
  }
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  ASSERT_EQ(doc.Categories().Count(), 3);
  EXPECT_EQ(doc.Categories().NameAt(2), "Home");
  EXPECT_EQ(doc.Categories().IDAt(2), 3);
  EXPECT_EQ(doc.GetRecord(0)->CategoryID(), 1);
  EXPECT_EQ(doc.GetRecord(1)->CategoryID(), 3);
  EXPECT_EQ(doc.GetRecord(2)->CategoryID(), -1);
  EXPECT_EQ(doc.GetRecord(3)->CategoryID(), 0);

  CompactCategories(doc);  // a later save writes them into slots 1 and 2
  const TBytes b = WriteBytes(doc);
  EXPECT_EQ(Text(b, 112 + 2 + 32, 5), std::string("Home\0", 5));
  EXPECT_EQ(b[112 + 258 + 2], 2);
  EXPECT_EQ(b[78 + 8 + 4], 2);
  EXPECT_EQ(b[78 + 16 + 4], 0);  // the record without a category lands in slot 0

  raw.slotNames[0] = "Misc";  // slot 0's name only serves the lookup
  ReadBytes(doc, raw.Build());
  EXPECT_EQ(doc.Categories().NameAt(0), "Unfiled");
  EXPECT_EQ(doc.GetRecord(3)->CategoryID(), -1);
}

TEST(ReadListDB, SharedCategoryIdsKeepEveryRecordInItsOwnSlot) {
  struct Case {
    const char* what;
    std::array<uint8_t, 16> ids;
  };
  const Case cases[] = {
      {"two slots share id 5", {0, 5, 5, 7}},
      {"every slot has id 0", {0, 0, 0, 0}},
      {"a later unique id is not taken by a renumbered one", {0, 2, 2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TRawListFile raw;
    raw.slotNames[1] = "Work";
    raw.slotNames[2] = "Home";
    raw.slotNames[3] = "Travel";
    raw.slotIds = c.ids;
    for (uint8_t slot : {1, 2, 3, 0})
      raw.records.push_back({TRawListFile::Values("", "", ""), slot});
    TListDBData doc;
    ReadBytes(doc, raw.Build());
    ASSERT_EQ(doc.Categories().Count(), 4);
    std::set<int32_t> ids;
    for (int i = 0; i < 4; ++i) ids.insert(doc.Categories().IDAt(i));
    EXPECT_EQ(ids.size(), 4u);
    EXPECT_EQ(doc.Categories().IDAt(1), c.ids[1] == 0 ? 1 : c.ids[1]);  // first holder keeps it
    const char* names[] = {"Work", "Home", "Travel", "Unfiled"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(doc.GetRecord(i)->CategoryName(), names[i]);

    CompactCategories(doc);  // and they stay there through a save
    TListDBData back;
    ReadBytes(back, WriteBytes(doc));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(back.GetRecord(i)->CategoryName(), names[i]);
    EXPECT_EQ(back.GetRecord(2)->CategoryID(), 3);
  }
}

TEST(ReadListDB, LongNotesFromTheHandheldOpenAndSaveBackUnchanged) {
  // 4,000 bytes with 2,000 LF hold 6,000 characters once the breaks are CR LF.
  std::string note;
  for (int i = 0; i < 2000; ++i) note += i % 2 ? "b\n" : "a\n";
  note.back() = 'z';
  TRawListFile raw;
  raw.records.push_back({TRawListFile::Values("Ann", "", note)});
  raw.records.push_back({TRawListFile::Values("Bob", "", "x\ry\nz")});
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  EXPECT_EQ(doc.GetRecord(0)->Notes().size(), 4000u + 1999u);
  const TBytes saved = WriteBytes(doc);
  EXPECT_EQ(Text(saved, 608 + 3 + 4 + 1, note.size()), note);
  // A note the writer leaves with lone breaks reads again, whatever its length.
  TListDBData lone;
  lone.AddRecord()->SetNotes(std::string(4000, '\n') + "end");
  TListDBData back;
  ReadBytes(back, WriteBytes(lone));
  EXPECT_EQ(back.GetRecord(0)->Notes(), "end");  // the breaks at the start are trimmed
  lone.GetRecord(0)->SetNotes("a" + std::string(3000, '\r') + "b");
  ReadBytes(back, WriteBytes(lone));
  EXPECT_EQ(back.GetRecord(0)->Notes().size(), 6002u);
}

TEST(ReadListDB, ValuesAreTrimmedNotesGetCrLfAndShortDataStaysInside) {
  TRawListFile raw;
  raw.records.push_back({TRawListFile::Values("  Ann\t", "\x01 555 ", " a\nb\rc\r\nd\n\re \n")});
  raw.records.push_back({{}});                     // no data at all
  raw.records.push_back({{3, 200, 1, 'a', 'b'}});  // no terminator, an offset past the end
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  EXPECT_EQ(doc.GetRecord(0)->Field1(), "Ann");
  EXPECT_EQ(doc.GetRecord(0)->Field2(), "555");
  EXPECT_EQ(doc.GetRecord(0)->Notes(), "a\r\nb\r\nc\r\nd\r\n\r\ne");
  EXPECT_EQ(doc.GetRecord(1)->Field1(), "");
  EXPECT_EQ(doc.GetRecord(2)->Field1(), "ab");
  EXPECT_EQ(doc.GetRecord(2)->Field2(), "");
  EXPECT_EQ(doc.GetRecord(2)->Notes(), std::string("\xC8\x01") + "ab");
}

TEST(ReadListDB, MalformedFilesAreRefused) {
  TRawListFile raw;
  for (const char* v : {"a", "b", "c"}) raw.records.push_back({TRawListFile::Values(v, v, v)});
  ASSERT_EQ(ReadError(raw), "<none>");
  TRawListFile bad = raw;
  bad.records[2].forcedOffset = 100000;
  EXPECT_EQ(ReadError(bad),
            "Invalid record 3 of 3: its data offset 100000 lies beyond the end of the file (643 "
            "bytes)");
  bad = raw;
  bad.records[1].forcedOffset = 10;
  EXPECT_EQ(ReadError(bad),
            "Invalid record 2 of 3: its data offset 10 lies before the previous record's offset "
            "616");
  bad = raw;
  bad.records[1].data.resize(4355, 'x');
  EXPECT_EQ(ReadError(bad),
            "Invalid record 2 of 3: its data of 4355 bytes is larger than 4354 bytes");
  bad.records[1].data.resize(4354);
  EXPECT_EQ(ReadError(bad), "<none>");

  const TBytes bytes = raw.Build();  // too short for header, entries, block
  for (size_t size : {0, 77, 101, 615}) {
    TMemoryStream stream(TBytes(bytes.begin(), bytes.begin() + static_cast<long>(size)));
    TListDBData doc;
    EXPECT_EQ(MessageOf<EStreamError>([&] { ReadListDB(doc, stream); }), "Stream read error");
  }
}

TEST(ReadListDB, RichListRoundTrip) {
  TListDBData doc;
  doc.SetDatabaseName(std::string(31, 'N') + "\xE9");  // fills the field, no terminator
  doc.SetCustomField1(std::string(16, 'F'));
  doc.SetCustomField2(
      "\xC9"
      "crit");
  for (int i = 1; i < 15; ++i) doc.Categories().Add(std::string(i == 14 ? 16 : 3, 'a' + i));
  doc.Categories().AppendEntry("Sixteenth", 15);  // a file may hold 16
  for (int i = 0; i < 600; ++i) {
    TListRecord* r = doc.AddRecord();
    r->SetField1("Person " + std::to_string(i));
    r->SetField2(std::string(i % 7 ? 12 : 112, static_cast<char>(0x80 + i % 100)));
    r->SetNotes(i == 3 ? std::string(4095, 'z') : i % 5 ? "" : "one\r\ntwo\r\n\r\nend");
    r->SetCategoryID(i % 17 - 1);
  }
  TListDBData back;
  back.SetModified(true);
  back.FileName = "kept";
  ReadBytes(back, WriteBytes(doc));
  ReadBytes(back, WriteBytes(doc));  // a second read replaces, not appends
  EXPECT_TRUE(back.Modified());
  EXPECT_EQ(back.FileName, "kept");
  EXPECT_EQ(back.DatabaseName(), doc.DatabaseName());
  EXPECT_EQ(back.CustomField1(), doc.CustomField1());
  EXPECT_EQ(back.CustomField2(), doc.CustomField2());
  ASSERT_EQ(back.Categories().Count(), 16);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(back.Categories().NameAt(i), doc.Categories().NameAt(i));
  ASSERT_EQ(back.RecordCount(), 600);
  for (int i = 0; i < 600; ++i) {
    const TListRecord *a = doc.GetRecord(i), *b = back.GetRecord(i);
    EXPECT_EQ(b->Field1(), a->Field1());
    EXPECT_EQ(b->Field2(), a->Field2());
    EXPECT_EQ(b->Notes(), a->Notes());
    EXPECT_EQ(b->CategoryID(), std::max(a->CategoryID(), 0));
  }
}

// A list read a batch at a time, the records cleared between batches, gives
// the records, categories and facts of one whole read, in order; a refused
// file is refused as the whole read refuses it.
TEST(ListFileReader, BatchesGiveWhatTheWholeReadGives) {
  TRawListFile raw;
  raw.slotNames[1] = "Work";
  raw.slotIds[1] = 1;
  raw.slotNames[3] = "Home";
  raw.slotIds[3] = 1;  // shared: renumbered
  for (int i = 0; i < 300; ++i) {
    // Long notes, so that the records take more than one read window.
    const std::string notes = i % 3 ? "a\nb" : std::string(1500 + i, 'n');
    raw.records.push_back({TRawListFile::Values(i % 7 ? "f" + std::to_string(i) : " padded ",
                                                std::to_string(i), notes),
                           static_cast<uint8_t>(i % 5)});  // slots 2 and 4 are empty
  }
  const TBytes bytes = raw.Build();
  TListDBData whole;
  ReadBytes(whole, bytes);
  for (size_t batch : {1, 7, 128, 300, 1000}) {
    SCOPED_TRACE(batch);
    TListDBData doc;
    doc.AddRecord()->SetField1("replaced");
    TMemoryStream stream(bytes);
    TListFileFacts facts;
    TListFileReader reader(doc, stream, &facts);
    EXPECT_EQ(doc.RecordCount(), 0);
    EXPECT_EQ(reader.RecordCount(), 300u);
    EXPECT_EQ(doc.Categories().Count(), 3);
    int at = 0;
    while (reader.ReadRecords(batch)) {
      ASSERT_LE(static_cast<size_t>(doc.RecordCount()), batch);
      for (int i = 0; i < doc.RecordCount(); ++i, ++at) {
        const TListRecord *a = whole.GetRecord(at), *b = doc.GetRecord(i);
        ASSERT_EQ(b->Field1(), a->Field1()) << at;
        ASSERT_EQ(b->Field2(), a->Field2()) << at;
        ASSERT_EQ(b->Notes(), a->Notes()) << at;
        ASSERT_EQ(b->CategoryID(), a->CategoryID()) << at;
      }
      doc.ClearRecords();
    }
    EXPECT_EQ(at, 300);
    EXPECT_EQ(facts.RecordsInEmptySlots, 120);
    EXPECT_EQ(facts.TrimmedRecords, 43);
  }

  TRawListFile bad = raw;
  bad.records[200].forcedOffset = 10;
  TListDBData doc;
  TMemoryStream stream(bad.Build());
  EXPECT_EQ(MessageOf<EListDBError>([&] { TListFileReader reader(doc, stream); }), ReadError(bad));
  EXPECT_EQ(doc.RecordCount(), 0);
}

TEST(HeaderDates, EncodeDecodeWrapAroundAndByteOrder) {
  EXPECT_EQ(EncodeHeaderDate(25569.0), 0u);  // 1970-01-01 00:00
  EXPECT_EQ(DecodeHeaderDate(0), 25569.0);
  EXPECT_EQ(EncodeHeaderDate(25570.5), BigEndianLong(86400 + 43200));
  EXPECT_EQ(DecodeHeaderDate(86400 + 43200), 25570.5);
  // Seconds round to the nearest, halves to the even one.
  EXPECT_EQ(BigEndianLong(EncodeHeaderDate(25569.0 + 1.0 / 256)), 338u);   // 337.5
  EXPECT_EQ(BigEndianLong(EncodeHeaderDate(25569.0 + 3.0 / 256)), 1012u);  // 1012.5
  EXPECT_EQ(BigEndianLong(EncodeHeaderDate(25568.0)), 0u - 86400u);        // modulo 2^32
  // From 2085805696 seconds on, decoding wraps around to early dates.
  EXPECT_DOUBLE_EQ(DecodeHeaderDate(2085805695u), 4294967295.0 / 86400);
  EXPECT_EQ(DecodeHeaderDate(2085805696u + 2 * 86400), 2.0);
  const double t = 45000.0 + 12345.0 / 86400;
  EXPECT_DOUBLE_EQ(DecodeHeaderDate(BigEndianLong(EncodeHeaderDate(t))), t);
  EXPECT_EQ(EncodeHeaderDate(std::nan("")), 0u);
  EXPECT_EQ(SwapLong(0x11223344u), 0x44332211u);

  TRawListFile raw;  // the reader decodes the file's big-endian dates
  raw.created = 86400;
  raw.modified = 0xFFFFFFFFu;
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  EXPECT_EQ(doc.CreationDate, 25570.0);
  EXPECT_DOUBLE_EQ(doc.ModificationDate, (0xFFFFFFFFu - 2085805696u) / 86400.0);
}

}  // namespace
