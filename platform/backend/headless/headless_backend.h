#pragma once
// A backend without a display: an in-memory screen composed from the top-level windows (Z-order, window
// regions, layered alpha), input injected by tests and tools, a clipboard and a tray kept in memory, and PNG
// dumps of the screen or of one window. Tests pair it with a virtual clock.
#include "platform/win/backend.h"
#include "platform/win/shell.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace headless {

class THeadlessBackend final : public win::TBackend {
public:
    explicit THeadlessBackend(TSize AScreen = {1024, 768});
    ~THeadlessBackend() override;  // unsets itself when still current

    // Monitors: the first is the primary. The default is one monitor covering the screen.
    void SetMonitors(const std::vector<win::TMonitorDesc>& AMonitors);
    void SetCompositor(bool AOn) { FCompositor = AOn; }
    void SetTray(bool AOn) { FTray = AOn; }  // a tray is there unless a test takes it away
    TSize ScreenSize() const { return FScreen; }

    std::vector<win::TMonitorDesc> Monitors() const override;
    bool HasCompositor() const override { return FCompositor; }
    void SetClipboardText(const std::string& AText) override;
    std::optional<std::string> ClipboardText() const override;
    bool TrayAvailable() const override { return FTray; }
    void TrayIconChanged(DWORD AMessage, const win::NOTIFYICONDATA& AData) override;
    // No sound without a display: the bell is only counted, so tests can see it rang.
    void Beep(win::UINT) override { ++FBeeps; }
    int BeepCount() const { return FBeeps; }
    void Present(win::HWND AWindow, const TRect& ADirty) override;
    int PresentCount() const { return FPresents; }

    // Input as a user gives it; the window manager turns it into messages when the windows' threads take them.
    void MoveMouse(TPoint AScreen);
    void PressButton(TPoint AScreen, int AButton = 0x01);
    void ReleaseButton(TPoint AScreen, int AButton = 0x01);
    void Click(TPoint AScreen, int AButton = 0x01);
    // Press at AFrom, move to ATo in ASteps equal steps, release there.
    void Drag(TPoint AFrom, TPoint ATo, int ASteps, int AButton = 0x01);
    void Wheel(TPoint AScreen, int ADelta);
    void HWheel(TPoint AScreen, int ADelta);  // positive = to the right
    void PressKey(int AVirtualKey, char32_t AChar = 0);  // down and up
    void KeyDown(int AVirtualKey, char32_t AChar = 0);
    void KeyUp(int AVirtualKey);
    bool DropFiles(TPoint AScreen, const std::vector<std::string>& AFiles);

    // Takes and dispatches every message waiting for this thread (no waiting); returns how many.
    static int ProcessMessages();

    // 0xFFRRGGBB pixels of the composed screen, row by row.
    std::vector<uint32_t> ComposeScreen() const;
    // Returns false when the file cannot be written or the window is unknown.
    bool WriteScreenPng(const std::string& AFileName) const;
    bool WriteWindowPng(win::HWND AWindow, const std::string& AFileName) const;

    static constexpr uint32_t kDesktopColor = 0xFF3A6EA5;

private:
    TSize FScreen;
    std::vector<win::TMonitorDesc> FMonitors;
    bool FCompositor = false;
    bool FTray = true;
    mutable std::mutex FLock;
    std::optional<std::string> FClipboard;
    int FPresents = 0;
    std::atomic<int> FBeeps{0};
};

// Writes 0xAARRGGBB pixels as an RGBA PNG.
bool WritePng(const std::string& AFileName, const uint32_t* APixels, int AWidth, int AHeight);

}  // namespace headless
