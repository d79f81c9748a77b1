// The video path from packets to the picture queue: decoding with the time stamp choice and frame skipping, the
// filter chain (the user's chain ending in planar 4:2:0), deinterlacing, the copy into the queue's overlays with
// the vertical flip, and the video hook.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "media/decode/deinterlace.h"
#include "media/decode/format_converter.h"
#include "media/filters/filter_chain.h"
#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"
#include "media/player/player_display.h"
#include "media/player/player_threads.h"
#include "media/player/player_video_frames.h"
#include "platform/rtl/exceptions.h"

namespace {

constexpr double FRAME_SKIP_FACTOR = 0.05;
constexpr Uint8 EventAllocate = SDL_USEREVENT;  // 24

}  // namespace

int TPlayerThreadEntries::Video(void* AState)
{
    auto* is = static_cast<TVideoState*>(AState);
    is->Owner->VideoThread(is);
    return 0;
}

// -1 aborted; 1 a flush marker was handled; 0 otherwise, with AGotPicture when AFrame holds a decoded picture
// (its pts already chosen by decoder_reorder_pts, in the stream's time base).
int TCustomPlayer::GetVideoFrame(TVideoState* is, AVFrame* AFrame, AVPacket* APacket, bool& AGotPicture)
{
    AGotPicture = false;
    int ret = ff::avcodec_receive_frame(is->video_ctx, AFrame);
    if (ret < 0) {
        bool flush = false;
        if (PacketQueueGet(FSDL, is->videoq, APacket, true, flush) < 0) return -1;
        if (flush) {
            ff::avcodec_flush_buffers(is->video_ctx);
            FSDL.SDL_LockMutex(is->pictq_mutex);
            for (TVideoPicture& picture : is->pictq) picture.target_clock = 0;
            while (is->pictq_size > 0 && !is->videoq.abort_request)
                FSDL.SDL_CondWait(is->pictq_cond, is->pictq_mutex);
            FSDL.SDL_UnlockMutex(is->pictq_mutex);
            is->video_current_pos = -1;
            is->frame_last_pts = NAN;  // not set: the first picture after a seek shows at once
            is->frame_last_delay = 0;
            is->frame_timer = PlayerNow();
            is->skip_frames = 1;
            is->skip_frames_index = 0;
            is->seek_flushed = 1;
            return 1;
        }
        const bool end_packet = APacket->size == 0;
        // The end packet drains the decoder; once drained, more of them answer "end of file", which means no
        // picture.
        ret = ff::avcodec_send_packet(is->video_ctx, end_packet ? nullptr : APacket);
        ff::av_packet_unref(APacket);
        if (ret >= 0 || ret == AVERROR(EAGAIN)) ret = ff::avcodec_receive_frame(is->video_ctx, AFrame);
        if (ret < 0) {
            if (end_packet && is->EventEOF == 0) UpdatePosition(is);
            return 0;
        }
    }
    AFrame->pts = Fdecoder_reorder_pts == 0  ? AFrame->pkt_dts
                  : Fdecoder_reorder_pts > 0 ? AFrame->pts
                                             : AFrame->best_effort_timestamp;
    is->skip_frames_index = is->skip_frames_index + 1;
    if (is->skip_frames_index >= is->skip_frames) {
        is->skip_frames_index = is->skip_frames_index - std::max(is->skip_frames.load(), 1.0);
        AGotPicture = true;
    } else {
        ff::av_frame_unref(AFrame);  // skipped to catch up
    }
    return 0;
}

void TCustomPlayer::VideoThread(TVideoState* is)
{
    AVFrame* frame = ff::av_frame_alloc();
    AVFrame* filtered = ff::av_frame_alloc();
    AVPacket* pkt = ff::av_packet_alloc();
    const AVRational tb = is->video_st->time_base;
    std::unique_ptr<TFilterChain> chain;
    // A chain that cannot be built ends the pictures; the sound plays on.
    auto open_chain = [&]() -> bool {
        chain = std::make_unique<TFilterChain>();
        chain->SetOutputFormats({AV_PIX_FMT_YUV420P});
        chain->SetScaleFlags(Fsws_flags);
        try {
            chain->Open(Fvfilters, tb);
            return true;
        } catch (const Exception& E) {
            LoggerInstance()->Log(this, llError, E.Message());
            return false;
        }
    };
    bool running = frame != nullptr && filtered != nullptr && pkt != nullptr && open_chain();
    while (running) {
        while (is->paused && !is->videoq.abort_request && !is->seek_paused && !is->open_paused) win::Sleep(10);
        bool got = false;
        const int ret = GetVideoFrame(is, frame, pkt, got);
        if (ret < 0) break;
        if (ret == 1) {
            running = open_chain();  // what the filters hold belongs to the time before the seek
            continue;
        }
        if (!got) continue;
        const int sent = chain->SendFrame(frame);
        ff::av_frame_unref(frame);
        if (sent < 0) {
            LoggerInstance()->Log(this, llError, chain->LastErrMsg());
            break;
        }
        while (running && chain->ReceiveFrame(filtered) == 0) {
            const int out = OutputFiltered(is, filtered, chain->OutputTimeBase());
            ff::av_frame_unref(filtered);
            running = out >= 0;
        }
    }
    // Without pictures (the filters could not be built or failed) the packets are still taken, so that the read
    // thread sees its queue empty and the end of the file is still reported.
    if (pkt != nullptr && !is->videoq.abort_request) {
        bool flush = false;
        while (PacketQueueGet(FSDL, is->videoq, pkt, true, flush) >= 0) {
            if (!flush && pkt->size == 0 && is->EventEOF == 0) UpdatePosition(is);
            ff::av_packet_unref(pkt);
        }
    }
    chain.reset();
    if (FDeintFrame != nullptr) ff::av_frame_free(&FDeintFrame);
    ff::av_packet_free(&pkt);
    ff::av_frame_free(&filtered);
    ff::av_frame_free(&frame);
}

// One picture out of the filters: its time, deinterlacing, the queue, and what follows a queued picture.
int TCustomPlayer::OutputFiltered(TVideoState* is, AVFrame* AFrame, AVRational ATimeBase)
{
    const AVRational tb = is->video_st->time_base;
    int64_t ts = AFrame->pts;
    if (ts != AV_NOPTS_VALUE && av_cmp_q(ATimeBase, tb) != 0) {
        const int64_t rescaled = ff::av_rescale_q(ts, ATimeBase, tb);
        ff::av_log(nullptr, AV_LOG_DEBUG, "video_thread(): tb:%d/%d pts:%" PRId64 " -> tb:%d/%d pts:%" PRId64 "\n",
                   ATimeBase.num, ATimeBase.den, ts, tb.num, tb.den, rescaled);
        ts = rescaled;
    }
    if (is->seek_done && is->seek_flushed) {
        is->seek_done = 0;  // the first picture after a seek
        is->seek_paused = 0;
    }
    // A picture without a time stamp continues the video clock (NAN); a time stamp of 0 is a real time.
    const double pts = ts != AV_NOPTS_VALUE ? static_cast<double>(ts) * av_q2d(tb) : NAN;
    AVFrame* picture = AFrame;
    if (FDeinterlace && DeinterlacePicture(AFrame)) picture = FDeintFrame;
    if (OutputPicture(is, picture, pts, AFrame->pkt_pos) < 0) return -1;

    // The seek is over before its waiter wakes: a caller of a waited Seek then sees Seeking() false.
    // A picture from before a seek's flush neither ends the seek nor wakes its waiter.
    if (!is->seek_done) {
        if (FSeeking && !is->seek_req) FSeeking = false;
        FPictEvent.SetEvent();
    }
    is->EventEOF = 0;
    if (is->open_paused != 0) {
        std::lock_guard<std::mutex> lock(FOpenPauseLock);
        if (is->open_paused < 2) {
            is->open_paused += 1;
        } else {
            is->open_paused = 0;
            SetPlayState(psPause);
        }
    }
    if (Fstep && FVideoState.load() == is) StreamPause(is);
    return 0;
}

bool TCustomPlayer::DeinterlacePicture(AVFrame* AFrame)
{
    if (!ShapeDeinterlaceBuffer(FDeintFrame, AFrame)) {
        LoggerInstance()->Log(this, llError, "deinterlace buffer malloc error.");
        FDeinterlace = false;
        return false;
    }
    if (!DeinterlaceYUV420(FDeintFrame, AFrame)) {
        LoggerInstance()->Log(this, llError, "deinterlacing failed.");
        FDeinterlace = false;
        return false;
    }
    FDeintFrame->sample_aspect_ratio = AFrame->sample_aspect_ratio;
    FDeintFrame->repeat_pict = AFrame->repeat_pict;
    return true;
}

int TCustomPlayer::OutputPicture(TVideoState* is, AVFrame* AFrame, double APts, int64_t APos)
{
    double pts = APts;
    if (!std::isnan(pts))
        is->video_clock = pts;
    else
        pts = is->video_clock;
    const double delay = is->frame_delay;
    is->video_clock = is->video_clock + delay + AFrame->repeat_pict * delay * 0.5;
    return QueuePicture(is, AFrame, pts, APos);
}

int TCustomPlayer::QueuePicture(TVideoState* is, AVFrame* AFrame, double APts, int64_t APos)
{
    FSDL.SDL_LockMutex(is->pictq_mutex);
    if (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && is->refresh != 1)
        is->skip_frames = std::max(1.0 - FRAME_SKIP_FACTOR, is->skip_frames * (1.0 - FRAME_SKIP_FACTOR));
    while (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !is->videoq.abort_request)
        FSDL.SDL_CondWait(is->pictq_cond, is->pictq_mutex);
    FSDL.SDL_UnlockMutex(is->pictq_mutex);
    if (is->videoq.abort_request) return -1;

    TVideoPicture& vp = is->pictq[is->pictq_windex];
    const int width = AFrame->width & ~1;
    const int height = AFrame->height & ~1;
    if (vp.bmp == nullptr || vp.width != width || vp.height != height) {
        // Overlays belong to the event loop's thread, where the video mode lives.
        is->sink_width = AFrame->width;
        is->sink_height = AFrame->height;
        is->sink_pix_fmt = AFrame->format;
        vp.allocated = 0;
        PushEvent(EventAllocate, is);
        FSDL.SDL_LockMutex(is->pictq_mutex);
        while (!vp.allocated && !is->videoq.abort_request) FSDL.SDL_CondWait(is->pictq_cond, is->pictq_mutex);
        FSDL.SDL_UnlockMutex(is->pictq_mutex);
        if (is->videoq.abort_request) return -1;
    }
    if (vp.bmp == nullptr || vp.width != width || vp.height != height) return 0;  // no overlay: dropped

    vp.sample_aspect_ratio = AFrame->sample_aspect_ratio;
    FSDL.SDL_LockYUVOverlay(vp.bmp);
    TAVPicture overlay = OverlayPicture(vp.bmp);
    CopyYUV420(overlay, AFrame, width, height, FVerticalFlip);
    DeliverVideoHook(is, vp, std::isnan(APts) ? 0.0 : APts);
    FSDL.SDL_UnlockYUVOverlay(vp.bmp);
    vp.pts = APts;
    vp.pos = APos;
    is->pictq_windex = (is->pictq_windex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
    FSDL.SDL_LockMutex(is->pictq_mutex);
    vp.target_clock = ComputeTargetTime(*is, APts);
    is->pictq_size += 1;
    FSDL.SDL_UnlockMutex(is->pictq_mutex);
    return 0;
}

void TCustomPlayer::DeliverVideoHook(TVideoState* is, TVideoPicture& vp, double APts)
{
    const TPlayerBitmapOps* ops = PlayerBitmapOps();
    if (FDying || !FVideoHook || !OnVideoHook || ops == nullptr || FHookConverter == nullptr) return;
    // The hook sees the picture as it will be shown (flipped when asked), and what it draws is shown.
    TAVPicture overlay = OverlayPicture(vp.bmp);
    TFormatConverter& converter = *FHookConverter;
    if (!converter.PictureToRGB(&overlay, AV_PIX_FMT_YUV420P, vp.width, vp.height)) {
        LoggerInstance()->Log(this, llError, converter.LastErrMsg());
        return;
    }
    if (!FHookBitmap) FHookBitmap = ops->Create();
    TBitmap* bitmap = FHookBitmap.get();
    ops->FromRGB(converter, bitmap);
    bool update = true;
    const int64_t pts = std::llround(APts * 1000000.0) - is->StartTime;
    ops->LockCanvas(bitmap);
    try {
        OnVideoHook(this, bitmap, pts, update);
    } catch (const std::exception& E) {
        LoggerInstance()->Log(this, llError, std::string("Error occurs OnVideoHook: ") + E.what());
        update = false;
    }
    ops->UnlockCanvas(bitmap);
    if (!update) return;
    if (!ops->ToRGB(converter, bitmap))
        LoggerInstance()->Log(this, llError,
                              "OnVideoHook changed the size or depth of the bitmap; the picture is shown as decoded");
    else if (!converter.RGBToPicture(&overlay, AV_PIX_FMT_YUV420P, vp.width, vp.height))
        LoggerInstance()->Log(this, llError, converter.LastErrMsg());
}
