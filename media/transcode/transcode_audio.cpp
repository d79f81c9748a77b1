// The audio and subtitle paths of a run. Audio of any sample format goes through the resampler into a fifo of
// the encoder's format and leaves it in frames of the encoder's size; everything is counted in sample frames,
// never in bytes, so that planar and wide formats are cut only between whole samples.
#include <algorithm>
#include <cstring>

#include "media/loader/av_bindings.h"
#include "media/transcode/transcode_run.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"

namespace {

// Below this many samples of difference the audio is left alone by the sync.
constexpr int64_t SyncThresholdSamples = 50;

// A frame of ACount samples in the encoder's format, layout and rate.
TFramePtr EncoderSamples(const AVCodecContext* AEncoder, int ACount)
{
    TFramePtr frame(ff::av_frame_alloc());
    if (!frame) throw FFmpegException("Out of memory in do_audio_out");
    frame->format = AEncoder->sample_fmt;
    ff::av_channel_layout_copy(&frame->ch_layout, &AEncoder->ch_layout);
    frame->sample_rate = AEncoder->sample_rate;
    frame->nb_samples = ACount;
    if (ff::av_frame_get_buffer(frame.get(), 0) < 0) throw FFmpegException("Out of memory in do_audio_out");
    return frame;
}

}  // namespace

void TTranscodeRun::SetUpResampler(TOutputStreamRun& AOst, const AVFrame* AFrame)
{
    const bool same = AOst.swr != nullptr && AOst.swr_in_format == AFrame->format &&
                      AOst.swr_in_rate == AFrame->sample_rate &&
                      ff::av_channel_layout_compare(&AOst.swr_in_layout, &AFrame->ch_layout) == 0;
    if (same) return;
    AVCodecContext* enc = AOst.enc;
    if (AOst.swr != nullptr) {
        E.Log(llInfo, StrFormat("Input stream #%d.%d frame changed from rate:%d fmt:%s ch:%d to rate:%d fmt:%s ch:%d",
                                FInputs[AOst.source].file_index, FInputs[AOst.source].stream_index,
                                AOst.swr_in_rate,
                                ff::av_get_sample_fmt_name(static_cast<AVSampleFormat>(AOst.swr_in_format)),
                                AOst.swr_in_layout.nb_channels, AFrame->sample_rate,
                                ff::av_get_sample_fmt_name(static_cast<AVSampleFormat>(AFrame->format)),
                                AFrame->ch_layout.nb_channels));
        // What the old resampler still holds belongs before the new input.
        DrainResampler(AOst);
        ff::swr_free(&AOst.swr);
    }
    const int result = ff::swr_alloc_set_opts2(&AOst.swr, &enc->ch_layout, enc->sample_fmt, enc->sample_rate,
                                               const_cast<AVChannelLayout*>(&AFrame->ch_layout), static_cast<AVSampleFormat>(AFrame->format),
                                               AFrame->sample_rate, 0, nullptr);
    if (result >= 0 && E.Faudio_volume != 256)
        ff::av_opt_set_double(AOst.swr, "rematrix_volume", E.Faudio_volume / 256.0, 0);
    if (result < 0 || ff::swr_init(AOst.swr) < 0) {
        if (AOst.swr != nullptr) ff::swr_free(&AOst.swr);
        throw FFmpegException(StrFormat("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                        AFrame->ch_layout.nb_channels, AFrame->sample_rate,
                                        enc->ch_layout.nb_channels, enc->sample_rate));
    }
    ff::av_channel_layout_uninit(&AOst.swr_in_layout);
    ff::av_channel_layout_copy(&AOst.swr_in_layout, &AFrame->ch_layout);
    AOst.swr_in_rate = AFrame->sample_rate;
    AOst.swr_in_format = AFrame->format;
}

void TTranscodeRun::AudioFrame(TOutputStreamRun& AOst, TInputStreamRun& AIst, AVFrame* AFrame)
{
    if (LimitReached(AOst) || AOst.enc == nullptr || AFrame->nb_samples <= 0) return;
    SetUpResampler(AOst, AFrame);
    AVCodecContext* enc = AOst.enc;
    const AVRational sample_base{1, enc->sample_rate};
    const int64_t pts_us = AFrame->best_effort_timestamp == AV_NOPTS_VALUE
                               ? AV_NOPTS_VALUE
                               : ToMicroseconds(AFrame->best_effort_timestamp, AIst.st->time_base) +
                                     FileOffset(AIst.file_index);
    const int64_t expected = pts_us == AV_NOPTS_VALUE ? AV_NOPTS_VALUE
                                                      : ff::av_rescale_q(pts_us, AV_TIME_BASE_Q, sample_base);
    if (AOst.next_audio_pts == AV_NOPTS_VALUE) {
        const int64_t start = expected == AV_NOPTS_VALUE ? 0 : expected;
        // With a sync method the output starts at the start of the time line and a late sound is preceded by
        // silence; without one the first sample is simply stamped with its time.
        AOst.next_audio_pts = E.Faudio_sync_method != 0 ? 0 : std::max<int64_t>(0, start);
        AOst.samples_skip = start < 0 && E.Faudio_sync_method == 0 ? -start : 0;
    }
    if (E.Faudio_sync_method != 0 && expected != AV_NOPTS_VALUE) SyncAudio(AOst, AIst, AFrame, expected);
    if (E.Faudio_sync_method == 0 && expected != AV_NOPTS_VALUE) FollowInputTime(AOst, AIst, expected);
    const int samples = JoinedSamples(AIst, AFrame);
    const int capacity = ff::swr_get_out_samples(AOst.swr, samples);
    if (capacity <= 0) return;
    const TFramePtr converted = EncoderSamples(enc, capacity);
    const int count = ff::swr_convert(AOst.swr, converted->extended_data, capacity,
                                      const_cast<const uint8_t**>(AFrame->extended_data), samples);
    if (count > 0) {
        int64_t take = count;
        const int64_t room = AOst.samples_limit - (AOst.next_audio_pts + ff::av_audio_fifo_size(AOst.fifo));
        ff::av_audio_fifo_write(AOst.fifo, reinterpret_cast<void**>(converted->extended_data), count);
        if (AOst.samples_skip > 0) {
            const int64_t skip = std::min<int64_t>(AOst.samples_skip, ff::av_audio_fifo_size(AOst.fifo));
            ff::av_audio_fifo_drain(AOst.fifo, static_cast<int>(skip));
            AOst.samples_skip -= skip;
            take -= skip;
        }
        if (take > room) {
            // The recording end falls inside this frame: only the samples before it stay.
            const int64_t excess = take - std::max<int64_t>(room, 0);
            const int keep = ff::av_audio_fifo_size(AOst.fifo) - static_cast<int>(excess);
            const TFramePtr kept = EncoderSamples(enc, std::max(keep, 1));
            if (keep > 0) ff::av_audio_fifo_read(AOst.fifo, reinterpret_cast<void**>(kept->extended_data), keep);
            ff::av_audio_fifo_drain(AOst.fifo, ff::av_audio_fifo_size(AOst.fifo));
            if (keep > 0) ff::av_audio_fifo_write(AOst.fifo, reinterpret_cast<void**>(kept->extended_data), keep);
            AOst.finished = true;
        }
    }
    if (count < 0) throw FFmpegException("Audio encoding failed");
    EncodeAudioFromFifo(AOst, AOst.finished);
}

void TTranscodeRun::FollowInputTime(TOutputStreamRun& AOst, const TInputStreamRun& AIst, int64_t AExpected)
{
    // Without a sync method the sound keeps to its input's time stamps: after a stretch lost from a damaged
    // source it goes on where its own time says, not where the samples counted so far would put it. A step
    // within the rounding of the input's clock is no jump (millisecond time stamps of sound at 48 kHz).
    if (AOst.samples_skip > 0) return;
    const int rate = AOst.enc->sample_rate;
    const AVRational tick = AIst.st->time_base;
    const int64_t tolerance = 1 + (static_cast<int64_t>(rate) * tick.num + tick.den - 1) / std::max(tick.den, 1);
    const int64_t delta = AExpected - SamplesWritten(AOst);
    if (std::llabs(delta) > tolerance) AOst.next_audio_pts = std::max<int64_t>(0, AOst.next_audio_pts + delta);
}

int TTranscodeRun::JoinedSamples(const TInputStreamRun& AIst, const AVFrame* AFrame) const
{
    // Decoders hand out whole frames even where the container ends the sound earlier (the encoder's padding at
    // the end of a file). In a join the next input starts where this one ends, so that padding would put a gap
    // of silence at every joint and move each later input late; the frame keeps only its packet's duration.
    if (!E.JoinMode() || AFrame->pkt_duration <= 0 || AFrame->sample_rate <= 0) return AFrame->nb_samples;
    const int64_t lasting =
        ff::av_rescale_q(AFrame->pkt_duration, AIst.st->time_base, AVRational{1, AFrame->sample_rate});
    return static_cast<int>(std::clamp<int64_t>(lasting, 1, AFrame->nb_samples));
}

void TTranscodeRun::SyncAudio(TOutputStreamRun& AOst, TInputStreamRun& AIst, const AVFrame* AFrame, int64_t AExpected)
{
    AVCodecContext* enc = AOst.enc;
    const size_t source = static_cast<size_t>(&AIst - FInputs.data());
    if (FAudioAtStart.size() < FInputs.size()) FAudioAtStart.resize(FInputs.size(), 1);
    // Where the output has got to, in sample frames, against where the sound of this frame belongs.
    const int64_t delta = AExpected - SamplesWritten(AOst);
    if (std::llabs(delta) <= SyncThresholdSamples) return;
    const int rate = enc->sample_rate;
    if (FAudioAtStart[source] != 0 || std::llabs(delta) > static_cast<int64_t>(E.Faudio_drift_threshold * rate)) {
        if (delta < 0) {
            // Too many samples: only this frame's own can go.
            const int64_t own = static_cast<int64_t>(AFrame->nb_samples) * rate / std::max(AFrame->sample_rate, 1);
            const int64_t drop = std::min<int64_t>(-delta, own);
            if (E.Fverbose > 2) E.Log(llVerbose, StrFormat("discarding %d audio samples", static_cast<int>(-delta)));
            AOst.samples_skip += drop;
        } else if (delta < rate * 60LL) {
            if (E.Fverbose > 2)
                E.Log(llVerbose, StrFormat("adding %d audio samples of silence", static_cast<int>(delta)));
            AppendSilence(AOst, static_cast<int>(delta));
        }
        FAudioAtStart[source] = 0;
        return;
    }
    if (E.Faudio_sync_method <= 1) return;
    // A small drift is spread over the next second of sound by the resampler, a few samples at a time.
    const int method = E.Faudio_sync_method;
    const int compensation = static_cast<int>(std::clamp<int64_t>(delta, -method, method));
    if (E.Fverbose > 2)
        E.Log(llVerbose, StrFormat("compensating audio timestamp drift:%f compensation:%d in:%d",
                                   static_cast<double>(delta), compensation, rate));
    if (ff::swr_set_compensation(AOst.swr, compensation, rate) < 0)
        throw FFmpegException(StrFormat("Can not compensate the audio drift of output stream %s",
                                        StreamName(AOst).c_str()));
}

void TTranscodeRun::EncodeAudioFromFifo(TOutputStreamRun& AOst, bool AFlush)
{
    AVCodecContext* enc = AOst.enc;
    const bool variable = enc->frame_size <= 0 || (enc->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) != 0;
    const bool small_last = (enc->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME) != 0;
    const int frame_size = variable ? 4096 : enc->frame_size;
    while (true) {
        const int available = ff::av_audio_fifo_size(AOst.fifo);
        if (available <= 0) break;
        if (!variable && available < frame_size && !AFlush) break;
        const int take = std::min(available, frame_size);
        // A short last frame is padded with silence for encoders that only take whole frames.
        const bool padded = !variable && take < frame_size && !small_last;
        const TFramePtr frame = EncoderSamples(enc, padded ? frame_size : take);
        ff::av_audio_fifo_read(AOst.fifo, reinterpret_cast<void**>(frame->extended_data), take);
        if (frame->nb_samples > take)
            ff::av_samples_set_silence(frame->extended_data, take, frame->nb_samples - take,
                                       enc->ch_layout.nb_channels, enc->sample_fmt);
        frame->pts = AOst.next_audio_pts;
        AOst.next_audio_pts += take;
        ++AOst.frame_number;
        AOst.rec->frame_number = AOst.frame_number;
        Encode(AOst, frame.get());
    }
}

void TTranscodeRun::PadAudioWithSilence(TOutputStreamRun& AOst, int64_t AEndUs)
{
    AVCodecContext* enc = AOst.enc;
    if (enc == nullptr || AOst.fifo == nullptr || LimitReached(AOst) || AEndUs <= 0) return;
    if (AOst.next_audio_pts == AV_NOPTS_VALUE) AOst.next_audio_pts = 0;
    const int64_t end = std::min(ff::av_rescale_q(AEndUs, AV_TIME_BASE_Q, AVRational{1, enc->sample_rate}),
                                 AOst.samples_limit);
    for (int64_t missing = end - SamplesWritten(AOst); missing > 0;) {
        const int count = static_cast<int>(std::min<int64_t>(missing, enc->sample_rate));
        AppendSilence(AOst, count);
        missing -= count;
        EncodeAudioFromFifo(AOst, false);
    }
}

int64_t TTranscodeRun::SamplesWritten(const TOutputStreamRun& AOst) const
{
    const int64_t held = AOst.swr != nullptr ? ff::swr_get_delay(AOst.swr, AOst.enc->sample_rate) : 0;
    return AOst.next_audio_pts + ff::av_audio_fifo_size(AOst.fifo) - AOst.samples_skip + held;
}

void TTranscodeRun::AppendSilence(TOutputStreamRun& AOst, int ACount)
{
    const AVCodecContext* enc = AOst.enc;
    const TFramePtr silence = EncoderSamples(enc, ACount);
    ff::av_samples_set_silence(silence->extended_data, 0, ACount, enc->ch_layout.nb_channels, enc->sample_fmt);
    ff::av_audio_fifo_write(AOst.fifo, reinterpret_cast<void**>(silence->extended_data), ACount);
}

void TTranscodeRun::FlushAudio(TOutputStreamRun& AOst)
{
    if (AOst.enc == nullptr || AOst.fifo == nullptr) return;
    DrainResampler(AOst);
    EncodeAudioFromFifo(AOst, true);
}

void TTranscodeRun::DrainResampler(TOutputStreamRun& AOst)
{
    if (AOst.enc == nullptr || AOst.fifo == nullptr) return;
    if (AOst.swr != nullptr && !AOst.finished) {
        AVCodecContext* enc = AOst.enc;
        while (true) {
            const int capacity = ff::swr_get_out_samples(AOst.swr, 0);
            if (capacity <= 0) break;
            const TFramePtr rest = EncoderSamples(enc, capacity);
            const int count = ff::swr_convert(AOst.swr, rest->extended_data, capacity, nullptr, 0);
            const int64_t room = AOst.samples_limit - (AOst.next_audio_pts + ff::av_audio_fifo_size(AOst.fifo));
            const int keep = static_cast<int>(std::min<int64_t>(count, std::max<int64_t>(room, 0)));
            if (keep > 0) ff::av_audio_fifo_write(AOst.fifo, reinterpret_cast<void**>(rest->extended_data), keep);
            if (count <= 0) break;
        }
    }
}

void TTranscodeRun::DecodeSubtitle(TInputStreamRun& AIst, AVPacket* APacket)
{
    if (APacket == nullptr) return;
    AVSubtitle subtitle{};
    int got = 0;
    const int result = ff::avcodec_decode_subtitle2(AIst.dec, &subtitle, &got, APacket);
    if (result < 0) {
        const std::string text = StrFormat("Error while decoding stream #%d.%d (%s)", AIst.file_index,
                                           AIst.stream_index, MediaTypeName(AVMEDIA_TYPE_SUBTITLE).c_str());
        if (E.Fexit_on_error) throw FFmpegException(text);
        if (E.Fverbose >= 0) E.Log(llVerbose, text);
        return;
    }
    if (got == 0) return;
    const int64_t pts_us = APacket->pts == AV_NOPTS_VALUE
                               ? AV_NOPTS_VALUE
                               : ToMicroseconds(APacket->pts, AIst.st->time_base) + FileOffset(AIst.file_index);
    const int index = static_cast<int>(&AIst - FInputs.data());
    try {
        for (TOutputStreamRun& ost : FOutputs)
            if (!ost.copy && ost.source == index) SubtitleOut(ost, AIst, subtitle, pts_us);
    } catch (...) {
        ff::avsubtitle_free(&subtitle);
        throw;
    }
    ff::avsubtitle_free(&subtitle);
}

void TTranscodeRun::SubtitleOut(TOutputStreamRun& AOst, TInputStreamRun& AIst, AVSubtitle& ASubtitle,
                                int64_t APtsUs)
{
    (void)AIst;
    if (APtsUs == AV_NOPTS_VALUE) throw FFmpegException("Subtitle packets must have a pts");
    if (AOst.enc == nullptr || LimitReached(AOst) || APtsUs < 0) return;
    if (E.Frecording_time != INT64_MAX && APtsUs >= E.Frecording_time) return;
    constexpr int BufferSize = 1024 * 1024;
    // DVB subtitles are shown by one packet and cleared by a second one.
    const bool dvb = AOst.enc->codec_id == AV_CODEC_ID_DVB_SUBTITLE;
    const int packets = dvb ? 2 : 1;
    AVSubtitle subtitle = ASubtitle;
    subtitle.pts = APtsUs + ff::av_rescale_q(ASubtitle.start_display_time, AVRational{1, 1000}, AV_TIME_BASE_Q);
    subtitle.end_display_time -= subtitle.start_display_time;
    subtitle.start_display_time = 0;
    const unsigned rects = subtitle.num_rects;
    for (int i = 0; i < packets; ++i) {
        if (i == 1) subtitle.num_rects = 0;
        if (ff::av_new_packet(FOutgoing.get(), BufferSize) < 0) throw FFmpegException("Out of memory");
        const int size = ff::avcodec_encode_subtitle(AOst.enc, FOutgoing->data, BufferSize, &subtitle);
        if (size < 0) {
            ff::av_packet_unref(FOutgoing.get());
            throw FFmpegException("Subtitle encoding failed");
        }
        FOutgoing->size = size;
        FOutgoing->pts = FOutgoing->dts = subtitle.pts;
        FOutgoing->duration = ff::av_rescale_q(subtitle.end_display_time, AVRational{1, 1000}, AV_TIME_BASE_Q);
        if (dvb) {
            // In the 90 kHz clock of the container: shown at the start, cleared at the end.
            const uint32_t display = i == 0 ? subtitle.start_display_time : subtitle.end_display_time;
            FOutgoing->pts += ff::av_rescale_q(display, AVRational{1, 1000}, AV_TIME_BASE_Q);
            FOutgoing->dts = FOutgoing->pts;
        }
        ++AOst.frame_number;
        QueueWrite(AOst, FOutgoing.get(), AV_TIME_BASE_Q);
    }
    subtitle.num_rects = rects;
}
