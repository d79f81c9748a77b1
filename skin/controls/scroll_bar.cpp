#include "skin/controls/scroll_bar.h"

#include "platform/gui/bitmap.h"
#include "skin/controls/control_helpers.h"
#include "skin/core/control_records.h"
#include "skin/core/rect_helpers.h"
#include "skin/core/skin_data.h"

namespace {

constexpr win::UINT kFirstDelayMs = 500;
constexpr win::UINT kRepeatMs = 50;

// The platform's point-in-rectangle rule: right and bottom edges outside.
bool PtIn(const TRect& R, int AX, int AY)
{
    return AX >= R.Left && AX < R.Right && AY >= R.Top && AY < R.Bottom;
}

TRect FallBack(const TRect& AValue, const TRect& AFallBack)
{
    return IsEmptyRect(AValue) ? AFallBack : AValue;
}

}  // namespace

TspSkinScrollBar::TspSkinScrollBar(TComponent* AOwner)
    : TspSkinCustomControl(AOwner), FRepeat([this] { return HandleAllocated() ? Handle() : nullptr; })
{
    FSkinDataName = "hscrollbar";
    FDefaultHeight = 19;
    SetBounds(Left(), Top(), 200, 19);
}

TspSkinScrollBar::~TspSkinScrollBar()
{
    FRepeat.Stop();
}

// ---- values ----

void TspSkinScrollBar::SetPosition(Integer AValue)
{
    const Integer value = ClampScrollPosition(AValue, FMin, FMax, FPageSize);
    if (value == FPosition) return;
    FPosition = value;
    Repaint();
    if (OnChange) OnChange(this);
}

void TspSkinScrollBar::SimplySetPosition(Integer AValue)
{
    const Integer value = ClampScrollPosition(AValue, FMin, FMax, FPageSize);
    if (value == FPosition) return;
    FPosition = value;
    Repaint();
}

void TspSkinScrollBar::SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize)
{
    // A list growing item by item sets a new range each time; the bar is drawn again only when its thumb moved.
    const TspScrollBarLayout before = ComputeScrollBarLayout(State());
    const bool pagedBefore = FPageSize != 0;
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
    FPosition = ClampScrollPosition(APosition, FMin, FMax, FPageSize);
    if (before.Thumb == ComputeScrollBarLayout(State()).Thumb && pagedBefore == (FPageSize != 0)) return;
    Repaint();
}

void TspSkinScrollBar::SetMin(Integer AValue)
{
    FMin = AValue;
    FPosition = ClampScrollPosition(FPosition, FMin, FMax, FPageSize);
    Repaint();
}

void TspSkinScrollBar::SetMax(Integer AValue)
{
    FMax = AValue;
    FPosition = ClampScrollPosition(FPosition, FMin, FMax, FPageSize);
    Repaint();
}

void TspSkinScrollBar::SetPageSize(Integer AValue)
{
    if (AValue < 0 || (Int64(FPosition) - FMin) + AValue > Int64(FMax) - FMin + 1) return;
    FPageSize = AValue;
    FPosition = ClampScrollPosition(FPosition, FMin, FMax, FPageSize);
    Repaint();
}

void TspSkinScrollBar::SetSmallChange(Integer AValue)
{
    if (FSmallChange == AValue) return;
    FSmallChange = AValue;
    Repaint();
}

void TspSkinScrollBar::SetLargeChange(Integer AValue)
{
    if (FLargeChange == AValue) return;
    FLargeChange = AValue;
    Repaint();
}

void TspSkinScrollBar::SetKind(TScrollBarKind AValue)
{
    if (AValue == FKind) return;
    FKind = AValue;
    Repaint();
}

void TspSkinScrollBar::SetBoth(bool AValue)
{
    if (AValue == FBoth) return;
    FBoth = AValue;
    if (!Designing()) {
        if (FBoth) {
            FNormalSkinDataName = FSkinDataName;
            FSkinDataName = BothSkinDataName;
        } else if (!FNormalSkinDataName.empty()) {
            FSkinDataName = FNormalSkinDataName;
        }
    }
    GetSkinData();
    if (Skinned())
        ChangeSkinData();
    else
        Repaint();
}

void TspSkinScrollBar::SetBothMarkerWidth(Integer AValue)
{
    if (AValue < 0) return;
    FBothMarkerWidth = AValue;
    if (!Skinned()) Repaint();
}

void TspSkinScrollBar::SetCanFocused(bool AValue)
{
    FCanFocused = AValue;
    SetTabStop(AValue);
}

// ---- skin and layout ----

void TspSkinScrollBar::GetSkinData()
{
    TspSkinCustomControl::GetSkinData();
    auto* r = RecordAs<TspDataSkinScrollBarControl>();
    FHasRecord = r != nullptr;
    if (!r) return;
    FSkinParts = {r->SkinRect, r->TrackArea, r->UpButtonRect, r->DownButtonRect, r->ThumbRect,
                  r->RTPoint,  r->LBPoint,   r->ThumbMinSize, r->ThumbMinPageSize};
    ActiveUpButtonRect = r->ActiveUpButtonRect;
    DownUpButtonRect = FallBack(r->DownUpButtonRect, r->ActiveUpButtonRect);
    ActiveDownButtonRect = r->ActiveDownButtonRect;
    DownDownButtonRect = FallBack(r->DownDownButtonRect, r->ActiveDownButtonRect);
    ActiveThumbRect = FallBack(r->ActiveThumbRect, r->ThumbRect);
    DownThumbRect = FallBack(r->DownThumbRect, ActiveThumbRect);
    GlyphRect = r->GlyphRect;
    ActiveGlyphRect = FallBack(r->ActiveGlyphRect, r->GlyphRect);
    DownGlyphRect = FallBack(r->DownGlyphRect, ActiveGlyphRect);
    ThumbOffset1 = r->ThumbOffset1;
    ThumbOffset2 = r->ThumbOffset2;
    ThumbTransparent = r->ThumbTransparent;
    ThumbTransparentColor = r->ThumbTransparentColor;
    GlyphTransparent = r->GlyphTransparent;
    GlyphTransparentColor = r->GlyphTransparentColor;
    ThumbStretchEffect = r->ThumbStretchEffect;
}

void TspSkinScrollBar::FitSizeToSkin(Integer& AWidth, Integer& AHeight)
{
    TspSkinCustomControl::FitSizeToSkin(AWidth, AHeight);
    ComputeLayout();
}

TspScrollBarState TspSkinScrollBar::State() const
{
    TspScrollBarState s;
    s.Kind = FKind;
    s.Width = Width();
    s.Height = Height();
    s.Min = FMin;
    s.Max = FMax;
    s.Position = FPosition;
    s.PageSize = FPageSize;
    s.Both = FBoth;
    s.BothMarkerWidth = FBothMarkerWidth;
    s.Skin = SkinnedRecord() ? &FSkinParts : nullptr;
    return s;
}

void TspSkinScrollBar::ComputeLayout()
{
    FLayout = ComputeScrollBarLayout(State());
    Buttons[kThumb].R = FLayout.Thumb;
    Buttons[kUpButton].R = FLayout.UpButton;
    Buttons[kDownButton].R = FLayout.DownButton;
}

// ---- mouse ----

Integer TspSkinScrollBar::HitTest(int AX, int AY) const
{
    for (Integer i = 0; i < 3; ++i)
        if (PtIn(Buttons[i].R, AX, AY)) return i;
    return -1;
}

void TspSkinScrollBar::SetPartMouseIn(Integer APart, bool AValue)
{
    Buttons[APart].MouseIn = AValue;
    Repaint();
    // A held arrow pauses while the pointer is off it and resumes when it comes back.
    if (APart == kThumb || !Buttons[APart].Down) return;
    if (AValue)
        FRepeat.Resume(kRepeatMs);
    else
        FRepeat.Pause();
}

void TspSkinScrollBar::UpdateHotPart(int AX, int AY)
{
    FOldActiveButton = FActiveButton;
    FActiveButton = HitTest(AX, AY);
    if (FCaptureButton != -1 && FActiveButton != FCaptureButton) FActiveButton = -1;
    if (FActiveButton == FOldActiveButton) return;
    if (FOldActiveButton != -1) SetPartMouseIn(FOldActiveButton, false);
    if (FActiveButton != -1) SetPartMouseIn(FActiveButton, true);
}

void TspSkinScrollBar::StepUp()
{
    if (OnUpButtonClick)
        OnUpButtonClick(this);
    else
        SetPosition(SaturatedAdd(FPosition, FSmallChange));
}

void TspSkinScrollBar::StepDown()
{
    if (OnDownButtonClick)
        OnDownButtonClick(this);
    else
        SetPosition(SaturatedAdd(FPosition, -FSmallChange));
}

void TspSkinScrollBar::StopRepeat()
{
    FRepeat.Stop();
    FTimerMode = 0;
}

void TspSkinScrollBar::PressPart(Integer APart, int AX, int AY)
{
    FCaptureButton = APart;
    Buttons[APart].Down = true;
    Repaint();
    if (APart == kUpButton) {
        StepUp();
        FTimerMode = 2;
        FRepeat.Start(kFirstDelayMs);
    } else if (APart == kDownButton) {
        StepDown();
        FTimerMode = 1;
        FRepeat.Start(kFirstDelayMs);
    } else {
        OMPos = FKind == sbHorizontal ? AX : AY;
        OldBOffset = FLayout.BOffset;
        FDown = true;
        Repaint();
    }
}

void TspSkinScrollBar::PressTrack(int AX, int AY)
{
    const bool before = FKind == sbHorizontal ? AX < FLayout.Thumb.Left : AY < FLayout.Thumb.Top;
    if (before) {
        SetPosition(SaturatedAdd(FPosition, -FLargeChange));
        FTimerMode = 3;
        FRepeat.Start(kFirstDelayMs);
        if (OnPageUp) OnPageUp(this);
    } else {
        SetPosition(SaturatedAdd(FPosition, FLargeChange));
        FTimerMode = 4;
        FRepeat.Start(kFirstDelayMs);
        if (OnPageDown) OnPageDown(this);
    }
}

void TspSkinScrollBar::MouseDown(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseDown(AButton, AShift, AX, AY);
    if (AButton != mbLeft) return;
    MouseD = true;
    ComputeLayout();
    StopRepeat();
    const Integer part = HitTest(AX, AY);
    if (part != -1)
        PressPart(part, AX, AY);
    else if (PtIn(FLayout.Track, AX, AY))
        PressTrack(AX, AY);
}

void TspSkinScrollBar::MouseMove(TShiftState AShift, int AX, int AY)
{
    MX = AX;
    MY = AY;
    UpdateHotPart(AX, AY);
    if (FDown) {
        const Integer d = (FKind == sbHorizontal ? AX : AY) - OMPos;
        SetPosition(PositionFromThumbOffset(State(), FLayout, d, OldBOffset));
    }
    TspSkinCustomControl::MouseMove(AShift, AX, AY);
}

void TspSkinScrollBar::MouseUp(TMouseButton AButton, TShiftState AShift, int AX, int AY)
{
    TspSkinCustomControl::MouseUp(AButton, AShift, AX, AY);
    MouseD = false;
    if (FTimerMode == 3 || FTimerMode == 4) StopRepeat();
    const Integer captured = FCaptureButton;
    if (captured != -1) {
        Buttons[captured].Down = false;
        if (captured != FActiveButton) Buttons[captured].MouseIn = false;
        Repaint();
        if (captured == kThumb)
            FDown = false;
        else
            StopRepeat();
    }
    if (AButton == mbLeft && captured == kThumb && OnLastChange) OnLastChange(this);
    FCaptureButton = -1;
}

void TspSkinScrollBar::RepeatTick()
{
    if (!FRepeat.Tick(kRepeatMs)) return;
    switch (FTimerMode) {
    case 1: StepDown(); break;
    case 2: StepUp(); break;
    case 3:
    case 4: {
        UpdateHotPart(MX, MY);
        ComputeLayout();
        const TRect& thumb = FLayout.Thumb;
        const bool horizontal = FKind == sbHorizontal;
        if (FTimerMode == 3 && (horizontal ? MX < thumb.Left : MY < thumb.Top)) {
            SetPosition(SaturatedAdd(FPosition, -FLargeChange));
            if (OnPageUp) OnPageUp(this);
        } else if (FTimerMode == 4 && (horizontal ? MX > thumb.Right : MY > thumb.Bottom)) {
            SetPosition(SaturatedAdd(FPosition, FLargeChange));
            if (OnPageDown) OnPageDown(this);
        } else {
            // The thumb has reached the pointer.
            StopRepeat();
        }
        break;
    }
    default: break;
    }
}

void TspSkinScrollBar::HandleMouseLeave()
{
    if (Designing()) return;
    if (FActiveButton != -1 && FCaptureButton == -1 && !FDown) {
        Buttons[FActiveButton].MouseIn = false;
        Repaint();
        FActiveButton = -1;
    }
    if (MouseD && (FTimerMode == 3 || FTimerMode == 4)) StopRepeat();
}

// ---- focus, keys and messages ----

void TspSkinScrollBar::KeyDown(win::WORD& AKey, TShiftState AShift)
{
    TspSkinCustomControl::KeyDown(AKey, AShift);
    if (!FCanFocused) return;
    switch (AKey) {
    case win::VK_LEFT:
    case win::VK_UP: SetPosition(SaturatedAdd(FPosition, -FSmallChange)); break;
    case win::VK_RIGHT:
    case win::VK_DOWN: SetPosition(SaturatedAdd(FPosition, FSmallChange)); break;
    default: break;
    }
}

void TspSkinScrollBar::PaintIntoDC(win::HDC ADC)
{
    TCanvas* canvas = Canvas();
    canvas->Lock();
    canvas->SetHandle(ADC);
    try {
        Paint();
    } catch (...) {
        canvas->SetHandle(nullptr);
        canvas->Unlock();
        throw;
    }
    canvas->SetHandle(nullptr);
    canvas->Unlock();
}

void TspSkinScrollBar::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
        if (DropClickWithoutFocus(this, FCanFocused, Designing(), FClicksDisabled)) return;
        break;
    case CN_COMMAND:
        if (FClicksDisabled) return;
        break;
    case win::WM_SETFOCUS:
    case win::WM_KILLFOCUS:
        TspSkinCustomControl::WndProc(AMessage);
        Repaint();
        return;
    case win::WM_TIMER:
        TspSkinCustomControl::WndProc(AMessage);
        if (AMessage.WParam == FRepeat.Id()) RepeatTick();
        return;
    case win::WM_MOUSEWHEEL:
        if (FCanFocused && Focused()) {
            if (win::GET_WHEEL_DELTA_WPARAM(AMessage.WParam) > 0)
                SetPosition(SaturatedAdd(FPosition, -FSmallChange));
            else
                SetPosition(SaturatedAdd(FPosition, FSmallChange));
            return;
        }
        break;
    case win::WM_ERASEBKGND:
        if (!FromWMPaint) PaintIntoDC(reinterpret_cast<win::HDC>(AMessage.WParam));
        AMessage.Result = 1;
        return;
    case CM_ENABLEDCHANGED:
        TspSkinCustomControl::WndProc(AMessage);
        Repaint();
        return;
    case CM_MOUSELEAVE:
        TspSkinCustomControl::WndProc(AMessage);
        HandleMouseLeave();
        return;
    case CM_WANTSPECIALKEY:
        if (FCanFocused) {
            const auto key = AMessage.WParam;
            if (key == win::VK_LEFT || key == win::VK_RIGHT || key == win::VK_UP || key == win::VK_DOWN) {
                AMessage.Result = 1;
                return;
            }
        }
        break;
    default: break;
    }
    TspSkinCustomControl::WndProc(AMessage);
}
