#include "x11_fixture.h"

#include <X11/extensions/shape.h>

#include <algorithm>

namespace x11test {
namespace {

class X11Windows : public TX11Fixture {};

TEST_F(X11Windows, AClickArrivesAtTheClientPointUnderThePointer)
{
    struct TCase {
        const char* Name;
        DWORD Style;
        TRect Bounds;
        TPoint Client;
    };
    const TCase cases[] = {
        {"frameless", WS_POPUP | WS_VISIBLE, Bounds(100, 80, 240, 160), {30, 40}},
        {"framed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(420, 300, 300, 200), {57, 21}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HWND window = Create(0, c.Style, c.Bounds);
        ASSERT_TRUE(ShownOnX(window));
        EXPECT_EQ(XPlace(Backend->XWindowOf(window)), c.Bounds);  // the X window covers the frame too
        TPoint screen = c.Client;
        ClientToScreen(window, screen);
        Log.clear();
        FakeClick(screen);
        ASSERT_TRUE(PumpUntil([&] { return !Entries(window, WM_LBUTTONUP).empty(); }));
        auto downs = Entries(window, WM_LBUTTONDOWN);
        ASSERT_EQ(downs.size(), 1u);
        EXPECT_EQ(LParamToPoint(downs[0].LParam), c.Client);
    }
}

TEST_F(X11Windows, AWindowRegionCutsTheXShapeAndGoesAgain)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(150, 150, 200, 100));
    ASSERT_TRUE(ShownOnX(window));
    HRGN shape = CreateRectRgn(0, 0, 200, 50);
    HRGN foot = CreateRectRgn(20, 50, 60, 100);
    CombineRgn(shape, shape, foot, RGN_OR);
    DeleteObject(foot);
    SetWindowRgn(window, shape, TRUE);  // the window owns the region now

    auto xshape = [&] {
        XSync(Probe, False);
        int count = 0, ordering = 0;
        XRectangle* rects = XShapeGetRectangles(Probe, Backend->XWindowOf(window), ShapeBounding, &count, &ordering);
        std::vector<TRect> result;
        for (int i = 0; i < count; ++i)
            result.push_back(Bounds(rects[i].x, rects[i].y, rects[i].width, rects[i].height));
        if (rects)
            XFree(rects);
        std::sort(result.begin(), result.end(), [](const TRect& A, const TRect& B) {
            return std::tie(A.Top, A.Left) < std::tie(B.Top, B.Left);
        });
        return result;
    };
    std::vector<TRect> cut = {Rect(0, 0, 200, 50), Rect(20, 50, 60, 100)};
    EXPECT_TRUE(PumpUntil([&] { return xshape() == cut; })) << xshape().size();

    SetWindowRgn(window, nullptr, TRUE);
    std::vector<TRect> whole = {Rect(0, 0, 200, 100)};
    EXPECT_TRUE(PumpUntil([&] { return xshape() == whole; }));
}

TEST_F(X11Windows, ANativeChildSitsAtItsWindowAndFollowsIt)
{
    HWND top = Create(0, WS_POPUP | WS_VISIBLE, Bounds(200, 150, 400, 300));
    HWND box = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 10, 300, 200), top);
    HWND panel = Create(0, WS_CHILD | WS_VISIBLE, Bounds(20, 30, 160, 90), box);
    ASSERT_TRUE(ShownOnX(top));
    EXPECT_EQ(NativeWindowId(top), 0u);  // top-level windows are X windows already

    uintptr_t id = NativeWindowId(panel);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(NativeWindowId(panel), id);  // one per window
    EXPECT_EQ(Backend->XWindowOf(panel), id);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    ASSERT_TRUE(XQueryTree(Probe, id, &root, &parent, &children, &count));
    if (children)
        XFree(children);
    EXPECT_EQ(parent, Backend->XWindowOf(top));
    EXPECT_TRUE(PumpUntil([&] { return XViewable(id) && XPlace(id) == Bounds(230, 190, 160, 90); }));

    MoveWindow(top, 300, 250, 400, 300, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return XPlace(id) == Bounds(330, 290, 160, 90); }));

    // Input on the panel is still the application's.
    Log.clear();
    FakeClick({330 + 5, 290 + 7});
    ASSERT_TRUE(PumpUntil([&] { return !Entries(panel, WM_LBUTTONUP).empty(); }));
    ASSERT_EQ(Entries(panel, WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(LParamToPoint(Entries(panel, WM_LBUTTONDOWN)[0].LParam), (TPoint{5, 7}));

    // Moved within its parent so that the parent cuts it: same size, only the inside part shows.
    SetWindowPos(panel, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    auto bounding = [&] {
        XSync(Probe, False);
        int n = 0, ordering = 0;
        XRectangle* rects = XShapeGetRectangles(Probe, id, ShapeBounding, &n, &ordering);
        std::vector<TRect> result;
        for (int i = 0; i < n; ++i)
            result.push_back(Bounds(rects[i].x, rects[i].y, rects[i].width, rects[i].height));
        if (rects)
            XFree(rects);
        return result;
    };
    EXPECT_TRUE(PumpUntil([&] {
        return XPlace(id) == Bounds(300 + 10 + 200, 250 + 10 + 150, 160, 90) &&
               bounding() == std::vector<TRect>{Rect(0, 0, 100, 50)};
    }));

    ShowWindow(panel, SW_HIDE);
    EXPECT_TRUE(PumpUntil([&] { return !XViewable(id); }));
    ShowWindow(panel, SW_SHOW);
    EXPECT_TRUE(PumpUntil([&] { return XViewable(id); }));

    DestroyWindow(panel);
    EXPECT_TRUE(PumpUntil([&] { return Backend->XWindowOf(panel) == 0 && !XPlace(id); }));
}

TEST_F(X11Windows, ASolidNativeChildShowsItsColourAboveAVideoPanel)
{
    HWND top = Create(0, WS_POPUP | WS_VISIBLE, Bounds(200, 150, 400, 300));
    HWND marker = Create(0, WS_CHILD | WS_VISIBLE, Bounds(40, 40, 8, 9), top);  // made first, stacked last
    HWND video = Create(0, WS_CHILD | WS_VISIBLE, Bounds(20, 20, 200, 100), top);
    ASSERT_TRUE(ShownOnX(top));
    uintptr_t solid = SolidNativeWindow(marker, RGB(0x20, 0x80, 0xF0));
    uintptr_t under = NativeWindowId(video);  // a later window would lie on top unless restacked
    ASSERT_NE(solid, 0u);
    ASSERT_NE(under, 0u);
    EXPECT_EQ(SolidNativeWindow(marker, RGB(0x20, 0x80, 0xF0)), solid);
    auto pixel = [&](int AX, int AY) {
        XSync(Probe, False);
        XImage* image = XGetImage(Probe, DefaultRootWindow(Probe), AX, AY, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0ul;
        unsigned long result = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return result;
    };
    EXPECT_TRUE(PumpUntil([&] { return XViewable(solid) && XViewable(under) && pixel(244, 194) == 0x2080F0; }))
        << std::hex << pixel(244, 194);
}

TEST_F(X11Windows, HiddenAndDestroyedWindowsLeaveTheScreen)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(10, 10, 50, 50));
    ASSERT_TRUE(ShownOnX(window));
    unsigned long id = Backend->XWindowOf(window);
    ShowWindow(window, SW_HIDE);
    EXPECT_TRUE(PumpUntil([&] { return !XViewable(id); }));
    DestroyWindow(window);
    EXPECT_EQ(Backend->XWindowOf(window), 0u);
    EXPECT_TRUE(PumpUntil([&] { return !XPlace(id); }));
}

}  // namespace
}  // namespace x11test
