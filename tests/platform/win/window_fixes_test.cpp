// Scrolling with and without the children, hit testing through transparent windows, owned windows following
// their owner to and from the minimized state.
#include "win_fixture.h"

namespace wintest {
namespace {

using WindowFixes = TWinFixture;

TEST_F(WindowFixes, ScrollWindowExMovesChildrenOnlyWhenAskedTo)
{
    struct TCase {
        const char* Name;
        bool WholeArea;
        UINT Flags;
        int ExpectedTop;
    };
    const TCase cases[] = {
        {"whole area, pixels only", true, SW_INVALIDATE, 20},
        {"part of the area, pixels only", false, SW_INVALIDATE, 20},
        {"whole area with the children", true, SW_INVALIDATE | SW_SCROLLCHILDREN, 30},
        {"part of the area with the children", false, SW_INVALIDATE | SW_SCROLLCHILDREN, 30},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HWND parent = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200), nullptr, "TestPlain");
        HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 20, 50, 50), parent, "TestPlain");
        Pump();
        TRect part = Rect(0, 0, 200, 150);
        ScrollWindowEx(parent, 0, 10, c.WholeArea ? nullptr : &part, nullptr, nullptr, nullptr, c.Flags);
        TRect place;
        GetWindowRect(child, place);
        EXPECT_EQ(place.Top, c.ExpectedTop);
        DestroyWindow(parent);
    }
    // ScrollWindow over the whole client area keeps taking the children along, as it always has.
    HWND parent = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200), nullptr, "TestPlain");
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 20, 50, 50), parent, "TestPlain");
    ScrollWindow(parent, 5, 0, nullptr, nullptr);
    TRect place;
    GetWindowRect(child, place);
    EXPECT_EQ(place.Left, 15);
}

TEST_F(WindowFixes, WindowFromPointLooksThroughTransparentWindows)
{
    HWND below = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200), nullptr, "TestWindow");
    HWND page = Create(0, WS_CHILD | WS_VISIBLE, Bounds(0, 0, 200, 200), below, "TestWindow");
    HWND sheet = Create(0, WS_CHILD | WS_VISIBLE, Bounds(20, 20, 100, 100), page, "TestWindow");
    Pump();
    EXPECT_EQ(WindowFromPoint({50, 50}), sheet);
    auto transparent = [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> { return HTTRANSPARENT; };
    // A transparent child lets the point through to its parent, a transparent parent to what lies below it.
    On(sheet, WM_NCHITTEST, transparent);
    EXPECT_EQ(WindowFromPoint({50, 50}), page);
    On(page, WM_NCHITTEST, transparent);
    EXPECT_EQ(WindowFromPoint({50, 50}), below);
    EXPECT_EQ(WindowFromPoint({150, 150}), below);
    // The pointer goes the same way.
    Log.clear();
    Screen.Click({50, 50});
    Pump();
    EXPECT_EQ(Names(below, {WM_LBUTTONDOWN, WM_LBUTTONUP}), (std::vector<std::string>{"LBUTTONDOWN", "LBUTTONUP"}));
    EXPECT_TRUE(Names(sheet, {WM_LBUTTONDOWN}).empty());
}

TEST_F(WindowFixes, OwnedWindowsFollowTheirOwnerToAndFromTheMinimizedState)
{
    HWND owner = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 300, 200));
    HWND tool = Create(WS_EX_TOOLWINDOW, WS_POPUP | WS_VISIBLE, Bounds(50, 50, 80, 60), owner);
    HWND hidden = Create(0, WS_POPUP, Bounds(60, 60, 80, 60), owner);
    HWND stranger = Create(0, WS_POPUP | WS_VISIBLE, Bounds(400, 50, 80, 60));
    Pump();
    Log.clear();

    ShowWindow(owner, SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(tool));
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_TRUE(IsWindowVisible(stranger));
    auto shows = Entries(tool, WM_SHOWWINDOW);
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_EQ(shows[0].WParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(shows[0].LParam, SW_PARENTCLOSING);

    ShowWindow(owner, SW_RESTORE);
    EXPECT_TRUE(IsWindowVisible(tool));
    EXPECT_FALSE(IsWindowVisible(hidden));  // only what the owner hid comes back
    shows = Entries(tool, WM_SHOWWINDOW);
    ASSERT_EQ(shows.size(), 2u);
    EXPECT_EQ(shows[1].LParam, SW_PARENTOPENING);

    // Restoring straight to maximized brings them back too.
    ShowWindow(owner, SW_MAXIMIZE);
    ShowWindow(owner, SW_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(tool));
    ShowWindow(owner, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(owner));
    EXPECT_TRUE(IsWindowVisible(tool));
}

}  // namespace
}  // namespace wintest
