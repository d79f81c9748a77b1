// The skinned form's window procedure: each message is looked up before the form's previous procedure (which
// an entry may replace), then the previous procedure runs, then the message is looked up again after it.
#include "platform/gui/application.h"
#include "platform/gui/screen.h"
#include "skin/core/layer_window.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/layered_border.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {

constexpr UINT_PTR kShowEffectTimer = 1;
// Steps of the fade are more than 5 ms apart.
constexpr UINT kFadeStepMs = 6;

}  // namespace

bool TspCorvalis::CallPrevious(TMessage& Message)
{
    if (!OldWindowProc) return true;
    const std::shared_ptr<bool> alive = FAlive;
    // A copy: the form may give its procedure back (or go) while this one runs.
    const TWndMethod previous = OldWindowProc;
    previous(Message);
    return *alive;
}

void TspCorvalis::FormWndProc(TMessage& Message)
{
    if (Message.Msg == SKM_RELEASE_OBJECTS) {
        ReleaseRetiredObjects();
        return;
    }
    if (BeforePrevious(Message)) return;
    if (!CallPrevious(Message)) return;
    AfterPrevious(Message);
    LayerBorderAfter(Message);
}

void TspCorvalis::ScreenToFramePoint(TPoint& P)
{
    if (FForm->FormStyle() == fsMDIChild) {
        P = FForm->ScreenToClient(P);
        if (FSkinSupport) {
            P.X += NewClRect.Left;
            P.Y += NewClRect.Top;
        } else {
            P.X += 3;
            P.Y += 3 + DefaultCaptionHeight();
        }
        return;
    }
    TRect window;
    if (FForm->HandleAllocated() && GetWindowRect(FForm->Handle(), window)) {
        P.X -= window.Left;
        P.Y -= window.Top;
    } else {
        P.X -= FForm->Left();
        P.Y -= FForm->Top();
    }
}

bool TspCorvalis::FrameWithBorder()
{
    const bool maximizedChild = FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized;
    return FForm->BorderStyle() != bsNone && !maximizedChild;
}

void TspCorvalis::FrameRepaint()
{
    if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

bool TspCorvalis::BeforePrevious(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_DESTROY:
        MouseTimer->SetEnabled(false);
        MorphTimer->SetEnabled(false);
        AnimateTimer->SetEnabled(false);
        if (FForm->FormStyle() == fsMDIChild) {
            // The main form hears of every child that goes, maximized or not.
            FWindowState = wsNormal;
            TCustomForm* main = Application ? Application->MainForm() : nullptr;
            if (main && main != FForm && main->HandleAllocated())
                SendMessage(main->Handle(), SKM_MDICHILD_RESTORED, 0, 0);
            DeleteChildFromBar(FForm);
            UpdateMainFormMenuBar();
            UpdateMDITabsBar();
        }
        return false;
    case WM_MOUSEACTIVATE:
        if (FSkinnableForm && FForm->FormStyle() == fsMDIChild && !FFormActive && Application &&
            Application->MainForm() && Application->MainForm()->ActiveMDIChild() == FForm) {
            FFormActive = true;
            UpdateCaptionActivity(FWindowState != wsMaximized);
        }
        return false;
    case WM_SIZING:
        if (!FSizeMove || !FFullDrag) return false;
        FSizing = true;
        if (!CallPrevious(Message)) return true;
        if (const auto* r = reinterpret_cast<const TRect*>(Message.LParam)) {
            FFormWidth = std::max(r->Width(), GetMinWidth());
            FFormHeight = std::max(r->Height(), GetMinHeight());
        }
        if (FSupportNCArea && FSkinnableForm && FSD && !FSD->Empty) ApplySkinSize(true);
        return true;
    case WM_MOVING:
        // A maximized form stays where it is.
        if (FSkinnableForm && FWindowState == wsMaximized && FForm->FormStyle() != fsMDIChild)
            if (auto* r = reinterpret_cast<TRect*>(Message.LParam)) *r = FForm->BoundsRect();
        if (FMagnetic && FWindowState != wsMaximized)
            if (auto* r = reinterpret_cast<TRect*>(Message.LParam)) {
                const Integer w = r->Width(), h = r->Height();
                Integer left = r->Left, top = r->Top;
                DoMagnetic(left, top, w, h);
                *r = Bounds(left, top, w, h);
            }
        return false;
    case WM_SIZE: {
        if (!CallPrevious(Message)) return true;
        // A new size starts the edge snapping afresh.
        HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
        // The form's own size fields follow the window only after this message: the window has the new size.
        TRect window;
        if (GetWindowRect(FForm->Handle(), window)) {
            FFormWidth = window.Width();
            FFormHeight = window.Height();
        } else {
            FFormWidth = FForm->Width();
            FFormHeight = FForm->Height();
        }
        if (!FSkinSupport) {
            if (FSupportNCArea) FrameRepaint();
        } else if (FSupportNCArea && FSD && FSkinnableForm && FFormWidth >= GetMinWidth() &&
                   FFormHeight >= GetMinHeight()) {
            ApplySkinSize(true);
        }
        if (FSupportNCArea && !FLogoBitMap.Empty() && FForm->FormStyle() != fsMDIForm) FForm->Invalidate();
        return true;
    }
    case WM_ACTIVATE:
        if (!FSkinnableForm) return false;
        FIsDragging = false;
        if (!CallPrevious(Message)) return true;
        if (FSupportNCArea) {
            TrackActiveObject(-1, -1, true);
            ResetObjectStates();
            FrameRepaint();
        }
        UpdateCaptionActivity(true);
        if (!FSupportNCArea) FForm->Invalidate();
        if (FForm->FormStyle() == fsMDIForm) UpdateMainFormMenuBar();
        return true;
    case WM_SETTEXT:
        if (!FSkinnableForm) return false;
        if (!CallPrevious(Message)) return true;
        if (FrameWithBorder()) FrameRepaint();
        if (FForm->FormStyle() == fsMDIChild) {
            if (TspFormMenus* menus = FormMenusOf(this)) menus->UpDateChildCaptionInMenu(FForm);
            RefreshMDIBarTab(FForm);
        }
        return true;
    case WM_ERASEBKGND:
        if (FForm->FormStyle() == fsMDIForm && !FClientInActiveDraw) {
            Message.Result = 0;
            return true;
        }
        PaintClientBackground(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 0;
        return true;
    case WM_SHOWWINDOW:
        ShowWindowBefore(Message);
        return false;
    case WM_TIMER:
        if (Message.WParam == kShowEffectTimer) ShowEffectTimer();
        return false;
    case WM_SETCURSOR:
        if (FSupportNCArea && FUseFormCursorInNCArea && FSkinnableForm) {
            const LRESULT hit = LOWORD(Message.LParam);
            const bool keep = hit == HTCLIENT || (hit >= HTLEFT && hit <= HTBOTTOMRIGHT);
            if (!keep)
                Message.LParam = static_cast<LPARAM>((static_cast<uintptr_t>(Message.LParam) & ~uintptr_t{0xFFFF}) |
                                                     static_cast<uintptr_t>(HTCLIENT));
        }
        return false;
    case WM_GETMINMAXINFO:
        if (!FSkinnableForm) return false;
        FrameMinMaxInfo(Message);
        return true;
    case WM_NCCALCSIZE:
        if (!FSkinnableForm) return false;
        NCCalcSize(Message);
        return true;
    case WM_NCHITTEST:
        if (!FSkinnableForm && FSupportNCArea) return false;
        if (!FSupportNCArea && !FSkinSupport) return false;
        NCHitTest(Message);
        return true;
    case WM_NCPAINT:
        if (!FSkinnableForm) return false;
        if (FSupportNCArea && FrameWithBorder() && !FullLayeredBorder()) NCPaint(nullptr, false);
        Message.Result = FullLayeredBorder() ? 1 : 0;
        return true;
    case WM_NCACTIVATE:
        if (!FSkinnableForm) return false;
        NCActivate(Message);
        return true;
    case WM_SYNCPAINT:
        if (FSkinnableForm && FRollUpState && FSupportNCArea) {
            FrameRepaint();
            Message.Result = 0;
            return true;
        }
        return false;
    case WM_SYSCOMMAND: {
        const WPARAM command = Message.WParam & 0xFFF0;
        if (command == SC_RESTORE && OnRestore) OnRestore(this);
        // The platform's own keyboard menu never opens on a skinned form.
        if (command == SC_KEYMENU) {
            Message.Result = 0;
            return true;
        }
        return false;
    }
    case WM_ENTERSIZEMOVE:
        GetCursorPos(FOnMouseDownCoord);
        if (FSkinnableForm && FSupportNCArea) {
            ResetObjectStates();
            MouseTimer->SetEnabled(false);
            ActiveObject = -1;
            MouseCaptureObject = -1;
            FSizeMove = true;
            FFullDrag = true;
        }
        return false;
    case WM_EXITSIZEMOVE:
        if (FSkinnableForm && FSupportNCArea) {
            if (FSizing && (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
                FFormWidth = FForm->Width();
                FFormHeight = FForm->Height();
                ApplySkinSize(true);
            }
            MouseTimer->SetEnabled(false);
            ActiveObject = -1;
            OldActiveObject = -1;
            MouseCaptureObject = -1;
            FSizeMove = false;
            FSizing = false;
            if (FSD && !FSD->Empty) FrameRepaint();
        }
        return false;
    default:
        return SkinMessage(Message);
    }
}

bool TspCorvalis::SkinMessage(TMessage& Message)
{
    auto* skin = reinterpret_cast<TspSkinData*>(Message.WParam);
    switch (Message.Msg) {
    case SKM_BEFORECHANGE:
        if (skin != FSD || !FSD) return false;
        RememberOuterBounds();
        FStopPainting = true;
        FSkinSupport = false;
        MouseTimer->SetEnabled(false);
        MorphTimer->SetEnabled(false);
        AnimateTimer->SetEnabled(false);
        ClearObjects();
        BeforeChangeControlsSkinData(skin, FForm);
        return false;
    case SKM_CHANGE:
        FStopPainting = false;
        if (skin && skin == FSD) ChangeSkinData();
        ChangeControlsSkinData(skin, FForm);
        return false;
    case SKM_RESSTRINGS_CHANGED: UpdateObjectHints(); return false;
    case SKM_SKINNABLEFORM_CHANGED:
        if (!FUseRibbon && skin && skin == FSD && FForm->FormStyle() != fsMDIChild)
            SetSkinnableForm(skin->SkinnableForm());
        return false;
    case SKM_TRAY_RESTORED:
        if (FForm->Tag() == -10000) FForm->SetTag(0);
        return false;
    case SKM_SMARTEFFECTS_ARM: FSmartEffectsShow = true; return false;
    case SKM_SMARTEFFECTS_SHOW: FSmartEffectsShow = false; return false;
    case SKM_QUERY_SKINNABLE:
        Message.Result = !FSkinnableForm && FIsVistaOS ? SKA_NOT_SKINNABLE : SKA_SKINNABLE;
        return true;
    case SKM_PAINT_NCAREA_EX:
        if (Message.LParam != SKA_NCAREA_EX_KEY || !FSkinnableForm) return false;
        if (Message.WParam && FSupportNCArea && FrameWithBorder()) NCPaint(reinterpret_cast<HDC>(Message.WParam), true);
        Message.Result = SKA_NCAREA_EX_KEY;
        return true;
    case SKM_PAINT_NCAREA:
        if (!FSkinnableForm) return false;
        if (Message.WParam && FSupportNCArea && FrameWithBorder()) NCPaint(reinterpret_cast<HDC>(Message.WParam), true);
        Message.Result = SKA_NCAREA_PAINTED;
        return true;
    default: return MDIMessage(Message);
    }
}

void TspCorvalis::NCPaint(HDC ADC, bool AUseExternalDC)
{
    if (FSkinSupport)
        PaintNCSkin(ADC, AUseExternalDC);
    else if (!FStopPainting)
        PaintNCDefault(ADC, AUseExternalDC);
}

void TspCorvalis::NCCalcSize(TMessage& Message)
{
    TRect& r = Message.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                              : *reinterpret_cast<TRect*>(Message.LParam);
    Message.Result = 0;
    // Region mode, a borderless form and a maximized MDI child keep no frame at all.
    if (!FSupportNCArea || !FrameWithBorder()) return;
    // The full layered border is the frame: the window is all client.
    if (FullLayeredBorder()) {
        Message.Result = 1;
        return;
    }
    if (HasSkinFrame()) {
        CalcNewSkinGeometry();
        TBitmap* picture = FSD->FPicture.get();
        r.Left += FSD->ClRect.Left;
        r.Top += FSD->ClRect.Top;
        r.Right -= picture->Width() - FSD->ClRect.Right;
        r.Bottom -= picture->Height() - FSD->ClRect.Bottom;
    } else {
        r.Left += 3;
        r.Top += DefaultCaptionHeight() + 3;
        r.Right -= 3;
        r.Bottom -= 3;
    }
    if (r.Right < r.Left) r.Right = r.Left;
    if (r.Bottom < r.Top) r.Bottom = r.Top;
}

void TspCorvalis::NCHitTest(TMessage& Message)
{
    // The full layered border sizes and moves the form; the window itself is all client.
    if (FullLayeredBorder() && FLayerBorder->Visible()) {
        Message.Result = HTCLIENT;
        return;
    }
    TPoint p = LParamToPoint(Message.LParam);
    if (FSupportNCArea) {
        ScreenToFramePoint(p);
        Message.Result = FSkinSupport ? SkinNCHitTest(p) : DefaultNCHitTest(p);
        if (Message.Result == HTOBJECT && !MouseTimer->Enabled()) {
            TrackActiveObject(p.X, p.Y, true);
            MouseTimer->SetEnabled(true);
        }
        return;
    }
    p = FForm->ScreenToClient(p);
    if (!MouseIn) {
        MouseIn = true;
        TrackActiveObject(p.X, p.Y, true);
        MouseTimer->SetEnabled(true);
    }
    Message.Result = RegionHitTest(p);
}

void TspCorvalis::NCActivate(TMessage& Message)
{
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    FBorderLayerChangeSize = false;
    FFormActive = Message.WParam != 0;
    if (!FFormActive) TrackActiveObject(-1, -1, true);
    if (FForm->FormStyle() == fsMDIChild || (FForm->FormStyle() == fsMDIForm && !FIsVistaOS)) {
        if (!CallPrevious(Message)) return;
    } else {
        // Answered here, so the platform never draws a caption of its own.
        Message.Result = 1;
    }
    if (!FrameWithBorder()) {
        UpdateCaptionActivity(false);
    } else {
        FrameRepaint();
        UpdateCaptionActivity(true);
    }
    if (FClientInActiveEffect && FForm->Visible()) {
        if (FFormActive)
            HideClientInActiveEffect();
        else
            ShowClientInActiveEffect();
    }
    if (FForm->FormStyle() == fsMDIChild) {
        UpdateMainFormMenuBar();
        UpdateMDITabsBar();
        if (TspFormMenus* menus = FormMenusOf(this)) menus->UpDateChildActiveInMenu();
    }
    if (UseLayeredBorder()) {
        if (FForm->Visible())
            FLayerBorder->SetActive(FFormActive, true);
        else if (FForm->Tag() != -10000)
            FLayerBorder->Hide();
    }
}

void TspCorvalis::FrameMinMaxInfo(TMessage& Message)
{
    // The platform fills in its own limits first; ours replace them.
    if (!CallPrevious(Message)) return;
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    info->ptMinTrackSize = {GetMinWidth(), GetMinHeight()};
    info->ptMaxTrackSize = {GetMaxWidth(), GetMaxHeight()};
    Message.Result = 0;
}

void TspCorvalis::ShowWindowBefore(TMessage& Message)
{
    MDIChildShown(Message.WParam != 0);
    if (Message.WParam == 0) {
        if (FLayerManager->IsVisible) FLayerManager->Hide();
        if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
        return;
    }
    if (FStartShow) {
        if (FPositionInMonitor == sppDefault) {
            FStartShow = false;
        } else if (FWindowState == wsNormal) {
            FStartShow = false;
            ApplyPositionInMonitor();
        }
    }
    if (FSD && FSD->AnimationForAllWindows && FAlphaBlendValue == 0) FAlphaBlendValue = 255;
    if (ShowEffectApplies()) StartShowEffect();
    // The skinned menu bar shows the menu instead of the platform's bar in the frame.
    if (FSkinnableForm && FForm->Menu()) FForm->SetMenu(nullptr);
}

void TspCorvalis::AfterPrevious(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
        if (FSupportNCArea && FSkinnableForm) NCMouseAfter(Message);
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK: ClientMouseAfter(Message); break;
    default: break;
    }
}

void TspCorvalis::NCMouseAfter(TMessage& Message)
{
    TPoint p = LParamToPoint(Message.LParam);
    ScreenToFramePoint(p);
    const bool onCaption = static_cast<LRESULT>(Message.WParam) == HTCAPTION;
    switch (Message.Msg) {
    case WM_NCMOUSEMOVE: ObjectsMouseMove(p.X, p.Y); break;
    case WM_NCLBUTTONDOWN:
        if (FSizeMove) {
            FSizeMove = false;
            break;
        }
        TrackActiveObject(p.X, p.Y, true);
        ObjectsMouseDown(mbLeft, p.X, p.Y);
        if (onCaption) MouseCaptureObject = -1;
        break;
    case WM_NCLBUTTONUP:
        try {
            ObjectsMouseUp(mbLeft, p.X, p.Y);
        } catch (const std::exception&) {
            // An object's failure ends with the message; the form goes on.
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        TrackActiveObject(p.X, p.Y, true);
        ObjectsMouseDown(mbLeft, p.X, p.Y);
        ObjectsDblClick();
        if (onCaption) {
            MouseCaptureObject = -1;
            CaptionDoubleClick();
        }
        break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
        TrackActiveObject(p.X, p.Y, true);
        ObjectsMouseDown(mbRight, p.X, p.Y);
        // The form's menus, in front of this procedure, open the system menu on the caption.
        if (onCaption) MouseCaptureObject = -1;
        break;
    case WM_NCRBUTTONUP: ObjectsMouseUp(mbRight, p.X, p.Y); break;
    default: break;
    }
}

void TspCorvalis::CaptionDoubleClick()
{
    if (FSizeable && FWindowState == wsMinimized)
        SetWindowState(wsNormal);
    else if (FSizeable && FWindowState != wsMaximized && !FRollUpState &&
             FBorderIcons.Contains(TspBorderIcon::biMaximize))
        SetWindowState(wsMaximized);
    else if (FSizeable && FWindowState == wsMaximized && !FRollUpState)
        SetWindowState(wsNormal);
    else
        SetRollUpState(!FRollUpState);
}

void TspCorvalis::ClientMouseAfter(TMessage& Message)
{
    const TPoint client{static_cast<Integer>(LOWORD(Message.LParam)), static_cast<Integer>(HIWORD(Message.LParam))};
    const TMouseButton button =
        Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONUP || Message.Msg == WM_LBUTTONDBLCLK ? mbLeft
                                                                                                         : mbRight;
    if (FSupportNCArea) {
        // Frame objects live in the frame: the client area only brings the release of a captured object. The
        // release point is tracked first, so a button released away from itself runs nothing even when the
        // mouse timer has not yet seen the pointer leave.
        if (Message.Msg != WM_LBUTTONUP && Message.Msg != WM_RBUTTONUP) return;
        if (MouseCaptureObject != -1) {
            TPoint p;
            GetCursorPos(p);
            ScreenToFramePoint(p);
            if (PtInRect(FrameClientRect(), p))
                TrackActiveObject(-1, -1, true);
            else
                TrackActiveObject(p.X, p.Y, true);
        }
        ObjectsMouseUp(button, -1, -1);
        return;
    }
    switch (Message.Msg) {
    case WM_MOUSEMOVE: {
        ObjectsMouseMove(client.X, client.Y);
        if (FIsDragging) {
            TPoint cursor;
            GetCursorPos(cursor);
            if (cursor.X != FOldX || cursor.Y != FOldY) {
                FForm->SetBounds(FForm->Left() + cursor.X - FOldX, FForm->Top() + cursor.Y - FOldY, FForm->Width(),
                                 FForm->Height());
                FOldX = cursor.X;
                FOldY = cursor.Y;
            }
        }
        break;
    }
    case WM_LBUTTONDOWN:
        GetCursorPos(FOnMouseDownCoord);
        ObjectsMouseDown(mbLeft, client.X, client.Y);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: ObjectsMouseDown(mbRight, client.X, client.Y); break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: ObjectsMouseUp(button, client.X, client.Y); break;
    case WM_LBUTTONDBLCLK:
        ObjectsMouseDown(mbLeft, client.X, client.Y);
        ObjectsDblClick();
        break;
    default: break;
    }
}

bool TspCorvalis::ShowEffectApplies()
{
    return FIsLayerEnabled && (FAlphaBlend || FAlphaBlendAnimation || (FSD && FSD->AnimationForAllWindows));
}

void TspCorvalis::StartShowEffect()
{
    HWND handle = FForm->Handle();
    const LONG_PTR ex = GetWindowLong(handle, GWL_EXSTYLE);
    if (!(ex & WS_EX_LAYERED)) SetWindowLong(handle, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetWindowAlpha(handle, 0);
    FFading = false;
    SetTimer(handle, kShowEffectTimer, 1);
}

// The fade climbs from timer steps instead of a waiting loop, so the message loop (and a test's clock) keeps
// running while the form appears; the steps and their spacing are those of the loop.
void TspCorvalis::ShowEffectTimer()
{
    HWND handle = FForm->Handle();
    KillTimer(handle, kShowEffectTimer);
    const bool animated = FAlphaBlendAnimation || (FSD && FSD->AnimationForAllWindows);
    if (!FFading) {
        FFadeTarget = animated && !FAlphaBlend ? 255 : FAlphaBlendValue;
        FFadeAlpha = 0;
        FFadeStep = std::max(1, FFadeTarget / 15);
        if (!animated) {
            if (FFadeTarget != 255) SetWindowAlpha(handle, static_cast<Byte>(FFadeTarget));
            FFadeAlpha = FFadeTarget;
        }
    }
    if (animated && FFadeAlpha < FFadeTarget) {
        FFadeAlpha = std::min(FFadeAlpha + FFadeStep, FFadeTarget);
        SetWindowAlpha(handle, static_cast<Byte>(FFadeAlpha));
    }
    FFading = FFadeAlpha < FFadeTarget;
    if (FFading) {
        SetTimer(handle, kShowEffectTimer, kFadeStepMs);
        return;
    }
    if (FFadeTarget == 255) {
        const LONG_PTR ex = GetWindowLong(handle, GWL_EXSTYLE);
        if (ex & WS_EX_LAYERED) SetWindowLong(handle, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    }
}
