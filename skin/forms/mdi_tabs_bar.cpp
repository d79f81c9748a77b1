// The MDI tabs bar: its tabs and their layout, hot tracking, the press, drag and release on a tab, the close
// buttons, the children's system menus and the two menu buttons with their child lists.
#include "skin/forms/mdi_tabs_bar.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/win/window.h"
#include "skin/controls/menu_speed_button.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/rect_helpers.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/popup_menu.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {

constexpr Integer kMenuButtonWidth = 15;
const char* const kListSuffix = "_CVLCHILDITEMBAR";
const char* const kHideListSuffix = "_CVLCHILDITEMBARHIDE";

// Right and bottom edges count as inside.
bool InClosedRect(const TRect& R, Integer X, Integer Y)
{
    return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

TRect Moved(TRect R, Integer DX, Integer DY)
{
    return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

}  // namespace

TspTabLayout LayoutMDITabs(Integer N, Integer AWidth, Integer AHeight, Integer ADefaultTabWidth, Integer AMinTabWidth)
{
    TspTabLayout layout;
    if (N <= 0) return layout;
    layout.Rects.resize(static_cast<size_t>(N));
    layout.Visible.assign(static_cast<size_t>(N), true);
    Integer w = std::min((AWidth - kMenuButtonWidth) / N, ADefaultTabWidth);
    auto tab = [&](Integer i) { return Rect(kMenuButtonWidth + i * w, 0, kMenuButtonWidth + (i + 1) * w, AHeight); };
    if (AMinTabWidth != 0 && w < AMinTabWidth) {
        // The last 15 pixels hold the button that lists the hidden tabs.
        w = AMinTabWidth;
        const Integer fit = (AWidth - 2 * kMenuButtonWidth) / w;
        for (Integer i = 0; i < N; ++i) {
            if (i < fit) {
                layout.Rects[static_cast<size_t>(i)] = tab(i);
            } else {
                layout.Visible[static_cast<size_t>(i)] = false;
                ++layout.Hidden;
            }
        }
        layout.DragLimit = AWidth - kMenuButtonWidth;
        return layout;
    }
    for (Integer i = 0; i < N; ++i) layout.Rects[static_cast<size_t>(i)] = tab(i);
    // Narrowed tabs end flush with the bar.
    if (w < ADefaultTabWidth) layout.Rects.back().Right = AWidth;
    layout.DragLimit = AWidth;
    return layout;
}

// ---- Tab ----

TspMDITab::TspMDITab(TspSkinMDITabsBar* AParentBar, TCustomForm* AChild) : TabsBar(AParentBar), Child(AChild) {}

// ---- Bar ----

TspSkinMDITabsBar::TspSkinMDITabsBar(TComponent* AOwner) : TspSkinControl(AOwner)
{
    ControlStyle().Include(csCaptureMouse);
    FSkinDataName = "tab";
    SetHeight(21);
    SetWidth(150);
    FDefaultFont.SetName("Arial");
    FDefaultFont.SetHeight(14);
    FDefaultFont.SetStyle(TFontStyles{});
    FListMenu = new TspSkinPopupMenu(this);
    FHideListMenu = new TspSkinPopupMenu(this);
}

TspSkinMDITabsBar::~TspSkinMDITabsBar()
{
    for (const auto& tab : ObjectList)
        if (tab->Child) tab->Child->RemoveFreeNotification(this);
    ObjectList.clear();
    FreeListButton();
    FreeHideListButton();
}

void TspSkinMDITabsBar::SetShowCloseButtons(bool AValue)
{
    FShowCloseButtons = AValue;
    Invalidate();
}

void TspSkinMDITabsBar::SetTabKind(TspSkinMDITabKind AValue)
{
    FTabKind = AValue;
    if (FIndex != -1) Invalidate();
}

void TspSkinMDITabsBar::SetCorvalis(TspCorvalis* AValue)
{
    if (CVL) CVL->RemoveFreeNotification(this);
    CVL = AValue;
    if (CVL) CVL->FreeNotification(this);
    FListMenu->SetSkinComponent(CVL);
    FHideListMenu->SetSkinComponent(CVL);
}

void TspSkinMDITabsBar::SetDefaultHeight(Integer AValue)
{
    FDefaultHeight = AValue;
    if (FIndex == -1 && AValue > 0) SetHeight(AValue);
}

void TspSkinMDITabsBar::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == CVL) {
        CVL = nullptr;
        FListMenu->SetSkinComponent(nullptr);
        FHideListMenu->SetSkinComponent(nullptr);
    }
    if (AComponent == FListButton) FListButton = nullptr;
    if (AComponent == FHideListButton) FHideListButton = nullptr;
    // A child freed without hiding first takes its tabs with it (it is no form any more by now).
    auto ofIt = [AComponent](const auto& t) { return static_cast<TComponent*>(t->Child) == AComponent; };
    while (true) {
        auto it = std::find_if(ObjectList.begin(), ObjectList.end(), ofIt);
        if (it == ObjectList.end()) break;
        DeleteTab((*it)->Child);
    }
}

Integer TspSkinMDITabsBar::IndexOfTab(const TspMDITab* ATab) const
{
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i].get() == ATab) return static_cast<Integer>(i);
    return -1;
}

void TspSkinMDITabsBar::AddTab(TCustomForm* Child)
{
    if (!Child) return;
    ObjectList.push_back(std::make_unique<TspMDITab>(this, Child));
    Child->FreeNotification(this);
    if (!FListButton) CreateListButton();
    Invalidate();
}

void TspSkinMDITabsBar::DeleteTab(TCustomForm* Child)
{
    auto it = std::find_if(ObjectList.begin(), ObjectList.end(), [Child](const auto& t) { return t->Child == Child; });
    if (it == ObjectList.end()) return;
    const Integer index = static_cast<Integer>(it - ObjectList.begin());
    if (ActiveTabIndex >= 0 && ActiveTabIndex < TabCount() && Tabs(ActiveTabIndex)->Child == Child) {
        if (OnTabMouseLeave) OnTabMouseLeave(Tabs(ActiveTabIndex));
        ActiveTabIndex = OldTabIndex = -1;
    }
    // A tab going under a press or a drag ends them; the indexes of the later tabs shift.
    if (DragIndex == index) {
        DragIndex = -1;
        IsDrag = FDown = false;
        DX = TabDX = 0;
    } else if (DragIndex > index) {
        --DragIndex;
    }
    if (ActiveTabIndex > index) ActiveTabIndex = OldTabIndex = ActiveTabIndex - 1;
    ObjectList.erase(it);
    if (std::none_of(ObjectList.begin(), ObjectList.end(), [Child](const auto& t) { return t->Child == Child; }))
        Child->RemoveFreeNotification(this);
    if (ObjectList.empty()) FreeListButton();
    Invalidate();
}

void TspSkinMDITabsBar::UpdateTabs()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* active = main ? main->ActiveMDIChild() : nullptr;
    if (!active) return;
    for (const auto& tab : ObjectList) tab->Active = tab->Child == active;
    Invalidate();
}

void TspSkinMDITabsBar::RedrawTabsOf(TCustomForm* Child)
{
    for (const auto& tab : ObjectList)
        if (tab->Child == Child) DrawTab(tab.get());
}

void TspSkinMDITabsBar::DrawTab(TspMDITab* ATab)
{
    if (!HandleAllocated() || IsEmptyRect(ATab->ObjectRect)) return;
    // The active tab may be drawn taller, over the strip below the tabs.
    TRect r = ATab->ObjectRect;
    r.Bottom = Height();
    InvalidateRect(Handle(), &r, FALSE);
}

Integer TspSkinMDITabsBar::GetTabIndex(Integer X, Integer Y)
{
    for (Integer i = 0; i < TabCount(); ++i)
        if (Tabs(i)->Visible && InClosedRect(Tabs(i)->ObjectRect, X, Y)) return i;
    return -1;
}

TspMDITab* TspSkinMDITabsBar::GetTab(Integer X, Integer Y)
{
    const Integer i = GetTabIndex(X, Y);
    return i < 0 ? nullptr : Tabs(i);
}

Integer TspSkinMDITabsBar::GetCloseSize()
{
    if (FIndex == -1 || IsEmptyRect(CloseButtonRect)) return 14;
    return CloseButtonRect.Width();
}

void TspSkinMDITabsBar::GetSkinData()
{
    TspSkinControl::GetSkinData();
    auto* r = RecordAs<TspDataSkinTabControl>();
    if (!r) {
        Picture = nullptr;
        return;
    }
    Picture = SkinPicture(FSD, r->PictureIndex);
    TabRect = r->TabRect;
    ActiveTabRect = IsEmptyRect(r->ActiveTabRect) ? r->TabRect : r->ActiveTabRect;
    MouseInTabRect = IsEmptyRect(r->MouseInTabRect) ? r->TabRect : r->MouseInTabRect;
    TabsBGRect = r->TabsBGRect;
    TabLeftOffset = r->TabLeftOffset;
    TabRightOffset = r->TabRightOffset;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    ActiveFontColor = r->FocusFontColor;
    MouseInFontColor = r->MouseInFontColor;
    TabStretchEffect = r->TabStretchEffect;
    CloseButtonRect = r->CloseButtonRect;
    ClosebuttonActiveRect = IsEmptyRect(r->CloseButtonActiveRect) ? CloseButtonRect : r->CloseButtonActiveRect;
    CloseButtonDownRect = IsEmptyRect(r->CloseButtonDownRect) ? ClosebuttonActiveRect : r->CloseButtonDownRect;
    ButtonTransparent = r->ButtonTransparent;
    ButtonTransparentColor = r->ButtonTransparentColor;
    LTPoint = r->LTPoint;
    RTPoint = r->RTPoint;
    LBPoint = r->LBPoint;
    RBPoint = r->RBPoint;
    SkinRect = r->SkinRect;
    ClRect = r->ClRect;
    LeftStretch = r->LeftStretch;
    TopStretch = r->TopStretch;
    RightStretch = r->RightStretch;
    BottomStretch = r->BottomStretch;
    StretchEffect = r->StretchEffect;
    StretchType = r->StretchType;
    FBottomOffset = ClRect.Top;
    FActiveTabOffset = ActiveTabRect.Height() - TabRect.Height();
}

void TspSkinMDITabsBar::ChangeSkinData()
{
    GetSkinData();
    FCloseSize = GetCloseSize();
    if (FIndex != -1 && FUseSkinSize)
        SetHeight(FTabKind == sptkButton ? TabRect.Height() : TabRect.Height() + FBottomOffset);
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    if (FListButton) FListButton->SetSkinData(FSD);
    if (FHideListButton) FHideListButton->SetSkinData(FSD);
    Invalidate();
    Realign();
}

void TspSkinMDITabsBar::AdjustClientRect(TRect& ARect)
{
    TspSkinControl::AdjustClientRect(ARect);
    // The menu buttons stay above the strip under the tabs.
    if (FTabKind == sptkTab && FIndex != -1) ARect.Bottom -= FBottomOffset;
}

Integer TspSkinMDITabsBar::TabHeight()
{
    return FTabKind == sptkTab && FIndex != -1 ? Height() - FBottomOffset : Height();
}

void TspSkinMDITabsBar::CalcTabRects()
{
    if (ObjectList.empty()) {
        FInVisibleCount = 0;
        return;
    }
    const TspTabLayout layout = LayoutMDITabs(TabCount(), Width(), TabHeight(), FDefaultTabWidth, FMinTabWidth);
    FInVisibleCount = layout.Hidden;
    FDragLimit = layout.DragLimit;
    for (Integer i = 0; i < TabCount(); ++i) {
        Tabs(i)->ObjectRect = layout.Rects[static_cast<size_t>(i)];
        Tabs(i)->Visible = layout.Visible[static_cast<size_t>(i)];
    }
    if (!IsDrag || DragIndex < 0 || DragIndex >= TabCount()) return;
    // The dragged tab follows the mouse but stays inside the bar.
    TRect& r = Tabs(DragIndex)->ObjectRect;
    r = Moved(r, TabDX, 0);
    if (r.Right > FDragLimit) r = Moved(r, FDragLimit - r.Right, 0);
    if (r.Left < 0) r = Moved(r, -r.Left, 0);
}

Integer TspSkinMDITabsBar::GetMoveIndex()
{
    if (ObjectList.empty() || TabDX == 0 || DragIndex < 0 || DragIndex >= TabCount()) return -1;
    const TRect dragged = Tabs(DragIndex)->ObjectRect;
    auto centre = [this](Integer i) { return Tabs(i)->ObjectRect.Left + Tabs(i)->ObjectRect.Width() / 2; };
    Integer result = -1;
    if (TabDX > 0) {
        for (Integer i = DragIndex + 1; i < TabCount(); ++i)
            if (Tabs(i)->Visible && centre(i) < dragged.Right) result = i;
    } else {
        for (Integer i = DragIndex - 1; i >= 0; --i)
            if (Tabs(i)->Visible && centre(i) > dragged.Left) result = i;
    }
    return result;
}

// ---- Mouse ----

void TspSkinMDITabsBar::TrackHotTab(Integer X, Integer Y)
{
    ActiveTabIndex = GetTabIndex(X, Y);
    const bool changed = ActiveTabIndex != OldTabIndex;
    if (changed) {
        if (OldTabIndex >= 0 && OldTabIndex < TabCount() && Tabs(OldTabIndex)->Visible) {
            TspMDITab* old = Tabs(OldTabIndex);
            old->MouseIn = false;
            DrawTab(old);
            if (OnTabMouseLeave) OnTabMouseLeave(old);
        }
        if (ActiveTabIndex >= 0) {
            TspMDITab* hot = Tabs(ActiveTabIndex);
            hot->MouseIn = true;
            DrawTab(hot);
            if (OnTabMouseEnter) OnTabMouseEnter(hot);
        }
        OldTabIndex = ActiveTabIndex;
    }
    if (!FShowCloseButtons) return;
    if (ActiveTabIndex >= 0) {
        TspMDITab* hot = Tabs(ActiveTabIndex);
        const TRect button = Moved(hot->ButtonRect, hot->ObjectRect.Left, hot->ObjectRect.Top);
        const bool in = PtInRect(button, TPoint{X, Y});
        if (in && !hot->ButtonMouseIn) {
            hot->ButtonMouseIn = true;
            DrawTab(hot);
        } else if (!in && hot->ButtonMouseIn) {
            hot->ButtonMouseIn = hot->ButtonMouseDown = false;
            DrawTab(hot);
        }
    }
    if (!changed) return;
    bool cleared = false;
    for (Integer i = 0; i < TabCount(); ++i)
        if (i != ActiveTabIndex && Tabs(i)->ButtonMouseIn) {
            Tabs(i)->ButtonMouseIn = Tabs(i)->ButtonMouseDown = false;
            cleared = true;
        }
    if (cleared) Invalidate();
}

void TspSkinMDITabsBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TspSkinControl::MouseDown(Button, Shift, X, Y);
    TspMDITab* tab = GetTab(X, Y);
    if (!tab) return;
    if (Button == mbRight) {
        if (FSupportChildMenus) PopupChildMenu(tab, X, Y);
        // The menu may have closed (and the tabs changed) before it returns.
        if (TspMDITab* still = GetTab(X, Y); still && OnTabMouseDown) OnTabMouseDown(Button, Shift, still);
        return;
    }
    if (Button != mbLeft) return;
    BringChildToFront(tab->Child);
    // Bringing the child up may have changed the tabs.
    const Integer index = GetTabIndex(X, Y);
    if (index < 0) return;
    tab = Tabs(index);
    FDown = true;
    if (FMoveTabs) DragIndex = index;
    DX = X;
    TabDX = 0;
    if (OnTabMouseDown) OnTabMouseDown(Button, Shift, tab);
    if (!FShowCloseButtons || IndexOfTab(tab) < 0) return;
    const TRect button = Moved(tab->ButtonRect, tab->ObjectRect.Left, tab->ObjectRect.Top);
    if (PtInRect(button, TPoint{X, Y})) {
        FDown = false;
        tab->ButtonMouseIn = tab->ButtonMouseDown = true;
    } else {
        tab->ButtonMouseIn = tab->ButtonMouseDown = false;
    }
    DrawTab(tab);
}

void TspSkinMDITabsBar::MouseMove(TShiftState Shift, int X, int Y)
{
    TspSkinControl::MouseMove(Shift, X, Y);
    if (FDown && DragIndex != -1 && !IsDrag && X != DX) IsDrag = true;
    if (IsDrag) {
        TabDX = X - DX;
        Invalidate();
    } else {
        TrackHotTab(X, Y);
    }
}

void TspSkinMDITabsBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TspSkinControl::MouseUp(Button, Shift, X, Y);
    FDown = false;
    if (IsDrag) {
        CalcTabRects();
        const Integer target = GetMoveIndex();
        IsDrag = false;
        if (target != -1 && target != DragIndex) {
            auto moving = std::move(ObjectList[static_cast<size_t>(DragIndex)]);
            ObjectList.erase(ObjectList.begin() + DragIndex);
            ObjectList.insert(ObjectList.begin() + target, std::move(moving));
        }
        DragIndex = -1;
        DX = TabDX = 0;
        Invalidate();
    } else {
        DragIndex = -1;
        if (TspMDITab* tab = GetTab(X, Y); tab && OnTabMouseUp) OnTabMouseUp(Button, Shift, tab);
    }
    if (Button != mbLeft || !FShowCloseButtons) return;
    TspMDITab* tab = GetTab(X, Y);
    // Only a press that started on this very close button closes its child.
    const bool pressedHere = tab && tab->ButtonMouseDown &&
                             PtInRect(Moved(tab->ButtonRect, tab->ObjectRect.Left, tab->ObjectRect.Top), TPoint{X, Y});
    for (const auto& other : ObjectList)
        if (other.get() != tab && other->ButtonMouseDown) {
            other->ButtonMouseDown = other->ButtonMouseIn = false;
            DrawTab(other.get());
        }
    if (!tab) return;
    if (!pressedHere) {
        const bool in = PtInRect(Moved(tab->ButtonRect, tab->ObjectRect.Left, tab->ObjectRect.Top), TPoint{X, Y});
        tab->ButtonMouseIn = in;
        tab->ButtonMouseDown = false;
        DrawTab(tab);
        return;
    }
    tab->ButtonMouseIn = true;
    tab->ButtonMouseDown = false;
    DrawTab(tab);
    // Closing may hide or free the child and take its tab: nothing of the tab is touched after it.
    tab->Child->Close();
}

void TspSkinMDITabsBar::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_MOUSELEAVE:
        TspSkinControl::WndProc(AMessage);
        TrackHotTab(-1, -1);
        return;
    case SKM_REPAINT_TRANSPARENT:
        if (FIndex != -1 && FSD && FSD->MDITabsTransparent) Invalidate();
        return;
    case WM_MOVE:
        TspSkinControl::WndProc(AMessage);
        if (Align() == alNone && FIndex != -1 && FSD && FSD->MDITabsTransparent) Invalidate();
        return;
    default: TspSkinControl::WndProc(AMessage);
    }
}

void TspSkinMDITabsBar::PopupChildMenu(TspMDITab* ATab, Integer X, Integer Y)
{
    TspCorvalis* child = FindSkinFormComponent(ATab->Child);
    if (!child || !CVL) return;
    TspFormMenus* childMenus = FormMenusOf(child);
    TspFormMenus* menus = FormMenusOf(CVL);
    if (!childMenus || !menus) return;
    TMenuItem* items = childMenus->GetSystemMenuItems();
    TspSkinData* skin = CVL->MenusSkinData() ? CVL->MenusSkinData() : CVL->SkinData();
    const TPoint p = ClientToScreen(TPoint{X, Y});
    menus->PopupItems(Parent(), skin, items, Rect(p.X, p.Y, p.X, p.Y), false);
}

// ---- Menu buttons ----

namespace {

TspSkinMenuSpeedButton* NewMenuButton(TspSkinMDITabsBar* ABar, TAlign AAlign, TspTrackMenu* AMenu, Integer AArrow,
                                      TNotifyEvent AOnShow)
{
    auto* button = new TspSkinMenuSpeedButton(ABar);
    button->SetAlign(AAlign);
    button->SetWidth(kMenuButtonWidth);
    button->SetSkinDataName("resizetoolbutton");
    button->SetSkinData(ABar->SkinData());
    button->SetSkinPopupMenu(AMenu);
    button->FDrawStandardArrow = true;
    button->FArrowType = AArrow;
    button->OnShowTrackMenu = std::move(AOnShow);
    button->SetParent(ABar);
    return button;
}

}  // namespace

void TspSkinMDITabsBar::CreateListButton()
{
    FListButton = NewMenuButton(this, alLeft, FListMenu, 4, [this](TObject*) { UpdateListMenu(); });
}

void TspSkinMDITabsBar::CreateHideListButton()
{
    FHideListButton = NewMenuButton(this, alRight, FHideListMenu, 2, [this](TObject*) { UpdateHideListMenu(); });
}

void TspSkinMDITabsBar::FreeListButton()
{
    delete FListButton;
    FListButton = nullptr;
}

void TspSkinMDITabsBar::FreeHideListButton()
{
    delete FHideListButton;
    FHideListButton = nullptr;
}

void TspSkinMDITabsBar::FillChildMenu(TspSkinPopupMenu* AMenu, const std::string& ASuffix, bool AHiddenOnly,
                                      void (TspSkinMDITabsBar::*AClick)(TObject*))
{
    TMenuItem* items = AMenu->Items();
    items->Clear();
    for (const auto& tab : ObjectList) {
        if (AHiddenOnly && tab->Visible) continue;
        auto* item = new TMenuItem(nullptr);
        item->SetName(tab->Child->Name() + ASuffix);
        item->SetCaption(tab->Child->Caption());
        item->SetRadioItem(true);
        item->SetGroupIndex(0);
        item->SetChecked(tab->Active);
        item->OnClick = [this, AClick](TObject* Sender) { (this->*AClick)(Sender); };
        items->Add(item);
    }
}

void TspSkinMDITabsBar::UpdateListMenu() { FillChildMenu(FListMenu, kListSuffix, false, &TspSkinMDITabsBar::ListItemClick); }

void TspSkinMDITabsBar::UpdateHideListMenu()
{
    CalcTabRects();
    FillChildMenu(FHideListMenu, kHideListSuffix, true, &TspSkinMDITabsBar::HideListItemClick);
}

void TspSkinMDITabsBar::ListItemClick(TObject* Sender) { ShowChildNamed(Sender, kListSuffix); }
void TspSkinMDITabsBar::HideListItemClick(TObject* Sender) { ShowChildNamed(Sender, kHideListSuffix); }

void TspSkinMDITabsBar::ShowChildNamed(TObject* Sender, const std::string& ASuffix)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!CVL || !item) return;
    std::string name = item->Name();
    if (const auto at = name.find(ASuffix); at != std::string::npos) name.erase(at, ASuffix.size());
    TCustomForm* form = CVL->Form();
    std::vector<TCustomForm*> children;
    for (Integer i = 0; i < form->MDIChildCount(); ++i) children.push_back(form->MDIChildren(i));
    for (TCustomForm* child : children)
        if (child->Name() == name) BringChildToFront(child);
}

void TspSkinMDITabsBar::BringChildToFront(TCustomForm* Child)
{
    if (TspCorvalis* skin = FindSkinFormComponent(Child); skin && skin->WindowState() == wsMinimized)
        skin->SetWindowState(wsNormal);
    Child->Show();
    // Showing a child that is already shown leaves it where it is in the platform's stack.
    if (Child->HandleAllocated()) BringWindowToTop(Child->Handle());
    UpdateTabs();
}
