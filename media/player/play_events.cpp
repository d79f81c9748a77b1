#include "media/player/play_events.h"

void TPlayEvent::Post(const TPlayEventEntry& AEntry)
{
    std::lock_guard guard(Lock);
    const int newest = (Tailer + Capacity - 1) % Capacity;
    if (Header == Tailer || Events[newest].Kind != AEntry.Kind) {
        Tailer = (Tailer + 1) % Capacity;
        if (Tailer == Header) Header = (Header + 1) % Capacity;  // full: the oldest notice is lost
    }
    Events[(Tailer + Capacity - 1) % Capacity] = AEntry;
    Event.SetEvent();
}

TPlayEventEntry TPlayEvent::Fetch()
{
    std::lock_guard guard(Lock);
    TPlayEventEntry entry;
    if (Header != Tailer) {
        entry = Events[Header];
        Header = (Header + 1) % Capacity;
    }
    if (Header == Tailer) Event.ResetEvent();
    return entry;
}

void TPlayEvent::Clear()
{
    std::lock_guard guard(Lock);
    Header = Tailer = 0;
    Event.ResetEvent();
}
