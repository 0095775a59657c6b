// The in-memory list database: records, the category table and the document.
#include "core/listdb.h"

#include <algorithm>
#include <atomic>

#include "core/FormatText.h"

namespace {

const char kUnfiled[] = "Unfiled";

// The checks of the setters, one per value, each raising the value's message.
void CheckLength(const std::string& value, int limit, const char* format) {
  if (static_cast<int64_t>(value.size()) > limit) throw EListDBError(FormatText(format, limit));
}

const char kField1Long[] = "Field1 value is longer than %d";
const char kField2Long[] = "Field2 value is longer than %d";
const char kNotesLong[] = "Notes value is longer than %d";
const char kNameLong[] = "Database name is longer than %d";
const char kCustomField1Long[] = "CustomField1 name is longer than %d";
const char kCustomField2Long[] = "CustomField2 name is longer than %d";

}  // namespace

// ---------------------------------------------------------------------------
// TListRecord

TListRecord::TListRecord(TListDBData* owner) : owner_(owner) {
  if (owner_ == nullptr) throw EListDBError("Owner of \"record\" can't be a NULL");
  serial_ = owner_->nextSerial_++;
  SetCategoryID(-1);
}

void TListRecord::StoreField1Unchecked(std::string value) {
  field1_ = std::move(value);
  owner_->Touch(TRecordValue::Field1);
}
void TListRecord::StoreField2Unchecked(std::string value) {
  field2_ = std::move(value);
  owner_->Touch(TRecordValue::Field2);
}
void TListRecord::StoreNotesUnchecked(std::string value) {
  notes_ = std::move(value);
  owner_->Touch(TRecordValue::Notes);
}

void TListRecord::SetField1(const std::string& value) {
  CheckLength(value, kMaxFieldValue, kField1Long);
  field1_ = value;
  owner_->Touch(TRecordValue::Field1);
}

void TListRecord::SetField2(const std::string& value) {
  CheckLength(value, kMaxFieldValue, kField2Long);
  field2_ = value;
  owner_->Touch(TRecordValue::Field2);
}

void TListRecord::SetNotes(const std::string& value) {
  CheckLength(value, kMaxNotes, kNotesLong);
  notes_ = value;
  owner_->Touch(TRecordValue::Notes);
}

void TListRecord::SetNotes(std::string&& value) {
  CheckLength(value, kMaxNotes, kNotesLong);
  notes_ = std::move(value);
  owner_->Touch(TRecordValue::Notes);
}

void TListRecord::Assign(std::string field1, std::string field2, std::string notes,
                         int32_t categoryId) {
  CheckLength(field1, kMaxFieldValue, kField1Long);
  CheckLength(field2, kMaxFieldValue, kField2Long);
  CheckLength(notes, kMaxNotes, kNotesLong);
  field1_ = std::move(field1);
  field2_ = std::move(field2);
  notes_ = std::move(notes);
  owner_->TouchAll();
  SetCategoryID(categoryId);
}

void TListRecord::SetCategoryID(int32_t id) {
  categoryId_ = owner_->Categories().IndexOfID(id) >= 0 ? id : -1;
  owner_->Touch(TRecordValue::Category);
}

std::string TListRecord::CategoryName() const { return owner_->Categories().NameOf(categoryId_); }

int TListRecord::Index() const {
  for (int i = 0; i < owner_->RecordCount(); ++i) {
    if (owner_->GetRecord(i) == this) return i;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// TListDBCategories

TListDBCategories::TListDBCategories(TListDBData* owner) : owner_(owner) {
  if (owner_ == nullptr) throw EListDBError("Owner of \"categories\" can't be a NULL");
  Reset();
}

void TListDBCategories::Reset() {
  owner_->Touch(TRecordValue::Category);
  entries_.clear();
  entries_.push_back({kUnfiled, 0});
}

int32_t TListDBCategories::Add(const std::string& name) {
  if (static_cast<int64_t>(name.size()) > kMaxCategoryName)
    throw EListDBError(FormatText("Category name can't be longer than %d", kMaxCategoryName));
  if (Count() >= kMaxAddedCategories)
    throw EListDBError(
        FormatText("Count of categories can't be more than %d", kMaxAddedCategories));
  for (const Entry& entry : entries_) {
    if (SameTextIgnoreCase(entry.name, name))
      throw EListDBError(FormatText("Categoriy named \"%s\" already exists", name.c_str()));
  }
  int64_t largest = 0;
  for (const Entry& entry : entries_) largest = std::max<int64_t>(largest, entry.id);
  // Ids come from Add, Compact and the file (0..255), so the next one always fits.
  const auto id = static_cast<int32_t>(std::min<int64_t>(largest + 1, INT32_MAX));
  entries_.push_back({name, id});
  owner_->Touch(TRecordValue::Category);
  return id;
}

void TListDBCategories::Delete(int32_t id) {
  owner_->Touch(TRecordValue::Category);
  const int index = IndexOfID(id);
  if (index < 0) throw EListDBError("Category not found.");
  entries_.erase(entries_.begin() + index);
  for (int i = 0; i < owner_->RecordCount(); ++i) {
    TListRecord* record = owner_->GetRecord(i);
    if (record->categoryId_ == id) record->categoryId_ = -1;
  }
}

void TListDBCategories::Rename(int32_t id, const std::string& name) {
  owner_->Touch(TRecordValue::Category);
  const int index = IndexOfID(id);
  if (index < 0) throw EListDBError("Category not found.");
  const int32_t existing = IDOfName(name);
  if (existing != -1 && existing != id)
    throw EListDBError(FormatText("Category \"%s\" already exists.", name.c_str()));
  entries_[index].name = name;
}

void TListDBCategories::ChangeID(int32_t oldId, int32_t newId) {
  owner_->Touch(TRecordValue::Category);
  const int index = IndexOfID(oldId);
  if (index < 0)
    throw EListDBError(FormatText("Unable to compact categories. Category with index %d not exists",
                                  static_cast<int>(oldId)));
  for (int i = 0; i < owner_->RecordCount(); ++i) {
    TListRecord* record = owner_->GetRecord(i);
    if (record->categoryId_ == oldId) record->categoryId_ = newId;
  }
  entries_[index].id = newId;
}

void TListDBCategories::Compact() {
  // The detour through 16000 + i keeps a new id from meeting an old one.
  constexpr int32_t kDetour = 16000;
  for (int i = 0; i < Count(); ++i) ChangeID(entries_[i].id, kDetour + i);
  for (int i = 0; i < Count(); ++i) ChangeID(kDetour + i, i);
}

std::string TListDBCategories::NameOf(int32_t id) const {
  const int index = IndexOfID(id);
  return index < 0 ? std::string(kUnfiled) : entries_[index].name;
}

int TListDBCategories::IndexOfID(int32_t id) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

int32_t TListDBCategories::IDOfName(const std::string& name) const {
  for (const Entry& entry : entries_) {
    if (entry.name == name) return entry.id;
  }
  return -1;
}

void TListDBCategories::AppendEntry(const std::string& name, int32_t id) {
  owner_->Touch(TRecordValue::Category);
  entries_.push_back({name, id});
}

// ---------------------------------------------------------------------------
// TListDBData

TListDBData::TListDBData()
    : CreationDate(NowLocal()),
      ModificationDate(CreationDate),
      categories_(std::make_unique<TListDBCategories>(this)) {}

TListDBData::~TListDBData() { ClearRecords(); }

namespace {
uint64_t NextRevision() {
  static std::atomic<uint64_t> counter{0};
  return ++counter;
}
}  // namespace

void TListDBData::Touch(TRecordValue which) {
  revisions_[static_cast<int>(which)] = NextRevision();
}

void TListDBData::TouchAll() {
  for (uint64_t& revision : revisions_) revision = NextRevision();
}

TListRecord* TListDBData::AddRecord() {
  TouchAll();
  records_.push_back(std::make_unique<TListRecord>(this));
  return records_.back().get();
}

void TListDBData::ClearRecords() {
  records_.clear();
  nextSerial_ = 0;
  TouchAll();
}

void TListDBData::DeleteRecord(int index) {
  records_.at(index);  // a position outside the list raises std::out_of_range
  records_.erase(records_.begin() + index);
  Modified = true;
}

void TListDBData::SetDatabaseName(const std::string& name) {
  CheckLength(name, kMaxDatabaseName, kNameLong);
  databaseName_ = name;
}

void TListDBData::SetCustomField1(const std::string& name) {
  CheckLength(name, kMaxFieldName, kCustomField1Long);
  customField1_ = name;
}

void TListDBData::SetCustomField2(const std::string& name) {
  CheckLength(name, kMaxFieldName, kCustomField2Long);
  customField2_ = name;
}

void TListDBData::SetNames(std::string name, std::string field1, std::string field2) {
  CheckLength(name, kMaxDatabaseName, kNameLong);
  CheckLength(field1, kMaxFieldName, kCustomField1Long);
  CheckLength(field2, kMaxFieldName, kCustomField2Long);
  StoreNamesUnchecked(std::move(name), std::move(field1), std::move(field2));
}

void TListDBData::StoreNamesUnchecked(std::string databaseName, std::string field1,
                                      std::string field2) {
  databaseName_ = std::move(databaseName);
  customField1_ = std::move(field1);
  customField2_ = std::move(field2);
}
