#include "skin/core/pixel_kernels.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <emmintrin.h>
#include <mmintrin.h>
#define QUENNARY_SSE2 1
#endif

namespace {

bool GMMXFlag = false;

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

// One pixel of BlendLine: a transparent source leaves the destination, an opaque one replaces it.
template <bool MMX>
inline TspColor BlendLinePixel(TspColor s, TspColor d)
{
    const TspColor a = AlphaOf(s);
    if (a == 0) return d;
    if (a == 255) return s;
    return MMX ? MMXBlendOne(s, d) : PlainBlendOne(s, d);
}

#ifdef QUENNARY_SSE2
// Two pixels (eight 16-bit lanes) of the blend: (u - l) * a + l * 256, less l for the plain weights 255 - a.
// Every true intermediate lies in 0..65535 and the lane arithmetic is exact modulo 2^16, so the results are bit for
// bit those of the scalar formulas.
template <bool MMX>
inline __m128i BlendLanes(__m128i u, __m128i l, __m128i a)
{
    __m128i r = _mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(u, l), a), _mm_slli_epi16(l, 8));
    if (!MMX) r = _mm_sub_epi16(r, l);
    return _mm_srli_epi16(r, 8);
}

inline __m128i BroadcastAlpha(__m128i lanes) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(lanes, 0xFF), 0xFF); }

// Four pixels of BlendLine. The "MMX" weights need no special cases: alpha 0 gives the destination exactly, and
// alpha 255 counted as 256 gives the source. The plain weights never reach either end, so those pixels are
// picked afterwards.
template <bool MMX>
inline __m128i Blend4(__m128i s, __m128i d, __m128i opaque, __m128i clear)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i slo = _mm_unpacklo_epi8(s, zero), shi = _mm_unpackhi_epi8(s, zero);
    const __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
    __m128i alo, ahi;
    if (MMX) {
        // Alpha 255 counts as 256 (opaque is -1 there), spread over the four lanes of its pixel.
        const __m128i a32 = _mm_sub_epi32(_mm_srli_epi32(s, 24), opaque);
        const __m128i a2 = _mm_or_si128(a32, _mm_slli_epi32(a32, 16));
        alo = _mm_unpacklo_epi32(a2, a2);
        ahi = _mm_unpackhi_epi32(a2, a2);
    } else {
        alo = BroadcastAlpha(slo);
        ahi = BroadcastAlpha(shi);
    }
    __m128i blended = _mm_packus_epi16(BlendLanes<MMX>(slo, dlo, alo), BlendLanes<MMX>(shi, dhi, ahi));
    if (!MMX) {
        blended = _mm_or_si128(blended, _mm_set1_epi32(static_cast<int>(0xFF000000u)));
        blended = _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, blended));
        blended = _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, blended));
    }
    return blended;
}
#endif

template <bool MMX>
void BlendLineImpl(const TspColor* Src, TspColor* Dst, Integer Count)
{
    Integer i = 0;
#ifdef QUENNARY_SSE2
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi32(-1);
    for (; i + 4 <= Count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        const __m128i top = _mm_srai_epi32(s, 24);  // 0 for alpha 0, -1 for alpha 255
        const __m128i clear = _mm_cmpeq_epi32(top, zero);
        const __m128i opaque = _mm_cmpeq_epi32(top, ones);
        // Runs of fully transparent or fully opaque pixels are common in skins: skip the arithmetic for them.
        const int clear_mask = _mm_movemask_epi8(clear);
        if (clear_mask == 0xFFFF) continue;
        if (_mm_movemask_epi8(opaque) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), s);
            continue;
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), Blend4<MMX>(s, d, opaque, clear));
    }
#endif
    for (; i < Count; ++i) Dst[i] = BlendLinePixel<MMX>(Src[i], Dst[i]);
}

void KeyLineImpl(const TspColor* Src, TspColor* Dst, Integer Count)
{
    Integer i = 0;
#ifdef QUENNARY_SSE2
    const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
    const __m128i key = _mm_set1_epi32(static_cast<int>(spKeyColor));
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; i + 4 <= Count; i += 4) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + i));
        const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(s, rgb), key);
        const int mask = _mm_movemask_epi8(keyed);
        if (mask == 0xFFFF) continue;
        const __m128i opaque = _mm_or_si128(s, alpha);
        if (mask == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), opaque);
            continue;
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i),
                         _mm_or_si128(_mm_and_si128(keyed, d), _mm_andnot_si128(keyed, opaque)));
    }
#endif
    for (; i < Count; ++i)
        if ((Src[i] & 0xFFFFFF) != spKeyColor) Dst[i] = Src[i] | 0xFF000000u;
}

void CopyLineImpl(const TspColor* Src, TspColor* Dst, Integer Count)
{
    // memmove rather than a forward loop: a blit of a bitmap onto itself may overlap to the right, and a forward
    // copy would smear the row.
    if (Count <= 0 || Src == Dst) return;
    std::memmove(Dst, Src, static_cast<size_t>(Count) * sizeof(TspColor));
}

void FillLineImpl(TspColor* Dst, Integer Count, TspColor Value)
{
    if (Count <= 0) return;
    Integer i = 0;
#ifdef QUENNARY_SSE2
    // Single pixels up to a 16-byte boundary, then aligned stores four pixels at a time.
    for (; i < Count && (reinterpret_cast<uintptr_t>(Dst + i) & 15) != 0; ++i) Dst[i] = Value;
    const __m128i v = _mm_set1_epi32(static_cast<int>(Value));
    for (; i + 16 <= Count; i += 16) {
        __m128i* p = reinterpret_cast<__m128i*>(Dst + i);
        _mm_store_si128(p, v);
        _mm_store_si128(p + 1, v);
        _mm_store_si128(p + 2, v);
        _mm_store_si128(p + 3, v);
    }
    for (; i + 4 <= Count; i += 4) _mm_store_si128(reinterpret_cast<__m128i*>(Dst + i), v);
#endif
    for (; i < Count; ++i) Dst[i] = Value;
}

void FillRectBitsImpl(TspColor* Bits, Integer Width, Integer /*Height*/, Integer X1, Integer Y1, Integer X2,
                      Integer Y2, TspColor Value)
{
    if (X2 < X1 || Y2 < Y1) return;
    for (Integer y = Y1; y <= Y2; ++y)
        FillLineImpl(Bits + static_cast<ptrdiff_t>(y) * Width + X1, X2 - X1 + 1, Value);
}

void SetAlphaLineImpl(TspColor* Dst, Integer Count, Byte Alpha)
{
    const TspColor a = TspColor{Alpha} << 24;
    for (Integer i = 0; i < Count; ++i) Dst[i] = (Dst[i] & 0x00FFFFFF) | a;
}

void SetAlphaRectBitsImpl(TspColor* Bits, Integer Width, Integer /*Height*/, Integer X1, Integer Y1, Integer X2,
                          Integer Y2, Byte Alpha)
{
    if (X2 < X1 || Y2 < Y1) return;
    for (Integer y = Y1; y <= Y2; ++y)
        SetAlphaLineImpl(Bits + static_cast<ptrdiff_t>(y) * Width + X1, X2 - X1 + 1, Alpha);
}

void KeyToAlphaLineImpl(TspColor* Dst, Integer Count, TspColor Key)
{
    for (Integer i = 0; i < Count; ++i)
        if (((Dst[i] ^ Key) & 0x00FFFFFF) == 0) Dst[i] &= 0x00FFFFFF;
}

// The table starts with the plain routines so that nothing can call through an empty variable; the processor
// test below then picks the variant once, before main.
const bool GUnitStarted = (InitPixelKernels(CPUHasMMX()), true);

}  // namespace

TspBlendPixel BlendPixel = PlainBlendOne;
TspLineOp BlendLine = BlendLineImpl<false>;
TspLineOp KeyLine = KeyLineImpl;
TspLineOp CopyLine = CopyLineImpl;
TspFillLine FillLine = FillLineImpl;
TspFillRectBits FillRectBits = FillRectBitsImpl;
TspSetAlphaLine SetAlphaLine = SetAlphaLineImpl;
TspSetAlphaRectBits SetAlphaRectBits = SetAlphaRectBitsImpl;
TspKeyToAlphaLine KeyToAlphaLine = KeyToAlphaLineImpl;

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
#ifdef QUENNARY_SSE2
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    return ((eax >> 8) & 15) >= 5 && (edx & (1u << 23)) != 0;
#else
    return false;
#endif
}

bool MMXEnabled() { return GMMXFlag; }

void EndMMX()
{
#ifdef QUENNARY_SSE2
    if (GMMXFlag) _mm_empty();
#endif
}

void InitPixelKernels(bool AUseMMX)
{
    (void)GUnitStarted;
    GMMXFlag = AUseMMX;
    BlendPixel = AUseMMX ? MMXBlendPixel : PlainBlendPixel;
    BlendLine = AUseMMX ? BlendLineImpl<true> : BlendLineImpl<false>;
    KeyLine = KeyLineImpl;
    CopyLine = CopyLineImpl;
    FillLine = FillLineImpl;
    FillRectBits = FillRectBitsImpl;
    SetAlphaLine = SetAlphaLineImpl;
    SetAlphaRectBits = SetAlphaRectBitsImpl;
    KeyToAlphaLine = KeyToAlphaLineImpl;
}
