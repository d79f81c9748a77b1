#pragma once
// printf-style formatting into a std::string, never truncated.
#include <cstdarg>
#include <string>

std::string StrFormat(const char* AFormat, ...) __attribute__((format(printf, 1, 2)));
// Formats with a copy of AArgs, so the caller's list stays usable.
std::string StrFormatV(const char* AFormat, va_list AArgs);
