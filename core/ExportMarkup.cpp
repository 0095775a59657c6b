// XML and JSON: the list's name, its field names and one element (object)
// per record with the chosen values, in UTF-8.

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

// XML character data: the markup characters as entities; a CR as a
// reference, so that a parser keeps it (it would turn a CR LF into an LF);
// the control characters XML 1.0 cannot hold at all, even as references, as
// U+FFFD.
const TUtf8Escapes& XmlEscapes() {
  static const TUtf8Escapes kEscapes = [] {
    TUtf8Escapes::TEscapeList list = {
        {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\r', "&#13;"}};
    for (unsigned char c = 0; c < 0x20; ++c) {
      if (c != '\t' && c != '\n' && c != '\r') list.push_back({c, "\xEF\xBF\xBD"});
    }
    return TUtf8Escapes(list);
  }();
  return kEscapes;
}

void AppendXmlElement(std::string& out, const char* indent, const char* tag,
                      std::string_view value) {
  out += indent;
  out += '<';
  out += tag;
  out += '>';
  XmlEscapes().Append(out, value);
  out += "</";
  out += tag;
  out += ">\n";
}

// A JSON string: quotes, backslashes and control characters escaped.
void AppendJsonString(std::string& out, std::string_view value) {
  static const TUtf8Escapes kEscapes = [] {
    TUtf8Escapes::TEscapeList list = {
        {'"', "\\\""}, {'\\', "\\\\"}, {'\n', "\\n"}, {'\r', "\\r"}, {'\t', "\\t"}};
    static const char kHex[] = "0123456789abcdef";
    for (unsigned char c = 0; c < 0x20; ++c) {
      if (c != '\t' && c != '\n' && c != '\r')
        list.push_back({c, std::string("\\u00") + kHex[c >> 4] + kHex[c & 15]});
    }
    return TUtf8Escapes(list);
  }();
  out += '"';
  kEscapes.Append(out, value);
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
  TExportValues values(data);
  for (const TListRecord* record : records) {
    out += "  <record>\n";
    for (TExportField field : options.Fields)
      AppendXmlElement(out, "    ", FieldTag(field), values.Value(*record, field));
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
  TExportValues values(data);
  for (size_t r = 0; r < records.size(); ++r) {
    out += r == 0 ? "\n    {" : ",\n    {";
    for (size_t i = 0; i < options.Fields.size(); ++i) {
      if (i > 0) out += ", ";
      out += '"';
      out += FieldTag(options.Fields[i]);
      out += "\": ";
      AppendJsonString(out, values.Value(*records[r], options.Fields[i]));
    }
    out += '}';
    sink.RecordDone();
  }
  out += records.empty() ? "]\n}\n" : "\n  ]\n}\n";
}

}  // namespace export_internal
