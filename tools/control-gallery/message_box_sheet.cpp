#include "tools/control-gallery/message_box_sheet.h"

#include <memory>
#include <vector>

#include "platform/gui/application.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/message_box.h"
#include "tools/demo-screen/demo_screen.h"

namespace {

struct TBoxShot {
    const char* File;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    bool ShowAgain;
    const char* Text;
};

// The texts the converter itself shows, and the overwrite question of its file dialog.
const TBoxShot kShots[] = {
    {"warning", mtWarning, {mbOK}, false, "The output folder does not exist and cannot be created."},
    {"error", mtError, {mbOK}, false, "The snapshot could not be taken.\nThe disk is full."},
    {"information", mtInformation, {mbOK}, true, "holiday.txt is not a valid media file."},
    {"confirmation", mtConfirmation, {mbYes, mbNo, mbCancel}, false, "Do you want to overwrite old file?"},
};

}  // namespace

bool WriteMessageBoxSheets(const std::string& AOut, const std::string& ASkinFolder)
{
    TDemoScreen screen(TSize{520, 260});
    auto app = std::make_unique<TApplication>(nullptr);
    app->SetTitle("Quennary");
    auto* message = new TspSkinMessage(app.get());
    TspSkinData* skin = nullptr;
    if (!ASkinFolder.empty()) {
        skin = new TspSkinData(app.get());
        skin->LoadFromFile(IncludeTrailingPathDelimiter(ASkinFolder) + "skin.ini");
    }
    std::vector<TspSkinData*> looks{nullptr};
    if (skin) looks.push_back(skin);
    bool ok = true;
    for (TspSkinData* look : looks) {
        message->SetSkinData(look);
        message->SetCtrlSkinData(look);
        for (const TBoxShot& shot : kShots) {
            message->SetShowAgainFlag(shot.ShowAgain);
            std::unique_ptr<TspMessageForm> box(
                CreateSkinMessageDialog(shot.Text, shot.Type, shot.Buttons, 20, 20, message->Settings()));
            box->Show();
            // The skinned form finishes showing on a timer of its own.
            for (int step = 0; step < 4; ++step) {
                screen.Clock().Advance(25 * 1000);
                app->ProcessMessages();
            }
            ok = screen.WriteWindow(box->Handle(), AOut + "message-box-" + shot.File + (look ? "-skin" : "-plain") +
                                                       ".png") &&
                 ok;
            box.reset();
            app->ProcessMessages();
        }
    }
    app.reset();
    headless::THeadlessBackend::ProcessMessages();
    return ok;
}
