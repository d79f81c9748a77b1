#pragma once
// "Sending the error report...": shown while the report's mail is on its way on a worker thread, with "Cancel".
// It closes by itself when the sending has finished; "Cancel" or the close box stop the sending.
#include <functional>

#include "platform/gui/forms.h"

class TspCorvalis;
class TspSkinButton;
class TspSkinData;
class TTimer;

class TSendingReportForm : public TForm {
public:
    // ASkinData skins the frame and the controls; nullptr gives the plain look. The skin must outlive the form.
    TSendingReportForm(TComponent* AOwner, TspSkinData* ASkinData);

    // TErrorReporter::WaitForSending: shows the form modally until AFinished answers true; a cancel by the user
    // calls ACancel.
    void Wait(const std::function<bool()>& AFinished, const std::function<void()>& ACancel);

    TspCorvalis* spCorvalis1 = nullptr;
    TspSkinButton* CancelButton = nullptr;
    TTimer* FinishedTimer = nullptr;  // looks at the sending every 100 ms

private:
    std::function<bool()> FFinished;
};
