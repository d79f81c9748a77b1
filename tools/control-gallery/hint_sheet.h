#pragma once
// The skinned hints' block of the gallery: a hint with a bold title, an image and two lines of text, in the
// default look and, given a skin folder, in that skin.
#include <string>

// Writes hints-default.png (and hints-skin.png with a skin folder) into AOut; false when a file was not written.
bool WriteHintSheets(const std::string& AOut, const std::string& ASkinFolder);
