#pragma once
// The skinned message box: a component that builds a fresh box form at every call (skinned frame, message label,
// stock icon or image-list picture, optional show-again check box, a centred row of skinned buttons), shows it
// modally, frees it and returns the modal result. Between calls it keeps only its settings and the state of the
// show-again box. The application shows its warnings and errors through MessageDlg.
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/forms.h"
#include "platform/gui/graphics.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/set.h"
#include "platform/rtl/types.h"

class TCustomImageList;
class TImage;
class TspCorvalis;
class TspSkinCheckRadioBox;
class TspSkinData;
class TspSkinStdLabel;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
// Also the left-to-right order of the buttons in a box.
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp,
                  mbClose };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;
constexpr Integer kMsgDlgButtonCount = 12;

// Passed for X and Y by the show operations that centre the box on the screen; any X below -10000 centres.
constexpr Integer kMessageBoxCentred = -10001;

// May move a box shown at a given place, once its size is known.
using TspMessageSetShowPosEvent = std::function<void(Integer& AX, Integer& AY, Integer AWidth, Integer AHeight)>;

// The caption of a button and the title of a message type: the skin's texts when CtrlSkinData has them (a key
// they lack gives an empty text), else the built-in ones. mtCustom has no title of its own.
std::string GetButtonCaption(TMsgDlgBtn Button, TspSkinData* CtrlSkinData);
std::string GetDlgTypeCaption(TMsgDlgType DlgType, TspSkinData* CtrlSkinData);
// The component name and the modal result of a button (Help: 0, it leaves the box open).
const char* ButtonName(TMsgDlgBtn Button);
TModalResult ButtonModalResult(TMsgDlgBtn Button);

class TspMessageForm : public TForm {
public:
    // X below -10000 centres the box on the screen; otherwise it goes to (X, Y).
    TspMessageForm(TComponent* AOwner, Integer X, Integer Y);

    // The application has no help viewer: the Help button only keeps the box open, and these are kept for one.
    void HelpButtonClick(TObject* Sender);
    Integer HelpContext = 0;
    std::string HelpFile;

    TspCorvalis* CVL = nullptr;
    TspSkinCheckRadioBox* DisplayCheckBox = nullptr;
    TspSkinStdLabel* Message = nullptr;
    TImage* Picture = nullptr;  // nullptr when the box has none
};

// What a builder takes from the component.
struct TspMessageBoxSettings {
    bool ShowAgainFlag = false;
    bool ShowAgainFlagValue = false;
    Byte AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    bool AlphaBlend = false;
    bool UseSkinFont = true;
    TFont* DefaultButtonFont = nullptr;
    TFont* DefaultFont = nullptr;
    std::string MessageLabelSkinDataName = "stdlabel";
    std::string ButtonSkinDataName = "button";
    TspSkinData* CtrlSkinData = nullptr;
    TspSkinData* SkinData = nullptr;
};

// The form builders: each returns a built box, not yet shown, owned by the application. The wide builder never
// adds the show-again box.
TspMessageForm* CreateSkinMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                        Integer X, Integer Y, const TspMessageBoxSettings& S);
TspMessageForm* CreateSkinWideMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                            Integer X, Integer Y, const TspMessageBoxSettings& S);
TspMessageForm* CreateSkinCaptionMessageDialog(const std::string& Msg, const std::string& ACaption,
                                               TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer X, Integer Y,
                                               const TspMessageBoxSettings& S);
// The picture is the list's image at AImageIndex; none for a missing list or an index outside it.
TspMessageForm* CreateSkinCustomMessageDialog(const std::string& Msg, const std::string& ACaption,
                                              TCustomImageList* AImages, Integer AImageIndex,
                                              TMsgDlgButtons Buttons, Integer X, Integer Y,
                                              const TspMessageBoxSettings& S);

class TspSkinMessage : public TComponent {
public:
    explicit TspSkinMessage(TComponent* AOwner);
    ~TspSkinMessage() override;

    // The show operations; each returns the modal result.
    Integer MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx = 0);
    Integer MessageDlgHelp(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                           const std::string& HelpFileName);
    Integer MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                          Integer X, Integer Y);
    Integer MessageDlg2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                        TMsgDlgButtons Buttons, Integer HelpCtx = 0);
    Integer MessageDlgHelp2(const std::string& Msg, const std::string& ACaption, TMsgDlgType DlgType,
                            TMsgDlgButtons Buttons, Integer HelpCtx, const std::string& HelpFileName);
    Integer CustomMessageDlg(const std::string& Msg, const std::string& ACaption, TCustomImageList* AImages,
                             Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx = 0);
    Integer CustomMessageDlgPos(const std::string& Msg, const std::string& ACaption, TCustomImageList* AImages,
                                Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx, Integer X, Integer Y);
    Integer CustomMessageDlgHelp(const std::string& Msg, const std::string& ACaption, TCustomImageList* AImages,
                                 Integer AImageIndex, TMsgDlgButtons Buttons, Integer HelpCtx,
                                 const std::string& HelpFileName);
    // These never show the show-again box and leave ShowAgainFlagValue alone.
    Integer WideMessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx = 0);
    Integer WideMessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                              Integer X, Integer Y);

    // Properties.
    bool ShowAgainFlag() const { return FShowAgainFlag; }
    void SetShowAgainFlag(bool AValue) { FShowAgainFlag = AValue; }
    // True once the user has unticked the show-again box; the caller decides whether to skip the next call.
    bool ShowAgainFlagValue() const { return FShowAgainFlagValue; }
    void SetShowAgainFlagValue(bool AValue) { FShowAgainFlagValue = AValue; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool AValue) { FAlphaBlend = AValue; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool AValue) { FAlphaBlendAnimation = AValue; }
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte AValue) { FAlphaBlendValue = AValue; }
    // Skins the box's frame.
    TspSkinData* SkinData() const { return FSD; }
    void SetSkinData(TspSkinData* AValue);
    // Skins the controls inside the box, sizes its buttons and gives its texts.
    TspSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TspSkinData* AValue);
    const std::string& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const std::string& AValue) { FButtonSkinDataName = AValue; }
    const std::string& MessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
    void SetMessageLabelSkinDataName(const std::string& AValue) { FMessageLabelSkinDataName = AValue; }
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* AValue) { FDefaultFont->Assign(AValue); }
    TFont* DefaultButtonFont() { return FDefaultButtonFont.get(); }
    void SetDefaultButtonFont(TFont* AValue) { FDefaultButtonFont->Assign(AValue); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool AValue) { FUseSkinFont = AValue; }

    TspMessageSetShowPosEvent OnSetShowPos;

    TspMessageBoxSettings Settings();

protected:
    void Notification(TComponent* AComponent, TOperation AOperation) override;

private:
    // Shows a built box: help context and file, the position event when asked, the modal loop; the box goes and
    // the show-again state is read back whatever happens.
    Integer ShowForm(TspMessageForm* AForm, Integer HelpCtx, const std::string* AHelpFile, bool APositionEvent);

    TspSkinData* FSD = nullptr;
    TspSkinData* FCtrlFSD = nullptr;
    std::string FButtonSkinDataName = "button";
    std::string FMessageLabelSkinDataName = "stdlabel";
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TFont> FDefaultButtonFont;
    bool FUseSkinFont = true;
    bool FAlphaBlend = false;
    bool FAlphaBlendAnimation = false;
    Byte FAlphaBlendValue = 200;
    bool FShowAgainFlag = false;
    bool FShowAgainFlagValue = false;
};
