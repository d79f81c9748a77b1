#pragma once
// Menus as a model: items with captions ("&" marks the accelerator), shortcuts, checks and radio groups,
// commands, and plain renderings of popup menus and the menu bar.
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/classes.h"

#include <string>
#include <vector>

using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(win::WORD AKey, TShiftState AShift);
void ShortCutToKey(TShortCut AShortCut, win::WORD& AKey, TShiftState& AShift);
std::string ShortCutToText(TShortCut AShortCut);
TShortCut TextToShortCut(const std::string& AText);  // 0 when not understood
// The accelerator of a caption ("&File" -> 'F'), 0 when it has none; "&&" is a plain "&".
char32_t GetHotkey(const std::string& ACaption);
// Whether AKey (a character) is the accelerator of ACaption, ignoring case.
bool IsAccel(char32_t AKey, const std::string& ACaption);
std::string StripHotkey(const std::string& ACaption);

class TMenu;
class TMenuItem;
using TMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool ASelected)>;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& AValue);
    bool IsLine() const { return FCaption == "-"; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut AValue) { FShortCut = AValue; Changed(); }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool AValue) { FEnabled = AValue; Changed(); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool AValue) { FVisible = AValue; Changed(); }
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the other radio items of its group among its siblings.
    void SetChecked(bool AValue);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool AValue) { FRadioItem = AValue; Changed(); }
    Byte GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte AValue) { FGroupIndex = AValue; }
    bool Default() const { return FDefault; }
    void SetDefault(bool AValue);
    TBitmap* Bitmap();
    bool HasBitmap() const { return FBitmap != nullptr; }
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue) { FImageIndex = AValue; Changed(); }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& AValue) { FHint = AValue; }
    win::WORD Command() const { return FCommand; }

    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    TMenuItem* Items(Integer AIndex) const;
    TMenuItem* Parent() const { return FParent; }
    Integer MenuIndex() const;
    Integer IndexOf(TMenuItem* AItem) const;
    void Add(TMenuItem* AItem);
    void Insert(Integer AIndex, TMenuItem* AItem);
    void Delete(Integer AIndex);  // deletes the item too
    void Remove(TMenuItem* AItem);  // takes it out without deleting it
    void Clear();
    TMenuItem* Find(const std::string& ACaption) const;  // by caption without "&", ignoring case
    // Hides separators that would start or end the menu or follow another; true when anything changed.
    bool RethinkLines();
    bool LineHidden() const { return FLineHidden; }
    TMenu* GetParentMenu() const;

    virtual void Click();
    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;

private:
    friend class TMenu;
    void Changed();

    std::string FCaption;
    TShortCut FShortCut = 0;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FRadioItem = false;
    Byte FGroupIndex = 0;
    bool FDefault = false;
    bool FLineHidden = false;
    TBitmap* FBitmap = nullptr;
    Integer FImageIndex = -1;
    std::string FHint;
    win::WORD FCommand = 0;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // for the root item
    std::vector<TMenuItem*> FItems;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool AValue) { FOwnerDraw = AValue; }

    // Clicks the item with that command; false when there is none.
    bool DispatchCommand(win::WORD ACommand);
    TMenuItem* FindCommand(win::WORD ACommand) const;
    TMenuItem* FindShortCut(TShortCut AShortCut) const;
    // A key message (WParam: key) matching an enabled, visible item's shortcut clicks it (its submenus'
    // OnClick run first, as when opening them); true when so.
    virtual bool IsShortCut(TMessage& AMessage);
    // The menu changed (items, captions, checks): repaint what shows it.
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    friend class TMenuItem;
    void ItemChanged();
    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
};

class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    // Shows the menu at a screen point and returns when it closes (an item clicked or the menu dismissed).
    virtual void Popup(Integer AX, Integer AY);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool AValue) { FAutoPopup = AValue; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* AValue) { FPopupComponent = AValue; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment AValue) { FAlignment = AValue; }
    TPoint PopupPoint() const { return FPopupPoint; }
    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup(TObject* ASender);

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = paLeft;
    TPoint FPopupPoint{-1, -1};
};

// The plain rendering: runs a popup of AItem's children at a screen point until an item is chosen or the
// menu dismissed; returns the chosen item (already clicked) or nullptr.
TMenuItem* TrackPlainMenu(TMenuItem* AItem, TPoint AScreen, TCustomImageList* AImages);
// Measures and draws one item the plain way.
TSize MeasurePlainMenuItem(TCanvas* ACanvas, TMenuItem* AItem, bool AInBar);
void DrawPlainMenuItem(TCanvas* ACanvas, TMenuItem* AItem, const TRect& ARect, bool ASelected, bool AInBar,
                       TCustomImageList* AImages);
