#include "media/transcode/custom_ffmpeg.h"

#include <sys/stat.h>

#include <algorithm>
#include <cassert>
#include <chrono>

#include "media/loader/av_bindings.h"
#include "media/loader/library_loader.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"

namespace {

// Microseconds of a monotonic clock, for the read time-out.
int64_t ClockMicroseconds()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool LibrariesLoaded() { return FFLoader != nullptr && FFLoader->Loaded(AllLibraries); }

// Closes and frees one output context and what hangs on it. A file it created is deleted when it stayed empty
// (a task that never ran leaves nothing behind) or its run could not finish it; anything that was there before
// (a user's file, a device) stays.
void FreeOutputContext(AVFormatContext* AContext, const std::vector<std::string>& ACreated,
                       const std::vector<std::string>& AUnfinished)
{
    const bool opened = AContext->pb != nullptr && AContext->oformat != nullptr &&
                        (AContext->oformat->flags & AVFMT_NOFILE) == 0;
    if (opened) ff::avio_closep(&AContext->pb);
    const std::string file_name = AContext->url != nullptr ? AContext->url : "";
    ff::avformat_free_context(AContext);
    if (!opened || file_name.empty() || std::find(ACreated.begin(), ACreated.end(), file_name) == ACreated.end())
        return;
    struct stat status {};
    const bool unfinished = std::find(AUnfinished.begin(), AUnfinished.end(), file_name) != AUnfinished.end();
    if (lstat(file_name.c_str(), &status) == 0 && S_ISREG(status.st_mode) && (status.st_size == 0 || unfinished))
        DeleteFile(file_name);
}

}  // namespace

void TConvertThread::Execute()
{
    if (FOwner == nullptr) return;
    FOwner->FStopEvent.ResetEvent();
    TCustomFFmpeg* owner = FOwner;
    // The owner may be freed as soon as the stop event is set, so the event is the last thing touched.
    struct SetOnExit {
        TCustomFFmpeg* Owner;
        ~SetOnExit() { Owner->FStopEvent.SetEvent(); }
    } set_on_exit{owner};
    owner->RunConversion();
}

void TDoTerminateThread::Execute()
{
    if (FOwner == nullptr) return;
    struct SetOnExit {
        TCustomFFmpeg* Owner;
        ~SetOnExit() { Owner->FTermEvent.SetEvent(); }
    } set_on_exit{FOwner};
    FOwner->NotifyTerminated();
}

TCustomFFmpeg::TCustomFFmpeg(int AMaxFiles) : FMaxFiles(AMaxFiles)
{
    assert(AMaxFiles >= 1 && AMaxFiles <= 512);
    Finput_files_ts_offset.assign(static_cast<size_t>(FMaxFiles), 0);
    ResetSettings();
}

TCustomFFmpeg::~TCustomFFmpeg()
{
    Stop(true);
    // hooks (mended): a worker that has delivered its end (so Stop no longer sees it) still sets the stop event
    // last; freeing the object before that is a use after free.
    WaitForWithSlices([this] { return FStopEvent.WaitFor(0) == wrSignaled; }, 20);
    // A never-started task whose end is being delivered still uses the object.
    FTermEvent.WaitFor();
    ReleaseState();
    if (Fmetadata != nullptr && LibrariesLoaded()) ff::av_dict_free(&Fmetadata);
    FOptions.Uninit();
}

void TCustomFFmpeg::ResetSettings()
{
    if (!LibrariesLoaded()) return;
    if (Fmetadata != nullptr) ff::av_dict_free(&Fmetadata);
    static_cast<TFFmpegSettings&>(*this) = TFFmpegSettings{};
    const auto files = static_cast<size_t>(FMaxFiles);
    Finput_files.assign(files, nullptr);
    Finput_files_ts_scale.assign(files, {});
    Finput_file_names.assign(files, {});
    Finput_vfilters.assign(files, {});
    Foutput_files.assign(files, nullptr);
    Foutput_streams_for_file.assign(files, {});
    FOptions.Init(static_cast<int>(Fsws_flags));
    FJoinMode = false;
    FConverting = false;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    FFatalException = false;
    FTotalOutputDuration = -1;
}

void TCustomFFmpeg::CloseOutputFile(int AIndex)
{
    AVFormatContext* context = Foutput_files[AIndex];
    for (TAVOutputStream* stream : Foutput_streams_for_file[AIndex]) {
        if (stream->enc_ctx != nullptr) ff::avcodec_free_context(&stream->enc_ctx);
        delete stream;
    }
    Foutput_streams_for_file[AIndex].clear();
    Foutput_files[AIndex] = nullptr;
    if (context != nullptr) FreeOutputContext(context, Fcreated_outputs, Funfinished_outputs);
}

void TCustomFFmpeg::ReleaseState()
{
    if (!LibrariesLoaded() || Foutput_files.empty()) return;
    // In join mode every entry holds the same context: only the first one owns it.
    for (int i = 0; i < Fnb_output_files; ++i) {
        if (FJoinMode && i > 0) {
            for (TAVOutputStream* stream : Foutput_streams_for_file[i]) delete stream;
            Foutput_streams_for_file[i].clear();
            Foutput_files[i] = nullptr;
            continue;
        }
        CloseOutputFile(i);
    }
    Fnb_output_files = 0;
    for (int i = 0; i < Fnb_input_files; ++i) {
        if (Finput_files[i] != nullptr) ff::avformat_close_input(&Finput_files[i]);
        Finput_files_ts_scale[i].clear();
        Finput_file_names[i].clear();
        Finput_vfilters[i].clear();
    }
    Fnb_input_files = 0;
    Fintra_matrix.clear();
    Finter_matrix.clear();
    Fstreamid_map.clear();
    Finput_codecs.clear();
    Foutput_codecs.clear();
    Fstream_maps.clear();
    Fmeta_data_maps.clear();
    Fchapter_maps.clear();
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_standard.clear();
    Fvideo_rc_override_string.clear();
    if (Fmetadata != nullptr) ff::av_dict_free(&Fmetadata);
    FFrameHooks.clear();
    FHooks.Release();  // hooks: the frame-hook chain ends with its task, the preview window closes
    FOptions.Uninit();
}

TThread* TCustomFFmpeg::StartConvert(bool AUseThread, TThreadPriority APriority)
{
    if (FConverting || FTerminated) return nullptr;
    try {
        if (Fnb_output_files <= 0) {
            ReleaseState();
            throw FFmpegException("At least one output file must be specified");
        }
        if (Fnb_input_files == 0) {
            ReleaseState();
            throw FFmpegException("At least one input file must be specified");
        }
    } catch (const FFmpegException& e) {
        Log(llQuiet, e.Message());
        FFatalException = true;
        FFatalMessage = e.Message();
        NotifyTerminated();
        return nullptr;
    }
    FConverting = true;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    if (!AUseThread) {
        RunConversion();
        return nullptr;
    }
    auto* thread = new TConvertThread(this);
    thread->SetFreeOnTerminate(true);
    thread->SetPriority(APriority);
    {
        std::lock_guard guard(FThreadLock);
        FThread = thread;
    }
    FStopEvent.ResetEvent();
    return thread;
}

void TCustomFFmpeg::RunTranscode()
{
    // The run itself is not part of this object yet: a task that gets here ends as a failure, never as a
    // finished conversion.
    throw FFmpegException("Transcoding is not available");
}

void TCustomFFmpeg::RunConversion()
{
    auto guarded = [this](auto AStep) {
        try {
            AStep();
        } catch (const Exception& e) {
            Log(llQuiet, e.Message());
            FFatalException = true;
            FFatalMessage = e.Message();
        } catch (const std::exception& e) {
            Log(llQuiet, e.what());
            FFatalException = true;
            FFatalMessage = e.what();
        }
    };
    guarded([this] {
        FFinished = false;
        RunTranscode();
    });
    guarded([this] { ReleaseState(); });
    guarded([this] { NotifyTerminated(); });
}

void TCustomFFmpeg::NotifyTerminated()
{
    FConverting = false;
    FTerminated = true;
    {
        std::lock_guard guard(FThreadLock);
        FThread = nullptr;
    }
    if (FOnTerminate) FOnTerminate(this);
}

void TCustomFFmpeg::Stop(bool AWaitForStop)
{
    FBroken = true;
    bool has_worker;
    {
        std::lock_guard guard(FThreadLock);
        has_worker = FThread != nullptr;
    }
    if (has_worker) {
        Resume();
        if (AWaitForStop)
            WaitForWithSlices([this] { return FStopEvent.WaitFor(0) == wrSignaled; }, 20);
    } else {
        FLastRead = 0;
    }
}

void TCustomFFmpeg::StopTask(bool AWaitForStop)
{
    if (FConverting) {
        Stop(AWaitForStop);
        return;
    }
    if (FTerminated) return;
    FTermEvent.ResetEvent();
    auto* thread = new TDoTerminateThread(this);
    thread->SetFreeOnTerminate(true);
    thread->Start();
    if (AWaitForStop) FTermEvent.WaitFor();
}

void TCustomFFmpeg::Pause()
{
    {
        std::lock_guard guard(FThreadLock);
        if (FThread == nullptr) return;
    }
    std::lock_guard guard(FPauseLock);
    FPaused = true;
}

void TCustomFFmpeg::Resume()
{
    {
        std::lock_guard guard(FPauseLock);
        if (!FPaused) return;
        FPaused = false;
    }
    FPauseChanged.notify_all();
}

void TCustomFFmpeg::WaitWhilePaused()
{
    std::unique_lock guard(FPauseLock);
    FPauseChanged.wait(guard, [this] { return !FPaused || FBroken; });
}

bool TCustomFFmpeg::CheckReadTimeout(TObject* Sender)
{
    if (Sender != this || FReadTimeout <= 0) return false;
    const int64_t last_read = FLastRead;
    if (ClockMicroseconds() - last_read <= int64_t{FReadTimeout} * 1000) return false;
    Log(llInfo, last_read == 0 ? "connecting/reading/writing canceled" : "connecting/reading/writing timeout");
    return true;
}

bool TCustomFFmpeg::CheckBroken(TObject* Sender) { return Sender == this && FBroken; }

namespace {
thread_local bool tClosingOutputsHere = false;
}  // namespace

void TCustomFFmpeg::SetClosingOutputsOnThisThread(bool AValue) { tClosingOutputsHere = AValue; }

int TCustomFFmpeg::InterruptProc(void* AOpaque)
{
    auto* engine = static_cast<TCustomFFmpeg*>(AOpaque);
    if (engine->FClosingOutputs || tClosingOutputsHere) return 0;
    // A stop reaches blocking I/O of the run; an open on the caller's thread only through the read timeout.
    return (engine->FConverting && engine->CheckBroken(engine)) || engine->CheckReadTimeout(engine) ? 1 : 0;
}

AVIOInterruptCB TCustomFFmpeg::InterruptCallback() { return AVIOInterruptCB{&TCustomFFmpeg::InterruptProc, this}; }

void TCustomFFmpeg::ArmReadTimeout() { FLastRead = ClockMicroseconds(); }

void TCustomFFmpeg::DisarmReadTimeout() { FLastRead = INT64_MAX; }

void TCustomFFmpeg::Log(int ALevel, const std::string& AText)
{
    LoggerInstance()->Log(this, static_cast<TLogLevel>(ALevel), AText);
}
