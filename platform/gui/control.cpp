#include "platform/gui/application.h"
#include "platform/gui/controls.h"
#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "platform/gui/screen.h"

#include <algorithm>
#include <cstdlib>

using namespace win;

namespace {
TControl* gMouseOver = nullptr;
TControl* gCaptureControl = nullptr;
}  // namespace

TShiftState KeysToShiftState(WPARAM AKeys)
{
    TShiftState result;
    if (AKeys & MK_SHIFT) result.Include(ssShift);
    if (AKeys & MK_CONTROL) result.Include(ssCtrl);
    if (AKeys & MK_LBUTTON) result.Include(ssLeft);
    if (AKeys & MK_RBUTTON) result.Include(ssRight);
    if (AKeys & MK_MBUTTON) result.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) result.Include(ssAlt);
    return result;
}

TShiftState KeyboardShiftState()
{
    TShiftState result;
    if (GetKeyState(VK_SHIFT) < 0) result.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) result.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) result.Include(ssAlt);
    return result;
}

TControl* MouseOverControl() { return gMouseOver; }

void SetMouseOverControl(TControl* AControl)
{
    if (AControl == gMouseOver)
        return;
    TControl* old = gMouseOver;
    gMouseOver = AControl;
    if (old)
        old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    // The leave handler may have destroyed the new control's parent; only a control still current hears enter.
    if (AControl && gMouseOver == AControl)
        AControl->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(AControl));
}

TControl* GetCaptureControl()
{
    if (gCaptureControl) {
        TWinControl* holder = dynamic_cast<TWinControl*>(gCaptureControl);
        if (!holder)
            holder = gCaptureControl->Parent();
        if (!holder || !holder->HandleAllocated() || GetCapture() != holder->Handle())
            gCaptureControl = nullptr;
    }
    return gCaptureControl;
}

void SetCaptureControl(TControl* AControl)
{
    gCaptureControl = nullptr;
    if (!AControl) {
        ReleaseCapture();
        return;
    }
    TWinControl* holder = dynamic_cast<TWinControl*>(AControl);
    if (!holder)
        holder = AControl->Parent();
    if (!holder)
        return;
    SetCapture(holder->Handle());
    gCaptureControl = AControl;
}

TCustomForm* GetParentForm(TControl* AControl)
{
    while (AControl && AControl->Parent())
        AControl = AControl->Parent();
    return dynamic_cast<TCustomForm*>(AControl);
}

TControl* FindDragTarget(TPoint AScreen, bool AAllowDisabled)
{
    HWND window = WindowFromPoint(AScreen);
    TWinControl* control = nullptr;
    while (window && !(control = TWinControl::FindControl(window)))
        window = GetAncestor(window, GA_PARENT);
    if (!control)
        return nullptr;
    if (TControl* child = control->ControlAtPos(control->ScreenToClient(AScreen), AAllowDisabled))
        return child;
    return control;
}

// ---- TControl --------------------------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    WindowProc = [this](TMessage& AMessage) { WndProc(AMessage); };
    FFont.OnChange = [this](TObject* ASender) { FontChanged(ASender); };
    FConstraints.OnChange = [this](TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); };
}

TControl::~TControl()
{
    if (gMouseOver == this)
        gMouseOver = nullptr;
    if (gCaptureControl == this)
        gCaptureControl = nullptr;
    DragControlDestroyed(this);
    if (Application)
        Application->ControlDestroyed(this);
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    if (FParent)
        FParent->RemoveControl(this);
    FFont.OnChange = nullptr;
    FConstraints.OnChange = nullptr;
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

void TControl::ParentChanged()
{
    if (!FParent)
        return;
    if (FParentFont)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
    if (FParentColor)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (FParentShowHint)
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::UpdateBoundsFields(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = std::max(0, AWidth);
    FHeight = std::max(0, AHeight);
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    FConstraints.Apply(AWidth, AHeight);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    bool resized = AWidth != FWidth || AHeight != FHeight;
    Invalidate();
    UpdateBoundsFields(ALeft, ATop, AWidth, AHeight);
    Invalidate();
    RequestAlign();
    if (resized)
        Resize();
}

TRect TControl::ClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(Integer AWidth, Integer AHeight)
{
    TRect client = ClientRect();
    SetBounds(FLeft, FTop, FWidth - client.Width() + AWidth, FHeight - client.Height() + AHeight);
}

TPoint TControl::ClientOrigin()
{
    if (!FParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    TPoint origin = FParent->ClientOrigin();
    return {origin.X + FLeft, origin.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint APoint)
{
    TPoint origin = ClientOrigin();
    return {APoint.X + origin.X, APoint.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint APoint)
{
    TPoint origin = ClientOrigin();
    return {APoint.X - origin.X, APoint.Y - origin.Y};
}

void TControl::SetAlign(TAlign AValue)
{
    if (AValue == FAlign)
        return;
    FAlign = AValue;
    RequestAlign();
}

void TControl::SetAutoSize(bool AValue)
{
    if (AValue == FAutoSize)
        return;
    FAutoSize = AValue;
    if (AValue)
        AdjustSize();
}

void TControl::AdjustSize()
{
    if (!FAutoSize)
        return;
    Integer width = FWidth;
    Integer height = FHeight;
    if (CanAutoSize(width, height))
        SetBounds(FLeft, FTop, width, height);
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->AlignControl(this);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::SetVisible(bool AValue)
{
    if (AValue == FVisible)
        return;
    if (!AValue)
        Invalidate();
    FVisible = AValue;
    Perform(CM_VISIBLECHANGED, AValue, 0);
    if (AValue)
        Invalidate();
    RequestAlign();
}

bool TControl::Showing()
{
    return FVisible && FParent && FParent->Showing();
}

void TControl::SetEnabled(bool AValue)
{
    if (AValue == FEnabled)
        return;
    FEnabled = AValue;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(const std::string& AValue)
{
    if (AValue == GetText())
        return;
    FText = AValue;
    TextChanged();
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool AValue)
{
    FParentShowHint = false;
    if (AValue == FShowHint)
        return;
    FShowHint = AValue;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool AValue)
{
    FParentShowHint = AValue;
    if (AValue && FParent)
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor AValue)
{
    if (AValue == FCursor)
        return;
    FCursor = AValue;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* AValue)
{
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = AValue;
    if (AValue)
        AValue->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::SetColor(TColor AValue)
{
    FParentColor = false;
    if (AValue == FColor)
        return;
    FColor = AValue;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool AValue)
{
    FParentColor = AValue;
    if (AValue && FParent)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool AValue)
{
    FParentFont = AValue;
    if (AValue && FParent)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*)
{
    if (!FControlState.Contains(csReadingState))
        FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

LRESULT TControl::Perform(UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
    TMessage message{AMsg, AWParam, ALParam, 0};
    if (WindowProc)
        WindowProc(message);
    else
        WndProc(message);
    return message.Result;
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Invalidate()
{
    if (!FParent || !FParent->HandleAllocated() || !FVisible)
        return;
    TRect area = BoundsRect();
    InvalidateRect(FParent->Handle(), &area, !FControlStyle.Contains(csOpaque));
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::BringToFront()
{
    if (FParent)
        FParent->BringControlToFront(this);
}

void TControl::SendToBack()
{
    if (FParent)
        FParent->SendControlToBack(this);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (OnMouseDown)
        OnMouseDown(this, AButton, AShift, AX, AY);
}

void TControl::MouseMove(TShiftState AShift, int AX, int AY)
{
    if (OnMouseMove)
        OnMouseMove(this, AShift, AX, AY);
}

void TControl::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (OnMouseUp)
        OnMouseUp(this, AButton, AShift, AX, AY);
}

bool TControl::DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, AShift, AWheelDelta, AMousePos, handled);
    if (handled)
        return true;
    // Fine-grained wheels send parts of a notch; a whole notch makes one step.
    FWheelAccumulator += AWheelDelta;
    while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
        bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
        handled = down ? DoMouseWheelDown(AShift, AMousePos) : DoMouseWheelUp(AShift, AMousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState AShift, TPoint AMousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, AShift, AMousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState AShift, TPoint AMousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, AShift, AMousePos, handled);
    return handled;
}

bool TControl::DoMouseHWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos)
{
    bool handled = false;
    if (OnMouseHWheel)
        OnMouseHWheel(this, AShift, AWheelDelta, AMousePos, handled);
    return handled;
}

void TControl::MouseWheelHandler(TMessage& AMessage)
{
    UINT notification = AMessage.Msg == WM_MOUSEHWHEEL ? CM_MOUSEHWHEEL : CM_MOUSEWHEEL;
    TCustomForm* form = GetParentForm(this);
    if (form && form != this)
        form->MouseWheelHandler(AMessage);
    else
        AMessage.Result = Perform(notification, AMessage.WParam, AMessage.LParam);
}

void TControl::HandleWheelNotification(TMessage& AMessage)
{
    TShiftState shift = KeysToShiftState(LOWORD(AMessage.WParam));
    int delta = GET_WHEEL_DELTA_WPARAM(AMessage.WParam);
    TPoint at = LParamToPoint(AMessage.LParam);
    bool handled = AMessage.Msg == CM_MOUSEHWHEEL ? DoMouseHWheel(shift, delta, at) : DoMouseWheel(shift, delta, at);
    if (handled)
        AMessage.Result = 1;
    else if (FParent)
        AMessage.Result = FParent->Perform(AMessage.Msg, AMessage.WParam, AMessage.LParam);
}

void TControl::DoContextPopup(TPoint AMousePos, bool& AHandled)
{
    if (OnContextPopup)
        OnContextPopup(this, AMousePos, AHandled);
}

void TControl::HandleContextMenu(TMessage& AMessage)
{
    if (AMessage.Result != 0)
        return;
    TPoint at = LParamToPoint(AMessage.LParam);
    bool fromKeyboard = at.X == -1 && at.Y == -1;
    bool handled = false;
    DoContextPopup(fromKeyboard ? at : ScreenToClient(at), handled);
    if (handled) {
        AMessage.Result = 1;
        return;
    }
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        if (fromKeyboard)
            at = ClientToScreen({0, 0});
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(at.X, at.Y);
        AMessage.Result = 1;
    }
}

void TControl::HandleMouseDown(TMessage& AMessage, TMouseButton AButton, bool ADouble)
{
    if (Application)
        Application->CancelHint();
    TShiftState shift = KeysToShiftState(AMessage.WParam);
    if (ADouble) {
        shift.Include(ssDouble);
        if (AButton == mbLeft && FControlStyle.Contains(csDoubleClicks))
            DblClick();
    }
    if (AButton == mbLeft) {
        if (FControlStyle.Contains(csCaptureMouse))
            SetCaptureControl(this);
        if (FControlStyle.Contains(csClickEvents) && !ADouble)
            FControlState.Include(csClicked);
        FControlState.Include(csLButtonDown);
    }
    TPoint at = LParamToPoint(AMessage.LParam);
    MouseDown(AButton, shift, at.X, at.Y);
    // Only once the pointer moves on does the press become a drag, so a plain click still clicks.
    if (AButton == mbLeft && !ADouble && FDragMode == dmAutomatic && FControlState.Contains(csLButtonDown))
        BeginDrag(false);
}

void TControl::HandleMouseUp(TMessage& AMessage, TMouseButton AButton)
{
    TPoint at = LParamToPoint(AMessage.LParam);
    if (AButton == mbLeft) {
        FControlState.Exclude(csLButtonDown);
        if (FControlStyle.Contains(csCaptureMouse) && GetCaptureControl() == this)
            SetCaptureControl(nullptr);
        if (FControlState.Contains(csClicked)) {
            FControlState.Exclude(csClicked);
            TRect client = ClientRect();
            if (at.X >= client.Left && at.X < client.Right && at.Y >= client.Top && at.Y < client.Bottom)
                Click();
        }
    }
    MouseUp(AButton, KeysToShiftState(AMessage.WParam), at.X, at.Y);
}

void TControl::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_LBUTTONDOWN: HandleMouseDown(AMessage, mbLeft, false); break;
    case WM_LBUTTONDBLCLK: HandleMouseDown(AMessage, mbLeft, true); break;
    case WM_RBUTTONDOWN: HandleMouseDown(AMessage, mbRight, false); break;
    case WM_RBUTTONDBLCLK: HandleMouseDown(AMessage, mbRight, true); break;
    case WM_MBUTTONDOWN: HandleMouseDown(AMessage, mbMiddle, false); break;
    case WM_MBUTTONDBLCLK: HandleMouseDown(AMessage, mbMiddle, true); break;
    case WM_LBUTTONUP: HandleMouseUp(AMessage, mbLeft); break;
    case WM_RBUTTONUP: HandleMouseUp(AMessage, mbRight); break;
    case WM_MBUTTONUP: HandleMouseUp(AMessage, mbMiddle); break;
    case WM_MOUSEMOVE: {
        if (Application)
            Application->HintMouseMessage(this, AMessage);
        TPoint at = LParamToPoint(AMessage.LParam);
        MouseMove(KeysToShiftState(AMessage.WParam), at.X, at.Y);
        break;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        // The form's focused control and its parents have had it; the windows above are not asked again.
        MouseWheelHandler(AMessage);
        return;
    case CM_MOUSEWHEEL:
    case CM_MOUSEHWHEEL:
        HandleWheelNotification(AMessage);
        return;
    case WM_CONTEXTMENU:
        HandleContextMenu(AMessage);
        if (AMessage.Result != 0)
            return;
        break;
    case CM_MOUSEENTER:
        if (OnMouseEnter && !ComponentState().Contains(csDesigning))
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        if (Application)
            Application->HintControlLeft(this);
        if (OnMouseLeave && !ComponentState().Contains(csDesigning))
            OnMouseLeave(this);
        return;
    case CM_HITTEST:
        AMessage.Result = HTCLIENT;
        return;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
        Invalidate();
        return;
    case CM_FONTCHANGED:
        Invalidate();
        AdjustSize();
        return;
    case CM_PARENTFONTCHANGED:
        if (FParentFont && FParent) {
            FControlState.Include(csReadingState);
            FFont.Assign(FParent->Font());
            FControlState.Exclude(csReadingState);
        }
        return;
    case CM_PARENTCOLORCHANGED:
        if (FParentColor && FParent) {
            FColor = FParent->Color();
            Perform(CM_COLORCHANGED, 0, 0);
            FParentColor = true;
        }
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (FParentShowHint && FParent && FShowHint != FParent->ShowHint()) {
            FShowHint = FParent->ShowHint();
            Perform(CM_SHOWHINTCHANGED, 0, 0);
        }
        return;
    case WM_CANCELMODE:
        if (GetCaptureControl() == this)
            SetCaptureControl(nullptr);
        break;
    default: break;
    }
    DefaultHandler(AMessage);
}
