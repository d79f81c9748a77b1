#include "skin/controls/list_view.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win/painting.h"
#include "platform/win/scrolling.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/controls/scroll_bar.h"
#include "skin/core/skin_data.h"

namespace {
constexpr win::UINT kSkmPaintHeader = 45512;
constexpr win::UINT kSkmPaintNcArea = 45513;
constexpr win::LRESULT kSkmPaintNcAreaAnswer = 12851;
}  // namespace

TspSkinCustomListView::TspSkinCustomListView(TComponent* AOwner)
    : TspSkinLinked<TCustomListView>(AOwner),
      FBars(this, [this](Integer APosition) { VScrollBarChange(APosition); },
            [this](Integer APosition) { HScrollBarChange(APosition); }),
      FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FSkinDataName = "listview";
    Font()->Assign(FDefaultFont.get());
    FHeaderInstance = win::MakeObjectInstance(
        [this](win::HWND AWindow, win::UINT AMsg, win::WPARAM AWParam, win::LPARAM ALParam) {
            return HeaderWndProc(AWindow, AMsg, AWParam, ALParam);
        });
}

TspSkinCustomListView::~TspSkinCustomListView()
{
    ReleaseHeader();
    win::FreeObjectInstance(FHeaderInstance);
    FHeaderInstance = nullptr;
}

void TspSkinCustomListView::CreateParams(TCreateParams& AParams)
{
    TspSkinLinked<TCustomListView>::CreateParams(AParams);
    AParams.Style &= ~(win::WS_HSCROLL | win::WS_VSCROLL);
}

void TspSkinCustomListView::SetDefaultColor(TColor AValue)
{
    FDefaultColor = AValue;
    if (FIndex == -1) SetColor(AValue);
}

void TspSkinCustomListView::SetDefaultFont(TFont* AValue)
{
    FDefaultFont->Assign(AValue);
    if (FIndex == -1) Font()->Assign(AValue);
}

void TspSkinCustomListView::SetVScrollBar(TspSkinScrollBar* AValue)
{
    FBars.SetVBar(AValue);
    UpDateScrollBars();
}

void TspSkinCustomListView::SetHScrollBar(TspSkinScrollBar* AValue)
{
    FBars.SetHBar(AValue);
    UpDateScrollBars();
}

void TspSkinCustomListView::ChangeSkinData()
{
    FIndex = ApplyTextViewSkin(this, FSD, FSkinDataName, FUseSkinFont, FDefaultFont.get(), FDefaultColor);
    UpDateScrollBars();
    for (TspSkinScrollBar* bar : {VScrollBar(), HScrollBar()})
        if (bar) bar->SetAlign(bar->Align());
    if (ViewStyle() == vsReport && FHeaderHandle) win::InvalidateRect(FHeaderHandle, nullptr, true);
}

Integer TspSkinCustomListView::ItemZeroHeight()
{
    return Items()->Count() > 0 ? ItemRect(0).Height() : 0;
}

void TspSkinCustomListView::UpDateScrollBars()
{
    if (!HandleAllocated() || FromSB || Width() <= 5 || Height() <= 5 || FBars.InCheck) return;
    bool changed = false;
    switch (ViewStyle()) {
    case vsReport: UpdateReportBars(changed); break;
    case vsList: UpdateListBars(changed); break;
    default: UpdateIconBars(changed); break;
    }
    FBars.Finish(changed);
}

void TspSkinCustomListView::UpdateReportBars(bool& AChanged)
{
    const auto perPage = static_cast<Integer>(Perform(lists::LVM_GETCOUNTPERPAGE, 0, 0));
    int min = 0, max = 0;
    if (TspSkinScrollBar* v = VScrollBar()) {
        win::GetScrollRange(Handle(), win::SB_VERT, &min, &max);
        const int pos = win::GetScrollPos(Handle(), win::SB_VERT);
        AChanged |= FBars.Apply(v, perPage < max + 1, min, max, pos, perPage);
        FOldVScrollBarPos = pos;
        v->SetSmallChange(1);
        v->SetLargeChange(std::max(1, perPage));
    }
    if (TspSkinScrollBar* h = HScrollBar()) {
        win::GetScrollRange(Handle(), win::SB_HORZ, &min, &max);
        const int pos = win::GetScrollPos(Handle(), win::SB_HORZ);
        AChanged |= FBars.Apply(h, max > Width(), min, max, pos, Width());
        FOldHScrollBarPos = pos;
    }
}

void TspSkinCustomListView::UpdateListBars(bool& AChanged)
{
    // The list style scrolls sideways only.
    if (TspSkinScrollBar* v = VScrollBar(); v && v->Visible()) AChanged |= FBars.Apply(v, false, 0, 0, 0, 0);
    if (TspSkinScrollBar* h = HScrollBar()) {
        int min = 0, max = 0;
        win::GetScrollRange(Handle(), win::SB_HORZ, &min, &max);
        const int pos = win::GetScrollPos(Handle(), win::SB_HORZ);
        const Integer itemWidth = Items()->Count() > 0 ? ItemRect(0).Width() : 0;
        const Integer page = itemWidth > 0 ? Width() / itemWidth : 1;
        const auto perPage = static_cast<Integer>(Perform(lists::LVM_GETCOUNTPERPAGE, 0, 0));
        const auto count = static_cast<Integer>(Perform(lists::LVM_GETITEMCOUNT, 0, 0));
        AChanged |= FBars.Apply(h, perPage < count, min, max, pos, page);
        h->SetSmallChange(1);
        h->SetLargeChange(1);
        FOldHScrollBarPos = pos;
    }
}

void TspSkinCustomListView::UpdateIconBars(bool& AChanged)
{
    const Integer step = std::max(1, ItemZeroHeight() / 2);
    int min = 0, max = 0;
    if (TspSkinScrollBar* v = VScrollBar()) {
        win::GetScrollRange(Handle(), win::SB_VERT, &min, &max);
        const int pos = win::GetScrollPos(Handle(), win::SB_VERT);
        v->SetSmallChange(step);
        v->SetLargeChange(step);
        AChanged |= FBars.Apply(v, max > Height(), min, max, pos, Height());
        FOldVScrollBarPos = pos;
    }
    if (TspSkinScrollBar* h = HScrollBar()) {
        win::GetScrollRange(Handle(), win::SB_HORZ, &min, &max);
        const int pos = win::GetScrollPos(Handle(), win::SB_HORZ);
        h->SetSmallChange(step);
        h->SetLargeChange(step);
        AChanged |= FBars.Apply(h, max > Width(), min, max, pos, Width());
        FOldHScrollBarPos = pos;
    }
}

void TspSkinCustomListView::VScrollBarChange(Integer APosition)
{
    // While the bar scrolls the view, the view does not write its state back into the bar.
    FromSB = true;
    const Integer d = APosition - FOldVScrollBarPos;
    if (ViewStyle() == vsIcon || ViewStyle() == vsSmallIcon)
        Scroll(0, d);
    else
        Scroll(0, d * ItemZeroHeight());
    FOldVScrollBarPos = APosition;
    FromSB = false;
}

void TspSkinCustomListView::HScrollBarChange(Integer APosition)
{
    FromSB = true;
    const Integer d = APosition - FOldHScrollBarPos;
    if (ViewStyle() == vsList) {
        for (Integer i = 0; i < std::abs(d); ++i)
            Perform(win::WM_HSCROLL, d < 0 ? win::SB_LINELEFT : win::SB_LINERIGHT, 0);
    } else {
        Scroll(d, 0);
    }
    FOldHScrollBarPos = APosition;
    FromSB = false;
}

void TspSkinCustomListView::WndProc(TMessage& AMessage)
{
    if (FBars.HandleMessage(AMessage)) return;
    switch (AMessage.Msg) {
    case win::WM_NCHITTEST: AMessage.Result = win::HTCLIENT; return;
    case win::WM_NCPAINT: return;
    case kSkmPaintNcArea: AMessage.Result = kSkmPaintNcAreaAnswer; return;
    case kSkmPaintHeader:
        if (FHeaderHandle) PaintHeader(reinterpret_cast<win::HDC>(AMessage.WParam));
        return;
    case win::WM_PARENTNOTIFY:
        if (win::LOWORD(AMessage.WParam) == win::WM_CREATE) {
            auto child = reinterpret_cast<win::HWND>(AMessage.LParam);
            if (win::GetClassName(child) == lists::kHeaderClassName && ShowColumnHeaders()) HookHeader(child);
        } else if (win::LOWORD(AMessage.WParam) == win::WM_DESTROY &&
                   reinterpret_cast<win::HWND>(AMessage.LParam) == FHeaderHandle) {
            // The header is going: nothing is left to give its procedure back to.
            FHeaderHandle = nullptr;
            FDefHeaderProc = nullptr;
        }
        TspSkinLinked<TCustomListView>::WndProc(AMessage);
        return;
    case CM_VISIBLECHANGED:
        TspSkinLinked<TCustomListView>::WndProc(AMessage);
        FBars.FollowVisible(Visible());
        return;
    case win::WM_SIZE:
        TspSkinLinked<TCustomListView>::WndProc(AMessage);
        if (!FBars.InCheck && Items()->Count() > 0) UpDateScrollBars();
        if (ViewStyle() == vsReport && FHeaderHandle) win::InvalidateRect(FHeaderHandle, nullptr, false);
        return;
    case win::WM_PAINT:
    case win::WM_KEYDOWN:
    case win::WM_LBUTTONUP:
    case win::WM_MOUSEWHEEL:
    case win::WM_VSCROLL:
    case win::WM_HSCROLL:
        TspSkinLinked<TCustomListView>::WndProc(AMessage);
        if (!FBars.InCheck) UpDateScrollBars();
        return;
    default: TspSkinLinked<TCustomListView>::WndProc(AMessage);
    }
}
