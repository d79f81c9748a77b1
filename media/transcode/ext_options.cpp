// The option table of the transcoder: one option name and value to one setting, as the command-line transcoder
// reads its arguments.
#include <cmath>
#include <functional>
#include <unordered_map>

#include "media/loader/av_bindings.h"
#include "media/transcode/custom_ffmpeg.h"
#include "media/transcode/option_lines.h"
#include "media/util/text_format.h"
#include "platform/rtl/sysutils.h"

using TOptionHandler = std::function<void(TCustomFFmpeg&, const std::string& AName, const std::string& AValue)>;

// Friend of the transcoder, so that the table can reach its settings.
struct TOptionTable {
    static const std::unordered_map<std::string, TOptionHandler>& Handlers();
};

namespace {

bool SwitchOn(const std::string& AValue) { return AValue != "0"; }

}  // namespace

const std::unordered_map<std::string, TOptionHandler>& TOptionTable::Handlers()
{
    using E = TCustomFFmpeg;
    auto nothing = [](E& AEngine, const std::string& AName, const std::string&) {
        AEngine.Log(llInfo, "Do nothing: option - " + AName);
    };
    auto removed_crop = [](E&, const std::string&, const std::string&) {
        throw FFmpegException("Removed, use the crop filter instead");
    };
    auto removed_pad = [](E&, const std::string&, const std::string&) {
        throw FFmpegException("Removed, use the pad filter instead");
    };
    auto on = [](bool E::*AField) {
        return [AField](E& AEngine, const std::string&, const std::string& AValue) {
            AEngine.*AField = SwitchOn(AValue);
        };
    };
    auto integer = [](int E::*AField) {
        return [AField](E& AEngine, const std::string&, const std::string& AValue) {
            AEngine.*AField = StrToInt(AValue);
        };
    };
    auto decimal = [](float E::*AField) {
        return [AField](E& AEngine, const std::string&, const std::string& AValue) {
            AEngine.*AField = static_cast<float>(StrToFloat(AValue));
        };
    };
    auto text = [](std::string E::*AField) {
        return [AField](E& AEngine, const std::string&, const std::string& AValue) { AEngine.*AField = AValue; };
    };
    auto frames = [](int AType) {
        return [AType](E& AEngine, const std::string&, const std::string& AValue) {
            AEngine.Fmax_frames[AType] = StrToInt(AValue);
        };
    };
    auto time = [](E& AEngine, const std::string& AName, const std::string& AValue) {
        const bool duration = AName != "timestamp";
        const int64_t value = AEngine.ParseTimeSpec(AName, AValue, duration);
        // A negative length would make an empty file and call it a success.
        if (AName == "t" && value < 0)
            throw FFmpegException(StrFormat("Invalid value \"%s\" for option \"%s\"", AValue.c_str(), AName.c_str()));
        if (AName == "t")
            AEngine.SetRecordingTime(value);
        else if (AName == "ss")
            AEngine.Fstart_time = value;
        else if (AName == "itsoffset")
            AEngine.Finput_ts_offset = value;
        else
            AEngine.Frecording_timestamp = static_cast<int64_t>(std::nearbyint(value / 1000000.0)) * 1000000;
    };
    auto codec = [](E& AEngine, const std::string& AName, const std::string& AValue) {
        AEngine.OptCodec(AName, AValue);
    };
    auto tag = [](E& AEngine, const std::string& AName, const std::string& AValue) {
        AEngine.OptCodecTag(AName, AValue);
    };
    auto bitrate = [](E& AEngine, const std::string& AName, const std::string& AValue) {
        AEngine.OptBitrate(AName, AValue);
    };
    auto bsf = [](E& AEngine, const std::string& AName, const std::string& AValue) {
        AEngine.OptBitstreamFilter(AName, AValue);
    };
    auto filters = [](E& AEngine, const std::string&, const std::string& AValue) {
        if (!AValue.empty()) AEngine.Fvfilters = AValue;
    };
    auto preset = [](E& AEngine, const std::string& AName, const std::string& AValue) {
        AEngine.ApplyPreset(AName, AValue);
    };
    auto new_stream = [](AVMediaType AType) {
        return [AType](E& AEngine, const std::string&, const std::string&) { AEngine.OptNewStream(AType); };
    };
    auto call = [](void (E::*AMethod)(const std::string&)) {
        return [AMethod](E& AEngine, const std::string&, const std::string& AValue) { (AEngine.*AMethod)(AValue); };
    };

    static const std::unordered_map<std::string, TOptionHandler> table = {
        {"L", nothing}, {"h", nothing}, {"version", nothing}, {"formats", nothing}, {"codecs", nothing},
        {"bsfs", nothing}, {"protocols", nothing}, {"filters", nothing}, {"i", nothing}, {"y", nothing},
        {"benchmark", nothing},
        {"loglevel", [](E&, const std::string&, const std::string& AValue) { LoggerInstance()->OptLogLevel(AValue); }},
        {"timelimit",
         [](E& AEngine, const std::string&, const std::string&) {
             AEngine.Log(llWarning, "Warning: -timelimit not implemented on Windows");
         }},
        {"v", integer(&E::Fverbose)},
        {"f", call(&E::OptFormat)},
        {"map", call(&E::OptMap)},
        {"map_meta_data", call(&E::OptMapMetaData)},
        {"map_chapters", call(&E::OptMapChapters)},
        {"t", time}, {"ss", time}, {"itsoffset", time}, {"timestamp", time},
        {"fs", [](E& AEngine, const std::string&, const std::string& AValue) {
             AEngine.Flimit_filesize = StrToInt64(AValue);
         }},
        {"itsscale", call(&E::OptInputTSScale)},
        {"metadata", call(&E::OptMetadata)},
        {"dframes", frames(2)}, {"vframes", frames(0)}, {"aframes", frames(1)},
        {"dump", on(&E::Fdo_pkt_dump)}, {"hex", on(&E::Fdo_hex_dump)}, {"re", on(&E::Frate_emu)},
        {"loop_input", on(&E::Floop_input)}, {"loop_output", integer(&E::Floop_output)},
        {"target",
         [](E& AEngine, const std::string&, const std::string& AValue) {
             const std::string value = Trim(AValue);
             for (const char* norm : {"pal", "ntsc", "film"}) {
                 const std::string prefix = std::string(norm) + "-";
                 if (value.compare(0, prefix.size(), prefix) == 0) {
                     AEngine.ApplyTarget(value.substr(prefix.size()), norm, "ntsc");
                     return;
                 }
             }
             AEngine.ApplyTarget(value, "auto", "ntsc");
         }},
        {"threads", call(&E::OptThreads)},
        {"vsync", integer(&E::Fvideo_sync_method)}, {"async", integer(&E::Faudio_sync_method)},
        {"adrift_threshold", decimal(&E::Faudio_drift_threshold)},
        {"vglobal", integer(&E::Fvideo_global_header)},
        {"copyts", on(&E::Fcopy_ts)}, {"copytb", on(&E::Fcopy_tb)}, {"shortest", on(&E::Fopt_shortest)},
        {"dts_delta_threshold", decimal(&E::Fdts_delta_threshold)},
        {"programid", integer(&E::Fopt_programid)},
        {"xerror", on(&E::Fexit_on_error)},
        {"copyinkf", integer(&E::Fcopy_initial_nonkeyframes)},
        {"b", bitrate}, {"vb", bitrate}, {"ab", bitrate},
        {"r", call(&E::OptFrameRate)}, {"s", call(&E::OptFrameSize)}, {"aspect", call(&E::OptFrameAspectRatio)},
        {"pix_fmt", call(&E::OptPixelFormat)},
        {"croptop", removed_crop}, {"cropbottom", removed_crop}, {"cropleft", removed_crop},
        {"cropright", removed_crop}, {"padtop", removed_pad}, {"padbottom", removed_pad}, {"padleft", removed_pad},
        {"padright", removed_pad}, {"padcolor", removed_pad},
        {"intra", on(&E::Fintra_only)}, {"vn", on(&E::Fvideo_disable)},
        {"vdt", integer(&E::Fvideo_discard)},
        {"qscale", call(&E::OptQScale)},
        {"rc_override", text(&E::Fvideo_rc_override_string)},
        {"vcodec", codec}, {"acodec", codec}, {"scodec", codec},
        {"me_threshold", integer(&E::Fme_threshold)},
        {"sameq", on(&E::Fsame_quality)},
        {"pass", call(&E::OptPass)},
        {"passlogfile", text(&E::Fpass_logfilename_prefix)},
        {"deinterlace", on(&E::Fdo_deinterlace)}, {"psnr", on(&E::Fdo_psnr)},
        {"vstats", call(&E::OptVStats)}, {"vstats_file", call(&E::OptVStatsFile)},
        {"vhook", call(&E::OptVideoHook)},
        {"vfilters", filters}, {"vf", filters},
        {"intra_matrix", [](E& AEngine, const std::string&, const std::string& AValue) {
             AEngine.OptMatrix(AValue, AEngine.Fintra_matrix);
         }},
        {"inter_matrix", [](E& AEngine, const std::string&, const std::string& AValue) {
             AEngine.OptMatrix(AValue, AEngine.Finter_matrix);
         }},
        {"top", integer(&E::Ftop_field_first)}, {"dc", integer(&E::Fintra_dc_precision)},
        {"vtag", tag}, {"atag", tag}, {"stag", tag},
        {"newvideo", new_stream(AVMEDIA_TYPE_VIDEO)},
        {"newaudio", new_stream(AVMEDIA_TYPE_AUDIO)},
        {"newsubtitle", new_stream(AVMEDIA_TYPE_SUBTITLE)},
        {"vlang", text(&E::Fvideo_language)}, {"alang", text(&E::Faudio_language)},
        {"slang", text(&E::Fsubtitle_language)},
        {"qphist", on(&E::Fqp_hist)}, {"force_fps", on(&E::Fforce_fps)},
        {"streamid", call(&E::OptStreamId)},
        {"force_key_frames", text(&E::Fforced_key_frames)},
        {"aq", decimal(&E::Faudio_qscale)},
        {"ar", [](E& AEngine, const std::string&, const std::string& AValue) {
             AEngine.SetAudioSampleRate(StrToInt(AValue));
         }},
        {"ac", [](E& AEngine, const std::string&, const std::string& AValue) {
             AEngine.SetAudioChannels(StrToInt(AValue));
         }},
        {"an", on(&E::Faudio_disable)}, {"sn", on(&E::Fsubtitle_disable)},
        {"vol", integer(&E::Faudio_volume)},
        {"sample_fmt", call(&E::OptSampleFormat)},
        {"vc", integer(&E::Fvideo_channel)},
        {"tvstd", text(&E::Fvideo_standard)},
        {"isync", on(&E::Finput_sync)},
        {"muxdelay", decimal(&E::Fmux_max_delay)}, {"muxpreload", decimal(&E::Fmux_preload)},
        {"absf", bsf}, {"vbsf", bsf}, {"sbsf", bsf},
        {"apre", preset}, {"vpre", preset}, {"spre", preset}, {"fpre", preset},
    };
    return table;
}

void TCustomFFmpeg::SetExtOption(const std::string& AName, const std::string& AValue)
{
    const auto& table = TOptionTable::Handlers();
    const auto found = table.find(AName);
    if (found != table.end()) {
        found->second(*this, AName, AValue);
        return;
    }
    if (!OptDefault(AName, AValue) && HaltOnInvalidOption) {
        // An empty name gets no text from the option look-up; say what was wrong.
        if (Trim(AName).empty()) throw FFmpegException(StrFormat("Unrecognized option \"%s\"", AName.c_str()));
        throw FFmpegException(LastOptionError());
    }
}

void TCustomFFmpeg::ApplyExtOptions(const std::string& AOptions, bool AOutputFlavour)
{
    static const char* const always_skipped[] = {"newvideo", "newaudio", "newsubtitle", "apre", "vpre", "spre",
                                                 "vfilters", "vf"};
    static const char* const output_skipped[] = {"acodec", "vcodec", "scodec", "s"};
    for (const TOptionLine& line : ReadOptionLines(AOptions)) {
        const std::string name = LowerCase(line.Name);
        bool skip = false;
        for (const char* skipped : always_skipped) skip = skip || name == skipped;
        if (AOutputFlavour)
            for (const char* skipped : output_skipped) skip = skip || name == skipped;
        if (!skip) SetExtOption(name, line.Value);
    }
}
