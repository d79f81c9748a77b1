#include "app/value_lists.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "app/catalogue_numbers.h"

std::vector<std::string> SplitValueList(const std::string& AText, bool AWantValues)
{
    std::vector<std::string> values, captions;
    std::string collected;
    for (char c : AText) {
        if (c == '$') {
            values.push_back(collected);
            collected.clear();
        } else if (c == ',') {
            captions.push_back(collected);
            collected.clear();
        } else {
            collected += c;
        }
    }
    captions.push_back(collected);
    return AWantValues ? values : captions;
}

namespace {

bool IsInteger(const std::string& AText)
{
    std::optional<int64_t> value;
    return ParseCatalogueInteger(AText, value) && value && *value >= INT32_MIN && *value <= INT32_MAX;
}

std::string IntegerOrMinusOne(const std::string& APart) { return IsInteger(APart) ? APart : "-1"; }

}  // namespace

std::string ResolutionWidth(const std::string& AText)
{
    const auto star = AText.find('*');
    return star == std::string::npos ? "-1" : IntegerOrMinusOne(AText.substr(0, star));
}

std::string ResolutionHeight(const std::string& AText)
{
    const auto star = AText.rfind('*');
    return star == std::string::npos ? "-1" : IntegerOrMinusOne(AText.substr(star + 1));
}

bool IsValidResolution(int AWidth, int AHeight)
{
    return AWidth >= 64 && AWidth <= 1920 && AHeight >= 64 && AHeight <= 1280 && AWidth % 2 == 0 &&
           AHeight % 2 == 0;
}

std::string ResolutionText(const std::string& AWidth, const std::string& AHeight)
{
    const std::string text = AWidth + "*" + AHeight;
    return text == "*" ? std::string() : text;
}

int IndexOfValue(const std::string& AList, const std::string& AValue)
{
    const auto values = SplitValueList(AList, true);
    const auto found = std::find(values.begin(), values.end(), AValue);
    return found == values.end() ? -1 : static_cast<int>(found - values.begin());
}
