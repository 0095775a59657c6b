#include "core/RegFileText.h"

#include "core/Cp1252.h"

namespace regfile {

namespace {

constexpr std::u16string_view kHive = u"HKEY_CURRENT_USER";
constexpr std::u16string_view kAnsiHeader = u"REGEDIT4";
constexpr std::u16string_view kUnicodeHeader = u"Windows Registry Editor Version 5.00";

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

bool StartsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (AsciiLower(s[i]) != AsciiLower(prefix[i])) return false;
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Length of the valid UTF-8 sequence at p (at most n bytes), 0 when invalid;
// its code point in *cp.
size_t Utf8Sequence(const unsigned char* p, size_t n, char32_t* cp) {
  const unsigned char b = p[0];
  if (b < 0x80) {
    *cp = b;
    return 1;
  }
  size_t len;
  char32_t min;
  if ((b & 0xE0) == 0xC0) {
    len = 2, min = 0x80, *cp = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    len = 3, min = 0x800, *cp = b & 0x0F;
  } else if ((b & 0xF8) == 0xF0) {
    len = 4, min = 0x10000, *cp = b & 0x07;
  } else {
    return 0;
  }
  if (n < len) return 0;
  for (size_t i = 1; i < len; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    *cp = (*cp << 6) | (p[i] & 0x3F);
  }
  if (*cp < min || *cp > 0x10FFFF || (*cp >= 0xD800 && *cp <= 0xDFFF)) return 0;
  return len;
}

// Whether the bytes are valid UTF-8; *beyondAscii whether any is not ASCII.
bool ValidUtf8(std::string_view bytes, bool* beyondAscii) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  *beyondAscii = false;
  for (size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    const size_t len = Utf8Sequence(p + i, n - i, &cp);
    if (len == 0) return false;
    *beyondAscii = true;
    i += len;
  }
  return true;
}

// Appends valid UTF-8 bytes as UTF-16.
void AppendUtf8(std::string_view bytes, std::u16string& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  for (size_t i = 0; i < bytes.size();) {
    char32_t cp = 0xFFFD;
    size_t len = Utf8Sequence(p + i, bytes.size() - i, &cp);
    if (len == 0) len = 1, cp = 0xFFFD;
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += len;
  }
}

// The lines of the file body, decoded one at a time into a buffer that is
// reused: memory stays that of the longest line. A line ends at CR, LF or
// CR LF.
class TLineReader {
 public:
  TLineReader(std::string_view body, TEncoding encoding) : body_(body), encoding_(encoding) {}

  bool Next(std::u16string& line) {
    line.clear();
    if (pos_ >= body_.size()) return false;
    if (encoding_ == TEncoding::Utf16LE || encoding_ == TEncoding::Utf16BE) {
      while (pos_ + 1 < body_.size()) {
        const char16_t c = Unit(pos_);
        pos_ += 2;
        if (c == u'\n') return true;
        if (c == u'\r') {
          if (pos_ + 1 < body_.size() && Unit(pos_) == u'\n') pos_ += 2;
          return true;
        }
        line += c;
      }
      pos_ = body_.size();
      return true;
    }
    size_t end = pos_;
    while (end < body_.size() && body_[end] != '\n' && body_[end] != '\r') ++end;
    const std::string_view bytes = body_.substr(pos_, end - pos_);
    if (encoding_ == TEncoding::Utf8) {
      AppendUtf8(bytes, line);
    } else {
      line.resize(bytes.size());
      for (size_t i = 0; i < bytes.size(); ++i)
        line[i] = Cp1252ToUnit(static_cast<unsigned char>(bytes[i]));
    }
    pos_ = end;
    if (pos_ < body_.size() && body_[pos_] == '\r') ++pos_;
    // CR LF ends one line, so does a lone CR or LF.
    if (pos_ < body_.size() && body_[pos_] == '\n') ++pos_;
    return true;
  }

 private:
  char16_t Unit(size_t at) const {
    const auto lo = static_cast<unsigned char>(body_[at]);
    const auto hi = static_cast<unsigned char>(body_[at + 1]);
    return encoding_ == TEncoding::Utf16LE ? static_cast<char16_t>(lo | (hi << 8))
                                           : static_cast<char16_t>((lo << 8) | hi);
  }

  std::string_view body_;
  TEncoding encoding_;
  size_t pos_ = 0;
};

// Reads a quoted text at pos (on the opening quote); pos ends after the
// closing quote. The escapes are \\ and \", and \r and \n as registry editors
// write line breaks; any other backslash stands for itself. False when the
// quote is not closed or the text is over limit (*overLimit then set).
bool ReadQuoted(std::u16string_view line, size_t& pos, std::u16string& text, size_t limit,
                bool* overLimit) {
  text.clear();
  for (++pos; pos < line.size(); ++pos) {
    char16_t c = line[pos];
    if (c == u'"') {
      ++pos;
      if (text.size() > limit) {
        *overLimit = true;
        return false;
      }
      return true;
    }
    if (c == u'\\' && pos + 1 < line.size()) {
      const char16_t next = line[pos + 1];
      if (next == u'\\' || next == u'"' || next == u'r' || next == u'n') {
        c = next == u'r' ? u'\r' : next == u'n' ? u'\n' : next;
        ++pos;
      }
    }
    if (text.size() <= limit) text += c;
  }
  return false;
}

bool ParseHexBytes(std::u16string_view list, std::string& bytes) {
  bytes.clear();
  list = Trim(list);
  if (list.empty()) return true;
  size_t start = 0;
  for (;;) {
    size_t comma = list.find(u',', start);
    const std::u16string_view item =
        Trim(list.substr(start, comma == std::u16string_view::npos ? list.npos : comma - start));
    if (item.empty() || item.size() > 2) return false;
    int byte = 0;
    for (char16_t c : item) {
      const int d = HexDigit(c);
      if (d < 0) return false;
      byte = byte * 16 + d;
    }
    bytes += static_cast<char>(byte);
    if (comma == std::u16string_view::npos) return true;
    start = comma + 1;
  }
}

void AppendHexBytes(std::string_view bytes, std::u16string& out) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) out += u',';
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
}

// The text of hex(1) bytes, as the file's encoding gives it: one terminating
// zero is dropped, any before it belongs to the text. False when the bytes
// are not text of that encoding.
bool DecodeStringBytes(std::string bytes, TEncoding encoding, std::u16string& text) {
  text.clear();
  switch (encoding) {
    case TEncoding::Ansi:
      if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
      for (char b : bytes) text += Cp1252ToUnit(static_cast<unsigned char>(b));
      return true;
    case TEncoding::Utf8: {
      if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
      bool beyond;
      if (!ValidUtf8(bytes, &beyond)) return false;
      AppendUtf8(bytes, text);
      return true;
    }
    case TEncoding::Utf16LE:
    case TEncoding::Utf16BE:
      // Registry data is little-endian whatever the file's byte order.
      if (bytes.size() % 2) return false;
      for (size_t i = 0; i < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
      if (!text.empty() && text.back() == u'\0') text.pop_back();
      return true;
  }
  return false;
}

enum class TData { Ok, Invalid, OverLimit };

// The data after '='.
TData ParseData(std::u16string_view data, TEncoding encoding, TValue& value) {
  if (!data.empty() && data.front() == u'"') {
    size_t pos = 0;
    bool over = false;
    if (!ReadQuoted(data, pos, value.text, kMaxValueLength, &over))
      return over ? TData::OverLimit : TData::Invalid;
    if (pos != data.size()) return TData::Invalid;
    value.kind = TValue::TKind::String;
    return TData::Ok;
  }
  if (StartsWithNoCase(data, u"dword:")) {
    const std::u16string_view digits = Trim(data.substr(6));
    if (digits.empty() || digits.size() > 8) return TData::Invalid;
    std::uint32_t number = 0;
    for (char16_t c : digits) {
      const int d = HexDigit(c);
      if (d < 0) return TData::Invalid;
      number = number * 16 + static_cast<std::uint32_t>(d);
    }
    value = TValue::Integer(static_cast<std::int32_t>(number));
    return TData::Ok;
  }
  if (StartsWithNoCase(data, u"hex")) {
    const size_t colon = data.find(u':');
    if (colon == data.npos) return TData::Invalid;
    std::u16string type(data.substr(0, colon));
    for (char16_t& c : type) c = AsciiLower(c);
    if (type != u"hex" && !(type.size() > 5 && type.starts_with(u"hex(") && type.ends_with(u')')))
      return TData::Invalid;
    std::string bytes;
    if (!ParseHexBytes(data.substr(colon + 1), bytes)) return TData::Invalid;
    if (bytes.size() > kMaxValueLength) return TData::OverLimit;
    if (type == u"hex(1)") {
      // Text bytes that are not text of the file's encoding: a damaged value.
      if (!DecodeStringBytes(bytes, encoding, value.text)) return TData::Invalid;
      value.kind = TValue::TKind::String;
      return TData::Ok;
    }
    value.kind = TValue::TKind::Other;
    value.text = type + u':';
    AppendHexBytes(bytes, value.text);
    return TData::Ok;
  }
  return TData::Invalid;
}

// The key path below the hive of a key line's inside, parts joined by single
// backslashes. False for another hive.
TData KeyPath(std::u16string_view inside, std::u16string& path) {
  path.clear();
  if (!StartsWithNoCase(inside, kHive)) return TData::Invalid;
  inside.remove_prefix(kHive.size());
  if (inside.empty()) return TData::Ok;
  if (inside.front() != u'\\') return TData::Invalid;
  size_t depth = 0;
  while (!inside.empty()) {
    const size_t cut = inside.find(u'\\');
    const std::u16string_view part = inside.substr(0, cut);
    if (!part.empty()) {
      if (++depth > kMaxKeyDepth || part.size() > kMaxKeyNameLength) return TData::OverLimit;
      if (!path.empty()) path += u'\\';
      path += part;
    }
    if (cut == inside.npos) break;
    inside.remove_prefix(cut + 1);
  }
  return TData::Ok;
}

TEncoding DetectEncoding(std::string_view& bytes, bool* undecodable) {
  *undecodable = false;
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    const TEncoding encoding = bytes[0] == '\xFF' ? TEncoding::Utf16LE : TEncoding::Utf16BE;
    bytes.remove_prefix(2);
    *undecodable = bytes.size() % 2 != 0;
    return encoding;
  }
  bool beyondAscii = false;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
    *undecodable = !ValidUtf8(bytes, &beyondAscii);
    return TEncoding::Utf8;
  }
  // Text this program wrote before it kept the ANSI code page: REGEDIT4 in
  // UTF-8. Genuine ANSI text beyond ASCII is hardly ever valid UTF-8, and the
  // writer below never makes a file that would be mistaken for it.
  return ValidUtf8(bytes, &beyondAscii) && beyondAscii ? TEncoding::Utf8 : TEncoding::Ansi;
}

class TListSink : public ISink {
 public:
  explicit TListSink(std::vector<TKey>& keys) : keys_(keys) {}
  void Key(std::u16string_view path) override { keys_.push_back(TKey{std::u16string(path), {}}); }
  void Value(std::u16string_view name, TValue&& value) override {
    keys_.back().values.emplace_back(std::u16string(name), std::move(value));
  }

 private:
  std::vector<TKey>& keys_;
};

bool NeedsBytes(std::u16string_view text) {
  for (char16_t c : text)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

bool HasLineBreak(std::u16string_view text) {
  return text.find_first_of(u"\r\n") != std::u16string_view::npos;
}

void AppendQuoted(std::u16string_view text, std::u16string& out) {
  out += u'"';
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"' || c == u'\r' || c == u'\n') out += u'\\';
    out += c == u'\r' ? u'r' : c == u'\n' ? u'n' : c;
  }
  out += u'"';
}

bool FitsAnsi(std::u16string_view text) {
  for (char16_t c : text)
    if (UnitToCp1252(c) < 0) return false;
  return true;
}

}  // namespace

TReadResult Parse(std::string_view bytes, ISink& sink) {
  TReadResult result;
  if (bytes.size() > kMaxFileSize) {
    result.problem = TProblem::TooLarge;
    return result;
  }
  bool undecodable = false;
  result.encoding = DetectEncoding(bytes, &undecodable);
  if (undecodable) {
    result.problem = TProblem::Undecodable;
    return result;
  }
  TLineReader reader(bytes, result.encoding);
  std::u16string buffer, joined, path, name;
  // The header is the first line that is not blank.
  bool header = false;
  while (reader.Next(buffer)) {
    const std::u16string_view line = Trim(buffer);
    if (line.empty()) continue;
    if (line != kAnsiHeader && line != kUnicodeHeader) {
      result.problem = TProblem::UnknownHeader;
      return result;
    }
    header = true;
    break;
  }
  if (!header) return result;  // nothing but white space

  bool inKey = false;
  bool overLimit = false;
  while (reader.Next(buffer)) {
    std::u16string_view line = Trim(buffer);
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[') {
      // A key line; a damaged one takes the values below it along.
      inKey = false;
      if (line.back() != u']' || line.size() < 2) continue;
      const TData got = KeyPath(line.substr(1, line.size() - 2), path);
      overLimit = overLimit || got == TData::OverLimit;
      if (got != TData::Ok) continue;
      sink.Key(path);
      inKey = true;
      continue;
    }
    // The name, then '=' and the data.
    size_t pos = 0;
    bool nameOk = inKey;
    if (line.front() == u'@') {
      name.clear();
      pos = 1;
    } else if (line.front() == u'"') {
      bool over = false;
      nameOk = ReadQuoted(line, pos, name, kMaxValueNameLength, &over) && nameOk;
      overLimit = overLimit || (over && inKey);
    } else {
      nameOk = false;
    }
    if (pos >= line.size() || line[pos] != u'=') nameOk = false;
    std::u16string_view data = pos < line.size() ? Trim(line.substr(pos + 1)) : line.substr(0, 0);
    // Hex data goes on over lines that end in a backslash. Each line is
    // added once; data past the limit is not kept.
    if (StartsWithNoCase(data, u"hex") && !data.empty() && data.back() == u'\\' && nameOk) {
      constexpr size_t kMaxHexText = kMaxValueLength * 3 + 64;
      joined.assign(data.substr(0, data.size() - 1));
      bool more = true, over = false;
      while (more && reader.Next(buffer)) {
        std::u16string_view next = Trim(buffer);
        more = !next.empty() && next.back() == u'\\';
        if (more) next.remove_suffix(1);
        if (joined.size() + next.size() > kMaxHexText) over = true;
        if (!over) joined += next;
      }
      if (over) {
        overLimit = true;
        continue;
      }
      data = joined;
    }
    if (!nameOk) continue;
    TValue value;
    const TData got = ParseData(data, result.encoding, value);
    overLimit = overLimit || got == TData::OverLimit;
    if (got == TData::Ok) sink.Value(name, std::move(value));
  }
  if (overLimit) result.problem = TProblem::OverLimit;
  return result;
}

TReadResult Parse(std::string_view bytes, std::vector<TKey>& keys) {
  keys.clear();
  TListSink sink(keys);
  return Parse(bytes, sink);
}

std::string Format(const std::vector<TKey>& keys) {
  // ANSI when every text fits Windows-1252.
  bool ansi = true;
  for (const TKey& key : keys) {
    ansi = ansi && FitsAnsi(key.path);
    for (const auto& [name, value] : key.values)
      ansi = ansi && FitsAnsi(name) && FitsAnsi(value.text);
  }
  for (;;) {
    std::u16string text(ansi ? kAnsiHeader : kUnicodeHeader);
    text += u"\r\n";
    for (const TKey& key : keys) {
      if (HasLineBreak(key.path)) continue;
      text += u"\r\n[";
      text += kHive;
      if (!key.path.empty()) text += u'\\';
      text += key.path;
      text += u"]\r\n";
      for (const auto& [name, value] : key.values) {
        if (name.empty()) {
          text += u'@';
        } else {
          AppendQuoted(name, text);
        }
        text += u'=';
        switch (value.kind) {
          case TValue::TKind::Integer: {
            static constexpr char16_t kDigits[] = u"0123456789abcdef";
            text += u"dword:";
            const auto number = static_cast<std::uint32_t>(value.integer);
            for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(number >> shift) & 15];
            break;
          }
          case TValue::TKind::String:
            // A text with line breaks or other control characters cannot
            // stand in quotes on one line: its bytes go as a hex(1) value.
            if (NeedsBytes(value.text)) {
              std::string bytes;
              for (char16_t c : value.text) {
                if (ansi) {
                  bytes += static_cast<char>(UnitToCp1252(c));
                } else {
                  bytes += static_cast<char>(c & 0xFF);
                  bytes += static_cast<char>(c >> 8);
                }
              }
              bytes.append(ansi ? 1 : 2, '\0');
              text += u"hex(1):";
              AppendHexBytes(bytes, text);
            } else {
              AppendQuoted(value.text, text);
            }
            break;
          case TValue::TKind::Other:
            text += value.text;
            break;
        }
        text += u"\r\n";
      }
    }
    if (ansi) {
      std::string bytes(text.size(), '\0');
      for (size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<char>(UnitToCp1252(text[i]));
      // ANSI text that is also UTF-8 beyond ASCII would read back as UTF-8.
      bool beyondAscii = false;
      if (!(ValidUtf8(bytes, &beyondAscii) && beyondAscii)) return bytes;
      ansi = false;
      continue;
    }
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + text.size() * 2);
    for (char16_t c : text) {
      bytes += static_cast<char>(c & 0xFF);
      bytes += static_cast<char>(c >> 8);
    }
    return bytes;
  }
}

}  // namespace regfile
