#include "skin/controls/button_look.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/core/control_records.h"
#include "skin/core/rect_helpers.h"

namespace {

TRect FallBack(const TRect& AValue, const TRect& AFallBack)
{
    return IsEmptyRect(AValue) ? AFallBack : AValue;
}

}  // namespace

void TspButtonLook::Read(const TspDataSkinButtonControl& R)
{
    FontName = R.FontName;
    FontStyle = R.FontStyle;
    FontHeight = R.FontHeight;
    FontColor = R.FontColor;
    ActiveFontColor = R.ActiveFontColor;
    DownFontColor = R.DownFontColor;
    DisabledFontColor = R.DisabledFontColor == R.FontColor ? static_cast<TColor>(0x808080) : R.DisabledFontColor;
    Morphing = R.Morphing;
    MorphKind = R.MorphKind;
    ActiveSkinRect = FallBack(R.ActiveSkinRect, R.SkinRect);
    DownSkinRect = FallBack(R.DownSkinRect, ActiveSkinRect);
    DisabledSkinRect = R.DisabledSkinRect;
    FocusedSkinRect = R.FocusedSkinRect;
    AnimateSkinRect = R.AnimateSkinRect;
    FrameCount = R.FrameCount;
    AnimateInterval = R.AnimateInterval;
    ShowFocus = R.ShowFocus;
    MenuMarkerRect = R.MenuMarkerRect;
    MenuMarkerFlatRect = FallBack(R.MenuMarkerFlatRect, MenuMarkerRect);
    MenuMarkerActiveRect = FallBack(R.MenuMarkerActiveRect, MenuMarkerRect);
    MenuMarkerDownRect = FallBack(R.MenuMarkerDownRect, MenuMarkerActiveRect);
    MenuMarkerTransparentColor = R.MenuMarkerTransparentColor;
}

void ApplyButtonStateFont(TCanvas* ACanvas, const TspButtonLook& ALook, const TspButtonFontChoice& AChoice,
                          bool ADown, bool AMouseIn)
{
    TFont* font = ACanvas->Font();
    if (AChoice.UseSkinFont && AChoice.Skinned) {
        font->SetName(ALook.FontName);
        font->SetHeight(ALook.FontHeight);
        font->SetStyle(ALook.FontStyle);
    } else {
        font->Assign(AChoice.DefaultFont);
    }
    if (!AChoice.Skinned)
        font->SetColor(AChoice.Enabled ? AChoice.DefaultFont->Color() : clBtnShadow);
    else if (AChoice.Enabled && !AChoice.UseSkinFontColor)
        font->SetColor(AChoice.DefaultFont->Color());
    else if (!AChoice.Enabled)
        font->SetColor(ALook.DisabledFontColor);
    else if (ADown && AMouseIn)
        font->SetColor(ALook.DownFontColor);
    else
        font->SetColor(AMouseIn ? ALook.ActiveFontColor : ALook.FontColor);
    ACanvas->Brush()->SetStyle(bsClear);
}

void DrawHotFadeFrame(TBitmap* B, TMorphKind AKind, double AKf,
                      const std::function<void(TBitmap* ATarget, bool AHot)>& ADrawState)
{
    TBitmap hot(B->Width(), B->Height());
    ADrawState(B, false);
    ADrawState(&hot, true);
    auto from = TspEffectBmp::CreateFromhWnd(B->Handle());
    auto to = TspEffectBmp::CreateFromhWnd(hot.Handle());
    from->MorphByKind(AKind, *to, AKf);
    from->Draw(B->Canvas()->Handle(), 0, 0);
}
