#pragma once
// The "About" dialog: the product name on the logo panel, the version, a four-line legal notice, and two links
// (home page and support mail) that open through the desktop's default program. Created once at start-up and
// shown modally from the Help menu.
#include <functional>
#include <string>

#include "platform/gui/forms.h"

class TspCorvalis;
class TspSkinButton;
class TspSkinData;
class TspSkinLinkLabel;
class TspSkinPanel;
class TspSkinStdLabel;
class TspSkinTextLabel;

inline constexpr const char* kAboutVersion = "Version 1.0";
inline constexpr const char* kHomePageAddress = "https://brindlewave.example";
inline constexpr const char* kSupportAddress = "support@brindlewave.example";

class TAboutForm : public TForm {
public:
    // Builds the form and its controls in code. ASkinData skins the frame and every control; nullptr gives the
    // plain look. The skin must outlive the form.
    TAboutForm(TComponent* AOwner, TspSkinData* ASkinData);

    // Opens the links' addresses; the desktop's default program unless a caller replaces it.
    void SetOpenURL(std::function<bool(const std::string&)> AOpenURL);

    void PreviewButtonClick(TObject* Sender);

    TspCorvalis* spCorvalis1 = nullptr;
    TspSkinPanel* LogoPanel = nullptr;
    TspSkinStdLabel* lblProgramName = nullptr;
    TspSkinStdLabel* lblversion = nullptr;
    TspSkinTextLabel* lblWarning = nullptr;
    TspSkinStdLabel* lblHomePageCaption = nullptr;
    TspSkinStdLabel* lblSupportCaption = nullptr;
    TspSkinLinkLabel* lblHomePage = nullptr;
    TspSkinLinkLabel* lblSupport = nullptr;
    TspSkinButton* PreviewButton = nullptr;

protected:
    // Every show puts the client height back to 260, whatever the frame did to it.
    void DoShow() override;
};
