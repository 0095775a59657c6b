// Helpers shared by the platform implementations of the file stream and the
// safe replacement; not part of the core's interface.
#pragma once

#include <memory>
#include <string>

class TFileStream;

namespace streams_internal {

[[noreturn]] void ThrowReadError();
[[noreturn]] void ThrowWriteError();

// Where the folder part of path ends: the last separator, or npos.
size_t LastSeparator(const std::string& path);

// A fresh name beside target (hidden where a leading dot hides) for the new file of a replacement,
// within the 255-unit limit on a name and never cutting a UTF-8 character in two.
std::string TemporarySiblingName(const std::string& target);

// Creates the new file of a replacement under a fresh name beside target (a
// name that taken says is in use is passed over; up to 100 names) and returns
// it, its name in name. Raises "Cannot create file " + shownPath when no file
// can be made.
std::unique_ptr<TFileStream> CreateTemporarySibling(const std::string& target,
                                                    const std::string& shownPath,
                                                    bool (*taken)(const std::string& name),
                                                    std::string& name);

}  // namespace streams_internal
