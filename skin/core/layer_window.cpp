#include "skin/core/layer_window.h"

#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/win/win.h"
#include "skin/core/blur.h"
#include "skin/core/platform_gates.h"

TspLayerWindow::TspLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) {}

void TspLayerWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = win::WS_POPUP;
    Params.ExStyle = win::WS_EX_TOOLWINDOW | win::WS_EX_TRANSPARENT;
    Params.ClassStyle |= win::CS_SAVEBITS;
}

void TspLayerWindow::WndProc(TMessage& Message) {
    if (Message.Msg == win::WM_MOUSEACTIVATE) {
        Message.Result = win::MA_NOACTIVATE;
        return;
    }
    TCustomControl::WndProc(Message);
}

TspLayerManager::TspLayerManager(TComponent* AOwner) : TComponent(AOwner) {
    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(25);
    Timer->SetOnTimer([this](TObject* Sender) { FadeStep(Sender); });
}

TspLayerManager::~TspLayerManager() {
    delete Timer;
    Timer = nullptr;
    delete LayerWindow;
    LayerWindow = nullptr;
    Bmp.reset();
}

void TspLayerManager::StartTimer() {
    BeginAlphaBlendValue = 0;
    Timer->SetEnabled(true);
}

void TspLayerManager::StopTimer() { Timer->SetEnabled(false); }

void TspLayerManager::Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask, Integer AAlphaBlendValue) {
    if (!IsWin2000OrLater()) return;
    if (LayerWindow) Hide();
    IsVisible = true;
    LayerWindow = new TspLayerWindow(this);
    LayerWindow->SetVisible(false);
    LayerWindow->SetBounds(X, Y, AImage->Width(), AImage->Height());
    const win::HWND wnd = LayerWindow->Handle();
    win::SetWindowLong(wnd, win::GWL_EXSTYLE, win::GetWindowLong(wnd, win::GWL_EXSTYLE) | win::WS_EX_LAYERED);
    Bmp = std::make_unique<TspBitmap>();
    BuildLayerBitmap(AImage, AImageMask, Bmp.get());
    UpdateLayeredAlpha(Bmp.get(), 0, LayerWindow);
    win::SetWindowPos(wnd, TopMostMode ? win::HWND_TOPMOST : win::HWND_NOTOPMOST, X, Y, 0, 0,
                      win::SWP_NOACTIVATE | win::SWP_NOSIZE | win::SWP_SHOWWINDOW);
    EndAlphaBlendValue = AAlphaBlendValue;
    // A step of at least one: small end values must still be reached, and the timer must stop there.
    StepAlphaBlendValue = std::max(1, AAlphaBlendValue / 10);
    StartTimer();
}

void TspLayerManager::FadeStep(TObject*) {
    if (!Bmp || !LayerWindow) return;
    BeginAlphaBlendValue = std::min(BeginAlphaBlendValue + StepAlphaBlendValue, EndAlphaBlendValue);
    UpdateLayeredAlpha(Bmp.get(), static_cast<Byte>(std::clamp(BeginAlphaBlendValue, 0, 255)), LayerWindow);
    if (BeginAlphaBlendValue >= EndAlphaBlendValue) StopTimer();
}

void TspLayerManager::Hide() {
    if (!IsWin2000OrLater()) return;
    StopTimer();
    Bmp.reset();
    IsVisible = false;
    if (LayerWindow) {
        win::SetWindowPos(LayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                          win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                              win::SWP_NOACTIVATE);
        delete LayerWindow;
        LayerWindow = nullptr;
    }
}

void BuildLayerBitmap(TBitmap* AImage, TBitmap* AImageMask, TspBitmap* Dest) {
    Dest->Assign(AImage);
    TspBitmap mask;
    mask.Assign(AImageMask);
    MaskToAlpha(Dest, &mask);
    Dest->CheckRGBA();
}

void UpdateLayeredAlpha(TspBitmap* Bmp, Byte Alpha, TWinControl* Wnd) {
    if (!HasUpdateLayeredWindow()) return;
    const win::HDC screen = win::GetDC(nullptr);
    const TPoint dest = Point(Wnd->Left(), Wnd->Top());
    const TSize size{Bmp->Width(), Bmp->Height()};
    const TPoint src = Point(0, 0);
    win::BLENDFUNCTION blend{};
    blend.BlendOp = win::AC_SRC_OVER;
    blend.SourceConstantAlpha = Alpha;
    blend.AlphaFormat = win::AC_SRC_ALPHA;
    win::UpdateLayeredWindow(Wnd->Handle(), screen, &dest, &size, Bmp->DC(), &src, 0, &blend, win::ULW_ALPHA);
    win::ReleaseDC(nullptr, screen);
}

void SetWindowAlpha(win::HWND Wnd, Byte Alpha) {
    if (!HasSetLayeredWindowAttributes()) return;
    win::SetLayeredWindowAttributes(Wnd, 0, Alpha, win::LWA_ALPHA);
}
