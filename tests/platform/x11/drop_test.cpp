#include "x11_fixture.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

extern char** environ;

namespace x11test {
namespace {

class X11Drop : public TX11Fixture {};

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

    std::string tool = QUENNARY_BINARY_DIR "/tests/platform/x11/x11_dnd_source";
    std::vector<std::string> args = {tool, "340", "250"};
    args.insert(args.end(), files.begin(), files.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    int status = -1;
    bool ended = PumpUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::seconds(40));
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    EXPECT_TRUE(ended);
    EXPECT_TRUE(PumpUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received, files);
    EXPECT_EQ(where, (TPoint{40, 50}));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;  // the source heard it was taken
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace x11test
