#pragma once
// Rows of the packed pixel formats of a bitmap to and from 32-bit 0xAARRGGBB words.
#include <cstdint>
#include <vector>

struct TRowFormat {
    int BitCount = 32;              // 1, 4, 8, 16, 24 or 32
    bool Green6 = false;            // 16 bits: 5-6-5 instead of 5-5-5
    const std::vector<uint32_t>* Palette = nullptr;  // 0x00RRGGBB entries for 1, 4 and 8 bits
};

// The palette a new bitmap of that depth gets: black and white; the sixteen standard colours; 3-3-2 levels laid
// out as blue in the top two bits, green in the middle three, red in the low three (the byte layout of FFmpeg's
// BGR8 pictures).
std::vector<uint32_t> DefaultPalette(int ABitCount);

// Unpacked pixels carry alpha 0 unless the row is 32 bits, whose alpha byte is kept.
void UnpackRow(const TRowFormat& AFormat, const uint8_t* ASource, uint32_t* ADest, int32_t AWidth);
// Indexed formats take the nearest palette entry.
void PackRow(const TRowFormat& AFormat, const uint32_t* ASource, uint8_t* ADest, int32_t AWidth);
