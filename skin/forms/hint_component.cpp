#include "skin/forms/hint_component.h"

#include <algorithm>
#include <vector>

#include "platform/gui/forms.h"
#include "platform/gui/graphics.h"
#include "platform/gui/timer.h"
#include "platform/rtl/exceptions.h"
#include "platform/win/input.h"
#include "platform/win/styles.h"
#include "platform/win/win.h"
#include "skin/controls/skin_control.h"
#include "skin/core/platform_gates.h"

namespace {
// Components alive now: a handler left behind in the application calls only into one of these.
std::vector<TspSkinHint*>& LiveHints()
{
    static std::vector<TspSkinHint*> live;
    return live;
}

bool IsLive(TspSkinHint* AHint)
{
    auto& live = LiveHints();
    return std::find(live.begin(), live.end(), AHint) != live.end();
}

// The show-hint handler a component puts into the application; recognisable, so the component can take it back.
struct TAppShowHintThunk {
    TspSkinHint* Owner;
    void operator()(std::string& AHintStr, bool& ACanShow, THintInfo& AHintInfo) const
    {
        if (IsLive(Owner)) Owner->AppShowHint(AHintStr, ACanShow, AHintInfo);
    }
};

bool IsThunkOf(const TShowHintEvent& AHandler, const TspSkinHint* AOwner)
{
    const auto* thunk = AHandler.target<TAppShowHintThunk>();
    return thunk && (AOwner == nullptr || thunk->Owner == AOwner);
}
}  // namespace

bool IsSkinHintAlive(const TspSkinHint* AHint)
{
    return AHint && IsLive(const_cast<TspSkinHint*>(AHint));
}

TspSkinHint* FindActiveSkinHint()
{
    TCustomForm* form = Application ? Application->MainForm() : nullptr;
    if (!form) return nullptr;
    for (Integer i = 0; i < form->ComponentCount(); ++i)
        if (auto* hint = dynamic_cast<TspSkinHint*>(form->Components(i)); hint && hint->Active()) return hint;
    return nullptr;
}

TspSkinHint::TspSkinHint(TComponent* AOwner) : TspSkinHintBase(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    LiveHints().push_back(this);
    HW = new TspSkinHintWindow(this);
    if (!Designing()) Install();
}

TspSkinHint::~TspSkinHint()
{
    StopDelay();
    auto& live = LiveHints();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    // Hand back what was installed, so that no later hint calls into this freed component.
    if (Application && FInstalled && IsThunkOf(Application->OnShowHint, this)) {
        Application->OnShowHint = FPreviousShowHint;
        if (!IsThunkOf(FPreviousShowHint, nullptr)) {
            Application->HintWindowClass = FPreviousHintWindowClass;
            const bool show = Application->ShowHint();
            Application->SetShowHint(false);
            Application->SetShowHint(show);
        }
    }
}

void TspSkinHint::Install()
{
    if (!Application) return;
    if (!IsThunkOf(Application->OnShowHint, nullptr)) {
        FPreviousShowHint = Application->OnShowHint;
        FPreviousHintWindowClass = Application->HintWindowClass;
    } else if (!IsThunkOf(Application->OnShowHint, this)) {
        // Another component's handler stands there: take over what it saved, not its handler.
        const auto* other = Application->OnShowHint.target<TAppShowHintThunk>();
        if (IsLive(other->Owner)) {
            FPreviousShowHint = other->Owner->FPreviousShowHint;
            FPreviousHintWindowClass = other->Owner->FPreviousHintWindowClass;
        }
    }
    if (!FInstalled) {
        Application->HintWindowClass = HintWindowClassOf<TspSkinHintWindow>();
        // The application makes its hint window anew, of the new class.
        Application->SetShowHint(false);
        Application->SetShowHint(true);
        Application->HintShortPause = 100;
    }
    Application->OnShowHint = TAppShowHintThunk{this};
    FInstalled = true;
}

void TspSkinHint::SetActive(bool AValue)
{
    FActive = AValue;
    if (!AValue) return;
    if (Application && Application->MainForm()) {
        TCustomForm* form = Application->MainForm();
        for (Integer i = 0; i < form->ComponentCount(); ++i)
            if (auto* other = dynamic_cast<TspSkinHint*>(form->Components(i)); other && other != this)
                other->FActive = false;
    }
    if (!Designing()) Install();
}

void TspSkinHint::SetSkinData(TspSkinData* AValue)
{
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = AValue;
    if (FSD) FSD->FreeNotification(this);
}

void TspSkinHint::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinHintBase::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FHintImageList) FHintImageList = nullptr;
}

void TspSkinHint::SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }

void TspSkinHint::SetAlphaBlendSupport(bool AValue)
{
    FAlphaBlendSupport = AValue && (Designing() || HasSetLayeredWindowAttributes());
}

void TspSkinHint::SetLineSeparator(const std::string& AValue)
{
    if (AValue.find_first_of("\r\n") != std::string::npos)
        throw EInvalidArgument("A hint line separator cannot hold a line break");
    FLineSeparator = AValue;
}

void TspSkinHint::ClearTitle()
{
    FHintTitle.clear();
    FHintImageIndex = 0;
    FHintImageList = nullptr;
}

void TspSkinHint::AppShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)
{
    ClearTitle();
    if (auto* c = dynamic_cast<TspSkinControl*>(HintInfo.HintControl)) {
        FHintTitle = c->HintTitle();
        FHintImageIndex = c->HintImageIndex();
        FHintImageList = c->HintImageList();
    } else if (auto* g = dynamic_cast<TspGraphicSkinControl*>(HintInfo.HintControl)) {
        FHintTitle = g->HintTitle();
        FHintImageIndex = g->HintImageIndex();
        FHintImageList = g->HintImageList();
    }
    if (OnShowHint) OnShowHint(HintStr, CanShow, HintInfo);
}

void TspSkinHint::ActivateHint(TPoint P, const std::string& AHint)
{
    ClearTitle();
    HW->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), AHint);
}

void TspSkinHint::ActivateHintEx(TPoint P, const std::string& AHintTitle, const std::string& AHint,
                                 Integer AImageIndex, TCustomImageList* AImageList)
{
    HW->ActivateHintEx(Rect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
}

void TspSkinHint::ActivateHint2(const std::string& AHint)
{
    StartDelay(TDelayKind::AtCursor, AHint);
    ClearTitle();
}

void TspSkinHint::ActivateHintEx2(const std::string& AHintTitle, const std::string& AHint, Integer AImageIndex,
                                  TCustomImageList* AImageList)
{
    StartDelay(TDelayKind::AtCursorEx, AHint);
    FHintTitle = AHintTitle;
    FHintImageIndex = AImageIndex;
    FHintImageList = AImageList;
}

void TspSkinHint::ActivateHint3(const TRect& AFromRect, const std::string& AHint, bool ATop)
{
    FromRect = AFromRect;
    Top = ATop;
    StartDelay(TDelayKind::FromRect, AHint);
    ClearTitle();
}

void TspSkinHint::StartDelay(TDelayKind AKind, const std::string& AHint)
{
    StopDelay();
    HintText = AHint;
    FDelayKind = AKind;
    // One timer for the component's life: a hide fired from its own handler cannot free it under itself.
    if (!HintTimer) {
        HintTimer = new TTimer(this);
        HintTimer->SetEnabled(false);
        HintTimer->SetOnTimer([this](TObject*) { DelayTimerProc(); });
    }
    HintTimer->SetInterval(static_cast<Cardinal>(std::max(1, Application ? Application->HintPause : 500)));
    HintTimer->SetEnabled(true);
    FDelayState = TDelayState::Pending;
}

void TspSkinHint::StopDelay()
{
    if (HintTimer) HintTimer->SetEnabled(false);
    FDelayState = TDelayState::Idle;
}

void TspSkinHint::DelayTimerProc()
{
    if (FDelayState == TDelayState::Shown) {
        HideHint();
        return;
    }
    if (FDelayState != TDelayState::Pending) return;
    HintTimer->SetEnabled(false);
    if (FDelayKind == TDelayKind::FromRect) {
        HW->ActivateHintFromRect(FromRect, HintText, Top);
    } else {
        TPoint p{0, 0};
        win::GetCursorPos(p);
        p.Y += GetCursorHeightMargin();
        if (FDelayKind == TDelayKind::AtCursorEx)
            HW->ActivateHintEx(Rect(p.X, p.Y, p.X, p.Y), FHintTitle, HintText, FHintImageIndex, FHintImageList);
        else
            HW->ActivateHint(Rect(p.X, p.Y, p.X, p.Y), HintText);
    }
    HintTimer->SetInterval(static_cast<Cardinal>(std::max(1, Application ? Application->HintHidePause : 2500)));
    HintTimer->SetEnabled(true);
    FDelayState = TDelayState::Shown;
}

void TspSkinHint::HideHint()
{
    StopDelay();
    if (IsVisible()) {
        HW->ReleaseHandle();
        ClearTitle();
    }
}

bool TspSkinHint::IsVisible() const { return HW && HW->Visible(); }

Integer TspSkinHint::GetCursorHeightMargin() const
{
    // The cursor's picture cannot be read back here: its system height stands in for its lowest row.
    return win::GetSystemMetrics(win::SM_CYCURSOR);
}
