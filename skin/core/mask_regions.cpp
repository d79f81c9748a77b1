#include "skin/core/mask_regions.h"

#include <cstring>

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/gui/bitmap.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_strips.h"

TFBitmap::TFBitmap(win::HBITMAP HBmp) {
    win::BITMAP bm{};
    win::GetObject(HBmp, sizeof(bm), &bm);
    Width = bm.bmWidth;
    Height = bm.bmHeight;
    bmHeader.biSize = sizeof(win::BITMAPINFOHEADER);
    bmHeader.biWidth = Width;
    bmHeader.biHeight = -Height;
    bmHeader.biPlanes = 1;
    bmHeader.biBitCount = 24;
    bmHeader.biCompression = win::BI_RGB;
    bmInfo.bmiHeader = bmHeader;
    void* bits = nullptr;
    Handle = win::CreateDIBSection(nullptr, &bmInfo, win::DIB_RGB_COLORS, &bits, nullptr, 0);
    Bits = static_cast<uint8_t*>(bits);
    hDC = win::CreateCompatibleDC(nullptr);
    if (Handle && Height > 0) win::GetDIBits(hDC, HBmp, 0, Height, Bits, &bmInfo, win::DIB_RGB_COLORS);
    Gap = Width % 4;
    RowInc = Width * 3 + Gap;
    Size = RowInc * Height;
    FRows.resize(Height > 0 ? Height : 0);
    for (Integer y = 0; y < Height; ++y) FRows[y] = reinterpret_cast<PBLine>(Bits + static_cast<size_t>(y) * RowInc);
    Pixels = FRows.data();
    win::SelectObject(hDC, Handle);
}

TFBitmap::~TFBitmap() {
    win::DeleteDC(hDC);
    if (Handle) win::DeleteObject(Handle);
}

namespace {

void AppendRuns(const TFBitmap& AScan, Integer AOffsetX, Integer AOffsetY, std::vector<win::RECT>& ARects) {
    for (Integer y = 0; y < AScan.Height; ++y) {
        const TFBColor* row = AScan.Pixels[y];
        Integer x = 0;
        while (x < AScan.Width) {
            if (row[x].b + row[x].g + row[x].r != 0) {
                ++x;
                continue;
            }
            Integer j = x + 1;
            while (j < AScan.Width && row[j].b + row[j].g + row[j].r == 0) ++j;
            ARects.push_back({x + AOffsetX, y + AOffsetY, j + AOffsetX, y + AOffsetY + 1});
            x = j;
        }
    }
}

win::HRGN RegionOfStrip(TBitmap* AStrip, Integer AX, Integer AY) {
    if (AStrip->Width() <= 0 || AStrip->Height() <= 0) return nullptr;
    std::vector<uint8_t> data;
    const Integer size = RegionDataFromMask(AStrip, AX, AY, data);
    if (size == 0) return nullptr;
    return win::ExtCreateRegion(nullptr, static_cast<win::DWORD>(size), reinterpret_cast<win::RGNDATA*>(data.data()));
}

}  // namespace

Integer RegionDataFromMask(TBitmap* Mask, Integer OffsetX, Integer OffsetY, std::vector<uint8_t>& Data) {
    if (Mask == nullptr || Mask->Empty()) return 0;
    std::vector<win::RECT> rects;
    {
        TFBitmap scan(Mask->Handle());
        AppendRuns(scan, OffsetX, OffsetY, rects);
    }
    const size_t size = sizeof(win::RGNDATAHEADER) + rects.size() * sizeof(win::RECT);
    Data.assign(size, 0);
    win::RGNDATAHEADER header;
    header.nCount = static_cast<win::DWORD>(rects.size());
    header.rcBound = {OffsetX, OffsetY, OffsetX + Mask->Width(), OffsetY + Mask->Height()};
    std::memcpy(Data.data(), &header, sizeof(header));
    if (!rects.empty()) std::memcpy(Data.data() + sizeof(header), rects.data(), rects.size() * sizeof(win::RECT));
    return static_cast<Integer>(size);
}

void RegionFromMask(win::HRGN& Rgn, TBitmap* Mask) {
    std::vector<uint8_t> data;
    const Integer size = RegionDataFromMask(Mask, 0, 0, data);
    Rgn = size == 0 ? nullptr
                    : win::ExtCreateRegion(nullptr, static_cast<win::DWORD>(size),
                                           reinterpret_cast<win::RGNDATA*>(data.data()));
}

void BuildSkinWindowRegion(win::HRGN& Rgn, TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                           TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                           TRect NewClRect, TBitmap* Mask, Integer NewWidth, Integer NewHeight) {
    Rgn = nullptr;
    if (NewRTPoint.X < NewLTPoint.X || NewLBPoint.Y < NewLTPoint.Y) return;
    TBitmap top, left, right, bottom;
    BuildMaskFrameStrips(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                         Mask, &top, &left, &right, &bottom, NewWidth, NewHeight);
    win::HRGN pieces[] = {
        RegionOfStrip(&top, 0, 0),
        RegionOfStrip(&bottom, 0, NewClRect.Bottom),
        RegionOfStrip(&left, 0, NewClRect.Top),
        RegionOfStrip(&right, NewClRect.Right, NewClRect.Top),
        IsEmptyRect(NewClRect) ? nullptr
                               : win::CreateRectRgn(NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom),
    };
    // A missing piece must not take the others with it: unite whatever exists.
    for (win::HRGN piece : pieces) {
        if (piece == nullptr) continue;
        if (Rgn == nullptr) {
            Rgn = piece;
            continue;
        }
        win::CombineRgn(Rgn, Rgn, piece, win::RGN_OR);
        win::DeleteObject(piece);
    }
}
