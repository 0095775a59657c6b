#include "core/Windows1252.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Code points of the bytes 0x80..0x9F.
constexpr char32_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// The UTF-8 form of every byte: its length, then up to three bytes.
struct Utf8Form {
  unsigned char length;
  char bytes[3];
};

constexpr std::array<Utf8Form, 256> MakeUtf8Table() {
  std::array<Utf8Form, 256> table{};
  for (int b = 0; b < 256; ++b) {
    const char32_t u = b >= 0x80 && b < 0xA0 ? kHighTable[b - 0x80] : static_cast<char32_t>(b);
    Utf8Form& form = table[b];
    if (u < 0x80) {
      form = {1, {static_cast<char>(u), 0, 0}};
    } else if (u < 0x800) {
      form = {2, {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F)), 0}};
    } else {
      form = {3,
              {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
               static_cast<char>(0x80 | (u & 0x3F))}};
    }
  }
  return table;
}

constexpr std::array<Utf8Form, 256> kUtf8 = MakeUtf8Table();

}  // namespace

char32_t Windows1252CodePoint(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighTable[byte - 0x80] : byte;
}

int Windows1252Byte(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
    return static_cast<int>(codePoint);
  for (int i = 0; i < 32; ++i) {
    if (kHighTable[i] == codePoint) return 0x80 + i;
  }
  return -1;
}

void AppendWindows1252AsUtf8(std::string& out, std::string_view bytes) {
  static const TUtf8Escapes kNone({});
  kNone.Append(out, bytes);
}

TUtf8Escapes::TUtf8Escapes(const TEscapeList& escapes, std::string_view marked) {
  std::memset(text_, 0, sizeof text_);
  for (int b = 0; b < 256; ++b) {
    length_[b] = kUtf8[b].length;
    plain_[b] = b < 0x80;
    std::memcpy(text_[b], kUtf8[b].bytes, 3);
  }
  for (const auto& [byte, text] : escapes) {
    const size_t length = std::min(text.size(), sizeof text_[0] - 1);
    length_[byte] = static_cast<uint8_t>(length);
    plain_[byte] = false;
    std::memcpy(text_[byte], text.data(), length);
  }
  for (char c : marked) marked_[static_cast<unsigned char>(c)] = true;
  // The printable bytes that need a look of their own; the unused places
  // repeat a byte below the space, which needs one anyway.
  int specials = 0;
  for (int b = 0x20; b < 0x80; ++b) {
    if (plain_[b] && !marked_[b]) continue;
    if (specials == 4) {
      blocks_ = false;
      break;
    }
    std::memset(special_[specials++], b, sizeof special_[0]);
  }
}

TUtf8Escapes::TMeasure TUtf8Escapes::Measure(std::string_view bytes) const {
  size_t size = 0;
  bool marked = false, same = true;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    size += length_[b];
    marked |= marked_[b];
    same &= plain_[b];
  }
  return {size, marked, same};
}

char* TUtf8Escapes::Write(char* to, std::string_view bytes) const {
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (plain_[b]) {
      *to++ = c;
      continue;
    }
    for (uint8_t i = 0; i < length_[b]; ++i) *to++ = text_[b][i];
  }
  return to;
}

char* TUtf8Escapes::Put(char* to, std::string_view bytes, const char* readable) const {
  bool marked;
  return PutText<false>(to, bytes, marked, readable);
}

char* TUtf8Escapes::Put(char* to, std::string_view bytes, bool& marked,
                        const char* readable) const {
  return PutText<true>(to, bytes, marked, readable);
}

template <bool kMark>
char* TUtf8Escapes::PutText(char* to, std::string_view bytes, bool& marked,
                            const char* readable) const {
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  const char* const limit = readable && readable > end ? readable : end;
  bool any = false;
#ifdef __SSE2__
  // Runs of printable ASCII that is neither escaped nor marked go sixteen
  // bytes at a time: each block is stored as it is, and kept up to its first
  // byte that needs a look of its own.
  const __m128i space = _mm_set1_epi8(0x20);
  const auto special = [this](int i) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(special_[i]));
  };
  const __m128i special0 = special(0), special1 = special(1);
  const __m128i special2 = special(2), special3 = special(3);
#endif
  while (p != end) {
#ifdef __SSE2__
    if (blocks_ && limit - p >= 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      // Signed: the bytes from 0x80 up count as below the space too.
      __m128i stop = _mm_cmplt_epi8(block, space);
      stop = _mm_or_si128(
          stop, _mm_or_si128(_mm_cmpeq_epi8(block, special0), _mm_cmpeq_epi8(block, special1)));
      stop = _mm_or_si128(
          stop, _mm_or_si128(_mm_cmpeq_epi8(block, special2), _mm_cmpeq_epi8(block, special3)));
      // A block reaching past the text stops at its end. The bytes stored
      // past the kept run lie within the room of the bytes left.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to), block);
      auto mask = static_cast<unsigned>(_mm_movemask_epi8(stop));
      const auto left = end - p;
      if (left < 16) mask |= 0xFFFFu << left;
      if (mask == 0) {
        p += 16;
        to += 16;
        continue;
      }
      const int run = std::countr_zero(mask);
      p += run;
      to += run;
      if (p == end) break;
    }
#endif
    // Every byte's form is copied whole and kept to its length, without a
    // branch on what the byte is.
    const auto b = static_cast<unsigned char>(*p++);
    if constexpr (kMark) any |= marked_[b];
    std::memcpy(to, text_[b], kRoomPerByte);
    to += length_[b];
  }
  marked = any;
  return to;
}

void TUtf8Escapes::Append(std::string& out, std::string_view bytes) const {
  const TMeasure measure = Measure(bytes);
  if (measure.Same) {
    out.append(bytes);
    return;
  }
  const size_t at = out.size();
  out.resize(at + measure.Size);
  Write(out.data() + at, bytes);
}
std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  AppendWindows1252AsUtf8(out, bytes);
  return out;
}

char32_t NextUtf8CodePoint(std::string_view text, size_t& at) {
  constexpr char32_t kReplacement = 0xFFFD;
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int length;
  char32_t u;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 1;
    u = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 2;
    u = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 3;
    u = lead & 0x07;
  } else {
    return kReplacement;
  }
  if (text.size() - at < static_cast<size_t>(length)) return kReplacement;
  for (int i = 0; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[at + i]);
    if ((next & 0xC0) != 0x80) return kReplacement;
    u = (u << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are refused.
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (u < kLeast[length] || (u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF) return kReplacement;
  at += static_cast<size_t>(length);
  return u;
}
