// The option handlers that parse and check a value before they store it in the transcoder's settings.
#include <cctype>
#include <cstdlib>

extern "C" {
#include <libavutil/parseutils.h>
}

#include "media/loader/av_bindings.h"
#include "media/transcode/custom_ffmpeg.h"
#include "media/util/media_utils.h"
#include "media/util/text_format.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr int MaxStreams = 20;
constexpr int MaxHookWords = 64;

// The integer at the start of AText from APos on (as the C runtime reads one); APos moves past it.
int LeadingInt(const std::string& AText, size_t& APos)
{
    const char* start = AText.c_str() + std::min(APos, AText.size());
    char* end = nullptr;
    const long value = std::strtol(start, &end, 10);
    APos += static_cast<size_t>(end - start);
    return static_cast<int>(value);
}

}  // namespace

bool TCustomFFmpeg::OptDefault(const std::string& AName, const std::string& AValue)
{
    return FOptions.Set(AName, AValue, Fvideo_codec_name, Faudio_codec_name, Fsubtitle_codec_name);
}

void TCustomFFmpeg::OptDefaultOrHalt(const std::string& AName, const std::string& AValue)
{
    if (!OptDefault(AName, AValue) && HaltOnInvalidOption) throw FFmpegException(LastOptionError());
}

void TCustomFFmpeg::OptFormat(const std::string& AValue)
{
    if (!AValue.empty()) Flast_asked_format = AValue;
}

void TCustomFFmpeg::OptFrameRate(const std::string& AValue)
{
    if (AValue.empty()) return;
    AVRational rate;
    double number;
    // A plain decimal is read here, with the point whatever the locale says; the library reads names
    // ("ntsc") and fractions.
    if (TryStrToFloat(AValue, number)) {
        if (!(number > 0 && number <= 1000000)) throw FFmpegException("Incorrect frame rate");
        rate = ff::av_d2q(number, 1001000);
    } else if (ff::av_parse_video_rate(&rate, AValue.c_str()) < 0 || rate.num <= 0 || rate.den <= 0) {
        throw FFmpegException("Incorrect frame rate");
    }
    Fframe_rate = rate;
}

void TCustomFFmpeg::OptFrameSize(const std::string& AValue)
{
    if (AValue.empty()) return;
    int width = 0;
    int height = 0;
    if (ff::av_parse_video_size(&width, &height, AValue.c_str()) < 0) throw FFmpegException("Incorrect frame size");
    Fframe_width = width;
    Fframe_height = height;
}

void TCustomFFmpeg::OptFrameAspectRatio(const std::string& AValue)
{
    if (AValue.empty()) return;
    double aspect = 0;
    const size_t colon = AValue.find(':');
    if (colon != std::string::npos) {
        const int width = StrToIntDef(AValue.substr(0, colon), 0);
        const int height = StrToIntDef(AValue.substr(colon + 1), 0);
        if (height > 0) aspect = static_cast<double>(width) / height;
    } else {
        // Decimals are read with the point whatever the user's locale says.
        aspect = StrToFloatDef(AValue, 0);
    }
    if (aspect == 0) throw FFmpegException("Incorrect aspect ratio specification.");
    Fframe_aspect_ratio = static_cast<float>(aspect);
}

void TCustomFFmpeg::OptPixelFormat(const std::string& AValue)
{
    if (AValue == "list") {
        char line[128];
        for (int i = -1; i < AV_PIX_FMT_NB; ++i) {
            ff::av_get_pix_fmt_string(line, sizeof(line), static_cast<AVPixelFormat>(i));
            Log(llInfo, Trim(line));
        }
        return;
    }
    const AVPixelFormat format = ff::av_get_pix_fmt(AValue.c_str());
    if (format == AV_PIX_FMT_NONE)
        throw FFmpegException(StrFormat("Unknown pixel format requested: %s", AValue.c_str()));
    Fframe_pix_fmt = format;
}

void TCustomFFmpeg::OptSampleFormat(const std::string& AValue)
{
    if (AValue == "list") {
        char line[128];
        for (int i = -1; i < AV_SAMPLE_FMT_NB; ++i) {
            ff::av_get_sample_fmt_string(line, sizeof(line), static_cast<AVSampleFormat>(i));
            Log(llInfo, Trim(line));
        }
        return;
    }
    const AVSampleFormat format = ff::av_get_sample_fmt(AValue.c_str());
    if (format == AV_SAMPLE_FMT_NONE) throw FFmpegException(StrFormat("Invalid sample format \"%s\"", AValue.c_str()));
    Faudio_sample_fmt = format;
}

void TCustomFFmpeg::OptCodec(const std::string& AName, const std::string& AValue)
{
    if (AValue.empty()) return;
    std::string* name = &Fvideo_codec_name;
    int* copy = &Fvideo_stream_copy;
    if (AName[0] == 'a') {
        name = &Faudio_codec_name;
        copy = &Faudio_stream_copy;
    } else if (AName[0] == 's') {
        name = &Fsubtitle_codec_name;
        copy = &Fsubtitle_stream_copy;
    }
    name->clear();
    if (AValue == "copy")
        *copy = 1;
    else
        *name = AValue;
}

void TCustomFFmpeg::OptCodecTag(const std::string& AName, const std::string& AValue)
{
    uint32_t* tag = nullptr;
    if (AName == "vtag")
        tag = &Fvideo_codec_tag;
    else if (AName == "atag")
        tag = &Faudio_codec_tag;
    else if (AName == "stag")
        tag = &Fsubtitle_codec_tag;
    else
        throw FFmpegException(StrFormat("Invalid tag parmeter %s", AName.c_str()));
    if (AValue.empty()) return;
    int number;
    if (TryStrToInt(AValue, number)) {
        *tag = static_cast<uint32_t>(number);
        return;
    }
    if (AValue.size() != 4) throw FFmpegException("tag parameter must be 4 chars or int value");
    *tag = static_cast<uint8_t>(AValue[0]) | static_cast<uint8_t>(AValue[1]) << 8 |
           static_cast<uint8_t>(AValue[2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(AValue[3])) << 24;
}

void TCustomFFmpeg::OptBitrate(const std::string& AName, const std::string& AValue)
{
    if (!OptDefault(AName, AValue)) {
        if (HaltOnInvalidOption) throw FFmpegException(LastOptionError());
        return;
    }
    // The holder keeps the value it was last given, which is this option's, in bits per second.
    const int64_t bit_rate = FOptions.CodecHolderInt("b");
    if (bit_rate < 1000)
        Log(llWarning, "WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s");
}

void TCustomFFmpeg::OptQScale(const std::string& AValue)
{
    const double scale = StrToFloat(AValue);
    if (scale <= 0 || scale > 255) throw FFmpegException("qscale must be > 0.0 and <= 255");
    Fvideo_qscale = static_cast<float>(scale);
}

void TCustomFFmpeg::OptPass(const std::string& AValue)
{
    const int pass = StrToInt(AValue);
    if (pass != 1 && pass != 2) throw FFmpegException("pass number can be only 1 or 2");
    Fdo_pass = pass;
}

void TCustomFFmpeg::OptMatrix(const std::string& AValue, std::vector<uint16_t>& AMatrix)
{
    // The encoders divide by every coefficient and store each in 8 bits: a 0, a number out of that range or
    // anything that is not a number is refused here, before an encoder opens with it.
    std::vector<uint16_t> matrix(64, 0);
    size_t pos = 0;
    for (int i = 0; i < 64; ++i) {
        while (pos < AValue.size() && AValue[pos] == ' ') ++pos;
        const char* start = AValue.c_str() + pos;
        char* end = nullptr;
        const long value = std::isdigit(static_cast<unsigned char>(*start)) ? std::strtol(start, &end, 10) : 0;
        if (end != nullptr) pos += static_cast<size_t>(end - start);
        while (pos < AValue.size() && AValue[pos] == ' ') ++pos;
        const bool last = i == 63;
        if (end == nullptr || value < 1 || value > 255 || (pos < AValue.size() && AValue[pos] != ',') ||
            (last && pos < AValue.size()))
            throw FFmpegException(StrFormat("Invalid matrix \"%s\" at coeff %d: each of the 64 coefficients must be a "
                                            "whole number from 1 to 255", AValue.c_str(), i));
        matrix[i] = static_cast<uint16_t>(value);
        if (last) break;
        if (pos >= AValue.size())
            throw FFmpegException(StrFormat("Syntax error in matrix \"%s\" at coeff %d", AValue.c_str(), i));
        ++pos;
    }
    AMatrix = std::move(matrix);
}

void TCustomFFmpeg::OptThreads(const std::string& AValue)
{
    Fthread_count = StrToInt(AValue);
    Fthread_count_asked = true;
    if (Fverbose >= 0)
        Log(llVerbose, "Warning: if the ffmpeg libraries were not compiled with thread support, it would be using "
                       "thread emulation.");
}

void TCustomFFmpeg::OptVStats(const std::string& AValue)
{
    Fvstats_filename.clear();
    if (AValue == "0") return;
    Fvstats_filename =
        StrFormat("%svstats_%s.log", GetExeFolder().c_str(), FormatDateTime("hhnnss", Now()).c_str());
}

void TCustomFFmpeg::OptVStatsFile(const std::string& AValue) { Fvstats_filename = AValue; }

void TCustomFFmpeg::OptVideoHook(const std::string& AValue)
{
    const char* separators = AValue.find('|') != std::string::npos ? "|" : " \t";
    std::vector<std::string> words;
    size_t start = AValue.find_first_not_of(separators);
    while (start != std::string::npos) {
        const size_t end = AValue.find_first_of(separators, start);
        words.push_back(AValue.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : AValue.find_first_not_of(separators, end);
    }
    // The hook's argument array holds 64 words; more would run past it.
    if (words.empty() || words.size() > MaxHookWords)
        throw FFmpegException("Failed to add video hook function: " + AValue);
    FHooks.AddFrameHook(words, AValue);  // hooks: loads and chains the plug-in, raising the text above when refused
    FFrameHooks.push_back(std::move(words));
    Fusing_vhook = true;
}

void TCustomFFmpeg::OptBitstreamFilter(const std::string& AName, const std::string& AValue)
{
    if (AValue.empty() || AValue[0] == '=') return;
    const std::string name = Trim(AValue.substr(0, AValue.find('=')));
    if (ff::av_bsf_get_by_name(name.c_str()) == nullptr)
        throw FFmpegException(StrFormat("Unknown bitstream filter %s", Trim(AValue).c_str()));
    std::vector<std::string>& chain = AName[0] == 'v'   ? Fvideo_bitstream_filters
                                      : AName[0] == 'a' ? Faudio_bitstream_filters
                                                        : Fsubtitle_bitstream_filters;
    chain.push_back(name);
}

void TCustomFFmpeg::OptMetadata(const std::string& AValue)
{
    const size_t equals = AValue.find('=');
    if (equals == std::string::npos) throw FFmpegException("Missing =");
    if (equals == 0) throw FFmpegException("wrong parameter of metadata");
    AddMetadata(AValue.substr(0, equals), AValue.substr(equals + 1));
}

void TCustomFFmpeg::AddMetadata(const std::string& AKey, const std::string& AValue)
{
    ff::av_dict_set(&Fmetadata, AKey.c_str(), AValue.c_str(), 0);
}

void TCustomFFmpeg::OptMap(const std::string& AValue)
{
    TAVStreamMap map;
    size_t pos = 0;
    map.file_index = LeadingInt(AValue, pos);
    pos += pos < AValue.size() ? 1 : 0;
    map.stream_index = LeadingInt(AValue, pos);
    if (pos < AValue.size()) {
        ++pos;
        map.sync_file_index = LeadingInt(AValue, pos);
        pos += pos < AValue.size() ? 1 : 0;
        map.sync_stream_index = LeadingInt(AValue, pos);
    } else {
        map.sync_file_index = map.file_index;
        map.sync_stream_index = map.stream_index;
    }
    Fstream_maps.push_back(map);
}

void TCustomFFmpeg::OptMapMetaData(const std::string& AValue)
{
    size_t pos = 0;
    auto side = [&] {
        TAVMetaDataMap map;
        map.file_idx = LeadingInt(AValue, pos);
        if (pos < AValue.size() && AValue[pos] == ',') {
            ++pos;
            map.type_ = pos < AValue.size() ? AValue[pos] : '\0';
            if (map.type_ != 'g' && map.type_ != 's' && map.type_ != 'c' && map.type_ != 'p')
                throw FFmpegException(StrFormat("Invalid metadata type %c.", map.type_));
            ++pos;
            if (map.type_ != 'g') map.index = LeadingInt(AValue, pos);
        }
        return map;
    };
    const TAVMetaDataMap out = side();
    pos += pos < AValue.size() ? 1 : 0;
    const TAVMetaDataMap in = side();
    for (const TAVMetaDataMap& map : {out, in}) {
        if (map.type_ == 'g') Fmetadata_global_autocopy = 0;
        if (map.type_ == 's') Fmetadata_streams_autocopy = 0;
        if (map.type_ == 'c') Fmetadata_chapters_autocopy = 0;
    }
    Fmeta_data_maps.emplace_back(out, in);
}

void TCustomFFmpeg::OptMapChapters(const std::string& AValue)
{
    TAVChapterMap map;
    size_t pos = 0;
    map.out_file = LeadingInt(AValue, pos);
    pos += pos < AValue.size() ? 1 : 0;
    map.in_file = LeadingInt(AValue, pos);
    Fchapter_maps.push_back(map);
}

void TCustomFFmpeg::OptInputTSScale(const std::string& AValue)
{
    size_t pos = 0;
    const int stream = LeadingInt(AValue, pos);
    if (stream >= MaxStreams) throw FFmpegException(StrFormat("stream index over MAX_STREAMS(%d)", MaxStreams));
    // A negative index would write before the table.
    if (stream < 0 || Fnb_input_files >= FMaxFiles)
        throw FFmpegException(StrFormat("Invalid value \"%s\" for option \"%s\"", AValue.c_str(), "itsscale"));
    const double scale = pos < AValue.size() ? StrToFloatDef(AValue.substr(pos + 1), 0) : 0;
    std::vector<double>& scales = Finput_files_ts_scale[Fnb_input_files];
    if (static_cast<int>(scales.size()) <= stream) scales.resize(static_cast<size_t>(stream) + 1, 0);
    scales[stream] = scale;
}

void TCustomFFmpeg::OptStreamId(const std::string& AValue)
{
    const size_t colon = AValue.find(':');
    int index;
    int value;
    // A negative index would write before the map.
    if (colon == std::string::npos || !TryStrToInt(AValue.substr(0, colon), index) ||
        !TryStrToInt(AValue.substr(colon + 1), value) || index < 0)
        throw FFmpegException(StrFormat("Invalid value \"%s\" for option \"%s\", required syntax is \"index:value\"",
                                        AValue.c_str(), "streamid"));
    if (static_cast<int>(Fstreamid_map.size()) <= index) Fstreamid_map.resize(static_cast<size_t>(index) + 1, 0);
    Fstreamid_map[index] = value;
}

int64_t TCustomFFmpeg::ParseTimeSpec(const std::string& AContext, const std::string& AText, bool AIsDuration)
{
    int64_t time = 0;
    if (ff::av_parse_time(&time, AText.c_str(), AIsDuration ? 1 : 0) < 0)
        throw FFmpegException(StrFormat("Invalid %s specification for %s: %s", AIsDuration ? "duration" : "date",
                                        AContext.c_str(), AText.c_str()));
    return time;
}

void TCustomFFmpeg::ParseForcedKeyFrames(const std::string& AText, TAVOutputStream& AOutputStream,
                                         AVCodecContext* ACodecContext)
{
    AOutputStream.forced_kf_pts.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = AText.find(',', start);
        const std::string item = AText.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const int64_t time = ParseTimeSpec("force_key_frames", item, true);
        AOutputStream.forced_kf_pts.push_back(ff::av_rescale_q(time, AVRational{1, AV_TIME_BASE},
                                                               ACodecContext->time_base));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

void TCustomFFmpeg::SetStartTime(int64_t AValue)
{
    if (AValue != AV_NOPTS_VALUE) Fstart_time = AValue;
}

void TCustomFFmpeg::SetRecordingTime(int64_t AValue)
{
    if (AValue == AV_NOPTS_VALUE) return;
    Frecording_time = AValue;
    FTotalOutputDuration = AValue;
}

const std::string& TCustomFFmpeg::VideoFiltersOfInput(int AFile) const
{
    if (AFile >= 0 && AFile < Fnb_input_files && !Finput_vfilters[AFile].empty()) return Finput_vfilters[AFile];
    return Fvfilters;
}

void TCustomFFmpeg::SetProgramID(int AValue)
{
    if (AValue >= 0) Fopt_programid = AValue;
}

void TCustomFFmpeg::SetAudioVolume(int AValue)
{
    if (AValue >= 0) Faudio_volume = AValue;
}

void TCustomFFmpeg::SetMuxMaxDelay(float AValue)
{
    if (AValue > 0) Fmux_max_delay = AValue;
}

void TCustomFFmpeg::SetMuxPreload(float AValue)
{
    if (AValue > 0) Fmux_preload = AValue;
}

void TCustomFFmpeg::SetAudioSampleRate(int AValue)
{
    if (AValue > 0) Faudio_sample_rate = AValue;
}

void TCustomFFmpeg::SetAudioChannels(int AValue)
{
    if (AValue > 0) Faudio_channels = AValue;
}

void TCustomFFmpeg::SetForceFormat(const std::string& AValue) { OptFormat(AValue); }
