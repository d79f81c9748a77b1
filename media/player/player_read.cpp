// Reading: opening the file on the read thread, choosing and opening streams, the read loop with seeking and the
// end of the file, and stream switching.
#include <cmath>

#include "media/loader/av_bindings.h"
#include "media/loader/interrupt_registry.h"
#include "media/log/ff_logger.h"
#include "media/player/player.h"
#include "media/player/player_audio.h"
#include "media/player/player_threads.h"
#include "media/util/ff_utils.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/main_thread_queue.h"

namespace {

constexpr int MAX_QUEUE_SIZE = 0xF00000;
constexpr int MIN_AUDIOQ_SIZE = 0x50000;
constexpr int MIN_FRAMES = 5;

bool QueueSatisfied(const TPacketQueue& AQueue, int AStream, bool ABytes, int ALimit)
{
    if (AStream < 0) return true;
    return ABytes ? AQueue.size > ALimit : AQueue.nb_packets > ALimit;
}

}  // namespace

int TPlayerThreadEntries::Read(void* AState)
{
    auto* is = static_cast<TVideoState*>(AState);
    is->Owner->ReadThread(is);
    return 0;
}

bool TCustomPlayer::StreamOpen(const std::string& AFileName, bool APaused)
{
    auto* is = new (std::nothrow) TVideoState;
    if (is == nullptr) {
        ReportError("av_mallocz() failed.", true);
        return false;
    }
    is->Owner = this;
    if (APaused) {
        is->paused = 1;
        is->open_paused = 1;
        is->OpenedPaused = true;
        Fstep = false;
    }
    is->filename = AFileName;
    is->iformat = Ffile_iformat;
    is->SDL = &FSDL;
    Fscreen = nullptr;  // SDL has just started again: a surface of an earlier playback went with its shut-down
    is->pictq_mutex = FSDL.SDL_CreateMutex();
    is->pictq_cond = FSDL.SDL_CreateCond();
    is->subpq_mutex = FSDL.SDL_CreateMutex();
    is->subpq_cond = FSDL.SDL_CreateCond();
    is->av_sync_type = Fav_sync_type;

    is->parse_tid = FSDL.SDL_CreateThread(&TPlayerThreadEntries::Read, is);
    if (is->parse_tid == nullptr) {
        ReportError("SDL_CreateThread() failed.", true);
        FSDL.SDL_DestroyMutex(is->pictq_mutex);
        FSDL.SDL_DestroyCond(is->pictq_cond);
        delete is;
        return false;
    }
    WaitForWithSlices([is] { return is->Opened != 0; }, 10);
    if (is->Opened > 0) {
        FVideoState = is;
        is->refresh_tid = FSDL.SDL_CreateThread(&TPlayerThreadEntries::Refresh, is);
        return true;
    }
    // The read thread has cleaned up and ends; join it before the record goes.
    WaitForWithSlices([is] { return is->Opened == -2; }, 10);
    FSDL.SDL_WaitThread(is->parse_tid, nullptr);
    FSDL.SDL_DestroyMutex(is->pictq_mutex);
    FSDL.SDL_DestroyCond(is->pictq_cond);
    delete is;
    return false;
}

bool TCustomPlayer::ReadTimeoutCallback(TObject* Sender)
{
    auto* player = static_cast<TCustomPlayer*>(Sender);
    const int timeout = player->FReadTimeout;
    const int64_t last = player->FLastRead;
    if (timeout <= 0 || last == INT64_MAX) return false;
    if (GetTickCountMicro() - last <= static_cast<int64_t>(timeout) * 1000) return false;
    LoggerInstance()->Log(player, llInfo, last == 0 ? "connecting/reading canceled" : "connecting/reading timeout");
    return true;
}

bool TCustomPlayer::AbortCallback(TObject* Sender)
{
    auto* player = static_cast<TCustomPlayer*>(Sender);
    TVideoState* is = player->FVideoStateCB;
    return is != nullptr && is->abort_request == 1;
}

// Opens the input and its streams; false with LastErrMsg set.
bool TCustomPlayer::ReadOpenInput(TVideoState* is)
{
    is->ic = ff::avformat_alloc_context();
    if (is->ic == nullptr) {
        SetLastErrMsg("av_mallocz() failed.");
        return false;
    }
    is->ic->interrupt_callback = InterruptCallback();
    AVDictionary* options = nullptr;
    if (Fframe_width > 0 && Fframe_height > 0)
        ff::av_dict_set(&options, "video_size", PlayerText("%dx%d", Fframe_width, Fframe_height).c_str(), 0);
    if (FLastRead != 0) FLastRead = GetTickCountMicro();
    const int err = ff::avformat_open_input(&is->ic, is->filename.c_str(), is->iformat, &options);
    ff::av_dict_free(&options);
    if (err < 0) {
        is->ic = nullptr;  // freed by the failed open
        SetLastErrMsg(AVErrorText(is->filename, err));
        return false;
    }
    AVFormatContext* ic = is->ic;
    if (Fgenpts) ic->flags |= AVFMT_FLAG_GENPTS;
    if (OnBeforeFindStreamInfo) OnBeforeFindStreamInfo(this, ic);
    if (FLastRead != 0) FLastRead = GetTickCountMicro();
    if (ff::avformat_find_stream_info(ic, nullptr) < 0) {
        SetLastErrMsg(is->filename + ": could not find codec parameters");
        return false;
    }
    if (ic->pb != nullptr) {
        ic->pb->eof_reached = 0;
        ic->pb->error = 0;
    }
    if (Fseek_by_bytes < 0) Fseek_by_bytes = (ic->iformat->flags & AVFMT_TS_DISCONT) != 0 ? 1 : 0;
    const std::string format = ic->iformat->name;
    is->IsImage2 = format == "image2";
    is->IsDevice = format == "vfwcap" || format == "vfwcapture";
    is->StartTime = ic->start_time != AV_NOPTS_VALUE ? ic->start_time : 0;
    is->Duration = ic->duration != AV_NOPTS_VALUE ? ic->duration : -1;

    if (Fstart_time != NotSet) {
        int64_t target = Fstart_time;
        if (ic->start_time != AV_NOPTS_VALUE) target += ic->start_time;
        if (FLastRead != 0) FLastRead = GetTickCountMicro();
        if (ff::avformat_seek_file(ic, -1, INT64_MIN, target, INT64_MAX, 0) < 0)
            ReportError(PlayerText("%s: could not seek to position %0.3f", is->filename.c_str(),
                                   static_cast<double>(target) / 1000000.0),
                        false);
    }

    for (unsigned i = 0; i < ic->nb_streams; ++i) ic->streams[i]->discard = AVDISCARD_ALL;
    int st_index[AVMEDIA_TYPE_NB] = {-1, -1, -1, -1, -1};
    if (!Fvideo_disable)
        st_index[AVMEDIA_TYPE_VIDEO] =
            ff::av_find_best_stream(ic, AVMEDIA_TYPE_VIDEO, Fwanted_stream[AVMEDIA_TYPE_VIDEO], -1, nullptr, 0);
    if (!Faudio_disable)
        st_index[AVMEDIA_TYPE_AUDIO] = ff::av_find_best_stream(
            ic, AVMEDIA_TYPE_AUDIO, Fwanted_stream[AVMEDIA_TYPE_AUDIO], st_index[AVMEDIA_TYPE_VIDEO], nullptr, 0);
    if (!Fvideo_disable)
        st_index[AVMEDIA_TYPE_SUBTITLE] = ff::av_find_best_stream(
            ic, AVMEDIA_TYPE_SUBTITLE, Fwanted_stream[AVMEDIA_TYPE_SUBTITLE],
            st_index[AVMEDIA_TYPE_AUDIO] >= 0 ? st_index[AVMEDIA_TYPE_AUDIO] : st_index[AVMEDIA_TYPE_VIDEO],
            nullptr, 0);

    // From here on only a stop ends blocking reads; the time-out covered the open, analysis and first seek.
    FLastRead = INT64_MAX;
    InterruptCB->Remove(win::GetCurrentThreadId(), this, &ReadTimeoutCallback);
    FVideoStateCB = is;
    InterruptCB->Add(win::GetCurrentThreadId(), this, &AbortCallback);

    if (st_index[AVMEDIA_TYPE_AUDIO] >= 0) StreamComponentOpen(is, st_index[AVMEDIA_TYPE_AUDIO]);
    if (st_index[AVMEDIA_TYPE_VIDEO] >= 0) StreamComponentOpen(is, st_index[AVMEDIA_TYPE_VIDEO]);
    if (is->video_stream < 0 && !Fdisplay_disable) is->show_audio = FShowAudio.load();
    if (st_index[AVMEDIA_TYPE_SUBTITLE] >= 0) StreamComponentOpen(is, st_index[AVMEDIA_TYPE_SUBTITLE]);
    if (is->video_stream < 0 && is->audio_stream < 0) {
        SetLastErrMsg(is->filename + ": could not open codecs, no stream to play.");
        return false;
    }
    return true;
}

void TCustomPlayer::ReadThread(TVideoState* is)
{
    const Cardinal thread = win::GetCurrentThreadId();
    if (FLastRead != 0) FLastRead = INT64_MAX;
    InterruptCB->Add(thread, this, &ReadTimeoutCallback);
    const bool opened = ReadOpenInput(is);
    if (opened) {
        is->Opened = 1;
        ReadLoop(is);
    } else {
        is->Opened = -1;
        LoggerInstance()->Log(this, llError, LastErrMsg());
    }

    FLastRead = INT64_MAX;
    InterruptCB->Remove(thread, this, &ReadTimeoutCallback);
    InterruptCB->Remove(thread, this, &AbortCallback);
    FVideoStateCB = nullptr;
    if (is->audio_stream >= 0) StreamComponentClose(is, is->audio_stream);
    if (is->video_stream >= 0) StreamComponentClose(is, is->video_stream);
    if (is->subtitle_stream >= 0) StreamComponentClose(is, is->subtitle_stream);
    if (is->ic != nullptr) ff::avformat_close_input(&is->ic);
    if (!opened) {
        PushQuit(is);
        is->Opened = -2;
    }
}

void TCustomPlayer::ReadLoop(TVideoState* is)
{
    AVFormatContext* ic = is->ic;
    AVPacket* pkt = ff::av_packet_alloc();
    bool eof = false;
    while (!is->abort_request) {
        if (is->paused != is->last_paused) {
            is->last_paused = is->paused;
            if (is->paused)
                is->read_pause_return = ff::av_read_pause(ic);
            else
                ff::av_read_play(ic);
        }
        if (is->seek_req) {
            ReadSeek(is);
            eof = false;
        }
        const bool full = is->audioq.size + is->videoq.size + is->subtitleq.size > MAX_QUEUE_SIZE;
        if (full || (QueueSatisfied(is->audioq, is->audio_stream, true, MIN_AUDIOQ_SIZE) &&
                     QueueSatisfied(is->videoq, is->video_stream, false, MIN_FRAMES) &&
                     QueueSatisfied(is->subtitleq, is->subtitle_stream, false, MIN_FRAMES))) {
            win::Sleep(10);
            continue;
        }
        if (eof) {
            {
                std::lock_guard route(is->RouteLock);
                if (is->video_stream >= 0) {
                    // An empty packet drains the decoder and tells the video side the end has come.
                    AVPacket* end = ff::av_packet_alloc();
                    end->stream_index = is->video_stream;
                    PacketQueuePut(FSDL, is->videoq, end, &Fflush_pkt);
                    ff::av_packet_free(&end);
                    // No picture follows a seek that landed at the end: the seek is over all the same.
                    if (FSeeking && !is->seek_req) FSeeking = false;
                    FPictEvent.SetEvent();
                }
            }
            win::Sleep(10);
            if (is->audioq.nb_packets == 0 && is->videoq.nb_packets == 0 && is->subtitleq.nb_packets == 0)
                is->ReachEOF = 1;
            continue;
        }
        is->Reading = 1;
        const int ret = ff::av_read_frame(ic, pkt);
        is->Reading = 0;
        if (is->abort_request) break;
        if (ret < 0) {
            ReadFailed(is, ret, eof);
            if (ic->pb != nullptr && ic->pb->error != 0) {
                // Nothing more can be read: what is queued still plays, and then the playback ends as at the
                // end of the file (a seek tries again).
                if (FCheckIOERR) {
                    eof = true;
                    continue;
                }
                ic->pb->eof_reached = 0;
                ic->pb->error = 0;
            }
            if (!eof) win::Sleep(100);
            continue;
        }
        {
            std::lock_guard route(is->RouteLock);
            if (pkt->stream_index == is->audio_stream)
                PacketQueuePut(FSDL, is->audioq, pkt, &Fflush_pkt);
            else if (pkt->stream_index == is->video_stream)
                PacketQueuePut(FSDL, is->videoq, pkt, &Fflush_pkt);
            else if (pkt->stream_index == is->subtitle_stream)
                PacketQueuePut(FSDL, is->subtitleq, pkt, &Fflush_pkt);
        }
        ff::av_packet_unref(pkt);
    }
    ff::av_packet_free(&pkt);
    while (!is->abort_request) win::Sleep(100);
}

void TCustomPlayer::ReadFailed(TVideoState* is, int ACode, bool& AEOF)
{
    AVIOContext* pb = is->ic->pb;
    if (is->video_stream >= 0) FPictEvent.SetEvent();
    auto reached_end = [&] {
        AEOF = true;
        if (!is->IsImage2 && !is->IOEOFLog) {
            is->IOEOFLog = true;
            LoggerInstance()->Log(this, llInfo, "reach end of file: " + is->filename);
        }
    };
    if (ACode == AVERROR(EAGAIN)) {
        if (pb != nullptr) pb->eof_reached = pb->error = 0;
    } else if (ACode == AVERROR_EOF) {
        reached_end();
    } else if (pb != nullptr && pb->error == AVERROR(EAGAIN)) {
        pb->eof_reached = pb->error = 0;
    } else if (pb != nullptr && pb->eof_reached) {
        if (FCheckIOEOF)
            reached_end();
        else
            pb->eof_reached = pb->error = 0;
    } else if (!is->IsImage2 && !is->IOERRLog) {
        is->IOERRLog = true;
        ReportError(PlayerText("error #%d while reading file: %s", ACode, is->filename.c_str()), false);
    }
}

void TCustomPlayer::ReadSeek(TVideoState* is)
{
    AVFormatContext* ic = is->ic;
    const int64_t target = is->seek_pos;
    const int64_t rel = is->seek_rel;
    const int flags = is->seek_flags;
    const int64_t min = rel > 0 ? target - rel + 2 : INT64_MIN;
    const int64_t max = rel < 0 ? target - rel - 2 : INT64_MAX;
    int ret = ff::avformat_seek_file(ic, -1, min, target, max, flags);
    if (ret < 0) ret = ff::av_seek_frame(ic, -1, target, flags);
    if (ret < 0) ret = ff::av_seek_frame(ic, -1, target, flags ^ AVSEEK_FLAG_BACKWARD);
    if (ret < 0) {
        ReportError(is->filename + ": error while seeking", false);
        if (is->video_stream >= 0) FPictEvent.SetEvent();
    } else {
        std::lock_guard route(is->RouteLock);
        if (is->audio_stream >= 0) {
            PacketQueueFlush(FSDL, is->audioq);
            PacketQueuePut(FSDL, is->audioq, &Fflush_pkt, &Fflush_pkt);
        }
        if (is->subtitle_stream >= 0) {
            PacketQueueFlush(FSDL, is->subtitleq);
            PacketQueuePut(FSDL, is->subtitleq, &Fflush_pkt, &Fflush_pkt);
        }
        if (is->video_stream >= 0) {
            // Marked before the flush: a picture the video thread still decodes from before it neither ends the
            // seek nor wakes a waiter of the seek.
            is->seek_flushed = 0;
            is->seek_done = 1;
            PacketQueueFlush(FSDL, is->videoq);
            PacketQueuePut(FSDL, is->videoq, &Fflush_pkt, &Fflush_pkt);
            FPictEvent.ResetEvent();
        }
    }
    is->IOEOFLog = false;
    is->IOERRLog = false;
    is->ReachEOF = 0;
    is->seek_req = 0;
    is->seek_done = 1;
    FSeekEvent.SetEvent();
    if (is->video_stream < 0) FSeeking = false;
    if (ic->pb != nullptr) ic->pb->eof_reached = ic->pb->error = 0;
}

void TCustomPlayer::ChooseFrameDelay(TVideoState* is, int AIndex)
{
    AVStream* st = is->ic->streams[AIndex];
    AVCodecContext* ctx = is->video_ctx;
    const AVRational rate = ff::av_guess_frame_rate(is->ic, st, nullptr);
    AVRational forced{0, 0};
    if (!FForceFrameRate.empty() && ff::av_parse_video_rate(&forced, FForceFrameRate.c_str()) >= 0 &&
        forced.num > 0 && forced.den > 0) {
        LoggerInstance()->Log(this, llInfo,
                              PlayerText("Force stream %d frame rate: %2.2f (%d/%d) -> %2.2f (%d/%d)", AIndex,
                                         rate.den > 0 ? av_q2d(rate) : 0.0, rate.num, rate.den, av_q2d(forced),
                                         forced.num, forced.den));
        is->frame_delay = static_cast<double>(forced.den) / forced.num;
        return;
    }
    // Seconds per frame: the codec's own rate counts whole frames (not the ticks of a field-coded stream).
    const AVRational codec = ctx->framerate;
    const bool codec_known = codec.num > 0 && codec.den > 0;
    const bool stream_known = rate.num > 0 && rate.den > 0;
    if (codec_known && (!FAutoAdjustFrameRate || !stream_known || av_cmp_q(codec, rate) == 0)) {
        is->frame_delay = av_q2d(av_inv_q(codec));
    } else if (stream_known) {
        if (codec_known)
            LoggerInstance()->Log(
                this, llInfo,
                PlayerText("Seems stream %d codec frame rate differs from container frame rate: %2.2f (%d/%d) -> "
                           "%2.2f (%d/%d)",
                           AIndex, av_q2d(codec), codec.num, codec.den, av_q2d(rate), rate.num, rate.den));
        is->frame_delay = av_q2d(av_inv_q(rate));
    } else {
        is->frame_delay = 0.04;
    }
}

int TCustomPlayer::StreamComponentOpen(TVideoState* is, int AIndex)
{
    AVFormatContext* ic = is->ic;
    if (AIndex < 0 || AIndex >= static_cast<int>(ic->nb_streams)) return -1;
    AVStream* st = ic->streams[AIndex];
    const AVCodec* codec = ff::avcodec_find_decoder(st->codecpar->codec_id);
    AVCodecContext* ctx = codec != nullptr ? ff::avcodec_alloc_context3(codec) : nullptr;
    if (ctx == nullptr || ff::avcodec_parameters_to_context(ctx, st->codecpar) < 0) {
        ff::avcodec_free_context(&ctx);
        ReportError("avcodec_open() failed.", false);
        return -1;
    }
    ctx->pkt_timebase = st->time_base;
    ctx->workaround_bugs = Fworkaround_bugs;
    ctx->lowres = Flowres;
    ctx->idct_algo = Fidct_algo;
    if (Ffast) ctx->flags2 |= AV_CODEC_FLAG2_FAST;
    ctx->err_recognition = Ferror_recognition;
    ctx->error_concealment = Ferror_concealment;
    ctx->thread_count = 1;
    if (ff::avcodec_open2(ctx, codec, nullptr) < 0) {
        ff::avcodec_free_context(&ctx);
        ReportError("avcodec_open() failed.", false);
        return -1;
    }
    switch (ctx->codec_type) {
    case AVMEDIA_TYPE_AUDIO: {
        const int channels = ctx->ch_layout.nb_channels < 1 || ctx->ch_layout.nb_channels > 2
                                 ? 2
                                 : ctx->ch_layout.nb_channels;
        if (ctx->sample_rate <= 0) {
            ReportError("SDL_OpenAudio() failed: ", false);
            ff::avcodec_free_context(&ctx);
            return -1;
        }
        // Everything the audio callback reads is in place before SDL starts the thread that calls it.
        is->audio_bytes_per_sec = ctx->sample_rate * 2 * channels;
        is->audio_channels = channels;
        is->audio_freq = ctx->sample_rate;
        is->audio_src_fmt = -1;
        is->audio_diff_avg_coef = std::exp(std::log(0.01) / AUDIO_DIFF_AVG_NB);
        is->audio_diff_avg_count = 0;
        is->audio_diff_cum = 0;
        is->audio_diff_threshold = 2.0 * 1024 / ctx->sample_rate;
        // Room for the largest block and its stretch by 10 %.
        is->audio_buf1.assign(AUDIO_BUFFER_SIZE + AUDIO_BUFFER_SIZE / 10 + 16, 0);
        is->audio_buf = is->audio_buf1.data();
        is->audio_ctx = ctx;
        is->audio_st = st;
        is->audio_buf_size = 0;
        is->audio_buf_index = 0;
        is->audio_frame = ff::av_frame_alloc();
        is->audio_pkt = ff::av_packet_alloc();
        PacketQueueInit(FSDL, is->audioq);
        PacketQueuePut(FSDL, is->audioq, &Fflush_pkt, &Fflush_pkt);
        SDL_AudioSpec wanted{};
        wanted.freq = ctx->sample_rate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = static_cast<Uint8>(channels);
        wanted.samples = 1024;
        wanted.callback = &TCustomPlayer::AudioCallback;
        wanted.userdata = is;
        if (FSDL.SDL_OpenAudio(&wanted, nullptr) < 0) {
            ReportError(std::string("SDL_OpenAudio() failed: ") + FSDL.SDL_GetError(), false);
            PacketQueueEnd(FSDL, is->audioq);
            ff::av_frame_free(&is->audio_frame);
            ff::av_packet_free(&is->audio_pkt);
            ff::avcodec_free_context(&is->audio_ctx);
            is->audio_st = nullptr;
            return -1;
        }
        is->audio_hw_buf_size = static_cast<int>(wanted.size);
        st->discard = AVDISCARD_DEFAULT;
        is->AudioDuration = st->duration != AV_NOPTS_VALUE
                                ? ff::av_rescale_q(st->duration, st->time_base, AVRational{1, AV_TIME_BASE})
                                : -1;
        is->audio_stream = AIndex;
        FSDL.SDL_PauseAudio(0);
        break;
    }
    case AVMEDIA_TYPE_VIDEO:
        st->discard = AVDISCARD_DEFAULT;
        is->video_ctx = ctx;
        is->video_st = st;
        ChooseFrameDelay(is, AIndex);
        PacketQueueInit(FSDL, is->videoq);
        PacketQueuePut(FSDL, is->videoq, &Fflush_pkt, &Fflush_pkt);
        is->video_stream = AIndex;
        is->video_tid = FSDL.SDL_CreateThread(&TPlayerThreadEntries::Video, is);
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        st->discard = AVDISCARD_DEFAULT;
        is->subtitle_ctx = ctx;
        is->subtitle_st = st;
        PacketQueueInit(FSDL, is->subtitleq);
        PacketQueuePut(FSDL, is->subtitleq, &Fflush_pkt, &Fflush_pkt);
        is->subtitle_stream = AIndex;
        is->subtitle_tid = FSDL.SDL_CreateThread(&TPlayerThreadEntries::Subtitle, is);
        break;
    default:
        ff::avcodec_free_context(&ctx);
        return -1;
    }
    return 0;
}

void TCustomPlayer::StreamComponentClose(TVideoState* is, int AIndex)
{
    AVFormatContext* ic = is->ic;
    if (ic == nullptr || AIndex < 0 || AIndex >= static_cast<int>(ic->nb_streams)) return;
    AVStream* st = ic->streams[AIndex];
    // The read thread routes packets by these indexes: take the stream out of the routing before its queue
    // goes, so no packet of it can reach a queue being ended.
    {
        std::lock_guard route(is->RouteLock);
        st->discard = AVDISCARD_ALL;
        if (AIndex == is->video_stream) is->video_stream = -1;
        else if (AIndex == is->audio_stream) is->audio_stream = -1;
        else if (AIndex == is->subtitle_stream) is->subtitle_stream = -1;
        else return;
    }
    switch (st->codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        PacketQueueAbort(FSDL, is->videoq);
        FSDL.SDL_LockMutex(is->pictq_mutex);
        FSDL.SDL_CondSignal(is->pictq_cond);
        FSDL.SDL_UnlockMutex(is->pictq_mutex);
        FSDL.SDL_WaitThread(is->video_tid, nullptr);
        is->video_tid = nullptr;
        PacketQueueEnd(FSDL, is->videoq);
        ff::avcodec_free_context(&is->video_ctx);
        is->video_st = nullptr;
        break;
    case AVMEDIA_TYPE_AUDIO:
        PacketQueueAbort(FSDL, is->audioq);
        FSDL.SDL_CloseAudio();
        PacketQueueEnd(FSDL, is->audioq);
        ff::avcodec_free_context(&is->audio_ctx);
        ff::av_frame_free(&is->audio_frame);
        ff::av_packet_free(&is->audio_pkt);
        is->audio_st = nullptr;
        is->AudioDuration = -1;
        break;
    case AVMEDIA_TYPE_SUBTITLE:
        PacketQueueAbort(FSDL, is->subtitleq);
        // Wakes a subtitle thread waiting for room; the display drops what is queued.
        FSDL.SDL_LockMutex(is->subpq_mutex);
        is->subtitle_stream_changed = 1;
        FSDL.SDL_CondSignal(is->subpq_cond);
        FSDL.SDL_UnlockMutex(is->subpq_mutex);
        FSDL.SDL_WaitThread(is->subtitle_tid, nullptr);
        is->subtitle_tid = nullptr;
        PacketQueueEnd(FSDL, is->subtitleq);
        ff::avcodec_free_context(&is->subtitle_ctx);
        is->subtitle_st = nullptr;
        break;
    default:
        break;
    }
}

bool TCustomPlayer::StreamSwitch(TVideoState* is, AVMediaType AKind, int AIndex)
{
    const bool subtitle = AKind == AVMEDIA_TYPE_SUBTITLE;
    const int current = AKind == AVMEDIA_TYPE_VIDEO   ? is->video_stream.load()
                        : AKind == AVMEDIA_TYPE_AUDIO ? is->audio_stream.load()
                                                      : is->subtitle_stream.load();
    const int lowest = subtitle ? -1 : 0;
    if (current < lowest) {
        ReportError("the current stream is not valid.", true);
        return false;
    }
    if (AIndex < lowest || AIndex >= static_cast<int>(is->ic->nb_streams)) {
        ReportError("the stream index is not valid.", true);
        return false;
    }
    if (AIndex == current) return true;
    if (AIndex == -1) {
        StreamComponentClose(is, current);
        return true;
    }
    const AVCodecParameters* par = is->ic->streams[AIndex]->codecpar;
    if (par->codec_type != AKind) {
        ReportError("the stream type is not matched.", true);
        return false;
    }
    if (AKind == AVMEDIA_TYPE_AUDIO && (par->sample_rate == 0 || par->ch_layout.nb_channels == 0)) {
        ReportError("the audio stream is not invalid.", true);
        return false;
    }
    if (AKind != AVMEDIA_TYPE_VIDEO && AKind != AVMEDIA_TYPE_AUDIO && !subtitle) {
        ReportError("the stream type is invalid.", true);
        return false;
    }
    if (current >= 0) StreamComponentClose(is, current);
    StreamComponentOpen(is, AIndex);
    return true;
}
