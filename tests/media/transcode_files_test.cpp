// Transcoder files: opening inputs, creating outputs with their streams, joining, the texts of the failures,
// and a task that cannot start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>
#include <fstream>
#include <sstream>

#include "media/decode/unicode_names.h"
#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/log/ff_logger.h"
#include "media/transcode/custom_ffmpeg.h"
#include "media/transcode/option_records.h"
#include "platform/rtl/sysutils.h"
#include "tests/media/transcode_test_clips.h"

namespace {

const std::string WorkFolder = QUENNARY_BINARY_DIR "/tests/media/transcode_files";

std::string Clip(const std::string& AName, const std::string& AArguments)
{
    return MakeClip(WorkFolder, AName, AArguments);
}

// One second of picture and tone, or half a second of picture alone.
std::string Movie()
{
    return Clip("movie.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine -t 1 -c:v mpeg4 -c:a "
                             "pcm_s16le -f avi");
}
std::string ShortMovie()
{
    return Clip("short.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -t 0.5 -c:v mpeg4 -f avi");
}
std::string Tone() { return Clip("tone.wav", "-f lavfi -i sine -t 0.5 -f wav"); }

std::string FileText(const std::string& AName)
{
    std::ifstream file(AName, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class TranscodeFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(AllLibraries)) << TFFLoader::LastErrMsg();
        ff::av_log_set_level(AV_LOG_QUIET);
    }
    void TearDown() override { StopMediaEngine(); }
    static std::string Error(const std::function<void()>& AAction)
    {
        try {
            AAction();
        } catch (const Exception& e) {
            return e.Message();
        }
        return {};
    }
};

TEST_F(TranscodeFilesTest, InputsSetTheCurrentPictureAndSoundAndTheTotalDuration)
{
    TCustomFFmpeg engine(4);
    ASSERT_TRUE(engine.OpenInputFile(ShortMovie())) << engine.LastErrMsg();
    ASSERT_TRUE(engine.OpenInputFile(Movie())) << engine.LastErrMsg();
    EXPECT_EQ(engine.nb_input_files(), 2);
    EXPECT_EQ(engine.FrameWidth(), 160);
    EXPECT_FLOAT_EQ(engine.FrameAspectRatio(), 160.0f / 120.0f);
    EXPECT_EQ(av_cmp_q(engine.FrameRate(), AVRational{25, 1}), 0);
    EXPECT_EQ(engine.AudioSampleRate(), 44100);
    // The longer input decides how long the output is expected to be.
    EXPECT_NEAR(engine.TotalOutputDuration(), 1000000, 100000);
}

TEST_F(TranscodeFilesTest, FailuresNameWhatWentWrong)
{
    const std::string missing = WorkFolder + "/missing.avi";
    {
        TCustomFFmpeg engine(4);
        EXPECT_FALSE(engine.OpenInputFile(missing));
        EXPECT_EQ(engine.LastErrMsg(), missing + ": No such file or directory");
        EXPECT_EQ(engine.nb_input_files(), 0);
    }
    {
        TCustomFFmpeg engine(4);
        engine.SetExtOption("f", "nosuchformat");
        EXPECT_EQ(Error([&] { engine.OpenInputFile(Movie()); }), "Unknown input format: \"nosuchformat\"");
    }
    struct TCase {
        const char* Options;
        const char* File;
        const char* Error;
    };
    const TCase cases[] = {
        {"f=nosuchformat", "out.avi", "Requested output format 'nosuchformat' is not a suitable output format"},
        {"", "out.nosuchextension", "Unable to find a suitable output format for '%s'"},
        {"vcodec=nosuchcodec", "out.avi", "new_video_stream fail: Unknown encoder 'nosuchcodec'"},
        {"vcodec=mp2", "out.avi", "new_video_stream fail: Invalid encoder type 'mp2'"},
        {"acodec=nosuchcodec", "out.avi", "new_audio_stream fail: Unknown encoder 'nosuchcodec'"},
        {"acodec=vorbis", "out.mkv",
         "new_audio_stream fail: encoder 'vorbis' is experimental and might produce bad results.\r\nAdd '-strict "
         "experimental' if you want to use it.\r\nOr use the non experimental encoder 'libvorbis'."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Options);
        TCustomFFmpeg engine(4);
        ASSERT_TRUE(engine.OpenInputFile(Movie())) << engine.LastErrMsg();
        engine.ApplyExtOptions(c.Options, false);
        const std::string output = WorkFolder + "/" + c.File;
        EXPECT_EQ(engine.OpenOutputFile(output, false), -1);
        std::string expected = c.Error;
        if (const size_t at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, output);
        EXPECT_EQ(engine.LastErrMsg(), expected);
        EXPECT_EQ(engine.nb_output_files(), 0);
        EXPECT_FALSE(FileExists(output));
    }
}

TEST_F(TranscodeFilesTest, AnOutputThatIsAnInputIsRefusedAndTheInputKept)
{
    const std::string source = WorkFolder + "/source.avi";
    ForceDirectories(WorkFolder);
    {
        std::ofstream copy(source, std::ios::binary);
        copy << FileText(Movie());
    }
    const std::string before = FileText(source);
    const std::string spellings[] = {source, WorkFolder + "/./../transcode_files/source.avi"};
    for (const std::string& output : spellings) {
        SCOPED_TRACE(output);
        TCustomFFmpeg engine(4);
        ASSERT_TRUE(engine.OpenInputFile(source)) << engine.LastErrMsg();
        TOutputOptions options;
        options.FileName = output;
        EXPECT_EQ(ApplyOutputOptions(engine, options), -1);
        EXPECT_EQ(engine.LastErrMsg(),
                  "Output file \"" + output + "\" is one of the input files; it would be overwritten");
        EXPECT_EQ(engine.nb_output_files(), 0);
    }
    EXPECT_EQ(FileText(source), before);
}

TEST_F(TranscodeFilesTest, OutputsGetStreamsOnlyOfKindsTheInputsHave)
{
    TCustomFFmpeg engine(4);
    ASSERT_TRUE(engine.OpenInputFile(Tone())) << engine.LastErrMsg();
    const std::string output = WorkFolder + "/sound.avi";
    ASSERT_EQ(engine.OpenOutputFile(output, false), 1) << engine.LastErrMsg();
    ASSERT_EQ(engine.OutputStreams(0).size(), 1u);
    EXPECT_EQ(engine.OutputStreams(0)[0]->enc_ctx->codec_type, AVMEDIA_TYPE_AUDIO);
    EXPECT_TRUE(FileExists(output));
}

TEST_F(TranscodeFilesTest, JoinedInputsAddTheirDurationsIntoOneOutput)
{
    TCustomFFmpeg engine(4);
    ASSERT_TRUE(engine.OpenInputFile(ShortMovie())) << engine.LastErrMsg();
    ASSERT_TRUE(engine.OpenInputFile(ShortMovie())) << engine.LastErrMsg();
    TOutputOptions options;
    options.FileName = WorkFolder + "/joined.avi";
    options.Join = true;
    ASSERT_EQ(ApplyOutputOptions(engine, options), 1) << engine.LastErrMsg();
    EXPECT_TRUE(engine.JoinMode());
    EXPECT_EQ(engine.nb_output_files(), 2);
    EXPECT_EQ(engine.OutputFile(1), engine.OutputFile(0));
    EXPECT_NEAR(engine.TotalOutputDuration(), 1000000, 100000);
    EXPECT_EQ(engine.OpenOutputFile(WorkFolder + "/second.avi", false), -1);
    EXPECT_EQ(engine.LastErrMsg(), "Cannot join more than one output file.");
}

TEST_F(TranscodeFilesTest, ATaskWithoutOutputEndsAtOnceOnTheCallersThread)
{
    TCustomFFmpeg engine(4);
    ASSERT_TRUE(engine.OpenInputFile(ShortMovie())) << engine.LastErrMsg();
    int terminations = 0;
    engine.FOnTerminate = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &engine);
        ++terminations;
    };
    EXPECT_EQ(engine.StartConvert(true), nullptr);
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(engine.Terminated());
    EXPECT_FALSE(engine.Converting());
    EXPECT_TRUE(engine.FatalException());
    EXPECT_EQ(engine.FatalMessage(), "At least one output file must be specified");
    EXPECT_EQ(engine.StartConvert(true), nullptr);
    EXPECT_EQ(terminations, 1);
}

TEST_F(TranscodeFilesTest, UnicodeURLsOpenAsTheNamesTheyCarry)
{
    const std::string output = WorkFolder + "/ünïcødé out.avi";
    DeleteFile(output);
    TCustomFFmpeg engine(4);
    ASSERT_TRUE(engine.OpenInputFile(std::string(UnicodeURLPrefix) + Movie())) << engine.LastErrMsg();
    ASSERT_EQ(engine.OpenOutputFile(std::string(UnicodeURLPrefix) + output, false), 1) << engine.LastErrMsg();
    EXPECT_TRUE(FileExists(output));
}

TEST_F(TranscodeFilesTest, ANegativeDurationIsRefused)
{
    TCustomFFmpeg engine(4);
    EXPECT_EQ(Error([&] { engine.ApplyExtOptions("t=-5", false); }), "Invalid value \"-5\" for option \"t\"");
    EXPECT_NO_THROW(engine.ApplyExtOptions("t=0.5", false));
}

TEST_F(TranscodeFilesTest, AnUnusedOutputLeavesNoEmptyFileBehind)
{
    const std::string output = WorkFolder + "/unused.avi";
    {
        TCustomFFmpeg engine(4);
        ASSERT_TRUE(engine.OpenInputFile(ShortMovie())) << engine.LastErrMsg();
        ASSERT_EQ(engine.OpenOutputFile(output, false), 1) << engine.LastErrMsg();
        EXPECT_TRUE(FileExists(output));
    }
    EXPECT_FALSE(FileExists(output));
}

}  // namespace
