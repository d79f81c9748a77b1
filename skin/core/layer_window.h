#pragma once
// Per-pixel-alpha popup layers (glow frames, the form's glow and menu layers), faded in on a 25 ms timer.
#include <memory>

#include "platform/gui/controls.h"
#include "platform/gui/timer.h"
#include "skin/core/skin_bitmap.h"

class TBitmap;

// A borderless popup that never takes the focus and lets the mouse through to the windows below.
class TspLayerWindow : public TCustomControl {
public:
    explicit TspLayerWindow(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
};

class TspLayerManager : public TComponent {
public:
    explicit TspLayerManager(TComponent* AOwner);
    ~TspLayerManager() override;

    void Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask, Integer AAlphaBlendValue);
    void Hide();

    TspLayerWindow* LayerWindow = nullptr;
    std::unique_ptr<TspBitmap> Bmp;
    TTimer* Timer = nullptr;
    Integer EndAlphaBlendValue = 0;
    Integer BeginAlphaBlendValue = 0;
    Integer StepAlphaBlendValue = 0;
    bool IsVisible = false;
    bool TopMostMode = true;

private:
    void StartTimer();
    void StopTimer();
    void FadeStep(TObject* Sender);
};

// Dest becomes AImage with AImageMask's grey level as premultiplied per-pixel alpha.
void BuildLayerBitmap(TBitmap* AImage, TBitmap* AImageMask, TspBitmap* Dest);
// Pushes Bmp (premultiplied) into Wnd's layered window at Wnd's place, under a constant alpha.
void UpdateLayeredAlpha(TspBitmap* Bmp, Byte Alpha, TWinControl* Wnd);
// A constant alpha for a window that already has the layered style.
void SetWindowAlpha(win::HWND Wnd, Byte Alpha);
