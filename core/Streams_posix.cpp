// The file stream and the safe replacement on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>

#include "core/Streams.h"
#include "core/StreamsInternal.h"

namespace {

using streams_internal::ThrowReadError;
using streams_internal::ThrowWriteError;

void CloseQuietly(int fd) {
  if (fd >= 0) ::close(fd);
}

// Shared lock for readers, exclusive lock for writers. False only when another
// process holds a conflicting lock; file systems without flock support count as
// unlocked.
bool TryLock(int fd, int operation) {
  while (::flock(fd, operation | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    return errno != EWOULDBLOCK;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// TFileStream

// Regular files only: a folder, a pipe or a device is refused (opening a pipe
// without O_NONBLOCK would wait for a writer).
static bool IsRegularFile(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

static bool ClearNonBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

TFileStream::TFileStream(const std::string& path, Mode mode) : path_(path) {
  if (mode == Mode::OpenRead) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ >= 0 && (!IsRegularFile(fd_) || !ClearNonBlocking(fd_) || !TryLock(fd_, LOCK_SH))) {
      CloseQuietly(fd_);
      fd_ = -1;
    }
    if (fd_ < 0) throw EStreamError("Cannot open file " + path);
  } else {
    const int flags = O_RDWR | O_CREAT | O_CLOEXEC | (mode == Mode::CreateNew ? O_EXCL : 0);
    fd_ = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
    // Truncate only once the lock is held, so a locked file is left whole.
    if (fd_ >= 0 && (!IsRegularFile(fd_) || !ClearNonBlocking(fd_) || !TryLock(fd_, LOCK_EX) ||
                     ::ftruncate(fd_, 0) != 0)) {
      CloseQuietly(fd_);
      fd_ = -1;
    }
    if (fd_ < 0) throw EStreamError("Cannot create file " + path);
  }
}

TFileStream::~TFileStream() { CloseQuietly(fd_); }

size_t TFileStream::Read(void* buffer, size_t count) {
  if (fd_ < 0) ThrowReadError();
  auto* bytes = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const size_t chunk = std::min<size_t>(count - done, SSIZE_MAX);
    const ssize_t got = ::read(fd_, bytes + done, chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowReadError();
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

void TFileStream::Write(const void* buffer, size_t count) {
  if (fd_ < 0) ThrowWriteError();
  const auto* bytes = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const size_t chunk = std::min<size_t>(count - done, SSIZE_MAX);
    const ssize_t put = ::write(fd_, bytes + done, chunk);
    if (put < 0) {
      if (errno == EINTR) continue;
      ThrowWriteError();
    }
    if (put == 0) ThrowWriteError();
    done += static_cast<size_t>(put);
  }
}

void TFileStream::Seek(uint64_t position) {
  if (fd_ < 0 || position > static_cast<uint64_t>(INT64_MAX) ||
      ::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0)
    ThrowReadError();
}

uint64_t TFileStream::Position() const {
  const off_t position = fd_ < 0 ? -1 : ::lseek(fd_, 0, SEEK_CUR);
  if (position < 0) ThrowReadError();
  return static_cast<uint64_t>(position);
}

uint64_t TFileStream::Size() const {
  struct stat info {};
  if (fd_ < 0 || ::fstat(fd_, &info) != 0) ThrowReadError();
  return static_cast<uint64_t>(info.st_size);
}

void TFileStream::Truncate() {
  if (fd_ < 0 || ::ftruncate(fd_, static_cast<off_t>(Position())) != 0) ThrowWriteError();
}

void TFileStream::Sync() {
  if (fd_ < 0 || ::fsync(fd_) != 0) ThrowWriteError();
}

void TFileStream::Close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) ThrowWriteError();
}

// ---------------------------------------------------------------------------
// SafeReplaceFile

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A symbolic link is kept: the file it points to is the one replaced, also
// when that file does not exist yet (a dangling link). Links are followed one
// by one, a relative one from its own folder, as the system would.
std::string ResolveTarget(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {  // the system's own limit on a chain of links
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    std::string link(PATH_MAX, '\0');
    const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
    if (length <= 0 || static_cast<size_t>(length) >= link.size()) return target;
    link.resize(static_cast<size_t>(length));
    if (link.front() != '/') {
      const size_t slash = target.rfind('/');
      if (slash != std::string::npos) link = target.substr(0, slash + 1) + link;
    }
    target = link;
  }
  return target;  // a loop of links: the rename below fails on it
}

// Whether the user may write the existing file: a file marked read-only is
// never replaced, although its folder would allow the rename.
bool MayWrite(const std::string& path) {
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // the rename already happened; a folder that cannot sync changes nothing
  ::close(fd);
}

}  // namespace

void SafeReplaceFile(const std::string& path, const std::function<void(TStream&)>& writer) {
  const std::string target = ResolveTarget(path);
  struct stat existing {};
  const bool targetExists = ::stat(target.c_str(), &existing) == 0;
  // Only a regular file is ever replaced: never a folder, a device or a pipe.
  if (targetExists && (!S_ISREG(existing.st_mode) || !MayWrite(target)))
    throw EStreamError("Cannot create file " + path);

  std::string temporary;
  std::unique_ptr<TFileStream> stream = streams_internal::CreateTemporarySibling(
      target, path,
      [](const std::string& name) {
        struct stat taken {};
        return ::lstat(name.c_str(), &taken) == 0;
      },
      temporary);

  try {
    // The replaced file's owner (where the process may give it) and
    // permissions apply before any byte is written.
    if (targetExists) {
      if (::chown(temporary.c_str(), existing.st_uid, existing.st_gid) != 0 &&
          ::chown(temporary.c_str(), static_cast<uid_t>(-1), existing.st_gid) != 0) {
        // Another user's file: the new one stays the saving user's.
      }
      if (::chmod(temporary.c_str(), existing.st_mode & 07777) != 0) ThrowWriteError();
    }
    writer(*stream);
    stream->Sync();
    stream->Close();
    if (::rename(temporary.c_str(), target.c_str()) != 0) ThrowWriteError();
  } catch (...) {
    stream.reset();
    ::unlink(temporary.c_str());
    throw;
  }
  SyncFolder(FolderOf(target));
}
