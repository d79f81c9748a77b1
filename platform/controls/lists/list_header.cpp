#include "platform/controls/lists/list_header.h"

#include "platform/win/input.h"
#include "platform/win/message_queue.h"
#include "platform/win/window.h"

#include <algorithm>
#include <numeric>

using namespace win;
using namespace lists;

TListHeader::TListHeader(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clBtnFace);
    SetBounds(0, 0, 100, 20);
}

void TListHeader::CreateParams(TCreateParams& AParams)
{
    TCustomControl::CreateParams(AParams);
    AParams.WinClassName = kHeaderClassName;
}

void TListHeader::SetSections(std::vector<THeaderSection> ASections)
{
    FSections = std::move(ASections);
    FOrder.resize(FSections.size());
    std::iota(FOrder.begin(), FOrder.end(), 0);
    FMode = TMode::Idle;
    Invalidate();
}

void TListHeader::SetSectionWidth(Integer AIndex, Integer AWidth)
{
    FSections.at(AIndex).Width = std::max(0, AWidth);
    Invalidate();
}

void TListHeader::SetOrder(const std::vector<int>& AOrder)
{
    if (AOrder.size() != FSections.size())
        return;
    std::vector<int> sorted(AOrder);
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != static_cast<int>(i))
            return;
    FOrder = AOrder;
    Invalidate();
}

TRect TListHeader::SectionRect(Integer AIndex) const
{
    int left = 0;
    for (int index : FOrder) {
        if (index == AIndex)
            return Rect(left, 0, left + FSections[index].Width, Height());
        left += FSections[index].Width;
    }
    return Rect(0, 0, 0, 0);
}

Integer TListHeader::TotalWidth() const
{
    int total = 0;
    for (const THeaderSection& section : FSections)
        total += section.Width;
    return total;
}

HDHITTESTINFO TListHeader::HitTest(TPoint APoint) const
{
    HDHITTESTINFO info;
    info.pt = APoint;
    if (APoint.X < 0 || APoint.Y < 0 || APoint.Y >= Height()) {
        info.flags = APoint.X < 0 ? HHT_TOLEFT : HHT_NOWHERE;
        return info;
    }
    // The divider zone wins over the body of the section it ends and the one it starts.
    int left = 0;
    for (int index : FOrder) {
        int right = left + FSections[index].Width;
        if (APoint.X >= right - kDividerZone && APoint.X < right + kDividerZone) {
            info.flags = HHT_ONDIVIDER;
            info.iItem = index;
            // A later divider in reach (a section narrower than the zone) is the one to drag.
        }
        left = right;
    }
    if (info.iItem >= 0)
        return info;
    left = 0;
    for (int index : FOrder) {
        int right = left + FSections[index].Width;
        if (APoint.X >= left && APoint.X < right) {
            info.flags = HHT_ONHEADER;
            info.iItem = index;
            return info;
        }
        left = right;
    }
    info.flags = APoint.X >= left ? HHT_TORIGHT | HHT_NOWHERE : HHT_NOWHERE;
    return info;
}

LRESULT TListHeader::Notify(UINT ACode, int AItem, int AValue)
{
    if (!Parent() || !HandleAllocated())
        return 0;
    NMHEADER header;
    header.hdr.hwndFrom = Handle();
    header.hdr.code = ACode;
    header.iItem = AItem;
    header.cxy = AValue;
    return SendMessage(Parent()->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

void TListHeader::MouseMessage(TMessage& AMessage)
{
    TPoint at = LParamToPoint(AMessage.LParam);
    switch (AMessage.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        HDHITTESTINFO hit = HitTest(at);
        if (hit.iItem < 0)
            return;
        if (hit.flags & HHT_ONDIVIDER) {
            if (AMessage.Msg == WM_LBUTTONDBLCLK) {
                Notify(HDN_DIVIDERDBLCLICK, hit.iItem, 0);
                return;
            }
            if (Notify(HDN_BEGINTRACK, hit.iItem, FSections[hit.iItem].Width) != 0)
                return;
            FMode = TMode::Tracking;
        } else {
            FMode = TMode::Pressed;
        }
        FActive = hit.iItem;
        FPressedAt = at;
        FTrackWidth = FSections[hit.iItem].Width;
        SetCapture(Handle());
        Invalidate();
        return;
    }
    case WM_MOUSEMOVE:
        if (FMode == TMode::Tracking) {
            // The divider keeps its distance to the pointer from where it was grabbed.
            int width = std::max(0, FTrackWidth + at.X - FPressedAt.X);
            FSections[FActive].Width = width;
            Notify(HDN_TRACK, FActive, width);
            Invalidate();
        } else if (FMode == TMode::Pressed && std::abs(at.X - FPressedAt.X) > kDragThreshold) {
            FMode = TMode::Dragging;
        }
        return;
    case WM_LBUTTONUP: {
        TMode mode = FMode;
        int active = FActive;
        FMode = TMode::Idle;
        FActive = -1;
        if (GetCapture() == Handle())
            ReleaseCapture();
        Invalidate();
        if (mode == TMode::Tracking) {
            Notify(HDN_ENDTRACK, active, FSections[active].Width);
        } else if (mode == TMode::Pressed) {
            Notify(HDN_ITEMCLICK, active, 0);
        } else if (mode == TMode::Dragging) {
            // The section goes to the display place under the pointer.
            int target = static_cast<int>(FOrder.size()) - 1;
            int left = 0;
            for (size_t i = 0; i < FOrder.size(); ++i) {
                int right = left + FSections[FOrder[i]].Width;
                if (at.X < right) {
                    target = static_cast<int>(i);
                    break;
                }
                left = right;
            }
            if (at.X < 0)
                target = 0;
            if (Notify(HDN_ENDDRAG, active, target) == 0) {
                FOrder.erase(std::find(FOrder.begin(), FOrder.end(), active));
                FOrder.insert(FOrder.begin() + target, active);
            }
        }
        return;
    }
    default: return;
    }
}

void TListHeader::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case HDM_GETITEMCOUNT: AMessage.Result = SectionCount(); return;
    case HDM_GETITEMRECT: {
        auto index = static_cast<Integer>(AMessage.WParam);
        auto* rect = reinterpret_cast<RECT*>(AMessage.LParam);
        if (index < 0 || index >= SectionCount() || !rect) {
            AMessage.Result = FALSE;
            return;
        }
        *rect = SectionRect(index);
        AMessage.Result = TRUE;
        return;
    }
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(AMessage.LParam);
        if (!info) {
            AMessage.Result = -1;
            return;
        }
        HDHITTESTINFO hit = HitTest(info->pt);
        info->flags = hit.flags;
        info->iItem = hit.iItem;
        AMessage.Result = hit.iItem;
        return;
    }
    case HDM_GETORDERARRAY: {
        auto* order = reinterpret_cast<int*>(AMessage.LParam);
        if (!order || AMessage.WParam != FOrder.size()) {
            AMessage.Result = FALSE;
            return;
        }
        std::copy(FOrder.begin(), FOrder.end(), order);
        AMessage.Result = TRUE;
        return;
    }
    case HDM_SETORDERARRAY: {
        auto* order = reinterpret_cast<const int*>(AMessage.LParam);
        if (order)
            SetOrder(std::vector<int>(order, order + AMessage.WParam));
        AMessage.Result = order && FOrder == std::vector<int>(order, order + AMessage.WParam);
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        MouseMessage(AMessage);
        break;  // the control's own mouse events follow
    case WM_ERASEBKGND: AMessage.Result = 1; return;
    default: break;
    }
    TCustomControl::WndProc(AMessage);
}

void TListHeader::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(ClientRect());
    for (int index : FOrder) {
        TRect rect = SectionRect(index);
        bool pressed = index == FActive && FMode != TMode::Tracking;
        canvas->Pen()->SetColor(pressed ? clBtnShadow : clBtnHighlight);
        canvas->MoveTo(rect.Left, rect.Bottom - 1);
        canvas->LineTo(rect.Left, rect.Top);
        canvas->LineTo(rect.Right - 1, rect.Top);
        canvas->Pen()->SetColor(pressed ? clBtnHighlight : clBtnShadow);
        canvas->MoveTo(rect.Right - 1, rect.Top);
        canvas->LineTo(rect.Right - 1, rect.Bottom - 1);
        canvas->LineTo(rect.Left - 1, rect.Bottom - 1);
        const THeaderSection& section = FSections[index];
        TRect text = Rect(rect.Left + 5, rect.Top + 1, rect.Right - 5, rect.Bottom - 1);
        if (text.Width() <= 0)
            continue;
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetColor(clBtnText);
        DrawAlignedText(canvas, text, section.Text, section.Alignment);
        canvas->Brush()->SetStyle(bsSolid);
    }
}
