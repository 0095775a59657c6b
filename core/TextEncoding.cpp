#include "core/TextEncoding.h"

#include <algorithm>
#include <cstring>

#include "core/ByteScan.h"
#include "core/listdb.h"

namespace {

constexpr char kReplacement = '?';

// Length of a UTF-8 sequence from its first byte; 0 for a byte that cannot
// start one.
inline int Utf8Length(uint8_t lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether the byte at position i (1-based after the lead) may follow lead.
inline bool Utf8Follows(uint8_t lead, int i, uint8_t byte) {
  if ((byte & 0xC0) != 0x80) return false;
  if (i != 1) return true;
  switch (lead) {
    case 0xE0:
      return byte >= 0xA0;  // no overlong forms
    case 0xED:
      return byte < 0xA0;  // no surrogates
    case 0xF0:
      return byte >= 0x90;
    case 0xF4:
      return byte < 0x90;  // nothing past U+10FFFF
    default:
      return true;
  }
}

// How many bytes from p form a valid start of a UTF-8 sequence (up to its
// length); the full length means a whole character.
inline int Utf8ValidPrefix(const uint8_t* p, size_t available) {
  const int length = Utf8Length(p[0]);
  if (length == 0) return 0;
  int i = 1;
  while (i < length && static_cast<size_t>(i) < available && Utf8Follows(p[0], i, p[i])) ++i;
  return i;
}

inline char32_t Utf8Value(const uint8_t* p, int length) {
  switch (length) {
    case 1:
      return p[0];
    case 2:
      return (char32_t{p[0] & 0x1Fu} << 6) | (p[1] & 0x3Fu);
    case 3:
      return (char32_t{p[0] & 0x0Fu} << 12) | (char32_t{p[1] & 0x3Fu} << 6) | (p[2] & 0x3Fu);
    default:
      return (char32_t{p[0] & 0x07u} << 18) | (char32_t{p[1] & 0x3Fu} << 12) |
             (char32_t{p[2] & 0x3Fu} << 6) | (p[3] & 0x3Fu);
  }
}

[[noreturn]] void ThrowNotText() {
  throw EListDBError("The file is not text: it holds zero bytes");
}

}  // namespace

std::string Utf8ToWindows1252(std::string_view utf8, size_t* replaced) {
  std::string out;
  out.reserve(utf8.size());
  size_t count = 0;
  for (size_t at = 0; at < utf8.size();) {
    const int b = Windows1252Byte(NextUtf8CodePoint(utf8, at));
    count += b < 0;
    out.push_back(b < 0 ? kReplacement : static_cast<char>(b));
  }
  if (replaced) *replaced = count;
  return out;
}

bool IsValidUtf8(const uint8_t* bytes, size_t count, bool last) {
  size_t i = 0;
  while (i < count) {
    if (bytes[i] < 0x80) {
      ++i;
      continue;
    }
    const int length = Utf8Length(bytes[i]);
    if (length == 0) return false;
    const int valid = Utf8ValidPrefix(bytes + i, count - i);
    if (valid == length) {
      i += static_cast<size_t>(length);
      continue;
    }
    // A sequence cut by the end of the bytes may go on in the next piece.
    return valid > 0 && i + static_cast<size_t>(valid) == count && !last;
  }
  return true;
}

size_t Utf8UnfinishedTail(const uint8_t* bytes, size_t count) {
  for (size_t back = 1; back <= 3 && back <= count; ++back) {
    const uint8_t b = bytes[count - back];
    if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const int length = Utf8Length(b);
    return length > static_cast<int>(back) ? back : 0;
  }
  return 0;
}

TTextEncoding EncodingOfByteOrderMark(const uint8_t* bytes, size_t count, size_t& markLength) {
  markLength = 0;
  if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    markLength = 3;
    return TTextEncoding::Utf8;
  }
  if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    markLength = 2;
    return TTextEncoding::Utf16LE;
  }
  if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    markLength = 2;
    return TTextEncoding::Utf16BE;
  }
  return TTextEncoding::Guess;
}

// ---------------------------------------------------------------------------
// TTextDecoder

TTextDecoder::TTextDecoder(TTextEncoding encoding)
    : encoding_(encoding == TTextEncoding::Guess ? TTextEncoding::Utf8 : encoding) {}

void TTextDecoder::Replace() {
  replacements_.push_back(decoded_ + at_);
  out_[at_++] = kReplacement;
}

void TTextDecoder::Put(char32_t codePoint) {
  if (codePoint == 0) ThrowNotText();
  const int b = Windows1252Byte(codePoint);
  if (b < 0) {
    Replace();
  } else {
    out_[at_++] = static_cast<char>(b);
  }
}

size_t TTextDecoder::TakeReplacementsBefore(uint64_t end) {
  size_t count = 0;
  while (!replacements_.empty() && replacements_.front() < end) {
    replacements_.pop_front();
    ++count;
  }
  return count;
}

size_t TTextDecoder::Decode(const uint8_t* bytes, size_t count, bool last, char* out) {
  out_ = out;
  at_ = 0;
  switch (encoding_) {
    case TTextEncoding::Guess:
    case TTextEncoding::Utf8:
      DecodeUtf8(bytes, count, last);
      break;
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
      DecodeUtf16(bytes, count, last);
      break;
    case TTextEncoding::Windows1252:
      if (count > 0 && std::memchr(bytes, 0, count)) ThrowNotText();
      if (count > 0) std::memcpy(out, bytes, count);
      at_ = count;
      break;
  }
  decoded_ += at_;
  return at_;
}

void TTextDecoder::DecodeUtf8(const uint8_t* bytes, size_t count, bool last) {
  // A character the previous piece cut: complete it from this one first.
  if (pendingCount_ > 0) {
    uint8_t joined[4];
    std::memcpy(joined, pending_, pendingCount_);
    const size_t take = std::min<size_t>(count, 4 - pendingCount_);
    if (take > 0) std::memcpy(joined + pendingCount_, bytes, take);
    const size_t size = pendingCount_ + take;
    const int length = Utf8Length(joined[0]);
    const int valid = Utf8ValidPrefix(joined, size);
    if (valid == length) {
      Put(Utf8Value(joined, length));
      const size_t used = static_cast<size_t>(length) - pendingCount_;
      bytes += used;
      count -= used;
      pendingCount_ = 0;
    } else if (static_cast<size_t>(valid) == size && !last) {
      // Still unfinished: this piece was shorter than the character.
      std::memcpy(pending_, joined, size);
      pendingCount_ = size;
      return;
    } else {
      Replace();
      // The bytes after the broken start are read again on their own.
      const size_t used = static_cast<size_t>(valid) > pendingCount_
                              ? static_cast<size_t>(valid) - pendingCount_
                              : 0;
      bytes += used;
      count -= used;
      pendingCount_ = 0;
    }
  }
  // Every byte gives at most one: the text is written straight to the output.
  char* o = out_;
  size_t at = at_;
  auto replace = [&]() {
    replacements_.push_back(decoded_ + at);
    o[at++] = kReplacement;
  };
  size_t i = 0;
  while (i < count) {
    i += byte_scan::DecodeLatinUtf8(o, &at, bytes + i, count - i);
    // Runs of ASCII go straight through.
    const size_t run = byte_scan::CopyAscii(o + at, bytes + i, count - i);
    at += run;
    i += run;
    if (i == count) break;
    const uint8_t lead = bytes[i];
    if (lead == 0) ThrowNotText();
    // U+0080..U+00FF, the most common case.
    if ((lead == 0xC2 || lead == 0xC3) && i + 1 < count && (bytes[i + 1] & 0xC0) == 0x80) {
      const char32_t c = (char32_t{lead & 0x1Fu} << 6) | (bytes[i + 1] & 0x3Fu);
      const int b = c >= 0xA0 ? static_cast<int>(c) : Windows1252Byte(c);
      if (b < 0) {
        replace();
      } else {
        o[at++] = static_cast<char>(b);
      }
      i += 2;
      continue;
    }
    const int length = Utf8Length(lead);
    const int valid = Utf8ValidPrefix(bytes + i, count - i);
    if (valid == length && length > 0) {
      const int b = Windows1252Byte(Utf8Value(bytes + i, length));
      if (b < 0) {
        replace();
      } else {
        o[at++] = static_cast<char>(b);
      }
      i += static_cast<size_t>(length);
    } else if (valid > 0 && i + static_cast<size_t>(valid) == count && !last) {
      for (int k = 0; k < valid; ++k) pending_[k] = bytes[i + static_cast<size_t>(k)];
      pendingCount_ = static_cast<size_t>(valid);
      break;
    } else {
      replace();
      i += valid == 0 ? 1 : static_cast<size_t>(valid);
    }
  }
  at_ = at;
  if (last && pendingCount_ > 0) {
    Replace();
    pendingCount_ = 0;
  }
}

void TTextDecoder::DecodeUtf16(const uint8_t* bytes, size_t count, bool last) {
  const bool le = encoding_ == TTextEncoding::Utf16LE;
  size_t i = 0;
  auto unit = [&](uint8_t a, uint8_t b) {
    const char16_t u =
        le ? static_cast<char16_t>(a | (b << 8)) : static_cast<char16_t>((a << 8) | b);
    if (highSurrogate_ != 0) {
      highSurrogate_ = 0;
      Replace();  // a pair is beyond the first plane, never in Windows-1252
      if (u >= 0xDC00 && u <= 0xDFFF) return;
    }
    if (u >= 0xD800 && u <= 0xDBFF) {
      highSurrogate_ = u;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      Replace();
    } else {
      Put(u);
    }
  };
  if (pendingCount_ == 1 && count > 0) {
    unit(pending_[0], bytes[0]);
    pendingCount_ = 0;
    i = 1;
  }
  for (; i + 1 < count; i += 2) {
    const uint8_t a = bytes[i], b = bytes[i + 1];
    // Code units below 0x80 go straight through.
    if ((le ? b : a) == 0 && (le ? a : b) < 0x80 && (le ? a : b) != 0 && highSurrogate_ == 0) {
      out_[at_++] = static_cast<char>(le ? a : b);
    } else {
      unit(a, b);
    }
  }
  if (i < count) {
    pending_[0] = bytes[i];
    pendingCount_ = 1;
  }
  if (last) {
    if (pendingCount_ > 0 || highSurrogate_ != 0) Replace();
    pendingCount_ = 0;
    highSurrogate_ = 0;
  }
}
