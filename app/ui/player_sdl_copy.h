#pragma once
// Every player of the converter loads SDL from a file of its own: SDL keeps one video surface, one audio device
// and one event queue per loaded module, so the main window's preview and the dialogs' players each need a copy.
#include <string>

class TCustomPlayer;

// The players by number.
inline constexpr int kMainPreviewPlayer = 0;
inline constexpr int kEditOriginalPlayer = 1;
inline constexpr int kEditOutputPlayer = 2;
inline constexpr int kTrimPlayer = 3;

// The folder the copies are made in: the private per-user temporary folder, with a trailing "/". Raises EOSError
// when there is none.
std::string SDLCopyFolder();

// The file name ("SDL_<n>.so") of player ANumber's SDL copy in SDLCopyFolder(), for the player's LoadSDLLib.
// The first call for a number in a run copies the installed library there afresh, so a copy an earlier run left
// (perhaps of an older SDL) is never loaded; later calls in the run use the copy made then. When the copy cannot
// be made no file of that name is left, and the player's LoadSDLLib reports it.
std::string PrepareSDLCopy(int ANumber);

// Loads APlayer's own SDL copy (number ANumber) unless it has SDL already. Returns the reason it could not, empty
// when SDL is loaded: the player's error, or the error of a missing private temporary folder.
std::string LoadPlayerSDLCopy(TCustomPlayer& APlayer, int ANumber);
