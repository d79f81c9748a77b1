#include "skin/dialogs/open_dialog_form.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/menus.h"
#include "platform/rtl/main_thread_queue.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
#include "skin/controls/bevel.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/std_label.h"
#include "skin/controls/tool_bar.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/dialog_resources.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/message_box.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/path_helpers.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/forms/popup_menu.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr char32_t kEnter = 13;

bool FileExistsHere(const std::string& AName)
{
    struct stat st {};
    return !AName.empty() && ::stat(AName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Why AName is no file to open, in the system's words; empty when it is one.
std::string FileProblem(const std::string& AName)
{
    struct stat st {};
    if (::stat(AName.c_str(), &st) != 0) return std::strerror(errno);
    if (S_ISDIR(st.st_mode)) return std::strerror(EISDIR);
    return {};
}

std::string LastComponent(const std::string& APath)
{
    const size_t slash = APath.rfind('/');
    return slash == std::string::npos ? APath : APath.substr(slash + 1);
}

TspSkinSpeedButton* NewToolButton(TspOpenDlgForm* AForm, TWinControl* AParent, TDialogGlyph AGlyph,
                                  const char* AHintKey, bool AFlat, TNotifyEvent AOnClick)
{
    auto* button = new TspSkinSpeedButton(AForm);
    button->SetParent(AParent);
    button->SetLeft(AForm->Width());
    button->SetAlign(alRight);
    button->SetDefaultHeight(25);
    button->SetDefaultWidth(27);
    button->SetSkinDataName("toolbutton");
    std::unique_ptr<TBitmap> glyph = MakeDialogGlyph(AGlyph);
    button->SetGlyph(glyph.get());
    button->SetHint(AForm->Text(AHintKey));
    button->SetShowHint(true);
    button->SetFlat(AFlat);
    button->OnClick = std::move(AOnClick);
    return button;
}

TspSkinBevel* NewSpacer(TComponent* AOwner, TWinControl* AParent, Integer ALeft, TAlign AAlign, Integer AWidth)
{
    auto* spacer = new TspSkinBevel(AOwner);
    spacer->SetParent(AParent);
    spacer->SetLeft(ALeft);
    spacer->SetAlign(AAlign);
    spacer->SetWidth(AWidth);
    spacer->SetShape(bsSpacer);
    return spacer;
}

TspSkinStdLabel* NewLabel(TComponent* AOwner, TWinControl* AParent, const std::string& ACaption, Integer ALeft,
                          Integer ATop)
{
    auto* label = new TspSkinStdLabel(AOwner);
    label->SetParent(AParent);
    label->SetAutoSize(true);
    label->SetLeft(ALeft);
    label->SetTop(ATop);
    label->SetCaption(ACaption);
    return label;
}

TspSkinButton* NewButton(TComponent* AOwner, TWinControl* AParent, const std::string& ACaption, Integer ALeft,
                         Integer ATop)
{
    auto* button = new TspSkinButton(AOwner);
    button->SetParent(AParent);
    button->SetCaption(ACaption);
    button->SetCanFocused(true);
    button->SetBounds(ALeft, ATop, 70, 25);
    button->SetDefaultHeight(25);
    button->SetAnchors({akTop, akRight});
    return button;
}

}  // namespace

TspOpenDlgForm::TspOpenDlgForm(TComponent* AOwner, bool ASaveMode, TspSkinData* ACtrlSkinData,
                               bool AToolButtonsTransparent)
    : TForm(AOwner), SaveMode(ASaveMode), CtrlSD(ACtrlSkinData)
{
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    CVL = new TspCorvalis(this);

    ToolPanel = new TspSkinToolBar(this);
    ToolPanel->SetParent(this);
    ToolPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
    ToolPanel->SetAlign(alTop);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetSkinDataName("toolpanel");
    NewSpacer(this, ToolPanel, 0, alLeft, 10);
    Drivelabel = new TspSkinStdLabel(this);
    Drivelabel->SetParent(ToolPanel);
    Drivelabel->SetLeft(0);
    Drivelabel->SetAutoSize(true);
    Drivelabel->SetAlign(alLeft);
    Drivelabel->SetLayout(tlCenter);
    Drivelabel->SetCaption(Text("FLV_LOOKIN"));
    BackToolButton = NewToolButton(this, ToolPanel, TDialogGlyph::Back, "MSG_BTN_BACK_HINT", AToolButtonsTransparent,
                                   [this](TObject* S) { BackToolButtonClick(S); });
    UpToolButton = NewToolButton(this, ToolPanel, TDialogGlyph::Up, "MSG_BTN_UP_HINT", AToolButtonsTransparent,
                                 [this](TObject* S) { UpToolButtonClick(S); });
    NewFolderToolButton = NewToolButton(this, ToolPanel, TDialogGlyph::NewFolder, "MSG_BTN_NEWFOLDER_HINT",
                                        AToolButtonsTransparent, [this](TObject* S) { NewFolderToolButtonClick(S); });
    NewSpacer(this, ToolPanel, Width(), alRight, 10);

    StylePopupMenu = new TspSkinPopupMenu(this);
    auto addItem = [this](const char* AKey, TViewStyle AStyle) {
        auto* item = new TMenuItem(this);
        item->SetCaption(Text(AKey));
        item->SetRadioItem(true);
        item->OnClick = [this, item, AStyle](TObject*) { ViewItemClick(item, AStyle); };
        StylePopupMenu->Items()->Add(item);
        return item;
    };
    IconMenuItem = addItem("MSG_LV_ICON", vsIcon);
    SmallIconMenuItem = addItem("MSG_LV_SMALLICON", vsSmallIcon);
    ListMenuItem = addItem("MSG_LV_LIST", vsList);
    ReportMenuItem = addItem("MSG_LV_DETAILS", vsReport);

    StyleToolButton = new TspSkinMenuSpeedButton(this);
    StyleToolButton->SetParent(ToolPanel);
    StyleToolButton->SetLeft(Width());
    StyleToolButton->SetDefaultWidth(37);
    StyleToolButton->SetSkinDataName("toolmenubutton");
    StyleToolButton->SetAlign(alRight);
    std::unique_ptr<TBitmap> glyph = MakeDialogGlyph(TDialogGlyph::ViewStyle);
    StyleToolButton->SetGlyph(glyph.get());
    StyleToolButton->SetSkinPopupMenu(StylePopupMenu);
    StyleToolButton->SetHint(Text("MSG_BTN_VIEWMENU_HINT"));
    StyleToolButton->SetShowHint(true);
    StyleToolButton->SetFlat(AToolButtonsTransparent);

    ShellBox = new TspSkinShellComboBox(this);
    ShellBox->SetParent(ToolPanel);
    ShellBox->SetLeft(0);
    ShellBox->SetWidth(190);
    ShellBox->SetAlign(alClient);
    ShellBox->SetDropDownCount(10);

    BottomPanel = new TspSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(80);

    FileListViewPanel = new TspSkinPanel(this);
    FileListViewPanel->SetParent(this);
    FileListViewPanel->SetAlign(alClient);
    FileListViewPanel->SetBorderStyle(TspSkinBorderStyle::bvFrame);
    FLVHScrollBar = new TspSkinScrollBar(this);
    FLVHScrollBar->SetParent(FileListViewPanel);
    FLVHScrollBar->SetBothMarkerWidth(19);
    FLVHScrollBar->SetAlign(alBottom);
    FLVHScrollBar->SetDefaultHeight(19);
    FLVHScrollBar->SetEnabled(false);
    FLVHScrollBar->SetSkinDataName("hscrollbar");
    FLVVScrollBar = new TspSkinScrollBar(this);
    FLVVScrollBar->SetParent(FileListViewPanel);
    FLVVScrollBar->SetKind(sbVertical);
    FLVVScrollBar->SetAlign(alRight);
    FLVVScrollBar->SetDefaultWidth(19);
    FLVVScrollBar->SetEnabled(false);
    FLVVScrollBar->SetSkinDataName("vscrollbar");
    FileListView = new TspSkinFileListView(this);
    FileListView->SetParent(FileListViewPanel);
    FileListView->SetViewStyle(vsList);
    FileListView->SetShowColumnHeaders(true);
    FileListView->SetAlign(alClient);
    FileListView->SetHScrollBar(FLVHScrollBar);
    FileListView->SetVScrollBar(FLVVScrollBar);
    FileListView->SetShellComboBox(ShellBox);
    ShellBox->SetShellListView(FileListView);
    FileListView->OnChange = [this](TObject* S) { FLVChange(S); };
    FileListView->OnPathChanged = [this](TObject* S) { FLVPathChange(S); };
    FileListView->OnDblClick = [this](TObject* S) { FLVDBLClick(S); };
    FileListView->OnKeyPress = [this](TObject* S, char32_t& K) { FLVKeyPress(S, K); };
    // A rename the system refuses is told in the dialog's own message box; the item keeps its name.
    FileListView->TCustomListView::OnEdited = [this, rename = FileListView->TCustomListView::OnEdited](
                                                  TObject* S, TListItem* I, std::string& T) {
        try {
            rename(S, I, T);
        } catch (const Exception& e) {
            ShowError(e.Message());
        }
    };

    const Integer w = ClientWidth();
    FileNameEdit = new TspSkinEdit(this);
    FileNameEdit->SetParent(BottomPanel);
    FileNameEdit->SetBounds(70, 10, w - 160, 21);
    FileNameEdit->SetDefaultHeight(21);
    FileNameEdit->SetAnchors({akLeft, akTop, akRight});
    FileNameEdit->OnKeyPress = [this](TObject* S, char32_t& K) { EditKeyPress(S, K); };
    FilterComboBox = new TspSkinFilterComboBox(this);
    FilterComboBox->SetParent(BottomPanel);
    FilterComboBox->SetBounds(70, 45, w - 160, 21);
    FilterComboBox->SetDefaultHeight(21);
    FilterComboBox->SetAnchors({akLeft, akTop, akRight});
    FilterComboBox->OnChange = [this](TObject* S) { FCBChange(S); };
    OpenButton = NewButton(this, BottomPanel, Text(SaveMode ? "MSG_BTN_SAVE" : "MSG_BTN_OPEN"), w - 80, 10);
    OpenButton->OnClick = [this](TObject* S) { OpenButtonClick(S); };
    CancelButton = NewButton(this, BottomPanel, Text("MSG_BTN_CANCEL"), w - 80, 45);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    OpenFileLabel = NewLabel(this, BottomPanel, Text("MSG_FILENAME"), 10, 10);
    FileTypeLabel = NewLabel(this, BottomPanel, Text("MSG_FILETYPE"), 10, 45);

    // A control can take the focus only once the form shows.
    OnShow = [this](TObject*) { SetActiveControl(FileNameEdit); };
}

TspOpenDlgForm::~TspOpenDlgForm() { RemoveQueuedEvents(this); }

std::string TspOpenDlgForm::Text(const char* AKey) const
{
    return DialogText(CtrlSD, AKey);
}

std::string TspOpenDlgForm::FilterExtension() { return MaskExtension(FilterComboBox->GetMask()); }

std::string TspOpenDlgForm::DefaultExtension()
{
    if (!DefaultExt.empty()) return "." + DefaultExt;
    return FilterExtension();
}

bool TspOpenDlgForm::MayOverwrite(const std::string& AFullName)
{
    if (!OverwritePromt || !FileExistsHere(AFullName)) return true;
    TspSkinMessage question(nullptr);
    question.SetSkinData(CVL->SkinData());
    question.SetCtrlSkinData(CtrlSD);
    return question.MessageDlg(Text("MSG_OVERWRITE"), mtWarning, {mbOK, mbCancel}, 0) == mrOk;
}

void TspOpenDlgForm::ShowError(const std::string& AText) { ShowDialogError(CVL->SkinData(), CtrlSD, AText); }

bool TspOpenDlgForm::ChosenFilesExist(const std::string& AChosen)
{
    TStringList files;
    FileListView->GetSelectedFiles(&files);
    if (files.IndexOf(AChosen) < 0) {
        files.Clear();
        files.Add(AChosen);
    }
    for (Integer i = 0; i < files.Count(); ++i) {
        // Deleted or renamed since the list was read: the name shown is stale.
        if (const std::string problem = FileProblem(files.Strings(i)); !problem.empty()) {
            ShowError(Format("Cannot open \"%s\": %s.", {LastComponent(files.Strings(i)), problem}));
            return false;
        }
    }
    return true;
}

void TspOpenDlgForm::Accept(const std::string& AName)
{
    FileName = AName;
    SetModalResult(mrOk);
}

void TspOpenDlgForm::OpenButtonClick(TObject* /*Sender*/)
{
    const std::string typed = FileNameEdit->Text();
    std::string sel = FileListView->GetSelectedFile();
    // A name typed over the one the selection put into the edit is what the user means.
    if (!sel.empty() && !typed.empty() && LastComponent(sel) != typed) sel.clear();
    std::string dir = FileListView->Path();
    if (dir.empty() || dir.back() != '/') dir += '/';
    const std::string name = dir + typed;
    const std::string full = NameHasExtension(name) ? name : name + DefaultExtension();

    if (!SaveMode && CheckFileExists && sel.empty() && !typed.empty() && !FileExistsHere(full)) {
        ShowError(Format("Cannot open \"%s\": %s.", {typed, FileProblem(full)}));
        return;
    }
    if (typed.empty()) return;
    if (SaveMode) {
        if (typed.find('*') != std::string::npos) return;
        if (MayOverwrite(full)) Accept(name);  // Execute adds the extension
        return;
    }
    if (CheckFileExists) {
        const std::string chosen = sel.empty() ? full : sel;
        if (ChosenFilesExist(chosen)) Accept(chosen);
        else FileName.clear();
        return;
    }
    Accept(!sel.empty() ? sel : NameHasExtension(name) ? name : name + DefaultExtension());
}

void TspOpenDlgForm::EditKeyPress(TObject* /*Sender*/, char32_t& Key)
{
    if (Key != kEnter) return;
    Key = 0;
    const std::string text = FileNameEdit->Text();
    if (text.find('*') != std::string::npos) {
        FileListView->SetMask(text);
    } else if (text == "~" || text.find('/') != std::string::npos) {
        // A folder typed relative to the one shown, or to the home folder with "~".
        const std::string folder = ResolveTypedFolder(text, FileListView->Path());
        if (const std::string problem = FolderProblem(folder); !problem.empty()) {
            ShowError(Format("Cannot open the folder \"%s\": %s.", {folder, problem}));
            return;
        }
        try {
            FileListView->SetPath(folder);
        } catch (const Exception& e) {
            ShowError(e.Message());
        }
    } else {
        OpenButtonClick(this);
    }
}

void TspOpenDlgForm::FLVKeyPress(TObject* /*Sender*/, char32_t& Key)
{
    if (Key == kEnter && !FileListView->GetSelectedFile().empty()) OpenButtonClick(this);
}

void TspOpenDlgForm::FLVDBLClick(TObject* /*Sender*/)
{
    const std::string sel = FileListView->GetSelectedFile();
    if (sel.empty()) return;
    if (SaveMode && !MayOverwrite(sel)) return;
    Accept(sel);
}

void TspOpenDlgForm::FLVChange(TObject* /*Sender*/)
{
    const std::string sel = FileListView->GetSelectedFile();
    if (!sel.empty()) FileNameEdit->SetText(LastComponent(sel));
    if (OnFolderChange) OnFolderChange(this);
}

void TspOpenDlgForm::AddHistory()
{
    if (!FileListView->RootFolder()) return;
    const TItemIdList& id = FileListView->RootFolder()->AbsoluteIdList();
    if (FolderHistory.empty() || !SameItemIdList(FolderHistory.back(), id)) FolderHistory.push_back(id);
}

void TspOpenDlgForm::InitHistory() { AddHistory(); }

void TspOpenDlgForm::FLVPathChange(TObject* /*Sender*/)
{
    if (!StopAddToHistory) AddHistory();
    if (FileListView->Items()->Count() > 0) FileListView->SetItemFocused(0);
    if (OnFolderChange) OnFolderChange(this);
    // An empty list is no answer for a folder that cannot be read. Told once the input that opened the folder is
    // handled: a double click opens it while the button is still down.
    if (const int error = FileListView->ReadError()) {
        const std::string text =
            Format("Cannot read the folder \"%s\": %s.", {FileListView->Path(), std::string(std::strerror(error))});
        QueueInMainThread(this, [this, text] { ShowError(text); });
    }
}

void TspOpenDlgForm::BackToolButtonClick(TObject* /*Sender*/)
{
    if (FolderHistory.size() < 2) return;
    // The shown folder leaves the history; the one before it is shown and stays, so Back walks all the way.
    FolderHistory.pop_back();
    const TItemIdList target = FolderHistory.back();
    StopAddToHistory = true;
    try {
        FileListView->FollowIdList(target);
    } catch (...) {
        StopAddToHistory = false;
        throw;
    }
    StopAddToHistory = false;
}

void TspOpenDlgForm::UpToolButtonClick(TObject* /*Sender*/) { FileListView->Back(); }

void TspOpenDlgForm::NewFolderToolButtonClick(TObject* /*Sender*/)
{
    if (!FileListView->RootFolder() || FileListView->RootFolder()->FullObjectName().empty()) return;
    ++NewFolderCount;
    std::string name = Text("MSG_NEWFOLDER");
    if (NewFolderCount > 1) name += "(" + std::to_string(NewFolderCount) + ")";
    std::string path = FileListView->RootFolder()->FullObjectName();
    if (path.back() != '/') path += '/';
    path += name;
    if (FolderExists(path)) return;
    try {
        MakeDialogFolder(path);
    } catch (const Exception& e) {
        ShowError(e.Message());
        return;
    }
    FileListView->Refresh();
    if (Application) Application->ProcessMessages();
    for (Integer i = 0; i < FileListView->FolderCount(); ++i) {
        TspShellFolder* folder = FileListView->FolderAt(i);
        if (folder && folder->DisplayName() == name) {
            FileListView->ClearSelection();
            FileListView->SetSelected(i, true);
            FileListView->SetItemFocused(i);
            FileListView->EditCaption(i);
            break;
        }
    }
}

void TspOpenDlgForm::CheckViewItem(TViewStyle AStyle)
{
    IconMenuItem->SetChecked(AStyle == vsIcon);
    SmallIconMenuItem->SetChecked(AStyle == vsSmallIcon);
    ListMenuItem->SetChecked(AStyle == vsList);
    ReportMenuItem->SetChecked(AStyle == vsReport);
}

void TspOpenDlgForm::ViewItemClick(TMenuItem* /*AItem*/, TViewStyle AStyle)
{
    FileListView->SetViewStyle(AStyle);
    CheckViewItem(AStyle);
}

void TspOpenDlgForm::FCBChange(TObject* /*Sender*/)
{
    FileListView->SetMask(FilterComboBox->GetMask());
    if (!SaveMode) return;
    const std::string ext = FilterExtension();
    const std::string text = FileNameEdit->Text();
    if (ext.empty() || text.empty()) return;
    FileNameEdit->SetText(ReplaceNameExtension(text, ext));
}
