// The PCX reader of the skin bitmap: 8-bit palette pictures, run-length coded or plain.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "skin/core/skin_bitmap.h"

namespace {

struct PcxHeader {
    Byte manufacturer, version, encoding, bits_per_pixel;
    int32_t x_min, y_min, x_max, y_max;
    Byte planes;
    int32_t bytes_per_line;
};

PcxHeader ParseHeader(const Byte* raw)
{
    const auto word = [raw](int at) { return static_cast<int32_t>(raw[at] | (raw[at + 1] << 8)); };
    return {raw[0], raw[1], raw[2], raw[3], word(4), word(6), word(8), word(10), raw[65], word(66)};
}

// The platform's 16-colour system palette, red, green, blue.
constexpr std::array<std::array<Byte, 3>, 16> kSystemPalette = {{
    {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0}, {0, 0, 255}, {255, 0, 255}, {0, 255, 255},
    {255, 255, 255}}};

}  // namespace

void TspBitmap::LoadFromPcxStream(TStream* Stream)
{
    Byte raw[128];
    Stream->ReadBuffer(raw, sizeof raw);
    const PcxHeader h = ParseHeader(raw);
    if (h.manufacturer != 10 && h.manufacturer != 205) return;

    const Int64 data_start = Stream->Position();
    const Int64 data_size = Stream->Size() - data_start;
    const int64_t width = int64_t{h.x_max} - h.x_min + 1, height = int64_t{h.y_max} - h.y_min + 1;
    const int64_t row_bytes = int64_t{h.planes} * h.bytes_per_line;
    // A run gives at most 63 bytes per two: a header asking for more than the data can give, or for rows
    // narrower than the picture, is damage.
    const int64_t most = h.encoding == 1 ? data_size * 63 : data_size;
    if (width <= 0 || height <= 0 || row_bytes < width || row_bytes * height > most || width * height > (1 << 28))
        throw EReadError("Invalid PCX picture");

    std::array<TspColor, 256> palette{};
    if (h.version == 3) {
        for (size_t i = 0; i < kSystemPalette.size(); ++i)
            palette[i] = (TspColor{kSystemPalette[i][0]} << 16) | (kSystemPalette[i][1] << 8) | kSystemPalette[i][2];
    } else if (data_size >= 769) {
        Byte rgb[768];
        Stream->SetPosition(data_start + data_size - 768);
        Stream->ReadBuffer(rgb, sizeof rgb);
        for (size_t i = 0; i < 256; ++i)
            palette[i] = (TspColor{rgb[3 * i]} << 16) | (rgb[3 * i + 1] << 8) | rgb[3 * i + 2];
    }

    Stream->SetPosition(data_start);
    std::vector<Byte> data(static_cast<size_t>(data_size));
    if (!data.empty()) Stream->ReadBuffer(data.data(), data_size);
    std::vector<Byte> indexes(static_cast<size_t>(row_bytes * height), 0);
    if (h.encoding == 1) {
        size_t out = 0;
        for (size_t in = 0; in < data.size() && out < indexes.size();) {
            const Byte b = data[in++];
            if (b >= 192) {
                if (in >= data.size()) break;
                const Byte value = data[in++];
                const size_t run = std::min<size_t>(b & 63, indexes.size() - out);
                std::memset(indexes.data() + out, value, run);
                out += run;
            } else {
                indexes[out++] = b;
            }
        }
    } else {
        std::memcpy(indexes.data(), data.data(), std::min(indexes.size(), data.size()));
    }

    SetSize(static_cast<Integer>(width), static_cast<Integer>(height));
    for (Integer y = 0; y < FHeight; ++y) {
        const Byte* row = indexes.data() + static_cast<size_t>(y) * row_bytes;
        for (Integer x = 0; x < FWidth; ++x) *GetPixelPtr(x, y) = 0xFF000000u | palette[row[x]];
    }
}
