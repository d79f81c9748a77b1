#include "skin/controls/label_box.h"

#include "platform/gdi/text.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/control_messages.h"
#include "skin/controls/foreign_paint.h"
#include "skin/core/control_records.h"
#include "skin/core/glow_effects.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/glyph_text.h"
#include "skin/core/parent_background.h"
#include "skin/core/skin_compose.h"

namespace {

Cardinal AlignmentFormat(TAlignment AAlignment)
{
    switch (AAlignment) {
    case taRightJustify: return win::DT_RIGHT;
    case taCenter: return win::DT_CENTER;
    default: return win::DT_LEFT;
    }
}

}  // namespace

TspSkinLabel::TspSkinLabel(TComponent* AOwner) : TspSkinCustomControl(AOwner)
{
    FSkinDataName = "label";
    SetBounds(Left(), Top(), 75, 21);
}

// ---- properties ----

void TspSkinLabel::SetAlignment(TAlignment AValue)
{
    if (FAlignment == AValue) return;
    FAlignment = AValue;
    Repaint();
}

void TspSkinLabel::SetBorderStyle(TspSkinBorderStyle AValue)
{
    FBorderStyle = AValue;
    if (Skinned()) return;
    Repaint();
    if (Parent()) Parent()->Realign();
}

void TspSkinLabel::SetEllipsType(TspEllipsType2 AValue)
{
    if (FEllipsType == AValue) return;
    FEllipsType = AValue;
    Invalidate();
}

void TspSkinLabel::SetShadowEffect(bool AValue)
{
    if (FShadowEffect == AValue) return;
    FShadowEffect = AValue;
    Repaint();
}

void TspSkinLabel::SetShadowSize(Integer AValue)
{
    if (FShadowSize == AValue) return;
    FShadowSize = AValue;
    Repaint();
}

void TspSkinLabel::SetShadowOffset(Integer AValue)
{
    if (FShadowOffset == AValue) return;
    FShadowOffset = AValue;
    Repaint();
}

void TspSkinLabel::SetShadowColor(TColor AValue)
{
    if (FShadowColor == AValue) return;
    FShadowColor = AValue;
    Repaint();
}

void TspSkinLabel::SetReflectionEffect(bool AValue)
{
    if (FReflectionEffect == AValue) return;
    FReflectionEffect = AValue;
    Repaint();
}

void TspSkinLabel::SetReflectionOffset(Integer AValue)
{
    if (FReflectionOffset == AValue) return;
    FReflectionOffset = AValue;
    Repaint();
}

void TspSkinLabel::SetUseSkinFontColor(bool AValue)
{
    FUseSkinFontColor = AValue;
    Repaint();
}

void TspSkinLabel::SetUseSkinSize(bool AValue)
{
    FUseSkinSize = AValue;
    if (FSD && !FSD->Empty) ChangeSkinData();
}

// ---- skin and size ----

void TspSkinLabel::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    auto* record = RecordAs<TspDataSkinLabelControl>();
    if (!record) return;
    FontName = record->FontName;
    FontColor = record->FontColor;
    FontStyle = record->FontStyle;
    FontHeight = record->FontHeight;
    // A picture of fixed size cannot follow the caption.
    if (ResizeMode == rmFixed && AutoSize()) TControl::SetAutoSize(false);
}

void TspSkinLabel::ApplyMaskRegion()
{
    if (FUseSkinSize) TspSkinCustomControl::ApplyMaskRegion();
}

void TspSkinLabel::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    if (FUseSkinSize || ResizeMode == rmNinePiece || !Skinned()) {
        TspSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
    } else {
        // Only the width follows the request.
        const Integer d = AWidth - Pieces.SkinRect.Width();
        Fitted.NewLTPoint = Pieces.LTPt;
        Fitted.NewRTPoint = {Pieces.RTPt.X + d, Pieces.RTPt.Y};
        Fitted.NewClRect = Pieces.ClRect;
        Fitted.NewClRect.Right += d;
    }
    if (AutoSize()) {
        const Integer overflow = GetTextOverflow();
        if (overflow > 0) AWidth += overflow;
    }
}

Integer TspSkinLabel::GetTextOverflow()
{
    TBitmap scratch(1, 1);
    TCanvas* c = scratch.Canvas();
    if (!Skinned()) {
        c->Font()->Assign(DefaultFont());
        return c->TextWidth(Caption()) - Width() + 4;
    }
    if (FUseSkinFont) {
        c->Font()->SetName(FontName);
        c->Font()->SetHeight(FontHeight);
        c->Font()->SetStyle(FontStyle);
    } else {
        c->Font()->Assign(DefaultFont());
    }
    if (ResizeMode == rmFixed) return 0;
    return c->TextWidth(Caption()) - Fitted.NewClRect.Width();
}

void TspSkinLabel::AdjustSize()
{
    if (!AutoSize() || Align() == alTop || Align() == alBottom || Align() == alClient) return;
    GetSkinData();
    FitCurrentSize();
    const Integer overflow = GetTextOverflow();
    if (overflow != 0) SetWidth(Width() + overflow);
}

// ---- painting ----

void TspSkinLabel::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawUnskinnedImage(B);
    TCanvas* c = B->Canvas();
    const TRect r = Rect(0, 0, Width(), Height());
    switch (FBorderStyle) {
    case TspSkinBorderStyle::bvFrame: DrawFrame3D(c, r, clBtnShadow, clBtnShadow); break;
    case TspSkinBorderStyle::bvRaised: DrawFrame3D(c, r, clBtnHighlight, clBtnShadow); break;
    case TspSkinBorderStyle::bvLowered: DrawFrame3D(c, r, clBtnShadow, clBtnHighlight); break;
    case TspSkinBorderStyle::bvNone: break;
    }
    DrawCaption(c, Rect(3, 3, Width() - 3, Height() - 3));
}

TRect TspSkinLabel::SkinnedTextRect()
{
    TRect r = Fitted.NewClRect;
    if (!FUseSkinSize && ResizeMode != rmNinePiece) r.Bottom += Height() - Pieces.SkinRect.Height();
    return r;
}

void TspSkinLabel::DrawSkinnedImage(TBitmap* B)
{
    if (FUseSkinSize || ResizeMode == rmNinePiece)
        CreateSkinImage(B, Picture, Pieces.SkinRect);
    else if (Picture)
        ComposeSkinImageSimple(B, Picture, Pieces.SkinRect, Pieces.ClRect, true);
    DrawCaption(B->Canvas(), SkinnedTextRect());
}

void TspSkinLabel::ApplyCaptionFont(TCanvas* ACanvas)
{
    TFont* font = ACanvas->Font();
    if (Skinned() && FUseSkinFont) {
        font->SetName(FontName);
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
        font->SetColor(FontColor);
    } else {
        font->Assign(DefaultFont());
        if (Skinned()) font->SetColor(FontColor);
    }
    if (!FUseSkinFontColor) font->SetColor(DefaultFont()->Color());
}

void TspSkinLabel::DrawCaption(TCanvas* ACanvas, TRect R)
{
    ApplyCaptionFont(ACanvas);
    std::string text = Caption();
    if (FEllipsType == spetEllips) TruncateWithEllipsis(ACanvas, text, R.Width());
    const TSize extent = ACanvas->TextExtent(text);
    const Integer y = R.Top + R.Height() / 2 - extent.cy / 2;
    Integer x = R.Left;
    if (FAlignment == taRightJustify) x = R.Right - extent.cx;
    if (FAlignment == taCenter) x = R.Left + R.Width() / 2 - extent.cx / 2;
    ACanvas->Brush()->SetStyle(bsClear);
    const Cardinal format = AlignmentFormat(FAlignment);
    if (FShadowEffect) {
        const TspSkinColors* colors = FSD ? FSD->FSkinColors.get() : nullptr;
        TColor shadow = FShadowColor;
        if (Skinned() && FUseSkinFontColor) shadow = DarkenColor(colors ? colors->FcBtnFace : clBtnFace, 70);
        R.Top = y;
        DrawGlowText(ACanvas, R, text, format, FShadowOffset, shadow, FShadowSize);
    } else if (FReflectionEffect) {
        DrawReflectedText(ACanvas, R, text, format, FReflectionOffset, ACanvas->Font()->Color());
    } else {
        ACanvas->TextRect(R, x, y, text);
    }
}

void TspSkinLabel::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_TEXTCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        if (AutoSize()) AdjustSize();
        Repaint();
        return;
    case win::WM_ERASEBKGND:
        if (!FromWMPaint) PaintIntoForeignDC(Canvas(), reinterpret_cast<win::HDC>(AMessage.WParam), [this] { Paint(); });
        AMessage.Result = 1;
        return;
    default: TspSkinCustomControl::WndProc(AMessage);
    }
}
