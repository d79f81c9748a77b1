#include "skin/controls/bevel.h"

#include "platform/gui/canvas.h"
#include "skin/controls/skin_custom_control.h"
#include "skin/core/control_records.h"

namespace {

// Dark-then-light (lowered) or light-then-dark (raised): C1 goes up the left and across the top, C2 down the right
// and back along the bottom.
void AddBevelRect(std::vector<TspBevelLine>& ALines, const TRect& R, TColor AC1, TColor AC2)
{
    ALines.push_back({AC1, {{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}}});
    ALines.push_back({AC2, {{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}}});
}

}  // namespace

std::vector<TspBevelLine> BevelLines(TBevelShape AShape, TBevelStyle AStyle, bool ADividerMode, Integer AWidth,
                                     Integer AHeight, TColor ALight, TColor ADark)
{
    const TColor c1 = AStyle == bsLowered ? ADark : ALight;
    const TColor c2 = AStyle == bsLowered ? ALight : ADark;
    const Integer w = AWidth, h = AHeight;
    std::vector<TspBevelLine> lines;
    if (ADividerMode) {
        if (AShape == bsTopLine || AShape == bsBottomLine)
            AddBevelRect(lines, Rect(2, h / 2 - 1, w - 2, h / 2), c1, c2);
        else if (AShape != bsSpacer)
            AddBevelRect(lines, Rect(w / 2 - 1, 2, w / 2, h - 2), c1, c2);
        return lines;
    }
    switch (AShape) {
    case bsBox: AddBevelRect(lines, Rect(0, 0, w - 1, h - 1), c1, c2); break;
    case bsFrame:
        AddBevelRect(lines, Rect(1, 1, w - 1, h - 1), c2, c2);
        AddBevelRect(lines, Rect(0, 0, w - 2, h - 2), c1, c1);
        break;
    case bsTopLine:
        lines.push_back({c1, {{0, 0}, {w, 0}}});
        lines.push_back({c2, {{0, 1}, {w, 1}}});
        break;
    case bsBottomLine:
        lines.push_back({c1, {{0, h - 2}, {w, h - 2}}});
        lines.push_back({c2, {{0, h - 1}, {w, h - 1}}});
        break;
    case bsLeftLine:
        lines.push_back({c1, {{0, 0}, {0, h}}});
        lines.push_back({c2, {{1, 0}, {1, h}}});
        break;
    case bsRightLine:
        lines.push_back({c1, {{w - 2, 0}, {w - 2, h}}});
        lines.push_back({c2, {{w - 1, 0}, {w - 1, h}}});
        break;
    case bsSpacer: break;
    }
    return lines;
}

TspSkinBevel::TspSkinBevel(TComponent* AOwner) : TspSkinLinked<TBevel>(AOwner)
{
    FSkinDataName = "bevel";
}

void TspSkinBevel::SetSkinData(TspSkinData* AValue)
{
    Link(AValue);
    ChangeSkinData();
}

void TspSkinBevel::SetDividerMode(bool AValue)
{
    FDividerMode = AValue;
    Repaint();
}

void TspSkinBevel::ChangeSkinData()
{
    auto* record = LookUpRecord<TspDataSkinBevel>(true);
    if (!Skinned()) {
        FLightColor = clBtnHighlight;
        FDarkColor = clBtnShadow;
    } else if (record) {
        FLightColor = record->LightColor;
        FDarkColor = record->DarkColor;
    }
    // A record of another class keeps the colours there were.
    Repaint();
}

void TspSkinBevel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    if (auto* bar = dynamic_cast<TspCentringParent*>(Parent())) {
        const TRect client = bar->SkinClientRect();
        ATop = client.Top + client.Height() / 2 - AHeight / 2;
    }
    TspSkinLinked<TBevel>::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TspSkinBevel::Paint()
{
    TCanvas* c = Canvas();
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    for (const TspBevelLine& line : BevelLines(Shape(), Style(), FDividerMode, Width(), Height(), FLightColor,
                                               FDarkColor)) {
        c->Pen()->SetColor(line.Color);
        c->Polyline(line.Points);
    }
}
