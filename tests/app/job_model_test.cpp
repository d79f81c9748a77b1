#include <gtest/gtest.h>

#include "app/file_info_texts.h"
#include "app/time_text.h"
#include "app/video_file.h"
#include "platform/rtl/exceptions.h"

namespace {

constexpr int64_t kSecond = 1000000;

TEST(JobModel, TimeTexts)
{
    struct Case { int64_t micros; const char* text; };
    const Case cases[] = {
        {0, "00:00:00"},
        {59 * kSecond + 999999, "00:00:59"},
        {(3600 + 61) * kSecond, "01:01:01"},
        {25 * 3600 * kSecond, "25:00:00"},      // hours are not limited to a day
        {1000 * 3600 * kSecond, "1000:00:00"},  // 64-bit arithmetic all the way
        {-5 * kSecond, "00:00:-05"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMicroseconds(c.micros), c.text) << c.micros;

    EXPECT_EQ(TimeToMicroseconds((5400.25) / 86400.0), 5400250000);  // 01:30:00.250
    EXPECT_EQ(TimeToMicroseconds(86399.999 / 86400.0), 86399999000);
    EXPECT_EQ(TimeToMicroseconds(0), 0);
}

TEST(JobModel, EstimateFromBitRatesAndWholeSeconds)
{
    struct Case { const char* video; const char* audio; int64_t length; double expected; };
    const Case cases[] = {
        {"1000000", "", 60 * kSecond, 7.32421875},                      // 60 x 125 / 1024
        {"1000000", "128000", 60 * kSecond + 999999, 7.32421875 + 0.9375},  // partial seconds do not count
        {"", "", 60 * kSecond, 0},
        {"1000000", "", 25 * 3600 * kSecond, 25 * 3600 * 125 / 1024.0},  // a day or more still estimates
    };
    for (const auto& c : cases) {
        TFormat format;
        format.VideoBitRate = c.video, format.AudioBitRate = c.audio;
        TVideoFile job;
        job.EstimatedSize = -1;
        job.TrimmedLength = c.length;
        EstimateOutputSize(job, &format);
        EXPECT_DOUBLE_EQ(job.EstimatedSize, c.expected) << c.video << " " << c.audio;
    }
    EXPECT_EQ(EstimatedSizeText(7.32421875), "7.32 MB");
    EXPECT_EQ(EstimatedSizeText(0), "0.00 MB");

    // A job without a format, or with a bit rate that is not a number, keeps its old estimate.
    TVideoFile job;
    job.EstimatedSize = 3.5;
    job.TrimmedLength = 60 * kSecond;
    EstimateOutputSize(job, nullptr);
    EXPECT_EQ(job.EstimatedSize, 3.5);
    TFormat broken;
    broken.VideoBitRate = "fast";
    EstimateOutputSize(job, &broken);
    EXPECT_EQ(job.EstimatedSize, 3.5);
}

TEST(JobModel, NewJobFromProbe)
{
    const TProbedFile audio_first{12 * kSecond, {{false, 0, 0}, {true, 640, 360}}};
    const TVideoFile job = MakeVideoFile("/media/clips/holiday.2024.mp4", audio_first, {2, 5});
    EXPECT_EQ(job.SourceTitleExt, "holiday.2024.mp4");
    EXPECT_EQ(job.DestinationTitle, "holiday.2024");
    EXPECT_EQ(job.Status, "-");
    EXPECT_FALSE(job.isSourceAudioFormat);  // the first video stream counts, not stream 0
    EXPECT_EQ(job.SourceWidth, 640);
    EXPECT_EQ(job.SourceHeight, 360);
    EXPECT_EQ(job.TrimmedLength, 12 * kSecond);
    EXPECT_EQ(job.TimeStart, 0);
    EXPECT_EQ(job.TimeEnd, 12 * kSecond);
    EXPECT_EQ(job.ProfileInd, 2);
    EXPECT_EQ(job.FormatInd, 5);

    const TVideoFile song = MakeVideoFile("/music/song", {3 * kSecond, {{false, 0, 0}}}, {});
    EXPECT_TRUE(song.isSourceAudioFormat);
    EXPECT_EQ(song.SourceWidth, 0);
    EXPECT_EQ(song.DestinationTitle, "song");
}

TEST(JobModel, FileInformationTexts)
{
    TFileInfoTexts info;
    info.SetFile("/videos/a b.mkv", (3600 + 2) * kSecond);
    EXPECT_EQ(info.FileName, "a b.mkv");
    EXPECT_EQ(info.MediaLength, "01:00:02");

    info.SetVideoStream(1280, 720, 2500999, 30000, 1001);
    EXPECT_EQ(info.Resolution, "1280x720");
    EXPECT_EQ(info.VideoBitRate, "2500 Kb");
    EXPECT_EQ(info.FrameRate, "30 fps");
    info.SetVideoStream(640, 480, 0, 25, 1);
    EXPECT_EQ(info.VideoBitRate, "is not preseted");
    EXPECT_EQ(info.FrameRate, "25 fps");
    info.SetVideoStream(640, 480, 0, 5, 2);
    EXPECT_EQ(info.FrameRate, "2 fps");  // 2.5 rounds to even
    EXPECT_THROW(info.SetVideoStream(640, 480, 0, 25, 0), EConvertError);

    info.SetAudioStream(44100, 2, 128000);
    info.SetAudioStream(48000, 6, -1);  // a second audio stream overwrites the first
    EXPECT_EQ(info.SampleRate, "48000 Hz");
    EXPECT_EQ(info.Channels, "6 channel");
    EXPECT_EQ(info.AudioBitRate, "is not preseted");
}

}  // namespace
