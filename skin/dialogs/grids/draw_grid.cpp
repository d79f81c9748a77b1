#include "skin/dialogs/grids/draw_grid.h"

void TspSkinDrawGrid::MouseToCell(Integer AX, Integer AY, Integer& ACol, Integer& ARow)
{
    const TGridCoord C = MouseCoord(AX, AY);
    ACol = C.X;
    ARow = C.Y;
}

bool TspSkinDrawGrid::CanSelectCell(Integer ACol, Integer ARow)
{
    bool Can = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, Can);
    return Can;
}

void TspSkinDrawGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)
{
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TspSkinDrawGrid::ColumnMoved(Integer AFrom, Integer ATo)
{
    if (OnColumnMoved) OnColumnMoved(this, AFrom, ATo);
}

void TspSkinDrawGrid::RowMoved(Integer AFrom, Integer ATo)
{
    if (OnRowMoved) OnRowMoved(this, AFrom, ATo);
}

std::string TspSkinDrawGrid::GetEditText(Integer ACol, Integer ARow)
{
    std::string Value;
    if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
    return Value;
}

void TspSkinDrawGrid::SetEditText(Integer ACol, Integer ARow, const std::string& AValue)
{
    if (OnSetEditText) OnSetEditText(this, ACol, ARow, AValue);
}

std::string TspSkinDrawGrid::GetEditMask(Integer ACol, Integer ARow)
{
    std::string Value;
    if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, Value);
    return Value;
}

void TspSkinDrawGrid::TopLeftChanged()
{
    TspSkinCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}
