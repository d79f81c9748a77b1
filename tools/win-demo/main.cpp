// Builds a few windows on the headless screen and writes what they look like, for a reviewer to open:
//   win-demo [folder]  ->  win-demo-screen.png, win-demo-frame.png (with a caret), win-demo-shaped.png
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

    bool ok = screen.WriteScreenPng(folder + "/win-demo-screen.png") &&
              screen.WriteWindowPng(frame, folder + "/win-demo-frame.png") &&
              screen.WriteWindowPng(shaped, folder + "/win-demo-shaped.png");
    if (!ok)
        std::fprintf(stderr, "win-demo: cannot write into %s\n", folder.c_str());
    for (HWND window : {layered, shaped, tool, frame})
        DestroyWindow(window);
    SetBackend(nullptr);
    return ok ? 0 : 1;
}
