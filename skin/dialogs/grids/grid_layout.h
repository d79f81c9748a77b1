#pragma once
// Where the cells of a grid lie for a given client size: per axis, the fixed band, the scrollable cells shown
// from the first scrollable one, the last fully visible cell and the grid's end. Computed on demand, never
// stored; all geometry, painting, scrolling and hit tests start from it.
#include <functional>

#include "skin/dialogs/grids/grid_types.h"

struct TGridAxisLayout {
    Integer LineWidth = 0;
    Integer FixedEnd = 0;
    Integer GridEnd = 0;
    Integer ClientExtent = 0;
    Integer LastFullCell = 0;
    Integer FullCellsEnd = 0;
    Integer FixedCount = 0;
    Integer FirstScrollCell = 0;
    Integer CellCount = 0;
    std::function<Integer(Integer)> GetExtent;
};

struct TGridLayout {
    TGridAxisLayout Horz;
    TGridAxisLayout Vert;
};

// Fills FixedEnd, GridEnd, LastFullCell and FullCellsEnd for the available extent. LastFullCell stays the first
// scrollable cell even when that one is cut off.
void CalcAxisLayout(TGridAxisLayout& AAxis, Integer AExtent);
// The cell under a coordinate of one axis, or -1.
Integer AxisCellAt(const TGridAxisLayout& AAxis, Integer AN);
// The largest first scrollable cell that still shows AStart at the far edge; cells of zero extent are never
// chosen.
Integer AxisMaxFirstCell(const TGridAxisLayout& AAxis, Integer AStart);
