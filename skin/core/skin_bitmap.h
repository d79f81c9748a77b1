#pragma once
// The skin library's drawing surface: a 32-bit top-down DIB section with its own memory DC, so that its pixels
// are reached both as memory and through the GDI and a canvas. Drawing into another skin bitmap never goes
// through the GDI: the target is found by its DC among the live bitmaps and handled as memory.
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/types.h"
#include "skin/core/pixel_kernels.h"

class TCanvas;
class TGraphic;
class TspBitmapLink;

class TspBitmap : public TPersistent {
public:
    TspBitmap();
    ~TspBitmap() override;
    TspBitmap(const TspBitmap&) = delete;
    TspBitmap& operator=(const TspBitmap&) = delete;

    win::HBITMAP Handle() const { return FHandle; }
    win::HDC DC() const { return FDC; }
    PspColorArray Bits() const { return FBits; }
    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    // Made on first use and bound to DC().
    TCanvas* Canvas();
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool AValue) { FAlphaBlend = AValue; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue) { FTransparent = AValue; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& AValue) { FName = AValue; }

    // Negative sizes count as their absolute values; a zero side or the current size change nothing. Raises
    // Exception with the system's texts when the section or the DC cannot be made.
    void SetSize(Integer AWidth, Integer AHeight);
    bool Empty() const { return FHandle == nullptr; }
    void Clear(TspColor Color);

    void Assign(TPersistent* Source) override;

    // No range checks.
    TspColor* GetScanLinePtr(Integer Y) const { return FBits + static_cast<ptrdiff_t>(Y) * FWidth; }
    TspColor* GetPixelPtr(Integer X, Integer Y) const { return GetScanLinePtr(Y) + X; }
    // 0 outside the bitmap; writes outside are ignored.
    TspColor GetPixel(Integer X, Integer Y) const;
    void SetPixel(Integer X, Integer Y, TspColor Value);

    void CheckRGBA();
    void CheckingAlphaBlend();
    void CheckingAlphaBlend(const TRect& ARect);
    void CheckingTransparent(TspColor Color);
    void CheckingTransparent(const TRect& ARect, TspColor Color);
    void SetAlpha(Byte Alpha);
    void SetAlpha(Byte Alpha, const TRect& ARect);

    // On every pixel whose alpha is not 0, keeping that alpha.
    void ChangeBitmapBrightness(Integer DeltaBrightness);
    void SetBitmapHue(Integer Hue);
    void ChangeBitmapSat(Integer DeltaSat);
    void ChangeBitmapHue(Integer DeltaHue);

    // A new link to a piece of this bitmap, owned by the caller.
    std::unique_ptr<TspBitmapLink> GetBitmapLink(const TRect& ARect);
    std::unique_ptr<TspBitmapLink> GetBitmapLink(const std::string& ARect);

    // Drawing by the current mode: per-pixel alpha when AlphaBlend, else the key colour left out when
    // Transparent, else a copy. Targets are a DC, a canvas or another skin bitmap.
    void Draw(win::HDC DC, Integer X, Integer Y);
    void Draw(win::HDC DC, Integer X, Integer Y, const TRect& SrcRect);
    void Draw(win::HDC DC, const TRect& DstRect);
    void Draw(win::HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, Integer X, Integer Y);
    void Draw(TCanvas* Canvas, Integer X, Integer Y, const TRect& SrcRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect);
    void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Draw(TspBitmap* Bitmap, Integer X, Integer Y);
    void Draw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect);
    void Draw(TspBitmap* Bitmap, const TRect& DstRect);
    void Draw(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);

    void Tile(win::HDC DC, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
    void Tile(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
    void TileClip(win::HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
    void TileClip(TspBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);

    // SrcRect of Bitmap drawn at X, Y behind what this bitmap already shows.
    void MergeDraw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect);
    // Graphic stretched into DstRect; its pure magenta parts never arrive.
    void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);
    void FillRect(const TRect& R, TspColor Color);
    void FlipVert();
    void Reflection();
    void Reflection2();
    void Reflection3();

    void SaveToStream(TStream* Stream);
    // Raises EReadError for a header that cannot be right (negative width, more pixels than the stream holds)
    // before anything of this bitmap changes.
    void LoadFromStream(TStream* Stream);
    // An 8-bit PCX picture (manufacturer byte 10 or 205, anything else is ignored); its pixels arrive opaque.
    // Raises EReadError when the header promises more pixels than the stream can hold.
    void LoadFromPcxStream(TStream* Stream);

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    void ReleaseSurface();
    void Reflect(Integer ADivisor);
    template <typename Fn>
    void AdjustOpaquePixels(Fn AAdjust);
    template <typename Fn>
    void TileWith(const TRect& DstRect, const TRect& SrcRect, Fn ADrawTile);

    PspColorArray FBits = nullptr;
    Integer FWidth = 0;
    Integer FHeight = 0;
    std::string FName;
    win::BITMAPINFO FBitmapInfo{};
    win::HBITMAP FHandle = nullptr;
    win::HDC FDC = nullptr;
    win::HGDIOBJ FDefaultBitmap = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    bool FAlphaBlend = false;
    bool FTransparent = false;
};

// A named piece of a skin bitmap (not owned).
class TspBitmapLink : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    void SaveToStream(TStream* Stream);
    void LoadFromStream(TStream* Stream);
    void Draw(TCanvas* Canvas, Integer X, Integer Y);
    void Draw(TspBitmap* Bitmap, Integer X, Integer Y);
    // Sets Masked, MaskedBorder and MaskedAngles from the masked pixels (key colour or alpha below 255) of the
    // nine zones that Margin cuts; with a zero margin only Masked, from any masked pixel.
    void CheckingMasked();
    void CheckingMasked(const TRect& Margin);

    const std::string& Name() const { return FName; }
    void SetName(const std::string& AValue) { FName = AValue; }
    TspBitmap* Image() const { return FImage; }
    void SetImage(TspBitmap* AValue) { FImage = AValue; }
    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& AValue) { FRect = AValue; }
    Integer Left() const { return FRect.Left; }
    Integer Top() const { return FRect.Top; }
    Integer Right() const { return FRect.Right; }
    Integer Bottom() const { return FRect.Bottom; }
    void SetLeft(Integer AValue) { FRect.Left = AValue; }
    void SetTop(Integer AValue) { FRect.Top = AValue; }
    void SetRight(Integer AValue) { FRect.Right = AValue; }
    void SetBottom(Integer AValue) { FRect.Bottom = AValue; }
    // An image is set and the rectangle has a positive area.
    bool Assigned() const;
    bool Masked() const { return FMasked; }
    bool MaskedBorder() const { return FMaskedBorder; }
    bool MaskedAngles() const { return FMaskedAngles; }
    void SetMasked(bool AValue) { FMasked = AValue; }
    void SetMaskedBorder(bool AValue) { FMaskedBorder = AValue; }
    void SetMaskedAngles(bool AValue) { FMaskedAngles = AValue; }

private:
    TspBitmap* FImage = nullptr;
    TRect FRect;
    std::string FName;
    bool FMaskedBorder = false;
    bool FMaskedAngles = false;
    bool FMasked = false;
};

// The bitmaps that own a DC, in order of their first SetSize.
const std::vector<TspBitmap*>& LiveBitmaps();
TspBitmap* FindBitmapByDC(win::HDC DC);

// The name encoding of the stream formats: Int32 count of UTF-16 code units, then the name in UTF-16LE.
void ReadStreamString(TStream* Stream, std::string& S);
void WriteStreamString(TStream* Stream, const std::string& S);

// Four integers separated by blanks or any of "(),:;="; any failure gives the rectangle 0, 0, 0, 0.
TRect ParseRectString(const std::string& S);
void ExtractRectToken(std::string& S, std::string& Token);

// Stack blur of a skin bitmap and its grey mask to alpha (see blur.h).
void BlurBitmap(TspBitmap* Bitmap, Integer Radius);
void MaskToAlpha(TspBitmap* Bitmap, TspBitmap* Mask);
