// The plain rendering of menus: item measuring and drawing, and the popup levels with their tracking loop.
#include "platform/gdi/gdi.h"
#include "platform/gui/controls.h"
#include "platform/gui/menus.h"

#include <algorithm>

using namespace win;

namespace {

constexpr int kItemHeight = 20;
constexpr int kLineHeight = 8;
constexpr int kGutter = 22;
constexpr int kBarPadding = 7;
constexpr int kShortCutGap = 24;
const char* const kLevelClass = "TQuennaryMenuLevel";

bool ShownInPopup(TMenuItem* AItem)
{
    return AItem->Visible() && !(AItem->IsLine() && AItem->LineHidden());
}

}  // namespace

TSize MeasurePlainMenuItem(TCanvas* ACanvas, TMenuItem* AItem, bool AInBar)
{
    TRect r{0, 0, 0, 0};
    std::string caption = AItem->Caption();
    if (AInBar) {
        DrawText(ACanvas->Handle(), caption, &r, DT_SINGLELINE | DT_CALCRECT);
        return {r.Width() + 2 * kBarPadding, kItemHeight};
    }
    if (AItem->IsLine())
        return {kGutter, kLineHeight};
    DrawText(ACanvas->Handle(), caption, &r, DT_SINGLELINE | DT_CALCRECT);
    int width = kGutter + r.Width() + kGutter;
    if (AItem->ShortCut())
        width += kShortCutGap + ACanvas->TextWidth(ShortCutToText(AItem->ShortCut()));
    return {width, kItemHeight};
}

void DrawPlainMenuItem(TCanvas* ACanvas, TMenuItem* AItem, const TRect& ARect, bool ASelected, bool AInBar,
                       TCustomImageList* AImages)
{
    if (AItem->OnDrawItem) {
        AItem->OnDrawItem(AItem, ACanvas, ARect, ASelected);
        return;
    }
    ACanvas->Brush()->SetColor(ASelected && AItem->Enabled() ? clHighlight : clBtnFace);
    ACanvas->FillRect(ARect);
    if (AItem->IsLine()) {
        int y = (ARect.Top + ARect.Bottom) / 2;
        ACanvas->Pen()->SetColor(clBtnShadow);
        ACanvas->MoveTo(ARect.Left + 2, y - 1);
        ACanvas->LineTo(ARect.Right - 2, y - 1);
        ACanvas->Pen()->SetColor(clBtnHighlight);
        ACanvas->MoveTo(ARect.Left + 2, y);
        ACanvas->LineTo(ARect.Right - 2, y);
        return;
    }
    TColor textColor = !AItem->Enabled() ? clGrayText : ASelected ? clHighlightText : clMenuText;
    TFontStyles style = ACanvas->Font()->Style();
    if (AItem->Default())
        ACanvas->Font()->SetStyle(style + TFontStyles{fsBold});
    HDC dc = ACanvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorRefOf(textColor));
    TRect text = ARect;
    if (AInBar) {
        DrawText(dc, AItem->Caption(), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ACanvas->Font()->SetStyle(style);
        return;
    }
    TRect gutter = Rect(ARect.Left, ARect.Top, ARect.Left + kGutter, ARect.Bottom);
    if (AImages && AItem->ImageIndex() >= 0 && AItem->ImageIndex() < AImages->Count()) {
        AImages->Draw(ACanvas, gutter.Left + (kGutter - AImages->Width()) / 2,
                      gutter.Top + (gutter.Height() - AImages->Height()) / 2, AItem->ImageIndex(), AItem->Enabled());
    } else if (AItem->HasBitmap() && !AItem->Bitmap()->Empty()) {
        TBitmap* bitmap = AItem->Bitmap();
        ACanvas->Draw(gutter.Left + (kGutter - bitmap->Width()) / 2,
                      gutter.Top + (gutter.Height() - bitmap->Height()) / 2, bitmap);
    } else if (AItem->Checked()) {
        int cx = gutter.Left + kGutter / 2, cy = (gutter.Top + gutter.Bottom) / 2;
        ACanvas->Pen()->SetColor(textColor);
        ACanvas->Brush()->SetColor(textColor);
        if (AItem->RadioItem()) {
            ACanvas->Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
        } else {
            for (int d = 0; d < 2; ++d) {
                ACanvas->MoveTo(cx - 4, cy - 1 + d);
                ACanvas->LineTo(cx - 1, cy + 2 + d);
                ACanvas->LineTo(cx + 5, cy - 4 + d);
            }
        }
    }
    text.Left += kGutter;
    text.Right -= kGutter / 2;
    DrawText(dc, AItem->Caption(), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (AItem->ShortCut())
        DrawText(dc, ShortCutToText(AItem->ShortCut()), &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ACanvas->Font()->SetStyle(style);
}

namespace {

class TPlainTracker {
public:
    TPlainTracker(TCustomImageList* AImages) : FImages(AImages) {}
    ~TPlainTracker() { CloseFrom(0); }

    TMenuItem* Run(TMenuItem* AItem, TPoint AScreen);

    static LRESULT LevelProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam);

private:
    struct TLevel {
        TMenuItem* Item = nullptr;
        HWND Window = nullptr;
        TRect Bounds;  // screen
        std::vector<std::pair<TMenuItem*, TRect>> Rows;  // client coordinates
        int Selected = -1;
    };

    void Open(TMenuItem* AItem, TPoint AScreen);
    void CloseFrom(size_t ALevel);
    void Paint(HWND AWindow);
    int LevelAt(TPoint AScreen) const;
    int RowAt(const TLevel& ALevel, TPoint AScreen) const;
    void Select(size_t ALevel, int ARow, bool AOpenSubmenu);
    void Choose(TMenuItem* AItem);
    void MoveSelection(int AStep);

    TCustomImageList* FImages;
    std::vector<TLevel> FLevels;
    TMenuItem* FChosen = nullptr;
    bool FDone = false;
};

LRESULT TPlainTracker::LevelProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
    auto* tracker = reinterpret_cast<TPlainTracker*>(GetWindowLong(AWindow, GWL_USERDATA));
    switch (AMsg) {
    case WM_PAINT:
        if (tracker) {
            tracker->Paint(AWindow);
            return 0;
        }
        break;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    default: break;
    }
    return DefWindowProc(AWindow, AMsg, AWParam, ALParam);
}

void TPlainTracker::Open(TMenuItem* AItem, TPoint AScreen)
{
    WNDCLASS existing;
    if (!GetClassInfo(kLevelClass, existing)) {
        WNDCLASS cls;
        cls.style = CS_SAVEBITS | CS_DROPSHADOW;
        cls.lpfnWndProc = &LevelProc;
        cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
        cls.lpszClassName = kLevelClass;
        RegisterClass(cls);
    }
    AItem->RethinkLines();
    TLevel level;
    level.Item = AItem;
    HDC dc = GetDC(nullptr);
    int width = 0, y = 2;
    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        for (Integer i = 0; i < AItem->Count(); ++i) {
            TMenuItem* child = AItem->Items(i);
            if (!ShownInPopup(child))
                continue;
            TSize size = MeasurePlainMenuItem(&canvas, child, false);
            level.Rows.push_back({child, Rect(2, y, 0, y + size.cy)});
            width = std::max(width, size.cx);
            y += size.cy;
        }
        canvas.SetHandle(nullptr);
    }
    ReleaseDC(nullptr, dc);
    for (auto& row : level.Rows)
        row.second.Right = 2 + width;
    level.Bounds = Bounds(AScreen.X, AScreen.Y, width + 4, y + 2);
    level.Window = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kLevelClass, "",
                                  WS_POPUP | WS_BORDER, level.Bounds.Left, level.Bounds.Top, level.Bounds.Width(),
                                  level.Bounds.Height(), nullptr);
    SetWindowLong(level.Window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    FLevels.push_back(level);
    ShowWindow(level.Window, SW_SHOWNOACTIVATE);
    UpdateWindow(level.Window);
}

void TPlainTracker::CloseFrom(size_t ALevel)
{
    while (FLevels.size() > ALevel) {
        HWND window = FLevels.back().Window;
        FLevels.pop_back();
        if (IsWindow(window))
            DestroyWindow(window);
    }
    if (!FLevels.empty() && GetCapture() != FLevels.front().Window)
        SetCapture(FLevels.front().Window);
}

void TPlainTracker::Paint(HWND AWindow)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(AWindow, paint);
    for (const TLevel& level : FLevels) {
        if (level.Window != AWindow)
            continue;
        TCanvas canvas;
        canvas.SetHandle(dc);
        TRect client;
        GetClientRect(AWindow, client);
        canvas.Brush()->SetColor(clBtnFace);
        canvas.FillRect(client);
        for (size_t i = 0; i < level.Rows.size(); ++i)
            DrawPlainMenuItem(&canvas, level.Rows[i].first, level.Rows[i].second,
                              static_cast<int>(i) == level.Selected, false, FImages);
        canvas.SetHandle(nullptr);
    }
    EndPaint(AWindow, paint);
}

int TPlainTracker::LevelAt(TPoint AScreen) const
{
    for (int i = static_cast<int>(FLevels.size()) - 1; i >= 0; --i) {
        const TRect& r = FLevels[i].Bounds;
        if (AScreen.X >= r.Left && AScreen.X < r.Right && AScreen.Y >= r.Top && AScreen.Y < r.Bottom)
            return i;
    }
    return -1;
}

int TPlainTracker::RowAt(const TLevel& ALevel, TPoint AScreen) const
{
    TPoint at = AScreen;
    ScreenToClient(ALevel.Window, at);
    for (size_t i = 0; i < ALevel.Rows.size(); ++i) {
        const TRect& r = ALevel.Rows[i].second;
        if (at.Y >= r.Top && at.Y < r.Bottom)
            return static_cast<int>(i);
    }
    return -1;
}

void TPlainTracker::Select(size_t ALevel, int ARow, bool AOpenSubmenu)
{
    TLevel& level = FLevels[ALevel];
    if (level.Selected != ARow) {
        level.Selected = ARow;
        InvalidateRect(level.Window, nullptr, FALSE);
        CloseFrom(ALevel + 1);
    }
    if (!AOpenSubmenu || ARow < 0 || FLevels.size() > ALevel + 1)
        return;
    TMenuItem* item = FLevels[ALevel].Rows[ARow].first;
    if (item->Count() > 0 && item->Enabled()) {
        item->Click();
        TRect row = FLevels[ALevel].Rows[ARow].second;
        TRect bounds = FLevels[ALevel].Bounds;
        Open(item, {bounds.Right - 2, bounds.Top + row.Top - 2});
    }
}

void TPlainTracker::Choose(TMenuItem* AItem)
{
    if (!AItem->Enabled() || AItem->IsLine() || AItem->Count() > 0)
        return;
    FChosen = AItem;
    FDone = true;
}

void TPlainTracker::MoveSelection(int AStep)
{
    TLevel& level = FLevels.back();
    int count = static_cast<int>(level.Rows.size());
    if (count == 0)
        return;
    int row = level.Selected;
    for (int i = 0; i < count; ++i) {
        row = row < 0 ? (AStep > 0 ? 0 : count - 1) : (row + AStep + count) % count;
        if (!level.Rows[row].first->IsLine())
            break;
    }
    Select(FLevels.size() - 1, row, false);
}

TMenuItem* TPlainTracker::Run(TMenuItem* AItem, TPoint AScreen)
{
    Open(AItem, AScreen);
    SetCapture(FLevels.front().Window);
    while (!FDone && !FLevels.empty()) {
        MSG msg;
        if (!GetMessage(msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message >= WM_MOUSEMOVE && msg.message <= WM_MBUTTONDBLCLK) {
            TPoint at = LParamToPoint(msg.lParam);
            ClientToScreen(msg.hwnd, at);
            int levelIndex = LevelAt(at);
            if (levelIndex < 0) {
                if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN)
                    FDone = true;
                continue;
            }
            int row = RowAt(FLevels[levelIndex], at);
            if (msg.message == WM_MOUSEMOVE)
                Select(levelIndex, row, true);
            else if ((msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP) && row >= 0)
                Choose(FLevels[levelIndex].Rows[row].first);
            continue;
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            TLevel& level = FLevels.back();
            switch (msg.wParam) {
            case VK_ESCAPE:
                if (FLevels.size() > 1)
                    CloseFrom(FLevels.size() - 1);
                else
                    FDone = true;
                break;
            case VK_UP: MoveSelection(-1); break;
            case VK_DOWN: MoveSelection(1); break;
            case VK_LEFT:
                if (FLevels.size() > 1)
                    CloseFrom(FLevels.size() - 1);
                break;
            case VK_RIGHT:
                if (level.Selected >= 0)
                    Select(FLevels.size() - 1, level.Selected, true);
                break;
            case VK_RETURN:
                if (level.Selected >= 0) {
                    TMenuItem* item = level.Rows[level.Selected].first;
                    if (item->Count() > 0)
                        Select(FLevels.size() - 1, level.Selected, true);
                    else
                        Choose(item);
                }
                break;
            default: break;
            }
            continue;
        }
        if (msg.message == WM_CHAR || msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP)
            continue;
        if (msg.message == WM_CANCELMODE) {
            FDone = true;
            continue;
        }
        TranslateMessage(msg);
        DispatchMessage(msg);
        if (!FLevels.empty() && GetCapture() != FLevels.front().Window)
            FDone = true;
    }
    ReleaseCapture();
    CloseFrom(0);
    return FChosen;
}

}  // namespace

TMenuItem* TrackPlainMenu(TMenuItem* AItem, TPoint AScreen, TCustomImageList* AImages)
{
    if (!AItem || AItem->Count() == 0)
        return nullptr;
    TMenuItem* chosen = nullptr;
    {
        TPlainTracker tracker(AImages);
        chosen = tracker.Run(AItem, AScreen);
    }
    if (chosen)
        chosen->Click();
    return chosen;
}
