#pragma once
// Per-cell extents of a grid axis (column widths, row heights, tab stops): absent while every cell has the
// default, else one value per cell.
#include <optional>
#include <vector>

#include "platform/rtl/types.h"

using TExtentArray = std::optional<std::vector<Integer>>;

inline constexpr Integer MaxExtentCount = 0x7FFFFFD;

// Inserts Amount cells of the default extent at Index (Amount > 0) or removes -Amount cells from Index
// (Amount < 0); cells after them keep their extents. Removing at the end cuts the array. An emptied array is
// absent. Raises "Grid index out of range", "Too many rows or columns deleted" or "Grid too large for
// operation" without changing the array.
void ResizeExtentArray(TExtentArray& AExtents, Integer AIndex, Integer AAmount, Integer ADefault);
// Grows (new cells take the default) or cuts the array to NewCount cells.
void SetExtentCount(TExtentArray& AExtents, Integer ANewCount, Integer ADefault);
// Takes cell From out and puts it at To, the cells between shifting one place toward From; nothing when absent.
void MoveExtentEntry(TExtentArray& AExtents, Integer AFrom, Integer ATo);
bool SameExtents(const TExtentArray& A, const TExtentArray& B);
