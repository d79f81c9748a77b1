// The open-file dialog keeps the user's choice and says what goes wrong: the files picked stay picked through a
// sort and a refresh, the remembered file type comes back, Esc ends a name edit only, typed folders resolve against
// the folder shown, the name box follows a rename, and stale names, refused renames and unreadable folders are told
// in the skinned message box with the system's reason.
#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/controls/lists/list_header.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/win/keys.h"
#include "skin/controls/push_button.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/message_box.h"
#include "tests/skin/dialogs/open_dialogs/open_dialog_session.h"

namespace opendialogstest {
namespace {

class OpenDialogChoice : public OpenDialogSession {
protected:
    // From here on, every message box is read and answered with Enter.
    void AnswerMessages()
    {
        Screen->OnActiveFormChange = [this](TObject*) {
            auto* box = dynamic_cast<TspMessageForm*>(Screen->ActiveForm());
            if (!box) return;
            Messages.push_back(box->Message->Caption());
            Display.PressKey(win::VK_RETURN);
        };
    }
    void ClickHeader(TspOpenDlgForm* AForm, Integer AColumn)
    {
        TListHeader* header = AForm->FileListView->Header();
        const TRect r = header->SectionRect(AColumn);
        ClickOn(header, {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }
    static std::string FocusedName(TspOpenDlgForm* AForm)
    {
        TspShellFolder* folder = AForm->FileListView->FolderAt(AForm->FileListView->ItemFocused());
        return folder ? folder->DisplayName() : std::string();
    }

    std::vector<std::string> Messages;
};

TEST_F(OpenDialogChoice, SortingByAColumnKeepsThePickedFiles)
{
    for (auto [name, bytes] : {std::pair{"a.mp4", "xxx"}, {"b.mp4", "x"}, {"c.mp4", "xx"}, {"notes.txt", "xxxx"}})
        WriteFile(Clips + "/" + name, bytes);
    Dialog->MultiSelection = true;
    Dialog->ListViewStyle = vsReport;
    std::vector<std::string> ascending, descending;
    std::string focused, nameBox;
    EXPECT_TRUE(Run([&](TspOpenDlgForm* AForm) {
        ClickItem(AForm, "a.mp4");
        Display.KeyDown(win::VK_CONTROL);
        ClickItem(AForm, "c.mp4");
        Display.KeyUp(win::VK_CONTROL);
        ClickHeader(AForm, 1);  // "Size": smallest first
        ascending = Shown(AForm);
        ClickHeader(AForm, 1);  // again: largest first
        descending = Shown(AForm);
        focused = FocusedName(AForm);
        nameBox = AForm->FileNameEdit->Text();
        ClickOn(AForm->OpenButton);
    }));
    EXPECT_EQ(ascending, (std::vector<std::string>{"b.mp4", "c.mp4", "a.mp4", "notes.txt"}));
    EXPECT_EQ(descending, (std::vector<std::string>{"notes.txt", "a.mp4", "c.mp4", "b.mp4"}));
    EXPECT_EQ(focused, "c.mp4");
    EXPECT_EQ(nameBox, "c.mp4");
    // The two files picked, in the list's order now: nothing else, nothing dropped.
    EXPECT_EQ(Lines(Dialog->Files()), (std::vector<std::string>{Clips + "/a.mp4", Clips + "/c.mp4"}));
}

TEST_F(OpenDialogChoice, RefreshKeepsThePickedFileWhereverItMoved)
{
    std::string selected, focused;
    EXPECT_TRUE(Run([&](TspOpenDlgForm* AForm) {
        ClickItem(AForm, "b.mp4");
        // Two files arrive before it, one it passed goes.
        WriteFile(Clips + "/0.mp4", "x");
        WriteFile(Clips + "/1.mp4", "x");
        std::filesystem::remove(Clips + "/a.mp4");
        Press(0x74);  // F5
        selected = AForm->FileListView->GetSelectedFile();
        focused = FocusedName(AForm);
        PressEnter();
    }));
    EXPECT_EQ(selected, Clips + "/b.mp4");
    EXPECT_EQ(focused, "b.mp4");
    EXPECT_EQ(Lines(Dialog->Files()), (std::vector<std::string>{Clips + "/b.mp4"}));
}

TEST_F(OpenDialogChoice, TheRememberedFileTypeIsChosenAgainOnTheNextRun)
{
    Dialog->Filter = "All files|*.*|Videos|*.mp4|Text|*.txt";
    Run([&](TspOpenDlgForm* AForm) {
        AForm->FilterComboBox->SetItemIndex(2);
        Pump();
        ClickOn(AForm->CancelButton);
    });
    ASSERT_EQ(Dialog->FilterIndex, 3);
    Integer index = -1;
    std::string text;
    std::vector<std::string> shown;
    Run([&](TspOpenDlgForm* AForm) {
        index = AForm->FilterComboBox->ItemIndex();
        text = AForm->FilterComboBox->Text();
        shown = Shown(AForm);
        ClickOn(AForm->CancelButton);
    });
    EXPECT_EQ(index, 2);
    EXPECT_EQ(text, "Text");
    EXPECT_EQ(shown, (std::vector<std::string>{"notes.txt"}));
    EXPECT_EQ(Dialog->FilterIndex, 3);
}

TEST_F(OpenDialogChoice, EscWhileANameIsEditedEndsTheEditOnly)
{
    bool newFolderEdited = false, renameEdited = false, openAfterNewFolder = false, openAfterRename = false;
    EXPECT_FALSE(Run([&](TspOpenDlgForm* AForm) {
        ClickOn(AForm->NewFolderToolButton);
        newFolderEdited = AForm->FileListView->IsEditing();
        Press(win::VK_ESCAPE);
        openAfterNewFolder = !AForm->FileListView->IsEditing() && AForm->ModalResult() == mrNone;
        ClickItem(AForm, "a.mp4");
        AForm->FileListView->RunItemVerb("rename");  // what the item menu's Rename runs
        renameEdited = AForm->FileListView->IsEditing();
        Type("zz");
        Press(win::VK_ESCAPE);
        openAfterRename = !AForm->FileListView->IsEditing() && AForm->ModalResult() == mrNone;
        Press(win::VK_ESCAPE);  // now the dialog's Cancel
    }));
    EXPECT_TRUE(newFolderEdited);
    EXPECT_TRUE(openAfterNewFolder);
    EXPECT_TRUE(renameEdited);
    EXPECT_TRUE(openAfterRename);
    EXPECT_TRUE(std::filesystem::exists(Clips + "/a.mp4"));
}

TEST_F(OpenDialogChoice, TypedFoldersResolveAgainstTheShownFolder)
{
    std::filesystem::create_directories(Videos + "/New Folder");
    Dialog->InitialDir = Videos;
    struct TStep {
        const char* Typed;
        std::string Expected;
    } steps[] = {
        {"2024/", Videos + "/2024"},
        {"holiday/clips/", Clips},
        {"../", Videos + "/2024/holiday"},
        {"~", Home},
        {"~/Videos", Videos},
        {"New Folder/", Videos + "/New Folder"},
        {"/", "/"},
        {"~/Videos/", Videos},
    };
    std::vector<std::string> shown;
    Run([&](TspOpenDlgForm* AForm) {
        for (const TStep& step : steps) {
            TypeName(AForm, step.Typed);
            PressEnter();
            shown.push_back(AForm->FileListView->Path());
        }
        AnswerMessages();
        TypeName(AForm, "missing/");
        PressEnter();
        shown.push_back(AForm->FileListView->Path());
        ClickOn(AForm->CancelButton);
    });
    ASSERT_EQ(shown.size(), std::size(steps) + 1);
    for (size_t i = 0; i < std::size(steps); ++i) EXPECT_EQ(shown[i], steps[i].Expected) << steps[i].Typed;
    EXPECT_EQ(shown.back(), Videos);  // a folder that is not there leaves the list where it was, and says so
    EXPECT_EQ(Messages, (std::vector<std::string>{"Cannot open the folder \"" + Videos +
                                                  "/missing\": No such file or directory."}));
}

TEST_F(OpenDialogChoice, TheNameBoxFollowsARenameAndShowsWholeUnicodeNames)
{
    const std::string unicode = "Überprüfung ñ 日本語.mp4";
    WriteFile(Clips + "/" + unicode, "x");
    WriteFile(Clips + "/" + "a much longer name than the list's usual column holds.mp4", "x");
    std::string afterRename, afterClick;
    bool listShowsWholeNames = false;
    EXPECT_TRUE(Run([&](TspOpenDlgForm* AForm) {
        // The list's columns take the longest name, the name box the whole name.
        TBitmap measure(1, 1, pf24bit);
        measure.Canvas()->SetFont(AForm->FileListView->Font());
        listShowsWholeNames = true;
        for (const std::string& name : Shown(AForm))
            listShowsWholeNames = listShowsWholeNames && AForm->FileListView->ItemRect(IndexOf(AForm, name)).Width() >=
                                                            measure.Canvas()->TextWidth(name) + 20;
        ClickItem(AForm, unicode);
        afterClick = AForm->FileNameEdit->Text();
        ClickItem(AForm, "a.mp4");
        AForm->FileListView->RunItemVerb("rename");
        AForm->FileListView->LabelEdit().Editor()->SetText("renamed.mp4");
        PressEnter();
        afterRename = AForm->FileNameEdit->Text();
        ClickOn(AForm->OpenButton);
    }));
    EXPECT_TRUE(listShowsWholeNames);
    EXPECT_EQ(afterClick, unicode);
    EXPECT_EQ(afterRename, "renamed.mp4");
    EXPECT_EQ(Dialog->FileName(), Clips + "/renamed.mp4");
}

TEST_F(OpenDialogChoice, StaleNamesRefusedRenamesAndUnreadableFoldersAreTold)
{
    std::filesystem::create_directories(Clips + "/sub");
    bool stayedOpen = false;
    EXPECT_FALSE(Run([&](TspOpenDlgForm* AForm) {
        AnswerMessages();
        ClickItem(AForm, "b.mp4");
        std::filesystem::remove(Clips + "/b.mp4");  // deleted by another program meanwhile
        ClickOn(AForm->OpenButton);
        stayedOpen = AForm->ModalResult() == mrNone;
        TypeName(AForm, "missing.mp4");
        PressEnter();
        // A rename onto a name taken: the system's reason, and the file keeps its name.
        ClickItem(AForm, "a.mp4");
        AForm->FileListView->RunItemVerb("rename");
        AForm->FileListView->LabelEdit().Editor()->SetText("notes.txt");
        PressEnter();
        // A folder gone since the list was read.
        std::filesystem::remove(Clips + "/sub");
        const Integer sub = IndexOf(AForm, "sub");
        const TRect r = AForm->FileListView->ItemRect(sub);
        Clock.Advance(1000000);
        const TPoint at = AForm->FileListView->ClientToScreen({r.Left + 8, (r.Top + r.Bottom) / 2});
        Display.Click(at);
        Display.Click(at);
        Pump();
        // Told once the double click is handled.
        for (int i = 0; i < 1000 && Messages.size() < 4; ++i) {
            CheckSynchronize(0);
            Pump();
        }
        ClickOn(AForm->CancelButton);
    }));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Messages, (std::vector<std::string>{
                            "Cannot open \"b.mp4\": No such file or directory.",
                            "Cannot open \"missing.mp4\": No such file or directory.",
                            "Rename to notes.txt failed: File exists",
                            "Cannot read the folder \"" + Clips + "/sub\": No such file or directory.",
                        }));
    EXPECT_TRUE(std::filesystem::exists(Clips + "/a.mp4"));
}

}  // namespace
}  // namespace opendialogstest
