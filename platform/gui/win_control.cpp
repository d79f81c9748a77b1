#include "platform/gui/application.h"
#include "platform/gui/controls.h"
#include "platform/gui/forms.h"
#include "platform/gui/menus.h"
#include "platform/gui/screen.h"
#include "platform/gdi/gdi.h"

#include <algorithm>
#include <set>

using namespace win;

namespace {

thread_local TWinControl* gCreating = nullptr;

bool IsMouseMessage(UINT AMsg)
{
    return AMsg >= WM_MOUSEMOVE && AMsg <= WM_MBUTTONDBLCLK;
}

void EnsureClassRegistered(const TCreateParams& AParams, WNDPROC AProc)
{
    static thread_local std::set<std::string> registered;
    if (registered.count(AParams.WinClassName))
        return;
    WNDCLASS existing;
    if (!GetClassInfo(AParams.WinClassName, existing)) {
        WNDCLASS cls;
        cls.style = AParams.ClassStyle;
        cls.lpfnWndProc = AProc;
        cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
        cls.lpszClassName = AParams.WinClassName;
        RegisterClass(cls);
    }
    registered.insert(AParams.WinClassName);
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    // Leave the parent while still a windowed control, so it takes this out of the right lists.
    if (Parent())
        Parent()->RemoveControl(this);
    // Children go with their parent, whoever owns them; the owner hears of it through the component.
    while (!FControls.empty() || !FWinControls.empty()) {
        TControl* child = !FControls.empty() ? static_cast<TControl*>(FControls.back()) : FWinControls.back();
        RemoveControl(child);
        delete child;
    }
    if (FHandle) {
        HWND handle = FHandle;
        SetWindowLong(handle, GWL_USERDATA, 0);
        FHandle = nullptr;
        if (IsWindow(handle))
            DestroyWindow(handle);
    }
}

TWinControl* TWinControl::FindControl(HWND AWindow)
{
    if (!AWindow || !IsWindow(AWindow))
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLong(AWindow, GWL_USERDATA));
}

LRESULT TWinControl::StandardProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLong(AWindow, GWL_USERDATA));
    if (!control && gCreating) {
        control = gCreating;
        gCreating = nullptr;
        control->FHandle = AWindow;
        SetWindowLong(AWindow, GWL_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    if (!control)
        return DefWindowProc(AWindow, AMsg, AWParam, ALParam);
    TMessage message{AMsg, AWParam, ALParam, 0};
    try {
        control->WindowProc(message);
    } catch (...) {
        if (!Application)
            throw;
        Application->HandleException(control);
    }
    return message.Result;
}

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded()
{
    if (FHandle)
        return;
    if (Parent())
        Parent()->HandleNeeded();
    if (!FHandle)
        CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& AParams)
{
    AParams.Caption = FText;
    AParams.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible())
        AParams.Style |= WS_VISIBLE;
    if (!Enabled())
        AParams.Style |= WS_DISABLED;
    if (FTabStop)
        AParams.Style |= WS_TABSTOP;
    AParams.X = Left();
    AParams.Y = Top();
    AParams.Width = Width();
    AParams.Height = Height();
    if (Parent())
        AParams.WndParent = Parent()->Handle();
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if (!params.WndParent && (params.Style & WS_CHILD))
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    EnsureClassRegistered(params, &StandardProc);
    ControlState().Include(csCreating);
    gCreating = this;
    HWND handle = nullptr;
    try {
        handle = CreateWindowEx(params.ExStyle, params.WinClassName, params.Caption, params.Style, params.X,
                                params.Y, params.Width, params.Height, params.WndParent, 0, params.Param);
    } catch (...) {
        gCreating = nullptr;
        ControlState().Exclude(csCreating);
        throw;
    }
    gCreating = nullptr;
    ControlState().Exclude(csCreating);
    if (!handle)
        throw EInvalidOperation("Error creating window for '" + Name() + "'");
    FHandle = handle;
    UpdateBoundsFromWindow();
    for (TWinControl* child : std::vector<TWinControl*>(FWinControls))
        child->HandleNeeded();
    FAlignedClientSize = {-1, -1};
    Realign();
}

void TWinControl::DestroyWnd()
{
    if (!FHandle)
        return;
    FText = GetWindowText(FHandle);
    HWND handle = FHandle;
    DestroyWindow(handle);
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    ControlState().Include(csDestroyingHandle);
    DestroyWnd();
    ControlState().Exclude(csDestroyingHandle);
    FHandle = nullptr;
}

void TWinControl::RecreateWnd()
{
    if (!FHandle)
        return;
    // The user sees nothing of it: a shown top-level window comes back shown, in the same state, active if it
    // was, with the focus on the same control. Children keep their visibility through their creation styles.
    TWinControl* focused = nullptr;
    HWND focus = GetFocus();
    if (focus && (focus == FHandle || IsChild(FHandle, focus)))
        for (HWND window = focus; window && !focused; window = GetAncestor(window, GA_PARENT))
            focused = FindControl(window);
    DWORD style = static_cast<DWORD>(GetWindowLong(FHandle, GWL_STYLE));
    bool topLevel = !(style & WS_CHILD);
    bool shown = topLevel && (style & WS_VISIBLE);
    bool active = topLevel && GetActiveWindow() == FHandle;
    int show = (style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
               : (style & WS_MINIMIZE) ? SW_SHOWMINNOACTIVE
               : active                ? SW_SHOWNORMAL
                                       : SW_SHOWNOACTIVATE;
    DestroyHandle();
    HandleNeeded();
    if (shown && !(GetWindowLong(FHandle, GWL_STYLE) & WS_VISIBLE))
        ShowWindow(FHandle, show);
    if (focused && focused->CanFocus())
        focused->SetFocus();
}

TControl* TWinControl::Controls(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= ControlCount())
        throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
    if (AIndex < static_cast<Integer>(FControls.size()))
        return FControls[AIndex];
    return FWinControls[AIndex - FControls.size()];
}

bool TWinControl::ContainsControl(TControl* AControl) const
{
    while (AControl && AControl != this)
        AControl = AControl->Parent();
    return AControl != nullptr;
}

void TWinControl::InsertControl(TControl* AControl)
{
    AControl->FParent = this;
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        FWinControls.push_back(win);
        FTabList.push_back(win);
    } else {
        FControls.push_back(AControl);
    }
    AControl->ParentChanged();
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        if (FHandle)
            win->HandleNeeded();
    } else {
        AControl->Invalidate();
    }
    AlignControl(AControl);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    if (MouseOverControl() == AControl)
        SetMouseOverControl(nullptr);
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* form = GetParentForm(this))
            form->ControlRemoved(win);
        win->DestroyHandle();
        std::erase(FWinControls, win);
        std::erase(FTabList, win);
    } else {
        AControl->Invalidate();
        std::erase(FControls, AControl);
    }
    AControl->FParent = nullptr;
    if (ComponentState().Contains(csDestroying))
        return;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
    AlignControl(nullptr);
}

void TWinControl::BringControlToFront(TControl* AControl)
{
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        std::erase(FWinControls, win);
        FWinControls.push_back(win);
        if (win->HandleAllocated())
            SetWindowPos(win->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        std::erase(FControls, AControl);
        FControls.push_back(AControl);
        AControl->Invalidate();
    }
}

void TWinControl::SendControlToBack(TControl* AControl)
{
    if (auto* win = dynamic_cast<TWinControl*>(AControl)) {
        std::erase(FWinControls, win);
        FWinControls.insert(FWinControls.begin(), win);
        if (win->HandleAllocated())
            SetWindowPos(win->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        std::erase(FControls, AControl);
        FControls.insert(FControls.begin(), AControl);
        AControl->Invalidate();
    }
}

void TWinControl::NotifyControls(UINT AMsg)
{
    for (Integer i = 0; i < ControlCount(); ++i)
        Controls(i)->Perform(AMsg, 0, 0);
}

TControl* TWinControl::ControlAtPos(TPoint APoint, bool AAllowDisabled, bool AAllowWinControls)
{
    auto hits = [&](TControl* AControl) {
        TRect r = AControl->BoundsRect();
        if (!AControl->Visible() || (!AControl->Enabled() && !AAllowDisabled))
            return false;
        if (APoint.X < r.Left || APoint.X >= r.Right || APoint.Y < r.Top || APoint.Y >= r.Bottom)
            return false;
        TPoint local{APoint.X - r.Left, APoint.Y - r.Top};
        return AControl->Perform(CM_HITTEST, 0, PointToLParam(local)) != 0;
    };
    if (AAllowWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hits(*it))
                return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hits(*it))
            return *it;
    return nullptr;
}

Integer TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

void TWinControl::SetTabOrder(Integer AValue)
{
    if (!Parent())
        return;
    auto& list = Parent()->FTabList;
    std::erase(list, this);
    AValue = std::clamp<Integer>(AValue, 0, static_cast<Integer>(list.size()));
    list.insert(list.begin() + AValue, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& AList)
{
    for (TWinControl* child : FTabList) {
        AList.push_back(child);
        child->GetTabOrderList(AList);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* ACurrent, bool AGoForward, bool ACheckTabStop,
                                          bool ACheckParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    int count = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), ACurrent);
    int start = found == list.end() ? (AGoForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    for (int step = 0; step < count; ++step) {
        i = AGoForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[i];
        if (candidate == ACurrent)
            continue;
        if ((!ACheckTabStop || candidate->TabStop()) && (!ACheckParent || candidate->Parent() == this) &&
            candidate->CanFocus())
            return candidate;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* ACurrent, bool AGoForward, bool ACheckTabStop)
{
    if (TWinControl* next = FindNextControl(ACurrent, AGoForward, ACheckTabStop, !ACheckTabStop))
        next->SetFocus();
}

bool TWinControl::CanFocus()
{
    TCustomForm* form = GetParentForm(this);
    if (!form || !form->Enabled() || !form->Visible())
        return false;
    for (TControl* control = this; control && control != form; control = control->Parent())
        if (!control->Visible() || !control->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused()
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    if (TCustomForm* form = GetParentForm(this)) {
        form->FocusControl(this);
    } else if (Showing()) {
        win::SetFocus(Handle());
    }
}

TRect TWinControl::ClientRect()
{
    if (FHandle) {
        TRect r;
        GetClientRect(FHandle, r);
        return r;
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin()
{
    TPoint origin{0, 0};
    win::ClientToScreen(Handle(), origin);
    return origin;
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    Constraints()->Apply(AWidth, AHeight);
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height())
        return;
    if (FHandle) {
        SetWindowPos(FHandle, nullptr, ALeft, ATop, std::max(0, AWidth), std::max(0, AHeight),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    bool resized = AWidth != Width() || AHeight != Height();
    UpdateBoundsFields(ALeft, ATop, AWidth, AHeight);
    RequestAlign();
    if (resized) {
        Realign();
        Resize();
    }
}

void TWinControl::UpdateBoundsFromWindow()
{
    TRect r;
    GetWindowRect(FHandle, r);
    if (HWND parent = (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD) ? GetParent(FHandle) : nullptr) {
        TPoint corners[2] = {r.TopLeft(), r.BottomRight()};
        MapWindowPoints(nullptr, parent, corners, 2);
        r = {corners[0].X, corners[0].Y, corners[1].X, corners[1].Y};
    }
    if (IsIconic(FHandle))
        return;
    bool moved = r.Left != Left() || r.Top != Top();
    bool resized = r.Width() != Width() || r.Height() != Height();
    TRect client = ClientRect();
    bool clientChanged = client.Width() != FAlignedClientSize.cx || client.Height() != FAlignedClientSize.cy;
    UpdateBoundsFields(r.Left, r.Top, r.Width(), r.Height());
    if (moved || resized)
        RequestAlign();
    if (clientChanged)
        Realign();
    if (resized)
        Resize();
}

void TWinControl::SetVisible(bool AValue)
{
    if (AValue == Visible())
        return;
    TControl::SetVisible(AValue);
    if (FHandle) {
        ShowWindow(FHandle, AValue ? SW_SHOWNA : SW_HIDE);
    } else if (AValue && Parent() && Parent()->HandleAllocated()) {
        HandleNeeded();
    }
}

void TWinControl::SetEnabled(bool AValue)
{
    if (AValue == Enabled())
        return;
    TControl::SetEnabled(AValue);
    if (FHandle)
        EnableWindow(FHandle, AValue);
}

bool TWinControl::Showing()
{
    return FHandle && IsWindowVisible(FHandle);
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0 && ControlState().Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign()
{
    AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl)
{
    if (FAlignLevel > 0) {
        ControlState().Include(csAlignmentNeeded);
        return;
    }
    if (FAligning)  // the running pass places everything
        return;
    FAligning = true;
    ControlState().Exclude(csAlignmentNeeded);
    try {
        TRect area = ClientRect();
        AdjustClientRect(area);
        AlignControls(AControl, area);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignControls(TControl* AControl, TRect& ARect)
{
    // Anchors keep a control's distance to the edges it is anchored to as the client area changes size.
    TRect client = ClientRect();
    if (FAlignedClientSize.cx >= 0) {
        int dx = client.Width() - FAlignedClientSize.cx;
        int dy = client.Height() - FAlignedClientSize.cy;
        if (dx || dy) {
            for (Integer i = 0; i < ControlCount(); ++i) {
                TControl* c = Controls(i);
                if (c->Align() != alNone)
                    continue;
                TAnchors a = c->Anchors();
                int left = c->Left(), top = c->Top(), width = c->Width(), height = c->Height();
                if (a.Contains(akRight)) {
                    if (a.Contains(akLeft))
                        width += dx;
                    else
                        left += dx;
                } else if (!a.Contains(akLeft)) {
                    left += dx / 2;
                }
                if (a.Contains(akBottom)) {
                    if (a.Contains(akTop))
                        height += dy;
                    else
                        top += dy;
                } else if (!a.Contains(akTop)) {
                    top += dy / 2;
                }
                c->SetBounds(left, top, width, height);
            }
        }
    }
    FAlignedClientSize = {client.Width(), client.Height()};

    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        // The control that asked comes first among equals, then the others by their place.
        std::vector<TControl*> list;
        if (AControl && AControl->Align() == align && AControl->Visible())
            list.push_back(AControl);
        for (Integer i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c == AControl || c->Align() != align || !c->Visible())
                continue;
            auto before = [&](TControl* AOther) {
                switch (align) {
                case alTop: return c->Top() < AOther->Top();
                case alBottom: return c->Top() + c->Height() > AOther->Top() + AOther->Height();
                case alLeft: return c->Left() < AOther->Left();
                case alRight: return c->Left() + c->Width() > AOther->Left() + AOther->Width();
                default: return false;
                }
            };
            auto at = std::find_if(list.begin(), list.end(), before);
            list.insert(at, c);
        }
        for (TControl* c : list) {
            int w = c->Width(), h = c->Height();
            switch (align) {
            case alTop:
                c->SetBounds(ARect.Left, ARect.Top, ARect.Width(), h);
                ARect.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(ARect.Left, ARect.Bottom - h, ARect.Width(), h);
                ARect.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(ARect.Left, ARect.Top, w, ARect.Height());
                ARect.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(ARect.Right - w, ARect.Top, w, ARect.Height());
                ARect.Right -= c->Width();
                break;
            case alClient:
                c->SetBounds(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
                break;
            default: break;
            }
        }
    }
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update()
{
    if (FHandle)
        UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    if (FHandle) {
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC ADC, TControl* AFirst)
{
    auto start = FControls.begin();
    if (AFirst) {
        start = std::find(FControls.begin(), FControls.end(), AFirst);
        if (start == FControls.end())
            return;
    }
    TRect clip;
    GetClipBox(ADC, &clip);
    for (auto it = start; it != FControls.end(); ++it) {
        TControl* c = *it;
        if (!c->Visible())
            continue;
        TRect r = c->BoundsRect();
        if (r.Right <= clip.Left || r.Left >= clip.Right || r.Bottom <= clip.Top || r.Top >= clip.Bottom)
            continue;
        int saved = SaveDC(ADC);
        OffsetViewportOrgEx(ADC, r.Left, r.Top, nullptr);
        IntersectClipRect(ADC, 0, 0, r.Width(), r.Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(ADC), 0);
        RestoreDC(ADC, saved);
    }
}

void TWinControl::PaintHandler(TMessage& AMessage)
{
    HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
    PAINTSTRUCT paint;
    bool own = dc == nullptr;
    if (own)
        dc = BeginPaint(FHandle, paint);
    TRect area;
    GetClipBox(dc, &area);
    if (FDoubleBuffered && own && area.Width() > 0 && area.Height() > 0) {
        // Draw the update area off-screen first so that layered painting does not flicker.
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, area.Width(), area.Height());
        HGDIOBJ old = SelectObject(memory, bitmap);
        SetWindowOrgEx(memory, area.Left, area.Top, nullptr);
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(memory));
        PaintWindow(memory);
        PaintControls(memory, nullptr);
        SetWindowOrgEx(memory, 0, 0, nullptr);
        BitBlt(dc, area.Left, area.Top, area.Width(), area.Height(), memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    } else {
        PaintWindow(dc);
        PaintControls(dc, nullptr);
    }
    if (own)
        EndPaint(FHandle, paint);
}

bool TWinControl::RouteMouseToChild(TMessage& AMessage)
{
    TControl* target = nullptr;
    TControl* capture = GetCaptureControl();
    TPoint at = LParamToPoint(AMessage.LParam);
    if (capture && capture->Parent() == this && !dynamic_cast<TWinControl*>(capture))
        target = capture;
    else if (!capture || capture == this)
        target = ControlAtPos(at, false);
    if (!target) {
        if (AMessage.Msg == WM_MOUSEMOVE)
            SetMouseOverControl(this);
        return false;
    }
    if (AMessage.Msg == WM_MOUSEMOVE) {
        // A captured control hears enter and leave by where the pointer really is.
        TControl* under = capture == target ? ControlAtPos(at, false) : target;
        SetMouseOverControl(under == target ? target : (under ? under : this));
    }
    TMessage routed = AMessage;
    routed.LParam = PointToLParam({at.X - target->Left(), at.Y - target->Top()});
    target->WindowProc(routed);
    AMessage.Result = routed.Result;
    return true;
}

bool TWinControl::DoKeyDown(TMessage& AMessage)
{
    WORD key = static_cast<WORD>(AMessage.WParam);
    TShiftState shift = KeyboardShiftState();
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        static_cast<TWinControl*>(form)->KeyDown(key, shift);
        if (key == 0)
            return true;
    }
    KeyDown(key, shift);
    AMessage.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& AMessage)
{
    WORD key = static_cast<WORD>(AMessage.WParam);
    TShiftState shift = KeyboardShiftState();
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        static_cast<TWinControl*>(form)->KeyUp(key, shift);
        if (key == 0)
            return true;
    }
    KeyUp(key, shift);
    AMessage.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& AMessage)
{
    char32_t key = static_cast<char32_t>(AMessage.WParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        static_cast<TWinControl*>(form)->KeyPress(key);
        if (key == 0)
            return true;
    }
    KeyPress(key);
    AMessage.WParam = key;
    return key == 0;
}

void TWinControl::KeyDown(WORD& AKey, TShiftState AShift)
{
    if (OnKeyDown)
        OnKeyDown(this, AKey, AShift);
}

void TWinControl::KeyUp(WORD& AKey, TShiftState AShift)
{
    if (OnKeyUp)
        OnKeyUp(this, AKey, AShift);
}

void TWinControl::KeyPress(char32_t& AKey)
{
    if (OnKeyPress)
        OnKeyPress(this, AKey);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::TextChanged()
{
    if (FHandle)
        SetWindowText(FHandle, FText);
}

std::string TWinControl::GetText()
{
    return FHandle ? GetWindowText(FHandle) : FText;
}

void TWinControl::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_PAINT:
        PaintHandler(AMessage);
        return;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
        if (!ControlStyle().Contains(csOpaque)) {
            TRect r = ClientRect();
            HBRUSH brush = CreateSolidBrush(ColorRefOf(Color()));
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
        AMessage.Result = 1;
        return;
    }
    case WM_WINDOWPOSCHANGING: {
        // Sizes that come from the window layer itself (the user's sizing, SetWindowPos) keep the limits too;
        // a minimized window's caption strip is not the control's size.
        auto* pos = reinterpret_cast<WINDOWPOS*>(AMessage.LParam);
        if (!(pos->flags & SWP_NOSIZE) && FHandle && !IsIconic(FHandle))
            Constraints()->Apply(pos->cx, pos->cy);
        break;
    }
    case WM_GETMINMAXINFO: {
        DefaultHandler(AMessage);
        auto* info = reinterpret_cast<MINMAXINFO*>(AMessage.LParam);
        const TSizeConstraints& limits = *Constraints();
        if (limits.MinWidth() > 0)
            info->ptMinTrackSize.X = limits.MinWidth();
        if (limits.MinHeight() > 0)
            info->ptMinTrackSize.Y = limits.MinHeight();
        if (limits.MaxWidth() > 0)
            info->ptMaxTrackSize.X = limits.MaxWidth();
        if (limits.MaxHeight() > 0)
            info->ptMaxTrackSize.Y = limits.MaxHeight();
        return;
    }
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(AMessage);
        if (FHandle)
            UpdateBoundsFromWindow();
        return;
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this))
            if (form != this || !form->ActiveControl())
                form->SetFocusedControl(this);
        break;
    case WM_SETCURSOR:
        if (LOWORD(AMessage.LParam) == HTCLIENT && reinterpret_cast<HWND>(AMessage.WParam) == FHandle) {
            TCursor cursor = ::Screen ? ::Screen->Cursor() : crDefault;
            if (cursor == crDefault) {
                TPoint at;
                GetCursorPos(at);
                TControl* control = ControlAtPos(ScreenToClient(at), false);
                cursor = control ? control->Cursor() : Cursor();
            }
            if (cursor != crDefault && ::Screen) {
                win::SetCursor(::Screen->Cursors(cursor));
                AMessage.Result = 1;
                return;
            }
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (Application)
            Application->CancelHint();
        if (DoKeyDown(AMessage))
            return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (DoKeyUp(AMessage))
            return;
        break;
    case WM_CHAR:
        if (DoKeyPress(AMessage))
            return;
        break;
    case WM_SETTEXT:
        DefaultHandler(AMessage);
        FText = GetWindowText(FHandle);
        return;
    case WM_NCDESTROY:
        DefaultHandler(AMessage);
        FHandle = nullptr;
        return;
    case WM_CONTEXTMENU: {
        // A windowless child under the pointer has the first say.
        TPoint at = LParamToPoint(AMessage.LParam);
        if (AMessage.Result == 0 && !(at.X == -1 && at.Y == -1) && FHandle)
            if (TControl* child = ControlAtPos(ScreenToClient(at), false))
                AMessage.Result = child->Perform(WM_CONTEXTMENU, AMessage.WParam, AMessage.LParam);
        if (AMessage.Result != 0)
            return;
        break;
    }
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case CM_FOCUSCHANGED:
        // Every control hears which one has the focus now (a default button takes its look from it).
        for (Integer i = 0; i < ControlCount(); ++i)
            Controls(i)->Perform(AMessage.Msg, AMessage.WParam, AMessage.LParam);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        // Offered to every child until one takes it (default buttons, accelerators).
        for (Integer i = 0; i < ControlCount(); ++i)
            if (Controls(i)->Perform(AMessage.Msg, AMessage.WParam, AMessage.LParam) != 0) {
                AMessage.Result = 1;
                return;
            }
        return;
    case CM_FONTCHANGED:
    case CM_PARENTFONTCHANGED:
        TControl::WndProc(AMessage);
        NotifyControls(CM_PARENTFONTCHANGED);
        return;
    case CM_COLORCHANGED:
    case CM_PARENTCOLORCHANGED:
        TControl::WndProc(AMessage);
        NotifyControls(CM_PARENTCOLORCHANGED);
        return;
    case CM_SHOWHINTCHANGED:
    case CM_PARENTSHOWHINTCHANGED:
        TControl::WndProc(AMessage);
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        return;
    case CM_ENABLEDCHANGED:
        TControl::WndProc(AMessage);
        return;
    default:
        if (IsMouseMessage(AMessage.Msg) && RouteMouseToChild(AMessage)) {
            // What the windowless child left alone still has the window's default meaning (a right-button
            // release asks for the context menu).
            if (AMessage.Result == 0 && FHandle)
                AMessage.Result = DefWindowProc(FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
            return;
        }
        break;
    }
    TControl::WndProc(AMessage);
}

void TWinControl::DefaultHandler(TMessage& AMessage)
{
    if (!FHandle) {
        AMessage.Result = 0;
        return;
    }
    WNDPROC proc = FDefWndProc ? FDefWndProc : &DefWindowProc;
    AMessage.Result = CallWindowProc(proc, FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
}
