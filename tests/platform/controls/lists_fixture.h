#pragma once
// The GUI fixture (headless screen, virtual clock, application) with a shown form to put a list on, helpers
// that click and type as a user would, and the scroll state as one comparable value.
#include "tests/platform/gui/gui_fixture.h"

#include "platform/gui/forms.h"
#include "platform/win/scrolling.h"

#include <ostream>
#include <string>

namespace liststest {

struct TScroll {
    int Min, Max, Page, Pos;
    bool operator==(const TScroll&) const = default;
};

inline std::ostream& operator<<(std::ostream& AOut, const TScroll& A)
{
    return AOut << "{" << A.Min << ".." << A.Max << " page " << A.Page << " at " << A.Pos << "}";
}

class TListsFixture : public guitest::TGuiFixture {
public:
    // Table-driven steps reach these from lambdas.
    using TGuiFixture::AdvanceMs;
    using TGuiFixture::Display;
    using TGuiFixture::Pump;

    void SetUp() override
    {
        TGuiFixture::SetUp();
        Form = NewForm(Bounds(50, 50, 600, 500));
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

    TForm* Form = nullptr;
};

}  // namespace liststest
