#include "platform/shell/item_id_list.h"

#include <gtest/gtest.h>

namespace {

TItemIdList ThreeIds()
{
    return JoinItemIdLists(JoinItemIdLists(MakeItemId(ikVirtual, "computer"), MakeItemId(ikVolume, "/")),
                           MakeItemId(ikFileSystem, "home"));
}

TEST(ItemIdList, SizesCountsAndJoins)
{
    EXPECT_EQ(ItemIdListSize(TItemIdList()), 0);
    EXPECT_EQ(ItemIdCount(TItemIdList()), 0);
    EXPECT_EQ(ItemIdListSize(DesktopItemIdList()), 2);
    EXPECT_EQ(ItemIdCount(DesktopItemIdList()), 0);

    // One id of 20 bytes (count included): 22 with the terminator.
    TItemIdList one = MakeItemId(ikFileSystem, std::string(17, 'x'));
    EXPECT_EQ(ItemIdListSize(one), 22);
    EXPECT_EQ(one.Bytes()[0], 20);
    EXPECT_EQ(ItemIdCount(one), 1);

    EXPECT_EQ(JoinItemIdLists(TItemIdList(), one), one);
    EXPECT_EQ(JoinItemIdLists(one, TItemIdList()), one);
    EXPECT_TRUE(JoinItemIdLists(TItemIdList(), TItemIdList()).IsNil());
    EXPECT_EQ(ItemIdCount(ThreeIds()), 3);
    EXPECT_EQ(CloneItemIdList(ThreeIds()), ThreeIds());
}

TEST(ItemIdList, AncestorsLastAndDrop)
{
    TItemIdList list = ThreeIds();
    auto ancestors = AncestorIdLists(list);
    ASSERT_EQ(ancestors.size(), 3u);
    EXPECT_EQ(ancestors[0], DesktopItemIdList());
    EXPECT_EQ(ancestors[1], MakeItemId(ikVirtual, "computer"));
    EXPECT_EQ(ancestors[2], JoinItemIdLists(MakeItemId(ikVirtual, "computer"), MakeItemId(ikVolume, "/")));

    EXPECT_EQ(LastItemIdOf(list), MakeItemId(ikFileSystem, "home"));
    EXPECT_TRUE(LastItemIdOf(DesktopItemIdList()).IsNil());

    DropLastItemId(list);
    EXPECT_EQ(list, ancestors[2]);
    TItemIdList desktop = DesktopItemIdList();
    DropLastItemId(desktop);
    EXPECT_EQ(desktop, DesktopItemIdList());

    TItemIdList three = ThreeIds();
    const uint8_t* second = NextItemId(three.Data());
    EXPECT_EQ(second[2], ikVolume);
    EXPECT_EQ(second[3], '/');
}

TEST(ItemIdList, KindPayloadAndByteEquality)
{
    TItemIdList raw = MakeItemId(ikFileSystem, std::string("bad\xE9\0name", 9));
    EXPECT_EQ(FirstItemKind(raw), ikFileSystem);
    EXPECT_EQ(FirstItemPayload(raw), std::string("bad\xE9\0name", 9));
    // "a" and "A" are two names.
    EXPECT_FALSE(MakeItemId(ikFileSystem, "a") == MakeItemId(ikFileSystem, "A"));
    EXPECT_EQ(FirstItemKind(TItemIdList()), 0);
    EXPECT_EQ(ItemIdAt(ThreeIds(), 3).IsNil(), true);
    EXPECT_EQ(ItemIdAt(ThreeIds(), 1), MakeItemId(ikVolume, "/"));
}

TEST(ItemIdList, MalformedChainStopsWhereItBreaks)
{
    // A count of 1 (below the count bytes themselves) and a count running past the end.
    TItemIdList bad(std::vector<uint8_t>{5, 0, 2, 'x', 'y', 1, 0, 0, 0});
    EXPECT_EQ(ItemIdCount(bad), 1);
    TItemIdList overrun(std::vector<uint8_t>{200, 0, 2, 'x', 0, 0});
    EXPECT_EQ(ItemIdCount(overrun), 0);
    EXPECT_EQ(ItemIdListSize(overrun), 2);
    EXPECT_TRUE(AncestorIdLists(overrun).empty());
}

}  // namespace
