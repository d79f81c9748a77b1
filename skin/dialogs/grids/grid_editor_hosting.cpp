// How the grid hosts its in-place editor: when the editor is created, loaded, placed, shown and hidden, how its
// text reaches the cell, and the grid messages that concern it.
#include "platform/gui/control_messages.h"
#include "platform/gui/forms.h"
#include "platform/win/input.h"
#include "platform/win/message_queue.h"
#include "platform/win/window.h"
#include "skin/dialogs/grids/inplace_editor.h"
#include "skin/dialogs/grids/skin_custom_grid.h"

using namespace win;

bool TspSkinCustomGrid::GridIsActiveControl()
{
    if (!HandleAllocated()) return false;
    if (TCustomForm* Form = GetParentForm(this)) return Form->ActiveControl() == this;
    const HWND Focus = GetFocus();
    return Focus == Handle() || (Focus && IsChild(Handle(), Focus));
}

TspSkinInplaceEdit* TspSkinCustomGrid::CreateCellEditor() { return new TspSkinInplaceEdit(this); }

bool TspSkinCustomGrid::CanShowEditor()
{
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode && !Designing()
           && HandleAllocated() && (FOptions.Contains(goAlwaysShowEditor) || GridIsActiveControl());
}

void TspSkinCustomGrid::SetEditorMode(bool AValue)
{
    if (AValue) {
        ShowCellEditor();
        if (FInplaceEdit) FInplaceEdit->Deselect();
    } else {
        HideCellEditor();
    }
}

void TspSkinCustomGrid::ShowCellEditor()
{
    FEditorMode = true;
    SyncCellEditor();
}

void TspSkinCustomGrid::HideCellEditor()
{
    FEditorMode = false;
    CloseCellEditor();
}

void TspSkinCustomGrid::ShowCellEditorWithChar(char32_t AKey)
{
    ShowCellEditor();
    // The editor selects its whole text as it opens; the character then replaces it.
    if (FInplaceEdit && FInplaceEdit->WindowVisible()) PostMessage(FInplaceEdit->Handle(), WM_CHAR, AKey, 0);
}

void TspSkinCustomGrid::SyncCellEditor()
{
    if (!CanShowEditor()) return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateCellEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
        PrepareCellEditor();
    } else if (FInplaceCol != Col() || FInplaceRow != Row()) {
        CloseCellEditor();
        PrepareCellEditor();
    }
    if (CanShowEditor()) FInplaceEdit->Move(CellBoxRect(Col(), Row(), Col(), Row()));
}

void TspSkinCustomGrid::PrepareCellEditor()
{
    FInplaceEdit->SetTransparent((Skinned() && FBGPicture) || FTransparent);
    FInplaceCol = Col();
    FInplaceRow = Row();
    if (Skinned() && FGridRecord) {
        FInplaceEdit->SetColor(FGridRecord->BGColor);
        ApplyCellFontTo(FInplaceEdit->Font(), {}, FGridRecord->FontColor);
    } else {
        FInplaceEdit->SetColor(clWindow);
        FInplaceEdit->Font()->Assign(Font());
    }
    FInplaceEdit->LoadCellContents();
    // The edit keeps no negative limit, so the grid's answer itself says whether the cell may change.
    FCanEditModify = EditMaxLength() != -1;
    FInplaceEdit->SelectAll();
}

void TspSkinCustomGrid::StoreEditorText()
{
    if (FInplaceEdit && FInplaceCol != -1 && FInplaceRow != -1)
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TspSkinCustomGrid::CloseCellEditor()
{
    if (!FInplaceEdit) return;
    // The editor goes away also when the cell refuses its text.
    struct THideAfter {
        TspSkinCustomGrid* Grid;
        ~THideAfter()
        {
            Grid->FInplaceCol = Grid->FInplaceRow = -1;
            Grid->FInplaceEdit->Hide();
        }
    } HideAfter{this};
    StoreEditorText();
}

bool TspSkinCustomGrid::HandleEditorMessage(TMessage& AMessage)
{
    const bool FromEditor = FInplaceEdit && FInplaceEdit->HandleAllocated()
                            && reinterpret_cast<HWND>(AMessage.WParam) == FInplaceEdit->Handle();
    switch (AMessage.Msg) {
    case WM_CHAR: {
        const auto Key = static_cast<char32_t>(AMessage.WParam);
        // Any character that would be text opens the editor with it, whatever its script.
        if (!FOptions.Contains(goEditing) || !(Key == 8 || IsTextCharacter(Key))) return false;
        ShowCellEditorWithChar(Key);
        return true;
    }
    case WM_COMMAND:
        if (FInplaceEdit && FInplaceEdit->HandleAllocated()
            && reinterpret_cast<HWND>(AMessage.LParam) == FInplaceEdit->Handle()
            && HIWORD(AMessage.WParam) == InplaceEditChangeCode) {
            StoreEditorText();
            return true;
        }
        return false;
    case WM_LBUTTONDOWN:
        TspSkinControl::WndProc(AMessage);
        if (FInplaceEdit) FInplaceEdit->FClickTime = GetMessageTime();
        return true;
    case WM_SETFOCUS:
        TspSkinControl::WndProc(AMessage);
        if (!FromEditor) {
            RefreshGridRect(Selection());
            if (IsWindowVisible(Handle())) SyncCellEditor();
        }
        return true;
    case WM_KILLFOCUS:
        TspSkinControl::WndProc(AMessage);
        RefreshGridRect(Selection());
        if (FInplaceEdit && !FromEditor) CloseCellEditor();
        return true;
    case CM_EXIT:
        TspSkinControl::WndProc(AMessage);
        if (!FOptions.Contains(goAlwaysShowEditor)) HideCellEditor();
        return true;
    case CM_CANCELMODE:
        if (FInplaceEdit) FInplaceEdit->WindowProc(AMessage);
        TspSkinControl::WndProc(AMessage);
        CancelDrag();
        return true;
    case CM_FONTCHANGED:
        if (FInplaceEdit) FInplaceEdit->Font()->Assign(Font());
        return false;
    default: return false;
    }
}
