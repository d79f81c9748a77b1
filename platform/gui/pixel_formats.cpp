#include "platform/gui/pixel_formats.h"

#include <cstring>

namespace {

uint32_t Expand5(uint32_t v) { return (v << 3) | (v >> 2); }
uint32_t Expand6(uint32_t v) { return (v << 2) | (v >> 4); }

uint8_t Nearest(const std::vector<uint32_t>& APalette, uint32_t APixel)
{
    int r = (APixel >> 16) & 0xFF, g = (APixel >> 8) & 0xFF, b = APixel & 0xFF;
    int best = 0;
    int best_distance = 1 << 30;
    for (size_t i = 0; i < APalette.size() && i < 256; ++i) {
        int dr = r - int((APalette[i] >> 16) & 0xFF), dg = g - int((APalette[i] >> 8) & 0xFF),
            db = b - int(APalette[i] & 0xFF);
        int d = dr * dr + dg * dg + db * db;
        if (d < best_distance) {
            best_distance = d;
            best = static_cast<int>(i);
            if (d == 0) break;
        }
    }
    return static_cast<uint8_t>(best);
}

uint32_t Lookup(const TRowFormat& AFormat, unsigned AIndex)
{
    if (!AFormat.Palette || AIndex >= AFormat.Palette->size()) return 0;
    return (*AFormat.Palette)[AIndex] & 0xFFFFFF;
}

}  // namespace

std::vector<uint32_t> DefaultPalette(int ABitCount)
{
    switch (ABitCount) {
    case 1:
        return {0x000000, 0xFFFFFF};
    case 4:
        return {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    case 8: {
        std::vector<uint32_t> p(256);
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = (i & 7) * 255 / 7, g = ((i >> 3) & 7) * 255 / 7, b = (i >> 6) * 255 / 3;
            p[i] = (r << 16) | (g << 8) | b;
        }
        return p;
    }
    default:
        return {};
    }
}

void UnpackRow(const TRowFormat& AFormat, const uint8_t* s, uint32_t* d, int32_t AWidth)
{
    switch (AFormat.BitCount) {
    case 1:
        for (int32_t x = 0; x < AWidth; ++x) d[x] = Lookup(AFormat, (s[x / 8] >> (7 - x % 8)) & 1);
        break;
    case 4:
        for (int32_t x = 0; x < AWidth; ++x) d[x] = Lookup(AFormat, (s[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF);
        break;
    case 8:
        for (int32_t x = 0; x < AWidth; ++x) d[x] = Lookup(AFormat, s[x]);
        break;
    case 16:
        for (int32_t x = 0; x < AWidth; ++x) {
            uint32_t v = s[2 * x] | (s[2 * x + 1] << 8);
            uint32_t r = AFormat.Green6 ? Expand5(v >> 11) : Expand5((v >> 10) & 0x1F);
            uint32_t g = AFormat.Green6 ? Expand6((v >> 5) & 0x3F) : Expand5((v >> 5) & 0x1F);
            d[x] = (r << 16) | (g << 8) | Expand5(v & 0x1F);
        }
        break;
    case 24:
        for (int32_t x = 0; x < AWidth; ++x) d[x] = s[3 * x] | (s[3 * x + 1] << 8) | (s[3 * x + 2] << 16);
        break;
    default:
        std::memcpy(d, s, size_t(AWidth) * 4);
        break;
    }
}

void PackRow(const TRowFormat& AFormat, const uint32_t* s, uint8_t* d, int32_t AWidth)
{
    static const std::vector<uint32_t> kNone;
    const std::vector<uint32_t>& palette = AFormat.Palette ? *AFormat.Palette : kNone;
    switch (AFormat.BitCount) {
    case 1:
        std::memset(d, 0, (size_t(AWidth) + 7) / 8);
        for (int32_t x = 0; x < AWidth; ++x) d[x / 8] |= uint8_t((Nearest(palette, s[x]) & 1) << (7 - x % 8));
        break;
    case 4:
        std::memset(d, 0, (size_t(AWidth) + 1) / 2);
        for (int32_t x = 0; x < AWidth; ++x) d[x / 2] |= uint8_t((Nearest(palette, s[x]) & 0xF) << (x % 2 == 0 ? 4 : 0));
        break;
    case 8:
        for (int32_t x = 0; x < AWidth; ++x) d[x] = Nearest(palette, s[x]);
        break;
    case 16:
        for (int32_t x = 0; x < AWidth; ++x) {
            uint32_t r = (s[x] >> 16) & 0xFF, g = (s[x] >> 8) & 0xFF, b = s[x] & 0xFF;
            uint32_t v = AFormat.Green6 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)
                                        : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
            d[2 * x] = uint8_t(v);
            d[2 * x + 1] = uint8_t(v >> 8);
        }
        break;
    case 24:
        for (int32_t x = 0; x < AWidth; ++x) {
            d[3 * x] = uint8_t(s[x]);
            d[3 * x + 1] = uint8_t(s[x] >> 8);
            d[3 * x + 2] = uint8_t(s[x] >> 16);
        }
        break;
    default:
        std::memcpy(d, s, size_t(AWidth) * 4);
        break;
    }
}
