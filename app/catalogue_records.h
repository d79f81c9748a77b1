#pragma once
// The records of the preset catalogue. A format keeps every value as the data file gives it, as text: frame rate
// in frames per second times 1000, bit rates in bit/s, value lists as "value$caption" entries joined by ",",
// resolutions as "width*height".
#include <string>
#include <vector>

struct TFormat {
    bool AreSettingsChanged = false;  // the user changed the values in the Profile Settings dialog
    std::string FormatExt;            // with its leading dot
    std::string IsAudioFormat;        // "1" for audio-only output
    std::string Icon;
    std::string Category;             // the ID of the profile it belongs to
    std::string Title;
    std::string Description;
    std::string Resolutions;
    std::string FrameRates;
    std::string VideoBitRates;
    std::string AudioBitRates;
    std::string SampleRates;
    std::string Channels;
    std::string VideoCodecs;
    std::string AudioCodecs;
    std::string VideoCodecName;
    std::string Width;
    std::string Height;
    std::string KeepOriFrameRate;
    std::string FrameRate;
    std::string VideoBitRate;
    std::string AudioCodecName;
    std::string SampleRate;
    std::string AudioBitRate;
    std::string Channel;
    std::string ExtraParam;

    bool IsAudioOnly() const;
};

struct TProfile {
    std::string Title;
    std::string ID;
    std::string Icon;
    std::vector<TFormat> Formats;
};

// A profile icon: the PNG file of the "Icons" folder it came from. The windows load the picture from it.
struct TProfileIcon {
    std::string ID;        // file name less ".png"
    std::string FileName;  // full path
};

// A format addressed by (index into the profiles, index into that profile's formats).
struct TFormatIndex {
    int Profile = 0;
    int Format = 0;
    friend bool operator==(const TFormatIndex&, const TFormatIndex&) = default;
};
