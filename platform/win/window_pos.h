#pragma once
// Internal: SetWindowPos in three steps, so that a batch of deferred positions can ask every window first,
// move them all, and only then tell them.
#include "platform/win/win_types.h"

namespace win::wm {

struct TPendingWindowPos {
    WINDOWPOS Pos;
    TRect OldWindow, OldClient, NewWindow, NewClient;
    bool Child = false, TopLevel = false, Moved = false, Sized = false, Shown = false, Hidden = false;
};

// WM_WINDOWPOSCHANGING and WM_NCCALCSIZE; false when the window is gone.
bool PrepareWindowPos(TPendingWindowPos& APending);
// The new place, Z-order, visibility and invalidation; no message is sent.
bool CommitWindowPos(TPendingWindowPos& APending);
// The desktop hears of it, activation, then WM_WINDOWPOSCHANGED.
void AnnounceWindowPos(TPendingWindowPos& APending);

}  // namespace win::wm
