#include "skin/controls/skin_control.h"

#include "platform/gui/bitmap.h"
#include "platform/win/win.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/parent_background.h"
#include "skin/core/skin_data.h"

template <typename TBase>
TspSkinControlCore<TBase>::TspSkinControlCore(TComponent* AOwner) : TBase(AOwner)
{
}

template <typename TBase>
void TspSkinControlCore<TBase>::SetSkinData(TspSkinData* AValue)
{
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = AValue;
    if (FSD) FSD->FreeNotification(this);
    if (FSD && !FSD->Empty && !Designing()) ChangeSkinData();
}

template <typename TBase>
void TspSkinControlCore<TBase>::SetAlphaBlend(bool AValue)
{
    FAlphaBlend = AValue;
    this->Repaint();
}

template <typename TBase>
void TspSkinControlCore<TBase>::SetAlphaBlendValue(Byte AValue)
{
    FAlphaBlendValue = AValue;
    this->Repaint();
}

template <typename TBase>
void TspSkinControlCore<TBase>::SetHintImageList(TCustomImageList* AValue)
{
    if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
    FHintImageList = AValue;
    if (FHintImageList) FHintImageList->FreeNotification(this);
}

template <typename TBase>
void TspSkinControlCore<TBase>::GetSkinData()
{
    if (!FSD || FSD->Empty)
        FIndex = -1;
    else
        FIndex = FSD->GetControlIndex(FSkinDataName);
}

template <typename TBase>
void TspSkinControlCore<TBase>::ApplySkinCursor()
{
    if (!FUseSkinCursor) return;
    if (CursorIndex == -1 || !FSD)
        this->SetCursor(crDefault);
    else
        this->SetCursor(static_cast<TCursor>(FSD->StartCursorIndex + CursorIndex));
}

template <typename TBase>
void TspSkinControlCore<TBase>::ChangeSkinData()
{
    GetSkinData();
    ApplySkinCursor();
    this->Repaint();
}

template <typename TBase>
void TspSkinControlCore<TBase>::CheckParentBackground()
{
    if (FAlphaBlend) this->Repaint();
}

template <typename TBase>
void TspSkinControlCore<TBase>::Paint()
{
    if (this->Width() <= 0 || this->Height() <= 0) return;
    GetSkinData();
    PaintCycle();
}

template <typename TBase>
void TspSkinControlCore<TBase>::PaintCycle()
{
    TBitmap image(this->Width(), this->Height());
    if (FIndex != -1)
        DrawSkinnedImage(&image);
    else if (FDrawDefault)
        DrawUnskinnedImage(&image);
    PaintImage(&image);
}

template <typename TBase>
void TspSkinControlCore<TBase>::PaintImage(TBitmap* B)
{
    TCanvas* canvas = this->Canvas();
    if (!FAlphaBlend) {
        canvas->Draw(0, 0, B);
        return;
    }
    TBitmap background(B->Width(), B->Height());
    PaintParentBackground(this, background.Canvas());
    auto own = TspEffectBmp::CreateFromhWnd(B->Handle());
    auto behind = TspEffectBmp::CreateFromhWnd(background.Handle());
    own->Morph(*behind, 1.0 - FAlphaBlendValue / 255.0);
    own->Draw(canvas->Handle(), 0, 0);
}

template <typename TBase>
void TspSkinControlCore<TBase>::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case win::WM_ERASEBKGND:
        // The paint cycle covers the whole control.
        AMessage.Result = 1;
        return;
    case win::WM_MOVE:
        TBase::WndProc(AMessage);
        if (FAlphaBlend) this->Repaint();
        return;
    case SKM_REPAINT_TRANSPARENT:
        CheckParentBackground();
        return;
    default: TBase::WndProc(AMessage);
    }
}

template <typename TBase>
void TspSkinControlCore<TBase>::Notification(TComponent* AComponent, TOperation AOperation)
{
    TBase::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

template class TspSkinControlCore<TCustomControl>;
template class TspSkinControlCore<TGraphicControl>;

TspSkinControl::TspSkinControl(TComponent* AOwner) : TspSkinControlCore<TCustomControl>(AOwner) {}

void TspSkinControl::CheckControlsBackground()
{
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (windowed && windowed->HandleAllocated())
            win::SendMessage(windowed->Handle(), SKM_REPAINT_TRANSPARENT, 0, 0);
        else
            child->Perform(SKM_REPAINT_TRANSPARENT, 0, 0);
    }
}

void TspSkinControl::CheckParentBackground()
{
    if (!FAlphaBlend) return;
    Repaint();
    CheckControlsBackground();
}

void TspSkinControl::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg != win::WM_PAINT) {
        TspSkinControlCore<TCustomControl>::WndProc(AMessage);
        return;
    }
    FromWMPaint = true;
    try {
        TspSkinControlCore<TCustomControl>::WndProc(AMessage);
    } catch (...) {
        FromWMPaint = false;
        throw;
    }
    FromWMPaint = false;
}

TspGraphicSkinControl::TspGraphicSkinControl(TComponent* AOwner) : TspSkinControlCore<TGraphicControl>(AOwner) {}

void TspGraphicSkinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    const bool moved = ALeft != Left() || ATop != Top();
    TspSkinControlCore<TGraphicControl>::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (moved && FAlphaBlend) Repaint();
}
