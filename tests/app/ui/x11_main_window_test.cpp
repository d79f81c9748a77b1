// The real converter on a real X server: it opens its main window, and a close through the X server (the window
// manager's WM_DELETE_WINDOW) ends it with exit status 0 and the settings written.
#include <gtest/gtest.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/backend/headless/headless_backend.h"
#include "tests/platform/x11/xwd_reader.h"

namespace fs = std::filesystem;

namespace {

const fs::path Executable = fs::path(QUENNARY_BINARY_DIR) / "app" / "quennary";

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

Window FindTopLevel(Display* ADisplay, const std::string& AName)
{
    Window root = DefaultRootWindow(ADisplay), parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(ADisplay, root, &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(ADisplay, children[i], &name) && name) {
            if (AName == name && XGetWindowAttributes(ADisplay, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
    }
    if (children) XFree(children);
    return found;
}

class MainWindowX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "x11-main-window";
        fs::remove_all(Root);
        fs::create_directories(Root / "home" / "Documents");
        fs::create_directories(Root / "config");
        Display = XOpenDisplay(nullptr);
        ASSERT_NE(Display, nullptr);
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
        Child = fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            setenv("HOME", (Root / "home").c_str(), 1);
            setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
            execl(Executable.c_str(), Executable.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    // Screen pixels of the window, once it shows more than one colour (its first paint has reached the screen) and
    // then holds still between two looks (its controls, each a window of its own, have painted too).
    bool Shoot(Window AWindow, const fs::path& APng)
    {
        XWindowAttributes attributes;
        Window child;
        int x = 0, y = 0;
        if (!XGetWindowAttributes(Display, AWindow, &attributes)) return false;
        XTranslateCoordinates(Display, AWindow, DefaultRootWindow(Display), 0, 0, &x, &y, &child);
        const TRect area = Bounds(x, y, attributes.width, attributes.height);
        const std::string dump = (Root / "screen.xwd").string();
        std::optional<std::vector<uint32_t>> pixels;
        auto look = [&] {
            if (std::system(("xwd -root -silent -out '" + dump + "'").c_str()) != 0) return false;
            pixels = x11test::ReadXwdArea(dump, area);
            return pixels.has_value();
        };
        const bool painted = WaitFor([&] {
            if (!look()) return false;
            for (uint32_t p : *pixels)
                if (p != pixels->front()) return true;
            return false;
        });
        if (painted) {
            WaitFor([&] {
                const std::vector<uint32_t> before = pixels ? *pixels : std::vector<uint32_t>{};
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                return look() && *pixels == before;
            }, 10);
        }
        if (pixels) headless::WritePng(APng.string(), pixels->data(), area.Width(), area.Height());
        return painted;
    }

    fs::path Root;
    ::Display* Display = nullptr;
    pid_t Child = -1;
};

TEST_F(MainWindowX11Test, OpensAndClosesThroughTheXServerWritingTheSettings)
{
    Start();
    Window window = 0;
    ASSERT_TRUE(WaitFor([&] { return (window = FindTopLevel(Display, "Quennary")) != 0; }))
        << "no main window appeared";
    const fs::path png = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "main-window.png";
    EXPECT_TRUE(Shoot(window, png)) << "the window never painted; see " << png;

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(Display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(Display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(Display, window, False, NoEventMask, &event);
    XFlush(Display);

    int status = -1;
    ASSERT_TRUE(WaitFor([&] { return waitpid(Child, &status, WNOHANG) == Child; })) << "did not exit";
    Child = -1;
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0);

    const fs::path settings = Root / "config" / "Brindlewave" / "Quennary" / "settings.ini";
    ASSERT_TRUE(fs::exists(settings));
    std::ifstream file(settings);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("OutputPath=sz:" + (Root / "home" / "Documents/Brindlewave/Quennary/Output").string()),
              std::string::npos)
        << text.str();
}

}  // namespace
