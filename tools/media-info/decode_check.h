#pragma once
// The --decode check of media-info: every picture and sound block of a file decoded with their times printed,
// then a step back from the last picture to the first, each step checked against the forward times.
#include <cstdio>
#include <string>

class TFFDecoder;

// Prints to AOut; false when the file cannot be opened or a step back disagrees with the forward times.
bool DecodeCheck(TFFDecoder& ADecoder, const std::string& AFileName, std::FILE* AOut);
