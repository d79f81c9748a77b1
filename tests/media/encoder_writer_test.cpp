// A task encodes and writes on a thread of its own while its run reads and decodes ahead: a stop while the
// writer is held or behind ends the task with a playable file, and a failed write reaches the task's end event
// with the same text as when one thread did everything.
#include "tests/media/encoder_test_support.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>

namespace {

// Video frames ffprobe counts in AFile; -1 when it cannot read the file.
int CountVideoFrames(const std::string& AFile)
{
    const std::string command = "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                                "stream=nb_read_frames -of csv=p=0 '" + AFile + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    int frames = -1;
    if (std::fscanf(pipe, "%d", &frames) != 1) frames = -1;
    pclose(pipe);
    return frames;
}

// The ten-second 320x240 clip into H.264: the encoder is the slow side, so the writer's queue runs full.
int AddSlowEncodeTask(TCustomEncoder& AEncoder, const std::string& AOutput)
{
    const int index = AEncoder.AddTask(MediaFixture("long.avi"), "");
    EXPECT_GE(index, 0) << AEncoder.LastErrMsg();
    if (index >= 0)
        EXPECT_TRUE(AEncoder.SetOutputFile(index, AOutput, "vcodec=libx264\npreset=slow\nacodec=aac\n"))
            << AEncoder.LastErrMsg();
    return index;
}

// Stopped while running on, and stopped while paused (the writer held with work waiting): the stop returns,
// the task ends unfinished without a failure, and what was converted plays.
TEST_F(EncoderTest, AStopWhileTheWriterIsBehindOrHeldEndsWithAPlayableFile)
{
    for (bool paused : {false, true}) {
        SCOPED_TRACE(paused);
        const std::string folder = OutputFolder();
        TFFEncoder encoder(nullptr);
        TEncoderRecorder recorder;
        recorder.Attach(encoder);
        encoder.SetProgressInterval(100);
        AddSlowEncodeTask(encoder, folder + "/out.mp4");

        encoder.Start(1);
        ASSERT_TRUE(WaitUntil([&] { return recorder.Progress >= 2; }));
        if (paused) encoder.Pause();
        encoder.Stop(true);
        ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
        const std::vector<TRecordedEnd> ends = recorder.Snapshot();
        ASSERT_EQ(ends.size(), 2u);
        EXPECT_FALSE(ends[0].Info.Finished);
        EXPECT_FALSE(ends[0].Info.Exception) << ends[0].Info.ExceptionMsg;
        EXPECT_GT(CountVideoFrames(folder + "/out.mp4"), 0);
    }
}

// A paused run writes nothing more, on either side, until it is resumed; then it converts every picture.
TEST_F(EncoderTest, APausedRunHoldsItsWriterToo)
{
    const std::string folder = OutputFolder();
    const std::string output = folder + "/out.mp4";
    TFFEncoder encoder(nullptr);
    TEncoderRecorder recorder;
    recorder.Attach(encoder);
    encoder.SetProgressInterval(100);
    AddSlowEncodeTask(encoder, output);

    encoder.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return recorder.Progress >= 2; }));
    encoder.Pause();
    // What the writer was doing when the pause came may still land; after that the file stays as it is.
    WaitUntil([&] { return false; }, 300);
    const int64_t held = FileSizeByName(output);
    WaitUntil([&] { return false; }, 700);
    EXPECT_EQ(FileSizeByName(output), held);
    EXPECT_FALSE(recorder.SawFinal());

    encoder.Resume();
    ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
    EXPECT_TRUE(recorder.Snapshot().front().Info.Finished) << recorder.Snapshot().front().Info.ExceptionMsg;
    EXPECT_EQ(CountVideoFrames(output), 250);
}

// The file may not grow beyond a few kilobytes: the writes that fail are the writer's, and the task reports the
// failure with the output's name and the system's text, not finished.
TEST_F(EncoderTest, AFailedWriteReachesTheTaskWithTheOutputsNameAndTheSystemsText)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    TEncoderRecorder recorder;
    recorder.Attach(encoder);
    AddSlowEncodeTask(encoder, folder + "/out.mp4");

    rlimit old_limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_limit;
    limit.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    encoder.Start(1);
    const bool ended = WaitUntil([&] { return recorder.SawFinal(); });
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);
    ASSERT_TRUE(ended);
    const TTerminateInfo info = recorder.Snapshot().front().Info;
    EXPECT_FALSE(info.Finished);
    EXPECT_TRUE(info.Exception);
    EXPECT_EQ(info.ExceptionMsg, folder + "/out.mp4: File too large");
}

}  // namespace
