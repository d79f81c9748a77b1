// The audio path: SDL's fill callback, decoding on demand into 16-bit blocks of the device's layout, the audio
// hook, following a video or external master clock, volume and mute; and the wave or spectrum shown for sound
// without pictures.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"
#include "media/player/player_audio.h"
#include "media/player/player_threads.h"

namespace {

constexpr int SilenceBlock = 1024;

int64_t NowMicro() { return static_cast<int64_t>(PlayerNow() * 1000000.0); }

}  // namespace

void TCustomPlayer::AudioCallback(void* AOpaque, Uint8* AStream, int ALen)
{
    auto* is = static_cast<TVideoState*>(AOpaque);
    TCustomPlayer* player = is->Owner;
    player->Faudio_callback_time = NowMicro();
    const int frame_bytes = 2 * std::max(is->audio_channels, 1);
    while (ALen > 0) {
        if (is->audio_buf_index >= is->audio_buf_size) {
            double pts = 0;
            int size = player->AudioDecodeBlock(is, pts);
            if (is->audioq.abort_request) return;
            is->audio_buf = is->audio_buf1.data();
            if (size < 0) {
                // Nothing decoded now (paused, or the reading is behind): silence rather than a wait.
                std::memset(is->audio_buf, 0, SilenceBlock);
                size = SilenceBlock;
            } else {
                player->DeliverAudioHook(is, is->audio_buf, size, pts);
                if (is->show_audio != 0) {
                    std::lock_guard<std::mutex> lock(is->sample_lock);
                    is->sample_array_index = AppendSamples(is->sample_array, is->sample_array_index,
                                                           reinterpret_cast<const int16_t*>(is->audio_buf), size / 2);
                }
                const bool follows = (is->av_sync_type == AV_SYNC_VIDEO_MASTER && is->video_stream >= 0) ||
                                     is->av_sync_type == AV_SYNC_EXTERNAL_CLOCK;
                if (follows) {
                    TAudioSync sync{is->audio_diff_cum, is->audio_diff_avg_coef, is->audio_diff_threshold,
                                    is->audio_diff_avg_count};
                    const double diff = GetAudioClock(*is) - GetMasterClock(*is);
                    size = SynchronizeAudioBlock(sync, is->audio_buf, size, static_cast<int>(is->audio_buf1.size()),
                                                 frame_bytes, is->audio_freq, diff);
                    is->audio_diff_cum = sync.DiffCum;
                    is->audio_diff_avg_count = sync.AvgCount;
                }
            }
            is->audio_buf_size = size;
            is->audio_buf_index = 0;
        }
        const int len = std::min(static_cast<int>(is->audio_buf_size - is->audio_buf_index), ALen);
        const uint8_t* source = is->audio_buf + is->audio_buf_index;
        const int volume = player->FAudioVolume;
        // The samples are 16-bit whatever the file held, so the device's mixer scales them correctly.
        if (player->FMute || volume <= 0) {
            std::memset(AStream, 0, static_cast<size_t>(len));
        } else if (volume >= SDL_MIX_MAXVOLUME) {
            std::memcpy(AStream, source, static_cast<size_t>(len));
        } else {
            std::memset(AStream, 0, static_cast<size_t>(len));
            player->FSDL.SDL_MixAudio(AStream, source, static_cast<Uint32>(len), volume);
        }
        ALen -= len;
        AStream += len;
        is->audio_buf_index += len;
    }
}

// The next block in audio_buf1 with its time, or -1 when there is nothing to play now.
int TCustomPlayer::AudioDecodeBlock(TVideoState* is, double& APts)
{
    AVCodecContext* ctx = is->audio_ctx;
    AVFrame* frame = is->audio_frame;
    for (;;) {
        int ret = ff::avcodec_receive_frame(ctx, frame);
        if (ret >= 0) {
            if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
                is->audio_clock = static_cast<double>(frame->best_effort_timestamp) * av_q2d(is->audio_st->time_base);
            const int size = ConvertAudioFrame(is, frame);
            ff::av_frame_unref(frame);
            if (size <= 0) continue;
            APts = is->audio_clock;
            is->audio_clock = is->audio_clock + static_cast<double>(size) / is->audio_bytes_per_sec;
            return size;
        }
        if (is->paused || is->audioq.abort_request) return -1;
        bool flush = false;
        if (PacketQueueGet(FSDL, is->audioq, is->audio_pkt, false, flush) <= 0) return -1;
        if (flush) {
            ff::avcodec_flush_buffers(ctx);
            continue;
        }
        if (is->audio_pkt->pts != AV_NOPTS_VALUE)
            is->audio_clock = static_cast<double>(is->audio_pkt->pts) * av_q2d(is->audio_st->time_base);
        ret = ff::avcodec_send_packet(ctx, is->audio_pkt);
        ff::av_packet_unref(is->audio_pkt);
        if (ret < 0 && ret != AVERROR(EAGAIN) && ret != AVERROR_EOF)
            LoggerInstance()->Log(this, llInfo, "avcodec_decode_audio2() failed");
    }
}

// The frame as 16-bit samples of the device's layout and rate in audio_buf1; its size in bytes, 0 when dropped.
int TCustomPlayer::ConvertAudioFrame(TVideoState* is, AVFrame* AFrame)
{
    const int frame_bytes = 2 * is->audio_channels;
    const int capacity = AUDIO_BUFFER_SIZE / frame_bytes;  // sample frames; the rest of the buffer is stretch room
    AVChannelLayout layout{};
    if (AFrame->ch_layout.nb_channels > 0)
        ff::av_channel_layout_copy(&layout, &AFrame->ch_layout);
    else
        ff::av_channel_layout_copy(&layout, &is->audio_ctx->ch_layout);
    const int rate = AFrame->sample_rate > 0 ? AFrame->sample_rate : is->audio_ctx->sample_rate;
    const bool plain = AFrame->format == AV_SAMPLE_FMT_S16 && layout.nb_channels == is->audio_channels &&
                       rate == is->audio_freq;
    if (plain && is->reformat_ctx == nullptr) {
        ff::av_channel_layout_uninit(&layout);
        const int frames = std::min(AFrame->nb_samples, capacity);
        std::memcpy(is->audio_buf1.data(), AFrame->data[0], static_cast<size_t>(frames) * frame_bytes);
        return frames * frame_bytes;
    }
    if (is->reformat_ctx == nullptr || AFrame->format != is->audio_src_fmt || rate != is->audio_src_rate ||
        ff::av_channel_layout_compare(&layout, &is->audio_src_layout) != 0) {
        if (is->reformat_ctx != nullptr) ff::swr_free(&is->reformat_ctx);
        AVChannelLayout out{};
        ff::av_channel_layout_default(&out, is->audio_channels);
        int err = ff::swr_alloc_set_opts2(&is->reformat_ctx, &out, AV_SAMPLE_FMT_S16, is->audio_freq, &layout,
                                          static_cast<AVSampleFormat>(AFrame->format), rate, 0, nullptr);
        if (err >= 0) err = ff::swr_init(is->reformat_ctx);
        ff::av_channel_layout_uninit(&out);
        if (err < 0) {
            if (is->reformat_ctx != nullptr) ff::swr_free(&is->reformat_ctx);
            const char* from = ff::av_get_sample_fmt_name(static_cast<AVSampleFormat>(AFrame->format));
            ReportError(PlayerText("Cannot convert %s sample format to %s sample format", from != nullptr ? from : "?",
                                   ff::av_get_sample_fmt_name(AV_SAMPLE_FMT_S16)),
                        false);
            ff::av_channel_layout_uninit(&layout);
            is->audio_src_fmt = -1;
            return 0;
        }
        is->audio_src_fmt = AFrame->format;
        is->audio_src_rate = rate;
        ff::av_channel_layout_uninit(&is->audio_src_layout);
        ff::av_channel_layout_copy(&is->audio_src_layout, &layout);
    }
    ff::av_channel_layout_uninit(&layout);
    uint8_t* out = is->audio_buf1.data();
    const int frames = ff::swr_convert(is->reformat_ctx, &out, capacity,
                                       const_cast<const uint8_t**>(AFrame->extended_data), AFrame->nb_samples);
    if (frames < 0) {
        ReportError("av_audio_convert() failed", false);
        return 0;
    }
    return frames * frame_bytes;
}

void TCustomPlayer::DeliverAudioHook(TVideoState* is, uint8_t* ASamples, int ASize, double APts)
{
    // Sound starts while Open still waits for the read thread: the record is live from the moment that thread
    // holds it, before Open publishes it, or the first blocks would pass the hook by.
    if (FDying || !FAudioHook || !OnAudioHook || (FVideoState.load() != is && FVideoStateCB.load() != is)) return;
    const int64_t pts = std::llround(APts * 1000000.0) - is->StartTime;
    // SDL's audio thread must not die of a handler's error.
    try {
        OnAudioHook(this, pts, ASamples, ASize, is->audio_freq, is->audio_channels);
    } catch (const std::exception& E) {
        LoggerInstance()->Log(this, llError, std::string("Error occurs OnAudioHook: ") + E.what());
    }
}

namespace {

void FillRectangle(const TSDLEntries& ASDL, SDL_Surface* AScreen, int AX, int AY, int AWidth, int AHeight,
                   Uint32 AColor)
{
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(AX);
    rect.y = static_cast<Sint16>(AY);
    rect.w = static_cast<Uint16>(std::max(AWidth, 0));
    rect.h = static_cast<Uint16>(std::max(AHeight, 0));
    ASDL.SDL_FillRect(AScreen, &rect, AColor);
}

}  // namespace

void TCustomPlayer::VideoAudioDisplay(TVideoState* is)
{
    SDL_Surface* screen = Fscreen;
    if (screen == nullptr || is->width <= 0 || is->height <= 0) return;
    const int channels = std::max(is->audio_channels, 1);
    const int mode = is->show_audio;
    int bits = 1;
    while ((1 << bits) < 2 * is->height) ++bits;
    const int nb_freq = 1 << (bits - 1);

    std::vector<int16_t> samples;
    int sample_index;
    {
        std::lock_guard<std::mutex> lock(is->sample_lock);
        samples = is->sample_array;
        sample_index = is->sample_array_index;
    }
    int i_start;
    if (is->paused) {
        i_start = is->last_i_start;
    } else {
        const int data_used = mode == saWave ? is->width : 2 * nb_freq;
        int delay = (is->audio_buf_size - is->audio_buf_index) / (2 * channels);
        const int64_t callback = Faudio_callback_time;
        if (callback != 0)
            delay -= static_cast<int>((NowMicro() - callback) * is->audio_freq / 1000000);
        delay += 2 * data_used;
        if (delay < data_used) delay = data_used;
        i_start = ((sample_index - delay * channels) % SAMPLE_ARRAY_SIZE + SAMPLE_ARRAY_SIZE) % SAMPLE_ARRAY_SIZE;
        if (mode == saWave) i_start = WaveTriggerStart(samples, i_start, channels);
        is->last_i_start = i_start;
    }

    const Uint32 black = FSDL.SDL_MapRGB(screen->format, 0, 0, 0);
    const Uint32 white = FSDL.SDL_MapRGB(screen->format, 0xff, 0xff, 0xff);
    if (mode == saWave) {
        FillRectangle(FSDL, screen, is->xleft, is->ytop, is->width, is->height, black);
        const int h = is->height / channels;
        const int h2 = h * 9 / 20;
        for (int ch = 0; ch < channels; ++ch) {
            int i = (i_start + ch) % SAMPLE_ARRAY_SIZE;
            const int y1 = is->ytop + ch * h + h / 2;
            for (int x = 0; x < is->width; ++x) {
                int y = (samples[static_cast<size_t>(i)] * h2) >> 15;
                int ys = y1;
                if (y < 0) {
                    y = -y;
                    ys = y1 - y;
                }
                FillRectangle(FSDL, screen, is->xleft + x, ys, 1, y, white);
                i += channels;
                if (i >= SAMPLE_ARRAY_SIZE) i -= SAMPLE_ARRAY_SIZE;
            }
        }
        for (int ch = 1; ch < channels; ++ch)
            FillRectangle(FSDL, screen, is->xleft, is->ytop + ch * h, is->width, 1, white);
        FSDL.SDL_UpdateRect(screen, is->xleft, is->ytop, static_cast<Uint32>(is->width),
                            static_cast<Uint32>(is->height));
        return;
    }

    const int shown = std::min(channels, 2);
    std::vector<float> magnitudes[2];
    for (int ch = 0; ch < shown; ++ch) {
        std::vector<float> data(static_cast<size_t>(2 * nb_freq));
        int i = (i_start + ch) % SAMPLE_ARRAY_SIZE;
        for (int x = 0; x < 2 * nb_freq; ++x) {
            const double w = static_cast<double>(x - nb_freq) / nb_freq;
            data[static_cast<size_t>(x)] = static_cast<float>(samples[static_cast<size_t>(i)] * (1.0 - w * w));
            i += channels;
            if (i >= SAMPLE_ARRAY_SIZE) i -= SAMPLE_ARRAY_SIZE;
        }
        magnitudes[ch] = SpectrumMagnitudes(data);
    }
    is->rdft_bits = bits;
    const double scale = 1.0 / std::sqrt(static_cast<double>(nb_freq));
    for (int y = 0; y < is->height && y < nb_freq; ++y) {
        auto level = [&](int ACh) {
            return std::min(static_cast<int>(std::lround(std::sqrt(magnitudes[ACh][static_cast<size_t>(y)] * scale))),
                            255);
        };
        const int a = level(0);
        const int b = shown > 1 ? level(1) : a;
        const Uint32 colour = FSDL.SDL_MapRGB(screen->format, static_cast<Uint8>(a), static_cast<Uint8>(b),
                                              static_cast<Uint8>((a + b) / 2));
        FillRectangle(FSDL, screen, is->xpos, is->height - y, 1, 1, colour);
    }
    FSDL.SDL_UpdateRect(screen, is->xpos, is->ytop, 1, static_cast<Uint32>(is->height));
    is->xpos += 1;
    if (is->xpos >= is->width) is->xpos = is->xleft;
}
