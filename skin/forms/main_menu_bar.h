#pragma once
// The skinned main-menu bar: a form's main menu drawn from the skin's "mainmenubar" record in place of the native
// menu bar. One object per visible top-level item, hot tracking by a polling timer, morph and frame animation
// between the normal and hot looks, drop-downs opened through the skinned form's menu engine, and the keyboard
// main-menu mode the form drives through TspMainMenuKeyboard. Items that do not fit hide behind a marker at the
// right end which lists them.
//
// Files: main_menu_bar.cpp (the bar: building, layout, painting, timers, mouse), main_menu_bar_items.cpp (the bar
// objects and the item's looks), main_menu_bar_keys.cpp (keyboard and menu mode).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/menus.h"
#include "platform/gui/timer.h"
#include "skin/controls/skin_control.h"
#include "skin/core/effect_bitmap.h"
#include "skin/forms/menu_mode.h"

class TspCorvalis;
class TspDataSkinObject;
class TspDataSkinMainMenuItem;
class TspSkinMainMenuBar;

// A main menu that names the skin its drop-downs opened from the form's frame use.
class TspSkinMainMenu : public TMainMenu {
public:
    using TMainMenu::TMainMenu;
    TspSkinData* SkinData() const { return FSD; }
    void SetSkinData(TspSkinData* AValue);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TspSkinData* FSD = nullptr;
};

// Anything drawn on the bar: the items, and the buttons of a maximized MDI child.
class TspMenuBarObject : public TObject {
public:
    TspMenuBarObject(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData);
    ~TspMenuBarObject() override = default;
    TspMenuBarObject(const TspMenuBarObject&) = delete;
    TspMenuBarObject& operator=(const TspMenuBarObject&) = delete;

    virtual void RedrawState();
    virtual void Draw(TCanvas* /*Cnvs*/) {}
    virtual void DblClick() {}
    virtual void MouseDown(Integer /*X*/, Integer /*Y*/, TMouseButton /*Button*/) {}
    virtual void MouseUp(Integer /*X*/, Integer /*Y*/, TMouseButton /*Button*/) {}
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual bool CanMorphing();
    bool EnableMorphing();
    void SetMorphKf(double Value);
    void DoMorphing();

    TspSkinMainMenuBar* Parent;
    double FMorphKf = 0;  // 0 the normal look, 1 the hot look
    bool FMouseIn = false;
    TBitmap* Picture = nullptr;
    bool FDown = false;
    std::string IDName;
    TRect SkinRect, ActiveSkinRect, DownRect;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    TRect ObjectRect;  // bar client coordinates
    bool Active = false;
    bool Enabled = true;
    bool Visible = true;  // drawn by the bar
};

// One top-level menu item.
class TspSkinMainMenuBarItem : public TspMenuBarObject {
public:
    TspSkinMainMenuBarItem(TspSkinMainMenuBar* AParent, TspDataSkinMainMenuItem* AData);

    void RedrawState() override;
    void Draw(TCanvas* Cnvs) override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool EnableAnimation();
    void DefaultDraw(TCanvas* Cnvs);
    void SetDown(bool Value);
    void PopupSubMenu();
    // Places the item after APrevRight (0: at the items area's left edge) and tests whether it fits; a
    // non-fitting item is hidden and disabled, a fitting one that was hidden gets its enabled state back.
    void Place(TCanvas* AMeasure, Integer APrevRight);

    bool FSkinSupport = false;
    bool OldEnabled = true;  // Enabled while hidden for lack of room
    bool Fits = true;        // the item fits on the bar (hidden items are skipped by hit tests and keys)
    TMenuItem* MenuItem = nullptr;
    std::string FontName;
    Integer FontHeight = 0;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
    TRect TextRct;
    TRect ItemDownRect;  // the pressed look this item draws
    Integer LO = 0, RO = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    Integer FrameCount = 0, AnimateInterval = 0;
    Integer CurrentFrame = 0;  // 0: not animating; FrameCount + 1: played to the hot look
    bool InActiveAnimation = false;

private:
    void SetItemFont(TCanvas* C);
    TRect AnimationFrameRect() const;
    // One look of the item at its size: ALook from the picture (or the bar background under it) with the text.
    void DrawLook(TBitmap* B, TCanvas* Target, const TRect& ALook, bool AHotText, bool AHotStretch);
    void DrawText(TCanvas* C, TColor AColor, bool ASelected);
};

using TMainMenuItemClick = std::function<void(const std::string& IDName)>;
using TspItemEnterEvent = std::function<void(TMenuItem* MenuItem)>;
using TspItemLeaveEvent = std::function<void(TMenuItem* MenuItem)>;

class TspSkinMainMenuBar : public TspSkinControl, public TspMainMenuKeyboard {
public:
    explicit TspSkinMainMenuBar(TComponent* AOwner);
    ~TspSkinMainMenuBar() override;

    TMainMenu* MainMenu() const { return FMainMenu; }
    void SetMainMenu(TMainMenu* Value);
    // The skinned form whose menu engine and menu mode the bar uses; the bar drives its keyboard menu mode.
    TspCorvalis* Corvalis() const { return CVL; }
    void SetCorvalis(TspCorvalis* Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value);
    bool ScrollMenu() const { return FScrollMenu; }
    void SetScrollMenu(bool Value) { FScrollMenu = Value; }
    TFont* DefItemFont() const { return FDefItemFont.get(); }
    void SetDefItemFont(TFont* Value);
    Integer DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(Integer Value);
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer Value);
    bool PopupToUp() const { return FPopupToUp; }
    void SetPopupToUp(bool Value) { FPopupToUp = Value; }

    void Merge(TMainMenu* Menu);
    void UnMerge();
    void UpDateItems();
    void UpDateEnabledItems();
    TMainMenu* GetChildMainMenu();

    void GetSkinData() override;
    void BeforeChangeSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

    // Keyboard and menu mode, called by the skinned form.
    bool CheckHotKey(win::WORD Key) override;
    void NextMainMenuItem() override;
    void PrevMainMenuItem() override;
    bool CheckReturnKey() override;
    void EnterMainMenu() override;
    void ReleaseDownItem() override;
    void ExitMainMenu() override;
    TMenu* KeyboardMenu() const override { return FMainMenu; }

    // The objects and the state the items and the form read.
    Integer ObjectCount() const { return static_cast<Integer>(ObjectList.size()); }
    TspMenuBarObject* Objects(Integer AIndex) const { return ObjectList[static_cast<size_t>(AIndex)].get(); }
    // The item objects in display order (the child buttons left out).
    std::vector<TspSkinMainMenuBarItem*> Items() const;
    TspFormMenus* FormMenus() const;
    bool HasRecord() const { return FSkinSupport; }
    TRect GetMarkerRect() const;
    void DrawObject(TspMenuBarObject* Obj);
    void TrackHotObject(Integer X, Integer Y);
    // Places every item as the next paint would; the bar's Scroll flag tells whether any was hidden.
    void LayoutItems();
    void PopupHiddenItems();
    // The whole bar through one off-screen image onto C (the paint, and pictures of the bar).
    void PaintBar(TCanvas* C);
    // The font an item is drawn in: the item record's with UseSkinFont, else DefItemFont.
    void SetItemFont(TCanvas* C, TspSkinMainMenuBarItem* Item);

    TMainMenuItemClick OnMainMenuItemClick;
    TNotifyEvent OnMouseEnter, OnMouseLeave;
    TspItemEnterEvent OnItemMouseEnter;
    TspItemLeaveEvent OnItemMouseLeave;

    Integer ButtonsCount = 0;  // buttons of a maximized MDI child at the front of ObjectList
    bool FMDIChildMax = false;
    bool MenuActive = false;
    bool Scroll = false;
    bool MarkerActive = false;
    std::unique_ptr<TTimer> MorphTimer, MouseTimer, AnimateTimer;
    Integer ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
    TRect NewItemsRect;
    TRect SkinRect, ItemsRect;
    std::string MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
    TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
    TBitmap* Picture = nullptr;
    bool StretchEffect = false;
    bool ItemTransparent = false;
    std::vector<std::unique_ptr<TspMenuBarObject>> ObjectList;
    bool ChildMenuIn = false;

protected:
    void Paint() override;
    void WndProc(TMessage& AMessage) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    void CreateMenu();
    void ClearObjects();
    void CalcNewItemsRect();
    void DrawMarker(TCanvas* C);
    void MouseTimerProc();
    void MorphTimerProc();
    void AnimateTimerProc();
    void ItemLeave(TspSkinMainMenuBarItem* Item);
    void ItemEnter(TspSkinMainMenuBarItem* Item);

    bool FUseSkinFont = true;
    bool FScrollMenu = true;
    std::unique_ptr<TFont> FDefItemFont;
    bool FSkinSupport = false;
    bool FPopupToUp = false;
    TspCorvalis* CVL = nullptr;
    TMainMenu* FMainMenu = nullptr;
    Integer FDefaultWidth = 0, FDefaultHeight = 22;
    TMainMenu* FMergeMenu = nullptr;
    // The child menu the items were merged with, heard of when it goes.
    TMainMenu* FChildMenu = nullptr;
    // An object runs a handler (a click may rebuild the list): the old objects wait for it to return.
    Integer FObjectCallDepth = 0;
    std::vector<std::unique_ptr<TspMenuBarObject>> FRetiredObjects;
};

// Whether a form shows its main menu on a main-menu bar, so that its skinned frame must not draw the menu's
// items in the caption as well.
bool FormShowsMenuOnBar(TspCorvalis* ASkinForm);
