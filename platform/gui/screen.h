#pragma once
// The screen: the forms that exist, the active form and control, cursors by number, monitors and work area.
#include "platform/gui/controls.h"

#include <map>
#include <memory>
#include <vector>

class TCustomForm;

class TMonitor : public TObject {
public:
    TMonitor(win::HMONITOR AHandle, Integer ANumber) : FHandle(AHandle), FNumber(ANumber) {}
    win::HMONITOR Handle() const { return FHandle; }
    Integer MonitorNum() const { return FNumber; }
    TRect BoundsRect() const;
    TRect WorkareaRect() const;
    bool Primary() const;
    Integer Left() const { return BoundsRect().Left; }
    Integer Top() const { return BoundsRect().Top; }
    Integer Width() const { return BoundsRect().Width(); }
    Integer Height() const { return BoundsRect().Height(); }

private:
    win::HMONITOR FHandle;
    Integer FNumber;
};

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    Integer FormCount() const { return static_cast<Integer>(FForms.size()); }
    TCustomForm* Forms(Integer AIndex) const { return FForms.at(AIndex); }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TCustomForm* ActiveCustomForm() const { return FActiveForm; }
    TWinControl* ActiveControl() const { return FActiveControl; }

    // crDefault lets each control choose; anything else overrides every control's cursor.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor AValue);
    // The standard cursors answer their negative numbers; programs register their own under other numbers.
    win::HCURSOR Cursors(Integer AIndex) const;
    void SetCursors(Integer AIndex, win::HCURSOR AValue);

    Integer Width() const;   // of the primary monitor
    Integer Height() const;
    Integer MonitorCount() const;
    TMonitor* Monitors(Integer AIndex);
    TMonitor* MonitorFromWindow(win::HWND AWindow);
    TMonitor* MonitorFromPoint(TPoint APoint);
    TRect WorkAreaRect() const;  // of the primary monitor
    TRect DesktopRect() const;

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* AForm);
    void RemoveForm(TCustomForm* AForm);
    void SetActiveForm(TCustomForm* AForm);
    void SetActiveControl(TWinControl* AControl);
    TMonitor* MonitorOf(win::HMONITOR AHandle);

    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    TCursor FCursor = crDefault;
    std::map<Integer, win::HCURSOR> FCursors;
    std::vector<std::unique_ptr<TMonitor>> FMonitors;
};

extern TScreen* Screen;
