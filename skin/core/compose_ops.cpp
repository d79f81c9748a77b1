#include "skin/core/compose_ops.h"

#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/core/rect_helpers.h"

namespace compose {

void CopyPart(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc) {
    if (IsEmptyRect(ADst) || IsEmptyRect(ASrc)) return;
    ADest->Canvas()->CopyRect(ADst, APicture->Canvas(), ASrc);
}

void StretchPart(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc) {
    if (IsEmptyRect(ADst) || IsEmptyRect(ASrc)) return;
    TBitmap part(ASrc.Right - ASrc.Left, ASrc.Bottom - ASrc.Top);
    part.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), APicture->Canvas(), ASrc);
    ADest->Canvas()->StretchDraw(ADst, &part);
}

void TileHorz(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc) {
    const Integer len = ASrc.Right - ASrc.Left;
    if (len <= 0) return;
    const Integer count = (ADst.Right - ADst.Left) / len;
    for (Integer i = 0; i <= count; ++i) {
        const Integer x = ADst.Left + i * len;
        const Integer cut = x + len > ADst.Right ? x + len - ADst.Right : 0;
        CopyPart(ADest, Rect(x, ADst.Top, x + len - cut, ADst.Bottom), APicture,
                 Rect(ASrc.Left, ASrc.Top, ASrc.Right - cut, ASrc.Bottom));
    }
}

void TileVert(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc) {
    const Integer len = ASrc.Bottom - ASrc.Top;
    if (len <= 0) return;
    const Integer count = (ADst.Bottom - ADst.Top) / len;
    for (Integer i = 0; i <= count; ++i) {
        const Integer y = ADst.Top + i * len;
        const Integer cut = y + len > ADst.Bottom ? y + len - ADst.Bottom : 0;
        CopyPart(ADest, Rect(ADst.Left, y, ADst.Right, y + len - cut), APicture,
                 Rect(ASrc.Left, ASrc.Top, ASrc.Right, ASrc.Bottom - cut));
    }
}

void TileBoth(TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc) {
    const Integer w = ASrc.Right - ASrc.Left;
    const Integer h = ASrc.Bottom - ASrc.Top;
    if (w <= 0 || h <= 0) return;
    for (Integer x = ADst.Left; x < ADst.Right; x += w) {
        const Integer tw = std::min(w, ADst.Right - x);
        for (Integer y = ADst.Top; y < ADst.Bottom; y += h) {
            const Integer th = std::min(h, ADst.Bottom - y);
            CopyPart(ADest, Rect(x, y, x + tw, y + th), APicture,
                     Rect(ASrc.Left, ASrc.Top, ASrc.Left + tw, ASrc.Top + th));
        }
    }
}

void EdgeHorz(bool AStretch, TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc) {
    if (AStretch)
        StretchPart(ADest, ADst, APicture, ASrc);
    else
        TileHorz(ADest, ADst, APicture, ASrc);
}

void EdgeVert(bool AStretch, TBitmap* ADest, const TRect& ADst, TBitmap* APicture, const TRect& ASrc) {
    if (AStretch)
        StretchPart(ADest, ADst, APicture, ASrc);
    else
        TileVert(ADest, ADst, APicture, ASrc);
}

}  // namespace compose
