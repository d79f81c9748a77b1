// The arithmetic of the player's output paths: display geometry, following a master clock, subtitle palettes and
// blending, the audio pictures' helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "media/player/player_audio.h"
#include "media/player/player_display.h"
#include "media/player/player_subtitles.h"
#include "media/player/player_video_frames.h"

namespace {

struct TGeometryCase {
    const char* Name;
    double AspectRatio;
    double SampleAspect;
    int PictureWidth, PictureHeight, AreaWidth, AreaHeight;
    TDisplayRect Expected;
};

TEST(PlayerDisplayGeometry, FollowsTheAspectRatioRule)
{
    const TGeometryCase cases[] = {
        // < 0: the picture fills the area whatever its own shape.
        {"fill", -1, 1, 160, 120, 300, 100, {0, 0, 300, 100}},
        // 0: the picture's own shape, centred with borders left and right or above and below.
        {"stream, pillar box", 0, 1, 160, 120, 400, 200, {67, 0, 266, 200}},
        {"stream, letter box", 0, 1, 160, 120, 200, 400, {0, 125, 200, 150}},
        {"stream, same shape", 0, 1, 160, 120, 320, 240, {0, 0, 320, 240}},
        // The sample aspect ratio widens the picture; an unknown one counts as square.
        {"anamorphic", 0, 4.0 / 3.0, 120, 120, 400, 120, {120, 0, 160, 120}},
        {"unknown sample aspect", 0, 0, 160, 120, 400, 200, {67, 0, 266, 200}},
        // > 0: a fixed display aspect.
        {"fixed 16:9", 16.0 / 9.0, 1, 160, 120, 320, 240, {0, 30, 320, 180}},
        // Sizes are even: 101 x 4/3 = 134.67 rounds to 135 and drops to 134.
        {"odd area", 0, 1, 160, 120, 301, 101, {83, 0, 134, 101}},
        // A fill without a known area falls back to the picture's shape.
        {"fill, no area", -1, 1, 160, 120, 0, 0, {0, 0, 0, 0}},
    };
    for (const TGeometryCase& c : cases) {
        const TDisplayRect rect =
            DisplayGeometry(c.AspectRatio, c.SampleAspect, c.PictureWidth, c.PictureHeight, c.AreaWidth, c.AreaHeight);
        EXPECT_EQ(rect, c.Expected) << c.Name << ": " << rect.X << "," << rect.Y << " " << rect.Width << "x"
                                    << rect.Height;
    }
}

TAudioSync MeasuredSync(double ADiff)
{
    // 20 measurements of the same difference fill the average.
    TAudioSync sync{0, std::exp(std::log(0.01) / AUDIO_DIFF_AVG_NB), 0.002, 0};
    std::vector<uint8_t> block(4000);
    for (int i = 0; i < AUDIO_DIFF_AVG_NB; ++i)
        EXPECT_EQ(SynchronizeAudioBlock(sync, block.data(), 400, 4000, 4, 1000, ADiff), 400);
    return sync;
}

TEST(PlayerAudioSync, CutsOrStretchesBlocksByAtMostTenPercent)
{
    // 100 sample frames of 4 bytes at 1000 frames a second: 0.01 s is 10 frames, the most either way.
    struct TCase {
        double Diff;
        int Expected;
    } cases[] = {
        {0.005, 420},   // ahead by 5 frames: stretched by 5
        {0.5, 440},     // far ahead: 10 % at most
        {-0.005, 380},  // behind: cut
        {-0.5, 360},
        {0.001, 400},   // within the threshold (2 device buffers): unchanged
    };
    for (const TCase& c : cases) {
        TAudioSync sync = MeasuredSync(c.Diff);
        std::vector<uint8_t> block(4000);
        for (int i = 0; i < 400; ++i) block[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
        const int size = SynchronizeAudioBlock(sync, block.data(), 400, 4000, 4, 1000, c.Diff);
        EXPECT_EQ(size, c.Expected) << c.Diff;
        // The added room repeats the last sample frame.
        for (int at = 400; at < size; ++at)
            EXPECT_EQ(block[static_cast<size_t>(at)], block[static_cast<size_t>(396 + at % 4)]);
    }
}

TEST(PlayerAudioSync, NeverStretchesPastTheBufferAndResetsOnAJump)
{
    TAudioSync sync = MeasuredSync(0.5);
    std::vector<uint8_t> block(410);
    EXPECT_EQ(SynchronizeAudioBlock(sync, block.data(), 400, 410, 4, 1000, 0.5), 408);
    // Ten seconds apart: not followed, and the measuring starts again.
    EXPECT_EQ(SynchronizeAudioBlock(sync, block.data(), 400, 410, 4, 1000, 12.0), 400);
    EXPECT_EQ(sync.AvgCount, 0);
    EXPECT_EQ(SynchronizeAudioBlock(sync, block.data(), 400, 410, 4, 1000, -0.5), 400);
}

TEST(PlayerAudioPictures, SampleRingWrapsAndTheWaveFindsItsTrigger)
{
    std::vector<int16_t> ring(16);
    const int16_t samples[] = {1, 2, 3, 4, 5};
    EXPECT_EQ(AppendSamples(ring, 14, samples, 5), 3);
    EXPECT_EQ(ring[14], 1);
    EXPECT_EQ(ring[15], 2);
    EXPECT_EQ(ring[0], 3);
    EXPECT_EQ(ring[2], 5);

    // A falling edge through zero between samples 4 and 5 after the chosen start: the steepest such one wins.
    std::vector<int16_t> wave(2048, 0);
    for (int i = 0; i < 2048; ++i) wave[static_cast<size_t>(i)] = static_cast<int16_t>(i % 64 < 32 ? 1000 : -1000);
    const int start = WaveTriggerStart(wave, 1500, 1);
    EXPECT_GT(wave[static_cast<size_t>(start + 4)], 0);
    EXPECT_LT(wave[static_cast<size_t>(start + 5)], 0);
    EXPECT_LE(start, 1500);
    EXPECT_GT(start, 500);
}

TEST(PlayerAudioPictures, SpectrumPeaksAtTheToneFrequency)
{
    std::vector<float> tone(256);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<float>(std::sin(2 * M_PI * 10 * i / 256.0));
    const std::vector<float> bins = SpectrumMagnitudes(tone);
    ASSERT_EQ(bins.size(), 128u);
    size_t peak = 0;
    for (size_t i = 0; i < bins.size(); ++i)
        if (bins[i] > bins[peak]) peak = i;
    EXPECT_EQ(peak, 10u);
    EXPECT_NEAR(bins[10], 128.0, 0.5);
}

TEST(PlayerSubtitles, PaletteToStudioRangeYUVA)
{
    struct TCase {
        uint32_t RGBA, YUVA;
    } cases[] = {
        {0xFFFFFFFF, 0xFFEB8080},  // white
        {0x80000000, 0x80108080},  // black, alpha kept
        {0xFFFF0000, 0xFF515AF0},  // red
    };
    for (const TCase& c : cases) EXPECT_EQ(RGBAToYUVA(c.RGBA), c.YUVA) << std::hex << c.RGBA;
}

// An 8 x 8 picture in three planes, all samples 100.
struct TPicture {
    std::vector<uint8_t> Y = std::vector<uint8_t>(64, 100), U = std::vector<uint8_t>(16, 100),
                         V = std::vector<uint8_t>(16, 100);
    TAVPicture View()
    {
        TAVPicture picture;
        picture.data[0] = Y.data();
        picture.data[1] = U.data();
        picture.data[2] = V.data();
        picture.linesize[0] = 8;
        picture.linesize[1] = picture.linesize[2] = 4;
        return picture;
    }
};

// A rectangle of one palette entry (Y 200, U 50, V 250, alpha AAlpha).
struct TRect {
    std::vector<uint8_t> Indexes;
    uint32_t Palette[1];
    AVSubtitleRect Rect{};
    TRect(int AX, int AY, int AW, int AH, uint32_t AAlpha)
        : Indexes(static_cast<size_t>(AW * AH), 0), Palette{AAlpha << 24 | 200u << 16 | 50u << 8 | 250u}
    {
        Rect.x = AX;
        Rect.y = AY;
        Rect.w = AW;
        Rect.h = AH;
        Rect.nb_colors = 1;
        Rect.data[0] = Indexes.data();
        Rect.data[1] = reinterpret_cast<uint8_t*>(Palette);
        Rect.linesize[0] = AW;
    }
};

TEST(PlayerSubtitles, BlendCoversEveryPixelOfTheClippedRectangleOnce)
{
    struct TCase {
        const char* Name;
        int X, Y, W, H;
        int Left, Top, Right, Bottom;  // luma pixels expected to change (inclusive..exclusive)
    } cases[] = {
        {"even", 2, 2, 4, 4, 2, 2, 6, 6},
        {"odd position and size", 1, 3, 3, 3, 1, 3, 4, 6},
        {"negative position", -3, -1, 4, 3, 0, 0, 4, 3},
        {"past the right and bottom", 6, 5, 10, 10, 6, 5, 8, 8},
        {"one pixel", 5, 5, 1, 1, 5, 5, 6, 6},
    };
    for (const TCase& c : cases) {
        TPicture picture;
        TRect rect(c.X, c.Y, c.W, c.H, 255);
        BlendSubRect(picture.View(), rect.Rect, 8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= c.Left && x < c.Right && y >= c.Top && y < c.Bottom;
                EXPECT_EQ(picture.Y[static_cast<size_t>(y * 8 + x)], inside ? 200 : 100)
                    << c.Name << " " << x << "," << y;
            }
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const int covered_x = std::max(0, std::min(2 * x + 2, c.Right) - std::max(2 * x, c.Left));
                const int covered_y = std::max(0, std::min(2 * y + 2, c.Bottom) - std::max(2 * y, c.Top));
                // Opaque: every block the rectangle touches (by 4, 2 or 1 of its pixels) takes its chroma.
                const int u = picture.U[static_cast<size_t>(y * 4 + x)];
                EXPECT_EQ(u, covered_x * covered_y > 0 ? 50 : 100) << c.Name << " chroma " << x << "," << y;
            }
    }
}

TEST(PlayerSubtitles, TransparentChangesNothingAndHalfAlphaMixes)
{
    TPicture clear;
    TRect transparent(0, 0, 8, 8, 0);
    BlendSubRect(clear.View(), transparent.Rect, 8, 8);
    EXPECT_EQ(clear.Y, std::vector<uint8_t>(64, 100));
    EXPECT_EQ(clear.U, std::vector<uint8_t>(16, 100));

    TPicture half;
    TRect translucent(0, 0, 8, 8, 128);
    BlendSubRect(half.View(), translucent.Rect, 8, 8);
    EXPECT_EQ(half.Y[0], (100 * 127 + 200 * 128) / 255);
    EXPECT_EQ(half.U[0], (400 * 127 + 200 * 128) / 1020);
    EXPECT_EQ(half.V[0], (400 * 127 + 1000 * 128) / 1020);
}

TEST(PlayerVideoFrames, CopyFlipsRowsAndDeinterlaceNeedsMultiplesOfFour)
{
    AVFrame frame{};
    std::vector<uint8_t> y(16), u(4), v(4);
    for (int i = 0; i < 16; ++i) y[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    for (int i = 0; i < 4; ++i) u[static_cast<size_t>(i)] = v[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    frame.data[0] = y.data();
    frame.data[1] = u.data();
    frame.data[2] = v.data();
    frame.linesize[0] = 4;
    frame.linesize[1] = frame.linesize[2] = 2;
    frame.width = frame.height = 4;
    frame.format = AV_PIX_FMT_YUV420P;

    std::vector<uint8_t> dy(16), du(4), dv(4);
    TAVPicture dest;
    dest.data[0] = dy.data();
    dest.data[1] = du.data();
    dest.data[2] = dv.data();
    dest.linesize[0] = 4;
    dest.linesize[1] = dest.linesize[2] = 2;
    CopyYUV420(dest, &frame, 4, 4, true);
    EXPECT_EQ(dy[0], 12);  // the last row first
    EXPECT_EQ(dy[12], 0);
    EXPECT_EQ(du[0], 2);
    CopyYUV420(dest, &frame, 4, 4, false);
    EXPECT_EQ(dy, y);

    AVFrame out = frame;
    out.data[0] = dy.data();
    out.data[1] = du.data();
    out.data[2] = dv.data();
    EXPECT_TRUE(DeinterlaceYUV420(&out, &frame));
    EXPECT_EQ(dy[0], y[0]);  // even rows stay
    frame.height = 6;
    EXPECT_FALSE(DeinterlaceYUV420(&out, &frame));
}

}  // namespace
