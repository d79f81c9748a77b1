// Texts, option routing, whole-file reading and pts correction with the real libraries.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/util/ff_utils.h"

namespace {

class FFUtilsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(DecoderLibraries)) << TFFLoader::LastErrMsg();
    }
    void TearDown() override { StopMediaEngine(); }
};

TEST(FFTexts, TimesDurationsAndMediaTypes)
{
    EXPECT_EQ(FormatTimestamp(3723004000), "01:02:03.004");
    EXPECT_EQ(FormatTimestamp(int64_t{25 * 3600 + 61} * 1000000), "25:01:01.000");
    EXPECT_EQ(FormatTimestamp(AV_NOPTS_VALUE), "N/A");
    EXPECT_EQ(FrameDuration(AVRational{30000, 1001}), 33366);
    EXPECT_EQ(FrameDuration(AVRational{0, 1}), 40000);
    EXPECT_EQ(FrameDuration(AVRational{25, 0}), 40000);
    const char* const types[] = {"Video", "Audio", "Data", "Subtitle", "Attachment", "Unknown"};
    for (int t = 0; t < 6; ++t) EXPECT_EQ(MediaTypeName(t), types[t]);
    EXPECT_EQ(MediaTypeName(-1), "Unknown");
}

TEST(FFTexts, ErrorTextsByCode)
{
    const std::pair<int, const char*> cases[] = {
        {AVERROR(ENOENT), "a.avi: No such file or directory"},
        {AVERROR(ENOSYS), "a.avi: Function not implemented"},
        {AVERROR_EOF, "a.avi: End of file"},
        {AVERROR_INVALIDDATA, "a.avi: Invalid data found when processing input"},
        {AVERROR_MUXER_NOT_FOUND, "a.avi: Muxer not found"},
        {AVERROR_PATCHWELCOME, "a.avi: Not yet implemented in FFmpeg"},
        {-41, "a.avi: Error number -41 occurred"},
        {-10038, "a.avi: Socket operation on non-socket"},
        {-10061, "a.avi: Connection refused"},
        {-10035, "a.avi: WSAEWOULDBLOCK"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(AVErrorText("a.avi", code), text) << code;
}

TEST_F(FFUtilsTest, CodecTextsFromCodecIdOrTag)
{
    AVCodecContext* context = ff::avcodec_alloc_context3(nullptr);
    context->codec_id = AV_CODEC_ID_MPEG4;
    EXPECT_EQ(CodecText(context, false), "mpeg4(MPEG-4 part 2)");
    context->codec_id = AV_CODEC_ID_MPEG2TS;
    EXPECT_EQ(CodecText(context, false), "mpeg2ts");
    context->codec_id = AV_CODEC_ID_NONE;
    context->codec_tag = MKTAG('X', 'V', 'I', 'D');
    EXPECT_EQ(CodecText(context, false), "XVID / 0x44495658");
    context->codec_tag = 0x0102AB;
    EXPECT_EQ(CodecText(context, true), "0x102ab");
    ff::avcodec_free_context(&context);
}

TEST(PtsCorrection, TrustsDtsOnlyAfterPtsWentWrongMoreOften)
{
    struct TStep {
        int64_t Pts, Dts, Expected;
    };
    const TStep steps[] = {{0, AV_NOPTS_VALUE, 0}, {3, 1, 3}, {1, 2, 2}, {2, 3, 3}, {AV_NOPTS_VALUE, 4, 4}};
    TPtsCorrectionContext context;
    InitPtsCorrection(context);
    for (const TStep& step : steps) EXPECT_EQ(GuessCorrectPts(context, step.Pts, step.Dts), step.Expected);
}

}  // namespace
