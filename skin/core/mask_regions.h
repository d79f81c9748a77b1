#pragma once
// Window regions from mask pictures: the black pixels of a mask belong to the window. A mask is turned into a
// region at its own size, or, for a resizable window, cut into border strips at a new size whose regions are
// united with the client rectangle.
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/types.h"

class TBitmap;

struct TFBColor {
    uint8_t b, g, r;
};
using PBLine = TFBColor*;
using PPLines = PBLine*;

// A 24-bit top-down copy of a device bitmap with a table of row pointers, for scanning masks fast.
class TFBitmap : public TObject {
public:
    explicit TFBitmap(win::HBITMAP HBmp);
    ~TFBitmap() override;
    TFBitmap(const TFBitmap&) = delete;
    TFBitmap& operator=(const TFBitmap&) = delete;

    uint8_t* Bits = nullptr;
    PPLines Pixels = nullptr;
    Integer Gap = 0;
    Integer RowInc = 0;
    Integer Size = 0;
    Integer Width = 0;
    Integer Height = 0;
    win::HBITMAP Handle = nullptr;
    win::HDC hDC = nullptr;
    win::BITMAPINFO bmInfo{};
    win::BITMAPINFOHEADER bmHeader{};

private:
    std::vector<PBLine> FRows;
};

// Region data (a 32-byte header and one 16-byte rectangle per run of black pixels, shifted by the offsets) into
// Data; the result is its size in bytes, 0 for an empty mask (Data is then left alone). The rectangles are
// gathered in a growable buffer: a busy mask of any number of runs is served whole.
Integer RegionDataFromMask(TBitmap* Mask, Integer OffsetX, Integer OffsetY, std::vector<uint8_t>& Data);
// No region (nullptr) for an empty mask.
void RegionFromMask(win::HRGN& Rgn, TBitmap* Mask);
// The region of a NewWidth x NewHeight window shaped by Mask with its nine-part description; nullptr when the new
// points are inverted. The result is the client rectangle and every non-empty strip, also when some are missing.
void BuildSkinWindowRegion(win::HRGN& Rgn, TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                           TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                           TRect NewClRect, TBitmap* Mask, Integer NewWidth, Integer NewHeight);
