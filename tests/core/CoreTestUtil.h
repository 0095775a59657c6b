// Helpers of the core tests: catching a message, and hand-assembled list files.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Streams.h"
#include "core/listdb.h"

// The message of the E that f raises; "<none>" when it raises nothing.
template <class E, class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.what();
  }
  return "<none>";
}

// A list file assembled byte by byte, so tests can build what the writer never
// would. Build() lays out header, entries, filler, block and record data; a
// record's offset is computed unless forced.
struct TRawListFile {
  struct Record {
    std::vector<uint8_t> data;
    uint8_t attributes = 0;
    int64_t forcedOffset = -1;
  };

  std::string name = "Raw";
  std::string type = "DATA";
  std::string creator = "LSdb";
  uint32_t created = 0;
  uint32_t modified = 0;
  std::array<std::string, 16> slotNames{"Unfiled"};
  std::array<uint8_t, 16> slotIds{};
  std::string field1 = "Name", field2 = "Phone";
  std::vector<Record> records;
  int forcedCount = -1;  // header record count, when not records.size()

  // One record of three zero-terminated values with correct offsets.
  static std::vector<uint8_t> Values(const std::string& f1, const std::string& f2,
                                     const std::string& note);
  std::vector<uint8_t> Build() const;
};

// The document read from bytes.
void ReadBytes(TListDBData& document, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> WriteBytes(const TListDBData& document);

uint32_t BigLong(const std::vector<uint8_t>& b, size_t at);
uint16_t BigWord(const std::vector<uint8_t>& b, size_t at);
