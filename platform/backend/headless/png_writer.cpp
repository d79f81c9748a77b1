#include "platform/backend/headless/headless_backend.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace headless {

bool WritePng(const std::string& AFileName, const uint32_t* APixels, int AWidth, int AHeight)
{
    if (!APixels || AWidth <= 0 || AHeight <= 0)
        return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(AFileName.c_str(), "wb"), &std::fclose);
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(AWidth) * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, AWidth, AHeight, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < AHeight; ++y) {
        for (int x = 0; x < AWidth; ++x) {
            uint32_t pixel = APixels[static_cast<size_t>(y) * AWidth + x];
            row[x * 4 + 0] = static_cast<uint8_t>(pixel >> 16);
            row[x * 4 + 1] = static_cast<uint8_t>(pixel >> 8);
            row[x * 4 + 2] = static_cast<uint8_t>(pixel);
            row[x * 4 + 3] = static_cast<uint8_t>(pixel >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace headless
