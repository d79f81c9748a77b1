#pragma once
// Breaks a message into lines no wider than a width, for a label that must show all of it: between words where
// it can, and a word wider than the width (a long path) after its last "/" that fits, else after its last
// character that fits. Line breaks already in the text stay.
#include <functional>
#include <string>

// AWidthOf measures a piece of text in the label's font. Answers the lines joined with "\n".
std::string BreakIntoLines(const std::string& AText, int AWidth, const std::function<int(const std::string&)>& AWidthOf);
