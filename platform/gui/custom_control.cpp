#include "platform/gui/controls.h"

using namespace win;

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl()
{
    FCanvas.SetHandle(nullptr);
}

void TGraphicControl::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == WM_PAINT) {
        // The parent hands over its DC with the origin moved to this control's corner.
        FCanvas.Lock();
        FCanvas.SetHandle(reinterpret_cast<HDC>(AMessage.WParam));
        try {
            FCanvas.Font()->Assign(Font());
            Paint();
        } catch (...) {
            FCanvas.SetHandle(nullptr);
            FCanvas.Unlock();
            throw;
        }
        FCanvas.SetHandle(nullptr);
        FCanvas.Unlock();
        return;
    }
    TControl::WndProc(AMessage);
}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl()
{
    FCanvas.SetHandle(nullptr);
}

void TCustomControl::PaintWindow(HDC ADC)
{
    FCanvas.Lock();
    FCanvas.SetHandle(ADC);
    try {
        FCanvas.Font()->Assign(Font());
        Paint();
    } catch (...) {
        FCanvas.SetHandle(nullptr);
        FCanvas.Unlock();
        throw;
    }
    FCanvas.SetHandle(nullptr);
    FCanvas.Unlock();
}
