// The subtitle path: the subtitle thread decodes bitmap subtitles into the subpicture queue, the display drops
// those whose time is over and blends the current one into the picture being shown.
#include "media/player/player_subtitles.h"

#include "media/loader/av_bindings.h"
#include "media/player/player_threads.h"
#include "media/player/player_video_frames.h"

int TPlayerThreadEntries::Subtitle(void* AState)
{
    auto* is = static_cast<TVideoState*>(AState);
    is->Owner->SubtitleThread(is);
    return 0;
}

void TCustomPlayer::SubtitleThread(TVideoState* is)
{
    AVPacket* pkt = ff::av_packet_alloc();
    const AVRational tb = is->subtitle_st->time_base;
    while (pkt != nullptr) {
        while (is->paused && !is->subtitleq.abort_request && !is->seek_paused) win::Sleep(10);
        bool flush = false;
        if (PacketQueueGet(FSDL, is->subtitleq, pkt, true, flush) < 0) break;
        if (flush) {
            ff::avcodec_flush_buffers(is->subtitle_ctx);
            continue;
        }
        FSDL.SDL_LockMutex(is->subpq_mutex);
        while (is->subpq_size >= SUBPICTURE_QUEUE_SIZE && !is->subtitleq.abort_request)
            FSDL.SDL_CondWait(is->subpq_cond, is->subpq_mutex);
        FSDL.SDL_UnlockMutex(is->subpq_mutex);
        if (is->subtitleq.abort_request) {
            ff::av_packet_unref(pkt);
            break;
        }
        TSubPicture& sp = is->subpq[is->subpq_windex];
        const double pts = pkt->pts != AV_NOPTS_VALUE ? static_cast<double>(pkt->pts) * av_q2d(tb) : 0.0;
        int got = 0;
        if (ff::avcodec_decode_subtitle2(is->subtitle_ctx, &sp.sub, &got, pkt) >= 0 && got != 0) {
            if (sp.sub.format == 0) {
                sp.pts = pts;
                for (unsigned i = 0; i < sp.sub.num_rects; ++i) {
                    AVSubtitleRect* rect = sp.sub.rects[i];
                    auto* palette = reinterpret_cast<uint32_t*>(rect->data[1]);
                    for (int j = 0; palette != nullptr && j < rect->nb_colors; ++j) palette[j] = RGBAToYUVA(palette[j]);
                }
                is->subpq_windex = (is->subpq_windex + 1) % SUBPICTURE_QUEUE_SIZE;
                FSDL.SDL_LockMutex(is->subpq_mutex);
                is->subpq_size += 1;
                FSDL.SDL_UnlockMutex(is->subpq_mutex);
            } else {
                ff::avsubtitle_free(&sp.sub);  // text subtitles are not shown
            }
        }
        ff::av_packet_unref(pkt);
    }
    ff::av_packet_free(&pkt);
}

void TCustomPlayer::SubpicturesAdvance(TVideoState* is)
{
    auto drop_first = [&] {
        ff::avsubtitle_free(&is->subpq[is->subpq_rindex].sub);
        is->subpq_rindex = (is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE;
        FSDL.SDL_LockMutex(is->subpq_mutex);
        is->subpq_size -= 1;
        FSDL.SDL_CondSignal(is->subpq_cond);
        FSDL.SDL_UnlockMutex(is->subpq_mutex);
    };
    if (is->subtitle_stream_changed) {
        while (is->subpq_size > 0) drop_first();
        FSDL.SDL_LockMutex(is->subpq_mutex);
        is->subtitle_stream_changed = 0;
        FSDL.SDL_CondSignal(is->subpq_cond);
        FSDL.SDL_UnlockMutex(is->subpq_mutex);
        return;
    }
    if (is->subpq_size == 0) return;
    const TSubPicture& sp = is->subpq[is->subpq_rindex];
    const TSubPicture* sp2 =
        is->subpq_size > 1 ? &is->subpq[(is->subpq_rindex + 1) % SUBPICTURE_QUEUE_SIZE] : nullptr;
    const double now = is->video_current_pts;
    if (now > sp.pts + sp.sub.end_display_time / 1000.0 ||
        (sp2 != nullptr && now > sp2->pts + sp2->sub.start_display_time / 1000.0))
        drop_first();
}

void TCustomPlayer::SubpicturesBlend(TVideoState* is, TVideoPicture& vp)
{
    if (is->subtitle_stream < 0 || is->subtitle_stream_changed || is->subpq_size == 0 || vp.bmp == nullptr) return;
    const TSubPicture& sp = is->subpq[is->subpq_rindex];
    if (vp.pts < sp.pts + sp.sub.start_display_time / 1000.0) return;
    FSDL.SDL_LockYUVOverlay(vp.bmp);
    const TAVPicture picture = OverlayPicture(vp.bmp);
    for (unsigned i = 0; i < sp.sub.num_rects; ++i) BlendSubRect(picture, *sp.sub.rects[i], vp.width, vp.height);
    FSDL.SDL_UnlockYUVOverlay(vp.bmp);
}
