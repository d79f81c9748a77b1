#include "skin/forms/caption_object.h"

#include <memory>

#include "platform/gui/bitmap.h"
#include "platform/gui/image_list.h"
#include "skin/core/control_records.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/glow_effects.h"
#include "skin/core/glyph_text.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/skin_form.h"

using namespace win;

void ApplyInActiveEffect(TBitmap* ABitmap, TspInActiveEffect AEffect)
{
    if (!ABitmap || ABitmap->Empty()) return;
    std::unique_ptr<TspEffectBmp> effect = TspEffectBmp::CreateFromhWnd(ABitmap->Handle());
    if (!effect) return;
    switch (AEffect) {
    case ieBrightness: effect->ChangeBrightness(0.5); break;
    case ieDarkness: effect->ChangeDarkness(0.3); break;
    case ieGrayScale: effect->GrayScale(); break;
    case ieNoise: effect->AddMonoNoise(50); break;
    case ieSplitBlur: effect->SplitBlur(1); break;
    case ieInvert: effect->Invert(); break;
    }
    effect->Draw(ABitmap->Canvas()->Handle(), 0, 0);
}

TspSkinCaptionObject::TspSkinCaptionObject(TspCorvalis* AParent, TspDataSkinCaption* AData)
    : TspActiveSkinObject(AParent, AData)
{
    if (!AData) return;
    FontName = AData->FontName;
    FontStyle = AData->FontStyle;
    FontHeight = AData->FontHeight;
    FontColor = AData->FontColor;
    ActiveFontColor = AData->ActiveFontColor;
    ShadowColor = AData->ShadowColor;
    ActiveShadowColor = AData->ActiveShadowColor;
    Shadow = AData->Shadow;
    Alignment = AData->Alignment;
    TextRct = AData->TextRct;
    DefaultCaption = AData->DefaultCaption;
    FrameRect = AData->FrameRect;
    ActiveFrameRect = AData->ActiveFrameRect;
    FrameLeftOffset = AData->FrameLeftOffset;
    FrameRightOffset = AData->FrameRightOffset;
    FrameTextRect = AData->FrameTextRect;
    LightColor = AData->LightColor;
    ActiveLightColor = AData->ActiveLightColor;
    Light = AData->Light;
    StretchEffect = AData->StretchEffect;
    AnimateSkinRect = AData->AnimateSkinRect;
    FrameCount = AData->FrameCount;
    AnimateInterval = AData->AnimateInterval;
    InActiveAnimation = AData->InActiveAnimation;
    FullFrame = AData->FullFrame;
    VistaGlowEffect = AData->VistaGlowEffect;
    VistaGlowInActiveEffect = AData->VistaGlowInActiveEffect;
    GlowEffect = AData->GlowEffect;
    GlowInActiveEffect = AData->GlowInActiveEffect;
    GlowSize = AData->GlowSize;
    GlowColor = AData->GlowColor;
    GlowActiveColor = AData->GlowActiveColor;
    GlowOffset = AData->GlowOffset;
    ReflectionEffect = AData->ReflectionEffect;
    ReflectionColor = AData->ReflectionColor;
    ReflectionActiveColor = AData->ReflectionActiveColor;
    ReflectionOffset = AData->ReflectionOffset;
    DividerRect = AData->DividerRect;
    DividerTransparent = AData->DividerTransparent;
    DividerTransparentColor = AData->DividerTransparentColor;
}

void TspSkinCaptionObject::SetTextValue(const std::string& Value)
{
    FTextValue = Value;
    Parent->DrawSkinObject(this);
}

bool TspSkinCaptionObject::EnableAnimation()
{
    // A strip of no frames (a damaged skin) animates nothing.
    return SkinLoaded() && SD->EnableSkinEffects && !IsEmptyRect(AnimateSkinRect) && FrameCount > 0 &&
           ActivePicture;
}

bool TspSkinCaptionObject::QuickButtonsShown() const
{
    return Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList() && Parent->SupportNCArea();
}

TRect TspSkinCaptionObject::TextRect() const
{
    TRect t = TextRct;
    if (IsEmptyRect(TextRct)) return t;
    const Integer d = WidthOfRect(SkinRect) - TextRct.Right;
    if (QuickButtonsShown()) {
        const Integer n = Parent->QuickButtons()->Count();
        const Integer strip = n * (Parent->QuickImageList()->Width() + 8);
        t.Left += IsEmptyRect(DividerRect) ? strip + 5 : WidthOfRect(DividerRect) + strip + 6;
    }
    t.Right = WidthOfRect(ObjectRect) - d;
    if (!IsEmptyRect(FrameRect)) {
        t.Top += FrameTextRect.Top;
        t.Left += FrameTextRect.Left;
        t.Right -= WidthOfRect(FrameRect) - FrameTextRect.Right;
    }
    return t;
}

void TspSkinCaptionObject::SetCaptionFont(TCanvas* ACanvas, TColor AColor) const
{
    TFont* font = ACanvas->Font();
    font->SetName(FontName.empty() ? "Arial" : FontName);
    font->SetStyle(FontStyle);
    font->SetHeight(FontHeight);
    font->SetColor(AColor);
}

void TspSkinCaptionObject::DrawCaptionText(TCanvas* Canvas, Integer X0, Integer Y0, bool AActive, const TRect& T,
                                           TCanvas* AFrameCanvas)
{
    TCustomForm* form = Parent->Form();
    std::string text = form->Caption();
    if (!DefaultCaption && !Parent->SupportNCArea()) text = FTextValue;
    if (Parent->OnCaptionPaint) {
        Parent->OnCaptionPaint(Parent, AFrameCanvas, ObjectRect, AActive);
        return;
    }
    if (text.empty() || IsEmptyRect(TextRct)) return;
    const Integer tw = WidthOfRect(T);
    if (tw <= 0) return;
    WideString wide = Utf8ToWide(text);
    TruncateWideWithEllipsis(Canvas, wide, tw);
    const Integer w = WideTextWidth(Canvas, wide), h = WideTextHeight(Canvas, wide);
    Integer y = T.Top + HeightOfRect(T) / 2 - h / 2;
    Integer x = T.Left;
    const TAlignment align = QuickButtonsShown() ? taCenter : Alignment;
    if (align == taRightJustify) x = T.Right - w;
    if (align == taCenter) x = T.Left + tw / 2 - w / 2;
    x += X0;
    y += Y0;
    Canvas->Brush()->SetStyle(bsClear);

    if (!IsEmptyRect(FrameRect) && ActivePicture) {
        const TRect source = AActive && !IsEmptyRect(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
        const Integer width = FullFrame ? WidthOfRect(ObjectRect) - 2 * (SD ? SD->ButtonsOffset : 0)
                                        : WidthOfRect(FrameRect) + w - WidthOfRect(FrameTextRect);
        // A text wider than the caption leaves no room for the strip: it is skipped.
        if (width > 0) {
            TBitmap strip;
            BuildHStripImage(FrameLeftOffset, FrameRightOffset, &strip, ActivePicture, source, width,
                             HeightOfRect(FrameRect), false);
            if (!strip.Empty()) {
                if (FullFrame)
                    Canvas->Draw(X0 + (SD ? SD->ButtonsOffset : 0), y - FrameTextRect.Top, &strip);
                else
                    Canvas->Draw(x - FrameTextRect.Left, y - FrameTextRect.Top, &strip);
            }
        }
    }
    const TColor color = Canvas->Font()->Color();
    if (Light) {
        Canvas->Font()->SetColor(AActive ? ActiveLightColor : LightColor);
        Canvas->TextOut(x - 1, y - 1, WideToUtf8(wide));
        Canvas->Font()->SetColor(color);
    }
    if (Shadow) {
        Canvas->Font()->SetColor(AActive ? ActiveShadowColor : ShadowColor);
        Canvas->TextOut(x + 1, y + 1, WideToUtf8(wide));
        Canvas->Font()->SetColor(color);
    }
    TRect r = Rect(x, y, x, y);
    Cardinal format = DT_VCENTER;
    if (form->BiDiMode() != bdLeftToRight) format |= DT_RTLREADING;
    DrawWideText(Canvas, wide, r, format | DT_CALCRECT);
    if (ReflectionEffect) {
        DrawWideReflectedText(Canvas, r, wide, format, ReflectionOffset,
                              AActive ? ReflectionActiveColor : ReflectionColor);
    } else if (VistaGlowEffect && (AActive || VistaGlowInActiveEffect)) {
        DrawCaptionGlowText(Canvas, r, wide, format, AActive ? GlowActiveColor : GlowColor);
    } else if (GlowEffect && (AActive || GlowInActiveEffect)) {
        DrawWideGlowText(Canvas, r, wide, format, GlowOffset, AActive ? GlowActiveColor : GlowColor, GlowSize);
    } else {
        DrawWideText(Canvas, wide, r, format);
    }
}

void TspSkinCaptionObject::BuildBackground(TBitmap* ADest, TBitmap* P, const TRect& S, bool AFrameRule) const
{
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    ADest->SetSize(std::max(w, 0), std::max(h, 0));
    if (ADest->Empty() || !P || P->Empty() || IsEmptyRect(S)) return;
    const TRect all = Rect(0, 0, w, h);
    auto stretched = [&] { ADest->Canvas()->CopyRect(all, P->Canvas(), S); };
    if (!Parent->SkinIsSizeable() || (w == WidthOfRect(SkinRect) && h == HeightOfRect(SkinRect))) {
        stretched();
        return;
    }
    const TspSkinData& s = *SD;
    // Above and below are screen directions: smaller and larger Y.
    Integer kind = 4;
    if (SkinRect.Top <= s.LTPoint.Y && SkinRect.Bottom < s.RTPoint.Y)
        kind = 1;
    else if (SkinRect.Top >= s.LBPoint.Y && SkinRect.Bottom > s.RBPoint.Y)
        kind = 2;
    else if (SkinRect.Top <= s.LTPoint.Y && SkinRect.Bottom > s.LBPoint.Y)
        kind = 3;
    if (AFrameRule && kind > 2) {
        stretched();
        return;
    }
    if (kind <= 2) {
        const Integer left = std::max(0, (kind == 1 ? s.LTPoint.X : s.LBPoint.X) - S.Left);
        const Integer right = std::max(0, S.Right - (kind == 1 ? s.RTPoint.X : s.RBPoint.X));
        if (left == 0 && right == 0) {
            stretched();
            return;
        }
        TBitmap strip;
        BuildHStripImage(left, right, &strip, P, S, w, h, StretchEffect);
        if (!strip.Empty()) ADest->Canvas()->StretchDraw(all, &strip);
        return;
    }
    const Integer top = std::max(0, (kind == 3 ? s.LTPoint.Y : s.RTPoint.Y) - S.Top);
    const Integer bottom = std::max(0, S.Bottom - (kind == 3 ? s.LBPoint.Y : s.RBPoint.Y));
    if (top == 0 && bottom == 0) {
        stretched();
        return;
    }
    TBitmap strip;
    BuildVStripImage(top, bottom, &strip, P, S, w, h, StretchEffect);
    if (!strip.Empty()) ADest->Canvas()->StretchDraw(all, &strip);
}

void TspSkinCaptionObject::BuildImage(TBitmap* ADest, TBitmap* P, const TRect& S, TColor AColor, bool AActive,
                                      bool AFrameRule, const TRect& T)
{
    BuildBackground(ADest, P, S, AFrameRule);
    if (ADest->Empty()) return;
    SetCaptionFont(ADest->Canvas(), AColor);
    DrawCaptionText(ADest->Canvas(), 0, 0, AActive, T, ADest->Canvas());
}

TRect TspSkinCaptionObject::AnimationFrame() const
{
    const TRect& a = AnimateSkinRect;
    if (HeightOfRect(a) > HeightOfRect(SkinRect)) {
        const Integer fh = HeightOfRect(a) / FrameCount;
        return Rect(a.Left, a.Top + (CurrentFrame - 1) * fh, a.Right, a.Top + CurrentFrame * fh);
    }
    const Integer fw = WidthOfRect(a) / FrameCount;
    return Rect(a.Left + (CurrentFrame - 1) * fw, a.Top, a.Left + CurrentFrame * fw, a.Bottom);
}

void TspSkinCaptionObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!SkinLoaded()) return;
    Active = Parent->GetFormActive();
    const TRect t = TextRect();
    if (QuickButtonsShown()) {
        DrawDivider(Cnvs);
        DrawQuickButtons(Cnvs);
    }
    const bool frameMode = Parent->SupportNCArea();
    if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        // The text keeps the colours of the state it leaves until the last frame.
        TBitmap image;
        BuildImage(&image, ActivePicture, AnimationFrame(), Active ? FontColor : ActiveFontColor, !Active, frameMode,
                   t);
        if (!image.Empty()) Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
        return;
    }
    if (frameMode && IsEmptyRect(ActiveSkinRect)) {
        SetCaptionFont(Cnvs, Active ? ActiveFontColor : FontColor);
        DrawCaptionText(Cnvs, ObjectRect.Left, ObjectRect.Top, Active, t, Cnvs);
        return;
    }
    const bool morph = EnableMorphing();
    const bool autoInactive = Parent->AutoInActiveImage();
    if (!IsEmptyRect(ActiveSkinRect) && (Active || (FMorphKf != 0 && morph))) {
        TBitmap active;
        BuildImage(&active, ActivePicture, ActiveSkinRect, ActiveFontColor, true, false, t);
        if (active.Empty()) return;
        if (Active && (FMorphKf == 1 || (FMorphKf == 0 && !morph))) {
            Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &active);
            return;
        }
        TBitmap normal;
        BuildImage(&normal, Picture, SkinRect, FontColor, false, false, t);
        if (normal.Empty()) return;
        std::unique_ptr<TspEffectBmp> a = TspEffectBmp::CreateFromhWnd(active.Handle());
        std::unique_ptr<TspEffectBmp> n = TspEffectBmp::CreateFromhWnd(normal.Handle());
        if (a && n) {
            n->MorphByKind(MorphKind, *a, FMorphKf);
            n->Draw(normal.Canvas()->Handle(), 0, 0);
        }
        if (autoInactive && !Active) ApplyInActiveEffect(&normal, SD->InActiveEffect);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &normal);
        return;
    }
    if (!UpDate) {
        SetCaptionFont(Cnvs, Active ? ActiveFontColor : FontColor);
        DrawCaptionText(Cnvs, ObjectRect.Left, ObjectRect.Top, Active, t, Cnvs);
        return;
    }
    TBitmap normal;
    BuildImage(&normal, Picture, SkinRect, Active ? ActiveFontColor : FontColor, Active, false, t);
    if (normal.Empty()) return;
    if (autoInactive && !Active) ApplyInActiveEffect(&normal, SD->InActiveEffect);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &normal);
}

void TspSkinCaptionObject::StartAnimation(bool AActive)
{
    if (!EnableAnimation()) return;
    FIncTime = 25;
    CurrentFrame = AActive ? 1 : InActiveAnimation ? FrameCount : 0;
    Parent->AnimateTimer->SetEnabled(true);
}

bool TspSkinCaptionObject::AnimationStep()
{
    if (!EnableAnimation()) return false;
    if (FIncTime < AnimateInterval) {
        FIncTime += 25;
        return Active ? CurrentFrame <= FrameCount : CurrentFrame > 0;
    }
    const bool wasRunning = CurrentFrame >= 1 && CurrentFrame <= FrameCount;
    if (Active && CurrentFrame <= FrameCount) {
        ++CurrentFrame;
        FIncTime = 25;
    } else if (!Active && CurrentFrame > 0) {
        --CurrentFrame;
        FIncTime = 25;
    } else {
        return false;
    }
    // A caption without a picture of its own draws only its text: the frame gives the background back.
    if (wasRunning && !(CurrentFrame >= 1 && CurrentFrame <= FrameCount) && Parent->SupportNCArea() &&
        IsEmptyRect(ActiveSkinRect))
        RepaintCaption();
    else
        Parent->DrawSkinObject(this);
    return Active ? CurrentFrame <= FrameCount : CurrentFrame > 0;
}

// --- Quick buttons ---

void TspSkinCaptionObject::DrawDivider(TCanvas* Cnvs)
{
    if (IsEmptyRect(DividerRect) || !ActivePicture) return;
    const Integer w = WidthOfRect(DividerRect), h = HeightOfRect(DividerRect);
    TBitmap divider(w, h, pf24bit);
    divider.Canvas()->CopyRect(Rect(0, 0, w, h), ActivePicture->Canvas(), DividerRect);
    if (DividerTransparent) {
        divider.SetTransparentColor(DividerTransparentColor);
        divider.SetTransparent(true);
    }
    Cnvs->Draw(ObjectRect.Left + 3, ObjectRect.Top + HeightOfRect(TextRct) / 2 - h / 2, &divider);
}

void TspSkinCaptionObject::DrawQuickButtonFace(TCanvas* Cnvs, const TRect& R, bool ADown)
{
    if (!SD) return;
    Integer index = SD->GetControlIndex("officequickbutton");
    if (index == -1) index = SD->GetControlIndex("resizetoolbutton");
    if (index == -1) return;
    auto* record = dynamic_cast<TspDataSkinButtonControl*>(SD->CtrlList[static_cast<size_t>(index)].get());
    if (!record) return;
    TBitmap* picture = SD->ActivePicture(record->PictureIndex);
    const TRect part = ADown ? record->DownSkinRect : record->ActiveSkinRect;
    if (!picture || IsEmptyRect(part) || IsEmptyRect(R)) return;
    TBitmap face(WidthOfRect(R), HeightOfRect(R), pf24bit);
    ComposeSkinImageSimple(&face, picture, part, record->ClRect, true);
    Cnvs->Draw(R.Left, R.Top, &face);
}

void TspSkinCaptionObject::DrawQuickButtons(TCanvas* Cnvs)
{
    TCustomImageList* images = Parent->QuickImageList();
    TspQuickButtonItems* items = Parent->QuickButtons();
    const Integer iw = images->Width(), ih = images->Height();
    Integer x = ObjectRect.Left + (IsEmptyRect(DividerRect) ? 5 : WidthOfRect(DividerRect) + 6);
    const Integer y = ObjectRect.Top + HeightOfRect(ObjectRect) / 2 - ih / 2 - 2;
    for (Integer i = 0; i < items->Count(); ++i) {
        TspQuickButtonItem* item = items->Items(i);
        if (!item->Visible()) continue;
        item->ItemRect = Rect(x, y, x + iw + 4, y + ih + 4);
        if (item->Active) DrawQuickButtonFace(Cnvs, item->ItemRect, item->Down);
        const TRect& r = item->ItemRect;
        if (item->ImageIndex() >= 0 && item->ImageIndex() < images->Count())
            images->Draw(Cnvs, r.Left + WidthOfRect(r) / 2 - iw / 2, r.Top + HeightOfRect(r) / 2 - ih / 2,
                         item->ImageIndex(), item->Enabled());
        x += iw + 8;
    }
}

void TspSkinCaptionObject::RepaintCaption()
{
    TCustomForm* form = Parent->Form();
    if (form->HandleAllocated()) SendMessage(form->Handle(), WM_NCPAINT, 0, 0);
}

void TspSkinCaptionObject::TrackQuickButtons(Integer X, Integer Y)
{
    if (!QuickButtonsShown()) return;
    TspQuickButtonItems* items = Parent->QuickButtons();
    OldActiveQuickButton = ActiveQuickButton;
    ActiveQuickButton = -1;
    for (Integer i = 0; i < items->Count(); ++i) {
        TspQuickButtonItem* item = items->Items(i);
        if (item->Enabled() && item->Visible() && PtInRect(item->ItemRect, TPoint{X, Y})) {
            ActiveQuickButton = i;
            break;
        }
    }
    bool changed = false;
    for (Integer i = 0; i < items->Count(); ++i) {
        TspQuickButtonItem* item = items->Items(i);
        const bool hot = i == ActiveQuickButton;
        if (item->Active != hot) changed = true;
        item->Active = hot;
    }
    const bool moved = OldActiveQuickButton != ActiveQuickButton;
    if (moved || changed) RepaintCaption();
    TspSkinHintBase* hint = Parent->SkinHint();
    const bool hints = hint && Parent->QuickButtonsShowHint();
    if (moved && ActiveQuickButton != -1 && hints && !items->Items(ActiveQuickButton)->Hint().empty())
        hint->ActivateHint2(items->Items(ActiveQuickButton)->Hint());
    if (changed && ActiveQuickButton == -1 && hints) hint->HideHint();
}

void TspSkinCaptionObject::MouseMove(Integer X, Integer Y)
{
    TspActiveSkinObject::MouseMove(X, Y);
    TrackQuickButtons(X, Y);
}

void TspSkinCaptionObject::MouseDown(Integer X, Integer Y, TMouseButton Button)
{
    if (!Parent->SupportNCArea() && Parent->WindowState() != wsMaximized) Parent->StartFormDrag(X, Y);
    TspActiveSkinObject::MouseDown(X, Y, Button);
    if (!QuickButtonsShown()) return;
    TrackQuickButtons(X, Y);
    TspQuickButtonItems* items = Parent->QuickButtons();
    if (Button == mbLeft && ActiveQuickButton != -1) {
        for (Integer i = 0; i < items->Count(); ++i) {
            items->Items(i)->Down = i == ActiveQuickButton;
            if (i != ActiveQuickButton) items->Items(i)->Active = false;
        }
        RepaintCaption();
    }
    if (Parent->SkinHint() && Parent->QuickButtonsShowHint()) Parent->SkinHint()->HideHint();
}

void TspSkinCaptionObject::MouseUp(Integer X, Integer Y, TMouseButton Button)
{
    if (!Parent->SupportNCArea()) Parent->StopFormDrag();
    Parent->DoObjectMouseUp(IDName, X, Y, ObjectRect, Button);
    if (!Parent->SupportNCArea()) return;
    if (!QuickButtonsShown()) {
        ActiveQuickButton = -1;
        return;
    }
    TrackQuickButtons(X, Y);
    if (Button != mbLeft || ActiveQuickButton == -1) return;
    TspQuickButtonItems* items = Parent->QuickButtons();
    // Only a press that started on this button clicks it.
    TspQuickButtonItem* item = items->Items(ActiveQuickButton);
    const bool pressed = item->Down;
    for (Integer i = 0; i < items->Count(); ++i) items->Items(i)->Down = false;
    RepaintCaption();
    // The caption object is no component: the click names the form's component as its sender.
    if (pressed && item->OnClick) item->OnClick(Parent);
}

void TspSkinCaptionObject::MouseEnter()
{
    FMouseIn = true;
    Parent->DoObjectMouseEnter(IDName);
}

void TspSkinCaptionObject::MouseLeave()
{
    FMouseIn = false;
    Parent->DoObjectMouseLeave(IDName);
    if (!QuickButtonsShown()) return;
    ActiveQuickButton = OldActiveQuickButton = -1;
    TrackQuickButtons(-1, -1);
}

// --- The form's side ---

void TspCorvalis::CaptionSetText(const std::string& AIDName, const std::string& AText)
{
    const Integer i = GetIndex(AIDName);
    if (i < 0) return;
    auto* caption = dynamic_cast<TspSkinCaptionObject*>(Objects(i));
    if (!caption) return;
    if (FInChangeSkinData)
        caption->SimpleSetTextValue(AText);
    else
        caption->SetTextValue(AText);
}

bool TspCorvalis::AutoInActiveImage() { return FSD && !FSD->Empty && FSD->AutoRenderingInActiveImage; }

bool TspCorvalis::StepCaptionAnimations()
{
    bool running = false;
    for (Integer i = 0; i < ObjectCount(); ++i)
        if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(Objects(i)))
            running = caption->AnimationStep() || running;
    return running;
}
