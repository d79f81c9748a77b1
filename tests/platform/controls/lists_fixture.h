#pragma once
// A headless screen, a virtual clock and an application, with a form to put a list on and helpers that
// click and type as a user would.
#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/rtl/clock.h"
#include "platform/win/scrolling.h"

#include <gtest/gtest.h>

#include <memory>

namespace liststest {

struct TScroll {
    int Min, Max, Page, Pos;
    bool operator==(const TScroll&) const = default;
};

class TListsFixture : public ::testing::Test {
public:
    void SetUp() override
    {
        win::SetBackend(&Display);
        App = std::make_unique<TApplication>(nullptr);
        Form = new TForm(App.get());
        Form->SetBorderStyle(bsSingle);
        Form->SetBoundsRect(Bounds(50, 50, 600, 500));
    }
    void TearDown() override
    {
        App.reset();
        Pump();
        win::SetBackend(nullptr);
    }
    // Through the application, so keys meet dialog keys as in the program; without one after tear-down.
    void Pump()
    {
        if (App)
            App->ProcessMessages();
        else
            headless::THeadlessBackend::ProcessMessages();
    }
    void AdvanceMs(int64_t AMs)
    {
        Clock.Advance(AMs * 1000);
        Pump();
    }
    void ClickAt(TControl* AControl, TPoint AClient, int AButton = 0x01)
    {
        Display.Click(AControl->ClientToScreen(AClient), AButton);
        Pump();
    }
    // Holds the modifier keys down around a click.
    void ClickWith(TControl* AControl, TPoint AClient, bool AShift, bool ACtrl)
    {
        if (AShift)
            Display.KeyDown(win::VK_SHIFT);
        if (ACtrl)
            Display.KeyDown(win::VK_CONTROL);
        ClickAt(AControl, AClient);
        if (ACtrl)
            Display.KeyUp(win::VK_CONTROL);
        if (AShift)
            Display.KeyUp(win::VK_SHIFT);
        Pump();
    }
    void Press(int AKey, char32_t AChar = 0)
    {
        Display.PressKey(AKey, AChar);
        Pump();
    }
    void Type(const std::string& AText)
    {
        for (char c : AText)
            Press(std::toupper(static_cast<unsigned char>(c)), static_cast<char32_t>(c));
    }
    static TScroll ScrollState(win::HWND AWindow, int ABar)
    {
        win::SCROLLINFO info;
        info.fMask = win::SIF_ALL;
        win::GetScrollInfo(AWindow, ABar, info);
        return {info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
    }

    TVirtualClock Clock{int64_t(1) << 32};
    TClockOverride ClockScope{Clock};
    headless::THeadlessBackend Display;
    std::unique_ptr<TApplication> App;
    TForm* Form = nullptr;
};

inline std::ostream& operator<<(std::ostream& AOut, const TScroll& A)
{
    return AOut << "{" << A.Min << ".." << A.Max << " page " << A.Page << " at " << A.Pos << "}";
}

}  // namespace liststest
