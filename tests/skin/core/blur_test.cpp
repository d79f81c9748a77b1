#include "skin/core/blur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// The blur as the definition states it: a separable triangle kernel 1 .. r + 1 .. 1 with edge pixels repeated,
// each pass divided by (r + 1)^2 and truncated, rows first.
std::vector<TspColor> DirectConvolution(const std::vector<TspColor>& in, Integer w, Integer h, Integer r)
{
    const Integer s = (r + 1) * (r + 1);
    std::vector<Integer> rows(3 * w * h);
    for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                Integer sum = 0;
                for (Integer i = -r; i <= r; ++i) {
                    const Integer sx = std::clamp(x + i, 0, w - 1);
                    sum += static_cast<Integer>((in[y * w + sx] >> (8 * c)) & 0xFF) * (r + 1 - std::abs(i));
                }
                rows[(c * h + y) * w + x] = sum / s;
            }
    std::vector<TspColor> out(w * h, 0xFF000000);
    for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                Integer sum = 0;
                for (Integer i = -r; i <= r; ++i)
                    sum += rows[(c * h + std::clamp(y + i, 0, h - 1)) * w + x] * (r + 1 - std::abs(i));
                out[y * w + x] |= static_cast<TspColor>(sum / s) << (8 * c);
            }
    return out;
}

TEST(Blur, RunningSumsEqualTheDirectConvolution)
{
    std::mt19937 rng(11);
    const struct { Integer w, h; } sizes[] = {{1, 1}, {5, 5}, {7, 3}, {2, 9}, {13, 11}, {31, 4}};
    for (const auto size : sizes)
        for (Integer r = 1; r <= 6; ++r) {  // radii beyond the picture too
            std::vector<TspColor> px(size.w * size.h);
            for (auto& p : px) p = rng();
            const std::vector<TspColor> expected = DirectConvolution(px, size.w, size.h, r);
            BlurPixels(px.data(), size.w, size.h, r);
            EXPECT_EQ(px, expected) << size.w << "x" << size.h << " radius " << r;
        }
}

TEST(Blur, SinglePixelRadiusOneAndUniformPictures)
{
    std::vector<TspColor> px(25, 0);
    px[12] = 0x00FFFFFF;
    BlurPixels(px.data(), 5, 5, 1);
    const TspColor centre = 63, side = 31, corner = 15;
    EXPECT_EQ(px[12], 0xFF000000 | centre * 0x010101);
    EXPECT_EQ(px[7], 0xFF000000 | side * 0x010101);
    EXPECT_EQ(px[11], 0xFF000000 | side * 0x010101);
    EXPECT_EQ(px[6], 0xFF000000 | corner * 0x010101);
    EXPECT_EQ(px[18], 0xFF000000 | corner * 0x010101);

    std::vector<TspColor> uniform(6 * 4, 0x00345678);
    BlurPixels(uniform.data(), 6, 4, 3);
    EXPECT_EQ(uniform, std::vector<TspColor>(6 * 4, 0xFF345678));
}

TEST(Blur, NonPositiveRadiusChangesNothingNotEvenAlpha)
{
    for (const Integer r : {0, -3}) {
        std::vector<TspColor> px = {0x00123456, 0x80FFFFFF};
        BlurPixels(px.data(), 2, 1, r);
        EXPECT_EQ(px, (std::vector<TspColor>{0x00123456, 0x80FFFFFF}));
    }
}

TEST(Blur, HugeRadiusIsBoundedInMemoryAndStaysUniform)
{
    std::vector<TspColor> px(3 * 2, 0x00102030);
    BlurPixels(px.data(), 3, 2, 2000000000);
    EXPECT_EQ(px, std::vector<TspColor>(3 * 2, 0xFF102030));
}

TEST(MaskToAlpha, MeanOfTheMaskColoursBecomesAlpha)
{
    std::vector<TspColor> px = {0x11223344, 0x55667788, 0x99AABBCC};
    const std::vector<TspColor> mask = {0x00FFFFFE, 0xFF010100};
    MaskToAlphaPixels(px.data(), 3, 1, mask.data(), 2, 1);  // the third pixel has no mask pixel and stays
    EXPECT_EQ(px, (std::vector<TspColor>{0xFE223344, 0x00667788, 0x99AABBCC}));
}

}  // namespace
