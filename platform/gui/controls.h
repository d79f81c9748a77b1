#pragma once
// The control classes: TControl (bounds, alignment, visibility, mouse events), TWinControl (a window of its own,
// children, tab order, focus, keys), TGraphicControl (windowless, painted by its parent) and TCustomControl
// (a window with a canvas). Ordinary controls are found from their windows through GWL_USERDATA.
#include "platform/gui/canvas.h"
#include "platform/gui/control_messages.h"
#include "platform/gui/drag_drop.h"
#include "platform/gui/size_constraints.h"
#include "platform/rtl/classes.h"

#include <string>
#include <vector>

class TWinControl;
class TPopupMenu;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating, csPaintCopy,
    csCustomPaint, csDestroyingHandle
};
using TControlState = TSet<TControlStateItem>;
enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
    csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
    csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;

using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, win::WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
// AMousePos: the screen point of the wheel message. Set AHandled to stop the message going to the parents.
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
// AMousePos: client coordinates, or -1, -1 when the menu was asked for from the keyboard.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    Integer Left() const { return FLeft; }
    Integer Top() const { return FTop; }
    Integer Width() const { return FWidth; }
    Integer Height() const { return FHeight; }
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetLeft(Integer AValue) { SetBounds(AValue, FTop, FWidth, FHeight); }
    void SetTop(Integer AValue) { SetBounds(FLeft, AValue, FWidth, FHeight); }
    void SetWidth(Integer AValue) { SetBounds(FLeft, FTop, AValue, FHeight); }
    void SetHeight(Integer AValue) { SetBounds(FLeft, FTop, FWidth, AValue); }
    void SetBoundsRect(const TRect& ARect) { SetBounds(ARect.Left, ARect.Top, ARect.Width(), ARect.Height()); }
    virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);

    virtual TRect ClientRect();
    Integer ClientWidth() { return ClientRect().Width(); }
    Integer ClientHeight() { return ClientRect().Height(); }
    virtual void SetClientSize(Integer AWidth, Integer AHeight);
    void SetClientWidth(Integer AValue) { SetClientSize(AValue, ClientHeight()); }
    void SetClientHeight(Integer AValue) { SetClientSize(ClientWidth(), AValue); }
    virtual TPoint ClientOrigin();  // screen position of the client area's top-left corner
    TPoint ClientToScreen(TPoint APoint);
    TPoint ScreenToClient(TPoint APoint);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign AValue);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors AValue) { FAnchors = AValue; }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool AValue);
    // Every size change passes through these limits; changing them resizes the control at once.
    TSizeConstraints* Constraints() { return &FConstraints; }
    void SetConstraints(TSizeConstraints* AValue) { FConstraints.Assign(AValue); }

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool AValue);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    virtual bool Showing();  // visible with every parent
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool AValue);

    std::string Caption() { return GetText(); }
    void SetCaption(const std::string& AValue) { SetText(AValue); }
    std::string Text() { return GetText(); }
    void SetText(const std::string& AValue);

    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& AValue) { FHint = AValue; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool AValue);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool AValue);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor AValue);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* AValue);
    TColor Color() const { return FColor; }
    void SetColor(TColor AValue);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool AValue);
    TFont* Font() { return &FFont; }
    void SetFont(TFont* AValue) { FFont.Assign(AValue); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool AValue);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode AValue) { FBiDiMode = AValue; }
    bool UseRightToLeftAlignment() const { return false; }

    // Dragging: automatic mode starts a drag with a left press (once the pointer moves past the threshold).
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode AValue) { FDragMode = AValue; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind AValue) { FDragKind = AValue; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor AValue) { FDragCursor = AValue; }
    // Starts dragging this control now (AImmediate) or once the pointer has moved AThreshold pixels from where
    // the button went down (-1: the usual distance). The pointer is held until the left button comes up, which
    // drops; Escape, a right press or losing the pointer cancel. Nothing happens while another drag runs.
    void BeginDrag(bool AImmediate, Integer AThreshold = -1);
    void EndDrag(bool ADrop);
    bool Dragging() const;
    // A drag is over this control; the default asks OnDragOver and refuses without one.
    virtual void DragOver(TObject* ASource, int AX, int AY, TDragState AState, bool& AAccept);
    virtual void DragDrop(TObject* ASource, int AX, int AY);

    TControlState& ControlState() { return FControlState; }
    TControlStyle& ControlStyle() { return FControlStyle; }

    // Calls WindowProc directly, as a message to this control.
    win::LRESULT Perform(win::UINT AMsg, win::WPARAM AWParam, win::LPARAM ALParam);
    // The message handler; replace it and keep the previous one to call on.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& AMessage);
    virtual void DefaultHandler(TMessage& AMessage);

    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TMouseWheelEvent OnMouseHWheel;  // positive = to the right
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

    virtual void Click();
    virtual void DblClick();
    // A wheel message for this control goes to the focused control of its form, which offers it to its parents
    // in turn until one handles it.
    virtual void MouseWheelHandler(TMessage& AMessage);

protected:
    virtual std::string GetText() { return FText; }
    virtual void TextChanged() {}
    virtual void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY);
    virtual void MouseMove(TShiftState AShift, int AX, int AY);
    virtual void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY);
    virtual void Resize();
    // OnMouseWheel, then (unless it handled the turn) one OnMouseWheelDown/Up per whole notch turned; true when
    // handled.
    virtual bool DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos);
    virtual bool DoMouseWheelDown(TShiftState AShift, TPoint AMousePos);
    virtual bool DoMouseWheelUp(TShiftState AShift, TPoint AMousePos);
    virtual bool DoMouseHWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos);
    virtual void DoContextPopup(TPoint AMousePos, bool& AHandled);
    virtual void DoStartDrag(TDragObject*& ADragObject);
    virtual void DoEndDrag(TObject* ATarget, int AX, int AY);
    virtual bool CanAutoSize(Integer& /*ANewWidth*/, Integer& /*ANewHeight*/) { return false; }
    virtual void AdjustSize();
    void RequestAlign();
    void UpdateBoundsFields(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void ParentChanged();

    std::string FText;

private:
    friend class TWinControl;
    friend class TDragSession;
    void HandleMouseDown(TMessage& AMessage, TMouseButton AButton, bool ADouble);
    void HandleMouseUp(TMessage& AMessage, TMouseButton AButton);
    void HandleContextMenu(TMessage& AMessage);
    void HandleWheelNotification(TMessage& AMessage);
    void FontChanged(TObject* ASender);

    int FWheelAccumulator = 0;

    TWinControl* FParent = nullptr;
    Integer FLeft = 0;
    Integer FTop = 0;
    Integer FWidth = 0;
    Integer FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    bool FAutoSize = false;
    TSizeConstraints FConstraints;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    TCursor FDragCursor = crDrag;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    TColor FColor = clWindow;
    bool FParentColor = false;
    TFont FFont;
    bool FParentFont = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    TControlState FControlState;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
};

struct TCreateParams {
    std::string Caption;
    win::DWORD Style = 0;
    win::DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    win::HWND WndParent = nullptr;
    void* Param = nullptr;
    win::UINT ClassStyle = win::CS_DBLCLKS;
    std::string WinClassName = "TQuennaryControl";
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    win::HWND Handle();  // made on first use
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    void DestroyHandle();
    // Destroys and makes the window again with the current creation parameters, keeping bounds and children.
    void RecreateWnd();

    Integer ControlCount() const { return static_cast<Integer>(FControls.size() + FWinControls.size()); }
    // The windowless children first, then the windowed ones, each in the order they were added.
    TControl* Controls(Integer AIndex) const;
    bool ContainsControl(TControl* AControl) const;
    // The child under APoint (client coordinates), windowless ones only unless AAllowWinControls.
    TControl* ControlAtPos(TPoint APoint, bool AAllowDisabled, bool AAllowWinControls = false);

    Integer TabOrder() const;
    void SetTabOrder(Integer AValue);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool AValue) { FTabStop = AValue; }
    // The windowed children and theirs, in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& AList);
    TWinControl* FindNextControl(TWinControl* ACurrent, bool AGoForward, bool ACheckTabStop, bool ACheckParent);
    void SelectNext(TWinControl* ACurrent, bool AGoForward, bool ACheckTabStop);

    virtual bool CanFocus();
    bool Focused();
    virtual void SetFocus();

    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void SetVisible(bool AValue) override;
    void SetEnabled(bool AValue) override;
    bool Showing() override;

    virtual void AdjustClientRect(TRect& ARect);
    void Realign();
    // Moves every child by the deltas (scrolling the content) and repaints.
    void ScrollBy(Integer ADeltaX, Integer ADeltaY);
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool AValue) { FDoubleBuffered = AValue; }

    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    // Paints the windowless children, from AFirst on (nullptr = all), onto ADC.
    void PaintControls(win::HDC ADC, TControl* AFirst);

    void WndProc(TMessage& AMessage) override;
    void DefaultHandler(TMessage& AMessage) override;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // The control whose window this is, or nullptr.
    static TWinControl* FindControl(win::HWND AWindow);

protected:
    friend class TControl;
    friend class TCustomForm;
    virtual void CreateParams(TCreateParams& AParams);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void AlignControls(TControl* AControl, TRect& ARect);
    virtual void PaintWindow(win::HDC ADC);
    virtual void KeyDown(win::WORD& AKey, TShiftState AShift);
    virtual void KeyUp(win::WORD& AKey, TShiftState AShift);
    virtual void KeyPress(char32_t& AKey);
    virtual void DoEnter();
    virtual void DoExit();
    void TextChanged() override;
    std::string GetText() override;
    // Procedure DefaultHandler passes messages to.
    win::WNDPROC FDefWndProc = nullptr;

private:
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void AlignControl(TControl* AControl);
    void BringControlToFront(TControl* AControl);
    void SendControlToBack(TControl* AControl);
    void NotifyControls(win::UINT AMsg);
    void UpdateBoundsFromWindow();
    void PaintHandler(TMessage& AMessage);
    bool RouteMouseToChild(TMessage& AMessage);
    bool DoKeyDown(TMessage& AMessage);
    bool DoKeyUp(TMessage& AMessage);
    bool DoKeyPress(TMessage& AMessage);
    static win::LRESULT StandardProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

    win::HWND FHandle = nullptr;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FWinControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    int FAlignLevel = 0;
    bool FAligning = false;
    TSize FAlignedClientSize{-1, -1};
};

// Windowless: painted on the parent's canvas, mouse messages routed by the parent.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return &FCanvas; }
    void WndProc(TMessage& AMessage) override;

protected:
    virtual void Paint() {}

private:
    TCanvas FCanvas;
};

// A window of its own with a canvas to paint on.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return &FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(win::HDC ADC) override;

private:
    TCanvas FCanvas;
};

// The form a control sits on, or nullptr.
TCustomForm* GetParentForm(TControl* AControl);
// The windowed control (or one of its windowless children) under a screen point.
TControl* FindDragTarget(TPoint AScreen, bool AAllowDisabled);
// The control the pointer is over, as the enter/leave notifications last told it; nullptr when none.
TControl* MouseOverControl();
// Moves the enter/leave notifications to AControl (nullptr: the pointer left every control).
void SetMouseOverControl(TControl* AControl);
// A windowless control holding the pointer after a button press on it.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* AControl);
