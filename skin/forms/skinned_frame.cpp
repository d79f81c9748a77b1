// The frame drawn from the skin's form picture: the skin geometry moved to the form's size, the four frame
// strips with the objects on them, and applying a skin to the form.
#include "platform/gdi/dc.h"
#include "skin/core/layer_window.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/caption_object.h"
#include "skin/forms/layered_border.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {

TRect Grow(const TRect& R, Integer ADx, Integer ADy) { return Rect(R.Left, R.Top, R.Right + ADx, R.Bottom + ADy); }
TRect Moved(const TRect& R, Integer ADx, Integer ADy)
{
    return Rect(R.Left + ADx, R.Top + ADy, R.Right + ADx, R.Bottom + ADy);
}

}  // namespace

bool TspCorvalis::SkinIsSizeable()
{
    return FSD && FSD->RBPoint.X != FSD->LTPoint.X && FSD->RBPoint.Y != FSD->LTPoint.Y;
}

void TspCorvalis::CalcNewSkinGeometry()
{
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (!FSD || FSD->Empty || !FSD->FPicture) return;
    const TspSkinData& s = *FSD;
    const Integer pw = s.FPicture->Width(), ph = s.FPicture->Height();
    const Integer dx = FFormWidth - pw, dy = FFormHeight - ph;
    NewLTPoint = s.LTPoint;
    NewRTPoint = {s.RTPoint.X + dx, s.RTPoint.Y};
    NewLBPoint = {s.LBPoint.X, s.LBPoint.Y + dy};
    NewRBPoint = {s.RBPoint.X + dx, s.RBPoint.Y + dy};
    NewClRect = Grow(s.ClRect, dx, dy);
    NewCaptionRect = IsEmptyRect(s.CaptionRect) ? s.CaptionRect : Grow(s.CaptionRect, dx, 0);
    NewButtonsRect = s.ButtonsRect;
    if (!IsEmptyRect(s.ButtonsRect) && s.ButtonsRect.Left > pw / 2) NewButtonsRect = Moved(s.ButtonsRect, dx, 0);
    if (!IsEmptyRect(s.ButtonsRect) && s.ButtonsRect.Left < pw / 2) ButtonsInLeft = true;
    NewButtonsInLeft = s.CapButtonsInLeft;
    NewButtonsOffset = s.ButtonsOffset;
    NewHitTestLTPoint = s.HitTestLTPoint;
    NewHitTestRTPoint = {s.HitTestRTPoint.X + dx, s.HitTestRTPoint.Y};
    NewHitTestLBPoint = {s.HitTestLBPoint.X, s.HitTestLBPoint.Y + dy};
    NewHitTestRBPoint = {s.HitTestRBPoint.X + dx, s.HitTestRBPoint.Y + dy};
    NewMaskRectArea = Grow(s.MaskRectArea, dx, dy);
    NewIconRect = MapSkinRect(s.IconRect);
    NewMainMenuRect = s.MainMenuRect;
    if (SkinIsSizeable()) {
        NewMainMenuRect.Right += dx;
        if (PtInRect(Rect(0, s.LBPoint.Y, s.LBPoint.X, ph), NewMainMenuRect.TopLeft()))
            NewMainMenuRect = Moved(NewMainMenuRect, 0, dy);
    }
}

TRect TspCorvalis::MapSkinRect(const TRect& R)
{
    if (!FSD || !FSD->FPicture) return R;
    const TspSkinData& s = *FSD;
    const Integer w = s.FPicture->Width(), h = s.FPicture->Height();
    const TRect lt = Rect(0, 0, s.LTPoint.X, s.LTPoint.Y);
    const TRect lb = Rect(0, s.LBPoint.Y, s.LBPoint.X, h);
    const TRect rt = Rect(s.RTPoint.X, 0, w, s.RTPoint.Y);
    const TRect rb = Rect(s.RBPoint.X, s.RBPoint.Y, w, h);
    if (IsEmptyRect(lt) && IsEmptyRect(lb) && IsEmptyRect(rt) && IsEmptyRect(rb)) return R;
    const Integer dx = NewRBPoint.X - s.RBPoint.X, dy = NewRBPoint.Y - s.RBPoint.Y;
    const TPoint tl = R.TopLeft(), br = R.BottomRight();
    auto inside = [&](const TRect& Z) { return PtInRect(Z, tl) && PtInRect(Z, br); };
    if (inside(lt)) return R;
    if (inside(rt)) return Moved(R, dx, 0);
    if (inside(lb)) return Moved(R, 0, dy);
    if (inside(rb)) return Moved(R, dx, dy);
    if (PtInRect(lt, tl) && PtInRect(rb, br)) return Grow(R, dx, dy);
    if (PtInRect(lt, tl) && PtInRect(rt, br)) return Grow(R, dx, 0);
    if (PtInRect(lb, tl) && PtInRect(rb, br)) return Moved(Grow(R, dx, 0), 0, dy);
    if (PtInRect(lt, tl) && PtInRect(lb, br)) return Grow(R, 0, dy);
    if (PtInRect(rt, tl) && PtInRect(rb, br)) return Moved(Grow(R, 0, dy), dx, 0);
    return R;
}

void TspCorvalis::PaintNCSkin(HDC ADC, bool AUseExternalDC)
{
    if (!HasSkinFrame() || !FForm->HandleAllocated()) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (FFormWidth < GetMinWidth() || FFormHeight < GetMinHeight()) return;
    CalcNewSkinGeometry();
    ArrangeObjects();

    const TspSkinData& s = *FSD;
    TBitmap* picture = s.FPicture.get();
    if (!GetFormActive() && s.FInActivePicture && !s.FInActivePicture->Empty()) picture = s.FInActivePicture.get();
    TBitmap top, left, right, bottom;
    BuildSkinFrameStrips(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                         NewRBPoint, NewClRect, &left, &top, &right, &bottom, picture,
                         Rect(0, 0, picture->Width(), picture->Height()), FFormWidth, FFormHeight, s.LeftStretch,
                         s.TopStretch, s.RightStretch, s.BottomStretch);
    for (auto& object : ObjectList) {
        if (!object->Visible || !ObjectShownInRollUpState(object->RollUp)) continue;
        if (object->ObjectRect.Bottom <= NewClRect.Top) {
            if (!top.Empty()) object->Draw(top.Canvas(), false);
        } else if (!bottom.Empty()) {
            const TRect saved = object->ObjectRect;
            object->ObjectRect = Moved(saved, 0, -NewClRect.Bottom);
            object->Draw(bottom.Canvas(), false);
            object->ObjectRect = saved;
        }
    }

    if (!GetFormActive() && AutoInActiveImage())
        for (TBitmap* strip : {&top, &left, &right, &bottom}) ApplyInActiveEffect(strip, s.InActiveEffect);

    HDC dc = AUseExternalDC ? ADC : GetWindowDC(FForm->Handle());
    if (!dc) return;
    // A caller's context gets back its clipping and selected objects.
    const int saved = SaveDC(dc);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        if (HeightOfRect(NewClRect) > 0)
            ExcludeClipRect(dc, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
        canvas.Draw(0, 0, &top);
        canvas.Draw(0, top.Height(), &left);
        canvas.Draw(FFormWidth - right.Width(), top.Height(), &right);
        canvas.Draw(0, FFormHeight - bottom.Height(), &bottom);
        canvas.SetHandle(nullptr);
    }
    RestoreDC(dc, saved);
    if (!AUseExternalDC) ReleaseDC(FForm->Handle(), dc);
}

void TspCorvalis::ApplySkinSize(bool AResized)
{
    if (ComponentState().Contains(csDesigning) || !FSD || FSD->Empty) return;
    if (FSkinnableForm) {
        CalcNewSkinGeometry();
        if (AResized) ArrangeObjects();
    }
    UpdateFormRegion(AResized);
    if (OnChangeClientRect) OnChangeClientRect(this, NewClRect);
    if (!FSupportNCArea) PlaceLinkedControls();
    if (FSupportNCArea && FSkinnableForm) FrameRepaint();
    // A stretched client background changes with the size: the form and the controls drawn over it repaint.
    if (FSupportNCArea && FSkinSupport && FSD->StretchEffect) {
        FForm->Invalidate();
        NotifyChildrenBackground();
    }
}

void TspCorvalis::ChangeSkinData()
{
    if (FUseRibbon) FSkinnableForm = false;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    FSkinSupport = FSD && !FSD->Empty;
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    if (FLayerBorder->Visible()) FLayerBorder->Hide();
    if (!FSupportNCArea) {
        if (FSkinSupport) ChangeFramelessSkinData();
        FinishLayerBorderChange();
        return;
    }

    if (FSkinSupport && FSkinnableForm) {
        CreateSkinObjects();
        UpdateObjectsState();
        if (!PreviewMode) FLayerBorder->InitFrame(FSD, FForm);
    } else {
        ClearObjects();
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
        UpdateFormRegion(false);
    }
    if (FSkinnableForm)
        FForm->SetBorderIcons(TBorderIcons{});
    else
        ApplyFormBorderIcons();
    FInChangeSkinData = true;
    const Integer minWidth = GetMinWidth(), minHeight = GetMinHeight();
    if (FForm->Width() < minWidth || FForm->Height() < minHeight)
        FForm->SetBounds(FForm->Left(), FForm->Top(), std::max(FForm->Width(), minWidth),
                         std::max(FForm->Height(), minHeight));
    // The frame's size changes with the skin: the form asks for its client area again.
    if (FForm->HandleAllocated())
        SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    if (FSkinSupport) ApplySkinSize(true);
    FForm->Invalidate();
    FrameRepaint();
    UpdateCaptionActivity(true);
    MouseTimer->SetEnabled(true);
    if (OnChangeSkinData) OnChangeSkinData(this);
    FInChangeSkinData = false;
    if (!FRollUpState) {
        if (FClientWidth > 0) FForm->SetClientWidth(FClientWidth);
        if (FClientHeight > 0) FForm->SetClientHeight(FClientHeight);
    }
    FinishLayerBorderChange();
}

void TspCorvalis::FinishLayerBorderChange()
{
    if (UseLayeredBorder() && FForm->Visible()) {
        ShowLayerBorderWithForm();
        // The form's frame changed with the border: its client area is asked for again.
        if (FForm->HandleAllocated())
            SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        FLayerBorder->SetBoundsWithForm();
    }
    RestoreOuterBounds();
}
