// The XML and JSON that export writes, read back into rows of the four values
// (field 1, field 2, note, category) with the list's name and field names.
#include <cstdlib>
#include <cstring>

#include "core/ImportRows.h"

namespace import_internal {

namespace {

constexpr size_t kMaxDepth = 256;

// The column of a field's element or key name; -1 for other names.
int ColumnOf(std::string_view name) {
  if (name == "field1") return 0;
  if (name == "field2") return 1;
  if (name == "notes") return 2;
  if (name == "category") return 3;
  return -1;
}

const std::vector<TImportTarget>& FourColumns() {
  static const std::vector<TImportTarget> kColumns = {
      TImportTarget::Field1, TImportTarget::Field2, TImportTarget::Notes, TImportTarget::Category};
  return kColumns;
}

// A code point from a character reference or escape as Windows-1252; one
// beyond the code page becomes '?' and is counted.
void AppendCodePoint(TValue& value, char32_t c, size_t& replaced) {
  const int b = c == 0 ? -1 : Windows1252Byte(c);
  if (b < 0) ++replaced;
  value.Append(b < 0 ? '?' : static_cast<char>(b));
}

// Reading helpers over the decoded input.
class TScanner {
 public:
  explicit TScanner(TDecodedInput& in) : in_(in) {}
  bool AtEnd() { return in_.AtEnd(); }
  char Peek() { return in_.Ensure(1) > 0 ? *in_.Here() : '\0'; }
  char Take() {
    const char c = Peek();
    if (c != '\0') in_.Skip(1);
    return c;
  }
  bool StartsWith(std::string_view text) {
    return in_.Ensure(text.size()) >= text.size() &&
           std::memcmp(in_.Here(), text.data(), text.size()) == 0;
  }
  void SkipSpace() {
    while (in_.Ensure(1) > 0) {
      const char c = *in_.Here();
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return;
      in_.Skip(1);
    }
  }
  // Skips past the next occurrence of text (to the end when there is none).
  void SkipPast(std::string_view text) {
    while (in_.Ensure(text.size()) >= text.size()) {
      if (std::memcmp(in_.Here(), text.data(), text.size()) == 0) {
        in_.Skip(text.size());
        return;
      }
      in_.Skip(1);
    }
    in_.Skip(in_.Available());
  }
  TDecodedInput& Input() { return in_; }

 private:
  TDecodedInput& in_;
};

// ---------------------------------------------------------------------------
// XML

class TXmlReader : public TRowReader {
 public:
  explicit TXmlReader(TDecodedInput& in) : s_(in) { ReadNamesUpToFirstRecord(); }

  bool Next(TRow& row) override;
  std::vector<TImportTarget> FixedColumns() const override { return FourColumns(); }
  TListNames Names() const override { return names_; }

 private:
  struct TTag {
    std::string name;
    bool end = false, empty = false;
  };
  // Reads text up to the next tag into value (when given) and the tag; false
  // at the end of the input.
  bool NextTag(TValue* value, size_t& replaced, TTag& tag);
  void Reference(TValue* value, size_t& replaced);
  void Enter(const TTag& tag);
  void ReadNamesUpToFirstRecord();

  TScanner s_;
  std::vector<std::string> path_;
  TListNames names_;
  bool pendingRecord_ = false;  // the first record's start tag was read already
  size_t rows_ = 0;
};

void TXmlReader::Reference(TValue* value, size_t& replaced) {
  std::string name;
  while (name.size() < 12 && s_.Peek() != ';' && s_.Peek() != '\0' && s_.Peek() != '<')
    name.push_back(s_.Take());
  const bool closed = s_.Peek() == ';';
  if (closed) s_.Take();
  if (!value) return;
  char32_t c = 0;
  if (name == "amp")
    c = '&';
  else if (name == "lt")
    c = '<';
  else if (name == "gt")
    c = '>';
  else if (name == "quot")
    c = '"';
  else if (name == "apos")
    c = '\'';
  else if (name.size() > 1 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const char* digits = name.c_str() + (hex ? 2 : 1);
    char* end = nullptr;
    const unsigned long n = std::strtoul(digits, &end, hex ? 16 : 10);
    c = *digits != '\0' && *end == '\0' && n <= 0x10FFFF ? static_cast<char32_t>(n) : 0;
  }
  if (c == 0) {  // an unknown entity stays as written
    value->Append('&');
    value->Append(name.data(), name.size());
    if (closed) value->Append(';');
    return;
  }
  AppendCodePoint(*value, c, replaced);
}

bool TXmlReader::NextTag(TValue* value, size_t& replaced, TTag& tag) {
  for (;;) {
    // Text up to the next markup.
    while (!s_.AtEnd() && s_.Peek() != '<') {
      const char c = s_.Take();
      if (c == '&') {
        Reference(value, replaced);
      } else if (c == '\r') {  // a line end is one LF, as XML reads it
        if (s_.Peek() == '\n') s_.Take();
        if (value) value->Append('\n');
      } else if (value) {
        value->Append(c);
      }
    }
    if (s_.AtEnd()) return false;
    if (s_.StartsWith("<!--")) {
      s_.SkipPast("-->");
    } else if (s_.StartsWith("<![CDATA[")) {
      s_.SkipPast("<![CDATA[");
      while (!s_.AtEnd() && !s_.StartsWith("]]>")) {
        const char c = s_.Take();
        if (value) value->Append(c);
      }
      s_.SkipPast("]]>");
    } else if (s_.StartsWith("<?") || s_.StartsWith("<!")) {
      s_.SkipPast(">");
    } else {
      s_.Take();
      tag = TTag{};
      if (s_.Peek() == '/') {
        s_.Take();
        tag.end = true;
      }
      while (!s_.AtEnd()) {
        const char c = s_.Peek();
        if (c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\r' || c == '\n') break;
        if (tag.name.size() < 64) tag.name.push_back(c);
        s_.Take();
      }
      // Attributes are not used; a quoted '>' does not end the tag.
      char quote = 0;
      while (!s_.AtEnd()) {
        const char c = s_.Take();
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
          quote = c;
        } else if (c == '/') {
          tag.empty = true;
        } else if (c == '>') {
          break;
        } else {
          tag.empty = false;
        }
      }
      return true;
    }
  }
}

void TXmlReader::Enter(const TTag& tag) {
  if (tag.end) {
    // Closes the innermost element of that name (and any left open inside it).
    for (size_t i = path_.size(); i-- > 0;) {
      if (path_[i] == tag.name) {
        path_.resize(i);
        break;
      }
    }
  } else if (!tag.empty) {
    if (path_.empty() && tag.name != "list")
      throw EListDBError("The XML file is not a list: its first element is not <list>");
    if (path_.size() >= kMaxDepth) throw EListDBError("The XML file is nested too deeply");
    path_.push_back(tag.name);
  } else if (path_.empty()) {
    throw EListDBError("The XML file is not a list: its first element is not <list>");
  }
}

void TXmlReader::ReadNamesUpToFirstRecord() {
  TTag tag;
  size_t replaced = 0;
  while (NextTag(nullptr, replaced, tag)) {
    if (path_.size() == 1 && !tag.end && tag.name == "record") {
      Enter(tag);
      pendingRecord_ = !tag.empty;
      if (tag.empty) ++rows_;  // an empty record element: a row of empty values
      if (!tag.empty) return;
      continue;
    }
    const bool named = !tag.end && !tag.empty &&
                       ((path_.size() == 1 && tag.name == "name") ||
                        (path_.size() == 2 && path_[1] == "fields" &&
                         (tag.name == "field1" || tag.name == "field2")));
    Enter(tag);
    if (!named) continue;
    TValue value;
    TTag end;
    while (NextTag(&value, replaced, end) && !(end.end && end.name == tag.name)) Enter(end);
    Enter(end);
    names_.present = true;
    std::string& target = tag.name == "name"     ? names_.list
                          : tag.name == "field1" ? names_.field1
                                                 : names_.field2;
    target = value.text;
  }
}

bool TXmlReader::Next(TRow& row) {
  row.Reset();
  TTag tag;
  size_t replaced = 0;
  if (!pendingRecord_) {
    // Up to the next record's start tag.
    for (;;) {
      if (!NextTag(nullptr, replaced, tag)) return false;
      const bool record = path_.size() == 1 && !tag.end && tag.name == "record";
      Enter(tag);
      if (record && tag.empty) {  // <record/>: a record of empty values
        row.number = ++rows_;
        for (int c = 0; c < 4; ++c) row.NewValue();
        return true;
      }
      if (record) break;
    }
  }
  pendingRecord_ = false;
  row.number = ++rows_;
  for (int c = 0; c < 4; ++c) row.NewValue();
  const size_t depth = path_.size();  // inside <record>
  while (path_.size() >= depth && NextTag(nullptr, replaced, tag)) {
    const int column = path_.size() == depth && !tag.end && !tag.empty ? ColumnOf(tag.name) : -1;
    Enter(tag);
    if (column < 0) continue;
    TValue& value = row.values[static_cast<size_t>(column)];
    value.text.clear();
    value.longer = false;
    TTag end;
    while (path_.size() > depth && NextTag(&value, replaced, end)) Enter(end);
  }
  row.replaced = replaced + s_.Input().TakeReplacements();
  return true;
}

// ---------------------------------------------------------------------------
// JSON

class TJsonReader : public TRowReader {
 public:
  explicit TJsonReader(TDecodedInput& in) : s_(in) { Start(); }

  bool Next(TRow& row) override;
  std::vector<TImportTarget> FixedColumns() const override { return FourColumns(); }
  TListNames Names() const override { return names_; }

 private:
  [[noreturn]] void Fail(const char* what) {
    throw EListDBError(std::string("The JSON file cannot be read: ") + what);
  }
  void Expect(char c) {
    s_.SkipSpace();
    if (s_.Take() != c) Fail("a character is missing or out of place");
  }
  // A string's value into value (when given).
  void String(TValue* value, size_t& replaced);
  void SkipValue(size_t depth = 0);
  // Reads top-level members up to the records' array (true) or the end.
  bool MembersUpToRecords();
  void Start();

  TScanner s_;
  TListNames names_;
  bool inRecords_ = false, firstRecord_ = true, topArray_ = false;
  size_t rows_ = 0;
};

void TJsonReader::String(TValue* value, size_t& replaced) {
  s_.SkipSpace();
  if (s_.Take() != '"') Fail("a string was expected");
  for (;;) {
    if (s_.AtEnd()) Fail("a string is not closed");
    const char c = s_.Take();
    if (c == '"') return;
    if (c != '\\') {
      if (value) value->Append(c);
      continue;
    }
    const char e = s_.Take();
    char32_t code = 0;
    switch (e) {
      case 'n':
        code = '\n';
        break;
      case 'r':
        code = '\r';
        break;
      case 't':
        code = '\t';
        break;
      case 'b':
        code = '\b';
        break;
      case 'f':
        code = '\f';
        break;
      case '"':
      case '\\':
      case '/':
        code = static_cast<unsigned char>(e);
        break;
      case 'u': {
        auto hex4 = [this]() {
          char32_t n = 0;
          for (int i = 0; i < 4; ++i) {
            const char h = s_.Take();
            const int d = h >= '0' && h <= '9'   ? h - '0'
                          : h >= 'a' && h <= 'f' ? h - 'a' + 10
                          : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                 : -1;
            if (d < 0) Fail("a \\u escape is not four hex digits");
            n = n * 16 + static_cast<char32_t>(d);
          }
          return n;
        };
        code = hex4();
        if (code >= 0xD800 && code <= 0xDBFF && s_.StartsWith("\\u")) {
          s_.Take();
          s_.Take();
          hex4();  // the pair's second half: together beyond the code page
          code = 0x10000;
        }
        break;
      }
      default:
        Fail("an unknown escape");
    }
    if (value) AppendCodePoint(*value, code, replaced);
  }
}

void TJsonReader::SkipValue(size_t depth) {
  if (depth > kMaxDepth) Fail("it is nested too deeply");
  s_.SkipSpace();
  size_t ignored = 0;
  const char c = s_.Peek();
  if (c == '"') {
    String(nullptr, ignored);
  } else if (c == '{' || c == '[') {
    const char close = c == '{' ? '}' : ']';
    s_.Take();
    s_.SkipSpace();
    if (s_.Peek() == close) {
      s_.Take();
      return;
    }
    for (;;) {
      if (c == '{') {
        String(nullptr, ignored);
        Expect(':');
      }
      SkipValue(depth + 1);
      s_.SkipSpace();
      const char next = s_.Take();
      if (next == close) return;
      if (next != ',') Fail("a comma or a closing bracket is missing");
    }
  } else {
    // A number, true, false or null.
    size_t length = 0;
    while (!s_.AtEnd() && std::strchr("+-.0123456789eEtrufalsn", s_.Peek())) {
      s_.Take();
      ++length;
    }
    if (length == 0) Fail("a value was expected");
  }
}

void TJsonReader::Start() {
  s_.SkipSpace();
  if (s_.Peek() == '[') {  // an array of records alone
    s_.Take();
    topArray_ = inRecords_ = true;
    return;
  }
  Expect('{');
  inRecords_ = MembersUpToRecords();
}

bool TJsonReader::MembersUpToRecords() {
  for (;;) {
    s_.SkipSpace();
    if (s_.Peek() == '}') {
      s_.Take();
      return false;
    }
    if (s_.Peek() == ',') s_.Take();
    TValue key;
    size_t replaced = 0;
    String(&key, replaced);
    Expect(':');
    s_.SkipSpace();
    if (key.text == "records" && s_.Peek() == '[') {
      s_.Take();
      return true;
    }
    if (key.text == "name" && s_.Peek() == '"') {
      TValue name;
      String(&name, replaced);
      names_.present = true;
      names_.list = name.text;
    } else if (key.text == "fields" && s_.Peek() == '{') {
      s_.Take();
      s_.SkipSpace();
      while (s_.Peek() != '}') {
        TValue field;
        String(&field, replaced);
        Expect(':');
        s_.SkipSpace();
        if ((field.text == "field1" || field.text == "field2") && s_.Peek() == '"') {
          TValue value;
          String(&value, replaced);
          names_.present = true;
          (field.text == "field1" ? names_.field1 : names_.field2) = value.text;
        } else {
          SkipValue();
        }
        s_.SkipSpace();
        if (s_.Peek() == ',')
          s_.Take();
        else if (s_.Peek() != '}')
          Fail("a comma is missing between the field names");
      }
      s_.Take();
    } else {
      SkipValue();
    }
  }
}

bool TJsonReader::Next(TRow& row) {
  row.Reset();
  while (inRecords_) {
    s_.SkipSpace();
    if (s_.Peek() == ']') {
      s_.Take();
      inRecords_ = false;
      if (!topArray_) MembersUpToRecords();  // names may follow the records
      return false;
    }
    if (!firstRecord_) Expect(',');
    firstRecord_ = false;
    s_.SkipSpace();
    if (s_.Peek() != '{') {
      SkipValue();
      continue;
    }
    s_.Take();
    row.number = ++rows_;
    for (int c = 0; c < 4; ++c) row.NewValue();
    size_t replaced = 0;
    s_.SkipSpace();
    while (s_.Peek() != '}') {
      TValue key;
      String(&key, replaced);
      Expect(':');
      s_.SkipSpace();
      const int column = ColumnOf(key.text);
      if (column >= 0 && s_.Peek() == '"') {
        TValue& value = row.values[static_cast<size_t>(column)];
        value.text.clear();
        value.longer = false;
        String(&value, replaced);
      } else {
        SkipValue();
      }
      s_.SkipSpace();
      if (s_.Peek() == ',') {
        s_.Take();
        s_.SkipSpace();
      } else if (s_.Peek() != '}') {
        Fail("a comma is missing between a record's values");
      }
    }
    s_.Take();
    row.replaced = replaced + s_.Input().TakeReplacements();
    return true;
  }
  return false;
}

}  // namespace

std::unique_ptr<TRowReader> MakeXmlReader(TDecodedInput& input) {
  return std::make_unique<TXmlReader>(input);
}

std::unique_ptr<TRowReader> MakeJsonReader(TDecodedInput& input) {
  return std::make_unique<TJsonReader>(input);
}

}  // namespace import_internal
