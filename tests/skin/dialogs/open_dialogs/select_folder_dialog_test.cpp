// The select-folder dialog and the directory edit shown modally over a fixture tree and driven as a user would.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/win/geometry.h"
#include "platform/win/keys.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/message_box.h"
#include "skin/forms/popup_menu.h"
#include "platform/gui/menus.h"
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

    // From here on, every message box is read into ATold and answered with Enter.
    void AnswerMessages(std::vector<std::string>& ATold)
    {
        Screen->OnActiveFormChange = [this, &ATold](TObject*) {
            auto* box = dynamic_cast<TspMessageForm*>(Screen->ActiveForm());
            if (!box) return;
            ATold.push_back(box->Message->Caption());
            Display.PressKey(win::VK_RETURN);
        };
    }
    void TypeInto(TspSkinEdit* AEdit, const std::string& AText)
    {
        AEdit->SetFocus();
        AEdit->SetText("");
        Type(AText);
        PressEnter();
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
        std::vector<std::string> told;
        EXPECT_FALSE(Run([&](TspSelDirDlgForm* AForm) {
            AnswerMessages(told);
            shown = AForm->DirTreeView->SelectedFolder() ? AForm->DirTreeView->SelectedFolder()->DisplayName() : "";
            ClickOn(AForm->OkButton);
            PressEnter();
            stayedOpen = AForm->Visible() && AForm->ModalResult() == mrNone;
            ClickOn(AForm->CancelButton);
        }));
        EXPECT_EQ(shown, "Computer");
        EXPECT_TRUE(stayedOpen);
        // Each refusal says why.
        const std::string why = "\"Computer\" is not a folder on disk. Choose a folder inside it.";
        EXPECT_EQ(told, (std::vector<std::string>{why, why}));
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
        // A typed path that is no folder is told and changes nothing; a folder is selected.
        std::vector<std::string> told;
        AnswerMessages(told);
        TypeInto(AForm->DirEdit, Videos + "/nothing");
        EXPECT_EQ(AForm->DirTreeView->Path(), Home);
        EXPECT_EQ(told, (std::vector<std::string>{"Cannot open the folder \"" + Videos +
                                                  "/nothing\": No such file or directory."}));
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

TEST_F(SelectFolderSession, TypedFoldersResolveAgainstTheSelectedOne)
{
    Dialog->ShowToolBar = true;
    Dialog->Directory = Videos;
    std::vector<std::string> shown;
    EXPECT_TRUE(Run([&](TspSelDirDlgForm* AForm) {
        for (const char* typed : {"2024/", "holiday/", "..", "~", "~/Videos/empty"}) {
            TypeInto(AForm->DirEdit, typed);
            shown.push_back(AForm->DirTreeView->Path());
        }
        ClickOn(AForm->OkButton);
    }));
    EXPECT_EQ(shown, (std::vector<std::string>{Videos + "/2024", Videos + "/2024/holiday", Videos + "/2024", Home,
                                               Videos + "/empty"}));
    EXPECT_EQ(Dialog->Directory, Videos + "/empty");
}

TEST_F(SelectFolderSession, TheTreesItemMenuMakesANewFolderAndEscEndsOnlyItsRename)
{
    Dialog->Directory = Videos + "/empty";
    std::vector<std::string> captions;
    bool editing = false, openAfterEsc = false;
    EXPECT_FALSE(Run([&](TspSelDirDlgForm* AForm) {
        TspSkinDirTreeView* tree = AForm->DirTreeView;
        const TRect r = tree->NodeRect(tree->Selected(), true);
        ClickOn(tree, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
        Clock.Advance(1000000);
        Display.Click(tree->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}), 0x02);
        Pump();
        ASSERT_NE(tree->ItemMenu(), nullptr);
        for (Integer i = 0; i < tree->ItemMenu()->Items()->Count(); ++i)
            captions.push_back(tree->ItemMenu()->Items()->Items(i)->Caption());
        Press(win::VK_ESCAPE);  // closes the menu
        tree->ItemMenu()->Items()->Items(2)->Click();
        editing = tree->IsEditing() && tree->Selected() && tree->Selected()->Text() == "New Folder";
        Press(win::VK_ESCAPE);
        openAfterEsc = !tree->IsEditing() && AForm->ModalResult() == mrNone;
        ClickOn(AForm->CancelButton);
    }));
    EXPECT_EQ(captions, (std::vector<std::string>{"Open", "Rename", "New Folder"}));
    EXPECT_TRUE(editing);
    EXPECT_TRUE(openAfterEsc);
    EXPECT_TRUE(std::filesystem::is_directory(Videos + "/empty/New Folder"));
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
