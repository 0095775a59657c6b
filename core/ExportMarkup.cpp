// XML and JSON: the list's name, its field names and one element (object)
// per record with the chosen values, in UTF-8.
#include <array>

#include "core/ExportInternal.h"
#include "core/Windows1252.h"

namespace export_internal {

namespace {

// Element and key names of the fields.
const char* FieldTag(TExportField field) {
  switch (field) {
    case TExportField::Field1:
      return "field1";
    case TExportField::Field2:
      return "field2";
    case TExportField::Notes:
      return "notes";
    case TExportField::CategoryName:
      return "category";
  }
  return "";
}

// What a byte of a value becomes in XML character data, when not itself.
// A CR is written as a reference so that a parser keeps it (it would turn a
// CR LF into an LF); the control characters XML 1.0 cannot hold at all, even
// as references, become U+FFFD.
constexpr std::array<const char*, 256> MakeXmlEscapes() {
  std::array<const char*, 256> table{};
  for (int c = 1; c < 0x20; ++c) table[c] = "\xEF\xBF\xBD";
  table[0] = "\xEF\xBF\xBD";
  table['\t'] = nullptr;
  table['\n'] = nullptr;
  table['\r'] = "&#13;";
  table['&'] = "&amp;";
  table['<'] = "&lt;";
  table['>'] = "&gt;";
  table['"'] = "&quot;";
  return table;
}
constexpr std::array<const char*, 256> kXmlEscapes = MakeXmlEscapes();

void AppendXmlText(std::string& out, std::string_view value) {
  size_t run = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const char* escape = kXmlEscapes[static_cast<unsigned char>(value[i])];
    if (!escape) continue;
    AppendWindows1252AsUtf8(out, value.substr(run, i - run));
    out += escape;
    run = i + 1;
  }
  AppendWindows1252AsUtf8(out, value.substr(run));
}

void AppendXmlElement(std::string& out, const char* indent, const char* tag,
                      std::string_view value) {
  out += indent;
  out += '<';
  out += tag;
  out += '>';
  AppendXmlText(out, value);
  out += "</";
  out += tag;
  out += ">\n";
}

// A JSON string: quotes, backslashes and control characters escaped.
void AppendJsonString(std::string& out, std::string_view value) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  size_t run = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    const auto c = static_cast<unsigned char>(value[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    AppendWindows1252AsUtf8(out, value.substr(run, i - run));
    run = i + 1;
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
  }
  AppendWindows1252AsUtf8(out, value.substr(run));
  out += '"';
}

}  // namespace

void WriteXml(const TListDBData& data, const TRecords& records, const TExportOptions& options,
              TExportSink& sink) {
  std::string& out = sink.Text();
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<list>\n";
  AppendXmlElement(out, "  ", "name", data.DatabaseName());
  out += "  <fields>\n";
  AppendXmlElement(out, "    ", "field1", data.CustomField1());
  AppendXmlElement(out, "    ", "field2", data.CustomField2());
  out += "  </fields>\n";
  std::string scratch;
  for (const TListRecord* record : records) {
    out += "  <record>\n";
    for (TExportField field : options.Fields)
      AppendXmlElement(out, "    ", FieldTag(field), ExportValue(*record, field, scratch));
    out += "  </record>\n";
    sink.RecordDone();
  }
  out += "</list>\n";
}

void WriteJson(const TListDBData& data, const TRecords& records, const TExportOptions& options,
               TExportSink& sink) {
  std::string& out = sink.Text();
  out += "{\n  \"name\": ";
  AppendJsonString(out, data.DatabaseName());
  out += ",\n  \"fields\": {\"field1\": ";
  AppendJsonString(out, data.CustomField1());
  out += ", \"field2\": ";
  AppendJsonString(out, data.CustomField2());
  out += "},\n  \"records\": [";
  std::string scratch;
  for (size_t r = 0; r < records.size(); ++r) {
    out += r == 0 ? "\n    {" : ",\n    {";
    for (size_t i = 0; i < options.Fields.size(); ++i) {
      if (i > 0) out += ", ";
      out += '"';
      out += FieldTag(options.Fields[i]);
      out += "\": ";
      AppendJsonString(out, ExportValue(*records[r], options.Fields[i], scratch));
    }
    out += '}';
    sink.RecordDone();
  }
  out += records.empty() ? "]\n}\n" : "\n  ]\n}\n";
}

}  // namespace export_internal
