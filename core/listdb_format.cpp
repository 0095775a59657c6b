// Reader and writer of the list database file: a 78-byte header, 8-byte record
// entries, two filler bytes, the 512-byte application-information block and the
// record data. Every integer in the file is big-endian.
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <string_view>

#include "core/ByteScan.h"
#include "core/FormatText.h"
#include "core/PalmTypesUnit.h"
#include "core/listdb.h"

namespace {

constexpr size_t kHeaderSize = 78;
constexpr size_t kEntrySize = 8;
constexpr size_t kFillerSize = 2;
constexpr size_t kAppInfoSize = 512;
constexpr size_t kRecordBufferSize = 4354;  // the largest record data a file may hold
constexpr int kCategorySlots = kMaxCategorySlots;
constexpr size_t kSlotNameSize = kMaxCategoryName;

// Header offsets.
constexpr size_t kHdrName = 0;
constexpr size_t kHdrAttributes = 32;
constexpr size_t kHdrVersion = 34;
constexpr size_t kHdrCreated = 36;
constexpr size_t kHdrModified = 40;
constexpr size_t kHdrBackup = 44;
constexpr size_t kHdrModNumber = 48;
constexpr size_t kHdrAppInfo = 52;
constexpr size_t kHdrType = 60;
constexpr size_t kHdrCreator = 64;
constexpr size_t kHdrRecordCount = 76;

// Application-information block offsets.
constexpr size_t kAiFlags = 0;
constexpr size_t kAiNames = 2;
constexpr size_t kAiIds = 258;
constexpr size_t kAiLastId = 274;
constexpr size_t kAiField1 = 278;
constexpr size_t kAiField2 = 294;

constexpr char kType[] = "DATA";
constexpr char kCreator[] = "LSdb";

uint32_t GetLong(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint16_t GetWord(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

void PutLong(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value >> 24);
  p[1] = static_cast<uint8_t>(value >> 16);
  p[2] = static_cast<uint8_t>(value >> 8);
  p[3] = static_cast<uint8_t>(value);
}

void PutWord(uint8_t* p, uint16_t value) {
  p[0] = static_cast<uint8_t>(value >> 8);
  p[1] = static_cast<uint8_t>(value);
}

// The bytes of a fixed-size field up to its first zero byte.
std::string FixedText(const uint8_t* p, size_t size) {
  const void* zero = std::memchr(p, 0, size);
  const size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - p) : size;
  return std::string(reinterpret_cast<const char*>(p), length);
}

// Copies text into a zero-filled field, at most size bytes (no terminating zero
// when the text fills it).
void PutFixedText(uint8_t* p, size_t size, const std::string& text) {
  std::memcpy(p, text.data(), std::min(size, text.size()));
}

// ---------------------------------------------------------------------------
// Reading

struct TReadEntry {
  uint32_t offset;
  uint32_t size;
  uint8_t slot;
};

// The reader's buffer holds this many readable bytes past its records, so
// the loops below may read (never write) a whole block past a value's end.
constexpr size_t kPadding = 128;

// The first byte in [from, end) that is zero (or with breaks, also CR or LF);
// end when there is none. Reads up to kPadding bytes past end.
template <bool breaks>
inline const char* FindStop(const char* from, const char* end) {
#ifdef VORNIK_BYTE_SCAN_SSE2
  for (; from < end; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    __m128i found = _mm_cmpeq_epi8(bytes, _mm_setzero_si128());
    if constexpr (breaks) {
      found = _mm_or_si128(found, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')));
      found = _mm_or_si128(found, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
    }
    if (const int mask = _mm_movemask_epi8(found))
      return std::min(from + std::countr_zero(static_cast<unsigned>(mask)), end);
  }
  return end;
#else
  if constexpr (std::endian::native == std::endian::little) {
    for (; end - from >= 8; from += 8) {
      const uint64_t word = byte_scan::Load(from);
      uint64_t found = byte_scan::ZeroBytes(word);
      if constexpr (breaks) found |= byte_scan::Equal(word, '\r') | byte_scan::Equal(word, '\n');
      if (found) return from + std::countr_zero(found) / 8;
    }
  }
  for (; from < end; ++from) {
    if (*from == 0 || (breaks && (*from == '\r' || *from == '\n'))) return from;
  }
  return end;
#endif
}

// Copies size bytes to out; may read up to kPadding bytes past the source's
// end and write as far past the copy's end (the caller leaves room for it).
inline void CopyBytes(char* out, const char* from, size_t size) {
#ifdef VORNIK_BYTE_SCAN_SSE2
  for (size_t i = 0; i < size; i += 16)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)));
#else
  if (size > 0) std::memcpy(out, from, size);
#endif
}

// The values of a record: each from the offset in its byte up to the first
// zero byte or the end of the record's data. Bytes past the data read as zero.
class TRecordValues {
 public:
  // Reads up to kPadding bytes past the record's start.
  TRecordValues(const uint8_t* data, size_t size) : data_(data), size_(size) {
#ifdef VORNIK_BYTE_SCAN_SSE2
    // A bit for each zero byte of the first 128 and for each byte past the
    // data: most values end within them, found without a loop.
    stops_[0] = ZeroMask(data);
    stops_[1] = ZeroMask(data + 64);
    if (size < 64) {
      stops_[0] |= ~uint64_t{0} << size;
      stops_[1] = ~uint64_t{0};
    } else if (size < 128) {
      stops_[1] |= ~uint64_t{0} << (size - 64);
    }
#endif
  }

  std::string_view Value(int which) const {
    const size_t start = static_cast<size_t>(which) < size_ ? data_[which] : 0;
    if (start >= size_) return {};
    const char* value = reinterpret_cast<const char*>(data_ + start);
    return {value, End(start) - start};
  }

 private:
  size_t End(size_t start) const {
#ifdef VORNIK_BYTE_SCAN_SSE2
    if (start < 64) {
      if (const uint64_t m = stops_[0] >> start) return start + std::countr_zero(m);
      if (stops_[1]) return 64 + std::countr_zero(stops_[1]);
    } else if (start < 128) {
      if (const uint64_t m = stops_[1] >> (start - 64)) return start + std::countr_zero(m);
    }
    start = std::max<size_t>(start, 128);
#endif
    const char* from = reinterpret_cast<const char*>(data_ + start);
    const char* end = reinterpret_cast<const char*>(data_ + size_);
    return start + static_cast<size_t>(FindStop<false>(from, end) - from);
  }

#ifdef VORNIK_BYTE_SCAN_SSE2
  static uint64_t ZeroMask(const uint8_t* p) {
    uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
      const auto bits =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128())));
      mask |= uint64_t{bits} << (16 * i);
    }
    return mask;
  }
  uint64_t stops_[2];
#endif
  const uint8_t* data_;
  size_t size_;
};

// Copies text (without zero bytes) to out with every CR LF, lone LF and lone
// CR as one CR LF (at most twice the text's length); returns the end. Reads
// and writes as CopyBytes does.
char* CopyWithCRLF(char* out, std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char* stop = FindStop<true>(p, end);
    CopyBytes(out, p, static_cast<size_t>(stop - p));
    out += stop - p;
    if (stop == end) break;
    *out++ = '\r';
    *out++ = '\n';
    p = stop + (*stop == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
  }
  return out;
}

// The id each named slot 1..15 loads with (-1 for an empty slot): the file's
// id byte where no other entry has it, else the smallest id no entry uses, so
// that slots sharing an id byte (or using 0, the "Unfiled" entry's id) stay
// distinct categories.
std::array<int32_t, kCategorySlots> LoadedCategoryIds(
    const uint8_t* block, const std::array<std::string, kCategorySlots>& names) {
  std::array<int32_t, kCategorySlots> ids;
  ids.fill(-1);
  std::array<bool, 256> taken{};
  taken[0] = true;
  std::array<int, 256> uses{};
  for (int slot = 1; slot < kCategorySlots; ++slot) {
    if (!names[slot].empty()) ++uses[block[kAiIds + slot]];
  }
  // Unique ids first, so a renumbered entry never takes one of theirs.
  for (int slot = 1; slot < kCategorySlots; ++slot) {
    const uint8_t id = block[kAiIds + slot];
    if (!names[slot].empty() && id != 0 && uses[id] == 1) {
      ids[slot] = id;
      taken[id] = true;
    }
  }
  // A shared id stays with the first slot that has it.
  for (int slot = 1; slot < kCategorySlots; ++slot) {
    const uint8_t id = block[kAiIds + slot];
    if (names[slot].empty() || ids[slot] >= 0) continue;
    if (!taken[id]) {
      ids[slot] = id;
      taken[id] = true;
      continue;
    }
    int32_t free = 1;
    while (taken[static_cast<size_t>(free)]) ++free;  // 15 entries leave plenty of the 255
    ids[slot] = free;
    taken[static_cast<size_t>(free)] = true;
  }
  return ids;
}

// Refuses entries whose data would lie outside the file, run backwards or not
// fit the record buffer.
void ComputeRecordSizes(std::vector<TReadEntry>& entries, uint64_t fileSize) {
  const int n = static_cast<int>(entries.size());
  for (int i = 0; i < n; ++i) {
    const uint64_t offset = entries[i].offset;
    if (offset > fileSize)
      throw EListDBError(FormatText(
          "Invalid record %d of %d: its data offset %llu lies beyond the end of the file (%llu "
          "bytes)",
          i + 1, n, static_cast<unsigned long long>(offset),
          static_cast<unsigned long long>(fileSize)));
    if (i > 0 && offset < entries[i - 1].offset)
      throw EListDBError(
          FormatText("Invalid record %d of %d: its data offset %llu lies before the previous "
                     "record's offset %llu",
                     i + 1, n, static_cast<unsigned long long>(offset),
                     static_cast<unsigned long long>(entries[i - 1].offset)));
  }
  for (int i = 0; i < n; ++i) {
    const uint64_t end = i + 1 < n ? entries[i + 1].offset : fileSize;
    const uint64_t size = end - entries[i].offset;
    if (size > kRecordBufferSize)
      throw EListDBError(FormatText(
          "Invalid record %d of %d: its data of %llu bytes is larger than %d bytes", i + 1, n,
          static_cast<unsigned long long>(size), static_cast<int>(kRecordBufferSize)));
    entries[i].size = static_cast<uint32_t>(size);
  }
}

// ---------------------------------------------------------------------------
// Writing

// Copies text to out with every CR LF pair as a single LF; returns the end.
uint8_t* CopyWithLF(uint8_t* out, std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  if (text.size() < 32) {  // most values: a plain loop beats the library calls
    for (; p < end; ++p) {
      if (*p == '\r' && p + 1 < end && p[1] == '\n') continue;
      *out++ = static_cast<uint8_t>(*p);
    }
    return out;
  }
  while (p < end) {
    const auto* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)));
    const char* stop = cr ? cr : end;
    std::memcpy(out, p, static_cast<size_t>(stop - p));
    out += stop - p;
    if (!cr) break;
    const bool pair = cr + 1 < end && cr[1] == '\n';
    *out++ = pair ? '\n' : '\r';
    p = cr + (pair ? 2 : 1);
  }
  return out;
}

size_t LengthWithLF(std::string_view text) {
  size_t length = text.size();
  for (size_t i = 0; i + 1 < text.size(); ++i) length -= (text[i] == '\r' && text[i + 1] == '\n');
  return length;
}

}  // namespace

void ReadListDB(TListDBData& document, TStream& stream) {
  TListFileReader reader(document, stream);
  reader.ReadRecords(reader.RecordCount());
}

void ReadListDB(TListDBData& document, TStream& stream, TListFileFacts& facts) {
  facts = TListFileFacts();
  TListFileReader reader(document, stream, &facts);
  reader.ReadRecords(reader.RecordCount());
}

struct TListFileReader::TState {
  std::vector<TReadEntry> entries;
  size_t next = 0;  // the first record not read yet
  std::array<int32_t, kCategorySlots> slotIds{};
  // A record in slot 1..15 belongs to the entry loaded from that slot, -1
  // when the slot is empty; slot 0 stands for the entry named like it
  // ("Unfiled").
  std::array<int32_t, kCategorySlots> slotCategory{};
  std::vector<uint8_t> window;
};

TListFileReader::TListFileReader(TListDBData& document, TStream& stream, TListFileFacts* facts)
    : document_(document), stream_(stream), facts_(facts), state_(std::make_unique<TState>()) {
  document.ClearRecords();
  // The records come in without a revision or a word to the listeners each:
  // one for all of them once reading ends (ReadRecords), or here when the
  // file is refused.
  try {
    TListDBCategories& categories = document.Categories();
    categories.Reset();

    std::array<uint8_t, kHeaderSize> header{};
    stream.Seek(0);
    stream.ReadBuffer(header.data(), header.size());
    const std::string type = FixedText(&header[kHdrType], 4);
    const std::string creator = FixedText(&header[kHdrCreator], 4);
    if (type != kType || creator != kCreator)
      throw EListDBError(
          FormatText("Invalid database type or creator ID: %s-%s", type.c_str(), creator.c_str()));
    document.CreationDate = DecodeHeaderDate(GetLong(&header[kHdrCreated]));
    document.ModificationDate = DecodeHeaderDate(GetLong(&header[kHdrModified]));
    if (facts) {
      facts->Attributes = GetWord(&header[kHdrAttributes]);
      facts->Version = GetWord(&header[kHdrVersion]);
      facts->ModificationNumber = GetLong(&header[kHdrModNumber]);
      facts->BackupDate = DecodeHeaderDate(GetLong(&header[kHdrBackup]));
      facts->AppInfoOffset = GetLong(&header[kHdrAppInfo]);
    }

    // The record list, a piece at a time.
    const size_t n = GetWord(&header[kHdrRecordCount]);
    std::vector<TReadEntry>& entries = state_->entries;
    entries.resize(n);
    constexpr size_t kEntriesAtOnce = 2048;
    std::array<uint8_t, kEntriesAtOnce * kEntrySize> rawEntries;
    for (size_t i = 0; i < n;) {
      const size_t count = std::min(kEntriesAtOnce, n - i);
      stream.ReadBuffer(rawEntries.data(), count * kEntrySize);
      for (size_t k = 0; k < count; ++k, ++i) {
        const uint8_t* raw = &rawEntries[k * kEntrySize];
        entries[i] = {GetLong(raw), 0, static_cast<uint8_t>(raw[4] & 0x0F)};
      }
    }

    std::array<uint8_t, kAppInfoSize> block{};
    stream.Seek(stream.Position() + kFillerSize);
    if (facts) facts->AppInfoFoundAt = static_cast<uint32_t>(stream.Position());
    stream.ReadBuffer(block.data(), block.size());
    ComputeRecordSizes(entries, stream.Size());

    document.StoreNamesUnchecked(FixedText(&header[kHdrName], kMaxDatabaseName),
                                 FixedText(&block[kAiField1], kMaxFieldName),
                                 FixedText(&block[kAiField2], kMaxFieldName));

    std::array<std::string, kCategorySlots> slotNames;
    for (int slot = 0; slot < kCategorySlots; ++slot)
      slotNames[slot] = FixedText(&block[kAiNames + slot * kSlotNameSize], kSlotNameSize);
    const std::array<int32_t, kCategorySlots>& slotIds = state_->slotIds =
        LoadedCategoryIds(block.data(), slotNames);
    if (facts) {
      int empty = 0;
      for (int slot = 1; slot < kCategorySlots; ++slot) {
        if (slotNames[slot].empty()) {
          ++empty;
          continue;
        }
        facts->ClosedUpSlots += empty;
        empty = 0;
        facts->RenumberedCategories += slotIds[slot] != block[kAiIds + slot];
      }
    }
    std::array<int32_t, kCategorySlots>& slotCategory = state_->slotCategory;
    slotCategory[0] = categories.IDOfName(slotNames[0]);
    for (int slot = 1; slot < kCategorySlots; ++slot) {
      slotCategory[slot] = slotIds[slot];
      if (slotIds[slot] >= 0) categories.AppendEntry(slotNames[slot], slotIds[slot]);
    }
    // A slot 0 named like a loaded entry (the file's own "Unfiled" aside)
    // finds that entry, as it always did.
    if (slotCategory[0] < 0) {
      for (int slot = 1; slot < kCategorySlots; ++slot) {
        if (slotIds[slot] >= 0 && slotNames[slot] == slotNames[0]) {
          slotCategory[0] = slotIds[slot];
          break;
        }
      }
    }
  } catch (...) {
    document.TouchAll();
    document.Notify({TListDBChange::Reset});
    throw;
  }
}

TListFileReader::~TListFileReader() = default;

size_t TListFileReader::RecordCount() const { return state_->entries.size(); }

bool TListFileReader::ReadRecords(size_t count) {
  struct TReadEnd {
    TListDBData& document;
    ~TReadEnd() {
      document.TouchAll();
      document.Notify({TListDBChange::Reset});
    }
  } readEnd{document_};
  const std::vector<TReadEntry>& entries = state_->entries;
  size_t i = state_->next;
  const size_t n = i + std::min(count, entries.size() - i);
  if (i == n) return false;
  document_.ReserveRecords(document_.RecordCount() + static_cast<int>(n - i));
  // The values take about the records' data less each record's three offsets
  // and three zero bytes: one block of that size holds most of them (LF
  // breaks that become CR LF go on into the next).
  {
    const uint64_t data =
        (n < entries.size() ? entries[n].offset : stream_.Size()) - entries[i].offset;
    const uint64_t overhead = 6 * static_cast<uint64_t>(n - i);
    document_.texts_.Reserve(static_cast<size_t>(data > overhead ? data - overhead : data));
  }

  // The records lie back to back (ComputeRecordSizes made sure); they are read
  // in windows of whole records.
  constexpr uint64_t kWindow = 256 * 1024;
  std::vector<uint8_t>& window = state_->window;
  while (i < n) {
    const uint64_t from = entries[i].offset;
    uint64_t to = from + entries[i].size;
    size_t j = i + 1;
    while (j < n && entries[j].offset + entries[j].size - from <= kWindow) {
      to = entries[j].offset + entries[j].size;
      ++j;
    }
    window.resize(static_cast<size_t>(to - from) + kPadding);
    stream_.Seek(from);
    stream_.ReadBuffer(window.data(), window.size() - kPadding);
    for (; i < j; ++i) {
      const TReadEntry& entry = entries[i];
      const uint8_t* p = window.data() + (entry.offset - from);
      const TRecordValues values(p, entry.size);
      const std::string_view raw1 = values.Value(0), raw2 = values.Value(1);
      const std::string_view rawNotes = values.Value(2);
      const std::string_view field1 = TrimView(raw1);
      const std::string_view field2 = TrimView(raw2);
      // Trimming first gives the same note: the line breaks at its ends go either way.
      // Like the fields, the note is taken as the file holds it: LF breaks that
      // became CR LF may take it past the typing limit, and a list the
      // handheld wrote must still open.
      const std::string_view notes = TrimView(rawNotes);
      if (facts_) {
        facts_->TrimmedRecords += field1.size() != raw1.size() || field2.size() != raw2.size() ||
                                  notes.size() != rawNotes.size();
        facts_->RecordsInEmptySlots += entry.slot != 0 && state_->slotIds[entry.slot] < 0;
      }
      // The three values go straight into the document's text store.
      char* const out =
          document_.ReadRoom(field1.size() + field2.size() + 2 * notes.size() + kPadding);
      char* q = out;
      CopyBytes(q, field1.data(), field1.size());
      q += field1.size();
      CopyBytes(q, field2.data(), field2.size());
      q += field2.size();
      const size_t notesLength = static_cast<size_t>(CopyWithCRLF(q, notes) - q);
      document_.AddReadRecord(
          state_->slotCategory[entry.slot], static_cast<uint32_t>(field1.size()),
          static_cast<uint32_t>(field2.size()), static_cast<uint32_t>(notesLength));
    }
  }
  state_->next = n;
  return true;
}

void WriteListDB(const TListDBData& document, TStream& stream) {
  const TListDBCategories& categories = document.Categories();
  const int n = document.RecordCount();
  if (n > kMaxFileRecords)
    throw EListDBError(FormatText("The list has %d records, but a list file can hold at most %d", n,
                                  kMaxFileRecords));
  if (categories.Count() > kMaxCategorySlots)
    throw EListDBError(FormatText("The list has %d categories, but a list file can hold at most %d",
                                  categories.Count(), kMaxCategorySlots));
  // The whole file is built in memory in one pass over the records and written
  // in one go, so a refused document leaves the stream untouched.
  const size_t dataStart = kHeaderSize + kEntrySize * n + kFillerSize + kAppInfoSize;
  std::vector<uint8_t> file(dataStart);
  file.reserve(dataStart + 64 * static_cast<size_t>(n));

  // Each record goes under the slot of its category entry (the first with its
  // id, -1 and unknown ids in slot 0), so a table whose ids are not compacted
  // still keeps every record in its category.
  std::array<int32_t, kCategorySlots> slotIds{};
  const int slots = categories.Count();
  for (int i = 0; i < slots; ++i) slotIds[i] = categories.IDAt(i);

  for (int i = 0; i < n; ++i) {
    const TListRecord* record = document.GetRecord(i);
    const std::string_view f1 = record->Field1();
    const std::string_view f2 = record->Field2();
    const std::string_view notes = record->Notes();
    if (f1.size() + f2.size() > static_cast<size_t>(kMaxFileFieldsTogether)) {
      const size_t together = LengthWithLF(f1) + LengthWithLF(f2);
      if (together > static_cast<size_t>(kMaxFileFieldsTogether))
        throw EListDBError(
            FormatText("Record %d of %d cannot be saved: its two field values are %zu characters "
                       "long together, but a list file can hold at most %d",
                       i + 1, n, together, kMaxFileFieldsTogether));
    }
    // CR LF -> LF only shrinks a value, so this is room enough.
    const size_t start = file.size();
    file.resize(start + 6 + f1.size() + f2.size() + notes.size());
    uint8_t* const out = file.data() + start;
    uint8_t* q = out + 3;
    out[0] = 3;
    q = CopyWithLF(q, f1);
    *q++ = 0;
    out[1] = static_cast<uint8_t>(q - out);
    q = CopyWithLF(q, f2);
    *q++ = 0;
    out[2] = static_cast<uint8_t>(q - out);
    q = CopyWithLF(q, notes);
    *q++ = 0;
    file.resize(static_cast<size_t>(q - file.data()));

    const int32_t id = record->CategoryID();
    int slot = 0;
    while (slot < slots && slotIds[slot] != id) ++slot;
    uint8_t* e = file.data() + kHeaderSize + kEntrySize * i;
    PutLong(e, static_cast<uint32_t>(start));
    e[4] = static_cast<uint8_t>(slot < slots ? slot : 0);
    e[5] = 0;
    e[6] = static_cast<uint8_t>((i / 256) % 256);
    e[7] = static_cast<uint8_t>(i % 256);
  }

  // Header.
  uint8_t* h = file.data();
  PutFixedText(h + kHdrName, kMaxDatabaseName, document.DatabaseName());
  PutWord(h + kHdrAttributes, 0x0008);
  const uint32_t now = EncodeHeaderDate(NowLocal());  // already in file order
  std::memcpy(h + kHdrCreated, &now, 4);
  std::memcpy(h + kHdrModified, &now, 4);
  std::memcpy(h + kHdrBackup, &now, 4);
  PutLong(h + kHdrAppInfo, static_cast<uint32_t>(kHeaderSize + kEntrySize * n + kFillerSize));
  std::memcpy(h + kHdrType, kType, 4);
  std::memcpy(h + kHdrCreator, kCreator, 4);
  PutWord(h + kHdrRecordCount, static_cast<uint16_t>(n));

  uint8_t* filler = h + kHeaderSize + kEntrySize * n;
  filler[0] = 0x80;
  filler[1] = 0x00;

  // Application-information block.
  uint8_t* ai = filler + kFillerSize;
  PutWord(ai + kAiFlags, 0x000E);
  int32_t largestId = 1;
  for (int i = 0; i < categories.Count(); ++i) {
    PutFixedText(ai + kAiNames + i * kSlotNameSize, kSlotNameSize, categories.NameAt(i));
    ai[kAiIds + i] = static_cast<uint8_t>(categories.IDAt(i) & 0xFF);
    largestId = std::max(largestId, categories.IDAt(i));
  }
  ai[kAiLastId] = static_cast<uint8_t>((static_cast<int64_t>(largestId) + 1) & 0xFF);
  PutFixedText(ai + kAiField1, kMaxFieldName, document.CustomField1());
  PutFixedText(ai + kAiField2, kMaxFieldName, document.CustomField2());

  stream.Seek(0);
  stream.Truncate();
  stream.Write(file.data(), file.size());
}

void CompactCategories(TListDBData& document) { document.Categories().Compact(); }
