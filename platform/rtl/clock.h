#pragma once
// The clock that timers, fades, time-outs measured in ticks and progress reports read. It is injectable so that
// tests drive time by hand instead of sleeping. Blocking waits on locks and events use real time regardless.
#include "platform/rtl/types.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

class TClock {
public:
    virtual ~TClock() = default;
    // Monotonic microseconds; only differences mean something.
    virtual int64_t NowMicros() const = 0;
};

// Monotonic time since boot, like the platform's tick counter.
class TSystemClock final : public TClock {
public:
    int64_t NowMicros() const override;
};

// Time that moves only when told to. Listeners hear every move, on the thread that moved the clock, so a timer
// queue can fire what fell due. A listener may add or remove listeners; it must not wait for another thread that
// moves this clock or removes a listener.
class TVirtualClock final : public TClock {
public:
    using TListener = std::function<void(int64_t ANowMicros)>;

    explicit TVirtualClock(int64_t AStartMicros = 0);
    int64_t NowMicros() const override;

    void Advance(int64_t AMicros);  // negative steps are refused: the clock is monotonic
    void SetNow(int64_t AMicros);   // same rule
    int AddListener(TListener AListener);
    void RemoveListener(int AId);

private:
    void Notify(int64_t ANow);

    std::recursive_mutex FNotifyLock;
    mutable std::mutex FLock;
    int64_t FNow;
    int FNextId = 1;
    std::map<int, TListener> FListeners;
};

// The clock everything reads. Nullptr restores the system clock. The caller keeps the clock alive while set.
TClock& CurrentClock();
void SetCurrentClock(TClock* AClock);

// Installs a clock for the lifetime of a scope (a test), then restores the previous one.
class TClockOverride {
public:
    explicit TClockOverride(TClock& AClock);
    ~TClockOverride();
    TClockOverride(const TClockOverride&) = delete;
    TClockOverride& operator=(const TClockOverride&) = delete;

private:
    TClock* FPrevious;
};

int64_t GetTickCountMicro();  // microseconds of the current clock

namespace win {
// Milliseconds of the current clock, wrapping at 2^32 as the platform's counter does (about 49.7 days).
// Compare two readings by unsigned subtraction.
DWORD GetTickCount();
uint64_t GetTickCount64();
}  // namespace win
