#include "skin/forms/skin_objects.h"

#include <cstdint>
#include <vector>

#include "platform/gui/bitmap.h"
#include "skin/controls/button_look.h"
#include "skin/core/layer_window.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/forms/skin_form.h"

TspActiveSkinObject::TspActiveSkinObject(TspCorvalis* AParent, TspDataSkinObject* AData)
    : Parent(AParent), SD(AParent->SkinData())
{
    if (!AData) return;
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    CursorIndex = AData->CursorIndex;
    RollUp = AData->RollUp;
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    ObjectRect = SkinRect;
    if (SD) {
        // Indexes come from a skin file: one outside the list is no picture.
        ActivePicture = SD->ActivePicture(AData->ActivePictureIndex);
        ActiveMaskPicture = SD->ActivePicture(AData->ActiveMaskPictureIndex);
        Picture = RollUp ? SD->FRollUpPicture.get() : SD->FPicture.get();
    }
    if (!ActivePicture) {
        // Without its picture the object has no active look.
        ActiveSkinRect = TRect{};
        AData->ActiveSkinRect = TRect{};
    }
}

bool TspActiveSkinObject::SkinLoaded() const { return SD && !SD->Empty; }

bool TspActiveSkinObject::PtInMask(Integer X, Integer Y)
{
    if (!SkinLoaded() || !ActiveMaskPicture) return true;
    if (X < 0 || Y < 0 || X >= ActiveMaskPicture->Width() || Y >= ActiveMaskPicture->Height()) return false;
    return (ColorToRGB(ActiveMaskPicture->Canvas()->Pixels(X, Y)) & 0xFFFFFF) == 0;
}

void TspActiveSkinObject::CopyPart(TCanvas* Cnvs, TBitmap* APicture, const TRect& R)
{
    if (!APicture || APicture->Empty() || IsEmptyRect(R)) return;
    Cnvs->CopyRect(ObjectRect, APicture->Canvas(), R);
}

void TspActiveSkinObject::DrawDimmed(TCanvas* Cnvs)
{
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    TBitmap* normal = SkinRectInAPicture ? ActivePicture : Picture;
    if (w <= 0 || h <= 0 || !normal || normal->Empty() || IsEmptyRect(SkinRect)) return;
    TBitmap part(w, h, pf24bit);
    part.Canvas()->CopyRect(Rect(0, 0, w, h), normal->Canvas(), SkinRect);
    std::vector<Integer> grey(static_cast<size_t>(w) * static_cast<size_t>(h));
    int64_t sum = 0;
    for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x) {
            const TColor c = part.Canvas()->Pixels(x, y);
            const Integer level = ((c & 0xFF) * 30 + ((c >> 8) & 0xFF) * 59 + ((c >> 16) & 0xFF) * 11) / 100;
            grey[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = level;
            sum += level;
        }
    const Integer mean = static_cast<Integer>(sum / (static_cast<int64_t>(w) * h));
    for (Integer y = 0; y < h; ++y)
        for (Integer x = 0; x < w; ++x) {
            const Integer level = mean + (grey[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] - mean) / 2;
            part.Canvas()->SetPixels(x, y, static_cast<TColor>(level | level << 8 | level << 16));
        }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &part);
}

void TspActiveSkinObject::DrawMorph(TCanvas* Cnvs, TBitmap* ANormalPicture, const TRect& ANormal,
                                    const TRect& AActiveRect)
{
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    if (w <= 0 || h <= 0 || !ANormalPicture || !ActivePicture) return;
    TBitmap frame(w, h, pf24bit);
    DrawHotFadeFrame(&frame, MorphKind, FMorphKf, [&](TBitmap* ATarget, bool AHot) {
        TBitmap* source = AHot ? ActivePicture : ANormalPicture;
        ATarget->Canvas()->CopyRect(Rect(0, 0, w, h), source->Canvas(), AHot ? AActiveRect : ANormal);
    });
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &frame);
}

void TspActiveSkinObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!SkinLoaded()) return;
    if (Enabled && !Parent->GetFormActive() && !IsEmptyRect(InActiveSkinRect)) {
        CopyPart(Cnvs, ActivePicture, InActiveSkinRect);
        return;
    }
    TBitmap* normal = SkinRectInAPicture ? ActivePicture : Picture;
    if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
        DrawMorph(Cnvs, normal, SkinRect, ActiveSkinRect);
        return;
    }
    if (Active && !IsEmptyRect(ActiveSkinRect)) {
        CopyPart(Cnvs, ActivePicture, ActiveSkinRect);
        return;
    }
    if (!UpDate && !SkinRectInAPicture) return;
    CopyPart(Cnvs, normal, SkinRect);
}

void TspActiveSkinObject::MouseDown(Integer X, Integer Y, TMouseButton Button)
{
    Parent->DoObjectMouseDown(IDName, X, Y, ObjectRect, Button);
}

void TspActiveSkinObject::MouseUp(Integer X, Integer Y, TMouseButton Button)
{
    if (FMouseIn) Parent->DoObjectMouseUp(IDName, X, Y, ObjectRect, Button);
}

void TspActiveSkinObject::MouseMove(Integer X, Integer Y) { Parent->DoObjectMouseMove(IDName, X, Y, ObjectRect); }

void TspActiveSkinObject::MouseEnter()
{
    FMouseIn = true;
    Active = true;
    if (!IsEmptyRect(ActiveSkinRect)) RedrawState();
    Parent->DoObjectMouseEnter(IDName);
    ShowLayer();
}

void TspActiveSkinObject::MouseLeave()
{
    FMouseIn = false;
    Active = false;
    if (!IsEmptyRect(ActiveSkinRect)) RedrawState();
    Parent->DoObjectMouseLeave(IDName);
    HideLayer();
}

bool TspActiveSkinObject::CanMorphing() { return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0); }

bool TspActiveSkinObject::EnableMorphing()
{
    // A full layered border draws state changes at once; until a form has one, morphing follows the skin.
    return Morphing && SD && SD->EnableSkinEffects && !Parent->UseLayeredBorder();
}

void TspActiveSkinObject::DoMorphing()
{
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Parent->DrawSkinObject(this);
}

void TspActiveSkinObject::RedrawState()
{
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawSkinObject(this);
}

void TspActiveSkinObject::SetMorphKf(double AValue)
{
    FMorphKf = AValue;
    if (FMorphKf < 0) FMorphKf = 0;
    if (FMorphKf > 1) FMorphKf = 1;
}

bool TspActiveSkinObject::GlowAllowed() const
{
    return SkinLoaded() && GlowLayerPictureIndex != -1 && IsWin2000OrLater() && SD->ShowCaptionButtonGlowFrames;
}

TRect TspActiveSkinObject::ScreenRect()
{
    TCustomForm* form = Parent->Form();
    TPoint origin{form->Left(), form->Top()};
    if (form->FormStyle() == fsMDIChild) {
        origin = form->ClientOrigin();
        if (Parent->Skinned()) {
            origin.X -= Parent->NewClRect.Left;
            origin.Y -= Parent->NewClRect.Top;
        } else {
            origin.X -= 3;
            origin.Y -= 3 + Parent->DefaultCaptionHeight();
        }
    }
    return Rect(ObjectRect.Left + origin.X, ObjectRect.Top + origin.Y, ObjectRect.Right + origin.X,
                ObjectRect.Bottom + origin.Y);
}

void TspActiveSkinObject::ShowLayerWith(TspLayerManager* AManager)
{
    if (!GlowAllowed() || !AManager) return;
    TBitmap* glow = SD->ActivePicture(GlowLayerPictureIndex);
    TBitmap* mask = SD->ActivePicture(GlowLayerMaskPictureIndex);
    if (!glow) return;
    const TRect screen = ScreenRect();
    AManager->Show(screen.Left - GlowLayerOffsetX, screen.Top - GlowLayerOffsetY, glow, mask,
                   GlowLayerAlphaBlendValue);
}

void TspActiveSkinObject::HideLayerWith(TspLayerManager* AManager)
{
    if (GlowAllowed() && AManager) AManager->Hide();
}

void TspActiveSkinObject::ShowLayer() { ShowLayerWith(Parent->FLayerManager); }
void TspActiveSkinObject::HideLayer() { HideLayerWith(Parent->FLayerManager); }

void TspActiveSkinObject::FollowMouseQuietly(bool AIn)
{
    FMouseIn = Active = AIn;
    if (AIn)
        Parent->DoObjectMouseEnter(IDName);
    else
        Parent->DoObjectMouseLeave(IDName);
}
