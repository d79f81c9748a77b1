#include "platform/gdi/dc.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_set>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/objects.h"

namespace win::detail {
namespace {

struct DCTable {
    std::mutex Lock;
    std::unordered_set<const DeviceContext*> Live;
};

DCTable& DCs()
{
    static auto* table = new DCTable;
    return *table;
}

void CopyRegion(pixman_region32_t& ADest, const pixman_region32_t& ASource)
{
    pixman_region32_copy(&ADest, const_cast<pixman_region32_t*>(&ASource));
}

} // namespace

DCState::DCState(const DCState& AOther)
    : SelectedBitmap(AOther.SelectedBitmap), SelectedPen(AOther.SelectedPen), SelectedBrush(AOther.SelectedBrush),
      SelectedFont(AOther.SelectedFont), WindowOrg(AOther.WindowOrg), ViewportOrg(AOther.ViewportOrg),
      HasClip(AOther.HasClip), StretchMode(AOther.StretchMode), Rop2(AOther.Rop2), BkMode(AOther.BkMode),
      BkColor(AOther.BkColor), TextColor(AOther.TextColor), Position(AOther.Position)
{
    pixman_region32_init(&Clip);
    CopyRegion(Clip, AOther.Clip);
}

DCState& DCState::operator=(const DCState& AOther)
{
    if (this == &AOther)
        return *this;
    SelectedBitmap = AOther.SelectedBitmap;
    SelectedPen = AOther.SelectedPen;
    SelectedBrush = AOther.SelectedBrush;
    SelectedFont = AOther.SelectedFont;
    WindowOrg = AOther.WindowOrg;
    ViewportOrg = AOther.ViewportOrg;
    HasClip = AOther.HasClip;
    CopyRegion(Clip, AOther.Clip);
    StretchMode = AOther.StretchMode;
    Rop2 = AOther.Rop2;
    BkMode = AOther.BkMode;
    BkColor = AOther.BkColor;
    TextColor = AOther.TextColor;
    Position = AOther.Position;
    return *this;
}

void DCState::HoldObjects() const
{
    Hold(SelectedBitmap);
    Hold(SelectedPen);
    Hold(SelectedBrush);
    Hold(SelectedFont);
}

void DCState::ReleaseObjects() const
{
    Release(SelectedBitmap);
    Release(SelectedPen);
    Release(SelectedBrush);
    Release(SelectedFont);
}

DC::DC()
{
    pixman_region32_init(&Visible);
    pixman_region32_init(&CachedClip);
}

DC::~DC()
{
    pixman_region32_fini(&Visible);
    pixman_region32_fini(&CachedClip);
}

void DC::VisibleArea(pixman_region32_t& AOut) const
{
    const Surface& s = Target();
    const int left = Kind == DCKind::Memory ? 0 : -Origin.X, top = Kind == DCKind::Memory ? 0 : -Origin.Y;
    pixman_region32_fini(&AOut);
    pixman_region32_init_rect(&AOut, left, top, unsigned(s.Width), unsigned(s.Height));
    if (HasVisible)
        pixman_region32_intersect(&AOut, &AOut, const_cast<pixman_region32_t*>(&Visible));
}

void DC::DeviceClip(pixman_region32_t& AOut) const
{
    VisibleArea(AOut);
    if (State.HasClip)
        pixman_region32_intersect(&AOut, &AOut, const_cast<pixman_region32_t*>(&State.Clip));
}

const pixman_region32_t& DC::SurfaceClip()
{
    if (ClipDirty) {
        DeviceClip(CachedClip);
        if (Kind == DCKind::Surface)
            pixman_region32_translate(&CachedClip, Origin.X, Origin.Y);
        ClipDirty = false;
    }
    return CachedClip;
}

DC* FindDC(HDC AHandle)
{
    if (AHandle == nullptr)
        return nullptr;
    DCTable& table = DCs();
    std::lock_guard lock(table.Lock);
    return table.Live.count(AHandle) != 0 ? static_cast<DC*>(AHandle) : nullptr;
}

namespace {

HDC RegisterDC(std::unique_ptr<DC> ADC)
{
    DC* dc = ADC.release();
    dc->State.SelectedPen = StockPen(BLACK_PEN);
    dc->State.SelectedBrush = StockBrush(WHITE_BRUSH);
    dc->State.SelectedFont = StockFont();
    if (dc->Kind == DCKind::Memory)
        dc->State.SelectedBitmap = StockBitmap();
    dc->State.HoldObjects();
    DCTable& table = DCs();
    std::lock_guard lock(table.Lock);
    table.Live.insert(dc);
    return dc;
}

bool ToSurface(const SurfaceDesc& ADesc, Surface& AOut)
{
    if (ADesc.Bits == nullptr || ADesc.Width <= 0 || ADesc.Height <= 0 || ADesc.Width > kMaxSurfaceSide ||
        ADesc.Height > kMaxSurfaceSide || std::abs(ADesc.Stride) < ADesc.Width * 4 || ADesc.Stride % 4 != 0)
        return false;
    AOut = Surface{static_cast<uint8_t*>(ADesc.Bits), ADesc.Width, ADesc.Height, ADesc.Stride, 32};
    return true;
}

bool Bind(DC& ADC, const SurfaceDesc& ASurface, TPoint AOrigin, HRGN AVisible)
{
    Surface s;
    if (!ToSurface(ASurface, s))
        return false;
    Region* visible = nullptr;
    if (AVisible != nullptr && (visible = Find<Region>(AVisible)) == nullptr)
        return false;
    ADC.External = s;
    ADC.Origin = AOrigin;
    ADC.HasVisible = visible != nullptr;
    if (visible != nullptr)
        CopyRegion(ADC.Visible, visible->Rgn);
    ADC.State.HasClip = false;
    ADC.Invalidate();
    return true;
}

struct Screen {
    std::mutex Lock;
    std::unique_ptr<uint32_t[]> Own;
    SurfaceDesc Desc;
};

Screen& TheScreen()
{
    static auto* screen = new Screen;
    return *screen;
}

} // namespace
} // namespace win::detail

namespace win {

using namespace detail;

HDC CreateSurfaceDC(const SurfaceDesc& ASurface, TPoint AOrigin, HRGN AVisible)
{
    auto dc = std::make_unique<DC>();
    dc->Kind = DCKind::Surface;
    if (!Bind(*dc, ASurface, AOrigin, AVisible))
        return nullptr;
    return RegisterDC(std::move(dc));
}

BOOL RebindSurfaceDC(HDC ADC, const SurfaceDesc& ASurface, TPoint AOrigin, HRGN AVisible)
{
    DC* dc = FindDC(ADC);
    return dc != nullptr && dc->Kind == DCKind::Surface && Bind(*dc, ASurface, AOrigin, AVisible);
}

void SetScreenSurface(const SurfaceDesc& ASurface)
{
    Screen& screen = TheScreen();
    std::lock_guard lock(screen.Lock);
    screen.Desc = ASurface;
}

SurfaceDesc GetScreenSurface()
{
    Screen& screen = TheScreen();
    std::lock_guard lock(screen.Lock);
    if (screen.Desc.Bits == nullptr) {
        constexpr int kWidth = 1280, kHeight = 1024;
        screen.Own = std::make_unique<uint32_t[]>(size_t(kWidth) * kHeight);
        screen.Desc = SurfaceDesc{screen.Own.get(), kWidth, kHeight, kWidth * 4};
    }
    return screen.Desc;
}

HDC CreateScreenDC() { return CreateSurfaceDC(GetScreenSurface(), {0, 0}, nullptr); }

HDC CreateDC(const char* ADriver, const char*, const char*, const void*)
{
    if (ADriver == nullptr || std::strcmp(ADriver, "DISPLAY") != 0)
        return nullptr;
    return CreateScreenDC();
}

HDC CreateCompatibleDC(HDC)
{
    auto dc = std::make_unique<DC>();
    dc->Kind = DCKind::Memory;
    return RegisterDC(std::move(dc));
}

BOOL DeleteDC(HDC ADC)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return FALSE;
    {
        DCTable& table = DCs();
        std::lock_guard lock(table.Lock);
        table.Live.erase(dc);
    }
    dc->State.ReleaseObjects();
    for (const DCState& saved : dc->Saved)
        saved.ReleaseObjects();
    delete dc;
    return TRUE;
}

namespace {

template <class T> HGDIOBJ Swap(T*& ASlot, T* ANew)
{
    T* old = ASlot;
    Hold(ANew);
    Release(old);
    ASlot = ANew;
    return old;
}

} // namespace

HGDIOBJ SelectObject(HDC ADC, HGDIOBJ AObject)
{
    DC* dc = FindDC(ADC);
    ObjectCore* object = FindObject(AObject);
    if (dc == nullptr || object == nullptr)
        return nullptr;
    DCState& s = dc->State;
    if (auto* pen = dynamic_cast<Pen*>(object))
        return Swap(s.SelectedPen, pen);
    if (auto* brush = dynamic_cast<Brush*>(object))
        return Swap(s.SelectedBrush, brush);
    if (auto* font = dynamic_cast<Font*>(object))
        return Swap(s.SelectedFont, font);
    if (auto* bitmap = dynamic_cast<Bitmap*>(object)) {
        if (dc->Kind != DCKind::Memory)
            return nullptr;
        dc->Invalidate();
        return Swap(s.SelectedBitmap, bitmap);
    }
    if (dynamic_cast<Region*>(object) != nullptr) {
        // Selecting a region sets the clip; Windows answers with the region kind cast to a handle.
        return reinterpret_cast<HGDIOBJ>(intptr_t(SelectClipRgn(ADC, static_cast<HRGN>(AObject))));
    }
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC ADC, UINT AType)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return nullptr;
    switch (AType) {
    case OBJ_PEN:
        return dc->State.SelectedPen;
    case OBJ_BRUSH:
        return dc->State.SelectedBrush;
    case OBJ_FONT:
        return dc->State.SelectedFont;
    case OBJ_BITMAP:
        return dc->State.SelectedBitmap;
    default:
        return nullptr;
    }
}

int GetDeviceCaps(HDC ADC, int AIndex)
{
    if (FindDC(ADC) == nullptr)
        return 0;
    const SurfaceDesc screen = GetScreenSurface();
    switch (AIndex) {
    case HORZRES:
        return screen.Width;
    case VERTRES:
        return screen.Height;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    default:
        return 0;
    }
}

UINT GetDCType(HDC ADC)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return 0;
    return dc->Kind == DCKind::Memory ? OBJ_MEMDC : OBJ_DC;
}

int SaveDC(HDC ADC)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return 0;
    dc->Saved.push_back(dc->State);
    dc->State.HoldObjects();
    return int(dc->Saved.size());
}

BOOL RestoreDC(HDC ADC, int ALevel)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || ALevel == 0)
        return FALSE;
    const int count = int(dc->Saved.size());
    const int level = ALevel > 0 ? ALevel : count + 1 + ALevel;
    if (level < 1 || level > count)
        return FALSE;
    dc->State.ReleaseObjects();
    dc->State = dc->Saved[size_t(level - 1)];
    for (int i = level; i < count; ++i)
        dc->Saved[size_t(i)].ReleaseObjects();
    dc->Saved.resize(size_t(level - 1));
    dc->Invalidate();
    return TRUE;
}

namespace {

BOOL SetOrigin(HDC ADC, POINT DCState::*AField, int AX, int AY, bool ARelative, POINT* AOld)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return FALSE;
    POINT& org = dc->State.*AField;
    if (AOld != nullptr)
        *AOld = org;
    org = ARelative ? POINT{org.X + AX, org.Y + AY} : POINT{AX, AY};
    return TRUE;
}

BOOL GetOrigin(HDC ADC, POINT DCState::*AField, POINT* APoint)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || APoint == nullptr)
        return FALSE;
    *APoint = dc->State.*AField;
    return TRUE;
}

} // namespace

BOOL SetWindowOrgEx(HDC ADC, int AX, int AY, POINT* AOld)
{
    return SetOrigin(ADC, &DCState::WindowOrg, AX, AY, false, AOld);
}
BOOL GetWindowOrgEx(HDC ADC, POINT* APoint) { return GetOrigin(ADC, &DCState::WindowOrg, APoint); }
BOOL OffsetWindowOrgEx(HDC ADC, int ADX, int ADY, POINT* AOld)
{
    return SetOrigin(ADC, &DCState::WindowOrg, ADX, ADY, true, AOld);
}
BOOL SetViewportOrgEx(HDC ADC, int AX, int AY, POINT* AOld)
{
    return SetOrigin(ADC, &DCState::ViewportOrg, AX, AY, false, AOld);
}
BOOL GetViewportOrgEx(HDC ADC, POINT* APoint) { return GetOrigin(ADC, &DCState::ViewportOrg, APoint); }
BOOL OffsetViewportOrgEx(HDC ADC, int ADX, int ADY, POINT* AOld)
{
    return SetOrigin(ADC, &DCState::ViewportOrg, ADX, ADY, true, AOld);
}

BOOL LPtoDP(HDC ADC, POINT* APoints, int ACount)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || (APoints == nullptr && ACount > 0))
        return FALSE;
    for (int i = 0; i < ACount; ++i)
        APoints[i] = dc->ToDevice(APoints[i].X, APoints[i].Y);
    return TRUE;
}

BOOL DPtoLP(HDC ADC, POINT* APoints, int ACount)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || (APoints == nullptr && ACount > 0))
        return FALSE;
    const POINT shift = dc->ToDevice(0, 0);
    for (int i = 0; i < ACount; ++i)
        APoints[i] = {APoints[i].X - shift.X, APoints[i].Y - shift.Y};
    return TRUE;
}

namespace {

int ClipKind(DC& ADC)
{
    pixman_region32_t clip;
    pixman_region32_init(&clip);
    ADC.DeviceClip(clip);
    const int kind = RegionKind(clip);
    pixman_region32_fini(&clip);
    return kind;
}

RECT DeviceRect(const DC& ADC, int ALeft, int ATop, int ARight, int ABottom)
{
    POINT a = ADC.ToDevice(ALeft, ATop), b = ADC.ToDevice(ARight, ABottom);
    return Normalised({a.X, a.Y, b.X, b.Y});
}

// Without a clip of its own a DC starts from its whole visible area.
pixman_region32_t& StartClip(DC& ADC)
{
    if (!ADC.State.HasClip) {
        ADC.VisibleArea(ADC.State.Clip);
        ADC.State.HasClip = true;
    }
    ADC.Invalidate();
    return ADC.State.Clip;
}

} // namespace

int SelectClipRgn(HDC ADC, HRGN ARegion)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return ERROR;
    if (ARegion == nullptr) {
        dc->State.HasClip = false;
    } else {
        Region* region = Find<Region>(ARegion);
        if (region == nullptr)
            return ERROR;
        CopyRegion(dc->State.Clip, region->Rgn);
        dc->State.HasClip = true;
    }
    dc->Invalidate();
    return ClipKind(*dc);
}

int IntersectClipRect(HDC ADC, int ALeft, int ATop, int ARight, int ABottom)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return ERROR;
    const RECT r = DeviceRect(*dc, ALeft, ATop, ARight, ABottom);
    pixman_region32_t& clip = StartClip(*dc);
    pixman_region32_intersect_rect(&clip, &clip, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()));
    return ClipKind(*dc);
}

int ExcludeClipRect(HDC ADC, int ALeft, int ATop, int ARight, int ABottom)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return ERROR;
    const RECT r = DeviceRect(*dc, ALeft, ATop, ARight, ABottom);
    pixman_region32_t& clip = StartClip(*dc);
    if (!RectEmpty(r)) {
        pixman_region32_t hole;
        pixman_region32_init_rect(&hole, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()));
        pixman_region32_subtract(&clip, &clip, &hole);
        pixman_region32_fini(&hole);
    }
    return ClipKind(*dc);
}

int OffsetClipRgn(HDC ADC, int ADX, int ADY)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return ERROR;
    if (dc->State.HasClip) {
        pixman_region32_translate(&dc->State.Clip, ADX, ADY);
        dc->Invalidate();
    }
    return ClipKind(*dc);
}

int GetClipBox(HDC ADC, RECT* ARect)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || ARect == nullptr)
        return ERROR;
    pixman_region32_t clip;
    pixman_region32_init(&clip);
    dc->DeviceClip(clip);
    const int kind = RegionKind(clip);
    const pixman_box32_t* e = pixman_region32_extents(&clip);
    const POINT shift = dc->ToDevice(0, 0);
    *ARect = kind == NULLREGION ? RECT{} : RECT{e->x1 - shift.X, e->y1 - shift.Y, e->x2 - shift.X, e->y2 - shift.Y};
    pixman_region32_fini(&clip);
    return kind;
}

int GetClipRgn(HDC ADC, HRGN ARegion)
{
    DC* dc = FindDC(ADC);
    Region* region = Find<Region>(ARegion);
    if (dc == nullptr || region == nullptr)
        return -1;
    if (!dc->State.HasClip)
        return 0;
    CopyRegion(region->Rgn, dc->State.Clip);
    return 1;
}

BOOL RectVisible(HDC ADC, const RECT* ARect)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr || ARect == nullptr)
        return FALSE;
    const RECT r = DeviceRect(*dc, ARect->Left, ARect->Top, ARect->Right, ARect->Bottom);
    if (RectEmpty(r))
        return FALSE;
    pixman_region32_t clip;
    pixman_region32_init(&clip);
    dc->DeviceClip(clip);
    pixman_box32_t box{r.Left, r.Top, r.Right, r.Bottom};
    const bool visible = pixman_region32_contains_rectangle(&clip, &box) != PIXMAN_REGION_OUT;
    pixman_region32_fini(&clip);
    return visible;
}

BOOL PtVisible(HDC ADC, int AX, int AY)
{
    RECT r{AX, AY, AX + 1, AY + 1};
    return RectVisible(ADC, &r);
}

namespace {

template <class T> T SetField(HDC ADC, T DCState::*AField, T AValue, T AFailure)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return AFailure;
    T old = dc->State.*AField;
    dc->State.*AField = AValue;
    return old;
}

template <class T> T GetField(HDC ADC, T DCState::*AField, T AFailure)
{
    DC* dc = FindDC(ADC);
    return dc == nullptr ? AFailure : dc->State.*AField;
}

} // namespace

int SetStretchBltMode(HDC ADC, int AMode)
{
    if (AMode < BLACKONWHITE || AMode > HALFTONE)
        return 0;
    return SetField(ADC, &DCState::StretchMode, AMode, 0);
}
int GetStretchBltMode(HDC ADC) { return GetField(ADC, &DCState::StretchMode, 0); }
int SetROP2(HDC ADC, int AMode)
{
    if (AMode < R2_BLACK || AMode > R2_WHITE)
        return 0;
    return SetField(ADC, &DCState::Rop2, AMode, 0);
}
int GetROP2(HDC ADC) { return GetField(ADC, &DCState::Rop2, 0); }
int SetBkMode(HDC ADC, int AMode)
{
    if (AMode != TRANSPARENT && AMode != OPAQUE)
        return 0;
    return SetField(ADC, &DCState::BkMode, AMode, 0);
}
int GetBkMode(HDC ADC) { return GetField(ADC, &DCState::BkMode, 0); }
COLORREF SetBkColor(HDC ADC, COLORREF AColor)
{
    return SetField(ADC, &DCState::BkColor, AColor & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetBkColor(HDC ADC) { return GetField(ADC, &DCState::BkColor, CLR_INVALID); }
COLORREF SetTextColor(HDC ADC, COLORREF AColor)
{
    return SetField(ADC, &DCState::TextColor, AColor & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetTextColor(HDC ADC) { return GetField(ADC, &DCState::TextColor, CLR_INVALID); }

BOOL MoveToEx(HDC ADC, int AX, int AY, POINT* AOld)
{
    DC* dc = FindDC(ADC);
    if (dc == nullptr)
        return FALSE;
    if (AOld != nullptr)
        *AOld = dc->State.Position;
    dc->State.Position = {AX, AY};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC ADC, POINT* APoint) { return GetOrigin(ADC, &DCState::Position, APoint); }

BOOL GdiFlush() { return TRUE; }

} // namespace win
