#include "skin/core/value_codecs.h"

#include <algorithm>
#include <array>

#include "platform/rtl/sysutils.h"

namespace {

// Splits at "," into at most N fields, keeping digits and a minus that opens a field; fields beyond the N-th
// are ignored. The minus is kept so that the negative numbers the writers produce read back as written.
template <size_t N>
std::array<Integer, N> ParseFields(const std::string& Text)
{
    std::array<std::string, N> fields;
    size_t field = 0;
    for (const char ch : Text) {
        if (field >= N) break;
        if (ch == ',') {
            ++field;
        } else if ((ch >= '0' && ch <= '9') || (ch == '-' && fields[field].empty())) {
            fields[field] += ch;
        }
    }
    std::array<Integer, N> values{};
    for (size_t i = 0; i < N; ++i) values[i] = StrToInt(fields[i]);
    return values;
}

const std::pair<TFontStyle, const char*> kStyleWords[] = {
    {fsBold, "fsbold"}, {fsItalic, "fsitalic"}, {fsUnderline, "fsunderline"}, {fsStrikeOut, "fsstrikeout"}};

}  // namespace

void ParsePointText(const std::string& Text, TPoint& P)
{
    const auto v = ParseFields<2>(Text);
    P = {v[0], v[1]};
}

void ParseRectText(const std::string& Text, TRect& R)
{
    const auto v = ParseFields<4>(Text);
    R = {v[0], v[1], v[2], v[3]};
}

std::string RectToText(const TRect& R)
{
    return IntToStr(R.Left) + "," + IntToStr(R.Top) + "," + IntToStr(R.Right) + "," + IntToStr(R.Bottom);
}

void AddIniKeyToError(Exception& AError, TCustomIniFile* IniFile, const std::string& Section,
                      const std::string& Ident)
{
    const std::string file = IniFile->FileName().empty() ? "stored skin description" : IniFile->FileName();
    AError.SetMessage(Format("%s, section [%s], key \"%s\": %s", {file, Section, Ident, AError.Message()}));
}

void ReadIniRect(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TRect& R)
{
    try {
        ParseRectText(IniFile->ReadString(Section, Ident, "0,0,0,0"), R);
    } catch (Exception& e) {
        AddIniKeyToError(e, IniFile, Section, Ident);
        throw;
    }
}

void ReadIniPoint(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TPoint& P)
{
    try {
        ParsePointText(IniFile->ReadString(Section, Ident, "0,0"), P);
    } catch (Exception& e) {
        AddIniKeyToError(e, IniFile, Section, Ident);
        throw;
    }
}

bool ReadIniBool(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident)
{
    return IniFile->ReadInteger(Section, Ident, 0) == 1;
}

TFontStyles ReadIniFontStyle(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident)
{
    const std::string text = IniFile->ReadString(Section, Ident, "");
    TFontStyles styles;
    for (const auto& [style, word] : kStyleWords)
        if (text.find(word) != std::string::npos) styles.Include(style);
    return styles;
}

bool ReadIniEntry(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, std::string& Value)
{
    // No value read from a file holds a line break, so this default can only mean a missing key.
    static const std::string kMissing = "\n";
    Value = IniFile->ReadString(Section, Ident, kMissing);
    return Value != kMissing;
}

void ReadIniLines(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TStrings* Strings)
{
    // A line missing from the numbering reads as empty, so the lines after a gap keep their places; the list ends
    // with its last line that is there, so a damaged count cannot make up lines (nor exhaust the memory).
    const Integer count = IniFile->ReadInteger(Section, Ident + "linecount", 0);
    const std::string prefix = LowerCase(Ident + "line");
    TStringList keys;
    IniFile->ReadSection(Section, &keys);
    Integer lines = 0;
    for (Integer k = 0; k < keys.Count(); ++k) {
        const std::string key = LowerCase(keys.Strings(k));
        if (key.size() <= prefix.size() || key.size() > prefix.size() + 9 || key.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string number = key.substr(prefix.size());
        if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
        const Integer index = std::stoi(number);
        if (index < count) lines = std::max(lines, index + 1);
    }
    for (Integer i = 0; i < lines; ++i) Strings->Add(IniFile->ReadString(Section, Ident + "line" + IntToStr(i), ""));
}

void ReadIniList(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TStrings* Strings)
{
    const Integer count = IniFile->ReadInteger(Section, Ident + "count", 0);
    std::string item;
    for (Integer i = 0; i < count && ReadIniEntry(IniFile, Section, IntToStr(i), item); ++i) Strings->Add(item);
}

TAlignment ReadIniAlignment(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident)
{
    const std::string text = IniFile->ReadString(Section, Ident, "tacenter");
    if (text == "tacenter") return taCenter;
    if (text == "taleftjustify") return taLeftJustify;
    return taRightJustify;
}

void WriteIniRect(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, const TRect& R)
{
    IniFile->WriteString(Section, Ident, RectToText(R));
}

void WriteIniPoint(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, const TPoint& P)
{
    IniFile->WriteString(Section, Ident, IntToStr(P.X) + "," + IntToStr(P.Y));
}

void WriteIniBool(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, bool Value)
{
    IniFile->WriteInteger(Section, Ident, Value ? 1 : 0);
}

void WriteIniFontStyle(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                       TFontStyles Style)
{
    std::string text;
    for (const auto& [style, word] : kStyleWords)
        if (Style.Contains(style)) text += (text.empty() ? "" : ",") + std::string(word);
    IniFile->WriteString(Section, Ident, text);
}

void WriteIniLines(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TStrings* Strings)
{
    IniFile->WriteInteger(Section, Ident + "linecount", Strings->Count());
    for (Integer i = 0; i < Strings->Count(); ++i)
        IniFile->WriteString(Section, Ident + "line" + IntToStr(i), Strings->Strings(i));
}

void WriteIniList(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident, TStrings* Strings)
{
    IniFile->WriteInteger(Section, Ident + "count", Strings->Count());
    for (Integer i = 0; i < Strings->Count(); ++i) IniFile->WriteString(Section, IntToStr(i), Strings->Strings(i));
}

void WriteIniAlignment(TCustomIniFile* IniFile, const std::string& Section, const std::string& Ident,
                       TAlignment Value)
{
    const char* word = Value == taCenter ? "tacenter" : Value == taLeftJustify ? "taleftjustify" : "tarightjustify";
    IniFile->WriteString(Section, Ident, word);
}
