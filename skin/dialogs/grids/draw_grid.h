#pragma once
// The grid engine as a component with events: the owner draws the cells, may veto selecting a cell, supplies
// and receives editor texts and hears about moved columns and rows and a changed top-left cell.
#include <functional>
#include <string>

#include "skin/dialogs/grids/skin_custom_grid.h"

using TDrawCellEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)>;
using TSelectCellEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& ACanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, std::string& AValue)>;
using TSetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, const std::string& AValue)>;
using TMovedEvent = std::function<void(TObject* Sender, Integer AFromIndex, Integer AToIndex)>;

class TspSkinDrawGrid : public TspSkinCustomGrid {
public:
    using TspSkinCustomGrid::TspSkinCustomGrid;

    // The cell's client rectangle without lines; (0, 0, 0, 0) when it is not visible.
    TRect CellRect(Integer ACol, Integer ARow) { return CellBoxRect(ACol, ARow, ACol, ARow); }
    // (-1, -1) outside the cells.
    void MouseToCell(Integer AX, Integer AY, Integer& ACol, Integer& ARow);
    bool CanSelectCell(Integer ACol, Integer ARow) override;

    TMovedEvent OnColumnMoved;
    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TMovedEvent OnRowMoved;
    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;
    TNotifyEvent OnTopLeftChanged;

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColumnMoved(Integer AFrom, Integer ATo) override;
    void RowMoved(Integer AFrom, Integer ATo) override;
    std::string GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const std::string& AValue) override;
    std::string GetEditMask(Integer ACol, Integer ARow) override;
    void TopLeftChanged() override;
};
