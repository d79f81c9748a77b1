#include "skin/core/pixel_kernels.h"

#include <algorithm>
#include <cstddef>
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
// Four pixels of BlendLine at once. Every intermediate fits an unsigned 16-bit lane: u * a + l * (256 - a) is at
// most 255 * 256, so the results are bit for bit those of the scalar formulas.
template <bool MMX>
inline __m128i Blend4(__m128i s, __m128i d)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i a32 = _mm_srli_epi32(s, 24);
    const __m128i a2 = _mm_or_si128(a32, _mm_slli_epi32(a32, 16));
    const __m128i alo = _mm_unpacklo_epi32(a2, a2);
    const __m128i ahi = _mm_unpackhi_epi32(a2, a2);
    const __m128i full = _mm_set1_epi16(MMX ? 256 : 255);
    const __m128i slo = _mm_unpacklo_epi8(s, zero), shi = _mm_unpackhi_epi8(s, zero);
    const __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
    __m128i rlo = _mm_add_epi16(_mm_mullo_epi16(slo, alo), _mm_mullo_epi16(dlo, _mm_sub_epi16(full, alo)));
    __m128i rhi = _mm_add_epi16(_mm_mullo_epi16(shi, ahi), _mm_mullo_epi16(dhi, _mm_sub_epi16(full, ahi)));
    __m128i blended = _mm_packus_epi16(_mm_srli_epi16(rlo, 8), _mm_srli_epi16(rhi, 8));
    if (!MMX) blended = _mm_or_si128(blended, _mm_set1_epi32(static_cast<int>(0xFF000000u)));
    const __m128i opaque = _mm_cmpeq_epi32(a32, _mm_set1_epi32(255));
    const __m128i clear = _mm_cmpeq_epi32(a32, zero);
    blended = _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, blended));
    return _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, blended));
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
        const __m128i a32 = _mm_srli_epi32(s, 24);
        // Runs of fully transparent or fully opaque pixels are common in skins: skip the arithmetic for them.
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(a32, zero)) == 0xFFFF) continue;
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_srai_epi32(s, 24), ones)) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), s);
            continue;
        }
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dst + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + i), Blend4<MMX>(s, d));
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
    std::fill_n(Dst, Count, Value);
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
