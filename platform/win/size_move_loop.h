#pragma once
// The default procedure's modal loops: moving and sizing a window with the pointer, and pressing a caption
// button.
#include "platform/win/win_types.h"

namespace win::wm {

// ACommand is SC_MOVE or SC_SIZE with the edge (WMSZ_) in its low four bits; AStart the screen point the
// pointer went down at (0 = where the last message was taken). Sends WM_ENTERSIZEMOVE and
// WM_GETMINMAXINFO, then per pointer step WM_MOVING or WM_SIZING with a rectangle the window may change (screen
// coordinates) before the window is placed there (full-window dragging), and WM_EXITSIZEMOVE at the end. The
// button release ends the loop and is eaten; Escape puts the window back.
void RunSizeMoveLoop(HWND AWindow, WPARAM ACommand, LPARAM AStart);
// Holds the pointer until the button is released; over the same button that carries out its command.
void TrackCaptionButton(HWND AWindow, LRESULT AHit);

}  // namespace win::wm
