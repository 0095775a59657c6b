// Text helpers of the list database: trimming, Windows-1252 case folding and
// the local clock as a TDateTime.
#include <array>
#include <chrono>
#include <ctime>

#include "core/listdb.h"

namespace {

constexpr std::array<unsigned char, 256> MakeFoldTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) table[c] = static_cast<unsigned char>(c + 32);
  // À..Þ fold to à..þ; 0xD7 (×) has no lower-case partner (0xF7 is ÷).
  for (int c = 0xC0; c <= 0xDE; ++c) {
    if (c != 0xD7) table[c] = static_cast<unsigned char>(c + 32);
  }
  table[0x8A] = 0x9A;  // Š -> š
  table[0x8C] = 0x9C;  // Œ -> œ
  table[0x8E] = 0x9E;  // Ž -> ž
  table[0x9F] = 0xFF;  // Ÿ -> ÿ
  return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

}  // namespace

std::string Trim(const std::string& s) { return std::string(TrimView(s)); }

char FoldCase1252(char c) { return static_cast<char>(kFold[static_cast<unsigned char>(c)]); }

bool SameTextIgnoreCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase1252(a[i]) != FoldCase1252(b[i])) return false;
  }
  return true;
}

TDateTime NowLocal() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  // Seconds since 1970-01-01 00:00 of the local clock, plus the milliseconds.
#ifdef _WIN32
  localtime_s(&local, &seconds);
  const double localSeconds = static_cast<double>(_mkgmtime(&local));
#else
  localtime_r(&seconds, &local);
  const double localSeconds = static_cast<double>(seconds) + static_cast<double>(local.tm_gmtoff);
#endif
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 as days since 1899-12-30
  return kUnixEpochDays + (localSeconds + static_cast<double>(millis) / 1000.0) / 86400.0;
}
