#include "skin/core/skin_strips.h"

#include "platform/gui/bitmap.h"
#include "skin/core/compose_ops.h"
#include "skin/core/rect_helpers.h"

using namespace compose;

namespace {

TRect MiddleOf(const TRect& ASource, Integer ALeft, Integer ARight) {
    return Rect(ASource.Left + ALeft, ASource.Top, ASource.Right - ARight, ASource.Bottom);
}

}  // namespace

void BuildHStripImage(Integer LeftMargin, Integer RightMargin, TBitmap* Dest, TBitmap* Picture, TRect SourceRect,
                      Integer NewWidth, Integer /*NewHeight*/, bool Stretch) {
    const Integer h = HeightOfRect(SourceRect);
    Dest->SetSize(NewWidth, h);
    if (LeftMargin != 0)
        CopyPart(Dest, Rect(0, 0, LeftMargin, h), Picture,
                 Rect(SourceRect.Left, SourceRect.Top, SourceRect.Left + LeftMargin, SourceRect.Bottom));
    if (RightMargin != 0)
        CopyPart(Dest, Rect(NewWidth - RightMargin, 0, NewWidth, h), Picture,
                 Rect(SourceRect.Right - RightMargin, SourceRect.Top, SourceRect.Right, SourceRect.Bottom));
    EdgeHorz(Stretch, Dest, Rect(LeftMargin, 0, NewWidth - RightMargin, h), Picture,
             MiddleOf(SourceRect, LeftMargin, RightMargin));
}

void BuildLeftStripImage(Integer LeftMargin, Integer RightMargin, TBitmap* Dest, TBitmap* Picture, TRect SourceRect,
                         Integer NewWidth, Integer /*NewHeight*/, bool Stretch) {
    const Integer h = HeightOfRect(SourceRect);
    Dest->SetSize(NewWidth, h);
    if (LeftMargin != 0)
        CopyPart(Dest, Rect(0, 0, LeftMargin, h), Picture,
                 Rect(SourceRect.Left, SourceRect.Top, SourceRect.Left + LeftMargin, SourceRect.Bottom));
    EdgeHorz(Stretch, Dest, Rect(LeftMargin, 0, NewWidth, h), Picture, MiddleOf(SourceRect, LeftMargin, RightMargin));
}

void FillHStripImage(Integer LeftMargin, Integer RightMargin, TBitmap* Dest, TBitmap* Picture, TRect SourceRect,
                     Integer NewWidth, Integer /*NewHeight*/, bool Stretch) {
    const Integer h = HeightOfRect(SourceRect);
    Dest->SetSize(NewWidth, h);
    EdgeHorz(Stretch, Dest, Rect(0, 0, NewWidth, h), Picture, MiddleOf(SourceRect, LeftMargin, RightMargin));
}

void BuildVStripImage(Integer TopMargin, Integer BottomMargin, TBitmap* Dest, TBitmap* Picture, TRect SourceRect,
                      Integer /*NewWidth*/, Integer NewHeight, bool Stretch) {
    const Integer w = WidthOfRect(SourceRect);
    Dest->SetSize(w, NewHeight);
    if (TopMargin != 0)
        CopyPart(Dest, Rect(0, 0, w, TopMargin), Picture,
                 Rect(SourceRect.Left, SourceRect.Top, SourceRect.Right, SourceRect.Top + TopMargin));
    if (BottomMargin != 0)
        CopyPart(Dest, Rect(0, NewHeight - BottomMargin, w, NewHeight), Picture,
                 Rect(SourceRect.Left, SourceRect.Bottom - BottomMargin, SourceRect.Right, SourceRect.Bottom));
    EdgeVert(Stretch, Dest, Rect(0, TopMargin, w, NewHeight - BottomMargin), Picture,
             Rect(SourceRect.Left, SourceRect.Top + TopMargin, SourceRect.Right, SourceRect.Bottom - BottomMargin));
}

namespace {

// A horizontal band of the frame: edge between the two corners, corners copied over it.
void BuildFrameBand(TBitmap* ADest, TBitmap* APicture, const TRect& ASkinRect, Integer ASrcTop, Integer AHeight,
                    Integer AWidth, TPoint ALeftPt, TPoint ARightPt, TPoint ANewLeft, TPoint ANewRight, bool AStretch) {
    const Integer sl = ASkinRect.Left;
    ADest->SetSize(AWidth, AHeight);
    const TRect edge = Rect(sl + ALeftPt.X, ASrcTop, sl + ARightPt.X, ASrcTop + AHeight);
    if (AStretch)
        StretchPart(ADest, Rect(ANewLeft.X, 0, ANewRight.X, AHeight), APicture, edge);
    else
        TileHorz(ADest, Rect(0, 0, AWidth, AHeight), APicture, edge);
    CopyPart(ADest, Rect(0, 0, ANewLeft.X, AHeight), APicture, Rect(sl, ASrcTop, sl + ALeftPt.X, ASrcTop + AHeight));
    CopyPart(ADest, Rect(ANewRight.X, 0, AWidth, AHeight), APicture,
             Rect(sl + ARightPt.X, ASrcTop, ASkinRect.Right, ASrcTop + AHeight));
}

// A vertical side of the frame between the two bands: edge, then the pieces above and below it.
void BuildFrameSide(TBitmap* ADest, TBitmap* APicture, Integer ASrcLeft, Integer ASrcRight, Integer ASkinTop,
                    Integer AWidth, Integer AHeight, TPoint ATopPt, TPoint ABottomPt, const TRect& ClRect,
                    bool AStretch) {
    ADest->SetSize(AWidth, AHeight);
    const TRect edge = Rect(ASrcLeft, ASkinTop + ATopPt.Y, ASrcRight, ASkinTop + ABottomPt.Y);
    const Integer above = ATopPt.Y - ClRect.Top;
    const Integer below = ClRect.Bottom - ABottomPt.Y;
    if (AStretch)
        StretchPart(ADest, Rect(0, above, AWidth, AHeight - below), APicture, edge);
    else
        TileVert(ADest, Rect(0, 0, AWidth, AHeight), APicture, edge);
    if (above > 0)
        CopyPart(ADest, Rect(0, 0, AWidth, above), APicture,
                 Rect(ASrcLeft, ASkinTop + ClRect.Top, ASrcRight, ASkinTop + ATopPt.Y));
    if (below > 0)
        CopyPart(ADest, Rect(0, AHeight - below, AWidth, AHeight), APicture,
                 Rect(ASrcLeft, ASkinTop + ABottomPt.Y, ASrcRight, ASkinTop + ClRect.Bottom));
}

}  // namespace

void BuildSkinFrameStrips(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPoint,
                          TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                          TBitmap* LeftDest, TBitmap* TopDest, TBitmap* RightDest, TBitmap* BottomDest,
                          TBitmap* Picture, TRect SkinRect, Integer NewWidth, Integer NewHeight, bool LeftStretch,
                          bool TopStretch, bool RightStretch, bool BottomStretch) {
    const Integer sl = SkinRect.Left, st = SkinRect.Top;
    if (NewWidth > 0 && NewClRect.Top > 0 && RTPt.X - LTPt.X > 0)
        BuildFrameBand(TopDest, Picture, SkinRect, st, NewClRect.Top, NewWidth, LTPt, RTPt, NewLTPoint, NewRTPoint,
                       TopStretch);
    const Integer d = NewHeight - NewClRect.Bottom;
    if (NewWidth > 0 && d > 0 && RBPt.X - LBPt.X > 0)
        BuildFrameBand(BottomDest, Picture, SkinRect, SkinRect.Bottom - d, d, NewWidth, LBPt, RBPt, NewLBPoint,
                       NewRBPoint, BottomStretch);
    // The sides fill what the two bands leave, whatever height those bitmaps have now.
    const Integer e = NewHeight - BottomDest->Height() - TopDest->Height();
    if (NewClRect.Left > 0 && e > 0 && LBPt.Y - LTPt.Y > 0)
        BuildFrameSide(LeftDest, Picture, sl, sl + NewClRect.Left, st, NewClRect.Left, e, LTPt, LBPt, ClRect,
                       LeftStretch);
    const Integer f = NewWidth - NewClRect.Right;
    if (f >= 1 && e >= 1 && RBPt.Y - RTPt.Y >= 1)
        BuildFrameSide(RightDest, Picture, sl + ClRect.Right, SkinRect.Right, st, f, e, RTPt, RBPt, ClRect,
                       RightStretch);
}

namespace {

void BuildMaskSide(TBitmap* ADest, TBitmap* AMask, Integer ALeft, Integer ARight, Integer AHeight, TPoint ATopPt,
                   TPoint ABottomPt, const TRect& ClRect) {
    const Integer w = ARight - ALeft;
    ADest->SetSize(w, AHeight);
    TileVert(ADest, Rect(0, 0, w, AHeight), AMask, Rect(ALeft, ATopPt.Y, ARight, ABottomPt.Y));
    const Integer above = ATopPt.Y - ClRect.Top;
    const Integer below = ClRect.Bottom - ABottomPt.Y;
    if (above > 0) CopyPart(ADest, Rect(0, 0, w, above), AMask, Rect(ALeft, ClRect.Top, ARight, ATopPt.Y));
    if (below > 0)
        CopyPart(ADest, Rect(0, AHeight - below, w, AHeight), AMask, Rect(ALeft, ABottomPt.Y, ARight, ClRect.Bottom));
}

void BuildMaskBand(TBitmap* ADest, TBitmap* AMask, Integer ATop, Integer ABottom, Integer AWidth, TPoint ALeftPt,
                   TPoint ARightPt, TPoint ANewLeft, TPoint ANewRight) {
    const Integer h = ABottom - ATop;
    ADest->SetSize(AWidth, h);
    TileHorz(ADest, Rect(ANewLeft.X, 0, ANewRight.X, h), AMask, Rect(ALeftPt.X, ATop, ARightPt.X, ABottom));
    CopyPart(ADest, Rect(0, 0, ALeftPt.X, h), AMask, Rect(0, ATop, ALeftPt.X, ABottom));
    CopyPart(ADest, Rect(ANewRight.X, 0, AWidth, h), AMask, Rect(ARightPt.X, ATop, AMask->Width(), ABottom));
}

}  // namespace

void BuildMaskFrameStrips(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPoint,
                          TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Mask,
                          TBitmap* TopDest, TBitmap* LeftDest, TBitmap* RightDest, TBitmap* BottomDest,
                          Integer NewWidth, Integer /*NewHeight*/) {
    const Integer h = HeightOfRect(NewClRect);
    if (ClRect.Left > 0 && h > 0) BuildMaskSide(LeftDest, Mask, 0, ClRect.Left, h, LTPt, LBPt, ClRect);
    if (Mask->Width() - ClRect.Right > 0 && h > 0)
        BuildMaskSide(RightDest, Mask, ClRect.Right, Mask->Width(), h, RTPt, RBPt, ClRect);
    if (NewWidth > 0 && ClRect.Top > 0)
        BuildMaskBand(TopDest, Mask, 0, ClRect.Top, NewWidth, LTPt, RTPt, NewLTPoint, NewRTPoint);
    if (NewWidth >= 1 && Mask->Height() - ClRect.Bottom >= 1)
        BuildMaskBand(BottomDest, Mask, ClRect.Bottom, Mask->Height(), NewWidth, LBPt, RBPt, NewLBPoint, NewRBPoint);
}
