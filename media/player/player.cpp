#include "media/player/player.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "media/decode/format_converter.h"
#include "media/decode/frame_decoder.h"
#include "media/loader/av_bindings.h"
#include "media/loader/library_loader.h"
#include "media/log/ff_logger.h"
#include "media/player/player_threads.h"
#include "media/util/media_utils.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/win/backend.h"
#include "platform/win/geometry.h"

std::string PlayerText(const char* AFormat, ...)
{
    char buffer[2048];
    va_list args;
    va_start(args, AFormat);
    vsnprintf(buffer, sizeof buffer, AFormat, args);
    va_end(args);
    return buffer;
}

namespace {
// Only the address matters: the flush marker is recognised by identity.
const char FlushText[] = "FLUSH";

// The installed SDL library's own name, loaded from the LibAV folder when the libraries are loaded together.
const char SDLLibraryFile[] = "libSDL-1.2.so.0";
}  // namespace

TCustomPlayer::TCustomPlayer(TComponent* AOwner) : TFFBaseComponent(AOwner), FSDLLoader(new TSDLLoader)
{
    FVersion = "3.0";
    FRGBConverter = std::make_unique<TFormatConverter>();
    FHookConverter = std::make_unique<TFormatConverter>();
    FDecoder = std::make_unique<TFFDecoder>(nullptr);
    ResetPlayState();
}

TCustomPlayer::~TCustomPlayer()
{
    // No event may reach a handler while the player goes. The handlers themselves stay until the threads that
    // may be looking at them have ended: clearing them here would race with those threads.
    FDying = true;
    Stop(true);
    FEventThread.reset();
    FDecoder.reset();
    FRGBConverter.reset();
    FHookConverter.reset();
    // Never unload SDL under a thread that may still run its code: keep the copy (and the thread) for good.
    if (FPlayThreadStranded) {
        (void)FSDLLoader.release();
        (void)FPlayThread.release();
    }
}

bool TCustomPlayer::LoadAVLib(const std::string& APath, bool AAutoLoadSDL)
{
    if (FFLoader == nullptr) {
        SetLastErrMsg("libav not loaded.");
        return false;
    }
    if (!APath.empty()) TFFLoader::SetLibraryPath(APath);
    if (!FFLoader->Load(PlayerLibraries)) {
        SetLastErrMsg(TFFLoader::LastErrMsg());
        return false;
    }
    return AAutoLoadSDL ? LoadSDLLib(APath, SDLLibraryFile) : true;
}

bool TCustomPlayer::AVLibLoaded() const { return FFLoader != nullptr && FFLoader->Loaded(PlayerLibraries); }

void TCustomPlayer::UnloadAVLib()
{
    if (FFLoader != nullptr) FFLoader->Unload(PlayerLibraries);
}

bool TCustomPlayer::LoadSDLLib(const std::string& APath, const std::string& AFile)
{
    if (FSDLLoader->Load(APath, AFile)) {
        FSDL = FSDLLoader->Entries();
        return true;
    }
    if (!FSDLLoader->Loaded()) FSDL = TSDLEntries{};
    SetLastErrMsg(FSDLLoader->LastErrMsg());
    return false;
}

void TCustomPlayer::UnloadSDLLib()
{
    if (FPlayThreadStranded) return;
    FSDL = TSDLEntries{};
    FSDLLoader->Unload();
}

void TCustomPlayer::ResetPlayState()
{
    Fscreen = nullptr;
    FLastPTS = NotSet;
    FCurrentPTS = -1;
    Fstep = false;
    for (int& wanted : Fwanted_stream) wanted = -1;
    Fseek_by_bytes = -1;
    Fstart_time = NotSet;
    FPlayTime = NotSet;
    FRepeatType = rtStop;
    FVerticalFlip = false;
    FSeekEvent.SetEvent();
    FSeeking = false;
}

void TCustomPlayer::SetLastErrMsg(const std::string& AMsg)
{
    std::lock_guard guard(FErrLock);
    FLastErrMsg = AMsg;
}

std::string TCustomPlayer::LastErrMsg() const
{
    std::lock_guard guard(FErrLock);
    return FLastErrMsg;
}

void TCustomPlayer::ReportError(const std::string& AMsg, bool AStore)
{
    LoggerInstance()->Log(this, llError, AMsg);
    if (AStore) SetLastErrMsg(AMsg);
}

void TCustomPlayer::SetForceFrameRate(const std::string& AValue)
{
    if (AValue == FForceFrameRate) return;
    if (!AValue.empty()) {
        AVRational rate{0, 0};
        if (!AVLibLoaded() || ff::av_parse_video_rate(&rate, AValue.c_str()) < 0)
            throw Exception("Incorrect frame rate");
    }
    FForceFrameRate = AValue;
}

void TCustomPlayer::SetAspectRatio(float AValue)
{
    if (AValue == FAspectRatio) return;
    FAspectRatio = AValue;
    if (TVideoState* is = FVideoState) PushEvent(SDL_USEREVENT + 3, is);  // re-layout: new video mode, redraw
}

void TCustomPlayer::SetShowAudio(TShowAudio AValue)
{
    FShowAudio = AValue;
    TStateAccess is(*this);
    if (is && is->audio_stream >= 0 && !Fdisplay_disable) is->show_audio = AValue;
}

int TCustomPlayer::VideoHookBitsPixel() const { return FRGBConverter->BitsPixel(); }

void TCustomPlayer::SetVideoHookBitsPixel(int AValue)
{
    FRGBConverter->SetBitsPixel(AValue);
    FHookConverter->SetBitsPixel(AValue);
}

std::string TCustomPlayer::ForceFormat() const { return Ffile_iformat != nullptr ? Ffile_iformat->name : ""; }

void TCustomPlayer::SetForceFormat(const std::string& AValue)
{
    if (!AVLibLoaded()) {
        ReportError("libav not loaded.", true);
        return;
    }
    const AVInputFormat* format = AValue.empty() ? nullptr : ff::av_find_input_format(AValue.c_str());
    if (format == nullptr) throw Exception(PlayerText("Unknown input format: %s", AValue.c_str()));
    Ffile_iformat = format;
}

bool TCustomPlayer::Open(const std::string& AFileName, win::HWND AScreenHandle, bool APaused)
{
    if (!AVLibLoaded()) {
        ReportError("libav not loaded.", true);
        return false;
    }
    if (!SDLLibLoaded()) {
        ReportError("sdl not loaded.", true);
        return false;
    }
    Stop(true);
    // From here a Stop on another thread cancels this Open (the read thread keeps a cancel it finds).
    FLastRead = INT64_MAX;
    // SDL draws into the panel's own window of the display; the panel itself keeps its input.
    const uintptr_t window_id = AScreenHandle != nullptr ? win::NativeWindowId(AScreenHandle) : 0;
    // Known before SDL starts: its shut-down gives this window back.
    FScreenHandle = AScreenHandle;
    FScreenWindowId = window_id;
    SDLLibLock().Enter();
    SetDriverVariables();
    const bool started = InitSDL(window_id);
    SDLLibLock().Leave();
    if (!started) {
        ReportError(PlayerText("Could not initialize SDL with ScreenHandle(%lu): %s",
                               static_cast<unsigned long>(window_id), FSDL.SDL_GetError()),
                    true);
        return false;
    }
    if (Fdisplay_disable) {
        Fvideo_disable = true;
    } else if (const SDL_VideoInfo* info = FSDL.SDL_GetVideoInfo(); info == nullptr) {
        ReportError("SDL_GetVideoInfo() failed", true);
        QuitSDL();
        return false;
    } else {
        Ffs_screen_width = info->current_w;
        Ffs_screen_height = info->current_h;
    }
    Fflush_pkt = AVPacket{};
    Fflush_pkt.data = reinterpret_cast<uint8_t*>(const_cast<char*>(FlushText));
    for (Uint8 type : {SDL_ACTIVEEVENT, SDL_MOUSEMOTION, SDL_SYSWMEVENT, SDL_USEREVENT})
        FSDL.SDL_EventState(type, SDL_IGNORE);

    // The previous event thread delivers what is left of the last playback (its final stop) before the ring
    // serves this one; the new playback's threads may post as soon as the file is open.
    FEventThread.reset();
    FPlayEvent.Clear();
    FStopRequested = false;
    FPlayAnnounced = false;
    // Every open lays its picture out in the panel's present size, not in that of an earlier open (the file-open
    // handler may still choose another).
    if (TRect client{}; AScreenHandle != nullptr && win::GetClientRect(AScreenHandle, client)) {
        FScreenWidth = client.Width();
        FScreenHeight = client.Height();
    }
    if (!StreamOpen(AFileName, APaused)) {
        QuitSDL();
        return false;
    }
    FFileName = AFileName;
    if (TStateAccess is(*this); is) FDecoder->SetFileHandle(is->ic);
    DoFileOpen();

    // Reset here, not on the play thread: a Stop right after Open must not find the previous playback's signal.
    FStopEvent.ResetEvent();
    FEventThread.reset(TThread::Create<TEventThread>(this));
    FPlayThread.reset(TThread::Create<TPlayThread>(this));
    return true;
}

void TCustomPlayer::DoFileOpen()
{
    TStateAccess is(*this);
    if (!is || (!OnFileOpen && FScreenHandle == nullptr)) return;
    int width = -1, height = -1;
    if (is->video_ctx != nullptr && is->video_ctx->width > 0) {
        width = is->video_ctx->width;
        height = is->video_ctx->height;
    }
    const int64_t duration = is->IsImage2 ? 0 : is->Duration;
    is.Release();  // the handler may stop the playback
    Deliver([&] {
        if (OnFileOpen) OnFileOpen(this, duration, width, height, FScreenWidth, FScreenHeight);
        // A size the handler left open is the panel's.
        if (FScreenHandle != nullptr && (FScreenWidth == 0 || FScreenHeight == 0)) {
            TRect client{};
            if (win::GetClientRect(FScreenHandle, client)) {
                FScreenWidth = client.Right - client.Left;
                FScreenHeight = client.Bottom - client.Top;
            }
        }
    });
}

void TCustomPlayer::Deliver(const std::function<void()>& AMethod)
{
    if (FTriggerEventInMainThread)
        CallInMainThread(AMethod);
    else
        AMethod();
}

void TCustomPlayer::Stop(bool AWaitForStop)
{
    FStopRequested = true;
    TStateAccess is(*this);
    if (!is) {
        // An Open may be running on another thread: make its read thread give up.
        FLastRead = 0;
        if (TVideoState* cb = FVideoStateCB) cb->abort_request = 1;
        if (AWaitForStop && FStopEvent.WaitFor(0) == wrSignaled) {
            ReleasePlayThread();
            if (FSDLStarted) QuitSDL();
        }
        return;
    }
    RequestStop(is.get());
    is.Release();
    if (!AWaitForStop) return;
    WaitForStop();
    // SDL goes down only once the play thread has left its event loop.
    const bool ended = WaitForWithSlices([this] { return FStopEvent.WaitFor(0) == wrSignaled; }, 100, 10000);
    if (ended) {
        ReleasePlayThread();
        QuitSDL();
    } else {
        FPlayThreadStranded = true;
    }
}

// The play thread has signalled its end: only its last few statements remain, so the join is short.
void TCustomPlayer::ReleasePlayThread()
{
    if (!FPlayThreadStranded) FPlayThread.reset();
}

// The stop request of the API and of the playback's own position check (which runs on its threads).
void TCustomPlayer::RequestStop(TVideoState* AState)
{
    if (AState->paused) {
        StreamPause(AState);
        Fstep = false;
    }
    PushQuit(AState);
}

TCustomPlayer::TStateAccess::TStateAccess(const TCustomPlayer& APlayer) : FPlayer(const_cast<TCustomPlayer&>(APlayer))
{
    // The play thread may be waiting for a handler on the main thread while it holds the lock.
    if (win::GetCurrentThreadId() == MainThreadID)
        WaitForWithSlices([this] { return FPlayer.LockData(0); }, 10);
    else
        FPlayer.LockData(win::INFINITE);
    FLocked = true;
    FState = FPlayer.FVideoState;
    if (FState == nullptr) Release();
}

void TCustomPlayer::TStateAccess::Release()
{
    FState = nullptr;
    if (FLocked) FPlayer.UnlockData();
    FLocked = false;
}

bool TCustomPlayer::Paused() const
{
    TStateAccess is(*this);
    return !is || is->paused;
}

void TCustomPlayer::Pause()
{
    TStateAccess is(*this);
    if (!is || is->paused) return;
    StreamPause(is.get());
    Fstep = false;
    SetPlayState(psPause);
}

void TCustomPlayer::Resume()
{
    TStateAccess is(*this);
    if (!is || !is->paused) return;
    StreamPause(is.get());
    Fstep = false;
    SetPlayState(psResume);
}

void TCustomPlayer::TogglePause()
{
    TStateAccess is(*this);
    if (!is) return;
    StreamPause(is.get());
    Fstep = false;
    SetPlayState(is->paused ? psPause : psResume);
}

void TCustomPlayer::StepToNextFrame()
{
    TStateAccess is(*this);
    if (!is) return;
    if (is->paused) StreamPause(is.get());
    // The video thread pauses again after the next picture.
    if (!Fstep.exchange(true)) SetPlayState(psStep);
}

void TCustomPlayer::ToggleAudioDisplay()
{
    TStateAccess is(*this);
    if (!is) return;
    is->show_audio = (is->show_audio + 1) % 3;
    // The area goes black at once; the next refresh draws in the new mode.
    if (SDL_Surface* screen = Fscreen; screen != nullptr) {
        SDL_Rect all{0, 0, static_cast<Uint16>(screen->w), static_cast<Uint16>(screen->h)};
        FSDL.SDL_FillRect(screen, &all, FSDL.SDL_MapRGB(screen->format, 0, 0, 0));
        FSDL.SDL_UpdateRect(screen, 0, 0, screen->w, screen->h);
    }
}

void TCustomPlayer::StreamPause(TVideoState* AState)
{
    if (FSeekEvent.WaitFor(250) != wrSignaled) FSeekEvent.SetEvent();
    if (FVideoState.load() != AState) return;
    const double now = PlayerNow();
    if (AState->paused) {
        // Without a picture shown yet the clock has not started (no drift): there is no paused time to add, and
        // adding "now" would put every picture hours into the future.
        if (AState->video_current_pts_drift != 0)
            AState->frame_timer =
                AState->frame_timer + now + AState->video_current_pts_drift - AState->video_current_pts;
        if (AState->read_pause_return != AVERROR(ENOSYS))
            AState->video_current_pts = now + AState->video_current_pts_drift;
        AState->video_current_pts_drift = AState->video_current_pts - now;
        AState->paused = 0;
    } else {
        if (AState->video_stream >= 0) {
            if (FPictEvent.WaitFor(250) != wrSignaled) FPictEvent.SetEvent();
            if (FVideoState.load() != AState) return;
        }
        AState->paused = 1;
    }
}

void TCustomPlayer::Seek(int64_t APTS, TSeekFlags ASeekFlags, bool AWaitForSeekEnd)
{
    TStateAccess is(*this);
    if (!is) return;
    TVideoState* state = is.get();
    if (ASeekFlags.Contains(sfByte)) {
        if (!RequestSeek(state, APTS, 0, SeekFlagsToAV(ASeekFlags))) return;
    } else if (!RequestSeekTo(state, APTS, ASeekFlags)) {
        return;
    }
    is.Release();
    if (AWaitForSeekEnd) WaitForSeekEnd(state);
}

void TCustomPlayer::Seek(double ADelta, TSeekFlags ASeekFlags, bool AWaitForSeekEnd)
{
    TStateAccess is(*this);
    if (!is) return;
    TVideoState* state = is.get();
    bool requested;
    if (ASeekFlags.Contains(sfByte)) {
        const double distance = is->ic->bit_rate > 0 ? ADelta * is->ic->bit_rate / 8.0 : ADelta * 180000.0;
        const int64_t pos = is->ic->pb != nullptr ? is->ic->pb->pos : 0;
        requested = RequestSeek(state, pos + std::llround(distance), std::llround(distance), SeekFlagsToAV(ASeekFlags));
    } else {
        const double target = (GetMasterClock(*state) + ADelta) * 1000000.0;
        requested = RequestSeek(state, std::llround(target), std::llround(ADelta * 1000000.0), SeekFlagsToAV(ASeekFlags));
    }
    is.Release();
    if (requested && AWaitForSeekEnd) WaitForSeekEnd(state);
}

bool TCustomPlayer::RequestSeekTo(TVideoState* AState, int64_t APTS, TSeekFlags ASeekFlags)
{
    int64_t target = APTS;
    if (AState->Duration > 0 && target > AState->Duration) target = AState->Duration;
    target += AState->StartTime;
    return RequestSeek(AState, target, APTS <= 0 ? 1 : 0, SeekFlagsToAV(ASeekFlags));
}

bool TCustomPlayer::RequestSeek(TVideoState* AState, int64_t APos, int64_t ARel, int AFlags)
{
    if (AState->seek_req) return false;
    FSeeking = true;
    AState->seek_paused = AState->paused.load();
    AState->seek_pos = APos;
    AState->seek_rel = ARel;
    AState->seek_flags = AFlags;
    FSeekEvent.ResetEvent();
    AState->seek_req = 1;
    return true;
}

// AState is only compared: a playback that ends meanwhile ends the wait.
void TCustomPlayer::WaitForSeekEnd(TVideoState* AState)
{
    const auto gone = [this, AState] { return FVideoState.load() != AState; };
    WaitForWithSlices([&] { return FSeekEvent.WaitFor(0) == wrSignaled || gone(); }, 100);
    if (gone()) return;
    TStateAccess is(*this);
    const bool video = is.get() == AState && is->video_stream >= 0;
    is.Release();
    if (video) WaitForWithSlices([&] { return FPictEvent.WaitFor(0) == wrSignaled || gone(); }, 100);
}

int TCustomPlayer::VideoStreamIndex() const
{
    TStateAccess is(*this);
    return is ? is->video_stream.load() : -1;
}

int TCustomPlayer::AudioStreamIndex() const
{
    TStateAccess is(*this);
    return is ? is->audio_stream.load() : -1;
}

int TCustomPlayer::SubtitleStreamIndex() const
{
    TStateAccess is(*this);
    return is ? is->subtitle_stream.load() : -1;
}

void TCustomPlayer::SwitchStream(AVMediaType AKind, int AIndex)
{
    TStateAccess is(*this);
    if (!is) return;
    const int current = AKind == AVMEDIA_TYPE_VIDEO   ? is->video_stream.load()
                        : AKind == AVMEDIA_TYPE_AUDIO ? is->audio_stream.load()
                                                      : is->subtitle_stream.load();
    if (current == AIndex) return;
    StreamSwitch(is.get(), AKind, AIndex);
}
