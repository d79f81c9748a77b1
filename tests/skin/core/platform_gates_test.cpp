#include "skin/core/platform_gates.h"

#include <gtest/gtest.h>

#include "platform/backend/headless/headless_backend.h"

namespace {

TEST(PlatformGates, VersionTable)
{
    const struct { Integer major, minor; bool w2000, xp, vista, w7; } cases[] = {
        {4, 0, false, false, false, false}, {5, 0, true, false, false, false}, {5, 1, true, true, false, false},
        {5, 2, true, false, false, false},  {6, 0, true, true, true, false},   {6, 1, true, true, true, true},
        {6, 2, true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        EXPECT_EQ(IsWin2000OrLater(c.major, c.minor), c.w2000);
        EXPECT_EQ(IsXPOrLater(c.major, c.minor), c.xp);
        EXPECT_EQ(IsVistaOrLater(c.major, c.minor), c.vista);
        EXPECT_EQ(IsWin7(c.major, c.minor), c.w7);
    }
}

TEST(PlatformGates, AnswersOfThisPlatform)
{
    headless::THeadlessBackend backend({800, 600});
    win::SetBackend(&backend);
    Integer major = 0, minor = 0;
    GetOSVersion(major, minor);
    EXPECT_EQ(major, 6);
    EXPECT_EQ(minor, 0);
    EXPECT_TRUE(IsWin2000OrLater());
    EXPECT_TRUE(IsXPOrLater());
    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_FALSE(IsWin7());
    EXPECT_TRUE(IsNTFamily());
    EXPECT_FALSE(IsDwmCompositionOn());
    EXPECT_FALSE(HasUpdateLayeredWindow());
    backend.SetCompositor(true);
    EXPECT_TRUE(HasUpdateLayeredWindow());
    EXPECT_TRUE(HasSetLayeredWindowAttributes());

    EXPECT_FALSE(HasSeveralMonitors());
    TRect whole, work, of{1, 2, 3, 4};
    GetDesktopWorkArea(false, whole);
    EXPECT_EQ(whole.Right, 800);
    EXPECT_EQ(whole.Bottom, 600);
    GetDesktopWorkArea(true, work);
    GetWorkAreaOf(nullptr, true, of);
    EXPECT_EQ(of.Left, work.Left);
    EXPECT_EQ(of.Bottom, work.Bottom);

    backend.SetMonitors({{Rect(0, 0, 800, 600), Rect(0, 0, 800, 570), true},
                         {Rect(800, 0, 1824, 768), Rect(800, 0, 1824, 740), false}});
    EXPECT_TRUE(HasSeveralMonitors());
    win::SetBackend(nullptr);
}

}  // namespace
