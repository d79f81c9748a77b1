#include "skin/dialogs/select_folder_dialog.h"

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "skin/controls/bevel.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/speed_button.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/dialog_resources.h"
#include "skin/dialogs/path_helpers.h"
#include "skin/dialogs/shell_tree_view.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr char32_t kEnter = 13;

TspSkinButton* NewButton(TComponent* AOwner, TWinControl* AParent, const std::string& ACaption, Integer ALeft)
{
    auto* button = new TspSkinButton(AOwner);
    button->SetParent(AParent);
    button->SetCaption(ACaption);
    button->SetCanFocused(true);
    button->SetBounds(ALeft, 15, 70, 25);
    button->SetDefaultHeight(25);
    return button;
}

}  // namespace

TspSelDirDlgForm::TspSelDirDlgForm(TComponent* AOwner, TspSkinData* ACtrlSkinData, bool AShowToolBar,
                                   bool AToolButtonsTransparent)
    : TForm(AOwner), CtrlSD(ACtrlSkinData), ShowToolBar(AShowToolBar)
{
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    CVL = new TspCorvalis(this);

    if (AShowToolBar) {
        ToolPanel = new TspSkinPanel(this);
        ToolPanel->SetParent(this);
        ToolPanel->SetAlign(alTop);
        ToolPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
        ToolPanel->SetDefaultHeight(25);
        ToolPanel->SetSkinDataName("toolpanel");
        NewFolderToolButton = new TspSkinSpeedButton(this);
        NewFolderToolButton->SetParent(ToolPanel);
        NewFolderToolButton->SetLeft(Width());
        NewFolderToolButton->SetAlign(alRight);
        NewFolderToolButton->SetDefaultHeight(25);
        NewFolderToolButton->SetDefaultWidth(27);
        NewFolderToolButton->SetSkinDataName("toolbutton");
        std::unique_ptr<TBitmap> glyph = MakeDialogGlyph(TDialogGlyph::NewFolder);
        NewFolderToolButton->SetGlyph(glyph.get());
        NewFolderToolButton->SetHint(Text("MSG_BTN_NEWFOLDER_HINT"));
        NewFolderToolButton->SetShowHint(true);
        NewFolderToolButton->OnClick = [this](TObject* S) { NewFolderToolButtonClick(S); };
        NewFolderToolButton->SetFlat(AToolButtonsTransparent);
        auto* spacer = new TspSkinBevel(this);
        spacer->SetParent(ToolPanel);
        spacer->SetLeft(0);
        spacer->SetAlign(alRight);
        spacer->SetWidth(5);
        spacer->SetShape(bsSpacer);
        DirEdit = new TspSkinEdit(this);
        DirEdit->SetParent(ToolPanel);
        DirEdit->SetAlign(alClient);
        DirEdit->SetDefaultHeight(25);
        DirEdit->SetSkinDataName("tooledit");
        DirEdit->OnKeyPress = [this](TObject* S, char32_t& K) { DirEditKeyPress(S, K); };
    }

    DirTreeViewPanel = new TspSkinPanel(this);
    DirTreeViewPanel->SetParent(this);
    DirTreeViewPanel->SetAlign(alClient);
    DirTreeViewPanel->SetBorderStyle(TspSkinBorderStyle::bvFrame);
    DirTreeViewPanel->SetHeight(200);
    VScrollBar = new TspSkinScrollBar(this);
    VScrollBar->SetParent(DirTreeViewPanel);
    VScrollBar->SetKind(sbVertical);
    VScrollBar->SetAlign(alRight);
    VScrollBar->SetDefaultWidth(19);
    VScrollBar->SetEnabled(false);
    VScrollBar->SetSkinDataName("vscrollbar");
    HScrollBar = new TspSkinScrollBar(this);
    HScrollBar->SetParent(DirTreeViewPanel);
    HScrollBar->SetAlign(alBottom);
    HScrollBar->SetDefaultHeight(19);
    HScrollBar->SetEnabled(false);
    HScrollBar->SetBothMarkerWidth(19);
    HScrollBar->SetSkinDataName("hscrollbar");
    DirTreeView = new TspSkinDirTreeView(this);
    DirTreeView->SetParent(DirTreeViewPanel);
    DirTreeView->SetAlign(alClient);
    DirTreeView->SetHScrollBar(HScrollBar);
    DirTreeView->SetVScrollBar(VScrollBar);
    TShellObjectTypes types = DirTreeView->ObjectTypes();
    types.Include(otHidden);
    DirTreeView->SetObjectTypes(types);
    DirTreeView->OnChange = [this](TObject* S, TTreeNode* N) { DirTreeViewChange(S, N); };
    // A rename the system refuses is told in the dialog's own message box; the node keeps its name.
    DirTreeView->TCustomTreeView::OnEdited = [this, rename = DirTreeView->TCustomTreeView::OnEdited](
                                                 TObject* S, TTreeNode* N, std::string& T) {
        try {
            rename(S, N, T);
        } catch (const Exception& e) {
            ShowError(e.Message());
        }
    };

    BottomPanel = new TspSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(50);
    OkButton = NewButton(this, BottomPanel, Text("MSG_BTN_OK"), 20);
    OkButton->SetDefault(true);
    // No modal result of its own: only a folder with a path may close the dialog accepted.
    OkButton->OnClick = [this](TObject* S) { OkButtonClick(S); };
    CancelButton = NewButton(this, BottomPanel, Text("MSG_BTN_CANCEL"), 100);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
}

std::string TspSelDirDlgForm::Text(const char* AKey) const { return DialogText(CtrlSD, AKey); }

void TspSelDirDlgForm::DirEditKeyPress(TObject* /*Sender*/, char32_t& Key)
{
    if (Key != kEnter) return;
    Key = 0;
    const std::string text = DirEdit->Text();
    if (text.empty()) return;
    // A folder typed relative to the one selected, or to the home folder with "~".
    const std::string folder = ResolveTypedFolder(text, DirTreeView->Path());
    if (const std::string problem = FolderProblem(folder); !problem.empty()) {
        ShowError(Format("Cannot open the folder \"%s\": %s.", {folder, problem}));
        return;
    }
    try {
        DirTreeView->SetPath(folder);
    } catch (const Exception& e) {
        ShowError(e.Message());
    }
}

void TspSelDirDlgForm::ShowError(const std::string& AText) { ShowDialogError(CVL->SkinData(), CtrlSD, AText); }

void TspSelDirDlgForm::DirTreeViewChange(TObject* /*Sender*/, TTreeNode* /*Node*/)
{
    if (ShowToolBar && DirEdit) DirEdit->SetText(DirTreeView->Path());
}

void TspSelDirDlgForm::NewFolderToolButtonClick(TObject* /*Sender*/)
{
    TspShellFolder* selected = DirTreeView->SelectedFolder();
    if (!selected) return;
    std::string folder = selected->FullObjectName();
    if (folder.empty()) return;  // nothing can be made inside a virtual folder
    if (folder.back() != '/') folder += '/';
    const std::string path = folder + Text("MSG_NEWFOLDER");
    if (FolderExists(path)) return;
    try {
        MakeDialogFolder(path);
    } catch (const Exception& e) {
        ShowError(e.Message());
        return;
    }
    DirTreeView->RefreshSelectedNode();
}

void TspSelDirDlgForm::OkButtonClick(TObject* /*Sender*/)
{
    TspShellFolder* selected = DirTreeView->SelectedFolder();
    if (!selected) return;
    if (!selected->FullObjectName().empty()) {
        SetModalResult(mrOk);
        return;
    }
    // "Computer", "Home" as a place of its own: no folder on disk to give back.
    ShowError(Format("\"%s\" is not a folder on disk. Choose a folder inside it.", {selected->DisplayName()}));
}

TspSkinSelectDirectoryDialog::TspSkinSelectDirectoryDialog(TComponent* AOwner)
    : TspSkinFileDialogBase(AOwner, "Select folder", 200)
{
}

bool TspSkinSelectDirectoryDialog::Execute()
{
    if (OnShow) OnShow(this);
    FDlgFrm = new TspSelDirDlgForm(Application, FCtrlFSD, ShowToolBar, ToolButtonsTransparent);
    struct TEnd {
        TspSkinSelectDirectoryDialog* Self;
        ~TEnd()
        {
            if (Self->OnClose) Self->OnClose(Self);
            delete Self->FDlgFrm;
            Self->FDlgFrm = nullptr;
        }
    } end{this};
    TspSelDirDlgForm* form = FDlgFrm;
    ApplyFrame(form, form->CVL);

    // The tree fills its nodes once there are windows.
    form->HandleNeeded();
    form->DirTreeViewPanel->SetSkinData(FCtrlFSD);
    form->DirTreeView->SetDefaultFont(FDefaultFont.get());
    form->DirTreeView->SetSkinData(FCtrlFSD);
    if (!Directory.empty() && FolderExists(Directory)) form->DirTreeView->SetPath(Directory);
    else form->DirTreeView->ExpandMyComputer();
    for (auto* control : {static_cast<TspSkinCustomControl*>(form->VScrollBar),
                          static_cast<TspSkinCustomControl*>(form->HScrollBar),
                          static_cast<TspSkinCustomControl*>(form->OkButton),
                          static_cast<TspSkinCustomControl*>(form->CancelButton),
                          static_cast<TspSkinCustomControl*>(form->BottomPanel)})
        control->SetSkinData(FCtrlFSD);
    form->OkButton->SetDefaultFont(FDefaultFont.get());
    form->CancelButton->SetDefaultFont(FDefaultFont.get());

    SizeForm(form, form->CVL, 280, 280);

    const bool accepted = form->ShowModal() == mrOk;
    KeepSize(form);
    if (!accepted) return false;
    Directory = form->DirTreeView->SelectedFolder()->FullObjectName();
    if (OnChange) OnChange(this);
    return true;
}
