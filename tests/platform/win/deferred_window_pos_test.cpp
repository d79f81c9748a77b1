#include "win_fixture.h"

namespace wintest {
namespace {

class DeferredWindowPos : public TWinFixture {
protected:
    TRect PlaceOf(HWND AWindow)
    {
        TRect rect;
        GetWindowRect(AWindow, rect);
        TPoint corners[2] = {rect.TopLeft(), rect.BottomRight()};
        MapWindowPoints(nullptr, GetAncestor(AWindow, GA_PARENT), corners, 2);
        return {corners[0].X, corners[0].Y, corners[1].X, corners[1].Y};
    }
    // Filled by a handler that may still run while the fixture tears the windows down.
    std::vector<TRect> SeenFromA;
};

TEST_F(DeferredWindowPos, EveryWindowIsAskedFirstThenAllMoveBeforeAnyHearsOfIt)
{
    HWND parent = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 400, 300));
    HWND a = Create(0, WS_CHILD, Bounds(0, 0, 10, 10), parent);
    HWND b = Create(0, WS_CHILD | WS_VISIBLE, Bounds(0, 20, 10, 10), parent);
    HWND c = Create(0, WS_CHILD | WS_VISIBLE, Bounds(0, 40, 10, 10), parent);
    Pump();
    Log.clear();
    // What each window sees of the others while it hears that it moved: the batch is already in place.
    On(a, WM_WINDOWPOSCHANGED, [this, b, c](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        SeenFromA = {PlaceOf(b), PlaceOf(c)};
        return std::nullopt;
    });
    // A window may still change its own entry when asked.
    On(c, WM_WINDOWPOSCHANGING, [](HWND, UINT, WPARAM, LPARAM APos) -> std::optional<LRESULT> {
        reinterpret_cast<WINDOWPOS*>(APos)->cx = 77;
        return std::nullopt;
    });
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    HDWP batch = BeginDeferWindowPos(3);
    batch = DeferWindowPos(batch, a, nullptr, 5, 5, 50, 15, flags);
    batch = DeferWindowPos(batch, b, nullptr, 5, 25, 50, 15, flags);
    batch = DeferWindowPos(batch, c, nullptr, 5, 45, 50, 15, flags);
    batch = DeferWindowPos(batch, b, nullptr, 60, 25, 50, 15, flags);  // replaces b's first entry
    ASSERT_NE(batch, nullptr);
    // Nothing moves before the batch ends.
    EXPECT_EQ(PlaceOf(a), Bounds(0, 0, 10, 10));
    EXPECT_TRUE(EndDeferWindowPos(batch));

    EXPECT_EQ(PlaceOf(a), Bounds(5, 5, 50, 15));
    EXPECT_EQ(PlaceOf(b), Bounds(60, 25, 50, 15));
    EXPECT_EQ(PlaceOf(c), Bounds(5, 45, 77, 15));
    EXPECT_EQ(SeenFromA, (std::vector<TRect>{Bounds(60, 25, 50, 15), Bounds(5, 45, 77, 15)}));
    EXPECT_TRUE(IsWindowVisible(a));
    EXPECT_EQ(Names(nullptr, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
              (std::vector<std::string>{"WINDOWPOSCHANGING", "WINDOWPOSCHANGING", "WINDOWPOSCHANGING",
                                        "WINDOWPOSCHANGED", "WINDOWPOSCHANGED", "WINDOWPOSCHANGED"}));
}

TEST_F(DeferredWindowPos, AnUnknownWindowAbandonsTheBatchAndAWindowGoneBeforeTheEndDropsOut)
{
    HWND parent = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 400, 300));
    HWND a = Create(0, WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), parent);
    HWND b = Create(0, WS_CHILD | WS_VISIBLE, Bounds(0, 20, 10, 10), parent);

    HDWP batch = DeferWindowPos(BeginDeferWindowPos(2), a, nullptr, 5, 5, 20, 20, SWP_NOZORDER);
    EXPECT_EQ(DeferWindowPos(batch, reinterpret_cast<HWND>(0x7777), nullptr, 0, 0, 1, 1, 0), nullptr);
    EXPECT_EQ(PlaceOf(a), Bounds(0, 0, 10, 10));
    EXPECT_FALSE(EndDeferWindowPos(nullptr));

    batch = BeginDeferWindowPos(2);
    batch = DeferWindowPos(batch, a, nullptr, 5, 5, 20, 20, SWP_NOZORDER);
    batch = DeferWindowPos(batch, b, nullptr, 5, 30, 20, 20, SWP_NOZORDER);
    DestroyWindow(a);
    EXPECT_TRUE(EndDeferWindowPos(batch));
    EXPECT_EQ(PlaceOf(b), Bounds(5, 30, 20, 20));
}

TEST_F(DeferredWindowPos, MessageBeepRingsTheBackendsBellOncePerCall)
{
    EXPECT_EQ(Screen.BeepCount(), 0);
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
    EXPECT_EQ(Screen.BeepCount(), 2);
    SetBackend(nullptr);
    EXPECT_FALSE(MessageBeep(0));
    SetBackend(&Screen);
    EXPECT_EQ(Screen.BeepCount(), 2);
}

}  // namespace
}  // namespace wintest
