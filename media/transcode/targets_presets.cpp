// Ready-made settings: disc and camcorder targets for a television norm, and presets of option lines.
#include <cmath>
#include <fstream>
#include <sstream>

#include "media/loader/av_bindings.h"
#include "media/transcode/custom_ffmpeg.h"
#include "media/transcode/option_lines.h"
#include "media/transcode/presets.h"
#include "media/util/text_format.h"
#include "platform/rtl/sysutils.h"

namespace {

enum TNorm { nPAL, nNTSC, nFILM };
const char* const NormFrameRates[] = {"25", "30000/1001", "24000/1001"};

// PAL for 25 frames per second; NTSC for 29.97 and 23.976; -1 for any other rate.
int NormOfRate(int64_t AMilliFPS)
{
    if (AMilliFPS == 25000) return nPAL;
    if (AMilliFPS == 29970 || AMilliFPS == 23976) return nNTSC;
    return -1;
}

int64_t MilliFPS(AVRational ARate)
{
    return static_cast<int64_t>(std::nearbyint(ARate.num * 1000.0 / ARate.den));
}

}  // namespace

int TCustomFFmpeg::DecideNorm(const std::string& ANorm, const std::string& ADefaultNorm)
{
    if (ANorm == "pal") return nPAL;
    if (ANorm == "ntsc") return nNTSC;
    if (ANorm == "film") return nFILM;
    // Only video inputs set a frame rate: with none opened (an audio input, say) the rate is unknown, and the
    // inputs and then the default norm decide instead of failing.
    int norm = Fframe_rate.den != 0 && Fframe_rate.num > 0 ? NormOfRate(MilliFPS(Fframe_rate)) : -1;
    for (int i = 0; i < Fnb_input_files && norm < 0; ++i) {
        const AVFormatContext* input = Finput_files[i];
        for (unsigned s = 0; input != nullptr && s < input->nb_streams && norm < 0; ++s) {
            const AVStream* stream = input->streams[s];
            if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
            AVRational rate = stream->avg_frame_rate.den != 0 && stream->avg_frame_rate.num > 0
                                  ? stream->avg_frame_rate
                                  : stream->r_frame_rate;
            if (rate.den != 0 && rate.num > 0) norm = NormOfRate(MilliFPS(rate));
        }
    }
    if (norm < 0) norm = ADefaultNorm == "film" ? nFILM : ADefaultNorm == "ntsc" ? nNTSC : nPAL;
    if (Fverbose > 0) Log(llVerbose, StrFormat("Assuming %s for target.", norm == nPAL ? "PAL" : "NTSC"));
    return norm;
}

void TCustomFFmpeg::ApplyTarget(const std::string& AType, const std::string& ANorm, const std::string& ADefaultNorm)
{
    static const char* const known[] = {"vcd", "svcd", "dvd", "dv", "dv50"};
    bool is_known = false;
    for (const char* type : known) is_known = is_known || AType == type;
    if (!is_known) throw FFmpegException("Unknown target type");
    const int norm = DecideNorm(ANorm, ADefaultNorm);
    const bool pal = norm == nPAL;
    auto assume_aspect = [this](const char* AAspect, const char* AText) {
        if (Fframe_aspect_ratio != 0) return;
        SetExtOption("aspect", AAspect);
        Log(llInfo, AText);
    };
    if (AType == "vcd") {
        SetExtOption("vcodec", "mpeg1video");
        SetExtOption("acodec", "mp2");
        SetExtOption("f", "vcd");
        SetExtOption("s", pal ? "352x288" : "352x240");
        SetExtOption("r", NormFrameRates[norm]);
        OptDefaultOrHalt("g", pal ? "15" : "18");
        OptDefaultOrHalt("b", "1150000");
        OptDefaultOrHalt("maxrate", "1150000");
        OptDefaultOrHalt("minrate", "1150000");
        OptDefaultOrHalt("bufsize", "327680");
        OptDefaultOrHalt("ab", "224000");
        Faudio_sample_rate = 44100;
        Faudio_channels = 2;
        OptDefaultOrHalt("packetsize", "2324");
        OptDefaultOrHalt("muxrate", "1411200");
        Fmux_preload = 0.44f;
        assume_aspect("4:3", "Assuming 4:3 for aspect ratio");
    } else if (AType == "svcd") {
        SetExtOption("vcodec", "mpeg2video");
        SetExtOption("acodec", "mp2");
        SetExtOption("f", "svcd");
        SetExtOption("s", pal ? "480x576" : "480x480");
        SetExtOption("r", NormFrameRates[norm]);
        OptDefaultOrHalt("g", pal ? "15" : "18");
        OptDefaultOrHalt("b", "2040000");
        OptDefaultOrHalt("maxrate", "2516000");
        OptDefaultOrHalt("minrate", "0");
        OptDefaultOrHalt("bufsize", "1835008");
        // The scan-offset flag is an option of the MPEG-2 encoder in this library generation.
        OptDefaultOrHalt("scan_offset", "1");
        OptDefaultOrHalt("ab", "224000");
        Faudio_sample_rate = 44100;
        if (Faudio_channels == 1) Faudio_channels = 2;
        OptDefaultOrHalt("packetsize", "2324");
        assume_aspect("4:3", "Assuming 4:3 for aspect ratio");
    } else if (AType == "dvd") {
        SetExtOption("vcodec", "mpeg2video");
        SetExtOption("acodec", "ac3");
        SetExtOption("f", "dvd");
        SetExtOption("s", pal ? "720x576" : "720x480");
        SetExtOption("r", NormFrameRates[norm]);
        OptDefaultOrHalt("g", pal ? "15" : "18");
        OptDefaultOrHalt("b", "6000000");
        OptDefaultOrHalt("maxrate", "9000000");
        OptDefaultOrHalt("minrate", "0");
        OptDefaultOrHalt("bufsize", "1835008");
        OptDefaultOrHalt("packetsize", "2048");
        OptDefaultOrHalt("muxrate", "10080000");
        OptDefaultOrHalt("ab", "448000");
        Faudio_sample_rate = 48000;
        if (Faudio_channels == 1) Faudio_channels = 2;
        assume_aspect("16:9", "Assuming 16:9 for aspect ratio");
    } else {
        SetExtOption("f", "dv");
        SetExtOption("s", pal ? "720x576" : "720x480");
        SetExtOption("pix_fmt", AType == "dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
        SetExtOption("r", NormFrameRates[norm]);
        Faudio_sample_rate = 48000;
        Faudio_channels = 2;
    }
}

void TCustomFFmpeg::ApplyPreset(const std::string& AOptionName, const std::string& AName)
{
    if (AOptionName.empty() || AName.empty()) return;
    const char kind = AOptionName[0];
    std::string text;
    std::string label;
    bool found = false;
    if (kind == 'a' || kind == 'v' || kind == 's') {
        found = FindBuiltInPreset(AName, text, label);
        const std::string& codec = kind == 'a' ? Faudio_codec_name : kind == 'v' ? Fvideo_codec_name
                                                                                   : Fsubtitle_codec_name;
        if (!found && !codec.empty()) found = FindBuiltInPreset(codec + "-" + AName, text, label);
    }
    if (!found) {
        if (!FileExists(AName)) throw FFmpegException(StrFormat("Preset \"%s\" not found", AName.c_str()));
        std::ifstream file(AName, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        text = content.str();
        label = AName;
    }
    ApplyPresetText(text, label);
}

void TCustomFFmpeg::ApplyPresetText(const std::string& AText, const std::string& ALabel)
{
    std::istringstream lines(UnifyLineBreaks(AText, false));
    std::string line;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        const size_t equals = line.find('=');
        const std::string key = equals == std::string::npos ? line : line.substr(0, equals);
        const std::string value = equals == std::string::npos ? std::string() : line.substr(equals + 1);
        if (key.empty() || value.empty())
            throw FFmpegException(StrFormat("%s: Invalid syntax: \"%s\"", ALabel.c_str(), line.c_str()));
        const std::string lower_key = LowerCase(key);
        if (lower_key == "acodec" || lower_key == "vcodec" || lower_key == "scodec") {
            OptCodec(lower_key, value);
        } else if (!OptDefault(key, value) && HaltOnInvalidOption) {
            throw FFmpegException(StrFormat("%s\r\n%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"",
                                            LastOptionError().c_str(), ALabel.c_str(), line.c_str(), key.c_str(),
                                            value.c_str()));
        }
    }
}
