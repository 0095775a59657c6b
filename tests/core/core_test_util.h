// Helpers of the core tests: catching a message, and hand-assembled list files.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/Streams.h"
#include "core/listdb.h"

using TBytes = std::vector<uint8_t>;

// The message of the E that f raises; "<none>" when it raises nothing.
template <class E = std::runtime_error, class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.what();
  }
  return "<none>";
}

// A list file laid out byte by byte (header, entries, filler, block, data), so
// tests can build what the writer never would.
struct TRawListFile {
  struct Record {
    TBytes data;
    uint8_t attributes = 0;
    int64_t forcedOffset = -1;  // else right after the previous record
  };
  std::string type = "DATA", creator = "LSdb";
  uint32_t created = 0, modified = 0;
  std::array<std::string, 16> slotNames{"Unfiled"};
  std::array<uint8_t, 16> slotIds{};
  std::vector<Record> records;

  // Three zero-terminated values with their offsets.
  static TBytes Values(const std::string& f1, const std::string& f2, const std::string& note);
  TBytes Build() const;
};

void ReadBytes(TListDBData& document, const TBytes& bytes);
// What reading the file into a new document raises; "<none>" when it reads.
std::string ReadError(const TRawListFile& file);
TBytes WriteBytes(const TListDBData& document);
uint32_t BigLong(const TBytes& b, size_t at);
std::string Text(const TBytes& b, size_t at, size_t size);
