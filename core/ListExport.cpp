// The export's entry: the records to export, the values in export order, the
// separators, and the dispatch to the format writers.
#include "core/ListExport.h"

#include "core/ExportInternal.h"

namespace export_internal {

namespace {
constexpr size_t kFlushSize = 1 << 19;  // bytes handed to the stream at a time, at least
constexpr size_t kBufferSize = 1 << 20;
constexpr size_t kProgressStep = 256;  // records between two progress calls
}  // namespace

TExportSink::TExportSink(TStream& out, size_t total,
                         const std::function<bool(size_t, size_t)>& progress)
    : out_(out),
      total_(total),
      progress_(progress),
      buffer_(new char[kBufferSize]),
      capacity_(kBufferSize) {}

void TExportSink::ByteOrderMark(const TExportOptions& options) {
  if (options.ByteOrderMark) Append("\xEF\xBB\xBF");
}

void TExportSink::RecordDone() {
  ++done_;
  if (used_ >= kFlushSize) Flush();
  if (progress_ && done_ % kProgressStep == 0 && !progress_(done_, total_))
    throw EExportCancelled();
}

void TExportSink::Finish() {
  Flush();
  if (progress_ && !progress_(total_, total_)) throw EExportCancelled();
}

void TExportSink::Flush() {
  if (used_ == 0) return;
  out_.Write(buffer_.get(), used_);
  used_ = 0;
}

void TExportSink::MakeRoom(size_t size) {
  Flush();
  if (size <= capacity_) return;
  buffer_.reset(new char[size]);
  capacity_ = size;
}

}  // namespace export_internal

std::string UnescapeSeparator(std::string_view typed) {
  std::string out;
  out.reserve(typed.size());
  for (size_t i = 0; i < typed.size(); ++i) {
    if (typed[i] == '\\' && i + 1 < typed.size()) {
      const char next = typed[i + 1];
      const char* meant = next == 't'    ? "\t"
                          : next == 'n'  ? "\n"
                          : next == 'r'  ? "\r"
                          : next == '\\' ? "\\"
                                         : nullptr;
      if (meant) {
        out += meant;
        ++i;
        continue;
      }
    }
    out += typed[i];
  }
  return out;
}

bool RecordInCategory(const TListDBData& data, const TListRecord& record, int32_t categoryId) {
  if (record.CategoryID() == categoryId) return true;
  const TListDBCategories& categories = data.Categories();
  return categories.Count() > 0 && categories.IDAt(0) == categoryId &&
         !categories.HasID(record.CategoryID());
}

std::vector<const TListRecord*> RecordsToExport(const TListDBData& data,
                                                std::optional<int> categoryId) {
  std::vector<const TListRecord*> records;
  records.reserve(static_cast<size_t>(data.RecordCount()));
  for (int i = 0; i < data.RecordCount(); ++i) {
    const TListRecord* record = data.GetRecord(i);
    if (!categoryId || RecordInCategory(data, *record, *categoryId)) records.push_back(record);
  }
  return records;
}

TRecordExport::TRecordExport(const TListDBData& data, const TExportOptions& options, TStream& out,
                             size_t total, const std::function<bool(size_t, size_t)>& progress)
    : options_(options), progress_(progress) {
  using namespace export_internal;
  if (options_.Fields.empty()) throw EListDBError("Choose at least one field to export");
  sink_ = std::make_unique<TExportSink>(out, total, progress_);
  switch (options_.Format) {
    case TExportFormat::CommaSeparated:
    case TExportFormat::TabSeparated:
    case TExportFormat::SeparatedText:
      writer_ = MakeDelimitedWriter(data, options_, *sink_);
      break;
    case TExportFormat::PlainText:
      writer_ = MakePlainTextWriter(options_, *sink_);
      break;
    case TExportFormat::RichText:
      writer_ = MakeRichTextWriter(options_, *sink_);
      break;
    case TExportFormat::Xml:
      writer_ = MakeXmlWriter(data, options_, *sink_);
      break;
    case TExportFormat::Json:
      writer_ = MakeJsonWriter(data, options_, *sink_);
      break;
  }
}

TRecordExport::~TRecordExport() = default;

void TRecordExport::Write(const std::vector<const TListRecord*>& records) {
  writer_->Records(records);
}

void TRecordExport::Finish() {
  writer_->End();
  sink_->Finish();
}

void ExportRecords(const TListDBData& data, const std::vector<const TListRecord*>& records,
                   const TExportOptions& options, TStream& out,
                   const std::function<bool(size_t, size_t)>& progress) {
  TRecordExport run(data, options, out, records.size(), progress);
  run.Write(records);
  run.Finish();
}

const char* ExportFileSuffix(TExportFormat format) {
  switch (format) {
    case TExportFormat::CommaSeparated:
      return "csv";
    case TExportFormat::TabSeparated:
      return "tsv";
    case TExportFormat::SeparatedText:
    case TExportFormat::PlainText:
      return "txt";
    case TExportFormat::RichText:
      return "rtf";
    case TExportFormat::Xml:
      return "xml";
    case TExportFormat::Json:
      return "json";
  }
  return "txt";
}

TExportValues::TExportValues(const TListDBData& data) : entries_(data.Categories().Entries()) {
  // The first entry of an id names it.
  for (const TListDBCategories::Entry& entry : entries_) {
    if (entry.id >= 0 && entry.id < static_cast<int32_t>(byId_.size()) && !byId_[entry.id])
      byId_[entry.id] = &entry.name;
  }
}

std::string_view TExportValues::Value(const TListRecord& record, TExportField field) {
  switch (field) {
    case TExportField::Field1:
      return record.Field1();
    case TExportField::Field2:
      return record.Field2();
    case TExportField::Notes:
      return record.Notes();
    case TExportField::CategoryName: {
      const int32_t id = record.CategoryID();
      if (id >= 0 && id < static_cast<int32_t>(byId_.size()) && byId_[id]) return *byId_[id];
      for (const TListDBCategories::Entry& entry : entries_) {
        if (entry.id == id) return entry.name;
      }
      auto known = otherNames_.find(record.CategoryID());
      if (known == otherNames_.end())
        known = otherNames_.emplace(record.CategoryID(), record.CategoryName()).first;
      return known->second;
    }
  }
  return {};
}

std::string ExportTitle(const TListDBData& data, TExportField field) {
  switch (field) {
    case TExportField::Field1:
      return data.CustomField1();
    case TExportField::Field2:
      return data.CustomField2();
    case TExportField::Notes:
      return "Notes";
    case TExportField::CategoryName:
      return "Category";
  }
  return {};
}
