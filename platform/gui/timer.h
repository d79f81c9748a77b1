#pragma once
// A component that calls OnTimer every Interval milliseconds of the current clock while Enabled.
#include "platform/rtl/classes.h"
#include "platform/win/win.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool AValue);
    Cardinal Interval() const { return FInterval; }
    void SetInterval(Cardinal AValue);
    TNotifyEvent OnTimer;
    void SetOnTimer(TNotifyEvent AValue);

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    bool FEnabled = true;
    Cardinal FInterval = 1000;
    win::HWND FWindow = nullptr;
    bool FRunning = false;
};
