#include "media/transcode/option_records.h"

#include <cmath>
#include <ctime>
#include <utility>
#include <vector>

#include "media/transcode/custom_ffmpeg.h"
#include "media/transcode/option_lines.h"
#include "platform/rtl/sysutils.h"

namespace {

// The defaults list of one output: "def_" entries for the output's first streams, then the codec, preset, size
// and filter values waiting for the new-stream lines, in the order given.
class TStreamDefaults {
public:
    void SetDefault(const std::string& AName, const std::string& AValue)
    {
        Erase("def_" + AName);
        if (!AValue.empty()) FEntries.emplace_back("def_" + AName, AValue);
    }
    std::string Default(const std::string& AName) const
    {
        for (const auto& [name, value] : FEntries)
            if (name == "def_" + AName) return value;
        return {};
    }
    void Append(const std::string& AName, const std::string& AValue) { FEntries.emplace_back(AName, AValue); }
    // The first waiting value of AName, taken off the list; else the default.
    std::string Take(const std::string& AName)
    {
        for (auto entry = FEntries.begin(); entry != FEntries.end(); ++entry)
            if (entry->first == AName) {
                std::string value = entry->second;
                FEntries.erase(entry);
                return value;
            }
        return Default(AName);
    }

private:
    void Erase(const std::string& AName)
    {
        for (auto entry = FEntries.begin(); entry != FEntries.end(); ++entry)
            if (entry->first == AName) {
                FEntries.erase(entry);
                return;
            }
    }
    std::vector<std::pair<std::string, std::string>> FEntries;
};

bool IsStreamOption(const std::string& AName)
{
    static const char* const names[] = {"acodec", "vcodec", "scodec", "apre", "vpre", "spre", "s", "vfilters", "vf"};
    for (const char* name : names)
        if (AName == name) return true;
    return false;
}

TStreamDefaults CollectStreamDefaults(const TOutputOptions& AOptions)
{
    TStreamDefaults defaults;
    defaults.SetDefault("acodec", AOptions.AudioCodec);
    defaults.SetDefault("vcodec", AOptions.VideoCodec);
    defaults.SetDefault("scodec", AOptions.SubtitleCodec);
    defaults.SetDefault("apre", AOptions.AudioPreset);
    defaults.SetDefault("vpre", AOptions.VideoPreset);
    defaults.SetDefault("spre", AOptions.SubtitlePreset);
    defaults.SetDefault("s", AOptions.FrameSize);
    defaults.SetDefault("vf", AOptions.VideoFilters);
    for (const TOptionLine& line : ReadOptionLines(AOptions.ExtOptions)) {
        std::string name = LowerCase(line.Name);
        if (!IsStreamOption(name) || line.Value.empty()) continue;
        if (name == "vfilters") name = "vf";
        if (defaults.Default(name).empty()) defaults.SetDefault(name, line.Value);
        defaults.Append(name, line.Value);
    }
    return defaults;
}

void ApplyNewStreamLines(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions, TStreamDefaults& ADefaults)
{
    auto take = [&](std::initializer_list<const char*> ANames) {
        for (const char* name : ANames) AEngine.SetExtOption(name, ADefaults.Take(name));
    };
    for (const TOptionLine& line : ReadOptionLines(AOptions.ExtOptions)) {
        const std::string name = LowerCase(line.Name);
        if (name == "newaudio")
            take({"acodec", "apre"});
        else if (name == "newvideo")
            take({"vcodec", "vpre", "s", "vf"});
        else if (name == "newsubtitle")
            take({"scodec", "spre"});
        else
            continue;
        AEngine.SetExtOption(name, line.Value);
    }
}

void ApplyTargetOptions(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions)
{
    static const char* const types[] = {"", "vcd", "svcd", "dvd"};
    static const char* const norms[] = {"auto", "pal", "ntsc"};
    if (AOptions.TargetType == ttIgnore) return;
    AEngine.ApplyTarget(types[AOptions.TargetType], norms[AOptions.NormType],
                        AOptions.NormDefault == ntNTSC ? "ntsc" : "pal");
}

void ApplyStreamInfo(TCustomFFmpeg& AEngine, const TStreamInfo& AInfo)
{
    if (AInfo.TimeStamp == 0)
        AEngine.SetRecordingTimestamp(static_cast<int64_t>(std::time(nullptr)));
    else if (AInfo.TimeStamp > 0)
        AEngine.SetRecordingTimestamp(LocalDateTimeToUnix(AInfo.TimeStamp));
    if (AInfo.Year > 0) AEngine.AddMetadata("year", std::to_string(AInfo.Year));
    if (AInfo.Track > 0) AEngine.AddMetadata("track", std::to_string(AInfo.Track));
    const std::pair<const char*, const std::string*> texts[] = {
        {"title", &AInfo.Title},     {"author", &AInfo.Author}, {"copyright", &AInfo.Copyright},
        {"comment", &AInfo.Comment}, {"album", &AInfo.Album},   {"genre", &AInfo.Genre}};
    for (const auto& [key, value] : texts)
        if (!value->empty()) AEngine.AddMetadata(key, *value);
}

// The plain fields, in the record's order, each under its condition.
void ApplyPlainFields(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions)
{
    const bool no_target = AOptions.TargetType == ttIgnore;
    // Integers that the generic options take; a value they refuse is dropped without stopping the call.
    auto generic = [&](const char* AName, int AValue, bool AApply) {
        if (AApply && AValue > 0) AEngine.SetDefaultOption(AName, std::to_string(AValue));
    };
    auto text = [&](const char* AName, const std::string& AValue) {
        if (!AValue.empty()) AEngine.SetExtOption(AName, AValue);
    };
    text("f", AOptions.ForceFormat);
    generic("packetsize", AOptions.PacketSize, true);
    generic("muxrate", AOptions.MuxRate, true);
    AEngine.SetMuxMaxDelay(AOptions.MuxDelay);
    AEngine.SetMuxPreload(AOptions.MuxPreload);
    if (AOptions.DisableAudio) AEngine.SetExtOption("an", "1");
    AEngine.SetAudioVolume(AOptions.AudioVolume);
    AEngine.SetAudioChannels(AOptions.AudioChannels);
    AEngine.SetAudioSampleRate(AOptions.AudioSampleRate);
    generic("ab", AOptions.AudioBitrate, no_target);
    generic("abt", AOptions.AudioBitRateTolerance, true);
    AEngine.SetAudioLanguage(AOptions.AudioLanguage);
    AEngine.SetAudioSyncMethod(AOptions.AudioSyncMethod);
    text("atag", AOptions.AudioTag);
    if (AOptions.DisableVideo) AEngine.SetExtOption("vn", "1");
    text("r", AOptions.FrameRate);
    text("aspect", AOptions.FrameAspectRatio);
    generic("g", AOptions.GroupPictureSize, true);
    generic("vb", AOptions.VideoBitrate, no_target);
    generic("maxrate", AOptions.VideoMaxRate, true);
    generic("minrate", AOptions.VideoMinRate, true);
    generic("bt", AOptions.VideoBitRateTolerance, true);
    generic("bufsize", AOptions.VideoBufSize, true);
    AEngine.SetVideoSyncMethod(AOptions.VideoSyncMethod);
    text("vtag", AOptions.VideoTag);
    AEngine.SetVideoLanguage(AOptions.VideoLanguage);
    if (AOptions.DisableSubtitle) AEngine.SetExtOption("sn", "1");
    AEngine.SetSubtitleLanguage(AOptions.SubtitleLanguage);
    AEngine.SetInputSync(AOptions.InputSync);
    if (AOptions.CopyTimestamp) AEngine.SetExtOption("copyts", "1");
    AEngine.SetStartTime(AOptions.TimeStart);
    AEngine.SetRecordingTime(AOptions.TimeLength);
    ApplyStreamInfo(AEngine, AOptions.Info);
}

int64_t IntOrNoValue(const std::string& AText)
{
    int64_t value;
    return TryStrToInt64(AText, value) ? value : AV_NOPTS_VALUE;
}

}  // namespace

void InitInputOptions(TInputOptions& AOptions) { AOptions = TInputOptions{}; }

void InitOutputOptions(TOutputOptions& AOptions) { AOptions = TOutputOptions{}; }

TInputOptions InputOptionsFromText(const std::string& AText)
{
    TInputOptions options;
    for (const TOptionLine& line : ReadOptionLines(AText)) {
        if (SameText(line.Name, "TimeStart"))
            options.TimeStart = IntOrNoValue(line.Value);
        else
            options.ExtOptions += line.Name + "=" + line.Value + "\n";
    }
    return options;
}

TOutputOptions OutputOptionsFromText(const std::string& AText)
{
    TOutputOptions options;
    const std::pair<const char*, bool*> switches[] = {{"AudioHook", &options.AudioHook},
                                                      {"VideoInputHook", &options.VideoInputHook},
                                                      {"VideoOutputHook", &options.VideoOutputHook},
                                                      {"Join", &options.Join}};
    for (const TOptionLine& line : ReadOptionLines(AText)) {
        bool taken = false;
        for (const auto& [name, field] : switches)
            if (SameText(line.Name, name)) {
                *field = line.Value != "0";
                taken = true;
            }
        if (taken) continue;
        if (SameText(line.Name, "VideoHookBitsPixel"))
            options.VideoHookBitsPixel = StrToIntDef(line.Value, 24);
        else if (SameText(line.Name, "TimeStart"))
            options.TimeStart = IntOrNoValue(line.Value);
        else if (SameText(line.Name, "TimeLength"))
            options.TimeLength = IntOrNoValue(line.Value);
        else
            options.ExtOptions += line.Name + "=" + line.Value + "\n";
    }
    return options;
}

int64_t LocalDateTimeToUnix(double ADateTime)
{
    // Take the date-time apart as written, then let the zone rules of that very date (daylight saving included)
    // turn it into universal time.
    const auto local_seconds = static_cast<std::time_t>(std::nearbyint((ADateTime - 25569.0) * 86400.0));
    std::tm parts{};
    gmtime_r(&local_seconds, &parts);
    parts.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&parts));
}

void ApplyInputOptions(TCustomFFmpeg& AEngine, const TInputOptions& AOptions)
{
    AEngine.ApplyExtOptions(AOptions.ExtOptions, false);
    AEngine.SetForceFormat(AOptions.ForceFormat);
    AEngine.SetStartTime(AOptions.TimeStart);
    AEngine.SetProgramID(AOptions.ProgramID);
    AEngine.SetInputVideoFilters(AOptions.VideoFilters);
}

int ApplyOutputOptions(TCustomFFmpeg& AEngine, const TOutputOptions& AOptions)
{
    TStreamDefaults defaults = CollectStreamDefaults(AOptions);
    ApplyTargetOptions(AEngine, AOptions);
    AEngine.SetExtOption("acodec", defaults.Default("acodec"));
    AEngine.SetExtOption("vcodec", defaults.Default("vcodec"));
    AEngine.SetExtOption("scodec", defaults.Default("scodec"));
    AEngine.SetExtOption("apre", defaults.Default("apre"));
    AEngine.SetExtOption("vpre", defaults.Default("vpre"));
    AEngine.SetExtOption("spre", defaults.Default("spre"));
    AEngine.ApplyExtOptions(AOptions.ExtOptions, true);
    ApplyPlainFields(AEngine, AOptions);
    AEngine.SetExtOption("s", defaults.Default("s"));
    AEngine.SetExtOption("vf", defaults.Default("vf"));
    AEngine.SetHookBitsPixel(AOptions.VideoHookBitsPixel);
    const int result = AEngine.OpenOutputFile(AOptions.FileName, AOptions.Join);
    if (result < 0) return result;
    ApplyNewStreamLines(AEngine, AOptions, defaults);
    if (AOptions.Join) AEngine.PrepareJoin();
    return result;
}
