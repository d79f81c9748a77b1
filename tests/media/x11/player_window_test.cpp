// Players drawing into panels of a window on a real X server: SDL draws into each panel's native child window
// while the panel keeps its own input, and two players in one window play at the same time.
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/backend/x11/x11_backend.h"
#include "platform/gdi/gdi.h"
#include "platform/win/win.h"
#include "tests/media/player_test_support.h"

// Last: Xlib's macros would clash with names in the headers above.
#include "tests/platform/x11/painted_share.h"

namespace {

using namespace win;

std::vector<std::pair<HWND, UINT>> Clicks;

LRESULT PanelProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    if (AMessage == WM_LBUTTONDOWN || AMessage == WM_LBUTTONUP) Clicks.emplace_back(AWindow, AMessage);
    return DefWindowProc(AWindow, AMessage, AWParam, ALParam);
}

class PlayerWindowTest : public PlayerTest {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || *display == 0) GTEST_SKIP() << "needs an X display (the CI runs these under xvfb-run)";
        PlayerTest::SetUp();
        // SDL draws into windows of the display here, whatever the other player tests chose.
        UnsetEnvironmentVariable("SDL_VIDEODRIVER");
        FBackend = x11::TX11Backend::Open();
        ASSERT_NE(FBackend, nullptr);
        FProbe = XOpenDisplay(nullptr);
        ASSERT_NE(FProbe, nullptr);
        SetBackend(FBackend.get());
        InstallMainThreadHooks();
        static bool registered = false;
        if (!registered) {
            WNDCLASS cls;
            cls.lpfnWndProc = &PanelProc;
            cls.hbrBackground = COLOR_WINDOW + 1;
            cls.lpszClassName = "PlayerWindowTest";
            RegisterClass(cls);
            registered = true;
        }
        FTop = CreateWindowEx(0, "PlayerWindowTest", "Players", WS_POPUP | WS_VISIBLE, 40, 40, 680, 280, nullptr);
        ASSERT_NE(FTop, nullptr);
    }
    void TearDown() override
    {
        if (FBackend) {
            if (FTop != nullptr) DestroyWindow(FTop);
            SetBackend(nullptr);
            FBackend.reset();
            XCloseDisplay(FProbe);
        }
        PlayerTest::TearDown();
    }

    HWND Panel(int ALeft) const
    {
        return CreateWindowEx(0, "PlayerWindowTest", "", WS_CHILD | WS_VISIBLE, ALeft, 20, 320, 240, FTop);
    }

    double Painted(uintptr_t AWindow) { return x11test::PaintedShare(FProbe, AWindow); }

    std::unique_ptr<x11::TX11Backend> FBackend;
    Display* FProbe = nullptr;
    HWND FTop = nullptr;
};

TEST_F(PlayerWindowTest, ThePlayerDrawsIntoThePanelsNativeWindow)
{
    HWND panel = Panel(20);
    const uintptr_t native = NativeWindowId(panel);
    ASSERT_NE(native, 0u);
    ASSERT_TRUE(WaitUntil([&] {
        XSync(FProbe, False);
        XWindowAttributes attributes;
        return XGetWindowAttributes(FProbe, native, &attributes) && attributes.map_state == IsViewable;
    }));
    EXPECT_LT(Painted(native), 0.01) << "the panel's window starts with its background";

    TRecordingPlayer p;
    ASSERT_TRUE(p.LoadSDL());
    ASSERT_TRUE(p.Player->Open(MediaFixture("bframes.mp4"), panel)) << p.Player->LastErrMsg();
    EXPECT_EQ(p.Player->ScreenHandle(), panel);
    // No size asked for: the panel's client area.
    EXPECT_EQ(p.Player->ScreenWidth(), 320);
    EXPECT_EQ(p.Player->ScreenHeight(), 240);
    EXPECT_EQ(GetEnvironmentVariable("SDL_WINDOWID"), "");
    EXPECT_TRUE(WaitUntil([&] { return Painted(native) > 0.5; })) << Painted(native);

    // A click on the picture is still the panel's.
    Clicks.clear();
    int root_x = 0, root_y = 0;
    Window child = 0;
    XTranslateCoordinates(FProbe, native, DefaultRootWindow(FProbe), 10, 12, &root_x, &root_y, &child);
    for (int type : {ButtonPress, ButtonRelease}) {
        XEvent event{};
        event.xbutton.type = type;
        event.xbutton.window = native;
        event.xbutton.root = DefaultRootWindow(FProbe);
        event.xbutton.x = 10;
        event.xbutton.y = 12;
        event.xbutton.x_root = root_x;
        event.xbutton.y_root = root_y;
        event.xbutton.button = Button1;
        event.xbutton.same_screen = True;
        event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
        XSendEvent(FProbe, native, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
    }
    XFlush(FProbe);
    EXPECT_TRUE(WaitUntil([&] {
        for (const auto& [window, message] : Clicks)
            if (window == panel && message == WM_LBUTTONUP) return true;
        return false;
    }));
    p.Player->Stop(true);
}

TEST_F(PlayerWindowTest, TwoPlayersInOneWindowPlayAtOnce)
{
    HWND left = Panel(20);
    HWND right = Panel(340);
    TRecordingPlayer a, b;
    ASSERT_TRUE(a.LoadSDL());
    ASSERT_TRUE(b.LoadSDL());
    ASSERT_TRUE(a.Player->Open(MediaFixture("bframes.mp4"), left)) << a.Player->LastErrMsg();
    ASSERT_TRUE(b.Player->Open(MediaFixture("clip.ts"), right)) << b.Player->LastErrMsg();
    const uintptr_t left_id = NativeWindowId(left), right_id = NativeWindowId(right);
    ASSERT_NE(left_id, right_id);
    // Both draw, and both are on their way before either has ended.
    EXPECT_TRUE(WaitUntil([&] { return Painted(left_id) > 0.5 && Painted(right_id) > 0.5; }))
        << Painted(left_id) << " " << Painted(right_id);
    EXPECT_TRUE(WaitUntil([&] { return !a.Positions.empty() && !b.Positions.empty(); }));
    EXPECT_FALSE(a.Saw(psEnd) && b.Saw(psEnd));
    EXPECT_TRUE(WaitUntil([&] { return a.Saw(psEnd) && b.Saw(psEnd); }));
    a.Player->Stop(true);
    b.Player->Stop(true);
    EXPECT_TRUE(WaitUntil([&] { return a.Saw(psStop) && b.Saw(psStop); }));
}

}  // namespace
