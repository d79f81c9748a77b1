#pragma once
// Pieces of a skin picture made at a new size: three-part strips that grow in one direction, and the four
// border bitmaps of a nine-part element (the form frame) or of a whole mask picture (for window regions).
#include "platform/rtl/types.h"

class TBitmap;

// A horizontal strip keeps SourceRect's height (NewHeight is not used); both ends kept, middle stretched or tiled.
void BuildHStripImage(Integer LeftMargin, Integer RightMargin, TBitmap* Dest, TBitmap* Picture, TRect SourceRect,
                      Integer NewWidth, Integer NewHeight, bool Stretch);
// Left end kept, middle to the right edge.
void BuildLeftStripImage(Integer LeftMargin, Integer RightMargin, TBitmap* Dest, TBitmap* Picture, TRect SourceRect,
                         Integer NewWidth, Integer NewHeight, bool Stretch);
// Only the middle, over the whole width.
void FillHStripImage(Integer LeftMargin, Integer RightMargin, TBitmap* Dest, TBitmap* Picture, TRect SourceRect,
                     Integer NewWidth, Integer NewHeight, bool Stretch);
// A vertical strip keeps SourceRect's width (NewWidth is not used).
void BuildVStripImage(Integer TopMargin, Integer BottomMargin, TBitmap* Dest, TBitmap* Picture, TRect SourceRect,
                      Integer NewWidth, Integer NewHeight, bool Stretch);

// The form frame at a new size; the top and bottom strips carry the corners. A strip whose conditions do not
// hold is not built and its bitmap is left as it was; the others are built all the same.
void BuildSkinFrameStrips(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPoint,
                          TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                          TBitmap* LeftDest, TBitmap* TopDest, TBitmap* RightDest, TBitmap* BottomDest,
                          TBitmap* Picture, TRect SkinRect, Integer NewWidth, Integer NewHeight, bool LeftStretch,
                          bool TopStretch, bool RightStretch, bool BottomStretch);

// The same for a whole mask picture (points and ClRect in picture coordinates), edges always tiled.
void BuildMaskFrameStrips(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPoint,
                          TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Mask,
                          TBitmap* TopDest, TBitmap* LeftDest, TBitmap* RightDest, TBitmap* BottomDest,
                          Integer NewWidth, Integer NewHeight);
