// Runs one conversion task in the foreground and prints its progress.
//
//   transcode IN... OUT [-name value]... [-join]
//
// Options are the transcoder's own (vcodec, acodec, t, ar, vfilters, map, ...); "-ss" and "-itsoffset" apply to
// the inputs, every other option to the output. "-join" joins the inputs into one output. An interrupt or a
// termination request stops the conversion with its output finished; the exit code is 0 only when it finished.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/log/ff_logger.h"
#include "media/transcode/ffmpeg.h"
#include "tools/signal_stop.h"

int main(int argc, char** argv)
{
    TSignalStop stop;
    std::vector<std::string> files;
    std::vector<std::pair<std::string, std::string>> input_options;
    std::vector<std::pair<std::string, std::string>> output_options;
    bool join = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.size() < 2 || argument[0] != '-') {
            files.push_back(argument);
            continue;
        }
        const std::string name = argument.substr(1);
        if (name == "join") {
            join = true;
            continue;
        }
        std::string value;
        if (i + 1 < argc && (argv[i + 1][0] != '-' || argv[i + 1][1] == '\0' ||
                             (argv[i + 1][1] >= '0' && argv[i + 1][1] <= '9')))
            value = argv[++i];
        (name == "ss" || name == "itsoffset" ? input_options : output_options).emplace_back(name, value);
    }
    if (files.size() < 2) {
        std::fprintf(stderr, "usage: transcode IN... OUT [-name value]... [-join]\n");
        return 2;
    }
    StartMediaEngine();
    int status = 1;
    if (!FFLoader->Load(AllLibraries)) {
        std::fprintf(stderr, "%s\n", TFFLoader::LastErrMsg().c_str());
    } else {
        ff::av_log_set_level(AV_LOG_ERROR);
        auto* logger = new TFFLogger(nullptr);
        logger->SetTriggerEventInMainThread(false);
        logger->SetLogLevel(llInfo);
        logger->OnLog = [](TObject*, Cardinal, TLogLevel, const std::string& AText) {
            std::fprintf(stderr, "%s\n", AText.c_str());
        };
        {
            TFFmpeg task(64);
            task.FOnProgress = [&](TObject*, int AFile, int AFrame, int AFps, float AQuality, float ABitRate,
                                  int64_t ASize, int64_t ACurrent, int64_t ATotal) {
                std::printf("file=%d frame=%5d fps=%3d q=%4.1f size=%8.0fkB time=%0.2f/%0.2f bitrate=%6.1fkbits/s\n",
                            AFile, AFrame, AFps, AQuality, ASize / 1024.0, ACurrent / 1e6,
                            ATotal > 0 ? ATotal / 1e6 : 0.0, ABitRate);
                std::fflush(stdout);
                // A request that came while the run was being set up.
                if (stop.Requested()) task.Stop(false);
            };
            bool ready = true;
            try {
                for (const auto& [name, value] : input_options) task.SetExtOption(name, value);
                for (size_t i = 0; ready && i + 1 < files.size(); ++i) {
                    ready = task.OpenInputFile(files[i]);
                    if (!ready) std::fprintf(stderr, "%s\n", task.LastErrMsg().c_str());
                }
                if (ready) {
                    for (const auto& [name, value] : output_options) task.SetExtOption(name, value);
                    ready = task.OpenOutputFile(files.back(), join) > 0;
                    if (!ready) std::fprintf(stderr, "%s\n", task.LastErrMsg().c_str());
                }
                if (ready) task.PrepareJoin();
            } catch (const Exception& e) {
                std::fprintf(stderr, "%s\n", e.Message().c_str());
                ready = false;
            }
            stop.SetOnStop([&task] { task.Stop(false); });
            if (ready && !stop.Requested()) {
                task.StartConvert(false);
                if (task.Finished()) status = 0;
                else if (task.FatalException()) std::fprintf(stderr, "failed: %s\n", task.FatalMessage().c_str());
                else if (stop.Requested()) std::fprintf(stderr, "stopped\n");
            }
            stop.SetOnStop(nullptr);
        }
        delete logger;
    }
    StopMediaEngine();
    return status;
}
