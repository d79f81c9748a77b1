#pragma once
// The one rule for the catalogue's numeric values (frame size, rates, bit rates, channels, the audio flag): an
// empty text means "not set", anything else must be a whole decimal number. The estimates, the option records
// and the dialogs all read them through here.
#include <cstdint>
#include <optional>
#include <string>

// False for a text that is neither empty nor a whole number (blanks around it and a leading "+" are allowed).
// AValue is empty for an empty text.
bool ParseCatalogueInteger(const std::string& AText, std::optional<int64_t>& AValue);

// The value, or nothing when it is not set. Raises EConvertError ("'x' is not a valid integer value") for a
// text that is not a number or does not fit 32 bits.
std::optional<int> CatalogueInteger(const std::string& AText);
