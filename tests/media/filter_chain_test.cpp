// Filter chains that mix a native filter with libavfilter's own, run on real frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "media/filters/filter_chain.h"
#include "media/filters/native_filter.h"
#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/util/ff_utils.h"
#include "platform/rtl/exceptions.h"

namespace {

// Adds a fixed amount, or the value of a live cell, to every luma sample.
class TLumaShift final : public TNativeFilter {
public:
    TLumaShift(int AAmount, TLiveCell ACell) : FAmount(AAmount), FCell(std::move(ACell)) {}
    int FilterFrame(AVFrame* AFrame) override
    {
        const int amount = FCell ? FCell->load(std::memory_order_relaxed) : FAmount;
        for (int y = 0; y < AFrame->height; ++y) {
            uint8_t* row = AFrame->data[0] + y * AFrame->linesize[0];
            for (int x = 0; x < AFrame->width; ++x) row[x] = static_cast<uint8_t>(std::clamp(row[x] + amount, 0, 255));
        }
        return 0;
    }

private:
    int FAmount;
    TLiveCell FCell;
};

void RegisterTestNative()
{
    RegisterNativeFilter({"testnative", "luma shift for tests", {AV_PIX_FMT_YUV420P},
                          [](const std::string& AArgs, void*) -> std::unique_ptr<TNativeFilter> {
                              const size_t colon = AArgs.find(':');
                              const int amount = std::stoi(AArgs.substr(0, colon));
                              TLiveCell cell;
                              if (colon != std::string::npos) cell = FindLiveCell(std::stoll(AArgs.substr(colon + 1)));
                              return std::make_unique<TLumaShift>(amount, cell);
                          }});
}

// A uniform picture: every sample of plane p holds AValues[p].
TFramePtr UniformFrame(int AWidth, int AHeight, AVPixelFormat AFormat, std::initializer_list<int> AValues)
{
    TFramePtr frame(ff::av_frame_alloc());
    frame->width = AWidth;
    frame->height = AHeight;
    frame->format = AFormat;
    EXPECT_EQ(ff::av_frame_get_buffer(frame.get(), 0), 0);
    const AVPixFmtDescriptor* desc = ff::av_pix_fmt_desc_get(AFormat);
    int plane = 0;
    for (int value : AValues) {
        const bool full = plane == 0 || (desc->flags & AV_PIX_FMT_FLAG_RGB);
        const int rows = full ? AHeight : -(-AHeight >> desc->log2_chroma_h);
        for (int y = 0; y < rows; ++y)
            std::memset(frame->data[plane] + y * frame->linesize[plane], value, frame->linesize[plane]);
        ++plane;
    }
    return frame;
}

// The distinct values of a plane's visible samples, as min and max.
std::pair<int, int> PlaneRange(const AVFrame& AFrame, int APlane)
{
    const int shift = APlane == 0 ? 0 : 1;
    int low = 255, high = 0;
    for (int y = 0; y < AFrame.height >> shift; ++y)
        for (int x = 0; x < AFrame.width >> shift; ++x) {
            const int v = AFrame.data[APlane][y * AFrame.linesize[APlane] + x];
            low = std::min(low, v);
            high = std::max(high, v);
        }
    return {low, high};
}

class FilterChainTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(PlayerLibraries)) << TFFLoader::LastErrMsg();
        RegisterTestNative();
    }
    void TearDown() override
    {
        FChain.reset();
        StopMediaEngine();
    }
    // Runs frames through a chain and answers what comes out after the end of the stream.
    std::vector<TFramePtr> Run(const std::string& AText, const std::vector<const AVFrame*>& AFrames,
                               std::vector<AVPixelFormat> AOutputFormats = {})
    {
        FChain = std::make_unique<TFilterChain>();
        FChain->SetOutputFormats(std::move(AOutputFormats));
        FChain->Open(AText, AVRational{1, 25});
        std::vector<TFramePtr> out;
        auto collect = [&] {
            for (;;) {
                TFramePtr frame(ff::av_frame_alloc());
                const int result = FChain->ReceiveFrame(frame.get());
                if (result < 0) return result;
                out.push_back(std::move(frame));
            }
        };
        for (const AVFrame* frame : AFrames) {
            EXPECT_EQ(FChain->SendFrame(frame), 0) << FChain->LastErrMsg();
            EXPECT_EQ(collect(), AVERROR(EAGAIN));
        }
        EXPECT_EQ(FChain->SendFrame(nullptr), 0) << FChain->LastErrMsg();
        EXPECT_EQ(collect(), AVERROR_EOF);
        return out;
    }
    std::unique_ptr<TFilterChain> FChain;
};

TEST_F(FilterChainTest, NativeThenScaleGivesTheSizeWithTheChangeAppliedAlsoAfterTheInputSizeChanges)
{
    TFramePtr small = UniformFrame(320, 240, AV_PIX_FMT_YUV420P, {100, 60, 200});
    TFramePtr large = UniformFrame(640, 480, AV_PIX_FMT_YUV420P, {100, 60, 200});
    const std::vector<TFramePtr> out = Run("testnative=40, scale=160:120", {small.get(), large.get()});
    ASSERT_EQ(out.size(), 2u);
    for (const TFramePtr& frame : out) {
        EXPECT_EQ(frame->width, 160);
        EXPECT_EQ(frame->height, 120);
        EXPECT_EQ(PlaneRange(*frame, 0), std::make_pair(140, 140));
        // The scaler may round chroma by one; the native change is on luma only.
        EXPECT_NEAR(PlaneRange(*frame, 1).first, 60, 1);
        EXPECT_NEAR(PlaneRange(*frame, 2).second, 200, 1);
    }
    // The caller's frame is not touched by the in-place filter.
    EXPECT_EQ(PlaneRange(*small, 0), std::make_pair(100, 100));
}

TEST_F(FilterChainTest, AFormatTheNativeFilterDoesNotTakeIsConvertedFirst)
{
    TFramePtr rgb = UniformFrame(64, 48, AV_PIX_FMT_RGB24, {90});
    const std::vector<TFramePtr> plain = Run("null", {rgb.get()}, {AV_PIX_FMT_YUV420P});
    const std::vector<TFramePtr> shifted = Run("testnative=20", {rgb.get()}, {AV_PIX_FMT_YUV420P});
    ASSERT_EQ(plain.size(), 1u);
    ASSERT_EQ(shifted.size(), 1u);
    EXPECT_EQ(shifted[0]->format, AV_PIX_FMT_YUV420P);
    const int luma = PlaneRange(*plain[0], 0).first;
    EXPECT_EQ(PlaneRange(*shifted[0], 0), std::make_pair(luma + 20, luma + 20));
    // Two native filters in a row, each on the other's output.
    const std::vector<TFramePtr> twice = Run("testnative=20,testnative=-5", {rgb.get()}, {AV_PIX_FMT_YUV420P});
    ASSERT_EQ(twice.size(), 1u);
    EXPECT_EQ(PlaneRange(*twice[0], 0), std::make_pair(luma + 15, luma + 15));
}

TEST_F(FilterChainTest, LiveValuesFollowTheirCellFromFrameToFrame)
{
    TLiveCell cell = NewLiveCell(10);
    const int64_t handle = RegisterLiveCell(cell);
    TFramePtr frame = UniformFrame(32, 32, AV_PIX_FMT_YUV420P, {100, 128, 128});
    FChain = std::make_unique<TFilterChain>();
    FChain->Open("testnative=0:" + std::to_string(handle), AVRational{1, 25});
    TFramePtr out(ff::av_frame_alloc());
    for (int value : {10, 30, -50}) {
        cell->store(value);
        ASSERT_EQ(FChain->SendFrame(frame.get()), 0) << FChain->LastErrMsg();
        ASSERT_EQ(FChain->ReceiveFrame(out.get()), 0);
        EXPECT_EQ(PlaneRange(*out, 0), std::make_pair(100 + value, 100 + value));
        ff::av_frame_unref(out.get());
    }
    UnregisterLiveCell(handle);
    EXPECT_EQ(FindLiveCell(handle), nullptr);
}

TEST_F(FilterChainTest, BadChainsAreRefusedWithAClearText)
{
    const std::pair<const char*, const char*> cases[] = {
        {"testnative=1, nosuchfilter=3", "No such filter: \"nosuchfilter\""},
        {"testnative=1,,scale=8:8", "Filter name expected"},
        {"[in]testnative=1[a];[a]null[out]", "Native filter \"testnative\" can only be used in a single filter chain"},
    };
    for (const auto& [text, expected] : cases) {
        TFilterChain chain;
        try {
            chain.Open(text, AVRational{1, 25});
            ADD_FAILURE() << text;
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(RegisterNativeFilter({"testnative", "again", {}, nullptr}));
}

}  // namespace
