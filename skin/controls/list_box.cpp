#include "skin/controls/list_box.h"

#include <algorithm>

#include "platform/gui/bitmap.h"
#include "platform/gui/canvas.h"
#include "platform/win/scrolling.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/scroll_bar_link.h"
#include "skin/core/control_records.h"
#include "skin/core/interface_texts.h"
#include "skin/core/rect_helpers.h"

TspListAreaLayout ComputeListArea(const TspListAreaInput& AIn)
{
    TspListAreaLayout out;
    const TRect& cl = AIn.NewClRect;
    const Integer w = AIn.Width, h = AIn.Height, t = AIn.CaptionTop;
    Integer hb = 0;
    if (!AIn.MultiColumn && AIn.HBar) {
        if (AIn.Skinned) {
            out.HBarBounds = Rect(cl.Left, cl.Bottom - AIn.HBarHeight, cl.Right, cl.Bottom);
            hb = AIn.HBarHeight;
        } else {
            // The plain bar runs under the vertical bar's column, where its corner marker sits.
            out.HBarBounds = Bounds(1, h - 20, w - 2, 19);
            hb = 19 - 1;
        }
    }
    if (AIn.VBar) {
        if (!AIn.Skinned && !AIn.MultiColumn) {
            out.VBarBounds = Bounds(w - 20, t, 19, h - 1 - t - hb);
            out.ListRect = Rect(2, t + 1, out.VBarBounds.Left, h - 2 - hb);
        } else if (!AIn.Skinned) {
            out.VBarBounds = Bounds(1, h - 20, w - 2, 19);
            out.ListRect = Rect(2, t + 1, w - 2, out.VBarBounds.Top);
        } else if (!AIn.MultiColumn) {
            out.VBarBounds = Rect(cl.Right - AIn.VBarWidth, cl.Top, cl.Right, cl.Bottom - hb);
            out.ListRect = Rect(cl.Left, cl.Top, cl.Right - AIn.VBarWidth, cl.Bottom - hb);
        } else {
            out.VBarBounds = Rect(cl.Left, cl.Bottom - AIn.VBarHeight, cl.Right, cl.Bottom);
            out.ListRect = Rect(cl.Left, cl.Top, cl.Right, cl.Bottom - AIn.VBarHeight);
        }
    } else {
        out.ListRect = AIn.Skinned ? Rect(cl.Left, cl.Top, cl.Right, cl.Bottom - hb) : Rect(2, t + 1, w - 2, h - 2 - hb);
    }
    return out;
}

TspSkinCustomListBox::TspSkinCustomListBox(TComponent* AOwner)
    : TspSkinCustomControl(AOwner),
      FTabWidths(std::make_unique<TStringList>()),
      FGlyph(std::make_unique<TBitmap>()),
      FDefaultCaptionFont(std::make_unique<TFont>()),
      FRepeat([this] { return HandleAllocated() ? Handle() : nullptr; })
{
    ControlStyle() = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csReplicatable};
    FForceBackground = true;
    FDrawbackground = false;
    Font()->SetName("Arial");
    Font()->SetHeight(14);
    Font()->SetColor(clWindowText);
    FDefaultCaptionFont->SetName("Arial");
    FDefaultCaptionFont->SetHeight(14);
    FDefaultCaptionFont->OnChange = [this](TObject*) {
        if (!FHasRecord && FCaptionMode) Repaint();
    };
    FListBox = new TspListBox(this);
    FListBox->SkinListBox = this;
    FListBox->SetStyle(lbOwnerDrawFixed);
    FListBox->SetItemHeight(FDefaultItemHeight);
    FListBox->SetParent(this);
    FListBox->SetVisible(true);
    SetBounds(Left(), Top(), 120, 120);
    FSkinDataName = "listbox";
}

TspSkinCustomListBox::~TspSkinCustomListBox()
{
    StopRepeatTimer();
    // The inner list must not call back into a frame that is half gone.
    if (FListBox) FListBox->SkinListBox = nullptr;
}

void TspSkinCustomListBox::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FImages) FImages = nullptr;
    if (AComponent == FScrollBar) FScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
    if (AComponent == FListBox) FListBox = nullptr;
}

void TspSkinCustomListBox::CreateParams(TCreateParams& AParams)
{
    TspSkinCustomControl::CreateParams(AParams);
    AParams.ClassStyle &= ~(win::CS_HREDRAW | win::CS_VREDRAW);
}

TFontCharset TspSkinCustomListBox::InterfaceCharset()
{
    if (FSD && FSD->ResourceStrData()) return static_cast<TFontCharset>(FSD->ResourceStrData()->CharSet);
    return DefaultFont()->Charset();
}

void TspSkinCustomListBox::ApplyDefaultFont()
{
    if (!FHasRecord) Font()->Assign(DefaultFont());
}

void TspSkinCustomListBox::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    auto* record = RecordAs<TspDataSkinListBox>();
    FHasRecord = record != nullptr;
    if (!record) return;
    TspListBoxSkin& s = FSkin;
    s.FontName = record->FontName;
    s.FontStyle = record->FontStyle;
    s.FontHeight = record->FontHeight;
    s.SItemRect = record->SItemRect;
    s.ActiveItemRect = IsEmptyRect(record->ActiveItemRect) ? record->SItemRect : record->ActiveItemRect;
    s.FocusItemRect = IsEmptyRect(record->FocusItemRect) ? record->SItemRect : record->FocusItemRect;
    s.ItemLeftOffset = record->ItemLeftOffset;
    s.ItemRightOffset = record->ItemRightOffset;
    s.ItemTextRect = record->ItemTextRect;
    s.FontColor = record->FontColor;
    s.ActiveFontColor = record->ActiveFontColor;
    s.FocusFontColor = record->FocusFontColor;
    s.CaptionRect = record->CaptionRect;
    s.CaptionFontName = record->CaptionFontName;
    s.CaptionFontStyle = record->CaptionFontStyle;
    s.CaptionFontHeight = record->CaptionFontHeight;
    s.CaptionFontColor = record->CaptionFontColor;
    s.UpButtonRect = record->UpButtonRect;
    s.ActiveUpButtonRect = record->ActiveUpButtonRect;
    s.DownUpButtonRect = IsEmptyRect(record->DownUpButtonRect) ? record->ActiveUpButtonRect : record->DownUpButtonRect;
    s.DownButtonRect = record->DownButtonRect;
    s.ActiveDownButtonRect = record->ActiveDownButtonRect;
    s.DownDownButtonRect =
        IsEmptyRect(record->DownDownButtonRect) ? record->ActiveDownButtonRect : record->DownDownButtonRect;
    s.CheckButtonRect = record->CheckButtonRect;
    s.ActiveCheckButtonRect = record->ActiveCheckButtonRect;
    s.DownCheckButtonRect =
        IsEmptyRect(record->DownCheckButtonRect) ? record->ActiveCheckButtonRect : record->DownCheckButtonRect;
    s.VScrollBarName = record->VScrollBarName;
    s.HScrollBarName = record->HScrollBarName;
    s.BothScrollBarName = record->BothScrollBarName;
    s.ShowFocus = record->ShowFocus;
    s.DisabledButtonsRect = record->DisabledButtonsRect;
    s.ButtonsArea = record->ButtonsArea;
}

void TspSkinCustomListBox::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    const bool resized = AWidth != Width() || AHeight != Height();
    TspSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (resized && FListBox) {
        AlignListArea();
        UpDateScrollBar();
        if (FScrollBar) FScrollBar->Repaint();
    }
    if (!FHasRecord) Repaint();
}

void TspSkinCustomListBox::AlignListArea()
{
    if (!FListBox) return;
    TspListAreaInput in;
    in.Skinned = FHasRecord;
    in.Width = Width();
    in.Height = Height();
    if (FHasRecord) {
        const Integer dw = Width() - WidthOfRect(Pieces.SkinRect), dh = Height() - HeightOfRect(Pieces.SkinRect);
        FNewClRect = Pieces.ClRect;
        FNewClRect.Right += dw;
        FNewClRect.Bottom += dh;
        in.NewClRect = FNewClRect;
    }
    in.CaptionTop = FCaptionMode ? FDefaultCaptionHeight : 1;
    in.MultiColumn = Columns() > 0;
    in.VBar = FScrollBar && FScrollBar->Visible();
    if (FScrollBar) {
        in.VBarWidth = FScrollBar->Width();
        in.VBarHeight = FScrollBar->Height();
    }
    in.HBar = FHScrollBar && FHScrollBar->Visible();
    if (FHScrollBar) in.HBarHeight = FHScrollBar->Height();
    const TspListAreaLayout out = ComputeListArea(in);
    if (in.HBar && !in.MultiColumn) FHScrollBar->SetBoundsRect(out.HBarBounds);
    if (in.VBar) FScrollBar->SetBoundsRect(out.VBarBounds);
    FListRect = out.ListRect;
    FListBox->SetBoundsRect(FListRect);
}

Integer TspSkinCustomListBox::Columns() const
{
    return FListBox ? FListBox->Columns() : 0;
}

void TspSkinCustomListBox::SetColumns(Integer AValue)
{
    FListBox->SetColumns(AValue);
    UpDateScrollBar();
}

void TspSkinCustomListBox::SetShowCaptionButtons(bool AValue)
{
    if (FShowCaptionButtons == AValue) return;
    FShowCaptionButtons = AValue;
    Repaint();
}

void TspSkinCustomListBox::SetTabWidths(TStrings* AValue)
{
    FTabWidths->Assign(AValue);
    if (FTabWidths->Count() > 0) FListBox->Repaint();
}

void TspSkinCustomListBox::SetHorizontalExtent(bool AValue)
{
    FHorizontalExtent = AValue;
    UpDateScrollBar();
}

void TspSkinCustomListBox::SetRowCount(Integer AValue)
{
    FRowCount = AValue;
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    UpDateScrollBar();
}

void TspSkinCustomListBox::SetImages(TCustomImageList* AValue)
{
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (FImages) FImages->FreeNotification(this);
    FListBox->Repaint();
}

void TspSkinCustomListBox::SetImageIndex(Integer AValue)
{
    FImageIndex = AValue;
    FListBox->Repaint();
}

void TspSkinCustomListBox::SetGlyph(TBitmap* AValue)
{
    if (AValue)
        FGlyph->Assign(AValue);
    else
        FGlyph = std::make_unique<TBitmap>();
    Repaint();
}

void TspSkinCustomListBox::SetNumGlyphs(Integer AValue)
{
    FNumGlyphs = std::clamp(AValue, 1, 2);
    Repaint();
}

void TspSkinCustomListBox::SetSpacing(Integer AValue)
{
    FSpacing = AValue;
    Repaint();
}

void TspSkinCustomListBox::SetCaptionMode(bool AValue)
{
    FCaptionMode = AValue;
    if (!FHasRecord) {
        AlignListArea();
        Repaint();
    }
}

void TspSkinCustomListBox::SetDefaultCaptionHeight(Integer AValue)
{
    FDefaultCaptionHeight = AValue;
    if (!FHasRecord && FCaptionMode) {
        AlignListArea();
        Repaint();
    }
}

void TspSkinCustomListBox::SetAlignment(TAlignment AValue)
{
    if (FAlignment == AValue) return;
    FAlignment = AValue;
    if (FCaptionMode) Repaint();
}

void TspSkinCustomListBox::SetDefaultItemHeight(Integer AValue)
{
    FDefaultItemHeight = AValue;
    if (!FHasRecord || !FUseSkinItemHeight) FListBox->SetItemHeight(AValue);
}

void TspSkinCustomListBox::SetItems(const TStrings& AValue)
{
    FListBox->Items()->Clear();
    for (Integer i = 0; i < AValue.Count(); ++i) FListBox->Items()->Add(AValue.Strings(i));
    UpDateScrollBar();
}

void TspSkinCustomListBox::SetSorted(bool AValue)
{
    if (FScrollBar) RemoveScrollBar();
    FListBox->SetSorted(AValue);
}

void TspSkinCustomListBox::Clear()
{
    FListBox->Items()->Clear();
    UpDateScrollBar();
}

Integer TspSkinCustomListBox::CalcHeight(Integer AItemsCount)
{
    Integer h;
    if (!FHasRecord) {
        h = AItemsCount * FListBox->ItemHeight() + 4;
        if (FCaptionMode) h += FDefaultCaptionHeight;
    } else {
        h = HeightOfRect(Pieces.SkinRect) - HeightOfRect(Pieces.ClRect) + AItemsCount * FListBox->ItemHeight();
    }
    if (FHScrollBar) h += FHScrollBar->Height();
    return h;
}

Integer TspSkinCustomListBox::CalcItemWidth(Integer AIndex, TCanvas* ACanvas)
{
    return ACanvas->TextWidth(FListBox->Items()->Strings(AIndex));
}

Integer TspSkinCustomListBox::VisibleItemWidth()
{
    Integer w = FHasRecord ? FListBox->Width() - (WidthOfRect(FSkin.SItemRect) - WidthOfRect(FSkin.ItemTextRect))
                           : FListBox->Width() - 4;
    if (FImages) w -= FImages->Width() + 4;
    return w;
}

void TspSkinCustomListBox::UpDateScrollBar()
{
    if (!FListBox || FInUpdate || (ComponentState().Contains(csDestroying))) return;
    FInUpdate = true;
    if (Columns() == 0) {
        UpDateHScrollBar();
        UpDateVScrollBar();
    } else {
        bool needed = false;
        if (FListBox->HandleAllocated()) {
            int min = 0, max = 0;
            win::GetScrollRange(FListBox->Handle(), win::SB_HORZ, &min, &max);
            const int pos = win::GetScrollPos(FListBox->Handle(), win::SB_HORZ);
            const Integer rows = FListBox->Height() / std::max(1, FListBox->ItemHeight());
            needed = min < max && pos <= max && Columns() <= max && rows * Columns() < FListBox->Count();
            if (needed) {
                if (!FScrollBar) AddScrollBar();
                FScrollBar->SetRange(min, max, pos, Columns());
            }
        }
        if (!needed && FScrollBar && FScrollBar->Visible()) RemoveScrollBar();
    }
    FInUpdate = false;
}

void TspSkinCustomListBox::UpDateHScrollBar()
{
    if (!FHorizontalExtent || FStopUpDateHScrollBar) {
        if (FHScrollBar && FHScrollBar->Visible()) RemoveHScrollBar();
        return;
    }
    TCanvas* canvas = MeasureCanvas();
    const Integer widest = WidestItem();
    const Integer page = VisibleItemWidth();
    if (page < widest) {
        if (!FHScrollBar) AddHScrollBar();
        FHScrollBar->SetRange(0, widest, FHScrollBar->Position(), page);
        const Integer step = std::max(1, canvas->TextWidth("0"));
        FHScrollBar->SetSmallChange(step);
        FHScrollBar->SetLargeChange(step);
    } else if (FHScrollBar && FHScrollBar->Visible()) {
        RemoveHScrollBar();
    }
}

TCanvas* TspSkinCustomListBox::MeasureCanvas()
{
    if (!FMeasure) FMeasure = std::make_unique<TBitmap>(1, 1);
    TCanvas* canvas = FMeasure->Canvas();
    if (FHasRecord && FUseSkinFont) {
        canvas->Font()->SetName(FSkin.FontName);
        canvas->Font()->SetStyle(FSkin.FontStyle);
        canvas->Font()->SetHeight(FSkin.FontHeight);
    } else {
        canvas->Font()->Assign(FListBox->Font());
    }
    TFont* font = canvas->Font();
    std::string key = font->Name() + "|" + std::to_string(font->Height()) + "|" +
                      std::to_string(static_cast<int>(font->Style().Contains(fsBold))) +
                      std::to_string(static_cast<int>(font->Style().Contains(fsItalic)));
    if (key != FMeasureFont) {
        FMeasureFont = std::move(key);
        FItemWidthsValid = false;
    }
    return canvas;
}

void TspSkinCustomListBox::MeasureAllItems()
{
    TCanvas* canvas = MeasureCanvas();
    const Integer count = FListBox->Count();
    FItemWidths.assign(static_cast<size_t>(count), 0);
    FWidestItem = 0;
    for (Integer i = 0; i < count; ++i) {
        FItemWidths[i] = CalcItemWidth(i, canvas);
        FWidestItem = std::max(FWidestItem, FItemWidths[i]);
    }
    FItemWidthsValid = true;
}

Integer TspSkinCustomListBox::WidestItem()
{
    MeasureCanvas();
    if (!FItemWidthsValid || static_cast<Integer>(FItemWidths.size()) != FListBox->Count()) MeasureAllItems();
    return FWidestItem;
}

void TspSkinCustomListBox::ItemInserted(Integer AIndex)
{
    if (!FHorizontalExtent || !FItemWidthsValid || AIndex < 0 || AIndex > static_cast<Integer>(FItemWidths.size())) {
        FItemWidthsValid = false;
        return;
    }
    const Integer width = CalcItemWidth(AIndex, MeasureCanvas());
    FItemWidths.insert(FItemWidths.begin() + AIndex, width);
    FWidestItem = std::max(FWidestItem, width);
}

void TspSkinCustomListBox::ItemDeleting(Integer AIndex)
{
    if (!FItemWidthsValid || AIndex < 0 || AIndex >= static_cast<Integer>(FItemWidths.size())) {
        FItemWidthsValid = false;
        return;
    }
    const Integer width = FItemWidths[AIndex];
    FItemWidths.erase(FItemWidths.begin() + AIndex);
    // Only the widest item's going needs a new widest, found among the widths kept.
    if (width >= FWidestItem)
        FWidestItem = FItemWidths.empty() ? 0 : *std::max_element(FItemWidths.begin(), FItemWidths.end());
}

void TspSkinCustomListBox::UpDateVScrollBar()
{
    if ((FRowCount < 1 || FRowCount != FListBox->Count()) && FListBox->HandleAllocated()) {
        int min = 0, max = 0;
        win::GetScrollRange(FListBox->Handle(), win::SB_VERT, &min, &max);
        const int pos = win::GetScrollPos(FListBox->Handle(), win::SB_VERT);
        const Integer page = FListBox->Height() / std::max(1, FListBox->ItemHeight());
        if (min < max && pos <= max && page < FListBox->Count()) {
            if (!FScrollBar) AddScrollBar();
            FScrollBar->SetRange(min, max, pos, page);
            FScrollBar->SetLargeChange(std::max(1, page));
            return;
        }
    }
    if (FScrollBar && FScrollBar->Visible()) RemoveScrollBar();
}

void TspSkinCustomListBox::AddScrollBar()
{
    FScrollBar = new TspSkinScrollBar(this);
    FScrollBar->SetVisible(false);
    FScrollBar->SetKind(Columns() == 0 ? sbVertical : sbHorizontal);
    FScrollBar->SetBounds(0, 0, 20, 100);
    FScrollBar->SetRange(0, 100, 0, 0);
    FScrollBar->OnChange = [this](TObject*) { ScrollBarChange(); };
    FScrollBar->SetSkinDataName(!FHasRecord ? "" : Columns() == 0 ? FSkin.VScrollBarName : FSkin.HScrollBarName);
    FScrollBar->SetSkinData(FSD);
    FScrollBar->SetParent(this);
    if (FHScrollBar) {
        // The horizontal bar now leaves the corner under the vertical bar free.
        if (!FHasRecord) {
            FHScrollBar->BothSkinDataName.clear();
            FHScrollBar->SetSkinDataName("");
            FHScrollBar->SetBothMarkerWidth(19);
        } else {
            FHScrollBar->BothSkinDataName = FSkin.BothScrollBarName;
            FHScrollBar->SetSkinDataName(FSkin.BothScrollBarName);
        }
        FHScrollBar->SetBoth(true);
        FHScrollBar->SetSkinData(FSD);
    }
    FScrollBar->SetVisible(true);
    AlignListArea();
    Repaint();
}

void TspSkinCustomListBox::AddHScrollBar()
{
    FHScrollBar = new TspSkinScrollBar(this);
    FHScrollBar->SetVisible(false);
    FHScrollBar->SetKind(sbHorizontal);
    FHScrollBar->SetBounds(0, 0, 100, 20);
    FHScrollBar->SetRange(0, 100, 0, 0);
    FHScrollBar->OnChange = [this](TObject*) { HScrollBarChange(); };
    if (!FHasRecord) {
        FHScrollBar->BothSkinDataName.clear();
        FHScrollBar->SetSkinDataName("");
        if (FScrollBar) {
            FHScrollBar->SetBoth(true);
            FHScrollBar->SetBothMarkerWidth(19);
        }
    } else if (FScrollBar) {
        FHScrollBar->BothSkinDataName = FSkin.BothScrollBarName;
        FHScrollBar->SetSkinDataName(FSkin.BothScrollBarName);
        FHScrollBar->SetBoth(true);
    } else {
        FHScrollBar->BothSkinDataName = FSkin.HScrollBarName;
        FHScrollBar->SetSkinDataName(FSkin.HScrollBarName);
    }
    FHScrollBar->SetSkinData(FSD);
    FHScrollBar->SetParent(this);
    FHScrollBar->SetVisible(true);
    AlignListArea();
    Repaint();
}

void TspSkinCustomListBox::RemoveScrollBar()
{
    if (!FScrollBar) return;
    TspSkinScrollBar* bar = FScrollBar;
    FScrollBar = nullptr;
    bar->SetVisible(false);
    delete bar;
    AlignListArea();
}

void TspSkinCustomListBox::RemoveHScrollBar()
{
    if (!FHScrollBar) return;
    FListBox->FHorizontalExtentValue = 0;
    TspSkinScrollBar* bar = FHScrollBar;
    FHScrollBar = nullptr;
    bar->SetVisible(false);
    delete bar;
    AlignListArea();
    FListBox->Repaint();
}

void TspSkinCustomListBox::ScrollBarChange()
{
    const win::UINT message = Columns() == 0 ? win::WM_VSCROLL : win::WM_HSCROLL;
    SendThumbPosition(FListBox, message, FScrollBar->Position());
}

void TspSkinCustomListBox::HScrollBarChange()
{
    // No native scroll: the rows are drawn shifted by the bar's position.
    FListBox->FHorizontalExtentValue = FHScrollBar->Position();
    FListBox->Repaint();
}

void TspSkinCustomListBox::ChangeSkinData()
{
    TspSkinCustomControl::ChangeSkinData();
    FItemWidthsValid = false;
    FStopUpDateHScrollBar = true;
    if (!FHasRecord) {
        FListBox->SetItemHeight(FDefaultItemHeight);
        FListBox->Font()->Assign(DefaultFont());
    } else if (FUseSkinItemHeight) {
        // An empty item picture gives height 0, which the list refuses; it keeps its last height.
        FListBox->SetItemHeight(HeightOfRect(FSkin.SItemRect));
    }
    if (FScrollBar) {
        FScrollBar->SetSkinDataName(!FHasRecord ? "" : Columns() == 0 ? FSkin.VScrollBarName : FSkin.HScrollBarName);
        FScrollBar->SetSkinData(FSD);
    }
    if (FHScrollBar) {
        if (!FHasRecord) {
            FHScrollBar->BothSkinDataName.clear();
            FHScrollBar->SetSkinDataName("");
            if (FScrollBar) FHScrollBar->SetBothMarkerWidth(19);
        } else {
            const std::string& name = FScrollBar ? FSkin.BothScrollBarName : FSkin.HScrollBarName;
            FHScrollBar->BothSkinDataName = name;
            FHScrollBar->SetSkinDataName(name);
        }
        FHScrollBar->SetSkinData(FSD);
    }
    if (FRowCount != 0) SetHeight(CalcHeight(FRowCount));
    AlignListArea();
    FStopUpDateHScrollBar = false;
    UpDateScrollBar();
    FListBox->Repaint();
}

// Hooks: each fires the frame's event, with the frame as sender.

void TspSkinCustomListBox::ListBoxMouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (OnListBoxMouseDown) OnListBoxMouseDown(this, AButton, AShift, AX, AY);
}

void TspSkinCustomListBox::ListBoxMouseMove(TShiftState AShift, int AX, int AY)
{
    if (OnListBoxMouseMove) OnListBoxMouseMove(this, AShift, AX, AY);
}

void TspSkinCustomListBox::ListBoxMouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (OnListBoxMouseUp) OnListBoxMouseUp(this, AButton, AShift, AX, AY);
}

void TspSkinCustomListBox::ListBoxClick()
{
    if (OnListBoxClick) OnListBoxClick(this);
}

void TspSkinCustomListBox::ListBoxDblClick()
{
    if (OnListBoxDblClick) OnListBoxDblClick(this);
}

void TspSkinCustomListBox::ListBoxKeyDown(win::WORD& AKey, TShiftState AShift)
{
    if (OnListBoxKeyDown) OnListBoxKeyDown(this, AKey, AShift);
}

void TspSkinCustomListBox::ListBoxKeyUp(win::WORD& AKey, TShiftState AShift)
{
    if (OnListBoxKeyUp) OnListBoxKeyUp(this, AKey, AShift);
}

void TspSkinCustomListBox::ListBoxKeyPress(char32_t& AKey)
{
    if (OnListBoxKeyPress) OnListBoxKeyPress(this, AKey);
}
