#include "skin/core/pixel_kernels.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

struct BlendCase {
    TspColor upper, lower, plain, mmx;
};

// Hand-computed: plain = (u * a + l * (255 - a)) div 256 with alpha 255 (a = 0 and 255 pass through);
// "MMX" = (u * a + l * (256 - a)) div 256 on all four bytes.
const BlendCase kBlendCases[] = {
    {0x80FFFFFF, 0xFF000000, 0xFF7F7F7F, 0xBF7F7F7F},
    {0x00123456, 0xFFABCDEF, 0xFFABCDEF, 0xFFABCDEF},
    {0xFF123456, 0xFFABCDEF, 0xFF123456, 0xFF123456},
    {0x40FF0000, 0xFF0000FF, 0xFF3F00BE, 0xCF3F00BF},
    {0x01FFFFFF, 0x00000000, 0xFF000000, 0x00000000},
};

class KernelVariant : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { InitPixelKernels(GetParam()); }
    void TearDown() override { InitPixelKernels(CPUHasMMX()); }
    bool Mmx() const { return GetParam(); }
};

TEST_P(KernelVariant, BlendPixelMatchesHandComputedValues)
{
    for (const auto& c : kBlendCases) {
        const TspColor expected = Mmx() ? c.mmx : c.plain;
        EXPECT_EQ(BlendPixel(c.upper, c.lower), expected) << std::hex << c.upper << " over " << c.lower;
    }
}

TEST_P(KernelVariant, BlendLineSkipsClearAndCopiesOpaqueSources)
{
    // Nine pixels so that both the four-wide path and the tail run.
    const std::vector<TspColor> src = {0x00FFFFFF, 0xFF112233, 0x80FFFFFF, 0x00000000, 0x40FF0000,
                                       0x80FFFFFF, 0xFF445566, 0x00ABCDEF, 0x80FFFFFF};
    std::vector<TspColor> dst(9, 0xFF000000);
    dst[4] = 0xFF0000FF;
    BlendLine(src.data(), dst.data(), 9);
    // The "MMX" formula blends alpha too: (255 * 128 + 255 * 128) div 256 = 191 over an opaque destination.
    const TspColor half_alpha = Mmx() ? 0xBF7F7F7F : 0xFF7F7F7F;
    const std::vector<TspColor> expected = {0xFF000000, 0xFF112233, half_alpha, 0xFF000000,
                                            Mmx() ? 0xCF3F00BFu : 0xFF3F00BEu, half_alpha, 0xFF445566,
                                            0xFF000000, half_alpha};
    EXPECT_EQ(dst, expected);
}

TEST_P(KernelVariant, BlendLineAgreesWithPerPixelFormulaOnRandomRows)
{
    std::mt19937 rng(7);
    std::vector<TspColor> src(1027), dst(1027);
    for (auto& p : src) p = rng();
    for (auto& p : dst) p = rng();
    std::vector<TspColor> expected = dst;
    for (size_t i = 0; i < src.size(); ++i) {
        const TspColor a = src[i] >> 24;
        if (a == 0) continue;
        expected[i] = a == 255 ? src[i] : (Mmx() ? MMXBlendPixel(src[i], dst[i]) : PlainBlendPixel(src[i], dst[i]));
    }
    BlendLine(src.data(), dst.data(), static_cast<Integer>(src.size()));
    EXPECT_EQ(dst, expected);
}

TEST_P(KernelVariant, KeyLineLeavesKeyPixelsAndWritesOthersOpaque)
{
    const std::vector<TspColor> src = {0x007F007F, 0x12345678, 0xFF7F007F, 0x807F007E, 0x00000000, 0xAA7F007F};
    std::vector<TspColor> dst(6, 0x11111111);
    KeyLine(src.data(), dst.data(), 6);
    EXPECT_EQ(dst, (std::vector<TspColor>{0x11111111, 0xFF345678, 0x11111111, 0xFF7F007E, 0xFF000000, 0x11111111}));
}

TEST_P(KernelVariant, RowAndRectangleRoutines)
{
    std::vector<TspColor> px(5 * 4, 0x80102030);
    FillRectBits(px.data(), 5, 4, 1, 1, 3, 2, 0xFFABCDEF);  // inclusive corners
    SetAlphaRectBits(px.data(), 5, 4, 0, 3, 1, 3, 0x00);
    FillRectBits(px.data(), 5, 4, 3, 0, 2, 0, 0);  // X2 < X1: nothing
    for (Integer y = 0; y < 4; ++y)
        for (Integer x = 0; x < 5; ++x) {
            TspColor want = 0x80102030;
            if (x >= 1 && x <= 3 && y >= 1 && y <= 2) want = 0xFFABCDEF;
            if (y == 3 && x <= 1) want = 0x00102030;
            EXPECT_EQ(px[y * 5 + x], want) << x << "," << y;
        }

    std::vector<TspColor> row = {1, 2, 3, 4, 5, 6};
    CopyLine(row.data(), row.data() + 1, 5);  // overlapping to the right must not smear
    EXPECT_EQ(row, (std::vector<TspColor>{1, 1, 2, 3, 4, 5}));
    FillLine(row.data(), 0, 9);
    FillLine(row.data(), 2, 9);
    SetAlphaLine(row.data() + 2, 1, 0xFE);
    EXPECT_EQ(row, (std::vector<TspColor>{9, 9, 0xFE000002, 3, 4, 5}));

    std::vector<TspColor> keyed = {0xFF7F007F, 0xFF7F007E};
    KeyToAlphaLine(keyed.data(), 2, 0x127F007F);
    EXPECT_EQ(keyed, (std::vector<TspColor>{0x007F007F, 0xFF7F007E}));
}

// Rows in runs of one kind (clear, opaque, key colour, anything), so that the whole-vector shortcuts of the SIMD
// kernels are taken as well as the mixed vectors.
class RowMaker {
public:
    explicit RowMaker(unsigned ASeed) : FRng(ASeed) {}
    unsigned Next() { return FRng(); }
    void Fill(TspColor* ARow, size_t ACount, TspColor AKey)
    {
        for (size_t i = 0; i < ACount;) {
            const unsigned kind = Next() % 5;
            for (size_t run = 1 + Next() % 12; run > 0 && i < ACount; --run, ++i) {
                const TspColor rgb = Next() & 0x00FFFFFF, alpha = Next() & 0xFF000000u;
                switch (kind) {
                    case 0: ARow[i] = rgb; break;
                    case 1: ARow[i] = 0xFF000000u | rgb; break;
                    case 2: ARow[i] = spKeyColor | alpha; break;
                    case 3: ARow[i] = (AKey & 0x00FFFFFF) | alpha; break;
                    default: ARow[i] = rgb | alpha; break;
                }
            }
        }
    }

private:
    std::mt19937 FRng;
};

// Every SIMD set this machine can run, against the reference, on random rows of every length 0..67 placed at
// random alignments; a guard band on both sides of each row must stay untouched.
TEST(PixelKernelSets, EverySimdSetMatchesTheReferenceBitForBit)
{
#if defined(__x86_64__)
    ASSERT_NE(KernelsOfLevel(TspSimdLevel::SSE2), nullptr);
    EXPECT_EQ(KernelsOfLevel(TspSimdLevel::AVX2) != nullptr, ProcessorHasAvx2());
#endif
    const TspKernelSet& ref = ReferenceKernels();
    constexpr size_t kGuard = 16, kMaxLength = 67;
    RowMaker maker(24);
    Integer compared_sets = 0;
    for (const TspSimdLevel level : {TspSimdLevel::SSE2, TspSimdLevel::AVX2}) {
        const TspKernelSet* simd = KernelsOfLevel(level);
        if (!simd) continue;
        ++compared_sets;
        for (size_t length = 0; length <= kMaxLength; ++length) {
            for (int trial = 0; trial < 6; ++trial) {
                const size_t src_at = kGuard + maker.Next() % 8, dst_at = kGuard + maker.Next() % 8;
                const TspColor key = trial % 2 ? spKeyPixel : maker.Next();
                const Byte alpha = static_cast<Byte>(maker.Next());
                const TspColor fill = maker.Next();
                std::vector<TspColor> src(kMaxLength + 3 * kGuard), dst(src.size());
                maker.Fill(src.data(), src.size(), key);
                maker.Fill(dst.data(), dst.size(), key);
                const TspColor* s = src.data() + src_at;
                const Integer n = static_cast<Integer>(length);
                const struct {
                    const char* Name;
                    std::function<void(const TspKernelSet&, TspColor*)> Run;
                } ops[] = {
                    {"plain blend", [&](const TspKernelSet& k, TspColor* d) { k.PlainBlendLine(s, d, n); }},
                    {"MMX blend", [&](const TspKernelSet& k, TspColor* d) { k.MMXBlendLine(s, d, n); }},
                    {"key", [&](const TspKernelSet& k, TspColor* d) { k.KeyLine(s, d, n); }},
                    {"overlapping key",
                     [&](const TspKernelSet& k, TspColor* d) { k.KeyLine(d + trial % 7 - 3, d, n); }},
                    {"copy", [&](const TspKernelSet& k, TspColor* d) { k.CopyLine(s, d, n); }},
                    // Within one row, the source up to three pixels either side of the destination.
                    {"overlapping copy",
                     [&](const TspKernelSet& k, TspColor* d) { k.CopyLine(d + trial % 7 - 3, d, n); }},
                    {"fill", [&](const TspKernelSet& k, TspColor* d) { k.FillLine(d, n, fill); }},
                    {"set alpha", [&](const TspKernelSet& k, TspColor* d) { k.SetAlphaLine(d, n, alpha); }},
                    {"key to alpha", [&](const TspKernelSet& k, TspColor* d) { k.KeyToAlphaLine(d, n, key); }},
                };
                for (const auto& op : ops) {
                    std::vector<TspColor> want = dst, got = dst;
                    op.Run(ref, want.data() + dst_at);
                    op.Run(*simd, got.data() + dst_at);
                    ASSERT_EQ(got, want) << op.Name << ", level " << static_cast<int>(level) << ", length "
                                         << length << ", source at " << src_at << ", destination at " << dst_at;
                }
            }
        }
    }
#if defined(__x86_64__)
    EXPECT_EQ(compared_sets, ProcessorHasAvx2() ? 2 : 1);
#endif
}

// The start-up (run before these tests, as main runs it) took the widest kernels this processor has.
TEST(PixelKernelSets, StartUpChoosesTheWidestSetAndTheTableFollowsTheLevel)
{
    EXPECT_EQ(PixelKernelLevel(), BestSimdLevel());
    InitPixelKernels(true, TspSimdLevel::Reference);
    EXPECT_EQ(BlendLine, ReferenceKernels().MMXBlendLine);
    EXPECT_EQ(PixelKernelLevel(), TspSimdLevel::Reference);
    InitPixelKernels(false, BestSimdLevel());
    EXPECT_EQ(BlendLine, KernelsOfLevel(BestSimdLevel())->PlainBlendLine);
    EXPECT_EQ(SetAlphaLine, KernelsOfLevel(BestSimdLevel())->SetAlphaLine);
    InitPixelKernels(CPUHasMMX());
    EXPECT_EQ(PixelKernelLevel(), BestSimdLevel());
}

INSTANTIATE_TEST_SUITE_P(Variants, KernelVariant, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Mmx" : "Plain"; });

TEST(PixelKernelStartup, ProcessorTestChoosesTheMmxFormulaOnThisMachine)
{
#if defined(__x86_64__)
    EXPECT_TRUE(CPUHasMMX());
    EXPECT_TRUE(MMXEnabled());
    EXPECT_EQ(BlendPixel(0x80FFFFFF, 0xFF000000), 0xBF7F7F7Fu);
#endif
}

}  // namespace

#include "skin/core/blit_routines.h"

namespace {

TEST(PixelKernelStartup, UnitStartChoosesOnceAndUsesTheSoftwareKeyPath)
{
    SkinEffectsUnitStart();
    InitPixelKernels(false);
    SkinEffectsUnitStart();  // a second start changes nothing
    EXPECT_FALSE(MMXEnabled());
    InitPixelKernels(CPUHasMMX());
    EXPECT_FALSE(TransparentBltAvailable());
    EXPECT_TRUE(IsDeepColorScreen());
    EXPECT_EQ(DCKeyBlt, DCBlendBlt);
}

}  // namespace
