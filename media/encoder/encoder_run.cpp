// Running the encoder's task list: start, pause, resume and stop, and the events the tasks report through it.
#include "media/encoder/encoder.h"
#include "media/encoder/terminate_delivery.h"
#include "media/util/media_utils.h"
#include "platform/rtl/main_thread_queue.h"

namespace {

// Counts a handler running on the main thread for as long as it runs.
struct TMainThreadHandler {
    explicit TMainThreadHandler(std::atomic<int>& ACount) : Count(ACount) { ++Count; }
    ~TMainThreadHandler() { --Count; }
    std::atomic<int>& Count;
};

}  // namespace

void TCustomEncoder::Start(int AThreadCount)
{
    CheckNotWorking("StartTask");
    {
        std::lock_guard guard(FTerminateLock);
        FCompleteTasks = 0;
        FCurrentTask = 0;
        FPendingTasks = FFFmpegList.Count();
        FTaskStates.assign(static_cast<size_t>(FPendingTasks), TTaskState::tsWaiting);
        FTerminated = false;
        FFinalQueued = false;
        FThreadMode = AThreadCount > 0;
        FWorking = true;
        FPaused = false;
        // Nothing to run is a run that has ended: it gets its final event, and the list can be cleared again.
        if (FPendingTasks == 0) QueueFinalEvent();
        for (int left = AThreadCount; FThreadMode && FPendingTasks > 0 && left > 0; --left) StartNextTask();
    }
    if (FThreadMode) return;
    for (;;) {
        TEncoderTask* task;
        {
            std::lock_guard guard(FTerminateLock);
            task = StartNextTask();
        }
        if (task == nullptr) break;
        task->StartConvert(false, FThreadPriority);
        FDelivery->DeliverHere();
    }
    // Tasks a stop ended before they ran report from another thread; their events are still delivered here.
    // The final handler may have cleared the list already.
    WaitForWithSlices([this] {
        FDelivery->DeliverHere();
        return !FWorking || (FFinalQueued && FDelivery->Idle());
    });
}

TEncoderTask* TCustomEncoder::StartNextTask()
{
    if (FPendingTasks <= 0) return nullptr;
    --FPendingTasks;
    const int index = FCurrentTask++;
    TEncoderTask* task = FFFmpegList.Items(index);
    FTaskStates[static_cast<size_t>(index)] = TTaskState::tsStarted;
    task->ReportInterval = int64_t{FProgressInterval} * 1000;
    if (!FThreadMode) return task;
    // A task that cannot start reports its end inside this call, which starts the following one.
    TThread* worker = task->StartConvert(true, FThreadPriority);
    if (worker != nullptr) {
        worker->SetFreeOnTerminate(false);
        task->FWorker.reset(worker);
        // A task started while the others are held is held too.
        if (FPaused) task->Pause();
        worker->Resume();
    }
    return nullptr;
}

void TCustomEncoder::Pause()
{
    std::lock_guard guard(FTerminateLock);
    if (!FWorking || FPaused) return;
    FFFmpegList.PauseAll();
    FPaused = true;
}

void TCustomEncoder::Resume()
{
    std::lock_guard guard(FTerminateLock);
    if (!FWorking || !FPaused) return;
    FFFmpegList.ResumeAll();
    FPaused = false;
}

void TCustomEncoder::Stop(bool AWaitForStop)
{
    // Who is running and who never will is decided in one step under the lock that starts tasks, so no task
    // is both started and reported as never started. The stopping itself waits outside it: an ending task
    // needs the lock to report.
    struct TStopOrder {
        TEncoderTask* Task;
        bool Running;
        bool Wait;
    };
    std::vector<TStopOrder> orders;
    {
        std::lock_guard guard(FTerminateLock);
        FPendingTasks = 0;
        if (!FWorking) return;
        for (size_t i = 0; i < FTaskStates.size(); ++i) {
            TEncoderTask* task = FFFmpegList.Items(static_cast<int>(i));
            switch (FTaskStates[i]) {
            case TTaskState::tsStarted: {
                task->FStopRequested = true;
                // A handler that stops the run cannot wait for the task that waits for it: one on the task's
                // own thread, or one the task handed to the main thread.
                const DWORD thread = win::GetCurrentThreadId();
                const bool own_thread = task->FWorker && task->FWorker->ThreadID() == thread;
                const bool in_handler = thread == MainThreadID && FMainThreadHandlers > 0;
                orders.push_back({task, true, AWaitForStop && !own_thread && !in_handler});
                break;
            }
            case TTaskState::tsWaiting:
                FTaskStates[i] = TTaskState::tsStopping;
                orders.push_back({task, false, AWaitForStop});
                break;
            default:
                break;
            }
        }
    }
    for (const TStopOrder& order : orders) {
        if (order.Running)
            order.Task->Stop(order.Wait);
        else
            order.Task->StopTask(order.Wait);
    }
}

void TCustomEncoder::DoProgress(TEncoderTask* ATask, int AFileIndex, int AFrameNumber, int AFPS, float AQuality,
                                float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration,
                                int64_t ATotalDuration)
{
    if (!OnProgress) return;
    std::lock_guard guard(FProgressLock);
    FProgressInfo.TaskIndex = GetTaskIndex(ATask);
    FProgressInfo.FileIndex = AFileIndex;
    FProgressInfo.FrameNumber = AFrameNumber;
    FProgressInfo.FPS = AFPS;
    FProgressInfo.Quality = AQuality;
    FProgressInfo.BitRate = ABitRate;
    FProgressInfo.CurrentSize = ACurrentSize;
    FProgressInfo.CurrentDuration = ACurrentDuration;
    FProgressInfo.TotalDuration = ATotalDuration;
    if (FTriggerEventInMainThread)
        CallInMainThread([this] {
            const TMainThreadHandler handler(FMainThreadHandlers);
            if (OnProgress) OnProgress(this, &FProgressInfo);
        });
    else
        OnProgress(this, &FProgressInfo);
}

void TCustomEncoder::DoTerminate(TEncoderTask* ATask)
{
    std::lock_guard guard(FTerminateLock);
    if (ATask == nullptr) {
        QueueFinalEvent();
        return;
    }
    const int index = GetTaskIndex(ATask);
    // A task reports once; anything else (a task outside the run) is not the run's business.
    if (index < 0 || static_cast<size_t>(index) >= FTaskStates.size() ||
        FTaskStates[static_cast<size_t>(index)] == TTaskState::tsEnded)
        return;
    FTaskStates[static_cast<size_t>(index)] = TTaskState::tsEnded;
    ATask->DetachDecoders();
    TTerminateInfo info;
    info.TaskIndex = index;
    info.Finished = ATask->Finished();
    info.Exception = ATask->FatalException();
    info.ExceptionMsg = ATask->FatalMessage();
    FDelivery->Post(info, FThreadMode || !FWorking);
    ++FCompleteTasks;
    if (FPendingTasks > 0) {
        if (FThreadMode) StartNextTask();
    } else if (FCompleteTasks >= FFFmpegList.Count()) {
        QueueFinalEvent();
    }
}

void TCustomEncoder::QueueFinalEvent()
{
    if (FFinalQueued) return;
    FFinalQueued = true;
    TTerminateInfo info;
    info.TaskIndex = -1;
    info.Finished = true;
    FDelivery->Post(info, FThreadMode || !FWorking);
}

void TCustomEncoder::DeliverTerminateInfo(const TTerminateInfo& AInfo)
{
    // The run has ended once its final event is being raised: the handler may clear the list.
    if (AInfo.TaskIndex < 0) FTerminated = true;
    // The delivery raises one event at a time, so the record needs no lock; FTerminateLock must stay free while
    // a handler runs, since the handler may wait for the main thread, which may be starting or stopping tasks.
    FTerminateInfo = AInfo;
    if (OnTerminate) OnTerminate(this, FTerminateInfo);
}

void TCustomEncoder::VideoHook(const TEncoderVideoHookEvent& AEvent, TEncoderTask* ATask, TBitmap* ABitmap,
                               int AFrameNumber, int64_t APTS, bool& AUpdate, bool& AStopHook)
{
    if (!AEvent) return;
    std::lock_guard guard(FVideoHookLock);
    FVideoHookInfo.TaskIndex = GetTaskIndex(ATask);
    FVideoHookInfo.Bitmap = ABitmap;
    FVideoHookInfo.FrameNumber = AFrameNumber;
    FVideoHookInfo.PTS = APTS;
    FVideoHookInfo.Update = AUpdate;
    FVideoHookInfo.StopHook = AStopHook;
    AEvent(this, &FVideoHookInfo);
    AUpdate = FVideoHookInfo.Update;
    AStopHook = FVideoHookInfo.StopHook;
}

void TCustomEncoder::DoVideoInputHook(TEncoderTask* ATask, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                      bool& AUpdate, bool& AStopHook)
{
    VideoHook(OnVideoInputHook, ATask, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
}

void TCustomEncoder::DoVideoOutputHook(TEncoderTask* ATask, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                       bool& AUpdate, bool& AStopHook)
{
    VideoHook(OnVideoOutputHook, ATask, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
}

void TCustomEncoder::DoPreviewBitmap(TEncoderTask* ATask, TBitmap* ABitmap, int AFrameNumber, int64_t APTS)
{
    if (!OnPreviewBitmap) return;
    std::lock_guard guard(FPreviewLock);
    FPreviewInfo.TaskIndex = GetTaskIndex(ATask);
    FPreviewInfo.Bitmap = ABitmap;
    FPreviewInfo.FrameNumber = AFrameNumber;
    FPreviewInfo.PTS = APTS;
    if (FTriggerEventInMainThread)
        CallInMainThread([this] {
            const TMainThreadHandler handler(FMainThreadHandlers);
            if (OnPreviewBitmap) OnPreviewBitmap(this, FPreviewInfo);
        });
    else
        OnPreviewBitmap(this, FPreviewInfo);
}
