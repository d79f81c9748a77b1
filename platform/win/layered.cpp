#include "platform/win/layered.h"

#include "platform/gdi/gdi.h"
#include "platform/win/geometry.h"
#include "platform/win/window.h"
#include "platform/win/window_state.h"

#include <vector>

namespace win {

using namespace wm;

BOOL SetLayeredWindowAttributes(HWND AWindow, COLORREF ACrKey, BYTE AAlpha, DWORD AFlags)
{
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window || !(window->ExStyle & WS_EX_LAYERED))
            return FALSE;
        window->ColorKey = ACrKey;
        window->Alpha = (AFlags & LWA_ALPHA) ? AAlpha : 255;
        window->LayeredFlags = AFlags & (LWA_ALPHA | LWA_COLORKEY);
        window->PerPixelAlpha = false;
    }
    NotifyTopLevelChanged(AWindow);
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND AWindow, COLORREF* ACrKey, BYTE* AAlpha, DWORD* AFlags)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window || !(window->ExStyle & WS_EX_LAYERED) || window->PerPixelAlpha)
        return FALSE;
    if (ACrKey)
        *ACrKey = window->ColorKey;
    if (AAlpha)
        *AAlpha = window->Alpha;
    if (AFlags)
        *AFlags = window->LayeredFlags;
    return TRUE;
}

BOOL UpdateLayeredWindow(HWND AWindow, HDC, const TPoint* ADestPoint, const TSize* ASize, HDC ASrc,
                         const TPoint* ASrcPoint, COLORREF ACrKey, const BLENDFUNCTION* ABlend, DWORD AFlags)
{
    if (!(GetWindowLong(AWindow, GWL_EXSTYLE) & WS_EX_LAYERED))
        return FALSE;
    TRect rect;
    GetWindowRect(AWindow, rect);
    if (ADestPoint || ASize) {
        int x = ADestPoint ? ADestPoint->X : rect.Left, y = ADestPoint ? ADestPoint->Y : rect.Top;
        int cx = ASize ? ASize->cx : rect.Width(), cy = ASize ? ASize->cy : rect.Height();
        if (cx < 0 || cy < 0)
            return FALSE;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | (ADestPoint ? 0 : SWP_NOMOVE) |
                     (ASize ? 0 : SWP_NOSIZE);
        SetWindowPos(AWindow, nullptr, x, y, cx, cy, flags);
        GetWindowRect(AWindow, rect);
    }
    std::vector<uint32_t> pixels;
    if (ASrc) {
        HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(ASrc, OBJ_BITMAP));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        if (!bitmap || !GetDIBits(ASrc, bitmap, 0, 0, nullptr, &info, DIB_RGB_COLORS))
            return FALSE;
        int width = info.bmiHeader.biWidth, height = std::abs(info.bmiHeader.biHeight);
        std::vector<uint32_t> source(static_cast<size_t>(width) * height);
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        info.bmiHeader.biHeight = -height;
        if (!GetDIBits(ASrc, bitmap, 0, static_cast<UINT>(height), source.data(), &info, DIB_RGB_COLORS))
            return FALSE;
        TPoint from = ASrcPoint ? *ASrcPoint : TPoint{0, 0};
        if (from.X < 0 || from.Y < 0 || from.X + rect.Width() > width || from.Y + rect.Height() > height)
            return FALSE;
        pixels.resize(static_cast<size_t>(rect.Width()) * rect.Height());
        for (int y = 0; y < rect.Height(); ++y)
            std::copy_n(source.begin() + static_cast<size_t>(from.Y + y) * width + from.X, rect.Width(),
                        pixels.begin() + static_cast<size_t>(y) * rect.Width());
    }
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return FALSE;
        if (!pixels.empty() && window->Pixels.size() == pixels.size())
            window->Pixels = std::move(pixels);
        window->PerPixelAlpha = (AFlags & ULW_ALPHA) && ABlend && (ABlend->AlphaFormat & AC_SRC_ALPHA);
        window->Alpha = (AFlags & ULW_ALPHA) && ABlend ? ABlend->SourceConstantAlpha : 255;
        window->LayeredFlags = ((AFlags & ULW_ALPHA) ? LWA_ALPHA : 0) | ((AFlags & ULW_COLORKEY) ? LWA_COLORKEY : 0);
        window->ColorKey = ACrKey;
    }
    NotifyTopLevelChanged(AWindow);
    if (TBackend* backend = CurrentBackend())
        backend->Present(AWindow, Rect(0, 0, rect.Width(), rect.Height()));
    return TRUE;
}

}  // namespace win
