#pragma once
// For the encoder tests: an encoder with recorders on its progress and termination events, and the small clips
// it converts.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "media/encoder/encoder.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"
#include "tests/fixtures/media_fixtures.h"

struct TRecordedEnd {
    TTerminateInfo Info;
    DWORD Thread = 0;
};

struct TEncoderRecorder {
    std::mutex Lock;
    std::vector<TRecordedEnd> Ends;
    std::atomic<int> Inside{0};
    std::atomic<bool> Overlapped{false};
    std::atomic<int> Progress{0};
    std::atomic<DWORD> ProgressThread{0};

    void Attach(TCustomEncoder& AEncoder)
    {
        AEncoder.OnTerminate = [this](TObject*, const TTerminateInfo& AInfo) {
            if (++Inside > 1) Overlapped = true;
            {
                std::lock_guard guard(Lock);
                Ends.push_back({AInfo, win::GetCurrentThreadId()});
            }
            --Inside;
        };
        AEncoder.OnProgress = [this](TObject*, PProgressInfo) {
            ProgressThread = win::GetCurrentThreadId();
            ++Progress;
        };
    }
    std::vector<TRecordedEnd> Snapshot()
    {
        std::lock_guard guard(Lock);
        return Ends;
    }
    bool SawFinal()
    {
        for (const TRecordedEnd& end : Snapshot())
            if (end.Info.TaskIndex < 0) return true;
        return false;
    }
    std::vector<int> Indexes()
    {
        std::vector<int> result;
        for (const TRecordedEnd& end : Snapshot()) result.push_back(end.Info.TaskIndex);
        return result;
    }
};

class EncoderTest : public MediaEngineTest {
protected:
    EncoderTest() : MediaEngineTest(AllLibraries) {}

    // A folder of this test's own for the outputs, emptied first.
    std::string OutputFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string folder = std::string(QUENNARY_BINARY_DIR "/tests/media/encoder_out/") +
                                   info->test_suite_name() + "." + info->name();
        const std::string command = "rm -rf '" + folder + "' && mkdir -p '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return folder;
    }
    // Adds a task converting the one-second AVI clip; APaced reads it no faster than it plays, so the task
    // lasts about a second and can be caught running.
    static int AddClipTask(TCustomEncoder& AEncoder, const std::string& AOutput, bool APaced)
    {
        const int index = AEncoder.AddTask(MediaFixture("clip.avi"), APaced ? "re=1" : "");
        EXPECT_GE(index, 0) << AEncoder.LastErrMsg();
        if (index >= 0) EXPECT_TRUE(AEncoder.SetOutputFile(index, AOutput)) << AEncoder.LastErrMsg();
        return index;
    }
    // Waits on the main thread, running the calls handed to it meanwhile.
    static bool WaitUntil(const std::function<bool()>& ADone, DWORD ATimeout = 60000)
    {
        return WaitForWithSlices(ADone, 10, ATimeout);
    }
};
