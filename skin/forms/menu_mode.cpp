#include "skin/forms/menu_mode.h"

#include <cctype>
#include <utility>

#include "platform/win/input.h"
#include "skin/core/layer_window.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/caption_menu_keys.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/popup_edit_menu.h"
#include "skin/forms/popup_window.h"
#include "skin/forms/skin_form.h"

using namespace win;

TspFormMenus::TspFormMenus(TCustomForm* AForm, TspCorvalis* ASkinForm)
    : TComponent(AForm), FForm(AForm), FSkinForm(ASkinForm)
{
    SkinMenu = new TspSkinMenu(this, AForm);
    FSkinForm->FreeNotification(this);
    // In front of the skinned-form component: the menus see the close messages before it handles them.
    FOldWindowProc = FForm->WindowProc;
    FForm->WindowProc = [this](TMessage& Message) { FormWndProc(Message); };
    FOldShortCut = FForm->OnShortCut;
    FForm->OnShortCut = [this](TMessage& Msg, bool& Handled) { FormShortCut(Msg, Handled); };
    FAttached = true;
    CreateTrayMenu();
    RegisterSkinEditMenus();
}

TspFormMenus::~TspFormMenus()
{
    SkinMenu->CloseLevels(0);
    UnHookAppMessage();
    if (FAttached) {
        FForm->WindowProc = FOldWindowProc;
        FForm->OnShortCut = FOldShortCut;
    }
}

void TspFormMenus::Notification(TComponent* AComponent, TOperation AOperation)
{
    TComponent::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FSkinForm) {
        // The component put the form's own procedure back: ours is out of the chain already.
        FSkinForm = nullptr;
        FAttached = false;
        SkinMenu->CloseLevels(0);
        UnHookAppMessage();
    }
    if (AComponent == FDefaultSystemMenu) FDefaultSystemMenu = nullptr;
    if (AComponent == FTrayMenu) FTrayMenu = nullptr;
}

TspFormMenus* FormMenusOf(TspCorvalis* ASkinForm)
{
    if (!ASkinForm) return nullptr;
    TCustomForm* form = ASkinForm->Form();
    for (Integer i = 0; i < form->ComponentCount(); ++i)
        if (auto* menus = dynamic_cast<TspFormMenus*>(form->Components(i)))
            if (menus->SkinForm() == ASkinForm) return menus;
    return new TspFormMenus(form, ASkinForm);
}

TspFormMenus* FormMenusOfForm(TCustomForm* AForm)
{
    return AForm ? FormMenusOf(FindSkinFormComponent(AForm)) : nullptr;
}

TCustomForm* SkinFormOwner(TspCorvalis* ASkinForm)
{
    return ASkinForm ? ASkinForm->Form() : nullptr;
}

TspSkinData* TspFormMenus::MenuSkin() const
{
    if (!FSkinForm) return nullptr;
    return FSkinForm->MenusSkinData() ? FSkinForm->MenusSkinData() : FSkinForm->SkinData();
}

TspSkinData* TspFormMenus::SkinData() const
{
    return FSkinForm ? FSkinForm->SkinData() : nullptr;
}

TspFormMenus* TspFormMenus::MainFormMenus()
{
    if (FForm->FormStyle() != fsMDIChild || !Application) return this;
    auto* main = Application->MainForm();
    TspFormMenus* menus = main ? FormMenusOfForm(main) : nullptr;
    return menus ? menus : this;
}

// ---- the form's messages ----

void TspFormMenus::FormWndProc(TMessage& Message)
{
    if (Message.Msg == SKM_CLOSEMENU) SkinMenuClose();
    if (IsMenuCloseMessage(Message.Msg)) CheckMenuCloseMessage(Message);
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_KEYMENU && Message.LParam == 0 &&
        std::exchange(FAltSpace, false)) {
        Message.Result = 0;
        return;
    }
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_KEYMENU && Message.LParam != 0) {
        // Alt with a character: the menu-bar item whose accelerator it is opens; the platform's menu never does.
        const auto ch = static_cast<WPARAM>(Message.LParam);
        const WORD key = static_cast<WORD>(ch < 0x80 ? std::toupper(static_cast<int>(ch)) : ch);
        if (!InMainMenu && SkinMenu->FVisible) SkinMenu->Hide();
        if (!CheckHotKey(key)) FOldWindowProc(Message);
        Message.Result = 0;
        return;
    }
    if (Message.Msg == WM_SYSCOMMAND && (Message.WParam & 0xFFF0) == SC_KEYMENU && Message.LParam == 0) {
        // The system key: into the keyboard main-menu mode, or out of it.
        if (InMainMenu) {
            ExitMainMenu();
        } else {
            if (SkinMenu->FVisible) SkinMenu->Hide();
            EnterMainMenu();
        }
        Message.Result = 0;
        return;
    }
    const bool captionRightClick = Message.Msg == WM_NCRBUTTONDOWN && Message.WParam == HTCAPTION;
    FOldWindowProc(Message);
    if (captionRightClick && FSkinForm && FSkinForm->SkinnableForm() && !FSkinForm->DisableSystemMenu()) {
        TPoint cursor{};
        GetCursorPos(cursor);
        PopupSystemMenu(cursor.X, cursor.Y);
    }
}

void TspFormMenus::FormShortCut(TMessage& Msg, bool& Handled)
{
    const TShiftState shift = KeyboardShiftState();
    if (shift == TShiftState{ssAlt} && Msg.WParam == static_cast<WPARAM>(VK_SPACE)) {
        if (FSkinForm && !FSkinForm->DisableSystemMenu()) PopupSystemMenuAtButton();
        // The Alt key's release still to come is part of this shortcut, not the system key.
        FAltSpace = true;
        Handled = true;
        return;
    }
    if (FOldShortCut) FOldShortCut(Msg, Handled);
}

void TspFormMenus::CheckMenuCloseMessage(TMessage& Message)
{
    if (FSkinForm && FSkinForm->ShowObjectHint() && FSkinForm->SkinHint()) FSkinForm->SkinHint()->HideHint();
    if (!InMainMenu || SkinMenu->FVisible) {
        if (SkinMenu->FVisible) {
            SkinMenu->Hide();
        } else if (InMenu) {
            SkinMenuClose();
        } else if (FForm->FormStyle() == fsMDIForm && FForm->Visible()) {
            if (TCustomForm* child = FForm->ActiveMDIChild())
                if (TspFormMenus* menus = FormMenusOfForm(child)) menus->CheckMenuCloseMessage(Message);
        }
    } else {
        ExitMainMenu();
    }
}

// ---- the application's messages ----

void TspFormMenus::HookAppMessage()
{
    if (FInAppHook || !Application) return;
    FHookId = Application->SetOnMessage([this](MSG& Msg, bool& Handled) { MenuAppMessage(Msg, Handled); });
    FInAppHook = true;
}

void TspFormMenus::UnHookAppMessage()
{
    if (!FInAppHook) return;
    if (Application) Application->RemoveOnMessage(FHookId);
    FInAppHook = false;
    FHookId = 0;
}

void TspFormMenus::MenuAppMessage(MSG& Msg, bool& Handled)
{
    if (Msg.message == WM_KEYDOWN) {
        TMessage message{Msg.message, Msg.wParam, Msg.lParam, 0};
        SkinMenuKeyDown(message);
        Msg.message = 0;
        Handled = true;
    } else if (Msg.message == WM_MOUSEWHEEL) {
        Msg.message = 0;
        Handled = true;
    }
}

// ---- menu mode ----

bool TspFormMenus::PopupItems(TControl* APopupCtrl, TspSkinData* ASkin, TMenuItem* AItem, TRect R, bool PopupUp)
{
    SkinMenuOpen();
    SkinMenu->Popup(APopupCtrl, ASkin, 0, R, AItem, PopupUp);
    if (SkinMenu->FVisible) return true;
    // Nothing opened: no close message will ever come, so the menu mode must not stay behind holding the keys.
    SkinMenuClose();
    return false;
}

void TspFormMenus::PopupSkinMenu(TMenu* Menu, TPoint P)
{
    PopupSkinMenu1(Menu, Rect(P.X, P.Y, P.X, P.Y), false);
}

void TspFormMenus::PopupSkinMenu1(TMenu* Menu, TRect R, bool PopupUp)
{
    PopupItems(nullptr, MenuSkin(), Menu->Items(), R, PopupUp);
}

void TspFormMenus::SkinMenuOpen()
{
    if (!InMainMenu) HookAppMessage();
    if (InMenu) return;
    InMenu = true;
    if (OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TspFormMenus::ReleasePressedObject()
{
    if (!FSkinForm) return;
    FSkinForm->AnimateMenuClosed();
    for (Integer i = 0; i < FSkinForm->ObjectCount(); ++i) {
        auto* button = dynamic_cast<TspSkinButtonObject*>(FSkinForm->Objects(i));
        if (button && button->MenuItem && button->Down()) {
            button->SetDown(false);
            return;
        }
    }
}

void TspFormMenus::SkinMenuClose()
{
    if (FSkinForm && FSkinForm->FMenuLayerManager && FSkinForm->FMenuLayerManager->IsVisible)
        FSkinForm->FMenuLayerManager->Hide();
    InMenu = false;
    ReleasePressedObject();
    UnHookAppMessage();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
    if (!InMainMenu) return;
    InMainMenu = false;
    if (MainMenuBar) MainMenuBar->ExitMainMenu();
    if (OnMainMenuExit) OnMainMenuExit(this);
}

TspMainMenuKeyboard* TspFormMenus::MainMenuKeys()
{
    if (MainMenuBar) return MainMenuBar;
    if (!FCaptionKeys) FCaptionKeys = std::make_unique<TspCaptionMenuKeyboard>(this);
    return FCaptionKeys->HasItems() ? FCaptionKeys.get() : nullptr;
}

void TspFormMenus::EnterMainMenu()
{
    if (TspMainMenuKeyboard* keys = MainMenuKeys()) {
        keys->EnterMainMenu();
        InMainMenu = true;
        HookAppMessage();
    }
    if (OnMainMenuEnter) OnMainMenuEnter(this);
}

void TspFormMenus::ExitMainMenu()
{
    InMainMenu = false;
    if (SkinMenu->FVisible) SkinMenu->Hide();
    if (TspMainMenuKeyboard* keys = MainMenuKeys()) keys->ExitMainMenu();
    UnHookAppMessage();
    if (OnMainMenuExit) OnMainMenuExit(this);
}

void TspFormMenus::ReleaseDownItem()
{
    InMenu = false;
    if (TspMainMenuKeyboard* keys = MainMenuKeys()) keys->ReleaseDownItem();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
}

bool TspFormMenus::CheckHotKey(WORD Key)
{
    TspMainMenuKeyboard* keys = MainMenuKeys();
    return keys && keys->CheckHotKey(Key);
}

void TspFormMenus::NextMainMenuItem()
{
    if (TspMainMenuKeyboard* keys = MainMenuKeys()) keys->NextMainMenuItem();
}

void TspFormMenus::PrevMainMenuItem()
{
    if (TspMainMenuKeyboard* keys = MainMenuKeys()) keys->PrevMainMenuItem();
}

bool TspFormMenus::CheckReturnKey()
{
    TspMainMenuKeyboard* keys = MainMenuKeys();
    return keys && keys->CheckReturnKey();
}

bool TspFormMenus::TopPopupItemIsLeaf()
{
    TspSkinPopupWindow* top = SkinMenu->LastLevel();
    if (!top || top->ActiveItem < 0 || top->ActiveItem >= top->ItemCount()) return true;
    return top->Item(top->ActiveItem)->MenuItem->Count() == 0;
}

bool TspFormMenus::IsFirstPopupLevel()
{
    return SkinMenu->LevelCount() <= 1;
}

void TspFormMenus::SkinMenuKeyDown(TMessage& Message)
{
    if (FForm->FormStyle() == fsMDIChild) {
        TspFormMenus* main = MainFormMenus();
        if (main != this && (main->InMenu || main->InMainMenu || main->SkinMenu->FVisible)) {
            main->SkinMenuKeyDown(Message);
            return;
        }
    }
    const auto key = static_cast<WORD>(Message.WParam);
    if (InMainMenu && CheckHotKey(key)) return;
    auto toTopLevel = [this, key] {
        if (TspSkinPopupWindow* top = SkinMenu->LastLevel()) top->PopupKeyDown(key);
    };
    if (key == VK_ESCAPE && InMainMenu && !SkinMenu->FVisible) {
        ExitMainMenu();
    } else if (key == VK_LEFT && InMainMenu && IsFirstPopupLevel()) {
        PrevMainMenuItem();
    } else if (key == VK_RIGHT && InMainMenu && TopPopupItemIsLeaf()) {
        NextMainMenuItem();
    } else if (key == VK_RETURN || key == VK_DOWN) {
        if (!CheckReturnKey() && SkinMenu->FVisible) toTopLevel();
    } else {
        if (SkinMenu->FVisible) toTopLevel();
        if (key == VK_ESCAPE && SkinMenu->LevelCount() == 0) {
            if (InMainMenu) ReleaseDownItem();
            else SkinMenuClose();
        }
    }
}
