// The import's inside: decoded input read piece by piece, and the readers that
// turn it into rows of values (one per input family).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/ListImport.h"

namespace import_internal {

// The most bytes of a value kept: one more than the longest a list holds, so
// that a longer value is seen as such and can still be cut to any limit (line
// breaks only grow when notes take CR LF).
inline constexpr size_t kValueKept = kMaxNotes + 1;
// The most values of a row kept; later ones are counted only.
inline constexpr size_t kColumnsKept = 256;

struct TValue {
  std::string text;     // Windows-1252, at most kValueKept bytes (unless a view)
  bool longer = false;  // the input held more
  bool quoted = false;

  // The value: a view of the input's buffer, or text.
  std::string_view Text() const {
    return view_ ? std::string_view(view_, viewSize_) : std::string_view(text);
  }
  // The first bytes of a value may stay where the input holds them (the row
  // takes copies before the input's buffer moves); later ones are copied.
  void Refer(const char* bytes, size_t count) {
    if (view_ || !text.empty()) return Append(bytes, count);
    if (count > kValueKept) {
      longer = true;
      count = kValueKept;
    }
    view_ = bytes;
    viewSize_ = count;
  }
  void Append(const char* bytes, size_t count) {
    if (count == 0) return;
    if (view_) Own();
    const size_t room = kValueKept - text.size();
    if (count > room) {
      longer = true;
      count = room;
    }
    text.append(bytes, count);
  }
  void Append(char c) { Append(&c, 1); }
  // Copies a view into text.
  void Own() {
    if (!view_) return;
    text.assign(view_, viewSize_);
    view_ = nullptr;
  }
  void Clear() {
    text.clear();
    view_ = nullptr;
    longer = false;
    quoted = false;
  }

 private:
  const char* view_ = nullptr;
  size_t viewSize_ = 0;
};

struct TRow {
  size_t number = 0;   // 1-based position among the input's rows
  size_t columns = 0;  // values read (may exceed values.size())
  size_t replaced = 0;
  std::vector<TValue> values;  // the first kColumnsKept of them (size() may exceed columns)

  void Reset() {
    columns = 0;
    replaced = 0;
  }
  TValue& NewValue() {
    TValue* value = &overflow_;
    if (columns < kColumnsKept) {
      if (columns == values.size()) values.emplace_back();
      value = &values[columns];
    }
    ++columns;
    value->Clear();
    return *value;
  }
  const TValue* At(size_t column) const {
    return column < columns && column < values.size() ? &values[column] : nullptr;
  }
  bool Blank() const { return columns == 1 && values[0].Text().empty() && !values[0].quoted; }
  // Values that are views of the input's buffer take copies.
  void OwnViews() {
    for (size_t c = 0; c < columns && c < values.size(); ++c) values[c].Own();
    overflow_.Own();
  }

 private:
  TValue overflow_;  // values past kColumnsKept: counted, not kept
};

// The input decoded into Windows-1252, with a window of it in memory.
class TDecodedInput {
 public:
  static constexpr size_t kPiece = 64 * 1024;

  // From the stream's start; encoding may be Guess (then found from a byte
  // order mark or the bytes). Raises EListDBError for an empty input.
  TDecodedInput(TStream& in, TTextEncoding encoding);
  TTextEncoding Encoding() const { return decoder_.Encoding(); }

  // Makes at least n bytes from the position available unless the input ends
  // first; returns how many are.
  size_t Ensure(size_t n) {
    if (end_ - position_ >= n) return end_ - position_;
    return Fill(n);
  }
  const char* Here() const { return buffer_.data() + position_; }
  size_t Available() const { return end_ - position_; }
  void Skip(size_t n) { position_ += n; }
  bool AtEnd() { return Ensure(1) == 0; }
  // Offset of the position in the decoded text.
  uint64_t Offset() const { return base_ + position_; }
  // The replacements before the position, taken once.
  size_t TakeReplacements() { return decoder_.TakeReplacementsBefore(Offset()); }
  uint64_t BytesRead() const { return read_; }
  // The row whose values may be views of the buffer (null: none): it takes
  // copies before the buffer's text moves.
  void KeepRow(TRow* row) { keptRow_ = row; }
  uint64_t Size() const { return size_; }

 private:
  size_t Fill(size_t n);

  TStream& in_;
  TTextDecoder decoder_;
  std::string buffer_;  // decoded text up to end_, then room
  std::vector<uint8_t> raw_;
  size_t position_ = 0, end_ = 0;
  uint64_t base_ = 0;  // decoded offset of buffer_[0]
  uint64_t read_ = 0, size_ = 0;
  bool ended_ = false;
  TRow* keptRow_ = nullptr;
};

// The names a list file of ours carries (XML, JSON), Windows-1252.
struct TListNames {
  bool present = false;
  std::string list, field1, field2;
};

class TRowReader {
 public:
  virtual ~TRowReader() = default;
  // The next row; false at the end.
  virtual bool Next(TRow& row) = 0;
  // Fixed columns (XML, JSON): their targets; empty for delimited text.
  virtual std::vector<TImportTarget> FixedColumns() const { return {}; }
  virtual TListNames Names() const { return {}; }
};

struct TDelimiters {
  std::string field;   // Windows-1252
  std::string record;  // Windows-1252; empty: any line end
  bool quotes = true;  // a value may be quoted as in comma separated values
};

std::unique_ptr<TRowReader> MakeDelimitedReader(TDecodedInput& input,
                                                const TDelimiters& delimiters);
std::unique_ptr<TRowReader> MakeXmlReader(TDecodedInput& input);
std::unique_ptr<TRowReader> MakeJsonReader(TDecodedInput& input);

// The separators for a format (SeparatedText: the typed ones unescaped).
// Raises EListDBError for an empty or unusable separator.
TDelimiters DelimitersFor(TImportFormat format, const std::string& fieldTyped,
                          const std::string& recordTyped, bool quotedValues);
// The format the start of the input suggests; for a semicolon, separated
// text with that separator and quoted values.
TImportFormat GuessFormat(TDecodedInput& input, std::string& fieldSeparatorTyped,
                          bool& quotedValues);

}  // namespace import_internal
