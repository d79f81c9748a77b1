#include "png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

bool WriteRgbPng(const std::string& APath, const uint32_t* APixels, int AWidth, int AHeight, std::string& AError)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(APath.c_str(), "wb"), &std::fclose);
    if (!file) {
        AError = "cannot create " + APath;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        AError = "out of memory";
        return false;
    }
    std::vector<png_byte> row(size_t(AWidth) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        AError = "cannot write " + APath;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(AWidth), png_uint_32(AHeight), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < AHeight; ++y) {
        for (int x = 0; x < AWidth; ++x) {
            const uint32_t p = APixels[size_t(y) * size_t(AWidth) + size_t(x)];
            row[size_t(x) * 3] = png_byte(p >> 16);
            row[size_t(x) * 3 + 1] = png_byte(p >> 8);
            row[size_t(x) * 3 + 2] = png_byte(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
