#include "platform/rtl/environment.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char kUserDirs[] =
    "# This file is written by the desktop's user-dirs tool\n"
    "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
    "XDG_DOCUMENTS_DIR=\"$HOME/Mes documents/\"\n"
    "XDG_VIDEOS_DIR=\"/media/films\"\n"
    "XDG_MUSIC_DIR=\"$HOME/Mu\\\"sic\"   # quoted quote\n"
    "  XDG_DOWNLOAD_DIR=\"$HOME\"\n"
    "XDG_PICTURES_DIR=\"Pictures\"\n"
    "XDG_TEMPLATES_DIR=\"$HOMEPAGE/t\"\n"
    "XDG_PUBLICSHARE_DIR=\"$HOME/unterminated\n"
    "XDG_OTHER_DIR=$HOME/unquoted\n";

// A private home, configuration and temporary folder for each test, removed afterwards.
class Folders : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quennary-folders-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        FRoot = pattern;
        std::filesystem::create_directories(FRoot + "/home");
        std::filesystem::create_directories(FRoot + "/config");
        std::filesystem::create_directories(FRoot + "/tmp");
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "TMPDIR"})
            FSaved.emplace_back(name, FindEnvironmentVariable(name));
        SetEnvironmentVariable("HOME", FRoot + "/home");
        SetEnvironmentVariable("XDG_CONFIG_HOME", FRoot + "/config/");
        SetEnvironmentVariable("TMPDIR", FRoot + "/tmp");
    }
    void TearDown() override
    {
        for (auto& [name, value] : FSaved)
            value ? SetEnvironmentVariable(name, *value) : UnsetEnvironmentVariable(name);
        std::filesystem::remove_all(FRoot);
    }
    void WriteUserDirs(const std::string& AText)
    {
        std::ofstream(FRoot + "/config/user-dirs.dirs") << AText;
    }
    std::string SharedTempName() const { return FRoot + "/tmp/quennary-" + std::to_string(geteuid()); }

    std::string FRoot;
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

bool IsPrivateDirectory(const std::string& APath)
{
    struct stat info {};
    return lstat(APath.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & 0777) == 0700;
}
}  // namespace

TEST_F(Folders, ParsesUserDirsWithHomeQuotesAndComments)
{
    const auto dirs = ParseUserDirs(kUserDirs, "/home/ann");
    const std::map<std::string, std::string> expected = {
        {"XDG_DESKTOP_DIR", "/home/ann/Desktop"},
        {"XDG_DOCUMENTS_DIR", "/home/ann/Mes documents"},
        {"XDG_VIDEOS_DIR", "/media/films"},
        {"XDG_MUSIC_DIR", "/home/ann/Mu\"sic"},
        {"XDG_DOWNLOAD_DIR", "/home/ann"},
        // relative, "$HOMEPAGE", unterminated and unquoted entries are not of the file's form: skipped
    };
    EXPECT_EQ(dirs, expected);
}

TEST_F(Folders, SpecialFoldersComeFromTheFileOrTheDefaults)
{
    const std::string home = FRoot + "/home";
    EXPECT_EQ(GetHomeFolder(), home);
    EXPECT_EQ(GetConfigFolder(), FRoot + "/config");
    EXPECT_EQ(GetSpecialFolder(sfDocuments), home + "/Documents");  // no file yet
    EXPECT_EQ(GetSpecialFolder(sfVideos), home + "/Videos");
    WriteUserDirs(kUserDirs);
    const std::pair<TSpecialFolder, std::string> table[] = {
        {sfDocuments, home + "/Mes documents"}, {sfVideos, "/media/films"},
        {sfDesktop, home + "/Desktop"},         {sfPictures, home + "/Pictures"},  // skipped entry: default
        {sfTemplates, home + "/Templates"},
    };
    for (const auto& [folder, path] : table)
        EXPECT_EQ(GetSpecialFolder(folder), path) << folder;
    SetEnvironmentVariable("XDG_CONFIG_HOME", "relative/config");  // not absolute: ignored
    EXPECT_EQ(GetConfigFolder(), home + "/.config");
}

TEST_F(Folders, PrivateTempFolderIsCreated0700AndKept)
{
    const std::string folder = GetPrivateTempFolder();
    EXPECT_EQ(folder, SharedTempName());
    EXPECT_TRUE(IsPrivateDirectory(folder));
    EXPECT_EQ(GetPrivateTempFolder(), folder);
}

TEST_F(Folders, PrivateTempFolderRefusesWhatIsNotOursAlone)
{
    struct Case {
        const char* Name;
        std::function<void(const std::string&)> Plant;
        bool Used;
        bool RootOnly;
    };
    const Case cases[] = {
        {"open to group and others", [](const std::string& p) { mkdir(p.c_str(), 0700), chmod(p.c_str(), 0755); },
         false, false},
        {"link to a private folder",
         [](const std::string& p) { mkdir((p + "-target").c_str(), 0700), symlink((p + "-target").c_str(), p.c_str()); },
         false, false},
        {"a plain file", [](const std::string& p) { std::ofstream(p) << "x"; }, false, false},
        {"another owner", [](const std::string& p) { mkdir(p.c_str(), 0700), (void)chown(p.c_str(), 65534, 65534); },
         false, true},
        {"ours but narrower", [](const std::string& p) { mkdir(p.c_str(), 0700), chmod(p.c_str(), 0500); }, true,
         false},
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        if (c.RootOnly && geteuid() != 0)
            continue;
        const std::string base = FRoot + "/tmp/" + std::to_string(++round);
        std::filesystem::create_directories(base);
        SetEnvironmentVariable("TMPDIR", base);
        const std::string shared = base + "/quennary-" + std::to_string(geteuid());
        c.Plant(shared);
        struct stat planted {};
        lstat(shared.c_str(), &planted);

        const std::string folder = GetPrivateTempFolder();
        EXPECT_TRUE(IsPrivateDirectory(folder)) << folder;
        if (c.Used) {
            EXPECT_EQ(folder, shared);
            continue;
        }
        EXPECT_EQ(folder.rfind(shared + "-", 0), 0u) << folder;
        EXPECT_EQ(GetPrivateTempFolder(), folder);  // the same refuge for the rest of the run
        struct stat after {};
        lstat(shared.c_str(), &after);
        EXPECT_EQ(after.st_mode, planted.st_mode);  // the planted entry is left as it was
        EXPECT_EQ(after.st_uid, planted.st_uid);
    }
}

TEST_F(Folders, PrivateTempFolderFailsClearlyWithoutABase)
{
    SetEnvironmentVariable("TMPDIR", FRoot + "/missing/deeper");
    EXPECT_THROW(GetPrivateTempFolder(), EOSError);
}

TEST_F(Folders, UniqueTempFilesAreCreatedInThePrivateFolder)
{
    const std::string first = CreateUniqueTempFile("clip", ".mp4");
    const std::string second = CreateUniqueTempFile("clip", ".mp4");
    EXPECT_NE(first, second);
    for (const std::string& name : {first, second}) {
        EXPECT_EQ(name.rfind(SharedTempName() + "/clip", 0), 0u) << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".mp4");
        EXPECT_TRUE(std::filesystem::is_regular_file(name));
    }
    EXPECT_THROW(CreateUniqueTempFile("../escape"), EInvalidArgument);
}
