#include "skin/forms/main_menu_bar.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/forms.h"
#include "platform/win/input.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/parent_background.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_records.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/mdi_child_buttons.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/skin_form.h"

using namespace win;

void TspSkinMainMenu::SetSkinData(TspSkinData* AValue)
{
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = AValue;
    if (FSD) FSD->FreeNotification(this);
}

void TspSkinMainMenu::Notification(TComponent* AComponent, TOperation AOperation)
{
    TMainMenu::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FSD) FSD = nullptr;
}

namespace {

std::unique_ptr<TTimer> NewTimer(Cardinal AInterval, std::function<void()> AProc)
{
    auto timer = std::make_unique<TTimer>(nullptr);
    timer->SetEnabled(false);
    timer->SetInterval(AInterval);
    timer->SetOnTimer([proc = std::move(AProc)](TObject*) { proc(); });
    return timer;
}

// Right and bottom edges outside, as for hit tests.
bool InRect(const TRect& R, Integer X, Integer Y)
{
    return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

TspFormMenus* ExistingFormMenus(TspCorvalis* ASkinForm)
{
    TCustomForm* form = SkinFormOwner(ASkinForm);
    if (!form) return nullptr;
    for (Integer i = 0; i < form->ComponentCount(); ++i)
        if (auto* menus = dynamic_cast<TspFormMenus*>(form->Components(i)))
            if (menus->SkinForm() == ASkinForm) return menus;
    return nullptr;
}

}  // namespace

bool FormShowsMenuOnBar(TspCorvalis* ASkinForm)
{
    TspFormMenus* menus = ExistingFormMenus(ASkinForm);
    return menus && menus->MainMenuBar;
}

TspSkinMainMenuBar::TspSkinMainMenuBar(TComponent* AOwner) : TspSkinControl(AOwner)
{
    FSkinDataName = "mainmenubar";
    FDefItemFont = std::make_unique<TFont>();
    FDefItemFont->SetName("Arial");
    FDefItemFont->SetHeight(14);
    FDefItemFont->SetColor(clBtnText);
    MouseTimer = NewTimer(50, [this] { MouseTimerProc(); });
    MorphTimer = NewTimer(25, [this] { MorphTimerProc(); });
    AnimateTimer = NewTimer(25, [this] { AnimateTimerProc(); });
    SetAlign(alTop);
    SetHeight(22);
}

TspSkinMainMenuBar::~TspSkinMainMenuBar()
{
    SetCorvalis(nullptr);
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    AnimateTimer->SetEnabled(false);
    ObjectList.clear();
    FRetiredObjects.clear();
}

void TspSkinMainMenuBar::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FMainMenu) {
        FMainMenu = nullptr;
        ClearObjects();
    }
    if (AComponent == FMergeMenu) FMergeMenu = nullptr;
    if (CVL && AComponent == CVL) CVL = nullptr;
    // A merged MDI child's menu goes (with its child) before the bar hears of the child: its items go at once.
    if (AComponent == FChildMenu) {
        FChildMenu = nullptr;
        CreateMenu();
    }
}

void TspSkinMainMenuBar::SetMainMenu(TMainMenu* Value)
{
    if (FMainMenu) FMainMenu->RemoveFreeNotification(this);
    FMainMenu = Value;
    if (FMainMenu) FMainMenu->FreeNotification(this);
    CreateMenu();
    Repaint();
}

void TspSkinMainMenuBar::SetCorvalis(TspCorvalis* Value)
{
    if (Value == CVL) return;
    if (CVL) {
        if (TspFormMenus* menus = ExistingFormMenus(CVL))
            if (menus->MainMenuBar == this) menus->MainMenuBar = nullptr;
        CVL->RemoveFreeNotification(this);
    }
    CVL = Value;
    if (!CVL) return;
    CVL->FreeNotification(this);
    FormMenusOf(CVL)->MainMenuBar = this;
    // The menu shows once, on the bar: the form drops its caption menu items.
    CVL->UpdateMainMenu(true);
}

TspFormMenus* TspSkinMainMenuBar::FormMenus() const
{
    return CVL ? FormMenusOf(CVL) : nullptr;
}

void TspSkinMainMenuBar::SetUseSkinFont(bool Value)
{
    FUseSkinFont = Value;
    Repaint();
}

void TspSkinMainMenuBar::SetDefItemFont(TFont* Value)
{
    FDefItemFont->Assign(Value);
    if (!FSkinSupport) Repaint();
}

void TspSkinMainMenuBar::SetDefaultWidth(Integer Value)
{
    FDefaultWidth = Value;
    if (!FSkinSupport && Value > 0) SetWidth(Value);
}

void TspSkinMainMenuBar::SetDefaultHeight(Integer Value)
{
    FDefaultHeight = Value;
    if (!FSkinSupport && Value > 0) SetHeight(Value);
}

// ---- skin ----

void TspSkinMainMenuBar::GetSkinData()
{
    TspSkinControl::GetSkinData();
    Picture = nullptr;
    auto* record = RecordAs<TspDataSkinMainMenuBar>();
    if (!record) return;
    SkinRect = record->SkinRect;
    ItemsRect = record->ItemsRect;
    MenuBarItem = record->MenuBarItem;
    CloseButton = record->CloseButton;
    MaxButton = record->MaxButton;
    MinButton = record->MinButton;
    SysMenuButton = record->SysMenuButton;
    TrackMarkColor = record->TrackMarkColor;
    TrackMarkActiveColor = record->TrackMarkActiveColor;
    StretchEffect = record->StretchEffect;
    ItemTransparent = record->ItemTransparent;
    Picture = FSD->ActivePicture(record->PictureIndex);
}

void TspSkinMainMenuBar::BeforeChangeSkinData()
{
    FSkinSupport = false;
    TspSkinControl::BeforeChangeSkinData();
    ClearObjects();
}

void TspSkinMainMenuBar::ChangeSkinData()
{
    GetSkinData();
    // A record of another class under the bar's name counts as none.
    FSkinSupport = RecordAs<TspDataSkinMainMenuBar>() != nullptr;
    ApplySkinCursor();
    CreateMenu();
    if (FSkinSupport)
        SetHeight(SkinRect.Height());
    else if (FDefaultHeight > 0)
        SetHeight(FDefaultHeight);
    Repaint();
}

void TspSkinMainMenuBar::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    GetSkinData();
    if (FSkinSupport && RecordAs<TspDataSkinMainMenuBar>()) AHeight = SkinRect.Height();
    TspSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Repaint();
}

// ---- building the items ----

void TspSkinMainMenuBar::ClearObjects()
{
    // A click on an item may rebuild the bar from inside that item's handler: the item lives until it returns.
    if (FObjectCallDepth > 0)
        for (auto& object : ObjectList) FRetiredObjects.push_back(std::move(object));
    else
        FRetiredObjects.clear();
    ObjectList.clear();
    ButtonsCount = 0;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

TMainMenu* TspSkinMainMenuBar::GetChildMainMenu()
{
    if (FMergeMenu) return FMergeMenu;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* child = main ? main->ActiveMDIChild() : nullptr;
    if (!child) return nullptr;
    for (Integer i = 0; i < child->ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMainMenu*>(child->Components(i))) return menu;
    return nullptr;
}

void TspSkinMainMenuBar::CreateMenu()
{
    ClearObjects();
    RebuildChildButtons(this);
    TMainMenu* childMenu = nullptr;
    TCustomForm* form = SkinFormOwner(CVL);
    if ((form && form->FormStyle() == fsMDIForm) || FMergeMenu) childMenu = GetChildMainMenu();
    if (childMenu != FChildMenu) {
        if (FChildMenu) FChildMenu->RemoveFreeNotification(this);
        FChildMenu = childMenu;
        if (FChildMenu) FChildMenu->FreeNotification(this);
    }
    if (!FMainMenu) return;
    TspDataSkinMainMenuItem* record = nullptr;
    if (FSD && !FSD->Empty) {
        const Integer index = FSD->GetIndex(MenuBarItem);
        if (index >= 0) record = dynamic_cast<TspDataSkinMainMenuItem*>(FSD->ObjectList[index].get());
    }
    ChildMenuIn = childMenu != nullptr;
    // A merged child menu takes the room the marker would need; the bar scrolls no more.
    if (ChildMenuIn) FScrollMenu = false;
    std::vector<TMenuItem*> items;
    TMenuItem* mainRoot = FMainMenu->Items();
    if (childMenu) {
        TMenuItem* childRoot = childMenu->Items();
        auto childHasGroup = [childRoot](Byte AGroup) {
            for (Integer i = 0; i < childRoot->Count(); ++i)
                if (childRoot->Items(i)->GroupIndex() == AGroup) return true;
            return false;
        };
        for (Integer i = 0; i < mainRoot->Count(); ++i)
            if (!childHasGroup(mainRoot->Items(i)->GroupIndex())) items.push_back(mainRoot->Items(i));
        for (Integer i = 0; i < childRoot->Count(); ++i) items.push_back(childRoot->Items(i));
        std::stable_sort(items.begin(), items.end(),
                         [](TMenuItem* A, TMenuItem* B) { return A->GroupIndex() < B->GroupIndex(); });
    } else {
        for (Integer i = 0; i < mainRoot->Count(); ++i) items.push_back(mainRoot->Items(i));
    }
    for (TMenuItem* menuItem : items) {
        if (!menuItem->Visible()) continue;
        auto item = std::make_unique<TspSkinMainMenuBarItem>(this, record);
        item->IDName = menuItem->Name();
        item->Enabled = item->OldEnabled = menuItem->Enabled();
        item->MenuItem = menuItem;
        ObjectList.push_back(std::move(item));
    }
}

void TspSkinMainMenuBar::Merge(TMainMenu* Menu)
{
    if (FMergeMenu) FMergeMenu->RemoveFreeNotification(this);
    FMergeMenu = Menu;
    if (FMergeMenu) FMergeMenu->FreeNotification(this);
    UpDateItems();
}

void TspSkinMainMenuBar::UnMerge()
{
    Merge(nullptr);
}

void TspSkinMainMenuBar::UpDateItems()
{
    CreateMenu();
    Repaint();
    ActiveObject = OldActiveObject = -1;
    MouseTimer->SetEnabled(true);
}

void TspSkinMainMenuBar::UpDateEnabledItems()
{
    for (TspSkinMainMenuBarItem* item : Items()) item->Enabled = item->MenuItem->Enabled();
    Repaint();
}

std::vector<TspSkinMainMenuBarItem*> TspSkinMainMenuBar::Items() const
{
    std::vector<TspSkinMainMenuBarItem*> items;
    for (const auto& object : ObjectList)
        if (auto* item = dynamic_cast<TspSkinMainMenuBarItem*>(object.get())) items.push_back(item);
    return items;
}

// ---- layout and painting ----

void TspSkinMainMenuBar::CalcNewItemsRect()
{
    if (FSkinSupport)
        NewItemsRect = Rect(ItemsRect.Left, ItemsRect.Top, Width() - (SkinRect.Width() - ItemsRect.Right),
                            ItemsRect.Bottom);
    else
        NewItemsRect = Rect(2, 2, Width() - 2, Height() - 2);
    PlaceChildButtons(this);
}

TRect TspSkinMainMenuBar::GetMarkerRect() const
{
    return Rect(NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom);
}

void TspSkinMainMenuBar::LayoutItems()
{
    CalcNewItemsRect();
    Scroll = false;
    TBitmap measure(1, 1);
    Integer prevRight = 0;
    for (TspSkinMainMenuBarItem* item : Items()) {
        item->Place(measure.Canvas(), prevRight);
        prevRight = item->ObjectRect.Right;
    }
}

void TspSkinMainMenuBar::SetItemFont(TCanvas* C, TspSkinMainMenuBarItem* Item)
{
    TFont* font = C->Font();
    if (FSkinSupport && Item->FSkinSupport && FUseSkinFont) {
        font->SetName(Item->FontName);
        font->SetStyle(Item->FontStyle);
        font->SetHeight(Item->FontHeight);
    } else {
        font->Assign(FDefItemFont.get());
    }
}

void TspSkinMainMenuBar::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    PaintBar(Canvas());
}

void TspSkinMainMenuBar::PaintBar(TCanvas* C)
{
    GetSkinData();
    TBitmap image(Width(), Height());
    TCanvas* canvas = image.Canvas();
    if (FSkinSupport && FSD && FSD->MainMenuBarTransparent) {
        PaintParentBackground(this, canvas);
    } else if (FSkinSupport && Picture) {
        BuildHStripImage(ItemsRect.Left, SkinRect.Width() - ItemsRect.Right, &image, Picture, SkinRect, Width(),
                         Height(), StretchEffect);
    } else {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(Rect(0, 0, Width(), Height()));
    }
    LayoutItems();
    for (const auto& object : ObjectList)
        if (object->Visible) object->Draw(canvas);
    if (Scroll && FScrollMenu) DrawMarker(canvas);
    C->Draw(0, 0, &image);
}

void TspSkinMainMenuBar::DrawMarker(TCanvas* C)
{
    TColor color;
    if (FSkinSupport)
        color = MarkerActive ? TrackMarkActiveColor : TrackMarkColor;
    else
        color = MarkerActive ? clBtnText : clBtnShadow;
    DrawArrowGlyph(C, GetMarkerRect(), color, 2);
}

// The bar's canvas exists only while it paints, so one object's new look repaints the bar (through the one
// off-screen image of the paint).
void TspSkinMainMenuBar::DrawObject(TspMenuBarObject* Obj)
{
    if (Obj->Visible || (FSkinSupport && ItemTransparent)) Repaint();
}

// ---- timers and hot tracking ----

void TspSkinMainMenuBar::TrackHotObject(Integer X, Integer Y)
{
    if (ObjectList.empty()) return;
    OldActiveObject = ActiveObject;
    Integer found = -1;
    for (Integer i = 0; i < ObjectCount(); ++i) {
        TspMenuBarObject* object = Objects(i);
        if (object->Enabled && InRect(object->ObjectRect, X, Y)) {
            found = i;
            break;
        }
    }
    // In menu mode the highlighted item keeps the highlight when the mouse leaves it.
    if (found == -1 && OldActiveObject != -1 && MenuActive && OldActiveObject < ObjectCount() &&
        dynamic_cast<TspSkinMainMenuBarItem*>(Objects(OldActiveObject)))
        ActiveObject = OldActiveObject;
    else
        ActiveObject = found;
    if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject && ActiveObject != -1) ActiveObject = -1;
    if (ActiveObject >= ObjectCount()) ActiveObject = -1;
    if (OldActiveObject >= ObjectCount()) OldActiveObject = -1;
    if (OldActiveObject != ActiveObject) {
        // Either call may rebuild the list (a drop-down moved, a command run): indexes are read again.
        ++FObjectCallDepth;
        const Integer newIndex = ActiveObject;
        if (OldActiveObject != -1 && Objects(OldActiveObject)->Enabled) Objects(OldActiveObject)->MouseLeave();
        if (newIndex != -1 && newIndex < ObjectCount() && Objects(newIndex)->Enabled) Objects(newIndex)->MouseEnter();
        --FObjectCallDepth;
    }
    if (Scroll && FScrollMenu) {
        const bool inMarker = InRect(GetMarkerRect(), X, Y);
        if (inMarker != MarkerActive) {
            MarkerActive = inMarker;
            Repaint();
        }
    }
}

void TspSkinMainMenuBar::MouseTimerProc()
{
    TPoint p{};
    GetCursorPos(p);
    p = ScreenToClient(p);
    if (p.X < 0 || p.Y < 0 || p.X > Width() || p.Y > Height()) {
        if (MouseTimer->Enabled()) {
            MouseTimer->SetEnabled(false);
            TrackHotObject(-1, -1);
        }
    } else {
        TrackHotObject(p.X, p.Y);
    }
}

void TspSkinMainMenuBar::MorphTimerProc()
{
    bool changed = false;
    for (const auto& object : ObjectList)
        if (object->EnableMorphing() && object->CanMorphing()) {
            object->DoMorphing();
            changed = true;
        }
    if (!changed) MorphTimer->SetEnabled(false);
}

void TspSkinMainMenuBar::AnimateTimerProc()
{
    bool changed = false;
    for (TspSkinMainMenuBarItem* item : Items()) {
        if (!item->EnableAnimation()) continue;
        if (item->Active && item->CurrentFrame <= item->FrameCount) {
            ++item->CurrentFrame;
            DrawObject(item);
            changed = true;
        } else if (!item->Active && item->CurrentFrame > 0) {
            --item->CurrentFrame;
            DrawObject(item);
            changed = true;
        }
    }
    if (!changed) AnimateTimer->SetEnabled(false);
}

// ---- mouse ----

void TspSkinMainMenuBar::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_SIZE:
        TspSkinControl::WndProc(AMessage);
        CalcNewItemsRect();
        return;
    case WM_MOVE:
        TspSkinControl::WndProc(AMessage);
        if (FSkinSupport && FSD && FSD->MainMenuBarTransparent && Align() == alNone) Repaint();
        return;
    case CM_MOUSEENTER:
        TspSkinControl::WndProc(AMessage);
        if (Designing()) return;
        if (OnMouseEnter) OnMouseEnter(this);
        MouseTimer->SetEnabled(true);
        return;
    case CM_MOUSELEAVE:
        TspSkinControl::WndProc(AMessage);
        if (Designing()) return;
        if (OnMouseLeave) OnMouseLeave(this);
        MouseTimer->SetEnabled(false);
        TrackHotObject(-1, -1);
        return;
    case SKM_REPAINT_TRANSPARENT:
        if (FSkinSupport && FSD && FSD->MainMenuBarTransparent) Repaint();
        return;
    case SKM_CLOSEMENU:
        ReleaseSysMenuButton(this);
        TspSkinControl::WndProc(AMessage);
        return;
    default: TspSkinControl::WndProc(AMessage);
    }
}

void TspSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TspSkinControl::MouseDown(Button, Shift, X, Y);
    TrackHotObject(X, Y);
    if (ActiveObject != -1) {
        MouseCaptureObject = ActiveObject;
        ++FObjectCallDepth;
        TspMenuBarObject* object = Objects(ActiveObject);
        object->MouseDown(X, Y, Button);
        if (Shift.Contains(ssDouble)) object->DblClick();
        --FObjectCallDepth;
    } else if (Scroll && FScrollMenu && InRect(GetMarkerRect(), X, Y)) {
        PopupHiddenItems();
    }
}

void TspSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (MouseCaptureObject != -1 && MouseCaptureObject < ObjectCount()) {
        ++FObjectCallDepth;
        Objects(MouseCaptureObject)->MouseUp(X, Y, Button);
        --FObjectCallDepth;
    }
    MouseCaptureObject = -1;
    TspSkinControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinMainMenuBar::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!Designing()) MouseTimer->SetEnabled(true);
    TspSkinControl::MouseMove(Shift, X, Y);
}

// ---- the hidden items ----

void TspSkinMainMenuBar::PopupHiddenItems()
{
    TspFormMenus* menus = FormMenus();
    if (!menus || !FMainMenu) return;
    Integer shown = 0;
    for (TspSkinMainMenuBarItem* item : Items())
        if (item->Fits) ++shown;
    TRect r = GetMarkerRect();
    const TPoint topLeft = ClientToScreen(r.TopLeft());
    r = Bounds(topLeft.X, topLeft.Y, r.Width(), r.Height());
    menus->SkinMenuOpen();
    TMainMenu* childMenu = nullptr;
    TCustomForm* form = SkinFormOwner(CVL);
    if ((form && form->FormStyle() == fsMDIForm) || FMergeMenu) childMenu = GetChildMainMenu();
    if (childMenu)
        menus->SkinMenu->Popup2(nullptr, FSD, shown, r, FMainMenu->Items(), childMenu->Items(), false);
    else
        menus->SkinMenu->Popup(nullptr, FSD, shown, r, FMainMenu->Items(), false);
    // Nothing listed: no close message will come, so the menu mode must not stay behind holding the keys.
    if (!menus->SkinMenu->FVisible) menus->SkinMenuClose();
}
