// A frameless (region-mode) skinned form: the whole window is the skin picture, cut by its mask, with the skin
// objects drawn on it; a skin change fits the client to the picture and places the controls over their areas.
#include "platform/gdi/dc.h"
#include "platform/gui/bitmap.h"
#include "skin/core/control_records.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/layered_border.h"
#include "skin/forms/skin_form.h"

using namespace win;

void TspCorvalis::ChangeFramelessSkinData()
{
    FSizeable = SkinIsSizeable();
    if (FRollUpState && (!FSD->FRollUpPicture || FSD->FRollUpPicture->Empty())) {
        FRollUpState = false;
        RollDownSkinForm();
    }
    if (!FRollUpState) FitClientToSkin();
    CreateSkinObjects();
    UpdateObjectsState();
    FLayerBorder->InitFrame(FSD, FForm);
    if (FRollUpState) RollUpSkinForm();
    FInChangeSkinData = true;
    if (OnChangeSkinData) OnChangeSkinData(this);
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    const TspSkinData& s = *FSD;
    if (!FRollUpState && (SkinIsSizeable() || (s.FPicture && s.FPicture->Width() == FForm->ClientWidth() &&
                                                s.FPicture->Height() == FForm->ClientHeight())))
        ApplySkinSize(SkinIsSizeable());
    else if (!FRollUpState)
        UpdateFormRegion(false);
    ArrangeObjects();
    LinkAreaControls();
    PlaceLinkedControls();
    UpdateCaptionActivity(true);
    FForm->Invalidate();
    FInChangeSkinData = false;
    MouseTimer->SetEnabled(true);
}

void TspCorvalis::PaintFrameless(HDC DC)
{
    if (!DC) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    TCanvas canvas;
    canvas.SetHandle(DC);
    if (!FSD || FSD->Empty || !FSD->FPicture || FSD->FPicture->Empty()) {
        canvas.Brush()->SetColor(clBtnFace);
        canvas.Pen()->SetColor(clBlack);
        canvas.Rectangle(FForm->ClientRect());
        canvas.SetHandle(nullptr);
        return;
    }
    const TspSkinData& s = *FSD;
    TBitmap buffer;
    TBitmap* rollUp = s.FRollUpPicture.get();
    if (FRollUpState && rollUp && !rollUp->Empty()) {
        if (s.RollUpLeftPoint.X < s.RollUpRightPoint.X)
            BuildHStripImage(s.RollUpLeftPoint.X, rollUp->Width() - s.RollUpRightPoint.X, &buffer, rollUp,
                             Rect(0, 0, rollUp->Width(), rollUp->Height()), FForm->Width(), rollUp->Height(), false);
        else
            buffer.Assign(rollUp);
    } else if (!IsNullPoint(s.LTPoint) || !IsNullPoint(s.RBPoint)) {
        CalcNewSkinGeometry();
        TBitmap* picture = s.FPicture.get();
        buffer.SetSize(FFormWidth, FFormHeight);
        ComposeSkinImage(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                         NewRBPoint, NewClRect, &buffer, picture, Rect(0, 0, picture->Width(), picture->Height()),
                         FFormWidth, FFormHeight, true, s.LeftStretch, s.TopStretch, s.RightStretch,
                         s.BottomStretch, s.StretchEffect, s.StretchType);
    } else {
        buffer.Assign(s.FPicture.get());
    }
    for (auto& object : ObjectList)
        if (object->RollUp == FRollUpState && object->Visible) object->Draw(buffer.Canvas(), false);
    if (FWindowState == wsNormal && !IsEmptyRect(FSizeGripArea)) {
        const Integer index = FSD->GetControlIndex(FSD->StatusBarName);
        auto* panel = index < 0 ? nullptr
                                : dynamic_cast<TspDataSkinPanelControl*>(FSD->CtrlList[static_cast<size_t>(index)].get());
        TBitmap* picture = panel ? FSD->ActivePicture(panel->PictureIndex) : nullptr;
        if (picture && !IsEmptyRect(panel->GripperRect)) {
            const TRect g = panel->GripperRect;
            TBitmap grip(WidthOfRect(g), HeightOfRect(g), pf24bit);
            grip.Canvas()->CopyRect(Rect(0, 0, grip.Width(), grip.Height()), picture->Canvas(), g);
            if (panel->GripperTransparent) {
                grip.SetTransparentMode(tmFixed);
                grip.SetTransparentColor(panel->GripperTransparentColor);
                grip.SetTransparent(true);
            }
            buffer.Canvas()->Draw(FSizeGripArea.Left, FSizeGripArea.Top, &grip);
        }
    }
    canvas.Draw(0, 0, &buffer);
    canvas.SetHandle(nullptr);
}
