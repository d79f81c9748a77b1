#include "skin/core/skin_records_fields.h"

void TspFieldReader::Int(const char* Key, Integer& Field, Integer Default, Integer)
{
    Field = FIni->ReadInteger(FSection, Key, Default);
}

void TspFieldReader::Bool(const char* Key, bool& Field) { Field = ReadIniBool(FIni, FSection, Key); }

void TspFieldReader::Str(const char* Key, std::string& Field, const char* Default, const char*)
{
    Field = FIni->ReadString(FSection, Key, Default);
}

void TspFieldReader::Rect(const char* Key, TRect& Field) { ReadIniRect(FIni, FSection, Key, Field); }
void TspFieldReader::Point(const char* Key, TPoint& Field) { ReadIniPoint(FIni, FSection, Key, Field); }
void TspFieldReader::Style(const char* Key, TFontStyles& Field) { Field = ReadIniFontStyle(FIni, FSection, Key); }

void TspFieldReader::Align(const char* Key, TAlignment& Field, TAlignment)
{
    Field = ReadIniAlignment(FIni, FSection, Key);
}

void TspFieldReader::Lines(const char* Key, TStrings* Field) { ReadIniLines(FIni, FSection, Key, Field); }

void TspFieldReader::Word(const char* Key, int& Field, const TspWordForm& Form, int)
{
    Field = ReadIniWord(FIni, FSection, Key, Form);
}

void TspFieldWriter::Int(const char* Key, Integer& Field, Integer, Integer)
{
    FIni->WriteInteger(FSection, Key, Field);
}
void TspFieldWriter::Bool(const char* Key, bool& Field) { WriteIniBool(FIni, FSection, Key, Field); }

void TspFieldWriter::Str(const char* Key, std::string& Field, const char*, const char*)
{
    FIni->WriteString(FSection, Key, Field);
}

void TspFieldWriter::Rect(const char* Key, TRect& Field) { WriteIniRect(FIni, FSection, Key, Field); }
void TspFieldWriter::Point(const char* Key, TPoint& Field) { WriteIniPoint(FIni, FSection, Key, Field); }
void TspFieldWriter::Style(const char* Key, TFontStyles& Field) { WriteIniFontStyle(FIni, FSection, Key, Field); }

void TspFieldWriter::Align(const char* Key, TAlignment& Field, TAlignment)
{
    WriteIniAlignment(FIni, FSection, Key, Field);
}

void TspFieldWriter::Lines(const char* Key, TStrings* Field) { WriteIniLines(FIni, FSection, Key, Field); }

void TspFieldWriter::Word(const char* Key, int& Field, const TspWordForm& Form, int)
{
    WriteIniWord(FIni, FSection, Key, Form, Field);
}
