#pragma once
// A headless form with a skinned-form component on it, and the screen points of its frame.
#include <string>
#include <vector>

#include "platform/gui/forms.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/skin_form.h"
#include "tests/platform/gui/gui_fixture.h"

namespace formstest {

// Records what the skinned form asks of its hint component.
class TRecordingHint : public TspSkinHintBase {
public:
    using TspSkinHintBase::TspSkinHintBase;
    void ActivateHint2(const std::string& AHint) override { Shown.push_back(AHint); }
    void HideHint() override { ++Hidden; }
    std::vector<std::string> Shown;
    int Hidden = 0;
};

class TFormsFixture : public guitest::TGuiFixture {
protected:
    // A shown 200 x 100 form at (100, 100) with a component; the frame is painted once.
    TspCorvalis* NewSkinnedForm(TRect ABounds = Bounds(100, 100, 200, 100))
    {
        Form = NewForm(ABounds);
        Form->SetCaption("Trim");
        Corvalis = new TspCorvalis(Form);
        Form->Show();
        Pump();
        return Corvalis;
    }

    // A frame point (window coordinates) on the screen.
    TPoint At(Integer AX, Integer AY) const { return {Form->Left() + AX, Form->Top() + AY}; }

    win::LRESULT HitTest(Integer AX, Integer AY)
    {
        return win::SendMessage(Form->Handle(), win::WM_NCHITTEST, 0, win::PointToLParam(At(AX, AY)));
    }

    TspSkinStdButtonObject* Button(const std::string& AName)
    {
        const Integer i = Corvalis->GetIndex(AName);
        return i < 0 ? nullptr : dynamic_cast<TspSkinStdButtonObject*>(Corvalis->Objects(i));
    }

    // The colour at a frame point as the screen shows it, in 0x00BBGGRR form.
    TColor ScreenColor(Integer AX, Integer AY)
    {
        const TPoint at = At(AX, AY);
        const auto screen = Display.ComposeScreen();
        const uint32_t argb = screen[static_cast<size_t>(at.Y) * Display.ScreenSize().cx + at.X];
        return static_cast<TColor>(((argb & 0xFF) << 16) | (argb & 0xFF00) | ((argb >> 16) & 0xFF));
    }

    void Run(int AMilliseconds)
    {
        for (int i = 0; i < AMilliseconds; i += 10) AdvanceMs(10);
    }

    TForm* Form = nullptr;
    TspCorvalis* Corvalis = nullptr;
};

}  // namespace formstest
