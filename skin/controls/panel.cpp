#include "skin/controls/panel.h"

#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/glyph_text.h"
#include "skin/core/parent_background.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_records.h"
#include "skin/core/skin_strips.h"

namespace {

constexpr Integer kArrowUp = 3, kArrowDown = 4;

// A part of a skin picture drawn with its bottom-left colour left out.
void DrawTransparentPart(TCanvas* ACanvas, TBitmap* APicture, const TRect& APart, Integer AX, Integer AY)
{
    if (!APicture || IsEmptyRect(APart)) return;
    TBitmap part(APart.Width(), APart.Height());
    part.Canvas()->CopyRect(Rect(0, 0, APart.Width(), APart.Height()), APicture->Canvas(), APart);
    part.SetTransparent(true);
    ACanvas->Draw(AX, AY, &part);
}

}  // namespace

TspSkinPanel::TspSkinPanel(TComponent* AOwner) : TspSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    ControlStyle() = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption,
                                   csOpaque, csReplicatable};
    FSkinDataName = "panel";
    FForceBackground = true;
    SetBounds(Left(), Top(), 150, 150);
}

TspSkinPanel::~TspSkinPanel() = default;

// ---- properties ----

void TspSkinPanel::SetRibbonStyle(bool AValue)
{
    if (FRibbonStyle == AValue) return;
    FRibbonStyle = AValue;
    Repaint();
}

void TspSkinPanel::SetImagePosition(TspImagePosition AValue)
{
    if (FImagePosition == AValue) return;
    FImagePosition = AValue;
    Repaint();
}

void TspSkinPanel::SetTransparentMode(bool AValue)
{
    const bool changed = FTransparentMode != AValue;
    FTransparentMode = AValue;
    if (changed) Repaint();
    if (!Loading()) CheckControlsBackground();
}

void TspSkinPanel::SetCaptionImageList(TCustomImageList* AValue)
{
    if (FCaptionImageList) FCaptionImageList->RemoveFreeNotification(this);
    FCaptionImageList = AValue;
    if (AValue) AValue->FreeNotification(this);
    Repaint();
}

void TspSkinPanel::SetCaptionImageIndex(Integer AValue)
{
    if (FCaptionImageIndex == AValue) return;
    FCaptionImageIndex = AValue;
    Repaint();
}

void TspSkinPanel::SetCheckedMode(bool AValue)
{
    FCheckedMode = AValue;
    Repaint();
}

void TspSkinPanel::SetChecked(bool AValue)
{
    FChecked = AValue;
    if (FCheckedMode) Repaint();
    if (FAutoEnabledControls && FCheckedMode)
        for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(AValue);
    if (OnChecked) OnChecked(this);
}

void TspSkinPanel::SetGlyph(TBitmap* AValue)
{
    if (AValue)
        FGlyph->Assign(AValue);
    else
        FGlyph = std::make_unique<TBitmap>();
    Repaint();
}

void TspSkinPanel::SetNumGlyphs(TspSkinPanelNumGlyphs AValue)
{
    FNumGlyphs = std::clamp<TspSkinPanelNumGlyphs>(AValue, 1, 2);
    Repaint();
}

void TspSkinPanel::SetSpacing(Integer AValue)
{
    FSpacing = AValue;
    Repaint();
}

void TspSkinPanel::SetDefaultAlignment(TAlignment AValue)
{
    FDefaultAlignment = AValue;
    if (!Skinned() && FCaptionMode) Repaint();
}

void TspSkinPanel::SetDefaultCaptionHeight(Integer AValue)
{
    FDefaultCaptionHeight = AValue;
    if (Skinned() || !FCaptionMode) return;
    Repaint();
    Realign();
}

void TspSkinPanel::SetBorderStyle(TspSkinBorderStyle AValue)
{
    FBorderStyle = AValue;
    if (Skinned()) return;
    Repaint();
    Realign();
}

void TspSkinPanel::SetCaptionMode(bool AValue)
{
    FCaptionMode = AValue;
    Repaint();
    Realign();
}

void TspSkinPanel::SetRollUpMode(bool AValue)
{
    FRollUpMode = AValue;
    if (!Skinned() && FCaptionMode) Repaint();
}

void TspSkinPanel::SetRollUpState(bool AValue)
{
    if (FRollUpState == AValue) return;
    // Only roll-up mode rolls up; a rolled-up panel always comes down again.
    if (AValue && !FRollUpMode) return;
    TSizeConstraints* limits = Constraints();
    if (AValue) {
        FCMaxWidth = limits->MaxWidth();
        FCMinWidth = limits->MinWidth();
        FCMaxHeight = limits->MaxHeight();
        FCMinHeight = limits->MinHeight();
        limits->SetMinWidth(0);
        limits->SetMinHeight(0);
        limits->SetMaxWidth(0);
        limits->SetMaxHeight(0);
        FRollUpState = true;
        DoRollUp(true);
    } else {
        FRollUpState = false;
        DoRollUp(false);
        limits->SetMaxWidth(FCMaxWidth);
        limits->SetMinWidth(FCMinWidth);
        limits->SetMaxHeight(FCMaxHeight);
        limits->SetMinHeight(FCMinHeight);
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TspSkinPanel::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FCaptionImageList) FCaptionImageList = nullptr;
}

// ---- skin and geometry ----

void TspSkinPanel::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    auto* r = RecordAs<TspDataSkinPanelControl>();
    if (!r) return;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    Alignment = r->Alignment;
    CaptionRect = r->CaptionRect;
    BGPictureIndex = r->BGPictureIndex;
    CheckImageRect = r->CheckImageRect;
    UnCheckImageRect = r->UnCheckImageRect;
    MarkFrameRect = r->MarkFrameRect;
    FrameRect = r->FrameRect;
    FrameLeftOffset = r->FrameLeftOffset;
    FrameRightOffset = r->FrameRightOffset;
    FrameTextRect = r->FrameTextRect;
}

bool TspSkinPanel::HasBackgroundPicture() const
{
    return SkinPicture(FSD, BGPictureIndex) != nullptr;
}

void TspSkinPanel::ChangeSkinData()
{
    TspSkinCustomControl::ChangeSkinData();
    if (FRollUpState && FRealHeight != -1) {
        // Rolled up again for the new skin's frame, keeping the height to come back to.
        const Integer real = FRealHeight;
        FRealHeight = -1;
        DoRollUp(true);
        FRealHeight = real;
    } else {
        Realign();
    }
}

void TspSkinPanel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    TspSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!Skinned()) Repaint();
}

bool TspSkinPanel::CanAutoSize(Integer& ANewWidth, Integer& ANewHeight)
{
    if (FInChangingRollUp && FRollUpMode && AutoSize()) return false;
    return TspSkinCustomControl::CanAutoSize(ANewWidth, ANewHeight);
}

void TspSkinPanel::ApplyCaptionFont(TCanvas* ACanvas)
{
    if (FUseSkinFont && Skinned()) {
        ACanvas->Font()->Assign(DefaultFont());
        ACanvas->Font()->SetName(FontName);
        ACanvas->Font()->SetHeight(FontHeight);
        ACanvas->Font()->SetStyle(FontStyle);
    } else {
        ACanvas->Font()->Assign(DefaultFont());
    }
}

void TspSkinPanel::AdjustClientRect(TRect& ARect)
{
    GetSkinData();
    FitCurrentSize();
    ARect = Rect(0, 0, ClientWidth(), ClientHeight());
    if (Skinned() && FTransparentMode) {
        Integer top = 2;
        if (FCaptionMode) {
            TBitmap measure(1, 1);
            ApplyCaptionFont(measure.Canvas());
            top = measure.Canvas()->TextHeight(Caption());
        }
        ARect = Rect(2, top, Width() - 2, Height() - 2);
    } else if (!Skinned()) {
        if (FBorderStyle != TspSkinBorderStyle::bvNone) ARect = Rect(1, 1, ARect.Right - 1, ARect.Bottom - 1);
        if (FCaptionMode) {
            if (FRibbonStyle)
                ARect.Bottom -= FDefaultCaptionHeight;
            else
                ARect.Top += FDefaultCaptionHeight;
        }
    } else {
        const bool plainTiled =
            FBorderStyle == TspSkinBorderStyle::bvNone && !FCaptionMode && ResizeMode == rmNinePiece;
        if (!HasBackgroundPicture() && !plainTiled) ARect = Fitted.NewClRect;
    }
}

TRect TspSkinPanel::GetSkinClientRect()
{
    TRect r = Rect(0, 0, Width(), Height());
    AdjustClientRect(r);
    return r;
}

// ---- roll-up ----

void TspSkinPanel::DoRollUp(bool ARollUp)
{
    FInChangingRollUp = true;
    if (ARollUp && FRealHeight == -1) {
        GetSkinData();
        FitCurrentSize();
        FRealHeight = Height();
        if (!FAlignHeld) {
            DisableAlign();
            FAlignHeld = true;
        }
        for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(false);
        SetHeight(Skinned() ? Height() - Fitted.NewClRect.Height() : FDefaultCaptionHeight + 1);
    } else if (!ARollUp && FRealHeight != -1) {
        SetHeight(FRealHeight);
        FRealHeight = -1;
        for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(true);
        if (FAlignHeld) {
            FAlignHeld = false;
            EnableAlign();
        }
    }
    FInChangingRollUp = false;
}

// ---- painting ----

void TspSkinPanel::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    FitCurrentSize();
    if (Skinned() && FTransparentMode) {
        PaintTransparent();
        return;
    }
    if (!Skinned() || (!FForceBackground && StretchEffect)) {
        TspSkinCustomControl::Paint();
        return;
    }
    if (FBorderStyle == TspSkinBorderStyle::bvNone && ResizeMode == rmNinePiece && !FCaptionMode &&
        FForceBackground && !FAlphaBlend) {
        DrawClientPart(Canvas(), Rect(0, 0, Width(), Height()));
        return;
    }
    if (HasBackgroundPicture()) {
        PaintBackgroundPicture();
        return;
    }
    TspSkinCustomControl::Paint();
}

void TspSkinPanel::PaintBackgroundPicture()
{
    TBitmap* picture = SkinPicture(FSD, BGPictureIndex);
    const TRect whole = Rect(0, 0, Width(), Height());
    if (StretchEffect && StretchType == spstFull)
        DrawTiledPicture(Canvas(), picture, Fitted.NewClRect, true, spstFull);
    else
        DrawTiledPicture(Canvas(), picture, whole, StretchEffect, StretchType);
}

void TspSkinPanel::PaintTransparent()
{
    TBitmap image(Width(), Height());
    PaintParentBackground(this, image.Canvas());
    TCanvas* c = image.Canvas();
    if (FCaptionMode) {
        PaintTransparentCaption(c);
    } else if (FBorderStyle != TspSkinBorderStyle::bvNone) {
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(FSD->FSkinColors->FcBtnShadow);
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(0, 0, Width(), Height());
    }
    PaintPanelContent(c);
    Canvas()->Draw(0, 0, &image);
}

void TspSkinPanel::PaintTransparentCaption(TCanvas* ACanvas)
{
    const TColor shadow = FSD->FSkinColors->FcBtnShadow;
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetColor(shadow);
    ACanvas->Brush()->SetStyle(bsClear);
    ApplyCaptionFont(ACanvas);
    const std::string caption = Caption();
    const Integer th = ACanvas->TextHeight(caption);
    const TRect r = Rect(5, 0, Width(), th + 5);
    FNewCaptionRect = r;
    Integer x = 5;
    if (FCheckedMode) x = DrawSkinCheckPicture(ACanvas, 5, r) + 10;
    if (const Integer iw = CaptionImageWidth(); iw > 0) {
        DrawCaptionImage(ACanvas, x, r);
        x += iw + 2;
    }
    auto* label = FindRecordAs<TspDataSkinStdLabelControl>(FSD, "stdlabel");
    const TColor textColor = label ? label->FontColor : FSD->FSkinColors->FcBtnText;
    ACanvas->Font()->SetColor(textColor);
    DrawVCenteredText(ACanvas, Utf8ToWide(caption), Rect(x, 0, Width(), th + 5));
    const Integer tw = caption.empty() ? 0 : ACanvas->TextWidth(caption);
    const Integer m = (th + 5) / 2;
    ACanvas->Pen()->SetColor(shadow);
    if (FRollUpMode) {
        DrawArrowGlyph(ACanvas, Rect(x + tw + 3, 0, x + tw + 10, th + 5), textColor,
                       FRollUpState ? kArrowDown : kArrowUp);
        ACanvas->Pen()->SetColor(shadow);
        ACanvas->MoveTo(x + tw + 12, m);
    } else {
        ACanvas->MoveTo(x + tw + 3, m);
    }
    ACanvas->LineTo(Width(), m);
    ACanvas->MoveTo(0, m);
    ACanvas->LineTo(4, m);
    ACanvas->MoveTo(Width() - 1, m);
    ACanvas->LineTo(Width() - 1, Height() - 1);
    ACanvas->LineTo(0, Height() - 1);
    ACanvas->LineTo(0, m);
}

Integer TspSkinPanel::CaptionWidth(TCanvas* ACanvas)
{
    Integer w = ACanvas->TextWidth(Caption());
    if (!FGlyph->Empty()) w += FGlyph->Width() / FNumGlyphs + FSpacing;
    return w;
}

Integer TspSkinPanel::CaptionImageWidth()
{
    if (FGlyph->Empty()) {
        if (FCaptionImageList && FCaptionImageIndex >= 0 && FCaptionImageIndex < FCaptionImageList->Count())
            return FCaptionImageList->Width();
        return 0;
    }
    return FGlyph->Width() / FNumGlyphs;
}

void TspSkinPanel::DrawCaptionImage(TCanvas* ACanvas, Integer AX, const TRect& AR)
{
    if (FGlyph->Empty()) {
        if (!FCaptionImageList || FCaptionImageIndex < 0 || FCaptionImageIndex >= FCaptionImageList->Count()) return;
        FCaptionImageList->Draw(ACanvas, AX, AR.Top + AR.Height() / 2 - FCaptionImageList->Height() / 2,
                                FCaptionImageIndex, Enabled());
        return;
    }
    const Integer frame = !Enabled() && FNumGlyphs == 2 ? 2 : 1;
    DrawGlyphStripFrame(ACanvas, AX, AR.Top + AR.Height() / 2 - FGlyph->Height() / 2, FGlyph.get(), FNumGlyphs, frame);
}

Integer TspSkinPanel::DrawSkinCheckPicture(TCanvas* ACanvas, Integer AX, const TRect& AR)
{
    const TRect part = FChecked ? CheckImageRect : UnCheckImageRect;
    DrawTransparentPart(ACanvas, Picture, part, AX, AR.Top + AR.Height() / 2 - part.Height() / 2);
    return part.Width();
}

TRect TspSkinPanel::UnskinnedCaptionBar() const
{
    const Integer w = Width(), h = Height(), ch = FDefaultCaptionHeight;
    if (FBorderStyle == TspSkinBorderStyle::bvFrame) return FRibbonStyle ? Rect(0, h - ch, w, h) : Rect(0, 0, w, ch);
    return FRibbonStyle ? Rect(1, h - ch - 1, w - 1, h - 1) : Rect(1, 1, w - 1, ch);
}

void TspSkinPanel::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawUnskinnedImage(B);
    TCanvas* c = B->Canvas();
    const TRect whole = Rect(0, 0, Width(), Height());
    switch (FBorderStyle) {
    case TspSkinBorderStyle::bvFrame: DrawFrame3D(c, whole, clBtnShadow, clBtnShadow); break;
    case TspSkinBorderStyle::bvRaised: DrawFrame3D(c, whole, clBtnHighlight, clBtnShadow); break;
    case TspSkinBorderStyle::bvLowered: DrawFrame3D(c, whole, clBtnShadow, clBtnHighlight); break;
    case TspSkinBorderStyle::bvNone: break;
    }
    if (FCaptionMode) DrawUnskinnedCaption(c);
}

void TspSkinPanel::DrawUnskinnedCaption(TCanvas* c)
{
    TRect r = UnskinnedCaptionBar();
    if (FBorderStyle == TspSkinBorderStyle::bvFrame) {
        DrawFrame3D(c, r, clBtnShadow, clBtnShadow);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        DrawFrame3D(c, r, clBtnHighlight, clBtnFace);
    } else {
        DrawFrame3D(c, r, clBtnShadow, clBtnHighlight);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        DrawFrame3D(c, r, clBtnHighlight, clBtnShadow);
    }
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    if (FCheckedMode) r.Left += 20;
    if (FRollUpMode) r.Right -= 10;
    c->Font()->Assign(DefaultFont());
    const std::string caption = Caption();
    const Integer ty = r.Top + r.Height() / 2 - c->TextHeight(caption) / 2;
    const Integer cw = CaptionWidth(c);
    Integer tx = FDefaultAlignment == taLeftJustify ? r.Left + 2
                 : FDefaultAlignment == taRightJustify ? r.Right - cw
                                                         : r.Left + 2 + r.Width() / 2 - cw / 2;
    if (FCheckedMode) {
        const Integer t = r.Top + r.Height() / 2 - 7;
        DrawFrame3D(c, Rect(5, t, 19, t + 14), clBtnShadow, clBtnShadow);
        if (FChecked) DrawCheckGlyph(c, 5 + 4, t + 3, clBtnText);
    }
    const Integer imageX = tx;
    if (const Integer iw = CaptionImageWidth(); iw > 0) tx += iw + FSpacing;
    c->Brush()->SetStyle(bsClear);
    c->TextRect(r, tx, ty, caption);
    DrawCaptionImage(c, imageX, r);
    if (FRollUpMode)
        DrawArrowGlyph(c, Rect(r.Right, r.Top, r.Right + 10, r.Bottom), clBtnText, FRollUpState ? kArrowDown : kArrowUp);
}

void TspSkinPanel::DrawSkinnedImage(TBitmap* B)
{
    if (FBorderStyle == TspSkinBorderStyle::bvNone && ResizeMode == rmNinePiece && !FCaptionMode && !StretchEffect) {
        DrawClientPart(B->Canvas(), Rect(0, 0, Width(), Height()));
        return;
    }
    TspSkinCustomControl::DrawSkinnedImage(B);
    FNewCaptionRect = ResizeMode == rmFixed || ResizeMode == rmNone ? CaptionRect : MapSkinRect(CaptionRect);
    if (!Caption().empty() && !IsEmptyRect(CaptionRect)) DrawSkinnedCaption(B->Canvas());
}

void TspSkinPanel::DrawSkinnedCaption(TCanvas* c)
{
    TRect r = FNewCaptionRect;
    if (FRollUpMode) r.Right -= 12;
    if (FCheckedMode) r.Left += DrawSkinCheckPicture(c, r.Left, r) + 2;
    ApplyCaptionFont(c);
    c->Font()->SetColor(FontColor);
    const std::string caption = Caption();
    const Integer ty = r.Top + r.Height() / 2 - c->TextHeight(caption) / 2;
    const Integer cw = CaptionWidth(c);
    Integer tx = Alignment == taLeftJustify ? r.Left : Alignment == taRightJustify ? r.Right - cw
                                                                                   : r.Left + r.Width() / 2 - cw / 2;
    Integer ix = tx;
    const Integer iw = CaptionImageWidth();
    const Integer tw = c->TextWidth(caption);
    if (iw > 0) {
        if (FImagePosition == spipDefault) {
            tx += iw + FSpacing;
        } else {
            ix = r.Left + 2;
            tx = Alignment == taLeftJustify ? ix + iw : Alignment == taRightJustify ? r.Right - tw
                                                                                    : r.Left + r.Width() / 2 - tw / 2;
            tx = std::max(tx, r.Left + 2 + iw + FSpacing);
        }
    }
    if (FRollUpMode) {
        const TRect a = Rect(r.Right, r.Top, r.Right + 10, r.Bottom);
        if (!IsEmptyRect(MarkFrameRect) && Picture)
            c->CopyRect(Rect(a.Left, a.Top, a.Left + MarkFrameRect.Width(), CaptionRect.Top + MarkFrameRect.Height()),
                        Picture->Canvas(), MarkFrameRect);
        DrawArrowGlyph(c, a, FontColor, FRollUpState ? kArrowDown : kArrowUp);
    }
    if (!IsEmptyRect(FrameRect) && Picture) {
        // A plate behind the text, as wide as the text plus the plate's own margins.
        const Integer d = FrameRect.Width() - FrameTextRect.Width();
        TBitmap plate;
        BuildHStripImage(FrameLeftOffset, FrameRightOffset, &plate, Picture, FrameRect, d + tw, FrameRect.Height(),
                         false);
        Integer plateX = tx;
        if (Alignment == taLeftJustify) {
            tx += FrameTextRect.Left;
        } else if (Alignment == taRightJustify) {
            plateX = tx - d;
            tx = plateX + FrameTextRect.Left;
            ix -= d;
        } else {
            plateX = tx - FrameTextRect.Left - 2;
            tx -= 2;
            ix -= FrameTextRect.Left;
        }
        c->Draw(plateX, CaptionRect.Top, &plate);
    }
    c->Brush()->SetStyle(bsClear);
    c->TextRect(r, tx, ty, caption);
    DrawCaptionImage(c, ix, r);
}

// ---- input and messages ----

void TspSkinPanel::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (AButton == mbLeft && FCaptionMode && (FRollUpMode || FCheckedMode)) {
        const Integer w = Width(), h = Height(), ch = FDefaultCaptionHeight;
        const TRect area = Skinned()      ? FNewCaptionRect
                           : FRibbonStyle ? Rect(1, h - ch - 1, w - 1, h - 1)
                                          : Rect(1, 1, w - 1, ch);
        if (PointInsideRect(area, Point(AX, AY))) {
            if (FCheckedMode) SetChecked(!FChecked);
            if (FRollUpMode) SetRollUpState(!FRollUpState);
        }
    }
    TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
}

void TspSkinPanel::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_TEXTCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        if (FCaptionMode) Repaint();
        return;
    case SKM_REPAINT_TRANSPARENT:
        if (FTransparentMode || FAlphaBlend) {
            Repaint();
            CheckControlsBackground();
        }
        return;
    case win::WM_MOVE:
        TspSkinCustomControl::WndProc(AMessage);
        if (FTransparentMode) {
            Repaint();
            CheckControlsBackground();
        }
        return;
    default: TspSkinCustomControl::WndProc(AMessage);
    }
}
