#pragma once
// The PNG file format over libpng, kept in the picture's own colour type and bit depth so that a picture saves
// back as it was read. Rows are top-down; colour samples are stored blue, green, red; alpha has rows of its own.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

enum TPngColorType : uint8_t {
    COLOR_GRAYSCALE = 0,
    COLOR_RGB = 2,
    COLOR_PALETTE = 3,
    COLOR_GRAYSCALEALPHA = 4,
    COLOR_RGBALPHA = 6,
};

struct TPngPixels {
    int32_t Width = 0;
    int32_t Height = 0;
    int BitDepth = 8;                       // 1, 2, 4, 8 or 16
    TPngColorType ColorType = COLOR_RGB;
    bool Interlaced = false;                // as read; pictures are always written without interlace
    std::vector<uint32_t> Palette;          // 0x00RRGGBB
    std::vector<uint8_t> PaletteAlpha;      // tRNS of a palette picture; may be shorter than the palette
    bool HasTransparentSample = false;      // tRNS of a grey or true-colour picture
    uint16_t TransparentSample[3] = {0, 0, 0};  // grey in [0]; or red, green, blue; at the bit depth
    size_t RowBytes = 0;
    std::vector<uint8_t> Data;              // Height rows of RowBytes: B,G,R per pixel; grey; or packed indices
    std::vector<uint8_t> Alpha;             // Height rows of Width bytes for the two alpha colour types
    std::vector<uint8_t> DataLow;           // 16-bit pictures: the low bytes, laid out as Data
    std::vector<uint8_t> AlphaLow;          //   and as Alpha

    bool HasAlphaChannel() const { return ColorType == COLOR_GRAYSCALEALPHA || ColorType == COLOR_RGBALPHA; }
    bool IsTrueColour() const { return ColorType == COLOR_RGB || ColorType == COLOR_RGBALPHA; }
    int SamplesPerPixel() const { return IsTrueColour() ? 3 : 1; }
    // Lays out empty storage for the header fields; every sample 0.
    void Allocate();
};

bool IsPngSignature(std::span<const uint8_t> AData);
// Raises EInvalidGraphic with libpng's reason when the data is no valid PNG.
// AConsumed, when given, receives the bytes up to the end of the last chunk.
TPngPixels ReadPng(std::span<const uint8_t> AData, size_t* AConsumed = nullptr);
std::vector<uint8_t> WritePng(const TPngPixels& APixels);
