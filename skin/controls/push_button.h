#pragma once
// The skinned push button: a focusable button that can be a form's default or cancel button with a modal result,
// a toggle in a group, or an auto-repeat button, showing a caption with a glyph strip or an image-list image.
// Skinned, it draws one picture per state (normal, hot, pressed, disabled, focused), cross-fades between the
// normal and the hot picture in five 20 ms steps, and can show a glow frame around itself while the mouse is over
// it. Without a record it draws the plain look.
#include <functional>
#include <memory>

#include "platform/gui/forms.h"
#include "skin/controls/button_content.h"
#include "skin/controls/button_look.h"
#include "skin/controls/frame_animation.h"
#include "skin/controls/hot_fade.h"
#include "skin/controls/repeat_timer.h"
#include "skin/controls/skin_custom_control.h"
#include "skin/core/effect_bitmap.h"

class TspLayerManager;

// A button shows or hides its glow frame; posted to its own window.
constexpr Cardinal SKM_SHOWLAYER = 1424;
constexpr Cardinal SKM_HIDELAYER = 1425;

// The application paints the face; clearing ADrawDefault suppresses the button's glyph and caption.
using TspButtonPaintEvent =
    std::function<void(TObject* Sender, TCanvas* Cnvs, TRect R, bool ADown, bool AMouseIn, bool& ADrawDefault)>;

class TspSkinButton : public TspSkinCustomControl {
public:
    explicit TspSkinButton(TComponent* AOwner);
    ~TspSkinButton() override;

    TCustomImageList* ImageList() const { return FContent.ImageList; }
    void SetImageList(TCustomImageList* AValue);
    Integer ImageIndex() const { return FContent.ImageIndex; }
    void SetImageIndex(Integer AValue);
    TBitmap* Glyph() { return FGlyph.get(); }
    // Keeps a copy.
    void SetGlyph(TBitmap* AValue);
    TspNumGlyphs NumGlyphs() const { return FContent.NumGlyphs; }
    void SetNumGlyphs(TspNumGlyphs AValue);
    TspButtonLayout Layout() const { return FContent.Layout; }
    void SetLayout(TspButtonLayout AValue);
    Integer Margin() const { return FContent.Margin; }
    // Values below -1 are ignored.
    void SetMargin(Integer AValue);
    Integer Spacing() const { return FContent.Spacing; }
    void SetSpacing(Integer AValue);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool AValue);
    bool AlwaysShowLayeredFrame() const { return FAlwaysShowLayeredFrame; }
    void SetAlwaysShowLayeredFrame(bool AValue) { FAlwaysShowLayeredFrame = AValue; }
    bool CanFocused() const { return FCanFocused; }
    // Also sets TabStop.
    void SetCanFocused(bool AValue);
    bool Default() const { return FDefault; }
    void SetDefault(bool AValue);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool AValue) { FCancel = AValue; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult AValue) { FModalResult = AValue; }
    Integer GroupIndex() const { return FGroupIndex; }
    // A non-zero group turns CanFocused off.
    void SetGroupIndex(Integer AValue);
    bool Down() const { return FDown; }
    void SetDown(bool AValue);
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool AValue) { FAllowAllUp = AValue; }
    bool RepeatMode() const { return FRepeatMode; }
    void SetRepeatMode(bool AValue) { FRepeatMode = AValue; }
    Integer RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(Integer AValue) { FRepeatInterval = AValue; }

    TNotifyEvent OnClick;
    TspButtonPaintEvent OnPaint;

    void RefreshButton();
    virtual void ButtonClick();

    void GetSkinData() override;
    void ChangeSkinData() override;
    void BeforeChangeSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;

    // Read by tests and the gallery.
    bool MouseIn() const { return FMouseIn; }
    const TspHotFade& HotFade() const { return FFade; }
    bool HotFadeActive() const;
    bool MorphTimerRunning() const { return FMorphTimer; }
    // The frame of the animation strip shown, from 1; 0 while no animation runs.
    Integer CurrentFrame() const { return FAnimation.CurrentFrame(); }
    bool AnimationRunning() const { return FAnimation.Running(); }
    bool Active() const { return FActive; }
    TspLayerManager* LayerManager() const { return FLayerManager; }

protected:
    // Draws one state from skin rectangle R into B.
    virtual void DrawStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
    void DrawSkinnedImage(TBitmap* B) override;
    void DrawUnskinnedImage(TBitmap* B) override;
    bool PaintDirect() override { return false; }
    void ApplyMaskRegion() override;
    void CreateWnd() override;
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

    bool SkinEffectsOn() const;
    bool HasFocus();
    // Starts the fade towards the current hot state, or repaints when there is no fade.
    void HotChange();
    void StopMorphTimer();
    void StartRepeat();
    void StopRepeat();
    // The frame animation, forward on turning hot, backward on turning normal.
    bool CanAnimate() const;
    void StartAnimation(bool AForward);
    void StopAnimation();
    void AnimationTick();
    // Frame AFrame (from 1) of the animation strip.
    TRect AnimationFrameRect(Integer AFrame) const;
    // The plain frame and fill over R in the pressed, hot or rest look.
    void DrawPlainFace(TCanvas* ACanvas, const TRect& R, bool APressed, bool AHot);
    // The font of a state drawing and its colour.
    void ApplyStateFont(TCanvas* ACanvas, bool ADown, bool AMouseIn);
    // The OnPaint hook; false when the handler drew the face itself.
    bool PaintHook(TCanvas* ACanvas, const TRect& R, bool ADown, bool AMouseIn);
    void DrawContent(TCanvas* ACanvas, const TRect& R, bool AShift, bool ADown, bool AMouseIn);
    TRect StretchedTextRect(const TBitmap* B, const TRect& R) const;
    void ShowLayer();
    void HideLayer();
    bool GlowAllowed() const;
    void PostToSelf(Cardinal AMessage);

    TspButtonContent FContent;
    std::unique_ptr<TBitmap> FGlyph;
    bool FUseSkinSize = true, FUseSkinFontColor = true, FAlwaysShowLayeredFrame = false;
    bool FCanFocused = true, FDefault = false, FCancel = false;
    TModalResult FModalResult = 0;
    Integer FGroupIndex = 0;
    bool FDown = false, FAllowAllUp = false, FRepeatMode = false;
    Integer FRepeatInterval = 100;
    bool FMouseIn = false, FMouseDown = false, FActive = false, FClicksDisabled = false, FAllowAllUpCheck = false;
    bool FSpaceSupport = true;
    TspHotFade FFade;
    bool FMorphTimer = false;
    TspFrameAnimation FAnimation;
    TspRepeatTimer FRepeat;
    TspLayerManager* FLayerManager = nullptr;

    // Copies of the record.
    TspButtonLook Look;
    Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    Integer GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
    Integer GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0, GlowLayerAlphaBlendValue = 255;
};
