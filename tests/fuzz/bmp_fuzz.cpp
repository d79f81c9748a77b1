// The BMP reader, on the bytes of a file.
#include <cstdint>
#include <span>

#include "platform/gui/bmp_format.h"
#include "platform/gui/graphic_errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    try {
        TDibPixels pixels = ReadBmp(std::span<const uint8_t>(AData, ASize));
        // What was read must hold what its size says.
        if (pixels.Bits.size() < DibStride(pixels.Width, pixels.BitCount) * size_t(pixels.Height)) __builtin_trap();
    } catch (const Exception&) {
    }
    return 0;
}
