#pragma once
// Lists of strings with attached objects: the abstract TStrings (a subclass may keep the strings elsewhere) and the
// concrete TStringList with sorting, duplicates and change events.
#include "platform/rtl/classes.h"

#include <string>
#include <vector>

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
public:
    TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    // Storage that a subclass provides.
    virtual Integer Count() const = 0;
    virtual std::string Strings(Integer AIndex) const = 0;
    virtual void SetStrings(Integer AIndex, const std::string& S);
    virtual TObject* Objects(Integer AIndex) const;
    virtual void SetObjects(Integer AIndex, TObject* AObject);
    virtual void Insert(Integer AIndex, const std::string& S) = 0;
    virtual void Delete(Integer AIndex) = 0;
    virtual void Clear() = 0;

    virtual Integer Add(const std::string& S);
    virtual Integer AddObject(const std::string& S, TObject* AObject);
    void Append(const std::string& S) { Add(S); }
    virtual void AddStrings(TStrings* AStrings);
    void InsertObject(Integer AIndex, const std::string& S, TObject* AObject);
    virtual void Exchange(Integer AIndex1, Integer AIndex2);
    virtual void Move(Integer ACurIndex, Integer ANewIndex);
    // Case-insensitive, as the class library matches list entries.
    virtual Integer IndexOf(const std::string& S) const;
    Integer IndexOfObject(TObject* AObject) const;
    Integer IndexOfName(const std::string& AName) const;
    bool Equals(TStrings* AStrings) const;
    void Assign(TPersistent* ASource) override;

    // "name=value" entries: the name is the text before the first separator ("" when there is none).
    std::string Names(Integer AIndex) const;
    std::string Values(const std::string& AName) const;
    // An empty value removes the entry.
    void SetValues(const std::string& AName, const std::string& AValue);
    std::string ValueFromIndex(Integer AIndex) const;
    void SetValueFromIndex(Integer AIndex, const std::string& AValue);
    char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(char C) { FNameValueSeparator = C; }

    // Every line followed by LineBreak. Setting splits at CR LF, LF or a lone CR.
    virtual std::string Text() const;
    virtual void SetText(const std::string& AValue);
    // Entries joined by the delimiter, quoted where they hold blanks, quotes or the delimiter.
    std::string DelimitedText() const;
    void SetDelimitedText(const std::string& AValue);
    std::string CommaText() const;
    void SetCommaText(const std::string& AValue);
    char Delimiter() const { return FDelimiter; }
    void SetDelimiter(char C) { FDelimiter = C; }
    char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(char C) { FQuoteChar = C; }
    // With a strict delimiter, blanks do not separate entries.
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool AValue) { FStrictDelimiter = AValue; }
    const std::string& LineBreak() const { return FLineBreak; }
    void SetLineBreak(const std::string& AValue) { FLineBreak = AValue; }

    // Byte order marks select UTF-8 or UTF-16; text without one that is not valid UTF-8 is read as Windows-1252.
    // Saving writes UTF-8, with a mark only when the loaded text had one.
    virtual void LoadFromFile(const std::string& AFileName);
    virtual void SaveToFile(const std::string& AFileName) const;
    virtual void LoadFromStream(TStream* AStream);
    virtual void SaveToStream(TStream* AStream) const;

    void BeginUpdate();
    void EndUpdate();
    Integer UpdateCount() const { return FUpdateCount; }

protected:
    // Called with true at the first BeginUpdate and false at the last EndUpdate.
    virtual void SetUpdateState(bool /*AUpdating*/) {}
    virtual Integer CompareStrings(const std::string& S1, const std::string& S2) const;
    [[noreturn]] static void Error(const std::string& AMessage, Integer AData);

    bool FWriteBOM = false;

private:
    std::string JoinDelimited(char ADelimiter, char AQuote, bool AStrict) const;
    void SplitDelimited(const std::string& AValue, char ADelimiter, char AQuote, bool AStrict);

    char FNameValueSeparator = '=';
    char FDelimiter = ',';
    char FQuoteChar = '"';
    bool FStrictDelimiter = false;
    std::string FLineBreak = "\n";
    Integer FUpdateCount = 0;
};

class TStringList;
// <0, 0, >0 for the entries at AIndex1 and AIndex2.
using TStringListSortCompare = std::function<Integer(TStringList* AList, Integer AIndex1, Integer AIndex2)>;

class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
    ~TStringList() override;

    Integer Count() const override { return static_cast<Integer>(FList.size()); }
    std::string Strings(Integer AIndex) const override;
    void SetStrings(Integer AIndex, const std::string& S) override;
    TObject* Objects(Integer AIndex) const override;
    void SetObjects(Integer AIndex, TObject* AObject) override;
    void Insert(Integer AIndex, const std::string& S) override;
    void Delete(Integer AIndex) override;
    void Clear() override;
    Integer Add(const std::string& S) override;
    Integer AddObject(const std::string& S, TObject* AObject) override;
    void Exchange(Integer AIndex1, Integer AIndex2) override;
    Integer IndexOf(const std::string& S) const override;

    // Binary search of a sorted list: true when found; AIndex is where S is or would go. With duplicates other
    // than dupAccept it is the first equal entry.
    bool Find(const std::string& S, Integer& AIndex) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& ACompare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool AValue);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates AValue) { FDuplicates = AValue; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool AValue);
    // Deletes the objects of removed entries and of the list itself.
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool AValue) { FOwnsObjects = AValue; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool AUpdating) override;
    Integer CompareStrings(const std::string& S1, const std::string& S2) const override;
    virtual void Changed();
    virtual void Changing();
    void InsertItem(Integer AIndex, const std::string& S, TObject* AObject);

private:
    struct TStringItem {
        std::string FString;
        TObject* FObject = nullptr;
    };
    void CheckIndex(Integer AIndex) const;
    void CheckNotSorted() const;

    std::vector<TStringItem> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
    TDuplicates FDuplicates = dupIgnore;
};
