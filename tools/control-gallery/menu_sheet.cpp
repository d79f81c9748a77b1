#include "tools/control-gallery/menu_sheet.h"

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/popup_window.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

TMenuItem* AddItem(TMenuItem* AParent, const std::string& ACaption, bool AEnabled = true)
{
    auto* item = new TMenuItem(AParent->GetParentMenu());
    item->SetCaption(ACaption);
    item->SetEnabled(AEnabled);
    AParent->Add(item);
    return item;
}

// A menu with what items can show: shortcuts, a sub-menu, check and radio marks, a disabled item, a header, a
// separator and a system item with its own picture.
void BuildMenu(TPopupMenu* AMenu)
{
    TMenuItem* root = AMenu->Items();
    AddItem(root, "&Open file...")->SetShortCut(TextToShortCut("Ctrl+O"));
    TMenuItem* recent = AddItem(root, "&Recent files");
    TMenuItem* first = AddItem(recent, "first-clip.avi");
    first->SetRadioItem(true);
    first->SetChecked(true);
    AddItem(recent, "holiday.mp4")->SetRadioItem(true);
    AddItem(recent, "-");
    AddItem(recent, "&Clear the list");
    AddItem(root, "-");
    AddItem(root, "-Preview-", false);
    AddItem(root, "&Snapshot")->SetChecked(true);
    AddItem(root, "&Merge into one file", false);
    AddItem(root, "-");
    TMenuItem* close = AddItem(root, "&Close");
    close->SetName("CVL_CLOSE");
    close->SetShortCut(TextToShortCut("Alt+F4"));
}

bool WriteOne(TDemoScreen& AScreen, TApplication& AApp, TForm* AForm, TspSkinData* ASkin, const std::string& AFile)
{
    auto* menu = new TPopupMenu(AForm);
    BuildMenu(menu);
    auto* engine = new TspSkinMenu(AForm, AForm);
    engine->Popup(nullptr, ASkin, 0, Rect(30, 30, 30, 30), menu->Items(), false);
    AApp.ProcessMessages();
    // Down to "Recent files", open it, and make its second item hot.
    engine->LastLevel()->PopupKeyDown(win::VK_DOWN);
    engine->LastLevel()->PopupKeyDown(win::VK_RIGHT);
    engine->LastLevel()->PopupKeyDown(win::VK_DOWN);
    AApp.ProcessMessages();
    const bool ok = AScreen.WriteScreen(AFile);
    delete engine;
    delete menu;
    AApp.ProcessMessages();
    return ok;
}

}  // namespace

bool WriteMenuSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    TDemoScreen screen;
    TApplication app(nullptr);
    auto* form = new TForm(&app);
    form->SetBorderStyle(bsNone);
    form->SetBoundsRect(Bounds(0, 0, 800, 600));
    form->SetColor(static_cast<TColor>(0x606060));
    form->Show();
    app.ProcessMessages();
    bool ok = WriteOne(screen, app, form, nullptr, AOut + "menus-default.png");
    if (!ASkinFolder.empty()) {
        auto* skin = new TspSkinData(&app);
        skin->LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + "skin.ini");
        ok = WriteOne(screen, app, form, skin, AOut + "menus-skin.png") && ok;
    }
    return ok;
}
