// Adding real media files through the decoder: lengths, picture sizes, the audio flag and estimates of the new
// jobs, and files the decoder refuses, which are left out while the others are still added.
#include "app/add_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <unistd.h>

#include "app/time_text.h"
#include "media/decode/frame_decoder.h"
#include "platform/rtl/sysutils.h"
#include "tests/fixtures/media_fixtures.h"

namespace {

constexpr int64_t kSecond = 1000000;

// Two seconds of an MP4 whose stream 0 is audio and stream 1 video.
std::string AudioFirstMovie()
{
    const std::string folder = QUENNARY_BINARY_DIR "/tests/app/add_files";
    const std::string path = folder + "/audio_first.mp4";
    if (!FileExists(path)) {
        // Test processes may run side by side: each makes the file under its own name and renames it, so that a
        // half-made file is never taken for a whole one.
        const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp.mp4";
        const std::string command = "mkdir -p '" + folder + "' && ffmpeg -nostdin -hide_banner -loglevel error -y " +
                                    "-f lavfi -i sine=sample_rate=44100 -f lavfi -i testsrc=size=176x144:rate=25 " +
                                    "-t 2 -map 0:a -map 1:v -c:a aac -c:v mpeg4 -q:v 5 '" + temporary + "' && mv '" +
                                    temporary + "' '" + path + "'";
        if (std::system(command.c_str()) != 0) ADD_FAILURE() << command;
    }
    return path;
}

// One profile: format 0 has a video rate of 1000 kbit/s and an audio rate of 128 kbit/s (141 KB a second).
TCatalogue OneFormat()
{
    TCatalogue catalogue;
    catalogue.Profiles.resize(1);
    catalogue.Profiles[0].Formats.resize(1);
    catalogue.Profiles[0].Formats[0].VideoBitRate = "1000000";
    catalogue.Profiles[0].Formats[0].AudioBitRate = "128000";
    return catalogue;
}

class AddFilesTest : public MediaEngineTest {
protected:
    AddFilesTest() : FCatalogue(OneFormat()), FJobs(FCatalogue), FLog([] { return std::string("T"); }) {}
    // The decoder lives only while the engine runs.
    void SetUp() override
    {
        MediaEngineTest::SetUp();
        FDecoder = std::make_unique<TFFDecoder>(nullptr);
        FAdder = std::make_unique<TFileAdder>(FJobs, *FDecoder, FLog, FCatalogue);
        FAdder->ShowMessage = [this](const std::string& AText) { FMessages.push_back(AText); };
    }
    void TearDown() override
    {
        FAdder.reset();
        FDecoder.reset();
        MediaEngineTest::TearDown();
    }

    TCatalogue FCatalogue;
    TJobList FJobs;
    TEventsLog FLog;
    std::unique_ptr<TFFDecoder> FDecoder;
    std::unique_ptr<TFileAdder> FAdder;
    std::vector<std::string> FMessages;
};

TEST_F(AddFilesTest, JobsTakeLengthSizeAndAudioFlagFromTheFile)
{
    struct Case { std::string path; bool audio; int width, height; const char* length; int64_t seconds; };
    const Case cases[] = {
        {MediaFixture("clip.avi"), false, 160, 120, "00:00:01", 1},
        {AudioFirstMovie(), false, 176, 144, "00:00:02", 2},  // the first video stream counts, not stream 0
        {MediaFixture("tagged.mp3"), true, 0, 0, "00:00:01", 1},
        {MediaFixture("cover.mp3"), true, 0, 0, "00:00:01", 1},  // the cover picture is no video: an audio job
        {MediaFixture("cover.m4a"), true, 0, 0, "00:00:01", 1},
        {MediaFixture("picture.jpg"), false, 64, 48, "00:00:00", 0},  // no length: 0, never negative
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(FAdder->AddMediaFile(c.path)) << FDecoder->LastErrMsg();
        const TVideoFile& job = FJobs.Jobs().back();
        EXPECT_EQ(job.Source, c.path);
        EXPECT_EQ(job.SourceTitleExt, ExtractFileName(c.path));
        EXPECT_EQ(job.isSourceAudioFormat, c.audio);
        EXPECT_EQ(job.SourceWidth, c.width);
        EXPECT_EQ(job.SourceHeight, c.height);
        EXPECT_EQ(FormatMicroseconds(job.TrimmedLength), c.length);
        EXPECT_GE(job.TrimmedLength, 0);
        EXPECT_EQ(job.TimeEnd, job.TrimmedLength);
        EXPECT_DOUBLE_EQ(job.EstimatedSize, c.seconds * 141 / 1024.0);
        EXPECT_EQ(FDecoder->StreamCount(), -1) << "the file was left open";
    }
    EXPECT_EQ(EstimatedSizeText(FJobs.Jobs()[1].EstimatedSize), "0.28 MB");
    EXPECT_TRUE(FMessages.empty());
    EXPECT_EQ(FLog.Lines().front(), "T-> File added: " + MediaFixture("clip.avi"));
}

TEST_F(AddFilesTest, RefusedFilesAreReportedAndTheOthersAdded)
{
    const std::string missing = QUENNARY_BINARY_DIR "/tests/app/add_files/missing.mp4";
    const std::vector<std::string> paths = {MediaFixture("not_media.mp4"), MediaFixture("clip.avi"), missing,
                                            MediaFixture("tagged.mp3")};
    EXPECT_EQ(FAdder->AddChosenFiles(paths), 2);
    ASSERT_EQ(FJobs.Count(), 2);
    EXPECT_EQ(FJobs.Jobs()[0].SourceTitleExt, "clip.avi");
    EXPECT_EQ(FJobs.Jobs()[1].SourceTitleExt, "tagged.mp3");
    EXPECT_EQ(FJobs.Row(), 2);  // the dialog selects the last job

    const std::vector<std::string> messages = {
        "File not_media.mp4 is not a valid media file or its format is not supported.",
        "File missing.mp4 is not a valid media file or its format is not supported."};
    EXPECT_EQ(FMessages, messages);
    const std::vector<std::string>& lines = FLog.Lines();
    ASSERT_EQ(lines.size(), 8u);
    for (size_t first : {0u, 4u}) {
        EXPECT_EQ(lines[first], "");
        EXPECT_EQ(lines[first + 1].rfind("T-> File load error: ", 0), 0u) << lines[first + 1];
        EXPECT_GT(lines[first + 1].size(), std::string("T-> File load error: ").size());
        EXPECT_EQ(lines[first + 2], "");
    }
    EXPECT_EQ(lines[3], "T-> File added: " + MediaFixture("clip.avi"));
    EXPECT_EQ(lines[7], "T-> File added: " + MediaFixture("tagged.mp3"));

    // A drop keeps the selection; a drop of nothing but refused files leaves an empty list empty.
    FJobs.SetRow(1);
    EXPECT_EQ(FAdder->AddDroppedFiles({MediaFixture("clip.ts")}), 1);
    EXPECT_EQ(FJobs.Row(), 1);
    FJobs.ClearAll();
    EXPECT_EQ(FAdder->AddDroppedFiles({missing, MediaFixture("truncated.mp4")}), 0);
    EXPECT_EQ(FJobs.Count(), 0);
    EXPECT_EQ(FJobs.Row(), 0);
}

// A locked list (a run is converting) refuses the add: nothing is logged as added, and the file is still
// closed again; the decoder's length and picture shape come with the job.
TEST_F(AddFilesTest, ALockedListLogsNoAdd)
{
    FJobs.SetLocked(true);
    EXPECT_THROW(FAdder->AddMediaFile(MediaFixture("clip.avi")), EInvalidOperation);
    EXPECT_EQ(FLog.Lines(), std::vector<std::string>{});
    EXPECT_EQ(FJobs.Count(), 0);
    EXPECT_EQ(FDecoder->StreamCount(), -1) << "the file was left open";
    FJobs.SetLocked(false);
    ASSERT_TRUE(FAdder->AddMediaFile(MediaFixture("clip.avi")));
    EXPECT_EQ(FJobs.Jobs()[0].SourceDuration, FJobs.Jobs()[0].TimeEnd);
    EXPECT_NEAR(FJobs.Jobs()[0].SourceAspect, 4.0 / 3.0, 1e-3);
}

// Without the media libraries every file takes the error path with the decoder's reason.
TEST(AddFilesWithoutLibraries, EveryFileIsRefused)
{
    const TCatalogue catalogue = OneFormat();
    TJobList jobs(catalogue);
    TEventsLog log([] { return std::string("T"); });
    TFFDecoder decoder(nullptr);
    TFileAdder adder(jobs, decoder, log, catalogue);
    EXPECT_FALSE(adder.AddMediaFile(MediaFixture("clip.avi")));
    EXPECT_EQ(jobs.Count(), 0);
    ASSERT_EQ(log.Lines().size(), 3u);
    EXPECT_EQ(log.Lines()[1], "T-> File load error: LibAVCodec not loaded.");
}

}  // namespace
