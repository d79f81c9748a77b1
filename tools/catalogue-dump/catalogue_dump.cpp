// Prints a preset catalogue as the converter reads it: every profile with its formats and their values, and any
// failure the reading reports.
//   catalogue-dump [folder]   (default: the "mp4-converter-profiles" folder beside the converter)
#include <iostream>

#include "app/catalogue.h"
#include "app/startup_loading.h"
#include "platform/rtl/environment.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"

int main(int argc, char** argv)
{
    const std::string folder = IncludeTrailingPathDelimiter(
        argc > 1 ? std::string(argv[1]) : GetExecutableFolder() + "../../app/mp4-converter-profiles");
    TCatalogue catalogue;
    TSettings settings;
    TStartupLoading loading(catalogue, settings);
    loading.OnReportError = [](const std::string& AText, const std::string& AMark) {
        std::cout << "REPORTED " << AMark << ": " << AText << "\n";
    };
    try {
        loading.ReadShippedCatalogue(folder);
    } catch (const Exception& e) {
        std::cout << "FAILED " << e.Message() << "\n";
        return 1;
    }
    std::cout << "chooser height " << catalogue.ChooserHeight << ", " << catalogue.ProfileIcons.size() << " icons, "
              << catalogue.LoadedFormats.size() << " formats\n";
    for (size_t p = 0; p < catalogue.Profiles.size(); ++p) {
        const TProfile& profile = catalogue.Profiles[p];
        const TProfileIcon* icon = catalogue.IconOfProfile(static_cast<int>(p));
        std::cout << "\n[" << p << "] " << profile.Title << "  (id " << profile.ID << ", icon "
                  << (icon ? icon->ID : "-") << ")\n";
        for (size_t f = 0; f < profile.Formats.size(); ++f) {
            const TFormat& x = profile.Formats[f];
            std::cout << "  [" << f << "] " << x.Title << "  " << x.FormatExt << "  ";
            if (x.IsAudioOnly())
                std::cout << "audio only";
            else
                std::cout << x.VideoCodecName << " " << x.Width << "x" << x.Height << " " << x.FrameRate << "/1000 fps "
                          << x.VideoBitRate << " bit/s";
            std::cout << ", " << x.AudioCodecName << " " << x.SampleRate << " Hz " << x.Channel << " ch "
                      << (x.AudioBitRate.empty() ? "-" : x.AudioBitRate) << " bit/s";
            if (!x.ExtraParam.empty())
                std::cout << "  [" << x.ExtraParam << "]";
            std::cout << "\n";
        }
    }
    return 0;
}
