#include "app/time_text.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

std::string FormatMicroseconds(int64_t AMicros)
{
    const int64_t seconds = AMicros / 1000000;
    char text[64];
    std::snprintf(text, sizeof text, "%.2" PRId64 ":%.2" PRId64 ":%.2" PRId64, seconds / 60 / 60, (seconds / 60) % 60,
                  seconds % 60);
    return text;
}

int64_t TimeToMicroseconds(double ATimeOfDay)
{
    constexpr double kMillisecondsPerDay = 86400000.0;
    double whole = 0;
    const double fraction = std::fabs(std::modf(ATimeOfDay, &whole));
    if (!std::isfinite(fraction))
        return 0;
    return static_cast<int64_t>(std::nearbyint(fraction * kMillisecondsPerDay)) * 1000;
}
