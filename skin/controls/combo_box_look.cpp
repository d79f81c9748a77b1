// How the combo box arranges and paints itself: face, drop button and inner edit; the plain look, the tool-button
// style and the skinned looks with and without the skin's size.
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/text.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "skin/controls/button_record.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/skin_pictures.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/glyph_text.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_records.h"
#include "skin/core/skin_strips.h"

namespace {

constexpr Integer kMarkerWidth = 15;

// Copies a record's marker picture from APicture, transparent in its key colour, centred in R.
void DrawMarker(TCanvas* ACanvas, TBitmap* APicture, const TRect& ASource, TColor AKey, const TRect& R, Integer ADy)
{
    if (!APicture || IsEmptyRect(ASource)) return;
    TBitmap marker(ASource.Width(), ASource.Height());
    marker.Canvas()->CopyRect(Rect(0, 0, ASource.Width(), ASource.Height()), APicture->Canvas(), ASource);
    marker.SetTransparent(true);
    marker.SetTransparentColor(AKey);
    ACanvas->Draw(R.Left + R.Width() / 2 - ASource.Width() / 2, R.Top + R.Height() / 2 - ASource.Height() / 2 + ADy,
                  &marker);
}

}  // namespace

void TspSkinCustomComboBox::CalcRects()
{
    if (!FHasRecord || FToolButtonStyle) {
        Button.R = Rect(Width() - 19, 2, Width() - 2, Height() - 2);
        CBItem.R = Rect(2, 2, Button.R.Left - 1, Height() - 2);
    } else {
        const Integer skinWidth = WidthOfRect(Pieces.SkinRect);
        const Integer dw = Width() - skinWidth;
        Button.R = FSkin.ButtonRect;
        if (FSkin.ButtonRect.Left >= skinWidth - Pieces.RTPt.X) {
            Button.R.Left += dw;
            Button.R.Right += dw;
        }
        CBItem.R = Pieces.ClRect;
        CBItem.R.Right += dw;
        if (!FUseSkinSize) {
            const Integer dh = Height() - HeightOfRect(Pieces.SkinRect);
            Button.R.Bottom += dh;
            CBItem.R.Bottom += dh;
        }
    }
    LayoutEdit();
}

void TspSkinCustomComboBox::LayoutEdit()
{
    if (!FEdit) return;
    TBitmap measure(1, 1);
    measure.Canvas()->Font()->Assign(FEdit->Font());
    win::TEXTMETRIC tm;
    win::GetTextMetrics(measure.Canvas()->Handle(), &tm);
    const Integer h = tm.tmHeight;
    FEdit->SetBounds(CBItem.R.Left, CBItem.R.Top + CBItem.R.Height() / 2 - h / 2, CBItem.R.Width(), h);
}

Integer TspSkinCustomComboBox::ShownIndex() const
{
    const Integer index = FDropDown ? FOldItemIndex : FListBox->ItemIndex();
    return index >= 0 && index < FListBox->ListBox()->Count() ? index : -1;
}

void TspSkinCustomComboBox::DrawItemContent(TCanvas* ACanvas, Integer AIndex, TRect AText)
{
    if (AIndex < 0) return;
    if (TCustomImageList* images = Images()) {
        const Integer image = ImageIndex() < 0 ? AIndex : ImageIndex();
        if (image < images->Count()) {
            images->Draw(ACanvas, AText.Left, AText.Top + AText.Height() / 2 - images->Height() / 2, image, true);
            AText.Left += images->Width() + 2;
        }
    }
    ACanvas->Brush()->SetStyle(bsClear);
    const std::string& text = FListBox->ListBox()->Items()->Strings(AIndex);
    TStrings* tabs = FListBox->TabWidths();
    if (tabs->Count() > 0) {
        const std::vector<int> stops = ParseTabStops(*tabs);
        win::SetBkMode(ACanvas->Handle(), win::TRANSPARENT);
        win::TabbedTextOut(ACanvas->Handle(), AText.Left + 2, AText.Top + AText.Height() / 2 - ACanvas->TextHeight(text) / 2,
                           text.c_str(), static_cast<int>(text.size()), static_cast<int>(stops.size()), stops.data(),
                           0);
    } else {
        DrawItemText(ACanvas, text, AText);
    }
}

void TspSkinCustomComboBox::DrawUnskinnedImage(TBitmap* B)
{
    CalcRects();
    CBItem.State = Focused() ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    TCanvas* c = B->Canvas();
    if (FToolButtonStyle) {
        const TspPartLook look = FDropDown                      ? TspPartLook::Pressed
                                 : FMouseIn || Focused()        ? TspPartLook::Hot
                                                                : TspPartLook::Normal;
        DrawPlainPart(c, Rect(0, 0, Width(), Height()), look);
        c->Font()->Assign(DefaultFont());
        const TRect text{2, 2, Width() - 17, Height() - 2};
        if (OnComboBoxDrawItem && ShownIndex() >= 0)
            OnComboBoxDrawItem(c, ShownIndex(), Width(), Height(), text, CBItem.State);
        else
            DrawItemContent(c, ShownIndex(), text);
        DrawDropDownGlyph(c, Rect(Width() - kMarkerWidth, 0, Width(), Height()), c->Font()->Color());
        return;
    }
    DrawPlainFace(B);
}

void TspSkinCustomComboBox::DrawPlainFace(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, Width(), Height()));
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, Width(), Height()));
    c->Brush()->SetColor(FDefaultColor);
    c->FillRect(Rect(1, 1, Width() - 1, Height() - 1));
    DrawPlainPart(c, Button.R, PartLookOf(Button.Down, Button.MouseIn));
    DrawArrowGlyph(c, Button.R, Enabled() ? clBlack : clBtnShadow, 4);
    if (FEdit) return;
    const Integer w = CBItem.R.Width(), h = CBItem.R.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap item(w, h);
    TCanvas* ic = item.Canvas();
    ic->Font()->Assign(Font());
    ic->Font()->SetCharset(InterfaceCharset());
    const bool focused = Focused();
    ic->Brush()->SetColor(focused ? clHighlight : FDefaultColor);
    ic->Font()->SetColor(focused ? clHighlightText : DefaultFont()->Color());
    if (!Enabled()) ic->Font()->SetColor(DisabledColor());
    ic->FillRect(Rect(0, 0, w, h));
    const TRect text{2, 0, w - 2, h};
    if (OnComboBoxDrawItem && ShownIndex() >= 0)
        OnComboBoxDrawItem(ic, ShownIndex(), w, h, text, CBItem.State);
    else
        DrawItemContent(ic, ShownIndex(), text);
    if (focused) DrawDottedFocusRect(ic, Rect(0, 0, w, h));
    c->Draw(CBItem.R.Left, CBItem.R.Top, &item);
}

void TspSkinCustomComboBox::DrawToolButtonLook(TBitmap* B)
{
    TspDataSkinButtonControl* record = FindButtonRecord(FSD, {"resizetoolbutton", "resizebutton"});
    if (!record) return;
    const TspButtonState state = FDropDown                 ? TspButtonState::Pressed
                                 : FMouseIn || Focused()   ? TspButtonState::Hot
                                                           : TspButtonState::Normal;
    ComposeButtonRecord(FSD, *record, state, Width(), Height(), B);
    TCanvas* c = B->Canvas();
    if (FUseSkinFont) {
        c->Font()->SetName(record->FontName);
        c->Font()->SetStyle(record->FontStyle);
        c->Font()->SetHeight(record->FontHeight);
    } else {
        c->Font()->Assign(DefaultFont());
    }
    c->Font()->SetColor(!Enabled() ? record->DisabledFontColor : ButtonStateFontColor(*record, state));
    const TRect text{2, 2, Width() - 17, Height() - 2};
    if (OnComboBoxDrawItem && ShownIndex() >= 0)
        OnComboBoxDrawItem(c, ShownIndex(), Width(), Height(), text, CBItem.State);
    else
        DrawItemContent(c, ShownIndex(), text);
    const TRect marker{Width() - kMarkerWidth, 0, Width(), Height()};
    if (!IsEmptyRect(record->MenuMarkerRect)) {
        TRect source = record->MenuMarkerRect;
        if (FDropDown)
            source = !IsEmptyRect(record->MenuMarkerDownRect)     ? record->MenuMarkerDownRect
                     : !IsEmptyRect(record->MenuMarkerActiveRect) ? record->MenuMarkerActiveRect
                                                                  : record->MenuMarkerRect;
        else if (FMouseIn && !IsEmptyRect(record->MenuMarkerActiveRect))
            source = record->MenuMarkerActiveRect;
        DrawMarker(c, Picture, source, record->MenuMarkerTransparentColor, marker, 0);
    } else {
        DrawDropDownGlyph(c, marker, FDropDown ? record->DownFontColor : c->Font()->Color());
    }
}

void TspSkinCustomComboBox::DrawSkinnedImage(TBitmap* B)
{
    CalcRects();
    CBItem.State = Focused() ? TOwnerDrawState{odFocused} : TOwnerDrawState{};
    if (FToolButtonStyle) {
        DrawToolButtonLook(B);
        return;
    }
    if (!FHasRecord || !Picture) {
        TspSkinCustomControl::DrawSkinnedImage(B);
        return;
    }
    const bool hot = FMouseIn || Focused() || (FEdit && FEdit->Focused());
    const bool activeFace = hot && !IsEmptyRect(FSkin.ActiveSkinRect);
    if (FUseSkinSize) {
        if (activeFace)
            BuildHStripImage(Pieces.LTPt.X, WidthOfRect(FSkin.ActiveSkinRect) - Pieces.RTPt.X, B, Picture,
                             FSkin.ActiveSkinRect, Width(), Height(), StretchEffect);
        else
            TspSkinCustomControl::DrawSkinnedImage(B);
    } else {
        B->SetSize(Width(), Height());
        ComposeSkinImageSimple(B, Picture, activeFace ? FSkin.ActiveSkinRect : Pieces.SkinRect, Pieces.ClRect, true);
    }
    DrawSkinnedButton(B);
    if (!FEdit) DrawSkinnedFaceItem(B);
}

void TspSkinCustomComboBox::DrawSkinnedButton(TBitmap* B)
{
    const bool pressed = Button.Down && Button.MouseIn, hotButton = Button.MouseIn;
    TCanvas* c = B->Canvas();
    if (FUseSkinSize) {
        TRect source;
        if (!Enabled() && !IsEmptyRect(FSkin.UnEnabledButtonRect))
            source = FSkin.UnEnabledButtonRect;
        else if (pressed)
            source = FSkin.DownButtonRect;
        else if (hotButton)
            source = FSkin.ActiveButtonRect;
        if (!IsEmptyRect(source)) c->CopyRect(Button.R, Picture->Canvas(), source);
        return;
    }
    TspDataSkinButtonControl* record = FindButtonRecord(FSD, {"combobutton", "editbutton", "resizebutton"});
    if (!record || IsEmptyRect(Button.R)) return;
    const TspButtonState state = pressed ? TspButtonState::Pressed : hotButton ? TspButtonState::Hot
                                                                               : TspButtonState::Normal;
    TBitmap button;
    ComposeButtonRecord(FSD, *record, state, Button.R.Width(), Button.R.Height(), &button);
    const TRect local{0, pressed ? 2 : 0, Button.R.Width(), Button.R.Height()};
    if (IsEmptyRect(record->MenuMarkerRect)) {
        if (Enabled()) DrawArrowGlyph(button.Canvas(), local, ButtonStateFontColor(*record, state), 4);
    } else {
        const TRect& source = pressed && !IsEmptyRect(record->MenuMarkerDownRect)     ? record->MenuMarkerDownRect
                              : hotButton && !IsEmptyRect(record->MenuMarkerActiveRect) ? record->MenuMarkerActiveRect
                                                                                        : record->MenuMarkerRect;
        DrawMarker(button.Canvas(), Picture, source, record->MenuMarkerTransparentColor,
                   Rect(0, 0, Button.R.Width(), Button.R.Height()), pressed ? 1 : 0);
    }
    c->Draw(Button.R.Left, Button.R.Top, &button);
}

void TspSkinCustomComboBox::DrawSkinnedFaceItem(TBitmap* B)
{
    const TSkinCopy& s = FSkin;
    const bool focused = Focused();
    const bool hotItem = FMouseIn && !IsEmptyRect(s.ActiveItemRect) && !IsEmptyRect(s.ActiveSkinRect);
    const Integer w = CBItem.R.Width();
    if (w <= 0) return;
    Integer h = HeightOfRect(s.SItemRect);
    if (h <= 0) h = HeightOfRect(s.FocusItemRect);
    if (h <= 0 || !FUseSkinSize) h = CBItem.R.Height();
    if (h <= 0) return;
    TBitmap item(w, h);
    TCanvas* ic = item.Canvas();
    auto copyFace = [&] { ic->CopyRect(Rect(0, 0, w, h), B->Canvas(), CBItem.R); };
    const TRect& state = focused ? s.FocusItemRect : hotItem ? s.ActiveItemRect : s.SItemRect;
    if (IsEmptyRect(state)) {
        copyFace();
    } else if (FUseSkinSize) {
        const bool stretch = focused ? s.FocusItemStretchEffect : s.ItemStretchEffect;
        BuildHStripImage(s.ItemLeftOffset, s.ItemRightOffset, &item, Picture, state, w, h, stretch);
    } else {
        TRect centre{s.ItemTextRect.Left + 1, s.ItemTextRect.Top + 1, s.ItemTextRect.Right - 1, s.ItemTextRect.Bottom - 1};
        centre.Right -= WidthOfRect(s.SItemRect) - WidthOfRect(state);
        centre.Bottom -= HeightOfRect(s.SItemRect) - HeightOfRect(state);
        ComposeSkinImageSimple(&item, Picture, state, centre, true);
    }
    TRect text = s.ItemTextRect;
    text.Right += w - (IsEmptyRect(s.SItemRect) ? WidthOfRect(Pieces.ClRect) : WidthOfRect(s.SItemRect));
    if (!FUseSkinSize) text.Bottom += Height() - HeightOfRect(Pieces.SkinRect);
    if (FUseSkinFont) {
        ic->Font()->SetName(s.FontName);
        ic->Font()->SetStyle(s.FontStyle);
        ic->Font()->SetHeight(s.FontHeight);
    } else {
        ic->Font()->Assign(DefaultFont());
    }
    ic->Font()->SetCharset(InterfaceCharset());
    TColor color = focused ? s.FocusFontColor : FMouseIn && !IsEmptyRect(s.ActiveSkinRect) ? s.ActiveFontColor : s.FontColor;
    if (!Enabled()) color = DisabledColor();
    ic->Font()->SetColor(color);
    if (OnComboBoxDrawItem && ShownIndex() >= 0) {
        OnComboBoxDrawItem(ic, ShownIndex(), w, h, text, CBItem.State);
    } else {
        if (focused && s.ShowFocus) {
            if (FSD && FSD->FSkinColors) ic->Brush()->SetColor(FSD->FSkinColors->FcBtnFace);
            DrawDottedFocusRect(ic, Rect(0, 0, w, h));
        }
        DrawItemContent(ic, ShownIndex(), text);
    }
    B->Canvas()->Draw(CBItem.R.Left, CBItem.R.Top, &item);
}

void TspSkinCustomComboBox::PaintEraseInto(win::HDC ADC)
{
    // Outside the control's own paint cycle: the whole control, then the edit in its own rectangle.
    TBitmap b(Width(), Height());
    GetSkinData();
    FitCurrentSize();
    if (Skinned())
        DrawSkinnedImage(&b);
    else
        DrawUnskinnedImage(&b);
    TCanvas canvas;
    canvas.SetHandle(ADC);
    canvas.Draw(0, 0, &b);
    canvas.SetHandle(nullptr);
    if (FEdit && FEdit->HandleAllocated()) {
        const int saved = win::SaveDC(ADC);
        win::SetViewportOrgEx(ADC, FEdit->Left(), FEdit->Top(), nullptr);
        win::IntersectClipRect(ADC, 0, 0, FEdit->Width(), FEdit->Height());
        FEdit->Perform(win::WM_PAINT, reinterpret_cast<win::WPARAM>(ADC), 0);
        win::RestoreDC(ADC, saved);
    }
}
