#include "platform/rtl/registry.h"

#include "platform/rtl/inifiles.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/utf8.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <pwd.h>
#include <unistd.h>

namespace {

// One process-wide lock: every TRegistry reads, changes and writes the same file.
std::mutex& SettingsMutex()
{
    static std::mutex m;
    return m;
}

const char* const TypeString = "sz";
const char* const TypeInteger = "dword";
const char* const TypeBinary = "bin";

std::string HexByte(unsigned char c)
{
    const char* digits = "0123456789ABCDEF";
    return {digits[c >> 4], digits[c & 15]};
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Percent-escapes what the line format cannot hold as it is: '%', control characters, blanks at either end (the
// ini rules trim them), bytes that are not part of a UTF-8 character (an old Latin-1 folder name), and for names
// also '=' and a leading '[' or ';'. Any byte string comes back as it was.
std::string Escape(const std::string& S, bool AName)
{
    std::string out;
    for (size_t i = 0; i < S.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(S[i]);
        if (c >= 0x80) {
            size_t next = i;
            bool valid = false;
            Utf8Next(S, next, &valid);
            if (valid) {
                out.append(S, i, next - i);
                i = next - 1;
            } else {
                out += "%" + HexByte(c);
            }
            continue;
        }
        bool edge_blank = c == ' ' && (i == 0 || i + 1 == S.size());
        bool special = c == '%' || c < 0x20 || c == 0x7F || edge_blank ||
                       (AName && (c == '=' || (i == 0 && (c == '[' || c == ';'))));
        if (special) out += "%" + HexByte(c);
        else out += static_cast<char>(c);
    }
    return out;
}

bool Unescape(const std::string& S, std::string& AOut)
{
    AOut.clear();
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] != '%') {
            AOut += S[i];
            continue;
        }
        if (i + 2 >= S.size()) return false;
        int hi = HexValue(S[i + 1]), lo = HexValue(S[i + 2]);
        if (hi < 0 || lo < 0) return false;
        AOut += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return true;
}

// The unnamed (default) value is "@".
std::string EncodeName(const std::string& AName)
{
    if (AName.empty()) return "@";
    if (AName == "@") return "%40";
    return Escape(AName, true);
}

bool DecodeName(const std::string& AKey, std::string& AName)
{
    if (AKey == "@") {
        AName.clear();
        return true;
    }
    return Unescape(AKey, AName);
}

bool IsValidUtf8Text(const std::string& S) { return S.find('\0') == std::string::npos && IsValidUtf8(S); }

// Every NUL and every byte outside a UTF-8 character as its percent escape; the rest as it is.
std::string EscapeMalformed(const std::string& S)
{
    std::string out;
    for (size_t i = 0; i < S.size();) {
        size_t next = i;
        bool valid = false;
        Utf8Next(S, next, &valid);
        if (valid && S[i] != '\0')
            out.append(S, i, next - i);
        else
            out += "%" + HexByte(static_cast<unsigned char>(S[i]));
        i = next;
    }
    return out;
}

// The settings file in memory, with what is needed to write it back safely.
class TSettingsFile {
public:
    TSettingsFile() : FFileName(RegistrySettingsFileName()), FIni("") { Load(); }

    TMemIniFile& Ini() { return FIni; }

    bool SectionExists(const std::string& ASection)
    {
        TStringList sections;
        FIni.ReadSections(&sections);
        return sections.IndexOf(ASection) >= 0;
    }

    // A key exists when it has its own section or a key below it does.
    bool KeyExists(const std::string& APath)
    {
        if (APath.empty() || SectionExists(APath)) return true;
        TStringList sections;
        FIni.ReadSections(&sections);
        std::string prefix = APath + "\\";
        for (Integer i = 0; i < sections.Count(); ++i) {
            if (CompareText(sections.Strings(i).substr(0, prefix.size()), prefix) == 0) return true;
        }
        return false;
    }

    // Like the registry, creating a key creates the keys above it.
    void CreateSections(const std::string& APath)
    {
        std::string path;
        size_t start = 0;
        while (true) {
            size_t sep = APath.find('\\', start);
            path = APath.substr(0, sep);
            if (!SectionExists(path)) AddEmptySection(path);
            if (sep == std::string::npos) break;
            start = sep + 1;
        }
    }

    void Save()
    {
        if (FDamaged) MoveDamagedAside();
        TStringList lines;
        FIni.GetStrings(&lines);
        ForceDirectories(ExtractFilePath(FFileName));
        if (!WriteFileAtomically(FFileName, lines.Text())) throw ERegistryException("Failed to write " + FFileName);
        FDamaged = false;
    }

private:
    void AddEmptySection(const std::string& ASection)
    {
        TStringList lines;
        FIni.GetStrings(&lines);
        lines.Add("[" + ASection + "]");
        lines.Add("");
        FIni.SetStrings(&lines);
    }

    void Load()
    {
        TMemoryStream data;
        if (access(FFileName.c_str(), F_OK) != 0) return;
        try {
            data.LoadFromFile(FFileName);
        } catch (const Exception&) {
            FDamaged = true;  // there but unreadable
            return;
        }
        std::string text(static_cast<const char*>(data.Memory()), static_cast<size_t>(data.Size()));
        // Bytes that are not text (written raw by an older run, or damage) are taken as their escapes, which is
        // what they stand for in a value; a bad line spoils only its own value, never the whole file.
        if (!IsValidUtf8Text(text)) text = EscapeMalformed(text);
        TStringList lines;
        lines.SetText(text);
        FIni.SetStrings(&lines);
    }

    // What the user had is kept beside the new file rather than written over.
    void MoveDamagedAside()
    {
        std::string aside = FFileName + ".damaged";
        for (int n = 2; n < 100 && !RenameFile(FFileName, aside); ++n) {
            if (access(FFileName.c_str(), F_OK) != 0) return;
            aside = FFileName + ".damaged-" + std::to_string(n);
        }
    }

    std::string FFileName;
    TMemIniFile FIni;
    bool FDamaged = false;
};

std::string RootName(HKEY ARoot)
{
    switch (ARoot) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    case HKEY_CURRENT_CONFIG: return "HKEY_CURRENT_CONFIG";
    default: return "";
    }
}

std::string StripDelimiters(std::string S)
{
    while (!S.empty() && S.front() == '\\') S.erase(0, 1);
    while (!S.empty() && S.back() == '\\') S.pop_back();
    return S;
}

}  // namespace

std::string RegistrySettingsFileName()
{
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        std::string h = home && home[0] ? home : "";
        if (h.empty()) {
            if (struct passwd* pw = getpwuid(getuid())) h = pw->pw_dir;
        }
        base = h + "/.config";
    }
    return IncludeTrailingPathDelimiter(base) + "Brindlewave/Quennary/settings.ini";
}

void TRegistry::SetRootKey(HKEY AValue)
{
    CloseKey();
    FRootKey = AValue;
}

std::string TRegistry::FullPath(const std::string& AKey) const
{
    bool relative = AKey.empty() || AKey.front() != '\\';
    std::string key = StripDelimiters(AKey);
    if (relative && FKeyOpen && !FCurrentPath.empty()) return key.empty() ? FCurrentPath : FCurrentPath + "\\" + key;
    return key;
}

std::string TRegistry::SectionOf(const std::string& APath) const
{
    std::string root = RootName(FRootKey);
    if (root.empty()) return APath;
    return APath.empty() ? root : root + "\\" + APath;
}

bool TRegistry::OpenKey(const std::string& AKey, bool ACanCreate)
{
    std::string path = FullPath(AKey);
    {
        std::lock_guard lock(SettingsMutex());
        TSettingsFile settings;
        std::string section = SectionOf(path);
        if (!settings.KeyExists(section)) {
            if (!ACanCreate) return false;
            settings.CreateSections(section);
            try {
                settings.Save();
            } catch (const ERegistryException&) {
                return false;
            }
        }
    }
    FCurrentPath = path;
    FKeyOpen = true;
    FReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& AKey)
{
    if (!OpenKey(AKey, false)) return false;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey()
{
    FCurrentPath.clear();
    FKeyOpen = false;
    FReadOnly = false;
}

bool TRegistry::CreateKey(const std::string& AKey)
{
    std::string section = SectionOf(FullPath(AKey));
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    if (settings.KeyExists(section) && settings.SectionExists(section)) return true;
    settings.CreateSections(section);
    try {
        settings.Save();
    } catch (const ERegistryException&) {
        throw ERegistryException("Failed to create key " + AKey);
    }
    return true;
}

bool TRegistry::KeyExists(const std::string& AKey)
{
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    return settings.KeyExists(SectionOf(FullPath(AKey)));
}

bool TRegistry::DeleteKey(const std::string& AKey)
{
    std::string section = SectionOf(FullPath(AKey));
    if (StripDelimiters(section).empty()) return false;
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    if (!settings.KeyExists(section)) return false;
    TStringList sections;
    settings.Ini().ReadSections(&sections);
    std::string prefix = section + "\\";
    for (Integer i = 0; i < sections.Count(); ++i) {
        const std::string name = sections.Strings(i);
        if (SameText(name, section) || CompareText(name.substr(0, prefix.size()), prefix) == 0) {
            settings.Ini().EraseSection(name);
        }
    }
    try {
        settings.Save();
    } catch (const ERegistryException&) {
        return false;
    }
    return true;
}

bool TRegistry::HasSubKeys()
{
    TStringList names;
    GetKeyNames(&names);
    return names.Count() > 0;
}

bool TRegistry::ValueExists(const std::string& AName)
{
    std::string type, data;
    return ReadRaw(AName, type, data);
}

bool TRegistry::DeleteValue(const std::string& AName)
{
    if (!FKeyOpen || FReadOnly) return false;
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    std::string section = SectionOf(FCurrentPath);
    std::string key = EncodeName(AName);
    if (!settings.Ini().ValueExists(section, key)) return false;
    settings.Ini().DeleteKey(section, key);
    // The key stays when its last value goes.
    if (!settings.SectionExists(section)) settings.CreateSections(section);
    try {
        settings.Save();
    } catch (const ERegistryException&) {
        return false;
    }
    return true;
}

TRegDataType TRegistry::GetDataType(const std::string& AName)
{
    std::string type, data;
    if (!ReadRaw(AName, type, data)) return rdUnknown;
    if (type == TypeString) return rdString;
    if (type == TypeInteger) return rdInteger;
    if (type == TypeBinary) return rdBinary;
    return rdUnknown;
}

void TRegistry::GetValueNames(TStrings* AStrings)
{
    AStrings->Clear();
    if (!FKeyOpen) return;
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    TStringList keys;
    settings.Ini().ReadSection(SectionOf(FCurrentPath), &keys);
    for (Integer i = 0; i < keys.Count(); ++i) {
        std::string name;
        if (DecodeName(keys.Strings(i), name)) AStrings->Add(name);
    }
}

void TRegistry::GetKeyNames(TStrings* AStrings)
{
    AStrings->Clear();
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    TStringList sections;
    settings.Ini().ReadSections(&sections);
    std::string base = SectionOf(FKeyOpen ? FCurrentPath : "");
    std::string prefix = base.empty() ? "" : base + "\\";
    TStringList children;
    children.SetSorted(true);
    for (Integer i = 0; i < sections.Count(); ++i) {
        const std::string name = sections.Strings(i);
        if (name.size() <= prefix.size() || CompareText(name.substr(0, prefix.size()), prefix) != 0) continue;
        std::string rest = name.substr(prefix.size());
        // Without a prefix (the root of the current user) the other roots' sections are not keys of it.
        if (prefix.empty()) {
            std::string first = rest.substr(0, rest.find('\\'));
            if (first == "HKEY_CLASSES_ROOT" || first == "HKEY_LOCAL_MACHINE" || first == "HKEY_USERS" ||
                first == "HKEY_CURRENT_CONFIG") {
                continue;
            }
        }
        std::string child = rest.substr(0, rest.find('\\'));
        if (!child.empty()) children.Add(child);
    }
    AStrings->AddStrings(&children);
}

bool TRegistry::ReadRaw(const std::string& AName, std::string& AType, std::string& AData)
{
    if (!FKeyOpen) return false;
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    std::string section = SectionOf(FCurrentPath);
    std::string key = EncodeName(AName);
    if (!settings.Ini().ValueExists(section, key)) return false;
    std::string raw = settings.Ini().ReadString(section, key, "");
    size_t colon = raw.find(':');
    if (colon == std::string::npos) return false;
    AType = raw.substr(0, colon);
    AData = raw.substr(colon + 1);
    return AType == TypeString || AType == TypeInteger || AType == TypeBinary;
}

TRegistry::TRegistry() = default;
TRegistry::~TRegistry() = default;

void TRegistry::BeginUpdate()
{
    FUpdating = true;
    FPending.clear();
}

void TRegistry::EndUpdate()
{
    if (!FUpdating) return;
    FUpdating = false;
    std::vector<TPendingWrite> pending;
    pending.swap(FPending);
    if (pending.empty()) return;
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    for (const TPendingWrite& write : pending) {
        settings.CreateSections(write.Section);
        settings.Ini().WriteString(write.Section, write.Key, write.Value);
    }
    settings.Save();
}

void TRegistry::WriteRaw(const std::string& AName, const std::string& AType, const std::string& AData)
{
    if (!FKeyOpen || FReadOnly) throw ERegistryException("Failed to set data for '" + AName + "'");
    if (FUpdating) {
        FPending.push_back({SectionOf(FCurrentPath), EncodeName(AName), AType + ":" + AData});
        return;
    }
    std::lock_guard lock(SettingsMutex());
    TSettingsFile settings;
    std::string section = SectionOf(FCurrentPath);
    settings.CreateSections(section);
    settings.Ini().WriteString(section, EncodeName(AName), AType + ":" + AData);
    try {
        settings.Save();
    } catch (const ERegistryException&) {
        throw ERegistryException("Failed to set data for '" + AName + "'");
    }
}

std::string TRegistry::ReadString(const std::string& AName)
{
    std::string type, data, text;
    if (!ReadRaw(AName, type, data)) return "";
    if (type != TypeString || !Unescape(data, text)) throw ERegistryException("Invalid data type for '" + AName + "'");
    return text;
}

Integer TRegistry::ReadInteger(const std::string& AName)
{
    std::string type, data;
    if (!ReadRaw(AName, type, data)) throw ERegistryException("Failed to get data for '" + AName + "'");
    Integer value;
    if (type != TypeInteger || !TryStrToInt(data, value)) {
        throw ERegistryException("Invalid data type for '" + AName + "'");
    }
    return value;
}

bool TRegistry::ReadBool(const std::string& AName) { return ReadInteger(AName) != 0; }

double TRegistry::ReadBinaryDouble(const std::string& AName)
{
    std::string type, data;
    if (!ReadRaw(AName, type, data)) throw ERegistryException("Failed to get data for '" + AName + "'");
    if (type != TypeBinary || data.size() != 2 * sizeof(double)) {
        throw ERegistryException("Invalid data type for '" + AName + "'");
    }
    unsigned char bytes[sizeof(double)];
    for (size_t i = 0; i < sizeof(double); ++i) {
        int hi = HexValue(data[2 * i]), lo = HexValue(data[2 * i + 1]);
        if (hi < 0 || lo < 0) throw ERegistryException("Invalid data type for '" + AName + "'");
        bytes[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

double TRegistry::ReadFloat(const std::string& AName) { return ReadBinaryDouble(AName); }
TDateTime TRegistry::ReadDateTime(const std::string& AName) { return ReadBinaryDouble(AName); }

void TRegistry::WriteString(const std::string& AName, const std::string& AValue)
{
    WriteRaw(AName, TypeString, Escape(AValue, false));
}

void TRegistry::WriteInteger(const std::string& AName, Integer AValue) { WriteRaw(AName, TypeInteger, IntToStr(AValue)); }

void TRegistry::WriteBool(const std::string& AName, bool AValue) { WriteInteger(AName, AValue ? 1 : 0); }

void TRegistry::WriteFloat(const std::string& AName, double AValue)
{
    // Eight bytes, as the registry holds a float, so that a float and a date read each other back.
    unsigned char bytes[sizeof(double)];
    std::memcpy(bytes, &AValue, sizeof bytes);
    std::string hex;
    for (unsigned char b : bytes) hex += HexByte(b);
    WriteRaw(AName, TypeBinary, hex);
}

void TRegistry::WriteDateTime(const std::string& AName, TDateTime AValue) { WriteFloat(AName, AValue); }
