#pragma once
// The explicit SIMD row kernels, written once over a vector-traits type (pixel_kernels_sse2.cpp and
// pixel_kernels_avx2.cpp each supply one and compile this under their own instruction set). Internal to those two
// files: everything here sits in an unnamed namespace so that the two instruction sets never share a symbol.
// Rows shorter than one vector, and the tail of every row, go to the scalar reference kernels, which define the
// results bit for bit.
#include <cstdint>

#include "skin/core/pixel_kernels.h"

namespace {

// Pixels before the first one at a whole-vector address: the kernels run those through the reference first, so
// that every vector store is aligned and never splits a cache line.
template <typename T>
inline Integer PixelsBeforeAlignment(const TspColor* ADst, Integer ACount)
{
    constexpr uintptr_t kBytes = sizeof(typename T::V);
    const auto head = static_cast<Integer>(((kBytes - reinterpret_cast<uintptr_t>(ADst) % kBytes) % kBytes) /
                                           sizeof(TspColor));
    return head < ACount ? head : ACount;
}

// Two pixels per 128 bits in eight 16-bit lanes: (u - l) * a + l * 256, less l for the plain weights 255 - a.
// Every true intermediate lies in 0..65535 and the lane arithmetic is exact modulo 2^16, so the results are bit
// for bit those of the scalar formulas.
template <typename T, bool MMX>
inline typename T::V BlendLanes(typename T::V u, typename T::V l, typename T::V a)
{
    typename T::V r = T::Add16(T::Mullo16(T::Sub16(u, l), a), T::template Slli16<8>(l));
    if (!MMX) r = T::Sub16(r, l);
    return T::template Srli16<8>(r);
}

// One vector of BlendLine. The "MMX" weights need no special cases: alpha 0 gives the destination exactly, and
// alpha 255 counted as 256 gives the source. The plain weights never reach either end, so those pixels are
// picked afterwards.
template <typename T, bool MMX>
inline typename T::V BlendVector(typename T::V s, typename T::V d, typename T::V opaque, typename T::V clear)
{
    using V = typename T::V;
    const V zero = T::Zero();
    const V slo = T::UnpackLo8(s, zero), shi = T::UnpackHi8(s, zero);
    const V dlo = T::UnpackLo8(d, zero), dhi = T::UnpackHi8(d, zero);
    V alo, ahi;
    if (MMX) {
        // Alpha 255 counts as 256 (opaque is -1 there), spread over the four lanes of its pixel.
        const V a32 = T::Sub32(T::template Srli32<24>(s), opaque);
        const V a2 = T::Or(a32, T::template Slli32<16>(a32));
        alo = T::UnpackLo32(a2, a2);
        ahi = T::UnpackHi32(a2, a2);
    } else {
        alo = T::BroadcastAlpha16(slo);
        ahi = T::BroadcastAlpha16(shi);
    }
    V blended = T::PackUs16(BlendLanes<T, MMX>(slo, dlo, alo), BlendLanes<T, MMX>(shi, dhi, ahi));
    if (!MMX) {
        blended = T::Or(blended, T::Set32(0xFF000000u));
        blended = T::Or(T::And(opaque, s), T::AndNot(opaque, blended));
        blended = T::Or(T::And(clear, d), T::AndNot(clear, blended));
    }
    return blended;
}

template <typename T, bool MMX>
void BlendLineSimd(const TspColor* Src, TspColor* Dst, Integer Count)
{
    using V = typename T::V;
    const V zero = T::Zero();
    const V ones = T::Set32(0xFFFFFFFFu);
    const TspLineOp reference = MMX ? ReferenceKernels().MMXBlendLine : ReferenceKernels().PlainBlendLine;
    Integer i = PixelsBeforeAlignment<T>(Dst, Count);
    reference(Src, Dst, i);
    for (; i + T::kPixels <= Count; i += T::kPixels) {
        const V s = T::Load(Src + i);
        const V top = T::template Srai32<24>(s);  // 0 for alpha 0, -1 for alpha 255
        const V clear = T::CmpEq32(top, zero);
        const V opaque = T::CmpEq32(top, ones);
        // Runs of fully transparent or fully opaque pixels are common in skins: skip the arithmetic for them.
        if (T::AllSet(clear)) continue;
        if (T::AllSet(opaque)) {
            T::Store(Dst + i, s);
            continue;
        }
        T::Store(Dst + i, BlendVector<T, MMX>(s, T::Load(Dst + i), opaque, clear));
    }
    reference(Src + i, Dst + i, Count - i);
}

template <typename T>
void KeyLineSimd(const TspColor* Src, TspColor* Dst, Integer Count)
{
    using V = typename T::V;
    const V rgb = T::Set32(0x00FFFFFFu);
    const V key = T::Set32(spKeyColor);
    const V alpha = T::Set32(0xFF000000u);
    Integer i = PixelsBeforeAlignment<T>(Dst, Count);
    ReferenceKernels().KeyLine(Src, Dst, i);
    for (; i + T::kPixels <= Count; i += T::kPixels) {
        const V s = T::Load(Src + i);
        const V keyed = T::CmpEq32(T::And(s, rgb), key);
        const V opaque = T::Or(s, alpha);
        if (T::NoneSet(keyed)) {
            T::Store(Dst + i, opaque);
            continue;
        }
        if (T::AllSet(keyed)) continue;
        T::Store(Dst + i, T::Or(T::And(keyed, T::Load(Dst + i)), T::AndNot(keyed, opaque)));
    }
    ReferenceKernels().KeyLine(Src + i, Dst + i, Count - i);
}

template <typename T>
void FillLineSimd(TspColor* Dst, Integer Count, TspColor Value)
{
    using V = typename T::V;
    const V v = T::Set32(Value);
    Integer i = PixelsBeforeAlignment<T>(Dst, Count);
    ReferenceKernels().FillLine(Dst, i, Value);
    for (; i + 4 * T::kPixels <= Count; i += 4 * T::kPixels) {
        T::Store(Dst + i, v);
        T::Store(Dst + i + T::kPixels, v);
        T::Store(Dst + i + 2 * T::kPixels, v);
        T::Store(Dst + i + 3 * T::kPixels, v);
    }
    for (; i + T::kPixels <= Count; i += T::kPixels) T::Store(Dst + i, v);
    ReferenceKernels().FillLine(Dst + i, Count - i, Value);
}

template <typename T>
void SetAlphaLineSimd(TspColor* Dst, Integer Count, Byte Alpha)
{
    using V = typename T::V;
    const V rgb = T::Set32(0x00FFFFFFu);
    const V a = T::Set32(TspColor{Alpha} << 24);
    Integer i = PixelsBeforeAlignment<T>(Dst, Count);
    ReferenceKernels().SetAlphaLine(Dst, i, Alpha);
    for (; i + 2 * T::kPixels <= Count; i += 2 * T::kPixels) {
        const V p0 = T::Load(Dst + i), p1 = T::Load(Dst + i + T::kPixels);
        T::Store(Dst + i, T::Or(T::And(p0, rgb), a));
        T::Store(Dst + i + T::kPixels, T::Or(T::And(p1, rgb), a));
    }
    for (; i + T::kPixels <= Count; i += T::kPixels) T::Store(Dst + i, T::Or(T::And(T::Load(Dst + i), rgb), a));
    ReferenceKernels().SetAlphaLine(Dst + i, Count - i, Alpha);
}

template <typename T>
void KeyToAlphaLineSimd(TspColor* Dst, Integer Count, TspColor Key)
{
    using V = typename T::V;
    const V rgb = T::Set32(0x00FFFFFFu);
    const V key = T::Set32(Key & 0x00FFFFFFu);
    const V alpha = T::Set32(0xFF000000u);
    Integer i = PixelsBeforeAlignment<T>(Dst, Count);
    ReferenceKernels().KeyToAlphaLine(Dst, i, Key);
    for (; i + T::kPixels <= Count; i += T::kPixels) {
        const V d = T::Load(Dst + i);
        const V keyed = T::CmpEq32(T::And(d, rgb), key);
        if (T::NoneSet(keyed)) continue;
        T::Store(Dst + i, T::AndNot(T::And(keyed, alpha), d));
    }
    ReferenceKernels().KeyToAlphaLine(Dst + i, Count - i, Key);
}

// A destination that starts inside the source further left must be copied from the right end; the C library's
// move does that. Every other copy runs forwards, with aligned stores.
template <typename T>
void CopyLineSimd(const TspColor* Src, TspColor* Dst, Integer Count)
{
    if (Count <= 0 || Src == Dst) return;
    if (Dst > Src && Dst < Src + Count) {
        ReferenceKernels().CopyLine(Src, Dst, Count);
        return;
    }
    Integer i = PixelsBeforeAlignment<T>(Dst, Count);
    for (Integer k = 0; k < i; ++k) Dst[k] = Src[k];
    for (; i + 4 * T::kPixels <= Count; i += 4 * T::kPixels) {
        const typename T::V a = T::Load(Src + i), b = T::Load(Src + i + T::kPixels);
        const typename T::V c = T::Load(Src + i + 2 * T::kPixels), d = T::Load(Src + i + 3 * T::kPixels);
        T::Store(Dst + i, a);
        T::Store(Dst + i + T::kPixels, b);
        T::Store(Dst + i + 2 * T::kPixels, c);
        T::Store(Dst + i + 3 * T::kPixels, d);
    }
    for (; i + T::kPixels <= Count; i += T::kPixels) T::Store(Dst + i, T::Load(Src + i));
    for (; i < Count; ++i) Dst[i] = Src[i];
}

template <typename T>
TspKernelSet SimdKernelSet()
{
    TspKernelSet set = ReferenceKernels();
    set.PlainBlendLine = BlendLineSimd<T, false>;
    set.MMXBlendLine = BlendLineSimd<T, true>;
    set.KeyLine = KeyLineSimd<T>;
    set.CopyLine = CopyLineSimd<T>;
    set.FillLine = FillLineSimd<T>;
    set.SetAlphaLine = SetAlphaLineSimd<T>;
    set.KeyToAlphaLine = KeyToAlphaLineSimd<T>;
    return set;
}

}  // namespace
