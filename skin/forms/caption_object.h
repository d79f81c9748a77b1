#pragma once
// The caption of a skinned form: the form's title in the skin's fonts and colours for the active and the inactive
// form, with light and shadow copies, glow or reflection, a frame picture behind the text, a frame animation of
// the background when the form is activated, the skin's inactive look, and the form's caption quick buttons.
#include <string>

#include "skin/core/skin_file_forms.h"
#include "skin/forms/skin_objects.h"

class TspDataSkinCaption;

// The skin's inactive look applied to a picture in place.
void ApplyInActiveEffect(TBitmap* ABitmap, TspInActiveEffect AEffect);

class TspSkinCaptionObject : public TspActiveSkinObject {
public:
    TspSkinCaptionObject(TspCorvalis* AParent, TspDataSkinCaption* AData);

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseMove(Integer X, Integer Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    const std::string& TextValue() const { return FTextValue; }
    // Stores the text and redraws the caption.
    void SetTextValue(const std::string& Value);
    // Stores the text only (while a skin change is applied).
    void SimpleSetTextValue(const std::string& Value) { FTextValue = Value; }
    bool EnableAnimation();
    // Starts the background animation for an activation change (frame 1 up, or the last frame down).
    void StartAnimation(bool AActive);
    // One 25 ms tick; true while the animation runs.
    bool AnimationStep();
    void TrackQuickButtons(Integer X, Integer Y);
    void RepaintCaption();
    bool QuickButtonsShown() const;
    // The text rectangle in object coordinates at the object's current width (divider and quick buttons left out).
    TRect TextRect() const;

    Integer ActiveQuickButton = -1;
    Integer OldActiveQuickButton = -1;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0;
    TColor ShadowColor = 0, ActiveShadowColor = 0;
    bool Shadow = false;
    TAlignment Alignment = taLeftJustify;
    TRect TextRct;
    bool DefaultCaption = false;
    TRect FrameRect, ActiveFrameRect;
    Integer FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect;
    TColor LightColor = 0, ActiveLightColor = 0;
    bool Light = false;
    bool StretchEffect = false;
    Integer FIncTime = 0;
    TRect AnimateSkinRect;
    Integer FrameCount = 0, AnimateInterval = 0;
    Integer CurrentFrame = 0;
    bool InActiveAnimation = false;
    bool FullFrame = false;
    bool VistaGlowEffect = false, VistaGlowInActiveEffect = false;
    bool GlowEffect = false, GlowInActiveEffect = false;
    Integer GlowSize = 0;
    TColor GlowColor = 0, GlowActiveColor = 0;
    Integer GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0, ReflectionActiveColor = 0;
    Integer ReflectionOffset = 0;
    TRect DividerRect;
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;

private:
    void SetCaptionFont(TCanvas* ACanvas, TColor AColor) const;
    // The caption's background from the part S of P at ObjectRect's size; AFrameRule limits it to the strip
    // kinds of a caption on the frame.
    void BuildBackground(TBitmap* ADest, TBitmap* P, const TRect& S, bool AFrameRule) const;
    // Background from S of P with the caption text in AColor drawn as AActive.
    void BuildImage(TBitmap* ADest, TBitmap* P, const TRect& S, TColor AColor, bool AActive, bool AFrameRule,
                    const TRect& T);
    void DrawCaptionText(TCanvas* Canvas, Integer X0, Integer Y0, bool AActive, const TRect& T, TCanvas* AFrameCanvas);
    void DrawDivider(TCanvas* Cnvs);
    void DrawQuickButtons(TCanvas* Cnvs);
    void DrawQuickButtonFace(TCanvas* Cnvs, const TRect& R, bool ADown);
    TRect AnimationFrame() const;

    std::string FTextValue;
};
