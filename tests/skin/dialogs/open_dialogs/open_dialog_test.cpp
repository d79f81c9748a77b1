// The open-file dialog shown modally over a fixture folder and driven as a user would: clicks on list items and
// buttons, typed names and patterns, the view menu, Back and New Folder; the results read back after it closed.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/gui/menus.h"
#include "platform/win/keys.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/message_box.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/shell_list_view.h"
#include "tests/skin/dialogs/open_dialogs/open_dialog_session.h"

namespace opendialogstest {
namespace {

TEST(OpenDialogNames, ExtensionsOfMasksAndNames)
{
    EXPECT_EQ(MaskExtension("*.mp4"), ".mp4");
    EXPECT_EQ(MaskExtension("*.mpg ;*.mpeg"), ".mpg");
    EXPECT_EQ(MaskExtension("*.*"), "");
    EXPECT_EQ(MaskExtension("*"), "");
    EXPECT_TRUE(NameHasExtension("/a.b/clip.avi"));
    EXPECT_FALSE(NameHasExtension("/a.b/clip"));
    EXPECT_FALSE(NameHasExtension(".hidden"));
    // Only the trailing extension changes, whatever the name holds before it.
    EXPECT_EQ(ReplaceNameExtension("cut.mpg-old.mpg", ".mp4"), "cut.mpg-old.mp4");
    EXPECT_EQ(ReplaceNameExtension("clip", ".mp4"), "clip.mp4");
}

TEST_F(OpenDialogSession, AcceptingASelectionReturnsTheSelectedFilesInListOrder)
{
    Dialog->MultiSelection = true;
    bool nameShown = false;
    EXPECT_TRUE(Run([&](TspOpenDlgForm* AForm) {
        ClickItem(AForm, "b.mp4");
        nameShown = AForm->FileNameEdit->Text() == "b.mp4";
        Display.KeyDown(win::VK_CONTROL);
        ClickItem(AForm, "a.mp4");
        Display.KeyUp(win::VK_CONTROL);
        ClickOn(AForm->OpenButton);
    }));
    EXPECT_TRUE(nameShown);
    EXPECT_EQ(Lines(Dialog->Files()), (std::vector<std::string>{Clips + "/a.mp4", Clips + "/b.mp4"}));
    EXPECT_GE(Dialog->Files()->IndexOf(Dialog->FileName()), 0);

    // One file and Enter in the list.
    Dialog->MultiSelection = false;
    EXPECT_TRUE(Run([&](TspOpenDlgForm* AForm) {
        ClickItem(AForm, "notes.txt");
        PressEnter();
    }));
    EXPECT_EQ(Lines(Dialog->Files()), (std::vector<std::string>{Clips + "/notes.txt"}));
}

TEST_F(OpenDialogSession, TypedNamesWithCheckFileExists)
{
    struct TCase {
        const char* Name;
        const char* DefaultExt;
        const char* Filter;
        const char* Typed;
        const char* Expected;  // nullptr: the dialog stays open and says why
    } cases[] = {
        {"full name", "", "All files|*.*", "b.mp4", "b.mp4"},
        {"the default extension completes it", "mp4", "All files|*.*", "a", "a.mp4"},
        {"the file type's extension completes it", "", "Text|*.txt", "notes", "notes.txt"},
        {"a missing name keeps the dialog open", "", "All files|*.*", "missing.mp4", nullptr},
        {"no completion under *.*", "", "All files|*.*", "a", nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Dialog->DefaultExt = c.DefaultExt;
        Dialog->Filter = c.Filter;
        bool stayedOpen = false;
        std::string told;
        const bool accepted = Run([&](TspOpenDlgForm* AForm) {
            Screen->OnActiveFormChange = [&](TObject*) {
                if (auto* box = dynamic_cast<TspMessageForm*>(Screen->ActiveForm())) {
                    told = box->Message->Caption();
                    Display.PressKey(win::VK_RETURN);
                }
            };
            TypeName(AForm, c.Typed);
            PressEnter();
            if (c.Expected) return;
            stayedOpen = AForm->Visible() && AForm->ModalResult() == mrNone;
            Press(win::VK_ESCAPE);
        });
        EXPECT_EQ(accepted, c.Expected != nullptr);
        if (!c.Expected) {
            EXPECT_TRUE(stayedOpen);
            EXPECT_EQ(told, "Cannot open \"" + std::string(c.Typed) + "\": No such file or directory.");
            continue;
        }
        EXPECT_EQ(told, "");
        // The typed name is chosen: Files holds it, so a caller adding Files adds it.
        EXPECT_EQ(Dialog->FileName(), Clips + "/" + c.Expected);
        EXPECT_EQ(Lines(Dialog->Files()), (std::vector<std::string>{Clips + "/" + c.Expected}));
    }
}

TEST_F(OpenDialogSession, ANameTypedOverTheSelectionWins)
{
    EXPECT_TRUE(Run([&](TspOpenDlgForm* AForm) {
        ClickItem(AForm, "a.mp4");
        TypeName(AForm, "notes.txt");
        ClickOn(AForm->OpenButton);
    }));
    EXPECT_EQ(Dialog->FileName(), Clips + "/notes.txt");
    EXPECT_EQ(Lines(Dialog->Files()), (std::vector<std::string>{Clips + "/notes.txt"}));
}

TEST_F(OpenDialogSession, AVanishedRememberedFolderFallsBackToInitialDir)
{
    const std::string gone = Root + "/gone";
    std::filesystem::create_directories(gone);
    WriteFile(gone + "/old.mp4", "x");
    Dialog->InitialDir = gone;
    ASSERT_TRUE(Run([&](TspOpenDlgForm* AForm) {
        ClickItem(AForm, "old.mp4");
        ClickOn(AForm->OpenButton);
    }));
    ASSERT_EQ(Dialog->FileName(), gone + "/old.mp4");
    std::filesystem::remove_all(gone);

    Dialog->InitialDir = Clips;
    std::string shownPath;
    EXPECT_FALSE(Run([&](TspOpenDlgForm* AForm) {
        shownPath = AForm->FileListView->Path();
        Press(win::VK_ESCAPE);
    }));
    EXPECT_EQ(shownPath, Clips);
}

TEST_F(OpenDialogSession, APatternTypedWithEnterFiltersTheList)
{
    std::filesystem::create_directories(Clips + "/sub");
    std::vector<std::string> before, after;
    bool stayedOpen = false;
    EXPECT_FALSE(Run([&](TspOpenDlgForm* AForm) {
        before = Shown(AForm);
        TypeName(AForm, "*.txt");
        PressEnter();
        after = Shown(AForm);
        stayedOpen = AForm->ModalResult() == mrNone;
        Press(win::VK_ESCAPE);
    }));
    EXPECT_EQ(before, (std::vector<std::string>{"sub", "a.mp4", "b.mp4", "notes.txt"}));
    EXPECT_EQ(after, (std::vector<std::string>{"sub", "notes.txt"}));
    EXPECT_TRUE(stayedOpen);
}

TEST_F(OpenDialogSession, CancelStillStoresFileTypeSizeAndView)
{
    Dialog->Filter = "All files|*.*|Videos|*.mp4|Text|*.txt";
    std::vector<std::string> shown;
    EXPECT_FALSE(Run([&](TspOpenDlgForm* AForm) {
        EXPECT_EQ(AForm->ClientWidth(), 450);
        EXPECT_EQ(AForm->ClientHeight(), 290);
        AForm->FilterComboBox->SetItemIndex(2);
        Pump();
        shown = Shown(AForm);
        // The view menu drops from its button; the fourth item is Details.
        ClickOn(AForm->StyleToolButton);
        for (int i = 0; i < 3; ++i) Press(win::VK_DOWN);  // the first item is lit as it opens
        Press(win::VK_RETURN);
        AForm->SetClientWidth(520);
        AForm->SetClientHeight(330);
        ClickOn(AForm->CancelButton);
    }));
    EXPECT_EQ(shown, (std::vector<std::string>{"notes.txt"}));
    EXPECT_EQ(Dialog->FilterIndex, 3);
    EXPECT_EQ(Dialog->DialogWidth, 520);
    EXPECT_EQ(Dialog->DialogHeight, 330);
    EXPECT_EQ(Dialog->ListViewStyle, vsReport);

    // The next run starts with them.
    bool reportChecked = false;
    TViewStyle style = vsIcon;
    Integer width = 0;
    Run([&](TspOpenDlgForm* AForm) {
        reportChecked = AForm->ReportMenuItem->Checked() && !AForm->ListMenuItem->Checked();
        style = AForm->FileListView->ViewStyle();
        width = AForm->ClientWidth();
        Press(win::VK_ESCAPE);
    });
    EXPECT_TRUE(reportChecked);
    EXPECT_EQ(style, vsReport);
    EXPECT_EQ(width, 520);
}

TEST_F(OpenDialogSession, SaveModeCompletesTheTypedNameFromTheFileType)
{
    Dialog->SaveMode = true;
    Dialog->CheckFileExists = false;
    struct TCase {
        const char* Name;
        const char* Filter;
        Integer FilterIndex;
        const char* DefaultExt;
        const char* Typed;
        Integer SwitchTo;  // a file type chosen after typing; 0 for none
        const char* Expected;
    } cases[] = {
        {"the file type's extension", "Video|*.mp4", 1, "", "clip", 0, "clip.mp4"},
        {"the default extension under *.*", "All files|*.*", 1, "avi", "clip", 0, "clip.avi"},
        {"a typed extension stays", "Video|*.mp4", 1, "", "clip.mkv", 0, "clip.mkv"},
        {"a new file type swaps the trailing extension", "AVI|*.avi|MP4|*.mp4", 1, "", "cut.avi-old.avi", 2,
         "cut.avi-old.mp4"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Dialog->Filter = c.Filter;
        Dialog->FilterIndex = c.FilterIndex;
        Dialog->DefaultExt = c.DefaultExt;
        EXPECT_TRUE(Run([&](TspOpenDlgForm* AForm) {
            TypeName(AForm, c.Typed);
            if (c.SwitchTo) {
                AForm->FilterComboBox->SetItemIndex(c.SwitchTo - 1);
                Pump();
            }
            ClickOn(AForm->OpenButton);
        }));
        EXPECT_EQ(Dialog->FileName(), Clips + "/" + c.Expected);
    }
    // A pattern is never a name to save under.
    bool stayedOpen = false;
    Dialog->Filter = "All files|*.*";
    EXPECT_FALSE(Run([&](TspOpenDlgForm* AForm) {
        AForm->FileNameEdit->SetText("*.mp4");
        ClickOn(AForm->OpenButton);
        stayedOpen = AForm->ModalResult() == mrNone;
        Press(win::VK_ESCAPE);
    }));
    EXPECT_TRUE(stayedOpen);
}

TEST_F(OpenDialogSession, SavingOverAnExistingFileAsksFirst)
{
    Dialog->SaveMode = true;
    Dialog->OverwritePromt = true;
    int asked = 0;
    bool stayedOpen = false;
    EXPECT_TRUE(Run([&](TspOpenDlgForm* AForm) {
        int answer = win::VK_ESCAPE;
        Screen->OnActiveFormChange = [&](TObject*) {
            if (!dynamic_cast<TspMessageForm*>(Screen->ActiveForm())) return;
            ++asked;
            Display.PressKey(answer);
        };
        TypeName(AForm, "a.mp4");
        ClickOn(AForm->OpenButton);  // answered Cancel: the dialog stays
        stayedOpen = AForm->ModalResult() == mrNone;
        answer = win::VK_RETURN;     // answered OK
        ClickOn(AForm->OpenButton);
    }));
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Dialog->FileName(), Clips + "/a.mp4");
}

TEST_F(OpenDialogSession, BackWalksTheVisitedFoldersAndForgetsTheOnesLeft)
{
    const std::string a = Videos, b = Videos + "/2024", c = Videos + "/2024/holiday", d = Videos + "/empty";
    Dialog->InitialDir = a;
    std::vector<std::string> seen;
    Run([&](TspOpenDlgForm* AForm) {
        auto go = [&](const std::string& APath) {
            TypeName(AForm, APath);
            PressEnter();
        };
        auto back = [&] {
            ClickOn(AForm->BackToolButton);
            seen.push_back(AForm->FileListView->Path());
        };
        go(b);
        go(c);
        back();  // b
        back();  // a
        back();  // nothing left: a
        go(b);
        go(c);
        back();  // b
        go(d);
        back();  // b again, not c, which was left
        back();  // a
        // Up shows the parent, which Back then leaves again.
        ClickOn(AForm->UpToolButton);
        seen.push_back(AForm->FileListView->Path());
        back();  // a
        Press(win::VK_ESCAPE);
    });
    EXPECT_EQ(seen, (std::vector<std::string>{b, a, a, b, b, a, Home, a}));
}

TEST_F(OpenDialogSession, NewFolderTwiceMakesNewFolderAndNewFolder2)
{
    bool renaming = false;
    Run([&](TspOpenDlgForm* AForm) {
        ClickOn(AForm->NewFolderToolButton);
        renaming = AForm->FileListView->IsEditing() && AForm->FileListView->SelectedFolder() &&
                   AForm->FileListView->SelectedFolder()->DisplayName() == "New Folder";
        Press(win::VK_ESCAPE);  // ends the rename
        ClickOn(AForm->NewFolderToolButton);
        Press(win::VK_ESCAPE);
        ClickOn(AForm->CancelButton);
    });
    EXPECT_TRUE(renaming);
    EXPECT_TRUE(std::filesystem::is_directory(Clips + "/New Folder"));
    EXPECT_TRUE(std::filesystem::is_directory(Clips + "/New Folder(2)"));
}

}  // namespace
}  // namespace opendialogstest
