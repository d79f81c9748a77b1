#include "platform/win/geometry.h"

#include "platform/win/window.h"
#include "platform/win/window_pos.h"

#include <algorithm>
#include <vector>

struct win::HDWP__ {
    std::vector<win::wm::TPendingWindowPos> Entries;
};

namespace win {

using namespace wm;

HDWP BeginDeferWindowPos(int ANumWindows)
{
    if (ANumWindows < 0)
        return nullptr;
    auto* batch = new HDWP__;
    batch->Entries.reserve(static_cast<size_t>(std::min(ANumWindows, 256)));
    return batch;
}

HDWP DeferWindowPos(HDWP APositions, HWND AWindow, HWND AInsertAfter, int AX, int AY, int ACx, int ACy, UINT AFlags)
{
    if (!APositions)
        return nullptr;
    if (!IsWindow(AWindow)) {
        delete APositions;
        return nullptr;
    }
    WINDOWPOS pos{AWindow, AInsertAfter, AX, AY, ACx, ACy, AFlags};
    auto& entries = APositions->Entries;
    auto same = std::find_if(entries.begin(), entries.end(),
                             [&](const TPendingWindowPos& AEntry) { return AEntry.Pos.hwnd == AWindow; });
    if (same != entries.end()) {
        same->Pos = pos;
    } else {
        entries.emplace_back();
        entries.back().Pos = pos;
    }
    return APositions;
}

BOOL EndDeferWindowPos(HDWP APositions)
{
    if (!APositions)
        return FALSE;
    std::vector<TPendingWindowPos> entries = std::move(APositions->Entries);
    delete APositions;
    // A window may be destroyed by another's handler on the way; it simply drops out.
    std::vector<TPendingWindowPos*> ready;
    for (auto& entry : entries)
        if (PrepareWindowPos(entry))
            ready.push_back(&entry);
    std::vector<TPendingWindowPos*> moved;
    for (auto* entry : ready)
        if (CommitWindowPos(*entry))
            moved.push_back(entry);
    for (auto* entry : moved)
        if (IsWindow(entry->Pos.hwnd))
            AnnounceWindowPos(*entry);
    return TRUE;
}

}  // namespace win
