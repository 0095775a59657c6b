#include "platform/AnsiText.h"

#include <array>

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows-1252 leaves
// undefined keep the C1 code point of the same value so that they round-trip.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// The byte for a code point, or -1 when Windows-1252 has none.
int AnsiByte(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
  for (int i = 0; i < 32; ++i) {
    if (kHighTable[i] == u) return 0x80 + i;
  }
  return -1;
}

}  // namespace

QString AnsiToQString(std::string_view bytes) {
  // Windows-1252 differs from Latin-1 only in the bytes 0x80 to 0x9F; texts
  // without them (nearly all) take Qt's fast Latin-1 conversion.
  bool latin1 = true;
  for (unsigned char b : bytes)
    if (b >= 0x80 && b < 0xA0) {
      latin1 = false;
      break;
    }
  if (latin1) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QString result;
  result.resize(static_cast<qsizetype>(bytes.size()));
  AnsiToUtf16(bytes, reinterpret_cast<char16_t*>(result.data()));
  return result;
}

void AnsiToUtf16(std::string_view bytes, char16_t* out) {
  static constexpr auto kTable = [] {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
      table[b] = b >= 0x80 && b < 0xA0 ? kHighTable[b - 0x80] : static_cast<char16_t>(b);
    return table;
  }();
  for (unsigned char b : bytes) *out++ = kTable[b];
}

std::string QStringToAnsi(const QString& text) {
  std::string result;
  result.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    // A surrogate pair is one character: one '?'.
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      result.push_back('?');
      ++i;
      continue;
    }
    const int b = AnsiByte(c.unicode());
    result.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return result;
}

QStringView TrimView(QStringView text) {
  qsizetype first = 0, last = text.size();
  while (first < last && text[first].unicode() <= 32) ++first;
  while (last > first && text[last - 1].unicode() <= 32) --last;
  return text.sliced(first, last - first);
}

bool IsAnsiRepresentable(QChar c) { return AnsiByte(c.unicode()) >= 0; }

bool IsAnsiRepresentable(const QString& text) {
  for (QChar c : text) {
    if (!IsAnsiRepresentable(c)) return false;
  }
  return true;
}

QString WithAnsiReplacements(const QString& text, bool* replaced) {
  if (replaced) *replaced = false;
  if (IsAnsiRepresentable(text)) return text;
  if (replaced) *replaced = true;
  return AnsiToQString(QStringToAnsi(text));
}

QValidator::State TAnsiValidator::validate(QString& input, int& /*pos*/) const {
  return IsAnsiRepresentable(input) ? Acceptable : Invalid;
}
