#include "skin/core/png_image_list.h"

#include <cmath>
#include <vector>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/rtl/sysutils.h"

TspPngImageItem::TspPngImageItem(TCollection* Collection)
    : TCollectionItem(Collection), FPngImage(std::make_unique<TspPngImage>()) {}

TspPngImageItem::~TspPngImageItem() = default;

void TspPngImageItem::Assign(TPersistent* Source) {
    if (auto* item = dynamic_cast<TspPngImageItem*>(Source)) {
        FPngImage->Assign(item->FPngImage.get());
        FName = item->FName;
        return;
    }
    TCollectionItem::Assign(Source);
}

void TspPngImageItem::AssignTo(TPersistent* Dest) { TCollectionItem::AssignTo(Dest); }

std::string TspPngImageItem::GetDisplayName() {
    return FName.empty() ? TCollectionItem::GetDisplayName() : FName;
}

void TspPngImageItem::SetPngImage(TspPngImage* AValue) {
    FPngImage->Assign(AValue);
    Changed(true);
}

TspPngImageItems::TspPngImageItems(TspPngImageList* APNGImageList)
    : TOwnedCollection(APNGImageList, CollectionItemClass<TspPngImageItem>()), FPngImageList(APNGImageList) {}

void TspPngImageItems::Notify(TCollectionItem* AItem, TCollectionNotification AAction) {
    const Integer index = AItem->Index();
    if (AAction == cnAdded) {
        static_cast<TspPngImageItem*>(AItem)->SetName(Format("PngImage%d", {index}));
        TBitmap placeholder;
        placeholder.SetMonochrome(true);
        placeholder.SetSize(FPngImageList->Width(), FPngImageList->Height());
        FPngImageList->Insert(index, &placeholder, nullptr);
    } else if (index >= 0 && index < FPngImageList->Count()) {
        FPngImageList->Delete(index);
    }
}

TspPngImageList::TspPngImageList(TComponent* AOwner)
    : TCustomImageList(AOwner), FPngImages(std::make_unique<TspPngImageItems>(this)) {}

TspPngImageList::~TspPngImageList() { FPngImages.reset(); }

void TspPngImageList::SetPngWidth(Integer AValue) {
    if (AValue == Width()) return;
    SetWidth(AValue);
    if (!ComponentState().Contains(csLoading)) FPngImages->Clear();
}

void TspPngImageList::SetPngHeight(Integer AValue) {
    if (AValue == Height()) return;
    SetHeight(AValue);
    if (!ComponentState().Contains(csLoading)) FPngImages->Clear();
}

void TspPngImageList::DrawListImage(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal /*Style*/,
                                    bool Enabled) {
    TspPngImage* png = FPngImages->GetItem(Index)->PngImage();
    const TRect r = Rect(X, Y, X + Width(), Y + Height());
    if (Enabled) {
        Canvas->StretchDraw(r, png);
        return;
    }
    TspPngImage faded;
    faded.Assign(png);
    ScalePngAlpha(&faded, 127);
    Canvas->StretchDraw(r, &faded);
}

namespace {

Byte ScaledByAlpha(Byte a, Byte Alpha) {
    return static_cast<Byte>(std::nearbyint(a / 256.0 * (Alpha + 1)));
}

// Grey and palette pictures become true colour with alpha.
void RebuildWithAlpha(TspPngImage* Png, Byte Alpha) {
    const Integer w = Png->Width(), h = Png->Height();
    const bool keyed = Png->TransparencyMode() == ptmBit;
    const TColor key = Png->TransparentColor();
    TspPngImage rebuilt;
    rebuilt.CreateBlank(COLOR_RGBALPHA, 8, w, h);
    std::vector<uint32_t> row(static_cast<size_t>(w));
    for (Integer y = 0; y < h; ++y) {
        Png->ReadRow(y, row);
        uint8_t* alpha = rebuilt.AlphaScanline(y);
        for (Integer x = 0; x < w; ++x) {
            const TColor color = ColorOfPixel(row[x] & 0xFFFFFF);
            rebuilt.SetPixels(x, y, color);
            const Byte a = static_cast<Byte>(row[x] >> 24);
            if (keyed && color == key)
                alpha[x] = 0;
            else
                alpha[x] = static_cast<Byte>((a * Alpha + 127) / 255);  // opaque gives Alpha itself
        }
    }
    Png->Assign(&rebuilt);
}

}  // namespace

void ScalePngAlpha(TspPngImage* Png, Byte Alpha) {
    if (Png == nullptr || Png->Empty()) return;
    const Byte type = Png->Header().ColorType;
    if (type == COLOR_GRAYSCALE || type == COLOR_PALETTE) {
        RebuildWithAlpha(Png, Alpha);
        return;
    }
    if (type == COLOR_RGB) Png->CreateAlpha();
    for (Integer y = 0; y < Png->Height(); ++y) {
        uint8_t* alpha = Png->AlphaScanline(y);
        for (Integer x = 0; x < Png->Width(); ++x) alpha[x] = ScaledByAlpha(alpha[x], Alpha);
    }
}
