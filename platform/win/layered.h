#pragma once
// Layered windows: a constant alpha or colour key over the painted contents, or contents given wholesale as
// premultiplied 32-bit pixels. Only meaningful when Capabilities().LayeredWindows; the calls still keep their
// state otherwise, so the window looks right once a compositor appears.
#include "platform/gdi/gdi_types.h"
#include "platform/win/win_types.h"

namespace win {

// Needs WS_EX_LAYERED. ACrKey is a COLORREF; AFlags LWA_COLORKEY and/or LWA_ALPHA.
BOOL SetLayeredWindowAttributes(HWND AWindow, COLORREF ACrKey, BYTE AAlpha, DWORD AFlags);
BOOL GetLayeredWindowAttributes(HWND AWindow, COLORREF* ACrKey, BYTE* AAlpha, DWORD* AFlags);
// Copies the size ASize from ASrc at ASrcPoint (the bitmap selected into a memory DC) as the window's
// contents, moving and sizing the window to ADestPoint/ASize when given. ULW_ALPHA with AC_SRC_ALPHA: the
// pixels are premultiplied and SourceConstantAlpha applies on top.
BOOL UpdateLayeredWindow(HWND AWindow, HDC ADest, const TPoint* ADestPoint, const TSize* ASize, HDC ASrc,
                         const TPoint* ASrcPoint, COLORREF ACrKey, const BLENDFUNCTION* ABlend, DWORD AFlags);

}  // namespace win
