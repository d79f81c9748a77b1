#pragma once
// The menus of a skinned form: its menu engine and its menu mode. While a skinned menu or the keyboard main-menu
// mode is open, the form holds the application's OnMessage hook, so that keys reach the menus and the wheel is
// swallowed; the form's close messages end the menus. One per skinned-form component, owned by its form and made
// on first use (FormMenusOf); it sits in the form's window procedure in front of the skinned-form component.
//
// Kept free of the form component's header, whose message numbers the controls' menu interface also declares.
#include <functional>
#include <memory>

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "skin/core/skin_data.h"

class TspCaptionMenuKeyboard;
class TspCorvalis;
class TspSkinMenu;
class TspSkinPopupWindow;

// What the form's keyboard main-menu mode needs of a main menu drawn elsewhere (the skinned main-menu bar).
class TspMainMenuKeyboard {
public:
    virtual ~TspMainMenuKeyboard() = default;
    virtual void EnterMainMenu() = 0;
    virtual void ExitMainMenu() = 0;
    virtual void ReleaseDownItem() = 0;
    virtual bool CheckHotKey(win::WORD Key) = 0;
    virtual void NextMainMenuItem() = 0;
    virtual void PrevMainMenuItem() = 0;
    virtual bool CheckReturnKey() = 0;
    // The menu whose items the keyboard reaches (its accelerators and shortcuts); nullptr for none.
    virtual TMenu* KeyboardMenu() const { return nullptr; }
};

// What minimizing to the tray needs of a tray icon.
class TspTrayIconLink {
public:
    virtual ~TspTrayIconLink() = default;
    virtual void SetMinimizeToTray(bool AValue) = 0;
    virtual void ShowMainForm() = 0;
    virtual void SetIconVisible(bool AValue) = 0;
    virtual TPopupMenu* PopupMenu() = 0;
    virtual void SetPopupMenu(TPopupMenu* AMenu) = 0;
    virtual bool HasDblClickHandler() = 0;
    virtual void SetDblClickHandler(TNotifyEvent AHandler) = 0;
};

class TspFormMenus : public TComponent {
public:
    TspFormMenus(TCustomForm* AForm, TspCorvalis* ASkinForm);
    ~TspFormMenus() override;

    TspCorvalis* SkinForm() const { return FSkinForm; }
    TCustomForm* Form() const { return FForm; }
    TspSkinMenu* SkinMenu = nullptr;
    // MenusSkinData when set, else SkinData.
    TspSkinData* MenuSkin() const;
    TspSkinData* SkinData() const;

    // Menu mode.
    void PopupSkinMenu(TMenu* Menu, TPoint P);
    void PopupSkinMenu1(TMenu* Menu, TRect R, bool PopupUp);
    // Opens AItem's sub-items through the engine in menu mode; a menu that opens no level leaves no menu mode.
    bool PopupItems(TControl* APopupCtrl, TspSkinData* ASkin, TMenuItem* AItem, TRect R, bool PopupUp);
    void SkinMenuOpen();
    void SkinMenuClose();
    void EnterMainMenu();
    void ExitMainMenu();
    void ReleaseDownItem();
    bool CheckHotKey(win::WORD Key);
    void NextMainMenuItem();
    void PrevMainMenuItem();
    bool CheckReturnKey();
    bool TopPopupItemIsLeaf();
    bool IsFirstPopupLevel();
    void SkinMenuKeyDown(TMessage& Message);
    void MenuAppMessage(win::MSG& Msg, bool& Handled);
    void CheckMenuCloseMessage(TMessage& Message);
    void HookAppMessage();
    void UnHookAppMessage();

    bool InMenu = false;
    bool InMainMenu = false;
    bool FInAppHook = false;
    TspMainMenuKeyboard* MainMenuBar = nullptr;
    // What the keyboard main-menu mode drives: the linked bar, else the caption's main-menu items (nullptr when
    // the form shows none).
    TspMainMenuKeyboard* MainMenuKeys();
    TNotifyEvent OnSkinMenuOpen;
    TNotifyEvent OnSkinMenuClose;
    TNotifyEvent OnMainMenuEnter;
    TNotifyEvent OnMainMenuExit;

    // System menu, tray and MDI (system_menu.cpp).
    TMenuItem* GetSystemMenuItems();
    void BuildDefaultSystemMenu();
    void UpdateUserSystemMenu();
    void PopupSystemMenu(Integer X, Integer Y);
    void PopupSystemMenuInRect(TRect R);
    void PopupSystemMenuAtButton();
    void DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y);
    void SysMinimizeClick(TObject* Sender);
    void SysMaximizeClick(TObject* Sender);
    void SysRestoreClick(TObject* Sender);
    void SysRollUpClick(TObject* Sender);
    void SysMinimizeToTrayClick(TObject* Sender);
    void SysCloseClick(TObject* Sender);
    void CreateTrayMenu();
    void MinimizeToTray();
    void RestoreFromTray();
    TspTrayIconLink* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TspTrayIconLink* AValue);
    TPopupMenu* TrayMenu() const { return FTrayMenu; }
    bool AlwaysShowInTray = false;
    bool UseDefaultSysMenu = true;
    TNotifyEvent OnMinimizeToTray;
    TNotifyEvent OnRestoreFromTray;
    // Whether the form shows the given state; the skinned form's window state and roll-up when it has them.
    bool FormMaximized();
    bool FormMinimized();
    bool FormRolledUp();

    // MDI: the main form's Window menu item under which the children are listed.
    TMenuItem* WindowMenu = nullptr;
    void AddChildToMenu(TCustomForm* Child);
    void DeleteChildFromMenu(TCustomForm* Child);
    void UpDateChildCaptionInMenu(TCustomForm* Child);
    void UpDateChildActiveInMenu();
    void MDIItemClick(TObject* Sender);
    void GetMDIWorkArea(TRect& R);
    void Tile();
    void Cascade();
    void MinimizeAll();
    void MaximizeAll();
    void RestoreAll();
    void CloseAll();
    void ArrangeMinimizedChildren();
    void GetMinimizedPosition(TCustomForm* AForm, TPoint& P);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void FormWndProc(TMessage& Message);
    void FormShortCut(TMessage& Msg, bool& Handled);
    void ReleasePressedObject();
    // The menus of the application's main form, which an MDI child uses; this one when none.
    TspFormMenus* MainFormMenus();
    void AddSystemItem(TMenuItem* AParent, Integer AIndex, const char* AName, const char* AKey,
                       const char* ACaption, void (TspFormMenus::*AClick)(TObject*));

    TCustomForm* FForm;
    TspCorvalis* FSkinForm;
    TWndMethod FOldWindowProc;
    TShortCutEvent FOldShortCut;
    bool FAttached = false;
    bool FAltSpace = false;
    int FHookId = 0;
    TPopupMenu* FDefaultSystemMenu = nullptr;
    TPopupMenu* FTrayMenu = nullptr;
    TspTrayIconLink* FTrayIcon = nullptr;
    std::unique_ptr<TspCaptionMenuKeyboard> FCaptionKeys;
};

// The menus of a skinned form's component (made on first use); nullptr for no component.
TspFormMenus* FormMenusOf(TspCorvalis* ASkinForm);
// The menus of the first skinned-form component the form owns; nullptr when it has none.
TspFormMenus* FormMenusOfForm(TCustomForm* AForm);
// The skinned-form component's form, for callers that cannot see the component's header.
TCustomForm* SkinFormOwner(TspCorvalis* ASkinForm);
// A skinned popup menu as the tray menu of AMenus' form.
TPopupMenu* NewSkinTrayMenu(TspFormMenus* AMenus);
