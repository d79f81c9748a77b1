#pragma once
// The skinned combo box: a face showing the chosen item and a drop button, its items kept in a hidden popup list
// (TspPopupListBox) shown under the box (or above it near the bottom of the work area) while it is dropped, and
// in the edit style an inner text edit for free text with completion. Type-ahead, completion and the list's
// auto-scroll read the injectable clock.
#include <memory>
#include <string>

#include "skin/controls/list_box.h"
#include "skin/controls/native_edit.h"

class TspSkinCustomComboBox;

// The drop-down list: a skinned list box living as a non-activating popup window.
class TspPopupListBox : public TspSkinListBox {
public:
    explicit TspPopupListBox(TComponent* AOwner);
    ~TspPopupListBox() override;

    // Shows the window at AOrigin (screen), on top, without activating it; hides it again.
    void Show(TPoint AOrigin);
    void Hide();
    // The opacity last given to the window (255 when it is not translucent).
    Byte Alpha() const { return FAlpha; }

protected:
    void CreateParams(TCreateParams& AParams) override;
    void WndProc(TMessage& AMessage) override;

private:
    void FadeStep();

    bool FOldAlphaBlend = false;
    Byte FOldAlphaBlendValue = 0;
    Byte FAlpha = 255;
    Byte FFadeTarget = 0;
    Byte FFadeStep = 1;
    int64_t FLastFadeMicros = 0;
};

enum TspSkinCustomComboBoxStyle { spcbEditStyle, spcbFixedStyle };

class TspSkinCustomComboBox : public TspSkinCustomControl {
public:
    explicit TspSkinCustomComboBox(TComponent* AOwner);
    ~TspSkinCustomComboBox() override;

    // Items and the list.
    TListBoxStrings* Items() { return FListBox->Items(); }
    void SetItems(const TStrings& AValue);
    Integer ItemIndex() const { return FListBox->ItemIndex(); }
    void SetItemIndex(Integer AValue);
    TspPopupListBox* ListBox() const { return FListBox; }
    TspCustomEdit* Edit() const { return FEdit; }

    TspSkinCustomComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TspSkinCustomComboBoxStyle AValue);
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool AValue);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue) { FUseSkinSize = AValue; }
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool AValue) { FAutoComplete = AValue; }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool AValue) { FHideSelection = AValue; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase AValue);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    Integer DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(Integer AValue);
    Integer ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(Integer AValue) { FListBoxWidth = AValue; }
    bool ListBoxAlphaBlend() const { return FListBoxAlphaBlend; }
    void SetListBoxAlphaBlend(bool AValue) { FListBoxAlphaBlend = AValue; }
    bool ListBoxAlphaBlendAnimation() const { return FListBoxAlphaBlendAnimation; }
    void SetListBoxAlphaBlendAnimation(bool AValue) { FListBoxAlphaBlendAnimation = AValue; }
    Byte ListBoxAlphaBlendValue() const { return FListBoxAlphaBlendValue; }
    void SetListBoxAlphaBlendValue(Byte AValue) { FListBoxAlphaBlendValue = AValue; }
    TCustomImageList* Images() const { return FListBox ? FListBox->Images() : nullptr; }
    void SetImages(TCustomImageList* AValue);
    Integer ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(Integer AValue);
    TStrings* TabWidths() { return FListBox->TabWidths(); }
    void SetTabWidths(TStrings* AValue) { FListBox->SetTabWidths(AValue); }
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool AValue) { FListBox->SetSorted(AValue); }
    void SetHorizontalExtent(bool AValue) { FListBox->SetHorizontalExtent(AValue); }
    void SetListBoxCaption(const std::string& AValue) { FListBox->SetCaption(AValue); }
    void SetListBoxCaptionMode(bool AValue) { FListBox->SetCaptionMode(AValue); }
    void SetListBoxDefaultItemHeight(Integer AValue) { FListBox->SetDefaultItemHeight(AValue); }
    void SetListBoxUseSkinItemHeight(bool AValue) { FListBox->SetUseSkinItemHeight(AValue); }
    void SetListBoxUseSkinFont(bool AValue) { FListBox->SetUseSkinFont(AValue); }
    void SetOnListBoxDrawItem(TspDrawSkinItemEvent AValue);

    // The inner edit's selection, read and written through; 0 without an edit.
    Integer SelStart() const;
    void SetSelStart(Integer AValue);
    Integer SelLength() const;
    void SetSelLength(Integer AValue);

    void DropDown();
    void CloseUp(bool AValue);
    // Enter and Escape belong to the combo box while its list is open.
    bool KeepsListKey(win::WPARAM AKey) const;
    bool IsPopupVisible() const;
    bool CanCancelDropDown() const;
    bool DroppedDown() const { return FDropDown; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;
    void Invalidate() override;

    // Called after OnClick whenever a choice is made, and after a text change from the inner edit.
    virtual void SelectionChanged() {}

    TNotifyEvent OnChange, OnCloseUp, OnDropDown;
    TspDrawSkinItemEvent OnComboBoxDrawItem;

    // The face rectangle and its draw state; the drop button.
    struct TCBItem {
        TRect R;
        TOwnerDrawState State;
    } CBItem;
    struct TCBButton {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    } Button;
    // The layout of face, button and edit for the current size and style.
    void CalcRects();
    // 0 none, 1 up, 2 down: the open list's auto-scroll while dragging.
    Integer TimerMode() const { return FTimerMode; }
    bool MouseInControl() const { return FMouseIn; }

    // The copies of the combo-box record.
    struct TSkinCopy {
        TRect ActiveSkinRect, SItemRect, FocusItemRect, ActiveItemRect, ItemTextRect, ButtonRect,
            ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
        TColor ActiveFontColor = 0, FontColor = 0, FocusFontColor = 0;
        std::string FontName, ListBoxName;
        TFontStyles FontStyle;
        Integer FontHeight = 0, ItemLeftOffset = 0, ItemRightOffset = 0;
        bool ItemStretchEffect = false, FocusItemStretchEffect = false, ShowFocus = false;
    };
    const TSkinCopy& SkinCopy() const { return FSkin; }
    bool HasComboRecord() const { return FHasRecord; }

protected:
    void WndProc(TMessage& AMessage) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void ApplyDefaultFont() override;
    void ApplyMaskRegion() override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseMove(TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void KeyPress(char32_t& AKey) override;
    virtual void EditWindowHook(TMessage& AMessage);

private:
    friend class TspPopupListBox;
    // Selection and text.
    void EditChanged();
    void StepUp(bool AApply);
    void StepDown(bool AApply);
    void EditStep(Integer AIndex, bool AApply);
    void WheelStep(int ADelta);
    void PageMove(bool AUp);
    void TypeAhead(char32_t AKey);
    void CompleteText();
    Integer FindItem(const std::string& AText, Integer AAfter);
    void CreateEdit();
    void FreeEdit();
    void UpdateEditFont();
    void LayoutEdit();
    TColor DisabledColor();
    TFontCharset InterfaceCharset();
    // Drop-down protocol.
    void ListHook(TMessage& AMessage);
    void HoverListItem(TObject* ASender, TShiftState AShift, int AX, int AY);
    void TrackDrag();
    void SetTimerMode(Integer AMode);
    void AutoScrollTick();
    bool FocusStaysWithUs(TControl* AControl) const;
    // Painting helpers.
    Integer ShownIndex() const;
    void DrawItemContent(TCanvas* ACanvas, Integer AIndex, TRect AText);
    void DrawToolButtonLook(TBitmap* B);
    void DrawPlainFace(TBitmap* B);
    void DrawSkinnedButton(TBitmap* B);
    void DrawSkinnedFaceItem(TBitmap* B);
    void PaintEraseInto(win::HDC ADC);

    TspPopupListBox* FListBox = nullptr;
    TspCustomEdit* FEdit = nullptr;
    TWndMethod FListBoxWindowProc;
    TWndMethod FEditWindowProc;
    TspSkinCustomComboBoxStyle FStyle = spcbFixedStyle;
    bool FToolButtonStyle = false;
    bool FDropDown = false;
    win::WPARAM FListKeyChar = 0;  // the Enter or Escape whose character the edit must not pass to the form
    TEditCharCase FCharCase = ecNormal;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    bool WasInLB = false;
    Integer FTimerMode = 0;
    bool FHideSelection = true;
    win::DWORD FLastTime = 0;
    std::string FFilter;
    bool FAutoComplete = true;
    bool FListBoxAlphaBlend = false, FListBoxAlphaBlendAnimation = false;
    Byte FListBoxAlphaBlendValue = 200;
    Integer FListBoxWidth = 0;
    bool FMouseIn = false;
    Integer FOldItemIndex = -1;
    Integer FDropDownCount = 8;
    bool FLBDown = false;
    bool FromEdit = false;
    bool FHasRecord = false;
    TSkinCopy FSkin;
};

class TspSkinComboBox : public TspSkinCustomComboBox {
public:
    using TspSkinCustomComboBox::TspSkinCustomComboBox;
};
