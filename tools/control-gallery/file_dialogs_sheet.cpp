// The dialogs run modally as the program runs them; each is photographed once it has become the active form and
// then cancelled. The namespace is a fixture (HOME, XDG_CONFIG_HOME and the mount table pointed into a temporary
// tree for the run).
#include "tools/control-gallery/file_dialogs_sheet.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/screen.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

// Environment variables set for the sheet's run and put back afterwards.
class TEnvironmentScope {
public:
    ~TEnvironmentScope()
    {
        for (auto& [name, value] : FSaved) value ? SetEnvironmentVariable(name, *value) : UnsetEnvironmentVariable(name);
    }
    void Set(const std::string& AName, const std::optional<std::string>& AValue)
    {
        FSaved.emplace_back(AName, FindEnvironmentVariable(AName));
        AValue ? SetEnvironmentVariable(AName, *AValue) : UnsetEnvironmentVariable(AName);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

// A video folder as a user keeps one, a few subfolders and clips, on a volume of its own: the pictures then show
// nothing of the machine's own folders.
std::string MakeFixture(const std::string& ARoot, TEnvironmentScope& AEnvironment)
{
    const std::string home = ARoot + "/home", clips = ARoot + "/media/USB/Videos/Holiday 2024";
    for (const std::string& dir : {home + "/.config", home + "/Desktop", clips + "/Beach", clips + "/Mountains",
                                   ARoot + "/media/USB"})
        std::filesystem::create_directories(dir);
    for (const char* name : {"arrival.mp4", "boat trip.mkv", "campfire.avi", "dinner.mov", "fireworks.mts",
                             "harbour.mp4", "notes.txt", "soundtrack.mp3", "sunset.mp4", "Überprüfung ñ 日本語.mp4"})
        std::ofstream(clips + "/" + name) << "x";
    std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
    std::ofstream(ARoot + "/mounts") << "/dev/root / ext4 rw 0 0\n"
                                     << "/dev/sdz1 " << ARoot << "/media/USB vfat rw 0 0\n";
    AEnvironment.Set("HOME", home);
    AEnvironment.Set("XDG_CONFIG_HOME", home + "/.config");
    AEnvironment.Set("XDG_DESKTOP_DIR", std::nullopt);
    AEnvironment.Set("QUENNARY_MOUNT_TABLE", ARoot + "/mounts");
    return clips;
}

// Runs AExecute; once its form is the active one, lets it finish showing, writes it and cancels it.
bool Photograph(TDemoScreen& AScreen, TApplication& AApp, const std::function<bool()>& AExecute,
                const std::function<void(TForm*)>& APrepare, const std::string& AFile)
{
    bool written = false, done = false;
    Screen->OnActiveFormChange = [&](TObject*) {
        auto* form = dynamic_cast<TForm*>(Screen->ActiveForm());
        if (!form || done) return;
        done = true;
        if (APrepare) APrepare(form);
        // The skinned form finishes showing on a timer of its own.
        for (int step = 0; step < 4; ++step) {
            AScreen.Clock().Advance(25 * 1000);
            AApp.ProcessMessages();
        }
        written = AScreen.WriteWindow(form->Handle(), AFile);
        form->SetModalResult(mrCancel);
    };
    AExecute();
    Screen->OnActiveFormChange = nullptr;
    return written;
}

}  // namespace

bool WriteFileDialogSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    char pattern[] = "/tmp/quennary-gallery-dialogs-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    const std::string root = pattern;
    bool ok = true;
    {
        TEnvironmentScope environment;
        const std::string clips = MakeFixture(root, environment);
        TDemoScreen screen(TSize{640, 480});
        auto app = std::make_unique<TApplication>(nullptr);
        TspSkinData* skin = nullptr;
        if (!ASkinFolder.empty()) {
            skin = new TspSkinData(app.get());
            skin->LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + "skin.ini");
        }
        std::vector<TspSkinData*> looks{nullptr};
        if (skin) looks.push_back(skin);
        for (TspSkinData* look : looks) {
            const std::string suffix = look ? "-skin.png" : "-plain.png";
            auto* open = new TspSkinOpenDialog(app.get());
            open->SetSkinData(look);
            open->SetCtrlSkinData(look);
            open->InitialDir = clips;
            open->Filter = "All Supported Formats|*.mp4;*.mkv;*.avi;*.mov;*.mts|All files|*.*";
            open->DialogWidth = 520;
            open->DialogHeight = 330;
            ok = Photograph(screen, *app, [&] { return open->Execute(); },
                            [&](TForm*) {
                                // The name box shows the chosen file's whole name, accents and all.
                                TspSkinFileListView* list = open->DialogForm()->FileListView;
                                for (Integer i = 0; i < list->FolderCount(); ++i)
                                    if (list->FolderAt(i)->DisplayName() == "Überprüfung ñ 日本語.mp4") {
                                        list->SetSelected(i, true);
                                        list->SetItemFocused(i);
                                    }
                            },
                            AOut + "open-dialog" + suffix) &&
                 ok;
            auto* folder = new TspSkinSelectDirectoryDialog(app.get());
            folder->SetSkinData(look);
            folder->SetCtrlSkinData(look);
            folder->Directory = clips + "/Beach";
            folder->DialogHeight = 320;
            ok = Photograph(screen, *app, [&] { return folder->Execute(); }, nullptr,
                            AOut + "select-folder-dialog" + suffix) &&
                 ok;
        }
        app.reset();
        headless::THeadlessBackend::ProcessMessages();
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return ok;
}
