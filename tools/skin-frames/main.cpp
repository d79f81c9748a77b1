// Writes PNG sheets of composed skin frames, built-in glyphs, glyph-and-caption layouts, glowing text and
// reflected text, so a reviewer can look at what the skin core draws.
//   skin-frames [output folder]   (default: the current folder)
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "skin/core/glow_effects.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/glyph_text.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_startup.h"

namespace {

bool Save(TBitmap& bmp, const std::filesystem::path& path) {
    std::vector<uint32_t> pixels(static_cast<size_t>(bmp.Width()) * bmp.Height());
    for (Integer y = 0; y < bmp.Height(); ++y)
        for (Integer x = 0; x < bmp.Width(); ++x)
            pixels[static_cast<size_t>(y) * bmp.Width() + x] = 0xFF000000u | PixelOfColor(bmp.Canvas()->Pixels(x, y));
    const bool ok = headless::WritePng(path.string(), pixels.data(), bmp.Width(), bmp.Height());
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.string().c_str());
    return ok;
}

void Sheet(TBitmap& bmp, Integer w, Integer h, TColor back) {
    bmp.SetSize(w, h);
    bmp.Canvas()->Brush()->SetColor(back);
    bmp.Canvas()->FillRect(Rect(0, 0, w, h));
    bmp.Canvas()->Font()->SetName("DejaVu Sans");
    bmp.Canvas()->Font()->SetHeight(-13);
}

// A 40 x 30 window-like element: a dark title band, bevelled sides, a patterned client area.
void MakeSkinPicture(TBitmap& pic) {
    Sheet(pic, 40, 30, static_cast<TColor>(0x604020));
    TCanvas* c = pic.Canvas();
    c->Brush()->SetColor(static_cast<TColor>(0xA06030));
    c->FillRect(Rect(0, 0, 40, 8));
    for (Integer x = 10; x < 30; x += 4) {
        c->Brush()->SetColor(static_cast<TColor>(0xC08040));
        c->FillRect(Rect(x, 2, x + 2, 6));
    }
    c->Brush()->SetColor(static_cast<TColor>(0x2020C0));
    c->FillRect(Rect(32, 2, 38, 6));
    c->Brush()->SetColor(static_cast<TColor>(0xF0F0F0));
    c->FillRect(Rect(4, 8, 36, 26));
    for (Integer y = 8; y < 26; y += 3)
        for (Integer x = 4 + (y / 3) % 2 * 3; x < 36; x += 6) c->SetPixels(x, y, static_cast<TColor>(0xC0C0C0));
    DrawFrame3D(c, Rect(0, 0, 40, 30), clWhite, clBlack);
}

void Frames(const std::filesystem::path& dir) {
    TBitmap pic, sheet;
    MakeSkinPicture(pic);
    Sheet(sheet, 460, 200, clWhite);
    const TPoint lt{10, 8}, rt{30, 8}, lb{10, 22}, rb{30, 22};
    const TRect cl{4, 8, 36, 26};
    Integer x = 10;
    const struct { Integer w, h; bool stretch; TspStretchType type; } sizes[] = {
        {40, 30, false, spstFull}, {120, 80, false, spstFull}, {260, 170, true, spstHorz}};
    for (const auto& s : sizes) {
        TBitmap frame;
        ComposeSkinImage(lt, rt, lb, rb, cl, lt, Point(s.w - 10, 8), Point(10, s.h - 8), Point(s.w - 10, s.h - 8),
                         Rect(4, 8, s.w - 4, s.h - 4), &frame, &pic, Rect(0, 0, 40, 30), s.w, s.h, true, false,
                         false, false, false, s.stretch, s.type);
        sheet.Canvas()->Draw(x, 10, &frame);
        x += s.w + 15;
    }
    Save(sheet, dir / "frames.png");
}

void Glyphs(const std::filesystem::path& dir) {
    TBitmap small, sheet;
    Sheet(small, 16 * 12, 16, clWhite);
    TCanvas* c = small.Canvas();
    const TColor ink = static_cast<TColor>(0x303030);
    for (Integer k = 1; k <= 4; ++k) DrawArrowGlyph(c, Rect(16 * (k - 1), 0, 16 * k, 16), ink, k);
    DrawDropDownGlyph(c, Rect(64, 0, 80, 16), ink);
    DrawCheckGlyph(c, 84, 4, ink);
    DrawRadioGlyph(c, 101, 5, ink);
    DrawCloseGlyph(c, 115, 3, ink);
    DrawMinimizeGlyph(c, 131, 3, ink);
    DrawMaximizeGlyph(c, 147, 3, ink);
    DrawRestoreGlyph(c, 163, 3, ink);
    DrawRollUpGlyph(c, 179, 3, ink);
    c->Font()->SetColor(ink);
    Sheet(sheet, small.Width() * 4, small.Height() * 4 + 40, clWhite);
    sheet.Canvas()->StretchDraw(Rect(0, 0, small.Width() * 4, small.Height() * 4), &small);
    sheet.Canvas()->Font()->SetColor(ink);
    DrawDottedFocusRect(sheet.Canvas(), Rect(8, 72, 200, 96));
    DrawTrayGlyph(sheet.Canvas(), 220, 78, ink);
    DrawSysMenuGlyph(sheet.Canvas(), 240, 78, ink);
    DrawRollDownGlyph(sheet.Canvas(), 260, 78, ink);
    Save(sheet, dir / "glyphs.png");
}

void MakeGlyph(TBitmap& glyph) {
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(static_cast<TColor>(0x2080E0));
    glyph.Canvas()->Ellipse(2, 2, 14, 14);
}

void Captions(const std::filesystem::path& dir) {
    TBitmap sheet, glyph;
    MakeGlyph(glyph);
    Sheet(sheet, 440, 100, static_cast<TColor>(0xE8E8E8));
    const TspButtonLayout layouts[] = {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom};
    for (int i = 0; i < 4; ++i) {
        const TRect r = Rect(10 + i * 105, 10, 105 + i * 105, 90);
        sheet.Canvas()->Brush()->SetColor(clWhite);
        sheet.Canvas()->Brush()->SetStyle(bsSolid);
        sheet.Canvas()->FillRect(r);
        DrawBitmapGlyphAndCaption(sheet.Canvas(), r, -1, 4, layouts[i], u"Convert", &glyph, 1, 1, false, true,
                                  clRed);
    }
    Save(sheet, dir / "captions.png");
}

void Glow(const std::filesystem::path& dir) {
    TBitmap sheet, glyph;
    MakeGlyph(glyph);
    Sheet(sheet, 420, 190, static_cast<TColor>(0x302820));
    TCanvas* c = sheet.Canvas();
    c->Font()->SetColor(clWhite);
    c->Font()->SetHeight(-18);
    DrawGlowText(c, Rect(20, 15, 200, 45), "Glowing text", 0, 0, static_cast<TColor>(0x00C0FF), 5);
    DrawThickGlowText(c, Rect(220, 15, 400, 45), "Thick glow", 0, 0, static_cast<TColor>(0xFF8000), 4);
    DrawCaptionGlowText(c, Rect(30, 75, 200, 100), u"Caption glow", 0, static_cast<TColor>(0x40FF40));
    DrawGlowBitmapGlyphAndCaption(c, Rect(220, 65, 400, 115), -1, 6, blGlyphLeft, u"Glyph", &glyph, 1, 1, false,
                                  false, clNone, static_cast<TColor>(0x00C0FF), 4);
    c->Font()->SetHeight(-22);
    DrawReflectedText(c, Rect(20, 130, 400, 160), "Reflected text", 0, 0, static_cast<TColor>(0xFFE0C0));
    Save(sheet, dir / "glow.png");
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path dir = argc > 1 ? argv[1] : ".";
    std::filesystem::create_directories(dir);
    headless::THeadlessBackend display;
    win::SetBackend(&display);
    SkinCoreStartUp();
    Frames(dir);
    Glyphs(dir);
    Captions(dir);
    Glow(dir);
    win::SetBackend(nullptr);
    return 0;
}
