// Adding real media files through the decoder: lengths, picture sizes, the audio flag and estimates of the new
// jobs, and files the decoder refuses, which are left out while the others are still added. Many files at once
// are probed on worker threads and still come in their order, as one by one; a choice made while an add waits
// follows it, and an add stopped by the program closing takes no further file.
#include "app/add_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "app/time_text.h"
#include "media/decode/frame_decoder.h"
#include "platform/rtl/main_thread_queue.h"
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

// Real clips of several kinds under many names, with refused files among them (not media, cut short, missing,
// a picture the decoder takes): the same jobs, log lines and messages, in the same order, as one by one.
std::vector<std::string> ManyFiles()
{
    const std::filesystem::path folder = QUENNARY_BINARY_DIR "/tests/app/add_files/many";
    std::filesystem::create_directories(folder);
    const char* kinds[] = {"clip.avi", "tagged.mp3", "tall2997.mp4", "cover.m4a", "clip.ts", "wide24.mkv",
                           "not_media.mp4", "r2997.flv", "truncated.mp4", "picture.jpg"};
    std::vector<std::string> paths;
    for (int i = 0; i < 48; ++i) {
        const std::string kind = kinds[i % std::size(kinds)];
        const std::filesystem::path copy = folder / (std::to_string(i) + " " + kind);
        std::filesystem::copy_file(MediaFixture(kind), copy, std::filesystem::copy_options::skip_existing);
        paths.push_back(copy.string());
        if (i % 17 == 5) paths.push_back((folder / ("missing " + std::to_string(i) + ".mp4")).string());
    }
    return paths;
}

// What an add leaves behind, to compare two adds.
struct TAddOutcome {
    std::vector<std::string> Jobs;      // source, title, length, size, picture, audio flag, estimate
    std::vector<std::string> Log;
    std::vector<std::string> Messages;  // each with the number of jobs in the list when it was shown
    int Row = -1;
    bool operator==(const TAddOutcome&) const = default;
};

TAddOutcome Outcome(const TJobList& AJobs, const TEventsLog& ALog, const std::vector<std::string>& AMessages)
{
    TAddOutcome outcome;
    for (const TVideoFile& job : AJobs.Jobs())
        outcome.Jobs.push_back(job.Source + "|" + job.SourceTitleExt + "|" + job.DestinationTitle + "|" +
                               std::to_string(job.TrimmedLength) + "|" + std::to_string(job.SourceWidth) + "x" +
                               std::to_string(job.SourceHeight) + "|" + std::to_string(job.isSourceAudioFormat) +
                               "|" + std::to_string(job.EstimatedSize) + "|" + std::to_string(job.SourceAspect));
    outcome.Log = ALog.Lines();
    outcome.Messages = AMessages;
    outcome.Row = AJobs.Row();
    return outcome;
}

TEST_F(AddFilesTest, ManyFilesComeInTheirOrderAsOneByOne)
{
    const std::vector<std::string> paths = ManyFiles();
    FAdder->ShowMessage = [this](const std::string& AText) {
        FMessages.push_back(std::to_string(FJobs.Count()) + " " + AText);
    };
    const int added = FAdder->AddChosenFiles(paths);
    EXPECT_FALSE(FAdder->Adding());

    TJobList jobs(FCatalogue);
    TEventsLog log([] { return std::string("T"); });
    std::vector<std::string> messages;
    TFileAdder one_by_one(jobs, *FDecoder, log, FCatalogue);
    one_by_one.ShowMessage = [&](const std::string& AText) {
        messages.push_back(std::to_string(jobs.Count()) + " " + AText);
    };
    int expected = 0;
    for (const std::string& path : paths) expected += one_by_one.AddMediaFile(path) ? 1 : 0;
    jobs.SetRow(jobs.Count());

    EXPECT_EQ(added, expected);
    EXPECT_EQ(expected, 48 - 5 - 4);  // 5 not media, 4 cut short
    EXPECT_EQ(messages.size(), 5u + 4u + 3u);  // and 3 missing
    const TAddOutcome pooled = Outcome(FJobs, FLog, FMessages), reference = Outcome(jobs, log, messages);
    EXPECT_EQ(pooled.Jobs, reference.Jobs);
    EXPECT_EQ(pooled.Log, reference.Log);
    EXPECT_EQ(pooled.Messages, reference.Messages);
    EXPECT_EQ(pooled.Row, reference.Row);
}

// A drop made while an add waits (here while its first message box is up) follows the add: its call answers
// -1 at once, its files come after the add's, and what it runs afterwards runs after them.
TEST_F(AddFilesTest, AChoiceMadeWhileAddingFollowsInTurn)
{
    const std::string missing = QUENNARY_BINARY_DIR "/tests/app/add_files/missing.mp4";
    std::vector<std::string> events;
    int nested = 0;
    FAdder->ShowMessage = [&](const std::string&) {
        events.push_back("message at " + std::to_string(FJobs.Count()));
        if (nested++ == 0)
            EXPECT_EQ(FAdder->AddDroppedFiles({MediaFixture("tagged.mp3"), missing},
                                              [&] { events.push_back("drop done at " + std::to_string(FJobs.Count())); }),
                      -1);
    };
    const int added = FAdder->AddChosenFiles(
        {MediaFixture("clip.avi"), missing, MediaFixture("clip.ts"), MediaFixture("cover.m4a")},
        [&] { events.push_back("choice done at " + std::to_string(FJobs.Count())); });
    EXPECT_EQ(added, 3);
    const std::vector<std::string> expected = {"message at 1", "choice done at 3", "message at 4",
                                               "drop done at 4"};
    EXPECT_EQ(events, expected);
    ASSERT_EQ(FJobs.Count(), 4);
    EXPECT_EQ(FJobs.Jobs()[3].SourceTitleExt, "tagged.mp3");
    EXPECT_EQ(FJobs.Row(), 3);  // the choice selected its last job; the drop kept the selection
    EXPECT_FALSE(FAdder->Adding());
}

// The program closing while files are added: the add stops at once, no job comes after it, and the adder
// works again afterwards.
TEST_F(AddFilesTest, ClosingWhileAddingStopsTheAdd)
{
    const std::vector<std::string> paths = ManyFiles();
    int at_close = -1;
    FAdder->WaitStep = [&] {
        // Closes at the first wait once two jobs are in.
        if (at_close < 0 && FJobs.Count() >= 2) at_close = FJobs.Count();
        if (at_close < 0) CheckSynchronize(100);
        return at_close < 0;
    };
    bool then_ran = false;
    const int added = FAdder->AddChosenFiles(paths, [&] { then_ran = true; });
    ASSERT_GE(at_close, 2);
    EXPECT_EQ(added, at_close);
    EXPECT_LT(at_close, 39);
    EXPECT_FALSE(then_ran);
    EXPECT_FALSE(FAdder->Adding());
    EXPECT_EQ(FJobs.Count(), at_close);
    // The workers are gone: nothing they finished reaches the list later.
    CheckSynchronize(200);
    EXPECT_EQ(FJobs.Count(), at_close);

    FAdder->WaitStep = nullptr;
    EXPECT_EQ(FAdder->AddDroppedFiles({MediaFixture("clip.avi")}), 1);
    EXPECT_EQ(FJobs.Count(), at_close + 1);

    // Closed while the first refusal's message box is up: no further file is taken, though probed already.
    FJobs.ClearAll();
    bool closed = false;
    FAdder->ShowMessage = [&](const std::string&) { closed = true; };
    FAdder->Stopped = [&] { return closed; };
    EXPECT_EQ(FAdder->AddChosenFiles(paths), 6);  // the seventh file is missing
    EXPECT_EQ(FJobs.Count(), 6);
    EXPECT_FALSE(FAdder->Adding());
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
    // The same through the worker threads, with a decoder of their own.
    EXPECT_EQ(adder.AddChosenFiles({MediaFixture("clip.avi"), MediaFixture("tagged.mp3")}), 0);
    ASSERT_EQ(log.Lines().size(), 9u);
    EXPECT_EQ(log.Lines()[7], "T-> File load error: LibAVCodec not loaded.");
}

}  // namespace

// What is asked for after the add (the converter's Convert pressed meanwhile) runs once every file, also of a drop
// queued behind, is in the list; with no add running it runs at once.
TEST_F(AddFilesTest, WorkAskedForWhileAddingRunsAfterTheLastFile)
{
    const std::string missing = QUENNARY_BINARY_DIR "/tests/app/add_files/missing.mp4";
    std::vector<std::string> events;
    bool asked = false;
    // The message about the missing first file comes while the add runs: the user drops a file and asks for more.
    FAdder->ShowMessage = [&](const std::string&) {
        if (asked) return;
        asked = true;
        EXPECT_EQ(FAdder->AddDroppedFiles({MediaFixture("tagged.mp3")}), -1);
        FAdder->AfterAdding([&] { events.push_back("after at " + std::to_string(FJobs.Count())); });
    };
    FAdder->AddChosenFiles({missing, MediaFixture("clip.avi"), MediaFixture("clip.ts"), MediaFixture("cover.m4a")},
                           [&] { events.push_back("choice done at " + std::to_string(FJobs.Count())); });
    EXPECT_EQ(events, (std::vector<std::string>{"choice done at 3", "after at 4"}));
    FAdder->AfterAdding([&] { events.push_back("at once at " + std::to_string(FJobs.Count())); });
    EXPECT_EQ(events.back(), "at once at 4");
}
