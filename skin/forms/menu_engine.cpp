#include "skin/forms/menu_engine.h"

#include "skin/core/platform_gates.h"
#include "skin/core/skin_data_messages.h"
#include "skin/forms/form_messages.h"
#include "skin/forms/popup_window.h"

using namespace win;

class TspSkinMenu::TSkinChangeWatch : public TspSkinMessageReceiver {
public:
    explicit TSkinChangeWatch(TspSkinMenu* AMenu) : FMenu(AMenu) { TspFormRegistry::RegisterFirst(this); }
    ~TSkinChangeWatch() override { TspFormRegistry::Unregister(this); }
    TSkinChangeWatch(const TSkinChangeWatch&) = delete;
    TSkinChangeWatch& operator=(const TSkinChangeWatch&) = delete;

    TComponent* ReceiverForm() const override { return nullptr; }
    void SkinDataMessage(Cardinal Msg, intptr_t WParam, intptr_t) override
    {
        // The levels hold the skin's pictures and records: none may stay open across the change.
        if (Msg == SKM_BEFORECHANGE && FMenu->FVisible && reinterpret_cast<TspSkinData*>(WParam) == FMenu->SkinData)
            FMenu->Hide();
    }

private:
    TspSkinMenu* FMenu;
};

TspSkinMenu::TspSkinMenu(TComponent* AOwner, TCustomForm* AForm) : TComponent(AOwner), FForm(AForm)
{
    FDefaultMenuItemFont.SetName("Arial");
    FDefaultMenuItemFont.SetHeight(14);
    FDefaultMenuItemFont.SetStyle(TFontStyles{});
    WaitTimer = new TTimer(this);
    WaitTimer->SetEnabled(false);
    WaitTimer->SetInterval(500);
    WaitTimer->SetOnTimer([this](TObject* Sender) { WaitTimerProc(Sender); });
    if (FForm) FreeNotification(FForm);
}

TspSkinMenu::~TspSkinMenu()
{
    CloseLevels(0);
    WaitTimer->SetEnabled(false);
    FSkinChangeWatch.reset();
}

void TspSkinMenu::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == PopupCtrl) PopupCtrl = nullptr;
    if (AComponent == DCtrl) DCtrl = nullptr;
    if (AComponent == SkinData) SkinData = nullptr;
    if (AComponent == FForm) FForm = nullptr;
}

void TspSkinMenu::GetWorkArea()
{
    if (FForm && FForm->HandleAllocated())
        GetWorkAreaOf(FForm->Handle(), true, WorkArea);
    else
        GetDesktopWorkArea(true, WorkArea);
}

void TspSkinMenu::Popup(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, TRect R, TMenuItem* AItem,
                        bool PopupUp)
{
    Popup2(APopupCtrl, ASkinData, StartIndex, R, AItem, nullptr, PopupUp);
}

void TspSkinMenu::Popup2(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, TRect R,
                         TMenuItem* AItem, TMenuItem* AItem2, bool PopupUp)
{
    // A menu that replaces an open one gets no fade-in.
    FFirst = !FVisible;
    if (!FPopupList.empty()) CloseLevels(0);
    PopupCtrl = APopupCtrl;
    if (PopupCtrl) PopupCtrl->FreeNotification(this);
    GetWorkArea();
    SkinData = ASkinData;
    if (SkinData) SkinData->FreeNotification(this);
    if (!AItem) return;
    const Integer count = AItem->Count() + (AItem2 ? AItem2->Count() : 0);
    if (AItem->Count() == 0 || StartIndex >= count) return;
    FVisible = true;
    if (SkinData && !FSkinChangeWatch) FSkinChangeWatch = std::make_unique<TSkinChangeWatch>(this);
    if (AItem2)
        OpenLevel2(R, AItem, AItem2, PopupUp, false, StartIndex);
    else
        OpenLevel(R, AItem, PopupUp, false, StartIndex);
    FFirst = false;
}

void TspSkinMenu::OpenLevel(TRect R, TMenuItem* Item, bool PopupUp, bool PopupByItem, Integer StartIndex)
{
    OpenLevel2(R, Item, nullptr, PopupUp, PopupByItem, StartIndex);
}

void TspSkinMenu::OpenLevel2(TRect R, TMenuItem* Item, TMenuItem* Item2, bool PopupUp, bool PopupByItem,
                             Integer StartIndex)
{
    TspDataSkinPopupWindow* record = SkinData && !SkinData->Empty ? SkinData->PopupWindow.get() : nullptr;
    auto* window = new TspSkinPopupWindow(this, this, record);
    FPopupList.push_back(window);
    if (Item2)
        window->Show2(R, Item, Item2, StartIndex, PopupByItem, PopupUp);
    else
        window->Show(R, Item, StartIndex, PopupByItem, PopupUp);
}

Integer TspSkinMenu::IndexOfLevel(TspSkinPopupWindow* Window) const
{
    for (size_t i = 0; i < FPopupList.size(); ++i)
        if (FPopupList[i] == Window) return static_cast<Integer>(i);
    return static_cast<Integer>(FPopupList.size());
}

void TspSkinMenu::NotifyControl(TControl* AControl, UINT AMsg)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        if (windowed->HandleAllocated()) SendMessage(windowed->Handle(), AMsg, 0, 0);
        else windowed->Perform(AMsg, 0, 0);
    } else {
        AControl->Perform(AMsg, 0, 0);
    }
}

void TspSkinMenu::CloseLevels(Integer From)
{
    From = std::max<Integer>(From, 0);
    while (static_cast<Integer>(FPopupList.size()) > From) {
        TspSkinPopupWindow* window = FPopupList.back();
        FPopupList.pop_back();
        if (WItem && WItem->Parent == window) StopWaiting();
        // The level may be the one whose handler runs now: it goes once that handler has returned.
        window->Dismiss();
    }
    if (From != 0) return;
    WaitTimer->SetEnabled(false);
    FVisible = false;
    FSkinChangeWatch.reset();
    DCtrl = PopupCtrl;
    if (PopupCtrl) {
        TControl* control = PopupCtrl;
        PopupCtrl = nullptr;
        NotifyControl(control, SKM_CLOSEMENU);
    }
    if (FOnMenuClose) {
        // Cleared first: the handler runs once per menu even when it opens another one.
        TNotifyEvent handler = std::move(FOnMenuClose);
        FOnMenuClose = nullptr;
        handler(this);
    }
}

void TspSkinMenu::Hide()
{
    CloseLevels(0);
    StopWaiting();
    if (FForm && FForm->HandleAllocated()) SendMessage(FForm->Handle(), SKM_CLOSEMENU, 0, 0);
}

void TspSkinMenu::StopWaiting()
{
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
}

void TspSkinMenu::CheckItem(TspSkinPopupWindow* Window, TspSkinMenuItem* Item, bool Execute, bool Kb)
{
    TMenuItem* menuItem = Item->MenuItem;
    const Integer above = IndexOfLevel(Window) + 1;
    if (menuItem->Count() == 0) {
        StopWaiting();
        if (!Execute) {
            if (above < LevelCount()) CloseLevels(above);
            return;
        }
        Hide();
        // The item's own menu dispatches the command, as a native menu would.
        if (TMenu* menu = menuItem->GetParentMenu())
            menu->DispatchCommand(menuItem->Command());
        else
            menuItem->Click();
        if (DCtrl) NotifyControl(DCtrl, SKM_AFTERMENUCOMMAND);
        return;
    }
    if (!Execute) {
        if (Kb) return;  // a keyboard highlight does not open sub-menus
        WaitTimer->SetEnabled(false);
        if (above < LevelCount()) CloseLevels(above);
        WItem = Item;
        WaitTimer->SetEnabled(true);
        return;
    }
    // The item's OnClick runs before its sub-menu opens.
    if (TMenu* menu = menuItem->GetParentMenu())
        menu->DispatchCommand(menuItem->Command());
    else
        menuItem->Click();
    StopWaiting();
    if (IndexOfLevel(Window) >= LevelCount()) return;  // the click handler closed the menu
    Item->Down = true;
    TRect r = Item->ObjectRect;
    r.Left += Window->Left();
    r.Right += Window->Left();
    r.Top += Window->Top();
    r.Bottom += Window->Top();
    OpenLevel(r, menuItem, false, true, 0);
}

void TspSkinMenu::WaitTimerProc(TObject*)
{
    TspSkinMenuItem* item = WItem;
    WaitTimer->SetEnabled(false);
    if (item) CheckItem(item->Parent, item, true, false);
}

bool IsMenuCloseMessage(Cardinal Msg)
{
    switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY: return true;
    default: return false;
    }
}
