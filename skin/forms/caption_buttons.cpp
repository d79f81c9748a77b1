#include "skin/forms/caption_buttons.h"

#include "platform/gui/bitmap.h"
#include "skin/controls/plain_look.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/layer_window.h"
#include "skin/core/rect_helpers.h"
#include "skin/forms/menu_mode.h"
#include "skin/forms/skin_form.h"

// --- Push buttons ---

TspSkinButtonObject::TspSkinButtonObject(TspCorvalis* AParent, TspDataSkinButton* AData)
    : TspActiveSkinObject(AParent, AData)
{
    if (!AData) return;
    GroupIndex = AData->GroupIndex;
    DownRect = AData->DownRect;
    DisableSkinRect = AData->DisableSkinRect;
}

void TspSkinButtonObject::SetDown(bool Value)
{
    FDown = Value;
    const bool morph = EnableMorphing();
    if (MenuItem && IsEmptyRect(DownRect)) {
        if (Value) {
            FMouseIn = true;
            Active = true;
            if (morph) SetMorphKf(1);
            Parent->DrawSkinObject(this);
        } else {
            Parent->DrawSkinObject(this);
            if (morph) RedrawState();
        }
    }
    if (IsEmptyRect(DownRect)) {
        if (Value) ReleaseGroupButtons();
        return;
    }
    if (Value) {
        if (morph) SetMorphKf(1);
        Parent->DrawSkinObject(this);
        ReleaseGroupButtons();
    } else {
        if (GroupIndex != -1 || MenuItem) Active = false;
        if (morph) Parent->DrawSkinObject(this);
        RedrawState();
    }
}

void TspSkinButtonObject::ReleaseGroupButtons()
{
    if (GroupIndex == -1) return;
    for (Integer i = 0; i < Parent->ObjectCount(); ++i) {
        auto* other = dynamic_cast<TspSkinButtonObject*>(Parent->Objects(i));
        if (other && other != this && other->GroupIndex == GroupIndex && other->Down()) {
            other->SetDown(false);
            return;
        }
    }
}

void TspSkinButtonObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!SkinLoaded()) return;
    if (!Enabled) {
        if (!IsEmptyRect(DisableSkinRect))
            CopyPart(Cnvs, ActivePicture, DisableSkinRect);
        else
            DrawDimmed(Cnvs);
        return;
    }
    if (FDown && !IsEmptyRect(DownRect) && (GroupIndex != -1 || FMouseIn)) {
        CopyPart(Cnvs, ActivePicture, DownRect);
        return;
    }
    TspActiveSkinObject::Draw(Cnvs, UpDate);
}

void TspSkinButtonObject::MouseDown(Integer X, Integer Y, TMouseButton Button)
{
    if (!Enabled) return;
    if (Button == mbLeft && !FDown) {
        SetDown(true);
        ShowButtonMenu();
    }
    TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button)
{
    if (!Enabled) return;
    if (Button == mbLeft && FDown && !MenuItem && GroupIndex == -1) SetDown(false);
    TspActiveSkinObject::MouseUp(X, Y, Button);
}

void TspSkinButtonObject::MouseEnter()
{
    FMouseIn = true;
    Active = true;
    if (!FDown || IsEmptyRect(DownRect)) {
        if (!IsEmptyRect(ActiveSkinRect)) RedrawState();
        if (MenuItem) ShowLayer();
    } else if (GroupIndex == -1) {
        Parent->DrawSkinObject(this);
    }
    Parent->DoObjectMouseEnter(IDName);
    if (!MenuItem) ShowLayer();
}

void TspSkinButtonObject::MouseLeave()
{
    FMouseIn = false;
    const bool downWithDownRect = FDown && !IsEmptyRect(DownRect);
    if (FDown && MenuItem && IsEmptyRect(DownRect)) {
        Active = false;
    } else if (downWithDownRect && (MenuItem || GroupIndex != -1)) {
        // Keeps its pressed look.
    } else {
        Active = false;
        if (EnableMorphing() && FDown) SetMorphKf(1);
        if (!IsEmptyRect(ActiveSkinRect) || (!IsEmptyRect(DownRect) && GroupIndex == -1)) RedrawState();
        if (MenuItem) HideLayer();
    }
    Parent->DoObjectMouseLeave(IDName);
    if (!MenuItem) HideLayer();
}

bool TspSkinButtonObject::CanMorphing()
{
    if (MenuItem && FDown) return false;
    return TspActiveSkinObject::CanMorphing();
}

void TspSkinButtonObject::ShowLayer() { ShowLayerWith(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager); }
void TspSkinButtonObject::HideLayer() { HideLayerWith(MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager); }

void TspSkinButtonObject::ShowButtonMenu()
{
    if (!MenuItem || MenuItem->Count() == 0) return;
    if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
    if (FMouseIn) ShowLayer();
    Parent->PopupObjectMenu(MenuItem, ScreenRect(), FPopupUp);
}

// --- Caption buttons ---

TspSkinStdButtonObject::TspSkinStdButtonObject(TspCorvalis* AParent, TspDataSkinStdButton* AData)
    : TspSkinButtonObject(AParent, AData)
{
    if (!AData) return;
    FSkinSupport = true;
    Command = AData->Command;
    RestoreRect = AData->RestoreRect;
    RestoreActiveRect = AData->RestoreActiveRect;
    RestoreDownRect = AData->RestoreDownRect;
    RestoreInActiveRect = AData->RestoreInActiveRect;
    RestoreHint = AData->RestoreHint;
    FTempHint = AData->Hint;
    AlphaMaskPictureIndex = AData->AlphaMaskPictureIndex;
    AlphaMaskActivePictureIndex = AData->AlphaMaskActivePictureIndex;
    AlphaMaskInActivePictureIndex = AData->AlphaMaskInActivePictureIndex;
}

bool TspSkinStdButtonObject::InRestoreState() const
{
    switch (Command) {
    case cmMaximize: return Parent->WindowState() == wsMaximized;
    case cmMinimize: return Parent->WindowState() == wsMinimized;
    case cmRollUp: return Parent->RollUpState();
    default: return false;
    }
}

bool TspSkinStdButtonObject::ShowsCaptionIcon() const
{
    return Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture;
}

bool TspSkinStdButtonObject::PtInMask(Integer X, Integer Y)
{
    if (FSkinSupport && ShowsCaptionIcon()) return true;
    return TspSkinButtonObject::PtInMask(X, Y);
}

void TspSkinStdButtonObject::ShowLayer()
{
    if (ShowsCaptionIcon()) return;
    if (FSkinSupport && !Parent->FFormActive && !IsEmptyRect(InActiveSkinRect)) return;
    TspSkinButtonObject::ShowLayer();
}

void TspSkinStdButtonObject::HideLayer()
{
    if (ShowsCaptionIcon()) return;
    if (FSkinSupport && !Parent->FFormActive && !IsEmptyRect(InActiveSkinRect)) return;
    TspSkinButtonObject::HideLayer();
}

bool TspSkinStdButtonObject::CanMorphing()
{
    if (ShowsCaptionIcon()) return false;
    return TspSkinButtonObject::CanMorphing();
}

void TspSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (!SkinLoaded()) return;
    if (ShowsCaptionIcon()) {
        Parent->DrawCaptionIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        SetMorphKf(0);
        return;
    }
    const bool restore = InRestoreState();
    if (!Enabled || (!Parent->GetFormActive() && !IsEmptyRect(InActiveSkinRect) && !restore) ||
        IsEmptyRect(RestoreRect) || !restore) {
        TspSkinButtonObject::Draw(Cnvs, UpDate);
        return;
    }
    DrawRestoreState(Cnvs);
}

void TspSkinStdButtonObject::DrawRestoreState(TCanvas* Cnvs)
{
    if (!Parent->FFormActive && !IsEmptyRect(RestoreInActiveRect)) {
        CopyPart(Cnvs, ActivePicture, RestoreInActiveRect);
    } else if (FDown && FMouseIn && !IsEmptyRect(RestoreDownRect)) {
        CopyPart(Cnvs, ActivePicture, RestoreDownRect);
    } else if (EnableMorphing() && !IsEmptyRect(RestoreActiveRect) &&
               ((Active && MorphKf() != 1) || (!Active && MorphKf() != 0))) {
        DrawMorph(Cnvs, ActivePicture, RestoreRect, RestoreActiveRect);
    } else if (Active && !IsEmptyRect(RestoreActiveRect)) {
        CopyPart(Cnvs, ActivePicture, RestoreActiveRect);
    } else {
        CopyPart(Cnvs, ActivePicture, RestoreRect);
    }
}

void TspSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs)
{
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        Parent->DrawCaptionIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    if (w <= 0 || h <= 0) return;
    TBitmap face(w, h, pf24bit);
    TCanvas* c = face.Canvas();
    const TRect all = Rect(0, 0, w, h);
    const bool pressed = FDown && FMouseIn;
    if (FMouseIn) {
        DrawPlainPart(c, all, pressed ? TspPartLook::Pressed : TspPartLook::Hot);
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(all);
    }
    const TColor color = Enabled ? clBtnText : clBtnShadow;
    const Integer x = w / 2 - 5 + (pressed ? 1 : 0);
    const Integer y = h / 2 - 4 + (pressed ? 1 : 0);
    switch (Command) {
    case cmClose: DrawCloseGlyph(c, x, y, color); break;
    case cmMaximize:
        if (Parent->WindowState() == wsMaximized)
            DrawRestoreGlyph(c, x, y, color);
        else
            DrawMaximizeGlyph(c, x, y, color);
        break;
    case cmMinimize:
        if (Parent->WindowState() == wsMinimized)
            DrawRestoreGlyph(c, x, y, color);
        else
            DrawMinimizeGlyph(c, x, y, color);
        break;
    case cmSysMenu: DrawSysMenuGlyph(c, x, y, color); break;
    case cmRollUp:
        if (Parent->RollUpState())
            DrawRollDownGlyph(c, x, y, color);
        else
            DrawRollUpGlyph(c, x, y, color);
        break;
    case cmMinimizeToTray: DrawTrayGlyph(c, x, y, color); break;
    case cmDefault: break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &face);
}

void TspSkinStdButtonObject::MouseEnter()
{
    if (Command != cmDefault) Hint = !RestoreHint.empty() && InRestoreState() ? RestoreHint : FTempHint;
    TspSkinButtonObject::MouseEnter();
}

void TspSkinStdButtonObject::MouseDown(Integer /*X*/, Integer /*Y*/, TMouseButton Button)
{
    if (Button != mbLeft || !Enabled || FDown) return;
    if (Command == cmSysMenu)
        if (TspFormMenus* menus = FormMenusOf(Parent)) MenuItem = menus->GetSystemMenuItems();
    SetDown(true);
    if (Command == cmSysMenu) ShowButtonMenu();
}

void TspSkinStdButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button)
{
    if (Command == cmClose) {
        // Closing may free the form: the button's own release comes first.
        TspSkinButtonObject::MouseUp(X, Y, Button);
        if (Active && Button == mbLeft) DoCommand();
        return;
    }
    if (Active && Button == mbLeft) DoCommand();
    TspSkinButtonObject::MouseUp(X, Y, Button);
}

void TspSkinStdButtonObject::DblClick()
{
    if (Command == cmSysMenu) Parent->Form()->Close();
}

void TspSkinStdButtonObject::DoCommand() { Parent->RunCaptionCommand(Command, this); }
