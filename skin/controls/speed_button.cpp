#include "skin/controls/speed_button.h"

#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"
#include "skin/controls/plain_look.h"
#include "skin/core/control_records.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_records.h"

namespace {

constexpr Cardinal kFirstRepeatDelayMs = 500;

}  // namespace

TspSkinSpeedButton::TspSkinSpeedButton(TComponent* AOwner)
    : TspGraphicSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FSkinDataName = "toolbutton";
    FContent.ImageIndex = 0;
    ControlStyle() = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
    SetBounds(Left(), Top(), 25, 25);
    // Both timers run only while their effect does.
    FMorphTimer = std::make_unique<TTimer>(nullptr);
    FMorphTimer->SetEnabled(false);
    FMorphTimer->SetInterval(TspHotFade::kIntervalMs);
    FMorphTimer->OnTimer = [this](TObject*) { MorphTick(); };
    FRepeatTimer = std::make_unique<TTimer>(nullptr);
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->OnTimer = [this](TObject*) { RepeatTick(); };
    FAnimateTimer = std::make_unique<TTimer>(nullptr);
    FAnimateTimer->SetEnabled(false);
    FAnimateTimer->OnTimer = [this](TObject*) { AnimationTick(); };
}

TspSkinSpeedButton::~TspSkinSpeedButton()
{
    StopRepeat();
    StopMorph();
    StopAnimation();
}

// ---- properties ----

void TspSkinSpeedButton::SetImageList(TCustomImageList* AValue)
{
    if (FContent.ImageList) FContent.ImageList->RemoveFreeNotification(this);
    FContent.ImageList = AValue;
    if (AValue) AValue->FreeNotification(this);
    Repaint();
}

void TspSkinSpeedButton::SetImageIndex(Integer AValue)
{
    FContent.ImageIndex = AValue;
    if (dynamic_cast<TspButtonImageSource*>(Parent()) || FContent.ImageList) Repaint();
}

void TspSkinSpeedButton::SetGlyph(TBitmap* AValue)
{
    if (AValue)
        FGlyph->Assign(AValue);
    else
        FGlyph = std::make_unique<TBitmap>();
    Repaint();
}

void TspSkinSpeedButton::SetNumGlyphs(TspNumGlyphs AValue)
{
    FContent.NumGlyphs = std::clamp<TspNumGlyphs>(AValue, 1, 4);
    Repaint();
}

void TspSkinSpeedButton::SetLayout(TspButtonLayout AValue)
{
    FContent.Layout = AValue;
    Repaint();
}

void TspSkinSpeedButton::SetMargin(Integer AValue)
{
    if (AValue < -1) return;
    FContent.Margin = AValue;
    Repaint();
}

void TspSkinSpeedButton::SetSpacing(Integer AValue)
{
    FContent.Spacing = AValue;
    Repaint();
}

void TspSkinSpeedButton::SetUseSkinSize(bool AValue)
{
    FUseSkinSize = AValue;
    if (FSD && !FSD->Empty) ChangeSkinData();
}

void TspSkinSpeedButton::SetUseSkinFontColor(bool AValue)
{
    FUseSkinFontColor = AValue;
    Repaint();
}

void TspSkinSpeedButton::SetFlat(bool AValue)
{
    FFlat = AValue;
    // A flat button lets the parent show through.
    if (AValue)
        ControlStyle().Exclude(csOpaque);
    else
        ControlStyle().Include(csOpaque);
    Repaint();
}

void TspSkinSpeedButton::SetShowCaption(bool AValue)
{
    if (FShowCaption == AValue) return;
    FShowCaption = AValue;
    if (WidthWithCaption > 0 && WidthWithoutCaption > 0)
        SetWidth(AValue ? WidthWithCaption : WidthWithoutCaption);
    else
        Repaint();
}

void TspSkinSpeedButton::SetDown(bool AValue)
{
    FDown = AValue;
    if (HotFadeActive()) {
        FFade.SetHot(true);
        if (AValue)
            StopMorph();
        else
            HotChange();
    }
    Repaint();
    if (FGroupIndex != 0 && AValue && !FAllowAllUp) ReleaseGroupSiblings(this);
}

void TspSkinSpeedButton::RefreshButton()
{
    FMouseIn = false;
    FDown = false;
    if (HotFadeActive()) FFade.SetHot(false);
    Repaint();
}

void TspSkinSpeedButton::ButtonClick()
{
    if (OnClick) OnClick(this);
}

std::string TspSkinSpeedButton::CaptionText()
{
    return FShowCaption ? Caption() : std::string();
}

void TspSkinSpeedButton::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspGraphicSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FContent.ImageList) FContent.ImageList = nullptr;
}

// ---- skin ----

bool TspSkinSpeedButton::HotFadeActive() const
{
    return FSD && !FSD->Empty && FSD->EnableSkinEffects && Look.Morphing;
}

bool TspSkinSpeedButton::ShowsFlatLook() const
{
    return FFlat && !FMouseIn && !(FDown && FGroupIndex != 0);
}

void TspSkinSpeedButton::GetSkinData()
{
    TspGraphicSkinCustomControl::GetSkinData();
    if (!Skinned()) {
        Look.Morphing = false;
        Look.ActiveSkinRect = TRect{};
        return;
    }
    auto* r = RecordAs<TspDataSkinButtonControl>();
    if (!r) return;
    Look.Read(*r);
    // A flat button has no fade: the hot picture shows at once.
    Look.Morphing = Look.Morphing && !FFlat;
    // While an animation runs its frame stands for the picture it leads to (forward) or away from (backward).
    if (SkinEffectsOn() && FAnimation.Showing(Look.FrameCount)) {
        const TRect frame = TspFrameAnimation::FrameRect(Look.AnimateSkinRect, Look.FrameCount, Pieces.SkinRect,
                                                         FAnimation.CurrentFrame());
        if (FAnimation.Forward())
            Look.ActiveSkinRect = frame;
        else
            Pieces.SkinRect = frame;
    }
}

bool TspSkinSpeedButton::SkinEffectsOn() const
{
    return FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TspSkinSpeedButton::CanAnimate() const
{
    // A flat button starts none; a strip without frames (a damaged skin) plays nothing.
    return !FFlat && Skinned() && SkinEffectsOn() && !IsEmptyRect(Look.AnimateSkinRect) && Look.FrameCount >= 1;
}

void TspSkinSpeedButton::StartAnimation(bool AForward)
{
    if (!CanAnimate()) return;
    StopAnimation();
    FAnimation.Start(AForward, Look.FrameCount);
    FAnimateTimer->SetInterval(static_cast<Cardinal>(std::max<Integer>(Look.AnimateInterval, 1)));
    FAnimateTimer->SetEnabled(true);
}

void TspSkinSpeedButton::StopAnimation()
{
    if (FAnimateTimer) FAnimateTimer->SetEnabled(false);
    FAnimation.Stop();
}

void TspSkinSpeedButton::AnimationTick()
{
    const bool repaint = FAnimation.Tick(Look.FrameCount);
    if (!FAnimation.Running()) FAnimateTimer->SetEnabled(false);
    if (repaint) Repaint();
}

void TspSkinSpeedButton::ChangeSkinData()
{
    StopAnimation();
    StopMorph();
    FFade.SetHot(false);
    TspGraphicSkinCustomControl::ChangeSkinData();
    if (HotFadeActive() && Skinned() && FMouseIn) FFade.SetHot(true);
}

void TspSkinSpeedButton::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    if (FUseSkinSize || ResizeMode == rmNinePiece || !Skinned()) {
        TspGraphicSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
        return;
    }
    Fitted.NewClRect = Pieces.ClRect;
    Fitted.NewClRect.Right += AWidth - Pieces.SkinRect.Width();
    Fitted.NewClRect.Bottom += AHeight - Pieces.SkinRect.Height();
}

// ---- painting ----

void TspSkinSpeedButton::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    FitCurrentSize();
    if (!ShowsFlatLook()) {
        PaintCycle();
        return;
    }
    // Straight on the parent's surface, with no background.
    TCanvas* c = Canvas();
    const TRect r = Skinned() ? Fitted.NewClRect : Rect(0, 0, Width(), Height());
    TFont* font = c->Font();
    if (Skinned() && FUseSkinFont) {
        font->SetName(Look.FontName);
        font->SetHeight(Look.FontHeight);
        font->SetStyle(Look.FontStyle);
    } else {
        font->Assign(DefaultFont());
    }
    if (Skinned()) {
        const TspSkinColors* colors = FSD->FSkinColors.get();
        if (!Enabled())
            font->SetColor(colors ? colors->FcBtnShadow : clBtnShadow);
        else
            font->SetColor(FUseSkinFontColor && colors ? colors->FcBtnText : DefaultFont()->Color());
    } else if (!Enabled()) {
        font->SetColor(clBtnShadow);
    }
    c->Brush()->SetStyle(bsClear);
    if (!PaintHook(c, r, FDown, FMouseIn)) return;
    DrawContent(c, r, FDown, FMouseIn, true);
}

void TspSkinSpeedButton::DrawSkinnedImage(TBitmap* B)
{
    if (HotFadeActive() && !FFade.AtNormal() && !FFade.AtHot() && Enabled()) {
        DrawHotFadeFrame(B, Look.MorphKind, FFade.Kf(), [this](TBitmap* ATarget, bool AHot) {
            DrawStateImage(ATarget, AHot ? Look.ActiveSkinRect : Pieces.SkinRect, false, AHot);
        });
        return;
    }
    if (!Enabled() && !IsEmptyRect(Look.DisabledSkinRect))
        DrawStateImage(B, Look.DisabledSkinRect, false, false);
    else if (Pressed())
        DrawStateImage(B, Look.DownSkinRect, true, true);
    else if (FMouseIn || (HotFadeActive() && FFade.AtHot()))
        DrawStateImage(B, Look.ActiveSkinRect, false, true);
    else
        DrawStateImage(B, Pieces.SkinRect, false, false);
}

void TspSkinSpeedButton::DrawStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
{
    TRect text;
    if (FUseSkinSize || ResizeMode == rmNinePiece) {
        CreateSkinImage(B, Picture, R);
        text = Fitted.NewClRect;
    } else {
        if (Picture && ResizeMode == rmFixed)
            B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
        else if (Picture)
            ComposeSkinImageSimple(B, Picture, R, Pieces.ClRect, true);
        text = Pieces.ClRect;
        text.Right += B->Width() - R.Width();
        text.Bottom += B->Height() - R.Height();
    }
    TCanvas* c = B->Canvas();
    ApplyStateFont(c, ADown, AMouseIn);
    if (!PaintHook(c, Fitted.NewClRect, ADown, AMouseIn)) return;
    DrawContent(c, text, ADown, AMouseIn, false);
}

void TspSkinSpeedButton::ApplyStateFont(TCanvas* ACanvas, bool ADown, bool AMouseIn)
{
    ApplyButtonStateFont(ACanvas, Look, {Skinned(), FUseSkinFont, FUseSkinFontColor, Enabled(), DefaultFont()},
                         ADown, AMouseIn);
}

bool TspSkinSpeedButton::PaintHook(TCanvas* ACanvas, const TRect& R, bool ADown, bool AMouseIn)
{
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, ACanvas, R, ADown, AMouseIn, drawDefault);
    return drawDefault;
}

void TspSkinSpeedButton::DrawContent(TCanvas* ACanvas, const TRect& R, bool ADown, bool AMouseIn, bool AFlatLook)
{
    TspButtonContent content = FContent;
    content.Glyph = FGlyph.get();
    content.Caption = CaptionText();
    bool drawnEnabled = Enabled();
    auto* source = dynamic_cast<TspButtonImageSource*>(Parent());
    if (source && FGlyph->Empty()) {
        // A disabled image comes at full colour from the disabled list; hot and down ones from the hot list.
        if (!Enabled() && source->DisabledImages()) {
            content.ImageList = source->DisabledImages();
            drawnEnabled = true;
        } else if ((ADown || AMouseIn) && source->HotImages() && !AFlatLook) {
            content.ImageList = source->HotImages();
        } else {
            content.ImageList = source->Images();
        }
    } else if (!FGlyph->Empty()) {
        content.ImageList = nullptr;
    }
    DrawButtonContent(ACanvas, R, content, drawnEnabled, false,
                      GlyphFrameOf(content.NumGlyphs, Enabled(), ADown, AMouseIn), FDrawColorMarker,
                      FColorMarkerValue);
}

void TspSkinSpeedButton::DrawUnskinnedImage(TBitmap* B)
{
    TspGraphicSkinCustomControl::DrawUnskinnedImage(B);
    const TRect r = Rect(0, 0, Width(), Height());
    TCanvas* c = B->Canvas();
    DrawPlainPart(c, r, Pressed() ? TspPartLook::Pressed : FMouseIn ? TspPartLook::Hot : TspPartLook::Normal);
    ApplyStateFont(c, FDown, FMouseIn);
    if (!PaintHook(c, r, FDown, FMouseIn)) return;
    DrawContent(c, r, FDown, FMouseIn, false);
}

// ---- fade and repeat ----

void TspSkinSpeedButton::HotChange()
{
    if (!HotFadeActive() || !Skinned()) {
        Repaint();
        return;
    }
    FMorphTimer->SetEnabled(true);
}

void TspSkinSpeedButton::MorphTick()
{
    if (!Skinned() || !HotFadeActive()) {
        FFade.SetHot(FMouseIn);
        StopMorph();
    } else if (FMouseIn ? FFade.StepIn() : FFade.StepOut()) {
        Repaint();
    } else {
        FFade.SetHot(FMouseIn);
        StopMorph();
        Repaint();
    }
}

void TspSkinSpeedButton::StopMorph()
{
    FMorphTimer->SetEnabled(false);
}

void TspSkinSpeedButton::StartRepeat()
{
    StopRepeat();
    FRepeatWaiting = true;
    FRepeatTimer->SetInterval(kFirstRepeatDelayMs);
    FRepeatTimer->SetEnabled(true);
}

void TspSkinSpeedButton::RepeatTick()
{
    // The first tick only moves the timer to the repeat interval.
    if (FRepeatWaiting) {
        FRepeatWaiting = false;
        FRepeatTimer->SetInterval(static_cast<Cardinal>(FRepeatInterval));
        return;
    }
    ButtonClick();
}

void TspSkinSpeedButton::StopRepeat()
{
    FRepeatTimer->SetEnabled(false);
    FRepeatWaiting = false;
}

// ---- mouse ----

void TspSkinSpeedButton::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TspGraphicSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
    if (AButton != mbLeft) return;
    StopAnimation();
    FMouseDown = true;
    if (!FDown) {
        FMouseIn = true;
        SetDown(true);
        if (FRepeatMode && FGroupIndex == 0)
            StartRepeat();
        else if (FGroupIndex != 0)
            ButtonClick();
        FAllowAllUpCheck = false;
    } else if (FGroupIndex != 0) {
        FAllowAllUpCheck = true;
    }
}

void TspSkinSpeedButton::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (AButton == mbLeft) {
        FMouseDown = false;
        const bool over = AX >= 0 && AY >= 0 && AX < Width() && AY < Height();
        if (FRepeatMode) StopRepeat();
        if (FGroupIndex == 0) {
            const bool wasDown = FDown;
            if (over) {
                SetDown(false);
                if (wasDown) ButtonClick();
            } else {
                FDown = false;
            }
        } else if (FDown && FAllowAllUp && FAllowAllUpCheck && over) {
            SetDown(false);
            ButtonClick();
        }
    }
    TspGraphicSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
}

void TspSkinSpeedButton::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_MOUSEENTER:
        TspGraphicSkinCustomControl::WndProc(AMessage);
        if (Designing()) return;
        FMouseIn = true;
        if (Enabled() && (FGroupIndex == 0 || !FDown)) {
            if (FDown) {
                if (HotFadeActive()) FFade.SetHot(true);
                Repaint();
            } else {
                StartAnimation(true);
                HotChange();
            }
        }
        if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
        return;
    case CM_MOUSELEAVE:
        TspGraphicSkinCustomControl::WndProc(AMessage);
        if (Designing()) return;
        FMouseIn = false;
        if (Enabled() && (FGroupIndex == 0 || !FDown)) {
            StartAnimation(false);
            HotChange();
        }
        if (FDown && FRepeatMode && FRepeatTimer->Enabled() && FGroupIndex == 0) StopRepeat();
        return;
    case CM_TEXTCHANGED:
        TspGraphicSkinCustomControl::WndProc(AMessage);
        Repaint();
        return;
    case CM_ENABLEDCHANGED:
        TspGraphicSkinCustomControl::WndProc(AMessage);
        StopMorph();
        if (HotFadeActive()) FFade.SetHot(false);
        FMouseIn = false;
        Repaint();
        return;
    case CM_DIALOGCHAR:
        // The accelerator clicks without taking the focus.
        if (IsAccel(static_cast<char32_t>(AMessage.WParam), Caption()) && Enabled() && Visible() && Parent() &&
            Parent()->Showing()) {
            ButtonClick();
            AMessage.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TspGraphicSkinCustomControl::WndProc(AMessage);
}
