#pragma once
// The MDI parent's row of tabs, one per shown child, drawn from the skin's tab record (or, in button style, from
// its resizable button records). A click brings a child to the front, a tab's close button closes it, a drag
// reorders the tabs and a right click opens the child's system menu. Tabs that do not fit at their minimum width
// are hidden and listed by a menu button at the right end; a menu button at the left end lists every child.
// The children's skinned forms add and remove their tabs (the parent's skinned form holds the bar).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/forms.h"
#include "skin/controls/skin_control.h"

class TspCorvalis;
class TspSkinMDITabsBar;
class TspSkinMenuSpeedButton;
class TspSkinPopupMenu;

enum TspSkinMDITabKind { sptkTab, sptkButton };

class TspMDITab {
public:
    TspMDITab(TspSkinMDITabsBar* AParentBar, TCustomForm* AChild);

    void Draw(TCanvas* Cnvs);
    void ButtonDraw(TCanvas* Cnvs);
    void ResizeDraw(TCanvas* Cnvs);
    void DrawCloseButton(TCanvas* Cnvs, TRect R);

    TspSkinMDITabsBar* TabsBar;
    bool Active = false;
    bool MouseIn = false;
    // In bar coordinates; empty while hidden.
    TRect ObjectRect;
    TCustomForm* Child;
    bool Visible = false;
    // In the coordinates of the tab's own image.
    TRect ButtonRect;
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;

private:
    // The plain looks: without a record, and from the record at the skin's tab size.
    void PlainDraw(TCanvas* Cnvs);
    // AText, narrowed for the close button drawn to its right when the bar shows close buttons.
    TRect TextBesideCloseButton(TCanvas* Cnvs, TRect AText, Integer AWidth, Integer AHeight);
    // The caption, cut with "..." to R, in the bar's text format.
    void DrawCaption(TCanvas* Cnvs, TRect R, bool ARaiseDrawParams);
};

using TspMDITabMouseEnterEvent = std::function<void(TspMDITab* MDITab)>;
using TspMDITabMouseLeaveEvent = TspMDITabMouseEnterEvent;
using TspMDITabMouseDownEvent = std::function<void(TMouseButton Button, TShiftState Shift, TspMDITab* MDITab)>;
using TspMDITabMouseUpEvent = TspMDITabMouseDownEvent;
using TspMDITabGetDrawParamsEvent = std::function<void(TspMDITab* MDITab, TCanvas* Cnvs)>;

class TspSkinMDITabsBar : public TspSkinControl {
public:
    explicit TspSkinMDITabsBar(TComponent* AOwner);
    ~TspSkinMDITabsBar() override;

    void AddTab(TCustomForm* Child);
    void DeleteTab(TCustomForm* Child);
    void UpdateTabs();
    // Draws every tab of Child on the bar again (its caption changed).
    void RedrawTabsOf(TCustomForm* Child);
    // The first visible tab whose rectangle holds the point, right and bottom edges included.
    Integer GetTabIndex(Integer X, Integer Y);
    TspMDITab* GetTab(Integer X, Integer Y);
    Integer GetCloseSize();
    void GetSkinData() override;
    void ChangeSkinData() override;

    // Layout of the tabs for the bar's current size; run at every paint.
    void CalcTabRects();
    // Where a dragged tab would land; -1 for none.
    Integer GetMoveIndex();
    void TrackHotTab(Integer X, Integer Y);

    Integer TabCount() const { return static_cast<Integer>(ObjectList.size()); }
    TspMDITab* Tabs(Integer AIndex) const { return ObjectList[static_cast<size_t>(AIndex)].get(); }
    Integer InVisibleCount() const { return FInVisibleCount; }
    TspSkinMenuSpeedButton* ListButton() const { return FListButton; }
    TspSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
    TspSkinPopupMenu* ListMenu() const { return FListMenu; }
    TspSkinPopupMenu* HideListMenu() const { return FHideListMenu; }
    // Rebuild the two menus from the tabs (the menu buttons do it before their menus open).
    void UpdateListMenu();
    void UpdateHideListMenu();
    // Whether a drag is under way and how far it has gone.
    bool Dragging() const { return IsDrag; }
    Integer DragDistance() const { return TabDX; }

    // Properties.
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool AValue);
    TspSkinMDITabKind TabKind() const { return FTabKind; }
    void SetTabKind(TspSkinMDITabKind AValue);
    TspCorvalis* Corvalis() const { return CVL; }
    void SetCorvalis(TspCorvalis* AValue);
    bool SupportChildMenus() const { return FSupportChildMenus; }
    void SetSupportChildMenus(bool AValue) { FSupportChildMenus = AValue; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    bool MoveTabs() const { return FMoveTabs; }
    void SetMoveTabs(bool AValue) { FMoveTabs = AValue; }
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer AValue);
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* AValue) { FDefaultFont.Assign(AValue); }
    Integer DefaultTabWidth() const { return FDefaultTabWidth; }
    void SetDefaultTabWidth(Integer AValue) { FDefaultTabWidth = AValue; }
    Integer MinTabWidth() const { return FMinTabWidth; }
    void SetMinTabWidth(Integer AValue) { FMinTabWidth = AValue; }

    TspMDITabMouseEnterEvent OnTabMouseEnter;
    TspMDITabMouseLeaveEvent OnTabMouseLeave;
    TspMDITabMouseUpEvent OnTabMouseUp;
    TspMDITabMouseDownEvent OnTabMouseDown;
    TspMDITabGetDrawParamsEvent OnTabGetDrawParamsEvent;

    // The record's look, copied at every lookup (the tabs draw from it).
    TBitmap* Picture = nullptr;
    TRect TabRect, ActiveTabRect, MouseInTabRect, TabsBGRect;
    Integer TabLeftOffset = 0, TabRightOffset = 0;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = clBtnText, ActiveFontColor = clBtnText, MouseInFontColor = clBtnText;
    bool TabStretchEffect = false;
    TRect CloseButtonRect, ClosebuttonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = clBlack;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect SkinRect, ClRect;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TspStretchType StretchType = spstFull;
    Integer FBottomOffset = 0;
    Integer FActiveTabOffset = 0;
    Integer FCloseSize = 14;

protected:
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void Paint() override;
    void AdjustClientRect(TRect& ARect) override;
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TspMDITab;
    // The tabs' height: the bar's, less the bottom strip in tab style with a record.
    Integer TabHeight();
    void DrawTabs(TCanvas* C);
    void DrawBackground(TCanvas* C);
    void DrawDropMark(TCanvas* C);
    void DrawTab(TspMDITab* ATab);
    Integer IndexOfTab(const TspMDITab* ATab) const;
    void CreateListButton();
    void CreateHideListButton();
    void FreeListButton();
    void FreeHideListButton();
    void FillChildMenu(TspSkinPopupMenu* AMenu, const std::string& ASuffix, bool AHiddenOnly,
                       void (TspSkinMDITabsBar::*AClick)(TObject*));
    void ListItemClick(TObject* Sender);
    void HideListItemClick(TObject* Sender);
    void ShowChildNamed(TObject* Sender, const std::string& ASuffix);
    // Restored when minimized, shown and put in front of the other children.
    void BringChildToFront(TCustomForm* Child);
    void PopupChildMenu(TspMDITab* ATab, Integer X, Integer Y);

    bool FShowCloseButtons = false;
    Integer FMinTabWidth = 0;
    TspSkinMDITabKind FTabKind = sptkTab;
    bool FSupportChildMenus = true;
    bool IsDrag = false, FDown = false;
    Integer DX = 0, TabDX = 0;
    Integer DragIndex = -1;
    Integer FDefaultTabWidth = 100;
    Integer FDefaultHeight = 21;
    TFont FDefaultFont;
    Integer ActiveTabIndex = -1, OldTabIndex = -1;
    bool FMoveTabs = true;
    bool FUseSkinSize = true;
    bool FUseSkinFont = true;
    TspCorvalis* CVL = nullptr;
    TspSkinMenuSpeedButton* FListButton = nullptr;
    TspSkinMenuSpeedButton* FHideListButton = nullptr;
    TspSkinPopupMenu* FListMenu = nullptr;
    TspSkinPopupMenu* FHideListMenu = nullptr;
    Integer FInVisibleCount = 0;
    // The right end a dragged tab may reach, from the last layout.
    Integer FDragLimit = 0;
    std::vector<std::unique_ptr<TspMDITab>> ObjectList;
};

// The tab layout for N tabs on a AWidth-wide bar: each tab's rectangle (empty when it does not fit), the number
// of hidden tabs and the right end a dragged tab may reach.
struct TspTabLayout {
    std::vector<TRect> Rects;
    std::vector<bool> Visible;
    Integer Hidden = 0;
    Integer DragLimit = 0;
};
TspTabLayout LayoutMDITabs(Integer N, Integer AWidth, Integer AHeight, Integer ADefaultTabWidth, Integer AMinTabWidth);
