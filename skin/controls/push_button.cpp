#include "skin/controls/push_button.h"

#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"
#include "platform/win/input.h"
#include "platform/win/message_queue.h"
#include "skin/controls/control_helpers.h"
#include "skin/controls/foreign_paint.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/layer_window.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_strips.h"

namespace {

constexpr win::UINT_PTR kMorphTimerId = 2;
constexpr win::UINT_PTR kRepeatTimerId = 3;
constexpr win::UINT_PTR kAnimateTimerId = 4;
constexpr win::UINT kFirstRepeatDelayMs = 500;

}  // namespace

TspSkinButton::TspSkinButton(TComponent* AOwner)
    : TspSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()),
      FRepeat([this] { return HandleAllocated() ? Handle() : nullptr; }, kRepeatTimerId)
{
    FLayerManager = new TspLayerManager(this);
    FSkinDataName = "button";
    SetBounds(Left(), Top(), 75, 25);
}

TspSkinButton::~TspSkinButton()
{
    FRepeat.Stop();
    StopMorphTimer();
    StopAnimation();
}

// ---- properties ----

void TspSkinButton::SetImageList(TCustomImageList* AValue)
{
    if (FContent.ImageList) FContent.ImageList->RemoveFreeNotification(this);
    FContent.ImageList = AValue;
    if (AValue) AValue->FreeNotification(this);
    Repaint();
}

void TspSkinButton::SetImageIndex(Integer AValue)
{
    if (FContent.ImageIndex == AValue) return;
    FContent.ImageIndex = AValue;
    Repaint();
}

void TspSkinButton::SetGlyph(TBitmap* AValue)
{
    if (AValue)
        FGlyph->Assign(AValue);
    else
        FGlyph = std::make_unique<TBitmap>();
    Repaint();
}

void TspSkinButton::SetNumGlyphs(TspNumGlyphs AValue)
{
    FContent.NumGlyphs = std::clamp<TspNumGlyphs>(AValue, 1, 4);
    Repaint();
}

void TspSkinButton::SetLayout(TspButtonLayout AValue)
{
    if (FContent.Layout == AValue) return;
    FContent.Layout = AValue;
    Repaint();
}

void TspSkinButton::SetMargin(Integer AValue)
{
    if (AValue < -1 || FContent.Margin == AValue) return;
    FContent.Margin = AValue;
    Repaint();
}

void TspSkinButton::SetSpacing(Integer AValue)
{
    if (FContent.Spacing == AValue) return;
    FContent.Spacing = AValue;
    Repaint();
}

void TspSkinButton::SetUseSkinSize(bool AValue)
{
    FUseSkinSize = AValue;
    if (Skinned() || (FSD && !FSD->Empty)) ChangeSkinData();
}

void TspSkinButton::SetUseSkinFontColor(bool AValue)
{
    FUseSkinFontColor = AValue;
    Repaint();
}

void TspSkinButton::SetCanFocused(bool AValue)
{
    FCanFocused = AValue;
    SetTabStop(AValue);
}

void TspSkinButton::SetDefault(bool AValue)
{
    FDefault = AValue;
    if (!HandleAllocated() || !FCanFocused || Designing()) return;
    // Every button of the form recomputes which one answers Enter.
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<win::LPARAM>(form->ActiveControl()));
}

void TspSkinButton::SetGroupIndex(Integer AValue)
{
    FGroupIndex = AValue;
    if (AValue != 0) SetCanFocused(false);
}

void TspSkinButton::SetDown(bool AValue)
{
    FDown = AValue;
    if (HotFadeActive()) {
        // A released button fades from the hot picture back to where the mouse and focus say.
        FFade.SetHot(true);
        if (AValue)
            StopMorphTimer();
        else
            HotChange();
    }
    Repaint();
    if (FGroupIndex != 0 && AValue && !FAllowAllUp) ReleaseGroupSiblings(this);
}

void TspSkinButton::RefreshButton()
{
    FMouseIn = false;
    FDown = false;
    if (HotFadeActive()) FFade.SetHot(false);
    if (SkinEffectsOn()) StopAnimation();
    Repaint();
}

void TspSkinButton::ButtonClick()
{
    if (FCanFocused)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    if (OnClick) OnClick(this);
}

// ---- skin ----

bool TspSkinButton::SkinEffectsOn() const
{
    return FSD && !FSD->Empty && FSD->EnableSkinEffects;
}

bool TspSkinButton::HotFadeActive() const
{
    return SkinEffectsOn() && Look.Morphing;
}

bool TspSkinButton::HasFocus()
{
    return FCanFocused && HandleAllocated() && Focused();
}

void TspSkinButton::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    if (!Skinned()) {
        Look.Morphing = false;
        Look.AnimateSkinRect = TRect{};
        return;
    }
    auto* r = RecordAs<TspDataSkinButtonControl>();
    if (!r) return;
    // A stretched button gets no window region.
    if (!FUseSkinSize) MaskPicture = nullptr;
    Look.Read(*r);
    // While an animation runs its frame stands for the picture it leads to (forward) or away from (backward).
    if (SkinEffectsOn() && FAnimation.Showing(Look.FrameCount)) {
        if (FAnimation.Forward())
            Look.ActiveSkinRect = AnimationFrameRect(FAnimation.CurrentFrame());
        else
            Pieces.SkinRect = AnimationFrameRect(FAnimation.CurrentFrame());
    }
    GlowLayerPictureIndex = r->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = r->GlowLayerMaskPictureIndex;
    GlowLayerOffsetLeft = r->GlowLayerOffsetLeft;
    GlowLayerOffsetRight = r->GlowLayerOffsetRight;
    GlowLayerOffsetTop = r->GlowLayerOffsetTop;
    GlowLayerOffsetBottom = r->GlowLayerOffsetBottom;
    GlowLayerShowOffsetX = r->GlowLayerShowOffsetX;
    GlowLayerShowOffsetY = r->GlowLayerShowOffsetY;
    GlowLayerAlphaBlendValue = r->GlowLayerAlphaBlendValue;
}

void TspSkinButton::ChangeSkinData()
{
    StopMorphTimer();
    StopAnimation();
    FFade.SetHot(false);
    TspSkinCustomControl::ChangeSkinData();
    if (HotFadeActive() && Skinned() && (HasFocus() || FMouseIn)) FFade.SetHot(true);
    if (FMouseIn) PostToSelf(SKM_SHOWLAYER);
}

void TspSkinButton::BeforeChangeSkinData()
{
    TspSkinCustomControl::BeforeChangeSkinData();
    if (FLayerManager->IsVisible) FLayerManager->Hide();
}

void TspSkinButton::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    if (FUseSkinSize || ResizeMode == rmNinePiece || !Skinned()) {
        TspSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
        return;
    }
    Fitted.NewClRect = Pieces.ClRect;
    Fitted.NewClRect.Right += AWidth - Pieces.SkinRect.Width();
    Fitted.NewClRect.Bottom += AHeight - Pieces.SkinRect.Height();
}

void TspSkinButton::ApplyMaskRegion()
{
    if (FUseSkinSize) TspSkinCustomControl::ApplyMaskRegion();
}

void TspSkinButton::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FContent.ImageList) FContent.ImageList = nullptr;
}

// ---- painting ----

void TspSkinButton::DrawSkinnedImage(TBitmap* B)
{
    const bool focused = HasFocus();
    if (HotFadeActive() && !FFade.AtNormal() && !FFade.AtHot() && Enabled()) {
        DrawHotFadeFrame(B, Look.MorphKind, FFade.Kf(), [this](TBitmap* ATarget, bool AHot) {
            DrawStateImage(ATarget, AHot ? Look.ActiveSkinRect : Pieces.SkinRect, false, AHot);
        });
        return;
    }
    if (!Enabled() && !IsEmptyRect(Look.DisabledSkinRect))
        DrawStateImage(B, Look.DisabledSkinRect, false, false);
    else if (FDown && (FGroupIndex != 0 || FMouseIn || (focused && !FMouseDown)))
        DrawStateImage(B, Look.DownSkinRect, true, true);
    else if (focused && !IsEmptyRect(Look.FocusedSkinRect) && !FAnimation.Running())
        DrawStateImage(B, Look.FocusedSkinRect, false, true);
    else if (focused || FMouseIn || (HotFadeActive() && FFade.AtHot()))
        DrawStateImage(B, Look.ActiveSkinRect, false, true);
    else
        DrawStateImage(B, Pieces.SkinRect, false, false);
}

TRect TspSkinButton::StretchedTextRect(const TBitmap* B, const TRect& R) const
{
    TRect text = Pieces.ClRect;
    text.Right += B->Width() - R.Width();
    text.Bottom += B->Height() - R.Height();
    return text;
}

void TspSkinButton::DrawStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn)
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
        text = StretchedTextRect(B, R);
    }
    TCanvas* c = B->Canvas();
    ApplyStateFont(c, ADown, AMouseIn);
    if (Look.ShowFocus && HasFocus()) DrawDottedFocusRect(c, text);
    if (!PaintHook(c, Fitted.NewClRect, ADown, AMouseIn)) return;
    DrawContent(c, text, ADown && AMouseIn, ADown, AMouseIn);
}

void TspSkinButton::ApplyStateFont(TCanvas* ACanvas, bool ADown, bool AMouseIn)
{
    ApplyButtonStateFont(ACanvas, Look, {Skinned(), FUseSkinFont, FUseSkinFontColor, Enabled(), DefaultFont()},
                         ADown, AMouseIn);
}

bool TspSkinButton::PaintHook(TCanvas* ACanvas, const TRect& R, bool ADown, bool AMouseIn)
{
    bool drawDefault = true;
    if (OnPaint) OnPaint(this, ACanvas, R, ADown, AMouseIn, drawDefault);
    return drawDefault;
}

void TspSkinButton::DrawContent(TCanvas* ACanvas, const TRect& R, bool AShift, bool ADown, bool AMouseIn)
{
    TspButtonContent content = FContent;
    content.Glyph = FGlyph.get();
    content.Caption = Caption();
    DrawButtonContent(ACanvas, R, content, Enabled(), AShift, GlyphFrameOf(content.NumGlyphs, Enabled(), ADown, AMouseIn));
}

void TspSkinButton::DrawPlainFace(TCanvas* ACanvas, const TRect& R, bool APressed, bool AHot)
{
    DrawPlainPart(ACanvas, R, APressed ? TspPartLook::Pressed : AHot ? TspPartLook::Hot : TspPartLook::Normal);
}

void TspSkinButton::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinCustomControl::DrawUnskinnedImage(B);
    const bool focused = HasFocus();
    const bool pressed = FDown && (FGroupIndex != 0 || FMouseIn || (focused && !FMouseDown));
    const TRect r = Rect(0, 0, Width(), Height());
    TCanvas* c = B->Canvas();
    DrawPlainFace(c, r, pressed, FMouseIn || focused);
    ApplyStateFont(c, FDown, FMouseIn);
    if (!PaintHook(c, r, FDown, FMouseIn)) return;
    DrawContent(c, r, pressed, FDown, FMouseIn);
}

// ---- fade and repeat ----

void TspSkinButton::HotChange()
{
    if (!HotFadeActive() || !Skinned()) {
        Repaint();
        return;
    }
    if (FMorphTimer || !HandleAllocated()) return;
    win::SetTimer(Handle(), kMorphTimerId, TspHotFade::kIntervalMs);
    FMorphTimer = true;
}

void TspSkinButton::StopMorphTimer()
{
    if (FMorphTimer && HandleAllocated()) win::KillTimer(Handle(), kMorphTimerId);
    FMorphTimer = false;
}

void TspSkinButton::StartRepeat()
{
    FRepeat.Stop();
    FRepeat.Start(kFirstRepeatDelayMs);
}

void TspSkinButton::StopRepeat()
{
    FRepeat.Stop();
}

// ---- frame animation ----

bool TspSkinButton::CanAnimate() const
{
    // A strip without frames (a damaged skin) plays nothing.
    return Skinned() && SkinEffectsOn() && !IsEmptyRect(Look.AnimateSkinRect) && Look.FrameCount >= 1;
}

TRect TspSkinButton::AnimationFrameRect(Integer AFrame) const
{
    return TspFrameAnimation::FrameRect(Look.AnimateSkinRect, Look.FrameCount, Pieces.SkinRect, AFrame);
}

void TspSkinButton::StartAnimation(bool AForward)
{
    if (!CanAnimate()) return;
    StopAnimation();
    if (!HandleAllocated()) return;
    FAnimation.Start(AForward, Look.FrameCount);
    win::SetTimer(Handle(), kAnimateTimerId, static_cast<win::UINT>(std::max<Integer>(Look.AnimateInterval, 1)));
}

void TspSkinButton::StopAnimation()
{
    if (FAnimation.Running() && HandleAllocated()) win::KillTimer(Handle(), kAnimateTimerId);
    FAnimation.Stop();
}

void TspSkinButton::AnimationTick()
{
    const bool repaint = FAnimation.Tick(Look.FrameCount);
    if (!FAnimation.Running() && HandleAllocated()) win::KillTimer(Handle(), kAnimateTimerId);
    if (repaint) Repaint();
}

// ---- glow frame ----

bool TspSkinButton::GlowAllowed() const
{
    return FSD && !FSD->Empty && IsWin2000OrLater() && (FSD->ShowButtonGlowFrames || FAlwaysShowLayeredFrame) &&
           GlowLayerPictureIndex != -1 &&
           (ResizeMode == rmFixed || ResizeMode == rmNinePiece || (ResizeMode == rmHorzStrip && FUseSkinSize));
}

void TspSkinButton::ShowLayer()
{
    if (!GlowAllowed() || !HandleAllocated()) return;
    // The glow needs both pictures; an index the skin does not have gives none.
    TBitmap* glow = SkinPicture(FSD, GlowLayerPictureIndex);
    TBitmap* mask = SkinPicture(FSD, GlowLayerMaskPictureIndex);
    if (!glow || !mask) return;
    if (auto* form = dynamic_cast<TForm*>(GetParentForm(this)))
        FLayerManager->TopMostMode = form->FormStyle() == fsStayOnTop;
    TBitmap image, imageMask;
    TBitmap* shownImage = glow;
    TBitmap* shownMask = mask;
    const Integer w = glow->Width() + Width() - Pieces.SkinRect.Width();
    const Integer h = glow->Height() + Height() - Pieces.SkinRect.Height();
    if (ResizeMode == rmHorzStrip) {
        BuildHStripImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &image, glow, Rect(0, 0, glow->Width(), glow->Height()),
                         w, glow->Height(), true);
        BuildHStripImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, &imageMask, mask,
                         Rect(0, 0, mask->Width(), mask->Height()), w, mask->Height(), true);
        shownImage = &image;
        shownMask = &imageMask;
    } else if (ResizeMode == rmNinePiece) {
        const TRect inner = Rect(GlowLayerOffsetLeft, GlowLayerOffsetTop, glow->Width() - GlowLayerOffsetRight,
                                 glow->Height() - GlowLayerOffsetBottom);
        image.SetSize(w, h);
        imageMask.SetSize(w, h);
        ComposeSkinImageSimple(&image, glow, Rect(0, 0, glow->Width(), glow->Height()), inner, true);
        ComposeSkinImageSimple(&imageMask, mask, Rect(0, 0, mask->Width(), mask->Height()), inner, true);
        shownImage = &image;
        shownMask = &imageMask;
    }
    const TPoint origin = ClientOrigin();
    FLayerManager->Show(origin.X - GlowLayerShowOffsetX, origin.Y - GlowLayerShowOffsetY, shownImage, shownMask,
                        GlowLayerAlphaBlendValue);
}

void TspSkinButton::HideLayer()
{
    if (GlowAllowed()) FLayerManager->Hide();
}

void TspSkinButton::PostToSelf(Cardinal AMessage)
{
    if (HandleAllocated()) win::PostMessage(Handle(), AMessage, 0, 0);
}

// ---- mouse ----

void TspSkinButton::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
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

void TspSkinButton::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (AButton == mbLeft) {
        FMouseDown = false;
        const bool over = AX >= 0 && AY >= 0 && AX < Width() && AY < Height();
        if (FGroupIndex == 0) {
            const bool wasDown = FDown;
            if (over) {
                SetDown(false);
                StopRepeat();
                if (wasDown) ButtonClick();
            } else {
                FDown = false;
                StopRepeat();
            }
        } else if (FDown && FAllowAllUp && FAllowAllUpCheck && over) {
            SetDown(false);
            ButtonClick();
        }
    }
    if (HandleAllocated() && Visible()) TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
}

// ---- messages ----

void TspSkinButton::CreateWnd()
{
    TspSkinCustomControl::CreateWnd();
    FActive = FDefault;
}

void TspSkinButton::WndProc(TMessage& AMessage)
{
    const auto key = AMessage.WParam;
    switch (AMessage.Msg) {
    case win::WM_KEYDOWN:
        if (!FCanFocused) break;
        if (key == win::VK_SPACE && FSpaceSupport) {
            SetDown(true);
            if (FRepeatMode) ButtonClick();
        } else if (key == win::VK_RETURN) {
            ButtonClick();
        }
        break;
    case win::WM_KEYUP:
        if (FCanFocused && key == win::VK_SPACE && FSpaceSupport) {
            SetDown(false);
            ButtonClick();
        }
        break;
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
        if (DropClickWithoutFocus(this, FCanFocused, Designing(), FClicksDisabled)) return;
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
    case win::WM_MOUSEMOVE:
        // While the button holds the mouse the pointer still enters and leaves it.
        if (FMouseDown && !Designing()) {
            const TPoint at{win::GET_X_LPARAM(AMessage.LParam), win::GET_Y_LPARAM(AMessage.LParam)};
            const bool over = at.X >= 0 && at.Y >= 0 && at.X < Width() && at.Y < Height();
            if (over != FMouseIn) Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
        }
        break;
    case win::WM_TIMER:
        if (key == kMorphTimerId) {
            const bool hot = FMouseIn || HasFocus();
            if (!Skinned() || !HotFadeActive()) {
                FFade.SetHot(hot);
                StopMorphTimer();
            } else if (hot ? FFade.StepIn() : FFade.StepOut()) {
                Repaint();
            } else {
                FFade.SetHot(hot);
                StopMorphTimer();
                Repaint();
            }
            return;
        }
        if (key == kAnimateTimerId) {
            AnimationTick();
            return;
        }
        if (key == kRepeatTimerId) {
            if (FRepeat.Tick(static_cast<win::UINT>(FRepeatInterval))) ButtonClick();
            return;
        }
        break;
    case CM_MOUSEENTER:
        TspSkinCustomControl::WndProc(AMessage);
        if (Designing()) return;
        FMouseIn = true;
        if (Enabled() && (FGroupIndex != 0 ? !FDown : (FDown || !HasFocus()))) {
            if (FDown) {
                if (HotFadeActive()) FFade.SetHot(true);
                Repaint();
            } else {
                StartAnimation(true);
                HotChange();
            }
        }
        if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
        PostToSelf(SKM_SHOWLAYER);
        return;
    case CM_MOUSELEAVE:
        TspSkinCustomControl::WndProc(AMessage);
        if (Designing()) return;
        // The active default button keeps its hot look.
        if (!(FCanFocused && FDefault && FActive && !HasFocus())) FMouseIn = false;
        if (Enabled() && (FGroupIndex != 0 ? !FDown : (FDown || !HasFocus()))) {
            StartAnimation(false);
            HotChange();
        }
        if (FDown && FRepeatMode && FRepeat.Running() && FGroupIndex == 0) StopRepeat();
        PostToSelf(SKM_HIDELAYER);
        return;
    case win::WM_ERASEBKGND:
        // An erase outside the button's own paint (a child or a caller asking for what lies here) gets the whole
        // button drawn into its context.
        if (!FromWMPaint)
            PaintIntoForeignDC(Canvas(), reinterpret_cast<win::HDC>(AMessage.WParam),
                               [this] { Paint(); });
        AMessage.Result = 1;
        return;
    case SKM_SHOWLAYER: ShowLayer(); return;
    case SKM_HIDELAYER: HideLayer(); return;
    case CM_TEXTCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        Repaint();
        return;
    case CM_ENABLEDCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        StopMorphTimer();
        if (HotFadeActive()) FFade.SetHot(false);
        FMouseIn = false;
        Repaint();
        return;
    case CM_DIALOGKEY: {
        const bool noShift = win::GetKeyState(win::VK_SHIFT) >= 0 && win::GetKeyState(win::VK_CONTROL) >= 0 &&
                             win::GetKeyState(win::VK_MENU) >= 0;
        if ((key == win::VK_RETURN && FActive && Enabled()) ||
            (key == win::VK_ESCAPE && FCancel && FCanFocused && noShift && CanFocus())) {
            ButtonClick();
            AMessage.Result = 1;
            return;
        }
        break;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char32_t>(key), Caption()) && CanFocus() && FCanFocused) {
            SetFocus();
            ButtonClick();
            AMessage.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        auto* sender = reinterpret_cast<TWinControl*>(AMessage.LParam);
        auto* senderButton = dynamic_cast<TspSkinButton*>(sender);
        FActive = senderButton ? senderButton == this : FDefault;
        if (FCanFocused && FDefault) {
            if (senderButton && senderButton != this) {
                FMouseIn = false;
                HotChange();
            } else if (!senderButton && sender != this) {
                FMouseIn = true;
                if (HotFadeActive()) FFade.SetHot(true);
                Repaint();
            }
        }
        break;
    }
    case win::WM_SETFOCUS:
        TspSkinCustomControl::WndProc(AMessage);
        if (FCanFocused) {
            StartAnimation(true);
            HotChange();
        }
        return;
    case win::WM_KILLFOCUS:
        StopRepeat();
        if (FGroupIndex == 0 && FDown) FDown = false;
        TspSkinCustomControl::WndProc(AMessage);
        if (FCanFocused) {
            StartAnimation(false);
            if (HotFadeActive() && Skinned())
                HotChange();
            else
                Invalidate();
        }
        return;
    default: break;
    }
    TspSkinCustomControl::WndProc(AMessage);
}
