#include "skin/controls/skin_geometry.h"

#include "skin/core/rect_helpers.h"

namespace {

TRect Moved(TRect R, Integer dx, Integer dy)
{
    return {R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy};
}

// The platform's point-in-rectangle rule: the right and bottom edges lie outside.
bool PtInPiece(const TRect& R, TPoint P)
{
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

bool InsidePiece(const TRect& S, const TRect& Piece)
{
    return PtInPiece(Piece, S.TopLeft()) && PtInPiece(Piece, S.BottomRight());
}

struct TCornerPieces {
    TRect TL, TR, BL, BR;
};

TCornerPieces CornerPieces(const TspSkinPieces& P)
{
    const Integer w = WidthOfRect(P.SkinRect), h = HeightOfRect(P.SkinRect);
    return {Rect(0, 0, P.LTPt.X, P.LTPt.Y), Rect(P.RTPt.X, 0, w, P.RTPt.Y), Rect(0, P.LBPt.Y, P.LBPt.X, h),
            Rect(P.RBPt.X, P.RBPt.Y, w, h)};
}

TRect MapNinePiece(const TspSkinPieces& P, const TRect& S, Integer dw, Integer dh)
{
    const TCornerPieces c = CornerPieces(P);
    if (InsidePiece(S, c.TL)) return S;
    if (InsidePiece(S, c.TR)) return Moved(S, dw, 0);
    if (InsidePiece(S, c.BL)) return Moved(S, 0, dh);
    if (InsidePiece(S, c.BR)) return Moved(S, dw, dh);
    // The band rules count a point on a piece's right or bottom edge as inside.
    const TPoint tl = S.TopLeft(), br = S.BottomRight();
    auto in = [](const TRect& R, TPoint Pt) { return PointInsideRect(R, Pt); };
    if (in(c.TL, tl) && in(c.BR, br)) return Rect(S.Left, S.Top, S.Right + dw, S.Bottom + dh);
    if (in(c.TL, tl) && in(c.TR, br)) return Rect(S.Left, S.Top, S.Right + dw, S.Bottom);
    if (in(c.BL, tl) && in(c.BR, br)) return Rect(S.Left, S.Top + dh, S.Right + dw, S.Bottom + dh);
    if (in(c.TL, tl) && in(c.BL, br)) return Rect(S.Left, S.Top, S.Right, S.Bottom + dh);
    if (in(c.TR, tl) && in(c.BR, br)) return Rect(S.Left + dw, S.Top, S.Right + dw, S.Bottom + dh);
    return S;
}

}  // namespace

Integer CalcResizeMode(const TspSkinPieces& APieces)
{
    if (IsEmptyRect(APieces.SkinRect)) return rmNone;
    if (APieces.RBPt.X != 0 && APieces.RBPt.Y != 0) return rmNinePiece;
    if (APieces.RTPt.X != 0 || APieces.RTPt.Y != 0) return rmHorzStrip;
    if (APieces.LBPt.X != 0 || APieces.LBPt.Y != 0) return rmVertStrip;
    return rmFixed;
}

void FitSizeToSkin(Integer AResizeMode, bool ASkinned, const TspSkinPieces& P, Integer& AWidth, Integer& AHeight,
                   TspFittedPieces& F)
{
    if (!ASkinned) return;
    const Integer dw = AWidth - WidthOfRect(P.SkinRect);
    const Integer dh = AHeight - HeightOfRect(P.SkinRect);
    switch (AResizeMode) {
    case rmNinePiece:
        F.NewLTPoint = P.LTPt;
        F.NewRTPoint = {P.RTPt.X + dw, P.RTPt.Y};
        F.NewLBPoint = {P.LBPt.X, P.LBPt.Y + dh};
        F.NewRBPoint = {P.RBPt.X + dw, P.RBPt.Y + dh};
        F.NewClRect = Rect(P.ClRect.Left, P.ClRect.Top, P.ClRect.Right + dw, P.ClRect.Bottom + dh);
        break;
    case rmHorzStrip:
        AHeight = HeightOfRect(P.SkinRect);
        F.NewLTPoint = P.LTPt;
        F.NewRTPoint = {P.RTPt.X + dw, P.RTPt.Y};
        F.NewClRect = Rect(P.ClRect.Left, P.ClRect.Top, P.ClRect.Right + dw, P.ClRect.Bottom);
        break;
    case rmVertStrip:
        AWidth = WidthOfRect(P.SkinRect);
        F.NewLTPoint = P.LTPt;
        F.NewLBPoint = {P.LBPt.X, P.LBPt.Y + dh};
        F.NewClRect = Rect(P.ClRect.Left, P.ClRect.Top, P.ClRect.Right, P.ClRect.Bottom + dh);
        break;
    case rmFixed:
        AWidth = WidthOfRect(P.SkinRect);
        AHeight = HeightOfRect(P.SkinRect);
        F.NewClRect = P.ClRect;
        break;
    default: break;
    }
}

TRect MapSkinRect(Integer AResizeMode, const TspSkinPieces& P, const TRect& S, Integer AWidth, Integer AHeight)
{
    const Integer dw = AWidth - WidthOfRect(P.SkinRect);
    const Integer dh = AHeight - HeightOfRect(P.SkinRect);
    switch (AResizeMode) {
    case rmNinePiece: return MapNinePiece(P, S, dw, dh);
    case rmHorzStrip:
        if (S.Left <= P.LTPt.X && S.Right >= P.RTPt.X) return Rect(S.Left, S.Top, S.Right + dw, S.Bottom);
        if (S.Left >= P.RTPt.X && S.Right > P.RTPt.X) return Moved(S, dw, 0);
        return S;
    case rmVertStrip:
        if (S.Top <= P.LTPt.Y && S.Bottom >= P.LBPt.Y) return Rect(S.Left, S.Top, S.Right, S.Bottom + dh);
        if (S.Top >= P.LBPt.Y && S.Bottom > P.LBPt.Y) return Moved(S, 0, dh);
        return S;
    default: return S;
    }
}
