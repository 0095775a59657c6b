// The in-memory list database: records, the category table and the document.
#include "core/listdb.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <type_traits>

#include "core/FormatText.h"

namespace {

const char kUnfiled[] = "Unfiled";

// Every revision of every document comes from here, so none repeats.
std::atomic<uint64_t> lastRevision{0};
uint64_t NewRevision() { return lastRevision.fetch_add(1, std::memory_order_relaxed) + 1; }

// The checks of the setters, one per value, each raising the value's message.
[[noreturn]] void ThrowTooLong(const char* format, int limit) {
  throw EListDBError(FormatText(format, limit));
}

inline void CheckLength(std::string_view value, int limit, const char* format) {
  if (static_cast<int64_t>(value.size()) > limit) ThrowTooLong(format, limit);
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
}

TDetachedRecord::TDetachedRecord(TListDBData* owner)
    : TListRecord(owner), storeGeneration_(owner->texts_.Generation()) {}

TDetachedRecord::~TDetachedRecord() {
  if (owner_->texts_.Generation() == storeGeneration_)
    owner_->texts_.ReleaseChunk(text_, capacity_);
}

TListRecord& TListRecord::operator=(const TListRecord& other) {
  if (&other == this) return *this;
  StoreTexts(other.Field1(), other.Field2(), other.Notes());
  StoreCategory(other.categoryId_);
  owner_->TouchAll();
  owner_->RecordChanged(this, TRecordValue::Field1, true);
  return *this;
}

void TListRecord::StoreTexts(std::string_view field1, std::string_view field2,
                             std::string_view notes) {
  const size_t total = field1.size() + field2.size() + notes.size();
  // A value may be a view of this record's own texts, which the new ones are
  // about to overwrite: such values are copied aside first.
  const auto inside = [this](std::string_view v) {
    return !v.empty() && text_ != nullptr && v.data() >= text_ && v.data() < text_ + capacity_;
  };
  std::string aside;
  if (inside(field1) || inside(field2) || inside(notes)) {
    aside.reserve(total);
    aside.append(field1).append(field2).append(notes);
    field1 = std::string_view(aside).substr(0, field1.size());
    field2 = std::string_view(aside).substr(field1.size(), field2.size());
    notes = std::string_view(aside).substr(field1.size() + field2.size());
  }
  char* out = const_cast<char*>(text_);
  if (total > capacity_ || VORNIK_CHECK_TEXT_VIEWS) {
    // The old chunk goes back only after the new one is taken: where views are
    // checked, it is poisoned rather than handed straight back to this record.
    const char* old = text_;
    const uint32_t oldCapacity = capacity_;
    out = owner_->texts_.TakeChunk(total, capacity_);
    text_ = out;
    owner_->texts_.ReleaseChunk(old, oldCapacity);
  }
  if (!field1.empty()) std::memcpy(out, field1.data(), field1.size());
  if (!field2.empty()) std::memcpy(out + field1.size(), field2.data(), field2.size());
  if (!notes.empty()) std::memcpy(out + field1.size() + field2.size(), notes.data(), notes.size());
  length_[0] = static_cast<uint32_t>(field1.size());
  length_[1] = static_cast<uint32_t>(field2.size());
  length_[2] = static_cast<uint32_t>(notes.size());
}

void TListRecord::StoreCategory(int32_t id) {
  categoryId_ = id;
  owner_->categoryIdCeiling_ = std::max(owner_->categoryIdCeiling_, id);
}

void TListRecord::StoreField1Unchecked(std::string_view value) {
  StoreTexts(value, Field2(), Notes());
  owner_->Touch(TRecordValue::Field1);
  owner_->RecordChanged(this, TRecordValue::Field1, false);
}

void TListRecord::StoreField2Unchecked(std::string_view value) {
  StoreTexts(Field1(), value, Notes());
  owner_->Touch(TRecordValue::Field2);
  owner_->RecordChanged(this, TRecordValue::Field2, false);
}

void TListRecord::StoreNotesUnchecked(std::string_view value) {
  StoreTexts(Field1(), Field2(), value);
  owner_->Touch(TRecordValue::Notes);
  owner_->RecordChanged(this, TRecordValue::Notes, false);
}

void TListRecord::SetField1(std::string_view value) {
  CheckLength(value, kMaxFieldValue, kField1Long);
  StoreField1Unchecked(value);
}

void TListRecord::SetField2(std::string_view value) {
  CheckLength(value, kMaxFieldValue, kField2Long);
  StoreField2Unchecked(value);
}

void TListRecord::SetNotes(std::string_view value) {
  CheckLength(value, kMaxNotes, kNotesLong);
  StoreNotesUnchecked(value);
}

void TListRecord::Assign(std::string_view field1, std::string_view field2, std::string_view notes,
                         int32_t categoryId) {
  CheckLength(field1, kMaxFieldValue, kField1Long);
  CheckLength(field2, kMaxFieldValue, kField2Long);
  CheckLength(notes, kMaxNotes, kNotesLong);
  StoreTexts(field1, field2, notes);
  StoreCategory(owner_->Categories().HasID(categoryId) ? categoryId : -1);
  owner_->TouchAll();
  owner_->RecordChanged(this, TRecordValue::Field1, true);
}

void TListRecord::SetCategoryID(int32_t id) {
  StoreCategory(owner_->Categories().HasID(id) ? id : -1);
  owner_->Touch(TRecordValue::Category);
  owner_->RecordChanged(this, TRecordValue::Category, false);
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

void TListDBCategories::Changed() {
  owner_->Touch(TRecordValue::Category);
  owner_->Notify({TListDBChange::Categories});
}

void TListDBCategories::Reset() {
  entries_.clear();
  entries_.push_back({kUnfiled, 0});
  Changed();
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
  Changed();
  return id;
}

void TListDBCategories::Delete(int32_t id) {
  const int index = IndexOfID(id);
  if (index < 0) throw EListDBError("Category not found.");
  entries_.erase(entries_.begin() + index);
  for (TListRecord* record : owner_->records_) {
    if (record->categoryId_ == id) record->categoryId_ = -1;
  }
  Changed();
}

void TListDBCategories::Rename(int32_t id, const std::string& name) {
  const int index = IndexOfID(id);
  if (index < 0) throw EListDBError("Category not found.");
  const int32_t existing = IDOfName(name);
  if (existing != -1 && existing != id)
    throw EListDBError(FormatText("Category \"%s\" already exists.", name.c_str()));
  entries_[index].name = name;
  Changed();
}

void TListDBCategories::ChangeID(int32_t oldId, int32_t newId) {
  const int index = IndexOfID(oldId);
  if (index < 0)
    throw EListDBError(FormatText("Unable to compact categories. Category with index %d not exists",
                                  static_cast<int>(oldId)));
  for (TListRecord* record : owner_->records_) {
    if (record->categoryId_ == oldId) record->categoryId_ = newId;
  }
  owner_->categoryIdCeiling_ = std::max(owner_->categoryIdCeiling_, newId);
  entries_[index].id = newId;
  Changed();
}

namespace {

// Where the ids of the records go: each step of Compact moves the records of
// one id to another, so together they map each id touched to its last place.
class TIdMap {
 public:
  // The records of oldId move to newId.
  void Move(int32_t oldId, int32_t newId) {
    if (std::none_of(pairs_.begin(), pairs_.end(), [&](const Pair& p) { return p.from == oldId; }))
      pairs_.push_back({oldId, oldId});
    for (Pair& p : pairs_) {
      if (p.to == oldId) p.to = newId;
    }
  }
  bool Moves() const {
    return std::any_of(pairs_.begin(), pairs_.end(), [](const Pair& p) { return p.from != p.to; });
  }
  // Applies the map to every record in one pass: ids -1..255 (all a file can
  // give) through a table, others through the list.
  int32_t Apply(const std::vector<TListRecord*>& records, int32_t (*get)(const TListRecord*),
                void (*set)(TListRecord*, int32_t)) const {
    std::array<int32_t, 257> table;
    for (int i = 0; i < 257; ++i) table[static_cast<size_t>(i)] = i - 1;
    std::vector<Pair> others;
    for (const Pair& p : pairs_) {
      if (p.from >= -1 && p.from <= 255)
        table[static_cast<size_t>(p.from + 1)] = p.to;
      else if (p.from != p.to)
        others.push_back(p);
    }
    int32_t ceiling = -1;
    for (TListRecord* record : records) {
      const int32_t id = get(record);
      int32_t to = id;
      if (id >= -1 && id <= 255) {
        to = table[static_cast<size_t>(id + 1)];
      } else {
        for (const Pair& p : others) {
          if (p.from == id) to = p.to;
        }
      }
      if (to != id) set(record, to);
      ceiling = std::max(ceiling, to);
    }
    return ceiling;
  }

 private:
  struct Pair {
    int32_t from, to;
  };
  std::vector<Pair> pairs_;
};

}  // namespace

void TListDBCategories::Compact() {
  // Renumbering goes the way it always went, one id at a time through a
  // detour (16000 + i keeps a new id from meeting an old one), but on the
  // table alone; the records then follow the ids' moves in one pass. Odd
  // tables (ids shared by entries, ids over 16000) come out as they always did.
  constexpr int32_t kDetour = 16000;
  const int count = Count();
  bool compact = owner_->categoryIdCeiling_ < kDetour;
  for (int i = 0; i < count && compact; ++i) compact = entries_[i].id == i;
  if (compact) return;  // every step would be undone by the next

  std::vector<int32_t> ids(entries_.size());
  for (size_t i = 0; i < entries_.size(); ++i) ids[i] = entries_[i].id;
  TIdMap moves;
  int32_t missing = 0;
  bool failed = false;
  const auto change = [&](int32_t oldId, int32_t newId) {
    const auto at = std::find(ids.begin(), ids.end(), oldId);
    if (at == ids.end()) {
      missing = oldId;
      failed = true;
      return;
    }
    moves.Move(oldId, newId);
    *at = newId;
  };
  for (int i = 0; i < count && !failed; ++i) change(ids[static_cast<size_t>(i)], kDetour + i);
  for (int i = 0; i < count && !failed; ++i) change(kDetour + i, i);

  for (size_t i = 0; i < entries_.size(); ++i) entries_[i].id = ids[i];
  if (moves.Moves()) {
    owner_->categoryIdCeiling_ = moves.Apply(
        owner_->records_, [](const TListRecord* r) { return r->categoryId_; },
        [](TListRecord* r, int32_t id) { r->categoryId_ = id; });
  }
  Changed();
  if (failed)
    throw EListDBError(FormatText("Unable to compact categories. Category with index %d not exists",
                                  static_cast<int>(missing)));
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
  entries_.push_back({name, id});
  Changed();
}

// ---------------------------------------------------------------------------
// TListDBData

TListDBData::TListDBData()
    : CreationDate(NowLocal()),
      ModificationDate(CreationDate),
      categories_(std::make_unique<TListDBCategories>(this)) {
  TouchAll();
  savedChanges_ = changes_;  // a new document is as good as saved
}

// Records and texts go with their blocks; records need no destructor.
static_assert(std::is_trivially_destructible_v<TListRecord>);
TListDBData::~TListDBData() { Notify({TListDBChange::Destroyed}); }

int TListDBData::Subscribe(TListener listener) {
  listeners_.emplace_back(nextListenerKey_, std::move(listener));
  return nextListenerKey_++;
}

void TListDBData::Unsubscribe(int key) {
  std::erase_if(listeners_, [key](const auto& entry) { return entry.first == key; });
}

void TListDBData::Notify(const TListDBChange& change) {
  ++changes_;
  // A copy: a listener may unsubscribe (itself or another) while it is told.
  const auto listeners = listeners_;
  for (const auto& entry : listeners) entry.second(change);
}

void TListDBData::RecordChanged(const TListRecord* record, TRecordValue value, bool all) {
  if (record->serial_ == TListRecord::kNoSerial) return;
  TListDBChange change{TListDBChange::RecordChanged, record, value};
  change.allValues = all;
  Notify(change);
}

void TListDBData::SetModified(bool modified) {
  forcedModified_ = modified;
  if (!modified) savedChanges_ = changes_;
}

void TListDBData::Touch(TRecordValue which) {
  revisions_[static_cast<size_t>(which)] = NewRevision();
}

void TListDBData::TouchAll() const {
  touchPending_ = false;
  const uint64_t revision = NewRevision();
  for (uint64_t& r : revisions_) r = revision;
}

TListRecord* TListDBData::NewRecord() {
  uint32_t serial;
  if (!freeSerials_.empty()) {
    serial = freeSerials_.back();
    freeSerials_.pop_back();
  } else {
    serial = serialLimit_++;
  }
  const size_t block = serial / kRecordsPerBlock;
  if (block >= recordBlocks_.size())
    recordBlocks_.push_back(std::unique_ptr<RecordSlot[]>(new RecordSlot[kRecordsPerBlock]));
  auto* record = new (&recordBlocks_[block][serial % kRecordsPerBlock]) TListRecord(this);
  record->serial_ = serial;
  records_.push_back(record);
  return record;
}

TListRecord* TListDBData::AddRecord() {
  TListRecord* record = NewRecord();
  TouchAll();
  Notify({TListDBChange::RecordAdded, record});
  return record;
}

TListRecord* TListDBData::AppendRecord(std::string_view field1, std::string_view field2,
                                       std::string_view notes, int32_t categoryId) {
  CheckLength(field1, kMaxFieldValue, kField1Long);
  CheckLength(field2, kMaxFieldValue, kField2Long);
  CheckLength(notes, kMaxNotes, kNotesLong);
  const size_t total = field1.size() + field2.size() + notes.size();
  char* out = texts_.Room(total);
  if (!field1.empty()) std::memcpy(out, field1.data(), field1.size());
  if (!field2.empty()) std::memcpy(out + field1.size(), field2.data(), field2.size());
  if (!notes.empty()) std::memcpy(out + field1.size() + field2.size(), notes.data(), notes.size());
  TListRecord* record = NewRecord();
  // Listeners hear of an empty record first, as AddRecord tells them; with
  // none, the change is only counted.
  if (listeners_.empty()) {
    ++changes_;
  } else {
    TouchAll();
    Notify({TListDBChange::RecordAdded, record});
  }
  record->text_ = out;
  record->length_[0] = static_cast<uint32_t>(field1.size());
  record->length_[1] = static_cast<uint32_t>(field2.size());
  record->length_[2] = static_cast<uint32_t>(notes.size());
  record->capacity_ = static_cast<uint32_t>(total);
  texts_.Commit(total);
  record->StoreCategory(categories_->HasID(categoryId) ? categoryId : -1);
  if (listeners_.empty()) {
    // Nobody is told: the new revision waits until one is asked for, so a
    // list built in bulk takes one rather than one per record.
    touchPending_ = true;
    ++changes_;
  } else {
    TouchAll();
    RecordChanged(record, TRecordValue::Field1, true);
  }
  return record;
}

TListRecord* TListDBData::AddReadRecord(int32_t categoryId, uint32_t field1, uint32_t field2,
                                        uint32_t notes) {
  TListRecord* record = NewRecord();
  record->text_ = texts_.Room(0);
  record->length_[0] = field1;
  record->length_[1] = field2;
  record->length_[2] = notes;
  record->capacity_ = field1 + field2 + notes;
  texts_.Commit(record->capacity_);
  record->StoreCategory(categoryId);
  return record;
}

void TListDBData::ClearRecords() {
  records_.clear();
  recordBlocks_.clear();
  freeSerials_.clear();
  serialLimit_ = 0;
  categoryIdCeiling_ = -1;
  texts_.Clear();
  TouchAll();
  Notify({TListDBChange::Reset});
}

void TListDBData::DeleteRecord(int index) { DeleteRecords({index}); }

void TListDBData::DeleteRecords(std::vector<int> indexes) {
  for (int index : indexes) (void)records_.at(index);  // outside the list raises std::out_of_range
  std::sort(indexes.begin(), indexes.end());
  indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
  if (indexes.empty()) return;
  std::vector<TListRecord*> gone;
  gone.reserve(indexes.size());
  size_t next = 0, out = 0;
  for (size_t in = 0; in < records_.size(); ++in) {
    TListRecord* record = records_[in];
    if (next < indexes.size() && static_cast<size_t>(indexes[next]) == in) {
      ++next;
      gone.push_back(record);
      continue;
    }
    records_[out++] = record;
  }
  records_.resize(out);
  TListDBChange change{TListDBChange::RecordsRemoved};
  change.removed = indexes;
  Notify(change);
  // Listeners may still read the removed records while they are told (a view
  // letting go of its rows); their texts and serial numbers go only now.
  for (TListRecord* record : gone) {
    texts_.ReleaseChunk(record->text_, record->capacity_);
    freeSerials_.push_back(record->serial_);
  }
}

void TListDBData::SetDatabaseName(const std::string& name) {
  CheckLength(name, kMaxDatabaseName, kNameLong);
  databaseName_ = name;
  Notify({TListDBChange::Names});
}

void TListDBData::SetCustomField1(const std::string& name) {
  CheckLength(name, kMaxFieldName, kCustomField1Long);
  customField1_ = name;
  Notify({TListDBChange::Names});
}

void TListDBData::SetCustomField2(const std::string& name) {
  CheckLength(name, kMaxFieldName, kCustomField2Long);
  customField2_ = name;
  Notify({TListDBChange::Names});
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
  Notify({TListDBChange::Names});
}
