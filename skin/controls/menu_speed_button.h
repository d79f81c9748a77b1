#pragma once
// The speed button with a drop-down menu: a press on its track part opens the menu and holds the button down
// until the menu closes. In the new style its drop-down part can sit at the bottom and is drawn from the skin's
// resizable tool-button records; a flat button at rest shows its content and a marker only.
#include "skin/controls/speed_button.h"
#include "skin/controls/track_menu.h"

enum TspTrackPosition { sptpRight, sptpBottom };

class TspSkinMenuSpeedButton : public TspSkinSpeedButton {
public:
    explicit TspSkinMenuSpeedButton(TComponent* AOwner);

    TspTrackMenu* SkinPopupMenu() const { return FMenu; }
    void SetSkinPopupMenu(TspTrackMenu* AValue) { FMenu = AValue; }
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool AValue);
    bool NewStyle() const { return FNewStyle; }
    // True also switches the skin name to "resizetoolbutton".
    void SetNewStyle(bool AValue);
    TspTrackPosition TrackPosition() const { return FTrackPosition; }
    void SetTrackPosition(TspTrackPosition AValue);
    bool MenuTracked() const { return FMenuTracked; }

    TNotifyEvent OnShowTrackMenu;
    TNotifyEvent OnHideTrackMenu;

    // A standard arrow (1 left, 2 right, 3 up, 4 down) in place of the drop-down marker; set by code.
    bool FDrawStandardArrow = false;
    Integer FArrowType = 4;

    bool InTrackPart(Integer AX, Integer AY);
    void GetSkinData() override;

protected:
    void Paint() override;
    void DrawStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;

private:
    bool PlainRecordName() const;
    bool BottomStrip() const { return FNewStyle && FTrackPosition == sptpBottom; }
    // The 15-pixel strip at the drop-down side.
    TRect StripRect() const;
    TRect MainRect() const;
    void TrackMenu();
    void MenuClosed();
    void DrawMarker(TCanvas* ACanvas, TRect R, TColor AColor, bool APressed, bool AHot);
    void DrawNewStyle(TBitmap* B, bool ADown, bool AMouseIn);
    void DrawDropDownLook(TBitmap* B, bool ADown, bool AMouseIn);
    TRect TrackPartRect();

    TspTrackMenu* FMenu = nullptr;
    bool FTrackButtonMode = false, FNewStyle = false, FMenuTracked = false;
    TspTrackPosition FTrackPosition = sptpRight;
    TRect TrackButtonRect;
};
