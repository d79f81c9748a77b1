#pragma once
// The message box's block of the gallery: a box of each stock type (warning, error, information, confirmation)
// in the plain look and, given a skin folder, in that skin.
#include <string>

// Writes message-box-<type>-plain.png (and -skin.png with a skin folder) into AOut; false when a file was not
// written.
bool WriteMessageBoxSheets(const std::string& AOut, const std::string& ASkinFolder);
