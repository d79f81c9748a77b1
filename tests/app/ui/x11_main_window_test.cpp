// The real converter on a real X server: it opens its main window, and a close through the X server (the window
// manager's WM_DELETE_WINDOW) ends it with exit status 0 and the settings written. Files dropped from a file
// manager become jobs; the profile field opens the chooser above itself and "Advanced..." the Profile Settings
// dialog (pictures of each to be looked at).
#include <gtest/gtest.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/backend/headless/headless_backend.h"
#include "tests/fixtures/media_fixtures.h"
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

// The first viewable top-level window whose name and size the predicate takes.
template <typename TPredicate>
Window FindTopLevelWhere(Display* ADisplay, TPredicate AWanted)
{
    Window root = DefaultRootWindow(ADisplay), parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(ADisplay, root, &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(ADisplay, children[i], &attributes) || attributes.map_state != IsViewable) continue;
        XFetchName(ADisplay, children[i], &name);
        if (AWanted(std::string(name ? name : ""), attributes)) found = children[i];
        if (name) XFree(name);
    }
    if (children) XFree(children);
    return found;
}

Window FindTopLevel(Display* ADisplay, const std::string& AName)
{
    return FindTopLevelWhere(ADisplay, [&](const std::string& AFound, const XWindowAttributes&) {
        return AFound == AName;
    });
}

class MainWindowX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
        // A folder per test, so that the tests may run side by side.
        Root = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "x11-main-window" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
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

    bool Shoot(Window AWindow, const fs::path& APng) { return Shoot(ScreenRect(AWindow), APng); }

    // Screen pixels of the area, once it shows more than one colour (its first paint has reached the screen) and
    // then holds still between two looks (its controls, each a window of its own, have painted too).
    bool Shoot(const TRect& AArea, const fs::path& APng)
    {
        const TRect area = AArea;
        if (area.Width() <= 0 || area.Height() <= 0) return false;
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

    // A left click at a point of the window, through the X server as a user's.
    void ClickAt(Window AWindow, int AX, int AY)
    {
        const TRect window = ScreenRect(AWindow);
        const std::string command = "xdotool mousemove " + std::to_string(window.Left + AX) + " " +
                                    std::to_string(window.Top + AY) + " click 1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
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

// Window coordinates of the skinned main window (its frame and caption included), from its fixed layout.
constexpr int kGridX = 600, kGridY = 200;  // the grid's empty part, right of the columns
constexpr int kProfileFieldLeft = 132, kProfileFieldTop = 368;  // 300 x 36
constexpr int kProfileFieldX = kProfileFieldLeft + 150, kProfileFieldY = kProfileFieldTop + 18;
constexpr int kAdvancedX = 180, kAdvancedY = 536;
constexpr int kFormatRowHeight = 57;  // the chooser's format list

TEST_F(MainWindowX11Test, DroppedFilesTheProfileChooserAndProfileSettingsOnScreen)
{
    Start();
    Window window = 0;
    ASSERT_TRUE(WaitFor([&] { return (window = FindTopLevel(Display, "Quennary")) != 0; }))
        << "no main window appeared";
    const fs::path pictures = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui";
    ASSERT_TRUE(Shoot(window, Root / "before-drop.png"));

    // Three jobs of different kinds: video with sound, sound with a cover picture, a tall 29.97 fps video.
    const TRect main = ScreenRect(window);
    const fs::path source = fs::path(QUENNARY_BINARY_DIR) / "tests" / "platform" / "x11" / "x11_dnd_source";
    const std::string drop = source.string() + " " + std::to_string(main.Left + kGridX) + " " +
                             std::to_string(main.Top + kGridY) + " '" + MediaFixture("clip.avi") + "' '" +
                             MediaFixture("cover.mp3") + "' '" + MediaFixture("tall2997.mp4") + "'";
    ASSERT_EQ(std::system(drop.c_str()), 0) << drop;
    EXPECT_TRUE(Shoot(window, pictures / "x11-main-window-jobs.png"));

    // The chooser pops up above the profile field, its bottom-left corner on the field's top-left.
    ClickAt(window, kProfileFieldX, kProfileFieldY);
    Window chooser = 0;
    ASSERT_TRUE(WaitFor([&] {
        return (chooser = FindTopLevelWhere(Display, [](const std::string& AName, const XWindowAttributes& AFound) {
                    return AFound.width == 500 && AName != "Quennary";
                })) != 0;
    })) << "the profile chooser did not open";
    const TRect popup = ScreenRect(chooser);
    EXPECT_EQ(popup.Left, main.Left + kProfileFieldLeft);
    EXPECT_EQ(popup.Bottom, main.Top + kProfileFieldTop);
    const TRect both = Rect(std::min(main.Left, popup.Left), std::min(main.Top, popup.Top),
                            std::max(main.Right, popup.Right), std::max(main.Bottom, popup.Bottom));
    EXPECT_TRUE(Shoot(both, pictures / "x11-profile-chooser.png"));

    // A click on the sixth format (MKV of the shipped catalogue) chooses it and closes the chooser; "Advanced..."
    // then opens Profile Settings on that format.
    ClickAt(chooser, 250, kFormatRowHeight * 5 + kFormatRowHeight / 2);
    EXPECT_TRUE(WaitFor([&] {
        XWindowAttributes attributes;
        return !XGetWindowAttributes(Display, chooser, &attributes) || attributes.map_state != IsViewable;
    })) << "the chooser stayed open";
    ClickAt(window, kAdvancedX, kAdvancedY);
    Window settings = 0;
    ASSERT_TRUE(WaitFor([&] { return (settings = FindTopLevel(Display, "Profile Settings")) != 0; }))
        << "Profile Settings did not open";
    EXPECT_TRUE(Shoot(settings, pictures / "x11-profile-settings.png"));
}

}  // namespace
