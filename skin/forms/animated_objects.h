#pragma once
// Two frame objects that open menus: an animation drawn from a strip of frames (played by the application, or
// a hover button that plays forward under the mouse and back when it leaves, with a caption-button command or an
// attached menu), and one top-level item of the form's main menu drawn in the frame's menu strip.
#include "platform/gui/menus.h"
#include "skin/forms/skin_objects.h"

class TspSkinAnimateObject : public TspActiveSkinObject {
public:
    TspSkinAnimateObject(TspCorvalis* AParent, TspDataSkinAnimate* AData);

    Integer Frame() const { return FFrame; }
    // Forward, a frame past the strip wraps to 1; backward, one below 1 wraps to the last.
    void SetFrame(Integer Value);
    void Start();
    void Stop();
    // One 25 ms tick; false when the frame did not change.
    bool ChangeFrame();
    void DoCommand();
    void ShowAnimateMenu();
    // The menu closed: play back from the last frame.
    void MenuClosed();
    // The restore pictures stand in for the normal ones (maximized, minimized, rolled up).
    bool InRestoreState() const;
    bool Down() const { return FDown; }
    bool MenuTracking() const { return FMenuTracking; }
    // The timer skips an object held down over its pressed picture.
    bool PausedByPress() const;

    void ShowLayer() override;
    void HideLayer() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    Integer TimerInterval = 25;
    TMenuItem* MenuItem = nullptr;
    bool FPopupUp = false;
    Integer CountFrames = 0;
    bool Cycle = false;
    bool ButtonStyle = false;
    bool Increment = true;
    TStdCommand Command = cmClose;
    TRect DownSkinRect;
    TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
    std::string RestoreHint, FTempHint;

private:
    TRect CurrentDownRect() const;
    void PlayOrRedraw();
    bool FMenuTracking = false;
    Integer FFrame = 1;
    Integer FInc = 25;
    bool FDown = false;
};

class TspSkinMainMenuItem : public TspActiveSkinObject {
public:
    TspSkinMainMenuItem(TspCorvalis* AParent, TspDataSkinMainMenuItem* AData);

    void SetItemDown(bool Value);
    bool Down() const { return FDown; }
    bool ReleaseOtherItems();
    void LeaveOtherItems();
    TRect CalcItemRect(TCanvas* ACanvas);
    void PopupItemMenu();
    // The item fits into the menu strip and is drawn.
    bool Fits() const { return FFits; }

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    TMenuItem* MenuItem = nullptr;
    std::string FontName;
    Integer FontHeight = 0;
    TFontStyles FontStyle;
    TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
    TRect TextRct;
    TRect DownRect;
    Integer LO = 0, RO = 0;

private:
    void SetItemFont(TCanvas* ACanvas) const;
    // The item picture from part R, its text in the colour for the state.
    void PaintImage(TBitmap* AImage, const TRect& R, bool AActive);
    bool FDown = false;
    bool OldEnabled = true;
    bool FFits = true;
};
