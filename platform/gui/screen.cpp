#include "platform/gui/screen.h"

#include "platform/gui/forms.h"

#include <algorithm>

using namespace win;

TScreen* Screen = nullptr;

namespace {

MONITORINFO InfoOf(HMONITOR AMonitor)
{
    MONITORINFO info;
    GetMonitorInfo(AMonitor, &info);
    return info;
}

uintptr_t StandardCursorId(Integer AIndex)
{
    switch (AIndex) {
    case crArrow: return IDC_ARROW;
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass: return IDC_WAIT;
    case crHSplit: return IDC_SIZEWE;
    case crVSplit: return IDC_SIZENS;
    case crNo: return IDC_NO;
    case crNoDrop: return IDC_NO;
    case crDrag: return IDC_ARROW;  // no drawn drag cursor yet; Cursors can be given one
    case crAppStart: return IDC_APPSTARTING;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    default: return IDC_ARROW;
    }
}

}  // namespace

TRect TMonitor::BoundsRect() const { return InfoOf(FHandle).rcMonitor; }
TRect TMonitor::WorkareaRect() const { return InfoOf(FHandle).rcWork; }
bool TMonitor::Primary() const { return (InfoOf(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0; }

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
    if (!::Screen)
        ::Screen = this;
}

TScreen::~TScreen()
{
    if (::Screen == this)
        ::Screen = nullptr;
}

void TScreen::AddForm(TCustomForm* AForm) { FForms.push_back(AForm); }

void TScreen::RemoveForm(TCustomForm* AForm)
{
    std::erase(FForms, AForm);
    if (FActiveForm == AForm)
        SetActiveForm(nullptr);
    if (FActiveControl && GetParentForm(FActiveControl) == AForm)
        SetActiveControl(nullptr);
}

void TScreen::SetActiveForm(TCustomForm* AForm)
{
    if (AForm == FActiveForm)
        return;
    FActiveForm = AForm;
    if (OnActiveFormChange)
        OnActiveFormChange(this);
}

void TScreen::SetActiveControl(TWinControl* AControl)
{
    if (AControl == FActiveControl)
        return;
    FActiveControl = AControl;
    if (OnActiveControlChange)
        OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor AValue)
{
    if (AValue == FCursor)
        return;
    FCursor = AValue;
    if (AValue != crDefault) {
        win::SetCursor(Cursors(AValue));
    } else {
        // Let the window under the pointer choose again.
        TPoint at;
        GetCursorPos(at);
        SetCursorPos(at.X, at.Y);
    }
}

HCURSOR TScreen::Cursors(Integer AIndex) const
{
    auto it = FCursors.find(AIndex);
    if (it != FCursors.end())
        return it->second;
    if (AIndex == crNone)
        return nullptr;
    return LoadCursor(nullptr, StandardCursorId(AIndex));
}

void TScreen::SetCursors(Integer AIndex, HCURSOR AValue)
{
    if (AValue)
        FCursors[AIndex] = AValue;
    else
        FCursors.erase(AIndex);
}

Integer TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
Integer TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }
Integer TScreen::MonitorCount() const { return GetSystemMetrics(SM_CMONITORS); }

TMonitor* TScreen::MonitorOf(HMONITOR AHandle)
{
    if (!AHandle)
        return nullptr;
    for (auto& monitor : FMonitors)
        if (monitor->Handle() == AHandle)
            return monitor.get();
    FMonitors.push_back(std::make_unique<TMonitor>(AHandle, static_cast<Integer>(FMonitors.size())));
    return FMonitors.back().get();
}

TMonitor* TScreen::Monitors(Integer AIndex)
{
    // Monitors are numbered by position on the screen's list: walk them through their rectangles.
    auto backend = CurrentBackend();
    if (!backend)
        return nullptr;
    auto list = backend->Monitors();
    if (AIndex < 0 || AIndex >= static_cast<Integer>(list.size()))
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    TRect r = list[AIndex].Monitor;
    return MonitorOf(win::MonitorFromPoint({r.Left, r.Top}, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromWindow(HWND AWindow)
{
    return MonitorOf(win::MonitorFromWindow(AWindow, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromPoint(TPoint APoint)
{
    return MonitorOf(win::MonitorFromPoint(APoint, MONITOR_DEFAULTTONEAREST));
}

TRect TScreen::WorkAreaRect() const
{
    TRect area;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

TRect TScreen::DesktopRect() const
{
    return Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}
