#include "platform/gui/image_list.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/dib_surface.h"
#include "platform/gui/icon.h"

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, Integer AWidth, Integer AHeight)
    : TComponent(AOwner), FWidth(std::max(AWidth, 1)), FHeight(std::max(AHeight, 1))
{
}

void TCustomImageList::SetWidth(Integer AValue)
{
    AValue = std::max(AValue, 1);
    if (AValue == FWidth) return;
    FWidth = AValue;
    FImages.clear();
    Change();
}

void TCustomImageList::SetHeight(Integer AValue)
{
    AValue = std::max(AValue, 1);
    if (AValue == FHeight) return;
    FHeight = AValue;
    FImages.clear();
    Change();
}

void TCustomImageList::SetBkColor(TColor AValue)
{
    if (AValue == FBkColor) return;
    FBkColor = AValue;
    Change();
}

void TCustomImageList::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomImageList::CheckIndex(Integer AIndex, bool AAllowEnd) const
{
    if (AIndex < 0 || AIndex > Count() || (AIndex == Count() && !AAllowEnd))
        throw EInvalidOperation("Invalid ImageList Index");
}

std::vector<TCustomImageList::TImage> TCustomImageList::Split(TBitmap* AImage, TBitmap* AMask, bool AUseMaskColor,
                                                               TColor AMaskColor) const
{
    if (!AImage || AImage->Empty()) return {};
    Integer width = AImage->Width(), height = AImage->Height();
    std::vector<uint32_t> source = AImage->Pixels32();
    std::vector<uint32_t> mask;
    if (AMask && AMask->Width() >= width && AMask->Height() >= height) mask = AMask->Pixels32();
    Integer mask_width = AMask ? AMask->Width() : 0;
    bool own_alpha = AImage->PixelFormat() == pf32bit &&
                     std::any_of(source.begin(), source.end(), [](uint32_t p) { return (p >> 24) != 0; });
    uint32_t key = AUseMaskColor && AMaskColor != clNone ? PixelOfColor(AMaskColor) : 0xFFFFFFFFu;

    Integer count = std::max(1, width / FWidth);
    std::vector<TImage> images(static_cast<size_t>(count), TImage(size_t(FWidth) * FHeight, 0));
    for (Integer i = 0; i < count; ++i)
        for (Integer y = 0; y < FHeight && y < height; ++y)
            for (Integer x = 0; x < FWidth && i * FWidth + x < width; ++x) {
                Integer sx = i * FWidth + x;
                uint32_t p = source[size_t(y) * width + sx];
                uint32_t alpha = own_alpha ? p >> 24 : 255;
                if (!mask.empty() && (mask[size_t(y) * mask_width + sx] & 0xFFFFFF) != 0) alpha = 0;
                if ((p & 0xFFFFFF) == key) alpha = 0;
                images[i][size_t(y) * FWidth + x] = (alpha << 24) | (p & 0xFFFFFF);
            }
    return images;
}

void TCustomImageList::InsertImages(Integer AIndex, std::vector<TImage> AImages)
{
    if (AImages.empty()) return;
    FImages.insert(FImages.begin() + AIndex, std::make_move_iterator(AImages.begin()),
                   std::make_move_iterator(AImages.end()));
    Change();
}

Integer TCustomImageList::Add(TBitmap* AImage, TBitmap* AMask)
{
    std::vector<TImage> images = Split(AImage, AMask, false, clNone);
    if (images.empty()) return -1;
    Integer first = Count();
    InsertImages(first, std::move(images));
    return first;
}

Integer TCustomImageList::AddMasked(TBitmap* AImage, TColor AMaskColor)
{
    std::vector<TImage> images = Split(AImage, nullptr, true, AMaskColor);
    if (images.empty()) return -1;
    Integer first = Count();
    InsertImages(first, std::move(images));
    return first;
}

void TCustomImageList::Insert(Integer AIndex, TBitmap* AImage, TBitmap* AMask)
{
    CheckIndex(AIndex, true);
    InsertImages(AIndex, Split(AImage, AMask, false, clNone));
}

void TCustomImageList::InsertMasked(Integer AIndex, TBitmap* AImage, TColor AMaskColor)
{
    CheckIndex(AIndex, true);
    InsertImages(AIndex, Split(AImage, nullptr, true, AMaskColor));
}

void TCustomImageList::Delete(Integer AIndex)
{
    CheckIndex(AIndex, false);
    FImages.erase(FImages.begin() + AIndex);
    Change();
}

void TCustomImageList::Clear()
{
    if (FImages.empty()) return;
    FImages.clear();
    Change();
}

void TCustomImageList::GetBitmap(Integer AIndex, TBitmap* AImage)
{
    if (!AImage || AIndex < 0 || AIndex >= Count()) return;
    AImage->SetSize(FWidth, FHeight);
    Draw(AImage->Canvas(), 0, 0, AIndex, true);
}

void TCustomImageList::GetIcon(Integer AIndex, TIcon* AIcon)
{
    if (!AIcon || AIndex < 0 || AIndex >= Count()) return;
    AIcon->SetPixels(FWidth, FHeight, FImages[AIndex]);
}

void TCustomImageList::Draw(TCanvas* ACanvas, Integer AX, Integer AY, Integer AIndex, bool AEnabled)
{
    if (!ACanvas) return;
    DrawListImage(AIndex, ACanvas, AX, AY, 0, AEnabled);
}

void TCustomImageList::DrawListImage(Integer AIndex, TCanvas* ACanvas, Integer AX, Integer AY, Cardinal,
                                     bool AEnabled)
{
    if (AIndex < 0 || AIndex >= Count()) return;
    TDibSurface surface(FWidth, FHeight);
    if (!surface.Valid()) return;
    const TImage& image = FImages[AIndex];
    win::HDC dc = ACanvas->Handle();
    TRect target = Bounds(AX, AY, FWidth, FHeight);
    if (AEnabled) {
        if (FBkColor != clNone) {
            win::HBRUSH brush = win::CreateSolidBrush(ColorRefOf(FBkColor));
            win::FillRect(dc, &target, brush);
            win::DeleteObject(brush);
        }
        for (Integer y = 0; y < FHeight; ++y)
            for (Integer x = 0; x < FWidth; ++x) {
                uint32_t p = image[size_t(y) * FWidth + x];
                surface.Row(y)[x] = PremultipliedPixel(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24));
            }
        surface.AlphaDraw(dc, target);
        return;
    }
    // The silhouette: every mostly opaque pixel that is not white.
    auto paint = [&](TColor AColor, TRect ARect) {
        uint32_t colour = 0xFF000000u | PixelOfColor(AColor);
        for (Integer y = 0; y < FHeight; ++y)
            for (Integer x = 0; x < FWidth; ++x) {
                uint32_t p = image[size_t(y) * FWidth + x];
                bool inside = (p >> 24) >= 128 && (p & 0xFFFFFF) != 0xFFFFFF;
                surface.Row(y)[x] = inside ? colour : 0;
            }
        surface.AlphaDraw(dc, ARect);
    };
    paint(clBtnHighlight, Bounds(AX + 1, AY + 1, FWidth, FHeight));
    paint(clBtnShadow, target);
}
