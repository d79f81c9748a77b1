#pragma once
// The records of a skin that describe the pieces of a skinned form's frame (form-object records), the named areas
// of the form picture, the three window records and the skin's colours. Each record reads and writes the section
// named by its IDName (the window records and colours their fixed sections) through its row list.
#include <memory>
#include <string>

#include "platform/rtl/strings.h"
#include "skin/core/skin_records_fields.h"

class TspDataSkinArea {
public:
    TspDataSkinArea(const std::string& AIDName, const TRect& AAreaRect) : IDName(AIDName), AreaRect(AAreaRect) {}
    std::string IDName;
    TRect AreaRect;
};

class TspDataSkinObject {
public:
    explicit TspDataSkinObject(const std::string& AIDName);
    virtual ~TspDataSkinObject() = default;
    TspDataSkinObject(const TspDataSkinObject&) = delete;
    TspDataSkinObject& operator=(const TspDataSkinObject&) = delete;

    virtual void LoadFromFile(TCustomIniFile* IniFile);
    // Erases the section, then writes every row.
    virtual void SaveToFile(TCustomIniFile* IniFile);
    // The rows in writing order; a descendant lists its base's rows first.
    virtual void DescribeFields(TspFieldVisitor& F);

    std::string IDName;
    std::string Hint;
    bool RollUp = false;
    Integer ActivePictureIndex = -1;
    Integer ActiveMaskPictureIndex = -1;
    bool SkinRectInAPicture = false;
    Integer CursorIndex = -1;
    TRect SkinRect;
    TRect ActiveSkinRect;
    TRect InActiveSkinRect;
    bool Morphing = false;
    TMorphKind MorphKind = mkDefault;
    Integer GlowLayerPictureIndex = -1;
    Integer GlowLayerMaskPictureIndex = -1;
    Integer GlowLayerOffsetX = 0;
    Integer GlowLayerOffsetY = 0;
    Integer GlowLayerAlphaBlendValue = 255;

protected:
    // Rules that run once the section has been read.
    virtual void AfterRead() {}
};

class TspDataUserObject : public TspDataSkinObject {
public:
    using TspDataSkinObject::TspDataSkinObject;
    // Only three keys of its own; the other base fields keep their constructor values.
    void DescribeFields(TspFieldVisitor& F) override;
};

class TspDataSkinSwitch : public TspDataSkinObject {
public:
    using TspDataSkinObject::TspDataSkinObject;
};

class TspDataSkinGauge : public TspDataSkinObject {
public:
    explicit TspDataSkinGauge(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    Integer MinValue = 0;
    Integer MaxValue = 0;
    TGaugeKind Kind = gkHorizontal;
};

class TspDataSkinFrameGaugeObject : public TspDataSkinObject {
public:
    explicit TspDataSkinFrameGaugeObject(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    Integer MinValue = 0;
    Integer MaxValue = 0;
    Integer CountFrames = 0;
    TFramesPlacement FramesPlacement = fpHorizontal;
};

class TspDataSkinFrameRegulatorObject : public TspDataSkinObject {
public:
    explicit TspDataSkinFrameRegulatorObject(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    Integer MinValue = 0;
    Integer MaxValue = 0;
    Integer CountFrames = 0;
    TFramesPlacement FramesPlacement = fpHorizontal;
    TRegulatorKind Kind = rkRound;
};

class TspDataSkinTrackBar : public TspDataSkinObject {
public:
    explicit TspDataSkinTrackBar(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TPoint BeginPoint;
    TPoint EndPoint;
    Integer MinValue = 0;
    Integer MaxValue = 0;
    bool MouseDownChangeValue = false;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;

protected:
    void AfterRead() override { Morphing = false; }
};

class TspDataSkinAnimate : public TspDataSkinObject {
public:
    explicit TspDataSkinAnimate(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    Integer CountFrames = 0;
    bool Cycle = false;
    bool ButtonStyle = false;
    Integer TimerInterval = 0;
    TStdCommand Command = cmClose;
    TRect DownSkinRect;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
    std::string RestoreHint;

protected:
    void AfterRead() override;
};

class TspDataSkinButton : public TspDataSkinObject {
public:
    explicit TspDataSkinButton(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TRect DownRect;
    TRect DisableSkinRect;
    Integer GroupIndex = -1;
    Integer AlphaMaskPictureIndex = -1;
    Integer AlphaMaskActivePictureIndex = -1;
    Integer AlphaMaskInActivePictureIndex = -1;
};

class TspDataSkinStdButton : public TspDataSkinButton {
public:
    explicit TspDataSkinStdButton(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    TStdCommand Command = cmClose;
    TRect RestoreRect;
    TRect RestoreActiveRect;
    TRect RestoreDownRect;
    TRect RestoreInActiveRect;
    std::string RestoreHint;

protected:
    void AfterRead() override;
};

class TspDataSkinMainMenuBarButton : public TspDataSkinStdButton {
public:
    using TspDataSkinStdButton::TspDataSkinStdButton;
};

class TspDataSkinLabel : public TspDataSkinObject {
public:
    explicit TspDataSkinLabel(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    std::string FontName;
    Integer FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0;
    TColor ActiveFontColor = 0;
    TAlignment Alignment = taLeftJustify;
    std::string TextValue;
};

class TspDataSkinBitLabel : public TspDataSkinObject {
public:
    explicit TspDataSkinBitLabel(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    std::string TextValue;
    std::unique_ptr<TStringList> Symbols = std::make_unique<TStringList>();
    Integer SymbolWidth = 0;
    Integer SymbolHeight = 0;
    bool Transparent = false;
    TColor TransparentColor = 0xFF00FF;

protected:
    void AfterRead() override { Morphing = false; }
};

class TspDataSkinMenuItem : public TspDataSkinObject {
public:
    explicit TspDataSkinMenuItem(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    Integer ItemLO = 0, ItemRO = 0;
    TRect DividerRect;
    Integer DividerLO = 0, DividerRO = 0;
    TRect TextRct, ImageRct;
    std::string FontName;
    Integer FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0, UnEnabledFontColor = 0;
    bool StretchEffect = false, InActiveStretchEffect = false, DividerStretchEffect = false;
    TRect AnimateSkinRect;
    Integer FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false;
    bool UseImageColor = false;
    TColor ImageColor = 0, ActiveImageColor = 0;
    bool InActiveTransparent = false;
    TRect CheckImageRect, ActiveCheckImageRect;
    TRect RadioImageRect, ActiveRadioImageRect;
    TRect ArrowImageRect, ActiveArrowImageRect;

protected:
    void AfterRead() override;
};

class TspDataSkinMainMenuItem : public TspDataSkinObject {
public:
    explicit TspDataSkinMainMenuItem(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    Integer ItemLO = 0, ItemRO = 0;
    TRect DownRect, TextRct;
    std::string FontName;
    Integer FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, UnEnabledFontColor = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    Integer FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false;
};

class TspDataSkinMainMenuBarItem : public TspDataSkinMainMenuItem {
public:
    using TspDataSkinMainMenuItem::TspDataSkinMainMenuItem;
};

class TspDataSkinCaption : public TspDataSkinObject {
public:
    explicit TspDataSkinCaption(const std::string& AIDName);
    void DescribeFields(TspFieldVisitor& F) override;
    bool DefaultCaption = false;
    TRect TextRct;
    std::string FontName;
    Integer FontHeight = 0;
    TFontStyles FontStyle;
    TColor FontColor = 0, ActiveFontColor = 0;
    TAlignment Alignment = taLeftJustify;
    bool Shadow = false;
    TColor ShadowColor = 0;
    bool Light = false;
    TColor LightColor = 0, ActiveLightColor = 0, ActiveShadowColor = 0;
    TRect FrameRect, ActiveFrameRect, FrameTextRect;
    Integer FrameLeftOffset = 0, FrameRightOffset = 0;
    bool StretchEffect = false;
    TRect AnimateSkinRect;
    Integer FrameCount = 0, AnimateInterval = 0;
    bool InActiveAnimation = false, FullFrame = false;
    bool VistaGlowEffect = false, VistaGlowInActiveEffect = false, GlowEffect = false, GlowInActiveEffect = false;
    Integer GlowSize = 0;
    TColor GlowColor = 0, GlowActiveColor = 0;
    Integer GlowOffset = 0;
    bool ReflectionEffect = false;
    TColor ReflectionColor = 0, ReflectionActiveColor = 0;
    Integer ReflectionOffset = 0;
    TRect DividerRect;
    bool DividerTransparent = false;
    TColor DividerTransparentColor = 0;
};

// The window records and the colours have fixed sections and live as long as the skin data.
class TspDataSkinPopupWindow {
public:
    TspDataSkinPopupWindow();
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    void DescribeFields(TspFieldVisitor& F);
    Integer WindowPictureIndex = -1, MaskPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    Integer CursorIndex = -1;
    TRect ItemsRect;
    TColor ScrollMarkerColor = 0, ScrollMarkerActiveColor = 0;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TspStretchType StretchType = spstFull;
};

class TspDataSkinLayerFrame {
public:
    TspDataSkinLayerFrame();
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    void DescribeFields(TspFieldVisitor& F);
    Integer PictureIndex = -1, MaskPictureIndex = -1, InActivePictureIndex = -1, InActiveMaskPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    Integer AlphaBlendValue = 255, InActiveAlphaBlendValue = 255;
    TRect BorderRect;
    bool HitTestEnable = false, FullBorder = false;
    Integer HitTestSize = 0;
    TRect CaptionRect;
    TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    TRect ButtonsRect, SysMenuButtonRect;
    bool FullStretch = false;
    Integer RollUpFormHeight = 0, ButtonsTopOffset = 0, SysButtonTopOffset = 0;
    Integer BlurMaskPictureIndex = -1;
    TRect IntersectBlurMaskRect, ExcludeBlurMaskRect;
    Integer LeftOffset = 0, TopOffset = 0, WidthOffset = 0, HeightOffset = 0;
};

class TspDataSkinHintWindow {
public:
    TspDataSkinHintWindow();
    void LoadFromFile(TCustomIniFile* IniFile);
    void SaveToFile(TCustomIniFile* IniFile);
    void DescribeFields(TspFieldVisitor& F);
    Integer WindowPictureIndex = -1, MaskPictureIndex = -1;
    TPoint LTPoint, RTPoint, LBPoint, RBPoint;
    TRect ClRect;
    std::string FontName = "Arial";
    Integer FontHeight = 12;
    TFontStyles FontStyle;
    TColor FontColor = 0;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    bool StretchEffect = false;
    TspStretchType StretchType = spstFull;
};

class TspSkinColors {
public:
    TspSkinColors() = default;
    void SetColorsToDefault();
    void LoadFromFile(TCustomIniFile* IniFile);
    // Writes into SKINCOLORS without erasing it; the skin data's writer erases it first.
    void SaveToFile(TCustomIniFile* IniFile);
    void DescribeFields(TspFieldVisitor& F);
    TColor FcBtnFace = 0, FcBtnText = 0, FcWindow = 0, FcWindowText = 0, FcHighLight = 0, FcHighLightText = 0,
           FcBtnHighLight = 0, FcBtnShadow = 0, Fc3DLight = 0, Fc3DDkShadow = 0;
};
