// The catalogue the build ships beside the executable: it reads without a fault, its values agree with its own
// value lists, and every format (and every codec its lists offer) converts a short clip with the FFmpeg tool,
// giving a file that probes with the format's codecs.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "app/catalogue.h"
#include "app/value_lists.h"
#include "platform/rtl/process.h"
#include "platform/rtl/sysutils.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCatalogue = QUENNARY_CATALOGUE_DIR;
const fs::path kWork = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "shipped-catalogue";

// What ffprobe calls the output of each encoder the catalogue may name.
const std::map<std::string, std::string> kCodecOfEncoder = {
    {"libx264", "h264"},       {"mpeg4", "mpeg4"},   {"libvpx", "vp8"},         {"wmv2", "wmv2"},
    {"flv", "flv1"},           {"mpeg2video", "mpeg2video"}, {"mpeg1video", "mpeg1video"}, {"h263", "h263"},
    {"aac", "aac"},            {"libmp3lame", "mp3"}, {"libvorbis", "vorbis"},   {"ac3", "ac3"},
    {"wmav2", "wmav2"},        {"mp2", "mp2"},       {"flac", "flac"},          {"pcm_s16le", "pcm_s16le"},
};

TCatalogue LoadShipped(std::vector<std::string>& AReports)
{
    TCatalogue catalogue;
    catalogue.OnReportError = [&](const std::string& AText, const std::string& AMark) {
        AReports.push_back(AMark + ": " + AText);
    };
    catalogue.LoadIcons((kCatalogue / "Icons").string());
    catalogue.LoadProfiles((kCatalogue / "Profiles.dat").string());
    catalogue.LoadFormats((kCatalogue / "Formats.dat").string());
    catalogue.AttachFormats({});
    return catalogue;
}

TEST(ShippedCatalogue, ReadsCleanlyAndAgreesWithItsValueLists)
{
    std::vector<std::string> reports;
    TCatalogue catalogue = LoadShipped(reports);
    EXPECT_EQ(reports, std::vector<std::string>{});
    EXPECT_GT(catalogue.ChooserHeight, 0);
    ASSERT_GT(catalogue.LoadedFormats.size(), 20u);
    EXPECT_EQ(catalogue.Profiles.back().Formats.size(), catalogue.LoadedFormats.size());
    for (size_t p = 0; p < catalogue.Profiles.size(); ++p) {
        const TProfile& profile = catalogue.Profiles[p];
        EXPECT_FALSE(profile.Formats.empty()) << profile.Title;
        ASSERT_NE(catalogue.IconOfProfile(static_cast<int>(p)), nullptr);
        EXPECT_TRUE(SameText(catalogue.IconOfProfile(static_cast<int>(p))->ID, profile.Icon)) << profile.Title;
    }
    for (const TFormat& f : catalogue.LoadedFormats) {
        const auto has_icon = std::any_of(catalogue.ProfileIcons.begin(), catalogue.ProfileIcons.end(),
                                          [&](const TProfileIcon& AIcon) { return SameText(AIcon.ID, f.Icon); });
        EXPECT_TRUE(has_icon) << f.Title;
        EXPECT_EQ(f.FormatExt[0], '.') << f.Title;
        EXPECT_NE(IndexOfValue(f.AudioCodecs, f.AudioCodecName), -1) << f.Title;
        EXPECT_NE(IndexOfValue(f.SampleRates, f.SampleRate), -1) << f.Title;
        EXPECT_NE(IndexOfValue(f.Channels, f.Channel), -1) << f.Title;
        if (!f.AudioBitRate.empty()) {
            EXPECT_NE(IndexOfValue(f.AudioBitRates, f.AudioBitRate), -1) << f.Title;
        }
        if (f.IsAudioOnly())
            continue;
        EXPECT_NE(IndexOfValue(f.VideoCodecs, f.VideoCodecName), -1) << f.Title;
        EXPECT_NE(IndexOfValue(f.FrameRates, f.FrameRate), -1) << f.Title;
        EXPECT_NE(IndexOfValue(f.VideoBitRates, f.VideoBitRate), -1) << f.Title;
        const auto resolutions = SplitValueList(f.Resolutions, false);
        EXPECT_NE(std::find(resolutions.begin(), resolutions.end(), f.Width + "*" + f.Height), resolutions.end())
            << f.Title;
        for (const auto& resolution : resolutions)
            EXPECT_TRUE(IsValidResolution(std::stoi(ResolutionWidth(resolution)), std::stoi(ResolutionHeight(resolution))))
                << f.Title << " " << resolution;
    }
}

struct TConversion {
    std::string What;
    TFormat Format;
    fs::path Output;
    std::string Failure;  // empty when it converted and probed as expected
};

// The FFmpeg tool's command for a format, with the values the converter hands its encoder.
std::vector<std::string> Command(const TFormat& F, const fs::path& AInput, const fs::path& AOutput)
{
    // One thread per conversion: the conversions themselves run side by side.
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-v", "error", "-y", "-threads", "1", "-i", AInput.string(),
                                     "-threads", "1", "-filter_threads", "1"};
    auto add = [&](std::initializer_list<std::string> AArgs) { args.insert(args.end(), AArgs); };
    if (F.IsAudioOnly()) {
        add({"-vn"});
    } else {
        const long fps = std::lround(std::nearbyint(std::stoi(F.FrameRate) / 1000.0));
        add({"-c:v", F.VideoCodecName, "-s", F.Width + "x" + F.Height, "-r", std::to_string(fps), "-b:v",
             F.VideoBitRate});
        if (LowerCase(F.Title).find("divx") != std::string::npos)
            add({"-vtag", "DIVX"});
    }
    add({"-c:a", F.AudioCodecName, "-ar", F.SampleRate, "-ac", F.Channel});
    if (!F.AudioBitRate.empty())
        add({"-b:a", F.AudioBitRate});
    std::string extra = StringReplace(F.ExtraParam, "<CRLF>", "\n", TReplaceFlags{rfReplaceAll});
    std::istringstream lines(extra);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty())
            continue;
        const auto equals = line.find('=');
        add({"-" + line.substr(0, equals), equals == std::string::npos ? "" : line.substr(equals + 1)});
    }
    args.push_back(AOutput.string());
    return args;
}

// The "codec,kind" of every audio and video stream, sorted; transport streams list theirs once more per
// program, and DVD streams carry a navigation data stream, which the comparison leaves out.
std::string Probe(const fs::path& AFile)
{
    const fs::path listing = AFile.string() + ".streams";
    const auto started = StartProgram({"ffprobe", "-v", "error", "-show_entries", "stream=codec_name,codec_type", "-of",
                                       "csv=p=0", "-o", listing.string(), AFile.string()},
                                      true);
    if (!started.Started || started.ExitCode != 0)
        return "ffprobe failed";
    std::ifstream in(listing);
    std::set<std::string> streams;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string codec, kind;
        std::getline(fields, codec, ',');
        std::getline(fields, kind, ',');
        if (kind == "video" || kind == "audio")
            streams.insert(codec + "," + kind);
    }
    std::string text;
    for (const auto& stream : streams)
        text += stream + " ";
    return text;
}

void Convert(TConversion& AJob, const fs::path& AInput)
{
    const auto started = StartProgram(Command(AJob.Format, AInput, AJob.Output), true);
    if (!started.Started || started.ExitCode != 0) {
        AJob.Failure = "ffmpeg failed (" + std::to_string(started.ExitCode) + ") " + started.Error;
        return;
    }
    std::set<std::string> streams = {kCodecOfEncoder.at(AJob.Format.AudioCodecName) + ",audio"};
    if (!AJob.Format.IsAudioOnly())
        streams.insert(kCodecOfEncoder.at(AJob.Format.VideoCodecName) + ",video");
    std::string expected;
    for (const auto& stream : streams)
        expected += stream + " ";
    const std::string probed = Probe(AJob.Output);
    if (probed != expected)
        AJob.Failure = "probed \"" + probed + "\", expected \"" + expected + "\"";
}

// The smallest frame a format offers: the other codecs are tried there, which is where they are cheapest.
void UseSmallestResolution(TFormat& AFormat)
{
    long smallest = 0;
    for (const auto& resolution : SplitValueList(AFormat.Resolutions, false)) {
        const std::string w = ResolutionWidth(resolution), h = ResolutionHeight(resolution);
        if (w == "-1" || h == "-1")
            continue;
        const long area = std::stol(w) * std::stol(h);
        if (smallest == 0 || area < smallest)
            smallest = area, AFormat.Width = w, AFormat.Height = h;
    }
}

// The format as shipped, then once for every other codec its lists offer, unless that pairing of container and
// codecs was converted already: the shipped formats cover their own options and sizes.
std::vector<TConversion> Conversions(const TCatalogue& ACatalogue)
{
    std::vector<TConversion> jobs;
    std::set<std::string> tried;
    auto combination = [](const TFormat& F) {
        return F.FormatExt + "|" + (F.IsAudioOnly() ? "" : F.VideoCodecName) + "|" + F.AudioCodecName;
    };
    auto add = [&](const std::string& AWhat, const TFormat& AFormat, bool AAlways) {
        if (!tried.insert(combination(AFormat)).second && !AAlways)
            return;
        const fs::path output = kWork / (std::to_string(jobs.size()) + AFormat.FormatExt);
        jobs.push_back({AWhat, AFormat, output, {}});
    };
    for (const TFormat& format : ACatalogue.LoadedFormats)
        add(format.Title, format, true);
    for (const TFormat& format : ACatalogue.LoadedFormats) {
        TFormat small = format;
        UseSmallestResolution(small);
        for (const auto& codec : SplitValueList(format.VideoCodecs, true)) {
            TFormat other = small;
            other.VideoCodecName = codec;
            if (!format.IsAudioOnly())
                add(format.Title + " with " + codec, other, false);
        }
        for (const auto& codec : SplitValueList(format.AudioCodecs, true)) {
            TFormat other = small;
            other.AudioCodecName = codec;
            add(format.Title + " with " + codec, other, false);
        }
    }
    return jobs;
}

TEST(ShippedCatalogue, EveryFormatConverts)
{
    std::vector<std::string> reports;
    const TCatalogue catalogue = LoadShipped(reports);
    ASSERT_FALSE(catalogue.LoadedFormats.empty());
    fs::remove_all(kWork);
    fs::create_directories(kWork);

    const fs::path fixture = kWork / "fixture.mkv";
    const auto made = StartProgram({"ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                                    "testsrc=size=320x240:rate=25:duration=1", "-f", "lavfi", "-i",
                                    "sine=frequency=440:sample_rate=44100:duration=1", "-c:v", "mpeg4", "-q:v", "3",
                                    "-c:a", "pcm_s16le", fixture.string()},
                                   true);
    ASSERT_TRUE(made.Started && made.ExitCode == 0) << "the ffmpeg tool could not make the fixture " << made.Error;

    std::vector<TConversion> jobs = Conversions(catalogue);
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    for (unsigned w = 0; w < std::max(2u, std::thread::hardware_concurrency()); ++w)
        workers.emplace_back([&] {
            for (size_t i = next++; i < jobs.size(); i = next++)
                Convert(jobs[i], fixture);
        });
    for (auto& worker : workers)
        worker.join();
    for (const auto& job : jobs)
        EXPECT_EQ(job.Failure, "") << job.What << " -> " << job.Output.filename().string();
}

}  // namespace
