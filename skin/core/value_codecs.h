#pragma once
// The text forms of skin-description values (rectangles, points, booleans, font styles, alignments, line and item
// lists) and their readers and writers on an ini file. Every skin record reads and writes its values here.
#include <string>

#include "platform/gui/graphics.h"
#include "platform/rtl/classes.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/types.h"

// Fields split at ","; only digits (and a leading minus) count; a field without digits raises EConvertError.
void ParsePointText(const std::string& Text, TPoint& P);
void ParseRectText(const std::string& Text, TRect& R);
std::string RectToText(const TRect& R);

// Puts the file, section and key in front of the message of an error raised while reading that key, so that a
// skin author can find the value; the error keeps its class. A description read from a stored skin has no file.
void AddIniKeyToError(Exception& AError, TCustomIniFile* IniFile, const std::string& Section,
                      const std::string& Ident);

// A malformed rectangle or point raises EConvertError naming the file, section and key.
void ReadIniRect(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TRect& R);
void ReadIniPoint(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TPoint& P);
bool ReadIniBool(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident);
TFontStyles ReadIniFontStyle(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident);
// The value of a key that is there; false for a missing key.
bool ReadIniEntry(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, std::string& Value);
// Both append to Strings without clearing it first. A count in a skin file is only a claim: the list ends at the
// first entry that is missing, so a huge count costs no more than the entries the file really holds.
void ReadIniLines(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TStrings* Strings);
void ReadIniList(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TStrings* Strings);
TAlignment ReadIniAlignment(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident);

void WriteIniRect(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, const TRect& R);
void WriteIniPoint(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, const TPoint& P);
void WriteIniBool(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, bool Value);
void WriteIniFontStyle(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                       TFontStyles Style);
void WriteIniLines(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TStrings* Strings);
void WriteIniList(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TStrings* Strings);
void WriteIniAlignment(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                       TAlignment Value);
