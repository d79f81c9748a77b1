#include "win_fixture.h"

namespace wintest {
namespace {

class Geometry : public TWinFixture {};

TEST_F(Geometry, DefaultFramesLeaveTheClientAreaTheStylesDescribe)
{
    struct TCase {
        DWORD ExStyle;
        DWORD Style;
        TRect Client;  // in window coordinates for a 200 x 100 window
    };
    const std::vector<TCase> cases = {
        {0, WS_POPUP, Rect(0, 0, 200, 100)},
        {0, WS_POPUP | WS_BORDER, Rect(1, 1, 199, 99)},
        {0, WS_POPUP | WS_CAPTION, Rect(3, 22, 197, 97)},
        {0, WS_OVERLAPPEDWINDOW, Rect(4, 23, 196, 96)},
        {WS_EX_TOOLWINDOW, WS_POPUP | WS_CAPTION | WS_THICKFRAME, Rect(4, 19, 196, 96)},
        {WS_EX_CLIENTEDGE, WS_POPUP | WS_THICKFRAME, Rect(6, 6, 194, 94)},
    };
    for (const TCase& c : cases) {
        HWND window = Create(c.ExStyle, c.Style, Bounds(10, 20, 200, 100));
        TRect client;
        GetClientRect(window, client);
        TPoint origin{0, 0};
        ClientToScreen(window, origin);
        EXPECT_EQ(Bounds(origin.X - 10, origin.Y - 20, client.Width(), client.Height()), c.Client)
            << std::hex << c.Style;
        TRect adjusted = Rect(0, 0, client.Width(), client.Height());
        AdjustWindowRectEx(adjusted, c.Style, FALSE, c.ExStyle);
        EXPECT_EQ(adjusted.Width(), 200);
        EXPECT_EQ(adjusted.Height(), 100);
        DestroyWindow(window);
    }
}

TEST_F(Geometry, NcCalcSizeDecidesTheClientAreaOnCreationResizeAndFrameChange)
{
    int inset = 10;
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    On(window, WM_NCCALCSIZE, [&](HWND, UINT, WPARAM ACalc, LPARAM AParams) -> std::optional<LRESULT> {
        TRect& rect = ACalc ? reinterpret_cast<NCCALCSIZE_PARAMS*>(AParams)->rgrc[0] : *reinterpret_cast<TRect*>(AParams);
        rect = {rect.Left + inset, rect.Top + inset * 2, rect.Right - inset, rect.Bottom - inset};
        return 0;
    });
    auto client = [&] {
        TRect rect;
        GetClientRect(window, rect);
        TPoint origin{0, 0};
        ClientToScreen(window, origin);
        return Bounds(origin.X, origin.Y, rect.Width(), rect.Height());
    };
    EXPECT_EQ(client(), Rect(0, 0, 100, 100));  // created before the handler was there
    SetWindowPos(window, nullptr, 50, 50, 200, 150, SWP_NOZORDER);
    EXPECT_EQ(client(), Rect(60, 70, 240, 190));
    inset = 5;
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(client(), Rect(60, 70, 240, 190));  // nothing asked for a new frame
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(client(), Rect(55, 60, 245, 195));
}

TEST_F(Geometry, PlacementChangesSendTheirMessagesInOrder)
{
    HWND window = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
    Pump();
    struct TCase {
        const char* Name;
        int X, Y, Cx, Cy;
        UINT Flags;
        std::vector<std::string> Expected;
    };
    const std::vector<TCase> cases = {
        {"move", 120, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER,
         {"WINDOWPOSCHANGING", "WINDOWPOSCHANGED", "MOVE"}},
        {"size", 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER,
         {"WINDOWPOSCHANGING", "GETMINMAXINFO", "NCCALCSIZE", "WINDOWPOSCHANGED", "SIZE"}},
        {"both", 10, 10, 200, 150, SWP_NOZORDER,
         {"WINDOWPOSCHANGING", "GETMINMAXINFO", "NCCALCSIZE", "WINDOWPOSCHANGED", "MOVE", "SIZE"}},
        {"nothing", 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER, {"WINDOWPOSCHANGING", "WINDOWPOSCHANGED"}},
    };
    for (const TCase& c : cases) {
        Log.clear();
        SetWindowPos(window, nullptr, c.X, c.Y, c.Cx, c.Cy, c.Flags | SWP_NOACTIVATE);
        EXPECT_EQ(Names(window, {WM_WINDOWPOSCHANGING, WM_GETMINMAXINFO, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE,
                                 WM_SIZE}),
                  c.Expected)
            << c.Name;
    }
    // The minimum track size holds against SetWindowPos, and a changed WINDOWPOS is honoured.
    SetWindowPos(window, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
    TRect rect;
    GetWindowRect(window, rect);
    EXPECT_EQ(rect.Width(), GetSystemMetrics(SM_CXMINTRACK));
    On(window, WM_WINDOWPOSCHANGING, [](HWND, UINT, WPARAM, LPARAM APos) -> std::optional<LRESULT> {
        reinterpret_cast<WINDOWPOS*>(APos)->x = 77;
        return 0;
    });
    SetWindowPos(window, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(window, rect);
    EXPECT_EQ(rect.TopLeft(), Point(77, 5));
}

TEST_F(Geometry, MaximizeFillsTheWorkAreaAndRestoreComesBack)
{
    Screen.SetMonitors({{Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 738), true},
                        {Rect(1024, 0, 2048, 768), Rect(1024, 0, 2048, 768), false}});
    HWND window = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(1100, 100, 300, 200));
    Log.clear();
    ShowWindow(window, SW_MAXIMIZE);
    TRect rect;
    GetWindowRect(window, rect);
    EXPECT_EQ(rect, Rect(1020, -4, 2052, 772));  // the sizing frame lies outside the monitor
    EXPECT_TRUE(IsZoomed(window));
    auto sizes = Entries(window, WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].WParam, SIZE_MAXIMIZED);

    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_EQ(Entries(window, WM_SIZE).back().WParam, SIZE_MINIMIZED);
    EXPECT_NE(GetActiveWindow(), window);
    ShowWindow(window, SW_RESTORE);  // back to maximized, as it was
    EXPECT_TRUE(IsZoomed(window));
    ShowWindow(window, SW_RESTORE);
    GetWindowRect(window, rect);
    EXPECT_EQ(rect, Bounds(1100, 100, 300, 200));
    EXPECT_EQ(Entries(window, WM_SIZE).back().WParam, SIZE_RESTORED);

    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info));
    EXPECT_EQ(info.rcMonitor, Rect(1024, 0, 2048, 768));
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(MonitorFromPoint({-500, 10}, MONITOR_DEFAULTTONULL), nullptr);
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({-500, 10}, MONITOR_DEFAULTTONEAREST), &info));
    EXPECT_EQ(info.rcWork, Rect(0, 0, 1024, 738));
    TRect work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work, Rect(0, 0, 1024, 738));
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 2048);
}

TEST_F(Geometry, CoordinatesMapThroughNestedClientAreas)
{
    HWND top = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
    HWND child = Create(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE, Bounds(10, 20, 100, 100), top);
    TPoint point{0, 0};
    ClientToScreen(child, point);
    EXPECT_EQ(point, Point(104 + 10 + 2, 123 + 20 + 2));
    ScreenToClient(child, point);
    EXPECT_EQ(point, Point(0, 0));
    TPoint points[1] = {{5, 5}};
    MapWindowPoints(child, top, points, 1);
    EXPECT_EQ(points[0], Point(17, 27));
    EXPECT_EQ(WindowFromPoint({104 + 10 + 50, 123 + 20 + 50}), child);
    EXPECT_EQ(ChildWindowFromPoint(top, {5, 5}), top);
    EXPECT_EQ(ChildWindowFromPoint(top, {15, 25}), child);
}

TEST_F(Geometry, TopmostWindowsStayAboveAndOwnedWindowsAboveTheirOwner)
{
    HWND owner = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    HWND owned = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10), owner);
    HWND other = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    HWND topmost = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
    SetWindowPos(topmost, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    auto order = TopLevelWindowsInZOrder();
    auto position = [&](HWND AWindow) { return std::find(order.begin(), order.end(), AWindow) - order.begin(); };
    EXPECT_LT(position(topmost), position(owned));
    EXPECT_LT(position(owned), position(owner));
    EXPECT_LT(position(owner), position(other));
    EXPECT_TRUE(GetWindowLong(topmost, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
}  // namespace wintest
