#include "platform/VersionInfo.h"

#ifdef Q_OS_WIN

#include <windows.h>

#include <vector>

bool ReadExecutableVersion(const QString& path, TFileVersion& version) {
  const std::wstring file = path.toStdWString();
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
  if (size == 0) return false;
  std::vector<unsigned char> buffer(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, buffer.data())) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return false;
  version = {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
             HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
  return true;
}

#else

#include <QFile>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// An ELF file read piece by piece; every read is checked against the file's
// size, so damaged offsets and counts end the search instead of reading
// beyond the file.
class TElfFile {
 public:
  explicit TElfFile(const QString& path) : file_(path) {}

  bool Open() { return file_.open(QIODevice::ReadOnly) && file_.size() > 0; }

  std::optional<std::vector<unsigned char> > Read(std::uint64_t offset, std::uint64_t size) {
    const auto fileSize = static_cast<std::uint64_t>(file_.size());
    if (offset > fileSize || size > fileSize - offset) return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    if (size == 0) return bytes;
    if (!file_.seek(static_cast<qint64>(offset))) return std::nullopt;
    const qint64 got = file_.read(reinterpret_cast<char*>(bytes.data()), static_cast<qint64>(size));
    if (got != static_cast<qint64>(size)) return std::nullopt;
    return bytes;
  }

 private:
  QFile file_;
};

// Reads unsigned numbers of the file's byte order out of a buffer; the
// caller has checked that the buffer holds them.
struct TElfNumbers {
  bool bigEndian = false;

  std::uint64_t Get(const unsigned char* at, int size) const {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) {
      const int shift = bigEndian ? 8 * (size - 1 - i) : 8 * i;
      value |= static_cast<std::uint64_t>(at[i]) << shift;
    }
    return value;
  }
};

struct TElfSection {
  std::uint32_t name = 0;
  std::uint32_t type = 0;
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  std::uint32_t link = 0;
};

constexpr std::uint32_t kShtNoBits = 8;
constexpr std::uint64_t kShnXIndex = 0xFFFF;

bool ReadElfVersion(const QString& path, TFileVersion& version) {
  TElfFile file(path);
  if (!file.Open()) return false;

  const auto ident = file.Read(0, 16);
  if (!ident || std::memcmp(ident->data(),
                            "\x7f"
                            "ELF",
                            4) != 0)
    return false;
  const int elfClass = (*ident)[4];
  const int elfData = (*ident)[5];
  if ((elfClass != 1 && elfClass != 2) || (elfData != 1 && elfData != 2)) return false;
  const bool is64 = elfClass == 2;
  const TElfNumbers n{elfData == 2};

  const auto header = file.Read(0, is64 ? 64 : 52);
  if (!header) return false;
  const unsigned char* h = header->data();
  const std::uint64_t shoff = is64 ? n.Get(h + 0x28, 8) : n.Get(h + 0x20, 4);
  const std::uint64_t shentsize = n.Get(h + (is64 ? 0x3A : 0x2E), 2);
  std::uint64_t shnum = n.Get(h + (is64 ? 0x3C : 0x30), 2);
  std::uint64_t shstrndx = n.Get(h + (is64 ? 0x3E : 0x32), 2);
  const std::uint64_t minEntry = is64 ? 64 : 40;
  if (shoff == 0 || shentsize < minEntry) return false;

  auto readSection = [&](std::uint64_t index) -> std::optional<TElfSection> {
    if (index > (UINT64_MAX - shoff) / shentsize) return std::nullopt;
    const auto entry = file.Read(shoff + index * shentsize, minEntry);
    if (!entry) return std::nullopt;
    const unsigned char* e = entry->data();
    TElfSection s;
    s.name = static_cast<std::uint32_t>(n.Get(e, 4));
    s.type = static_cast<std::uint32_t>(n.Get(e + 4, 4));
    s.offset = is64 ? n.Get(e + 24, 8) : n.Get(e + 16, 4);
    s.size = is64 ? n.Get(e + 32, 8) : n.Get(e + 20, 4);
    s.link = static_cast<std::uint32_t>(n.Get(e + (is64 ? 40 : 24), 4));
    return s;
  };

  // Files with very many sections keep the count and the index of the name
  // table in the first section header.
  if (shnum == 0 || shstrndx == kShnXIndex) {
    const auto first = readSection(0);
    if (!first) return false;
    if (shnum == 0) shnum = first->size;
    if (shstrndx == kShnXIndex) shstrndx = first->link;
  }
  if (shnum == 0 || shstrndx >= shnum) return false;

  const auto names = readSection(shstrndx);
  if (!names || names->type == kShtNoBits) return false;
  const auto nameTable = file.Read(names->offset, names->size);
  if (!nameTable) return false;

  const std::size_t wantedLength = std::strlen(kVersionSectionName);
  for (std::uint64_t i = 1; i < shnum; ++i) {
    const auto section = readSection(i);
    if (!section) return false;
    // The name must lie within the table, terminated by its zero byte.
    if (section->name >= nameTable->size() || nameTable->size() - section->name < wantedLength + 1)
      continue;
    const unsigned char* name = nameTable->data() + section->name;
    if (std::memcmp(name, kVersionSectionName, wantedLength) != 0 || name[wantedLength] != 0)
      continue;
    if (section->type == kShtNoBits || section->size != kVersionStampSize) return false;
    const auto stamp = file.Read(section->offset, section->size);
    return stamp && ParseVersionStamp(stamp->data(), stamp->size(), version);
  }
  return false;
}

}  // namespace

bool ReadExecutableVersion(const QString& path, TFileVersion& version) {
  TFileVersion read;
  if (!ReadElfVersion(path, read)) return false;
  version = read;
  return true;
}

#endif
