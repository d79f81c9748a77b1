#include "platform/gui/ext_controls.h"

#include "platform/gdi/gdi.h"
#include "platform/gui/menus.h"

#include <algorithm>

using namespace win;

namespace {

// Two-colour frame: top and left in ATopLeft, bottom and right in ABottomRight; ARect shrinks by AWidth.
void Frame3D(TCanvas* ACanvas, TRect& ARect, TColor ATopLeft, TColor ABottomRight, int AWidth)
{
    for (int i = 0; i < AWidth; ++i) {
        --ARect.Bottom;
        --ARect.Right;
        ACanvas->Pen()->SetColor(ATopLeft);
        ACanvas->Polyline({{ARect.Left, ARect.Bottom}, {ARect.Left, ARect.Top}, {ARect.Right, ARect.Top}});
        ACanvas->Pen()->SetColor(ABottomRight);
        ACanvas->Polyline({{ARect.Right, ARect.Top}, {ARect.Right, ARect.Bottom}, {ARect.Left - 1, ARect.Bottom}});
        ++ARect.Left;
        ++ARect.Top;
    }
}

}  // namespace

// ---- TImage ----------------------------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle().Include(csReplicatable);
    FPicture.OnChange = [this](TObject* ASender) { PictureChanged(ASender); };
    UpdateBoundsFields(0, 0, 105, 105);
}

TImage::~TImage()
{
    FPicture.OnChange = nullptr;
}

void TImage::PictureChanged(TObject*)
{
    if (FPicture.Graphic() && FTransparent != FPicture.Graphic()->Transparent())
        FPicture.Graphic()->SetTransparent(FTransparent);
    AdjustSize();
    Invalidate();
}

void TImage::SetStretch(bool AValue) { FStretch = AValue; Invalidate(); }
void TImage::SetCenter(bool AValue) { FCenter = AValue; Invalidate(); }
void TImage::SetProportional(bool AValue) { FProportional = AValue; Invalidate(); }

void TImage::SetTransparent(bool AValue)
{
    FTransparent = AValue;
    if (FPicture.Graphic())
        FPicture.Graphic()->SetTransparent(AValue);
    Invalidate();
}

TRect TImage::DestRect()
{
    int w = FPicture.Width(), h = FPicture.Height();
    int cw = ClientWidth(), ch = ClientHeight();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            // Keep the picture's shape: fit by the tighter side.
            if (static_cast<int64_t>(cw) * h > static_cast<int64_t>(ch) * w) {
                w = static_cast<int>(static_cast<int64_t>(w) * ch / h);
                h = ch;
            } else {
                h = static_cast<int>(static_cast<int64_t>(h) * cw / w);
                w = cw;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (FCenter)
        r = Bounds((cw - w) / 2, (ch - h) / 2, w, h);
    return r;
}

void TImage::Paint()
{
    if (!FPicture.Graphic() || FPicture.Graphic()->Empty())
        return;
    Canvas()->StretchDraw(DestRect(), FPicture.Graphic());
}

bool TImage::CanAutoSize(Integer& ANewWidth, Integer& ANewHeight)
{
    if (FPicture.Width() <= 0 || FPicture.Height() <= 0)
        return false;
    ANewWidth = FPicture.Width();
    ANewHeight = FPicture.Height();
    return true;
}

// ---- TShape ----------------------------------------------------------------------------------------------------

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle().Include(csReplicatable);
    UpdateBoundsFields(0, 0, 65, 65);
    FPen.OnChange = [this](TObject*) { Invalidate(); };
    FBrush.OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType AValue)
{
    FShape = AValue;
    Invalidate();
}

void TShape::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->Assign(&FPen);
    canvas->Brush()->Assign(&FBrush);
    int inset = FPen.Width() / 2;
    int x = inset, y = inset;
    int w = Width() - FPen.Width() + 1, h = Height() - FPen.Width() + 1;
    if (FPen.Width() == 0) {
        --w;
        --h;
    }
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        int side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    if (FShape == stEllipse || FShape == stCircle)
        canvas->Ellipse(x, y, x + w, y + h);
    else
        canvas->Rectangle(x, y, x + w, y + h);
}

// ---- TBevel ----------------------------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle().Include(csReplicatable);
    UpdateBoundsFields(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape AValue) { FShape = AValue; Invalidate(); }
void TBevel::SetStyle(TBevelStyle AValue) { FStyle = AValue; Invalidate(); }

void TBevel::Paint()
{
    TCanvas* canvas = Canvas();
    TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    TRect r = ClientRect();
    int w = r.Width(), h = r.Height();
    auto line = [&](TColor AColor, int AX1, int AY1, int AX2, int AY2) {
        canvas->Pen()->SetColor(AColor);
        canvas->MoveTo(AX1, AY1);
        canvas->LineTo(AX2, AY2);
    };
    switch (FShape) {
    case bsBox: Frame3D(canvas, r, first, second, 1); break;
    case bsFrame: {
        TRect outer = Rect(0, 0, w - 1, h - 1);
        TRect inner = Rect(1, 1, w, h);
        Frame3D(canvas, outer, first, first, 1);
        Frame3D(canvas, inner, second, second, 1);
        break;
    }
    case bsTopLine: line(first, 0, 0, w, 0); line(second, 0, 1, w, 1); break;
    case bsBottomLine: line(first, 0, h - 2, w, h - 2); line(second, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(first, 0, 0, 0, h); line(second, 1, 0, 1, h); break;
    case bsRightLine: line(first, w - 2, 0, w - 2, h); line(second, w - 1, 0, w - 1, h); break;
    case bsSpacer: break;
    }
}

// ---- TPanel ----------------------------------------------------------------------------------------------------

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    ControlStyle() = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                      csReplicatable};
    SetColor(clBtnFace);
    UpdateBoundsFields(0, 0, 185, 41);
}

void TPanel::Changed()
{
    Realign();
    Invalidate();
}

void TPanel::SetAlignment(TAlignment AValue) { FAlignment = AValue; Invalidate(); }
void TPanel::SetBevelInner(TPanelBevel AValue) { FBevelInner = AValue; Changed(); }
void TPanel::SetBevelOuter(TPanelBevel AValue) { FBevelOuter = AValue; Changed(); }
void TPanel::SetBevelWidth(Integer AValue) { FBevelWidth = std::max(1, AValue); Changed(); }
void TPanel::SetBorderWidth(Integer AValue) { FBorderWidth = std::max(0, AValue); Changed(); }
void TPanel::SetBorderSingle(bool AValue) { FBorderSingle = AValue; Changed(); }

void TPanel::AdjustClientRect(TRect& ARect)
{
    int inset = FBorderWidth + (FBorderSingle ? 1 : 0);
    if (FBevelOuter != bvNone)
        inset += FBevelWidth;
    if (FBevelInner != bvNone)
        inset += FBevelWidth;
    ARect = Rect(ARect.Left + inset, ARect.Top + inset, ARect.Right - inset, ARect.Bottom - inset);
}

void TPanel::Paint()
{
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    if (FBorderSingle)
        Frame3D(canvas, r, clWindowFrame, clWindowFrame, 1);
    auto bevel = [&](TPanelBevel AKind) {
        if (AKind == bvNone)
            return;
        if (AKind == bvSpace) {
            Frame3D(canvas, r, Color(), Color(), FBevelWidth);
            return;
        }
        TColor topLeft = AKind == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottomRight = AKind == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(canvas, r, topLeft, bottomRight, FBevelWidth);
    };
    bevel(FBevelOuter);
    r = Rect(r.Left + FBorderWidth, r.Top + FBorderWidth, r.Right - FBorderWidth, r.Bottom - FBorderWidth);
    bevel(FBevelInner);
    std::string caption = Caption();
    if (caption.empty())
        return;
    UINT flags = DT_SINGLELINE | DT_VCENTER |
                 (FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    SetBkMode(canvas->Handle(), TRANSPARENT);
    SetTextColor(canvas->Handle(), ColorRefOf(Font()->Color()));
    DrawText(canvas->Handle(), caption, &r, flags);
}

// ---- TCustomLabel ----------------------------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle() = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
    UpdateBoundsFields(0, 0, 65, 17);
    SetParentColor(true);
    SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment AValue) { FAlignment = AValue; Invalidate(); }
void TCustomLabel::SetLayout(TTextLayout AValue) { FLayout = AValue; Invalidate(); }

void TCustomLabel::SetWordWrap(bool AValue)
{
    FWordWrap = AValue;
    AdjustSize();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool AValue)
{
    FShowAccelChar = AValue;
    AdjustSize();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool AValue)
{
    FTransparent = AValue;
    if (AValue)
        ControlStyle().Exclude(csOpaque);
    else
        ControlStyle().Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* AValue)
{
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = AValue;
    if (AValue)
        AValue->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation AOperation)
{
    TGraphicControl::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

std::string TCustomLabel::GetLabelText()
{
    return Caption();
}

UINT TCustomLabel::DrawTextFlags() const
{
    UINT flags = DT_EXPANDTABS;
    flags |= FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    return flags;
}

void TCustomLabel::DoDrawText(TRect& ARect, UINT AFlags)
{
    std::string text = GetLabelText();
    if ((AFlags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&")))
        text += " ";  // an empty label keeps the height of a line
    Canvas()->Font()->Assign(Font());
    HDC dc = Canvas()->Handle();  // after the font, so the canvas selects it
    SetBkMode(dc, TRANSPARENT);
    if (!Enabled() && !(AFlags & DT_CALCRECT)) {
        // Disabled text is drawn engraved.
        TRect shifted = Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right + 1, ARect.Bottom + 1);
        SetTextColor(dc, ColorRefOf(clBtnHighlight));
        DrawText(dc, text, &shifted, AFlags);
        SetTextColor(dc, ColorRefOf(clBtnShadow));
        DrawText(dc, text, &ARect, AFlags);
        return;
    }
    SetTextColor(dc, ColorRefOf(Font()->Color()));
    DrawText(dc, text, &ARect, AFlags);
}

void TCustomLabel::Paint()
{
    TRect r = ClientRect();
    if (!FTransparent) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(r);
    }
    UINT flags = DrawTextFlags();
    if (FLayout != tlTop) {
        TRect measured = r;
        DoDrawText(measured, flags | DT_CALCRECT);
        int offset = r.Height() - measured.Height();
        if (FLayout == tlCenter)
            offset /= 2;
        r.Top += offset;
    }
    DoDrawText(r, flags);
}

bool TCustomLabel::CanAutoSize(Integer& ANewWidth, Integer& ANewHeight)
{
    // Measured on the screen's DC, so a label sizes itself before it has a parent.
    HDC dc = GetDC(nullptr);
    TRect r = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    Canvas()->SetHandle(dc);
    DoDrawText(r, DrawTextFlags() | DT_CALCRECT);
    Canvas()->SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    ANewWidth = FWordWrap ? Width() : r.Width();
    ANewHeight = r.Height();
    return true;
}

void TCustomLabel::AdjustSize()
{
    if (!AutoSize())
        return;
    Integer width = Width();
    Integer height = Height();
    if (!CanAutoSize(width, height))
        return;
    Integer left = FAlignment == taRightJustify ? Left() + Width() - width : Left();
    SetBounds(left, Top(), width, height);
}

void TCustomLabel::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_DIALOGCHAR:
        if (FFocusControl && Enabled() && FShowAccelChar &&
            IsAccel(static_cast<char32_t>(AMessage.WParam), Caption()) && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            AMessage.Result = 1;
        }
        return;
    case CM_TEXTCHANGED:
        AdjustSize();
        Invalidate();
        return;
    default: break;
    }
    TGraphicControl::WndProc(AMessage);
}
