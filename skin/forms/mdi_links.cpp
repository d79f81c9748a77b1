// The skinned form of an MDI parent and of its children: the children's tabs on the parent's tabs bar, the
// window-state messages a child sends its parent, refitting maximized children, and the procedure put in front
// of the MDI client window, which has no frame of its own and paints the skin's background.
#include "platform/gui/application.h"
#include "platform/win/window.h"
#include "skin/core/skin_data_messages.h"
#include "skin/forms/mdi_child_buttons.h"
#include "skin/forms/mdi_tabs_bar.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {

TCustomForm* MainFormOf() { return Application ? Application->MainForm() : nullptr; }

// The tabs bar of the application's main form, where every child's tab goes.
TspSkinMDITabsBar* MainTabsBar()
{
    TspCorvalis* main = FindSkinFormComponent(MainFormOf());
    return main ? main->MDITabsBar() : nullptr;
}

// The skinned main-menu bar showing this form's menu, which carries a maximized child's buttons.
TspSkinMainMenuBar* MenuBarOf(TspCorvalis* ASkinForm)
{
    TspFormMenus* menus = ASkinForm ? FormMenusOf(ASkinForm) : nullptr;
    return menus ? dynamic_cast<TspSkinMainMenuBar*>(menus->MainMenuBar) : nullptr;
}

}  // namespace

void TspCorvalis::SetMDITabsBar(TspSkinMDITabsBar* Value)
{
    if (FMDITabsBar == Value) return;
    if (FMDITabsBar) FMDITabsBar->RemoveFreeNotification(this);
    FMDITabsBar = Value;
    if (FMDITabsBar) FMDITabsBar->FreeNotification(this);
}

TspCorvalis* TspCorvalis::FindMaximizedChild()
{
    TCustomForm* main = MainFormOf();
    if (!main) return nullptr;
    if (TspCorvalis* active = FindSkinFormComponent(main->ActiveMDIChild()))
        if (active->WindowState() == wsMaximized) return active;
    for (Integer i = 0; i < main->MDIChildCount(); ++i)
        if (TspCorvalis* child = FindSkinFormComponent(main->MDIChildren(i)))
            if (child->WindowState() == wsMaximized) return child;
    return nullptr;
}

void TspCorvalis::AddChildToBar(TCustomForm* Child)
{
    TCustomForm* main = MainFormOf();
    TspCorvalis* mainSkin = FindSkinFormComponent(main);
    if (!mainSkin || !mainSkin->FMDITabsBar) return;
    bool accept = true;
    if (mainSkin->OnAcceptToMDITabsBar) mainSkin->OnAcceptToMDITabsBar(mainSkin, Child, accept);
    if (accept) mainSkin->FMDITabsBar->AddTab(Child);
}

void TspCorvalis::DeleteChildFromBar(TCustomForm* Child)
{
    if (TspSkinMDITabsBar* bar = MainTabsBar()) bar->DeleteTab(Child);
}

void TspCorvalis::RefreshMDIBarTab(TCustomForm* Child)
{
    if (TspSkinMDITabsBar* bar = MainTabsBar()) bar->RedrawTabsOf(Child);
}

void TspCorvalis::UpdateMDITabsBar()
{
    if (TspSkinMDITabsBar* bar = MainTabsBar()) bar->UpdateTabs();
}

void TspCorvalis::UpdateMainFormMenuBar()
{
    TspSkinMainMenuBar* bar = MenuBarOf(FindSkinFormComponent(MainFormOf()));
    if (bar && (bar->GetChildMainMenu() || bar->ChildMenuIn)) bar->UpDateItems();
}

void TspCorvalis::NotifyMainForm(UINT AMsg)
{
    TCustomForm* main = MainFormOf();
    if (main && main != FForm && main->HandleAllocated()) SendMessage(main->Handle(), AMsg, 0, 0);
}

void TspCorvalis::RefitMDIChildren()
{
    if (FForm->FormStyle() != fsMDIForm) return;
    // A copy: a child may go while it refits.
    std::vector<TCustomForm*> children;
    for (Integer i = 0; i < FForm->MDIChildCount(); ++i) children.push_back(FForm->MDIChildren(i));
    for (TCustomForm* child : children)
        if (child->HandleAllocated()) SendMessage(child->Handle(), SKM_MDICHILD_REFIT, 0, 0);
    if (TspFormMenus* menus = FormMenusOf(this)) menus->ArrangeMinimizedChildren();
}

void TspCorvalis::MDIChildShown(bool AShown)
{
    if (FForm->FormStyle() == fsMDIForm && AShown) HookMDIClient();
    if (FForm->FormStyle() != fsMDIChild) return;
    TspFormMenus* menus = FormMenusOf(this);
    if (AShown) {
        if (menus) menus->AddChildToMenu(FForm);
        AddChildToBar(FForm);
    } else {
        if (menus) menus->DeleteChildFromMenu(FForm);
        DeleteChildFromBar(FForm);
    }
}

void TspCorvalis::MDIChildGoing()
{
    if (FForm->FormStyle() != fsMDIChild) return;
    FWindowState = wsNormal;
    NotifyMainForm(SKM_MDICHILD_RESTORED);
    DeleteChildFromBar(FForm);
}

bool TspCorvalis::MDIMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case SKM_AFTERCHANGE:
        if (reinterpret_cast<TspSkinData*>(Message.WParam) == FSD && FSD) RefitMDIChildren();
        return false;
    case SKM_MDICHILD_REFIT:
        if (FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized) {
            TRect work;
            if (TspFormMenus* menus = FormMenusOf(this)) menus->GetMDIWorkArea(work);
            FForm->SetBounds(0, 0, work.Width(), work.Height());
        }
        return false;
    case SKM_MDICHILD_MAXIMIZED:
        if (FForm->FormStyle() != fsMDIForm) return false;
        FMDIChildMaximized = true;
        FrameRepaint();
        if (TspSkinMainMenuBar* bar = MenuBarOf(this)) MDIChildMaximize(bar);
        return false;
    case SKM_MDICHILD_RESTORED:
        if (FForm->FormStyle() != fsMDIForm) return false;
        if (!FindMaximizedChild()) FMDIChildMaximized = false;
        FrameRepaint();
        if (TspSkinMainMenuBar* bar = MenuBarOf(this)) MDIChildRestore(bar);
        return false;
    default: return false;
    }
}

// ---- The MDI client window ----

void TspCorvalis::HookMDIClient()
{
    const HWND client = FForm->ClientHandle();
    if (!client || client == FClientWindow) return;
    UnHookMDIClient();
    if (!FClientInstance)
        FClientInstance = MakeObjectInstance(
            [alive = FAlive, previous = FPrevClientProc, this](HWND W, UINT M, WPARAM WP, LPARAM LP) {
                if (*alive) return MDIClientProc(W, M, WP, LP);
                return *previous ? CallWindowProc(*previous, W, M, WP, LP) : DefWindowProc(W, M, WP, LP);
            });
    FClientWindow = client;
    *FPrevClientProc = reinterpret_cast<WNDPROC>(
        SetWindowLong(client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FClientInstance)));
    // The client window's size is refreshed under the new procedure.
    TRect r;
    if (GetClientRect(client, r)) SendMessage(client, WM_SIZE, 0, MAKELPARAM(r.Width(), r.Height()));
}

void TspCorvalis::UnHookMDIClient()
{
    bool inChain = false;
    if (FClientWindow && IsWindow(FClientWindow)) {
        if (reinterpret_cast<WNDPROC>(GetWindowLong(FClientWindow, GWL_WNDPROC)) == FClientInstance)
            SetWindowLong(FClientWindow, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(*FPrevClientProc));
        else
            inChain = true;  // under a later procedure ours stays, passing messages on
    }
    FClientWindow = nullptr;
    if (inChain) FClientInstance = nullptr;
    if (FDestroying && FClientInstance) {
        FreeObjectInstance(FClientInstance);
        FClientInstance = nullptr;
    }
}

LRESULT TspCorvalis::MDIClientProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
    auto previous = [&] {
        return *FPrevClientProc ? CallWindowProc(*FPrevClientProc, AWindow, AMsg, AWParam, ALParam)
                                : DefWindowProc(AWindow, AMsg, AWParam, ALParam);
    };
    switch (AMsg) {
    case WM_SIZE: {
        const LRESULT result = previous();
        RefitMDIChildren();
        const bool picture = FSD && !FSD->Empty && FSD->MDIBGPictureIndex != -1;
        const bool stretched = FSD && !FSD->Empty && (picture ? FSD->MDIBGStretchEffect : FSD->StretchEffect);
        if (!FLogoBitMap.Empty() || stretched) {
            const TRect r{0, 0, FForm->ClientWidth(), FForm->ClientHeight()};
            RedrawWindow(AWindow, &r, nullptr, RDW_ERASE | RDW_INVALIDATE);
        }
        return result;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT: return 0;
    case WM_NCACTIVATE: return 1;
    case WM_ERASEBKGND: PaintMDIClientBackground(reinterpret_cast<HDC>(AWParam)); return 1;
    default: return previous();
    }
}

void TspCorvalis::PaintMDIClientBackground(HDC DC)
{
    if (!FSD || FSD->Empty) {
        if (!DC) return;
        TCanvas canvas;
        canvas.SetHandle(DC);
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(clAppWorkSpace);
        TRect r;
        if (GetClientRect(FClientWindow, r)) canvas.FillRect(r);
        canvas.SetHandle(nullptr);
    } else if (FSD->MDIBGPictureIndex != -1) {
        PaintBG3(DC);
    } else if (FSD->BGPictureIndex == -1) {
        PaintBG(DC);
    } else {
        PaintBG2(DC);
    }
}
