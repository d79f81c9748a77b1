#pragma once
// A list of equally sized images with transparency, drawn by index. Every image is kept as straight-alpha 32-bit
// pixels: masked pixels have alpha 0, 32-bit images with alpha keep theirs. Drawing goes through the virtual
// DrawListImage, which a derived list replaces to draw its own pictures.
#include <vector>

#include "platform/gui/graphics.h"
#include "platform/rtl/classes.h"

class TBitmap;
class TCanvas;
class TIcon;

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    TCustomImageList(TComponent* AOwner, Integer AWidth, Integer AHeight);

    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    // A new size empties the list.
    void SetWidth(Integer AValue);
    void SetHeight(Integer AValue);
    Integer Count() const { return static_cast<Integer>(FImages.size()); }
    // Drawn behind the images where they are transparent; clNone draws nothing there.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor AValue);

    // An image as wide as several list images adds one per Width columns (at least one). AMask may be nullptr; its
    // white pixels are transparent. The result is the index of the first image added.
    Integer Add(TBitmap* AImage, TBitmap* AMask);
    // Pixels of AMaskColor are transparent; clNone keeps every pixel.
    Integer AddMasked(TBitmap* AImage, TColor AMaskColor);
    void Insert(Integer AIndex, TBitmap* AImage, TBitmap* AMask);
    void InsertMasked(Integer AIndex, TBitmap* AImage, TColor AMaskColor);
    // Index errors raise EInvalidOperation "Invalid ImageList Index".
    void Delete(Integer AIndex);
    void Clear();

    // AImage becomes Width x Height with the image drawn on it; nothing for an index outside the list.
    void GetBitmap(Integer AIndex, TBitmap* AImage);
    void GetIcon(Integer AIndex, TIcon* AIcon);
    void Draw(TCanvas* ACanvas, Integer AX, Integer AY, Integer AIndex, bool AEnabled = true);

    TNotifyEvent OnChange;

protected:
    // Disabled images are drawn as a flat silhouette: button highlight one pixel down and right, button shadow
    // over it. AStyle is accepted for the sake of derived lists.
    virtual void DrawListImage(Integer AIndex, TCanvas* ACanvas, Integer AX, Integer AY, Cardinal AStyle,
                               bool AEnabled);
    virtual void Change();

private:
    using TImage = std::vector<uint32_t>;
    std::vector<TImage> Split(TBitmap* AImage, TBitmap* AMask, bool AUseMaskColor, TColor AMaskColor) const;
    void InsertImages(Integer AIndex, std::vector<TImage> AImages);
    void CheckIndex(Integer AIndex, bool AAllowEnd) const;

    Integer FWidth = 16;
    Integer FHeight = 16;
    TColor FBkColor = clNone;
    std::vector<TImage> FImages;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
