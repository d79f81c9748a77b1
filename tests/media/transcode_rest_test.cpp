// The rest of a run's features on tiny generated clips: two-pass encoding through the pass logs, the per-picture
// statistics file with PSNR, the session description of RTP outputs, audio kept in step with its time stamps,
// and time stamps that step back inside a stream.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "media/loader/av_bindings.h"
#include "media/transcode/ffmpeg.h"
#include "platform/rtl/sysutils.h"
#include "tests/fixtures/media_fixtures.h"
#include "tests/media/loopback_socket.h"

namespace {

const std::string WorkFolder = QUENNARY_BINARY_DIR "/tests/media/transcode_rest";

using TOptions = std::vector<std::pair<std::string, std::string>>;

// A clip made by the ffmpeg tool once per build tree; parallel test processes each write their own copy first.
std::string Clip(const std::string& AName, const std::string& ACommand)
{
    const std::string path = WorkFolder + "/" + AName;
    if (!FileExists(path)) {
        const std::string temporary = path + "." + std::to_string(getpid()) + ".tmp";
        const std::string command = "mkdir -p '" + WorkFolder + "' && cd '" + WorkFolder + "' && " + ACommand +
                                    " '" + temporary + "' && mv '" + temporary + "' '" + path + "'";
        if (std::system(command.c_str()) != 0) ADD_FAILURE() << command;
    }
    return path;
}

const char* const FFmpegTool = "ffmpeg -nostdin -hide_banner -loglevel error -y ";

// One second of H.264 160x120 at 25 fps with stereo AAC at 44.1 kHz.
std::string Movie()
{
    return Clip("movie.mp4", std::string(FFmpegTool) +
                                 "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=sample_rate=44100 -t 1 "
                                 "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ac 2 -f mp4");
}

// Three seconds of pictures whose sound starts two seconds late and lasts one second.
std::string LateSound()
{
    return Clip("late_sound.mkv", std::string(FFmpegTool) +
                                      "-f lavfi -i testsrc=size=160x120:rate=25:d=3 -itsoffset 2 "
                                      "-f lavfi -i sine=sample_rate=44100:d=1 -c:v libx264 -preset ultrafast "
                                      "-pix_fmt yuv420p -c:a pcm_s16le -f matroska");
}

// Two one-second transport streams one after the other; the second's clock stands three seconds before the
// first's, as when a recording is cut together from two captures.
std::string SteppingBack()
{
    const std::string part = std::string(FFmpegTool) + "-f lavfi -i testsrc=size=160x120:rate=25:d=1 -an "
                                                       "-c:v mpeg2video -f mpegts ";
    return Clip("stepping_back.ts", part + "-output_ts_offset 3 part_a.ts && " + part + "part_b.ts && "
                                        "cat part_a.ts part_b.ts >");
}

struct TProbed {
    std::string Codec;
    int Packets = 0;
    double Duration = 0;
};

// The first stream of AType in AFile, as ffprobe sees it.
TProbed Probe(const std::string& AFile, const std::string& AType)
{
    const std::string select = AType == "video" ? "v:0" : "a:0";
    const std::string command = "ffprobe -v error -count_packets -select_streams " + select +
                                " -show_entries stream=codec_name,nb_read_packets:format=duration -of "
                                "default=nw=1 '" + AFile + "'";
    TProbed probed;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return probed;
    char buffer[512];
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        const std::string line = Trim(buffer);
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "codec_name") probed.Codec = value;
        if (key == "nb_read_packets") probed.Packets = std::atoi(value.c_str());
        if (key == "duration") probed.Duration = std::atof(value.c_str());
    }
    pclose(pipe);
    return probed;
}

std::string ReadText(const std::string& AFile)
{
    std::ifstream file(AFile, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class TranscodeRestTest : public MediaEngineTest {
protected:
    TranscodeRestTest() : MediaEngineTest(AllLibraries) {}
    void SetUp() override
    {
        MediaEngineTest::SetUp();
        ff::av_log_set_level(AV_LOG_QUIET);
        FLogger->SetLogLevel(llVerbose);
    }

    // Runs one task on this thread: AInputOptions, the input, AOptions and the output.
    void Convert(TFFmpeg& ATask, const std::string& AInput, const std::string& AOutput, const TOptions& AOptions,
                 const TOptions& AInputOptions = {})
    {
        std::remove(AOutput.c_str());
        for (const auto& [name, value] : AInputOptions) ATask.SetExtOption(name, value);
        ASSERT_TRUE(ATask.OpenInputFile(AInput)) << ATask.LastErrMsg();
        for (const auto& [name, value] : AOptions) ATask.SetExtOption(name, value);
        ASSERT_GT(ATask.OpenOutputFile(AOutput, false), 0) << ATask.LastErrMsg();
        ATask.StartConvert(false);
    }
    std::string Out(const std::string& AName) { return WorkFolder + "/" + AName; }
    std::string LoggedWith(const std::string& APart)
    {
        for (const TLoggedLine& line : Lines())
            if (line.Text.find(APart) != std::string::npos) return line.Text;
        return {};
    }
};

TEST_F(TranscodeRestTest, TwoPassesShareTheFirstPassLog)
{
    struct TCase {
        const char* Output;
        const char* Codec;
        const char* Probed;
    };
    const TCase cases[] = {{"two_pass.avi", "mpeg4", "mpeg4"}, {"two_pass.mp4", "libx264", "h264"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Codec);
        const std::string prefix = Out(std::string("passlog_") + c.Codec);
        const std::string log = prefix + "-0.log";
        std::remove(log.c_str());
        {
            TFFmpeg first(4);
            Convert(first, Movie(), Out(c.Output), {{"vcodec", c.Codec}, {"b", "200000"}, {"pass", "1"}, {"passlogfile", prefix}});
            EXPECT_TRUE(first.Finished()) << first.FatalMessage();
        }
        // The encoder described every picture of the first pass.
        const std::string text = ReadText(log);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), c.Probed == std::string("h264") ? 26 : 25);
        TFFmpeg second(4);
        Convert(second, Movie(), Out(c.Output), {{"vcodec", c.Codec}, {"b", "200000"}, {"pass", "2"}, {"passlogfile", prefix}});
        EXPECT_TRUE(second.Finished()) << second.FatalMessage();
        const TProbed video = Probe(Out(c.Output), "video");
        EXPECT_EQ(video.Codec, c.Probed);
        EXPECT_EQ(video.Packets, 25);
        // The log stays for a later second pass.
        EXPECT_TRUE(FileExists(log));
    }
    TFFmpeg without_log(4);
    Convert(without_log, Movie(), Out("two_pass.avi"),
            {{"vcodec", "mpeg4"}, {"pass", "2"}, {"passlogfile", Out("no_such_prefix")}});
    EXPECT_FALSE(without_log.Finished());
    EXPECT_EQ(without_log.FatalMessage(),
              "Cannot read file: Error reading log file \"" + Out("no_such_prefix") + "-0.log\" for pass-2 encoding");
}

TEST_F(TranscodeRestTest, StatisticsFileAndProgressCarryPsnrAndQuantisers)
{
    const std::string stats = Out("vstats.log");
    std::remove(stats.c_str());
    TFFmpeg task(4);
    Convert(task, Movie(), Out("stats.avi"),
            {{"vcodec", "mpeg4"}, {"psnr", ""}, {"qphist", ""}, {"vstats_file", stats}});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    std::istringstream lines(ReadText(stats));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_EQ(line.rfind(count < 10 ? "frame=     " : "frame=    ", 0), 0u) << line;
        EXPECT_NE(line.find("PSNR= "), std::string::npos) << line;
        EXPECT_NE(line.find(" f_size= "), std::string::npos) << line;
        EXPECT_NE(line.find("kbits/s avg_br= "), std::string::npos) << line;
        if (count == 1) EXPECT_NE(line.find("type= I"), std::string::npos) << line;
    }
    EXPECT_EQ(count, 25);
    // The last progress line: 32 histogram digits after the "L", then the totals of the three planes.
    std::string final_line;
    for (const TLoggedLine& logged : Lines())
        if (logged.Text.find("L") != std::string::npos && logged.Text.rfind("frame=", 0) == 0) final_line = logged.Text;
    ASSERT_FALSE(final_line.empty());
    const size_t psnr = final_line.find("PSNR=Y:");
    ASSERT_NE(psnr, std::string::npos) << final_line;
    EXPECT_EQ(final_line.find("L") + 1 + 32, psnr) << final_line;
    EXPECT_NE(final_line.find(" U:", psnr), std::string::npos);
    EXPECT_NE(final_line.find(" *:", psnr), std::string::npos);
}

TEST_F(TranscodeRestTest, RtpOutputsLogTheirSessionDescription)
{
    // A receiver that reads nothing: the packets only need somewhere to go.
    TLoopbackSocket receiver;
    OpenLoopbackSocket(receiver, SOCK_DGRAM);
    ASSERT_GE(receiver.Handle, 0);
    const std::string url = receiver.URL("rtp");

    TFFmpeg task(4);
    Convert(task, Movie(), url, {{"f", "rtp"}, {"an", ""}, {"vcodec", "mpeg4"}, {"vframes", "5"}});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    const std::string sdp = LoggedWith("SDP:");
    ASSERT_EQ(sdp.rfind("SDP:\r\n", 0), 0u) << sdp;
    EXPECT_NE(sdp.find("m=video " + std::to_string(receiver.Port) + " RTP/AVP 96"), std::string::npos)
        << sdp;
    EXPECT_NE(sdp.find("a=rtpmap:96 MP4V-ES/90000"), std::string::npos) << sdp;

    // A file output is no RTP session: nothing is described.
    ClearLines();
    TFFmpeg file(4);
    Convert(file, Movie(), Out("no_sdp.avi"), {{"vframes", "5"}});
    EXPECT_TRUE(LoggedWith("SDP:").empty());
}

TEST_F(TranscodeRestTest, AudioSyncFillsLateSoundAndCompensatesDrift)
{
    // Sound that starts two seconds in: a sync method puts silence before it, without one it starts at once.
    struct TCase {
        const char* Method;
        double Duration;
    };
    for (const TCase& c : {TCase{"0", 1.0}, TCase{"1", 3.0}}) {
        SCOPED_TRACE(c.Method);
        TFFmpeg task(4);
        Convert(task, LateSound(), Out("late.wav"), {{"async", c.Method}});
        EXPECT_TRUE(task.Finished()) << task.FatalMessage();
        EXPECT_NEAR(Probe(Out("late.wav"), "audio").Duration, c.Duration, 0.03);
    }

    // Sound whose clock runs 2 % slow drifts below the threshold: method 1 leaves it after its first correction,
    // a larger method stretches it a few samples at a time.
    for (const char* method : {"1", "100"}) {
        SCOPED_TRACE(method);
        ClearLines();
        TFFmpeg task(4);
        Convert(task, Movie(), Out("drift.wav"), {{"async", method}, {"v", "3"}}, {{"itsscale", "1:1.02"}});
        EXPECT_TRUE(task.Finished()) << task.FatalMessage();
        const std::string line = LoggedWith("compensating audio timestamp drift:");
        EXPECT_EQ(line.empty(), method == std::string("1")) << line;
        if (!line.empty()) EXPECT_NE(line.find(" in:44100"), std::string::npos) << line;
        // Only the stream's first correction is made whatever its size.
        int filled = 0;
        for (const TLoggedLine& logged : Lines()) filled += logged.Text.find("audio samples of silence") != std::string::npos;
        EXPECT_LE(filled, 1);
    }
}

TEST_F(TranscodeRestTest, AStepBackInTheTimeStampsIsAbsorbed)
{
    // Three seconds back, below the jump threshold: still a discontinuity, so the second part follows the first.
    TFFmpeg task(4);
    Convert(task, SteppingBack(), Out("stepped.avi"), {{"vcodec", "mpeg4"}, {"v", "3"}});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    EXPECT_NE(LoggedWith("timestamp discontinuity"), "");
    EXPECT_NEAR(Probe(Out("stepped.avi"), "video").Packets, 50, 1);

    // Told to keep the input's time stamps, the pictures of the second part lie before the first and are dropped.
    ClearLines();
    TFFmpeg kept(4);
    Convert(kept, SteppingBack(), Out("stepped_kept.avi"), {{"vcodec", "mpeg4"}, {"v", "3"}, {"copyts", ""}});
    EXPECT_TRUE(kept.Finished()) << kept.FatalMessage();
    EXPECT_EQ(LoggedWith("timestamp discontinuity"), "");
    EXPECT_NEAR(Probe(Out("stepped_kept.avi"), "video").Packets, 25, 1);
}

}  // namespace

namespace {

TEST_F(TranscodeRestTest, OpenCodecsAreListedWhileTheRunLasts)
{
    // During the run: H.264 and AAC decoders, MPEG-4 and MP3 encoders. After it, also after a failure once the
    // codecs were open, nothing is left open.
    struct TCase {
        TOptions Options;
        bool Finishes;
    };
    const TCase cases[] = {
        {{}, true},
        {{{"vstats_file", Out("no_such_folder/vstats.log")}}, false},
    };
    for (const TCase& c : cases) {
        TFFmpeg task(4);
        int encoders = -1;
        int decoders = -1;
        task.FOnProgress = [&](TObject*, int, int, int, float, float, int64_t, int64_t, int64_t) {
            encoders = task.OpenEncoderCount();
            decoders = task.OpenDecoderCount();
        };
        task.ReportInterval = 0;
        Convert(task, Movie(), Out("listed.avi"), c.Options);
        EXPECT_EQ(task.Finished(), c.Finishes) << task.FatalMessage();
        if (c.Finishes) {
            EXPECT_EQ(encoders, 2);
            EXPECT_EQ(decoders, 2);
        } else {
            EXPECT_EQ(task.FatalMessage(), "fopen fail: " + Out("no_such_folder/vstats.log"));
        }
        EXPECT_EQ(task.OpenEncoderCount(), 0);
        EXPECT_EQ(task.OpenDecoderCount(), 0);
    }
}

}  // namespace

namespace {

TEST_F(TranscodeRestTest, AVideoOutputWithoutPicturesReportsNothing)
{
    // With a picture limit of 0 nothing is ever encoded: no progress event, not even the last one.
    TFFmpeg task(4);
    int reports = 0;
    task.FOnProgress = [&](TObject*, int, int, int, float, float, int64_t, int64_t, int64_t) { ++reports; };
    Convert(task, Movie(), Out("no_pictures.avi"), {{"vframes", "0"}});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    EXPECT_EQ(reports, 0);
}

}  // namespace
