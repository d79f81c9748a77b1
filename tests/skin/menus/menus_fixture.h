#pragma once
// A headless screen with a known work area, a shown form with its menu engine, menu trees built in a line, and a
// log of the notifications a menu sends.
#include <string>
#include <vector>

#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/popup_window.h"
#include "tests/platform/gui/gui_fixture.h"
#include "tests/skin/menus/skin_form_maker.h"

namespace menustest {

constexpr win::UINT kCloseMenu = 1228;
constexpr win::UINT kAfterMenuCommand = 1229;

// A control that writes the menu notifications it hears into a log.
class TRecorder : public TCustomControl {
public:
    TRecorder(TComponent* AOwner, std::vector<std::string>* ALog) : TCustomControl(AOwner), Log(ALog) {}
    void WndProc(TMessage& AMessage) override
    {
        if (AMessage.Msg == kCloseMenu) Log->push_back("control: close menu");
        if (AMessage.Msg == kAfterMenuCommand) Log->push_back("control: after command");
        TCustomControl::WndProc(AMessage);
    }
    std::vector<std::string>* Log;
};

class TMenusFixture : public guitest::TGuiFixture {
protected:
    void SetUp() override
    {
        TGuiFixture::SetUp();
        Display.SetMonitors({{Rect(0, 0, 1024, 768), WorkArea, true}});
        Form = NewForm(Bounds(100, 100, 400, 300));
        Form->Show();
        Pump();
        Engine = new TspSkinMenu(Form, Form);
        Menu = new TPopupMenu(Form);
    }

    // Adds an item under AParent (the menu's root when nullptr); a caption "-" makes a separator.
    TMenuItem* Add(const std::string& ACaption, TMenuItem* AParent = nullptr, bool AEnabled = true)
    {
        auto* item = new TMenuItem(Form);
        item->SetCaption(ACaption);
        item->SetEnabled(AEnabled);
        (AParent ? AParent : Menu->Items())->Add(item);
        return item;
    }
    // A clicked item writes its caption into the log.
    TMenuItem* AddLogged(const std::string& ACaption, TMenuItem* AParent = nullptr)
    {
        TMenuItem* item = Add(ACaption, AParent);
        item->OnClick = [this, ACaption](TObject*) { Log.push_back("click " + ACaption); };
        return item;
    }

    void PopupAt(Integer AX, Integer AY, TControl* AControl = nullptr)
    {
        Engine->Popup(AControl, nullptr, 0, Rect(AX, AY, AX, AY), Menu->Items(), false);
        Pump();
    }
    TspSkinPopupWindow* Level(Integer AIndex) { return Engine->Level(AIndex); }
    TspSkinPopupWindow* Last() { return Engine->LastLevel(); }
    void Key(Integer AKey)
    {
        Last()->PopupKeyDown(AKey);
        Pump();
    }
    // The screen centre of item AIndex of a level.
    TPoint ItemPoint(TspSkinPopupWindow* ALevel, Integer AIndex)
    {
        const TRect& r = ALevel->Item(AIndex)->ObjectRect;
        return TPoint{ALevel->Left() + (r.Left + r.Right) / 2, ALevel->Top() + (r.Top + r.Bottom) / 2};
    }
    // Moves the virtual clock in 10 ms steps, so that each timer fires at its own time.
    void Run(int AMilliseconds)
    {
        for (int i = 0; i < AMilliseconds; i += 10) AdvanceMs(10);
    }

    TRect WorkArea = Rect(0, 0, 1024, 740);
    TForm* Form = nullptr;
    TspSkinMenu* Engine = nullptr;
    TPopupMenu* Menu = nullptr;
    std::vector<std::string> Log;
};

// The same form with a skinned-form component and its menus.
class TSkinFormFixture : public TMenusFixture {
protected:
    void SetUp() override
    {
        TMenusFixture::SetUp();
        SkinForm = NewSkinForm(Form);
        Pump();
        Menus = FormMenusOfForm(Form);
    }

    TspCorvalis* SkinForm = nullptr;
    TspFormMenus* Menus = nullptr;
};

}  // namespace menustest
