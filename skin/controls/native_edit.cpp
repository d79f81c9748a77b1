#include "skin/controls/native_edit.h"

#include "platform/gui/forms.h"
#include "platform/win/win.h"
#include "skin/controls/edit_context_menu.h"

using namespace win;

// Not opaque: an edit that is not see-through has its background erased in its colour.
TspCustomEdit::TspCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}

TspCustomEdit::~TspCustomEdit() = default;

void TspCustomEdit::SetEditTransparent(bool AValue)
{
    FEditTransparent = AValue;
    SetTransparent(AValue);
    if (HandleAllocated()) RecreateWnd();
}

void TspCustomEdit::CreateParams(TCreateParams& AParams)
{
    TCustomMaskEdit::CreateParams(AParams);
    AParams.Style &= ~WS_BORDER;
    AParams.ExStyle &= ~WS_EX_CLIENTEDGE;
    if (FEditTransparent) AParams.ExStyle |= WS_EX_TRANSPARENT;
    // The field stays a true single-line field: it takes a text rectangle all the same, so pasted line breaks
    // never open a second line.
    if (PasswordChar() != 0) AParams.Style |= ES_PASSWORD;
}

void TspCustomEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetTextMargins();
}

void TspCustomEdit::SetTextMargins()
{
    if (HandleAllocated()) Perform(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 0));
}

LRESULT TspCustomEdit::DialogCode(WPARAM AKey)
{
    LRESULT code = TCustomMaskEdit::DialogCode(AKey);
    if (AKey == VK_RETURN || AKey == VK_ESCAPE) code |= DLGC_WANTALLKEYS;
    return code;
}

void TspCustomEdit::Invalidate()
{
    if (!FEditTransparent) {
        TCustomMaskEdit::Invalidate();
        return;
    }
    if (!Parent() || !HandleAllocated()) return;
    if (Parent()->HandleAllocated()) {
        TRect r = ClientRect();
        TPoint corners[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
        MapWindowPoints(Handle(), Parent()->Handle(), corners, 2);
        TRect inParent{corners[0].X, corners[0].Y, corners[1].X, corners[1].Y};
        InvalidateRect(Parent()->Handle(), &inParent, TRUE);
    }
    // The edit erases too: its erase asks the parent for what lies behind, which replaces the old text.
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void TspCustomEdit::InvalidateWhenTransparent()
{
    if (FEditTransparent) Invalidate();
}

void TspCustomEdit::Change()
{
    TCustomMaskEdit::Change();
    InvalidateWhenTransparent();
}

void TspCustomEdit::DialogKeyToForm(TMessage& AMessage)
{
    char32_t key = static_cast<char32_t>(AMessage.WParam);
    if (OnKeyPress) OnKeyPress(this, key);  // a copy: the handler cannot change what the form gets
    if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, AMessage.WParam, AMessage.LParam);
}

void TspCustomEdit::ContextMenu(TMessage& AMessage)
{
    if (PopupMenu()) {
        TCustomMaskEdit::WndProc(AMessage);
        return;
    }
    TspEditMenuService* service = EditMenuService();
    ShowEditMenu(this, AMessage, service ? service->FormTexts(GetParentForm(this)) : nullptr, FSysPopupMenu);
    AMessage.Result = 1;
}

void TspCustomEdit::WndProc(TMessage& AMessage)
{
    const bool readOnly = ReadOnly();
    switch (AMessage.Msg) {
    case WM_CHAR:
        if (AMessage.WParam == VK_RETURN || AMessage.WParam == VK_ESCAPE) {
            DialogKeyToForm(AMessage);
            return;
        }
        if (readOnly) return;
        TCustomMaskEdit::WndProc(AMessage);
        return;
    case WM_KEYDOWN:
        if (readOnly && AMessage.WParam == VK_DELETE) return;
        TCustomMaskEdit::WndProc(AMessage);
        InvalidateWhenTransparent();
        return;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (readOnly) return;
        TCustomMaskEdit::WndProc(AMessage);
        InvalidateWhenTransparent();
        return;
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_KILLFOCUS:
    case WM_SETFOCUS:
    case WM_LBUTTONDOWN:
        TCustomMaskEdit::WndProc(AMessage);
        if (AMessage.Msg == WM_LBUTTONDOWN) FDown = true;
        InvalidateWhenTransparent();
        return;
    case WM_LBUTTONUP:
        TCustomMaskEdit::WndProc(AMessage);
        FDown = false;
        return;
    case WM_MOUSEMOVE:
        TCustomMaskEdit::WndProc(AMessage);
        if (FDown) InvalidateWhenTransparent();
        return;
    case CM_FONTCHANGED:
        TCustomMaskEdit::WndProc(AMessage);
        SetTextMargins();
        return;
    case CM_CANCELMODE:
        TCustomMaskEdit::WndProc(AMessage);
        if (OnEditCancelMode) OnEditCancelMode(this, reinterpret_cast<TControl*>(AMessage.LParam));
        return;
    case WM_CONTEXTMENU: ContextMenu(AMessage); return;
    case SKM_AFTERMENUCOMMAND: FSysPopupMenu.reset(); return;
    default: TCustomMaskEdit::WndProc(AMessage);
    }
}
