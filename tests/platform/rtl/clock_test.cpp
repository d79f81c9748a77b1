#include "platform/rtl/clock.h"
#include "platform/rtl/exceptions.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Clock, VirtualClockMovesOnlyWhenToldAndTellsListeners)
{
    TVirtualClock clock(1000);
    std::vector<int64_t> heard;
    const int id = clock.AddListener([&](int64_t ANow) { heard.push_back(ANow); });
    EXPECT_EQ(clock.NowMicros(), 1000);
    clock.Advance(500);
    clock.SetNow(2000);
    clock.Advance(0);
    EXPECT_THROW(clock.Advance(-1), EInvalidArgument);
    EXPECT_THROW(clock.SetNow(1999), EInvalidArgument);
    EXPECT_EQ(clock.NowMicros(), 2000);
    clock.RemoveListener(id);
    clock.Advance(1);
    EXPECT_EQ(heard, (std::vector<int64_t>{1500, 2000, 2000}));
}

TEST(Clock, ListenerMayRemoveItselfAndAddOthers)
{
    TVirtualClock clock;
    std::vector<std::string> heard;
    int first = 0;
    first = clock.AddListener([&](int64_t) {
        heard.push_back("first");
        clock.RemoveListener(first);
        clock.AddListener([&](int64_t) { heard.push_back("added"); });
    });
    clock.Advance(1);
    clock.Advance(1);
    EXPECT_EQ(heard, (std::vector<std::string>{"first", "added"}));
}

TEST(Clock, TickCountsFollowTheInstalledClockAndWrapAt32Bits)
{
    // One millisecond before the 32-bit counter wraps.
    TVirtualClock clock((int64_t(1) << 32) * 1000 - 1000);
    {
        TClockOverride use(clock);
        EXPECT_EQ(win::GetTickCount(), 0xFFFFFFFFu);
        const DWORD before = win::GetTickCount();
        clock.Advance(2500);
        EXPECT_EQ(win::GetTickCount(), 1u);
        EXPECT_EQ(win::GetTickCount64(), (uint64_t(1) << 32) + 1);
        EXPECT_EQ(DWORD(win::GetTickCount() - before), 2u);  // unsigned difference survives the wrap
        EXPECT_EQ(GetTickCountMicro(), (int64_t(1) << 32) * 1000 + 1500);
    }
    EXPECT_NE(&CurrentClock(), &clock);
    const int64_t first = GetTickCountMicro();
    EXPECT_GT(first, 0);
    EXPECT_GE(GetTickCountMicro(), first);
}
