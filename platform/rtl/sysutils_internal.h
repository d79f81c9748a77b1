#pragma once
// What the sysutils files share among themselves and do not offer to callers.
#include <ctime>

#include "platform/rtl/sysutils.h"

namespace sysutils_internal {

inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// A file time (seconds and nanoseconds since the epoch) as local TDateTime.
TDateTime TimespecToDateTime(time_t ASeconds, long ANanoseconds);

}  // namespace sysutils_internal
