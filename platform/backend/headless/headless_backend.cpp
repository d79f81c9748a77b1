#include "platform/backend/headless/headless_backend.h"

#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/message_queue.h"
#include "platform/win/styles.h"
#include "platform/win/surfaces.h"

namespace headless {

namespace {

uint8_t Channel(uint32_t APixel, int AShift) { return static_cast<uint8_t>((APixel >> AShift) & 0xFF); }

uint32_t Pack(int AR, int AG, int AB) { return 0xFF000000u | (AR << 16) | (AG << 8) | AB; }

// Source over destination. APremultiplied: the source colour already carries its alpha.
uint32_t Blend(uint32_t ADest, uint32_t ASource, int AAlpha, bool APremultiplied, int AConstant)
{
    int inverse = 255 - AAlpha;
    auto mix = [&](int AShift) {
        int src = Channel(ASource, AShift), dst = Channel(ADest, AShift);
        int src_part = APremultiplied ? src * AConstant / 255 : src * AAlpha / 255;
        return std::min(255, src_part + dst * inverse / 255);
    };
    return Pack(mix(16), mix(8), mix(0));
}

uint32_t KeyAsPixel(DWORD AColorRef)
{
    return ((AColorRef & 0xFF) << 16) | (AColorRef & 0xFF00) | ((AColorRef >> 16) & 0xFF);
}

void ComposeOne(const win::TTopLevelView& AView, bool ACompositor, std::vector<uint32_t>& AScreen, TSize AScreenSize)
{
    for (int y = 0; y < AView.Height; ++y) {
        int sy = AView.Rect.Top + y;
        if (sy < 0 || sy >= AScreenSize.cy)
            continue;
        for (int x = 0; x < AView.Width; ++x) {
            int sx = AView.Rect.Left + x;
            if (sx < 0 || sx >= AScreenSize.cx)
                continue;
            if (AView.Shape && !AView.Shape->Contains({x, y}))
                continue;
            uint32_t source = AView.Pixels[static_cast<size_t>(y) * AView.Width + x];
            uint32_t& dest = AScreen[static_cast<size_t>(sy) * AScreenSize.cx + sx];
            if (!AView.Layered || !ACompositor) {
                dest = source | 0xFF000000u;
                continue;
            }
            if (AView.ColorKeyed && (source & 0xFFFFFF) == KeyAsPixel(AView.ColorKey))
                continue;
            if (AView.PerPixelAlpha) {
                int alpha = Channel(source, 24) * AView.Alpha / 255;
                dest = Blend(dest, source, alpha, true, AView.Alpha);
            } else {
                dest = Blend(dest, source, AView.Alpha, false, 255);
            }
        }
    }
}

}  // namespace

THeadlessBackend::THeadlessBackend(TSize AScreen) : FScreen(AScreen)
{
    FMonitors = {{Rect(0, 0, AScreen.cx, AScreen.cy), Rect(0, 0, AScreen.cx, AScreen.cy), true}};
}

THeadlessBackend::~THeadlessBackend()
{
    if (win::CurrentBackend() == this)
        win::SetBackend(nullptr);
}

void THeadlessBackend::SetMonitors(const std::vector<win::TMonitorDesc>& AMonitors)
{
    if (AMonitors.empty())
        return;
    FMonitors = AMonitors;
    win::NotifyDisplayChange();
}

std::vector<win::TMonitorDesc> THeadlessBackend::Monitors() const { return FMonitors; }

void THeadlessBackend::SetClipboardText(const std::string& AText)
{
    std::lock_guard lock(FLock);
    FClipboard = AText;
}

std::optional<std::string> THeadlessBackend::ClipboardText() const
{
    std::lock_guard lock(FLock);
    return FClipboard;
}

void THeadlessBackend::TrayIconChanged(DWORD, const win::NOTIFYICONDATA&) {}

void THeadlessBackend::Present(win::HWND, const TRect&)
{
    std::lock_guard lock(FLock);
    ++FPresents;
}

void THeadlessBackend::MoveMouse(TPoint AScreen) { win::QueueMouseMove(AScreen); }

void THeadlessBackend::PressButton(TPoint AScreen, int AButton)
{
    win::QueueMouseMove(AScreen);
    win::QueueMouseButton(AScreen, AButton, true);
}

void THeadlessBackend::ReleaseButton(TPoint AScreen, int AButton) { win::QueueMouseButton(AScreen, AButton, false); }

void THeadlessBackend::Click(TPoint AScreen, int AButton)
{
    PressButton(AScreen, AButton);
    ReleaseButton(AScreen, AButton);
}

void THeadlessBackend::Drag(TPoint AFrom, TPoint ATo, int ASteps, int AButton)
{
    PressButton(AFrom, AButton);
    for (int i = 1; i <= ASteps; ++i)
        win::QueueMouseMove({AFrom.X + (ATo.X - AFrom.X) * i / ASteps, AFrom.Y + (ATo.Y - AFrom.Y) * i / ASteps});
    ReleaseButton(ATo, AButton);
}

void THeadlessBackend::Wheel(TPoint AScreen, int ADelta) { win::QueueMouseWheel(AScreen, ADelta); }
void THeadlessBackend::HWheel(TPoint AScreen, int ADelta) { win::QueueMouseWheel(AScreen, ADelta, true); }

void THeadlessBackend::PressKey(int AVirtualKey, char32_t AChar)
{
    KeyDown(AVirtualKey, AChar);
    KeyUp(AVirtualKey);
}

void THeadlessBackend::KeyDown(int AVirtualKey, char32_t AChar) { win::QueueKey(AVirtualKey, true, AChar); }
void THeadlessBackend::KeyUp(int AVirtualKey) { win::QueueKey(AVirtualKey, false); }

bool THeadlessBackend::DropFiles(TPoint AScreen, const std::vector<std::string>& AFiles)
{
    return win::QueueFileDrop(AScreen, AFiles);
}

int THeadlessBackend::ProcessMessages()
{
    int count = 0;
    win::MSG msg;
    while (win::PeekMessage(msg, nullptr, 0, 0, win::PM_REMOVE)) {
        if (msg.message == win::WM_QUIT) {
            win::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        win::TranslateMessage(msg);
        win::DispatchMessage(msg);
        ++count;
    }
    return count;
}

std::vector<uint32_t> THeadlessBackend::ComposeScreen() const
{
    std::vector<uint32_t> screen(static_cast<size_t>(FScreen.cx) * FScreen.cy, kDesktopColor);
    auto order = win::TopLevelWindowsInZOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        win::TTopLevelView view;
        if (!win::ViewTopLevel(*it, view) || !view.Visible || view.Minimized || !view.Pixels)
            continue;
        ComposeOne(view, FCompositor, screen, FScreen);
    }
    return screen;
}

bool THeadlessBackend::WriteScreenPng(const std::string& AFileName) const
{
    auto screen = ComposeScreen();
    return WritePng(AFileName, screen.data(), FScreen.cx, FScreen.cy);
}

bool THeadlessBackend::WriteWindowPng(win::HWND AWindow, const std::string& AFileName) const
{
    win::TTopLevelView view;
    if (!win::ViewTopLevel(AWindow, view) || !view.Pixels)
        return false;
    std::vector<uint32_t> pixels(view.Pixels, view.Pixels + static_cast<size_t>(view.Width) * view.Height);
    for (int y = 0; y < view.Height; ++y)
        for (int x = 0; x < view.Width; ++x) {
            uint32_t& pixel = pixels[static_cast<size_t>(y) * view.Width + x];
            bool inside = !view.Shape || view.Shape->Contains({x, y});
            // Painting leaves alpha 0 in the window's own pixels; only per-pixel layered contents carry alpha.
            if (!inside)
                pixel = 0;
            else if (!(view.Layered && view.PerPixelAlpha))
                pixel |= 0xFF000000u;
        }
    return WritePng(AFileName, pixels.data(), view.Width, view.Height);
}

}  // namespace headless
