#pragma once
// The skinned button label: a clickable caption with a glyph strip or an image-list image, a hover colour, a
// pressed shift, an optional glow behind glyph and caption on hover, and a web style that underlines on hover
// instead of pressing. Font and colours come from a "stdlabel" record.
#include <memory>

#include "platform/gui/bitmap.h"
#include "platform/gui/image_list.h"
#include "skin/controls/label_font.h"
#include "skin/controls/skin_link.h"
#include "skin/core/glyph_text.h"

// The strip frame a button label shows (1 normal, 2 disabled, 3 pressed, 4 hot), counted from 1.
Integer ButtonLabelGlyphFrame(bool ADown, bool AMouseIn, bool AEnabled, TspNumGlyphs ANumGlyphs);

class TspSkinButtonLabel : public TspSkinLinked<TGraphicControl> {
public:
    explicit TspSkinButtonLabel(TComponent* AOwner);

    TBitmap* Glyph() { return FGlyph.get(); }
    void SetGlyph(TBitmap* AValue);
    TspNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TspNumGlyphs AValue);
    TCustomImageList* ImageList() const { return FImageList; }
    void SetImageList(TCustomImageList* AValue);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer AValue);
    Integer ActiveImageIndex() const { return FActiveImageIndex; }
    void SetActiveImageIndex(Integer AValue) { FActiveImageIndex = AValue; }
    TspButtonLayout Layout() const { return FLayout; }
    void SetLayout(TspButtonLayout AValue);
    Integer Margin() const { return FMargin; }
    // Values below -1 are refused.
    void SetMargin(Integer AValue);
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer AValue);
    bool WebStyle() const { return FWebStyle; }
    void SetWebStyle(bool AValue) { FWebStyle = AValue; }
    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool AValue) { FGlowEffect = AValue; }
    Integer GlowSize() const { return FGlowSize; }
    void SetGlowSize(Integer AValue) { FGlowSize = AValue; }
    bool UseCustomGlowColor() const { return FUseCustomGlowColor; }
    void SetUseCustomGlowColor(bool AValue) { FUseCustomGlowColor = AValue; }
    TColor CustomGlowColor() const { return FCustomGlowColor; }
    void SetCustomGlowColor(TColor AValue) { FCustomGlowColor = AValue; }
    // Paints through an off-screen picture over the parent's background; the control is opaque while on.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor AValue) { FDefaultActiveFontColor = AValue; }

    bool MouseIn() const { return FMouseIn; }
    bool Down() const { return FDown; }
    // The glyph frame the next paint shows.
    Integer GlyphFrame() const { return ButtonLabelGlyphFrame(FDown, FMouseIn, Enabled(), FNumGlyphs); }

    void GetSkinData();
    void ChangeSkinData() override;

    TspStdLabelFont RecordFont;

protected:
    void Paint() override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void WndProc(TMessage& AMessage) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    void PaintOn(TCanvas* ACanvas);
    void ApplyFont(TCanvas* ACanvas);
    // The image to show, -1 for the glyph.
    Integer ShownImage() const;

    std::unique_ptr<TBitmap> FGlyph;
    TspNumGlyphs FNumGlyphs = 1;
    TCustomImageList* FImageList = nullptr;
    Integer FImageIndex = -1, FActiveImageIndex = -1;
    TspButtonLayout FLayout = blGlyphLeft;
    Integer FMargin = -1, FSpacing = 1;
    bool FWebStyle = false, FGlowEffect = false;
    Integer FGlowSize = 7;
    bool FUseCustomGlowColor = false;
    TColor FCustomGlowColor = static_cast<TColor>(0xFFFF00);
    bool FDoubleBuffered = false;
    bool FUseSkinFont = true;
    std::unique_ptr<TFont> FDefaultFont;
    TColor FDefaultActiveFontColor = static_cast<TColor>(0xFF0000);
    bool FMouseIn = false, FDown = false;
};
