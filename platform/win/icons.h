#pragma once
// Icons and cursors made from bitmaps, the stock icons, drawing them into a DC, copying icons and bitmaps, and
// the window icon. An icon is a colour picture and a mask (1 = transparent); a 32-bit colour picture with any
// alpha set blends by its alpha instead. A cursor is an icon with a hot spot: CreateIconIndirect with fIcon
// FALSE gives it, used as an HCURSOR through IconAsCursor. Every call checks its handle, so a destroyed icon
// fails instead of touching freed memory.
#include "platform/gdi/gdi_types.h"
#include "platform/win/win_types.h"

#include <cstdint>
#include <vector>

namespace win {

struct ICONINFO {
    BOOL fIcon = TRUE;
    DWORD xHotspot = 0;  // cursors only
    DWORD yHotspot = 0;
    // The mask: black is opaque, white transparent; the colour bitmap's size. GetIconInfo gives both as new
    // 32-bit bitmaps that the caller deletes. Without a colour bitmap the mask is twice as high: the AND rows
    // above the XOR rows, as a monochrome icon has them.
    HBITMAP hbmMask = nullptr;
    HBITMAP hbmColor = nullptr;
};

inline constexpr uintptr_t IDI_APPLICATION = 32512;
inline constexpr uintptr_t IDI_HAND = 32513;
inline constexpr uintptr_t IDI_QUESTION = 32514;
inline constexpr uintptr_t IDI_EXCLAMATION = 32515;
inline constexpr uintptr_t IDI_ASTERISK = 32516;
inline constexpr uintptr_t IDI_ERROR = IDI_HAND;
inline constexpr uintptr_t IDI_WARNING = IDI_EXCLAMATION;
inline constexpr uintptr_t IDI_INFORMATION = IDI_ASTERISK;

// DrawIconEx
inline constexpr UINT DI_MASK = 0x0001;
inline constexpr UINT DI_IMAGE = 0x0002;
inline constexpr UINT DI_NORMAL = 0x0003;
inline constexpr UINT DI_DEFAULTSIZE = 0x0008;

// CopyImage
inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT IMAGE_ICON = 1;
inline constexpr UINT IMAGE_CURSOR = 2;
inline constexpr UINT LR_COPYRETURNORG = 0x0004;
inline constexpr UINT LR_COPYDELETEORG = 0x0008;

// WM_SETICON / WM_GETICON
inline constexpr WPARAM ICON_SMALL = 0;
inline constexpr WPARAM ICON_BIG = 1;

HICON CreateIconIndirect(const ICONINFO* AInfo);
BOOL DestroyIcon(HICON AIcon);  // the stock icons stay
BOOL DestroyCursor(HCURSOR ACursor);
BOOL GetIconInfo(HICON AIcon, ICONINFO* AInfo);
HICON CopyIcon(HICON AIcon);
// The stock icons (IDI_ with a null instance), 32 x 32, drawn by this layer and shared.
HICON LoadIcon(void* AInstance, uintptr_t AId);
// Draws at (AX, AY) in ACX x ACY (0 = the icon's own size, or SM_CXICON with DI_DEFAULTSIZE). DI_NORMAL blends an
// icon with alpha and masks one without; DI_MASK or DI_IMAGE alone copies that picture. AStep and ABrush are
// not used (no animated cursors, no flicker-free drawing).
BOOL DrawIconEx(HDC ADC, int AX, int AY, HICON AIcon, int ACX, int ACY, UINT AStep, HBRUSH ABrush, UINT AFlags);
BOOL DrawIcon(HDC ADC, int AX, int AY, HICON AIcon);
// A copy of a bitmap (IMAGE_BITMAP), icon or cursor, scaled to ACX x ACY (0 = the original size). With
// LR_COPYDELETEORG the original is destroyed.
HANDLE CopyImage(HANDLE AImage, UINT AType, int ACX, int ACY, UINT AFlags);

// An icon made as a cursor is the cursor; the standard IDC_ cursors are not icons.
inline HCURSOR IconAsCursor(HICON AIcon) { return reinterpret_cast<HCURSOR>(AIcon); }
inline HICON CursorAsIcon(HCURSOR ACursor) { return reinterpret_cast<HICON>(ACursor); }

// What a backend needs to show an icon or cursor: premultiplied 0xAARRGGBB pixels, rows top-down. Serial
// differs for every icon ever made, so a backend can keep what it made from one.
struct TIconImage {
    int Width = 0;
    int Height = 0;
    bool IsIcon = true;
    TPoint HotSpot;
    uint64_t Serial = 0;
    std::vector<uint32_t> Pixels;
};
bool GetIconImage(HICON AIcon, TIconImage& AImage);
// A premultiplied pixel back to straight alpha (fully transparent gives 0).
uint32_t UnpremultipliedPixel(uint32_t APixel);
// An icon from straight (not premultiplied) 0xAARRGGBB pixels, rows top-down.
HICON CreateIconFromPixels(int AWidth, int AHeight, const uint32_t* APixels, bool AIsIcon = true,
                           TPoint AHotSpot = {});

// The window's icons, as WM_SETICON sets them (the caller keeps them alive); the backend shows the big one, or
// the small one without it.
HICON SetWindowIcon(HWND AWindow, WPARAM AKind, HICON AIcon);  // returns the previous one
HICON GetWindowIcon(HWND AWindow, WPARAM AKind);

}  // namespace win
