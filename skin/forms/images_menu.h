#pragma once
// The images menu: a picker that pops up a grid of images (colours, styles, symbols) in a skinned window and lets
// the user choose one cell with the mouse or the keyboard. Its cells are items of its own collection, not menu
// items; full-width rows hold a button (image and caption) or a title that cannot be chosen. While open, the
// window holds the mouse capture and the application's message hook: keys move over the cells, and a click
// elsewhere or a closing message closes it without a choice.
#include <memory>
#include <string>

#include "platform/gui/controls.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/classes.h"
#include "skin/core/skin_data.h"

class TspDataSkinButtonControl;
class TspSkinHint;
class TspSkinImagesMenu;

class TspImagesMenuItem : public TCollectionItem {
public:
    explicit TspImagesMenuItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
    // From another images-menu item: image, caption, button kind and hint.
    void Assign(TPersistent* Source) override;

    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer Value) { FImageIndex = Value; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    bool Button() const { return FButton; }
    void SetButton(bool Value) { FButton = Value; }
    bool Header() const { return FHeader; }
    void SetHeader(bool Value) { FHeader = Value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }

    TNotifyEvent OnClick;  // Sender: the images menu
    TRect ItemRect;        // the cell in window coordinates, set at each layout

private:
    Integer FImageIndex = -1;
    std::string FCaption;
    bool FButton = false;
    bool FHeader = false;
    std::string FHint;
};

class TspImagesMenuItems : public TOwnedCollection {
public:
    explicit TspImagesMenuItems(TspSkinImagesMenu* AImagesMenu);
    TspImagesMenuItem* Items(Integer Index) const { return static_cast<TspImagesMenuItem*>(TCollection::Items(Index)); }
    TspImagesMenuItem* Add() { return static_cast<TspImagesMenuItem*>(TCollection::Add()); }

    TspSkinImagesMenu* ImagesMenu;
};

// The open picker: a top-level popup that never takes the activation.
class TspSkinImagesMenuPopupWindow : public TCustomControl {
public:
    explicit TspSkinImagesMenuPopupWindow(TspSkinImagesMenu* AImagesMenu);
    ~TspSkinImagesMenuPopupWindow() override;

    void Show(TRect PopupRect);
    // Closes the picker; with AProcessEvents the choice's events fire.
    void Hide(bool AProcessEvents);
    void ProcessKey(Integer KeyCode);
    // The application's messages while the picker is open.
    void AppMessage(win::MSG& Msg, bool& Handled);

    // Layout, size and place (public so that tests can read them).
    void CalcItemRects();
    void CalcSize();
    TPoint CalcShowPosition(const TRect& PopupRect);
    void TrackHotCell(Integer X, Integer Y);
    // The whole window through one off-screen image onto C.
    void PaintWindow(TCanvas* C);
    // Frees the window now, or once the handler it is running has returned.
    void Release();

    bool FSkinSupport = false;
    TspSkinImagesMenu* ImagesMenu;
    TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
    TRect NewItemsRect;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    Integer MouseInItem = -1;
    Integer OldMouseInItem = -1;
    bool FDown = false;
    bool FItemDown = false;

protected:
    void CreateParams(TCreateParams& AParams) override;
    void WndProc(TMessage& AMessage) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    bool CheckSkinSupport();
    TspDataSkinPopupWindow* PW() const;
    Integer CellAt(Integer X, Integer Y) const;
    void SetHotCell(Integer AIndex);
    void HideCellHint();
    void DrawItems(TCanvas* C);
    void DrawItemFrame(const TRect& R, TCanvas* C, bool Down);
    void DrawItemText(const std::string& Caption, const TRect& R, bool Down, bool Active, TCanvas* C);
    void DrawHeader(TCanvas* C, const TRect& R, const std::string& Caption);
    TspDataSkinButtonControl* ButtonRecord() const;

    int FHandlerDepth = 0;
    bool FReleaseRequested = false;
    bool FHooked = false;
    int FHookId = 0;
};

class TspSkinImagesMenu : public TComponent {
public:
    explicit TspSkinImagesMenu(TComponent* AOwner);
    ~TspSkinImagesMenu() override;

    // Opens the picker at a screen point, or below (above, without room) a screen rectangle.
    void Popup(Integer X, Integer Y);
    void PopupFromRect(TRect R);
    // Closes an open picker without a choice.
    void Hide();

    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TspImagesMenuItems* ImagesItems() const { return FImagesItems.get(); }
    void SetImagesItems(TspImagesMenuItems* Value) { FImagesItems->Assign(Value); }
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer Value) { FItemIndex = Value; }
    Integer ColumnsCount() const { return FColumnsCount; }
    // 1 to 50; other values are ignored.
    void SetColumnsCount(Integer Value);
    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* Value);
    TspSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TspSkinHint* Value);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value);
    // The item at ItemIndex, nullptr when ItemIndex is not an item's.
    TspImagesMenuItem* SelectedItem() const;
    TspSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow; }

    bool ShowSelectedItem = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    Byte AlphaBlendValue = 200;
    bool UseSkinFont = true;
    bool ShowHints = true;
    TNotifyEvent OnItemClick, OnChange, OnMenuClose, OnMenuPopup;
    // Set by a bound button: to repaint itself, and to release itself before the menu opens.
    TNotifyEvent OnInternalChange, OnInternalMenuClose;

    // The window tells the menu it closed.
    void PopupWindowClosed(bool AProcessEvents);

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    TCustomImageList* FImages = nullptr;
    std::unique_ptr<TspImagesMenuItems> FImagesItems;
    Integer FItemIndex = -1;
    Integer FColumnsCount = 1;
    TspSkinData* FSkinData = nullptr;
    TspSkinImagesMenuPopupWindow* FPopupWindow = nullptr;
    Integer FOldItemIndex = -1;
    std::unique_ptr<TFont> FDefaultFont;
    TspSkinHint* FSkinHint = nullptr;
};
