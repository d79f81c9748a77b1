#pragma once
// The "Events Log" dialog: a read-only memo with both scroll bars that follows the run's events log, and "OK".
// Created once at start-up, shown modally from the Tools menu.
#include "platform/gui/forms.h"

class TEventsLog;
class TspCorvalis;
class TspSkinButton;
class TspSkinData;
class TspSkinMemo;
class TspSkinScrollBar;

class TLogForm : public TForm {
public:
    // Builds the form and its controls in code. ASkinData skins the frame and every control; nullptr gives the
    // plain look. The skin must outlive the form.
    TLogForm(TComponent* AOwner, TspSkinData* ASkinData);
    ~TLogForm() override;

    // The memo takes the log's lines so far and every line added later, until another log is followed or the
    // form goes. The log must outlive the form or be followed by no one (Follow(nullptr)).
    void Follow(TEventsLog* ALog);

    void OKButtonClick(TObject* Sender);

    TspCorvalis* spCorvalis1 = nullptr;
    TspSkinMemo* mmoLog = nullptr;
    TspSkinScrollBar* VScrollBar = nullptr;
    TspSkinScrollBar* HScrollBar = nullptr;
    TspSkinButton* OKButton = nullptr;

private:
    TEventsLog* FLog = nullptr;
};
