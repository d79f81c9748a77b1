#pragma once
// Windows on a real X server: the X backend set as the window manager's screen, a second connection of the
// test's own to look at what the server shows and to send synthetic input, and windows whose procedure logs
// what they receive. Everything waits on events with generous time-outs, never for a fixed time.
#include "platform/backend/x11/x11_backend.h"
#include "platform/gdi/gdi.h"
#include "platform/win/win.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace x11test {

using namespace win;

struct TEntry {
    HWND Window;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};

class TX11Fixture : public ::testing::Test {
public:
    using THandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            GTEST_SKIP() << "needs an X display (the CI runs these under xvfb-run)";
        Backend = x11::TX11Backend::Open();
        ASSERT_NE(Backend, nullptr);
        Probe = XOpenDisplay(nullptr);
        ASSERT_NE(Probe, nullptr);
        Current = this;
        SetBackend(Backend.get());
        static bool registered = false;
        if (!registered) {
            WNDCLASS cls;
            cls.lpfnWndProc = &Proc;
            cls.hbrBackground = COLOR_WINDOW + 1;
            cls.lpszClassName = "X11TestWindow";
            RegisterClass(cls);
            registered = true;
        }
    }

    void TearDown() override
    {
        if (!Backend)
            return;
        for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it)
            if (IsWindow(*it))
                DestroyWindow(*it);
        Drain();
        FHandlers.clear();
        Current = nullptr;
        SetBackend(nullptr);
        Backend.reset();
        XCloseDisplay(Probe);
    }

    HWND Create(DWORD AExStyle, DWORD AStyle, TRect ABounds, HWND AParent = nullptr, const std::string& AText = "Test")
    {
        HWND window = CreateWindowEx(AExStyle, "X11TestWindow", AText, AStyle, ABounds.Left, ABounds.Top,
                                     ABounds.Width(), ABounds.Height(), AParent);
        EXPECT_NE(window, nullptr);
        FCreated.push_back(window);
        return window;
    }

    void On(HWND AWindow, UINT AMessage, THandler AHandler) { FHandlers[{AWindow, AMessage}] = std::move(AHandler); }

    // Takes and dispatches messages until APredicate holds; false when it still does not after ATimeOut.
    bool PumpUntil(const std::function<bool()>& APredicate, std::chrono::milliseconds ATimeOut = std::chrono::seconds(20))
    {
        auto deadline = std::chrono::steady_clock::now() + ATimeOut;
        // A thread timer wakes the wait now and then, so that X-side conditions are looked at again.
        UINT_PTR timer = SetTimer(nullptr, 0, 10);
        bool met = false;
        while (!(met = APredicate()) && std::chrono::steady_clock::now() < deadline) {
            MSG msg;
            if (!GetMessage(msg, nullptr, 0, 0))
                break;
            TranslateMessage(msg);
            DispatchMessage(msg);
        }
        KillTimer(nullptr, timer);
        return met;
    }

    void Drain()
    {
        MSG msg;
        while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(msg);
            DispatchMessage(msg);
        }
    }

    std::vector<TEntry> Entries(HWND AWindow, UINT AMessage) const
    {
        std::vector<TEntry> result;
        for (const TEntry& entry : Log)
            if (entry.Window == AWindow && entry.Message == AMessage)
                result.push_back(entry);
        return result;
    }

    // Where the X server has a window, in root coordinates, and whether it is shown.
    std::optional<TRect> XPlace(unsigned long AWindow)
    {
        XSync(Probe, False);
        XWindowAttributes attributes;
        if (!AWindow || !XGetWindowAttributes(Probe, AWindow, &attributes))
            return std::nullopt;
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(Probe, AWindow, DefaultRootWindow(Probe), 0, 0, &x, &y, &child);
        return Bounds(x, y, attributes.width, attributes.height);
    }

    bool XViewable(unsigned long AWindow)
    {
        XSync(Probe, False);
        XWindowAttributes attributes;
        return AWindow && XGetWindowAttributes(Probe, AWindow, &attributes) && attributes.map_state == IsViewable;
    }

    bool ShownOnX(HWND AWindow)
    {
        return PumpUntil([&] { return XViewable(Backend->XWindowOf(AWindow)); });
    }

    void FakeClick(TPoint AScreen, unsigned AButton = 1)
    {
        XTestFakeMotionEvent(Probe, -1, AScreen.X, AScreen.Y, CurrentTime);
        XTestFakeButtonEvent(Probe, AButton, True, CurrentTime);
        XTestFakeButtonEvent(Probe, AButton, False, CurrentTime);
        XSync(Probe, False);
    }

    std::unique_ptr<x11::TX11Backend> Backend;
    Display* Probe = nullptr;
    std::vector<TEntry> Log;

private:
    static LRESULT Proc(HWND AWindow, UINT AMessage, WPARAM AWParam, LPARAM ALParam)
    {
        TX11Fixture* self = Current;
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

    static inline TX11Fixture* Current = nullptr;
    std::map<std::pair<HWND, UINT>, THandler> FHandlers;
    std::vector<HWND> FCreated;
};

}  // namespace x11test
