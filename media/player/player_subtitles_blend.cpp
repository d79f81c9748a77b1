#include "media/player/player_subtitles.h"

#include <algorithm>

uint32_t RGBAToYUVA(uint32_t AColour)
{
    const int a = static_cast<int>(AColour >> 24);
    const int r = static_cast<int>((AColour >> 16) & 0xff);
    const int g = static_cast<int>((AColour >> 8) & 0xff);
    const int b = static_cast<int>(AColour & 0xff);
    const int y = (263 * r + 517 * g + 101 * b + 16896) >> 10;
    const int u = ((-152 * r - 298 * g + 450 * b + 511) >> 10) + 128;
    const int v = ((450 * r - 377 * g - 74 * b + 511) >> 10) + 128;
    return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(y) << 16 | static_cast<uint32_t>(u) << 8 |
           static_cast<uint32_t>(v);
}

void BlendSubRect(const TAVPicture& APicture, const AVSubtitleRect& ARect, int AWidth, int AHeight)
{
    if (ARect.data[0] == nullptr || ARect.data[1] == nullptr) return;
    const int x = std::clamp(ARect.x, 0, AWidth);
    const int y = std::clamp(ARect.y, 0, AHeight);
    const int w = std::clamp(ARect.w, 0, AWidth - x);
    const int h = std::clamp(ARect.h, 0, AHeight - y);
    if (w == 0 || h == 0) return;
    const auto* palette = reinterpret_cast<const uint32_t*>(ARect.data[1]);
    const int colours = ARect.nb_colors > 0 ? std::min(ARect.nb_colors, 256) : 256;
    // The rectangle's own pixels from its top-left corner; a position clipped to 0 does not shift them.
    auto entry = [&](int AX, int AY) {
        const int index = ARect.data[0][static_cast<ptrdiff_t>(AY - y) * ARect.linesize[0] + (AX - x)];
        return index < colours ? palette[index] : 0u;
    };
    for (int row = y; row < y + h; ++row) {
        uint8_t* luma = APicture.data[0] + static_cast<ptrdiff_t>(row) * APicture.linesize[0];
        for (int col = x; col < x + w; ++col) {
            const uint32_t c = entry(col, row);
            const int a = static_cast<int>(c >> 24);
            luma[col] = static_cast<uint8_t>((luma[col] * (255 - a) + static_cast<int>((c >> 16) & 0xff) * a) / 255);
        }
    }
    for (int cy = y / 2; cy <= (y + h - 1) / 2; ++cy) {
        const int top = std::max(2 * cy, y);
        const int bottom = std::min(2 * cy + 1, y + h - 1);
        uint8_t* cb = APicture.data[1] + static_cast<ptrdiff_t>(cy) * APicture.linesize[1];
        uint8_t* cr = APicture.data[2] + static_cast<ptrdiff_t>(cy) * APicture.linesize[2];
        for (int cx = x / 2; cx <= (x + w - 1) / 2; ++cx) {
            const int left = std::max(2 * cx, x);
            const int right = std::min(2 * cx + 1, x + w - 1);
            int count = 0, alpha = 0, u = 0, v = 0;
            for (int row = top; row <= bottom; ++row)
                for (int col = left; col <= right; ++col) {
                    const uint32_t c = entry(col, row);
                    alpha += static_cast<int>(c >> 24);
                    u += static_cast<int>((c >> 8) & 0xff);
                    v += static_cast<int>(c & 0xff);
                    ++count;
                }
            const int shift = count == 4 ? 2 : count == 2 ? 1 : 0;
            const int a = alpha >> shift;
            cb[cx] = static_cast<uint8_t>(((cb[cx] << shift) * (255 - a) + u * a) / (255 << shift));
            cr[cx] = static_cast<uint8_t>(((cr[cx] << shift) * (255 - a) + v * a) / (255 << shift));
        }
    }
}
