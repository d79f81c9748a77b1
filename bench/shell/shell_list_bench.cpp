// Opening a folder of 20,000 files in the shell list view (reading, filtering and sorting the folder, then the
// first paint of the report view) beside `ls -l` listing the same folder into /dev/null. The view's time should
// stay within 1.3 times that of ls -l: it reads one status per entry, as ls -l does, and asks for names, icons
// and details only for the rows it paints.
// Run: bench_shell (five repetitions each).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "skin/dialogs/shell_list_view.h"

extern char** environ;

namespace {

constexpr int kFiles = 20000;

// The folder, made once for both benchmarks and removed at exit.
const std::string& Folder()
{
    static struct TFolder {
        std::string Path;
        TFolder()
        {
            char pattern[] = "/tmp/quennary-bench-shell-XXXXXX";
            Path = mkdtemp(pattern);
            for (int i = 0; i < kFiles; ++i) {
                const char* ext = i % 3 == 0 ? ".mp4" : i % 3 == 1 ? ".avi" : ".txt";
                std::ofstream(Path + "/clip " + std::to_string(i) + ext) << std::string(i % 97, 'x');
            }
            for (int i = 0; i < 50; ++i) std::filesystem::create_directory(Path + "/folder " + std::to_string(i));
        }
        ~TFolder() { std::filesystem::remove_all(Path); }
    } folder;
    return folder.Path;
}

void LsLong(benchmark::State& state)
{
    const std::string& dir = Folder();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>("ls"), const_cast<char*>("-l"), const_cast<char*>(dir.c_str()), nullptr};
        pid_t pid = 0;
        if (posix_spawnp(&pid, "ls", &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start ls");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}

void ShellListOpen(benchmark::State& state)
{
    const std::string& dir = Folder();
    headless::THeadlessBackend display;
    win::SetBackend(&display);
    auto app = std::make_unique<TApplication>(nullptr);
    auto* form = new TForm(app.get());
    form->SetBoundsRect(Bounds(0, 0, 600, 400));
    auto* list = new TspSkinFileListView(form);
    list->SetParent(form);
    list->SetAlign(alClient);
    list->SetViewStyle(vsReport);
    list->SetMask("*.mp4;*.avi");
    form->Show();
    headless::THeadlessBackend::ProcessMessages();
    int64_t items = 0;
    for (auto _ : state) {
        list->SetPath(dir);
        list->Repaint();
        state.PauseTiming();
        items = list->FolderCount();
        list->OpenIdList(DesktopItemIdList());
        state.ResumeTiming();
    }
    state.counters["items"] = static_cast<double>(items);
    app.reset();
    headless::THeadlessBackend::ProcessMessages();
    win::SetBackend(nullptr);
}

BENCHMARK(LsLong)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ShellListOpen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
