#pragma once
// The menu engine of a skinned form: it shows menu item trees in level windows of its own that are drawn from
// the skin instead of native menus. Every skinned menu of the form goes through it: popup menus, the main menu's
// drop-downs, the system menu and the tray menu. Levels are stacked in FPopupList (index 0 the first) and
// released through the message loop, since a level is often closed from inside its own handler.
#include <memory>
#include <vector>

#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "platform/gui/timer.h"
#include "skin/core/skin_data.h"

class TspSkinPopupWindow;
class TspSkinMenuItem;

class TspSkinMenu : public TComponent {
public:
    TspSkinMenu(TComponent* AOwner, TCustomForm* AForm);
    ~TspSkinMenu() override;

    void Popup(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, TRect R, TMenuItem* AItem,
               bool PopupUp);
    void Popup2(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, TRect R, TMenuItem* AItem,
                TMenuItem* AItem2, bool PopupUp);
    // Closes the whole menu.
    void Hide();

    void CloseLevels(Integer From);
    void CheckItem(TspSkinPopupWindow* Window, TspSkinMenuItem* Item, bool Execute, bool Kb);
    void OpenLevel(TRect R, TMenuItem* Item, bool PopupUp, bool PopupByItem, Integer StartIndex);
    void OpenLevel2(TRect R, TMenuItem* Item, TMenuItem* Item2, bool PopupUp, bool PopupByItem,
                    Integer StartIndex);
    Integer IndexOfLevel(TspSkinPopupWindow* Window) const;
    Integer LevelCount() const { return static_cast<Integer>(FPopupList.size()); }
    TspSkinPopupWindow* Level(Integer AIndex) const { return FPopupList[static_cast<size_t>(AIndex)]; }
    TspSkinPopupWindow* LastLevel() const { return FPopupList.empty() ? nullptr : FPopupList.back(); }
    void GetWorkArea();

    bool FUseSkinFont = true;
    bool FFirst = false;
    Integer FDefaultMenuItemHeight = 20;
    TFont FDefaultMenuItemFont;
    TControl* PopupCtrl = nullptr;
    TControl* DCtrl = nullptr;
    TCustomForm* FForm;
    TTimer* WaitTimer = nullptr;
    TspSkinMenuItem* WItem = nullptr;
    TRect WorkArea;
    bool FVisible = false;
    TspSkinData* SkinData = nullptr;
    TNotifyEvent FOnMenuClose;
    std::vector<TspSkinPopupWindow*> FPopupList;
    bool AlphaBlend = false;
    Byte AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    Integer MaxMenuItemsInWindow = 0;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    class TSkinChangeWatch;
    void WaitTimerProc(TObject* Sender);
    void StopWaiting();
    // SKM_CLOSEMENU and SKM_AFTERMENUCOMMAND go to a windowed control's window, to a windowless one directly.
    static void NotifyControl(TControl* AControl, win::UINT AMsg);

    // While levels are open: hears a change of their skin starting and closes the menu before its pictures go.
    std::unique_ptr<TSkinChangeWatch> FSkinChangeWatch;
};

// The messages on which an open skinned menu of a form closes: moving, sizing, activation, focus loss, cancel
// mode, mouse activation, button presses in and around the window, and the children's notifications.
bool IsMenuCloseMessage(Cardinal Msg);
