#pragma once
// Reads an area of an X window dump (xwd) of a 32-bit-per-pixel true-colour screen as 0xFFRRGGBB pixels.
#include "platform/rtl/types.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace x11test {

inline std::optional<std::vector<uint32_t>> ReadXwdArea(const std::string& AFileName, const TRect& AArea)
{
    std::ifstream file(AFileName, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto card = [&](size_t AIndex) -> uint32_t {
        size_t at = AIndex * 4;
        return at + 4 <= data.size() ? (uint32_t(data[at]) << 24) | (uint32_t(data[at + 1]) << 16) |
                                           (uint32_t(data[at + 2]) << 8) | data[at + 3]
                                     : 0;
    };
    if (data.size() < 100 || card(1) != 7)  // file version 7
        return std::nullopt;
    uint32_t header = card(0), width = card(4), height = card(5), byte_order = card(7), bpp = card(11);
    uint32_t line = card(12), red = card(14), green = card(15), blue = card(16), colors = card(19);
    if (bpp != 32 || red != 0xFF0000 || green != 0xFF00 || blue != 0xFF)
        return std::nullopt;
    size_t start = header + size_t(colors) * 12;
    if (start + size_t(line) * height > data.size() || AArea.Left < 0 || AArea.Top < 0 ||
        AArea.Right > int(width) || AArea.Bottom > int(height))
        return std::nullopt;
    std::vector<uint32_t> pixels;
    for (int y = AArea.Top; y < AArea.Bottom; ++y)
        for (int x = AArea.Left; x < AArea.Right; ++x) {
            const unsigned char* p = &data[start + size_t(y) * line + size_t(x) * 4];
            uint32_t pixel = byte_order == 0 ? p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24)
                                             : (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
            pixels.push_back(0xFF000000u | (pixel & 0xFFFFFF));
        }
    return pixels;
}

}  // namespace x11test
