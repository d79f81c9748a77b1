#include "tools/control-gallery/file_controls_sheet.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/forms.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/std_label.h"
#include "skin/core/control_records.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/file_controls.h"
#include "skin/dialogs/file_controls_pictures.h"
#include "skin/dialogs/file_controls_volumes.h"
#include "skin/dialogs/filter_combo_box.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

namespace fs = std::filesystem;

// A home folder with videos, and five volumes of every kind mounted beside it.
std::string MakeFixture()
{
    char pattern[] = "/tmp/gallery-files-XXXXXX";
    const std::string root = mkdtemp(pattern);
    const std::string videos = root + "/home/user/Videos/holiday";
    for (const std::string& dir : {videos + "/2023", videos + "/2024", videos + "/Drafts", videos + "/extras",
                                   root + "/media/STICK", root + "/media/Disc", root + "/net/archive",
                                   root + "/scratch", root + "/dev", root + "/labels", root + "/block/sdb1"})
        fs::create_directories(dir);
    for (const char* file : {"beach.mp4", "beach.m4v", "sunset.ts", "notes.txt", "poster.jpg", "фильм.mp4"})
        std::ofstream(videos + "/" + file) << "x";
    for (const char* device : {"sdb1", "sr0", "vda"}) std::ofstream(root + "/dev/" + device) << "x";
    fs::create_symlink(root + "/dev/sdb1", root + "/labels/STICK");
    fs::create_symlink(root + "/dev/sr0", root + "/labels/Holiday Disc");
    fs::create_symlink(root + "/dev/vda", root + "/labels/System");
    std::ofstream(root + "/block/sdb1/removable") << "1\n";
    std::ofstream(root + "/mounts") << root + "/dev/vda / ext4 rw 0 0\n"
                                    << root + "/dev/sdb1 " + root + "/media/STICK vfat rw 0 0\n"
                                    << root + "/dev/sr0 " + root + "/media/Disc iso9660 ro 0 0\n"
                                    << "nas:/archive " + root + "/net/archive nfs4 rw 0 0\n"
                                    << "tmpfs " + root + "/scratch tmpfs rw 0 0\n";
    SetVolumeSources({root + "/mounts", root + "/labels", root + "/block"});
    return root;
}

// The eight item pictures side by side on a grey strip, drawn as the lists draw them, shown three times enlarged.
void PlacePictureStrip(TForm* AForm, TRect ABounds)
{
    TBitmap strip(8 * 20, 20, pf24bit);
    strip.Canvas()->Brush()->SetColor(static_cast<TColor>(0xD0D0D0));
    strip.Canvas()->FillRect(Rect(0, 0, strip.Width(), strip.Height()));
    for (int kind = 0; kind < 8; ++kind) {
        const auto picture = MakeFileControlPicture(static_cast<TFileControlPicture>(kind));
        strip.Canvas()->Draw(kind * 20 + 2, 2, picture.get());
    }
    auto* image = new TImage(AForm);
    image->SetBoundsRect(ABounds);
    image->SetStretch(true);
    image->Picture()->Bitmap()->Assign(&strip);
    image->SetParent(AForm);
}

// The skin's record of the control's own name, else its first record of the class the control reads.
template <typename TRecord>
std::string RecordName(TspSkinData* ASkin, const std::string& AOwnName)
{
    if (!ASkin || ASkin->GetControlIndex(AOwnName) >= 0) return AOwnName;
    for (const auto& record : ASkin->CtrlList)
        if (dynamic_cast<TRecord*>(record.get())) return record->IDName;
    return AOwnName;
}

bool WriteOne(TDemoScreen& AScreen, TApplication& AApp, TspSkinData* ASkin, const std::string& AFolder,
              const std::string& AFile)
{
    auto* form = new TForm(&AApp);
    form->SetBorderStyle(bsNone);
    form->SetBoundsRect(Bounds(0, 0, 720, 370));
    form->SetColor(static_cast<TColor>(0x606060));
    form->Show();
    AApp.ProcessMessages();
    fs::current_path(AFolder);
    const std::string listName = RecordName<TspDataSkinListBox>(ASkin, "listbox");
    const std::string comboName = RecordName<TspDataSkinComboBox>(ASkin, "combobox");
    const std::string labelName = RecordName<TspDataSkinStdLabelControl>(ASkin, "stdlabel");
    auto place = [&](auto* AControl, TRect ABounds, const std::string& AName) {
        AControl->SetSkinDataName(AName);
        AControl->SetBoundsRect(ABounds);
        AControl->SetParent(form);
        if (ASkin) AControl->SetSkinData(ASkin);
        return AControl;
    };
    auto* drives = place(new TspSkinDriveComboBox(form), Bounds(10, 10, 220, 20), comboName);
    auto* dirs = place(new TspSkinDirectoryListBox(form), Bounds(10, 40, 220, 220), listName);
    auto* label = place(new TspSkinStdLabel(form), Bounds(10, 268, 220, 16), labelName);
    label->SetAutoSize(false);
    label->SetBounds(10, 268, 220, 16);
    auto* filter = place(new TspSkinFilterComboBox(form), Bounds(250, 10, 220, 20), comboName);
    auto* files = place(new TspSkinFileListBox(form), Bounds(250, 40, 220, 220), listName);
    auto* dropped = place(new TspSkinDriveComboBox(form), Bounds(490, 10, 220, 20), comboName);
    PlacePictureStrip(form, Bounds(10, 300, 8 * 20 * 3, 20 * 3));
    form->HandleNeeded();
    drives->SetDirList(dirs);
    dirs->SetFileList(files);
    dirs->SetDirLabel(label);
    filter->SetFileList(files);
    filter->SetFilter("Video files (*.mp4; *.m4v; *.ts)|*.mp4; *.m4v; *.ts|All files (*.*)|*.*");
    dirs->UpdateList();
    files->SetItemIndex(files->Items()->IndexOf("beach.mp4"));
    AApp.ProcessMessages();
    dropped->DropDown();
    AApp.ProcessMessages();
    form->Repaint();
    AApp.ProcessMessages();
    const bool ok = AScreen.WriteScreen(AFile);
    dropped->CloseUp(false);
    delete form;
    AApp.ProcessMessages();
    return ok;
}

}  // namespace

bool WriteFileControlsSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    const std::string saved = fs::current_path().string();
    // The controls move the current directory: a relative skin folder is resolved before they do.
    const std::string skinFolder = ASkinFolder.empty() ? std::string() : fs::absolute(ASkinFolder).string();
    const std::string root = MakeFixture();
    const std::string folder = root + "/home/user/Videos/holiday";
    bool ok = false;
    {
        TDemoScreen screen(TSize{720, 370});
        TApplication app(nullptr);
        ok = WriteOne(screen, app, nullptr, folder, AOut + "file-controls-plain.png");
        if (!skinFolder.empty()) {
            auto* skin = new TspSkinData(&app);
            skin->LoadFromFile(IncludeTrailingPathDelimiter(skinFolder) + "skin.ini");
            ok = WriteOne(screen, app, skin, folder, AOut + "file-controls-skin.png") && ok;
        }
    }
    fs::current_path(saved);
    SetVolumeSources(TVolumeSources());
    fs::remove_all(root);
    return ok;
}
