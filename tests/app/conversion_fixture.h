#pragma once
// Whole conversions as the Start command runs them: the shipped catalogue read by the start-up loading, jobs
// added through the file adder, the run through the media engine's encoder. Outputs are checked with the
// FFmpeg tools (ffprobe, ffmpeg).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/add_files.h"
#include "app/conversion_ffencoder.h"
#include "app/conversion_run.h"
#include "app/native_filters.h"
#include "app/startup_loading.h"
#include "platform/rtl/main_thread_queue.h"
#include "tests/fixtures/media_fixtures.h"

namespace conversion_test {

namespace fs = std::filesystem;

inline const std::string kCatalogue = QUENNARY_BINARY_DIR "/app/mp4-converter-profiles";

inline std::string Run(const std::string& ACommand)
{
    std::string output;
    FILE* pipe = popen(ACommand.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
    pclose(pipe);
    return output;
}

// What ffprobe says of a file: "video", "audio" (codec names), "width", "height", "sar", "dar" (as "4:3"),
// "video_duration", "audio_duration" and "duration" (seconds, less the start time, e.g. an MP3's priming).
inline std::map<std::string, std::string> Probe(const std::string& AFile)
{
    std::map<std::string, std::string> probe;
    const std::string text = Run("ffprobe -v error -show_entries stream=codec_type,codec_name,width,height,"
                                 "sample_aspect_ratio,display_aspect_ratio,duration:format=duration,start_time "
                                 "-of flat '" + AFile + "'");
    std::map<std::string, std::map<std::string, std::string>> streams;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t equal = line.find('=');
        if (equal == std::string::npos) continue;
        std::string key = line.substr(0, equal), value = line.substr(equal + 1);
        if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
        if (key.rfind("format.", 0) == 0) {
            probe[key.substr(7)] = value;
        } else if (key.rfind("streams.stream.", 0) == 0) {
            const size_t dot = key.find('.', 15);
            streams[key.substr(15, dot - 15)][key.substr(dot + 1)] = value;
        }
    }
    for (auto& [index, fields] : streams) {
        const std::string type = fields["codec_type"];
        if (type != "video" && type != "audio") continue;
        probe[type] = fields["codec_name"];
        probe[type + "_duration"] = fields["duration"];
        if (type != "video") continue;
        for (const char* key : {"width", "height"}) probe[key] = fields[key];
        probe["sar"] = fields["sample_aspect_ratio"];
        probe["dar"] = fields["display_aspect_ratio"];
    }
    if (!probe["duration"].empty() && !probe["start_time"].empty() && probe["start_time"] != "N/A")
        probe["duration"] = std::to_string(std::stod(probe["duration"]) - std::stod(probe["start_time"]));
    return probe;
}

// "4:3" as 1.333; 0 for anything else.
inline double RatioValue(const std::string& AText)
{
    const size_t colon = AText.find(':');
    if (colon == std::string::npos) return 0;
    const double den = std::atof(AText.c_str() + colon + 1);
    return den > 0 ? std::atof(AText.substr(0, colon).c_str()) / den : 0;
}

// The luma plane of the file's first picture.
inline std::string FirstLuma(const std::string& AFile)
{
    return Run("ffmpeg -v error -i '" + AFile + "' -frames:v 1 -f rawvideo -pix_fmt gray -");
}

inline double MeanOf(const std::string& APlane)
{
    double sum = 0;
    for (unsigned char value : APlane) sum += value;
    return APlane.empty() ? 0 : sum / APlane.size();
}

class TSilentView final : public TConversionView {
public:
    void ShowRun() override { Shown = true; }
    void CloseRun() override { Shown = false; }
    void SetGauges(int ATotal, int) override { MaxTotal = std::max(MaxTotal, ATotal); }
    void SetLabel(const std::string&) override {}
    void SetPauseCaption(const std::string&) override {}
    bool ShutdownChosen() const override { return false; }
    bool OpenOutputChosen() const override { return true; }
    bool Shown = false;
    int MaxTotal = 0;
};

class ConversionTest : public MediaEngineTest {
protected:
    ConversionTest()
        : MediaEngineTest(AllLibraries),
          FFolder(fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" /
                  (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                   std::to_string(getpid())))
    {
    }
    void SetUp() override
    {
        MediaEngineTest::SetUp();
        fs::remove_all(FFolder);
        fs::create_directories(FFolder / "out");
        TStartupLoading loading(FCatalogue, FSettings);
        loading.OnReportError = [this](const std::string& AText, const std::string& AMark) {
            FReports.push_back(AMark + ": " + AText);
        };
        loading.ReadShippedCatalogue(kCatalogue);
        ASSERT_TRUE(FReports.empty()) << FReports[0] << " (is the catalogue built beside the converter?)";
        RegisterEqFilter();
        RegisterHueFilter();
        FEncoder = std::make_unique<TFFEncoder>(nullptr);
        FEncoder->SetProgressInterval(100);
        FJobs = std::make_unique<TJobList>(FCatalogue);
        FAdder = std::make_unique<TFileAdder>(*FJobs, *FEncoder->Decoder(), FLog, FCatalogue);
        FAdder->ShowMessage = [this](const std::string& AText) { FReports.push_back(AText); };
        FLink = std::make_unique<TEncoderConversionLink>(*FEncoder);
        FRun = std::make_unique<TConversion>(*FLink, *FJobs, FCatalogue, FLog, FView);
        FRun->OnReportError = [this](const std::string& AText, const std::string& AMark) {
            FReports.push_back(AMark + ": " + AText);
        };
        FRun->Desktop.ShowWarning = [this](const std::string& AText) { FReports.push_back(AText); };
        FRun->Desktop.StopPreview = [] {};
        FRun->Desktop.OpenFolder = [this](const std::string& AFolder) { FOpened.push_back(AFolder); };
        FRun->Desktop.SaveSettings = [] {};
        FRun->Desktop.ShutDown = [] { FAIL() << "a test never shuts the computer down"; };
    }
    void TearDown() override
    {
        FRun.reset();
        FLink.reset();
        FAdder.reset();
        FJobs.reset();
        FEncoder.reset();
        if (!HasFailure()) fs::remove_all(FFolder);
        MediaEngineTest::TearDown();
    }

    // The pair of the shipped format of that profile and title.
    TFormatIndex FormatPair(const std::string& AProfile, const std::string& AFormat)
    {
        for (size_t p = 0; p < FCatalogue.Profiles.size(); ++p)
            for (size_t f = 0; f < FCatalogue.Profiles[p].Formats.size(); ++f)
                if (FCatalogue.Profiles[p].Title == AProfile && FCatalogue.Profiles[p].Formats[f].Title == AFormat)
                    return {static_cast<int>(p), static_cast<int>(f)};
        ADD_FAILURE() << "no format \"" << AFormat << "\" in \"" << AProfile << "\"";
        return {};
    }
    // Adds a file with the format at APair as the current choice; answers the job.
    TVideoFile& Add(const std::string& AFile, TFormatIndex APair)
    {
        FCatalogue.Current = APair;
        EXPECT_TRUE(FAdder->AddMediaFile(AFile)) << AFile;
        return FJobs->Job(FJobs->Count() - 1);
    }
    TVideoFile& Add(const std::string& AFile, const std::string& AProfile, const std::string& AFormat)
    {
        return Add(AFile, FormatPair(AProfile, AFormat));
    }
    static void Trim(TVideoFile& AJob, int64_t AStart, int64_t AEnd)
    {
        AJob.TimeStart = AStart;
        AJob.TimeEnd = AEnd;
        AJob.TrimmedLength = AEnd - AStart;
    }
    // Runs the main-thread calls the encoder hands over until the run's final event (bounded, never a sleep).
    // AEach runs after every round, e.g. to press a button.
    void WaitForEnd(const std::function<void()>& AEach = {})
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        while (FRun->Running() && std::chrono::steady_clock::now() < limit) {
            CheckSynchronize(50);
            if (AEach) AEach();
        }
        ASSERT_FALSE(FRun->Running()) << "the run did not end";
    }
    std::string Out(const std::string& AName = {}) const { return (FFolder / "out" / AName).string(); }
    // The names in the output folder, hidden ones too, sorted.
    std::vector<std::string> OutputNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Out())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool Logged(const std::string& AText) const
    {
        for (const std::string& line : FLog.Lines())
            if (line.size() >= AText.size() && line.compare(line.size() - AText.size(), AText.size(), AText) == 0)
                return true;
        return false;
    }
    // Makes a clip with the FFmpeg tool from lavfi sources and options; answers its path.
    std::string MakeClip(const std::string& AName, const std::string& AArguments)
    {
        const std::string path = (FFolder / AName).string();
        const std::string command = "ffmpeg -nostdin -v error -y " + AArguments + " '" + path + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }

    fs::path FFolder;
    TCatalogue FCatalogue;
    TSettings FSettings;
    TEventsLog FLog;
    TSilentView FView;
    std::unique_ptr<TFFEncoder> FEncoder;
    std::unique_ptr<TJobList> FJobs;
    std::unique_ptr<TFileAdder> FAdder;
    std::unique_ptr<TEncoderConversionLink> FLink;
    std::unique_ptr<TConversion> FRun;
    std::vector<std::string> FReports, FOpened;
};

}  // namespace conversion_test
