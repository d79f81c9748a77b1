#include "app/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/inotify.h>
#include <unistd.h>

#include "app/startup_loading.h"
#include "platform/rtl/registry.h"

namespace {

namespace fs = std::filesystem;

// A catalogue with one profile of two formats and "All Profiles" holding both.
TCatalogue SmallCatalogue()
{
    TCatalogue catalogue;
    TFormat a, b;
    a.Title = "A", a.VideoCodecName = "libx264", a.Width = "640", a.Height = "480", a.FrameRate = "25000";
    a.VideoBitRate = "1200000", a.AudioCodecName = "aac", a.AudioBitRate = "128000", a.SampleRate = "44100";
    a.Channel = "2";
    b = a;
    b.Title = "B";
    catalogue.Profiles = {{"P", "p", "p", {a, b}}, {"All Profiles", "0", "menuall", {a, b}}};
    return catalogue;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Config = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" /
                 ("settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Config);
        fs::create_directories(Config);
        setenv("XDG_CONFIG_HOME", Config.c_str(), 1);
    }

    // Writes values straight into the key, as an earlier run would have left them.
    void Store(const std::function<void(TRegistry&)>& AWrite)
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(kSettingsKey, true));
        AWrite(registry);
        registry.CloseKey();
    }

    std::string StoredString(const char* AName)
    {
        TRegistry registry;
        if (!registry.OpenKey(kSettingsKey, false) || !registry.ValueExists(AName))
            return "<absent>";
        return registry.ReadString(AName);
    }

    int StoredInteger(const char* AName)
    {
        TRegistry registry;
        EXPECT_TRUE(registry.OpenKey(kSettingsKey, false));
        return registry.ReadInteger(AName);
    }

    fs::path Config;
};

TEST_F(SettingsTest, FirstRunKeepsTheDefaults)
{
    TSettingsStore store;
    TSettings settings{"/docs/Output", "/home/videos", "/docs/Snapshots", {}};
    TCatalogue catalogue = SmallCatalogue();
    store.Read(settings, catalogue);
    EXPECT_TRUE(store.WasRead());
    EXPECT_EQ(settings.OutputPath, "/docs/Output");
    EXPECT_EQ(settings.OpenVideoDialogPath, "/home/videos");
    EXPECT_EQ(catalogue.Recent, (TFormatIndex{0, 0}));
    EXPECT_EQ(catalogue.LastEdited, (TFormatIndex{-1, -1}));
}

TEST_F(SettingsTest, RoundTrip)
{
    const std::string chosen_folder = Config.string();
    {
        TSettingsStore store;
        TSettings settings;
        TCatalogue catalogue = SmallCatalogue();
        store.Read(settings, catalogue);
        settings = {"/out", "", "/shots", {}};
        catalogue.Recent = {1, 1};
        catalogue.LastEdited = {0, 1};
        catalogue.Profiles[0].Formats[1].Width = "320";
        catalogue.Profiles[0].Formats[1].AudioCodecName = "libmp3lame";
        store.Save(settings, catalogue, chosen_folder + "/clip one.mp4");
    }
    TSettingsStore store;
    TSettings settings;
    TCatalogue catalogue = SmallCatalogue();
    catalogue.Profiles[0].Formats.clear();  // formats are attached again after reading
    store.Read(settings, catalogue);
    EXPECT_EQ(settings.OutputPath, "/out");
    EXPECT_EQ(settings.OpenVideoDialogPath, chosen_folder);
    EXPECT_EQ(settings.ScreenShotsPath, "/shots");
    EXPECT_EQ(catalogue.Recent, (TFormatIndex{1, 1}));
    EXPECT_EQ(catalogue.LastEdited, (TFormatIndex{0, 1}));
    EXPECT_EQ(settings.LastEditedValues.Width, "320");
    EXPECT_EQ(settings.LastEditedValues.AudioCodecName, "libmp3lame");
    EXPECT_EQ(settings.LastEditedValues.FrameRate, "25000");
    EXPECT_EQ(StoredInteger("recentprofileind"), 1);
    EXPECT_EQ(StoredString("channels"), "2");
}

TEST_F(SettingsTest, StaleLastEditedPairIsNeitherAppliedNorRewritten)
{
    Store([](TRegistry& R) {
        R.WriteInteger("lasteditedprofileind", 7);
        R.WriteInteger("lasteditedformatind", 3);
        R.WriteString("videowidth", "999");
        R.WriteString("OpenVideoDialogPath", "/no/such/folder");
    });
    TSettingsStore store;
    TSettings settings;
    settings.OpenVideoDialogPath = "/home/videos";
    TCatalogue catalogue;
    catalogue.ProfileIcons = {{"p", ""}};
    catalogue.Profiles = {{"P", "p", "p", {}}, {"All Profiles", "0", "menuall", {}}};
    catalogue.LoadedFormats = SmallCatalogue().Profiles[0].Formats;
    for (auto& format : catalogue.LoadedFormats)
        format.Category = "p";
    store.Read(settings, catalogue);
    EXPECT_EQ(settings.OpenVideoDialogPath, "");  // a remembered folder that is gone
    EXPECT_EQ(catalogue.LastEdited, (TFormatIndex{7, 3}));

    catalogue.AttachFormats(settings.LastEditedValues);
    for (const auto& profile : catalogue.Profiles) {
        ASSERT_EQ(profile.Formats.size(), 2u);
        for (const auto& format : profile.Formats)
            EXPECT_EQ(format.Width, "640");
    }

    store.Save(settings, catalogue, "");
    EXPECT_EQ(StoredInteger("lasteditedprofileind"), 7);
    EXPECT_EQ(StoredString("videowidth"), "999");
    EXPECT_EQ(StoredString("videocodecname"), "<absent>");
    EXPECT_EQ(StoredString("OpenVideoDialogPath"), "/no/such/folder");  // nothing chosen in this run
}

TEST_F(SettingsTest, NothingIsWrittenWhenTheSettingsWereNeverRead)
{
    Store([](TRegistry& R) { R.WriteString("OutputPath", "/kept"); });
    TSettingsStore store;
    store.Save({"/default", "", "", {}}, SmallCatalogue(), "");
    EXPECT_EQ(StoredString("OutputPath"), "/kept");
}

// A settings file written by hand (or damaged): values of the wrong type or that do not decode.
TEST_F(SettingsTest, AnUnreadableValueIsItsDefaultForTheRunAndStaysInTheFileUnlessChanged)
{
    const fs::path file = RegistrySettingsFileName();
    const std::string stored = "[Software\\Brindlewave\\Quennary]\n"
                               "OutputPath=sz:/home/u/Vid\xE9os\n"  // a Latin-1 name, written raw by an old run
                               "ScreenShotsPath=sz:/bad%ZZescape\n"
                               "recentformatind=sz:abc\n"
                               "recentprofileind=dword:1\n"
                               "lasteditedformatind=dword:1\n"
                               "lasteditedprofileind=dword:0\n"
                               "videowidth=dword:320\n"
                               "channels=sz:1\n";
    struct Case {
        const char* Name;
        bool ChangeRecent;
    };
    for (const Case c : {Case{"unchanged", false}, Case{"recent chosen", true}}) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << stored;
        TSettingsStore store;
        TSettings settings{"/docs/Output", "", "/docs/Snapshots", {}};
        // The catalogue as start-up has it before the formats are attached to their profiles.
        TCatalogue catalogue = SmallCatalogue();
        for (TFormat& format : catalogue.Profiles[0].Formats) format.Category = "p";
        catalogue.LoadedFormats = catalogue.Profiles[0].Formats;
        for (TProfile& profile : catalogue.Profiles) profile.Formats.clear();
        ASSERT_NO_THROW(store.Read(settings, catalogue)) << c.Name;
        EXPECT_EQ(settings.OutputPath, "/home/u/Vid\xE9os") << c.Name;
        EXPECT_EQ(settings.ScreenShotsPath, "/docs/Snapshots") << c.Name;
        EXPECT_EQ(catalogue.Recent, (TFormatIndex{1, 0})) << c.Name;  // the format's default, the stored profile
        EXPECT_EQ(catalogue.LastEdited, (TFormatIndex{0, 1})) << c.Name;
        EXPECT_EQ(settings.LastEditedValues.Width, "") << c.Name;
        EXPECT_EQ(settings.LastEditedValues.Channel, "1") << c.Name;
        // The formats are attached: the remembered values go into the last edited one.
        catalogue.AttachFormats(settings.LastEditedValues);
        if (c.ChangeRecent) catalogue.Recent = {0, 1};
        store.Save(settings, catalogue, "");

        const std::string text = [&] {
            std::ifstream in(file, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {});
        }();
        EXPECT_NE(text.find("ScreenShotsPath=sz:/bad%ZZescape\n"), std::string::npos) << c.Name << text;
        EXPECT_NE(text.find("videowidth=dword:320\n"), std::string::npos) << c.Name << text;
        EXPECT_EQ(text.find("recentformatind=sz:abc\n") != std::string::npos, !c.ChangeRecent) << c.Name << text;
        EXPECT_EQ(StoredString("OutputPath"), "/home/u/Vid\xE9os") << c.Name;
        if (c.ChangeRecent) {
            EXPECT_EQ(StoredInteger("recentformatind"), 1) << c.Name;
        }
        EXPECT_EQ(StoredString("channels"), "1") << c.Name;
        EXPECT_FALSE(fs::exists(file.string() + ".damaged")) << c.Name;
    }
}

// A save replaces the settings file once, whole: a crash in the middle keeps the old settings or the new ones,
// never a mixture.
TEST_F(SettingsTest, ASaveRewritesTheFileOnce)
{
    Store([](TRegistry& R) { R.WriteString("OutputPath", "/old"); });
    const fs::path file = RegistrySettingsFileName();
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, file.parent_path().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    TSettingsStore store;
    TSettings settings;
    TCatalogue catalogue = SmallCatalogue();
    store.Read(settings, catalogue);
    catalogue.LastEdited = {0, 1};
    store.Save({"/new", "", "/shots", {}}, catalogue, Config.string() + "/a.mp4");
    int replaced = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got; (got = read(watch, buffer, sizeof buffer)) > 0;)
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            // The file is written beside its name and then moved over it, or written in place.
            if (event->len > 0 && file.filename() == event->name) ++replaced;
            at += sizeof(inotify_event) + event->len;
        }
    close(watch);
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(StoredString("OutputPath"), "/new");
    EXPECT_EQ(StoredString("videowidth"), "640");
    EXPECT_EQ(StoredInteger("lasteditedformatind"), 1);
}

// The start-up loading without a window: the catalogue, the user's folders (made when missing), then the stored
// settings over them, then the formats with the remembered values of the last edited one.
TEST_F(SettingsTest, StartupLoadingInItsOrder)
{
    const fs::path catalogue_folder = Config / "profiles", documents = Config / "Documents";
    fs::create_directories(catalogue_folder / "Icons");
    fs::create_directories(documents);
    std::ofstream(catalogue_folder / "Icons" / "p.png") << "";
    std::ofstream(catalogue_folder / "Profiles.dat") << "<?xml?>\n<profile height=\"300\">\n<!-- -->\n"
                                                        "<category id=\"p\" title=\"P\" icon=\"p\"/>\n</profile>\n";
    std::string formats = "a\nb\nc\n<format id=\"p\" name=\"A\" width=\"640\" height=\"480\" />\ny\nz\n";
    for (char& c : formats) c = static_cast<char>(255 - static_cast<unsigned char>(c));
    std::ofstream(catalogue_folder / "Formats.dat", std::ios::binary) << formats;
    Store([](TRegistry& R) {
        R.WriteString("ScreenShotsPath", "/stored/shots");
        R.WriteInteger("lasteditedprofileind", 0);
        R.WriteInteger("lasteditedformatind", 0);
        R.WriteString("videowidth", "320");
    });

    TCatalogue catalogue;
    TSettings settings;
    TSettingsStore store;
    TStartupLoading loading(catalogue, settings);
    std::vector<std::string> reports;
    loading.OnReportError = [&](const std::string& AText, const std::string&) { reports.push_back(AText); };
    loading.Run(catalogue_folder.string(), documents.string(), &store);
    EXPECT_EQ(reports, std::vector<std::string>{});
    EXPECT_TRUE(fs::is_directory(documents / "Brindlewave" / "Quennary" / "Output"));
    EXPECT_EQ(settings.OutputPath, (documents / "Brindlewave" / "Quennary" / "Output").string());
    EXPECT_EQ(settings.ScreenShotsPath, "/stored/shots");
    ASSERT_EQ(catalogue.Profiles.size(), 2u);
    EXPECT_EQ(catalogue.Profiles.back().Title, "All Profiles");
    ASSERT_EQ(catalogue.Profiles[0].Formats.size(), 1u);
    EXPECT_EQ(catalogue.Profiles[0].Formats[0].Width, "320");  // the remembered value of the last edited format
    EXPECT_EQ(catalogue.Profiles[1].Formats[0].Width, "640");
    EXPECT_TRUE(store.WasRead());

    // A missing "Formats.dat" ends the loading as start-up does.
    fs::remove(catalogue_folder / "Formats.dat");
    TCatalogue other;
    TStartupLoading failing(other, settings);
    EXPECT_THROW(failing.ReadShippedCatalogue(catalogue_folder.string()), Exception);
}

}  // namespace
