#pragma once
// The message record every control handles, the control notifications (CM_) with their fixed numbers, the
// reflected notifications (CN_), and the shift state of mouse and key events.
#include "platform/rtl/set.h"
#include "platform/win/win.h"

#include <functional>

struct TMessage {
    win::UINT Msg = 0;
    win::WPARAM WParam = 0;
    win::LPARAM LParam = 0;
    win::LRESULT Result = 0;
};

using TWndMethod = std::function<void(TMessage&)>;

inline constexpr win::UINT CM_BASE = 0xB000;
inline constexpr win::UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr win::UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr win::UINT CM_GOTFOCUS = CM_BASE + 2;
inline constexpr win::UINT CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr win::UINT CM_CANCELMODE = CM_BASE + 4;     // LParam: the control that takes the focus
inline constexpr win::UINT CM_DIALOGKEY = CM_BASE + 5;      // WParam: key; Result 1 = handled
inline constexpr win::UINT CM_DIALOGCHAR = CM_BASE + 6;     // WParam: character; Result 1 = handled
inline constexpr win::UINT CM_FOCUSCHANGED = CM_BASE + 7;   // LParam: the control that has the focus now
inline constexpr win::UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr win::UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr win::UINT CM_HITTEST = CM_BASE + 10;       // LParam: point; Result 0 = not here
inline constexpr win::UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr win::UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr win::UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr win::UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr win::UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr win::UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr win::UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr win::UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr win::UINT CM_MENUCHANGED = CM_BASE + 21;
inline constexpr win::UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr win::UINT CM_ENTER = CM_BASE + 26;
inline constexpr win::UINT CM_EXIT = CM_BASE + 27;
inline constexpr win::UINT CM_ICONCHANGED = CM_BASE + 29;
inline constexpr win::UINT CM_WANTSPECIALKEY = CM_BASE + 30;  // WParam: key; Result 1 = the control wants it
inline constexpr win::UINT CM_RELEASE = CM_BASE + 33;
inline constexpr win::UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr win::UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr win::UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr win::UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;  // WParam: control; LParam: 1 = inserted
inline constexpr win::UINT CM_CHILDKEY = CM_BASE + 46;
inline constexpr win::UINT CM_HINTSHOW = CM_BASE + 48;  // LParam: THintInfo*; Result 1 = no hint
inline constexpr win::UINT CM_RECREATEWND = CM_BASE + 51;
inline constexpr win::UINT CM_INVALIDATE = CM_BASE + 52;
inline constexpr win::UINT CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr win::UINT CM_MOUSEWHEEL = CM_BASE + 67;   // WParam, LParam: those of WM_MOUSEWHEEL; Result 1 = handled
inline constexpr win::UINT CM_MOUSEHWHEEL = CM_BASE + 68;  // the same for WM_MOUSEHWHEEL
inline constexpr win::UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr win::UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;

// Notifications a parent reflects back to the child window that sent them: CN_BASE + the platform message.
inline constexpr win::UINT CN_BASE = 0xBC00;
inline constexpr win::UINT CN_COMMAND = CN_BASE + win::WM_COMMAND;
inline constexpr win::UINT CN_DRAWITEM = CN_BASE + 0x002B;
inline constexpr win::UINT CN_KEYDOWN = CN_BASE + win::WM_KEYDOWN;
inline constexpr win::UINT CN_CHAR = CN_BASE + win::WM_CHAR;
inline constexpr win::UINT CN_CTLCOLOREDIT = CN_BASE + 0x0133;
inline constexpr win::UINT CN_CTLCOLORSTATIC = CN_BASE + 0x0138;

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Mouse key flags of a client mouse message, with the Alt key read from the key state.
TShiftState KeysToShiftState(win::WPARAM AKeys);
// The modifier keys as the key state reports them while a key message is processed.
TShiftState KeyboardShiftState();
