#include "app/ui/file_info_form.h"

#include <exception>
#include <utility>

#include "app/events_log.h"
#include "app/ui/dialog_parts.h"
#include "media/decode/custom_decoder.h"
#include "skin/controls/group_box.h"
#include "skin/controls/label_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr Integer kClientWidth = 338;
constexpr Integer kClientHeight = 370;
constexpr Integer kValueLeft = 110;
constexpr Integer kValueWidth = 212;
constexpr Integer kRowHeight = 22;
constexpr Integer kGroupLeft = 10;
constexpr Integer kGroupTop[] = {84, 214};
constexpr Integer kGroupHeight = 118;

}  // namespace

TFileInfoForm::TFileInfoForm(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("FileInfoForm");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "File Information", kClientWidth, kClientHeight);

    auto value = [&](TWinControl* AParent, const char* AName, Integer ALeft, Integer ATop) {
        auto* label = PlaceControl<TspSkinLabel>(this, AParent, ASkinData, AName, ALeft, ATop, kValueWidth,
                                                 kRowHeight);
        label->SetCaption("");
        label->SetEllipsType(spetEllips);
        return label;
    };
    // One row: the caption, then its value label; rows are 28 apart.
    auto row = [&](TWinControl* AParent, const char* ACaption, const char* AName, Integer ALeft, Integer ATop) {
        PlaceText(this, AParent, ASkinData, ACaption, ALeft, ATop + 4);
        return value(AParent, AName, AParent == this ? kValueLeft : kValueLeft - kGroupLeft, ATop);
    };

    spSkinLabel2 = row(this, "File name:", "spSkinLabel2", 16, 16);
    spSkinLabel3 = row(this, "Media Length:", "spSkinLabel3", 16, 44);

    auto group = [&](const char* AName, const char* ACaption, Integer ATop) {
        auto* box = PlaceControl<TspSkinGroupBox>(this, this, ASkinData, AName, kGroupLeft, ATop, kClientWidth - 2 * kGroupLeft,
                                                  kGroupHeight);
        box->SetCaption(ACaption);
        return box;
    };
    VideoGroup = group("VideoGroup", "Video", kGroupTop[0]);
    spSkinLabel5 = row(VideoGroup, "Frame Rate:", "spSkinLabel5", 6, 26);
    spSkinLabel4 = row(VideoGroup, "Bit Rate:", "spSkinLabel4", 6, 54);
    spSkinLabel1 = row(VideoGroup, "Resolution:", "spSkinLabel1", 6, 82);
    AudioGroup = group("AudioGroup", "Audio", kGroupTop[1]);
    spSkinLabel8 = row(AudioGroup, "Bit Rate:", "spSkinLabel8", 6, 26);
    spSkinLabel7 = row(AudioGroup, "Channels:", "spSkinLabel7", 6, 54);
    spSkinLabel6 = row(AudioGroup, "Sample Rate:", "spSkinLabel6", 6, 82);

    spSkinButton1 = PlaceButton(this, ASkinData, "spSkinButton1", "OK", (kClientWidth - 75) / 2, 338);
    spSkinButton1->SetDefault(true);
    spSkinButton1->SetCancel(true);
    spSkinButton1->OnClick = [this](TObject* ASender) { spSkinButton1Click(ASender); };
}

void TFileInfoForm::ShowTexts(const TFileInfoTexts& ATexts)
{
    const std::pair<TspSkinLabel*, const std::string*> values[] = {
        {spSkinLabel2, &ATexts.FileName},   {spSkinLabel3, &ATexts.MediaLength},
        {spSkinLabel1, &ATexts.Resolution}, {spSkinLabel4, &ATexts.VideoBitRate},
        {spSkinLabel5, &ATexts.FrameRate},  {spSkinLabel6, &ATexts.SampleRate},
        {spSkinLabel7, &ATexts.Channels},   {spSkinLabel8, &ATexts.AudioBitRate},
    };
    // A kind of stream the file lacks shows its group empty, not the values of an earlier file.
    for (const auto& [label, text] : values) label->SetCaption(*text);
}

void TFileInfoForm::spSkinButton1Click(TObject* /*Sender*/) { Close(); }

void TFileInfoForm::DoShow()
{
    SetClientHeight(kClientHeight);
    TForm::DoShow();
}

bool LoadFileInformation(TCustomDecoder& ADecoder, const std::string& ASource, TFileInfoTexts& ATexts,
                         TEventsLog& AEventsLog, const TReportErrorEvent& AReport)
{
    if (!ADecoder.LoadFile(ASource)) {
        AEventsLog.AddEmpty();
        AEventsLog.Add("File load error: " + ADecoder.LastErrMsg());
        AEventsLog.AddEmpty();
        if (AReport) AReport("The information for this media is unavailable." + ADecoder.LastErrMsg(),
                             "CLM_ProbeLoadFile");
        return false;
    }
    ATexts.SetFile(ASource, ADecoder.FileStreamInfo().Duration);
    try {
        for (int index = 0; index < ADecoder.StreamCount(); ++index) {
            if (ADecoder.IsVideoStream(index)) {
                const TVideoStreamInfo video = ADecoder.GetVideoStreamInfo(index);
                ATexts.SetVideoStream(video.Width, video.Height, video.BitRate, video.FrameRate.num,
                                      video.FrameRate.den);
            } else if (ADecoder.IsAudioStream(index)) {
                const TAudioStreamInfo audio = ADecoder.GetAudioStreamInfo(index);
                ATexts.SetAudioStream(audio.SampleRate, audio.Channels, audio.BitRate);
            }
        }
    } catch (const std::exception&) {
        if (AReport) AReport("Error writing file info", "CLM_WriteFileInfo");
    }
    return true;
}
