// The AVX2 row kernels, eight pixels a step. Only this file is compiled for AVX2; the start-up takes these
// kernels only when the processor test reports AVX2.
#include "skin/core/pixel_kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

#pragma GCC push_options
#pragma GCC target("avx2")
#if defined(__clang__)  // clang takes the target per function
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#endif
#include "skin/core/pixel_kernels_simd.h"

namespace {

struct Avx2 {
    using V = __m256i;
    static constexpr Integer kPixels = 8;
    static V Load(const TspColor* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(TspColor* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Set32(uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }  // ~a & b
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V CmpEq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
    static V Sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
    template <int N> static V Srai32(V a) { return _mm256_srai_epi32(a, N); }
    template <int N> static V Srli32(V a) { return _mm256_srli_epi32(a, N); }
    template <int N> static V Slli32(V a) { return _mm256_slli_epi32(a, N); }
    template <int N> static V Srli16(V a) { return _mm256_srli_epi16(a, N); }
    template <int N> static V Slli16(V a) { return _mm256_slli_epi16(a, N); }
    static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V Mullo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
    // The unpacks and the pack work within each 128-bit half, so a pack undoes its unpacks pixel for pixel.
    static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
    static V UnpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    static V PackUs16(V a, V b) { return _mm256_packus_epi16(a, b); }
    static V BroadcastAlpha16(V a) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(a, 0xFF), 0xFF); }
    static bool AllSet(V m) { return _mm256_movemask_epi8(m) == -1; }
    static bool NoneSet(V m) { return _mm256_testz_si256(m, m) != 0; }
};

TspKernelSet Avx2KernelSet() { return SimdKernelSet<Avx2>(); }

}  // namespace

#if defined(__clang__)
#pragma clang attribute pop
#endif
#pragma GCC pop_options

// Even filling the set may use AVX2 registers, so nothing of it runs before the processor test.
const TspKernelSet* Avx2Kernels()
{
    if (!ProcessorHasAvx2()) return nullptr;
    static const TspKernelSet set = Avx2KernelSet();
    return &set;
}

#else

const TspKernelSet* Avx2Kernels() { return nullptr; }

#endif
