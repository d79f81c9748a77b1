#pragma once
// A draw grid that stores one text and one object per cell, sparsely on both levels (an empty row costs
// nothing, only non-empty cells hold an item), draws the text itself when DefaultDrawing is on, and offers any
// column or row as a string list.
#include <memory>

#include "skin/dialogs/grids/draw_grid.h"
#include "skin/dialogs/grids/sparse_lists.h"

class TspSkinStringGrid;

// A view of one row or column of a string grid; it stores nothing itself.
class TspSkinStringGridStrings : public TStrings {
public:
    // AIndex: Row + 1 for a row view, -(Column + 1) for a column view, 0 for a detached view.
    TspSkinStringGridStrings(TspSkinStringGrid* AGrid, Integer AIndex) : FGrid(AGrid), FIndex(AIndex) {}

    Integer Count() const override;
    std::string Strings(Integer AIndex) const override;
    void SetStrings(Integer AIndex, const std::string& S) override;
    TObject* Objects(Integer AIndex) const override;
    void SetObjects(Integer AIndex, TObject* AObject) override;
    // The first empty item takes S (a blank when S is empty); -1 when every item has text.
    Integer Add(const std::string& S) override;
    // Empties the cells; the grid keeps its size.
    void Clear() override;
    // A view cannot change the grid's size: both raise "Cannot insert or delete rows from grid".
    void Delete(Integer AIndex) override;
    void Insert(Integer AIndex, const std::string& S) override;
    // Inside an update block, another list's items fill the view in order.
    void Assign(TPersistent* ASource) override;

protected:
    void SetUpdateState(bool AUpdating) override;

private:
    void CellToXY(Integer AIndex, Integer& AX, Integer& AY) const;

    TspSkinStringGrid* FGrid;
    Integer FIndex;
};

using TspGetCellParamEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TGridDrawState AState,
                                                TColor& ABGColor, bool& AFillBG, TColor& AFontColor)>;

class TspSkinStringGrid : public TspSkinDrawGrid {
public:
    explicit TspSkinStringGrid(TComponent* AOwner);
    ~TspSkinStringGrid() override;

    // Reading a cell never written gives "" and creates nothing.
    std::string CellText(Integer ACol, Integer ARow);
    void SetCellText(Integer ACol, Integer ARow, const std::string& AValue);
    TObject* CellObjects(Integer ACol, Integer ARow);
    void SetCellObjects(Integer ACol, Integer ARow, TObject* AValue);
    TspSkinStringGridStrings* Cols(Integer AIndex) { return EnsureColRow(AIndex, true); }
    TspSkinStringGridStrings* Rows(Integer AIndex) { return EnsureColRow(AIndex, false); }
    // Cell changes inside an update block repaint once, when it closes.
    void SetUpdateState(bool AUpdating);

    TspGetCellParamEvent OnGetCellParam;

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    void ColumnMoved(Integer AFrom, Integer ATo) override;
    void RowMoved(Integer AFrom, Integer ATo) override;
    std::string GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const std::string& AValue) override;

private:
    TStringSparseList* DataRow(Integer ARow) { return static_cast<TStringSparseList*>(FData->Items(ARow)); }
    TStringSparseList* EnsureDataRow(Integer ARow);
    TspSkinStringGridStrings* EnsureColRow(Integer AIndex, bool AIsCol);
    void CellChanged(Integer ACol, Integer ARow);

    std::unique_ptr<TSparseList> FData;
    std::unique_ptr<TSparseList> FRows;
    std::unique_ptr<TSparseList> FCols;
    bool FUpdating = false;
    bool FNeedsUpdating = false;
    Integer FEditUpdate = 0;
};
