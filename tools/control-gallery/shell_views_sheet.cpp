// The shell views' block of the gallery: the shell combo box dropped, showing the chain of a folder two levels
// below a volume, and the shell folder tree with that folder selected and Home opened, over a fixture namespace
// (HOME, XDG_CONFIG_HOME and the mount table pointed into a temporary tree for the tool's run).
#include "tools/control-gallery/shell_views_sheet.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/scroll_bar.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_tree_view.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

// The namespace the sheet shows, made on construction and removed with the environment put back.
class TFixtureNamespace {
public:
    TFixtureNamespace()
    {
        char pattern[] = "/tmp/quennary-gallery-shell-XXXXXX";
        if (!mkdtemp(pattern)) throw Exception("cannot make a temporary folder");
        Root = pattern;
        const std::string home = Root + "/home";
        for (const std::string& dir : {home + "/.config", home + "/Desktop/Projects", home + "/Desktop/Exports",
                                       home + "/Videos/2024", home + "/Music", Root + "/media/USB/clips/holiday",
                                       Root + "/media/USB/clips/concert", Root + "/media/USB/music",
                                       Root + "/media/DVD", Root + "/mnt/share"})
            std::filesystem::create_directories(dir);
        std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
        std::ofstream(Root + "/mounts") << "/dev/root / ext4 rw 0 0\n"
                                        << "/dev/sdz1 " << Root << "/media/USB vfat rw 0 0\n"
                                        << "/dev/sr9 " << Root << "/media/DVD iso9660 ro 0 0\n"
                                        << "server:/share " << Root << "/mnt/share nfs4 rw 0 0\n";
        Set("HOME", home);
        Set("XDG_CONFIG_HOME", home + "/.config");
        Set("XDG_DESKTOP_DIR", std::nullopt);
        Set("QUENNARY_MOUNT_TABLE", Root + "/mounts");
    }
    ~TFixtureNamespace()
    {
        for (auto& [name, value] : FSaved) value ? SetEnvironmentVariable(name, *value) : UnsetEnvironmentVariable(name);
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    std::string Root;

private:
    void Set(const std::string& AName, const std::optional<std::string>& AValue)
    {
        FSaved.emplace_back(AName, FindEnvironmentVariable(AName));
        AValue ? SetEnvironmentVariable(AName, *AValue) : UnsetEnvironmentVariable(AName);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

bool WriteOne(TDemoScreen& AScreen, TApplication& AApp, const TFixtureNamespace& ANamespace, TspSkinData* ASkin,
              const std::string& AFile)
{
    auto* form = new TForm(&AApp);
    form->SetBorderStyle(bsNone);
    form->SetBoundsRect(Bounds(0, 0, 560, 360));
    form->SetColor(static_cast<TColor>(0x606060));
    form->Show();
    AApp.ProcessMessages();

    auto* tree = new TspSkinDirTreeView(form);
    tree->SetBounds(280, 10, 250, 340);
    tree->SetParent(form);
    auto* bar = new TspSkinScrollBar(form);
    bar->SetKind(sbVertical);
    bar->SetBounds(530, 10, 19, 340);
    bar->SetParent(form);
    tree->SetVScrollBar(bar);
    auto* box = new TspSkinShellComboBox(form);
    box->SetBounds(10, 10, 250, 22);
    box->SetParent(form);
    box->SetDropDownCount(12);
    if (ASkin) {
        tree->SetSkinData(ASkin);
        bar->SetSkinData(ASkin);
        box->SetSkinData(ASkin);
    }
    tree->Handle();
    box->Handle();
    tree->SetShellComboBox(box);
    // Home opened through its own node: a path would go through "/", whose listing is this machine's.
    for (TTreeNode* node = tree->Items()->GetFirstNode()->GetFirstChild(); node; node = node->GetNextSibling())
        if (node->Text() == "Home") node->Expand(false);
    tree->SetPath(ANamespace.Root + "/media/USB/clips/holiday");
    AApp.ProcessMessages();
    box->DropDown();
    AApp.ProcessMessages();
    const bool ok = AScreen.WriteScreen(AFile);
    box->CloseUp(false);
    delete form;
    AApp.ProcessMessages();
    return ok;
}

}  // namespace

bool WriteShellViewSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    TFixtureNamespace fixture;
    TDemoScreen screen(TSize{560, 360});
    TApplication app(nullptr);
    bool ok = WriteOne(screen, app, fixture, nullptr, AOut + "shell-views-plain.png");
    if (!ASkinFolder.empty()) {
        auto* skin = new TspSkinData(&app);
        skin->LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + "skin.ini");
        ok = WriteOne(screen, app, fixture, skin, AOut + "shell-views-skin.png") && ok;
    }
    return ok;
}
