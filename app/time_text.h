#pragma once
// Times as the job list, the preview, the file information and the Trim dialog show and read them. Times are
// signed 64-bit microseconds.
#include <cstdint>
#include <string>

// "%.2d:%.2d:%.2d" of hours (not limited to 24), minutes and seconds, truncated toward zero.
std::string FormatMicroseconds(int64_t AMicros);

// A time of day (fraction of a day, as a time box holds it) in microseconds, to the millisecond.
int64_t TimeToMicroseconds(double ATimeOfDay);
