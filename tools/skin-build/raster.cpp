#include "raster.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/sysutils.h"

namespace {

uint32_t Premultiplied(uint32_t AColour, uint8_t AAlpha)
{
    auto part = [&](int AShift) { return (((AColour >> AShift) & 0xFF) * AAlpha + 127) / 255; };
    return uint32_t(AAlpha) << 24 | part(16) << 16 | part(8) << 8 | part(0);
}

pixman_color_t PixmanColour(uint32_t AColour, uint8_t AAlpha)
{
    auto wide = [&](int AShift) { return uint16_t(((AColour >> AShift) & 0xFF) * AAlpha / 255 * 257); };
    return {wide(16), wide(8), wide(0), uint16_t(AAlpha * 257)};
}

// Signed distance from a point to a rounded box given by its centre, half size and radius.
float RoundBoxDistance(float APx, float APy, float ACx, float ACy, float AHalfW, float AHalfH, float ARadius)
{
    const float qx = std::fabs(APx - ACx) - (AHalfW - ARadius);
    const float qy = std::fabs(APy - ACy) - (AHalfH - ARadius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - ARadius;
}

float SegmentDistance(float APx, float APy, float AX0, float AY0, float AX1, float AY1)
{
    const float dx = AX1 - AX0, dy = AY1 - AY0;
    const float length = dx * dx + dy * dy;
    float t = length > 0 ? ((APx - AX0) * dx + (APy - AY0) * dy) / length : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(APx - (AX0 + t * dx), APy - (AY0 + t * dy));
}

// A text drawn white on black by the platform; its red channel is the coverage.
std::unique_ptr<TBitmap> TextPicture(const std::string& AText, const std::string& AFont, int AHeight, bool ABold,
                                     TSize* AExtent)
{
    auto bitmap = std::make_unique<TBitmap>(1, 1, pf24bit);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Font()->SetName(AFont);
    canvas->Font()->SetHeight(-AHeight);
    TFontStyles styles;
    if (ABold) styles.Include(fsBold);
    canvas->Font()->SetStyle(styles);
    const TSize extent = canvas->TextExtent(AText);
    *AExtent = extent;
    bitmap->SetSize(std::max<Integer>(extent.cx, 1), std::max<Integer>(extent.cy, 1));
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(clWhite);
    canvas->TextOut(0, 0, AText);
    return bitmap;
}

}  // namespace

TRaster::TRaster(int AWidth, int AHeight, uint32_t AColour, uint8_t AAlpha)
    : FWidth(AWidth), FHeight(AHeight), FPixels(size_t(AWidth) * AHeight, Premultiplied(AColour, AAlpha))
{
    if (AWidth <= 0 || AHeight <= 0) throw std::runtime_error("a picture needs a positive size");
    FImage = pixman_image_create_bits(PIXMAN_a8r8g8b8, AWidth, AHeight, FPixels.data(), AWidth * 4);
}

TRaster::~TRaster() { pixman_image_unref(FImage); }

void TRaster::Fill(int ALeft, int ATop, int ARight, int ABottom, uint32_t AColour, uint8_t AAlpha)
{
    const uint32_t value = Premultiplied(AColour, AAlpha);
    for (int y = std::max(ATop, 0); y < std::min(ABottom, FHeight); ++y)
        for (int x = std::max(ALeft, 0); x < std::min(ARight, FWidth); ++x) FPixels[size_t(y) * FWidth + x] = value;
}

void TRaster::Composite(const std::vector<uint8_t>& ACoverage, int ALeft, int ATop, int AWidth, int AHeight,
                        float APaintTop, float APaintBottom, const TPaint& APaint)
{
    const int stride = (AWidth + 3) & ~3;
    std::vector<uint8_t> rows(size_t(stride) * AHeight, 0);
    for (int y = 0; y < AHeight; ++y)
        std::copy_n(&ACoverage[size_t(y) * AWidth], AWidth, &rows[size_t(y) * stride]);
    pixman_image_t* mask = pixman_image_create_bits(PIXMAN_a8, AWidth, AHeight,
                                                    reinterpret_cast<uint32_t*>(rows.data()), stride);
    pixman_image_t* source;
    if (APaint.Top == APaint.Bottom) {
        const pixman_color_t colour = PixmanColour(APaint.Top, APaint.Alpha);
        source = pixman_image_create_solid_fill(&colour);
    } else {
        // The gradient runs in destination coordinates, so the source is offset with the mask below.
        const pixman_point_fixed_t from{pixman_double_to_fixed(0), pixman_double_to_fixed(APaintTop)};
        const pixman_point_fixed_t to{pixman_double_to_fixed(0), pixman_double_to_fixed(APaintBottom)};
        const pixman_gradient_stop_t stops[2] = {{pixman_double_to_fixed(0), PixmanColour(APaint.Top, APaint.Alpha)},
                                                 {pixman_double_to_fixed(1), PixmanColour(APaint.Bottom, APaint.Alpha)}};
        source = pixman_image_create_linear_gradient(&from, &to, stops, 2);
        pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
    }
    pixman_image_composite32(PIXMAN_OP_OVER, source, mask, FImage, ALeft, ATop, 0, 0, ALeft, ATop, AWidth, AHeight);
    pixman_image_unref(source);
    pixman_image_unref(mask);
}

template <typename TDistance>
void TRaster::FillByDistance(float ALeft, float ATop, float ARight, float ABottom, const TPaint& APaint,
                             TDistance ADistance)
{
    const int left = std::max(0, int(std::floor(ALeft)) - 1), top = std::max(0, int(std::floor(ATop)) - 1);
    const int right = std::min(FWidth, int(std::ceil(ARight)) + 1);
    const int bottom = std::min(FHeight, int(std::ceil(ABottom)) + 1);
    if (right <= left || bottom <= top) return;
    const int width = right - left, height = bottom - top;
    std::vector<uint8_t> coverage(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Coverage from the distance at the pixel's centre: a one-pixel ramp across the edge.
            const float d = ADistance(left + x + 0.5f, top + y + 0.5f);
            coverage[size_t(y) * width + x] = uint8_t(std::lround(std::clamp(0.5f - d, 0.0f, 1.0f) * 255));
        }
    Composite(coverage, left, top, width, height, ATop, ABottom, APaint);
}

void TRaster::RoundBox(float ALeft, float ATop, float ARight, float ABottom, float ARadius, const TPaint& APaint)
{
    const float cx = (ALeft + ARight) / 2, cy = (ATop + ABottom) / 2;
    const float hw = (ARight - ALeft) / 2, hh = (ABottom - ATop) / 2;
    const float radius = std::min({ARadius, hw, hh});
    FillByDistance(ALeft, ATop, ARight, ABottom, APaint,
                   [=](float x, float y) { return RoundBoxDistance(x, y, cx, cy, hw, hh, radius); });
}

void TRaster::RoundFrame(float ALeft, float ATop, float ARight, float ABottom, float ARadius, float AWidth,
                         const TPaint& APaint)
{
    const float cx = (ALeft + ARight) / 2, cy = (ATop + ABottom) / 2;
    const float hw = (ARight - ALeft) / 2, hh = (ABottom - ATop) / 2;
    const float radius = std::min({ARadius, hw, hh});
    const float inner = std::max(radius - AWidth, 0.0f);
    FillByDistance(ALeft, ATop, ARight, ABottom, APaint, [=](float x, float y) {
        const float outer = RoundBoxDistance(x, y, cx, cy, hw, hh, radius);
        const float hole = RoundBoxDistance(x, y, cx, cy, hw - AWidth, hh - AWidth, inner);
        return std::max(outer, -hole);
    });
}

void TRaster::Disc(float ACx, float ACy, float ARadius, const TPaint& APaint)
{
    FillByDistance(ACx - ARadius, ACy - ARadius, ACx + ARadius, ACy + ARadius, APaint,
                   [=](float x, float y) { return std::hypot(x - ACx, y - ACy) - ARadius; });
}

void TRaster::Ring(float ACx, float ACy, float ARadius, float AWidth, const TPaint& APaint)
{
    FillByDistance(ACx - ARadius, ACy - ARadius, ACx + ARadius, ACy + ARadius, APaint, [=](float x, float y) {
        return std::fabs(std::hypot(x - ACx, y - ACy) - (ARadius - AWidth / 2)) - AWidth / 2;
    });
}

void TRaster::Line(float AX0, float AY0, float AX1, float AY1, float AWidth, const TPaint& APaint)
{
    const float half = AWidth / 2;
    FillByDistance(std::min(AX0, AX1) - half, std::min(AY0, AY1) - half, std::max(AX0, AX1) + half,
                   std::max(AY0, AY1) + half, APaint,
                   [=](float x, float y) { return SegmentDistance(x, y, AX0, AY0, AX1, AY1) - half; });
}

void TRaster::Polyline(const std::vector<TPointF>& APoints, float AWidth, const TPaint& APaint)
{
    if (APoints.empty()) return;
    float left = APoints[0].X, top = APoints[0].Y, right = left, bottom = top;
    for (const TPointF& p : APoints) {
        left = std::min(left, p.X), right = std::max(right, p.X);
        top = std::min(top, p.Y), bottom = std::max(bottom, p.Y);
    }
    const float half = AWidth / 2;
    FillByDistance(left - half, top - half, right + half, bottom + half, APaint, [&](float x, float y) {
        float best = 1e9f;
        for (size_t i = 0; i + 1 < APoints.size(); ++i)
            best = std::min(best, SegmentDistance(x, y, APoints[i].X, APoints[i].Y, APoints[i + 1].X,
                                                  APoints[i + 1].Y));
        return best - half;
    });
}

void TRaster::Polygon(const std::vector<TPointF>& APoints, const TPaint& APaint)
{
    if (APoints.size() < 3) return;
    float minX = APoints[0].X, maxX = minX, minY = APoints[0].Y, maxY = minY;
    for (const TPointF& p : APoints) {
        minX = std::min(minX, p.X), maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
    }
    const int left = std::max(0, int(std::floor(minX))), top = std::max(0, int(std::floor(minY)));
    const int right = std::min(FWidth, int(std::ceil(maxX))), bottom = std::min(FHeight, int(std::ceil(maxY)));
    if (right <= left || bottom <= top) return;
    const int width = right - left, height = bottom - top;
    constexpr int kSamples = 4;
    auto inside = [&](float px, float py) {
        int winding = 0;
        for (size_t i = 0, j = APoints.size() - 1; i < APoints.size(); j = i++) {
            const TPointF &a = APoints[j], &b = APoints[i];
            const float cross = (b.X - a.X) * (py - a.Y) - (px - a.X) * (b.Y - a.Y);
            if (a.Y <= py && b.Y > py && cross > 0) ++winding;
            else if (a.Y > py && b.Y <= py && cross < 0) --winding;
        }
        return winding != 0;
    };
    std::vector<uint8_t> coverage(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    hits += inside(left + x + (sx + 0.5f) / kSamples, top + y + (sy + 0.5f) / kSamples);
            coverage[size_t(y) * width + x] = uint8_t(hits * 255 / (kSamples * kSamples));
        }
    Composite(coverage, left, top, width, height, minY, maxY, APaint);
}

int TRaster::TextWidth(const std::string& AText, const std::string& AFont, int AHeight, bool ABold)
{
    TSize extent;
    TextPicture(AText, AFont, AHeight, ABold, &extent);
    return extent.cx;
}

void TRaster::Text(int AX, int AY, const std::string& AText, const std::string& AFont, int AHeight, bool ABold,
                   uint32_t AColour)
{
    TSize extent;
    auto picture = TextPicture(AText, AFont, AHeight, ABold, &extent);
    const int left = std::max(AX, 0), top = std::max(AY, 0);
    const int right = std::min(FWidth, AX + int(extent.cx)), bottom = std::min(FHeight, AY + int(extent.cy));
    if (right <= left || bottom <= top) return;
    const int width = right - left, height = bottom - top;
    std::vector<uint8_t> coverage(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const uint8_t*>(picture->ScanLine(top - AY + y));
        for (int x = 0; x < width; ++x) coverage[size_t(y) * width + x] = row[(left - AX + x) * 3 + 2];
    }
    Composite(coverage, left, top, width, height, 0, 0, TPaint::Flat(AColour));
}

void TRaster::Draw(const TRaster& ASource, int ASourceX, int ASourceY, int AWidth, int AHeight, int ADestX,
                   int ADestY)
{
    pixman_image_composite32(PIXMAN_OP_OVER, ASource.FImage, nullptr, FImage, ASourceX, ASourceY, 0, 0, ADestX,
                             ADestY, AWidth, AHeight);
}

void TRaster::DrawScaled(const TRaster& ASource, int ASourceX, int ASourceY, int AWidth, int AHeight, int ADestX,
                         int ADestY, int AFactor)
{
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_double_to_fixed(1.0 / AFactor), pixman_double_to_fixed(1.0 / AFactor));
    pixman_image_set_transform(ASource.FImage, &scale);
    pixman_image_set_filter(ASource.FImage, PIXMAN_FILTER_NEAREST, nullptr, 0);
    pixman_image_composite32(PIXMAN_OP_OVER, ASource.FImage, nullptr, FImage, ASourceX * AFactor,
                             ASourceY * AFactor, 0, 0, ADestX, ADestY, AWidth * AFactor, AHeight * AFactor);
    pixman_image_set_transform(ASource.FImage, nullptr);
}

uint8_t TRaster::AlphaAt(int AX, int AY) const { return FPixels[size_t(AY) * FWidth + AX] >> 24; }

uint32_t TRaster::ColourAt(int AX, int AY) const
{
    const uint32_t p = FPixels[size_t(AY) * FWidth + AX];
    const uint32_t alpha = p >> 24;
    if (alpha == 0) return 0;
    auto part = [&](int AShift) { return std::min<uint32_t>(255, (((p >> AShift) & 0xFF) * 255 + alpha / 2) / alpha); };
    return part(16) << 16 | part(8) << 8 | part(0);
}

void TRaster::SaveBmp(const std::string& AFileName, uint32_t AMatte, int AHeight) const
{
    const int height = AHeight < 0 ? FHeight : std::min(AHeight, FHeight);
    TBitmap bitmap(FWidth, height, pf24bit);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < FWidth; ++x) {
            const uint32_t p = FPixels[size_t(y) * FWidth + x];
            const uint32_t rest = 255 - (p >> 24);
            auto channel = [&](int AShift) {
                return uint8_t(((p >> AShift) & 0xFF) + (((AMatte >> AShift) & 0xFF) * rest + 127) / 255);
            };
            row[x * 3] = channel(0), row[x * 3 + 1] = channel(8), row[x * 3 + 2] = channel(16);
        }
    }
    bitmap.SaveToFile(AFileName);
}

void TRaster::SavePng(const std::string& AFileName, int AHeight) const
{
    const int height = AHeight < 0 ? FHeight : std::min(AHeight, FHeight);
    TPngImage png;
    png.CreateBlank(COLOR_RGBALPHA, 8, FWidth, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = png.Scanline(y);
        uint8_t* alpha = png.AlphaScanline(y);
        for (int x = 0; x < FWidth; ++x) {
            const uint32_t colour = ColourAt(x, y);
            row[x * 3] = colour & 0xFF, row[x * 3 + 1] = (colour >> 8) & 0xFF, row[x * 3 + 2] = colour >> 16;
            alpha[x] = AlphaAt(x, y);
        }
    }
    png.SaveToFile(AFileName);
}

std::unique_ptr<TRaster> TRaster::Load(const std::string& AFileName)
{
    const std::string ext = LowerCase(ExtractFileExt(AFileName));
    if (ext == ".png") {
        TPngImage png;
        png.LoadFromFile(AFileName);
        auto raster = std::make_unique<TRaster>(png.Width(), png.Height());
        std::vector<uint32_t> row(png.Width());
        for (int y = 0; y < png.Height(); ++y) {
            png.ReadRow(y, row);
            for (int x = 0; x < png.Width(); ++x)
                raster->FPixels[size_t(y) * png.Width() + x] = Premultiplied(row[x] & 0xFFFFFF, row[x] >> 24);
        }
        return raster;
    }
    TBitmap bitmap;
    bitmap.LoadFromFile(AFileName);
    return FromBitmap(bitmap);
}

std::unique_ptr<TRaster> TRaster::FromBitmap(TBitmap& ABitmap)
{
    ABitmap.SetPixelFormat(pf24bit);
    auto raster = std::make_unique<TRaster>(ABitmap.Width(), ABitmap.Height());
    for (int y = 0; y < ABitmap.Height(); ++y) {
        const auto* row = static_cast<const uint8_t*>(ABitmap.ScanLine(y));
        for (int x = 0; x < ABitmap.Width(); ++x)
            raster->FPixels[size_t(y) * ABitmap.Width() + x] =
                0xFF000000u | uint32_t(row[x * 3 + 2]) << 16 | uint32_t(row[x * 3 + 1]) << 8 | row[x * 3];
    }
    return raster;
}
