#pragma once
// A bitmap in memory: rows bottom-up as a device-independent bitmap keeps them, in one of the pixel formats, with
// a canvas to draw on and BMP files to read and write.
//
// 24- and 32-bit pixels live in a DIB section that the canvas draws on directly. The other formats keep their
// packed rows apart and a 32-bit DIB section for drawing; the two are brought level when one is used after the
// other (scan lines after drawing, drawing after scan lines), so callers see one picture either way.
#include <memory>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/gui/canvas.h"
#include "platform/gui/graphic.h"

class TBitmap;

// The picture as 24-bit blue, green, red rows, top-down, AStride bytes apart from ADest on (Height rows).
void CopyBgrRows(TBitmap* ABitmap, uint8_t* ADest, size_t AStride);

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(Integer AWidth, Integer AHeight, TPixelFormat AFormat = pfDevice);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // From another TBitmap (a copy) or nullptr (empty); other pictures assign themselves (AssignTo).
    void Assign(TPersistent* ASource) override;

    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    Integer Width() const override { return FWidth; }
    Integer Height() const override { return FHeight; }
    void SetWidth(Integer AValue) override { SetSize(AValue, FHeight); }
    void SetHeight(Integer AValue) override { SetSize(FWidth, AValue); }
    // Keeps the overlapping top-left part of the picture; new pixels are 0.
    void SetSize(Integer AWidth, Integer AHeight);

    TCanvas* Canvas();
    // The DIB section the canvas draws on (nullptr while empty).
    win::HBITMAP Handle();
    // pfDevice bitmaps count as device bitmaps; asking for bmDIB makes them pf32bit.
    TBitmapHandleType HandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }
    void SetHandleType(TBitmapHandleType AValue);
    // Changing the format converts the pixels (indexed formats take the nearest colour of their palette).
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat AValue);
    bool Monochrome() const { return FPixelFormat == pf1bit; }
    void SetMonochrome(bool AValue) { SetPixelFormat(AValue ? pf1bit : pfDevice); }
    // 0x00RRGGBB entries of the indexed formats.
    const std::vector<uint32_t>& Palette() const { return FPalette; }

    // Row ARow counted from the top, in the pixel format's own layout. Rows lie bottom-up in memory: each row
    // lies one stride below the row above it. Raises EInvalidGraphicOperation "Scan line index out of range".
    void* ScanLine(Integer ARow);

    // tmAuto: the bottom-left pixel; tmFixed: the colour set.
    TColor TransparentColor();
    void SetTransparentColor(TColor AValue);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode AValue);

    // A BMP file image; the stream is left right after it (the file header's size says where that is).
    void LoadFromStream(TStream* AStream) override;
    void SaveToStream(TStream* AStream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& ARect) override;

private:
    friend class TBitmapCanvas;
    // The image list takes the pixels of a bitmap as 32-bit words.
    friend class TCustomImageList;
    int BitCount() const;
    bool KeepsPackedRows() const { return BitCount() < 24; }
    size_t Stride() const;
    // Makes the pixels (and DIB section) for a size and format; the content is 0.
    void Allocate(Integer AWidth, Integer AHeight, TPixelFormat AFormat);
    void ReleaseImage();
    // Top-down 0xAARRGGBB copy of the picture, and back.
    std::vector<uint32_t> Pixels32();
    void StorePixels32(const std::vector<uint32_t>& APixels);
    uint8_t* RowAddress(Integer ARow);
    // Bring the DIB section up to the packed rows before drawing, and the other way round before scan lines.
    void BeforeDrawing();
    void BeforeScanLines();
    void SelectIntoCanvas();
    void DrawTransparent(TCanvas* ACanvas, const TRect& ARect);

    Integer FWidth = 0;
    Integer FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    std::vector<uint32_t> FPalette;
    win::HBITMAP FDib = nullptr;
    uint8_t* FDibBits = nullptr;
    std::vector<uint8_t> FPacked;
    bool FPackedNewer = false;
    bool FDibNewer = false;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
    std::unique_ptr<TCanvas> FCanvas;
    win::HDC FCanvasDC = nullptr;
    win::HGDIOBJ FCanvasDefaultBitmap = nullptr;
};
