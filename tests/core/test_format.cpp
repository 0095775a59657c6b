#include <gtest/gtest.h>

#include <cmath>

#include "CoreTestUtil.h"
#include "core/PalmTypesUnit.h"
#include "core/listdb.h"

namespace {

std::vector<uint8_t> Slice(const std::vector<uint8_t>& b, size_t at, size_t size) {
  return std::vector<uint8_t>(b.begin() + static_cast<std::ptrdiff_t>(at),
                              b.begin() + static_cast<std::ptrdiff_t>(at + size));
}

TEST(WriteListDB, EmptyListIsExactly592Bytes) {
  TListDBData doc;
  doc.SetDatabaseName("Phones");
  doc.SetCustomField1("Name");
  doc.SetCustomField2("Number");
  const double before = NowLocal();
  const auto b = WriteBytes(doc);
  ASSERT_EQ(b.size(), 592u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()), 6), "Phones");
  EXPECT_EQ(Slice(b, 6, 26), std::vector<uint8_t>(26, 0));
  EXPECT_EQ(BigWord(b, 32), 0x0008);
  EXPECT_EQ(BigWord(b, 34), 0);
  // The three dates are now, in seconds since 1970 of the local clock.
  for (size_t at : {36, 40, 44}) {
    EXPECT_NEAR(DecodeHeaderDate(BigLong(b, at)), before, 2.0 / 86400) << at;
  }
  EXPECT_EQ(BigLong(b, 48), 0u);
  EXPECT_EQ(BigLong(b, 52), 80u);
  EXPECT_EQ(BigLong(b, 56), 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[60]), 8), "DATALSdb");
  EXPECT_EQ(BigLong(b, 68), 0u);
  EXPECT_EQ(BigLong(b, 72), 0u);
  EXPECT_EQ(BigWord(b, 76), 0);
  EXPECT_EQ(b[78], 0x80);
  EXPECT_EQ(b[79], 0x00);
  const size_t ai = 80;
  EXPECT_EQ(BigWord(b, ai), 0x000E);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[ai + 2]), 8), std::string("Unfiled\0", 8));
  EXPECT_EQ(Slice(b, ai + 2 + 16, 15 * 16), std::vector<uint8_t>(15 * 16, 0));
  EXPECT_EQ(Slice(b, ai + 258, 16), std::vector<uint8_t>(16, 0));
  EXPECT_EQ(b[ai + 274], 2);  // last unique id counts from 1
  EXPECT_EQ(b[ai + 275], 0);
  EXPECT_EQ(BigWord(b, ai + 276), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[ai + 278]), 5), std::string("Name\0", 5));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[ai + 294]), 7),
            std::string("Number\0", 7));
  EXPECT_EQ(Slice(b, ai + 310, 202), std::vector<uint8_t>(202, 0));
}

TEST(WriteListDB, OneEmptyRecordAtOffset600) {
  TListDBData doc;
  doc.Categories().Add("A");
  doc.Categories().Add("B");
  doc.AddRecord()->SetCategoryID(2);
  const auto b = WriteBytes(doc);
  ASSERT_EQ(b.size(), 606u);
  EXPECT_EQ(BigLong(b, 52), 88u);
  EXPECT_EQ(BigWord(b, 76), 1);
  EXPECT_EQ(BigLong(b, 78), 600u);
  EXPECT_EQ(b[82], 2);  // attributes = category index
  EXPECT_EQ(Slice(b, 83, 3), (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(Slice(b, 86, 2), (std::vector<uint8_t>{0x80, 0}));
  EXPECT_EQ(Slice(b, 88 + 258, 4), (std::vector<uint8_t>{0, 1, 2, 0}));
  EXPECT_EQ(b[88 + 274], 3);
  EXPECT_EQ(Slice(b, 600, 6), (std::vector<uint8_t>{3, 4, 5, 0, 0, 0}));
}

TEST(WriteListDB, RecordLayoutEntriesAndLineBreaks) {
  TListDBData doc;
  TListRecord* r = doc.AddRecord();
  r->SetField1("ab");
  r->SetField2("c\r\nd");
  r->SetNotes("x\r\ny\rz");
  for (int i = 1; i < 300; ++i) doc.AddRecord();
  const auto b = WriteBytes(doc);
  const size_t start = 592 + 8 * 300;
  EXPECT_EQ(BigLong(b, 78), start);
  // CR LF becomes LF; a lone CR stays.
  const std::vector<uint8_t> expected{3,   6, 10,  'a',  'b', 0,    'c', '\n',
                                      'd', 0, 'x', '\n', 'y', '\r', 'z', 0};
  EXPECT_EQ(Slice(b, start, expected.size()), expected);
  EXPECT_EQ(BigLong(b, 78 + 8), start + expected.size());
  // Unique ids number the records by position.
  const size_t e299 = 78 + 8 * 299;
  EXPECT_EQ(Slice(b, e299 + 5, 3), (std::vector<uint8_t>{0, 1, 43}));
  EXPECT_EQ(BigLong(b, e299), b.size() - 6);
}

TEST(WriteListDB, UncompactedIdsKeepRecordsInTheirCategories) {
  TListDBData doc;
  TListDBCategories& cats = doc.Categories();
  cats.Add("A");
  cats.Add("B");
  cats.Add("C");
  cats.Delete(1);          // ("Unfiled" 0, B 2, C 3)
  cats.ChangeID(3, 0x1F);  // an id whose high bits would be the handheld's flags
  TListRecord* b = doc.AddRecord();
  b->SetCategoryID(2);
  TListRecord* c = doc.AddRecord();
  c->SetCategoryID(0x1F);
  doc.AddRecord();
  const auto bytes = WriteBytes(doc);
  EXPECT_EQ(bytes[78 + 4], 1);
  EXPECT_EQ(bytes[78 + 8 + 4], 2);
  EXPECT_EQ(bytes[78 + 16 + 4], 0);
  EXPECT_EQ(doc.Categories().IDAt(2), 0x1F);  // the document is not changed

  TListDBData back;
  ReadBytes(back, bytes);
  EXPECT_EQ(back.GetRecord(0)->CategoryName(), "B");
  EXPECT_EQ(back.GetRecord(1)->CategoryName(), "C");
  EXPECT_EQ(back.GetRecord(2)->CategoryID(), 0);
}

TEST(WriteListDB, ThirtyTwoCharacterNameFillsTheField) {
  TListDBData doc;
  doc.SetDatabaseName(std::string(32, 'N'));
  doc.SetCustomField1(std::string(16, 'F'));
  doc.Categories().Add(std::string(16, 'C'));
  const auto b = WriteBytes(doc);
  EXPECT_EQ(b[32], 0);  // the attributes' high byte follows directly
  TListDBData back;
  ReadBytes(back, b);
  EXPECT_EQ(back.DatabaseName(), std::string(32, 'N'));
  EXPECT_EQ(back.CustomField1(), std::string(16, 'F'));
  EXPECT_EQ(back.Categories().NameAt(1), std::string(16, 'C'));
}

TEST(WriteListDB, RefusesWhatTheFileCannotHoldBeforeTouchingTheStream) {
  const std::vector<uint8_t> old{'o', 'l', 'd'};
  {
    TListDBData doc;
    TListRecord* r = doc.AddRecord();
    r->StoreField1Unchecked(std::string(200, 'a'));
    r->StoreField2Unchecked(std::string(51, 'b'));  // 251 together
    TMemoryStream stream(old);
    EXPECT_EQ(MessageOf<EListDBError>([&] { WriteListDB(doc, stream); }),
              "Record 1 of 1 cannot be saved: its two field values are 251 characters long "
              "together, but a list file can hold at most 250");
    EXPECT_EQ(stream.Bytes(), old);
    // 250 together is the most that still fits the offset byte.
    r->StoreField2Unchecked(std::string(50, 'b'));
    WriteListDB(doc, stream);
    EXPECT_EQ(stream.Bytes()[600 + 2], 255);
    TListDBData back;
    ReadBytes(back, stream.Bytes());
    EXPECT_EQ(back.GetRecord(0)->Field2(), std::string(50, 'b'));
  }
  {
    TListDBData doc;
    for (int i = 0; i < 65536; ++i) doc.AddRecord();
    TMemoryStream stream(old);
    EXPECT_EQ(MessageOf<EListDBError>([&] { WriteListDB(doc, stream); }),
              "The list has 65536 records, but a list file can hold at most 65535");
    EXPECT_EQ(stream.Bytes(), old);
  }
}

TEST(ReadListDB, WrongTypeOrCreatorIsRefused) {
  TRawListFile raw;
  raw.creator = "LSDB";
  EXPECT_EQ(MessageOf<EListDBError>([&] {
              TListDBData doc;
              ReadBytes(doc, raw.Build());
            }),
            "Invalid database type or creator ID: DATA-LSDB");
  raw.creator = "LSdb";
  raw.type = "TEXT";
  EXPECT_EQ(MessageOf<EListDBError>([&] {
              TListDBData doc;
              ReadBytes(doc, raw.Build());
            }),
            "Invalid database type or creator ID: TEXT-LSdb");
}

TEST(ReadListDB, CategorySlotsCloseUpAndUnknownSlotsGiveNoCategory) {
  TRawListFile raw;
  raw.slotNames[1] = "Work";
  raw.slotIds[1] = 1;
  raw.slotNames[3] = "Home";
  raw.slotIds[3] = 3;
  raw.records.push_back({TRawListFile::Values("w", "", ""), 1});
  raw.records.push_back({TRawListFile::Values("h", "", ""), 3});
  raw.records.push_back({TRawListFile::Values("e", "", ""), 2});     // empty slot
  raw.records.push_back({TRawListFile::Values("u", "", ""), 0xF0});  // flags ignored
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  ASSERT_EQ(doc.Categories().Count(), 3);
  EXPECT_EQ(doc.Categories().NameAt(1), "Work");
  EXPECT_EQ(doc.Categories().NameAt(2), "Home");
  EXPECT_EQ(doc.Categories().IDAt(2), 3);
  EXPECT_EQ(doc.GetRecord(0)->CategoryID(), 1);
  EXPECT_EQ(doc.GetRecord(1)->CategoryID(), 3);
  EXPECT_EQ(doc.GetRecord(2)->CategoryID(), -1);
  EXPECT_EQ(doc.GetRecord(2)->CategoryName(), "Unfiled");
  EXPECT_EQ(doc.GetRecord(3)->CategoryID(), 0);

  CompactCategories(doc);
  const auto b = WriteBytes(doc);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[112 + 2 + 32]), 4), "Home");
  EXPECT_EQ(b[112 + 258 + 2], 2);
  EXPECT_EQ(b[78 + 8 + 4], 2);
  EXPECT_EQ(b[78 + 16 + 4], 0);  // the record without a category lands in slot 0
}

TEST(ReadListDB, SlotZeroNameOnlyServesTheLookup) {
  TRawListFile raw;
  raw.slotNames[0] = "Misc";  // not "Unfiled": no loaded entry has the name
  raw.records.push_back({TRawListFile::Values("a", "", ""), 0});
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  EXPECT_EQ(doc.Categories().Count(), 1);
  EXPECT_EQ(doc.Categories().NameAt(0), "Unfiled");
  EXPECT_EQ(doc.GetRecord(0)->CategoryID(), -1);
}

TEST(ReadListDB, ValuesAreTrimmedAndNoteLineBreaksBecomeCrLf) {
  TRawListFile raw;
  raw.name = " Spaced ";
  raw.records.push_back({TRawListFile::Values("  Ann\t", "\x01 555 ", " a\nb\rc\r\nd\n\re \n")});
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  const TListRecord* r = doc.GetRecord(0);
  EXPECT_EQ(r->Field1(), "Ann");
  EXPECT_EQ(r->Field2(), "555");
  EXPECT_EQ(r->Notes(), "a\r\nb\r\nc\r\nd\r\n\r\ne");
  EXPECT_EQ(doc.DatabaseName(), " Spaced ");  // names are not trimmed
}

TEST(ReadListDB, ShortRecordsAndOddOffsetsStayInsideTheData) {
  TRawListFile raw;
  raw.records.push_back({{}});                     // no data at all
  raw.records.push_back({{3, 200, 1, 'a', 'b'}});  // no terminator, offsets past the end
  raw.records.push_back({{9}});                    // field 1 offset beyond the data
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  ASSERT_EQ(doc.RecordCount(), 3);
  EXPECT_EQ(doc.GetRecord(0)->Field1(), "");
  EXPECT_EQ(doc.GetRecord(1)->Field1(), "ab");
  EXPECT_EQ(doc.GetRecord(1)->Field2(), "");
  EXPECT_EQ(doc.GetRecord(1)->Notes(), std::string("\xC8\x01"
                                                   "ab",
                                                   4));
  EXPECT_EQ(doc.GetRecord(2)->Field1(), "");
}

TEST(ReadListDB, MalformedFilesAreRefused) {
  const auto readRaw = [](const TRawListFile& raw) {
    return MessageOf<std::runtime_error>([&] {
      TListDBData doc;
      ReadBytes(doc, raw.Build());
    });
  };
  TRawListFile raw;
  raw.records.push_back({TRawListFile::Values("a", "b", "c")});
  raw.records.push_back({TRawListFile::Values("d", "e", "f")});
  raw.records.push_back({TRawListFile::Values("g", "h", "i")});
  ASSERT_EQ(readRaw(raw), "<none>");

  TRawListFile beyond = raw;
  beyond.records[2].forcedOffset = 100000;
  EXPECT_EQ(readRaw(beyond),
            "Invalid record 3 of 3: its data offset 100000 lies beyond the end of the file (643 "
            "bytes)");

  TRawListFile backwards = raw;
  backwards.records[1].forcedOffset = 10;
  EXPECT_EQ(readRaw(backwards),
            "Invalid record 2 of 3: its data offset 10 lies before the previous record's offset "
            "616");

  TRawListFile large = raw;
  large.records[1].data.resize(4355, 'x');
  EXPECT_EQ(readRaw(large),
            "Invalid record 2 of 3: its data of 4355 bytes is larger than 4354 bytes");
  large.records[1].data.resize(4354);
  EXPECT_EQ(readRaw(large), "<none>");

  TRawListFile longNote;
  longNote.records.push_back({TRawListFile::Values("", "", std::string(4096, 'n'))});
  EXPECT_EQ(readRaw(longNote), "Notes value is longer than 4095");

  // A note of 4095 LF lines would double with CR LF.
  TRawListFile lines;
  lines.records.push_back({TRawListFile::Values("", "", "a" + std::string(2048, '\n') + "b")});
  EXPECT_EQ(readRaw(lines), "Notes value is longer than 4095");

  // Too short for the header, the entries and the block.
  auto bytes = raw.Build();
  for (size_t size :
       {size_t{0}, size_t{77}, size_t{78 + 8 * 3 - 1}, size_t{78 + 8 * 3 + 2 + 511}}) {
    TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.begin() + size));
    TListDBData doc;
    EXPECT_EQ(MessageOf<EStreamError>([&] { ReadListDB(doc, stream); }), "Stream read error")
        << size;
  }
}

TEST(ReadListDB, RichListRoundTrip) {
  TListDBData doc;
  doc.SetDatabaseName("Everything \xE9t\xE9");
  doc.SetCustomField1("Who");
  doc.SetCustomField2(
      "\xC9"
      "crit");
  TListDBCategories& cats = doc.Categories();
  for (int i = 1; i < 15; ++i) cats.Add("Cat " + std::to_string(i));
  for (int i = 0; i < 500; ++i) {
    TListRecord* r = doc.AddRecord();
    r->SetField1("Person " + std::to_string(i));
    r->SetField2(i % 7 == 0 ? std::string(112, static_cast<char>(0x80 + i % 100)) : "+1 555");
    r->SetNotes(i % 5 == 0 ? "line one\r\nline two\r\n\r\nend" : "");
    if (i == 3) r->SetNotes(std::string(4095, 'z'));
    r->SetCategoryID(i % 16 == 15 ? -1 : i % 15);
  }
  const auto bytes = WriteBytes(doc);
  TListDBData back;
  back.Modified = true;
  back.FileName = "kept";
  ReadBytes(back, bytes);
  EXPECT_TRUE(back.Modified);  // left to the caller, as is FileName
  EXPECT_EQ(back.FileName, "kept");
  EXPECT_EQ(back.DatabaseName(), doc.DatabaseName());
  EXPECT_EQ(back.CustomField2(), doc.CustomField2());
  ASSERT_EQ(back.Categories().Count(), 15);
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(back.Categories().NameAt(i), cats.NameAt(i));
    EXPECT_EQ(back.Categories().IDAt(i), i);
  }
  ASSERT_EQ(back.RecordCount(), 500);
  for (int i = 0; i < 500; ++i) {
    const TListRecord* a = doc.GetRecord(i);
    const TListRecord* b = back.GetRecord(i);
    EXPECT_EQ(b->Field1(), a->Field1());
    EXPECT_EQ(b->Field2(), a->Field2());
    EXPECT_EQ(b->Notes(), a->Notes());
    EXPECT_EQ(b->CategoryName(), a->CategoryName());
    EXPECT_EQ(b->CategoryID(), a->CategoryID() < 0 ? 0 : a->CategoryID()) << i;
  }
  // Read again into the same document: everything is replaced, not appended.
  ReadBytes(back, bytes);
  EXPECT_EQ(back.RecordCount(), 500);
  EXPECT_EQ(back.Categories().Count(), 15);
}

TEST(ReadListDB, SixteenSlotsFromAFileAreKeptAndWrittenBack) {
  TRawListFile raw;
  for (int slot = 1; slot < 16; ++slot) {
    raw.slotNames[slot] = "S" + std::to_string(slot);
    raw.slotIds[slot] = static_cast<uint8_t>(slot);
  }
  raw.records.push_back({TRawListFile::Values("last", "", ""), 15});
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  ASSERT_EQ(doc.Categories().Count(), 16);
  EXPECT_EQ(doc.GetRecord(0)->CategoryName(), "S15");
  TListDBData back;
  ReadBytes(back, WriteBytes(doc));
  EXPECT_EQ(back.GetRecord(0)->CategoryName(), "S15");
}

TEST(HeaderDates, EncodeDecodeAndWrapAround) {
  // 1970-01-01 00:00 is second 0; the file holds it big-endian.
  EXPECT_EQ(EncodeHeaderDate(25569.0), 0u);
  EXPECT_EQ(DecodeHeaderDate(0), 25569.0);
  EXPECT_EQ(BigEndianLong(EncodeHeaderDate(25570.5)), 86400u + 43200u);
  EXPECT_DOUBLE_EQ(DecodeHeaderDate(86400 + 43200), 25570.5);
  // Seconds round to the nearest, halves to even.
  EXPECT_EQ(BigEndianLong(EncodeHeaderDate(25569.0 + 1.0 / 256)), 338u);   // 337.5 s
  EXPECT_EQ(BigEndianLong(EncodeHeaderDate(25569.0 + 3.0 / 256)), 1012u);  // 1012.5 s
  // Before 1970 the value wraps modulo 2^32.
  EXPECT_EQ(BigEndianLong(EncodeHeaderDate(25568.0)), 0xFFFFFFFFu - 86400u + 1u);
  // From 2085805696 seconds on, decoding wraps to early dates.
  EXPECT_DOUBLE_EQ(DecodeHeaderDate(2085805695u), (4294967295.0) / 86400.0);
  EXPECT_EQ(DecodeHeaderDate(2085805696u), 0.0);
  EXPECT_DOUBLE_EQ(DecodeHeaderDate(2085805696u + 86400u * 2), 2.0);
  // A round trip through the file keeps the second.
  const double t = 45000.0 + 12345.0 / 86400;
  EXPECT_DOUBLE_EQ(DecodeHeaderDate(BigEndianLong(EncodeHeaderDate(t))), t);
  EXPECT_EQ(EncodeHeaderDate(std::nan("")), 0u);

  TRawListFile raw;
  raw.created = 86400;
  raw.modified = 0xFFFFFFFFu;
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  EXPECT_EQ(doc.CreationDate, 25570.0);
  EXPECT_DOUBLE_EQ(doc.ModificationDate, (0xFFFFFFFFu - 2085805696u) / 86400.0);
}

TEST(HeaderDates, ByteOrderHelpers) {
  EXPECT_EQ(SwapLong(0x11223344u), 0x44332211u);
  EXPECT_EQ(SwapWord(0x1122), 0x2211);
  EXPECT_EQ(SwapLong(SwapLong(0xCAFEBABEu)), 0xCAFEBABEu);
}

}  // namespace
