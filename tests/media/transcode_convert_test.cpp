// Whole conversions on tiny generated clips, each output checked by ffprobe: targets, the filter chain, the
// audio path, trimming, stream copy, joins, a stop in the middle and an input that fails while being read.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <fstream>
#include <future>
#include <map>
#include <sstream>
#include <thread>

#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/transcode/ffmpeg.h"
#include "platform/rtl/sysutils.h"
#include "tests/fixtures/media_fixtures.h"
#include "tests/media/transcode_test_clips.h"

namespace {

const std::string WorkFolder = QUENNARY_BINARY_DIR "/tests/media/transcode_convert";

std::string Clip(const std::string& AName, const std::string& AArguments)
{
    return MakeClip(WorkFolder, AName, AArguments);
}

// One second of H.264 160x120 at 25 fps with stereo AAC at 44.1 kHz.
std::string Movie()
{
    return Clip("movie.mp4", "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=sample_rate=44100 -t 1 "
                             "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ac 2 -f mp4");
}

struct TProbedStream {
    std::string Codec;
    std::string Type;
    int Width = 0;
    int Height = 0;
    int SampleRate = 0;
    int Packets = 0;
    double Duration = 0;
};

struct TProbe {
    std::vector<TProbedStream> Streams;
    double Duration = 0;
    const TProbedStream* Find(const std::string& AType) const
    {
        for (const TProbedStream& stream : Streams)
            if (stream.Type == AType) return &stream;
        return nullptr;
    }
};

TProbe Probe(const std::string& AFile)
{
    const std::string command = "ffprobe -v error -count_packets -show_entries "
                                "stream=codec_name,codec_type,width,height,sample_rate,nb_read_packets,duration:"
                                "format=duration -of default=nw=1 '" + AFile + "'";
    TProbe probe;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return probe;
    char buffer[512];
    bool in_format = false;
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        auto number = [&] { return value == "N/A" ? 0.0 : std::atof(value.c_str()); };
        if (key == "codec_name") {
            probe.Streams.emplace_back();
            probe.Streams.back().Codec = value;
            in_format = false;
            continue;
        }
        if (probe.Streams.empty()) continue;
        TProbedStream& stream = probe.Streams.back();
        if (key == "codec_type") stream.Type = value;
        if (key == "width") stream.Width = static_cast<int>(number());
        if (key == "height") stream.Height = static_cast<int>(number());
        if (key == "sample_rate") stream.SampleRate = static_cast<int>(number());
        if (key == "nb_read_packets") {
            stream.Packets = static_cast<int>(number());
            in_format = true;  // the last stream field; a duration after it is the format's
            continue;
        }
        if (key == "duration") {
            if (in_format)
                probe.Duration = number();
            else
                stream.Duration = number();
        }
    }
    pclose(pipe);
    return probe;
}

// The presentation times of one kind of stream ("v" or "a") in AFile, in ascending order.
std::vector<double> PacketTimes(const std::string& AFile, const char* AKind)
{
    const std::string command = std::string("ffprobe -v error -select_streams ") + AKind +
                                " -show_entries packet=pts_time -of csv=p=0 '" + AFile + "' | sort -n";
    std::vector<double> times;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return times;
    double time;
    while (std::fscanf(pipe, "%lf%*[^\n]", &time) == 1) times.push_back(time);
    pclose(pipe);
    return times;
}

class TranscodeConvertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StartMediaEngine();
        ASSERT_TRUE(FFLoader->Load(AllLibraries)) << TFFLoader::LastErrMsg();
        ff::av_log_set_level(AV_LOG_QUIET);
    }
    void TearDown() override { StopMediaEngine(); }

    // Runs one task on this thread: the inputs, then AOptions (name, value) and the output.
    void Convert(TFFmpeg& ATask, const std::vector<std::string>& AInputs, const std::string& AOutput,
                 const std::vector<std::pair<std::string, std::string>>& AOptions, bool AJoin = false)
    {
        std::remove(AOutput.c_str());
        for (const std::string& input : AInputs) ASSERT_TRUE(ATask.OpenInputFile(input)) << ATask.LastErrMsg();
        for (const auto& [name, value] : AOptions) ATask.SetExtOption(name, value);
        ASSERT_GT(ATask.OpenOutputFile(AOutput, AJoin), 0) << ATask.LastErrMsg();
        ATask.PrepareJoin();
        ATask.StartConvert(false);
    }
    std::string Out(const std::string& AName) { return WorkFolder + "/" + AName; }
};

TEST_F(TranscodeConvertTest, TargetsGiveTheirCodecsSizeAndDuration)
{
    struct TCase {
        const char* File;
        std::vector<std::pair<std::string, std::string>> Options;
        const char* Video;
        const char* Audio;
    };
    const TCase cases[] = {
        {"out.avi", {}, "mpeg4", "mp3"},
        {"out.mp4", {{"vcodec", "libx264"}, {"acodec", "aac"}}, "h264", "aac"},
        {"out.flv", {}, "flv1", "mp3"},
        {"out.mp3", {}, nullptr, "mp3"},
        {"out.wav", {}, nullptr, "pcm_s16le"},
    };
    const std::string input = Movie();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        TFFmpeg task(4);
        Convert(task, {input}, Out(c.File), c.Options);
        EXPECT_TRUE(task.Finished()) << task.FatalMessage();
        EXPECT_FALSE(task.FatalException()) << task.FatalMessage();
        const TProbe probe = Probe(Out(c.File));
        const TProbedStream* video = probe.Find("video");
        const TProbedStream* audio = probe.Find("audio");
        if (c.Video != nullptr) {
            ASSERT_NE(video, nullptr);
            EXPECT_EQ(video->Codec, c.Video);
            EXPECT_EQ(video->Width, 160);
            EXPECT_EQ(video->Height, 120);
            EXPECT_EQ(video->Packets, 25);
        } else {
            EXPECT_EQ(video, nullptr);
        }
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->Codec, c.Audio);
        // The pictures last the input's second within one picture; compressed sound adds its encoder's delay
        // and a padded last frame, as every encoder of these formats does.
        // (A container that keeps no stream durations is measured as a whole.)
        if (video != nullptr && video->Duration > 0) EXPECT_NEAR(video->Duration, 1.0, 0.041);
        EXPECT_NEAR(audio->Duration > 0 ? audio->Duration : probe.Duration, 1.0, 0.075);
    }
}

TEST_F(TranscodeConvertTest, MapsAndFrameLimitsChooseWhatIsWritten)
{
    struct TCase {
        std::vector<std::pair<std::string, std::string>> Options;
        const char* Error;
        int VideoPackets;
    };
    const TCase cases[] = {
        {{{"vframes", "10"}}, "", 10},
        {{{"map", "0:0"}, {"map", "0:1"}}, "", 25},
        {{{"map", "0:5"}, {"map", "0:1"}}, "Could not find input stream #0.5", 0},
        {{{"map", "0:1"}, {"map", "0:0"}}, "Codec type mismatch for mapping #0.1 (Audio) -> #0.0 (Video)", 0},
        {{{"map", "0:0"}}, "Number of stream maps must match number of output streams", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Error);
        TFFmpeg task(4);
        Convert(task, {Movie()}, Out("mapped.avi"), c.Options);
        EXPECT_EQ(task.FatalMessage(), c.Error);
        EXPECT_EQ(task.Finished(), *c.Error == 0);
        if (c.VideoPackets == 0) continue;
        const TProbe probe = Probe(Out("mapped.avi"));
        ASSERT_NE(probe.Find("video"), nullptr);
        EXPECT_EQ(probe.Find("video")->Packets, c.VideoPackets);
    }
}

TEST_F(TranscodeConvertTest, SubtitlesAreConvertedWithTheirTimes)
{
    TFFmpeg task(4);
    Convert(task, {MediaFixture("multi.mkv")}, Out("subtitled.mkv"), {});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    const TProbe probe = Probe(Out("subtitled.mkv"));
    ASSERT_NE(probe.Find("subtitle"), nullptr);
    EXPECT_EQ(probe.Find("subtitle")->Codec, "ass");
    EXPECT_EQ(probe.Find("subtitle")->Packets, 1);
}

TEST_F(TranscodeConvertTest, TheFilterChainSetsTheEncodersSize)
{
    TFFmpeg task(4);
    Convert(task, {Movie()}, Out("chain.avi"),
            {{"an", ""}, {"vfilters", "crop=120:100:10:10,pad=160:120:20:10,scale=320:240"}});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    const TProbe probe = Probe(Out("chain.avi"));
    ASSERT_EQ(probe.Streams.size(), 1u);
    EXPECT_EQ(probe.Streams[0].Width, 320);
    EXPECT_EQ(probe.Streams[0].Height, 240);
    EXPECT_EQ(probe.Streams[0].Packets, 25);
}

TEST_F(TranscodeConvertTest, FloatAudioIsResampledWithoutLosingTime)
{
    const std::string input = Clip("float48.wav", "-f lavfi -i sine=sample_rate=48000 -t 1 -ac 2 -c:a pcm_f32le -f wav");
    TFFmpeg task(4);
    Convert(task, {input}, Out("resampled.mp2"), {{"ar", "44100"}});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    const TProbe probe = Probe(Out("resampled.mp2"));
    ASSERT_EQ(probe.Streams.size(), 1u);
    EXPECT_EQ(probe.Streams[0].Codec, "mp2");
    EXPECT_EQ(probe.Streams[0].SampleRate, 44100);
    // One mp2 frame is 1152 samples.
    EXPECT_NEAR(probe.Duration, 1.0, 1152.0 / 44100);
}

TEST_F(TranscodeConvertTest, StartAndLengthTrimBothStreams)
{
    const std::string input = Clip("long.mp4", "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i "
                                               "sine=sample_rate=44100 -t 2 -c:v libx264 -preset ultrafast "
                                               "-pix_fmt yuv420p -c:a aac -f mp4");
    TFFmpeg task(4);
    task.SetExtOption("ss", "0.4");
    Convert(task, {input}, Out("trimmed.avi"), {{"t", "1"}});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    const TProbe probe = Probe(Out("trimmed.avi"));
    ASSERT_NE(probe.Find("video"), nullptr);
    EXPECT_EQ(probe.Find("video")->Packets, 25);
    EXPECT_NEAR(probe.Duration, 1.0, 0.05);
}

TEST_F(TranscodeConvertTest, StreamCopyKeepsEveryPacket)
{
    const std::string input = Movie();
    const TProbe source = Probe(input);
    TFFmpeg task(4);
    Convert(task, {input}, Out("copy.mkv"), {{"vcodec", "copy"}, {"acodec", "copy"}});
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    const TProbe probe = Probe(Out("copy.mkv"));
    ASSERT_EQ(probe.Streams.size(), 2u);
    for (const char* type : {"video", "audio"}) {
        SCOPED_TRACE(type);
        ASSERT_NE(probe.Find(type), nullptr);
        EXPECT_EQ(probe.Find(type)->Codec, source.Find(type)->Codec);
        EXPECT_EQ(probe.Find(type)->Packets, source.Find(type)->Packets);
    }
}

TEST_F(TranscodeConvertTest, StreamCopyRefusesWhatNeedsDecodedPictures)
{
    struct TCase {
        const char* Codec;
        std::function<void(TFFmpeg&)> Setup;
        const char* Error;
    };
    const TCase cases[] = {
        {"acodec", [](TFFmpeg& T) { T.SetExtOption("vol", "512"); },
         "-acodec copy and -vol are incompatible (frames are not decoded)"},
        {"acodec", [](TFFmpeg& T) { T.FOnAudioHook = [](TObject*, int64_t, uint8_t*, int, int, int, AVSampleFormat) {}; },
         "-acodec copy and AudioHook are incompatible (frames are not decoded)"},
        {"vcodec", [](TFFmpeg& T) { T.FOnOutputVideoHook = [](TObject*, TBitmap*, int, int64_t, bool&, bool&) {}; },
         "-vcodec copy and VideoHook are incompatible (frames are not decoded)"},
        {"vcodec", [](TFFmpeg& T) { T.SetPostHooks({phBitmap}); },
         "-vcodec copy and PostHooks are incompatible (frames are not decoded)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Error);
        TFFmpeg task(4);
        c.Setup(task);
        Convert(task, {Movie()}, Out("refused.mkv"), {{c.Codec, "copy"}});
        EXPECT_FALSE(task.Finished());
        EXPECT_EQ(task.FatalMessage(), c.Error);
    }
}

TEST_F(TranscodeConvertTest, ThreeJoinedClipsMakeOneContinuousFile)
{
    const std::string input = Movie();
    TFFmpeg task(4);
    Convert(task, {input, input, input}, Out("joined.mp4"), {{"vcodec", "libx264"}, {"acodec", "aac"}}, true);
    EXPECT_TRUE(task.Finished()) << task.FatalMessage();
    const TProbe probe = Probe(Out("joined.mp4"));
    ASSERT_NE(probe.Find("video"), nullptr);
    EXPECT_EQ(probe.Find("video")->Packets, 75);
    EXPECT_NEAR(probe.Find("video")->Duration, 3.0, 0.001);
    ASSERT_NE(probe.Find("audio"), nullptr);
    // The sound encoder's delay and the padding of its last frame: less than one of its frames per segment.
    EXPECT_NEAR(probe.Find("audio")->Duration, 3.0, 3 * 1024.0 / 44100);
    // No gap or overlap at the joints: the pictures come at a steady rate.
    const std::vector<double> times = PacketTimes(Out("joined.mp4"), "v");
    ASSERT_EQ(times.size(), 75u);
    for (size_t i = 1; i < times.size(); ++i) EXPECT_NEAR(times[i] - times[i - 1], 0.04, 0.002) << i;
}

TEST_F(TranscodeConvertTest, TenJoinedClipsLastTheirSumWithoutPaddingAtTheJoints)
{
    struct TCase {
        const char* File;
        std::vector<std::pair<std::string, std::string>> Options;
    };
    const TCase cases[] = {{"joined10.avi", {}}, {"joined10.mp4", {{"vcodec", "libx264"}, {"acodec", "aac"}}}};
    const std::string input = Movie();
    const std::vector<std::string> inputs(10, input);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        TFFmpeg task(16);
        Convert(task, inputs, Out(c.File), c.Options, true);
        ASSERT_TRUE(task.Finished()) << task.FatalMessage();
        const TProbe probe = Probe(Out(c.File));
        const TProbedStream* video = probe.Find("video");
        const TProbedStream* audio = probe.Find("audio");
        ASSERT_NE(video, nullptr);
        ASSERT_NE(audio, nullptr);
        EXPECT_NEAR(video->Packets, 250, 1);
        EXPECT_NEAR(video->Duration > 0 ? video->Duration : probe.Duration, 10.0, 0.041);
        // The sound ends with one encoder's delay and padding, not ten.
        EXPECT_NEAR(audio->Duration > 0 ? audio->Duration : probe.Duration, 10.0, 0.075);
    }
}

TEST_F(TranscodeConvertTest, SoundAfterDamagedStretchesOfATransportStreamKeepsToItsPictures)
{
    // Whole stretches of the input are lost: the sound must go on at its own time stamps, as the ffmpeg tool's
    // does, not straight after the last sample before the loss.
    const std::string input = MediaFixture("damaged.ts");
    const std::string reference = Clip("damaged_tool.mkv", "-i '" + input + "' -c:v mpeg4 -c:a aac -f matroska");
    TFFmpeg task(4);
    Convert(task, {input}, Out("damaged.mkv"), {{"vcodec", "mpeg4"}, {"acodec", "aac"}});
    ASSERT_TRUE(task.Finished()) << task.FatalMessage();
    const std::vector<double> sound = PacketTimes(Out("damaged.mkv"), "a");
    const std::vector<double> pictures = PacketTimes(Out("damaged.mkv"), "v");
    const std::vector<double> tool_sound = PacketTimes(reference, "a");
    const std::vector<double> tool_pictures = PacketTimes(reference, "v");
    ASSERT_FALSE(sound.empty() || pictures.empty() || tool_sound.empty() || tool_pictures.empty());
    EXPECT_NEAR(sound.back(), tool_sound.back(), 0.04);
    EXPECT_NEAR(sound.back() - pictures.back(), tool_sound.back() - tool_pictures.back(), 0.04);
    // The losses stay gaps in the sound's time line, where the tool's output has them.
    auto gaps = [](const std::vector<double>& ATimes) {
        std::vector<double> starts;
        for (size_t i = 1; i < ATimes.size(); ++i)
            if (ATimes[i] - ATimes[i - 1] > 0.3) starts.push_back(ATimes[i]);
        return starts;
    };
    const std::vector<double> resumed = gaps(sound);
    const std::vector<double> tool_resumed = gaps(tool_sound);
    ASSERT_EQ(resumed.size(), tool_resumed.size());
    for (size_t i = 0; i < resumed.size(); ++i) EXPECT_NEAR(resumed[i], tool_resumed[i], 0.04) << i;
}

TEST_F(TranscodeConvertTest, PicturesOfAChangedSizeAreScaledToTheOutputSize)
{
    // As the ffmpeg tool does: the output keeps the size it started with, in a file that plays to its end.
    struct TCase {
        const char* File;
        std::vector<std::pair<std::string, std::string>> Options;
    };
    const TCase cases[] = {{"size_change.mp4", {{"vcodec", "libx264"}}}, {"size_change.avi", {}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        TFFmpeg task(4);
        Convert(task, {MediaFixture("size_change.ts")}, Out(c.File), c.Options);
        ASSERT_TRUE(task.Finished()) << task.FatalMessage();
        const TProbe probe = Probe(Out(c.File));
        const TProbedStream* video = probe.Find("video");
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->Width, 160);
        EXPECT_EQ(video->Height, 120);
        EXPECT_NEAR(video->Packets, 50, 1);
        EXPECT_NEAR(probe.Duration, 2.0, 0.05);
    }
}

TEST_F(TranscodeConvertTest, AFailedRunClosesWhatItWroteSoItPlays)
{
    // A failure half-way (here the audio hook gives up) still leaves an MP4 with its index, up to the failure.
    const std::string input = Clip("long_sound.mp4", "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i "
                                                     "sine=sample_rate=44100 -t 4 -c:v libx264 -preset ultrafast "
                                                     "-pix_fmt yuv420p -c:a aac -f mp4");
    TFFmpeg task(4);
    task.FOnAudioHook = [](TObject*, int64_t APTS, uint8_t*, int, int, int, AVSampleFormat) {
        if (APTS >= 2000000) throw Exception("The hook gave up");
    };
    Convert(task, {input}, Out("failed.mp4"), {{"vcodec", "libx264"}, {"acodec", "aac"}});
    EXPECT_FALSE(task.Finished());
    EXPECT_EQ(task.FatalMessage(), "The hook gave up");
    const TProbe probe = Probe(Out("failed.mp4"));
    const TProbedStream* video = probe.Find("video");
    ASSERT_NE(video, nullptr);
    EXPECT_GT(video->Packets, 10);
    EXPECT_GT(probe.Duration, 1.0);
    EXPECT_LT(probe.Duration, 3.0);
}

TEST_F(TranscodeConvertTest, AStopLeavesAPlayableFileAndAnUnfinishedTask)
{
    const std::string input = Clip("long.avi", "-f lavfi -i testsrc=size=160x120:rate=25 -t 4 -c:v mpeg4 -q:v 5 -f avi");
    TFFmpeg task(4);
    task.ReportInterval = 0;
    task.FOnProgress = [&](TObject*, int, int AFrame, int, float, float, int64_t, int64_t, int64_t) {
        if (AFrame >= 10) task.Stop(false);
    };
    Convert(task, {input}, Out("stopped.avi"), {});
    EXPECT_FALSE(task.Finished());
    EXPECT_FALSE(task.FatalException()) << task.FatalMessage();
    const TProbe probe = Probe(Out("stopped.avi"));
    ASSERT_EQ(probe.Streams.size(), 1u);
    EXPECT_GE(probe.Streams[0].Packets, 10);
    EXPECT_LT(probe.Streams[0].Packets, 100);
}

TEST_F(TranscodeConvertTest, AReadErrorInTheMiddleIsAFailure)
{
    // A peer that sends the first half of a stream and then resets the connection.
    const std::string input = Clip("long.ts", "-f lavfi -i testsrc=size=160x120:rate=25 -t 4 -c:v mpeg2video -f mpegts");
    std::ifstream file(input, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    socklen_t length = sizeof(address);
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    ASSERT_EQ(listen(listener, 1), 0);
    std::promise<void> opened;
    std::thread peer([&, ready = opened.get_future()]() mutable {
        const int connection = accept(listener, nullptr, nullptr);
        if (connection < 0) return;
        (void)!write(connection, bytes.data(), bytes.size() / 2);
        ready.wait();
        linger reset{1, 0};
        setsockopt(connection, SOL_SOCKET, SO_LINGER, &reset, sizeof(reset));
        close(connection);
    });
    TFFmpeg task(4);
    const std::string url = "tcp://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const bool input_opened = task.OpenInputFile(url);
    opened.set_value();
    peer.join();
    close(listener);
    ASSERT_TRUE(input_opened) << task.LastErrMsg();
    ASSERT_GT(task.OpenOutputFile(Out("broken.avi"), false), 0) << task.LastErrMsg();
    task.StartConvert(false);
    EXPECT_FALSE(task.Finished());
    EXPECT_TRUE(task.FatalException());
}

TEST_F(TranscodeConvertTest, AReencodedStreamDoesNotKeepTheInputsEncoderTag)
{
    TFFmpeg task(4);
    const std::string output = Out("encoder_tag.mkv");
    Convert(task, {MediaFixture("encoder_tag.mkv")}, output, {{"vcodec", "mpeg4"}});
    ASSERT_TRUE(task.Finished()) << task.FatalMessage();
    const std::string command = "ffprobe -v error -show_entries format_tags=encoder:stream_tags=encoder -of csv=p=0 '" +
                                output + "'";
    std::string tags;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[256];
    while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr) tags += buffer;
    pclose(pipe);
    EXPECT_EQ(tags.find("Other"), std::string::npos) << tags;
}

}  // namespace
