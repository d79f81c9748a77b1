#pragma once
// The X display as the window manager's screen: one undecorated X window per top-level window showing its
// surface, input read on a thread of its own and fed back through the window manager's queue functions, the
// CLIPBOARD selection, file drops from other programs, monitors and work area, the tray, and real X child
// windows for windows whose pixels come from elsewhere (video panels).
#include "platform/win/backend.h"
#include "platform/win/shell.h"

#include <memory>
#include <string>

namespace x11 {

class TX11Backend final : public win::TBackend {
public:
    // Connects to ADisplay (empty = $DISPLAY); nullptr when no display answers.
    static std::unique_ptr<TX11Backend> Open(const std::string& ADisplay = {});
    ~TX11Backend() override;  // unsets itself when still current; closes its windows

    std::vector<win::TMonitorDesc> Monitors() const override;
    bool HasCompositor() const override;
    void TopLevelChanged(win::HWND AWindow) override;
    void TopLevelDestroyed(win::HWND AWindow) override;
    void Present(win::HWND AWindow, const TRect& ADirty) override;
    void CursorChanged(win::HCURSOR ACursor) override;
    void CaptureChanged(win::HWND AWindow) override;
    void SetClipboardText(const std::string& AText) override;
    std::optional<std::string> ClipboardText() const override;
    bool TrayAvailable() const override;
    void TrayIconChanged(DWORD AMessage, const win::NOTIFYICONDATA& AData) override;
    void SetCaretSpot(win::HWND AWindow, int AX, int AY) override;
    void Beep(win::UINT AType) override;
    uintptr_t AttachNativeWindow(win::HWND AWindow) override;
    void FillNativeWindow(win::HWND AWindow, win::COLORREF AColor) override;
    void DetachNativeWindow(win::HWND AWindow) override;

    // The X window showing a top-level window or a window's native child; 0 when there is none.
    unsigned long XWindowOf(win::HWND AWindow) const;
    // Waits until the X server has done everything asked of it so far.
    void Sync();
    // Whether blits go through shared memory.
    bool UsesSharedMemory() const;

    struct TImpl;

private:
    TX11Backend() = default;
    std::unique_ptr<TImpl> F;
};

}  // namespace x11
