// A full repaint, a line down and a page down, each with the painting it leaves to do (nothing more), in a string
// grid of 100,000 rows beside the same work in one of 1,000 rows (five columns, every cell with text). The cost is
// meant to follow the cells shown only: the times of both sizes should be close; a line down moves the pixels and
// draws one or two rows ("cells/op", cells drawn per operation: about a page for a repaint, 10 for a line).
// Run: bench_grids (medians of five alternating runs; the ratios are printed last).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/common/alternating_runs.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/win/messages.h"
#include "skin/dialogs/grids/string_grid.h"

namespace {

struct Stage {
    headless::THeadlessBackend Display;
    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
    TspSkinStringGrid* Grid = nullptr;
    int64_t Drawn = 0;

    explicit Stage(Integer ARows)
    {
        win::SetBackend(&Display);
        App = std::make_unique<TApplication>(nullptr);
        Form = new TForm(App.get());
        Form->SetBoundsRect(Bounds(0, 0, 500, 400));
        Grid = new TspSkinStringGrid(Form);
        Grid->SetBounds(0, 0, 480, 380);
        Grid->SetParent(Form);
        Grid->SetRowCount(ARows);
        Grid->SetOptions(TGridOptions(DefaultGridOptions).Include(goRowSelect));
        Grid->Rows(0)->BeginUpdate();
        for (Integer R = 0; R < ARows; ++R)
            for (Integer C = 0; C < 5; ++C) Grid->SetCellText(C, R, "cell " + std::to_string(R));
        Grid->Rows(0)->EndUpdate();
        Grid->OnDrawCell = [this](TObject*, Integer, Integer, const TRect&, TGridDrawState) { ++Drawn; };
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

void Scroll(benchmark::State& state, win::WPARAM ACode)
{
    Stage stage(static_cast<Integer>(state.range(0)));
    stage.Drawn = 0;
    int64_t steps = 0;
    for (auto _ : state) {
        if (stage.Grid->TopRow() >= stage.Grid->RowCount() - 40) {
            state.PauseTiming();
            stage.Grid->Perform(win::WM_VSCROLL, win::SB_TOP, 0);
            stage.Grid->Repaint();
            state.ResumeTiming();
        }
        if (ACode == static_cast<win::WPARAM>(-1))
            stage.Grid->Invalidate();
        else
            stage.Grid->Perform(win::WM_VSCROLL, ACode, 0);
        // Paints only what the step invalidated.
        stage.Grid->Update();
        ++steps;
    }
    state.counters["cells/op"] = steps ? static_cast<double>(stage.Drawn) / static_cast<double>(steps) : 0;
}

void GridRepaint(benchmark::State& state) { Scroll(state, static_cast<win::WPARAM>(-1)); }
void GridLineDown(benchmark::State& state) { Scroll(state, win::SB_LINEDOWN); }
void GridPageDown(benchmark::State& state) { Scroll(state, win::SB_PAGEDOWN); }

BENCHMARK(GridRepaint)->Arg(1000)->Arg(100000);
BENCHMARK(GridLineDown)->Arg(1000)->Arg(100000);
BENCHMARK(GridPageDown)->Arg(1000)->Arg(100000);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const auto medians = benchrun::RunAlternating(5);
    std::printf("\n100,000 rows / 1,000 rows (near 1 = no per-row work):\n");
    for (const char* op : {"GridRepaint", "GridLineDown", "GridPageDown"})
        std::printf("  %-14s %.2f\n", op,
                    benchrun::Ratio(medians, std::string(op) + "/100000", std::string(op) + "/1000"));
    std::printf("line down / full repaint, 100,000 rows (below 1 = the scroll moves pixels): %.2f\n",
                benchrun::Ratio(medians, "GridLineDown/100000", "GridRepaint/100000"));
    benchmark::Shutdown();
    return 0;
}
