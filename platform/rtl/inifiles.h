#pragma once
// Profile files ("[section]" and "key=value" lines) with the Windows rules: section and key names are matched
// without regard to case, blanks around names and values are ignored, the value is everything after the first '=',
// a missing key is distinct from a present empty one, and a section exists only while it holds a key.
// TIniFile writes each change through to disk at once; TMemIniFile keeps the file in memory until UpdateFile.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/types.h"

#include <memory>
#include <string>

class TStrings;
struct TIniDocument;

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const std::string& AFileName) : FFileName(AFileName) {}
    const std::string& FileName() const { return FFileName; }

    virtual std::string ReadString(const std::string& ASection, const std::string& AIdent,
                                   const std::string& ADefault) = 0;
    // Raises EIniFileException "Unable to write to %s" when the file cannot be written.
    virtual void WriteString(const std::string& ASection, const std::string& AIdent, const std::string& AValue) = 0;
    // Decimal, "$hex", or "0x"/"0X" hex; anything else gives ADefault.
    virtual Integer ReadInteger(const std::string& ASection, const std::string& AIdent, Integer ADefault);
    virtual void WriteInteger(const std::string& ASection, const std::string& AIdent, Integer AValue);
    virtual bool ReadBool(const std::string& ASection, const std::string& AIdent, bool ADefault);
    virtual void WriteBool(const std::string& ASection, const std::string& AIdent, bool AValue);
    virtual double ReadFloat(const std::string& ASection, const std::string& AIdent, double ADefault);
    virtual void WriteFloat(const std::string& ASection, const std::string& AIdent, double AValue);

    // Key names of a section, in file order.
    virtual void ReadSection(const std::string& ASection, TStrings* AStrings) = 0;
    // Names of every section, also those without keys.
    virtual void ReadSections(TStrings* AStrings) = 0;
    // "key=value" lines of a section.
    virtual void ReadSectionValues(const std::string& ASection, TStrings* AStrings) = 0;
    // Removes the section; writing to it again later adds it at the end.
    virtual void EraseSection(const std::string& ASection) = 0;
    virtual void DeleteKey(const std::string& ASection, const std::string& AIdent) = 0;
    virtual void UpdateFile() = 0;

    bool SectionExists(const std::string& ASection);
    virtual bool ValueExists(const std::string& ASection, const std::string& AIdent);

protected:
    std::string FFileName;
};

// Reads the file when it changed on disk since the last look; every write rewrites the whole file atomically,
// keeping comments and the layout of the lines it does not touch. A value quoted with '"' or '\'' reads without
// the quotes, as the system's profile functions give it.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const std::string& AFileName);
    ~TIniFile() override;

    std::string ReadString(const std::string& ASection, const std::string& AIdent,
                           const std::string& ADefault) override;
    void WriteString(const std::string& ASection, const std::string& AIdent, const std::string& AValue) override;
    void ReadSection(const std::string& ASection, TStrings* AStrings) override;
    void ReadSections(TStrings* AStrings) override;
    void ReadSectionValues(const std::string& ASection, TStrings* AStrings) override;
    void EraseSection(const std::string& ASection) override;
    void DeleteKey(const std::string& ASection, const std::string& AIdent) override;
    void UpdateFile() override {}

private:
    struct TFileStamp {
        bool Exists = false;
        int64_t Size = 0;
        int64_t ModifiedNs = 0;
        uint64_t Inode = 0;
        bool operator==(const TFileStamp&) const = default;
    };
    TFileStamp CurrentStamp() const;
    void Refresh();
    void Store();

    std::unique_ptr<TIniDocument> FDocument;
    TFileStamp FStamp;
    bool FLoaded = false;
};

// Loads the whole file at creation (a missing or unreadable file gives an empty one); UpdateFile writes it back
// atomically as "[section]" lines, "key=value" lines and an empty line after each section. Comments are dropped.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const std::string& AFileName);
    ~TMemIniFile() override;

    std::string ReadString(const std::string& ASection, const std::string& AIdent,
                           const std::string& ADefault) override;
    void WriteString(const std::string& ASection, const std::string& AIdent, const std::string& AValue) override;
    void ReadSection(const std::string& ASection, TStrings* AStrings) override;
    void ReadSections(TStrings* AStrings) override;
    void ReadSectionValues(const std::string& ASection, TStrings* AStrings) override;
    void EraseSection(const std::string& ASection) override;
    void DeleteKey(const std::string& ASection, const std::string& AIdent) override;
    // Raises EFCreateError when the file cannot be written; the old file then stays as it was.
    void UpdateFile() override;

    void Clear();
    // The whole file as lines, and back.
    void GetStrings(TStrings* AList);
    void SetStrings(TStrings* AList);
    // Loads the new file when AReload, else keeps the contents for writing there.
    void Rename(const std::string& AFileName, bool AReload);

private:
    void Load();

    std::unique_ptr<TIniDocument> FDocument;
};
