// The shell folder tree over a private namespace: lazy filling, selection by path, Computer, renaming by label
// edit, rebuilding a subtree and the refresh that change notices bring.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/rtl/main_thread_queue.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_icons.h"
#include "skin/dialogs/shell_tree_view.h"
#include "tests/skin/dialogs/shell_views/shell_views_fixture.h"

namespace {

using shellviewstest::TShellViewsFixture;

std::vector<std::string> ChildTexts(const TTreeNode* ANode)
{
    std::vector<std::string> texts;
    for (Integer i = 0; i < ANode->Count(); ++i) texts.push_back(ANode->Item(i)->Text());
    return texts;
}

TTreeNode* Child(const TTreeNode* ANode, const std::string& AText)
{
    for (Integer i = 0; i < ANode->Count(); ++i)
        if (ANode->Item(i)->Text() == AText) return ANode->Item(i);
    return nullptr;
}

class ShellTreeViewTest : public TShellViewsFixture {
protected:
    TspSkinDirTreeView* NewTree()
    {
        auto* tree = NewView<TspSkinDirTreeView>();
        tree->OnExpanding = [this](TObject*, TTreeNode* ANode, bool&) { ++Expansions[ANode->Text()]; };
        return tree;
    }
    std::map<std::string, int> Expansions;
};

TEST_F(ShellTreeViewTest, TheDesktopIsExpandedAndSelectedAndItsChildrenWaitForTheirExpansion)
{
    auto* tree = NewTree();
    TTreeNode* top = tree->Items()->GetFirstNode();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Text(), "Desktop");
    EXPECT_TRUE(top->Expanded());
    EXPECT_EQ(tree->Selected(), top);
    EXPECT_FALSE(tree->ShowRoot());
    EXPECT_EQ(ChildTexts(top), (std::vector<std::string>{"Home", "Computer", "Projects"}));
    TTreeNode* computer = Child(top, "Computer");
    EXPECT_TRUE(computer->HasChildren());
    EXPECT_EQ(computer->Count(), 0) << "filled only when it opens";
    EXPECT_EQ(tree->Images(), nullptr);
    EXPECT_EQ(tree->TCustomTreeView::Images(), ShellImages(false));
    EXPECT_EQ(computer->ImageIndex, sikComputer);
}

TEST_F(ShellTreeViewTest, ExpandMyComputerSelectsItAndListsTheVolumes)
{
    auto* tree = NewTree();
    tree->ExpandMyComputer();
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), "Computer");
    EXPECT_TRUE(tree->Selected()->Expanded());
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"File System", "DVD", "USB"}));
    EXPECT_EQ(tree->Path(), "Computer");  // a virtual folder has no path: its name stands in
}

TEST_F(ShellTreeViewTest, APathThreeLevelsDownExpandsEachAncestorOnce)
{
    auto* tree = NewTree();
    tree->SetPath(Usb + "/one/two");
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), "two");
    EXPECT_EQ(tree->Path(), Usb + "/one/two");
    // "two" has no subfolders, so it has nothing to open.
    EXPECT_EQ(Expansions, (std::map<std::string, int>{{"Computer", 1}, {"USB", 1}, {"one", 1}}));
    // The same folder again changes nothing.
    bool changed = false;
    tree->OnChanging = [&](TObject*, TTreeNode*, bool&) { changed = true; };
    tree->SetPath(Usb + "/one/two");
    EXPECT_FALSE(changed);
    EXPECT_EQ(Expansions["one"], 1);
}

TEST_F(ShellTreeViewTest, APathThatNamesNothingRaisesAndKeepsTheSelection)
{
    auto* tree = NewTree();
    tree->SetPath(Usb + "/one");
    try {
        tree->SetPath(Usb + "/none");
        FAIL() << "no exception";
    } catch (const EInvalidPath& e) {
        EXPECT_EQ(e.Message(), "Error setting path: \"" + Usb + "/none\"");
    }
    EXPECT_EQ(tree->Path(), Usb + "/one");
}

TEST_F(ShellTreeViewTest, AFolderWithoutSubfoldersLosesItsButtonWhenOpened)
{
    auto* tree = NewTree();
    tree->SetPath(Videos);
    TTreeNode* videos = tree->Selected();
    EXPECT_EQ(ChildTexts(videos), (std::vector<std::string>{"2024", "empty", "only-files"}));
    for (const char* name : {"empty", "only-files"}) {
        TTreeNode* node = Child(videos, name);
        node->Expand(false);
        EXPECT_FALSE(node->HasChildren()) << name;
        EXPECT_FALSE(node->Expanded()) << name;
    }
}

TEST_F(ShellTreeViewTest, WithNonFoldersAFolderOfFilesKeepsItsButtonAndShowsThem)
{
    auto* tree = NewTree();
    tree->SetObjectTypes({otFolders, otNonFolders});
    tree->SetPath(Videos);
    TTreeNode* files = Child(tree->Selected(), "only-files");
    ASSERT_NE(files, nullptr);
    EXPECT_TRUE(files->HasChildren());
    files->Expand(false);
    EXPECT_EQ(ChildTexts(files), (std::vector<std::string>{"clip.mp4"}));
    EXPECT_EQ(files->Item(0)->ImageIndex, sikVideo);
    EXPECT_FALSE(Child(tree->Selected(), "empty")->HasChildren());
}

TEST_F(ShellTreeViewTest, AFolderRefusedByOnAddFolderGetsNoNode)
{
    auto* tree = NewTree();
    std::vector<std::string> asked;
    tree->OnAddFolder = [&](TObject*, TspShellFolder* AFolder, bool& CanAdd) {
        asked.push_back(AFolder->DisplayName());
        CanAdd = AFolder->DisplayName() != "empty";
    };
    tree->SetPath(Videos);
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"2024", "only-files"}));
    EXPECT_NE(std::find(asked.begin(), asked.end(), "empty"), asked.end());
}

TEST_F(ShellTreeViewTest, RefreshKeepsWhatWasOpenAndSelectedAndShowsNewFolders)
{
    auto* tree = NewTree();
    tree->SetPath(Videos + "/2024/holiday");
    std::filesystem::create_directory(Videos + "/added");
    std::filesystem::remove(Videos + "/empty");
    TTreeNode* videos = tree->Selected()->Parent()->Parent();
    ASSERT_EQ(videos->Text(), "Videos");
    tree->Refresh(videos);
    TTreeNode* fresh = tree->FindFolderNode(tree->SelectedFolder()->AbsoluteIdList(), tree->Items()->GetFirstNode());
    EXPECT_EQ(fresh, tree->Selected());
    EXPECT_EQ(tree->Path(), Videos + "/2024/holiday");
    videos = tree->Selected()->Parent()->Parent();
    EXPECT_EQ(ChildTexts(videos), (std::vector<std::string>{"2024", "added", "only-files"}));
    EXPECT_TRUE(videos->Expanded());
    EXPECT_TRUE(Child(videos, "2024")->Expanded());
    // Exactly one Videos node is left.
    int count = 0;
    for (Integer i = 0; i < videos->Parent()->Count(); ++i) count += videos->Parent()->Item(i)->Text() == "Videos";
    EXPECT_EQ(count, 1);
}

TEST_F(ShellTreeViewTest, RenamingByLabelEditRenamesOnDiskAndNeverReplaces)
{
    auto* tree = NewTree();
    tree->SetPath(Videos + "/empty");
    const auto editTo = [&](const std::string& AText) {
        tree->Selected()->EditText();
        ASSERT_TRUE(tree->IsEditing());
        tree->LabelEdit().Editor()->SetText(AText);
        tree->LabelEdit().End(true);
        Pump();
    };
    editTo("renamed");
    EXPECT_TRUE(std::filesystem::is_directory(Videos + "/renamed"));
    EXPECT_FALSE(std::filesystem::exists(Videos + "/empty"));
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Selected()->Text(), "renamed");
    EXPECT_EQ(tree->Path(), Videos + "/renamed");
    // The parent was read again, so the new name stands in its sorted place.
    EXPECT_EQ(ChildTexts(tree->Selected()->Parent()), (std::vector<std::string>{"2024", "only-files", "renamed"}));

    // A name that is taken is refused: the label and the disk stay as they were.
    tree->SetPath(Videos + "/renamed");
    EXPECT_THROW(editTo("only-files"), Exception);
    EXPECT_EQ(tree->Selected()->Text(), "renamed");
    EXPECT_TRUE(std::filesystem::is_directory(Videos + "/renamed"));
    EXPECT_TRUE(std::filesystem::is_regular_file(Videos + "/only-files/clip.mp4"));
}

TEST_F(ShellTreeViewTest, RenamingTheTopNodeChangesItsTextAndRefreshesNothingElse)
{
    auto* tree = NewTree();
    tree->SetRoot(Videos + "/empty");
    TTreeNode* top = tree->Items()->GetFirstNode();
    ASSERT_EQ(top->Text(), "empty");
    top->EditText();
    tree->LabelEdit().Editor()->SetText("top");
    tree->LabelEdit().End(true);
    Pump();
    EXPECT_EQ(tree->Items()->GetFirstNode(), top);
    EXPECT_EQ(top->Text(), "top");
    EXPECT_TRUE(std::filesystem::is_directory(Videos + "/top"));
}

TEST_F(ShellTreeViewTest, UserImagesReplaceTheShellIconsUntilTheyGo)
{
    auto* tree = NewTree();
    // A skin change gives the tree's images its background; the shared shell icons keep theirs clear.
    tree->SetSkinData(Skin);
    EXPECT_EQ(ShellImages(false)->BkColor(), clNone);
    auto* images = new TImageList(Form, 16, 16);
    tree->SetImages(images);
    EXPECT_EQ(tree->TCustomTreeView::Images(), images);
    delete images;
    EXPECT_EQ(tree->Images(), nullptr);
    EXPECT_EQ(tree->TCustomTreeView::Images(), ShellImages(false));
    tree->SetUseShellImages(false);
    EXPECT_EQ(tree->TCustomTreeView::Images(), nullptr);
}

TEST_F(ShellTreeViewTest, AnImageListFromOutsideIsReplacedAndOnlyUserImagesAreQueried)
{
    auto* tree = NewTree();
    TCustomTreeView* plain = tree;  // as any code holding the platform's tree would set it
    auto* outside = new TImageList(Form, 16, 16);
    plain->SetImages(outside);
    EXPECT_EQ(tree->TCustomTreeView::Images(), ShellImages(false));
    int queries = 0;
    tree->OnGetImageIndex = [&](TObject*, TTreeNode*) { ++queries; };
    tree->OnGetSelectedIndex = [&](TObject*, TTreeNode*) { ++queries; };
    tree->Invalidate();
    Pump();
    EXPECT_EQ(queries, 0);  // the shell's indexes stand
    auto* user = new TImageList(Form, 16, 16);
    tree->SetImages(user);
    tree->Invalidate();
    Pump();
    EXPECT_GT(queries, 0);
    plain->SetImages(outside);
    EXPECT_EQ(tree->TCustomTreeView::Images(), user);
    delete user;  // before the tree: the form's teardown tells no sibling
    delete outside;
}

TEST_F(ShellTreeViewTest, SelectingANodeMovesTheLinkedComboBox)
{
    auto* box = NewView<TspSkinShellComboBox>(240, 22);
    auto* tree = NewTree();
    tree->SetShellComboBox(box);
    EXPECT_EQ(box->ShellTreeView(), tree);
    tree->SetPath(Usb + "/one/two");
    EXPECT_EQ(box->Path(), Usb + "/one/two");
    tree->SetSelected(tree->Selected()->Parent());
    EXPECT_EQ(box->Path(), Usb + "/one");
    EXPECT_EQ(box->Text(), "one");
}

TEST_F(ShellTreeViewTest, TheTreeAndALinkedListViewFollowEachOther)
{
    auto* tree = NewTree();
    auto* list = NewView<TspSkinFileListView>(240, 200);
    tree->SetShellListView(list);
    EXPECT_EQ(list->ShellTreeView(), tree);
    tree->SetPath(Usb + "/one");
    EXPECT_EQ(list->Path(), Usb + "/one");
    list->Back();
    EXPECT_EQ(tree->Path(), Usb);
    // A rename in the list reads the tree's selected folder again.
    const Integer one = list->FindOwnerItem("one", 0, false);
    ASSERT_GE(one, 0);
    list->EditCaption(one);
    ASSERT_TRUE(list->IsEditing());
    list->LabelEdit().Editor()->SetText("uno");
    list->LabelEdit().End(true);
    Pump();
    EXPECT_TRUE(std::filesystem::is_directory(Usb + "/uno"));
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"uno"}));
    tree->SetShellListView(nullptr);
    EXPECT_EQ(list->ShellTreeView(), nullptr);
}

TEST_F(ShellTreeViewTest, AutoRefreshRebuildsTheSelectedNodeWhenItsFolderChanges)
{
    auto* tree = NewTree();
    tree->SetAutoRefresh(true);
    ASSERT_NE(tree->Notifier(), nullptr);
    EXPECT_EQ(tree->Notifier()->Root(), Home + "/Desktop");
    // Selecting another node moves the watch there.
    tree->SetPath(Usb + "/one");
    EXPECT_EQ(tree->Notifier()->Root(), Usb + "/one");
    tree->SetPath(Usb);
    ASSERT_NE(tree->Notifier(), nullptr);
    EXPECT_EQ(tree->Notifier()->Root(), Usb);
    Pump();

    std::filesystem::create_directory(Usb + "/fresh");
    // The notice comes from the watching thread; wait for it, without a fixed time.
    for (int i = 0; i < 500 && !Child(tree->Selected(), "fresh"); ++i) {
        CheckSynchronize(10);
        Pump();
    }
    ASSERT_NE(tree->Selected(), nullptr);
    EXPECT_EQ(tree->Path(), Usb);
    EXPECT_EQ(ChildTexts(tree->Selected()), (std::vector<std::string>{"fresh", "one"}));
    tree->SetAutoRefresh(false);
    EXPECT_EQ(tree->Notifier(), nullptr);
    delete tree;
    // Nothing may call into the tree now.
    std::filesystem::create_directory(Usb + "/later");
    for (int i = 0; i < 20; ++i) CheckSynchronize(5);
}

}  // namespace
