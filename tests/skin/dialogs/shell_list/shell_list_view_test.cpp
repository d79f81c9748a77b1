// The shell file list view on a fixture folder: the mask, the order (folders first, then by any column), finding
// by typed text, navigation, refresh, renaming in place, the selected files and the links to partner views.
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/strings.h"
#include "platform/win/messages.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/forms/popup_menu.h"
#include "tests/platform/shell/shell_fixture.h"
#include "tests/skin/controls/controls_fixture.h"

#include <gmock/gmock.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class ShellListView : public controlstest::TControlsFixture, public TShellFixtureTree {
protected:
    void SetUp() override
    {
        CreateTree();
        TControlsFixture::SetUp();
    }
    void TearDown() override
    {
        TControlsFixture::TearDown();
        RemoveTree();
    }

    TspSkinFileListView* NewList(const std::string& ARoot, TViewStyle AStyle = vsReport)
    {
        auto* list = new TspSkinFileListView(Form);
        list->SetParent(Form);
        list->SetAlign(alClient);
        list->SetViewStyle(AStyle);
        list->Handle();
        list->SetRoot(ARoot);
        Pump();
        return list;
    }

    static std::vector<std::string> Names(TspCustomShellListView* AList)
    {
        std::vector<std::string> names;
        for (Integer i = 0; i < AList->FolderCount(); ++i) names.push_back(AList->FolderAt(i)->DisplayName());
        return names;
    }

    static Integer IndexOf(TspCustomShellListView* AList, const std::string& AName)
    {
        for (Integer i = 0; i < AList->FolderCount(); ++i)
            if (AList->FolderAt(i)->DisplayName() == AName) return i;
        return -1;
    }

    void SetModified(const std::string& AName, int AYear)
    {
        struct tm when {};
        when.tm_year = AYear - 1900;
        when.tm_mday = 1;
        when.tm_hour = 12;
        when.tm_isdst = -1;
        struct timespec times[2] = {{mktime(&when), 0}, {mktime(&when), 0}};
        utimensat(AT_FDCWD, (FFiles + "/" + AName).c_str(), times, 0);
    }

    const std::vector<std::string> kFolders = {"dirlink", "readonly", "sub", "Zeta"};
};

TEST_F(ShellListView, MaskPicksTheFilesAndFoldersComeFirst)
{
    auto* list = NewList(FFiles);
    EXPECT_EQ(list->Mask(), "*.*|*.*");
    EXPECT_THAT(Names(list), ElementsAre("dirlink", "readonly", "sub", "Zeta", "A", "a", "b.ts", "bad\\xE9.ts",
                                         "link.avi", "movie.mp4", "song.mp3"));
    struct Case {
        std::string Mask;
        std::vector<std::string> Files;
    } cases[] = {
        {"*.avi;*.mp4", {"link.avi", "movie.mp4"}},
        {"*.avi; *.mp4", {"link.avi", "movie.mp4"}},  // blanks around a part are not part of it
        {" *.TS | *.mp3 ", {"b.ts", "bad\\xE9.ts", "song.mp3"}},
        {"*.m[op]?", {"movie.mp4", "song.mp3"}},
        {"", {}},
        {"movie", {}},  // a part without a dot matches nothing
        {"*", {"A", "a", "b.ts", "bad\\xE9.ts", "link.avi", "movie.mp4", "song.mp3"}},
        {"*.*", {"A", "a", "b.ts", "bad\\xE9.ts", "link.avi", "movie.mp4", "song.mp3"}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Mask);
        list->SetMask(c.Mask);
        std::vector<std::string> expected = kFolders;
        expected.insert(expected.end(), c.Files.begin(), c.Files.end());
        EXPECT_THAT(Names(list), ElementsAreArray(expected));
        EXPECT_EQ(list->Items()->Count(), static_cast<Integer>(expected.size()));
    }

    // The application may veto items; hidden ones come with otHidden.
    list->SetMask("*");
    list->OnAddFolder = [](TObject*, TspShellFolder* AFolder, bool& CanAdd) {
        if (AFolder->DisplayName() == "sub") CanAdd = false;
    };
    list->SetObjectTypes({otFolders, otNonFolders, otHidden});
    EXPECT_EQ(IndexOf(list, "sub"), -1);
    EXPECT_NE(IndexOf(list, ".hidden"), -1);
    list->SetObjectTypes({otNonFolders});
    EXPECT_EQ(IndexOf(list, "Zeta"), -1);
}

TEST_F(ShellListView, ReportColumnsAndTheirTexts)
{
    auto* list = NewList(FFiles);
    ASSERT_EQ(list->ColumnCount(), 4);
    EXPECT_EQ(list->Column(0)->Caption, "Name");
    EXPECT_EQ(list->Column(1)->Caption, "Size");
    EXPECT_EQ(list->Column(1)->Alignment, taRightJustify);
    EXPECT_EQ(list->Column(3)->Caption, "Modified");
    EXPECT_EQ(list->Column(1)->Width * 25, list->Column(0)->Width * 10);
    TListItem* movie = list->Items()->Item(IndexOf(list, "movie.mp4"));
    EXPECT_EQ(movie->Caption, "movie.mp4");
    EXPECT_EQ(movie->ImageIndex, sikVideo);
    EXPECT_THAT(movie->SubItems, ElementsAre("3000", ".mp4", ::testing::Not(::testing::IsEmpty())));
    TListItem* sub = list->Items()->Item(IndexOf(list, "sub"));
    EXPECT_EQ(sub->ImageIndex, sikFolderClosed);
    EXPECT_THAT(sub->SubItems, ElementsAre("-1", "", ""));

    // Computer has only the name column.
    list->SetRoot("rfMyComputer");
    EXPECT_EQ(list->ColumnCount(), 1);
    EXPECT_THAT(Names(list), ElementsAre("File System", "DVD", "USB", "net"));
}

TEST_F(ShellListView, SortingByEachColumn)
{
    SetModified("bad\xE9.ts", 2018);
    SetModified("song.mp3", 2019);
    SetModified("b.ts", 2020);
    SetModified("movie.mp4", 2021);
    SetModified("A", 2022);
    SetModified("a", 2023);
    auto* list = NewList(FFiles);
    struct Case {
        Integer Column;
        std::vector<std::string> Files;
    } cases[] = {
        {0, {"A", "a", "b.ts", "bad\\xE9.ts", "link.avi", "movie.mp4", "song.mp3"}},
        {1, {"a", "bad\\xE9.ts", "A", "b.ts", "song.mp3", "link.avi", "movie.mp4"}},
        {2, {"A", "a", "link.avi", "song.mp3", "movie.mp4", "b.ts", "bad\\xE9.ts"}},
        {3, {"bad\\xE9.ts", "song.mp3", "b.ts", "link.avi", "movie.mp4", "A", "a"}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Column);
        list->Refresh();  // back to the folder's own order
        list->ColClick(c.Column);
        EXPECT_EQ(list->SortColumn(), c.Column);
        EXPECT_FALSE(list->SortDescending());
        std::vector<std::string> expected = kFolders;
        expected.insert(expected.end(), c.Files.begin(), c.Files.end());
        EXPECT_THAT(Names(list), ElementsAreArray(expected));
    }
    // The same column again reverses the whole order, folders included.
    list->Refresh();
    list->ColClick(1);
    list->ColClick(1);
    EXPECT_TRUE(list->SortDescending());
    EXPECT_THAT(Names(list), ElementsAre("link.avi", "movie.mp4", "song.mp3", "b.ts", "A", "a", "bad\\xE9.ts", "Zeta",
                                         "sub", "readonly", "dirlink"));
    // A file gone since the folder was read sorts as the smallest, and the sort completes.
    list->Refresh();
    std::filesystem::remove(FFiles + "/song.mp3");
    list->ColClick(2);
    list->ColClick(1);
    EXPECT_EQ(list->FolderAt(4)->DisplayName(), "song.mp3");
    EXPECT_EQ(list->FolderCount(), 11);
    // A view with fewer than four columns sorts by the first one only.
    list->SetRoot("rfMyComputer");
    list->ColClick(1);
    EXPECT_EQ(list->SortColumn(), 1);  // unchanged from before
    EXPECT_THAT(Names(list), ElementsAre("File System", "DVD", "USB", "net"));
}

TEST_F(ShellListView, TypeToFind)
{
    auto* list = NewList(FFiles);
    Integer movie = IndexOf(list, "movie.mp4");
    Integer last = list->FolderCount() - 1;
    struct Case {
        std::string Find;
        Integer Start;
        bool Wrap;
        Integer Expected;
    } cases[] = {
        {"MOV", 0, false, movie}, {"mov", movie, false, movie}, {"mov", last, false, -1}, {"mov", last, true, movie},
        {"zE", 5, true, 3},       {"x", 0, true, -1},           {"a", -1, true, -1},       {"a", last + 1, true, -1},
        {"SONG.MP3", last, false, last},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Find + " from " + std::to_string(c.Start));
        EXPECT_EQ(list->FindOwnerItem(c.Find, c.Start, c.Wrap), c.Expected);
    }
    // Typing goes through the same search.
    Form->SetActiveControl(list);
    list->SetFocus();
    Display.KeyDown('M', U'm');
    Display.KeyUp('M');
    Pump();
    EXPECT_EQ(list->ItemFocused(), movie);
}

TEST_F(ShellListView, NavigationBackEnterAndPathChanges)
{
    auto* list = NewList(FFiles);
    int changes = 0;
    list->OnPathChanged = [&](TObject*) { ++changes; };
    list->SetSelected(IndexOf(list, "sub"), true);
    Form->SetActiveControl(list);
    list->SetFocus();
    Display.KeyDown(13);
    Pump();
    EXPECT_EQ(list->Path(), FFiles + "/sub");
    EXPECT_THAT(Names(list), ElementsAre("deeper"));
    Display.KeyDown(8);  // Backspace
    Pump();
    EXPECT_EQ(list->Path(), FFiles);
    EXPECT_EQ(changes, 2);

    list->SetPath(FHome + "/Docs");
    EXPECT_EQ(list->Path(), FHome + "/Docs");
    try {
        list->SetPath("nowhere");
        ADD_FAILURE();
    } catch (const EInvalidPath& e) {
        EXPECT_STREQ(e.what(), "Error setting path: \"nowhere\"");
    }
    EXPECT_EQ(list->Path(), FHome + "/Docs");
    EXPECT_THROW(list->SetRoot(FFiles + "/missing"), Exception);
    EXPECT_EQ(list->Root(), FFiles);

    // Back climbs through the volume and Computer to the desktop, and stops there.
    list->SetRoot("rfDesktop");
    EXPECT_THAT(Names(list), ElementsAre("Home", "Computer", "Projects", "notes.txt"));
    int before = changes;
    list->Back();
    EXPECT_EQ(changes, before);
    EXPECT_THAT(Names(list), ElementsAre("Home", "Computer", "Projects", "notes.txt"));
    list->SetPath(FRoot + "/media/USB");
    list->Back();
    EXPECT_EQ(list->RootFolder()->DisplayName(), "Computer");
    list->Back();
    EXPECT_EQ(ItemIdCount(list->RootFolder()->AbsoluteIdList()), 0);
}

TEST_F(ShellListView, RefreshKeepsTheSelectedFilesWhereverTheyMoved)
{
    auto* list = NewList(FFiles);
    list->SetMultiSelect(true);
    Integer last = list->FolderCount() - 1;
    const std::string lastName = list->FolderAt(last)->DisplayName();
    list->SetSelected(last, true);
    list->SetItemFocused(last);
    WriteFile(FFiles + "/zz.ts", "z");  // after it: its place stays
    list->Refresh();
    EXPECT_EQ(list->FolderCount(), last + 2);
    EXPECT_EQ(list->SelectedIndex(), last);
    // Items arriving before the selected ones move them; the selection and the focus go with them.
    list->SetSelected(IndexOf(list, "movie.mp4"), true);
    WriteFile(FFiles + "/0.ts", "z");
    WriteFile(FFiles + "/1.ts", "z");
    list->Refresh();
    TStringList files;
    list->GetSelectedFiles(&files);
    ASSERT_EQ(files.Count(), 2);
    EXPECT_EQ(files.Strings(0), FFiles + "/movie.mp4");
    EXPECT_EQ(files.Strings(1), FFiles + "/" + lastName);
    EXPECT_EQ(list->FolderAt(list->ItemFocused())->DisplayName(), lastName);
    // A selected file gone meanwhile is not replaced by whatever took its place; the focus keeps the place.
    list->ClearSelection();
    const Integer zz = IndexOf(list, "zz.ts");
    list->SetSelected(zz, true);
    list->SetItemFocused(zz);
    std::filesystem::remove(FFiles + "/zz.ts");
    list->Refresh();
    EXPECT_EQ(list->SelCount(), 0);
    EXPECT_EQ(list->ItemFocused(), zz - 1);  // the last item now
    EXPECT_EQ(list->Path(), FFiles);
}

TEST_F(ShellListView, AChangeNotificationKeepsTheSelectedFile)
{
    auto* list = NewList(FFiles);
    list->SetAutoRefresh(true);
    list->SetSelected(IndexOf(list, "song.mp3"), true);
    const Integer count = list->FolderCount();
    WriteFile(FFiles + "/0-arrived.mp4", "x");  // sorts before it
    ASSERT_TRUE(WaitForWithSlices([&] { return list->FolderCount() == count + 1; }, 10, 20000));
    EXPECT_EQ(list->GetSelectedFile(), FFiles + "/song.mp3");
    delete list;
    CheckSynchronize(0);
}

TEST_F(ShellListView, LabelEditRenamesWithoutOverwriting)
{
    auto* list = NewList(FFiles);
    list->SetSelected(IndexOf(list, "song.mp3"), true);
    list->StartRename();
    ASSERT_TRUE(list->IsEditing());
    // Backspace goes to the editor, not to the folder.
    list->LabelEdit().Editor()->SetText("tune.mp3");
    list->LabelEdit().End(true);
    EXPECT_TRUE(std::filesystem::exists(FFiles + "/tune.mp3"));
    EXPECT_EQ(list->FolderAt(IndexOf(list, "tune.mp3"))->FullObjectName(), FFiles + "/tune.mp3");

    list->SetSelected(IndexOf(list, "tune.mp3"), true);
    list->StartRename();
    list->LabelEdit().Editor()->SetText("movie.mp4");
    try {
        list->LabelEdit().End(true);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Rename to movie.mp4 failed: File exists");
    }
    EXPECT_EQ(std::filesystem::file_size(FFiles + "/movie.mp4"), 3000u);
    EXPECT_TRUE(std::filesystem::exists(FFiles + "/tune.mp3"));

    bool handled = false;
    list->ExecuteCommand("RENAME", handled);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(list->IsEditing());
    list->LabelEdit().End(false);
}

TEST_F(ShellListView, SelectedFilesInListOrderWithoutFolders)
{
    auto* list = NewList(FFiles);
    list->SetMultiSelect(true);
    for (std::string name : {"song.mp3", "sub", "A", "link.avi"}) list->SetSelected(IndexOf(list, name), true);
    TStringList files;
    files.Add("stale");
    list->GetSelectedFiles(&files);
    ASSERT_EQ(files.Count(), 3);
    EXPECT_EQ(files.Strings(0), FFiles + "/A");
    EXPECT_EQ(files.Strings(1), FFiles + "/link.avi");
    EXPECT_EQ(files.Strings(2), FFiles + "/song.mp3");
    list->ClearSelection();
    list->SetSelected(IndexOf(list, "sub"), true);
    EXPECT_EQ(list->GetSelectedFile(), "");
    list->ClearSelection();
    list->SetSelected(IndexOf(list, "bad\\xE9.ts"), true);
    EXPECT_EQ(list->GetSelectedFile(), FFiles + "/bad\xE9.ts");
}

TEST_F(ShellListView, AutoRefreshFollowsChangesInTheShownFolder)
{
    auto* list = NewList(FFiles);
    list->SetAutoRefresh(true);
    Integer count = list->FolderCount();
    WriteFile(FFiles + "/arrived.mp4", "x");
    ASSERT_TRUE(WaitForWithSlices([&] { return list->FolderCount() == count + 1; }, 10, 20000));
    EXPECT_NE(IndexOf(list, "arrived.mp4"), -1);
    // The watch moves with the folder.
    list->SetPath(FHome + "/Docs");
    WriteFile(FHome + "/Docs/letter.txt", "x");
    ASSERT_TRUE(WaitForWithSlices([&] { return list->FolderCount() == 1; }, 10, 20000));
    delete list;  // with the watch still on
    CheckSynchronize(0);
}

// A partner view that records what the list tells it.
class TFakePartner : public TComponent, public IspShellListLink {
public:
    using TComponent::TComponent;
    void ShellListRootChanged(const TRoot& ARoot) override { Roots.push_back(ARoot); }
    void ShellListFolderChanged(const TItemIdList& AAbsolute) override { Folders.push_back(AAbsolute); }
    void ShellListItemRenamed() override { ++Renames; }
    void SetLinkedListView(TspCustomShellListView* AList) override { List = AList; }
    std::vector<TRoot> Roots;
    std::vector<TItemIdList> Folders;
    int Renames = 0;
    TspCustomShellListView* List = nullptr;
};

TEST_F(ShellListView, LinkedViewsFollowAndAGonePartnerIsForgotten)
{
    auto* list = NewList(FFiles);
    auto* tree = new TFakePartner(Form);
    auto* combo = new TFakePartner(Form);
    list->SetShellTreeView(tree);
    list->SetShellComboBox(combo);
    EXPECT_EQ(tree->List, list);
    EXPECT_THAT(tree->Roots, ElementsAre(FFiles));
    list->SetPath(FFiles + "/sub");
    ASSERT_EQ(combo->Folders.size(), 1u);
    EXPECT_EQ(combo->Folders[0], ParseDisplayName(FFiles + "/sub"));
    EXPECT_EQ(tree->Folders.size(), 1u);
    list->SetRoot(FHome);
    EXPECT_EQ(tree->Roots.back(), FHome);
    EXPECT_EQ(combo->Folders.size(), 1u);  // a Root change is the tree's only

    // Linked views calling back while the list updates are ignored; another folder is followed.
    list->FollowIdList(ParseDisplayName(FFiles));
    EXPECT_EQ(list->Path(), FFiles);
    list->SetSelected(IndexOf(list, "a"), true);
    list->StartRename();
    list->LabelEdit().Editor()->SetText("aa");
    list->LabelEdit().End(true);
    EXPECT_EQ(tree->Renames, 1);

    delete combo;
    EXPECT_EQ(list->ShellComboBox(), nullptr);
    list->SetPath(FHome);
    list->SetShellTreeView(nullptr);
    EXPECT_EQ(tree->List, nullptr);
}

}  // namespace

namespace {

class ShellListItemMenu : public ShellListView {};

TEST_F(ShellListItemMenu, OpenAndRenameThroughTheViewsHook)
{
    // xdg-open is found on PATH: a stand-in records what it was given, so no desktop program opens.
    std::string bin = FRoot + "/bin";
    std::filesystem::create_directories(bin);
    WriteFile(bin + "/xdg-open", "#!/bin/sh\necho \"$1\" > \"" + FRoot + "/opened\"\n");
    std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
    auto path = FindEnvironmentVariable("PATH");
    SetEnvironmentVariable("PATH", bin + ":" + path.value_or("/usr/bin:/bin"));

    auto* list = NewList(FFiles);
    list->Perform(win::WM_CONTEXTMENU, 0, 0xFFFFFFFF);  // from the keyboard, nothing selected: no item menu
    EXPECT_EQ(list->ItemMenu(), nullptr);
    list->SetSelected(IndexOf(list, "movie.mp4"), true);
    list->Perform(win::WM_CONTEXTMENU, 0, 0xFFFFFFFF);
    ASSERT_NE(list->ItemMenu(), nullptr);
    ASSERT_EQ(list->ItemMenu()->Items()->Count(), 2);
    EXPECT_EQ(list->ItemMenu()->Items()->Items(0)->Caption(), "Open");
    EXPECT_EQ(list->ItemMenu()->Items()->Items(1)->Caption(), "Rename");

    list->ItemMenu()->Items()->Items(0)->Click();
    auto opened = [&] {
        std::ifstream in(FRoot + "/opened");
        std::string line;
        return std::getline(in, line) && line == FFiles + "/movie.mp4";
    };
    ASSERT_TRUE(WaitForWithSlices(opened, 10, 20000));
    list->ItemMenu()->Items()->Items(1)->Click();
    EXPECT_TRUE(list->IsEditing());
    list->LabelEdit().End(false);
    path ? SetEnvironmentVariable("PATH", *path) : UnsetEnvironmentVariable("PATH");
}

}  // namespace
