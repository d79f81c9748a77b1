#include "skin/core/stored_skin.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/graphic_errors.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_lists.h"
#include "skin/core/stored_skin_zlib.h"

namespace {

// Little-endian pieces of a stream, written in order.
struct Bytes {
    std::vector<uint8_t> Data;
    Bytes& I32(int32_t AValue)
    {
        const auto* p = reinterpret_cast<const uint8_t*>(&AValue);
        Data.insert(Data.end(), p, p + 4);
        return *this;
    }
    Bytes& U8(uint8_t AValue)
    {
        Data.push_back(AValue);
        return *this;
    }
    Bytes& Raw(const std::string& AText)
    {
        Data.insert(Data.end(), AText.begin(), AText.end());
        return *this;
    }
    Bytes& Bmp(Integer AWidth = 4)
    {
        TBitmap bitmap(AWidth, 3, pf24bit);
        TMemoryStream image;
        bitmap.SaveToStream(&image);
        const auto* p = static_cast<const uint8_t*>(image.Memory());
        Data.insert(Data.end(), p, p + image.Size());
        return *this;
    }
    Bytes& FiveEmptyPictures()
    {
        for (int i = 0; i < 5; ++i) U8(1);
        return *this;
    }
    void To(TMemoryStream* AStream) const
    {
        AStream->Clear();
        AStream->WriteBuffer(Data.data(), static_cast<Int64>(Data.size()));
        AStream->SetPosition(0);
    }
};

const char kText[] = "[VERSION]\r\nskinname=stored\r\n[SKINCONTROLS]\r\ncount=1\r\n0=b:button\r\n";

// A stored skin whose block is the given content, compressed.
void StoreContent(TspCompressedStoredSkin& AStored, const Bytes& AContent)
{
    TMemoryStream content;
    AContent.To(&content);
    AStored.FCompressedStream->Clear();
    PackSkinContent(&content, AStored.FCompressedStream.get());
}

struct MessageLog final : TspSkinMessageReceiver {
    MessageLog() { TspFormRegistry::Register(this); }
    ~MessageLog() override { TspFormRegistry::Unregister(this); }
    TComponent* ReceiverForm() const override { return nullptr; }
    void SkinDataMessage(Cardinal Msg, intptr_t, intptr_t) override { Messages.push_back(Msg); }
    std::vector<Cardinal> Messages;
};

TEST(StoredSkin, FileHeadsAreCheckedAgainstTheBytesThatFollow)
{
    const struct {
        Bytes Head;
        bool Raises;
    } rows[] = {
        {Bytes().I32(4).I32(3).Raw("abc"), false},   // a later version: stays empty
        {Bytes().I32(2).I32(0), false},              // no data: stays empty
        {Bytes().I32(2).I32(-1).Raw("abc"), true},   // negative length
        {Bytes().I32(2).I32(100).Raw("abcdefghij"), true},  // longer than the file
        {Bytes().I32(2).I32(2147483647), true},
        {Bytes().I32(2).Raw("ab"), true},            // cut inside the head
    };
    for (const auto& row : rows) {
        TMemoryStream file;
        row.Head.To(&file);
        TspCompressedStoredSkin stored(nullptr);
        if (row.Raises) {
            EXPECT_THROW(stored.LoadFromCompressStream(&file), EReadError) << row.Head.Data.size();
        } else {
            EXPECT_NO_THROW(stored.LoadFromCompressStream(&file));
        }
        EXPECT_TRUE(stored.IsEmpty());
    }
}

TEST(StoredSkin, DamagedContentRaisesWithoutReadingPastItAndLeavesAClearedSkin)
{
    const struct {
        const char* What;
        Bytes Content;
        std::function<void(TspSkinData&)> Load;
    } rows[] = {
        {"no version", Bytes(), nullptr},
        {"cut version", Bytes().U8(2).U8(0), nullptr},
        {"picture flag", Bytes().I32(2).U8(7), nullptr},
        {"no BMP signature", Bytes().I32(2).U8(0).Raw("XX").I32(60).Raw("0123456789"), nullptr},
        {"BMP size past the end", Bytes().I32(2).U8(0).Raw("BM").I32(1000).Raw("0123456789abcdef"), nullptr},
        {"BMP size below its headers", Bytes().I32(2).U8(0).Raw("BM").I32(10).Raw("0123456789abcdef"), nullptr},
        {"huge picture count", Bytes().I32(2).FiveEmptyPictures().I32(2147483647), nullptr},
        {"count past the pictures", Bytes().I32(2).FiveEmptyPictures().I32(2).Bmp(), nullptr},
    };
    for (const auto& row : rows) {
        TspSkinData skin(nullptr);
        MessageLog log;
        TspCompressedStoredSkin stored(nullptr);
        StoreContent(stored, row.Content);
        EXPECT_THROW(skin.LoadCompressedStoredSkin(&stored), Exception) << row.What;
        EXPECT_TRUE(skin.Empty) << row.What;
        EXPECT_FALSE(skin.ChangeSkinDataProcess) << row.What;
        EXPECT_TRUE(skin.FActivePictures.empty()) << row.What;
        EXPECT_EQ(log.Messages, (std::vector<Cardinal>{SKM_BEFORECHANGE, SKM_CHANGE, SKM_AFTERCHANGE})) << row.What;
    }
}

// The zlib error classes cannot be named here: the compression header clashes with the graphics colour names.
TEST(StoredSkin, BrokenOrOversizedZlibDataRaises)
{
    TspCompressedStoredSkin stored(nullptr);
    StoreContent(stored, Bytes().I32(2).FiveEmptyPictures().I32(0).Raw(kText));
    stored.FCompressedStream->SetSize(stored.FCompressedStream->Size() / 2);
    TspSkinData skin(nullptr);
    EXPECT_THROW(skin.LoadCompressedStoredSkin(&stored), Exception);
    EXPECT_TRUE(skin.Empty);

    TMemoryStream big, packed, out;
    Bytes().Raw(std::string(10000, 'x')).To(&big);
    PackSkinContent(&big, &packed);
    EXPECT_THROW(InflateSkinContent(&packed, &out, 4096), Exception);
    EXPECT_LE(out.Size(), 4096);
}

TEST(StoredSkin, ContentVersionsChooseTheirPictureBlocks)
{
    const struct {
        int32_t Version;
        int Blocks;
        bool Inactive, RollUp;
    } rows[] = {{0, 2, false, false}, {1, 4, false, true}, {2, 5, true, true}, {3, 3, true, false}};
    for (const auto& row : rows) {
        Bytes content;
        content.I32(row.Version);
        for (int i = 0; i < row.Blocks; ++i) content.U8(0).Bmp(2 + i);
        content.I32(-5).Raw(kText);  // a negative count reads as no pictures
        TspCompressedStoredSkin stored(nullptr);
        StoreContent(stored, content);
        TspSkinData skin(nullptr);
        skin.LoadCompressedStoredSkin(&stored);
        EXPECT_FALSE(skin.Empty) << row.Version;
        EXPECT_FALSE(skin.FPicture->Empty()) << row.Version;
        EXPECT_FALSE(skin.FMask->Empty()) << row.Version;
        EXPECT_EQ(!skin.FInActivePicture->Empty(), row.Inactive) << row.Version;
        EXPECT_EQ(!skin.FRollUpPicture->Empty(), row.RollUp) << row.Version;
        EXPECT_EQ(!skin.FRollUpMask->Empty(), row.RollUp) << row.Version;
        EXPECT_EQ(skin.SkinName, "stored");
        EXPECT_EQ(skin.CtrlList.size(), 1u);
        EXPECT_TRUE(skin.FActivePictures.empty());
    }
}

TEST(StoredSkin, AnUnknownContentVersionEndsLikeAClearedSkinWithoutAnError)
{
    TspCompressedStoredSkin stored(nullptr);
    StoreContent(stored, Bytes().I32(4).FiveEmptyPictures().I32(0).Raw(kText));
    TspSkinData skin(nullptr);
    MessageLog log;
    EXPECT_NO_THROW(skin.LoadCompressedStoredSkin(&stored));
    EXPECT_TRUE(skin.Empty);
    EXPECT_FALSE(skin.ChangeSkinDataProcess);
    EXPECT_EQ(log.Messages, (std::vector<Cardinal>{SKM_BEFORECHANGE, SKM_CHANGE, SKM_AFTERCHANGE}));

    // An empty stored skin changes nothing and sends nothing.
    TspCompressedStoredSkin empty(nullptr);
    log.Messages.clear();
    skin.LoadCompressedStoredSkin(&empty);
    EXPECT_TRUE(log.Messages.empty());
}

TEST(StoredSkin, FileWrittenWithVersionTwoLengthAndAZlibStream)
{
    TspCompressedStoredSkin stored(nullptr);
    StoreContent(stored, Bytes().I32(2).FiveEmptyPictures().I32(0).Raw(kText));
    TMemoryStream file;
    stored.SaveToCompressStream(&file);
    const auto* p = static_cast<const uint8_t*>(file.Memory());
    int32_t version = 0, length = 0;
    std::memcpy(&version, p, 4);
    std::memcpy(&length, p + 4, 4);
    EXPECT_EQ(version, 2);
    EXPECT_EQ(length, stored.FCompressedStream->Size());
    EXPECT_EQ(p[8], 0x78);
    TspCompressedStoredSkin back(nullptr);
    back.LoadFromCompressStream(&file);
    EXPECT_EQ(back.FCompressedStream->Size(), stored.FCompressedStream->Size());
}

TEST(StoredSkin, SkinListIndexOutsideTheListIsIgnoredAndAChosenSkinLoads)
{
    TspCompressedSkinList list(nullptr);
    for (int i = 0; i < 3; ++i) list.Skins()->Add();
    EXPECT_EQ(list.Skins()->Items(0)->Name, "spSkin0");
    EXPECT_EQ(list.Skins()->Items(2)->DisplayName(), "spSkin2");
    StoreContent(*list.Skins()->Items(1)->Skin(), Bytes().I32(2).FiveEmptyPictures().I32(0).Raw(kText));

    TspSkinData skin(nullptr);
    MessageLog log;
    skin.SetSkinList(&list);
    EXPECT_TRUE(log.Messages.empty());  // skin 0 holds nothing
    skin.SetSkinIndex(5);
    EXPECT_EQ(skin.SkinIndex(), 0);
    EXPECT_TRUE(log.Messages.empty());
    skin.SetSkinIndex(1);
    EXPECT_EQ(skin.SkinIndex(), 1);
    EXPECT_EQ(skin.SkinName, "stored");

    // A copy of the list carries the stored bytes with it.
    TspCompressedSkinList copy(nullptr);
    copy.SetSkins(list.Skins());
    ASSERT_EQ(copy.Skins()->Count(), 3);
    EXPECT_EQ(copy.Skins()->Items(1)->Skin()->FCompressedStream->Size(),
              list.Skins()->Items(1)->Skin()->FCompressedStream->Size());
}

}  // namespace
