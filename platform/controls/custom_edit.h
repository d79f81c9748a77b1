#pragma once
// The platform's edit field: TCustomEdit is a single-line field, or with a multi-line model the ground of the
// memo. Its native behaviour (typing, keys, mouse, clipboard commands, EM_ messages) runs in DefaultHandler, so
// a control built on it sees every message first in WndProc and can drop or change it, as the read-only skinned
// edits do. It paints only text and selection when Transparent, into whatever DC WM_PAINT brings.
#include "platform/controls/edit_layout.h"
#include "platform/controls/edit_messages.h"
#include "platform/controls/edit_model.h"
#include "platform/gui/controls.h"

#include <memory>

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    int MaxLength() const { return FModel.MaxLength(); }
    void SetMaxLength(int AValue) { FModel.SetMaxLength(AValue); }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase AValue);  // also converts the text there is
    char32_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char32_t AValue);
    bool Modified() const { return FModified; }
    void SetModified(bool AValue) { FModified = AValue; }
    // Typing, Delete, cut, paste, clear and undo do nothing; copying still works.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool AValue) { FReadOnly = AValue; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool AValue) { FAutoSelect = AValue; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool AValue);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);  // a new window, as the style is fixed at creation
    // No background of its own: the erase step shows the parent behind the text, unless a host handles
    // WM_ERASEBKGND itself; WM_PAINT with a DC draws only text and selection into it.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);

    // In characters (code points, a line break counts two), as Text reads.
    int SelStart();
    void SetSelStart(int AValue);
    int SelLength();
    void SetSelLength(int AValue);
    std::string SelText() const { return FModel.SelectedText(); }
    void SetSelText(const std::string& AValue);
    void SelectAll();
    // These go through WM_CLEAR, WM_CUT, WM_PASTE and WM_UNDO, so a control on top can drop them.
    void ClearSelection();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo() const { return FModel.CanUndo(); }
    void ClearUndo() { FModel.ClearUndo(); }

    TNotifyEvent OnChange;

    const TEditModel& Model() const { return FModel; }
    // The rectangle the text is laid out in (client coordinates).
    TRect FormatRect();
    int LineHeight();

    void WndProc(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;

protected:
    explicit TCustomEdit(TComponent* AOwner, bool AMultiLine);
    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void PaintWindow(win::HDC ADC) override;
    std::string GetText() override { return FModel.Text(); }
    void TextChanged() override;
    // Every change of the text, typed, pasted or set.
    virtual void Change();

    // For the mask layer and the memo: an edit of the text as the user made it (undo step, Modified, Change).
    bool ReplaceSelectionByUser(const std::string& AText, bool ATyping);
    // After the lines were changed directly (a strings view): re-measure, repaint and notify.
    void ModelChanged(bool ATextChanged = true);
    void SelectChars(int AStart, int ALength);
    void SelectPositions(TTextPos AAnchor, TTextPos ACaret);
    // After the selection or the text moved: keep the caret in sight, move it, repaint.
    void SelectionMoved();
    TTextPos PosFromPoint(TPoint APoint);
    virtual void HandleChar(char32_t AChar);
    virtual void HandleKeyDown(win::WORD AKey);
    virtual void HandleMouse(TMessage& AMessage);
    virtual void HandleFocus(bool AGot);
    virtual win::LRESULT DialogCode(win::WPARAM AKey);
    // Memo settings the single-line field keeps off.
    bool FWordWrap = false;
    bool FWantReturns = false;
    bool FWantTabs = false;

    TEditModel FModel;
    TEditLayout FLayout;
    int FTopRow = 0;
    int FScrollX = 0;

private:
    std::string ApplyCharCase(const std::string& AText) const;
    void TextReplaced(bool AByUser);
    void UpdateLayoutDC();
    void UpdateScrollState();
    void EnsureCaretVisible();
    void PlaceCaret();
    int VisibleRows();
    int AlignOffset(int ARowWidth);
    TPoint PointOfPos(TTextPos APos);
    void MoveVertically(int ARows, bool AExtend);
    void HandleScroll(bool AVertical, win::WORD ACode, int AThumb);
    void HandleEditCommand(TMessage& AMessage);
    void AutoScrollTick();
    bool HandleEditMessage(TMessage& AMessage);

    TEditCharCase FCharCase = ecNormal;
    char32_t FPasswordChar = 0;
    bool FModified = false;
    bool FReadOnly = false;
    bool FAutoSelect = true;
    bool FHideSelection = true;
    TAlignment FAlignment = taLeftJustify;
    bool FTransparent = false;
    int FLeftMargin = 1;
    int FRightMargin = 1;
    std::optional<TRect> FFormatRect;
    bool FSelecting = false;
    TPoint FLastMouse;
    int FPreferredX = -1;
    win::HDC FMeasureDC = nullptr;
    win::HGDIOBJ FMeasureOldFont = nullptr;
    int FLineHeight = 0;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};
