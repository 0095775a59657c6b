// XML and JSON: the list's name, its field names and one element (object)
// per record with the chosen values, in UTF-8.

#include "core/ExportInternal.h"
#include "core/Windows1252.h"

namespace export_internal {

namespace {

// Element and key names of the fields.
std::string_view FieldTag(TExportField field) {
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

// An element on a line of its own: indent, start tag, escaped value, end tag.
char* PutXmlElement(char* to, std::string_view indent, std::string_view tag,
                    std::string_view value) {
  to = PutText(to, indent);
  *to++ = '<';
  to = PutText(to, tag);
  *to++ = '>';
  to = XmlEscapes().Put(to, value);
  *to++ = '<';
  *to++ = '/';
  to = PutText(to, tag);
  *to++ = '>';
  *to++ = '\n';
  return to;
}

// The room PutXmlElement needs.
size_t XmlElementRoom(std::string_view indent, std::string_view tag, std::string_view value) {
  return indent.size() + 2 * tag.size() + 6 + TUtf8Escapes::Room(value.size());
}

void AppendXmlElement(TExportSink& sink, std::string_view indent, std::string_view tag,
                      std::string_view value) {
  sink.Commit(PutXmlElement(sink.Room(XmlElementRoom(indent, tag, value)), indent, tag, value));
}

// JSON string escapes: quotes, backslashes and control characters.
const TUtf8Escapes& JsonEscapes() {
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
  return kEscapes;
}

// A JSON string in quotes; to has JsonStringRoom(value) bytes.
char* PutJsonString(char* to, std::string_view value, const char* readable = nullptr) {
  *to++ = '"';
  to = JsonEscapes().Put(to, value, readable);
  *to++ = '"';
  return to;
}

size_t JsonStringRoom(std::string_view value) { return 2 + TUtf8Escapes::Room(value.size()); }

void AppendJsonString(TExportSink& sink, std::string_view value) {
  sink.Commit(PutJsonString(sink.Room(JsonStringRoom(value)), value));
}

}  // namespace

void WriteXml(const TListDBData& data, const TRecords& records, const TExportOptions& options,
              TExportSink& sink) {
  sink.Append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<list>\n");
  AppendXmlElement(sink, "  ", "name", data.DatabaseName());
  sink.Append("  <fields>\n");
  AppendXmlElement(sink, "    ", "field1", data.CustomField1());
  AppendXmlElement(sink, "    ", "field2", data.CustomField2());
  sink.Append("  </fields>\n");

  const TPiece recordStart("  <record>\n"), recordEnd("  </record>\n");
  std::vector<TPiece> starts, ends;
  size_t room = recordStart.Room() + recordEnd.Room();
  for (TExportField field : options.Fields) {
    const std::string tag(FieldTag(field));
    starts.emplace_back("    <" + tag + ">");
    ends.emplace_back("</" + tag + ">\n");
    room += starts.back().Room() + ends.back().Room();
  }
  const TUtf8Escapes& escapes = XmlEscapes();
  TExportValues values(data);
  std::vector<std::string_view> row(options.Fields.size());
  std::vector<const char*> readable(row.size());
  for (const TListRecord* record : records) {
    // The whole record goes into one room.
    size_t recordRoom = room;
    for (size_t i = 0; i < row.size(); ++i) {
      row[i] = values.Value(*record, options.Fields[i]);
      readable[i] = TExportValues::ReadableEnd(*record, options.Fields[i], row[i]);
      recordRoom += TUtf8Escapes::Room(row[i].size());
    }
    char* to = recordStart.Put(sink.Room(recordRoom));
    for (size_t i = 0; i < row.size(); ++i)
      to = ends[i].Put(escapes.Put(starts[i].Put(to), row[i], readable[i]));
    sink.Commit(recordEnd.Put(to));
    sink.RecordDone();
  }
  sink.Append("</list>\n");
}

void WriteJson(const TListDBData& data, const TRecords& records, const TExportOptions& options,
               TExportSink& sink) {
  sink.Append("{\n  \"name\": ");
  AppendJsonString(sink, data.DatabaseName());
  sink.Append(",\n  \"fields\": {\"field1\": ");
  AppendJsonString(sink, data.CustomField1());
  sink.Append(", \"field2\": ");
  AppendJsonString(sink, data.CustomField2());
  sink.Append("},\n  \"records\": [");
  // Each key with its quotes, colon and the comma before it.
  std::vector<TPiece> keys;
  size_t room = 8;  // the opening and the closing brace
  for (size_t i = 0; i < options.Fields.size(); ++i) {
    keys.emplace_back((i > 0 ? ", \"" : "\"") + std::string(FieldTag(options.Fields[i])) + "\": ");
    room += keys.back().Room() + JsonStringRoom({});
  }
  TExportValues values(data);
  for (size_t r = 0; r < records.size(); ++r) {
    const TListRecord& record = *records[r];
    size_t recordRoom = room;
    for (TExportField field : options.Fields)
      recordRoom += TUtf8Escapes::Room(values.Value(record, field).size());
    char* to = PutText(sink.Room(recordRoom), r == 0 ? "\n    {" : ",\n    {");
    for (size_t i = 0; i < keys.size(); ++i) {
      const std::string_view value = values.Value(record, options.Fields[i]);
      to = PutJsonString(keys[i].Put(to), value,
                         TExportValues::ReadableEnd(record, options.Fields[i], value));
    }
    *to++ = '}';
    sink.Commit(to);
    sink.RecordDone();
  }
  sink.Append(records.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace export_internal
