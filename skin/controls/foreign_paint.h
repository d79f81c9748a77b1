#pragma once
// Painting a windowed control into a device context that is not its own: an erase handled outside the control's
// own WM_PAINT (a child asking for what lies behind it) gets the whole control.
#include <functional>

#include "platform/gui/canvas.h"
#include "platform/win/win_types.h"

inline void PaintIntoForeignDC(TCanvas* ACanvas, win::HDC ADC, const std::function<void()>& APaint)
{
    ACanvas->Lock();
    ACanvas->SetHandle(ADC);
    try {
        APaint();
    } catch (...) {
        ACanvas->SetHandle(nullptr);
        ACanvas->Unlock();
        throw;
    }
    ACanvas->SetHandle(nullptr);
    ACanvas->Unlock();
}
