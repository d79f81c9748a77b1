#pragma once
// The open-file dialog over the fixture tree: a clips folder with two videos and a text file, and helpers that
// find, click and type as a user would.
#include <string>
#include <vector>

#include "platform/rtl/strings.h"
#include "skin/controls/skin_edit.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/shell_list_view.h"
#include "tests/skin/dialogs/open_dialogs/open_dialogs_fixture.h"

namespace opendialogstest {

class OpenDialogSession : public TDialogFixture {
protected:
    void SetUp() override
    {
        TDialogFixture::SetUp();
        Clips = Videos + "/2024/holiday/clips";
        for (const char* name : {"a.mp4", "b.mp4", "notes.txt"}) WriteFile(Clips + "/" + name, "x");
        Dialog = new TspSkinOpenDialog(App.get());
        Dialog->InitialDir = Clips;
    }

    bool Run(const std::function<void(TspOpenDlgForm*)>& AScript)
    {
        return Session<TspOpenDlgForm>(AScript, [&] { return Dialog->Execute(); });
    }
    // The list index of the item shown as AName; -1 when the list does not show it.
    static Integer IndexOf(TspOpenDlgForm* AForm, const std::string& AName)
    {
        for (Integer i = 0; i < AForm->FileListView->FolderCount(); ++i)
            if (AForm->FileListView->FolderAt(i)->DisplayName() == AName) return i;
        return -1;
    }
    static std::vector<std::string> Shown(TspOpenDlgForm* AForm)
    {
        std::vector<std::string> names;
        for (Integer i = 0; i < AForm->FileListView->FolderCount(); ++i)
            names.push_back(AForm->FileListView->FolderAt(i)->DisplayName());
        return names;
    }
    void ClickItem(TspOpenDlgForm* AForm, const std::string& AName)
    {
        const Integer index = IndexOf(AForm, AName);
        ASSERT_GE(index, 0) << AName;
        const TRect r = AForm->FileListView->ItemRect(index);
        ClickOn(AForm->FileListView, {r.Left + 8, (r.Top + r.Bottom) / 2});
    }
    void TypeName(TspOpenDlgForm* AForm, const std::string& AText)
    {
        AForm->FileNameEdit->SetFocus();
        AForm->FileNameEdit->SetText("");
        Type(AText);
    }
    static std::vector<std::string> Lines(TStrings* AList)
    {
        std::vector<std::string> lines;
        for (Integer i = 0; i < AList->Count(); ++i) lines.push_back(AList->Strings(i));
        return lines;
    }

    std::string Clips;
    TspSkinOpenDialog* Dialog = nullptr;
};

}  // namespace opendialogstest
