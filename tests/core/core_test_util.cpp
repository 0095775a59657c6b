#include "core_test_util.h"

#include <cstring>

namespace {

void PutLong(TBytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

}  // namespace

TBytes TRawListFile::Values(const std::string& f1, const std::string& f2, const std::string& note) {
  TBytes data{3, static_cast<uint8_t>(4 + f1.size()),
              static_cast<uint8_t>(5 + f1.size() + f2.size())};
  for (const std::string* s : {&f1, &f2, &note}) {
    data.insert(data.end(), s->begin(), s->end());
    data.push_back(0);
  }
  return data;
}

TBytes TRawListFile::Build() const {
  const size_t n = records.size();
  TBytes b(80 + 8 * n + 512);
  std::memcpy(&b[60], type.data(), 4);
  std::memcpy(&b[64], creator.data(), 4);
  PutLong(b, 36, created);
  PutLong(b, 40, modified);
  b[76] = static_cast<uint8_t>(n >> 8);
  b[77] = static_cast<uint8_t>(n);
  const size_t ai = 80 + 8 * n;
  for (int slot = 0; slot < 16; ++slot) {
    std::memcpy(&b[ai + 2 + 16 * slot], slotNames[slot].data(), slotNames[slot].size());
    b[ai + 258 + slot] = slotIds[slot];
  }
  for (size_t i = 0; i < n; ++i) {
    const int64_t at = records[i].forcedOffset;
    PutLong(b, 78 + 8 * i, static_cast<uint32_t>(at >= 0 ? at : static_cast<int64_t>(b.size())));
    b[78 + 8 * i + 4] = records[i].attributes;
    b.insert(b.end(), records[i].data.begin(), records[i].data.end());
  }
  return b;
}

void ReadBytes(TListDBData& document, const TBytes& bytes) {
  TMemoryStream stream(bytes);
  ReadListDB(document, stream);
}

std::string ReadError(const TRawListFile& file) {
  return MessageOf([&] {
    TListDBData doc;
    ReadBytes(doc, file.Build());
  });
}

TBytes WriteBytes(const TListDBData& document) {
  TMemoryStream stream;
  WriteListDB(document, stream);
  return stream.Bytes();
}

uint32_t BigLong(const TBytes& b, size_t at) {
  return (uint32_t{b.at(at)} << 24) | (uint32_t{b.at(at + 1)} << 16) |
         (uint32_t{b.at(at + 2)} << 8) | b.at(at + 3);
}

std::string Text(const TBytes& b, size_t at, size_t size) {
  return std::string(reinterpret_cast<const char*>(&b.at(at)), size);
}
