#include "CoreTestUtil.h"

#include <algorithm>
#include <cstring>

namespace {

void Put(std::vector<uint8_t>& b, size_t at, const std::string& text, size_t width) {
  std::memcpy(&b[at], text.data(), std::min(width, text.size()));
}

void PutLong(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

}  // namespace

std::vector<uint8_t> TRawListFile::Values(const std::string& f1, const std::string& f2,
                                          const std::string& note) {
  std::vector<uint8_t> data{3, static_cast<uint8_t>(4 + f1.size()),
                            static_cast<uint8_t>(5 + f1.size() + f2.size())};
  for (const std::string* s : {&f1, &f2, &note}) {
    data.insert(data.end(), s->begin(), s->end());
    data.push_back(0);
  }
  return data;
}

std::vector<uint8_t> TRawListFile::Build() const {
  const size_t n = records.size();
  std::vector<uint8_t> b(78 + 8 * n + 2 + 512);
  Put(b, 0, name, 32);
  Put(b, 60, type, 4);
  Put(b, 64, creator, 4);
  PutLong(b, 36, created);
  PutLong(b, 40, modified);
  const auto count = static_cast<uint16_t>(forcedCount >= 0 ? forcedCount : static_cast<int>(n));
  b[76] = static_cast<uint8_t>(count >> 8);
  b[77] = static_cast<uint8_t>(count);
  b[78 + 8 * n] = 0x80;
  const size_t ai = 80 + 8 * n;
  for (int slot = 0; slot < 16; ++slot) {
    Put(b, ai + 2 + 16 * slot, slotNames[slot], 16);
    b[ai + 258 + slot] = slotIds[slot];
  }
  Put(b, ai + 278, field1, 16);
  Put(b, ai + 294, field2, 16);
  for (size_t i = 0; i < n; ++i) {
    const Record& r = records[i];
    const uint32_t offset = r.forcedOffset >= 0 ? static_cast<uint32_t>(r.forcedOffset)
                                                : static_cast<uint32_t>(b.size());
    PutLong(b, 78 + 8 * i, offset);
    b[78 + 8 * i + 4] = r.attributes;
    b.insert(b.end(), r.data.begin(), r.data.end());
  }
  return b;
}

void ReadBytes(TListDBData& document, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream(bytes);
  ReadListDB(document, stream);
}

std::vector<uint8_t> WriteBytes(const TListDBData& document) {
  TMemoryStream stream;
  WriteListDB(document, stream);
  return stream.Bytes();
}

uint32_t BigLong(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t{b.at(at)} << 24) | (uint32_t{b.at(at + 1)} << 16) |
         (uint32_t{b.at(at + 2)} << 8) | b.at(at + 3);
}

uint16_t BigWord(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>((b.at(at) << 8) | b.at(at + 1));
}
