#pragma once
// The explicit SIMD row kernels, written once over a vector-traits type (pixel_kernels_sse2.cpp and
// pixel_kernels_avx2.cpp each supply one and compile this under their own instruction set). Internal to those two
// files: everything here sits in an unnamed namespace so that the two instruction sets never share a symbol.
// Rows shorter than one vector, and the tail of every row but a colour-keyed one, go to the scalar reference
// kernels, which define the results bit for bit.
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

// One vector of KeyLine, given its source pixels already made opaque: key-coloured pixels keep the destination.
template <typename T>
inline void KeyStore(TspColor* ADst, typename T::V AOpaque, typename T::V AKeyed)
{
    if (T::NoneSet(AKeyed)) {
        T::Store(ADst, AOpaque);
    } else if (!T::AllSet(AKeyed)) {
        T::Store(ADst, T::Or(T::And(AKeyed, T::Load(ADst)), T::AndNot(AKeyed, AOpaque)));
    }
}

// A pixel is keyed exactly when its opaque form is the opaque key pixel, so one OR serves both the test and the
// result. Keying a pixel twice gives what keying it once does, so the first and the last vector of a row may
// overlap the aligned ones between them: no row has a scalar head or tail. A destination that overlaps the
// source would break that, and goes to the reference.
template <typename T>
void KeyLineSimd(const TspColor* Src, TspColor* Dst, Integer Count)
{
    using V = typename T::V;
    constexpr Integer k = T::kPixels;
    if (Count < k || (Dst < Src + Count && Src < Dst + Count)) {
        ReferenceKernels().KeyLine(Src, Dst, Count);
        return;
    }
    const V alpha = T::Set32(0xFF000000u);
    const V keyed_pixel = T::Set32(0xFF000000u | spKeyColor);
    auto one = [&](Integer at) {
        const V opaque = T::Or(T::Load(Src + at), alpha);
        KeyStore<T>(Dst + at, opaque, T::CmpEq32(opaque, keyed_pixel));
    };
    one(0);
    const Integer last = Count - k;
    Integer i = PixelsBeforeAlignment<T>(Dst, Count);
    if (i == 0) i = k;
    for (; i + 4 * k <= Count; i += 4 * k) {
        const V o0 = T::Or(T::Load(Src + i), alpha), o1 = T::Or(T::Load(Src + i + k), alpha);
        const V o2 = T::Or(T::Load(Src + i + 2 * k), alpha), o3 = T::Or(T::Load(Src + i + 3 * k), alpha);
        const V k0 = T::CmpEq32(o0, keyed_pixel), k1 = T::CmpEq32(o1, keyed_pixel);
        const V k2 = T::CmpEq32(o2, keyed_pixel), k3 = T::CmpEq32(o3, keyed_pixel);
        if (T::NoneSet(T::Or(T::Or(k0, k1), T::Or(k2, k3)))) {
            T::Store(Dst + i, o0);
            T::Store(Dst + i + k, o1);
            T::Store(Dst + i + 2 * k, o2);
            T::Store(Dst + i + 3 * k, o3);
            continue;
        }
        KeyStore<T>(Dst + i, o0, k0);
        KeyStore<T>(Dst + i + k, o1, k1);
        KeyStore<T>(Dst + i + 2 * k, o2, k2);
        KeyStore<T>(Dst + i + 3 * k, o3, k3);
    }
    for (; i < last; i += k) one(i);
    one(last);
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

// The row copy stays the reference one, the C library's move: it is tuned for each processor (a string move where
// that is fast) and measured faster than our own vector loops.
template <typename T>
TspKernelSet SimdKernelSet()
{
    TspKernelSet set = ReferenceKernels();
    set.PlainBlendLine = BlendLineSimd<T, false>;
    set.MMXBlendLine = BlendLineSimd<T, true>;
    set.KeyLine = KeyLineSimd<T>;
    set.FillLine = FillLineSimd<T>;
    set.SetAlphaLine = SetAlphaLineSimd<T>;
    set.KeyToAlphaLine = KeyToAlphaLineSimd<T>;
    return set;
}

}  // namespace
