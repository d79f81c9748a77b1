#pragma once
// The small ring between the player's threads and its event thread: position and state notices, where a new
// notice replaces a pending one of the same kind, so a slow handler sees the newest position and state.
#include <cstdint>
#include <mutex>

#include "platform/rtl/threads.h"

enum TPlayEventKind { pekNone = 0, pekPosition = 1, pekState = 2, pekEnd = 3 };

struct TPlayEventEntry {
    int Kind = pekNone;
    int64_t Value = 0;
};

class TPlayEvent {
public:
    static constexpr int Capacity = 10;  // one slot stays free: at most 9 pending

    // Any thread.
    void Post(const TPlayEventEntry& AEntry);
    // Any thread. Kind pekNone when nothing is pending.
    TPlayEventEntry Fetch();
    // Waits up to ATimeout ms for a pending notice.
    bool WaitFor(DWORD ATimeout) { return Event.WaitFor(ATimeout) == wrSignaled; }
    void Clear();

private:
    std::mutex Lock;
    // Signalled while notices are pending. It is set and reset under Lock only: a reset after the lock was left
    // could wipe out the signal of a notice posted in between, and that notice (the final stop, say) would wait
    // in the ring with nobody woken for it.
    TEvent Event{true, false};
    int Header = 0;
    int Tailer = 0;
    TPlayEventEntry Events[Capacity];
};
