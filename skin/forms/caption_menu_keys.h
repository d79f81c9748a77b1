#pragma once
// The keyboard main-menu mode over the main-menu items a skinned form draws in its caption (a skin without a
// menu bar): entering and leaving, the arrows (which wrap and skip disabled and hidden items), Enter and Down,
// and the items' accelerators. The form's menus use it where no menu bar is linked.
#include "skin/forms/menu_mode.h"

#include <vector>

class TspSkinMainMenuItem;

class TspCaptionMenuKeyboard : public TspMainMenuKeyboard {
public:
    explicit TspCaptionMenuKeyboard(TspFormMenus* AMenus) : FMenus(AMenus) {}

    // The form shows main-menu items in its caption.
    bool HasItems() const;
    void EnterMainMenu() override;
    void ExitMainMenu() override;
    void ReleaseDownItem() override;
    bool CheckHotKey(win::WORD Key) override;
    void NextMainMenuItem() override;
    void PrevMainMenuItem() override;
    bool CheckReturnKey() override;

private:
    // The caption's main-menu item objects in the form's object order.
    std::vector<TspSkinMainMenuItem*> Items() const;

    TspFormMenus* FMenus;
};
