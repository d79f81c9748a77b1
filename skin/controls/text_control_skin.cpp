#include "skin/controls/text_control_skin.h"

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/win/win.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/interface_texts.h"

using namespace win;

TFontCharset SkinCharset(TspSkinData* ASkin, TFontCharset AFallBack)
{
    return ASkin && ASkin->ResourceStrData() ? static_cast<TFontCharset>(ASkin->ResourceStrData()->CharSet)
                                             : AFallBack;
}

Integer ScreenTextHeight(TFont* AFont)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, AFont->Handle());
    TEXTMETRIC metrics{};
    GetTextMetrics(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

void MixOver(TBitmap* B, TBitmap* ABehind, Byte AValue)
{
    auto own = TspEffectBmp::CreateFromhWnd(B->Handle());
    auto behind = TspEffectBmp::CreateFromhWnd(ABehind->Handle());
    own->Morph(*behind, 1.0 - AValue / 255.0);
    own->Draw(B->Canvas()->Handle(), 0, 0);
}
