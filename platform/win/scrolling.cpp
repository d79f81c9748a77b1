#include "platform/win/scrolling.h"

#include "platform/win/geometry.h"
#include "platform/win/messages.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "platform/win/window_state.h"

#include <algorithm>

namespace win {

using namespace wm;

namespace {

DWORD StyleOfBar(int ABar) { return ABar == SB_HORZ ? WS_HSCROLL : ABar == SB_VERT ? WS_VSCROLL : 0; }

bool ValidBar(int ABar) { return ABar == SB_HORZ || ABar == SB_VERT || ABar == SB_CTL; }

// The bar's state; made when AMake, or when the window shows the bar by its style.
TScrollState* StateOf(HWND AWindow, int ABar, bool AMake)
{
    TWindow* window = Find(AWindow);
    if (!window || !ValidBar(ABar))
        return nullptr;
    auto& slot = window->Scroll[ABar];
    if (!slot && (AMake || (window->Style & StyleOfBar(ABar)))) {
        slot.emplace();
        if (ABar == SB_CTL)
            slot->Max = 0;
    }
    return slot ? &*slot : nullptr;
}

// The last position the page leaves room for.
int64_t HighestPos(int AMin, int AMax, UINT APage)
{
    return std::max<int64_t>(AMin, int64_t(AMax) - std::max<int64_t>(int64_t(APage) - 1, 0));
}

void Clamp(TScrollState& AState)
{
    int64_t size = int64_t(AState.Max) - AState.Min + 1;
    AState.Page = static_cast<UINT>(std::min<int64_t>(AState.Page, size));
    AState.Pos = static_cast<int>(std::clamp<int64_t>(AState.Pos, AState.Min, HighestPos(AState.Min, AState.Max,
                                                                                         AState.Page)));
}

}  // namespace

int SetScrollInfo(HWND AWindow, int ABar, const SCROLLINFO& AInfo, BOOL)
{
    TLock lock(State().Lock);
    TScrollState* state = StateOf(AWindow, ABar, true);
    if (!state)
        return 0;
    if (AInfo.fMask & SIF_RANGE) {
        // A reversed range, or one too wide to count, is no range.
        bool invalid = AInfo.nMin > AInfo.nMax || int64_t(AInfo.nMax) - AInfo.nMin >= 0x80000000LL;
        state->Min = invalid ? 0 : AInfo.nMin;
        state->Max = invalid ? 0 : AInfo.nMax;
    }
    if (AInfo.fMask & SIF_PAGE)
        state->Page = AInfo.nPage;
    if (AInfo.fMask & SIF_POS)
        state->Pos = AInfo.nPos;
    Clamp(*state);
    return state->Pos;
}

BOOL GetScrollInfo(HWND AWindow, int ABar, SCROLLINFO& AInfo)
{
    TLock lock(State().Lock);
    TScrollState* state = StateOf(AWindow, ABar, false);
    if (!state)
        return FALSE;
    if (AInfo.fMask & SIF_RANGE) {
        AInfo.nMin = state->Min;
        AInfo.nMax = state->Max;
    }
    if (AInfo.fMask & SIF_PAGE)
        AInfo.nPage = state->Page;
    if (AInfo.fMask & SIF_POS)
        AInfo.nPos = state->Pos;
    if (AInfo.fMask & SIF_TRACKPOS)
        AInfo.nTrackPos = state->Pos;
    return TRUE;
}

int GetScrollPos(HWND AWindow, int ABar)
{
    SCROLLINFO info;
    info.fMask = SIF_POS;
    return GetScrollInfo(AWindow, ABar, info) ? info.nPos : 0;
}

int SetScrollPos(HWND AWindow, int ABar, int APos, BOOL ARedraw)
{
    int old = GetScrollPos(AWindow, ABar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = APos;
    SetScrollInfo(AWindow, ABar, info, ARedraw);
    return old;
}

BOOL GetScrollRange(HWND AWindow, int ABar, int* AMin, int* AMax)
{
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    BOOL ok = GetScrollInfo(AWindow, ABar, info);
    if (AMin)
        *AMin = ok ? info.nMin : 0;
    if (AMax)
        *AMax = ok ? info.nMax : 0;
    return ok;
}

BOOL SetScrollRange(HWND AWindow, int ABar, int AMin, int AMax, BOOL ARedraw)
{
    if (!IsWindow(AWindow) || !ValidBar(ABar))
        return FALSE;
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = AMin;
    info.nMax = AMax;
    SetScrollInfo(AWindow, ABar, info, ARedraw);
    return TRUE;
}

BOOL ShowScrollBar(HWND AWindow, int ABar, BOOL AShow)
{
    DWORD bits = ABar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : StyleOfBar(ABar);
    if (!IsWindow(AWindow) || !bits)
        return FALSE;
    {
        TLock lock(State().Lock);
        // Made now, so the bar keeps its state once hidden again.
        for (int bar : {SB_HORZ, SB_VERT})
            if (bits & StyleOfBar(bar))
                StateOf(AWindow, bar, true);
    }
    DWORD style = static_cast<DWORD>(GetWindowLong(AWindow, GWL_STYLE));
    DWORD wanted = AShow ? (style | bits) : (style & ~bits);
    if (wanted != style) {
        SetWindowLong(AWindow, GWL_STYLE, static_cast<LONG_PTR>(wanted));
        SetWindowPos(AWindow, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}

BOOL EnableScrollBar(HWND AWindow, UINT ABar, UINT AArrows)
{
    TLock lock(State().Lock);
    bool changed = false;
    for (int bar : {SB_HORZ, SB_VERT, SB_CTL}) {
        bool named = static_cast<int>(ABar) == bar || (ABar == SB_BOTH && bar != SB_CTL);
        if (!named)
            continue;
        TScrollState* state = StateOf(AWindow, bar, true);
        if (!state)
            return FALSE;
        changed |= state->DisabledArrows != (AArrows & ESB_DISABLE_BOTH);
        state->DisabledArrows = AArrows & ESB_DISABLE_BOTH;
    }
    return changed;
}

int ScrollRequestTarget(const SCROLLINFO& AInfo, WORD ACode, int AThumb, int ALine)
{
    int64_t page = std::max<int64_t>(AInfo.nPage, 1);
    int64_t pos = AInfo.nPos;
    switch (ACode) {
    case SB_LINEUP: pos -= ALine; break;
    case SB_LINEDOWN: pos += ALine; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        // The message holds 16 bits of the thumb; the whole 32-bit position stands in the track position.
        pos = AThumb;
        if ((AInfo.fMask & SIF_TRACKPOS) && (AInfo.nTrackPos & 0xFFFF) == (AThumb & 0xFFFF))
            pos = AInfo.nTrackPos;
        break;
    case SB_TOP: pos = AInfo.nMin; break;
    case SB_BOTTOM: pos = AInfo.nMax; break;
    default: break;
    }
    return static_cast<int>(std::clamp<int64_t>(pos, AInfo.nMin, HighestPos(AInfo.nMin, AInfo.nMax, AInfo.nPage)));
}

}  // namespace win
