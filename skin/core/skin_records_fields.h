#pragma once
// Every skin record lists its keys once, in writing order, as rows of (key, value form, default when the key is
// missing, constructor value) bound to its fields. One list serves the constructor, the reader and the writer, so
// the three can never disagree about a key.
#include <string>

#include "platform/gdi/colors.h"
#include "platform/gui/graphics.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/types.h"
#include "skin/core/skin_file_forms.h"
#include "skin/core/value_codecs.h"

class TspFieldVisitor {
public:
    virtual ~TspFieldVisitor() = default;

    virtual void Int(const char* Key, Integer& Field, Integer Default, Integer Ctor) = 0;
    // Colours are integers in the file; they differ only in name.
    void Color(const char* Key, TColor& Field, TColor Default, TColor Ctor) { Int(Key, Field, Default, Ctor); }
    virtual void Bool(const char* Key, bool& Field) = 0;  // default and constructor value False
    virtual void Str(const char* Key, std::string& Field, const char* Default, const char* Ctor) = 0;
    virtual void Rect(const char* Key, TRect& Field) = 0;    // 0,0,0,0
    virtual void Point(const char* Key, TPoint& Field) = 0;  // 0,0
    virtual void Style(const char* Key, TFontStyles& Field) = 0;
    virtual void Align(const char* Key, TAlignment& Field, TAlignment Ctor) = 0;  // default centred
    virtual void Lines(const char* Key, TStrings* Field) = 0;
    virtual void Word(const char* Key, int& Field, const TspWordForm& Form, int Ctor) = 0;

    template <typename E>
    void Enum(const char* Key, E& Field, const TspWordForm& Form, E Ctor)
    {
        int value = Field;
        Word(Key, value, Form, Ctor);
        Field = static_cast<E>(value);
    }
};

// Sets the constructor values.
class TspFieldConstructor final : public TspFieldVisitor {
public:
    void Int(const char*, Integer& Field, Integer, Integer Ctor) override { Field = Ctor; }
    void Bool(const char*, bool& Field) override { Field = false; }
    void Str(const char*, std::string& Field, const char*, const char* Ctor) override { Field = Ctor; }
    void Rect(const char*, TRect& Field) override { Field = TRect{}; }
    void Point(const char*, TPoint& Field) override { Field = TPoint{}; }
    void Style(const char*, TFontStyles& Field) override { Field = TFontStyles(); }
    void Align(const char*, TAlignment& Field, TAlignment Ctor) override { Field = Ctor; }
    void Lines(const char*, TStrings* Field) override { Field->Clear(); }
    void Word(const char*, int& Field, const TspWordForm&, int Ctor) override { Field = Ctor; }
};

// Reads the keys of one section; a missing key gives its default.
class TspFieldReader final : public TspFieldVisitor {
public:
    TspFieldReader(TCustomIniFile* IniFile, std::string Section) : FIni(IniFile), FSection(std::move(Section)) {}
    void Int(const char* Key, Integer& Field, Integer Default, Integer) override;
    void Bool(const char* Key, bool& Field) override;
    void Str(const char* Key, std::string& Field, const char* Default, const char*) override;
    void Rect(const char* Key, TRect& Field) override;
    void Point(const char* Key, TPoint& Field) override;
    void Style(const char* Key, TFontStyles& Field) override;
    void Align(const char* Key, TAlignment& Field, TAlignment) override;
    void Lines(const char* Key, TStrings* Field) override;
    void Word(const char* Key, int& Field, const TspWordForm& Form, int) override;

private:
    TCustomIniFile* FIni;
    std::string FSection;
};

// Writes every key of one section in row order.
class TspFieldWriter final : public TspFieldVisitor {
public:
    TspFieldWriter(TCustomIniFile* IniFile, std::string Section) : FIni(IniFile), FSection(std::move(Section)) {}
    void Int(const char* Key, Integer& Field, Integer, Integer) override;
    void Bool(const char* Key, bool& Field) override;
    void Str(const char* Key, std::string& Field, const char*, const char*) override;
    void Rect(const char* Key, TRect& Field) override;
    void Point(const char* Key, TPoint& Field) override;
    void Style(const char* Key, TFontStyles& Field) override;
    void Align(const char* Key, TAlignment& Field, TAlignment) override;
    void Lines(const char* Key, TStrings* Field) override;
    void Word(const char* Key, int& Field, const TspWordForm& Form, int) override;

private:
    TCustomIniFile* FIni;
    std::string FSection;
};
