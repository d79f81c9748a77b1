#pragma once
// Pieces of the file-information report that stand on their own.
#include <cstdint>
#include <string>

// The generic name a container's metadata key is shown under ("TIT2" -> "title"); unknown keys stay as they are.
std::string GenericMetadataKey(const std::string& AKey);
// ", 29.97 fps", ", 25 fps", ", 90k tbn": two decimals unless whole, thousands as "k".
std::string RateText(double ARate, const char* AUnit);
// "1.500000", "-0.021333": seconds and microseconds, the sign in front.
std::string SecondsText(int64_t AMicroseconds);
