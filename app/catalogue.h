#pragma once
// The preset catalogue: profiles and their formats read once at start-up from the folder
// "mp4-converter-profiles" ("Profiles.dat", "Formats.dat" with every byte complemented, "Icons/*.png"), and the
// current, recent and last-edited choices. Reading never stops the program: failures go to the error report
// and what was read so far stays, except a missing "Formats.dat", which the caller handles.
#include <string>
#include <vector>

#include "app/catalogue_records.h"
#include "app/error_report_event.h"

// The values of the last edited format as the settings remember them; an absent value is empty.
struct TRememberedFormat {
    std::string VideoCodecName, VideoBitRate, FrameRate, Width, Height;
    std::string AudioCodecName, AudioBitRate, SampleRate, Channel;
};

inline constexpr const char* kAllProfilesTitle = "All Profiles";
inline constexpr const char* kAllProfilesID = "0";

class TCatalogue {
public:
    std::vector<TProfileIcon> ProfileIcons;
    std::vector<TProfile> Profiles;
    std::vector<TFormat> LoadedFormats;  // only until the formats are attached
    std::vector<bool> FormatTaken;
    int ChooserHeight = 0;
    TFormatIndex Current{0, 0};
    TFormatIndex Recent{0, 0};
    TFormatIndex LastEdited{-1, -1};

    TReportErrorEvent OnReportError;
    // The profile field shows this choice: the format's title and its profile's icon.
    std::function<void(TFormatIndex)> OnShowChoice;

    // Every "*.png" of the folder, in the order the file system lists them.
    void LoadIcons(const std::string& AIconsFolder);
    // Reads the profiles, then appends "All Profiles"; a failure is reported and the profiles read so far stay.
    void LoadProfiles(const std::string& AFileName);
    // Parses the format lines; a damaged line is reported and the formats before it (and the part of it read)
    // stay. A missing or unreadable file raises EFOpenError / EReadError to the caller.
    void LoadFormats(const std::string& AFileName);
    // Copies every format into the first profile of its category and into every profile with ID "0", restores
    // the recent choice and gives the last edited format its remembered values.
    void AttachFormats(const TRememberedFormat& ARemembered);

    // The format at a pair, or nullptr when the pair addresses none.
    TFormat* FindFormat(TFormatIndex AIndex);
    const TFormat* FindFormat(TFormatIndex AIndex) const;
    bool HasFormats() const;
    // The icon of a profile: the first whose ID equals the profile's icon name ignoring case, else the first
    // icon; nullptr without icons or for a bad profile index.
    const TProfileIcon* IconOfProfile(int AProfile) const;
    // Tells the profile field to show a choice. Raises EListError when there is no icon to show with it.
    void ShowChoice(TFormatIndex AIndex);

    static std::vector<std::string> DecryptToStringList(const std::string& AFileName);
    // Raises EConvertError for a value whose closing quote is missing, after storing the values before it.
    static void ParseFormatLine(const std::string& ALine, TFormat& AFormat);

private:
    void ReadProfileLines(const std::vector<std::string>& ALines);
    void AttachTo(int AProfile, const TRememberedFormat& ARemembered);
    void EnsureCurrentFormat();
    void Report(const std::string& AText, const std::string& AMark);
};
