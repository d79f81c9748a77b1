#include "skin/core/skin_compose.h"

#include "platform/gdi/dc.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/core/compose_ops.h"
#include "skin/core/rect_helpers.h"

using namespace compose;

namespace {

// The client part stretched into AArea; the horizontal and vertical modes lay strips of the stretched part along
// one axis, clipped to AArea when AClip says so.
void StretchClient(TBitmap* Dest, TBitmap* Picture, const TRect& ASrc, const TRect& AArea, TspStretchType AType,
                   bool AClip) {
    const Integer aw = AArea.Right - AArea.Left;
    const Integer ah = AArea.Bottom - AArea.Top;
    const Integer pw = ASrc.Right - ASrc.Left;
    const Integer ph = ASrc.Bottom - ASrc.Top;
    if (aw <= 0 || ah <= 0 || pw <= 0 || ph <= 0) return;
    if (AType == spstFull) {
        StretchPart(Dest, AArea, Picture, ASrc);
        return;
    }
    TBitmap strip(AType == spstHorz ? pw : aw, AType == spstHorz ? ah : ph);
    StretchPart(&strip, Rect(0, 0, strip.Width(), strip.Height()), Picture, ASrc);
    win::HDC dc = Dest->Canvas()->Handle();
    int saved = 0;
    if (AClip) {
        saved = win::SaveDC(dc);
        win::IntersectClipRect(dc, AArea.Left, AArea.Top, AArea.Right, AArea.Bottom);
    }
    if (AType == spstHorz) {
        for (Integer k = 0; k <= aw / pw; ++k) Dest->Canvas()->Draw(AArea.Left + k * pw, AArea.Top, &strip);
    } else {
        for (Integer k = 0; k <= ah / ph; ++k) Dest->Canvas()->Draw(AArea.Left, AArea.Top + k * ph, &strip);
    }
    if (AClip) win::RestoreDC(dc, saved);
}

void DrawClientPart(TBitmap* Dest, TBitmap* Picture, const TRect& ASrc, const TRect& AArea, bool StretchEffect,
                    TspStretchType StretchType) {
    if (StretchEffect)
        StretchClient(Dest, Picture, ASrc, AArea, StretchType, true);
    else
        TileBoth(Dest, AArea, Picture, ASrc);
}

struct TNinePart {
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect ClRect;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
    TRect SkinRect;
    Integer W, H;
};

// Source and destination of one piece; every name follows the part table.
struct TPiece {
    TRect Src, Dst;
};

TPiece TopLeftCorner(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl, st, sl + p.LTPt.X, st + p.ClRect.Top), Rect(0, 0, p.NewLTPoint.X, p.NewClRect.Top)};
}
TPiece TopRightCorner(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl + p.RTPt.X, st, p.SkinRect.Right, st + p.ClRect.Top),
            Rect(p.NewRTPoint.X, 0, p.W, p.NewClRect.Top)};
}
TPiece LeftAboveEdge(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl, st + p.ClRect.Top, sl + p.ClRect.Left, st + p.LTPt.Y),
            Rect(0, p.NewClRect.Top, p.NewClRect.Left, p.NewLTPoint.Y)};
}
TPiece LeftBottomCorner(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl, st + p.LBPt.Y, sl + p.ClRect.Left, p.SkinRect.Bottom),
            Rect(0, p.NewLBPoint.Y, p.NewClRect.Left, p.H)};
}
TPiece RightAboveEdge(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl + p.ClRect.Right, st + p.ClRect.Top, p.SkinRect.Right, st + p.RTPt.Y),
            Rect(p.NewClRect.Right, p.NewClRect.Top, p.W, p.NewRTPoint.Y)};
}
TPiece RightBelowEdge(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl + p.ClRect.Right, st + p.RBPt.Y, p.SkinRect.Right, st + p.ClRect.Bottom),
            Rect(p.NewClRect.Right, p.NewRBPoint.Y, p.W, p.NewClRect.Bottom)};
}
TPiece BottomLeftOfEdge(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl + p.ClRect.Left, st + p.ClRect.Bottom, sl + p.LBPt.X, p.SkinRect.Bottom),
            Rect(p.NewClRect.Left, p.NewClRect.Bottom, p.NewLBPoint.X, p.H)};
}
TPiece BottomRightCorner(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl + p.RBPt.X, st + p.ClRect.Bottom, p.SkinRect.Right, p.SkinRect.Bottom),
            Rect(p.NewRBPoint.X, p.NewClRect.Bottom, p.W, p.H)};
}
TPiece TopEdge(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl + p.LTPt.X, st, sl + p.RTPt.X, st + p.ClRect.Top),
            Rect(p.NewLTPoint.X, 0, p.NewRTPoint.X, p.NewClRect.Top)};
}
TPiece BottomEdge(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl + p.LBPt.X, st + p.ClRect.Bottom, sl + p.RBPt.X, p.SkinRect.Bottom),
            Rect(p.NewLBPoint.X, p.NewClRect.Bottom, p.NewRBPoint.X, p.H)};
}
TPiece LeftEdge(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl, st + p.LTPt.Y, sl + p.ClRect.Left, st + p.LBPt.Y),
            Rect(0, p.NewLTPoint.Y, p.NewClRect.Left, p.NewLBPoint.Y)};
}
TPiece RightEdge(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return {Rect(sl + p.ClRect.Right, st + p.RTPt.Y, p.SkinRect.Right, st + p.RBPt.Y),
            Rect(p.NewClRect.Right, p.NewRTPoint.Y, p.W, p.NewRBPoint.Y)};
}
TRect ClientSource(const TNinePart& p) {
    const Integer sl = p.SkinRect.Left, st = p.SkinRect.Top;
    return Rect(sl + p.ClRect.Left, st + p.ClRect.Top, sl + p.ClRect.Right, st + p.ClRect.Bottom);
}

void Copy(TBitmap* Dest, TBitmap* Picture, const TPiece& APiece) { CopyPart(Dest, APiece.Dst, Picture, APiece.Src); }

bool StartComposition(TBitmap* Dest, TBitmap* Picture, const TNinePart& p) {
    Dest->SetSize(p.W, p.H);
    return !(p.RBPt.X == p.LTPt.X || p.RBPt.Y == p.LTPt.Y || Picture == nullptr || Picture->Empty());
}

}  // namespace

void ComposeSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPoint,
                      TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest,
                      TBitmap* Picture, TRect SkinRect, Integer NewWidth, Integer NewHeight, bool DrawClient,
                      bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch, bool StretchEffect,
                      TspStretchType StretchType) {
    const TNinePart p{LTPt,       RTPt,       LBPt,       RBPt,      ClRect,   NewLTPoint, NewRTPoint,
                      NewLBPoint, NewRBPoint, NewClRect,  SkinRect,  NewWidth, NewHeight};
    if (!StartComposition(Dest, Picture, p)) return;
    const TPiece top = TopEdge(p), bottom = BottomEdge(p), left = LeftEdge(p), right = RightEdge(p);
    EdgeHorz(TopStretch, Dest, top.Dst, Picture, top.Src);
    EdgeHorz(BottomStretch, Dest, bottom.Dst, Picture, bottom.Src);
    EdgeVert(LeftStretch, Dest, left.Dst, Picture, left.Src);
    EdgeVert(RightStretch, Dest, right.Dst, Picture, right.Src);
    // Corners after the edges, so they win wherever a tile spilled over them.
    Copy(Dest, Picture, TopLeftCorner(p));
    Copy(Dest, Picture, LeftAboveEdge(p));
    Copy(Dest, Picture, TopRightCorner(p));
    Copy(Dest, Picture, RightAboveEdge(p));
    Copy(Dest, Picture, LeftBottomCorner(p));
    Copy(Dest, Picture, BottomLeftOfEdge(p));
    Copy(Dest, Picture, BottomRightCorner(p));
    Copy(Dest, Picture, RightBelowEdge(p));
    if (!DrawClient) return;
    DrawClientPart(Dest, Picture, ClientSource(p), NewClRect, StretchEffect, StretchType);
}

void ComposeWindowSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPoint,
                            TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest,
                            TBitmap* Picture, TRect SkinRect, Integer NewWidth, Integer NewHeight, bool DrawClient,
                            bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch,
                            bool StretchEffect, TspStretchType StretchType) {
    ComposeSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, Dest,
                     Picture, SkinRect, NewWidth, NewHeight, DrawClient, LeftStretch, TopStretch, RightStretch,
                     BottomStretch, StretchEffect, StretchType);
}

void ComposeSkinImageNoRightEdge(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                                 TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                                 TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect, Integer NewWidth,
                                 Integer NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                                 bool /*RightStretch*/, bool BottomStretch, bool StretchEffect,
                                 TspStretchType StretchType) {
    const TNinePart p{LTPt,       RTPt,       LBPt,       RBPt,      ClRect,   NewLTPoint, NewRTPoint,
                      NewLBPoint, NewRBPoint, NewClRect,  SkinRect,  NewWidth, NewHeight};
    if (!StartComposition(Dest, Picture, p)) return;
    TPiece top = TopEdge(p), bottom = BottomEdge(p), left = LeftEdge(p);
    top.Dst.Right = NewWidth;
    bottom.Dst.Right = NewWidth;
    EdgeHorz(TopStretch, Dest, top.Dst, Picture, top.Src);
    EdgeHorz(BottomStretch, Dest, bottom.Dst, Picture, bottom.Src);
    EdgeVert(LeftStretch, Dest, left.Dst, Picture, left.Src);
    Copy(Dest, Picture, TopLeftCorner(p));
    Copy(Dest, Picture, LeftAboveEdge(p));
    Copy(Dest, Picture, LeftBottomCorner(p));
    Copy(Dest, Picture, BottomLeftOfEdge(p));
    if (!DrawClient) return;
    TRect area = NewClRect;
    area.Right = NewWidth;
    DrawClientPart(Dest, Picture, ClientSource(p), area, StretchEffect, StretchType);
}

void ComposeSkinImageSimple(TBitmap* Dest, TBitmap* Picture, TRect SkinRect, TRect ClRect, bool DrawClient) {
    const TRect newCl = Rect(ClRect.Left, ClRect.Top, Dest->Width() - (WidthOfRect(SkinRect) - ClRect.Right),
                             Dest->Height() - (HeightOfRect(SkinRect) - ClRect.Bottom));
    ComposeSkinImage(Point(ClRect.Left, ClRect.Top), Point(ClRect.Right, ClRect.Top),
                     Point(ClRect.Left, ClRect.Bottom), Point(ClRect.Right, ClRect.Bottom), ClRect,
                     Point(newCl.Left, newCl.Top), Point(newCl.Right, newCl.Top), Point(newCl.Left, newCl.Bottom),
                     Point(newCl.Right, newCl.Bottom), newCl, Dest, Picture, SkinRect, Dest->Width(), Dest->Height(),
                     DrawClient, true, true, true, true, true, spstFull);
}

void ComposeSkinClientImage(TRect ClRect, TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect,
                            Integer NewWidth, Integer NewHeight, bool StretchEffect, TspStretchType StretchType) {
    Dest->SetSize(NewWidth, NewHeight);
    if (WidthOfRect(NewClRect) == 0 || HeightOfRect(NewClRect) == 0) return;
    const TRect src = Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                           SkinRect.Top + ClRect.Bottom);
    if (StretchEffect)
        StretchClient(Dest, Picture, src, NewClRect, StretchType, false);
    else
        TileBoth(Dest, Rect(0, 0, WidthOfRect(NewClRect), HeightOfRect(NewClRect)), Picture, src);
}
