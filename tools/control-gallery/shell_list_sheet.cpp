#include "tools/control-gallery/shell_list_sheet.h"

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/shell_list_view.h"
#include "tools/demo-screen/demo_screen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace {

// A folder with fixed sizes and times, so the sheet looks the same at every run.
std::string MakeFixtureFolder()
{
    char pattern[] = "/tmp/quennary-gallery-shell-XXXXXX";
    if (!mkdtemp(pattern)) return {};
    std::string dir = pattern;
    std::filesystem::create_directories(dir + "/Holidays");
    std::filesystem::create_directories(dir + "/Concerts");
    struct TFile {
        const char* Name;
        size_t Size;
        int Day;
    } files[] = {{"holiday.mp4", 41270, 3}, {"concert-night.mkv", 912400, 12}, {"interview.mov", 230120, 7},
                 {"theme.mp3", 5120, 21},   {"cover.jpg", 812, 22},           {"notes.txt", 96, 9}};
    struct tm when {};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 10;
    when.tm_hour = 14;
    when.tm_min = 30;
    when.tm_isdst = -1;
    for (auto& f : files) {
        std::ofstream(dir + "/" + f.Name) << std::string(f.Size, 'x');
        when.tm_mday = f.Day;
        struct timespec times[2] = {{mktime(&when), 0}, {mktime(&when), 0}};
        utimensat(AT_FDCWD, (dir + "/" + f.Name).c_str(), times, 0);
    }
    return dir;
}

bool WriteOne(TDemoScreen& AScreen, TApplication& AApp, TspSkinData* ASkin, const std::string& AFolder,
              const std::string& AFile)
{
    auto* form = new TForm(&AApp);
    form->SetBorderStyle(bsNone);
    form->SetBoundsRect(Bounds(0, 0, 560, 330));
    form->SetColor(static_cast<TColor>(0x606060));
    form->Show();
    auto place = [&](TViewStyle AStyle, TRect ABounds) {
        auto* list = new TspSkinFileListView(form);
        list->SetParent(form);
        list->SetBoundsRect(ABounds);
        if (ASkin) list->SetSkinData(ASkin);
        list->SetViewStyle(AStyle);
        list->Handle();
        list->SetRoot(AFolder);
        return list;
    };
    auto* report = place(vsReport, Rect(8, 8, 552, 178));
    report->ColClick(1);  // by size
    for (Integer i = 0; i < report->FolderCount(); ++i)
        if (report->FolderAt(i)->DisplayName() == "interview.mov") report->SetSelected(i, true);
    place(vsIcon, Rect(8, 186, 552, 322));
    AApp.ProcessMessages();
    const bool ok = AScreen.WriteWindow(form->Handle(), AFile);
    delete form;
    AApp.ProcessMessages();
    return ok;
}

}  // namespace

bool WriteShellListSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    std::string folder = MakeFixtureFolder();
    if (folder.empty()) {
        std::fprintf(stderr, "cannot make the shell list's fixture folder\n");
        return false;
    }
    bool ok;
    {
        TDemoScreen screen;
        TApplication app(nullptr);
        ok = WriteOne(screen, app, nullptr, folder, AOut + "shell-list-plain.png");
        if (!ASkinFolder.empty()) {
            auto* skin = new TspSkinData(&app);
            skin->LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + "skin.ini");
            ok = WriteOne(screen, app, skin, folder, AOut + "shell-list-skin.png") && ok;
        }
    }
    std::filesystem::remove_all(folder);
    return ok;
}
