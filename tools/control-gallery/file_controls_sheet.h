#pragma once
// The file-system controls' block of the gallery: a drive box, a directory list with its folder label, a filter
// box and a file list, chained on a fixture folder with a fixture mount table, and a second drive box dropped
// down to show every kind of volume; in the plain look and, given a skin folder, in that skin.
#include <string>

// Writes file-controls-plain.png (and file-controls-skin.png with a skin folder) into AOut; false when a file was
// not written.
bool WriteFileControlsSheets(const std::string& AOut, const std::string& ASkinFolder);
