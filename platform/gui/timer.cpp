#include "platform/gui/timer.h"

#include "platform/gui/application.h"
#include "platform/gui/utility_window.h"

using namespace win;

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
    DeallocateHWnd(FWindow);
}

void TTimer::UpdateTimer()
{
    if (FRunning && FWindow)
        KillTimer(FWindow, 1);
    FRunning = false;
    if (!FEnabled || FInterval == 0 || !OnTimer)
        return;
    if (!FWindow)
        FWindow = AllocateHWnd([this](TMessage& AMessage) {
            if (AMessage.Msg != WM_TIMER)
                return;
            try {
                Timer();
            } catch (...) {
                if (!Application)
                    throw;
                Application->HandleException(this);
            }
        });
    if (!SetTimer(FWindow, 1, FInterval))
        throw EInvalidOperation("Not enough timers available");
    FRunning = true;
}

void TTimer::SetEnabled(bool AValue)
{
    if (AValue == FEnabled)
        return;
    FEnabled = AValue;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal AValue)
{
    if (AValue == FInterval)
        return;
    FInterval = AValue;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent AValue)
{
    OnTimer = std::move(AValue);
    UpdateTimer();
}

void TTimer::Timer()
{
    if (FEnabled && OnTimer)
        OnTimer(this);
}
