// Windows-1252, the code page of every text in a list, to and from UTF-8.
// Every byte round-trips: the five bytes the code page leaves undefined map to
// the C1 code points of the same value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The code point of a byte.
char32_t Windows1252CodePoint(unsigned char byte);
// The byte of a code point, or -1 when the code page has none.
int Windows1252Byte(char32_t codePoint);

// Appends the bytes as UTF-8.
void AppendWindows1252AsUtf8(std::string& out, std::string_view bytes);
std::string Windows1252ToUtf8(std::string_view bytes);

// Windows-1252 text written as UTF-8 with some bytes replaced by a format's
// escapes (each at most 15 bytes): sized first and then written, or written
// in one pass into room enough for the longest form.
class TUtf8Escapes {
 public:
  // Each byte with its replacement; Measure reports whether any of the
  // marked bytes occurs.
  using TEscapeList = std::vector<std::pair<unsigned char, std::string>>;
  explicit TUtf8Escapes(const TEscapeList& escapes, std::string_view marked = {});
  struct TMeasure {
    size_t Size;  // of the UTF-8 output
    bool Marked;
    bool Same;  // the output is the input
  };
  TMeasure Measure(std::string_view bytes) const;
  // Writes Measure(bytes).Size bytes at to and returns their end.
  char* Write(char* to, std::string_view bytes) const;
  void Append(std::string& out, std::string_view bytes) const;

  // The room Put needs for a text of size bytes: it may store up to
  // kRoomPerByte bytes for each byte, past the end it returns.
  static constexpr size_t kRoomPerByte = 16;
  static constexpr size_t Room(size_t size) { return size * kRoomPerByte; }
  // Writes the text at to in one pass and returns its end; to has at least
  // Room(bytes.size()) bytes. With marked, also reports whether any marked
  // byte occurs. readable, when given, is how far past the text the bytes
  // (of the same array) may be read, which lets short texts go faster.
  char* Put(char* to, std::string_view bytes, const char* readable = nullptr) const;
  char* Put(char* to, std::string_view bytes, bool& marked, const char* readable = nullptr) const;

 private:
  template <bool kMark>
  char* PutText(char* to, std::string_view bytes, bool& marked, const char* readable) const;

  uint8_t length_[256];
  bool plain_[256];  // itself, one byte
  bool marked_[256] = {};
  char text_[256][kRoomPerByte];
  // Whether Put may copy blocks of printable ASCII in one go, and the
  // printable bytes that end such a block.
  bool blocks_ = true;
  alignas(16) char special_[4][16] = {};  // each byte sixteen times
};

// Decodes one UTF-8 character at text[at] and advances at past it; a byte that
// starts no valid sequence gives U+FFFD and advances by one.
char32_t NextUtf8CodePoint(std::string_view text, size_t& at);
