#pragma once
// One open level of a skinned menu: a top-level popup that never takes the activation. It builds one item per
// visible sub-item, sizes itself to its items and the skin, places itself against its anchor inside the work
// area, tracks the cursor by polling, scrolls when its items do not fit, and paints its background, items and
// scroll markers. The menu engine creates, stacks and releases the levels and decides what input does.
#include <memory>
#include <vector>

#include "platform/gui/controls.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"
#include "platform/gui/timer.h"
#include "skin/core/skin_data.h"
#include "skin/forms/menu_item.h"

class TspSkinMenu;

class TspSkinPopupWindow : public TCustomControl {
public:
    TspSkinPopupWindow(TComponent* AOwner, TspSkinMenu* AParentMenu, TspDataSkinPopupWindow* AData);
    ~TspSkinPopupWindow() override;

    // Build, size, place and show the level (Show2: the sub-items of AItem and then of AItem2).
    void Show(TRect R, TMenuItem* AItem, Integer StartIndex, bool PopupByItem, bool PopupUp);
    void Show2(TRect R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex, bool PopupByItem, bool PopupUp);
    void PaintMenu(win::HDC DC);
    // Hides without activating anything.
    void Hide();
    // Stops every timer and hides; the engine then releases the window through the message loop.
    void Dismiss();
    void PopupKeyDown(Integer CharCode);

    void ScrollUp(bool Cycle);
    void ScrollDown(bool Cycle);
    // Closes the levels above this one and releases its pressed items.
    void CloseChildLevels();
    void NextMenuItem();
    void PrevMenuItem();
    void TrackHotItem(Integer X, Integer Y);

    // Geometry (public so that tests can read it).
    void CalcItemRects();
    Integer GetLastStartIndex();
    void CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp);
    Integer ItemHeight(TspSkinMenuItem* AItem) const;
    bool CanScroll(Integer ACode);
    bool Skinned() const { return PW != nullptr; }
    // Redraws one item straight on the window.
    void DrawItemNow(TspSkinMenuItem* AItem);
    void DrawItemBackground(TCanvas* Cnvs, const TRect& R);
    Integer ItemCount() const { return static_cast<Integer>(ItemList.size()); }
    TspSkinMenuItem* Item(Integer AIndex) const { return ItemList[static_cast<size_t>(AIndex)].get(); }

    TspDataSkinMenuItem* DSMI = nullptr;
    Integer VisibleCount = 0;
    Integer VisibleStartIndex = 0;
    bool Scroll = false;
    bool Scroll2 = false;
    Integer ScrollCode = 0;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    win::HRGN FRgn = nullptr;
    Integer ShowX = 0, ShowY = 0;
    Integer OMX = -1, OMY = -1;
    TCustomImageList* ImgL = nullptr;
    Integer GlyphWidth = 16;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    Integer OldActiveItem = -1;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TspSkinMenu* ParentMenu;
    TspSkinData* SD = nullptr;
    TspDataSkinPopupWindow* PW = nullptr;
    bool AlphaBlend = false;
    Byte AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    std::vector<std::unique_ptr<TspSkinMenuItem>> ItemList;
    Integer ActiveItem = -1;
    std::unique_ptr<TBitmap> FPaintBuffer;

private:
    int FHandlerDepth = 0;
    bool FReleaseRequested = false;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void WndProc(TMessage& AMessage) override;
    void Paint() override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;

private:
    void HandleMessage(TMessage& AMessage);
    void CreateMenu(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex);
    void AddItems(TMenuItem* AItem, Integer AFrom);
    void SetCanvasFont();
    void CalcWindowSize();
    Integer CalcWindowWidth();
    Integer CalcWindowHeight();
    void CalcSkinPoints();
    void SetMenuWindowRegion();
    void ShowLevel(const TRect& R, bool PopupByItem, bool PopupUp);
    void MouseTimerProc(TObject* Sender);
    void MorphTimerProc(TObject* Sender);
    void StartScroll();
    void StopScroll();
    void CreateMenuWindowImage(TBitmap* B, bool DrawClient);
    void DrawScrollMarkers(TCanvas* Cnvs);
    TRect UpZone() const;
    TRect DownZone() const;
    // The first item with CharCode as its accelerator is highlighted and pressed; false when there is none.
    bool FindHotKeyItem(Integer CharCode);
};

// Raises a layered window's alpha from 0 to AValue in steps of the timers' clock (a fifteenth of AValue each).
void FadeInByTimer(TWinControl* AWindow, Byte AValue);
