#pragma once
// A headless screen, a virtual clock and windows whose procedure logs every message and can be given a
// handler per message.
#include "platform/backend/headless/headless_backend.h"
#include "platform/gdi/gdi.h"
#include "platform/rtl/clock.h"
#include "platform/win/win.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace wintest {

using namespace win;

struct TEntry {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

inline std::string MessageName(UINT AMessage)
{
    static const std::map<UINT, std::string> names = {
        {WM_CREATE, "CREATE"}, {WM_DESTROY, "DESTROY"}, {WM_MOVE, "MOVE"}, {WM_SIZE, "SIZE"},
        {WM_ACTIVATE, "ACTIVATE"}, {WM_SETFOCUS, "SETFOCUS"}, {WM_KILLFOCUS, "KILLFOCUS"},
        {WM_SETTEXT, "SETTEXT"}, {WM_PAINT, "PAINT"}, {WM_CLOSE, "CLOSE"}, {WM_ERASEBKGND, "ERASEBKGND"},
        {WM_SHOWWINDOW, "SHOWWINDOW"}, {WM_SETCURSOR, "SETCURSOR"}, {WM_MOUSEACTIVATE, "MOUSEACTIVATE"},
        {WM_GETMINMAXINFO, "GETMINMAXINFO"}, {WM_WINDOWPOSCHANGING, "WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WINDOWPOSCHANGED"}, {WM_NCCREATE, "NCCREATE"}, {WM_NCDESTROY, "NCDESTROY"},
        {WM_NCCALCSIZE, "NCCALCSIZE"}, {WM_NCHITTEST, "NCHITTEST"}, {WM_NCPAINT, "NCPAINT"},
        {WM_NCACTIVATE, "NCACTIVATE"}, {WM_NCMOUSEMOVE, "NCMOUSEMOVE"}, {WM_NCLBUTTONDOWN, "NCLBUTTONDOWN"},
        {WM_NCLBUTTONUP, "NCLBUTTONUP"}, {WM_NCLBUTTONDBLCLK, "NCLBUTTONDBLCLK"}, {WM_KEYDOWN, "KEYDOWN"},
        {WM_KEYUP, "KEYUP"}, {WM_CHAR, "CHAR"}, {WM_SYSKEYDOWN, "SYSKEYDOWN"}, {WM_SYSKEYUP, "SYSKEYUP"},
        {WM_SYSCHAR, "SYSCHAR"}, {WM_SYSCOMMAND, "SYSCOMMAND"}, {WM_TIMER, "TIMER"},
        {WM_MOUSEMOVE, "MOUSEMOVE"}, {WM_LBUTTONDOWN, "LBUTTONDOWN"}, {WM_LBUTTONUP, "LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "LBUTTONDBLCLK"}, {WM_RBUTTONDOWN, "RBUTTONDOWN"}, {WM_RBUTTONUP, "RBUTTONUP"},
        {WM_MOUSEWHEEL, "MOUSEWHEEL"}, {WM_PARENTNOTIFY, "PARENTNOTIFY"}, {WM_SIZING, "SIZING"},
        {WM_CAPTURECHANGED, "CAPTURECHANGED"}, {WM_MOVING, "MOVING"}, {WM_ENTERSIZEMOVE, "ENTERSIZEMOVE"},
        {WM_EXITSIZEMOVE, "EXITSIZEMOVE"}, {WM_DROPFILES, "DROPFILES"}, {WM_STYLECHANGING, "STYLECHANGING"},
        {WM_STYLECHANGED, "STYLECHANGED"}, {WM_CONTEXTMENU, "CONTEXTMENU"}, {WM_ENABLE, "ENABLE"},
        {WM_GETTEXT, "GETTEXT"}};
    auto it = names.find(AMessage);
    return it != names.end() ? it->second : "0x" + std::to_string(AMessage);
}

class TWinFixture : public ::testing::Test {
public:
    using THandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

protected:
    void SetUp() override
    {
        Current = this;
        SetBackend(&Screen);
        static bool registered = false;
        if (!registered) {
            WNDCLASS cls;
            cls.lpfnWndProc = &Proc;
            cls.style = CS_DBLCLKS;
            cls.hbrBackground = COLOR_WINDOW + 1;
            cls.lpszClassName = "TestWindow";
            RegisterClass(cls);
            cls.style = 0;
            cls.hbrBackground = 0;
            cls.lpszClassName = "TestPlain";
            RegisterClass(cls);
            registered = true;
        }
    }

    void TearDown() override
    {
        ReleaseCapture();
        for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it)
            if (IsWindow(*it))
                DestroyWindow(*it);
        Pump();
        FHandlers.clear();
        Current = nullptr;
        SetBackend(nullptr);
    }

    HWND Create(DWORD AExStyle, DWORD AStyle, TRect ABounds, HWND AParent = nullptr,
                const std::string& AClass = "TestWindow", const std::string& AText = "Test")
    {
        HWND window = CreateWindowEx(AExStyle, AClass, AText, AStyle, ABounds.Left, ABounds.Top, ABounds.Width(),
                                     ABounds.Height(), AParent);
        EXPECT_NE(window, nullptr);
        FCreated.push_back(window);
        return window;
    }

    void On(HWND AWindow, UINT AMessage, THandler AHandler) { FHandlers[{AWindow, AMessage}] = std::move(AHandler); }

    int Pump() { return headless::THeadlessBackend::ProcessMessages(); }

    // The logged messages of AWindow (nullptr = any) that are in AOnly (empty = all), by name.
    std::vector<std::string> Names(HWND AWindow, const std::set<UINT>& AOnly = {}) const
    {
        std::vector<std::string> result;
        for (const TEntry& entry : Log)
            if ((!AWindow || entry.Window == AWindow) && (AOnly.empty() || AOnly.count(entry.Message)))
                result.push_back(MessageName(entry.Message));
        return result;
    }

    std::vector<TEntry> Entries(HWND AWindow, UINT AMessage) const
    {
        std::vector<TEntry> result;
        for (const TEntry& entry : Log)
            if (entry.Window == AWindow && entry.Message == AMessage)
                result.push_back(entry);
        return result;
    }

    void AdvanceMs(int64_t AMilliseconds) { Clock.Advance(AMilliseconds * 1000); }

    // Starts away from zero, as a real tick count would.
    TVirtualClock Clock{int64_t(1) << 32};
    TClockOverride ClockScope{Clock};
    headless::THeadlessBackend Screen;
    std::vector<TEntry> Log;

private:
    static LRESULT Proc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
    {
        TWinFixture* self = Current;
        if (!self)
            return DefWindowProc(AWindow, AMessage, AWParam, ALParam);
        self->Log.push_back({AWindow, AMessage, AWParam, ALParam});
        auto it = self->FHandlers.find({AWindow, AMessage});
        if (it != self->FHandlers.end()) {
            THandler handler = it->second;
            if (auto answer = handler(AWindow, AMessage, AWParam, ALParam))
                return *answer;
        }
        return DefWindowProc(AWindow, AMessage, AWParam, ALParam);
    }

    static inline TWinFixture* Current = nullptr;
    std::map<std::pair<HWND, UINT>, THandler> FHandlers;
    std::vector<HWND> FCreated;
};

}  // namespace wintest
