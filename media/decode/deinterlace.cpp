// Deinterlacing of decoded pictures for the decoder, the player and the transcoder.
#include "media/decode/deinterlace.h"

#include <algorithm>
#include <cstring>

#include "media/decode/frame_decoder.h"
#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"

namespace {

void FilterLine(uint8_t* ADest, const uint8_t* AM4, const uint8_t* AM3, const uint8_t* AM2, const uint8_t* AM1,
                const uint8_t* AM0, int AWidth)
{
    for (int x = 0; x < AWidth; ++x) {
        const int sum = -AM4[x] + (AM3[x] << 2) + (AM2[x] << 1) + (AM1[x] << 2) - AM0[x];
        ADest[x] = static_cast<uint8_t>(std::clamp((sum + 4) >> 3, 0, 255));
    }
}

bool Deinterlaceable(int AFormat)
{
    switch (AFormat) {
    case AV_PIX_FMT_YUV420P:
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUV422P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUV444P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUV411P:
    case AV_PIX_FMT_GRAY8:
        return true;
    default:
        return false;
    }
}

}  // namespace

void DeinterlacePlane(uint8_t* ADest, int ADestWrap, const uint8_t* ASource, int ASourceWrap, int AWidth, int AHeight)
{
    const uint8_t* m2 = ASource;
    const uint8_t* m1 = ASource;
    const uint8_t* m0 = m1 + ASourceWrap;
    const uint8_t* p1 = m0 + ASourceWrap;
    const uint8_t* p2 = p1 + ASourceWrap;
    int y = 0;
    for (; y < AHeight - 2; y += 2) {
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

bool ShapeDeinterlaceBuffer(AVFrame*& ABuffer, const AVFrame* AShape)
{
    if (ABuffer == nullptr) ABuffer = ff::av_frame_alloc();
    if (ABuffer == nullptr) return false;
    if (ABuffer->width != AShape->width || ABuffer->height != AShape->height || ABuffer->format != AShape->format ||
        ABuffer->data[0] == nullptr) {
        ff::av_frame_unref(ABuffer);
        ABuffer->width = AShape->width;
        ABuffer->height = AShape->height;
        ABuffer->format = AShape->format;
        if (ff::av_frame_get_buffer(ABuffer, 0) < 0) ff::av_frame_unref(ABuffer);
    }
    return ABuffer->data[0] != nullptr;
}

bool TFFDecoder::DeinterlaceFrame(AVFrame* AFrame)
{
    if (!Deinterlaceable(AFrame->format) || AFrame->width % 4 != 0 || AFrame->height % 4 != 0) {
        LoggerInstance()->Log(this, llError, "deinterlacing failed.");
        FDeinterlace = false;
        return false;
    }
    if (!ShapeDeinterlaceBuffer(FDeintFrame, AFrame)) {
        LoggerInstance()->Log(this, llError, "deinterlace buffer malloc error.");
        FDeinterlace = false;
        return false;
    }
    int chroma_w = 0, chroma_h = 0;
    ff::av_pix_fmt_get_chroma_sub_sample(static_cast<AVPixelFormat>(AFrame->format), &chroma_w, &chroma_h);
    const int planes = AFrame->format == AV_PIX_FMT_GRAY8 ? 1 : 3;
    for (int i = 0; i < planes; ++i) {
        const int width = i == 0 ? AFrame->width : AFrame->width >> chroma_w;
        const int height = i == 0 ? AFrame->height : AFrame->height >> chroma_h;
        DeinterlacePlane(FDeintFrame->data[i], FDeintFrame->linesize[i], AFrame->data[i], AFrame->linesize[i], width,
                         height);
    }
    return true;
}
