// Conversions that take the road a user's conversion takes (the shipped catalogue, the file adder, the option
// records, the encoder) and the results a user would check: every shipped format and codec gives a file with
// its codecs, pictures keep their shape for every aspect choice and disc format, unlike inputs merge with their
// sound in place, and a cancelled or failed run leaves nothing behind while files already there stay.
#include "tests/app/conversion_fixture.h"

#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include "app/conversion_options.h"
#include "app/engine_logger.h"
#include "app/error_report.h"
#include "app/value_lists.h"
#include "tests/platform/net/smtp_peer.h"

namespace {

using namespace conversion_test;

constexpr int64_t kMs = 1000;

// What ffprobe calls the output of each encoder the catalogue may name.
const std::map<std::string, std::string> kCodecOfEncoder = {
    {"libx264", "h264"},   {"mpeg4", "mpeg4"},           {"libvpx", "vp8"},           {"wmv2", "wmv2"},
    {"flv", "flv1"},       {"mpeg2video", "mpeg2video"}, {"mpeg1video", "mpeg1video"}, {"h263", "h263"},
    {"aac", "aac"},        {"libmp3lame", "mp3"},        {"libvorbis", "vorbis"},     {"ac3", "ac3"},
    {"wmav2", "wmav2"},    {"mp2", "mp2"},               {"flac", "flac"},            {"pcm_s16le", "pcm_s16le"},
    {"libxvid", "mpeg4"},
};

class ConversionRoadTest : public ConversionTest {
protected:
    // The shown width over the shown height of the bright area of the first picture.
    static double ShownShapeOfDisc(const std::string& AFile, int AWidth, int AHeight, double ASampleAspect)
    {
        const std::string luma = FirstLuma(AFile);
        if (luma.size() != static_cast<size_t>(AWidth) * AHeight) return 0;
        int left = AWidth, right = -1, top = AHeight, bottom = -1;
        for (int y = 0; y < AHeight; ++y)
            for (int x = 0; x < AWidth; ++x)
                if (static_cast<unsigned char>(luma[static_cast<size_t>(y) * AWidth + x]) > 128) {
                    left = std::min(left, x), right = std::max(right, x);
                    top = std::min(top, y), bottom = std::max(bottom, y);
                }
        if (right < left || bottom < top) return 0;
        return (right - left + 1) * ASampleAspect / (bottom - top + 1);
    }

    // The luma plane of the picture shown at ASeconds.
    static std::string LumaAt(const std::string& AFile, double ASeconds)
    {
        return conversion_test::Run("ffmpeg -v error -i '" + AFile + "' -ss " + std::to_string(ASeconds) +
                                    " -frames:v 1 -f rawvideo -pix_fmt gray -");
    }

    // The mean loudness (absolute 16-bit sample) of the sound between two times, mono.
    static double Loudness(const std::string& AFile, double AFrom, double ATo)
    {
        const std::string pcm = conversion_test::Run("ffmpeg -v error -i '" + AFile + "' -vn -ac 1 -ar 8000 -f s16le -");
        const size_t first = static_cast<size_t>(AFrom * 8000) * 2, last = static_cast<size_t>(ATo * 8000) * 2;
        double sum = 0;
        size_t count = 0;
        for (size_t i = first; i + 1 < pcm.size() && i < last; i += 2, ++count)
            sum += std::abs(static_cast<int16_t>(static_cast<uint8_t>(pcm[i]) | (static_cast<uint8_t>(pcm[i + 1]) << 8)));
        return count == 0 ? -1 : sum / count;
    }
};

// Every shipped format as it stands, then with every other codec its lists offer (at its smallest frame), as
// the Profile Settings dialog would set them, unless that pairing of container and codecs was converted already.
TEST_F(ConversionRoadTest, EveryShippedFormatAndCodecConverts)
{
    struct TExpected {
        std::string What, Title, Video, Audio;
        TFormat Format;
    };
    std::vector<TExpected> expected;
    std::set<std::string> tried;
    const std::string clip = MediaFixture("clip.avi");
    const TFormatIndex all{static_cast<int>(FCatalogue.Profiles.size()) - 1, 0};
    auto add = [&](const std::string& AWhat, const TFormat& AFormat, bool AAlways) {
        const std::string combination =
            AFormat.FormatExt + "|" + (AFormat.IsAudioOnly() ? "" : AFormat.VideoCodecName) + "|" + AFormat.AudioCodecName;
        if (!tried.insert(combination).second && !AAlways) return;
        // Each job carries its own format: the catalogue's "All Profiles" gets one entry per job.
        FCatalogue.Profiles[all.Profile].Formats.push_back(AFormat);
        TVideoFile& job = Add(clip, {all.Profile, static_cast<int>(FCatalogue.Profiles[all.Profile].Formats.size()) - 1});
        job.DestinationTitle = "job" + std::to_string(expected.size());
        Trim(job, 0, 400 * kMs);
        expected.push_back({AWhat, job.DestinationTitle, AFormat.IsAudioOnly() ? "" : kCodecOfEncoder.at(AFormat.VideoCodecName),
                            kCodecOfEncoder.at(AFormat.AudioCodecName), AFormat});
    };
    const std::vector<TFormat> shipped = FCatalogue.Profiles[all.Profile].Formats;
    ASSERT_GT(shipped.size(), 20u);
    for (const TFormat& format : shipped) add(format.Title, format, true);
    for (const TFormat& format : shipped) {
        TFormat small = format;
        long smallest = 0;
        for (const auto& resolution : SplitValueList(format.Resolutions, false)) {
            const long w = std::stol(ResolutionWidth(resolution)), h = std::stol(ResolutionHeight(resolution));
            if (w > 0 && h > 0 && (smallest == 0 || w * h < smallest))
                smallest = w * h, small.Width = std::to_string(w), small.Height = std::to_string(h);
        }
        if (!format.IsAudioOnly())
            for (const auto& codec : SplitValueList(format.VideoCodecs, true)) {
                TFormat other = small;
                other.VideoCodecName = codec;
                add(format.Title + " with " + codec, other, false);
            }
        for (const auto& codec : SplitValueList(format.AudioCodecs, true)) {
            TFormat other = small;
            other.AudioCodecName = codec;
            add(format.Title + " with " + codec, other, false);
        }
    }
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    for (const TExpected& e : expected) {
        const std::string file = Out(e.Title + e.Format.FormatExt);
        auto probe = Probe(file);
        EXPECT_EQ(probe["video"], e.Video) << e.What;
        EXPECT_EQ(probe["audio"], e.Audio) << e.What;
        if (e.Video.empty()) continue;
        EXPECT_EQ(probe["width"], e.Format.Width) << e.What;
        EXPECT_EQ(probe["height"], e.Format.Height) << e.What;
        const double dar = IsDiscFormat(e.Format) ? 4.0 / 3.0 : std::stod(e.Format.Width) / std::stod(e.Format.Height);
        // A stream that keeps no pixel shape (FLV) is shown with square pixels.
        const double shown = RatioValue(probe["dar"]) > 0 ? RatioValue(probe["dar"])
                                                          : std::stod(probe["width"]) / std::stod(probe["height"]);
        EXPECT_NEAR(shown, dar, dar * 0.01) << e.What << " " << probe["dar"];
    }
}

// The output is shown with its format's display aspect (disc formats 4:3, or 16:9 when chosen), and the disc
// of the source is shown as wide as the aspect choice makes it: round for "Keep Original" and for "4:3" (the
// source is 4:3), stretched to the frame's shape for "Full Screen", a third wider for "16:9".
TEST_F(ConversionRoadTest, AspectChoicesAndDiscFormatsKeepTheShape)
{
    struct TCase {
        const char *Profile, *Format;
        int Width, Height;
        double Shown;  // display aspect of the output
    };
    const TCase formats[] = {
        {"General Video", "MP4 - MPEG-4 Video", 640, 480, 4.0 / 3.0},
        {"Web Video", "WebM - VP8 Video", 640, 360, 16.0 / 9.0},
        {"Phones and Tablets", "Phone 3GP - H.263 Video", 176, 144, 176.0 / 144.0},
        {"DVD and VCD", "DVD Video - PAL", 720, 576, 4.0 / 3.0},
        {"DVD and VCD", "DVD Video - NTSC", 720, 480, 4.0 / 3.0},
        {"DVD and VCD", "Super Video CD - PAL", 480, 576, 4.0 / 3.0},
        {"DVD and VCD", "Video CD - PAL", 352, 288, 4.0 / 3.0},
    };
    const std::string clip = MediaFixture("circle.mkv");  // a disc in a 4:3 picture
    struct TJob {
        std::string Title, Ext;
        int Width, Height;
        double Dar, Disc;
    };
    std::vector<TJob> jobs;
    for (const TCase& c : formats)
        for (int aspect = 0; aspect <= 3; ++aspect) {
            const TFormatIndex pair = FormatPair(c.Profile, c.Format);
            const TFormat* format = FCatalogue.FindFormat(pair);
            ASSERT_NE(format, nullptr) << c.Format;
            TVideoFile& job = Add(clip, pair);
            job.AspectRatio = aspect;
            job.DestinationTitle = "a" + std::to_string(jobs.size());
            const bool disc = IsDiscFormat(*format);
            const bool wide = disc && aspect == 3 && std::string(c.Format) != "Video CD - PAL";  // VCD: 4:3 only
            const double dar = wide ? 16.0 / 9.0 : c.Shown;
            const double shown = aspect == 1 ? dar : aspect == 3 ? 16.0 / 9.0 : 4.0 / 3.0;
            jobs.push_back({job.DestinationTitle, format->FormatExt, c.Width, c.Height, dar, shown / (4.0 / 3.0)});
        }
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    for (size_t i = 0; i < jobs.size(); ++i) {
        const TJob& j = jobs[i];
        const std::string what = std::string(formats[i / 4].Format) + ", aspect choice " + std::to_string(i % 4);
        auto probe = Probe(Out(j.Title + j.Ext));
        ASSERT_EQ(probe["width"], std::to_string(j.Width)) << what;
        ASSERT_EQ(probe["height"], std::to_string(j.Height)) << what;
        EXPECT_NEAR(RatioValue(probe["dar"]), j.Dar, j.Dar * 0.01) << what << ": " << probe["dar"];
        const double shape = ShownShapeOfDisc(Out(j.Title + j.Ext), j.Width, j.Height, RatioValue(probe["sar"]));
        EXPECT_NEAR(shape, j.Disc, j.Disc * 0.04) << what << ": the disc is shown " << shape << " wide";
    }
}

// Three inputs of unlike sizes, rates and shapes, one of them without sound, joined first and last: each is
// brought to the joined frame on its own, the soundless one is silence of its length, the others' sound stays
// with their pictures.
class ConversionMergeTest : public ConversionRoadTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ConversionMergeTest, UnlikeInputsWithAndWithoutSound)
{
    const bool silent_first = GetParam();
    const std::string silent = MediaFixture("wide24.mkv");   // 256 x 144, 24 fps, no sound
    const std::string tall = MediaFixture("tall2997.mp4");   // 120 x 160, 29.97 fps, AAC sound
    const std::string plain = MediaFixture("clip.avi");  // 160 x 120, 25 fps, PCM sound
    const std::vector<std::string> order = silent_first ? std::vector<std::string>{silent, tall, plain}
                                                        : std::vector<std::string>{tall, plain, silent};
    for (const std::string& file : order) Add(file, "General Video", "MP4 - MPEG-4 Video");
    FJobs->SetRow(2);
    FRun->Merge = true;
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"Joined.mp4"});
    auto probe = Probe(Out("Joined.mp4"));
    EXPECT_EQ(probe["video"], "mpeg4");
    EXPECT_EQ(probe["audio"], "aac");
    EXPECT_EQ(probe["width"], "640");
    EXPECT_EQ(probe["height"], "480");
    EXPECT_NEAR(std::stod(probe["video_duration"].empty() ? "0" : probe["video_duration"]), 3.0, 0.1);
    EXPECT_NEAR(std::stod(probe["audio_duration"].empty() ? "0" : probe["audio_duration"]), 3.0, 0.1);
    // Where the soundless input is, the sound is silent; the others' sound plays with their pictures.
    const double quiet_from = silent_first ? 0.1 : 2.1;
    EXPECT_LT(Loudness(Out("Joined.mp4"), quiet_from, quiet_from + 0.8), 50);
    for (double from : silent_first ? std::vector<double>{1.1, 2.1} : std::vector<double>{0.1, 1.1})
        EXPECT_GT(Loudness(Out("Joined.mp4"), from, from + 0.8), 1000) << "sound at " << from << " s";
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ConversionMergeTest, ::testing::Bool(),
                         [](const auto& AInfo) { return AInfo.param ? "SilentFirst" : "SilentLast"; });

// A sound file joined with a video, first and last: the joined file has pictures all along, black where the sound
// file plays, the video's own where it plays, at the joined size; the run is a success only with both in.
class ConversionMergeSoundFileTest : public ConversionRoadTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ConversionMergeSoundFileTest, ASoundFileGivesBlackPicturesOfItsLength)
{
    const bool sound_first = GetParam();
    const std::string sound = MediaFixture("tagged.mp3");  // 1 s, no picture
    const std::string video = MediaFixture("clip.avi");    // 1 s, 160 x 120 test picture, PCM sound
    for (const std::string& file : sound_first ? std::vector<std::string>{sound, video}
                                               : std::vector<std::string>{video, sound})
        Add(file, "General Video", "MP4 - MPEG-4 Video");
    FJobs->SetRow(sound_first ? 1 : 2);  // the sound file's preset is the joined one
    FRun->Merge = true;
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    EXPECT_TRUE(Logged("Conversion successfully done."));
    ASSERT_EQ(OutputNames(), std::vector<std::string>{"Joined.mp4"});
    auto probe = Probe(Out("Joined.mp4"));
    EXPECT_EQ(probe["video"], "mpeg4");
    EXPECT_EQ(probe["audio"], "aac");
    EXPECT_EQ(probe["width"], "640");
    EXPECT_EQ(probe["height"], "480");
    EXPECT_NEAR(std::stod(probe["video_duration"].empty() ? "0" : probe["video_duration"]), 2.0, 0.15);
    EXPECT_NEAR(std::stod(probe["audio_duration"].empty() ? "0" : probe["audio_duration"]), 2.0, 0.15);
    const double black_at = sound_first ? 0.5 : 1.5, picture_at = sound_first ? 1.5 : 0.5;
    const std::string black = LumaAt(Out("Joined.mp4"), black_at);
    ASSERT_EQ(black.size(), 640u * 480u);
    int brightest = 0;
    for (unsigned char luma : black) brightest = std::max<int>(brightest, luma);
    EXPECT_LE(brightest, 18) << "black at " << black_at << " s";
    EXPECT_GT(MeanOf(LumaAt(Out("Joined.mp4"), picture_at)), 60) << "the video's picture at " << picture_at << " s";
    // The sound file's tone plays where its black pictures are.
    EXPECT_GT(Loudness(Out("Joined.mp4"), black_at - 0.3, black_at + 0.3), 1000);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ConversionMergeSoundFileTest, ::testing::Bool(),
                         [](const auto& AInfo) { return AInfo.param ? "SoundFirst" : "SoundLast"; });

// The television rates are written exactly (30000/1001, not 30), so the pictures keep time with the sound: the
// catalogue's NTSC DVD at its own rate, and an MP4 at each of the slowed rates, from clips made at that rate.
TEST_F(ConversionRoadTest, TelevisionFrameRatesAreExact)
{
    struct TCase {
        const char* profile;
        const char* format;
        const char* thousandths;  // the catalogue's rate; empty keeps the format's own
        const char* rate;         // the clip's and the output's
    } cases[] = {
        {"DVD and VCD", "DVD Video - NTSC", "", "30000/1001"},
        {"General Video", "MP4 - MPEG-4 Video", "29970", "30000/1001"},
        {"General Video", "MP4 - MPEG-4 Video", "23976", "24000/1001"},
        {"General Video", "MP4 - MPEG-4 Video", "59940", "60000/1001"},
        {"General Video", "MP4 - MPEG-4 Video", "25000", "25/1"},
    };
    int n = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " at " + c.rate);
        const std::string clip = MakeClip("clip" + std::to_string(++n) + ".mp4",
                                          std::string("-f lavfi -i testsrc=size=160x120:rate=") + c.rate +
                                              " -f lavfi -i sine=sample_rate=48000 -t 2 -c:v mpeg4 -q:v 5 -c:a aac");
        FJobs->ClearAll();
        FReports.clear();
        const TFormatIndex pair = FormatPair(c.profile, c.format);
        if (*c.thousandths != 0) FCatalogue.FindFormat(pair)->FrameRate = c.thousandths;
        TVideoFile& job = Add(clip, pair);
        job.DestinationTitle = "out" + std::to_string(n);
        ASSERT_TRUE(FRun->Start(Out()));
        WaitForEnd();
        EXPECT_EQ(FReports, std::vector<std::string>{});
        const std::string file = Out(job.DestinationTitle + FCatalogue.FindFormat(pair)->FormatExt);
        const std::string rates = conversion_test::Run(
            "ffprobe -v error -select_streams v:0 -show_entries stream=r_frame_rate,avg_frame_rate -of csv=p=0 '" +
            file + "'");
        std::string first = rates.substr(0, rates.find('\n'));
        while (first.ends_with(",")) first.pop_back();
        EXPECT_EQ(first, std::string(c.rate) + "," + c.rate);
    }
}

// Cancelled once the run is a fifth done: the job being converted and the ones after it leave no file, and a
// file that already had an output's name stays as it was.
TEST_F(ConversionRoadTest, CancelAtTwentyPercentLeavesNoOutput)
{
    const std::string clip = MediaFixture("long.avi");  // 10 s
    std::ofstream(Out("second.mp4")) << "the user's own file";
    for (const char* title : {"first", "second"}) Add(clip, "General Video", "MP4 - MPEG-4 Video").DestinationTitle = title;
    ASSERT_TRUE(FRun->Start(Out()));
    bool cancelled = false;
    WaitForEnd([&] {
        if (!cancelled && FView.MaxTotal >= 20) {
            cancelled = true;
            FRun->CancelButtonClick();
        }
    });
    ASSERT_TRUE(cancelled) << "the run ended before it was a fifth done";
    EXPECT_LT(FView.MaxTotal, 50);
    EXPECT_FALSE(FRun->Succeeded());
    EXPECT_EQ(OutputNames(), std::vector<std::string>{"second.mp4"});
    std::ifstream kept(Out("second.mp4"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the user's own file");
}

// A task that fails while converting (an H.263 frame the codec does not take) leaves no file, and the file
// of that name that was there stays; the job before it keeps its finished output.
TEST_F(ConversionRoadTest, FailedTaskLeavesNoOutput)
{
    std::ofstream(Out("broken.3gp")) << "the user's own file";
    Add(MediaFixture("clip.avi"), "Phones and Tablets", "Phone MP4 - MPEG-4 Video").DestinationTitle = "good";
    TFormatIndex pair = FormatPair("Phones and Tablets", "Phone 3GP - H.263 Video");
    TFormat* format = FCatalogue.FindFormat(pair);
    format->Width = "160";
    format->Height = "120";
    Add(MediaFixture("clip.avi"), pair).DestinationTitle = "broken";
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_FALSE(FRun->Succeeded());
    ASSERT_FALSE(FReports.empty());
    EXPECT_EQ(FReports[0].rfind("CLM_Terminate: ", 0), 0u) << FReports[0];
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"broken.3gp", "good.mp4"}));
    std::ifstream kept(Out("broken.3gp"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the user's own file");
    EXPECT_EQ(Probe(Out("good.mp4"))["video"], "mpeg4");
}

// The logger the converter makes writes FFmpeg's lines into the history: the report of a failed conversion, sent
// to a mail server on this machine, carries the encoder's own error line.
TEST_F(ConversionRoadTest, AFailedConversionsReportCarriesFFmpegsErrorLine)
{
    // The converter's logger in place of the fixture's.
    delete FLogger;
    FLogger = nullptr;
    TLogHistory history;
    const std::unique_ptr<TFFLogger> logger(CreateHistoryLogger(nullptr, history));
    TFormatIndex pair = FormatPair("Phones and Tablets", "Phone 3GP - H.263 Video");
    TFormat* format = FCatalogue.FindFormat(pair);
    format->Width = "160";  // not a size H.263 knows
    format->Height = "120";
    Add(MediaFixture("clip.avi"), pair);
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    ASSERT_EQ(FReports.size(), 1u);
    EXPECT_EQ(FReports[0].rfind("CLM_Terminate: ", 0), 0u) << FReports[0];

    const fs::path capture = FFolder / "report.mail";
    TSmtpPeer peer(capture.string(), "reports@example.test", "qwertyui");
    ASSERT_GT(peer.Port, 0);
    TErrorReporter reporter(FLog, history, {"127.0.0.1", peer.Port, "reports@example.test", "qwertyui",
                                            "support@example.test"});
    reporter.ShowDialog = [](const std::string&) { return TErrorDialogResult{true, "", "", {}}; };
    reporter.OpenLink = [](const std::string& AAddress) {
        ADD_FAILURE() << "the mail was not sent: " << AAddress;
        return true;
    };
    reporter.SendErrorReport(FReports[0].substr(15), "CLM_Terminate");
    const std::string mail = peer.Captured();
    EXPECT_NE(mail.find("FFLOGGER HISTORY:"), std::string::npos) << mail;
    EXPECT_NE(mail.find("The specified picture size of 160x120 is not valid for the H.263 codec."), std::string::npos)
        << mail;
    EXPECT_NE(mail.find("LAST ERROR MESSAGE: Conversion terminated with error: "), std::string::npos) << mail;
}

// A range that starts past the end is refused before anything runs; an end past the end converts to the end.
TEST_F(ConversionRoadTest, TrimPastTheEnd)
{
    TVideoFile& late = Add(MediaFixture("clip.avi"), "Audio Only", "WAV - Uncompressed Audio");
    Trim(late, 5000 * kMs, 6000 * kMs);
    EXPECT_FALSE(FRun->Start(Out()));
    ASSERT_EQ(FReports.size(), 1u);
    EXPECT_EQ(FReports[0], "The trim range of \"clip.avi\" starts at 00:00:05, after the end of the file (00:00:01). "
                           "Choose a start within the file.");
    EXPECT_EQ(OutputNames(), std::vector<std::string>{});
    EXPECT_FALSE(FJobs->Locked());

    FReports.clear();
    Trim(late, 600 * kMs, 6000 * kMs);
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_TRUE(FRun->Succeeded());
    EXPECT_NEAR(std::stod(Probe(Out("clip.wav"))["duration"]), 0.4, 0.01);
}

// A title is a file name: "../" in it cannot reach out of the output folder, and a leading dot does not hide
// the output.
TEST_F(ConversionRoadTest, TitlesWithDotsGiveVisibleFilesInTheOutputFolder)
{
    for (const char* title : {"../escaped", "..", ".hidden", "."})
        Add(MediaFixture("clip.avi"), "Audio Only", "FLAC - Lossless Audio").DestinationTitle = title;
    ASSERT_TRUE(FRun->Start(Out()));
    WaitForEnd();
    EXPECT_EQ(FReports, std::vector<std::string>{});
    EXPECT_EQ(OutputNames(), (std::vector<std::string>{"_.flac", "__.flac", "___escaped.flac", "_hidden.flac"}));
    EXPECT_FALSE(fs::exists(FFolder / "escaped.flac"));
    EXPECT_EQ(Probe(Out("___escaped.flac"))["audio"], "flac");
}

}  // namespace
