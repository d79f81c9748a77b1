#include "skin/dialogs/grids/grid_types.h"

#include <algorithm>

TGridRect NormalizeGridRect(const TGridCoord& A, const TGridCoord& B)
{
    return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

bool CellInGridRect(Integer ACol, Integer ARow, const TGridRect& R)
{
    return ACol >= R.Left && ACol <= R.Right && ARow >= R.Top && ARow <= R.Bottom;
}

namespace {

bool PointIn(const TPoint& P, const TRect& R)
{
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

}  // namespace

std::array<TRect, 4> DiffRects(const TRect& R1, const TRect& R2)
{
    std::array<TRect, 4> Out{};
    TRect I;
    I.Left = std::max(R1.Left, R2.Left);
    I.Top = std::max(R1.Top, R2.Top);
    I.Right = std::min(R1.Right, R2.Right);
    I.Bottom = std::min(R1.Bottom, R2.Bottom);
    if (I.Left >= I.Right || I.Top >= I.Bottom) {
        Out[0] = R1;
        Out[1] = R2;
        return Out;
    }
    const TRect U{std::min(R1.Left, R2.Left), std::min(R1.Top, R2.Top), std::max(R1.Right, R2.Right),
                  std::max(R1.Bottom, R2.Bottom)};
    const TPoint Probes[4][3] = {
        {{U.Left, U.Top}, {U.Left, I.Top}, {U.Left, I.Bottom}},
        {{I.Left, U.Top}, {I.Right, U.Top}, {U.Right, U.Top}},
        {{U.Right, I.Top}, {U.Right, I.Bottom}, {U.Right, U.Bottom}},
        {{U.Left, U.Bottom}, {I.Left, U.Bottom}, {I.Right, U.Bottom}},
    };
    auto InEither = [&](const TPoint& P) { return PointIn(P, R1) || PointIn(P, R2); };
    for (int S = 0; S < 4; ++S) {
        const TPoint& P1 = Probes[S][0];
        const TPoint& P2 = Probes[S][1];
        const TPoint& P3 = Probes[S][2];
        TRect R{};
        if (InEither(P1)) {
            const TPoint& End = InEither(P3) ? P3 : P2;
            R = {P1.X, P1.Y, End.X, End.Y};
        } else if (InEither(P2)) {
            R = {P2.X, P2.Y, P3.X, P3.Y};
        } else {
            continue;
        }
        switch (S) {
        case 0: R.Right = I.Left; break;
        case 1: R.Bottom = I.Top; break;
        case 2: R.Left = I.Right; break;
        default: R.Top = I.Bottom; break;
        }
        Out[S] = R;
    }
    return Out;
}
