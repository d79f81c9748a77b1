#pragma once
// Geometry of a skin-picture control: how its picture part may be resized, the corner points and client
// rectangle at a new size, and where a rectangle of the picture part lands at that size. Pure functions, so the
// controls and the tests share one copy of the rules.
#include "platform/rtl/types.h"

// The picture part of a control record, copied into the control at every lookup. Points and ClRect are relative
// to SkinRect's top-left corner.
struct TspSkinPieces {
    TPoint LTPt, RTPt, LBPt, RBPt;
    TRect SkinRect;
    TRect ClRect;
};

// The points and client rectangle for the control's current size.
struct TspFittedPieces {
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewClRect;
};

// -1 no picture part, 0 fixed size, 1 nine pieces, 2 horizontal three pieces, 3 vertical three pieces.
enum : Integer { rmNone = -1, rmFixed = 0, rmNinePiece = 1, rmHorzStrip = 2, rmVertStrip = 3 };

Integer CalcResizeMode(const TspSkinPieces& APieces);

// Fits a requested size to the skin: a fixed picture keeps its size, a three-piece strip keeps its cross size,
// a nine-piece picture takes any size (no lower limit). Only the New* values the mode defines are written.
// An unskinned control, or mode -1, changes nothing.
void FitSizeToSkin(Integer AResizeMode, bool ASkinned, const TspSkinPieces& APieces, Integer& AWidth,
                   Integer& AHeight, TspFittedPieces& AFitted);

// Places S, given in picture-part coordinates, in a control of AWidth x AHeight.
TRect MapSkinRect(Integer AResizeMode, const TspSkinPieces& APieces, const TRect& S, Integer AWidth,
                  Integer AHeight);
