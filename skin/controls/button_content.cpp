#include "skin/controls/button_content.h"

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"

Integer GlyphFrameOf(TspNumGlyphs ANumGlyphs, bool AEnabled, bool ADown, bool AMouseIn)
{
    if (ADown && AMouseIn && ANumGlyphs > 2) return 3;
    if (AMouseIn && ANumGlyphs > 3) return 4;
    if (!AEnabled && ANumGlyphs > 1) return 2;
    return 1;
}

void DrawButtonContent(TCanvas* ACanvas, const TRect& R, const TspButtonContent& AContent, bool AEnabled,
                       bool AShift, Integer AGlyphFrame, bool AColorMarker, TColor AMarkerColor)
{
    const WideString caption = Utf8ToWide(AContent.Caption);
    if (AContent.ImageList && AContent.ImageIndex >= 0 && AContent.ImageIndex < AContent.ImageList->Count()) {
        DrawListGlyphAndCaption(ACanvas, R, AContent.Margin, AContent.Spacing, AContent.Layout, caption,
                                AContent.ImageIndex, AContent.ImageList, AShift, AEnabled, AColorMarker,
                                AMarkerColor);
        return;
    }
    TBitmap* glyph = AContent.Glyph && !AContent.Glyph->Empty() ? AContent.Glyph : nullptr;
    DrawBitmapGlyphAndCaption(ACanvas, R, AContent.Margin, AContent.Spacing, AContent.Layout, caption, glyph,
                              AContent.NumGlyphs, AGlyphFrame, AShift, AColorMarker, AMarkerColor);
}
