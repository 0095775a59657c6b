// Helpers shared by the platform implementations of the file stream and the
// safe replacement; not part of the core's interface.
#pragma once

#include <string>

namespace streams_internal {

[[noreturn]] void ThrowReadError();
[[noreturn]] void ThrowWriteError();

// Where the folder part of path ends: the last separator, or npos.
size_t LastSeparator(const std::string& path);

// A fresh name beside target (hidden where a leading dot hides) for the new file of a replacement,
// within the 255-unit limit on a name and never cutting a UTF-8 character in two.
std::string TemporarySiblingName(const std::string& target);

}  // namespace streams_internal
