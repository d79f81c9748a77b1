#include "app/conversion_run.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "app/conversion_options.h"
#include "app/partial_files.h"
#include "app/time_text.h"
#include "platform/rtl/folders.h"
#include "platform/rtl/sysutils.h"

std::string DefaultFallbackFolder() { return GetHomeFolder() + "/Brindlewave_temp"; }

namespace {

// Two names of one file, also through "..", links, a missing trailing part or another mount of the same folder
// (a bind mount, a share mounted twice): files that are there are compared by device and inode, a name not there
// yet by its folder's device and inode and its own name.
bool SameFile(const std::string& A, const std::string& B)
{
    std::error_code error;
    if (std::filesystem::equivalent(A, B, error) && !error) return true;
    const std::filesystem::path pa(A), pb(B);
    if (pa.has_filename() && pa.filename() == pb.filename() &&
        std::filesystem::equivalent(pa.parent_path().empty() ? "." : pa.parent_path(),
                                    pb.parent_path().empty() ? "." : pb.parent_path(), error) &&
        !error)
        return true;
    const std::filesystem::path a = std::filesystem::weakly_canonical(A, error);
    if (error) return A == B;
    const std::filesystem::path b = std::filesystem::weakly_canonical(B, error);
    if (error) return A == B;
    return a == b;
}

// The longest file name in a folder, in bytes.
size_t NameMax(const std::string& AFolder)
{
    const long limit = pathconf(AFolder.empty() ? "." : AFolder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<size_t>(limit) : 255;
}

// At most ABytes of AText, ending on a character boundary of its UTF-8 (bytes that are not UTF-8 count one each).
std::string ShortenUtf8(const std::string& AText, size_t ABytes)
{
    if (AText.size() <= ABytes) return AText;
    size_t end = ABytes;
    while (end > 0 && (static_cast<unsigned char>(AText[end]) & 0xC0) == 0x80 && ABytes - end < 3) --end;
    return AText.substr(0, end);
}

}  // namespace

TConversion::TConversion(TConversionEncoder& AEncoder, TJobList& AJobs, const TCatalogue& ACatalogue,
                         TEventsLog& AEventsLog, TConversionView& AView)
    : FEncoder(AEncoder), FJobs(AJobs), FCatalogue(ACatalogue), FEventsLog(AEventsLog), FView(AView)
{
    FEncoder.OnProgress = [this](const TConversionProgress& AProgress) { Progress(AProgress); };
    FEncoder.OnTerminate = [this](const TConversionTaskEnd& AEnd) { Terminate(AEnd); };
}

TConversion::~TConversion()
{
    if (!FRunning) DiscardUnsettledOutputs();
    FEncoder.OnProgress = nullptr;
    FEncoder.OnTerminate = nullptr;
}

bool TConversion::Start(const std::string& ADestinationFolder)
{
    if (FJobs.Count() == 0 || FRunning) return false;
    if (!ChooseOutputFolder(ADestinationFolder)) return false;
    // What a killed run of this program left in the folder; a conversion still running holds its files.
    RemoveStalePartialFiles(FOutputFolder);
    if (Desktop.StopPreview) Desktop.StopPreview();
    bool built = false;
    try {
        built = BuildTasks();
    } catch (...) {
        DiscardUnsettledOutputs();
        throw;
    }
    if (!built) {
        DiscardUnsettledOutputs();
        return false;
    }

    FEventsLog.Add("Started Conversion");
    FRunning = true;
    FCancelled = false;
    FAllFinished = FSkippedJobs == 0;
    FSucceeded = false;
    // Tasks read the jobs by index until the final event.
    FJobs.SetLocked(true);
    try {
        FEncoder.Start();
    } catch (...) {
        FRunning = false;
        FJobs.SetLocked(false);
        DiscardUnsettledOutputs();
        throw;
    }

    FView.SetGauges(0, 0);
    FView.SetLabel("Converting...");
    // A run cancelled while paused would otherwise start the next one showing "Resume".
    FPauseCaption = "Pause";
    FView.SetPauseCaption(FPauseCaption);
    FView.ShowRun();
    return true;
}

bool TConversion::ChooseOutputFolder(const std::string& ADestinationFolder)
{
    FOutputFolder = ADestinationFolder;
    if (DirectoryExists(FOutputFolder)) return true;
    Desktop.ShowWarning("Output folder does not exit. Converting to \"" + FallbackFolder + "\".");
    if (DirectoryExists(FallbackFolder) || CreateDir(FallbackFolder)) {
        FOutputFolder = FallbackFolder;
        return true;
    }
    Desktop.ShowWarning("Could not create temporary directory. Please choose another output folder.");
    return false;
}

bool TConversion::Merging() const { return Merge && FJobs.Count() >= 2; }

const TFormat& TConversion::FormatOf(const TVideoFile& AJob) const
{
    // A job's preset pair may name nothing in this catalogue (an empty or changed one): refuse before anything runs.
    const TFormat* format = FCatalogue.FindFormat({AJob.ProfileInd, AJob.FormatInd});
    if (format == nullptr) throw Exception("\"" + AJob.SourceTitleExt + "\" has no output format. Choose a format for it.");
    return *format;
}

// Steps stop at the first failure, which has been reported; tasks added so far stay until the next Start.
bool TConversion::BuildTasks()
{
    FEncoder.ClearTasks();
    const int count = FJobs.Count();
    // Sized once: the encoder holds pointers into both lists.
    FInputOptions.assign(count, TInputOptions{});
    FOutputOptions.assign(count, TOutputOptions{});
    FLabels.clear();
    FOutputFiles.clear();
    DiscardUnsettledOutputs();
    FSkippedJobs = 0;
    const bool merging = Merging();
    const TVideoFile* selected = merging ? &FJobs.Jobs()[FJobs.Row() - 1] : nullptr;
    for (int i = 0; i < count; ++i) {
        const TVideoFile& job = FJobs.Jobs()[i];
        const TFormat& format = FormatOf(job);
        const std::string output =
            merging ? std::string() : OutputNameFor(JobOutputFileName(FOutputFolder, job, format));
        if (!merging && !CheckTrimRange(job)) return false;
        try {
            FillJobOptions(job, format, output, !merging, FInputOptions[i], FOutputOptions[i]);
            // Every input of a joined file is brought to the joined frame and aspect on its own, from its own
            // size and edits: the selected job's chain fits the selected job's pictures only.
            if (merging)
                FInputOptions[i].VideoFilters = JoinedInputFilters(job, FormatOf(*selected), selected->AspectRatio);
        } catch (const EConversionGeometry& E) {
            Report(E.Message(), "CLM_SetCropFilters");
            return false;
        }
        if (merging ? !AddMergedInput(i) : !AddJobTask(i, output)) return false;
    }
    if (merging) return SetJoinedOutput();
    return FEncoder.TasksCount() > 0;
}

bool TConversion::AddJobTask(int AIndex, const std::string& AOutputFileName)
{
    const TVideoFile& job = FJobs.Jobs()[AIndex];
    if (const std::string clash = OutputClash(AOutputFileName); !clash.empty()) {
        Report("Cannot set output file: " + clash + "\r\nPlease choose other output folder or rename output file.",
               "CLM_SetOutputFile");
        return false;
    }
    const int task = FEncoder.AddTask(job.Source, &FInputOptions[AIndex]);
    std::string partial;
    if (task >= 0) {
        FTaskOutputs.resize(std::max<size_t>(FTaskOutputs.size(), task + 1));
        FTaskOutputs[task] = NewPartialFile(AOutputFileName);
        partial = FTaskOutputs[task].Partial;
    }
    if (task < 0) {
        // A file that vanished or cannot be read costs its own job only; the others still convert, and the run
        // does not count as a success.
        Report(FEncoder.LastErrMsg(), "CLM_FFAddTaskToMeged");
        ++FSkippedJobs;
        return true;
    }
    if (!FEncoder.SetOutputFile(task, partial, &FOutputOptions[AIndex])) {
        // The user knows the output's name, not the temporary one it is written under.
        Report("Cannot set output file: " + StringReplace(FEncoder.LastErrMsg(), partial, AOutputFileName,
                                                          TReplaceFlags{rfReplaceAll}) +
                   "\r\nPlease choose other output folder or rename output file.",
               "CLM_SetOutputFile");
        return false;
    }
    FOutputFiles.push_back(AOutputFileName);
    FLabels.push_back(ConvertingLabel(job.SourceTitleExt, ExtractFileName(AOutputFileName)));
    return true;
}

// A range that starts past the end converts nothing; the encoder would report success with an empty file.
bool TConversion::CheckTrimRange(const TVideoFile& AJob)
{
    if (AJob.SourceDuration <= 0 || AJob.TimeStart < AJob.SourceDuration) return true;
    Desktop.ShowWarning("The trim range of \"" + AJob.SourceTitleExt + "\" starts at " +
                        FormatMicroseconds(AJob.TimeStart) + ", after the end of the file (" +
                        FormatMicroseconds(AJob.SourceDuration) + "). Choose a start within the file.");
    return false;
}

// A hidden file beside the output, made here under a name no file had, with the output's extension (the
// container is chosen by it). When it cannot be made (a read-only folder), the name alone: opening the output
// then tells why.
TConversion::TTaskOutput TConversion::NewPartialFile(const std::string& AOutputFileName)
{
    const std::filesystem::path output(AOutputFileName);
    const std::string stem = output.stem().string(), ext = output.extension().string();
    const size_t name_max = NameMax(output.parent_path().string());
    for (int n = 0;; ++n) {
        const std::string tail = ".partial" + (n == 0 ? std::string() : std::to_string(n)) + ext;
        // An output name near the file system's limit still gets a partial name within it: the stem is shortened
        // (never within a character) as far as the dot and the tail need.
        const size_t room = name_max > tail.size() + 1 ? name_max - tail.size() - 1 : 0;
        const std::string name = "." + ShortenUtf8(stem, room) + tail;
        const std::string candidate = (output.parent_path() / name).string();
        if (std::find_if(FTaskOutputs.begin(), FTaskOutputs.end(),
                         [&](const TTaskOutput& A) { return A.Partial == candidate; }) != FTaskOutputs.end())
            continue;
        const int lock = CreatePartialFile(candidate);
        if (lock >= 0 || errno != EEXIST) return {candidate, AOutputFileName, lock};
    }
}

// A finished task's output replaces the final name in one step; any other end removes what it wrote.
void TConversion::SettleOutput(int ATaskIndex, bool AKeep)
{
    if (ATaskIndex < 0 || ATaskIndex >= static_cast<int>(FTaskOutputs.size())) return;
    TTaskOutput& output = FTaskOutputs[ATaskIndex];
    if (output.Partial.empty()) return;
    ClosePartialFile(output.Lock);
    std::error_code error;
    if (AKeep) {
        // The final name was free when the run started; a file that took it since is not replaced either: the
        // output takes the next free number.
        std::string final = output.Final;
        for (int attempt = 0;; ++attempt) {
            if (RenameFile(output.Partial, final)) break;
            const int reason = errno;
            std::error_code ignored;
            if (attempt < 100 && std::filesystem::exists(std::filesystem::symlink_status(final, ignored))) {
                final = FreeOutputName(output.Final);
                continue;
            }
            error = std::error_code(reason, std::generic_category());
            FAllFinished = false;
            Report("Cannot set output file: " + error.message() + " (\"" + final + "\")", "CLM_SetOutputFile");
            break;
        }
    }
    if (!AKeep || error) std::filesystem::remove(output.Partial, error);
    output = {};
}

// Tasks that never ended on their own (a cancelled run, a Start that stopped half way) leave no file behind.
void TConversion::DiscardUnsettledOutputs()
{
    for (int i = 0; i < static_cast<int>(FTaskOutputs.size()); ++i) SettleOutput(i, false);
    FTaskOutputs.clear();
}

// An output never replaces a file: not one that is there, not a file the run reads, not another output of the
// run. A taken name is numbered as snapshots are: "name_1.mp4", "name_2.mp4", and so on.
std::string TConversion::FreeOutputName(const std::string& AOutputFileName) const
{
    const auto taken = [this](const std::string& AName) {
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(AName, error))) return true;
        for (const TVideoFile& job : FJobs.Jobs())
            if (SameFile(job.Source, AName)) return true;
        for (const std::string& output : FOutputFiles)
            if (SameFile(output, AName)) return true;
        for (const TTaskOutput& output : FTaskOutputs)
            if (!output.Final.empty() && SameFile(output.Final, AName)) return true;
        return false;
    };
    if (!taken(AOutputFileName)) return AOutputFileName;
    const std::filesystem::path output(AOutputFileName);
    const std::string stem = (output.parent_path() / output.stem()).string(), ext = output.extension().string();
    for (int n = 1;; ++n)
        if (const std::string name = stem + "_" + std::to_string(n) + ext; !taken(name)) return name;
}

// An entry of the output's name that is not a regular file (a device, a pipe, a folder, a link) is refused rather
// than numbered: it is not an earlier output, and the user should see it. Answers why, or nothing.
std::string TConversion::OutputClash(const std::string& AOutputFileName) const
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(AOutputFileName, error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return "\"" + AOutputFileName + "\" exists and is not a regular file.";
    return {};
}

// The name an output is given: the one asked for when it is refused (the refusal is reported), else the first
// free one.
std::string TConversion::OutputNameFor(const std::string& AOutputFileName) const
{
    return OutputClash(AOutputFileName).empty() ? FreeOutputName(AOutputFileName) : AOutputFileName;
}

bool TConversion::AddMergedInput(int AIndex)
{
    const TVideoFile& job = FJobs.Jobs()[AIndex];
    if (AIndex == 0) {
        if (FEncoder.AddTask(job.Source, &FInputOptions[0]) < 0) {
            Report(FEncoder.LastErrMsg(), "CLM_FFAddTaskToMerged");
            return false;
        }
    } else if (!FEncoder.AddInputFile(0, job.Source, &FInputOptions[AIndex])) {
        Report(FEncoder.LastErrMsg(), "CLM_FFAddInputFileToMerged");
        return false;
    }
    return true;
}

// The joined file takes the selected job's preset; each input brings its pictures to it with a chain of its own.
bool TConversion::SetJoinedOutput()
{
    const int selected = FJobs.Row() - 1;
    TOutputOptions& options = FOutputOptions[selected];
    options.Join = true;
    const std::string output = OutputNameFor(JoinedOutputFileName(FOutputFolder, FormatOf(FJobs.Jobs()[selected])));
    options.FileName = output;
    if (const std::string clash = OutputClash(output); !clash.empty()) {
        Report("Cannot set output file (merged): " + clash, "CLM_SetOutputFileMerge");
        return false;
    }
    FTaskOutputs.resize(std::max<size_t>(FTaskOutputs.size(), 1));
    FTaskOutputs[0] = NewPartialFile(output);
    if (!FEncoder.SetOutputFile(0, FTaskOutputs[0].Partial, &options)) {
        Report("Cannot set output file (merged): " +
                   StringReplace(FEncoder.LastErrMsg(), FTaskOutputs[0].Partial, output, TReplaceFlags{rfReplaceAll}),
               "CLM_SetOutputFileMerge");
        return false;
    }
    // The one task writes the joined file, whichever job it is reading.
    FLabels.push_back(ConvertingLabel(FJobs.Jobs()[0].SourceTitleExt, ExtractFileName(output)));
    return true;
}

void TConversion::PauseButtonClick()
{
    if (!FRunning) return;
    if (FPauseCaption == "Pause") {
        FEncoder.Pause();
        FPauseCaption = "Resume";
    } else {
        FEncoder.Resume();
        FPauseCaption = "Pause";
    }
    FView.SetPauseCaption(FPauseCaption);
}

void TConversion::CancelButtonClick()
{
    if (!FRunning) return;
    // Known before the stop, since the final event may be handled while Stop waits.
    FCancelled = true;
    FEncoder.Stop();
    FEventsLog.Add("Conversion cancelled by user.");
    FView.CloseRun();
}

void TConversion::EndBeforeExit()
{
    if (!FRunning) return;
    CancelButtonClick();
    if (FRunning) FinishRun();
}

void TConversion::Progress(const TConversionProgress& AProgress)
{
    if (!FRunning) return;
    if (AProgress.TaskIndex >= 0 && AProgress.TaskIndex < static_cast<int>(FLabels.size()))
        FView.SetLabel(FLabels[AProgress.TaskIndex]);
    if (const auto gauges = GaugeValues(AProgress, FEncoder.TasksCount()))
        FView.SetGauges(gauges->Total, gauges->Current);
}

void TConversion::Terminate(const TConversionTaskEnd& AEnd)
{
    if (AEnd.TaskIndex < 0) {
        if (AEnd.Finished && FRunning) FinishRun();
        return;
    }
    if (!AEnd.Finished || AEnd.Exception) FAllFinished = false;
    SettleOutput(AEnd.TaskIndex, AEnd.Finished && !AEnd.Exception && !FCancelled);
    if (AEnd.Exception) {
        // The dialog stays until the final event: the other tasks still run, and the job list stays locked.
        Report("Conversion terminated with error: " + AEnd.ExceptionMsg, "CLM_Terminate");
        FEventsLog.Add(AEnd.ExceptionMsg);
    }
}

// A run that was cancelled or lost a task is not written down as a success, nor is its folder opened as if the
// files were there; a cancelled run does not shut the computer down either, as the user is there to cancel it.
void TConversion::FinishRun()
{
    FInputOptions.clear();
    FOutputOptions.clear();
    DiscardUnsettledOutputs();
    FRunning = false;
    FJobs.SetLocked(false);
    FSucceeded = FAllFinished && !FCancelled;
    const bool shut_down = FView.ShutdownChosen() && !FCancelled;
    if (shut_down) {
        Desktop.SaveSettings();
        ShutDownComputer();
    } else if (FSucceeded) {
        FEventsLog.Add("Conversion successfully done.");
    }
    FView.CloseRun();
    if (FSucceeded && FView.OpenOutputChosen() && !FView.ShutdownChosen()) Desktop.OpenFolder(FOutputFolder);
}

void TConversion::ShutDownComputer()
{
    try {
        Desktop.ShutDown();
    } catch (const std::exception&) {
        Report("Error trying shut down the Windows", "CLM_Shut");
    }
}

void TConversion::Report(const std::string& AText, const std::string& AMark)
{
    if (OnReportError) OnReportError(AText, AMark);
}
