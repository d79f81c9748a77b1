#include "media/util/text_format.h"

#include <cstdio>
#include <vector>

std::string StrFormatV(const char* AFormat, va_list AArgs)
{
    // Every attempt formats from its own copy of the list: a va_list that has been consumed once cannot be
    // reused, and glibc answers the needed length rather than a negative count when the text does not fit.
    char small[512];
    va_list first;
    va_copy(first, AArgs);
    const int needed = std::vsnprintf(small, sizeof small, AFormat, first);
    va_end(first);
    if (needed < 0) return {};
    if (static_cast<size_t>(needed) < sizeof small) return std::string(small, static_cast<size_t>(needed));
    std::vector<char> big(static_cast<size_t>(needed) + 1);
    va_list second;
    va_copy(second, AArgs);
    std::vsnprintf(big.data(), big.size(), AFormat, second);
    va_end(second);
    return std::string(big.data(), static_cast<size_t>(needed));
}

std::string StrFormat(const char* AFormat, ...)
{
    va_list args;
    va_start(args, AFormat);
    std::string text = StrFormatV(AFormat, args);
    va_end(args);
    return text;
}
