// Writes skin-effects-strip.png: every hover transition at five steps of its progress, every picture effect of
// the effect buffer, and the blur and reflection of the skin bitmap, one labelled row each.
//   skin-effects-strip [output folder]
#include <png.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/canvas.h"
#include "skin/core/blit_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/skin_bitmap.h"

namespace {

constexpr Integer kCellW = 96, kCellH = 48, kGap = 6, kLabelW = 150;

// The normal look of a button: a blue vertical gradient with a light frame and a dark diagonal stripe.
void PaintNormal(TspEffectBmp& bmp)
{
    for (Integer y = 0; y < bmp.Height(); ++y)
        for (Integer x = 0; x < bmp.Width(); ++x) {
            Integer r = 30, g = 60 + y * 2, b = 140 + y * 2;
            if (x == 0 || y == 0 || x == bmp.Width() - 1 || y == bmp.Height() - 1) r = g = b = 220;
            if (std::abs((x - y * 2) % 24) < 3) r = g = b = 20;
            bmp.SetPixel(x, y, (r << 16) | (g << 8) | b);
        }
}

// The active look: warm orange with a white circle, so that every transition's direction can be read.
void PaintActive(TspEffectBmp& bmp)
{
    const double cx = bmp.Width() * 0.5, cy = bmp.Height() * 0.5;
    for (Integer y = 0; y < bmp.Height(); ++y)
        for (Integer x = 0; x < bmp.Width(); ++x) {
            const bool in_circle = std::hypot(x - cx, y - cy) < bmp.Height() * 0.35;
            const Integer r = in_circle ? 250 : 240, g = in_circle ? 250 : 140 - x / 2, b = in_circle ? 250 : 30;
            bmp.SetPixel(x, y, (r << 16) | (g << 8) | b);
        }
}

void Put(TspBitmap& sheet, const TspEffectBmp& bmp, Integer left, Integer top)
{
    for (Integer y = 0; y < bmp.Height(); ++y)
        for (Integer x = 0; x < bmp.Width(); ++x)
            sheet.SetPixel(left + x, top + y, 0xFF000000u | static_cast<TspColor>(bmp.GetPixel(x, y)));
}

struct Row {
    std::string label;
    std::vector<std::function<void(TspBitmap& sheet, Integer left, Integer top)>> cells;
};

Row TransitionRow(const std::string& label, TMorphKind kind, Integer w, Integer h)
{
    Row row{label, {}};
    for (const double kf : {0.0, 0.25, 0.5, 0.75, 1.0})
        row.cells.push_back([=](TspBitmap& sheet, Integer left, Integer top) {
            TspEffectBmp own(w, h), target(w, h);
            PaintNormal(own);
            PaintActive(target);
            own.MorphByKind(kind, target, kf);
            Put(sheet, own, left, top);
        });
    return row;
}

Row EffectRow(const std::string& label, std::vector<std::function<void(TspEffectBmp&)>> effects)
{
    Row row{label, {}};
    for (auto& effect : effects)
        row.cells.push_back([effect](TspBitmap& sheet, Integer left, Integer top) {
            TspEffectBmp bmp(kCellW, kCellH);
            PaintNormal(bmp);
            effect(bmp);
            Put(sheet, bmp, left, top);
        });
    return row;
}

// A circle mask: black inside (the masked shape), white outside.
TspEffectBmp CircleMask()
{
    TspEffectBmp mask(kCellW, kCellH);
    for (Integer y = 0; y < kCellH; ++y)
        for (Integer x = 0; x < kCellW; ++x)
            mask.SetPixel(x, y, std::hypot(x - kCellW / 2.0, y - kCellH / 2.0) < 18 ? 0 : 0xFFFFFF);
    return mask;
}

// The glow recipe of the skin: a solid shape, blurred, its intensity used as alpha of a colour over a backdrop.
void GlowCell(TspBitmap& sheet, Integer left, Integer top, Integer radius)
{
    TspBitmap shape, glow;
    shape.SetSize(kCellW, kCellH);
    shape.Clear(0xFF000000);
    shape.FillRect(Rect(30, 16, 66, 32), 0xFFFFFFFF);
    BlurBitmap(&shape, radius);
    glow.SetSize(kCellW, kCellH);
    glow.Clear(0xFF30C0FF);
    MaskToAlpha(&glow, &shape);
    glow.SetAlphaBlend(true);
    sheet.FillRect(Bounds(left, top, kCellW, kCellH), 0xFF202020);
    glow.Draw(&sheet, left, top);
}

void ReflectionCell(TspBitmap& sheet, Integer left, Integer top, void (TspBitmap::*reflect)())
{
    TspEffectBmp picture(kCellW, kCellH / 2);
    PaintActive(picture);
    TspBitmap upper, lower;
    upper.SetSize(kCellW, kCellH / 2);
    for (Integer y = 0; y < kCellH / 2; ++y)
        for (Integer x = 0; x < kCellW; ++x)
            upper.SetPixel(x, y, 0xFF000000u | static_cast<TspColor>(picture.GetPixel(x, y)));
    lower.Assign(&upper);
    (lower.*reflect)();
    lower.SetAlphaBlend(true);
    sheet.FillRect(Bounds(left, top, kCellW, kCellH), 0xFF404040);
    upper.Draw(&sheet, left, top);
    lower.Draw(&sheet, left, top + kCellH / 2);
}

bool WritePng(const TspBitmap& sheet, const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(sheet.Width()), static_cast<png_uint_32>(sheet.Height()), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);  // skin pixels are blue, green, red, alpha in memory
    for (Integer y = 0; y < sheet.Height(); ++y) png_write_row(png, reinterpret_cast<png_bytep>(sheet.GetScanLinePtr(y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    SkinEffectsUnitStart();
    const std::string folder = argc > 1 ? argv[1] : ".";
    const TspEffectBmp mask = CircleMask();

    std::vector<Row> rows = {
        TransitionRow("Morph (fade)", mkDefault, kCellW, kCellH),
        TransitionRow("MorphGrad (wide)", mkGradient, kCellW, kCellH),
        TransitionRow("MorphGrad (tall)", mkGradient, kCellH / 2, kCellH),
        TransitionRow("MorphLeftGrad", mkLeftGradient, kCellW, kCellH),
        TransitionRow("MorphRightGrad", mkRightGradient, kCellW, kCellH),
        TransitionRow("MorphLeftSlide", mkLeftSlide, kCellW, kCellH),
        TransitionRow("MorphRightSlide", mkRightSlide, kCellW, kCellH),
        TransitionRow("MorphPush", mkPush, kCellW, kCellH),
        EffectRow("Inactive looks", {[](auto& b) { b.ChangeBrightness(0.5); }, [](auto& b) { b.ChangeDarkness(0.3); },
                                     [](auto& b) { b.GrayScale(); }, [](auto& b) { b.AddMonoNoise(50); },
                                     [](auto& b) { b.SplitBlur(1); }, [](auto& b) { b.Invert(); }}),
        EffectRow("More effects", {[](auto& b) { b.AddColorNoise(60); }, [](auto& b) { b.SplitBlur(3); },
                                   [](auto& b) { b.Mosaic(6); }, [](auto& b) { b.Wave(6, 6, 3); },
                                   [](auto& b) {
                                       TspEffectBmp flipped(b.Width(), b.Height());
                                       b.FlipVert(flipped);
                                       b = std::move(flipped);
                                   }}),
        EffectRow("Mask effects", {[&](auto& b) { b.MaskFillColorRGB(mask, 0x0000FF, 0.6); },
                                   [&](auto& b) { b.MaskBlur(mask, 3); },
                                   [&](auto& b) { b.MaskAntialiasing(mask, 2); }}),
        Row{"Glow blur r=2,5,10", {[](auto& s, Integer l, Integer t) { GlowCell(s, l, t, 2); },
                                   [](auto& s, Integer l, Integer t) { GlowCell(s, l, t, 5); },
                                   [](auto& s, Integer l, Integer t) { GlowCell(s, l, t, 10); }}},
        Row{"Reflection 1,2,3", {[](auto& s, Integer l, Integer t) { ReflectionCell(s, l, t, &TspBitmap::Reflection); },
                                 [](auto& s, Integer l, Integer t) { ReflectionCell(s, l, t, &TspBitmap::Reflection2); },
                                 [](auto& s, Integer l, Integer t) { ReflectionCell(s, l, t, &TspBitmap::Reflection3); }}},
    };

    size_t columns = 0;
    for (const Row& row : rows) columns = std::max(columns, row.cells.size());
    TspBitmap sheet;
    sheet.SetSize(kLabelW + static_cast<Integer>(columns) * (kCellW + kGap) + kGap,
                  static_cast<Integer>(rows.size()) * (kCellH + kGap) + kGap);
    sheet.Clear(0xFFF0F0F0);
    TCanvas* canvas = sheet.Canvas();
    canvas->Font()->SetHeight(-12);
    canvas->Brush()->SetColor(0xF0F0F0);
    for (size_t r = 0; r < rows.size(); ++r) {
        const Integer top = kGap + static_cast<Integer>(r) * (kCellH + kGap);
        canvas->TextOut(kGap, top + kCellH / 2 - 7, rows[r].label);
        for (size_t c = 0; c < rows[r].cells.size(); ++c)
            rows[r].cells[c](sheet, kLabelW + static_cast<Integer>(c) * (kCellW + kGap), top);
    }
    sheet.SetAlpha(255);  // text drawn through the canvas leaves alpha 0, as the platform's drawing does

    const std::string path = folder + "/skin-effects-strip.png";
    if (!WritePng(sheet, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", path.c_str());
    return 0;
}
