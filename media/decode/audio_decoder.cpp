// The audio half of the decoder: packets of one audio stream become blocks of one fixed output format.
#include <algorithm>
#include <climits>
#include <cstring>

#include "media/decode/frame_decoder.h"
#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"
#include "media/util/text_format.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace {

const char* SampleFormatName(int AFormat)
{
    const char* name = ff::av_get_sample_fmt_name(static_cast<AVSampleFormat>(AFormat));
    return name != nullptr ? name : "unknown";
}

}  // namespace

void TFFDecoder::SetDesireAudioChannels(int AValue)
{
    if (AValue == FDesireAudioChannels) return;
    FDesireAudioChannels = AValue;
    if (FAudioResampler != nullptr) ff::swr_free(&FAudioResampler);
}

void TFFDecoder::SetDesireAudioSampleRate(int AValue)
{
    if (AValue == FDesireAudioSampleRate) return;
    FDesireAudioSampleRate = AValue;
    if (FAudioResampler != nullptr) ff::swr_free(&FAudioResampler);
}

void TFFDecoder::DropAudioConverters()
{
    if (FAudioResampler != nullptr) ff::swr_free(&FAudioResampler);
    if (FAudioReformatter != nullptr) ff::swr_free(&FAudioReformatter);
    ff::av_channel_layout_uninit(&FAudioInLayout);
    FAudioInRate = 0;
    FAudioInFormat = -1;
}

bool TFFDecoder::SameAudioInput(const AVFrame* AFrame) const
{
    return AFrame->sample_rate == FAudioInRate && AFrame->format == FAudioInFormat &&
           ff::av_channel_layout_compare(&AFrame->ch_layout, &FAudioInLayout) == 0;
}

bool TFFDecoder::FollowAudioInput(const AVFrame* AFrame, bool& AUsedDecodedBuffer)
{
    if (SameAudioInput(AFrame)) return true;
    // Broadcast streams change layout, rate or format mid-file: what the old converters still hold goes into
    // the block, then they are rebuilt for the new input.
    if (!FlushAudioConverters(AUsedDecodedBuffer)) return false;
    DropAudioConverters();
    if (ff::av_channel_layout_copy(&FAudioInLayout, &AFrame->ch_layout) < 0) {
        ReportError(AV_LOG_ERROR, "Out of memory in DecodeAudio");
        return false;
    }
    FAudioInRate = AFrame->sample_rate;
    FAudioInFormat = AFrame->format;
    return true;
}

void TFFDecoder::ResetWaveInfo()
{
    FWaveInfo = TWaveInfo{};
    FWaveInfo.SampleFormat = -1;
    FWaveInfo.StreamIndex = -1;
    FWaveInfo.PTS = FWaveInfo.OriginalDTS = FWaveInfo.OriginalPTS = FWaveInfo.Duration = AV_NOPTS_VALUE;
}

int TFFDecoder::SelectAudioStream(int AStreamIndex)
{
    if (!CheckOwnFile()) return -1;
    const int index = CheckStreamIndex(AStreamIndex < 0 && FDesireAudioIndex >= 0 ? FDesireAudioIndex : AStreamIndex,
                                       AVMEDIA_TYPE_AUDIO);
    if (index < 0) return -1;
    if (index != FDesireAudioIndex) {
        ResetWaveInfo();
        FRemainsAudioSize = 0;
        FAudioNextPTS = AV_NOPTS_VALUE;
        DropAudioConverters();
        FDesireAudioIndex = index;
    }
    return index;
}

bool TFFDecoder::OpenAudioCodec(int AStreamIndex)
{
    const bool was_open = FAudioCodecIndex == AStreamIndex && FAudioCodec != nullptr;
    if (!OpenStreamCodec(AStreamIndex, FAudioCodec, FAudioCodecIndex)) return false;
    if (!was_open) FAudioDrainSent = false;
    return true;
}

bool TFFDecoder::AppendAudio(bool AToDecoded, const uint8_t* AData, int64_t ASize)
{
    uint8_t*& buffer = AToDecoded ? FDecodedAudioBuffer : FResampledAudioBuffer;
    int& used = AToDecoded ? FDecodedAudioSize : FResampledAudioSize;
    size_t& capacity = AToDecoded ? FDecodedAudioCapacity : FResampledAudioCapacity;
    const int64_t needed = used + ASize;
    if (needed > INT_MAX) {
        ReportError(AV_LOG_ERROR, "Buffer sizes too large in DecodeAudio");
        return false;
    }
    if (static_cast<size_t>(needed) > capacity) {
        // Grow only, and at least to the old decode buffer's 192000 bytes, so that blocks rarely reallocate.
        const size_t grown = std::max<size_t>({static_cast<size_t>(needed), capacity * 2, 192000});
        void* bigger = ff::av_realloc(buffer, grown);
        if (bigger == nullptr) {
            ReportError(AV_LOG_ERROR, "Out of memory in DecodeAudio");
            return false;
        }
        buffer = static_cast<uint8_t*>(bigger);
        capacity = grown;
    }
    if (AData != nullptr) std::memcpy(buffer + used, AData, static_cast<size_t>(ASize));
    used = static_cast<int>(needed);
    return true;
}

SwrContext* TFFDecoder::AudioConverterFor(const AVFrame* AFrame, bool& AFailed)
{
    AFailed = false;
    const int in_channels = AFrame->ch_layout.nb_channels;
    const bool same_layout = in_channels == FDesireAudioChannels && AFrame->sample_rate == FDesireAudioSampleRate;
    if (same_layout && AFrame->format == FDesireAudioSampleFormat) return nullptr;  // handed out as decoded
    SwrContext*& converter = same_layout ? FAudioReformatter : FAudioResampler;
    if (converter != nullptr) return converter;

    AVChannelLayout in_layout{};
    if (AFrame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        ff::av_channel_layout_default(&in_layout, in_channels);
    else
        in_layout = AFrame->ch_layout;  // only read; never freed through this copy
    AVChannelLayout out_layout{};
    ff::av_channel_layout_default(&out_layout, FDesireAudioChannels);
    int result = ff::swr_alloc_set_opts2(&converter, &out_layout, FDesireAudioSampleFormat, FDesireAudioSampleRate,
                                         &in_layout, static_cast<AVSampleFormat>(AFrame->format), AFrame->sample_rate,
                                         0, nullptr);
    if (AFrame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) ff::av_channel_layout_uninit(&in_layout);
    ff::av_channel_layout_uninit(&out_layout);
    if (result >= 0 && !same_layout) {
        // The filter the old resampler used: 16 taps, 2^10 phases, no interpolation, cut-off at 0.8.
        ff::av_opt_set_int(converter, "filter_size", 16, 0);
        ff::av_opt_set_int(converter, "phase_shift", 10, 0);
        ff::av_opt_set_int(converter, "linear_interp", 0, 0);
        ff::av_opt_set(converter, "cutoff", "0.8", 0);
    }
    if (result >= 0) result = ff::swr_init(converter);
    if (result < 0) {
        if (converter != nullptr) ff::swr_free(&converter);
        AFailed = true;
        if (same_layout)
            ReportError(AV_LOG_ERROR, StrFormat("Cannot convert %s sample format to %s sample format",
                                                SampleFormatName(AFrame->format),
                                                SampleFormatName(FDesireAudioSampleFormat)));
        else
            ReportError(AV_LOG_ERROR, StrFormat("Can not resample %d channels @ %d Hz to %d channels @ %d Hz",
                                                in_channels, AFrame->sample_rate, FDesireAudioChannels,
                                                FDesireAudioSampleRate));
        return nullptr;
    }
    if (same_layout)
        LoggerInstance()->Log(this, llInfo, "need convert %s sample format to %s sample format",
                              SampleFormatName(AFrame->format), SampleFormatName(FDesireAudioSampleFormat));
    else
        LoggerInstance()->Log(this, llInfo, "need resample %d channels @ %d Hz to %d channels @ %d Hz", in_channels,
                              AFrame->sample_rate, FDesireAudioChannels, FDesireAudioSampleRate);
    return converter;
}

bool TFFDecoder::ConvertAudioFrame(AVFrame* AFrame, bool& AUsedDecodedBuffer)
{
    if (!FollowAudioInput(AFrame, AUsedDecodedBuffer)) return false;
    bool failed = false;
    SwrContext* converter = AudioConverterFor(AFrame, failed);
    if (failed) return false;
    const int osize = ff::av_get_bytes_per_sample(FDesireAudioSampleFormat);
    if (converter == nullptr) {
        // Already in the output format (packed): the block is the decoded samples themselves, unless this block
        // already holds converted ones.
        const int64_t bytes = static_cast<int64_t>(AFrame->nb_samples) * AFrame->ch_layout.nb_channels * osize;
        const bool to_decoded = FResampledAudioSize == 0;
        AUsedDecodedBuffer = to_decoded;
        return AppendAudio(to_decoded, AFrame->data[0], bytes);
    }
    // Samples handed through unconverted earlier in this block come first.
    if (FResampledAudioSize == 0 && FDecodedAudioSize > 0) {
        if (!AppendAudio(false, FDecodedAudioBuffer, FDecodedAudioSize)) return false;
        FDecodedAudioSize = 0;
    }
    const int out_samples = ff::swr_get_out_samples(converter, AFrame->nb_samples);
    const int64_t room = static_cast<int64_t>(out_samples < 0 ? 0 : out_samples) * osize * FDesireAudioChannels;
    const int used = FResampledAudioSize;
    if (!AppendAudio(false, nullptr, room)) return false;
    uint8_t* out = FResampledAudioBuffer + used;
    const int converted = ff::swr_convert(converter, &out, out_samples, const_cast<const uint8_t**>(AFrame->extended_data),
                                          AFrame->nb_samples);
    if (converted < 0) {
        FResampledAudioSize = used;
        ReportError(AV_LOG_ERROR, "av_audio_convert() failed");
        return false;
    }
    FResampledAudioSize = used + converted * osize * FDesireAudioChannels;
    AUsedDecodedBuffer = false;
    return true;
}

bool TFFDecoder::FlushAudioConverters(bool& AUsedDecodedBuffer)
{
    const int osize = ff::av_get_bytes_per_sample(FDesireAudioSampleFormat);
    for (SwrContext* converter : {FAudioReformatter, FAudioResampler}) {
        if (converter == nullptr) continue;
        const int out_samples = ff::swr_get_out_samples(converter, 0);
        if (out_samples <= 0) continue;
        const int used = FResampledAudioSize;
        if (!AppendAudio(false, nullptr, static_cast<int64_t>(out_samples) * osize * FDesireAudioChannels))
            return false;
        uint8_t* out = FResampledAudioBuffer + used;
        const int converted = ff::swr_convert(converter, &out, out_samples, nullptr, 0);
        FResampledAudioSize = used + (converted > 0 ? converted * osize * FDesireAudioChannels : 0);
        if (converted > 0) AUsedDecodedBuffer = false;
    }
    return true;
}

void TFFDecoder::FillWaveInfo(int ASize, bool AFromDecoded, int64_t ATime, int64_t ADts, int64_t APts)
{
    const int osize = ff::av_get_bytes_per_sample(FDesireAudioSampleFormat);
    FWaveInfo.Channels = FDesireAudioChannels;
    FWaveInfo.SampleRate = FDesireAudioSampleRate;
    FWaveInfo.SampleFormat = FDesireAudioSampleFormat;
    FWaveInfo.BytesPerSample = osize;
    FWaveInfo.BytesPerSecond = osize * FDesireAudioSampleRate * FDesireAudioChannels;
    FWaveInfo.PTS = StreamTimeToMicroseconds(FDesireAudioIndex, ATime);
    // The resampler's last samples, drained at the end, come without a packet: they follow the block before.
    if (FWaveInfo.PTS == AV_NOPTS_VALUE) FWaveInfo.PTS = FAudioNextPTS;
    if (FWaveInfo.PTS != AV_NOPTS_VALUE)
        LoggerInstance()->Log(this, llDebug, "decode PTS: %0.3f", static_cast<double>(FWaveInfo.PTS) / 1000000.0);
    FWaveInfo.OriginalDTS = ADts;
    FWaveInfo.OriginalPTS = APts;
    FWaveInfo.StreamIndex = FDesireAudioIndex;
    FWaveInfo.Ready = true;
    FWaveInfo.Buffer = AFromDecoded ? FDecodedAudioBuffer : FResampledAudioBuffer;
    FWaveInfo.Size = ASize;
    // In 64 bits: a large block times a million overflows 32.
    const int64_t per_second = static_cast<int64_t>(FDesireAudioSampleRate) * FDesireAudioChannels;
    FWaveInfo.Duration = per_second > 0 ? (1000000 / osize) * static_cast<int64_t>(ASize) / per_second : 0;
    FAudioNextPTS = FWaveInfo.PTS == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : FWaveInfo.PTS + FWaveInfo.Duration;
}

bool TFFDecoder::DecodeAudio(int AStreamIndex)
{
    const int index = SelectAudioStream(AStreamIndex);
    if (index < 0) return false;
    if (FEOF) {
        LoggerInstance()->Log(this, llInfo, StreamEOFReached);
        return false;
    }
    if (!OpenAudioCodec(index)) return false;
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;

    for (;;) {
        ResetWaveInfo();
        FDecodedAudioSize = FResampledAudioSize = 0;
        int64_t time = AV_NOPTS_VALUE, dts = AV_NOPTS_VALUE, pts = AV_NOPTS_VALUE;
        if (!FAudioDrainSent) {
            const int read = ReadPacket();
            if (read < 0) {
                if (!ReadFailedAtEnd(read)) return false;
                ff::avcodec_send_packet(FAudioCodec, nullptr);
                FAudioDrainSent = true;
            } else if (FPacket->stream_index != index) {
                ff::av_packet_unref(FPacket);
                continue;
            } else {
                dts = FPacket->dts;
                pts = FPacket->pts;
                time = dts != AV_NOPTS_VALUE ? dts : pts;
                LoggerInstance()->Log(this, llDebug, "pkt.st_idx=%d, dts=%lld, pts=%lld, flags=%d, samples data size=%d",
                                      index, static_cast<long long>(dts), static_cast<long long>(pts),
                                      FPacket->flags, FPacket->size);
                // A damaged packet is dropped; the decoder goes on with the next one.
                ff::avcodec_send_packet(FAudioCodec, FPacket);
                ff::av_packet_unref(FPacket);
            }
        }

        bool from_decoded = true;
        bool ended = false;
        for (;;) {
            const int received = ff::avcodec_receive_frame(FAudioCodec, FFrame);
            if (received == AVERROR_EOF) {
                ended = true;
                break;
            }
            if (received < 0) break;
            if (time == AV_NOPTS_VALUE) {
                // Pictures drained at the end come without a packet of their own.
                time = FFrame->best_effort_timestamp;
                dts = FFrame->pkt_dts;
                pts = FFrame->pts;
            }
            const bool converted = ConvertAudioFrame(FFrame, from_decoded);
            ff::av_frame_unref(FFrame);
            if (!converted) return false;
        }
        if (ended && !FlushAudioConverters(from_decoded)) return false;

        const int size = from_decoded && FResampledAudioSize == 0 ? FDecodedAudioSize : FResampledAudioSize;
        if (size > 0) {
            FillWaveInfo(size, from_decoded && FResampledAudioSize == 0, time, dts, pts);
            return true;
        }
        // Drained and the decoder still gives nothing: that is the end too.
        if (ended || FAudioDrainSent) {
            LoggerInstance()->Log(this, llInfo, StreamEOFReached);
            FEOF = true;
            return false;
        }
        // No samples yet (codec or resampler delay): the next packet.
    }
}

int TFFDecoder::ReadAudio(uint8_t* ABuffer, int ACount, int AStreamIndex)
{
    if (FRemainsAudioSize <= 0) {
        if (!DecodeAudio(AStreamIndex)) return -1;
        // Blocks of no bytes never come out of DecodeAudio: it reads on until samples come.
        FRemainsAudioSize = FWaveInfo.Size;
    }
    const int count = std::min(ACount, FRemainsAudioSize);
    if (ABuffer != nullptr && count > 0) {
        std::memcpy(ABuffer, static_cast<const uint8_t*>(FWaveInfo.Buffer) + (FWaveInfo.Size - FRemainsAudioSize),
                    static_cast<size_t>(count));
        FRemainsAudioSize -= count;
    }
    return count;
}
