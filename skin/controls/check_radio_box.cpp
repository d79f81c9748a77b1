#include "skin/controls/check_radio_box.h"

#include <algorithm>

#include "platform/gdi/text.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/control_messages.h"
#include "platform/gui/menus.h"
#include "platform/win/input.h"
#include "skin/controls/button_look.h"
#include "skin/controls/control_helpers.h"
#include "skin/controls/foreign_paint.h"
#include "skin/controls/plain_look.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/glyph_text.h"
#include "skin/core/parent_background.h"
#include "skin/core/rect_helpers.h"

namespace {

TRect FallBack(const TRect& AValue, const TRect& AFallBack)
{
    return IsEmptyRect(AValue) ? AFallBack : AValue;
}

}  // namespace

TspSkinCheckRadioBox::TspSkinCheckRadioBox(TComponent* AOwner)
    : TspSkinCustomControl(AOwner), FMorphTimer(std::make_unique<TTimer>(nullptr))
{
    // OnClick comes from the state setters, never from the platform's click.
    ControlStyle().Exclude(csClickEvents);
    FSkinDataName = "checkbox";
    FMorphTimer->SetEnabled(false);
    FMorphTimer->SetInterval(TspHotFade::kIntervalMs);
    FMorphTimer->OnTimer = [this](TObject*) { MorphTick(); };
    SetBounds(Left(), Top(), 150, 25);
}

TspSkinCheckRadioBox::~TspSkinCheckRadioBox()
{
    StopMorph();
}

// ---- state ----

void TspSkinCheckRadioBox::Clicked()
{
    if (OnClick) OnClick(this);
}

void TspSkinCheckRadioBox::SetChecked(bool AValue)
{
    FChecked = AValue;
    if (AValue)
        FState = cbChecked;
    else if (FState == cbChecked)
        FState = cbUnchecked;  // a grayed box stays grayed
    Repaint();
    if (AValue && FGroupIndex != 0) UncheckGroup();
    if (!FRadio || FChecked) Clicked();
}

void TspSkinCheckRadioBox::SetState(TCheckBoxState AValue)
{
    FState = AValue;
    FChecked = AValue == cbChecked;
    Repaint();
    Clicked();
}

void TspSkinCheckRadioBox::ToggleState()
{
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

void TspSkinCheckRadioBox::UncheckGroup()
{
    TWinControl* parent = Parent();
    if (!parent) return;
    for (Integer i = 0; i < parent->ControlCount(); ++i) {
        auto* sibling = dynamic_cast<TspSkinCheckRadioBox*>(parent->Controls(i));
        if (sibling && sibling != this && sibling->FGroupIndex == FGroupIndex && sibling->FChecked)
            sibling->SetChecked(false);
    }
}

// ---- properties ----

void TspSkinCheckRadioBox::SetAllowGrayed(bool AValue)
{
    FAllowGrayed = AValue;
    Repaint();
}

void TspSkinCheckRadioBox::SetRadio(bool AValue)
{
    FRadio = AValue;
    if (!Skinned() && FDrawDefault) Repaint();
}

void TspSkinCheckRadioBox::SetFlat(bool AValue)
{
    FFlat = AValue;
    if (FSD && !FSD->Empty) ChangeSkinData();
    Repaint();
}

void TspSkinCheckRadioBox::SetWordWrap(bool AValue)
{
    if (FWordWrap == AValue) return;
    FWordWrap = AValue;
    if (FFlat) Repaint();
}

void TspSkinCheckRadioBox::SetImages(TCustomImageList* AValue)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (FImages) FImages->FreeNotification(this);
    Repaint();
}

void TspSkinCheckRadioBox::SetImageIndex(Integer AValue)
{
    FImageIndex = AValue;
    Repaint();
}

void TspSkinCheckRadioBox::SetUseSkinFontColor(bool AValue)
{
    FUseSkinFontColor = AValue;
    Repaint();
}

void TspSkinCheckRadioBox::SetCanFocused(bool AValue)
{
    FCanFocused = AValue;
    SetTabStop(AValue);
}

void TspSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FImages) FImages = nullptr;
}

// ---- skin ----

void TspSkinCheckRadioBox::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    auto* r = RecordAs<TspDataSkinCheckRadioControl>();
    if (!r) {
        // No record of the class: the plain looks.
        FIndex = -1;
        Look.Morphing = false;
        return;
    }
    Look.FontName = r->FontName;
    Look.FontStyle = r->FontStyle;
    Look.FontHeight = r->FontHeight;
    Look.FontColor = r->FontColor;
    Look.ActiveFontColor = r->ActiveFontColor;
    Look.FrameFontColor = r->FrameFontColor;
    Look.UnEnabledFontColor = r->UnEnabledFontColor;
    Look.ActiveSkinRect = FallBack(r->ActiveSkinRect, r->SkinRect);
    Look.CheckImageArea = r->CheckImageArea;
    Look.TextArea = r->TextArea;
    Look.CheckImageRect = r->CheckImageRect;
    Look.UnCheckImageRect = r->UnCheckImageRect;
    Look.ActiveCheckImageRect = FallBack(r->ActiveCheckImageRect, r->CheckImageRect);
    Look.ActiveUnCheckImageRect = FallBack(r->ActiveUnCheckImageRect, r->UnCheckImageRect);
    Look.UnEnabledCheckImageRect = FallBack(r->UnEnabledCheckImageRect, r->CheckImageRect);
    Look.UnEnabledUnCheckImageRect = FallBack(r->UnEnabledUnCheckImageRect, r->UnCheckImageRect);
    Look.GrayedCheckImageRect = r->GrayedCheckImageRect;
    Look.ActiveGrayedCheckImageRect = r->ActiveGrayedCheckImageRect;
    Look.Morphing = r->Morphing && !FFlat;
    Look.MorphKind = r->MorphKind;
    if (FFlat) MaskPicture = nullptr;
}

void TspSkinCheckRadioBox::ChangeSkinData()
{
    if (FFlat) {
        GetSkinData();
        Repaint();
        return;
    }
    StopMorph();
    FFade.SetHot(false);
    TspSkinCustomControl::ChangeSkinData();
    if (MorphAllowed() && Skinned() && Hot()) FFade.SetHot(true);
}

void TspSkinCheckRadioBox::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    if (FFlat) return;
    TspSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
    if (!Skinned()) return;
    const Integer dx = AWidth - Pieces.SkinRect.Width();
    NewTextArea = Look.TextArea;
    NewTextArea.Right += dx;
    TRect area = Look.CheckImageArea;
    if (Look.TextArea.Right < Look.CheckImageArea.Right) {
        area.Left += dx;
        area.Right += dx;
    }
    const Integer w = Look.CheckImageRect.Width(), h = Look.CheckImageRect.Height();
    const Integer left = area.Left + area.Width() / 2 - w / 2, top = area.Top + area.Height() / 2 - h / 2;
    CIRect = Rect(left, top, left + w, top + h);
}

// ---- hot state and fade ----

bool TspSkinCheckRadioBox::Hot()
{
    return FMouseIn || (FCanFocused && HandleAllocated() && Focused());
}

bool TspSkinCheckRadioBox::MorphAllowed() const
{
    return Look.Morphing && FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

void TspSkinCheckRadioBox::HotChange()
{
    if (MorphAllowed() && Skinned())
        FMorphTimer->SetEnabled(true);
    else
        Invalidate();
}

void TspSkinCheckRadioBox::StopMorph()
{
    FMorphTimer->SetEnabled(false);
}

void TspSkinCheckRadioBox::MorphTick()
{
    const bool hot = Hot();
    if (!Skinned() || !MorphAllowed()) {
        FFade.SetHot(hot);
        StopMorph();
    } else if (hot ? FFade.StepIn() : FFade.StepOut()) {
        Repaint();
    } else {
        FFade.SetHot(hot);
        StopMorph();
        Repaint();
    }
}

// ---- mouse, keys and messages ----

void TspSkinCheckRadioBox::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (AButton == mbLeft) {
        FDown = true;
        if (!FMouseIn) {
            FMouseIn = true;
            HotChange();
        }
    }
    TspSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
}

void TspSkinCheckRadioBox::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
    if (AButton != mbLeft) return;
    const bool click = FMouseIn && FDown;
    FDown = false;
    if (!click) return;
    if (!FAllowGrayed || FRadio)
        ToggleState();
    else if (FState == cbUnchecked)
        SetState(cbGrayed);
    else
        ToggleState();
}

void TspSkinCheckRadioBox::CheckParentBackground()
{
    if (FFlat) Repaint();
}

void TspSkinCheckRadioBox::WndProc(TMessage& AMessage)
{
    const auto key = AMessage.WParam;
    switch (AMessage.Msg) {
    case win::WM_KEYUP:
        if (FCanFocused && key == win::VK_SPACE && Focused()) ToggleState();
        break;
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
        if (DropClickWithoutFocus(this, FCanFocused, Designing(), FClicksDisabled)) return;
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
    case win::WM_MOUSEMOVE:
        // While the box holds the mouse the pointer still enters and leaves it.
        if (FDown && !Designing()) {
            const TPoint at{win::GET_X_LPARAM(AMessage.LParam), win::GET_Y_LPARAM(AMessage.LParam)};
            const bool over = at.X >= 0 && at.Y >= 0 && at.X < Width() && at.Y < Height();
            if (over != FMouseIn) Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char32_t>(key), Caption()) && CanFocus() && FCanFocused) {
            SetFocus();
            ToggleState();
            AMessage.Result = 1;
            return;
        }
        break;
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
        TspSkinCustomControl::WndProc(AMessage);
        if (FCanFocused) HotChange();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TspSkinCustomControl::WndProc(AMessage);
        if (Designing()) return;
        FMouseIn = AMessage.Msg == CM_MOUSEENTER;
        HotChange();
        return;
    case CM_ENABLEDCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        if (MorphAllowed()) {
            StopMorph();
            FFade.SetHot(false);
        }
        FMouseIn = false;
        Repaint();
        return;
    case CM_TEXTCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        if (Skinned() || Designing() || FDrawDefault) Repaint();
        return;
    case win::WM_MOVE:
        TspSkinCustomControl::WndProc(AMessage);
        Invalidate();
        return;
    case win::WM_ERASEBKGND:
        if (!FromWMPaint && !FFlat)
            PaintIntoForeignDC(Canvas(), reinterpret_cast<win::HDC>(AMessage.WParam), [this] { Paint(); });
        AMessage.Result = 1;
        return;
    default: break;
    }
    TspSkinCustomControl::WndProc(AMessage);
}

// ---- painting ----

void TspSkinCheckRadioBox::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (FFlat) {
        // The parent's background under the picture and caption; no blending in this look.
        TBitmap image(Width(), Height());
        PaintParentBackground(this, image.Canvas());
        PaintFlat(image.Canvas());
        Canvas()->Draw(0, 0, &image);
        return;
    }
    FitCurrentSize();
    if (!Skinned()) {
        PaintCycle();
        return;
    }
    PaintFace();
}

void TspSkinCheckRadioBox::PaintFace()
{
    TBitmap image(Width(), Height());
    if (MorphAllowed() && !FFade.AtNormal() && !FFade.AtHot()) {
        DrawHotFadeFrame(&image, Look.MorphKind, FFade.Kf(), [this](TBitmap* ATarget, bool AHot) {
            DrawFace(ATarget, AHot ? Look.ActiveSkinRect : Pieces.SkinRect, AHot);
        });
    } else if (Hot()) {
        DrawFace(&image, Look.ActiveSkinRect, true);
    } else {
        DrawFace(&image, Pieces.SkinRect, false);
    }
    PaintImage(&image);
}

void TspSkinCheckRadioBox::DrawFace(TBitmap* B, const TRect& ASkinRect, bool AActive)
{
    CreateSkinImage(B, Picture, ASkinRect);
    TCanvas* c = B->Canvas();
    DrawCheckImage(c, CIRect.Left, CIRect.Top + CIRect.Height() / 2 - Look.CheckImageRect.Height() / 2);
    ApplySkinFont(c);
    c->Font()->SetColor(!Enabled() ? Look.UnEnabledFontColor : AActive ? Look.ActiveFontColor : Look.FontColor);
    c->Brush()->SetStyle(bsClear);
    DrawVCenteredText(c, Utf8ToWide(Caption()), NewTextArea);
}

TRect TspSkinCheckRadioBox::CheckImageOf() const
{
    const bool marked = FChecked || FState == cbGrayed;
    if (!Enabled()) return marked ? Look.UnEnabledCheckImageRect : Look.UnEnabledUnCheckImageRect;
    if (FMouseIn) return marked ? Look.ActiveCheckImageRect : Look.ActiveUnCheckImageRect;
    return marked ? Look.CheckImageRect : Look.UnCheckImageRect;
}

void TspSkinCheckRadioBox::DrawCheckImage(TCanvas* ACanvas, Integer AX, Integer AY)
{
    if (!Picture) return;
    TRect r = CheckImageOf();
    bool brighten = false;
    if (FState == cbGrayed) {
        // Without a grayed picture of its own the skin's checked picture is shown brightened halfway to white.
        if (IsEmptyRect(Look.GrayedCheckImageRect))
            brighten = true;
        else
            r = FMouseIn && !IsEmptyRect(Look.ActiveGrayedCheckImageRect) ? Look.ActiveGrayedCheckImageRect
                                                                          : Look.GrayedCheckImageRect;
    }
    if (IsEmptyRect(r)) return;
    TBitmap part(r.Width(), r.Height());
    part.Canvas()->CopyRect(Rect(0, 0, r.Width(), r.Height()), Picture->Canvas(), r);
    if (brighten) {
        auto effect = TspEffectBmp::CreateFromhWnd(part.Handle());
        effect->ChangeBrightness(0.5);
        effect->Draw(part.Canvas()->Handle(), 0, 0);
    }
    part.SetTransparent(true);
    ACanvas->Draw(AX, AY, &part);
}

void TspSkinCheckRadioBox::ApplySkinFont(TCanvas* ACanvas)
{
    TFont* font = ACanvas->Font();
    font->Assign(DefaultFont());
    if (FUseSkinFont) {
        font->SetName(Look.FontName);
        font->SetHeight(Look.FontHeight);
        font->SetStyle(Look.FontStyle);
    }
}

bool TspSkinCheckRadioBox::ImageShown() const
{
    return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
}

void TspSkinCheckRadioBox::DrawPlainMark(TCanvas* ACanvas, Integer AHeight)
{
    const Integer h2 = AHeight / 2;
    if (FState == cbGrayed && !FRadio) {
        DrawCheckGlyph(ACanvas, 7, h2 - 4, clGrayText);
    } else if (FChecked) {
        const TColor ink = Enabled() ? clBlack : clBtnShadow;
        if (FRadio)
            DrawRadioGlyph(ACanvas, 7, h2 - 3, ink);
        else
            DrawCheckGlyph(ACanvas, 7, h2 - 4, ink);
    }
}

void TspSkinCheckRadioBox::PaintFlat(TCanvas* ACanvas)
{
    const Integer w = Width(), h = Height();
    TCanvas* c = ACanvas;
    Integer x0 = 22, gap = 5;
    if (Skinned()) {
        DrawCheckImage(c, 3, h / 2 - Look.CheckImageRect.Height() / 2);
        ApplySkinFont(c);
        x0 = Look.CheckImageRect.Width() + 7;
        gap = 8;
        c->Font()->SetColor(Enabled() ? Look.FrameFontColor : Look.UnEnabledFontColor);
        if (!FUseSkinFontColor) c->Font()->SetColor(DefaultFont()->Color());
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(FMouseIn ? kPlainHotFrame : clBtnShadow);
        c->FrameRect(Rect(3, h / 2 - 7, 17, h / 2 + 7));
        c->Font()->Assign(DefaultFont());
        if (!Enabled()) c->Font()->SetColor(clBtnShadow);
    }
    c->Brush()->SetStyle(bsClear);
    const std::string caption = Caption();
    win::HDC dc = c->Handle();
    const Integer imageWidth = ImageShown() ? FImages->Width() + gap : 0;
    TRect text, wrapped;
    if (!FWordWrap) {
        TRect measured = Rect(0, 0, 0, 0);
        win::DrawText(dc, caption, &measured, win::DT_CALCRECT | win::DT_SINGLELINE);
        const Integer top = h / 2 - measured.Height() / 2;
        text = Rect(x0, top, std::min(x0 + measured.Width(), w - 2), top + measured.Height());
    } else {
        wrapped = Rect(x0 + imageWidth, 0, w - 2, h);
        win::DrawText(dc, caption, &wrapped, win::DT_CALCRECT | win::DT_EXPANDTABS | win::DT_WORDBREAK);
        const Integer height = wrapped.Height();
        wrapped.Top = std::max(0, h / 2 - height / 2);
        wrapped.Bottom = wrapped.Top + height;
        text = Rect(x0, 0, w - 2, h);
    }
    TRect image;
    if (ImageShown()) {
        image = Bounds(text.Left, h / 2 - FImages->Height() / 2, FImages->Width(), FImages->Height());
        FImages->Draw(c, image.Left, image.Top, FImageIndex, Enabled());
        text.Left += imageWidth;
        text.Right = std::max(text.Right, text.Left);
    }
    if (FWordWrap) {
        TRect r = wrapped;
        win::DrawText(dc, caption, &r, win::DT_EXPANDTABS | win::DT_WORDBREAK);
    } else {
        DrawVCenteredText(c, Utf8ToWide(caption), text);
    }
    if (!Skinned()) DrawPlainMark(c, h);
    if (!(FCanFocused && HandleAllocated() && Focused())) return;
    const TspSkinColors* colors = Skinned() && FSD ? FSD->FSkinColors.get() : nullptr;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(colors ? colors->FcBtnFace : clBtnFace);
    if (!caption.empty()) {
        const TRect around = FWordWrap ? wrapped : text;
        DrawDottedFocusRect(c, Rect(around.Left - 2, around.Top - 1, around.Right + 2 + (FWordWrap ? 0 : 1),
                                    around.Bottom + 1));
    } else if (ImageShown()) {
        DrawDottedFocusRect(c, Rect(image.Left - 1, image.Top - 1, image.Right + 1, image.Bottom + 1));
    }
}

void TspSkinCheckRadioBox::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawUnskinnedImage(B);
    TCanvas* c = B->Canvas();
    const Integer w = Width(), h = Height();
    if (Hot()) {
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(Rect(0, 0, w, h));
    }
    c->Font()->Assign(DefaultFont());
    if (!Enabled()) c->Font()->SetColor(clBtnShadow);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FMouseIn ? kPlainHotFrame : clBtnShadow);
    c->FrameRect(Rect(3, h / 2 - 7, 17, h / 2 + 7));
    c->Brush()->SetStyle(bsClear);
    DrawVCenteredText(c, Utf8ToWide(Caption()), Rect(19, 0, w, h));
    DrawPlainMark(c, h);
}
