#pragma once
// The value and label objects a skin can put on a form's frame (or on the whole picture of a frameless skin):
// a place the application paints itself, a track bar, a two-state switch, a gauge, a gauge and a regulator
// drawn from a strip of frames, a text label and a label drawn with a bitmap font. The application reaches them
// by name through the form and hears about changes through the form's events.
#include <string>

#include "skin/core/effect_bitmap.h"
#include "skin/forms/skin_form.h"

class TStrings;

enum TTrackKind { tkHorizontal, tkVertical };

class TspUserObject : public TspActiveSkinObject {
public:
    TspUserObject(TspCorvalis* AParent, TspDataUserObject* AData) : TspActiveSkinObject(AParent, AData) {}
    // The form's paint event draws it; the object itself draws nothing.
    void Draw(TCanvas* Cnvs, bool UpDate) override;
};

class TspSkinTrackBarObject : public TspActiveSkinObject {
public:
    TspSkinTrackBarObject(TspCorvalis* AParent, TspDataSkinTrackBar* AData);

    Integer Value() const { return FValue; }
    void SetValue(Integer AValue);
    // As SetValue, without the equality test and without redrawing; the change is still reported.
    void SimplySetValue(Integer AValue);
    void SetButtonPos(TPoint P);
    TPoint ButtonPos() const { return FButtonPos; }
    bool Dragging() const { return MoveActive; }

    // The button's centre for a value, and the value of a centre, in object coordinates.
    TPoint PlaceOfValue(Integer AValue) const;
    Integer ValueOfPlace(TPoint P) const;
    TRect ButtonRectAt(TPoint C) const;

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseMove(Integer X, Integer Y) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;

    TTrackKind TrackKind = tkHorizontal;
    TRect ButtonRect;
    TRect ActiveButtonRect;
    TPoint BeginPoint;
    TPoint EndPoint;
    Integer MinValue = 0;
    Integer MaxValue = 0;
    bool MouseDownChangeValue = false;
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;

private:
    void Changed();
    TPoint FButtonPos, FOldButtonPos;
    Integer FValue = 0;
    bool MoveActive = false;
    TPoint FOldMPoint;
};

class TspSkinSwitchObject : public TspActiveSkinObject {
public:
    TspSkinSwitchObject(TspCorvalis* AParent, TspDataSkinSwitch* AData);

    TSwitchState State() const { return FState; }
    void SetState(TSwitchState Value);
    // No redraw and no event; an on switch shows fully on at the next paint.
    void SimpleSetState(TSwitchState Value);

    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    TSwitchState FState;
};

class TspSkinGaugeObject : public TspActiveSkinObject {
public:
    TspSkinGaugeObject(TspCorvalis* AParent, TspDataSkinGauge* AData);

    Integer Value() const { return FValue; }
    void SetValue(Integer AValue);
    void SimplySetValue(Integer AValue);
    TPoint ProgressPos() const { return FProgressPos; }
    TPoint PlaceOfValue(Integer AValue) const;

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseEnter() override;
    void MouseLeave() override;

    Integer MinValue = 0;
    Integer MaxValue = 0;
    TGaugeKind Kind = gkHorizontal;

private:
    TPoint FProgressPos, FOldProgressPos;
    Integer FValue = 0;
};

// A strip of equal frames starting at ActiveSkinRect's top-left corner of the active picture.
class TspSkinFrameObject : public TspActiveSkinObject {
public:
    Integer Frame() const { return FFrame; }
    // Frames are numbered from 1; a number beyond the strip is not taken, but the object is redrawn anyway.
    void SetFrame(Integer Value);
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    // The rectangle of frame AFrame in the active picture.
    TRect FrameRect(Integer AFrame) const;

    Integer FrameW = 0, FrameH = 0;
    Integer CountFrames = 0;
    TFramesPlacement FramesPlacement = fpHorizontal;

protected:
    TspSkinFrameObject(TspCorvalis* AParent, TspDataSkinObject* AData, Integer ACountFrames,
                       TFramesPlacement APlacement);
    // The frame a value in MinValue .. MaxValue shows.
    Integer FrameFromValue(Integer AValue, Integer AMinValue, Integer AMaxValue) const;
    Integer FFrame = 1;
};

class TspSkinFrameGaugeObject : public TspSkinFrameObject {
public:
    TspSkinFrameGaugeObject(TspCorvalis* AParent, TspDataSkinFrameGaugeObject* AData);

    Integer Value() const { return FValue; }
    // Values outside MinValue .. MaxValue are ignored.
    void SetValue(Integer AValue);
    void SimplySetValue(Integer AValue);
    Integer FrameFromValue() const;

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseEnter() override;
    void MouseLeave() override;

    Integer MinValue = 0;
    Integer MaxValue = 0;

private:
    Integer FValue = 0;
};

class TspSkinFrameRegulatorObject : public TspSkinFrameObject {
public:
    TspSkinFrameRegulatorObject(TspCorvalis* AParent, TspDataSkinFrameRegulatorObject* AData);

    Integer Value() const { return FValue; }
    // Values outside MinValue .. MaxValue are ignored.
    void SetValue(Integer AValue);
    void SimplySetValue(Integer AValue);
    Integer FrameFromValue() const;
    // A knob's pointer angle for an object point: 0 at the bottom, growing clockwise, in whole degrees.
    Integer PointToAngle(Integer X, Integer Y) const;

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
    void MouseMove(Integer X, Integer Y) override;
    void MouseUp(Integer X, Integer Y, TMouseButton Button) override;

    Integer MinValue = 0;
    Integer MaxValue = 0;
    TRegulatorKind Kind = rkRound;

private:
    Integer Measure(TPoint P) const;
    void LinearRegulatorStep();
    void RoundRegulatorStep();
    void Step(bool AGrow);
    Integer FPixInc = 1, FValInc = 1;
    bool FDown = false;
    Integer StartV = 0, CurV = 0, TempValue = 0, OldCurV = 0;
    Integer FValue = 0;
};

class TspSkinBitLabelObject : public TspActiveSkinObject {
public:
    TspSkinBitLabelObject(TspCorvalis* AParent, TspDataSkinBitLabel* AData);

    const std::string& TextValue() const { return FTextValue; }
    void SetTextValue(const std::string& AValue, bool AUpDate);
    // Column and row of a character in the font picture; false when the font has none.
    bool FindSymbol(char C, Integer& AColumn, Integer& ARow) const;

    void Draw(TCanvas* Cnvs, bool UpDate) override;

    Integer SymbolWidth = 0, SymbolHeight = 0;
    // The record's list; the record keeps it.
    TStrings* Symbols = nullptr;
    bool Transparent = false;
    TColor TransparentColor = 0;

private:
    std::string FTextValue;
};

class TspSkinLabelObject : public TspActiveSkinObject {
public:
    TspSkinLabelObject(TspCorvalis* AParent, TspDataSkinLabel* AData);

    const std::string& TextValue() const { return FTextValue; }
    void SetTextValue(const std::string& AValue, bool AUpDate);
    // Where the text starts on an image of the object's size.
    TPoint TextOrigin(TCanvas* ACanvas) const;

    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseEnter() override;
    void MouseLeave() override;

    std::string FontName;
    TFontStyles FontStyle;
    Integer FontHeight = 0;
    TColor FontColor = 0, ActiveFontColor = 0;
    TAlignment Alignment = taLeftJustify;

private:
    // The normal or active image with the text in AColor.
    void PaintImage(TBitmap* AImage, bool AActivePicture, TColor AColor) const;
    bool ChangesWhenActive() const;
    std::string FTextValue;
};
