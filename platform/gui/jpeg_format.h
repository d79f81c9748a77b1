#pragma once
// The JPEG file format over libjpeg-turbo: decoding to and encoding from top-down rows of blue, green, red bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct TJpegPixels {
    int32_t Width = 0;
    int32_t Height = 0;
    bool Grayscale = false;    // how the file stored it; the pixels are always three bytes
    std::vector<uint8_t> Bgr;  // Height rows of 3 * Width bytes
};

bool IsJpegSignature(std::span<const uint8_t> AData);
// Raises EInvalidGraphic with libjpeg's reason when the data is no valid JPEG.
TJpegPixels ReadJpeg(std::span<const uint8_t> AData);
// Baseline, Huffman tables optimised; AQuality 1..100 (clamped).
std::vector<uint8_t> WriteJpeg(const TJpegPixels& APixels, int AQuality);
