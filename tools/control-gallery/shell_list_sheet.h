#pragma once
// The shell list view's block of the gallery: a small fixture folder (subfolders, media and text files) in the
// report style, sorted by size, with one file selected, and in the icon style, in the plain look and, given a
// skin folder, in that skin.
#include <string>

// Writes shell-list-plain.png (and shell-list-skin.png with a skin folder) into AOut; false when a file was not
// written or the fixture folder could not be made.
bool WriteShellListSheets(const std::string& AOut, const std::string& ASkinFolder);
