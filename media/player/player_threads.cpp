// The play thread's SDL event loop, the event thread and its notices, position reports and the stop hand-shake.
#include "media/player/player_threads.h"

#include <cmath>

#include "media/decode/frame_decoder.h"
#include "media/loader/av_bindings.h"
#include "media/log/ff_logger.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/main_thread_queue.h"

namespace {
constexpr Uint8 EventAllocate = SDL_USEREVENT;      // 24
constexpr Uint8 EventRefresh = SDL_USEREVENT + 1;   // 25
constexpr Uint8 EventQuit = SDL_USEREVENT + 2;      // 26
constexpr Uint8 EventRelayout = SDL_USEREVENT + 3;  // 27
}  // namespace

void TPlayThread::Execute()
{
    TCustomPlayer* owner = FOwner;
    try {
        {
            // A file opened paused may have reported its pause before this thread got here: then it never
            // played, and saying so now would leave the caller believing it plays.
            // The data lock first: the video thread takes the pause lock without it.
            TCustomPlayer::TStateAccess is(*owner);
            std::lock_guard<std::mutex> lock(owner->FOpenPauseLock);
            const bool pauseReported = is && is->OpenedPaused && is->open_paused == 0 && is->paused;
            if (!pauseReported) owner->SetPlayState(psPlay);
            owner->FPlayAnnounced = true;
        }
        owner->EventLoop();
    } catch (const Exception& E) {
        LoggerInstance()->Log(owner, llFatal, "PlayThread Exception: " + E.Message());
        owner->CloseStream();
    }
    owner->SetPlayState(psStop);
    // The last touch of the player: after this the owner may shut SDL down and go.
    owner->FStopEvent.SetEvent();
}

void TEventThread::Execute()
{
    TCustomPlayer* owner = FOwner;
    // Leaves after the final stop, or when terminated with nothing pending: a notice already in the ring is
    // still delivered, so the final stop cannot be dropped by the next Open replacing this thread.
    for (;;) {
        const TPlayEventEntry entry = owner->FPlayEvent.Fetch();
        if (entry.Kind == pekPosition) {
            const int64_t pts = entry.Value;
            owner->Deliver([owner, pts] {
                if (!owner->FDying && !owner->FStopRequested && owner->OnPosition) owner->OnPosition(owner, pts);
            });
        } else if (entry.Kind == pekState) {
            const auto state = static_cast<TPlayState>(entry.Value);
            owner->Deliver([owner, state] {
                if (!owner->FDying && owner->OnState) owner->OnState(owner, state);
            });
            if (state == psStop) break;
        } else if (entry.Kind == pekEnd) {
            break;
        } else if (Terminated()) {
            break;
        } else {
            owner->FPlayEvent.WaitFor(100);
        }
    }
    Terminate();
}

void TCustomPlayer::SetPlayState(TPlayState AState)
{
    FState = AState;
    if (OnState)
        FPlayEvent.Post({pekState, AState});
    else if (AState == psStop)
        FPlayEvent.Post({pekEnd, 0});
}

void TCustomPlayer::PushEvent(Uint8 AType, TVideoState* AState)
{
    if (FSDL.SDL_PushEvent == nullptr) return;
    SDL_Event event{};
    event.type = AType;
    event.user.type = AType;
    event.user.data1 = AState;
    FSDL.SDL_PushEvent(&event);
}

void TCustomPlayer::EventLoop()
{
    for (;;) {
        SDL_Event event{};
        FSDL.SDL_WaitEvent(&event);
        LockData(win::INFINITE);
        TVideoState* is = FVideoState;
        if (is == nullptr) {
            QuitSDL();
            UnlockData();
            return;
        }
        switch (event.type) {
        case SDL_QUIT:
        case EventQuit:
            CloseStream();
            UnlockData();
            return;
        case EventRefresh:
            VideoRefresh(is);
            is->refresh = 0;
            break;
        default:
            HandleDisplayEvent(is, event);  // overlays, re-layout, resize and expose
            break;
        }
        UnlockData();
    }
}

void TCustomPlayer::UpdatePosition(TVideoState* is)
{
    if (is == nullptr || is->IsImage2) return;
    double clock;
    if (is->video_stream >= 0)
        clock = GetVideoClock(*is);
    else if (is->audio_stream >= 0)
        clock = GetAudioClock(*is);
    else
        return;
    int64_t pos = std::llround(clock * 1000000.0) - is->StartTime;
    if (is->video_stream < 0 && is->AudioDuration > 0 && pos >= is->AudioDuration && pos < is->Duration)
        pos = is->Duration;  // the end of the sound ends the file
    FCurrentPTS = pos;
    if (is->Duration > 0 && pos >= is->Duration) {
        if (FLastPTS != is->Duration) FLastPTS = 0;
        pos = is->Duration;
    }
    const int64_t last = FLastPTS;
    if (last == NotSet || std::llabs(pos - last) > 10000) {
        FLastPTS = pos;
        if (OnPosition) FPlayEvent.Post({pekPosition, pos});
    }
    // Before the play notice the end waits: the video side reports it again at the next end packet.
    if (!is->IsDevice && is->EventEOF == 0 && is->ReachEOF == 1 && FPlayAnnounced) {
        if (is->video_stream >= 0) is->EventEOF = 1;
        SetPlayState(psEnd);
    }
    const int64_t play_time = FPlayTime;
    if (play_time != NotSet) {
        const int64_t start = Fstart_time;
        const int64_t end = start != NotSet ? start + play_time : play_time;
        if (pos >= end) {
            switch (FRepeatType.load()) {
            case rtStop:
                RequestStop(is);
                break;
            case rtLoop:
                if (start != NotSet)
                    RequestSeekTo(is, start, TSeekFlags{});
                else
                    RequestSeekTo(is, 0, TSeekFlags{sfAny});
                break;
            case rtNone:
                break;
            }
        }
    }
}

void TCustomPlayer::WaitForStop()
{
    int counter = 1;
    for (;;) {
        if (FStopEvent.WaitFor(100) == wrSignaled) return;
        if (win::GetCurrentThreadId() == MainThreadID) CheckSynchronize();
        if (FVideoState.load() == nullptr) return;
        if (!LockData(100)) continue;
        TVideoState* is = FVideoState;
        if (is == nullptr) {
            UnlockData();
            return;
        }
        ++counter;
        if ((counter > 10 && is->Reading) || counter > 20) {
            // Only the record goes here. SDL stays up: the play thread may still be inside its event wait,
            // and it shuts SDL down itself when it finds no file open.
            RetireState(is);
            UnlockData();
            return;
        }
        PushQuit(is);
        UnlockData();
    }
}

void TCustomPlayer::StreamClose(TVideoState* is)
{
    // The read thread closes the file as it leaves: the decoder must not keep it.
    if (FDecoder != nullptr && is->ic != nullptr && FDecoder->FileHandle() == is->ic) FDecoder->SetFileHandle(nullptr);
    is->abort_request = 1;
    if (is->parse_tid != nullptr) FSDL.SDL_WaitThread(is->parse_tid, nullptr);
    is->parse_tid = nullptr;
    if (is->refresh_tid != nullptr) FSDL.SDL_WaitThread(is->refresh_tid, nullptr);
    is->refresh_tid = nullptr;
    if (is->pictq_mutex != nullptr) FSDL.SDL_DestroyMutex(is->pictq_mutex);
    if (is->pictq_cond != nullptr) FSDL.SDL_DestroyCond(is->pictq_cond);
    is->pictq_mutex = nullptr;
    is->pictq_cond = nullptr;
}

void TCustomPlayer::RetireState(TVideoState* AState)
{
    FVideoState = nullptr;
    StreamClose(AState);
    delete AState;
}

void TCustomPlayer::CloseStream()
{
    LockData(win::INFINITE);
    if (TVideoState* is = FVideoState) RetireState(is);
    UnlockData();
    QuitSDL();
}
