// The list database: the in-memory model of one handheld list (records,
// category table, names, limits) and the reader and writer of its file.
// Standard C++ only; every text is a byte string in the Windows-1252 code page.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Streams.h"
#include "core/TextStore.h"

// Every rejected value and every refused file raises this; its message is what
// the user reads.
class EListDBError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Days since 1899-12-30 as a double; the fraction is the time of day.
using TDateTime = double;

// Limits of the model, in characters (bytes).
inline constexpr int kMaxFieldValue = 112;
inline constexpr int kMaxNotes = 4095;
inline constexpr int kMaxDatabaseName = 32;
inline constexpr int kMaxFieldName = 16;
inline constexpr int kMaxCategoryName = 16;
inline constexpr int kMaxAddedCategories = 15;  // Add grows the table to at most 15 entries
inline constexpr int kMaxCategorySlots = 16;    // a file holds at most 16

// Removes leading and trailing characters with codes 0 to 32. Inline: the file
// reader trims every value it reads.
inline std::string_view TrimView(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32) ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
  return text.substr(first, last - first);
}
std::string Trim(const std::string& s);

// Equality ignoring letter case for Windows-1252 text: A-Z, the accented
// letters and the Š/Œ/Ž/Ÿ pairs fold to their lower-case forms.
bool SameTextIgnoreCase(const std::string& a, const std::string& b);
char FoldCase1252(char c);

// The local time now as a TDateTime.
TDateTime NowLocal();

class TListDBData;
struct TListFileFacts;

// The values of a record that views of the list may cache: each has its own
// revision in the document (TListDBData::Revision).
enum class TRecordValue { Field1, Field2, Notes, Category };

// A record of a list. Records live in blocks their document owns: a record's
// address stays the same from AddRecord until DeleteRecord or ClearRecords,
// however many records come and go meanwhile. Its three texts lie back to back
// in the document's text store; the views the accessors return stay valid
// until the record's next change or the document's ClearRecords.
class TListRecord {
 public:
  TListRecord(const TListRecord&) = delete;
  // Takes the other record's values (texts and category id); owner and serial
  // number stay.
  TListRecord& operator=(const TListRecord& other);

  TListDBData* Owner() const { return owner_; }
  std::string_view Field1() const { return {text_, length_[0]}; }
  std::string_view Field2() const { return {text_ + length_[0], length_[1]}; }
  std::string_view Notes() const { return {text_ + length_[0] + length_[1], length_[2]}; }
  int32_t CategoryID() const { return categoryId_; }
  // A number no other live record of the document has, below the document's
  // SerialLimit() and kept for the record's life; a freshly read list of n
  // records numbers them 0..n-1, and AddRecord may reuse a deleted record's.
  // Views key per-record caches by it. Records outside the list have kNoSerial.
  uint32_t Serial() const { return serial_; }
  static constexpr uint32_t kNoSerial = UINT32_MAX;

  void SetField1(std::string_view value);  // at most 112
  void SetField2(std::string_view value);  // at most 112
  void SetNotes(std::string_view value);   // at most 4095
  void SetCategoryID(int32_t id);          // -1 when no entry has the id
  // Checks the three values as the setters do, in their order (the first
  // refused raises its message), and only then stores all four: a refused
  // value leaves the record as it was.
  void Assign(std::string_view field1, std::string_view field2, std::string_view notes,
              int32_t categoryId);
  std::string CategoryName() const;
  int Index() const;  // position in the owner's records, -1 when absent

  // The file reader stores values without the length checks.
  void StoreField1Unchecked(std::string_view value);
  void StoreField2Unchecked(std::string_view value);
  void StoreNotesUnchecked(std::string_view value);

 protected:
  // Raises when owner is null. Records of the list are made by the document;
  // a record outside it is a TDetachedRecord.
  explicit TListRecord(TListDBData* owner);

 private:
  // The category table renumbers records directly while it changes ids; the
  // document places records and their texts.
  friend class TListDBCategories;
  friend class TListDBData;
  friend class TDetachedRecord;

  // Stores the three texts (any of which may be a view of this record's own).
  void StoreTexts(std::string_view field1, std::string_view field2, std::string_view notes);
  void StoreCategory(int32_t id);

  TListDBData* owner_;
  const char* text_ = nullptr;  // field 1, field 2 and the note, back to back
  uint32_t length_[3] = {0, 0, 0};
  uint32_t capacity_ = 0;  // bytes at text_ this record may rewrite
  int32_t categoryId_ = -1;
  uint32_t serial_ = kNoSerial;
};

// A record outside the document's list, holding values to check and copy into
// one (the record dialog's). Its texts lie in the owner's store and go back to
// it when the record goes; it must not outlive its owner nor be used after the
// owner's next ClearRecords.
class TDetachedRecord : public TListRecord {
 public:
  explicit TDetachedRecord(TListDBData* owner);
  ~TDetachedRecord();
  TDetachedRecord& operator=(const TListRecord& other) {
    TListRecord::operator=(other);
    return *this;
  }

 private:
  uint64_t storeGeneration_;
};

// What changed in a document, as its listeners are told right after the change.
struct TListDBChange {
  enum Kind {
    RecordAdded,     // record: appended at the end of the list (its values empty)
    RecordChanged,   // record: one or more of its values (value; Assign tells Field1)
    RecordsRemoved,  // removed: the former positions, ascending
    Categories,      // the category table (names, ids, entries)
    Names,           // the list's name and the field names
    Reset,           // everything: ClearRecords, a file read (done or failed)
    Destroyed,       // the document is going away; listeners must let go of it
  };
  TListDBChange(Kind kind, const TListRecord* record = nullptr,
                TRecordValue value = TRecordValue::Field1)
      : kind(kind), record(record), value(value) {}
  Kind kind;
  const TListRecord* record;
  TRecordValue value;
  // With Assign or a record copy every value changed.
  bool allValues = false;
  std::span<const int> removed;
};

class TListDBCategories {
 public:
  struct Entry {
    std::string name;
    int32_t id;
  };

  explicit TListDBCategories(TListDBData* owner);  // raises when owner is null

  void Reset();
  int Count() const { return static_cast<int>(entries_.size()); }
  int32_t Add(const std::string& name);
  void Delete(int32_t id);
  void Rename(int32_t id, const std::string& name);
  // Gives the entries the ids 0..Count()-1 in their order and moves the
  // records along, in one pass over the records (none when nothing changes).
  void Compact();
  void ChangeID(int32_t oldId, int32_t newId);
  std::string NameOf(int32_t id) const;
  int IndexOfID(int32_t id) const;
  // Whether an entry has the id (mostly the entry at that position, which is
  // looked at first).
  bool HasID(int32_t id) const {
    return (id >= 0 && static_cast<size_t>(id) < entries_.size() &&
            entries_[static_cast<size_t>(id)].id == id) ||
           IndexOfID(id) >= 0;
  }
  int32_t IDOfName(const std::string& name) const;
  int32_t IDAt(int index) const { return entries_.at(index).id; }
  const std::string& NameAt(int index) const { return entries_.at(index).name; }
  void AppendEntry(const std::string& name, int32_t id);
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  void Changed();

  TListDBData* owner_;
  std::vector<Entry> entries_;
};

class TListDBData {
 public:
  TListDBData();
  ~TListDBData();
  TListDBData(const TListDBData&) = delete;
  TListDBData& operator=(const TListDBData&) = delete;

  TListRecord* AddRecord();
  // AddRecord and Assign in one (the same checks, listeners told the same),
  // for building a list in bulk: the texts take exactly their room, as a
  // read file's do, rather than a chunk an edit may grow into.
  TListRecord* AppendRecord(std::string_view field1, std::string_view field2,
                            std::string_view notes, int32_t categoryId);
  void ClearRecords();
  void DeleteRecord(int index);
  // Deletes the records at the given positions (in any order, repeats
  // allowed) in one pass; the others keep their order. A position outside the
  // list raises std::out_of_range before anything is deleted.
  void DeleteRecords(std::vector<int> indexes);
  TListRecord* GetRecord(int index) const { return records_.at(index); }
  int RecordCount() const { return static_cast<int>(records_.size()); }
  // Makes room for count records without changing the list (the file reader).
  void ReserveRecords(int count) { records_.reserve(count > 0 ? static_cast<size_t>(count) : 0); }
  // Every live record's Serial() is below this.
  uint32_t SerialLimit() const { return serialLimit_; }
  // Bytes the record texts' store holds (the texts and the room around them).
  size_t TextStoreBytes() const { return texts_.Bytes(); }

  // Changes whenever the value may have changed for any record of the
  // document: the value's setters, Assign and StoreXUnchecked (Assign and
  // copying a record count as all four), AddRecord, ClearRecords and reading
  // a file (all four); for Category also every change to the category table.
  // DeleteRecord leaves the revisions (the other records keep their values).
  // Revisions come from one counter for the whole process: no two documents
  // ever show the same revision, and a revision once left never comes back.
  uint64_t Revision(TRecordValue which) const {
    if (touchPending_) TouchAll();
    return revisions_[static_cast<size_t>(which)];
  }

  TListDBCategories& Categories() { return *categories_; }
  const TListDBCategories& Categories() const { return *categories_; }

  const std::string& DatabaseName() const { return databaseName_; }
  const std::string& CustomField1() const { return customField1_; }
  const std::string& CustomField2() const { return customField2_; }
  void SetDatabaseName(const std::string& name);  // at most 32
  void SetCustomField1(const std::string& name);  // at most 16
  void SetCustomField2(const std::string& name);  // at most 16
  // The three names at once: all are checked (in the order above) before any
  // changes, so a refused name leaves all three as they were.
  void SetNames(std::string name, std::string field1, std::string field2);

  // The file reader stores names without the length checks.
  void StoreNamesUnchecked(std::string databaseName, std::string field1, std::string field2);

  // Listeners are called right after each change to a record of the list, the
  // category table or the names (records outside the list tell nobody). A
  // listener may not change the document. Subscribe returns the key that
  // Unsubscribe takes.
  using TListener = std::function<void(const TListDBChange&)>;
  int Subscribe(TListener listener);
  void Unsubscribe(int key);

  // True when the document changed since the last SetModified(false) (the
  // window's save and load), or SetModified(true) said so (a new list).
  bool Modified() const { return forcedModified_ || changes_ != savedChanges_; }
  void SetModified(bool modified);
  // Counts every change listeners were told of.
  uint64_t ChangeCount() const { return changes_; }

  TDateTime CreationDate;
  TDateTime ModificationDate;
  std::string FileName;

 private:
  friend class TListRecord;
  friend class TDetachedRecord;
  friend class TListDBCategories;
  friend class TListFileReader;

  // Raw room for records, never moved while the document holds them.
  struct alignas(TListRecord) RecordSlot {
    unsigned char bytes[sizeof(TListRecord)];
  };
  static constexpr uint32_t kRecordsPerBlock = 1024;

  TListRecord* NewRecord();  // in the list, without a new revision
  void Touch(TRecordValue which);
  void TouchAll() const;
  void Notify(const TListDBChange& change);
  // A value of the record changed: listeners hear of it when the record is in
  // the list.
  void RecordChanged(const TListRecord* record, TRecordValue value, bool all);
  // The file reader: room for the next record's texts (at least size bytes),
  // then the record whose texts are the first bytes of that room.
  char* ReadRoom(size_t size) { return texts_.Room(size); }
  TListRecord* AddReadRecord(int32_t categoryId, uint32_t field1, uint32_t field2, uint32_t notes);

  std::vector<TListRecord*> records_;
  std::vector<std::unique_ptr<RecordSlot[]>> recordBlocks_;
  std::vector<uint32_t> freeSerials_;  // of deleted records, the latest last
  uint32_t serialLimit_ = 0;
  // No record holds a category id above this (the table's Compact may then
  // know that a table already compact needs no pass over the records).
  int32_t categoryIdCeiling_ = -1;
  TTextStore texts_;
  // Before the category table, which tells of its first entry while built.
  std::vector<std::pair<int, TListener>> listeners_;
  int nextListenerKey_ = 0;
  uint64_t changes_ = 0, savedChanges_ = 0;
  bool forcedModified_ = false;
  // Mutable for the one change that takes its revision when asked
  // (touchPending_, AppendRecord without listeners).
  mutable uint64_t revisions_[4];
  mutable bool touchPending_ = false;
  std::unique_ptr<TListDBCategories> categories_;
  std::string databaseName_, customField1_, customField2_;
};

// Reads a whole list file from the stream into the document (replacing its
// records, categories, names and dates). Raises EListDBError on a refused file
// and the stream's errors on a short one.
void ReadListDB(TListDBData& document, TStream& stream);

// What the reader saw in a file beyond the document itself: the header fields
// the document does not keep, and what it mended so that the file would load.
struct TListFileFacts {
  uint16_t Attributes = 0;  // the header's flags (0x0008: back up)
  uint16_t Version = 0;
  uint32_t ModificationNumber = 0;
  TDateTime BackupDate = 0;
  uint32_t AppInfoOffset = 0;   // where the header says the category block is
  uint32_t AppInfoFoundAt = 0;  // where the reader took it from
  // Mended: category entries given another id (their id byte was "Unfiled"'s
  // or another entry's), empty category slots closed up (named slots after
  // them moved down), records filed under an empty slot (now unfiled), and
  // records whose values lost leading or trailing blanks and control bytes.
  int RenumberedCategories = 0;
  int ClosedUpSlots = 0;
  int RecordsInEmptySlots = 0;
  int TrimmedRecords = 0;
};

// ReadListDB that also tells what it saw and mended.
void ReadListDB(TListDBData& document, TStream& stream, TListFileFacts& facts);

// A list file read a part at a time, for a program that passes the records
// on and need not hold them all (the converter): the constructor reads the
// header, names and category table into the document and clears its
// records; each ReadRecords then adds the next records in the file's order,
// after those the document holds (the caller may clear them in between).
// Raises as ReadListDB does; facts, when given, must outlive the reader.
class TListFileReader {
 public:
  TListFileReader(TListDBData& document, TStream& stream, TListFileFacts* facts = nullptr);
  ~TListFileReader();
  TListFileReader(const TListFileReader&) = delete;
  TListFileReader& operator=(const TListFileReader&) = delete;
  // Records in the file.
  size_t RecordCount() const;
  // Adds up to count more records; false when none were left.
  bool ReadRecords(size_t count);

 private:
  struct TState;
  TListDBData& document_;
  TStream& stream_;
  TListFileFacts* facts_;
  std::unique_ptr<TState> state_;
};

// Truncates the stream and writes the document as a list file. Refuses, before
// touching the stream, a document that cannot be stored without corruption.
void WriteListDB(const TListDBData& document, TStream& stream);

// The most records and category entries a list file can hold.
inline constexpr int kMaxFileRecords = 65535;
// Field 1 and field 2 of one record together: both value offsets must fit a byte.
inline constexpr int kMaxFileFieldsTogether = 250;

// Compact on the document's category table.
void CompactCategories(TListDBData& document);
