#include "media/about/about_box.h"

#include <cxxabi.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "media/base/base_component.h"
#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/icon.h"
#include "platform/rtl/process.h"
#include "platform/rtl/registry.h"

using namespace win;

namespace {

constexpr const char MakersPage[] = "https://quennary.example.org";
constexpr const char LinkTagWord[] = "about";

struct TMakersLines {
    const char* Product;
    const char* Notice;
};

constexpr TMakersLines EnglishLines{"Quennary media components", "(C) 2026 the Quennary developers"};
constexpr TMakersLines GermanLines{"Quennary-Medienkomponenten", "(C) 2026 die Quennary-Entwickler"};

// The dialog's one button: a click, Enter or Escape closes the dialog (it is its cancel button).
class TCloseButton : public TCustomControl {
public:
    explicit TCloseButton(TComponent* AOwner) : TCustomControl(AOwner)
    {
        SetTabStop(true);
        SetColor(clBtnFace);
    }
    void Click() override
    {
        TCustomControl::Click();
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(mrCancel);
    }
    void WndProc(TMessage& AMessage) override
    {
        if (AMessage.Msg == CM_DIALOGKEY && (AMessage.WParam == VK_ESCAPE || AMessage.WParam == VK_RETURN)) {
            Click();
            AMessage.Result = 1;
            return;
        }
        TCustomControl::WndProc(AMessage);
    }

protected:
    void Paint() override
    {
        TRect area = ClientRect();
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetColor(clBtnFace);
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->Rectangle(area);
        SetBkMode(canvas->Handle(), TRANSPARENT);
        SetTextColor(canvas->Handle(), ColorRefOf(clBtnText));
        DrawText(canvas->Handle(), Caption(), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
};

TLabel* NewLabel(TfrmAbout* AForm, int ATop)
{
    auto* label = new TLabel(AForm);
    label->SetBounds(56, ATop, 220, 13);
    label->SetParent(AForm);
    return label;
}

std::string Lower(std::string AText)
{
    std::transform(AText.begin(), AText.end(), AText.begin(), [](unsigned char c) { return std::tolower(c); });
    return AText;
}

// The program registered for web pages, as "program" "%1" under the class key: its first quoted part.
std::string RegisteredBrowser()
{
    TRegistry registry;
    registry.SetRootKey(HKEY_CLASSES_ROOT);
    if (!registry.OpenKeyReadOnly("htmlfile\\shell\\open\\command")) return {};
    const std::string command = registry.ReadString("");
    const size_t open = command.find('"');
    const size_t close = open == std::string::npos ? open : command.find('"', open + 1);
    return close == std::string::npos ? std::string() : command.substr(open + 1, close - open - 1);
}

}  // namespace

TfrmAbout::TfrmAbout(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    SetBorderIcons({biSystemMenu});
    SetPosition(poScreenCenter);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    SetClientSize(291, 160);

    Image1 = new TImage(this);
    Image1->SetBounds(14, 16, 24, 24);
    Image1->SetTransparent(true);
    Image1->SetParent(this);
    Label1 = NewLabel(this, 16);
    Label2 = NewLabel(this, 41);
    Label3 = NewLabel(this, 67);
    Label4 = NewLabel(this, 93);
    Label4->Font()->SetColor(clBlue);
    Label4->SetCursor(crHandPoint);
    Label4->OnMouseEnter = [this](TObject*) { Label4->Font()->SetColor(clRed); };
    Label4->OnMouseLeave = [this](TObject*) { Label4->Font()->SetColor(clBlue); };
    Label4->OnClick = [this](TObject*) { OpenMakersPage(); };

    btnOK = new TCloseButton(this);
    btnOK->SetCaption("&Close");
    btnOK->SetBounds(198, 120, 75, 25);
    btnOK->SetParent(this);

    OpenLink = [](const std::string& AAddress) {
        const std::string browser = RegisteredBrowser();
        if (!browser.empty()) return StartProgram({browser, AAddress}, false).Started;
        return OpenWithDefaultProgram(AAddress);
    };
}

void TfrmAbout::Setup(const std::string& AName, const std::string& AVersion, const TIcon* AIcon,
                      const std::string& ALanguage)
{
    SetCaption("About " + AName);
    Label1->SetCaption(AVersion.empty() ? AName : AName + " - Version " + AVersion);
    const TMakersLines& lines = ALanguage == "de" ? GermanLines : EnglishLines;
    Label2->SetCaption(lines.Product);
    Label3->SetCaption(lines.Notice);
    Label4->SetCaption(MakersPage);
    if (AIcon != nullptr && !AIcon->Empty()) PaintIconTile(*AIcon);
}

void TfrmAbout::PaintIconTile(const TIcon& AIcon)
{
    // 48 x 48, centred on the old 24 x 24 place; the labels make room.
    const TRect old = Image1->BoundsRect();
    Image1->SetBounds(old.Left + (old.Width() - 48) / 2, old.Top + (old.Height() - 48) / 2, 48, 48);
    for (TLabel* label : {Label1, Label2, Label3, Label4}) label->SetLeft(label->Left() + 8);

    TBitmap* tile = Image1->Picture()->Bitmap();
    tile->SetSize(48, 48);
    TCanvas* canvas = tile->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->Pen()->SetColor(RGB(241, 239, 226));
    canvas->Rectangle(Rect(0, 0, 48, 48));
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(RGB(113, 111, 100));
    canvas->Rectangle(Rect(1, 1, 47, 47));
    canvas->Draw((48 - AIcon.Width()) / 2, (48 - AIcon.Height()) / 2, const_cast<TIcon*>(&AIcon));
}

std::string TfrmAbout::LinkAddress()
{
    std::string tag = Lower(std::string(LinkTagWord) + " " + Label4->Caption());
    std::replace(tag.begin(), tag.end(), ' ', '_');
    return std::string(MakersPage) + "/?from=" + PercentEncode(tag);
}

void TfrmAbout::OpenMakersPage()
{
    if (OpenLink) OpenLink(LinkAddress());
}

std::string UserLanguage()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == 0) continue;
        const std::string locale = value;
        return Lower(locale.substr(0, locale.find_first_of("_.@")));
    }
    return {};
}

void ShowAboutBox(const std::string& AName, const std::string& AVersion, const TIcon* AIcon)
{
    auto box = std::make_unique<TfrmAbout>(nullptr);
    box->Setup(AName, AVersion, AIcon, UserLanguage());
    box->ShowModal();
}

std::string AboutName(const TFFBaseComponent& AComponent)
{
    const char* mangled = typeid(AComponent).name();
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                       &std::free);
    std::string name = status == 0 && plain ? plain.get() : mangled;
    // The class's own name, without the namespaces or functions it is declared in.
    if (const size_t scope = name.rfind("::"); scope != std::string::npos) name.erase(0, scope + 2);
    return name.size() > 1 ? name.substr(1) : name;
}

void ShowAbout(const TFFBaseComponent& AComponent) { ShowAboutBox(AboutName(AComponent), AComponent.Version(), nullptr); }
