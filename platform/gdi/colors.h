#pragma once
// Colours: `TColor` as the class library knows it (0x00BBGGRR, or 0xFF000000 plus a system colour number), the
// system colours with the classic Windows defaults, and `ColorToRGB`.
#include <cstdint>

#include "platform/gdi/gdi_types.h"

using TColor = int32_t;

constexpr TColor clSystemColor = TColor(0xFF000000u);

namespace win {

constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;
constexpr int COLOR_DESKTOP = COLOR_BACKGROUND;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHIGHLIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
constexpr int COLOR_BTNHILIGHT = COLOR_BTNHIGHLIGHT;

// The classic default of a system colour; 0 for an unknown index.
COLORREF GetSysColor(int AIndex);
// A stock solid brush of that colour (never deleted by DeleteObject); nullptr for an unknown index.
HBRUSH GetSysColorBrush(int AIndex);

} // namespace win

constexpr TColor clScrollBar = clSystemColor | win::COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | win::COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | win::COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | win::COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | win::COLOR_MENU;
constexpr TColor clWindow = clSystemColor | win::COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | win::COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | win::COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | win::COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | win::COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | win::COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | win::COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | win::COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | win::COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | win::COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | win::COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | win::COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | win::COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | win::COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | win::COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | win::COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | win::COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | win::COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | win::COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | win::COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | win::COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | win::COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | win::COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | win::COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | win::COLOR_MENUBAR;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

// A system colour (any negative value) becomes its RGB value; any other value is returned unchanged.
int32_t ColorToRGB(TColor AColor);
