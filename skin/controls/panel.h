#pragma once
// The skinned container: a windowed control that holds children and draws its face from a panel record. It can
// carry a caption bar with a check box (which may enable and disable the children) and a roll-up arrow (which
// shrinks the panel to its caption), a caption glyph or image-list image, four frames for the plain look, a
// caption at the bottom (plain look), a transparent mode that shows the parent's background, and a background
// picture from the skin. The status bar, notebook, pages, tool bar and radio group are built on it.
#include <memory>
#include <string>

#include "platform/gui/image_list.h"
#include "skin/controls/skin_custom_control.h"

// Where a skinned caption puts its image: before the text, or pinned at the left edge.
enum TspImagePosition { spipDefault, spipLeft };
// The frame of the plain look; bvNone also selects the tiled skin face.
enum class TspSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
using TspSkinPanelNumGlyphs = Integer;  // 1 or 2: frame 2 is the disabled look

class TspSkinPanel : public TspSkinCustomControl {
public:
    explicit TspSkinPanel(TComponent* AOwner);
    ~TspSkinPanel() override;

    bool RibbonStyle() const { return FRibbonStyle; }
    void SetRibbonStyle(bool AValue);
    TspImagePosition ImagePosition() const { return FImagePosition; }
    void SetImagePosition(TspImagePosition AValue);
    bool TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(bool AValue);
    TCustomImageList* CaptionImageList() const { return FCaptionImageList; }
    void SetCaptionImageList(TCustomImageList* AValue);
    Integer CaptionImageIndex() const { return FCaptionImageIndex; }
    void SetCaptionImageIndex(Integer AValue);
    // The height before a roll-up; -1 while not rolled up.
    Integer RealHeight() const { return FRealHeight; }
    void SetRealHeight(Integer AValue) { FRealHeight = AValue; }
    bool AutoEnabledControls() const { return FAutoEnabledControls; }
    void SetAutoEnabledControls(bool AValue) { FAutoEnabledControls = AValue; }
    bool CheckedMode() const { return FCheckedMode; }
    void SetCheckedMode(bool AValue);
    bool Checked() const { return FChecked; }
    // Raises OnChecked every time, also for an unchanged value.
    void SetChecked(bool AValue);
    TBitmap* Glyph() { return FGlyph.get(); }
    // Keeps a copy.
    void SetGlyph(TBitmap* AValue);
    TspSkinPanelNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TspSkinPanelNumGlyphs AValue);
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer AValue);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment AValue);
    Integer DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    virtual void SetDefaultCaptionHeight(Integer AValue);
    TspSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TspSkinBorderStyle AValue);
    bool CaptionMode() const { return FCaptionMode; }
    virtual void SetCaptionMode(bool AValue);
    bool RollUpMode() const { return FRollUpMode; }
    void SetRollUpMode(bool AValue);
    bool RollUpState() const { return FRollUpState; }
    // Rolling up keeps the size constraints aside and rolling down puts them back.
    void SetRollUpState(bool AValue);

    TNotifyEvent OnChecked;
    TNotifyEvent OnChangeRollUpState;

    // The area the children are aligned in.
    TRect GetSkinClientRect();
    void DoRollUp(bool ARollUp);
    // The caption's click area of a skinned panel, as the last paint placed it.
    TRect NewCaptionRect() const { return FNewCaptionRect; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void AdjustClientRect(TRect& ARect) override;

protected:
    // Paints over the finished transparent face; the paint panel lets the application draw here.
    virtual void PaintPanelContent(TCanvas* /*ACanvas*/) {}
    void Paint() override;
    void DrawUnskinnedImage(TBitmap* B) override;
    void DrawSkinnedImage(TBitmap* B) override;
    bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) override;
    void WndProc(TMessage& AMessage) override;
    void MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY) override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;

    bool HasBackgroundPicture() const;
    // The caption font of a skinned panel: the record's when UseSkinFont, else the default font.
    void ApplyCaptionFont(TCanvas* ACanvas);
    // Width of the text and the glyph before it.
    Integer CaptionWidth(TCanvas* ACanvas);
    // The image-list image or the glyph frame at AX, vertically centred in AR; returns its width, 0 for none.
    Integer CaptionImageWidth();
    void DrawCaptionImage(TCanvas* ACanvas, Integer AX, const TRect& AR);
    // The check picture of the skin at AX, centred in AR's height; returns its width.
    Integer DrawSkinCheckPicture(TCanvas* ACanvas, Integer AX, const TRect& AR);
    void DrawSkinnedCaption(TCanvas* ACanvas);
    void DrawUnskinnedCaption(TCanvas* ACanvas);
    void PaintTransparent();
    void PaintTransparentCaption(TCanvas* ACanvas);
    void PaintBackgroundPicture();
    // The plain caption bar (ribbon: at the bottom) in control coordinates.
    TRect UnskinnedCaptionBar() const;

    bool FRibbonStyle = false;
    TspImagePosition FImagePosition = spipDefault;
    bool FTransparentMode = false;
    TCustomImageList* FCaptionImageList = nullptr;
    Integer FCaptionImageIndex = -1;
    Integer FRealHeight = -1;
    bool FAutoEnabledControls = true;
    bool FCheckedMode = false;
    bool FChecked = false;
    std::unique_ptr<TBitmap> FGlyph;
    TspSkinPanelNumGlyphs FNumGlyphs = 1;
    Integer FSpacing = 2;
    TAlignment FDefaultAlignment = taLeftJustify;
    Integer FDefaultCaptionHeight = 22;
    TspSkinBorderStyle FBorderStyle = TspSkinBorderStyle::bvFrame;
    bool FCaptionMode = false;
    bool FRollUpMode = false;
    bool FRollUpState = false;

    bool FInChangingRollUp = false;
    // Alignment is held off while rolled up; held once, however often the roll-up is redone.
    bool FAlignHeld = false;
    // The size constraints kept aside while rolled up.
    Integer FCMaxWidth = 0, FCMinWidth = 0, FCMaxHeight = 0, FCMinHeight = 0;

    // Copies of the panel record.
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0;
    TAlignment Alignment = taCenter;
    TRect CaptionRect;
    Integer BGPictureIndex = -1;
    TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect;
    Integer FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect;
    TRect FNewCaptionRect;
};
