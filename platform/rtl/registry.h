#pragma once
// The registry, kept in one settings file: $XDG_CONFIG_HOME/Brindlewave/Quennary/settings.ini ($HOME/.config when
// XDG_CONFIG_HOME is unset). Each key is a section named by its path ("Software\Brindlewave\Quennary"); keys under
// roots other than HKEY_CURRENT_USER carry the root's name in front. Values keep their type ("sz:", "dword:",
// "bin:") so that reading a value as the wrong type fails as it does on Windows. Every change rewrites the file
// atomically; a damaged or unreadable file reads as empty, and the first write after that moves the damaged file
// aside as "settings.ini.damaged" instead of losing it.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/types.h"

#include <cstdint>
#include <string>
#include <vector>

class TStrings;

// The predefined root keys, with their Windows values.
using HKEY = uintptr_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// Path of the settings file for the current environment.
std::string RegistrySettingsFileName();

class TRegistry : public TObject {
public:
    TRegistry();
    ~TRegistry() override;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key.
    void SetRootKey(HKEY AValue);
    // Key paths use '\'; a leading '\' starts from the root, otherwise from the open key.
    bool OpenKey(const std::string& AKey, bool ACanCreate);
    bool OpenKeyReadOnly(const std::string& AKey);
    void CloseKey();
    bool CreateKey(const std::string& AKey);
    bool KeyExists(const std::string& AKey);
    // Deletes the key with every key under it.
    bool DeleteKey(const std::string& AKey);
    bool HasSubKeys();
    // Path of the open key, "" when none is open.
    const std::string& CurrentPath() const { return FCurrentPath; }

    bool ValueExists(const std::string& AName);
    bool DeleteValue(const std::string& AName);
    TRegDataType GetDataType(const std::string& AName);
    void GetValueNames(TStrings* AStrings);
    void GetKeyNames(TStrings* AStrings);

    // Reads raise ERegistryException: "Failed to get data for '%s'" for a missing value (ReadString gives "" as
    // the class library does), "Invalid data type for '%s'" for a value of another type.
    std::string ReadString(const std::string& AName);
    Integer ReadInteger(const std::string& AName);
    bool ReadBool(const std::string& AName);
    double ReadFloat(const std::string& AName);
    TDateTime ReadDateTime(const std::string& AName);
    // Writes raise ERegistryException "Failed to set data for '%s'" without a writable open key or when the file
    // cannot be written.
    void WriteString(const std::string& AName, const std::string& AValue);
    void WriteInteger(const std::string& AName, Integer AValue);
    void WriteBool(const std::string& AName, bool AValue);
    void WriteFloat(const std::string& AName, double AValue);
    void WriteDateTime(const std::string& AName, TDateTime AValue);

    // Writes between BeginUpdate and EndUpdate are kept and reach the file together in one atomic rewrite at
    // EndUpdate, so a crash leaves either all of the old values or all of the new ones. Reads meanwhile see the
    // file as it was. EndUpdate raises ERegistryException "Failed to write ..." when the file cannot be written;
    // nothing of the batch is kept then. A batch still open when the object goes is dropped.
    void BeginUpdate();
    void EndUpdate();

private:
    struct TPendingWrite {
        std::string Section, Key, Value;
    };
    std::string FullPath(const std::string& AKey) const;
    std::string SectionOf(const std::string& APath) const;
    bool ReadRaw(const std::string& AName, std::string& AType, std::string& AData);
    void WriteRaw(const std::string& AName, const std::string& AType, const std::string& AData);
    double ReadBinaryDouble(const std::string& AName);

    HKEY FRootKey = HKEY_CURRENT_USER;
    std::string FCurrentPath;
    bool FKeyOpen = false;
    bool FReadOnly = false;
    bool FUpdating = false;
    std::vector<TPendingWrite> FPending;
};
