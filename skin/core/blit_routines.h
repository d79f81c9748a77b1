#pragma once
// Whole-rectangle transfers of skin bitmaps, reached through a table filled once at start-up: to a device
// context, into the bits of a foreign bottom-up DIB section, and between skin bitmaps (one to one or scaled by
// nearest neighbour).
#include "platform/gdi/gdi_types.h"
#include "platform/rtl/types.h"
#include "skin/core/pixel_kernels.h"

class TspBitmap;

using TspDCBlt = void (*)(win::HDC DC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, TspBitmap* Bitmap,
                          Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH);
using TspGetDIBInfo = void* (*)(win::HDC DC, Integer& Width, Integer& Height, Integer& BitCount);
using TspDIBBlt = void (*)(void* Bits, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect,
                           TspBitmap* Src, Integer DIBHeight, Integer DIBWidth);
using TspBmpBlt = void (*)(TspBitmap* Dest, const TRect& DstRect, TspBitmap* Src, Integer SrcX, Integer SrcY);
using TspBmpStretchBlt = void (*)(TspBitmap* Dest, const TRect& DstRect, const TRect& ClipRect, const TRect& SrcRect,
                                  TspBitmap* Src);

extern TspDCBlt DCCopyBlt;
extern TspDCBlt DCBlendBlt;
extern TspDCBlt DCKeyBlt;
extern TspGetDIBInfo GetDIBInfo;
extern TspDIBBlt DIBCopyBlt;
extern TspDIBBlt DIBBlendBlt;
extern TspDIBBlt DIBKeyBlt;
extern TspBmpBlt BmpCopyBlt;
extern TspBmpBlt BmpBlendBlt;
extern TspBmpBlt BmpKeyBlt;
extern TspBmpStretchBlt BmpStretchCopyBlt;
extern TspBmpStretchBlt BmpStretchBlendBlt;
extern TspBmpStretchBlt BmpStretchKeyBlt;

// Whether the platform offers a transparent blit, as its capability set says. This platform has none, so keyed
// drawing to a DC is always done in memory (which also writes alpha 255 where the system routine would have copied
// the source alpha).
void LoadTransparentBlt();
bool TransparentBltAvailable();
// The screen has 24 bits per pixel or more.
bool IsDeepColorScreen();
void InitBlitRoutines();

// The start of the bitmap-and-effects unit: pixel routines by the processor test, the transparent blit, the
// blit table. Runs once; later calls do nothing.
void SkinEffectsUnitStart();
