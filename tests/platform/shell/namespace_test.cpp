#include "platform/shell/namespace.h"
#include "platform/shell/shell_folder.h"
#include "tests/platform/shell/shell_fixture.h"

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

class Namespace : public ShellFixture {
protected:
    // Shown names of a folder's children, in the folder's own order.
    std::vector<std::string> ChildNames(const TItemIdList& AFolder, uint32_t AFlags)
    {
        auto folder = DesktopFolderInterface()->BindToObject(AFolder);
        EXPECT_TRUE(folder);
        if (!folder) return {};
        auto items = folder->EnumObjects(AFlags);
        EXPECT_TRUE(items);
        std::sort(items->begin(), items->end(),
                  [&](const TItemIdList& A, const TItemIdList& B) { return folder->CompareIDs(A, B) < 0; });
        std::vector<std::string> names;
        for (auto& id : *items) names.push_back(folder->GetDisplayNameOf(id, SHGDN_INFOLDER));
        return names;
    }
    static constexpr uint32_t kAll = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
};

TEST_F(Namespace, DesktopShowsHomeComputerAndTheDesktopFolder)
{
    EXPECT_THAT(ChildNames(DesktopItemIdList(), kAll), ElementsAre("Home", "Computer", "notes.txt", "Projects"));
    EXPECT_THAT(ChildNames(DesktopItemIdList(), SHCONTF_NONFOLDERS), ElementsAre("notes.txt"));
    auto desktop = DesktopFolderInterface();
    EXPECT_EQ(desktop->GetDisplayNameOf(DesktopItemIdList(), SHGDN_NORMAL), "Desktop");
    EXPECT_EQ(desktop->GetDisplayNameOf(DesktopItemIdList(), SHGDN_FORPARSING), FHome + "/Desktop");
    EXPECT_EQ(desktop->GetDisplayNameOf(MakeItemId(ikVirtual, "home"), SHGDN_FORPARSING), FHome);
    EXPECT_EQ(desktop->GetDisplayNameOf(MakeItemId(ikVirtual, "computer"), SHGDN_FORPARSING), "::{computer}");

    // Without a desktop folder the desktop stands for the home folder.
    WriteFile(FHome + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Nowhere\"\n");
    std::filesystem::remove_all(FHome + "/Desktop");
    EXPECT_EQ(desktop->GetDisplayNameOf(DesktopItemIdList(), SHGDN_FORPARSING), FHome);
}

TEST_F(Namespace, ComputerListsRootAndTheUserVolumesWithLabelsAndKinds)
{
    auto computer = MakeItemId(ikVirtual, "computer");
    EXPECT_THAT(ChildNames(computer, kAll), ElementsAre("File System", "DVD", "USB", "net"));
    auto volumes = MountedVolumes();
    ASSERT_EQ(volumes.size(), 4u);
    struct Case {
        std::string Path;
        TShellIconKind Icon;
        bool Removable;
    } cases[] = {{"/", sikVolumeFixed, false},
                 {FRoot + "/media/DVD", sikVolumeOptical, true},
                 {FRoot + "/media/USB", sikVolumeFixed, false},  // no such block device here: not removable
                 {FRoot + "/mnt/net", sikVolumeNetwork, false}};
    auto folder = DesktopFolderInterface()->BindToObject(computer);
    for (auto& c : cases) {
        SCOPED_TRACE(c.Path);
        auto id = MakeItemId(ikVolume, c.Path);
        EXPECT_EQ(ShellIconKindOf(JoinItemIdLists(computer, id), false), c.Icon);
        uint32_t a = folder->GetAttributesOf(id);
        EXPECT_TRUE(a & SFGAO_FOLDER);
        EXPECT_TRUE(a & SFGAO_FILESYSTEM);
        EXPECT_EQ((a & SFGAO_REMOVABLE) != 0, c.Removable);
        EXPECT_EQ(folder->GetDisplayNameOf(id, SHGDN_FORPARSING), c.Path);
    }
    EXPECT_EQ(ShellIconKindOf(computer, false), sikComputer);
    EXPECT_EQ(ShellIconKindOf(DesktopItemIdList(), false), sikDesktop);
    EXPECT_EQ(ShellIconKindOf(MakeItemId(ikVirtual, "home"), false), sikHome);
}

TEST_F(Namespace, PathsParseAndComeBackUnchanged)
{
    struct Case {
        std::string Text;
        std::string Path;
        int Ids;
    } cases[] = {
        {FFiles, FFiles, 0},
        {FFiles + "/movie.mp4", FFiles + "/movie.mp4", 0},
        {FFiles + "/bad\xE9.ts", FFiles + "/bad\xE9.ts", 0},
        {FFiles + "//sub/./deeper/../deeper/", FFiles + "/sub/deeper", 0},
        {"~/Docs", FHome + "/Docs", 0},
        {"~", FHome, 0},
        {FRoot + "/media/USB", FRoot + "/media/USB", 2},  // a mount folder is the volume itself
        {FRoot + "/media/USB/", FRoot + "/media/USB", 2},
        {"/", "/", 2},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TItemIdList list = ParseDisplayName(c.Text);
        ASSERT_FALSE(list.IsNil());
        EXPECT_EQ(FileSystemPathOf(list), c.Path);
        if (c.Ids) {
            EXPECT_EQ(ItemIdCount(list), c.Ids);
        }
        auto item = FolderFromAbsoluteIdList(list);
        EXPECT_EQ(item->PathName(), c.Path);
        EXPECT_EQ(ParseDisplayName(item->PathName()), list);
    }
    // Files below a volume go through it.
    TItemIdList usb = ParseDisplayName(FRoot + "/media/USB");
    EXPECT_EQ(ItemIdAt(usb, 1), MakeItemId(ikVolume, FRoot + "/media/USB"));
    for (std::string bad : std::vector<std::string>{"", "relative/path", FFiles + "/missing", "::{nothing}"}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(ParseDisplayName(bad).IsNil());
    }
    EXPECT_EQ(ParseDisplayName("::{computer}"), MakeItemId(ikVirtual, "computer"));
}

TEST_F(Namespace, NamesAreBytesAndOnlyByteEqualIdsAreTheSame)
{
    EXPECT_THAT(ChildNames(ParseDisplayName(FFiles), kAll),
                ElementsAre("A", "a", "b.ts", "bad\\xE9.ts", "dirlink", "link.avi", "movie.mp4", "readonly",
                            "song.mp3", "sub", "Zeta"));
    EXPECT_THAT(ChildNames(ParseDisplayName(FFiles), kAll | SHCONTF_INCLUDEHIDDEN),
                ::testing::Contains(".hidden"));
    EXPECT_THAT(ChildNames(ParseDisplayName(FFiles), SHCONTF_FOLDERS),
                ElementsAre("dirlink", "readonly", "sub", "Zeta"));

    TItemIdList a = ParseDisplayName(FFiles + "/a"), upper = ParseDisplayName(FFiles + "/A");
    EXPECT_FALSE(SameItemIdList(a, upper));
    EXPECT_TRUE(SameItemIdList(a, ParseDisplayName(FFiles + "/a")));
    EXPECT_NE(DesktopFolderInterface()->CompareIDs(a, upper), 0);

    // A name that is not UTF-8 is shown escaped and still opens.
    auto bad = FolderFromAbsoluteIdList(ParseDisplayName(FFiles + "/bad\xE9.ts"));
    EXPECT_EQ(bad->DisplayName(), "bad\\xE9.ts");
    EXPECT_EQ(bad->FullObjectName(), FFiles + "/bad\xE9.ts");
    EXPECT_EQ(bad->ReadFindData().Size, 1);
    EXPECT_EQ(EscapedDisplayName("caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST_F(Namespace, AttributesOfTheFixtureEntries)
{
    auto files = DesktopFolderInterface()->BindToObject(ParseDisplayName(FFiles));
    ASSERT_TRUE(files);
    auto attrs = [&](const std::string& AName, uint32_t ARequest = 0) {
        return files->GetAttributesOf(MakeItemId(ikFileSystem, AName), ARequest);
    };
    struct Case {
        std::string Name;
        uint32_t Set;
        uint32_t Clear;
    } cases[] = {
        {"movie.mp4", SFGAO_FILESYSTEM | SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANCOPY,
         SFGAO_FOLDER | SFGAO_LINK | SFGAO_READONLY | SFGAO_GHOSTED},
        {"sub", SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_DROPTARGET | SFGAO_HASSUBFOLDER, SFGAO_LINK},
        {"Zeta", SFGAO_FOLDER, SFGAO_HASSUBFOLDER},
        {"link.avi", SFGAO_LINK | SFGAO_FILESYSTEM, SFGAO_FOLDER},
        {"dirlink", SFGAO_LINK | SFGAO_FOLDER, 0},
        {"readonly", SFGAO_FOLDER | SFGAO_READONLY, 0},
        {".hidden", SFGAO_GHOSTED, SFGAO_FOLDER},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.Name);
        uint32_t a = attrs(c.Name, 0xFFFFFFFF);
        EXPECT_EQ(a & c.Set, c.Set);
        EXPECT_EQ(a & c.Clear, 0u);
    }
    // Subfolders are looked for only when asked: a long listing stays one stat per entry.
    EXPECT_EQ(attrs("sub") & SFGAO_HASSUBFOLDER, 0u);
    auto inside = DesktopFolderInterface()->BindToObject(ParseDisplayName(FFiles + "/readonly"));
    EXPECT_EQ(inside->GetAttributesOf(MakeItemId(ikFileSystem, "inside.txt")) & SFGAO_CANRENAME, 0u);
    EXPECT_EQ(attrs("missing"), 0u);
}

TEST_F(Namespace, RenameNeverReplacesAnExistingEntry)
{
    auto files = DesktopFolderInterface()->BindToObject(ParseDisplayName(FFiles));
    auto movie = MakeItemId(ikFileSystem, "movie.mp4");
    for (std::string taken : {"song.mp3", "sub", "A"}) {
        SCOPED_TRACE(taken);
        EXPECT_TRUE(files->SetNameOf(movie, taken).IsNil());
        EXPECT_EQ(errno, EEXIST);
    }
    for (std::string bad : {"", ".", "..", "x/y"}) {
        EXPECT_TRUE(files->SetNameOf(movie, bad).IsNil());
        EXPECT_EQ(errno, EINVAL);
    }
    EXPECT_EQ(std::filesystem::file_size(FFiles + "/song.mp3"), 20u);
    EXPECT_EQ(std::filesystem::file_size(FFiles + "/movie.mp4"), 3000u);

    EXPECT_EQ(files->SetNameOf(movie, "film.mp4"), MakeItemId(ikFileSystem, "film.mp4"));
    EXPECT_EQ(std::filesystem::file_size(FFiles + "/film.mp4"), 3000u);
    EXPECT_FALSE(std::filesystem::exists(FFiles + "/movie.mp4"));
}

TEST_F(Namespace, NewFolderTakesTheNextFreeName)
{
    auto files = DesktopFolderInterface()->BindToObject(ParseDisplayName(FFiles));
    EXPECT_EQ(files->CreateNewFolder(), MakeItemId(ikFileSystem, "New Folder"));
    EXPECT_EQ(files->CreateNewFolder(), MakeItemId(ikFileSystem, "New Folder (2)"));
    EXPECT_EQ(files->CreateNewFolder(), MakeItemId(ikFileSystem, "New Folder (3)"));
    EXPECT_TRUE(std::filesystem::is_directory(FFiles + "/New Folder (2)"));
    auto readonly = DesktopFolderInterface()->BindToObject(ParseDisplayName(FFiles + "/readonly"));
    EXPECT_TRUE(readonly->CreateNewFolder().IsNil());
    EXPECT_FALSE(std::filesystem::exists(FFiles + "/readonly/New Folder"));
    EXPECT_TRUE(DesktopFolderInterface()->BindToObject(MakeItemId(ikVirtual, "computer"))->CreateNewFolder().IsNil());
}

TEST_F(Namespace, IconsByKind)
{
    struct Case {
        std::string Name;
        TShellIconKind Kind;
    } cases[] = {{"movie.mp4", sikVideo}, {"b.ts", sikVideo}, {"song.mp3", sikAudio}, {"a", sikFile},
                 {"sub", sikFolderClosed}, {"link.avi", sikVideo}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(ShellIconKindOf(ParseDisplayName(FFiles + "/" + c.Name), false), c.Kind);
    }
    EXPECT_EQ(ShellIconKindOf(ParseDisplayName(FFiles + "/sub"), true), sikFolderOpen);
    EXPECT_EQ(ShellImageIndex(ParseDisplayName(FFiles + "/sub"), true, false), sikFolderClosed);
    EXPECT_EQ(FileIconKind("PICTURE.JPG"), sikImage);
    EXPECT_EQ(FileIconKind("notes.TXT"), sikText);
    EXPECT_EQ(FileIconKind(".mp4"), sikFile);
}

}  // namespace
