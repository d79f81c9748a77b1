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
