#include "skin/controls/repeat_timer.h"

#include "platform/win/message_queue.h"

TspRepeatTimer::TspRepeatTimer(std::function<win::HWND()> AWindow, win::UINT_PTR AId)
    : FWindow(std::move(AWindow)), FId(AId)
{
}

TspRepeatTimer::~TspRepeatTimer() = default;

void TspRepeatTimer::Set(win::UINT AMs)
{
    if (win::HWND window = FWindow()) {
        win::SetTimer(window, FId, AMs);
        FRunning = true;
    }
}

void TspRepeatTimer::Kill()
{
    if (FRunning)
        if (win::HWND window = FWindow()) win::KillTimer(window, FId);
    FRunning = false;
}

void TspRepeatTimer::Start(win::UINT AFirstDelayMs)
{
    Kill();
    FWaiting = true;
    Set(AFirstDelayMs);
}

bool TspRepeatTimer::Tick(win::UINT ARepeatMs)
{
    if (!FWaiting) return true;
    FWaiting = false;
    Kill();
    Set(ARepeatMs);
    return false;
}

void TspRepeatTimer::Pause()
{
    Kill();
}

void TspRepeatTimer::Resume(win::UINT AIntervalMs)
{
    Kill();
    Set(AIntervalMs);
}

void TspRepeatTimer::Stop()
{
    Kill();
    FWaiting = false;
}
