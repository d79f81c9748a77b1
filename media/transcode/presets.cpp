#include "media/transcode/presets.h"

#include "platform/rtl/sysutils.h"

// The encoder of this library generation refuses the old x264 keys (flags2, directpred, cqp, the old partition
// syntax), so each row says the same with the encoder's own options: speed rows pick its preset, first-pass rows
// add its fast first pass, the baseline and main rows its profile, the lossless rows a quantiser of 0.
const std::vector<TBuiltInPreset>& BuiltInPresets()
{
    static const std::vector<TBuiltInPreset> presets = {
        {"libx264-baseline", "coder=0\nbf=0\nprofile=baseline\nwpredp=0\n"},
        {"libx264-default", "preset=medium\n"},
        {"libx264-fast", "preset=fast\n"},
        {"libx264-fast_firstpass", "preset=fast\nfastfirstpass=1\n"},
        {"libx264-faster", "preset=faster\n"},
        {"libx264-faster_firstpass", "preset=faster\nfastfirstpass=1\n"},
        {"libx264-fastfirstpass", "preset=medium\nfastfirstpass=1\n"},
        {"libx264-hq", "preset=slow\n"},
        {"libx264-ipod320", "coder=0\nbf=0\nprofile=baseline\nlevel=13\nmaxrate=768000\nbufsize=3000000\nwpredp=0\n"},
        {"libx264-ipod640",
         "coder=0\nbf=0\nrefs=1\nprofile=baseline\nlevel=30\nmaxrate=10000000\nbufsize=10000000\nwpredp=0\n"},
        {"libx264-lossless_fast", "qp=0\npreset=fast\n"},
        {"libx264-lossless_max", "qp=0\npreset=placebo\n"},
        {"libx264-lossless_medium", "qp=0\npreset=medium\n"},
        {"libx264-lossless_slow", "qp=0\npreset=slow\n"},
        {"libx264-lossless_slower", "qp=0\npreset=slower\n"},
        {"libx264-lossless_ultrafast", "qp=0\npreset=ultrafast\n"},
        {"libx264-main", "profile=main\n"},
        {"libx264-max", "preset=placebo\n"},
        {"libx264-medium", "preset=medium\n"},
        {"libx264-medium_firstpass", "preset=medium\nfastfirstpass=1\n"},
        {"libx264-normal", "preset=medium\n"},
        {"libx264-placebo", "preset=placebo\n"},
        {"libx264-placebo_firstpass", "preset=placebo\nfastfirstpass=1\n"},
        {"libx264-slow", "preset=slow\n"},
        {"libx264-slow_firstpass", "preset=slow\nfastfirstpass=1\n"},
        {"libx264-slower", "preset=slower\n"},
        {"libx264-slower_firstpass", "preset=slower\nfastfirstpass=1\n"},
        {"libx264-slowfirstpass", "preset=medium\nfastfirstpass=0\n"},
        {"libx264-superfast", "preset=superfast\n"},
        {"libx264-superfast_firstpass", "preset=superfast\nfastfirstpass=1\n"},
        {"libx264-ultrafast", "preset=ultrafast\n"},
        {"libx264-ultrafast_firstpass", "preset=ultrafast\nfastfirstpass=1\n"},
        {"libx264-veryfast", "preset=veryfast\n"},
        {"libx264-veryfast_firstpass", "preset=veryfast\nfastfirstpass=1\n"},
        {"libx264-veryslow", "preset=veryslow\n"},
        {"libx264-veryslow_firstpass", "preset=veryslow\nfastfirstpass=1\n"},
    };
    return presets;
}

bool FindBuiltInPreset(const std::string& AName, std::string& AText, std::string& ALabel)
{
    for (const TBuiltInPreset& preset : BuiltInPresets())
        if (SameText(preset.Name, AName)) {
            AText = preset.Text;
            ALabel = preset.Name;
            return true;
        }
    return false;
}
