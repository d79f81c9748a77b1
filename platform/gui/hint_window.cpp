#include "platform/gui/hint_window.h"

#include "platform/gdi/gdi.h"

using namespace win;

namespace {
constexpr int kHintPaddingX = 4;
constexpr int kHintPaddingY = 2;
constexpr UINT kHintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    TControl::SetVisible(false);
    SetColor(clInfoBk);
    SetParentFont(false);
    Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& AParams)
{
    TCustomControl::CreateParams(AParams);
    AParams.Style = WS_POPUP | WS_BORDER;
    AParams.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    AParams.WndParent = nullptr;
    AParams.ClassStyle = CS_SAVEBITS | CS_DROPSHADOW;
    AParams.WinClassName = "TQuennaryHintWindow";
}

TRect THintWindow::CalcHintRect(Integer AMaxWidth, const std::string& AHint, void*)
{
    HDC dc = GetDC(nullptr);
    TRect r = Rect(0, 0, AMaxWidth, 0);
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Font()->Assign(Font());
        DrawText(canvas.Handle(), AHint, &r, kHintTextFlags | DT_CALCRECT);
        canvas.SetHandle(nullptr);
    }
    ReleaseDC(nullptr, dc);
    int border = 2 * GetSystemMetrics(SM_CXBORDER);
    r.Right += 2 * kHintPaddingX + border;
    r.Bottom += 2 * kHintPaddingY + border;
    return r;
}

void THintWindow::ActivateHint(const TRect& ARect, const std::string& AHint)
{
    SetCaption(AHint);
    HandleNeeded();
    SetWindowPos(Handle(), HWND_TOPMOST, ARect.Left, ARect.Top, ARect.Width(), ARect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    TControl::SetVisible(true);
    Invalidate();
    Update();
}

void THintWindow::ReleaseHandle()
{
    if (HandleAllocated() && IsWindowVisible(Handle()))
        ShowWindow(Handle(), SW_HIDE);
    TControl::SetVisible(false);
}

void THintWindow::Paint()
{
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
    r = Rect(r.Left + kHintPaddingX, r.Top + kHintPaddingY, r.Right - kHintPaddingX, r.Bottom - kHintPaddingY);
    SetBkMode(Canvas()->Handle(), TRANSPARENT);
    SetTextColor(Canvas()->Handle(), ColorRefOf(Font()->Color()));
    std::string text = Caption();
    DrawText(Canvas()->Handle(), text, &r, kHintTextFlags);
}

void THintWindow::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == WM_NCHITTEST) {
        AMessage.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::WndProc(AMessage);
}
