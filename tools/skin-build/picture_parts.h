#pragma once
// The picture rectangles of a skin record, as the contact sheets and the skin's tests need them: every non-empty
// rectangle the record holds, and whether its key names a part of a picture or a place inside the control.
#include <string>
#include <utility>
#include <vector>

#include "skin/core/skin_records_fields.h"

// AKind is the record's type word.
bool IsPicturePart(const std::string& AKind, const std::string& AKey);

class TRectCollector final : public TspFieldVisitor {
public:
    std::vector<std::pair<std::string, TRect>> Rects;
    void Rect(const char* Key, TRect& Field) override
    {
        if (Field.Right > Field.Left && Field.Bottom > Field.Top) Rects.emplace_back(Key, Field);
    }
    void Int(const char*, Integer&, Integer, Integer) override {}
    void Bool(const char*, bool&) override {}
    void Str(const char*, std::string&, const char*, const char*) override {}
    void Point(const char*, TPoint&) override {}
    void Style(const char*, TFontStyles&) override {}
    void Align(const char*, TAlignment&, TAlignment) override {}
    void Lines(const char*, TStrings*) override {}
    void Word(const char*, int&, const TspWordForm&, int) override {}
};
