// Whole conversions through the media engine's encoder, as the Start command runs them: jobs in three shipped
// formats with trim ranges, the same files merged into one, a cropped and brightened job, a cancelled run, and a
// run in which one job's file vanished before the start. Outputs are checked with ffprobe and ffmpeg.
#include "app/conversion_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <unistd.h>

#include "app/add_files.h"
#include "app/conversion_ffencoder.h"
#include "app/native_filters.h"
#include "platform/rtl/main_thread_queue.h"
#include "tests/fixtures/media_fixtures.h"

namespace {

namespace fs = std::filesystem;

const std::string kCatalogue = QUENNARY_BINARY_DIR "/app/mp4-converter-profiles";

std::string Run(const std::string& ACommand)
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

// What ffprobe says of a file: "video", "audio" (codec names), "width", "height", "duration" (seconds, less the
// encoder's priming that an MP3 starts with).
std::map<std::string, std::string> Probe(const std::string& AFile)
{
    std::map<std::string, std::string> probe;
    const std::string text = Run("ffprobe -v error -show_entries stream=codec_type,codec_name,width,height:"
                                 "format=duration,start_time -of default=nw=1 '" + AFile + "'");
    std::string codec;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t equal = line.find('=');
        if (equal == std::string::npos) continue;
        const std::string key = line.substr(0, equal), value = line.substr(equal + 1);
        if (key == "codec_name") codec = value;
        else if (key == "codec_type") probe[value] = codec;
        else probe[key] = value;
    }
    if (!probe["duration"].empty() && !probe["start_time"].empty())
        probe["duration"] = std::to_string(std::stod(probe["duration"]) - std::stod(probe["start_time"]));
    return probe;
}

// The luma plane of the file's first picture.
std::string FirstLuma(const std::string& AFile)
{
    return Run("ffmpeg -v error -i '" + AFile + "' -frames:v 1 -f rawvideo -pix_fmt gray -");
}

double MeanOf(const std::string& APlane)
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

class ConversionEncodeTest : public MediaEngineTest {
protected:
    ConversionEncodeTest()
        : MediaEngineTest(AllLibraries),
          FFolder(fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / ("conversion_encode_" + std::to_string(getpid())))
    {
    }
    void SetUp() override
    {
        MediaEngineTest::SetUp();
        fs::remove_all(FFolder);
        fs::create_directories(FFolder / "out");
        FCatalogue.OnReportError = [this](const std::string& AText, const std::string& AMark) {
            FReports.push_back(AMark + ": " + AText);
        };
        FCatalogue.LoadIcons(kCatalogue + "/Icons");
        FCatalogue.LoadProfiles(kCatalogue + "/Profiles.dat");
        FCatalogue.LoadFormats(kCatalogue + "/Formats.dat");
        FCatalogue.AttachFormats({});
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
        fs::remove_all(FFolder);
        MediaEngineTest::TearDown();
    }

    // Adds a file with the shipped format of that profile and title; answers the job.
    TVideoFile& Add(const std::string& AFile, const std::string& AProfile, const std::string& AFormat)
    {
        for (size_t p = 0; p < FCatalogue.Profiles.size(); ++p)
            for (size_t f = 0; f < FCatalogue.Profiles[p].Formats.size(); ++f)
                if (FCatalogue.Profiles[p].Title == AProfile && FCatalogue.Profiles[p].Formats[f].Title == AFormat)
                    FCatalogue.Current = {static_cast<int>(p), static_cast<int>(f)};
        EXPECT_EQ(FCatalogue.FindFormat(FCatalogue.Current)->Title, AFormat);
        EXPECT_TRUE(FAdder->AddMediaFile(AFile)) << AFile;
        return FJobs->Job(FJobs->Count() - 1);
    }
    static void Trim(TVideoFile& AJob, int64_t AStart, int64_t AEnd)
    {
        AJob.TimeStart = AStart;
        AJob.TimeEnd = AEnd;
        AJob.TrimmedLength = AEnd - AStart;
    }
    // Runs the main-thread calls the encoder hands over until the run's final event (bounded, never a sleep).
    void WaitForEnd()
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(3);
        while (FRun->Running() && std::chrono::steady_clock::now() < limit) CheckSynchronize(50);
        ASSERT_FALSE(FRun->Running()) << "the run did not end";
    }
    std::string Out(const std::string& AName = {}) const { return (FFolder / "out" / AName).string(); }
    bool Logged(const std::string& AText) const
    {
        for (const std::string& line : FLog.Lines())
            if (line.size() >= AText.size() && line.compare(line.size() - AText.size(), AText.size(), AText) == 0)
                return true;
        return false;
    }
    // A second of grey picture inside a black border of 10% on each side, 220 x 180.
    std::string BorderedClip()
    {
        const std::string path = (FFolder / "bordered.avi").string();
        const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i color=c=gray:size=176x144:rate=25 -t 1 "
                                    "-vf pad=220:180:22:18:black -c:v mpeg4 -q:v 2 '" + path + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return path;
    }

    fs::path FFolder;
    TCatalogue FCatalogue;
    TEventsLog FLog;
    TSilentView FView;
    std::unique_ptr<TFFEncoder> FEncoder;
    std::unique_ptr<TJobList> FJobs;
    std::unique_ptr<TFileAdder> FAdder;
    std::unique_ptr<TEncoderConversionLink> FLink;
    std::unique_ptr<TConversion> FRun;
    std::vector<std::string> FReports, FOpened;
};

constexpr int64_t kMs = 1000;
constexpr double kFrame15 = 1.0 / 15 + 0.002;  // one frame of the phone formats, and the container's rounding

TEST_F(ConversionEncodeTest, ThreeFormatsGiveThreeTrimmedOutputs)
{
    Trim(Add(MediaFixture("clip.avi"), "Phones and Tablets", "Phone 3GP - H.263 Video"), 200 * kMs, 800 * kMs);
    Trim(Add(MediaFixture("clip.ts"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video"), 100 * kMs, 900 * kMs);
    Trim(Add(MediaFixture("multi.mkv"), "Audio Only", "MP3 - MPEG Layer 3 Audio"), 300 * kMs, 1000 * kMs);
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    EXPECT_TRUE(Logged("-> Conversion successfully done."));
    EXPECT_EQ(FOpened, std::vector<std::string>{Out()});
    EXPECT_FALSE(FView.Shown);
    EXPECT_EQ(FView.MaxTotal, 100);

    struct Expected { const char* file; const char* video; const char* audio; const char* width; const char* height;
                      double seconds; double tolerance; };
    const Expected expected[] = {
        {"clip.3gp", "h263", "aac", "176", "144", 0.6, kFrame15},
        {"clip.mp4", "mpeg4", "aac", "320", "240", 0.8, kFrame15},
        {"multi.mp3", "", "mp3", "", "", 0.7, 0.03},  // one MP3 frame
    };
    for (const Expected& e : expected) {
        auto probe = Probe(Out(e.file));
        EXPECT_EQ(probe["video"], e.video) << e.file;
        EXPECT_EQ(probe["audio"], e.audio) << e.file;
        EXPECT_EQ(probe["width"], e.width) << e.file;
        EXPECT_EQ(probe["height"], e.height) << e.file;
        EXPECT_NEAR(std::stod(probe["duration"].empty() ? "0" : probe["duration"]), e.seconds, e.tolerance) << e.file;
    }
}

TEST_F(ConversionEncodeTest, MergedFilesLastAsLongAsTheirSum)
{
    int64_t sum = 0;
    sum += Add(MediaFixture("clip.avi"), "Phones and Tablets", "Phone 3GP - H.263 Video").TrimmedLength;
    sum += Add(MediaFixture("clip.ts"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video").TrimmedLength;
    sum += Add(MediaFixture("multi.mkv"), "Audio Only", "MP3 - MPEG Layer 3 Audio").TrimmedLength;
    Trim(FJobs->Job(0), 200 * kMs, 800 * kMs);  // merging converts every file whole
    FJobs->SetRow(2);
    FRun->Merge = true;
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    EXPECT_EQ(fs::directory_iterator(Out()) == fs::directory_iterator(), false);
    auto probe = Probe(Out("Joined.mp4"));
    EXPECT_EQ(probe["video"], "mpeg4");
    EXPECT_EQ(probe["audio"], "aac");
    EXPECT_EQ(probe["width"], "320");
    ASSERT_FALSE(probe["duration"].empty());
    EXPECT_NEAR(std::stod(probe["duration"]), sum / 1e6, kFrame15);
    EXPECT_EQ(std::distance(fs::directory_iterator(Out()), fs::directory_iterator()), 1);
}

TEST_F(ConversionEncodeTest, CropAndBrightnessShowInThePicture)
{
    const std::string clip = BorderedClip();
    TVideoFile& plain = Add(clip, "Phones and Tablets", "Phone 3GP - H.263 Video");
    plain.DestinationTitle = "plain";
    TVideoFile& edited = Add(clip, "Phones and Tablets", "Phone 3GP - H.263 Video");
    edited.DestinationTitle = "edited";
    edited.CropLeft = edited.CropRight = 22;  // 10% of each side
    edited.CropTop = edited.CropBottom = 18;
    edited.Brightness = 30;
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});

    auto probe = Probe(Out("edited.3gp"));
    EXPECT_EQ(probe["width"], "176");  // the crop leaves the frame's own size: no bars, no stretching
    EXPECT_EQ(probe["height"], "144");
    const std::string plain_luma = FirstLuma(Out("plain.3gp"));
    const std::string edited_luma = FirstLuma(Out("edited.3gp"));
    ASSERT_EQ(plain_luma.size(), 176u * 144u);
    ASSERT_EQ(edited_luma.size(), 176u * 144u);
    // The plain conversion keeps the black border; the edited one has none, and its grey is lighter.
    EXPECT_LT(static_cast<unsigned char>(plain_luma[0]), 40);
    EXPECT_GT(static_cast<unsigned char>(edited_luma[0]), static_cast<unsigned char>(plain_luma[72 * 176 + 88]) + 20);
    EXPECT_GT(MeanOf(edited_luma), MeanOf(plain_luma) + 20);
}

TEST_F(ConversionEncodeTest, CancellingLogsNoSuccess)
{
    Add(MediaFixture("clip.avi"), "Phones and Tablets", "Phone 3GP - H.263 Video");
    Add(MediaFixture("clip.ts"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video");
    Add(MediaFixture("multi.mkv"), "Audio Only", "MP3 - MPEG Layer 3 Audio");
    ASSERT_TRUE(FRun->Start(Out()));
    FRun->PauseButtonClick();
    FRun->CancelButtonClick();
    WaitForEnd();
    EXPECT_FALSE(FRun->Succeeded());
    EXPECT_TRUE(Logged("-> Conversion cancelled by user."));
    EXPECT_FALSE(Logged("-> Conversion successfully done."));
    EXPECT_TRUE(FOpened.empty());
    EXPECT_FALSE(FView.Shown);
    EXPECT_FALSE(FJobs->Locked());
}

TEST_F(ConversionEncodeTest, AVanishedFileIsReportedAndTheOthersConvert)
{
    const std::string copy = (FFolder / "vanishing.avi").string();
    fs::copy_file(MediaFixture("clip.avi"), copy);
    Add(MediaFixture("clip.ts"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video");
    Add(copy, "Phones and Tablets", "Phone 3GP - H.263 Video");
    Add(MediaFixture("multi.mkv"), "Audio Only", "MP3 - MPEG Layer 3 Audio");
    fs::remove(copy);
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    ASSERT_EQ(FReports.size(), 1u);
    EXPECT_EQ(FReports[0].rfind("CLM_FFAddTaskToMeged: ", 0), 0u) << FReports[0];
    EXPECT_EQ(Probe(Out("clip.mp4"))["video"], "mpeg4");
    EXPECT_EQ(Probe(Out("multi.mp3"))["audio"], "mp3");
    EXPECT_FALSE(fs::exists(Out("vanishing.3gp")));
    EXPECT_FALSE(FRun->Succeeded());
    EXPECT_FALSE(Logged("-> Conversion successfully done."));
}

}  // namespace
