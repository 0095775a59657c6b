// The parts of the streams that are the same on every platform; the file
// stream and the safe replacement live in Streams_posix.cpp and Streams_win.cpp.
#include "core/Streams.h"

#include <algorithm>
#include <cstring>
#include <random>

#include "core/StreamsInternal.h"

namespace streams_internal {

void ThrowReadError() { throw EStreamError("Stream read error"); }
void ThrowWriteError() { throw EStreamError("Stream write error"); }

size_t LastSeparator(const std::string& path) {
#ifdef _WIN32
  return path.find_last_of("/\\");
#else
  return path.rfind('/');
#endif
}

std::string TemporarySiblingName(const std::string& target) {
  static std::mt19937_64 random{std::random_device{}()};
  const size_t slash = LastSeparator(target);
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  // Cut a long name so that the temporary one stays within the limit, at the
  // start of a character.
  size_t cut = std::min<size_t>(name.size(), 200);
  while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
    --cut;
  name.resize(cut);
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string suffix(8, '0');
  for (char& c : suffix) c = kDigits[random() % 36];
  return folder + "." + name + "." + suffix + ".tmp";
}

std::unique_ptr<TFileStream> CreateTemporarySibling(const std::string& target,
                                                    const std::string& shownPath,
                                                    bool (*taken)(const std::string& name),
                                                    std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporarySiblingName(target);
    if (taken(name)) continue;
    try {
      return std::make_unique<TFileStream>(name, TFileStream::Mode::CreateNew);
    } catch (const EStreamError&) {
      break;
    }
  }
  throw EStreamError("Cannot create file " + shownPath);
}

}  // namespace streams_internal

// ---------------------------------------------------------------------------
// TStream

void TStream::ReadBuffer(void* buffer, size_t count) {
  if (Read(buffer, count) != count) streams_internal::ThrowReadError();
}

// ---------------------------------------------------------------------------
// TMemoryStream

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (position_ >= data_.size()) return 0;
  const size_t available = static_cast<size_t>(data_.size() - position_);
  const size_t n = std::min(count, available);
  if (n > 0) std::memcpy(buffer, data_.data() + position_, n);
  position_ += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return;
  if (position_ > data_.max_size() - count) streams_internal::ThrowWriteError();
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  if (position_ > data_.size()) data_.resize(static_cast<size_t>(position_));
  // What lies over the present bytes is copied onto them, the rest appended
  // (without first filling the new room with zeros).
  const size_t over = std::min(count, static_cast<size_t>(data_.size() - position_));
  if (over > 0) std::memcpy(data_.data() + position_, bytes, over);
  data_.insert(data_.end(), bytes + over, bytes + count);
  position_ += count;
}

void TMemoryStream::Seek(uint64_t position) { position_ = position; }

void TMemoryStream::Truncate() {
  if (position_ < data_.size()) data_.resize(static_cast<size_t>(position_));
}
