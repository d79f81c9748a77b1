// A side window of the layered border: its hit zones, sizing and moving the form by mouse, and the full
// border's caption and caption buttons under the mouse.
#include "platform/gui/application.h"
#include "platform/win/win.h"
#include "skin/core/rect_helpers.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/caption_object.h"
#include "skin/forms/layered_border.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"

using namespace win;

TspFormLayerWindow::TspFormLayerWindow(TspFormLayerBorder* AOwner, TspFormLayerBorderType AType)
    : TCustomControl(AOwner), BorderType(AType), FLayerBorder(AOwner)
{
    SetVisible(false);
}

void TspFormLayerWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_LAYERED;
    TspDataSkinLayerFrame* data = FLayerBorder->Data();
    // A shadow only lets the mouse through to the windows beneath.
    if (data && IsEmptyRect(data->BorderRect)) Params.ExStyle |= WS_EX_TRANSPARENT;
    TCustomForm* form = FLayerBorder->CVL->Form();
    if (form && form->FormStyle() == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
}

bool TspFormLayerWindow::CanSizeForm()
{
    TspCorvalis* f = FLayerBorder->CVL;
    return f->IsSizeAble() && !f->RollUpState() && f->WindowState() == wsNormal;
}

TspFormLayerBorderHit TspFormLayerWindow::GetBorderHit(Integer X, Integer Y, TPoint P)
{
    TspFormLayerBorder* b = FLayerBorder;
    TspDataSkinLayerFrame* d = b->Data();
    TCustomForm* form = b->CVL->Form();
    if (!d || !form) return spflhNone;
    const Integer FL = form->Left(), FT = form->Top(), FW = form->Width(), FH = form->Height();
    TRect cr = d->CaptionRect;
    cr.Right += FW - WidthOfRect(d->ClRect);
    cr.Top = d->BorderRect.Top + d->HitTestSize;
    cr = Rect(cr.Left + Left(), cr.Top + Top(), cr.Right + Left(), cr.Bottom + Top());
    if (BorderType == spflTop && d->FullBorder)
        b->TrackBorderObject(X, Y);
    else if (!d->FullBorder)
        b->ActiveObject = -1;
    if (b->ActiveObject != -1 && b->ActiveObject < b->CVL->ObjectCount())
        return dynamic_cast<TspSkinCaptionObject*>(b->CVL->Objects(b->ActiveObject)) ? spflCaption : spflObject;
    if (!CanSizeForm()) return spflhNone;
    const Integer windowTop = Top(), windowBottom = Top() + Height();
    switch (BorderType) {
    case spflLeft: return P.X >= FL - b->LeftSize ? spflhLeft : spflhNone;
    case spflRight: return P.X <= FL + FW + b->RightSize ? spflhRight : spflhNone;
    case spflTop: {
        const Integer top = FT - b->TopSize;
        const TRect tl = Rect(FL - b->LeftSize, top, FL - b->LeftSize + b->HitTopLeftX, top + b->HitTopLeftY);
        const TRect tr = Rect(FL + FW + b->RightSize - b->HitTopRightX, top, FL + FW + b->RightSize,
                              top + b->HitTopRightY);
        const TRect t = Rect(tl.Right, tl.Top, tr.Left, tl.Top + d->HitTestSize);
        const TRect l = Rect(tl.Left, tl.Bottom, tl.Left + d->HitTestSize, windowBottom);
        const TRect r = Rect(tr.Left, tr.Bottom, tr.Right, windowBottom);
        if (PtInRect(tl, P) && !PtInRect(cr, P)) return spflhTopLeft;
        if (PtInRect(t, P)) return spflhTop;
        if (PtInRect(tr, P) && !PtInRect(cr, P)) return spflhTopRight;
        if (PtInRect(l, P) && !PtInRect(cr, P)) return spflhLeft;
        if (PtInRect(r, P) && !PtInRect(cr, P)) return spflhRight;
        return spflhNone;
    }
    case spflBottom: {
        const Integer b0 = FT + FH + b->BottomSize;
        const TRect bl = Rect(FL - b->LeftSize, b0 - b->HitBottomLeftY, FL - b->LeftSize + b->HitBottomLeftX, b0);
        const TRect br = Rect(FL + FW + b->RightSize - b->HitBottomRightX, b0 - b->HitBottomRightY,
                              FL + FW + b->RightSize, b0);
        const TRect bottom = Rect(bl.Right, bl.Top, br.Left, b0);
        const TRect l = Rect(bl.Left, windowTop, FL, bl.Top);
        const TRect r = Rect(FL + FW, windowTop, FL + FW + b->RightSize, br.Top);
        if (PtInRect(bl, P)) return spflhBottomLeft;
        if (PtInRect(bottom, P)) return spflhBottom;
        if (PtInRect(br, P)) return spflhBottomRight;
        if (PtInRect(l, P)) return spflhLeft;
        if (PtInRect(r, P)) return spflhRight;
        return spflhNone;
    }
    }
    return spflhNone;
}

void TspFormLayerWindow::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        // The layered image is the window's whole look: nothing paints over it.
        Message.Result = 1;
        return;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(Handle(), paint);
        EndPaint(Handle(), paint);
        Message.Result = 0;
        return;
    }
    case WM_MOUSEACTIVATE: {
        // The border never takes the activation: the form does.
        Message.Result = MA_NOACTIVATE;
        TspDataSkinLayerFrame* d = FLayerBorder->Data();
        TCustomForm* form = FLayerBorder->CVL->Form();
        if (d && d->HitTestEnable && form) {
            if (!form->Active()) {
                form->Show();
                form->BringToFront();
            }
            TPoint p;
            GetCursorPos(p);
            const TPoint local = ScreenToClient(p);
            FHitMode = GetBorderHit(local.X, local.Y, p);
        }
        return;
    }
    case WM_LBUTTONDBLCLK: {
        const TPoint p = LParamToPoint(Message.LParam);
        DoubleClick(p.X, p.Y);
        break;
    }
    case CM_MOUSEENTER:
        if (FLayerBorder->FullBorder()) FLayerBorder->MouseTimer->SetEnabled(true);
        break;
    case CM_MOUSELEAVE:
        if (FLayerBorder->FullBorder()) {
            FLayerBorder->MouseTimer->SetEnabled(false);
            FLayerBorder->MouseCaptureObject = -1;
            FLayerBorder->TrackBorderObject(-1, -1);
        }
        break;
    default: break;
    }
    TCustomControl::WndProc(Message);
}

void TspFormLayerWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TspCorvalis* f = FLayerBorder->CVL;
    if (TspFormMenus* menus = FormMenusOf(f); menus && menus->SkinMenu && menus->SkinMenu->FVisible)
        menus->SkinMenu->Hide();
    TPoint p;
    GetCursorPos(p);
    const TspFormLayerBorderHit hit = GetBorderHit(X, Y, p);
    TspDataSkinLayerFrame* d = FLayerBorder->Data();
    if (d && d->HitTestEnable && (CanSizeForm() || hit == spflCaption || hit == spflObject)) {
        FHitMode = hit;
        FInProcessMessages = false;
        FDown = hit != spflObject && hit != spflhNone && f->WindowState() != wsMaximized && Button == mbLeft;
        MousePos1 = MousePos2 = p;
        const Integer active = FLayerBorder->ActiveObject;
        if (d->FullBorder && active != -1 && active < f->ObjectCount()) {
            TspActiveSkinObject* o = f->Objects(active);
            o->MouseDown(X, Y, Button);
            if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(o); caption && caption->ActiveQuickButton != -1)
                FDown = false;
            FLayerBorder->MouseCaptureObject = active;
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspFormLayerWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TspCorvalis* f = FLayerBorder->CVL;
    f->FBorderLayerChangeSize = false;
    FDown = false;
    FInProcessMessages = false;
    MousePos1 = MousePos2 = TPoint{0, 0};
    TspDataSkinLayerFrame* d = FLayerBorder->Data();
    const Integer captured = FLayerBorder->MouseCaptureObject, active = FLayerBorder->ActiveObject;
    if (d && d->FullBorder) {
        if (captured != -1 && captured != active && captured < f->ObjectCount())
            f->Objects(captured)->MouseUp(X, Y, Button);
        FLayerBorder->MouseCaptureObject = -1;
    }
    if (d && d->HitTestEnable && (CanSizeForm() || FHitMode == spflCaption || FHitMode == spflObject) &&
        d->FullBorder && active != -1 && active < f->ObjectCount())
        f->Objects(active)->MouseUp(X, Y, Button);
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspFormLayerWindow::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FInProcessMessages) {
        FInProcessMessages = false;
        return;
    }
    TspDataSkinLayerFrame* d = FLayerBorder->Data();
    if (!d || !d->HitTestEnable) return;
    TspCorvalis* f = FLayerBorder->CVL;
    GetCursorPos(MousePos2);
    if (!FDown) {
        f->FBorderLayerChangeSize = false;
        FHitMode = GetBorderHit(X, Y, MousePos2);
        switch (FHitMode) {
        case spflhLeft:
        case spflhRight: SetCursor(crSizeWE); break;
        case spflhTop:
        case spflhBottom: SetCursor(crSizeNS); break;
        case spflhTopLeft:
        case spflhBottomRight: SetCursor(crSizeNWSE); break;
        case spflhTopRight:
        case spflhBottomLeft: SetCursor(crSizeNESW); break;
        default: SetCursor(crDefault); break;
        }
        const Integer active = FLayerBorder->ActiveObject;
        if (d->FullBorder && active != -1 && active < f->ObjectCount()) f->Objects(active)->MouseMove(X, Y);
    } else {
        DragStep();
    }
    MousePos1 = MousePos2;
}

void TspFormLayerWindow::DragStep()
{
    TspCorvalis* f = FLayerBorder->CVL;
    TCustomForm* form = f->Form();
    const Integer dx = MousePos2.X - MousePos1.X, dy = MousePos2.Y - MousePos1.Y;
    const TRect bounds = Bounds(form->Left(), form->Top(), form->Width(), form->Height());
    if (FHitMode == spflCaption) {
        Integer nl = bounds.Left + dx, nt = bounds.Top + dy;
        if (f->Magnetic() && (dx != 0 || dy != 0)) {
            const Integer pl = nl, pt = nt;
            const Integer h = FLayerBorder->RolledUpFullBorder() ? FLayerBorder->Data()->RollUpFormHeight
                                                                   : form->Height();
            f->DoMagnetic(nl, nt, form->Width(), h);
            // A snap holds the form until the mouse pulls it further than the snapped place.
            if (nl != pl && !((dx > 0 && nl > pl) || (dx < 0 && nl < pl))) nl = bounds.Left;
            if (nt != pt && !((dy > 0 && nt > pt) || (dy < 0 && nt < pt))) nt = bounds.Top;
        }
        FInProcessMessages = true;
        form->SetBounds(nl, nt, form->Width(), form->Height());
        FLayerBorder->MoveWithForm();
        Application->ProcessMessages();
        FInProcessMessages = false;
        return;
    }
    f->FBorderLayerChangeSize = true;
    TRect next;
    if (!LayerBorderDragBounds(FHitMode, bounds, dx, dy, f->GetMinWidth(), f->GetMaxWidth(), f->GetMinHeight(),
                               f->GetMaxHeight(), next))
        return;
    FInProcessMessages = true;
    form->SetBounds(next.Left, next.Top, WidthOfRect(next), HeightOfRect(next));
    const bool topEdge = FHitMode == spflhTop || FHitMode == spflhTopLeft || FHitMode == spflhTopRight;
    if (topEdge && HeightOfRect(next) == HeightOfRect(bounds)) FLayerBorder->MoveWithForm();
    Application->ProcessMessages();
    FInProcessMessages = false;
}

void TspFormLayerWindow::DoubleClick(Integer X, Integer Y)
{
    if (!FLayerBorder->FullBorder()) return;
    TspCorvalis* f = FLayerBorder->CVL;
    TPoint p;
    GetCursorPos(p);
    TspFormLayerBorderHit hit = GetBorderHit(X, Y, p);
    const Integer active = FLayerBorder->ActiveObject;
    TspActiveSkinObject* object = active != -1 && active < f->ObjectCount() ? f->Objects(active) : nullptr;
    if (hit == spflCaption)
        if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(object); caption && caption->ActiveQuickButton != -1)
            hit = spflObject;
    MousePos1 = MousePos2;
    if (hit == spflObject) {
        if (auto* button = dynamic_cast<TspSkinStdButtonObject*>(object); button && button->Command == cmSysMenu)
            f->Form()->Close();
    } else if (hit == spflCaption) {
        const bool sizeable = f->Sizeable();
        if (sizeable && f->WindowState() == wsMinimized) {
            f->SetWindowState(wsNormal);
        } else if (sizeable && f->WindowState() != wsMaximized && !f->RollUpState() &&
                   f->BorderIcons().Contains(TspBorderIcon::biMaximize)) {
            f->SetWindowState(wsMaximized);
            FDown = false;
        } else if (!sizeable || f->WindowState() != wsMaximized) {
            f->SetRollUpState(!f->RollUpState());
        } else {
            f->SetWindowState(wsNormal);
            FDown = false;
        }
    }
    FLayerBorder->MouseCaptureObject = -1;
}
