#include "app/native_filters.h"

#include <gtest/gtest.h>

#include <vector>

#include "media/filters/filter_chain.h"
#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "platform/rtl/exceptions.h"

namespace {

struct TLogLine {
    int Level;
    std::string Text;
    bool operator==(const TLogLine&) const = default;
};

// Eq on one luma sample, through a plane with padding that must stay untouched.
uint8_t EqSample(uint8_t AValue, int ABrightness, int AContrast)
{
    std::vector<uint8_t> plane = {AValue, AValue, 77, AValue, AValue, 77};  // 2 x 2 samples, line size 3
    EqAdjustPlane(plane.data(), 3, 2, 2, ABrightness, AContrast);
    EXPECT_EQ(plane[2], 77);
    EXPECT_EQ(plane[5], 77);
    EXPECT_EQ(plane[4], plane[0]);
    return plane[0];
}

TEST(NativeFilters, BrightnessAndContrastPixels)
{
    struct Case { int brightness, contrast; uint8_t in, out; };
    const Case cases[] = {
        {0, -100, 0, 127},  {0, -100, 255, 127},  // contrast -100: every sample 127
        {100, 0, 0, 255},   {-100, 0, 255, 0},    // brightness +-100: white, black
        {50, 0, 100, 227},  {50, 0, 200, 255},    // brightness 50 adds 127, clamped
        {0, 1, 200, 199},   {0, 1, 0, 0},         // ((p x 66191) >> 16) - 2
    };
    for (const auto& c : cases)
        EXPECT_EQ(EqSample(c.in, c.brightness, c.contrast), c.out)
            << c.brightness << ":" << c.contrast << " on " << int(c.in);
}

TEST(NativeFilters, HueAndSaturationPixels)
{
    struct Case { int hue, saturation; uint8_t u, v, u_out, v_out; };
    const Case cases[] = {
        {100, 0, 10, 200, 246, 56},     // half a turn: 256 - U, 256 - V
        {100, 0, 0, 128, 255, 128},     // and 0 becomes 255
        {0, -100, 0, 255, 128, 128},    // grey
        {0, 100, 0, 255, 0, 255},       // twice the distance from 128, clamped
        {0, 100, 100, 150, 72, 172},
        {50, 0, 138, 108, 148, 138},    // a quarter turn: U' = 128 - v, V' = 128 + u
    };
    for (const auto& c : cases) {
        uint8_t u = c.u, v = c.v;
        HueAdjustPlanes(&u, 1, &v, 1, 1, 1, c.hue, c.saturation);
        EXPECT_EQ(int(u), c.u_out) << c.hue << ":" << c.saturation;
        EXPECT_EQ(int(v), c.v_out) << c.hue << ":" << c.saturation;
    }
}

TEST(NativeFilters, ChromaPlanesAdvanceByTheirOwnLineSize)
{
    // Two rows of two samples: U with line size 2, V with line size 4 (padding 9 must survive).
    std::vector<uint8_t> u = {10, 10, 10, 10};
    std::vector<uint8_t> v = {200, 200, 9, 9, 200, 200, 9, 9};
    HueAdjustPlanes(u.data(), 2, v.data(), 4, 2, 2, 100, 0);
    EXPECT_EQ(u, (std::vector<uint8_t>{246, 246, 246, 246}));
    EXPECT_EQ(v, (std::vector<uint8_t>{56, 56, 9, 9, 56, 56, 9, 9}));
}

class NativeFilterInstances : public ::testing::Test {
protected:
    TNativeFilterLog Log()
    {
        return [this](int ALevel, const std::string& AText) { Lines.push_back({ALevel, AText}); };
    }
    std::vector<TLogLine> Lines;
};

TEST_F(NativeFilterInstances, ArgumentsAreClampedWithErrorLines)
{
    TEqFilter eq("150:-300", Log());
    EXPECT_EQ(eq.First(), 100);
    EXPECT_EQ(eq.Second(), -100);
    EXPECT_EQ(Lines, (std::vector<TLogLine>{{16, "Invalid brightness value 150, force to 100\n"},
                                            {16, "Invalid contrast value -300, force to -100\n"},
                                            {48, "brightness:100, contrast -100\n"}}));

    THueFilter hue_only(" 30 ", Log());
    EXPECT_EQ(hue_only.First(), 30);
    EXPECT_EQ(hue_only.Second(), 0);

    THueFilter nothing("", Log());
    EXPECT_FALSE(nothing.Processes());

    EXPECT_THROW(TEqFilter("ten:0", Log()), Exception);
    EXPECT_THROW(TEqFilter("0:0:987654321:0", Log()), Exception);  // a handle nobody registered
}

AVFrame* NewFrame(AVPixelFormat AFormat, int AWidth, int AHeight, uint8_t ALuma, uint8_t AChroma)
{
    AVFrame* frame = ff::av_frame_alloc();
    frame->format = AFormat, frame->width = AWidth, frame->height = AHeight;
    EXPECT_GE(ff::av_frame_get_buffer(frame, 0), 0);
    int h_shift = 0, v_shift = 0;
    ff::av_pix_fmt_get_chroma_sub_sample(AFormat, &h_shift, &v_shift);
    const int chroma_rows = -((-AHeight) >> v_shift);
    for (int plane = 0; plane < 3; ++plane)
        std::fill_n(frame->data[plane], frame->linesize[plane] * (plane == 0 ? AHeight : chroma_rows),
                    plane == 0 ? ALuma : AChroma);
    return frame;
}

// The frame tests need libavutil for AVFrame; the filters themselves call nothing of FFmpeg.
class NativeFiltersOnFrames : public NativeFilterInstances {
protected:
    static void SetUpTestSuite()
    {
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(PlayerLibraries)) << TFFLoader::LastErrMsg();
        RegisterEqFilter();
        RegisterHueFilter();
    }
    static void TearDownTestSuite() { StopMediaEngine(); }
};

TEST_F(NativeFiltersOnFrames, LiveCellsAreReadAndCorrectedEveryFrame)
{
    TLiveAdjustments live;
    const std::string chain = live.ChainText();  // "nativeeq=0:0:h:h, nativehue=0:0:h:h"
    const std::string hue_args = chain.substr(chain.find("nativehue=") + 10);
    THueFilter hue(hue_args, Log());
    EXPECT_TRUE(hue.Processes());

    AVFrame* frame = NewFrame(AV_PIX_FMT_YUV420P, 4, 4, 50, 100);
    ASSERT_EQ(hue.FilterFrame(frame), 0);
    EXPECT_EQ(frame->data[1][0], 100);  // both live cells hold 0: nothing touched

    Lines.clear();
    live.SetSaturation(250);
    ASSERT_EQ(hue.FilterFrame(frame), 0);
    EXPECT_EQ(live.Saturation(), 100);  // written back into the live cell
    // The corrected value counts as logged, so no value line follows the error line.
    EXPECT_EQ(Lines, (std::vector<TLogLine>{{16, "Invalid saturation value 250, force to 100\n"}}));
    EXPECT_EQ(frame->data[1][0], 72);  // saturation 100 doubles the distance from 128
    Lines.clear();
    live.SetSaturation(-20);
    ASSERT_EQ(hue.FilterFrame(frame), 0);
    EXPECT_EQ(Lines, (std::vector<TLogLine>{{48, "hue:0, saturation -20\n"}}));
    EXPECT_EQ(frame->data[1][0], 83);  // 72 is 56 below 128; at 0.8 of that distance it becomes 83
    ff::av_frame_free(&frame);
}

// Odd picture sizes have a last chroma row and column that cover half a picture row or column: they change with
// the rest, so no coloured stripe stays at the bottom or the right of a picture made grey.
TEST_F(NativeFiltersOnFrames, OddSizesChangeTheLastChromaRowAndColumnToo)
{
    struct TCase {
        AVPixelFormat format;
        int width, height, chroma_width, chroma_height;
    } cases[] = {
        {AV_PIX_FMT_YUV420P, 5, 5, 3, 3},
        {AV_PIX_FMT_YUV420P, 4, 5, 2, 3},
        {AV_PIX_FMT_YUVJ420P, 7, 4, 4, 2},
        {AV_PIX_FMT_YUV422P, 5, 3, 3, 3},
        {AV_PIX_FMT_YUV410P, 5, 6, 2, 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " format " << c.format);
        THueFilter grey("0:-100", Log());
        AVFrame* frame = NewFrame(c.format, c.width, c.height, 50, 10);
        ASSERT_EQ(grey.FilterFrame(frame), 0);
        for (int plane : {1, 2})
            for (int y = 0; y < c.chroma_height; ++y)
                for (int x = 0; x < c.chroma_width; ++x)
                    EXPECT_EQ(frame->data[plane][frame->linesize[plane] * y + x], 128)
                        << "plane " << plane << " at " << x << "," << y;
        ff::av_frame_free(&frame);
    }
}

TEST_F(NativeFiltersOnFrames, ThroughTheFilterChainRunner)
{
    struct Case { const char* chain; AVPixelFormat in; int out_width; uint8_t luma, chroma; };
    const Case cases[] = {
        {"nativehue=0:-100, nativeeq=50:0", AV_PIX_FMT_YUV420P, 16, 227, 128},
        {"nativeeq=0:-100,scale=8:8", AV_PIX_FMT_YUV420P, 8, 127, 90},
        {"nativeeq=0:0", AV_PIX_FMT_YUV444P, 16, 100, 90},
    };
    for (const auto& c : cases) {
        TFilterChain chain;
        chain.Open(c.chain, {1, 25});
        AVFrame* in = NewFrame(c.in, 16, 16, 100, 90);
        ASSERT_EQ(chain.SendFrame(in), 0) << chain.LastErrMsg();
        ff::av_frame_free(&in);
        ASSERT_EQ(chain.SendFrame(nullptr), 0) << chain.LastErrMsg();
        AVFrame* out = ff::av_frame_alloc();
        ASSERT_EQ(chain.ReceiveFrame(out), 0) << c.chain << ": " << chain.LastErrMsg();
        EXPECT_EQ(out->width, c.out_width) << c.chain;
        EXPECT_EQ(out->data[0][0], c.luma) << c.chain;
        EXPECT_EQ(out->data[0][out->linesize[0] * (out->height - 1) + out->width - 1], c.luma) << c.chain;
        EXPECT_EQ(out->data[2][0], c.chroma) << c.chain;
        ff::av_frame_free(&out);
    }
}

}  // namespace
