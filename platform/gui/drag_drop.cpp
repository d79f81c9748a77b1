#include "platform/gui/drag_drop.h"

#include "platform/gui/controls.h"
#include "platform/gui/screen.h"
#include "platform/win/win.h"

#include <cstdlib>
#include <memory>

using namespace win;

namespace {
constexpr int kDefaultDragThreshold = 5;
constexpr const char* kCaptureClass = "TQuennaryDragCapture";

// Whether AControl still sits where screen coordinates mean something for it.
bool Placed(TControl* AControl)
{
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl))
        return windowed->HandleAllocated();
    return AControl->Parent() && AControl->Parent()->HandleAllocated();
}

}  // namespace

// One drag at a time. The pointer is held by a hidden window of its own, so that every move and the release
// come here whatever control the pointer is over.
class TDragSession {
public:
    TDragSession(TControl* ASource, TPoint AStart, int AThreshold)
        : FSource(ASource), FStart(AStart), FThreshold(AThreshold), FOwnObject(ASource)
    {
    }

    static TDragSession* Current() { return Instance().get(); }
    static void Begin(TControl* ASource, bool AImmediate, int AThreshold);
    // The session ends before any handler runs, so a handler may start the next drag or destroy controls.
    static void Finish(bool ADrop);
    static void ControlDestroyed(TControl* AControl);

    TControl* Source() const { return FSource; }

private:
    static std::unique_ptr<TDragSession>& Instance()
    {
        static std::unique_ptr<TDragSession> session;
        return session;
    }
    static LRESULT CaptureProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam);

    void Start();
    void MoveTo(TPoint AScreen);
    // Asks ATarget whether it takes the drop at AScreen.
    bool AskTarget(TControl* ATarget, TPoint AScreen, TDragState AState);
    TObject* SourceObject() { return FUserObject ? static_cast<TObject*>(FUserObject) : FSource; }
    TDragObject* DragObject() { return FUserObject ? FUserObject : &FOwnObject; }
    void ShowCursor();

    TControl* FSource;
    TPoint FStart;
    int FThreshold;
    TDragControlObject FOwnObject;
    TDragObject* FUserObject = nullptr;
    HWND FCapture = nullptr;
    bool FStarted = false;
    TControl* FTarget = nullptr;
    bool FAccepted = false;
    TPoint FPos;
};

void TDragSession::Begin(TControl* ASource, bool AImmediate, int AThreshold)
{
    if (Current())
        return;
    WNDCLASS existing;
    if (!GetClassInfo(kCaptureClass, existing)) {
        WNDCLASS cls;
        cls.lpfnWndProc = &CaptureProc;
        cls.lpszClassName = kCaptureClass;
        RegisterClass(cls);
    }
    // Input is queued ahead of its handling: measure from where the button went down, not from the pointer now.
    TPoint start = GetMessagePos();
    auto session = std::make_unique<TDragSession>(ASource, start, AThreshold < 0 ? kDefaultDragThreshold : AThreshold);
    session->FPos = start;
    session->FCapture = CreateWindowEx(WS_EX_TOOLWINDOW, kCaptureClass, "", WS_POPUP, 0, 0, 0, 0, nullptr);
    if (!session->FCapture)
        throw EInvalidOperation("Cannot make the drag window");
    TDragSession* self = session.get();
    Instance() = std::move(session);
    SetCapture(self->FCapture);
    if (AImmediate)
        self->Start();
}

void TDragSession::Start()
{
    FStarted = true;
    // A press that became a drag is no click.
    FSource->ControlState().Exclude(csClicked);
    FSource->ControlState().Exclude(csLButtonDown);
    TDragObject* object = nullptr;
    FSource->DoStartDrag(object);
    if (Current() != this)
        return;
    FUserObject = object;
    TPoint at = FPos;
    FPos = {};  // so the first step always looks for a target
    MoveTo(at);
}

bool TDragSession::AskTarget(TControl* ATarget, TPoint AScreen, TDragState AState)
{
    if (!Placed(ATarget))
        return false;
    TPoint at = ATarget->ScreenToClient(AScreen);
    bool accept = false;
    ATarget->DragOver(SourceObject(), at.X, at.Y, AState, accept);
    return accept;
}

void TDragSession::MoveTo(TPoint AScreen)
{
    if (!FStarted) {
        if (std::abs(AScreen.X - FStart.X) < FThreshold && std::abs(AScreen.Y - FStart.Y) < FThreshold)
            return;
        FPos = AScreen;
        Start();
        return;
    }
    FPos = AScreen;
    TControl* target = FindDragTarget(AScreen, false);
    if (target != FTarget) {
        TControl* old = FTarget;
        FTarget = nullptr;
        FAccepted = false;
        if (old)
            AskTarget(old, AScreen, dsDragLeave);
        if (Current() != this)
            return;
        // The leave handler may have destroyed the new target; look again.
        target = FindDragTarget(AScreen, false);
        FTarget = target;
        if (target)
            FAccepted = AskTarget(target, AScreen, dsDragEnter);
    } else if (target) {
        FAccepted = AskTarget(target, AScreen, dsDragMove);
    }
    if (Current() == this)
        ShowCursor();
}

void TDragSession::ShowCursor()
{
    if (!::Screen)
        return;
    TCursor cursor = DragObject()->GetDragCursor(FAccepted && FTarget, FPos.X, FPos.Y);
    win::SetCursor(::Screen->Cursors(cursor));
}

void TDragSession::Finish(bool ADrop)
{
    std::unique_ptr<TDragSession> session = std::move(Instance());
    if (!session)
        return;
    // Destroyed later: this may run inside the capture window's own procedure.
    PostMessage(session->FCapture, WM_CLOSE, 0, 0);
    if (GetCapture() == session->FCapture)
        ReleaseCapture();
    TControl* source = session->FSource;
    if (!session->FStarted) {
        // The button came up before the pointer went far: an ordinary release, which may click.
        if (ADrop && source && Placed(source)) {
            TPoint at = source->ScreenToClient(session->FPos);
            source->Perform(WM_LBUTTONUP, 0, PointToLParam(at));
        }
        return;
    }
    TControl* target = session->FTarget && Placed(session->FTarget) ? session->FTarget : nullptr;
    bool dropped = ADrop && target && session->FAccepted;
    TObject* source_object = session->SourceObject();
    TPoint at{0, 0};
    if (target) {
        at = target->ScreenToClient(session->FPos);
        // The target takes away what it shows while something is over it, before the drop or the cancel.
        bool ignored = false;
        target->DragOver(source_object, at.X, at.Y, dsDragLeave, ignored);
    }
    // Let the window under the pointer choose the cursor again.
    TPoint pointer;
    if (GetCursorPos(pointer))
        SetCursorPos(pointer.X, pointer.Y);
    if (dropped)
        target->DragDrop(source_object, at.X, at.Y);
    if (source)
        source->DoEndDrag(dropped ? target : nullptr, dropped ? at.X : 0, dropped ? at.Y : 0);
}

void TDragSession::ControlDestroyed(TControl* AControl)
{
    TDragSession* session = Current();
    if (!session)
        return;
    if (session->FTarget == AControl) {
        session->FTarget = nullptr;
        session->FAccepted = false;
    }
    if (session->FSource == AControl) {
        session->FSource = nullptr;
        Finish(false);
    }
}

LRESULT TDragSession::CaptureProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
    TDragSession* session = Current();
    if (!session || session->FCapture != AWindow)
        return DefWindowProc(AWindow, AMsg, AWParam, ALParam);
    switch (AMsg) {
    case WM_MOUSEMOVE: {
        TPoint at = LParamToPoint(ALParam);
        ClientToScreen(AWindow, at);
        session->MoveTo(at);
        return 0;
    }
    case WM_LBUTTONUP: {
        TPoint at = LParamToPoint(ALParam);
        ClientToScreen(AWindow, at);
        if (at != session->FPos)
            session->MoveTo(at);
        if (Current() == session)
            Finish(true);
        return 0;
    }
    case WM_RBUTTONDOWN:
    case WM_CANCELMODE:
        Finish(false);
        return 0;
    case WM_CAPTURECHANGED:
        // Someone else took the pointer.
        Finish(false);
        return 0;
    default: return DefWindowProc(AWindow, AMsg, AWParam, ALParam);
    }
}

// ---- drag objects ----------------------------------------------------------------------------------------------

int16_t TDragObject::GetDragCursor(bool AAccepted, int, int)
{
    return AAccepted ? crDrag : crNoDrop;
}

int16_t TDragControlObject::GetDragCursor(bool AAccepted, int, int)
{
    return AAccepted && FControl ? FControl->DragCursor() : crNoDrop;
}

bool DragInProgress() { return TDragSession::Current() != nullptr; }

void CancelDrag() { TDragSession::Finish(false); }

void DragControlDestroyed(TControl* AControl) { TDragSession::ControlDestroyed(AControl); }

// ---- TControl --------------------------------------------------------------------------------------------------

void TControl::BeginDrag(bool AImmediate, Integer AThreshold)
{
    TDragSession::Begin(this, AImmediate, AThreshold);
}

void TControl::EndDrag(bool ADrop)
{
    if (Dragging())
        TDragSession::Finish(ADrop);
}

bool TControl::Dragging() const
{
    TDragSession* session = TDragSession::Current();
    return session && session->Source() == this;
}

void TControl::DragOver(TObject* ASource, int AX, int AY, TDragState AState, bool& AAccept)
{
    AAccept = false;
    if (OnDragOver) {
        AAccept = true;
        OnDragOver(this, ASource, AX, AY, AState, AAccept);
    }
}

void TControl::DragDrop(TObject* ASource, int AX, int AY)
{
    if (OnDragDrop)
        OnDragDrop(this, ASource, AX, AY);
}

void TControl::DoStartDrag(TDragObject*& ADragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, ADragObject);
}

void TControl::DoEndDrag(TObject* ATarget, int AX, int AY)
{
    if (OnEndDrag)
        OnEndDrag(this, ATarget, AX, AY);
}
