#include "x11_fixture.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

extern char** environ;

namespace x11test {
namespace {

class X11Drop : public TX11Fixture {
protected:
    // Runs the drag source against the point and returns its exit status (-1 when it had to be stopped).
    int DragFrom(TPoint AScreen, const std::vector<std::string>& AFiles)
    {
        std::string tool = QUENNARY_BINARY_DIR "/tests/platform/x11/x11_dnd_source";
        std::vector<std::string> args = {tool, std::to_string(AScreen.X), std::to_string(AScreen.Y)};
        args.insert(args.end(), AFiles.begin(), AFiles.end());
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
            return -1;
        int status = -1;
        if (!PumpUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::seconds(40))) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(X11Drop, FilesDroppedByAnotherProgramArriveAsDropFilesWithTheirPaths)
{
    auto folder = std::filesystem::temp_directory_path() / ("x11-drop-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::vector<std::string> files = {(folder / "plain.mp4").string(), (folder / "with space & 100%.mkv").string(),
                                      (folder / "Grüße Ωmega 日本.avi").string()};
    for (const std::string& file : files)
        std::ofstream(file) << "x";

    HWND window = Create(WS_EX_ACCEPTFILES, WS_POPUP | WS_VISIBLE, Bounds(300, 200, 300, 200));
    ASSERT_TRUE(ShownOnX(window));
    std::vector<std::string> received;
    TPoint where;
    On(window, WM_DROPFILES, [&](HWND, UINT, WPARAM ADrop, LPARAM) -> std::optional<LRESULT> {
        auto drop = reinterpret_cast<HDROP>(ADrop);
        for (UINT i = 0; i < DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0); ++i)
            received.push_back(DragQueryFile(drop, i));
        DragQueryPoint(drop, &where);
        DragFinish(drop);
        return 0;
    });

    EXPECT_EQ(DragFrom({340, 250}, files), 0);  // the source heard that the files were taken
    EXPECT_TRUE(PumpUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received, files);
    EXPECT_EQ(where, (TPoint{40, 50}));
    std::filesystem::remove_all(folder);
}

TEST_F(X11Drop, AWindowThatTakesNoFilesRefusesTheDrop)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(300, 200, 300, 200));
    ASSERT_TRUE(ShownOnX(window));
    EXPECT_EQ(DragFrom({340, 250}, {"/tmp/some file.mp4"}), 4);  // offered, but nobody took it
    Drain();
    EXPECT_TRUE(Entries(window, WM_DROPFILES).empty());
}

}  // namespace
}  // namespace x11test
