#pragma once
// The real converter on the X server: a fixture that starts `quennary` with a home and settings folder of the
// test's own, finds its top-level windows, reads what the screen shows of them and clicks as a user does.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "tests/platform/x11/xwd_reader.h"

namespace x11rig {

// Waits in short slices for a condition the other process brings about; the bound only keeps a broken run from
// hanging the suite.
template <typename TCondition>
bool WaitFor(TCondition ACondition, int ASeconds = 30)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(ASeconds);
    while (std::chrono::steady_clock::now() < end) {
        if (ACondition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return ACondition();
}

// Pixels of a screen area, 0x00RRGGBB, row by row.
struct TShot {
    TRect Area;
    std::vector<uint32_t> Pixels;
    uint32_t At(int AX, int AY) const { return Pixels[size_t(AY) * Area.Width() + AX] & 0xFFFFFF; }
};

class TQuennaryX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
        Root = std::filesystem::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / Folder /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(Root);
        std::filesystem::create_directories(Root / "home" / "Documents");
        std::filesystem::create_directories(Root / "config");
        Display = XOpenDisplay(nullptr);
        ASSERT_NE(Display, nullptr);
        // The program's windows come and go while the test looks at them (a popup closing between a listing and a
        // look): an error about a window that is gone only makes that look fail, instead of ending the test
        // process (and leaving the program and the window manager behind).
        XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
    }
    void TearDown() override
    {
        if (Child > 0) {
            kill(Child, SIGKILL);
            waitpid(Child, nullptr, 0);
        }
        if (Display) XCloseDisplay(Display);
    }

    void Start()
    {
        const std::filesystem::path executable = std::filesystem::path(QUENNARY_BINARY_DIR) / "app" / "quennary";
        Child = fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            setenv("HOME", (Root / "home").c_str(), 1);
            setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
            execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    // The first viewable top-level window whose name and attributes the predicate takes.
    template <typename TPredicate>
    Window FindTopLevelWhere(TPredicate AWanted)
    {
        Window root = DefaultRootWindow(Display), parent = 0, *children = nullptr;
        unsigned count = 0;
        Window found = 0;
        if (!XQueryTree(Display, root, &root, &parent, &children, &count)) return 0;
        for (unsigned i = 0; i < count && !found; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(Display, children[i], &attributes) || attributes.map_state != IsViewable)
                continue;
            XFetchName(Display, children[i], &name);
            if (AWanted(std::string(name ? name : ""), attributes)) found = children[i];
            if (name) XFree(name);
        }
        if (children) XFree(children);
        return found;
    }
    Window FindTopLevel(const std::string& AName)
    {
        return FindTopLevelWhere([&](const std::string& AFound, const XWindowAttributes&) { return AFound == AName; });
    }
    // Waits for the named window; 0 when it did not appear.
    Window WaitForWindow(const std::string& AName)
    {
        Window window = 0;
        WaitFor([&] { return (window = FindTopLevel(AName)) != 0; });
        return window;
    }

    // The window's place on the screen.
    TRect ScreenRect(Window AWindow)
    {
        XWindowAttributes attributes;
        Window child;
        int x = 0, y = 0;
        if (!XGetWindowAttributes(Display, AWindow, &attributes)) return TRect();
        XTranslateCoordinates(Display, AWindow, DefaultRootWindow(Display), 0, 0, &x, &y, &child);
        return Bounds(x, y, attributes.width, attributes.height);
    }

    // What the screen shows of the area, once it shows more than one colour (its first paint has reached the
    // screen) and then holds still between two looks; written to APng to be looked at.
    std::optional<TShot> Shoot(const TRect& AArea, const std::filesystem::path& APng)
    {
        if (AArea.Width() <= 0 || AArea.Height() <= 0) return std::nullopt;
        const std::string dump = (Root / "screen.xwd").string();
        std::optional<std::vector<uint32_t>> pixels;
        auto look = [&] {
            if (std::system(("xwd -root -silent -out '" + dump + "'").c_str()) != 0) return false;
            pixels = x11test::ReadXwdArea(dump, AArea);
            return pixels.has_value();
        };
        const bool painted = WaitFor([&] {
            if (!look()) return false;
            for (uint32_t p : *pixels)
                if (p != pixels->front()) return true;
            return false;
        });
        if (!painted) return std::nullopt;
        WaitFor([&] {
            const std::vector<uint32_t> before = *pixels;
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            return look() && *pixels == before;
        }, 10);
        headless::WritePng(APng.string(), pixels->data(), AArea.Width(), AArea.Height());
        return TShot{AArea, *pixels};
    }
    std::optional<TShot> Shoot(Window AWindow, const std::filesystem::path& APng)
    {
        return Shoot(ScreenRect(AWindow), APng);
    }

    // A left click at a point of the window, through the X server as a user's.
    void ClickAt(Window AWindow, int AX, int AY)
    {
        const TRect window = ScreenRect(AWindow);
        const std::string command = "xdotool mousemove " + std::to_string(window.Left + AX) + " " +
                                    std::to_string(window.Top + AY) + " click 1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    // Closes a window as its close box does, through the window manager's WM_DELETE_WINDOW.
    void CloseThroughTheWindowManager(Window AWindow)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = AWindow;
        event.xclient.message_type = XInternAtom(Display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(Display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(Display, AWindow, False, NoEventMask, &event);
        XFlush(Display);
    }
    // Moves the pointer out of the way, so that no control shows itself under it.
    void ParkPointer() { ASSERT_EQ(std::system("xdotool mousemove 0 0"), 0); }

    // Drops files on the window at a point, as a file manager does.
    void DropFiles(Window AWindow, int AX, int AY, const std::vector<std::string>& APaths)
    {
        const TRect window = ScreenRect(AWindow);
        const std::filesystem::path source =
            std::filesystem::path(QUENNARY_BINARY_DIR) / "tests" / "platform" / "x11" / "x11_dnd_source";
        std::string command = source.string() + " " + std::to_string(window.Left + AX) + " " +
                              std::to_string(window.Top + AY);
        for (const std::string& path : APaths) command += " '" + path + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    // The folder in this build's tests/app/ui that holds each test's home, settings and pictures.
    std::string Folder = "x11-quennary";
    std::filesystem::path Root;
    ::Display* Display = nullptr;
    pid_t Child = -1;
};

}  // namespace x11rig
