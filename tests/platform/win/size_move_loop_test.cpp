#include "win_fixture.h"

namespace wintest {
namespace {

class SizeMoveLoop : public TWinFixture {
protected:
    HWND Frame()
    {
        HWND window = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
        Pump();
        Log.clear();
        return window;
    }
    TRect WindowRect(HWND AWindow)
    {
        TRect rect;
        GetWindowRect(AWindow, rect);
        return rect;
    }
};

TEST_F(SizeMoveLoop, CaptionDragMovesPerStepAndHonoursTheModifiedRect)
{
    HWND window = Frame();
    std::vector<TRect> proposed;
    On(window, WM_MOVING, [&](HWND, UINT, WPARAM, LPARAM ARect) -> std::optional<LRESULT> {
        TRect& rect = *reinterpret_cast<TRect*>(ARect);
        proposed.push_back(rect);
        rect = RectOffset(rect, 0, -rect.Top);  // keep the window on the top edge of the screen
        return TRUE;
    });
    Screen.Drag({200, 110}, {230, 140}, 3);
    Pump();
    EXPECT_EQ(proposed, (std::vector<TRect>{Bounds(110, 110, 300, 200), Bounds(120, 120, 300, 200),
                                            Bounds(130, 130, 300, 200)}));
    EXPECT_EQ(WindowRect(window), Bounds(130, 0, 300, 200));
    std::vector<std::string> frame = Names(window, {WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, WM_MOVING, WM_MOVE,
                                                    WM_EXITSIZEMOVE, WM_LBUTTONUP, WM_NCLBUTTONUP, WM_SYSCOMMAND});
    EXPECT_EQ(frame, (std::vector<std::string>{"SYSCOMMAND", "ENTERSIZEMOVE", "GETMINMAXINFO", "MOVING", "MOVE",
                                               "MOVING", "MOVE", "MOVING", "MOVE", "EXITSIZEMOVE"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizeMoveLoop, CornerResizeSizesPerStepWithinTrackLimitsAndTheModifiedRect)
{
    HWND window = Frame();
    std::vector<WPARAM> edges;
    On(window, WM_SIZING, [&](HWND, UINT, WPARAM AEdge, LPARAM ARect) -> std::optional<LRESULT> {
        edges.push_back(AEdge);
        TRect& rect = *reinterpret_cast<TRect*>(ARect);
        rect.Right = std::min(rect.Right, rect.Left + 320);
        return TRUE;
    });
    On(window, WM_GETMINMAXINFO, [](HWND, UINT, WPARAM, LPARAM AInfo) -> std::optional<LRESULT> {
        reinterpret_cast<MINMAXINFO*>(AInfo)->ptMaxTrackSize.Y = 215;
        return 0;
    });
    Screen.Drag({398, 298}, {438, 328}, 4);
    Pump();
    EXPECT_EQ(edges, (std::vector<WPARAM>(4, WMSZ_BOTTOMRIGHT)));
    EXPECT_EQ(WindowRect(window), Bounds(100, 100, 320, 215));
    EXPECT_EQ(Entries(window, WM_SIZE).size(), 2u);  // the limits hold from the third step on
    EXPECT_EQ(Names(window, {WM_EXITSIZEMOVE}).size(), 1u);
    EXPECT_TRUE(Entries(window, WM_LBUTTONUP).empty());

    struct TCase {
        TPoint From;
        TPoint By;
        TRect Expected;
    };
    const std::vector<TCase> cases = {
        {{101, 200}, {-20, 0}, Rect(80, 100, 400, 300)},   // left edge
        {{250, 101}, {0, 300}, Rect(100, 273, 400, 300)},  // top edge down to the minimum height
        {{101, 101}, {10, 10}, Rect(110, 110, 400, 300)},  // top-left corner
    };
    edges.clear();
    for (const TCase& c : cases) {
        SetWindowPos(window, nullptr, 100, 100, 300, 200, SWP_NOZORDER);
        Screen.Drag(c.From, {c.From.X + c.By.X, c.From.Y + c.By.Y}, 1);
        Pump();
        EXPECT_EQ(WindowRect(window), c.Expected) << c.From.X << "," << c.From.Y;
    }
}

TEST_F(SizeMoveLoop, EscapePutsTheWindowBackAndOtherMessagesKeepFlowing)
{
    HWND window = Frame();
    Screen.PressButton({200, 110});
    Screen.MoveMouse({300, 300});
    PostMessage(window, WM_USER + 5, 0, 0);
    Screen.PressKey(VK_ESCAPE);
    Pump();
    EXPECT_EQ(WindowRect(window), Bounds(100, 100, 300, 200));
    EXPECT_EQ(Entries(window, WM_USER + 5).size(), 1u);
    EXPECT_TRUE(Entries(window, WM_KEYDOWN).empty());
    Screen.ReleaseButton({300, 300});
    Pump();
}

TEST_F(SizeMoveLoop, CaptionButtonsAndDoubleClickActOnlyWhereTheStyleOffersThem)
{
    HWND window = Frame();
    Screen.Click({250, 110});
    AdvanceMs(100);
    Screen.Click({250, 110});
    Pump();
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(Entries(window, WM_NCLBUTTONDBLCLK).size(), 1u);
    Screen.Click({1024 - 30, 8});  // the maximize button, now restore, of the maximized window
    Pump();
    EXPECT_FALSE(IsZoomed(window));
    // A press on the close button released elsewhere does nothing.
    Screen.PressButton({382, 112});
    Screen.ReleaseButton({300, 200});
    Pump();
    EXPECT_TRUE(IsWindow(window));
    AdvanceMs(1000);  // not a double click
    Screen.Click({382, 112});
    Pump();
    EXPECT_FALSE(IsWindow(window));

    // Skinned frames answer their own hit codes: HTOBJECT and unknown codes do nothing by default.
    HWND skinned = Create(0, WS_POPUP | WS_VISIBLE, Bounds(100, 100, 300, 200));
    LRESULT code = HTOBJECT;
    On(skinned, WM_NCHITTEST, [&](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return code; });
    for (LRESULT c : {HTOBJECT, LRESULT(77)}) {
        code = c;
        Log.clear();
        Screen.Click({200, 200});
        AdvanceMs(100);
        Screen.Click({200, 200});
        Pump();
        EXPECT_TRUE(Entries(skinned, WM_SYSCOMMAND).empty());
        EXPECT_EQ(Entries(skinned, WM_NCLBUTTONDBLCLK).size(), 1u);
        EXPECT_EQ(WindowRect(skinned), Bounds(100, 100, 300, 200));
    }
}

// A frame drawn by the window itself answers the sizing hit codes whatever its border style: a dialog, a single
// border, a popup without any frame are sized by the edge it names, as a thick frame is.
TEST_F(SizeMoveLoop, EveryBorderStyleIsSizedByTheEdgeItsHitTestNames)
{
    struct TCase {
        const char* Name;
        DWORD Style;
    };
    const std::vector<TCase> cases = {
        {"popup", WS_POPUP},
        {"dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME},
        {"single", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU},
        {"thick", WS_OVERLAPPEDWINDOW},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HWND window = Create(0, c.Style | WS_VISIBLE, Bounds(100, 100, 300, 200));
        On(window, WM_NCHITTEST, [&](HWND, UINT, WPARAM, LPARAM APoint) -> std::optional<LRESULT> {
            TPoint at = LParamToPoint(APoint);
            return at.X >= 390 && at.Y >= 290 ? HTBOTTOMRIGHT : HTCAPTION;
        });
        Pump();
        Screen.Drag({395, 295}, {435, 325}, 2);
        Pump();
        EXPECT_EQ(WindowRect(window), Bounds(100, 100, 340, 230));
        DestroyWindow(window);
        Pump();
    }
}

}  // namespace
}  // namespace wintest
