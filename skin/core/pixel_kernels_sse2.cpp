// The SSE2 row kernels: the baseline of every x86-64 processor.
#include "skin/core/pixel_kernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>

#include "skin/core/pixel_kernels_simd.h"

namespace {

struct Sse2 {
    using V = __m128i;
    static constexpr Integer kPixels = 4;
    static V Load(const TspColor* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(TspColor* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static V Zero() { return _mm_setzero_si128(); }
    static V Set32(uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }  // ~a & b
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static V CmpEq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm_sub_epi32(a, b); }
    template <int N> static V Srai32(V a) { return _mm_srai_epi32(a, N); }
    template <int N> static V Srli32(V a) { return _mm_srli_epi32(a, N); }
    template <int N> static V Slli32(V a) { return _mm_slli_epi32(a, N); }
    template <int N> static V Srli16(V a) { return _mm_srli_epi16(a, N); }
    template <int N> static V Slli16(V a) { return _mm_slli_epi16(a, N); }
    static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
    static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
    static V Mullo16(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
    static V UnpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static V PackUs16(V a, V b) { return _mm_packus_epi16(a, b); }
    static V BroadcastAlpha16(V a) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0xFF), 0xFF); }
    static bool AllSet(V m) { return _mm_movemask_epi8(m) == 0xFFFF; }
    static bool NoneSet(V m) { return _mm_movemask_epi8(m) == 0; }
};

}  // namespace

const TspKernelSet* Sse2Kernels()
{
    static const TspKernelSet set = SimdKernelSet<Sse2>();
    return &set;
}

#else

const TspKernelSet* Sse2Kernels() { return nullptr; }

#endif
