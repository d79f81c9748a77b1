#include "platform/rtl/clock.h"

#include "platform/rtl/exceptions.h"

#include <atomic>
#include <ctime>
#include <vector>

namespace {
TSystemClock system_clock;
std::atomic<TClock*> current_clock{&system_clock};
}  // namespace

int64_t TSystemClock::NowMicros() const
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

TVirtualClock::TVirtualClock(int64_t AStartMicros) : FNow(AStartMicros) {}

int64_t TVirtualClock::NowMicros() const
{
    std::lock_guard lock(FLock);
    return FNow;
}

void TVirtualClock::Advance(int64_t AMicros)
{
    if (AMicros < 0)
        throw EInvalidArgument("The clock cannot go back");
    int64_t now;
    {
        std::lock_guard lock(FLock);
        FNow += AMicros;
        now = FNow;
    }
    Notify(now);
}

void TVirtualClock::SetNow(int64_t AMicros)
{
    {
        std::lock_guard lock(FLock);
        if (AMicros < FNow)
            throw EInvalidArgument("The clock cannot go back");
        FNow = AMicros;
    }
    Notify(AMicros);
}

int TVirtualClock::AddListener(TListener AListener)
{
    std::lock_guard lock(FLock);
    int id = FNextId++;
    FListeners.emplace(id, std::move(AListener));
    return id;
}

void TVirtualClock::RemoveListener(int AId)
{
    // Waits for a notification running on another thread, so the listener's owner may go right after.
    std::lock_guard notifying(FNotifyLock);
    std::lock_guard lock(FLock);
    FListeners.erase(AId);
}

void TVirtualClock::Notify(int64_t ANow)
{
    // Looked up one by one, so that a listener may add or remove listeners (a timer that kills itself).
    std::lock_guard notifying(FNotifyLock);
    std::vector<int> ids;
    {
        std::lock_guard lock(FLock);
        for (auto& entry : FListeners)
            ids.push_back(entry.first);
    }
    for (int id : ids) {
        TListener listener;
        {
            std::lock_guard lock(FLock);
            auto found = FListeners.find(id);
            if (found == FListeners.end())
                continue;
            listener = found->second;
        }
        listener(ANow);
    }
}

TClock& CurrentClock()
{
    return *current_clock.load(std::memory_order_acquire);
}

void SetCurrentClock(TClock* AClock)
{
    current_clock.store(AClock ? AClock : &system_clock, std::memory_order_release);
}

TClockOverride::TClockOverride(TClock& AClock) : FPrevious(&CurrentClock())
{
    SetCurrentClock(&AClock);
}

TClockOverride::~TClockOverride()
{
    SetCurrentClock(FPrevious);
}

int64_t GetTickCountMicro()
{
    return CurrentClock().NowMicros();
}

namespace win {
DWORD GetTickCount()
{
    return DWORD(GetTickCount64());
}

uint64_t GetTickCount64()
{
    return uint64_t(CurrentClock().NowMicros() / 1000);
}
}  // namespace win
