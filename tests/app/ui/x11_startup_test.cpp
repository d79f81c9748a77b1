// The real converter's start: a failure reported while the main window loads shows the error dialog (built on
// demand, before the other windows), and the program goes on to its main window and ends cleanly.
#include "tests/app/ui/x11_quennary_rig.h"

#include <fstream>

namespace fs = std::filesystem;

namespace {

class StartupX11Test : public x11rig::TQuennaryX11Test {
protected:
    StartupX11Test() { Folder = "x11-startup"; }

    // Runs a link of the program from a folder of its own, whose preset folder lacks "Profiles.dat".
    void StartWithoutProfiles()
    {
        const fs::path built = fs::path(QUENNARY_BINARY_DIR) / "app";
        const fs::path bin = Root / "bin";
        fs::create_directories(bin / "mp4-converter-profiles");
        fs::create_hard_link(built / "quennary", bin / "quennary");
        fs::create_directory_symlink(built / "skin-red", bin / "skin-red");
        for (const auto& entry : fs::directory_iterator(built / "mp4-converter-profiles"))
            if (entry.path().filename() != "Profiles.dat")
                fs::create_symlink(entry.path(), bin / "mp4-converter-profiles" / entry.path().filename());
        const fs::path executable = bin / "quennary";
        Child = fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            setenv("HOME", (Root / "home").c_str(), 1);
            setenv("XDG_CONFIG_HOME", (Root / "config").c_str(), 1);
            execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
};

TEST_F(StartupX11Test, AFailureWhileLoadingShowsTheErrorDialogThenTheMainWindow)
{
    StartWithoutProfiles();
    const Window error = WaitForWindow("Error!");
    ASSERT_NE(error, 0u) << "the failure to read the profiles showed no error dialog";
    ASSERT_TRUE(Shoot(error, Root / "error.png")) << "the error dialog never painted";
    EXPECT_EQ(FindTopLevel("Quennary"), 0u) << "the main window showed before start-up loading ended";
    CloseThroughTheWindowManager(error);

    const Window main = WaitForWindow("Quennary");
    ASSERT_NE(main, 0u) << "no main window after the error dialog";
    ASSERT_TRUE(Shoot(main, Root / "main.png")) << "the main window never painted";
    CloseThroughTheWindowManager(main);
    int status = -1;
    ASSERT_TRUE(x11rig::WaitFor([&] { return waitpid(Child, &status, WNOHANG) == Child; })) << "did not exit";
    Child = -1;
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
