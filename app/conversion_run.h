#pragma once
// One conversion run from the Start command to its final event: the output folder, the option records and
// encoder tasks of every job (one task per job, or one task reading every job when merging), the progress the
// "Conversion" dialog shows, pause, resume and cancel, and what the end of the run writes, closes and opens.
// The dialog and the desktop's services are reached through the interfaces below, so the rules run without a
// window. User-interface thread only: the encoder hands its events to that thread.
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/conversion_encoder.h"
#include "app/error_report_event.h"
#include "app/events_log.h"
#include "app/job_list.h"

// The "Conversion" dialog as a run sees it.
class TConversionView {
public:
    virtual ~TConversionView() = default;
    // Shows the dialog; the application shows it modally, so this returns when the run has closed it.
    virtual void ShowRun() = 0;
    // Closing a dialog that is not shown does nothing.
    virtual void CloseRun() = 0;
    virtual void SetGauges(int ATotal, int ACurrent) = 0;
    virtual void SetLabel(const std::string& AText) = 0;
    virtual void SetPauseCaption(const std::string& AText) = 0;
    // "Shut down computer when conversion completed" and "Open output folder when conversion completed".
    virtual bool ShutdownChosen() const = 0;
    virtual bool OpenOutputChosen() const = 0;
};

// The desktop around a run. Every member but StopPreview must be set before Start.
struct TConversionDesktop {
    std::function<void(const std::string& AText)> ShowWarning;  // a warning box with an OK button
    std::function<void()> StopPreview;                          // the main window's player, when it plays
    std::function<void(const std::string& AFolder)> OpenFolder;
    std::function<void()> SaveSettings;
    std::function<void()> ShutDown;  // raises Exception when the computer cannot be shut down
};

// "Brindlewave_temp" in the user's home folder: where a run converts when the chosen folder is missing.
std::string DefaultFallbackFolder();

class TConversion {
public:
    // Every reference must outlive the conversion. The encoder's two events are taken over here.
    TConversion(TConversionEncoder& AEncoder, TJobList& AJobs, const TCatalogue& ACatalogue, TEventsLog& AEventsLog,
                TConversionView& AView);
    ~TConversion();

    TReportErrorEvent OnReportError;
    TConversionDesktop Desktop;
    std::string FallbackFolder = DefaultFallbackFolder();
    bool Merge = false;  // "Merge into one file"

    // The Start command, with the text of the output box. Answers whether the encoder was started; a failure
    // has been reported or warned about, and nothing converts. A job whose file cannot be opened is reported and
    // left out, and the others still convert (but a merged file needs every part). An output never replaces a
    // file: a name that is taken (a file there, a file the run reads, also through a link or another mount of its
    // folder, another output of the run) is numbered as snapshots are ("name_1.mp4"); an entry of the output's
    // name that is not a regular file stops the Start. Refused while a run goes on.
    // A format value that should be a number and is not raises EConvertError. A trim range that starts at or
    // after the end of its file is refused with a warning; an end past the file's length converts to the end.
    // Every task writes under a temporary name in the output folder and its output takes its final name only
    // when the task finished; a cancelled or failed task leaves nothing. A task whose output holds no picture or
    // sound fails. Temporary files a killed run of this program left in the output folder are removed when a run
    // starts there.
    bool Start(const std::string& ADestinationFolder);
    void PauseButtonClick();
    void CancelButtonClick();
    // The program is about to end with a run going on (its main window closes): the run stops as Cancel stops it
    // and ends at once, as its final event would come too late; what its tasks wrote is removed.
    void EndBeforeExit();

    // From Start until the final event; the job list is locked meanwhile.
    bool Running() const { return FRunning; }
    // The last run ended with every task converted and was not cancelled.
    bool Succeeded() const { return FSucceeded; }
    const std::string& OutputFolder() const { return FOutputFolder; }
    const std::vector<TInputOptions>& InputOptionsList() const { return FInputOptions; }
    const std::vector<TOutputOptions>& OutputOptionsList() const { return FOutputOptions; }

private:
    bool ChooseOutputFolder(const std::string& ADestinationFolder);
    bool BuildTasks();
    bool AddJobTask(int AIndex, const std::string& AOutputFileName);
    bool CheckTrimRange(const TVideoFile& AJob);
    void SettleOutput(int ATaskIndex, bool AKeep);
    void DiscardUnsettledOutputs();
    bool AddMergedInput(int AIndex);
    bool SetJoinedOutput();
    const TFormat& FormatOf(const TVideoFile& AJob) const;
    bool Merging() const;
    std::string FreeOutputName(const std::string& AOutputFileName) const;
    std::string OutputClash(const std::string& AOutputFileName) const;
    std::string OutputNameFor(const std::string& AOutputFileName) const;
    void Progress(const TConversionProgress& AProgress);
    void Terminate(const TConversionTaskEnd& AEnd);
    void FinishRun();
    void ShutDownComputer();
    void Report(const std::string& AText, const std::string& AMark);

    TConversionEncoder& FEncoder;
    TJobList& FJobs;
    const TCatalogue& FCatalogue;
    TEventsLog& FEventsLog;
    TConversionView& FView;

    std::string FOutputFolder;
    // One record each per job, index for index; the encoder reads them until the run has ended.
    std::vector<TInputOptions> FInputOptions;
    std::vector<TOutputOptions> FOutputOptions;
    // The dialog's label for each task, fixed when the run starts.
    std::vector<std::string> FLabels;
    std::vector<std::string> FOutputFiles;  // of the tasks added so far
    // Per task: the temporary name it writes, the final name and the descriptor that holds the temporary file's
    // lock (-1: none); empty once settled.
    struct TTaskOutput {
        std::string Partial, Final;
        int Lock = -1;
    };
    TTaskOutput NewPartialFile(const std::string& AOutputFileName);
    std::vector<TTaskOutput> FTaskOutputs;
    std::string FPauseCaption = "Pause";
    int FSkippedJobs = 0;  // jobs whose file could not be opened when the run was built
    bool FRunning = false;
    bool FCancelled = false;
    bool FAllFinished = true;
    bool FSucceeded = false;
};
