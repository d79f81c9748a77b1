// A conversion run against a recording encoder and dialog: the output folder and its fallback, the tasks built
// for separate and merged jobs, every failure stopping the Start before anything runs, progress, pause, cancel,
// and what the end of a run writes, closes, opens or shuts down.
#include "app/conversion_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/rtl/sysutils.h"

namespace {

namespace fs = std::filesystem;

// The hidden name a task writes until it has finished.
std::string Partial(const std::string& AFolder, const std::string& AName)
{
    const fs::path name(AName);
    return AFolder + "/." + name.stem().string() + ".partial" + name.extension().string();
}

// The names in a folder, hidden ones too, sorted.
std::vector<std::string> NamesIn(const std::string& AFolder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(AFolder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class TRecordingEncoder final : public TConversionEncoder {
public:
    void ClearTasks() override { Calls.push_back("ClearTasks"); Tasks = 0; }
    int AddTask(const std::string& AFileName, TInputOptions* AOptions) override
    {
        Calls.push_back("AddTask " + AFileName);
        Inputs.push_back(*AOptions);
        return FailAddTask || AFileName == FailAddTaskFile ? -1 : Tasks++;
    }
    bool AddInputFile(int ATaskIndex, const std::string& AFileName, TInputOptions* AOptions) override
    {
        Calls.push_back("AddInputFile " + std::to_string(ATaskIndex) + " " + AFileName);
        Inputs.push_back(*AOptions);
        return !FailAddInput;
    }
    bool SetOutputFile(int ATaskIndex, const std::string& AFileName, TOutputOptions* AOptions) override
    {
        Calls.push_back("SetOutputFile " + std::to_string(ATaskIndex) + " " + AFileName);
        Outputs.push_back(*AOptions);
        // The engine makes the output file when it is set, as it opens it then.
        if (!FailOutput && fs::is_directory(fs::path(AFileName).parent_path())) std::ofstream(AFileName) << "output";
        return !FailOutput;
    }
    int TasksCount() const override { return Tasks; }
    std::string LastErrMsg() const override { return "engine says no"; }
    void Start() override { Calls.push_back("Start"); }
    void Pause() override { Calls.push_back("Pause"); }
    void Resume() override { Calls.push_back("Resume"); }
    void Stop() override { Calls.push_back("Stop"); }

    std::vector<std::string> Calls;
    std::vector<TInputOptions> Inputs;
    std::vector<TOutputOptions> Outputs;
    int Tasks = 0;
    bool FailAddTask = false, FailAddInput = false, FailOutput = false;
    std::string FailAddTaskFile;
};

class TRecordingView final : public TConversionView {
public:
    void ShowRun() override { Shown = true; }
    void CloseRun() override { Shown = false; ++Closes; }
    void SetGauges(int ATotal, int ACurrent) override { Total = ATotal; Current = ACurrent; }
    void SetLabel(const std::string& AText) override { Label = AText; }
    void SetPauseCaption(const std::string& AText) override { PauseCaption = AText; }
    bool ShutdownChosen() const override { return Shutdown; }
    bool OpenOutputChosen() const override { return OpenOutput; }

    bool Shown = false, Shutdown = false, OpenOutput = true;
    int Closes = 0, Total = -1, Current = -1;
    std::string Label, PauseCaption;
};

TFormat MakeFormat(const std::string& AExt, const std::string& ACodec)
{
    TFormat format;
    format.FormatExt = AExt;
    format.IsAudioFormat = "0";
    format.VideoCodecName = ACodec;
    format.Width = "320";
    format.Height = "240";
    format.FrameRate = "25000";
    format.VideoBitRate = "800000";
    format.AudioCodecName = "aac";
    format.SampleRate = "44100";
    format.Channel = "2";
    format.AudioBitRate = "128000";
    return format;
}

TVideoFile MakeJob(const std::string& AName, int AFormat)
{
    TVideoFile job;
    job.Source = "/in/" + AName + ".avi";
    job.SourceTitleExt = AName + ".avi";
    job.DestinationTitle = AName;
    job.SourceWidth = 320;
    job.SourceHeight = 240;
    job.TimeStart = 500000;
    job.TimeEnd = 1500000;
    job.FormatInd = AFormat;
    return job;
}

class ConversionRunTest : public ::testing::Test {
protected:
    ConversionRunTest()
        : FFolder(fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / ("conversion_run_" + std::to_string(getpid()))),
          FJobs(Catalogue()),
          FLog([] { return std::string("12:00:00 "); }),
          FRun(FEncoder, FJobs, FCatalogue, FLog, FView)
    {
        fs::remove_all(FFolder);
        fs::create_directories(FFolder / "out");
        FRun.FallbackFolder = (FFolder / "fallback").string();
        FRun.OnReportError = [this](const std::string& AText, const std::string& AMark) {
            FReports.push_back(AMark + ": " + AText);
        };
        FRun.Desktop.ShowWarning = [this](const std::string& AText) { FWarnings.push_back(AText); };
        FRun.Desktop.StopPreview = [this] { FDesktop.push_back("StopPreview"); };
        FRun.Desktop.OpenFolder = [this](const std::string& AFolder) { FDesktop.push_back("Open " + AFolder); };
        FRun.Desktop.SaveSettings = [this] { FDesktop.push_back("SaveSettings"); };
        FRun.Desktop.ShutDown = [this] {
            FDesktop.push_back("ShutDown");
            if (FShutDownFails) throw EOSError("refused");
        };
    }
    ~ConversionRunTest() override { fs::remove_all(FFolder); }

    const TCatalogue& Catalogue()
    {
        FCatalogue.Profiles.resize(1);
        FCatalogue.Profiles[0].Formats = {MakeFormat(".mp4", "mpeg4"), MakeFormat(".avi", "libxvid")};
        return FCatalogue;
    }
    void AddJobs(int ACount)
    {
        for (int i = 0; i < ACount; ++i) FJobs.Append(MakeJob("clip" + std::to_string(i), i % 2));
    }
    std::string Out() const { return (FFolder / "out").string(); }
    void EndTask(int AIndex, bool AFinished = true, const std::string& AError = {})
    {
        FEncoder.OnTerminate({AIndex, AFinished, !AError.empty(), AError});
    }
    void EndRun() { FEncoder.OnTerminate({-1, true, false, ""}); }
    std::vector<std::string> LogTexts() const
    {
        std::vector<std::string> texts;
        for (const std::string& line : FLog.Lines()) texts.push_back(line.substr(line.find("-> ") + 3));
        return texts;
    }

    fs::path FFolder;
    TCatalogue FCatalogue;
    TJobList FJobs;
    TEventsLog FLog;
    TRecordingEncoder FEncoder;
    TRecordingView FView;
    TConversion FRun;
    std::vector<std::string> FReports, FWarnings, FDesktop;
    bool FShutDownFails = false;
};

TEST_F(ConversionRunTest, EachJobGetsItsOwnTaskAndOutput)
{
    EXPECT_FALSE(FRun.Start(Out()));  // no jobs: nothing at all
    EXPECT_TRUE(FEncoder.Calls.empty());

    AddJobs(2);
    ASSERT_TRUE(FRun.Start(Out()));
    const std::vector<std::string> calls = {
        "ClearTasks",         "AddTask /in/clip0.avi", "SetOutputFile 0 " + Partial(Out(), "clip0.mp4"),
        "AddTask /in/clip1.avi", "SetOutputFile 1 " + Partial(Out(), "clip1.avi"), "Start"};
    EXPECT_EQ(FEncoder.Calls, calls);
    EXPECT_EQ(FDesktop, std::vector<std::string>{"StopPreview"});
    EXPECT_EQ(FEncoder.Inputs[1].TimeStart, 500000);
    EXPECT_EQ(FEncoder.Outputs[1].TimeLength, 1000000);
    EXPECT_EQ(FEncoder.Outputs[1].VideoTag, "XVID");
    EXPECT_EQ(LogTexts(), std::vector<std::string>{"Started Conversion"});
    EXPECT_TRUE(FView.Shown);
    EXPECT_EQ(FView.Label, "Converting...");
    EXPECT_EQ(FView.Total, 0);
    EXPECT_EQ(FView.PauseCaption, "Pause");
    EXPECT_TRUE(FRun.Running());
    EXPECT_EQ(FRun.OutputOptionsList().size(), 2u);
}

TEST_F(ConversionRunTest, MergingReadsEveryJobIntoOneJoinedFile)
{
    AddJobs(3);
    FJobs.SetRow(2);  // the selected job's preset decides the joined file
    FRun.Merge = true;
    ASSERT_TRUE(FRun.Start(Out()));
    const std::vector<std::string> calls = {"ClearTasks",
                                            "AddTask /in/clip0.avi",
                                            "AddInputFile 0 /in/clip1.avi",
                                            "AddInputFile 0 /in/clip2.avi",
                                            "SetOutputFile 0 " + Partial(Out(), "Joined.avi"),
                                            "Start"};
    EXPECT_EQ(FEncoder.Calls, calls);
    for (const TInputOptions& input : FEncoder.Inputs) EXPECT_EQ(input.TimeStart, AV_NOPTS_VALUE);
    EXPECT_TRUE(FEncoder.Outputs[0].Join);
    EXPECT_EQ(FEncoder.Outputs[0].VideoTag, "XVID");
    EXPECT_EQ(FEncoder.Outputs[0].TimeLength, AV_NOPTS_VALUE);

    FEncoder.OnProgress({0, 250, 1000});
    EXPECT_EQ(FView.Label, "Converting \"clip0.avi\" to \"Joined.avi\"");
    EXPECT_EQ(FView.Total, 25);
}

TEST_F(ConversionRunTest, MergingASingleJobConvertsItAsItself)
{
    AddJobs(1);
    FRun.Merge = true;
    ASSERT_TRUE(FRun.Start(Out()));
    EXPECT_EQ(FEncoder.Calls[2], "SetOutputFile 0 " + Partial(Out(), "clip0.mp4"));
    EXPECT_FALSE(FEncoder.Outputs[0].Join);
    EXPECT_EQ(FEncoder.Inputs[0].TimeStart, 500000);
}

TEST_F(ConversionRunTest, MissingOutputFolderFallsBack)
{
    AddJobs(1);
    ASSERT_TRUE(FRun.Start((FFolder / "gone").string()));
    EXPECT_EQ(FWarnings, std::vector<std::string>{"Output folder does not exit. Converting to \"" +
                                                  FRun.FallbackFolder + "\"."});
    EXPECT_EQ(FRun.OutputFolder(), FRun.FallbackFolder);
    EXPECT_TRUE(DirectoryExists(FRun.FallbackFolder));
    EXPECT_EQ(FEncoder.Calls[2], "SetOutputFile 0 " + Partial(FRun.FallbackFolder, "clip0.mp4"));
}

TEST_F(ConversionRunTest, FallbackThatCannotBeMadeStopsTheStart)
{
    AddJobs(1);
    FRun.FallbackFolder = (FFolder / "no" / "such" / "parent").string();  // made one level only
    EXPECT_FALSE(FRun.Start((FFolder / "gone").string()));
    ASSERT_EQ(FWarnings.size(), 2u);
    EXPECT_EQ(FWarnings[1], "Could not create temporary directory. Please choose another output folder.");
    EXPECT_TRUE(FEncoder.Calls.empty());
    EXPECT_FALSE(FRun.Running());
}

TEST_F(ConversionRunTest, EveryFailureStopsBeforeTheEncoderRuns)
{
    struct Case {
        bool merge, add_task, add_input, output, crop;
        std::vector<std::string> reports;
    };
    const std::string refused_output =
        "CLM_SetOutputFile: Cannot set output file: engine says no\r\nPlease choose other output folder or rename "
        "output file.";
    const Case cases[] = {
        // No job's file opens: nothing is left to convert.
        {false, true, false, false, false, {"CLM_FFAddTaskToMeged: engine says no", "CLM_FFAddTaskToMeged: engine says no"}},
        {false, false, false, true, false, {refused_output}},
        {true, true, false, false, false, {"CLM_FFAddTaskToMerged: engine says no"}},
        {true, false, true, false, false, {"CLM_FFAddInputFileToMerged: engine says no"}},
        {true, false, false, true, false, {"CLM_SetOutputFileMerge: Cannot set output file (merged): engine says no"}},
        {false, false, false, false, true, {"CLM_SetCropFilters: The crop of \"clip1.avi\" leaves no picture to convert."}},
    };
    AddJobs(2);
    for (const Case& c : cases) {
        FEncoder.Calls.clear();
        FEncoder.Tasks = 0;
        FReports.clear();
        FRun.Merge = c.merge;
        FEncoder.FailAddTask = c.add_task;
        FEncoder.FailAddInput = c.add_input;
        FEncoder.FailOutput = c.output;
        FJobs.Job(1).CropLeft = c.crop ? 400 : 0;
        EXPECT_FALSE(FRun.Start(Out())) << c.reports[0];
        EXPECT_EQ(FReports, c.reports);
        EXPECT_TRUE(FEncoder.Calls.empty() || FEncoder.Calls.back() != "Start") << c.reports[0];
        EXPECT_FALSE(FRun.Running());
        EXPECT_FALSE(FView.Shown);
    }
    EXPECT_TRUE(LogTexts().empty());

    // A job whose preset names no format, and a format whose numbers are not numbers, are refused outright.
    FJobs.Job(1).CropLeft = 0;
    FJobs.Job(1).FormatInd = 7;
    EXPECT_THROW(FRun.Start(Out()), Exception);
    FJobs.Job(1).FormatInd = 0;
    FCatalogue.Profiles[0].Formats[0].SampleRate = "lots";
    EXPECT_THROW(FRun.Start(Out()), EConvertError);
    EXPECT_FALSE(FRun.Running());
    EXPECT_FALSE(FJobs.Locked());
}

TEST_F(ConversionRunTest, AJobWhoseFileCannotBeOpenedIsLeftOut)
{
    AddJobs(3);
    FEncoder.FailAddTaskFile = "/in/clip1.avi";
    ASSERT_TRUE(FRun.Start(Out()));
    EXPECT_EQ(FReports, std::vector<std::string>{"CLM_FFAddTaskToMeged: engine says no"});
    const std::vector<std::string> calls = {"ClearTasks",
                                            "AddTask /in/clip0.avi",
                                            "SetOutputFile 0 " + Partial(Out(), "clip0.mp4"),
                                            "AddTask /in/clip1.avi",
                                            "AddTask /in/clip2.avi",
                                            "SetOutputFile 1 " + Partial(Out(), "clip2.mp4"),
                                            "Start"};
    EXPECT_EQ(FEncoder.Calls, calls);
    FEncoder.OnProgress({1, 10, 100});
    EXPECT_EQ(FView.Label, "Converting \"clip2.avi\" to \"clip2.mp4\"");
    EndTask(0);
    EndTask(1);
    EndRun();
    // Both tasks converted, but one job did not: no success, no folder.
    EXPECT_FALSE(FRun.Succeeded());
    EXPECT_EQ(LogTexts(), std::vector<std::string>{"Started Conversion"});
    EXPECT_EQ(FDesktop, std::vector<std::string>{"StopPreview"});
}

// An output never replaces a file: a name another output of the batch has, a file the run reads, a file that is
// there (an earlier run's output, an earlier "Joined") is numbered as snapshots are.
TEST_F(ConversionRunTest, NoOutputIsWrittenOverAnotherOrOverASource)
{
    AddJobs(4);
    FJobs.Job(2).DestinationTitle = "clip0";  // same format as job 0
    FJobs.Job(1).Source = Out() + "/../out/clip1.avi";  // job 1 writes ".avi" into the folder it reads from
    FJobs.Job(3).DestinationTitle = "earlier";
    std::ofstream(Out() + "/earlier.avi") << "an earlier run's output";
    std::ofstream(Out() + "/earlier_1.avi") << "and another";
    ASSERT_TRUE(FRun.Start(Out()));
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_EQ(FEncoder.Calls, (std::vector<std::string>{"ClearTasks",
                                                        "AddTask /in/clip0.avi",
                                                        "SetOutputFile 0 " + Partial(Out(), "clip0.mp4"),
                                                        "AddTask " + Out() + "/../out/clip1.avi",
                                                        "SetOutputFile 1 " + Partial(Out(), "clip1_1.avi"),
                                                        "AddTask /in/clip2.avi",
                                                        "SetOutputFile 2 " + Partial(Out(), "clip0_1.mp4"),
                                                        "AddTask /in/clip3.avi",
                                                        "SetOutputFile 3 " + Partial(Out(), "earlier_2.avi"),
                                                        "Start"}));
    FEncoder.OnProgress({2, 10, 100});
    EXPECT_EQ(FView.Label, "Converting \"clip2.avi\" to \"clip0_1.mp4\"");
    // A file that took a final name while the run went on keeps it too.
    std::ofstream(Out() + "/clip0.mp4") << "made meanwhile";
    for (int task = 0; task < 4; ++task) EndTask(task);
    EndRun();
    EXPECT_TRUE(FRun.Succeeded());
    EXPECT_EQ(NamesIn(Out()), (std::vector<std::string>{"clip0.mp4", "clip0_1.mp4", "clip0_2.mp4", "clip1_1.avi",
                                                        "earlier.avi", "earlier_1.avi", "earlier_2.avi"}));
    std::ifstream kept(Out() + "/clip0.mp4");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "made meanwhile");

    // Merging twice: the second "Joined" does not replace the first; a source named "Joined" is not replaced either.
    FRun.Merge = true;
    FJobs.SetRow(2);
    FJobs.Job(0).Source = Out() + "/Joined_1.avi";
    std::ofstream(Out() + "/Joined.avi") << "the first merge";
    FEncoder.Calls.clear();
    ASSERT_TRUE(FRun.Start(Out()));
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_EQ(FEncoder.Calls[FEncoder.Calls.size() - 2], "SetOutputFile 0 " + Partial(Out(), "Joined_2.avi"));
}

TEST_F(ConversionRunTest, ProgressMovesBothGaugesAndNamesTheTask)
{
    AddJobs(2);
    ASSERT_TRUE(FRun.Start(Out()));
    FEncoder.OnProgress({0, 500, 1000});
    EXPECT_EQ(FView.Current, 50);
    EXPECT_EQ(FView.Total, 25);
    EXPECT_EQ(FView.Label, "Converting \"clip0.avi\" to \"clip0.mp4\"");
    FEncoder.OnProgress({1, 1000, 1000});
    EXPECT_EQ(FView.Total, 100);
    EXPECT_EQ(FView.Label, "Converting \"clip1.avi\" to \"clip1.avi\"");
    // No expected length, or a task outside the run: the gauges stay and nothing is read out of range.
    FEncoder.OnProgress({1, 10, 0});
    FEncoder.OnProgress({5, 10, 100});
    EXPECT_EQ(FView.Current, 100);
    EXPECT_EQ(FView.Total, 100);
}

TEST_F(ConversionRunTest, ASuccessfulRunIsLoggedAndItsFolderOpened)
{
    AddJobs(2);
    ASSERT_TRUE(FRun.Start(Out()));
    EXPECT_THROW(FJobs.ClearAll(), EInvalidOperation);  // the tasks read the jobs by index
    EXPECT_FALSE(FRun.Start(Out()));
    EndTask(0);
    EndTask(1);
    EXPECT_TRUE(FView.Shown);
    EndRun();
    EXPECT_FALSE(FView.Shown);
    EXPECT_TRUE(FRun.Succeeded());
    EXPECT_FALSE(FRun.Running());
    EXPECT_TRUE(FRun.InputOptionsList().empty());
    EXPECT_TRUE(FRun.OutputOptionsList().empty());
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"Started Conversion", "Conversion successfully done."}));
    EXPECT_EQ(FDesktop, (std::vector<std::string>{"StopPreview", "Open " + Out()}));
    // Finished outputs take their names.
    EXPECT_EQ(NamesIn(Out()), (std::vector<std::string>{"clip0.mp4", "clip1.avi"}));
    FJobs.ClearAll();
    EXPECT_EQ(FJobs.Count(), 0);
}

TEST_F(ConversionRunTest, AFailedTaskIsReportedAndTheRunIsNoSuccess)
{
    AddJobs(2);
    ASSERT_TRUE(FRun.Start(Out()));
    EndTask(0, false, "Could not write header");
    EXPECT_EQ(FReports, std::vector<std::string>{"CLM_Terminate: Conversion terminated with error: Could not write header"});
    // The dialog stays while the other task converts, so its progress still shows and the list stays locked.
    EXPECT_TRUE(FView.Shown);
    EXPECT_TRUE(FJobs.Locked());
    FEncoder.OnProgress({1, 300, 1000});
    EXPECT_EQ(FView.Total, 65);
    EndTask(1);
    EndRun();
    EXPECT_FALSE(FView.Shown);
    EXPECT_FALSE(FRun.Succeeded());
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"Started Conversion", "Could not write header"}));
    EXPECT_EQ(FDesktop, std::vector<std::string>{"StopPreview"});
    // The failed task's output is gone; the finished one keeps its.
    EXPECT_EQ(NamesIn(Out()), std::vector<std::string>{"clip1.avi"});
}

TEST_F(ConversionRunTest, CancelStopsAndLogsNoSuccess)
{
    AddJobs(2);
    ASSERT_TRUE(FRun.Start(Out()));
    FView.Shutdown = true;
    FRun.CancelButtonClick();
    EXPECT_EQ(FEncoder.Calls.back(), "Stop");
    EXPECT_FALSE(FView.Shown);
    EndTask(0, false);
    EndTask(1, false);
    EndRun();
    EXPECT_FALSE(FRun.Succeeded());
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"Started Conversion", "Conversion cancelled by user."}));
    // The user is there to cancel: no folder opened, no shut-down, and no unfinished output left.
    EXPECT_EQ(FDesktop, std::vector<std::string>{"StopPreview"});
    EXPECT_EQ(NamesIn(Out()), std::vector<std::string>{});
}

TEST_F(ConversionRunTest, ShutDownChosenWritesSettingsInsteadOfTheSuccessLine)
{
    AddJobs(1);
    FView.Shutdown = true;
    FShutDownFails = true;
    ASSERT_TRUE(FRun.Start(Out()));
    EndTask(0);
    EndRun();
    EXPECT_EQ(FDesktop, (std::vector<std::string>{"StopPreview", "SaveSettings", "ShutDown"}));
    EXPECT_EQ(LogTexts(), std::vector<std::string>{"Started Conversion"});
    EXPECT_EQ(FReports, std::vector<std::string>{"CLM_Shut: Error trying shut down the Windows"});
    EXPECT_FALSE(FView.Shown);
}

TEST_F(ConversionRunTest, PauseAndResumeAlternateAndANewRunStartsUnpaused)
{
    AddJobs(1);
    FRun.PauseButtonClick();  // no run: nothing to pause
    ASSERT_TRUE(FRun.Start(Out()));
    FRun.PauseButtonClick();
    EXPECT_EQ(FView.PauseCaption, "Resume");
    FRun.PauseButtonClick();
    EXPECT_EQ(FView.PauseCaption, "Pause");
    FRun.PauseButtonClick();
    EXPECT_EQ(FView.PauseCaption, "Resume");
    FRun.CancelButtonClick();
    EndRun();
    const std::vector<std::string> tail(FEncoder.Calls.end() - 4, FEncoder.Calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Pause", "Resume", "Pause", "Stop"}));

    ASSERT_TRUE(FRun.Start(Out()));
    EXPECT_EQ(FView.PauseCaption, "Pause");
}

}  // namespace
