#include "platform/controls/text_measure.h"

#include "platform/controls/text_steps.h"
#include "platform/gdi/text.h"

#include <algorithm>
#include <cstdlib>

namespace edittext {

size_t TCharStops::ByteAtX(int AX) const
{
    size_t best = 0;
    for (size_t i = 1; i < Caret.size(); ++i)
        if (std::abs(Caret[i] - AX) < std::abs(Caret[best] - AX))
            best = i;
    return Bytes[best];
}

int TCharStops::XOfByte(size_t AByte) const
{
    auto at = std::lower_bound(Bytes.begin(), Bytes.end(), AByte);
    return at == Bytes.end() ? X.back() : X[static_cast<size_t>(at - Bytes.begin())];
}

int TCharStops::CaretXOfByte(size_t AByte) const
{
    auto at = std::lower_bound(Bytes.begin(), Bytes.end(), AByte);
    return at == Bytes.end() ? Caret.back() : Caret[static_cast<size_t>(at - Bytes.begin())];
}

void TCharStops::SpanOf(size_t AFirst, size_t ALast, int& ALeft, int& ARight) const
{
    ALeft = CaretXOfByte(AFirst);
    ARight = ALeft;
    for (size_t i = 0; i < Bytes.size(); ++i)
        if (Bytes[i] >= AFirst && Bytes[i] <= ALast) {
            ALeft = std::min(ALeft, Caret[i]);
            ARight = std::max(ARight, Caret[i]);
        }
    ARight = std::max(ARight, CaretXOfByte(ALast));
    ALeft = std::min(ALeft, CaretXOfByte(ALast));
}

size_t TCharStops::Next(size_t AByte) const
{
    auto above = std::upper_bound(Bytes.begin(), Bytes.end(), AByte);
    return above == Bytes.end() ? Bytes.back() : *above;
}

size_t TCharStops::Prev(size_t AByte) const
{
    auto at = std::lower_bound(Bytes.begin(), Bytes.end(), AByte);
    return at == Bytes.begin() ? Bytes.front() : *(at - 1);
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
    // The text layer gives the caret stops of the line as it is shaped; a character (a base with its combining
    // marks) is never split, and neither is a shaped cluster.
    TCharStops stops;
    stops.Bytes.push_back(0);
    stops.X.push_back(0);
    stops.Caret.push_back(0);
    if (AText.empty())
        return stops;
    const std::vector<win::TextCaretStop> shaped =
        win::GetTextCaretStops(ADC, AText.data(), static_cast<int>(AText.size()));
    if (shaped.empty())
        return stops;
    stops.Caret.front() = shaped.front().X;
    size_t s = 0;
    for (size_t p = NextChar(AText, 0);; p = NextChar(AText, p)) {
        while (s < shaped.size() && shaped[s].Byte < p)
            ++s;
        if (s < shaped.size() && shaped[s].Byte == p) {
            stops.Bytes.push_back(p);
            stops.X.push_back(std::max(stops.X.back(), shaped[s].Extent));
            stops.Caret.push_back(shaped[s].X);
        }
        if (p >= AText.size())
            break;
    }
    return stops;
}

}  // namespace edittext
