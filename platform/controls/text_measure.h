#pragma once
// Where each character of a line of text starts, in pixels, with the font selected into a DC. The one place
// the edit fields measure text.
#include "platform/gdi/gdi_types.h"

#include <string_view>
#include <vector>

namespace edittext {

struct TCharStops {
    std::vector<size_t> Bytes;  // every character boundary, from 0 to the text's size
    std::vector<int> X;         // the pixel offset of each boundary
    // The boundary nearest to AX.
    size_t ByteAtX(int AX) const;
    int XOfByte(size_t AByte) const;
};

TCharStops MeasureCharStops(win::HDC ADC, std::string_view AText);
int TextWidth(win::HDC ADC, std::string_view AText);

}  // namespace edittext
