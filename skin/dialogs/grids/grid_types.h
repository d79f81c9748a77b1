#pragma once
// The value types of the skinned grids: options, states, cell coordinates and ranges, the grid's error, and the
// rectangle arithmetic that repaints only what a selection change uncovered.
#include <array>
#include <string>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/set.h"
#include "platform/rtl/types.h"

enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected, goRowSizing,
    goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
    Integer X = 0;  // column
    Integer Y = 0;  // row
    bool operator==(const TGridCoord&) const = default;
};

// Cell indexes, bounds inclusive.
struct TGridRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
    TGridCoord TopLeft() const { return {Left, Top}; }
    TGridCoord BottomRight() const { return {Right, Bottom}; }
    bool operator==(const TGridRect&) const = default;
};

class EInvalidGridOperation : public Exception {
public:
    using Exception::Exception;
};

inline constexpr const char* SGridIndexError = "Grid index out of range";
inline constexpr const char* STooManyDeleted = "Too many rows or columns deleted";
inline constexpr const char* SGridTooLarge = "Grid too large for operation";
inline constexpr const char* SFixedColTooBig = "Fixed column count must be less than column count";
inline constexpr const char* SFixedRowTooBig = "Fixed row count must be less than row count";
inline constexpr const char* SInsertDeleteGridRows = "Cannot insert or delete rows from grid";

[[noreturn]] inline void RaiseGridError(const std::string& AText) { throw EInvalidGridOperation(AText); }

TGridRect NormalizeGridRect(const TGridCoord& A, const TGridCoord& B);
bool CellInGridRect(Integer ACol, Integer ARow, const TGridRect& R);

// Up to four rectangles that together cover the parts of R1 and R2 that are not in both; empty ones are
// (0, 0, 0, 0). Disjoint rectangles come back as themselves.
std::array<TRect, 4> DiffRects(const TRect& R1, const TRect& R2);
