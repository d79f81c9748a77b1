// The skinned form's own window states: a frame drawn from a skin has no platform caption, so the component
// minimizes, maximizes and restores the form itself and keeps the state. Also the roll-up, the snapping of a
// moved form to the work area's edges, and the drop shadow switch.
#include "platform/gui/application.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/controls/status_bar.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"

using namespace win;

void TspCorvalis::SetStatusBar(TspSkinStatusBar* Value)
{
    if (FStatusBar == Value) return;
    if (FStatusBar) FStatusBar->RemoveFreeNotification(this);
    FStatusBar = Value;
    if (FStatusBar) FStatusBar->FreeNotification(this);
}

void TspCorvalis::SetWindowState(TWindowState Value)
{
    if (FWindowState == Value) return;
    const TWindowState old = FWindowState;
    const bool isMain = Application && Application->MainForm() == FForm;
    // The main form minimizes the whole application, and a platform minimize leaves the state alone.
    if (!(Value == wsMinimized && (isMain || FMinimizeDefault))) FWindowState = Value;
    switch (Value) {
    case wsNormal:
        if (old == wsMaximized && FRollUpState && !FRollUpBeforeMaximize) SetRollUpState(false);
        FRollUpBeforeMaximize = false;
        RestoreForm();
        break;
    case wsMinimized: MinimizeForm(); break;
    case wsMaximized:
        FRollUpBeforeMaximize = FRollUpState;
        MaximizeForm();
        break;
    }
}

void TspCorvalis::MinimizeForm()
{
    const bool isMain = Application && Application->MainForm() == FForm;
    if (isMain || !FSupportNCArea) {
        if (Application) Application->Minimize();
    } else if (FMinimizeDefault) {
        FForm->SetWindowState(wsMinimized);
    } else {
        // A caption strip in the first free slot along the bottom of the work area (of the MDI client for a child).
        if (IsEmptyRect(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
        TPoint p{};
        if (TspFormMenus* menus = FormMenusOf(this)) menus->GetMinimizedPosition(FForm, p);
        FForm->SetBounds(p.X, p.Y, GetMinWidth(), GetMinHeight());
        if (FForm->FormStyle() == fsMDIChild) NotifyMainForm(SKM_MDICHILD_RESTORED);
    }
    if (OnMinimize) OnMinimize(this);
}

void TspCorvalis::MaximizeForm()
{
    if (IsEmptyRect(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
    if (FForm->FormStyle() == fsMDIChild) {
        MouseTimer->SetEnabled(false);
        TrackActiveObject(-1, -1, false);
        TRect work;
        if (TspFormMenus* menus = FormMenusOf(this)) menus->GetMDIWorkArea(work);
        const bool sameSize = work.Width() == FForm->Width() && work.Height() == FForm->Height();
        FForm->SetBounds(0, 0, work.Width(), work.Height());
        if (sameSize) ForceRealign();
        NotifyMainForm(SKM_MDICHILD_MAXIMIZED);
        if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
        if (OnMaximize) OnMaximize(this);
        return;
    }
    HWND handle = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
    TRect monitor, area;
    GetWorkAreaOf(handle, false, monitor);
    GetWorkAreaOf(handle, true, area);
    TRect r = area;
    if (FMaximizeOnFullScreen) {
        r = monitor;
    } else if (area.Width() == monitor.Width() && area.Height() == monitor.Height() &&
               monitor == Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))) {
        // Without a task bar a pixel is left free on every side, where one would be revealed.
        r = Rect(area.Left + 1, area.Top + 1, area.Right - 1, area.Bottom - 1);
    }
    const bool sameSize = r.Width() == FForm->Width() && r.Height() == FForm->Height();
    FForm->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    if (sameSize) ForceRealign();
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
    if (OnMaximize) OnMaximize(this);
}

void TspCorvalis::RestoreForm()
{
    const TRect r = OldBoundsRect;
    MaxRollUpState = false;
    if (FSupportNCArea) {
        const Integer w = FForm->Width(), h = FForm->Height();
        if (FStartShow) {
            FStartShow = false;
            const TPoint at = GetPositionInMonitor(FForm->Left(), FForm->Top(), r.Width(), r.Height());
            if (!IsEmptyRect(r)) FForm->SetBounds(at.X, at.Y, r.Width(), r.Height());
        } else if (!IsEmptyRect(r)) {
            FForm->SetBoundsRect(r);
        }
        MouseTimer->SetEnabled(true);
        if (FForm->Width() == w && FForm->Height() == h) ForceRealign();
        FForm->Invalidate();
        if (FForm->FormStyle() == fsMDIChild && FWindowState != wsMaximized) NotifyMainForm(SKM_MDICHILD_RESTORED);
        OldBoundsRect = TRect{};
    } else {
        if (!IsEmptyRect(r)) FForm->SetBoundsRect(r);
        OldBoundsRect = TRect{};
        MouseTimer->SetEnabled(true);
    }
    if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(true);
    if (OnRestore) OnRestore(this);
}

void TspCorvalis::ForceRealign()
{
    const Integer w = FForm->Width();
    if (w - 1 < GetMinWidth()) {
        FForm->SetWidth(w + 1);
        FForm->SetWidth(w);
    } else {
        FForm->SetWidth(w - 1);
        FForm->SetWidth(w);
    }
}

namespace {

// One edge of the snap: L against the edge E (the form's own edge at L + AExtent). ACursor and ADown are the
// cursor's coordinate now and where the snap happened; AFlag tells the edge held the form before this move.
void SnapEdge(Integer& L, Integer AExtent, Integer E, Integer M, Integer ACursor, Integer& ADown, bool& AFlag)
{
    const Integer edge = L + AExtent;
    const bool nearEdge = E - M < edge && edge < E + M;
    if (nearEdge && !AFlag) {
        L = E - AExtent;
        ADown = ACursor;
    } else if (AFlag) {
        // The form follows the cursor again once it has moved more than M from where the snap happened.
        if (std::abs(ACursor - ADown) > M)
            L = E - AExtent + ACursor - ADown;
        else
            L = E - AExtent;
    }
    AFlag = nearEdge;
}

}  // namespace

void TspCorvalis::DoMagnetic(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight)
{
    TRect wa;
    GetWorkAreaOf(FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, wa);
    const Integer m = FMagneticSize;
    TPoint cursor;
    GetCursorPos(cursor);
    SnapEdge(ALeft, 0, wa.Left, m, cursor.X, FOnMouseDownCoord.X, HMagnetized);
    SnapEdge(ATop, 0, wa.Top, m, cursor.Y, FOnMouseDownCoord.Y, VMagnetized);
    SnapEdge(ALeft, AWidth, wa.Right, m, cursor.X, FOnMouseDownCoord.X, HMagnetized2);
    SnapEdge(ATop, AHeight, wa.Bottom, m, cursor.Y, FOnMouseDownCoord.Y, VMagnetized2);
}

void TspCorvalis::EnableShadow(bool AShowShadow, bool AHideFormBefore)
{
    // Without a compositor the platform draws no shadows.
    if (!FIsLayerEnabled || AShowShadow == FHaveShadow) return;
    FHaveShadow = AShowShadow;
    if (!FForm->HandleAllocated()) return;
    if (AHideFormBefore) FForm->Hide();
    const LONG_PTR style = GetClassLong(FForm->Handle(), GCL_STYLE);
    SetClassLong(FForm->Handle(), GCL_STYLE,
                 AShowShadow ? style | CS_DROPSHADOW : style & ~static_cast<LONG_PTR>(CS_DROPSHADOW));
    if (AHideFormBefore) FForm->Show();
}

bool TspCorvalis::IsFrameCollapsed()
{
    // Only a full layered border collapses the frame; this form has none.
    return UseLayeredBorder() && (FRollUpState || FWindowState == wsMinimized);
}

// --- Roll-up ---

void TspCorvalis::SetRollUpState(bool Value)
{
    if ((!FSupportNCArea && !FSkinSupport) || !FBorderIcons.Contains(TspBorderIcon::biRollUp)) return;
    if (FWindowState == wsMinimized) return;
    if (FRollUpState && FWindowState == wsMaximized && !MaxRollUpState) return;
    if (FWindowState == wsMaximized) MaxRollUpState = Value;
    FRollUpState = Value;
    if (FSupportNCArea) {
        if (Value) {
            OldHeight = FForm->Height();
            FForm->SetHeight(GetMinHeight());
        } else if (FClientHeight != 0) {
            FForm->SetClientHeight(FClientHeight);
        } else if (OldHeight > 0) {
            FForm->SetHeight(OldHeight);
        }
    } else if (Value) {
        if (!FSD->FRollUpPicture || FSD->FRollUpPicture->Empty())
            FRollUpState = false;
        else
            RollUpSkinForm();
    } else {
        RollDownSkinForm();
    }
    if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TspCorvalis::RollUpSkinForm()
{
    const TspSkinData& s = *FSD;
    TBitmap* picture = s.FRollUpPicture.get();
    OldHeight = FForm->Height();
    const bool stretched = s.RollUpLeftPoint.X < s.RollUpRightPoint.X;
    if (stretched) {
        const Integer grow = FForm->Width() - picture->Width();
        for (Integer i = 0; i < ObjectCount(); ++i) {
            TspActiveSkinObject* o = Objects(i);
            if (!o->RollUp) continue;
            o->ObjectRect = o->SkinRect;
            if (o->SkinRect.Left >= s.RollUpRightPoint.X) {
                o->ObjectRect.Left += grow;
                o->ObjectRect.Right += grow;
            } else if (o->SkinRect.Left <= s.RollUpLeftPoint.X && o->SkinRect.Right >= s.RollUpRightPoint.X) {
                o->ObjectRect.Right += grow;
            }
        }
    }
    ResetObjectStates();
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    if (VisibleControls.empty())
        for (Integer i = 0; i < FForm->ControlCount(); ++i)
            if (TControl* child = FForm->Controls(i); child->Visible()) {
                child->SetVisible(false);
                VisibleControls.push_back(child);
            }
    if (stretched)
        FForm->SetHeight(picture->Height());
    else
        FForm->SetBounds(FForm->Left(), FForm->Top(), picture->Width(), picture->Height());
    SetRollUpRegion();
    FForm->Invalidate();
    MouseTimer->SetEnabled(true);
    MorphTimer->SetEnabled(true);
}

void TspCorvalis::RollDownSkinForm()
{
    ResetObjectStates();
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    for (TControl* child : VisibleControls) child->SetVisible(true);
    VisibleControls.clear();
    if (SkinIsSizeable() && OldHeight > 0) FForm->SetHeight(OldHeight);
    FitClientToSkin();
    MouseTimer->SetEnabled(true);
    MorphTimer->SetEnabled(true);
}
