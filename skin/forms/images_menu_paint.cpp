// The images-menu window's layout, size, place on the screen and painting, in the skin or in the plain look.
#include <algorithm>

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/forms.h"
#include "platform/gui/screen.h"
#include "skin/core/glyph_text.h"
#include "skin/core/mask_regions.h"
#include "skin/core/platform_gates.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_strips.h"
#include "skin/forms/images_menu.h"

using namespace win;

namespace {

constexpr TColor kFrameColor = static_cast<TColor>(0x800000);
constexpr TColor kDownFill = static_cast<TColor>(0xB59385);
constexpr TColor kHotFill = static_cast<TColor>(0xD2BDB6);

template <typename TRecord>
TRecord* ControlRecord(TspSkinData* ASkin, const std::string& AName)
{
    if (!ASkin || ASkin->Empty) return nullptr;
    const Integer index = ASkin->GetControlIndex(AName);
    return index < 0 ? nullptr : dynamic_cast<TRecord*>(ASkin->CtrlList[index].get());
}

}  // namespace

TspDataSkinPopupWindow* TspSkinImagesMenuPopupWindow::PW() const
{
    return ImagesMenu->SkinData() ? ImagesMenu->SkinData()->PopupWindow.get() : nullptr;
}

// Skinned when the skin's popup-window record has a window picture; an index outside the picture list counts
// as none.
bool TspSkinImagesMenuPopupWindow::CheckSkinSupport()
{
    TspSkinData* skin = ImagesMenu->SkinData();
    WindowPicture = MaskPicture = nullptr;
    FSkinSupport = false;
    if (!skin || skin->Empty || !PW() || PW()->WindowPictureIndex == -1) return false;
    WindowPicture = skin->ActivePicture(PW()->WindowPictureIndex);
    MaskPicture = skin->ActivePicture(PW()->MaskPictureIndex);
    FSkinSupport = WindowPicture != nullptr;
    return FSkinSupport;
}

TspDataSkinButtonControl* TspSkinImagesMenuPopupWindow::ButtonRecord() const
{
    TspSkinData* skin = ImagesMenu->SkinData();
    auto* record = ControlRecord<TspDataSkinButtonControl>(skin, "menuitembutton");
    return record ? record : ControlRecord<TspDataSkinButtonControl>(skin, "resizebutton");
}

// ---- layout, size and place ----

void TspSkinImagesMenuPopupWindow::CalcItemRects()
{
    TCustomImageList* images = ImagesMenu->Images();
    const Integer w = images->Width() + 10, h = images->Height() + 10;
    const Integer rowWidth = w * ImagesMenu->ColumnsCount();
    const TPoint start = FSkinSupport ? PW()->ItemsRect.TopLeft() : TPoint{5, 5};
    Integer headerHeight = h;
    if (auto* label = ControlRecord<TspDataSkinLabelControl>(ImagesMenu->SkinData(), "label"))
        headerHeight = HeightOfRect(label->SkinRect);
    Integer x = start.X, y = start.Y;
    bool rowEmpty = true;
    TspImagesMenuItems* items = ImagesMenu->ImagesItems();
    for (Integer i = 0; i < items->Count(); ++i) {
        TspImagesMenuItem* item = items->Items(i);
        if (item->Button() || item->Header()) {
            if (!rowEmpty) y += h + 1;
            const Integer rowHeight = item->Button() ? h : headerHeight;
            item->ItemRect = Rect(start.X, y, start.X + rowWidth, y + rowHeight);
            y += rowHeight + 1;
            x = start.X;
            rowEmpty = true;
            continue;
        }
        item->ItemRect = Rect(x, y, x + w, y + h);
        x += w;
        rowEmpty = false;
        if (x + w > start.X + rowWidth) {
            x = start.X;
            y += h + 1;
            rowEmpty = true;
        }
    }
}

void TspSkinImagesMenuPopupWindow::CalcSize()
{
    CheckSkinSupport();
    CalcItemRects();
    TspImagesMenuItems* items = ImagesMenu->ImagesItems();
    const Integer itemsHeight = items->Items(items->Count() - 1)->ItemRect.Bottom - items->Items(0)->ItemRect.Top;
    const Integer rowWidth = (ImagesMenu->Images()->Width() + 10) * ImagesMenu->ColumnsCount();
    if (!FSkinSupport) {
        SetBounds(Left(), Top(), rowWidth + 10, itemsHeight + 10);
        return;
    }
    TspDataSkinPopupWindow* pw = PW();
    const Integer pwd = WindowPicture->Width(), pht = WindowPicture->Height();
    SetBounds(Left(), Top(), rowWidth + (pwd - WidthOfRect(pw->ItemsRect)),
              itemsHeight + (pht - HeightOfRect(pw->ItemsRect)));
    NewLTPoint = pw->LTPoint;
    NewRTPoint = TPoint{Width() - (pwd - pw->RTPoint.X), pw->RTPoint.Y};
    NewLBPoint = TPoint{pw->LBPoint.X, Height() - (pht - pw->LBPoint.Y)};
    NewRBPoint = TPoint{Width() - (pwd - pw->RBPoint.X), Height() - (pht - pw->RBPoint.Y)};
    NewItemsRect = Rect(pw->ItemsRect.Left, pw->ItemsRect.Top, Width() - (pwd - pw->ItemsRect.Right),
                        Height() - (pht - pw->ItemsRect.Bottom));
    if (MaskPicture) {
        HRGN region = nullptr;
        BuildSkinWindowRegion(region, pw->LTPoint, pw->RTPoint, pw->LBPoint, pw->RBPoint, pw->ItemsRect, NewLTPoint,
                              NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, MaskPicture, Width(), Height());
        // The window owns the region from here on and deletes the one it had.
        SetWindowRgn(Handle(), region, TRUE);
    }
}

TPoint TspSkinImagesMenuPopupWindow::CalcShowPosition(const TRect& PopupRect)
{
    TRect workArea;
    TCustomForm* form = Screen ? Screen->ActiveCustomForm() : nullptr;
    if (!form && Application && Application->MainForm() && Application->MainForm()->Visible())
        form = Application->MainForm();
    auto* owner = form ? nullptr : dynamic_cast<TWinControl*>(ImagesMenu->Owner());
    if (form && form->HandleAllocated())
        GetWorkAreaOf(form->Handle(), true, workArea);
    else if (owner && owner->HandleAllocated())
        GetWorkAreaOf(owner->Handle(), true, workArea);
    else
        GetDesktopWorkArea(true, workArea);
    Integer x = PopupRect.Left, y = PopupRect.Bottom;
    if (y + Height() > workArea.Bottom) y = PopupRect.Top - Height();
    if (x + Width() > workArea.Right) x -= x + Width() - workArea.Right;
    return TPoint{std::max(x, workArea.Left), std::max(y, workArea.Top)};
}

// ---- painting ----

void TspSkinImagesMenuPopupWindow::Paint()
{
    PaintWindow(Canvas());
}

void TspSkinImagesMenuPopupWindow::PaintWindow(TCanvas* C)
{
    if (Width() <= 0 || Height() <= 0) return;
    CheckSkinSupport();
    TBitmap image(Width(), Height());
    TCanvas* c = image.Canvas();
    if (FSkinSupport) {
        TspDataSkinPopupWindow* pw = PW();
        ComposeWindowSkinImage(pw->LTPoint, pw->RTPoint, pw->LBPoint, pw->RBPoint, pw->ItemsRect, NewLTPoint,
                               NewRTPoint, NewLBPoint, NewRBPoint, NewItemsRect, &image, WindowPicture,
                               Rect(0, 0, WindowPicture->Width(), WindowPicture->Height()), Width(), Height(), true,
                               pw->LeftStretch, pw->TopStretch, pw->RightStretch, pw->BottomStretch,
                               pw->StretchEffect, pw->StretchType);
    } else {
        c->Brush()->SetColor(clWindow);
        c->FillRect(Rect(0, 0, Width(), Height()));
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(Rect(0, 0, Width(), Height()));
    }
    DrawItems(c);
    C->Draw(0, 0, &image);
}

void TspSkinImagesMenuPopupWindow::DrawItems(TCanvas* C)
{
    TspImagesMenuItems* items = ImagesMenu->ImagesItems();
    TCustomImageList* images = ImagesMenu->Images();
    const Integer selected = ImagesMenu->ShowSelectedItem ? ImagesMenu->ItemIndex() : -1;
    for (Integer i = 0; i < items->Count(); ++i) {
        TspImagesMenuItem* item = items->Items(i);
        const TRect& r = item->ItemRect;
        if (item->Header()) {
            DrawHeader(C, r, item->Caption());
            continue;
        }
        const bool selectedLook = i == selected && !FItemDown;
        const bool hot = i == MouseInItem;
        if (selectedLook)
            DrawItemFrame(r, C, true);
        else if (hot)
            DrawItemFrame(r, C, FItemDown);
        TRect textRect = r;
        if (images && item->ImageIndex() >= 0 && item->ImageIndex() < images->Count()) {
            images->Draw(C, r.Left + 5, r.Top + 5, item->ImageIndex(), true);
            textRect.Left += images->Width() + 5;
        }
        if (item->Button() && !item->Caption().empty())
            DrawItemText(item->Caption(), textRect, selectedLook || (hot && FItemDown), hot, C);
    }
}

void TspSkinImagesMenuPopupWindow::DrawItemFrame(const TRect& R, TCanvas* C, bool Down)
{
    TspDataSkinButtonControl* record = FSkinSupport ? ButtonRecord() : nullptr;
    TBitmap* picture = record ? ImagesMenu->SkinData()->ActivePicture(record->PictureIndex) : nullptr;
    if (picture && !IsEmptyRect(record->SkinRect)) {
        TRect source = Down && !IsEmptyRect(record->DownSkinRect) ? record->DownSkinRect : record->ActiveSkinRect;
        if (IsEmptyRect(source)) source = record->SkinRect;
        const Integer dx = WidthOfRect(R) - WidthOfRect(record->SkinRect);
        const Integer dy = HeightOfRect(R) - HeightOfRect(record->SkinRect);
        TRect client = record->ClRect;
        client.Right += dx;
        client.Bottom += dy;
        TBitmap piece(WidthOfRect(R), HeightOfRect(R));
        ComposeSkinImage(record->LTPoint, record->RTPoint, record->LBPoint, record->RBPoint, record->ClRect,
                         record->LTPoint, TPoint{record->RTPoint.X + dx, record->RTPoint.Y},
                         TPoint{record->LBPoint.X, record->LBPoint.Y + dy},
                         TPoint{record->RBPoint.X + dx, record->RBPoint.Y + dy}, client, &piece, picture, source,
                         WidthOfRect(R), HeightOfRect(R), true, record->LeftStretch, record->TopStretch,
                         record->RightStretch, record->BottomStretch, record->StretchEffect, record->StretchType);
        C->Draw(R.Left, R.Top, &piece);
        return;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(kFrameColor);
    C->FillRect(R);
    C->Brush()->SetColor(Down ? kDownFill : kHotFill);
    C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

void TspSkinImagesMenuPopupWindow::DrawItemText(const std::string& Caption, const TRect& R, bool Down, bool Active,
                                                TCanvas* C)
{
    TspSkinData* skin = ImagesMenu->SkinData();
    TspDataSkinButtonControl* button = FSkinSupport ? ButtonRecord() : nullptr;
    TspDataSkinMenuItem* menuItem = nullptr;
    if (button) {
        Integer index = skin->GetIndex("menuitem");
        if (index < 0) index = skin->GetIndex("MENUITEM");
        if (index >= 0) menuItem = dynamic_cast<TspDataSkinMenuItem*>(skin->ObjectList[index].get());
    }
    TFont* font = C->Font();
    if (button && menuItem) {
        if (ImagesMenu->UseSkinFont) {
            font->SetName(button->FontName);
            font->SetHeight(button->FontHeight);
            font->SetStyle(button->FontStyle);
        } else {
            font->Assign(ImagesMenu->DefaultFont());
        }
        font->SetColor(Down ? button->DownFontColor : Active ? button->ActiveFontColor : menuItem->FontColor);
    } else {
        font->Assign(ImagesMenu->DefaultFont());
        font->SetColor(clWindowText);
    }
    C->Brush()->SetStyle(bsClear);
    const WideString text = Utf8ToWide(Caption);
    const Cardinal align = WideTextWidth(C, text) <= WidthOfRect(R) ? DT_CENTER : DT_LEFT;
    TRect r = R;
    DrawWideText(C, text, r, DT_SINGLELINE | DT_VCENTER | align);
}

void TspSkinImagesMenuPopupWindow::DrawHeader(TCanvas* C, const TRect& R, const std::string& Caption)
{
    auto* label = ControlRecord<TspDataSkinLabelControl>(ImagesMenu->SkinData(), "label");
    TBitmap* picture = label ? ImagesMenu->SkinData()->ActivePicture(label->PictureIndex) : nullptr;
    const WideString text = Utf8ToWide(Caption);
    if (!label || !picture) {
        C->Font()->Assign(ImagesMenu->DefaultFont());
        C->Brush()->SetStyle(bsClear);
        TRect r = R;
        DrawWideText(C, text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        return;
    }
    TBitmap strip(WidthOfRect(R), HeightOfRect(label->SkinRect));
    BuildHStripImage(label->LTPoint.X, WidthOfRect(label->SkinRect) - label->RTPoint.X, &strip, picture,
                     label->SkinRect, WidthOfRect(R), strip.Height(), label->StretchEffect);
    TCanvas* s = strip.Canvas();
    s->Font()->SetName(label->FontName);
    s->Font()->SetHeight(label->FontHeight);
    s->Font()->SetStyle(label->FontStyle);
    s->Font()->SetColor(label->FontColor);
    s->Brush()->SetStyle(bsClear);
    TRect r = Rect(label->ClRect.Left, label->ClRect.Top,
                   strip.Width() - (WidthOfRect(label->SkinRect) - label->ClRect.Right), strip.Height());
    DrawWideText(s, text, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    C->Draw(R.Left, R.Top, &strip);
}
