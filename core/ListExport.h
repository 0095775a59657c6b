// Export of a list's records to other programs: comma and tab separated
// values, text with separators of the user's choice, plain text, RTF, XML and
// JSON, written to a byte stream.
//
// Encoding: the list's Windows-1252 values are written as UTF-8 everywhere
// but in RTF, which stays in the code page with its own escapes. The four
// delimited and plain text formats start with a byte order mark (unless
// ByteOrderMark is off), so that a spreadsheet or an editor knows the
// encoding; XML says so in its declaration and JSON is UTF-8 by definition,
// so neither has one.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/RtfWriter.h"
#include "core/listdb.h"

// The wizard's six formats in its order, then JSON (the converter's).
enum class TExportFormat {
  CommaSeparated,
  TabSeparated,
  SeparatedText,
  PlainText,
  RichText,
  Xml,
  Json
};
inline constexpr int kExportFormatCount = 7;

enum class TExportField { Field1, Field2, Notes, CategoryName };
inline constexpr int kExportFieldCount = 4;

struct TExportOptions {
  TExportFormat Format = TExportFormat::CommaSeparated;
  std::vector<TExportField> Fields;  // in export order; empty is refused
  // Separated text only, as typed (UTF-8): \t \n \r \\ are escapes.
  std::string FieldSeparator = "\\t";
  std::string RecordSeparator = "\\n";
  // A first row of column titles (the delimited formats).
  bool ColumnTitles = false;
  // The byte order mark of the delimited and plain text formats: on for
  // files, off where the text goes on as characters (the clipboard).
  bool ByteOrderMark = true;
  // RTF: the default format (the list's font and colour) and the colour of
  // the field names and values.
  TRtfFont RichTextFont;
  TRtfColor WindowTextColor;
};

// Raised when the progress callback asks to stop.
class EExportCancelled : public EListDBError {
 public:
  EExportCancelled() : EListDBError("Export cancelled") {}
};

// The separator text as typed with its escapes replaced: \t tab, \n LF,
// \r CR, \\ a backslash; any other backslash stays as it is.
std::string UnescapeSeparator(std::string_view typed);

// Whether the list shows the record under the category: its id is the
// category's, or the category is the table's first entry ("Unfiled") and
// the record's id names no entry (-1, or a category deleted).
bool RecordInCategory(const TListDBData& data, const TListRecord& record, int32_t categoryId);
// All records of the list (categoryId empty) or those of one category, in
// the file's order.
std::vector<const TListRecord*> RecordsToExport(const TListDBData& data,
                                                std::optional<int> categoryId);

// Writes the records in the given order at the stream's position.
// progress(done, total) is called now and then; returning false cancels, and
// ExportRecords then raises EExportCancelled. Raises EListDBError when no
// field is chosen, and the stream's errors.
void ExportRecords(const TListDBData& data, const std::vector<const TListRecord*>& records,
                   const TExportOptions& options, TStream& out,
                   const std::function<bool(size_t, size_t)>& progress = {});

namespace export_internal {
class TExportSink;
class TFormatWriter;
}  // namespace export_internal

// An export fed its records a batch at a time, for a list read a part at a
// time: the batches in turn give the same text as ExportRecords gives for
// all their records at once. The constructor writes what comes before the
// records; total is the number of records to come, for progress.
class TRecordExport {
 public:
  TRecordExport(const TListDBData& data, const TExportOptions& options, TStream& out, size_t total,
                const std::function<bool(size_t, size_t)>& progress = {});
  ~TRecordExport();
  TRecordExport(const TRecordExport&) = delete;
  TRecordExport& operator=(const TRecordExport&) = delete;
  // The next records; they need only live until this returns.
  void Write(const std::vector<const TListRecord*>& records);
  // What follows the records, and the rest of the text to the stream.
  void Finish();

 private:
  const TExportOptions options_;
  const std::function<bool(size_t, size_t)> progress_;
  std::unique_ptr<export_internal::TExportSink> sink_;
  std::unique_ptr<export_internal::TFormatWriter> writer_;
};

// "csv", "tsv", "txt", "txt", "rtf", "xml", "json".
const char* ExportFileSuffix(TExportFormat format);

// The values of a record's fields as the export writes them (Windows-1252),
// with the category names of the document at hand.
class TExportValues {
 public:
  explicit TExportValues(const TListDBData& data);
  TExportValues(const TExportValues&) = delete;
  TExportValues& operator=(const TExportValues&) = delete;
  // Valid as long as these values and the record.
  std::string_view Value(const TListRecord& record, TExportField field);
  // How far past the value the bytes may be read: to the end of the record's
  // texts for its own values, no further for a category name.
  static const char* ReadableEnd(const TListRecord& record, TExportField field,
                                 std::string_view value) {
    if (field == TExportField::CategoryName) return value.data() + value.size();
    // The note comes last.
    const std::string_view notes = record.Notes();
    return notes.data() + notes.size();
  }

 private:
  std::vector<TListDBCategories::Entry> entries_;
  // The name of each id a list file can hold, when the table has it.
  std::array<const std::string*, 256> byId_{};
  std::map<int32_t, std::string> otherNames_;  // of the ids the table lacks
};
// A field's column title: the list's field names, "Notes", "Category".
std::string ExportTitle(const TListDBData& data, TExportField field);

// The record as Copy to clipboard lays it out, one paragraph a line: an
// empty line, then for each field in the given order the category name
// underlined in navy, a field's name and ":" in bold over its value, or
// "Note:" in bold over the note's lines, indented with a hanging offset.
void AddRecordParagraphs(TRtfDocument& text, const TListRecord& record,
                         const std::vector<TExportField>& fields, TRtfColor windowText);
// The fields in Copy to clipboard's order: category, field 1, field 2, note.
const std::vector<TExportField>& ClipboardRecordFields();
