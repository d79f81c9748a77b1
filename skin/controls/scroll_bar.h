#pragma once
// A scroll bar drawn entirely from the skin ("hscrollbar", "vscrollbar", "bothhscrollbar") or in the plain look:
// stand-alone on a form, or the external bar that memos, views and lists mirror their scroll state into with
// SetRange and SimplySetPosition (neither raises OnChange) and scroll themselves from through OnChange.
#include <string>

#include "skin/controls/repeat_timer.h"
#include "skin/controls/scroll_bar_layout.h"
#include "skin/controls/skin_custom_control.h"

class TspSkinScrollBar : public TspSkinCustomControl {
public:
    explicit TspSkinScrollBar(TComponent* AOwner);
    ~TspSkinScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind AValue);
    Integer Min() const { return FMin; }
    void SetMin(Integer AValue);
    Integer Max() const { return FMax; }
    void SetMax(Integer AValue);
    Integer Position() const { return FPosition; }
    // Clamped; a real change repaints and raises OnChange.
    void SetPosition(Integer AValue);
    // The same without OnChange.
    void SimplySetPosition(Integer AValue);
    // Range, page and position at once, without OnChange.
    void SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize);
    Integer PageSize() const { return FPageSize; }
    // A page that does not fit the range is refused.
    void SetPageSize(Integer AValue);
    Integer SmallChange() const { return FSmallChange; }
    void SetSmallChange(Integer AValue);
    Integer LargeChange() const { return FLargeChange; }
    void SetLargeChange(Integer AValue);
    bool Both() const { return FBoth; }
    void SetBoth(bool AValue);
    Integer BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(Integer AValue);
    std::string BothSkinDataName = "bothhscrollbar";
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool AValue);

    TNotifyEvent OnChange;
    TNotifyEvent OnLastChange;
    // When assigned they replace the arrow buttons' position step.
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnPageUp;
    TNotifyEvent OnPageDown;

    void GetSkinData() override;
    void FitSizeToSkin(Integer& AWidth, Integer& AHeight) override;

    // The parts at the current size and state, as the last layout left them.
    const TspScrollBarLayout& Layout() const { return FLayout; }
    void ComputeLayout();

    // Part records: 0 the thumb, 1 the up button (steps up), 2 the down button.
    struct TPart {
        TRect R;
        bool MouseIn = false;
        bool Down = false;
    };
    static constexpr Integer kThumb = 0, kUpButton = 1, kDownButton = 2;
    const TPart& Part(Integer AIndex) const { return Buttons[AIndex]; }
    Integer ActiveButton() const { return FActiveButton; }
    Integer CaptureButton() const { return FCaptureButton; }
    // 0 none, 1 down-button repeat, 2 up-button repeat, 3 page-up repeat, 4 page-down repeat.
    Integer TimerMode() const { return FTimerMode; }

protected:
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseMove(TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void KeyDown(win::WORD& AKey, TShiftState AShift) override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;

private:
    TspScrollBarState State() const;
    bool SkinnedRecord() const { return Skinned() && FHasRecord; }
    Integer HitTest(int AX, int AY) const;
    void UpdateHotPart(int AX, int AY);
    void SetPartMouseIn(Integer APart, bool AValue);
    void StepUp();
    void StepDown();
    void StopRepeat();
    void RepeatTick();
    void PressPart(Integer APart, int AX, int AY);
    void PressTrack(int AX, int AY);
    void HandleMouseLeave();
    bool ThumbPressedLook();
    void PaintIntoDC(win::HDC ADC);
    void DrawSkinnedArrow(TCanvas* ACanvas, Integer APart);
    void DrawSkinnedThumb(TBitmap* B);

    TScrollBarKind FKind = sbHorizontal;
    Integer FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
    Integer FSmallChange = 1, FLargeChange = 1;
    bool FBoth = false;
    Integer FBothMarkerWidth = 0;
    bool FCanFocused = false;
    bool FClicksDisabled = false;
    std::string FNormalSkinDataName;

    TPart Buttons[3];
    Integer FActiveButton = -1, FOldActiveButton = -1, FCaptureButton = -1;
    Integer FTimerMode = 0;
    TspRepeatTimer FRepeat;
    bool MouseD = false, FDown = false;
    Integer OMPos = 0, OldBOffset = 0, MX = 0, MY = 0;
    TspScrollBarLayout FLayout;

    // Copied from a scroll-bar record at every lookup.
    bool FHasRecord = false;
    TspScrollBarSkinParts FSkinParts;
    TRect ActiveUpButtonRect, DownUpButtonRect, ActiveDownButtonRect, DownDownButtonRect, ActiveThumbRect,
        DownThumbRect, GlyphRect, ActiveGlyphRect, DownGlyphRect;
    Integer ThumbOffset1 = 0, ThumbOffset2 = 0;
    bool ThumbTransparent = false, GlyphTransparent = false, ThumbStretchEffect = false;
    TColor ThumbTransparentColor = 0, GlyphTransparentColor = 0;
};
