#include "skin/forms/hint_window_skin.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/gui/forms.h"
#include "platform/gui/screen.h"
#include "platform/gui/timer.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/layer_window.h"
#include "skin/core/mask_regions.h"
#include "skin/core/parent_background.h"
#include "skin/core/platform_gates.h"
#include "skin/core/skin_compose.h"
#include "skin/forms/hint_component.h"

using namespace win;

namespace {
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOPREFIX;
constexpr UINT kDrawFlags = DT_NOPREFIX;
constexpr Cardinal kFadeStepMs = 4;  // more than 3 ms between two steps

TSize MeasureText(TCanvas* C, const std::string& AText)
{
    TRect r = Rect(0, 0, 0, 0);
    DrawText(C->Handle(), AText, &r, kMeasureFlags);
    return TSize{r.Width(), r.Height()};
}

bool ValidImage(TCustomImageList* AList, Integer AIndex)
{
    return AList && AIndex >= 0 && AIndex < AList->Count();
}
}  // namespace

TspSkinHintWindow::TspSkinHintWindow(TComponent* AOwner) : THintWindow(AOwner), SI(std::make_unique<TBitmap>()) {}

TspSkinHintWindow::~TspSkinHintWindow()
{
    // A region handed to the window is the window's; only one that never reached it is ours to delete.
    if (FRgn && !HandleAllocated()) DeleteObject(FRgn);
}

void TspSkinHintWindow::CreateParams(TCreateParams& AParams)
{
    THintWindow::CreateParams(AParams);
    AParams.Style &= ~WS_BORDER;
}

void TspSkinHintWindow::WndProc(TMessage& AMessage)
{
    if (AMessage.Msg == WM_ERASEBKGND) {
        AMessage.Result = 1;
        return;
    }
    if (AMessage.Msg == WM_NCPAINT) {
        AMessage.Result = 0;
        return;
    }
    THintWindow::WndProc(AMessage);
}

std::string TspSkinHintWindow::ReplaceLineSeparator(const std::string& AText, const std::string& ASeparator)
{
    if (ASeparator.empty()) return AText;
    // One forward pass: a separator made of the break's own characters cannot be found again.
    std::string out;
    out.reserve(AText.size());
    size_t from = 0;
    for (size_t at = AText.find(ASeparator); at != std::string::npos; at = AText.find(ASeparator, from)) {
        out.append(AText, from, at - from);
        out += "\n\r";
        from = at + ASeparator.size();
    }
    out.append(AText, from, std::string::npos);
    return out;
}

TspDataSkinHintWindow* TspSkinHintWindow::Record() const { return FSD ? FSD->HintWindow.get() : nullptr; }

TBitmap* TspSkinHintWindow::HintPicture() const
{
    TspDataSkinHintWindow* rec = Record();
    return rec ? FSD->ActivePicture(rec->WindowPictureIndex) : nullptr;
}

bool TspSkinHintWindow::FindSettings()
{
    FspHint = FindActiveSkinHint();
    FSD = nullptr;
    if (!FspHint) return false;
    TspSkinData* sd = FspHint->SkinData();
    if (sd && !sd->Empty && sd->HintWindow && sd->HintWindow->WindowPictureIndex != -1 &&
        sd->ActivePicture(sd->HintWindow->WindowPictureIndex))
        FSD = sd;
    return true;
}

void TspSkinHintWindow::PrepareFont(TCanvas* C)
{
    TspDataSkinHintWindow* rec = Record();
    if (rec && FspHint->UseSkinFont) {
        C->Font()->SetName(rec->FontName);
        C->Font()->SetHeight(rec->FontHeight);
        C->Font()->SetStyle(rec->FontStyle);
        C->Font()->SetColor(rec->FontColor);
    } else {
        C->Font()->Assign(FspHint->DefaultFont());
        C->Font()->SetColor(rec ? rec->FontColor : clInfoText);
    }
}

void TspSkinHintWindow::CalcHintSize(Integer& W, Integer& H)
{
    TBitmap measure;
    measure.SetSize(1, 1);
    PrepareFont(measure.Canvas());
    const TSize text = MeasureText(measure.Canvas(), Caption());
    FitFrame(text.cx, text.cy, 5, W, H);
}

void TspSkinHintWindow::CalcHintSizeEx(Integer& W, Integer& H)
{
    TBitmap measure;
    measure.SetSize(1, 1);
    PrepareFont(measure.Canvas());
    const TSize text = MeasureText(measure.Canvas(), Caption());
    Integer w = text.cx, h = text.cy, th = 0;
    if (!FTitle.empty()) {
        const TSize title = MeasureText(measure.Canvas(), FTitle);
        th = title.cy;
        h += th + 10;
        w = std::max(w, title.cx);
    }
    if (ValidImage(FImageList, FImageIndex)) {
        w += FImageList->Width() + 10;
        h = std::max(h, FImageList->Height() + th + 5);
    }
    FitFrame(w, h, 10, W, H);
}

void TspSkinHintWindow::FitFrame(Integer AContentW, Integer AContentH, Integer ASkinExtraW, Integer& W, Integer& H)
{
    TspDataSkinHintWindow* rec = Record();
    TBitmap* pic = HintPicture();
    if (!rec || !pic) {
        W = AContentW + 4;
        H = AContentH + 4;
        NewClRect = Rect(2, 2, W - 2, H - 2);
        return;
    }
    const Integer pw = pic->Width(), ph = pic->Height();
    W = AContentW + ASkinExtraW + rec->ClRect.Left + (pw - rec->ClRect.Right);
    H = AContentH + rec->ClRect.Top + (ph - rec->ClRect.Bottom);
    Integer xo = W - pw, yo = H - ph;
    // Keep the right corners right of the left ones and the bottom ones below the top ones.
    if (rec->RTPoint.X + xo < rec->LTPoint.X) {
        W += rec->LTPoint.X - (rec->RTPoint.X + xo);
        xo = W - pw;
    }
    if (rec->RBPoint.X + xo < rec->LBPoint.X) {
        W += rec->LBPoint.X - (rec->RBPoint.X + xo);
        xo = W - pw;
    }
    if (rec->LBPoint.Y + yo < rec->LTPoint.Y) {
        H += rec->LTPoint.Y - (rec->LBPoint.Y + yo);
        yo = H - ph;
    }
    if (rec->RBPoint.Y + yo < rec->RTPoint.Y) {
        H += rec->RTPoint.Y - (rec->RBPoint.Y + yo);
        yo = H - ph;
    }
    NewClRect = Rect(rec->ClRect.Left, rec->ClRect.Top, rec->ClRect.Right + xo, rec->ClRect.Bottom + yo);
    NewLTPoint = rec->LTPoint;
    NewRTPoint = TPoint{rec->RTPoint.X + xo, rec->RTPoint.Y};
    NewLBPoint = TPoint{rec->LBPoint.X, rec->LBPoint.Y + yo};
    NewRBPoint = TPoint{rec->RBPoint.X + xo, rec->RBPoint.Y + yo};
}

void TspSkinHintWindow::KeepOnScreen(TRect& R)
{
    TRect area;
    TCustomForm* form = ::Screen ? ::Screen->ActiveForm() : nullptr;
    if (!form || !form->HandleAllocated()) {
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        form = main && main->Visible() && main->HandleAllocated() ? main : nullptr;
    }
    if (form)
        GetWorkAreaOf(form->Handle(), true, area);
    else
        area = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const Integer w = R.Width(), h = R.Height();
    if (R.Right > area.Right) R = ::Bounds(R.Left - (w + 2), R.Top, w, h);
    if (R.Bottom > area.Bottom) R = ::Bounds(R.Left, R.Top - (h + 2), w, h);
}

void TspSkinHintWindow::ActivateHint(const TRect& Rect, const std::string& AHint)
{
    if (!FindSettings()) return;
    if (!FspHint->HintTitle().empty() || FspHint->HintImageList()) {
        ActivateHintEx(Rect, FspHint->HintTitle(), AHint, FspHint->HintImageIndex(), FspHint->HintImageList());
        return;
    }
    AExtendedStyle = false;
    FTitle.clear();
    FImageList = nullptr;
    SetCaption(ReplaceLineSeparator(AHint, FspHint->LineSeparator()));
    Integer w = 0, h = 0;
    CalcHintSize(w, h);
    TRect r = ::Bounds(Rect.Left, Rect.Top, w, h);
    KeepOnScreen(r);
    ShowAt(r);
}

void TspSkinHintWindow::ActivateHintEx(const TRect& Rect, const std::string& AHintTitle, const std::string& AHint,
                                       Integer AImageIndex, TCustomImageList* AImageList)
{
    if (!FindSettings()) return;
    AExtendedStyle = true;
    FTitle = AHintTitle;
    FImageIndex = AImageIndex;
    FImageList = AImageList;
    SetCaption(ReplaceLineSeparator(AHint, FspHint->LineSeparator()));
    Integer w = 0, h = 0;
    CalcHintSizeEx(w, h);
    TRect r = ::Bounds(Rect.Left, Rect.Top, w, h);
    KeepOnScreen(r);
    ShowAt(r);
}

void TspSkinHintWindow::ActivateHintFromRect(const TRect& ARect, const std::string& AHint, bool ATop)
{
    if (!FindSettings()) return;
    const bool titled = !FspHint->HintTitle().empty() || FspHint->HintImageList();
    AExtendedStyle = titled;
    FTitle = titled ? FspHint->HintTitle() : std::string();
    FImageIndex = FspHint->HintImageIndex();
    FImageList = titled ? FspHint->HintImageList() : nullptr;
    SetCaption(ReplaceLineSeparator(AHint, FspHint->LineSeparator()));
    Integer w = 0, h = 0;
    // A titled hint keeps the anchored placement: centred on the rectangle, below or above it.
    if (titled)
        CalcHintSizeEx(w, h);
    else
        CalcHintSize(w, h);
    const Integer left = ARect.Left + ARect.Width() / 2 - w / 2;
    const Integer top = ATop ? ARect.Top - h : ARect.Bottom;
    TRect r = ::Bounds(left, top, w, h);
    KeepOnScreen(r);
    ShowAt(r);
}

void TspSkinHintWindow::ShowAt(const TRect& R)
{
    SetBoundsRect(R);
    HandleNeeded();
    ApplyAlphaState();
    SetHintRegion();
    SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    TControl::SetVisible(true);
    Invalidate();
    Update();
    if (FspHint->AlphaBlendSupport() && FspHint->AlphaBlend && FspHint->AlphaBlendAnimation) StartFade();
}

void TspSkinHintWindow::ApplyAlphaState()
{
    if (FFadeTimer) FFadeTimer->SetEnabled(false);
    const bool support = FspHint->AlphaBlendSupport(), blend = FspHint->AlphaBlend;
    const bool animate = FspHint->AlphaBlendAnimation;
    const Byte value = FspHint->AlphaBlendValue;
    if (blend != OldAlphaBlend && support) {
        const LONG ex = GetWindowLong(Handle(), GWL_EXSTYLE);
        if (blend) {
            SetWindowLong(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
            if (!animate) {
                SetWindowAlpha(Handle(), value);
                FAlpha = value;
            }
        } else {
            SetWindowLong(Handle(), GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
            FAlpha = 255;
        }
        OldAlphaBlend = blend;
    }
    if (support && blend && animate) {
        SetWindowAlpha(Handle(), 0);
        FAlpha = 0;
    }
    if (value != OldAlphaBlendValue && support && blend) {
        if (!animate) {
            SetWindowAlpha(Handle(), value);
            FAlpha = value;
        }
        OldAlphaBlendValue = value;
    }
    FBlendWithScreen = blend && !support;
    if (FBlendWithScreen) {
        SI->SetSize(Width(), Height());
        CaptureScreenArea(Left(), Top(), SI.get());
    }
}

bool TspSkinHintWindow::Fading() const { return FFadeTimer && FFadeTimer->Enabled(); }

void TspSkinHintWindow::StartFade()
{
    // Stepped by a timer rather than a busy wait, so that the clock the timers read drives it.
    if (!FFadeTimer) {
        FFadeTimer = new TTimer(this);
        FFadeTimer->SetEnabled(false);
        FFadeTimer->SetInterval(kFadeStepMs);
        FFadeTimer->SetOnTimer([this](TObject*) {
            if (!IsSkinHintAlive(FspHint) || !HandleAllocated()) {
                FFadeTimer->SetEnabled(false);
                return;
            }
            const Integer target = FspHint->AlphaBlendValue;
            const Integer step = std::max(target / 15, 1);
            FAlpha = static_cast<Byte>(std::min(FAlpha + step, target));
            Invalidate();
            SetWindowAlpha(Handle(), FAlpha);
            if (FAlpha >= target) FFadeTimer->SetEnabled(false);
        });
    }
    FFadeTimer->SetEnabled(true);
}

void TspSkinHintWindow::SetHintRegion()
{
    TspDataSkinHintWindow* rec = Record();
    TBitmap* mask = rec && rec->MaskPictureIndex != -1 ? FSD->ActivePicture(rec->MaskPictureIndex) : nullptr;
    if (mask) {
        HRGN region = nullptr;
        BuildSkinWindowRegion(region, rec->LTPoint, rec->RTPoint, rec->LBPoint, rec->RBPoint, rec->ClRect,
                              NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, mask, Width(), Height());
        // The window owns the region from here on and deletes the one it had.
        SetWindowRgn(Handle(), region, TRUE);
        FRgn = region;
    } else if (FRgn) {
        SetWindowRgn(Handle(), nullptr, TRUE);
        FRgn = nullptr;
    }
}

void TspSkinHintWindow::DrawFrame(TBitmap* B)
{
    TBitmap* pic = HintPicture();
    TspDataSkinHintWindow* rec = Record();
    if (pic && rec) {
        ComposeWindowSkinImage(rec->LTPoint, rec->RTPoint, rec->LBPoint, rec->RBPoint, rec->ClRect, NewLTPoint,
                               NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, B, pic,
                               Rect(0, 0, pic->Width(), pic->Height()), Width(), Height(), true, rec->LeftStretch,
                               rec->TopStretch, rec->RightStretch, rec->BottomStretch, rec->StretchEffect,
                               rec->StretchType);
        return;
    }
    TCanvas* c = B->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clInfoBk);
    c->FillRect(Rect(0, 0, Width(), Height()));
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, Width(), Height()));
}

void TspSkinHintWindow::PaintPlain(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    PrepareFont(c);
    c->Brush()->SetStyle(bsClear);
    SetBkMode(c->Handle(), TRANSPARENT);
    SetTextColor(c->Handle(), ColorRefOf(c->Font()->Color()));
    const std::string text = Caption();
    TRect r;
    if (Record()) {
        const TSize size = MeasureText(c, text);
        const Integer left = NewClRect.Left + NewClRect.Width() / 2 - size.cx / 2;
        const Integer top = NewClRect.Top + NewClRect.Height() / 2 - size.cy / 2;
        r = ::Bounds(left, top, size.cx, size.cy);
    } else {
        r = Rect(2, 2, Width() - 2, Height() - 2);
    }
    DrawText(c->Handle(), text, &r, kDrawFlags);
}

void TspSkinHintWindow::PaintEx(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    PrepareFont(c);
    c->Brush()->SetStyle(bsClear);
    SetBkMode(c->Handle(), TRANSPARENT);
    SetTextColor(c->Handle(), ColorRefOf(c->Font()->Color()));
    const bool skinned = Record() != nullptr;
    const TRect frame = skinned ? NewClRect : Rect(2, 2, Width() - 2, Height() - 2);
    const Integer inset = skinned ? 5 : 0;
    Integer a = 0;
    if (!FTitle.empty()) {
        TFontStyles styles = c->Font()->Style();
        TFontStyles bold = styles;
        c->Font()->SetStyle(bold.Include(fsBold));
        const TSize size = MeasureText(c, FTitle);
        TRect tr = ::Bounds(frame.Left + inset, frame.Top, size.cx, size.cy);
        DrawText(c->Handle(), FTitle, &tr, kDrawFlags);
        c->Font()->SetStyle(styles);
        a = size.cy + 5;
    }
    const std::string text = Caption();
    const TSize textSize = MeasureText(c, text);
    Integer textLeft = frame.Left + inset;
    if (ValidImage(FImageList, FImageIndex)) {
        const Integer x = skinned ? frame.Left + 5 : 2;
        const Integer y = FTitle.empty() ? frame.Top + frame.Height() / 2 - FImageList->Height() / 2 : frame.Top + a;
        FImageList->Draw(c, x, y, FImageIndex);
        textLeft = x + FImageList->Width() + 5;
    }
    const Integer textTop = FTitle.empty() ? frame.Top + frame.Height() / 2 - textSize.cy / 2 : frame.Top + a;
    TRect tr = Rect(textLeft, textTop, std::max(textLeft + textSize.cx, frame.Right), textTop + textSize.cy);
    DrawText(c->Handle(), text, &tr, kDrawFlags);
}

void TspSkinHintWindow::Paint()
{
    // The settings of the activation, unless that component has gone since.
    if (Width() <= 0 || Height() <= 0 || !IsSkinHintAlive(FspHint)) return;
    TBitmap buffer;
    buffer.SetSize(Width(), Height());
    DrawFrame(&buffer);
    if (AExtendedStyle)
        PaintEx(&buffer);
    else
        PaintPlain(&buffer);
    if (FBlendWithScreen && SI->Width() == Width() && SI->Height() == Height()) {
        auto hint = TspEffectBmp::CreateFromhWnd(buffer.Handle());
        auto behind = TspEffectBmp::CreateFromhWnd(SI->Handle());
        if (hint && behind) {
            hint->Morph(*behind, 1.0 - FspHint->AlphaBlendValue / 255.0);
            hint->Draw(buffer.Canvas()->Handle(), 0, 0);
        }
    }
    BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), buffer.Canvas()->Handle(), 0, 0, SRCCOPY);
}
