#include "skin/dialogs/grids/inplace_editor.h"

#include "platform/controls/edit_messages.h"
#include "platform/gdi/bitmaps.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/gui/forms.h"
#include "platform/win/beep.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/keys.h"
#include "platform/win/message_queue.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/controls/edit_context_menu.h"
#include "skin/core/parent_background.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/grids/skin_custom_grid.h"

using namespace win;

namespace {

constexpr WORD KeyF2 = 0x71;

bool NoShiftKeys(TShiftState AShift)
{
    return !AShift.Contains(ssShift) && !AShift.Contains(ssCtrl) && !AShift.Contains(ssAlt);
}

}  // namespace

// ---- the see-through masked edit -----------------------------------------------------------------------------

// Not opaque: the platform's field paints only its text, so an edit that is not see-through has its background
// erased in its colour.
TspSkinTransparentMaskEdit::TspSkinTransparentMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}

void TspSkinTransparentMaskEdit::SetTransparent(bool AValue)
{
    if (AValue == Transparent()) return;
    TCustomMaskEdit::SetTransparent(AValue);
    if (HandleAllocated()) RecreateWnd();
}

void TspSkinTransparentMaskEdit::CreateParams(TCreateParams& AParams)
{
    TCustomMaskEdit::CreateParams(AParams);
    if (Transparent()) AParams.ExStyle |= WS_EX_TRANSPARENT;
}

void TspSkinTransparentMaskEdit::PaintWindow(HDC ADC)
{
    // Every window keeps a picture of its own here, so see-through means painting what the parent shows here
    // before the text, also when nothing asked to erase.
    if (Transparent() && Width() > 0 && Height() > 0) {
        TBitmap Behind(Width(), Height());
        PaintParentBackground(this, Behind.Canvas());
        BitBlt(ADC, 0, 0, Width(), Height(), Behind.Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    TCustomMaskEdit::PaintWindow(ADC);
}

void TspSkinTransparentMaskEdit::Invalidate()
{
    if (Transparent())
        InvalidateWithParent();
    else
        TCustomMaskEdit::Invalidate();
}

void TspSkinTransparentMaskEdit::InvalidateWithParent()
{
    if (!Parent() || !HandleAllocated()) return;
    if (Parent()->HandleAllocated()) {
        const TRect R = ClientRect();
        TPoint Corners[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
        MapWindowPoints(Handle(), Parent()->Handle(), Corners, 2);
        const TRect InParent{Corners[0].X, Corners[0].Y, Corners[1].X, Corners[1].Y};
        InvalidateRect(Parent()->Handle(), &InParent, TRUE);
    }
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TspSkinTransparentMaskEdit::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == WM_ERASEBKGND && Transparent()) {
        // The painting puts the parent behind the text; invalidating here would only start the next paint.
        AMessage.Result = 1;
        return;
    }
    TCustomMaskEdit::WndProc(AMessage);
    switch (AMessage.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        if (Transparent()) Invalidate();
        break;
    case WM_LBUTTONDOWN:
        FDown = true;
        if (Transparent()) Invalidate();
        break;
    case WM_MOUSEMOVE:
        if (FDown) Invalidate();
        break;
    case WM_LBUTTONUP: FDown = false; break;
    default: break;
    }
}

// ---- the grid's editor ---------------------------------------------------------------------------------------

TspSkinInplaceEdit::TspSkinInplaceEdit(TComponent* AOwner) : TspSkinTransparentMaskEdit(AOwner)
{
    SetTabStop(false);
}

TspSkinInplaceEdit::~TspSkinInplaceEdit() = default;

void TspSkinInplaceEdit::CreateParams(TCreateParams& AParams)
{
    TspSkinTransparentMaskEdit::CreateParams(AParams);
    // No border; the window starts hidden, as the editor shows and hides itself over its cell.
    AParams.Style &= ~(WS_BORDER | WS_VISIBLE);
    AParams.ExStyle &= ~WS_EX_CLIENTEDGE;
}

void TspSkinInplaceEdit::LoadCellContents()
{
    if (!FGrid) return;
    FLoading = true;
    try {
        SetText("");
        SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
        SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
        SetMaxLength(FGrid->EditMaxLength());
    } catch (...) {
        FLoading = false;
        throw;
    }
    FLoading = false;
}

void TspSkinInplaceEdit::PlaceAt(const TRect& ALoc, bool ARedraw)
{
    if (ALoc.Width() <= 0 || ALoc.Height() <= 0) {
        Hide();
        return;
    }
    HandleNeeded();
    ARedraw = ARedraw || !WindowVisible();
    InvalidateEditor();
    SetWindowPos(Handle(), nullptr, ALoc.Left, ALoc.Top, ALoc.Width(), ALoc.Height(), SWP_SHOWWINDOW | SWP_NOREDRAW);
    UpdateTextRect();
    if (ARedraw) InvalidateEditor();
    if (FGrid && FGrid->Focused()) win::SetFocus(Handle());
}

void TspSkinInplaceEdit::UpdateTextRect()
{
    // The caret follows into view as the rectangle is taken.
    const TRect R{2, 2, Width() - 2, Height()};
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
}

void TspSkinInplaceEdit::Hide()
{
    if (!WindowVisible()) return;
    InvalidateEditor();
    const bool HadFocus = Focused();
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if (HadFocus && FGrid && FGrid->HandleAllocated()) win::SetFocus(FGrid->Handle());
}

void TspSkinInplaceEdit::Deselect() { Perform(EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(-1)); }

bool TspSkinInplaceEdit::WindowVisible() { return HandleAllocated() && IsWindowVisible(Handle()); }

void TspSkinInplaceEdit::FocusWhenVisible()
{
    if (WindowVisible()) win::SetFocus(Handle());
}

bool TspSkinInplaceEdit::PosEqual(const TRect& ARect)
{
    if (!HandleAllocated() || !FGrid || !FGrid->HandleAllocated()) return false;
    TRect R;
    GetWindowRect(Handle(), R);
    TPoint Corners[2] = {{R.Left, R.Top}, {R.Right, R.Bottom}};
    MapWindowPoints(nullptr, FGrid->Handle(), Corners, 2);
    return TRect{Corners[0].X, Corners[0].Y, Corners[1].X, Corners[1].Y} == ARect;
}

void TspSkinInplaceEdit::InvalidateEditor()
{
    if (!HandleAllocated()) return;
    if (Transparent()) {
        TspSkinTransparentMaskEdit::Invalidate();
        return;
    }
    ValidateRect(Handle(), nullptr);
    InvalidateRect(Handle(), nullptr, TRUE);
    if (FGrid && FGrid->HandleAllocated()) {
        const TRect Under = BoundsRect();
        ValidateRect(FGrid->Handle(), &Under);
        InvalidateRect(FGrid->Handle(), &Under, FALSE);
    }
}

bool TspSkinInplaceEdit::CanModifyText() { return !FGrid || FGrid->EditorMayModify(); }

void TspSkinInplaceEdit::SendToGrid(WORD& AKey, TShiftState AShift)
{
    if (FGrid) FGrid->KeyDown(AKey, AShift);
    AKey = 0;
}

void TspSkinInplaceEdit::GridKeyEvent(WORD& AKey, TShiftState AShift)
{
    if (FGrid && FGrid->OnKeyDown) FGrid->OnKeyDown(FGrid, AKey, AShift);
}

void TspSkinInplaceEdit::KeyDown(WORD& AKey, TShiftState AShift)
{
    if (!FGrid) {
        TspSkinTransparentMaskEdit::KeyDown(AKey, AShift);
        return;
    }
    const bool Always = FGrid->Options().Contains(goAlwaysShowEditor);
    const int Length = Model().CharCount();
    const int SelFirst = SelStart();
    const int SelEnd = SelFirst + SelLength();
    const bool AtLeft = SelFirst == 0 && (SelEnd == 0 || SelEnd == Length);
    const bool AtRight = (SelFirst == 0 || SelEnd == SelFirst) && SelEnd == Length;
    switch (AKey) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: SendToGrid(AKey, AShift); break;
    case VK_TAB:
        if (!AShift.Contains(ssAlt)) SendToGrid(AKey, AShift);
        break;
    case VK_INSERT:
        if (NoShiftKeys(AShift))
            SendToGrid(AKey, AShift);
        else if (AShift.Contains(ssShift) && !AShift.Contains(ssCtrl) && !AShift.Contains(ssAlt) && !CanModifyText())
            AKey = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (Always && (AShift.Contains(ssCtrl) || AtLeft)) SendToGrid(AKey, AShift);
        break;
    case VK_RIGHT:
    case VK_END:
        if (Always && (AShift.Contains(ssCtrl) || AtRight)) SendToGrid(AKey, AShift);
        break;
    case KeyF2:
        GridKeyEvent(AKey, AShift);
        if (AKey == KeyF2) {
            Deselect();
            return;
        }
        break;
    case VK_DELETE:
        if (!CanModifyText()) AKey = 0;
        break;
    default: break;
    }
    if (AKey != 0) {
        GridKeyEvent(AKey, AShift);
        if (AKey != 0) TspSkinTransparentMaskEdit::KeyDown(AKey, AShift);
    }
}

void TspSkinInplaceEdit::KeyPress(char32_t& AKey)
{
    if (!FGrid) {
        TspSkinTransparentMaskEdit::KeyPress(AKey);
        return;
    }
    FGrid->KeyPress(AKey);
    if (IsTextCharacter(AKey) && !FGrid->EditorAcceptsKey(AKey)) {
        AKey = 0;
        MessageBeep(0);
    }
    switch (AKey) {
    case 9:
    case 27: AKey = 0; break;
    case 13: {
        const int Length = Model().CharCount();
        if (SelStart() == 0 && SelLength() == Length)
            Deselect();
        else
            SelectAll();
        AKey = 0;
        break;
    }
    default: break;
    }
    // Every character that would change the text asks the grid, whatever its script (IME input included).
    if ((AKey == 8 || AKey == 22 || AKey == 24 || IsTextCharacter(AKey)) && !CanModifyText()) AKey = 0;
    if (AKey != 0) TspSkinTransparentMaskEdit::KeyPress(AKey);
}

void TspSkinInplaceEdit::KeyUp(WORD& AKey, TShiftState AShift)
{
    if (FGrid)
        FGrid->KeyUp(AKey, AShift);
    else
        TspSkinTransparentMaskEdit::KeyUp(AKey, AShift);
}

void TspSkinInplaceEdit::DblClick()
{
    if (FGrid)
        FGrid->DblClick();
    else
        TspSkinTransparentMaskEdit::DblClick();
}

void TspSkinInplaceEdit::Change()
{
    TspSkinTransparentMaskEdit::Change();
    if (FLoading || !FGrid || !HandleAllocated()) return;
    FGrid->Perform(WM_COMMAND, MAKEWPARAM(0, InplaceEditChangeCode), reinterpret_cast<LPARAM>(Handle()));
}

LRESULT TspSkinInplaceEdit::DialogCode(WPARAM AKey)
{
    LRESULT Code = TspSkinTransparentMaskEdit::DialogCode(AKey);
    if (FGrid && FGrid->Options().Contains(goTabs)) Code |= DLGC_WANTTAB;
    return Code;
}

void TspSkinInplaceEdit::ContextMenu(TMessage& AMessage)
{
    if (PopupMenu()) {
        TspSkinTransparentMaskEdit::WndProc(AMessage);
        return;
    }
    TspSkinData* Skin = FGrid ? FGrid->SkinData() : nullptr;
    ShowEditMenu(this, AMessage, Skin ? Skin->ResourceStrData() : nullptr, FSysPopupMenu);
    AMessage.Result = 1;
}

void TspSkinInplaceEdit::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_SETFOCUS:
        // The grid stays its form's focused control while its editor has the keyboard; the form may refuse.
        if (TCustomForm* Form = GetParentForm(this); Form && FGrid && !Form->SetFocusedControl(FGrid)) return;
        DefaultHandler(AMessage);
        if (Transparent()) Invalidate();
        return;
    case WM_LBUTTONDOWN:
        if (FClickTime != 0 && GetMessageTime() - FClickTime < GetDoubleClickTime()) AMessage.Msg = WM_LBUTTONDBLCLK;
        FClickTime = 0;
        break;
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
        if (!CanModifyText()) return;
        break;
    case WM_CONTEXTMENU: ContextMenu(AMessage); return;
    case SKM_AFTERMENUCOMMAND: FSysPopupMenu.reset(); return;
    // The editor shows and hides its window itself.
    case CM_SHOWINGCHANGED: return;
    default: break;
    }
    TspSkinTransparentMaskEdit::WndProc(AMessage);
}
