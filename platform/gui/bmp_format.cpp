#include "platform/gui/bmp_format.h"

#include <algorithm>
#include <cstring>

#include "platform/gui/graphic_errors.h"

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitFields = 3;
constexpr size_t kFileHeaderSize = 14;
// Keeps a damaged header from asking for gigabytes: at most 16384 on a side and 64 million pixels.
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;
constexpr int32_t kMaxSide = 16384;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(std::vector<uint8_t>& v, uint32_t x) { for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i))); }
void Put16(std::vector<uint8_t>& v, uint16_t x) { v.push_back(uint8_t(x)); v.push_back(uint8_t(x >> 8)); }

struct Header {
    int32_t width = 0;
    int32_t height = 0;  // negative: rows stored top-down
    int bit_count = 0;
    uint32_t compression = kBiRgb;
    uint32_t colours_used = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    size_t palette_offset = 0;
    size_t palette_entry_size = 4;
};

Header ReadHeader(std::span<const uint8_t> d)
{
    if (d.size() < kFileHeaderSize + 12 || d[0] != 'B' || d[1] != 'M') Invalid();
    const uint8_t* info = d.data() + kFileHeaderSize;
    uint32_t info_size = U32(info);
    Header h;
    if (info_size == 12) {  // the old core header: 16-bit sizes, three-byte palette entries
        h.width = U16(info + 4);
        h.height = static_cast<int16_t>(U16(info + 6));
        h.bit_count = U16(info + 10);
        h.palette_entry_size = 3;
    } else {
        if (info_size < 40 || d.size() < kFileHeaderSize + info_size) Invalid();
        h.width = static_cast<int32_t>(U32(info + 4));
        h.height = static_cast<int32_t>(U32(info + 8));
        h.bit_count = U16(info + 14);
        h.compression = U32(info + 16);
        h.colours_used = U32(info + 32);
        if (info_size >= 52) {
            for (int i = 0; i < 3; ++i) h.masks[i] = U32(info + 40 + 4 * i);
            if (info_size >= 56) h.masks[3] = U32(info + 52);
        } else if (h.compression == kBiBitFields) {
            if (d.size() < kFileHeaderSize + info_size + 12) Invalid();
            for (int i = 0; i < 3; ++i) h.masks[i] = U32(info + info_size + 4 * i);
            info_size += 12;
        }
    }
    h.palette_offset = kFileHeaderSize + info_size;
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) Invalid();
    uint64_t rows = static_cast<uint64_t>(h.height < 0 ? -int64_t(h.height) : h.height);
    if (h.width > kMaxSide || rows > uint64_t(kMaxSide) || static_cast<uint64_t>(h.width) * rows > kMaxPixels)
        Invalid();
    switch (h.bit_count) {
    case 1: case 4: case 8: case 24:
        if (h.compression == kBiRle8 && h.bit_count == 8) break;
        if (h.compression == kBiRle4 && h.bit_count == 4) break;
        if (h.compression != kBiRgb) Invalid();
        break;
    case 16: case 32:
        if (h.compression != kBiRgb && h.compression != kBiBitFields) Invalid();
        break;
    default:
        Invalid();
    }
    if ((h.compression == kBiRle8 || h.compression == kBiRle4) && h.height < 0) Invalid();
    return h;
}

std::vector<uint32_t> ReadPalette(std::span<const uint8_t> d, const Header& h)
{
    if (h.bit_count > 8) return {};
    size_t count = h.colours_used == 0 ? (size_t{1} << h.bit_count) : h.colours_used;
    if (count > 256) Invalid();
    if (h.palette_offset + count * h.palette_entry_size > d.size()) Invalid();
    // The palette holds as many entries as the bit count can address; a header that claims more colours has its
    // surplus entries ignored, never copied past the block.
    std::vector<uint32_t> palette(size_t{1} << h.bit_count, 0);
    count = std::min(count, palette.size());
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = d.data() + h.palette_offset + i * h.palette_entry_size;
        palette[i] = (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
    }
    return palette;
}

// Run-length data (8 or 4 bits) into bottom-up rows; runs that leave the picture are cut off, as the platform does.
void DecodeRle(std::span<const uint8_t> src, TDibPixels& out, bool four_bit)
{
    size_t stride = DibStride(out.Width, out.BitCount);
    int32_t x = 0, y = 0;
    auto put = [&](uint8_t index) {
        if (x < out.Width && y < out.Height) {
            uint8_t* row = out.Bits.data() + static_cast<size_t>(y) * stride;
            if (four_bit) {
                uint8_t& b = row[x / 2];
                b = (x % 2 == 0) ? uint8_t((b & 0x0F) | (index << 4)) : uint8_t((b & 0xF0) | (index & 0x0F));
            } else {
                row[x] = index;
            }
        }
        ++x;
    };
    size_t i = 0;
    while (i + 1 < src.size() && y < out.Height) {
        uint8_t count = src[i], value = src[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(four_bit ? uint8_t((k % 2 == 0) ? value >> 4 : value & 0x0F) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (i + 1 >= src.size()) Invalid();
            x += src[i];
            y += src[i + 1];
            i += 2;
        } else {
            size_t bytes = four_bit ? (value + 1) / 2 : value;
            if (i + bytes > src.size()) Invalid();
            for (int k = 0; k < value; ++k)
                put(four_bit ? uint8_t((k % 2 == 0) ? src[i + k / 2] >> 4 : src[i + k / 2] & 0x0F) : src[i + k]);
            i += (bytes + 1) & ~size_t{1};  // absolute runs are padded to a word
        }
    }
}

int MaskShift(uint32_t m) { int s = 0; while (m != 0 && (m & 1) == 0) { m >>= 1; ++s; } return s; }
int MaskBits(uint32_t m) { m >>= MaskShift(m); int n = 0; while (m & 1) { m >>= 1; ++n; } return n; }

uint8_t Extract(uint32_t v, uint32_t mask)
{
    if (mask == 0) return 0;
    int bits = MaskBits(mask);
    uint32_t c = (v & mask) >> MaskShift(mask);
    if (bits >= 8) return uint8_t(c >> (bits - 8));
    uint32_t max = (1u << bits) - 1;
    return uint8_t((c * 255 + max / 2) / max);
}

// Bit fields other than the two 16-bit layouts and the plain 32-bit one are converted to 32 bits per pixel.
void ConvertBitFields(std::span<const uint8_t> src, size_t src_stride, const Header& h, TDibPixels& out)
{
    out.BitCount = 32;
    size_t stride = DibStride(out.Width, 32);
    out.Bits.assign(stride * out.Height, 0);
    int bytes = h.bit_count / 8;
    for (int32_t y = 0; y < out.Height; ++y) {
        const uint8_t* s = src.data() + y * src_stride;
        uint8_t* dst = out.Bits.data() + y * stride;
        for (int32_t x = 0; x < out.Width; ++x) {
            uint32_t v = bytes == 2 ? U16(s + 2 * x) : U32(s + 4 * x);
            dst[4 * x] = Extract(v, h.masks[2]);
            dst[4 * x + 1] = Extract(v, h.masks[1]);
            dst[4 * x + 2] = Extract(v, h.masks[0]);
            dst[4 * x + 3] = Extract(v, h.masks[3]);
        }
    }
}

}  // namespace

TDibPixels ReadBmp(std::span<const uint8_t> d)
{
    Header h = ReadHeader(d);
    TDibPixels out;
    out.Width = h.width;
    out.Height = h.height < 0 ? -h.height : h.height;
    out.BitCount = h.bit_count;
    out.Palette = ReadPalette(d, h);
    size_t offset = U32(d.data() + 10);
    if (offset == 0 || offset > d.size()) Invalid();
    std::span<const uint8_t> data = d.subspan(offset);
    size_t stride = DibStride(out.Width, out.BitCount);

    if (h.compression == kBiRle8 || h.compression == kBiRle4) {
        out.Bits.assign(stride * out.Height, 0);
        DecodeRle(data, out, h.compression == kBiRle4);
        return out;
    }
    if (data.size() < stride * out.Height) Invalid();
    if (h.compression == kBiBitFields) {
        const uint32_t* m = h.masks;
        bool rgb555 = h.bit_count == 16 && m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F;
        bool rgb565 = h.bit_count == 16 && m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F;
        bool plain32 = h.bit_count == 32 && m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF;
        if (!rgb555 && !rgb565 && !plain32) {
            if (m[0] == 0 && m[1] == 0 && m[2] == 0) Invalid();
            ConvertBitFields(data, stride, h, out);
            if (h.height < 0) {
                TDibPixels flipped = out;
                size_t s = DibStride(out.Width, 32);
                for (int32_t y = 0; y < out.Height; ++y)
                    std::memcpy(flipped.Bits.data() + y * s, out.Bits.data() + (out.Height - 1 - y) * s, s);
                return flipped;
            }
            return out;
        }
        out.Green6 = rgb565;
    }
    out.Bits.resize(stride * out.Height);
    for (int32_t y = 0; y < out.Height; ++y) {
        int32_t from = h.height < 0 ? out.Height - 1 - y : y;
        std::memcpy(out.Bits.data() + y * stride, data.data() + from * stride, stride);
    }
    return out;
}

std::vector<uint8_t> WriteBmp(const TDibPixels& p)
{
    size_t stride = DibStride(p.Width, p.BitCount);
    size_t palette_count = p.BitCount <= 8 ? (size_t{1} << p.BitCount) : 0;
    bool bit_fields = p.BitCount == 16 && p.Green6;
    size_t info_size = 40 + (bit_fields ? 12 : 0);
    size_t offset = kFileHeaderSize + info_size + palette_count * 4;
    size_t image_size = stride * p.Height;

    std::vector<uint8_t> v;
    v.reserve(offset + image_size);
    v.push_back('B');
    v.push_back('M');
    Put32(v, static_cast<uint32_t>(offset + image_size));
    Put32(v, 0);
    Put32(v, static_cast<uint32_t>(offset));
    Put32(v, 40);
    Put32(v, static_cast<uint32_t>(p.Width));
    Put32(v, static_cast<uint32_t>(p.Height));
    Put16(v, 1);
    Put16(v, static_cast<uint16_t>(p.BitCount));
    Put32(v, bit_fields ? kBiBitFields : kBiRgb);
    Put32(v, static_cast<uint32_t>(image_size));
    Put32(v, 3780);  // 96 dots per inch
    Put32(v, 3780);
    Put32(v, static_cast<uint32_t>(palette_count));
    Put32(v, 0);
    if (bit_fields) {
        Put32(v, 0xF800);
        Put32(v, 0x07E0);
        Put32(v, 0x001F);
    }
    for (size_t i = 0; i < palette_count; ++i) Put32(v, i < p.Palette.size() ? p.Palette[i] & 0xFFFFFF : 0);
    size_t have = std::min(image_size, p.Bits.size());
    v.insert(v.end(), p.Bits.begin(), p.Bits.begin() + static_cast<ptrdiff_t>(have));
    v.resize(offset + image_size, 0);
    return v;
}
