// The file stream and the safe replacement on Windows. Paths arrive as UTF-8
// and are handed to the wide-character file functions.
#include "core/Streams.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "core/StreamsInternal.h"

namespace {

using streams_internal::ThrowReadError;
using streams_internal::ThrowWriteError;

// The wide form of a UTF-8 path; empty when the text is not valid UTF-8. A
// path too long for the ordinary functions gets the extended-length prefix,
// which takes it whole once made absolute.
std::wstring WidePath(const std::string& path) {
  if (path.empty() || path.size() > INT_MAX) return {};
  const int size = static_cast<int>(path.size());
  const int length =
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), length);
  if (wide.find(L'\0') != std::wstring::npos) return {};
  if (wide.size() < MAX_PATH || wide.starts_with(L"\\\\?\\")) return wide;

  const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  const DWORD written = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (written == 0 || written >= needed) return wide;
  full.resize(written);
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share
  return L"\\\\?\\" + full;
}

HANDLE Handle(void* handle) { return static_cast<HANDLE>(handle); }

}  // namespace

// ---------------------------------------------------------------------------
// TFileStream

TFileStream::TFileStream(const std::string& path, Mode mode) : path_(path) {
  const bool reading = mode == Mode::OpenRead;
  const std::wstring wide = WidePath(path);
  HANDLE handle = INVALID_HANDLE_VALUE;
  if (!wide.empty()) {
    // A reader lets other readers in and keeps writers out; a writer is alone.
    // Opening an existing file and cutting it only once it is held leaves a
    // file that is in use whole.
    const DWORD disposition = reading                   ? OPEN_EXISTING
                              : mode == Mode::CreateNew ? CREATE_NEW
                                                        : OPEN_ALWAYS;
    handle = ::CreateFileW(wide.c_str(), reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                           reading ? FILE_SHARE_READ : 0, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  // Files on a disk only: a folder fails to open, a pipe or a device is refused;
  // a file marked read-only is never written, also where the system itself
  // would let an administrator through.
  BY_HANDLE_FILE_INFORMATION info{};
  if (handle != INVALID_HANDLE_VALUE &&
      (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
       (!reading &&
        ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) || !::SetEndOfFile(handle))))) {
    ::CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
  }
  if (handle == INVALID_HANDLE_VALUE)
    throw EStreamError((reading ? "Cannot open file " : "Cannot create file ") + path);
  handle_ = handle;
}

TFileStream::~TFileStream() {
  if (handle_) ::CloseHandle(Handle(handle_));
}

size_t TFileStream::Read(void* buffer, size_t count) {
  if (!handle_) ThrowReadError();
  auto* bytes = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(Handle(handle_), bytes + done, chunk, &got, nullptr)) ThrowReadError();
    if (got == 0) break;
    done += got;
  }
  return done;
}

void TFileStream::Write(const void* buffer, size_t count) {
  if (!handle_) ThrowWriteError();
  const auto* bytes = static_cast<const char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 30));
    DWORD put = 0;
    if (!::WriteFile(Handle(handle_), bytes + done, chunk, &put, nullptr) || put == 0)
      ThrowWriteError();
    done += put;
  }
}

void TFileStream::Seek(uint64_t position) {
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(position);
  if (!handle_ || position > static_cast<uint64_t>(INT64_MAX) ||
      !::SetFilePointerEx(Handle(handle_), to, nullptr, FILE_BEGIN))
    ThrowReadError();
}

uint64_t TFileStream::Position() const {
  LARGE_INTEGER at{};
  if (!handle_ || !::SetFilePointerEx(Handle(handle_), LARGE_INTEGER{}, &at, FILE_CURRENT))
    ThrowReadError();
  return static_cast<uint64_t>(at.QuadPart);
}

uint64_t TFileStream::Size() const {
  LARGE_INTEGER size{};
  if (!handle_ || !::GetFileSizeEx(Handle(handle_), &size)) ThrowReadError();
  return static_cast<uint64_t>(size.QuadPart);
}

void TFileStream::Truncate() {
  if (!handle_ || !::SetEndOfFile(Handle(handle_))) ThrowWriteError();
}

void TFileStream::Sync() {
  if (!handle_ || !::FlushFileBuffers(Handle(handle_))) ThrowWriteError();
}

void TFileStream::Close() {
  if (!handle_) return;
  const HANDLE handle = Handle(handle_);
  handle_ = nullptr;
  if (!::CloseHandle(handle)) ThrowWriteError();
}

// ---------------------------------------------------------------------------
// SafeReplaceFile

namespace {

// Whether the existing file may be replaced: its security may forbid what the
// folder would allow, and a program that holds it open may keep writers out.
bool MayReplace(const std::wstring& path) {
  const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(handle);
  return true;
}

}  // namespace

void SafeReplaceFile(const std::string& path, const std::function<void(TStream&)>& writer) {
  const std::wstring target = WidePath(path);
  const DWORD attributes =
      target.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(target.c_str());
  const DWORD lookup = attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_SUCCESS;
  const bool targetExists = attributes != INVALID_FILE_ATTRIBUTES;
  // Never a folder, nor a file marked read-only, that the user may not write
  // or that is in use; nor a file the system would not even describe.
  if (target.empty() ||
      (targetExists && ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0 ||
                        !MayReplace(target))) ||
      (!targetExists && lookup != ERROR_FILE_NOT_FOUND && lookup != ERROR_PATH_NOT_FOUND))
    throw EStreamError("Cannot create file " + path);

  std::string name;
  std::unique_ptr<TFileStream> stream = streams_internal::CreateTemporarySibling(
      path, path,
      [](const std::string& candidate) {
        return ::GetFileAttributesW(WidePath(candidate).c_str()) != INVALID_FILE_ATTRIBUTES;
      },
      name);
  const std::wstring temporary = WidePath(name);

  try {
    // The replaced file's attributes apply before any byte is written, also
    // where the file system cannot carry them over on replacing.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (targetExists && (attributes & kKept) != 0 &&
        !::SetFileAttributesW(temporary.c_str(), attributes & kKept))
      ThrowWriteError();
    writer(*stream);
    stream->Sync();
    stream->Close();
    // Replacing keeps the old file's attributes and security on the new one;
    // a file system that cannot carry them over still gets the new contents.
    const bool replaced =
        targetExists ? ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                     : ::MoveFileExW(temporary.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!replaced) ThrowWriteError();
  } catch (...) {
    stream.reset();
    ::DeleteFileW(temporary.c_str());
    throw;
  }
}
