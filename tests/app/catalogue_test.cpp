#include "app/catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/rtl/exceptions.h"

namespace {

namespace fs = std::filesystem;

struct TReported {
    std::string Text, Mark;
    bool operator==(const TReported&) const = default;
};

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = fs::path(QUENNARY_BINARY_DIR) / "tests" / "app" /
                 ("catalogue-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Folder);
        fs::create_directories(Folder / "Icons");
        Catalogue.OnReportError = [this](const std::string& AText, const std::string& AMark) {
            Reported.push_back({AText, AMark});
        };
        Catalogue.OnShowChoice = [this](TFormatIndex AIndex) { Shown.push_back(AIndex); };
    }

    void WriteFile(const std::string& AName, const std::string& AText, bool AComplement = false)
    {
        std::string bytes = AText;
        if (AComplement)
            for (char& c : bytes)
                c = static_cast<char>(255 - static_cast<unsigned char>(c));
        std::ofstream(Folder / AName, std::ios::binary) << bytes;
    }

    void WriteProfiles(const std::string& ACategories, int AHeight = 470)
    {
        WriteFile("Profiles.dat", "<?xml?>\n<profile height=\"" + std::to_string(AHeight) + "\">\n<!-- -->\n" +
                                      ACategories + "</profile>\n");
    }

    // Three framing lines, the format lines, two closing lines.
    void WriteFormats(const std::vector<std::string>& ALines)
    {
        std::string text = "<?xml?>\r\n<formats>\r\n<!-- -->\r\n";
        for (const auto& line : ALines)
            text += line + "\r\n";
        WriteFile("Formats.dat", text + "</formats>\r\n<!-- end -->\r\n", true);
    }

    static std::string Format(const std::string& AId, const std::string& AName, const std::string& AExtra = "")
    {
        return "<format id=\"" + AId + "\" name=\"" + AName + "\" video_codec_name=\"libx264\"" +
               " keep_ori_frame_rate=\"1\" frame_rate=\"25000\"" + AExtra + "/>";
    }

    std::vector<std::string> Titles(int AProfile) const
    {
        std::vector<std::string> titles;
        for (const auto& format : Catalogue.Profiles[AProfile].Formats)
            titles.push_back(format.Title);
        return titles;
    }

    void Load()
    {
        Catalogue.LoadIcons((Folder / "Icons").string());
        Catalogue.LoadProfiles((Folder / "Profiles.dat").string());
        Catalogue.LoadFormats((Folder / "Formats.dat").string());
    }

    fs::path Folder;
    TCatalogue Catalogue;
    std::vector<TReported> Reported;
    std::vector<TFormatIndex> Shown;
};

using Strings = std::vector<std::string>;

TEST_F(CatalogueTest, FixtureCatalogueAttachesFormatsToProfiles)
{
    WriteFile("Icons/Video.png", "");
    WriteFile("Icons/menuall.png", "");
    WriteProfiles("  <category id=\"video\" title=\"Video\" icon=\"VIDEO\"/>\n"
                  "<!-- a comment line -->\n"
                  "<category id=\"audio\" title=\"Audio\" icon=\"none\"/>\n"
                  "<category id=\"video\" title=\"Video again\" icon=\"video\"/>\n");
    WriteFormats({Format("video", "MP4", " description=\"plain\" width=\"640\" channel=\"2\" channels=\"1$Mono\""),
                  Format("audio", "MP3", " audio_format=\"1\" audio_codec_name=\"libmp3lame\""),
                  Format("nowhere", "Orphan"), Format("video", "MKV")});
    Catalogue.Recent = {0, 1};
    Catalogue.LastEdited = {1, 0};
    Load();
    TRememberedFormat remembered;
    remembered.AudioBitRate = "96000";
    remembered.Channel = "1";
    Catalogue.AttachFormats(remembered);

    EXPECT_TRUE(Reported.empty());
    EXPECT_EQ(Catalogue.ChooserHeight, 470);
    ASSERT_EQ(Catalogue.Profiles.size(), 4u);
    EXPECT_EQ(Catalogue.Profiles[3].Title, "All Profiles");
    EXPECT_EQ(Catalogue.Profiles[3].ID, "0");
    EXPECT_EQ(Catalogue.Profiles[3].Icon, "menuall");
    EXPECT_EQ(Titles(0), (Strings{"MP4", "MKV"}));
    EXPECT_EQ(Titles(1), (Strings{"MP3"}));
    EXPECT_EQ(Titles(2), Strings{});  // a second profile with a taken ID stays empty
    EXPECT_EQ(Titles(3), (Strings{"MP4", "MP3", "Orphan", "MKV"}));

    const TFormat& mp4 = Catalogue.Profiles[0].Formats[0];
    EXPECT_EQ(mp4.Title, "MP4");  // "name" is found before the codec names that end in it
    EXPECT_EQ(mp4.VideoCodecName, "libx264");
    EXPECT_EQ(mp4.FrameRate, "25000");  // not the value of keep_ori_frame_rate
    EXPECT_EQ(mp4.KeepOriFrameRate, "1");
    EXPECT_EQ(mp4.Channel, "2");  // not the value of channels
    EXPECT_EQ(mp4.Channels, "1$Mono");
    EXPECT_EQ(mp4.Height, "");  // a key the line lacks

    EXPECT_EQ(Catalogue.Current, (TFormatIndex{0, 1}));
    EXPECT_EQ(Shown, (std::vector<TFormatIndex>{{0, 1}}));
    const TFormat& edited = Catalogue.Profiles[1].Formats[0];
    EXPECT_EQ(edited.AudioBitRate, "96000");
    EXPECT_EQ(edited.Channel, "1");
    EXPECT_EQ(edited.AudioCodecName, "");  // a remembered value that was absent empties the field
    EXPECT_EQ(Catalogue.Profiles[3].Formats[1].AudioCodecName, "libmp3lame");  // other copies keep theirs

    EXPECT_EQ(Catalogue.IconOfProfile(0)->ID, "Video");  // matched ignoring case
    EXPECT_EQ(Catalogue.IconOfProfile(1), &Catalogue.ProfileIcons.front());  // no match: the first icon
}

TEST_F(CatalogueTest, FormatLinesAreFramedByThreeAndTwoLines)
{
    WriteProfiles("");
    for (size_t count : {0u, 1u, 3u}) {
        TCatalogue catalogue;
        WriteFormats(std::vector<std::string>(count, Format("x", "F")));
        catalogue.LoadFormats((Folder / "Formats.dat").string());
        EXPECT_EQ(catalogue.LoadedFormats.size(), count);
        EXPECT_EQ(catalogue.FormatTaken.size(), count);
    }
    WriteFile("Formats.dat", "one\ntwo\nthree\nfour\nfive\n", true);
    TCatalogue short_file;
    short_file.LoadFormats((Folder / "Formats.dat").string());
    EXPECT_TRUE(short_file.LoadedFormats.empty());

    // Without its frame (empty, or cut short) the file is damaged, and the report says which file it is.
    for (const char* text : {"", "one\ntwo\n"}) {
        WriteFile("Formats.dat", text, true);
        TCatalogue damaged;
        std::vector<std::string> reports;
        damaged.OnReportError = [&](const std::string& AText, const std::string&) { reports.push_back(AText); };
        damaged.LoadFormats((Folder / "Formats.dat").string());
        EXPECT_TRUE(damaged.LoadedFormats.empty());
        EXPECT_EQ(reports, std::vector<std::string>{"Error loading formats: \"" + (Folder / "Formats.dat").string() +
                                                    "\" is damaged"});
    }
}

TEST_F(CatalogueTest, DamagedFormatLineIsReportedAndTheRestStays)
{
    WriteProfiles("<category id=\"video\" title=\"Video\" icon=\"video\"/>\n");
    WriteFile("Icons/video.png", "");
    WriteFormats({Format("video", "Good"), "<format id=\"video\" name=\"Half\" width=\"640/>", Format("video", "Lost")});
    Load();
    Catalogue.AttachFormats({});

    const std::string damaged = "Error loading formats: \"" + (Folder / "Formats.dat").string() + "\" is damaged";
    EXPECT_EQ(Reported, (std::vector<TReported>{{damaged, "CLM_LoadFormats"}}));
    ASSERT_EQ(Catalogue.LoadedFormats.size(), 2u);
    EXPECT_EQ(Catalogue.LoadedFormats[1].Title, "Half");  // what the damaged line gave before the fault
    EXPECT_EQ(Titles(0), (Strings{"Good", "Half"}));
    EXPECT_EQ(Catalogue.Current, (TFormatIndex{0, 0}));
}

TEST_F(CatalogueTest, ProfileFailuresAreReportedAndAllProfilesStillComes)
{
    struct Case { const char* what; const char* profiles; size_t profile_count; int height; bool reported; };
    const Case cases[] = {
        {"missing file", nullptr, 1, 0, true},
        {"height not a number", "x\n<profile height=\"tall\">\n-\n<category id=\"a\" title=\"A\" icon=\"a\"/>\n", 1, 0,
         true},
        {"damaged category", "x\n<profile height=\"300\">\n-\n<category id=\"a\" title=\"A\" icon=\"a\"/>\n"
                             "<category id=\"b\" title=\"B/>\n", 2, 300, true},
        {"no closing line", "x\n<profile height=\"300\">\n-\n<category id=\"a\" title=\"A\" icon=\"a\"/>\n", 2, 300,
         false},
        {"closing line ends the reading",
         "x\n<profile height=\"300\">\n-\n</profile>\n<category id=\"a\" title=\"A\" icon=\"a\"/>\n", 1, 300, false},
    };
    for (const auto& c : cases) {
        fs::remove(Folder / "Profiles.dat");
        if (c.profiles)
            WriteFile("Profiles.dat", c.profiles);
        TCatalogue catalogue;
        std::vector<TReported> reported;
        catalogue.OnReportError = [&](const std::string& AText, const std::string& AMark) {
            reported.push_back({AText, AMark});
        };
        catalogue.LoadProfiles((Folder / "Profiles.dat").string());
        EXPECT_EQ(catalogue.Profiles.size(), c.profile_count) << c.what;
        EXPECT_EQ(catalogue.Profiles.back().Title, "All Profiles") << c.what;
        EXPECT_EQ(catalogue.ChooserHeight, c.height) << c.what;
        const std::vector<TReported> expected =
            c.reported ? std::vector<TReported>{{"Error loading profiles", "CLM_LoadProfiles"}} : std::vector<TReported>{};
        EXPECT_EQ(reported, expected) << c.what;
    }
}

TEST_F(CatalogueTest, MissingProfilesLeaveEveryFormatInAllProfiles)
{
    WriteFile("Icons/menuall.png", "");
    WriteFormats({Format("video", "A"), Format("audio", "B")});
    Load();
    Catalogue.AttachFormats({});
    EXPECT_EQ(Reported, (std::vector<TReported>{{"Error loading profiles", "CLM_LoadProfiles"}}));
    ASSERT_EQ(Catalogue.Profiles.size(), 1u);
    EXPECT_EQ(Titles(0), (Strings{"A", "B"}));
    EXPECT_NE(Catalogue.FindFormat(Catalogue.Current), nullptr);
}

TEST_F(CatalogueTest, MissingFormatsFileReachesTheCaller)
{
    WriteProfiles("<category id=\"a\" title=\"A\" icon=\"a\"/>\n");
    Catalogue.LoadProfiles((Folder / "Profiles.dat").string());
    EXPECT_THROW(Catalogue.LoadFormats((Folder / "Formats.dat").string()), EFOpenError);
    EXPECT_EQ(Catalogue.Profiles.size(), 2u);
    EXPECT_TRUE(Catalogue.LoadedFormats.empty());
    EXPECT_FALSE(Catalogue.HasFormats());
}

TEST_F(CatalogueTest, CurrentChoiceAlwaysNamesAFormat)
{
    WriteFile("Icons/a.png", "");
    // The first category has no format, and the remembered choice points past the second one's formats.
    WriteProfiles("<category id=\"empty\" title=\"E\" icon=\"a\"/>\n<category id=\"b\" title=\"B\" icon=\"a\"/>\n");
    WriteFormats({Format("b", "B1"), Format("b", "B2")});
    Catalogue.Recent = {1, 5};
    Load();
    Catalogue.AttachFormats({});
    EXPECT_TRUE(Shown.empty());
    EXPECT_EQ(Catalogue.Current, (TFormatIndex{1, 0}));
    EXPECT_EQ(Catalogue.FindFormat({0, 0}), nullptr);
    EXPECT_EQ(Catalogue.FindFormat({1, 2}), nullptr);
    EXPECT_EQ(Catalogue.FindFormat({-1, 0}), nullptr);
}

TEST_F(CatalogueTest, ShowingTheRecentChoiceWithoutIconsIsReported)
{
    WriteProfiles("<category id=\"b\" title=\"B\" icon=\"a\"/>\n");
    WriteFormats({Format("b", "B1"), Format("b", "B2")});
    Catalogue.Recent = {0, 1};
    Load();
    Catalogue.AttachFormats({});
    EXPECT_EQ(Reported, (std::vector<TReported>{{"Error initialising profiles", "CLM_InitProfiles"}}));
    EXPECT_EQ(Titles(0), (Strings{"B1", "B2"}));  // attached before the failure
    EXPECT_EQ(Catalogue.Current, (TFormatIndex{0, 1}));
}

}  // namespace
