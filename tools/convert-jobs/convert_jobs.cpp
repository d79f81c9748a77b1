// Converts media files as the converter's Start command does, without a window: loads the shipped catalogue,
// adds the files as jobs, gives each its format and edits, runs the conversion with progress lines, and prints
// the events log at the end.
//
//   convert-jobs [--catalogue DIR] [--out DIR] [--merge] [--select N]
//                [--format PROFILE FORMAT] [--trim START END] [--crop LEFT TOP RIGHT BOTTOM] [--aspect 0..3]
//                [--brightness N] [--contrast N] [--saturation N] [--title NAME] FILE...
//
// --format stays in effect for the files after it; trim (seconds), crop (pixels), aspect, picture values and the
// output's title (the file name less its extension) apply to the next file only. --select names the job
// (1-based) whose format a merged file takes. The exit status is 0 when every job converted. An interrupt or a
// termination request cancels the run as its Cancel button does: no output of an unfinished job is left.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/add_files.h"
#include "app/catalogue.h"
#include "app/conversion_ffencoder.h"
#include "app/conversion_run.h"
#include "app/events_log.h"
#include "app/job_list.h"
#include "app/native_filters.h"
#include "app/startup_loading.h"
#include "media/loader/av_bindings.h"
#include "media/loader/engine.h"
#include "media/loader/library_loader.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/sysutils.h"
#include "tools/signal_stop.h"

namespace {

struct TJobEdits {
    bool Trim = false;
    double TrimStart = 0, TrimEnd = 0;
    int CropLeft = 0, CropTop = 0, CropRight = 0, CropBottom = 0;
    int AspectRatio = 0, Brightness = 0, Contrast = 0, Saturation = 0;
    std::string Title;
};

struct TJobRequest {
    std::string File;
    std::string Profile, Format;
    TJobEdits Edits;
};

struct TRequest {
    std::string Catalogue = QUENNARY_CATALOGUE_DIR;
    std::string Out = ".";
    bool Merge = false;
    int Select = 1;
    std::vector<TJobRequest> Jobs;
};

[[noreturn]] void Usage()
{
    std::fprintf(stderr,
                 "usage: convert-jobs [--catalogue DIR] [--out DIR] [--merge] [--select N]\n"
                 "                    [--format PROFILE FORMAT] [--trim START END] [--crop L T R B] [--aspect 0..3]\n"
                 "                    [--brightness N] [--contrast N] [--saturation N] [--title NAME] FILE...\n");
    std::exit(2);
}

TRequest ParseArguments(int argc, char** argv)
{
    TRequest request;
    std::string profile = "All Profiles", format;
    TJobEdits edits;
    int i = 1;
    auto next = [&]() -> std::string {
        if (i + 1 >= argc) Usage();
        return argv[++i];
    };
    auto next_int = [&]() { return StrToInt(next()); };
    for (; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--catalogue") request.Catalogue = next();
        else if (argument == "--out") request.Out = next();
        else if (argument == "--merge") request.Merge = true;
        else if (argument == "--select") request.Select = next_int();
        else if (argument == "--format") { profile = next(); format = next(); }
        else if (argument == "--trim") { edits.Trim = true; edits.TrimStart = StrToFloat(next()); edits.TrimEnd = StrToFloat(next()); }
        else if (argument == "--crop") {
            edits.CropLeft = next_int();
            edits.CropTop = next_int();
            edits.CropRight = next_int();
            edits.CropBottom = next_int();
        }
        else if (argument == "--aspect") edits.AspectRatio = next_int();
        else if (argument == "--brightness") edits.Brightness = next_int();
        else if (argument == "--contrast") edits.Contrast = next_int();
        else if (argument == "--saturation") edits.Saturation = next_int();
        else if (argument == "--title") edits.Title = next();
        else if (argument.rfind("--", 0) == 0) Usage();
        else {
            request.Jobs.push_back({argument, profile, format, edits});
            edits = TJobEdits();
        }
    }
    if (request.Jobs.empty() || format.empty()) Usage();
    return request;
}

bool FindFormat(const TCatalogue& ACatalogue, const TJobRequest& AJob, TFormatIndex& AIndex)
{
    for (size_t p = 0; p < ACatalogue.Profiles.size(); ++p) {
        if (ACatalogue.Profiles[p].Title != AJob.Profile) continue;
        const std::vector<TFormat>& formats = ACatalogue.Profiles[p].Formats;
        for (size_t f = 0; f < formats.size(); ++f)
            if (formats[f].Title == AJob.Format) {
                AIndex = {static_cast<int>(p), static_cast<int>(f)};
                return true;
            }
    }
    return false;
}

void ApplyEdits(TVideoFile& AJob, const TJobEdits& AEdits)
{
    if (AEdits.Trim) {
        AJob.TimeStart = static_cast<int64_t>(AEdits.TrimStart * 1e6);
        AJob.TimeEnd = static_cast<int64_t>(AEdits.TrimEnd * 1e6);
        AJob.TrimmedLength = AJob.TimeEnd - AJob.TimeStart;
    }
    AJob.CropLeft = AEdits.CropLeft;
    AJob.CropTop = AEdits.CropTop;
    AJob.CropRight = AEdits.CropRight;
    AJob.CropBottom = AEdits.CropBottom;
    AJob.AspectRatio = AEdits.AspectRatio;
    AJob.Brightness = AEdits.Brightness;
    AJob.Contrast = AEdits.Contrast;
    AJob.Saturation = AEdits.Saturation;
    if (!AEdits.Title.empty()) AJob.DestinationTitle = AEdits.Title;
}

// The "Conversion" dialog as lines on the terminal; a line whenever the gauges or the label change.
class TConsoleView final : public TConversionView {
public:
    void ShowRun() override {}
    void CloseRun() override {}
    void SetGauges(int ATotal, int ACurrent) override
    {
        if (ATotal == FTotal && ACurrent == FCurrent) return;
        FTotal = ATotal;
        FCurrent = ACurrent;
        Print();
    }
    void SetLabel(const std::string& AText) override
    {
        if (AText == FLabel) return;
        FLabel = AText;
        Print();
    }
    void SetPauseCaption(const std::string&) override {}
    bool ShutdownChosen() const override { return false; }
    bool OpenOutputChosen() const override { return false; }

private:
    void Print()
    {
        std::printf("total %3d%%  current %3d%%  %s\n", FTotal, FCurrent, FLabel.c_str());
        std::fflush(stdout);
    }
    int FTotal = 0, FCurrent = 0;
    std::string FLabel;
};

int Convert(const TRequest& ARequest, const TSignalStop& AStop)
{
    TCatalogue catalogue;
    TSettings settings;
    TStartupLoading loading(catalogue, settings);
    loading.OnReportError = [](const std::string& AText, const std::string& AMark) {
        std::fprintf(stderr, "%s: %s\n", AMark.c_str(), AText.c_str());
    };
    loading.ReadShippedCatalogue(ARequest.Catalogue);

    RegisterEqFilter();
    RegisterHueFilter();
    TFFEncoder encoder(nullptr);
    TJobList jobs(catalogue);
    TEventsLog log;
    TFileAdder adder(jobs, *encoder.Decoder(), log, catalogue);
    adder.ShowMessage = [](const std::string& AText) { std::fprintf(stderr, "%s\n", AText.c_str()); };
    for (const TJobRequest& request : ARequest.Jobs) {
        if (!FindFormat(catalogue, request, catalogue.Current)) {
            std::fprintf(stderr, "no format \"%s\" in profile \"%s\"\n", request.Format.c_str(), request.Profile.c_str());
            return 2;
        }
        if (!adder.AddMediaFile(request.File)) continue;
        ApplyEdits(jobs.Job(jobs.Count() - 1), request.Edits);
        jobs.EstimateOutputSize(jobs.Count() - 1);
    }
    jobs.SetRow(ARequest.Select);

    TEncoderConversionLink link(encoder);
    TConsoleView view;
    TConversion run(link, jobs, catalogue, log, view);
    run.Merge = ARequest.Merge;
    run.OnReportError = [](const std::string& AText, const std::string& AMark) {
        std::fprintf(stderr, "%s: %s\n", AMark.c_str(), AText.c_str());
    };
    run.Desktop.ShowWarning = [](const std::string& AText) { std::fprintf(stderr, "%s\n", AText.c_str()); };
    run.Desktop.StopPreview = [] {};
    run.Desktop.OpenFolder = [](const std::string&) {};
    run.Desktop.SaveSettings = [] {};
    run.Desktop.ShutDown = [] { throw Exception("a tool does not shut the computer down"); };
    bool cancelled = false;
    if (!AStop.Requested() && run.Start(ARequest.Out))
        while (run.Running()) {
            CheckSynchronize(100);
            if (AStop.Requested() && !cancelled && run.Running()) {
                cancelled = true;
                run.CancelButtonClick();
            }
        }
    for (const std::string& line : log.Lines()) std::printf("%s\n", line.c_str());
    return run.Succeeded() && jobs.Count() == static_cast<int>(ARequest.Jobs.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    TSignalStop stop;
    TRequest request;
    try {
        request = ParseArguments(argc, argv);
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.Message().c_str());
        Usage();
    }
    StartMediaEngine();
    int status = 1;
    if (!FFLoader->Load(AllLibraries)) {
        std::fprintf(stderr, "%s\n", TFFLoader::LastErrMsg().c_str());
    } else {
        ff::av_log_set_level(AV_LOG_ERROR);
        try {
            status = Convert(request, stop);
        } catch (const Exception& e) {
            std::fprintf(stderr, "%s\n", e.Message().c_str());
        }
    }
    StopMediaEngine();
    return status;
}
