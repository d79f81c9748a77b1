#include "app/value_lists.h"

#include <algorithm>
#include <charconv>

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
    int value = 0;
    const char* begin = AText.data();
    const char* end = begin + AText.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return begin != end && ec == std::errc() && ptr == end;
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
