#include "skin/controls/button_label.h"

#include <algorithm>

#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "skin/core/control_records.h"
#include "skin/core/glow_effects.h"
#include "skin/core/parent_background.h"

Integer ButtonLabelGlyphFrame(bool ADown, bool AMouseIn, bool AEnabled, TspNumGlyphs ANumGlyphs)
{
    if (ADown && AMouseIn && ANumGlyphs > 2) return 3;
    if (AMouseIn && ANumGlyphs > 3) return 4;
    if (AEnabled || ANumGlyphs < 2) return 1;
    return 2;
}

TspSkinButtonLabel::TspSkinButtonLabel(TComponent* AOwner)
    : TspSkinLinked<TGraphicControl>(AOwner), FGlyph(std::make_unique<TBitmap>()),
      FDefaultFont(std::make_unique<TFont>())
{
    FSkinDataName = "stdlabel";
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    ControlStyle().Exclude(csOpaque);
    SetBounds(Left(), Top(), 100, 50);
}

// ---- properties ----

void TspSkinButtonLabel::SetGlyph(TBitmap* AValue)
{
    if (AValue)
        FGlyph->Assign(AValue);
    else
        FGlyph = std::make_unique<TBitmap>();
    Repaint();
}

void TspSkinButtonLabel::SetNumGlyphs(TspNumGlyphs AValue)
{
    FNumGlyphs = std::clamp<TspNumGlyphs>(AValue, 1, 4);
    Repaint();
}

void TspSkinButtonLabel::SetImageList(TCustomImageList* AValue)
{
    if (FImageList) FImageList->RemoveFreeNotification(this);
    FImageList = AValue;
    if (FImageList) FImageList->FreeNotification(this);
    Repaint();
}

void TspSkinButtonLabel::SetImageIndex(Integer AValue)
{
    if (FImageIndex == AValue) return;
    FImageIndex = AValue;
    Repaint();
}

void TspSkinButtonLabel::SetLayout(TspButtonLayout AValue)
{
    if (FLayout == AValue) return;
    FLayout = AValue;
    Repaint();
}

void TspSkinButtonLabel::SetMargin(Integer AValue)
{
    if (AValue < -1 || FMargin == AValue) return;
    FMargin = AValue;
    Repaint();
}

void TspSkinButtonLabel::SetSpacing(Integer AValue)
{
    if (FSpacing == AValue) return;
    FSpacing = AValue;
    Repaint();
}

void TspSkinButtonLabel::SetDoubleBuffered(bool AValue)
{
    FDoubleBuffered = AValue;
    if (AValue)
        ControlStyle().Include(csOpaque);
    else
        ControlStyle().Exclude(csOpaque);
}

void TspSkinButtonLabel::SetDefaultFont(TFont* AValue)
{
    FDefaultFont->Assign(AValue);
    Repaint();
}

void TspSkinButtonLabel::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinLinked<TGraphicControl>::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FImageList) FImageList = nullptr;
}

void TspSkinButtonLabel::GetSkinData()
{
    if (auto* record = LookUpRecord<TspDataSkinStdLabelControl>()) RecordFont.Read(*record);
}

void TspSkinButtonLabel::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

// ---- mouse ----

void TspSkinButtonLabel::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    FDown = true;
    if (!FWebStyle) Repaint();
    TspSkinLinked<TGraphicControl>::MouseDown(AButton, AShift, AX, AY);
}

void TspSkinButtonLabel::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    FDown = false;
    if (!FWebStyle) Repaint();
    TspSkinLinked<TGraphicControl>::MouseUp(AButton, AShift, AX, AY);
}

void TspSkinButtonLabel::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TspSkinLinked<TGraphicControl>::WndProc(AMessage);
        if (Enabled()) {
            FMouseIn = AMessage.Msg == CM_MOUSEENTER;
            Repaint();
        }
        return;
    case CM_TEXTCHANGED:
        TspSkinLinked<TGraphicControl>::WndProc(AMessage);
        Repaint();
        return;
    default: TspSkinLinked<TGraphicControl>::WndProc(AMessage);
    }
}

// ---- painting ----

void TspSkinButtonLabel::Paint()
{
    GetSkinData();
    if (!FDoubleBuffered) {
        PaintOn(Canvas());
        return;
    }
    TBitmap buffer(Width(), Height());
    PaintParentBackground(this, buffer.Canvas());
    PaintOn(buffer.Canvas());
    Canvas()->Draw(0, 0, &buffer);
}

void TspSkinButtonLabel::ApplyFont(TCanvas* ACanvas)
{
    TFont* font = ACanvas->Font();
    if (!Skinned()) {
        font->Assign(FDefaultFont.get());
        if (FMouseIn) font->SetColor(FDefaultActiveFontColor);
    } else {
        font->Assign(FDefaultFont.get());
        if (FUseSkinFont) {
            font->SetName(RecordFont.FontName);
            font->SetHeight(RecordFont.FontHeight);
            font->SetStyle(RecordFont.FontStyle);
        }
        font->SetColor(FMouseIn && !FGlowEffect ? RecordFont.ActiveFontColor : RecordFont.FontColor);
    }
    if (FWebStyle) {
        TFontStyles style = font->Style();
        if (FMouseIn)
            style.Include(fsUnderline);
        else
            style.Exclude(fsUnderline);
        font->SetStyle(style);
    }
    if (!Enabled()) {
        const TspSkinColors* colors = SkinColors();
        font->SetColor(colors ? colors->FcBtnShadow : Skinned() ? clBtnShadow : clGray);
    }
}

Integer TspSkinButtonLabel::ShownImage() const
{
    if (!FImageList) return -1;
    const auto valid = [this](Integer AIndex) { return AIndex >= 0 && AIndex < FImageList->Count(); };
    if (FMouseIn && valid(FActiveImageIndex)) return FActiveImageIndex;
    return valid(FImageIndex) ? FImageIndex : -1;
}

void TspSkinButtonLabel::PaintOn(TCanvas* ACanvas)
{
    ApplyFont(ACanvas);
    ACanvas->Brush()->SetStyle(bsClear);
    const TColor glowColor = FUseCustomGlowColor || !Skinned() ? FCustomGlowColor : RecordFont.ActiveFontColor;
    const bool glow = FGlowEffect && FMouseIn && Enabled();
    const bool pressed = FDown && !FWebStyle;
    const TRect r = ClientRect();
    const WideString caption = Utf8ToWide(Caption());
    const Integer image = ShownImage();
    if (image >= 0) {
        if (glow)
            DrawGlowListGlyphAndCaption(ACanvas, r, FMargin, FSpacing, FLayout, caption, image, FImageList, pressed,
                                        Enabled(), false, 0, glowColor, FGlowSize);
        else
            DrawListGlyphAndCaption(ACanvas, r, FMargin, FSpacing, FLayout, caption, image, FImageList, pressed,
                                    Enabled(), false, 0);
        return;
    }
    const Integer frame = GlyphFrame();
    if (glow)
        DrawGlowBitmapGlyphAndCaption(ACanvas, r, FMargin, FSpacing, FLayout, caption, FGlyph.get(), FNumGlyphs,
                                      frame, pressed, false, 0, glowColor, FGlowSize);
    else
        DrawBitmapGlyphAndCaption(ACanvas, r, FMargin, FSpacing, FLayout, caption, FGlyph.get(), FNumGlyphs, frame,
                                  pressed, false, 0);
}
