#pragma once
// Where each character of a line of text starts, in pixels, with the font selected into a DC. The one place
// the edit fields measure text.
#include "platform/gdi/gdi_types.h"

#include <string_view>
#include <vector>

namespace edittext {

// Boundaries are where a caret may stand: between characters as drawn, so never inside a shaped cluster (an
// Arabic ligature, a Devanagari conjunct, an emoji sequence).
struct TCharStops {
    std::vector<size_t> Bytes;  // every character boundary, from 0 to the text's size
    std::vector<int> X;         // the advance of the text before each boundary, in the text's order
    std::vector<int> Caret;     // where the caret stands at each boundary on the drawn line (right to left text: falling)
    // The boundary whose caret is nearest to AX.
    size_t ByteAtX(int AX) const;
    int XOfByte(size_t AByte) const;
    int CaretXOfByte(size_t AByte) const;
    // The caret-sized span covering the boundaries from AFirst to ALast.
    void SpanOf(size_t AFirst, size_t ALast, int& ALeft, int& ARight) const;
    // The next and previous boundaries, or the end / start.
    size_t Next(size_t AByte) const;
    size_t Prev(size_t AByte) const;
};

TCharStops MeasureCharStops(win::HDC ADC, std::string_view AText);
int TextWidth(win::HDC ADC, std::string_view AText);

}  // namespace edittext
