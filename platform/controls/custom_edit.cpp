#include "platform/controls/custom_edit.h"

#include "platform/controls/edit_clipboard.h"
#include "platform/controls/text_steps.h"
#include "platform/gdi/gdi.h"
#include "platform/rtl/sysutils.h"
#include "platform/win/win.h"
#include "platform/rtl/utf8.h"

#include <algorithm>

using namespace win;
using namespace edittext;

namespace {

constexpr UINT_PTR kAutoScrollTimer = 1;
constexpr UINT kAutoScrollInterval = 100;

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner, false) {}

TCustomEdit::TCustomEdit(TComponent* AOwner, bool AMultiLine)
    : TWinControl(AOwner), FModel(AMultiLine), FLayout(FModel)
{
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetCursor(crIBeam);
    ControlStyle().Exclude(csSetCaption);
    ControlStyle().Include(csClickEvents);
    FModel.OnLinesChanged = [this](int ALine, int ARemoved, int AInserted) {
        FLayout.LinesChanged(ALine, ARemoved, AInserted);
    };
    FMeasureDC = CreateCompatibleDC(nullptr);
    UpdateLayoutDC();
}

TCustomEdit::~TCustomEdit()
{
    if (FMeasureDC) {
        if (FMeasureOldFont)
            SelectObject(FMeasureDC, FMeasureOldFont);
        DeleteDC(FMeasureDC);
    }
}

void TCustomEdit::UpdateLayoutDC()
{
    HGDIOBJ old = SelectObject(FMeasureDC, Font()->Handle());
    if (!FMeasureOldFont)
        FMeasureOldFont = old;
    TEXTMETRIC metrics{};
    GetTextMetrics(FMeasureDC, &metrics);
    FLineHeight = std::max(1, static_cast<int>(metrics.tmHeight));
    FLayout.SetDC(FMeasureDC);
}

int TCustomEdit::LineHeight() { return FLineHeight; }

void TCustomEdit::CreateParams(TCreateParams& AParams)
{
    TWinControl::CreateParams(AParams);
    static constexpr DWORD kAlign[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    AParams.Style |= WS_CLIPCHILDREN | kAlign[FAlignment];
    if (FModel.MultiLine())
        AParams.Style |= ES_MULTILINE;
    if (FPasswordChar)
        AParams.Style |= ES_PASSWORD;
    if (!FHideSelection)
        AParams.Style |= ES_NOHIDESEL;
    AParams.WinClassName = FModel.MultiLine() ? "TQuennaryMemo" : "TQuennaryEdit";
}

void TCustomEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateScrollState();
}

void TCustomEdit::DestroyWnd()
{
    if (FSelecting) {
        FSelecting = false;
        KillTimer(Handle(), kAutoScrollTimer);
    }
    TWinControl::DestroyWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase AValue)
{
    if (AValue == FCharCase)
        return;
    FCharCase = AValue;
    if (AValue != ecNormal) {
        std::string text = ApplyCharCase(FModel.Text());
        if (text != FModel.Text()) {
            FModel.SetText(text);
            TextReplaced(false);
        }
    }
}

void TCustomEdit::SetPasswordChar(char32_t AValue)
{
    if (AValue == FPasswordChar)
        return;
    FPasswordChar = AValue;
    FLayout.SetMaskChar(AValue);
    SelectionMoved();
}

void TCustomEdit::SetHideSelection(bool AValue)
{
    FHideSelection = AValue;
    Invalidate();
}

void TCustomEdit::SetAlignment(TAlignment AValue)
{
    if (AValue == FAlignment)
        return;
    FAlignment = AValue;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomEdit::SetTransparent(bool AValue)
{
    FTransparent = AValue;
    Invalidate();
}

std::string TCustomEdit::ApplyCharCase(const std::string& AText) const
{
    switch (FCharCase) {
    case ecUpperCase: return AnsiUpperCase(AText);
    case ecLowerCase: return AnsiLowerCase(AText);
    default: return AText;
    }
}

int TCustomEdit::SelStart() { return FModel.CharIndexOf(FModel.SelFirst()); }

int TCustomEdit::SelLength()
{
    return FModel.CharIndexOf(FModel.SelLast()) - FModel.CharIndexOf(FModel.SelFirst());
}

void TCustomEdit::SetSelStart(int AValue) { SelectChars(AValue, 0); }

void TCustomEdit::SetSelLength(int AValue) { SelectChars(SelStart(), AValue); }

void TCustomEdit::SelectChars(int AStart, int ALength)
{
    TTextPos first = FModel.PosOfCharIndex(AStart);
    SelectPositions(first, ALength == 0 ? first : FModel.PosOfCharIndex(AStart + ALength));
}

void TCustomEdit::SelectPositions(TTextPos AAnchor, TTextPos ACaret)
{
    FModel.Select(AAnchor, ACaret);
    FPreferredX = -1;
    SelectionMoved();
}

void TCustomEdit::SetSelText(const std::string& AValue)
{
    if (FModel.ReplaceSelection(ApplyCharCase(AValue)))
        TextReplaced(true);
}

void TCustomEdit::SelectAll() { SelectPositions({}, FModel.EndPos()); }

void TCustomEdit::ClearSelection() { Perform(WM_CLEAR, 0, 0); }
void TCustomEdit::CutToClipboard() { Perform(WM_CUT, 0, 0); }
void TCustomEdit::CopyToClipboard() { Perform(WM_COPY, 0, 0); }
void TCustomEdit::PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }
void TCustomEdit::Undo() { Perform(WM_UNDO, 0, 0); }

void TCustomEdit::TextChanged()
{
    FModel.SetText(FText);
    FText.clear();  // the model holds the text
    FModified = false;
    FTopRow = 0;
    FScrollX = 0;
    TextReplaced(false);
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

bool TCustomEdit::ReplaceSelectionByUser(const std::string& AText, bool ATyping)
{
    if (!FModel.ReplaceSelection(AText, ATyping))
        return false;
    TextReplaced(true);
    return true;
}

void TCustomEdit::TextReplaced(bool AByUser)
{
    if (AByUser)
        FModified = true;
    FPreferredX = -1;
    UpdateScrollState();
    SelectionMoved();
    Change();
}

void TCustomEdit::ModelChanged(bool ATextChanged)
{
    UpdateScrollState();
    PlaceCaret();
    Invalidate();
    if (ATextChanged)
        Change();
}

TRect TCustomEdit::FormatRect()
{
    if (FFormatRect)
        return *FFormatRect;
    TRect r = ClientRect();
    r.Left += FLeftMargin;
    r.Right -= FRightMargin;
    if (FModel.MultiLine()) {
        r.Top += 1;
        r.Bottom -= 1;
    }
    if (r.Right < r.Left)
        r.Right = r.Left;
    return r;
}

int TCustomEdit::VisibleRows()
{
    TRect r = FormatRect();
    return std::max(1, r.Height() / FLineHeight);
}

int TCustomEdit::AlignOffset(int ARowWidth)
{
    int room = FormatRect().Width() - ARowWidth;
    if (room <= 0)
        return 0;
    switch (FAlignment) {
    case taRightJustify: return room - 1;  // the caret stays inside
    case taCenter: return room / 2;
    default: return 0;
    }
}

TPoint TCustomEdit::PointOfPos(TTextPos APos)
{
    int row = FLayout.RowOfPos(APos);
    int line, sub;
    FLayout.LineOfRow(row, line, sub);
    TRect r = FormatRect();
    int x = FLayout.XOfByte(line, sub, APos.Byte);
    return {r.Left - FScrollX + AlignOffset(FLayout.RowWidth(line, sub)) + x, r.Top + (row - FTopRow) * FLineHeight};
}

TTextPos TCustomEdit::PosFromPoint(TPoint APoint)
{
    TRect r = FormatRect();
    int row = FTopRow + (APoint.Y >= r.Top ? (APoint.Y - r.Top) / FLineHeight : -1 - (r.Top - APoint.Y - 1) / FLineHeight);
    row = std::clamp(row, 0, FLayout.RowCount() - 1);
    int line, sub;
    FLayout.LineOfRow(row, line, sub);
    edittext::TCharStops stops = FLayout.RowStops(line, sub);
    int x = APoint.X - (r.Left - FScrollX + AlignOffset(FLayout.RowWidth(line, sub)));
    size_t byte = stops.ByteAtX(x);
    // A click past the end of a wrapped row stays on that row, before the first character of the next.
    if (byte == FLayout.RowEnd(line, sub) && static_cast<size_t>(sub + 1) < FLayout.RowStarts(line).size() &&
        byte > stops.Bytes.front())
        byte = stops.Bytes[stops.Bytes.size() - 2];
    return {line, byte};
}

void TCustomEdit::UpdateScrollState()
{
    if (!FModel.MultiLine())
        return;
    FLayout.SetWrapWidth(FWordWrap ? std::max(1, FormatRect().Width()) : 0);
    int rows = FLayout.RowCount();
    FTopRow = std::clamp(FTopRow, 0, std::max(0, rows - VisibleRows()));
    if (!HandleAllocated())
        return;
    SCROLLINFO vertical;
    vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    vertical.nMin = 0;
    vertical.nMax = rows - 1;
    vertical.nPage = static_cast<UINT>(VisibleRows());
    vertical.nPos = FTopRow;
    SetScrollInfo(Handle(), SB_VERT, vertical, FALSE);
    SCROLLINFO horizontal;
    horizontal.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    horizontal.nMin = 0;
    horizontal.nMax = FWordWrap ? 0 : FLayout.MaxWidth();
    horizontal.nPage = static_cast<UINT>(FWordWrap ? 0 : FormatRect().Width());
    horizontal.nPos = FScrollX;
    FScrollX = SetScrollInfo(Handle(), SB_HORZ, horizontal, FALSE);
}

void TCustomEdit::EnsureCaretVisible()
{
    TTextPos caret = FModel.Caret();
    int row = FLayout.RowOfPos(caret);
    int rows = VisibleRows();
    int top = FTopRow;
    if (row < FTopRow)
        FTopRow = row;
    else if (row >= FTopRow + rows)
        FTopRow = row - rows + 1;
    int width = FormatRect().Width();
    int line, sub;
    FLayout.LineOfRow(row, line, sub);
    int rowWidth = FLayout.RowWidth(line, sub);
    int x = FLayout.XOfByte(line, sub, caret.Byte) + AlignOffset(rowWidth);
    int scroll = FScrollX;
    if (FWordWrap) {
        FScrollX = 0;
    } else if (x < FScrollX) {
        FScrollX = std::max(0, x - width / 4);
    } else if (x >= FScrollX + width) {
        FScrollX = x - width + width / 4 + 1;
    }
    // Do not keep showing blank room after the text once it fits again.
    if (!FWordWrap && FScrollX > 0 && (FModel.MultiLine() ? FLayout.MaxWidth() : rowWidth) + 1 - FScrollX < width)
        FScrollX = std::max(0, std::min(FScrollX, (FModel.MultiLine() ? FLayout.MaxWidth() : rowWidth) + 1 - width));
    if (top != FTopRow || scroll != FScrollX)
        UpdateScrollState();
}

void TCustomEdit::PlaceCaret()
{
    if (!HandleAllocated() || GetFocus() != Handle())
        return;
    TPoint at = PointOfPos(FModel.Caret());
    SetCaretPos(at.X, at.Y);
}

void TCustomEdit::SelectionMoved()
{
    EnsureCaretVisible();
    PlaceCaret();
    Invalidate();
}

void TCustomEdit::PaintWindow(HDC ADC)
{
    TRect area = FormatRect();
    int saved = SaveDC(ADC);
    IntersectClipRect(ADC, area.Left, area.Top, area.Right, area.Bottom);
    SelectObject(ADC, Font()->Handle());
    SetBkMode(ADC, TRANSPARENT);
    COLORREF text = ColorRefOf(Enabled() ? Font()->Color() : clGrayText);
    bool showSelection = FModel.HasSelection() && (!FHideSelection || (HandleAllocated() && GetFocus() == Handle()));
    TTextPos selFirst = FModel.SelFirst(), selLast = FModel.SelLast();
    HBRUSH highlight = CreateSolidBrush(ColorRefOf(clHighlight));
    int rows = VisibleRows() + 1;  // the last one may show in part
    for (int i = 0; i < rows && FTopRow + i < FLayout.RowCount(); ++i) {
        int line, sub;
        FLayout.LineOfRow(FTopRow + i, line, sub);
        std::string shown = FLayout.RowDisplay(line, sub);
        int x = area.Left - FScrollX + AlignOffset(FLayout.RowWidth(line, sub));
        int y = area.Top + i * FLineHeight;
        SetTextColor(ADC, text);
        TextOut(ADC, x, y, shown.c_str(), static_cast<int>(shown.size()));
        if (!showSelection || line < selFirst.Line || line > selLast.Line)
            continue;
        size_t rowStart = FLayout.RowStarts(line)[static_cast<size_t>(sub)];
        size_t rowEnd = FLayout.RowEnd(line, sub);
        size_t from = line == selFirst.Line ? std::max(rowStart, selFirst.Byte) : rowStart;
        size_t to = line == selLast.Line ? std::min(rowEnd, selLast.Byte) : rowEnd;
        bool breakSelected = line < selLast.Line && to == FModel.Line(line).size();
        if (from > to || (from == to && !breakSelected))
            continue;
        edittext::TCharStops stops = FLayout.RowStops(line, sub);
        // A selected line break shows as a little room after the line's text.
        int left = 0, right = 0;
        stops.SpanOf(from, to, left, right);
        TRect mark{x + left, y, x + right + (breakSelected ? FLineHeight / 3 : 0), y + FLineHeight};
        FillRect(ADC, &mark, highlight);
        int inner = SaveDC(ADC);
        IntersectClipRect(ADC, mark.Left, mark.Top, mark.Right, mark.Bottom);
        SetTextColor(ADC, ColorRefOf(clHighlightText));
        TextOut(ADC, x, y, shown.c_str(), static_cast<int>(shown.size()));
        RestoreDC(ADC, inner);
    }
    DeleteObject(highlight);
    RestoreDC(ADC, saved);
}

void TCustomEdit::WndProc(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_ERASEBKGND:
        if (FTransparent) {
            // What the parent shows here goes behind the text; a host that paints its own background handles
            // WM_ERASEBKGND before this.
            HDC dc = reinterpret_cast<HDC>(AMessage.WParam);
            if (Parent() && Parent()->HandleAllocated() && dc) {
                int saved = SaveDC(dc);
                OffsetViewportOrgEx(dc, -Left(), -Top(), nullptr);
                Parent()->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
                Parent()->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
                RestoreDC(dc, saved);
            }
            AMessage.Result = 1;
            return;
        }
        break;
    case WM_SETTEXT:
        // The text lives here, not in the window.
        SetText(AMessage.LParam ? reinterpret_cast<const char*>(AMessage.LParam) : "");
        AMessage.Result = TRUE;
        return;
    case CM_FONTCHANGED:
        TWinControl::WndProc(AMessage);
        FLeftMargin = FRightMargin = 1;
        FFormatRect.reset();
        UpdateLayoutDC();
        if (HandleAllocated())
            CreateCaret(Handle(), nullptr, 1, FLineHeight);
        UpdateScrollState();
        SelectionMoved();
        return;
    case CM_ENABLEDCHANGED:
        TWinControl::WndProc(AMessage);
        Invalidate();
        return;
    default: break;
    }
    TWinControl::WndProc(AMessage);
}

void TCustomEdit::DefaultHandler(TMessage& AMessage)
{
    if (HandleEditMessage(AMessage))
        return;
    TWinControl::DefaultHandler(AMessage);
}

bool TCustomEdit::HandleEditMessage(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_GETDLGCODE:
        AMessage.Result = DialogCode(AMessage.WParam);
        return true;
    case WM_CHAR:
        HandleChar(static_cast<char32_t>(AMessage.WParam));
        return true;
    case WM_KEYDOWN:
        HandleKeyDown(static_cast<WORD>(AMessage.WParam));
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        HandleFocus(AMessage.Msg == WM_SETFOCUS);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        HandleMouse(AMessage);
        return false;  // the window's own default handling follows (cursor, context menu)
    case WM_TIMER:
        if (AMessage.WParam == kAutoScrollTimer) {
            AutoScrollTick();
            return true;
        }
        return false;
    case WM_SIZE:
        UpdateScrollState();
        SelectionMoved();
        return false;
    case WM_VSCROLL:
    case WM_HSCROLL:
        HandleScroll(AMessage.Msg == WM_VSCROLL, LOWORD(AMessage.WParam), static_cast<int16_t>(HIWORD(AMessage.WParam)));
        return true;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
        HandleEditCommand(AMessage);
        return true;
    case EM_CANUNDO: AMessage.Result = FModel.CanUndo(); return true;
    case EM_EMPTYUNDOBUFFER: FModel.ClearUndo(); return true;
    case EM_GETMODIFY: AMessage.Result = FModified; return true;
    case EM_SETMODIFY: FModified = AMessage.WParam != 0; return true;
    case EM_LIMITTEXT: FModel.SetMaxLength(static_cast<int>(AMessage.WParam)); return true;
    case EM_GETLINECOUNT: AMessage.Result = FLayout.RowCount(); return true;
    case EM_GETFIRSTVISIBLELINE: AMessage.Result = FModel.MultiLine() ? FTopRow : 0; return true;
    case EM_LINEFROMCHAR:
        AMessage.Result = FLayout.RowOfPos(static_cast<int>(AMessage.WParam) < 0
                                               ? FModel.SelFirst()
                                               : FModel.PosOfCharIndex(static_cast<int>(AMessage.WParam)));
        return true;
    case EM_GETSEL: {
        DWORD first = static_cast<DWORD>(SelStart()), last = first + static_cast<DWORD>(SelLength());
        if (AMessage.WParam)
            *reinterpret_cast<DWORD*>(AMessage.WParam) = first;
        if (AMessage.LParam)
            *reinterpret_cast<DWORD*>(AMessage.LParam) = last;
        AMessage.Result = MAKELPARAM(static_cast<int>(first), static_cast<int>(last));
        return true;
    }
    case EM_SETSEL: {
        int anchor = static_cast<int>(AMessage.WParam), caret = static_cast<int>(AMessage.LParam);
        if (anchor < 0) {
            SelectPositions(FModel.Caret(), FModel.Caret());
            return true;
        }
        SelectPositions(FModel.PosOfCharIndex(anchor), caret < 0 ? FModel.EndPos() : FModel.PosOfCharIndex(caret));
        return true;
    }
    case EM_SETMARGINS:
        if (AMessage.WParam & EC_LEFTMARGIN)
            FLeftMargin = static_cast<int16_t>(LOWORD(AMessage.LParam));
        if (AMessage.WParam & EC_RIGHTMARGIN)
            FRightMargin = static_cast<int16_t>(HIWORD(AMessage.LParam));
        FFormatRect.reset();
        UpdateScrollState();
        SelectionMoved();
        return true;
    case EM_GETMARGINS: AMessage.Result = MAKELPARAM(FLeftMargin, FRightMargin); return true;
    case EM_SETRECTNP:
        if (AMessage.LParam)
            FFormatRect = *reinterpret_cast<const RECT*>(AMessage.LParam);
        else
            FFormatRect.reset();
        UpdateScrollState();
        EnsureCaretVisible();
        PlaceCaret();
        return true;
    case EM_GETRECT:
        if (AMessage.LParam)
            *reinterpret_cast<RECT*>(AMessage.LParam) = FormatRect();
        return true;
    default: return false;
    }
}

LRESULT TCustomEdit::DialogCode(WPARAM AKey)
{
    LRESULT code = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    if (FModel.MultiLine()) {
        if (AKey == VK_TAB && FWantTabs)
            code |= DLGC_WANTTAB;
        if (AKey == VK_RETURN && FWantReturns)
            code |= DLGC_WANTALLKEYS;
    }
    return code;
}

void TCustomEdit::HandleEditCommand(TMessage& AMessage)
{
    switch (AMessage.Msg) {
    case WM_COPY:
        // A password is never given away.
        if (FModel.HasSelection() && !FPasswordChar)
            SetClipboardText(Handle(), FModel.SelectedText());
        return;
    case WM_CUT:
        if (FReadOnly || !FModel.HasSelection() || FPasswordChar)
            return;
        SetClipboardText(Handle(), FModel.SelectedText());
        ReplaceSelectionByUser("", false);
        return;
    case WM_CLEAR:
        if (!FReadOnly && FModel.HasSelection())
            ReplaceSelectionByUser("", false);
        return;
    case WM_PASTE:
        if (!FReadOnly)
            ReplaceSelectionByUser(ApplyCharCase(ClipboardText()), false);
        return;
    default:  // WM_UNDO, EM_UNDO
        if (FReadOnly || !FModel.Undo())
            return;
        AMessage.Result = TRUE;
        TextReplaced(true);
        return;
    }
}

void TCustomEdit::HandleChar(char32_t AChar)
{
    switch (AChar) {
    case 1: SelectAll(); return;                  // Ctrl+A
    case 3: Perform(WM_COPY, 0, 0); return;       // Ctrl+C
    case 22: Perform(WM_PASTE, 0, 0); return;     // Ctrl+V
    case 24: Perform(WM_CUT, 0, 0); return;       // Ctrl+X
    case 26: Perform(WM_UNDO, 0, 0); return;      // Ctrl+Z
    case VK_BACK: {
        if (FReadOnly)
            return;
        if (!FModel.HasSelection()) {
            TTextPos caret = FModel.Caret();
            if (caret.Byte > 0)
                caret.Byte = PrevChar(FModel.Line(caret.Line), caret.Byte);
            else if (caret.Line > 0)
                caret = {caret.Line - 1, FModel.Line(caret.Line - 1).size()};
            FModel.Select(FModel.Caret(), caret);
        }
        ReplaceSelectionByUser("", false);
        return;
    }
    case '\r':
        if (!FReadOnly && FModel.MultiLine() && FWantReturns)
            ReplaceSelectionByUser("\r\n", true);
        return;
    case '\t':
        if (!FReadOnly && FModel.MultiLine() && FWantTabs)
            ReplaceSelectionByUser("\t", true);
        return;
    default: break;
    }
    if (AChar < 0x20 || AChar == 0x7F || FReadOnly)
        return;
    ReplaceSelectionByUser(ApplyCharCase(Utf8Encode(AChar)), true);
}

void TCustomEdit::MoveVertically(int ARows, bool AExtend)
{
    TTextPos caret = FModel.Caret();
    if (FPreferredX < 0)
        FPreferredX = PointOfPos(caret).X;
    int row = std::clamp(FLayout.RowOfPos(caret) + ARows, 0, FLayout.RowCount() - 1);
    TRect r = FormatRect();
    TTextPos target = PosFromPoint({FPreferredX, r.Top + (row - FTopRow) * FLineHeight});
    int keep = FPreferredX;
    FModel.MoveCaret(target, AExtend);
    SelectionMoved();
    FPreferredX = keep;
}

void TCustomEdit::HandleKeyDown(WORD AKey)
{
    TShiftState shift = KeyboardShiftState();
    bool extend = shift.Contains(ssShift), control = shift.Contains(ssCtrl);
    TTextPos caret = FModel.Caret();
    const std::string& line = FModel.Line(caret.Line);
    auto move = [&](TTextPos ATarget) {
        FModel.MoveCaret(ATarget, extend);
        FPreferredX = -1;
        SelectionMoved();
    };
    switch (AKey) {
    case VK_LEFT:
        if (FModel.HasSelection() && !extend)
            return move(FModel.SelFirst());
        if (caret.Byte == 0)
            return move(caret.Line > 0 ? TTextPos{caret.Line - 1, FModel.Line(caret.Line - 1).size()} : caret);
        return move({caret.Line, control ? PrevWord(line, caret.Byte) : FLayout.PrevStop(caret.Line, caret.Byte)});
    case VK_RIGHT:
        if (FModel.HasSelection() && !extend)
            return move(FModel.SelLast());
        if (caret.Byte >= line.size())
            return move(caret.Line + 1 < FModel.LineCount() ? TTextPos{caret.Line + 1, 0} : caret);
        return move({caret.Line, control ? NextWord(line, caret.Byte) : FLayout.NextStop(caret.Line, caret.Byte)});
    case VK_HOME: {
        if (control)
            return move({});
        int sub = FLayout.RowOfPos(caret) - FLayout.FirstRowOf(caret.Line);
        return move({caret.Line, FLayout.RowStarts(caret.Line)[static_cast<size_t>(sub)]});
    }
    case VK_END: {
        if (control)
            return move(FModel.EndPos());
        int sub = FLayout.RowOfPos(caret) - FLayout.FirstRowOf(caret.Line);
        size_t end = FLayout.RowEnd(caret.Line, sub);
        // The end of a wrapped row is before its trailing blank, so the caret stays on that row.
        if (static_cast<size_t>(sub + 1) < FLayout.RowStarts(caret.Line).size() && end > 0)
            end = PrevChar(line, end);
        return move({caret.Line, end});
    }
    case VK_UP:
    case VK_DOWN:
        if (FModel.MultiLine())
            MoveVertically(AKey == VK_UP ? -1 : 1, extend);
        return;
    case VK_PRIOR:
    case VK_NEXT:
        if (FModel.MultiLine()) {
            int page = VisibleRows();
            FTopRow = std::clamp(FTopRow + (AKey == VK_PRIOR ? -page : page), 0,
                                 std::max(0, FLayout.RowCount() - page));
            UpdateScrollState();
            MoveVertically(AKey == VK_PRIOR ? -page : page, extend);
        }
        return;
    case VK_DELETE:
        if (extend) {
            Perform(WM_CUT, 0, 0);
            return;
        }
        if (FReadOnly)
            return;
        if (!FModel.HasSelection()) {
            TTextPos next = caret.Byte < line.size() ? TTextPos{caret.Line, NextChar(line, caret.Byte)}
                            : caret.Line + 1 < FModel.LineCount() ? TTextPos{caret.Line + 1, 0}
                                                                   : caret;
            if (control)
                next = {caret.Line, NextWord(line, caret.Byte)};
            FModel.Select(caret, next);
        }
        ReplaceSelectionByUser("", false);
        return;
    case VK_INSERT:
        if (control)
            Perform(WM_COPY, 0, 0);
        else if (extend)
            Perform(WM_PASTE, 0, 0);
        return;
    default: return;
    }
}

void TCustomEdit::HandleFocus(bool AGot)
{
    if (AGot) {
        CreateCaret(Handle(), nullptr, 1, FLineHeight);
        // A click places the caret itself; focus from the keyboard selects everything.
        if (FAutoSelect && GetKeyState(VK_LBUTTON) >= 0)
            SelectAll();
        PlaceCaret();
        ShowCaret(Handle());
    } else {
        DestroyCaret();
    }
    Invalidate();
}

void TCustomEdit::HandleMouse(TMessage& AMessage)
{
    TPoint at = LParamToPoint(AMessage.LParam);
    switch (AMessage.Msg) {
    case WM_LBUTTONDOWN:
        if (GetFocus() != Handle() && CanFocus())
            SetFocus();
        FModel.MoveCaret(PosFromPoint(at), (AMessage.WParam & MK_SHIFT) != 0);
        FPreferredX = -1;
        FSelecting = true;
        FLastMouse = at;
        SetCapture(Handle());
        SetTimer(Handle(), kAutoScrollTimer, kAutoScrollInterval);
        SelectionMoved();
        return;
    case WM_LBUTTONDBLCLK: {
        TTextPos pos = PosFromPoint(at);
        size_t first, last;
        WordAt(FModel.Line(pos.Line), pos.Byte, first, last);
        SelectPositions({pos.Line, first}, {pos.Line, last});
        return;
    }
    case WM_MOUSEMOVE:
        if (!FSelecting)
            return;
        FLastMouse = at;
        FModel.MoveCaret(PosFromPoint(at), true);
        SelectionMoved();
        return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (!FSelecting)
            return;
        FSelecting = false;
        KillTimer(Handle(), kAutoScrollTimer);
        if (AMessage.Msg == WM_LBUTTONUP && GetCapture() == Handle())
            ReleaseCapture();
        return;
    default: return;
    }
}

void TCustomEdit::AutoScrollTick()
{
    if (!FSelecting)
        return;
    // While the pointer is held beyond the text, the selection keeps growing that way.
    TRect r = FormatRect();
    TTextPos caret = FModel.Caret();
    const std::string& line = FModel.Line(caret.Line);
    if (FLastMouse.X < r.Left && !FWordWrap && caret.Byte > 0)
        caret.Byte = PrevChar(line, caret.Byte);
    else if (FLastMouse.X >= r.Right && !FWordWrap && caret.Byte < line.size())
        caret.Byte = NextChar(line, caret.Byte);
    if (FModel.MultiLine() && (FLastMouse.Y < r.Top || FLastMouse.Y >= r.Bottom)) {
        MoveVertically(FLastMouse.Y < r.Top ? -1 : 1, true);
        return;
    }
    if (caret != FModel.Caret()) {
        FModel.MoveCaret(caret, true);
        SelectionMoved();
    }
}

void TCustomEdit::HandleScroll(bool AVertical, WORD ACode, int AThumb)
{
    if (!FModel.MultiLine())
        return;
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    GetScrollInfo(Handle(), AVertical ? SB_VERT : SB_HORZ, info);
    if (ACode == SB_THUMBPOSITION || ACode == SB_THUMBTRACK)
        AThumb = static_cast<uint16_t>(AThumb);  // positions travel unsigned
    int target = ScrollRequestTarget(info, ACode, AThumb, AVertical ? 1 : std::max(1, FLineHeight));
    const int movedRows = AVertical ? FTopRow - target : 0;
    if (AVertical)
        FTopRow = target;
    else
        FScrollX = FWordWrap ? 0 : target;
    UpdateScrollState();
    PlaceCaret();
    // Less than a page over an own background: the rows still in view move on screen and only the rows that come
    // into view are painted. A background painted by someone else stays put, so all of it is painted again.
    if (movedRows != 0 && !FTransparent && HandleAllocated() && std::abs(movedRows) < VisibleRows()) {
        const TRect area = FormatRect();
        ScrollWindowEx(Handle(), 0, movedRows * FLineHeight, &area, &area, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    } else {
        Invalidate();
    }
}
