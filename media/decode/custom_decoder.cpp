#include "media/decode/custom_decoder.h"

#include <climits>
#include <cstdio>
#include <ctime>

#include "media/decode/unicode_names.h"
#include "media/loader/av_bindings.h"
#include "media/loader/interrupt_registry.h"
#include "media/log/ff_logger.h"
#include "media/util/ff_utils.h"
#include "media/util/text_format.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

namespace {

const char* const KindNames[] = {"video", "audio", "", "subtitle"};

int32_t ClampToInt32(int64_t AValue)
{
    return AValue > INT32_MAX ? INT32_MAX : AValue < INT32_MIN ? INT32_MIN : static_cast<int32_t>(AValue);
}

// "2026-12-10T12:34:56.000000Z" (the form demuxers give creation times in) to seconds since 1970; 0 when absent.
int64_t CreationTimeSeconds(const std::string& AText)
{
    std::tm parts{};
    if (std::sscanf(AText.c_str(), "%d-%d-%d%*c%d:%d:%d", &parts.tm_year, &parts.tm_mon, &parts.tm_mday,
                    &parts.tm_hour, &parts.tm_min, &parts.tm_sec) < 3)
        return 0;
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    const time_t seconds = timegm(&parts);
    return seconds > 0 ? static_cast<int64_t>(seconds) : 0;
}

int LeadingNumber(const std::string& AText)
{
    int value = 0;
    return std::sscanf(AText.c_str(), "%d", &value) == 1 ? value : 0;
}

// An unknown time base denominator would divide by zero in every rescale; the stream's own numerator (or 1)
// stands in, in the open context, as before.
void MendTimeBase(AVStream* AStream)
{
    if (AStream->time_base.den == 0) AStream->time_base.den = AStream->time_base.num != 0 ? AStream->time_base.num : 1;
}

int64_t ScaledOrMinusOne(int64_t AValue, AVRational ATimeBase)
{
    return AValue == AV_NOPTS_VALUE ? -1 : ff::av_rescale_q(AValue, ATimeBase, AVRational{1, AV_TIME_BASE});
}

// Width x SAR / height; an unknown pixel aspect counts as square, a picture without height has none.
float DisplayAspect(int AWidth, int AHeight, AVRational ASampleAspect)
{
    if (AWidth <= 0 || AHeight <= 0) return -1.0f;
    if (ASampleAspect.num <= 0 || ASampleAspect.den <= 0) ASampleAspect = AVRational{1, 1};
    return static_cast<float>(static_cast<double>(AWidth) * ASampleAspect.num / ASampleAspect.den / AHeight);
}

}  // namespace

TCustomDecoder::TCustomDecoder(TComponent* AOwner) : TFFBaseComponent(AOwner) { TCustomDecoder::ScanStreams(); }

TCustomDecoder::~TCustomDecoder()
{
    if (AVLibLoaded()) TCustomDecoder::CloseFile();
}

bool TCustomDecoder::LoadAVLib(const std::string& APath)
{
    if (FFLoader == nullptr) {
        FLastErrMsg = "media engine not started.";
        return false;
    }
    TFFLoader::SetLibraryPath(APath);
    if (FFLoader->Load(DecoderLibraries)) return true;
    FLastErrMsg = TFFLoader::LastErrMsg();
    return false;
}

bool TCustomDecoder::AVLibLoaded() const { return FFLoader != nullptr && FFLoader->Loaded(DecoderLibraries); }

void TCustomDecoder::UnloadAVLib()
{
    if (FFLoader != nullptr) FFLoader->Unload(DecoderLibraries);
}

void TCustomDecoder::CheckLibraries() const
{
    const std::pair<TLibrary, const char*> checks[] = {{avCodec, "LibAVCodec not loaded."},
                                                       {avFormat, "LibAVFormat not loaded."},
                                                       {avUtil, "LibAVUtil not loaded."},
                                                       {swScale, "LibSwScale not loaded."}};
    for (const auto& [library, text] : checks)
        if (FFLoader == nullptr || !FFLoader->Loaded(library)) throw Exception(text);
}

void TCustomDecoder::ReportError(int AAVLevel, const std::string& AText)
{
    LoggerInstance()->Log(this, AVLevelToLogLevel(AAVLevel), AText);
    FLastErrMsg = AText;
}

bool TCustomDecoder::LoadFile(const std::string& AFileName, const std::string& AFormatName, const TInputHints& AHints)
{
    CheckLibraries();
    CloseFile();

    const AVInputFormat* format = nullptr;
    if (!AFormatName.empty()) {
        format = ff::av_find_input_format(AFormatName.c_str());
        if (format == nullptr) {
            FLastErrMsg = StrFormat("Unknown input format: %s", AFormatName.c_str());
            return false;
        }
    }

    AVFormatContext* context = ff::avformat_alloc_context();
    if (context == nullptr) {
        ReportError(AV_LOG_ERROR, AVErrorText(AFileName, AVERROR(ENOMEM)));
        return false;
    }
    context->flags |= AVFMT_FLAG_NONBLOCK;
    context->interrupt_callback = AVIOInterruptCB{&TCustomDecoder::InterruptProc, this};
    const std::string url = FileNameToAnsiURL(AFileName);
    if (IsUnicodeURL(url)) {
        const int result = UnicodeIOOpen(url, uioRead, FUnicodeIO);
        if (result < 0) {
            ff::avformat_free_context(context);
            ReportError(AV_LOG_ERROR, AVErrorText(AFileName, result));
            return false;
        }
        context->pb = FUnicodeIO;
        context->flags |= AVFMT_FLAG_CUSTOM_IO;
    }

    AVDictionary* hints = nullptr;
    for (const auto& [key, value] : AHints) ff::av_dict_set(&hints, key.c_str(), value.c_str(), 0);
    // On failure the library frees the context and clears the pointer; only our own I/O is left to close.
    ArmReadTimeout();
    const int result = ff::avformat_open_input(&context, url.c_str(), format, &hints);
    ff::av_dict_free(&hints);
    if (result < 0) {
        DisarmReadTimeout();
        UnicodeIOClose(FUnicodeIO);
        ReportError(AV_LOG_ERROR, ReadTimedOut() ? StrFormat("%s: timeout", AFileName.c_str())
                                                 : AVErrorText(AFileName, result));
        return false;
    }
    FFileHandle = context;
    FOwnHandle = true;

    ArmReadTimeout();
    const int found = ff::avformat_find_stream_info(FFileHandle, nullptr);
    DisarmReadTimeout();
    if (found < 0 || ReadTimedOut()) {
        const bool timed_out = ReadTimedOut();
        CloseFile();
        FLastErrMsg = StrFormat(timed_out ? "%s: timeout" : "%s: could not find codec parameters", AFileName.c_str());
        if (timed_out) LoggerInstance()->Log(this, llError, FLastErrMsg);
        return false;
    }
    ScanStreams();
    FForceFormat = AFormatName;
    return true;
}

void TCustomDecoder::ArmReadTimeout()
{
    FTimedOut = false;
    FReadStarted = CurrentClock().NowMicros();
}

void TCustomDecoder::DisarmReadTimeout() { FReadStarted = INT64_MAX; }

int TCustomDecoder::InterruptProc(void* AOpaque)
{
    auto* decoder = static_cast<TCustomDecoder*>(AOpaque);
    const int64_t started = decoder->FReadStarted;
    if (decoder->FReadTimeout > 0 && started != INT64_MAX &&
        CurrentClock().NowMicros() - started > int64_t{decoder->FReadTimeout} * 1000) {
        decoder->FTimedOut = true;
        return 1;
    }
    return FFInterruptCallback(nullptr);
}

void TCustomDecoder::CloseFile()
{
    FForceFormat.clear();
    FreeStreamCodecs();
    if (FFileHandle != nullptr && FOwnHandle) ff::avformat_close_input(&FFileHandle);
    UnicodeIOClose(FUnicodeIO);
    FFileHandle = nullptr;
    FOwnHandle = false;
    ScanStreams();
}

void TCustomDecoder::SetFileHandle(AVFormatContext* AValue)
{
    if (AValue == FFileHandle) return;
    CheckLibraries();
    CloseFile();
    FOwnHandle = false;
    FFileHandle = AValue;
    ScanStreams();
}

void TCustomDecoder::ScanStreams()
{
    FFileSize = -1;
    FStreamCount = FProgramCount = -1;
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = -1;
    FFirstAudioStreamIndex = FFirstVideoStreamIndex = FFirstSubtitleStreamIndex = -1;
    if (FFileHandle == nullptr) return;

    const int64_t io_size = FFileHandle->pb != nullptr ? ff::avio_size(FFileHandle->pb) : -1;
    const std::string name = URLToWideName(FFileHandle->url ? FFileHandle->url : "");
    if (io_size > 0)
        FFileSize = io_size;
    else if (FileExists(name))
        FFileSize = FileSizeByName(name);
    else
        FFileSize = io_size;

    FStreamCount = static_cast<int>(FFileHandle->nb_streams);
    FProgramCount = static_cast<int>(FFileHandle->nb_programs);
    FAudioStreamCount = FVideoStreamCount = FSubtitleStreamCount = 0;
    for (int i = 0; i < FStreamCount; ++i) {
        switch (FFileHandle->streams[i]->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO:
            if (IsCoverArt(FFileHandle->streams[i])) break;
            ++FVideoStreamCount;
            if (FFirstVideoStreamIndex < 0) FFirstVideoStreamIndex = i;
            break;
        case AVMEDIA_TYPE_AUDIO:
            ++FAudioStreamCount;
            if (FFirstAudioStreamIndex < 0) FFirstAudioStreamIndex = i;
            break;
        case AVMEDIA_TYPE_SUBTITLE:
            ++FSubtitleStreamCount;
            if (FFirstSubtitleStreamIndex < 0) FFirstSubtitleStreamIndex = i;
            break;
        default:
            break;
        }
    }
}

AVCodecContext* TCustomDecoder::StreamCodec(int AStreamIndex)
{
    if (FFileHandle == nullptr || AStreamIndex < 0 || AStreamIndex >= static_cast<int>(FFileHandle->nb_streams))
        return nullptr;
    if (FStreamCodecs.size() < FFileHandle->nb_streams) FStreamCodecs.resize(FFileHandle->nb_streams, nullptr);
    AVCodecContext*& codec = FStreamCodecs[AStreamIndex];
    if (codec == nullptr) {
        const AVStream* stream = FFileHandle->streams[AStreamIndex];
        codec = ff::avcodec_alloc_context3(nullptr);
        if (codec == nullptr) return nullptr;
        if (ff::avcodec_parameters_to_context(codec, stream->codecpar) < 0) {
            ff::avcodec_free_context(&codec);
            return nullptr;
        }
        codec->pkt_timebase = stream->time_base;
    }
    return codec;
}

void TCustomDecoder::DropStreamCodec(int AStreamIndex)
{
    if (AStreamIndex >= 0 && AStreamIndex < static_cast<int>(FStreamCodecs.size()))
        ff::avcodec_free_context(&FStreamCodecs[AStreamIndex]);
}

void TCustomDecoder::FreeStreamCodecs()
{
    for (AVCodecContext*& codec : FStreamCodecs) ff::avcodec_free_context(&codec);
    FStreamCodecs.clear();
}

std::string TCustomDecoder::FileName()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, FileNotLoaded);
        return std::string();
    }
    return URLToWideName(FFileHandle->url ? FFileHandle->url : "");
}

std::string TCustomDecoder::FormatName()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, FileNotLoaded);
        return std::string();
    }
    return FFileHandle->iformat && FFileHandle->iformat->name ? FFileHandle->iformat->name : "";
}

std::string TCustomDecoder::FormatLongName()
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, FileNotLoaded);
        return std::string();
    }
    return FFileHandle->iformat && FFileHandle->iformat->long_name ? FFileHandle->iformat->long_name : "";
}

TFileStreamInfo TCustomDecoder::FileStreamInfo()
{
    TFileStreamInfo info;
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, FileNotLoaded);
        return info;
    }
    const AVDictionary* metadata = FFileHandle->metadata;
    info.StartTime = FFileHandle->start_time == AV_NOPTS_VALUE ? -1 : FFileHandle->start_time;
    info.Duration = FFileHandle->duration == AV_NOPTS_VALUE ? -1 : FFileHandle->duration;
    info.BitRate = ClampToInt32(FFileHandle->bit_rate);
    // The container's own time-stamp, year and track fields are metadata in this library generation.
    info.TimeStamp = CreationTimeSeconds(MetadataValue(metadata, "creation_time", ""));
    info.Year = LeadingNumber(MetadataValue(metadata, "date", MetadataValue(metadata, "year", "")));
    info.Track = LeadingNumber(MetadataValue(metadata, "track", ""));
    info.Title = MetadataValue(metadata, "title", "");
    info.Author = MetadataValue(metadata, "author", MetadataValue(metadata, "artist", ""));
    info.Copyright = MetadataValue(metadata, "copyright", "");
    info.Comment = MetadataValue(metadata, "comment", "");
    info.Album = MetadataValue(metadata, "album", "");
    info.Genre = MetadataValue(metadata, "genre", "");
    return info;
}

int TCustomDecoder::CheckStreamIndex(int AStreamIndex, int AMediaType)
{
    if (FFileHandle == nullptr) {
        ReportError(AV_LOG_WARNING, FileNotLoaded);
        return -1;
    }
    const char* kind = KindNames[AMediaType];
    if (AStreamIndex < 0) {
        AStreamIndex = AMediaType == AVMEDIA_TYPE_VIDEO   ? FFirstVideoStreamIndex
                       : AMediaType == AVMEDIA_TYPE_AUDIO ? FFirstAudioStreamIndex
                                                          : FFirstSubtitleStreamIndex;
        if (AStreamIndex < 0) {
            ReportError(AV_LOG_ERROR, StrFormat("no %s stream.", kind));
            return -1;
        }
    } else if (AStreamIndex >= FStreamCount) {
        ReportError(AV_LOG_ERROR, StrFormat("stream index #%d is invalid.", AStreamIndex));
        return -1;
    }
    const AVStream* stream = FFileHandle->streams[AStreamIndex];
    if (stream->codecpar->codec_type != AMediaType || (AMediaType == AVMEDIA_TYPE_VIDEO && IsCoverArt(stream))) {
        ReportError(AV_LOG_ERROR, StrFormat("stream #%d is not %s stream.", AStreamIndex, kind));
        return -1;
    }
    return AStreamIndex;
}

TVideoStreamInfo TCustomDecoder::GetVideoStreamInfo(int AStreamIndex)
{
    TVideoStreamInfo info;
    const int index = CheckStreamIndex(AStreamIndex, AVMEDIA_TYPE_VIDEO);
    if (index < 0) return info;
    AVStream* stream = FFileHandle->streams[index];
    const AVCodecParameters* par = stream->codecpar;
    info.Language = MetadataValue(stream->metadata, "language", "");
    if (AVCodecContext* codec = StreamCodec(index)) info.CodecName = CodecText(codec, false);
    MendTimeBase(stream);
    info.StartTime = stream->start_time;
    info.StartTimeScaled = ScaledOrMinusOne(stream->start_time, stream->time_base);
    info.Duration = stream->duration;
    info.DurationScaled = ScaledOrMinusOne(stream->duration, stream->time_base);
    info.BitRate = ClampToInt32(par->bit_rate);
    info.Height = par->height;
    info.Width = par->width;
    const AVRational sar = stream->sample_aspect_ratio.num != 0 ? stream->sample_aspect_ratio : par->sample_aspect_ratio;
    info.AspectRatio = DisplayAspect(par->width, par->height, sar);
    info.PixFmt = par->format;
    const bool average_known = stream->avg_frame_rate.num != 0 && stream->avg_frame_rate.den != 0;
    info.FrameRate = average_known ? stream->avg_frame_rate : stream->r_frame_rate;
    return info;
}

TAudioStreamInfo TCustomDecoder::GetAudioStreamInfo(int AStreamIndex)
{
    TAudioStreamInfo info;
    const int index = CheckStreamIndex(AStreamIndex, AVMEDIA_TYPE_AUDIO);
    if (index < 0) return info;
    AVStream* stream = FFileHandle->streams[index];
    const AVCodecParameters* par = stream->codecpar;
    info.Language = MetadataValue(stream->metadata, "language", "");
    if (AVCodecContext* codec = StreamCodec(index)) info.CodecName = CodecText(codec, false);
    MendTimeBase(stream);
    info.StartTime = stream->start_time;
    info.StartTimeScaled = ScaledOrMinusOne(stream->start_time, stream->time_base);
    info.Duration = stream->duration;
    info.DurationScaled = ScaledOrMinusOne(stream->duration, stream->time_base);
    info.BitRate = ClampToInt32(par->bit_rate);
    info.Channels = par->ch_layout.nb_channels;
    info.SampleRate = par->sample_rate;
    info.SampleFormat = par->format;
    return info;
}

TSubtitleStreamInfo TCustomDecoder::GetSubtitleStreamInfo(int AStreamIndex)
{
    TSubtitleStreamInfo info;
    const int index = CheckStreamIndex(AStreamIndex, AVMEDIA_TYPE_SUBTITLE);
    if (index < 0) return info;
    const AVStream* stream = FFileHandle->streams[index];
    info.Language = MetadataValue(stream->metadata, "language", "");
    if (AVCodecContext* codec = StreamCodec(index)) info.CodecName = CodecText(codec, false);
    return info;
}

bool TCustomDecoder::IsStreamOfKind(int AStreamIndex, int AMediaType)
{
    if (AStreamIndex < 0 && FFileHandle != nullptr) {
        ReportError(AV_LOG_ERROR, StrFormat("stream index #%d is invalid.", AStreamIndex));
        return false;
    }
    return CheckStreamIndex(AStreamIndex, AMediaType) >= 0;
}

bool TCustomDecoder::IsCoverArt(const AVStream* AStream)
{
    return AStream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && (AStream->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

bool TCustomDecoder::IsVideoStream(int AStreamIndex) { return IsStreamOfKind(AStreamIndex, AVMEDIA_TYPE_VIDEO); }
bool TCustomDecoder::IsAudioStream(int AStreamIndex) { return IsStreamOfKind(AStreamIndex, AVMEDIA_TYPE_AUDIO); }
bool TCustomDecoder::IsSubtitleStream(int AStreamIndex) { return IsStreamOfKind(AStreamIndex, AVMEDIA_TYPE_SUBTITLE); }
