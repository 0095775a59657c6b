// Registry export files: the text a registry editor writes with its export
// command and reads back with its import, for the keys below
// HKEY_CURRENT_USER. Standard C++ only.
//
// Three encodings are read: "REGEDIT4" in the ANSI code page (Windows-1252),
// "Windows Registry Editor Version 5.00" in UTF-16 with a byte order mark
// (either byte order), and UTF-8 (with a byte order mark, or a REGEDIT4 file
// whose bytes are valid UTF-8 with characters beyond ASCII: the files this
// program wrote before it kept the ANSI code page). A file is written as
// REGEDIT4 in Windows-1252 when every text fits that code page, and whole as
// Version 5.00 in UTF-16LE otherwise: a REGEDIT4 file holds only ANSI text,
// its hex(1) bytes included, so nothing else keeps a text exactly.
//
// Reading takes time and memory linear in the file's size and recurses
// nowhere. Keys, names and values beyond the limits below are skipped whole
// (never cut short) and the file reported as not read whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace regfile {

// Larger files are not read at all.
constexpr std::size_t kMaxFileSize = 64 * 1024 * 1024;
// Key parts below the hive.
constexpr std::size_t kMaxKeyDepth = 64;
// UTF-16 code units of one key part and of a value's name (the registry's
// own limits).
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;
// UTF-16 code units of a string value, bytes of other data.
constexpr std::size_t kMaxValueLength = 1024 * 1024;

struct TValue {
  enum class TKind : std::uint8_t { Integer, String, Other };
  TKind kind = TKind::String;
  std::int32_t integer = 0;
  // String: the text. Other: the data as it stands in the file after the
  // '=' (for example hex(7):61,00,00,00), kept so that storing loses nothing.
  std::u16string text;
  bool operator==(const TValue&) const = default;

  static TValue Integer(std::int32_t i) { return {TKind::Integer, i, {}}; }
  static TValue String(std::u16string s) { return {TKind::String, 0, std::move(s)}; }
};

struct TKey {
  // Below the hive, parts joined by single backslashes; empty: the hive.
  std::u16string path;
  // In file order; the default value has the name "".
  std::vector<std::pair<std::u16string, TValue>> values;
  bool operator==(const TKey&) const = default;
};

enum class TEncoding : std::uint8_t { Ansi, Utf16LE, Utf16BE, Utf8 };

enum class TProblem : std::uint8_t {
  None,           // read whole (lines that are not keys or values skipped)
  UnknownHeader,  // not a registry export file
  Undecodable,    // its bytes are not text of the encoding it declares
  TooLarge,       // over kMaxFileSize, not read
  OverLimit,      // a key, name or value beyond the limits was skipped
};

// Receives the keys and values of a file in file order.
class ISink {
 public:
  virtual ~ISink() = default;
  virtual void Key(std::u16string_view path) = 0;
  // A value of the key given last.
  virtual void Value(std::u16string_view name, TValue&& value) = 0;
};

struct TReadResult {
  TProblem problem = TProblem::None;
  TEncoding encoding = TEncoding::Ansi;
};

// Reads the file's bytes into the sink. An empty file (or one of white space
// only) is read whole and gives nothing. With UnknownHeader, Undecodable and
// TooLarge the sink receives nothing.
TReadResult Parse(std::string_view bytes, ISink& sink);
// The same into a list of keys.
TReadResult Parse(std::string_view bytes, std::vector<TKey>& keys);

// The file text of the keys. A key whose path holds a line break cannot stand
// in the file and is left out.
std::string Format(const std::vector<TKey>& keys);

}  // namespace regfile
