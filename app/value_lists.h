#pragma once
// The two small text forms in which the catalogue lists choices, as the Profile Settings dialog reads them.
// Value lists: entries joined by ",", each "value$caption" (an entry without "$" is a caption only).
// Resolution lists: entries joined by ",", each "width*height", shown and typed as is.
#include <string>
#include <vector>

// The values (AWantValues) or the captions of a value list. An empty text has no values and one empty caption.
std::vector<std::string> SplitValueList(const std::string& AText, bool AWantValues);

// The part before the first "*" / after the last "*"; "-1" when there is no "*" or the part is not an integer.
std::string ResolutionWidth(const std::string& AText);
std::string ResolutionHeight(const std::string& AText);

// Even sizes from 64 x 64 to 1920 x 1280, bounds included.
bool IsValidResolution(int AWidth, int AHeight);
inline constexpr const char* kInvalidResolutionText =
    "Please input valid resolution. Both width and height must be multiples of 2, and range from 64*64 to "
    "1920*1280.";

// The resolution box's text for a format: width "*" height, or empty when both are empty.
std::string ResolutionText(const std::string& AWidth, const std::string& AHeight);

// Position of a value among a list's values, -1 when it is not listed.
int IndexOfValue(const std::string& AList, const std::string& AValue);
