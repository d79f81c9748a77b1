#include "media/player/player_video_frames.h"

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
