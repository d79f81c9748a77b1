// The skinned frame at two sizes, active and inactive, one PNG each: the frame strips, the caption text in both
// colours and the caption buttons as the skin places them.
#include "skinned_form_states.h"

#include <cstdio>
#include <memory>
#include <string>

#include "platform/backend/headless/headless_backend.h"
#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/sysutils.h"
#include "skin/forms/skin_form.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

constexpr Integer kSheetW = 1200, kSheetH = 680;

class TStateShots {
public:
    TStateShots()
    {
        FApp = std::make_unique<TApplication>(nullptr);
    }
    ~TStateShots()
    {
        FApp.reset();
        Pump();
    }

    // One PNG per size and state: AOut + "form-states-<w>x<h>-<active|inactive>.png".
    bool Write(const std::string& ASkinFolder, const std::string& AOut)
    {
        auto* skin = new TspSkinData(FApp.get());
        skin->LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + "skin.ini");
        struct TShot {
            TSize Size;
            bool Active;
        };
        const TShot shots[] = {{{400, 300}, true}, {{400, 300}, false}, {{560, 180}, true}, {{560, 180}, false}};
        bool ok = true;
        for (const TShot& shot : shots) {
            auto* form = new TForm(FApp.get());
            form->SetBoundsRect(Bounds(20, 20, shot.Size.cx, shot.Size.cy));
            form->SetCaption(shot.Active ? "Quennary - active" : "Quennary - inactive, with a long caption");
            auto* corvalis = new TspCorvalis(form);
            corvalis->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize,
                                      TspBorderIcon::biMaximize, TspBorderIcon::biRollUp});
            corvalis->SetSkinData(skin);
            form->Show();
            Pump();
            TForm* other = nullptr;
            if (!shot.Active) {
                // Another window takes the activation: the form shows its inactive look.
                other = new TForm(FApp.get());
                other->SetBoundsRect(Bounds(kSheetW - 60, kSheetH - 40, 50, 30));
                other->Show();
                Pump();
            }
            // Caption animations and fades run to the end.
            for (int step = 0; step < 40; ++step) {
                FScreen.Clock().Advance(25 * 1000);
                Pump();
            }
            const std::string file = AOut + "form-states-" + std::to_string(shot.Size.cx) + "x" +
                                     std::to_string(shot.Size.cy) + (shot.Active ? "-active" : "-inactive") + ".png";
            const bool written = FScreen.Display().WriteWindowPng(form->Handle(), file);
            std::printf("%s %s\n", written ? "wrote" : "could not write", file.c_str());
            ok = ok && written;
            delete other;
            delete form;
            Pump();
        }
        return ok;
    }

private:
    void Pump()
    {
        if (FApp)
            FApp->ProcessMessages();
        else
            headless::THeadlessBackend::ProcessMessages();
    }

    TDemoScreen FScreen{TSize{kSheetW, kSheetH}};
    std::unique_ptr<TApplication> FApp;
};

}  // namespace

bool WriteSkinnedFormStates(const std::string& AOut, const std::string& ASkinFolder)
{
    if (ASkinFolder.empty()) return true;
    TStateShots shots;
    return shots.Write(ASkinFolder, AOut);
}
