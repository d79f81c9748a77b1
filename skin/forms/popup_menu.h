#pragma once
// A popup menu whose menus are shown by the skinned menu engine of a skinned form instead of as native menus:
// context menus of controls, the drop-downs of the skinned menu buttons, the edits' temporary context menus and
// the tray menus. It shows only through a skinned-form component found for it: the one given, the one of
// ComponentForm, or the first one of its owner form or of its owner's owner form (for an MDI child, the main
// form's); when none is found nothing is shown.
#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "skin/controls/track_menu.h"
#include "skin/core/skin_data.h"

class TspCorvalis;
class TspFormMenus;

class TspSkinPopupMenu : public TPopupMenu, public TspTrackMenu {
public:
    explicit TspSkinPopupMenu(TComponent* AOwner);
    // A menu going while it shows closes its levels first, which still point at its items.
    ~TspSkinPopupMenu() override;

    // At a screen point, without a popup control (the platform's context-menu handling calls it).
    void Popup(Integer X, Integer Y) override;
    void PopupFromRect(TRect R, bool APopupUp);
    // With ACtrl as the popup control, which hears SKM_CLOSEMENU and SKM_AFTERMENUCOMMAND; nothing without skin
    // data.
    void Popup2(TControl* ACtrl, Integer X, Integer Y);
    void PopupFromRect2(TControl* ACtrl, TRect R, bool APopupUp);
    // The menu buttons' entry: below the button's rectangle; false when nothing opened.
    bool PopupFromRect(TControl* AControl, const TRect& AScreenRect) override;

    TspSkinData* SkinData() const { return FSD; }
    void SetSkinData(TspSkinData* AValue);
    TCustomForm* ComponentForm() const { return FComponentForm; }
    void SetComponentForm(TCustomForm* AValue);
    // Given in code; the caller keeps it alive as long as the menu may open.
    TspCorvalis* SkinComponent() const { return FSkinComponent; }
    void SetSkinComponent(TspCorvalis* AValue) { FSkinComponent = AValue; }
    TPoint PopupPoint() const { return FPopupPoint; }
    // Whether the last popup opened a menu.
    bool Shown() const { return FShown; }
    TNotifyEvent OnMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    // The shared steps of the four entry points; true when a menu opened.
    bool Show(TControl* ACtrl, TRect R, bool APopupUp, bool ANeedsSkin);
    TspFormMenus* FindFormMenus();

    TPoint FPopupPoint{-1, -1};
    TspSkinData* FSD = nullptr;
    TCustomForm* FComponentForm = nullptr;
    TspCorvalis* FSkinComponent = nullptr;
    TspFormMenus* FShownBy = nullptr;
    bool FShown = false;
};
