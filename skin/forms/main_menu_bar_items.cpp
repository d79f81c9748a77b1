// The objects of the main-menu bar: the shared hot, morph and redraw behaviour, and the top-level item with its
// looks (skin picture strip, morph, frame animation, plain look), its drop-down and its click.
#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/forms.h"
#include "skin/controls/button_look.h"
#include "skin/core/glyph_text.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_records.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/main_menu_bar.h"
#include "skin/forms/menu_engine.h"

using namespace win;

// ---- the shared object ----

TspMenuBarObject::TspMenuBarObject(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData) : Parent(AParent)
{
    if (!AData) return;
    IDName = AData->IDName;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    ObjectRect = AData->SkinRect;
    if (TspSkinData* skin = Parent->SkinData()) Picture = skin->ActivePicture(AData->ActivePictureIndex);
}

bool TspMenuBarObject::EnableMorphing()
{
    TspSkinData* skin = Parent->SkinData();
    return Morphing && skin && skin->EnableSkinEffects;
}

void TspMenuBarObject::SetMorphKf(double Value)
{
    FMorphKf = std::clamp(Value, 0.0, 1.0);
}

bool TspMenuBarObject::CanMorphing()
{
    return (!FDown || IsEmptyRect(DownRect)) && ((Active && FMorphKf < 1) || (!Active && FMorphKf > 0));
}

void TspMenuBarObject::DoMorphing()
{
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Parent->DrawObject(this);
}

void TspMenuBarObject::RedrawState()
{
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawObject(this);
}

void TspMenuBarObject::MouseEnter()
{
    FMouseIn = true;
    Active = true;
    RedrawState();
}

void TspMenuBarObject::MouseLeave()
{
    FMouseIn = false;
    Active = false;
    RedrawState();
}

// ---- the item ----

TspSkinMainMenuBarItem::TspSkinMainMenuBarItem(TspSkinMainMenuBar* AParent, TspDataSkinMainMenuItem* AData)
    : TspMenuBarObject(AParent, AData)
{
    if (AData) {
        FSkinSupport = true;
        FontName = AData->FontName;
        FontHeight = AData->FontHeight;
        FontStyle = AData->FontStyle;
        UnEnabledFontColor = AData->UnEnabledFontColor;
        FontColor = AData->FontColor;
        ActiveFontColor = AData->ActiveFontColor;
        DownFontColor = AData->DownFontColor;
        TextRct = AData->TextRct;
        ItemDownRect = AData->DownRect;
        LO = AData->ItemLO;
        RO = AData->ItemRO;
        StretchEffect = AData->StretchEffect;
        AnimateSkinRect = AData->AnimateSkinRect;
        FrameCount = AData->FrameCount;
        AnimateInterval = AData->AnimateInterval;
        InActiveAnimation = AData->InActiveAnimation;
        if (IsEmptyRect(ItemDownRect)) ItemDownRect = IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
        if (IsEmptyRect(ActiveSkinRect)) Morphing = false;
    }
    OldEnabled = Enabled;
    Fits = true;
    CurrentFrame = 0;
}

// A strip without frames plays nothing (a skin file may say FrameCount 0).
bool TspSkinMainMenuBarItem::EnableAnimation()
{
    TspSkinData* skin = Parent->SkinData();
    return !IsEmptyRect(AnimateSkinRect) && FrameCount > 0 && skin && !skin->Empty && skin->EnableSkinEffects;
}

void TspSkinMainMenuBarItem::RedrawState()
{
    if (EnableAnimation()) {
        Parent->AnimateTimer->SetInterval(static_cast<Cardinal>(std::max(AnimateInterval, 1)));
        Parent->AnimateTimer->SetEnabled(true);
    } else {
        TspMenuBarObject::RedrawState();
    }
}

void TspSkinMainMenuBarItem::SetItemFont(TCanvas* C)
{
    Parent->SetItemFont(C, this);
}

void TspSkinMainMenuBarItem::Place(TCanvas* AMeasure, Integer APrevRight)
{
    if (FSkinSupport && Parent->HasRecord() && (IsEmptyRect(SkinRect) || IsEmptyRect(TextRct))) return;
    const TRect& area = Parent->NewItemsRect;
    const Integer left = APrevRight == 0 ? area.Left : APrevRight;
    SetItemFont(AMeasure);
    TRect text = Rect(0, 0, 0, 0);
    DrawWideText(AMeasure, Utf8ToWide(MenuItem->Caption()), text, DT_CALCRECT | DT_CENTER);
    if (FSkinSupport && Parent->HasRecord())
        ObjectRect = Rect(left, area.Top, left + SkinRect.Width() - TextRct.Width() + text.Width() + 2,
                          area.Top + SkinRect.Height());
    else
        ObjectRect = Rect(left, area.Top, left + text.Width() + 12, area.Bottom);
    const Integer limit = Parent->ScrollMenu() ? area.Right - 5 : area.Right;
    if (ObjectRect.Right > limit) {
        Parent->Scroll = true;
        if (Fits) {
            OldEnabled = Enabled;
            Enabled = false;
            Fits = false;
        }
    } else if (!Fits) {
        Fits = true;
        Enabled = OldEnabled;
    }
}

TRect TspSkinMainMenuBarItem::AnimationFrameRect() const
{
    const Integer frame = std::clamp(CurrentFrame, 1, FrameCount);
    const TRect& strip = AnimateSkinRect;
    if (strip.Height() > SkinRect.Height()) {
        const Integer h = strip.Height() / FrameCount;
        return Rect(strip.Left, strip.Top + (frame - 1) * h, strip.Right, strip.Top + frame * h);
    }
    const Integer w = strip.Width() / FrameCount;
    return Rect(strip.Left + (frame - 1) * w, strip.Top, strip.Left + frame * w, strip.Bottom);
}

void TspSkinMainMenuBarItem::DrawText(TCanvas* C, TColor AColor, bool ASelected)
{
    SetItemFont(C);
    C->Font()->SetColor(AColor);
    C->Brush()->SetStyle(bsClear);
    const WideString caption = Utf8ToWide(MenuItem->Caption());
    TRect r = TextRct;
    DrawWideText(C, caption, r, DT_CALCRECT | DT_CENTER);
    r.Right += 2;
    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, C, r, ASelected);
        return;
    }
    DrawWideText(C, caption, r, DT_CENTER | DT_VCENTER);
}

void TspSkinMainMenuBarItem::DrawLook(TBitmap* B, TCanvas* Target, const TRect& ALook, bool AHotText,
                                      bool AHotStretch)
{
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    B->SetSize(w, h);
    if (Parent->ItemTransparent && ALook == SkinRect)
        B->Canvas()->CopyRect(Rect(0, 0, w, h), Target, ObjectRect);
    else if (Picture)
        BuildHStripImage(LO, RO, B, Picture, ALook, w, h, AHotStretch && StretchEffect);
    TColor color;
    if (FDown)
        color = DownFontColor;
    else if (AHotText)
        color = ActiveFontColor;
    else
        color = MenuItem->Enabled() ? FontColor : UnEnabledFontColor;
    DrawText(B->Canvas(), color, AHotText);
}

void TspSkinMainMenuBarItem::Draw(TCanvas* Cnvs)
{
    if (!Fits) return;
    if (!FSkinSupport || !Parent->HasRecord()) {
        DefaultDraw(Cnvs);
        return;
    }
    if (IsEmptyRect(SkinRect) || IsEmptyRect(TextRct)) return;
    TBitmap image(std::max(ObjectRect.Width(), 1), std::max(ObjectRect.Height(), 1));
    if (FDown) {
        DrawLook(&image, Cnvs, ItemDownRect, true, true);
    } else if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
        DrawLook(&image, Cnvs, AnimationFrameRect(), true, true);
    } else if (!EnableMorphing() || EnableAnimation() || (Active && FMorphKf == 1) || (!Active && FMorphKf == 0)) {
        // A frame strip takes the morph's place (the morph timer never runs for it): past the strip the item
        // shows its plain hot or normal look.
        if (Active)
            DrawLook(&image, Cnvs, IsEmptyRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect, true, true);
        else
            DrawLook(&image, Cnvs, SkinRect, false, false);
    } else {
        DrawHotFadeFrame(&image, MorphKind, FMorphKf, [&](TBitmap* ATarget, bool AHot) {
            DrawLook(ATarget, Cnvs, AHot ? ActiveSkinRect : SkinRect, AHot, AHot);
        });
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspSkinMainMenuBarItem::DefaultDraw(TCanvas* Cnvs)
{
    const Integer w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap image(w, h);
    TCanvas* c = image.Canvas();
    const TRect all = Rect(0, 0, w, h);
    if (FDown || FMouseIn) {
        c->Brush()->SetColor(clNavy);
        c->FillRect(all);
        c->Brush()->SetColor(static_cast<TColor>(FDown ? 0xB59385 : 0xD2BDB6));
        c->FillRect(Rect(1, 1, w - 1, h - 1));
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(all);
    }
    SetItemFont(c);
    c->Brush()->SetStyle(bsClear);
    const WideString caption = Utf8ToWide(MenuItem->Caption());
    const Integer textHeight = WideTextHeight(c, caption);
    TRect r = Rect(0, h / 2 - textHeight / 2, w, h / 2 - textHeight / 2 + textHeight);
    if (FDown) {
        r.Left += 1;
        r.Right += 1;
        r.Top += 1;
        r.Bottom += 1;
    }
    if (MenuItem->OnDrawItem)
        MenuItem->OnDrawItem(this, c, r, Active);
    else
        DrawWideText(c, caption, r, DT_CENTER);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

// ---- the item's mouse and drop-down ----

void TspSkinMainMenuBarItem::MouseDown(Integer /*X*/, Integer /*Y*/, TMouseButton Button)
{
    TspFormMenus* menus = Parent->FormMenus();
    if (!Enabled || !menus || Button != mbLeft) return;
    if (Parent->OnMainMenuItemClick) Parent->OnMainMenuItemClick(IDName);
    if (MenuItem->Count() > 0) {
        Parent->MenuActive = true;
        SetDown(true);
        return;
    }
    if (menus->InMainMenu) menus->ExitMainMenu();
    menus->InMenu = false;
    if (EnableMorphing())
        RedrawState();
    else
        Parent->DrawObject(this);
    if (TMenu* menu = MenuItem->GetParentMenu()) menu->DispatchCommand(MenuItem->Command());
}

void TspSkinMainMenuBarItem::MouseEnter()
{
    std::vector<TspSkinMainMenuBarItem*> items = Parent->Items();
    for (TspSkinMainMenuBarItem* other : items)
        if (other->FDown && other != this) {
            // The open drop-down moves to this item.
            other->SetDown(false);
            Active = true;
            FMouseIn = true;
            if (EnableMorphing()) FMorphKf = 1;
            SetDown(true);
            return;
        }
    for (TspSkinMainMenuBarItem* other : items)
        if (other->Active && other != this) {
            other->MouseLeave();
            break;
        }
    FMouseIn = true;
    Active = true;
    RedrawState();
    if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
    if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TspSkinMainMenuBarItem::MouseLeave()
{
    Active = false;
    FMouseIn = false;
    if (EnableAnimation() && !InActiveAnimation) {
        CurrentFrame = 0;
        Parent->DrawObject(this);
    }
    if (EnableMorphing() && FDown) FMorphKf = 0;
    RedrawState();
    if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

void TspSkinMainMenuBarItem::SetDown(bool Value)
{
    FDown = Value;
    if (FDown) {
        Parent->DrawObject(this);
        TspFormMenus* menus = Parent->FormMenus();
        if (menus && !menus->InMainMenu && menus->OnMainMenuEnter) menus->OnMainMenuEnter(Parent);
        PopupSubMenu();
        return;
    }
    Active = false;
    if (EnableAnimation()) {
        if (InActiveAnimation) {
            CurrentFrame = FrameCount + 1;
            RedrawState();
        } else {
            CurrentFrame = 0;
            Parent->DrawObject(this);
        }
    } else if (EnableMorphing()) {
        FMorphKf = 1;
        RedrawState();
    } else {
        Parent->DrawObject(this);
    }
}

void TspSkinMainMenuBarItem::PopupSubMenu()
{
    TspFormMenus* menus = Parent->FormMenus();
    if (!menus) return;
    const TPoint topLeft = Parent->ClientToScreen(ObjectRect.TopLeft());
    const TRect r = Bounds(topLeft.X, topLeft.Y, ObjectRect.Width(), ObjectRect.Height());
    menus->SkinMenuOpen();
    menus->InMainMenu = true;
    menus->SkinMenu->Popup(nullptr, Parent->SkinData(), 0, r, MenuItem, Parent->PopupToUp());
    // A drop-down with nothing to show: no close message will come to end the menu mode.
    if (!menus->SkinMenu->FVisible) menus->SkinMenuClose();
}
