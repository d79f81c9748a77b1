#pragma once
// What a backend reads to show the top-level windows: their order, places, pixels, shapes and layering.
#include "platform/win/region.h"
#include "platform/win/win_types.h"

#include <optional>
#include <string>
#include <vector>

namespace win {

struct TTopLevelView {
    HWND Window = nullptr;
    TRect Rect;  // screen coordinates
    bool Visible = false;
    bool Minimized = false;
    const uint32_t* Pixels = nullptr;  // 0xAARRGGBB, Rect's size, valid until the window changes
    int Width = 0;
    int Height = 0;
    std::optional<TRegion> Shape;  // window coordinates
    bool Layered = false;
    Byte Alpha = 255;           // constant alpha of a layered window
    bool PerPixelAlpha = false;  // premultiplied alpha in the pixels (UpdateLayeredWindow)
    bool ColorKeyed = false;
    DWORD ColorKey = 0;  // COLORREF
    bool ClickThrough = false;
    std::string Text;      // the title, UTF-8
    HWND Owner = nullptr;  // the window it stays above, for owned windows
};

std::vector<HWND> TopLevelWindowsInZOrder();  // topmost first
bool ViewTopLevel(HWND AWindow, TTopLevelView& AView);

}  // namespace win
