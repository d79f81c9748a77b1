#pragma once
// The skinned check box and radio button in one class: three states (grayed only by mouse, with AllowGrayed),
// groups by GroupIndex among the parent's children (check boxes included), keyboard, accelerator and
// focus-on-click, and two looks: the flat look (the parent's background with the check picture and the caption
// on it, the default) and the face look (a whole skin picture with a hot cross-fade). Each look has a skinned
// form from a "checkradio" record ("checkbox", "radiobox") and a plain one.
#include <memory>

#include "platform/gui/image_list.h"
#include "platform/gui/timer.h"
#include "skin/controls/hot_fade.h"
#include "skin/controls/skin_custom_control.h"
#include "skin/core/effect_bitmap.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// What the box copies from its record at every lookup, with the record's fall-backs.
struct TspCheckRadioLook {
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
    TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect, ActiveCheckImageRect,
        ActiveUnCheckImageRect, UnEnabledCheckImageRect, UnEnabledUnCheckImageRect, GrayedCheckImageRect,
        ActiveGrayedCheckImageRect;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
};

class TspSkinCheckRadioBox : public TspSkinCustomControl {
public:
    explicit TspSkinCheckRadioBox(TComponent* AOwner);
    ~TspSkinCheckRadioBox() override;

    bool Checked() const { return FChecked; }
    // Raises OnClick (a radio button only when it becomes checked), also for an unchanged value, and unchecks
    // the group's checked siblings when checked.
    void SetChecked(bool AValue);
    TCheckBoxState State() const { return FState; }
    // Raises OnClick always; the group is not touched.
    void SetState(TCheckBoxState AValue);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool AValue);
    bool Radio() const { return FRadio; }
    void SetRadio(bool AValue);
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer AValue) { FGroupIndex = AValue; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool AValue);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool AValue);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool AValue);
    bool CanFocused() const { return FCanFocused; }
    // Also sets TabStop.
    void SetCanFocused(bool AValue);

    // The effect of a click, the space bar and the accelerator.
    void ToggleState();

    void GetSkinData() override;
    void ChangeSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;

    bool MouseIn() const { return FMouseIn; }
    bool Hot();
    const TspHotFade& HotFade() const { return FFade; }
    bool MorphTimerRunning() const { return FMorphTimer->Enabled(); }
    // Where the check picture and the caption go in the skinned face look at the current size.
    TRect CIRect, NewTextArea;
    TspCheckRadioLook Look;

protected:
    void Paint() override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void CheckParentBackground() override;
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    bool MorphAllowed() const;
    void HotChange();
    void StopMorph();
    void MorphTick();
    void UncheckGroup();
    void Clicked();
    bool ImageShown() const;

    void PaintFlat(TCanvas* ACanvas);
    void PaintFace();
    void DrawFace(TBitmap* B, const TRect& ASkinRect, bool AActive);
    void DrawCheckImage(TCanvas* ACanvas, Integer AX, Integer AY);
    TRect CheckImageOf() const;
    void ApplySkinFont(TCanvas* ACanvas);
    void DrawPlainMark(TCanvas* ACanvas, Integer AHeight);

    bool FChecked = false;
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false, FRadio = false, FFlat = true, FWordWrap = false, FUseSkinFontColor = true;
    bool FCanFocused = true;
    Integer FGroupIndex = 0;
    TCustomImageList* FImages = nullptr;
    Integer FImageIndex = 0;

    bool FDown = false, FMouseIn = false, FClicksDisabled = false;
    TspHotFade FFade;
    std::unique_ptr<TTimer> FMorphTimer;  // enabled while a fade runs
};
