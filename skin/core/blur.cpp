#include "skin/core/blur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// One pass of the running triangle sum over a line of Count samples read through At(i, channel), writing
// Put(i, channel, sum div S). The ring of the classic stack blur only ever holds samples at clamped positions, so
// they are read back from the line itself: memory does not grow with the radius, and the division is done
// directly instead of through a table of 256 * S entries.
template <typename AtFn, typename PutFn>
void BlurLine(Integer Count, Integer r, int64_t S, AtFn At, PutFn Put)
{
    int64_t sum[3] = {0, 0, 0}, sum_in[3] = {0, 0, 0}, sum_out[3] = {0, 0, 0};
    for (Integer i = -r; i <= r; ++i) {
        const Integer src = std::min<Integer>(Count - 1, std::max<Integer>(i, 0));
        const int64_t weight = r + 1 - (i < 0 ? -i : i);
        for (int c = 0; c < 3; ++c) {
            const int64_t v = At(src, c);
            sum[c] += v * weight;
            (i <= 0 ? sum_out : sum_in)[c] += v;
        }
    }
    for (Integer x = 0; x < Count; ++x) {
        for (int c = 0; c < 3; ++c) Put(x, c, static_cast<int32_t>(sum[c] / S));
        const Integer leaving = static_cast<Integer>(std::max<int64_t>(int64_t{x} - r, 0));
        const Integer entering = static_cast<Integer>(std::min<int64_t>(int64_t{x} + r + 1, Count - 1));
        const Integer crossing = std::min<Integer>(x + 1, Count - 1);
        for (int c = 0; c < 3; ++c) {
            sum[c] -= sum_out[c];
            sum_out[c] -= At(leaving, c);
            sum_in[c] += At(entering, c);
            sum[c] += sum_in[c];
            const int64_t moving = At(crossing, c);
            sum_in[c] -= moving;
            sum_out[c] += moving;
        }
    }
}

}  // namespace

void BlurPixels(TspColor* ABits, Integer AWidth, Integer AHeight, Integer ARadius)
{
    if (ARadius <= 0 || ABits == nullptr || AWidth <= 0 || AHeight <= 0) return;
    const Integer r = std::min(ARadius, MaxBlurRadius);
    const int64_t S = int64_t{r + 1} * (r + 1);
    const size_t w = static_cast<size_t>(AWidth), count = w * static_cast<size_t>(AHeight);
    // Intermediate planes of the row pass, one per colour: red, green, blue at [channel][pixel].
    std::vector<int32_t> planes(3 * count);
    const int shift[3] = {16, 8, 0};

    for (Integer y = 0; y < AHeight; ++y) {
        const TspColor* row = ABits + y * w;
        int32_t* out = planes.data() + y * w;
        BlurLine(
            AWidth, r, S, [&](Integer x, int c) { return static_cast<int64_t>((row[x] >> shift[c]) & 0xFF); },
            [&](Integer x, int c, int32_t v) { out[c * count + x] = v; });
    }
    for (Integer x = 0; x < AWidth; ++x) {
        const int32_t* column = planes.data() + x;
        BlurLine(
            AHeight, r, S, [&](Integer y, int c) { return static_cast<int64_t>(column[c * count + y * w]); },
            [&](Integer y, int c, int32_t v) {
                TspColor& p = ABits[y * w + x];
                if (c == 0) p = 0xFF000000u;
                p |= static_cast<TspColor>(v) << shift[c];
            });
    }
}

void MaskToAlphaPixels(TspColor* ABits, Integer AWidth, Integer AHeight, const TspColor* AMask, Integer AMaskWidth,
                       Integer AMaskHeight)
{
    if (ABits == nullptr || AMask == nullptr) return;
    const Integer w = std::min(AWidth, AMaskWidth), h = std::min(AHeight, AMaskHeight);
    for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x) {
            const TspColor m = AMask[static_cast<size_t>(y) * AMaskWidth + x];
            const TspColor grey = (((m >> 16) & 0xFF) + ((m >> 8) & 0xFF) + (m & 0xFF)) / 3;
            TspColor& p = ABits[static_cast<size_t>(y) * AWidth + x];
            p = (p & 0x00FFFFFF) | (grey << 24);
        }
}
