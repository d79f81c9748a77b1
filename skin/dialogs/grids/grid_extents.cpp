#include "skin/dialogs/grids/grid_extents.h"

#include <algorithm>

#include "skin/dialogs/grids/grid_types.h"

void ResizeExtentArray(TExtentArray& AExtents, Integer AIndex, Integer AAmount, Integer ADefault)
{
    if (AAmount == 0) return;
    const Integer OldCount = AExtents ? static_cast<Integer>(AExtents->size()) : 0;
    if (AIndex < 0 || AIndex > OldCount) RaiseGridError(SGridIndexError);
    const int64_t NewCount = int64_t{OldCount} + AAmount;
    if (NewCount < 0) RaiseGridError(STooManyDeleted);
    if (NewCount > MaxExtentCount) RaiseGridError(SGridTooLarge);
    if (NewCount == 0) {
        AExtents.reset();
        return;
    }
    if (!AExtents) AExtents.emplace();
    auto& V = *AExtents;
    if (AAmount > 0) {
        V.insert(V.begin() + AIndex, static_cast<size_t>(AAmount), ADefault);
    } else if (int64_t{AIndex} - AAmount <= OldCount) {
        V.erase(V.begin() + AIndex, V.begin() + AIndex - AAmount);
    } else {
        V.resize(static_cast<size_t>(NewCount));
    }
}

void SetExtentCount(TExtentArray& AExtents, Integer ANewCount, Integer ADefault)
{
    const Integer OldCount = AExtents ? static_cast<Integer>(AExtents->size()) : 0;
    ResizeExtentArray(AExtents, OldCount, ANewCount - OldCount, ADefault);
}

void MoveExtentEntry(TExtentArray& AExtents, Integer AFrom, Integer ATo)
{
    if (!AExtents) return;
    auto& V = *AExtents;
    const auto N = static_cast<Integer>(V.size());
    if (AFrom < 0 || ATo < 0 || AFrom >= N || ATo >= N || AFrom == ATo) return;
    if (AFrom < ATo)
        std::rotate(V.begin() + AFrom, V.begin() + AFrom + 1, V.begin() + ATo + 1);
    else
        std::rotate(V.begin() + ATo, V.begin() + AFrom, V.begin() + AFrom + 1);
}

bool SameExtents(const TExtentArray& A, const TExtentArray& B)
{
    if (!A || !B) return !A && !B;
    return *A == *B;
}
