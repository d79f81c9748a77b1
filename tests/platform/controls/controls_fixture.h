#pragma once
// Edit fields on a shown form of the headless screen, with typing and key helpers that go through the window
// manager's input queue as a user's keys would.
#include "tests/platform/gui/gui_fixture.h"

#include "platform/controls/custom_edit.h"
#include "platform/controls/edit_clipboard.h"
#include "platform/controls/text_measure.h"
#include "platform/controls/text_steps.h"
#include "platform/gui/forms.h"

#include <string>

namespace controlstest {

using namespace win;

class TControlsFixture : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        Form = NewForm();
        Form->Show();
        Pump();
    }

    template <typename TEditClass = TEdit>
    TEditClass* AddEdit(TRect ABounds = Bounds(10, 10, 200, 24))
    {
        auto* edit = new TEditClass(Form);
        edit->SetBoundsRect(ABounds);
        edit->SetParent(Form);
        edit->SetFocus();
        Pump();
        return edit;
    }

public:
    void Type(const std::string& AText)
    {
        for (size_t p = 0, length; p < AText.size(); p += length) {
            char32_t code = edittext::DecodeAt(AText, p, &length);
            Display.PressKey(code < 0x80 && code >= 'a' && code <= 'z' ? int(code - 32) : 0x41, code);
        }
        Pump();
    }
    // Presses AKey with the modifier keys held (VK_SHIFT, VK_CONTROL).
    void Key(int AKey, std::initializer_list<int> AModifiers = {}, char32_t AChar = 0)
    {
        for (int modifier : AModifiers)
            Display.KeyDown(modifier);
        Display.PressKey(AKey, AChar);
        for (int modifier : AModifiers)
            Display.KeyUp(modifier);
        Pump();
    }
protected:
    TPoint ScreenOf(TControl* AControl, TPoint AClient) { return AControl->ClientToScreen(AClient); }

    TForm* Form = nullptr;
};

}  // namespace controlstest
