#include "media/decode/frame_decoder.h"

#include <strings.h>

#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"
#include "platform/rtl/exceptions.h"

namespace {

constexpr const char PictureNotReady[] = "picture not ready, please decode first";
constexpr const char ReadOnlyHandle[] = "file cannot be seeked, handle is readonly.";

int64_t IOPosition(AVFormatContext* AContext)
{
    return AContext->pb != nullptr ? ff::avio_seek(AContext->pb, 0, SEEK_CUR) : -1;
}

}  // namespace

TFFDecoder::TFFDecoder(TComponent* AOwner)
    : TCustomDecoder(AOwner), FFormatConv(std::make_unique<TFormatConverter>()), FLastPTS(AV_NOPTS_VALUE)
{
    TFFDecoder::ScanStreams();
    ResetFrameInfo();
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;
    ResetWaveInfo();
}

TFFDecoder::~TFFDecoder()
{
    // With the libraries already gone nothing can be freed through them: leaking beats calling into nothing.
    if (!AVLibLoaded()) return;
    TFFDecoder::CloseFile();
    // Only allocated once the libraries were bound, so the slots are there to free them.
    if (FPacket != nullptr) ff::av_packet_free(&FPacket);
    if (FFrame != nullptr) ff::av_frame_free(&FFrame);
    if (FPictureFrame != nullptr) ff::av_frame_free(&FPictureFrame);
    if (FDeintFrame != nullptr) ff::av_frame_free(&FDeintFrame);
    if (FDecodedAudioBuffer != nullptr) ff::av_free(FDecodedAudioBuffer);
    if (FResampledAudioBuffer != nullptr) ff::av_free(FResampledAudioBuffer);
}

void TFFDecoder::ScanStreams()
{
    TCustomDecoder::ScanStreams();
    FSeekIndex = FFirstVideoStreamIndex >= 0 ? FFirstVideoStreamIndex : FFirstAudioStreamIndex;
    if (FFileHandle == nullptr) {
        FStartTime = -1;
    } else if (FSeekIndex >= 0) {
        const int64_t start = FFileHandle->streams[FSeekIndex]->start_time;
        FStartTime = start == AV_NOPTS_VALUE ? 0 : start;
    } else {
        FStartTime = FFileHandle->start_time == AV_NOPTS_VALUE ? 0 : FFileHandle->start_time;
    }
}

void TFFDecoder::CloseFile()
{
    FSeekIndex = -1;
    FStartTime = -1;
    FDecodeIndex = -1;
    FEOF = false;
    ResetFrameInfo();
    FLastPTS = AV_NOPTS_VALUE;
    FLastPos = -1;
    FDesireAudioIndex = -1;
    ResetWaveInfo();
    if (FFileHandle != nullptr) DropAudioConverters();
    FRemainsAudioSize = 0;
    FAudioNextPTS = AV_NOPTS_VALUE;
    // The contexts belong to the streams' table, which the base frees with the file.
    FCodec = nullptr;
    FCodecIndex = -1;
    FAudioCodec = nullptr;
    FAudioCodecIndex = -1;
    FVideoDrainSent = FAudioDrainSent = false;
    TCustomDecoder::CloseFile();
}

bool TFFDecoder::CheckOwnFile()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, FileNotLoaded);
        return false;
    }
    if (!FOwnHandle) {
        ReportError(AV_LOG_WARNING, ReadOnlyHandle);
        throw Exception(ReadOnlyHandle);
    }
    if (FPacket == nullptr) FPacket = ff::av_packet_alloc();
    if (FFrame == nullptr) FFrame = ff::av_frame_alloc();
    if (FPictureFrame == nullptr) FPictureFrame = ff::av_frame_alloc();
    if (FPacket == nullptr || FFrame == nullptr || FPictureFrame == nullptr) {
        ReportError(AV_LOG_ERROR, AVErrorText(FileName(), AVERROR(ENOMEM)));
        return false;
    }
    return true;
}

int TFFDecoder::SelectVideoStream(int AStreamIndex)
{
    if (!CheckOwnFile()) return -1;
    const int index = CheckStreamIndex(AStreamIndex < 0 && FDecodeIndex >= 0 ? FDecodeIndex : AStreamIndex,
                                       AVMEDIA_TYPE_VIDEO);
    if (index < 0) return -1;
    if (index != FDecodeIndex) {
        ResetFrameInfo();
        FDecodeIndex = index;
    }
    return index;
}

bool TFFDecoder::OpenStreamCodec(int AStreamIndex, AVCodecContext*& ACodec, int& ACodecIndex)
{
    if (ACodecIndex == AStreamIndex && ACodec != nullptr) return true;
    if (ACodec != nullptr) DropStreamCodec(ACodecIndex);
    ACodec = nullptr;
    ACodecIndex = -1;
    AVCodecContext* codec = StreamCodec(AStreamIndex);
    const AVCodec* decoder = codec != nullptr ? ff::avcodec_find_decoder(codec->codec_id) : nullptr;
    if (decoder == nullptr) {
        ReportError(AV_LOG_ERROR, StrFormat("Unsupported codec (id=%d) for input file stream #%d",
                                            codec != nullptr ? static_cast<int>(codec->codec_id) : 0, AStreamIndex));
        return false;
    }
    if (ff::avcodec_open2(codec, decoder, nullptr) < 0) {
        // A context that failed to open is not reused.
        DropStreamCodec(AStreamIndex);
        ReportError(AV_LOG_ERROR, StrFormat("Error while opening codec for input file stream #%d", AStreamIndex));
        return false;
    }
    ACodec = codec;
    ACodecIndex = AStreamIndex;
    return true;
}

bool TFFDecoder::OpenVideoCodec(int AStreamIndex)
{
    const AVCodecParameters* par = FFileHandle->streams[AStreamIndex]->codecpar;
    if (par->width == 0 || par->height == 0) {
        ReportError(AV_LOG_ERROR, "frame size of codec is invalid.");
        return false;
    }
    const bool was_open = FCodecIndex == AStreamIndex && FCodec != nullptr;
    if (!OpenStreamCodec(AStreamIndex, FCodec, FCodecIndex)) return false;
    if (!was_open) FVideoDrainSent = false;
    return true;
}

bool TFFDecoder::IsStillImage() const
{
    if (FFileHandle == nullptr || FFileHandle->iformat == nullptr || FFileHandle->iformat->name == nullptr) return false;
    // A probed single picture comes through the per-codec picture demuxers ("jpeg_pipe", "png_pipe", ...) of
    // this library generation; "image2" itself now only reads numbered file sequences or forced names.
    const std::string name = FFileHandle->iformat->name;
    const std::string pipe = "_pipe";
    return strcasecmp(name.c_str(), "image2") == 0 ||
           (name.size() > pipe.size() && name.compare(name.size() - pipe.size(), pipe.size(), pipe) == 0);
}

int TFFDecoder::ReadPacket()
{
    ArmReadTimeout();
    const int result = ff::av_read_frame(FFileHandle, FPacket);
    DisarmReadTimeout();
    return result;
}

bool TFFDecoder::ReadFailedAtEnd(int AResult)
{
    if (ReadTimedOut()) {
        ReportError(AV_LOG_ERROR, StrFormat("%s: timeout", FileName().c_str()));
        return false;
    }
    if (AResult == AVERROR(EAGAIN)) {
        LoggerInstance()->Log(this, llInfo, "no data, please try again.");
        return false;
    }
    if (AResult != AVERROR_EOF && !(FFileHandle->pb != nullptr && ff::avio_feof(FFileHandle->pb))) {
        LoggerInstance()->Log(this, llInfo, "unknown error #%d.", AResult);
        return false;
    }
    return true;
}

bool TFFDecoder::Decode(int AStreamIndex)
{
    const int index = SelectVideoStream(AStreamIndex);
    if (index < 0) return false;
    // A still image is decoded once.
    if (FPicture.Ready && IsStillImage()) return true;
    if (FEOF) {
        LoggerInstance()->Log(this, llInfo, StreamEOFReached);
        return false;
    }
    if (!OpenVideoCodec(index)) return false;

    const int64_t position = IOPosition(FFileHandle);
    for (;;) {
        const int received = ff::avcodec_receive_frame(FCodec, FFrame);
        if (received == 0) {
            LoggerInstance()->Log(this, llDebug, "pkt.st_idx=%d, dts=%lld, pts=%lld, flags=%d, pict_type=%d", index,
                                  static_cast<long long>(FFrame->pkt_dts), static_cast<long long>(FFrame->pts),
                                  FFrame->key_frame, static_cast<int>(FFrame->pict_type));
            StoreFrame(FFrame, position);
            ff::av_frame_unref(FFrame);
            return true;
        }
        if (received == AVERROR_EOF) {
            // Every picture the decoder held back has been handed out: this is the real end.
            LoggerInstance()->Log(this, llInfo, StreamEOFReached);
            FEOF = true;
            return false;
        }
        // Anything but "needs input" is a damaged packet: its picture is lost, the next one is tried.
        const int read = ReadPacket();
        if (read < 0) {
            if (!ReadFailedAtEnd(read)) return false;
            if (FVideoDrainSent) {
                // Drained already and the decoder still asks for input: nothing more will come.
                LoggerInstance()->Log(this, llInfo, StreamEOFReached);
                FEOF = true;
                return false;
            }
            // Drain: the pictures the decoder still holds (B-frames, codec delay) come out one by one.
            ff::avcodec_send_packet(FCodec, nullptr);
            FVideoDrainSent = true;
            continue;
        }
        if (FPacket->stream_index == index) ff::avcodec_send_packet(FCodec, FPacket);
        ff::av_packet_unref(FPacket);
    }
}

int64_t TFFDecoder::StreamTimeToMicroseconds(int AStreamIndex, int64_t ATime) const
{
    if (ATime == AV_NOPTS_VALUE) return AV_NOPTS_VALUE;
    const AVStream* stream = FFileHandle->streams[AStreamIndex];
    if (stream->start_time != AV_NOPTS_VALUE) ATime -= stream->start_time;
    AVRational time_base = stream->time_base;
    if (time_base.den == 0) time_base = AVRational{time_base.num, time_base.num != 0 ? time_base.num : 1};
    return ff::av_rescale_q(ATime, time_base, AVRational{1, AV_TIME_BASE});
}

void TFFDecoder::StoreFrame(AVFrame* AFrame, int64_t APosition)
{
    ff::av_frame_unref(FPictureFrame);
    ff::av_frame_ref(FPictureFrame, AFrame);
    AVFrame* shown = FPictureFrame;
    if (FDeinterlace && DeinterlaceFrame(FPictureFrame)) shown = FDeintFrame;

    FPicture.PixFmt = AFrame->format;
    FPicture.Width = AFrame->width;
    FPicture.Height = AFrame->height;
    FPicture.IsKeyFrame = AFrame->key_frame == 1;
    FPicture.PictureType =
        AFrame->pict_type >= 0 && AFrame->pict_type <= 7 ? static_cast<TPictureType>(AFrame->pict_type) : ptUnknown;

    // The library's best guess of the presentation time takes the place of the packet-time heuristics.
    int64_t time = AFrame->best_effort_timestamp;
    if (time == AV_NOPTS_VALUE) time = AFrame->pts;
    if (time == AV_NOPTS_VALUE) time = AFrame->pkt_dts;
    const int64_t previous = FPicture.PTS;
    if (previous != AV_NOPTS_VALUE) FLastPTS = previous;
    FPicture.PTS = StreamTimeToMicroseconds(FDecodeIndex, time);
    // The last picture of an MPEG program stream comes without any time: it follows the one before.
    if (FPicture.PTS == AV_NOPTS_VALUE && previous != AV_NOPTS_VALUE)
        FPicture.PTS = previous + StreamFrameDuration(FDecodeIndex);
    if (FPicture.PTS != AV_NOPTS_VALUE)
        LoggerInstance()->Log(this, llDebug, "decode PTS: %0.3f", static_cast<double>(FPicture.PTS) / 1000000.0);

    FPicture.OriginalDTS = AFrame->pkt_dts;
    FPicture.OriginalPTS = AFrame->pts;
    FPicture.StreamIndex = FDecodeIndex;
    if (FPicture.Position >= 0) FLastPos = FPicture.Position;
    FPicture.Position = APosition;
    for (int i = 0; i < 4; ++i) {
        FPicture.Picture.data[i] = shown->data[i];
        FPicture.Picture.linesize[i] = shown->linesize[i];
    }
    FPicture.Buffer = shown->data[0];
    FPicture.Size = shown->buf[0] != nullptr ? static_cast<int>(shown->buf[0]->size) : 0;
    FPicture.Ready = true;
}

void TFFDecoder::ResetFrameInfo()
{
    if (FPicture.PTS != AV_NOPTS_VALUE) FLastPTS = FPicture.PTS;
    if (FPicture.Position >= 0) FLastPos = FPicture.Position;
    const TAVPicture picture = FPicture.Picture;
    void* buffer = FPicture.Buffer;
    const int size = FPicture.Size;
    FPicture = TFrameInfo{};
    FPicture.PTS = FPicture.OriginalDTS = FPicture.OriginalPTS = AV_NOPTS_VALUE;
    FPicture.Picture = picture;
    FPicture.Buffer = buffer;
    FPicture.Size = size;
}

bool TFFDecoder::SeeksByBytes() const
{
    const AVInputFormat* format = FFileHandle->iformat;
    return (format->flags & AVFMT_TS_DISCONT) != 0 && (format->flags & AVFMT_NO_BYTE_SEEK) == 0 &&
           strcasecmp(format->name, "ogg") != 0;
}

bool TFFDecoder::CanSeek()
{
    if (!CheckOwnFile()) return false;
    if (IsStillImage()) {
        LoggerInstance()->Log(this, llInfo, "\"image2\" format cannot to be seeked.");
        FLastErrMsg = "\"image2\" format cannot to be seeked.";
        return false;
    }
    return true;
}

bool TFFDecoder::Seek(int64_t APTS, TSeekFlags ASeekFlags)
{
    if (!CanSeek()) return false;
    LoggerInstance()->Log(this, llDebug, "current position %lld bytes",
                          static_cast<long long>(IOPosition(FFileHandle)));
    int64_t target = APTS < 0 ? 0 : APTS;
    if (!ASeekFlags.Contains(sfByte)) {
        if (FSeekIndex >= 0)
            target = ff::av_rescale_q(target, AVRational{1, AV_TIME_BASE}, FFileHandle->streams[FSeekIndex]->time_base);
        if (FStartTime > 0) target += FStartTime;
    }

    if (FCodec != nullptr) ff::avcodec_flush_buffers(FCodec);
    if (FAudioCodec != nullptr) ff::avcodec_flush_buffers(FAudioCodec);
    FVideoDrainSent = FAudioDrainSent = false;
    FEOF = false;
    ResetFrameInfo();
    ResetWaveInfo();
    FRemainsAudioSize = 0;
    FAudioNextPTS = AV_NOPTS_VALUE;

    const int flags = SeekFlagsToAV(ASeekFlags);
    ArmReadTimeout();
    int result;
    if (APTS > 0) {
        result = ff::av_seek_frame(FFileHandle, FSeekIndex, target, flags);
    } else {
        // To the start. Streams whose times may jump (transport streams) have no index, and a time seek there
        // only lands near the start, often past the first key frame; the start of the data is the start.
        result = -1;
        if (!ASeekFlags.Contains(sfByte) && SeeksByBytes())
            result = ff::av_seek_frame(FFileHandle, -1, 0, AVSEEK_FLAG_BYTE | AVSEEK_FLAG_BACKWARD);
        // Otherwise backward to the file's first time, else forward to the first key frame from there.
        if (result < 0) result = ff::av_seek_frame(FFileHandle, FSeekIndex, target, flags | AVSEEK_FLAG_BACKWARD);
        if (result < 0) result = ff::av_seek_frame(FFileHandle, FSeekIndex, target, flags & ~AVSEEK_FLAG_BACKWARD);
    }
    DisarmReadTimeout();
    if (result < 0) {
        ReportError(AV_LOG_ERROR, ASeekFlags.Contains(sfByte)
                                      ? StrFormat("could not seek to position %lld bytes", static_cast<long long>(APTS))
                                      : StrFormat("could not seek to position %0.3f seconds", APTS / 1000000.0));
        return false;
    }
    LoggerInstance()->Log(this, llDebug, "seek to position %lld bytes", static_cast<long long>(IOPosition(FFileHandle)));
    // The input's end flag is not consulted here: several demuxers only move the input at their next read, so
    // the flag of an earlier read to the end would still be up. The next decode finds a real end by itself.
    return true;
}

int64_t TFFDecoder::StreamFrameDuration(int AStreamIndex) const
{
    const AVStream* stream = FFileHandle->streams[AStreamIndex];
    const bool average_known = stream->avg_frame_rate.num != 0 && stream->avg_frame_rate.den != 0;
    return FrameDuration(average_known ? stream->avg_frame_rate : stream->r_frame_rate);
}

bool TFFDecoder::DecodeNextKeyFrame(int AStreamIndex)
{
    const int index = SelectVideoStream(AStreamIndex);
    if (index < 0) return false;
    const int64_t frame = StreamFrameDuration(index);
    int64_t target = frame;
    if (FPicture.PTS != AV_NOPTS_VALUE && FPicture.PTS > 0) target += FPicture.PTS;
    return Seek(target, TSeekFlags{}) && Decode(index);
}

int64_t TFFDecoder::StepBackReference() const
{
    if (FPicture.PTS != AV_NOPTS_VALUE) return FPicture.PTS;
    if (FLastPTS != AV_NOPTS_VALUE) return FLastPTS;
    // Stepping back from nothing starts at the end.
    return FFileHandle->duration == AV_NOPTS_VALUE ? 0 : FFileHandle->duration;
}

bool TFFDecoder::DecodeKeyFrameBefore(int AStreamIndex, int64_t AReference)
{
    const int64_t frame = StreamFrameDuration(AStreamIndex);
    // Back off one frame duration more each round until a picture before the reference comes out. Each round
    // decodes; comparing byte positions to skip that is unreliable here, as a seek does not always move the input.
    for (int64_t h = 1;; ++h) {
        const int64_t step = h * frame;
        if (!Seek(AReference - step, TSeekFlags{sfBackward})) return false;
        if (!Decode(AStreamIndex)) {
            if (AReference < step) return false;
            continue;
        }
        // A picture without a time right after a seek (a program stream's key frame may carry none) tells
        // nothing: the next round lands earlier and reaches it in sequence.
        const int64_t time = FPicture.PTS;
        if (time != AV_NOPTS_VALUE && (time < AReference || time <= 0)) return true;
        // Already back at the start and still not before the reference: there is nothing earlier, unless the
        // first picture simply has no time.
        if (AReference < step) return time == AV_NOPTS_VALUE;
    }
}

bool TFFDecoder::DecodePreviousKeyFrame(int AStreamIndex)
{
    const int index = SelectVideoStream(AStreamIndex);
    if (index < 0) return false;
    if (DecodeKeyFrameBefore(index, StepBackReference())) return true;
    FLastErrMsg = "Could not seek to the previous key-frame. " + FLastErrMsg;
    return false;
}

bool TFFDecoder::DecodePreviousFrame(int AStreamIndex)
{
    const int index = SelectVideoStream(AStreamIndex);
    if (index < 0) return false;
    // The last picture whose time is strictly before the current one. Time stamps in whole milliseconds put
    // pictures off their nominal grid, so no guess from the frame duration finds it: the pictures from the key
    // frame on are decoded to learn its time, then the same key frame is found again and decoded up to it, which
    // leaves the decoder right after that picture for the next step either way.
    const int64_t reference = StepBackReference();
    if (!DecodePreviousKeyFrame(index)) return false;
    int64_t target = FPicture.PTS;
    while (Decode(index)) {
        const int64_t time = FPicture.PTS;
        if (time == AV_NOPTS_VALUE) continue;
        if (time >= reference) break;
        target = time;
    }
    if (!DecodeKeyFrameBefore(index, reference)) {
        FLastErrMsg = "Could not seek to the previous key-frame. " + FLastErrMsg;
        return false;
    }
    while (FPicture.PTS == AV_NOPTS_VALUE || FPicture.PTS < target)
        if (!Decode(index)) return false;
    return true;
}

bool TFFDecoder::ConvertPicture()
{
    if (!FPicture.Ready) {
        ReportError(AV_LOG_ERROR, PictureNotReady);
        return false;
    }
    if (!FFormatConv->PictureToRGB(&FPicture.Picture, static_cast<AVPixelFormat>(FPicture.PixFmt), FPicture.Width,
                                   FPicture.Height)) {
        ReportError(AV_LOG_ERROR, FFormatConv->LastErrMsg());
        return false;
    }
    return true;
}

win::BITMAP* TFFDecoder::GetBitmapPtr() { return ConvertPicture() ? FFormatConv->DIB() : nullptr; }

int64_t TFFDecoder::Position()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, FileNotLoaded);
        return -1;
    }
    if (FFileHandle->pb == nullptr) {
        ReportError(AV_LOG_WARNING, "cannot get position");
        return -1;
    }
    return IOPosition(FFileHandle);
}
