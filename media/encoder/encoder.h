#pragma once
// The encoder component: a list of conversion tasks (each one transcoder run with its inputs, outputs and
// options), run one after another or several at once, reporting progress and the end of every task and of the
// whole run.
//
// The task list is built and edited on one thread (normally the user-interface thread) and only while the
// encoder is not working. Once started, the encoder stays "working" until ClearTasks, so that the tasks and their
// results stay readable after the run.
//
// Termination events are delivered through one ordered queue: one event per task in the order the tasks ended,
// then the final event (TaskIndex -1), never two at once. In thread mode they run on the encoder's own delivery
// thread; in inline mode on the thread that called Start.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/base/base_component.h"
#include "media/decode/frame_decoder.h"
#include "media/transcode/ffmpeg.h"
#include "media/transcode/option_records.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/threads.h"

class TBitmap;
class TCustomEncoder;
class TTerminateDelivery;

struct TProgressInfo {
    int TaskIndex = -1;
    int FileIndex = 0;
    int FrameNumber = -1;        // -1: no video stream reports
    int FPS = -1;                // 0 during the first second, -1: no video stream reports
    float Quality = -1.0f;       // -1: no video stream reports
    float BitRate = 0.0f;        // kbit/s
    int64_t CurrentSize = 0;     // bytes
    int64_t CurrentDuration = 0; // microseconds
    int64_t TotalDuration = 0;   // microseconds
};
using PProgressInfo = TProgressInfo*;

struct TTerminateInfo {
    int TaskIndex = -1;          // -1 in the final event
    bool Finished = false;       // ran to its end; True in the final event
    bool Exception = false;      // ended by a failure
    std::string ExceptionMsg;
};

struct TPreviewInfo {
    int TaskIndex = -1;
    TBitmap* Bitmap = nullptr;
    int FrameNumber = 0;
    int64_t PTS = 0;
};

struct THookInfo {
    int TaskIndex = -1;
    TBitmap* Bitmap = nullptr;
    int FrameNumber = 0;
    int64_t PTS = 0;
    bool Update = false;   // handed back to the task after the handler ran
    bool StopHook = false; // likewise
};
using PHookInfo = THookInfo*;

// The transcoder's own event types carry the task as sender; the encoder's carry the encoder and a task index,
// hence names of their own.
using TEncoderAudioHookEvent = std::function<void(TObject* Sender, int ATaskIndex, int64_t APTS, uint8_t* ASample,
                                                  int ASize, int ASampleRate, int AChannels,
                                                  AVSampleFormat ASampleFormat)>;
using TEncoderPreviewBitmapEvent = std::function<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;
using TEncoderProgressEvent = std::function<void(TObject* Sender, PProgressInfo AProgressInfo)>;
using TTerminateEvent = std::function<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;
using TEncoderVideoHookEvent = std::function<void(TObject* Sender, PHookInfo AHookInfo)>;

// One task: a transcoder with a decoder per opened input (adopting the task's own format context) and copies of
// the option records it was given.
class TEncoderTask final : public TFFmpeg {
public:
    TEncoderTask(int AMaxFiles, TCustomEncoder* AParent);
    ~TEncoderTask() override;

    TCustomEncoder* Parent() const { return FParent; }
    // Most input files and most output files.
    int MaxFiles() const;
    // The decoder for input AIndex, nullptr before that input is opened. Valid until the task starts; the run
    // closes the inputs it reads.
    TFFDecoder* Decoder(int AIndex) const;
    const TInputOptions* InputOptions(int AIndex) const;
    const TOutputOptions* OutputOptions(int AIndex) const;

protected:
    void RunTranscode() override;

private:
    friend class TCustomEncoder;

    TFFDecoder& EnsureDecoder(int AIndex);
    void DetachDecoders();
    void SetInputOptions(int AIndex, const TInputOptions* AOptions);
    void SetOutputOptions(int AIndex, const TOutputOptions* AOptions);

    std::vector<std::unique_ptr<TFFDecoder>> FDecoders;
    std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
    std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
    TCustomEncoder* FParent;
    // Set by the encoder's Stop before it tells the task; a task started in the same moment ends unconverted.
    std::atomic<bool> FStopRequested{false};
    // The conversion thread, kept until the task is freed: it still touches the task after the end is reported.
    std::unique_ptr<TThread> FWorker;
};

// The tasks in run order; owns them. Index errors are the list's (EListError).
class TFFmpegList : public TObject {
public:
    TFFmpegList() = default;
    ~TFFmpegList() override;
    TFFmpegList(const TFFmpegList&) = delete;
    TFFmpegList& operator=(const TFFmpegList&) = delete;

    int Add(TEncoderTask* ATask);
    void Clear();
    void Delete(int AIndex);
    void Exchange(int AIndex1, int AIndex2);
    TEncoderTask* Items(int AIndex) const;
    int IndexOf(const TCustomFFmpeg* ATask) const;
    int Count() const { return FList.Count(); }
    void PauseAll();
    void ResumeAll();
    void StopAll(bool AWaitForStop);

private:
    TList FList;
};

class TCustomEncoder : public TFFBaseComponent {
public:
    explicit TCustomEncoder(TComponent* AOwner);
    // Stops a running conversion and waits for it and for the termination events still being delivered.
    ~TCustomEncoder() override;

    // --- task list (refused while Working: "Cannot %s while working.") ---
    // The task's index, or -1 with LastErrMsg.
    int AddTask(const std::string& AFileName, const TInputOptions* AOptions = nullptr);
    int AddTask(const std::string& AFileName, const std::string& AExtOptions);
    int AddTask(TStream* AStream, const std::string& APrivateData, const TInputOptions* AOptions = nullptr);
    bool AddInputFile(int ATaskIndex, const std::string& AFileName, const TInputOptions* AOptions = nullptr);
    bool AddInputFile(int ATaskIndex, const std::string& AFileName, const std::string& AExtOptions);
    bool SetOutputFile(int ATaskIndex, const std::string& AFileName, const TOutputOptions* AOptions = nullptr);
    bool SetOutputFile(int ATaskIndex, const std::string& AFileName, const std::string& AExtOptions);
    bool SetOutputStream(int ATaskIndex, TStream* AStream, const std::string& APrivateData,
                         const TOutputOptions* AOptions = nullptr);
    // Refused only while a run has not reached its final event ("Cannot ClearTasks while working.").
    void ClearTasks();
    void Exchange(int ATaskIndex1, int ATaskIndex2);
    void RemoveTask(int ATaskIndex);
    int GetTaskIndex(const TCustomFFmpeg* AFFmpeg) const;
    int TasksCount() const;
    // The task at an index (EListError outside the list), for reading its settings and results.
    TEncoderTask* Task(int ATaskIndex) const;

    bool AVLibLoaded() const;
    bool LoadAVLib(const std::string& APath);
    void UnloadAVLib();

    // --- run control ---
    // AThreadCount > 0: at most that many tasks at once, each on its own thread; returns at once.
    // AThreadCount <= 0: every task in turn on this thread; returns after the final event.
    // An empty list ends at once with the final event.
    void Start(int AThreadCount);
    void Pause();
    void Resume();
    // Every task reports its end (not finished), then the final event follows. With AWaitForStop, waits until
    // the running tasks and those never started have reported (not for the delivery of the events); called from
    // a progress or preview handler it does not wait for the task that waits for that handler.
    void Stop(bool AWaitForStop);

    // --- properties ---
    TFFDecoder* Decoder() const { return FDecoder.get(); }
    const std::string& LastErrMsg() const { return FLastErrMsg; }
    int CustomMaxFiles() const { return FCustomMaxFiles; }
    void SetCustomMaxFiles(int AValue) { FCustomMaxFiles = AValue; }
    bool HaltOnInvalidOption() const { return FHaltOnInvalidOption; }
    void SetHaltOnInvalidOption(bool AValue) { FHaltOnInvalidOption = AValue; }
    bool Preview() const { return FPreview; }
    void SetPreview(bool AValue);
    bool PreviewBitmap() const { return FPreviewBitmap; }
    void SetPreviewBitmap(bool AValue);
    int ProgressInterval() const { return FProgressInterval; }
    void SetProgressInterval(int AValue);  // milliseconds; 100 at least
    int ReadTimeout() const { return FReadTimeout; }
    void SetReadTimeout(int AValue) { FReadTimeout = AValue; }
    bool Terminated() const { return FTerminated; }
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority AValue) { FThreadPriority = AValue; }
    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }
    void* UserData() const { return FData; }
    void SetUserData(void* AValue) { FData = AValue; }
    int Verbose() const { return FVerbose; }
    void SetVerbose(int AValue) { FVerbose = AValue; }
    bool Working() const { return FWorking; }
    bool Paused() const { return FPaused; }

    // Assign before Start; the handlers run on the threads described above.
    TEncoderAudioHookEvent OnAudioHook;
    TBeforeFindStreamInfoEvent OnBeforeFindStreamInfo;
    TEncoderVideoHookEvent OnVideoInputHook;
    TEncoderVideoHookEvent OnVideoOutputHook;
    TEncoderPreviewBitmapEvent OnPreviewBitmap;
    TEncoderProgressEvent OnProgress;
    TTerminateEvent OnTerminate;

protected:
    // Stops the run and waits until no task and no delivery calls back any more. The events reach the encoder
    // through virtual calls, so a class that derives from this one calls it first thing in its destructor.
    void StopAndWait();

    virtual void DoVideoInputHook(TEncoderTask* ATask, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                  bool& AUpdate, bool& AStopHook);
    virtual void DoVideoOutputHook(TEncoderTask* ATask, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                   bool& AUpdate, bool& AStopHook);
    virtual void DoPreviewBitmap(TEncoderTask* ATask, TBitmap* ABitmap, int AFrameNumber, int64_t APTS);
    virtual void DoProgress(TEncoderTask* ATask, int AFileIndex, int AFrameNumber, int AFPS, float AQuality,
                            float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration, int64_t ATotalDuration);
    // ATask nullptr: the final event.
    virtual void DoTerminate(TEncoderTask* ATask);

private:
    enum class TTaskState { tsWaiting, tsStarted, tsStopping, tsEnded };

    void CheckNotWorking(const char* AOperation) const;
    std::unique_ptr<TEncoderTask> NewTask();
    void BindRunEvents(TEncoderTask* ATask);
    void BindHooks(TEncoderTask* ATask, const TOutputOptions& AOptions);
    bool OpenInput(TEncoderTask* ATask, int AInputIndex, const std::string& AFileName,
                   const TInputOptions* AOptions);
    void VideoHook(const TEncoderVideoHookEvent& AEvent, TEncoderTask* ATask, TBitmap* ABitmap, int AFrameNumber,
                   int64_t APTS, bool& AUpdate, bool& AStopHook);
    // Under FTerminateLock. Answers the task to run inline, or nullptr.
    TEncoderTask* StartNextTask();
    // Under FTerminateLock.
    void QueueFinalEvent();
    void DeliverTerminateInfo(const TTerminateInfo& AInfo);
    void ApplyPostHooks(TEncoderTask* ATask);

    std::string FLastErrMsg;
    void* FData = nullptr;
    int FCustomMaxFiles = 20;
    bool FHaltOnInvalidOption = true;
    std::atomic<bool> FPreview{false};
    std::atomic<bool> FPreviewBitmap{false};
    std::atomic<int> FProgressInterval{500};
    int FReadTimeout = 10000;
    TThreadPriority FThreadPriority = tpNormal;
    std::atomic<bool> FTriggerEventInMainThread{true};
    int FVerbose = 1;
    TProgressInfo FProgressInfo;
    TTerminateInfo FTerminateInfo;
    TPreviewInfo FPreviewInfo;
    THookInfo FVideoHookInfo;
    std::recursive_mutex FAudioHookLock;
    std::recursive_mutex FPreviewLock;
    std::recursive_mutex FProgressLock;
    std::recursive_mutex FTerminateLock;
    std::recursive_mutex FVideoHookLock;
    std::unique_ptr<TFFDecoder> FDecoder;
    TFFmpegList FFFmpegList;
    std::vector<TTaskState> FTaskStates;  // per list index, for the run; under FTerminateLock
    int FCompleteTasks = 0;
    int FCurrentTask = -1;
    int FPendingTasks = 0;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FThreadMode{false};
    std::atomic<bool> FWorking{false};
    std::atomic<bool> FPaused{false};
    std::atomic<bool> FFinalQueued{false};
    // A progress or preview handler runs on the main thread while its task waits for it.
    std::atomic<int> FMainThreadHandlers{0};
    std::unique_ptr<TTerminateDelivery> FDelivery;
};

// Publishes the component's properties and events for the form designer; nothing of its own.
class TFFEncoder final : public TCustomEncoder {
public:
    explicit TFFEncoder(TComponent* AOwner) : TCustomEncoder(AOwner) {}
    ~TFFEncoder() override { StopAndWait(); }
};
