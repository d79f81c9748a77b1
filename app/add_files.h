#pragma once
// Adding media files to the job list. A file the decoder cannot open is left out with the events-log lines and a
// message box, and the other files of the same choice or drop are still tried. The files of a choice or a drop
// are probed several at a time on worker threads while the user-interface thread keeps handling its messages;
// their jobs, log lines and messages still come one file at a time, in the order of the choice or the drop.
// User-interface thread only.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/events_log.h"
#include "app/job_list.h"
#include "app/media_probe.h"
#include "app/video_file.h"
#include "media/decode/custom_decoder.h"

class TProbePool;

class TFileAdder {
public:
    // Every reference must outlive the adder. New jobs take the catalogue's current pair.
    TFileAdder(TJobList& AJobs, TCustomDecoder& ADecoder, TEventsLog& AEventsLog, const TCatalogue& ACatalogue);
    ~TFileAdder();

    // Shows an information box with an OK button.
    std::function<void(const std::string& AText)> ShowMessage;
    // One step of waiting for the next probed file: handle one message of the window's loop, or wait for one
    // (a finished probe wakes the loop). Answers false when the program is closing: the add then stops, and the
    // files not taken yet are dropped. Empty: the wait runs only the calls worker threads hand over.
    std::function<bool()> WaitStep;
    // Looked at before each file is taken, also when its probe is already done: true stops the add as above
    // (the program closed while a message box was up). Empty: never.
    std::function<bool()> Stopped;

    // Probes the file through the decoder handed in and appends its job; false (after the log lines and the
    // message) when the decoder cannot open it, also when the media libraries are not loaded.
    bool AddMediaFile(const std::string& APath);
    // The files chosen in the add-files dialog, in the dialog's order; then the last job is selected and AThen
    // runs. Answers how many were added.
    int AddChosenFiles(const std::vector<std::string>& APaths, std::function<void()> AThen = {});
    // Dropped files, in the order of the drop; the selected row stays; then AThen runs. Answers how many were
    // added.
    int AddDroppedFiles(const std::vector<std::string>& APaths, std::function<void()> AThen = {});
    // While files are being added, a further choice or drop (made meanwhile through the window) is queued behind
    // them: its call answers -1 at once, and its files, selection and AThen follow in turn.
    bool Adding() const { return FPool != nullptr; }
    // Runs AThen once the files being added (and any queued behind them) are in the list; at once when no add
    // runs. Dropped, like the files not taken, when the add stops because the program closes.
    void AfterAdding(std::function<void()> AThen);

private:
    struct TBatch {
        std::vector<std::string> Paths;
        bool SelectLast = false;
        std::function<void()> Then;
    };
    int Add(TBatch ABatch);
    // Waits until the file's probe is done; false when the program is closing.
    bool WaitForProbe(size_t AIndex, TProbeResult& AResult);
    bool TakeResult(const std::string& APath, const TProbeResult& AResult);

    TJobList& FJobs;
    TCustomDecoder& FDecoder;
    TEventsLog& FEventsLog;
    const TCatalogue& FCatalogue;
    TProbePool* FPool = nullptr;
    std::deque<TBatch> FBatches;
};
