// printf-style formatting of the core's messages into a std::string.
#pragma once

#include <string>

#if defined(__GNUC__)
#define VORNIK_PRINTF_FORMAT(a, b) __attribute__((format(printf, a, b)))
#else
#define VORNIK_PRINTF_FORMAT(a, b)
#endif

std::string FormatText(const char* pattern, ...) VORNIK_PRINTF_FORMAT(1, 2);
