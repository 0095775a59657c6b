// Import: rows of values become records; what does not fit is counted.
#include "core/ListImport.h"

#include <algorithm>
#include <cstring>

#include "core/ByteScan.h"
#include "core/FormatText.h"
#include "core/ImportRows.h"
#include "core/LineBreaks.h"

using namespace import_internal;

namespace {

struct TOpened {
  std::unique_ptr<TDecodedInput> input;
  std::unique_ptr<TRowReader> rows;
  TImportFormat format;
  std::string fieldTyped, recordTyped;
  bool quoted = false;
};

TOpened Open(TStream& in, const TImportOptions& options) {
  TOpened o;
  o.input = std::make_unique<TDecodedInput>(in, options.Encoding);
  o.format = options.Format;
  o.fieldTyped = options.FieldSeparator;
  o.recordTyped = options.RecordSeparator;
  o.quoted = options.QuotedValues;
  if (o.format == TImportFormat::Guess) {
    o.quoted = false;
    o.format = GuessFormat(*o.input, o.fieldTyped, o.quoted);
    o.recordTyped = "\\n";
  }
  switch (o.format) {
    case TImportFormat::Xml:
      o.rows = MakeXmlReader(*o.input);
      break;
    case TImportFormat::Json:
      o.rows = MakeJsonReader(*o.input);
      break;
    default:
      if (o.format == TImportFormat::CommaSeparated) o.fieldTyped = ",";
      if (o.format == TImportFormat::TabSeparated) o.fieldTyped = "\\t";
      if (o.format != TImportFormat::SeparatedText) o.recordTyped = "\\n";
      o.rows = MakeDelimitedReader(*o.input,
                                   DelimitersFor(o.format, o.fieldTyped, o.recordTyped, o.quoted));
      break;
  }
  return o;
}

// A title reduced for comparing: ASCII letters in lower case, no blanks,
// underscores or hyphens.
std::string TitleKey(std::string_view title) {
  std::string key;
  for (char c : title) {
    if (c == ' ' || c == '_' || c == '-' || c == '\t') continue;
    key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
  }
  return key;
}

TImportTarget TargetOfTitle(std::string_view title) {
  const std::string key = TitleKey(title);
  if (key == "field1") return TImportTarget::Field1;
  if (key == "field2") return TImportTarget::Field2;
  if (key == "notes" || key == "note" || key == "memo" || key == "comments" || key == "comment")
    return TImportTarget::Notes;
  if (key == "category" || key == "categories" || key == "categoryname")
    return TImportTarget::Category;
  return TImportTarget::Skip;
}

// Whether every line break of the text is a CR LF already.
bool CrLfOnly(std::string_view text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while ((p = byte_scan::FindAnyOf(p, end, '\r', '\n', '\n')) != end) {
    if (*p == '\n' || p + 1 == end || p[1] != '\n') return false;
    p += 2;
  }
  return true;
}

bool SameTextFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase1252(a[i]) != FoldCase1252(b[i])) return false;
  }
  return true;
}

// The values of one row for the four targets: views of the row's values,
// or of joined or converted copies where needed.
class TRecordValues {
 public:
  enum { kField1, kField2, kNotes, kCategory, kTargets };
  std::string_view value[kTargets];
  bool longer = false;  // some value the input held was longer than kept

  void Build(const TRow& row, const std::vector<TImportTarget>& columns) {
    size_t count[kTargets] = {};
    for (auto& v : value) v = {};
    longer = false;
    for (size_t c = 0; c < columns.size(); ++c) {
      const TValue* v = row.At(c);
      if (!v || columns[c] == TImportTarget::Skip) continue;
      const int t = static_cast<int>(columns[c]) - 1;
      longer = longer || v->longer;
      if (count[t]++ == 0 || (t == kCategory && value[t].empty())) {
        value[t] = v->Text();
      } else if (t != kCategory && !v->Text().empty()) {
        // Several columns to one field: joined (notes by a line break).
        if (value[t].data() != scratch_[t].data()) scratch_[t].assign(value[t]);
        if (!scratch_[t].empty()) scratch_[t] += t == kNotes ? "\r\n" : " ";
        scratch_[t] += v->Text();
        value[t] = scratch_[t];
      }
    }
    if (!CrLfOnly(value[kNotes])) {
      breaks_.clear();
      AppendWithCrLf(breaks_, value[kNotes]);
      value[kNotes] = breaks_;
    }
    value[kCategory] = TrimView(value[kCategory]);
  }
  bool Overlong() const {
    for (int t = 0; t < kTargets; ++t) {
      if (value[t].size() > Limit(t)) return true;
    }
    return longer;
  }
  // Cuts each value to its limit; how many were cut (a value the input held
  // longer than kept counts as cut).
  size_t Cut() {
    size_t cut = 0;
    for (int t = 0; t < kTargets; ++t) {
      std::string_view& text = value[t];
      const size_t limit = Limit(t);
      if (text.size() <= limit) continue;
      // Never half a line break.
      text = text.substr(0, text[limit - 1] == '\r' && text[limit] == '\n' ? limit - 1 : limit);
      ++cut;
    }
    return cut;
  }

 private:
  static size_t Limit(int target) {
    constexpr size_t kLimits[kTargets] = {kMaxFieldValue, kMaxFieldValue, kMaxNotes,
                                          kMaxCategoryName};
    return kLimits[target];
  }
  std::string scratch_[kTargets], breaks_;
};

// Category names to ids: the table fills as names come; once it is full,
// other names go to Unfiled. A name's answer never changes once given (the
// table only grows, and a name that matched keeps matching), so the answers
// for the first names seen are kept.
class TCategoryIds {
 public:
  explicit TCategoryIds(TListDBCategories& categories) : categories_(categories) {}
  // The id for a name; full says the name found no room.
  int32_t IdOf(std::string_view name, bool& full) {
    size_t slot = SlotOf(name);
    while (known_[slot].used && known_[slot].name != name) slot = (slot + 1) % kSlots;
    if (known_[slot].used) {
      full = known_[slot].full;
      return known_[slot].id;
    }
    full = false;
    int32_t id = categories_.IDAt(0);
    if (!name.empty() && !SameTextFolded(name, categories_.NameAt(0))) {
      int found = -1;
      for (int i = 1; i < categories_.Count() && found < 0; ++i) {
        if (name == categories_.NameAt(i)) found = i;
      }
      for (int i = 1; i < categories_.Count() && found < 0; ++i) {
        if (SameTextFolded(name, categories_.NameAt(i))) found = i;
      }
      if (found >= 0) {
        id = categories_.IDAt(found);
      } else if (categories_.Count() < kMaxCategorySlots) {
        id = categories_.Count();
        categories_.AppendEntry(std::string(name), id);
      } else {
        full = true;
      }
    }
    if (knownCount_ < kKnownKept) {
      known_[slot] = TAnswer{std::string(name), id, full, true};
      ++knownCount_;
    }
    return id;
  }

 private:
  static constexpr size_t kKnownKept = 256;
  static constexpr size_t kSlots = 2 * kKnownKept;  // open addressing, at most half full
  struct TAnswer {
    std::string name;
    int32_t id = 0;
    bool full = false;
    bool used = false;
  };
  // A few bytes of the name and its length mixed: quick for short names
  // (collisions only cost a comparison).
  static size_t SlotOf(std::string_view s) {
    const size_t n = s.size();
    const auto* b = reinterpret_cast<const unsigned char*>(s.data());
    uint64_t x = 0, y = 0;
    if (n >= 8) {
      std::memcpy(&x, b, 8);
      std::memcpy(&y, b + n - 8, 8);
    } else if (n >= 4) {
      uint32_t u, v;
      std::memcpy(&u, b, 4);
      std::memcpy(&v, b + n - 4, 4);
      x = u;
      y = v;
    } else if (n > 0) {
      x = b[0] | (b[n / 2] << 8) | (b[n - 1] << 16);
    }
    const uint64_t h = (x * 0x9E3779B97F4A7C15u) ^ ((y + n) * 0xC2B2AE3D27D4EB4Fu);
    return static_cast<size_t>(h >> 32) % kSlots;
  }
  TListDBCategories& categories_;
  std::vector<TAnswer> known_ = std::vector<TAnswer>(kSlots);
  size_t knownCount_ = 0;
};

std::vector<std::string> Utf8Values(const TRow& row) {
  std::vector<std::string> values;
  for (size_t c = 0; c < row.columns && c < row.values.size(); ++c)
    values.push_back(Windows1252ToUtf8(row.values[c].Text()));
  return values;
}

std::string RowList(const TImportLoss& loss) {
  std::string rows = loss.FirstRows.size() == 1 ? "row " : "rows ";
  for (size_t i = 0; i < loss.FirstRows.size(); ++i) {
    if (i > 0) rows += ", ";
    rows += std::to_string(loss.FirstRows[i]);
  }
  if (loss.Rows > loss.FirstRows.size()) rows += ", ...";
  return rows;
}

// The field name a title gives: trimmed and cut to the name limit.
std::string FieldNameOf(const std::string& title, const char* fallback) {
  std::string name = Trim(title);
  if (name.size() > static_cast<size_t>(kMaxFieldName)) name.resize(kMaxFieldName);
  name = Trim(name);
  return name.empty() ? fallback : name;
}

}  // namespace

void TImportLoss::Add(size_t row, size_t count) {
  if (count == 0) return;
  Count += count;
  if (Rows > 0 && lastRow_ == row) return;
  ++Rows;
  lastRow_ = row;
  if (FirstRows.size() < kRowsKept) FirstRows.push_back(row);
}

bool TImportReport::Lossless() const {
  for (const TImportLoss* loss : {&CutValues, &SkippedOverlong, &Replaced, &UnfiledCategories,
                                  &BeyondRecordLimit, &BlankRows, &MoreColumns, &FewerColumns}) {
    if (loss->Count > 0) return false;
  }
  return true;
}

std::vector<std::string> TImportReport::Lines() const {
  std::vector<std::string> lines;
  lines.push_back(Records == 1 ? std::string("1 record was imported.")
                               : FormatText("%zu records were imported.", Records));
  auto add = [&lines](const TImportLoss& loss, const char* pattern) {
    if (loss.Count > 0)
      lines.push_back(FormatText(pattern, loss.Count) + " (" + RowList(loss) + ").");
  };
  add(CutValues, "Values longer than their field allows, cut to the limit: %zu");
  add(SkippedOverlong, "Rows not imported because a value was longer than its field allows: %zu");
  add(Replaced, "Characters that Windows-1252 cannot hold, imported as \"?\": %zu");
  add(UnfiledCategories, "Records put in Unfiled because a list holds only 15 categories: %zu");
  if (BeyondRecordLimit.Count > 0)
    lines.push_back(FormatText("Rows not imported because a list holds at most %d records: %zu",
                               kMaxFileRecords, BeyondRecordLimit.Count) +
                    FormatText(" (from row %zu).", BeyondRecordLimit.FirstRows.front()));
  add(BlankRows, "Blank rows skipped: %zu");
  add(MoreColumns, "Rows with more values than the first row (the extra values were dropped): %zu");
  add(FewerColumns, "Rows with fewer values than the first row (the missing ones left empty): %zu");
  return lines;
}

std::vector<TImportTarget> GuessColumns(const std::vector<std::string>& titles, size_t columns) {
  std::vector<TImportTarget> targets(std::max(columns, titles.size()), TImportTarget::Skip);
  if (titles.empty()) {
    // By position, in the order export writes all four.
    const TImportTarget order[] = {TImportTarget::Field1, TImportTarget::Field2,
                                   TImportTarget::Notes, TImportTarget::Category};
    for (size_t c = 0; c < targets.size() && c < 4; ++c) targets[c] = order[c];
    return targets;
  }
  bool taken[5] = {};
  for (size_t c = 0; c < titles.size(); ++c) {
    const TImportTarget target = TargetOfTitle(titles[c]);
    if (target != TImportTarget::Skip && !taken[static_cast<int>(target)]) {
      targets[c] = target;
      taken[static_cast<int>(target)] = true;
    }
  }
  // Other columns fill field 1, field 2 and the note, in order.
  for (TImportTarget free : {TImportTarget::Field1, TImportTarget::Field2, TImportTarget::Notes}) {
    if (taken[static_cast<int>(free)]) continue;
    for (size_t c = 0; c < targets.size(); ++c) {
      if (targets[c] == TImportTarget::Skip &&
          (c >= titles.size() || TargetOfTitle(titles[c]) == TImportTarget::Skip)) {
        targets[c] = free;
        break;
      }
    }
  }
  return targets;
}

TImportPreview PreviewImport(TStream& in, const TImportOptions& options, size_t maxRows) {
  TOpened o = Open(in, options);
  TImportPreview preview;
  preview.Format = o.format;
  preview.Encoding = o.input->Encoding();
  preview.FieldSeparator = o.fieldTyped;
  preview.RecordSeparator = o.recordTyped;
  preview.QuotedValues = o.format == TImportFormat::SeparatedText && o.quoted;
  const std::vector<TImportTarget> fixed = o.rows->FixedColumns();
  const TListNames names = o.rows->Names();
  if (names.present) {
    preview.ListName = Windows1252ToUtf8(names.list);
    preview.Field1Name = Windows1252ToUtf8(names.field1);
    preview.Field2Name = Windows1252ToUtf8(names.field2);
  }
  preview.FirstRowTitles = fixed.empty() && options.FirstRowTitles;
  TRow row;
  size_t columns = 0;
  if (preview.FirstRowTitles && o.rows->Next(row)) {
    preview.Titles = Utf8Values(row);
    columns = preview.Titles.size();
  }
  while (preview.Rows.size() < maxRows && o.rows->Next(row)) {
    if (row.Blank()) continue;
    preview.Rows.push_back(Utf8Values(row));
    columns = std::max(columns, preview.Rows.back().size());
  }
  if (!fixed.empty()) {
    preview.Columns = fixed;
  } else if (!options.Columns.empty()) {
    preview.Columns = options.Columns;
    preview.Columns.resize(std::max(columns, options.Columns.size()), TImportTarget::Skip);
  } else {
    preview.Columns = GuessColumns(preview.Titles, columns);
  }
  return preview;
}

std::unique_ptr<TListDBData> ImportList(TStream& in, const TImportOptions& options,
                                        TImportReport& report,
                                        const std::function<bool(size_t, size_t)>& progress) {
  report = TImportReport{};
  TOpened o = Open(in, options);
  auto document = std::make_unique<TListDBData>();
  TListDBCategories& categories = document->Categories();

  std::vector<TImportTarget> columns = o.rows->FixedColumns();
  const bool fixed = !columns.empty();
  if (!fixed) columns = options.Columns;
  std::vector<std::string> titles;  // Windows-1252
  size_t expected = 0;
  TRow row;
  if (!fixed && options.FirstRowTitles && o.rows->Next(row)) {
    for (size_t c = 0; c < row.columns && c < row.values.size(); ++c)
      titles.emplace_back(row.values[c].Text());
    expected = row.columns;
    report.Replaced.Add(row.number, row.replaced);
  }

  TRecordValues values;
  TCategoryIds categoryIds(categories);
  size_t rowsRead = 0;
  while (o.rows->Next(row)) {
    if (progress && ++rowsRead % 1024 == 0 &&
        !progress(static_cast<size_t>(o.input->BytesRead()), static_cast<size_t>(o.input->Size())))
      throw EImportCancelled();
    if (row.Blank()) {
      report.BlankRows.Add(row.number);
      continue;
    }
    if (expected == 0) expected = row.columns;
    if (columns.empty()) {
      std::vector<std::string> utf8;
      for (const std::string& title : titles) utf8.push_back(Windows1252ToUtf8(title));
      columns = GuessColumns(utf8, expected);
    }
    if (document->RecordCount() >= kMaxFileRecords) {
      report.BeyondRecordLimit.Add(row.number);
      continue;
    }
    if (!fixed && row.columns > expected) report.MoreColumns.Add(row.number);
    if (!fixed && row.columns < expected) report.FewerColumns.Add(row.number);

    values.Build(row, columns);
    if (values.Overlong()) {
      if (!options.CutOverlong) {
        report.SkippedOverlong.Add(row.number);
        continue;
      }
      report.CutValues.Add(row.number, std::max<size_t>(values.Cut(), 1));
    }
    report.Replaced.Add(row.number, row.replaced);
    bool full = false;
    const int32_t categoryId = categoryIds.IdOf(values.value[TRecordValues::kCategory], full);
    if (full) report.UnfiledCategories.Add(row.number);
    document->AppendRecord(values.value[TRecordValues::kField1],
                           values.value[TRecordValues::kField2],
                           values.value[TRecordValues::kNotes], categoryId);
  }
  report.Records = static_cast<size_t>(document->RecordCount());

  // Names: those the file gives, or the titles of the field columns.
  const TListNames names = o.rows->Names();
  std::string field1 = names.field1, field2 = names.field2;
  if (!names.present) {
    for (size_t c = 0; c < columns.size() && c < titles.size(); ++c) {
      if (columns[c] == TImportTarget::Field1 && field1.empty()) field1 = titles[c];
      if (columns[c] == TImportTarget::Field2 && field2.empty()) field2 = titles[c];
    }
  }
  std::string list = names.list;
  if (list.size() > static_cast<size_t>(kMaxDatabaseName)) list.resize(kMaxDatabaseName);
  document->SetNames(list, FieldNameOf(field1, "Field1"), FieldNameOf(field2, "Field2"));
  if (progress &&
      !progress(static_cast<size_t>(o.input->Size()), static_cast<size_t>(o.input->Size())))
    throw EImportCancelled();
  return document;
}
