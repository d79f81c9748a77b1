#pragma once
// The headless screen the demo tools draw on: a virtual clock, the in-memory display set as the backend for the
// tool's lifetime, and PNG files of what reached it. Declare it before the application so that the application
// goes first.
#include "platform/backend/headless/headless_backend.h"
#include "platform/rtl/clock.h"

#include <cstdio>
#include <string>

class TDemoScreen {
public:
    explicit TDemoScreen(TSize AScreen = TSize{800, 600}) : FDisplay(AScreen) { win::SetBackend(&FDisplay); }
    ~TDemoScreen() { win::SetBackend(nullptr); }
    TDemoScreen(const TDemoScreen&) = delete;
    TDemoScreen& operator=(const TDemoScreen&) = delete;

    TVirtualClock& Clock() { return FClock; }
    headless::THeadlessBackend& Display() { return FDisplay; }

    // False, with the reason on stderr, when the file cannot be written.
    bool WriteWindow(win::HWND AWindow, const std::string& AFile)
    {
        return Report(FDisplay.WriteWindowPng(AWindow, AFile), AFile);
    }
    bool WriteScreen(const std::string& AFile) { return Report(FDisplay.WriteScreenPng(AFile), AFile); }

private:
    static bool Report(bool AWritten, const std::string& AFile)
    {
        if (AWritten)
            std::printf("wrote %s\n", AFile.c_str());
        else
            std::fprintf(stderr, "cannot write %s\n", AFile.c_str());
        return AWritten;
    }

    TVirtualClock FClock{int64_t(1) << 32};
    TClockOverride FClockScope{FClock};
    headless::THeadlessBackend FDisplay;
};
