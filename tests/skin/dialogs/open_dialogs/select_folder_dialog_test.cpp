// The select-folder dialog and the directory edit shown modally over a fixture tree and driven as a user would.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/win/geometry.h"
#include "platform/win/keys.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/speed_button.h"
#include "skin/dialogs/directory_edit.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "skin/dialogs/shell_tree_view.h"
#include "tests/skin/dialogs/open_dialogs/open_dialogs_fixture.h"

namespace opendialogstest {
namespace {

class SelectFolderSession : public TDialogFixture {
protected:
    void SetUp() override
    {
        TDialogFixture::SetUp();
        Dialog = new TspSkinSelectDirectoryDialog(App.get());
    }
    bool Run(const std::function<void(TspSelDirDlgForm*)>& AScript)
    {
        return Session<TspSelDirDlgForm>(AScript, [&] { return Dialog->Execute(); });
    }
    // How many nodes of the whole tree show the folder APath.
    static int NodesOf(TspCustomShellTreeView* ATree, const std::string& APath)
    {
        int count = 0;
        for (Integer i = 0; i < ATree->Items()->Count(); ++i)
            if (TspShellFolder* folder = TspCustomShellTreeView::NodeFolder(ATree->Items()->Item(i));
                folder && folder->FullObjectName() == APath)
                ++count;
        return count;
    }

    TspSkinSelectDirectoryDialog* Dialog = nullptr;
};

TEST_F(SelectFolderSession, ADirectoryThreeLevelsDownIsSelectedAndAccepted)
{
    const std::string clips = Videos + "/2024/holiday/clips";
    Dialog->Directory = clips;
    std::string selected;
    std::vector<int> nodes;
    EXPECT_TRUE(Run([&](TspSelDirDlgForm* AForm) {
        selected = AForm->DirTreeView->Path();
        for (const std::string& p : {Videos, Videos + "/2024", Videos + "/2024/holiday", clips})
            nodes.push_back(NodesOf(AForm->DirTreeView, p));
        PressEnter();  // OK is the default button
    }));
    EXPECT_EQ(selected, clips);
    // Each ancestor was filled once on the way down.
    EXPECT_EQ(nodes, (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(Dialog->Directory, clips);
}

TEST_F(SelectFolderSession, OkOnTheComputerFolderIsRefused)
{
    // A folder that is gone, and a file, both start at Computer; OK cannot choose it, as it has no path.
    for (const std::string& start : {Root + "/gone", Videos + "/only-files/clip.mp4"}) {
        SCOPED_TRACE(start);
        Dialog->Directory = start;
        std::string shown;
        bool stayedOpen = false;
        EXPECT_FALSE(Run([&](TspSelDirDlgForm* AForm) {
            shown = AForm->DirTreeView->SelectedFolder() ? AForm->DirTreeView->SelectedFolder()->DisplayName() : "";
            ClickOn(AForm->OkButton);
            PressEnter();
            stayedOpen = AForm->Visible() && AForm->ModalResult() == mrNone;
            ClickOn(AForm->CancelButton);
        }));
        EXPECT_EQ(shown, "Computer");
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(Dialog->Directory, start);
    }
}

TEST_F(SelectFolderSession, CancelKeepsDirectoryAndStoresTheSize)
{
    Dialog->Directory = Videos;
    Integer firstWidth = 0;
    EXPECT_FALSE(Run([&](TspSelDirDlgForm* AForm) {
        firstWidth = AForm->ClientWidth();
        AForm->DirTreeView->SetPath(Videos + "/empty");
        AForm->SetClientWidth(333);
        AForm->SetClientHeight(301);
        Press(win::VK_ESCAPE);
    }));
    EXPECT_EQ(firstWidth, 280);
    EXPECT_EQ(Dialog->Directory, Videos);
    EXPECT_EQ(Dialog->DialogWidth, 333);
    EXPECT_EQ(Dialog->DialogHeight, 301);
    Integer secondWidth = 0;
    Run([&](TspSelDirDlgForm* AForm) {
        secondWidth = AForm->ClientWidth();
        Press(win::VK_ESCAPE);
    });
    EXPECT_EQ(secondWidth, 333);
}

TEST_F(SelectFolderSession, ToolBarPathNewFolderAndRenameThenRefresh)
{
    Dialog->ShowToolBar = true;
    Dialog->Directory = Home;
    std::vector<std::string> children;
    EXPECT_TRUE(Run([&](TspSelDirDlgForm* AForm) {
        // A typed path that is no folder is ignored; a folder is selected.
        AForm->DirEdit->SetFocus();
        AForm->DirEdit->SetText("");
        Type(Videos + "/nothing");
        PressEnter();
        EXPECT_EQ(AForm->DirTreeView->Path(), Home);
        AForm->DirEdit->SetText("");
        Type(Videos + "/empty");
        PressEnter();
        EXPECT_EQ(AForm->DirTreeView->Path(), Videos + "/empty");
        // The edit follows the tree.
        EXPECT_EQ(AForm->DirEdit->Text(), Videos + "/empty");

        ClickOn(AForm->NewFolderToolButton);
        ClickOn(AForm->NewFolderToolButton);  // the name is taken: nothing more
        TTreeNode* selected = AForm->DirTreeView->Selected();
        ASSERT_NE(selected, nullptr);
        selected->Expand(false);
        for (Integer i = 0; i < selected->Count(); ++i) children.push_back(selected->Item(i)->Text());

        // Renamed in the tree, the folder is read again and chosen under its new name.
        AForm->DirTreeView->SetPath(Videos + "/empty/New Folder");
        AForm->DirTreeView->Selected()->EditText();
        ASSERT_TRUE(AForm->DirTreeView->IsEditing());
        AForm->DirTreeView->LabelEdit().Editor()->SetText("");
        Type("cuts");
        PressEnter();
        ClickOn(AForm->OkButton);
    }));
    EXPECT_EQ(children, (std::vector<std::string>{"New Folder"}));
    EXPECT_TRUE(std::filesystem::is_directory(Videos + "/empty/cuts"));
    EXPECT_FALSE(std::filesystem::exists(Videos + "/empty/New Folder"));
    EXPECT_EQ(Dialog->Directory, Videos + "/empty/cuts");
}

TEST_F(SelectFolderSession, TheDirectoryEditsButtonPicksAFolderIntoTheText)
{
    auto* edit = new TspSkinDirectoryEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 10, 200, 21);
    edit->SetReadOnly(true);
    edit->SetText(Videos);
    Pump();
    auto clickButton = [&] {
        TRect window;
        win::GetWindowRect(edit->Handle(), window);
        const TRect button = edit->ButtonRect();
        Clock.Advance(1000000);
        Display.Click({window.Left + (button.Left + button.Right) / 2, window.Top + (button.Top + button.Bottom) / 2});
        Pump();
    };
    std::string startedAt;
    Session<TspSelDirDlgForm>(
        [&](TspSelDirDlgForm* AForm) {
            startedAt = AForm->DirTreeView->Path();
            AForm->DirTreeView->SetPath(Videos + "/2024");
            ClickOn(AForm->CancelButton);
        },
        [&] {
            clickButton();
            return true;
        });
    EXPECT_EQ(startedAt, Videos);
    EXPECT_EQ(edit->Text(), Videos);  // Cancel leaves the text

    Session<TspSelDirDlgForm>(
        [&](TspSelDirDlgForm* AForm) {
            AForm->DirTreeView->SetPath(Videos + "/2024");
            ClickOn(AForm->OkButton);
        },
        [&] {
            clickButton();
            return true;
        });
    EXPECT_EQ(edit->Text(), Videos + "/2024");
}

}  // namespace
}  // namespace opendialogstest
