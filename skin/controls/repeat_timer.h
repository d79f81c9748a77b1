#pragma once
// The auto-repeat of a held arrow, page or button press on one window timer of the control's own window. The
// first tick after a press only switches the timer to the repeat interval; every later tick is a step. A repeat
// pauses while the pointer is off the pressed part and resumes at a given interval.
#include <functional>

#include "platform/win/win.h"

class TspRepeatTimer {
public:
    // AWindow gives the control's window when the timer is set or killed; AId is the timer's number on it.
    explicit TspRepeatTimer(std::function<win::HWND()> AWindow, win::UINT_PTR AId = 1);
    ~TspRepeatTimer();
    TspRepeatTimer(const TspRepeatTimer&) = delete;
    TspRepeatTimer& operator=(const TspRepeatTimer&) = delete;

    // A press: the first delay runs.
    void Start(win::UINT AFirstDelayMs);
    // A WM_TIMER of this timer: true when this tick is a step, false for the first tick, which only moves the
    // timer to ARepeatMs.
    bool Tick(win::UINT ARepeatMs);
    void Pause();
    void Resume(win::UINT AIntervalMs);
    void Stop();

    bool Waiting() const { return FWaiting; }
    bool Running() const { return FRunning; }
    win::UINT_PTR Id() const { return FId; }

private:
    void Set(win::UINT AMs);
    void Kill();

    std::function<win::HWND()> FWindow;
    win::UINT_PTR FId;
    bool FWaiting = false;
    bool FRunning = false;
};
