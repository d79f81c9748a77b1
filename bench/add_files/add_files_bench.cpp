// Adding 100 media files to the job list through the converter's add path (the encoder's decoder probes each
// file, the job is made and logged) beside `ffprobe` run once per file over the same 100 files. The add path's
// time should stay within 0.3 times that of the ffprobe loop: both open and probe every file, but the converter
// does it in one process whose media libraries are already loaded.
// The files are short clips of mixed shapes (video with audio at 25, 24 and 29.97 frames a second in MP4, MKV
// and AVI, an MP3 with cover art, an M4A), generated once into a temporary folder by Debian's `ffmpeg` tool and
// copied under 100 names.
// Run: bench_add_files (the ratio of the medians is printed after the table).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/add_files.h"
#include "app/catalogue.h"
#include "app/events_log.h"
#include "app/job_list.h"
#include "media/encoder/encoder.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"

extern char** environ;

namespace {

constexpr int kFiles = 100;

struct TShape {
    const char* Name;
    const char* FfmpegArguments;
};

// Two seconds each; small pictures keep the generation quick, probing does not depend on the picture size.
const TShape kShapes[] = {
    {"movie-25fps.mp4",
     "-f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=sample_rate=44100 -t 2 "
     "-c:v libx264 -preset ultrafast -c:a aac -shortest"},
    {"film-24fps.mkv",
     "-f lavfi -i testsrc=size=320x180:rate=24 -f lavfi -i sine=sample_rate=48000 -t 2 "
     "-c:v mpeg4 -q:v 5 -c:a libmp3lame -shortest"},
    {"video-29.97fps.avi",
     "-f lavfi -i testsrc=size=320x240:rate=30000/1001 -f lavfi -i sine=sample_rate=44100 -t 2 "
     "-c:v mpeg4 -q:v 5 -c:a libmp3lame -shortest"},
    {"song-cover.mp3",
     "-f lavfi -i sine=sample_rate=44100 -f lavfi -i color=c=red:size=64x64 -t 2 -frames:v 1 "
     "-map 0:a -map 1:v -c:a libmp3lame -c:v mjpeg -disposition:v attached_pic"},
    {"sound.m4a", "-f lavfi -i sine=sample_rate=48000 -t 2 -c:a aac"},
};

// The 100 files, made once for both benchmarks and removed at exit.
const std::vector<std::string>& Files()
{
    static struct TFolder {
        std::string Path;
        std::vector<std::string> Files;
        TFolder()
        {
            char pattern[] = "/tmp/quennary-bench-add-files-XXXXXX";
            Path = mkdtemp(pattern);
            for (const TShape& shape : kShapes) {
                const std::string command = std::string("ffmpeg -nostdin -hide_banner -loglevel error -y ") +
                                            shape.FfmpegArguments + " '" + Path + "/" + shape.Name + "'";
                if (std::system(command.c_str()) != 0) {
                    std::fprintf(stderr, "making a fixture failed: %s\n", command.c_str());
                    std::exit(2);
                }
            }
            for (int i = 0; i < kFiles; ++i) {
                const std::string shape = kShapes[i % std::size(kShapes)].Name;
                const std::string copy = Path + "/" + std::to_string(i) + " " + shape;
                std::filesystem::copy_file(Path + "/" + shape, copy);
                Files.push_back(copy);
            }
        }
        ~TFolder() { std::filesystem::remove_all(Path); }
    } folder;
    return folder.Files;
}

void FfprobeLoop(benchmark::State& state)
{
    const std::vector<std::string>& files = Files();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        for (const std::string& file : files) {
            char* argv[] = {const_cast<char*>("ffprobe"), const_cast<char*>(file.c_str()), nullptr};
            pid_t pid = 0;
            int status = 0;
            if (posix_spawnp(&pid, "ffprobe", &actions, nullptr, argv, environ) != 0 ||
                waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                state.SkipWithError("ffprobe failed");
                break;
            }
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["files"] = static_cast<double>(files.size());
}

void AddFilesToJobList(benchmark::State& state)
{
    const std::vector<std::string>& files = Files();
    TCatalogue catalogue;
    catalogue.Profiles.resize(1);
    catalogue.Profiles[0].Formats.resize(1);
    catalogue.Profiles[0].Formats[0].VideoBitRate = "1000000";
    catalogue.Profiles[0].Formats[0].AudioBitRate = "128000";
    TJobList jobs(catalogue);
    TEventsLog log;
    TFFEncoder encoder(nullptr);
    TFileAdder adder(jobs, *encoder.Decoder(), log, catalogue);
    std::string refused;
    adder.ShowMessage = [&refused](const std::string& AText) { refused = AText; };
    int added = 0;
    for (auto _ : state) {
        added = adder.AddChosenFiles(files);
        state.PauseTiming();
        if (added != kFiles) {
            state.SkipWithError(("not every file was added: " + refused).c_str());
            break;
        }
        jobs.ClearAll();
        state.ResumeTiming();
    }
    state.counters["files"] = added;
}

// One pass of the ffprobe loop takes seconds: three of them give a stable median.
BENCHMARK(FfprobeLoop)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);
BENCHMARK(AddFilesToJobList)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Prints the add path's median wall time over the ffprobe loop's after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& AReports) override
    {
        ConsoleReporter::ReportRuns(AReports);
        for (const Run& run : AReports)
            if (run.aggregate_name == "median")
                FMedians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double peer = FMedians["FfprobeLoop"];
        if (peer > 0 && FMedians.count("AddFilesToJobList"))
            std::printf("\nadd path / ffprobe loop (median wall time; the goal is at most 0.30): %.4f\n",
                        FMedians["AddFilesToJobList"] / peer);
    }

private:
    std::map<std::string, double> FMedians;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    StartMediaEngine();
    if (!FFLoader->Load(AllLibraries)) {
        std::fprintf(stderr, "%s\n", TFFLoader::LastErrMsg().c_str());
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    StopMediaEngine();
    return 0;
}
