// The converter's add-files dialog with its own filter over a folder holding a file of every type it offers: each
// file-type choice shows exactly the files of its types, the summary choices all of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/add_files_filter.h"
#include "skin/controls/push_button.h"
#include "skin/dialogs/filter_combo_box.h"
#include "tests/skin/dialogs/open_dialogs/open_dialog_session.h"

namespace {

// The extensions of each choice after the three summary ones, in the dialog's order.
const std::vector<std::vector<std::string>> kVideoTypes = {
    {"mod"}, {"mts", "ts", "m2ts", "tp"}, {"avi"}, {"mp4", "m4v"}, {"mpg", "mpeg"}, {"3gp", "3g2"}, {"wmv", "asf"},
    {"rm", "rmvb"}, {"dat"}, {"mov"}, {"flv", "f4v"}, {"mkv"}, {"dv"}, {"nut"}, {"h.264"}, {"nsv"}, {"vob"},
};
const std::vector<std::vector<std::string>> kAudioTypes = {
    {"aac"}, {"ac3"}, {"ape"}, {"dts"}, {"flac"}, {"mka"}, {"mpa"}, {"mp2"}, {"mp3"}, {"m4a"}, {"mpc"}, {"ofr"},
    {"ogg"}, {"ra"}, {"tta"}, {"wav"}, {"wma"},
};

class AddDialogFilter : public opendialogstest::OpenDialogSession {};

std::vector<std::string> Samples(const std::vector<std::vector<std::string>>& ATypes)
{
    std::vector<std::string> names;
    for (const auto& type : ATypes)
        for (const std::string& ext : type) names.push_back("sample." + ext);
    return names;
}

std::vector<std::string> Sorted(std::vector<std::string> ANames)
{
    std::sort(ANames.begin(), ANames.end());
    return ANames;
}

TEST_F(AddDialogFilter, EveryChoiceShowsTheFilesOfItsTypes)
{
    const std::string folder = Root + "/types";
    std::filesystem::create_directories(folder);
    const std::vector<std::string> video = Samples(kVideoTypes), audio = Samples(kAudioTypes);
    for (const auto* names : {&video, &audio})
        for (const std::string& name : *names) WriteFile(folder + "/" + name, "media");
    // Names that only look alike: none of them is a file the converter takes.
    for (const char* other : {"notes.txt", "clipm2ts", "sample.h264", "sample.mp4.part"})
        WriteFile(folder + "/" + other, "x");

    Dialog->Filter = OpenDialogFilter();
    Dialog->InitialDir = folder;
    Dialog->MultiSelection = true;
    std::vector<std::string> captions;
    std::vector<std::vector<std::string>> shown;
    Run([&](TspOpenDlgForm* AForm) {
        for (Integer i = 0; i < AForm->FilterComboBox->Items()->Count(); ++i) {
            AForm->FilterComboBox->SetItemIndex(i);
            Pump();
            captions.push_back(AForm->FilterComboBox->Text());
            shown.push_back(Sorted(Shown(AForm)));
        }
        ClickOn(AForm->CancelButton);
    });
    ASSERT_EQ(shown.size(), 3 + kVideoTypes.size() + kAudioTypes.size());
    std::vector<std::string> all = video;
    all.insert(all.end(), audio.begin(), audio.end());
    EXPECT_EQ(captions[0], "All Supported Formats");
    EXPECT_EQ(shown[0], Sorted(all));
    EXPECT_EQ(shown[1], Sorted(video));
    EXPECT_EQ(shown[2], Sorted(audio));
    std::vector<std::vector<std::string>> types = kVideoTypes;
    types.insert(types.end(), kAudioTypes.begin(), kAudioTypes.end());
    for (size_t t = 0; t < types.size(); ++t)
        EXPECT_EQ(shown[3 + t], Sorted(Samples({types[t]}))) << captions[3 + t];
    EXPECT_EQ(captions[4], "High-definition files (*.mts; *.ts; *.m2ts; *.tp)");
}

}  // namespace
