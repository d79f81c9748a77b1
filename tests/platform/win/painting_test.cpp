#include "win_fixture.h"

namespace wintest {
namespace {

// Surface pixels are 0x..RRGGBB; colours are 0x00BBGGRR.
uint32_t AsPixel(COLORREF AColor) { return (GetRValue(AColor) << 16) | (GetGValue(AColor) << 8) | GetBValue(AColor); }

class Painting : public TWinFixture {
protected:
    uint32_t SurfacePixel(HWND ATopLevel, int AX, int AY)
    {
        TTopLevelView view;
        EXPECT_TRUE(ViewTopLevel(ATopLevel, view));
        return view.Pixels[static_cast<size_t>(AY) * view.Width + AX] & 0xFFFFFF;
    }
    uint32_t ScreenPixel(int AX, int AY)
    {
        auto screen = Screen.ComposeScreen();
        return screen[static_cast<size_t>(AY) * Screen.ScreenSize().cx + AX] & 0xFFFFFF;
    }
    void FillClient(HWND AWindow, COLORREF AColor)
    {
        HDC dc = GetDC(AWindow);
        TRect client;
        GetClientRect(AWindow, client);
        HBRUSH brush = CreateSolidBrush(AColor);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        ReleaseDC(AWindow, dc);
    }
};

TEST_F(Painting, InvalidationBecomesOnePaintWithTheUpdateArea)
{
    HWND parent = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200), nullptr, "TestPlain");
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(100, 100, 50, 50), parent, "TestPlain");
    Pump();
    std::vector<TRect> painted;
    std::vector<BOOL> left_to_paint;
    On(parent, WM_PAINT, [&](HWND AWindow, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        PAINTSTRUCT paint;
        BeginPaint(AWindow, paint);
        painted.push_back(paint.rcPaint);
        left_to_paint.push_back(paint.fErase);
        EndPaint(AWindow, paint);
        return 0;
    });
    TRect first = Rect(10, 10, 20, 20), second = Rect(30, 10, 40, 20);
    InvalidateRect(parent, &first, FALSE);
    InvalidateRect(parent, &second, TRUE);
    Log.clear();
    Pump();
    EXPECT_EQ(painted, (std::vector<TRect>{Rect(10, 10, 40, 20)}));
    EXPECT_EQ(left_to_paint, (std::vector<BOOL>{TRUE}));  // the plain class has no background to erase with
    EXPECT_EQ(Names(parent, {WM_PAINT, WM_ERASEBKGND}), (std::vector<std::string>{"PAINT", "ERASEBKGND"}));
    EXPECT_TRUE(Names(child, {WM_PAINT}).empty());

    // Without WS_CLIPCHILDREN the children under an invalidated area are invalidated too; validation cancels.
    TRect over_child = Rect(90, 90, 120, 120);
    InvalidateRect(parent, &over_child, TRUE);
    TRect update;
    EXPECT_TRUE(GetUpdateRect(child, &update, FALSE));
    EXPECT_EQ(update, Rect(0, 0, 20, 20));
    ValidateRect(child, nullptr);
    Log.clear();
    Pump();
    EXPECT_TRUE(Names(child, {WM_PAINT}).empty());
    EXPECT_EQ(Names(parent, {WM_PAINT}).size(), 1u);

    SetWindowLong(parent, GWL_STYLE, GetWindowLong(parent, GWL_STYLE) | WS_CLIPCHILDREN);
    InvalidateRect(parent, &over_child, TRUE);
    EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
    RedrawWindow(parent, &over_child, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_FALSE(GetUpdateRect(parent, nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
}

TEST_F(Painting, WindowDcsPaintTheirPartOfTheTopLevelSurfaceOnly)
{
    HWND top = Create(0, WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 100));
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 20, 30, 30), top);
    HWND sibling = Create(0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Bounds(60, 20, 30, 30), top);
    HWND above = Create(0, WS_CHILD | WS_VISIBLE, Bounds(80, 40, 30, 30), top);  // created last: on top
    Pump();
    FillClient(top, RGB(0, 0, 255));
    FillClient(child, RGB(255, 0, 0));
    FillClient(sibling, RGB(0, 255, 0));
    struct TCase {
        TPoint At;  // surface coordinates
        COLORREF Color;
    };
    const std::vector<TCase> cases = {
        {{0, 0}, GetSysColor(COLOR_WINDOWFRAME)},  // the border: not reached by the client DC
        {{5, 5}, RGB(0, 0, 255)},
        {{11 + 15, 21 + 15}, RGB(255, 0, 0)},          // the parent clipped its children
        {{61 + 5, 21 + 5}, RGB(0, 255, 0)},
        {{81 + 5, 41 + 5}, GetSysColor(COLOR_WINDOW)},  // under the sibling above: left as that one painted it
        {{97, 97}, RGB(0, 0, 255)},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(SurfacePixel(top, c.At.X, c.At.Y), AsPixel(c.Color)) << c.At.X << "," << c.At.Y;
    HDC dc = GetWindowDC(above);
    EXPECT_EQ(WindowFromDC(dc), above);
    ReleaseDC(above, dc);
}

TEST_F(Painting, PrintClientAreaCopiesTheClientWithItsChildren)
{
    HWND top = Create(0, WS_POPUP | WS_BORDER | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 100, 80));
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(10, 20, 30, 30), top);
    Pump();
    FillClient(top, RGB(0, 0, 255));
    FillClient(child, RGB(255, 0, 0));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 100);
    HGDIOBJ old = SelectObject(memory, bitmap);
    TRect all = Rect(0, 0, 120, 100);
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(memory, &all, white);
    DeleteObject(white);
    EXPECT_TRUE(PrintClientArea(top, memory));
    TRect client;
    GetClientRect(top, client);
    EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0, 0, 255)) << "client origin, not the border";
    EXPECT_EQ(GetPixel(memory, 10 + 5, 20 + 5), RGB(255, 0, 0)) << "the child's pixels";
    EXPECT_EQ(GetPixel(memory, client.Width(), 5), RGB(255, 255, 255)) << "nothing beyond the client width";
    EXPECT_FALSE(PrintClientArea(nullptr, memory));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(Painting, AWindowRegionClipsPaintingAndHitTesting)
{
    HWND below = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    HWND shaped = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    SetWindowRgn(shaped, CreateEllipticRgn(0, 0, 100, 100), TRUE);
    Pump();
    FillClient(below, RGB(0, 0, 255));
    FillClient(shaped, RGB(255, 0, 0));
    EXPECT_EQ(SurfacePixel(shaped, 50, 50), AsPixel(RGB(255, 0, 0)));
    EXPECT_NE(SurfacePixel(shaped, 2, 2), AsPixel(RGB(255, 0, 0)));
    EXPECT_EQ(ScreenPixel(50, 50), AsPixel(RGB(255, 0, 0)));
    EXPECT_EQ(ScreenPixel(2, 2), AsPixel(RGB(0, 0, 255)));
    EXPECT_EQ(WindowFromPoint({50, 50}), shaped);
    EXPECT_EQ(WindowFromPoint({2, 2}), below);
    Log.clear();
    Screen.Click({3, 3});
    Pump();
    EXPECT_EQ(Entries(below, WM_LBUTTONDOWN).size(), 1u);
    EXPECT_TRUE(Entries(shaped, WM_LBUTTONDOWN).empty());
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(shaped, copy), ERROR);
    EXPECT_TRUE(PtInRegion(copy, 50, 50));
    DeleteObject(copy);
    SetWindowRgn(shaped, nullptr, TRUE);
    BringWindowToTop(shaped);  // the click raised the window below
    EXPECT_EQ(WindowFromPoint({2, 2}), shaped);
}

TEST_F(Painting, DefaultFrameDumpsToPng)
{
    HWND window = Create(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(40, 30, 320, 200), nullptr, "TestWindow",
                         "Quennary window");
    HWND inactive = Create(WS_EX_TOOLWINDOW, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE,
                           Bounds(400, 60, 200, 120), nullptr, "TestWindow", "Tool window");
    SetActiveWindow(window);
    Pump();
    EXPECT_EQ(SurfacePixel(window, 4, 8), AsPixel(GetSysColor(COLOR_ACTIVECAPTION)));  // where the gradient starts
    EXPECT_EQ(SurfacePixel(window, 160, 120), AsPixel(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(SurfacePixel(window, 0, 100), AsPixel(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(SurfacePixel(window, 319, 100), AsPixel(GetSysColor(COLOR_3DDKSHADOW)));
    EXPECT_EQ(SurfacePixel(inactive, 4, 8), AsPixel(GetSysColor(COLOR_INACTIVECAPTION)));
    std::string folder = QUENNARY_BINARY_DIR;
    EXPECT_TRUE(Screen.WriteWindowPng(window, folder + "/win-default-frame.png"));
    EXPECT_TRUE(Screen.WriteScreenPng(folder + "/win-screen.png"));
    EXPECT_FALSE(Screen.WriteScreenPng("/no/such/folder/screen.png"));
}

TEST_F(Painting, LayeredWindowsBlendWithACompositorAndStayOpaqueWithout)
{
    HWND below = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
    HWND layered = Create(WS_EX_LAYERED, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 50, 50));
    Pump();
    FillClient(below, RGB(0, 0, 200));
    FillClient(layered, RGB(200, 0, 0));
    ASSERT_TRUE(SetLayeredWindowAttributes(layered, 0, 128, LWA_ALPHA));
    EXPECT_EQ(ScreenPixel(10, 10), AsPixel(RGB(200, 0, 0)));  // no compositor: opaque
    Screen.SetCompositor(true);
    EXPECT_TRUE(Capabilities().LayeredWindows);
    EXPECT_EQ(ScreenPixel(10, 10), AsPixel(RGB(100, 0, 99)));

    // Per-pixel premultiplied contents: half-transparent green.
    HDC memory = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 50;
    info.bmiHeader.biHeight = -50;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    for (int i = 0; i < 50 * 50; ++i)
        static_cast<uint32_t*>(bits)[i] = 0x80008000;  // alpha 128, green 128 (premultiplied)
    HGDIOBJ old = SelectObject(memory, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    TPoint origin{0, 0};
    TSize size{50, 50};
    ASSERT_TRUE(UpdateLayeredWindow(layered, nullptr, nullptr, &size, memory, &origin, 0, &blend, ULW_ALPHA));
    EXPECT_EQ(ScreenPixel(10, 10), AsPixel(RGB(0, 128, 99)));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);

    // Click-through layered windows let the pointer reach what is below.
    SetWindowLong(layered, GWL_EXSTYLE, WS_EX_LAYERED | WS_EX_TRANSPARENT);
    EXPECT_EQ(WindowFromPoint({10, 10}), below);
    SetWindowLong(layered, GWL_EXSTYLE, 0);
    EXPECT_FALSE(SetLayeredWindowAttributes(layered, 0, 128, LWA_ALPHA));
}

TEST_F(Painting, ScrollingMovesPixelsAndInvalidatesWhatItUncovers)
{
    HWND window = Create(0, WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr, "TestPlain");
    Pump();
    HDC dc = GetDC(window);
    for (int y = 0; y < 100; ++y) {
        TRect row = Rect(0, y, 100, y + 1);
        HBRUSH brush = CreateSolidBrush(RGB(y, 0, 0));
        FillRect(dc, &row, brush);
        DeleteObject(brush);
    }
    ReleaseDC(window, dc);
    TRect uncovered;
    EXPECT_EQ(ScrollWindowEx(window, 0, 10, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE), SIMPLEREGION);
    EXPECT_EQ(uncovered, Rect(0, 0, 100, 10));
    EXPECT_EQ(SurfacePixel(window, 5, 50), AsPixel(RGB(40, 0, 0)));
    TRect update;
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(update, Rect(0, 0, 100, 10));
}

TEST_F(Painting, ScrollingLeavesChildrenAndOffScreenPartsRight)
{
    // A window half off the screen's left edge, with a child over its middle that keeps its place.
    HWND window = Create(0, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(-50, 0, 100, 100), nullptr, "TestPlain");
    HWND child = Create(0, WS_CHILD | WS_VISIBLE, Bounds(60, 40, 20, 20), window, "TestPlain");
    Pump();
    HDC dc = GetDC(window);
    for (int y = 0; y < 100; ++y) {
        TRect row = Rect(0, y, 100, y + 1);
        HBRUSH brush = CreateSolidBrush(RGB(y, 0, 0));
        FillRect(dc, &row, brush);
        DeleteObject(brush);
    }
    ReleaseDC(window, dc);
    FillClient(child, RGB(0, 0, 255));
    ValidateRect(window, nullptr);
    ValidateRect(child, nullptr);

    TRect uncovered;
    ScrollWindowEx(window, 0, -10, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE);
    EXPECT_EQ(uncovered, Rect(0, 30, 100, 100));  // the new band and what came from under the child
    // The off-screen half moved with the rest; the child's pixels stayed its own.
    EXPECT_EQ(SurfacePixel(window, 10, 20), AsPixel(RGB(30, 0, 0)));
    EXPECT_EQ(SurfacePixel(window, 55, 30), AsPixel(RGB(40, 0, 0)));
    for (int y : {40, 45, 59})
        EXPECT_EQ(SurfacePixel(window, 70, y), AsPixel(RGB(0, 0, 255))) << y;
    // Under the child's old rows the parent's moved rows come out below it.
    EXPECT_EQ(SurfacePixel(window, 70, 65), AsPixel(RGB(75, 0, 0)));
    // What came from under the child is painted afresh.
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, update, FALSE);
    EXPECT_TRUE(PtInRegion(update, 70, 35));
    EXPECT_FALSE(PtInRegion(update, 10, 35));
    DeleteObject(update);
}

TEST_F(Painting, PrintPaintsFrameAndClientIntoAGivenDc)
{
    HWND window = Create(0, WS_OVERLAPPEDWINDOW, Bounds(0, 0, 120, 80));
    On(window, WM_PRINTCLIENT, [](HWND, UINT, WPARAM ADC, LPARAM) -> std::optional<LRESULT> {
        TRect rect = Rect(0, 0, 5, 5);
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(reinterpret_cast<HDC>(ADC), &rect, brush);
        DeleteObject(brush);
        return 0;
    });
    HDC memory = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 120;
    info.bmiHeader.biHeight = -80;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessage(window, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT);
    auto pixel = [&](int AX, int AY) { return static_cast<uint32_t*>(bits)[AY * 120 + AX] & 0xFFFFFF; };
    EXPECT_EQ(pixel(0, 40), AsPixel(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(pixel(5, 8), AsPixel(GetSysColor(COLOR_INACTIVECAPTION)));
    EXPECT_EQ(pixel(4 + 1, 23 + 1), AsPixel(RGB(255, 0, 255)));
    EXPECT_EQ(pixel(60, 60), AsPixel(GetSysColor(COLOR_WINDOW)));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

}  // namespace
}  // namespace wintest
