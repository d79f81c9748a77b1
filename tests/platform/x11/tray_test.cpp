#include "x11_fixture.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace x11test {
namespace {

// The smallest tray a desktop could have: it owns the tray selection and docks every icon that asks, giving
// it a 24 x 24 place inside its own window.
class TTinyTray {
public:
    explicit TTinyTray(Display* ADisplay) : FDisplay(ADisplay)
    {
        Window root = DefaultRootWindow(FDisplay);
        FWindow = XCreateSimpleWindow(FDisplay, root, 600, 0, 100, 30, 0, 0, 0x303030);
        XMapWindow(FDisplay, FWindow);
        XSetSelectionOwner(FDisplay, XInternAtom(FDisplay, "_NET_SYSTEM_TRAY_S0", False), FWindow, CurrentTime);
        XSync(FDisplay, False);
    }
    ~TTinyTray()
    {
        XDestroyWindow(FDisplay, FWindow);
        XSync(FDisplay, False);
    }

    // Takes a dock request if one came; returns the docked icon window.
    Window TakeDockRequest()
    {
        Atom opcode = XInternAtom(FDisplay, "_NET_SYSTEM_TRAY_OPCODE", False);
        XEvent event;
        while (XCheckTypedWindowEvent(FDisplay, FWindow, ClientMessage, &event))
            if (event.xclient.message_type == opcode && event.xclient.data.l[1] == 0) {
                Window icon = static_cast<Window>(event.xclient.data.l[2]);
                XReparentWindow(FDisplay, icon, FWindow, 4, 3);
                XResizeWindow(FDisplay, icon, 24, 24);
                XMapWindow(FDisplay, icon);
                XSync(FDisplay, False);
                return icon;
            }
        return 0;
    }

private:
    Display* FDisplay;
    Window FWindow;
};

class X11Tray : public TX11Fixture {};

TEST_F(X11Tray, WithoutATrayManagerNoIconIsAdded)
{
    ASSERT_EQ(XGetSelectionOwner(Probe, XInternAtom(Probe, "_NET_SYSTEM_TRAY_S0", False)), None);
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    NOTIFYICONDATA data;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_ICON;
    data.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    EXPECT_FALSE(IsTrayAvailable());
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &data));
    EXPECT_TRUE(TrayIcons().empty());
}

TEST_F(X11Tray, TheTrayDocksTheIconWhichShowsItsPicture)
{
    TTinyTray tray(Probe);
    EXPECT_TRUE(IsTrayAvailable());
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    std::vector<uint32_t> green(16 * 16, 0xFF00C000);
    HICON icon = CreateIconFromPixels(16, 16, green.data());
    NOTIFYICONDATA data;
    data.hWnd = window;
    data.uID = 1;
    data.uFlags = NIF_ICON | NIF_MESSAGE;
    data.uCallbackMessage = WM_USER + 1;
    data.hIcon = icon;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &data));
    Window docked = 0;
    ASSERT_TRUE(PumpUntil([&] { return (docked = tray.TakeDockRequest()) != 0; }));
    auto centre = [&] {
        XSync(Probe, False);
        XImage* image = XGetImage(Probe, docked, 12, 12, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0ul;
        unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return pixel;
    };
    EXPECT_TRUE(PumpUntil([&] { return centre() == 0x00C000; })) << std::hex << centre();

    // A new picture is drawn at once.
    std::vector<uint32_t> blue(16 * 16, 0xFF0000E0);
    HICON other = CreateIconFromPixels(16, 16, blue.data());
    data.hIcon = other;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &data));
    EXPECT_TRUE(PumpUntil([&] { return centre() == 0x0000E0; })) << std::hex << centre();

    // A click on it reaches the window as the callback message.
    bool clicked = false;
    On(window, WM_USER + 1, [&](HWND, UINT, WPARAM AId, LPARAM AEvent) -> std::optional<LRESULT> {
        clicked = clicked || (AId == 1 && AEvent == WM_LBUTTONUP);
        return 0;
    });
    FakeClick({600 + 4 + 12, 3 + 12});
    EXPECT_TRUE(PumpUntil([&] { return clicked; }));
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &data));
    DestroyIcon(icon);
    DestroyIcon(other);
}

}  // namespace
}  // namespace x11test
