#include "skin/dialogs/open_dialog.h"


#include "platform/gui/application.h"
#include "platform/rtl/environment.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/std_label.h"
#include "skin/controls/tool_bar.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/panel.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/path_helpers.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/forms/skin_form.h"

namespace {

std::string FolderPart(const std::string& APath)
{
    const size_t slash = APath.rfind('/');
    return slash == std::string::npos ? std::string() : APath.substr(0, slash + 1);
}

std::string NamePart(const std::string& APath)
{
    const size_t slash = APath.rfind('/');
    return slash == std::string::npos ? APath : APath.substr(slash + 1);
}

// Where the extension of a path's last component starts, npos without one (a leading dot is no extension).
size_t ExtensionStart(const std::string& AName)
{
    const size_t nameStart = AName.rfind('/') == std::string::npos ? 0 : AName.rfind('/') + 1;
    const size_t dot = AName.rfind('.');
    return dot == std::string::npos || dot <= nameStart ? std::string::npos : dot;
}

}  // namespace

std::string MaskExtension(const std::string& AMask)
{
    if (AMask.find(".*") != std::string::npos) return {};
    std::string first = AMask.substr(0, AMask.find(';'));
    while (!first.empty() && first.back() == ' ') first.pop_back();
    const size_t dot = ExtensionStart(first);
    return dot == std::string::npos ? std::string() : first.substr(dot);
}

bool NameHasExtension(const std::string& AName) { return ExtensionStart(AName) != std::string::npos; }

std::string ReplaceNameExtension(const std::string& AText, const std::string& AExtension)
{
    const size_t dot = ExtensionStart(AText);
    return (dot == std::string::npos ? AText : AText.substr(0, dot)) + AExtension;
}

TspSkinOpenDialog::TspSkinOpenDialog(TComponent* AOwner)
    : TspSkinFileDialogBase(AOwner, "Open file", 225), FFiles(std::make_unique<TStringList>())
{
}

TspSkinOpenDialog::~TspSkinOpenDialog() = default;

void TspSkinOpenDialog::SetFileName(const std::string& AValue)
{
    FFileName = AValue;
    if (FDlgFrm) FDlgFrm->FileNameEdit->SetText(AValue);
}

std::string TspSkinOpenDialog::GetSelectedFile()
{
    return FDlgFrm ? FDlgFrm->FileListView->GetSelectedFile() : std::string();
}

std::string TspSkinOpenDialog::StartFolder() const
{
    // A remembered folder may have gone since (a removed stick): then the dialog starts as if there were none.
    if (const std::string folder = FolderPart(FFileName); !folder.empty() && FolderExists(folder)) return folder;
    if (!InitialDir.empty() && FolderExists(InitialDir)) return InitialDir;
    return GetExecutableFolder();
}

void TspSkinOpenDialog::CopyResults(bool AAccepted)
{
    TspOpenDlgForm* form = FDlgFrm;
    FilterIndex = form->FilterComboBox->ItemIndex() + 1;
    KeepSize(form);
    ListViewStyle = form->FileListView->ViewStyle();
    if (!AAccepted) return;
    FFileName = form->FileName;
    form->FileListView->GetSelectedFiles(FFiles.get());
    // A typed name is chosen too: the caller adds what Files holds.
    if (FFiles->IndexOf(FFileName) < 0) {
        FFiles->Clear();
        FFiles->Add(FFileName);
    }
    if (SaveMode) {
        const std::string mask = form->FilterComboBox->GetMask();
        if (!NameHasExtension(FFileName)) FFileName += MaskExtension(mask);
        if (!NameHasExtension(FFileName) && !DefaultExt.empty()) FFileName += "." + DefaultExt;
        FFiles->Clear();
        FFiles->Add(FFileName);
    }
}

bool TspSkinOpenDialog::Execute()
{
    if (OnShow) OnShow(this);
    FDlgFrm = new TspOpenDlgForm(Application, SaveMode, FCtrlFSD, ToolButtonsTransparent);
    struct TEnd {
        TspSkinOpenDialog* Self;
        ~TEnd()
        {
            if (Self->OnClose) Self->OnClose(Self);
            delete Self->FDlgFrm;
            Self->FDlgFrm = nullptr;
        }
    } end{this};
    TspOpenDlgForm* form = FDlgFrm;
    form->OnFolderChange = OnFolderChange;
    form->CheckFileExists = CheckFileExists;
    form->OverwritePromt = OverwritePromt;
    form->DefaultExt = DefaultExt;

    ApplyFrame(form, form->CVL);
    for (TspSkinCustomComboBox* box : {static_cast<TspSkinCustomComboBox*>(form->ShellBox),
                                       static_cast<TspSkinCustomComboBox*>(form->FilterComboBox)}) {
        box->SetListBoxAlphaBlend(CtrlAlphaBlend);
        box->SetListBoxAlphaBlendValue(CtrlAlphaBlendValue);
        box->SetListBoxAlphaBlendAnimation(CtrlAlphaBlendAnimation);
    }
    form->OpenButton->SetDefaultFont(FDefaultFont.get());
    form->CancelButton->SetDefaultFont(FDefaultFont.get());
    form->ShellBox->SetDefaultFont(FDefaultFont.get());
    form->FileListView->SetDefaultFont(FDefaultFont.get());

    form->CheckViewItem(ListViewStyle);
    form->FileListView->SetViewStyle(ListViewStyle);
    form->FileListView->SetRoot(StartFolder());
    form->FileListView->SetMask(form->FilterComboBox->Text());
    form->FileListView->SetHeaderSkinDataName(LVHeaderSkinDataName);
    form->FileListView->SetSkinData(FCtrlFSD);
    form->FileListView->SetMultiSelect(MultiSelection);
    if (ShowHiddenFiles) {
        TShellObjectTypes types = form->FileListView->ObjectTypes();
        types.Include(otHidden);
        form->FileListView->SetObjectTypes(types);
    }
    // The box gets its entries with its window; the remembered file type is chosen among them.
    form->FilterComboBox->HandleNeeded();
    form->FilterComboBox->SetFilter(Filter);
    form->FilterComboBox->SetItemIndex(FilterIndex - 1);

    TspSkinData* ctrl = FCtrlFSD;
    form->FileListViewPanel->SetSkinData(ctrl);
    form->BottomPanel->SetSkinData(ctrl);
    form->ToolPanel->SetSkinData(ctrl);
    form->Drivelabel->SetSkinData(ctrl);
    form->BackToolButton->SetSkinData(ctrl);
    form->UpToolButton->SetSkinData(ctrl);
    form->NewFolderToolButton->SetSkinData(ctrl);
    form->StyleToolButton->SetSkinData(ctrl);
    form->FLVHScrollBar->SetSkinData(ctrl);
    form->FLVVScrollBar->SetSkinData(ctrl);
    form->FileNameEdit->SetSkinData(ctrl);
    form->FilterComboBox->SetSkinData(ctrl);
    form->OpenButton->SetSkinData(ctrl);
    form->CancelButton->SetSkinData(ctrl);
    form->OpenFileLabel->SetSkinData(ctrl);
    form->FileTypeLabel->SetSkinData(ctrl);
    form->ShellBox->SetSkinDataName("combobox");
    form->ShellBox->SetSkinData(ctrl);

    SizeForm(form, form->CVL, 450, 290);

    if (form->FileListView->Items()->Count() > 0) form->FileListView->SetItemFocused(0);
    form->FileNameEdit->SetText(NamePart(FFileName));
    form->InitHistory();

    const bool accepted = form->ShowModal() == mrOk;
    CopyResults(accepted);
    if (accepted && OnChange) OnChange(this);
    return accepted;
}
