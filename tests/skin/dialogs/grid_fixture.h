#pragma once
// A headless form with a grid on it whose cells record what was drawn.
#include <vector>

#include "skin/dialogs/grids/skin_custom_grid.h"
#include "tests/skin/controls/controls_fixture.h"

namespace gridtest {

class TTestGrid : public TspSkinCustomGrid {
public:
    using TspSkinCustomGrid::TspSkinCustomGrid;
    struct TDrawn {
        Integer Col, Row;
        TRect Where;
        TGridDrawState State;
    };
    std::vector<TDrawn> Drawn;
    std::vector<std::pair<Integer, Integer>> SizeChanges;

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override
    {
        Drawn.push_back({ACol, ARow, ARect, AState});
    }
    void GridSizeChanged(Integer AOldCols, Integer AOldRows) override { SizeChanges.emplace_back(AOldCols, AOldRows); }
};

class TGridFixture : public controlstest::TControlsFixture {
protected:
    template <typename TGrid = TTestGrid>
    TGrid* NewGrid(Integer AWidth, Integer AHeight)
    {
        auto* G = new TGrid(Form);
        G->SetParent(Form);
        G->SetBounds(0, 0, AWidth, AHeight);
        G->Handle();
        Pump();
        return G;
    }
};

}  // namespace gridtest
