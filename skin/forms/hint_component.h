#pragma once
// The hint component: switches the application to the skinned hint window, carries the hint settings (font,
// skin, translucency, line separator), hands a skinned control's hint title and image to the next hint, and
// shows delayed hints for skin parts that have no control of their own (pending, shown, hidden).
// One component is active at a time; the hint windows look it up among the main form's components.
#include <memory>
#include <string>

#include "platform/gui/application.h"
#include "platform/gui/image_list.h"
#include "skin/core/skin_data.h"
#include "skin/forms/hint_window_skin.h"
#include "skin/forms/skin_form.h"

class TFont;
class TTimer;

class TspSkinHint : public TspSkinHintBase {
public:
    explicit TspSkinHint(TComponent* AOwner);
    ~TspSkinHint() override;

    bool Active() const { return FActive; }
    void SetActive(bool AValue);
    TspSkinData* SkinData() const { return FSD; }
    void SetSkinData(TspSkinData* AValue);
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    bool UseSkinFont = true;
    bool AlphaBlendSupport() const { return FAlphaBlendSupport; }
    // Stays off where the system has no layered windows.
    void SetAlphaBlendSupport(bool AValue);
    bool AlphaBlend = false;
    Byte AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    const std::string& LineSeparator() const { return FLineSeparator; }
    // A separator holding a line feed or carriage return is refused (EInvalidArgument).
    void SetLineSeparator(const std::string& AValue);
    TShowHintEvent OnShowHint;

    // The application's show-hint handler: takes the title and image of a skinned control.
    void AppShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo);

    // Immediate hints at P.
    void ActivateHint(TPoint P, const std::string& AHint);
    void ActivateHintEx(TPoint P, const std::string& AHintTitle, const std::string& AHint, Integer AImageIndex,
                        TCustomImageList* AImageList);
    // Delayed hints: at the cursor, or beside AFromRect (above it with ATop). Each request replaces a pending one.
    void ActivateHint2(const std::string& AHint) override;
    void ActivateHintEx2(const std::string& AHintTitle, const std::string& AHint, Integer AImageIndex,
                         TCustomImageList* AImageList);
    void ActivateHint3(const TRect& AFromRect, const std::string& AHint, bool ATop);
    void HideHint() override;
    bool IsVisible() const;
    // Rows between the cursor's hot spot and its lowest row.
    Integer GetCursorHeightMargin() const;

    enum class TDelayState { Idle, Pending, Shown };
    TDelayState DelayState() const { return FDelayState; }
    TspSkinHintWindow* Window() const { return HW; }

    // The title and image the next hint shows (copied from a skinned control, or given to ActivateHintEx*).
    const std::string& HintTitle() const { return FHintTitle; }
    Integer HintImageIndex() const { return FHintImageIndex; }
    TCustomImageList* HintImageList() const { return FHintImageList; }

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    enum class TDelayKind { AtCursor, AtCursorEx, FromRect };
    void Install();
    void ClearTitle();
    void StartDelay(TDelayKind AKind, const std::string& AHint);
    void DelayTimerProc();
    void StopDelay();
    bool Designing() const { return ComponentState().Contains(csDesigning); }

    bool FActive = true;
    TspSkinData* FSD = nullptr;
    TspSkinHintWindow* HW = nullptr;
    bool FAlphaBlendSupport = true;
    std::unique_ptr<TFont> FDefaultFont;
    TTimer* HintTimer = nullptr;
    TDelayKind FDelayKind = TDelayKind::AtCursor;
    TDelayState FDelayState = TDelayState::Idle;
    std::string HintText;
    std::string FLineSeparator = "@";
    std::string FHintTitle;
    Integer FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;
    TRect FromRect;
    bool Top = false;
    // What the application had before this component installed itself, handed back when it goes.
    TShowHintEvent FPreviousShowHint;
    THintWindowClass FPreviousHintWindowClass;
    bool FInstalled = false;
};

// The active hint component among the main form's components, in their order; nullptr without one.
TspSkinHint* FindActiveSkinHint();
// Whether AHint is a hint component that still exists.
bool IsSkinHintAlive(const TspSkinHint* AHint);
