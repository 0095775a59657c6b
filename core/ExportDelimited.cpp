// Comma separated values (RFC 4180), tab separated values and separated text
// with the user's separators.
#include "core/ExportInternal.h"
#include "core/Windows1252.h"

namespace export_internal {

namespace {

// A value with the separator, a double quote, a CR or an LF is quoted, its
// quotes doubled; spreadsheets read tab separated values the same way.
void AppendQuoted(std::string& out, std::string_view value, char separator) {
  bool quote = false;
  for (char c : value) {
    if (c == separator || c == '"' || c == '\r' || c == '\n') {
      quote = true;
      break;
    }
  }
  if (!quote) {
    AppendWindows1252AsUtf8(out, value);
    return;
  }
  out += '"';
  size_t start = 0;
  for (size_t quoteAt = value.find('"'); quoteAt != std::string_view::npos;
       quoteAt = value.find('"', start)) {
    AppendWindows1252AsUtf8(out, value.substr(start, quoteAt + 1 - start));
    out += '"';
    start = quoteAt + 1;
  }
  AppendWindows1252AsUtf8(out, value.substr(start));
  out += '"';
}

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
  auto appendValue = [&](std::string& out, std::string_view value) {
    if (separated)
      AppendWindows1252AsUtf8(out, value);
    else
      AppendQuoted(out, value, delimiter);
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
  std::string scratch;
  for (const TListRecord* record : records) {
    for (size_t i = 0; i < options.Fields.size(); ++i) {
      if (i > 0) out += fieldSeparator;
      appendValue(out, ExportValue(*record, options.Fields[i], scratch));
    }
    out += recordSeparator;
    sink.RecordDone();
  }
}

}  // namespace export_internal
