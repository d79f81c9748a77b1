// The drive, directory and file list controls on a temporary folder tree: the folder chain and its item paths,
// the chain of links (drive box -> directory list -> file list and label, filter box -> mask) and its clearing,
// masks and file types, relative paths, typed paths, and folders that cannot be entered.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/controls/custom_edit.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/file_controls.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/path_helpers.h"
#include "tests/skin/dialogs/file_controls/file_tree_fixture.h"

namespace {

class FileControlsTest : public filetest::TFileTreeFixture {
protected:
    template <typename T>
    T* Place(TRect ABounds)
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetBoundsRect(ABounds);
        if constexpr (std::is_base_of_v<TWinControl, T>) c->Handle();
        Pump();
        return c;
    }
    TspSkinFileListBox* NewFiles(const std::string& AFolder)
    {
        std::filesystem::current_path(AFolder);
        return Place<TspSkinFileListBox>(Bounds(200, 30, 180, 200));
    }
    template <typename TList>
    static std::vector<std::string> ItemsOf(TList* AList)
    {
        std::vector<std::string> items;
        for (Integer i = 0; i < AList->Items()->Count(); ++i) items.push_back(AList->Items()->Strings(i));
        return items;
    }
    // The folder chain from "/" down to AFolder, as the directory list shows it.
    static std::vector<std::string> ChainOf(const std::string& AFolder)
    {
        std::vector<std::string> chain{"/"};
        size_t start = 1;
        while (start < AFolder.size()) {
            const size_t slash = std::min(AFolder.find('/', start), AFolder.size());
            chain.push_back(AFolder.substr(start, slash - start));
            start = slash + 1;
        }
        return chain;
    }
};

TEST_F(FileControlsTest, DirectoryListShowsAncestorsTheFolderAndItsSubfolders)
{
    std::filesystem::current_path(Root);
    auto* dirs = Place<TspSkinDirectoryListBox>(Bounds(10, 30, 180, 200));
    dirs->SetDirectory(Root + "/docs");
    std::vector<std::string> expected = ChainOf(Root + "/docs");
    const Integer current = static_cast<Integer>(expected.size()) - 1;
    // Hidden folders stay out; "sub1" and "Sub2" sort without regard to case.
    expected.insert(expected.end(), {"sub1", "Sub2"});
    EXPECT_EQ(ItemsOf(dirs), expected);
    EXPECT_EQ(dirs->ItemIndex(), current);
    EXPECT_EQ(Cwd(), Root + "/docs");  // the list leaves the process in the folder it entered

    EXPECT_EQ(dirs->GetItemPath(0), "/");
    EXPECT_EQ(dirs->GetItemPath(current - 1), Root);
    EXPECT_EQ(dirs->GetItemPath(current), Root + "/docs");
    EXPECT_EQ(dirs->GetItemPath(current + 2), Root + "/docs/Sub2");
    EXPECT_EQ(dirs->GetItemPath(current + 3), "");

    // Opening an ancestor or a subfolder moves there.
    dirs->SetItemIndex(current + 1);
    dirs->OpenCurrent();
    EXPECT_EQ(dirs->Directory(), Root + "/docs/sub1");
    dirs->SetItemIndex(current - 1);
    dirs->OpenCurrent();
    EXPECT_EQ(dirs->Directory(), Root);

    // The root alone is the current folder.
    dirs->SetDirectory("/");
    EXPECT_EQ(dirs->Items()->Strings(0), "/");
    EXPECT_EQ(dirs->ItemIndex(), 0);
    EXPECT_EQ(dirs->GetItemPath(0), "/");
    EXPECT_EQ(dirs->GetItemPath(1), "/" + dirs->Items()->Strings(1));
}

TEST_F(FileControlsTest, TheChainOfLinksCarriesEachChangeDown)
{
    std::filesystem::current_path(Root + "/docs");
    auto* drives = Place<TspSkinDriveComboBox>(Bounds(10, 5, 180, 20));
    auto* dirs = Place<TspSkinDirectoryListBox>(Bounds(10, 30, 180, 200));
    auto* files = Place<TspSkinFileListBox>(Bounds(200, 30, 180, 200));
    auto* filter = Place<TspSkinFilterComboBox>(Bounds(200, 5, 180, 20));
    auto* label = Place<TspSkinStdLabel>(Bounds(10, 240, 80, 16));
    label->SetAutoSize(false);
    label->SetBounds(10, 240, 80, 16);
    drives->SetDirList(dirs);
    dirs->SetFileList(files);
    dirs->SetDirLabel(label);
    filter->SetFileList(files);
    filter->SetFilter("Text|*.txt|All|*.*");
    EXPECT_EQ(dirs->DriveCombo(), drives);
    EXPECT_EQ(files->DirList(), dirs);
    EXPECT_EQ(files->Mask(), "*.txt");
    EXPECT_EQ(drives->Drive(), "/");

    // Choosing a volume moves the directory list to its mount point, which moves the file list and the label.
    Integer usb = -1;
    for (Integer i = 0; i < drives->Items()->Count(); ++i)
        if (drives->MountPointAt(i) == Root + "/vol/usb") usb = i;
    ASSERT_GE(usb, 0);
    drives->SetItemIndex(usb);
    EXPECT_EQ(drives->Drive(), Root + "/vol/usb");
    EXPECT_EQ(dirs->Directory(), Root + "/vol/usb");
    EXPECT_EQ(files->Directory(), Root + "/vol/usb");
    EXPECT_EQ(files->Items()->Count(), 0);

    // A folder on another volume moves the drive box back.
    dirs->SetDirectory(Root + "/docs");
    EXPECT_EQ(drives->Drive(), "/");
    EXPECT_EQ(drives->ItemIndex(), 0);
    EXPECT_EQ(files->Directory(), Root + "/docs");
    EXPECT_EQ(ItemsOf(files), (std::vector<std::string>{"A.txt", "a.txt"}));
    const std::string caption = label->Caption();
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(label->Font());
    EXPECT_LE(measure.Canvas()->TextWidth(caption), 80) << caption;
    EXPECT_EQ(caption.substr(caption.size() - 5), "/docs") << caption;

    filter->SetItemIndex(1);
    EXPECT_EQ(ItemsOf(files), (std::vector<std::string>{"A.txt", "a.txt", "b.md", "noext"}));

    // Removing a link clears it on the other side.
    delete label;
    EXPECT_EQ(dirs->DirLabel(), nullptr);
    delete dirs;
    EXPECT_EQ(drives->DirList(), nullptr);
    EXPECT_EQ(files->DirList(), nullptr);
    delete files;
    EXPECT_EQ(filter->FileList(), nullptr);
    drives->SetItemIndex(usb);  // no list to move any more
    EXPECT_EQ(drives->Drive(), Root + "/vol/usb");
}

TEST_F(FileControlsTest, DriveBoxListsVolumesWithTheirLabelsInTheChosenCase)
{
    std::filesystem::current_path(Root + "/vol/cd");
    auto* drives = Place<TspSkinDriveComboBox>(Bounds(10, 5, 220, 20));
    const std::vector<std::string> lower = {"/ []", Root + "/vol/cd [disc]", Root + "/vol/net server:/export",
                                            Root + "/vol/ram []", Root + "/vol/usb"};
    EXPECT_EQ(ItemsOf(drives), lower);
    EXPECT_EQ(drives->Drive(), Root + "/vol/cd");
    EXPECT_EQ(drives->ItemIndex(), 1);
    drives->SetTextCase(tcUpperCase);
    EXPECT_EQ(drives->Items()->Strings(1), Root + "/vol/cd [DISC]");
    EXPECT_EQ(drives->ItemIndex(), 1);  // the chosen volume stays chosen
    drives->SetDrive("");
    EXPECT_EQ(drives->ItemIndex(), -1);
}

TEST_F(FileControlsTest, MasksAndFileTypesChooseTheEntries)
{
    auto* files = NewFiles(Root + "/docs");
    struct TCase {
        std::string Mask;
        TspFileType Types;
        std::vector<std::string> Items;
    };
    const std::vector<TCase> cases = {
        // "*.*" also matches names without a dot; hidden entries and folders wait to be asked for.
        {"*.*", {spftNormal}, {"a.txt", "A.txt", "b.md", "noext"}},
        {"*.txt", {spftNormal}, {"a.txt", "A.txt"}},
        {"*.md;*.TXT", {spftNormal}, {"a.txt", "A.txt", "b.md"}},
        {"*.md; no*", {spftNormal}, {"b.md", "noext"}},  // parts are trimmed
        {"*", {spftNormal, spftDirectory}, {"[.]", "[..]", "[sub1]", "[Sub2]", "a.txt", "A.txt", "b.md", "noext"}},
        {"*", {spftDirectory}, {"[.]", "[..]", "[sub1]", "[Sub2]"}},
        {"*", {spftHidden}, {".hidden"}},
        {"*", {spftDirectory, spftHidden}, {"[.]", "[..]", "[.git]", "[sub1]", "[Sub2]", ".hidden"}},
        {"*.none", {spftNormal}, {}},
    };
    for (const TCase& c : cases) {
        files->SetMask(c.Mask);
        files->SetFileType(c.Types);
        std::vector<std::string> items = ItemsOf(files);
        std::vector<std::string> expected = c.Items;
        std::sort(items.begin(), items.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(items, expected) << c.Mask;
    }

    std::filesystem::current_path(Root + "/media");
    files->SetFileType({spftNormal});
    files->SetDirectory(Root + "/media");
    files->SetMask("*.mp4; *.m4v; *.ts");
    EXPECT_EQ(files->Items()->Count(), 3);
}

TEST_F(FileControlsTest, RelativePathsAreTakenInTheListsOwnFolder)
{
    auto* files = NewFiles(Root + "/docs");
    auto* dirs = Place<TspSkinDirectoryListBox>(Bounds(10, 30, 180, 200));
    // Another part of the program moved the process elsewhere.
    std::filesystem::current_path("/");
    files->SetDirectory("../media");
    EXPECT_EQ(files->Directory(), Root + "/media");
    EXPECT_EQ(files->Items()->Count(), 3);
    std::filesystem::current_path("/");
    dirs->SetDirectory("sub1");
    EXPECT_EQ(dirs->Directory(), Root + "/docs/sub1");
    dirs->SetDirectory("..");
    EXPECT_EQ(dirs->Directory(), Root + "/docs");
    dirs->SetDirectory(Root + "/link/sub1");  // the folder is its real path, as the system reports it
    EXPECT_EQ(dirs->Directory(), Root + "/docs/sub1");
}

TEST_F(FileControlsTest, AFolderThatCannotBeEnteredRaisesAndKeepsTheLists)
{
    auto* files = NewFiles(Root + "/docs");
    auto* dirs = Place<TspSkinDirectoryListBox>(Bounds(10, 30, 180, 200));
    dirs->SetFileList(files);
    const std::vector<std::string> fileItems = ItemsOf(files), dirItems = ItemsOf(dirs);
    // The directory list takes a typed file's folder, so a file alone is no error there.
    for (const std::string bad : {Root + "/missing", Root + "/file.txt", Root + "/docs/a.txt/x"}) {
        EXPECT_THROW(files->SetDirectory(bad), EInOutError) << bad;
        if (bad != Root + "/file.txt") EXPECT_THROW(dirs->SetDirectory(bad), EInOutError) << bad;
        EXPECT_EQ(files->Directory(), Root + "/docs");
        EXPECT_EQ(dirs->Directory(), Root + "/docs");
        EXPECT_EQ(ItemsOf(files), fileItems);
        EXPECT_EQ(ItemsOf(dirs), dirItems);
    }
    EXPECT_THROW(files->ApplyFilePath(Root + "/missing/x.txt"), EInOutError);
    // The folder vanished under the list: reading it again fails, the items stay.
    std::filesystem::current_path(Root);
    std::filesystem::remove_all(Root + "/docs");
    EXPECT_THROW(files->SetMask("*.md"), EInOutError);
    EXPECT_EQ(ItemsOf(files), fileItems);
}

TEST_F(FileControlsTest, TypedPathsChangeFolderMaskOrSelection)
{
    auto* files = NewFiles(Root + "/docs");
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    files->SetFileEdit(edit);
    files->SetMask("*.txt");
    EXPECT_EQ(edit->Text(), "*.txt");

    int changes = 0;
    files->OnChange = [&](TObject*) { ++changes; };
    files->ApplyFilePath("A.txt");  // the exact name wins over its twin in other case
    EXPECT_EQ(files->FileName(), Root + "/docs/A.txt");
    EXPECT_EQ(edit->Text(), "A.txt");
    EXPECT_GT(changes, 0);

    files->ApplyFilePath("*.md");
    EXPECT_EQ(files->Mask(), "*.md");
    EXPECT_EQ(files->Directory(), Root + "/docs");

    // A file the mask hides becomes the mask and is chosen.
    files->ApplyFilePath(Root + "/docs/noext");
    EXPECT_EQ(files->Mask(), "noext");
    EXPECT_EQ(files->FileName(), Root + "/docs/noext");

    // A folder moves the list.
    files->ApplyFilePath(Root + "/media/clip.ts");
    EXPECT_EQ(files->Directory(), Root + "/media");
    delete edit;
    EXPECT_EQ(files->FileEdit(), nullptr);
    files->SetDrive(Root + "/vol/ram");
    EXPECT_EQ(files->Directory(), Root + "/vol/ram");
    EXPECT_EQ(files->Drive(), Root + "/vol/ram");
}

TEST_F(FileControlsTest, TheUserOpensFoldersAndChoosesFilesWithMouseAndKeys)
{
    std::filesystem::current_path(Root + "/docs");
    auto* dirs = Place<TspSkinDirectoryListBox>(Bounds(10, 30, 180, 200));
    auto* files = Place<TspSkinFileListBox>(Bounds(200, 30, 180, 200));
    dirs->SetFileList(files);
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    files->SetFileEdit(edit);
    int changes = 0;
    files->OnChange = [&](TObject*) { ++changes; };

    // A click on a file names it in the edit.
    const TRect second = files->ItemRect(1);
    Display.Click(files->ListBox()->ClientToScreen({second.Left + 5, second.Top + 3}));
    Pump();
    EXPECT_EQ(edit->Text(), files->Items()->Strings(1));
    EXPECT_EQ(files->FileName(), Root + "/docs/" + files->Items()->Strings(1));
    EXPECT_EQ(changes, 1);
    // Clicking the same item again is no change.
    Display.Click(files->ListBox()->ClientToScreen({second.Left + 5, second.Top + 3}));
    Pump();
    EXPECT_EQ(changes, 1);

    // Enter opens the chosen folder; a double click too.
    const Integer sub1 = dirs->Items()->IndexOf("sub1");
    dirs->SetItemIndex(sub1);
    dirs->ListBox()->SetFocus();
    Pump();
    Display.PressKey(win::VK_RETURN, 13);
    Pump();
    EXPECT_EQ(dirs->Directory(), Root + "/docs/sub1");
    EXPECT_EQ(files->Directory(), Root + "/docs/sub1");
    const TRect parent = dirs->ItemRect(dirs->Items()->IndexOf("docs"));
    const TPoint at = dirs->ListBox()->ClientToScreen({parent.Left + 40, parent.Top + 3});
    Display.Click(at);
    Display.Click(at);
    Pump();
    EXPECT_EQ(dirs->Directory(), Root + "/docs");
}

}  // namespace
