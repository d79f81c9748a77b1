#include "platform/rtl/inifiles.h"

#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

// The file as sections of lines. Lines keep their text as read, so that a file-backed ini can write back what it
// did not change; the in-memory ini writes a normalised form instead.
struct TIniLine {
    std::string Raw;
    bool IsKey = false;
    std::string Key;
    std::string Value;
};

struct TIniSection {
    std::string Name;
    std::string HeaderRaw;
    std::vector<TIniLine> Lines;
};

struct TIniDocument {
    std::vector<TIniLine> Preamble;
    std::vector<TIniSection> Sections;
    std::string LineBreak = "\n";
    bool WriteBOM = false;

    static bool SameName(const std::string& A, const std::string& B)
    {
        if (SameText(A, B)) return true;
        bool ascii = std::all_of(A.begin(), A.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }) &&
                     std::all_of(B.begin(), B.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        return !ascii && AnsiUpperCase(A) == AnsiUpperCase(B);
    }

    TIniSection* FindSection(const std::string& AName)
    {
        for (auto& s : Sections) {
            if (SameName(s.Name, AName)) return &s;
        }
        return nullptr;
    }

    static TIniLine* FindKey(TIniSection* ASection, const std::string& AIdent)
    {
        if (!ASection) return nullptr;
        for (auto& l : ASection->Lines) {
            if (l.IsKey && SameName(l.Key, AIdent)) return &l;
        }
        return nullptr;
    }

    static TIniLine ParseLine(const std::string& ARaw)
    {
        TIniLine line;
        line.Raw = ARaw;
        std::string t = Trim(ARaw);
        if (t.empty() || t[0] == ';') return line;
        size_t eq = t.find('=');
        if (eq == std::string::npos) return line;
        line.IsKey = true;
        line.Key = Trim(t.substr(0, eq));
        line.Value = Trim(t.substr(eq + 1));
        return line;
    }

    void SetLines(TStrings* AList)
    {
        Preamble.clear();
        Sections.clear();
        for (Integer i = 0; i < AList->Count(); ++i) {
            std::string raw = AList->Strings(i);
            std::string t = Trim(raw);
            if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
                Sections.push_back(TIniSection{Trim(t.substr(1, t.size() - 2)), raw, {}});
            } else if (Sections.empty()) {
                Preamble.push_back(ParseLine(raw));
            } else {
                Sections.back().Lines.push_back(ParseLine(raw));
            }
        }
    }

    void Load(const std::string& AFileName)
    {
        Preamble.clear();
        Sections.clear();
        LineBreak = "\n";
        WriteBOM = false;
        if (access(AFileName.c_str(), F_OK) != 0) return;
        TMemoryStream data;
        TStringList lines;
        try {
            data.LoadFromFile(AFileName);
            lines.LoadFromStream(&data);
        } catch (const Exception&) {
            return;  // a missing or unreadable file is an empty one
        }
        auto* bytes = static_cast<const char*>(data.Memory());
        std::string_view view(bytes, static_cast<size_t>(data.Size()));
        WriteBOM = view.substr(0, 3) == "\xEF\xBB\xBF" || view.substr(0, 2) == "\xFF\xFE" ||
                   view.substr(0, 2) == "\xFE\xFF";
        size_t lf = view.find('\n');
        if (lf != std::string_view::npos && lf > 0 && view[lf - 1] == '\r') LineBreak = "\r\n";
        SetLines(&lines);
    }

    // Every line as it stands, changed lines in their new form.
    std::string RenderPreserving() const
    {
        std::string out = WriteBOM ? "\xEF\xBB\xBF" : "";
        for (const auto& l : Preamble) out += l.Raw + LineBreak;
        for (const auto& s : Sections) {
            out += s.HeaderRaw + LineBreak;
            for (const auto& l : s.Lines) out += l.Raw + LineBreak;
        }
        return out;
    }

    // "[section]", the entries, and an empty line after each section; comments and blank lines are dropped.
    void GetLines(TStrings* AList) const
    {
        AList->BeginUpdate();
        AList->Clear();
        for (const auto& s : Sections) {
            AList->Add("[" + s.Name + "]");
            for (const auto& l : s.Lines) {
                std::string t = Trim(l.Raw);
                if (l.IsKey) AList->Add(l.Key + "=" + l.Value);
                else if (!t.empty() && t[0] != ';') AList->Add(t);
            }
            AList->Add("");
        }
        AList->EndUpdate();
    }

    bool ReadValue(const std::string& ASection, const std::string& AIdent, std::string& AValue)
    {
        TIniLine* l = FindKey(FindSection(ASection), AIdent);
        if (!l) return false;
        AValue = l->Value;
        return true;
    }

    // A line break inside a name or value would start a new line of the file; it is written as a blank.
    static std::string OneLine(std::string S)
    {
        std::replace_if(S.begin(), S.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
        return S;
    }

    void WriteValue(const std::string& ASection, const std::string& AIdent, const std::string& AValue)
    {
        const std::string section = OneLine(ASection), ident = OneLine(AIdent), value = OneLine(AValue);
        TIniSection* s = FindSection(section);
        if (!s) {
            // A new section goes at the end, set off from the one before by an empty line.
            std::vector<TIniLine>& last = Sections.empty() ? Preamble : Sections.back().Lines;
            if (!(Sections.empty() && Preamble.empty()) && (last.empty() || !Trim(last.back().Raw).empty())) {
                last.push_back(TIniLine{});
            }
            Sections.push_back(TIniSection{section, "[" + section + "]", {}});
            s = &Sections.back();
        }
        TIniLine line{ident + "=" + value, true, ident, Trim(value)};
        if (TIniLine* existing = FindKey(s, ident)) {
            *existing = line;
            return;
        }
        // After the last entry, ahead of the blank lines that close the section.
        auto it = s->Lines.end();
        while (it != s->Lines.begin() && !std::prev(it)->IsKey && Trim(std::prev(it)->Raw).empty()) --it;
        s->Lines.insert(it, line);
    }

    bool EraseSection(const std::string& ASection)
    {
        auto n = Sections.size();
        std::erase_if(Sections, [&](const TIniSection& s) { return SameName(s.Name, ASection); });
        return n != Sections.size();
    }

    bool DeleteKey(const std::string& ASection, const std::string& AIdent)
    {
        TIniSection* s = FindSection(ASection);
        TIniLine* l = FindKey(s, AIdent);
        if (!l) return false;
        s->Lines.erase(s->Lines.begin() + (l - s->Lines.data()));
        return true;
    }

    void ReadSection(const std::string& ASection, TStrings* AStrings)
    {
        AStrings->BeginUpdate();
        AStrings->Clear();
        if (TIniSection* s = FindSection(ASection)) {
            for (const auto& l : s->Lines) {
                if (l.IsKey) AStrings->Add(l.Key);
            }
        }
        AStrings->EndUpdate();
    }

    void ReadSections(TStrings* AStrings)
    {
        AStrings->BeginUpdate();
        AStrings->Clear();
        std::vector<std::string> seen;
        for (const auto& s : Sections) {
            if (std::none_of(seen.begin(), seen.end(), [&](const std::string& n) { return SameName(n, s.Name); })) {
                seen.push_back(s.Name);
                AStrings->Add(s.Name);
            }
        }
        AStrings->EndUpdate();
    }

    void ReadSectionValues(const std::string& ASection, TStrings* AStrings)
    {
        AStrings->BeginUpdate();
        AStrings->Clear();
        if (TIniSection* s = FindSection(ASection)) {
            for (const auto& l : s->Lines) {
                if (l.IsKey) AStrings->Add(l.Key + "=" + l.Value);
            }
        }
        AStrings->EndUpdate();
    }
};

// ---- TCustomIniFile --------------------------------------------------------------------------------------------

Integer TCustomIniFile::ReadInteger(const std::string& ASection, const std::string& AIdent, Integer ADefault)
{
    return StrToIntDef(ReadString(ASection, AIdent, ""), ADefault);
}

void TCustomIniFile::WriteInteger(const std::string& ASection, const std::string& AIdent, Integer AValue)
{
    WriteString(ASection, AIdent, IntToStr(AValue));
}

bool TCustomIniFile::ReadBool(const std::string& ASection, const std::string& AIdent, bool ADefault)
{
    return ReadInteger(ASection, AIdent, ADefault ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& ASection, const std::string& AIdent, bool AValue)
{
    WriteString(ASection, AIdent, AValue ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const std::string& ASection, const std::string& AIdent, double ADefault)
{
    return StrToFloatDef(ReadString(ASection, AIdent, ""), ADefault);
}

void TCustomIniFile::WriteFloat(const std::string& ASection, const std::string& AIdent, double AValue)
{
    WriteString(ASection, AIdent, FloatToStr(AValue));
}

bool TCustomIniFile::SectionExists(const std::string& ASection)
{
    TStringList keys;
    ReadSection(ASection, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& ASection, const std::string& AIdent)
{
    TStringList keys;
    ReadSection(ASection, &keys);
    return keys.IndexOf(AIdent) >= 0;
}

// ---- TIniFile --------------------------------------------------------------------------------------------------

TIniFile::TIniFile(const std::string& AFileName) : TCustomIniFile(AFileName), FDocument(new TIniDocument) {}

TIniFile::~TIniFile() = default;

TIniFile::TFileStamp TIniFile::CurrentStamp() const
{
    struct stat st{};
    if (stat(FFileName.c_str(), &st) != 0) return {};
    return {true, static_cast<int64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, static_cast<uint64_t>(st.st_ino)};
}

void TIniFile::Refresh()
{
    // Another program (or another TIniFile) may have changed the file since we last looked.
    TFileStamp stamp = CurrentStamp();
    if (FLoaded && stamp == FStamp) return;
    FDocument->Load(FFileName);
    FStamp = stamp;
    FLoaded = true;
}

void TIniFile::Store()
{
    if (!WriteFileAtomically(FFileName, FDocument->RenderPreserving())) {
        FLoaded = false;  // what we hold was not written: read the file again next time
        throw EIniFileException("Unable to write to " + FFileName);
    }
    FStamp = CurrentStamp();
}

std::string TIniFile::ReadString(const std::string& ASection, const std::string& AIdent, const std::string& ADefault)
{
    Refresh();
    std::string value;
    if (!FDocument->ReadValue(ASection, AIdent, value)) return ADefault;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

void TIniFile::WriteString(const std::string& ASection, const std::string& AIdent, const std::string& AValue)
{
    Refresh();
    FDocument->WriteValue(ASection, AIdent, AValue);
    Store();
}

void TIniFile::ReadSection(const std::string& ASection, TStrings* AStrings)
{
    Refresh();
    FDocument->ReadSection(ASection, AStrings);
}

void TIniFile::ReadSections(TStrings* AStrings)
{
    Refresh();
    FDocument->ReadSections(AStrings);
}

void TIniFile::ReadSectionValues(const std::string& ASection, TStrings* AStrings)
{
    Refresh();
    FDocument->ReadSectionValues(ASection, AStrings);
}

void TIniFile::EraseSection(const std::string& ASection)
{
    Refresh();
    if (FDocument->EraseSection(ASection)) Store();
}

void TIniFile::DeleteKey(const std::string& ASection, const std::string& AIdent)
{
    Refresh();
    if (FDocument->DeleteKey(ASection, AIdent)) Store();
}

// ---- TMemIniFile -----------------------------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const std::string& AFileName) : TCustomIniFile(AFileName), FDocument(new TIniDocument)
{
    Load();
}

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::Load()
{
    if (FFileName.empty()) return;
    FDocument->Load(FFileName);
    // Held in the normalised form from the start, as it will be written.
    TStringList lines;
    FDocument->GetLines(&lines);
    FDocument->SetLines(&lines);
}

std::string TMemIniFile::ReadString(const std::string& ASection, const std::string& AIdent,
                                    const std::string& ADefault)
{
    std::string value;
    return FDocument->ReadValue(ASection, AIdent, value) ? value : ADefault;
}

void TMemIniFile::WriteString(const std::string& ASection, const std::string& AIdent, const std::string& AValue)
{
    FDocument->WriteValue(ASection, AIdent, AValue);
}

void TMemIniFile::ReadSection(const std::string& ASection, TStrings* AStrings)
{
    FDocument->ReadSection(ASection, AStrings);
}

void TMemIniFile::ReadSections(TStrings* AStrings) { FDocument->ReadSections(AStrings); }

void TMemIniFile::ReadSectionValues(const std::string& ASection, TStrings* AStrings)
{
    FDocument->ReadSectionValues(ASection, AStrings);
}

void TMemIniFile::EraseSection(const std::string& ASection) { FDocument->EraseSection(ASection); }

void TMemIniFile::DeleteKey(const std::string& ASection, const std::string& AIdent)
{
    FDocument->DeleteKey(ASection, AIdent);
}

void TMemIniFile::UpdateFile()
{
    TStringList lines;
    GetStrings(&lines);
    lines.SaveToFile(FFileName);
}

void TMemIniFile::Clear()
{
    FDocument->Preamble.clear();
    FDocument->Sections.clear();
}

void TMemIniFile::GetStrings(TStrings* AList) { FDocument->GetLines(AList); }

void TMemIniFile::SetStrings(TStrings* AList)
{
    FDocument->SetLines(AList);
    TStringList lines;
    FDocument->GetLines(&lines);
    FDocument->SetLines(&lines);
}

void TMemIniFile::Rename(const std::string& AFileName, bool AReload)
{
    FFileName = AFileName;
    if (AReload) {
        Clear();
        Load();
    }
}
