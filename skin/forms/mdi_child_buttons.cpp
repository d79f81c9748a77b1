// The maximized MDI child's caption buttons on the parent's main-menu bar: adding and removing them, their
// place on the bar, their looks and what they do to the child.
#include "skin/forms/mdi_child_buttons.h"

#include "platform/gui/application.h"
#include "skin/controls/button_look.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_records.h"
#include "skin/forms/menu_engine.h"

using namespace win;

namespace {

constexpr TColor kHotFill = static_cast<TColor>(0xD2BDB6);
constexpr TColor kPressedFill = static_cast<TColor>(0xB59385);

// A button may take the child (and with it the buttons) away from inside its own handler: buttons removed
// meanwhile are kept here, owned by the bar, until no button handles anything.
class TspRetiredButtons : public TComponent {
public:
    using TComponent::TComponent;
    std::vector<std::unique_ptr<TspMenuBarObject>> Buttons;
};

int ButtonCallDepth = 0;

struct TButtonCall {
    TButtonCall() { ++ButtonCallDepth; }
    ~TButtonCall() { --ButtonCallDepth; }
    TButtonCall(const TButtonCall&) = delete;
    TButtonCall& operator=(const TButtonCall&) = delete;
};

TspRetiredButtons* RetiredOf(TspSkinMainMenuBar* ABar, bool ACreate)
{
    for (Integer i = 0; i < ABar->ComponentCount(); ++i)
        if (auto* retired = dynamic_cast<TspRetiredButtons*>(ABar->Components(i))) return retired;
    return ACreate ? new TspRetiredButtons(ABar) : nullptr;
}

void FreeRetired(TspSkinMainMenuBar* ABar)
{
    if (ButtonCallDepth > 0) return;
    if (TspRetiredButtons* retired = RetiredOf(ABar, false)) retired->Buttons.clear();
}

TspSkinMainMenuBarButton* ButtonAt(TspSkinMainMenuBar* ABar, Integer AIndex)
{
    return AIndex < ABar->ObjectCount() ? dynamic_cast<TspSkinMainMenuBarButton*>(ABar->Objects(AIndex)) : nullptr;
}

// The button's size on the bar: its record's picture, or a square as high as the items area.
TSize ButtonSize(TspSkinMainMenuBarButton* AButton, const TRect& AItems)
{
    if (AButton->FSkinSupport) return TSize{AButton->SkinRect.Width(), AButton->SkinRect.Height()};
    return TSize{AItems.Height(), AItems.Height()};
}

Integer CentredTop(const TRect& AItems, Integer AHeight, bool ASkinned)
{
    return ASkinned ? AItems.Top + AItems.Height() / 2 - AHeight / 2 : AItems.Top;
}

}  // namespace

TspSkinMainMenuBarButton::TspSkinMainMenuBarButton(TspSkinMainMenuBar* AParent, TspDataSkinMainMenuBarButton* AData)
    : TspMenuBarObject(AParent, AData)
{
    if (!AData) return;
    Command = AData->Command;
    DownRect = AData->DownRect;
    FSkinSupport = true;
}

// ---- looks ----

void TspSkinMainMenuBarButton::Draw(TCanvas* Cnvs)
{
    if (!FSkinSupport || !Picture) {
        DefaultDraw(Cnvs);
        return;
    }
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    if (FDown && !IsEmptyRect(DownRect) && FMouseIn) {
        Cnvs->CopyRect(ObjectRect, Picture->Canvas(), DownRect);
        return;
    }
    const bool morphing = EnableMorphing() && !((Active && FMorphKf == 1) || (!Active && FMorphKf == 0));
    if (morphing) {
        TBitmap image(w, h);
        DrawHotFadeFrame(&image, MorphKind, FMorphKf, [&](TBitmap* ATarget, bool AHot) {
            const TRect look = AHot && !IsEmptyRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect;
            ATarget->Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), look);
        });
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
        return;
    }
    const TRect look = Active && !IsEmptyRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect;
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), look);
}

void TspSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs)
{
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap image(w, h);
    TCanvas* c = image.Canvas();
    const bool pressed = FDown && FMouseIn;
    if (pressed || FMouseIn) {
        c->Brush()->SetColor(clNavy);
        c->FillRect(Rect(0, 0, w, h));
        c->Brush()->SetColor(pressed ? kPressedFill : kHotFill);
        c->FillRect(Rect(1, 1, w - 1, h - 1));
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, w, h));
    }
    const Integer x = w / 2 - 5 + (pressed ? 1 : 0), y = h / 2 - 4 + (pressed ? 1 : 0);
    const TColor color = Enabled ? clBtnText : clBtnShadow;
    switch (Command) {
    case cmClose: DrawCloseGlyph(c, x, y, color); break;
    case cmMaximize: DrawRestoreGlyph(c, x, y, color); break;
    case cmMinimize: DrawMinimizeGlyph(c, x, y, color); break;
    case cmSysMenu: DrawSysMenuGlyph(c, x, y, color); break;
    default: break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

// ---- mouse ----

void TspSkinMainMenuBarButton::MouseDown(Integer /*X*/, Integer /*Y*/, TMouseButton Button)
{
    if (!Enabled || Button != mbLeft || FDown) return;
    TButtonCall call;
    FDown = true;
    if (EnableMorphing() && !IsEmptyRect(DownRect)) FMorphKf = 1;
    Parent->DrawObject(this);
    // The system menu opens on the press.
    if (Command == cmSysMenu) DoCommand();
}

void TspSkinMainMenuBarButton::MouseUp(Integer /*X*/, Integer /*Y*/, TMouseButton Button)
{
    if (!Enabled || Button != mbLeft) return;
    TButtonCall call;
    if (Command == cmSysMenu) return;
    FDown = false;
    if (EnableMorphing())
        RedrawState();
    else
        Parent->DrawObject(this);
    // Released away from the button: nothing runs.
    if (Active) DoCommand();
}

void TspSkinMainMenuBarButton::MouseEnter()
{
    if (FDown && (Command == cmSysMenu || EnableMorphing())) {
        FMouseIn = Active = true;
        if (Command != cmSysMenu) Parent->DrawObject(this);
        return;
    }
    TspMenuBarObject::MouseEnter();
}

void TspSkinMainMenuBarButton::MouseLeave()
{
    if (FDown && Command == cmSysMenu) {
        if (EnableMorphing()) FMorphKf = 1;
        FMouseIn = Active = false;
        return;
    }
    if (FDown && EnableMorphing()) {
        FMouseIn = Active = false;
        Parent->DrawObject(this);
        return;
    }
    TspMenuBarObject::MouseLeave();
}

void TspSkinMainMenuBarButton::DblClick()
{
    if (Command != cmSysMenu) return;
    TspCorvalis* child = FindMaximizedMDIChild();
    if (!child) return;
    TButtonCall call;
    if (TspFormMenus* menus = Parent->FormMenus()) {
        if (menus->SkinMenu) menus->SkinMenu->Hide();
        menus->SkinMenuClose();
    }
    child->Form()->Close();
}

void TspSkinMainMenuBarButton::DoCommand()
{
    TspCorvalis* child = FindMaximizedMDIChild();
    if (!child) return;
    TButtonCall call;
    switch (Command) {
    case cmClose: child->Form()->Close(); break;
    case cmMaximize: child->SetWindowState(wsNormal); break;
    case cmMinimize: child->SetWindowState(wsMinimized); break;
    case cmSysMenu: {
        TspFormMenus* menus = Parent->FormMenus();
        TspFormMenus* childMenus = FormMenusOf(child);
        if (!menus || !childMenus || !Parent->Corvalis()) return;
        Parent->Repaint();
        const TPoint topLeft = Parent->ClientToScreen(ObjectRect.TopLeft());
        const TRect r = Bounds(topLeft.X, topLeft.Y, ObjectRect.Width(), ObjectRect.Height());
        TspCorvalis* form = Parent->Corvalis();
        TspSkinData* skin = form->MenusSkinData() ? form->MenusSkinData() : form->SkinData();
        // The bar is the popup control: the menu's closing reaches it and brings the button up.
        menus->PopupItems(Parent, skin, childMenus->GetSystemMenuItems(), r, Parent->PopupToUp());
        break;
    }
    default: break;
    }
}

// ---- the bar's side ----

TspCorvalis* FindMaximizedMDIChild()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (Integer i = 0; i < main->MDIChildCount(); ++i)
        if (TspCorvalis* child = FindSkinFormComponent(main->MDIChildren(i)))
            if (child->WindowState() == wsMaximized) return child;
    return nullptr;
}

void AddChildButtons(TspSkinMainMenuBar* ABar)
{
    FreeRetired(ABar);
    ABar->ButtonsCount = 0;
    struct TDefault {
        const char* Name;
        const std::string* RecordName;
        TStdCommand Command;
    };
    const TDefault buttons[] = {{"MinButton", &ABar->MinButton, cmMinimize},
                                {"MaxButton", &ABar->MaxButton, cmMaximize},
                                {"CloseButton", &ABar->CloseButton, cmClose},
                                {"SysMenuButton", &ABar->SysMenuButton, cmSysMenu}};
    TspSkinData* skin = ABar->SkinData();
    for (const TDefault& b : buttons) {
        const std::string name = ABar->HasRecord() ? *b.RecordName : b.Name;
        TspDataSkinMainMenuBarButton* record = nullptr;
        if (skin && !skin->Empty) {
            const Integer index = skin->GetIndex(name);
            if (index >= 0) record = dynamic_cast<TspDataSkinMainMenuBarButton*>(skin->ObjectList[index].get());
        }
        auto button = std::make_unique<TspSkinMainMenuBarButton>(ABar, record);
        // A record the skin does not hold leaves the button its place's command.
        if (!record) button->Command = b.Command;
        button->IDName = name;
        ABar->ObjectList.insert(ABar->ObjectList.begin(), std::move(button));
        ++ABar->ButtonsCount;
    }
}

void DeleteChildButtons(TspSkinMainMenuBar* ABar)
{
    const Integer count = std::min(ABar->ButtonsCount, ABar->ObjectCount());
    TspRetiredButtons* retired = RetiredOf(ABar, ButtonCallDepth > 0);
    for (Integer i = 0; i < count; ++i) {
        ABar->ActiveObject = ABar->MouseCaptureObject = -1;
        if (retired) retired->Buttons.push_back(std::move(ABar->ObjectList.front()));
        ABar->ObjectList.erase(ABar->ObjectList.begin());
    }
    ABar->OldActiveObject = -1;
    ABar->ButtonsCount = 0;
    FreeRetired(ABar);
}

void EnableChildButtons(TspSkinMainMenuBar* ABar, TspBorderIcons ABorderIcons)
{
    for (Integer i = 0; i < ABar->ButtonsCount; ++i) {
        TspSkinMainMenuBarButton* button = ButtonAt(ABar, i);
        if (!button) continue;
        button->Enabled = true;
        if (button->Command == cmMinimize) button->Enabled = ABorderIcons.Contains(TspBorderIcon::biMinimize);
        if (button->Command == cmSysMenu) button->Enabled = ABorderIcons.Contains(TspBorderIcon::biSystemMenu);
    }
}

void MDIChildMaximize(TspSkinMainMenuBar* ABar)
{
    if (ABar->FMDIChildMax) return;
    ABar->FMDIChildMax = true;
    ABar->OldActiveObject = ABar->ActiveObject = ABar->MouseCaptureObject = -1;
    AddChildButtons(ABar);
    if (TspCorvalis* child = FindMaximizedMDIChild()) EnableChildButtons(ABar, child->BorderIcons());
    // Painted later: a child going may have taken merged menu items with it that the bar drops only then.
    ABar->Invalidate();
}

void MDIChildRestore(TspSkinMainMenuBar* ABar)
{
    TspCorvalis* child = FindMaximizedMDIChild();
    if (!child && ABar->FMDIChildMax) {
        ABar->FMDIChildMax = false;
        DeleteChildButtons(ABar);
        ABar->Invalidate();
    } else if (child) {
        EnableChildButtons(ABar, child->BorderIcons());
    }
}

void RebuildChildButtons(TspSkinMainMenuBar* ABar)
{
    if (!ABar->FMDIChildMax) return;
    AddChildButtons(ABar);
    if (TspCorvalis* child = FindMaximizedMDIChild()) EnableChildButtons(ABar, child->BorderIcons());
}

void PlaceChildButtons(TspSkinMainMenuBar* ABar)
{
    if (!ABar->FMDIChildMax || ABar->ButtonsCount != 4) return;
    TRect& items = ABar->NewItemsRect;
    if (TspSkinMainMenuBarButton* sys = ButtonAt(ABar, 0)) {
        const TSize size = ButtonSize(sys, items);
        const Integer top = CentredTop(items, size.cy, sys->FSkinSupport);
        sys->ObjectRect = Bounds(items.Left, top, size.cx, size.cy);
        items.Left += size.cx + 2;
    }
    for (Integer i = 1; i < 4; ++i) {
        TspSkinMainMenuBarButton* button = ButtonAt(ABar, i);
        if (!button) continue;
        const TSize size = ButtonSize(button, items);
        const Integer top = CentredTop(items, size.cy, button->FSkinSupport);
        button->ObjectRect = Rect(items.Right - size.cx, top, items.Right, top + size.cy);
        items.Right -= size.cx + 2;
    }
}

void ReleaseSysMenuButton(TspSkinMainMenuBar* ABar)
{
    for (Integer i = 0; i < ABar->ObjectCount(); ++i) {
        TspSkinMainMenuBarButton* button = ButtonAt(ABar, i);
        if (!button || button->Command != cmSysMenu || !button->FDown) continue;
        button->FDown = false;
        if (i != ABar->ActiveObject) button->Active = button->FMouseIn = false;
        button->RedrawState();
    }
}
