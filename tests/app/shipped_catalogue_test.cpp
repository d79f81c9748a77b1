// The catalogue the build ships beside the executable: it reads without a fault and its values agree with its
// own value lists. That every format converts is tried through the converter itself (conversion_road_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/catalogue.h"
#include "app/startup_loading.h"
#include "app/value_lists.h"
#include "platform/rtl/sysutils.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCatalogue = QUENNARY_CATALOGUE_DIR;

TCatalogue LoadShipped(std::vector<std::string>& AReports)
{
    TCatalogue catalogue;
    TSettings settings;
    TStartupLoading loading(catalogue, settings);
    loading.OnReportError = [&](const std::string& AText, const std::string& AMark) {
        AReports.push_back(AMark + ": " + AText);
    };
    loading.ReadShippedCatalogue(kCatalogue.string());
    return catalogue;
}

TEST(ShippedCatalogue, ReadsCleanlyAndAgreesWithItsValueLists)
{
    std::vector<std::string> reports;
    TCatalogue catalogue = LoadShipped(reports);
    EXPECT_EQ(reports, std::vector<std::string>{});
    EXPECT_GT(catalogue.ChooserHeight, 0);
    ASSERT_GT(catalogue.LoadedFormats.size(), 20u);
    EXPECT_EQ(catalogue.Profiles.back().Formats.size(), catalogue.LoadedFormats.size());
    for (size_t p = 0; p < catalogue.Profiles.size(); ++p) {
        const TProfile& profile = catalogue.Profiles[p];
        EXPECT_FALSE(profile.Formats.empty()) << profile.Title;
        ASSERT_NE(catalogue.IconOfProfile(static_cast<int>(p)), nullptr);
        EXPECT_TRUE(SameText(catalogue.IconOfProfile(static_cast<int>(p))->ID, profile.Icon)) << profile.Title;
    }
    for (const TFormat& f : catalogue.LoadedFormats) {
        const auto has_icon = std::any_of(catalogue.ProfileIcons.begin(), catalogue.ProfileIcons.end(),
                                          [&](const TProfileIcon& AIcon) { return SameText(AIcon.ID, f.Icon); });
        EXPECT_TRUE(has_icon) << f.Title;
        EXPECT_EQ(f.FormatExt[0], '.') << f.Title;
        EXPECT_NE(IndexOfValue(f.AudioCodecs, f.AudioCodecName), -1) << f.Title;
        EXPECT_NE(IndexOfValue(f.SampleRates, f.SampleRate), -1) << f.Title;
        EXPECT_NE(IndexOfValue(f.Channels, f.Channel), -1) << f.Title;
        if (!f.AudioBitRate.empty()) {
            EXPECT_NE(IndexOfValue(f.AudioBitRates, f.AudioBitRate), -1) << f.Title;
        }
        if (f.IsAudioOnly())
            continue;
        EXPECT_NE(IndexOfValue(f.VideoCodecs, f.VideoCodecName), -1) << f.Title;
        EXPECT_NE(IndexOfValue(f.FrameRates, f.FrameRate), -1) << f.Title;
        EXPECT_NE(IndexOfValue(f.VideoBitRates, f.VideoBitRate), -1) << f.Title;
        const auto resolutions = SplitValueList(f.Resolutions, false);
        EXPECT_NE(std::find(resolutions.begin(), resolutions.end(), f.Width + "*" + f.Height), resolutions.end())
            << f.Title;
        for (const auto& resolution : resolutions)
            EXPECT_TRUE(IsValidResolution(std::stoi(ResolutionWidth(resolution)), std::stoi(ResolutionHeight(resolution))))
                << f.Title << " " << resolution;
    }
}

}  // namespace
