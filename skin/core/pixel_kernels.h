#pragma once
// Row and pixel operations on 32-bit skin pixels, reached through routine variables that the skin core's start-up
// fills once. The blend has two variants: the plain one (weights 255 - a and a, alpha forced to 255) and the
// "MMX" one (weights 256 - a and a on all four bytes, no special cases); the processor test picks the latter.
#include <cstdint>

#include "platform/rtl/types.h"

// $AARRGGBB; in memory blue, green, red, alpha. Alpha is straight, not premultiplied.
using TspColor = uint32_t;
using PspColorArray = TspColor*;

// Low 24 bits of a pixel that marks a transparent pixel in colour-key mode, and the full value stored for one.
inline constexpr TspColor spKeyColor = 0x7F007F;
inline constexpr TspColor spKeyPixel = 0x007F007F;

using TspBlendPixel = TspColor (*)(TspColor Upper, TspColor Lower);
using TspLineOp = void (*)(const TspColor* Src, TspColor* Dst, Integer Count);
using TspFillLine = void (*)(TspColor* Dst, Integer Count, TspColor Value);
using TspFillRectBits = void (*)(TspColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1, Integer X2,
                                 Integer Y2, TspColor Value);
using TspSetAlphaLine = void (*)(TspColor* Dst, Integer Count, Byte Alpha);
using TspSetAlphaRectBits = void (*)(TspColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1,
                                     Integer X2, Integer Y2, Byte Alpha);
using TspKeyToAlphaLine = void (*)(TspColor* Dst, Integer Count, TspColor Key);

// The kernel table. Rectangles of the two rectangle routines are inclusive (X1..X2, Y1..Y2) on a top-down buffer.
extern TspBlendPixel BlendPixel;
extern TspLineOp BlendLine;
extern TspLineOp KeyLine;
extern TspLineOp CopyLine;
extern TspFillLine FillLine;
extern TspFillRectBits FillRectBits;
extern TspSetAlphaLine SetAlphaLine;
extern TspSetAlphaRectBits SetAlphaRectBits;
extern TspKeyToAlphaLine KeyToAlphaLine;

// A full set of row kernels. The reference set is plain C and defines every result; the SIMD sets must match it
// bit for bit (tested on random rows of every length and alignment).
struct TspKernelSet {
    TspLineOp PlainBlendLine;
    TspLineOp MMXBlendLine;
    TspLineOp KeyLine;
    TspLineOp CopyLine;
    TspFillLine FillLine;
    TspSetAlphaLine SetAlphaLine;
    TspKeyToAlphaLine KeyToAlphaLine;
};

enum class TspSimdLevel { Reference, SSE2, AVX2 };

const TspKernelSet& ReferenceKernels();
// nullptr when this build or this processor has no such kernels.
const TspKernelSet* Sse2Kernels();
const TspKernelSet* Avx2Kernels();
const TspKernelSet* KernelsOfLevel(TspSimdLevel ALevel);

// The processor tests. MMX (always there on x86-64) chooses the blend formula; AVX2 chooses the wider kernels.
bool CPUHasMMX();
bool ProcessorHasAvx2();
// The widest kernels this processor can run.
TspSimdLevel BestSimdLevel();

// Whether the "MMX" blend was chosen; read by EndMMX.
bool MMXEnabled();
// Ends a run of MMX work; does nothing unless the "MMX" kernels are in use.
void EndMMX();
// Fills the kernel table with the "MMX" blend (AUseMMX) or the plain one, from the kernels of ALevel (the
// reference ones when that level is not available). The skin core's start-up calls it once with the processor
// tests' answers; until then the table holds the reference kernels. Tests call it to force a variant.
void InitPixelKernels(bool AUseMMX, TspSimdLevel ALevel);
void InitPixelKernels(bool AUseMMX);
TspSimdLevel PixelKernelLevel();

// The two blend formulas on one pixel, for callers that need a fixed variant whatever the table holds.
TspColor PlainBlendPixel(TspColor Upper, TspColor Lower);
TspColor MMXBlendPixel(TspColor Upper, TspColor Lower);
