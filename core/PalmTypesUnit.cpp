#include "core/PalmTypesUnit.h"

#include <bit>
#include <cmath>

namespace {

constexpr uint32_t kSecondsPerDay = 86400;
constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 as days since 1899-12-30
// The two offsets the stored dates were written with; together 25569 days.
constexpr uint32_t kDateOffsetA = 2082844800u;
constexpr uint32_t kDateOffsetB = 126316800u;

// value modulo 2^32 for any finite double, without overflowing an integer.
uint32_t Modulo32(double value) {
  const double wrapped = std::fmod(value, 4294967296.0);  // |wrapped| < 2^32
  return static_cast<uint32_t>(static_cast<int64_t>(wrapped));
}

}  // namespace

uint32_t SwapLong(uint32_t value) {
  return ((value & 0xFFu) << 24) | ((value & 0xFF00u) << 8) | ((value >> 8) & 0xFF00u) |
         (value >> 24);
}

uint32_t BigEndianLong(uint32_t value) {
  return std::endian::native == std::endian::big ? value : SwapLong(value);
}

TDateTime DecodeHeaderDate(uint32_t seconds) {
  const uint32_t v = seconds + kDateOffsetA + kDateOffsetB;  // modulo 2^32
  return static_cast<double>(v / kSecondsPerDay) +
         static_cast<double>(v % kSecondsPerDay) / static_cast<double>(kSecondsPerDay);
}

uint32_t EncodeHeaderDate(TDateTime date) {
  if (!std::isfinite(date)) return BigEndianLong(0);
  const double days = std::trunc(date);
  const double fraction = date - days;
  // nearbyint rounds halves to the even neighbour in the default rounding mode.
  const uint32_t secondsOfDay = Modulo32(std::nearbyint(fraction * kSecondsPerDay));
  const uint32_t value = Modulo32(days - kUnixEpochDays) * kSecondsPerDay + secondsOfDay;
  return BigEndianLong(value);
}
