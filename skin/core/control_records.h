#pragma once
// The control skin records: one section of the skin description per record, found by the controls through
// TspSkinData::GetControlIndex. Each class lists its keys once (DescribeFields, in writing order, its base's keys
// first); constructor, reader and writer all run from that list.
#include <memory>
#include <string>

#include "platform/rtl/strings.h"
#include "skin/core/skin_records_fields.h"

class TspDataSkinControl {
public:
    explicit TspDataSkinControl(const std::string& AIDName);
    virtual ~TspDataSkinControl() = default;
    TspDataSkinControl(const TspDataSkinControl&) = delete;
    TspDataSkinControl& operator=(const TspDataSkinControl&) = delete;

    virtual void LoadFromFile(TCustomIniFile* IniFile);
    // Erases the section, then writes every row.
    virtual void SaveToFile(TCustomIniFile* IniFile);
    virtual void DescribeFields(TspFieldVisitor& F);

    std::string IDName;
    Integer PictureIndex = -1;
    Integer MaskPictureIndex = -1;
    TRect SkinRect;
    Integer CursorIndex = -1;

protected:
    virtual void AfterRead() {}
    virtual void BeforeWrite() {}
};

class TspDataSkinCustomControl : public TspDataSkinControl {
public:
    explicit TspDataSkinCustomControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    bool StretchEffect = false;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    TspStretchType StretchType = spstFull;
};

class TspDataSkinButtonControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinButtonControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect, AnimateSkinRect;
    Integer FrameCount = 0, AnimateInterval = 0;
    bool ShowFocus = false;
    TRect MenuMarkerFlatRect, MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect;
    TColor MenuMarkerTransparentColor = 0;
    Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
    Integer GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0, GlowLayerOffsetBottom = 0;
    Integer GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
    Integer GlowLayerAlphaBlendValue = 255;
};

class TspDataSkinMenuButtonControl : public TspDataSkinButtonControl {
public:
    explicit TspDataSkinMenuButtonControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect TrackButtonRect;
};

class TspDataSkinCheckRadioControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinCheckRadioControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect, ActiveCheckImageRect,
        ActiveUnCheckImageRect, UnEnabledCheckImageRect, UnEnabledUnCheckImageRect, GrayedCheckImageRect,
        ActiveGrayedCheckImageRect;
    TColor FrameFontColor = 0;
};

class TspDataSkinStdLabelControl : public TspDataSkinControl {
public:
    explicit TspDataSkinStdLabelControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0;
};

class TspDataSkinLabelControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinLabelControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0;
};

class TspDataSkinBitLabelControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinBitLabelControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect SkinTextRect;
    Integer SymbolWidth = 0, SymbolHeight = 0;
    std::unique_ptr<TStringList> Symbols = std::make_unique<TStringList>();
};

class TspDataSkinPanelControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinPanelControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect CaptionRect;
    TAlignment Alignment = taCenter;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0;
    Integer BGPictureIndex = -1;
    TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect;
    Integer FrameLeftOffset = 0, FrameRightOffset = 0;
    TRect FrameTextRect, GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;
};

class TspDataSkinExPanelControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinExPanelControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect RollHSkinRect, RollVSkinRect;
    Integer RollLeftOffset = 0, RollRightOffset = 0, RollTopOffset = 0, RollBottomOffset = 0;
    TRect RollVCaptionRect, RollHCaptionRect;
    TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
    TRect HRollButtonRect, HRollButtonActiveRect, HRollButtonDownRect;
    TRect HRestoreButtonRect, HRestoreButtonActiveRect, HRestoreButtonDownRect;
    TRect VRollButtonRect, VRollButtonActiveRect, VRollButtonDownRect;
    TRect VRestoreButtonRect, VRestoreButtonActiveRect, VRestoreButtonDownRect;
    TRect CaptionRect;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0;
    bool ButtonsTransparent = false;
    TColor ButtonsTransparentColor = 0;
};

class TspDataSkinScrollBoxControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinScrollBoxControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    Integer BGPictureIndex = -1;
};

class TspDataSkinBevel : public TspDataSkinControl {
public:
    explicit TspDataSkinBevel(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TColor LightColor = 0, DarkColor = 0;
};

class TspDataSkinScrollBarControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinScrollBarControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect, ThumbRect, ActiveThumbRect, DownThumbRect;
    Integer ThumbOffset1 = 0, ThumbOffset2 = 0;
    TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0;
    bool ThumbStretchEffect = false;
    Integer ThumbMinSize = 0, ThumbMinPageSize = 0;
};

class TspDataSkinTrackBarControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinTrackBarControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect ActiveSkinRect, TrackArea, ButtonRect, ActiveButtonRect;
    bool Vertical = false, ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
};

class TspDataSkinGaugeControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinGaugeControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect ProgressArea, ProgressRect;
    bool ProgressTransparent = false;
    TColor ProgressTransparentColor = 0;
    bool ProgressStretch = false, Vertical = false;
    Integer BeginOffset = 0, EndOffset = 0;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0;
    TRect AnimationSkinRect;
    Integer AnimationCountFrames = 0, AnimationTimerInterval = 0;
    TRect ProgressAnimationSkinRect;
    Integer ProgressAnimationCountFrames = 0, ProgressAnimationTimerInterval = 0;
    Integer AnimationBeginOffset = 0, AnimationEndOffset = 0;
};

class TspDataSkinSpinEditControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinSpinEditControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect ActiveSkinRect;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, DisabledFontColor = 0;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect;
};

// Its picture always has a fixed size: the corner points and client rectangle stay zero.
class TspDataSkinUpDownControl : public TspDataSkinCustomControl {
public:
    using TspDataSkinCustomControl::TspDataSkinCustomControl;
    void DescribeFields(TspFieldVisitor& F) override;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect;

protected:
    void AfterRead() override { ClearPieces(); }
    void BeforeWrite() override { ClearPieces(); }

private:
    void ClearPieces();
};

class TspDataSkinSplitterControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinSplitterControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect GripperRect;
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;
};

class TspDataSkinControlBar : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinControlBar(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect ItemRect;
    Integer BGPictureIndex = -1;
    TRect HGripRect, VGripRect;
    Integer GripOffset1 = 0, GripOffset2 = 0;
    bool ItemStretchEffect = false;
    Integer ItemOffset1 = 0, ItemOffset2 = 0;
    bool ItemTransparent = false;
    TColor ItemTransparentColor = 0;
    bool GripTransparent = false;
    TColor GripTransparentColor = 0;
};

class TspDataSkinSlider : public TspDataSkinControl {
public:
    explicit TspDataSkinSlider(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect HRulerRect, HThumbRect, VRulerRect, VThumbRect;
    Integer EdgeSize = 0;
    TColor BGColor = 0, PointsColor = 0;
};

class TspDataSkinFrameControl : public TspDataSkinControl {
public:
    explicit TspDataSkinFrameControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    Integer FramesCount = 1;
    TFramesPlacement FramesPlacement = fpHorizontal;

protected:
    void AfterRead() override;
};

class TspDataSkinAnimateControl : public TspDataSkinFrameControl {
public:
    using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinSwitchControl : public TspDataSkinFrameControl {
public:
    using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinFrameGauge : public TspDataSkinFrameControl {
public:
    using TspDataSkinFrameControl::TspDataSkinFrameControl;
};

class TspDataSkinFrameRegulator : public TspDataSkinFrameControl {
public:
    explicit TspDataSkinFrameRegulator(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRegulatorKind Kind = rkRound;
};

class TspDataSkinListBox : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinListBox(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect SItemRect, ActiveItemRect, FocusItemRect;
    Integer ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
    TRect CaptionRect;
    std::string CaptionFontName;
    TFontStyles CaptionFontStyle;
    Integer CaptionFontHeight = 0;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    std::string HScrollBarName, VScrollBarName, BothScrollBarName;
    bool ShowFocus = false;
    TRect DisabledButtonsRect, ButtonsArea;
};

class TspDataSkinCheckListBox : public TspDataSkinListBox {
public:
    using TspDataSkinListBox::TspDataSkinListBox;
    void DescribeFields(TspFieldVisitor& F) override;
    TRect UnCheckImageRect, CheckImageRect, ItemCheckRect;
};

class TspDataSkinComboBox : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinComboBox(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect SItemRect, ActiveItemRect, FocusItemRect;
    Integer ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, FocusFontColor = 0, ActiveFontColor = 0;
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
    bool ItemStretchEffect = false, FocusItemStretchEffect = false;
    TRect ActiveSkinRect;
    bool ShowFocus = false;
    std::string ListBoxName;
};

class TspDataSkinEditControl : public TspDataSkinCustomControl {
public:
    explicit TspDataSkinEditControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect ActiveSkinRect;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    TRect ButtonRect, ActiveButtonRect, DownButtonRect, UnEnabledButtonRect;
};

class TspDataSkinMemoControl : public TspDataSkinEditControl {
public:
    explicit TspDataSkinMemoControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TColor BGColor = 0, ActiveBGColor = 0;
};

// The tree view, list view and rich edit records share one layout: a text font and a background colour.
class TspDataSkinTextViewControl : public TspDataSkinControl {
public:
    explicit TspDataSkinTextViewControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, BGColor = 0;
};

class TspDataSkinTreeView : public TspDataSkinTextViewControl {
public:
    using TspDataSkinTextViewControl::TspDataSkinTextViewControl;
};

class TspDataSkinListView : public TspDataSkinTextViewControl {
public:
    using TspDataSkinTextViewControl::TspDataSkinTextViewControl;
};

class TspDataSkinRichEdit : public TspDataSkinTextViewControl {
public:
    using TspDataSkinTextViewControl::TspDataSkinTextViewControl;
};

class TspDataSkinGridControl : public TspDataSkinControl {
public:
    explicit TspDataSkinGridControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect FixedCellRect, SelectCellRect, FocusCellRect;
    Integer FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
    TRect FixedCellTextRect;
    Integer CellLeftOffset = 0, CellRightOffset = 0;
    TRect CellTextRect;
    TColor LinesColor = 0, BGColor = 0;
    Integer BGPictureIndex = -1;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, SelectFontColor = 0, FocusFontColor = 0;
    std::string FixedFontName;
    TFontStyles FixedFontStyle;
    Integer FixedFontHeight = 0;
    TColor FixedFontColor = 0;
    bool FixedCellStretchEffect = false, CellStretchEffect = false, ShowFocus = false;
};

class TspDataSkinTabControl : public TspDataSkinControl {
public:
    explicit TspDataSkinTabControl(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect TabRect, ActiveTabRect, FocusTabRect, MouseInTabRect, ClRect, TabsBGRect;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    Integer TabLeftOffset = 0, TabRightOffset = 0;
    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    std::string UpDown;
    Integer BGPictureIndex = -1;
    bool TabStretchEffect = false, LeftStretch = false, TopStretch = false, RightStretch = false,
         BottomStretch = false, ShowFocus = false;
    Integer FocusOffsetX = 0, FocusOffsetY = 0;
    bool StretchEffect = false;
    TspStretchType StretchType = spstFull;
    TRect CloseButtonRect, CloseButtonActiveRect, CloseButtonDownRect;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
};

class TspDataSkinMainMenuBar : public TspDataSkinControl {
public:
    explicit TspDataSkinMainMenuBar(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect ItemsRect;
    std::string MenuBarItem, CloseButton, MaxButton, MinButton, SysMenuButton;
    Integer TrackMarkColor = 0, TrackMarkActiveColor = 0;
    bool StretchEffect = false, ItemTransparent = false;
};
