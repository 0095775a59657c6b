// Windows-1252, the code page of every text in a list, to and from UTF-8.
// Every byte round-trips: the five bytes the code page leaves undefined map to
// the C1 code points of the same value.
#pragma once

#include <string>
#include <string_view>

// The code point of a byte.
char32_t Windows1252CodePoint(unsigned char byte);
// The byte of a code point, or -1 when the code page has none.
int Windows1252Byte(char32_t codePoint);

// Appends the bytes as UTF-8.
void AppendWindows1252AsUtf8(std::string& out, std::string_view bytes);
std::string Windows1252ToUtf8(std::string_view bytes);

// Decodes one UTF-8 character at text[at] and advances at past it; a byte that
// starts no valid sequence gives U+FFFD and advances by one.
char32_t NextUtf8CodePoint(std::string_view text, size_t& at);
