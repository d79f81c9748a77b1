// The skinned form's object list: building it from the skin (or the six default caption buttons without one),
// the objects' enabled and visible state and hints, their places on the frame, and access by name.
#include "skin/core/interface_texts.h"
#include "skin/forms/animated_objects.h"
#include "skin/forms/value_objects.h"
#include "skin/core/rect_helpers.h"
#include "skin/forms/caption_buttons.h"
#include "skin/forms/caption_object.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {

struct TDefaultButton {
    const char* IDName;
    TStdCommand Command;
};
constexpr TDefaultButton kDefaultButtons[] = {
    {"closebutton", cmClose},    {"maxbutton", cmMaximize},      {"minbutton", cmMinimize},
    {"rollupbutton", cmRollUp},  {"sysmenubutton", cmSysMenu},   {"traybutton", cmMinimizeToTray},
};

struct THintText {
    TStdCommand Command;
    const char* Key;
    const char* BuiltIn;
};
constexpr THintText kHints[] = {
    {cmClose, "CLOSEBUTTON_HINT", "Close"},         {cmMaximize, "MAXBUTTON_HINT", "Maximize"},
    {cmMinimize, "MINBUTTON_HINT", "Minimize"},     {cmSysMenu, "MENUBUTTON_HINT", "System menu"},
    {cmRollUp, "ROLLUPBUTTON_HINT", "Roll Up"},     {cmMinimizeToTray, "TRAYBUTTON_HINT", "Minimize to Tray"},
};

}  // namespace

void TspCorvalis::CreateSkinObjects()
{
    ClearObjects();
    if (!FSD) return;
    for (const auto& record : FSD->ObjectList) {
        TspDataSkinObject* data = record.get();
        // Menu records belong to the menus and the menu bar; a menu-bar button is a caption-button record by
        // descent, so this test comes first.
        if (dynamic_cast<TspDataSkinMainMenuItem*>(data) || dynamic_cast<TspDataSkinMenuItem*>(data) ||
            dynamic_cast<TspDataSkinMainMenuBarButton*>(data))
            continue;
        if (auto* std_button = dynamic_cast<TspDataSkinStdButton*>(data))
            ObjectList.push_back(std::make_unique<TspSkinStdButtonObject>(this, std_button));
        else if (auto* button = dynamic_cast<TspDataSkinButton*>(data))
            ObjectList.push_back(std::make_unique<TspSkinButtonObject>(this, button));
        else if (auto* caption = dynamic_cast<TspDataSkinCaption*>(data))
            ObjectList.push_back(std::make_unique<TspSkinCaptionObject>(this, caption));
        else if (auto* user = dynamic_cast<TspDataUserObject*>(data))
            ObjectList.push_back(std::make_unique<TspUserObject>(this, user));
        else if (auto* track = dynamic_cast<TspDataSkinTrackBar*>(data))
            ObjectList.push_back(std::make_unique<TspSkinTrackBarObject>(this, track));
        else if (auto* sw = dynamic_cast<TspDataSkinSwitch*>(data))
            ObjectList.push_back(std::make_unique<TspSkinSwitchObject>(this, sw));
        else if (auto* gauge = dynamic_cast<TspDataSkinGauge*>(data))
            ObjectList.push_back(std::make_unique<TspSkinGaugeObject>(this, gauge));
        else if (auto* frameGauge = dynamic_cast<TspDataSkinFrameGaugeObject*>(data))
            ObjectList.push_back(std::make_unique<TspSkinFrameGaugeObject>(this, frameGauge));
        else if (auto* regulator = dynamic_cast<TspDataSkinFrameRegulatorObject*>(data))
            ObjectList.push_back(std::make_unique<TspSkinFrameRegulatorObject>(this, regulator));
        else if (auto* bitLabel = dynamic_cast<TspDataSkinBitLabel*>(data))
            ObjectList.push_back(std::make_unique<TspSkinBitLabelObject>(this, bitLabel));
        else if (auto* label = dynamic_cast<TspDataSkinLabel*>(data))
            ObjectList.push_back(std::make_unique<TspSkinLabelObject>(this, label));
        else if (auto* animate = dynamic_cast<TspDataSkinAnimate*>(data))
            ObjectList.push_back(std::make_unique<TspSkinAnimateObject>(this, animate));
    }
    CreateMainMenuItems();
}

void TspCorvalis::CreateDefaultCaptionButtons()
{
    ClearObjects();
    for (const TDefaultButton& b : kDefaultButtons) {
        auto button = std::make_unique<TspSkinStdButtonObject>(this, nullptr);
        button->IDName = b.IDName;
        button->Command = b.Command;
        button->SkinRectInAPicture = true;
        button->SkinRect = button->ActiveSkinRect = button->DownRect = Rect(0, 0, 1, 1);
        ObjectList.push_back(std::move(button));
    }
    UpdateObjectsState();
}

void TspCorvalis::ClearObjects()
{
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    AreaList.clear();
    if (FObjectCallDepth > 0 && !FDestroying) {
        // An object is running one of its handlers: it goes once that handler has returned.
        for (auto& object : ObjectList) FRetiredObjects.push_back(std::move(object));
        ObjectList.clear();
        if (!FReleasePosted && FForm->HandleAllocated()) {
            FReleasePosted = true;
            PostMessage(FForm->Handle(), SKM_RELEASE_OBJECTS, 0, 0);
        }
        return;
    }
    ObjectList.clear();
}

void TspCorvalis::ReleaseRetiredObjects()
{
    FReleasePosted = false;
    if (FObjectCallDepth == 0) FRetiredObjects.clear();
}

TspSkinStdButtonObject* TspCorvalis::CaptionButtonOf(TStdCommand ACommand, bool ANeedPictureRect)
{
    for (auto& object : ObjectList)
        if (auto* b = dynamic_cast<TspSkinStdButtonObject*>(object.get()))
            if (b->Command == ACommand && b->Visible && (!ANeedPictureRect || b->SkinRectInAPicture)) return b;
    return nullptr;
}

void TspCorvalis::UpdateObjectsState()
{
    if (ObjectList.empty()) return;
    for (auto& object : ObjectList) {
        if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(object.get()); caption && !FHideCaptionButtons) {
            if (caption->DefaultCaption) caption->SimpleSetTextValue(FForm->Caption());
            continue;
        }
        auto* b = dynamic_cast<TspSkinStdButtonObject*>(object.get());
        auto* animate = dynamic_cast<TspSkinAnimateObject*>(object.get());
        if (!b && !animate) continue;
        if (FHideCaptionButtons) {
            object->Enabled = false;
            object->Visible = !object->SkinRectInAPicture;
            continue;
        }
        if (animate) {
            // An animated button with a command follows the border icons as a caption button does.
            if (!animate->ButtonStyle || animate->Command == cmDefault) continue;
            if (!ApplyBorderIcon(animate->Command, animate)) continue;
            animate->Visible = animate->SkinRectInAPicture ? animate->Enabled : true;
            continue;
        }
        if (b->Command == cmDefault) {
            bool visible = false;
            if (OnActivateCustomObject) OnActivateCustomObject(this, b->IDName, visible);
            b->Visible = visible;
            continue;
        }
        const bool governed = ApplyBorderIcon(b->Command, b);
        if (governed) b->Visible = b->SkinRectInAPicture ? b->Enabled : true;
    }
    // At least one caption shows the form's caption: the first, when the skin marks none.
    TspSkinCaptionObject* first = nullptr;
    bool marked = false;
    for (auto& object : ObjectList)
        if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(object.get())) {
            if (!first) first = caption;
            marked = marked || caption->DefaultCaption;
        }
    if (first && !marked) {
        first->DefaultCaption = true;
        first->SimpleSetTextValue(FForm->Caption());
    }
    UpdateObjectHints();
}

bool TspCorvalis::ApplyBorderIcon(TStdCommand ACommand, TspActiveSkinObject* AObject)
{
    switch (ACommand) {
    case cmMaximize: AObject->Enabled = FBorderIcons.Contains(TspBorderIcon::biMaximize); return true;
    case cmMinimize: AObject->Enabled = FBorderIcons.Contains(TspBorderIcon::biMinimize); return true;
    case cmRollUp: AObject->Enabled = FBorderIcons.Contains(TspBorderIcon::biRollUp); return true;
    case cmMinimizeToTray: AObject->Enabled = FBorderIcons.Contains(TspBorderIcon::biMinimizeToTray); return true;
    case cmSysMenu:
        AObject->Enabled = FBorderIcons.Contains(TspBorderIcon::biSystemMenu) && !FDisableSystemMenu;
        return true;
    default: return false;
    }
}

void TspCorvalis::UpdateObjectHints()
{
    if (!FUseDefaultObjectHint || !FSD) return;
    auto text = [this](const char* AKey, const char* ABuiltIn) -> std::string {
        if (TspResourceStrData* strings = FSD->ResourceStrData()) return strings->GetResStr(AKey);
        return ABuiltIn;
    };
    auto apply = [&](TStdCommand ACommand, std::string& AHint, std::string& ATempHint, std::string& ARestoreHint) {
        for (const THintText& h : kHints)
            if (h.Command == ACommand) AHint = text(h.Key, h.BuiltIn);
        ATempHint = AHint;
        ARestoreHint = text("RESTORE_HINT", "Restore");
    };
    for (auto& object : ObjectList) {
        if (auto* b = dynamic_cast<TspSkinStdButtonObject*>(object.get()); b && b->Command != cmDefault)
            apply(b->Command, b->Hint, b->FTempHint, b->RestoreHint);
        else if (auto* a = dynamic_cast<TspSkinAnimateObject*>(object.get()))
            apply(a->Command, a->Hint, a->FTempHint, a->RestoreHint);
    }
}

void TspCorvalis::PlaceButtonRun(Integer& X, Integer Top, bool AFromRight, TspActiveSkinObject* AButton)
{
    Integer w = WidthOfRect(AButton->SkinRect), h = HeightOfRect(AButton->SkinRect);
    auto* std_button = dynamic_cast<TspSkinStdButtonObject*>(AButton);
    if (std_button && std_button->Command == cmSysMenu && FShowIcon) GetCaptionIconSize(w, h);
    if (AFromRight) {
        AButton->ObjectRect = Rect(X - w, Top, X, Top + h);
        X -= NewButtonsOffset + w;
    } else {
        AButton->ObjectRect = Rect(X, Top, X + w, Top + h);
        X += NewButtonsOffset + w;
    }
}

void TspCorvalis::ArrangeObjects()
{
    for (auto& object : ObjectList) object->ObjectRect = MapSkinRect(object->SkinRect);
    FSizeGripArea = FSD && !FSD->Empty && !IsEmptyRect(FSD->SizeGripArea) ? MapSkinRect(FSD->SizeGripArea) : TRect{};
    CaptionHitRect = NewCaptionRect;
    if (!FSupportNCArea) return;
    const bool alongCaption = IsEmptyRect(NewButtonsRect);
    if (alongCaption && IsEmptyRect(NewCaptionRect)) return;
    const TRect run = alongCaption ? NewCaptionRect : NewButtonsRect;
    const bool fromRight = !NewButtonsInLeft;
    Integer x = fromRight ? run.Right : run.Left;
    for (TStdCommand command : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (TspSkinStdButtonObject* b = CaptionButtonOf(command, true)) PlaceButtonRun(x, run.Top, fromRight, b);
    for (auto& object : ObjectList) {
        auto* b = dynamic_cast<TspSkinStdButtonObject*>(object.get());
        if (b && b->Command == cmDefault && b->Visible && b->SkinRectInAPicture)
            PlaceButtonRun(x, run.Top, fromRight, b);
    }
    // The caption's edges follow the buttons placed along it.
    CaptionHitRect = NewCaptionRect;
    TspActiveSkinObject* caption = nullptr;
    for (auto& object : ObjectList)
        if (dynamic_cast<TspSkinCaptionObject*>(object.get())) {
            caption = object.get();
            break;
        }
    if (alongCaption) {
        if (fromRight)
            CaptionHitRect.Right = x + NewButtonsOffset;
        else
            CaptionHitRect.Left = x + NewButtonsOffset;
        if (caption && fromRight) caption->ObjectRect.Right = x + NewButtonsOffset;
    }
    TspSkinStdButtonObject* menu = CaptionButtonOf(cmSysMenu, true);
    if (!menu) return;
    if (fromRight) {
        Integer left = NewCaptionRect.Left;
        PlaceButtonRun(left, NewCaptionRect.Top, false, menu);
        const Integer h = HeightOfRect(menu->ObjectRect);
        menu->ObjectRect.Top = NewCaptionRect.Top + HeightOfRect(NewCaptionRect) / 2 - h / 2;
        menu->ObjectRect.Bottom = menu->ObjectRect.Top + h;
        CaptionHitRect.Left = left - NewButtonsOffset;
        if (caption) caption->ObjectRect.Left = left - NewButtonsOffset;
    } else if (alongCaption) {
        PlaceButtonRun(x, run.Top, false, menu);
        CaptionHitRect.Left = x + NewButtonsOffset;
    }
    if (caption && alongCaption && !fromRight) caption->ObjectRect.Left = CaptionHitRect.Left;
}

Integer TspCorvalis::GetIndex(const std::string& AIDName) const
{
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName) return static_cast<Integer>(i);
    return -1;
}

void TspCorvalis::SetEnabled(const std::string& AIDName, bool Value)
{
    const Integer i = GetIndex(AIDName);
    if (i >= 0) ObjectList[static_cast<size_t>(i)]->Enabled = Value;
}

void TspCorvalis::ButtonSetDown(const std::string& AIDName, bool ADown)
{
    const Integer i = GetIndex(AIDName);
    if (i < 0) return;
    if (auto* b = dynamic_cast<TspSkinButtonObject*>(ObjectList[static_cast<size_t>(i)].get())) b->SetDown(ADown);
}

bool TspCorvalis::ButtonGetDown(const std::string& AIDName) const
{
    const Integer i = GetIndex(AIDName);
    if (i < 0) return false;
    auto* b = dynamic_cast<TspSkinButtonObject*>(ObjectList[static_cast<size_t>(i)].get());
    return b && b->Down();
}

void TspCorvalis::DoObjectMouseDown(const std::string& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                                    TMouseButton Button)
{
    if (OnMouseDownEvent) OnMouseDownEvent(this, IDName, X, Y, ObjectRect, Button);
}

void TspCorvalis::DoObjectMouseUp(const std::string& IDName, Integer X, Integer Y, const TRect& ObjectRect,
                                  TMouseButton Button)
{
    if (OnMouseUpEvent) OnMouseUpEvent(this, IDName, X, Y, ObjectRect, Button);
}

void TspCorvalis::DoObjectMouseMove(const std::string& IDName, Integer X, Integer Y, const TRect& ObjectRect)
{
    if (OnMouseMoveEvent) OnMouseMoveEvent(this, IDName, X, Y, ObjectRect);
}

void TspCorvalis::DoObjectMouseEnter(const std::string& IDName)
{
    if (OnMouseEnterEvent) OnMouseEnterEvent(this, IDName);
}

void TspCorvalis::DoObjectMouseLeave(const std::string& IDName)
{
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(this, IDName);
}

bool TspCorvalis::PopupObjectMenu(TMenuItem* AItem, const TRect& AScreenRect, bool APopupUp)
{
    // Menus open through the form's menu engine; a menu that opens no level opens nothing.
    TspFormMenus* menus = FormMenusOf(this);
    return menus && AItem && menus->PopupItems(nullptr, menus->MenuSkin(), AItem, AScreenRect, APopupUp);
}

void TspCorvalis::RunCaptionCommand(TStdCommand ACommand, TspActiveSkinObject* AObject)
{
    auto reset = [this] { TrackActiveObject(-1, -1, false); };
    switch (ACommand) {
    case cmClose:
        reset();
        FForm->Close();
        break;
    case cmMaximize:
        reset();
        if (FSupportNCArea) AObject->HideLayer();
        SetWindowState(FWindowState == wsMaximized ? wsNormal : wsMaximized);
        break;
    case cmMinimize:
        reset();
        if (FAlwaysMinimizeToTray) {
            if (TspFormMenus* menus = FormMenusOf(this)) menus->MinimizeToTray();
        } else if (FSupportNCArea) {
            AObject->HideLayer();
            SetWindowState(FWindowState == wsMinimized ? wsNormal : wsMinimized);
        } else {
            SetWindowState(wsMinimized);
        }
        break;
    case cmRollUp: SetRollUpState(!FRollUpState); break;
    case cmMinimizeToTray:
        reset();
        if (TspFormMenus* menus = FormMenusOf(this)) menus->MinimizeToTray();
        break;
    case cmSysMenu:
    case cmDefault: break;
    }
}
