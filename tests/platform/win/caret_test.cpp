// The caret: pixels inverted under it, its blinking by the clock, nested hiding, moving, painting under it,
// bitmap carets, one caret per thread, and the spot reported for the input method.
#include "win_fixture.h"

#include "platform/rtl/threads.h"

#include <thread>

namespace wintest {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

class Caret : public TWinFixture {
protected:
    void SetUp() override
    {
        TWinFixture::SetUp();
        // A white window whose client corner is the surface corner.
        Window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 60));
        Pump();
    }
    void TearDown() override
    {
        DestroyCaret();
        SetCaretBlinkTime(530);
        TWinFixture::TearDown();
    }
    uint32_t Pixel(int AX, int AY, HWND AWindow = nullptr)
    {
        TTopLevelView view;
        EXPECT_TRUE(ViewTopLevel(AWindow ? AWindow : Window, view));
        return view.Pixels[static_cast<size_t>(AY) * view.Width + AX] & 0xFFFFFF;
    }
    // Moves the clock and lets the queue look at it, as a waiting program would.
    void Wait(int AMilliseconds)
    {
        AdvanceMs(AMilliseconds);
        Pump();
    }
    HWND Window = nullptr;
};

TEST_F(Caret, StartsHiddenShowsInvertedAndBlinksByTheClock)
{
    ASSERT_TRUE(CreateCaret(Window, nullptr, 2, 10));
    SetCaretPos(20, 5);
    Pump();
    EXPECT_EQ(Pixel(20, 5), kWhite);  // created hidden
    ASSERT_TRUE(ShowCaret(Window));
    EXPECT_EQ(Pixel(20, 5), kBlack);
    EXPECT_EQ(Pixel(21, 14), kBlack);
    EXPECT_EQ(Pixel(22, 5), kWhite);  // two wide
    EXPECT_EQ(Pixel(20, 15), kWhite);  // ten high

    EXPECT_EQ(GetCaretBlinkTime(), 530u);
    struct TStep {
        int Ms;
        uint32_t Expected;
    };
    // Off after one blink time, on after the next; a long wait lands on the phase it would have reached.
    const TStep timeline[] = {{529, kBlack}, {1, kWhite}, {529, kWhite}, {1, kBlack}, {530 * 3, kWhite},
                              {530 * 2, kWhite}, {530, kBlack}};
    int at = 0;
    for (const TStep& step : timeline) {
        at += step.Ms;
        SCOPED_TRACE(at);
        Wait(step.Ms);
        EXPECT_EQ(Pixel(20, 5), step.Expected);
    }

    // A new blink time restarts the rhythm with the caret on; INFINITE keeps it on.
    ASSERT_TRUE(SetCaretBlinkTime(100));
    Wait(99);
    EXPECT_EQ(Pixel(20, 5), kBlack);
    Wait(1);
    EXPECT_EQ(Pixel(20, 5), kWhite);
    ASSERT_TRUE(SetCaretBlinkTime(INFINITE));
    Wait(100000);
    EXPECT_EQ(Pixel(20, 5), kBlack);
    EXPECT_FALSE(SetCaretBlinkTime(0));

    ASSERT_TRUE(DestroyCaret());
    EXPECT_EQ(Pixel(20, 5), kWhite);
    EXPECT_FALSE(DestroyCaret());
}

TEST_F(Caret, HidingNestsAndOnlyTheOwnerMayShowOrHide)
{
    HWND other = Create(0, WS_POPUP | WS_VISIBLE, Bounds(200, 0, 50, 50));
    EXPECT_FALSE(ShowCaret(Window));  // no caret yet
    ASSERT_TRUE(CreateCaret(Window, nullptr, 1, 8));
    SetCaretPos(10, 10);
    ShowCaret(Window);
    EXPECT_EQ(Pixel(10, 10), kBlack);
    HideCaret(Window);
    HideCaret(nullptr);  // nullptr = wherever the caret is
    EXPECT_EQ(Pixel(10, 10), kWhite);
    ShowCaret(Window);
    EXPECT_EQ(Pixel(10, 10), kWhite);  // still hidden once
    ShowCaret(Window);
    EXPECT_EQ(Pixel(10, 10), kBlack);
    ShowCaret(Window);  // showing a shown caret changes nothing
    HideCaret(Window);
    EXPECT_EQ(Pixel(10, 10), kWhite);
    ShowCaret(Window);
    EXPECT_FALSE(ShowCaret(other));
    EXPECT_FALSE(HideCaret(other));
    EXPECT_EQ(Pixel(10, 10), kBlack);
    // Hidden, it does not blink back on.
    HideCaret(Window);
    Wait(530 * 5);
    EXPECT_EQ(Pixel(10, 10), kWhite);
}

TEST_F(Caret, MovingRestoresTheOldPlaceAndShowsAtTheNewOneAtOnce)
{
    ASSERT_TRUE(CreateCaret(Window, nullptr, 1, 8));
    ShowCaret(Window);
    SetCaretPos(10, 10);
    Wait(530);  // blinked off
    EXPECT_EQ(Pixel(10, 10), kWhite);
    SetCaretPos(30, 20);
    EXPECT_EQ(Pixel(10, 10), kWhite);
    EXPECT_EQ(Pixel(30, 20), kBlack);  // on at once, as after a key press
    TPoint at;
    ASSERT_TRUE(GetCaretPos(at));
    EXPECT_EQ(at, (TPoint{30, 20}));
    Wait(529);
    EXPECT_EQ(Pixel(30, 20), kBlack);
    // Moved while hidden, it shows at the new place later.
    HideCaret(Window);
    SetCaretPos(40, 20);
    EXPECT_EQ(Pixel(30, 20), kWhite);
    EXPECT_EQ(Pixel(40, 20), kWhite);
    ShowCaret(Window);
    EXPECT_EQ(Pixel(40, 20), kBlack);
    // Outside the window only the part inside is drawn, and nothing is left behind.
    SetCaretPos(99, 55);
    EXPECT_EQ(Pixel(99, 55), kBlack);
    SetCaretPos(0, 0);
    EXPECT_EQ(Pixel(99, 55), kWhite);
}

TEST_F(Caret, IsHiddenWhileItsWindowPaintsAndComesBackOverTheNewPixels)
{
    std::vector<uint32_t> seen_while_painting;
    On(Window, WM_PAINT, [&](HWND AWindow, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(AWindow, paint);
        seen_while_painting.push_back(Pixel(10, 10));
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(AWindow, paint);
        return 0;
    });
    ASSERT_TRUE(CreateCaret(Window, nullptr, 1, 8));
    SetCaretPos(10, 10);
    ShowCaret(Window);
    EXPECT_EQ(Pixel(10, 10), kBlack);
    InvalidateRect(Window, nullptr, FALSE);
    Pump();
    EXPECT_EQ(seen_while_painting, (std::vector<uint32_t>{kWhite}));
    EXPECT_EQ(Pixel(10, 10), 0x00FFFFu);  // red inverted
    EXPECT_EQ(Pixel(50, 10), 0xFF0000u);
    Wait(530);
    EXPECT_EQ(Pixel(10, 10), 0xFF0000u);  // and it blinks over them

    // Scrolling the pixels leaves no copy of the caret behind.
    Wait(530);
    ScrollWindowEx(Window, 0, 5, nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(Pixel(10, 20), 0xFF0000u);
    EXPECT_EQ(Pixel(10, 10), 0x00FFFFu);
}

TEST_F(Caret, BitmapCaretInvertsWhereItsBitsAreSetAndGreyCaretHalfway)
{
    // A 3 x 4 bitmap whose middle column is set.
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = -4;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    for (int y = 0; y < 4; ++y)
        static_cast<uint32_t*>(bits)[y * 3 + 1] = 0xFFFFFF;
    ASSERT_TRUE(CreateCaret(Window, bitmap, 0, 0));
    SetCaretPos(10, 10);
    ShowCaret(Window);
    EXPECT_EQ(Pixel(10, 10), kWhite);
    EXPECT_EQ(Pixel(11, 10), kBlack);
    EXPECT_EQ(Pixel(11, 13), kBlack);
    EXPECT_EQ(Pixel(12, 10), kWhite);
    EXPECT_EQ(Pixel(11, 14), kWhite);
    DeleteObject(bitmap);  // the caret keeps its own copy
    HideCaret(Window);
    EXPECT_EQ(Pixel(11, 10), kWhite);

    ASSERT_TRUE(CreateCaret(Window, reinterpret_cast<HBITMAP>(1), 0, 5));
    SetCaretPos(30, 10);
    ShowCaret(Window);
    EXPECT_EQ(Pixel(30, 10), 0x7F7F7Fu);
    EXPECT_EQ(Pixel(31, 10), kWhite);  // one border wide
}

TEST_F(Caret, OneCaretPerThreadAndItGoesWithItsWindow)
{
    HWND second = Create(0, WS_POPUP | WS_VISIBLE, Bounds(200, 0, 50, 50));
    Pump();
    ASSERT_TRUE(CreateCaret(Window, nullptr, 1, 8));
    SetCaretPos(10, 10);
    ShowCaret(Window);
    EXPECT_EQ(Pixel(10, 10), kBlack);
    // A caret made for another window takes the place of the first one, which disappears.
    ASSERT_TRUE(CreateCaret(second, nullptr, 1, 8));
    EXPECT_EQ(Pixel(10, 10), kWhite);
    TPoint at;
    ASSERT_TRUE(GetCaretPos(at));
    EXPECT_EQ(at, (TPoint{0, 0}));
    EXPECT_FALSE(ShowCaret(Window));
    ASSERT_TRUE(ShowCaret(second));
    EXPECT_EQ(Pixel(0, 0, second), kBlack);
    DestroyWindow(second);
    EXPECT_FALSE(GetCaretPos(at));
    EXPECT_FALSE(SetCaretPos(1, 1));

    // Another thread has a caret of its own and cannot touch this one.
    ASSERT_TRUE(CreateCaret(Window, nullptr, 1, 8));
    BOOL other_create = TRUE, other_show = TRUE;
    std::thread other([&] {
        other_create = CreateCaret(Window, nullptr, 1, 8);  // not its window
        other_show = ShowCaret(Window);
    });
    other.join();
    EXPECT_FALSE(other_create);
    EXPECT_FALSE(other_show);
    EXPECT_TRUE(ShowCaret(Window));
}

// Records where the caret of the focused window is, as an input method would want it.
class TSpotBackend : public TBackend {
public:
    std::vector<TMonitorDesc> Monitors() const override { return {{Rect(0, 0, 640, 480), Rect(0, 0, 640, 480), true}}; }
    bool HasCompositor() const override { return false; }
    void SetClipboardText(const std::string&) override {}
    std::optional<std::string> ClipboardText() const override { return std::nullopt; }
    void SetCaretSpot(HWND AWindow, int AX, int AY) override { Spots.push_back({AWindow, {AX, AY}}); }
    std::vector<std::pair<HWND, TPoint>> Spots;
};

TEST_F(Caret, TheFocusedWindowsCaretSpotGoesToTheBackend)
{
    HWND unfocused = Create(0, WS_POPUP | WS_VISIBLE, Bounds(200, 0, 50, 50));
    TSpotBackend spy;
    SetBackend(&spy);
    SetFocus(Window);
    CreateCaret(Window, nullptr, 1, 8);
    SetCaretPos(12, 7);
    ShowCaret(Window);
    EXPECT_FALSE(spy.Spots.empty());
    if (!spy.Spots.empty()) {
        EXPECT_EQ(spy.Spots.back().first, Window);
        EXPECT_EQ(spy.Spots.back().second, (TPoint{12, 7}));
    }
    spy.Spots.clear();
    CreateCaret(unfocused, nullptr, 1, 8);
    SetCaretPos(3, 3);
    EXPECT_TRUE(spy.Spots.empty());
    DestroyCaret();
    SetBackend(&Screen);
}

}  // namespace
}  // namespace wintest
