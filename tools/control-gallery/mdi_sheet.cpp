// An MDI parent with its main-menu bar, its tabs bar and three skinned children: cascaded with one tab hot, and
// with one child maximized (its buttons on the menu bar), in the plain look and in the skin.
#include "tools/control-gallery/mdi_sheet.h"

#include <memory>
#include <string>

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/window.h"
#include "skin/forms/main_menu_bar.h"
#include "skin/forms/mdi_tabs_bar.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

class TMdiShots {
public:
    TMdiShots() { FApp = std::make_unique<TApplication>(nullptr); }
    ~TMdiShots()
    {
        FApp.reset();
        Pump();
    }

    bool Write(TspSkinData* ASkin, const std::string& AOut, const std::string& ALook)
    {
        auto* parent = FApp->CreateForm<TForm>();
        parent->SetName("Workspace");
        parent->SetCaption("Quennary jobs");
        parent->SetFormStyle(fsMDIForm);
        parent->SetBoundsRect(Bounds(10, 10, 640, 420));
        auto* skinForm = new TspCorvalis(parent);
        if (ASkin) skinForm->SetSkinData(ASkin);
        auto* menu = new TMainMenu(parent);
        for (const char* caption : {"&File", "&Edit", "&Window", "&Help"}) {
            auto* item = new TMenuItem(parent);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        auto* menuBar = new TspSkinMainMenuBar(parent);
        menuBar->SetAlign(alTop);
        menuBar->SetParent(parent);
        if (ASkin) menuBar->SetSkinData(ASkin);
        menuBar->SetMainMenu(menu);
        menuBar->SetCorvalis(skinForm);
        auto* tabs = new TspSkinMDITabsBar(parent);
        tabs->SetAlign(alTop);
        tabs->SetTop(100);
        tabs->SetParent(parent);
        if (ASkin) tabs->SetSkinData(ASkin);
        tabs->SetShowCloseButtons(true);
        tabs->SetCorvalis(skinForm);
        skinForm->SetMDITabsBar(tabs);
        parent->Show();
        Pump();
        TForm* children[3];
        const char* captions[3] = {"Holiday clip.mp4", "Interview, second take.avi", "Trailer.mkv"};
        for (int i = 0; i < 3; ++i) {
            auto* child = new TForm(FApp.get());
            child->SetName("Job" + std::to_string(i + 1));
            child->SetCaption(captions[i]);
            child->SetFormStyle(fsMDIChild);
            child->SetBoundsRect(Bounds(0, 0, 300, 160));
            auto* childSkin = new TspCorvalis(child);
            if (ASkin) childSkin->SetSkinData(ASkin);
            child->Show();
            Pump();
            children[i] = child;
        }
        FormMenusOf(skinForm)->Cascade();
        // The middle child up front, the first tab under the mouse.
        children[1]->Show();
        if (children[1]->HandleAllocated()) win::BringWindowToTop(children[1]->Handle());
        tabs->UpdateTabs();
        tabs->Invalidate();
        Pump();
        tabs->TrackHotTab(tabs->Tabs(0)->ObjectRect.Left + 4, 4);
        Settle();
        bool ok = FScreen.WriteWindow(parent->Handle(), AOut + "mdi-" + ALook + ".png");
        tabs->TrackHotTab(-1, -1);
        // A click on the last tab brings its child up; then it is maximized.
        const TRect last = tabs->Tabs(2)->ObjectRect;
        const win::LPARAM at = win::MAKELPARAM(last.Left + 10, last.Top + last.Height() / 2);
        win::SendMessage(tabs->Handle(), win::WM_LBUTTONDOWN, win::MK_LBUTTON, at);
        win::SendMessage(tabs->Handle(), win::WM_LBUTTONUP, 0, at);
        FindSkinFormComponent(children[2])->SetWindowState(wsMaximized);
        Settle();
        ok = FScreen.WriteWindow(parent->Handle(), AOut + "mdi-" + ALook + "-maximized.png") && ok;
        for (TForm* child : children) delete child;
        delete parent;
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
    void Settle()
    {
        for (int step = 0; step < 20; ++step) {
            FScreen.Clock().Advance(25 * 1000);
            Pump();
        }
    }

    TDemoScreen FScreen{TSize{800, 600}};
    std::unique_ptr<TApplication> FApp;
};

}  // namespace

bool WriteMdiSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    TMdiShots shots;
    bool ok = shots.Write(nullptr, AOut, "plain");
    if (!ASkinFolder.empty()) ok = shots.Write(shots.LoadSkin(ASkinFolder), AOut, "skin") && ok;
    return ok;
}
