// The real converter on the X server, given hundreds of files in one drop: the window answers while they are
// probed, so that a close through the window manager in the middle of the add ends the program at once with
// status 0 and its settings written, before the refused file at the end of the drop was reached (whose message
// box would otherwise hold the program open). A picture of the window while adding goes to x11-adding/.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/ui/x11_quennary_rig.h"
#include "tests/fixtures/media_fixtures.h"

namespace fs = std::filesystem;

namespace {

using x11rig::WaitFor;

class AddingFilesX11Test : public x11rig::TQuennaryX11Test {
protected:
    AddingFilesX11Test() { Folder = "x11-adding"; }
};

constexpr int kGridX = 600, kGridY = 200;  // the grid's empty part, right of the columns

TEST_F(AddingFilesX11Test, ClosingWhileAddingEndsTheProgram)
{
    // 400 clips, and a file that is no media at the end of the drop.
    fs::create_directories(Root / "media");
    std::vector<std::string> paths;
    for (int i = 0; i < 400; ++i) {
        const fs::path copy = Root / "media" / ("clip " + std::to_string(i) + ".mp4");
        fs::copy_file(MediaFixture("tall2997.mp4"), copy);
        paths.push_back(copy.string());
    }
    fs::copy_file(MediaFixture("not_media.mp4"), Root / "media" / "broken.mp4");
    paths.push_back((Root / "media" / "broken.mp4").string());

    Start();
    const Window window = WaitForWindow("Quennary");
    ASSERT_NE(window, 0u) << "no main window appeared";
    ASSERT_TRUE(Shoot(window, Root / "before-drop.png"));

    DropFiles(window, kGridX, kGridY, paths);
    CloseThroughTheWindowManager(window);
    // Any other window on the screen would be the refused file's message box.
    const TRect main = ScreenRect(window);
    int status = -1;
    bool message_box = false;
    ASSERT_TRUE(WaitFor([&] {
        message_box = message_box || FindTopLevelWhere([&](const std::string&, const XWindowAttributes& AFound) {
                                         return AFound.width != main.Width() || AFound.height != main.Height();
                                     }) != 0;
        return waitpid(Child, &status, WNOHANG) == Child;
    })) << "the program did not end";
    Child = -1;
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(message_box) << "the add went on to the end of the drop";
    EXPECT_TRUE(fs::exists(Root / "config" / "Brindlewave" / "Quennary" / "settings.ini"));
}

}  // namespace
