#include "skin/forms/images_menu.h"

#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/forms.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "skin/core/layer_window.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/forms/hint_component.h"
#include "skin/forms/popup_window.h"

using namespace win;

// ---- the items ----

void TspImagesMenuItem::Assign(TPersistent* Source)
{
    if (auto* item = dynamic_cast<TspImagesMenuItem*>(Source)) {
        FImageIndex = item->FImageIndex;
        FCaption = item->FCaption;
        FButton = item->FButton;
        FHint = item->FHint;
        return;
    }
    TCollectionItem::Assign(Source);
}

TspImagesMenuItems::TspImagesMenuItems(TspSkinImagesMenu* AImagesMenu)
    : TOwnedCollection(AImagesMenu, CollectionItemClass<TspImagesMenuItem>()), ImagesMenu(AImagesMenu)
{
}

// ---- the menu ----

TspSkinImagesMenu::TspSkinImagesMenu(TComponent* AOwner) : TComponent(AOwner)
{
    FImagesItems = std::make_unique<TspImagesMenuItems>(this);
    FDefaultFont = std::make_unique<TFont>();
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
}

TspSkinImagesMenu::~TspSkinImagesMenu()
{
    if (FPopupWindow) {
        TspSkinImagesMenuPopupWindow* window = FPopupWindow;
        FPopupWindow = nullptr;
        delete window;
    }
}

void TspSkinImagesMenu::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FSkinData) FSkinData = nullptr;
    if (FSkinHint && AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FPopupWindow) FPopupWindow = nullptr;
}

void TspSkinImagesMenu::SetImages(TCustomImageList* Value)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages) FImages->FreeNotification(this);
}

void TspSkinImagesMenu::SetSkinData(TspSkinData* Value)
{
    if (FSkinData) FSkinData->RemoveFreeNotification(this);
    FSkinData = Value;
    if (FSkinData) FSkinData->FreeNotification(this);
}

void TspSkinImagesMenu::SetSkinHint(TspSkinHint* Value)
{
    if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
    FSkinHint = Value;
    if (FSkinHint) FSkinHint->FreeNotification(this);
}

void TspSkinImagesMenu::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
}

void TspSkinImagesMenu::SetColumnsCount(Integer Value)
{
    if (Value >= 1 && Value <= 50) FColumnsCount = Value;
}

TspImagesMenuItem* TspSkinImagesMenu::SelectedItem() const
{
    if (FItemIndex < 0 || FItemIndex >= FImagesItems->Count()) return nullptr;
    return FImagesItems->Items(FItemIndex);
}

void TspSkinImagesMenu::Popup(Integer X, Integer Y)
{
    PopupFromRect(Rect(X, Y, X, Y));
}

void TspSkinImagesMenu::PopupFromRect(TRect R)
{
    if (FPopupWindow) FPopupWindow->Hide(false);
    if (OnMenuPopup) OnMenuPopup(this);
    if (!FImages || FImages->Count() == 0 || FImagesItems->Count() == 0) return;
    FOldItemIndex = FItemIndex;
    FPopupWindow = new TspSkinImagesMenuPopupWindow(this);
    FPopupWindow->Show(R);
}

void TspSkinImagesMenu::Hide()
{
    if (FPopupWindow) FPopupWindow->Hide(false);
}

void TspSkinImagesMenu::PopupWindowClosed(bool AProcessEvents)
{
    if (!FPopupWindow) return;
    TspSkinImagesMenuPopupWindow* window = FPopupWindow;
    FPopupWindow = nullptr;
    window->Release();
    if (OnInternalMenuClose) OnInternalMenuClose(this);
    if (OnMenuClose) OnMenuClose(this);
    if (!AProcessEvents || FItemIndex == -1) return;
    if (TspImagesMenuItem* item = SelectedItem())
        if (item->OnClick) item->OnClick(this);
    if (OnItemClick) OnItemClick(this);
    if (FItemIndex != FOldItemIndex) {
        if (OnInternalChange) OnInternalChange(this);
        if (OnChange) OnChange(this);
    }
}

// ---- the window: life and input ----

TspSkinImagesMenuPopupWindow::TspSkinImagesMenuPopupWindow(TspSkinImagesMenu* AImagesMenu)
    : TCustomControl(AImagesMenu), ImagesMenu(AImagesMenu)
{
    TControl::SetVisible(false);
}

TspSkinImagesMenuPopupWindow::~TspSkinImagesMenuPopupWindow()
{
    if (FHooked && Application) Application->RemoveOnMessage(FHookId);
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TspSkinImagesMenuPopupWindow::Release()
{
    if (FHandlerDepth > 0)
        FReleaseRequested = true;
    else
        delete this;
}

void TspSkinImagesMenuPopupWindow::CreateParams(TCreateParams& AParams)
{
    TCustomControl::CreateParams(AParams);
    AParams.Style = WS_POPUP;
    AParams.ExStyle = WS_EX_TOOLWINDOW;
    AParams.WndParent = nullptr;
    AParams.ClassStyle |= CS_SAVEBITS | CS_DROPSHADOW;
    AParams.WinClassName = "TspSkinImagesMenuPopupWindow";
}

void TspSkinImagesMenuPopupWindow::WndProc(TMessage& AMessage)
{
    // A choice closes and frees the window from inside its own handler: it goes once that has returned.
    ++FHandlerDepth;
    switch (AMessage.Msg) {
    case WM_MOUSEACTIVATE: AMessage.Result = MA_NOACTIVATE; break;
    case WM_ERASEBKGND: AMessage.Result = 1; break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The capture brings every click here: one outside the picker closes it.
        TPoint cursor{};
        GetCursorPos(cursor);
        if (WindowFromPoint(cursor) != Handle())
            Hide(false);
        else
            TCustomControl::WndProc(AMessage);
        break;
    }
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(AMessage);
        HideCellHint();
        MouseInItem = OldMouseInItem = -1;
        Repaint();
        break;
    default: TCustomControl::WndProc(AMessage);
    }
    if (--FHandlerDepth == 0 && FReleaseRequested) delete this;
}

void TspSkinImagesMenuPopupWindow::Show(TRect PopupRect)
{
    CalcSize();
    const TPoint at = CalcShowPosition(PopupRect);
    const bool layered = ImagesMenu->AlphaBlend && HasSetLayeredWindowAttributes();
    const bool fade = layered && ImagesMenu->AlphaBlendAnimation;
    if (layered) {
        SetWindowLong(Handle(), GWL_EXSTYLE, GetWindowLong(Handle(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetWindowAlpha(Handle(), fade ? 0 : ImagesMenu->AlphaBlendValue);
    }
    SetBounds(at.X, at.Y, Width(), Height());
    SetWindowPos(Handle(), HWND_TOPMOST, at.X, at.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    TControl::SetVisible(true);
    if (fade) FadeInByTimer(this, ImagesMenu->AlphaBlendValue);
    if (Application) {
        TspSkinImagesMenu* menu = ImagesMenu;
        // The hook reaches the window through the menu: the window may be gone by the next message.
        FHookId = Application->SetOnMessage([menu](MSG& Msg, bool& Handled) {
            if (menu->PopupWindow()) menu->PopupWindow()->AppMessage(Msg, Handled);
        });
        FHooked = true;
    }
    SetCapture(Handle());
}

void TspSkinImagesMenuPopupWindow::Hide(bool AProcessEvents)
{
    HideCellHint();
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    TControl::SetVisible(false);
    if (FHooked && Application) Application->RemoveOnMessage(FHookId);
    FHooked = false;
    if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
    ImagesMenu->PopupWindowClosed(AProcessEvents);
}

void TspSkinImagesMenuPopupWindow::AppMessage(MSG& Msg, bool& Handled)
{
    switch (Msg.message) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY: Hide(false); break;
    case WM_KEYDOWN:
        ProcessKey(static_cast<Integer>(Msg.wParam));
        Msg.message = WM_NULL;
        Handled = true;
        break;
    default: break;
    }
}

void TspSkinImagesMenuPopupWindow::HideCellHint()
{
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) ImagesMenu->SkinHint()->HideHint();
}

// Right and bottom edges count as inside; titles cannot be chosen.
Integer TspSkinImagesMenuPopupWindow::CellAt(Integer X, Integer Y) const
{
    TspImagesMenuItems* items = ImagesMenu->ImagesItems();
    for (Integer i = 0; i < items->Count(); ++i)
        if (!items->Items(i)->Header() && PointInsideRect(items->Items(i)->ItemRect, Point(X, Y))) return i;
    return -1;
}

void TspSkinImagesMenuPopupWindow::TrackHotCell(Integer X, Integer Y)
{
    MouseInItem = CellAt(X, Y);
    if (MouseInItem == -1) HideCellHint();
    if (MouseInItem == OldMouseInItem) return;
    OldMouseInItem = MouseInItem;
    Repaint();
    if (ImagesMenu->ShowHints && ImagesMenu->SkinHint()) {
        ImagesMenu->SkinHint()->HideHint();
        if (MouseInItem != -1 && !ImagesMenu->ImagesItems()->Items(MouseInItem)->Hint().empty())
            ImagesMenu->SkinHint()->ActivateHint2(ImagesMenu->ImagesItems()->Items(MouseInItem)->Hint());
    }
}

void TspSkinImagesMenuPopupWindow::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    TrackHotCell(X, Y);
}

void TspSkinImagesMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    HideCellHint();
    FDown = true;
    FItemDown = CellAt(X, Y) != -1;
    Repaint();
}

void TspSkinImagesMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    const Integer cell = CellAt(X, Y);
    if (FDown && cell != -1) {
        ImagesMenu->SetItemIndex(cell);
        Hide(true);
        return;
    }
    // A release outside the cells leaves the picker open, holding the mouse.
    FDown = FItemDown = false;
    ReleaseCapture();
    SetCapture(Handle());
    Repaint();
}

void TspSkinImagesMenuPopupWindow::SetHotCell(Integer AIndex)
{
    if (AIndex == MouseInItem) return;
    MouseInItem = OldMouseInItem = AIndex;
    Repaint();
}

void TspSkinImagesMenuPopupWindow::ProcessKey(Integer KeyCode)
{
    TspImagesMenuItems* items = ImagesMenu->ImagesItems();
    const Integer count = items->Count();
    if (count == 0) return;
    const Integer firstSelectable = items->Items(0)->Header() && count > 1 ? 1 : 0;
    const Integer hot = MouseInItem;
    auto sameColumnOrButton = [&](Integer AIndex) {
        const TspImagesMenuItem* item = items->Items(AIndex);
        return !item->Header() && (item->Button() || item->ItemRect.Left == items->Items(hot)->ItemRect.Left);
    };
    switch (KeyCode) {
    case VK_RETURN:
    case VK_SPACE:
        if (MouseInItem != -1) ImagesMenu->SetItemIndex(MouseInItem);
        Hide(true);
        return;
    case VK_ESCAPE: Hide(false); return;
    case VK_LEFT:
        if (hot == -1 || hot == firstSelectable) {
            SetHotCell(count - 1);
            return;
        }
        for (Integer i = hot - 1; i >= 0; --i)
            if (!items->Items(i)->Header()) {
                SetHotCell(i);
                return;
            }
        return;
    case VK_RIGHT:
        if (hot == -1 || hot == count - 1) {
            SetHotCell(firstSelectable);
            return;
        }
        for (Integer i = hot + 1; i < count; ++i)
            if (!items->Items(i)->Header()) {
                SetHotCell(i);
                return;
            }
        return;
    case VK_UP:
        if (hot == -1) {
            SetHotCell(count - 1);
            return;
        }
        for (Integer i = hot - 1; i >= 0; --i)
            if (items->Items(i)->ItemRect.Top < items->Items(hot)->ItemRect.Top && sameColumnOrButton(i)) {
                SetHotCell(i);
                return;
            }
        return;
    case VK_DOWN:
        if (hot == -1) {
            SetHotCell(firstSelectable);
            return;
        }
        for (Integer i = hot + 1; i < count; ++i)
            if (items->Items(i)->ItemRect.Top > items->Items(hot)->ItemRect.Top && sameColumnOrButton(i)) {
                SetHotCell(i);
                return;
            }
        return;
    default: return;
    }
}
