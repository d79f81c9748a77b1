#include "skin/dialogs/grids/sparse_lists.h"

#include <gtest/gtest.h>

#include "platform/rtl/exceptions.h"
#include "tests/skin/dialogs/expect_raises.h"

namespace {

int A, B, C;

std::vector<Integer> VisitedIndexes(const TSparseList& L)
{
    std::vector<Integer> R;
    L.ForAll([&R](Integer I, void*) {
        R.push_back(I);
        return 0;
    });
    return R;
}

TEST(SparseList, CountFollowsTheHighestStoredItem)
{
    TSparseList L(SPASmall);
    EXPECT_EQ(L.Count(), 0);
    L.SetItems(9, &A);
    EXPECT_EQ(L.Count(), 10);
    for (Integer I = 0; I < 9; ++I) EXPECT_EQ(L.Items(I), nullptr);
    L.SetItems(9, nullptr);
    EXPECT_EQ(L.Count(), 0);
}

TEST(SparseList, InsertBeyondTheEndAndDeleteOutOfRange)
{
    TSparseList L(SPASmall);
    for (Integer I = 0; I < 3; ++I) L.SetItems(I, &A);
    L.Insert(15, &B);
    EXPECT_EQ(L.Count(), 16);
    EXPECT_EQ(L.Items(15), &B);
    EXPECT_EQ(L.Items(3), nullptr);

    TSparseList Short(SPASmall);
    for (Integer I = 0; I < 3; ++I) Short.SetItems(I, &A);
    Short.Delete(5);
    Short.Delete(-1);
    EXPECT_EQ(Short.Count(), 3);
}

TEST(SparseList, InsertDeleteAndMoveShiftItems)
{
    TSparseList L(SPASmall);
    L.SetItems(0, &A);
    L.SetItems(1, &B);
    L.SetItems(2, &C);
    L.Insert(1, &C);  // A C B C
    EXPECT_EQ(L.Count(), 4);
    EXPECT_EQ(L.Items(1), &C);
    EXPECT_EQ(L.Items(2), &B);
    L.Delete(0);  // C B C
    EXPECT_EQ(L.Count(), 3);
    EXPECT_EQ(L.Items(0), &C);
    EXPECT_EQ(L.Items(3), nullptr);
    L.Move(0, 2);  // B C C
    EXPECT_EQ(L.Items(0), &B);
    L.Exchange(0, 1);  // C B C
    EXPECT_EQ(L.Items(0), &C);
    EXPECT_EQ(L.Items(1), &B);
}

TEST(SparseList, NegativeIndexesRaiseTheirTexts)
{
    TSparseList L(SPASmall);
    ExpectEachRaises<EListError>({
        {"read", [&] { L.Items(-1); }, "ListIndexError"},
        {"write", [&] { L.SetItems(-1, &A); }, "SListIndexError"},
        {"insert", [&] { L.Insert(-1, &A); }, "SListIndexError"},
    });
    EXPECT_EQ(L.Count(), 0);
}

TEST(SparsePointerArray, SectionsAreAllocatedOnlyWhereWritten)
{
    TSparseList L(SPASmall);
    L.SetItems(16, &A);
    EXPECT_FALSE(L.Array().SectionAllocated(0));
    EXPECT_TRUE(L.Array().SectionAllocated(1));
    EXPECT_EQ(VisitedIndexes(L), std::vector<Integer>{16});

    TSparsePointerArray P(SPALarge);
    P.StoreAt(300, nullptr);  // clearing an empty slot allocates nothing
    EXPECT_EQ(P.SlotsInDir(), 0u);
    EXPECT_EQ(P.SectionSize(), 256);
}

TEST(SparsePointerArray, ForAllStopsAtTheFirstNonZeroResult)
{
    TSparsePointerArray P(SPASmall);
    P.StoreAt(3, &A);
    P.StoreAt(40, &B);
    P.StoreAt(41, &C);
    Integer Visits = 0;
    EXPECT_EQ(P.ForAll([&](Integer I, void*) {
        ++Visits;
        return I == 40 ? 7 : 0;
    }),
              7);
    EXPECT_EQ(Visits, 2);
    P.StoreAt(41, nullptr);
    EXPECT_EQ(P.HighBound(), 40);
}

// The old directory had 16-bit entries, so an index past 65535 sections wrapped it and wrote outside it.
TEST(SparsePointerArray, IndexesBeyondSixteenBitDirectoriesWork)
{
    for (TSPAQuantum Q : {SPASmall, SPALarge}) {
        TSparseList L(Q);
        const Integer Far = 65536 * (Q == SPASmall ? 16 : 256) + 5;
        L.SetItems(Far, &B);
        L.SetItems(3, &A);
        EXPECT_EQ(L.Items(Far), &B);
        EXPECT_EQ(L.Items(3), &A);
        EXPECT_EQ(L.Count(), Far + 1);
        EXPECT_EQ(VisitedIndexes(L), (std::vector<Integer>{3, Far}));
        L.SetItems(Far, nullptr);
        EXPECT_EQ(L.Count(), 4);
    }
}

TEST(StringSparseList, ItemsExistOnlyForTextOrObject)
{
    TStringSparseList S(SPASmall);
    Integer Changes = 0;
    S.OnChange = [&](TObject*) { ++Changes; };
    S.SetStrings(2, "x");
    EXPECT_EQ(S.Count(), 3);
    S.SetStrings(2, "");  // no object: the item is freed
    EXPECT_EQ(S.Count(), 0);
    EXPECT_EQ(S.Strings(2), "");

    TObject Obj;
    S.SetObjects(4, &Obj);  // an object on an empty slot: an item with empty text
    EXPECT_EQ(S.Count(), 5);
    EXPECT_EQ(S.Strings(4), "");
    S.SetStrings(4, "");  // the object keeps its item
    EXPECT_EQ(S.Objects(4), &Obj);
    EXPECT_EQ(Changes, 4);

    S.Insert(0, "");  // insert always makes an item
    EXPECT_EQ(S.Count(), 6);
    EXPECT_EQ(S.Objects(5), &Obj);
    S.Move(5, 0);
    EXPECT_EQ(S.Objects(0), &Obj);
    S.Delete(0);
    EXPECT_EQ(S.Objects(4), nullptr);
    EXPECT_THROW(S.Strings(-1), EListError);
}

TEST(StringSparseList, StreamRoundTripKeepsIndexesAndTexts)
{
    TStringSparseList S(SPASmall);
    S.SetStrings(2, "a");
    S.SetStrings(7, "b");
    TSparseListStream Stored;
    S.WriteData(Stored);
    const TSparseListStream Expected{2, 2, std::string("a"), 7, std::string("b")};
    EXPECT_EQ(Stored, Expected);

    TStringSparseList Back(SPASmall);
    Back.ReadData(Stored);
    EXPECT_EQ(Back.Count(), 8);
    EXPECT_EQ(Back.Strings(2), "a");
    EXPECT_EQ(Back.Strings(7), "b");
    EXPECT_EQ(Back.Strings(3), "");

    TStringSparseList Damaged(SPASmall);
    EXPECT_THROW(Damaged.ReadData({2, 2, std::string("a")}), EReadError);
    EXPECT_THROW(Damaged.ReadData({std::string("x")}), EReadError);
}

}  // namespace
