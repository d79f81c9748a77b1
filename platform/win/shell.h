#pragma once
// The desktop-facing services: the clipboard (text), files dropped on a window and icons in the tray. The
// window manager keeps the model; the backend does the part outside the program.
#include "platform/win/win_types.h"

#include <optional>
#include <string>
#include <vector>

namespace win {

inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_UNICODETEXT = 13;

BOOL OpenClipboard(HWND AOwner);  // FALSE while another window has it open
BOOL CloseClipboard();
BOOL EmptyClipboard();
BOOL IsClipboardFormatAvailable(UINT AFormat);  // CF_TEXT, CF_UNICODETEXT
// Text in UTF-8. Setting needs the clipboard open; reading does not.
BOOL SetClipboardText(const std::string& AText);
std::optional<std::string> GetClipboardText();

// Drops: a window with WS_EX_ACCEPTFILES (or an ancestor of the one under the point) gets WM_DROPFILES with an
// HDROP in wParam; the receiver answers DragFinish.
void DragAcceptFiles(HWND AWindow, BOOL AAccept);
UINT DragQueryFile(HDROP ADrop, UINT AIndex, char* ABuffer, UINT ASize);  // 0xFFFFFFFF = count
std::string DragQueryFile(HDROP ADrop, UINT AIndex);
BOOL DragQueryPoint(HDROP ADrop, TPoint* APoint);  // client coordinates of the receiver
void DragFinish(HDROP ADrop);
// For backends: files dropped at a screen point. Returns whether a window took them.
bool QueueFileDrop(TPoint AScreen, const std::vector<std::string>& AFiles);

// Tray icons, keyed by window and id.
inline constexpr DWORD NIM_ADD = 0;
inline constexpr DWORD NIM_MODIFY = 1;
inline constexpr DWORD NIM_DELETE = 2;
inline constexpr UINT NIF_MESSAGE = 0x01;
inline constexpr UINT NIF_ICON = 0x02;
inline constexpr UINT NIF_TIP = 0x04;
inline constexpr UINT NIF_INFO = 0x10;
inline constexpr UINT NIN_BALLOONSHOW = 0x0400 + 2;
inline constexpr UINT NIN_BALLOONUSERCLICK = 0x0400 + 5;

struct NOTIFYICONDATA {
    DWORD cbSize = sizeof(NOTIFYICONDATA);
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    std::string szTip;
    std::string szInfo;
    std::string szInfoTitle;
    DWORD dwInfoFlags = 0;
    UINT uTimeout = 0;
};

// NIM_ADD fails while the desktop shows no tray (see IsTrayAvailable): an icon nobody can see must not stand in
// for a window.
BOOL Shell_NotifyIcon(DWORD AMessage, const NOTIFYICONDATA* AData);
BOOL IsTrayAvailable();
std::vector<NOTIFYICONDATA> TrayIcons();  // what the tray shows now
// For backends: the user did something with an icon (a mouse message or NIN_ code); posts the callback message.
bool QueueTrayEvent(HWND AWindow, UINT AId, UINT AEvent);

}  // namespace win
