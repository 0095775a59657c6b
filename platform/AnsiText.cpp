#include "platform/AnsiText.h"

#include <array>

#include "core/Cp1252.h"

namespace {

// The byte for a code point, or -1 when Windows-1252 has none.
int AnsiByte(char16_t u) { return UnitToCp1252(u); }

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
  static const auto kTable = [] {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = Cp1252ToUnit(static_cast<unsigned char>(b));
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
