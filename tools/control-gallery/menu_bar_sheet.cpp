#include "tools/control-gallery/menu_bar_sheet.h"

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/forms/images_menu.h"
#include "skin/forms/main_menu_bar.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/skin_form.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

TMenuItem* AddItem(TComponent* AOwner, TMenuItem* AParent, const std::string& ACaption, bool AEnabled = true)
{
    auto* item = new TMenuItem(AOwner);
    item->SetName("Item" + std::to_string(AParent->Count()) + "_" + std::to_string(AParent->MenuIndex() + 1));
    item->SetCaption(ACaption);
    item->SetEnabled(AEnabled);
    AParent->Add(item);
    return item;
}

// File, Edit, View (disabled), Tools and Help, each with a few commands.
TMainMenu* BuildMainMenu(TForm* AForm)
{
    auto* menu = new TMainMenu(AForm);
    TMenuItem* root = menu->Items();
    TMenuItem* file = AddItem(AForm, root, "&File");
    AddItem(AForm, file, "&Add files...");
    AddItem(AForm, file, "&Output folder...");
    TMenuItem* edit = AddItem(AForm, root, "&Edit");
    AddItem(AForm, edit, "&Trim");
    AddItem(AForm, edit, "C&rop");
    AddItem(AForm, edit, "-");
    AddItem(AForm, edit, "&Brightness and contrast");
    TMenuItem* view = AddItem(AForm, root, "&View", false);
    AddItem(AForm, view, "&Preview");
    TMenuItem* tools = AddItem(AForm, root, "&Tools");
    AddItem(AForm, tools, "&Presets...");
    TMenuItem* help = AddItem(AForm, root, "&Help");
    AddItem(AForm, help, "&About");
    return menu;
}

struct TBarForm {
    TForm* Form;
    TspCorvalis* Skin;
    TspSkinMainMenuBar* Bar;
};

TBarForm NewBarForm(TApplication& AApp, TspSkinData* ASkin, TRect ABounds, const std::string& ACaption)
{
    auto* form = new TForm(&AApp);
    form->SetBoundsRect(ABounds);
    form->SetCaption(ACaption);
    form->SetColor(static_cast<TColor>(0xE8E8E8));
    auto* corvalis = new TspCorvalis(form);
    if (ASkin) corvalis->SetSkinData(ASkin);
    auto* bar = new TspSkinMainMenuBar(form);
    bar->SetParent(form);
    if (ASkin) bar->SetSkinData(ASkin);
    bar->SetMainMenu(BuildMainMenu(form));
    bar->SetCorvalis(corvalis);
    form->Show();
    return {form, corvalis, bar};
}

TspSkinImagesMenu* NewImagesMenu(TForm* AForm, TspSkinData* ASkin)
{
    auto* images = new TImageList(AForm, 16, 16);
    const TColor colors[] = {0x2020C0, 0x20A020, 0xC06020, 0x20C0C0, 0xC020C0, 0xC0C020, 0x404040, 0x8080F0};
    for (TColor color : colors) {
        TBitmap b(16, 16, pf24bit);
        b.Canvas()->Brush()->SetColor(color);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        images->Add(&b, nullptr);
    }
    auto* picker = new TspSkinImagesMenu(AForm);
    picker->SetImages(images);
    picker->SetSkinData(ASkin);
    picker->SetColumnsCount(4);
    auto add = [picker](Integer AImage, bool AButton, bool AHeader, const std::string& ACaption) {
        TspImagesMenuItem* item = picker->ImagesItems()->Add();
        item->SetImageIndex(AImage);
        item->SetButton(AButton);
        item->SetHeader(AHeader);
        item->SetCaption(ACaption);
    };
    add(-1, false, true, "Colours");
    for (Integer i = 0; i < 7; ++i) add(i, false, false, "");
    add(7, true, false, "More...");
    picker->SetItemIndex(3);
    return picker;
}

bool WriteOne(TDemoScreen& AScreen, TspSkinData* ASkin, const std::string& AFile)
{
    TApplication app(nullptr);
    auto pump = [&] { app.ProcessMessages(); };
    TBarForm wide = NewBarForm(app, ASkin, Bounds(20, 20, 400, 200), "Menu bar");
    app.SetMainForm(wide.Form);
    TBarForm narrow = NewBarForm(app, ASkin, Bounds(430, 20, 200, 140), "Narrow bar");
    // Narrower than the form, whose skin may keep it wider than asked.
    narrow.Bar->SetAlign(alNone);
    narrow.Bar->SetBounds(0, 0, 150, narrow.Bar->Height());
    pump();
    // Edit dropped by a click, then the mouse on the narrow bar's marker.
    const TRect edit = wide.Bar->Items()[1]->ObjectRect;
    AScreen.Display().Click(wide.Bar->ClientToScreen(TPoint{(edit.Left + edit.Right) / 2, edit.Top + 5}));
    pump();
    const TRect marker = narrow.Bar->GetMarkerRect();
    AScreen.Display().MoveMouse(narrow.Bar->ClientToScreen(TPoint{marker.Left + 2, marker.Top + 5}));
    for (int step = 0; step < 8; ++step) {
        AScreen.Clock().Advance(25 * 1000);
        pump();
    }
    // The images menu below the wide form: the second colour hot, the third chosen.
    TspSkinImagesMenu* picker = NewImagesMenu(wide.Form, ASkin);
    picker->Popup(40, 300);
    pump();
    for (int step = 0; step < 2; ++step) picker->PopupWindow()->ProcessKey(win::VK_RIGHT);
    pump();
    const bool ok = AScreen.WriteScreen(AFile);
    picker->Hide();
    pump();
    return ok;
}

}  // namespace

bool WriteMenuBarSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    TDemoScreen screen{TSize{640, 420}};
    bool ok = WriteOne(screen, nullptr, AOut + "menu-bar-default.png");
    if (!ASkinFolder.empty()) {
        TspSkinData skin(nullptr);
        skin.LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + "skin.ini");
        ok = WriteOne(screen, &skin, AOut + "menu-bar-skin.png") && ok;
    }
    return ok;
}
