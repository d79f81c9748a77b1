#include "skin/core/pixel_kernels.h"

#include <cstddef>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <mmintrin.h>
#define QUENNARY_X86 1
#endif

namespace {

bool GMMXFlag = false;
TspSimdLevel GLevel = TspSimdLevel::Reference;

inline TspColor AlphaOf(TspColor c) { return c >> 24; }

TspColor PlainBlendOne(TspColor u, TspColor l)
{
    const TspColor a = AlphaOf(u);
    auto channel = [&](int shift) {
        const TspColor uc = (u >> shift) & 0xFF, lc = (l >> shift) & 0xFF;
        return ((uc * a + lc * (255 - a)) >> 8) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

TspColor MMXBlendOne(TspColor u, TspColor l)
{
    const TspColor a = AlphaOf(u);
    TspColor result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const TspColor uc = (u >> shift) & 0xFF, lc = (l >> shift) & 0xFF;
        result |= ((uc * a + lc * (256 - a)) >> 8) << shift;
    }
    return result;
}

// The reference kernels: one pixel at a time, the definition every faster set is tested against.

// One pixel of BlendLine: a transparent source leaves the destination, an opaque one replaces it.
template <bool MMX>
void BlendLineReference(const TspColor* Src, TspColor* Dst, Integer Count)
{
    for (Integer i = 0; i < Count; ++i) {
        const TspColor s = Src[i], a = AlphaOf(s);
        if (a == 0) continue;
        Dst[i] = a == 255 ? s : (MMX ? MMXBlendOne(s, Dst[i]) : PlainBlendOne(s, Dst[i]));
    }
}

void KeyLineReference(const TspColor* Src, TspColor* Dst, Integer Count)
{
    for (Integer i = 0; i < Count; ++i)
        if ((Src[i] & 0xFFFFFF) != spKeyColor) Dst[i] = Src[i] | 0xFF000000u;
}

void CopyLineAnyOverlap(const TspColor* Src, TspColor* Dst, Integer Count)
{
    // memmove rather than a forward loop: a blit of a bitmap onto itself may overlap to the right, and a forward
    // copy would smear the row. The C library's copy is already as wide as the processor allows.
    if (Count <= 0 || Src == Dst) return;
    std::memmove(Dst, Src, static_cast<size_t>(Count) * sizeof(TspColor));
}

void FillLineReference(TspColor* Dst, Integer Count, TspColor Value)
{
    for (Integer i = 0; i < Count; ++i) Dst[i] = Value;
}

void SetAlphaLineReference(TspColor* Dst, Integer Count, Byte Alpha)
{
    const TspColor a = TspColor{Alpha} << 24;
    for (Integer i = 0; i < Count; ++i) Dst[i] = (Dst[i] & 0x00FFFFFF) | a;
}

void KeyToAlphaLineReference(TspColor* Dst, Integer Count, TspColor Key)
{
    for (Integer i = 0; i < Count; ++i)
        if (((Dst[i] ^ Key) & 0x00FFFFFF) == 0) Dst[i] &= 0x00FFFFFF;
}

const TspKernelSet kReference = {BlendLineReference<false>, BlendLineReference<true>, KeyLineReference,
                                 CopyLineAnyOverlap,        FillLineReference,        SetAlphaLineReference,
                                 KeyToAlphaLineReference};

// The rectangle routines run the table's row kernels, whatever level fills it.
void FillRectRows(TspColor* Bits, Integer Width, Integer /*Height*/, Integer X1, Integer Y1, Integer X2, Integer Y2,
                  TspColor Value)
{
    if (X2 < X1 || Y2 < Y1) return;
    for (Integer y = Y1; y <= Y2; ++y) FillLine(Bits + static_cast<ptrdiff_t>(y) * Width + X1, X2 - X1 + 1, Value);
}

void SetAlphaRectRows(TspColor* Bits, Integer Width, Integer /*Height*/, Integer X1, Integer Y1, Integer X2,
                      Integer Y2, Byte Alpha)
{
    if (X2 < X1 || Y2 < Y1) return;
    for (Integer y = Y1; y <= Y2; ++y)
        SetAlphaLine(Bits + static_cast<ptrdiff_t>(y) * Width + X1, X2 - X1 + 1, Alpha);
}

}  // namespace

// Until the start-up chooses, the table holds the reference kernels (constant data: nothing runs before main).
TspBlendPixel BlendPixel = PlainBlendPixel;
TspLineOp BlendLine = BlendLineReference<false>;
TspLineOp KeyLine = KeyLineReference;
TspLineOp CopyLine = CopyLineAnyOverlap;
TspFillLine FillLine = FillLineReference;
TspFillRectBits FillRectBits = FillRectRows;
TspSetAlphaLine SetAlphaLine = SetAlphaLineReference;
TspSetAlphaRectBits SetAlphaRectBits = SetAlphaRectRows;
TspKeyToAlphaLine KeyToAlphaLine = KeyToAlphaLineReference;

const TspKernelSet& ReferenceKernels() { return kReference; }

const TspKernelSet* KernelsOfLevel(TspSimdLevel ALevel)
{
    switch (ALevel) {
        case TspSimdLevel::Reference: return &kReference;
        case TspSimdLevel::SSE2: return Sse2Kernels();
        case TspSimdLevel::AVX2: return Avx2Kernels();
    }
    return nullptr;
}

TspColor PlainBlendPixel(TspColor Upper, TspColor Lower)
{
    const TspColor a = AlphaOf(Upper);
    if (a == 255) return Upper;
    if (a == 0) return Lower;
    return PlainBlendOne(Upper, Lower);
}

TspColor MMXBlendPixel(TspColor Upper, TspColor Lower) { return MMXBlendOne(Upper, Lower); }

bool CPUHasMMX()
{
#ifdef QUENNARY_X86
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    return ((eax >> 8) & 15) >= 5 && (edx & (1u << 23)) != 0;
#else
    return false;
#endif
}

bool ProcessorHasAvx2()
{
#ifdef QUENNARY_X86
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

TspSimdLevel BestSimdLevel()
{
    if (Avx2Kernels()) return TspSimdLevel::AVX2;
    if (Sse2Kernels()) return TspSimdLevel::SSE2;
    return TspSimdLevel::Reference;
}

bool MMXEnabled() { return GMMXFlag; }

void EndMMX()
{
#ifdef QUENNARY_X86
    if (GMMXFlag) _mm_empty();
#endif
}

void InitPixelKernels(bool AUseMMX, TspSimdLevel ALevel)
{
    const TspKernelSet* chosen = KernelsOfLevel(ALevel);
    if (!chosen) {
        chosen = &kReference;
        ALevel = TspSimdLevel::Reference;
    }
    GMMXFlag = AUseMMX;
    GLevel = ALevel;
    BlendPixel = AUseMMX ? MMXBlendPixel : PlainBlendPixel;
    BlendLine = AUseMMX ? chosen->MMXBlendLine : chosen->PlainBlendLine;
    KeyLine = chosen->KeyLine;
    CopyLine = chosen->CopyLine;
    FillLine = chosen->FillLine;
    FillRectBits = FillRectRows;
    SetAlphaLine = chosen->SetAlphaLine;
    SetAlphaRectBits = SetAlphaRectRows;
    KeyToAlphaLine = chosen->KeyToAlphaLine;
}

void InitPixelKernels(bool AUseMMX) { InitPixelKernels(AUseMMX, BestSimdLevel()); }

TspSimdLevel PixelKernelLevel() { return GLevel; }
