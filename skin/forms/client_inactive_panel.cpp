#include "skin/forms/client_inactive_panel.h"

#include "platform/win/painting.h"

using namespace win;

namespace {
constexpr Integer kBlurRadius = 3;
// The background over the snapshot, out of 255.
constexpr Byte kBackgroundAlpha = 170;
}  // namespace

TspClientInActivePanel::TspClientInActivePanel(TComponent* AOwner) : TspSkinPaintPanel(AOwner)
{
    SetVisible(false);
}

TspClientInActivePanel::~TspClientInActivePanel() = default;

void TspClientInActivePanel::ShowPanel(TCustomForm* AForm, TspClientInActiveEffect AEffect)
{
    if (!AForm || !AForm->Visible() || !AForm->HandleAllocated()) return;
    const Integer w = AForm->ClientWidth(), h = AForm->ClientHeight();
    if (w <= 0 || h <= 0) return;
    SetVisible(false);
    SetParent(AForm);
    SetBounds(0, 0, w, h);
    FBuffer = std::make_unique<TspBitmap>();
    FBuffer->SetSize(w, h);
    PrintClientArea(AForm->Handle(), FBuffer->DC());
    if (AEffect == spieBlur) {
        BlurBitmap(FBuffer.get(), kBlurRadius);
    } else {
        TspBitmap background;
        background.SetSize(w, h);
        SendMessage(AForm->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(background.DC()), 0);
        background.SetAlpha(kBackgroundAlpha);
        background.SetAlphaBlend(true);
        background.Draw(FBuffer.get(), 0, 0);
    }
    SetVisible(true);
    BringToFront();
}

void TspClientInActivePanel::HidePanel()
{
    SetVisible(false);
    FBuffer.reset();
}

void TspClientInActivePanel::Paint()
{
    if (FBuffer) FBuffer->Draw(Canvas(), 0, 0);
}

// --- The form's side ---

void TspCorvalis::ShowClientInActiveEffect()
{
    HideClientInActiveEffect();
    FInActivePanel = new TspClientInActivePanel(this);
    FClientInActiveDraw = true;
    FInActivePanel->ShowPanel(FForm, FClientInActiveEffectType);
    FClientInActiveDraw = false;
}

void TspCorvalis::HideClientInActiveEffect()
{
    if (!FInActivePanel) return;
    FInActivePanel->HidePanel();
    delete FInActivePanel;
    FInActivePanel = nullptr;
}
