#pragma once
// The skinned tool bar: a panel holding a row of tool buttons. It keeps plain children vertically centred, lends
// its speed buttons its skin, flat style, image lists and caption mode, and scrolls a row wider than itself with
// two small arrow buttons in its non-client area, clicked, held, or (hot scrolling) merely pointed at.
#include "skin/controls/panel.h"
#include "skin/controls/speed_button.h"
#include "skin/controls/tool_bar_scroll.h"

class TspDataSkinButtonControl;

// Hit codes of the left and right arrow button.
constexpr win::LRESULT kToolBarLeftArrowHit = 119;
constexpr win::LRESULT kToolBarRightArrowHit = 120;

class TspSkinToolBar : public TspSkinPanel, public TspButtonImageSource, public TspCentringParent {
public:
    explicit TspSkinToolBar(TComponent* AOwner);
    ~TspSkinToolBar() override;

    bool AdjustControls() const { return FAdjustControls; }
    void SetAdjustControls(bool AValue) { FAdjustControls = AValue; }
    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool AValue) { FCanScroll = AValue; }
    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool AValue) { FHotScroll = AValue; }
    Integer ScrollOffset() const { return FScrollOffset; }
    // Negative values are ignored; 0 scrolls by the client width.
    void SetScrollOffset(Integer AValue);
    Integer ScrollTimerInterval() const { return FScrollTimerInterval; }
    // Values below 1 are ignored.
    void SetScrollTimerInterval(Integer AValue);
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool AValue);
    bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
    void SetAutoShowHideCaptions(bool AValue) { FAutoShowHideCaptions = AValue; }
    // The bar's width with and without captions; used when both are set.
    Integer WidthWithCaptions = 0, WidthWithoutCaptions = 0;
    bool Flat() const { return FFlat; }
    void SetFlat(bool AValue);
    TCustomImageList* Images() override { return FImages; }
    void SetImages(TCustomImageList* AValue);
    TCustomImageList* HotImages() override { return FHotImages; }
    void SetHotImages(TCustomImageList* AValue);
    TCustomImageList* DisabledImages() override { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* AValue);

    // Also gives the skin to every speed button on the bar.
    void SetSkinData(TspSkinData* AValue) override;
    void GetSkinData() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void AdjustClientRect(TRect& ARect) override;
    bool CentresControls() const override { return FAdjustControls; }
    TRect SkinClientRect() override { return GetSkinClientRect(); }

    // Measures the row against the bar again (after children came or went) and shows or hides the arrows.
    void UpdateScrollRange();
    const TspToolBarScroll& Scroll() const { return FScroll; }
    // 0 idle, 1 scrolling left, 2 scrolling right.
    Integer TimerMode() const { return FTimerMode; }

protected:
    void DrawSkinnedImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    struct TArrowButton {
        TRect R;
        bool MouseIn = false, Down = false;
    };
    template <typename TFunction>
    void ForEachSpeedButton(TFunction AFunction);
    void ShowArrows(bool AShow);
    void MoveChildren(Integer ADeltaX);
    void StartTimer(Integer AMode);
    void StopTimer();
    void ScrollStep(bool ARight);
    void PaintArrows();
    void DrawArrow(TCanvas* ACanvas, const TArrowButton& AButton, bool ARight);
    // The arrow (0 left, 1 right) under a screen point, -1 none.
    Integer ArrowAt(win::LPARAM APoint);
    void CentrePlainChildren();
    void LeaveArrows();

    bool FAdjustControls = true, FCanScroll = false, FHotScroll = false;
    Integer FScrollOffset = 0, FScrollTimerInterval = 50;
    bool FShowCaptions = false, FAutoShowHideCaptions = false, FFlat = false;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    TArrowButton FButtons[2];
    Integer FTimerMode = 0;
    TspToolBarScroll FScroll;
    // The skin's "resizebutton" record for the arrows; nullptr: the plain look.
    TspDataSkinButtonControl* ButtonData = nullptr;
};
