#pragma once
// The file dialogs' block of the gallery: the open-file dialog on a fixture folder and the select-folder dialog,
// in the plain look and, given a skin folder, in that skin.
#include <string>

// Writes open-dialog-plain.png and select-folder-dialog-plain.png (and -skin.png with a skin folder) into AOut;
// false when a file was not written.
bool WriteFileDialogSheets(const std::string& AOut, const std::string& ASkinFolder);
