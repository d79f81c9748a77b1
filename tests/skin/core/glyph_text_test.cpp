#include "skin/core/glyph_text.h"

#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"

namespace {

TEST(GlyphText, LayoutTable)
{
    const TRect r{0, 0, 100, 20};
    const struct {
        TspButtonLayout layout;
        Integer gw, gh, margin;
        Integer tx, ty, gx, gy;
    } cases[] = {
        {blGlyphLeft, 16, 16, -1, 40, 4, 20, 2},
        {blGlyphRight, 16, 16, -1, 20, 4, 64, 2},
        {blGlyphTop, 16, 16, -1, 30, 13, 42, -6},
        {blGlyphBottom, 16, 16, -1, 30, -6, 42, 10},
        {blGlyphLeft, 16, 16, 3, 23, 4, 3, 2},
        {blGlyphRight, 16, 16, 3, 37, 4, 81, 2},
        {blGlyphTop, 16, 16, 3, 30, 23, 42, 3},
        {blGlyphBottom, 16, 16, 3, 30, -16, 42, 1},
        // No glyph: the spacing counts as 0 and a centred text lands at CX - TextWidth div 2.
        {blGlyphLeft, 0, 0, -1, 30, 4, 30, 10},
    };
    for (const auto& c : cases) {
        Integer tx = -99, ty = -99, gx = -99, gy = -99;
        CalcGlyphLayout(c.layout, r, c.gw, c.gh, 40, 13, 4, c.margin, tx, ty, gx, gy);
        EXPECT_EQ(tx, c.tx) << c.layout << " margin " << c.margin;
        EXPECT_EQ(ty, c.ty) << c.layout << " margin " << c.margin;
        EXPECT_EQ(gx, c.gx) << c.layout << " margin " << c.margin;
        EXPECT_EQ(gy, c.gy) << c.layout << " margin " << c.margin;
    }
}

class GlyphTextFont : public ::testing::Test {
protected:
    void SetUp() override {
        Bmp.SetSize(200, 60);
        Bmp.Canvas()->Font()->SetName("DejaVu Sans");
        Bmp.Canvas()->Font()->SetHeight(-12);
        Bmp.Canvas()->Brush()->SetColor(clWhite);
        Bmp.Canvas()->FillRect(Rect(0, 0, 200, 60));
    }
    TBitmap Bmp;
};

TEST_F(GlyphTextFont, MeasuringAndShorteningWithEllipsis)
{
    TCanvas* c = Bmp.Canvas();
    const WideString text = u"Convert \u00e9l\u00e8ves";
    EXPECT_EQ(WideTextWidth(c, text), c->TextWidth(WideToUtf8(text)));
    EXPECT_EQ(WideTextHeight(c, text), c->TextHeight("Xg"));
    EXPECT_EQ(WideToUtf8(Utf8ToWide("a\xc3\xa9\xf0\x9f\x98\x80")), "a\xc3\xa9\xf0\x9f\x98\x80");

    const struct { std::string text; Integer max; std::string expected; } cases[] = {
        {"Short", 1000, "Short"},
        {"", 0, ""},
        {"Nothing fits", 1, "..."},
    };
    for (const auto& k : cases) {
        std::string s = k.text;
        TruncateWithEllipsis(c, s, k.max);
        EXPECT_EQ(s, k.expected);
    }
    // A middle width keeps the longest prefix that fits with the dots, cut between whole characters.
    std::string s = "\xc3\xa9t\xc3\xa9 \xc3\xa9t\xc3\xa9 \xc3\xa9t\xc3\xa9";
    const Integer max = c->TextWidth("\xc3\xa9t\xc3\xa9 ...");
    TruncateWithEllipsis(c, s, max);
    EXPECT_EQ(s, "\xc3\xa9t\xc3\xa9 ...");
    WideString w = u"\u00e9t\u00e9 \u00e9t\u00e9 \u00e9t\u00e9";
    TruncateWideWithEllipsis(c, w, max);
    EXPECT_EQ(w, u"\u00e9t\u00e9 ...");
}

TEST_F(GlyphTextFont, CaptionWithoutAGlyphIsLaidOutAloneAndMarkersSitUnderIt)
{
    TCustomImageList list(nullptr, 16, 16);
    TBitmap img(16, 16);
    img.Canvas()->Brush()->SetColor(clBlue);
    img.Canvas()->FillRect(Rect(0, 0, 16, 16));
    list.Add(&img, nullptr);
    TCanvas* c = Bmp.Canvas();
    c->Font()->SetColor(clBlack);
    const TRect r{0, 0, 200, 60};
    // Index equal to the count: no glyph, the caption is centred alone.
    DrawListGlyphAndCaption(c, r, -1, 4, blGlyphLeft, u"OK", 1, &list, false, true, true, clRed);
    const TGlyphCaptionPlan p = PlanGlyphAndCaption(c, r, -1, 4, blGlyphLeft, u"OK", 0, 0, false);
    EXPECT_EQ(p.TextX, 100 + p.TextW / 2 - p.TextW);
    for (Integer x = p.TextX; x < p.TextX + p.TextW + 2; ++x) EXPECT_EQ(c->Pixels(x, p.TextY + p.TextH), clRed) << x;
    Integer blue = 0;
    for (Integer y = 0; y < 60; ++y)
        for (Integer x = 0; x < 200; ++x) blue += c->Pixels(x, y) == clBlue;
    EXPECT_EQ(blue, 0);

    // With the glyph at index 0 it is drawn left of the caption, the marker under the glyph.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clWhite);
    c->FillRect(r);
    DrawListGlyphAndCaption(c, r, -1, 4, blGlyphLeft, u"OK", 0, &list, false, true, true, clRed);
    const TGlyphCaptionPlan g = PlanGlyphAndCaption(c, r, -1, 4, blGlyphLeft, u"OK", 16, 16, false);
    EXPECT_EQ(c->Pixels(g.GlyphX + 1, g.GlyphY + 1), clBlue);
    EXPECT_EQ(c->Pixels(g.GlyphX + 1, g.GlyphY + 15), clRed);
    EXPECT_EQ(c->Pixels(g.GlyphX + 1, g.GlyphY + 13), clBlue);
}

TEST(GlyphText, StripFrameCopiesItsColumnsAndKeysTheBottomLeftColour)
{
    TBitmap strip(64, 4);
    for (Integer f = 0; f < 4; ++f) {
        strip.Canvas()->Brush()->SetColor(static_cast<TColor>(0x102030 * (f + 1)));
        strip.Canvas()->FillRect(Rect(16 * f, 0, 16 * f + 16, 4));
    }
    strip.Canvas()->SetPixels(16, 3, clLime);  // bottom-left of frame 2: its transparent colour
    strip.Canvas()->SetPixels(20, 3, clLime);
    TBitmap dest(20, 4);
    dest.Canvas()->Brush()->SetColor(clWhite);
    dest.Canvas()->FillRect(Rect(0, 0, 20, 4));
    DrawGlyphStripFrame(dest.Canvas(), 2, 0, &strip, 4, 2);
    EXPECT_EQ(dest.Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(dest.Canvas()->Pixels(2, 0), static_cast<TColor>(0x102030 * 2));
    EXPECT_EQ(dest.Canvas()->Pixels(17, 0), static_cast<TColor>(0x102030 * 2));
    EXPECT_EQ(dest.Canvas()->Pixels(18, 0), clWhite);
    EXPECT_EQ(dest.Canvas()->Pixels(2, 3), clWhite);
    EXPECT_EQ(dest.Canvas()->Pixels(6, 3), clWhite);
}

}  // namespace
