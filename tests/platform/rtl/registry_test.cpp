#include "platform/rtl/registry.h"

#include "platform/rtl/strings.h"
#include "platform/rtl/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

const char* const AppKey = "\\Software\\Brindlewave\\Quennary";

std::string ReadAll(const std::string& AFileName)
{
    std::ifstream in(AFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Lines(const TStrings& AList)
{
    std::vector<std::string> out;
    for (Integer i = 0; i < AList.Count(); ++i) out.push_back(AList.Strings(i));
    return out;
}

using TLines = std::vector<std::string>;

// Every test runs against a settings file in its own temporary folder, never the real home.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "rtl-registry-XXXXXX").string();
        FDir = mkdtemp(pattern.data());
        Keep("XDG_CONFIG_HOME", FOldXdg);
        Keep("HOME", FOldHome);
        setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
        setenv("HOME", (FDir + "/home").c_str(), 1);
        FFile = FDir + "/Brindlewave/Quennary/settings.ini";
        ASSERT_EQ(RegistrySettingsFileName(), FFile);
    }
    void TearDown() override
    {
        SetUp_Restore("XDG_CONFIG_HOME", FOldXdg);
        SetUp_Restore("HOME", FOldHome);
        std::filesystem::remove_all(FDir);
    }

    static void Keep(const char* AName, std::optional<std::string>& AOld)
    {
        if (const char* v = std::getenv(AName)) AOld = v;
    }
    static void SetUp_Restore(const char* AName, const std::optional<std::string>& AOld)
    {
        if (AOld) setenv(AName, AOld->c_str(), 1);
        else unsetenv(AName);
    }

    std::string FDir;
    std::string FFile;
    std::optional<std::string> FOldXdg, FOldHome;
};

}  // namespace

TEST_F(RegistryTest, TypedValuesRoundTripAndWrongTypesFail)
{
    const std::string odd = "  50% = odd\nline\t[x]  ";
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(AppKey, true));
        reg.WriteString("OutputPath", "/home/user/Videos");
        reg.WriteInteger("Recent", -3);
        reg.WriteBool("Changed", true);
        reg.WriteFloat("Ratio", 0.1);
        reg.WriteDateTime("When", 45000.25);
        reg.WriteString("Odd", odd);
        reg.WriteString("a=b", "name with an equals sign");
        reg.WriteString("", "default value");
        reg.CloseKey();
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(AppKey));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Brindlewave\\Quennary");
    EXPECT_EQ(reg.ReadString("OUTPUTPATH"), "/home/user/Videos");
    EXPECT_EQ(reg.ReadInteger("Recent"), -3);
    EXPECT_TRUE(reg.ReadBool("Changed"));
    EXPECT_EQ(reg.ReadFloat("Ratio"), 0.1);
    EXPECT_EQ(reg.ReadDateTime("When"), 45000.25);
    EXPECT_EQ(reg.ReadFloat("When"), 45000.25);  // both are eight bytes, as there
    EXPECT_EQ(reg.ReadString("Odd"), odd);
    EXPECT_EQ(reg.ReadString("a=b"), "name with an equals sign");
    EXPECT_EQ(reg.ReadString(""), "default value");
    EXPECT_EQ(reg.ReadString("Missing"), "");  // a missing string reads empty, as in the class library
    EXPECT_EQ(reg.GetDataType("Recent"), rdInteger);

    struct Case {
        std::function<void()> Read;
        const char* Message;
    };
    const Case cases[] = {
        {[&] { reg.ReadInteger("OutputPath"); }, "Invalid data type for 'OutputPath'"},
        {[&] { reg.ReadString("Recent"); }, "Invalid data type for 'Recent'"},
        {[&] { reg.ReadFloat("Recent"); }, "Invalid data type for 'Recent'"},
        {[&] { reg.ReadBool("Ratio"); }, "Invalid data type for 'Ratio'"},
        {[&] { reg.ReadInteger("Missing"); }, "Failed to get data for 'Missing'"},
        {[&] { reg.WriteInteger("Recent", 1); }, "Failed to set data for 'Recent'"},  // opened read-only
    };
    for (const Case& c : cases) {
        try {
            c.Read();
            ADD_FAILURE() << c.Message;
        } catch (const ERegistryException& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
    }
    reg.CloseKey();
    EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);  // no key open
}

TEST_F(RegistryTest, KeysOpenCreateListAndDelete)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(AppKey, false));
    EXPECT_EQ(reg.CurrentPath(), "");
    EXPECT_FALSE(std::filesystem::exists(FFile));  // looking creates nothing

    ASSERT_TRUE(reg.OpenKey(AppKey, true));
    ASSERT_TRUE(reg.OpenKey("Formats\\Mp4", true));  // relative to the open key
    EXPECT_EQ(reg.CurrentPath(), "Software\\Brindlewave\\Quennary\\Formats\\Mp4");
    reg.WriteInteger("Width", 640);
    reg.WriteInteger("Height", 480);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Brindlewave\\Quennary\\Formats\\Avi", true));
    reg.WriteInteger("Width", 320);

    ASSERT_TRUE(reg.OpenKey("\\software\\BRINDLEWAVE\\quennary\\formats", false));  // names in any case
    TStringList names;
    reg.GetKeyNames(&names);
    EXPECT_EQ(Lines(names), (TLines{"Avi", "Mp4"}));
    EXPECT_TRUE(reg.HasSubKeys());
    EXPECT_TRUE(reg.KeyExists("Mp4"));
    EXPECT_TRUE(reg.KeyExists("\\Software"));
    EXPECT_FALSE(reg.KeyExists("Mkv"));

    ASSERT_TRUE(reg.OpenKey("Mp4", false));
    reg.GetValueNames(&names);
    EXPECT_EQ(Lines(names), (TLines{"Width", "Height"}));
    EXPECT_TRUE(reg.DeleteValue("width"));
    EXPECT_FALSE(reg.DeleteValue("width"));
    EXPECT_FALSE(reg.ValueExists("Width"));
    EXPECT_TRUE(reg.ValueExists("Height"));

    // Deleting a key takes the keys below it; the key above stays.
    EXPECT_TRUE(reg.DeleteKey("\\Software\\Brindlewave\\Quennary\\Formats"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Brindlewave\\Quennary\\Formats\\Mp4"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Brindlewave\\Quennary"));
    EXPECT_FALSE(reg.DeleteKey("\\Software\\Nothing"));

    // Other roots share the file without mixing with the current user's keys.
    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(machine.KeyExists(AppKey));
    ASSERT_TRUE(machine.OpenKey("Software\\Other", true));
    machine.WriteString("X", "1");
    EXPECT_FALSE(reg.KeyExists("\\Software\\Other"));
    reg.CloseKey();
    reg.GetKeyNames(&names);
    EXPECT_EQ(Lines(names), (TLines{"Software"}));
}

TEST_F(RegistryTest, CrashBeforeTheRenameLeavesTheOldFile)
{
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(AppKey, true));
        reg.WriteString("OutputPath", "old");
    }
    const std::string before = ReadAll(FFile);

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The new contents are on disk in the temporary file when the process dies.
        SetAtomicWriteHook([](const std::string&) { raise(SIGKILL); });
        TRegistry reg;
        if (reg.OpenKey(AppKey, false)) reg.WriteString("OutputPath", "new");
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child was meant to die mid-write";

    EXPECT_EQ(ReadAll(FFile), before);
    size_t leftovers = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(FFile).parent_path())) {
        leftovers += e.path().filename().string().find(".tmp-") != std::string::npos;
    }
    EXPECT_EQ(leftovers, 1u);

    // Beside it, temporary files that are not the dead writer's: a live process's (pid 1 always runs) and one whose
    // name holds no process id.
    const std::string folder = std::filesystem::path(FFile).parent_path().string() + "/";
    const std::string live = folder + ".settings.ini.tmp-1-Ab12Cd", unnamed = folder + ".settings.ini.tmp-Ab12Cd";
    std::ofstream(live) << "in progress";
    std::ofstream(unnamed) << "unknown";

    // The leftover is ignored, the next write goes through and removes it.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(AppKey, false));
    EXPECT_EQ(reg.ReadString("OutputPath"), "old");
    reg.WriteString("OutputPath", "newer");
    TRegistry again;
    ASSERT_TRUE(again.OpenKey(AppKey, false));
    EXPECT_EQ(again.ReadString("OutputPath"), "newer");

    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        if (e.path().filename().string().find(".tmp-") != std::string::npos) left.push_back(e.path().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{live, unnamed}));
}

TEST_F(RegistryTest, BytesThatAreNotTextSpoilOnlyTheirOwnLine)
{
    // As an older run wrote a Latin-1 folder name raw, with a damaged line and a NUL among good ones.
    std::filesystem::create_directories(FDir + "/Brindlewave/Quennary");
    std::ofstream(FFile, std::ios::binary)
        << "[Software\\Brindlewave\\Quennary]\nOutputPath=sz:/home/u/Vid\xE9os\nName\xE9=sz:v\n"
           "\0\0\xFF\xFE garbage\nCount=dword:1\xFF\nRecent=dword:7\n"s;
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(AppKey, false));
        EXPECT_EQ(reg.ReadString("OutputPath"), "/home/u/Vid\xE9os");
        EXPECT_EQ(reg.ReadString("Name\xE9"), "v");
        EXPECT_THROW(reg.ReadInteger("Count"), ERegistryException);
        EXPECT_EQ(reg.ReadInteger("Recent"), 7);
        // A write keeps every other value as it stands.
        reg.WriteString("Snapshots", "/m\xEAme\x80/\xC3");
    }
    const std::string text = ReadAll(FFile);
    EXPECT_TRUE(IsValidUtf8(text)) << text;
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(FFile + ".damaged"));
    TRegistry again;
    ASSERT_TRUE(again.OpenKey(AppKey, false));
    EXPECT_EQ(again.ReadString("OutputPath"), "/home/u/Vid\xE9os");
    EXPECT_EQ(again.ReadString("Snapshots"), "/m\xEAme\x80/\xC3");
    EXPECT_EQ(again.ReadString("Name\xE9"), "v");
    EXPECT_EQ(again.ReadInteger("Recent"), 7);
    // Real UTF-8 stays readable in the file.
    again.WriteString("Title", "caf\xC3\xA9");
    EXPECT_NE(ReadAll(FFile).find("Title=sz:caf\xC3\xA9"), std::string::npos);
    EXPECT_EQ(again.ReadString("Title"), "caf\xC3\xA9");
}

TEST_F(RegistryTest, UnreadableFileReadsEmptyAndIsKeptAside)
{
    // A folder in the file's place: there, but nothing can be read from it.
    std::filesystem::create_directories(FFile + "/inside");
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(AppKey, false));
    ASSERT_TRUE(reg.OpenKey(AppKey, true));
    reg.WriteInteger("Recent", 1);
    EXPECT_TRUE(std::filesystem::exists(FFile + ".damaged/inside"));
    TRegistry again;
    ASSERT_TRUE(again.OpenKey(AppKey, false));
    EXPECT_EQ(again.ReadInteger("Recent"), 1);
}

TEST_F(RegistryTest, AValueLineThatDoesNotParseSpoilsOnlyItself)
{
    std::filesystem::create_directories(FDir + "/Brindlewave/Quennary");
    // A value line that does not parse reads as missing and leaves the rest readable.
    std::ofstream(FFile, std::ios::binary) << "[Software\\Brindlewave\\Quennary]\nA=dword:12x\nB=nonsense\nC=dword:7\n";
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(AppKey, false));
    EXPECT_THROW(reg.ReadInteger("A"), ERegistryException);
    EXPECT_FALSE(reg.ValueExists("B"));
    EXPECT_EQ(reg.ReadInteger("C"), 7);
}

TEST_F(RegistryTest, SettingsFileFollowsTheConfigFolder)
{
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(RegistrySettingsFileName(), FDir + "/home/.config/Brindlewave/Quennary/settings.ini");
    setenv("XDG_CONFIG_HOME", "relative/path", 1);  // only an absolute path counts
    EXPECT_EQ(RegistrySettingsFileName(), FDir + "/home/.config/Brindlewave/Quennary/settings.ini");
}
