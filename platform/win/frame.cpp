#include "platform/win/frame.h"

#include "platform/win/geometry.h"
#include "platform/win/messages.h"
#include "platform/win/region.h"
#include "platform/win/styles.h"

namespace win::wm {

namespace {
bool HasCaption(DWORD AStyle) { return (AStyle & WS_CAPTION) == WS_CAPTION; }
bool IsTool(DWORD AExStyle) { return AExStyle & WS_EX_TOOLWINDOW; }
int ButtonWidth(DWORD AExStyle) { return GetSystemMetrics(IsTool(AExStyle) ? SM_CXSMSIZE : SM_CXSIZE) - 2; }
int ButtonHeight(DWORD AExStyle) { return GetSystemMetrics(IsTool(AExStyle) ? SM_CYSMSIZE : SM_CYSIZE) - 4; }
}  // namespace

int FrameThickness(DWORD AStyle, DWORD AExStyle)
{
    int thickness = 0;
    if (AStyle & WS_THICKFRAME)
        thickness = GetSystemMetrics(SM_CXFRAME);
    else if ((AStyle & WS_DLGFRAME) || (AExStyle & WS_EX_DLGMODALFRAME))
        thickness = GetSystemMetrics(SM_CXDLGFRAME);
    else if (AStyle & WS_BORDER)
        thickness = GetSystemMetrics(SM_CXBORDER);
    if (AExStyle & WS_EX_CLIENTEDGE)
        thickness += GetSystemMetrics(SM_CXEDGE);
    return thickness;
}

int CaptionHeight(DWORD AStyle, DWORD AExStyle)
{
    if (!HasCaption(AStyle))
        return 0;
    return GetSystemMetrics(IsTool(AExStyle) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

TRect DefaultClientRect(DWORD AStyle, DWORD AExStyle, const TRect& AWindow)
{
    if (AStyle & WS_MINIMIZE)
        return {AWindow.Left, AWindow.Top, AWindow.Left, AWindow.Top};
    int frame = FrameThickness(AStyle, AExStyle);
    TRect client{AWindow.Left + frame, AWindow.Top + frame + CaptionHeight(AStyle, AExStyle), AWindow.Right - frame,
                 AWindow.Bottom - frame};
    if (client.Right < client.Left)
        client.Right = client.Left;
    if (client.Bottom < client.Top)
        client.Bottom = client.Top;
    return client;
}

TRect CaptionRect(DWORD AStyle, DWORD AExStyle, int AWidth)
{
    if (!HasCaption(AStyle))
        return {};
    int frame = FrameThickness(AStyle, AExStyle & ~WS_EX_CLIENTEDGE);
    // The last line of the caption height separates the caption from the client area.
    return {frame, frame, AWidth - frame, frame + CaptionHeight(AStyle, AExStyle) - 1};
}

TRect CloseButtonRect(DWORD AStyle, DWORD AExStyle, int AWidth)
{
    if (!HasCaption(AStyle) || !(AStyle & WS_SYSMENU))
        return {};
    TRect caption = CaptionRect(AStyle, AExStyle, AWidth);
    int top = caption.Top + (caption.Height() - ButtonHeight(AExStyle)) / 2;
    return Bounds(caption.Right - 2 - ButtonWidth(AExStyle), top, ButtonWidth(AExStyle), ButtonHeight(AExStyle));
}

TRect MaxButtonRect(DWORD AStyle, DWORD AExStyle, int AWidth)
{
    if (IsTool(AExStyle) || !(AStyle & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)))
        return {};
    TRect close = CloseButtonRect(AStyle, AExStyle, AWidth);
    if (RectIsEmpty(close))
        return {};
    return RectOffset(close, -(close.Width() + 2), 0);
}

TRect MinButtonRect(DWORD AStyle, DWORD AExStyle, int AWidth)
{
    TRect max = MaxButtonRect(AStyle, AExStyle, AWidth);
    if (RectIsEmpty(max))
        return {};
    return RectOffset(max, -max.Width(), 0);
}

LRESULT DefaultHitTest(DWORD AStyle, DWORD AExStyle, int AWidth, int AHeight, const TRect& AClientInWindow,
                       TPoint APoint)
{
    if (!RectContains(Rect(0, 0, AWidth, AHeight), APoint))
        return HTNOWHERE;
    if (AStyle & WS_MINIMIZE)
        return HTCAPTION;
    if (RectContains(AClientInWindow, APoint))
        return HTCLIENT;
    int frame = FrameThickness(AStyle, AExStyle & ~WS_EX_CLIENTEDGE);
    bool in_frame = APoint.X < frame || APoint.Y < frame || APoint.X >= AWidth - frame || APoint.Y >= AHeight - frame;
    if (in_frame) {
        if (!(AStyle & WS_THICKFRAME) || (AStyle & WS_MAXIMIZE))
            return HTBORDER;
        // Corners reach along the edges as far as a caption button is wide, as the platform's frames do.
        int corner = GetSystemMetrics(SM_CXSIZE) + frame;
        bool left = APoint.X < corner, right = APoint.X >= AWidth - corner;
        bool top = APoint.Y < corner, bottom = APoint.Y >= AHeight - corner;
        if (APoint.Y < frame)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (APoint.Y >= AHeight - frame)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (APoint.X < frame)
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    TRect caption = CaptionRect(AStyle, AExStyle, AWidth);
    if (RectContains(caption, APoint)) {
        if (RectContains(CloseButtonRect(AStyle, AExStyle, AWidth), APoint))
            return HTCLOSE;
        if ((AStyle & WS_MAXIMIZEBOX) && RectContains(MaxButtonRect(AStyle, AExStyle, AWidth), APoint))
            return HTMAXBUTTON;
        if ((AStyle & WS_MINIMIZEBOX) && RectContains(MinButtonRect(AStyle, AExStyle, AWidth), APoint))
            return HTMINBUTTON;
        if ((AStyle & WS_SYSMENU) && !(AExStyle & WS_EX_TOOLWINDOW) && APoint.X < caption.Left + caption.Height())
            return HTSYSMENU;
        return HTCAPTION;
    }
    return HTBORDER;
}

}  // namespace win::wm
