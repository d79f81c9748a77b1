#include "win_fixture.h"

namespace wintest {
namespace {

class Input : public TWinFixture {
protected:
    // A sizeable captioned window at (100, 100), 300 x 200: frame 4, caption 19.
    HWND Frame()
    {
        HWND window = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
        Pump();
        Log.clear();
        return window;
    }
};

TEST_F(Input, HitTestingSplitsNonClientAndClientMouseMessages)
{
    HWND window = Frame();
    struct TCase {
        TPoint At;
        LRESULT Hit;
    };
    const std::vector<TCase> cases = {
        {{250, 200}, HTCLIENT},     {{250, 110}, HTCAPTION},      {{101, 200}, HTLEFT},
        {{398, 200}, HTRIGHT},      {{250, 101}, HTTOP},          {{250, 298}, HTBOTTOM},
        {{101, 101}, HTTOPLEFT},    {{398, 298}, HTBOTTOMRIGHT},  {{110, 102}, HTTOPLEFT},
        {{382, 112}, HTCLOSE},      {{364, 112}, HTMAXBUTTON},    {{348, 112}, HTMINBUTTON},
        {{108, 112}, HTSYSMENU},    {{101, 290}, HTBOTTOMLEFT},
    };
    // The default action (move loops, caption buttons) is not what this is about.
    On(window, WM_NCLBUTTONDOWN, [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return 0; });
    for (const TCase& c : cases) {
        Log.clear();
        Screen.Click(c.At);
        Pump();
        auto hits = Entries(window, WM_NCHITTEST);
        ASSERT_FALSE(hits.empty());
        EXPECT_EQ(LParamToPoint(hits.back().LParam), c.At);
        if (c.Hit == HTCLIENT) {
            auto downs = Entries(window, WM_LBUTTONDOWN);
            ASSERT_EQ(downs.size(), 1u);
            EXPECT_EQ(LParamToPoint(downs[0].LParam), Point(c.At.X - 104, c.At.Y - 123));
            EXPECT_TRUE(downs[0].WParam & MK_LBUTTON);
        } else {
            auto downs = Entries(window, WM_NCLBUTTONDOWN);
            ASSERT_EQ(downs.size(), 1u) << "at " << c.At.X << "," << c.At.Y;
            EXPECT_EQ(static_cast<LRESULT>(downs[0].WParam), c.Hit) << "at " << c.At.X << "," << c.At.Y;
            EXPECT_EQ(LParamToPoint(downs[0].LParam), c.At);
        }
        // The cursor question comes between the hit test and the button message, with both in its lParam.
        std::vector<std::string> order = Names(window, {WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN, WM_NCLBUTTONDOWN});
        EXPECT_EQ(std::vector<std::string>(order.begin() + 2, order.begin() + 5),
                  (std::vector<std::string>{"NCHITTEST", "SETCURSOR", c.Hit == HTCLIENT ? "LBUTTONDOWN" : "NCLBUTTONDOWN"}));
        auto cursor = Entries(window, WM_SETCURSOR);
        ASSERT_GE(cursor.size(), 2u);
        EXPECT_EQ(static_cast<int16_t>(LOWORD(cursor[1].LParam)), c.Hit);
        EXPECT_EQ(HIWORD(cursor[1].LParam), WM_LBUTTONDOWN);
    }
}

TEST_F(Input, ClicksOnChildrenNotifyTheParentAndDoubleClicksNeedTheClassStyleAndTheTime)
{
    HWND parent = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 50), parent);
    HWND plain = Create(0, WS_CHILD | WS_VISIBLE, Bounds(100, 100, 50, 50), parent, "TestPlain");
    Pump();
    struct TCase {
        HWND Target;
        TPoint At;
        int GapMs;
        int Dx;
        std::vector<std::string> Expected;
    };
    const std::vector<TCase> cases = {
        {child, {20, 20}, 100, 0, {"LBUTTONDOWN", "LBUTTONUP", "LBUTTONDBLCLK", "LBUTTONUP"}},
        {child, {20, 20}, 600, 0, {"LBUTTONDOWN", "LBUTTONUP", "LBUTTONDOWN", "LBUTTONUP"}},
        {child, {20, 20}, 100, 5, {"LBUTTONDOWN", "LBUTTONUP", "LBUTTONDOWN", "LBUTTONUP"}},
        {plain, {110, 110}, 100, 0, {"LBUTTONDOWN", "LBUTTONUP", "LBUTTONDOWN", "LBUTTONUP"}},
    };
    for (const TCase& c : cases) {
        AdvanceMs(2000);
        Log.clear();
        Screen.Click(c.At);
        Pump();
        AdvanceMs(c.GapMs);
        Screen.Click({c.At.X + c.Dx, c.At.Y});
        Pump();
        EXPECT_EQ(Names(c.Target, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}), c.Expected);
        auto notes = Entries(parent, WM_PARENTNOTIFY);
        ASSERT_FALSE(notes.empty());
        EXPECT_EQ(LOWORD(notes[0].WParam), WM_LBUTTONDOWN);
        EXPECT_EQ(LParamToPoint(notes[0].LParam), c.At);  // parent client coordinates
    }
}

TEST_F(Input, ChildrenOfADisabledWindowTakeNoClicks)
{
    HWND parent = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 50), parent);
    Pump();
    EnableWindow(parent, FALSE);
    Log.clear();
    Screen.Click({20, 20});
    Pump();
    EXPECT_TRUE(Names(child, {WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
    EnableWindow(parent, TRUE);
    AdvanceMs(2000);
    Screen.Click({20, 20});
    Pump();
    EXPECT_EQ(Names(child, {WM_LBUTTONDOWN, WM_LBUTTONUP}), (std::vector<std::string>{"LBUTTONDOWN", "LBUTTONUP"}));
}

TEST_F(Input, CaptureDeliversOutsideTheWindowInClientCoordinates)
{
    HWND window = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
    HWND other = Create(0, WS_POPUP | WS_VISIBLE, Bounds(500, 500, 100, 100));
    Pump();
    SetCapture(window);
    Log.clear();
    Screen.Click({550, 550});  // over another window
    Screen.MoveMouse({110, 105});  // over the caption
    Pump();
    auto downs = Entries(window, WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(LParamToPoint(downs[0].LParam), Point(550 - 104, 550 - 123));
    auto moves = Entries(window, WM_MOUSEMOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(LParamToPoint(moves.back().LParam), Point(110 - 104, 105 - 123));
    EXPECT_TRUE(Names(other).empty());
    EXPECT_TRUE(Entries(window, WM_NCHITTEST).empty());
    EXPECT_EQ(GetCapture(), window);
    ReleaseCapture();
    EXPECT_EQ(Entries(window, WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, NoActivatePopupsNeverTakeActivation)
{
    HWND main = Frame();
    ASSERT_EQ(GetActiveWindow(), main);
    HWND answers = Create(WS_EX_TOOLWINDOW, WS_POPUP, Bounds(500, 100, 100, 100));
    On(answers, WM_MOUSEACTIVATE, [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return MA_NOACTIVATE; });
    HWND styled = Create(WS_EX_NOACTIVATE | WS_EX_TOPMOST, WS_POPUP, Bounds(500, 300, 100, 100));
    HWND plain = Create(0, WS_POPUP, Bounds(650, 300, 100, 100));
    ShowWindow(answers, SW_SHOWNOACTIVATE);
    ShowWindow(styled, SW_SHOW);  // the style alone keeps it from activating
    SetWindowPos(plain, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_EQ(GetActiveWindow(), main);
    for (auto [popup, at] : {std::pair{answers, Point(550, 150)}, std::pair{styled, Point(550, 350)}}) {
        Log.clear();
        Screen.Click(at);
        Pump();
        EXPECT_EQ(GetActiveWindow(), main);
        EXPECT_EQ(Entries(popup, WM_LBUTTONDOWN).size(), 1u);
        EXPECT_TRUE(Entries(popup, WM_ACTIVATE).empty());
        EXPECT_TRUE(Entries(main, WM_ACTIVATE).empty());
    }
    EXPECT_EQ(GetTopWindow(nullptr), styled);  // topmost stays above

    Log.clear();
    Screen.Click({700, 350});
    Pump();
    EXPECT_EQ(GetActiveWindow(), plain);
    EXPECT_EQ(Names(main, {WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS}),
              (std::vector<std::string>{"NCACTIVATE", "ACTIVATE", "KILLFOCUS"}));
    auto activate = Entries(plain, WM_ACTIVATE);
    ASSERT_EQ(activate.size(), 1u);
    EXPECT_EQ(LOWORD(activate[0].WParam), WA_CLICKACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(activate[0].LParam), main);
}

TEST_F(Input, FocusMovesWithKillThenSet)
{
    HWND parent = Frame();
    HWND first = Create(0, WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), parent);
    HWND second = Create(0, WS_CHILD | WS_VISIBLE, Bounds(20, 0, 10, 10), parent);
    SetFocus(first);
    Log.clear();
    EXPECT_EQ(SetFocus(second), first);
    std::vector<std::string> order;
    for (auto& entry : Log)
        if (entry.Message == WM_KILLFOCUS || entry.Message == WM_SETFOCUS)
            order.push_back(MessageName(entry.Message) + (entry.Window == first ? " first" : " second"));
    EXPECT_EQ(order, (std::vector<std::string>{"KILLFOCUS first", "SETFOCUS second"}));
    EnableWindow(second, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(second), nullptr);  // disabled windows take no focus
}

TEST_F(Input, KeysGoToTheFocusAndTranslateIntoCharacters)
{
    HWND window = Frame();
    Screen.PressKey('A', U'a');
    Screen.KeyDown(VK_SHIFT);
    Screen.PressKey('B', U'B');
    Screen.KeyUp(VK_SHIFT);
    Screen.PressKey(VK_RETURN);
    Pump();
    std::vector<std::string> keys = Names(window, {WM_KEYDOWN, WM_KEYUP, WM_CHAR});
    EXPECT_EQ(keys, (std::vector<std::string>{"KEYDOWN", "CHAR", "KEYUP", "KEYDOWN", "KEYDOWN", "CHAR", "KEYUP", "KEYUP",
                                              "KEYDOWN", "CHAR", "KEYUP"}));
    std::vector<WPARAM> chars;
    for (auto& entry : Entries(window, WM_CHAR))
        chars.push_back(entry.WParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 'B', '\r'}));
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
    Screen.KeyDown(VK_SHIFT);
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);  // at once
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);       // once the message is taken
    Pump();
    EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
    Screen.KeyUp(VK_SHIFT);
    Pump();
}

TEST_F(Input, AltF4ClosesAndAltAloneAsksForTheMenu)
{
    HWND window = Frame();
    std::vector<WPARAM> commands;
    On(window, WM_SYSCOMMAND, [&](HWND, UINT, WPARAM AWParam, LPARAM) -> std::optional<LRESULT> {
        commands.push_back(AWParam & 0xFFF0);
        return std::nullopt;
    });
    Screen.PressKey(VK_MENU);
    Pump();
    EXPECT_EQ(commands, (std::vector<WPARAM>{SC_KEYMENU}));
    EXPECT_EQ(Names(window, {WM_SYSKEYDOWN, WM_SYSKEYUP}), (std::vector<std::string>{"SYSKEYDOWN", "SYSKEYUP"}));
    Screen.KeyDown(VK_MENU);
    Screen.PressKey(VK_F4);
    Screen.KeyUp(VK_MENU);
    Pump();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Input, CursorFollowsTheHitCode)
{
    Frame();
    struct TCase {
        TPoint At;
        uintptr_t Cursor;
    };
    for (const TCase& c : std::vector<TCase>{{{101, 200}, IDC_SIZEWE}, {{250, 298}, IDC_SIZENS},
                                             {{398, 298}, IDC_SIZENWSE}, {{398, 101}, IDC_SIZENESW},
                                             {{250, 110}, IDC_ARROW}}) {
        Screen.MoveMouse(c.At);
        Pump();
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, c.Cursor));
        TPoint where;
        GetCursorPos(where);
        EXPECT_EQ(where, c.At);
    }
    EXPECT_EQ(WindowFromPoint({10, 10}), nullptr);
}

TEST_F(Input, TheClientCursorIsTheClassCursorOfTheWindowUnderThePointer)
{
    WNDCLASS cls;
    cls.lpfnWndProc = [](HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam) {
        return DefWindowProc(AWindow, AMessage, AWParam, ALParam);
    };
    cls.hCursor = LoadCursor(nullptr, IDC_HAND);
    cls.lpszClassName = "HandCursor";
    RegisterClass(cls);
    cls.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    cls.lpszClassName = "BeamCursor";
    RegisterClass(cls);
    HWND parent = CreateWindowEx(0, "HandCursor", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr);
    HWND child = CreateWindowEx(0, "BeamCursor", "", WS_CHILD | WS_VISIBLE, 50, 50, 20, 20, parent);
    for (auto [at, cursor] : {std::pair{Point(10, 10), IDC_HAND}, std::pair{Point(55, 55), IDC_IBEAM}}) {
        Screen.MoveMouse(at);
        Pump();
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, cursor));
    }
    EXPECT_TRUE(IsWindow(child));
    DestroyWindow(parent);
}

TEST_F(Input, WheelGoesToTheFocusAndChildrenPassItUp)
{
    HWND parent = Frame();
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), parent);
    SetFocus(child);
    Screen.Wheel({600, 600}, -WHEEL_DELTA);
    Pump();
    auto wheels = Entries(parent, WM_MOUSEWHEEL);
    ASSERT_EQ(wheels.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].WParam), -WHEEL_DELTA);
    EXPECT_EQ(Entries(child, WM_MOUSEWHEEL).size(), 1u);
}

}  // namespace
}  // namespace wintest
