#include "skin/controls/combo_box.h"

#include <algorithm>

#include "platform/rtl/clock.h"
#include "platform/win/input.h"
#include "platform/win/message_queue.h"
#include "skin/controls/scroll_bar.h"
#include "skin/core/control_records.h"
#include "skin/core/interface_texts.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"

namespace {

constexpr win::DWORD kTypeAheadResetMs = 500;
constexpr win::DWORD kCompletionGapMs = 200;

std::string Utf8Of(char32_t AKey)
{
    std::string s;
    if (AKey < 0x80) {
        s += static_cast<char>(AKey);
    } else if (AKey < 0x800) {
        s += static_cast<char>(0xC0 | (AKey >> 6));
        s += static_cast<char>(0x80 | (AKey & 0x3F));
    } else if (AKey < 0x10000) {
        s += static_cast<char>(0xE0 | (AKey >> 12));
        s += static_cast<char>(0x80 | ((AKey >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (AKey & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (AKey >> 18));
        s += static_cast<char>(0x80 | ((AKey >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((AKey >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (AKey & 0x3F));
    }
    return s;
}

bool Inside(const TRect& R, TPoint P)
{
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

Integer CharCount(const std::string& AText)
{
    return static_cast<Integer>(
        std::count_if(AText.begin(), AText.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

TspSkinCustomComboBox::TspSkinCustomComboBox(TComponent* AOwner) : TspSkinCustomControl(AOwner)
{
    SetTabStop(true);
    ControlStyle() = {csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks};
    Font()->SetName("Arial");
    Font()->SetColor(clWindowText);
    Font()->SetHeight(14);
    SetBounds(Left(), Top(), 120, 20);
    FListBox = new TspPopupListBox(this);
    TspListBox* inner = FListBox->ListBox();
    inner->SetTabStop(false);
    inner->OnMouseMove = [this](TObject* ASender, TShiftState AShift, int AX, int AY) {
        HoverListItem(ASender, AShift, AX, AY);
    };
    FListBoxWindowProc = inner->WindowProc;
    inner->WindowProc = [this](TMessage& AMessage) { ListHook(AMessage); };
    FListBox->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
    CalcRects();
    FSkinDataName = "combobox";
}

TspSkinCustomComboBox::~TspSkinCustomComboBox()
{
    SetTimerMode(0);
    FreeEdit();
    // The list's procedure calls into this box: it goes first.
    TspPopupListBox* list = FListBox;
    FListBox = nullptr;
    delete list;
}

void TspSkinCustomComboBox::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinCustomControl::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    if (AComponent == FListBox) FListBox = nullptr;
    if (AComponent == FEdit) FEdit = nullptr;
}

TFontCharset TspSkinCustomComboBox::InterfaceCharset()
{
    if (FSD && FSD->ResourceStrData()) return static_cast<TFontCharset>(FSD->ResourceStrData()->CharSet);
    return DefaultFont()->Charset();
}

TColor TspSkinCustomComboBox::DisabledColor()
{
    if (FSD && !FSD->Empty) {
        const Integer i = FSD->GetControlIndex("edit");
        if (i >= 0)
            if (auto* edit = dynamic_cast<TspDataSkinEditControl*>(FSD->CtrlList[i].get())) return edit->DisabledFontColor;
    }
    return clGrayText;
}

void TspSkinCustomComboBox::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    auto* record = RecordAs<TspDataSkinComboBox>();
    FHasRecord = record != nullptr;
    if (!record) return;
    TSkinCopy& s = FSkin;
    s.ActiveSkinRect = record->ActiveSkinRect;
    s.ActiveFontColor = record->ActiveFontColor;
    s.FontName = record->FontName;
    s.FontStyle = record->FontStyle;
    s.FontHeight = record->FontHeight;
    s.SItemRect = record->SItemRect;
    s.FocusItemRect = IsEmptyRect(record->FocusItemRect) ? record->SItemRect : record->FocusItemRect;
    s.ActiveItemRect = record->ActiveItemRect;
    s.ItemLeftOffset = record->ItemLeftOffset;
    s.ItemRightOffset = record->ItemRightOffset;
    s.ItemTextRect = record->ItemTextRect;
    s.FontColor = record->FontColor;
    s.FocusFontColor = record->FocusFontColor;
    s.ButtonRect = record->ButtonRect;
    s.ActiveButtonRect = record->ActiveButtonRect;
    s.DownButtonRect = record->DownButtonRect;
    s.UnEnabledButtonRect = record->UnEnabledButtonRect;
    s.ListBoxName = record->ListBoxName;
    s.ItemStretchEffect = record->ItemStretchEffect;
    s.FocusItemStretchEffect = record->FocusItemStretchEffect;
    s.ShowFocus = record->ShowFocus;
}

void TspSkinCustomComboBox::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    if (FUseSkinSize || !FHasRecord) {
        TspSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
        return;
    }
    // A free size: only the stretched points and client rectangle follow the new width.
    Integer w = AWidth, h = HeightOfRect(Pieces.SkinRect);
    TspSkinCustomControl::FitSizeToSkin(w, h);
}

void TspSkinCustomComboBox::ApplyMaskRegion()
{
    if (FUseSkinSize) TspSkinCustomControl::ApplyMaskRegion();
}

void TspSkinCustomComboBox::ApplyDefaultFont()
{
    Font()->Assign(DefaultFont());
}

void TspSkinCustomComboBox::Invalidate()
{
    TspSkinCustomControl::Invalidate();
    if (Skinned() && FEdit) FEdit->Invalidate();
}

// --- selection and text

void TspSkinCustomComboBox::SetItems(const TStrings& AValue)
{
    FListBox->SetItems(AValue);
}

void TspSkinCustomComboBox::SetItemIndex(Integer AValue)
{
    FListBox->SetItemIndex(AValue);
    const Integer index = FListBox->ItemIndex();
    if (Items()->Count() > 0 && AValue != -1 && index >= 0) SetText(Items()->Strings(index));
    FOldItemIndex = index;
    if (!FEdit) Repaint();
    if (Designing() || Loading()) return;
    if (OnClick) OnClick(this);
    SelectionChanged();
}

void TspSkinCustomComboBox::EditChanged()
{
    FromEdit = true;
    const std::string text = FEdit->Text();
    if (!text.empty()) {
        const Integer found = FListBox->ListBox()->FindString(text, -1);
        if (found >= 0) {
            // Quietly: the list follows the typing without choosing.
            if (FAutoComplete)
                FListBox->ListBox()->SetItemIndex(found);
            else
                FListBox->SetTopIndex(found);
        }
    }
    SetText(text);
    FromEdit = false;
}

Integer TspSkinCustomComboBox::FindItem(const std::string& AText, Integer AAfter)
{
    return FListBox->ListBox()->FindString(AText, AAfter);
}

void TspSkinCustomComboBox::StepUp(bool AApply)
{
    if (ItemIndex() <= 0) return;
    if (FEdit)
        EditStep(ItemIndex() - 1, AApply);
    else if (AApply)
        SetItemIndex(ItemIndex() - 1);
    else
        FListBox->SetItemIndex(ItemIndex() - 1);
}

void TspSkinCustomComboBox::StepDown(bool AApply)
{
    if (ItemIndex() >= Items()->Count() - 1) return;
    if (FEdit)
        EditStep(ItemIndex() + 1, AApply);
    else if (AApply)
        SetItemIndex(ItemIndex() + 1);
    else
        FListBox->SetItemIndex(ItemIndex() + 1);
}

void TspSkinCustomComboBox::WheelStep(int ADelta)
{
    // A closed list takes the choice; an open one only moves its highlight.
    if (ADelta > 0)
        StepUp(!FDropDown);
    else
        StepDown(!FDropDown);
}

void TspSkinCustomComboBox::EditStep(Integer AIndex, bool AApply)
{
    FListBox->SetItemIndex(AIndex);
    if (!AApply) return;
    SetText(Items()->Strings(AIndex));
    FEdit->SelectAll();
    if (OnClick) OnClick(this);
}

void TspSkinCustomComboBox::PageMove(bool AUp)
{
    const Integer last = Items()->Count() - 1;
    if (last < 0) return;
    // Up by the list's rows plus one, down by the rows less one, as the keys always moved.
    const Integer target = AUp ? std::max(0, ItemIndex() - FDropDownCount - 1)
                               : std::min(last, ItemIndex() + FDropDownCount - 1);
    SetItemIndex(target);
}

void TspSkinCustomComboBox::TypeAhead(char32_t AKey)
{
    const win::DWORD now = win::GetTickCount();
    std::string search;
    if (FAutoComplete) {
        if (now - FLastTime >= kTypeAheadResetMs) FFilter.clear();
        FLastTime = now;
        FFilter += Utf8Of(AKey);
        search = FFilter;
    } else {
        search = Utf8Of(AKey);
    }
    const Integer found = FindItem(search, CharCount(search) == 1 ? ItemIndex() : -1);
    if (found >= 0) SetItemIndex(found);
}

void TspSkinCustomComboBox::CompleteText()
{
    const win::DWORD now = win::GetTickCount();
    if (now - FLastTime <= kCompletionGapMs) return;
    FLastTime = now;
    const std::string text = Text();
    if (text.empty()) return;
    const Integer found = FindItem(text, CharCount(text) == 1 ? ItemIndex() : -1);
    if (found < 0) return;
    const Integer typed = CharCount(text);
    SetItemIndex(found);
    FEdit->SetSelStart(typed);
    FEdit->SetSelLength(CharCount(Items()->Strings(found)) - typed);
}

Integer TspSkinCustomComboBox::SelStart() const
{
    return FEdit ? FEdit->SelStart() : 0;
}

void TspSkinCustomComboBox::SetSelStart(Integer AValue)
{
    if (FEdit) FEdit->SetSelStart(AValue);
}

Integer TspSkinCustomComboBox::SelLength() const
{
    return FEdit ? FEdit->SelLength() : 0;
}

void TspSkinCustomComboBox::SetSelLength(Integer AValue)
{
    if (FEdit) FEdit->SetSelLength(AValue);
}

// --- properties

void TspSkinCustomComboBox::SetToolButtonStyle(bool AValue)
{
    if (FToolButtonStyle == AValue) return;
    FToolButtonStyle = AValue;
    if (AValue) {
        SetStyle(spcbFixedStyle);
        FUseSkinSize = false;
    }
    Repaint();
}

void TspSkinCustomComboBox::SetCharCase(TEditCharCase AValue)
{
    FCharCase = AValue;
    if (FEdit) FEdit->SetCharCase(AValue);
}

void TspSkinCustomComboBox::SetDefaultColor(TColor AValue)
{
    FDefaultColor = AValue;
    if (!FHasRecord) {
        Invalidate();
        if (FEdit) FEdit->SetColor(AValue);
    }
}

void TspSkinCustomComboBox::SetDropDownCount(Integer AValue)
{
    if (AValue > 0) FDropDownCount = AValue;
}

void TspSkinCustomComboBox::SetImages(TCustomImageList* AValue)
{
    FListBox->SetImages(AValue);
    Repaint();
}

void TspSkinCustomComboBox::SetImageIndex(Integer AValue)
{
    FListBox->SetImageIndex(AValue);
    Repaint();
}

void TspSkinCustomComboBox::SetOnListBoxDrawItem(TspDrawSkinItemEvent AValue)
{
    FListBox->OnDrawItem = std::move(AValue);
}

void TspSkinCustomComboBox::SetStyle(TspSkinCustomComboBoxStyle AValue)
{
    FStyle = AValue;
    if (AValue == spcbEditStyle) {
        // One inner edit whatever the style is set to: a second assignment only refreshes it.
        if (!FEdit) CreateEdit();
        if (TabStop()) {
            SetTabStop(false);
            FEdit->SetTabStop(true);
        } else if (!FEdit->TabStop()) {
            FEdit->SetTabStop(false);
        }
        FEdit->SetText(Text());
        if (Focused()) FEdit->SetFocus();
    } else {
        FreeEdit();
    }
    CalcRects();
    Repaint();
}

void TspSkinCustomComboBox::CreateEdit()
{
    FEdit = new TspCustomEdit(this);
    FEdit->SetParent(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->SetHideSelection(FHideSelection);
    FEdit->SetCharCase(FCharCase);
    FEditWindowProc = FEdit->WindowProc;
    FEdit->WindowProc = [this](TMessage& AMessage) { EditWindowHook(AMessage); };
    FEdit->OnEditCancelMode = [this](TObject*, TControl* AControl) {
        if (!FocusStaysWithUs(AControl)) CloseUp(false);
    };
    FEdit->OnChange = [this](TObject*) { EditChanged(); };
    FEdit->OnKeyDown = [this](TObject*, win::WORD& AKey, TShiftState AShift) {
        if (OnKeyDown) OnKeyDown(this, AKey, AShift);
    };
    FEdit->OnKeyPress = [this](TObject*, char32_t& AKey) {
        if (OnKeyPress) OnKeyPress(this, AKey);
    };
    FEdit->OnKeyUp = [this](TObject*, win::WORD& AKey, TShiftState AShift) {
        if (OnKeyUp) OnKeyUp(this, AKey, AShift);
    };
    UpdateEditFont();
    LayoutEdit();
}

void TspSkinCustomComboBox::FreeEdit()
{
    if (!FEdit) return;
    TspCustomEdit* edit = FEdit;
    FEdit = nullptr;
    edit->WindowProc = FEditWindowProc;
    edit->SetVisible(false);
    delete edit;
}

void TspSkinCustomComboBox::UpdateEditFont()
{
    if (!FEdit) return;
    TFont* font = FEdit->Font();
    if (!FHasRecord) {
        font->Assign(Font());
    } else {
        if (FUseSkinFont) {
            font->SetName(FSkin.FontName);
            font->SetStyle(FSkin.FontStyle);
            font->SetHeight(FSkin.FontHeight);
        } else {
            font->Assign(DefaultFont());
        }
        const bool hot = !IsEmptyRect(FSkin.ActiveSkinRect) && (FEdit->Focused() || FMouseIn);
        font->SetColor(hot ? FSkin.ActiveFontColor : FSkin.FontColor);
    }
    font->SetCharset(InterfaceCharset());
    if (!Enabled()) font->SetColor(DisabledColor());
    FEdit->SetEditTransparent(FHasRecord);
}

bool TspSkinCustomComboBox::FocusStaysWithUs(TControl* AControl) const
{
    if (!AControl) return false;
    return AControl == this || AControl == FListBox || AControl == FListBox->ScrollBar() ||
           AControl == FListBox->HScrollBar() || AControl == FListBox->ListBox();
}

bool TspSkinCustomComboBox::KeepsListKey(win::WPARAM AKey) const
{
    // With the list open, Enter takes the choice and Escape drops it; neither reaches the form's default or
    // cancel button.
    return FDropDown && (AKey == win::VK_RETURN || AKey == win::VK_ESCAPE);
}

void TspSkinCustomComboBox::EditWindowHook(TMessage& AMessage)
{
    const bool activeLook = FHasRecord && !IsEmptyRect(FSkin.ActiveSkinRect);
    switch (AMessage.Msg) {
    case CM_WANTSPECIALKEY:
        if (KeepsListKey(AMessage.WParam)) {
            AMessage.Result = 1;
            return;
        }
        break;
    case win::WM_SETFOCUS:
        if (activeLook) {
            FEdit->Font()->SetColor(FSkin.ActiveFontColor);
            Invalidate();
        }
        break;
    case win::WM_KILLFOCUS:
        if (FDropDown) CloseUp(false);
        if (activeLook) {
            FEdit->Font()->SetColor(FSkin.FontColor);
            Invalidate();
        }
        break;
    case win::WM_LBUTTONDOWN:
    case win::WM_RBUTTONDOWN:
        if (FDropDown) CloseUp(false);
        break;
    case win::WM_MOUSEWHEEL:
        WheelStep(win::GET_WHEEL_DELTA_WPARAM(AMessage.WParam));
        break;
    case win::WM_CHAR:
        // The character of an Enter or Escape that closed the list is not the form's to act on.
        if (FListKeyChar != 0 && AMessage.WParam == FListKeyChar) {
            FListKeyChar = 0;
            return;
        }
        break;
    case win::WM_KEYDOWN:
        FListKeyChar = KeepsListKey(AMessage.WParam) ? static_cast<win::WPARAM>(AMessage.WParam) : 0;
        switch (AMessage.WParam) {
        case win::VK_RETURN:
            if (FDropDown) CloseUp(true);
            break;
        case win::VK_ESCAPE:
            if (FDropDown) CloseUp(false);
            break;
        case win::VK_PRIOR:
            if (FDropDown) FListBox->SetItemIndex(std::max(0, ItemIndex() - FDropDownCount - 1));
            break;
        case win::VK_NEXT:
            if (FDropDown)
                FListBox->SetItemIndex(std::min(Items()->Count() - 1, ItemIndex() + FDropDownCount - 1));
            break;
        case win::VK_UP: StepUp(true); return;
        case win::VK_DOWN: StepDown(true); return;
        default: break;
        }
        break;
    case win::WM_KEYUP:
    case win::WM_SYSKEYUP: {
        const TFontCharset charset = InterfaceCharset();
        const bool cjk = charset == 128 || charset == 134 || charset == 136;
        if (cjk) {
            if (AMessage.WParam != win::VK_DELETE && AMessage.WParam != win::VK_BACK) FEdit->SetSelLength(0);
            FEditWindowProc(AMessage);
            if (FAutoComplete && FEdit) CompleteText();
            return;
        }
        if (AMessage.Msg == win::WM_KEYUP && AMessage.WParam > 0x2F) {
            FEditWindowProc(AMessage);
            if (FAutoComplete && FEdit) CompleteText();
            return;
        }
        break;
    }
    default: break;
    }
    FEditWindowProc(AMessage);
}

// --- keys, wheel, focus and hover

void TspSkinCustomComboBox::KeyDown(win::WORD& AKey, TShiftState AShift)
{
    TspSkinCustomControl::KeyDown(AKey, AShift);
    if (FEdit) return;
    const bool alt = AShift.Contains(ssAlt);
    switch (AKey) {
    case win::VK_RETURN:
        if (FDropDown) CloseUp(true);
        break;
    case win::VK_ESCAPE:
        if (FDropDown) CloseUp(false);
        break;
    case win::VK_LEFT:
    case win::VK_UP:
        if (alt) {
            if (FDropDown) CloseUp(false);
        } else {
            StepUp(true);
        }
        break;
    case win::VK_RIGHT:
    case win::VK_DOWN:
        if (alt) {
            if (!FDropDown) DropDown();
        } else {
            StepDown(true);
        }
        break;
    case win::VK_PRIOR: PageMove(true); break;
    case win::VK_NEXT: PageMove(false); break;
    default: break;
    }
}

void TspSkinCustomComboBox::KeyPress(char32_t& AKey)
{
    TspSkinCustomControl::KeyPress(AKey);
    if (FEdit || AKey < 0x20 || AKey == 0x7F) return;
    TypeAhead(AKey);
}

void TspSkinCustomComboBox::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
    if (!FEdit && !Focused() && CanFocus()) SetFocus();
    if (AButton != mbLeft) return;
    Button.MouseIn = Inside(Button.R, {AX, AY});
    const bool onFace = !FEdit && Inside(CBItem.R, {AX, AY});
    if (Button.MouseIn || onFace || FToolButtonStyle) {
        Button.Down = true;
        Repaint();
        if (!FDropDown) {
            WasInLB = false;
            FLBDown = true;
            DropDown();
        } else {
            CloseUp(false);
        }
    } else if (FDropDown) {
        CloseUp(false);
    }
}

void TspSkinCustomComboBox::MouseMove(TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseMove(AShift, AX, AY);
    if (FLBDown) {
        TrackDrag();
        return;
    }
    const bool in = Inside(Button.R, {AX, AY});
    if (in != Button.MouseIn) {
        Button.MouseIn = in;
        Repaint();
    }
}

void TspSkinCustomComboBox::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (FLBDown && WasInLB) {
        win::ReleaseCapture();
        FLBDown = false;
        TPoint cursor;
        win::GetCursorPos(cursor);
        const win::HWND under = win::WindowFromPoint(cursor);
        TspListBox* inner = FListBox->ListBox();
        CloseUp(inner->HandleAllocated() && under == inner->Handle());
    } else {
        FLBDown = false;
    }
    TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
    if (Button.Down) {
        Button.Down = false;
        Repaint();
    }
}

void TspSkinCustomComboBox::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case CM_TEXTCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        if (FEdit && !FromEdit) FEdit->SetText(Text());
        if (OnChange) OnChange(this);
        if (FromEdit) SelectionChanged();
        return;
    case CM_WANTSPECIALKEY:
        if (AMessage.WParam == win::VK_LEFT || AMessage.WParam == win::VK_RIGHT || AMessage.WParam == win::VK_UP ||
            AMessage.WParam == win::VK_DOWN || KeepsListKey(AMessage.WParam)) {
            AMessage.Result = 1;
            return;
        }
        break;
    case win::WM_GETDLGCODE: AMessage.Result = win::DLGC_WANTARROWS | win::DLGC_WANTCHARS; return;
    case win::WM_SETFOCUS:
        if (FEdit) {
            FEdit->SetFocus();
            if (FHasRecord && !IsEmptyRect(FSkin.ActiveSkinRect)) {
                FEdit->Font()->SetColor(FSkin.ActiveFontColor);
                Invalidate();
            }
            return;
        }
        TspSkinCustomControl::WndProc(AMessage);
        Repaint();
        return;
    case win::WM_KILLFOCUS:
        TspSkinCustomControl::WndProc(AMessage);
        if (!FEdit && FDropDown) CloseUp(false);
        Repaint();
        if (FEdit && FHasRecord && !IsEmptyRect(FSkin.ActiveSkinRect)) {
            FEdit->Font()->SetColor(FSkin.FontColor);
            Invalidate();
        }
        return;
    case win::WM_MOUSEWHEEL:
        TspSkinCustomControl::WndProc(AMessage);
        if (!FEdit) WheelStep(win::GET_WHEEL_DELTA_WPARAM(AMessage.WParam));
        return;
    case win::WM_TIMER:
        TspSkinCustomControl::WndProc(AMessage);
        if (AMessage.WParam == 1) AutoScrollTick();
        return;
    case win::WM_SIZE:
        TspSkinCustomControl::WndProc(AMessage);
        CalcRects();
        return;
    case win::WM_ERASEBKGND:
        if (!FromWMPaint && AMessage.WParam) PaintEraseInto(reinterpret_cast<win::HDC>(AMessage.WParam));
        AMessage.Result = 1;
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
        TspSkinCustomControl::WndProc(AMessage);
        FMouseIn = AMessage.Msg == CM_MOUSEENTER;
        if (!FMouseIn && Button.MouseIn) {
            Button.MouseIn = false;
            Repaint();
        }
        const bool activeLook = FHasRecord && !IsEmptyRect(FSkin.ActiveSkinRect);
        if (activeLook && FEdit && !FEdit->Focused())
            FEdit->Font()->SetColor(FMouseIn ? FSkin.ActiveFontColor : FSkin.FontColor);
        if (activeLook || FToolButtonStyle) Invalidate();
        return;
    }
    case CM_CANCELMODE:
        TspSkinCustomControl::WndProc(AMessage);
        if (!FocusStaysWithUs(reinterpret_cast<TControl*>(AMessage.LParam))) CloseUp(false);
        return;
    case CM_ENABLEDCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        if (FEdit)
            FEdit->Font()->SetColor(!Enabled() ? DisabledColor() : FHasRecord ? FSkin.FontColor : DefaultFont()->Color());
        Repaint();
        return;
    default: break;
    }
    TspSkinCustomControl::WndProc(AMessage);
}

void TspSkinCustomComboBox::ChangeSkinData()
{
    TspSkinCustomControl::ChangeSkinData();
    CalcRects();
    if (FEdit) UpdateEditFont();
    Repaint();
    FListBox->SetSkinDataName(FHasRecord ? FSkin.ListBoxName : "");
    FListBox->SetSkinData(FSD);
    if (!FSD || FSD->Empty) FListBox->ChangeSkinData();
    FListBox->UpDateScrollBar();
    CalcRects();
    if (FHasRecord && FEdit) {
        Integer w = Width(), h = Height();
        FitSizeToSkin(w, h);
    }
}
