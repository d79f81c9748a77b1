#pragma once
// The three drawing operations every nine-part and strip routine is built from: a plain copy, a stretch and a
// tile along one axis. A tile or stretch of zero source length is skipped: a skin may describe an edge that way
// and must not bring the drawing down.
#include "platform/rtl/types.h"

class TBitmap;

namespace compose {

// Copies ASrc of APicture into ADst of ADest, scaling when the two differ in size. Empty rectangles draw nothing.
void CopyPart(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc);
// Copies ASrc into a temporary bitmap of its own size and draws that scaled into ADst.
void StretchPart(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc);
// Lays tiles of ASrc's width from ADst.Left, N + 1 of them with N = Width(ADst) div Width(ASrc), each shortened at
// ADst.Right together with its source. The tile height is ADst's (ASrc's height is scaled to it).
void TileHorz(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc);
void TileVert(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc);
// Both directions, columns outer and rows inner, cut at ADst's right and bottom edges.
void TileBoth(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc);
// Stretch or tile along one axis, as an edge flag asks.
void EdgeHorz(bool AStretch, TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc);
void EdgeVert(bool AStretch, TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc);

}  // namespace compose
