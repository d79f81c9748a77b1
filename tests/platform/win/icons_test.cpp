#include "win_fixture.h"

namespace wintest {
namespace {

// A 32-bit top-down bitmap of APixels, and a canvas to draw icons on, read back pixel by pixel.
HBITMAP Bitmap(int AWidth, int AHeight, const std::vector<uint32_t>& APixels)
{
    BITMAPINFO info{};
    info.bmiHeader.biWidth = AWidth;
    info.bmiHeader.biHeight = -AHeight;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::copy(APixels.begin(), APixels.end(), static_cast<uint32_t*>(bits));
    return bitmap;
}

std::vector<uint32_t> Pixels(HBITMAP ABitmap, int& AWidth, int& AHeight)
{
    BITMAP bm{};
    GetObject(ABitmap, sizeof bm, &bm);
    AWidth = bm.bmWidth;
    AHeight = bm.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader.biWidth = AWidth;
    info.bmiHeader.biHeight = -AHeight;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> result(static_cast<size_t>(AWidth) * AHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, ABitmap, 0, static_cast<UINT>(AHeight), result.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    return result;
}

class TCanvasDC {
public:
    TCanvasDC(int AWidth, int AHeight, uint32_t AFill) : FWidth(AWidth)
    {
        FBitmap = Bitmap(AWidth, AHeight, std::vector<uint32_t>(static_cast<size_t>(AWidth) * AHeight, AFill));
        FDC = CreateCompatibleDC(nullptr);
        FOld = SelectObject(FDC, FBitmap);
    }
    ~TCanvasDC()
    {
        SelectObject(FDC, FOld);
        DeleteDC(FDC);
        DeleteObject(FBitmap);
    }
    HDC DC() const { return FDC; }
    uint32_t At(int AX, int AY) const
    {
        int w, h;
        return Pixels(FBitmap, w, h)[static_cast<size_t>(AY) * FWidth + AX] & 0xFFFFFF;
    }

private:
    int FWidth;
    HBITMAP FBitmap;
    HDC FDC;
    HGDIOBJ FOld;
};

// 4 x 4: left half red and opaque, right half masked (its colour green would only show through the XOR).
HICON MaskedIcon(BOOL AIsIcon = TRUE, DWORD AHotX = 0, DWORD AHotY = 0)
{
    std::vector<uint32_t> color(16), mask(16);
    for (int i = 0; i < 16; ++i) {
        bool left = i % 4 < 2;
        color[i] = left ? 0xFF0000 : 0x000000;
        mask[i] = left ? 0x000000 : 0xFFFFFF;
    }
    ICONINFO info;
    info.fIcon = AIsIcon;
    info.xHotspot = AHotX;
    info.yHotspot = AHotY;
    info.hbmColor = Bitmap(4, 4, color);
    info.hbmMask = Bitmap(4, 4, mask);
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return icon;
}

class Icons : public TWinFixture {};

TEST_F(Icons, DrawIconExHonoursTheMaskTheFlagsAndTheSize)
{
    HICON icon = MaskedIcon();
    ASSERT_NE(icon, nullptr);
    struct TCase {
        const char* Name;
        UINT Flags;
        int Size;
        uint32_t Left, Right;  // pixels at (0, 0) and (Size - 1, 0)
    };
    const TCase cases[] = {
        {"normal", DI_NORMAL, 0, 0xFF0000, 0x0000FF},
        {"mask alone", DI_MASK, 0, 0x000000, 0xFFFFFF},
        {"image alone", DI_IMAGE, 0, 0xFF0000, 0x000000},
        {"stretched", DI_NORMAL, 8, 0xFF0000, 0x0000FF},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TCanvasDC canvas(10, 10, 0x0000FF);
        EXPECT_TRUE(DrawIconEx(canvas.DC(), 1, 1, icon, c.Size, c.Size, 0, nullptr, c.Flags));
        int size = c.Size ? c.Size : 4;
        EXPECT_EQ(canvas.At(1, 1), c.Left);
        EXPECT_EQ(canvas.At(size, 1), c.Right);
        EXPECT_EQ(canvas.At(size / 2, size), c.Left);  // the left half reaches the middle
        EXPECT_EQ(canvas.At(size + 1, 1), 0x0000FFu);  // nothing beyond the icon
    }
    EXPECT_FALSE(DrawIconEx(nullptr, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(DestroyIcon(icon));
    TCanvasDC canvas(4, 4, 0);
    EXPECT_FALSE(DrawIconEx(canvas.DC(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));  // destroyed
    EXPECT_FALSE(DestroyIcon(icon));
}

TEST_F(Icons, AnIconWithAlphaBlendsByItsAlpha)
{
    std::vector<uint32_t> color = {0xFFFF0000, 0x80FF0000, 0x00FF0000, 0xFF00FF00};
    ICONINFO info;
    info.hbmColor = Bitmap(2, 2, color);
    info.hbmMask = Bitmap(2, 2, std::vector<uint32_t>(4, 0xFFFFFF));  // an all-clear mask does not matter
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    TCanvasDC canvas(2, 2, 0x000000);
    EXPECT_TRUE(DrawIconEx(canvas.DC(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.At(0, 0), 0xFF0000u);
    EXPECT_NEAR(static_cast<int>(canvas.At(1, 0) >> 16), 0x80, 1);
    EXPECT_EQ(canvas.At(0, 1), 0x000000u);
    EXPECT_EQ(canvas.At(1, 1), 0x00FF00u);
    DestroyIcon(icon);
}

TEST_F(Icons, IconInfoRoundTripsAndKeepsTheCursorsHotSpot)
{
    HICON cursor = MaskedIcon(FALSE, 3, 9);  // the hot spot stays inside the picture
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 3u);
    int width, height;
    std::vector<uint32_t> mask = Pixels(info.hbmMask, width, height);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 4);
    EXPECT_EQ(mask[0] & 0xFFFFFF, 0u);
    EXPECT_EQ(mask[3] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(Pixels(info.hbmColor, width, height)[0] & 0xFFFFFF, 0xFF0000u);

    HICON again = CreateIconIndirect(&info);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    TIconImage first, second;
    ASSERT_TRUE(GetIconImage(cursor, first));
    ASSERT_TRUE(GetIconImage(again, second));
    EXPECT_EQ(first.Pixels, second.Pixels);
    EXPECT_EQ(second.HotSpot, Point(3, 3));
    EXPECT_FALSE(second.IsIcon);
    EXPECT_NE(first.Serial, second.Serial);
    EXPECT_TRUE(DestroyCursor(IconAsCursor(cursor)));
    DestroyIcon(again);
    EXPECT_FALSE(GetIconInfo(cursor, &info));

    // A monochrome icon: the mask twice as high, AND rows over XOR rows.
    std::vector<uint32_t> mono(2 * 2 * 2, 0);
    mono[1] = 0xFFFFFF;  // AND: top-right clear
    mono[4] = 0xFFFFFF;  // XOR: top-left white
    ICONINFO plain;
    plain.hbmMask = Bitmap(2, 4, mono);
    HICON icon = CreateIconIndirect(&plain);
    DeleteObject(plain.hbmMask);
    TIconImage image;
    ASSERT_TRUE(GetIconImage(icon, image));
    EXPECT_EQ(image.Width, 2);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(image.Pixels, (std::vector<uint32_t>{0xFFFFFFFF, 0, 0xFF000000, 0xFF000000}));
    DestroyIcon(icon);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
}

TEST_F(Icons, CopyImageScalesIconsAndBitmaps)
{
    HICON icon = MaskedIcon();
    auto small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 2, 2, 0));
    TIconImage image;
    ASSERT_TRUE(GetIconImage(small, image));
    EXPECT_EQ(image.Width, 2);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(image.Pixels[0], 0xFFFF0000u);  // the opaque half
    EXPECT_EQ(image.Pixels[1] >> 24, 0u);     // the masked half
    auto same = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 0, 0, LR_COPYDELETEORG));
    ASSERT_TRUE(GetIconImage(same, image));
    EXPECT_EQ(image.Width, 4);
    EXPECT_FALSE(DestroyIcon(icon));  // the original went with the copy
    DestroyIcon(small);
    DestroyIcon(same);

    std::vector<uint32_t> pixels(6 * 4, 0x00123456);
    HBITMAP bitmap = Bitmap(6, 4, pixels);
    auto copy = static_cast<HBITMAP>(static_cast<GdiObject*>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
    auto larger = static_cast<HBITMAP>(static_cast<GdiObject*>(CopyImage(bitmap, IMAGE_BITMAP, 12, 8, 0)));
    int width, height;
    EXPECT_EQ(Pixels(copy, width, height), pixels);
    std::vector<uint32_t> grown = Pixels(larger, width, height);
    EXPECT_EQ(width, 12);
    EXPECT_EQ(height, 8);
    EXPECT_EQ(grown[5 * 12 + 7] & 0xFFFFFF, 0x123456u);
    for (HBITMAP b : {bitmap, copy, larger})
        DeleteObject(b);
    EXPECT_EQ(CopyImage(nullptr, IMAGE_BITMAP, 0, 0, 0), nullptr);
    EXPECT_EQ(CopyImage(icon, IMAGE_ICON, 0, 0, 0), nullptr);  // destroyed
}

TEST_F(Icons, StockIconsAreSharedAndDrawnInTheirColours)
{
    struct TCase {
        uintptr_t Id;
        TPoint Where;     // a point on the icon's body
        uint32_t Colour;  // 0xRRGGBB there
    };
    const TCase cases[] = {
        {IDI_APPLICATION, {16, 24}, 0xFFFFFF},  // the window's client area
        {IDI_ERROR, {4, 16}, 0xD32F2F},
        {IDI_QUESTION, {4, 16}, 0x1E66C8},
        {IDI_WARNING, {10, 24}, 0xF5C518},
        {IDI_INFORMATION, {4, 16}, 0x1E66C8},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Id);
        HICON icon = LoadIcon(nullptr, c.Id);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(LoadIcon(nullptr, c.Id), icon);
        EXPECT_TRUE(DestroyIcon(icon));  // shared: stays
        TIconImage image;
        ASSERT_TRUE(GetIconImage(icon, image));
        EXPECT_EQ(image.Width, 32);
        EXPECT_EQ(image.Height, 32);
        EXPECT_EQ(image.Pixels[0] >> 24, 0u);  // the corner is clear
        EXPECT_EQ(image.Pixels[static_cast<size_t>(c.Where.Y) * 32 + c.Where.X], 0xFF000000u | c.Colour);
    }
    EXPECT_EQ(LoadIcon(nullptr, IDI_HAND), LoadIcon(nullptr, IDI_ERROR));
    EXPECT_EQ(LoadIcon(nullptr, 12345), nullptr);
}

TEST_F(Icons, WindowsKeepTheirBigAndSmallIcons)
{
    HWND window = Create(0, WS_POPUP, Bounds(0, 0, 10, 10));
    HICON big = LoadIcon(nullptr, IDI_APPLICATION), small = MaskedIcon();
    EXPECT_EQ(SendMessage(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
    SendMessage(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(window, WM_GETICON, ICON_BIG, 0)), big);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(window, WM_GETICON, ICON_SMALL, 0)), small);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessage(window, WM_SETICON, ICON_BIG, 0)), big);
    EXPECT_EQ(GetWindowIcon(window, ICON_BIG), nullptr);
    DestroyIcon(small);
}

}  // namespace
}  // namespace wintest
