// The conversion tools stopped by an interrupt or a termination request half-way: the output they leave is
// finished (an MP4 with its index), and the exit code says the conversion did not end.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/rtl/sysutils.h"
#include "tests/media/transcode_test_clips.h"

namespace {

const std::string WorkFolder = QUENNARY_BINARY_DIR "/tests/media/transcode_tools";

// Starts AArguments with its standard output on a pipe; answers the process and the pipe's read end.
pid_t Spawn(const std::vector<std::string>& AArguments, FILE*& AOutput)
{
    int channel[2];
    if (pipe(channel) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        close(channel[0]);
        close(channel[1]);
        std::vector<char*> argv;
        for (const std::string& argument : AArguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(channel[1]);
    AOutput = fdopen(channel[0], "r");
    return child;
}

struct TProbed {
    int Packets = 0;
    double Duration = 0;
};

TProbed ProbeVideo(const std::string& AFile)
{
    TProbed probed;
    const std::string command = "ffprobe -v error -select_streams v -count_packets -show_entries "
                                "stream=nb_read_packets:format=duration -of csv=p=0 '" + AFile + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return probed;
    if (std::fscanf(pipe, "%d %lf", &probed.Packets, &probed.Duration) != 2) probed = {};
    pclose(pipe);
    return probed;
}

TEST(TranscodeToolsTest, AnInterruptedToolLeavesAFinishedOutput)
{
    // Read at the speed it plays, so that the signal comes long before the end.
    const std::string input = MakeClip(WorkFolder, "twenty.avi",
                                       "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=sample_rate=44100 "
                                       "-t 20 -c:v mpeg4 -q:v 5 -c:a pcm_s16le -f avi");
    struct TCase {
        const char* Name;
        int Signal;
        std::vector<std::string> Before;  // the tool and what comes before the output's name
        std::string Output;
        std::vector<std::string> After;
    };
    const TCase cases[] = {
        {"transcode", SIGINT, {QUENNARY_TRANSCODE_TOOL, input}, "transcode.mp4",
         {"-re", "-vcodec", "mpeg4", "-acodec", "aac"}},
        {"encode", SIGTERM, {QUENNARY_ENCODE_TOOL, "-interval", "100", input}, "encode.mp4",
         {"vcodec=mpeg4", "acodec=aac", "in:re=1"}},
        {"encode on this thread", SIGINT, {QUENNARY_ENCODE_TOOL, "-j", "0", "-interval", "100", input},
         "encode0.mp4", {"vcodec=mpeg4", "acodec=aac", "in:re=1"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string output = WorkFolder + "/" + c.Output;
        std::vector<std::string> arguments = c.Before;
        arguments.push_back(output);
        arguments.insert(arguments.end(), c.After.begin(), c.After.end());
        DeleteFile(output);
        FILE* progress = nullptr;
        const pid_t child = Spawn(arguments, progress);
        ASSERT_GT(child, 0);
        ASSERT_NE(progress, nullptr);
        // The first progress line: the conversion is under way.
        char line[512];
        const bool started = std::fgets(line, sizeof(line), progress) != nullptr;
        kill(child, c.Signal);
        while (std::fgets(line, sizeof(line), progress) != nullptr) {
        }
        std::fclose(progress);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(started);
        ASSERT_TRUE(WIFEXITED(status)) << status;
        EXPECT_EQ(WEXITSTATUS(status), 1);
        const TProbed probed = ProbeVideo(output);
        EXPECT_GT(probed.Packets, 0);
        EXPECT_GT(probed.Duration, 0.0);
        EXPECT_LT(probed.Duration, 15.0);
    }
}

}  // namespace
