#include "skin/controls/inner_list_box.h"

#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/text.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"
#include "platform/win/scrolling.h"
#include "skin/controls/list_box.h"
#include "skin/controls/scroll_bar.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/glyph_text.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_records.h"
#include "skin/core/skin_strips.h"

std::vector<int> ParseTabStops(const TStrings& AWidths)
{
    std::vector<int> stops;
    for (Integer i = 0; i < std::min<Integer>(AWidths.Count(), 10); ++i) {
        const std::string s = AWidths.Strings(i);
        const bool digits = !s.empty() && s.size() < 10 && std::all_of(s.begin(), s.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        stops.push_back(digits ? std::stoi(s) : 0);
    }
    return stops;
}

TspListBox::TspListBox(TComponent* AOwner) : TListBox(AOwner)
{
    ControlStyle() = {csCaptureMouse, csOpaque, csDoubleClicks};
    SetTabStop(true);
}

void TspListBox::CreateWnd()
{
    TListBox::CreateWnd();
    if (SkinListBox) SkinListBox->ListBoxWindowCreated();
}

void TspListBox::WndProc(TMessage& AMessage)
{
    if (SkinListBox) {
        bool pass = true;
        SkinListBox->FilterListBoxMessage(AMessage, pass);
        if (!pass) return;
    }
    switch (AMessage.Msg) {
    case lists::LB_ADDSTRING:
    case lists::LB_INSERTSTRING:
        TListBox::WndProc(AMessage);
        if (SkinListBox) {
            if (static_cast<intptr_t>(AMessage.Result) >= 0)
                SkinListBox->ItemInserted(static_cast<Integer>(AMessage.Result));
            SkinListBox->UpDateScrollBar();
        }
        return;
    case lists::LB_DELETESTRING:
        if (SkinListBox && static_cast<intptr_t>(AMessage.WParam) < Count())
            SkinListBox->ItemDeleting(static_cast<Integer>(static_cast<intptr_t>(AMessage.WParam)));
        TListBox::WndProc(AMessage);
        if (SkinListBox) SkinListBox->UpDateScrollBar();
        return;
    case lists::LB_RESETCONTENT:
    case win::WM_ERASEBKGND:
    case win::WM_VSCROLL:
    case win::WM_HSCROLL:
        TListBox::WndProc(AMessage);
        if (SkinListBox) SkinListBox->UpDateScrollBar();
        return;
    case win::WM_LBUTTONDBLCLK:
        TListBox::WndProc(AMessage);
        if (SkinListBox) SkinListBox->ListBoxDblClick();
        return;
    default: TListBox::WndProc(AMessage);
    }
}

void TspListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    const Integer old = Width();
    TListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Width() != old && FHorizontalExtentValue > 0) {
        // The right edge moved: keep the text's right end where it was.
        FHorizontalExtentValue = std::max(0, FHorizontalExtentValue + old - Width());
        Invalidate();
    }
}

void TspListBox::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (SkinListBox) SkinListBox->ListBoxMouseDown(AButton, AShift, AX, AY);
    TListBox::MouseDown(AButton, AShift, AX, AY);
}

void TspListBox::MouseMove(TShiftState AShift, int AX, int AY)
{
    if (SkinListBox) SkinListBox->ListBoxMouseMove(AShift, AX, AY);
    TListBox::MouseMove(AShift, AX, AY);
}

void TspListBox::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (SkinListBox) SkinListBox->ListBoxMouseUp(AButton, AShift, AX, AY);
    TListBox::MouseUp(AButton, AShift, AX, AY);
}

void TspListBox::KeyDown(win::WORD& AKey, TShiftState AShift)
{
    if (SkinListBox) {
        SkinListBox->ListBoxKeyDown(AKey, AShift);
        // With a horizontal-extent bar the arrows slide the rows instead of moving the selection.
        if (TspSkinScrollBar* bar = SkinListBox->HScrollBar();
            bar && (AKey == win::VK_LEFT || AKey == win::VK_RIGHT)) {
            bar->SetPosition(bar->Position() + (AKey == win::VK_LEFT ? -bar->SmallChange() : bar->SmallChange()));
            AKey = 0;
        }
    }
    TListBox::KeyDown(AKey, AShift);
}

void TspListBox::KeyUp(win::WORD& AKey, TShiftState AShift)
{
    if (SkinListBox) SkinListBox->ListBoxKeyUp(AKey, AShift);
    TListBox::KeyUp(AKey, AShift);
}

void TspListBox::KeyPress(char32_t& AKey)
{
    if (SkinListBox) SkinListBox->ListBoxKeyPress(AKey);
    TListBox::KeyPress(AKey);
}

void TspListBox::DoEnter()
{
    if (SkinListBox) SkinListBox->ListBoxEnter();
    TListBox::DoEnter();
    Invalidate();
}

void TspListBox::DoExit()
{
    if (SkinListBox) SkinListBox->ListBoxExit();
    TListBox::DoExit();
    Invalidate();
}

void TspListBox::Click()
{
    if (SkinListBox) SkinListBox->ListBoxClick();
    TListBox::Click();
}

void TspListBox::SelectionChanged()
{
    TListBox::SelectionChanged();
    Click();
}

bool TspListBox::DoMouseWheel(TShiftState AShift, int AWheelDelta, TPoint AMousePos)
{
    // The user's wheel events first; then one row (or one extent step) per turn, through the frame's bars.
    if (TCustomControl::DoMouseWheel(AShift, AWheelDelta, AMousePos)) return true;
    if (!SkinListBox) return TListBox::DoMouseWheel(AShift, AWheelDelta, AMousePos);
    if (SkinListBox->ScrollBar()) {
        Perform(win::WM_VSCROLL, AWheelDelta > 0 ? win::SB_LINEUP : win::SB_LINEDOWN, 0);
        SkinListBox->UpDateScrollBar();
    } else if (TspSkinScrollBar* bar = SkinListBox->HScrollBar()) {
        bar->SetPosition(bar->Position() + (AWheelDelta > 0 ? -bar->SmallChange() : bar->SmallChange()));
    }
    return true;
}

TOwnerDrawState TspListBox::GetItemState(Integer AIndex)
{
    TOwnerDrawState state;
    if (AIndex == ItemIndex()) {
        state.Include(odSelected);
        if (Focused()) state.Include(odFocused);
    } else if (MultiSelect() && SelCount() > 0 && Selected(AIndex)) {
        state.Include(odSelected);
    }
    return state;
}

void TspListBox::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    TCanvas* canvas = Canvas();
    const Integer rows = Height() / std::max(1, ItemHeight());
    const Integer last = Count() - 1;
    Integer bottom = 0;
    // Several columns leave their gaps to the background, which the erase step paints.
    if (Columns() != 0) PaintListBackground(canvas);
    const Integer end = Columns() == 0 ? TopIndex() + rows : TopIndex() + rows * Columns();
    for (Integer i = TopIndex(); i <= std::min(end, last); ++i) {
        const TRect r = ItemRect(i);
        bottom = std::max(bottom, r.Bottom);
        // Rows outside what is being painted (after a scroll, all but the new ones) are left as they are.
        if (!win::RectVisible(canvas->Handle(), &r)) continue;
        PaintItem(canvas, i, r, GetItemState(i));
    }
    // One column: the rest under the last row.
    if (Columns() == 0 && bottom < Height()) {
        if (!SkinListBox || !SkinListBox->HasListRecord() || !SkinListBox->SkinPictureOf()) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(clWindow);
            canvas->FillRect(Rect(0, bottom, Width(), Height()));
        } else {
            TileClientPicture(canvas, 0, bottom, Width(), Height() - bottom);
        }
    }
}

void TspListBox::PaintListBackground(TCanvas* ACanvas)
{
    if (SkinListBox) SkinListBox->GetSkinData();
    if (!SkinListBox || !SkinListBox->HasListRecord() || !SkinListBox->SkinPictureOf()) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(clWindow);
        ACanvas->FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    TileClientPicture(ACanvas, 0, 0, Width(), Height());
}

void TspListBox::TileClientPicture(TCanvas* ACanvas, Integer AX, Integer AY, Integer AW, Integer AH)
{
    if (AW <= 0 || AH <= 0) return;
    TBitmap* picture = SkinListBox ? SkinListBox->SkinPictureOf() : nullptr;
    const TRect& skin = SkinListBox ? SkinListBox->Pieces.SkinRect : TRect{};
    const TRect& cl = SkinListBox ? SkinListBox->Pieces.ClRect : TRect{};
    const TRect source{skin.Left + cl.Left, skin.Top + cl.Top, skin.Left + cl.Right, skin.Top + cl.Bottom};
    TBitmap b(AW, AH);
    if (!picture || IsEmptyRect(source)) {
        // A skin without a client picture: the plain window colour rather than a loop without progress.
        b.Canvas()->Brush()->SetColor(clWindow);
        b.Canvas()->FillRect(Rect(0, 0, AW, AH));
    } else {
        const Integer cw = source.Width(), ch = source.Height();
        for (Integer y = 0; y < AH; y += ch)
            for (Integer x = 0; x < AW; x += cw) b.Canvas()->CopyRect(Rect(x, y, x + cw, y + ch), picture->Canvas(), source);
    }
    ACanvas->Draw(AX, AY, &b);
}

void TspListBox::PaintItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState)
{
    if (AIndex < 0 || AIndex >= Count()) return;
    if (!SkinListBox || !SkinListBox->HasListRecord())
        DrawDefaultItem(ACanvas, AIndex, ARect, AState);
    else if (SkinListBox->UseSkinItemHeight())
        DrawSkinItem(ACanvas, AIndex, ARect, AState);
    else
        DrawStretchedItem(ACanvas, AIndex, ARect, AState);
}

void TspListBox::ApplyItemFont(TCanvas* ACanvas, bool ASkinFont)
{
    TFont* font = ACanvas->Font();
    if (ASkinFont) {
        const TspListBoxSkin& s = SkinListBox->Skin();
        font->SetName(s.FontName);
        font->SetStyle(s.FontStyle);
        font->SetHeight(s.FontHeight);
    } else {
        TFont* source = SkinListBox ? SkinListBox->DefaultFont() : Font();
        font->SetName(source->Name());
        font->SetStyle(source->Style());
        font->SetHeight(source->Height());
    }
    if (SkinListBox) font->SetCharset(SkinListBox->InterfaceCharset());
}

void TspListBox::DrawImageAndText(TCanvas* ACanvas, Integer AIndex, const TRect& T, const TRect& ATabRect)
{
    Integer indent = 0;
    if (TCustomImageList* images = SkinListBox ? SkinListBox->Images() : nullptr) {
        const Integer image = SkinListBox->ImageIndex() < 0 ? AIndex : SkinListBox->ImageIndex();
        if (image < images->Count())
            images->Draw(ACanvas, T.Left - FHorizontalExtentValue, T.Top + T.Height() / 2 - images->Height() / 2,
                         image, true);
        indent = images->Width() + 2;
    }
    ACanvas->Brush()->SetStyle(bsClear);
    const std::string& text = Items()->Strings(AIndex);
    TStrings* tabs = SkinListBox ? SkinListBox->TabWidths() : nullptr;
    if (tabs && tabs->Count() > 0 && Columns() == 0) {
        const std::vector<int> stops = ParseTabStops(*tabs);
        const Integer y = ATabRect.Top + ATabRect.Height() / 2 - ACanvas->TextHeight(text) / 2;
        win::SetBkMode(ACanvas->Handle(), win::TRANSPARENT);
        win::TabbedTextOut(ACanvas->Handle(), ATabRect.Left + indent + 2, y, text.c_str(),
                           static_cast<int>(text.size()), static_cast<int>(stops.size()), stops.data(), 0);
    } else {
        DrawItemTextIndent(ACanvas, text, T, indent - FHorizontalExtentValue);
    }
}

void TspListBox::DrawDefaultItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState)
{
    const Integer w = ARect.Width(), h = ARect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    ApplyItemFont(c, false);
    if (AState.Contains(odSelected)) {
        c->Brush()->SetColor(clHighlight);
        c->Font()->SetColor(clHighlightText);
    } else {
        c->Brush()->SetColor(clWindow);
        c->Font()->SetColor(SkinListBox ? SkinListBox->Font()->Color() : Font()->Color());
    }
    c->FillRect(Rect(0, 0, w, h));
    const TRect r{2, 0, w - 2, h};
    if (SkinListBox && SkinListBox->OnDrawItem) {
        SkinListBox->OnDrawItem(c, AIndex, w, h, r, AState);
    } else {
        DrawImageAndText(c, AIndex, r, Rect(0, 0, w, h));
    }
    if (AState.Contains(odFocused)) DrawDottedFocusRect(c, Rect(0, 0, w, h));
    ACanvas->Draw(ARect.Left, ARect.Top, &b);
}

void TspListBox::DrawStretchedItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState)
{
    const TspListBoxSkin& s = SkinListBox->Skin();
    TBitmap* picture = SkinListBox->SkinPictureOf();
    const Integer w = ARect.Width(), h = ARect.Height();
    if (!picture || w <= 0 || h <= 0) return;
    const bool focused = AState.Contains(odFocused), selected = AState.Contains(odSelected);
    const TRect& state = focused ? s.FocusItemRect : selected ? s.ActiveItemRect : s.SItemRect;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    if (!IsEmptyRect(state)) {
        const TRect& t = s.ItemTextRect;
        ComposeSkinImageSimple(&b, picture, state, Rect(t.Left + 1, t.Top + 1, t.Right - 1, t.Bottom - 1), true);
    }
    TRect T = s.ItemTextRect;
    T.Right += w - WidthOfRect(s.SItemRect);
    T.Bottom += h - HeightOfRect(s.SItemRect);
    DrawSkinnedContent(c, AIndex, T, {w, h}, HeightOfRect(s.SItemRect), AState,
                       focused ? s.FocusFontColor : selected ? s.ActiveFontColor : s.FontColor);
    ACanvas->Draw(ARect.Left, ARect.Top, &b);
}

void TspListBox::DrawSkinItem(TCanvas* ACanvas, Integer AIndex, const TRect& ARect, TOwnerDrawState AState)
{
    const TspListBoxSkin& s = SkinListBox->Skin();
    TBitmap* picture = SkinListBox->SkinPictureOf();
    const Integer w = ARect.Width(), h = HeightOfRect(s.SItemRect);
    // A skin without an item picture has nothing to draw rows from.
    if (!picture || w <= 0 || h <= 0) return;
    const bool focused = AState.Contains(odFocused), selected = AState.Contains(odSelected);
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    const bool stretch = SkinListBox->StretchEffect;
    auto strip = [&](const TRect& R, bool AStretch) {
        BuildHStripImage(s.ItemLeftOffset, s.ItemRightOffset, &b, picture, R, w, h, AStretch);
    };
    if (focused && selected) {
        strip(s.FocusItemRect, stretch);
    } else if (focused) {
        strip(s.SItemRect, stretch);
        DrawDottedFocusRect(c, Rect(0, 0, w, h));
    } else if (selected) {
        strip(s.ActiveItemRect, stretch);
    } else {
        strip(s.SItemRect, false);
    }
    TRect T = s.ItemTextRect;
    T.Right += w - WidthOfRect(s.SItemRect);
    DrawSkinnedContent(c, AIndex, T, {w, h}, h, AState,
                       focused && selected ? s.FocusFontColor : selected ? s.ActiveFontColor : s.FontColor);
    ACanvas->Draw(ARect.Left, ARect.Top, &b);
}

void TspListBox::DrawSkinnedContent(TCanvas* ACanvas, Integer AIndex, const TRect& T, TSize ASize,
                                    Integer AItemHeight, TOwnerDrawState AState, TColor AColor)
{
    ApplyItemFont(ACanvas, SkinListBox->UseSkinFont());
    ACanvas->Font()->SetColor(AColor);
    ACanvas->Brush()->SetStyle(bsClear);
    if (SkinListBox->OnDrawItem) {
        SkinListBox->OnDrawItem(ACanvas, AIndex, ASize.cx, AItemHeight, T, AState);
        return;
    }
    if (AState.Contains(odFocused) && SkinListBox->Skin().ShowFocus) {
        if (TspSkinData* sd = SkinListBox->SkinData(); sd && sd->FSkinColors)
            ACanvas->Brush()->SetColor(sd->FSkinColors->FcBtnFace);
        DrawDottedFocusRect(ACanvas, Rect(0, 0, ASize.cx, ASize.cy));
    }
    DrawImageAndText(ACanvas, AIndex, T, T);
}
