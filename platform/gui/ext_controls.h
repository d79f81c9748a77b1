#pragma once
// Simple controls: a picture, a shape, a bevel, a panel and a label.
#include "platform/gui/controls.h"
#include "platform/gui/picture.h"

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture* Picture() { return &FPicture; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool AValue);
    bool Center() const { return FCenter; }
    void SetCenter(bool AValue);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool AValue);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    // Where the picture lands inside the control.
    TRect DestRect();

protected:
    void Paint() override;
    bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) override;

private:
    void PictureChanged(TObject* ASender);

    TPicture FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType AValue);
    TPen* Pen() { return &FPen; }
    TBrush* Brush() { return &FBrush; }

protected:
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    TPen FPen;
    TBrush FBrush;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape AValue);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle AValue);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel AValue);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel AValue);
    Integer BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(Integer AValue);
    Integer BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer AValue);
    bool BorderSingle() const { return FBorderSingle; }
    void SetBorderSingle(bool AValue);  // a one-pixel frame around everything
    void AdjustClientRect(TRect& ARect) override;

protected:
    void Paint() override;

private:
    void Changed();

    TAlignment FAlignment = taCenter;
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    Integer FBevelWidth = 1;
    Integer FBorderWidth = 0;
    bool FBorderSingle = false;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment AValue);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout AValue);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool AValue);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool AValue);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool AValue);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* AValue);
    void WndProc(TMessage& AMessage) override;

protected:
    // Draws (or with DT_CALCRECT measures) the caption; the hook skinned labels replace.
    virtual void DoDrawText(TRect& ARect, win::UINT AFlags);
    // The text DoDrawText draws: the caption, with a lone "&" kept when accelerators are not shown.
    virtual std::string GetLabelText();
    void Paint() override;
    bool CanAutoSize(Integer& ANewWidth, Integer& ANewHeight) override;
    // A right-aligned label grows and shrinks to the left, keeping its right edge.
    void AdjustSize() override;
    void Notification(TComponent* AComponent, TOperation AOperation) override;
    win::UINT DrawTextFlags() const;

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};
