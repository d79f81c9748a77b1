#pragma once
// A headless application for message boxes, an in-memory skin that can lend the box a button record and texts,
// and a way to script a modal box: the script runs once the box has become the active form.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/screen.h"
#include "skin/controls/push_button.h"
#include "skin/core/control_records.h"
#include "skin/core/interface_texts.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/message_box.h"
#include "tests/platform/gui/gui_fixture.h"

namespace msgboxtest {

class TMessageBoxFixture : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        Box = new TspSkinMessage(App.get());
    }
    void TearDown() override
    {
        if (Screen) Screen->OnActiveFormChange = nullptr;
        TGuiFixture::TearDown();
    }

    // A skin with nothing in it but what a test adds.
    TspSkinData* NewSkin()
    {
        auto* skin = new TspSkinData(App.get());
        return skin;
    }
    // A button record whose pictures are AHeight high.
    void AddButtonRecord(TspSkinData* ASkin, const std::string& AName, Integer AHeight)
    {
        auto record = std::make_unique<TspDataSkinButtonControl>(AName);
        record->SkinRect = Rect(0, 0, 60, AHeight);
        ASkin->CtrlList.push_back(std::move(record));
        ASkin->Empty = false;
    }
    // Texts for the box: the given "KEY=text" lines only.
    void SetTexts(TspSkinData* ASkin, const std::vector<std::string>& ALines)
    {
        auto* texts = new TspResourceStrData(App.get());
        TStringList lines;
        for (const std::string& line : ALines) lines.Add(line);
        texts->SetResStrings(&lines);
        ASkin->SetResourceStrData(texts);
    }

    // Builds a box with the component's settings, not shown; the caller deletes it.
    std::unique_ptr<TspMessageForm> Build(const std::string& AMsg, TMsgDlgType AType, TMsgDlgButtons AButtons,
                                          Integer AX = kMessageBoxCentred, Integer AY = kMessageBoxCentred)
    {
        return std::unique_ptr<TspMessageForm>(CreateSkinMessageDialog(AMsg, AType, AButtons, AX, AY,
                                                                       Box->Settings()));
    }

    static TspSkinButton* ButtonOf(TspMessageForm* AForm, TMsgDlgBtn AButton)
    {
        return dynamic_cast<TspSkinButton*>(AForm->FindComponent(ButtonName(AButton)));
    }

    // Runs ACall; AScript runs once, when the box it shows becomes the active form. Returns ACall's result.
    Integer Session(const std::function<void(TspMessageForm*)>& AScript, const std::function<Integer()>& ACall)
    {
        bool scripted = false;
        Screen->OnActiveFormChange = [&](TObject*) {
            auto* box = dynamic_cast<TspMessageForm*>(Screen->ActiveForm());
            if (!box || scripted) return;
            scripted = true;
            AScript(box);
        };
        const Integer result = ACall();
        Screen->OnActiveFormChange = nullptr;
        EXPECT_TRUE(scripted) << "the box never became active";
        return result;
    }

    void ClickOn(TControl* AControl)
    {
        Clock.Advance(1000000);  // never a double click with the last one
        Display.Click(AControl->ClientToScreen({AControl->Width() / 2, AControl->Height() / 2}));
    }

    TspSkinMessage* Box = nullptr;
};

}  // namespace msgboxtest
