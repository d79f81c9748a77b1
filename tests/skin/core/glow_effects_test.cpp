#include "skin/core/glow_effects.h"

#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "skin/core/skin_bitmap.h"

namespace {

TBitmap* WhiteBitmap(TBitmap& b, Integer w, Integer h) {
    b.SetSize(w, h);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, w, h));
    b.Canvas()->Font()->SetName("DejaVu Sans");
    b.Canvas()->Font()->SetHeight(-14);
    b.Canvas()->Font()->SetColor(clBlack);
    return &b;
}

TEST(GlowEffects, SilhouetteIsRedWhereTheGlyphDiffersFromItsBackground)
{
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush()->SetColor(clWhite);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->SetPixels(2, 2, clBlue);
    TspBitmap s;
    s.SetSize(10, 10);
    s.Clear(0);
    DrawBitmapGlyphSilhouette(&s, &glyph, 3);
    // Drawn at the offset and one pixel up-left and down-right of it.
    for (Integer d : {-1, 0, 1}) EXPECT_EQ((s.GetPixel(5 + d, 5 + d) >> 16) & 0xFF, 255u) << d;
    EXPECT_EQ(s.GetPixel(4, 6) & 0xFFFFFF, 0u);
    EXPECT_EQ(s.GetPixel(3, 3) & 0xFFFFFF, 0u);
}

TEST(GlowEffects, GlowSurroundsTheGlyphInItsColourOnlyAroundTheDrawnFrame)
{
    TBitmap glyph(16, 8);  // two frames: the first has a dot, the second is plain
    glyph.Canvas()->Brush()->SetColor(clWhite);
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 8));
    glyph.Canvas()->Brush()->SetColor(clBlack);
    glyph.Canvas()->FillRect(Rect(3, 3, 5, 5));
    for (Integer frame : {1, 2}) {
        TBitmap dest;
        WhiteBitmap(dest, 40, 40);
        DrawGlowBitmapGlyphAndCaption(dest.Canvas(), Rect(0, 0, 40, 40), -1, 0, blGlyphLeft, u"", &glyph, 2, frame,
                                      false, false, clBlack, clRed, 3);
        // The glyph frame lies at (16, 16); its dot at (19..20, 19..20); a pixel beside the dot glows red.
        const TColor beside = dest.Canvas()->Pixels(17, 19);
        if (frame == 1) {
            EXPECT_EQ(dest.Canvas()->Pixels(19, 19), clBlack);
            EXPECT_EQ(beside & 0xFF, 0xFFu);
            EXPECT_LT((beside >> 8) & 0xFF, 0xFFu);
        } else {
            EXPECT_EQ(beside, clWhite);
        }
    }
}

TEST(GlowEffects, EmptyTextChangesNothingAndReflectionStartsUnderTheText)
{
    TBitmap dest;
    WhiteBitmap(dest, 120, 60);
    DrawGlowText(dest.Canvas(), Rect(10, 10, 110, 30), "", 0, 0, clRed, 4);
    for (Integer y = 0; y < 60; y += 3)
        for (Integer x = 0; x < 120; x += 3) ASSERT_EQ(dest.Canvas()->Pixels(x, y), clWhite);

    DrawReflectedText(dest.Canvas(), Rect(10, 5, 110, 25), "HHHH", 0, 0, clBlue);
    // The mirror axis is the bottom of the text's line: ink row y shows again at row 2 * bottom - 1 - y, strongest
    // next to the text and fading away from it.
    const Integer lineBottom = 5 + dest.Canvas()->TextHeight("HHHH");
    Integer firstInk = -1, lastInk = -1;
    for (Integer y = 5; y < 25; ++y)
        for (Integer x = 10; x < 60; ++x)
            if (dest.Canvas()->Pixels(x, y) == clBlack) (firstInk < 0 ? firstInk : lastInk) = y;
    ASSERT_GT(lastInk, firstInk);
    auto blueness = [&](Integer y) {
        Integer best = 0;
        for (Integer x = 10; x < 60; ++x) {
            const TColor c = dest.Canvas()->Pixels(x, y);
            best = std::max<Integer>(best, static_cast<Integer>((c >> 16) & 0xFF) - static_cast<Integer>(c & 0xFF));
        }
        return best;
    };
    EXPECT_EQ(blueness(2 * lineBottom - 1 - lastInk - 1), 0);
    EXPECT_GT(blueness(2 * lineBottom - 1 - lastInk), 100);
    EXPECT_GT(blueness(2 * lineBottom - 1 - lastInk), 3 * blueness(2 * lineBottom - 1 - firstInk));
}

}  // namespace
