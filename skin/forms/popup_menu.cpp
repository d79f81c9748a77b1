#include "skin/forms/popup_menu.h"

#include "platform/gui/application.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/popup_window.h"

TspSkinPopupMenu::TspSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

TspSkinPopupMenu::~TspSkinPopupMenu()
{
    if (!FShownBy) return;
    TspSkinMenu* engine = FShownBy->SkinMenu;
    if (engine->LevelCount() == 0 || engine->Level(0)->ItemCount() == 0) return;
    if (engine->Level(0)->Item(0)->MenuItem->GetParentMenu() == this) engine->Hide();
}

void TspSkinPopupMenu::Notification(TComponent* AComponent, TOperation AOperation)
{
    TPopupMenu::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FComponentForm) FComponentForm = nullptr;
    if (AComponent == FShownBy) FShownBy = nullptr;
}

void TspSkinPopupMenu::SetSkinData(TspSkinData* AValue)
{
    FSD = AValue;
    if (FSD) FSD->FreeNotification(this);
}

void TspSkinPopupMenu::SetComponentForm(TCustomForm* AValue)
{
    FComponentForm = AValue;
    if (FComponentForm) FComponentForm->FreeNotification(this);
}

TspFormMenus* TspSkinPopupMenu::FindFormMenus()
{
    if (FSkinComponent) return FormMenusOf(FSkinComponent);
    if (FComponentForm) return FormMenusOfForm(FComponentForm);
    TspFormMenus* menus = nullptr;
    if (auto* form = dynamic_cast<TCustomForm*>(Owner())) {
        menus = FormMenusOfForm(form);
    } else if (Owner()) {
        if (auto* ownersForm = dynamic_cast<TCustomForm*>(Owner()->Owner())) menus = FormMenusOfForm(ownersForm);
    }
    // An MDI child's menus show through the main form's skinned form, or not at all.
    if (menus && menus->Form()->FormStyle() == fsMDIChild) {
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        menus = main ? FormMenusOfForm(main) : nullptr;
    }
    return menus;
}

bool TspSkinPopupMenu::Show(TControl* ACtrl, TRect R, bool APopupUp, bool ANeedsSkin)
{
    FShown = false;
    if (OnPopup) OnPopup(this);
    TspFormMenus* menus = FindFormMenus();
    if (menus && !FSD) SetSkinData(menus->MenuSkin());  // kept from now on
    if (!menus || (ANeedsSkin && !FSD)) return false;
    if (menus->SkinMenu->FVisible) menus->SkinMenuClose();
    FPopupPoint = TPoint{R.Left, R.Top};
    if (!menus->PopupItems(ACtrl, FSD, Items(), R, APopupUp)) return false;
    if (OnMenuClose) menus->SkinMenu->FOnMenuClose = OnMenuClose;
    if (FShownBy != menus) {
        FShownBy = menus;
        menus->FreeNotification(this);
    }
    FShown = true;
    return true;
}

void TspSkinPopupMenu::Popup(Integer X, Integer Y)
{
    Show(nullptr, Rect(X, Y, X, Y), false, false);
}

void TspSkinPopupMenu::PopupFromRect(TRect R, bool APopupUp)
{
    Show(nullptr, R, APopupUp, false);
}

void TspSkinPopupMenu::Popup2(TControl* ACtrl, Integer X, Integer Y)
{
    Show(ACtrl, Rect(X, Y, X, Y), false, true);
}

void TspSkinPopupMenu::PopupFromRect2(TControl* ACtrl, TRect R, bool APopupUp)
{
    Show(ACtrl, R, APopupUp, false);
}

bool TspSkinPopupMenu::PopupFromRect(TControl* AControl, const TRect& AScreenRect)
{
    return Show(AControl, AScreenRect, false, false);
}

TPopupMenu* NewSkinTrayMenu(TspFormMenus* AMenus)
{
    auto* menu = new TspSkinPopupMenu(AMenus);
    menu->SetComponentForm(AMenus->Form());
    return menu;
}
