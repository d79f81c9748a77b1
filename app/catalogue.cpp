#include "app/catalogue.h"

#include <algorithm>
#include <memory>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"

namespace {

constexpr const char* kCategoryMarker = "<category id=\"";
constexpr const char* kProfilesEnd = "</profile>";

// The text after AMarker, found from AFrom on, up to the next double quote; AFrom moves past that quote.
std::string QuotedAfter(const std::string& ALine, const std::string& AMarker, size_t& AFrom)
{
    const auto start = ALine.find(AMarker, AFrom);
    if (start == std::string::npos)
        throw EConvertError("Missing " + AMarker + "\" in \"" + ALine + "\"");
    const auto value = start + AMarker.size();
    const auto end = ALine.find('"', value);
    if (end == std::string::npos)
        throw EConvertError("Unterminated value after " + AMarker + "\" in \"" + ALine + "\"");
    AFrom = end;
    return ALine.substr(value, end - value);
}

struct TFormatKey {
    const char* Marker;
    std::string TFormat::*Field;
};

// Looked up in this order, each from the start of the line: "name" before the codec names that end in it, and
// " frame_rate" with its blank so that it does not match inside "keep_ori_frame_rate".
const TFormatKey kFormatKeys[] = {
    {"id=\"", &TFormat::Category},
    {"name=\"", &TFormat::Title},
    {"description=\"", &TFormat::Description},
    {"icon=\"", &TFormat::Icon},
    {"format_ext=\"", &TFormat::FormatExt},
    {"audio_format=\"", &TFormat::IsAudioFormat},
    {"video_codec_name=\"", &TFormat::VideoCodecName},
    {"width=\"", &TFormat::Width},
    {"height=\"", &TFormat::Height},
    {"keep_ori_frame_rate=\"", &TFormat::KeepOriFrameRate},
    {" frame_rate=\"", &TFormat::FrameRate},
    {"video_bitrate=\"", &TFormat::VideoBitRate},
    {"audio_codec_name=\"", &TFormat::AudioCodecName},
    {"sample_rate=\"", &TFormat::SampleRate},
    {"channel=\"", &TFormat::Channel},
    {"audio_bitrate=\"", &TFormat::AudioBitRate},
    {"extra_param=\"", &TFormat::ExtraParam},
    {"video_codecs=\"", &TFormat::VideoCodecs},
    {"resolutions=\"", &TFormat::Resolutions},
    {"frame_rates=\"", &TFormat::FrameRates},
    {"video_bitrates=\"", &TFormat::VideoBitRates},
    {"audio_codecs=\"", &TFormat::AudioCodecs},
    {"sample_rates=\"", &TFormat::SampleRates},
    {"channels=\"", &TFormat::Channels},
    {"audio_bitrates=\"", &TFormat::AudioBitRates},
};

}  // namespace

void TCatalogue::Report(const std::string& AText, const std::string& AMark)
{
    if (OnReportError)
        OnReportError(AText, AMark);
}

void TCatalogue::LoadIcons(const std::string& AIconsFolder)
{
    TSearchRec found;
    if (FindFirst(IncludeTrailingPathDelimiter(AIconsFolder) + "*.png", faAnyFile, found) == 0) {
        do {
            const std::string id = found.Name.substr(0, found.Name.size() - 4);
            ProfileIcons.push_back({id, IncludeTrailingPathDelimiter(AIconsFolder) + found.Name});
        } while (FindNext(found) == 0);
    }
    FindClose(found);
}

void TCatalogue::LoadProfiles(const std::string& AFileName)
{
    try {
        TStringList lines;
        lines.LoadFromFile(AFileName);
        std::vector<std::string> text;
        for (Integer i = 0; i < lines.Count(); ++i)
            text.push_back(lines.Strings(i));
        ReadProfileLines(text);
    } catch (const Exception&) {
        Report("Error loading profiles", "CLM_LoadProfiles");
    }
    Profiles.push_back({kAllProfilesTitle, kAllProfilesID, "menuall", {}});
}

void TCatalogue::ReadProfileLines(const std::vector<std::string>& ALines)
{
    if (ALines.size() < 2)
        throw EConvertError("No chooser height");
    size_t from = 0;
    ChooserHeight = StrToInt(QuotedAfter(ALines[1], "height=\"", from));
    for (size_t i = 3; i < ALines.size(); ++i) {
        const std::string line = Trim(ALines[i]);
        const bool category = line.find(kCategoryMarker) != std::string::npos;
        if (line.find(kProfilesEnd) != std::string::npos)
            return;
        if (!category)
            continue;
        TProfile profile;
        size_t at = 0;
        profile.ID = QuotedAfter(line, kCategoryMarker, at);
        profile.Title = QuotedAfter(line, "title=\"", at);
        profile.Icon = QuotedAfter(line, "icon=\"", at);
        Profiles.push_back(std::move(profile));
    }
}

std::vector<std::string> TCatalogue::DecryptToStringList(const std::string& AFileName)
{
    TFileStream file(AFileName, fmOpenRead | fmShareDenyWrite);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
    file.ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    for (auto& b : bytes)
        b = static_cast<uint8_t>(255 - b);
    TMemoryStream memory;
    memory.WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    memory.SetPosition(0);
    TStringList lines;
    lines.LoadFromStream(&memory);
    std::vector<std::string> result;
    for (Integer i = 0; i < lines.Count(); ++i)
        result.push_back(lines.Strings(i));
    return result;
}

void TCatalogue::ParseFormatLine(const std::string& ALine, TFormat& AFormat)
{
    for (const auto& key : kFormatKeys) {
        const auto start = ALine.find(key.Marker);
        if (start == std::string::npos) {
            AFormat.*key.Field = std::string();
            continue;
        }
        const auto value = start + std::char_traits<char>::length(key.Marker);
        const auto end = ALine.find('"', value);
        if (end == std::string::npos)
            throw EConvertError(std::string("Unterminated value of ") + key.Marker + "\"");
        AFormat.*key.Field = ALine.substr(value, end - value);
    }
}

void TCatalogue::LoadFormats(const std::string& AFileName)
{
    const std::vector<std::string> lines = DecryptToStringList(AFileName);
    // The report names the file, so that the user knows what to put back.
    const std::string damaged = "Error loading formats: \"" + AFileName + "\" is damaged";
    try {
        // The first three and the last two lines frame the format lines; a file without them (empty, cut
        // short) is damaged.
        if (lines.size() < 5)
            throw EConvertError("No frame around the formats");
        for (size_t i = 3; i + 2 < lines.size(); ++i) {
            LoadedFormats.emplace_back();
            ParseFormatLine(lines[i], LoadedFormats.back());
        }
    } catch (const Exception&) {
        Report(damaged, "CLM_LoadFormats");
    }
    FormatTaken.assign(LoadedFormats.size(), false);
}

void TCatalogue::AttachFormats(const TRememberedFormat& ARemembered)
{
    FormatTaken.resize(LoadedFormats.size(), false);
    try {
        for (int p = 0; p < static_cast<int>(Profiles.size()); ++p)
            AttachTo(p, ARemembered);
    } catch (const Exception&) {
        Report("Error initialising profiles", "CLM_InitProfiles");
    }
    EnsureCurrentFormat();
}

void TCatalogue::AttachTo(int AProfile, const TRememberedFormat& ARemembered)
{
    TProfile& profile = Profiles[AProfile];
    for (size_t f = 0; f < LoadedFormats.size(); ++f) {
        const bool catch_all = profile.ID == kAllProfilesID;
        if (!catch_all && (FormatTaken[f] || profile.ID != LoadedFormats[f].Category))
            continue;
        FormatTaken[f] = true;
        profile.Formats.push_back(LoadedFormats[f]);
        TFormat& copy = profile.Formats.back();
        copy.AreSettingsChanged = false;
        const TFormatIndex at{AProfile, static_cast<int>(profile.Formats.size()) - 1};
        if (at == Recent) {
            Current = at;
            ShowChoice(at);
        }
        if (at == LastEdited) {
            copy.Width = ARemembered.Width;
            copy.Height = ARemembered.Height;
            copy.VideoBitRate = ARemembered.VideoBitRate;
            copy.FrameRate = ARemembered.FrameRate;
            copy.SampleRate = ARemembered.SampleRate;
            copy.AudioBitRate = ARemembered.AudioBitRate;
            copy.Channel = ARemembered.Channel;
            copy.VideoCodecName = ARemembered.VideoCodecName;
            copy.AudioCodecName = ARemembered.AudioCodecName;
        }
    }
}

// New jobs take the current pair, so it has to name a real format whenever the catalogue has one, also when the
// remembered choice is gone or the first category is empty.
void TCatalogue::EnsureCurrentFormat()
{
    if (FindFormat(Current))
        return;
    for (int p = 0; p < static_cast<int>(Profiles.size()); ++p) {
        if (!Profiles[p].Formats.empty()) {
            Current = {p, 0};
            return;
        }
    }
}

TFormat* TCatalogue::FindFormat(TFormatIndex AIndex)
{
    return const_cast<TFormat*>(static_cast<const TCatalogue*>(this)->FindFormat(AIndex));
}

const TFormat* TCatalogue::FindFormat(TFormatIndex AIndex) const
{
    if (AIndex.Profile < 0 || AIndex.Profile >= static_cast<int>(Profiles.size()))
        return nullptr;
    const auto& formats = Profiles[AIndex.Profile].Formats;
    if (AIndex.Format < 0 || AIndex.Format >= static_cast<int>(formats.size()))
        return nullptr;
    return &formats[AIndex.Format];
}

bool TCatalogue::HasFormats() const
{
    return std::any_of(Profiles.begin(), Profiles.end(), [](const TProfile& p) { return !p.Formats.empty(); });
}

const TProfileIcon* TCatalogue::IconOfProfile(int AProfile) const
{
    if (ProfileIcons.empty() || AProfile < 0 || AProfile >= static_cast<int>(Profiles.size()))
        return nullptr;
    const std::string wanted = LowerCase(Profiles[AProfile].Icon);
    for (const auto& icon : ProfileIcons)
        if (LowerCase(icon.ID) == wanted)
            return &icon;
    return &ProfileIcons.front();
}

void TCatalogue::ShowChoice(TFormatIndex AIndex)
{
    if (!IconOfProfile(AIndex.Profile) || !FindFormat(AIndex))
        throw EListError("List index out of bounds (0)");
    if (OnShowChoice)
        OnShowChoice(AIndex);
}
