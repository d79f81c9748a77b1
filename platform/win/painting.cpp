#include "platform/win/painting.h"

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/regions.h"
#include "platform/win/geometry.h"
#include "platform/win/message_queue.h"
#include "platform/win/window.h"
#include "platform/win/window_state.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace win {

using namespace wm;

namespace {

TRect ClientBounds(const TWindow& AWindow) { return Rect(0, 0, AWindow.Client.Width(), AWindow.Client.Height()); }

// Where the window's corner lies in its top-level surface.
TPoint SurfaceOffset(const TWindow& AWindow)
{
    TRect mine = WindowRectOnScreen(AWindow);
    TRect top = WindowRectOnScreen(Get(TopLevelOf(AWindow.Handle)));
    return {mine.Left - top.Left, mine.Top - top.Top};
}

TRegion ShapeInSurface(const TWindow& AWindow)
{
    TRegion shape = *AWindow.Shape;
    TPoint offset = SurfaceOffset(AWindow);
    shape.Offset(offset.X, offset.Y);
    return shape;
}

TRect WindowInSurface(const TWindow& AWindow)
{
    TPoint offset = SurfaceOffset(AWindow);
    return Bounds(offset.X, offset.Y, AWindow.Window.Width(), AWindow.Window.Height());
}

void SubtractSiblingsAbove(const TWindow& AWindow, TRegion& ARegion)
{
    if (!AWindow.Parent || !(AWindow.Style & WS_CLIPSIBLINGS))
        return;
    for (HWND sibling : Get(AWindow.Parent).Children) {
        if (sibling == AWindow.Handle)
            break;
        TWindow& other = Get(sibling);
        if (other.Style & WS_VISIBLE)
            ARegion.Subtract(other.Shape ? ShapeInSurface(other) : TRegion(WindowInSurface(other)));
    }
}

// What of the window (or of its client area) can be painted, in surface coordinates.
TRegion VisibleInSurface(const TWindow& AWindow, bool AWholeWindow)
{
    TPoint offset = SurfaceOffset(AWindow);
    TRect area = AWholeWindow ? WindowInSurface(AWindow)
                              : RectOffset(ClientBounds(AWindow), offset.X + AWindow.Client.Left - AWindow.Window.Left,
                                           offset.Y + AWindow.Client.Top - AWindow.Window.Top);
    TRegion region(area);
    if (AWindow.Shape)
        region.Intersect(ShapeInSurface(AWindow));
    SubtractSiblingsAbove(AWindow, region);
    for (TWindow* ancestor = Find(AWindow.Parent); ancestor; ancestor = Find(ancestor->Parent)) {
        TPoint at = SurfaceOffset(*ancestor);
        region.Intersect(RectOffset(ClientBounds(*ancestor), at.X + ancestor->Client.Left - ancestor->Window.Left,
                                    at.Y + ancestor->Client.Top - ancestor->Window.Top));
        if (ancestor->Shape)
            region.Intersect(ShapeInSurface(*ancestor));
        SubtractSiblingsAbove(*ancestor, region);
    }
    if (AWindow.Style & WS_CLIPCHILDREN)
        for (HWND handle : AWindow.Children) {
            TWindow& child = Get(handle);
            if (child.Style & WS_VISIBLE)
                region.Subtract(child.Shape ? ShapeInSurface(child) : TRegion(WindowInSurface(child)));
        }
    return region;
}

SurfaceDesc DescOf(TWindow& ATopLevel)
{
    SurfaceDesc desc;
    desc.Bits = ATopLevel.Pixels.empty() ? nullptr : ATopLevel.Pixels.data();
    desc.Width = ATopLevel.SurfaceWidth;
    desc.Height = ATopLevel.SurfaceHeight;
    desc.Stride = ATopLevel.SurfaceWidth * 4;
    return desc;
}

// The surface, origin and visible region (device coordinates) a DC of this binding needs now.
void BindingTarget(const TDcBinding& ABinding, SurfaceDesc& ADesc, TPoint& AOrigin, TRegion& AVisible)
{
    TWindow& window = Get(ABinding.Window);
    TWindow& top = Get(TopLevelOf(ABinding.Window));
    ADesc = DescOf(top);
    TPoint offset = SurfaceOffset(window);
    AOrigin = ABinding.WholeWindow ? offset
                                   : TPoint{offset.X + window.Client.Left - window.Window.Left,
                                            offset.Y + window.Client.Top - window.Window.Top};
    AVisible = VisibleInSurface(window, ABinding.WholeWindow);
    if (ABinding.Painting) {
        TRegion area = ABinding.PaintArea;
        area.Offset(AOrigin.X, AOrigin.Y);
        AVisible.Intersect(area);
    }
    AVisible.Offset(-AOrigin.X, -AOrigin.Y);
}

HDC MakeDc(HWND AWindow, bool AWholeWindow, bool APainting, const TRegion& APaintArea)
{
    TDcBinding binding{AWindow, AWholeWindow, APainting, APaintArea};
    SurfaceDesc desc;
    TPoint origin;
    TRegion visible;
    BindingTarget(binding, desc, origin, visible);
    HRGN region = HandleFromRegion(visible);
    HDC dc = CreateSurfaceDC(desc, origin, region);
    DeleteObject(region);
    if (dc)
        State().Dcs[dc] = binding;
    return dc;
}

void PresentWindowArea(HWND AWindow, bool AWholeWindow)
{
    HWND top;
    TRect dirty;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return;
        top = TopLevelOf(AWindow);
        dirty = VisibleInSurface(*window, AWholeWindow).Extents();
    }
    if (TBackend* backend = CurrentBackend())
        if (!RectIsEmpty(dirty))
            backend->Present(top, dirty);
}

bool NeedsPaint(const TWindow& AWindow) { return !AWindow.Update.IsEmpty() || AWindow.NcPaint; }

HWND FindPaintIn(HWND AHandle, DWORD AThread, bool AInFilter, HWND AFilter)
{
    TWindow& window = Get(AHandle);
    if (!(window.Style & WS_VISIBLE))
        return nullptr;
    bool in_filter = AInFilter || AHandle == AFilter;
    if (window.Thread == AThread && in_filter && NeedsPaint(window))
        return AHandle;
    for (HWND child : window.Children)
        if (HWND found = FindPaintIn(child, AThread, in_filter, AFilter))
            return found;
    return nullptr;
}

void UpdateTree(HWND AWindow, bool AChildren)
{
    bool needs;
    std::vector<HWND> children;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window || !IsVisibleWithAncestors(*window))
            return;
        needs = NeedsPaint(*window);
        children = window->Children;
    }
    if (needs)
        SendMessage(AWindow, WM_PAINT, 0, 0);
    if (AChildren)
        for (HWND child : children)
            UpdateTree(child, true);
}

void Validate(TWindow& AWindow, const TRegion* AArea)
{
    if (!AArea) {
        AWindow.Update.Clear();
        AWindow.Erase = false;
        return;
    }
    AWindow.Update.Subtract(*AArea);
    if (AWindow.Update.IsEmpty())
        AWindow.Erase = false;
}

}  // namespace

namespace wm {

TRegion RegionFromHandle(HRGN ARegion)
{
    TRegion result;
    DWORD size = GetRegionData(ARegion, 0, nullptr);
    if (!size)
        return result;
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (!GetRegionData(ARegion, size, data))
        return result;
    const char* rects = data->Buffer;
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        TRect rect;
        std::memcpy(&rect, rects + i * sizeof(TRect), sizeof(TRect));
        result.Union(rect);
    }
    return result;
}

HRGN HandleFromRegion(const TRegion& ARegion)
{
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (const TRect& rect : ARegion.Rects()) {
        HRGN part = CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
        CombineRgn(result, result, part, RGN_OR);
        DeleteObject(part);
    }
    return result;
}

void InvalidateInternal(TWindow& AWindow, const TRegion& AClientArea, bool AErase, bool AChildren)
{
    if (!IsVisibleWithAncestors(AWindow))
        return;
    TRegion area = AClientArea;
    area.Intersect(ClientBounds(AWindow));
    if (area.IsEmpty())
        return;
    AWindow.Update.Union(area);
    if (AErase)
        AWindow.Erase = true;
    WakeThread(AWindow.Thread);
    if (!AChildren && (AWindow.Style & WS_CLIPCHILDREN))
        return;
    for (HWND handle : AWindow.Children) {
        TWindow& child = Get(handle);
        if (!(child.Style & WS_VISIBLE))
            continue;
        TRegion in_child = area;
        in_child.Intersect(child.Window);
        if (in_child.IsEmpty())
            continue;
        TRegion frame = in_child;
        frame.Subtract(child.Client);
        if (!frame.IsEmpty())
            child.NcPaint = true;
        in_child.Offset(-child.Client.Left, -child.Client.Top);
        InvalidateInternal(child, in_child, AErase, AChildren);
    }
}

void InvalidateWholeWindow(TWindow& AWindow)
{
    if (!IsVisibleWithAncestors(AWindow))
        return;
    AWindow.NcPaint = true;
    WakeThread(AWindow.Thread);
    InvalidateInternal(AWindow, TRegion(ClientBounds(AWindow)), true, true);
}

HWND FindWindowToPaint(DWORD AThread, HWND AFilter)
{
    if (AFilter == reinterpret_cast<HWND>(-1))
        return nullptr;
    for (HWND top : State().TopLevels)
        if (HWND found = FindPaintIn(top, AThread, AFilter == nullptr, AFilter))
            return found;
    return nullptr;
}

TRegion ClientInSurface(const TWindow& AWindow, TPoint& AClientOrigin)
{
    TPoint offset = SurfaceOffset(AWindow);
    AClientOrigin = {offset.X + AWindow.Client.Left - AWindow.Window.Left,
                     offset.Y + AWindow.Client.Top - AWindow.Window.Top};
    return VisibleInSurface(AWindow, false);
}

void RebindDcs(HWND ATopLevel)
{
    for (auto& [dc, binding] : State().Dcs) {
        if (!Find(binding.Window) || TopLevelOf(binding.Window) != ATopLevel)
            continue;
        SurfaceDesc desc;
        TPoint origin;
        TRegion visible;
        BindingTarget(binding, desc, origin, visible);
        HRGN region = HandleFromRegion(visible);
        RebindSurfaceDC(dc, desc, origin, region);
        DeleteObject(region);
    }
}

}  // namespace wm

BOOL InvalidateRect(HWND AWindow, const TRect* ARect, BOOL AErase)
{
    return RedrawWindow(AWindow, ARect, nullptr, RDW_INVALIDATE | (AErase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND AWindow, HRGN ARegion, BOOL AErase)
{
    return RedrawWindow(AWindow, nullptr, ARegion, RDW_INVALIDATE | (AErase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND AWindow, const TRect* ARect)
{
    return RedrawWindow(AWindow, ARect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND AWindow, HRGN ARegion)
{
    return RedrawWindow(AWindow, nullptr, ARegion, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL RedrawWindow(HWND AWindow, const TRect* ARect, HRGN ARegion, UINT AFlags)
{
    if (!AWindow) {
        std::vector<HWND> tops;
        {
            TLock lock(State().Lock);
            tops = State().TopLevels;
        }
        for (HWND top : tops)
            RedrawWindow(top, nullptr, nullptr, AFlags | RDW_FRAME | RDW_ALLCHILDREN);
        return TRUE;
    }
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return FALSE;
        std::optional<TRegion> area;
        if (ARegion)
            area = RegionFromHandle(ARegion);
        else if (ARect)
            area = TRegion(*ARect);
        if (AFlags & RDW_INVALIDATE) {
            bool children = AFlags & RDW_ALLCHILDREN;
            if (AFlags & RDW_NOCHILDREN) {
                // The window alone: act as if it clipped its children.
                DWORD style = window->Style;
                window->Style |= WS_CLIPCHILDREN;
                InvalidateInternal(*window, area ? *area : TRegion(ClientBounds(*window)), AFlags & RDW_ERASE, false);
                window->Style = style;
            } else {
                InvalidateInternal(*window, area ? *area : TRegion(ClientBounds(*window)), AFlags & RDW_ERASE,
                                   children);
            }
            if ((AFlags & RDW_FRAME) && IsVisibleWithAncestors(*window)) {
                window->NcPaint = true;
                WakeThread(window->Thread);
            }
        }
        if (AFlags & RDW_VALIDATE) {
            Validate(*window, area ? &*area : nullptr);
            if (AFlags & RDW_NOFRAME)
                window->NcPaint = false;
        }
        if (AFlags & RDW_NOERASE)
            window->Erase = false;
    }
    if (AFlags & (RDW_UPDATENOW | RDW_ERASENOW))
        UpdateTree(AWindow, !(AFlags & RDW_NOCHILDREN));
    return TRUE;
}

BOOL UpdateWindow(HWND AWindow)
{
    if (!IsWindow(AWindow))
        return FALSE;
    UpdateTree(AWindow, false);
    return TRUE;
}

BOOL GetUpdateRect(HWND AWindow, TRect* ARect, BOOL)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return FALSE;
    if (ARect)
        *ARect = window->Update.Extents();
    return !window->Update.IsEmpty();
}

int GetUpdateRgn(HWND AWindow, HRGN ARegion, BOOL)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window)
        return ERROR;
    HRGN copy = HandleFromRegion(window->Update);
    int kind = CombineRgn(ARegion, copy, nullptr, RGN_COPY);
    DeleteObject(copy);
    return kind;
}

HDC BeginPaint(HWND AWindow, PAINTSTRUCT& APaint)
{
    APaint = PAINTSTRUCT{};
    bool frame;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return nullptr;
        // The caret is inverted pixels: painting under it would leave it the wrong way round.
        APaint.CaretHidden = HideCaretForPaint(AWindow);
        frame = window->NcPaint;
        window->NcPaint = false;
    }
    if (frame)
        SendMessage(AWindow, WM_NCPAINT, 1, 0);
    bool erase;
    HDC dc;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return nullptr;
        TRegion area = window->Update;
        area.Intersect(ClientBounds(*window));
        erase = window->Erase;
        window->Update.Clear();
        window->Erase = false;
        dc = MakeDc(AWindow, false, true, area);
        APaint.rcPaint = area.Extents();
    }
    APaint.hdc = dc;
    APaint.fErase = erase ? !SendMessage(AWindow, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) : FALSE;
    return dc;
}

BOOL EndPaint(HWND AWindow, const PAINTSTRUCT& APaint)
{
    ReleaseDC(AWindow, APaint.hdc);
    if (APaint.CaretHidden) {
        TLock lock(State().Lock);
        ShowCaretAfterPaint(AWindow);
    }
    return TRUE;
}

HDC GetDC(HWND AWindow)
{
    if (!AWindow)
        return CreateScreenDC();
    TLock lock(State().Lock);
    if (!Find(AWindow))
        return nullptr;
    return MakeDc(AWindow, false, false, {});
}

HDC GetWindowDC(HWND AWindow)
{
    if (!AWindow)
        return CreateScreenDC();
    TLock lock(State().Lock);
    if (!Find(AWindow))
        return nullptr;
    return MakeDc(AWindow, true, false, {});
}

BOOL PrintClientArea(HWND AWindow, HDC ADest)
{
    if (!AWindow || !ADest) return FALSE;
    TRect client;
    if (!GetClientRect(AWindow, client)) return FALSE;
    // The client DC reads the top-level surface, which holds what the children painted too.
    HDC source = GetDC(AWindow);
    if (!source) return FALSE;
    const BOOL copied = BitBlt(ADest, 0, 0, client.Width(), client.Height(), source, 0, 0, SRCCOPY);
    ReleaseDC(AWindow, source);
    return copied;
}

int ReleaseDC(HWND AWindow, HDC ADC)
{
    if (!ADC)
        return 0;
    bool whole = false;
    HWND owner = nullptr;
    {
        TLock lock(State().Lock);
        auto it = State().Dcs.find(ADC);
        if (it != State().Dcs.end()) {
            owner = it->second.Window;
            whole = it->second.WholeWindow;
            State().Dcs.erase(it);
        } else if (AWindow) {
            return 0;  // not a DC of a window
        }
    }
    DeleteDC(ADC);
    if (owner)
        PresentWindowArea(owner, whole);
    return 1;
}

HWND WindowFromDC(HDC ADC)
{
    TLock lock(State().Lock);
    auto it = State().Dcs.find(ADC);
    return it == State().Dcs.end() ? nullptr : it->second.Window;
}

namespace {

// Copies the pixels that land in ADest (surface coordinates) from ADx, ADy back. The sources are read from a copy
// of their bounding box only, as the moved band overlaps itself.
void MoveSurfacePixels(TWindow& ASurface, const TRegion& ADest, int ADx, int ADy)
{
    if (ADest.IsEmpty())
        return;
    const TRect from = RectOffset(ADest.Extents(), -ADx, -ADy);
    const int width = ASurface.SurfaceWidth;
    const auto row_bytes = static_cast<size_t>(from.Width()) * 4;
    std::vector<uint32_t> copy(static_cast<size_t>(from.Width()) * from.Height());
    for (int y = from.Top; y < from.Bottom; ++y)
        std::memcpy(&copy[static_cast<size_t>(y - from.Top) * from.Width()],
                    &ASurface.Pixels[static_cast<size_t>(y) * width + from.Left], row_bytes);
    for (const TRect& rect : ADest.Rects())
        for (int y = rect.Top; y < rect.Bottom; ++y)
            std::memcpy(&ASurface.Pixels[static_cast<size_t>(y) * width + rect.Left],
                        &copy[static_cast<size_t>(y - ADy - from.Top) * from.Width() + (rect.Left - ADx - from.Left)],
                        static_cast<size_t>(rect.Width()) * 4);
}

}  // namespace

int ScrollWindowEx(HWND AWindow, int ADx, int ADy, const TRect* AScroll, const TRect* AClip, HRGN AUpdate,
                   TRect* AUpdateRect, UINT AFlags)
{
    TRegion uncovered;
    std::vector<HWND> moved_children;
    TRect presented{};
    HWND top;
    bool caret_hidden;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return ERROR;
        caret_hidden = HideCaretForPaint(AWindow);  // it would move with the pixels
        top = TopLevelOf(AWindow);
        TRect bounds = ClientBounds(*window);
        TRect area = AScroll ? RectIntersection(*AScroll, bounds) : bounds;
        if (AClip)
            area = RectIntersection(area, *AClip);
        TRegion visible = VisibleInSurface(*window, false);
        TPoint offset = SurfaceOffset(*window);
        TPoint client_at{offset.X + window->Client.Left - window->Window.Left,
                         offset.Y + window->Client.Top - window->Window.Top};
        // Only pixels that were on screen can move; what comes from hidden parts is painted afresh.
        TRegion source(RectOffset(area, client_at.X, client_at.Y));
        source.Intersect(visible);
        TRegion dest = source;
        dest.Offset(ADx, ADy);
        dest.Intersect(RectOffset(area, client_at.X, client_at.Y));
        // Pixels land only where the window shows: never on a child or a sibling above it.
        dest.Intersect(visible);
        MoveSurfacePixels(Get(top), dest, ADx, ADy);
        presented = dest.Extents();
        dest.Offset(-client_at.X, -client_at.Y);
        uncovered = TRegion(area);
        uncovered.Subtract(dest);
        // What was waiting to be painted moves with the pixels.
        TRegion pending = window->Update;
        pending.Intersect(area);
        if (!pending.IsEmpty()) {
            window->Update.Subtract(area);
            pending.Offset(ADx, ADy);
            pending.Intersect(area);
            window->Update.Union(pending);
        }
        // Only SW_SCROLLCHILDREN moves the children; ScrollWindow asks for it when it scrolls the whole area.
        if (AFlags & SW_SCROLLCHILDREN)
            for (HWND child : window->Children)
                if (AScroll == nullptr || RectIntersection(Get(child).Window, area) != TRect{})
                    moved_children.push_back(child);
        if (AFlags & SW_INVALIDATE)
            InvalidateInternal(*window, uncovered, AFlags & SW_ERASE, false);
        if (caret_hidden)
            ShowCaretAfterPaint(AWindow);
    }
    for (HWND child : moved_children) {
        TRect rect;
        {
            TLock lock(State().Lock);
            rect = Get(child).Window;
        }
        SetWindowPos(child, nullptr, rect.Left + ADx, rect.Top + ADy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    if (AUpdate) {
        HRGN copy = HandleFromRegion(uncovered);
        CombineRgn(AUpdate, copy, nullptr, RGN_COPY);
        DeleteObject(copy);
    }
    if (AUpdateRect)
        *AUpdateRect = uncovered.Extents();
    // Only the moved band changed on the surface; what was uncovered reaches the screen when it is painted.
    if (TBackend* backend = CurrentBackend())
        if (!RectIsEmpty(presented))
            backend->Present(top, presented);
    if (uncovered.IsEmpty())
        return NULLREGION;
    return uncovered.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND AWindow, int ADx, int ADy, const TRect* AScroll, const TRect* AClip)
{
    UINT flags = SW_INVALIDATE | SW_ERASE | (AScroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(AWindow, ADx, ADy, AScroll, AClip, nullptr, nullptr, flags) != ERROR;
}

int SetWindowRgn(HWND AWindow, HRGN ARegion, BOOL ARedraw)
{
    bool top_level;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return 0;
        if (ARegion)
            window->Shape = RegionFromHandle(ARegion);
        else
            window->Shape.reset();
        top_level = IsTopLevel(*window);
        if (ARedraw) {
            if (!top_level)
                if (TWindow* parent = Find(window->Parent))
                    InvalidateInternal(*parent, TRegion(RectOffset(window->Window, -parent->Client.Left,
                                                                   -parent->Client.Top)),
                                       true, true);
            InvalidateWholeWindow(*window);
        }
        RebindDcs(TopLevelOf(AWindow));
    }
    if (ARegion)
        DeleteObject(ARegion);
    if (top_level)
        NotifyTopLevelChanged(AWindow);
    return 1;
}

int GetWindowRgn(HWND AWindow, HRGN ARegion)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window || !window->Shape)
        return ERROR;
    HRGN copy = HandleFromRegion(*window->Shape);
    int kind = CombineRgn(ARegion, copy, nullptr, RGN_COPY);
    DeleteObject(copy);
    return kind;
}

}  // namespace win
