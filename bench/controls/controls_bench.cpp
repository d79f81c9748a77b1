// Typing into and scrolling a memo of 1,000 and 100,000 lines on the headless screen: one character inserted
// at the caret and the memo painted, and one page scrolled and painted. Beside the typing, the peer: the same
// keystroke done on the text as one string, split into lines again, as an edit without per-line layout would, and
// the visible lines painted as the memo paints them (same font, same device context, same number of rows). The
// memo's cost should not grow with the line count; the peer's does.
// Run: bench_controls (medians of five alternating runs; the ratios are printed last).
#include <benchmark/benchmark.h>

#include "bench/common/alternating_runs.h"
#include "platform/backend/headless/headless_backend.h"
#include "platform/controls/memo.h"
#include "platform/gdi/gdi.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/win/win.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace win;

namespace {

std::string LineText(int AIndex) { return "line " + std::to_string(AIndex) + " of the memo, with some words on it"; }

// A shown form with a memo filled with ALines lines; the caret in the middle.
struct TMemoScreen {
    headless::THeadlessBackend Display;
    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
    TMemo* Memo = nullptr;
    HDC Paint = nullptr;
    HBITMAP Bitmap = nullptr;

    explicit TMemoScreen(int ALines)
    {
        win::SetBackend(&Display);
        App = std::make_unique<TApplication>(nullptr);
        Form = new TForm(App.get());
        Form->SetBounds(0, 0, 640, 480);
        Memo = new TMemo(Form);
        Memo->SetBounds(0, 0, 600, 400);
        Memo->SetParent(Form);
        std::string text;
        for (int i = 0; i < ALines; ++i)
            text += LineText(i) + "\r\n";
        Memo->SetText(text);
        Form->Show();
        Memo->SetFocus();
        Memo->Perform(EM_SETSEL, static_cast<WPARAM>(text.size() / 2), static_cast<LPARAM>(text.size() / 2));
        App->ProcessMessages();
        Paint = CreateCompatibleDC(nullptr);
        Bitmap = CreateCompatibleBitmap(Paint, 600, 400);
        SelectObject(Paint, Bitmap);
    }
    ~TMemoScreen()
    {
        DeleteDC(Paint);
        DeleteObject(Bitmap);
        App.reset();
        win::SetBackend(nullptr);
    }
    void PaintMemo() { Memo->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Paint), 0); }
};

void BM_MemoInsertAtCaret(benchmark::State& AState)
{
    TMemoScreen screen(static_cast<int>(AState.range(0)));
    int typed = 0;
    for (auto _ : AState) {
        screen.Memo->Perform(WM_CHAR, 'x', 0);
        screen.PaintMemo();
        if (++typed == 40) {
            // Keep the line its usual length: a word typed, then taken back.
            AState.PauseTiming();
            for (; typed > 0; --typed)
                screen.Memo->Perform(WM_CHAR, VK_BACK, 0);
            AState.ResumeTiming();
        }
    }
    AState.SetLabel("memo");
}

void BM_MemoScrollPage(benchmark::State& AState)
{
    TMemoScreen screen(static_cast<int>(AState.range(0)));
    bool down = true;
    int rows = static_cast<int>(AState.range(0));
    for (auto _ : AState) {
        screen.Memo->Perform(WM_VSCROLL, down ? SB_PAGEDOWN : SB_PAGEUP, 0);
        screen.PaintMemo();
        int top = screen.Memo->FirstVisibleRow();
        if (top == 0 || top + 40 >= rows)
            down = !down;
    }
    AState.SetLabel("memo");
}

// The peer: the text as one string; every keystroke inserts into it, splits it into lines again and paints the
// lines in view into the memo's device context with the memo's font, as the memo paints its rows.
void BM_WholeTextInsert(benchmark::State& AState)
{
    TMemoScreen screen(1);
    std::string text;
    for (int i = 0; i < AState.range(0); ++i)
        text += LineText(i) + "\r\n";
    const size_t start = text.size() / 2;
    size_t caret = start;
    const TRect area = screen.Memo->FormatRect();
    const int lineHeight = std::max(1, screen.Memo->LineHeight());
    const int rows = area.Height() / lineHeight + 1;
    HBRUSH background = CreateSolidBrush(RGB(255, 255, 255));
    std::vector<std::string> lines;
    for (auto _ : AState) {
        text.insert(caret++, 1, 'x');
        if (caret - start == 40) {
            text.erase(start, 40);
            caret = start;
        }
        lines.clear();
        for (size_t from = 0; from < text.size();) {
            size_t end = text.find("\r\n", from);
            if (end == std::string::npos)
                end = text.size();
            lines.emplace_back(text, from, end - from);
            from = end + 2;
        }
        HDC dc = screen.Paint;
        const int saved = SaveDC(dc);
        FillRect(dc, &area, background);
        IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
        SelectObject(dc, screen.Memo->Font()->Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        const size_t first = lines.size() / 2;
        for (size_t i = first; i < first + rows && i < lines.size(); ++i)
            TextOut(dc, area.Left, area.Top + static_cast<int>(i - first) * lineHeight, lines[i].c_str(),
                    static_cast<int>(lines[i].size()));
        RestoreDC(dc, saved);
        benchmark::DoNotOptimize(lines.data());
    }
    DeleteObject(background);
    AState.SetLabel("peer: whole text per key");
}

}  // namespace

BENCHMARK(BM_MemoInsertAtCaret)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeTextInsert)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoScrollPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const auto medians = benchrun::RunAlternating(5);
    std::printf("\nper key, 100,000 lines / 1,000 lines (near 1 = no per-line work):\n");
    std::printf("  memo %.2f   peer %.2f\n", benchrun::Ratio(medians, "BM_MemoInsertAtCaret/100000", "BM_MemoInsertAtCaret/1000"),
                benchrun::Ratio(medians, "BM_WholeTextInsert/100000", "BM_WholeTextInsert/1000"));
    std::printf("page scroll, 100,000 lines / 1,000 lines: %.2f\n",
                benchrun::Ratio(medians, "BM_MemoScrollPage/100000", "BM_MemoScrollPage/1000"));
    std::printf("memo / peer per key (below 1 = the memo is faster): 1,000 lines %.2f, 100,000 lines %.2f\n",
                benchrun::Ratio(medians, "BM_MemoInsertAtCaret/1000", "BM_WholeTextInsert/1000"),
                benchrun::Ratio(medians, "BM_MemoInsertAtCaret/100000", "BM_WholeTextInsert/100000"));
    benchmark::Shutdown();
    return 0;
}
