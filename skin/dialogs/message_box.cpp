#include "skin/dialogs/message_box.h"

#include <algorithm>
#include <array>

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/icon.h"
#include "platform/gui/image_list.h"
#include "platform/rtl/exceptions.h"
#include "platform/win/icons.h"
#include "platform/win/stock_icons.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/push_button.h"
#include "skin/controls/std_label.h"
#include "skin/core/control_records.h"
#include "skin/core/interface_texts.h"
#include "skin/core/skin_data.h"
#include "skin/forms/skin_form.h"

namespace {

struct TButtonRow {
    const char* Name;
    const char* Key;
    const char* Caption;
    TModalResult Result;
};

const std::array<TButtonRow, kMsgDlgButtonCount> kButtons = {{
    {"Yes", "MSG_BTN_YES", "&Yes", 6},
    {"No", "MSG_BTN_NO", "&No", 7},
    {"OK", "MSG_BTN_OK", "OK", 1},
    {"Cancel", "MSG_BTN_CANCEL", "Cancel", 2},
    {"Abort", "MSG_BTN_ABORT", "&Abort", 3},
    {"Retry", "MSG_BTN_RETRY", "&Retry", 4},
    {"Ignore", "MSG_BTN_IGNORE", "&Ignore", 5},
    {"All", "MSG_BTN_ALL", "&All", 8},
    {"NoToAll", "MSG_BTN_NOTOALL", "N&oToAll", 9},
    {"YesToAll", "MSG_BTN_YESTOALL", "&YesToAll", 10},
    {"Help", "MSG_BTN_HELP", "&Help", 0},
    {"Close", "MSG_BTN_CLOSE", "Close", 11},
}};

struct TTypeRow {
    const char* Key;  // nullptr: no title of its own
    const char* Caption;
    uintptr_t Icon;   // 0: none
};

const std::array<TTypeRow, 5> kTypes = {{
    {"MSG_CAP_WARNING", "Warning", win::IDI_EXCLAMATION},
    {"MSG_CAP_ERROR", "Error", win::IDI_HAND},
    {"MSG_CAP_INFORMATION", "Information", win::IDI_ASTERISK},
    {"MSG_CAP_CONFIRM", "Confirm", win::IDI_QUESTION},
    {nullptr, "", 0},
}};

constexpr const char* kShowFlagKey = "MSG_CAP_SHOWFLAG";
constexpr const char* kShowFlagCaption = "Do not display this message again";

constexpr Integer kButtonWidth = 70;
constexpr Integer kButtonGap = 10;
constexpr Integer kTextLeft = 50;
constexpr Integer kTextTop = 15;

TspResourceStrData* Texts(TspSkinData* ACtrlSkinData)
{
    return ACtrlSkinData ? ACtrlSkinData->ResourceStrData() : nullptr;
}

// 25, or the height of the skin's button record when there is one of that name and class.
Integer ButtonHeight(const TspMessageBoxSettings& S)
{
    TspSkinData* skin = S.CtrlSkinData;
    if (!skin || skin->Empty) return 25;
    const Integer index = skin->GetControlIndex(S.ButtonSkinDataName);
    if (index < 0) return 25;
    auto* record = dynamic_cast<TspDataSkinButtonControl*>(skin->CtrlList[index].get());
    return record ? record->SkinRect.Bottom - record->SkinRect.Top : 25;
}

Integer ButtonCount(TMsgDlgButtons AButtons)
{
    Integer n = 0;
    for (Integer b = 0; b < kMsgDlgButtonCount; ++b)
        if (AButtons.Contains(static_cast<TMsgDlgBtn>(b))) ++n;
    return n;
}

// The picture a builder puts left of the text.
struct TPictureSource {
    uintptr_t StockIcon = 0;
    TCustomImageList* Images = nullptr;
    Integer ImageIndex = -1;
};

void AddPicture(TspMessageForm* AForm, const TPictureSource& ASource, Integer ALabelMiddle)
{
    auto* image = new TImage(AForm);
    image->SetName("Image");
    image->SetParent(AForm);
    AForm->Picture = image;
    if (ASource.Images) {
        TIcon icon;
        ASource.Images->GetIcon(ASource.ImageIndex, &icon);
        image->SetTransparent(true);
        image->Picture()->Assign(&icon);
        // A list picture may sit higher than a stock icon would.
        image->SetBounds(5, ALabelMiddle - 16, ASource.Images->Width(), ASource.Images->Height());
        return;
    }
    TIcon icon;
    if (std::vector<uint32_t> pixels = win::DrawStockIcon(ASource.StockIcon, 32); !pixels.empty())
        icon.SetPixels(32, 32, std::move(pixels));
    if (!icon.Empty()) image->Picture()->Assign(&icon);
    image->SetBounds(5, std::max(10, ALabelMiddle - 16), 32, 32);
}

TspMessageForm* BuildBox(const std::string& AMsg, const std::string& ATitle, const TPictureSource& APicture,
                         TMsgDlgButtons AButtons, Integer X, Integer Y, bool AShowAgain,
                         const TspMessageBoxSettings& S)
{
    if (!Application) throw EInvalidOperation("A message box needs the application");
    auto* form = new TspMessageForm(Application, X, Y);
    try {
        form->CVL->SetSkinData(S.SkinData);
        form->CVL->SetMenusSkinData(S.CtrlSkinData);
        form->CVL->SetAlphaBlend(S.AlphaBlend);
        form->CVL->SetAlphaBlendAnimation(S.AlphaBlendAnimation);
        form->CVL->SetAlphaBlendValue(S.AlphaBlendValue);
        // The client sizes below are meant inside the skinned frame, which only a window has.
        form->HandleNeeded();

        const Integer buttonHeight = ButtonHeight(S);
        const Integer n = ButtonCount(AButtons);
        const Integer rowWidth = n == 0 ? 0 : n * kButtonWidth + (n - 1) * kButtonGap;
        form->SetCaption(ATitle);

        auto* label = new TspSkinStdLabel(form);
        form->Message = label;
        if (S.DefaultFont) {
            label->Font()->Assign(S.DefaultFont);
            label->SetDefaultFont(S.DefaultFont);
        }
        label->SetUseSkinFont(S.UseSkinFont);
        label->SetSkinDataName(S.MessageLabelSkinDataName);
        label->SetSkinData(S.CtrlSkinData);
        label->SetName("Message");
        label->SetParent(form);
        label->SetAutoSize(true);
        // Messages carry file names: an "&" in one is text, not an accelerator.
        label->SetShowAccelChar(false);
        label->SetCaption(AMsg);
        label->SetLeft(kTextLeft);
        label->SetTop(kTextTop);
        const Integer textRight = label->Left() + label->Width();

        if (APicture.StockIcon != 0 || APicture.Images)
            AddPicture(form, APicture, label->Top() + label->Height() / 2);

        // A window frame never gets lower than the skinned frame allows, and the skinned form leaves a window
        // below that size unfinished (no region, no frame at the new size), so the box keeps to it as it grows.
        auto keepMinHeight = [form] {
            if (form->Height() < form->CVL->GetMinHeight()) form->SetHeight(form->CVL->GetMinHeight());
        };
        form->SetClientHeight(buttonHeight + label->Height() + 50);
        keepMinHeight();
        form->SetClientWidth(std::max(rowWidth, textRight) + 40);

        if (AShowAgain) {
            form->SetClientHeight(form->ClientHeight() + 40);
            keepMinHeight();
            auto* box = new TspSkinCheckRadioBox(form);
            form->DisplayCheckBox = box;
            box->SetName("checkbox");
            box->SetDefaultHeight(30);
            box->SetChecked(!S.ShowAgainFlagValue);
            box->SetParent(form);
            if (S.DefaultFont) box->SetDefaultFont(S.DefaultFont);
            box->SetUseSkinFont(S.UseSkinFont);
            box->SetSkinData(S.CtrlSkinData);
            const Integer top = form->ClientHeight() - buttonHeight - 50;
            std::string caption;
            if (TspResourceStrData* texts = Texts(S.CtrlSkinData)) caption = texts->GetResStr(kShowFlagKey);
            if (caption.empty()) caption = kShowFlagCaption;
            box->SetCaption(caption);
            TBitmap measure(1, 1, pf24bit);
            TFont* font = measure.Canvas()->Font();
            if (S.DefaultFont) font->Assign(S.DefaultFont);
            if (box->Skinned() && S.UseSkinFont) {
                font->SetName(box->Look.FontName);
                font->SetHeight(box->Look.FontHeight);
            }
            const Integer textWidth = measure.Canvas()->TextWidth(caption);
            if (form->ClientWidth() < textWidth + 60) form->SetClientWidth(textWidth + 60);
            box->SetBounds(5, top, textWidth + 55, box->DefaultHeight());
        }

        if (form->CVL->GetMaxWidth() < form->Width())
            form->SetWidth(form->CVL->GetMaxWidth());
        else if (form->Width() < form->CVL->GetMinWidth())
            form->SetWidth(form->CVL->GetMinWidth());

        // A chosen button that is not in the set does not exist: the box then has no default or no cancel one.
        const TMsgDlgBtn defaultButton = AButtons.Contains(mbOK) ? mbOK : AButtons.Contains(mbYes) ? mbYes : mbRetry;
        const TMsgDlgBtn cancelButton = AButtons.Contains(mbCancel) ? mbCancel
                                        : AButtons.Contains(mbNo)   ? mbNo
                                                                    : mbOK;
        Integer x = (form->ClientWidth() - rowWidth) / 2;
        const Integer top = form->ClientHeight() - buttonHeight - 10;
        for (Integer b = 0; b < kMsgDlgButtonCount; ++b) {
            const auto kind = static_cast<TMsgDlgBtn>(b);
            if (!AButtons.Contains(kind)) continue;
            auto* button = new TspSkinButton(form);
            button->SetName(kButtons[b].Name);
            button->SetParent(form);
            button->SetCanFocused(true);
            button->SetCaption(GetButtonCaption(kind, S.CtrlSkinData));
            button->SetModalResult(kButtons[b].Result);
            button->SetDefault(kind == defaultButton);
            button->SetCancel(kind == cancelButton);
            button->SetDefaultHeight(buttonHeight);
            button->SetBounds(x, top, kButtonWidth, buttonHeight);
            if (S.DefaultButtonFont) button->SetDefaultFont(S.DefaultButtonFont);
            button->SetUseSkinFont(S.UseSkinFont);
            if (kind == mbHelp) button->OnClick = [form](TObject* ASender) { form->HelpButtonClick(ASender); };
            x += kButtonWidth + kButtonGap;
            button->SetSkinDataName(S.ButtonSkinDataName);
            button->SetSkinData(S.CtrlSkinData);
        }
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}

std::string TitleByType(TMsgDlgType DlgType, const TspMessageBoxSettings& S)
{
    if (DlgType == mtCustom) return Application ? Application->Title() : std::string();
    return GetDlgTypeCaption(DlgType, S.CtrlSkinData);
}

TPictureSource StockPicture(TMsgDlgType DlgType)
{
    TPictureSource source;
    source.StockIcon = kTypes[DlgType].Icon;
    return source;
}

}  // namespace

// ---- captions ----

std::string GetButtonCaption(TMsgDlgBtn Button, TspSkinData* CtrlSkinData)
{
    if (TspResourceStrData* texts = Texts(CtrlSkinData)) return texts->GetResStr(kButtons[Button].Key);
    return kButtons[Button].Caption;
}

std::string GetDlgTypeCaption(TMsgDlgType DlgType, TspSkinData* CtrlSkinData)
{
    const TTypeRow& row = kTypes[DlgType];
    if (TspResourceStrData* texts = Texts(CtrlSkinData)) return row.Key ? texts->GetResStr(row.Key) : std::string();
    return row.Caption;
}

const char* ButtonName(TMsgDlgBtn Button) { return kButtons[Button].Name; }

TModalResult ButtonModalResult(TMsgDlgBtn Button) { return kButtons[Button].Result; }

// ---- the box form ----

TspMessageForm::TspMessageForm(TComponent* AOwner, Integer X, Integer Y) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    SetKeyPreview(true);
    if (X < -10000) {
        SetPosition(poScreenCenter);
    } else {
        SetLeft(X);
        SetTop(Y);
    }
    CVL = new TspCorvalis(this);
    CVL->SetBorderIcons({});
    CVL->SetSizeable(false);
}

void TspMessageForm::HelpButtonClick(TObject* /*Sender*/) {}

// ---- builders ----

TspMessageForm* CreateSkinMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                        Integer X, Integer Y, const TspMessageBoxSettings& S)
{
    return BuildBox(Msg, TitleByType(DlgType, S), StockPicture(DlgType), Buttons, X, Y, S.ShowAgainFlag, S);
}

TspMessageForm* CreateSkinWideMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                            Integer X, Integer Y, const TspMessageBoxSettings& S)
{
    return BuildBox(Msg, TitleByType(DlgType, S), StockPicture(DlgType), Buttons, X, Y, false, S);
}

TspMessageForm* CreateSkinCaptionMessageDialog(const std::string& Msg, const std::string& ACaption,
                                               TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer X, Integer Y,
                                               const TspMessageBoxSettings& S)
{
    return BuildBox(Msg, ACaption, StockPicture(DlgType), Buttons, X, Y, S.ShowAgainFlag, S);
}

TspMessageForm* CreateSkinCustomMessageDialog(const std::string& Msg, const std::string& ACaption,
                                              TCustomImageList* AImages, Integer AImageIndex,
                                              TMsgDlgButtons Buttons, Integer X, Integer Y,
                                              const TspMessageBoxSettings& S)
{
    TPictureSource source;
    if (AImages && AImageIndex >= 0 && AImageIndex < AImages->Count()) {
        source.Images = AImages;
        source.ImageIndex = AImageIndex;
    }
    return BuildBox(Msg, ACaption, source, Buttons, X, Y, S.ShowAgainFlag, S);
}

// ---- the component ----

TspSkinMessage::TspSkinMessage(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(std::make_unique<TFont>()), FDefaultButtonFont(std::make_unique<TFont>())
{
    for (TFont* font : {FDefaultFont.get(), FDefaultButtonFont.get()}) {
        font->SetName("Arial");
        font->SetHeight(14);
        font->SetStyle({});
    }
}

// The base class unhooks the free notifications; the skins may already be gone when their owner is ours.
TspSkinMessage::~TspSkinMessage() = default;

void TspSkinMessage::SetSkinData(TspSkinData* AValue)
{
    if (FSD && FSD != FCtrlFSD) FSD->RemoveFreeNotification(this);
    FSD = AValue;
    if (FSD) FSD->FreeNotification(this);
}

void TspSkinMessage::SetCtrlSkinData(TspSkinData* AValue)
{
    if (FCtrlFSD && FCtrlFSD != FSD) FCtrlFSD->RemoveFreeNotification(this);
    FCtrlFSD = AValue;
    if (FCtrlFSD) FCtrlFSD->FreeNotification(this);
}

void TspSkinMessage::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
}

TspMessageBoxSettings TspSkinMessage::Settings()
{
    TspMessageBoxSettings s;
    s.ShowAgainFlag = FShowAgainFlag;
    s.ShowAgainFlagValue = FShowAgainFlagValue;
    s.AlphaBlendValue = FAlphaBlendValue;
    s.AlphaBlendAnimation = FAlphaBlendAnimation;
    s.AlphaBlend = FAlphaBlend;
    s.UseSkinFont = FUseSkinFont;
    s.DefaultButtonFont = FDefaultButtonFont.get();
    s.DefaultFont = FDefaultFont.get();
    s.MessageLabelSkinDataName = FMessageLabelSkinDataName;
    s.ButtonSkinDataName = FButtonSkinDataName;
    s.CtrlSkinData = FCtrlFSD;
    s.SkinData = FSD;
    return s;
}

Integer TspSkinMessage::ShowForm(TspMessageForm* AForm, Integer HelpCtx, const std::string* AHelpFile,
                                 bool APositionEvent)
{
    std::unique_ptr<TspMessageForm> form(AForm);
    struct TReadBack {
        TspMessageForm* Form;
        bool& Value;
        ~TReadBack()
        {
            if (Form->DisplayCheckBox) Value = !Form->DisplayCheckBox->Checked();
        }
    } readBack{AForm, FShowAgainFlagValue};
    AForm->HelpContext = HelpCtx;
    if (AHelpFile) AForm->HelpFile = *AHelpFile;
    if (APositionEvent && OnSetShowPos) {
        Integer x = AForm->Left(), y = AForm->Top();
        OnSetShowPos(x, y, AForm->Width(), AForm->Height());
        AForm->SetLeft(x);
        AForm->SetTop(y);
    }
    return AForm->ShowModal();
}

Integer TspSkinMessage::MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                   Integer HelpCtx)
{
    return ShowForm(CreateSkinMessageDialog(Msg, DlgType, Buttons, kMessageBoxCentred, kMessageBoxCentred,
                                            Settings()),
                    HelpCtx, nullptr, false);
}

Integer TspSkinMessage::MessageDlgHelp(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                       Integer HelpCtx, const std::string& HelpFileName)
{
    return ShowForm(CreateSkinMessageDialog(Msg, DlgType, Buttons, kMessageBoxCentred, kMessageBoxCentred,
                                            Settings()),
                    HelpCtx, &HelpFileName, false);
}

Integer TspSkinMessage::MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                      Integer HelpCtx, Integer X, Integer Y)
{
    return ShowForm(CreateSkinMessageDialog(Msg, DlgType, Buttons, X, Y, Settings()), HelpCtx, nullptr, true);
}

Integer TspSkinMessage::MessageDlg2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, Integer HelpCtx)
{
    return ShowForm(CreateSkinCaptionMessageDialog(Msg, ACaption, DlgType, Buttons, kMessageBoxCentred,
                                                   kMessageBoxCentred, Settings()),
                    HelpCtx, nullptr, false);
}

Integer TspSkinMessage::MessageDlgHelp2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                                        TMsgDlgButtons Buttons, Integer HelpCtx, const std::string& HelpFileName)
{
    return ShowForm(CreateSkinCaptionMessageDialog(Msg, ACaption, DlgType, Buttons, kMessageBoxCentred,
                                                   kMessageBoxCentred, Settings()),
                    HelpCtx, &HelpFileName, false);
}

Integer TspSkinMessage::CustomMessageDlg(const std::string& Msg, const std::string& ACaption,
                                         TCustomImageList* AImages, Integer AImageIndex, TMsgDlgButtons Buttons,
                                         Integer HelpCtx)
{
    return ShowForm(CreateSkinCustomMessageDialog(Msg, ACaption, AImages, AImageIndex, Buttons, kMessageBoxCentred,
                                                  kMessageBoxCentred, Settings()),
                    HelpCtx, nullptr, false);
}

Integer TspSkinMessage::CustomMessageDlgPos(const std::string& Msg, const std::string& ACaption,
                                            TCustomImageList* AImages, Integer AImageIndex, TMsgDlgButtons Buttons,
                                            Integer HelpCtx, Integer X, Integer Y)
{
    return ShowForm(CreateSkinCustomMessageDialog(Msg, ACaption, AImages, AImageIndex, Buttons, X, Y, Settings()),
                    HelpCtx, nullptr, true);
}

Integer TspSkinMessage::CustomMessageDlgHelp(const std::string& Msg, const std::string& ACaption,
                                             TCustomImageList* AImages, Integer AImageIndex,
                                             TMsgDlgButtons Buttons, Integer HelpCtx,
                                             const std::string& HelpFileName)
{
    return ShowForm(CreateSkinCustomMessageDialog(Msg, ACaption, AImages, AImageIndex, Buttons, kMessageBoxCentred,
                                                  kMessageBoxCentred, Settings()),
                    HelpCtx, &HelpFileName, false);
}

Integer TspSkinMessage::WideMessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                       Integer HelpCtx)
{
    return ShowForm(CreateSkinWideMessageDialog(Msg, DlgType, Buttons, kMessageBoxCentred, kMessageBoxCentred,
                                                Settings()),
                    HelpCtx, nullptr, false);
}

Integer TspSkinMessage::WideMessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                          Integer HelpCtx, Integer X, Integer Y)
{
    return ShowForm(CreateSkinWideMessageDialog(Msg, DlgType, Buttons, X, Y, Settings()), HelpCtx, nullptr, false);
}
