#include "skin/forms/menu_item.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "skin/controls/button_look.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/menu_engine.h"
#include "skin/forms/popup_window.h"

using namespace win;

namespace {
constexpr UINT kItemTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr TColor kDefaultHotFrame = static_cast<TColor>(0x800000);
constexpr TColor kDefaultHotFill = static_cast<TColor>(0xD2BDB6);

// A header item: a disabled item whose caption begins and ends with a hyphen ("-Files-").
bool IsHeaderCaption(TMenuItem* AItem)
{
    const std::string& caption = AItem->Caption();
    return !AItem->Enabled() && !caption.empty() && caption.front() == '-' && caption.back() == '-';
}

// The caption measured on one line in the run from ALeft to ARight, centred on AMiddle; the shortcut right
// aligned AGap pixels before ARight.
void DrawItemTexts(TCanvas* C, TMenuItem* AItem, Integer ALeft, Integer ARight, Integer AMiddle, Integer AGap)
{
    TRect r = Rect(ALeft, 0, ARight - AGap, 0);
    const std::string caption = AItem->Caption();
    DrawText(C->Handle(), caption, &r, DT_CALCRECT | DT_SINGLELINE);
    const Integer shift = AMiddle - r.Bottom / 2;
    r.Top += shift;
    r.Bottom += shift;
    r.Right += 2;
    DrawText(C->Handle(), caption, &r, kItemTextFlags);
    if (AItem->ShortCut() == 0) return;
    const std::string shortcut = ShortCutToText(AItem->ShortCut());
    TRect s = Rect(0, 0, 0, 0);
    DrawText(C->Handle(), shortcut, &s, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    TRect at = Rect(ARight - s.Width() - AGap, r.Top, ARight - AGap, r.Bottom);
    DrawText(C->Handle(), shortcut, &at, kItemTextFlags | DT_NOPREFIX);
}

void PrepareText(TCanvas* C, TColor AColor)
{
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(AColor);
    SetBkMode(C->Handle(), TRANSPARENT);
    SetTextColor(C->Handle(), ColorRefOf(AColor));
}
}  // namespace

void DrawMenuRadioGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->Ellipse(X, Y, X + 6, Y + 6);
}

void DrawSubMenuArrowGlyph(TCanvas* Canvas, Integer X, Integer Y, TColor Color)
{
    Canvas->Pen()->SetColor(Color);
    for (Integer i = 0; i <= 3; ++i) {
        Canvas->MoveTo(X + i, Y + i);
        Canvas->LineTo(X + i, Y + 7 - i);
    }
}

bool DrawSystemItemGlyph(TCanvas* Canvas, const std::string& AName, Integer X, Integer Y, TColor Color)
{
    if (AName == "CVL_CLOSE" || AName == "TRAY_CVL_CLOSE") DrawCloseGlyph(Canvas, X, Y, Color);
    else if (AName == "CVL_MINITEM") DrawMinimizeGlyph(Canvas, X, Y, Color);
    else if (AName == "CVL_MAXITEM") DrawMaximizeGlyph(Canvas, X, Y, Color);
    else if (AName == "CVL_RESTORE" || AName == "TRAY_CVL_RESTORE") DrawRestoreGlyph(Canvas, X, Y, Color);
    else if (AName == "CVL_ROLLUP") DrawRollUpGlyph(Canvas, X, Y, Color);
    else if (AName == "CVL_MINTOTRAY") DrawTrayGlyph(Canvas, X, Y, Color);
    else return false;
    return true;
}

TspSkinMenuItem::TspSkinMenuItem(TspSkinPopupWindow* AParent, TMenuItem* AMenuItem, TspDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem)
{
    // The level takes a record only with its picture.
    if (MI) ActivePicture = Parent->SD->ActivePicture(MI->ActivePictureIndex);
}

// ---- state rules ----

void TspSkinMenuItem::MouseEnter(bool Kb)
{
    Active = true;
    if (EnableAnimation()) CurrentFrame = 0;
    for (const auto& other : Parent->ItemList)
        if (other.get() != this && other->Down) {
            other->Down = false;
            other->RedrawState();
        }
    TspSkinMenu* menu = Parent->ParentMenu;
    if (WaitCommand && !Kb) {
        RedrawState();
    } else if (Down) {
        const Integer level = menu->IndexOfLevel(Parent);
        if (level + 2 < menu->LevelCount()) menu->Level(level + 1)->CloseChildLevels();
    } else {
        RedrawState();
        menu->CheckItem(Parent, this, false, Kb);
    }
    if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TspSkinMenuItem::MouseLeave()
{
    WaitCommand = false;
    Active = false;
    if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
    if (!Down) RedrawState();
    TspSkinMenu* menu = Parent->ParentMenu;
    if (menu->WItem == this) {
        menu->WaitTimer->SetEnabled(false);
        menu->WItem = nullptr;
    }
}

void TspSkinMenuItem::MouseDown(Integer, Integer)
{
    WaitCommand = false;
    if (!Down && MenuItem->Enabled()) Parent->ParentMenu->CheckItem(Parent, this, true, false);
}

// ---- effects ----

bool TspSkinMenuItem::EnableAnimation()
{
    // A record without frames has nothing to play, whatever its animation picture says.
    TspSkinData* sd = Parent->SD;
    return MI && !IsEmptyRect(MI->AnimateSkinRect) && MI->FrameCount > 0 && sd && !sd->Empty &&
           sd->EnableSkinEffects;
}

bool TspSkinMenuItem::EnableMorphing()
{
    TspSkinData* sd = Parent->SD;
    return MI && MI->Morphing && sd && sd->EnableSkinEffects;
}

bool TspSkinMenuItem::CanMorphing()
{
    if (!FVisible && FMorphKf != 0) {
        Active = Down = false;
        FMorphKf = 0;
    }
    return FVisible && ((Hot() && FMorphKf < 1) || (!Hot() && FMorphKf > 0));
}

void TspSkinMenuItem::DoMorphing()
{
    FMorphKf = std::clamp(FMorphKf + (Hot() ? 0.2 : -0.2), 0.0, 1.0);
    Parent->DrawItemNow(this);
}

void TspSkinMenuItem::RedrawState()
{
    TTimer* timer = Parent->MorphTimer;
    if (EnableAnimation()) {
        timer->SetInterval(MI->AnimateInterval > 0 ? static_cast<Cardinal>(MI->AnimateInterval) : 20);
        if (MI->InActiveAnimation || Active) {
            timer->SetEnabled(true);
            return;
        }
        CurrentFrame = 0;
    } else if (EnableMorphing()) {
        timer->SetInterval(20);
        timer->SetEnabled(true);
        return;
    }
    Parent->DrawItemNow(this);
}

// ---- painting ----

void TspSkinMenuItem::Output(TCanvas* Cnvs, TBitmap* B)
{
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B);
}

void TspSkinMenuItem::Draw(TCanvas* Cnvs)
{
    if (!FVisible) return;
    if (!MI) {
        DefaultDraw(Cnvs);
        return;
    }
    TBitmap b;
    if (IsSeparator()) {
        if (!ActivePicture || IsEmptyRect(MI->DividerRect)) return;
        BuildHStripImage(MI->DividerLO, MI->DividerRO, &b, ActivePicture, MI->DividerRect, WidthOfRect(ObjectRect),
                         0, MI->DividerStretchEffect);
        Output(Cnvs, &b);
        return;
    }
    const bool hot = Hot();
    if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= MI->FrameCount) {
        CreateItemImage(&b, hot, true);
    } else if (!EnableMorphing() || (hot && FMorphKf == 1) || (!hot && FMorphKf == 0)) {
        CreateItemImage(&b, hot, false);
    } else {
        b.SetSize(WidthOfRect(ObjectRect), HeightOfRect(ObjectRect));
        DrawHotFadeFrame(&b, MI->MorphKind, FMorphKf,
                         [this](TBitmap* ATarget, bool AHot) { CreateItemImage(ATarget, AHot, false); });
    }
    Output(Cnvs, &b);
}

TRect TspSkinMenuItem::GetAnimationFrameRect()
{
    const TRect& r = MI->AnimateSkinRect;
    const Integer frames = std::max<Integer>(MI->FrameCount, 1);
    const Integer n = std::clamp<Integer>(CurrentFrame, 1, frames);
    if (HeightOfRect(r) > HeightOfRect(MI->SkinRect)) {
        const Integer step = HeightOfRect(r) / frames;
        return Rect(r.Left, r.Top + step * (n - 1), r.Right, r.Top + step * n);
    }
    const Integer step = WidthOfRect(r) / frames;
    return Rect(r.Left + step * (n - 1), r.Top, r.Left + step * n, r.Bottom);
}

void TspSkinMenuItem::CreateItemImage(TBitmap* B, bool AActive, bool UseAnimationFrame)
{
    const Integer width = WidthOfRect(ObjectRect);
    TRect src = AActive ? MI->ActiveSkinRect : MI->SkinRect;
    bool stretch = AActive ? MI->StretchEffect : MI->InActiveStretchEffect;
    if (!AActive && !MI->InActiveStretchEffect && MI->StretchEffect) stretch = UseAnimationFrame;
    if (UseAnimationFrame) src = GetAnimationFrameRect();

    TspSkinPopupWindow* level = Parent;
    if (!AActive && MI->InActiveTransparent && level->FPaintBuffer) {
        B->SetSize(width, HeightOfRect(ObjectRect));
        B->Canvas()->CopyRect(Rect(0, 0, width, HeightOfRect(ObjectRect)), level->FPaintBuffer->Canvas(), ObjectRect);
    } else if (ActivePicture && !IsEmptyRect(src)) {
        BuildHStripImage(MI->ItemLO, MI->ItemRO, B, ActivePicture, src, width, 0, stretch);
    } else {
        B->SetSize(width, HeightOfRect(ObjectRect));
    }

    const Integer g = !IsEmptyRect(MI->ImageRct) ? 0 : (level->ImgL ? level->GlyphWidth : 16);
    TRect a = MI->TextRct;
    a.Right = B->Width() - (WidthOfRect(MI->SkinRect) - MI->TextRct.Right);

    TCanvas* c = B->Canvas();
    TspSkinMenu* menu = level->ParentMenu;
    if (menu->FUseSkinFont) {
        c->Font()->SetName(MI->FontName);
        c->Font()->SetStyle(MI->FontStyle);
        c->Font()->SetHeight(MI->FontHeight);
    } else {
        c->Font()->Assign(&menu->FDefaultMenuItemFont);
    }
    TColor color = AActive ? MI->ActiveFontColor : (MenuItem->Enabled() ? MI->FontColor : MI->UnEnabledFontColor);
    PrepareText(c, color);

    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, c, a, AActive);
        return;
    }
    if (IsHeaderCaption(MenuItem)) {
        DrawMenuHeader(c, Rect(0, 0, B->Width(), B->Height()), MenuItem->Caption());
        return;
    }
    const Integer middle = a.Top + HeightOfRect(a) / 2;
    DrawItemTexts(c, MenuItem, a.Left + g, a.Right, middle, 16);
    if (MenuItem->Count() > 0) {
        if (IsEmptyRect(MI->ArrowImageRect))
            DrawSubMenuArrowGlyph(c, a.Right - 7, middle - 4, color);
        else
            DrawArrowImage(c, Rect(a.Right - WidthOfRect(MI->ArrowImageRect) - 5, a.Top, a.Right, a.Bottom), AActive);
    }
    if (MI->UseImageColor) color = AActive ? MI->ActiveImageColor : MI->ImageColor;
    DrawGlyphAndMarks(c, a, g, color, AActive);
}

bool TspSkinMenuItem::HasGlyph(Integer& W, Integer& H)
{
    if (MenuItem->HasBitmap() && !MenuItem->Bitmap()->Empty()) {
        W = MenuItem->Bitmap()->Width();
        H = MenuItem->Bitmap()->Height();
        return true;
    }
    TCustomImageList* images = Parent->ImgL;
    if (images && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < images->Count()) {
        W = images->Width();
        H = images->Height();
        return true;
    }
    return false;
}

void TspSkinMenuItem::DrawGlyph(TCanvas* C, Integer X, Integer Y)
{
    TCustomImageList* images = Parent->ImgL;
    if (images && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < images->Count())
        images->Draw(C, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
    else
        C->Draw(X, Y, MenuItem->Bitmap());
}

// The glyph (framed when checked), else the system item's picture or the check or radio mark.
void TspSkinMenuItem::DrawGlyphAndMarks(TCanvas* C, const TRect& A, Integer, TColor AColor, bool AActive)
{
    const bool ownArea = !IsEmptyRect(MI->ImageRct);
    const TRect& img = MI->ImageRct;
    Integer w = 0, h = 0;
    if (HasGlyph(w, h)) {
        Integer x = A.Left + 2, y = A.Top + HeightOfRect(A) / 2 - h / 2;
        if (ownArea) {
            x = img.Left + WidthOfRect(img) / 2 - w / 2;
            y = img.Top + HeightOfRect(img) / 2 - h / 2;
        }
        if (MenuItem->Checked()) {
            C->Brush()->SetStyle(bsClear);
            C->Pen()->SetColor(AColor);
            C->Rectangle(x - 1, y - 1, x + w + 1, y + h + 1);
        }
        DrawGlyph(C, x, y);
        return;
    }
    Integer x = A.Left + 2, y = A.Top + HeightOfRect(A) / 2 - 4;
    if (ownArea) {
        x = img.Left + WidthOfRect(img) / 2 - 4;
        y = img.Top + HeightOfRect(img) / 2 - 4;
    }
    if (DrawSystemItemGlyph(C, MenuItem->Name(), x, y, AColor) || !MenuItem->Checked()) return;
    const TRect markArea =
        ownArea ? img : Rect(MI->TextRct.Left + 2, MI->TextRct.Top, MI->TextRct.Left + 16, img.Bottom);
    if (MenuItem->RadioItem()) {
        if (IsEmptyRect(MI->RadioImageRect)) DrawMenuRadioGlyph(C, x, y + 1, AColor);
        else DrawRadioImage(C, markArea, AActive);
    } else if (IsEmptyRect(MI->CheckImageRect)) {
        DrawCheckGlyph(C, x, y, AColor);
    } else {
        DrawCheckImage(C, markArea, AActive);
    }
}

namespace {
// A piece of the item's picture drawn transparently, centred in R.
void DrawPicturePiece(TCanvas* C, TBitmap* APicture, const TRect& APiece, const TRect& R)
{
    if (!APicture || IsEmptyRect(APiece)) return;
    TBitmap piece(WidthOfRect(APiece), HeightOfRect(APiece));
    piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), APicture->Canvas(), APiece);
    piece.SetTransparent(true);
    const Integer x = std::max(R.Left, R.Left + WidthOfRect(R) / 2 - piece.Width() / 2);
    const Integer y = std::max(R.Top, R.Top + HeightOfRect(R) / 2 - piece.Height() / 2);
    C->Draw(x, y, &piece);
}

const TRect& ActiveOr(bool AActive, const TRect& AActivePiece, const TRect& APiece)
{
    return AActive && !IsEmptyRect(AActivePiece) ? AActivePiece : APiece;
}
}  // namespace

void TspSkinMenuItem::DrawCheckImage(TCanvas* Cnvs, TRect R, bool AActive)
{
    DrawPicturePiece(Cnvs, ActivePicture, ActiveOr(AActive, MI->ActiveCheckImageRect, MI->CheckImageRect), R);
}

void TspSkinMenuItem::DrawRadioImage(TCanvas* Cnvs, TRect R, bool AActive)
{
    DrawPicturePiece(Cnvs, ActivePicture, ActiveOr(AActive, MI->ActiveRadioImageRect, MI->RadioImageRect), R);
}

void TspSkinMenuItem::DrawArrowImage(TCanvas* Cnvs, TRect R, bool AActive)
{
    DrawPicturePiece(Cnvs, ActivePicture, ActiveOr(AActive, MI->ActiveArrowImageRect, MI->ArrowImageRect), R);
}

void TspSkinMenuItem::DrawMenuHeader(TCanvas* Cnvs, TRect R, const std::string& ACaption)
{
    TspSkinData* sd = Parent->SD;
    if (!sd) return;
    Integer index = sd->GetControlIndex("menuheader");
    if (index < 0) index = sd->GetControlIndex("label");
    if (index < 0) return;
    auto* record = dynamic_cast<TspDataSkinLabelControl*>(sd->CtrlList[static_cast<size_t>(index)].get());
    if (!record) return;
    TBitmap* picture = sd->ActivePicture(record->PictureIndex);
    if (!picture || IsEmptyRect(record->SkinRect)) return;
    TBitmap strip;
    BuildHStripImage(record->LTPoint.X, WidthOfRect(record->SkinRect) - record->RTPoint.X, &strip, picture,
                     record->SkinRect, WidthOfRect(R), 0, record->StretchEffect);
    TCanvas* c = strip.Canvas();
    c->Font()->SetName(record->FontName);
    c->Font()->SetHeight(record->FontHeight);
    PrepareText(c, record->FontColor);
    TRect text = Rect(0, record->ClRect.Top, strip.Width(), strip.Height());
    DrawText(c->Handle(), ACaption.substr(1, ACaption.size() >= 2 ? ACaption.size() - 2 : 0), &text,
             kItemTextFlags);
    Cnvs->Draw(R.Left, R.Top + HeightOfRect(R) / 2 - strip.Height() / 2, &strip);
}

void TspSkinMenuItem::DefaultDraw(TCanvas* Cnvs)
{
    const Integer w = WidthOfRect(ObjectRect), h = HeightOfRect(ObjectRect);
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    const Integer g = Parent->ImgL ? Parent->GlyphWidth : 19;
    c->Font()->Assign(&Parent->ParentMenu->FDefaultMenuItemFont);
    TColor color = clWindowText;
    c->Brush()->SetStyle(bsSolid);
    if (Hot() && !IsSeparator()) {
        c->Brush()->SetColor(kDefaultHotFill);
        c->FillRect(Rect(0, 0, w, h));
        c->Brush()->SetColor(kDefaultHotFrame);
        c->FrameRect(Rect(0, 0, w, h));
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, g, h));
        c->Brush()->SetColor(clWindow);
        c->FillRect(Rect(g, 0, w, h));
        if (!MenuItem->Enabled()) color = clBtnShadow;
    }
    if (IsSeparator()) {
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(g, h / 2);
        c->LineTo(w, h / 2);
        Output(Cnvs, &b);
        return;
    }
    const TRect in = Rect(2, 2, w - 2, h - 2);
    const Integer middle = in.Top + HeightOfRect(in) / 2;
    PrepareText(c, color);
    DrawItemTexts(c, MenuItem, in.Left + g, in.Right, middle, 19);
    if (MenuItem->Count() > 0) DrawSubMenuArrowGlyph(c, in.Right - 7, middle - 4, color);
    Integer gw = 0, gh = 0;
    if (HasGlyph(gw, gh)) {
        const Integer x = in.Left + 2, y = middle - gh / 2;
        if (MenuItem->Checked()) {
            c->Brush()->SetStyle(bsClear);
            c->Pen()->SetColor(color);
            c->Rectangle(x - 1, y - 1, x + gw + 1, y + gh + 1);
        }
        DrawGlyph(c, x, y);
    } else if (!DrawSystemItemGlyph(c, MenuItem->Name(), in.Left + 2, middle - 4, color) && MenuItem->Checked()) {
        if (MenuItem->RadioItem()) DrawMenuRadioGlyph(c, in.Left + 3, middle - 3, color);
        else DrawCheckGlyph(c, in.Left + 3, middle - 4, color);
    }
    Output(Cnvs, &b);
}
