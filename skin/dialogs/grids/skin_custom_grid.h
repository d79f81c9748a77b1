#pragma once
// The engine of the skinned grids: a windowed skinned control showing ColCount x RowCount cells, of which the
// first FixedCols columns and FixedRows rows never scroll. It keeps per-cell extents, the current cell, the
// selection anchor and the top-left scrollable cell, and maps between cells and client pixels. Descendants
// draw the cells (DrawCell) and publish the engine (draw grid, string grid).
#include <array>

#include "platform/gui/bitmap.h"
#include "skin/controls/skin_control.h"
#include "skin/core/control_records.h"
#include "skin/dialogs/grids/grid_extents.h"
#include "skin/dialogs/grids/grid_layout.h"
#include "skin/dialogs/grids/grid_types.h"

#include <memory>

class TspSkinScrollBar;
class TspSkinCustomGrid;
class TspSkinInplaceEdit;

// Tells the grid when a linked bar goes, also when both go with one owner (which sends siblings no notice).
class TGridBarWatcher : public TComponent {
public:
    explicit TGridBarWatcher(TspSkinCustomGrid* AGrid) : TComponent(nullptr), FGrid(AGrid) {}

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TspSkinCustomGrid* FGrid;
};

inline const TGridOptions DefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                             goRangeSelect};

class TspSkinCustomGrid : public TspSkinControl {
public:
    explicit TspSkinCustomGrid(TComponent* AOwner);
    ~TspSkinCustomGrid() override;

    // Counts and extents.
    Integer ColCount() const { return FColCount; }
    // Below 1 gives 1; a fixed count that would no longer fit is lowered first.
    virtual void SetColCount(Integer AValue);
    Integer RowCount() const { return FRowCount; }
    virtual void SetRowCount(Integer AValue);
    Integer FixedCols() const { return FFixedCols; }
    void SetFixedCols(Integer AValue);
    Integer FixedRows() const { return FFixedRows; }
    void SetFixedRows(Integer AValue);
    Integer DefaultColWidth() const { return FDefaultColWidth; }
    // Drops every stored width.
    void SetDefaultColWidth(Integer AValue);
    Integer DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(Integer AValue);
    Integer ColWidths(Integer AIndex) const;
    void SetColWidths(Integer AIndex, Integer AValue);
    Integer RowHeights(Integer AIndex) const;
    void SetRowHeights(Integer AIndex, Integer AValue);
    bool TabStops(Integer AIndex) const;
    const TExtentArray& StoredColWidths() const { return FColWidths; }
    const TExtentArray& StoredRowHeights() const { return FRowHeights; }
    // New counts at once; an extent array that cannot grow puts the old counts back and passes the error on.
    void ResizeGrid(Integer ANewColCount, Integer ANewRowCount);
    // Inserts (Amount > 0) or deletes cells at Index on one axis; stored extents after them move along.
    virtual void AdjustCellCount(Integer AIndex, Integer AAmount, bool ARows);
    void RelocateColumn(Integer AFrom, Integer ATo);
    void RelocateRow(Integer AFrom, Integer ATo);
    virtual void RemoveColumn(Integer ACol);
    virtual void RemoveRow(Integer ARow);

    // Options and look.
    TGridOptions Options() const { return FOptions; }
    // goRowSelect removes goAlwaysShowEditor and pulls the anchor to the row's end.
    void SetOptions(TGridOptions AValue);
    Integer GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(Integer AValue);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor AValue);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor AValue);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool AValue);

    // Skin look: cell fonts from the record, the row height from its cell picture.
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue);
    bool UseSkinCellHeight() const { return FUseSkinCellHeight; }
    void SetUseSkinCellHeight(bool AValue);
    // See-through cells: the wallpaper, or without one the parent's background, shows behind them.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    // A copy is kept; giving a picture also makes the grid transparent.
    TBitmap* Wallpaper() const { return FWallpaper.get(); }
    void SetWallpaper(TBitmap* AValue);
    // Stretched over the control instead of tiled.
    bool WallpaperStretch() const { return FWallpaperStretch; }
    void SetWallpaperStretch(bool AValue);
    void GetSkinData() override;
    void ChangeSkinData() override;
    // Where descendants draw a cell's text: the skin's text rectangle grown with the cell, or the cell itself.
    TRect GetNewTextRect(const TRect& ACellR, TGridDrawState AState) const;

    // Current cell, selection and top-left.
    Integer Col() const { return FCurrent.X; }
    void SetCol(Integer AValue);
    Integer Row() const { return FCurrent.Y; }
    void SetRow(Integer AValue);
    Integer LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(Integer AValue);
    Integer TopRow() const { return FTopLeft.Y; }
    void SetTopRow(Integer AValue);
    TGridRect Selection() const { return NormalizeGridRect(FCurrent, FAnchor); }
    // Without checks: anchor at the top-left, current cell at the bottom-right.
    void SetSelection(const TGridRect& AValue);
    TGridCoord Anchor() const { return FAnchor; }
    Integer VisibleColCount();
    Integer VisibleRowCount();
    Integer GridWidth() { return ComputeLayout().Horz.GridEnd; }
    Integer GridHeight() { return ComputeLayout().Vert.GridEnd; }
    Integer ColOffset() const { return FColOffset; }
    TGridState GridState() const { return FGridState; }

    // The in-place editor: on shows it over the current cell (no selection, caret at the end), off closes it.
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool AValue);
    // Created the first time the editor may show, then kept until the grid goes; nullptr before.
    TspSkinInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

    // Geometry.
    TGridLayout ComputeLayout();
    TGridLayout ComputeLayoutFor(Integer AWidth, Integer AHeight);
    TGridCoord CellAtPoint(Integer AX, Integer AY, const TGridLayout& ALayout) const;
    TGridCoord MaxTopLeftFor(const TGridCoord& ACoord, const TGridLayout& ALayout) const;
    // (0, 0, 0, 0) for ranges out of view; a cut last cell ends at the client edge.
    TRect GridRectToClientRect(const TGridRect& R, bool AIncludeLine);
    // (-1, -1) outside the cells.
    TGridCoord MouseCoord(Integer AX, Integer AY);
    TRect CellBoxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);

    virtual void MoveCurrentCell(Integer ACol, Integer ARow, bool AMoveAnchor, bool AShow);
    void FocusCellAt(Integer ACol, Integer ARow, bool AMoveAnchor);
    void MoveSelectionAnchor(const TGridCoord& ACoord);
    void ScrollIntoView(const TGridCoord& ACoord);
    void SetTopLeft(Integer ALeft, Integer ATop);
    void RefreshCell(Integer ACol, Integer ARow) { RefreshGridRect({ACol, ARow, ACol, ARow}); }
    void RefreshGridRect(const TGridRect& R);
    void RefreshGrid() { Invalidate(); }

    virtual bool CanSelectCell(Integer /*ACol*/, Integer /*ARow*/) { return true; }

    // Linked external bars (not owned). A linked bar starts hidden; the grid alone shows and hides it. Whether
    // the vertical thumb scrolls while dragged (goThumbTracking) is decided when the bar is linked.
    TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    virtual void SetHScrollBar(TspSkinScrollBar* AValue);
    TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    virtual void SetVScrollBar(TspSkinScrollBar* AValue);
    // One scroll request (the SB_ codes) on axis 0 (horizontal) or 1 (vertical); thumb positions run 0..127,
    // or in pixels for the horizontal axis of a one-column grid.
    void ScrollByCode(Integer AScrollBar, Integer ACode, bool AUseRightToLeft, Integer APos);
    virtual void SyncScrollBars(bool AUpdateVert);
    virtual void SyncScrollBarPositions(bool AUpdateVert);

    // Repaints after a size change cover the whole grid when set (descendants whose cells follow the counts).
    bool VirtualView = false;

protected:
    virtual void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) = 0;

    // Notifications for descendants.
    virtual void ColumnMoved(Integer /*AFrom*/, Integer /*ATo*/) {}
    virtual void RowMoved(Integer /*AFrom*/, Integer /*ATo*/) {}
    virtual void GridSizeChanged(Integer /*AOldColCount*/, Integer /*AOldRowCount*/) {}
    virtual void TopLeftChanged();
    // Text exchange with the in-place editor.
    virtual std::string GetEditText(Integer /*ACol*/, Integer /*ARow*/) { return {}; }
    virtual void SetEditText(Integer /*ACol*/, Integer /*ARow*/, const std::string& /*AValue*/) {}
    virtual std::string GetEditMask(Integer /*ACol*/, Integer /*ARow*/) { return {}; }
    // The editor's length limit for the current cell; -1 makes the cell read-only.
    virtual Integer EditMaxLength() { return 0; }
    // Whether a typed character may reach the editor (a refused one beeps).
    virtual bool EditorAcceptsKey(char32_t /*AKey*/) { return true; }
    // Whether the editor may change the text at all.
    virtual bool EditorMayModify() { return FCanEditModify; }
    // Reloads an open editor from its cell.
    virtual void RefreshCellEditor()
    {
        FInplaceCol = FInplaceRow = -1;
        SyncCellEditor();
    }
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();

    void WndProc(TMessage& AMessage) override;
    void Paint() override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseMove(TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    bool DoMouseWheelDown(TShiftState AShift, TPoint AMousePos) override;
    bool DoMouseWheelUp(TShiftState AShift, TPoint AMousePos) override;
    // The column or row divider under a point: the state (gsColSizing, gsRowSizing or gsNormal), the cell being
    // sized, the divider's position and the point's distance from it.
    virtual void HitTestSizing(Integer AX, Integer AY, TGridLayout& ALayout, TGridState& AState, Integer& AIndex,
                               Integer& ASizingPos, Integer& ASizingOfs);
    // Moves the anchor one cell per flag (1 left, 2 right, 4 up, 8 down) while a selection drag is held beyond
    // an edge.
    virtual void AutoScrollStep(Integer ADirection);
    virtual bool GridAcceptsKey(win::WORD /*AKey*/, TShiftState /*AShift*/) { return true; }
    virtual bool CanBeginColumnMove(Integer& /*AOrigin*/, Integer& /*ADest*/, TPoint /*APt*/) { return true; }
    virtual bool CanBeginRowMove(Integer& /*AOrigin*/, Integer& /*ADest*/, TPoint /*APt*/) { return true; }
    virtual bool CanMoveColumnTo(Integer /*AOrigin*/, Integer /*ADest*/, TPoint /*APt*/) { return true; }
    virtual bool CanMoveRowTo(Integer /*AOrigin*/, Integer /*ADest*/, TPoint /*APt*/) { return true; }
    virtual bool CanEndColumnMove(Integer /*AOrigin*/, Integer /*ADest*/, TPoint /*APt*/) { return true; }
    virtual bool CanEndRowMove(Integer /*AOrigin*/, Integer /*ADest*/, TPoint /*APt*/) { return true; }
    // One tick of the drag timer: auto-scroll while selecting, move tracking while moving.
    void DragTimerTick();
    void CancelDrag();
    bool GridIsActiveControl();

    // Editor hosting.
    virtual TspSkinInplaceEdit* CreateCellEditor();
    virtual bool CanShowEditor();
    // Creates, loads, places and shows the editor over the current cell when it may show.
    virtual void SyncCellEditor();
    virtual void HideCellEditor();
    virtual void ShowCellEditor();
    // Shows the editor and hands it the typed character once it is there.
    void ShowCellEditorWithChar(char32_t AKey);
    // Stores the editor's text into its cell and hides it.
    void CloseCellEditor();
    void StoreEditorText();

    void ResetCurrentCell();
    void InvalidateSelectionChange(const TGridRect& AOldSel);
    void AfterTopLeftMove(const TGridCoord& AOld);
    // Moves the shown cells by DX, DY pixels; the uncovered parts repaint.
    void ScrollCells(Integer ADX, Integer ADY, const TGridLayout& ALayout);
    void InvalidateClientRect(const TRect& R, bool AErase);

    Integer FColCount = 5;
    Integer FRowCount = 5;
    Integer FFixedCols = 1;
    Integer FFixedRows = 1;
    Integer FDefaultColWidth = 64;
    Integer FDefaultRowHeight = 24;
    Integer FGridLineWidth = 1;
    TColor FFixedColor;
    TColor FGridLineColor;
    TGridOptions FOptions = DefaultGridOptions;
    TExtentArray FColWidths;
    TExtentArray FRowHeights;
    TExtentArray FTabStops;
    TGridCoord FCurrent;
    TGridCoord FAnchor;
    TGridCoord FTopLeft;
    Integer FColOffset = 0;
    bool FDefaultDrawing = true;
    bool FEditorMode = false;
    TGridState FGridState = gsNormal;
    Integer FSizingIndex = -1;
    Integer FSizingPos = 0;
    Integer FSizingOfs = 0;
    Integer FMoveIndex = -1;
    Integer FMovePos = -1;
    // The control's own cursor while a divider's split cursor is shown.
    TCursor FSavedCursor = crDefault;
    bool FSplitCursorShown = false;
    TspSkinInplaceEdit* FInplaceEdit = nullptr;
    Integer FInplaceCol = -1;
    Integer FInplaceRow = -1;
    bool FCanEditModify = true;
    bool FUseSkinFont = true;
    bool FUseSkinCellHeight = true;
    bool FTransparent = false;
    std::unique_ptr<TBitmap> FWallpaper;
    bool FWallpaperStretch = false;
    // The skin record while skinned (it lives in the skin data), with the select and focus pictures' rectangles
    // filled in from each other when one is empty.
    TspDataSkinGridControl* FGridRecord = nullptr;
    TRect FSelectCellRect, FFocusCellRect;
    TBitmap* FPicture = nullptr;
    TBitmap* FBGPicture = nullptr;
    TspSkinScrollBar* FHScrollBar = nullptr;
    TspSkinScrollBar* FVScrollBar = nullptr;
    bool FInCheckScrollBars = false;
    std::unique_ptr<TGridBarWatcher> FBarWatcher;

private:
    // The dotted XOR lines of a drag, drawn straight on the window; drawing one twice erases it.
    void XorSizingLine(const TGridLayout& ALayout);
    void XorMoveLine();
    void XorLine(TPoint AFrom, TPoint ATo, Integer AWidth);
    void MoveAndTrack(Integer AMouse, Integer ACellHit, TGridLayout& ALayout, bool AHorizontal, TPoint APt);
    void GridDrawLines(bool ADoHorz, bool ADoVert, Integer ACol, Integer ARow, const std::array<Integer, 4>& ABounds,
                       TColor AOnColor, TColor AOffColor, const TGridLayout& ALayout, TColor ALineColor);
    void DrawCellRange(Integer ACol, Integer ARow, Integer AStartX, Integer AStartY, Integer AStopX, Integer AStopY,
                       TColor AColor, TGridDrawState AIncludeState, const TGridLayout& ALayout,
                       const TGridRect& ASel);
    void BuildSkinCellImage(TBitmap* ABitmap, TGridDrawState AState, Integer AW, Integer AH);
    void ApplyCellFont(TCanvas* ACanvas, TGridDrawState AState, TColor AColor);
    void ApplyCellFontTo(TFont* AFont, TGridDrawState AState, TColor AColor);
    void PrepareCellEditor();
    // What shows behind transparent cells, at the control's size.
    void SetParentImage(TBitmap* AImage);
    bool HasWallpaper() const { return FWallpaper && !FWallpaper->Empty(); }
    // Messages of the editor's hosting; false when the message is not one of them.
    bool HandleEditorMessage(TMessage& AMessage);
    void ScrollOneColumn(Integer ACode, Integer APos, Integer AFactor, const TGridLayout& ALayout);
    void LinkBar(TspSkinScrollBar* ABar, bool AHorizontal);
    void UnlinkBars();
    friend class TGridBarWatcher;
    // The editor hands keys, clicks and its questions to the grid's own handlers.
    friend class TspSkinInplaceEdit;
    // Range of one axis into its bar; returns whether the bar is to be shown.
    bool SyncAxisRange(bool AHorizontal, Integer AWidth, Integer AHeight, bool AUpdateVert,
                       const TGridCoord& AOldTopLeft);
    void SetAxisExtent(TExtentArray& AExtents, Integer ACount, Integer ADefault, Integer AIndex, Integer AValue);
    void ApplyCounts();
    void AdjustAfterRelocate(Integer AFrom, Integer ATo, bool AColumns);
};
