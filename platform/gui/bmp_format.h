#pragma once
// Reading and writing the BMP file format. Pixels are kept the way a device-independent bitmap keeps them: rows
// bottom-up, each row padded to a multiple of four bytes, colour components in blue, green, red order.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct TDibPixels {
    int32_t Width = 0;
    int32_t Height = 0;
    int BitCount = 24;             // 1, 4, 8, 16, 24 or 32
    bool Green6 = false;           // 16 bits per pixel: 5-6-5 instead of 5-5-5
    std::vector<uint32_t> Palette; // 0x00RRGGBB entries for 1, 4 and 8 bits per pixel
    std::vector<uint8_t> Bits;     // bottom-up rows of DibStride() bytes
};

// Bytes per row of a device-independent bitmap: padded to a multiple of four.
inline size_t DibStride(int32_t AWidth, int ABitCount)
{
    return ((static_cast<size_t>(AWidth) * static_cast<size_t>(ABitCount) + 31) / 32) * 4;
}

// Raises EInvalidGraphic for anything that is not a well-formed uncompressed, bit-field or run-length BMP.
TDibPixels ReadBmp(std::span<const uint8_t> AData);
// Writes a file of the pixels' own depth (5-6-5 as bit fields, 32 bits with the alpha byte as stored).
std::vector<uint8_t> WriteBmp(const TDibPixels& APixels);
