#pragma once
// What a conversion run needs of the encoder: building the task list, run control, and its two events. The
// application drives the media engine's encoder through this (conversion_ffencoder.h); tests drive a double.
#include <functional>
#include <string>

#include "app/conversion_progress.h"
#include "media/transcode/option_records.h"

// The end of one task (TaskIndex >= 0) or of the whole run (TaskIndex -1, Finished, no exception).
struct TConversionTaskEnd {
    int TaskIndex = -1;
    bool Finished = false;
    bool Exception = false;
    std::string ExceptionMsg;
};

class TConversionEncoder {
public:
    virtual ~TConversionEncoder() = default;

    // Raises while a run has not yet ended ("Cannot ClearTasks while working.").
    virtual void ClearTasks() = 0;
    // The records must stay alive until the run has ended. AddTask answers the new task's index or a negative
    // number; the others answer success. Failures leave their reason in LastErrMsg.
    virtual int AddTask(const std::string& AFileName, TInputOptions* AOptions) = 0;
    virtual bool AddInputFile(int ATaskIndex, const std::string& AFileName, TInputOptions* AOptions) = 0;
    virtual bool SetOutputFile(int ATaskIndex, const std::string& AFileName, TOutputOptions* AOptions) = 0;
    virtual int TasksCount() const = 0;
    virtual std::string LastErrMsg() const = 0;

    // Runs the tasks one after another on worker threads and returns at once.
    virtual void Start() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Stops every task and waits until they have stopped, running the calls handed to the user-interface thread
    // meanwhile. The final event still follows.
    virtual void Stop() = 0;

    // Both are called on the user-interface thread; a worker that reports waits until the handler has run.
    std::function<void(const TConversionProgress&)> OnProgress;
    std::function<void(const TConversionTaskEnd&)> OnTerminate;
};
