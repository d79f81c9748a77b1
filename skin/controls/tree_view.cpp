#include "skin/controls/tree_view.h"

#include "platform/win/scrolling.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/scroll_bar_link.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"

namespace {
constexpr win::UINT kSkmPaintNcArea = 45513;
constexpr win::LRESULT kSkmPaintNcAreaAnswer = 12851;
}  // namespace

TspSkinCustomTreeView::TspSkinCustomTreeView(TComponent* AOwner)
    : TspSkinLinked<TCustomTreeView>(AOwner),
      FBars(this, [this](Integer APosition) { VScrollBarChange(APosition); },
            [this](Integer APosition) { HScrollBarChange(APosition); }),
      FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FSkinDataName = "treeview";
}

TspSkinCustomTreeView::~TspSkinCustomTreeView() = default;

void TspSkinCustomTreeView::CreateParams(TCreateParams& AParams)
{
    TspSkinLinked<TCustomTreeView>::CreateParams(AParams);
    AParams.Style &= ~(win::WS_HSCROLL | win::WS_VSCROLL);
}

void TspSkinCustomTreeView::SetDefaultColor(TColor AValue)
{
    FDefaultColor = AValue;
    if (FIndex == -1) SetColor(AValue);
}

void TspSkinCustomTreeView::SetDefaultFont(TFont* AValue)
{
    FDefaultFont->Assign(AValue);
    if (FIndex == -1) Font()->Assign(AValue);
}

void TspSkinCustomTreeView::SetVScrollBar(TspSkinScrollBar* AValue)
{
    FBars.SetVBar(AValue);
    UpDateScrollBars();
}

void TspSkinCustomTreeView::SetHScrollBar(TspSkinScrollBar* AValue)
{
    FBars.SetHBar(AValue);
    UpDateScrollBars();
}

void TspSkinCustomTreeView::ChangeSkinData()
{
    if (ComponentState().Contains(csLoading)) return;
    FIndex = ApplyTextViewSkin(this, FSD, FSkinDataName, FUseSkinFont, FDefaultFont.get(), FDefaultColor);
    if (Images()) Images()->SetBkColor(Color());
    if (StateImages()) StateImages()->SetBkColor(Color());
    UpDateScrollBars();
    // Assigning a bar's Align again makes its parent re-align it.
    for (TspSkinScrollBar* bar : {VScrollBar(), HScrollBar()})
        if (bar) bar->SetAlign(bar->Align());
}

void TspSkinCustomTreeView::UpDateScrollBars()
{
    if (ComponentState().Contains(csLoading) || FBars.InCheck || !HandleAllocated()) return;
    bool changed = false;
    if (TspSkinScrollBar* v = VScrollBar()) {
        int min = 0, max = 0;
        win::GetScrollRange(Handle(), win::SB_VERT, &min, &max);
        const int pos = win::GetScrollPos(Handle(), win::SB_VERT);
        const auto page = static_cast<Integer>(Perform(lists::TVM_GETVISIBLECOUNT, 0, 0));
        const auto count = static_cast<Integer>(Perform(lists::TVM_GETCOUNT, 0, 0));
        changed |= FBars.Apply(v, max > 0 && page <= max && count > max, min, max, pos, page);
    }
    if (TspSkinScrollBar* h = HScrollBar()) {
        int min = 0, max = 0;
        win::GetScrollRange(Handle(), win::SB_HORZ, &min, &max);
        const int pos = win::GetScrollPos(Handle(), win::SB_HORZ);
        changed |= FBars.Apply(h, max > Width(), min, max, pos, Width());
    }
    FBars.Finish(changed);
}

void TspSkinCustomTreeView::VScrollBarChange(Integer APosition)
{
    SendThumbPosition(this, win::WM_VSCROLL, APosition);
}

void TspSkinCustomTreeView::HScrollBarChange(Integer APosition)
{
    SendThumbPosition(this, win::WM_HSCROLL, APosition);
}

void TspSkinCustomTreeView::WndProc(TMessage& AMessage)
{
    if (FBars.HandleMessage(AMessage)) return;
    switch (AMessage.Msg) {
    case win::WM_NCHITTEST: AMessage.Result = win::HTCLIENT; return;
    case win::WM_NCPAINT: return;
    case kSkmPaintNcArea: AMessage.Result = kSkmPaintNcAreaAnswer; return;
    case CM_VISIBLECHANGED:
        TspSkinLinked<TCustomTreeView>::WndProc(AMessage);
        FBars.FollowVisible(Visible());
        return;
    case win::WM_SIZE:
        TspSkinLinked<TCustomTreeView>::WndProc(AMessage);
        if (!FBars.InCheck) UpDateScrollBars();
        return;
    case win::WM_PAINT:
    case win::WM_KEYDOWN:
    case win::WM_LBUTTONUP:
    case win::WM_VSCROLL:
    case win::WM_HSCROLL:
    case win::WM_MOUSEWHEEL:
        TspSkinLinked<TCustomTreeView>::WndProc(AMessage);
        UpDateScrollBars();
        return;
    default: TspSkinLinked<TCustomTreeView>::WndProc(AMessage);
    }
}
