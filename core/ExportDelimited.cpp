// Comma separated values (RFC 4180), tab separated values and separated text
// with the user's separators.
#include "core/ExportInternal.h"
#include "core/Windows1252.h"

namespace export_internal {

namespace {

// A value with the separator, a double quote, a CR or an LF is quoted, its
// quotes doubled; spreadsheets read tab separated values the same way.
class TQuoting {
 public:
  explicit TQuoting(char separator) : escapes_({{'"', "\"\""}}, Marked(separator)) {}
  // to has Room(value) bytes.
  char* Put(char* to, std::string_view value, const char* readable) const {
    bool marked;
    char* const end = escapes_.Put(to, value, marked, readable);
    if (!marked) return end;
    std::memmove(to + 1, to, static_cast<size_t>(end - to));
    *to = '"';
    end[1] = '"';
    return end + 2;
  }
  static size_t Room(std::string_view value) { return TUtf8Escapes::Room(value.size()) + 2; }

 private:
  static std::string Marked(char separator) { return std::string("\"\r\n") + separator; }
  TUtf8Escapes escapes_;
};

}  // namespace

void WriteDelimited(const TListDBData& data, const TRecords& records, const TExportOptions& options,
                    TExportSink& sink) {
  const bool separated = options.Format == TExportFormat::SeparatedText;
  const char delimiter = options.Format == TExportFormat::TabSeparated ? '\t' : ',';
  const TPiece fieldSeparator(separated ? UnescapeSeparator(options.FieldSeparator)
                                        : std::string(1, delimiter));
  const TPiece recordSeparator(separated ? UnescapeSeparator(options.RecordSeparator)
                                         : std::string("\r\n"));
  // Separated text writes the values as they are: the separators are the
  // user's to choose.
  const TQuoting quoting(delimiter);
  static const TUtf8Escapes kAsIs({});
  std::vector<std::string_view> row(options.Fields.size());
  std::vector<const char*> readable(row.size(), nullptr);
  auto writeRow = [&] {
    size_t room = recordSeparator.Room();
    for (std::string_view value : row) room += fieldSeparator.Room() + TQuoting::Room(value);
    char* to = sink.Room(room);
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) to = fieldSeparator.Put(to);
      to = separated ? kAsIs.Put(to, row[i], readable[i]) : quoting.Put(to, row[i], readable[i]);
    }
    sink.Commit(recordSeparator.Put(to));
  };

  sink.ByteOrderMark(options);
  if (options.ColumnTitles) {
    std::vector<std::string> titles;
    for (TExportField field : options.Fields) titles.push_back(ExportTitle(data, field));
    for (size_t i = 0; i < row.size(); ++i) row[i] = titles[i];
    writeRow();
  }
  TExportValues values(data);
  for (const TListRecord* record : records) {
    for (size_t i = 0; i < row.size(); ++i) {
      row[i] = values.Value(*record, options.Fields[i]);
      readable[i] = TExportValues::ReadableEnd(*record, options.Fields[i], row[i]);
    }
    writeRow();
    sink.RecordDone();
  }
}

}  // namespace export_internal
