// Builds a few windows on the headless screen and writes what they look like, for a reviewer to open:
//   win-demo [folder]  ->  win-demo-screen.png, win-demo-frame.png (with a caret), win-demo-shaped.png,
//   win-demo-icons.png
#include "platform/backend/headless/headless_backend.h"
#include "platform/gdi/gdi.h"
#include "platform/win/win.h"

#include <cstdio>
#include <string>

using namespace win;

namespace {

LRESULT DemoProc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
{
    if (AMessage == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(AWindow, paint);
        TRect client;
        GetClientRect(AWindow, client);
        std::string text = GetWindowText(AWindow);
        SetBkMode(dc, TRANSPARENT);
        DrawText(dc, text.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(AWindow, paint);
        return 0;
    }
    return DefWindowProc(AWindow, AMessage, AWParam, ALParam);
}

void Fill(HWND AWindow, COLORREF AColor)
{
    HDC dc = GetDC(AWindow);
    TRect client;
    GetClientRect(AWindow, client);
    HBRUSH brush = CreateSolidBrush(AColor);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(AWindow, dc);
}

// A 32 x 32 arrow cursor drawn with GDI into a colour bitmap and a mask, as a skin's cursor is made; the hot
// spot at the arrow's tip.
HICON MakeArrowCursor()
{
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP mask = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const POINT arrow[] = {{2, 2}, {2, 26}, {8, 20}, {13, 30}, {17, 28}, {12, 18}, {20, 18}};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    TRect all = Rect(0, 0, 32, 32);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Polygon(dc, arrow, 7);
    SelectObject(dc, color);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH orange = CreateSolidBrush(RGB(255, 150, 30));
    SelectObject(dc, orange);
    Polygon(dc, arrow, 7);
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO cursor;
    cursor.fIcon = FALSE;
    cursor.xHotspot = 2;
    cursor.yHotspot = 2;
    cursor.hbmColor = color;
    cursor.hbmMask = mask;
    HICON result = CreateIconIndirect(&cursor);
    DeleteObject(color);
    DeleteObject(mask);
    DeleteObject(orange);
    return result;
}

// The stock icons at their own size and as small copies, and the bitmap cursor with its hot spot marked.
void PaintIcons(HWND AWindow)
{
    HDC dc = GetDC(AWindow);
    TRect client;
    GetClientRect(AWindow, client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const uintptr_t stock[] = {IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION};
    int x = 16;
    for (uintptr_t id : stock) {
        HICON icon = LoadIcon(nullptr, id);
        DrawIconEx(dc, x, 16, icon, 0, 0, 0, nullptr, DI_NORMAL);
        auto small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, 0));
        DrawIconEx(dc, x + 8, 60, small, 0, 0, 0, nullptr, DI_NORMAL);
        DrawIconEx(dc, x - 8, 88, icon, 48, 48, 0, nullptr, DI_NORMAL);
        DestroyIcon(small);
        x += 56;
    }
    HICON cursor = MakeArrowCursor();
    ICONINFO info;
    GetIconInfo(cursor, &info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DrawIconEx(dc, x, 16, cursor, 0, 0, 0, nullptr, DI_NORMAL);
    DrawIconEx(dc, x, 60, cursor, 64, 64, 0, nullptr, DI_NORMAL);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, red);
    int hot_x = x + static_cast<int>(info.xHotspot), hot_y = 16 + static_cast<int>(info.yHotspot);
    MoveToEx(dc, hot_x - 4, hot_y, nullptr);
    LineTo(dc, hot_x + 5, hot_y);
    MoveToEx(dc, hot_x, hot_y - 4, nullptr);
    LineTo(dc, hot_x, hot_y + 5);
    SelectObject(dc, old);
    DeleteObject(red);
    DestroyIcon(cursor);
    ReleaseDC(AWindow, dc);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : ".";
    headless::THeadlessBackend screen({800, 500});
    screen.SetCompositor(true);
    SetBackend(&screen);

    WNDCLASS cls;
    cls.lpfnWndProc = &DemoProc;
    cls.style = CS_DBLCLKS;
    cls.hbrBackground = COLOR_BTNFACE + 1;
    cls.lpszClassName = "Demo";
    RegisterClass(cls);

    HWND frame = CreateWindowEx(0, "Demo", "Default frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 360, 240,
                                nullptr);
    HWND child = CreateWindowEx(WS_EX_CLIENTEDGE, "Demo", "Child with a client edge", WS_CHILD | WS_VISIBLE, 20,
                                20, 300, 80, frame);
    HWND tool = CreateWindowEx(WS_EX_TOOLWINDOW, "Demo", "Tool window",
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 430, 40, 220, 140,
                               nullptr);
    HWND shaped = CreateWindowEx(0, "Demo", "Window region", WS_POPUP | WS_VISIBLE, 420, 230, 200, 200, nullptr);
    SetWindowRgn(shaped, CreateEllipticRgn(0, 0, 200, 200), TRUE);
    HWND layered = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOPMOST, "Demo", "Half transparent", WS_POPUP | WS_VISIBLE,
                                  250, 200, 240, 120, nullptr);
    SetActiveWindow(frame);
    headless::THeadlessBackend::ProcessMessages();
    Fill(shaped, RGB(200, 60, 40));
    SetLayeredWindowAttributes(layered, 0, 160, LWA_ALPHA);
    (void)tool;
    // A caret in its on phase just after the child's text, as an edit would show it.
    CreateCaret(child, nullptr, 2, 16);
    SetCaretPos(216, 29);
    ShowCaret(child);
    HWND icons = CreateWindowEx(0, "Demo", "", WS_POPUP | WS_VISIBLE, 0, 0, 380, 150, nullptr);
    headless::THeadlessBackend::ProcessMessages();
    PaintIcons(icons);

    bool ok = screen.WriteScreenPng(folder + "/win-demo-screen.png") &&
              screen.WriteWindowPng(frame, folder + "/win-demo-frame.png") &&
              screen.WriteWindowPng(shaped, folder + "/win-demo-shaped.png") &&
              screen.WriteWindowPng(icons, folder + "/win-demo-icons.png");
    if (!ok)
        std::fprintf(stderr, "win-demo: cannot write into %s\n", folder.c_str());
    for (HWND window : {icons, layered, shaped, tool, frame})
        DestroyWindow(window);
    SetBackend(nullptr);
    return ok ? 0 : 1;
}
