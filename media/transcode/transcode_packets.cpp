// Packets of a run: decoding and dispatch to the output streams, stream copy, the video path (filter chain and
// frame-rate sync), encoding and writing through the bit-stream filters.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "media/loader/av_bindings.h"
#include "media/transcode/transcode_run.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"

void TTranscodeRun::ProcessPacket(TInputStreamRun& AIst, AVPacket* APacket)
{
    if (AIst.decoding_needed) {
        if (AIst.st->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE)
            DecodeSubtitle(AIst, APacket);
        else
            DecodeFrames(AIst, APacket);
    }
    const int index = static_cast<int>(&AIst - FInputs.data());
    for (TOutputStreamRun& ost : FOutputs)
        if (ost.copy && ost.source == index) CopyPacket(ost, AIst, APacket);
}

// The hook gets one block of interleaved samples of the stated size: planar frames keep each channel in a plane
// of its own, so they are interleaved into a copy first, and the hook is told the packed format.
void TTranscodeRun::DeliverAudioHook(const TInputStreamRun& AIst, const AVFrame* AFrame)
{
    const int64_t pts_us = AFrame->best_effort_timestamp == AV_NOPTS_VALUE
                               ? AV_NOPTS_VALUE
                               : ToMicroseconds(AFrame->best_effort_timestamp, AIst.st->time_base) +
                                     FileOffset(AIst.file_index);
    const auto format = static_cast<AVSampleFormat>(AFrame->format);
    const int channels = AFrame->ch_layout.nb_channels;
    const int sample_bytes = ff::av_get_bytes_per_sample(format);
    const int size = AFrame->nb_samples * channels * sample_bytes;
    uint8_t* samples = AFrame->data[0];
    if (ff::av_sample_fmt_is_planar(format) && channels > 1) {
        FHookSamples.resize(static_cast<size_t>(size));
        uint8_t* out = FHookSamples.data();
        for (int i = 0; i < AFrame->nb_samples; ++i)
            for (int ch = 0; ch < channels; ++ch, out += sample_bytes)
                std::memcpy(out, AFrame->extended_data[ch] + static_cast<size_t>(i) * sample_bytes, sample_bytes);
        samples = FHookSamples.data();
    }
    E.FOnAudioHook(&E, pts_us, samples, size, AFrame->sample_rate, channels, ff::av_get_packed_sample_fmt(format));
}

void TTranscodeRun::DecodeFrames(TInputStreamRun& AIst, AVPacket* APacket)
{
    const int index = static_cast<int>(&AIst - FInputs.data());
    int result = ff::avcodec_send_packet(AIst.dec, APacket);
    if (result < 0 && result != AVERROR_EOF && result != AVERROR(EAGAIN)) {
        const std::string text = StrFormat("Error while decoding stream #%d.%d (%s)", AIst.file_index,
                                           AIst.stream_index, MediaTypeName(AIst.st->codecpar->codec_type).c_str());
        if (E.Fexit_on_error) throw FFmpegException(text);
        if (E.Fverbose >= 0) E.Log(llVerbose, text);
        return;
    }
    while (true) {
        result = ff::avcodec_receive_frame(AIst.dec, FFrame.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) break;
        if (result < 0) {
            const std::string text = StrFormat("Error while decoding stream #%d.%d (%s)", AIst.file_index,
                                               AIst.stream_index, MediaTypeName(AIst.st->codecpar->codec_type).c_str());
            if (E.Fexit_on_error) throw FFmpegException(text);
            if (E.Fverbose >= 0) E.Log(llVerbose, text);
            break;
        }
        if (AIst.dec->codec_type == AVMEDIA_TYPE_AUDIO && E.FOnAudioHook) DeliverAudioHook(AIst, FFrame.get());
        if (AIst.dec->codec_type == AVMEDIA_TYPE_VIDEO) ProcessInputPicture(AIst, FFrame.get());
        for (TOutputStreamRun& ost : FOutputs) {
            if (ost.copy || ost.source != index) continue;
            if (ost.type == AVMEDIA_TYPE_VIDEO) VideoFrame(ost, AIst, FFrame.get());
            if (ost.type == AVMEDIA_TYPE_AUDIO) AudioFrame(ost, AIst, FFrame.get());
        }
        ff::av_frame_unref(FFrame.get());
    }
}

void TTranscodeRun::CopyPacket(TOutputStreamRun& AOst, TInputStreamRun& AIst, const AVPacket* APacket)
{
    if (APacket == nullptr || LimitReached(AOst)) return;
    if (!AOst.seen_key_frame && (APacket->flags & AV_PKT_FLAG_KEY) == 0 && E.Fcopy_initial_nonkeyframes == 0 &&
        AOst.type == AVMEDIA_TYPE_VIDEO)
        return;
    AOst.seen_key_frame = true;
    if (ff::av_packet_ref(FOutgoing.get(), APacket) < 0) throw FFmpegException("Out of memory");
    const int64_t offset = ff::av_rescale_q(FileOffset(AIst.file_index), AV_TIME_BASE_Q, AIst.st->time_base);
    if (FOutgoing->pts != AV_NOPTS_VALUE) FOutgoing->pts += offset;
    if (FOutgoing->dts != AV_NOPTS_VALUE) FOutgoing->dts += offset;
    ++AOst.frame_number;
    QueueWrite(AOst, FOutgoing.get(), AIst.st->time_base);
}

void TTranscodeRun::VideoFrame(TOutputStreamRun& AOst, TInputStreamRun& AIst, AVFrame* AFrame)
{
    if (LimitReached(AOst) || AOst.filter == nullptr) return;
    AFrame->pts = AFrame->best_effort_timestamp;
    if (AOst.filter->SendFrame(AFrame) < 0) throw FFmpegException("Error opening filters: " + AOst.filter->LastErrMsg());
    while (AOst.filter->ReceiveFrame(FFiltered.get()) >= 0) {
        FilteredVideo(AOst, AIst, FFiltered.get());
        ff::av_frame_unref(FFiltered.get());
    }
}

void TTranscodeRun::FlushVideoFilter(TOutputStreamRun& AOst, TInputStreamRun& AIst)
{
    if (AOst.filter == nullptr) return;
    AOst.filter->SendFrame(nullptr);
    while (AOst.filter->ReceiveFrame(FFiltered.get()) >= 0) {
        FilteredVideo(AOst, AIst, FFiltered.get());
        ff::av_frame_unref(FFiltered.get());
    }
}

// How many times a picture is written for a frame-rate sync: AOpts is the next frame number of the output,
// ATarget the picture's time in frames. Answers the count and moves AOpts where the picture starts.
int VideoSyncCount(int AMethod, double ATarget, int64_t& AOpts)
{
    const double delta = ATarget - static_cast<double>(AOpts);
    switch (AMethod) {
    case 0:  // pass the time stamps on, never backwards
        AOpts = std::max(AOpts, static_cast<int64_t>(std::llround(ATarget)));
        return 1;
    case 1:  // constant rate: drop late pictures, repeat for gaps
        if (delta < -1.1) return 0;
        if (delta > 1.1) return static_cast<int>(std::llround(delta));
        return 1;
    default:  // variable rate: drop late pictures, jump over gaps
        if (delta <= -0.6) return 0;
        if (delta > 0.6) AOpts = std::llround(ATarget);
        return 1;
    }
}

void TTranscodeRun::FilteredVideo(TOutputStreamRun& AOst, TInputStreamRun& AIst, AVFrame* AFrame)
{
    AVCodecContext* enc = AOst.enc;
    if (enc == nullptr) return;
    const AVRational time_base = AOst.filter->OutputTimeBase();
    const int64_t pts_us = AFrame->pts == AV_NOPTS_VALUE
                               ? ToMicroseconds(AOst.sync_opts, enc->time_base)
                               : ToMicroseconds(AFrame->pts, time_base) + FileOffset(AIst.file_index);
    // Pictures before the start of a trimmed range or at its end are decoded for their successors only.
    if (pts_us < 0 || (E.Frecording_time != INT64_MAX && pts_us >= E.Frecording_time)) return;
    const AVRational input_rate = AIst.st->avg_frame_rate;
    const AVRational rate = input_rate.num > 0 && input_rate.den > 0 ? input_rate : av_inv_q(enc->time_base);
    AOst.fed_end_us = std::max(AOst.fed_end_us, pts_us + ff::av_rescale_q(1, av_inv_q(rate), AV_TIME_BASE_Q));
    if (AFrame->width != enc->width || AFrame->height != enc->height) AFrame = FitToEncoder(AOst, AIst, AFrame);
    const double target = static_cast<double>(pts_us) / AV_TIME_BASE / av_q2d(enc->time_base);
    int count = VideoSyncCount(AOst.sync_method, target, AOst.sync_opts);
    const int type_limit = E.Fmax_frames[AVMEDIA_TYPE_VIDEO];
    count = std::min(count, type_limit - AOst.frame_number);
    if (count <= 0) {
        ++AOst.drop_frames;
        if (E.Fverbose > 2) E.Log(llVerbose, "*** drop!");
        return;
    }
    if (count > 1) {
        AOst.dup_frames += count - 1;
        if (E.Fverbose > 2) E.Log(llVerbose, StrFormat("*** %d dup!", count - 1));
    }
    for (int i = 0; i < count; ++i) {
        AFrame->pts = AOst.sync_opts;
        AFrame->pict_type = AV_PICTURE_TYPE_NONE;
        std::vector<int64_t>& forced = AOst.rec->forced_kf_pts;
        if (AOst.rec->forced_kf_index < static_cast<int>(forced.size()) &&
            AOst.sync_opts >= forced[AOst.rec->forced_kf_index]) {
            AFrame->pict_type = AV_PICTURE_TYPE_I;
            ++AOst.rec->forced_kf_index;
        }
        if (E.Ftop_field_first >= 0) {
            AFrame->interlaced_frame = 1;
            AFrame->top_field_first = E.Ftop_field_first;
        }
        const int64_t picture_us = ToMicroseconds(AOst.sync_opts, enc->time_base);
        Encode(AOst, HookOutputPicture(AFrame, AOst.frame_number + 1, picture_us));
        ++AOst.sync_opts;
        ++AOst.frame_number;
        AOst.rec->frame_number = AOst.frame_number;
    }
}

void TTranscodeRun::PadVideoWithBlack(TOutputStreamRun& AOst, int64_t AEndUs)
{
    AVCodecContext* enc = AOst.enc;
    if (enc == nullptr) return;
    if (E.Frecording_time != INT64_MAX) AEndUs = std::min(AEndUs, E.Frecording_time);
    if (AEndUs <= AOst.fed_end_us) return;
    if (!FBlack || FBlack->width != enc->width || FBlack->height != enc->height || FBlack->format != enc->pix_fmt) {
        FBlack.reset(ff::av_frame_alloc());
        if (!FBlack) throw FFmpegException("Out of memory");
        FBlack->width = enc->width;
        FBlack->height = enc->height;
        FBlack->format = enc->pix_fmt;
        if (ff::av_frame_get_buffer(FBlack.get(), 0) < 0) throw FFmpegException("Out of memory");
        ptrdiff_t line_sizes[4] = {};
        for (int p = 0; p < 4; ++p) line_sizes[p] = FBlack->linesize[p];
        const bool full_range = enc->color_range == AVCOL_RANGE_JPEG || enc->pix_fmt == AV_PIX_FMT_YUVJ420P ||
                                enc->pix_fmt == AV_PIX_FMT_YUVJ422P || enc->pix_fmt == AV_PIX_FMT_YUVJ444P;
        if (ff::av_image_fill_black(FBlack->data, line_sizes, enc->pix_fmt,
                                    full_range ? AVCOL_RANGE_JPEG : AVCOL_RANGE_MPEG, enc->width, enc->height) < 0) {
            const char* name = ff::av_get_pix_fmt_name(enc->pix_fmt);
            FBlack.reset();
            throw FFmpegException(StrFormat("Cannot make black pictures in %s", name != nullptr ? name : "?"));
        }
    }
    FBlack->sample_aspect_ratio = enc->sample_aspect_ratio;
    const int type_limit = E.Fmax_frames[AVMEDIA_TYPE_VIDEO];
    while (AOst.frame_number < type_limit && ToMicroseconds(AOst.sync_opts, enc->time_base) < AEndUs) {
        FBlack->pts = AOst.sync_opts;
        FBlack->pict_type = AV_PICTURE_TYPE_NONE;
        Encode(AOst, FBlack.get());
        ++AOst.sync_opts;
        ++AOst.frame_number;
        AOst.rec->frame_number = AOst.frame_number;
    }
    // The last black picture lasts its whole frame: the next input starts after it.
    AOst.fed_end_us = std::max({AOst.fed_end_us, AEndUs, ToMicroseconds(AOst.sync_opts, enc->time_base)});
}

AVFrame* TTranscodeRun::FitToEncoder(TOutputStreamRun& AOst, const TInputStreamRun& AIst, AVFrame* AFrame)
{
    const AVCodecContext* enc = AOst.enc;
    if (AOst.fit == nullptr) {
        E.Log(llInfo, StrFormat("Input stream #%d.%d frame size changed to %dx%d, %s; scaled to %dx%d",
                                AIst.file_index, AIst.stream_index, AFrame->width, AFrame->height,
                                ff::av_get_pix_fmt_name(static_cast<AVPixelFormat>(AFrame->format)), enc->width,
                                enc->height));
        auto fit = std::make_unique<TFilterChain>();
        fit->SetOutputFormats({enc->pix_fmt});
        fit->SetScaleFlags(static_cast<int>(E.Fsws_flags));
        try {
            fit->Open(StrFormat("scale=%d:%d", enc->width, enc->height), AOst.filter->OutputTimeBase());
        } catch (const Exception& e) {
            throw FFmpegException("Error opening filters: " + e.Message());
        }
        AOst.fit = std::move(fit);
    }
    if (!FFitted) FFitted.reset(ff::av_frame_alloc());
    if (!FFitted) throw FFmpegException("Out of memory");
    ff::av_frame_unref(FFitted.get());
    if (AOst.fit->SendFrame(AFrame) < 0 || AOst.fit->ReceiveFrame(FFitted.get()) < 0)
        throw FFmpegException("Error opening filters: " + AOst.fit->LastErrMsg());
    return FFitted.get();
}

void TTranscodeRun::Encode(TOutputStreamRun& AOst, AVFrame* AFrame)
{
    if (!FWriter->Running()) {
        EncodeNow(AOst, AFrame);
        return;
    }
    std::shared_ptr<AVFrame> frame;
    if (AFrame != nullptr) {
        frame.reset(ff::av_frame_alloc(), [](AVFrame* ACopy) { ff::av_frame_free(&ACopy); });
        if (!frame || ff::av_frame_ref(frame.get(), AFrame) < 0) throw FFmpegException("Out of memory");
    }
    TOutputStreamRun* ost = &AOst;
    FWriter->Submit([this, ost, frame] { EncodeNow(*ost, frame.get()); }, [this] { return E.Broken(); });
}

void TTranscodeRun::QueueWrite(TOutputStreamRun& AOst, AVPacket* APacket, AVRational ATimeBase)
{
    if (!FWriter->Running()) {
        WritePacket(AOst, APacket, ATimeBase);
        return;
    }
    std::shared_ptr<AVPacket> packet(ff::av_packet_alloc(), [](AVPacket* APacket) { ff::av_packet_free(&APacket); });
    if (!packet) {
        ff::av_packet_unref(APacket);
        throw FFmpegException("Out of memory");
    }
    ff::av_packet_move_ref(packet.get(), APacket);
    TOutputStreamRun* ost = &AOst;
    FWriter->Submit([this, ost, packet, ATimeBase] { WritePacket(*ost, packet.get(), ATimeBase); },
                    [this] { return E.Broken(); });
}

void TTranscodeRun::EncodeNow(TOutputStreamRun& AOst, AVFrame* AFrame)
{
    AVCodecContext* enc = AOst.enc;
    int result = ff::avcodec_send_frame(enc, AFrame);
    if (result == AVERROR_EOF && AFrame == nullptr) return;
    if (result < 0)
        throw FFmpegException(AOst.type == AVMEDIA_TYPE_VIDEO ? "Video encoding failed" : "Audio encoding failed");
    while (true) {
        result = ff::avcodec_receive_packet(enc, FEncoded.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) break;
        if (result < 0)
            throw FFmpegException(AOst.type == AVMEDIA_TYPE_VIDEO ? "Video encoding failed" : "Audio encoding failed");
        size_t size = 0;
        const uint8_t* stats = ff::av_packet_get_side_data(FEncoded.get(), AV_PKT_DATA_QUALITY_STATS, &size);
        if (stats != nullptr && size >= 4)
            AOst.quality = static_cast<float>(stats[0] | stats[1] << 8 | stats[2] << 16 | stats[3] << 24) /
                           FF_QP2LAMBDA;
        EncodedPacket(AOst, FEncoded.get());
        WritePacket(AOst, FEncoded.get(), enc->time_base);
    }
}

void TTranscodeRun::WritePacket(TOutputStreamRun& AOst, AVPacket* APacket, AVRational ATimeBase)
{
    if (AOst.bsf == nullptr) {
        Mux(AOst, APacket, ATimeBase);
        return;
    }
    ff::av_packet_rescale_ts(APacket, ATimeBase, AOst.bsf->time_base_in);
    int result = ff::av_bsf_send_packet(AOst.bsf, APacket);
    while (result >= 0) {
        result = ff::av_bsf_receive_packet(AOst.bsf, APacket);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return;
        if (result >= 0) Mux(AOst, APacket, AOst.bsf->time_base_out);
    }
    ff::av_packet_unref(APacket);
    std::string names;
    for (const std::string& name : AOst.rec->bitstream_filters) names += (names.empty() ? "" : ",") + name;
    throw FFmpegException(StrFormat("%s failed for stream %d, codec %s", names.c_str(), AOst.rec->index,
                                    AOst.copy ? "copy" : ff::avcodec_get_name(AOst.rec->st->codecpar->codec_id)));
}

void TTranscodeRun::Mux(TOutputStreamRun& AOst, AVPacket* APacket, AVRational ATimeBase)
{
    AVStream* st = AOst.rec->st;
    ff::av_packet_rescale_ts(APacket, ATimeBase, st->time_base);
    APacket->stream_index = st->index;
    // The muxer refuses decoding times that go backwards (joined inputs, damaged sources): such a packet is
    // moved just behind its predecessor.
    if (APacket->dts != AV_NOPTS_VALUE && AOst.last_mux_dts != AV_NOPTS_VALUE && APacket->dts <= AOst.last_mux_dts &&
        (AOst.oc->oformat->flags & AVFMT_NOTIMESTAMPS) == 0) {
        const int64_t fixed = AOst.last_mux_dts + 1;
        if (APacket->pts != AV_NOPTS_VALUE && APacket->pts < fixed) APacket->pts = fixed;
        APacket->dts = fixed;
    }
    if (APacket->dts != AV_NOPTS_VALUE) AOst.last_mux_dts = APacket->dts;
    const int64_t start = APacket->pts != AV_NOPTS_VALUE ? APacket->pts : APacket->dts;
    if (start != AV_NOPTS_VALUE)
        AOst.end_time_us = std::max(AOst.end_time_us, ToMicroseconds(start + APacket->duration, st->time_base));
    AOst.bytes += APacket->size;
    ++AOst.packets;
    const int result = ff::av_interleaved_write_frame(AOst.oc, APacket);
    ff::av_packet_unref(APacket);
    if (result < 0) throw FFmpegException(AVErrorText("av_interleaved_write_frame()", result));
}
