// Adding 300 generated 720p clips (MP4 with H.264 and AAC at 25 frames a second, MKV with MPEG-4 and MP3 at 24,
// AVI with MPEG-4 and MP3 at 29.97) to the job list through the converter's add path, which probes several files
// at a time, beside three peers over the same files:
// - the add path one file after another through the encoder's decoder (how files were added before);
// - an in-process probe: FFmpeg's avformat_open_input, avformat_find_stream_info and avformat_close_input per
//   file, one after another, in this process with the libraries loaded (the floor of a sequential probe);
// - a loop of `ffprobe` processes (its time is mostly process start-up).
// Each contender runs once per round, the rounds alternate the contenders, and the medians are compared.
// Run: bench_add_files [files (300)] [rounds (5)]; the last line is the add path's median over the in-process
// probe's.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/add_files.h"
#include "app/catalogue.h"
#include "app/events_log.h"
#include "app/job_list.h"
#include "media/encoder/encoder.h"
#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"

extern char** environ;

namespace {

struct TShape {
    const char* Name;
    const char* FfmpegArguments;
};

// Two seconds each.
const TShape kShapes[] = {
    {"movie-25fps.mp4",
     "-f lavfi -i testsrc=size=1280x720:rate=25 -f lavfi -i sine=sample_rate=44100 -t 2 "
     "-c:v libx264 -preset ultrafast -c:a aac -shortest"},
    {"film-24fps.mkv",
     "-f lavfi -i testsrc=size=1280x720:rate=24 -f lavfi -i sine=sample_rate=48000 -t 2 "
     "-c:v mpeg4 -q:v 5 -c:a libmp3lame -shortest"},
    {"video-29.97fps.avi",
     "-f lavfi -i testsrc=size=1280x720:rate=30000/1001 -f lavfi -i sine=sample_rate=44100 -t 2 "
     "-c:v mpeg4 -q:v 5 -c:a libmp3lame -shortest"},
};

// The clips, made once into a temporary folder by Debian's `ffmpeg` tool and copied under AFiles names.
struct TFolder {
    std::string Path;
    std::vector<std::string> Files;
    explicit TFolder(int AFiles)
    {
        char pattern[] = "/tmp/quennary-bench-add-files-XXXXXX";
        Path = mkdtemp(pattern);
        for (const TShape& shape : kShapes) {
            const std::string command = std::string("ffmpeg -nostdin -hide_banner -loglevel error -y ") +
                                        shape.FfmpegArguments + " '" + Path + "/" + shape.Name + "'";
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "making a clip failed: %s\n", command.c_str());
                std::exit(2);
            }
        }
        for (int i = 0; i < AFiles; ++i) {
            const std::string shape = kShapes[i % std::size(kShapes)].Name;
            const std::string copy = Path + "/" + std::to_string(i) + " " + shape;
            std::filesystem::copy_file(Path + "/" + shape, copy);
            Files.push_back(copy);
        }
    }
    ~TFolder() { std::filesystem::remove_all(Path); }
};

// One format: 1000 kbit/s of video and 128 kbit/s of sound, so that every job gets an estimate.
TCatalogue OneFormat()
{
    TCatalogue catalogue;
    catalogue.Profiles.resize(1);
    catalogue.Profiles[0].Formats.resize(1);
    catalogue.Profiles[0].Formats[0].VideoBitRate = "1000000";
    catalogue.Profiles[0].Formats[0].AudioBitRate = "128000";
    return catalogue;
}

// Each contender answers whether every file went through.
struct TContender {
    const char* Name;
    std::function<bool(const std::vector<std::string>&)> Run;
    std::vector<double> Seconds;
};

bool AddPath(const std::vector<std::string>& AFiles, bool AOneByOne)
{
    static const TCatalogue catalogue = OneFormat();
    TJobList jobs(catalogue);
    TEventsLog log;
    TFFEncoder encoder(nullptr);
    TFileAdder adder(jobs, *encoder.Decoder(), log, catalogue);
    bool refused = false;
    adder.ShowMessage = [&refused](const std::string&) { refused = true; };
    if (AOneByOne) {
        for (const std::string& file : AFiles) adder.AddMediaFile(file);
        jobs.SetRow(jobs.Count());
    } else {
        adder.AddChosenFiles(AFiles);
    }
    return !refused && jobs.Count() == static_cast<int>(AFiles.size());
}

bool InProcessProbe(const std::vector<std::string>& AFiles)
{
    for (const std::string& file : AFiles) {
        AVFormatContext* context = nullptr;
        if (ff::avformat_open_input(&context, file.c_str(), nullptr, nullptr) < 0) return false;
        const bool found = ff::avformat_find_stream_info(context, nullptr) >= 0;
        ff::avformat_close_input(&context);
        if (!found) return false;
    }
    return true;
}

bool FfprobeLoop(const std::vector<std::string>& AFiles)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    bool ok = true;
    for (const std::string& file : AFiles) {
        char* argv[] = {const_cast<char*>("ffprobe"), const_cast<char*>(file.c_str()), nullptr};
        pid_t pid = 0;
        int status = 0;
        if (posix_spawnp(&pid, "ffprobe", &actions, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            ok = false;
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return ok;
}

double Median(std::vector<double> AValues)
{
    std::sort(AValues.begin(), AValues.end());
    const size_t n = AValues.size();
    return n % 2 ? AValues[n / 2] : (AValues[n / 2 - 1] + AValues[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 300;
    const int rounds = argc > 2 ? std::max(std::atoi(argv[2]), 1) : 5;
    StartMediaEngine();
    if (!FFLoader->Load(AllLibraries)) {
        std::fprintf(stderr, "%s\n", TFFLoader::LastErrMsg().c_str());
        return 1;
    }
    int status = 0;
    {
        const TFolder folder(files);
        TContender contenders[] = {
            {"add path (probing in parallel)", [](const auto& AFiles) { return AddPath(AFiles, false); }, {}},
            {"add path one by one (before)", [](const auto& AFiles) { return AddPath(AFiles, true); }, {}},
            {"in-process probe, one by one", InProcessProbe, {}},
            {"ffprobe loop", FfprobeLoop, {}},
        };
        // A warm-up round reads the files into the page cache for all alike.
        InProcessProbe(folder.Files);
        for (int round = 0; round < rounds && status == 0; ++round) {
            for (TContender& contender : contenders) {
                const auto start = std::chrono::steady_clock::now();
                const bool ok = contender.Run(folder.Files);
                contender.Seconds.push_back(
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
                if (!ok) {
                    std::fprintf(stderr, "%s did not take every file\n", contender.Name);
                    status = 1;
                }
            }
        }
        if (status == 0) {
            std::printf("%d files of 1280x720, %d alternating rounds, %u cores; median wall time:\n", files, rounds,
                        std::thread::hardware_concurrency());
            for (const TContender& contender : contenders)
                std::printf("  %-34s %9.1f ms  (%.2f ms a file)\n", contender.Name,
                            Median(contender.Seconds) * 1000, Median(contender.Seconds) * 1000 / files);
            const double pooled = Median(contenders[0].Seconds);
            std::printf("add path one by one / add path: %.2f\n", Median(contenders[1].Seconds) / pooled);
            std::printf("add path / ffprobe loop: %.4f\n", pooled / Median(contenders[3].Seconds));
            std::printf("add path / in-process probe one by one: %.4f\n", pooled / Median(contenders[2].Seconds));
        }
    }
    StopMediaEngine();
    return status;
}
