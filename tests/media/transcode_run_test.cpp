// The life of a transcoding task: a worker that runs, pauses and stops, and the end of a task that never ran.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/transcode/custom_ffmpeg.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"

namespace {

// A run body that works until it is stopped, counting the rounds it was let through.
class TLoopingTask : public TCustomFFmpeg {
public:
    TLoopingTask() : TCustomFFmpeg(2) {}
    std::atomic<int> Rounds{0};

protected:
    void RunTranscode() override
    {
        while (!Broken()) {
            WaitWhilePaused();
            ++Rounds;
            std::this_thread::yield();
        }
    }
};

class TranscodeRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(AllLibraries)) << TFFLoader::LastErrMsg();
    }
    void TearDown() override { StopMediaEngine(); }
};

TEST_F(TranscodeRunTest, AWorkerThatIsPausedStillStopsAndEndsOnce)
{
    const std::string folder = QUENNARY_BINARY_DIR "/tests/media/transcode_run";
    const std::string input = folder + "/clip.avi";
    const std::string output = folder + "/out.avi";
    const std::string command = "mkdir -p '" + folder + "' && ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi "
                                "-i testsrc=size=64x48:rate=25 -t 0.2 -c:v mpeg4 -f avi '" + input + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    TLoopingTask task;
    ASSERT_TRUE(task.OpenInputFile(input)) << task.LastErrMsg();
    ASSERT_EQ(task.OpenOutputFile(output, false), 1) << task.LastErrMsg();
    std::atomic<int> terminations{0};
    task.FOnTerminate = [&](TObject*) { ++terminations; };

    TThread* worker = task.StartConvert(true);
    ASSERT_NE(worker, nullptr);
    EXPECT_TRUE(task.Converting());
    worker->Resume();
    ASSERT_TRUE(WaitForWithSlices([&] { return task.Rounds > 0; }, 10, 10000));
    task.Pause();
    task.Stop(true);
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(task.Terminated());
    EXPECT_FALSE(task.Converting());
    EXPECT_FALSE(task.Finished());
    EXPECT_FALSE(task.FatalException());
    // Nothing was written: the empty output is gone, the input stays.
    EXPECT_FALSE(FileExists(output));
    EXPECT_TRUE(FileExists(input));
    EXPECT_EQ(task.StartConvert(true), nullptr);
}

TEST_F(TranscodeRunTest, ATaskThatNeverRanEndsOnAnotherThread)
{
    TCustomFFmpeg task(2);
    std::atomic<int> terminations{0};
    std::atomic<DWORD> thread{0};
    task.FOnTerminate = [&](TObject*) {
        thread = win::GetCurrentThreadId();
        ++terminations;
    };
    task.StopTask(true);
    EXPECT_EQ(terminations, 1);
    EXPECT_NE(thread, win::GetCurrentThreadId());
    EXPECT_TRUE(task.Terminated());
    EXPECT_FALSE(task.Converting());
    EXPECT_FALSE(task.Finished());
    task.StopTask(true);
    EXPECT_EQ(terminations, 1);
}

}  // namespace
