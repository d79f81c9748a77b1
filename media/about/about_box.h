#pragma once
// The about box of the media components: the component's name and version, the product and notice lines and a
// link to the maker's page. Only reached from the component's About entry, never by the running program.
#include <functional>
#include <string>

#include "platform/gui/forms.h"

class TIcon;
class TImage;
class TLabel;
class TFFBaseComponent;

class TfrmAbout : public TForm {
public:
    explicit TfrmAbout(TComponent* AOwner);

    // Caption, name line and, with an icon, the framed 48 x 48 tile; ALanguage picks the maker's lines ("de" for
    // German, anything else English).
    void Setup(const std::string& AName, const std::string& AVersion, const TIcon* AIcon, const std::string& ALanguage);
    // The address Label4 opens: the maker's page with the tag of the link's caption.
    std::string LinkAddress();

    // Opens an address; xdg-open unless replaced.
    std::function<bool(const std::string& AAddress)> OpenLink;

    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TCustomControl* btnOK = nullptr;

private:
    void PaintIconTile(const TIcon& AIcon);
    void OpenMakersPage();
};

// The language part of the user's locale ("de" of "de_DE.UTF-8"); empty when none is set.
std::string UserLanguage();

// Builds a TfrmAbout, shows it modally and frees it. AIcon may be nullptr.
void ShowAboutBox(const std::string& AName, const std::string& AVersion, const TIcon* AIcon);
// The name the about box shows for a component: its class name without the first letter ("FFDecoder").
std::string AboutName(const TFFBaseComponent& AComponent);
// The about box of a component, with its name and Version.
void ShowAbout(const TFFBaseComponent& AComponent);
