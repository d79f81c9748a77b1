#include "platform/rtl/strings.h"

#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/utf8.h"

#include <algorithm>
#include <cerrno>
#include <numeric>

namespace {

const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SSortedListError = "Operation not allowed on sorted list";
const char* const SDuplicateString = "String list does not allow duplicates";

bool IsBlank(char c) { return c != 0 && static_cast<unsigned char>(c) <= ' '; }

// Text written on Windows without a byte order mark is in its 8-bit code page.
std::string Windows1252ToUtf8(const std::string& S)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::string out;
    out.reserve(S.size() + S.size() / 8);
    for (char ch : S) {
        unsigned char c = static_cast<unsigned char>(ch);
        Utf8Append(c >= 0x80 && c < 0xA0 ? high[c - 0x80] : c, out);
    }
    return out;
}

// UTF-16 bytes from AStart on, in the given byte order.
std::string Utf16BytesToUtf8(const std::string& S, size_t AStart, bool ABigEndian)
{
    std::u16string units;
    units.reserve(S.size() / 2);
    for (size_t i = AStart; i + 1 < S.size(); i += 2) {
        unsigned char a = static_cast<unsigned char>(S[i]), b = static_cast<unsigned char>(S[i + 1]);
        units += static_cast<char16_t>(ABigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return Utf16ToUtf8(units);
}

}  // namespace

// ---- TStrings --------------------------------------------------------------------------------------------------

void TStrings::Error(const std::string& AMessage, Integer AData)
{
    throw EStringListError(Format(AMessage, {AData}));
}

void TStrings::SetStrings(Integer AIndex, const std::string& S)
{
    TObject* object = Objects(AIndex);
    Delete(AIndex);
    InsertObject(AIndex, S, object);
}

TObject* TStrings::Objects(Integer) const { return nullptr; }
void TStrings::SetObjects(Integer, TObject*) {}

Integer TStrings::Add(const std::string& S)
{
    Integer index = Count();
    Insert(index, S);
    return index;
}

Integer TStrings::AddObject(const std::string& S, TObject* AObject)
{
    Integer index = Add(S);
    SetObjects(index, AObject);
    return index;
}

void TStrings::AddStrings(TStrings* AStrings)
{
    BeginUpdate();
    for (Integer i = 0; i < AStrings->Count(); ++i) AddObject(AStrings->Strings(i), AStrings->Objects(i));
    EndUpdate();
}

void TStrings::InsertObject(Integer AIndex, const std::string& S, TObject* AObject)
{
    Insert(AIndex, S);
    SetObjects(AIndex, AObject);
}

void TStrings::Exchange(Integer AIndex1, Integer AIndex2)
{
    BeginUpdate();
    std::string s = Strings(AIndex1);
    TObject* o = Objects(AIndex1);
    SetStrings(AIndex1, Strings(AIndex2));
    SetObjects(AIndex1, Objects(AIndex2));
    SetStrings(AIndex2, s);
    SetObjects(AIndex2, o);
    EndUpdate();
}

void TStrings::Move(Integer ACurIndex, Integer ANewIndex)
{
    if (ACurIndex == ANewIndex) return;
    BeginUpdate();
    std::string s = Strings(ACurIndex);
    TObject* o = Objects(ACurIndex);
    Delete(ACurIndex);
    InsertObject(ANewIndex, s, o);
    EndUpdate();
}

Integer TStrings::IndexOf(const std::string& S) const
{
    for (Integer i = 0; i < Count(); ++i) {
        if (CompareStrings(Strings(i), S) == 0) return i;
    }
    return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const
{
    for (Integer i = 0; i < Count(); ++i) {
        if (Objects(i) == AObject) return i;
    }
    return -1;
}

Integer TStrings::IndexOfName(const std::string& AName) const
{
    for (Integer i = 0; i < Count(); ++i) {
        std::string s = Strings(i);
        size_t p = s.find(FNameValueSeparator);
        if (p != std::string::npos && CompareStrings(s.substr(0, p), AName) == 0) return i;
    }
    return -1;
}

bool TStrings::Equals(TStrings* AStrings) const
{
    if (Count() != AStrings->Count()) return false;
    for (Integer i = 0; i < Count(); ++i) {
        if (Strings(i) != AStrings->Strings(i)) return false;
    }
    return true;
}

void TStrings::Assign(TPersistent* ASource)
{
    auto* source = dynamic_cast<TStrings*>(ASource);
    if (!source) {
        TPersistent::Assign(ASource);
        return;
    }
    if (source == this) return;
    BeginUpdate();
    try {
        Clear();
        FNameValueSeparator = source->FNameValueSeparator;
        FDelimiter = source->FDelimiter;
        FQuoteChar = source->FQuoteChar;
        FStrictDelimiter = source->FStrictDelimiter;
        FLineBreak = source->FLineBreak;
        AddStrings(source);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::Names(Integer AIndex) const
{
    std::string s = Strings(AIndex);
    size_t p = s.find(FNameValueSeparator);
    return p == std::string::npos ? "" : s.substr(0, p);
}

std::string TStrings::Values(const std::string& AName) const
{
    Integer i = IndexOfName(AName);
    return i >= 0 ? ValueFromIndex(i) : "";
}

void TStrings::SetValues(const std::string& AName, const std::string& AValue)
{
    Integer i = IndexOfName(AName);
    if (!AValue.empty()) {
        if (i < 0) i = Add("");
        SetStrings(i, AName + FNameValueSeparator + AValue);
    } else if (i >= 0) {
        Delete(i);
    }
}

std::string TStrings::ValueFromIndex(Integer AIndex) const
{
    if (AIndex < 0) return "";
    std::string s = Strings(AIndex);
    size_t p = s.find(FNameValueSeparator);
    return p == std::string::npos ? "" : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(Integer AIndex, const std::string& AValue)
{
    if (!AValue.empty()) {
        if (AIndex < 0) AIndex = Add("");
        SetStrings(AIndex, Names(AIndex) + FNameValueSeparator + AValue);
    } else if (AIndex >= 0) {
        Delete(AIndex);
    }
}

std::string TStrings::Text() const
{
    std::string out;
    for (Integer i = 0; i < Count(); ++i) out += Strings(i) + FLineBreak;
    return out;
}

void TStrings::SetText(const std::string& AValue)
{
    BeginUpdate();
    try {
        Clear();
        size_t i = 0;
        while (i < AValue.size()) {
            size_t start = i;
            while (i < AValue.size() && AValue[i] != '\n' && AValue[i] != '\r') ++i;
            Add(AValue.substr(start, i - start));
            if (i < AValue.size() && AValue[i] == '\r') ++i;
            if (i < AValue.size() && AValue[i] == '\n') ++i;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::DelimitedText() const { return JoinDelimited(FDelimiter, FQuoteChar, FStrictDelimiter); }

void TStrings::SetDelimitedText(const std::string& AValue)
{
    SplitDelimited(AValue, FDelimiter, FQuoteChar, FStrictDelimiter);
}

// Always ',' and '"' with blanks separating, whatever the list's own delimiter settings are.
std::string TStrings::CommaText() const { return JoinDelimited(',', '"', false); }
void TStrings::SetCommaText(const std::string& AValue) { SplitDelimited(AValue, ',', '"', false); }

std::string TStrings::JoinDelimited(char ADelimiter, char AQuote, bool AStrict) const
{
    if (Count() == 1 && Strings(0).empty()) return std::string(2, AQuote);
    std::string out;
    for (Integer i = 0; i < Count(); ++i) {
        std::string s = Strings(i);
        bool quote = std::any_of(s.begin(), s.end(), [&](char c) {
            return c == AQuote || c == ADelimiter || (!AStrict && static_cast<unsigned char>(c) <= ' ');
        });
        if (quote) {
            std::string q(1, AQuote);
            for (char c : s) {
                q += c;
                if (c == AQuote) q += c;
            }
            s = q + AQuote;
        }
        if (i > 0) out += ADelimiter;
        out += s;
    }
    return out;
}

void TStrings::SplitDelimited(const std::string& AValue, char ADelimiter, char AQuote, bool AStrict)
{
    BeginUpdate();
    try {
        Clear();
        const std::string& v = AValue;
        size_t p = 0;
        auto skip_blanks = [&] {
            if (!AStrict) {
                while (p < v.size() && IsBlank(v[p])) ++p;
            }
        };
        skip_blanks();
        while (p < v.size()) {
            std::string s;
            if (v[p] == AQuote) {
                s = ExtractQuotedStr(v, p, AQuote);
            } else {
                size_t start = p;
                while (p < v.size() && v[p] != ADelimiter && (AStrict || !IsBlank(v[p]))) ++p;
                s = v.substr(start, p - start);
            }
            Add(s);
            skip_blanks();
            if (p < v.size() && v[p] == ADelimiter) {
                if (p + 1 == v.size()) Add("");
                ++p;
                skip_blanks();
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::LoadFromFile(const std::string& AFileName)
{
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToFile(const std::string& AFileName) const
{
    TStringStream data;
    SaveToStream(&data);
    // Written whole or not at all, so that a failed save never leaves the old file cut short.
    if (!WriteFileAtomically(AFileName, data.DataString())) {
        int error = errno;
        throw EFCreateError("Cannot create file \"" + ExpandFileName(AFileName) + "\". " + SysErrorMessage(error));
    }
}

void TStrings::LoadFromStream(TStream* AStream)
{
    Int64 size = AStream->Size() - AStream->Position();
    std::string bytes(static_cast<size_t>(std::max<Int64>(size, 0)), '\0');
    AStream->ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    std::string text;
    auto starts = [&](const char* bom, size_t n) { return bytes.size() >= n && bytes.compare(0, n, bom, n) == 0; };
    if (starts("\xEF\xBB\xBF", 3)) {
        text = bytes.substr(3);
        FWriteBOM = true;
    } else if (starts("\xFF\xFE", 2)) {
        text = Utf16BytesToUtf8(bytes, 2, false);
        FWriteBOM = true;
    } else if (starts("\xFE\xFF", 2)) {
        text = Utf16BytesToUtf8(bytes, 2, true);
        FWriteBOM = true;
    } else {
        text = IsValidUtf8(bytes) ? std::move(bytes) : Windows1252ToUtf8(bytes);
        FWriteBOM = false;
    }
    SetText(text);
}

void TStrings::SaveToStream(TStream* AStream) const
{
    std::string text = (FWriteBOM ? "\xEF\xBB\xBF" : "") + Text();
    AStream->WriteBuffer(text.data(), static_cast<Int64>(text.size()));
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

Integer TStrings::CompareStrings(const std::string& S1, const std::string& S2) const { return CompareText(S1, S2); }

// ---- TStringList -----------------------------------------------------------------------------------------------

TStringList::~TStringList()
{
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects) {
        for (auto& item : FList) delete item.FObject;
    }
}

void TStringList::CheckIndex(Integer AIndex) const
{
    if (AIndex < 0 || AIndex >= Count()) Error(SListIndexError, AIndex);
}

void TStringList::CheckNotSorted() const
{
    if (FSorted) Error(SSortedListError, 0);
}

std::string TStringList::Strings(Integer AIndex) const
{
    CheckIndex(AIndex);
    return FList[AIndex].FString;
}

void TStringList::SetStrings(Integer AIndex, const std::string& S)
{
    CheckNotSorted();
    CheckIndex(AIndex);
    Changing();
    FList[AIndex].FString = S;
    Changed();
}

TObject* TStringList::Objects(Integer AIndex) const
{
    CheckIndex(AIndex);
    return FList[AIndex].FObject;
}

void TStringList::SetObjects(Integer AIndex, TObject* AObject)
{
    CheckIndex(AIndex);
    Changing();
    FList[AIndex].FObject = AObject;
    Changed();
}

void TStringList::Insert(Integer AIndex, const std::string& S)
{
    CheckNotSorted();
    if (AIndex < 0 || AIndex > Count()) Error(SListIndexError, AIndex);
    InsertItem(AIndex, S, nullptr);
}

void TStringList::InsertItem(Integer AIndex, const std::string& S, TObject* AObject)
{
    Changing();
    FList.insert(FList.begin() + AIndex, TStringItem{S, AObject});
    Changed();
}

void TStringList::Delete(Integer AIndex)
{
    CheckIndex(AIndex);
    Changing();
    TObject* object = FList[AIndex].FObject;
    FList.erase(FList.begin() + AIndex);
    if (FOwnsObjects) delete object;
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty()) return;
    Changing();
    std::vector<TStringItem> old;
    old.swap(FList);
    if (FOwnsObjects) {
        for (auto& item : old) delete item.FObject;
    }
    Changed();
}

Integer TStringList::Add(const std::string& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const std::string& S, TObject* AObject)
{
    Integer index = Count();
    if (FSorted && Find(S, index)) {
        if (FDuplicates == dupIgnore) return index;
        if (FDuplicates == dupError) Error(SDuplicateString, 0);
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Exchange(Integer AIndex1, Integer AIndex2)
{
    CheckIndex(AIndex1);
    CheckIndex(AIndex2);
    Changing();
    std::swap(FList[AIndex1], FList[AIndex2]);
    Changed();
}

Integer TStringList::IndexOf(const std::string& S) const
{
    if (!FSorted) return TStrings::IndexOf(S);
    Integer index;
    return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, Integer& AIndex) const
{
    bool found = false;
    Integer lo = 0, hi = Count() - 1;
    while (lo <= hi) {
        Integer mid = lo + (hi - lo) / 2;
        Integer c = CompareStrings(FList[mid].FString, S);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (FDuplicates != dupAccept) lo = mid;
            }
        }
    }
    AIndex = lo;
    return found;
}

void TStringList::Sort()
{
    CustomSort([](TStringList* AList, Integer A, Integer B) {
        return AList->CompareStrings(AList->FList[A].FString, AList->FList[B].FString);
    });
}

void TStringList::CustomSort(const TStringListSortCompare& ACompare)
{
    if (FSorted || Count() < 2) return;
    Changing();
    // The comparison sees the list unchanged while the order is worked out, then the list is rearranged once.
    std::vector<Integer> order(FList.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](Integer a, Integer b) { return ACompare(this, a, b) < 0; });
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (Integer i : order) sorted.push_back(std::move(FList[i]));
    FList.swap(sorted);
    Changed();
}

void TStringList::SetSorted(bool AValue)
{
    if (FSorted == AValue) return;
    if (AValue) Sort();
    FSorted = AValue;
}

void TStringList::SetCaseSensitive(bool AValue)
{
    if (FCaseSensitive == AValue) return;
    FCaseSensitive = AValue;
    if (FSorted) {
        FSorted = false;
        SetSorted(true);
    }
}

void TStringList::SetUpdateState(bool AUpdating)
{
    if (AUpdating) Changing();
    else Changed();
}

Integer TStringList::CompareStrings(const std::string& S1, const std::string& S2) const
{
    return FCaseSensitive ? CompareStr(S1, S2) : CompareText(S1, S2);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}
