#include "app/ui/log_form.h"

#include "app/events_log.h"
#include "app/ui/dialog_parts.h"
#include "skin/controls/push_button.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_memo.h"
#include "skin/forms/skin_form.h"

namespace {
constexpr Integer kClientWidth = 460;
constexpr Integer kClientHeight = 300;
constexpr Integer kBar = 19;
constexpr Integer kMargin = 8;
}  // namespace

TLogForm::TLogForm(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("LogForm");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "Events Log", kClientWidth, kClientHeight);

    const Integer memoWidth = kClientWidth - 2 * kMargin - kBar;
    const Integer memoHeight = kClientHeight - 2 * kMargin - kBar - 35;
    mmoLog = PlaceControl<TspSkinMemo>(this, this, ASkinData, "mmoLog", kMargin, kMargin, memoWidth, memoHeight);
    mmoLog->SetReadOnly(true);
    // Long lines scroll sideways instead of wrapping.
    mmoLog->SetWordWrap(false);
    VScrollBar = PlaceControl<TspSkinScrollBar>(this, this, nullptr, "VScrollBar", kMargin + memoWidth, kMargin,
                                                kBar, memoHeight);
    VScrollBar->SetKind(sbVertical);
    VScrollBar->SetSkinDataName("vscrollbar");
    HScrollBar = PlaceControl<TspSkinScrollBar>(this, this, nullptr, "HScrollBar", kMargin, kMargin + memoHeight,
                                                memoWidth, kBar);
    HScrollBar->SetSkinDataName("hscrollbar");
    if (ASkinData) {
        VScrollBar->SetSkinData(ASkinData);
        HScrollBar->SetSkinData(ASkinData);
    }
    mmoLog->SetVScrollBar(VScrollBar);
    mmoLog->SetHScrollBar(HScrollBar);

    OKButton = PlaceButton(this, ASkinData, "OKButton", "OK", (kClientWidth - 75) / 2, kClientHeight - 33);
    OKButton->SetDefault(true);
    OKButton->SetCancel(true);
    OKButton->OnClick = [this](TObject* ASender) { OKButtonClick(ASender); };
}

TLogForm::~TLogForm()
{
    if (FLog) FLog->OnLineAdded = nullptr;
}

void TLogForm::Follow(TEventsLog* ALog)
{
    if (FLog) FLog->OnLineAdded = nullptr;
    FLog = ALog;
    mmoLog->Lines()->Clear();
    if (!FLog) return;
    for (const std::string& line : FLog->Lines()) mmoLog->Lines()->Add(line);
    FLog->OnLineAdded = [this](const std::string& ALine) {
        mmoLog->Lines()->Add(ALine);
        mmoLog->UpDateScrollRange();
    };
    mmoLog->UpDateScrollRange();
}

void TLogForm::OKButtonClick(TObject* /*Sender*/) { Close(); }
