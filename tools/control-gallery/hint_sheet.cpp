#include "tools/control-gallery/hint_sheet.h"

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/forms/hint_component.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

bool WriteOne(TDemoScreen& AScreen, TApplication& AApp, TspSkinHint* AHint, TCustomImageList* AImages,
              const std::string& AFile)
{
    AHint->ActivateHintEx({40, 40}, "Trim", "Cut the start and the end@of the selected file", 0, AImages);
    AApp.ProcessMessages();
    const bool ok = AScreen.WriteWindow(AHint->Window()->Handle(), AFile);
    AHint->HideHint();
    AApp.ProcessMessages();
    return ok;
}

}  // namespace

bool WriteHintSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    TDemoScreen screen;
    TApplication app(nullptr);
    auto* form = new TForm(&app);
    form->SetBorderStyle(bsNone);
    form->SetBoundsRect(Bounds(0, 0, 400, 200));
    form->Show();
    app.SetMainForm(form);
    app.ProcessMessages();
    // A 16 x 16 image: a blue square with a white bar, enough to see where the image goes.
    auto* images = new TImageList(form, 16, 16);
    TBitmap picture(16, 16, pf24bit);
    picture.Canvas()->Brush()->SetColor(static_cast<TColor>(0xC06020));
    picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    picture.Canvas()->Brush()->SetColor(clWhite);
    picture.Canvas()->FillRect(Rect(3, 7, 13, 9));
    images->Add(&picture, nullptr);
    auto* hint = new TspSkinHint(form);
    bool ok = WriteOne(screen, app, hint, images, AOut + "hints-default.png");
    if (!ASkinFolder.empty()) {
        auto* skin = new TspSkinData(&app);
        skin->LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + "skin.ini");
        hint->SetSkinData(skin);
        ok = WriteOne(screen, app, hint, images, AOut + "hints-skin.png") && ok;
    }
    return ok;
}
