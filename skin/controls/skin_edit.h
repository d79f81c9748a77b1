#pragma once
// The skinned single-line edit: the native edit keeps the text area as its client area and gets a frame in its
// non-client area from the skin's edit record ("edit", "buttonedit"), or a plain frame without one. It adds an
// optional edit button inside the frame, two optional image buttons at the ends of the text area, a background
// painted behind the native text, font colours that follow hover, focus and the enabled state, a height rule tied
// to the skin or the font, and blending over the parent. TspSkinEdit and TspSkinMaskEdit publish it; the time
// edit and the shell dialogs' directory edit build on them.
#include <memory>
#include <string>

#include "platform/gui/image_list.h"
#include "skin/controls/native_edit.h"
#include "skin/controls/skin_link.h"
#include "skin/core/skin_data.h"

class TBitmap;
class TspDataSkinEditControl;

// Hit codes of the image buttons; the frame button answers HTHSCROLL and the rest of the frame HTVSCROLL.
constexpr win::LRESULT HT_EDIT_LEFTBUTTON = 104;
constexpr win::LRESULT HT_EDIT_RIGHTBUTTON = 105;

struct TspCBButtonX {
    TRect R;
    bool MouseIn = false;
    bool Down = false;
};

class TspSkinCustomEdit : public TspSkinLinked<TspCustomEdit> {
public:
    explicit TspSkinCustomEdit(TComponent* AOwner);
    ~TspSkinCustomEdit() override;

    // Runs ChangeSkinData unless the value is nil, holds no skin or the control is being designed.
    void SetSkinData(TspSkinData* AValue) override;
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor AValue);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }
    Integer DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(Integer AValue);
    Integer DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(Integer AValue);
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool AValue);
    TAlignment EditAlignment() const { return Alignment(); }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool AValue);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte AValue);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* AValue);
    Integer LeftImageIndex() const { return FLeftImageIndex; }
    void SetLeftImageIndex(Integer AValue);
    Integer RightImageIndex() const { return FRightImageIndex; }
    void SetRightImageIndex(Integer AValue);
    Integer LeftImageHotIndex = -1, LeftImageDownIndex = -1, RightImageHotIndex = -1, RightImageDownIndex = -1;

    TNotifyEvent OnButtonClick;
    TNotifyEvent OnLeftButtonClick;
    TNotifyEvent OnRightButtonClick;

    void ChangeSkinData() override;
    // The font's text height plus the frame's top and bottom.
    Integer CalcHeight();
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Invalidate() override;
    void WndProc(TMessage& AMessage) override;

    // Geometry at the current size, in window coordinates.
    const TRect& EditRect() const { return FEditRect; }
    const TRect& ButtonRect() const { return FButtonRect; }
    const TspCBButtonX& LeftButton() const { return FLeftButton; }
    const TspCBButtonX& RightButton() const { return FRightButton; }
    bool ButtonDown() const { return FButtonDown; }
    bool ButtonActive() const { return FButtonActive; }
    bool MouseIn() const { return FMouseIn; }

    // The skin record's copy, taken by GetSkinData.
    TBitmap* Picture = nullptr;
    TRect SkinRect, ActiveSkinRect, ClRect, SkinButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    Integer LOffset = 0, ROffset = 0;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    bool StretchEffect = false;

protected:
    void GetSkinData();
    void CalcEditRect();
    void UpdateImageButtons(bool AApply = true);
    void AdjustHeight();
    void RepaintFrame();
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    void CreateParams(TCreateParams& AParams) override;
    void PaintWindow(win::HDC ADC) override;
    // The state rectangle: the active one while hovered or focused.
    TRect StateRect();

private:
    friend class TspSkinEditPainter;
    void PaintFrame(win::HDC ADC);
    void PaintClientBackground(win::HDC ADC);
    void DrawImageButtons(win::HDC ADC);
    void PaintDisabledText(win::HDC ADC);
    void SetStateFontColor(bool AActive);
    void ApplyEnabledColor(bool AConsiderFocus);
    void MouseEnter();
    void MouseLeave();
    void FocusChanged(bool AGot);
    void HitTest(TMessage& AMessage);
    void NcMouseMove(TMessage& AMessage);
    void NcButtonDown(TMessage& AMessage);
    void NcButtonUp(TMessage& AMessage);
    void NcCalcSize(TMessage& AMessage);
    TspDataSkinEditControl* Record() const;

    TColor FDefaultColor = clWindow;
    std::unique_ptr<TFont> FDefaultFont;
    bool FUseSkinFont = true;
    Integer FDefaultWidth = 0, FDefaultHeight = 0;
    bool FButtonMode = false;
    bool FButtonDown = false, FButtonActive = false;
    bool FMouseIn = false;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 0;
    TCustomImageList* FImages = nullptr;
    Integer FLeftImageIndex = -1, FRightImageIndex = -1;
    TspCBButtonX FLeftButton, FRightButton;
    TRect FEditRect, FButtonRect;
};

class TspSkinEdit : public TspSkinCustomEdit {
public:
    using TspSkinCustomEdit::TspSkinCustomEdit;
};

// Also publishes the mask; a native border never shows whatever BorderStyle says.
class TspSkinMaskEdit : public TspSkinEdit {
public:
    using TspSkinEdit::TspSkinEdit;
};
