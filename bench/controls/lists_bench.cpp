// A page down, a line down and a selection step, each with the painting it leaves to do (nothing is forced), in an
// owner-data list view of 1,000,000 items and a list box of 100,000 items, beside the same work in lists of 1,000
// items. The work is meant to depend on the rows shown only: the ratios printed last should stay near 1, and the
// "data/op" counter (the owner-data items asked for per operation) at most one page. The list box's line down
// moves the pixels and paints one row, so it costs well below its page down.
// Run: bench_lists (medians of five alternating runs; the ratios are printed last).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/common/alternating_runs.h"
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

// The step and the painting it asked for, as the message loop would do it next.
void Step(TWinControl* AList, UINT AMessage, WPARAM AWParam)
{
    AList->Perform(AMessage, AWParam, 0);
    AList->Update();
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
            // Home alone leaves the list where it is when the first item is already the current one.
            view->Perform(WM_KEYDOWN, VK_HOME, 0);
            view->Perform(WM_VSCROLL, SB_TOP, 0);
            view->Update();
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
            // Home alone leaves the list where it is when the first item is already the current one.
            box->Perform(WM_KEYDOWN, VK_HOME, 0);
            box->Perform(WM_VSCROLL, SB_TOP, 0);
            box->Update();
            state.ResumeTiming();
        }
        Step(box, AMessage, AWParam);
    }
}

void ListViewPageDown(benchmark::State& state) { ListViewBench(state, WM_VSCROLL, SB_PAGEDOWN); }
void ListViewLineDown(benchmark::State& state) { ListViewBench(state, WM_VSCROLL, SB_LINEDOWN); }
void ListViewSelectNext(benchmark::State& state) { ListViewBench(state, WM_KEYDOWN, VK_DOWN); }
void ListBoxPageDown(benchmark::State& state) { ListBoxBench(state, WM_VSCROLL, SB_PAGEDOWN); }
void ListBoxLineDown(benchmark::State& state) { ListBoxBench(state, WM_VSCROLL, SB_LINEDOWN); }
void ListBoxSelectNext(benchmark::State& state) { ListBoxBench(state, WM_KEYDOWN, VK_DOWN); }

BENCHMARK(ListViewPageDown)->Arg(1000)->Arg(1000000);
BENCHMARK(ListViewLineDown)->Arg(1000)->Arg(1000000);
BENCHMARK(ListViewSelectNext)->Arg(1000)->Arg(1000000);
BENCHMARK(ListBoxPageDown)->Arg(1000)->Arg(100000);
BENCHMARK(ListBoxLineDown)->Arg(1000)->Arg(100000);
BENCHMARK(ListBoxSelectNext)->Arg(1000)->Arg(100000);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const auto medians = benchrun::RunAlternating(5);
    std::printf("\nlong list / 1,000-item list (median real time; near 1 = no per-item work):\n");
    const std::pair<const char*, const char*> ops[] = {
        {"ListViewPageDown", "1000000"}, {"ListViewLineDown", "1000000"}, {"ListViewSelectNext", "1000000"},
        {"ListBoxPageDown", "100000"},   {"ListBoxLineDown", "100000"},   {"ListBoxSelectNext", "100000"}};
    for (const auto& [op, longArg] : ops)
        std::printf("  %-20s %-8s %.2f\n", op, longArg,
                    benchrun::Ratio(medians, std::string(op) + "/" + longArg, std::string(op) + "/1000"));
    benchmark::Shutdown();
    return 0;
}
