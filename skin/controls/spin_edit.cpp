#include "skin/controls/spin_edit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/gdi/gdi.h"
#include "platform/gui/bitmap.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/win.h"
#include "skin/controls/button_record.h"
#include "skin/controls/foreign_paint.h"
#include "skin/controls/plain_look.h"
#include "skin/controls/skin_pictures.h"
#include "skin/controls/text_control_skin.h"
#include "skin/core/control_records.h"
#include "skin/core/glyph_pictures.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_compose.h"
#include "skin/core/skin_strips.h"

using namespace win;

namespace {

constexpr UINT kFirstDelayMs = 500;
constexpr UINT kRepeatMs = 100;
constexpr UINT kResumeMs = 50;
constexpr Integer kArrowUp = 3, kArrowDown = 4;

TRect FallBack(const TRect& AValue, const TRect& AFallBack)
{
    return IsEmptyRect(AValue) ? AFallBack : AValue;
}

// Right and bottom edges outside: the line where the buttons meet belongs to the lower one.
bool InRect(const TRect& R, int AX, int AY)
{
    return AX >= R.Left && AX < R.Right && AY >= R.Top && AY < R.Bottom;
}

}  // namespace

TspSkinSpinEdit::TspSkinSpinEdit(TComponent* AOwner)
    : TspSkinCustomControl(AOwner), FRepeat([this] { return HandleAllocated() ? Handle() : nullptr; })
{
    ControlStyle() = TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks};
    FEdit = new TspSkinNumEdit(this);
    FEdit->SetColor(FDefaultColor);
    FEdit->Font()->Assign(DefaultFont());
    FEdit->SetParent(this);
    FEdit->SetAutoSize(false);
    FEdit->SetVisible(true);
    FEdit->OnChange = [this](TObject*) { EditChange(); };
    FEdit->FOnUpClick = [this](TObject*) { Step(true); };
    FEdit->FOnDownClick = [this](TObject*) { Step(false); };
    FEdit->OnKeyDown = [this](TObject*, WORD& AKey, TShiftState AShift) {
        if (OnEditKeyDown) OnEditKeyDown(this, AKey, AShift);
    };
    FEdit->OnKeyUp = [this](TObject*, WORD& AKey, TShiftState AShift) {
        if (OnEditKeyUp) OnEditKeyUp(this, AKey, AShift);
    };
    FEdit->OnKeyPress = [this](TObject*, char32_t& AKey) {
        if (OnEditKeyPress) OnEditKeyPress(this, AKey);
    };
    FEdit->OnEnter = [this](TObject*) { EditEnter(); };
    FEdit->OnExit = [this](TObject*) { EditExit(); };
    FEdit->FOnMouseEnter = [this](TObject*) { EditMouseEnter(); };
    FEdit->FOnMouseLeave = [this](TObject*) { EditMouseLeave(); };
    StopCheck = true;
    SetText("0");
    FEdit->SetText("0");
    StopCheck = false;
    FSkinDataName = "spinedit";
    SetBounds(Left(), Top(), 120, 20);
    LayoutEdit();
}

TspSkinSpinEdit::~TspSkinSpinEdit()
{
    FRepeat.Stop();
    // The edit's handlers point here; it goes first.
    delete FEdit;
    FEdit = nullptr;
}

// ---- value ----

double TspSkinSpinEdit::ClampValue(double AValue) const
{
    // An integer box shows and reads back 32-bit numbers: a value beyond them (a step on an unbounded range, a
    // huge value set) stops at their ends instead of failing to round.
    if (FValueType == vtInteger) {
        if (std::isnan(AValue)) AValue = 0;
        AValue = std::clamp(AValue, double(std::numeric_limits<Integer>::min()),
                            double(std::numeric_limits<Integer>::max()));
    }
    if (FMinValue == 0 && FMaxValue == 0) return AValue;
    if (AValue < FMinValue) return FMinValue;
    if (AValue > FMaxValue) return FMaxValue;
    return AValue;
}

std::string TspSkinSpinEdit::ValueText(double AValue) const
{
    if (FValueType == vtFloat) return FloatToStrF(AValue, ffFixed, 15, FDecimal);
    return IntToStr(Round(AValue));
}

bool TspSkinSpinEdit::IsNumText(const std::string& AText) const
{
    if (AText.empty() || AText == "-") return false;
    int separators = 0;
    for (size_t i = 0; i < AText.size(); ++i) {
        const char c = AText[i];
        if (c >= '0' && c <= '9') continue;
        if (c == '-' && i == 0) continue;
        if (FValueType == vtFloat && c == DecimalSeparator && i > 0 && ++separators == 1) continue;
        return false;
    }
    return true;
}

void TspSkinSpinEdit::SetValue(double AValue)
{
    FValue = ClampValue(AValue);
    const bool nested = StopCheck;
    StopCheck = true;
    if (nested) {
        FSettingEdit = true;
        FEdit->SetText(ValueText(FValue));
        FSettingEdit = false;
    } else
        SetText(ValueText(FValue));
    StopCheck = false;
    if (!nested) Change();
}

void TspSkinSpinEdit::SetMinValue(double AValue)
{
    FMinValue = AValue;
    if (FValue < AValue) SetValue(AValue);
}

void TspSkinSpinEdit::SetMaxValue(double AValue)
{
    FMaxValue = AValue;
    if (FValue > AValue) SetValue(AValue);
}

void TspSkinSpinEdit::SetValueType(TspValueType AValue)
{
    if (FValueType != AValue) {
        FValueType = AValue;
        if (AValue == vtInteger) {
            FIncrement = static_cast<double>(Round(FIncrement));
            if (FIncrement == 0) FIncrement = 1;
        }
    }
    FEdit->Float = FValueType == vtFloat;
}

void TspSkinSpinEdit::SetDefaultColor(TColor AValue)
{
    FDefaultColor = AValue;
    if (!Skinned()) FEdit->SetColor(AValue);
}

void TspSkinSpinEdit::Change()
{
    StopCheck = true;
    FNotifying = true;
    if (OnChange) OnChange(this);
    FNotifying = false;
    StopCheck = false;
    // Keys typed while the handler let messages through changed the text unread: read it now, as if typed after.
    if (FTypedWhileNotifying) {
        FTypedWhileNotifying = false;
        FromEdit = true;
        ReadBack();
        FromEdit = false;
    }
}

void TspSkinSpinEdit::SetEditTextQuietly(const std::string& AText)
{
    StopCheck = true;
    FSettingEdit = true;
    FEdit->SetText(AText);
    FSettingEdit = false;
    StopCheck = false;
}

void TspSkinSpinEdit::EditChange()
{
    FromEdit = true;
    SetText(FEdit->Text());
    FromEdit = false;
}

void TspSkinSpinEdit::ReadBack()
{
    if (!FromEdit) {
        FSettingEdit = true;
        FEdit->SetText(Text());
        FSettingEdit = false;
    }
    if (StopCheck) {
        if (FromEdit && FNotifying && !FSettingEdit) FTypedWhileNotifying = true;
        return;
    }
    const std::string t = FEdit->Text();
    if (!IsNumText(t)) return;
    // A text that passes the character test but does not convert (an integer beyond 32 bits, "-." ...) is kept
    // as typed, like any unfinished entry: a conversion error must not escape a text-change handler.
    double v = 0;
    if (FValueType == vtFloat) {
        if (!TryStrToFloat(t, v)) return;
    } else {
        Integer i = 0;
        if (!TryStrToInt(t, i)) return;
        v = i;
    }
    const double c = ClampValue(v);
    if (c != FValue) {
        FValue = c;
        Change();
    }
    const bool bothNegative = c < 0 && v < 0;
    if ((!bothNegative && c < v) || (bothNegative && c > v) || (FMinValue > 0 && v < 0) || (FMaxValue < 0 && v > 0))
        SetEditTextQuietly(ValueText(c));
}

void TspSkinSpinEdit::Step(bool AUp)
{
    SetValue(FValue + (AUp ? FIncrement : -FIncrement));
    TNotifyEvent& event = AUp ? OnUpButtonClick : OnDownButtonClick;
    if (event) event(this);
}

// ---- the number edit's focus and hover ----

void TspSkinSpinEdit::EditEnter()
{
    if (OnEditEnter) OnEditEnter(this);
    FEditFocused = true;
    if (Skinned() && !IsEmptyRect(ActiveSkinRect)) Repaint();
    if (Skinned() && ActiveFontColor != FontColor) FEdit->Font()->SetColor(ActiveFontColor);
}

void TspSkinSpinEdit::EditExit()
{
    if (OnEditExit) OnEditExit(this);
    FEditFocused = false;
    if (Skinned() && !IsEmptyRect(ActiveSkinRect)) Repaint();
    if (Skinned() && ActiveFontColor != FontColor && !FMouseIn) FEdit->Font()->SetColor(FontColor);
    SetEditTextQuietly(ValueText(FValue));
}

void TspSkinSpinEdit::EditMouseEnter()
{
    FMouseIn = true;
    if (!Skinned() || FEditFocused) return;
    if (!IsEmptyRect(ActiveSkinRect)) Repaint();
    if (ActiveFontColor != FontColor) FEdit->Font()->SetColor(ActiveFontColor);
}

void TspSkinSpinEdit::EditMouseLeave()
{
    FMouseIn = false;
    if (!Skinned() || FEditFocused) return;
    if (!IsEmptyRect(ActiveSkinRect)) Repaint();
    if (ActiveFontColor != FontColor) FEdit->Font()->SetColor(FontColor);
}

bool TspSkinSpinEdit::MouseOverEdit() const
{
    TPoint at;
    GetCursorPos(at);
    return FEdit->HandleAllocated() && WindowFromPoint(at) == FEdit->Handle();
}

// ---- skin and layout ----

void TspSkinSpinEdit::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    auto* r = RecordAs<TspDataSkinSpinEditControl>();
    if (!r) return;
    ActiveSkinRect = r->ActiveSkinRect;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    ActiveFontColor = r->ActiveFontColor;
    DisabledFontColor = r->DisabledFontColor;
    UpButtonRect = r->UpButtonRect;
    ActiveUpButtonRect = r->ActiveUpButtonRect;
    DownUpButtonRect = FallBack(r->DownUpButtonRect, r->ActiveUpButtonRect);
    DownButtonRect = r->DownButtonRect;
    ActiveDownButtonRect = r->ActiveDownButtonRect;
    DownDownButtonRect = FallBack(r->DownDownButtonRect, r->ActiveDownButtonRect);
    LOffset = r->LTPoint.X;
    ROffset = r->SkinRect.Width() - r->RTPoint.X;
}

void TspSkinSpinEdit::ApplyFontColor()
{
    if (Enabled())
        FEdit->Font()->SetColor(!Skinned() ? DefaultFont()->Color() : Active() ? ActiveFontColor : FontColor);
    else
        FEdit->Font()->SetColor(Skinned() ? DisabledFontColor : clGrayText);
}

void TspSkinSpinEdit::ChangeSkinData()
{
    TspSkinCustomControl::ChangeSkinData();
    TFont* font = FEdit->Font();
    if (!Skinned()) {
        font->Assign(DefaultFont());
    } else if (FUseSkinFont) {
        font->SetStyle(FontStyle);
        font->SetColor(FontColor);
        font->SetHeight(FontHeight);
        font->SetName(FontName);
    } else {
        font->Assign(DefaultFont());
        font->SetColor(FontColor);
    }
    font->SetCharset(SkinCharset(FSD, DefaultFont()->Charset()));
    FEdit->SetEditTransparent(Skinned());
    if (Skinned() && FUseSkinSize) SetHeight(Pieces.SkinRect.Height());
    LayoutEdit();
    ApplyFontColor();
    Repaint();
}

void TspSkinSpinEdit::ApplyDefaultFont()
{
    if (!FEdit || (Skinned() && FUseSkinFont)) return;
    FEdit->Font()->Assign(DefaultFont());
    AdjustEditHeight();
}

void TspSkinSpinEdit::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    if (FUseSkinSize) {
        TspSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
        return;
    }
    const Integer dx = AWidth - Pieces.SkinRect.Width();
    Fitted.NewLTPoint = Pieces.LTPt;
    Fitted.NewRTPoint = {Pieces.RTPt.X + dx, Pieces.RTPt.Y};
    Fitted.NewClRect = Pieces.ClRect;
    Fitted.NewClRect.Right += dx;
}

void TspSkinSpinEdit::ApplyMaskRegion()
{
    if (FUseSkinSize) TspSkinCustomControl::ApplyMaskRegion();
}

void TspSkinSpinEdit::Invalidate()
{
    TspSkinCustomControl::Invalidate();
    if (Skinned() && FEdit) FEdit->Invalidate();
}

void TspSkinSpinEdit::AdjustEditHeight()
{
    FEdit->SetHeight(ScreenTextHeight(FEdit->Font()));
}

void TspSkinSpinEdit::LayoutEdit()
{
    if (!FEdit) return;
    const Integer w = Width(), h = Height();
    AdjustEditHeight();
    const Integer editHeight = FEdit->Height();
    if (!Skinned()) {
        Buttons[0].R = Rect(w - 17, 2, w - 2, h / 2);
        Buttons[1].R = Rect(w - 17, h / 2, w - 2, h - 2);
        FEdit->SetBounds(2, h / 2 - editHeight / 2, w - 19, editHeight);
        return;
    }
    const Integer dx = w - Pieces.SkinRect.Width(), dy = h - Pieces.SkinRect.Height();
    Buttons[0].R = UpButtonRect;
    Buttons[1].R = DownButtonRect;
    for (TButton& b : Buttons)
        if (b.R.Left > Pieces.RTPt.X) {
            b.R.Left += dx;
            b.R.Right += dx;
        }
    if (!FUseSkinSize) {
        if (Buttons[1].R.Bottom < Buttons[0].R.Bottom) {
            Buttons[0].R.Bottom += dy;
            Buttons[1].R.Bottom += dy;
        } else {
            const TRect t = Rect(Buttons[0].R.Left, Buttons[0].R.Top, Buttons[1].R.Right, Buttons[1].R.Bottom + dy);
            // The middle of the box, wherever it starts.
            const Integer m = (t.Top + t.Bottom) / 2;
            Buttons[0].R = Rect(t.Left, t.Top, t.Right, m);
            Buttons[1].R = Rect(t.Left, m, t.Right, t.Bottom);
        }
    }
    const TRect& cl = Pieces.ClRect;
    const TRect r = Rect(cl.Left, cl.Top, cl.Right + dx, FUseSkinSize ? cl.Bottom : cl.Bottom + dy);
    FEdit->SetBounds(r.Left, r.Top + r.Height() / 2 - editHeight / 2, r.Width(), editHeight);
}

// ---- buttons and repeat ----

void TspSkinSpinEdit::TrackMouse(int AX, int AY)
{
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (Integer i = 0; i < 2 && ActiveButton == -1; ++i)
        if (InRect(Buttons[i].R, AX, AY)) ActiveButton = i;
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) LeaveButton(OldActiveButton);
    if (ActiveButton != -1) EnterButton(ActiveButton);
}

void TspSkinSpinEdit::EnterButton(Integer AButton)
{
    Buttons[AButton].MouseIn = true;
    Repaint();
    if (Buttons[AButton].Down) FRepeat.Resume(kResumeMs);
}

void TspSkinSpinEdit::LeaveButton(Integer AButton)
{
    Buttons[AButton].MouseIn = false;
    Repaint();
    if (Buttons[AButton].Down) FRepeat.Pause();
}

void TspSkinSpinEdit::PressButton(Integer AButton)
{
    Buttons[AButton].MouseIn = true;
    Buttons[AButton].Down = true;
    Repaint();
    TimerMode = AButton == 0 ? 2 : 1;
    FRepeat.Start(kFirstDelayMs);
}

void TspSkinSpinEdit::ReleaseButton(Integer AButton)
{
    FRepeat.Stop();
    TimerMode = 0;
    TButton& b = Buttons[AButton];
    b.Down = false;
    if (AButton != ActiveButton) b.MouseIn = false;
    Repaint();
    if (b.MouseIn) Step(AButton == 0);
}

void TspSkinSpinEdit::RepeatTick()
{
    if (!FRepeat.Tick(kRepeatMs)) return;
    if (TimerMode == 1)
        SetValue(FValue - FIncrement);
    else if (TimerMode == 2)
        SetValue(FValue + FIncrement);
}

void TspSkinSpinEdit::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TrackMouse(AX, AY);
    if (ActiveButton != -1) {
        CaptureButton = ActiveButton;
        PressButton(ActiveButton);
    }
    TspSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
}

void TspSkinSpinEdit::MouseMove(TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseMove(AShift, AX, AY);
    TrackMouse(AX, AY);
}

void TspSkinSpinEdit::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    if (CaptureButton != -1) ReleaseButton(CaptureButton);
    CaptureButton = -1;
    TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
}

// ---- messages ----

// Also before the window exists, when no WM_SIZE comes.
void TspSkinSpinEdit::Resize()
{
    TspSkinCustomControl::Resize();
    LayoutEdit();
}

void TspSkinSpinEdit::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_TIMER:
        TspSkinCustomControl::WndProc(AMessage);
        if (AMessage.WParam == FRepeat.Id()) RepeatTick();
        return;
    case CM_TEXTCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        ReadBack();
        return;
    case WM_ERASEBKGND:
        // Asked for what lies behind the see-through edit (or by a caller outside the paint cycle): the whole
        // box, then the edit in its own rectangle of the same context.
        if (!FromWMPaint && AMessage.WParam) PaintEraseInto(reinterpret_cast<HDC>(AMessage.WParam));
        AMessage.Result = 1;
        return;
    case CM_FOCUSCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        if (Focused() && FEdit->HandleAllocated()) FEdit->SetFocus();
        return;
    case CM_ENABLEDCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        ApplyFontColor();
        return;
    case CM_MOUSEENTER:
        TspSkinCustomControl::WndProc(AMessage);
        TrackMouse(-1, -1);
        if (!FEditFocused && Skinned() && !IsEmptyRect(ActiveSkinRect)) {
            FMouseIn = true;
            Repaint();
        }
        if (Skinned() && !FEditFocused && ActiveFontColor != FontColor) FEdit->Font()->SetColor(ActiveFontColor);
        return;
    case CM_MOUSELEAVE: {
        TspSkinCustomControl::WndProc(AMessage);
        for (TButton& b : Buttons)
            if (b.MouseIn) {
                b.MouseIn = false;
                Repaint();
            }
        ActiveButton = -1;
        const bool intoEdit = MouseOverEdit();
        if (!intoEdit && !FEditFocused && Skinned() && !IsEmptyRect(ActiveSkinRect)) {
            FMouseIn = false;
            Repaint();
        }
        if (!intoEdit && Skinned() && !FEditFocused && ActiveFontColor != FontColor)
            FEdit->Font()->SetColor(FontColor);
        return;
    }
    default: TspSkinCustomControl::WndProc(AMessage);
    }
}

// ---- painting ----

void TspSkinSpinEdit::PaintEraseInto(HDC ADC)
{
    PaintIntoForeignDC(Canvas(), ADC, [this] { Paint(); });
    if (!FEdit || !FEdit->HandleAllocated() || !FEdit->Visible()) return;
    const int saved = SaveDC(ADC);
    SetViewportOrgEx(ADC, FEdit->Left(), FEdit->Top(), nullptr);
    IntersectClipRect(ADC, 0, 0, FEdit->Width(), FEdit->Height());
    FEdit->Perform(WM_PAINT, reinterpret_cast<WPARAM>(ADC), 0);
    RestoreDC(ADC, saved);
}

void TspSkinSpinEdit::DrawUnskinnedImage(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    const Integer w = Width(), h = Height();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(FDefaultColor);
    c->FillRect(Rect(0, 0, w, h));
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, w, h));
    c->Brush()->SetColor(clBtnFace);
    c->FrameRect(Rect(1, 1, w - 1, h - 1));
    for (Integer i = 0; i < 2; ++i) {
        const TButton& b = Buttons[i];
        const TspPartLook look = PartLookOf(b.Down, b.MouseIn);
        if (look == TspPartLook::Normal) {
            c->Brush()->SetColor(clBtnFace);
            c->FillRect(b.R);
        } else {
            DrawPlainPart(c, b.R, look);
        }
        DrawArrowGlyph(c, b.R, clBlack, i == 0 ? kArrowUp : kArrowDown);
    }
}

void TspSkinSpinEdit::DrawSkinnedImage(TBitmap* B)
{
    if (!Picture) return;
    const bool active = Active() && !IsEmptyRect(ActiveSkinRect);
    if (!FUseSkinSize) {
        ComposeSkinImageSimple(B, Picture, active ? ActiveSkinRect : Pieces.SkinRect, Pieces.ClRect, true);
        for (Integer i = 0; i < 2; ++i) DrawButtonFromRecord(B->Canvas(), i);
        return;
    }
    if (active)
        BuildHStripImage(LOffset, ROffset, B, Picture, ActiveSkinRect, Width(), Height(), StretchEffect);
    else
        TspSkinCustomControl::DrawSkinnedImage(B);
    for (Integer i = 0; i < 2; ++i) {
        const TButton& b = Buttons[i];
        TRect source;
        if (b.Down && b.MouseIn)
            source = i == 0 ? DownUpButtonRect : DownDownButtonRect;
        else if (b.MouseIn)
            source = i == 0 ? ActiveUpButtonRect : ActiveDownButtonRect;
        if (!IsEmptyRect(source)) B->Canvas()->CopyRect(b.R, Picture->Canvas(), source);
    }
}

void TspSkinSpinEdit::DrawButtonFromRecord(TCanvas* ACanvas, Integer AButton)
{
    const TButton& b = Buttons[AButton];
    TspDataSkinButtonControl* record = FindButtonRecord(FSD, {"editbutton", "resizebutton"});
    if (!record) {
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->FillRect(b.R);
        return;
    }
    const TspButtonState state = b.Down && b.MouseIn ? TspButtonState::Pressed
                                 : b.MouseIn         ? TspButtonState::Hot
                                                     : TspButtonState::Normal;
    TBitmap image;
    ComposeButtonRecord(FSD, *record, state, b.R.Width(), b.R.Height(), &image);
    ACanvas->Draw(b.R.Left, b.R.Top, &image);
    TRect arrow = b.R;
    if (state == TspButtonState::Pressed) {
        arrow.Left += 2;
        arrow.Top += 2;
    }
    DrawArrowGlyph(ACanvas, arrow, ButtonStateFontColor(*record, state), AButton == 0 ? kArrowUp : kArrowDown);
}
