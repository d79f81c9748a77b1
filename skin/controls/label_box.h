#pragma once
// The skinned label box: a windowed one-line caption inside the skin's frame (a "label" record) or, unskinned,
// a 3D border, with an optional soft shadow or mirror image, an ellipsis mode, and a width that can follow the
// caption.
#include <string>

#include "skin/controls/panel.h"  // TspSkinBorderStyle
#include "skin/controls/skin_custom_control.h"

enum TspEllipsType2 { spetNoneEllips, spetEllips };

class TspSkinLabel : public TspSkinCustomControl {
public:
    explicit TspSkinLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TspSkinBorderStyle AValue);
    TspEllipsType2 EllipsType() const { return FEllipsType; }
    void SetEllipsType(TspEllipsType2 AValue);
    bool ShadowEffect() const { return FShadowEffect; }
    void SetShadowEffect(bool AValue);
    Integer ShadowSize() const { return FShadowSize; }
    void SetShadowSize(Integer AValue);
    Integer ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(Integer AValue);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor AValue);
    bool ReflectionEffect() const { return FReflectionEffect; }
    void SetReflectionEffect(bool AValue);
    Integer ReflectionOffset() const { return FReflectionOffset; }
    void SetReflectionOffset(Integer AValue);
    bool UseSkinFontColor() const { return FUseSkinFontColor; }
    void SetUseSkinFontColor(bool AValue);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool AValue);

    void GetSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;
    // How many pixels the box must grow for its caption (negative: it may shrink).
    Integer GetTextOverflow();
    // Where the caption goes in the skinned look at the current size.
    TRect SkinnedTextRect();

    // Copied from the record.
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0;

protected:
    void AdjustSize() override;
    void ApplyMaskRegion() override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;

private:
    void ApplyCaptionFont(TCanvas* ACanvas);
    void DrawCaption(TCanvas* ACanvas, TRect R);

    TAlignment FAlignment = taLeftJustify;
    TspSkinBorderStyle FBorderStyle = TspSkinBorderStyle::bvFrame;
    TspEllipsType2 FEllipsType = spetNoneEllips;
    bool FShadowEffect = false;
    Integer FShadowSize = 3;
    Integer FShadowOffset = 0;
    TColor FShadowColor = clBlack;
    bool FReflectionEffect = false;
    Integer FReflectionOffset = -5;
    bool FUseSkinFontColor = true;
    bool FUseSkinSize = true;
};
