#pragma once
// An image list of PNG pictures with alpha, kept in a collection of named items and drawn by the list itself.
// The platform list underneath keeps one blank placeholder per item so that its count and indexes match.
#include <memory>
#include <string>

#include "platform/gui/image_list.h"
#include "platform/gui/png_image.h"
#include "platform/rtl/classes.h"

using TspPngImage = TPngImage;

class TspPngImageList;

class TspPngImageItem : public TCollectionItem {
public:
    explicit TspPngImageItem(TCollection* Collection);
    ~TspPngImageItem() override;

    void Assign(TPersistent* Source) override;
    std::string GetDisplayName() override;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& AValue) { FName = AValue; }
    TspPngImage* PngImage() const { return FPngImage.get(); }
    void SetPngImage(TspPngImage* AValue);

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    std::unique_ptr<TspPngImage> FPngImage;
    std::string FName;
};

class TspPngImageItems : public TOwnedCollection {
public:
    explicit TspPngImageItems(TspPngImageList* APNGImageList);
    TspPngImageItem* GetItem(Integer Index) const { return static_cast<TspPngImageItem*>(Items(Index)); }

protected:
    void Notify(TCollectionItem* AItem, TCollectionNotification AAction) override;

private:
    TspPngImageList* FPngImageList;
};

class TspPngImageList : public TCustomImageList {
public:
    explicit TspPngImageList(TComponent* AOwner);
    ~TspPngImageList() override;

    TspPngImageItems* PngImages() const { return FPngImages.get(); }
    void SetPngImages(TspPngImageItems* AValue) { FPngImages->Assign(AValue); }
    Integer PngWidth() const { return Width(); }
    Integer PngHeight() const { return Height(); }
    void SetPngWidth(Integer AValue);
    void SetPngHeight(Integer AValue);

protected:
    void DrawListImage(Integer Index, TCanvas* Canvas, Integer X, Integer Y, Cardinal Style, bool Enabled) override;

private:
    std::unique_ptr<TspPngImageItems> FPngImages;
};

// Fades a picture in place for the disabled look. Pictures with alpha scale it by (Alpha + 1) / 256; grey and
// palette pictures take Alpha where they were opaque, keep their transparent pixels clear and scale partial
// transparency the same way.
void ScalePngAlpha(TspPngImage* Png, Byte Alpha);
