// Scrolling of the skinned grid: by whole cells on a 0..127 bar scale, by pixels for the horizontal axis of a
// one-column grid, and keeping the linked external bars' range, steps, position and visibility in step.
#include <algorithm>

#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/messages.h"
#include "skin/controls/scroll_bar.h"
#include "skin/dialogs/grids/inplace_editor.h"
#include "skin/dialogs/grids/skin_custom_grid.h"

namespace {

constexpr Integer BarScale = 127;

}  // namespace

void TGridBarWatcher::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FGrid->FHScrollBar) FGrid->FHScrollBar = nullptr;
    if (AComponent == FGrid->FVScrollBar) FGrid->FVScrollBar = nullptr;
}

TspSkinCustomGrid::~TspSkinCustomGrid()
{
    // The editor goes first: it still asks the grid while its window goes.
    delete FInplaceEdit;
    FInplaceEdit = nullptr;
    UnlinkBars();
}


void TspSkinCustomGrid::LinkBar(TspSkinScrollBar* ABar, bool AHorizontal)
{
    ABar->SetEnabled(true);
    ABar->SetVisible(false);
    if (!FBarWatcher) FBarWatcher = std::make_unique<TGridBarWatcher>(this);
    ABar->FreeNotification(FBarWatcher.get());
    const Integer Axis = AHorizontal ? 0 : 1;
    auto Send = [this, Axis](Integer ACode, Integer APos) { ScrollByCode(Axis, ACode, true, APos); };
    if (AHorizontal) {
        // The horizontal buttons step the bar itself, then scroll to its new position.
        ABar->OnUpButtonClick = [ABar, Send](TObject*) {
            ABar->SetPosition(ABar->Position() + ABar->SmallChange());
            Send(win::SB_THUMBPOSITION, ABar->Position());
        };
        ABar->OnDownButtonClick = [ABar, Send](TObject*) {
            ABar->SetPosition(ABar->Position() - ABar->SmallChange());
            Send(win::SB_THUMBPOSITION, ABar->Position());
        };
        ABar->OnLastChange = [ABar, Send](TObject*) { Send(win::SB_THUMBPOSITION, ABar->Position()); };
    } else {
        // The bar's up button means "show what lies below": a line-down request, and the other way round.
        ABar->OnUpButtonClick = [Send](TObject*) { Send(win::SB_LINEDOWN, 0); };
        ABar->OnDownButtonClick = [Send](TObject*) { Send(win::SB_LINEUP, 0); };
        auto Thumb = [ABar, Send](TObject*) { Send(win::SB_THUMBPOSITION, ABar->Position()); };
        if (FOptions.Contains(goThumbTracking))
            ABar->OnChange = Thumb;
        else
            ABar->OnLastChange = Thumb;
    }
    ABar->OnPageUp = [Send](TObject*) { Send(win::SB_PAGEUP, 0); };
    ABar->OnPageDown = [Send](TObject*) { Send(win::SB_PAGEDOWN, 0); };
}

void TspSkinCustomGrid::UnlinkBars()
{
    for (TspSkinScrollBar* Bar : {FHScrollBar, FVScrollBar}) {
        if (!Bar) continue;
        // The hooks point at this grid; a bar that outlives it must not call them.
        Bar->OnUpButtonClick = Bar->OnDownButtonClick = Bar->OnPageUp = Bar->OnPageDown = nullptr;
        Bar->OnChange = Bar->OnLastChange = nullptr;
        Bar->RemoveFreeNotification(FBarWatcher.get());
    }
    FHScrollBar = FVScrollBar = nullptr;
}

void TspSkinCustomGrid::SetHScrollBar(TspSkinScrollBar* AValue)
{
    FHScrollBar = AValue;
    if (AValue) LinkBar(AValue, true);
    SyncScrollBars(true);
}

void TspSkinCustomGrid::SetVScrollBar(TspSkinScrollBar* AValue)
{
    FVScrollBar = AValue;
    if (AValue) LinkBar(AValue, false);
    SyncScrollBars(true);
}

void TspSkinCustomGrid::WndProc(TMessage& AMessage)
{
    if (HandleEditorMessage(AMessage)) return;
    switch (AMessage.Msg) {
    case win::WM_HSCROLL:
    case win::WM_VSCROLL:
        ScrollByCode(AMessage.Msg == win::WM_HSCROLL ? 0 : 1, static_cast<Integer>(AMessage.WParam & 0xFFFF), true,
                     static_cast<Integer>((AMessage.WParam >> 16) & 0xFFFF));
        return;
    case win::WM_SIZE:
        TspSkinControl::WndProc(AMessage);
        if (!Skinned() && FOptions.Contains(goRowSelect)) Invalidate();
        SyncScrollBars(true);
        return;
    case win::WM_TIMER:
        TspSkinControl::WndProc(AMessage);
        DragTimerTick();
        return;
    case win::WM_CANCELMODE:
        TspSkinControl::WndProc(AMessage);
        CancelDrag();
        return;
    case win::WM_GETDLGCODE: {
        AMessage.Result = win::DLGC_WANTARROWS;
        if (!FOptions.Contains(goRowSelect)) {
            if (FOptions.Contains(goTabs)) AMessage.Result |= win::DLGC_WANTTAB;
            if (FOptions.Contains(goEditing)) AMessage.Result |= win::DLGC_WANTCHARS;
        }
        return;
    }
    case win::WM_PAINT:
        TspSkinControl::WndProc(AMessage);
        if (!FInCheckScrollBars && HandleAllocated()) SyncScrollBars(true);
        return;
    case CM_VISIBLECHANGED:
        // The linked bars go and come with the grid; shown again, the grid decides which of them it needs.
        TspSkinControl::WndProc(AMessage);
        for (TspSkinScrollBar* bar : {FHScrollBar, FVScrollBar})
            if (bar) bar->SetVisible(Visible());
        if (Visible() && HandleAllocated()) SyncScrollBars(true);
        return;
    default:
        TspSkinControl::WndProc(AMessage);
    }
}

void TspSkinCustomGrid::ScrollByCode(Integer AScrollBar, Integer ACode, bool /*AUseRightToLeft*/, Integer APos)
{
    // Right-to-left layout does not exist on this platform, so the direction factor is always 1.
    const Integer F = 1;
    if (Visible() && CanFocus() && TabStop() && !Designing()) SetFocus();
    const TGridLayout L = ComputeLayout();
    if (AScrollBar == 0 && FColCount == 1) {
        ScrollOneColumn(ACode, APos, F, L);
        return;
    }
    const TGridCoord Max = MaxTopLeftFor({FColCount - 1, FRowCount - 1}, L);
    const bool Horz = AScrollBar == 0;
    const Integer Min = Horz ? FFixedCols : FFixedRows;
    const Integer AxisMax = Horz ? Max.X : Max.Y;
    const TGridAxisLayout& A = Horz ? L.Horz : L.Vert;
    const Integer Current = Horz ? LeftCol() : TopRow();
    auto Step = [&](Integer V) {
        switch (ACode) {
        case win::SB_LINEUP: return V - F;
        case win::SB_LINEDOWN: return V + F;
        case win::SB_PAGEUP: {
            const TGridCoord M = MaxTopLeftFor(FTopLeft, L);
            return V - std::max(1, Current - (Horz ? M.X : M.Y)) * F;
        }
        case win::SB_PAGEDOWN: return V + std::max(1, A.LastFullCell - Current) * F;
        case win::SB_THUMBTRACK:
            if (!FOptions.Contains(goThumbTracking)) return V;
            [[fallthrough]];
        case win::SB_THUMBPOSITION: return Min + MulDiv(APos, AxisMax - Min, BarScale);
        case win::SB_TOP: return Min;
        case win::SB_BOTTOM: return AxisMax;
        default: return V;
        }
    };
    Integer V = Current;
    for (;;) {
        const Integer Next = Step(V);
        const bool Changed = Next != V;
        V = Next;
        // Hidden cells (extent 0) are stepped over, except at the ends.
        if (!Changed || V <= Min || V >= AxisMax || A.GetExtent(V) > 0) break;
    }
    V = std::clamp(V, Min, std::max(Min, AxisMax));
    if (V != Current) SetTopLeft(Horz ? V : LeftCol(), Horz ? TopRow() : V);
}

void TspSkinCustomGrid::ScrollOneColumn(Integer ACode, Integer APos, Integer F, const TGridLayout& L)
{
    Integer NewOffset = FColOffset;
    const Integer ColWidth = ColWidths(LeftCol());
    const Integer GridSpace = ClientWidth() - L.Horz.FixedEnd;
    switch (ACode) {
    case win::SB_LINEUP: NewOffset -= Canvas()->TextWidth("0") * F; break;
    case win::SB_LINEDOWN: NewOffset += Canvas()->TextWidth("0") * F; break;
    case win::SB_PAGEUP: NewOffset -= GridSpace * F; break;
    case win::SB_PAGEDOWN: NewOffset += GridSpace * F; break;
    case win::SB_THUMBTRACK:
        if (FOptions.Contains(goThumbTracking)) NewOffset = APos;
        break;
    case win::SB_THUMBPOSITION: NewOffset = APos; break;
    case win::SB_TOP: NewOffset = 0; break;
    case win::SB_BOTTOM: NewOffset = ColWidth - GridSpace; break;
    default: break;
    }
    NewOffset = NewOffset < 0 ? 0 : std::min(NewOffset, ColWidth - GridSpace);
    NewOffset = std::max(NewOffset, 0);
    if (NewOffset == FColOffset) return;
    const Integer Old = FColOffset;
    FColOffset = NewOffset;
    ScrollCells(Old - NewOffset, 0, L);
    InvalidateClientRect(GridRectToClientRect({0, 0, 0, FFixedRows}, true), false);
    Update();
    SyncScrollBarPositions(true);
}

void TspSkinCustomGrid::SyncScrollBarPositions(bool AUpdateVert)
{
    if (!HandleAllocated()) return;
    const TGridLayout L = ComputeLayout();
    const TGridCoord Max = MaxTopLeftFor({FColCount - 1, FRowCount - 1}, L);
    Integer HValue;
    if (FColCount == 1) {
        const Integer ColWidth = ColWidths(LeftCol());
        const Integer GridSpace = ClientWidth() - L.Horz.FixedEnd;
        if (FColOffset > 0 && GridSpace > ColWidth - FColOffset) {
            ScrollByCode(0, win::SB_THUMBPOSITION, true, ColWidth - GridSpace);
            return;
        }
        HValue = FColOffset;
    } else {
        HValue = MulDiv(LeftCol() - FFixedCols, BarScale, Max.X - FFixedCols);
    }
    const Integer VValue = MulDiv(TopRow() - FFixedRows, BarScale, Max.Y - FFixedRows);
    if (FHScrollBar) FHScrollBar->SimplySetPosition(HValue);
    if (FVScrollBar && AUpdateVert) FVScrollBar->SimplySetPosition(VValue);
}

bool TspSkinCustomGrid::SyncAxisRange(bool AHorizontal, Integer AWidth, Integer AHeight, bool AUpdateVert,
                                      const TGridCoord& AOldTopLeft)
{
    TspSkinScrollBar* Bar = AHorizontal ? FHScrollBar : (AUpdateVert ? FVScrollBar : nullptr);
    bool Show = Bar && Bar->Visible();
    if (AHorizontal && FColCount == 1) {
        const Integer Range = std::max(0, ColWidths(0) - AWidth);
        if (!Bar) return false;
        if (Range < 1) return false;
        Bar->SetRange(0, Range, Bar->Position(), 0);
        Bar->SetSmallChange(std::max(1, Bar->Max()));
        Bar->SetLargeChange(Bar->SmallChange());
        return true;
    }
    const TGridLayout L = ComputeLayoutFor(AWidth, AHeight);
    const TGridCoord Max = MaxTopLeftFor({FColCount - 1, FRowCount - 1}, L);
    const Integer Fixed = AHorizontal ? FFixedCols : FFixedRows;
    const Integer AxisMax = AHorizontal ? Max.X : Max.Y;
    if (Fixed < AxisMax && Bar) {
        Bar->SetRange(0, BarScale, Bar->Position(), 0);
        const Integer Visible = AHorizontal ? L.Horz.LastFullCell - LeftCol() + 1 : L.Vert.LastFullCell - TopRow() + 1;
        Integer N = (AHorizontal ? FColCount : FRowCount) - Visible - Fixed;
        if (N == 0) N = 1;
        Bar->SetSmallChange(std::max(1, Bar->Max() / N));
        Bar->SetLargeChange(Bar->SmallChange());
        Show = true;
    } else if (Bar) {
        Bar->SetRange(0, 0, 0, 0);
        Show = false;
    }
    const Integer OldFirst = AHorizontal ? AOldTopLeft.X : AOldTopLeft.Y;
    if (OldFirst > AxisMax) {
        Update();
        (AHorizontal ? FTopLeft.X : FTopLeft.Y) = std::max(AxisMax, Fixed);
    }
    return Show;
}

void TspSkinCustomGrid::SyncScrollBars(bool AUpdateVert)
{
    if (!HandleAllocated() || !Showing() || FInCheckScrollBars) return;
    Integer W = ClientWidth();
    Integer H = ClientHeight();
    const TGridCoord OldTopLeft = FTopLeft;
    bool ShowH = SyncAxisRange(true, W, H, AUpdateVert, OldTopLeft);
    H = ClientHeight();
    const bool ShowV = SyncAxisRange(false, W, H, AUpdateVert, OldTopLeft);
    if (ClientWidth() != W) {
        W = ClientWidth();
        ShowH = SyncAxisRange(true, W, H, AUpdateVert, OldTopLeft);
    }
    SyncScrollBarPositions(true);
    if (!(FTopLeft == OldTopLeft)) AfterTopLeftMove(OldTopLeft);
    FInCheckScrollBars = true;
    if (FVScrollBar && AUpdateVert && FVScrollBar->Visible() != ShowV) FVScrollBar->SetVisible(ShowV);
    if (FHScrollBar && FHScrollBar->Visible() != ShowH) FHScrollBar->SetVisible(ShowH);
    FInCheckScrollBars = false;
    if (FHScrollBar && FVScrollBar && FHScrollBar->Both() != FVScrollBar->Visible())
        FHScrollBar->SetBoth(FVScrollBar->Visible());
}
