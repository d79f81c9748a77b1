#include "skin/core/rect_helpers.h"

#include <gtest/gtest.h>

namespace {

TEST(RectHelpers, MeasuresAndEmptiness)
{
    const struct { TRect r; Integer w, h; bool empty; } cases[] = {
        {{10, 0, 4, 5}, -6, 5, true},
        {{0, 0, 5, 0}, 5, 0, true},
        {{0, 0, 1, 1}, 1, 1, false},
        {{-5, -5, -1, 3}, 4, 8, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WidthOfRect(c.r), c.w);
        EXPECT_EQ(HeightOfRect(c.r), c.h);
        EXPECT_EQ(IsEmptyRect(c.r), c.empty);
    }
    EXPECT_TRUE(SameRect(ZeroRect(), Rect(0, 0, 0, 0)));
    EXPECT_FALSE(SameRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 5)));
    EXPECT_EQ(MaxOf(3, 3), 3);
    EXPECT_EQ(MinOf(-2, 7), -2);
    EXPECT_EQ(MaxOf(-2, 7), 7);
}

TEST(RectHelpers, EdgeRulesOfThePointAndRectangleTests)
{
    const TRect r{0, 0, 10, 10};
    const struct { TPoint p; bool inside; } points[] = {{{10, 10}, true}, {{0, 0}, true}, {{11, 5}, false},
                                                        {{-1, 5}, false}};
    for (const auto& c : points) EXPECT_EQ(PointInsideRect(r, c.p), c.inside) << c.p.X << "," << c.p.Y;

    EXPECT_FALSE(RectInsideRect(r, r));
    EXPECT_TRUE(RectInsideRect(r, Rect(0, 0, 11, 11)));
    EXPECT_FALSE(RectInsideRect(Rect(-1, 0, 5, 5), r));

    EXPECT_TRUE(IsNullPoint({0, 7}));
    EXPECT_TRUE(IsNullPoint({7, 0}));
    EXPECT_FALSE(IsNullPoint({1, 1}));
    EXPECT_FALSE(IsNullPoint({-1, -1}));
}

}  // namespace
