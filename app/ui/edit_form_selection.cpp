// The Edit dialog's crop selection: the eight handles and four lines over the source preview, the spin edits
// that show the same selection in picture pixels, and the output preview's clipping panels. The arithmetic is
// crop_geometry's; this file only moves the panels.
#include <exception>

#include "app/ui/edit_form.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/graphics.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/backend.h"
#include "skin/controls/spin_edit.h"
#include "skin/controls/track_bar.h"

namespace {

std::string SizeText(int AWidth, int AHeight, double AAspect)
{
    return "BitmapWidth=" + std::to_string(AWidth) + "; BitmapHeight=" + std::to_string(AHeight) +
           "; AspectRatio=" + FloatToStr(AAspect);
}

}  // namespace

void TCropForm::ShowCropArea()
{
    for (int i = 0; i < 8; ++i) {
        const TPoint p = FArea.Handles[i];
        Handles[i]->SetBounds(p.X, p.Y, Handles[i]->Width(), Handles[i]->Height());
    }
    lnleft->SetBoundsRect(FArea.LineLeft);
    lntop->SetBoundsRect(FArea.LineTop);
    lnright->SetBoundsRect(FArea.LineRight);
    lnBottom->SetBoundsRect(FArea.LineBottom);
    // The handles' and lines' windows of the display follow with the present of this paint; a paused source
    // picture is drawn again after it, so that no mark stays where they were.
    Update();
    FFPlayer1->UpdateScreenPosition();
}

void TCropForm::KeepSelectionAboveSource()
{
    // No display windows on a headless desktop: nothing to do there.
    for (TPanel* panel : {lnleft, lntop, lnright, lnBottom})
        win::SolidNativeWindow(panel->Handle(), ColorRefOf(panel->Color()));
    for (TPanel* handle : Handles)
        win::SolidNativeWindow(handle->Handle(), ColorRefOf(handle->Color()));
}

void TCropForm::ValuesToCropArea()
{
    const double aspect = FFPlayer1->AspectRatio();
    try {
        const auto fit = TPictureFit::Make(FCropFrameWidth, FCropFrameHeight, panPreview1->Width(),
                                           panPreview1->Height(), aspect);
        if (!fit) return;
        ::ValuesToCropArea(FArea, *fit, ClampCropValues(EditValues(), FCropFrameWidth, FCropFrameHeight));
        ShowCropArea();
    } catch (const std::exception&) {
        Report("Error painting Selection Area with edited values. " +
                   SizeText(FCropFrameWidth, FCropFrameHeight, aspect),
               "CLM_ValuesToCropArea");
    }
}

void TCropForm::CropAreaToEdits(bool AIsReset)
{
    const double aspect = FFPlayer1->AspectRatio();
    int width = 0, height = 0;
    try {
        if (TBitmap* picture = FFPlayer1->CurrentFrame()) {
            width = picture->Width();
            height = picture->Height();
        }
        if (width == 0 || height == 0) return;
        const auto fit = TPictureFit::Make(width, height, panPreview1->Width(), panPreview1->Height(), aspect);
        if (!fit) return;
        const TCropValues shown = CropAreaToValues(FArea, *fit);
        SetQuietly(edLeft, shown.Left);
        SetQuietly(edTop, shown.Top);
        SetQuietly(edWidth, shown.Width);
        SetQuietly(edHeight, shown.Height);
        if (!AIsReset) return;
        SetQuietly(edLeft, 0);
        SetQuietly(edTop, 0);
        SetQuietly(edWidth, width);
        SetQuietly(edHeight, height);
        for (TspSkinTrackBar* slider : {tbBrightness, tbContrast, tbSaturation}) slider->SetValue(0);
        ValuesToCropArea();
        SelectAspectQuietly(0);
        ValuesToPreviewArea();
    } catch (const std::exception&) {
        Report("Error painting Selection Area. " + SizeText(width, height, aspect), "CLM_PaintCropArea");
    }
}

void TCropForm::ValuesToPreviewArea()
{
    const double aspect = FFPlayer2->AspectRatio();
    try {
        const auto fit = TPictureFit::Make(FCropFrameWidth, FCropFrameHeight, panPreview1->Width(),
                                           panPreview1->Height(), aspect);
        if (!fit) return;
        const auto layout = ::ValuesToPreviewArea(*fit, ClampCropValues(EditValues(), FCropFrameWidth, FCropFrameHeight),
                                                  {panPreview1->Width(), panPreview1->Height()},
                                                  {Panel1->Width(), Panel1->Height()});
        if (!layout) return;
        Panel2->SetBoundsRect(layout->ClipWindow);
        panPreview2->SetBoundsRect(layout->PlayerPanel);
        // The output player lays its picture out in the panel's new size at once, playing or paused.
        FFPlayer2->UpdateScreenPosition();
    } catch (const std::exception&) {
        Report("Error painting Preview Area with edited values. " + SizeText(FCropFrameWidth, FCropFrameHeight, aspect) +
                   "; panPreview2.Width=" + std::to_string(panPreview2->Width()) +
                   "; panPreview2.Height=" + std::to_string(panPreview2->Height()),
               "CLM_ValuesToPreviewArea");
    }
}

void TCropForm::HandleMouseDown(TCropHandle, TMouseButton, int X, int Y)
{
    if (FFPlayer1->PlayState() == psStop) return;
    FGrab = {X, Y};
    FHandleDragging = true;
}

void TCropForm::HandleMouseMove(TCropHandle AHandle, int X, int Y)
{
    if (!FHandleDragging) return;
    if (!DragCropHandle(FArea, AHandle, {X - FGrab.X, Y - FGrab.Y}, FPictureBounds)) return;
    ShowCropArea();
    CropAreaToEdits(false);
    ValuesToPreviewArea();
    panPreview1->Repaint();
    panPreview2->Repaint();
}

void TCropForm::HandleMouseUp() { FHandleDragging = false; }
