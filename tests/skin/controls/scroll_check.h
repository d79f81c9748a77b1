#pragma once
// Checks for scrolled controls: what the screen shows of a control, the size of what waits to be painted, and a
// full repaint to compare a scroll with.
#include <cstdint>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gdi/gdi.h"
#include "platform/gui/controls.h"
#include "platform/win/painting.h"

namespace scrollcheck {

using namespace win;

// The control's client area as the screen shows it, row after row.
inline std::vector<uint32_t> ClientPixels(const headless::THeadlessBackend& ADisplay, TControl* AControl)
{
    const auto screen = ADisplay.ComposeScreen();
    const int stride = ADisplay.ScreenSize().cx;
    const TPoint origin = AControl->ClientToScreen({0, 0});
    std::vector<uint32_t> pixels;
    for (int y = 0; y < AControl->ClientHeight(); ++y)
        for (int x = 0; x < AControl->ClientWidth(); ++x)
            pixels.push_back(screen[static_cast<size_t>(origin.Y + y) * stride + origin.X + x] & 0xFFFFFF);
    return pixels;
}

// The number of pixels of the window's update region.
inline int64_t PendingArea(TWinControl* AControl)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(AControl->Handle(), region, FALSE);
    int64_t area = 0;
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> data(size);
    if (size && GetRegionData(region, size, reinterpret_cast<RGNDATA*>(data.data()))) {
        const auto* header = reinterpret_cast<RGNDATA*>(data.data());
        const auto* rects = reinterpret_cast<const RECT*>(header->Buffer);
        for (DWORD i = 0; i < header->rdh.nCount; ++i)
            area += static_cast<int64_t>(rects[i].Right - rects[i].Left) * (rects[i].Bottom - rects[i].Top);
    }
    DeleteObject(region);
    return area;
}

// The first pixel (x, y) where two client pictures of AWidth differ, or (-1, -1).
inline TPoint FirstDifference(const std::vector<uint32_t>& A, const std::vector<uint32_t>& B, int AWidth)
{
    for (size_t i = 0; i < A.size() && i < B.size(); ++i)
        if (A[i] != B[i]) return {static_cast<int>(i) % AWidth, static_cast<int>(i) / AWidth};
    return A.size() == B.size() ? TPoint{-1, -1} : TPoint{0, 0};
}

}  // namespace scrollcheck
