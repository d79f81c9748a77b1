#include "platform/gui/utility_window.h"

#include "platform/rtl/exceptions.h"

#include <memory>

using namespace win;

namespace {

LRESULT UtilityProc(HWND AWindow, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLong(AWindow, GWL_USERDATA));
    if (!method)
        return DefWindowProc(AWindow, AMsg, AWParam, ALParam);
    TMessage message{AMsg, AWParam, ALParam, 0};
    (*method)(message);
    return message.Result;
}

const char* const kUtilityClass = "TQuennaryUtilityWindow";

}  // namespace

HWND AllocateHWnd(TWndMethod AMethod)
{
    WNDCLASS existing;
    if (!GetClassInfo(kUtilityClass, existing)) {
        WNDCLASS cls;
        cls.lpfnWndProc = &UtilityProc;
        cls.lpszClassName = kUtilityClass;
        RegisterClass(cls);
    }
    HWND window = CreateWindowEx(WS_EX_TOOLWINDOW, kUtilityClass, "", WS_POPUP, 0, 0, 0, 0, nullptr);
    if (!window)
        throw EInvalidOperation("Cannot make a hidden window");
    auto method = std::make_unique<TWndMethod>(std::move(AMethod));
    SetWindowLong(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(method.release()));
    return window;
}

void DeallocateHWnd(HWND AWindow)
{
    if (!AWindow || !IsWindow(AWindow))
        return;
    auto* method = reinterpret_cast<TWndMethod*>(SetWindowLong(AWindow, GWL_USERDATA, 0));
    DestroyWindow(AWindow);
    delete method;
}
