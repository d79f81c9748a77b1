#include "icon_painter.h"

#include <png.h>

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// A 3 x 5 pixel font for letters and digits, top row first.
const std::map<char, std::array<const char*, 5>>& Glyphs()
{
    static const std::map<char, std::array<const char*, 5>> glyphs = {
        {'A', {".#.", "#.#", "###", "#.#", "#.#"}}, {'B', {"##.", "#.#", "##.", "#.#", "##."}},
        {'C', {".##", "#..", "#..", "#..", ".##"}}, {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
        {'E', {"###", "#..", "##.", "#..", "###"}}, {'F', {"###", "#..", "##.", "#..", "#.."}},
        {'G', {".##", "#..", "#.#", "#.#", ".##"}}, {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
        {'I', {"###", ".#.", ".#.", ".#.", "###"}}, {'J', {"..#", "..#", "..#", "#.#", ".#."}},
        {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}}, {'L', {"#..", "#..", "#..", "#..", "###"}},
        {'M', {"#.#", "###", "###", "#.#", "#.#"}}, {'N', {"##.", "#.#", "#.#", "#.#", "#.#"}},
        {'O', {"###", "#.#", "#.#", "#.#", "###"}}, {'P', {"##.", "#.#", "##.", "#..", "#.."}},
        {'Q', {".#.", "#.#", "#.#", "##.", ".##"}}, {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
        {'S', {".##", "#..", ".#.", "..#", "##."}}, {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
        {'U', {"#.#", "#.#", "#.#", "#.#", "###"}}, {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}},
        {'W', {"#.#", "#.#", "###", "###", "#.#"}}, {'X', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
        {'Y', {"#.#", "#.#", ".#.", ".#.", ".#."}}, {'Z', {"###", "..#", ".#.", "#..", "###"}},
        {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
        {'2', {"##.", "..#", ".#.", "#..", "###"}}, {'3', {"##.", "..#", ".#.", "..#", "##."}},
        {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "##.", "..#", "##."}},
        {'6', {".##", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", ".#.", ".#.", ".#."}},
        {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "##."}},
    };
    return glyphs;
}

struct TPixels {
    std::vector<uint8_t> Rgba = std::vector<uint8_t>(kIconSize * kIconSize * 4, 0);
    void Set(int AX, int AY, uint32_t ARgb, uint8_t AAlpha = 255)
    {
        if (AX < 0 || AY < 0 || AX >= kIconSize || AY >= kIconSize)
            return;
        uint8_t* p = &Rgba[(AY * kIconSize + AX) * 4];
        p[0] = ARgb >> 16, p[1] = (ARgb >> 8) & 0xFF, p[2] = ARgb & 0xFF, p[3] = AAlpha;
    }
};

uint32_t Darker(uint32_t ARgb)
{
    auto part = [&](int AShift) { return ((ARgb >> AShift) & 0xFF) * 3 / 4; };
    return part(16) << 16 | part(8) << 8 | part(0);
}

// A tile with rounded corners and a darker one-pixel edge.
void PaintTile(TPixels& APixels, uint32_t ARgb)
{
    constexpr int kRadius = 5, kLast = kIconSize - 1;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            const int dx = x < kRadius ? kRadius - x : x > kLast - kRadius ? x - (kLast - kRadius) : 0;
            const int dy = y < kRadius ? kRadius - y : y > kLast - kRadius ? y - (kLast - kRadius) : 0;
            const int distance = dx * dx + dy * dy;
            if (distance > kRadius * kRadius)
                continue;
            const bool edge = distance > (kRadius - 1) * (kRadius - 1) || x == 0 || y == 0 || x == kLast || y == kLast;
            APixels.Set(x, y, edge ? Darker(ARgb) : ARgb);
        }
    }
}

void PaintLabel(TPixels& APixels, const std::string& ALabel)
{
    constexpr int kScale = 2, kAdvance = 4 * kScale;
    const int width = static_cast<int>(ALabel.size()) * kAdvance - kScale;
    const int left = (kIconSize - width) / 2, top = (kIconSize - 5 * kScale) / 2;
    for (size_t i = 0; i < ALabel.size(); ++i) {
        const auto glyph = Glyphs().find(ALabel[i]);
        if (glyph == Glyphs().end())
            throw std::runtime_error(std::string("no glyph for \"") + ALabel[i] + "\"");
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if (glyph->second[row][column] == '#')
                    for (int k = 0; k < kScale * kScale; ++k)
                        APixels.Set(left + static_cast<int>(i) * kAdvance + column * kScale + k % kScale,
                                    top + row * kScale + k / kScale, 0xFFFFFF);
    }
}

void WritePng(const std::string& AFileName, const TPixels& APixels)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(AFileName.c_str(), "wb"), &std::fclose);
    if (!file)
        throw std::runtime_error("cannot write " + AFileName);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("libpng could not start");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed writing " + AFileName);
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, kIconSize, kIconSize, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kIconSize; ++y)
        png_write_row(png, &APixels.Rgba[y * kIconSize * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

}  // namespace

void WriteIcon(const std::string& AFileName, const std::string& ALabel, uint32_t ARgb)
{
    TPixels pixels;
    PaintTile(pixels, ARgb);
    PaintLabel(pixels, ALabel);
    WritePng(AFileName, pixels);
}
