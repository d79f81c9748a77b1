#include "skin/controls/skin_edit.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gui/forms.h"
#include "platform/win/win.h"
#include "skin/controls/skin_custom_control.h"
#include "skin/controls/skin_pictures.h"
#include "skin/controls/text_control_skin.h"
#include "skin/core/control_records.h"
#include "skin/core/rect_helpers.h"

using namespace win;

namespace {

// Right and bottom edges outside, as the window manager tests points.
bool InRect(const TRect& R, TPoint P)
{
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

}  // namespace

TspSkinCustomEdit::TspSkinCustomEdit(TComponent* AOwner)
    : TspSkinLinked<TspCustomEdit>(AOwner), FDefaultFont(std::make_unique<TFont>())
{
    FSkinDataName = "edit";
    ControlStyle().Include(csOpaque);
    SetAutoSize(false);
    // The background and the text go through one buffer, so typing does not flicker.
    SetDoubleBuffered(true);
    SetEditTransparent(true);
    Font()->SetName("Arial");
    Font()->SetStyle({});
    Font()->SetHeight(14);
    Font()->SetColor(clBlack);
    FDefaultFont->Assign(Font());
    FDefaultFont->OnChange = [this](TObject*) {
        if (!Skinned()) Font()->Assign(FDefaultFont.get());
    };
    SetHeight(20);
}

TspSkinCustomEdit::~TspSkinCustomEdit() = default;

// ---- properties ----

void TspSkinCustomEdit::SetSkinData(TspSkinData* AValue)
{
    Link(AValue);
    if (FSD && !FSD->Empty && !ComponentState().Contains(csDesigning)) ChangeSkinData();
}

void TspSkinCustomEdit::SetDefaultColor(TColor AValue)
{
    FDefaultColor = AValue;
    GetSkinData();
    if (!Skinned()) Invalidate();
}

void TspSkinCustomEdit::SetDefaultFont(TFont* AValue)
{
    FDefaultFont->Assign(AValue);
    GetSkinData();
    if (!Skinned()) Font()->Assign(AValue);
}

void TspSkinCustomEdit::SetDefaultWidth(Integer AValue)
{
    FDefaultWidth = AValue;
    GetSkinData();
    if (!Skinned() && AValue > 0) SetWidth(AValue);
}

void TspSkinCustomEdit::SetDefaultHeight(Integer AValue)
{
    FDefaultHeight = AValue;
    GetSkinData();
    if (!Skinned() && AValue > 0 && FUseSkinFont)
        SetHeight(AValue);
    else
        AdjustHeight();
}

void TspSkinCustomEdit::SetButtonMode(bool AValue)
{
    FButtonMode = AValue;
    if (HandleAllocated()) RecreateWnd();
}

void TspSkinCustomEdit::SetAlphaBlend(bool AValue)
{
    if (FAlphaBlend == AValue) return;
    FAlphaBlend = AValue;
    RepaintFrame();
    Invalidate();
}

void TspSkinCustomEdit::SetAlphaBlendValue(Byte AValue)
{
    FAlphaBlendValue = AValue;
    if (FAlphaBlend) {
        RepaintFrame();
        Invalidate();
    }
}

void TspSkinCustomEdit::SetImages(TCustomImageList* AValue)
{
    if (FImages == AValue) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = AValue;
    if (FImages) FImages->FreeNotification(this);
    UpdateImageButtons();
    Invalidate();
}

void TspSkinCustomEdit::SetLeftImageIndex(Integer AValue)
{
    FLeftImageIndex = AValue;
    UpdateImageButtons();
    Invalidate();
}

void TspSkinCustomEdit::SetRightImageIndex(Integer AValue)
{
    FRightImageIndex = AValue;
    UpdateImageButtons();
    Invalidate();
}

void TspSkinCustomEdit::Notification(TComponent* AComponent, TOperation AOperation)
{
    TspSkinLinked<TspCustomEdit>::Notification(AComponent, AOperation);
    if (AOperation != opRemove) return;
    // An image list freed first must not be drawn from afterwards.
    if (AComponent == FImages) {
        FImages = nullptr;
        FLeftButton = FRightButton = {};
        if (HandleAllocated()) Perform(EM_SETRECTNP, 0, 0);
    }
}

void TspSkinCustomEdit::CreateParams(TCreateParams& AParams)
{
    TspSkinLinked<TspCustomEdit>::CreateParams(AParams);
    // The control paints its own background; the style would only make the window manager skip it.
    AParams.ExStyle &= ~WS_EX_TRANSPARENT;
    AParams.Style &= ~WS_BORDER;
}

// ---- skin ----

TspDataSkinEditControl* TspSkinCustomEdit::Record() const
{
    return FIndex < 0 ? nullptr : static_cast<TspDataSkinEditControl*>(FSD->CtrlList[FIndex].get());
}

void TspSkinCustomEdit::GetSkinData()
{
    // A record of another class is not an edit's: the plain look is drawn rather than a stale copy.
    TspDataSkinEditControl* r = LookUpRecord<TspDataSkinEditControl>();
    if (!r) return;
    Picture = SkinPicture(FSD, r->PictureIndex);
    SkinRect = r->SkinRect;
    ActiveSkinRect = IsEmptyRect(r->ActiveSkinRect) ? r->SkinRect : r->ActiveSkinRect;
    LOffset = r->LTPoint.X;
    ROffset = SkinRect.Width() - r->RTPoint.X;
    ClRect = r->ClRect;
    FontName = r->FontName;
    FontStyle = r->FontStyle;
    FontHeight = r->FontHeight;
    FontColor = r->FontColor;
    DisabledFontColor = r->DisabledFontColor;
    ActiveFontColor = r->ActiveFontColor;
    SkinButtonRect = r->ButtonRect;
    ActiveButtonRect = r->ActiveButtonRect;
    DownButtonRect = IsEmptyRect(r->DownButtonRect) ? r->ActiveButtonRect : r->DownButtonRect;
    UnEnabledButtonRect = r->UnEnabledButtonRect;
    StretchEffect = r->StretchEffect;
}

TRect TspSkinCustomEdit::StateRect()
{
    return FMouseIn || Focused() ? ActiveSkinRect : SkinRect;
}

void TspSkinCustomEdit::ChangeSkinData()
{
    GetSkinData();
    if (!Skinned()) {
        Font()->Assign(FDefaultFont.get());
        if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    } else {
        if (FUseSkinFont) {
            Font()->SetName(FontName);
            Font()->SetStyle(FontStyle);
            SetHeight(SkinRect.Height());
            Font()->SetHeight(FontHeight);
        } else {
            Font()->Assign(FDefaultFont.get());
        }
        Font()->SetColor(Focused() ? ActiveFontColor : FontColor);
    }
    Font()->SetCharset(SkinCharset(FSD, FDefaultFont->Charset()));
    if (HandleAllocated()) RecreateWnd();
    ApplyEnabledColor(true);
    if (!FUseSkinFont) AdjustHeight();
    if (FImages) {
        UpdateImageButtons();
        Invalidate();
    }
}

void TspSkinCustomEdit::ApplyEnabledColor(bool AConsiderFocus)
{
    if (Enabled())
        Font()->SetColor(!Skinned() ? FDefaultFont->Color()
                         : AConsiderFocus && Focused() ? ActiveFontColor
                                                       : FontColor);
    else
        Font()->SetColor(Skinned() ? DisabledFontColor : clGrayText);
}

void TspSkinCustomEdit::SetStateFontColor(bool AActive)
{
    Font()->SetColor(AActive ? ActiveFontColor : FontColor);
}

// ---- geometry ----

void TspSkinCustomEdit::CalcEditRect()
{
    const Integer w = Width(), h = Height();
    if (!Skinned()) {
        if (FButtonMode) {
            FButtonRect = Rect(w - h, 0, w, h);
            FEditRect = Rect(2, 2, FButtonRect.Left - 2, h - 2);
        } else {
            FButtonRect = TRect{};
            FEditRect = Rect(2, 2, w - 2, h - 2);
        }
        return;
    }
    const Integer d = w - SkinRect.Width();
    FEditRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + d, ClRect.Bottom);
    FButtonRect = SkinButtonRect;
    if (SkinButtonRect.Left >= SkinRect.Width() - ROffset) {
        FButtonRect.Left += d;
        FButtonRect.Right += d;
    }
    if (!FUseSkinFont) {
        const Integer dh = h - SkinRect.Height();
        FEditRect.Bottom += dh;
        FButtonRect.Bottom += dh;
    }
}

void TspSkinCustomEdit::NcCalcSize(TMessage& AMessage)
{
    GetSkinData();
    TRect* r = AMessage.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(AMessage.LParam)->rgrc[0]
                               : reinterpret_cast<TRect*>(AMessage.LParam);
    if (!Skinned()) {
        r->Left += 2;
        r->Top += 2;
        r->Right -= FButtonMode ? Height() + 2 : 2;
        r->Bottom -= 2;
    } else {
        r->Left += ClRect.Left;
        r->Top += ClRect.Top;
        r->Right -= SkinRect.Width() - ClRect.Right;
        r->Bottom -= SkinRect.Height() - ClRect.Bottom;
    }
    if (r->Right < r->Left) r->Right = r->Left;
    if (r->Bottom < r->Top) r->Bottom = r->Top;
    AMessage.Result = 0;
}

void TspSkinCustomEdit::UpdateImageButtons(bool AApply)
{
    if (!FImages) return;
    FLeftButton.R = FRightButton.R = TRect{};
    TRect r = ClientRect();
    if (FLeftImageIndex >= 0) {
        FLeftButton.R = Rect(r.Left, r.Top, r.Left + FImages->Width(), r.Bottom);
        r.Left += FImages->Width() + 2;
    }
    if (FRightImageIndex >= 0) {
        FRightButton.R = Rect(r.Right - FImages->Width(), r.Top, r.Right, r.Bottom);
        r.Right -= FImages->Width() + 2;
    }
    if (AApply && HandleAllocated()) Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

Integer TspSkinCustomEdit::CalcHeight()
{
    return ScreenTextHeight(Font()) + (Skinned() ? SkinRect.Height() - ClRect.Height() : 4);
}

void TspSkinCustomEdit::AdjustHeight()
{
    SetHeight(CalcHeight());
}

void TspSkinCustomEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight)
{
    GetSkinData();
    if ((AWidth != Width() || AHeight != Height()) && !(!Skinned() && FUseSkinFont))
        AHeight = Skinned() && FUseSkinFont ? SkinRect.Height() : CalcHeight();
    if (auto* bar = dynamic_cast<TspCentringParent*>(Parent()); bar && bar->CentresControls() && Align() != alNone) {
        const TRect client = bar->SkinClientRect();
        ATop = client.Top + client.Height() / 2 - AHeight / 2;
    }
    TspSkinLinked<TspCustomEdit>::SetBounds(ALeft, ATop, AWidth, AHeight);
    Invalidate();
    RepaintFrame();
}

// ---- repaint requests ----

void TspSkinCustomEdit::RepaintFrame()
{
    if (Parent() && HandleAllocated()) SendMessage(Handle(), WM_NCPAINT, 0, 0);
}

void TspSkinCustomEdit::Invalidate()
{
    if (Parent() && HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

// ---- hover and focus ----

void TspSkinCustomEdit::MouseEnter()
{
    FMouseIn = true;
    GetSkinData();
    if (Skinned() && !Focused()) {
        SetStateFontColor(true);
        UpdateImageButtons();
        RepaintFrame();
        Invalidate();
    }
}

void TspSkinCustomEdit::MouseLeave()
{
    FMouseIn = false;
    GetSkinData();
    if (Skinned() && !Focused()) {
        SetStateFontColor(false);
        UpdateImageButtons();
        RepaintFrame();
        Invalidate();
    }
    if (FButtonDown || FButtonActive) {
        FButtonDown = FButtonActive = false;
        RepaintFrame();
        Invalidate();
    }
    for (TspCBButtonX* b : {&FLeftButton, &FRightButton})
        if (b->MouseIn) {
            b->MouseIn = false;
            Invalidate();
        }
}

void TspSkinCustomEdit::FocusChanged(bool AGot)
{
    RepaintFrame();
    Invalidate();
    GetSkinData();
    if (Skinned() && !FMouseIn) SetStateFontColor(AGot);
    UpdateImageButtons();
}

// ---- buttons ----

void TspSkinCustomEdit::HitTest(TMessage& AMessage)
{
    const TPoint screen = LParamToPoint(AMessage.LParam);
    if (FImages) {
        TPoint at = screen;
        win::ScreenToClient(Handle(), at);
        auto hit = [&](TspCBButtonX& AButton, Integer AIndex) {
            if (AIndex < 0 || !InRect(AButton.R, at)) return false;
            if (!AButton.MouseIn) {
                AButton.MouseIn = true;
                Invalidate();
            }
            return true;
        };
        if (hit(FLeftButton, FLeftImageIndex)) {
            AMessage.Result = HT_EDIT_LEFTBUTTON;
            return;
        }
        if (hit(FRightButton, FRightImageIndex)) {
            AMessage.Result = HT_EDIT_RIGHTBUTTON;
            return;
        }
        for (TspCBButtonX* b : {&FLeftButton, &FRightButton})
            if (b->MouseIn) {
                b->MouseIn = false;
                Invalidate();
            }
    }
    if (FButtonMode) {
        TRect window;
        GetWindowRect(Handle(), window);
        const TPoint at{screen.X - window.Left, screen.Y - window.Top};
        GetSkinData();
        CalcEditRect();
        if (InRect(FButtonRect, at)) {
            AMessage.Result = HTHSCROLL;
            return;
        }
        if (!InRect(FEditRect, at)) {
            AMessage.Result = HTVSCROLL;
            return;
        }
    }
    TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
}

void TspSkinCustomEdit::NcMouseMove(TMessage& AMessage)
{
    if (FButtonMode && AMessage.WParam == static_cast<WPARAM>(HTHSCROLL)) {
        if (!FButtonActive) {
            FButtonActive = true;
            RepaintFrame();
            Invalidate();
        }
        return;
    }
    if (FButtonMode && FButtonActive) {
        FButtonActive = false;
        RepaintFrame();
        Invalidate();
    }
    TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
}

void TspSkinCustomEdit::NcButtonDown(TMessage& AMessage)
{
    const LRESULT code = static_cast<LRESULT>(AMessage.WParam);
    if (FImages && (code == HT_EDIT_LEFTBUTTON || code == HT_EDIT_RIGHTBUTTON)) {
        (code == HT_EDIT_LEFTBUTTON ? FLeftButton : FRightButton).Down = true;
        if (!Focused() && CanFocus()) SetFocus();
        if (AMessage.Msg == WM_NCLBUTTONDBLCLK)
            Repaint();
        else
            Invalidate();
        return;
    }
    if (FButtonMode && code == HTHSCROLL) {
        FButtonDown = true;
        RepaintFrame();
        return;
    }
    TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
}

void TspSkinCustomEdit::NcButtonUp(TMessage& AMessage)
{
    const LRESULT code = static_cast<LRESULT>(AMessage.WParam);
    auto release = [&](TspCBButtonX& AButton, TNotifyEvent& AEvent) {
        AButton.Down = false;
        Invalidate();
        if (AEvent) AEvent(this);
    };
    if (FImages && code == HT_EDIT_LEFTBUTTON && FLeftButton.Down) return release(FLeftButton, OnLeftButtonClick);
    if (FImages && code == HT_EDIT_RIGHTBUTTON && FRightButton.Down)
        return release(FRightButton, OnRightButtonClick);
    FLeftButton.Down = FRightButton.Down = false;
    if (FButtonMode && code == HTHSCROLL) {
        // Only a press that began on the button clicks it.
        const bool pressed = FButtonDown;
        FButtonDown = false;
        RepaintFrame();
        if (!pressed) return;
        if (!Focused() && CanFocus()) SetFocus();
        if (OnButtonClick) OnButtonClick(this);
        return;
    }
    TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
}

// ---- messages ----

void TspSkinCustomEdit::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_NCCALCSIZE: NcCalcSize(AMessage); return;
    case WM_NCPAINT:
        if (HandleAllocated()) {
            HDC dc = GetWindowDC(Handle());
            PaintFrame(dc);
            ReleaseDC(Handle(), dc);
        }
        return;
    case WM_NCHITTEST:
        if (ComponentState().Contains(csDesigning)) break;
        HitTest(AMessage);
        return;
    case WM_NCMOUSEMOVE: NcMouseMove(AMessage); return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: NcButtonDown(AMessage); return;
    case WM_NCLBUTTONUP: NcButtonUp(AMessage); return;
    case WM_MOUSEMOVE:
        TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
        if (FButtonMode && FButtonActive) {
            FButtonActive = false;
            RepaintFrame();
        }
        return;
    case WM_SIZE:
        TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
        UpdateImageButtons();
        RepaintFrame();
        return;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
        if (dc) {
            PaintClientBackground(dc);
            DrawImageButtons(dc);
        }
        AMessage.Result = 1;
        return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
        FocusChanged(AMessage.Msg == WM_SETFOCUS);
        return;
    case CM_MOUSEENTER:
        TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
        if (AMessage.LParam == 0 || AMessage.LParam == reinterpret_cast<LPARAM>(this)) MouseEnter();
        return;
    case CM_MOUSELEAVE:
        TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
        if (AMessage.LParam == 0 || AMessage.LParam == reinterpret_cast<LPARAM>(this)) MouseLeave();
        return;
    case CM_ENABLEDCHANGED:
        TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
        GetSkinData();
        ApplyEnabledColor(false);
        RepaintFrame();
        Invalidate();
        return;
    case CM_FONTCHANGED:
        TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
        if (!FUseSkinFont && !(ComponentState().Contains(csLoading) && ComponentState().Contains(csDesigning))) {
            AdjustHeight();
            if (!Skinned() && HandleAllocated()) RecreateWnd();
        }
        return;
    default: break;
    }
    TspSkinLinked<TspCustomEdit>::WndProc(AMessage);
}
