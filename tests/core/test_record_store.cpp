// The document's record storage: stable record addresses, values through many
// edits, serial numbers, revisions, and Compact against the step-by-step
// renumbering it replaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "core_test_util.h"

namespace {

struct Shadow {
  TListRecord* record;
  std::string field1, field2, notes;
};

void ExpectValues(const Shadow& s) {
  EXPECT_EQ(s.record->Field1(), s.field1);
  EXPECT_EQ(s.record->Field2(), s.field2);
  EXPECT_EQ(s.record->Notes(), s.notes);
}

void ExpectSerialsDistinctAndBelowLimit(const TListDBData& doc) {
  std::set<uint32_t> serials;
  for (int i = 0; i < doc.RecordCount(); ++i) {
    const uint32_t serial = doc.GetRecord(i)->Serial();
    EXPECT_LT(serial, doc.SerialLimit());
    EXPECT_TRUE(serials.insert(serial).second) << "serial " << serial << " twice";
  }
}

TEST(RecordStore, RecordsKeepTheirPlaceAndValuesThroughAddsDeletesAndEdits) {
  TListDBData doc;
  std::mt19937 random(7);
  std::vector<Shadow> live;
  auto text = [&](size_t limit) {
    std::string t(random() % (limit + 1), ' ');
    for (char& c : t) c = static_cast<char>('a' + random() % 26);
    if (!t.empty() && random() % 4 == 0) t[random() % t.size()] = '\r';
    return t;
  };
  for (int step = 0; step < 20000; ++step) {
    const unsigned action = live.empty() ? 0 : random() % 8;
    if (action == 0) {
      Shadow s{doc.AddRecord(), text(112), text(112), text(300)};
      s.record->Assign(s.field1, s.field2, s.notes, 0);
      live.push_back(s);
    } else if (action == 1) {
      const size_t k = random() % live.size();
      doc.DeleteRecord(live[k].record->Index());
      live.erase(live.begin() + static_cast<std::ptrdiff_t>(k));
    } else {
      Shadow& s = live[random() % live.size()];
      switch (action) {
        case 2:
          s.field1 = text(112);
          s.record->SetField1(s.field1);
          break;
        case 3:
          s.field2 = text(112);
          s.record->SetField2(s.field2);
          break;
        case 4:
          s.notes = text(random() % 8 ? 40 : 4095);
          s.record->SetNotes(s.notes);
          break;
        case 5:  // a value taken from the record's own texts
          s.field1 = s.field2;
          s.record->SetField1(s.record->Field2());
          break;
        case 6:
          s.notes = s.field1 + s.notes.substr(0, 100);
          s.record->SetNotes(std::string(s.record->Field1()) +
                             std::string(s.record->Notes().substr(0, 100)));
          break;
        default:
          s.field2 = s.notes.substr(0, std::min<size_t>(s.notes.size(), 112));
          s.record->SetField2(s.record->Notes().substr(0, 112));
      }
    }
    if (step % 997 == 0) {
      ASSERT_EQ(doc.RecordCount(), static_cast<int>(live.size()));
      for (const Shadow& s : live) ExpectValues(s);
      ExpectSerialsDistinctAndBelowLimit(doc);
    }
  }
  for (const Shadow& s : live) ExpectValues(s);
  // Serial numbers stay dense: no more were ever handed out than were alive at once.
  EXPECT_LE(doc.SerialLimit(), 20000u);

  TListRecord* kept = doc.GetRecord(0);
  const uint32_t freed = doc.GetRecord(1)->Serial();
  doc.DeleteRecord(1);
  EXPECT_EQ(doc.AddRecord()->Serial(), freed);  // a freed number is reused
  EXPECT_EQ(doc.GetRecord(0), kept);
}

TEST(RecordStore, AReadListNumbersItsRecordsFromZeroAndCopiesAreWhole) {
  TListDBData doc;
  for (int i = 0; i < 2500; ++i)
    doc.AddRecord()->Assign("name " + std::to_string(i), "x", i % 3 ? "" : "a\r\nb", 0);
  TMemoryStream stream;
  WriteListDB(doc, stream);
  ReadListDB(doc, stream);  // replaces the records in the same document
  ASSERT_EQ(doc.RecordCount(), 2500);
  EXPECT_EQ(doc.SerialLimit(), 2500u);
  for (int i = 0; i < doc.RecordCount(); ++i) {
    EXPECT_EQ(doc.GetRecord(i)->Serial(), static_cast<uint32_t>(i));
    EXPECT_EQ(doc.GetRecord(i)->Field1(), "name " + std::to_string(i));
    EXPECT_EQ(doc.GetRecord(i)->Notes(), i % 3 ? "" : "a\r\nb");
  }
  // A record outside the list holds values to copy into one; the copy keeps
  // its own serial number.
  TDetachedRecord values(&doc);
  values.Assign("new", "two", "three", 0);
  TListRecord* added = doc.AddRecord();
  const uint32_t serial = added->Serial();
  *added = values;
  EXPECT_EQ(added->Field1(), "new");
  EXPECT_EQ(added->Notes(), "three");
  EXPECT_EQ(added->Serial(), serial);
  EXPECT_EQ(values.Serial(), TListRecord::kNoSerial);
  doc.ClearRecords();
  EXPECT_EQ(doc.SerialLimit(), 0u);
  EXPECT_EQ(doc.AddRecord()->Serial(), 0u);
}

TEST(RecordStore, RevisionsMoveWithTheirValueAndNeverRepeat) {
  TListDBData a, b;
  std::set<uint64_t> seen;
  auto revisions = [](const TListDBData& d) {
    std::array<uint64_t, 4> r;
    for (int i = 0; i < 4; ++i) r[i] = d.Revision(static_cast<TRecordValue>(i));
    return r;
  };
  auto expectChanged = [&](TListDBData& d, std::initializer_list<TRecordValue> which,
                           const std::function<void()>& change) {
    const auto before = revisions(d);
    change();
    const auto after = revisions(d);
    for (int i = 0; i < 4; ++i) {
      const bool expected =
          std::find(which.begin(), which.end(), static_cast<TRecordValue>(i)) != which.end();
      EXPECT_EQ(after[i] != before[i], expected) << "value " << i;
      // A new revision is one never seen before (a change of all four gives
      // them one value).
      if (expected) {
        EXPECT_TRUE(seen.insert(after[i]).second || after[i] == after[0]);
      }
    }
  };
  using V = TRecordValue;
  const auto all = {V::Field1, V::Field2, V::Notes, V::Category};
  for (TListDBData* d : {&a, &b}) {
    for (uint64_t r : revisions(*d)) EXPECT_FALSE(seen.count(r)) << "shared by two documents";
    for (uint64_t r : revisions(*d)) seen.insert(r);
  }
  TListRecord* r = nullptr;
  expectChanged(a, all, [&] { r = a.AddRecord(); });
  expectChanged(a, {V::Field1}, [&] { r->SetField1("x"); });
  expectChanged(a, {V::Field2}, [&] { r->StoreField2Unchecked("y"); });
  expectChanged(a, {V::Notes}, [&] { r->SetNotes("z"); });
  expectChanged(a, {V::Category}, [&] { r->SetCategoryID(0); });
  expectChanged(a, all, [&] { r->Assign("1", "2", "3", 0); });
  const int32_t id = a.Categories().Add("Work");
  expectChanged(a, {V::Category}, [&] { a.Categories().Rename(id, "Job"); });
  expectChanged(a, {V::Category}, [&] { a.Categories().ChangeID(id, 9); });
  expectChanged(a, {V::Category}, [&] { a.Categories().Compact(); });
  expectChanged(a, {}, [&] { a.Categories().Compact(); });  // already compact: nothing moves
  expectChanged(a, {V::Category}, [&] { a.Categories().Delete(1); });
  expectChanged(a, {V::Category}, [&] { a.Categories().AppendEntry("Old", 7); });
  expectChanged(a, {V::Category}, [&] { a.Categories().Reset(); });
  a.AddRecord();
  expectChanged(a, {}, [&] { a.DeleteRecord(1); });
  TMemoryStream stream;
  WriteListDB(a, stream);
  expectChanged(b, all, [&] { ReadListDB(b, stream); });
  expectChanged(b, all, [&] { b.ClearRecords(); });
}

// Records of every size up to past the reader's 128-byte mask, zero bytes and
// line breaks anywhere, offsets anywhere: each value is what the plain rule
// gives (from its offset to the first zero byte or the data's end, trimmed,
// the note's breaks made CR LF).
TEST(RecordStore, TheReaderFindsEveryValueWhereverItEnds) {
  auto value = [](const TBytes& data, size_t which) {
    const size_t start = which < data.size() ? data[which] : 0;
    std::string v;
    for (size_t i = start; i < data.size() && data[i] != 0; ++i) v += static_cast<char>(data[i]);
    return std::string(TrimView(v));
  };
  auto crlf = [](const std::string& v) {
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
      if (v[i] == '\r' || v[i] == '\n') {
        out += "\r\n";
        if (v[i] == '\r' && i + 1 < v.size() && v[i + 1] == '\n') ++i;
      } else {
        out += v[i];
      }
    }
    return out;
  };
  std::mt19937 random(5);
  TRawListFile raw;
  for (size_t size = 0; size < 300; ++size) {
    for (int variant = 0; variant < 3; ++variant) {
      TBytes data(size);
      for (uint8_t& b : data) {
        const unsigned r = random() % 40;
        b = r == 0 ? 0 : r == 1 ? '\r' : r == 2 ? '\n' : r == 3 ? ' ' : 'a' + r % 26;
      }
      for (size_t i = 0; i < 3 && i < size; ++i) data[i] = static_cast<uint8_t>(random() % 256);
      raw.records.push_back({data});
    }
  }
  TListDBData doc;
  ReadBytes(doc, raw.Build());
  ASSERT_EQ(doc.RecordCount(), static_cast<int>(raw.records.size()));
  for (int i = 0; i < doc.RecordCount(); ++i) {
    const TBytes& data = raw.records[static_cast<size_t>(i)].data;
    ASSERT_EQ(doc.GetRecord(i)->Field1(), value(data, 0)) << "record " << i;
    ASSERT_EQ(doc.GetRecord(i)->Field2(), value(data, 1)) << "record " << i;
    ASSERT_EQ(doc.GetRecord(i)->Notes(), crlf(value(data, 2))) << "record " << i;
  }
}

// ---------------------------------------------------------------------------
// Compact against the renumbering it replaces: each entry's id through a
// detour (16000 + position) to its position, one id at a time, moving the
// records of the first entry with that id along.

struct Table {
  std::vector<int32_t> ids;      // entry ids in order
  std::vector<int32_t> records;  // record category ids
};

std::string ReferenceCompact(Table& t) {
  auto change = [&](int32_t oldId, int32_t newId) {
    const auto at = std::find(t.ids.begin(), t.ids.end(), oldId);
    if (at == t.ids.end())
      throw EListDBError("Unable to compact categories. Category with index " +
                         std::to_string(oldId) + " not exists");
    for (int32_t& r : t.records) {
      if (r == oldId) r = newId;
    }
    *at = newId;
  };
  try {
    const int count = static_cast<int>(t.ids.size());
    for (int i = 0; i < count; ++i) change(t.ids[static_cast<size_t>(i)], 16000 + i);
    for (int i = 0; i < count; ++i) change(16000 + i, i);
  } catch (const EListDBError& e) {
    return e.what();
  }
  return "<none>";
}

TEST(RecordStore, CompactMatchesTheStepByStepRenumberingOnAnyTable) {
  std::mt19937 random(99);
  // Ids from a small pool, so tables share ids, hold their own positions, the
  // detour's ids, ids over 255 and -1.
  const int32_t pool[] = {0, 1, 2, 3, 4, 5, 7, 15, 16, 255, 256, 1000, -1, 16000, 16001, 16002};
  auto pick = [&] { return pool[random() % std::size(pool)]; };
  for (int round = 0; round < 3000; ++round) {
    TListDBData doc;
    TListDBCategories& categories = doc.Categories();
    // Records first get ids of one table (through the setter), then the table
    // may be replaced, leaving records with ids no entry has.
    const int before = static_cast<int>(random() % 6);
    for (int i = 0; i < before; ++i) categories.AppendEntry("b", pick());
    const int n = static_cast<int>(random() % 40);
    for (int i = 0; i < n; ++i) {
      const int index = static_cast<int>(random() % categories.Count());
      doc.AddRecord()->SetCategoryID(random() % 5 ? categories.IDAt(index) : -1);
    }
    if (random() % 2) categories.Reset();
    const int count = static_cast<int>(random() % 17);
    if (random() % 3 == 0) {  // already compact
      for (int i = categories.Count(); i < count; ++i) categories.AppendEntry("c", i);
    } else {
      for (int i = 0; i < count; ++i) categories.AppendEntry("c", pick());
    }

    Table expected;
    for (const auto& entry : categories.Entries()) expected.ids.push_back(entry.id);
    for (int i = 0; i < doc.RecordCount(); ++i)
      expected.records.push_back(doc.GetRecord(i)->CategoryID());
    const std::string expectedMessage = ReferenceCompact(expected);

    EXPECT_EQ(MessageOf<EListDBError>([&] { categories.Compact(); }), expectedMessage);
    Table got;
    for (const auto& entry : categories.Entries()) got.ids.push_back(entry.id);
    for (int i = 0; i < doc.RecordCount(); ++i)
      got.records.push_back(doc.GetRecord(i)->CategoryID());
    ASSERT_EQ(got.ids, expected.ids) << "round " << round;
    ASSERT_EQ(got.records, expected.records) << "round " << round;
  }
}

}  // namespace

TEST(RecordStore, DetachedRecordsGiveTheirTextsBack) {
  TListDBData doc;
  doc.AddRecord()->SetField1("kept");
  for (int i = 0; i < 2000; ++i) {
    TDetachedRecord values(&doc);
    values.SetNotes(std::string(4000, 'n'));
    values.SetField1("name " + std::to_string(i));
  }
  // 2,000 notes of 4 KiB would take 8 MB if none came back.
  // (Where views are checked, up to 256 KiB more wait poisoned.)
  EXPECT_LE(doc.TextStoreBytes(), (VORNIK_CHECK_TEXT_VIEWS ? 640u : 256u) * 1024);
  EXPECT_EQ(doc.GetRecord(0)->Field1(), "kept");
}

#if VORNIK_CHECK_TEXT_VIEWS
TEST(RecordStoreDeathTest, ViewKeptAcrossItsRecordsChangeIsReported) {
  TListDBData doc;
  TListRecord* record = doc.AddRecord();
  record->SetField1("alpha");
  EXPECT_DEATH(
      {
        const std::string_view kept = record->Field1();
        record->SetField1("BRAVO");
        doc.AddRecord()->SetField1("charlie");
        volatile char c = kept[0];
        (void)c;
      },
      "use-after-poison");
}
#endif
