#pragma once
// Handles, records and numbers of the software GDI. Numbers keep their Windows values, so that code written against
// them reads the same; records keep their Windows field names and layouts (with 64-bit pointers).
//
// Handles are pointers to opaque objects. Every call checks that a handle is alive and of the right kind, so a stale
// or foreign handle fails like it would on Windows instead of touching freed memory. A GDI object handle converts to
// HGDIOBJ implicitly and back with a cast: `HBITMAP old = (HBITMAP)SelectObject(dc, bmp);`.
#include <cstddef>
#include <cstdint>

#include "platform/rtl/types.h"

namespace win {

using BOOL = int32_t;
using UINT = uint32_t;
using LONG = int32_t;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using COLORREF = uint32_t; // 0x00BBGGRR
using HANDLE = void*;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

using RECT = TRect;
using POINT = TPoint;
using SIZE = TSize;
using LPRECT = RECT*;

struct GdiObject {
    virtual ~GdiObject() = default;
protected:
    GdiObject() = default;
};
struct BitmapObject : GdiObject {};
struct RegionObject : GdiObject {};
struct FontObject : GdiObject {};
struct PenObject : GdiObject {};
struct BrushObject : GdiObject {};
struct DeviceContext {
    virtual ~DeviceContext() = default;
protected:
    DeviceContext() = default;
};

using HGDIOBJ = GdiObject*;
using HBITMAP = BitmapObject*;
using HRGN = RegionObject*;
using HFONT = FontObject*;
using HPEN = PenObject*;
using HBRUSH = BrushObject*;
using HDC = DeviceContext*;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) { return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16); }
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE(c >> 8); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE(c >> 16); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// ---- object kinds (GetObjectType, GetCurrentObject)
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_DC = 3;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
constexpr UINT OBJ_REGION = 8;
constexpr UINT OBJ_MEMDC = 10;

// ---- stock objects
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

// ---- bitmaps
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;

struct BITMAPINFOHEADER {
    DWORD biSize = sizeof(BITMAPINFOHEADER);
    LONG biWidth = 0;
    LONG biHeight = 0; // negative = top-down
    WORD biPlanes = 1;
    WORD biBitCount = 0;
    DWORD biCompression = BI_RGB;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

struct RGBQUAD {
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 0;
    WORD bmBitsPixel = 0;
    void* bmBits = nullptr;
};

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3] = {0, 0, 0};
    HANDLE dshSection = nullptr;
    DWORD dsOffset = 0;
};

// Bytes per row of a DIB: rows are padded to 32 bits.
constexpr LONG DibStride(LONG width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

// ---- raster operations (BitBlt, StretchBlt, StretchDIBits): any ternary code works; these are the named ones
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// ---- stretch modes
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
constexpr int STRETCH_ORSCANS = WHITEONBLACK;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int STRETCH_HALFTONE = HALFTONE;

// ---- AlphaBlend
constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
    BYTE BlendOp = AC_SRC_OVER;
    BYTE BlendFlags = 0;
    BYTE SourceConstantAlpha = 255;
    BYTE AlphaFormat = 0;
};

// ---- ROP2 (pen and brush mix modes)
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// ---- background mode
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// ---- pens and brushes
constexpr UINT PS_SOLID = 0;
constexpr UINT PS_DASH = 1;
constexpr UINT PS_DOT = 2;
constexpr UINT PS_DASHDOT = 3;
constexpr UINT PS_DASHDOTDOT = 4;
constexpr UINT PS_NULL = 5;
constexpr UINT PS_INSIDEFRAME = 6;
constexpr UINT PS_ALTERNATE = 8;
constexpr UINT PS_STYLE_MASK = 0x0000000F;
constexpr UINT PS_ENDCAP_ROUND = 0x00000000;
constexpr UINT PS_ENDCAP_SQUARE = 0x00000100;
constexpr UINT PS_ENDCAP_FLAT = 0x00000200;
constexpr UINT PS_JOIN_ROUND = 0x00000000;
constexpr UINT PS_JOIN_BEVEL = 0x00001000;
constexpr UINT PS_JOIN_MITER = 0x00002000;
constexpr UINT PS_COSMETIC = 0x00000000;
constexpr UINT PS_GEOMETRIC = 0x00010000;

constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;
constexpr UINT BS_PATTERN = 3;

// Hatch styles: lines one pixel wide, eight pixels apart.
constexpr int HS_HORIZONTAL = 0; // -----
constexpr int HS_VERTICAL = 1;   // |||||
constexpr int HS_FDIAGONAL = 2;  // \\\ (down from the left)
constexpr int HS_BDIAGONAL = 3;  // ///// (up from the left)
constexpr int HS_CROSS = 4;      // +++++
constexpr int HS_DIAGCROSS = 5;  // xxxxx

struct LOGPEN {
    UINT lopnStyle = PS_SOLID;
    POINT lopnWidth; // X is the width
    COLORREF lopnColor = 0;
};

struct LOGBRUSH {
    UINT lbStyle = BS_SOLID;
    COLORREF lbColor = 0;
    uintptr_t lbHatch = 0;
};

// ---- regions
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = ERROR;

constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

constexpr DWORD RDH_RECTANGLES = 1;
struct RGNDATAHEADER {
    DWORD dwSize = sizeof(RGNDATAHEADER);
    DWORD iType = RDH_RECTANGLES;
    DWORD nCount = 0;
    DWORD nRgnSize = 0;
    RECT rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32);
// A header followed by nCount RECTs (16 bytes each).
struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
};

// ---- fonts and text
constexpr int LF_FACESIZE = 32;
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_HEAVY = 900;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE DEFAULT_PITCH = 0;

// lfHeight < 0: character (em) height in pixels; > 0: cell height (ascent + descent); 0: the default size.
// lfEscapement in tenths of a degree; 0, 900, 1800 and 2700 are drawn. lfFaceName is UTF-8.
struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = OUT_DEFAULT_PRECIS;
    BYTE lfClipPrecision = CLIP_DEFAULT_PRECIS;
    BYTE lfQuality = DEFAULT_QUALITY;
    BYTE lfPitchAndFamily = DEFAULT_PITCH;
    char lfFaceName[LF_FACESIZE] = {};
};

struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    LONG tmDigitizedAspectX = 96;
    LONG tmDigitizedAspectY = 96;
    char32_t tmFirstChar = 0x20;
    char32_t tmLastChar = 0xFFFF;
    char32_t tmDefaultChar = 0x3F;
    char32_t tmBreakChar = 0x20;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = DEFAULT_CHARSET;
};

// ExtTextOut options
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// DrawText formats
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;

struct DRAWTEXTPARAMS {
    UINT cbSize = sizeof(DRAWTEXTPARAMS);
    int iTabLength = 0; // in average character widths
    int iLeftMargin = 0;
    int iRightMargin = 0;
    UINT uiLengthDrawn = 0;
};

// ---- device capabilities
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

} // namespace win
