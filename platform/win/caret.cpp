#include "platform/win/caret.h"

#include "platform/gdi/bitmaps.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/objects.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/threads.h"
#include "platform/win/geometry.h"
#include "platform/win/input.h"
#include "platform/win/window_state.h"

#include <algorithm>

namespace win {

using namespace wm;

namespace {

constexpr uint32_t kGreyXor = 0x808080;

TCaret* CaretOfThread()
{
    TCaret& caret = CurrentQueue().Caret;
    return caret.Window ? &caret : nullptr;
}

// Flips the caret's pixels on its window's surface and tells the backend; false when nothing of it shows.
bool Invert(TCaret& ACaret)
{
    TWindow* window = Find(ACaret.Window);
    if (!window || !IsVisibleWithAncestors(*window))
        return false;
    TWindow& top = Get(TopLevelOf(ACaret.Window));
    if (top.Pixels.empty())
        return false;
    TPoint origin;
    TRegion visible = ClientInSurface(*window, origin);
    TRect area = Bounds(origin.X + ACaret.Pos.X, origin.Y + ACaret.Pos.Y, ACaret.Width, ACaret.Height);
    visible.Intersect(area);
    visible.Intersect(Rect(0, 0, top.SurfaceWidth, top.SurfaceHeight));
    for (const TRect& rect : visible.Rects())
        for (int y = rect.Top; y < rect.Bottom; ++y)
            for (int x = rect.Left; x < rect.Right; ++x) {
                uint32_t bits = ACaret.Xor;
                if (!ACaret.Mask.empty())
                    bits = ACaret.Mask[static_cast<size_t>(y - area.Top) * ACaret.Width + (x - area.Left)];
                top.Pixels[static_cast<size_t>(y) * top.SurfaceWidth + x] ^= bits;
            }
    if (visible.IsEmpty())
        return false;
    if (TBackend* backend = CurrentBackend())
        backend->Present(top.Handle, visible.Extents());
    return true;
}

// Brings the pixels in line with what the caret should show now.
void Settle(TCaret& ACaret)
{
    bool want = ACaret.HideCount == 0 && ACaret.On;
    if (want && !ACaret.Drawn)
        ACaret.Drawn = Invert(ACaret);
    else if (!want && ACaret.Drawn) {
        Invert(ACaret);
        ACaret.Drawn = false;
    }
}

// The caret shows at once and blinks from now on, as after typing or moving it.
void RestartBlink(TCaret& ACaret)
{
    ACaret.On = true;
    UINT blink = State().CaretBlinkMs;
    ACaret.NextBlinkMicros = blink == INFINITE ? INT64_MAX : CurrentClock().NowMicros() + int64_t(blink) * 1000;
}

// The input method wants to know where typing happens in the focused window.
void ReportSpot(const TCaret& ACaret)
{
    if (ACaret.Window && State().Focus == ACaret.Window)
        if (TBackend* backend = CurrentBackend())
            backend->SetCaretSpot(ACaret.Window, ACaret.Pos.X, ACaret.Pos.Y);
}

std::vector<uint32_t> MaskOf(HBITMAP ABitmap, int& AWidth, int& AHeight)
{
    BITMAP info;
    if (!GetObject(ABitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0)
        return {};
    AWidth = info.bmWidth;
    AHeight = std::abs(info.bmHeight);
    BITMAPINFO header{};
    header.bmiHeader.biWidth = AWidth;
    header.bmiHeader.biHeight = -AHeight;
    header.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(static_cast<size_t>(AWidth) * AHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    int lines = GetDIBits(dc, ABitmap, 0, static_cast<UINT>(AHeight), pixels.data(), &header, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (lines <= 0)
        return {};
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

}  // namespace

namespace wm {

int64_t BlinkCaret(TThreadQueue& AQueue)
{
    TCaret& caret = AQueue.Caret;
    if (!caret.Window || caret.HideCount > 0 || caret.NextBlinkMicros == INT64_MAX)
        return INT64_MAX;
    // A caret nobody can see does not keep its thread awake; its phase catches up when its window shows.
    const TWindow* window = Find(caret.Window);
    if (!window || !IsVisibleWithAncestors(*window))
        return INT64_MAX;
    int64_t now = CurrentClock().NowMicros();
    if (caret.NextBlinkMicros <= now) {
        int64_t period = int64_t(State().CaretBlinkMs) * 1000;
        int64_t phases = (now - caret.NextBlinkMicros) / period + 1;
        if (phases % 2)
            caret.On = !caret.On;
        caret.NextBlinkMicros += phases * period;
        Settle(caret);
    }
    return caret.NextBlinkMicros;
}

bool HideCaretForPaint(HWND AWindow)
{
    TCaret& caret = CurrentQueue().Caret;
    if (caret.Window != AWindow)
        return false;
    ++caret.HideCount;
    Settle(caret);
    return true;
}

void ShowCaretAfterPaint(HWND AWindow)
{
    TCaret& caret = CurrentQueue().Caret;
    if (caret.Window != AWindow || caret.HideCount == 0)
        return;
    --caret.HideCount;
    Settle(caret);
}

void ForgetCaretOf(HWND AWindow)
{
    for (auto& [thread, queue] : State().Queues)
        if (queue->Caret.Window == AWindow)
            queue->Caret = TCaret{};
}

}  // namespace wm

BOOL CreateCaret(HWND AWindow, HBITMAP ABitmap, int AWidth, int AHeight)
{
    TLock lock(State().Lock);
    TWindow* window = Find(AWindow);
    if (!window || window->Thread != CurrentThread())
        return FALSE;
    DestroyCaret();
    TCaret caret;
    caret.Window = AWindow;
    if (ABitmap == reinterpret_cast<HBITMAP>(1)) {
        caret.Xor = kGreyXor;
    } else if (ABitmap) {
        caret.Mask = MaskOf(ABitmap, AWidth, AHeight);
        if (caret.Mask.empty())
            return FALSE;
    }
    caret.Width = AWidth > 0 ? AWidth : GetSystemMetrics(SM_CXBORDER);
    caret.Height = AHeight > 0 ? AHeight : GetSystemMetrics(SM_CYBORDER);
    CurrentQueue().Caret = std::move(caret);
    ReportSpot(CurrentQueue().Caret);
    return TRUE;
}

BOOL DestroyCaret()
{
    TLock lock(State().Lock);
    TCaret* caret = CaretOfThread();
    if (!caret)
        return FALSE;
    caret->HideCount = 1;
    Settle(*caret);
    *caret = TCaret{};
    return TRUE;
}

BOOL ShowCaret(HWND AWindow)
{
    TLock lock(State().Lock);
    TCaret* caret = CaretOfThread();
    if (!caret || (AWindow && caret->Window != AWindow))
        return FALSE;
    if (caret->HideCount > 0 && --caret->HideCount == 0) {
        RestartBlink(*caret);
        Settle(*caret);
        ReportSpot(*caret);
    }
    return TRUE;
}

BOOL HideCaret(HWND AWindow)
{
    TLock lock(State().Lock);
    TCaret* caret = CaretOfThread();
    if (!caret || (AWindow && caret->Window != AWindow))
        return FALSE;
    ++caret->HideCount;
    Settle(*caret);
    return TRUE;
}

BOOL SetCaretPos(int AX, int AY)
{
    TLock lock(State().Lock);
    TCaret* caret = CaretOfThread();
    if (!caret)
        return FALSE;
    if (caret->Pos == TPoint{AX, AY})
        return TRUE;
    ++caret->HideCount;
    Settle(*caret);
    caret->Pos = {AX, AY};
    --caret->HideCount;
    if (caret->HideCount == 0)
        RestartBlink(*caret);
    Settle(*caret);
    ReportSpot(*caret);
    return TRUE;
}

BOOL GetCaretPos(TPoint& APoint)
{
    TLock lock(State().Lock);
    TCaret* caret = CaretOfThread();
    APoint = caret ? caret->Pos : TPoint{0, 0};
    return caret != nullptr;
}

UINT GetCaretBlinkTime()
{
    TLock lock(State().Lock);
    return State().CaretBlinkMs;
}

BOOL SetCaretBlinkTime(UINT AMilliseconds)
{
    if (AMilliseconds == 0)
        return FALSE;
    TLock lock(State().Lock);
    State().CaretBlinkMs = AMilliseconds;
    // This thread's caret takes up the new rhythm at once, starting on; others at their next phase.
    if (TCaret* caret = CaretOfThread(); caret && caret->HideCount == 0) {
        RestartBlink(*caret);
        Settle(*caret);
    }
    return TRUE;
}

}  // namespace win
