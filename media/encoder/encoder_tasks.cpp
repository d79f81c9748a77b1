// The encoder's classes and its task list: building tasks from files and option records, editing the list.
#include <algorithm>

#include "media/encoder/encoder.h"
#include "media/encoder/terminate_delivery.h"
#include "media/loader/library_loader.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"

namespace {

// The transcoder takes 1 to 512 files per kind.
int ClampMaxFiles(int AValue) { return std::clamp(AValue, 1, 512); }

// The name by which the stream protocol would reach a stream object.
std::string StreamFileName(const TStream* AStream, const std::string& APrivateData)
{
    return Format("stream:%d:%s", {static_cast<int64_t>(reinterpret_cast<intptr_t>(AStream)), APrivateData});
}

}  // namespace

// --- TEncoderTask ---

TEncoderTask::TEncoderTask(int AMaxFiles, TCustomEncoder* AParent)
    : TFFmpeg(ClampMaxFiles(AMaxFiles)),
      FDecoders(static_cast<size_t>(ClampMaxFiles(AMaxFiles))),
      FInputOptions(static_cast<size_t>(ClampMaxFiles(AMaxFiles))),
      FOutputOptions(static_cast<size_t>(ClampMaxFiles(AMaxFiles))),
      FParent(AParent)
{
}

TEncoderTask::~TEncoderTask()
{
    FOnAudioHook = nullptr;
    FOnInputVideoHook = nullptr;
    FOnOutputVideoHook = nullptr;
    FOnPreviewBitmap = nullptr;
    FOnProgress = nullptr;
    FOnTerminate = nullptr;
    // The worker must be gone before the transcoder is: it signals the transcoder after reporting its end.
    Stop(true);
    // Joined before it is freed: the thread object's own destructor would run while its thread still ends.
    if (FWorker && FWorker->ThreadID() != win::GetCurrentThreadId()) FWorker->WaitFor();
    FWorker.reset();
    DetachDecoders();
    FDecoders.clear();
}

int TEncoderTask::MaxFiles() const { return static_cast<int>(FDecoders.size()); }

TFFDecoder* TEncoderTask::Decoder(int AIndex) const
{
    return AIndex >= 0 && AIndex < MaxFiles() ? FDecoders[static_cast<size_t>(AIndex)].get() : nullptr;
}

const TInputOptions* TEncoderTask::InputOptions(int AIndex) const
{
    return AIndex >= 0 && AIndex < MaxFiles() ? FInputOptions[static_cast<size_t>(AIndex)].get() : nullptr;
}

const TOutputOptions* TEncoderTask::OutputOptions(int AIndex) const
{
    return AIndex >= 0 && AIndex < MaxFiles() ? FOutputOptions[static_cast<size_t>(AIndex)].get() : nullptr;
}

TFFDecoder& TEncoderTask::EnsureDecoder(int AIndex)
{
    auto& slot = FDecoders.at(static_cast<size_t>(AIndex));
    if (!slot) slot = std::make_unique<TFFDecoder>(nullptr);
    return *slot;
}

void TEncoderTask::DetachDecoders()
{
    for (auto& decoder : FDecoders)
        if (decoder && decoder->FileHandle() != nullptr && decoder->AVLibLoaded()) decoder->SetFileHandle(nullptr);
}

void TEncoderTask::SetInputOptions(int AIndex, const TInputOptions* AOptions)
{
    FInputOptions.at(static_cast<size_t>(AIndex)) =
        AOptions != nullptr ? std::make_unique<TInputOptions>(*AOptions) : nullptr;
}

void TEncoderTask::SetOutputOptions(int AIndex, const TOutputOptions* AOptions)
{
    FOutputOptions.at(static_cast<size_t>(AIndex)) =
        AOptions != nullptr ? std::make_unique<TOutputOptions>(*AOptions) : nullptr;
}

void TEncoderTask::RunTranscode()
{
    // The run closes the inputs the decoders look at.
    struct Detach {
        TEncoderTask* Task;
        ~Detach() { Task->DetachDecoders(); }
    } detach{this};
    // Stopped in the moment it was started: nothing is converted, the end is reported as not finished.
    if (FStopRequested) return;
    TFFmpeg::RunTranscode();
}

// --- TFFmpegList ---

TFFmpegList::~TFFmpegList() { Clear(); }

int TFFmpegList::Add(TEncoderTask* ATask) { return FList.Add(ATask); }

void TFFmpegList::Clear()
{
    while (FList.Count() > 0) Delete(FList.Count() - 1);
}

void TFFmpegList::Delete(int AIndex)
{
    auto* task = static_cast<TEncoderTask*>(FList.Items(AIndex));
    FList.Delete(AIndex);
    delete task;
}

void TFFmpegList::Exchange(int AIndex1, int AIndex2) { FList.Exchange(AIndex1, AIndex2); }

TEncoderTask* TFFmpegList::Items(int AIndex) const { return static_cast<TEncoderTask*>(FList.Items(AIndex)); }

int TFFmpegList::IndexOf(const TCustomFFmpeg* ATask) const
{
    for (int i = 0; i < FList.Count(); ++i)
        if (static_cast<TCustomFFmpeg*>(Items(i)) == ATask) return i;
    return -1;
}

void TFFmpegList::PauseAll()
{
    for (int i = 0; i < Count(); ++i) Items(i)->Pause();
}

void TFFmpegList::ResumeAll()
{
    for (int i = 0; i < Count(); ++i) Items(i)->Resume();
}

void TFFmpegList::StopAll(bool AWaitForStop)
{
    for (int i = 0; i < Count(); ++i) Items(i)->StopTask(AWaitForStop);
}

// --- TCustomEncoder: life ---

TCustomEncoder::TCustomEncoder(TComponent* AOwner)
    : TFFBaseComponent(AOwner),
      FDecoder(std::make_unique<TFFDecoder>(nullptr)),
      FDelivery(std::make_unique<TTerminateDelivery>([this](const TTerminateInfo& AInfo) {
          DeliverTerminateInfo(AInfo);
      }))
{
    FVersion = "3.9";
}

void TCustomEncoder::StopAndWait()
{
    Stop(true);
    // Also after the list was cleared: the handler that cleared it may still be returning.
    WaitForWithSlices([this] {
        if (!FThreadMode) FDelivery->DeliverHere();
        return FDelivery->Idle() && (!FWorking || FFinalQueued);
    });
}

TCustomEncoder::~TCustomEncoder()
{
    // Everything that may still call back into the encoder ends first: the tasks, then the delivery of their
    // ends. Only then do the events, the locks and the tasks go.
    StopAndWait();
    OnAudioHook = nullptr;
    OnVideoInputHook = nullptr;
    OnVideoOutputHook = nullptr;
    OnPreviewBitmap = nullptr;
    OnProgress = nullptr;
    OnTerminate = nullptr;
    FDelivery.reset();
    for (std::recursive_mutex* lock : {&FAudioHookLock, &FPreviewLock, &FProgressLock, &FTerminateLock, &FVideoHookLock})
        std::lock_guard guard(*lock);
    FFFmpegList.Clear();
    FDecoder.reset();
}

// --- TCustomEncoder: task list ---

void TCustomEncoder::CheckNotWorking(const char* AOperation) const
{
    if (FWorking) throw Exception(Format("Cannot %s while working.", {std::string(AOperation)}));
}

std::unique_ptr<TEncoderTask> TCustomEncoder::NewTask()
{
    auto task = std::make_unique<TEncoderTask>(FCustomMaxFiles, this);
    task->HaltOnInvalidOption = FHaltOnInvalidOption;
    task->SetExtOption("v", IntToStr(FVerbose));
    ApplyPostHooks(task.get());
    TEncoderTask* raw = task.get();
    task->FOnBeforeFindStreamInfo = [this](TObject* Sender, void* AFormatContext) {
        if (OnBeforeFindStreamInfo) OnBeforeFindStreamInfo(Sender, AFormatContext);
    };
    task->FOnPreviewBitmap = [this, raw](TObject*, TBitmap* ABitmap, int AFrameNumber, int64_t APTS) {
        DoPreviewBitmap(raw, ABitmap, AFrameNumber, APTS);
    };
    return task;
}

void TCustomEncoder::BindRunEvents(TEncoderTask* ATask)
{
    ATask->FOnProgress = [this, ATask](TObject*, int AFileIndex, int AFrameNumber, int AFPS, float AQuality,
                                       float ABitRate, int64_t ACurrentSize, int64_t ACurrentDuration,
                                       int64_t ATotalDuration) {
        DoProgress(ATask, AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ACurrentSize, ACurrentDuration,
                   ATotalDuration);
    };
    ATask->FOnTerminate = [this, ATask](TObject*) { DoTerminate(ATask); };
}

void TCustomEncoder::BindHooks(TEncoderTask* ATask, const TOutputOptions& AOptions)
{
    if (AOptions.AudioHook)
        ATask->FOnAudioHook = [this, ATask](TObject*, int64_t APTS, uint8_t* ASample, int ASize, int ASampleRate,
                                            int AChannels, AVSampleFormat ASampleFormat) {
            if (!OnAudioHook) return;
            std::lock_guard guard(FAudioHookLock);
            OnAudioHook(this, GetTaskIndex(ATask), APTS, ASample, ASize, ASampleRate, AChannels, ASampleFormat);
        };
    if (AOptions.VideoInputHook)
        ATask->FOnInputVideoHook = [this, ATask](TObject*, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                                 bool& AUpdate, bool& AStopHook) {
            DoVideoInputHook(ATask, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
        };
    if (AOptions.VideoOutputHook)
        ATask->FOnOutputVideoHook = [this, ATask](TObject*, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                                  bool& AUpdate, bool& AStopHook) {
            DoVideoOutputHook(ATask, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
        };
}

bool TCustomEncoder::OpenInput(TEncoderTask* ATask, int AInputIndex, const std::string& AFileName,
                               const TInputOptions* AOptions)
{
    ATask->HaltOnInvalidOption = FHaltOnInvalidOption;
    ATask->SetInputOptions(AInputIndex, AOptions);
    if (AOptions != nullptr) ApplyInputOptions(*ATask, *AOptions);
    ATask->SetReadTimeout(FReadTimeout);
    if (!ATask->OpenInputFile(AFileName)) {
        ATask->SetInputOptions(AInputIndex, nullptr);
        FLastErrMsg = ATask->LastErrMsg();
        return false;
    }
    ATask->EnsureDecoder(AInputIndex).SetFileHandle(ATask->InputFile(AInputIndex));
    return true;
}

int TCustomEncoder::AddTask(const std::string& AFileName, const TInputOptions* AOptions)
{
    CheckNotWorking("AddTask");
    std::unique_ptr<TEncoderTask> task;
    try {
        task = NewTask();
        if (!OpenInput(task.get(), 0, AFileName, AOptions)) return -1;
    } catch (const Exception& e) {
        FLastErrMsg = e.Message();
        return -1;
    }
    BindRunEvents(task.get());
    return FFFmpegList.Add(task.release());
}

int TCustomEncoder::AddTask(const std::string& AFileName, const std::string& AExtOptions)
{
    const TInputOptions options = InputOptionsFromText(AExtOptions);
    return AddTask(AFileName, &options);
}

int TCustomEncoder::AddTask(TStream* AStream, const std::string& APrivateData, const TInputOptions* AOptions)
{
    return AddTask(StreamFileName(AStream, APrivateData), AOptions);
}

bool TCustomEncoder::AddInputFile(int ATaskIndex, const std::string& AFileName, const TInputOptions* AOptions)
{
    CheckNotWorking("AddInputFile");
    TEncoderTask* task = FFFmpegList.Items(ATaskIndex);
    const int index = task->nb_input_files();
    if (index >= task->MaxFiles()) {
        FLastErrMsg = Format("max input files %d reached", {static_cast<int64_t>(task->MaxFiles())});
        return false;
    }
    try {
        return OpenInput(task, index, AFileName, AOptions);
    } catch (const Exception& e) {
        task->SetInputOptions(index, nullptr);
        FLastErrMsg = e.Message();
        return false;
    }
}

bool TCustomEncoder::AddInputFile(int ATaskIndex, const std::string& AFileName, const std::string& AExtOptions)
{
    const TInputOptions options = InputOptionsFromText(AExtOptions);
    return AddInputFile(ATaskIndex, AFileName, &options);
}

bool TCustomEncoder::SetOutputFile(int ATaskIndex, const std::string& AFileName, const TOutputOptions* AOptions)
{
    CheckNotWorking("SetOutputFile");
    TEncoderTask* task = FFFmpegList.Items(ATaskIndex);
    const int index = task->nb_output_files();
    if (index >= task->MaxFiles()) {
        FLastErrMsg = Format("max output files %d reached", {static_cast<int64_t>(task->MaxFiles())});
        return false;
    }
    try {
        task->HaltOnInvalidOption = FHaltOnInvalidOption;
        task->SetOutputOptions(index, AOptions);
        task->SetReadTimeout(FReadTimeout);
        int result;
        if (AOptions != nullptr) {
            TOutputOptions options = *AOptions;
            options.FileName = AFileName;
            result = ApplyOutputOptions(*task, options);
        } else {
            result = task->OpenOutputFile(AFileName, false);
        }
        if (result < 0) {
            task->SetOutputOptions(index, nullptr);
            FLastErrMsg = task->LastErrMsg();
            return false;
        }
        if (AOptions != nullptr) BindHooks(task, *AOptions);
        return true;
    } catch (const Exception& e) {
        task->SetOutputOptions(index, nullptr);
        FLastErrMsg = e.Message();
        return false;
    }
}

bool TCustomEncoder::SetOutputFile(int ATaskIndex, const std::string& AFileName, const std::string& AExtOptions)
{
    const TOutputOptions options = OutputOptionsFromText(AExtOptions);
    return SetOutputFile(ATaskIndex, AFileName, &options);
}

bool TCustomEncoder::SetOutputStream(int ATaskIndex, TStream* AStream, const std::string& APrivateData,
                                     const TOutputOptions* AOptions)
{
    return SetOutputFile(ATaskIndex, StreamFileName(AStream, APrivateData), AOptions);
}

void TCustomEncoder::ClearTasks()
{
    if (FWorking && !FTerminated) throw Exception("Cannot ClearTasks while working.");
    // The final event may be on its way out still; its handler is what usually clears.
    FFFmpegList.Clear();
    std::lock_guard guard(FTerminateLock);
    FLastErrMsg.clear();
    FTaskStates.clear();
    FCompleteTasks = 0;
    FCurrentTask = -1;
    FPendingTasks = 0;
    FTerminated = false;
    FFinalQueued = false;
    FThreadMode = false;
    FWorking = false;
    FPaused = false;
}

void TCustomEncoder::Exchange(int ATaskIndex1, int ATaskIndex2)
{
    CheckNotWorking("Exchange");
    FFFmpegList.Exchange(ATaskIndex1, ATaskIndex2);
}

void TCustomEncoder::RemoveTask(int ATaskIndex)
{
    CheckNotWorking("RemoveTask");
    FFFmpegList.Delete(ATaskIndex);
}

int TCustomEncoder::GetTaskIndex(const TCustomFFmpeg* AFFmpeg) const { return FFFmpegList.IndexOf(AFFmpeg); }

int TCustomEncoder::TasksCount() const { return FFFmpegList.Count(); }

TEncoderTask* TCustomEncoder::Task(int ATaskIndex) const { return FFFmpegList.Items(ATaskIndex); }

// --- TCustomEncoder: libraries and properties ---

bool TCustomEncoder::AVLibLoaded() const { return FFLoader != nullptr && FFLoader->Loaded(AllLibraries); }

bool TCustomEncoder::LoadAVLib(const std::string& APath)
{
    if (ComponentState().Contains(csDesigning)) return true;
    if (FFLoader == nullptr) {
        FLastErrMsg = "media engine not started.";
        return false;
    }
    TFFLoader::SetLibraryPath(APath);
    if (FFLoader->Load(AllLibraries)) return true;
    FLastErrMsg = TFFLoader::LastErrMsg();
    return false;
}

void TCustomEncoder::UnloadAVLib()
{
    if (FFLoader != nullptr) FFLoader->Unload(AllLibraries);
}

void TCustomEncoder::SetProgressInterval(int AValue) { FProgressInterval = std::max(AValue, 100); }

void TCustomEncoder::SetPreview(bool AValue)
{
    FPreview = AValue;
    for (int i = 0; i < FFFmpegList.Count(); ++i) ApplyPostHooks(FFFmpegList.Items(i));
}

void TCustomEncoder::SetPreviewBitmap(bool AValue)
{
    FPreviewBitmap = AValue;
    for (int i = 0; i < FFFmpegList.Count(); ++i) ApplyPostHooks(FFFmpegList.Items(i));
}

void TCustomEncoder::ApplyPostHooks(TEncoderTask* ATask)
{
    // Only the two bits this component owns change; the transcoder guards the set itself, also while it runs.
    TPostHooks hooks = ATask->PostHooks();
    const auto set_bit = [&hooks](TPostHook AHook, bool AOn) { AOn ? hooks.Include(AHook) : hooks.Exclude(AHook); };
    set_bit(phPreview, FPreview);
    set_bit(phBitmap, FPreviewBitmap);
    ATask->SetPostHooks(hooks);
}
