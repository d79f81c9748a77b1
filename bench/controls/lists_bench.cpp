// A page down, a line down and a selection step, each followed by painting, in an owner-data list view of
// 1,000,000 items and a list box of 100,000 items, beside the same work in lists of 1,000 items. The work is
// meant to depend on the rows shown only: the ratios printed after the table should stay near 1, and the
// "data/op" counter (the owner-data items asked for per operation) near one page.
// Run: bench_lists (five repetitions each; the ratios of the medians are printed after the table).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "platform/backend/headless/headless_backend.h"
#include "platform/controls/lists/list_box.h"
#include "platform/controls/lists/list_view.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"

using namespace win;

namespace {

// A headless screen with one shown form to hold the list.
struct Stage {
    headless::THeadlessBackend Display;
    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
    Stage()
    {
        SetBackend(&Display);
        App = std::make_unique<TApplication>(nullptr);
        Form = new TForm(App.get());
        Form->SetBoundsRect(Bounds(0, 0, 400, 400));
    }
    ~Stage()
    {
        App.reset();
        headless::THeadlessBackend::ProcessMessages();
        SetBackend(nullptr);
    }
};

void Step(TWinControl* AList, UINT AMessage, WPARAM AWParam)
{
    AList->Perform(AMessage, AWParam, 0);
    AList->Repaint();
}

void ListViewBench(benchmark::State& state, UINT AMessage, WPARAM AWParam)
{
    Stage stage;
    auto* view = new TListView(stage.Form);
    view->SetBounds(0, 0, 380, 380);
    view->AddColumn("Name", 200);
    view->AddColumn("Size", 100);
    view->SetViewStyle(vsReport);
    view->SetOwnerData(true);
    int64_t asked = 0;
    view->OnData = [&](TObject*, TListItem* AItem) {
        ++asked;
        AItem->Caption = "item";
        AItem->SubItems = {"1 KB"};
    };
    view->SetParent(stage.Form);
    view->Items()->SetCount(static_cast<Integer>(state.range(0)));
    stage.Form->Show();
    headless::THeadlessBackend::ProcessMessages();
    view->SetFocus();
    asked = 0;
    int64_t steps = 0;
    for (auto _ : state) {
        // Back to the top now and then, so every step really moves.
        if (view->ItemFocused() >= view->Items()->Count() - 1 || view->TopIndex() >= view->Items()->Count() - 30) {
            state.PauseTiming();
            view->Perform(WM_KEYDOWN, VK_HOME, 0);
            state.ResumeTiming();
        }
        Step(view, AMessage, AWParam);
        ++steps;
    }
    state.counters["data/op"] = steps ? static_cast<double>(asked) / static_cast<double>(steps) : 0;
}

void ListBoxBench(benchmark::State& state, UINT AMessage, WPARAM AWParam)
{
    Stage stage;
    auto* box = new TListBox(stage.Form);
    box->SetBounds(0, 0, 380, 380);
    box->SetParent(stage.Form);
    for (int64_t i = 0; i < state.range(0); ++i)
        box->Items()->Add("item " + std::to_string(i));
    stage.Form->Show();
    headless::THeadlessBackend::ProcessMessages();
    box->SetFocus();
    for (auto _ : state) {
        if (box->ItemIndex() >= box->Count() - 1 || box->TopIndex() >= box->Count() - 30) {
            state.PauseTiming();
            box->Perform(WM_KEYDOWN, VK_HOME, 0);
            state.ResumeTiming();
        }
        Step(box, AMessage, AWParam);
    }
}

void ListViewPageDown(benchmark::State& state) { ListViewBench(state, WM_VSCROLL, SB_PAGEDOWN); }
void ListViewLineDown(benchmark::State& state) { ListViewBench(state, WM_VSCROLL, SB_LINEDOWN); }
void ListViewSelectNext(benchmark::State& state) { ListViewBench(state, WM_KEYDOWN, VK_DOWN); }
void ListBoxPageDown(benchmark::State& state) { ListBoxBench(state, WM_VSCROLL, SB_PAGEDOWN); }
void ListBoxSelectNext(benchmark::State& state) { ListBoxBench(state, WM_KEYDOWN, VK_DOWN); }

BENCHMARK(ListViewPageDown)->Arg(1000)->Arg(1000000)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ListViewLineDown)->Arg(1000)->Arg(1000000)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ListViewSelectNext)->Arg(1000)->Arg(1000000)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ListBoxPageDown)->Arg(1000)->Arg(100000)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ListBoxSelectNext)->Arg(1000)->Arg(100000)->Repetitions(5)->ReportAggregatesOnly(true);

// Collects the medians and prints, per operation, the long list's time over the short list's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& AReports) override
    {
        ConsoleReporter::ReportRuns(AReports);
        for (const Run& run : AReports)
            if (run.aggregate_name == "median")
                FMedians[run.run_name.function_name][run.run_name.args] = run.GetAdjustedRealTime();
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nlong list / 1,000-item list (median real time; near 1 = no per-item work):\n");
        for (const auto& [name, byArgs] : FMedians) {
            if (byArgs.size() != 2)
                continue;
            double shortTime = byArgs.begin()->second;
            const auto& [longArgs, longTime] = *byArgs.rbegin();
            double ratio = shortTime > 0 ? longTime / shortTime : 0.0;
            std::printf("  %-20s %-8s %.2f\n", name.c_str(), longArgs.c_str(), ratio);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> FMedians;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
