#include "platform/win/shell.h"

#include "platform/win/geometry.h"
#include "platform/win/message_queue.h"
#include "platform/win/window.h"
#include "platform/win/window_state.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

struct win::HDROP__ {
    std::vector<std::string> Files;
    TPoint Point;
};

namespace win {

using namespace wm;

namespace {

struct TShellState {
    std::mutex Lock;
    HWND ClipboardOpenBy = nullptr;
    bool ClipboardOpen = false;
    DWORD ClipboardThread = 0;
    std::vector<NOTIFYICONDATA> Icons;
};

TShellState& Shell()
{
    static TShellState* state = new TShellState;
    return *state;
}

bool OpenedByMe()
{
    auto& shell = Shell();
    return shell.ClipboardOpen && shell.ClipboardThread == CurrentThread();
}

}  // namespace

BOOL OpenClipboard(HWND AOwner)
{
    std::lock_guard lock(Shell().Lock);
    auto& shell = Shell();
    if (shell.ClipboardOpen && shell.ClipboardThread != CurrentThread())
        return FALSE;
    shell.ClipboardOpen = true;
    shell.ClipboardOpenBy = AOwner;
    shell.ClipboardThread = CurrentThread();
    return TRUE;
}

BOOL CloseClipboard()
{
    std::lock_guard lock(Shell().Lock);
    if (!OpenedByMe())
        return FALSE;
    Shell().ClipboardOpen = false;
    return TRUE;
}

BOOL EmptyClipboard()
{
    {
        std::lock_guard lock(Shell().Lock);
        if (!OpenedByMe())
            return FALSE;
    }
    if (TBackend* backend = CurrentBackend())
        backend->SetClipboardText({});
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT AFormat)
{
    if (AFormat != CF_TEXT && AFormat != CF_UNICODETEXT)
        return FALSE;
    auto text = GetClipboardText();
    return text && !text->empty();
}

BOOL SetClipboardText(const std::string& AText)
{
    {
        std::lock_guard lock(Shell().Lock);
        if (!OpenedByMe())
            return FALSE;
    }
    TBackend* backend = CurrentBackend();
    if (!backend)
        return FALSE;
    backend->SetClipboardText(AText);
    return TRUE;
}

std::optional<std::string> GetClipboardText()
{
    TBackend* backend = CurrentBackend();
    if (!backend)
        return std::nullopt;
    return backend->ClipboardText();
}

void DragAcceptFiles(HWND AWindow, BOOL AAccept)
{
    LONG_PTR style = GetWindowLong(AWindow, GWL_EXSTYLE);
    SetWindowLong(AWindow, GWL_EXSTYLE, AAccept ? (style | WS_EX_ACCEPTFILES) : (style & ~WS_EX_ACCEPTFILES));
}

UINT DragQueryFile(HDROP ADrop, UINT AIndex, char* ABuffer, UINT ASize)
{
    if (!ADrop)
        return 0;
    if (AIndex == 0xFFFFFFFF)
        return static_cast<UINT>(ADrop->Files.size());
    if (AIndex >= ADrop->Files.size())
        return 0;
    const std::string& name = ADrop->Files[AIndex];
    if (!ABuffer || ASize == 0)
        return static_cast<UINT>(name.size());
    size_t count = std::min<size_t>(name.size(), ASize - 1);
    std::memcpy(ABuffer, name.data(), count);
    ABuffer[count] = 0;
    return static_cast<UINT>(count);
}

std::string DragQueryFile(HDROP ADrop, UINT AIndex)
{
    if (!ADrop || AIndex >= ADrop->Files.size())
        return {};
    return ADrop->Files[AIndex];
}

BOOL DragQueryPoint(HDROP ADrop, TPoint* APoint)
{
    if (!ADrop || !APoint)
        return FALSE;
    *APoint = ADrop->Point;
    return TRUE;
}

void DragFinish(HDROP ADrop) { delete ADrop; }

bool QueueFileDrop(TPoint AScreen, const std::vector<std::string>& AFiles)
{
    HWND target = WindowFromPoint(AScreen);
    while (target && !(GetWindowLong(target, GWL_EXSTYLE) & WS_EX_ACCEPTFILES))
        target = GetAncestor(target, GA_PARENT);
    if (!target || AFiles.empty())
        return false;
    auto drop = std::make_unique<HDROP__>();
    drop->Files = AFiles;
    drop->Point = AScreen;
    ScreenToClient(target, drop->Point);
    if (!PostMessage(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop.get()), 0))
        return false;
    drop.release();  // the receiver frees it with DragFinish
    return true;
}

BOOL Shell_NotifyIcon(DWORD AMessage, const NOTIFYICONDATA* AData)
{
    if (!AData)
        return FALSE;
    if (AMessage == NIM_ADD && !IsTrayAvailable())
        return FALSE;
    NOTIFYICONDATA changed;
    {
        std::lock_guard lock(Shell().Lock);
        auto& icons = Shell().Icons;
        auto it = std::find_if(icons.begin(), icons.end(),
                               [&](const NOTIFYICONDATA& i) { return i.hWnd == AData->hWnd && i.uID == AData->uID; });
        switch (AMessage) {
        case NIM_ADD:
            if (it != icons.end())
                return FALSE;
            icons.push_back(*AData);
            changed = *AData;
            break;
        case NIM_MODIFY:
            if (it == icons.end())
                return FALSE;
            // Only what the flags name changes.
            if (AData->uFlags & NIF_MESSAGE)
                it->uCallbackMessage = AData->uCallbackMessage;
            if (AData->uFlags & NIF_ICON)
                it->hIcon = AData->hIcon;
            if (AData->uFlags & NIF_TIP)
                it->szTip = AData->szTip;
            if (AData->uFlags & NIF_INFO) {
                it->szInfo = AData->szInfo;
                it->szInfoTitle = AData->szInfoTitle;
                it->dwInfoFlags = AData->dwInfoFlags;
                it->uTimeout = AData->uTimeout;
            }
            it->uFlags |= AData->uFlags;
            changed = *it;
            break;
        case NIM_DELETE:
            if (it == icons.end())
                return FALSE;
            changed = *it;
            icons.erase(it);
            break;
        default: return FALSE;
        }
    }
    if (TBackend* backend = CurrentBackend())
        backend->TrayIconChanged(AMessage, changed);
    return TRUE;
}

BOOL IsTrayAvailable()
{
    TBackend* backend = CurrentBackend();
    return backend && backend->TrayAvailable();
}

std::vector<NOTIFYICONDATA> TrayIcons()
{
    std::lock_guard lock(Shell().Lock);
    return Shell().Icons;
}

bool QueueTrayEvent(HWND AWindow, UINT AId, UINT AEvent)
{
    UINT callback = 0;
    {
        std::lock_guard lock(Shell().Lock);
        for (auto& icon : Shell().Icons)
            if (icon.hWnd == AWindow && icon.uID == AId && (icon.uFlags & NIF_MESSAGE))
                callback = icon.uCallbackMessage;
    }
    if (!callback)
        return false;
    return PostMessage(AWindow, callback, AId, AEvent);
}

}  // namespace win
