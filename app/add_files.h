#pragma once
// Adding media files to the job list. Every file is probed through the decoder handed in (the encoder's own);
// a file the decoder cannot open is left out with the events-log lines and a message box, and the other files
// of the same choice or drop are still tried. User-interface thread only.
#include <functional>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/events_log.h"
#include "app/job_list.h"
#include "app/video_file.h"
#include "media/decode/custom_decoder.h"

// What a new job needs of the file open in the decoder: its length (0 when the file does not tell) and its
// streams up to and including the first video stream, which is all a job looks at. The decoder already knows
// where that stream is; asking it stream by stream would log an error for every stream of another kind.
TProbedFile ProbeOpenFile(TCustomDecoder& ADecoder);

class TFileAdder {
public:
    // Every reference must outlive the adder. New jobs take the catalogue's current pair.
    TFileAdder(TJobList& AJobs, TCustomDecoder& ADecoder, TEventsLog& AEventsLog, const TCatalogue& ACatalogue);

    // Shows an information box with an OK button.
    std::function<void(const std::string& AText)> ShowMessage;

    // Probes the file and appends its job; false (after the log lines and the message) when the decoder cannot
    // open it, also when the media libraries are not loaded.
    bool AddMediaFile(const std::string& APath);
    // The files chosen in the add-files dialog, in the dialog's order; then the last job is selected.
    // Answers how many were added.
    int AddChosenFiles(const std::vector<std::string>& APaths);
    // Dropped files, in the order of the drop; the selected row stays. Answers how many were added.
    int AddDroppedFiles(const std::vector<std::string>& APaths);

private:
    int AddEach(const std::vector<std::string>& APaths);
    bool ProbeAndAppend(const std::string& APath, std::string& AError);

    TJobList& FJobs;
    TCustomDecoder& FDecoder;
    TEventsLog& FEventsLog;
    const TCatalogue& FCatalogue;
};
