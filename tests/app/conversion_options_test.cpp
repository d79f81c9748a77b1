// A job's option records: codecs and rates from its format, the trim range, and the video filter chain with its
// crop and pad geometry; also the two gauges of the progress dialog.
#include "app/conversion_options.h"

#include <gtest/gtest.h>

#include "app/conversion_progress.h"

namespace {

TFormat VideoFormat(const std::string& AWidth, const std::string& AHeight)
{
    TFormat format;
    format.FormatExt = ".mp4";
    format.IsAudioFormat = "0";
    format.Title = "MP4 - MPEG-4 Video";
    format.VideoCodecName = "mpeg4";
    format.Width = AWidth;
    format.Height = AHeight;
    format.FrameRate = "25000";
    format.VideoBitRate = "1200000";
    format.AudioCodecName = "aac";
    format.SampleRate = "44100";
    format.Channel = "2";
    format.AudioBitRate = "128000";
    return format;
}

TVideoFile Job(int AWidth, int AHeight)
{
    TVideoFile job;
    job.Source = "/videos/holiday.avi";
    job.SourceTitleExt = "holiday.avi";
    job.DestinationTitle = "holiday";
    job.SourceWidth = AWidth;
    job.SourceHeight = AHeight;
    job.TimeStart = 1000000;
    job.TimeEnd = 3500000;
    return job;
}

TOutputOptions Fill(const TVideoFile& AJob, const TFormat& AFormat, bool ATrim = true)
{
    TInputOptions input;
    TOutputOptions output;
    FillJobOptions(AJob, AFormat, "/out/holiday.mp4", ATrim, input, output);
    return output;
}

TEST(ConversionOptions, FilterChainsOfWorkedExamples)
{
    struct Case {
        int width, height, aspect, brightness, contrast, saturation;
        const char *frame_width, *frame_height, *chain, *frame_aspect;
    };
    const Case cases[] = {
        {640, 480, 0, 0, 0, 0, "1280", "720", "pad=854:480:107:0:black,scale=1280:720,setsar=1/1", "16:9"},
        // Shown 16:9 in a 4:3 frame: the bars are worked out on the picture's own height, 576 + 2 x 96 rows
        // for 480 of 640 x 480, so the picture keeps 360 rows: 640 / 360 is 16:9.
        {720, 576, 3, 0, 0, 0, "640", "480", "pad=720:768:0:96:black,scale=640:480,setsar=1/1", "4:3"},
        {640, 480, 0, 10, 0, 0, "320", "240", "nativeeq=10:0,scale=320:240,setsar=1/1", "4:3"},
        {640, 480, 0, -20, 15, 30, "320", "240", "nativeeq=-20:15,nativehue=0:30,scale=320:240,setsar=1/1", "4:3"},
        // "Full Screen" takes the frame's own shape: nothing to pad.
        {640, 480, 1, 0, 0, 0, "1280", "720", "scale=1280:720,setsar=1/1", "16:9"},
        {640, 480, 2, 0, 0, 0, "640", "480", "scale=640:480,setsar=1/1", "4:3"},
        // "16:9" into a square-pixel 16:9 frame fills it; "4:3" gets bars left and right.
        {640, 480, 3, 0, 0, 0, "640", "360", "scale=640:360,setsar=1/1", "16:9"},
        {1280, 720, 2, 0, 0, 0, "640", "360", "pad=1706:720:213:0:black,scale=640:360,setsar=1/1", "16:9"},
    };
    for (const Case& c : cases) {
        TVideoFile job = Job(c.width, c.height);
        job.AspectRatio = c.aspect;
        job.Brightness = c.brightness;
        job.Contrast = c.contrast;
        job.Saturation = c.saturation;
        const TOutputOptions output = Fill(job, VideoFormat(c.frame_width, c.frame_height));
        EXPECT_EQ(output.VideoFilters, c.chain) << c.width << "x" << c.height << " aspect " << c.aspect;
        EXPECT_EQ(output.FrameAspectRatio, c.frame_aspect);
        EXPECT_EQ(output.FrameSize, "");  // the size comes from the chain alone
    }
}

TEST(ConversionOptions, CropComesBeforePadAndScale)
{
    TVideoFile job = Job(640, 480);
    job.CropLeft = job.CropRight = 64;
    job.CropTop = job.CropBottom = 48;
    job.Brightness = 30;
    // 512 x 384 keeps 4:3, so a 4:3 frame needs no bars.
    EXPECT_EQ(Fill(job, VideoFormat("320", "240")).VideoFilters,
              "nativeeq=30:0,crop=512:384:64:48,scale=320:240,setsar=1/1");
    // Into 16:9 it gets bars left and right.
    EXPECT_EQ(Fill(job, VideoFormat("1280", "720")).VideoFilters,
              "nativeeq=30:0,crop=512:384:64:48,pad=682:384:85:0:black,scale=1280:720,setsar=1/1");
}

// The disc formats' frames are not square-pixel: they are shown 4:3, or 16:9 when the job asks for 16:9, and a
// source with pixels of its own shape is measured by what it shows.
TEST(ConversionOptions, DiscFormatsAndSourcePixelShapes)
{
    struct Case {
        const char *width, *height, *extra;
        int source_width, source_height;
        double source_aspect;
        int aspect;
        const char *chain, *frame_aspect;
    };
    const Case cases[] = {
        {"720", "576", "f=dvd<CRLF>g=15", 640, 480, 0, 0, "scale=720:576,setsar=16/15", "4:3"},
        {"720", "576", "f=dvd<CRLF>g=15", 640, 480, 0, 3, "scale=720:576,setsar=64/45", "16:9"},
        {"720", "480", "f=dvd", 640, 480, 0, 1, "scale=720:480,setsar=8/9", "4:3"},
        {"480", "576", "pix_fmt=yuv420p<CRLF>f=svcd", 640, 480, 0, 0, "scale=480:576,setsar=8/5", "4:3"},
        {"352", "288", "f=vcd", 640, 360, 0, 0, "pad=640:480:0:60:black,scale=352:288,setsar=12/11", "4:3"},
        // A Video CD is 4:3 only: "16:9" is shown 16:9 with bars; a Super Video CD can be 16:9.
        {"352", "288", "f=vcd", 640, 480, 0, 3, "pad=640:640:0:80:black,scale=352:288,setsar=12/11", "4:3"},
        {"480", "576", "f=svcd", 640, 480, 0, 3, "scale=480:576,setsar=32/15", "16:9"},
        // Not a disc: "f=dvdx" names another stream; square pixels, its frame's own shape.
        {"720", "576", "f=dvdx", 640, 480, 0, 0, "pad=640:512:0:16:black,scale=720:576,setsar=1/1", "5:4"},
        // A 720 x 576 source of 16:9 pixels is 16:9 to look at.
        {"640", "480", "", 720, 576, 16.0 / 9.0, 0, "pad=720:768:0:96:black,scale=640:480,setsar=1/1", "4:3"},
    };
    for (const Case& c : cases) {
        TFormat format = VideoFormat(c.width, c.height);
        format.ExtraParam = c.extra;
        TVideoFile job = Job(c.source_width, c.source_height);
        job.SourceAspect = c.source_aspect;
        job.AspectRatio = c.aspect;
        const TOutputOptions output = Fill(job, format);
        EXPECT_EQ(output.VideoFilters, c.chain) << c.width << "x" << c.height << " " << c.extra << " aspect " << c.aspect;
        EXPECT_EQ(output.FrameAspectRatio, c.frame_aspect) << c.extra;
    }
}

TEST(ConversionOptions, CodecsRatesAndTags)
{
    TFormat format = VideoFormat("320", "240");
    format.FrameRate = "29970";
    format.ExtraParam = "g=12<CRLF>bf=0";
    TOutputOptions output = Fill(Job(320, 240), format);
    EXPECT_EQ(output.FileName, "/out/holiday.mp4");
    EXPECT_EQ(output.FileExt, ".mp4");
    EXPECT_EQ(output.VideoCodec, "mpeg4");
    EXPECT_EQ(output.FrameRate, "30000/1001");
    EXPECT_EQ(output.VideoBitrate, 1200000);
    EXPECT_EQ(output.AudioCodec, "aac");
    EXPECT_EQ(output.AudioChannels, 2);
    EXPECT_EQ(output.AudioSampleRate, 44100);
    EXPECT_EQ(output.AudioBitrate, 128000);
    EXPECT_EQ(output.ExtOptions, "g=12<CRLF>bf=0");
    EXPECT_EQ(output.VideoTag, "");
    EXPECT_EQ(output.VideoPreset, "");

    format.Title = "AVI - DiVx Compatible";
    EXPECT_EQ(Fill(Job(320, 240), format).VideoTag, "DIVX");
    format.Title = "AVI - Xvid";
    format.VideoCodecName = "libxvid";
    output = Fill(Job(320, 240), format);
    EXPECT_EQ(output.VideoCodec, "mpeg4");
    EXPECT_EQ(output.VideoTag, "XVID");
    format.VideoCodecName = "libx264";
    EXPECT_EQ(Fill(Job(320, 240), format).VideoPreset, "libx264-default");
    format.FrameRate = "23976";
    EXPECT_EQ(Fill(Job(320, 240), format).FrameRate, "24000/1001");
}

// The catalogue's thousandths as the encoder's rate: the television rates exactly, never rounded to whole ones.
TEST(ConversionOptions, FrameRateTexts)
{
    const std::pair<int64_t, const char*> cases[] = {
        {29970, "30000/1001"}, {23976, "24000/1001"}, {59940, "60000/1001"}, {119880, "120000/1001"},
        {25000, "25"},         {30000, "30"},         {24000, "24"},         {15000, "15"},
        {12500, "25/2"},       {29971, "29971/1000"}, {29969, "29969/1000"}, {1, "1/1000"},
    };
    for (const auto& [thousandths, text] : cases) EXPECT_EQ(FrameRateText(thousandths), text) << thousandths;
}

TEST(ConversionOptions, AudioFormatDisablesVideoWhateverTheEdits)
{
    TFormat format = VideoFormat("", "");
    format.IsAudioFormat = "1";
    format.VideoCodecName = "";
    TVideoFile job = Job(640, 480);
    job.Brightness = 40;
    job.CropLeft = 10;
    job.AspectRatio = 3;
    const TOutputOptions output = Fill(job, format);
    EXPECT_TRUE(output.DisableVideo);
    EXPECT_EQ(output.VideoFilters, "");
    EXPECT_EQ(output.VideoCodec, "");
    EXPECT_EQ(output.FrameAspectRatio, "");
    EXPECT_EQ(output.AudioCodec, "aac");
}

TEST(ConversionOptions, TrimRangeOnlyForAJobConvertedOnItsOwn)
{
    TInputOptions input;
    TOutputOptions output;
    FillJobOptions(Job(320, 240), VideoFormat("320", "240"), "/out/a.mp4", true, input, output);
    EXPECT_EQ(input.FileName, "/videos/holiday.avi");
    EXPECT_EQ(input.TimeStart, 1000000);
    EXPECT_EQ(output.TimeLength, 2500000);
    EXPECT_EQ(output.Info.TimeStamp, 0.0);

    FillJobOptions(Job(320, 240), VideoFormat("320", "240"), "", false, input, output);
    EXPECT_EQ(input.TimeStart, AV_NOPTS_VALUE);
    EXPECT_EQ(output.TimeLength, AV_NOPTS_VALUE);
    EXPECT_EQ(output.FileName, "");

    // A file that did not tell its length converts whole, not to an empty file.
    TVideoFile unknown = Job(320, 240);
    unknown.TimeStart = unknown.TimeEnd = 0;
    FillJobOptions(unknown, VideoFormat("320", "240"), "/out/a.mp4", true, input, output);
    EXPECT_EQ(output.TimeLength, AV_NOPTS_VALUE);

    // An end at or past the probed length is the file's real end, which probing may have guessed short: the
    // input is read to its end. Only an end within the file cuts.
    struct TCase {
        int64_t End, Length;
    } const ends[] = {{10000000, AV_NOPTS_VALUE}, {12000000, AV_NOPTS_VALUE}, {9999999, 8999999}};
    for (const TCase& c : ends) {
        TVideoFile probed = Job(320, 240);
        probed.SourceDuration = 10000000;
        probed.TimeEnd = c.End;
        FillJobOptions(probed, VideoFormat("320", "240"), "/out/a.mp4", true, input, output);
        EXPECT_EQ(input.TimeStart, 1000000);
        EXPECT_EQ(output.TimeLength, c.Length) << c.End;
    }
}

TEST(ConversionOptions, GeometryThatCannotBeComputed)
{
    // A file read as sound only has no picture size: no crop, no pad, but the frame still gets its size.
    EXPECT_EQ(Fill(Job(0, 0), VideoFormat("320", "240")).VideoFilters, "scale=320:240,setsar=1/1");

    TVideoFile cropped_away = Job(640, 480);
    cropped_away.CropLeft = 320;
    cropped_away.CropRight = 320;
    EXPECT_THROW(Fill(cropped_away, VideoFormat("320", "240")), EConversionGeometry);
    EXPECT_THROW(Fill(Job(640, 480), VideoFormat("0", "240")), EConversionGeometry);
    EXPECT_THROW(PadToAspect(2000000000, 1000, 1.0, 4.0), EConversionGeometry);  // a padded size beyond 32 bits
    EXPECT_THROW(PadToAspect(640, 480, 0.0, 4.0 / 3.0), EConversionGeometry);

    TFormat broken = VideoFormat("320", "240");
    broken.Channel = "stereo";
    EXPECT_THROW(Fill(Job(640, 480), broken), EConvertError);
}

// One number rule for every catalogue value: empty is "not set" (the engine's default, or the source's own),
// anything else must be a whole number.
TEST(ConversionOptions, EmptyCatalogueValuesAreNotSet)
{
    TFormat format = VideoFormat("320", "240");
    format.AudioBitRate = "";
    format.FrameRate = "";
    format.VideoBitRate = " ";
    TOutputOptions output = Fill(Job(640, 480), format);
    EXPECT_EQ(output.AudioBitrate, -1);
    EXPECT_EQ(output.FrameRate, "");
    EXPECT_EQ(output.VideoBitrate, -1);
    EXPECT_EQ(output.AudioChannels, 2);

    // Without a frame size the picture keeps its size; only the shape it is shown with is set.
    format.Width = format.Height = "";
    TVideoFile job = Job(640, 480);
    job.AspectRatio = 3;
    output = Fill(job, format);
    EXPECT_EQ(output.VideoFilters, "setsar=4/3");
    EXPECT_EQ(output.FrameAspectRatio, "");

    // A sound format without a bit rate (FLAC, WAV) and with an audio flag of "+1".
    TFormat flac = VideoFormat("", "");
    flac.IsAudioFormat = "+1";
    flac.AudioBitRate = "";
    output = Fill(job, flac);
    EXPECT_TRUE(output.DisableVideo);
    EXPECT_EQ(output.AudioBitrate, -1);

    for (const char* bad : {"12a", "1.5", "--1", "99999999999"}) {
        TFormat wrong = VideoFormat("320", "240");
        wrong.AudioBitRate = bad;
        EXPECT_THROW(Fill(Job(640, 480), wrong), EConvertError) << bad;
    }
}

TEST(ConversionOptions, SmallFilterTexts)
{
    EXPECT_EQ(MakeCropFilter(640, 480, 0, 0, 0, 0), "");
    EXPECT_EQ(MakeCropFilter(640, 480, -4, 0, -2, 0), "");
    EXPECT_EQ(MakeCropFilter(640, 480, 10, 20, 30, 40), "crop=610:410:10:30");
    EXPECT_EQ(MakePadFilter(640, 480, 0, 0), "");
    EXPECT_EQ(MakePadFilter(640, 480, 0, 8), "pad=640:496:0:8:black");
    TOutputOptions options;
    AddVideoFilter(options, "");
    EXPECT_EQ(options.VideoFilters, "");
    AddVideoFilter(options, "a=1");
    AddVideoFilter(options, "b=2");
    EXPECT_EQ(options.VideoFilters, "a=1,b=2");
    EXPECT_EQ(JoinedOutputFileName("/out/", VideoFormat("1", "1")), "/out/Joined.mp4");
    EXPECT_EQ(JobOutputFileName("/out", Job(1, 1), VideoFormat("1", "1")), "/out/holiday.mp4");
    // A title is a file name: separators cannot lead out of the output folder, leading dots cannot hide it.
    TVideoFile escaping = Job(1, 1);
    for (const auto& [title, name] : std::vector<std::pair<std::string, std::string>>{
             {"../x", "/out/___x.mp4"}, {"a/b\\c", "/out/a_b_c.mp4"}, {"..", "/out/__.mp4"},
             {"/etc/passwd", "/out/_etc_passwd.mp4"}, {".hidden", "/out/_hidden.mp4"}, {"...x.y", "/out/___x.y.mp4"},
             {"a.b.", "/out/a.b..mp4"}}) {
        escaping.DestinationTitle = title;
        EXPECT_EQ(JobOutputFileName("/out", escaping, VideoFormat("1", "1")), name) << title;
    }
}

TEST(ConversionProgress, GaugesFromReports)
{
    struct Case { int task, tasks; int64_t current, total; int want_current, want_total; };
    const Case cases[] = {
        {0, 2, 0, 1000, 0, 0},        {0, 2, 500, 1000, 50, 25},   {0, 2, 1000, 1000, 100, 50},
        {1, 2, 0, 1000, 0, 50},       {1, 2, 1000, 1000, 100, 100}, {0, 1, 999, 1000, 99, 100},
        {0, 1, 5, 1000, 0, 0},        // 0.5 rounds to the even 0
        {0, 1, 15, 1000, 1, 2},       // 1.5 rounds to the even 2
        {0, 1, 1500, 1000, 100, 100}, // a report past its length stays at the end
    };
    for (const Case& c : cases) {
        const auto gauges = GaugeValues({c.task, c.current, c.total}, c.tasks);
        ASSERT_TRUE(gauges.has_value());
        EXPECT_EQ(gauges->Current, c.want_current) << c.task << " " << c.current;
        EXPECT_EQ(gauges->Total, c.want_total) << c.task << " " << c.current;
    }
    // Nothing to measure against: the gauges stay.
    EXPECT_FALSE(GaugeValues({0, 10, 0}, 1).has_value());
    EXPECT_FALSE(GaugeValues({0, 10, -5}, 1).has_value());
    EXPECT_FALSE(GaugeValues({0, 10, 100}, 0).has_value());
    EXPECT_FALSE(GaugeValues({3, 10, 100}, 2).has_value());
    EXPECT_EQ(ConvertingLabel("a.avi", "a.mp4"), "Converting \"a.avi\" to \"a.mp4\"");
}

}  // namespace
