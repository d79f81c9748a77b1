#pragma once
// The "File Information" dialog: the selected job's file name and length and the properties of its last video
// and last audio stream, as value labels beside fixed captions. Created once at start-up; the main window's
// command probes the file (LoadFileInformation) and shows it modally.
#include <string>

#include "app/error_report_event.h"
#include "app/file_info_texts.h"
#include "platform/gui/forms.h"

class TCustomDecoder;
class TEventsLog;
class TspCorvalis;
class TspSkinButton;
class TspSkinData;
class TspSkinGroupBox;
class TspSkinLabel;

class TFileInfoForm : public TForm {
public:
    // Builds the form and its controls in code. ASkinData skins the frame and every control; nullptr gives the
    // plain look. The skin must outlive the form.
    TFileInfoForm(TComponent* AOwner, TspSkinData* ASkinData);

    // Every value label takes its text; an empty text (a kind of stream the file lacks) empties its label.
    void ShowTexts(const TFileInfoTexts& ATexts);

    void spSkinButton1Click(TObject* Sender);

    TspCorvalis* spCorvalis1 = nullptr;
    TspSkinGroupBox* VideoGroup = nullptr;
    TspSkinGroupBox* AudioGroup = nullptr;
    TspSkinLabel* spSkinLabel1 = nullptr;  // resolution
    TspSkinLabel* spSkinLabel2 = nullptr;  // file name
    TspSkinLabel* spSkinLabel3 = nullptr;  // media length
    TspSkinLabel* spSkinLabel4 = nullptr;  // video bit rate
    TspSkinLabel* spSkinLabel5 = nullptr;  // frame rate
    TspSkinLabel* spSkinLabel6 = nullptr;  // sample rate
    TspSkinLabel* spSkinLabel7 = nullptr;  // channels
    TspSkinLabel* spSkinLabel8 = nullptr;  // audio bit rate
    TspSkinButton* spSkinButton1 = nullptr;

protected:
    // Every show puts the client height back to 370.
    void DoShow() override;
};

// Probes ASource with the decoder and fills ATexts: the file, then every stream in order (a later stream of a
// kind overwrites an earlier one; a kind the file lacks keeps ATexts' earlier values). A file that does not load
// is logged and reported ("CLM_ProbeLoadFile") and answers false: the dialog is not shown. A failure while
// filling the streams is reported ("CLM_WriteFileInfo") and still answers true, with what was filled. The file
// stays loaded in the decoder.
bool LoadFileInformation(TCustomDecoder& ADecoder, const std::string& ASource, TFileInfoTexts& ATexts,
                         TEventsLog& AEventsLog, const TReportErrorEvent& AReport);
