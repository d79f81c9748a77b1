// Running an encoder's task list: the order of the termination events, stop, pause and resume, misuse while
// working, an empty run, and freeing the encoder while it converts.
#include "tests/media/encoder_test_support.h"

#include <algorithm>
#include <memory>

namespace {

// Every task converts to its end; the events come once per task then once for the run, never overlapping.
TEST_F(EncoderTest, EveryTaskEndsOnceThenTheRunEnds)
{
    struct TCase {
        int Threads;
        bool InOrder;  // tasks run one at a time, so they end in list order
    };
    for (const TCase& c : {TCase{1, true}, TCase{0, true}, TCase{3, false}}) {
        SCOPED_TRACE(c.Threads);
        const std::string folder = OutputFolder();
        TFFEncoder encoder(nullptr);
        TEncoderRecorder recorder;
        recorder.Attach(encoder);
        for (int i = 0; i < 3; ++i) AddClipTask(encoder, folder + "/out" + IntToStr(i) + ".avi", false);

        encoder.Start(c.Threads);
        // Inline, Start returns only after the final event, which it raised on this thread.
        if (c.Threads == 0) EXPECT_TRUE(recorder.SawFinal());
        ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
        const std::vector<TRecordedEnd> ends = recorder.Snapshot();
        ASSERT_EQ(ends.size(), 4u);
        std::vector<int> indexes = recorder.Indexes();
        EXPECT_EQ(indexes.back(), -1);
        if (c.InOrder) EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, -1}));
        std::sort(indexes.begin(), indexes.end());
        EXPECT_EQ(indexes, (std::vector<int>{-1, 0, 1, 2}));
        for (const TRecordedEnd& end : ends) {
            EXPECT_TRUE(end.Info.Finished) << end.Info.TaskIndex << ": " << end.Info.ExceptionMsg;
            EXPECT_FALSE(end.Info.Exception);
            if (c.Threads == 0) EXPECT_EQ(end.Thread, MainThreadID);
            else EXPECT_NE(end.Thread, MainThreadID);
        }
        EXPECT_FALSE(recorder.Overlapped);
        EXPECT_TRUE(encoder.Terminated());
        EXPECT_TRUE(encoder.Working());
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(FileExists(folder + "/out" + IntToStr(i) + ".avi"));
        encoder.ClearTasks();
        EXPECT_FALSE(encoder.Working());
        EXPECT_EQ(encoder.TasksCount(), 0);
    }
}

TEST_F(EncoderTest, AStopMidRunEndsEveryTaskUnfinishedThenTheRun)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    TEncoderRecorder recorder;
    recorder.Attach(encoder);
    for (int i = 0; i < 3; ++i) AddClipTask(encoder, folder + "/out" + IntToStr(i) + ".avi", true);

    encoder.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return recorder.Progress > 0; }));
    encoder.Stop(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
    const std::vector<TRecordedEnd> ends = recorder.Snapshot();
    ASSERT_EQ(recorder.Indexes(), (std::vector<int>{0, 1, 2, -1}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(ends[i].Info.Finished) << i;
        EXPECT_FALSE(ends[i].Info.Exception) << i << ": " << ends[i].Info.ExceptionMsg;
    }
    EXPECT_TRUE(ends[3].Info.Finished);
    EXPECT_FALSE(recorder.Overlapped);
    // A second stop after the end reports nothing more.
    encoder.Stop(true);
    EXPECT_EQ(recorder.Snapshot().size(), 4u);
    EXPECT_TRUE(encoder.Terminated());
}

// The handler's task waits for the handler, so the stop cannot wait for that task, wherever the handler runs.
TEST_F(EncoderTest, AProgressHandlerCanStopTheRun)
{
    for (bool main_thread : {false, true}) {
        SCOPED_TRACE(main_thread);
        const std::string folder = OutputFolder();
        TFFEncoder encoder(nullptr);
        TEncoderRecorder recorder;
        recorder.Attach(encoder);
        encoder.SetTriggerEventInMainThread(main_thread);
        std::atomic<bool> stopped{false};
        encoder.OnProgress = [&](TObject*, PProgressInfo) {
            if (!stopped.exchange(true)) encoder.Stop(true);
        };
        for (int i = 0; i < 2; ++i) AddClipTask(encoder, folder + "/out" + IntToStr(i) + ".avi", true);

        encoder.Start(1);
        ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
        // The running task was not waited for, so the one never started may report first.
        std::vector<int> indexes = recorder.Indexes();
        ASSERT_EQ(indexes.size(), 3u);
        EXPECT_EQ(indexes.back(), -1);
        std::sort(indexes.begin(), indexes.end());
        EXPECT_EQ(indexes, (std::vector<int>{-1, 0, 1}));
        for (const TRecordedEnd& end : recorder.Snapshot())
            if (end.Info.TaskIndex >= 0) EXPECT_FALSE(end.Info.Finished) << end.Info.TaskIndex;
    }
}

TEST_F(EncoderTest, APausedRunHoldsStillAndGoesOnWhenResumed)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    TEncoderRecorder recorder;
    recorder.Attach(encoder);
    encoder.SetProgressInterval(100);
    AddClipTask(encoder, folder + "/out.avi", true);

    encoder.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return recorder.Progress >= 2; }));
    encoder.Pause();
    encoder.Pause();
    EXPECT_TRUE(encoder.Paused());
    // One report may have been on its way when the pause came; after that nothing moves.
    WaitUntil([&] { return false; }, 50);
    const int held = recorder.Progress;
    WaitUntil([&] { return false; }, 400);
    EXPECT_EQ(recorder.Progress, held);
    EXPECT_FALSE(recorder.SawFinal());

    encoder.Resume();
    EXPECT_FALSE(encoder.Paused());
    ASSERT_TRUE(WaitUntil([&] { return recorder.Progress > held; }));
    ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
    EXPECT_TRUE(recorder.Snapshot().front().Info.Finished);
}

TEST_F(EncoderTest, TheListCannotChangeWhileWorking)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    TEncoderRecorder recorder;
    recorder.Attach(encoder);
    AddClipTask(encoder, folder + "/out0.avi", true);
    AddClipTask(encoder, folder + "/out1.avi", true);
    encoder.Start(1);

    const std::pair<const char*, std::function<void()>> misuses[] = {
        {"Cannot StartTask while working.", [&] { encoder.Start(1); }},
        {"Cannot AddTask while working.", [&] { encoder.AddTask(MediaFixture("clip.avi"), nullptr); }},
        {"Cannot AddInputFile while working.", [&] { encoder.AddInputFile(0, MediaFixture("clip.avi"), nullptr); }},
        {"Cannot SetOutputFile while working.", [&] { encoder.SetOutputFile(0, folder + "/x.avi", nullptr); }},
        {"Cannot Exchange while working.", [&] { encoder.Exchange(0, 1); }},
        {"Cannot RemoveTask while working.", [&] { encoder.RemoveTask(0); }},
        {"Cannot ClearTasks while working.", [&] { encoder.ClearTasks(); }},
    };
    for (const auto& [text, misuse] : misuses) {
        try {
            misuse();
            ADD_FAILURE() << "no exception for " << text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), text);
        }
    }
    EXPECT_EQ(encoder.TasksCount(), 2);
    encoder.Stop(true);
    ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
    // After the run the list stays as it was until it is cleared.
    try {
        encoder.AddTask(MediaFixture("clip.avi"), nullptr);
        ADD_FAILURE() << "a finished run took a task";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot AddTask while working.");
    }
    encoder.ClearTasks();
    EXPECT_GE(AddClipTask(encoder, folder + "/again.avi", false), 0);
}

TEST_F(EncoderTest, AnEmptyRunEndsAtOnce)
{
    for (int threads : {1, 0}) {
        SCOPED_TRACE(threads);
        TFFEncoder encoder(nullptr);
        TEncoderRecorder recorder;
        recorder.Attach(encoder);
        encoder.Start(threads);
        ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
        EXPECT_EQ(recorder.Indexes(), std::vector<int>{-1});
        EXPECT_TRUE(encoder.Terminated());
        encoder.ClearTasks();
        EXPECT_FALSE(encoder.Working());
    }
}

TEST_F(EncoderTest, TheFinalHandlerMayClearTheList)
{
    for (int threads : {0, 1}) {
        SCOPED_TRACE(threads);
        const std::string folder = OutputFolder();
        TFFEncoder encoder(nullptr);
        std::atomic<bool> cleared{false};
        encoder.OnTerminate = [&](TObject*, const TTerminateInfo& AInfo) {
            if (AInfo.TaskIndex >= 0) return;
            encoder.ClearTasks();
            cleared = true;
        };
        AddClipTask(encoder, folder + "/out.avi", false);
        encoder.Start(threads);
        ASSERT_TRUE(WaitUntil([&] { return cleared.load(); }));
        EXPECT_EQ(encoder.TasksCount(), 0);
        EXPECT_FALSE(encoder.Working());
    }
}

TEST_F(EncoderTest, ATaskThatCannotStartFailsAndTheNextOneRuns)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    TEncoderRecorder recorder;
    recorder.Attach(encoder);
    encoder.SetTriggerEventInMainThread(false);
    ASSERT_EQ(encoder.AddTask(MediaFixture("clip.avi"), nullptr), 0);
    AddClipTask(encoder, folder + "/out.avi", false);

    encoder.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return recorder.SawFinal(); }));
    const std::vector<TRecordedEnd> ends = recorder.Snapshot();
    ASSERT_EQ(recorder.Indexes(), (std::vector<int>{0, 1, -1}));
    EXPECT_TRUE(ends[0].Info.Exception);
    EXPECT_FALSE(ends[0].Info.Finished);
    EXPECT_EQ(ends[0].Info.ExceptionMsg, "At least one output file must be specified");
    EXPECT_TRUE(ends[1].Info.Finished) << ends[1].Info.ExceptionMsg;
    // Without the main thread's help the progress handler runs where the task converts.
    EXPECT_GT(recorder.Progress, 0);
    EXPECT_NE(recorder.ProgressThread, MainThreadID);
}

TEST_F(EncoderTest, WithoutATerminationHandlerTheRunStillAdvances)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    for (int i = 0; i < 2; ++i) AddClipTask(encoder, folder + "/out" + IntToStr(i) + ".avi", false);
    encoder.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return encoder.Terminated(); }));
    EXPECT_TRUE(FileExists(folder + "/out1.avi"));
}

TEST_F(EncoderTest, FreeingTheEncoderMidRunStopsAndWaits)
{
    const std::string folder = OutputFolder();
    for (int threads : {1, 2}) {
        SCOPED_TRACE(threads);
        TEncoderRecorder recorder;
        auto encoder = std::make_unique<TFFEncoder>(nullptr);
        recorder.Attach(*encoder);
        for (int i = 0; i < 3; ++i)
            AddClipTask(*encoder, folder + "/out" + IntToStr(threads) + IntToStr(i) + ".avi", true);
        encoder->Start(threads);
        ASSERT_TRUE(WaitUntil([&] { return recorder.Progress > 0; }));
        encoder.reset();
        // Every end was told before the encoder went.
        EXPECT_EQ(recorder.Snapshot().size(), 4u);
        EXPECT_TRUE(recorder.SawFinal());
    }
}

}  // namespace
