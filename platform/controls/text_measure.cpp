#include "platform/controls/text_measure.h"

#include "platform/controls/text_steps.h"
#include "platform/gdi/text.h"

#include <algorithm>
#include <cstdlib>

namespace edittext {

size_t TCharStops::ByteAtX(int AX) const
{
    auto above = std::lower_bound(X.begin(), X.end(), AX);
    if (above == X.end())
        return Bytes.back();
    if (above == X.begin())
        return Bytes.front();
    size_t i = static_cast<size_t>(above - X.begin());
    return std::abs(X[i] - AX) < std::abs(AX - X[i - 1]) ? Bytes[i] : Bytes[i - 1];
}

int TCharStops::XOfByte(size_t AByte) const
{
    auto at = std::lower_bound(Bytes.begin(), Bytes.end(), AByte);
    return at == Bytes.end() ? X.back() : X[static_cast<size_t>(at - Bytes.begin())];
}

int TextWidth(win::HDC ADC, std::string_view AText)
{
    if (AText.empty())
        return 0;
    win::SIZE size{};
    win::GetTextExtentPoint32(ADC, AText.data(), static_cast<int>(AText.size()), &size);
    return size.cx;
}

TCharStops MeasureCharStops(win::HDC ADC, std::string_view AText)
{
    // One extent call gives the width up to each code point; a character (a base with its combining marks) ends
    // where its last code point does.
    std::vector<int> widths(AText.size());
    win::SIZE size{};
    if (!AText.empty())
        win::GetTextExtentExPoint(ADC, AText.data(), static_cast<int>(AText.size()), 0, nullptr, widths.data(), &size);
    TCharStops stops;
    stops.Bytes.push_back(0);
    stops.X.push_back(0);
    size_t code_points = 0;
    for (size_t p = 0; p < AText.size();) {
        const size_t next = NextChar(AText, p);
        for (size_t length = 0; p < next; p += length, ++code_points)
            DecodeAt(AText, p, &length);
        stops.Bytes.push_back(next);
        stops.X.push_back(std::max(stops.X.back(), widths[code_points - 1]));
    }
    return stops;
}

}  // namespace edittext
