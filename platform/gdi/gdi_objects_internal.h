#pragma once
// The objects behind the handles, and the table that tells live handles from stale ones.
#include <pixman.h>

#include <memory>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/surface.h"

namespace win::detail {

struct FontFace; // font_engine.h

// Bookkeeping shared by every GDI object: how many DC states hold it, and whether it is a stock object.
struct ObjectCore {
    explicit ObjectCore(UINT AKind) : Kind(AKind) {}
    virtual ~ObjectCore() = default;
    UINT Kind;
    int SelectCount = 0;
    bool Stock = false;
};

struct Bitmap final : BitmapObject, ObjectCore {
    Bitmap() : ObjectCore(OBJ_BITMAP) {}
    std::unique_ptr<uint8_t[]> Memory;
    Surface Pixels;
    bool IsDib = true;
    bool BottomUp = false;
    uint8_t* MemoryStart() const { return Memory.get(); }
};

struct Region final : RegionObject, ObjectCore {
    Region() : ObjectCore(OBJ_REGION) { pixman_region32_init(&Rgn); }
    ~Region() override { pixman_region32_fini(&Rgn); }
    pixman_region32_t Rgn;
};

struct Pen final : PenObject, ObjectCore {
    Pen() : ObjectCore(OBJ_PEN) {}
    UINT Style = PS_SOLID; // PS_* style, without the end cap, join and type bits
    UINT FullStyle = PS_SOLID;
    int Width = 1;
    COLORREF Color = 0;
};

struct Brush final : BrushObject, ObjectCore {
    Brush() : ObjectCore(OBJ_BRUSH) {}
    UINT Style = BS_SOLID;
    COLORREF Color = 0;
    int Hatch = 0; // HS_*, hatched brushes
    // Pattern brushes: a copy of the bitmap's pixels, top-down, tiled from the device origin.
    int PatternWidth = 0;
    int PatternHeight = 0;
    std::vector<uint32_t> Pattern;
    HBITMAP PatternBitmap = nullptr; // what GetObject reports
};

struct Font final : FontObject, ObjectCore {
    Font() : ObjectCore(OBJ_FONT) {}
    LOGFONT Log;
    std::shared_ptr<FontFace> Face; // resolved on first use
};

// Registers a new object and returns its handle; the table owns it until DeleteObject.
template <class T> T* Register(std::unique_ptr<T> AObject);
void RegisterObject(std::unique_ptr<ObjectCore> AObject);
// The live object behind a handle, or nullptr for a stale, foreign or mistyped one.
ObjectCore* FindObject(const GdiObject* AHandle);
template <class T> T* Find(const GdiObject* AHandle) { return dynamic_cast<T*>(FindObject(AHandle)); }

template <class T> T* Register(std::unique_ptr<T> AObject)
{
    T* raw = AObject.get();
    RegisterObject(std::unique_ptr<ObjectCore>(std::move(AObject)));
    return raw;
}

// Selection counts are changed under the table's lock, since objects may be shared between threads.
void Hold(ObjectCore* AObject);
void Release(ObjectCore* AObject);

Pen* StockPen(int AIndex);
Brush* StockBrush(int AIndex);
Font* StockFont();
Bitmap* StockBitmap(); // the 1 x 1 bitmap every memory DC starts with

// Coordinates are kept within +-2^27 (GDI's own range), so that widths and sums of two fit an int.
constexpr int kCoordinateLimit = 1 << 27;

// Region helpers shared by the DC and the drawing code.
int RegionKind(const pixman_region32_t& ARegion);
void SetRegionRect(pixman_region32_t& ARegion, const RECT& ARect);
bool RectEmpty(const RECT& ARect);
RECT Normalised(const RECT& ARect);
// Adds the pixels whose centres lie inside the ellipse inscribed in ARect, for the rows in [AFirstRow, ALastRow).
void AddEllipseRows(pixman_region32_t& AOut, const RECT& ARect, int AFirstRow, int ALastRow);

} // namespace win::detail
