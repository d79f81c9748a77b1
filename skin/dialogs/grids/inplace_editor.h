#pragma once
// The grid's cell editor: a borderless masked edit that the grid lays over its current cell. It loads the cell's
// mask, text and length limit from the grid, hands navigation keys back to the grid, lets the grid refuse every
// change, reports every change of its text to the grid and brings the skinned edit menu. Its base can be made
// see-through, so that the grid's painted cell background shows under the text.
#include <memory>

#include "platform/controls/mask_edit.h"
#include "skin/controls/edit_menu.h"

class TspSkinCustomGrid;

// Every character that would land in the text, of any script; control codes are keys, not text.
inline bool IsTextCharacter(char32_t AKey) { return AKey >= 0x20 && AKey != 0x7F && !(AKey >= 0x80 && AKey <= 0x9F); }

// The change notification the editor sends its grid in WM_COMMAND (high word of WParam, LParam its window).
inline constexpr win::WORD InplaceEditChangeCode = 768;

class TspSkinTransparentMaskEdit : public TCustomMaskEdit {
public:
    explicit TspSkinTransparentMaskEdit(TComponent* AOwner);

    // The window style depends on it, so a change makes a new window.
    void SetTransparent(bool AValue);
    // See-through: the parent's area under the edit repaints with it.
    void Invalidate() override;
    void InvalidateWithParent();
    void WndProc(TMessage& AMessage) override;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void PaintWindow(win::HDC ADC) override;

private:
    bool FDown = false;
};

class TspSkinInplaceEdit : public TspSkinTransparentMaskEdit {
public:
    explicit TspSkinInplaceEdit(TComponent* AOwner);
    ~TspSkinInplaceEdit() override;

    void SetGrid(TspSkinCustomGrid* AGrid) { FGrid = AGrid; }
    TspSkinCustomGrid* Grid() const { return FGrid; }
    // Mask, text and length limit of the grid's current cell.
    virtual void LoadCellContents();
    // Places the editor at ALoc (grid client coordinates) and shows it; an empty rectangle hides it.
    void Move(const TRect& ALoc) { PlaceAt(ALoc, true); }
    void UpdateLoc(const TRect& ALoc) { PlaceAt(ALoc, false); }
    // Hides the window without touching the control's Visible; a focused editor hands the focus to the grid.
    void Hide();
    // No selection, the caret at the end.
    void Deselect();
    bool WindowVisible();
    void FocusWhenVisible();
    bool PosEqual(const TRect& ARect);
    // The grid's client area under the editor repaints too, without erasing.
    void InvalidateEditor();
    virtual void UpdateTextRect();

    // The message time of the grid's last left press (0: none); a press here soon after counts as a double click.
    win::DWORD FClickTime = 0;
    // The edit menu of the last context-menu request, until its command ran.
    TspEditMenu* SysPopupMenu() const { return FSysPopupMenu.get(); }

    void WndProc(TMessage& AMessage) override;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;
    void KeyUp(win::WORD& AKey, TShiftState AShift) override;
    void DblClick() override;
    void Change() override;
    win::LRESULT DialogCode(win::WPARAM AKey) override;
    // The grid's verdict on any change of the text.
    bool CanModifyText();

private:
    void PlaceAt(const TRect& ALoc, bool ARedraw);
    void SendToGrid(win::WORD& AKey, TShiftState AShift);
    void GridKeyEvent(win::WORD& AKey, TShiftState AShift);
    void ContextMenu(TMessage& AMessage);

    TspSkinCustomGrid* FGrid = nullptr;
    std::unique_ptr<TspEditMenu> FSysPopupMenu;
    // While the cell's text is loaded, its own text changes are not stored back.
    bool FLoading = false;
};
