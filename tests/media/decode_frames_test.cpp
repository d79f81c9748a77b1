// Stepping through real clips: forward to the real last picture, back by exactly one, key frames, seeks, still
// pictures, and the converted picture handed out as a bitmap record.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "media/decode/frame_decoder.h"
#include "platform/rtl/exceptions.h"
#include "tests/fixtures/media_fixtures.h"

namespace {

// 25 pictures a second.
constexpr int64_t Frame = 40000;

class DecodeFramesTest : public MediaEngineTest {
protected:
    void Open(const char* AFile)
    {
        ASSERT_TRUE(FDecoder.LoadFile(MediaFixture(AFile))) << FDecoder.LastErrMsg();
    }
    void TearDown() override
    {
        FOwned.reset();
        MediaEngineTest::TearDown();
    }
    std::vector<int64_t> StepToTheEnd()
    {
        std::vector<int64_t> times;
        while (FDecoder.Decode()) times.push_back(FDecoder.FrameInfo().PTS);
        return times;
    }
    // Freed before the engine stops, as every decoder must be.
    std::unique_ptr<TFFDecoder> FOwned = std::make_unique<TFFDecoder>(nullptr);
    TFFDecoder& FDecoder = *FOwned;
};

TEST_F(DecodeFramesTest, ForwardStepsReturnEveryPictureUpToTheRealLastOne)
{
    // The clip has B-frames: the last pictures only come out when the decoder is drained at the end.
    for (const char* file : {"bframes.mp4", "clip.avi", "clip.ts"}) {
        SCOPED_TRACE(file);
        Open(file);
        const std::vector<int64_t> times = StepToTheEnd();
        const size_t expected = std::string(file) == "bframes.mp4" ? 50 : 25;
        ASSERT_EQ(times.size(), expected);
        for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(times[i], static_cast<int64_t>(i) * Frame) << i;
        EXPECT_TRUE(FDecoder.IsEOF());
        EXPECT_TRUE(Logged("stream eof reached.", llInfo));
        EXPECT_FALSE(FDecoder.Decode());
    }
}

TEST_F(DecodeFramesTest, AStepBackReturnsExactlyThePreviousPicture)
{
    Open("bframes.mp4");
    // Through the middle of a group of pictures, across a key frame (every 12th) and back from the very end.
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(FDecoder.Decode());
    for (int64_t expected = 28; expected >= 10; --expected) {
        ASSERT_TRUE(FDecoder.DecodePreviousFrame()) << FDecoder.LastErrMsg();
        EXPECT_EQ(FDecoder.FrameInfo().PTS, expected * Frame);
    }
    ASSERT_TRUE(FDecoder.Decode());
    EXPECT_EQ(FDecoder.FrameInfo().PTS, 11 * Frame);

    while (FDecoder.Decode()) {}
    ASSERT_TRUE(FDecoder.DecodePreviousFrame()) << FDecoder.LastErrMsg();
    EXPECT_EQ(FDecoder.FrameInfo().PTS, 48 * Frame);
}

TEST_F(DecodeFramesTest, KeyFrameStepsLandOnKeyFrames)
{
    Open("bframes.mp4");
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(FDecoder.Decode());
    ASSERT_TRUE(FDecoder.DecodePreviousKeyFrame()) << FDecoder.LastErrMsg();
    EXPECT_TRUE(FDecoder.FrameInfo().IsKeyFrame);
    EXPECT_EQ(FDecoder.FrameInfo().PTS, 12 * Frame);
    EXPECT_EQ(FDecoder.FrameInfo().PictureType, ptI);
    ASSERT_TRUE(FDecoder.DecodeNextKeyFrame()) << FDecoder.LastErrMsg();
    EXPECT_TRUE(FDecoder.FrameInfo().IsKeyFrame);
    EXPECT_EQ(FDecoder.FrameInfo().PTS, 24 * Frame);

    // Right after opening there is no picture: the step back starts at the end of the file, so it gives the
    // last picture.
    Open("bframes.mp4");
    ASSERT_TRUE(FDecoder.DecodePreviousFrame()) << FDecoder.LastErrMsg();
    EXPECT_EQ(FDecoder.FrameInfo().PTS, 49 * Frame);
}

TEST_F(DecodeFramesTest, StepsBackRetraceTheForwardTimesOnEveryTimeBase)
{
    // Millisecond time stamps at 24 and 29.97 fps put pictures off the frame-duration grid; the last picture of
    // the program stream carries no time at all and follows the one before.
    const std::pair<const char*, size_t> cases[] = {
        {"r24.mkv", 24}, {"r2997.webm", 30}, {"r2997.flv", 30}, {"clip.mpg", 25}};
    for (const auto& [file, count] : cases) {
        SCOPED_TRACE(file);
        Open(file);
        const std::vector<int64_t> times = StepToTheEnd();
        ASSERT_EQ(times.size(), count);
        for (size_t i = 1; i < times.size(); ++i) ASSERT_GT(times[i], times[i - 1]) << i;
        // From the end back to the first picture, every picture once.
        for (size_t i = times.size() - 1; i-- > 0;) {
            ASSERT_TRUE(FDecoder.DecodePreviousFrame()) << i << ": " << FDecoder.LastErrMsg();
            ASSERT_EQ(FDecoder.FrameInfo().PTS, times[i]) << i;
        }
        // And forward again from there.
        ASSERT_TRUE(FDecoder.Decode());
        EXPECT_EQ(FDecoder.FrameInfo().PTS, times[1]);
    }
}

TEST_F(DecodeFramesTest, CoverArtIsNoVideoAndTheAudioSeeks)
{
    for (const char* file : {"cover.mp3", "cover.m4a"}) {
        SCOPED_TRACE(file);
        Open(file);
        EXPECT_FALSE(FDecoder.IsVideoStream(1));
        EXPECT_FALSE(FDecoder.Decode());
        EXPECT_EQ(FDecoder.LastErrMsg(), "no video stream.");
        EXPECT_NE(FDecoder.StreamInfoLine(1).find(" (cover art)"), std::string::npos) << FDecoder.StreamInfoLine(1);
        ASSERT_TRUE(FDecoder.Seek(500000, TSeekFlags{})) << FDecoder.LastErrMsg();
        ASSERT_TRUE(FDecoder.DecodeAudio()) << FDecoder.LastErrMsg();
        EXPECT_NEAR(FDecoder.WaveInfo().PTS, 500000, 60000);
    }
}

TEST_F(DecodeFramesTest, AFileCutShortDecodesWhatItHasAndEnds)
{
    Open("cut.ts");
    const std::vector<int64_t> times = StepToTheEnd();
    EXPECT_GT(times.size(), 3u);
    EXPECT_LT(times.size(), 25u);
    EXPECT_TRUE(FDecoder.IsEOF());
    ASSERT_TRUE(FDecoder.Seek(0, TSeekFlags{}));
    int blocks = 0;
    while (FDecoder.DecodeAudio()) ++blocks;
    EXPECT_GT(blocks, 0);
    EXPECT_TRUE(FDecoder.DecodePreviousFrame()) << FDecoder.LastErrMsg();
}

TEST_F(DecodeFramesTest, ASeekBeforeTheStartLandsOnTheFirstPicture)
{
    for (const char* file : {"bframes.mp4", "clip.ts"}) {
        SCOPED_TRACE(file);
        Open(file);
        for (int i = 0; i < 15; ++i) ASSERT_TRUE(FDecoder.Decode());
        ASSERT_TRUE(FDecoder.Seek(-5000000, TSeekFlags{})) << FDecoder.LastErrMsg();
        EXPECT_FALSE(FDecoder.FrameInfo().Ready);
        ASSERT_TRUE(FDecoder.Decode());
        EXPECT_EQ(FDecoder.FrameInfo().PTS, 0);
    }
    // Forward to a time: the first key frame at or after it.
    Open("bframes.mp4");
    ASSERT_TRUE(FDecoder.Seek(13 * Frame, TSeekFlags{})) << FDecoder.LastErrMsg();
    ASSERT_TRUE(FDecoder.Decode());
    EXPECT_EQ(FDecoder.FrameInfo().PTS, 24 * Frame);
}

TEST_F(DecodeFramesTest, AStillPictureDecodesOnceAndCannotSeek)
{
    Open("picture.jpg");
    ASSERT_TRUE(FDecoder.Decode()) << FDecoder.LastErrMsg();
    EXPECT_EQ(FDecoder.FrameInfo().Width, 64);
    EXPECT_TRUE(FDecoder.Decode());
    EXPECT_TRUE(FDecoder.Decode());
    EXPECT_FALSE(FDecoder.Seek(0, TSeekFlags{}));
    EXPECT_TRUE(Logged("\"image2\" format cannot to be seeked.", llInfo));
}

TEST_F(DecodeFramesTest, ThePictureComesOutAsABitmapRecordOnlyOnceDecoded)
{
    Open("bframes.mp4");
    EXPECT_EQ(FDecoder.GetBitmapPtr(), nullptr);
    EXPECT_EQ(FDecoder.LastErrMsg(), "picture not ready, please decode first");
    ASSERT_TRUE(FDecoder.Decode());
    const win::BITMAP* dib = FDecoder.GetBitmapPtr();
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->bmWidth, 160);
    EXPECT_EQ(dib->bmHeight, 120);
    EXPECT_EQ(dib->bmWidthBytes, 480);
    EXPECT_EQ(dib->bmBitsPixel, 24);
    FDecoder.SetBitmapBitsPixel(32);
    dib = FDecoder.GetBitmapPtr();
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->bmWidthBytes, 640);
}

TEST_F(DecodeFramesTest, DeinterlacingRebuildsTheOddRowsAndKeepsTheEvenOnes)
{
    Open("bframes.mp4");
    auto luma = [this] {
        const TFrameInfo& info = FDecoder.FrameInfo();
        std::vector<std::vector<uint8_t>> rows;
        for (int y = 0; y < info.Height; ++y) {
            const uint8_t* row = info.Picture.data[0] + static_cast<ptrdiff_t>(y) * info.Picture.linesize[0];
            rows.emplace_back(row, row + info.Width);
        }
        return rows;
    };
    ASSERT_TRUE(FDecoder.Decode());
    const auto plain = luma();
    ASSERT_TRUE(FDecoder.Seek(0, TSeekFlags{}));
    FDecoder.SetDeinterlace(true);
    ASSERT_TRUE(FDecoder.Decode());
    const auto deinterlaced = luma();
    ASSERT_EQ(deinterlaced.size(), 120u);
    int changed_odd_rows = 0;
    for (size_t y = 0; y < plain.size(); ++y) {
        if (y % 2 == 0)
            EXPECT_EQ(deinterlaced[y], plain[y]) << "row " << y;
        else if (deinterlaced[y] != plain[y])
            ++changed_odd_rows;
    }
    // The test picture's bands and digits change from row to row in most places.
    EXPECT_GT(changed_odd_rows, 30);

    ASSERT_TRUE(FDecoder.Seek(0, TSeekFlags{}));
    EXPECT_EQ(StepToTheEnd().size(), 50u);
    EXPECT_TRUE(FDecoder.Deinterlace());
    EXPECT_EQ(FDecoder.FrameInfo().Width, 160);
}

TEST_F(DecodeFramesTest, AnAdoptedFileAnswersQuestionsButIsNotDecoded)
{
    Open("clip.avi");
    TFFDecoder adopter(nullptr);
    adopter.SetFileHandle(FDecoder.FileHandle());
    EXPECT_EQ(adopter.StreamCount(), 2);
    EXPECT_EQ(adopter.FirstVideoStreamInfo().Width, 160);
    try {
        adopter.Decode();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "file cannot be seeked, handle is readonly.");
    }
    adopter.CloseFile();
    // The owner's file is untouched.
    EXPECT_TRUE(FDecoder.Decode());
}

}  // namespace
