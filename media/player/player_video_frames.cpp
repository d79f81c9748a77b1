#include "media/player/player_video_frames.h"

#include <algorithm>
#include <cstring>

TAVPicture OverlayPicture(SDL_Overlay* AOverlay)
{
    TAVPicture picture;
    static constexpr int planes[3] = {0, 2, 1};
    for (int i = 0; i < 3; ++i) {
        picture.data[i] = AOverlay->pixels[planes[i]];
        picture.linesize[i] = AOverlay->pitches[planes[i]];
    }
    return picture;
}

void CopyYUV420(const TAVPicture& ADest, const AVFrame* ASource, int AWidth, int AHeight, bool AFlip)
{
    for (int plane = 0; plane < 3; ++plane) {
        const int width = plane == 0 ? AWidth : AWidth / 2;
        const int height = plane == 0 ? AHeight : AHeight / 2;
        for (int row = 0; row < height; ++row) {
            const int from = AFlip ? height - 1 - row : row;
            std::memcpy(ADest.data[plane] + static_cast<ptrdiff_t>(row) * ADest.linesize[plane],
                        ASource->data[plane] + static_cast<ptrdiff_t>(from) * ASource->linesize[plane],
                        static_cast<size_t>(width));
        }
    }
}

namespace {

void FilterLine(uint8_t* ADest, const uint8_t* AM4, const uint8_t* AM3, const uint8_t* AM2, const uint8_t* AM1,
                const uint8_t* AM0, int AWidth)
{
    for (int x = 0; x < AWidth; ++x) {
        const int sum = -AM4[x] + (AM3[x] << 2) + (AM2[x] << 1) + (AM1[x] << 2) - AM0[x];
        ADest[x] = static_cast<uint8_t>(std::clamp((sum + 4) >> 3, 0, 255));
    }
}

void DeinterlacePlane(uint8_t* ADest, int ADestWrap, const uint8_t* ASource, int ASourceWrap, int AWidth,
                      int AHeight)
{
    const uint8_t* m2 = ASource;
    const uint8_t* m1 = ASource;
    const uint8_t* m0 = m1 + ASourceWrap;
    const uint8_t* p1 = m0 + ASourceWrap;
    const uint8_t* p2 = p1 + ASourceWrap;
    for (int y = 0; y < AHeight - 2; y += 2) {
        std::memcpy(ADest, m1, static_cast<size_t>(AWidth));
        ADest += ADestWrap;
        FilterLine(ADest, m2, m1, m0, p1, p2, AWidth);
        ADest += ADestWrap;
        m2 = m0;
        m1 = p1;
        m0 = p2;
        p1 += 2 * ASourceWrap;
        p2 += 2 * ASourceWrap;
    }
    std::memcpy(ADest, m1, static_cast<size_t>(AWidth));
    ADest += ADestWrap;
    FilterLine(ADest, m2, m1, m0, m0, m0, AWidth);
}

}  // namespace

bool DeinterlaceYUV420(AVFrame* ADest, const AVFrame* ASource)
{
    if ((ASource->format != AV_PIX_FMT_YUV420P && ASource->format != AV_PIX_FMT_YUVJ420P) ||
        ASource->width % 4 != 0 || ASource->height % 4 != 0 || ASource->height < 4)
        return false;
    for (int plane = 0; plane < 3; ++plane) {
        const int width = plane == 0 ? ASource->width : ASource->width / 2;
        const int height = plane == 0 ? ASource->height : ASource->height / 2;
        DeinterlacePlane(ADest->data[plane], ADest->linesize[plane], ASource->data[plane], ASource->linesize[plane],
                         width, height);
    }
    return true;
}
