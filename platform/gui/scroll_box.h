#pragma once
// Controls whose content can be larger than their client area: the two scroll bars of such a control (range,
// position, step), the scrolling base class, and the scroll box that holds other controls.
#include "platform/gui/controls.h"
#include "platform/win/scrolling.h"

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind) : FControl(AControl), FKind(AKind) {}

    TScrollBarKind Kind() const { return FKind; }
    // The content's extent along this bar. Setting it turns the control's AutoScroll off.
    Integer Range() const { return FRange; }
    void SetRange(Integer AValue);
    // How far the content is scrolled, 0 .. Range - client size; the children move with it.
    Integer Position() const { return FPosition; }
    void SetPosition(Integer AValue);
    Integer Increment() const { return FIncrement; }  // a line step
    void SetIncrement(Integer AValue) { FIncrement = std::max<Integer>(AValue, 1); }
    // Room left after the farthest child when AutoScroll measures the range.
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer AValue);
    bool Visible() const { return FVisible; }
    void SetVisible(bool AValue);
    bool Tracking() const { return FTracking; }
    void SetTracking(bool AValue) { FTracking = AValue; }
    // Shown: allowed and the content does not fit.
    bool IsScrollBarVisible() const;
    // The client size along this bar (the page).
    Integer Page() const;
    // Acts on a WM_HSCROLL / WM_VSCROLL request code (SB_ value) with the thumb position for thumb requests.
    void ScrollMessage(win::WORD ACode, Integer AThumb);

private:
    friend class TScrollingWinControl;
    void SetRangeInternal(Integer AValue);
    win::SCROLLINFO Info() const;
    Integer MaxPosition() const;
    void Update();

    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    Integer FRange = 0;
    Integer FPosition = 0;
    Integer FIncrement = 8;
    Integer FMargin = 0;
    bool FVisible = true;
    bool FTracking = false;
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);

    TControlScrollBar* HorzScrollBar() { return &FHorzScrollBar; }
    TControlScrollBar* VertScrollBar() { return &FVertScrollBar; }
    // On: each bar's range follows the extent of the children.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool AValue);
    // Scrolls so that AControl (a child) is wholly in view, or its top-left corner when it is larger.
    void ScrollInView(TControl* AControl);

    void WndProc(TMessage& AMessage) override;

protected:
    // Aligned children are placed in the scrolled, whole content area.
    void AdjustClientRect(TRect& ARect) override;
    void AlignControls(TControl* AControl, TRect& ARect) override;

private:
    friend class TControlScrollBar;
    void CalcAutoRange();
    void UpdateScrollBars();

    TControlScrollBar FHorzScrollBar{this, sbHorizontal};
    TControlScrollBar FVertScrollBar{this, sbVertical};
    bool FAutoScroll = false;
    bool FUpdatingRange = false;
};

class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
};
