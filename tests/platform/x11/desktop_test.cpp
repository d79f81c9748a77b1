#include "x11_fixture.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

namespace x11test {
namespace {

class X11Desktop : public TX11Fixture {
protected:
    Atom Intern(const char* AName) { return XInternAtom(Probe, AName, False); }
};

TEST_F(X11Desktop, MonitorsAndTheWorkAreaComeFromTheServer)
{
    int width = DisplayWidth(Probe, DefaultScreen(Probe)), height = DisplayHeight(Probe, DefaultScreen(Probe));
    auto monitors = Backend->Monitors();
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_TRUE(monitors[0].Primary);
    EXPECT_EQ(monitors[0].Monitor, Rect(0, 0, width, height));
    EXPECT_EQ(monitors[0].Work, Rect(0, 0, width, height));

    // A panel of 30 pixels at the bottom, as a desktop announces it.
    Window root = DefaultRootWindow(Probe);
    long area[4] = {0, 0, width, height - 30};
    XChangeProperty(Probe, root, Intern("_NET_WORKAREA"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(area), 4);
    XSync(Probe, False);
    monitors = Backend->Monitors();
    XDeleteProperty(Probe, root, Intern("_NET_WORKAREA"));
    XSync(Probe, False);
    EXPECT_EQ(monitors[0].Work, Rect(0, 0, width, height - 30));
    MONITORINFO info;
    EXPECT_TRUE(GetMonitorInfo(MonitorFromPoint({5, 5}, MONITOR_DEFAULTTOPRIMARY), &info));
    EXPECT_EQ(info.rcWork, Rect(0, 0, width, height));
}

TEST_F(X11Desktop, LayeredWindowsNeedACompositorOnTheScreen)
{
    EXPECT_FALSE(Capabilities().LayeredWindows);  // a bare X server has none
    // Someone takes the compositing manager's selection, as a compositor does when it starts.
    Window owner = XCreateSimpleWindow(Probe, DefaultRootWindow(Probe), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(Probe, Intern("_NET_WM_CM_S0"), owner, CurrentTime);
    XSync(Probe, False);
    EXPECT_TRUE(PumpUntil([&] { return Capabilities().LayeredWindows; }));

    HWND window = Create(WS_EX_LAYERED, WS_POPUP | WS_VISIBLE, Bounds(50, 50, 80, 60));
    SetLayeredWindowAttributes(window, 0, 128, LWA_ALPHA);
    ASSERT_TRUE(ShownOnX(window));
    XWindowAttributes attributes;
    XGetWindowAttributes(Probe, Backend->XWindowOf(window), &attributes);
    EXPECT_EQ(attributes.depth, 32);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(Probe, Backend->XWindowOf(window), Intern("_NET_WM_WINDOW_OPACITY"), 0, 1, False,
                       XA_CARDINAL, &type, &format, &count, &after, &data);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(static_cast<uint32_t>(*reinterpret_cast<long*>(data)), 0x80808080u);  // Xlib widens 32-bit items to long
    XFree(data);

    XDestroyWindow(Probe, owner);
    XSync(Probe, False);
    EXPECT_TRUE(PumpUntil([&] { return !Capabilities().LayeredWindows; }));
}

TEST_F(X11Desktop, PopupsBypassTheWindowManagerAndClickThroughWindowsTakeNoInput)
{
    struct TCase {
        const char* Name;
        DWORD ExStyle;
        DWORD Style;
        bool OverrideRedirect;
        bool TakesInput;
    };
    const TCase cases[] = {
        {"form", 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, false, true},
        {"frameless form", 0, WS_POPUP | WS_VISIBLE, false, true},
        {"menu or hint", WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, true, true},
        {"layered border", WS_EX_LAYERED | WS_EX_TRANSPARENT, WS_POPUP | WS_VISIBLE, true, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        HWND window = Create(c.ExStyle, c.Style, Bounds(60, 60, 100, 80));
        ASSERT_TRUE(ShownOnX(window));
        unsigned long id = Backend->XWindowOf(window);
        XWindowAttributes attributes;
        XGetWindowAttributes(Probe, id, &attributes);
        EXPECT_EQ(bool(attributes.override_redirect), c.OverrideRedirect);
        int count = 0, ordering = 0;
        XRectangle* rects = XShapeGetRectangles(Probe, id, ShapeInput, &count, &ordering);
        if (rects)
            XFree(rects);
        EXPECT_EQ(count > 0, c.TakesInput);
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(Probe, id, Intern("_MOTIF_WM_HINTS"), 0, 5, False, AnyPropertyType, &type, &format, &items,
                           &after, &data);
        ASSERT_EQ(items, 5u);  // never decorated by the window manager
        EXPECT_EQ(reinterpret_cast<long*>(data)[2], 0);
        XFree(data);
        DestroyWindow(window);
    }
}

}  // namespace
}  // namespace x11test
