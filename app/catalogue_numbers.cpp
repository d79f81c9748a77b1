#include "app/catalogue_numbers.h"

#include <charconv>
#include <limits>

#include "platform/rtl/exceptions.h"

bool ParseCatalogueInteger(const std::string& AText, std::optional<int64_t>& AValue)
{
    AValue.reset();
    const auto first = AText.find_first_not_of(" \t");
    if (first == std::string::npos) return true;
    const auto last = AText.find_last_not_of(" \t");
    const char* begin = AText.data() + first;
    const char* end = AText.data() + last + 1;
    if (*begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
    int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) return false;
    AValue = value;
    return true;
}

std::optional<int> CatalogueInteger(const std::string& AText)
{
    std::optional<int64_t> value;
    if (!ParseCatalogueInteger(AText, value) ||
        (value && (*value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max())))
        throw EConvertError("'" + AText + "' is not a valid integer value");
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}
