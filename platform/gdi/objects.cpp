#include "platform/gdi/objects.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/gdi/gdi_objects_internal.h"

namespace win::detail {
namespace {

struct ObjectTable {
    std::mutex Lock;
    std::unordered_map<const GdiObject*, std::unique_ptr<ObjectCore>> Live;
};

ObjectTable& Table()
{
    static auto* table = new ObjectTable; // never destroyed: handles may be released during static destruction
    return *table;
}

const GdiObject* HandleOf(const ObjectCore* AObject) { return dynamic_cast<const GdiObject*>(AObject); }

template <class T> T* MakeStock(std::unique_ptr<T> AObject)
{
    AObject->Stock = true;
    return Register(std::move(AObject));
}

} // namespace

void RegisterObject(std::unique_ptr<ObjectCore> AObject)
{
    ObjectTable& table = Table();
    const GdiObject* handle = HandleOf(AObject.get());
    std::lock_guard lock(table.Lock);
    table.Live.emplace(handle, std::move(AObject));
}

ObjectCore* FindObject(const GdiObject* AHandle)
{
    if (AHandle == nullptr)
        return nullptr;
    ObjectTable& table = Table();
    std::lock_guard lock(table.Lock);
    auto it = table.Live.find(AHandle);
    return it == table.Live.end() ? nullptr : it->second.get();
}

void Hold(ObjectCore* AObject)
{
    if (AObject == nullptr)
        return;
    std::lock_guard lock(Table().Lock);
    ++AObject->SelectCount;
}

void Release(ObjectCore* AObject)
{
    if (AObject == nullptr)
        return;
    std::lock_guard lock(Table().Lock);
    --AObject->SelectCount;
}

Pen* StockPen(int AIndex)
{
    static Pen* pens[3] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        const COLORREF colors[2] = {0xFFFFFF, 0};
        for (int i = 0; i < 2; ++i) {
            auto pen = std::make_unique<Pen>();
            pen->Color = colors[i];
            pens[i] = MakeStock(std::move(pen));
        }
        auto none = std::make_unique<Pen>();
        none->Style = none->FullStyle = PS_NULL;
        pens[2] = MakeStock(std::move(none));
    });
    return pens[AIndex - WHITE_PEN];
}

Brush* StockBrush(int AIndex)
{
    static Brush* brushes[6] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        const COLORREF colors[5] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0};
        for (int i = 0; i < 5; ++i) {
            auto brush = std::make_unique<Brush>();
            brush->Color = colors[i];
            brushes[i] = MakeStock(std::move(brush));
        }
        auto none = std::make_unique<Brush>();
        none->Style = BS_NULL;
        brushes[5] = MakeStock(std::move(none));
    });
    return brushes[AIndex];
}

Font* StockFont()
{
    static Font* font = [] {
        auto f = std::make_unique<Font>();
        f->Log.lfHeight = -11;
        std::strcpy(f->Log.lfFaceName, "Tahoma");
        return MakeStock(std::move(f));
    }();
    return font;
}

Bitmap* StockBitmap()
{
    static Bitmap* bitmap = [] {
        auto b = std::make_unique<Bitmap>();
        b->Memory = std::make_unique<uint8_t[]>(4);
        b->Pixels = Surface{b->Memory.get(), 1, 1, 4, 32};
        b->IsDib = false;
        return MakeStock(std::move(b));
    }();
    return bitmap;
}

} // namespace win::detail

namespace win {

using namespace detail;

UINT GetObjectType(HGDIOBJ AObject)
{
    ObjectCore* object = FindObject(AObject);
    return object == nullptr ? 0 : object->Kind;
}

namespace {

int CopyOut(const void* ASource, int ASize, int ABufferSize, void* ABuffer)
{
    if (ABuffer == nullptr)
        return ASize;
    if (ABufferSize < ASize)
        return 0;
    std::memcpy(ABuffer, ASource, size_t(ASize));
    return ASize;
}

int DescribeBitmap(const Bitmap& ABitmap, int ASize, void* ABuffer)
{
    DIBSECTION ds;
    const Surface& s = ABitmap.Pixels;
    ds.dsBm.bmWidth = s.Width;
    ds.dsBm.bmHeight = s.Height;
    ds.dsBm.bmWidthBytes = DibStride(s.Width, s.Bpp);
    ds.dsBm.bmPlanes = 1;
    ds.dsBm.bmBitsPixel = WORD(s.Bpp);
    if (!ABitmap.IsDib)
        return CopyOut(&ds.dsBm, sizeof(BITMAP), ASize, ABuffer);
    ds.dsBm.bmBits = ABitmap.MemoryStart();
    ds.dsBmih.biWidth = s.Width;
    ds.dsBmih.biHeight = ABitmap.BottomUp ? s.Height : -s.Height;
    ds.dsBmih.biBitCount = WORD(s.Bpp);
    ds.dsBmih.biSizeImage = DWORD(ds.dsBm.bmWidthBytes) * DWORD(s.Height);
    // A buffer big enough for a DIBSECTION gets one; a smaller one gets the BITMAP, as callers probe either way.
    if (ABuffer != nullptr && ASize >= int(sizeof(DIBSECTION)))
        return CopyOut(&ds, sizeof(DIBSECTION), ASize, ABuffer);
    return CopyOut(&ds.dsBm, sizeof(BITMAP), ASize, ABuffer);
}

} // namespace

int GetObject(HGDIOBJ AObject, int ASize, void* ABuffer)
{
    ObjectCore* object = FindObject(AObject);
    if (object == nullptr)
        return 0;
    if (auto* bitmap = dynamic_cast<Bitmap*>(object))
        return DescribeBitmap(*bitmap, ASize, ABuffer);
    if (auto* pen = dynamic_cast<Pen*>(object)) {
        LOGPEN log{pen->FullStyle, {pen->Width, 0}, pen->Color};
        return CopyOut(&log, sizeof(log), ASize, ABuffer);
    }
    if (auto* brush = dynamic_cast<Brush*>(object)) {
        const uintptr_t detail = brush->Style == BS_HATCHED   ? uintptr_t(brush->Hatch)
                                 : brush->Style == BS_PATTERN ? reinterpret_cast<uintptr_t>(brush->PatternBitmap)
                                                              : 0;
        LOGBRUSH log{brush->Style, brush->Style == BS_PATTERN ? 0 : brush->Color, detail};
        return CopyOut(&log, sizeof(log), ASize, ABuffer);
    }
    if (auto* font = dynamic_cast<Font*>(object))
        return CopyOut(&font->Log, sizeof(LOGFONT), ASize, ABuffer);
    return 0;
}

BOOL DeleteObject(HGDIOBJ AObject)
{
    if (AObject == nullptr)
        return FALSE;
    std::unique_ptr<ObjectCore> doomed;
    {
        auto& table = detail::Table();
        std::lock_guard lock(table.Lock);
        auto it = table.Live.find(AObject);
        if (it == table.Live.end())
            return FALSE;
        if (it->second->Stock)
            return TRUE;
        if (it->second->SelectCount > 0)
            return FALSE;
        doomed = std::move(it->second);
        table.Live.erase(it);
    }
    return TRUE;
}

HGDIOBJ GetStockObject(int AIndex)
{
    if (AIndex >= WHITE_BRUSH && AIndex <= NULL_BRUSH)
        return StockBrush(AIndex);
    if (AIndex >= WHITE_PEN && AIndex <= NULL_PEN)
        return StockPen(AIndex);
    if (AIndex == SYSTEM_FONT || AIndex == DEFAULT_GUI_FONT)
        return StockFont();
    return nullptr;
}

HPEN CreatePen(int AStyle, int AWidth, COLORREF AColor)
{
    auto pen = std::make_unique<Pen>();
    pen->FullStyle = UINT(AStyle);
    pen->Style = UINT(AStyle) & PS_STYLE_MASK;
    if (pen->Style > PS_ALTERNATE)
        return nullptr;
    pen->Width = AWidth < 1 ? 1 : AWidth;
    // Styled cosmetic pens are one pixel wide whatever was asked.
    if (pen->Style != PS_SOLID && pen->Style != PS_INSIDEFRAME && pen->Style != PS_NULL)
        pen->Width = 1;
    pen->Color = AColor & 0xFFFFFF;
    return Register(std::move(pen));
}

HPEN CreatePenIndirect(const LOGPEN* APen)
{
    if (APen == nullptr)
        return nullptr;
    return CreatePen(int(APen->lopnStyle), APen->lopnWidth.X, APen->lopnColor);
}

HPEN ExtCreatePen(DWORD AStyle, DWORD AWidth, const LOGBRUSH* ABrush, DWORD, const DWORD*)
{
    if (ABrush == nullptr)
        return nullptr;
    auto pen = std::make_unique<Pen>();
    pen->FullStyle = AStyle;
    pen->Style = AStyle & PS_STYLE_MASK;
    if (pen->Style > PS_ALTERNATE)
        return nullptr;
    pen->Width = (AStyle & PS_GEOMETRIC) != 0 && AWidth > 1 ? int(AWidth) : 1;
    pen->Color = ABrush->lbStyle == BS_NULL ? 0 : ABrush->lbColor & 0xFFFFFF;
    if (ABrush->lbStyle == BS_NULL)
        pen->Style = PS_NULL;
    return Register(std::move(pen));
}

HBRUSH CreateSolidBrush(COLORREF AColor)
{
    auto brush = std::make_unique<Brush>();
    brush->Color = AColor & 0xFFFFFF;
    return Register(std::move(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* ABrush)
{
    if (ABrush == nullptr)
        return nullptr;
    if (ABrush->lbStyle == BS_HATCHED)
        return CreateHatchBrush(int(ABrush->lbHatch), ABrush->lbColor);
    if (ABrush->lbStyle == BS_PATTERN)
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(ABrush->lbHatch));
    if (ABrush->lbStyle != BS_SOLID && ABrush->lbStyle != BS_NULL)
        return nullptr;
    auto brush = std::make_unique<Brush>();
    brush->Style = ABrush->lbStyle;
    brush->Color = ABrush->lbColor & 0xFFFFFF;
    return Register(std::move(brush));
}

HBRUSH CreateHatchBrush(int AHatch, COLORREF AColor)
{
    if (AHatch < HS_HORIZONTAL || AHatch > HS_DIAGCROSS)
        return nullptr;
    auto brush = std::make_unique<Brush>();
    brush->Style = BS_HATCHED;
    brush->Hatch = AHatch;
    brush->Color = AColor & 0xFFFFFF;
    return Register(std::move(brush));
}

HBRUSH CreatePatternBrush(HBITMAP ABitmap)
{
    const Bitmap* bitmap = Find<Bitmap>(ABitmap);
    if (bitmap == nullptr || !bitmap->Pixels.Valid())
        return nullptr;
    const Surface& s = bitmap->Pixels;
    auto brush = std::make_unique<Brush>();
    brush->Style = BS_PATTERN;
    brush->PatternBitmap = ABitmap;
    brush->PatternWidth = s.Width;
    brush->PatternHeight = s.Height;
    brush->Pattern.reserve(size_t(s.Width) * size_t(s.Height));
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x)
            brush->Pattern.push_back(s.Get(x, y) & 0x00FFFFFF);
    return Register(std::move(brush));
}

} // namespace win
