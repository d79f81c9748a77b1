#include "platform/win/frame_paint.h"

#include "platform/gdi/gdi.h"
#include "platform/win/frame.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "platform/win/window_state.h"

#include <algorithm>

namespace win::wm {

namespace {

void Fill(HDC ADC, const TRect& ARect, COLORREF AColor)
{
    HBRUSH brush = CreateSolidBrush(AColor);
    FillRect(ADC, &ARect, brush);
    DeleteObject(brush);
}

// One ring of a 3D edge: top and left in one colour, bottom and right in another.
void EdgeRing(HDC ADC, const TRect& ARect, COLORREF ATopLeft, COLORREF ABottomRight)
{
    Fill(ADC, {ARect.Left, ARect.Top, ARect.Right - 1, ARect.Top + 1}, ATopLeft);
    Fill(ADC, {ARect.Left, ARect.Top, ARect.Left + 1, ARect.Bottom - 1}, ATopLeft);
    Fill(ADC, {ARect.Left, ARect.Bottom - 1, ARect.Right, ARect.Bottom}, ABottomRight);
    Fill(ADC, {ARect.Right - 1, ARect.Top, ARect.Right, ARect.Bottom}, ABottomRight);
}

TRect Shrink(const TRect& ARect, int AAmount)
{
    return {ARect.Left + AAmount, ARect.Top + AAmount, ARect.Right - AAmount, ARect.Bottom - AAmount};
}

void RaisedBox(HDC ADC, const TRect& ARect)
{
    Fill(ADC, ARect, GetSysColor(COLOR_BTNFACE));
    EdgeRing(ADC, ARect, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    EdgeRing(ADC, Shrink(ARect, 1), GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

void CaptionGradient(HDC ADC, const TRect& ARect, COLORREF AFrom, COLORREF ATo)
{
    int width = std::max(1, ARect.Width());
    for (int x = ARect.Left; x < ARect.Right; ++x) {
        int t = x - ARect.Left;
        auto mix = [&](int AShift) {
            int from = (AFrom >> AShift) & 0xFF, to = (ATo >> AShift) & 0xFF;
            return static_cast<BYTE>(from + (to - from) * t / width);
        };
        Fill(ADC, {x, ARect.Top, x + 1, ARect.Bottom}, RGB(mix(0), mix(8), mix(16)));
    }
}

// The glyphs are drawn from small rectangles so that they look the same at every size of button.
void Glyph(HDC ADC, const TRect& AButton, LRESULT AKind, bool AMaximized)
{
    COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    int cx = AButton.Left + AButton.Width() / 2, cy = AButton.Top + AButton.Height() / 2;
    switch (AKind) {
    case HTCLOSE: {
        int reach = std::clamp((AButton.Height() - 4) / 2, 1, 3);
        for (int i = -reach; i <= reach; ++i) {
            Fill(ADC, Bounds(cx + i - 1, cy + i - 1, 2, 1), ink);
            Fill(ADC, Bounds(cx + i - 1, cy - i - 1, 2, 1), ink);
        }
        break;
    }
    case HTMINBUTTON: Fill(ADC, Bounds(cx - 4, cy + 2, 6, 2), ink); break;
    case HTMAXBUTTON:
        if (AMaximized) {
            TRect back = Bounds(cx - 2, cy - 4, 6, 5), front = Bounds(cx - 4, cy - 1, 6, 5);
            Fill(ADC, {back.Left, back.Top, back.Right, back.Top + 2}, ink);
            EdgeRing(ADC, back, ink, ink);
            Fill(ADC, front, GetSysColor(COLOR_BTNFACE));
            Fill(ADC, {front.Left, front.Top, front.Right, front.Top + 2}, ink);
            EdgeRing(ADC, front, ink, ink);
        } else {
            TRect box = Bounds(cx - 4, cy - 4, 9, 8);
            Fill(ADC, {box.Left, box.Top, box.Right, box.Top + 2}, ink);
            EdgeRing(ADC, box, ink, ink);
        }
        break;
    default: break;
    }
}

void CaptionText(HDC ADC, TRect ARect, const std::string& AText, bool AActive, bool ATool)
{
    HFONT font = CreateFont(ATool ? -10 : -11, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    HGDIOBJ old = SelectObject(ADC, font);
    SetBkMode(ADC, TRANSPARENT);
    SetTextColor(ADC, GetSysColor(AActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawText(ADC, AText.c_str(), -1, &ARect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | DT_LEFT);
    SelectObject(ADC, old);
    DeleteObject(font);
}

}  // namespace

void PaintDefaultFrameInto(HWND AWindow, HDC ADC)
{
    DWORD style, ex_style;
    TRect window;
    bool active;
    std::string text;
    {
        TLock lock(State().Lock);
        TWindow* record = Find(AWindow);
        if (!record)
            return;
        style = record->Style;
        ex_style = record->ExStyle;
        window = Rect(0, 0, record->Window.Width(), record->Window.Height());
        active = record->NcActive;
        text = record->Text;
    }
    TRect ring = window;
    bool dialog = (style & WS_DLGFRAME) || (ex_style & WS_EX_DLGMODALFRAME);
    if ((style & WS_THICKFRAME) || dialog) {
        EdgeRing(ADC, ring, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
        EdgeRing(ADC, Shrink(ring, 1), GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        int frame = FrameThickness(style, ex_style & ~WS_EX_CLIENTEDGE);
        COLORREF fill = (style & WS_THICKFRAME) ? GetSysColor(active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER)
                                                : GetSysColor(COLOR_BTNFACE);
        for (int i = 2; i < frame; ++i)
            EdgeRing(ADC, Shrink(ring, i), fill, fill);
        ring = Shrink(ring, frame);
    } else if (style & WS_BORDER) {
        COLORREF line = GetSysColor(COLOR_WINDOWFRAME);
        EdgeRing(ADC, ring, line, line);
        ring = Shrink(ring, 1);
    }
    TRect caption = CaptionRect(style, ex_style, window.Width());
    if (!RectIsEmpty(caption)) {
        CaptionGradient(ADC, caption,
                        GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION),
                        GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION));
        Fill(ADC, {caption.Left, caption.Bottom, caption.Right, caption.Bottom + 1}, GetSysColor(COLOR_BTNFACE));
        TRect close = CloseButtonRect(style, ex_style, window.Width());
        TRect max = MaxButtonRect(style, ex_style, window.Width());
        TRect min = MinButtonRect(style, ex_style, window.Width());
        int text_right = caption.Right - 2;
        for (auto [rect, kind] : {std::pair{close, HTCLOSE}, std::pair{max, HTMAXBUTTON}, std::pair{min, HTMINBUTTON}})
            if (!RectIsEmpty(rect)) {
                RaisedBox(ADC, rect);
                Glyph(ADC, rect, kind, style & WS_MAXIMIZE);
                text_right = std::min(text_right, rect.Left - 2);
            }
        CaptionText(ADC, {caption.Left + 4, caption.Top, text_right, caption.Bottom}, text, active,
                    ex_style & WS_EX_TOOLWINDOW);
        ring.Top = caption.Bottom + 1;
    }
    if (ex_style & WS_EX_CLIENTEDGE) {
        EdgeRing(ADC, ring, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        EdgeRing(ADC, Shrink(ring, 1), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    }
}

void PaintDefaultFrame(HWND AWindow)
{
    TRect client_in_window;
    {
        TLock lock(State().Lock);
        TWindow* window = Find(AWindow);
        if (!window)
            return;
        client_in_window = RectOffset(window->Client, -window->Window.Left, -window->Window.Top);
        if (window->Client == window->Window)
            return;  // no frame to paint
    }
    HDC dc = GetWindowDC(AWindow);
    if (!dc)
        return;
    ExcludeClipRect(dc, client_in_window.Left, client_in_window.Top, client_in_window.Right, client_in_window.Bottom);
    PaintDefaultFrameInto(AWindow, dc);
    ReleaseDC(AWindow, dc);
}

}  // namespace win::wm
