#include "skin/core/skin_records.h"

#include "platform/gdi/colors.h"

namespace {

// Runs the rows of exactly one class (and its bases) with the constructor values.
template <typename R>
void ApplyConstructorValues(R& ARecord)
{
    TspFieldConstructor values;
    ARecord.R::DescribeFields(values);
}

template <typename R>
void ReadFixedSection(R& ARecord, TCustomIniFile* IniFile, const char* Section)
{
    TspFieldReader reader(IniFile, Section);
    ARecord.DescribeFields(reader);
}

template <typename R>
void WriteFixedSection(R& ARecord, TCustomIniFile* IniFile, const char* Section)
{
    IniFile->EraseSection(Section);
    TspFieldWriter writer(IniFile, Section);
    ARecord.DescribeFields(writer);
}

bool IsEmptyRecordRect(const TRect& R) { return R.Right - R.Left <= 0 || R.Bottom - R.Top <= 0; }

// While no restore hint was given, the maximize, minimize and roll-up buttons get "Restore".
void ApplyRestoreHintRule(std::string& RestoreHint, const std::string& Hint, TStdCommand Command)
{
    if (!RestoreHint.empty()) return;
    if ((Hint == "Maximize" && Command == cmMaximize) || (Hint == "Minimize" && Command == cmMinimize) ||
        ((Hint == "RollUp" || Hint == "Roll Up") && Command == cmRollUp))
        RestoreHint = "Restore";
}

}  // namespace

TspDataSkinObject::TspDataSkinObject(const std::string& AIDName) : IDName(AIDName) { ApplyConstructorValues(*this); }

void TspDataSkinObject::LoadFromFile(TCustomIniFile* IniFile)
{
    TspFieldReader reader(IniFile, IDName);
    DescribeFields(reader);
    AfterRead();
}

void TspDataSkinObject::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(IDName);
    TspFieldWriter writer(IniFile, IDName);
    DescribeFields(writer);
}

void TspDataSkinObject::DescribeFields(TspFieldVisitor& F)
{
    F.Str("hint", Hint, "", "");
    F.Bool("rollup", RollUp);
    F.Int("activepictureindex", ActivePictureIndex, -1, -1);
    F.Int("activemaskpictureindex", ActiveMaskPictureIndex, -1, -1);
    F.Bool("skinrectinapicture", SkinRectInAPicture);
    F.Int("cursorindex", CursorIndex, -1, -1);
    F.Rect("skinrect", SkinRect);
    F.Rect("activeskinrect", ActiveSkinRect);
    F.Rect("inactiveskinrect", InActiveSkinRect);
    F.Bool("morphing", Morphing);
    F.Enum("morphkind", MorphKind, MorphKindForm, mkDefault);
    F.Int("glowlayerpictureindex", GlowLayerPictureIndex, -1, -1);
    F.Int("glowlayermaskpictureindex", GlowLayerMaskPictureIndex, -1, -1);
    F.Int("glowlayeroffsetx", GlowLayerOffsetX, 0, 0);
    F.Int("glowlayeroffsety", GlowLayerOffsetY, 0, 0);
    F.Int("glowlayeralphablendvalue", GlowLayerAlphaBlendValue, 255, 255);
}

void TspDataUserObject::DescribeFields(TspFieldVisitor& F)
{
    F.Bool("rollup", RollUp);
    F.Rect("skinrect", SkinRect);
    F.Int("cursorindex", CursorIndex, -1, -1);
}

TspDataSkinGauge::TspDataSkinGauge(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinGauge::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Int("minvalue", MinValue, 0, 0);
    F.Int("maxvalue", MaxValue, 0, 0);
    F.Enum("kind", Kind, GaugeKindForm, gkHorizontal);
}

TspDataSkinFrameGaugeObject::TspDataSkinFrameGaugeObject(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinFrameGaugeObject::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Int("minvalue", MinValue, 0, 0);
    F.Int("maxvalue", MaxValue, 0, 0);
    F.Int("countframes", CountFrames, 0, 0);
    F.Enum("framesplacement", FramesPlacement, FramesPlacementForm, fpHorizontal);
}

TspDataSkinFrameRegulatorObject::TspDataSkinFrameRegulatorObject(const std::string& AIDName)
    : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinFrameRegulatorObject::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Int("minvalue", MinValue, 0, 0);
    F.Int("maxvalue", MaxValue, 0, 0);
    F.Int("countframes", CountFrames, 0, 0);
    F.Enum("framesplacement", FramesPlacement, FramesPlacementForm, fpHorizontal);
    F.Enum("kind", Kind, RegulatorKindForm, rkRound);
}

TspDataSkinTrackBar::TspDataSkinTrackBar(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinTrackBar::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Rect("buttonrect", ButtonRect);
    F.Rect("activebuttonrect", ActiveButtonRect);
    F.Point("beginpoint", BeginPoint);
    F.Point("endpoint", EndPoint);
    F.Int("minvalue", MinValue, 0, 0);
    F.Int("maxvalue", MaxValue, 0, 0);
    F.Bool("mousedownchangevalue", MouseDownChangeValue);
    F.Bool("buttontransparent", ButtonTransparent);
    F.Color("buttontransparentcolor", ButtonTransparentColor, 0, 0);
}

TspDataSkinAnimate::TspDataSkinAnimate(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinAnimate::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Int("countframes", CountFrames, 1, 0);
    F.Bool("cycle", Cycle);
    F.Bool("buttonstyle", ButtonStyle);
    F.Int("timerinterval", TimerInterval, 50, 0);
    F.Enum("command", Command, CommandForm, cmClose);
    F.Rect("downskinrect", DownSkinRect);
    F.Rect("restorerect", RestoreRect);
    F.Rect("restoreactiverect", RestoreActiveRect);
    F.Rect("restoredownrect", RestoreDownRect);
    F.Rect("restoreinactiverect", RestoreInActiveRect);
    F.Str("restorehint", RestoreHint, "", "");
}

void TspDataSkinAnimate::AfterRead()
{
    Morphing = false;
    ApplyRestoreHintRule(RestoreHint, Hint, Command);
}

TspDataSkinButton::TspDataSkinButton(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinButton::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Rect("downrect", DownRect);
    F.Rect("disableskinrsect", DisableSkinRect);
    F.Int("groupindex", GroupIndex, -1, -1);
    F.Int("alphamaskpictureindex", AlphaMaskPictureIndex, -1, -1);
    F.Int("alphamaskactivepictureindex", AlphaMaskActivePictureIndex, -1, -1);
    F.Int("alphamaskinactivepictureindex", AlphaMaskInActivePictureIndex, -1, -1);
}

TspDataSkinStdButton::TspDataSkinStdButton(const std::string& AIDName) : TspDataSkinButton(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinStdButton::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinButton::DescribeFields(F);
    F.Enum("command", Command, CommandForm, cmClose);
    F.Rect("restorerect", RestoreRect);
    F.Rect("restoreactiverect", RestoreActiveRect);
    F.Rect("restoredownrect", RestoreDownRect);
    F.Rect("restoreinactiverect", RestoreInActiveRect);
    F.Str("restorehint", RestoreHint, "", "");
}

void TspDataSkinStdButton::AfterRead() { ApplyRestoreHintRule(RestoreHint, Hint, Command); }

TspDataSkinLabel::TspDataSkinLabel(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinLabel::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Str("fontname", FontName, "Arial", "");
    F.Int("fontheight", FontHeight, 14, 0);
    F.Style("fontstyle", FontStyle);
    F.Color("fontcolor", FontColor, 0, 0);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Align("alignment", Alignment, taLeftJustify);
    F.Str("textvalue", TextValue, "", "");
}

TspDataSkinBitLabel::TspDataSkinBitLabel(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinBitLabel::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Str("textvalue", TextValue, "", "");
    F.Int("symbolwidth", SymbolWidth, 0, 0);
    F.Int("symbolheight", SymbolHeight, 0, 0);
    F.Lines("symbols", Symbols.get());
    F.Bool("transparent", Transparent);
    F.Color("transparentcolor", TransparentColor, 0xFF00FF, 0xFF00FF);
}

TspDataSkinMenuItem::TspDataSkinMenuItem(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinMenuItem::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Int("itemleftoffset", ItemLO, 0, 0);
    F.Int("itemrightoffset", ItemRO, 0, 0);
    F.Rect("dividerrect", DividerRect);
    F.Int("dividerleftoffset", DividerLO, 0, 0);
    F.Int("dividerrightoffset", DividerRO, 0, 0);
    F.Rect("textrect", TextRct);
    F.Rect("imagerect", ImageRct);
    F.Str("fontname", FontName, "Arial", "");
    F.Int("fontheight", FontHeight, 14, 0);
    F.Style("fontstyle", FontStyle);
    F.Color("fontcolor", FontColor, 0, 0);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Color("unenabledfontcolor", UnEnabledFontColor, 0, 0);
    F.Bool("stretcheffect", StretchEffect);
    F.Bool("inactivestretcheffect", InActiveStretchEffect);
    F.Bool("dividerstretcheffect", DividerStretchEffect);
    F.Rect("animateskinrect", AnimateSkinRect);
    F.Int("framecount", FrameCount, 0, 0);
    F.Int("animateinterval", AnimateInterval, 25, 0);
    F.Bool("inactiveanimation", InActiveAnimation);
    F.Bool("useimagecolor", UseImageColor);
    F.Color("imagecolor", ImageColor, 0, 0);
    F.Color("activeimagecolor", ActiveImageColor, 0, 0);
    F.Bool("inactivetransparent", InActiveTransparent);
    F.Rect("checkimagerect", CheckImageRect);
    F.Rect("activecheckimagerect", ActiveCheckImageRect);
    F.Rect("radioimagerect", RadioImageRect);
    F.Rect("activeradioimagerect", ActiveRadioImageRect);
    F.Rect("arrowimagerect", ArrowImageRect);
    F.Rect("activearrowimagerect", ActiveArrowImageRect);
}

void TspDataSkinMenuItem::AfterRead()
{
    if (IsEmptyRecordRect(ActiveCheckImageRect)) ActiveCheckImageRect = CheckImageRect;
    if (IsEmptyRecordRect(ActiveRadioImageRect)) ActiveRadioImageRect = RadioImageRect;
    if (IsEmptyRecordRect(ActiveArrowImageRect)) ActiveArrowImageRect = ArrowImageRect;
}

TspDataSkinMainMenuItem::TspDataSkinMainMenuItem(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinMainMenuItem::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Int("itemleftoffset", ItemLO, 0, 0);
    F.Int("itemrightoffset", ItemRO, 0, 0);
    F.Rect("downrect", DownRect);
    F.Rect("textrect", TextRct);
    F.Str("fontname", FontName, "Arial", "");
    F.Int("fontheight", FontHeight, 14, 0);
    F.Style("fontstyle", FontStyle);
    F.Color("fontcolor", FontColor, 0, 0);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Color("downfontcolor", DownFontColor, 0, 0);
    F.Color("unenabledfontColor", UnEnabledFontColor, 0, 0);
    F.Bool("stretcheffect", StretchEffect);
    F.Rect("animateskinrect", AnimateSkinRect);
    F.Int("framecount", FrameCount, 0, 0);
    F.Int("animateinterval", AnimateInterval, 25, 0);
    F.Bool("inactiveanimation", InActiveAnimation);
}

TspDataSkinCaption::TspDataSkinCaption(const std::string& AIDName) : TspDataSkinObject(AIDName)
{
    ApplyConstructorValues(*this);
}

void TspDataSkinCaption::DescribeFields(TspFieldVisitor& F)
{
    TspDataSkinObject::DescribeFields(F);
    F.Bool("defaultcaption", DefaultCaption);
    F.Rect("textrect", TextRct);
    F.Str("fontname", FontName, "Arial", "");
    F.Int("fontheight", FontHeight, 14, 0);
    F.Style("fontstyle", FontStyle);
    F.Color("fontcolor", FontColor, 0, 0);
    F.Color("activefontcolor", ActiveFontColor, 0, 0);
    F.Align("alignment", Alignment, taLeftJustify);
    F.Bool("shadow", Shadow);
    F.Color("shadowcolor", ShadowColor, 0, 0);
    F.Bool("light", Light);
    F.Color("lightcolor", LightColor, 0, 0);
    F.Color("activelightcolor", ActiveLightColor, 0, 0);
    F.Color("activeshadowcolor", ActiveShadowColor, 0, 0);
    F.Rect("framerect", FrameRect);
    F.Rect("activeframerect", ActiveFrameRect);
    F.Rect("frametextrect", FrameTextRect);
    F.Int("frameleftoffset", FrameLeftOffset, 0, 0);
    F.Int("framerightoffset", FrameRightOffset, 0, 0);
    F.Bool("stretcheffect", StretchEffect);
    F.Rect("animateskinrect", AnimateSkinRect);
    F.Int("framecount", FrameCount, 0, 0);
    F.Int("animateinterval", AnimateInterval, 25, 0);
    F.Bool("inactiveanimation", InActiveAnimation);
    F.Bool("fullframe", FullFrame);
    F.Bool("vistagloweffect", VistaGlowEffect);
    F.Bool("vistaglowinactiveeffect", VistaGlowInActiveEffect);
    F.Bool("gloweffect", GlowEffect);
    F.Bool("glowinactiveeffect", GlowInActiveEffect);
    F.Int("glowsize", GlowSize, 3, 0);
    F.Color("glowcolor", GlowColor, 0, 0);
    F.Color("glowactivecolor", GlowActiveColor, 0, 0);
    F.Int("glowoffset", GlowOffset, 0, 0);
    F.Bool("reflectioneffect", ReflectionEffect);
    F.Color("reflactioncolor", ReflectionColor, 0, 0);
    F.Color("reflactionactivecolor", ReflectionActiveColor, 0, 0);
    F.Int("reflectionoffset", ReflectionOffset, 0, 0);
    F.Rect("dividerrect", DividerRect);
    F.Bool("dividertransparent", DividerTransparent);
    F.Color("dividertransparentcolor", DividerTransparentColor, 0, 0);
}

TspDataSkinPopupWindow::TspDataSkinPopupWindow() { ApplyConstructorValues(*this); }
void TspDataSkinPopupWindow::LoadFromFile(TCustomIniFile* IniFile) { ReadFixedSection(*this, IniFile, "POPUPWINDOW"); }
void TspDataSkinPopupWindow::SaveToFile(TCustomIniFile* IniFile) { WriteFixedSection(*this, IniFile, "POPUPWINDOW"); }

void TspDataSkinPopupWindow::DescribeFields(TspFieldVisitor& F)
{
    F.Int("windowpictureindex", WindowPictureIndex, -1, -1);
    F.Int("maskpictureindex", MaskPictureIndex, -1, -1);
    F.Point("lefttoppoint", LTPoint);
    F.Point("righttoppoint", RTPoint);
    F.Point("leftbottompoint", LBPoint);
    F.Point("rightbottompoint", RBPoint);
    F.Int("cursorindex", CursorIndex, -1, -1);
    F.Rect("itemsrect", ItemsRect);
    F.Color("scrollmarkercolor", ScrollMarkerColor, 0, 0);
    F.Color("scrollmarkeractivecolor", ScrollMarkerActiveColor, 0, 0);
    F.Bool("leftstretch", LeftStretch);
    F.Bool("rightstretch", RightStretch);
    F.Bool("topstretch", TopStretch);
    F.Bool("bottomstretch", BottomStretch);
    F.Bool("stretcheffect", StretchEffect);
    F.Enum("stretchtype", StretchType, StretchTypeForm, spstFull);
}

TspDataSkinLayerFrame::TspDataSkinLayerFrame() { ApplyConstructorValues(*this); }
void TspDataSkinLayerFrame::LoadFromFile(TCustomIniFile* IniFile) { ReadFixedSection(*this, IniFile, "LAYERFRAME"); }
void TspDataSkinLayerFrame::SaveToFile(TCustomIniFile* IniFile) { WriteFixedSection(*this, IniFile, "LAYERFRAME"); }

void TspDataSkinLayerFrame::DescribeFields(TspFieldVisitor& F)
{
    F.Int("pictureindex", PictureIndex, -1, -1);
    F.Int("maskpictureindex", MaskPictureIndex, -1, -1);
    F.Int("inactivepictureindex", InActivePictureIndex, -1, -1);
    F.Int("inactivemaskpictureindex", InActiveMaskPictureIndex, -1, -1);
    F.Point("lefttoppoint", LTPoint);
    F.Point("righttoppoint", RTPoint);
    F.Point("leftbottompoint", LBPoint);
    F.Point("rightbottompoint", RBPoint);
    F.Rect("clientrect", ClRect);
    F.Int("alphablendvalue", AlphaBlendValue, 255, 255);
    F.Int("inactivealphablendvalue", InActiveAlphaBlendValue, 255, 255);
    F.Rect("borderrect", BorderRect);
    F.Bool("hittestenable", HitTestEnable);
    F.Bool("fullborder", FullBorder);
    F.Int("hittestsize", HitTestSize, 0, 0);
    F.Rect("captionrect", CaptionRect);
    F.Point("hittestlefttoppoint", HitTestLTPoint);
    F.Point("hittestrighttoppoint", HitTestRTPoint);
    F.Point("hittestleftbottompoint", HitTestLBPoint);
    F.Point("hittestrightbottompoint", HitTestRBPoint);
    F.Rect("buttonsrect", ButtonsRect);
    F.Rect("sysmenubuttonrect", SysMenuButtonRect);
    F.Bool("fullstretch", FullStretch);
    F.Int("rollupformheight", RollUpFormHeight, 0, 0);
    F.Int("buttonstopoffset", ButtonsTopOffset, 0, 0);
    F.Int("sysbuttontopoffset", SysButtonTopOffset, 0, 0);
    F.Int("blurmaskpictureindex", BlurMaskPictureIndex, -1, -1);
    F.Rect("intersectblurmaskrect", IntersectBlurMaskRect);
    F.Rect("excludeblurmaskrect", ExcludeBlurMaskRect);
    F.Int("leftoffset", LeftOffset, 0, 0);
    F.Int("topoffset", TopOffset, 0, 0);
    F.Int("widthoffset", WidthOffset, 0, 0);
    F.Int("heightoffset", HeightOffset, 0, 0);
}

TspDataSkinHintWindow::TspDataSkinHintWindow() { ApplyConstructorValues(*this); }
void TspDataSkinHintWindow::LoadFromFile(TCustomIniFile* IniFile) { ReadFixedSection(*this, IniFile, "HINTWINDOW"); }
void TspDataSkinHintWindow::SaveToFile(TCustomIniFile* IniFile) { WriteFixedSection(*this, IniFile, "HINTWINDOW"); }

void TspDataSkinHintWindow::DescribeFields(TspFieldVisitor& F)
{
    F.Int("windowpictureindex", WindowPictureIndex, -1, -1);
    F.Int("maskpictureindex", MaskPictureIndex, -1, -1);
    F.Point("lefttoppoint", LTPoint);
    F.Point("righttoppoint", RTPoint);
    F.Point("leftbottompoint", LBPoint);
    F.Point("rightbottompoint", RBPoint);
    F.Rect("clientrect", ClRect);
    F.Str("fontname", FontName, "Arial", "Arial");
    F.Int("fontheight", FontHeight, 14, 12);
    F.Style("fontstyle", FontStyle);
    F.Color("fontcolor", FontColor, 0, 0);
    F.Bool("leftstretch", LeftStretch);
    F.Bool("rightstretch", RightStretch);
    F.Bool("topstretch", TopStretch);
    F.Bool("bottomstretch", BottomStretch);
    F.Bool("stretcheffect", StretchEffect);
    F.Enum("stretchtype", StretchType, StretchTypeForm, spstFull);
}

void TspSkinColors::SetColorsToDefault()
{
    FcBtnFace = clBtnFace;
    FcBtnText = clBtnText;
    FcWindow = clWindow;
    FcWindowText = clWindowText;
    FcHighLight = clHighlight;
    FcHighLightText = clHighlightText;
    FcBtnHighLight = clBtnHighlight;
    FcBtnShadow = clBtnShadow;
    Fc3DLight = cl3DLight;
    Fc3DDkShadow = cl3DDkShadow;
}

void TspSkinColors::LoadFromFile(TCustomIniFile* IniFile) { ReadFixedSection(*this, IniFile, "SKINCOLORS"); }

void TspSkinColors::SaveToFile(TCustomIniFile* IniFile)
{
    TspFieldWriter writer(IniFile, "SKINCOLORS");
    DescribeFields(writer);
}

void TspSkinColors::DescribeFields(TspFieldVisitor& F)
{
    F.Color("cbtnface", FcBtnFace, 0, 0);
    F.Color("cbtntext", FcBtnText, 0, 0);
    F.Color("cwindow", FcWindow, 0, 0);
    F.Color("cwindowtext", FcWindowText, 0, 0);
    F.Color("chighlight", FcHighLight, 0, 0);
    F.Color("chighlighttext", FcHighLightText, 0, 0);
    F.Color("cbtnhighlight", FcBtnHighLight, 0, 0);
    F.Color("cbtnshadow", FcBtnShadow, 0, 0);
    F.Color("c3dlight", Fc3DLight, 0, 0);
    F.Color("c3ddkshadow", Fc3DDkShadow, 0, 0);
}
