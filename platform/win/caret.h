#pragma once
// The caret: one per thread, as the platform has it, owned by one window of that thread. It is drawn by the
// window manager as an inversion over the window's pixels (so every backend shows it), blinks by the current
// clock, starts hidden, and is hidden while its window paints. Hiding nests: as many ShowCaret as HideCaret.
#include "platform/gdi/gdi_types.h"
#include "platform/win/win_types.h"

namespace win {

// ABitmap nullptr gives a solid caret of AWidth x AHeight (0 = one border wide or high), HBITMAP(1) a grey
// one; a bitmap gives its own shape and size, its set pixels inverting what is under them. Replaces the
// thread's caret. AWindow must belong to this thread.
BOOL CreateCaret(HWND AWindow, HBITMAP ABitmap, int AWidth, int AHeight);
BOOL DestroyCaret();
// AWindow is the caret's window or nullptr; FALSE when this thread has no caret there.
BOOL ShowCaret(HWND AWindow);
BOOL HideCaret(HWND AWindow);
BOOL SetCaretPos(int AX, int AY);  // client coordinates of the caret's window
BOOL GetCaretPos(TPoint& APoint);
// Milliseconds between the caret's on and off phases; win::INFINITE (platform/rtl/threads.h) stops the blinking with the caret on.
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT AMilliseconds);

}  // namespace win
