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

class TXmlWriter : public TFormatWriter {
 public:
  TXmlWriter(const TListDBData& data, const TExportOptions& options, TExportSink& sink)
      : options_(options),
        sink_(sink),
        recordStart_("  <record>\n"),
        recordEnd_("  </record>\n"),
        values_(data),
        row_(options.Fields.size()),
        readable_(row_.size()) {
    sink.Append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<list>\n");
    AppendXmlElement(sink, "  ", "name", data.DatabaseName());
    sink.Append("  <fields>\n");
    AppendXmlElement(sink, "    ", "field1", data.CustomField1());
    AppendXmlElement(sink, "    ", "field2", data.CustomField2());
    sink.Append("  </fields>\n");
    room_ = recordStart_.Room() + recordEnd_.Room();
    for (TExportField field : options.Fields) {
      const std::string tag(FieldTag(field));
      starts_.emplace_back("    <" + tag + ">");
      ends_.emplace_back("</" + tag + ">\n");
      room_ += starts_.back().Room() + ends_.back().Room();
    }
  }

  void Records(const TRecords& records) override {
    const TUtf8Escapes& escapes = XmlEscapes();
    for (const TListRecord* record : records) {
      // The whole record goes into one room.
      size_t recordRoom = room_;
      for (size_t i = 0; i < row_.size(); ++i) {
        row_[i] = values_.Value(*record, options_.Fields[i]);
        readable_[i] = TExportValues::ReadableEnd(*record, options_.Fields[i], row_[i]);
        recordRoom += TUtf8Escapes::Room(row_[i].size());
      }
      char* to = recordStart_.Put(sink_.Room(recordRoom));
      for (size_t i = 0; i < row_.size(); ++i)
        to = ends_[i].Put(escapes.Put(starts_[i].Put(to), row_[i], readable_[i]));
      sink_.Commit(recordEnd_.Put(to));
      sink_.RecordDone();
    }
  }

  void End() override { sink_.Append("</list>\n"); }

 private:
  const TExportOptions& options_;
  TExportSink& sink_;
  const TPiece recordStart_, recordEnd_;
  std::vector<TPiece> starts_, ends_;
  size_t room_ = 0;
  TExportValues values_;
  std::vector<std::string_view> row_;
  std::vector<const char*> readable_;
};

class TJsonWriter : public TFormatWriter {
 public:
  TJsonWriter(const TListDBData& data, const TExportOptions& options, TExportSink& sink)
      : options_(options), sink_(sink), values_(data) {
    sink.Append("{\n  \"name\": ");
    AppendJsonString(sink, data.DatabaseName());
    sink.Append(",\n  \"fields\": {\"field1\": ");
    AppendJsonString(sink, data.CustomField1());
    sink.Append(", \"field2\": ");
    AppendJsonString(sink, data.CustomField2());
    sink.Append("},\n  \"records\": [");
    // Each key with its quotes, colon and the comma before it.
    for (size_t i = 0; i < options.Fields.size(); ++i) {
      keys_.emplace_back((i > 0 ? ", \"" : "\"") + std::string(FieldTag(options.Fields[i])) +
                         "\": ");
      room_ += keys_.back().Room() + JsonStringRoom({});
    }
  }

  void Records(const TRecords& records) override {
    for (const TListRecord* pointer : records) {
      const TListRecord& record = *pointer;
      size_t recordRoom = room_;
      for (TExportField field : options_.Fields)
        recordRoom += TUtf8Escapes::Room(values_.Value(record, field).size());
      char* to = PutText(sink_.Room(recordRoom), any_ ? ",\n    {" : "\n    {");
      for (size_t i = 0; i < keys_.size(); ++i) {
        const std::string_view value = values_.Value(record, options_.Fields[i]);
        to = PutJsonString(keys_[i].Put(to), value,
                           TExportValues::ReadableEnd(record, options_.Fields[i], value));
      }
      *to++ = '}';
      sink_.Commit(to);
      sink_.RecordDone();
      any_ = true;
    }
  }

  void End() override { sink_.Append(any_ ? "\n  ]\n}\n" : "]\n}\n"); }

 private:
  const TExportOptions& options_;
  TExportSink& sink_;
  TExportValues values_;
  std::vector<TPiece> keys_;
  size_t room_ = 8;  // the opening and the closing brace
  bool any_ = false;
};

}  // namespace

std::unique_ptr<TFormatWriter> MakeXmlWriter(const TListDBData& data, const TExportOptions& options,
                                             TExportSink& sink) {
  return std::make_unique<TXmlWriter>(data, options, sink);
}

std::unique_ptr<TFormatWriter> MakeJsonWriter(const TListDBData& data,
                                              const TExportOptions& options, TExportSink& sink) {
  return std::make_unique<TJsonWriter>(data, options, sink);
}

}  // namespace export_internal
