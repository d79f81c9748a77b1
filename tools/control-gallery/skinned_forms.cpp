// The skinned-form block of the gallery: a 400 x 300 form with the default frame (no skin) and, given a skin
// folder, one with that skin's frame, each written as a PNG of the whole window.
#include "skinned_forms.h"

#include <cstdio>
#include <memory>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/sysutils.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/skin_form.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

class TFormShots {
public:
    TFormShots()
    {
        FApp = std::make_unique<TApplication>(nullptr);
    }
    ~TFormShots()
    {
        FApp.reset();
        Pump();
    }

    // ASkin nullptr: the default frame. The mouse rests on the close button, so its hot look shows.
    bool Shoot(TspSkinData* ASkin, const std::string& AFile)
    {
        auto* form = new TForm(FApp.get());
        form->SetBoundsRect(Bounds(40, 40, 400, 300));
        form->SetCaption("Quennary - skinned form");
        auto* corvalis = new TspCorvalis(form);
        corvalis->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize,
                                  TspBorderIcon::biMaximize, TspBorderIcon::biRollUp});
        if (ASkin) corvalis->SetSkinData(ASkin);
        form->Show();
        Pump();
        for (Integer i = 0; i < corvalis->ObjectCount(); ++i) {
            auto* button = dynamic_cast<TspSkinStdButtonObject*>(corvalis->Objects(i));
            if (!button || button->Command != cmClose || !button->Visible) continue;
            const TRect r = button->ObjectRect;
            FScreen.Display().MoveMouse({form->Left() + (r.Left + r.Right) / 2, form->Top() + (r.Top + r.Bottom) / 2});
            // The mouse timer finds the button, then its hover fade runs to the end.
            for (int step = 0; step < 12; ++step) {
                FScreen.Clock().Advance(25 * 1000);
                Pump();
            }
            break;
        }
        const bool ok = FScreen.Display().WriteWindowPng(form->Handle(), AFile);
        std::printf("%s %s\n", ok ? "wrote" : "could not write", AFile.c_str());
        delete form;
        Pump();
        return ok;
    }

    TspSkinData* LoadSkin(const std::string& AFolder)
    {
        auto* skin = new TspSkinData(FApp.get());
        skin->LoadFromFile(IncludeTrailingPathDelimiter(AFolder) + "skin.ini");
        return skin;
    }

private:
    void Pump()
    {
        if (FApp)
            FApp->ProcessMessages();
        else
            headless::THeadlessBackend::ProcessMessages();
    }

    TDemoScreen FScreen{TSize{480, 380}};
    std::unique_ptr<TApplication> FApp;
};

}  // namespace

bool WriteSkinnedFormSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    TFormShots shots;
    bool ok = shots.Shoot(nullptr, AOut + "form-default.png");
    if (!ASkinFolder.empty()) ok = shots.Shoot(shots.LoadSkin(ASkinFolder), AOut + "form-skin.png") && ok;
    return ok;
}
