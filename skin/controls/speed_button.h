#pragma once
// The windowless tool button: never focused, optionally flat (only its glyph and caption over the parent until the
// mouse comes over it), with a caption that can be hidden and two remembered widths, images from a tool-bar
// parent, toggle groups, auto-repeat and the hot fade of the push button.
#include <memory>

#include "platform/gui/timer.h"
#include "skin/controls/button_content.h"
#include "skin/controls/button_look.h"
#include "skin/controls/frame_animation.h"
#include "skin/controls/hot_fade.h"
#include "skin/controls/push_button.h"
#include "skin/controls/skin_custom_control.h"
#include "skin/core/effect_bitmap.h"

// A parent that lends its buttons images (the skinned tool bar).
class TspButtonImageSource {
public:
    virtual ~TspButtonImageSource() = default;
    virtual TCustomImageList* Images() = 0;
    virtual TCustomImageList* HotImages() = 0;
    virtual TCustomImageList* DisabledImages() = 0;
};

class TspSkinSpeedButton : public TspGraphicSkinCustomControl {
public:
    explicit TspSkinSpeedButton(TComponent* AOwner);
    ~TspSkinSpeedButton() override;

    TCustomImageList* ImageList() const { return FContent.ImageList; }
    void SetImageList(TCustomImageList* AValue);
    Integer ImageIndex() const { return FContent.ImageIndex; }
    // Stored always; repaints only where an image can show.
    void SetImageIndex(Integer AValue);
    TBitmap* Glyph() { return FGlyph.get(); }
    void SetGlyph(TBitmap* AValue);
    TspNumGlyphs NumGlyphs() const { return FContent.NumGlyphs; }
    void SetNumGlyphs(TspNumGlyphs AValue);
    void SetLayout(TspButtonLayout AValue);
    void SetMargin(Integer AValue);
    void SetSpacing(Integer AValue);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue);
    void SetUseSkinFontColor(bool AValue);
    bool Flat() const { return FFlat; }
    void SetFlat(bool AValue);
    bool ShowCaption() const { return FShowCaption; }
    // With both widths positive the width follows the caption.
    void SetShowCaption(bool AValue);
    Integer WidthWithCaption = 0, WidthWithoutCaption = 0;
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer AValue) { FGroupIndex = AValue; }
    bool Down() const { return FDown; }
    void SetDown(bool AValue);
    void SetAllowAllUp(bool AValue) { FAllowAllUp = AValue; }
    void SetRepeatMode(bool AValue) { FRepeatMode = AValue; }
    void SetRepeatInterval(Integer AValue) { FRepeatInterval = AValue; }

    TNotifyEvent OnClick;
    TspButtonPaintEvent OnPaint;

    void RefreshButton();
    virtual void ButtonClick();

    void GetSkinData() override;
    void ChangeSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;

    bool MouseIn() const { return FMouseIn; }
    const TspHotFade& HotFade() const { return FFade; }
    bool HotFadeActive() const;
    // The frame shown by the frame animation, from 1; 0 while none runs.
    Integer CurrentFrame() const { return FAnimation.CurrentFrame(); }
    bool AnimationRunning() const { return FAnimation.Running(); }
    // The flat look: no picture and no background, only content.
    bool ShowsFlatLook() const;

    // Not published: code sets them.
    bool FDrawColorMarker = false;
    TColor FColorMarkerValue = 0;

protected:
    bool SkinEffectsOn() const;
    // The frame animation, forward on turning hot, backward on turning normal.
    bool CanAnimate() const;
    void StartAnimation(bool AForward);
    void StopAnimation();
    void AnimationTick();
    virtual void DrawStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void DrawSkinnedImage(TBitmap* B) override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void Paint() override;
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

    bool Pressed() const { return FDown && (FMouseIn || FGroupIndex != 0); }
    void HotChange();
    void StopMorph();
    void StopRepeat();
    void ApplyStateFont(TCanvas* ACanvas, bool ADown, bool AMouseIn);
    bool PaintHook(TCanvas* ACanvas, const TRect& R, bool ADown, bool AMouseIn);
    // The content: tool-bar images, image list or glyph; never moved when pressed.
    void DrawContent(TCanvas* ACanvas, const TRect& R, bool ADown, bool AMouseIn, bool AFlatLook);
    std::string CaptionText();

    TspButtonContent FContent;
    std::unique_ptr<TBitmap> FGlyph;
    bool FUseSkinSize = true, FUseSkinFontColor = true, FFlat = false, FShowCaption = true;
    Integer FGroupIndex = 0;
    bool FDown = false, FAllowAllUp = false, FRepeatMode = false, FAllowAllUpCheck = false;
    Integer FRepeatInterval = 100;
    bool FMouseIn = false, FMouseDown = false;
    TspHotFade FFade;
    std::unique_ptr<TTimer> FMorphTimer;
    std::unique_ptr<TTimer> FRepeatTimer;
    std::unique_ptr<TTimer> FAnimateTimer;
    TspFrameAnimation FAnimation;
    bool FRepeatWaiting = false;

    TspButtonLook Look;

private:
    void MorphTick();
    void RepeatTick();
    void StartRepeat();
};
