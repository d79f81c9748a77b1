#include "platform/gui/png_format.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gui/graphic_errors.h"

namespace {

// A damaged header must not ask for gigabytes before the data turns out short.
constexpr uint32_t kMaxSide = 16384;
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;
constexpr png_uint_32 kMaxAncillaryChunks = 1000;

struct ReadCursor {
    std::span<const uint8_t> data;
    size_t pos = 0;
};

struct ErrorState {
    char message[256] = "";
};

void OnError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep out, size_t length)
{
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (cursor->data.size() - cursor->pos < length) png_error(png, "the file ends too early");
    std::memcpy(out, cursor->data.data() + cursor->pos, length);
    cursor->pos += length;
}

void WriteData(png_structp png, png_bytep in, size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), in, in + length);
}

void FlushData(png_structp) {}

[[noreturn]] void Fail(const ErrorState& e)
{
    throw EInvalidGraphic(std::string("PNG image is not valid: ") + e.message);
}

// libpng's interleaved, big-endian rows into our split layout, and back.
void SplitRow(const uint8_t* src, TPngPixels& p, int32_t y)
{
    uint8_t* data = p.Data.data() + y * p.RowBytes;
    if (p.ColorType == COLOR_PALETTE || p.BitDepth < 8) {
        std::memcpy(data, src, p.RowBytes);
        return;
    }
    int colour = p.SamplesPerPixel();
    int channels = colour + (p.HasAlphaChannel() ? 1 : 0);
    int bytes = p.BitDepth / 8;
    uint8_t* alpha = p.HasAlphaChannel() ? p.Alpha.data() + y * size_t(p.Width) : nullptr;
    uint8_t* data_low = bytes == 2 ? p.DataLow.data() + y * p.RowBytes : nullptr;
    uint8_t* alpha_low = bytes == 2 && alpha ? p.AlphaLow.data() + y * size_t(p.Width) : nullptr;
    for (int32_t x = 0; x < p.Width; ++x) {
        const uint8_t* px = src + size_t(x) * channels * bytes;
        for (int c = 0; c < colour; ++c) {
            int to = colour == 3 ? 2 - c : 0;  // red, green, blue become blue, green, red
            data[x * colour + to] = px[c * bytes];
            if (data_low) data_low[x * colour + to] = px[c * bytes + 1];
        }
        if (alpha) {
            alpha[x] = px[colour * bytes];
            if (alpha_low) alpha_low[x] = px[colour * bytes + 1];
        }
    }
}

void JoinRow(const TPngPixels& p, int32_t y, uint8_t* dst)
{
    const uint8_t* data = p.Data.data() + y * p.RowBytes;
    if (p.ColorType == COLOR_PALETTE || p.BitDepth < 8) {
        std::memcpy(dst, data, p.RowBytes);
        return;
    }
    int colour = p.SamplesPerPixel();
    int channels = colour + (p.HasAlphaChannel() ? 1 : 0);
    int bytes = p.BitDepth / 8;
    const uint8_t* alpha = p.HasAlphaChannel() ? p.Alpha.data() + y * size_t(p.Width) : nullptr;
    const uint8_t* data_low = bytes == 2 ? p.DataLow.data() + y * p.RowBytes : nullptr;
    const uint8_t* alpha_low = bytes == 2 && alpha ? p.AlphaLow.data() + y * size_t(p.Width) : nullptr;
    for (int32_t x = 0; x < p.Width; ++x) {
        uint8_t* px = dst + size_t(x) * channels * bytes;
        for (int c = 0; c < colour; ++c) {
            int from = colour == 3 ? 2 - c : 0;
            px[c * bytes] = data[x * colour + from];
            if (data_low) px[c * bytes + 1] = data_low[x * colour + from];
        }
        if (alpha) {
            px[colour * bytes] = alpha[x];
            if (alpha_low) px[colour * bytes + 1] = alpha_low[x];
        }
    }
}

void ReadTransparency(png_structp png, png_infop info, TPngPixels& p)
{
    if (!png_get_valid(png, info, PNG_INFO_tRNS)) return;
    png_bytep alpha = nullptr;
    int count = 0;
    png_color_16p colour = nullptr;
    png_get_tRNS(png, info, &alpha, &count, &colour);
    if (p.ColorType == COLOR_PALETTE) {
        if (alpha && count > 0) p.PaletteAlpha.assign(alpha, alpha + count);
    } else if (colour) {
        p.HasTransparentSample = true;
        if (p.ColorType == COLOR_GRAYSCALE) {
            p.TransparentSample[0] = colour->gray;
        } else {
            p.TransparentSample[0] = colour->red;
            p.TransparentSample[1] = colour->green;
            p.TransparentSample[2] = colour->blue;
        }
    }
}

}  // namespace

void TPngPixels::Allocate()
{
    int colour = SamplesPerPixel();
    if (ColorType == COLOR_PALETTE || BitDepth < 8)
        RowBytes = (size_t(Width) * BitDepth + 7) / 8;
    else
        RowBytes = size_t(Width) * colour;
    Data.assign(RowBytes * Height, 0);
    Alpha.assign(HasAlphaChannel() ? size_t(Width) * Height : 0, 0);
    DataLow.assign(BitDepth == 16 ? Data.size() : 0, 0);
    AlphaLow.assign(BitDepth == 16 ? Alpha.size() : 0, 0);
}

bool IsPngSignature(std::span<const uint8_t> AData)
{
    return AData.size() >= 8 && png_sig_cmp(AData.data(), 0, 8) == 0;
}

// Every chunk up to the end chunk must lie within the data: the reader allocates what a chunk's length says
// before it reads the chunk, so a length is never believed beyond the bytes that are there.
static void CheckChunkLengths(std::span<const uint8_t> AData)
{
    size_t pos = 8;
    while (true) {
        if (AData.size() - pos < 12) throw EInvalidGraphic("PNG image is not valid: the data ends inside a chunk");
        const uint8_t* c = AData.data() + pos;
        const uint32_t length = (uint32_t(c[0]) << 24) | (uint32_t(c[1]) << 16) | (uint32_t(c[2]) << 8) | c[3];
        if (length > AData.size() - pos - 12)
            throw EInvalidGraphic("PNG image is not valid: a chunk is longer than the data");
        pos += 12 + size_t(length);
        if (std::memcmp(c + 4, "IEND", 4) == 0) return;
    }
}

TPngPixels ReadPng(std::span<const uint8_t> AData, size_t* AConsumed)
{
    if (!IsPngSignature(AData)) throw EInvalidGraphic("PNG image is not valid: no PNG signature");
    CheckChunkLengths(AData);
    ErrorState error;
    ReadCursor cursor{AData, 0};
    TPngPixels p;
    std::vector<uint8_t> raw;
    std::vector<png_bytep> rows;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    if (!png) throw EOutOfMemory("Out of memory");
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        Fail(error);
    }
    png_set_read_fn(png, &cursor, ReadData);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    // A chunk's length comes from the file: no chunk (nor the text a compressed one unpacks to) may ask for more
    // than this, and a file may not pile up more than so many ancillary chunks.
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_chunk_cache_max(png, kMaxAncillaryChunks);
    png_read_info(png, info);

    p.Width = static_cast<int32_t>(png_get_image_width(png, info));
    p.Height = static_cast<int32_t>(png_get_image_height(png, info));
    p.BitDepth = png_get_bit_depth(png, info);
    p.ColorType = static_cast<TPngColorType>(png_get_color_type(png, info));
    p.Interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    if (uint64_t(p.Width) * uint64_t(p.Height) > kMaxPixels) png_error(png, "the picture is too large");
    if (p.ColorType == COLOR_PALETTE) {
        png_colorp palette = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &palette, &count)) {
            for (int i = 0; i < count; ++i)
                p.Palette.push_back((uint32_t(palette[i].red) << 16) | (uint32_t(palette[i].green) << 8) |
                                    palette[i].blue);
        }
        if (p.Palette.empty()) png_error(png, "a palette picture without a palette");
    }
    ReadTransparency(png, info, p);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    size_t raw_stride = png_get_rowbytes(png, info);
    raw.resize(raw_stride * p.Height);
    rows.resize(p.Height);
    for (int32_t y = 0; y < p.Height; ++y) rows[y] = raw.data() + y * raw_stride;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    if (AConsumed) *AConsumed = cursor.pos;

    p.Allocate();
    for (int32_t y = 0; y < p.Height; ++y) SplitRow(rows[y], p, y);
    return p;
}

std::vector<uint8_t> WritePng(const TPngPixels& p)
{
    ErrorState error;
    std::vector<uint8_t> out;
    std::vector<uint8_t> row;
    std::vector<png_color> palette;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnError, OnWarning);
    if (!png) throw EOutOfMemory("Out of memory");
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        Fail(error);
    }
    png_set_write_fn(png, &out, WriteData, FlushData);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.Width), static_cast<png_uint_32>(p.Height), p.BitDepth,
                 p.ColorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (p.ColorType == COLOR_PALETTE) {
        for (uint32_t c : p.Palette)
            palette.push_back(png_color{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
        // More alpha values than palette entries would make an invalid file.
        int alpha_count = static_cast<int>(std::min(p.PaletteAlpha.size(), p.Palette.size()));
        if (alpha_count > 0) png_set_tRNS(png, info, p.PaletteAlpha.data(), alpha_count, nullptr);
    } else if (p.HasTransparentSample && !p.HasAlphaChannel()) {
        png_color_16 colour{};
        colour.gray = p.TransparentSample[0];
        colour.red = p.TransparentSample[0];
        colour.green = p.TransparentSample[1];
        colour.blue = p.TransparentSample[2];
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
    png_write_info(png, info);
    int channels = p.SamplesPerPixel() + (p.HasAlphaChannel() ? 1 : 0);
    row.resize(std::max(p.RowBytes, size_t(p.Width) * channels * (p.BitDepth == 16 ? 2 : 1)));
    for (int32_t y = 0; y < p.Height; ++y) {
        JoinRow(p, y, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}
