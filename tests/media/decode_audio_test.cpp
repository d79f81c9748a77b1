// Audio decoded into the fixed output format: resampled and remixed, converted in sample format only, or handed
// out as decoded, in whole blocks or as a byte stream.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "media/decode/frame_decoder.h"
#include "tests/fixtures/media_fixtures.h"

namespace {

class DecodeAudioTest : public MediaEngineTest {
protected:
    void TearDown() override
    {
        FDecoder.reset();
        MediaEngineTest::TearDown();
    }
    void Open(const char* AFile)
    {
        FDecoder = std::make_unique<TFFDecoder>(nullptr);
        ASSERT_TRUE(FDecoder->LoadFile(MediaFixture(AFile))) << FDecoder->LastErrMsg();
        ClearLines();
    }
    // Bytes of all blocks until the end; every block in the output format with rising times.
    int64_t DecodeAll()
    {
        int64_t total = 0;
        int64_t last_pts = -1;
        while (FDecoder->DecodeAudio()) {
            const TWaveInfo& wave = FDecoder->WaveInfo();
            EXPECT_EQ(wave.Channels, 2);
            EXPECT_EQ(wave.SampleRate, 44100);
            EXPECT_EQ(wave.SampleFormat, AV_SAMPLE_FMT_S16);
            EXPECT_EQ(wave.BytesPerSecond, 176400);
            EXPECT_GT(wave.Size, 0);
            EXPECT_GT(wave.PTS, last_pts);
            EXPECT_EQ(wave.Duration, int64_t{500000} * wave.Size / 88200);
            last_pts = wave.PTS;
            total += wave.Size;
        }
        EXPECT_TRUE(FDecoder->IsEOF());
        return total;
    }
    bool LoggedStarting(const std::string& AText)
    {
        for (const TLoggedLine& line : Lines())
            if (line.Text.rfind(AText, 0) == 0) return true;
        return false;
    }
    std::unique_ptr<TFFDecoder> FDecoder;
};

TEST_F(DecodeAudioTest, SixChannelsAt48kHzComeOutAsStereoAt44kHzOfTheSameLength)
{
    Open("six.wav");
    const int64_t total = DecodeAll();
    // One second: 44100 frames of 4 bytes; the resampler's filter is drained at the end, so nothing is lost.
    EXPECT_NEAR(total, 176400, 4 * 4);
    EXPECT_EQ(total % 4, 0);
    EXPECT_TRUE(Logged("need resample 6 channels @ 48000 Hz to 2 channels @ 44100 Hz", llInfo));
}

TEST_F(DecodeAudioTest, AChannelAndRateChangeMidStreamRebuildsTheConverterAndDecodesToTheEnd)
{
    // One second of 6 channels at 48 kHz, then one of stereo at 44.1 kHz, as a broadcast recording switches.
    Open("layout_change.ts");
    int64_t total = 0;
    while (FDecoder->DecodeAudio()) {
        EXPECT_EQ(FDecoder->WaveInfo().Channels, 2);
        EXPECT_EQ(FDecoder->WaveInfo().SampleRate, 44100);
        total += FDecoder->WaveInfo().Size;
    }
    EXPECT_TRUE(FDecoder->IsEOF()) << FDecoder->LastErrMsg();
    // Both seconds arrive whole (AC-3 blocks round each up a little).
    EXPECT_NEAR(total, 2 * 176400, 176400 / 20);
    EXPECT_EQ(total % 4, 0);
    EXPECT_TRUE(Logged("need resample 6 channels @ 48000 Hz to 2 channels @ 44100 Hz", llInfo));
    EXPECT_TRUE(Logged("need convert fltp sample format to s16 sample format", llInfo));
}

TEST_F(DecodeAudioTest, OnlyWhatDiffersIsConverted)
{
    // Already in the output format: handed out as decoded, no converter at all.
    Open("stereo16.wav");
    EXPECT_EQ(DecodeAll(), 176400);
    EXPECT_FALSE(LoggedStarting("need "));

    // Floating-point samples at the right rate and layout: the sample format only.
    Open("stereoflt.wav");
    EXPECT_EQ(DecodeAll(), 176400);
    EXPECT_TRUE(Logged("need convert flt sample format to s16 sample format", llInfo));
    EXPECT_FALSE(LoggedStarting("need resample"));

    // Other wishes: mono at 22050 Hz out of the same file.
    Open("stereo16.wav");
    FDecoder->SetDesireAudioChannels(1);
    FDecoder->SetDesireAudioSampleRate(22050);
    int64_t total = 0;
    while (FDecoder->DecodeAudio()) total += FDecoder->WaveInfo().Size;
    EXPECT_NEAR(total, 44100, 8);
}

TEST_F(DecodeAudioTest, ReadingAsAByteStreamHandsOutBlocksPieceByPiece)
{
    Open("stereo16.wav");
    uint8_t buffer[1000];
    // A nil buffer tells what the current block holds without taking it.
    const int available = FDecoder->ReadAudio(nullptr, 1 << 30);
    ASSERT_GT(available, 0);
    EXPECT_EQ(available, FDecoder->WaveInfo().Size);
    EXPECT_EQ(FDecoder->ReadAudio(nullptr, 10), 10);
    const int block = FDecoder->WaveInfo().Size;

    int64_t total = 0;
    int count;
    while ((count = FDecoder->ReadAudio(buffer, sizeof buffer)) > 0) {
        // A read never crosses a block: the block's rest first, the next block with the next call.
        EXPECT_LE(count, static_cast<int>(sizeof buffer));
        total += count;
    }
    EXPECT_EQ(count, -1);
    EXPECT_EQ(total, 176400);
    EXPECT_GT(block, 0);
}

TEST_F(DecodeAudioTest, StreamsAreChosenByKind)
{
    Open("multi.mkv");
    EXPECT_FALSE(FDecoder->DecodeAudio(0));
    EXPECT_EQ(FDecoder->LastErrMsg(), "stream #0 is not audio stream.");
    ASSERT_TRUE(FDecoder->DecodeAudio(2)) << FDecoder->LastErrMsg();
    EXPECT_EQ(FDecoder->WaveInfo().StreamIndex, 2);
    // -1: the stream used last.
    ASSERT_TRUE(FDecoder->DecodeAudio());
    EXPECT_EQ(FDecoder->WaveInfo().StreamIndex, 2);

    Open("bframes.mp4");
    EXPECT_FALSE(FDecoder->DecodeAudio());
    EXPECT_EQ(FDecoder->LastErrMsg(), "no audio stream.");
}

}  // namespace
