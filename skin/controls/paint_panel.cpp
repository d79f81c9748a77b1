#include "skin/controls/paint_panel.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/win/painting.h"

TspSkinPaintPanel::TspSkinPaintPanel(TComponent* AOwner) : TspSkinPanel(AOwner)
{
    FForceBackground = false;
}

void TspSkinPaintPanel::PanelPaint(TCanvas* ACanvas)
{
    if (OnPanelPaint) OnPanelPaint(ACanvas, GetSkinClientRect());
}

void TspSkinPaintPanel::DrawUnskinnedImage(TBitmap* B)
{
    TspSkinPanel::DrawUnskinnedImage(B);
    PanelPaint(B->Canvas());
}

void TspSkinPaintPanel::DrawSkinnedImage(TBitmap* B)
{
    TspSkinPanel::DrawSkinnedImage(B);
    PanelPaint(B->Canvas());
}

void TspSkinPaintPanel::PaintPanelContent(TCanvas* ACanvas)
{
    PanelPaint(ACanvas);
}

void TspSkinPaintPanel::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg != win::WM_ERASEBKGND || FromWMPaint) {
        TspSkinPanel::WndProc(AMessage);
        return;
    }
    // An erase from outside a paint (a parent painting its background) gets the whole face.
    TCanvas canvas;
    canvas.SetHandle(reinterpret_cast<win::HDC>(AMessage.WParam));
    TBitmap image(Width(), Height());
    GetSkinData();
    FitCurrentSize();
    if (Skinned())
        DrawSkinnedImage(&image);
    else
        DrawUnskinnedImage(&image);
    canvas.Draw(0, 0, &image);
    canvas.SetHandle(nullptr);
    AMessage.Result = 1;
}
