#pragma once
// Pieces the list box, the tree view and the list view share: type-to-find, the hidden scroll state, the owner
// draw state of an item and the plain look of a row.
#include "platform/gui/controls.h"

#include <string>

namespace lists {
inline constexpr int VK_F2 = 0x71;  // starts editing a label
}

enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

// Case-insensitive (ASCII) prefix test, as the platform's lists match typed text.
bool StartsWithNoCase(const std::string& AText, const std::string& APrefix);

// Characters typed in quick succession make one prefix; a pause of more than a second starts a new one.
class TTypeAhead {
public:
    static constexpr int kResetMs = 1000;
    // Adds a typed character and returns the prefix to look for. AFresh: look past the current item (a new
    // prefix, or one letter typed again).
    const std::string& Add(char32_t AKey, bool& AFresh);
    void Reset() { FPrefix.clear(); }

private:
    std::string FPrefix;
    std::string FMatch;
    win::DWORD FLastTick = 0;
};

// Sets a bar's whole state at once: the bars stay hidden, the state is read by the skinned frames.
void SetHiddenScrollState(win::HWND AWindow, int ABar, int AMax, int APage, int APos);
// The position a WM_HSCROLL / WM_VSCROLL message asks for, with one line of ALine units.
int ScrollMessageTarget(win::HWND AWindow, int ABar, const TMessage& AMessage, int ALine = 1);

class TCustomImageList;
// Points AField at AValue, moving the free notification of AOwner from the old list to the new one.
void LinkImageList(TComponent* AOwner, TCustomImageList*& AField, TCustomImageList* AValue);

// One line of text in ARect, vertically centred, placed by AAlignment, never starting left of ARect.
void DrawAlignedText(TCanvas* ACanvas, const TRect& ARect, const std::string& AText, TAlignment AAlignment);

// The plain row: highlight when selected, text, a dotted focus frame.
void DrawPlainRow(TCanvas* ACanvas, const TRect& ARect, const std::string& AText, TOwnerDrawState AState,
                  int AIndent = 2);
