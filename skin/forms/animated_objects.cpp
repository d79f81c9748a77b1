#include "skin/forms/animated_objects.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "skin/controls/button_look.h"
#include "skin/forms/caption_buttons.h"
#include "skin/core/layer_window.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"

using namespace win;

namespace {
constexpr Integer kAnimateTick = 25;
}  // namespace

// --- Animation ---

TspSkinAnimateObject::TspSkinAnimateObject(TspCorvalis* AParent, TspDataSkinAnimate* AData)
    : TspActiveSkinObject(AParent, AData)
{
    TimerInterval = std::max(AData->TimerInterval, kAnimateTick);
    CountFrames = AData->CountFrames;
    Cycle = AData->Cycle;
    ButtonStyle = AData->ButtonStyle;
    Command = AData->Command;
    DownSkinRect = AData->DownSkinRect;
    RestoreRect = AData->RestoreRect;
    RestoreActiveRect = AData->RestoreActiveRect;
    RestoreInActiveRect = AData->RestoreInActiveRect;
    RestoreDownRect = AData->RestoreDownRect;
    RestoreHint = AData->RestoreHint;
    FTempHint = AData->Hint;
}

bool TspSkinAnimateObject::InRestoreState() const
{
    if (IsEmptyRect(RestoreRect)) return false;
    switch (Command) {
    case cmMaximize: return Parent->WindowState() == wsMaximized;
    case cmMinimize: return Parent->WindowState() == wsMinimized;
    case cmRollUp: return Parent->RollUpState();
    default: return false;
    }
}

TRect TspSkinAnimateObject::CurrentDownRect() const { return InRestoreState() ? RestoreDownRect : DownSkinRect; }

bool TspSkinAnimateObject::PausedByPress() const { return FDown && !IsEmptyRect(CurrentDownRect()); }

void TspSkinAnimateObject::SetFrame(Integer Value)
{
    if (Increment && Value > CountFrames) Value = 1;
    if (!Increment && Value <= 0) Value = CountFrames;
    FFrame = Value;
    Parent->DrawSkinObject(this);
}

bool TspSkinAnimateObject::ChangeFrame()
{
    if (FInc < TimerInterval) {
        FInc += kAnimateTick;
        return false;
    }
    if (Increment) {
        SetFrame(FFrame + 1);
        if (!Cycle && FFrame == CountFrames) Active = false;
    } else {
        SetFrame(FFrame - 1);
        if (FFrame == 1) Active = false;
    }
    FInc = kAnimateTick;
    return true;
}

void TspSkinAnimateObject::Start()
{
    FInc = kAnimateTick;
    FFrame = 1;
    Active = true;
    Parent->AnimateTimer->SetEnabled(true);
}

void TspSkinAnimateObject::Stop()
{
    SetFrame(1);
    Active = false;
    FInc = kAnimateTick;
}

void TspSkinAnimateObject::Draw(TCanvas* Cnvs, bool /*UpDate*/)
{
    if (!SkinLoaded() || !ActivePicture) return;
    const bool restore = InRestoreState();
    const TRect n = restore ? RestoreRect : SkinRect;
    const TRect a = restore ? RestoreActiveRect : ActiveSkinRect;
    const TRect d = restore ? RestoreDownRect : DownSkinRect;
    const TRect i = restore ? RestoreInActiveRect : InActiveSkinRect;
    auto frame = [&](Integer F) { return Bounds(a.Left + (F - 1) * WidthOfRect(n), a.Top, WidthOfRect(n), HeightOfRect(n)); };
    TRect part;
    if (FMenuTracking) {
        if (!IsEmptyRect(d)) {
            part = d;
        } else {
            FFrame = CountFrames;
            part = frame(FFrame);
        }
    } else if (!Parent->GetFormActive() && !IsEmptyRect(i)) {
        part = i;
    } else if (FDown && FMouseIn && !IsEmptyRect(d)) {
        part = d;
    } else {
        part = frame(FFrame);
    }
    CopyPart(Cnvs, ActivePicture, part);
}

void TspSkinAnimateObject::PlayOrRedraw()
{
    if (FDown && !IsEmptyRect(CurrentDownRect()))
        Parent->DrawSkinObject(this);
    else
        Parent->AnimateTimer->SetEnabled(true);
}

void TspSkinAnimateObject::MouseEnter()
{
    if (Command != cmDefault) Hint = !RestoreHint.empty() && InRestoreState() ? RestoreHint : FTempHint;
    FMouseIn = true;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = true;
        Increment = true;
        PlayOrRedraw();
    }
    Parent->DoObjectMouseEnter(IDName);
    ShowLayer();
}

void TspSkinAnimateObject::MouseLeave()
{
    if (!FMouseIn) return;
    FMouseIn = false;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = true;
        Increment = false;
        PlayOrRedraw();
    }
    Parent->DoObjectMouseLeave(IDName);
    HideLayer();
}

void TspSkinAnimateObject::MouseDown(Integer X, Integer Y, TMouseButton Button)
{
    TspActiveSkinObject::MouseDown(X, Y, Button);
    if (Button != mbLeft) return;
    if (!IsEmptyRect(CurrentDownRect())) {
        FFrame = CountFrames;
        FDown = true;
        Parent->DrawSkinObject(this);
    }
    if (Command == cmSysMenu && ButtonStyle && FMouseIn) DoCommand();
}

void TspSkinAnimateObject::MouseUp(Integer X, Integer Y, TMouseButton Button)
{
    TspActiveSkinObject::MouseUp(X, Y, Button);
    if (FMenuTracking || Button != mbLeft) return;
    if (!IsEmptyRect(CurrentDownRect())) {
        FDown = false;
        Parent->DrawSkinObject(this);
        Parent->AnimateTimer->SetEnabled(true);
    }
    if (ButtonStyle && Command != cmSysMenu && FMouseIn) DoCommand();
}

void TspSkinAnimateObject::DblClick()
{
    if (Command == cmSysMenu) Parent->Form()->Close();
}

void TspSkinAnimateObject::ShowLayer()
{
    ShowLayerWith(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager);
}

void TspSkinAnimateObject::HideLayer()
{
    HideLayerWith(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager);
}

void TspSkinAnimateObject::DoCommand()
{
    switch (Command) {
    case cmSysMenu:
        if (TspFormMenus* menus = FormMenusOf(Parent)) MenuItem = menus->GetSystemMenuItems();
        ShowAnimateMenu();
        break;
    case cmDefault:
        if (MenuItem) ShowAnimateMenu();
        break;
    default: Parent->RunCaptionCommand(Command, this); break;
    }
}

void TspSkinAnimateObject::ShowAnimateMenu()
{
    if (!MenuItem || MenuItem->Count() == 0) return;
    FMenuTracking = true;
    if (Parent->FLayerManager && Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager && Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
    if (FMouseIn) ShowLayer();
    // A menu that opens nothing sends no close: the object must not stay in menu tracking.
    if (!Parent->PopupObjectMenu(MenuItem, ScreenRect(), FPopupUp)) FMenuTracking = false;
}

void TspSkinAnimateObject::MenuClosed()
{
    Active = true;
    FFrame = CountFrames;
    FDown = false;
    FMenuTracking = false;
    Increment = false;
    Parent->AnimateTimer->SetEnabled(true);
}

// --- Main-menu item ---

TspSkinMainMenuItem::TspSkinMainMenuItem(TspCorvalis* AParent, TspDataSkinMainMenuItem* AData)
    : TspActiveSkinObject(AParent, AData)
{
    FontName = AData->FontName;
    FontHeight = AData->FontHeight;
    FontStyle = AData->FontStyle;
    UnEnabledFontColor = AData->UnEnabledFontColor;
    FontColor = AData->FontColor;
    ActiveFontColor = AData->ActiveFontColor;
    DownFontColor = AData->DownFontColor;
    TextRct = AData->TextRct;
    DownRect = AData->DownRect;
    LO = AData->ItemLO;
    RO = AData->ItemRO;
    if (IsEmptyRect(DownRect)) DownRect = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    if (IsEmptyRect(ActiveSkinRect)) Morphing = false;
    OldEnabled = Enabled;
}

void TspSkinMainMenuItem::SetItemFont(TCanvas* ACanvas) const
{
    ACanvas->Font()->SetName(FontName);
    ACanvas->Font()->SetHeight(FontHeight);
    ACanvas->Font()->SetStyle(FontStyle);
}

TRect TspSkinMainMenuItem::CalcItemRect(TCanvas* ACanvas)
{
    TRect text = Rect(0, 0, 0, 0);
    if (MenuItem) {
        SetItemFont(ACanvas);
        UINT flags = DT_CALCRECT | DT_CENTER;
        if (Parent->Form()->BiDiMode() != bdLeftToRight) flags |= DT_RTLREADING;
        DrawText(ACanvas->Handle(), MenuItem->Caption(), &text, flags);
    }
    const Integer w = WidthOfRect(SkinRect) - WidthOfRect(TextRct) + WidthOfRect(text) + 2;
    Integer left = 0;
    for (Integer i = 0; i < Parent->ObjectCount(); ++i) {
        TspActiveSkinObject* o = Parent->Objects(i);
        if (o == this) break;
        if (dynamic_cast<TspSkinMainMenuItem*>(o)) left = o->ObjectRect.Right;
    }
    if (left == 0) left = Parent->NewMainMenuRect.Left;
    return Bounds(left, Parent->NewMainMenuRect.Top, w, HeightOfRect(SkinRect));
}

void TspSkinMainMenuItem::PaintImage(TBitmap* AImage, const TRect& R, bool AActive)
{
    const Integer w = AImage->Width(), h = AImage->Height();
    TCanvas* c = AImage->Canvas();
    if (ActivePicture && !IsEmptyRect(R)) {
        TCanvas* src = ActivePicture->Canvas();
        if (LO > 0) c->CopyRect(Rect(0, 0, LO, h), src, Rect(R.Left, R.Top, R.Left + LO, R.Top + h));
        if (RO > 0) c->CopyRect(Rect(w - RO, 0, w, h), src, Rect(R.Right - RO, R.Top, R.Right, R.Top + h));
        const Integer middle = WidthOfRect(R) - LO - RO;
        if (middle > 0)
            for (Integer x = LO; x < w - RO; x += middle) {
                const Integer piece = std::min(middle, w - RO - x);
                c->CopyRect(Rect(x, 0, x + piece, h), src, Rect(R.Left + LO, R.Top, R.Left + LO + piece, R.Top + h));
            }
    }
    if (!MenuItem) return;
    c->Brush()->SetStyle(bsClear);
    SetItemFont(c);
    TColor color = UnEnabledFontColor;
    if (FDown)
        color = DownFontColor;
    else if (AActive)
        color = ActiveFontColor;
    else if (MenuItem->Enabled())
        color = FontColor;
    c->Font()->SetColor(color);
    UINT rtl = Parent->Form()->BiDiMode() != bdLeftToRight ? DT_RTLREADING : 0;
    TRect text = Rect(0, 0, 0, 0);
    DrawText(c->Handle(), MenuItem->Caption(), &text, DT_CALCRECT | DT_CENTER | rtl);
    text = Bounds(TextRct.Left, TextRct.Top, WidthOfRect(text) + 2, HeightOfRect(TextRct));
    // The prefix character is drawn underlined: no DT_NOPREFIX.
    DrawText(c->Handle(), MenuItem->Caption(), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | rtl);
}

void TspSkinMainMenuItem::Draw(TCanvas* Cnvs, bool /*UpDate*/)
{
    if (IsEmptyRect(SkinRect) || IsEmptyRect(TextRct) || !SkinLoaded()) return;
    ObjectRect = CalcItemRect(Cnvs);
    if (ObjectRect.Right > Parent->NewMainMenuRect.Right) {
        // No room: disabled and not drawn until there is room again.
        if (FFits) {
            OldEnabled = Enabled;
            Enabled = false;
            FFits = false;
        }
        return;
    }
    if (!FFits) {
        FFits = true;
        Enabled = OldEnabled;
    }
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    if (w <= 0 || h <= 0) return;
    TBitmap image(w, h, pf24bit);
    const TRect hot = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    if (FDown) {
        PaintImage(&image, DownRect, true);
    } else if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0))) {
        DrawHotFadeFrame(&image, MorphKind, FMorphKf, [&](TBitmap* ATarget, bool AHot) {
            PaintImage(ATarget, AHot ? hot : SkinRect, AHot);
        });
    } else if (Active) {
        PaintImage(&image, hot, true);
    } else {
        PaintImage(&image, SkinRect, false);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspSkinMainMenuItem::PopupItemMenu()
{
    if (!MenuItem) return;
    TspFormMenus* menus = FormMenusOf(Parent);
    if (!menus) return;
    TspSkinData* skin = menus->MenuSkin();
    const bool up = Parent->SkinData() && Parent->SkinData()->MainMenuPopupUp;
    menus->PopupItems(nullptr, skin, MenuItem, ScreenRect(), up);
}

void TspSkinMainMenuItem::SetItemDown(bool Value)
{
    if (Value) {
        FDown = true;
        Parent->DrawSkinObject(this);
        if (!Parent->InMainMenu) {
            Parent->InMainMenu = true;
            if (Parent->OnMainMenuEnter) Parent->OnMainMenuEnter(Parent);
        }
        PopupItemMenu();
        return;
    }
    FDown = false;
    Active = false;
    if (EnableMorphing()) SetMorphKf(1);
    RedrawState();
}

bool TspSkinMainMenuItem::ReleaseOtherItems()
{
    for (Integer i = 0; i < Parent->ObjectCount(); ++i) {
        auto* other = dynamic_cast<TspSkinMainMenuItem*>(Parent->Objects(i));
        if (other && other != this && other->FDown) {
            other->SetItemDown(false);
            return true;
        }
    }
    return false;
}

void TspSkinMainMenuItem::LeaveOtherItems()
{
    for (Integer i = 0; i < Parent->ObjectCount(); ++i) {
        auto* other = dynamic_cast<TspSkinMainMenuItem*>(Parent->Objects(i));
        if (other && other != this && other->Active) {
            other->MouseLeave();
            return;
        }
    }
}

void TspSkinMainMenuItem::MouseEnter()
{
    if (ReleaseOtherItems()) {
        // A menu was open: it moves to this item without a click.
        Active = FMouseIn = true;
        if (EnableMorphing()) SetMorphKf(1);
        SetItemDown(true);
        return;
    }
    LeaveOtherItems();
    FMouseIn = Active = true;
    RedrawState();
}

void TspSkinMainMenuItem::MouseLeave()
{
    Active = FMouseIn = false;
    if (FDown && EnableMorphing()) SetMorphKf(0);
    RedrawState();
    Parent->DoObjectMouseLeave(IDName);
}

void TspSkinMainMenuItem::MouseDown(Integer X, Integer Y, TMouseButton Button)
{
    if (!Enabled) return;
    if (Button == mbLeft && MenuItem) {
        if (MenuItem->Count() > 0) {
            SetItemDown(true);
        } else {
            SetItemDown(false);
            if (TspFormMenus* menus = FormMenusOf(Parent)) menus->InMenu = false;
            if (TMenu* menu = MenuItem->GetParentMenu()) menu->DispatchCommand(MenuItem->Command());
        }
    }
    TspActiveSkinObject::MouseDown(X, Y, Button);
}

// --- The form's side ---

void TspCorvalis::AnimateStart(const std::string& AIDName)
{
    const Integer i = GetIndex(AIDName);
    if (i < 0) return;
    if (auto* o = dynamic_cast<TspSkinAnimateObject*>(Objects(i))) o->Start();
}

void TspCorvalis::AnimateStop(const std::string& AIDName)
{
    const Integer i = GetIndex(AIDName);
    if (i < 0) return;
    if (auto* o = dynamic_cast<TspSkinAnimateObject*>(Objects(i))) o->Stop();
}

void TspCorvalis::LinkMenu(const std::string& AIDName, TMenu* AMenu, bool APopupUp)
{
    const Integer i = GetIndex(AIDName);
    if (i < 0 || !AMenu) return;
    if (auto* button = dynamic_cast<TspSkinButtonObject*>(Objects(i))) {
        button->MenuItem = AMenu->Items();
        button->FPopupUp = APopupUp;
    } else if (auto* animate = dynamic_cast<TspSkinAnimateObject*>(Objects(i)); animate && animate->ButtonStyle) {
        animate->MenuItem = AMenu->Items();
        animate->FPopupUp = APopupUp;
    }
}

bool TspCorvalis::StepAnimateObjects()
{
    bool running = false;
    for (Integer i = 0; i < ObjectCount(); ++i) {
        auto* o = dynamic_cast<TspSkinAnimateObject*>(Objects(i));
        if (!o || !o->Active || o->PausedByPress()) continue;
        o->ChangeFrame();
        // An object waiting for its interval still runs.
        running = running || o->Active;
    }
    return running;
}

void TspCorvalis::AnimateMenuClosed()
{
    for (Integer i = 0; i < ObjectCount(); ++i)
        if (auto* o = dynamic_cast<TspSkinAnimateObject*>(Objects(i)); o && o->MenuItem && o->MenuTracking()) {
            o->MenuClosed();
            break;
        }
    for (Integer i = 0; i < ObjectCount(); ++i)
        if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(Objects(i)); item && item->Down()) {
            item->SetItemDown(false);
            break;
        }
    InMainMenu = false;
}

bool TspCorvalis::MainMenuOnBar()
{
    TspFormMenus* menus = FormMenusOf(this);
    return MainMenuShownElsewhere || (menus && menus->MainMenuBar);
}

void TspCorvalis::CreateMainMenuItems()
{
    if (!FMainMenu || !FSD || MainMenuOnBar()) return;
    const Integer index = FSD->GetIndex("MAINMENUITEM");
    if (index < 0) return;
    auto* data = dynamic_cast<TspDataSkinMainMenuItem*>(FSD->ObjectList[static_cast<size_t>(index)].get());
    if (!data) return;
    TMenuItem* items = FMainMenu->Items();
    for (Integer i = 0; i < items->Count(); ++i) {
        TMenuItem* item = items->Items(i);
        if (!item->Visible()) continue;
        auto object = std::make_unique<TspSkinMainMenuItem>(this, data);
        object->IDName = item->Name();
        object->Enabled = item->Enabled();
        object->MenuItem = item;
        ObjectList.push_back(std::move(object));
    }
}

void TspCorvalis::UpdateMainMenu(bool ARedraw)
{
    while (!ObjectList.empty() && dynamic_cast<TspSkinMainMenuItem*>(ObjectList.back().get())) ObjectList.pop_back();
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    CreateMainMenuItems();
    if (!ARedraw || !FForm->HandleAllocated()) return;
    if (FSupportNCArea)
        SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    else
        InvalidateRect(FForm->Handle(), &NewMainMenuRect, TRUE);
}
