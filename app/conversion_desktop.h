#pragma once
// The two desktop services the end of a conversion run may call for: opening the output folder in the file
// manager, and shutting the computer down.
#include <string>

// Opens the folder with the desktop's default program; false when that could not be started.
bool OpenOutputFolder(const std::string& AFolder);

// Asks the system to power off (through logind). Raises EOSError when the request is refused or cannot be made.
void PowerOffComputer();
