// Transcoder options: option records and their text form, the option table and its handlers, targets with
// their norm, presets, and the order in which an output record reaches the transcoder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>
#include <mutex>
#include <vector>

#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/log/ff_logger.h"
#include "media/transcode/custom_ffmpeg.h"
#include "media/transcode/option_records.h"
#include "media/transcode/presets.h"
#include "platform/rtl/sysutils.h"
#include "tests/media/transcode_test_clips.h"

namespace {

const std::string WorkFolder = QUENNARY_BINARY_DIR "/tests/media/transcode_options";

// A tiny clip made once per build tree with the command-line tool.
std::string Clip(const std::string& AName, const std::string& AArguments)
{
    return MakeClip(WorkFolder, AName, AArguments);
}

std::string NtscClip()
{
    return Clip("ntsc.avi", "-f lavfi -i testsrc=size=160x120:rate=30000/1001 -t 0.5 -c:v mpeg4 -f avi");
}

std::string AudioClip() { return Clip("tone.wav", "-f lavfi -i sine=sample_rate=22050 -t 0.5 -f wav"); }

class TranscodeOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(AllLibraries)) << TFFLoader::LastErrMsg();
        FLogger = new TFFLogger(nullptr);
        FLogger->SetTriggerEventInMainThread(false);
        FLogger->SetLogLevel(llVerbose);
        FLogger->OnLog = [this](TObject*, Cardinal, TLogLevel, const std::string& AText) {
            std::lock_guard guard(FLock);
            FLines.push_back(AText);
        };
        ff::av_log_set_level(AV_LOG_QUIET);
    }
    void TearDown() override
    {
        delete FLogger;
        StopMediaEngine();
    }
    bool Logged(const std::string& AText)
    {
        std::lock_guard guard(FLock);
        for (const std::string& line : FLines)
            if (line == AText) return true;
        return false;
    }
    static std::string Error(const std::function<void()>& AAction)
    {
        try {
            AAction();
        } catch (const Exception& e) {
            return e.Message();
        }
        return {};
    }

    TFFLogger* FLogger = nullptr;
    std::mutex FLock;
    std::vector<std::string> FLines;
};

TEST_F(TranscodeOptionsTest, TextFormsFillTheirFieldsAndKeepOtherLinesInOrder)
{
    struct TCase {
        const char* Text;
        bool Join, AudioHook;
        int BitsPixel;
        int64_t TimeStart, TimeLength;
        const char* ExtOptions;
    };
    const TCase cases[] = {
        {"Join=1", true, false, 24, AV_NOPTS_VALUE, AV_NOPTS_VALUE, ""},
        {"Join=0", false, false, 24, AV_NOPTS_VALUE, AV_NOPTS_VALUE, ""},
        {"join=", true, false, 24, AV_NOPTS_VALUE, AV_NOPTS_VALUE, ""},
        {"AudioHook<CRLF>VideoHookBitsPixel=32", false, true, 32, AV_NOPTS_VALUE, AV_NOPTS_VALUE, ""},
        {"VideoHookBitsPixel=deep", false, false, 24, AV_NOPTS_VALUE, AV_NOPTS_VALUE, ""},
        {"TimeStart=1500000\r\nTimeLength=x", false, false, 24, 1500000, AV_NOPTS_VALUE, ""},
        {"  vcodec=mpeg4<CRLF>b=800000\rTimeLength=20\nab=128000  ", false, false, 24, AV_NOPTS_VALUE, 20,
         "vcodec=mpeg4\nb=800000\nab=128000\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const TOutputOptions options = OutputOptionsFromText(c.Text);
        EXPECT_EQ(options.Join, c.Join);
        EXPECT_EQ(options.AudioHook, c.AudioHook);
        EXPECT_EQ(options.VideoHookBitsPixel, c.BitsPixel);
        EXPECT_EQ(options.TimeStart, c.TimeStart);
        EXPECT_EQ(options.TimeLength, c.TimeLength);
        EXPECT_EQ(options.ExtOptions, c.ExtOptions);
    }
    const TInputOptions input = InputOptionsFromText("timestart=250000<CRLF>f=avi");
    EXPECT_EQ(input.TimeStart, 250000);
    EXPECT_EQ(input.ExtOptions, "f=avi\n");
    EXPECT_EQ(InputOptionsFromText("TimeStart=soon").TimeStart, AV_NOPTS_VALUE);
}

TEST_F(TranscodeOptionsTest, AnInputRecordsOwnFieldsWinOverItsOptionLines)
{
    TCustomFFmpeg engine(4);
    TInputOptions options;
    InitInputOptions(options);
    options.ExtOptions = "f=wav<CRLF>ss=5<CRLF>vcodec=h264";
    options.ForceFormat = "avi";
    options.TimeStart = 2000000;
    ApplyInputOptions(engine, options);
    EXPECT_EQ(engine.ForcedFormat(), "avi");
    EXPECT_EQ(engine.StartTime(), 2000000);
    // In the input flavour a codec line forces the decoder of the next input.
    EXPECT_EQ(engine.VideoCodecName(), "h264");
}

TEST_F(TranscodeOptionsTest, HandlersCheckTheirValues)
{
    const auto MatrixError = [](const std::string& AValue, int ACoefficient) {
        return "Invalid matrix \"" + AValue + "\" at coeff " + std::to_string(ACoefficient) +
               ": each of the 64 coefficients must be a whole number from 1 to 255";
    };
    struct TCase {
        std::string Name;
        std::string Value;
        std::string Error;  // empty: accepted
    };
    const std::string sixty_three = [] {
        std::string text = "1";
        for (int i = 1; i < 63; ++i) text += ",1";
        return text;
    }();
    const std::string sixty_five_words = [] {
        std::string text = "hook.so";
        for (int i = 0; i < 64; ++i) text += " arg";
        return text;
    }();
    const TCase cases[] = {
        {"aspect", "4:0", "Incorrect aspect ratio specification."},
        {"aspect", "wide", "Incorrect aspect ratio specification."},
        {"vtag", "XVIDX", "tag parameter must be 4 chars or int value"},
        {"qscale", "0", "qscale must be > 0.0 and <= 255"},
        {"qscale", "255.5", "qscale must be > 0.0 and <= 255"},
        {"qscale", "255", ""},
        {"pass", "3", "pass number can be only 1 or 2"},
        {"intra_matrix", sixty_three, "Syntax error in matrix \"" + sixty_three + "\" at coeff 62"},
        {"intra_matrix", sixty_three + ", 255", ""},
        {"inter_matrix", "0" + sixty_three.substr(1) + ",1", MatrixError("0" + sixty_three.substr(1) + ",1", 0)},
        {"inter_matrix", sixty_three + ",x", MatrixError(sixty_three + ",x", 63)},
        {"inter_matrix", sixty_three + ",256", MatrixError(sixty_three + ",256", 63)},
        {"inter_matrix", sixty_three + ",4294967297", MatrixError(sixty_three + ",4294967297", 63)},
        {"inter_matrix", "-1," + sixty_three, MatrixError("-1," + sixty_three, 0)},
        {"intra_matrix", "1x" + sixty_three.substr(1) + ",1", MatrixError("1x" + sixty_three.substr(1) + ",1", 0)},
        {"intra_matrix", sixty_three + ",1,1", MatrixError(sixty_three + ",1,1", 63)},
        {"metadata", "title", "Missing ="},
        {"metadata", "=x", "wrong parameter of metadata"},
        {"itsscale", "20:2", "stream index over MAX_STREAMS(20)"},
        {"itsscale", "-1:2", "Invalid value \"-1:2\" for option \"itsscale\""},
        {"streamid", "-1:5", "Invalid value \"-1:5\" for option \"streamid\", required syntax is \"index:value\""},
        {"vhook", sixty_five_words, "Failed to add video hook function: " + sixty_five_words},
        {"croptop", "2", "Removed, use the crop filter instead"},
        {"padcolor", "0", "Removed, use the pad filter instead"},
        {"r", "fast", "Incorrect frame rate"},
        {"s", "big", "Incorrect frame size"},
        {"pix_fmt", "nosuch", "Unknown pixel format requested: nosuch"},
        {"sample_fmt", "nosuch", "Invalid sample format \"nosuch\""},
        {"vbsf", "nosuch=1", "Unknown bitstream filter nosuch=1"},
        {"vbsf", "h264_mp4toannexb=extra", ""},
        {"ss", "soon", "Invalid duration specification for ss: soon"},
        {"vframes", "x", "'x' is not a valid integer value"},
        {"target", "pal-laserdisc", "Unknown target type"},
        {"nosuchoption", "1", "Unrecognized option \"nosuchoption\""},
        {"g", "many", "Invalid value \"many\" for option \"g\""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name + "=" + c.Value);
        TCustomFFmpeg engine(4);
        EXPECT_EQ(Error([&] { engine.SetExtOption(c.Name, c.Value); }), c.Error);
    }
}

TEST_F(TranscodeOptionsTest, HandlersStoreWhatTheyRead)
{
    TCustomFFmpeg engine(4);
    engine.SetExtOption("aspect", "16:9");
    EXPECT_FLOAT_EQ(engine.FrameAspectRatio(), 16.0f / 9.0f);
    // The point is the decimal separator whatever the locale says.
    engine.SetExtOption("aspect", "1.5");
    EXPECT_FLOAT_EQ(engine.FrameAspectRatio(), 1.5f);
    engine.SetExtOption("s", "320x240");
    EXPECT_EQ(engine.FrameWidth(), 320);
    for (const char* rate : {"30000/1001", "29.97002997", "ntsc"}) {
        SCOPED_TRACE(rate);
        engine.SetExtOption("r", rate);
        EXPECT_EQ(av_cmp_q(engine.FrameRate(), AVRational{30000, 1001}), 0);
    }
    engine.SetExtOption("vcodec", "copy");
    EXPECT_EQ(engine.VideoStreamCopy(), 1);
    engine.SetExtOption("an", "0");
    EXPECT_FALSE(engine.AudioDisable());
    engine.SetExtOption("an", "");
    EXPECT_TRUE(engine.AudioDisable());
    engine.SetExtOption("ab", "128");
    EXPECT_TRUE(Logged("WARNING: The bitrate parameter is set too low. It takes bits/s as argument, not kbits/s"));
    EXPECT_EQ(engine.Options().Value(okAudioCodec, "b"), "128");
}

TEST_F(TranscodeOptionsTest, AnUnknownOptionHaltsOnlyWhenAskedTo)
{
    TCustomFFmpeg engine(4);
    engine.HaltOnInvalidOption = false;
    EXPECT_EQ(Error([&] { engine.ApplyExtOptions("nosuchoption=1<CRLF>g=12", true); }), "");
    EXPECT_EQ(engine.Options().Value(okVideoCodec, "g"), "12");
    EXPECT_EQ(engine.LastOptionError(), "Unrecognized option \"nosuchoption\"");
    engine.HaltOnInvalidOption = true;
    EXPECT_EQ(Error([&] { engine.ApplyExtOptions("NoSuchOption=1<CRLF>g=13", true); }),
              "Unrecognized option \"nosuchoption\"");
    // The lines after the failing one are not applied.
    EXPECT_EQ(engine.Options().Value(okVideoCodec, "g"), "12");
}

struct TTargetCase {
    const char* Target;
    const char* Format;
    const char* VideoCodec;
    const char* AudioCodec;
    int Width, Height;
    AVRational Rate;
    const char* PixFmt;  // empty: not set
    int SampleRate, Channels;
    const char* Gop;
    const char* VideoBitrate;
    const char* AudioBitrate;
    const char* PacketSize;
    const char* MuxRate;
};

TEST_F(TranscodeOptionsTest, TargetsSetEverythingTheirDiscNeeds)
{
    const TTargetCase cases[] = {
        {"pal-dvd", "dvd", "mpeg2video", "ac3", 720, 576, {25, 1}, "", 48000, 2, "15", "6000000", "448000", "2048",
         "10080000"},
        {"ntsc-vcd", "vcd", "mpeg1video", "mp2", 352, 240, {30000, 1001}, "", 44100, 2, "18", "1150000", "224000",
         "2324", "1411200"},
        {"film-svcd", "svcd", "mpeg2video", "mp2", 480, 480, {24000, 1001}, "", 44100, 2, "18", "2040000", "224000",
         "2324", ""},
        {"ntsc-dv50", "dv", "", "", 720, 480, {30000, 1001}, "yuv422p", 48000, 2, "", "", "", "", ""},
        {"pal-dv50", "dv", "", "", 720, 576, {25, 1}, "yuv422p", 48000, 2, "", "", "", "", ""},
        {"pal-dv", "dv", "", "", 720, 576, {25, 1}, "yuv420p", 48000, 2, "", "", "", "", ""},
    };
    for (const TTargetCase& c : cases) {
        SCOPED_TRACE(c.Target);
        TCustomFFmpeg engine(4);
        engine.SetExtOption("target", c.Target);
        EXPECT_EQ(engine.ForcedFormat(), c.Format);
        EXPECT_EQ(engine.VideoCodecName(), c.VideoCodec);
        EXPECT_EQ(engine.AudioCodecName(), c.AudioCodec);
        EXPECT_EQ(engine.FrameWidth(), c.Width);
        EXPECT_EQ(engine.FrameHeight(), c.Height);
        EXPECT_EQ(av_cmp_q(engine.FrameRate(), c.Rate), 0);
        EXPECT_STREQ(engine.FramePixFmt() == AV_PIX_FMT_NONE ? "" : ff::av_get_pix_fmt_name(engine.FramePixFmt()),
                     c.PixFmt);
        EXPECT_EQ(engine.AudioSampleRate(), c.SampleRate);
        EXPECT_EQ(engine.AudioChannels(), c.Channels);
        EXPECT_EQ(engine.Options().Value(okVideoCodec, "g"), c.Gop);
        EXPECT_EQ(engine.Options().Value(okVideoCodec, "b"), c.VideoBitrate);
        EXPECT_EQ(engine.Options().Value(okAudioCodec, "b"), c.AudioBitrate);
        EXPECT_EQ(engine.Options().Value(okFormat, "packetsize"), c.PacketSize);
        EXPECT_EQ(engine.Options().Value(okFormat, "muxrate"), c.MuxRate);
    }
}

TEST_F(TranscodeOptionsTest, AutomaticNormFollowsTheOpenedInput)
{
    TCustomFFmpeg ntsc(4);
    ASSERT_TRUE(ntsc.OpenInputFile(NtscClip())) << ntsc.LastErrMsg();
    ntsc.SetExtOption("target", "vcd");
    EXPECT_EQ(ntsc.FrameHeight(), 240);
    EXPECT_EQ(ntsc.Options().Value(okVideoCodec, "g"), "18");
    EXPECT_TRUE(Logged("Assuming NTSC for target."));

    // Without a video input the frame rate is unknown: the record's default norm decides.
    TCustomFFmpeg audio_only(4);
    ASSERT_TRUE(audio_only.OpenInputFile(AudioClip())) << audio_only.LastErrMsg();
    audio_only.ApplyTarget("vcd", "auto", "pal");
    EXPECT_EQ(audio_only.FrameHeight(), 288);
    EXPECT_EQ(audio_only.Options().Value(okVideoCodec, "g"), "15");
}

TEST_F(TranscodeOptionsTest, EveryBuiltInPresetAppliesToTheH264Encoder)
{
    ASSERT_EQ(BuiltInPresets().size(), 36u);
    for (const TBuiltInPreset& preset : BuiltInPresets()) {
        SCOPED_TRACE(preset.Name);
        TCustomFFmpeg engine(4);
        engine.SetExtOption("vcodec", "libx264");
        EXPECT_EQ(Error([&] { engine.SetExtOption("vpre", preset.Name); }), "");
    }
    TCustomFFmpeg engine(4);
    engine.SetExtOption("vcodec", "libx264");
    engine.SetExtOption("vpre", "default");
    EXPECT_EQ(engine.Options().Value(okVideoCodec, "preset"), "medium");
    engine.SetExtOption("vpre", "LIBX264-MAIN");
    EXPECT_EQ(engine.Options().Value(okVideoCodec, "profile"), "main");
    engine.SetExtOption("vpre", "baseline");
    EXPECT_EQ(engine.Options().Value(okVideoCodec, "coder"), "0");
}

TEST_F(TranscodeOptionsTest, PresetFilesAreCheckedLineByLine)
{
    const std::string missing = WorkFolder + "/missing.ffpreset";
    const std::string bad_syntax = WorkFolder + "/syntax.ffpreset";
    const std::string bad_option = WorkFolder + "/option.ffpreset";
    ForceDirectories(WorkFolder);
    auto write = [](const std::string& AName, const std::string& AText) {
        FILE* file = std::fopen(AName.c_str(), "wb");
        std::fputs(AText.c_str(), file);
        std::fclose(file);
    };
    write(bad_syntax, "# comment\n\ng=12\nnoequals\n");
    write(bad_option, "g=12\r\nnosuchkey=1\r\n");
    TCustomFFmpeg engine(4);
    EXPECT_EQ(Error([&] { engine.SetExtOption("fpre", missing); }), "Preset \"" + missing + "\" not found");
    EXPECT_EQ(Error([&] { engine.SetExtOption("fpre", bad_syntax); }), bad_syntax + ": Invalid syntax: \"noequals\"");
    EXPECT_EQ(engine.Options().Value(okVideoCodec, "g"), "12");
    EXPECT_EQ(Error([&] { engine.SetExtOption("fpre", bad_option); }),
              "Unrecognized option \"nosuchkey\"\r\n" + bad_option +
                  ": Invalid option or argument: \"nosuchkey=1\", parsed as \"nosuchkey\" = \"1\"");
}

// The output's streams as codec names in order.
std::vector<std::string> StreamCodecs(const TCustomFFmpeg& AEngine)
{
    std::vector<std::string> names;
    for (const TAVOutputStream* stream : AEngine.OutputStreams(0))
        names.push_back(stream->enc != nullptr ? stream->enc->name : "copy");
    return names;
}

TEST_F(TranscodeOptionsTest, OutputRecordAppliesTheTargetFirstThenTheRecordsOwnChoices)
{
    TCustomFFmpeg engine(4);
    ASSERT_TRUE(engine.OpenInputFile(NtscClip())) << engine.LastErrMsg();
    TOutputOptions options;
    InitOutputOptions(options);
    options.FileName = WorkFolder + "/order.mpg";
    options.TargetType = ttDVD;
    options.NormType = ntPAL;
    options.VideoCodec = "mpeg4";
    options.FrameRate = "30";
    options.VideoBitrate = 500000;
    options.ExtOptions = "VCodec=mpeg1video<CRLF>g=7";
    ASSERT_EQ(ApplyOutputOptions(engine, options), 1) << engine.LastErrMsg();
    // The record's codec wins over the target's and over the option line; the line's GOP over the target's.
    ASSERT_EQ(StreamCodecs(engine), std::vector<std::string>{"mpeg4"});
    const AVCodecContext* video = engine.OutputStreams(0)[0]->enc_ctx;
    EXPECT_EQ(av_cmp_q(video->framerate, AVRational{30, 1}), 0);
    EXPECT_EQ(video->width, 720);
    EXPECT_EQ(video->gop_size, 7);
    // Under a target the record's bit rates are not applied.
    EXPECT_EQ(video->bit_rate, 6000000);
    EXPECT_EQ(std::string(engine.OutputFile(0)->oformat->name), "dvd");
}

TEST_F(TranscodeOptionsTest, NewStreamLinesTakeTheWaitingCodecsInOrder)
{
    TCustomFFmpeg engine(4);
    TOutputOptions options;
    options.FileName = WorkFolder + "/streams.mkv";
    options.DisableVideo = true;
    options.DisableSubtitle = true;
    options.ExtOptions = "acodec=mp2\nnewaudio\nacodec=ac3\nnewaudio";
    ASSERT_EQ(ApplyOutputOptions(engine, options), 1) << engine.LastErrMsg();
    EXPECT_EQ(StreamCodecs(engine), (std::vector<std::string>{"mp2", "mp2", "ac3"}));
}

TEST_F(TranscodeOptionsTest, RecordingTimeStampFollowsTheZoneRulesOfItsDate)
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    // 2026-07-01 12:00 local is summer time (UTC+2); 2026-01-01 12:00 is winter time (UTC+1).
    EXPECT_EQ(LocalDateTimeToUnix(46204.5), 1782900000);
    EXPECT_EQ(LocalDateTimeToUnix(46023.5), 1767265200);
    unsetenv("TZ");
    tzset();
}

}  // namespace
