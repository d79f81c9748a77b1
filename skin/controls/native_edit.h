#pragma once
// The single-line text field under every skinned edit (the skinned edit, the spin edit's number edit, the combo
// box's text edit): the platform's masked edit without a border of its own, with an optional see-through mode,
// a read-only mode enforced at the one dispatch point that typing, keys and the clipboard calls pass, Enter and
// Esc handed to the form as dialog keys, a fixed text margin, and the skinned context menu.
#include <memory>

#include "platform/controls/mask_edit.h"
#include "skin/controls/edit_menu.h"

using TspOnEditCancelMode = std::function<void(TObject* Sender, TControl* C)>;

class TspCustomEdit : public TCustomMaskEdit {
public:
    explicit TspCustomEdit(TComponent* AOwner);
    ~TspCustomEdit() override;

    // The parent's picture shows behind the text; a new window takes the style.
    bool EditTransparent() const { return FEditTransparent; }
    void SetEditTransparent(bool AValue);

    // Fired when the edit hears CM_CANCELMODE, with the control that takes the focus.
    TspOnEditCancelMode OnEditCancelMode;

    // The menu of the last context-menu request, until a command ran; nullptr otherwise.
    TspEditMenu* SysPopupMenu() const { return FSysPopupMenu.get(); }

    void Invalidate() override;
    void WndProc(TMessage& AMessage) override;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void CreateWnd() override;
    void Change() override;
    // Enter and Esc come to the edit as characters, so that it can hand them to its form.
    win::LRESULT DialogCode(win::WPARAM AKey) override;
    void InvalidateWhenTransparent();
    bool FDown = false;

private:
    void DialogKeyToForm(TMessage& AMessage);
    void ContextMenu(TMessage& AMessage);
    void SetTextMargins();

    bool FEditTransparent = false;
    std::unique_ptr<TspEditMenu> FSysPopupMenu;
};
