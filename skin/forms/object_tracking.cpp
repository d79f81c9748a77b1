// Finding the skin object under the mouse, routing presses and releases to it, the frame's hit tests, and the
// three timers that follow the mouse and step the objects' animations.
#include "skin/core/rect_helpers.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/skin_form.h"

using namespace win;

void TspCorvalis::TrackActiveObject(Integer X, Integer Y, bool AInFrame)
{
    if (ObjectList.empty() || FSizeMove || PreviewMode) return;
    if (FSupportNCArea && (!GetFormActive() || FForm->BorderStyle() == bsNone)) return;
    if (FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized) return;
    TObjectCall call(this);
    OldActiveObject = ActiveObject;
    Integer found = -1;
    const TPoint p{X, Y};
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TspActiveSkinObject* o = ObjectList[i].get();
        if (!ObjectShownInRollUpState(o->RollUp) || !o->Enabled || !o->Visible) continue;
        if (!PtInRect(o->ObjectRect, p)) continue;
        if (o->PtInMask(X - o->ObjectRect.Left, Y - o->ObjectRect.Top)) {
            found = static_cast<Integer>(i);
            break;
        }
    }
    ActiveObject = found != -1 && AInFrame ? found : -1;
    // While one object holds the mouse, no other lights up.
    if (MouseCaptureObject != -1 && found != MouseCaptureObject) ActiveObject = -1;
    const auto count = static_cast<Integer>(ObjectList.size());
    if (ActiveObject >= count) ActiveObject = -1;
    if (OldActiveObject >= count) OldActiveObject = -1;
    if (OldActiveObject == ActiveObject) return;
    const bool hints = FShowObjectHint && FSkinHint;
    if (OldActiveObject != -1) {
        TspActiveSkinObject* old = ObjectList[static_cast<size_t>(OldActiveObject)].get();
        if (old->Enabled && old->Visible) {
            old->MouseLeave();
            if (hints && !old->Hint.empty()) FSkinHint->HideHint();
        }
    }
    if (ActiveObject != -1 && ActiveObject < static_cast<Integer>(ObjectList.size())) {
        TspActiveSkinObject* now = ObjectList[static_cast<size_t>(ActiveObject)].get();
        if (now->Enabled && now->Visible) {
            now->MouseEnter();
            if (GetFormActive() && hints && !now->Hint.empty()) FSkinHint->ActivateHint2(now->Hint);
        }
    }
}

void TspCorvalis::ObjectsMouseDown(TMouseButton Button, Integer X, Integer Y)
{
    TObjectCall call(this);
    if (FSupportNCArea) {
        TrackActiveObject(X, Y, true);
        if (ActiveObject == -1) return;
        SetCapture(FForm->Handle());
        MouseCaptureObject = ActiveObject;
        ObjectList[static_cast<size_t>(ActiveObject)]->MouseDown(X, Y, Button);
        return;
    }
    FIsDragging = false;
    TrackActiveObject(X, Y, true);
    if (ActiveObject != -1) {
        MouseCaptureObject = ActiveObject;
        ObjectList[static_cast<size_t>(ActiveObject)]->MouseDown(X, Y, Button);
    } else if (Button == mbLeft && FWindowState != wsMaximized && FDraggAble) {
        StartFormDrag(X, Y);
    }
}

void TspCorvalis::ObjectsMouseUp(TMouseButton Button, Integer X, Integer Y)
{
    TObjectCall call(this);
    if (!FSupportNCArea) StopFormDrag();
    if (MouseCaptureObject == -1) return;
    if (FSupportNCArea && GetCapture() == FForm->Handle()) ReleaseCapture();
    const Integer captured = MouseCaptureObject;
    MouseCaptureObject = -1;
    if (captured < static_cast<Integer>(ObjectList.size()))
        ObjectList[static_cast<size_t>(captured)]->MouseUp(X, Y, Button);
}

void TspCorvalis::ObjectsMouseMove(Integer X, Integer Y)
{
    if (!FSupportNCArea && FIsDragging) return;
    TObjectCall call(this);
    const Integer target = MouseCaptureObject != -1 ? MouseCaptureObject : ActiveObject;
    if (target != -1 && target < static_cast<Integer>(ObjectList.size()))
        ObjectList[static_cast<size_t>(target)]->MouseMove(X, Y);
}

void TspCorvalis::ObjectsDblClick()
{
    TObjectCall call(this);
    if (ActiveObject != -1 && ActiveObject < static_cast<Integer>(ObjectList.size()))
        ObjectList[static_cast<size_t>(ActiveObject)]->DblClick();
}

void TspCorvalis::StartFormDrag(Integer X, Integer Y)
{
    FIsDragging = true;
    const TPoint screen = FForm->ClientToScreen({X, Y});
    FOldX = screen.X;
    FOldY = screen.Y;
}

bool TspCorvalis::PointInForm(TPoint P)
{
    return FForm->HandleAllocated() && WindowFromPoint(P) == FForm->Handle();
}

void TspCorvalis::MouseTimerProc(TObject* /*Sender*/)
{
    if (!FSkinSupport && !FSupportNCArea) return;
    TPoint cursor;
    GetCursorPos(cursor);
    if (FSupportNCArea) {
        if (!PointInForm(cursor)) {
            MouseTimer->SetEnabled(false);
            TrackActiveObject(-1, -1, false);
            return;
        }
        if (FSizeMove) {
            MouseTimer->SetEnabled(false);
            return;
        }
        ScreenToFramePoint(cursor);
        if (!PtInRect(FrameClientRect(), cursor))
            TrackActiveObject(cursor.X, cursor.Y, true);
        else if (ActiveObject != -1)
            TrackActiveObject(-1, -1, true);
        return;
    }
    const TPoint client = FForm->ScreenToClient(cursor);
    if (!FIsDragging) {
        if (PointInForm(cursor)) {
            TrackActiveObject(client.X, client.Y, true);
        } else {
            TrackActiveObject(-1, -1, false);
            MouseIn = false;
            MouseTimer->SetEnabled(false);
        }
    }
    if (FUseSkinCursors) UpdateSkinCursor();
}

void TspCorvalis::AnimateTimerProc(TObject* /*Sender*/)
{
    const bool captions = StepCaptionAnimations();
    const bool animations = StepAnimateObjects();
    if (!captions && !animations) AnimateTimer->SetEnabled(false);
}

void TspCorvalis::MorphTimerProc(TObject* /*Sender*/)
{
    TObjectCall call(this);
    bool stepped = false;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TspActiveSkinObject* o = ObjectList[i].get();
        if (o->EnableMorphing() && o->CanMorphing()) {
            o->DoMorphing();
            stepped = true;
        }
    }
    if (!stepped) MorphTimer->SetEnabled(false);
}

void TspCorvalis::UpdateSkinCursor()
{
    if (!FSD) return;
    Integer index = FSD->CursorIndex;
    if (ActiveObject != -1 && ActiveObject < static_cast<Integer>(ObjectList.size()) &&
        ObjectList[static_cast<size_t>(ActiveObject)]->CursorIndex != -1)
        index = ObjectList[static_cast<size_t>(ActiveObject)]->CursorIndex;
    const TCursor cursor = index == -1 ? crDefault : static_cast<TCursor>(FSD->StartCursorIndex + index);
    if (FForm->Cursor() != cursor) FForm->SetCursor(cursor);
}

win::LRESULT TspCorvalis::DefaultNCHitTest(TPoint P)
{
    const Integer w = FForm->Width(), h = FForm->Height();
    const Integer ch = DefaultCaptionHeight();
    auto inner = [&]() -> LRESULT {
        TRect caption;
        GetDefCaptionRect(caption);
        if (PtInRect(caption, P)) return HTCAPTION;
        if (PtInRect(Rect(3, ch + 3, w - 3, h - 3), P)) return HTCLIENT;
        return HTOBJECT;
    };
    if (FWindowState != wsNormal || FRollUpState || !FSizeable) return inner();
    if (ActiveObject != -1) return HTOBJECT;
    const Integer x = P.X, y = P.Y;
    if (x <= 2 && y <= 2) return HTTOPLEFT;
    if (x >= w - 2 && y <= 2) return HTTOPRIGHT;
    if (x <= 2 && y >= h - 2) return HTBOTTOMLEFT;
    if (x >= w - 2 && y >= h - 2) return HTBOTTOMRIGHT;
    if (x <= 2) return HTLEFT;
    if (y <= 2) return HTTOP;
    if (x >= w - 2) return HTRIGHT;
    if (y >= h - 2) return HTBOTTOM;
    return inner();
}

bool TspCorvalis::PtInSkinMask(TPoint P)
{
    if (PtInRect(NewMaskRectArea, P)) return true;
    auto black = [this](TBitmap* APiece, Integer X, Integer Y) {
        if (!APiece || APiece->Empty() || X < 0 || Y < 0 || X >= APiece->Width() || Y >= APiece->Height())
            return false;
        return ColorToRGB(APiece->Canvas()->Pixels(X, Y)) == ColorToRGB(BlackColor);
    };
    if (P.Y <= NewMaskRectArea.Top) return black(RMTop.get(), P.X, P.Y);
    if (P.Y >= NewMaskRectArea.Bottom) return black(RMBottom.get(), P.X, P.Y - NewMaskRectArea.Bottom);
    if (P.X > NewMaskRectArea.Left) return black(RMRight.get(), P.X - NewMaskRectArea.Right, P.Y - NewMaskRectArea.Top);
    return black(RMLeft.get(), P.X, P.Y - NewMaskRectArea.Top);
}

win::LRESULT TspCorvalis::SkinNCHitTest(TPoint P)
{
    // The caption between its buttons, less the quick buttons' strip at its left.
    TRect caption = CaptionHitRect;
    if (FQuickImageList && FQuickButtons->Count() > 0)
        caption.Left += FQuickButtons->Count() * (FQuickImageList->Width() + 8);
    const bool inCaption = PtInRect(caption, P);
    const bool inClient = PtInRect(NewClRect, P);
    if (FRollUpState || FWindowState == wsMinimized) return inCaption ? HTCAPTION : HTOBJECT;
    if (ActiveObject != -1 && !inCaption && !inClient && !FSizeMove) return HTOBJECT;
    auto inner = [&]() -> LRESULT { return inClient ? HTCLIENT : inCaption ? HTCAPTION : HTOBJECT; };
    if (FWindowState == wsMaximized || !FSizeable) return inner();
    const LRESULT zone = EdgeZoneHitTest(P);
    return zone != HTNOWHERE ? zone : inner();
}

win::LRESULT TspCorvalis::EdgeZoneHitTest(TPoint P)
{
    const Integer b = FSD ? FSD->BorderW : 0;
    const Integer w = FForm->Width(), h = FForm->Height();
    const TPoint probes[] = {{P.X - b, P.Y}, {P.X, P.Y - b}, {P.X + b, P.Y}, {P.X, P.Y + b}};
    bool nearEdge = false;
    const bool hasMask = FSD && FSD->FMask && !FSD->FMask->Empty();
    for (const TPoint& q : probes) {
        if (hasMask)
            nearEdge = nearEdge || (!PtInRect(NewMaskRectArea, P) && !PtInSkinMask(q));
        else
            nearEdge = nearEdge || !PtInRect(Rect(0, 0, w, h), q);
    }
    if (!nearEdge) return HTNOWHERE;
    const TPoint lt = NewHitTestLTPoint, rt = NewHitTestRTPoint, lb = NewHitTestLBPoint, rb = NewHitTestRBPoint;
    if (P.X <= lt.X && P.Y <= lt.Y) return HTTOPLEFT;
    if (P.X >= rt.X && P.Y <= rt.Y) return HTTOPRIGHT;
    if (P.X <= lb.X && P.Y >= lb.Y) return HTBOTTOMLEFT;
    if (P.X >= rb.X && P.Y >= rb.Y) return HTBOTTOMRIGHT;
    if (PtInRect(Rect(lt.X, 0, rt.X, NewClRect.Top), P)) return HTTOP;
    if (PtInRect(Rect(lb.X, NewClRect.Bottom, rb.X, h), P)) return HTBOTTOM;
    if (PtInRect(Rect(0, lt.Y, NewClRect.Left, lb.Y), P)) return HTLEFT;
    if (PtInRect(Rect(NewClRect.Right, rt.Y, w, rb.Y), P)) return HTRIGHT;
    return HTNOWHERE;
}

win::LRESULT TspCorvalis::RegionHitTest(TPoint P)
{
    if (!FSizeable || FWindowState == wsMaximized || FRollUpState || ActiveObject != -1 || !FSD || FSD->Empty)
        return HTCLIENT;
    if (!IsEmptyRect(FSizeGripArea) && PtInRect(FSizeGripArea, P)) return HTBOTTOMRIGHT;
    const LRESULT zone = EdgeZoneHitTest(P);
    return zone != HTNOWHERE ? zone : HTCLIENT;
}
