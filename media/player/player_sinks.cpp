// The stream consumers in their plainest form: pictures are decoded and timed (queued, shown when due, dropped
// when late), sound is decoded and played as silence at the device's pace, subtitles are taken and dropped. The
// clocks, the position reports and the end of the file rest on these exactly as on the full output paths.
#include <cmath>
#include <cstring>

#include "media/loader/av_bindings.h"
#include "media/player/player_threads.h"

int TPlayerThreadEntries::Video(void* AState)
{
    auto* is = static_cast<TVideoState*>(AState);
    is->Owner->VideoThread(is);
    return 0;
}

int TPlayerThreadEntries::Refresh(void* AState)
{
    auto* is = static_cast<TVideoState*>(AState);
    is->Owner->RefreshThread(is);
    return 0;
}

int TPlayerThreadEntries::Subtitle(void* AState)
{
    auto* is = static_cast<TVideoState*>(AState);
    is->Owner->SubtitleThread(is);
    return 0;
}

void TCustomPlayer::RefreshThread(TVideoState* is)
{
    while (is->abort_request == 0) {
        if (is->refresh != 1) {
            is->refresh = 1;
            PushEvent(SDL_USEREVENT + 1, is);
        }
        win::Sleep(is->audio_stream >= 0 && is->show_audio != 0 && is->video_stream < 0 ? Frdftspeed : 5);
    }
}

void TCustomPlayer::SubtitleThread(TVideoState* is)
{
    AVPacket* pkt = ff::av_packet_alloc();
    bool flush = false;
    while (PacketQueueGet(FSDL, is->subtitleq, pkt, true, flush) >= 0) ff::av_packet_unref(pkt);
    ff::av_packet_free(&pkt);
}

// -1 aborted, 0 otherwise; AGotPicture when AFrame holds a picture.
int TCustomPlayer::GetVideoFrame(TVideoState* is, AVFrame* AFrame, AVPacket* APacket, bool& AGotPicture)
{
    AGotPicture = false;
    int ret = ff::avcodec_receive_frame(is->video_ctx, AFrame);
    if (ret >= 0) {
        AGotPicture = true;
        return 0;
    }
    bool flush = false;
    if (PacketQueueGet(FSDL, is->videoq, APacket, true, flush) < 0) return -1;
    if (flush) {
        ff::avcodec_flush_buffers(is->video_ctx);
        FSDL.SDL_LockMutex(is->pictq_mutex);
        for (TVideoPicture& picture : is->pictq) picture.target_clock = 0;
        while (is->pictq_size > 0 && !is->videoq.abort_request) FSDL.SDL_CondWait(is->pictq_cond, is->pictq_mutex);
        FSDL.SDL_UnlockMutex(is->pictq_mutex);
        is->video_current_pos = -1;
        is->frame_last_pts = 0;
        is->frame_last_delay = 0;
        is->frame_timer = PlayerNow();
        is->seek_flushed = 1;
        return 0;
    }
    const bool end_packet = APacket->size == 0;
    // The end packet drains the decoder; once drained, more of them answer "end of file", which means no picture.
    ret = ff::avcodec_send_packet(is->video_ctx, end_packet ? nullptr : APacket);
    ff::av_packet_unref(APacket);
    if (ret >= 0 || ret == AVERROR(EAGAIN)) {
        ret = ff::avcodec_receive_frame(is->video_ctx, AFrame);
        if (ret >= 0) {
            AGotPicture = true;
            return 0;
        }
    }
    if (end_packet && is->EventEOF == 0) UpdatePosition(is);
    return 0;
}

int TCustomPlayer::QueuePicture(TVideoState* is, double APts, int64_t APos)
{
    FSDL.SDL_LockMutex(is->pictq_mutex);
    while (is->pictq_size >= VIDEO_PICTURE_QUEUE_SIZE && !is->videoq.abort_request)
        FSDL.SDL_CondWait(is->pictq_cond, is->pictq_mutex);
    FSDL.SDL_UnlockMutex(is->pictq_mutex);
    if (is->videoq.abort_request) return -1;

    TVideoPicture& picture = is->pictq[is->pictq_windex];
    picture.pts = APts;
    picture.pos = APos;
    is->pictq_windex = (is->pictq_windex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
    FSDL.SDL_LockMutex(is->pictq_mutex);
    picture.target_clock = ComputeTargetTime(*is, APts);
    is->pictq_size += 1;
    FSDL.SDL_UnlockMutex(is->pictq_mutex);
    return 0;
}

void TCustomPlayer::VideoThread(TVideoState* is)
{
    AVFrame* frame = ff::av_frame_alloc();
    AVPacket* pkt = ff::av_packet_alloc();
    const AVRational tb = is->video_st->time_base;
    for (;;) {
        while (is->paused && !is->videoq.abort_request && !is->seek_paused && !is->open_paused) win::Sleep(10);
        bool got = false;
        if (GetVideoFrame(is, frame, pkt, got) < 0) break;
        if (!got) continue;
        if (is->seek_done && is->seek_flushed) {
            is->seek_done = 0;
            is->seek_paused = 0;
        }
        const int64_t ts = Fdecoder_reorder_pts == 0 ? frame->pkt_dts
                           : Fdecoder_reorder_pts > 0 ? frame->pts
                                                      : frame->best_effort_timestamp;
        // A picture without a time stamp continues the video clock. A time stamp of 0 is a real time (the first
        // picture after a seek to the start), not a missing one: taking the old clock for it would hold that
        // picture back by the whole distance of the seek.
        double pts;
        if (ts != AV_NOPTS_VALUE) {
            pts = static_cast<double>(ts) * av_q2d(tb);
            is->video_clock = pts;
        } else {
            pts = is->video_clock;
        }
        const double delay = is->frame_delay;
        is->video_clock = is->video_clock + delay + frame->repeat_pict * delay * 0.5;
        const int64_t pos = frame->pkt_pos;
        ff::av_frame_unref(frame);
        if (QueuePicture(is, pts, pos) < 0) break;

        FPictEvent.SetEvent();
        is->EventEOF = 0;
        if (FSeeking && !is->seek_req) FSeeking = false;
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
    }
    ff::av_packet_free(&pkt);
    ff::av_frame_free(&frame);
}

void TCustomPlayer::VideoRefresh(TVideoState* is)
{
    if (is->video_stream < 0) {
        if (is->audio_stream >= 0) UpdatePosition(is);
        return;
    }
    bool dropped = false;
    for (;;) {
        const bool drop_mode = is->seek_done != 0;
        if (is->pictq_size == 0) break;
        const double now = PlayerNow();
        TVideoPicture& picture = is->pictq[is->pictq_rindex];
        if (now < picture.target_clock) return;
        is->video_current_pts = picture.pts;
        is->video_current_pts_drift = picture.pts - now;
        is->video_current_pos = picture.pos;
        const double next_target = is->pictq_size > 1
                                       ? is->pictq[(is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE].target_clock.load()
                                       : picture.target_clock + is->video_clock - picture.pts;
        const bool late = (Fframedrop != 0 && now > next_target && !is->IsDevice) || drop_mode;
        const bool consume_dropped = late && (is->pictq_size > 1 || now > next_target + 0.5 || drop_mode);
        FSDL.SDL_LockMutex(is->pictq_mutex);
        is->pictq_rindex = (is->pictq_rindex + 1) % VIDEO_PICTURE_QUEUE_SIZE;
        is->pictq_size -= 1;
        FSDL.SDL_CondSignal(is->pictq_cond);
        FSDL.SDL_UnlockMutex(is->pictq_mutex);
        if (consume_dropped) {
            dropped = true;
            continue;
        }
        break;  // shown (there is no surface yet to show it on)
    }
    if (!dropped) UpdatePosition(is);
}

int TCustomPlayer::AudioDecodeFrame(TVideoState* is)
{
    for (;;) {
        if (is->paused) return -1;
        int ret = ff::avcodec_receive_frame(is->audio_ctx, is->audio_frame);
        if (ret >= 0) {
            AVFrame* frame = is->audio_frame;
            const int rate = frame->sample_rate > 0 ? frame->sample_rate : is->audio_ctx->sample_rate;
            if (frame->pts != AV_NOPTS_VALUE)
                is->audio_clock = static_cast<double>(frame->pts) * av_q2d(is->audio_st->time_base);
            const int samples = frame->nb_samples;
            if (rate > 0) is->audio_clock = is->audio_clock + static_cast<double>(samples) / rate;
            ff::av_frame_unref(frame);
            const int bytes_per_sample = rate > 0 ? is->audio_bytes_per_sec / rate : 4;
            const int size = samples * bytes_per_sample;
            if (size > 0) return size;
            continue;
        }
        bool flush = false;
        if (PacketQueueGet(FSDL, is->audioq, is->audio_pkt, false, flush) <= 0) return -1;
        if (flush) {
            ff::avcodec_flush_buffers(is->audio_ctx);
            continue;
        }
        ff::avcodec_send_packet(is->audio_ctx, is->audio_pkt);
        ff::av_packet_unref(is->audio_pkt);
    }
}

void TCustomPlayer::AudioCallback(void* AOpaque, Uint8* AStream, int ALen)
{
    auto* is = static_cast<TVideoState*>(AOpaque);
    TCustomPlayer* player = is->Owner;
    while (ALen > 0) {
        if (is->audio_buf_index >= is->audio_buf_size) {
            const int size = player->AudioDecodeFrame(is);
            is->audio_buf_size = size < 0 ? 1024 : size;
            is->audio_buf_index = 0;
        }
        const int len = std::min(static_cast<int>(is->audio_buf_size - is->audio_buf_index), ALen);
        std::memset(AStream, 0, static_cast<size_t>(len));
        ALen -= len;
        AStream += len;
        is->audio_buf_index += len;
    }
}
