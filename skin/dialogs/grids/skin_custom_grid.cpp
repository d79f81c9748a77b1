#include "skin/dialogs/grids/skin_custom_grid.h"

#include <algorithm>

#include "platform/gdi/colors.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "skin/dialogs/grids/inplace_editor.h"

TspSkinCustomGrid::TspSkinCustomGrid(TComponent* AOwner)
    : TspSkinControl(AOwner), FFixedColor(clBtnFace), FGridLineColor(clWindowText)
{
    ControlStyle() = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
    ResetCurrentCell();
    FSkinDataName = "grid";
}

// ---- extents and counts ------------------------------------------------------------------------------------

Integer TspSkinCustomGrid::ColWidths(Integer AIndex) const
{
    if (FColWidths && AIndex >= 0 && AIndex < FColCount) return (*FColWidths)[static_cast<size_t>(AIndex)];
    return FDefaultColWidth;
}

Integer TspSkinCustomGrid::RowHeights(Integer AIndex) const
{
    if (FRowHeights && AIndex >= 0 && AIndex < FRowCount) return (*FRowHeights)[static_cast<size_t>(AIndex)];
    return FDefaultRowHeight;
}

bool TspSkinCustomGrid::TabStops(Integer AIndex) const
{
    if (FTabStops && AIndex >= 0 && AIndex < static_cast<Integer>(FTabStops->size()))
        return (*FTabStops)[static_cast<size_t>(AIndex)] != 0;
    return true;
}

void TspSkinCustomGrid::SetAxisExtent(TExtentArray& AExtents, Integer ACount, Integer ADefault, Integer AIndex,
                                      Integer AValue)
{
    if (AIndex < 0 || AIndex >= ACount) RaiseGridError(SGridIndexError);
    if (!AExtents) SetExtentCount(AExtents, ACount, ADefault);
    auto& Slot = (*AExtents)[static_cast<size_t>(AIndex)];
    if (Slot == AValue) return;
    Invalidate();
    Slot = AValue;
}

void TspSkinCustomGrid::SetColWidths(Integer AIndex, Integer AValue)
{
    const Integer Old = ColWidths(AIndex);
    SetAxisExtent(FColWidths, FColCount, FDefaultColWidth, AIndex, AValue);
    if (Old != AValue) ColWidthsChanged();
}

void TspSkinCustomGrid::SetRowHeights(Integer AIndex, Integer AValue)
{
    const Integer Old = RowHeights(AIndex);
    SetAxisExtent(FRowHeights, FRowCount, FDefaultRowHeight, AIndex, AValue);
    if (Old != AValue) RowHeightsChanged();
}

void TspSkinCustomGrid::SetColCount(Integer AValue)
{
    AValue = std::max(AValue, 1);
    if (AValue == FColCount) return;
    if (FFixedCols >= AValue) SetFixedCols(AValue - 1);
    ResizeGrid(AValue, FRowCount);
    if (FOptions.Contains(goRowSelect)) {
        FAnchor.X = FColCount - 1;
        Invalidate();
    }
}

void TspSkinCustomGrid::SetRowCount(Integer AValue)
{
    AValue = std::max(AValue, 1);
    if (AValue == FRowCount) return;
    if (FFixedRows >= AValue) SetFixedRows(AValue - 1);
    ResizeGrid(FColCount, AValue);
}

void TspSkinCustomGrid::SetFixedCols(Integer AValue)
{
    if (AValue == FFixedCols) return;
    if (AValue < 0) RaiseGridError(SGridIndexError);
    if (AValue >= FColCount) RaiseGridError(SFixedColTooBig);
    FFixedCols = AValue;
    ResetCurrentCell();
    RefreshGrid();
}

void TspSkinCustomGrid::SetFixedRows(Integer AValue)
{
    if (AValue == FFixedRows) return;
    if (AValue < 0) RaiseGridError(SGridIndexError);
    if (AValue >= FRowCount) RaiseGridError(SFixedRowTooBig);
    FFixedRows = AValue;
    ResetCurrentCell();
    RefreshGrid();
}

void TspSkinCustomGrid::SetDefaultColWidth(Integer AValue)
{
    FColWidths.reset();
    FDefaultColWidth = AValue;
    ColWidthsChanged();
    RefreshGrid();
}

void TspSkinCustomGrid::SetDefaultRowHeight(Integer AValue)
{
    FRowHeights.reset();
    FDefaultRowHeight = AValue;
    RowHeightsChanged();
    RefreshGrid();
}

void TspSkinCustomGrid::ApplyCounts()
{
    if (FColWidths) {
        SetExtentCount(FColWidths, FColCount, FDefaultColWidth);
        SetExtentCount(FTabStops, FColCount, 1);
    }
    if (FRowHeights) SetExtentCount(FRowHeights, FRowCount, FDefaultRowHeight);
}

void TspSkinCustomGrid::ResizeGrid(Integer ANewColCount, Integer ANewRowCount)
{
    const bool HasHandle = HandleAllocated();
    TGridLayout OldLayout;
    if (HasHandle) OldLayout = ComputeLayout();
    const Integer OldColCount = FColCount;
    const Integer OldRowCount = FRowCount;
    FColCount = ANewColCount;
    FRowCount = ANewRowCount;
    if (FFixedCols >= FColCount) FFixedCols = FColCount - 1;
    if (FFixedRows >= FRowCount) FFixedRows = FRowCount - 1;
    try {
        ApplyCounts();
    } catch (...) {
        FColCount = OldColCount;
        FRowCount = OldRowCount;
        ApplyCounts();
        RefreshGrid();
        throw;
    }
    const TGridCoord Clamped{std::min(FCurrent.X, FColCount - 1), std::min(FCurrent.Y, FRowCount - 1)};
    if (!(Clamped == FCurrent)) MoveCurrentCell(Clamped.X, Clamped.Y, true, true);
    if (!(FAnchor == Clamped)) MoveSelectionAnchor(Clamped);
    if (VirtualView || !(FTopLeft.X == OldLayout.Horz.FirstScrollCell && FTopLeft.Y == OldLayout.Vert.FirstScrollCell)
        || !HasHandle) {
        RefreshGrid();
    } else {
        const TGridLayout NewLayout = ComputeLayout();
        const TRect Whole{0, 0, Width(), Height()};
        const Integer FromCol = std::min(OldLayout.Horz.LastFullCell, NewLayout.Horz.LastFullCell);
        TRect R = CellBoxRect(FromCol, 0, FromCol, 0);
        InvalidateClientRect(R == TRect{} ? Whole : TRect{R.Left, 0, Width(), Height()}, false);
        const Integer FromRow = std::min(OldLayout.Vert.LastFullCell, NewLayout.Vert.LastFullCell);
        R = CellBoxRect(0, FromRow, 0, FromRow);
        InvalidateClientRect(R == TRect{} ? Whole : TRect{0, R.Top, Width(), Height()}, false);
    }
    SyncScrollBars(true);
    GridSizeChanged(OldColCount, OldRowCount);
}

void TspSkinCustomGrid::AdjustCellCount(Integer AIndex, Integer AAmount, bool ARows)
{
    if (AAmount == 0) return;
    const Integer OldColCount = FColCount;
    const Integer OldRowCount = FRowCount;
    TGridCoord NewCur = FCurrent;
    TGridRect MoveRect{FFixedCols, FFixedRows, FColCount - 1, FRowCount - 1};
    Integer& Count = ARows ? FRowCount : FColCount;
    TExtentArray& Extents = ARows ? FRowHeights : FColWidths;
    const Integer Default = ARows ? FDefaultRowHeight : FDefaultColWidth;
    const Integer NewCount = Count + AAmount;
    if (NewCount < AIndex) RaiseGridError(STooManyDeleted);
    Integer Movement = 0;
    if (AAmount < 0 && Extents) {
        for (Integer I = AIndex; I < AIndex - AAmount && I < Count; ++I) Movement -= (*Extents)[static_cast<size_t>(I)];
    } else {
        Movement = AAmount * Default;
    }
    if (Extents) ResizeExtentArray(Extents, AIndex, AAmount, Default);
    if (!ARows && FTabStops) ResizeExtentArray(FTabStops, AIndex, AAmount, 1);
    Count = NewCount;
    Integer& Coord = ARows ? NewCur.Y : NewCur.X;
    if (Coord >= AIndex) Coord = (AAmount < 0 && Coord < AIndex - AAmount) ? AIndex : Coord + AAmount;
    const Integer First = ARows ? FTopLeft.Y : FTopLeft.X;
    if (ARows) {
        MoveRect.Top = AIndex;
        if (First >= AIndex + std::abs(AAmount)) MoveRect.Bottom = First - 1;
    } else {
        MoveRect.Left = AIndex;
        if (First >= AIndex + std::abs(AAmount)) MoveRect.Right = First - 1;
    }
    if (HandleAllocated()) {
        const TRect R = GridRectToClientRect(MoveRect, true);
        if (R.Width() > 0 && R.Height() > 0) {
            win::ScrollWindowEx(Handle(), ARows ? 0 : Movement, ARows ? Movement : 0, &R, &R, nullptr, nullptr,
                                win::SW_INVALIDATE);
            Update();
        }
    }
    GridSizeChanged(OldColCount, OldRowCount);
    NewCur.X = std::clamp(NewCur.X, 0, FColCount - 1);
    NewCur.Y = std::clamp(NewCur.Y, 0, FRowCount - 1);
    if (!(NewCur == FCurrent)) MoveCurrentCell(NewCur.X, NewCur.Y, true, true);
}

void TspSkinCustomGrid::AdjustAfterRelocate(Integer AFrom, Integer ATo, bool AColumns)
{
    auto Shift = [&](Integer& P) {
        if (P == AFrom)
            P = ATo;
        else if (AFrom > ATo && P >= ATo && P < AFrom)
            ++P;
        else if (AFrom < ATo && P > AFrom && P <= ATo)
            --P;
    };
    Shift(AColumns ? FCurrent.X : FCurrent.Y);
    Shift(AColumns ? FAnchor.X : FAnchor.Y);
    if (AColumns ? FInplaceCol >= 0 : FInplaceRow >= 0) Shift(AColumns ? FInplaceCol : FInplaceRow);
}

void TspSkinCustomGrid::RelocateColumn(Integer AFrom, Integer ATo)
{
    if (AFrom == ATo) return;
    const bool HadWidths = FColWidths.has_value();
    if (HadWidths) {
        MoveExtentEntry(FColWidths, AFrom, ATo);
        MoveExtentEntry(FTabStops, AFrom, ATo);
    }
    AdjustAfterRelocate(AFrom, ATo, true);
    RefreshGridRect({std::min(AFrom, ATo), 0, std::max(AFrom, ATo), VisibleRowCount()});
    ColumnMoved(AFrom, ATo);
    if (HadWidths) ColWidthsChanged();
    SyncCellEditor();
}

void TspSkinCustomGrid::RelocateRow(Integer AFrom, Integer ATo)
{
    if (AFrom == ATo) return;
    const bool HadHeights = FRowHeights.has_value();
    if (HadHeights) MoveExtentEntry(FRowHeights, AFrom, ATo);
    AdjustAfterRelocate(AFrom, ATo, false);
    RowMoved(AFrom, ATo);
    if (HadHeights) RowHeightsChanged();
    SyncCellEditor();
}

void TspSkinCustomGrid::RemoveColumn(Integer ACol)
{
    RelocateColumn(ACol, FColCount - 1);
    SetColCount(FColCount - 1);
}

void TspSkinCustomGrid::RemoveRow(Integer ARow)
{
    RelocateRow(ARow, FRowCount - 1);
    SetRowCount(FRowCount - 1);
}

// ---- options and look ----------------------------------------------------------------------------------------

void TspSkinCustomGrid::SetOptions(TGridOptions AValue)
{
    if (AValue.Contains(goRowSelect)) AValue.Exclude(goAlwaysShowEditor);
    if (AValue == FOptions) return;
    FOptions = AValue;
    if (!FEditorMode) {
        if (FOptions.Contains(goAlwaysShowEditor))
            ShowCellEditor();
        else
            HideCellEditor();
    }
    if (FOptions.Contains(goRowSelect)) MoveCurrentCell(Col(), Row(), true, false);
    RefreshGrid();
}

void TspSkinCustomGrid::SetGridLineWidth(Integer AValue)
{
    if (AValue == FGridLineWidth) return;
    FGridLineWidth = AValue;
    RefreshGrid();
}

void TspSkinCustomGrid::SetFixedColor(TColor AValue)
{
    if (AValue == FFixedColor) return;
    FFixedColor = AValue;
    RefreshGrid();
}

void TspSkinCustomGrid::SetGridLineColor(TColor AValue)
{
    if (AValue == FGridLineColor) return;
    FGridLineColor = AValue;
    if (!Skinned()) RefreshGrid();
}

void TspSkinCustomGrid::SetDefaultDrawing(bool AValue)
{
    if (AValue == FDefaultDrawing) return;
    FDefaultDrawing = AValue;
    Invalidate();
}

// ---- current cell, selection, top-left -----------------------------------------------------------------------

void TspSkinCustomGrid::SetCol(Integer AValue)
{
    if (AValue != Col()) FocusCellAt(AValue, Row(), true);
}

void TspSkinCustomGrid::SetRow(Integer AValue)
{
    if (AValue != Row()) FocusCellAt(Col(), AValue, true);
}

void TspSkinCustomGrid::SetLeftCol(Integer AValue)
{
    if (AValue != LeftCol()) SetTopLeft(AValue, TopRow());
}

void TspSkinCustomGrid::SetTopRow(Integer AValue)
{
    if (AValue != TopRow()) SetTopLeft(LeftCol(), AValue);
}

void TspSkinCustomGrid::SetSelection(const TGridRect& AValue)
{
    const TGridRect Old = Selection();
    FAnchor = AValue.TopLeft();
    FCurrent = AValue.BottomRight();
    InvalidateSelectionChange(Old);
}

Integer TspSkinCustomGrid::VisibleColCount()
{
    return ComputeLayout().Horz.LastFullCell - LeftCol() + 1;
}

Integer TspSkinCustomGrid::VisibleRowCount()
{
    return ComputeLayout().Vert.LastFullCell - TopRow() + 1;
}

void TspSkinCustomGrid::ResetCurrentCell()
{
    FTopLeft = FCurrent = FAnchor = {FFixedCols, FFixedRows};
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

void TspSkinCustomGrid::MoveCurrentCell(Integer ACol, Integer ARow, bool AMoveAnchor, bool AShow)
{
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount) RaiseGridError(SGridIndexError);
    if (!CanSelectCell(ACol, ARow)) return;
    const TGridRect OldSel = Selection();
    const TGridCoord OldCur = FCurrent;
    FCurrent = {ACol, ARow};
    if (!FOptions.Contains(goAlwaysShowEditor)) HideCellEditor();
    if (AMoveAnchor || !FOptions.Contains(goRangeSelect)) {
        FAnchor = FCurrent;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    }
    if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
    if (AShow) ScrollIntoView(FCurrent);
    InvalidateSelectionChange(OldSel);
    RefreshCell(OldCur.X, OldCur.Y);
    RefreshCell(ACol, ARow);
}

void TspSkinCustomGrid::FocusCellAt(Integer ACol, Integer ARow, bool AMoveAnchor)
{
    MoveCurrentCell(ACol, ARow, AMoveAnchor, true);
    SyncCellEditor();
    Click();
}

void TspSkinCustomGrid::MoveSelectionAnchor(const TGridCoord& ACoord)
{
    if (FOptions.Contains(goRangeSelect) && !FOptions.Contains(goEditing)) {
        const TGridRect OldSel = Selection();
        FAnchor = ACoord;
        if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
        ScrollIntoView(ACoord);
        InvalidateSelectionChange(OldSel);
    } else {
        MoveCurrentCell(ACoord.X, ACoord.Y, true, true);
    }
}

void TspSkinCustomGrid::ScrollIntoView(const TGridCoord& ACoord)
{
    if (!HandleAllocated()) return;
    const TGridLayout L = ComputeLayout();
    if (ACoord.X <= L.Horz.LastFullCell && ACoord.Y <= L.Vert.LastFullCell && ACoord.X >= LeftCol()
        && ACoord.Y >= TopRow())
        return;
    const TGridCoord Old = FTopLeft;
    const TGridCoord Max = MaxTopLeftFor(ACoord, L);
    Update();
    if (ACoord.X < LeftCol())
        FTopLeft.X = ACoord.X;
    else if (ACoord.X > L.Horz.LastFullCell)
        FTopLeft.X = Max.X;
    if (ACoord.Y < TopRow())
        FTopLeft.Y = ACoord.Y;
    else if (ACoord.Y > L.Vert.LastFullCell)
        FTopLeft.Y = Max.Y;
    AfterTopLeftMove(Old);
}

void TspSkinCustomGrid::SetTopLeft(Integer ALeft, Integer ATop)
{
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
    const TGridCoord Old = FTopLeft;
    if (HandleAllocated()) Update();
    FTopLeft = {ALeft, ATop};
    AfterTopLeftMove(Old);
}

void TspSkinCustomGrid::AfterTopLeftMove(const TGridCoord& AOld)
{
    Integer DX = 0;
    Integer DY = 0;
    SyncScrollBarPositions(true);
    if (HandleAllocated()) {
        const TGridLayout L = ComputeLayout();
        auto Amount = [](const TGridAxisLayout& A, Integer AOldFirst, Integer ANewFirst, Integer& AOut) {
            int64_t Sum = 0;
            for (Integer I = std::min(AOldFirst, ANewFirst); I < std::max(AOldFirst, ANewFirst); ++I) {
                Sum += A.GetExtent(I) + A.LineWidth;
                if (Sum > A.GridEnd - A.FixedEnd) return false;
            }
            AOut = static_cast<Integer>(AOldFirst < ANewFirst ? -Sum : Sum);
            return true;
        };
        if (Amount(L.Horz, AOld.X, FTopLeft.X, DX) && Amount(L.Vert, AOld.Y, FTopLeft.Y, DY))
            ScrollCells(DX, DY, L);
        else
            Invalidate();
    }
    TopLeftChanged();
    if (HandleAllocated()) {
        // A background that stays put (the skin's picture, the wallpaper, the parent) repaints under the moved
        // cells; otherwise only the strip right of the cells. A scroll by rows alone moved the whole width, so
        // when the cells reach the right edge there is no such strip to repaint.
        const TGridLayout L = ComputeLayout();
        const Integer From = std::min(L.Horz.GridEnd, Width() - 1);
        if ((Skinned() && FBGPicture) || FTransparent) {
            InvalidateClientRect({L.Horz.FixedEnd, L.Vert.FixedEnd, ClientWidth(), ClientHeight()}, true);
            InvalidateClientRect({From, 0, Width(), L.Vert.FixedEnd}, true);
        } else if (DX != 0 || L.Horz.GridEnd < ClientWidth()) {
            InvalidateClientRect({From, 0, Width(), Height()}, true);
        }
    }
}

void TspSkinCustomGrid::ScrollCells(Integer ADX, Integer ADY, const TGridLayout& L)
{
    if (!HandleAllocated()) return;
    const win::UINT Flags = win::SW_INVALIDATE | (FDefaultDrawing ? 0 : win::SW_ERASE);
    auto Scroll = [&](const TRect& R, Integer DX, Integer DY) {
        win::ScrollWindowEx(Handle(), DX, DY, &R, &R, nullptr, nullptr, Flags);
    };
    if (ADX != 0 && ADY != 0) {
        Scroll({L.Horz.FixedEnd, 0, L.Horz.ClientExtent - 1, L.Vert.FixedEnd}, ADX, 0);
        Scroll({0, L.Vert.FixedEnd, L.Horz.FixedEnd, L.Vert.ClientExtent}, 0, ADY);
        Scroll({L.Horz.FixedEnd, L.Vert.FixedEnd, L.Horz.ClientExtent, L.Vert.ClientExtent}, ADX, ADY);
    } else if (ADY != 0) {
        Scroll({0, L.Vert.FixedEnd, L.Horz.ClientExtent, L.Vert.ClientExtent}, 0, ADY);
    } else {
        Scroll({L.Horz.FixedEnd, 0, L.Horz.ClientExtent - 1, L.Vert.ClientExtent}, ADX, 0);
    }
    if (FOptions.Contains(goRowSelect)) RefreshGridRect(Selection());
}

void TspSkinCustomGrid::TopLeftChanged()
{
    if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellBoxRect(Col(), Row(), Col(), Row()));
}

void TspSkinCustomGrid::ColWidthsChanged()
{
    SyncScrollBars(true);
    SyncCellEditor();
}

void TspSkinCustomGrid::RowHeightsChanged()
{
    SyncScrollBars(true);
    SyncCellEditor();
}

void TspSkinCustomGrid::InvalidateClientRect(const TRect& R, bool AErase)
{
    if (HandleAllocated() && R.Width() > 0 && R.Height() > 0) win::InvalidateRect(Handle(), &R, AErase);
}

void TspSkinCustomGrid::RefreshGridRect(const TGridRect& R)
{
    if (!HandleAllocated()) return;
    InvalidateClientRect(GridRectToClientRect(R, true), false);
}

void TspSkinCustomGrid::InvalidateSelectionChange(const TGridRect& AOldSel)
{
    if (!HandleAllocated()) return;
    const TRect OldR = GridRectToClientRect(AOldSel, true);
    const TRect NewR = GridRectToClientRect(Selection(), true);
    for (const TRect& R : DiffRects(OldR, NewR)) InvalidateClientRect(R, false);
}

// ---- geometry ------------------------------------------------------------------------------------------------

TGridLayout TspSkinCustomGrid::ComputeLayout() { return ComputeLayoutFor(ClientWidth(), ClientHeight()); }

TGridLayout TspSkinCustomGrid::ComputeLayoutFor(Integer AWidth, Integer AHeight)
{
    TGridLayout L;
    L.Horz.LineWidth = FOptions.Contains(goFixedVertLine) || FOptions.Contains(goVertLine) ? FGridLineWidth : 0;
    L.Horz.FixedCount = FFixedCols;
    L.Horz.FirstScrollCell = LeftCol();
    L.Horz.CellCount = FColCount;
    L.Horz.GetExtent = [this](Integer I) { return ColWidths(I); };
    L.Vert.LineWidth = FOptions.Contains(goFixedHorzLine) || FOptions.Contains(goHorzLine) ? FGridLineWidth : 0;
    L.Vert.FixedCount = FFixedRows;
    L.Vert.FirstScrollCell = TopRow();
    L.Vert.CellCount = FRowCount;
    L.Vert.GetExtent = [this](Integer I) { return RowHeights(I); };
    CalcAxisLayout(L.Horz, AWidth);
    CalcAxisLayout(L.Vert, AHeight);
    return L;
}

TGridCoord TspSkinCustomGrid::CellAtPoint(Integer AX, Integer AY, const TGridLayout& L) const
{
    return {AxisCellAt(L.Horz, AX), AxisCellAt(L.Vert, AY)};
}

TGridCoord TspSkinCustomGrid::MaxTopLeftFor(const TGridCoord& ACoord, const TGridLayout& L) const
{
    return {AxisMaxFirstCell(L.Horz, ACoord.X), AxisMaxFirstCell(L.Vert, ACoord.Y)};
}

TGridCoord TspSkinCustomGrid::MouseCoord(Integer AX, Integer AY)
{
    TGridCoord C = CellAtPoint(AX, AY, ComputeLayout());
    if (C.X == -1)
        C.Y = -1;
    else if (C.Y == -1)
        C.X = -1;
    return C;
}

TRect TspSkinCustomGrid::CellBoxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)
{
    return GridRectToClientRect({ALeft, ATop, ARight, ABottom}, false);
}

namespace {

// The left (top) pixel of a cell; 0 for a cell scrolled away or beyond the client extent.
int64_t AxisPosition(const TGridAxisLayout& A, Integer L)
{
    Integer Start = A.FirstScrollCell;
    int64_t Pos = L < A.FirstScrollCell ? 0 : A.FixedEnd;
    if (L < A.FixedCount) {
        Start = 0;
        Pos = 0;
    }
    for (Integer I = Start; I < L; ++I) {
        Pos += A.GetExtent(I) + A.LineWidth;
        if (Pos > A.ClientExtent) return 0;
    }
    return Pos;
}

bool AxisSpan(const TGridAxisLayout& A, Integer AMin, Integer AMax, bool AIncludeLine, Integer& AStart,
              Integer& AEnd)
{
    if (AMin >= A.FixedCount && AMin < A.FirstScrollCell) {
        if (AMax < A.FirstScrollCell) return false;
        AMin = A.FirstScrollCell;
    }
    if (AMax > A.LastFullCell) {
        AMax = A.LastFullCell;
        if (AMax < A.CellCount - 1) ++AMax;
        if (AxisPosition(A, AMax) == 0) --AMax;
    }
    const int64_t Start = AxisPosition(A, AMin);
    int64_t End = AxisPosition(A, AMax);
    if (End == 0)
        End = Start + A.GetExtent(AMin);
    else
        End += A.GetExtent(AMax);
    End = std::min<int64_t>(End, A.ClientExtent);
    if (AIncludeLine) End += A.LineWidth;
    AStart = static_cast<Integer>(Start);
    AEnd = static_cast<Integer>(End);
    return true;
}

}  // namespace

TRect TspSkinCustomGrid::GridRectToClientRect(const TGridRect& R, bool AIncludeLine)
{
    TRect Out{};
    if (R.Left > R.Right || R.Top > R.Bottom) return Out;
    const TGridLayout L = ComputeLayout();
    if (R.Left > L.Horz.LastFullCell + 1 || R.Top > L.Vert.LastFullCell + 1) return Out;
    if (!AxisSpan(L.Horz, R.Left, R.Right, AIncludeLine, Out.Left, Out.Right)) return TRect{};
    if (!AxisSpan(L.Vert, R.Top, R.Bottom, AIncludeLine, Out.Top, Out.Bottom)) return TRect{};
    return Out;
}
