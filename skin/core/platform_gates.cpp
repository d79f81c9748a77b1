#include "skin/core/platform_gates.h"

#include "platform/win/backend.h"
#include "platform/win/geometry.h"

void GetOSVersion(Integer& Major, Integer& Minor) {
    const win::DWORD version = win::GetVersion();
    Major = static_cast<Integer>(version & 0xFF);
    Minor = static_cast<Integer>((version >> 8) & 0xFF);
}

bool IsWin7(Integer Major, Integer Minor) { return Major == 6 && Minor == 1; }
bool IsVistaOrLater(Integer Major, Integer /*Minor*/) { return Major > 5; }
bool IsXPOrLater(Integer Major, Integer Minor) { return Major > 5 || (Major == 5 && Minor == 1); }
bool IsWin2000OrLater(Integer Major, Integer Minor) { return Major > 5 || (Major == 5 && Minor >= 0 && Minor <= 2); }

namespace {

template <typename Test>
bool AskVersion(Test ATest) {
    Integer major = 0, minor = 0;
    GetOSVersion(major, minor);
    return ATest(major, minor);
}

}  // namespace

bool IsWin7() { return AskVersion([](Integer a, Integer b) { return IsWin7(a, b); }); }
bool IsVistaOrLater() { return AskVersion([](Integer a, Integer b) { return IsVistaOrLater(a, b); }); }
bool IsXPOrLater() { return AskVersion([](Integer a, Integer b) { return IsXPOrLater(a, b); }); }
bool IsWin2000OrLater() { return AskVersion([](Integer a, Integer b) { return IsWin2000OrLater(a, b); }); }

bool IsNTFamily() { return true; }

void LoadDwmApi() {}
bool IsDwmCompositionOn() { return win::Capabilities().DesktopComposition; }
void SetDwmTransitionsEnabled(win::HWND, bool) {}
void EnableDwmBlur(win::HWND, bool, win::HRGN) {}

bool HasSetLayeredWindowAttributes() { return win::Capabilities().LayeredWindows; }
bool HasUpdateLayeredWindow() { return win::Capabilities().LayeredWindows; }

bool HasSeveralMonitors() { return win::GetSystemMetrics(win::SM_CMONITORS) > 1; }

void GetDesktopWorkArea(bool UseWorkArea, TRect& R) {
    if (UseWorkArea)
        win::SystemParametersInfo(win::SPI_GETWORKAREA, 0, &R, 0);
    else
        R = Rect(0, 0, win::GetSystemMetrics(win::SM_CXSCREEN), win::GetSystemMetrics(win::SM_CYSCREEN));
}

void GetWorkAreaOf(win::HWND Wnd, bool UseWorkArea, TRect& R) {
    if (!HasSeveralMonitors()) {
        GetDesktopWorkArea(UseWorkArea, R);
        return;
    }
    win::MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!win::GetMonitorInfo(win::MonitorFromWindow(Wnd, win::MONITOR_DEFAULTTONEAREST), &info)) return;
    R = UseWorkArea ? info.rcWork : info.rcMonitor;
}
