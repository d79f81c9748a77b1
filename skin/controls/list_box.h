#pragma once
// The skinned list box: a frame drawn from the "listbox" record (with an optional caption strip, glyph and up,
// down and check caption buttons) around the native list TspListBox. Skinned scroll bars are created while the
// inner list can scroll and freed when it no longer can; they mirror its scroll state and scroll it back.
// The inner list's mouse, key, click and focus notifications reach overridable hooks that fire the frame's own
// OnListBox* events, so file and directory lists can derive from the frame.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/strings.h"
#include "skin/controls/inner_list_box.h"
#include "skin/controls/repeat_timer.h"
#include "skin/controls/skin_custom_control.h"

class TspSkinScrollBar;

// Item painting by the user: on the row's off-screen canvas, with the text rectangle the look computed.
using TspDrawSkinItemEvent = std::function<void(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight,
                                                TRect TxtRect, TOwnerDrawState State)>;

// Where the bars and the inner list go inside the frame.
struct TspListAreaInput {
    bool Skinned = false;
    Integer Width = 0, Height = 0;
    TRect NewClRect;          // skinned: the skin's client rectangle at the current size
    Integer CaptionTop = 1;   // unskinned: the caption height in caption mode, else 1
    bool MultiColumn = false;
    bool VBar = false;        // the vertical (or column) bar exists and is visible
    Integer VBarWidth = 19, VBarHeight = 19;
    bool HBar = false;        // the horizontal-extent bar exists and is visible
    Integer HBarHeight = 19;
};
struct TspListAreaLayout {
    TRect VBarBounds, HBarBounds;  // (left, top, right, bottom); empty when the bar is not placed
    TRect ListRect;
};
TspListAreaLayout ComputeListArea(const TspListAreaInput& AIn);

// The fields copied from a list-box record, with the fall-backs applied.
struct TspListBoxSkin {
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TRect SItemRect, ActiveItemRect, FocusItemRect, ItemTextRect;
    Integer ItemLeftOffset = 0, ItemRightOffset = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
    TRect CaptionRect;
    std::string CaptionFontName;
    TFontStyles CaptionFontStyle;
    Integer CaptionFontHeight = 0;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    std::string VScrollBarName, HScrollBarName, BothScrollBarName;
    bool ShowFocus = false;
    TRect DisabledButtonsRect, ButtonsArea;
};

class TspSkinCustomListBox : public TspSkinCustomControl {
public:
    explicit TspSkinCustomListBox(TComponent* AOwner);
    ~TspSkinCustomListBox() override;

    TspListBox* ListBox() const { return FListBox; }
    TspSkinScrollBar* ScrollBar() const { return FScrollBar; }
    TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    // Whether a list-box record was found at the last lookup; the looks branch on it.
    bool HasListRecord() const { return FHasRecord; }
    const TspListBoxSkin& Skin() const { return FSkin; }
    TRect ListRect() const { return FListRect; }

    bool ShowCaptionButtons() const { return FShowCaptionButtons; }
    void SetShowCaptionButtons(bool AValue);
    TStrings* TabWidths() { return FTabWidths.get(); }
    void SetTabWidths(TStrings* AValue);
    bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
    void SetUseSkinItemHeight(bool AValue) { FUseSkinItemHeight = AValue; }
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool AValue);
    Integer Columns() const;
    void SetColumns(Integer AValue);
    Integer RowCount() const { return FRowCount; }
    void SetRowCount(Integer AValue);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    TBitmap* Glyph() { return FGlyph.get(); }
    void SetGlyph(TBitmap* AValue);
    Integer NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(Integer AValue);
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer AValue);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool AValue);
    Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(Integer AValue);
    TFont* DefaultCaptionFont() { return FDefaultCaptionFont.get(); }
    void SetDefaultCaptionFont(TFont* AValue) { FDefaultCaptionFont->Assign(AValue); }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    Integer DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(Integer AValue);
    TListBoxStrings* Items() { return FListBox->Items(); }
    void SetItems(const TStrings& AValue);
    Integer ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(Integer AValue) { FListBox->SetItemIndex(AValue); }
    bool MultiSelect() const { return FListBox->MultiSelect(); }
    void SetMultiSelect(bool AValue) { FListBox->SetMultiSelect(AValue); }
    bool ExtandedSelect() const { return FListBox->ExtendedSelect(); }
    void SetExtandedSelect(bool AValue) { FListBox->SetExtendedSelect(AValue); }
    TFont* ListBoxFont() { return FListBox->Font(); }
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool AValue);

    void Clear();
    Integer ItemAtPos(TPoint APos, bool AExisting) { return FListBox->ItemAtPos(APos, AExisting); }
    TRect ItemRect(Integer AItem) { return FListBox->ItemRect(AItem); }
    bool IsSelected(Integer AIndex) const { return FListBox->Selected(AIndex); }
    Integer SelCount() const { return FListBox->SelCount(); }
    Integer TopIndex() const { return FListBox->TopIndex(); }
    void SetTopIndex(Integer AValue) { FListBox->SetTopIndex(AValue); }
    TCanvas* ListBoxCanvas() { return FListBox->Canvas(); }
    // Frame height that shows AItemsCount rows.
    Integer CalcHeight(Integer AItemsCount);
    void UpDateScrollBar();
    void AlignListArea();
    // The inner list tells of an item that came at AIndex or is about to go from it, so that the widest item
    // is kept without measuring every item again.
    void ItemInserted(Integer AIndex);
    void ItemDeleting(Integer AIndex);
    // Measures every item at the next update (a descendant whose item widths changed calls this).
    void InvalidateItemWidths() { FItemWidthsValid = false; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

    // Hooks the inner list calls before its own handling; each fires the matching OnListBox* event.
    virtual Integer CalcItemWidth(Integer AIndex, TCanvas* ACanvas);
    virtual void ListBoxMouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY);
    virtual void ListBoxMouseMove(TShiftState AShift, int AX, int AY);
    virtual void ListBoxMouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(win::WORD& AKey, TShiftState AShift);
    virtual void ListBoxKeyUp(win::WORD& AKey, TShiftState AShift);
    virtual void ListBoxKeyPress(char32_t& AKey);
    virtual void ListBoxEnter() {}
    virtual void ListBoxExit() {}
    virtual void FilterListBoxMessage(TMessage& /*AMessage*/, bool& /*APass*/) {}
    virtual void ListBoxWindowCreated() {}

    TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
    TspDrawSkinItemEvent OnDrawItem;
    TNotifyEvent OnListBoxClick, OnListBoxDblClick;
    TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
    TMouseMoveEvent OnListBoxMouseMove;
    TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
    TKeyPressEvent OnListBoxKeyPress;

    // Caption buttons: 0 up, 1 down, 2 check.
    struct TCaptionButton {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    const TCaptionButton& CaptionButton(Integer AIndex) const { return Buttons[AIndex]; }
    Integer ActiveButton() const { return FActiveButton; }
    // 0 none, 1 up, 2 down.
    Integer TimerMode() const { return FTimerMode; }

    // The charset of the skin's interface texts, else that of the default font.
    TFontCharset InterfaceCharset();
    // The skinned picture of the frame, not owned.
    TBitmap* SkinPictureOf() const { return Picture; }
    TRect NewClRect() const { return FNewClRect; }

protected:
    void WndProc(TMessage& AMessage) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void CreateParams(TCreateParams& AParams) override;
    void ApplyDefaultFont() override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseMove(TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;

    void AddScrollBar();
    void AddHScrollBar();
    void RemoveScrollBar();
    void RemoveHScrollBar();

    TspListBox* FListBox = nullptr;
    TspSkinScrollBar* FScrollBar = nullptr;
    TspSkinScrollBar* FHScrollBar = nullptr;

private:
    void UpDateHScrollBar();
    void UpDateVScrollBar();
    void ScrollBarChange();
    void HScrollBarChange();
    Integer VisibleItemWidth();
    // Caption painting and caption buttons.
    void LayoutUnskinnedCaptionButtons();
    void DrawCaption(TCanvas* ACanvas, const TRect& ATextRect, Integer AY, TColor AColor);
    void DrawCaptionButton(TCanvas* ACanvas, Integer AIndex);
    void RedrawCaptionButton(Integer AIndex);
    bool CaptionButtonsActive() const { return FCaptionMode && FShowCaptionButtons; }
    void TestActiveButton(int AX, int AY);
    void CaptionButtonDown(Integer AIndex);
    void CaptionButtonUp(Integer AIndex);
    void CaptionButtonEnter(Integer AIndex);
    void CaptionButtonLeave(Integer AIndex);
    void StopRepeatTimer();
    void HandleMouseLeave();
    void RepeatTick();

    bool FShowCaptionButtons = true;
    std::unique_ptr<TStringList> FTabWidths;
    bool FUseSkinItemHeight = true;
    bool FHorizontalExtent = false;
    bool FStopUpDateHScrollBar = false;
    Integer FRowCount = 0;
    std::unique_ptr<TBitmap> FGlyph;
    Integer FNumGlyphs = 1;
    Integer FSpacing = 2;
    TCustomImageList* FImages = nullptr;
    Integer FImageIndex = -1;
    Integer FDefaultItemHeight = 20;
    Integer FDefaultCaptionHeight = 20;
    std::unique_ptr<TFont> FDefaultCaptionFont;
    TRect FNewClRect;
    TRect FListRect;
    bool FCaptionMode = false;
    TAlignment FAlignment = taLeftJustify;
    TCaptionButton Buttons[3];
    Integer FOldActiveButton = -1, FActiveButton = -1, FCaptureButton = -1;
    TRect FNewCaptionRect;
    Integer FTimerMode = 0;
    TspRepeatTimer FRepeat;
    bool FHasRecord = false;
    TspListBoxSkin FSkin;
    bool FInUpdate = false;
    // Horizontal extent: each item's measured width by index, the widest of them, and the font they were
    // measured with.
    TCanvas* MeasureCanvas();
    void MeasureAllItems();
    Integer WidestItem();
    std::vector<Integer> FItemWidths;
    Integer FWidestItem = 0;
    bool FItemWidthsValid = false;
    std::string FMeasureFont;
    std::unique_ptr<TBitmap> FMeasure;
};

class TspSkinListBox : public TspSkinCustomListBox {
public:
    using TspSkinCustomListBox::TspSkinCustomListBox;
};
