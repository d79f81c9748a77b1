#include "platform/gui/scroll_box.h"

#include "platform/win/scrolling.h"

#include <algorithm>

using namespace win;

// ---- TControlScrollBar -----------------------------------------------------------------------------------------

void TControlScrollBar::SetRange(Integer AValue)
{
    FControl->FAutoScroll = false;
    SetRangeInternal(AValue);
}

void TControlScrollBar::SetRangeInternal(Integer AValue)
{
    AValue = std::max<Integer>(AValue, 0);
    if (AValue == FRange)
        return;
    FRange = AValue;
    // A shorter range pulls the content back so no empty space is scrolled into view.
    SetPosition(FPosition);
    Update();
}

Integer TControlScrollBar::Page() const
{
    return FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
}

Integer TControlScrollBar::MaxPosition() const
{
    return std::max<Integer>(0, FRange - Page());
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    return FVisible && FRange > Page();
}

void TControlScrollBar::SetPosition(Integer AValue)
{
    AValue = std::clamp<Integer>(AValue, 0, MaxPosition());
    if (AValue == FPosition)
        return;
    Integer delta = FPosition - AValue;
    FPosition = AValue;
    if (FKind == sbHorizontal)
        FControl->ScrollBy(delta, 0);
    else
        FControl->ScrollBy(0, delta);
    Update();
}

void TControlScrollBar::SetMargin(Integer AValue)
{
    FMargin = std::max<Integer>(AValue, 0);
    if (FControl->FAutoScroll)
        FControl->CalcAutoRange();
}

void TControlScrollBar::SetVisible(bool AValue)
{
    if (AValue == FVisible)
        return;
    FVisible = AValue;
    Update();
}

SCROLLINFO TControlScrollBar::Info() const
{
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    info.nMin = 0;
    info.nMax = FRange - 1;
    info.nPage = static_cast<UINT>(std::max<Integer>(Page(), 0));
    info.nPos = FPosition;
    return info;
}

void TControlScrollBar::ScrollMessage(WORD ACode, Integer AThumb)
{
    if (ACode == SB_ENDSCROLL || (ACode == SB_THUMBTRACK && !FTracking))
        return;
    SetPosition(ScrollRequestTarget(Info(), ACode, AThumb, FIncrement));
}

void TControlScrollBar::Update()
{
    if (!FControl->HandleAllocated())
        return;
    // The window keeps the same state, so the platform's scroll queries and a drawn bar read it there.
    int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
    SetScrollInfo(FControl->Handle(), bar, Info(), TRUE);
    ShowScrollBar(FControl->Handle(), bar, IsScrollBarVisible());
}

// ---- TWinControl::ScrollBy -------------------------------------------------------------------------------------

void TWinControl::ScrollBy(Integer ADeltaX, Integer ADeltaY)
{
    if (ADeltaX == 0 && ADeltaY == 0)
        return;
    DisableAlign();
    try {
        for (Integer i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            child->SetBounds(child->Left() + ADeltaX, child->Top() + ADeltaY, child->Width(), child->Height());
        }
    } catch (...) {
        ControlState().Exclude(csAlignmentNeeded);
        EnableAlign();
        throw;
    }
    // The children are already where alignment would put them; no second pass.
    ControlState().Exclude(csAlignmentNeeded);
    EnableAlign();
    Invalidate();
}

// ---- TScrollingWinControl --------------------------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TScrollingWinControl::SetAutoScroll(bool AValue)
{
    if (AValue == FAutoScroll)
        return;
    FAutoScroll = AValue;
    if (AValue)
        CalcAutoRange();
    else
        UpdateScrollBars();
}

void TScrollingWinControl::AdjustClientRect(TRect& ARect)
{
    TRect client = ClientRect();
    ARect = Bounds(-FHorzScrollBar.Position(), -FVertScrollBar.Position(),
                   std::max(FHorzScrollBar.Range(), client.Width()), std::max(FVertScrollBar.Range(), client.Height()));
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& ARect)
{
    TWinControl::AlignControls(AControl, ARect);
    if (FAutoScroll)
        CalcAutoRange();
    else
        UpdateScrollBars();
}

void TScrollingWinControl::CalcAutoRange()
{
    if (FUpdatingRange)
        return;
    FUpdatingRange = true;
    // Only children that keep their size when the client area changes set the extent; the others follow it.
    Integer right = 0, bottom = 0;
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (!child->Visible())
            continue;
        TAlign align = child->Align();
        TAnchors anchors = child->Anchors();
        if ((align == alNone && !anchors.Contains(akRight)) || align == alLeft)
            right = std::max(right, child->Left() + child->Width() + FHorzScrollBar.Position());
        if ((align == alNone && !anchors.Contains(akBottom)) || align == alTop)
            bottom = std::max(bottom, child->Top() + child->Height() + FVertScrollBar.Position());
    }
    try {
        FHorzScrollBar.SetRangeInternal(right > 0 ? right + FHorzScrollBar.Margin() : 0);
        FVertScrollBar.SetRangeInternal(bottom > 0 ? bottom + FVertScrollBar.Margin() : 0);
    } catch (...) {
        FUpdatingRange = false;
        throw;
    }
    FUpdatingRange = false;
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars()
{
    // A larger client area may leave the content scrolled too far.
    FHorzScrollBar.SetPosition(FHorzScrollBar.Position());
    FVertScrollBar.SetPosition(FVertScrollBar.Position());
    FHorzScrollBar.Update();
    FVertScrollBar.Update();
}

void TScrollingWinControl::ScrollInView(TControl* AControl)
{
    if (!AControl || !ContainsControl(AControl) || AControl == this)
        return;
    TRect rect = AControl->BoundsRect();
    for (TWinControl* parent = AControl->Parent(); parent && parent != this; parent = parent->Parent())
        rect = RectOffset(rect, parent->Left(), parent->Top());
    auto bring = [](TControlScrollBar& ABar, Integer AStart, Integer AEnd) {
        Integer page = ABar.Page();
        if (AStart < 0)
            ABar.SetPosition(ABar.Position() + AStart);
        else if (AEnd > page)
            ABar.SetPosition(ABar.Position() + std::min(AEnd - page, AStart));
    };
    bring(FHorzScrollBar, rect.Left, rect.Right);
    bring(FVertScrollBar, rect.Top, rect.Bottom);
}

void TScrollingWinControl::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == WM_HSCROLL || AMessage.Msg == WM_VSCROLL) {
        // Only the bars of this window; a scroll bar control's notification carries its handle.
        if (AMessage.LParam == 0) {
            TControlScrollBar& bar = AMessage.Msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar;
            bar.ScrollMessage(LOWORD(AMessage.WParam), static_cast<int16_t>(HIWORD(AMessage.WParam)));
            AMessage.Result = 0;
            return;
        }
    }
    TWinControl::WndProc(AMessage);
}

// ---- TScrollBox ------------------------------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    ControlStyle().Include(csAcceptsControls);
    SetBounds(0, 0, 185, 41);
    SetAutoScroll(true);
}
