// The skinned form's side of its layered border: when the border is in use, how it follows the form's moves,
// sizes, showing and hiding, and the outer rectangle kept across skin changes that add or remove a full border.
#include "platform/win/win.h"
#include "skin/core/platform_gates.h"
#include "skin/core/skin_data.h"
#include "skin/forms/layered_border.h"
#include "skin/forms/skin_form.h"

using namespace win;

bool TspCorvalis::UseLayeredBorder()
{
    // Layered windows need a compositor: without one the form behaves exactly as with no border.
    return FSD && !FSD->Empty && FSD->ShowLayeredBorders() && FSD->LayerFrame &&
           FSD->LayerFrame->PictureIndex != -1 && HasUpdateLayeredWindow() && FSkinnableForm &&
           !FAlwaysDisableLayeredFrames && !PreviewMode && !(FForm->BorderStyle() == bsNone && FSupportNCArea) &&
           FForm->FormStyle() != fsMDIChild && !FSmartEffectsShow;
}

bool TspCorvalis::FullLayeredBorder() { return UseLayeredBorder() && FLayerBorder && FLayerBorder->FullBorder(); }

void TspCorvalis::RememberOuterBounds()
{
    if (FLayerBorder && FLayerBorder->Visible() && FLayerBorder->FullBorder()) {
        FOldFormBounds = Bounds(FForm->Left() - FLayerBorder->LeftSize, FForm->Top() - FLayerBorder->TopSize,
                                FForm->Width() + FLayerBorder->LeftSize + FLayerBorder->RightSize,
                                FForm->Height() + FLayerBorder->TopSize + FLayerBorder->BottomSize);
        FOldFullBorder = 1;
    } else {
        FOldFormBounds = Bounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
        FOldFullBorder = 0;
    }
}

void TspCorvalis::RestoreOuterBounds()
{
    if (FOldFullBorder == -1) return;
    const TRect& r = FOldFormBounds;
    if (FullLayeredBorder() && FLayerBorder->Visible()) {
        const TspFormLayerBorder& b = *FLayerBorder;
        FForm->SetBounds(r.Left + b.LeftSize, r.Top + b.TopSize, r.Width() - b.LeftSize - b.RightSize,
                         r.Height() - b.TopSize - b.BottomSize);
    } else if (FOldFullBorder == 1) {
        FForm->SetBounds(r.Left, r.Top, r.Width(), FRollUpState ? GetMinHeight() : r.Height());
    }
    FOldFullBorder = -1;
}

void TspCorvalis::ShowLayerBorderWithForm()
{
    if (!FLayerBorder || !UseLayeredBorder() || !FForm->Visible() || !FForm->HandleAllocated()) return;
    // A maximized form shows the border only with a full border; a minimized one never.
    if (FWindowState == wsMinimized && !FLayerBorder->RolledUpFullBorder()) return;
    if (FWindowState == wsMaximized && !FLayerBorder->FullBorder()) return;
    FLayerBorder->SetActive(GetFormActive(), false);
    FLayerBorder->ShowWithForm();
}

void TspCorvalis::LayerBorderAfter(TMessage& Message)
{
    if (!FLayerBorder) return;
    switch (Message.Msg) {
    case WM_SHOWWINDOW:
        if (Message.WParam)
            ShowLayerBorderWithForm();
        else if (FForm->Tag() != -10000)
            FLayerBorder->Hide();
        break;
    case WM_WINDOWPOSCHANGED: {
        if (!FLayerBorder->Visible()) {
            if (FForm->Visible() && UseLayeredBorder() && FWindowState == wsNormal) ShowLayerBorderWithForm();
            break;
        }
        auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
        if (pos && (pos->flags & SWP_HIDEWINDOW)) {
            FLayerBorder->Hide();
        } else if ((FWindowState == wsMaximized && !FLayerBorder->FullBorder()) ||
                   (FWindowState == wsMinimized && !FLayerBorder->RolledUpFullBorder())) {
            FLayerBorder->Hide();
        } else if (pos && (pos->flags & SWP_NOSIZE)) {
            FLayerBorder->MoveWithForm();
        } else {
            FLayerBorder->SetBoundsWithForm();
        }
        break;
    }
    case SKM_LAYEREDBORDERS_CHANGED:
    case SKM_AEROBLUR_CHANGED: {
        if (reinterpret_cast<TspSkinData*>(Message.WParam) != FSD || !FSD) break;
        RememberOuterBounds();
        if (UseLayeredBorder()) {
            FLayerBorder->InitFrame(FSD, FForm);
            if (FForm->Visible() && !FLayerBorder->Visible()) ShowLayerBorderWithForm();
            RestoreOuterBounds();
        } else if (FLayerBorder->Visible()) {
            FLayerBorder->Hide();
            RestoreOuterBounds();
        }
        FOldFullBorder = -1;
        break;
    }
    case SKM_SMARTEFFECTS_SHOW: ShowLayerBorderWithForm(); break;
    default: break;
    }
}
