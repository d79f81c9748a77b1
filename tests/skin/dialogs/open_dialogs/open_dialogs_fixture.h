#pragma once
// The file dialogs over a private namespace (HOME, XDG and the mount table in a temporary tree), shown modally
// and driven by a script that runs once the dialog's form has become the active form.
#include <cctype>
#include <functional>
#include <string>

#include "platform/gui/screen.h"
#include "platform/win/keys.h"
#include "tests/skin/dialogs/shell_views/shell_views_fixture.h"

namespace opendialogstest {

class TDialogFixture : public shellviewstest::TShellViewsFixture {
protected:
    void TearDown() override
    {
        if (Screen) Screen->OnActiveFormChange = nullptr;
        TShellViewsFixture::TearDown();
    }

    // Runs ACall; AScript runs once, when a form of class TDialogForm becomes active. Returns ACall's result.
    template <typename TDialogForm>
    bool Session(const std::function<void(TDialogForm*)>& AScript, const std::function<bool()>& ACall)
    {
        bool scripted = false;
        Screen->OnActiveFormChange = [&](TObject*) {
            auto* form = dynamic_cast<TDialogForm*>(Screen->ActiveForm());
            if (!form || scripted) return;
            scripted = true;
            AScript(form);
        };
        const bool result = ACall();
        Screen->OnActiveFormChange = nullptr;
        EXPECT_TRUE(scripted) << "the dialog never became active";
        return result;
    }

    void ClickOn(TControl* AControl, TPoint AAt = {-1, -1})
    {
        Clock.Advance(1000000);  // never a double click with the last one
        if (AAt.X < 0) AAt = {AControl->Width() / 2, AControl->Height() / 2};
        Display.Click(AControl->ClientToScreen(AAt));
        Pump();
    }
    void Press(int AKey, char32_t AChar = 0)
    {
        Display.PressKey(AKey, AChar);
        Pump();
    }
    // Types text into the focused control, one key per character.
    void Type(const std::string& AText)
    {
        for (char c : AText) {
            int key = std::isalnum(static_cast<unsigned char>(c)) ? std::toupper(static_cast<unsigned char>(c)) : 0;
            if (c == '.') key = 0xBE;
            if (c == '/') key = 0xBF;
            if (c == '*') key = 0x6A;
            if (c == ' ') key = 0x20;
            Press(key, static_cast<char32_t>(c));
        }
    }
    void PressEnter() { Press(win::VK_RETURN, U'\r'); }
};

}  // namespace opendialogstest
