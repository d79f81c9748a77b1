#include "platform/win/icons.h"

#include "platform/gdi/gdi.h"
#include "platform/win/geometry.h"
#include "platform/win/stock_icons.h"
#include "platform/win/styles.h"
#include "platform/win/window_state.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>

struct win::HICON__ {
    int Width = 0;
    int Height = 0;
    bool IsIcon = true;
    TPoint HotSpot;
    bool HasAlpha = false;          // Color's alpha decides; the mask only answers DI_MASK and GetIconInfo
    bool Shared = false;            // a stock icon: never destroyed
    uint64_t Serial = 0;
    std::vector<uint32_t> Color;    // 0xAARRGGBB, straight alpha, rows top-down
    std::vector<uint8_t> Mask;      // 1 = transparent
};

namespace win {

namespace {

struct TIconTable {
    std::mutex Lock;
    std::set<HICON> Live;
    std::map<uintptr_t, HICON> Stock;
    std::map<HWND, std::pair<HICON, HICON>> WindowIcons;  // small, big
};

TIconTable& Table()
{
    static TIconTable* table = new TIconTable;
    return *table;
}

std::atomic<uint64_t> g_serial{1};

// A copy of the icon under the table's lock, so that a concurrent DestroyIcon cannot pull it away.
std::optional<HICON__> Snapshot(HICON AIcon)
{
    std::lock_guard lock(Table().Lock);
    if (!AIcon || !Table().Live.count(AIcon))
        return std::nullopt;
    return *AIcon;
}

HICON Register(std::unique_ptr<HICON__> AIcon)
{
    AIcon->Serial = g_serial++;
    HICON handle = AIcon.release();
    std::lock_guard lock(Table().Lock);
    Table().Live.insert(handle);
    return handle;
}

uint32_t Premultiply(uint32_t APixel)
{
    uint32_t a = APixel >> 24;
    auto channel = [&](int AShift) { return ((((APixel >> AShift) & 0xFF) * a + 127) / 255) << AShift; };
    return (a << 24) | channel(16) | channel(8) | channel(0);
}

std::vector<uint32_t> PremultipliedPixels(const HICON__& AIcon)
{
    std::vector<uint32_t> result(AIcon.Color.size());
    for (size_t i = 0; i < result.size(); ++i) {
        if (AIcon.HasAlpha)
            result[i] = Premultiply(AIcon.Color[i]);
        else
            result[i] = AIcon.Mask[i] ? 0 : (AIcon.Color[i] | 0xFF000000u);  // inverting pixels cannot show
    }
    return result;
}

// The header of a top-down DIB of AWidth x AHeight.
BITMAPINFO TopDownInfo(int AWidth, int AHeight, WORD ABitCount = 32)
{
    BITMAPINFO info{};
    info.bmiHeader.biWidth = AWidth;
    info.bmiHeader.biHeight = -AHeight;
    info.bmiHeader.biBitCount = ABitCount;
    return info;
}

// The pixels of any bitmap as 32-bit rows top-down; its bit depth in ABitCount.
bool ReadBitmap(HBITMAP ABitmap, int& AWidth, int& AHeight, int& ABitCount, std::vector<uint32_t>& APixels)
{
    BITMAP bm{};
    if (!ABitmap || !GetObject(ABitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    AWidth = bm.bmWidth;
    AHeight = bm.bmHeight;
    ABitCount = bm.bmBitsPixel;
    BITMAPINFO info = TopDownInfo(AWidth, AHeight);
    APixels.assign(static_cast<size_t>(AWidth) * AHeight, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, ABitmap, 0, static_cast<UINT>(AHeight), APixels.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    return lines == AHeight;
}

// A 32-bit top-down DIB section holding APixels.
HBITMAP MakeBitmap(int AWidth, int AHeight, const uint32_t* APixels)
{
    BITMAPINFO info = TopDownInfo(AWidth, AHeight);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && APixels)
        std::copy_n(APixels, static_cast<size_t>(AWidth) * AHeight, static_cast<uint32_t*>(bits));
    return bitmap;
}

bool IsWhite(uint32_t APixel) { return ((APixel >> 16) & 0xFF) + ((APixel >> 8) & 0xFF) + (APixel & 0xFF) >= 3 * 128; }

// APixels scaled to AWidth x AHeight, filtered; premultiplied in and out.
std::vector<uint32_t> Scale(const std::vector<uint32_t>& APixels, int AFromWidth, int AFromHeight, int AWidth,
                            int AHeight)
{
    std::vector<uint32_t> result(static_cast<size_t>(AWidth) * AHeight, 0);
    HBITMAP source = MakeBitmap(AFromWidth, AFromHeight, APixels.data());
    HBITMAP target = MakeBitmap(AWidth, AHeight, nullptr);
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ old_from = SelectObject(from, source);
    HGDIOBJ old_to = SelectObject(to, target);
    SetStretchBltMode(to, HALFTONE);
    StretchBlt(to, 0, 0, AWidth, AHeight, from, 0, 0, AFromWidth, AFromHeight, SRCCOPY);
    BITMAPINFO info = TopDownInfo(AWidth, AHeight);
    SelectObject(to, old_to);
    GetDIBits(to, target, 0, static_cast<UINT>(AHeight), result.data(), &info, DIB_RGB_COLORS);
    SelectObject(from, old_from);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(source);
    DeleteObject(target);
    return result;
}

std::unique_ptr<HICON__> ScaledCopy(const HICON__& AIcon, int AWidth, int AHeight)
{
    auto copy = std::make_unique<HICON__>(AIcon);
    copy->Shared = false;
    if (AWidth == AIcon.Width && AHeight == AIcon.Height)
        return copy;
    // Through premultiplied pixels, so that the filter does not bleed the colour of transparent pixels.
    std::vector<uint32_t> scaled = Scale(PremultipliedPixels(AIcon), AIcon.Width, AIcon.Height, AWidth, AHeight);
    copy->Width = AWidth;
    copy->Height = AHeight;
    copy->HasAlpha = true;
    copy->Color.resize(scaled.size());
    copy->Mask.resize(scaled.size());
    for (size_t i = 0; i < scaled.size(); ++i) {
        copy->Color[i] = UnpremultipliedPixel(scaled[i]);
        copy->Mask[i] = (scaled[i] >> 24) < 128;
    }
    copy->HotSpot = {AIcon.HotSpot.X * AWidth / std::max(1, AIcon.Width),
                     AIcon.HotSpot.Y * AHeight / std::max(1, AIcon.Height)};
    return copy;
}

// Through the pixels as read, so that a bitmap selected into some DC can be copied too.
HANDLE CopyBitmap(HBITMAP ABitmap, int ACX, int ACY)
{
    int width, height, bits;
    std::vector<uint32_t> pixels;
    if (!ReadBitmap(ABitmap, width, height, bits, pixels))
        return nullptr;
    int to_width = ACX > 0 ? ACX : width, to_height = ACY > 0 ? ACY : height;
    BITMAPINFO info = TopDownInfo(to_width, to_height, static_cast<WORD>(bits == 24 ? 24 : 32));
    void* target_bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &target_bits, nullptr, 0);
    HBITMAP plain = MakeBitmap(width, height, pixels.data());
    if (!copy || !plain) {
        DeleteObject(copy);
        DeleteObject(plain);
        return nullptr;
    }
    HDC from = CreateCompatibleDC(nullptr);
    HDC to = CreateCompatibleDC(nullptr);
    HGDIOBJ old_from = SelectObject(from, plain);
    HGDIOBJ old_to = SelectObject(to, copy);
    SetStretchBltMode(to, HALFTONE);
    BOOL done = StretchBlt(to, 0, 0, to_width, to_height, from, 0, 0, width, height, SRCCOPY);
    SelectObject(from, old_from);
    SelectObject(to, old_to);
    DeleteDC(from);
    DeleteDC(to);
    DeleteObject(plain);
    if (!done) {
        DeleteObject(copy);
        return nullptr;
    }
    return copy;
}

}  // namespace

HICON CreateIconIndirect(const ICONINFO* AInfo)
{
    if (!AInfo || !AInfo->hbmMask)
        return nullptr;
    int mask_width, mask_height, mask_bits;
    std::vector<uint32_t> mask;
    if (!ReadBitmap(AInfo->hbmMask, mask_width, mask_height, mask_bits, mask))
        return nullptr;
    auto icon = std::make_unique<HICON__>();
    icon->IsIcon = AInfo->fIcon;
    if (AInfo->hbmColor) {
        int bits;
        if (!ReadBitmap(AInfo->hbmColor, icon->Width, icon->Height, bits, icon->Color))
            return nullptr;
        if (mask_width < icon->Width || mask_height < icon->Height)
            return nullptr;
        icon->Mask.resize(icon->Color.size());
        for (int y = 0; y < icon->Height; ++y)
            for (int x = 0; x < icon->Width; ++x)
                icon->Mask[static_cast<size_t>(y) * icon->Width + x] =
                    IsWhite(mask[static_cast<size_t>(y) * mask_width + x]);
        if (bits == 32)
            for (uint32_t pixel : icon->Color)
                icon->HasAlpha = icon->HasAlpha || (pixel >> 24) != 0;
        if (!icon->HasAlpha)
            for (uint32_t& pixel : icon->Color)
                pixel &= 0xFFFFFF;
    } else {
        // Monochrome: the AND rows, then the XOR rows.
        if (mask_height < 2)
            return nullptr;
        icon->Width = mask_width;
        icon->Height = mask_height / 2;
        size_t count = static_cast<size_t>(icon->Width) * icon->Height;
        icon->Color.resize(count);
        icon->Mask.resize(count);
        for (size_t i = 0; i < count; ++i) {
            icon->Mask[i] = IsWhite(mask[i]);
            icon->Color[i] = IsWhite(mask[count + i]) ? 0xFFFFFF : 0;
        }
    }
    if (!icon->IsIcon)
        icon->HotSpot = {static_cast<int>(std::min<DWORD>(AInfo->xHotspot, icon->Width - 1)),
                         static_cast<int>(std::min<DWORD>(AInfo->yHotspot, icon->Height - 1))};
    return Register(std::move(icon));
}

HICON CreateIconFromPixels(int AWidth, int AHeight, const uint32_t* APixels, bool AIsIcon, TPoint AHotSpot)
{
    if (AWidth <= 0 || AHeight <= 0 || !APixels)
        return nullptr;
    auto icon = std::make_unique<HICON__>();
    icon->Width = AWidth;
    icon->Height = AHeight;
    icon->IsIcon = AIsIcon;
    icon->HotSpot = AIsIcon ? TPoint{} : TPoint{std::clamp(AHotSpot.X, 0, AWidth - 1), std::clamp(AHotSpot.Y, 0, AHeight - 1)};
    icon->HasAlpha = true;
    icon->Color.assign(APixels, APixels + static_cast<size_t>(AWidth) * AHeight);
    icon->Mask.resize(icon->Color.size());
    for (size_t i = 0; i < icon->Color.size(); ++i)
        icon->Mask[i] = (icon->Color[i] >> 24) < 128;
    return Register(std::move(icon));
}

BOOL DestroyIcon(HICON AIcon)
{
    std::unique_ptr<HICON__> gone;
    std::lock_guard lock(Table().Lock);
    auto it = Table().Live.find(AIcon);
    if (it == Table().Live.end())
        return FALSE;
    if (AIcon->Shared)
        return TRUE;
    Table().Live.erase(it);
    gone.reset(AIcon);
    return TRUE;
}

BOOL DestroyCursor(HCURSOR ACursor) { return DestroyIcon(CursorAsIcon(ACursor)); }

BOOL GetIconInfo(HICON AIcon, ICONINFO* AInfo)
{
    auto icon = Snapshot(AIcon);
    if (!icon || !AInfo)
        return FALSE;
    std::vector<uint32_t> mask(icon->Mask.size());
    for (size_t i = 0; i < mask.size(); ++i)
        mask[i] = icon->Mask[i] ? 0xFFFFFF : 0;
    AInfo->fIcon = icon->IsIcon;
    AInfo->xHotspot = static_cast<DWORD>(icon->IsIcon ? icon->Width / 2 : icon->HotSpot.X);
    AInfo->yHotspot = static_cast<DWORD>(icon->IsIcon ? icon->Height / 2 : icon->HotSpot.Y);
    AInfo->hbmMask = MakeBitmap(icon->Width, icon->Height, mask.data());
    AInfo->hbmColor = MakeBitmap(icon->Width, icon->Height, icon->Color.data());
    return AInfo->hbmMask && AInfo->hbmColor;
}

HICON CopyIcon(HICON AIcon)
{
    auto icon = Snapshot(AIcon);
    if (!icon)
        return nullptr;
    return Register(ScaledCopy(*icon, icon->Width, icon->Height));
}

HICON LoadIcon(void* AInstance, uintptr_t AId)
{
    if (AInstance)
        return nullptr;  // icons of a module's resources: there are none
    {
        std::lock_guard lock(Table().Lock);
        if (auto it = Table().Stock.find(AId); it != Table().Stock.end())
            return it->second;
    }
    constexpr int size = 32;
    std::vector<uint32_t> pixels = DrawStockIcon(AId, size);
    if (pixels.empty())
        return nullptr;
    auto icon = std::make_unique<HICON__>();
    icon->Width = icon->Height = size;
    icon->HasAlpha = true;
    icon->Shared = true;
    icon->Color = std::move(pixels);
    icon->Mask.resize(icon->Color.size());
    for (size_t i = 0; i < icon->Color.size(); ++i)
        icon->Mask[i] = (icon->Color[i] >> 24) < 128;
    icon->Serial = g_serial++;
    std::lock_guard lock(Table().Lock);
    auto [it, added] = Table().Stock.emplace(AId, icon.get());
    if (added)
        Table().Live.insert(icon.release());
    return it->second;
}

BOOL DrawIconEx(HDC ADC, int AX, int AY, HICON AIcon, int ACX, int ACY, UINT, HBRUSH, UINT AFlags)
{
    auto icon = Snapshot(AIcon);
    if (!icon || !(AFlags & DI_NORMAL))
        return FALSE;
    int width = ACX > 0 ? ACX : (AFlags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : icon->Width;
    int height = ACY > 0 ? ACY : (AFlags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : icon->Height;
    std::vector<uint32_t> picture;
    bool blend = false;
    auto mask_picture = [&] {
        picture.resize(icon->Mask.size());
        for (size_t i = 0; i < picture.size(); ++i)
            picture[i] = icon->Mask[i] ? 0xFFFFFF : 0;
    };
    if ((AFlags & DI_NORMAL) == DI_NORMAL && icon->HasAlpha) {
        picture = PremultipliedPixels(*icon);
        blend = true;
    } else if ((AFlags & DI_NORMAL) == DI_NORMAL) {
        // The mask clears what the picture then inverts into place.
        mask_picture();
        HBITMAP bitmap = MakeBitmap(icon->Width, icon->Height, picture.data());
        HDC source = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(source, bitmap);
        int mode = SetStretchBltMode(ADC, COLORONCOLOR);
        BOOL result = StretchBlt(ADC, AX, AY, width, height, source, 0, 0, icon->Width, icon->Height, SRCAND);
        SelectObject(source, old);
        DeleteObject(bitmap);
        bitmap = MakeBitmap(icon->Width, icon->Height, icon->Color.data());
        old = SelectObject(source, bitmap);
        result = result && StretchBlt(ADC, AX, AY, width, height, source, 0, 0, icon->Width, icon->Height, SRCINVERT);
        SetStretchBltMode(ADC, mode);
        SelectObject(source, old);
        DeleteObject(bitmap);
        DeleteDC(source);
        return result;
    } else if (AFlags & DI_MASK) {
        mask_picture();
    } else {
        picture = icon->HasAlpha ? PremultipliedPixels(*icon) : icon->Color;
    }
    HBITMAP bitmap = MakeBitmap(icon->Width, icon->Height, picture.data());
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    BOOL result;
    if (blend) {
        BLENDFUNCTION function;
        function.AlphaFormat = AC_SRC_ALPHA;
        result = AlphaBlend(ADC, AX, AY, width, height, source, 0, 0, icon->Width, icon->Height, function);
    } else {
        int mode = SetStretchBltMode(ADC, COLORONCOLOR);
        result = StretchBlt(ADC, AX, AY, width, height, source, 0, 0, icon->Width, icon->Height, SRCCOPY);
        SetStretchBltMode(ADC, mode);
    }
    SelectObject(source, old);
    DeleteObject(bitmap);
    DeleteDC(source);
    return result;
}

BOOL DrawIcon(HDC ADC, int AX, int AY, HICON AIcon) { return DrawIconEx(ADC, AX, AY, AIcon, 0, 0, 0, nullptr, DI_NORMAL); }

HANDLE CopyImage(HANDLE AImage, UINT AType, int ACX, int ACY, UINT AFlags)
{
    HANDLE copy = nullptr;
    if (AType == IMAGE_BITMAP) {
        auto* bitmap = static_cast<HBITMAP>(static_cast<GdiObject*>(AImage));
        if (!AImage || GetObjectType(bitmap) != OBJ_BITMAP)
            return nullptr;
        copy = CopyBitmap(bitmap, ACX, ACY);
        if (copy && (AFlags & LR_COPYDELETEORG))
            DeleteObject(bitmap);
        return copy;
    }
    if (AType != IMAGE_ICON && AType != IMAGE_CURSOR)
        return nullptr;
    auto original = static_cast<HICON>(AImage);
    auto icon = Snapshot(original);
    if (!icon)
        return nullptr;
    copy = Register(ScaledCopy(*icon, ACX > 0 ? ACX : icon->Width, ACY > 0 ? ACY : icon->Height));
    if (AFlags & LR_COPYDELETEORG)
        DestroyIcon(original);
    return copy;
}

uint32_t UnpremultipliedPixel(uint32_t APixel)
{
    uint32_t a = APixel >> 24;
    if (a == 0)
        return 0;
    auto channel = [&](int AShift) {
        return std::min<uint32_t>(255, (((APixel >> AShift) & 0xFF) * 255 + a / 2) / a) << AShift;
    };
    return (a << 24) | channel(16) | channel(8) | channel(0);
}

bool GetIconImage(HICON AIcon, TIconImage& AImage)
{
    auto icon = Snapshot(AIcon);
    if (!icon)
        return false;
    AImage.Width = icon->Width;
    AImage.Height = icon->Height;
    AImage.IsIcon = icon->IsIcon;
    AImage.HotSpot = icon->HotSpot;
    AImage.Serial = icon->Serial;
    AImage.Pixels = PremultipliedPixels(*icon);
    return true;
}

HICON SetWindowIcon(HWND AWindow, WPARAM AKind, HICON AIcon)
{
    HICON old;
    bool top_level;
    {
        wm::TLock lock(wm::State().Lock);
        wm::TWindow* window = wm::Find(AWindow);
        if (!window)
            return nullptr;
        top_level = wm::IsTopLevel(*window);
        std::lock_guard table_lock(Table().Lock);
        auto& icons = Table().WindowIcons[AWindow];
        HICON& slot = AKind == ICON_BIG ? icons.second : icons.first;
        old = slot;
        slot = AIcon;
    }
    if (top_level && old != AIcon)
        wm::NotifyTopLevelChanged(AWindow);
    return old;
}

HICON GetWindowIcon(HWND AWindow, WPARAM AKind)
{
    {
        wm::TLock lock(wm::State().Lock);
        if (!wm::Find(AWindow))
            return nullptr;
    }
    std::lock_guard lock(Table().Lock);
    auto it = Table().WindowIcons.find(AWindow);
    if (it == Table().WindowIcons.end())
        return nullptr;
    return AKind == ICON_BIG ? it->second.second : it->second.first;
}

}  // namespace win
