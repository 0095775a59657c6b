// The list database: the in-memory model of one handheld list (records,
// category table, names, limits) and the reader and writer of its file.
// Standard C++ only; every text is a byte string in the Windows-1252 code page.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Streams.h"

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

// The kinds of value a record has, for the document's change counters.
enum class TRecordValue { Field1, Field2, Notes, Category };

class TListRecord {
 public:
  explicit TListRecord(TListDBData* owner);  // raises when owner is null

  TListDBData* Owner() const { return owner_; }
  const std::string& Field1() const { return field1_; }
  const std::string& Field2() const { return field2_; }
  const std::string& Notes() const { return notes_; }
  int32_t CategoryID() const { return categoryId_; }

  void SetField1(const std::string& value);  // at most 112
  void SetField2(const std::string& value);  // at most 112
  void SetNotes(const std::string& value);   // at most 4095
  void SetNotes(std::string&& value);        // at most 4095
  void SetCategoryID(int32_t id);            // -1 when no entry has the id
  // Checks the three values as the setters do, in their order (the first
  // refused raises its message), and only then stores all four: a refused
  // value leaves the record as it was.
  void Assign(std::string field1, std::string field2, std::string notes, int32_t categoryId);
  std::string CategoryName() const;
  int Index() const;                           // position in the owner's records, -1 when absent
  uint32_t Serial() const { return serial_; }  // below the owner's SerialLimit()

  // The file reader stores values without the length checks.
  void StoreField1Unchecked(std::string value);
  void StoreField2Unchecked(std::string value);
  void StoreNotesUnchecked(std::string value);

 private:
  // The category table renumbers records directly while it changes ids.
  friend class TListDBCategories;

  TListDBData* owner_;
  uint32_t serial_;
  std::string field1_, field2_, notes_;
  int32_t categoryId_ = -1;
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
  void Compact();
  void ChangeID(int32_t oldId, int32_t newId);
  std::string NameOf(int32_t id) const;
  int IndexOfID(int32_t id) const;
  int32_t IDOfName(const std::string& name) const;
  int32_t IDAt(int index) const { return entries_.at(index).id; }
  const std::string& NameAt(int index) const { return entries_.at(index).name; }
  void AppendEntry(const std::string& name, int32_t id);
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
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
  void ClearRecords();
  void DeleteRecord(int index);  // sets Modified
  TListRecord* GetRecord(int index) const { return records_.at(index).get(); }
  int RecordCount() const { return static_cast<int>(records_.size()); }
  // Makes room for count records without changing the list (the file reader).
  void ReserveRecords(int count) { records_.reserve(count > 0 ? static_cast<size_t>(count) : 0); }

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

  uint32_t SerialLimit() const { return nextSerial_; }
  uint64_t Revision(TRecordValue which) const { return revisions_[static_cast<int>(which)]; }
  void Touch(TRecordValue which);
  void TouchAll();

  TDateTime CreationDate;
  TDateTime ModificationDate;
  std::string FileName;
  bool Modified = false;

 private:
  friend class TListRecord;
  std::vector<std::unique_ptr<TListRecord>> records_;
  uint32_t nextSerial_ = 0;
  uint64_t revisions_[4] = {};
  std::unique_ptr<TListDBCategories> categories_;
  std::string databaseName_, customField1_, customField2_;
};

// Reads a whole list file from the stream into the document (replacing its
// records, categories, names and dates). Raises EListDBError on a refused file
// and the stream's errors on a short one.
void ReadListDB(TListDBData& document, TStream& stream);

// Truncates the stream and writes the document as a list file. Refuses, before
// touching the stream, a document that cannot be stored without corruption.
void WriteListDB(const TListDBData& document, TStream& stream);

// The most records and category entries a list file can hold.
inline constexpr int kMaxFileRecords = 65535;
// Field 1 and field 2 of one record together: both value offsets must fit a byte.
inline constexpr int kMaxFileFieldsTogether = 250;

// Compact on the document's category table.
void CompactCategories(TListDBData& document);
