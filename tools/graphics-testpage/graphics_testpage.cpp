// graphics-testpage [out.png]: one page with canvas shapes and text, bitmaps in several pixel formats and with a
// key colour, PNG pictures with alpha (plain and stretched), a JPEG saved and read back, and an image list drawn
// enabled and disabled. Every section is captioned with what it should show.
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/image_list.h"
#include "platform/gui/jpeg_image.h"
#include "platform/gui/png_format.h"
#include "platform/gui/png_image.h"

namespace {

constexpr Integer kPageWidth = 760;
constexpr Integer kPageHeight = 560;

void Caption(TCanvas* ACanvas, Integer AX, Integer AY, const std::string& AText)
{
    ACanvas->Font()->SetName("Tahoma");
    ACanvas->Font()->SetHeight(-12);
    ACanvas->Font()->SetStyle({fsBold});
    ACanvas->Font()->SetColor(clNavy);
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->TextOut(AX, AY, AText);
    ACanvas->Font()->SetStyle({});
    ACanvas->Font()->SetColor(clBlack);
}

void Checker(TCanvas* ACanvas, const TRect& ARect)
{
    for (Integer y = ARect.Top; y < ARect.Bottom; y += 8)
        for (Integer x = ARect.Left; x < ARect.Right; x += 8) {
            ACanvas->Brush()->SetColor(((x - ARect.Left) / 8 + (y - ARect.Top) / 8) % 2 ? clSilver : clWhite);
            ACanvas->FillRect(Rect(x, y, std::min(x + 8, ARect.Right), std::min(y + 8, ARect.Bottom)));
        }
}

void Shapes(TCanvas* c)
{
    Caption(c, 10, 8, "Canvas: rectangle, ellipse, lines, frame, pixels, inverted line");
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clYellow);
    c->Rectangle(10, 30, 70, 80);
    c->Brush()->SetColor(clAqua);
    c->Ellipse(80, 30, 150, 80);
    c->Pen()->SetColor(clRed);
    c->Pen()->SetWidth(3);
    c->MoveTo(160, 30);
    c->LineTo(220, 80);
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(clGreen);
    c->Polyline({Point(230, 80), Point(250, 30), Point(270, 80), Point(290, 30)});
    c->Brush()->SetColor(clPurple);
    c->FrameRect(Rect(300, 30, 350, 80));
    for (Integer i = 0; i < 40; ++i) c->SetPixels(360 + i, 30 + i, clBlue);
    c->Pen()->SetStyle(psDot);
    c->Pen()->SetColor(clBlack);
    c->MoveTo(410, 55);
    c->LineTo(480, 55);
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(490, 30, 540, 80));
    c->Pen()->SetMode(pmNot);
    c->MoveTo(485, 55);
    c->LineTo(545, 55);
    c->Pen()->SetMode(pmCopy);
}

void Text(TCanvas* c)
{
    Caption(c, 10, 92, "Canvas: fonts, styles and clipped text");
    struct Line { const char* face; Integer height; TFontStyles style; TColor color; };
    const Line lines[] = {{"Tahoma", -11, {}, clBlack},
                          {"Arial", -14, {fsBold}, clMaroon},
                          {"Times New Roman", -16, {fsItalic}, clNavy},
                          {"Courier New", -13, {fsUnderline}, clGreen},
                          {"Verdana", -12, {fsStrikeOut}, clGray}};
    Integer y = 112;
    for (const Line& l : lines) {
        c->Font()->SetName(l.face);
        c->Font()->SetHeight(l.height);
        c->Font()->SetStyle(l.style);
        c->Font()->SetColor(l.color);
        c->Brush()->SetStyle(bsClear);
        std::string text = std::string(l.face) + ": The quick brown fox jumps over the lazy dog";
        c->TextOut(10, y, text);
        y += c->TextHeight(text) + 2;
    }
    c->Font()->SetName("Tahoma");
    c->Font()->SetHeight(-11);
    c->Font()->SetStyle({});
    c->Font()->SetColor(clWhite);
    c->Brush()->SetColor(clTeal);
    c->TextRect(Rect(440, 112, 560, 130), 444, 114, "TextRect clips this long line here");
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->TextOut(440, 134, "TextWidth(\"Hello\") = " + std::to_string(c->TextWidth("Hello")));
}

std::unique_ptr<TBitmap> Gradient(Integer AWidth, Integer AHeight)
{
    auto b = std::make_unique<TBitmap>(AWidth, AHeight, pf24bit);
    for (Integer y = 0; y < AHeight; ++y) {
        auto* row = static_cast<uint8_t*>(b->ScanLine(y));
        for (Integer x = 0; x < AWidth; ++x) {
            row[3 * x] = uint8_t(255 * x / AWidth);
            row[3 * x + 1] = uint8_t(255 * y / AHeight);
            row[3 * x + 2] = uint8_t(255 - 255 * x / AWidth);
        }
    }
    return b;
}

// A 16 x 16 glyph on a magenta key: a filled circle with a dark outline and a white highlight.
void Glyph(TCanvas* c, Integer AX, TColor AColor)
{
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(AX, 0, AX + 16, 16));
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(AColor);
    c->Ellipse(AX + 1, 1, AX + 15, 15);
    c->SetPixels(AX + 5, 5, clWhite);
    c->SetPixels(AX + 6, 5, clWhite);
}

void Bitmaps(TCanvas* c)
{
    Caption(c, 10, 208, "Bitmaps: 24-bit, as 8-bit, as 1-bit, stretched x2, key colour magenta over a checker");
    auto gradient = Gradient(64, 48);
    c->Draw(10, 228, gradient.get());
    TBitmap eight;
    eight.Assign(gradient.get());
    eight.SetPixelFormat(pf8bit);
    c->Draw(84, 228, &eight);
    TBitmap mono;
    mono.Assign(gradient.get());
    mono.SetPixelFormat(pf1bit);
    c->Draw(158, 228, &mono);
    c->StretchDraw(Rect(232, 228, 360, 324), gradient.get());

    TBitmap glyph(16, 16, pf24bit);
    Glyph(glyph.Canvas(), 0, clRed);
    Checker(c, Rect(370, 228, 450, 276));
    c->Draw(378, 236, &glyph);
    glyph.SetTransparent(true);
    c->Draw(410, 236, &glyph);
    c->StretchDraw(Rect(370 + 40, 244, 370 + 72, 276), &glyph);
}

std::unique_ptr<TPngImage> AlphaDisc(Integer ASize)
{
    auto png = std::make_unique<TPngImage>();
    png->CreateBlank(COLOR_RGBALPHA, 8, Cardinal(ASize), Cardinal(ASize));
    double r = ASize / 2.0;
    for (Integer y = 0; y < ASize; ++y) {
        uint8_t* row = png->Scanline(y);
        uint8_t* alpha = png->AlphaScanline(y);
        for (Integer x = 0; x < ASize; ++x) {
            double d = std::hypot(x + 0.5 - r, y + 0.5 - r) / r;
            row[3 * x] = uint8_t(255 * x / ASize);
            row[3 * x + 1] = 60;
            row[3 * x + 2] = uint8_t(255 - 255 * y / ASize);
            // Solid in the middle, fading out over the outer third.
            alpha[x] = d >= 1 ? 0 : d <= 0.66 ? 255 : uint8_t(255 * (1 - d) / 0.34);
        }
    }
    return png;
}

void Pngs(TCanvas* c)
{
    Caption(c, 10, 334, "PNG: alpha 1:1 and x2; palette with tRNS; grey+alpha");
    Checker(c, Rect(10, 354, 250, 450));
    auto disc = AlphaDisc(40);
    c->Draw(20, 360, disc.get());
    c->StretchDraw(Rect(80, 360, 160, 440), disc.get());

    // A palette picture whose entry 1 is fully transparent (a one-colour transparency), saved and read back.
    TPngPixels pixels;
    pixels.Width = pixels.Height = 32;
    pixels.ColorType = COLOR_PALETTE;
    pixels.BitDepth = 2;
    pixels.Palette = {0xC00000, 0x00FF00, 0x0000C0};
    pixels.PaletteAlpha = {255, 0, 255};
    pixels.Allocate();
    for (Integer y = 0; y < 32; ++y)
        for (Integer x = 0; x < 32; x += 4) {
            unsigned i = (x / 8 + y / 8) % 2 ? 1 : (y < 16 ? 0 : 2);
            pixels.Data[size_t(y) * pixels.RowBytes + x / 4] = uint8_t(i * 0x55);
        }
    std::vector<uint8_t> file = WritePng(pixels);
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.SetPosition(0);
    TPngImage palette;
    palette.LoadFromStream(&stream);
    c->Draw(170, 360, &palette);

    TPngImage grey;
    grey.CreateBlank(COLOR_GRAYSCALEALPHA, 8, 32, 32);
    for (Integer y = 0; y < 32; ++y)
        for (Integer x = 0; x < 32; ++x) {
            grey.Scanline(y)[x] = uint8_t(x * 8);
            grey.AlphaScanline(y)[x] = uint8_t(y * 8);
        }
    c->Draw(210, 360, &grey);
}

void Jpeg(TCanvas* c)
{
    Caption(c, 400, 334, "JPEG: quality 90 and 5, saved and read");
    auto gradient = Gradient(96, 64);
    gradient->Canvas()->Brush()->SetStyle(bsClear);
    gradient->Canvas()->Font()->SetColor(clWhite);
    gradient->Canvas()->Font()->SetHeight(-16);
    gradient->Canvas()->Font()->SetStyle({fsBold});
    gradient->Canvas()->TextOut(8, 22, "JPEG");
    Integer x = 400;
    for (Integer quality : {90, 5}) {
        TJPEGImage jpeg;
        jpeg.Assign(gradient.get());
        jpeg.SetCompressionQuality(quality);
        TMemoryStream stream;
        jpeg.SaveToStream(&stream);
        stream.SetPosition(0);
        TJPEGImage back;
        back.LoadFromStream(&stream);
        c->Draw(x, 354, &back);
        x += 106;
    }
}

void ImageList(TCanvas* c)
{
    Caption(c, 10, 460, "Image list: four glyphs enabled, disabled, and with a background colour");
    TBitmap strip(64, 16, pf24bit);
    const TColor colours[] = {clRed, clLime, clBlue, clYellow};
    for (Integer i = 0; i < 4; ++i) Glyph(strip.Canvas(), i * 16, colours[i]);
    TImageList list(nullptr, 16, 16);
    list.AddMasked(&strip, clFuchsia);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(10, 480, 300, 540));
    for (Integer i = 0; i < list.Count(); ++i) {
        list.Draw(c, 20 + i * 24, 486, i, true);
        list.Draw(c, 20 + i * 24, 512, i, false);
    }
    list.SetBkColor(clWhite);
    for (Integer i = 0; i < list.Count(); ++i) list.Draw(c, 140 + i * 24, 486, i, true);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string out = argc > 1 ? argv[1] : "graphics-testpage.png";
    try {
        TBitmap page(kPageWidth, kPageHeight, pf24bit);
        TCanvas* c = page.Canvas();
        c->Brush()->SetColor(TColor(0xF4F4F4));
        c->FillRect(Rect(0, 0, kPageWidth, kPageHeight));
        Shapes(c);
        Text(c);
        Bitmaps(c);
        Pngs(c);
        Jpeg(c);
        ImageList(c);
        TPngImage png;
        png.Assign(&page);
        png.SaveToFile(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "graphics-testpage: %s\n", e.what());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}
