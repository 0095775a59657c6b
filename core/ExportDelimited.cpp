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
  void Append(std::string& out, std::string_view value) const {
    const TUtf8Escapes::TMeasure measure = escapes_.Measure(value);
    if (measure.Marked) {
      const size_t at = out.size();
      out.resize(at + measure.Size + 2);
      out[at] = '"';
      escapes_.Write(out.data() + at + 1, value);
      out.back() = '"';
    } else if (measure.Same) {
      out.append(value);
    } else {
      const size_t at = out.size();
      out.resize(at + measure.Size);
      escapes_.Write(out.data() + at, value);
    }
  }

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
  auto appendValue = [&](std::string& out, std::string_view value) {
    if (separated)
      AppendWindows1252AsUtf8(out, value);
    else
      quoting.Append(out, value);
  };

  sink.ByteOrderMark(options);
  std::string& out = sink.Text();
  if (options.ColumnTitles) {
    for (size_t i = 0; i < options.Fields.size(); ++i) {
      if (i > 0) out += fieldSeparator;
      appendValue(out, ExportTitle(data, options.Fields[i]));
    }
    out += recordSeparator;
  }
  TExportValues values(data);
  for (const TListRecord* record : records) {
    for (size_t i = 0; i < options.Fields.size(); ++i) {
      if (i > 0) out += fieldSeparator;
      appendValue(out, values.Value(*record, options.Fields[i]));
    }
    out += recordSeparator;
    sink.RecordDone();
  }
}

}  // namespace export_internal
