#pragma once
// The button objects of a skinned form's frame: push buttons (pressed and disabled pictures, groups, an attached
// menu) and caption buttons that run a window command (close, maximize or restore, minimize, system menu,
// roll-up, tray), with restore pictures and hints and a picture-free look for unskinned forms.
#include "platform/gui/menus.h"
#include "skin/forms/skin_objects.h"

class TspSkinButtonObject : public TspActiveSkinObject {
public:
    TspSkinButtonObject(TspCorvalis* AParent, TspDataSkinButton* AData);

    bool Down() const { return FDown; }
    void SetDown(bool Value);

    void ShowLayer() override;
    void HideLayer() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;
    bool CanMorphing() override;

    // Opens MenuItem's sub-items beside the button through the form's menus.
    void ShowButtonMenu();
    // Releases the other pressed button of the group, the first one found.
    void ReleaseGroupButtons();

    bool FPopupUp = false;
    TRect DownRect;
    TRect DisableSkinRect;
    Integer GroupIndex = -1;
    TMenuItem* MenuItem = nullptr;

protected:
    bool FDown = false;
};

class TspSkinStdButtonObject : public TspSkinButtonObject {
public:
    // AData nullptr: a default caption button; the form sets its command and rectangles.
    TspSkinStdButtonObject(TspCorvalis* AParent, TspDataSkinStdButton* AData);

    bool PtInMask(Integer X, Integer Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    bool CanMorphing() override;

    // The look without a skin: a flat face, hot and pressed faces framed, and the command's glyph.
    void DefaultDraw(TCanvas* Cnvs);
    void DoCommand();
    // The command would undo the form's current state (restore, roll down).
    bool InRestoreState() const;

    bool FSkinSupport = false;
    TStdCommand Command = cmDefault;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
    std::string RestoreHint;
    std::string FTempHint;
    Integer AlphaMaskPictureIndex = -1;
    Integer AlphaMaskActivePictureIndex = -1;
    Integer AlphaMaskInActivePictureIndex = -1;

private:
    // The system-menu button that shows the caption icon instead of a picture.
    bool ShowsCaptionIcon() const;
    void DrawRestoreState(TCanvas* Cnvs);
};
