// Finding bytes sixteen (or eight) at a time: the scans over decoded and raw
// text that would otherwise test every byte on its own. Nothing here reads or
// writes outside the ranges it is given.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// VORNIK_BYTE_SCAN_PORTABLE keeps to the plain code (to check it on any machine).
#if (defined(__SSE2__) || defined(_M_X64)) && !defined(VORNIK_BYTE_SCAN_PORTABLE)
#include <emmintrin.h>
#define VORNIK_BYTE_SCAN_SSE2 1
#endif

namespace byte_scan {

#ifndef VORNIK_BYTE_SCAN_SSE2
// Eight bytes in a 64-bit word: the high bit of each byte that is zero (or
// equal to c) is set; bytes above the first marked one may be marked
// wrongly, never those below it.
inline constexpr uint64_t kOnes = 0x0101010101010101u;
inline constexpr uint64_t kHighBits = 0x8080808080808080u;
inline uint64_t ZeroBytes(uint64_t x) { return (x - kOnes) & ~x & kHighBits; }
inline uint64_t Equal(uint64_t x, char c) {
  return ZeroBytes(x ^ (kOnes * static_cast<unsigned char>(c)));
}
inline uint64_t Load(const void* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}
#endif

// Three bytes to look for, made ready once for many searches.
class TAnyOf {
 public:
  TAnyOf(char a, char b, char c) : a_(a), b_(b), c_(c) {
#ifdef VORNIK_BYTE_SCAN_SSE2
    va_ = _mm_set1_epi8(a);
    vb_ = _mm_set1_epi8(b);
    vc_ = _mm_set1_epi8(c);
#endif
  }

  // The first byte in [from, end) equal to one of them; end when there is none.
  const char* Find(const char* from, const char* end) const {
#ifdef VORNIK_BYTE_SCAN_SSE2
    for (; end - from >= 16; from += 16) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
      const __m128i found = _mm_or_si128(
          _mm_or_si128(_mm_cmpeq_epi8(x, va_), _mm_cmpeq_epi8(x, vb_)), _mm_cmpeq_epi8(x, vc_));
      if (const int mask = _mm_movemask_epi8(found))
        return from + std::countr_zero(static_cast<unsigned>(mask));
    }
#else
    if constexpr (std::endian::native == std::endian::little) {
      for (; end - from >= 8; from += 8) {
        const uint64_t x = Load(from);
        if (const uint64_t found = Equal(x, a_) | Equal(x, b_) | Equal(x, c_))
          return from + std::countr_zero(found) / 8;
      }
    }
#endif
    for (; from < end; ++from) {
      if (*from == a_ || *from == b_ || *from == c_) return from;
    }
    return end;
  }

 private:
  char a_, b_, c_;
#ifdef VORNIK_BYTE_SCAN_SSE2
  __m128i va_, vb_, vc_;
#endif
};

// The first byte in [from, end) equal to a, b or c; end when there is none.
inline const char* FindAnyOf(const char* from, const char* end, char a, char b, char c) {
  return TAnyOf(a, b, c).Find(from, end);
}

// Copies the bytes from the start of in that are ASCII other than zero to
// out, up to count of them, and returns how many it copied. May write bytes
// past those it copied, but never past out + count.
inline size_t CopyAscii(char* out, const uint8_t* in, size_t count) {
  size_t i = 0;
#ifdef VORNIK_BYTE_SCAN_SSE2
  for (; count - i >= 16; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), x);
    const int mask = _mm_movemask_epi8(_mm_or_si128(x, _mm_cmpeq_epi8(x, _mm_setzero_si128())));
    if (mask) return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(mask)));
  }
#else
  if constexpr (std::endian::native == std::endian::little) {
    for (; count - i >= 8; i += 8) {
      const uint64_t x = Load(in + i);
      std::memcpy(out + i, &x, 8);
      if (const uint64_t found = (x & kHighBits) | ZeroBytes(x))
        return i + static_cast<size_t>(std::countr_zero(found) / 8);
    }
  }
#endif
  for (; i < count && in[i] < 0x80 && in[i] != 0; ++i) out[i] = static_cast<char>(in[i]);
  return i;
}

// UTF-8 sixteen bytes at a time, for text that is mostly ASCII with a few
// characters of U+00A0..U+00FF (two bytes each, one in Windows-1252): while
// every block of sixteen holds at most two such characters, and no other
// byte of 0x80 and above and no zero, it is decoded here, without a branch
// on where the characters are. Stops at the first other block (or when fewer
// than 48 bytes are left) and returns how many bytes of in it read; *at
// grows by the bytes written to out. out needs room for what it writes plus
// 32 bytes, which the caller has when out + *at is at most one byte past
// in's position (each input byte gives at most one).
inline size_t DecodeLatinUtf8(char* out, size_t* at, const uint8_t* in, size_t count) {
  size_t i = 0;
#ifdef VORNIK_BYTE_SCAN_SSE2
  const __m128i c2 = _mm_set1_epi8(static_cast<char>(0xC2));
  const __m128i c3 = _mm_set1_epi8(static_cast<char>(0xC3));
  // Signed: 0x80..0x9F are below A0, 0x80..0xBF below C0.
  const __m128i belowA0 = _mm_set1_epi8(static_cast<char>(0xA0));
  const __m128i belowC0 = _mm_set1_epi8(static_cast<char>(0xC0));
  const __m128i zero = _mm_setzero_si128();
  const __m128i plus40 = _mm_set1_epi8(0x40);
  alignas(16) char block[48] = {};
  size_t o = *at;
  for (; count - i >= 48; i += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i isC3 = _mm_cmpeq_epi8(x, c3);
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(x));
    const unsigned leadC2 = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, c2)));
    const unsigned leadC3 = static_cast<unsigned>(_mm_movemask_epi8(isC3));
    const unsigned low = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(x, belowA0)));
    const unsigned follow = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(x, belowC0)));
    const unsigned zeros = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, zero)));
    const unsigned lead = leadC2 | leadC3;
    const unsigned second = lead & (lead - 1);  // the leads after the first
    // Two leads at most, not last, a continuation byte right after each and
    // nothing else high; after C2 only A0..BF (the rest needs the table).
    if ((second & (second - 1)) != 0 || lead >= 0x8000 || follow != (lead << 1) ||
        high != (lead | follow) || ((leadC2 << 1) & low) != 0 || zeros != 0)
      break;
    // C3 xx is xx + 0x40; C2 xx is xx. Then the leads are taken out: the
    // bytes after each move down over it. Where they are, 16 and 17 for
    // none: no branch on it.
    const __m128i y = _mm_add_epi8(x, _mm_and_si128(_mm_slli_si128(isC3, 1), plus40));
    _mm_store_si128(reinterpret_cast<__m128i*>(block), y);
    const unsigned p1 = static_cast<unsigned>(std::countr_zero(lead | 0x10000u));
    const unsigned p2 = static_cast<unsigned>(std::countr_zero(second | 0x20000u));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o), y);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o + p1),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + p1 + 1)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + o + p2 - 1),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + p2 + 1)));
    o += 16 - (lead != 0) - (second != 0);
  }
  *at = o;
#else
  (void)out;
  (void)at;
  (void)in;
  (void)count;
#endif
  return i;
}

}  // namespace byte_scan
