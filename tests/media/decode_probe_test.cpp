// Probing real files: streams, sizes, durations and texts, and clear failures for files that are not what
// they claim to be.
#include <gtest/gtest.h>

#include <chrono>

#include "media/decode/frame_decoder.h"
#include "media/decode/unicode_names.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "tests/fixtures/media_fixtures.h"
#include "tests/media/loopback_socket.h"

namespace {

class DecodeProbeTest : public MediaEngineTest {};

struct TProbeCase {
    const char* File;
    const char* Format;
    int Streams, Video, Audio, Subtitles;
    int FirstVideo, FirstAudio, FirstSubtitle;
    int Width, Height;       // first video stream; -1 without
    int Channels, Rate;      // first audio stream; -1 without
    int64_t DurationMs;      // container duration, within 100 ms
};

const TProbeCase ProbeCases[] = {
    {"bframes.mp4", "mov,mp4,m4a,3gp,3g2,mj2", 1, 1, 0, 0, 0, -1, -1, 160, 120, -1, -1, 2000},
    {"clip.ts", "mpegts", 2, 1, 1, 0, 0, 1, -1, 160, 120, 2, 48000, 1000},
    {"clip.avi", "avi", 2, 1, 1, 0, 0, 1, -1, 160, 120, 1, 22050, 1000},
    {"multi.mkv", "matroska,webm", 4, 1, 2, 1, 0, 1, 3, 160, 120, 1, 48000, 1000},
    {"tagged.mp3", "mp3", 1, 0, 1, 0, -1, 0, -1, -1, -1, 1, 44100, 1000},
    {"six.wav", "wav", 1, 0, 1, 0, -1, 0, -1, -1, -1, 6, 48000, 1000},
    {"picture.jpg", "jpeg_pipe", 1, 1, 0, 0, 0, -1, -1, 64, 48, -1, -1, -1},
    // Cover art is no video: the file counts as audio.
    {"cover.mp3", "mp3", 2, 0, 1, 0, -1, 0, -1, -1, -1, 1, 44100, 1000},
    {"cover.m4a", "mov,mp4,m4a,3gp,3g2,mj2", 2, 0, 1, 0, -1, 0, -1, -1, -1, 1, 44100, 1000},
    {"ünïcødé видео.mp4", "mov,mp4,m4a,3gp,3g2,mj2", 1, 1, 0, 0, 0, -1, -1, 160, 120, -1, -1, 2000},
};

TEST_F(DecodeProbeTest, FindsTheStreamsSizesAndDurationsOfEveryKindOfFile)
{
    for (const TProbeCase& c : ProbeCases) {
        SCOPED_TRACE(c.File);
        TFFDecoder decoder(nullptr);
        const std::string name = MediaFixture(c.File);
        ASSERT_TRUE(decoder.LoadFile(name)) << decoder.LastErrMsg();
        EXPECT_EQ(decoder.FileName(), name);
        EXPECT_EQ(decoder.FormatName(), c.Format);
        EXPECT_EQ(decoder.FileSize(), FileSizeByName(name));
        EXPECT_EQ(decoder.StreamCount(), c.Streams);
        EXPECT_EQ(decoder.VideoStreamCount(), c.Video);
        EXPECT_EQ(decoder.AudioStreamCount(), c.Audio);
        EXPECT_EQ(decoder.SubtitleStreamCount(), c.Subtitles);
        EXPECT_EQ(decoder.FirstVideoStreamIndex(), c.FirstVideo);
        EXPECT_EQ(decoder.FirstAudioStreamIndex(), c.FirstAudio);
        EXPECT_EQ(decoder.FirstSubtitleStreamIndex(), c.FirstSubtitle);
        if (c.Width > 0) {
            const TVideoStreamInfo video = decoder.FirstVideoStreamInfo();
            EXPECT_EQ(video.Width, c.Width);
            EXPECT_EQ(video.Height, c.Height);
            EXPECT_NEAR(video.AspectRatio, static_cast<float>(c.Width) / c.Height, 0.01);
            EXPECT_FALSE(video.CodecName.empty());
        }
        if (c.Channels > 0) {
            const TAudioStreamInfo audio = decoder.FirstAudioStreamInfo();
            EXPECT_EQ(audio.Channels, c.Channels);
            EXPECT_EQ(audio.SampleRate, c.Rate);
        }
        const TFileStreamInfo file = decoder.FileStreamInfo();
        if (c.DurationMs < 0)
            EXPECT_LT(file.Duration, 1000000);
        else
            EXPECT_NEAR(file.Duration / 1000.0, c.DurationMs, 100);
    }
}

TEST_F(DecodeProbeTest, TellsLanguagesCodecsAndTagsApart)
{
    TFFDecoder decoder(nullptr);
    ASSERT_TRUE(decoder.LoadFile(MediaFixture("multi.mkv"))) << decoder.LastErrMsg();
    EXPECT_EQ(decoder.GetAudioStreamInfo(1).Language, "eng");
    EXPECT_EQ(decoder.GetAudioStreamInfo(2).Language, "ger");
    EXPECT_EQ(decoder.GetAudioStreamInfo(2).CodecName.rfind("ac3", 0), 0u) << decoder.GetAudioStreamInfo(2).CodecName;
    const TSubtitleStreamInfo subtitle = decoder.FirstSubtitleStreamInfo();
    EXPECT_EQ(subtitle.Language, "eng");
    EXPECT_EQ(subtitle.CodecName.rfind("srt", 0), 0u) << subtitle.CodecName;
    const TVideoStreamInfo video = decoder.FirstVideoStreamInfo();
    EXPECT_EQ(video.FrameRate.num / video.FrameRate.den, 25);

    ASSERT_TRUE(decoder.LoadFile(MediaFixture("tagged.mp3"))) << decoder.LastErrMsg();
    const TFileStreamInfo file = decoder.FileStreamInfo();
    EXPECT_EQ(file.Title, "Fixture Title");
    EXPECT_EQ(file.Author, "Fixture Artist");
}

struct TStreamErrorCase {
    const char* Name;
    std::function<bool(TCustomDecoder&)> Call;
    const char* Text;
};

TEST_F(DecodeProbeTest, AForcedFormatTakesItsHints)
{
    // Any bytes are raw pictures once the format and the picture size are given.
    TFFDecoder decoder(nullptr);
    ASSERT_TRUE(decoder.LoadFile(MediaFixture("not_media.mp4"), "rawvideo",
                                 {{"video_size", "8x6"}, {"pixel_format", "gray"}}))
        << decoder.LastErrMsg();
    EXPECT_EQ(decoder.ForceFormat(), "rawvideo");
    const TVideoStreamInfo video = decoder.FirstVideoStreamInfo();
    EXPECT_EQ(video.Width, 8);
    EXPECT_EQ(video.Height, 6);
    EXPECT_EQ(video.PixFmt, AV_PIX_FMT_GRAY8);
    EXPECT_TRUE(decoder.Decode());
}

TEST_F(DecodeProbeTest, StreamQuestionsOutsideTheFileFailSoftlyWithTheirTexts)
{
    TFFDecoder decoder(nullptr);
    ASSERT_TRUE(decoder.LoadFile(MediaFixture("clip.ts"))) << decoder.LastErrMsg();
    const TStreamErrorCase cases[] = {
        {"no subtitles", [](TCustomDecoder& d) { return !d.FirstSubtitleStreamInfo().CodecName.empty(); },
         "no subtitle stream."},
        {"index past the end", [](TCustomDecoder& d) { return d.GetVideoStreamInfo(7).Width > 0; },
         "stream index #7 is invalid."},
        {"audio asked as video", [](TCustomDecoder& d) { return d.GetVideoStreamInfo(1).Width > 0; },
         "stream #1 is not video stream."},
        {"video asked as audio", [](TCustomDecoder& d) { return d.IsAudioStream(0); }, "stream #0 is not audio stream."},
        {"negative index", [](TCustomDecoder& d) { return d.IsVideoStream(-1); }, "stream index #-1 is invalid."},
    };
    for (const TStreamErrorCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ClearLines();
        EXPECT_FALSE(c.Call(decoder));
        EXPECT_EQ(decoder.LastErrMsg(), c.Text);
        EXPECT_TRUE(Logged(c.Text, llError));
    }
    EXPECT_TRUE(decoder.IsAudioStream(1));
    const TVideoStreamInfo unknown = decoder.GetVideoStreamInfo(1);
    EXPECT_EQ(unknown.Width, -1);
    EXPECT_EQ(unknown.AspectRatio, -1.0f);
    EXPECT_EQ(unknown.FrameRate.num, -1);
}

TEST_F(DecodeProbeTest, BadFilesGiveClearErrorsAndLeaveNothingOpen)
{
    struct TCase {
        const char* File;
        const char* Format;
        std::string Text;
        bool LoggedAsError;
    };
    const std::string missing = MediaFixture("no-such-file.mp4");
    const TCase cases[] = {
        {"no-such-file.mp4", "", missing + ": No such file or directory", true},
        {"truncated.mp4", "", MediaFixture("truncated.mp4") + ": Invalid data found when processing input", true},
        {"not_media.mp4", "", MediaFixture("not_media.mp4") + ": Invalid data found when processing input", true},
        {"bframes.mp4", "no-such-format", "Unknown input format: no-such-format", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        TFFDecoder decoder(nullptr);
        ASSERT_TRUE(decoder.LoadFile(MediaFixture("bframes.mp4")));
        ClearLines();
        EXPECT_FALSE(decoder.LoadFile(MediaFixture(c.File), c.Format));
        EXPECT_EQ(decoder.LastErrMsg(), c.Text);
        EXPECT_EQ(Logged(c.Text, llError), c.LoggedAsError);
        EXPECT_EQ(decoder.FileHandle(), nullptr);
        EXPECT_EQ(decoder.StreamCount(), -1);
        EXPECT_FALSE(decoder.Decode());
        EXPECT_EQ(decoder.LastErrMsg(), "file not loaded.");
    }
}

TEST_F(DecodeProbeTest, AfterClosingEveryAnswerIsUnknownWithAWarning)
{
    TFFDecoder decoder(nullptr);
    ASSERT_TRUE(decoder.LoadFile(MediaFixture("clip.avi")));
    decoder.CloseFile();
    EXPECT_EQ(decoder.StreamCount(), -1);
    EXPECT_EQ(decoder.FirstVideoStreamIndex(), -1);
    EXPECT_EQ(decoder.FileSize(), -1);
    ClearLines();
    const TFileStreamInfo file = decoder.FileStreamInfo();
    EXPECT_EQ(file.Duration, -1);
    EXPECT_EQ(file.BitRate, -1);
    EXPECT_TRUE(file.Title.empty());
    EXPECT_TRUE(Logged("file not loaded.", llWarning));
    EXPECT_EQ(decoder.FileInfoText(), "");
    EXPECT_EQ(decoder.FormatName(), "");
}

TEST_F(DecodeProbeTest, UnicodeURLsOpenThroughTheirOwnInputAndGiveTheNameBack)
{
    const std::string name = MediaFixture("ünïcødé видео.mp4");
    TFFDecoder decoder(nullptr);
    ASSERT_TRUE(decoder.LoadFile(MakeUnicodeURL(name))) << decoder.LastErrMsg();
    EXPECT_EQ(decoder.FileName(), name);
    EXPECT_EQ(decoder.FileSize(), FileSizeByName(name));
    EXPECT_EQ(decoder.FirstVideoStreamInfo().Width, 160);
    int pictures = 0;
    while (decoder.Decode()) ++pictures;
    EXPECT_EQ(pictures, 50);
    ASSERT_TRUE(decoder.Seek(0, TSeekFlags{}));
    EXPECT_TRUE(decoder.Decode());

    const std::string missing = MediaFixture("missing видео.mp4");
    EXPECT_FALSE(decoder.LoadFile(MakeUnicodeURL(missing)));
    EXPECT_EQ(decoder.LastErrMsg(), MakeUnicodeURL(missing) + ": No such file or directory");
}

TEST_F(DecodeProbeTest, ASilentServerEndsTheProbeInTheReadTimeout)
{
    // Listening is enough: the system completes the connection, and nothing is ever sent.
    TLoopbackSocket server;
    OpenLoopbackSocket(server, SOCK_STREAM);
    ASSERT_GE(server.Handle, 0);
    const std::string url = server.URL("tcp");

    TFFDecoder decoder(nullptr);
    decoder.SetReadTimeout(200);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(decoder.LoadFile(url));
    // Not a measurement: only that the call came back at all instead of waiting for the server.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(decoder.LastErrMsg(), url + ": timeout");
    EXPECT_TRUE(Logged(url + ": timeout", llError));
    EXPECT_EQ(decoder.StreamCount(), -1);
}

TEST(UnicodeNames, PassPlainAndProtocolNamesAndRoundTripTheURLForm)
{
    const std::pair<const char*, const char*> unchanged[] = {
        {"/tmp/a.mp4", "plain"}, {"/tmp/видео.mp4", "UTF-8"}, {"udp://239.0.0.1:1234", "protocol"},
        {"C:/clips/a.mp4", "drive letter"}, {"unicode:utf8:/tmp/a.mp4", "already a unicode URL"}};
    for (const auto& [name, why] : unchanged) {
        SCOPED_TRACE(why);
        EXPECT_FALSE(NeedsUnicodeName(name));
        EXPECT_EQ(FileNameToAnsiURL(name), name);
    }
    EXPECT_FALSE(IsUnicodeURL("unicode:utf8:"));
    EXPECT_TRUE(IsUnicodeURL("unicode:utf8:x"));
    EXPECT_FALSE(IsUnicodeURL("Unicode:utf8:/x"));
    EXPECT_EQ(URLToWideName(MakeUnicodeURL("/tmp/ж:з.mp4")), "/tmp/ж:з.mp4");
    EXPECT_EQ(URLToWideName("/tmp/plain.mp4"), "/tmp/plain.mp4");
}

TEST(DecoderWithoutLibraries, RefusesToOpenWithTheFirstMissingLibrary)
{
    StartMediaEngine();
    TFFDecoder decoder(nullptr);
    try {
        decoder.LoadFile("/tmp/a.mp4");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "LibAVCodec not loaded.");
    }
    StopMediaEngine();
}

}  // namespace
