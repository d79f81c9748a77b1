// Converts files through the encoder component, the way the converter does, and prints what its events say.
//
//   encode [-j N] [-interval MS] TASK [+ TASK]...
//   TASK:  IN... OUT [name=value]... [in:name=value]...
//
// Each task converts its inputs into OUT. "name=value" arguments are option lines of the output (vcodec,
// acodec, ab, preset, threads, ...), "in:name=value" ones option lines of every input of that task. -j runs up
// to N tasks at once on threads of their own (default 1); -j 0 runs them in turn on this thread. The exit code
// is 0 when every task finished, 1 when one did not, 2 for a bad command line or a task that could not be set up.
// An interrupt or a termination request stops the tasks with their outputs finished.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "media/encoder/encoder.h"
#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "media/log/ff_logger.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"
#include "tools/signal_stop.h"

namespace {

struct TTaskLine {
    std::vector<std::string> Files;
    std::string InputOptions;
    std::string OutputOptions;
};

int Usage()
{
    std::fprintf(stderr, "usage: encode [-j N] [-interval MS] IN... OUT [name=value]... [in:name=value]... "
                         "[+ IN... OUT ...]...\n");
    return 2;
}

// False when a task could not be set up; the reason is printed.
bool AddTasks(TFFEncoder& AEncoder, const std::vector<TTaskLine>& ATasks)
{
    for (const TTaskLine& line : ATasks) {
        const std::vector<std::string> inputs(line.Files.begin(), line.Files.end() - 1);
        const int index = AEncoder.AddTask(inputs.front(), line.InputOptions);
        bool ready = index >= 0;
        for (size_t i = 1; ready && i < inputs.size(); ++i)
            ready = AEncoder.AddInputFile(index, inputs[i], line.InputOptions);
        if (ready) ready = AEncoder.SetOutputFile(index, line.Files.back(), line.OutputOptions);
        if (!ready) {
            std::fprintf(stderr, "%s\n", AEncoder.LastErrMsg().c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    TSignalStop stop;
    int threads = 1;
    int interval = 500;
    std::vector<TTaskLine> tasks(1);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "-j" || argument == "-interval") && i + 1 < argc) {
            (argument == "-j" ? threads : interval) = StrToIntDef(argv[++i], -1);
        } else if (argument == "+") {
            tasks.emplace_back();
        } else if (argument.rfind("in:", 0) == 0 && argument.find('=') != std::string::npos) {
            tasks.back().InputOptions += argument.substr(3) + "\n";
        } else if (argument.find('=') != std::string::npos && argument.find('/') == std::string::npos) {
            tasks.back().OutputOptions += argument + "\n";
        } else {
            tasks.back().Files.push_back(argument);
        }
    }
    if (threads < 0 || interval < 0) return Usage();
    for (const TTaskLine& line : tasks)
        if (line.Files.size() < 2) return Usage();

    StartMediaEngine();
    int status = 2;
    TFFLogger* logger = nullptr;
    if (!FFLoader->Load(AllLibraries)) {
        std::fprintf(stderr, "%s\n", TFFLoader::LastErrMsg().c_str());
    } else {
        ff::av_log_set_level(AV_LOG_ERROR);
        logger = new TFFLogger(nullptr);
        logger->SetTriggerEventInMainThread(false);
        logger->SetLogLevel(llError);
        logger->OnLog = [](TObject*, Cardinal, TLogLevel, const std::string& AText) {
            std::fprintf(stderr, "%s\n", AText.c_str());
        };
        bool all_finished = true;  // outlives the encoder, whose last event may still be on its way out
        TFFEncoder encoder(nullptr);
        encoder.SetProgressInterval(interval);
        encoder.OnProgress = [](TObject*, PProgressInfo AInfo) {
            std::printf("task=%d file=%d frame=%5d fps=%3d q=%4.1f size=%8.0fkB time=%0.2f/%0.2f "
                        "bitrate=%6.1fkbits/s\n",
                        AInfo->TaskIndex, AInfo->FileIndex, AInfo->FrameNumber, AInfo->FPS, AInfo->Quality,
                        AInfo->CurrentSize / 1024.0, AInfo->CurrentDuration / 1e6,
                        AInfo->TotalDuration > 0 ? AInfo->TotalDuration / 1e6 : 0.0, AInfo->BitRate);
            std::fflush(stdout);
        };
        encoder.OnTerminate = [&all_finished](TObject*, const TTerminateInfo& AInfo) {
            if (!AInfo.Finished) all_finished = false;
            std::printf("end task=%d finished=%d exception=%d message=\"%s\"\n", AInfo.TaskIndex, AInfo.Finished,
                        AInfo.Exception, AInfo.ExceptionMsg.c_str());
            std::fflush(stdout);
        };
        if (AddTasks(encoder, tasks) && !stop.Requested()) {
            // Progress handlers are handed to this thread, so it waits by running them; with -j 0 the tasks run
            // on it as well, and the stop comes from the progress handler.
            bool stopped = false;
            auto stop_once = [&] {
                if (!stop.Requested() || stopped) return;
                stopped = true;
                encoder.Stop(false);
            };
            encoder.OnProgress = [print = encoder.OnProgress, &stop_once](TObject* ASender, PProgressInfo AInfo) {
                print(ASender, AInfo);
                stop_once();
            };
            encoder.Start(threads);
            WaitForWithSlices([&] {
                stop_once();
                return encoder.Terminated();
            }, 20);
            status = all_finished ? 0 : 1;
        }
    }
    delete logger;
    StopMediaEngine();
    return status;
}
