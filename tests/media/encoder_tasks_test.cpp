// Building an encoder's task list: failures that leave the list as it was, the file limits, index errors,
// editing, the per-input decoders, and the property rules.
#include <atomic>
#include <fstream>
#include <set>

#include "media/loader/av_bindings.h"
#include "tests/media/encoder_test_support.h"

namespace {

TEST_F(EncoderTest, AFileThatCannotBeOpenedAddsNoTask)
{
    TFFEncoder encoder(nullptr);
    const struct {
        std::string File;
        std::string Expected;  // part of LastErrMsg
    } cases[] = {
        {MediaFixture("missing.avi"), "missing.avi"},
        {MediaFixture("not_media.mp4"), "not_media.mp4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encoder.AddTask(c.File, nullptr), -1);
        EXPECT_NE(encoder.LastErrMsg().find(c.Expected), std::string::npos) << encoder.LastErrMsg();
    }
    // An input option the transcoder refuses fails the task in the same way.
    EXPECT_EQ(encoder.AddTask(MediaFixture("clip.avi"), "no_such_option=1"), -1);
    EXPECT_FALSE(encoder.LastErrMsg().empty());
    EXPECT_EQ(encoder.TasksCount(), 0);
}

TEST_F(EncoderTest, ATaskTakesNoMoreFilesThanItsLimit)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    EXPECT_EQ(encoder.CustomMaxFiles(), 20);
    encoder.SetCustomMaxFiles(2);
    const int index = encoder.AddTask(MediaFixture("clip.avi"), nullptr);
    ASSERT_EQ(index, 0) << encoder.LastErrMsg();
    EXPECT_TRUE(encoder.AddInputFile(index, MediaFixture("bframes.mp4"), nullptr)) << encoder.LastErrMsg();
    EXPECT_FALSE(encoder.AddInputFile(index, MediaFixture("clip.avi"), nullptr));
    EXPECT_EQ(encoder.LastErrMsg(), "max input files 2 reached");
    EXPECT_FALSE(encoder.AddInputFile(index, MediaFixture("missing.avi"), nullptr));
    EXPECT_EQ(encoder.Task(index)->nb_input_files(), 2);

    EXPECT_TRUE(encoder.SetOutputFile(index, folder + "/a.avi", nullptr)) << encoder.LastErrMsg();
    EXPECT_TRUE(encoder.SetOutputFile(index, folder + "/b.avi", "vcodec=mpeg4")) << encoder.LastErrMsg();
    EXPECT_FALSE(encoder.SetOutputFile(index, folder + "/c.avi", nullptr));
    EXPECT_EQ(encoder.LastErrMsg(), "max output files 2 reached");
    EXPECT_EQ(encoder.Task(index)->nb_output_files(), 2);
}

TEST_F(EncoderTest, AFailedOutputLeavesTheTaskAsItWas)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    ASSERT_EQ(encoder.AddTask(MediaFixture("clip.avi"), nullptr), 0);
    EXPECT_FALSE(encoder.SetOutputFile(0, folder + "/out.nosuchformat", nullptr));
    EXPECT_EQ(encoder.LastErrMsg(), "Unable to find a suitable output format for '" + folder + "/out.nosuchformat'");
    EXPECT_FALSE(encoder.SetOutputFile(0, folder + "/out.avi", "vcodec=no_such_codec"));
    EXPECT_FALSE(encoder.LastErrMsg().empty());
    EXPECT_EQ(encoder.Task(0)->nb_output_files(), 0);
    EXPECT_EQ(encoder.Task(0)->OutputOptions(0), nullptr);
    EXPECT_TRUE(encoder.SetOutputFile(0, folder + "/out.avi", "vcodec=mpeg4")) << encoder.LastErrMsg();
    ASSERT_NE(encoder.Task(0)->OutputOptions(0), nullptr);
}

TEST_F(EncoderTest, TasksAreEditedByIndex)
{
    TFFEncoder encoder(nullptr);
    ASSERT_EQ(encoder.AddTask(MediaFixture("clip.avi"), nullptr), 0);
    ASSERT_EQ(encoder.AddTask(MediaFixture("bframes.mp4"), nullptr), 1);
    TEncoderTask* first = encoder.Task(0);
    TEncoderTask* second = encoder.Task(1);
    EXPECT_EQ(encoder.GetTaskIndex(second), 1);

    encoder.Exchange(0, 1);
    EXPECT_EQ(encoder.Task(0), second);
    encoder.RemoveTask(0);
    EXPECT_EQ(encoder.TasksCount(), 1);
    EXPECT_EQ(encoder.Task(0), first);
    EXPECT_EQ(encoder.GetTaskIndex(first), 0);

    EXPECT_THROW(encoder.RemoveTask(1), EListError);
    EXPECT_THROW(encoder.Exchange(0, 5), EListError);
    EXPECT_THROW(encoder.AddInputFile(-1, MediaFixture("clip.avi"), nullptr), EListError);
    EXPECT_THROW(encoder.SetOutputFile(3, "x.avi", nullptr), EListError);
}

TEST_F(EncoderTest, EachInputHasADecoderOnTheTasksOwnFile)
{
    TFFEncoder encoder(nullptr);
    ASSERT_EQ(encoder.AddTask(MediaFixture("clip.avi"), nullptr), 0);
    ASSERT_TRUE(encoder.AddInputFile(0, MediaFixture("multi.mkv"), nullptr)) << encoder.LastErrMsg();
    TEncoderTask* task = encoder.Task(0);
    ASSERT_NE(task->Decoder(0), nullptr);
    ASSERT_NE(task->Decoder(1), nullptr);
    EXPECT_EQ(task->Decoder(2), nullptr);
    EXPECT_EQ(task->Decoder(0)->FileHandle(), task->InputFile(0));
    EXPECT_EQ(task->Decoder(1)->AudioStreamCount(), 2);
    EXPECT_EQ(task->Decoder(0)->FirstVideoStreamInfo().Width, 160);
    // The encoder's own decoder probes on its own.
    ASSERT_TRUE(encoder.Decoder()->LoadFile(MediaFixture("bframes.mp4"))) << encoder.Decoder()->LastErrMsg();
    EXPECT_EQ(encoder.Decoder()->VideoStreamCount(), 1);
}

TEST_F(EncoderTest, PropertiesKeepTheirRules)
{
    TFFEncoder encoder(nullptr);
    EXPECT_EQ(encoder.Version(), "3.9");
    EXPECT_EQ(encoder.ProgressInterval(), 500);
    EXPECT_EQ(encoder.ReadTimeout(), 10000);
    EXPECT_TRUE(encoder.HaltOnInvalidOption());
    EXPECT_TRUE(encoder.TriggerEventInMainThread());
    EXPECT_EQ(encoder.Verbose(), 1);
    encoder.SetProgressInterval(50);
    EXPECT_EQ(encoder.ProgressInterval(), 100);
    EXPECT_TRUE(encoder.AVLibLoaded());
    EXPECT_FALSE(encoder.Working());
    EXPECT_FALSE(encoder.Terminated());

    // The preview switches reach the tasks already listed and those added later.
    ASSERT_EQ(encoder.AddTask(MediaFixture("clip.avi"), nullptr), 0);
    EXPECT_EQ(encoder.Task(0)->PostHooks(), TPostHooks());
    encoder.SetPreviewBitmap(true);
    EXPECT_EQ(encoder.Task(0)->PostHooks(), TPostHooks{phBitmap});
    encoder.SetPreview(true);
    ASSERT_EQ(encoder.AddTask(MediaFixture("clip.avi"), nullptr), 1);
    EXPECT_EQ(encoder.Task(1)->PostHooks(), (TPostHooks{phPreview, phBitmap}));
    encoder.SetPreviewBitmap(false);
    EXPECT_EQ(encoder.Task(0)->PostHooks(), TPostHooks{phPreview});
}

TEST_F(EncoderTest, ReportsCarryTheTaskIndexAndTheHookSeesItsSamples)
{
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    TEncoderRecorder recorder;
    recorder.Attach(encoder);
    std::atomic<int> hook_calls{0};
    std::atomic<int> hook_task{-2};
    encoder.OnAudioHook = [&](TObject* Sender, int ATaskIndex, int64_t, uint8_t* ASample, int ASize, int ASampleRate,
                              int AChannels, AVSampleFormat) {
        EXPECT_EQ(Sender, &encoder);
        EXPECT_NE(ASample, nullptr);
        EXPECT_GT(ASize, 0);
        EXPECT_EQ(ASampleRate, 22050);
        EXPECT_EQ(AChannels, 1);
        hook_task = ATaskIndex;
        ++hook_calls;
    };
    std::vector<int> progress_tasks;
    encoder.OnProgress = [&](TObject*, PProgressInfo AInfo) { progress_tasks.push_back(AInfo->TaskIndex); };
    ASSERT_EQ(encoder.AddTask(MediaFixture("bframes.mp4"), nullptr), 0);
    ASSERT_TRUE(encoder.SetOutputFile(0, folder + "/a.avi", nullptr));
    ASSERT_EQ(encoder.AddTask(MediaFixture("clip.avi"), nullptr), 1);
    ASSERT_TRUE(encoder.SetOutputFile(1, folder + "/b.avi", "AudioHook=1"));

    encoder.Start(0);
    ASSERT_TRUE(recorder.SawFinal());
    EXPECT_GT(hook_calls, 0);
    EXPECT_EQ(hook_task, 1);
    ASSERT_FALSE(progress_tasks.empty());
    EXPECT_EQ(progress_tasks.front(), 0);
    EXPECT_EQ(progress_tasks.back(), 1);
}

TEST_F(EncoderTest, TheAudioHookGetsEveryChannelOfPlanarSoundInterleaved)
{
    // AC-3 decodes to planar float: six channels, then two after the layout change.
    const std::string folder = OutputFolder();
    TFFEncoder encoder(nullptr);
    TEncoderRecorder recorder;
    recorder.Attach(encoder);
    std::set<int> channel_counts;
    std::atomic<uint64_t> checksum{0};
    encoder.OnAudioHook = [&](TObject*, int, int64_t, uint8_t* ASample, int ASize, int, int AChannels,
                              AVSampleFormat AFormat) {
        EXPECT_EQ(ff::av_sample_fmt_is_planar(AFormat), 0);
        const int frame_bytes = AChannels * ff::av_get_bytes_per_sample(AFormat);
        ASSERT_GT(frame_bytes, 0);
        EXPECT_EQ(ASize % frame_bytes, 0);
        uint64_t sum = 0;
        for (int i = 0; i < ASize; ++i) sum += ASample[i];  // every byte stated is readable
        checksum += sum;
        channel_counts.insert(AChannels);
    };
    ASSERT_EQ(encoder.AddTask(MediaFixture("layout_change.ts"), nullptr), 0);
    ASSERT_TRUE(encoder.SetOutputFile(0, folder + "/sound.wav", "AudioHook=1"));
    encoder.Start(0);
    ASSERT_TRUE(recorder.SawFinal());
    for (const TRecordedEnd& end : recorder.Snapshot()) EXPECT_FALSE(end.Info.Exception) << end.Info.ExceptionMsg;
    EXPECT_EQ(channel_counts, (std::set<int>{2, 6}));
    EXPECT_GT(checksum.load(), 0u);
}

TEST_F(EncoderTest, AFailedTaskRemovesOnlyTheEmptyOutputItCreated)
{
    // Six channels of sound cannot go into the AVI's default sound encoder: the task fails once its output is open.
    const std::string folder = OutputFolder();
    const std::string created = folder + "/created.avi";
    const std::string existing = folder + "/existing.avi";
    { std::ofstream touch(existing); }
    for (const std::string& output : {created, existing}) {
        TFFEncoder encoder(nullptr);
        TEncoderRecorder recorder;
        recorder.Attach(encoder);
        ASSERT_EQ(encoder.AddTask(MediaFixture("six.wav"), nullptr), 0);
        ASSERT_TRUE(encoder.SetOutputFile(0, output, "acodec=mp2")) << encoder.LastErrMsg();
        encoder.Start(0);
        ASSERT_TRUE(recorder.SawFinal());
    }
    EXPECT_FALSE(FileExists(created));
    EXPECT_TRUE(FileExists(existing)) << "the user's file was there before the run";
}

}  // namespace
