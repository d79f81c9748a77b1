#include "app/ui/about_form.h"

#include "app/ui/dialog_parts.h"
#include "platform/gui/graphics.h"
#include "skin/controls/link_label.h"
#include "skin/controls/panel.h"
#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/controls/text_label.h"
#include "skin/forms/skin_form.h"

namespace {

constexpr Integer kClientWidth = 334;
constexpr Integer kClientHeight = 260;

// The brand name and "." complete the last line.
const char* const kNotice[] = {
    "This program is free to use and comes with",
    "no warranty. It converts media through the",
    "FFmpeg and SDL libraries, used under their licences.",
    "Copyright (c) 2026 ",
};
constexpr const char* kBrandName = "Brindlewave";
constexpr const char* kProductName = "Quennary";

}  // namespace

TAboutForm::TAboutForm(TComponent* AOwner, TspSkinData* ASkinData) : TForm(AOwner)
{
    SetName("AboutForm");
    spCorvalis1 = MakeSkinnedDialog(this, ASkinData, "About", kClientWidth, kClientHeight);

    LogoPanel = PlaceControl<TspSkinPanel>(this, this, ASkinData, "LogoPanel", 0, 0, kClientWidth, 64);
    LogoPanel->SetCaption("");
    lblProgramName = PlaceText(this, LogoPanel, ASkinData, kProductName, 20, 14);
    lblProgramName->SetName("lblProgramName");
    // The product name stands out on the logo panel in whatever font the skin gives labels.
    lblProgramName->SetUseSkinFont(false);
    lblProgramName->Font()->SetHeight(28);
    lblProgramName->Font()->SetStyle({fsBold});

    lblversion = PlaceText(this, this, ASkinData, kAboutVersion, 20, 76);
    lblversion->SetName("lblversion");

    lblWarning = PlaceControl<TspSkinTextLabel>(this, this, ASkinData, "lblWarning", 20, 100, 300, 70);
    for (const char* line : kNotice) lblWarning->Lines()->Add(line);
    const Integer last = lblWarning->Lines()->Count() - 1;
    lblWarning->Lines()->SetStrings(last, lblWarning->Lines()->Strings(last) + kBrandName + ".");

    PlaceText(this, this, ASkinData, "Home page:", 20, 182);
    PlaceText(this, this, ASkinData, "Support:", 20, 202);
    lblHomePage = PlaceControl<TspSkinLinkLabel>(this, this, ASkinData, "lblHomePage", 100, 182, 0, 0);
    lblHomePage->SetAutoSize(true);
    lblHomePage->SetCaption(kHomePageAddress);
    lblHomePage->SetURL(kHomePageAddress);
    lblSupport = PlaceControl<TspSkinLinkLabel>(this, this, ASkinData, "lblSupport", 100, 202, 0, 0);
    lblSupport->SetAutoSize(true);
    lblSupport->SetCaption(kSupportAddress);
    lblSupport->SetURL(std::string("mailto:") + kSupportAddress);

    PreviewButton = PlaceButton(this, ASkinData, "PreviewButton", "OK", (kClientWidth - 75) / 2, 226);
    PreviewButton->SetDefault(true);
    PreviewButton->SetCancel(true);
    PreviewButton->OnClick = [this](TObject* ASender) { PreviewButtonClick(ASender); };
}

void TAboutForm::SetOpenURL(std::function<bool(const std::string&)> AOpenURL)
{
    lblHomePage->OpenURL = AOpenURL;
    lblSupport->OpenURL = std::move(AOpenURL);
}

void TAboutForm::PreviewButtonClick(TObject* /*Sender*/) { Close(); }

void TAboutForm::DoShow()
{
    SetClientHeight(kClientHeight);
    TForm::DoShow();
}
