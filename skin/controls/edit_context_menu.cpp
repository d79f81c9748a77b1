#include "skin/controls/edit_context_menu.h"

#include "platform/controls/custom_edit.h"
#include "platform/controls/edit_clipboard.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "skin/core/interface_texts.h"

namespace {

std::string TextOf(TspResourceStrData* ATexts, const char* AKey, const char* ABuiltIn)
{
    return ATexts ? ATexts->GetResStr(AKey) : std::string(ABuiltIn);
}

}  // namespace

std::vector<TspEditMenuItem> EditMenuItems(TCustomEdit* AEdit, TspResourceStrData* ATexts)
{
    const bool selected = AEdit->SelLength() > 0;
    const bool writable = !AEdit->ReadOnly();
    const bool all = AEdit->SelStart() == 0 && AEdit->SelLength() == AEdit->Model().CharCount();
    std::vector<TspEditMenuItem> items;
    items.push_back({TextOf(ATexts, "EDIT_UNDO", "Undo"), AEdit->CanUndo(), [AEdit] { AEdit->Undo(); }});
    items.push_back({"-", true, nullptr});
    items.push_back({TextOf(ATexts, "EDIT_CUT", "Cut"), selected && writable, [AEdit] { AEdit->CutToClipboard(); }});
    items.push_back({TextOf(ATexts, "EDIT_COPY", "Copy"), selected, [AEdit] { AEdit->CopyToClipboard(); }});
    items.push_back({TextOf(ATexts, "EDIT_PASTE", "Paste"), edittext::ClipboardHasText() && writable,
                     [AEdit] { AEdit->PasteFromClipboard(); }});
    items.push_back(
        {TextOf(ATexts, "EDIT_DELETE", "Delete"), selected && writable, [AEdit] { AEdit->ClearSelection(); }});
    items.push_back({"-", true, nullptr});
    items.push_back({TextOf(ATexts, "EDIT_SELECTALL", "Select All"), !all, [AEdit] { AEdit->SelectAll(); }});
    return items;
}

TPoint EditMenuPoint(TCustomEdit* AEdit, const TMessage& AMessage)
{
    const TPoint at = win::LParamToPoint(AMessage.LParam);
    if (at.X >= 0 && at.Y >= 0) return at;
    const TPoint origin = AEdit->ClientOrigin();
    return {origin.X + AEdit->Width() / 2, origin.Y + AEdit->Height() / 2};
}

TCustomForm* EditMenuForm(TCustomEdit* AEdit)
{
    TCustomForm* form = GetParentForm(AEdit);
    if (form && form->FormStyle() == fsMDIChild && Application && Application->MainForm())
        return Application->MainForm();
    return form;
}

void ShowEditMenu(TCustomEdit* AEdit, const TMessage& AMessage, TspResourceStrData* ATexts,
                  std::unique_ptr<TspEditMenu>& AMenu)
{
    AMenu.reset();
    TspEditMenuService* service = EditMenuService();
    if (!service) return;
    AMenu = service->CreateMenu(AEdit, EditMenuForm(AEdit), EditMenuItems(AEdit, ATexts));
    if (AMenu) AMenu->Popup2(AEdit, EditMenuPoint(AEdit, AMessage));
}
