#include "skin/forms/skin_form.h"

#include "platform/gui/screen.h"
#include "platform/rtl/exceptions.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_link.h"
#include "skin/controls/status_bar.h"
#include "skin/core/layer_window.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/mdi_tabs_bar.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/layered_border.h"

using namespace win;

namespace {

void SetCaptionFont(TFont& AFont, TColor AColor)
{
    AFont.SetName("Arial");
    AFont.SetHeight(14);
    AFont.SetStyle(TFontStyles{fsBold});
    AFont.SetColor(AColor);
}

TTimer* NewTimer(TComponent* AOwner, Cardinal AInterval, TNotifyEvent AHandler)
{
    auto* timer = new TTimer(AOwner);
    timer->SetEnabled(false);
    timer->SetInterval(AInterval);
    timer->SetOnTimer(std::move(AHandler));
    return timer;
}

}  // namespace

TspCorvalis::TspCorvalis(TComponent* AOwner) : TComponent(AOwner)
{
    FForm = dynamic_cast<TCustomForm*>(AOwner);
    if (!FForm) throw EInvalidCast("Invalid class typecast");

    // Layered windows need a compositor here, whatever the version says.
    FIsLayerEnabled = IsWin2000OrLater() && HasSetLayeredWindowAttributes();
    FIsVistaOS = IsVistaOrLater();

    FQuickButtons = std::make_unique<TspQuickButtonItems>(this);
    FLayerManager = new TspLayerManager(this);
    FMenuLayerManager = new TspLayerManager(this);
    FLayerBorder = new TspFormLayerBorder(this);
    SetCaptionFont(FDefCaptionFont, clBtnText);
    SetCaptionFont(FDefInActiveCaptionFont, clBtnShadow);
    RMTop = std::make_unique<TBitmap>();
    RMBottom = std::make_unique<TBitmap>();
    RMLeft = std::make_unique<TBitmap>();
    RMRight = std::make_unique<TBitmap>();
    MorphTimer = NewTimer(this, 25, [this](TObject* S) { MorphTimerProc(S); });
    MouseTimer = NewTimer(this, 50, [this](TObject* S) { MouseTimerProc(S); });
    AnimateTimer = NewTimer(this, 25, [this](TObject* S) { AnimateTimerProc(S); });

    // The caption buttons are the component's; the form's own shortcut event goes through it.
    FForm->SetBorderIcons(TBorderIcons{});
    FOldFormShortCut = FForm->OnShortCut;
    if (FOldFormShortCut && !OnShortCut) OnShortCut = FOldFormShortCut;
    FForm->OnShortCut = [this](TMessage& Msg, bool& Handled) { FormShortCut(Msg, Handled); };
    FForm->SetAutoSize(false);
    FForm->SetAutoScroll(false);

    if (!ComponentState().Contains(csDesigning)) {
        OldWindowProc = FForm->WindowProc;
        FForm->WindowProc = [this](TMessage& Message) { FormWndProc(Message); };
        // The new procedure must see the window's creation (its frame size above all).
        if (FForm->HandleAllocated()) FForm->RecreateWnd();
        // The menus (system menu, Alt+Space, the edits' context menus) sit in front from the start.
        FormMenusOf(this);
    }
    TspFormRegistry::Register(this);
}

TspCorvalis::~TspCorvalis()
{
    FDestroying = true;
    *FAlive = false;
    Destroying();
    TspFormRegistry::Unregister(this);
    MorphTimer->SetEnabled(false);
    MouseTimer->SetEnabled(false);
    AnimateTimer->SetEnabled(false);
    UnHookMDIClient();
    MDIChildGoing();
    ObjectList.clear();
    FRetiredObjects.clear();
    FQuickButtons.reset();
    if (!ComponentState().Contains(csDesigning) && OldWindowProc) {
        FForm->WindowProc = OldWindowProc;
        if (FForm->HandleAllocated() && IsWindow(FForm->Handle()))
            SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FForm->OnShortCut = FOldFormShortCut;
}

void TspCorvalis::SkinDataMessage(Cardinal Msg, intptr_t WParam, intptr_t LParam)
{
    TMessage message{Msg, static_cast<WPARAM>(WParam), static_cast<LPARAM>(LParam), 0};
    if (FForm->HandleAllocated())
        SendMessage(FForm->Handle(), Msg, message.WParam, message.LParam);
    else
        FForm->WindowProc(message);
}

void TspCorvalis::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FMSD) FMSD = nullptr;
    if (AComponent == FMainMenu) FMainMenu = nullptr;
    if (AComponent == FSystemMenu) FSystemMenu = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FQuickImageList) FQuickImageList = nullptr;
    if (AComponent == FStatusBar) FStatusBar = nullptr;
    if (AComponent == static_cast<TComponent*>(FMDITabsBar)) FMDITabsBar = nullptr;
}

// --- Properties ---

namespace {

template <typename T>
void Relink(TComponent* ASelf, T*& AField, T* AValue)
{
    if (AField == AValue) return;
    if (AField) AField->RemoveFreeNotification(ASelf);
    AField = AValue;
    if (AField) AField->FreeNotification(ASelf);
}

}  // namespace

void TspCorvalis::SetSkinData(TspSkinData* Value)
{
    Relink(this, FSD, Value);
    if (FSD && FForm->FormStyle() != fsMDIChild) FSkinnableForm = FSD->SkinnableForm() && !FUseRibbon;
    if (!ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TspCorvalis::SetMenusSkinData(TspSkinData* Value) { Relink(this, FMSD, Value); }
void TspCorvalis::SetSystemMenu(TPopupMenu* Value) { Relink(this, FSystemMenu, Value); }
void TspCorvalis::SetSkinHint(TspSkinHintBase* Value) { Relink(this, FSkinHint, Value); }
void TspCorvalis::SetQuickImageList(TCustomImageList* Value) { Relink(this, FQuickImageList, Value); }

void TspCorvalis::SetMainMenu(TMainMenu* Value)
{
    Relink(this, FMainMenu, Value);
}

void TspCorvalis::SetBorderIcons(TspBorderIcons Value)
{
    FBorderIcons = Value;
    const TComponentState state = ComponentState();
    if (state.Contains(csLoading) || state.Contains(csDesigning)) return;
    if (FSupportNCArea || FSkinSupport) {
        UpdateObjectsState();
        UpDateFormNC();
    } else if (FHideCaptionButtons) {
        UpdateObjectsState();
    }
}

void TspCorvalis::SetHideCaptionButtons(bool Value)
{
    FHideCaptionButtons = Value;
    UpdateObjectsState();
}

void TspCorvalis::SetUseRibbon(bool Value)
{
    FUseRibbon = Value;
    if (Value && !ComponentState().Contains(csDesigning)) SetSkinnableForm(false);
}

void TspCorvalis::SetSupportNCArea(bool Value)
{
    FSupportNCArea = Value;
    if (!Value && ComponentState().Contains(csDesigning)) FForm->SetBorderStyle(bsNone);
}

void TspCorvalis::SetShowIcon(bool Value)
{
    FShowIcon = Value;
    const TComponentState state = ComponentState();
    if (!state.Contains(csLoading) && !state.Contains(csDesigning)) UpDateFormNC();
}

void TspCorvalis::SetDefCaptionFont(TFont* Value)
{
    FDefCaptionFont.Assign(Value);
    if (!FSkinSupport && FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TspCorvalis::SetDefInActiveCaptionFont(TFont* Value)
{
    FDefInActiveCaptionFont.Assign(Value);
    if (!FSkinSupport && FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TspCorvalis::SetAlphaBlend(bool Value)
{
    if (FAlphaBlend == Value) return;
    FAlphaBlend = Value;
    const TComponentState state = ComponentState();
    if (state.Contains(csLoading) || state.Contains(csDesigning) || state.Contains(csDestroying)) return;
    HWND handle = FForm->Handle();
    const LONG_PTR ex = GetWindowLong(handle, GWL_EXSTYLE);
    if (Value) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLong(handle, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetWindowAlpha(handle, FAlphaBlendValue);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLong(handle, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    }
}

void TspCorvalis::SetAlphaBlendValue(Byte Value)
{
    if (FAlphaBlendValue == Value) return;
    FAlphaBlendValue = Value;
    const TComponentState state = ComponentState();
    if (!FAlphaBlend || state.Contains(csLoading) || state.Contains(csDesigning) || state.Contains(csDestroying))
        return;
    SetWindowAlpha(FForm->Handle(), Value);
}

void TspCorvalis::SetSkinnableForm(bool Value)
{
    FFormActive = GetFormActive();
    if (ComponentState().Contains(csDesigning)) return;
    if (FForm->FormStyle() == fsMDIForm && FForm->MDIChildCount() > 0) return;
    FSkinnableForm = Value && !FUseRibbon;
    ChangeSkinData();
    ChangeControlsSkinData(nullptr, FForm);
    if (!FSkinnableForm && FIsVistaOS && FForm->HandleAllocated()) FForm->RecreateWnd();
}

// --- Lookups and predicates ---

TspCorvalis* FindSkinFormComponent(TCustomForm* Form)
{
    if (!Form) return nullptr;
    for (Integer i = 0; i < Form->ComponentCount(); ++i)
        if (auto* c = dynamic_cast<TspCorvalis*>(Form->Components(i))) return c;
    return nullptr;
}

bool TspCorvalis::IsSizeAble()
{
    return FSizeable || FForm->BorderStyle() == bsSizeable || FForm->BorderStyle() == bsSizeToolWin;
}

bool TspCorvalis::GetFormActive()
{
    if (PreviewMode) return true;
    if (FForm->FormStyle() == fsMDIChild || FForm->FormStyle() == fsMDIForm) return FFormActive;
    return FForm->Active() && ::Screen && ::Screen->ActiveForm() == FForm;
}

bool TspCorvalis::HasSkinFrame()
{
    return FSupportNCArea && FSD && !FSD->Empty && !IsEmptyRect(FSD->ClRect);
}

bool TspCorvalis::ObjectShownInRollUpState(bool ARollUp) const
{
    if (FSupportNCArea) return !ARollUp;
    return FRollUpState ? ARollUp : !ARollUp;
}

void TspCorvalis::ApplyPositionInMonitor()
{
    if (FPositionInMonitor == sppDefault) return;
    const TPoint at = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    FForm->SetBounds(at.X, at.Y, FForm->Width(), FForm->Height());
}

TPoint TspCorvalis::GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH)
{
    if (FPositionInMonitor == sppDefault) return {AX, AY};
    TRect area;
    GetWorkAreaOf(FForm->HandleAllocated() ? FForm->Handle() : nullptr, FPositionInMonitor == sppDesktopCenter,
                  area);
    return {area.Left + area.Width() / 2 - AW / 2, area.Top + area.Height() / 2 - AH / 2};
}

void TspCorvalis::NotifyChildrenBackground()
{
    for (Integer i = 0; i < FForm->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(FForm->Controls(i)); child && child->HandleAllocated())
            SendMessage(child->Handle(), SKM_REPAINT_TRANSPARENT, 0, 0);
}

void TspCorvalis::ResetObjectStates()
{
    for (auto& object : ObjectList) {
        object->Active = false;
        object->SetMorphKf(0);
        object->ResetMouseIn();
    }
}

void TspCorvalis::ApplyFormBorderIcons()
{
    TBorderIcons icons;
    if (!FHideCaptionButtons && !FSkinnableForm) icons.Include(biSystemMenu);
    if (FBorderIcons.Contains(TspBorderIcon::biMinimize)) icons.Include(biMinimize);
    if (FBorderIcons.Contains(TspBorderIcon::biMaximize)) icons.Include(biMaximize);
    FForm->SetBorderIcons(icons);
}

TRect TspCorvalis::GetAreaRect(const std::string& AIDName) const
{
    TRect result;
    if (!FSD || FSD->Empty) return result;
    // Several areas may bear a name: this lookup answers with the last, the skin data's own with the first.
    for (const auto& area : FSD->AreaList)
        if (area->IDName == AIDName) result = area->AreaRect;
    return result;
}

void TspCorvalis::SetFormBorderStyle(TFormBorderStyle BS)
{
    FForm->SetBorderStyle(BS);
    ChangeControlsSkinData(nullptr, FForm);
}

void TspCorvalis::SetFormStyle(TFormStyle FS)
{
    if (FS != fsNormal && FS != fsStayOnTop) return;
    FForm->SetFormStyle(FS);
    if (FAlphaBlend) ChangeControlsSkinData(nullptr, FForm);
}

// --- Skin-change walks ---

namespace {

// The skin data a skinned control uses, and whether AControl is one.
bool SkinLinkOf(TControl* AControl, TspSkinData*& ASkinData)
{
    if (auto* windowed = dynamic_cast<TspSkinControl*>(AControl)) {
        ASkinData = windowed->SkinData();
        return true;
    }
    if (auto* windowless = dynamic_cast<TspGraphicSkinControl*>(AControl)) {
        ASkinData = windowless->SkinData();
        return true;
    }
    if (auto* linked = dynamic_cast<TspSkinLinkedControl*>(AControl)) {
        ASkinData = linked->SkinData();
        return true;
    }
    return false;
}

template <typename TVisit>
void WalkControls(TControl* AControl, const TVisit& AVisit)
{
    AVisit(AControl);
    auto* parent = dynamic_cast<TWinControl*>(AControl);
    if (!parent) return;
    // A control may leave or join the tree while it re-reads its skin: walk what is there at each step.
    for (Integer i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (dynamic_cast<TWinControl*>(child))
            WalkControls(child, AVisit);
        else
            AVisit(child);
    }
}

}  // namespace

void TspCorvalis::BeforeChangeControlsSkinData(TspSkinData* SkinData, TControl* Control)
{
    WalkControls(Control, [SkinData](TControl* c) {
        TspSkinData* own = nullptr;
        if (!SkinLinkOf(c, own) || (SkinData && own != SkinData)) return;
        // Controls that carry their own link look their record up afresh at the change itself.
        if (auto* windowed = dynamic_cast<TspSkinControl*>(c))
            windowed->BeforeChangeSkinData();
        else if (auto* windowless = dynamic_cast<TspGraphicSkinControl*>(c))
            windowless->BeforeChangeSkinData();
    });
}

void TspCorvalis::ChangeControlsSkinData(TspSkinData* SkinData, TControl* Control)
{
    WalkControls(Control, [SkinData](TControl* c) {
        TspSkinData* own = nullptr;
        if (!SkinLinkOf(c, own) || (SkinData && own != SkinData)) return;
        // The windowless base is tested first, as the class order of the walk says.
        if (auto* windowless = dynamic_cast<TspGraphicSkinControl*>(c))
            windowless->ChangeSkinData();
        else if (auto* windowed = dynamic_cast<TspSkinControl*>(c))
            windowed->ChangeSkinData();
        else
            dynamic_cast<TspSkinLinkedControl*>(c)->ChangeSkinData();
    });
}

// --- Shortcuts ---

void TspCorvalis::FormShortCut(TMessage& Msg, bool& Handled)
{
    if (OnShortCut) {
        OnShortCut(Msg, Handled);
        if (Handled) return;
    }
    const TShiftState shift = KeyboardShiftState();
    const bool alt_only = shift == TShiftState{ssAlt};
    if (alt_only && Msg.WParam == static_cast<WPARAM>(VK_SPACE)) {
        // The form's menus, whose shortcut handler runs first, open the system menu; the key is taken either way.
        FInShortCut = false;
        Handled = true;
        return;
    }
    if (FInShortCut) {
        FInShortCut = false;
        Handled = false;
    }
    // The menu bar's menu when the form has a bar, else the form's main menu.
    TspFormMenus* menus = FormMenusOf(this);
    TMenu* menu = menus && menus->MainMenuBar && menus->MainMenuBar->KeyboardMenu() ? menus->MainMenuBar->KeyboardMenu()
                                                                                    : FMainMenu;
    if (!menu) return;
    // Alt with a letter opens the menu-bar item whose accelerator it is.
    if (alt_only && Msg.WParam != static_cast<WPARAM>(VK_F4) && menus->CheckHotKey(static_cast<WORD>(Msg.WParam))) {
        Handled = true;
        return;
    }
    FInShortCut = menu->IsShortCut(Msg);
    Handled = FInShortCut;
}
