#include "platform/rtl/set.h"
#include "platform/rtl/types.h"

#include <gtest/gtest.h>

namespace {
enum TStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
}

TEST(Set, UnionDifferenceAndSubset)
{
    TSet<TStyle> a{fsBold, fsItalic};
    TSet<TStyle> b{fsItalic, fsStrikeOut};
    EXPECT_EQ(a + b, (TSet<TStyle>{fsBold, fsItalic, fsStrikeOut}));
    EXPECT_EQ(a - b, TSet<TStyle>{fsBold});
    EXPECT_EQ(a * b, TSet<TStyle>{fsItalic});
    EXPECT_TRUE(TSet<TStyle>{fsItalic} <= a);
    EXPECT_FALSE(a.Contains(fsUnderline));
}

TEST(Rect, BoundsAndExtents)
{
    TRect r = Bounds(-5, 10, 20, 30);
    EXPECT_EQ(r, Rect(-5, 10, 15, 40));
    EXPECT_EQ(r.Width(), 20);
    EXPECT_EQ(r.Height(), 30);
}

TEST(Rect, ExtentsOfFarOutSidesSaturate)
{
    struct Case {
        TRect R;
        int32_t Width, Height;
    };
    const Case cases[] = {
        {Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), INT32_MAX, INT32_MAX},
        {Rect(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN), INT32_MIN, INT32_MIN},
        {Rect(INT32_MIN, -1, INT32_MAX - 1, INT32_MAX - 1), INT32_MAX, INT32_MAX},
        {Rect(-1, 0, INT32_MAX - 1, INT32_MAX), INT32_MAX, INT32_MAX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.R.Width(), c.Width) << c.R.Left << ".." << c.R.Right;
        EXPECT_EQ(c.R.Height(), c.Height) << c.R.Top << ".." << c.R.Bottom;
    }
}
