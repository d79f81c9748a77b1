// Keyboard and mouse input of the skinned grid: the key map, selecting by click and drag with auto-scroll,
// sizing columns and rows at their dividers, moving them by their fixed cells, and the wheel.
#include <algorithm>

#include "platform/gui/canvas.h"
#include "platform/win/input.h"
#include "platform/win/keys.h"
#include "platform/win/message_queue.h"
#include "platform/win/painting.h"
#include "skin/dialogs/grids/skin_custom_grid.h"

namespace {

constexpr win::UINT_PTR DragTimerId = 1;
constexpr win::UINT DragTimerInterval = 60;
constexpr win::WORD KeyF2 = 0x71;

}  // namespace

void TspSkinCustomGrid::KeyDown(win::WORD& AKey, TShiftState AShift)
{
    TspSkinControl::KeyDown(AKey, AShift);
    if (!GridAcceptsKey(AKey, AShift)) AKey = 0;
    const Integer F = 1;  // no right-to-left layout on this platform
    TGridCoord NewCurrent = FCurrent;
    TGridCoord NewTopLeft = FTopLeft;
    const TGridLayout L = ComputeLayout();
    const Integer PageWidth = std::max(1, L.Horz.LastFullCell - LeftCol());
    const Integer PageHeight = std::max(1, L.Vert.LastFullCell - TopRow());
    const bool RowSelect = FOptions.Contains(goRowSelect);
    if (AShift.Contains(ssCtrl)) {
        switch (AKey) {
        case win::VK_UP: --NewTopLeft.Y; break;
        case win::VK_DOWN: ++NewTopLeft.Y; break;
        case win::VK_LEFT:
            if (!RowSelect) {
                NewCurrent.X -= PageWidth * F;
                NewTopLeft.X -= PageWidth * F;
            }
            break;
        case win::VK_RIGHT:
            if (!RowSelect) {
                NewCurrent.X += PageWidth * F;
                NewTopLeft.X += PageWidth * F;
            }
            break;
        case win::VK_PRIOR: NewCurrent.Y = TopRow(); break;
        case win::VK_NEXT: NewCurrent.Y = L.Vert.LastFullCell; break;
        case win::VK_HOME: NewCurrent = {FFixedCols, FFixedRows}; break;
        case win::VK_END: NewCurrent = {FColCount - 1, FRowCount - 1}; break;
        default: break;
        }
    } else {
        switch (AKey) {
        case win::VK_UP: --NewCurrent.Y; break;
        case win::VK_DOWN: ++NewCurrent.Y; break;
        case win::VK_LEFT: (RowSelect ? NewCurrent.Y : NewCurrent.X) -= F; break;
        case win::VK_RIGHT: (RowSelect ? NewCurrent.Y : NewCurrent.X) += F; break;
        case win::VK_NEXT:
            NewCurrent.Y += PageHeight;
            NewTopLeft.Y += PageHeight;
            break;
        case win::VK_PRIOR:
            NewCurrent.Y -= PageHeight;
            NewTopLeft.Y -= PageHeight;
            break;
        case win::VK_HOME: (RowSelect ? NewCurrent.Y : NewCurrent.X) = RowSelect ? FFixedRows : FFixedCols; break;
        case win::VK_END: (RowSelect ? NewCurrent.Y : NewCurrent.X) = RowSelect ? FRowCount - 1 : FColCount - 1; break;
        case win::VK_TAB:
            if (!AShift.Contains(ssAlt)) {
                bool Back = AShift.Contains(ssShift);
                do {
                    if (Back) {
                        if (--NewCurrent.X < FFixedCols) {
                            NewCurrent.X = FColCount - 1;
                            if (--NewCurrent.Y < FFixedRows) NewCurrent.Y = FRowCount - 1;
                        }
                        AShift.Exclude(ssShift);
                    } else if (++NewCurrent.X >= FColCount) {
                        NewCurrent.X = FFixedCols;
                        if (++NewCurrent.Y >= FRowCount) NewCurrent.Y = FFixedRows;
                    }
                    Back = false;
                } while (!TabStops(NewCurrent.X) && NewCurrent.X != FCurrent.X);
            }
            break;
        case KeyF2: SetEditorMode(true); break;
        default: break;
        }
    }
    const TGridCoord Max = MaxTopLeftFor({FColCount - 1, FRowCount - 1}, L);
    NewTopLeft.X = std::clamp(NewTopLeft.X, FFixedCols, std::max(FFixedCols, Max.X));
    NewTopLeft.Y = std::clamp(NewTopLeft.Y, FFixedRows, std::max(FFixedRows, Max.Y));
    if (!(NewTopLeft == FTopLeft)) SetTopLeft(NewTopLeft.X, NewTopLeft.Y);
    NewCurrent.X = std::clamp(NewCurrent.X, FFixedCols, FColCount - 1);
    NewCurrent.Y = std::clamp(NewCurrent.Y, FFixedRows, FRowCount - 1);
    if (!(NewCurrent == FCurrent)) FocusCellAt(NewCurrent.X, NewCurrent.Y, !AShift.Contains(ssShift));
}

void TspSkinCustomGrid::KeyPress(char32_t& AKey)
{
    TspSkinControl::KeyPress(AKey);
    if (!FOptions.Contains(goAlwaysShowEditor) && AKey == U'\r') {
        if (FEditorMode)
            HideCellEditor();
        else
            ShowCellEditor();
        AKey = 0;
    }
}

void TspSkinCustomGrid::HitTestSizing(Integer AX, Integer AY, TGridLayout& L, TGridState& AState, Integer& AIndex,
                                      Integer& ASizingPos, Integer& ASizingOfs)
{
    AState = gsNormal;
    AIndex = -1;
    TGridOptions Opts = FOptions;
    if (Designing()) Opts.Include(goRowSizing).Include(goColSizing);
    if (!Opts.Contains(goRowSizing) && !Opts.Contains(goColSizing)) return;
    L.Horz.ClientExtent = ClientWidth();
    L.Vert.ClientExtent = ClientHeight();
    auto AxisTest = [&](const TGridAxisLayout& A, Integer Pos, TGridState S) {
        Integer Line = A.FixedEnd;
        Integer Range = A.LineWidth;
        Integer Back = 0;
        // Thin lines get a grab zone of 7 pixels around the divider.
        if (Range < 7) {
            Range = 7;
            Back = (7 - A.LineWidth) / 2;
        }
        for (Integer I = A.FirstScrollCell; I < A.CellCount; ++I) {
            Line += A.GetExtent(I);
            if (Line > A.GridEnd) break;
            if (Pos >= Line - Back && Pos <= Line - Back + Range) {
                AState = S;
                ASizingPos = Line;
                ASizingOfs = Line - Pos;
                AIndex = I;
                return;
            }
            Line += A.LineWidth;
        }
        if (A.GridEnd == A.ClientExtent && Pos >= A.ClientExtent - Back && Pos <= A.ClientExtent) {
            AState = S;
            ASizingPos = A.ClientExtent;
            ASizingOfs = A.ClientExtent - Pos;
            AIndex = A.LastFullCell + 1;
        }
    };
    if (AX > L.Horz.FixedEnd && Opts.Contains(goColSizing)) {
        if (AY < L.Vert.FixedEnd) AxisTest(L.Horz, AX, gsColSizing);
    } else if (AY > L.Vert.FixedEnd && Opts.Contains(goRowSizing) && AX < L.Horz.FixedEnd) {
        AxisTest(L.Vert, AY, gsRowSizing);
    }
}

void TspSkinCustomGrid::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    CloseCellEditor();
    if (!Designing() && CanFocus()) {
        SetFocus();
        if (!GridIsActiveControl()) {
            SetCaptureControl(nullptr);
            return;
        }
    }
    bool Moving = false;
    if (AButton == mbLeft && AShift.Contains(ssDouble)) {
        DblClick();
    } else if (AButton == mbLeft) {
        TGridLayout L = ComputeLayout();
        HitTestSizing(AX, AY, L, FGridState, FSizingIndex, FSizingPos, FSizingOfs);
        if (FGridState != gsNormal) {
            XorSizingLine(L);
            return;
        }
        const TGridCoord Cell = CellAtPoint(AX, AY, L);
        if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows) {
            if (FOptions.Contains(goEditing)) {
                if (Cell == FCurrent) {
                    ShowCellEditor();
                } else {
                    MoveCurrentCell(Cell.X, Cell.Y, true, true);
                    SyncCellEditor();
                }
                Click();
            } else {
                FGridState = gsSelecting;
                win::SetTimer(Handle(), DragTimerId, DragTimerInterval);
                if (AShift.Contains(ssShift))
                    MoveSelectionAnchor(Cell);
                else
                    MoveCurrentCell(Cell.X, Cell.Y, true, true);
            }
        } else if (Cell.X >= 0 && Cell.X < FFixedCols && Cell.Y >= FFixedRows && FOptions.Contains(goRowMoving)) {
            FMoveIndex = FMovePos = Cell.Y;
            if (CanBeginRowMove(FMoveIndex, FMovePos, {AX, AY})) {
                FGridState = gsRowMoving;
                Moving = true;
                Update();
                XorMoveLine();
                win::SetTimer(Handle(), DragTimerId, DragTimerInterval);
            }
        } else if (Cell.Y >= 0 && Cell.Y < FFixedRows && Cell.X >= FFixedCols && FOptions.Contains(goColMoving)) {
            FMoveIndex = FMovePos = Cell.X;
            if (CanBeginColumnMove(FMoveIndex, FMovePos, {AX, AY})) {
                FGridState = gsColMoving;
                Moving = true;
                Update();
                XorMoveLine();
                win::SetTimer(Handle(), DragTimerId, DragTimerInterval);
            }
        }
    }
    try {
        TspSkinControl::MouseDown(AButton, AShift, AX, AY);
    } catch (...) {
        // An OnMouseDown handler's failure must not leave a drag half started.
        if (Moving) CancelDrag();
    }
}

void TspSkinCustomGrid::MouseMove(TShiftState AShift, int AX, int AY)
{
    TGridLayout L = ComputeLayout();
    switch (FGridState) {
    case gsSelecting:
    case gsRowMoving:
    case gsColMoving: {
        const TGridCoord Cell = CellAtPoint(AX, AY, L);
        if (Cell.X >= FFixedCols && Cell.X <= L.Horz.LastFullCell + 1 && Cell.Y >= FFixedRows
            && Cell.Y <= L.Vert.LastFullCell + 1) {
            if (FGridState == gsSelecting) {
                if (!(Cell == FAnchor)) MoveSelectionAnchor(Cell);
            } else if (FGridState == gsRowMoving) {
                MoveAndTrack(AY, Cell.Y, L, false, {AX, AY});
            } else {
                MoveAndTrack(AX, Cell.X, L, true, {AX, AY});
            }
        }
        break;
    }
    case gsRowSizing:
    case gsColSizing:
        XorSizingLine(L);
        FSizingPos = (FGridState == gsRowSizing ? AY : AX) + FSizingOfs;
        XorSizingLine(L);
        break;
    default: {
        // The split cursor over a divider, the control's own cursor elsewhere.
        TGridState S;
        Integer Index, Pos, Ofs;
        HitTestSizing(AX, AY, L, S, Index, Pos, Ofs);
        if (S != gsNormal) {
            if (!FSplitCursorShown) FSavedCursor = Cursor();
            FSplitCursorShown = true;
            SetCursor(S == gsRowSizing ? crVSplit : crHSplit);
        } else if (FSplitCursorShown) {
            FSplitCursorShown = false;
            SetCursor(FSavedCursor);
        }
    }
    }
    TspSkinControl::MouseMove(AShift, AX, AY);
}

void TspSkinCustomGrid::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    const TGridState State = FGridState;
    FGridState = gsNormal;
    try {
        TGridLayout L = ComputeLayout();
        switch (State) {
        case gsSelecting:
            FGridState = gsSelecting;
            MouseMove(AShift, AX, AY);
            FGridState = gsNormal;
            if (HandleAllocated()) win::KillTimer(Handle(), DragTimerId);
            SyncCellEditor();
            Click();
            break;
        case gsRowSizing:
        case gsColSizing: {
            FGridState = State;
            XorSizingLine(L);
            FGridState = gsNormal;
            const TGridAxisLayout& A = State == gsColSizing ? L.Horz : L.Vert;
            Integer Start = A.FixedEnd;
            for (Integer I = A.FirstScrollCell; I < FSizingIndex; ++I) Start += A.GetExtent(I) + A.LineWidth;
            const Integer NewSize = FSizingPos - Start;
            if (NewSize > 1) {
                if (State == gsColSizing)
                    SetColWidths(FSizingIndex, NewSize);
                else
                    SetRowHeights(FSizingIndex, NewSize);
            }
            break;
        }
        case gsRowMoving:
        case gsColMoving:
            FGridState = State;
            XorMoveLine();
            FGridState = gsNormal;
            if (HandleAllocated()) win::KillTimer(Handle(), DragTimerId);
            if (State == gsRowMoving) {
                if (CanEndRowMove(FMoveIndex, FMovePos, {AX, AY}) && FMoveIndex != FMovePos)
                    RelocateRow(FMoveIndex, FMovePos);
            } else if (CanEndColumnMove(FMoveIndex, FMovePos, {AX, AY}) && FMoveIndex != FMovePos) {
                RelocateColumn(FMoveIndex, FMovePos);
            }
            SyncCellEditor();
            break;
        default: SyncCellEditor(); break;
        }
    } catch (...) {
        FGridState = gsNormal;
        throw;
    }
    FGridState = gsNormal;
    TspSkinControl::MouseUp(AButton, AShift, AX, AY);
}

void TspSkinCustomGrid::MoveAndTrack(Integer AMouse, Integer ACellHit, TGridLayout& L, bool AHorizontal, TPoint APt)
{
    const TGridAxisLayout* A = AHorizontal ? &L.Horz : &L.Vert;
    if (ACellHit == FMovePos || (FMovePos == A->FixedCount && AMouse < A->FixedEnd)
        || (FMovePos == A->CellCount - 1 && AMouse > A->GridEnd))
        return;
    XorMoveLine();
    if (AMouse < A->FixedEnd) {
        if (FMovePos > A->FixedCount) {
            ScrollByCode(AHorizontal ? 0 : 1, win::SB_LINEUP, false, 0);
            Update();
            L = ComputeLayout();
            A = AHorizontal ? &L.Horz : &L.Vert;
        }
        ACellHit = A->FirstScrollCell;
    } else if (AMouse >= A->FullCellsEnd) {
        if (FMovePos == A->LastFullCell && FMovePos < A->CellCount - 1) {
            ScrollByCode(AHorizontal ? 0 : 1, win::SB_LINEDOWN, false, 0);
            Update();
            L = ComputeLayout();
            A = AHorizontal ? &L.Horz : &L.Vert;
        }
        ACellHit = A->LastFullCell;
    } else if (ACellHit < 0) {
        ACellHit = FMovePos;
    }
    if (AHorizontal ? CanMoveColumnTo(FMoveIndex, ACellHit, APt) : CanMoveRowTo(FMoveIndex, ACellHit, APt))
        FMovePos = ACellHit;
    XorMoveLine();
}

void TspSkinCustomGrid::AutoScrollStep(Integer ADirection)
{
    TGridCoord NewAnchor = FAnchor;
    if ((ADirection & 1) && NewAnchor.X > FFixedCols) --NewAnchor.X;
    if ((ADirection & 2) && NewAnchor.X < FColCount - 1) ++NewAnchor.X;
    if ((ADirection & 4) && NewAnchor.Y > FFixedRows) --NewAnchor.Y;
    if ((ADirection & 8) && NewAnchor.Y < FRowCount - 1) ++NewAnchor.Y;
    if (!(NewAnchor == FAnchor)) MoveSelectionAnchor(NewAnchor);
}

void TspSkinCustomGrid::DragTimerTick()
{
    if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) return;
    TPoint Pt;
    win::GetCursorPos(Pt);
    Pt = ScreenToClient(Pt);
    TGridLayout L = ComputeLayout();
    const TGridCoord Cell = CellAtPoint(Pt.X, Pt.Y, L);
    if (FGridState == gsSelecting) {
        Integer Flags = 0;
        if (Pt.X < L.Horz.FixedEnd)
            Flags |= 1;
        else if (Pt.X > L.Horz.FullCellsEnd)
            Flags |= 2;
        if (Pt.Y < L.Vert.FixedEnd)
            Flags |= 4;
        else if (Pt.Y > L.Vert.FullCellsEnd)
            Flags |= 8;
        if (Flags != 0) AutoScrollStep(Flags);
    } else if (FGridState == gsRowMoving) {
        MoveAndTrack(Pt.Y, Cell.Y, L, false, Pt);
    } else {
        MoveAndTrack(Pt.X, Cell.X, L, true, Pt);
    }
}

void TspSkinCustomGrid::CancelDrag()
{
    switch (FGridState) {
    case gsRowSizing:
    case gsColSizing: XorSizingLine(ComputeLayout()); break;
    case gsRowMoving:
    case gsColMoving: XorMoveLine(); break;
    default: break;
    }
    if (HandleAllocated()) win::KillTimer(Handle(), DragTimerId);
    FGridState = gsNormal;
}

void TspSkinCustomGrid::XorLine(TPoint AFrom, TPoint ATo, Integer AWidth)
{
    if (!HandleAllocated()) return;
    const win::HDC DC = win::GetDC(Handle());
    TCanvas C;
    C.SetHandle(DC);
    C.Pen()->SetStyle(psDot);
    C.Pen()->SetMode(pmXor);
    C.Pen()->SetWidth(AWidth);
    C.Pen()->SetColor(static_cast<TColor>(255));
    C.MoveTo(AFrom.X, AFrom.Y);
    C.LineTo(ATo.X, ATo.Y);
    C.SetHandle(nullptr);
    win::ReleaseDC(Handle(), DC);
}

void TspSkinCustomGrid::XorSizingLine(const TGridLayout& L)
{
    if (FGridState == gsRowSizing)
        XorLine({0, FSizingPos}, {L.Horz.GridEnd, FSizingPos}, 1);
    else if (FGridState == gsColSizing)
        XorLine({FSizingPos, 0}, {FSizingPos, L.Vert.GridEnd}, 1);
}

void TspSkinCustomGrid::XorMoveLine()
{
    if (FGridState == gsRowMoving) {
        const TRect R = CellBoxRect(0, FMovePos, 0, FMovePos);
        const Integer Y = FMoveIndex < FMovePos ? R.Bottom : R.Top;
        XorLine({0, Y}, {ClientWidth(), Y}, 5);
    } else if (FGridState == gsColMoving) {
        const TRect R = CellBoxRect(FMovePos, 0, FMovePos, 0);
        const Integer X = FMoveIndex < FMovePos ? R.Right : R.Left;
        XorLine({X, 0}, {X, ClientHeight()}, 5);
    }
}

bool TspSkinCustomGrid::DoMouseWheelDown(TShiftState AShift, TPoint AMousePos)
{
    if (TspSkinControl::DoMouseWheelDown(AShift, AMousePos)) return true;
    if (Row() < FRowCount - 1) SetRow(Row() + 1);
    return true;
}

bool TspSkinCustomGrid::DoMouseWheelUp(TShiftState AShift, TPoint AMousePos)
{
    if (TspSkinControl::DoMouseWheelUp(AShift, AMousePos)) return true;
    if (Row() > FFixedRows) SetRow(Row() - 1);
    return true;
}
