// Import: a new list from comma or tab separated values, separated text, or
// the XML and JSON that export writes. The input is read piece by piece, so a
// large file needs no copy of itself in memory; whatever does not fit the
// list (over-long values, characters beyond Windows-1252, categories past the
// table's room, rows past the file's record limit, blank rows, rows with more
// or fewer columns than the titles) is counted with the rows where it happened.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/Streams.h"
#include "core/TextEncoding.h"
#include "core/listdb.h"

enum class TImportFormat { Guess, CommaSeparated, TabSeparated, SeparatedText, Xml, Json };
enum class TImportTarget { Skip, Field1, Field2, Notes, Category };

struct TImportOptions {
  TImportFormat Format = TImportFormat::Guess;
  TTextEncoding Encoding = TTextEncoding::Guess;
  // SeparatedText: as typed (UTF-8), with \t \n \r \\ meaning tab, LF, CR and
  // a backslash. A record separator that is a line break (\n, \r\n or \r)
  // takes any of the three.
  std::string FieldSeparator = "\\t", RecordSeparator = "\\n";
  // SeparatedText: a value may be quoted as in comma separated values (as
  // spreadsheets write them with a semicolon); off, values are taken as they
  // stand, as export writes separated text.
  bool QuotedValues = false;
  bool FirstRowTitles = true;
  std::vector<TImportTarget> Columns;  // per column; empty = guessed from titles
  bool CutOverlong = true;             // false: a row with an over-long value is skipped
};

struct TImportPreview {
  TImportFormat Format = TImportFormat::CommaSeparated;  // as read (never Guess)
  TTextEncoding Encoding = TTextEncoding::Utf8;          // as read (never Guess)
  std::string FieldSeparator, RecordSeparator;           // SeparatedText: as typed
  bool QuotedValues = false;                             // SeparatedText
  // Whether the first row holds titles: the option, or true when a value of
  // the first row names a field as export titles it.
  bool FirstRowTitles = true;
  std::vector<std::string> Titles;             // UTF-8; empty without titles
  std::vector<std::vector<std::string>> Rows;  // UTF-8, as the list will hold them
  std::vector<TImportTarget> Columns;          // the options' or the guesses
  // XML and JSON name the list and its fields.
  std::string ListName, Field1Name, Field2Name;  // UTF-8
};

// One kind of loss: how many times it happened and the first rows (1-based,
// the title row counting as row 1) where it did.
struct TImportLoss {
  static constexpr size_t kRowsKept = 5;
  size_t Count = 0;
  size_t Rows = 0;  // distinct rows
  std::vector<size_t> FirstRows;
  void Add(size_t row, size_t count = 1);

 private:
  size_t lastRow_ = 0;
};

struct TImportReport {
  size_t Records = 0;
  TImportLoss CutValues;          // values cut to their field's limit
  TImportLoss SkippedOverlong;    // rows skipped for an over-long value
  TImportLoss Replaced;           // characters that became '?'
  TImportLoss UnfiledCategories;  // records put in Unfiled: the table was full
  TImportLoss BeyondRecordLimit;  // rows past the most records a list holds
  TImportLoss BlankRows;          // empty lines
  TImportLoss MoreColumns;        // rows with more values than the titles
  TImportLoss FewerColumns;       // rows with fewer values than the titles
  bool Lossless() const;
  // Human-readable lines: the records made, then one line for each kind of
  // loss that happened.
  std::vector<std::string> Lines() const;
};

// Raised when the progress callback asks to stop.
class EImportCancelled : public EListDBError {
 public:
  EImportCancelled() : EListDBError("Import cancelled") {}
};

// The first maxRows rows (after the titles) as they will become values, with
// the format, encoding and columns guessed where the options leave them open.
// Raises EListDBError for input that is not text or is empty.
TImportPreview PreviewImport(TStream& in, const TImportOptions& options, size_t maxRows);

// Builds a new list from the input (names: the titles of the columns that
// become field 1 and 2, cut to the name limit; or those XML and JSON give).
// Raises EListDBError with a clear message for input that is not text, is
// empty, or for separators that cannot be used. progress(done, total) is
// called now and then with bytes read and the input's size; returning false
// raises EImportCancelled.
std::unique_ptr<TListDBData> ImportList(TStream& in, const TImportOptions& options,
                                        TImportReport& report,
                                        const std::function<bool(size_t, size_t)>& progress = {});

// The column targets guessed from titles (empty: from positions only).
std::vector<TImportTarget> GuessColumns(const std::vector<std::string>& titles, size_t columns);
