// Byte streams for the file format: a file stream, a memory stream, and the
// safe replacement of a file (written beside it, then renamed over it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to count bytes; returns how many were read.
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes all bytes or raises.
  virtual void Write(const void* buffer, size_t count) = 0;
  virtual void Seek(uint64_t position) = 0;
  virtual uint64_t Position() const = 0;
  virtual uint64_t Size() const = 0;
  // Cuts the stream at the current position.
  virtual void Truncate() = 0;

  // Reads exactly count bytes or raises EStreamError "Stream read error".
  void ReadBuffer(void* buffer, size_t count);
};

// Raised by the streams ("Cannot open file %s", "Cannot create file %s",
// "Stream read error", "Stream write error").
class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFileStream : public TStream {
 public:
  enum class Mode {
    OpenRead,  // read-only; other writers shut out where the platform allows
    Create,    // create or replace, read and write
    CreateNew  // create a file that must not exist yet, read and write
  };
  TFileStream(const std::string& path, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  void Seek(uint64_t position) override;
  uint64_t Position() const override;
  uint64_t Size() const override;
  void Truncate() override;
  // Flushes the written bytes to the disk.
  void Sync();
  // Closes the file; later calls raise. Raises "Stream write error" when the
  // system reports a failed write on closing.
  void Close();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;  // the system's file handle; null once closed
#else
  int fd_ = -1;
#endif
  std::string path_;
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  size_t Read(void* buffer, size_t count) override;
  void Write(const void* buffer, size_t count) override;
  void Seek(uint64_t position) override;
  uint64_t Position() const override { return position_; }
  uint64_t Size() const override { return data_.size(); }
  void Truncate() override;
  const std::vector<uint8_t>& Bytes() const { return data_; }

 private:
  std::vector<uint8_t> data_;
  uint64_t position_ = 0;
};

// Writes a new file beside path through writer, flushes it to the disk and
// renames it over path (paths are UTF-8 on every platform). On any failure the new file is removed,
// path is left as it was and the failure propagates.
void SafeReplaceFile(const std::string& path, const std::function<void(TStream&)>& writer);
