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
  char* Put(char* to, std::string_view value) const {
    bool marked;
    char* const end = escapes_.Put(to, value, marked);
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
  const std::string fieldSeparator =
      separated ? UnescapeSeparator(options.FieldSeparator) : std::string(1, delimiter);
  const std::string recordSeparator =
      separated ? UnescapeSeparator(options.RecordSeparator) : std::string("\r\n");
  // Separated text writes the values as they are: the separators are the
  // user's to choose.
  const TQuoting quoting(delimiter);
  static const TUtf8Escapes kAsIs({});
  auto putValue = [&](char* to, std::string_view value) {
    return separated ? kAsIs.Put(to, value) : quoting.Put(to, value);
  };
  auto writeRow = [&](auto&& valueOf) {
    size_t room = recordSeparator.size();
    for (size_t i = 0; i < options.Fields.size(); ++i)
      room += fieldSeparator.size() + TQuoting::Room(valueOf(i));
    char* to = sink.Room(room);
    for (size_t i = 0; i < options.Fields.size(); ++i) {
      if (i > 0) to = PutText(to, fieldSeparator);
      to = putValue(to, valueOf(i));
    }
    sink.Commit(PutText(to, recordSeparator));
  };

  sink.ByteOrderMark(options);
  if (options.ColumnTitles) {
    std::vector<std::string> titles;
    for (TExportField field : options.Fields) titles.push_back(ExportTitle(data, field));
    writeRow([&](size_t i) -> std::string_view { return titles[i]; });
  }
  TExportValues values(data);
  for (const TListRecord* record : records) {
    writeRow([&](size_t i) { return values.Value(*record, options.Fields[i]); });
    sink.RecordDone();
  }
}

}  // namespace export_internal
