#include "app/add_files_filter.h"

#include <span>

namespace {

struct TFileType {
    const char* Caption;
    const char* Patterns;
};

// "*.h.264" stands as the program has always offered it.
constexpr TFileType VideoFileTypes[] = {
    {"MOD files", "*.mod"},
    {"High-definition files", "*.mts; *.ts; *.m2ts; *.tp"},
    {"AVI files", "*.avi"},
    {"MPEG-4 files", "*.mp4; *.m4v"},
    {"MPEG files", "*.mpg; *.mpeg"},
    {"3GP files", "*.3gp; *.3g2"},
    {"Windows Media Video", "*.wmv; *.asf"},
    {"Real Media files", "*.rm; *.rmvb"},
    {"Video CD files", "*.dat"},
    {"Quick Time files", "*.mov"},
    {"Flash Video files", "*.flv; *.f4v"},
    {"Matroska files", "*.mkv"},
    {"Digital Video files", "*.dv"},
    {"NUT files", "*.nut"},
    {"Raw h.264 video files", "*.h.264"},
    {"Nullsoft Stream Video", "*.nsv"},
    {"Video Object files", "*.vob"},
};

constexpr TFileType AudioFileTypes[] = {
    {"Advanced Audio Coding", "*.aac"},
    {"Dolby-digital AC-3", "*.ac3"},
    {"Monkey's Audio", "*.ape"},
    {"Digital Theater System", "*.dts"},
    {"Free Lossless Audio", "*.flac"},
    {"Matroska Audio", "*.mka"},
    {"MPEG Audio", "*.mpa"},
    {"MP2 MPEG-1 layer 2 audio", "*.mp2"},
    {"MP3 MPEG-1 layer 3 audio", "*.mp3"},
    {"MPEG-4 Audio", "*.m4a"},
    {"Musepack", "*.mpc"},
    {"OptimFROG Audio", "*.ofr"},
    {"OGG Vorbis Audio", "*.ogg"},
    {"RealAudio files", "*.ra"},
    {"The True Audio", "*.tta"},
    {"Waveform files", "*.wav"},
    {"Windows Media Audio", "*.wma"},
};

std::string PatternsOf(std::span<const TFileType> ATypes)
{
    std::string patterns;
    for (const TFileType& type : ATypes)
        patterns += std::string(type.Patterns) + ";";
    return patterns;
}

std::string ChoicesOf(std::span<const TFileType> ATypes)
{
    std::string choices;
    for (const TFileType& type : ATypes)
        choices += std::string("|") + type.Caption + " (" + type.Patterns + ")|" + type.Patterns + ";";
    return choices;
}

}  // namespace

std::string OpenDialogFilter()
{
    return "All Supported Formats|" + PatternsOf(VideoFileTypes) + PatternsOf(AudioFileTypes) + "|Video Formats|" +
           PatternsOf(VideoFileTypes) + "|Audio Formats|" + PatternsOf(AudioFileTypes) + ChoicesOf(VideoFileTypes) +
           ChoicesOf(AudioFileTypes);
}
