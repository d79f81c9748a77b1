// Repaints of one page of a string grid laid out like the job list (name, format, duration, size, status), with
// Latin file names beside the same page with names in Arabic, Hebrew, Devanagari, CJK and with emoji, and beside the
// Latin names made to take the shaped path (an invisible left-to-right mark after each name): the first pair shows
// what shaping costs a page of names, the last what the one-glyph-per-character path saves on Latin text.
// Run: bench_text (five repetitions each; the ratios of the medians are printed after the table, mixed/Latin last).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "skin/dialogs/grids/string_grid.h"

namespace {

constexpr Integer kRows = 24;

const std::vector<std::string> kLatin = {
    "Holiday in Lisbon 2024.mp4", "Interview - final cut.mov", "Concert (live).mkv",  "Birthday party.avi",
    "Lecture 07 - Algebra.webm",  "Drone flight over hills.mp4", "Kids at the beach.mov", "Wedding highlights.mkv",
};
const std::vector<std::string> kMixed = {
    "\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645.mp4",
    "\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD - final cut.mov",
    "\u0915\u094D\u0937\u0924\u094D\u0930\u093F\u092F \u0938\u0902\u0917\u0940\u0924 (live).mkv",
    "\u8A95\u751F\u65E5\u30D1\u30FC\u30C6\u30A3\u30FC.avi",
    "Lecture 07 \u2014 \u0627\u0644\u062C\u0628\u0631.webm",
    "Drone \U0001F681 over hills.mp4",
    "\u0420\u0435\u0431\u044F\u0442\u0430 \u043D\u0430 \u043F\u043B\u044F\u0436\u0435.mov",
    "\uD68C\uC758 \u05D3\u05D5\"\u05D7 2024.mkv",
};

struct Stage {
    headless::THeadlessBackend Display;
    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
    TspSkinStringGrid* Grid = nullptr;

    // ASuffix goes after every name.
    Stage(const std::vector<std::string>& ANames, const std::string& ASuffix)
    {
        win::SetBackend(&Display);
        App = std::make_unique<TApplication>(nullptr);
        Form = new TForm(App.get());
        Form->SetBoundsRect(Bounds(0, 0, 760, 520));
        Grid = new TspSkinStringGrid(Form);
        Grid->SetBounds(0, 0, 740, 500);
        Grid->SetParent(Form);
        Grid->SetColCount(5);
        Grid->SetRowCount(kRows);
        Grid->SetColWidths(0, 320);
        Grid->SetOptions(TGridOptions(DefaultGridOptions).Include(goRowSelect));
        for (Integer r = 0; r < kRows; ++r) {
            Grid->SetCellText(0, r, ANames[size_t(r) % ANames.size()] + ASuffix);
            Grid->SetCellText(1, r, "MP4 H.264 / AAC");
            Grid->SetCellText(2, r, "00:0" + std::to_string(r % 10) + ":42");
            Grid->SetCellText(3, r, std::to_string(10 + r * 7) + " MB");
            Grid->SetCellText(4, r, r % 3 == 0 ? "Done" : "Waiting");
        }
        Form->Show();
        headless::THeadlessBackend::ProcessMessages();
    }
    ~Stage()
    {
        App.reset();
        headless::THeadlessBackend::ProcessMessages();
        win::SetBackend(nullptr);
    }
};

void PaintPage(benchmark::State& state, const std::vector<std::string>& ANames, const std::string& ASuffix)
{
    Stage stage(ANames, ASuffix);
    for (auto _ : state) {
        stage.Grid->Invalidate();
        stage.Grid->Update();
    }
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                Times[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
    std::map<std::string, double> Times;
};

void Settings(benchmark::internal::Benchmark* ABenchmark)
{
    ABenchmark->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("JobPage/latin", PaintPage, kLatin, std::string())->Apply(Settings);
    benchmark::RegisterBenchmark("JobPage/latin-shaped", PaintPage, kLatin, std::string("\u200E"))->Apply(Settings);
    benchmark::RegisterBenchmark("JobPage/mixed", PaintPage, kMixed, std::string())->Apply(Settings);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* AOver, const char* AUnder) {
        auto a = reporter.Times.find(AOver), b = reporter.Times.find(AUnder);
        return a != reporter.Times.end() && b != reporter.Times.end() && b->second > 0 ? a->second / b->second : 0.0;
    };
    std::printf("\nLatin names shaped / one glyph per character: %.2f\n", ratio("JobPage/latin-shaped", "JobPage/latin"));
    std::printf("Mixed scripts / Latin names:                   %.2f\n", ratio("JobPage/mixed", "JobPage/latin"));
    benchmark::Shutdown();
    return 0;
}
