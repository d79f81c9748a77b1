// The real converter on a real X server: it opens its main window, and a close through the X server (the window
// manager's WM_DELETE_WINDOW) ends it with exit status 0 and the settings written. Files dropped from a file
// manager become jobs; the profile field opens the chooser above itself and "Advanced..." the Profile Settings
// dialog (pictures of each to be looked at).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/app/ui/x11_quennary_rig.h"
#include "tests/fixtures/media_fixtures.h"

namespace fs = std::filesystem;

namespace {

using x11rig::WaitFor;

class MainWindowX11Test : public x11rig::TQuennaryX11Test {
protected:
    MainWindowX11Test() { Folder = "x11-main-window"; }
};

TEST_F(MainWindowX11Test, OpensAndClosesThroughTheXServerWritingTheSettings)
{
    Start();
    const Window window = WaitForWindow("Quennary");
    ASSERT_NE(window, 0u) << "no main window appeared";
    const fs::path png = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui" / "main-window.png";
    EXPECT_TRUE(Shoot(window, png)) << "the window never painted; see " << png;

    CloseThroughTheWindowManager(window);

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
    const Window window = WaitForWindow("Quennary");
    ASSERT_NE(window, 0u) << "no main window appeared";
    const fs::path pictures = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" / "ui";
    ASSERT_TRUE(Shoot(window, Root / "before-drop.png"));

    // Three jobs of different kinds: video with sound, sound with a cover picture, a tall 29.97 fps video.
    const TRect main = ScreenRect(window);
    DropFiles(window, kGridX, kGridY,
              {MediaFixture("clip.avi"), MediaFixture("cover.mp3"), MediaFixture("tall2997.mp4")});
    EXPECT_TRUE(Shoot(window, pictures / "x11-main-window-jobs.png"));

    // The chooser pops up above the profile field, its bottom-left corner on the field's top-left.
    ClickAt(window, kProfileFieldX, kProfileFieldY);
    Window chooser = 0;
    ASSERT_TRUE(WaitFor([&] {
        return (chooser = FindTopLevelWhere([](const std::string& AName, const XWindowAttributes& AFound) {
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
    const Window settings = WaitForWindow("Profile Settings");
    ASSERT_NE(settings, 0u) << "Profile Settings did not open";
    EXPECT_TRUE(Shoot(settings, pictures / "x11-profile-settings.png"));
}

}  // namespace
