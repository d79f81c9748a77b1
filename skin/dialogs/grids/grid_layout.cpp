#include "skin/dialogs/grids/grid_layout.h"

void CalcAxisLayout(TGridAxisLayout& AAxis, Integer AExtent)
{
    Integer FixedEnd = 0;
    for (Integer I = 0; I < AAxis.FixedCount; ++I) FixedEnd += AAxis.GetExtent(I) + AAxis.LineWidth;
    AAxis.FixedEnd = FixedEnd;
    AAxis.ClientExtent = AExtent;
    AAxis.GridEnd = AAxis.FullCellsEnd = FixedEnd;
    AAxis.LastFullCell = AAxis.FirstScrollCell;
    // 64-bit: a long run of wide cells must not wrap before it passes the client edge.
    int64_t End = FixedEnd;
    for (Integer I = AAxis.FirstScrollCell; I < AAxis.CellCount; ++I) {
        End += AAxis.GetExtent(I) + AAxis.LineWidth;
        if (End > int64_t{AAxis.ClientExtent} + AAxis.LineWidth) {
            AAxis.GridEnd = AAxis.ClientExtent;
            return;
        }
        AAxis.GridEnd = static_cast<Integer>(End);
        AAxis.LastFullCell = I;
        AAxis.FullCellsEnd = AAxis.GridEnd;
    }
}

Integer AxisCellAt(const TGridAxisLayout& AAxis, Integer AN)
{
    Integer I = AAxis.FirstScrollCell;
    int64_t Pos = AAxis.FixedEnd;
    if (AN < AAxis.FixedEnd) {
        I = 0;
        Pos = 0;
    }
    for (; I < AAxis.CellCount; ++I) {
        Pos += AAxis.GetExtent(I) + AAxis.LineWidth;
        if (AN < Pos) return I;
    }
    return -1;
}

Integer AxisMaxFirstCell(const TGridAxisLayout& AAxis, Integer AStart)
{
    if (AStart < AAxis.FixedCount) return AStart;
    Integer Result = AStart;
    int64_t Line = int64_t{AAxis.ClientExtent} + AAxis.LineWidth;
    for (Integer I = AStart; I >= AAxis.FixedCount; --I) {
        Line -= AAxis.GetExtent(I) + AAxis.LineWidth;
        if (Line < AAxis.FixedEnd) break;
        if (AAxis.GetExtent(I) > 0) Result = I;
    }
    return Result;
}
