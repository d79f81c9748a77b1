#pragma once
// A control's pixels as the headless screen shows them, from one composition of the screen: row by row, in
// 0x00BBGGRR form.
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/controls.h"

namespace controlstest {

inline std::vector<TColor> ControlShot(headless::THeadlessBackend& ADisplay, TControl* AControl)
{
    const auto screen = ADisplay.ComposeScreen();
    const TPoint origin = AControl->ClientToScreen({0, 0});
    std::vector<TColor> pixels;
    for (Integer y = 0; y < AControl->Height(); ++y)
        for (Integer x = 0; x < AControl->Width(); ++x) {
            const uint32_t argb = screen[static_cast<size_t>(origin.Y + y) * ADisplay.ScreenSize().cx + origin.X + x];
            pixels.push_back(static_cast<TColor>(((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF)));
        }
    return pixels;
}

}  // namespace controlstest
