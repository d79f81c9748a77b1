// Typing into and scrolling a memo of 1,000 and 100,000 lines on the headless screen: one character inserted
// at the caret (with the repaint it asks for), and one page scrolled and painted. Beside each, the peer: the
// same keystroke done on the text as one string, split into lines again, as an edit without per-line layout
// would. The memo's cost should not grow with the line count; the peer's does.
// Run: bench_controls
#include <benchmark/benchmark.h>

#include "platform/backend/headless/headless_backend.h"
#include "platform/controls/memo.h"
#include "platform/gdi/gdi.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/win/win.h"

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

// The peer: the text as one string; every keystroke inserts into it and splits it into lines again before the
// visible lines are measured.
void BM_WholeTextInsert(benchmark::State& AState)
{
    std::string text;
    for (int i = 0; i < AState.range(0); ++i)
        text += LineText(i) + "\r\n";
    const size_t start = text.size() / 2;
    size_t caret = start;
    HDC dc = CreateCompatibleDC(nullptr);
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
        SIZE size;
        for (size_t i = lines.size() / 2; i < lines.size() / 2 + 25 && i < lines.size(); ++i)
            GetTextExtentPoint32(dc, lines[i].c_str(), static_cast<int>(lines[i].size()), &size);
        benchmark::DoNotOptimize(lines.data());
    }
    DeleteDC(dc);
    AState.SetLabel("peer: whole text per key");
}

}  // namespace

BENCHMARK(BM_MemoInsertAtCaret)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WholeTextInsert)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemoScrollPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
