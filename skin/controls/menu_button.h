#pragma once
// A push button with a drop-down menu: a press on its track part (the whole button, or a 15-pixel part at its
// right edge in track-button mode) opens the menu, and the button stays pressed until the menu closes. A press
// elsewhere is an ordinary click.
#include "skin/controls/push_button.h"
#include "skin/controls/track_menu.h"

class TspSkinMenuButton : public TspSkinButton {
public:
    explicit TspSkinMenuButton(TComponent* AOwner);

    TspTrackMenu* SkinPopupMenu() const { return FMenu; }
    void SetSkinPopupMenu(TspTrackMenu* AValue) { FMenu = AValue; }
    bool TrackButtonMode() const { return FTrackButtonMode; }
    void SetTrackButtonMode(bool AValue);
    bool MenuTracked() const { return FMenuTracked; }

    TNotifyEvent OnShowTrackMenu;
    TNotifyEvent OnHideTrackMenu;

    // Whether a press at X, Y (client coordinates) opens the menu; the right and bottom edges count.
    bool InTrackPart(Integer AX, Integer AY);

    void GetSkinData() override;

protected:
    void DrawStateImage(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawDropDownLook(TBitmap* B);
    void DrawTrackMarker(TCanvas* ACanvas, const TRect& APart, bool APressed, bool AHot, TColor AGlyphColour);
    void WndProc(TMessage& AMessage) override;
    void MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;

private:
    // Opens the menu with the button down; a menu that does not open releases the button again.
    void TrackMenu();
    void MenuClosed();
    bool PlainRecordName() const;
    TRect TrackPartRect();

    TspTrackMenu* FMenu = nullptr;
    bool FTrackButtonMode = false;
    bool FMenuTracked = false;
    TRect TrackButtonRect;
};
