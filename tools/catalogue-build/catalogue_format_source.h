#pragma once
// Reading the readable form of the shipped formats (formats.txt) and writing the stored form (Formats.dat).
#include <map>
#include <string>
#include <vector>

// One format: its attributes by key, as the source gives them after the defines were put in.
using TFormatSource = std::map<std::string, std::string>;

// The attribute keys of a stored format line, in the order they are written. "name" comes before the codec
// names, whose keys end in it, and every key is preceded by a blank, so that a reader that finds the first
// occurrence of key="..." never takes a value of another key.
const std::vector<std::string>& FormatKeys();

// Parses the source text. Throws std::runtime_error naming the line for anything it cannot take: an unknown
// key or define, a value holding a double quote, a format without id, name or extension.
std::vector<TFormatSource> ParseFormatSource(const std::string& AText);

// The plain text of Formats.dat: three header lines, one line per format, two closing lines.
std::string FormatsFileText(const std::vector<TFormatSource>& AFormats);

// Every byte complemented, as the stored file keeps it.
std::string Complemented(std::string AText);
