// printf-style formatting of the core's messages into a std::string.
#pragma once

#include <string>

#if defined(__MINGW32__)  // the C library's own printf is not the one used
#define VORNIK_PRINTF_FORMAT(a, b) __attribute__((format(gnu_printf, a, b)))
#elif defined(__GNUC__)
#define VORNIK_PRINTF_FORMAT(a, b) __attribute__((format(printf, a, b)))
#else
#define VORNIK_PRINTF_FORMAT(a, b)
#endif

std::string FormatText(const char* pattern, ...) VORNIK_PRINTF_FORMAT(1, 2);
