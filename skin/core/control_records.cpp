#include "skin/core/control_records.h"

namespace {

constexpr TColor kMagenta = 16711935;
constexpr TColor kBlue = 16711680;
constexpr TColor kWhite = 16777215;

template <typename R>
void ApplyConstructorValues(R& ARecord)
{
    TspFieldConstructor values;
    ARecord.R::DescribeFields(values);
}

// The font rows most records share, in their usual writing order (height before style).
void FontRows(TspFieldVisitor& F, std::string& Name, Integer& Height, TFontStyles& Style, TColor& Color,
              Integer CtorHeight)
{
    F.Str("fontname", Name, "Arial", "Arial");
    F.Int("fontheight", Height, 14, CtorHeight);
    F.Style("fontstyle", Style);
    F.Color("fontcolor", Color, 0, 0);
}

}  // namespace

TspDataSkinControl::TspDataSkinControl(const std::string& AIDName) : IDName(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinControl::LoadFromFile(TCustomIniFile* IniFile)
{
    TspFieldReader reader(IniFile, IDName);
    DescribeFields(reader);
    AfterRead();
}

void TspDataSkinControl::SaveToFile(TCustomIniFile* IniFile)
{
    BeforeWrite();
    IniFile->EraseSection(IDName);
    TspFieldWriter writer(IniFile, IDName);
    DescribeFields(writer);
}

void TspDataSkinControl::DescribeFields(TspFieldVisitor& F)
{
    F.Int("pictureindex", PictureIndex, -1, -1);
    F.Int("maskpictureindex", MaskPictureIndex, -1, -1);
    F.Int("cursorindex", CursorIndex, -1, -1);
    F.Rect("skinrect", SkinRect);
}

TspDataSkinCustomControl::TspDataSkinCustomControl(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinCustomControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    F.Point("lefttoppoint", LTPoint);
    F.Point("righttoppoint", RTPoint);
    F.Point("leftbottompoint", LBPoint);
    F.Point("rightbottompoint", RBPoint);
    F.Rect("clientrect", ClRect);
    F.Bool("stretcheffect", StretchEffect);
    F.Bool("leftstretch", LeftStretch);
    F.Bool("topstretch", TopStretch);
    F.Bool("rightstretch", RightStretch);
    F.Bool("bottomstretch", BottomStretch);
    F.Enum("stretchtype", StretchType, StretchTypeForm, spstFull);
}

TspDataSkinButtonControl::TspDataSkinButtonControl(const std::string& AIDName) : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinButtonControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 12);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Color("downfontcolor", DownFontColor, 0, 0);
    F.Color("disabledfontcolor", DisabledFontColor, 0, 0);
    F.Bool("morphing", Morphing);
    F.Enum("morphkind", MorphKind, MorphKindForm, mkDefault);
    F.Rect("activeskinrect", ActiveSkinRect);
    F.Rect("downskinrect", DownSkinRect);
    F.Rect("focusedskinrect", FocusedSkinRect);
    F.Rect("disabledskinrect", DisabledSkinRect);
    F.Rect("animateskinrect", AnimateSkinRect);
    F.Int("framecount", FrameCount, 0, 0);
    F.Int("animateinterval", AnimateInterval, 25, 0);
    F.Bool("showfocus", ShowFocus);
    F.Rect("menumarkerflatrect", MenuMarkerFlatRect);
    F.Rect("menumarkerrect", MenuMarkerRect);
    F.Rect("menumarkeractiverect", MenuMarkerActiveRect);
    F.Rect("menumarkerdownrect", MenuMarkerDownRect);
    F.Color("menumarkertransparentcolor", MenuMarkerTransparentColor, 0, 0);
    F.Int("glowlayerpictureindex", GlowLayerPictureIndex, -1, -1);
    F.Int("glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1, -1);
    F.Int("glowlayeroffsetleft", GlowLayerOffsetLeft, 0, 0);
    F.Int("glowlayeroffsetright", GlowLayerOffsetRight, 0, 0);
    F.Int("glowlayeroffsettop", GlowLayerOffsetTop, 0, 0);
    F.Int("glowlayeroffsetbottom", GlowLayerOffsetBottom, 0, 0);
    F.Int("glowlayershowoffsetx", GlowLayerShowOffsetX, 0, 0);
    F.Int("glowlayershowoffsety", GlowLayerShowOffsetY, 0, 0);
    F.Int("glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255, 255);
}

TspDataSkinMenuButtonControl::TspDataSkinMenuButtonControl(const std::string& AIDName)
    : TspDataSkinButtonControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinMenuButtonControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinButtonControl::DescribeFields(F);
    F.Rect("trackbuttonrect", TrackButtonRect);
}

TspDataSkinCheckRadioControl::TspDataSkinCheckRadioControl(const std::string& AIDName)
    : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinCheckRadioControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 12);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Color("unenabledfontcolor", UnEnabledFontColor, 0, 0);
    F.Color("framefontcolor", FrameFontColor, 0, 0);
    F.Bool("morphing", Morphing);
    F.Enum("morphkind", MorphKind, MorphKindForm, mkDefault);
    F.Rect("activeskinrect", ActiveSkinRect);
    F.Rect("checkimagearea", CheckImageArea);
    F.Rect("textarea", TextArea);
    F.Rect("checkimagerect", CheckImageRect);
    F.Rect("uncheckimagerect", UnCheckImageRect);
    F.Rect("activecheckimagerect", ActiveCheckImageRect);
    F.Rect("activeuncheckimagerect", ActiveUnCheckImageRect);
    F.Rect("unenabledcheckimagerect", UnEnabledCheckImageRect);
    F.Rect("unenableduncheckimagerect", UnEnabledUnCheckImageRect);
    F.Rect("grayedcheckimagerect", GrayedCheckImageRect);
    F.Rect("activegrayedcheckimagerect", ActiveGrayedCheckImageRect);
}

TspDataSkinStdLabelControl::TspDataSkinStdLabelControl(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinStdLabelControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 12);
    F.Color("activefontcolor", ActiveFontColor, kBlue, kBlue);
}

TspDataSkinLabelControl::TspDataSkinLabelControl(const std::string& AIDName) : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinLabelControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 12);
}

TspDataSkinBitLabelControl::TspDataSkinBitLabelControl(const std::string& AIDName)
    : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinBitLabelControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("skintextrect", SkinTextRect);
    F.Int("symbolwidth", SymbolWidth, 0, 0);
    F.Int("symbolheight", SymbolHeight, 0, 0);
    F.Lines("symbols", Symbols.get());
}

TspDataSkinPanelControl::TspDataSkinPanelControl(const std::string& AIDName) : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinPanelControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Int("bgpictureindex", BGPictureIndex, -1, -1);
    F.Rect("captionrect", CaptionRect);
    F.Align("alignment", Alignment, taCenter);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 12);
    F.Rect("checkimagerect", CheckImageRect);
    F.Rect("uncheckimagerect", UnCheckImageRect);
    F.Rect("markframerect", MarkFrameRect);
    F.Rect("framerect", FrameRect);
    F.Rect("frametextrect", FrameTextRect);
    F.Int("frameleftoffset", FrameLeftOffset, 0, 0);
    F.Int("framerightoffset", FrameRightOffset, 0, 0);
    F.Rect("gripperrect", GripperRect);
    F.Bool("grippertransparent", GripperTransparent);
    F.Color("grippertransparentcolor", GripperTransparentColor, 0, kMagenta);
}

TspDataSkinExPanelControl::TspDataSkinExPanelControl(const std::string& AIDName)
    : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinExPanelControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("rollhskinrect", RollHSkinRect);
    F.Rect("rollvskinrect", RollVSkinRect);
    F.Int("rollleftoffset", RollLeftOffset, 0, 0);
    F.Int("rollrightoffset", RollRightOffset, 0, 0);
    F.Int("rolltopoffset", RollTopOffset, 0, 0);
    F.Int("rollbottomoffset", RollBottomOffset, 0, 0);
    F.Rect("rollvcaptionrect", RollVCaptionRect);
    F.Rect("rollhcaptionrect", RollHCaptionRect);
    F.Rect("closebuttonrect", CloseButtonRect);
    F.Rect("closebuttonactiverect", CloseButtonActiveRect);
    F.Rect("closebuttondownrect", CloseButtonDownRect);
    F.Rect("hrollbuttonrect", HRollButtonRect);
    F.Rect("hrollbuttonactiverect", HRollButtonActiveRect);
    F.Rect("hrollbuttondownrect", HRollButtonDownRect);
    F.Rect("hrestorebuttonrect", HRestoreButtonRect);
    F.Rect("hrestorebuttonactiverect", HRestoreButtonActiveRect);
    F.Rect("hrestorebuttondownrect", HRestoreButtonDownRect);
    F.Rect("vrollbuttonrect", VRollButtonRect);
    F.Rect("vrollbuttonactiverect", VRollButtonActiveRect);
    F.Rect("vrollbuttondownrect", VRollButtonDownRect);
    F.Rect("vrestorebuttonrect", VRestoreButtonRect);
    F.Rect("vrestorebuttonactiverect", VRestoreButtonActiveRect);
    F.Rect("vrestorebuttondownrect", VRestoreButtonDownRect);
    F.Rect("captionrect", CaptionRect);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 12);
    F.Bool("buttonstransparent", ButtonsTransparent);
    F.Color("buttonstransparentcolor", ButtonsTransparentColor, 0, kMagenta);
}

TspDataSkinScrollBoxControl::TspDataSkinScrollBoxControl(const std::string& AIDName)
    : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinScrollBoxControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Int("bgpictureindex", BGPictureIndex, -1, -1);
}

TspDataSkinBevel::TspDataSkinBevel(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinBevel::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    F.Color("lightcolor", LightColor, 0, 0);
    F.Color("darkcolor", DarkColor, 0, 0);
}

TspDataSkinScrollBarControl::TspDataSkinScrollBarControl(const std::string& AIDName)
    : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinScrollBarControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("trackarea", TrackArea);
    F.Rect("upbuttonrect", UpButtonRect);
    F.Rect("activeupbuttonrect", ActiveUpButtonRect);
    F.Rect("downupbuttonrect", DownUpButtonRect);
    F.Rect("downbuttonrect", DownButtonRect);
    F.Rect("activedownbuttonrect", ActiveDownButtonRect);
    F.Rect("downdownbuttonrect", DownDownButtonRect);
    F.Rect("thumbrect", ThumbRect);
    F.Rect("activethumbrect", ActiveThumbRect);
    F.Rect("downthumbrect", DownThumbRect);
    F.Int("thumboffset1", ThumbOffset1, 0, 0);
    F.Int("thumboffset2", ThumbOffset2, 0, 0);
    F.Bool("thumbtransparent", ThumbTransparent);
    F.Color("thumbtransparentcolor", ThumbTransparentColor, 0, kMagenta);
    F.Bool("thumbstretcheffect", ThumbStretchEffect);
    F.Int("thumbminsize", ThumbMinSize, 0, 0);
    F.Int("thumbminpagesize", ThumbMinPageSize, 0, 0);
    F.Rect("glyphrect", GlyphRect);
    F.Rect("activeglyphrect", ActiveGlyphRect);
    F.Rect("downglyphrect", DownGlyphRect);
    F.Bool("glyphtransparent", GlyphTransparent);
    F.Color("glyphtransparentcolor", GlyphTransparentColor, 0, kMagenta);
}

TspDataSkinTrackBarControl::TspDataSkinTrackBarControl(const std::string& AIDName)
    : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinTrackBarControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("activeskinrect", ActiveSkinRect);
    F.Rect("trackarea", TrackArea);
    F.Rect("buttonrect", ButtonRect);
    F.Rect("activebuttonrect", ActiveButtonRect);
    F.Bool("vertical", Vertical);
    F.Bool("buttontransparent", ButtonTransparent);
    F.Color("buttontransparentcolor", ButtonTransparentColor, 0, kMagenta);
}

TspDataSkinGaugeControl::TspDataSkinGaugeControl(const std::string& AIDName) : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinGaugeControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("progressarea", ProgressArea);
    F.Rect("progressrect", ProgressRect);
    F.Int("beginoffset", BeginOffset, 0, 0);
    F.Int("endoffset", EndOffset, 0, 0);
    F.Bool("vertical", Vertical);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 14);
    F.Bool("progresstransparent", ProgressTransparent);
    F.Color("progresstransparentcolor", ProgressTransparentColor, 0, kMagenta);
    F.Bool("progressstretch", ProgressStretch);
    F.Rect("animationskinrect", AnimationSkinRect);
    F.Int("animationcountframes", AnimationCountFrames, 0, 0);
    F.Int("animationtimerinterval", AnimationTimerInterval, 0, 0);
    F.Rect("progressanimationskinrect", ProgressAnimationSkinRect);
    F.Int("progressanimationcountframes", ProgressAnimationCountFrames, 0, 0);
    F.Int("progressanimationtimerinterval", ProgressAnimationTimerInterval, 0, 0);
    F.Int("animationbeginoffset", AnimationBeginOffset, 0, 0);
    F.Int("animationendoffset", AnimationEndOffset, 0, 0);
}

TspDataSkinSpinEditControl::TspDataSkinSpinEditControl(const std::string& AIDName)
    : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinSpinEditControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("activeskinrect", ActiveSkinRect);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 12);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Color("disabledfontcolor", DisabledFontColor, 0, 0);
    F.Rect("upbuttonrect", UpButtonRect);
    F.Rect("activeupbuttonrect", ActiveUpButtonRect);
    F.Rect("downupbuttonrect", DownUpButtonRect);
    F.Rect("downbuttonrect", DownButtonRect);
    F.Rect("activedownbuttonrect", ActiveDownButtonRect);
    F.Rect("downdownbuttonrect", DownDownButtonRect);
}

void TspDataSkinUpDownControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("upbuttonrect", UpButtonRect);
    F.Rect("activeupbuttonrect", ActiveUpButtonRect);
    F.Rect("downupbuttonrect", DownUpButtonRect);
    F.Rect("downbuttonrect", DownButtonRect);
    F.Rect("activedownbuttonrect", ActiveDownButtonRect);
    F.Rect("downdownbuttonrect", DownDownButtonRect);
}

void TspDataSkinUpDownControl::ClearPieces()
{
    LTPoint = RTPoint = LBPoint = RBPoint = TPoint{};
    ClRect = TRect{};
}

TspDataSkinSplitterControl::TspDataSkinSplitterControl(const std::string& AIDName)
    : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinSplitterControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("gripperrect", GripperRect);
    F.Bool("grippertransparent", GripperTransparent);
    F.Color("grippertransparentcolor", GripperTransparentColor, 0, kMagenta);
}

TspDataSkinControlBar::TspDataSkinControlBar(const std::string& AIDName) : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinControlBar::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("itemrect", ItemRect);
    F.Int("bgpictureindex", BGPictureIndex, -1, -1);
    F.Rect("hgriprect", HGripRect);
    F.Rect("vgriprect", VGripRect);
    F.Int("gripoffset1", GripOffset1, 0, 0);
    F.Int("gripoffset2", GripOffset2, 0, 0);
    F.Int("itemoffset1", ItemOffset1, 3, 0);
    F.Int("itemoffset2", ItemOffset2, 3, 0);
    F.Bool("itemstretcheffect", ItemStretchEffect);
    F.Bool("itemtransparent", ItemTransparent);
    F.Color("itemtransparentcolor", ItemTransparentColor, 0, 0);
    F.Bool("griptransparent", GripTransparent);
    F.Color("griptransparentcolor", GripTransparentColor, 0, 0);
}

TspDataSkinSlider::TspDataSkinSlider(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinSlider::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    F.Color("bgcolor", BGColor, 0, 0);
    F.Rect("hrulerrect", HRulerRect);
    F.Rect("hthumbrect", HThumbRect);
    F.Rect("vrulerrect", VRulerRect);
    F.Rect("vthumbrect", VThumbRect);
    F.Int("edgesize", EdgeSize, 0, 0);
    F.Color("pointscolor", PointsColor, 0, 0);
}

TspDataSkinFrameControl::TspDataSkinFrameControl(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinFrameControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    F.Int("framescount", FramesCount, 1, 1);
    F.Enum("framesplacement", FramesPlacement, FramesPlacementForm, fpHorizontal);
}

void TspDataSkinFrameControl::AfterRead()
{
    if (FramesCount < 1) FramesCount = 1;
}

TspDataSkinFrameRegulator::TspDataSkinFrameRegulator(const std::string& AIDName) : TspDataSkinFrameControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinFrameRegulator::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinFrameControl::DescribeFields(F);
    F.Enum("kind", Kind, RegulatorKindForm, rkRound);
}

TspDataSkinListBox::TspDataSkinListBox(const std::string& AIDName) : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinListBox::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("itemrect", SItemRect);
    F.Rect("activeitemrect", ActiveItemRect);
    F.Rect("focusitemrect", FocusItemRect);
    F.Int("itemleftoffset", ItemLeftOffset, 0, 0);
    F.Int("itemrightoffset", ItemRightOffset, 0, 0);
    F.Rect("itemtextrect", ItemTextRect);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 14);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Color("focusfontcolor", FocusFontColor, 0, 0);
    F.Rect("captionrect", CaptionRect);
    F.Str("captionfontname", CaptionFontName, "Arial", "Arial");
    F.Int("captionfontheight", CaptionFontHeight, 14, 14);
    F.Style("captionfontstyle", CaptionFontStyle);
    F.Color("captionfontcolor", CaptionFontColor, 0, 0);
    F.Rect("upbuttonrect", UpButtonRect);
    F.Rect("activeupbuttonrect", ActiveUpButtonRect);
    F.Rect("downupbuttonrect", DownUpButtonRect);
    F.Rect("downbuttonrect", DownButtonRect);
    F.Rect("activedownbuttonrect", ActiveDownButtonRect);
    F.Rect("downdownbuttonrect", DownDownButtonRect);
    F.Rect("checkbuttonrect", CheckButtonRect);
    F.Rect("activecheckbuttonrect", ActiveCheckButtonRect);
    F.Rect("downcheckbuttonrect", DownCheckButtonRect);
    F.Str("vscrollbarname", VScrollBarName, "vscrollbar", "");
    F.Str("hscrollbarname", HScrollBarName, "hscrollbar", "");
    F.Str("bothhscrollbarname", BothScrollBarName, "bothhscrollbar", "");
    F.Bool("showfocus", ShowFocus);
    F.Rect("disabledbuttonsrect", DisabledButtonsRect);
    F.Rect("buttonsarea", ButtonsArea);
}

void TspDataSkinCheckListBox::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinListBox::DescribeFields(F);
    F.Rect("itemcheckrect", ItemCheckRect);
    F.Rect("uncheckimagerect", UnCheckImageRect);
    F.Rect("checkimagerect", CheckImageRect);
}

TspDataSkinComboBox::TspDataSkinComboBox(const std::string& AIDName) : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinComboBox::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("activeskinrect", ActiveSkinRect);
    F.Rect("itemrect", SItemRect);
    F.Rect("activeitemrect", ActiveItemRect);
    F.Rect("focusitemrect", FocusItemRect);
    F.Int("itemleftoffset", ItemLeftOffset, 0, 0);
    F.Int("itemrightoffset", ItemRightOffset, 0, 0);
    F.Rect("itemtextrect", ItemTextRect);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 14);
    F.Color("focusfontcolor", FocusFontColor, 0, 0);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Rect("buttonrect", ButtonRect);
    F.Rect("activebuttonrect", ActiveButtonRect);
    F.Rect("downbuttonrect", DownButtonRect);
    F.Rect("unenabledbuttonrect", UnEnabledButtonRect);
    F.Str("listboxname", ListBoxName, "", "");
    F.Bool("itemstretcheffect", ItemStretchEffect);
    F.Bool("focusitemstretcheffect", FocusItemStretchEffect);
    F.Bool("showfocus", ShowFocus);
}

TspDataSkinEditControl::TspDataSkinEditControl(const std::string& AIDName) : TspDataSkinCustomControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinEditControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinCustomControl::DescribeFields(F);
    F.Rect("activeskinrect", ActiveSkinRect);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 12);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Color("disabledfontcolor", DisabledFontColor, 0, 0);
    F.Rect("buttonrect", ButtonRect);
    F.Rect("activebuttonrect", ActiveButtonRect);
    F.Rect("downbuttonrect", DownButtonRect);
    F.Rect("unenabledbuttonrect", UnEnabledButtonRect);
}

TspDataSkinMemoControl::TspDataSkinMemoControl(const std::string& AIDName) : TspDataSkinEditControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinMemoControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinEditControl::DescribeFields(F);
    F.Color("bgcolor", BGColor, 0, 0);
    F.Color("activebgcolor", ActiveBGColor, 0, 0);
}

TspDataSkinTextViewControl::TspDataSkinTextViewControl(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinTextViewControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 14);
    F.Color("bgcolor", BGColor, 0, kWhite);
}

TspDataSkinGridControl::TspDataSkinGridControl(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinGridControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    F.Rect("fixedcellrect", FixedCellRect);
    F.Rect("selectcellrect", SelectCellRect);
    F.Rect("focuscellrect", FocusCellRect);
    F.Int("fixedcellleftoffset", FixedCellLeftOffset, 0, 0);
    F.Int("fixedcellrightoffset", FixedCellRightOffset, 0, 0);
    F.Rect("fixedcelltextrect", FixedCellTextRect);
    F.Int("cellleftoffset", CellLeftOffset, 0, 0);
    F.Int("cellrightoffset", CellRightOffset, 0, 0);
    F.Rect("celltextrect", CellTextRect);
    F.Color("linescolor", LinesColor, 0, 0);
    F.Color("bgcolor", BGColor, 0, 0);
    F.Int("bgpictureindex", BGPictureIndex, -1, -1);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 14);
    F.Color("selectfontcolor", SelectFontColor, 0, 0);
    F.Color("focusfontcolor", FocusFontColor, 0, 0);
    F.Str("fixedfontname", FixedFontName, "Arial", "Arial");
    F.Int("fixedfontheight", FixedFontHeight, 14, 14);
    F.Style("fixedfontstyle", FixedFontStyle);
    F.Color("fixedfontcolor", FixedFontColor, 0, 0);
    F.Bool("cellstretcheffect", CellStretchEffect);
    F.Bool("fixedcellstretcheffect", FixedCellStretchEffect);
    F.Bool("showfocus", ShowFocus);
}

TspDataSkinTabControl::TspDataSkinTabControl(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinTabControl::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    F.Rect("tabrect", TabRect);
    F.Rect("activetabrect", ActiveTabRect);
    F.Rect("focustabrect", FocusTabRect);
    F.Rect("mouseintabrect", MouseInTabRect);
    F.Rect("clientrect", ClRect);
    F.Int("bgpictureindex", BGPictureIndex, -1, -1);
    F.Point("lefttoppoint", LTPoint);
    F.Point("righttoppoint", RTPoint);
    F.Point("leftbottompoint", LBPoint);
    F.Point("rightbottompoint", RBPoint);
    F.Int("tableftoffset", TabLeftOffset, 0, 0);
    F.Int("tabrightoffset", TabRightOffset, 0, 0);
    F.Rect("tabsbgrect", TabsBGRect);
    F.Bool("tabstretcheffect", TabStretchEffect);
    F.Bool("leftstretch", LeftStretch);
    F.Bool("topstretch", TopStretch);
    F.Bool("rightstretch", RightStretch);
    F.Bool("bottomstretch", BottomStretch);
    F.Bool("stretcheffect", StretchEffect);
    F.Enum("stretchtype", StretchType, StretchTypeForm, spstFull);
    FontRows(F, FontName, FontHeight, FontStyle, FontColor, 14);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Color("focusfontcolor", FocusFontColor, 0, 0);
    F.Color("mouseinfontcolor", MouseInFontColor, 0, 0);
    F.Str("updown", UpDown, "", "");
    F.Bool("showfocus", ShowFocus);
    F.Int("focusoffsetx", FocusOffsetX, 0, 0);
    F.Int("focusoffsety", FocusOffsetY, 0, 0);
    F.Rect("closebuttonrect", CloseButtonRect);
    F.Rect("closebuttonactiverect", CloseButtonActiveRect);
    F.Rect("closebuttondownrect", CloseButtonDownRect);
    F.Bool("buttontransparent", ButtonTransparent);
    F.Color("buttontransparentcolor", ButtonTransparentColor, 0, kMagenta);
}

TspDataSkinMainMenuBar::TspDataSkinMainMenuBar(const std::string& AIDName) : TspDataSkinControl(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinMainMenuBar::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinControl::DescribeFields(F);
    F.Rect("itemsrect", ItemsRect);
    F.Str("menubaritem", MenuBarItem, "", "");
    F.Str("closebutton", CloseButton, "", "");
    F.Str("minbutton", MinButton, "", "");
    F.Str("maxbutton", MaxButton, "", "");
    F.Str("sysmenubutton", SysMenuButton, "", "");
    F.Int("trackmarkcolor", TrackMarkColor, 0, 0);
    F.Int("trackmarkactivecolor", TrackMarkActiveColor, 0, 0);
    F.Bool("stretcheffect", StretchEffect);
    F.Bool("itemtransparent", ItemTransparent);
}
