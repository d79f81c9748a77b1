#include "skin/core/glyph_pictures.h"

#include "platform/gui/canvas.h"
#include "skin/core/rect_helpers.h"

namespace {

void Line(TCanvas* C, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

// Arrow of ACount lines whose tip stands ATip pixels from the centre.
void DrawArrow(TCanvas* Canvas, TRect R, TColor Color, Integer Kind, Integer ACount, Integer ATip) {
    Canvas->Pen()->SetColor(Color);
    const Integer cx = R.Left + WidthOfRect(R) / 2;
    const Integer cy = R.Top + HeightOfRect(R) / 2;
    switch (Kind) {
    case 1:
        for (Integer i = 0; i < ACount; ++i) Line(Canvas, cx - ATip + i, cy - i, cx - ATip + i, cy + i + 1);
        break;
    case 2:
        for (Integer i = ACount - 1; i >= 0; --i) Line(Canvas, cx + ATip - i, cy + i, cx + ATip - i, cy - i - 1);
        break;
    case 3:
        for (Integer i = 0; i < ACount; ++i) Line(Canvas, cx - i, cy - ATip + i, cx + i + 1, cy - ATip + i);
        break;
    case 4:
        for (Integer i = ACount - 1; i >= 0; --i) Line(Canvas, cx - i, cy + ATip - i, cx + i + 1, cy + ATip - i);
        break;
    default:
        break;
    }
}

void OutlineBoxes(TCanvas* Canvas, TColor Color, std::initializer_list<TRect> ABoxes) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsClear);
    for (const TRect& r : ABoxes) Canvas->Rectangle(r);
}

}  // namespace

void DrawSmallArrowGlyph(TCanvas* Canvas, TRect R, TColor Color, Integer Kind) { DrawArrow(Canvas, R, Color, Kind, 3, 1); }
void DrawArrowGlyph(TCanvas* Canvas, TRect R, TColor Color, Integer Kind) { DrawArrow(Canvas, R, Color, Kind, 4, 2); }

void DrawDropDownGlyph(TCanvas* Canvas, TRect R, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    const Integer cx = R.Left + WidthOfRect(R) / 2;
    const Integer cy = R.Top + HeightOfRect(R) / 2;
    for (Integer i = 2; i >= 0; --i) Line(Canvas, cx - i, cy + 2 - i, cx + i + 1, cy + 2 - i);
}

void DrawRadioGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCheckGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    for (Integer i = 0; i <= 2; ++i) {
        Canvas->MoveTo(X, Y + 5 - i);
        Canvas->LineTo(X + 2, Y + 7 - i);
        Canvas->LineTo(X + 7, Y + 2 - i);
    }
}

void DrawCloseGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 1, X + 9, Y + 9);
    Line(Canvas, X + 9, Y + 1, X + 1, Y + 9);
    Line(Canvas, X + 2, Y + 1, X + 10, Y + 9);
    Line(Canvas, X + 8, Y + 1, X, Y + 9);
}

void DrawSysMenuGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    OutlineBoxes(Canvas, Color, {Rect(X + 1, Y + 3, X + 9, Y + 6)});
}

void DrawMinimizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Line(Canvas, X + 1, Y + 8, X + 9, Y + 8);
    Line(Canvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    OutlineBoxes(Canvas, Color, {Rect(X, Y, X + 11, Y + 10), Rect(X, Y, X + 11, Y + 2)});
}

void DrawRestoreGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    OutlineBoxes(Canvas, Color,
                 {Rect(X + 2, Y, X + 10, Y + 6), Rect(X + 2, Y, X + 10, Y + 2), Rect(X, Y + 4, X + 7, Y + 10),
                  Rect(X, Y + 4, X + 7, Y + 6)});
}

void DrawRollUpGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    for (Integer i = 0; i <= 4; ++i) Line(Canvas, X + 5 - i, Y + 2 + i, X + 5 + i, Y + 2 + i);
}

void DrawRollDownGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    for (Integer i = 0; i <= 4; ++i) Line(Canvas, X + 5 - i, Y + 6 - i, X + 5 + i, Y + 6 - i);
}

void DrawTrayGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}

void DrawDottedFocusRect(TCanvas* Canvas, TRect R) {
    const TColor color = Canvas->Font()->Color();
    Canvas->Pen()->SetColor(color);
    const TRect r = Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
    // One walk round the rectangle; each edge starts in the phase opposite to where the last one ended, so a
    // corner is set by both edges or by neither.
    bool on = !(WidthOfRect(r) % 2 == 0 && HeightOfRect(r) % 2 == 0);
    auto walk = [&](Integer x, Integer y, Integer dx, Integer dy, Integer steps) {
        for (Integer i = 0; i <= steps; ++i) {
            if (on) Canvas->SetPixels(x + i * dx, y + i * dy, color);
            if (i < steps) on = !on;
        }
    };
    walk(r.Left, r.Top, 1, 0, WidthOfRect(r));
    walk(r.Right, r.Top, 0, 1, HeightOfRect(r));
    walk(r.Right, r.Bottom, -1, 0, WidthOfRect(r));
    walk(r.Left, r.Bottom, 0, -1, HeightOfRect(r));
}

void DrawFrame3D(TCanvas* Canvas, TRect R, TColor TopColor, TColor BottomColor) {
    Canvas->Pen()->SetWidth(1);
    const TRect r = Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({Point(r.Left, r.Bottom), Point(r.Left, r.Top), Point(r.Right, r.Top)});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({Point(r.Right, r.Top), Point(r.Right, r.Bottom), Point(r.Left - 1, r.Bottom)});
}
