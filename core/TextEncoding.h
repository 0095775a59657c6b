// Text encodings of files read from elsewhere: the list keeps Windows-1252
// bytes; the files come as UTF-8, UTF-16 or Windows-1252.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "core/Windows1252.h"

enum class TTextEncoding { Guess, Utf8, Utf16LE, Utf16BE, Windows1252 };

// Characters that Windows-1252 cannot hold (and bytes that are not UTF-8)
// become '?'; replaced (when given) receives how many did.
std::string Utf8ToWindows1252(std::string_view utf8, size_t* replaced = nullptr);

// Decodes a byte stream piece by piece into Windows-1252: a character that
// the code page cannot hold, a byte sequence that is not valid in the
// encoding, and a lone surrogate each become one '?', whose offset in the
// decoded text is remembered. A character cut by the end of a piece waits for
// the next one. The code point 0 is refused (the input is not text).
class TTextDecoder {
 public:
  explicit TTextDecoder(TTextEncoding encoding);
  TTextEncoding Encoding() const { return encoding_; }
  // The most bytes Decode writes for count bytes.
  static size_t Room(size_t count) { return count + 8; }
  // Writes the decoded text of bytes to out, which has Room(count) bytes, and
  // returns its length; last says no bytes follow (an unfinished character
  // then becomes '?'). Raises EListDBError on a zero.
  size_t Decode(const uint8_t* bytes, size_t count, bool last, char* out);
  // Decoded bytes so far.
  uint64_t Decoded() const { return decoded_; }
  // Takes the count of replacements at decoded offsets before end.
  size_t TakeReplacementsBefore(uint64_t end);

 private:
  void Put(char32_t codePoint);
  void Replace();
  void DecodeUtf8(const uint8_t* bytes, size_t count, bool last);
  void DecodeUtf16(const uint8_t* bytes, size_t count, bool last);

  TTextEncoding encoding_;
  uint64_t decoded_ = 0;
  // The output of the piece being decoded, and its length so far.
  char* out_ = nullptr;
  size_t at_ = 0;
  std::deque<uint64_t> replacements_;
  // Bytes of a character the previous piece ended in.
  uint8_t pending_[4] = {};
  size_t pendingCount_ = 0;
  char16_t highSurrogate_ = 0;
};

// The encoding a byte order mark at the start of bytes names (Guess when
// there is none), and the mark's length.
TTextEncoding EncodingOfByteOrderMark(const uint8_t* bytes, size_t count, size_t& markLength);
// Whether bytes are valid UTF-8; a character cut by the end counts as valid
// unless last.
bool IsValidUtf8(const uint8_t* bytes, size_t count, bool last);
// How many bytes at the end of bytes start a character they do not finish.
size_t Utf8UnfinishedTail(const uint8_t* bytes, size_t count);
