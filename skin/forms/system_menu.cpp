// The skinned form's system menu (rebuilt for the window state at every opening), its tray menu and minimizing to
// the tray, and the MDI window commands of an MDI parent.
#include <cmath>

#include "platform/gui/screen.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/interface_texts.h"
#include "skin/core/platform_gates.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {
constexpr const char* kChildItemSuffix = "_CVLCHILDITEM";

TspCorvalis* SkinFormOf(TCustomForm* AForm)
{
    return AForm ? FindSkinFormComponent(AForm) : nullptr;
}

bool IsChildItemOf(TMenuItem* AItem, const std::string& AChildName)
{
    const std::string& name = AItem->Name();
    const size_t at = name.find(kChildItemSuffix);
    if (at == std::string::npos) return false;
    return name.substr(0, at) + name.substr(at + std::string(kChildItemSuffix).size()) == AChildName;
}
}  // namespace

// ---- window state ----

bool TspFormMenus::FormMaximized()
{
    return FSkinForm ? FSkinForm->WindowState() == wsMaximized : FForm->WindowState() == wsMaximized;
}

bool TspFormMenus::FormMinimized()
{
    return FSkinForm ? FSkinForm->WindowState() == wsMinimized : FForm->WindowState() == wsMinimized;
}

bool TspFormMenus::FormRolledUp()
{
    return FSkinForm && FSkinForm->RollUpState();
}

void TspFormMenus::SysMinimizeClick(TObject*)
{
    if (FSkinForm && FSkinForm->AlwaysMinimizeToTray()) MinimizeToTray();
    else if (FSkinForm) FSkinForm->SetWindowState(wsMinimized);
}

void TspFormMenus::SysMaximizeClick(TObject*)
{
    if (FSkinForm) FSkinForm->SetWindowState(wsMaximized);
}

void TspFormMenus::SysRestoreClick(TObject*)
{
    if (!FSkinForm) return;
    if (FSkinForm->RollUpState()) FSkinForm->SetRollUpState(false);
    else FSkinForm->SetWindowState(wsNormal);
}

void TspFormMenus::SysRollUpClick(TObject*)
{
    if (FSkinForm) FSkinForm->SetRollUpState(true);
}

void TspFormMenus::SysMinimizeToTrayClick(TObject*) { MinimizeToTray(); }

void TspFormMenus::SysCloseClick(TObject*) { FForm->Close(); }

// ---- system menu ----

void TspFormMenus::AddSystemItem(TMenuItem* AParent, Integer AIndex, const char* AName, const char* AKey,
                                 const char* ACaption, void (TspFormMenus::*AClick)(TObject*))
{
    auto* item = new TMenuItem(AParent->GetParentMenu());
    if (*AName) item->SetName(AName);
    std::string caption = ACaption;
    TspSkinData* skin = FSkinForm ? FSkinForm->SkinData() : nullptr;
    if (AKey && skin && skin->ResourceStrData()) {
        const std::string text = skin->ResourceStrData()->GetResStr(AKey);
        if (!text.empty()) caption = text;
    }
    item->SetCaption(caption);
    if (AClick) item->OnClick = [this, AClick](TObject* Sender) { (this->*AClick)(Sender); };
    if (std::string(AName).find("CLOSE") != std::string::npos)
        item->SetShortCut(FForm->FormStyle() == fsMDIChild ? TextToShortCut("Ctrl+F4") : TextToShortCut("Alt+F4"));
    if (AIndex < 0) AParent->Add(item);
    else AParent->Insert(AIndex, item);
}

void TspFormMenus::BuildDefaultSystemMenu()
{
    if (!FDefaultSystemMenu) {
        FDefaultSystemMenu = new TPopupMenu(this);
        FDefaultSystemMenu->FreeNotification(this);
    }
    TMenuItem* items = FDefaultSystemMenu->Items();
    items->Clear();
    const TspBorderIcons icons = FSkinForm ? FSkinForm->BorderIcons() : TspBorderIcons{};
    const bool maximized = FormMaximized(), minimized = FormMinimized(), rolledUp = FormRolledUp();
    if (icons.Contains(TspBorderIcon::biMinimize) && !minimized)
        AddSystemItem(items, -1, "CVL_MINITEM", "MI_MINCAPTION", "Mi&nimize", &TspFormMenus::SysMinimizeClick);
    if (icons.Contains(TspBorderIcon::biMaximize) && !maximized)
        AddSystemItem(items, -1, "CVL_MAXITEM", "MI_MAXCAPTION", "Ma&ximize", &TspFormMenus::SysMaximizeClick);
    if (maximized || minimized || rolledUp)
        AddSystemItem(items, -1, "CVL_RESTORE", "MI_RESTORECAPTION", "&Restore", &TspFormMenus::SysRestoreClick);
    if (icons.Contains(TspBorderIcon::biRollUp) && !rolledUp && !minimized &&
        !(maximized && FForm->FormStyle() == fsMDIChild))
        AddSystemItem(items, -1, "CVL_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp", &TspFormMenus::SysRollUpClick);
    if (icons.Contains(TspBorderIcon::biMinimizeToTray))
        AddSystemItem(items, -1, "CVL_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray",
                      &TspFormMenus::SysMinimizeToTrayClick);
    if (items->Count() > 0) AddSystemItem(items, -1, "", nullptr, "-", nullptr);
    AddSystemItem(items, -1, "CVL_CLOSE", "MI_CLOSECAPTION", "&Close", &TspFormMenus::SysCloseClick);
}

void TspFormMenus::UpdateUserSystemMenu()
{
    TPopupMenu* menu = FSkinForm ? FSkinForm->SystemMenu() : nullptr;
    if (!menu || !UseDefaultSysMenu) return;
    TMenuItem* items = menu->Items();
    for (Integer i = items->Count() - 1; i >= 0; --i) {
        const std::string& name = items->Items(i)->Name();
        if (name == "CVL_MINITEM" || name == "CVL_MAXITEM" || name == "CVL_CLOSE" || name == "CVL_MINTOTRAY" ||
            name == "CVL_ROLLUP" || name == "CVL_RESTORE")
            items->Delete(i);
    }
    const TspBorderIcons icons = FSkinForm->BorderIcons();
    const bool maximized = FormMaximized(), minimized = FormMinimized(), rolledUp = FormRolledUp();
    // Each goes to the top, so the last inserted stands first.
    if (icons.Contains(TspBorderIcon::biMinimizeToTray))
        AddSystemItem(items, 0, "CVL_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray",
                      &TspFormMenus::SysMinimizeToTrayClick);
    if (icons.Contains(TspBorderIcon::biRollUp) && !rolledUp && !minimized &&
        !(maximized && FForm->FormStyle() == fsMDIChild))
        AddSystemItem(items, 0, "CVL_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp", &TspFormMenus::SysRollUpClick);
    if (icons.Contains(TspBorderIcon::biMaximize) && !maximized)
        AddSystemItem(items, 0, "CVL_MAXITEM", "MI_MAXCAPTION", "Ma&ximize", &TspFormMenus::SysMaximizeClick);
    if (maximized || minimized || rolledUp)
        AddSystemItem(items, 0, "CVL_RESTORE", "MI_RESTORECAPTION", "&Restore", &TspFormMenus::SysRestoreClick);
    if (icons.Contains(TspBorderIcon::biMinimize) && !minimized)
        AddSystemItem(items, 0, "CVL_MINITEM", "MI_MINCAPTION", "Mi&nimize", &TspFormMenus::SysMinimizeClick);
    AddSystemItem(items, -1, "CVL_CLOSE", "MI_CLOSECAPTION", "&Close", &TspFormMenus::SysCloseClick);
}

TMenuItem* TspFormMenus::GetSystemMenuItems()
{
    if (FSkinForm && FSkinForm->SystemMenu()) {
        UpdateUserSystemMenu();
        return FSkinForm->SystemMenu()->Items();
    }
    BuildDefaultSystemMenu();
    return FDefaultSystemMenu->Items();
}

void TspFormMenus::PopupSystemMenuInRect(TRect R)
{
    TMenuItem* items = GetSystemMenuItems();
    // An MDI child shows its menu through the main form's menus and skin.
    TspFormMenus* host = MainFormMenus();
    if (FForm->FormStyle() == fsMDIChild && host == this) return;
    host->PopupItems(nullptr, host->MenuSkin(), items, R, false);
}

void TspFormMenus::PopupSystemMenu(Integer X, Integer Y)
{
    PopupSystemMenuInRect(Rect(X, Y, X, Y));
}

void TspFormMenus::PopupSystemMenuAtButton()
{
    if (!FSkinForm) return;
    for (Integer i = 0; i < FSkinForm->ObjectCount(); ++i) {
        auto* button = dynamic_cast<TspSkinStdButtonObject*>(FSkinForm->Objects(i));
        if (!button || button->Command != cmSysMenu || !button->Enabled) continue;
        TRect r = button->ObjectRect;
        TPoint offset{FForm->Left(), FForm->Top()};
        if (FForm->FormStyle() == fsMDIChild) {
            const TPoint origin = FForm->ClientOrigin();
            const TPoint frame = FSkinForm->Skinned()
                                     ? TPoint{FSkinForm->NewClRect.Left, FSkinForm->NewClRect.Top}
                                     : TPoint{3, FSkinForm->DefaultCaptionHeight() + 3};
            offset = TPoint{origin.X - frame.X, origin.Y - frame.Y};
        }
        r = Rect(r.Left + offset.X, r.Top + offset.Y, r.Right + offset.X, r.Bottom + offset.Y);
        if (!FSkinForm->DisableSystemMenu()) PopupSystemMenuInRect(r);
    }
}

void TspFormMenus::DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y)
{
    if (Menu->OnPopup) Menu->OnPopup(FSkinForm ? static_cast<TObject*>(FSkinForm) : this);
    if (SkinMenu->FVisible) SkinMenu->Hide();
    PopupItems(nullptr, FSkinForm ? FSkinForm->SkinData() : nullptr, Menu->Items(), Rect(X, Y, X, Y), false);
}

// ---- tray ----

void TspFormMenus::CreateTrayMenu()
{
    FTrayMenu = NewSkinTrayMenu(this);
    FTrayMenu->FreeNotification(this);
    TMenuItem* items = FTrayMenu->Items();
    AddSystemItem(items, -1, "TRAY_CVL_RESTORE", "MI_RESTORECAPTION", "&Restore", nullptr);
    items->Items(0)->OnClick = [this](TObject*) { RestoreFromTray(); };
    AddSystemItem(items, -1, "", nullptr, "-", nullptr);
    AddSystemItem(items, -1, "TRAY_CVL_CLOSE", "MI_CLOSECAPTION", "&Close", &TspFormMenus::SysCloseClick);
}

void TspFormMenus::MinimizeToTray()
{
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(true);
    if (Application) Application->Minimize();
    if (OnMinimizeToTray) OnMinimizeToTray(this);
    if (FSkinForm && FSkinForm->OnMinimizeToTray) FSkinForm->OnMinimizeToTray(FSkinForm);
}

void TspFormMenus::RestoreFromTray()
{
    if (!FTrayIcon) return;
    FTrayIcon->SetMinimizeToTray(false);
    FTrayIcon->ShowMainForm();
    if (Application) Application->Restore();
    if (!AlwaysShowInTray) FTrayIcon->SetIconVisible(false);
    if (OnRestoreFromTray) OnRestoreFromTray(this);
}

void TspFormMenus::SetTrayIcon(TspTrayIconLink* AValue)
{
    FTrayIcon = AValue;
    if (!FTrayIcon) return;
    if (!AlwaysShowInTray) FTrayIcon->SetIconVisible(false);
    if (!FTrayIcon->PopupMenu()) FTrayIcon->SetPopupMenu(FTrayMenu);
    if (!FTrayIcon->HasDblClickHandler()) FTrayIcon->SetDblClickHandler([this](TObject*) { RestoreFromTray(); });
}

// ---- MDI Window menu ----

void TspFormMenus::AddChildToMenu(TCustomForm* Child)
{
    TspFormMenus* main = MainFormMenus();
    if (!main->WindowMenu) return;
    auto* item = new TMenuItem(main);
    item->SetName(Child->Name() + kChildItemSuffix);
    item->SetCaption(Child->Caption());
    item->OnClick = [main](TObject* Sender) { main->MDIItemClick(Sender); };
    main->WindowMenu->Add(item);
}

void TspFormMenus::DeleteChildFromMenu(TCustomForm* Child)
{
    TspFormMenus* main = MainFormMenus();
    TMenuItem* menu = main->WindowMenu;
    if (!menu) return;
    for (Integer i = 0; i < menu->Count(); ++i)
        if (IsChildItemOf(menu->Items(i), Child->Name())) {
            menu->Delete(i);
            break;
        }
    TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
    if (mainForm && mainForm->MDIChildCount() > 0) return;
    for (Integer i = 0; i < menu->Count(); ++i)
        if (menu->Items(i)->Name().find(kChildItemSuffix) != std::string::npos) {
            menu->Delete(i);
            break;
        }
}

void TspFormMenus::UpDateChildCaptionInMenu(TCustomForm* Child)
{
    TMenuItem* menu = MainFormMenus()->WindowMenu;
    if (!menu) return;
    for (Integer i = 0; i < menu->Count(); ++i)
        if (IsChildItemOf(menu->Items(i), Child->Name())) {
            menu->Items(i)->SetCaption(Child->Caption());
            return;
        }
}

void TspFormMenus::UpDateChildActiveInMenu()
{
    TMenuItem* menu = MainFormMenus()->WindowMenu;
    TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
    if (!menu || !mainForm) return;
    TCustomForm* active = mainForm->ActiveMDIChild();
    for (Integer i = 0; i < menu->Count(); ++i) {
        TMenuItem* item = menu->Items(i);
        if (item->Name().find(kChildItemSuffix) == std::string::npos) continue;
        item->SetChecked(active && IsChildItemOf(item, active->Name()));
    }
}

void TspFormMenus::MDIItemClick(TObject* Sender)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
    if (!item || !mainForm) return;
    for (Integer i = 0; i < mainForm->MDIChildCount(); ++i) {
        TCustomForm* child = mainForm->MDIChildren(i);
        if (!IsChildItemOf(item, child->Name())) continue;
        if (TspCorvalis* skin = SkinFormOf(child); skin && skin->WindowState() == wsMinimized)
            skin->SetWindowState(wsNormal);
        child->Show();
    }
}

// ---- MDI arrangement ----

void TspFormMenus::GetMDIWorkArea(TRect& R)
{
    TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
    if (!mainForm) return;
    R = Rect(0, 0, mainForm->ClientWidth(), mainForm->ClientHeight());
    for (Integer i = 0; i < mainForm->ControlCount(); ++i) {
        TControl* c = mainForm->Controls(i);
        if (!c->Visible()) continue;
        switch (c->Align()) {
        case alLeft: R.Left = std::max(R.Left, c->Left() + c->Width()); break;
        case alTop: R.Top = std::max(R.Top, c->Top() + c->Height()); break;
        case alRight: R.Right = std::min(R.Right, c->Left()); break;
        case alBottom: R.Bottom = std::min(R.Bottom, c->Top()); break;
        default: break;
        }
    }
}

void TspFormMenus::MinimizeAll()
{
    if (FForm->FormStyle() != fsMDIForm) return;
    for (Integer i = 0; i < FForm->MDIChildCount(); ++i)
        if (TspCorvalis* skin = SkinFormOf(FForm->MDIChildren(i))) skin->SetWindowState(wsMinimized);
}

void TspFormMenus::MaximizeAll()
{
    if (FForm->FormStyle() != fsMDIForm) return;
    for (Integer i = 0; i < FForm->MDIChildCount(); ++i)
        if (TspCorvalis* skin = SkinFormOf(FForm->MDIChildren(i))) skin->SetWindowState(wsMaximized);
}

void TspFormMenus::RestoreAll()
{
    if (FForm->FormStyle() != fsMDIForm) return;
    for (Integer i = 0; i < FForm->MDIChildCount(); ++i) {
        TspCorvalis* skin = SkinFormOf(FForm->MDIChildren(i));
        if (!skin) continue;
        if (skin->WindowState() != wsNormal) skin->SetWindowState(wsNormal);
        if (skin->RollUpState() && skin->WindowState() == wsNormal) skin->SetRollUpState(false);
    }
}

void TspFormMenus::CloseAll()
{
    if (FForm->FormStyle() != fsMDIForm) return;
    for (Integer i = FForm->MDIChildCount() - 1; i >= 0; --i) FForm->MDIChildren(i)->Close();
}

void TspFormMenus::Tile()
{
    if (FForm->FormStyle() != fsMDIForm) return;
    RestoreAll();
    const Integer n = FForm->MDIChildCount();
    Integer cols = static_cast<Integer>(std::trunc(std::sqrt(static_cast<double>(n))));
    if (cols == 0) return;
    Integer rows = n / cols + (cols * (n / cols) < n ? 1 : 0);
    TRect r;
    GetMDIWorkArea(r);
    const Integer w = r.Width(), h = r.Height();
    const Integer colW = w / cols;
    Integer rowH = h / rows;
    Integer x = w, y = h, colsLeft = cols;
    for (Integer i = n - 1; i >= 0; --i) {
        FForm->MDIChildren(i)->SetBounds(std::max(0, x - colW), std::max(0, y - rowH), colW, rowH);
        y -= rowH;
        if (y - rowH < 0 && i > 0) {
            y = h;
            x -= colW;
            colsLeft = std::max<Integer>(colsLeft - 1, 1);
            rows = std::max<Integer>((i + colsLeft - 1) / colsLeft, 1);
            rowH = h / rows;
        }
    }
}

void TspFormMenus::Cascade()
{
    if (FForm->FormStyle() != fsMDIForm) return;
    RestoreAll();
    TRect r;
    GetMDIWorkArea(r);
    const Integer w = r.Width(), h = r.Height();
    Integer step = 25;
    if (FSkinForm) step = FSkinForm->Skinned() ? FSkinForm->NewClRect.Top : FSkinForm->DefaultCaptionHeight() + 3;
    if (step <= 0) return;
    const Integer n = FForm->MDIChildCount();
    const Integer k = (w - static_cast<Integer>(std::nearbyint(w * 0.8))) / step;
    const Integer steps = k > n ? n - 1 : k;
    Integer cw = w - steps * step, ch = h - steps * step;
    if (FSkinForm) {
        cw = std::max(cw, FSkinForm->GetMinWidth());
        ch = std::max(ch, FSkinForm->GetMinHeight());
    }
    Integer offset = 0;
    for (Integer i = n - 1; i >= 0; --i) {
        TCustomForm* child = FForm->MDIChildren(i);
        const bool keepsSize = child->BorderStyle() == bsSingle;
        const Integer width = keepsSize ? child->Width() : cw;
        const Integer height = keepsSize ? child->Height() : ch;
        if (offset + width > w || offset + height > h) offset = 0;
        child->SetBounds(offset, offset, width, height);
        offset += step;
    }
}

void TspFormMenus::ArrangeMinimizedChildren()
{
    if (FForm->FormStyle() != fsMDIForm) return;
    for (Integer i = 0; i < FForm->MDIChildCount(); ++i) {
        TCustomForm* child = FForm->MDIChildren(i);
        TspCorvalis* skin = SkinFormOf(child);
        if (!skin || skin->WindowState() != wsMinimized) continue;
        TPoint p{};
        FormMenusOf(skin)->GetMinimizedPosition(child, p);
        child->SetBounds(p.X, p.Y, child->Width(), child->Height());
    }
}

void TspFormMenus::GetMinimizedPosition(TCustomForm* AForm, TPoint& P)
{
    TspCorvalis* own = SkinFormOf(AForm);
    const Integer mw = own ? own->GetMinWidth() : AForm->Width();
    const Integer mh = own ? own->GetMinHeight() : AForm->Height();
    TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
    const bool child = AForm->FormStyle() == fsMDIChild && mainForm;
    TRect area;
    std::vector<TCustomForm*> others;
    if (child) {
        TRect work;
        GetMDIWorkArea(work);
        area = Rect(0, 0, work.Width(), work.Height());
        for (Integer i = 0; i < mainForm->MDIChildCount(); ++i) others.push_back(mainForm->MDIChildren(i));
    } else {
        GetWorkAreaOf(AForm->HandleAllocated() ? AForm->Handle() : nullptr, true, area);
        if (Screen)
            for (Integer i = 0; i < Screen->FormCount(); ++i)
                if (Screen->Forms(i) != mainForm) others.push_back(Screen->Forms(i));
    }
    auto taken = [&](Integer X, Integer Y) {
        for (TCustomForm* other : others) {
            if (other == AForm || !other->Visible()) continue;
            TspCorvalis* skin = SkinFormOf(other);
            if (skin && skin->WindowState() == wsMinimized && other->Left() == X && other->Top() == Y) return true;
        }
        return false;
    };
    Integer x = area.Left, y = area.Bottom - mh;
    while (taken(x, y)) {
        x += mw;
        if (x + mw > area.Right) {
            x = area.Left;
            y -= mh;
        }
        if (y < area.Top) {
            y = area.Bottom - mh;
            break;
        }
    }
    P = TPoint{x, y};
}
