// The version stamp: the four numbers of the program's version as the build
// writes them into a section of its own in each executable, where a platform
// without version resources can read them back from the file.
//
// Layout (16 bytes): the 8-byte tag "VRNKVER1", then major, minor, release
// and build, each an unsigned 16-bit number, least significant byte first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#define VORNIK_VERSION_SECTION ".vornik_version"

inline constexpr char kVersionSectionName[] = VORNIK_VERSION_SECTION;
inline constexpr std::array<unsigned char, 8> kVersionStampTag = {'V', 'R', 'N', 'K',
                                                                  'V', 'E', 'R', '1'};
inline constexpr std::size_t kVersionStampSize = 16;

using TVersionStamp = std::array<unsigned char, kVersionStampSize>;

struct TFileVersion {
  std::uint16_t Major = 0;
  std::uint16_t Minor = 0;
  std::uint16_t Release = 0;
  std::uint16_t Build = 0;
};

constexpr TVersionStamp MakeVersionStamp(std::uint16_t major, std::uint16_t minor,
                                         std::uint16_t release, std::uint16_t build) {
  TVersionStamp stamp{};
  for (std::size_t i = 0; i < kVersionStampTag.size(); ++i) stamp[i] = kVersionStampTag[i];
  const std::uint16_t numbers[4] = {major, minor, release, build};
  for (std::size_t i = 0; i < 4; ++i) {
    stamp[8 + 2 * i] = static_cast<unsigned char>(numbers[i] & 0xFF);
    stamp[9 + 2 * i] = static_cast<unsigned char>(numbers[i] >> 8);
  }
  return stamp;
}

// Reads a stamp's numbers; false when the bytes are not a stamp (wrong size
// or tag).
constexpr bool ParseVersionStamp(const unsigned char* bytes, std::size_t size,
                                 TFileVersion& version) {
  if (!bytes || size != kVersionStampSize) return false;
  for (std::size_t i = 0; i < kVersionStampTag.size(); ++i)
    if (bytes[i] != kVersionStampTag[i]) return false;
  auto number = [bytes](std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
  };
  version = {number(8), number(10), number(12), number(14)};
  return true;
}
