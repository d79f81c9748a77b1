#pragma once
// An MDI parent as the application's main form, with its skinned form, and children shown in it.
#include <string>
#include <vector>

#include "platform/gui/forms.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"
#include "tests/platform/gui/gui_fixture.h"

namespace formstest {

class TMdiFixture : public guitest::TGuiFixture {
protected:
    // A frameless parent, so that its client area is the whole form.
    void MakeParent(Integer AWidth = 600, Integer AHeight = 300)
    {
        Parent = App->CreateForm<TForm>();
        Parent->SetName("Main");
        Parent->SetFormStyle(fsMDIForm);
        Parent->SetBorderStyle(bsNone);
        Parent->SetBoundsRect(Bounds(0, 0, AWidth, AHeight));
        ParentSkin = new TspCorvalis(Parent);
        Parent->Show();
        Pump();
    }

    // A shown child; with ASkinned it carries a skinned form of its own.
    TForm* AddChild(const std::string& AName, bool ASkinned = true)
    {
        auto* child = new TForm(App.get());
        child->SetName(AName);
        child->SetCaption(AName);
        child->SetFormStyle(fsMDIChild);
        child->SetBoundsRect(Bounds(10, 10, 200, 120));
        if (ASkinned) new TspCorvalis(child);
        child->Show();
        Pump();
        Children.push_back(child);
        return child;
    }

    TspCorvalis* SkinOf(TCustomForm* AForm) { return FindSkinFormComponent(AForm); }
    TspFormMenus* ParentMenus() { return FormMenusOf(ParentSkin); }

    TRect WorkArea()
    {
        TRect r;
        ParentMenus()->GetMDIWorkArea(r);
        return r;
    }

    TForm* Parent = nullptr;
    TspCorvalis* ParentSkin = nullptr;
    std::vector<TForm*> Children;
};

}  // namespace formstest
