#include "platform/shell/shell_folder.h"
#include "tests/platform/shell/shell_fixture.h"

#include <gmock/gmock.h>

#include <ctime>

namespace {

using ShellFolder = ShellFixture;

std::unique_ptr<TspShellFolder> ItemAt(const std::string& APath)
{
    TItemIdList list = ParseDisplayName(APath);
    EXPECT_FALSE(list.IsNil()) << APath;
    return FolderFromAbsoluteIdList(list);
}

TEST_F(ShellFolder, LevelsCountTheChainBelowTheViewsRoot)
{
    auto root = ItemAt(FFiles);
    EXPECT_EQ(root->Level(), 0);
    EXPECT_EQ(root->Parent(), DesktopFolder());
    TspShellFolder sub(root.get(), MakeItemId(ikFileSystem, "sub"), root->ShellFolder()->BindToObject(MakeItemId(ikFileSystem, "sub")));
    TspShellFolder deeper(&sub, MakeItemId(ikFileSystem, "deeper"), nullptr);
    EXPECT_EQ(sub.Level(), 1);
    EXPECT_EQ(deeper.Level(), 2);
    EXPECT_EQ(deeper.FullObjectName(), FFiles + "/sub/deeper");
    EXPECT_EQ(deeper.DisplayName(), "deeper");
    EXPECT_TRUE(deeper.IsFolder());
    EXPECT_TRUE(sub.SubFolders());
    EXPECT_EQ(DesktopFolder()->Level(), 0);
    EXPECT_EQ(DesktopFolder()->Parent(), nullptr);
    EXPECT_EQ(DesktopFolder()->DisplayName(), "Desktop");
}

TEST_F(ShellFolder, PropertiesAndCapabilities)
{
    auto movie = ItemAt(FFiles + "/movie.mp4");
    EXPECT_TRUE(movie->Properties().Contains(fpFileSystem));
    EXPECT_TRUE(movie->Capabilities().Contains(fcCanRename));
    EXPECT_FALSE(movie->IsFolder());
    EXPECT_TRUE(ItemAt(FFiles + "/link.avi")->Properties().Contains(fpIsLink));
    EXPECT_TRUE(ItemAt(FFiles + "/readonly")->Properties().Contains(fpReadOnly));
    auto computer = FolderFromAbsoluteIdList(MakeItemId(ikVirtual, "computer"));
    EXPECT_TRUE(computer->Properties().Contains(fpFileSystemAncestor));
    EXPECT_FALSE(computer->Properties().Contains(fpFileSystem));
    EXPECT_FALSE(computer->Capabilities().Contains(fcCanRename));
    EXPECT_TRUE(ItemProperties(nullptr, movie->RelativeIdList()).Empty());
    EXPECT_EQ(computer->FullObjectName(), "");
    // The parsing name of a virtual node is asked again for its shown name.
    EXPECT_EQ(computer->PathName(), "Computer");
    EXPECT_EQ(ItemDisplayName(nullptr, movie->RelativeIdList(), SHGDN_NORMAL), "parentfolder = nil");
}

TEST_F(ShellFolder, FindRecordsAndDetailTexts)
{
    auto root = ItemAt(FFiles);
    TspShellFolder movie(root.get(), MakeItemId(ikFileSystem, "movie.mp4"), nullptr);
    TspShellFolder sub(root.get(), MakeItemId(ikFileSystem, "sub"), nullptr);
    EXPECT_THROW(movie.DetailText(1), Exception);
    try {
        movie.DetailText(1);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "movie.mp4: Missing call to LoadColumnDetails");
    }
    movie.LoadColumnDetails(root.get(), 5);
    sub.LoadColumnDetails(root.get(), 5);
    EXPECT_EQ(movie.DetailText(1), "3000");
    EXPECT_EQ(movie.DetailText(2), ".mp4");
    EXPECT_FALSE(movie.DetailText(3).empty());
    EXPECT_EQ(movie.DetailText(4), "32");
    EXPECT_EQ(sub.DetailText(1), "-1");
    EXPECT_EQ(sub.DetailText(2), "");
    EXPECT_EQ(sub.DetailText(3), "");
    EXPECT_EQ(sub.DetailText(4), "16");

    TShellFindData big;
    big.Size = 5368709120LL;
    EXPECT_EQ(FindDataSize(big), 5368709120LL);
    big.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_EQ(FindDataSize(big), -1);

    // Local time to two-second steps; a time a two-second date cannot hold is unknown and shown empty.
    struct tm when {};
    when.tm_year = 2020 - 1900;
    when.tm_mon = 5;
    when.tm_mday = 7;
    when.tm_hour = 13;
    when.tm_min = 14;
    when.tm_sec = 15;
    when.tm_isdst = -1;
    TShellFindData timed;
    timed.ModifiedSeconds = mktime(&when);
    EXPECT_DOUBLE_EQ(FindDataModified(timed), EncodeDate(2020, 6, 7) + EncodeTime(13, 14, 14, 0));
    timed.ModifiedSeconds = 0;
    EXPECT_EQ(FindDataModified(timed), -1.0);
    EXPECT_EQ(FindDataDetail(timed, 3), "");
    EXPECT_EQ(FindDataDetail(timed, 9), "");

    // A file gone since it was listed: the error names it.
    TspShellFolder gone(root.get(), MakeItemId(ikFileSystem, "gone.avi"), nullptr);
    try {
        gone.ReadFindData();
        ADD_FAILURE();
    } catch (const EInvalidPath& e) {
        EXPECT_STREQ(e.what(), "Unable to retrieve folder details for \"gone.avi\". Error code $2");
    }
    // Virtual nodes beside files have empty details rather than an error.
    auto desktop = FolderFromAbsoluteIdList(DesktopItemIdList());
    TspShellFolder computer(desktop.get(), MakeItemId(ikVirtual, "computer"), nullptr);
    computer.LoadColumnDetails(desktop.get(), 5);
    EXPECT_EQ(computer.DetailText(1), "");
}

TEST_F(ShellFolder, RenameRefusesToOverwriteAndFollowsTheNewName)
{
    auto root = ItemAt(FFiles);
    TspShellFolder movie(root.get(), MakeItemId(ikFileSystem, "movie.mp4"), nullptr);
    try {
        movie.Rename("song.mp3");
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Rename to song.mp3 failed: File exists");
    }
    EXPECT_EQ(std::filesystem::file_size(FFiles + "/song.mp3"), 20u);
    EXPECT_EQ(movie.DisplayName(), "movie.mp4");

    EXPECT_TRUE(movie.Rename("clip.mp4"));
    EXPECT_EQ(movie.DisplayName(), "clip.mp4");
    EXPECT_EQ(movie.FullObjectName(), FFiles + "/clip.mp4");
    EXPECT_EQ(movie.AbsoluteIdList(), ParseDisplayName(FFiles + "/clip.mp4"));

    // An item that cannot be renamed answers False and raises nothing.
    auto inside = ItemAt(FFiles + "/readonly/inside.txt");
    EXPECT_FALSE(inside->Rename("other.txt"));
    EXPECT_TRUE(std::filesystem::exists(FFiles + "/readonly/inside.txt"));
    auto computer = FolderFromAbsoluteIdList(MakeItemId(ikVirtual, "computer"));
    EXPECT_FALSE(computer->Rename("Mine"));
}

TEST_F(ShellFolder, RootTextsResolveOrFailKeepingTheOldRoot)
{
    struct Case {
        std::string Root;
        std::string Shown;
        std::string Path;
    } cases[] = {
        {"rfDesktop", "Desktop", ""},
        {"rfMyComputer", "Computer", ""},
        {"rfPersonal", "Docs", FHome + "/Docs"},
        {"rfDesktopDirectory", "Desktop", FHome + "/Desktop"},
        {"RFPERSONAL", "Docs", FHome + "/Docs"},
        {FFiles, "files", FFiles},
        {FRoot + "/media/DVD", "DVD", FRoot + "/media/DVD"},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Root);
        std::unique_ptr<TspShellFolder> old;
        TRoot root = c.Root;
        auto folder = ResolveRootFolder(old, "rfDesktop", root);
        ASSERT_TRUE(folder);
        EXPECT_EQ(folder->DisplayName(), c.Shown);
        EXPECT_EQ(folder->FullObjectName(), c.Path);
        EXPECT_EQ(root, c.Root);
    }
    for (std::string bad : std::vector<std::string>{"rfPrinters", "rfNetwork", "", "relative", FFiles + "/missing"}) {
        SCOPED_TRACE(bad);
        auto old = ItemAt(FFiles);
        TspShellFolder* kept = old.get();
        TRoot root = bad;
        try {
            ResolveRootFolder(old, FFiles, root);
            ADD_FAILURE();
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), "Error setting path: \"" + bad + "\"");
        }
        EXPECT_EQ(root, FFiles);
        EXPECT_EQ(old.get(), kept);
    }
    EXPECT_EQ(RootFolderKind("rfMyComputer"), rfMyComputer);
    EXPECT_EQ(RootFolderKind("rfNothing"), -1);
    EXPECT_EQ(RootFolderName(rfTemplates), "rfTemplates");
}

TEST(ShellNames, QuestionMarkDigitRuleAndEnumFlags)
{
    EXPECT_EQ(StrRetText("?12?34"), "1234");
    EXPECT_EQ(StrRetText("?a?b"), "?a?b");
    EXPECT_EQ(StrRetText("?"), "?");
    EXPECT_EQ(StrRetText("1?2"), "1?2");
    EXPECT_EQ(EnumFlagsOf({otFolders}), 0x20u);
    EXPECT_EQ(EnumFlagsOf({otFolders, otNonFolders, otHidden}), 0xE0u);
}

}  // namespace
