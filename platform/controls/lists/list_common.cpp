#include "platform/controls/lists/list_common.h"

#include "platform/gui/image_list.h"
#include "platform/rtl/clock.h"
#include "platform/rtl/utf8.h"
#include "platform/win/scrolling.h"

#include <algorithm>
#include <cctype>

using namespace win;

bool StartsWithNoCase(const std::string& AText, const std::string& APrefix)
{
    if (APrefix.size() > AText.size())
        return false;
    for (size_t i = 0; i < APrefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(AText[i])) != std::tolower(static_cast<unsigned char>(APrefix[i])))
            return false;
    return true;
}

const std::string& TTypeAhead::Add(char32_t AKey, bool& AFresh)
{
    DWORD now = GetTickCount();
    AFresh = FPrefix.empty() || now - FLastTick > static_cast<DWORD>(kResetMs);
    if (AFresh)
        FPrefix.clear();
    FLastTick = now;
    Utf8Append(AKey, FPrefix);
    // The same letter typed again steps through the items starting with it.
    if (AKey < 0x80 && FPrefix.size() > 1 && FPrefix.find_first_not_of(FPrefix[0]) == std::string::npos) {
        FMatch.assign(1, FPrefix[0]);
        AFresh = true;
        return FMatch;
    }
    FMatch = FPrefix;
    return FMatch;
}

void SetHiddenScrollState(HWND AWindow, int ABar, int AMax, int APage, int APos)
{
    if (!AWindow)
        return;
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, AMax);
    info.nPage = static_cast<UINT>(std::max(0, APage));
    info.nPos = APos;
    SetScrollInfo(AWindow, ABar, info, FALSE);
}

int ScrollMessageTarget(HWND AWindow, int ABar, const TMessage& AMessage, int ALine)
{
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    if (!AWindow || !GetScrollInfo(AWindow, ABar, info))
        return 0;
    WORD code = LOWORD(AMessage.WParam);
    int thumb = HIWORD(AMessage.WParam);
    return ScrollRequestTarget(info, code, thumb, ALine);
}

void DrawPlainRow(TCanvas* ACanvas, const TRect& ARect, const std::string& AText, TOwnerDrawState AState,
                  int AIndent)
{
    bool selected = AState.Contains(odSelected);
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(selected ? clHighlight : clWindow);
    ACanvas->FillRect(ARect);
    ACanvas->Font()->SetColor(selected ? clHighlightText : clWindowText);
    ACanvas->Brush()->SetStyle(bsClear);
    int textY = ARect.Top + (ARect.Height() - ACanvas->TextHeight("Wg")) / 2;
    ACanvas->TextRect(ARect, ARect.Left + AIndent, textY, AText);
    if (AState.Contains(odFocused)) {
        // Dotted, every other pixel, as the platform draws the focus of a row.
        TColor dot = selected ? clHighlightText : clWindowText;
        for (int x = ARect.Left; x < ARect.Right; x += 2) {
            ACanvas->SetPixels(x, ARect.Top, dot);
            ACanvas->SetPixels(x, ARect.Bottom - 1, dot);
        }
        for (int y = ARect.Top; y < ARect.Bottom; y += 2) {
            ACanvas->SetPixels(ARect.Left, y, dot);
            ACanvas->SetPixels(ARect.Right - 1, y, dot);
        }
    }
    ACanvas->Brush()->SetStyle(bsSolid);
}

void LinkImageList(TComponent* AOwner, TCustomImageList*& AField, TCustomImageList* AValue)
{
    if (AField)
        AField->RemoveFreeNotification(AOwner);
    AField = AValue;
    if (AField)
        AField->FreeNotification(AOwner);
}

void DrawAlignedText(TCanvas* ACanvas, const TRect& ARect, const std::string& AText, TAlignment AAlignment)
{
    if (ARect.Width() <= 0)
        return;
    int width = ACanvas->TextWidth(AText);
    int x = AAlignment == taRightJustify ? ARect.Right - width
            : AAlignment == taCenter    ? ARect.Left + (ARect.Width() - width) / 2
                                        : ARect.Left;
    int y = ARect.Top + (ARect.Height() - ACanvas->TextHeight("Wg")) / 2;
    ACanvas->TextRect(ARect, std::max(x, ARect.Left), y, AText);
}
