#pragma once
// Item id lists: the byte chain that names a place in the shell namespace. Each id is a little-endian 16-bit byte
// count (the two count bytes included) followed by its payload; a zero count ends the list. The desktop is the
// empty list (just the terminator); a nil list holds no bytes at all.
//
// Payload of one id: [kind byte][bytes...]:
//   ikVirtual    an ASCII token: "home", "computer"
//   ikFileSystem the entry's raw name bytes (POSIX names are bytes; never round-tripped through display text)
//   ikVolume     the volume's absolute mount path ("/", "/media/u/USB")
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum TItemKind : uint8_t { ikVirtual = 1, ikFileSystem = 2, ikVolume = 3 };

class TItemIdList {
public:
    TItemIdList() = default;  // nil
    explicit TItemIdList(std::vector<uint8_t> ABytes) : FBytes(std::move(ABytes)) {}

    bool IsNil() const { return FBytes.empty(); }
    const uint8_t* Data() const { return FBytes.empty() ? nullptr : FBytes.data(); }
    uint8_t* Data() { return FBytes.empty() ? nullptr : FBytes.data(); }
    const std::vector<uint8_t>& Bytes() const { return FBytes; }
    std::vector<uint8_t>& Bytes() { return FBytes; }

    // Byte equality of the ids (what comes after the terminator does not count).
    friend bool operator==(const TItemIdList& A, const TItemIdList& B);

private:
    std::vector<uint8_t> FBytes;
};

// Zero-filled list of ASize bytes (so a list that ends at once); nil for 0.
TItemIdList NewItemIdList(size_t ASize);
// The id after AId (its address plus its byte count). AId must point into a well-formed list.
const uint8_t* NextItemId(const uint8_t* AId);
// Sets the count of the last id to 0, shortening the list by one id; nothing for nil or the empty list.
void DropLastItemId(TItemIdList& AList);
// Ids before the terminator. A malformed chain (a count below 2 or past the end) ends where it breaks.
int ItemIdCount(const TItemIdList& AList);
// Bytes of all ids plus 2 for the terminator; 0 for nil.
int ItemIdListSize(const TItemIdList& AList);
TItemIdList CloneItemIdList(const TItemIdList& AList);
// A without its terminator followed by B with its terminator; either may be nil (nil and nil give nil).
TItemIdList JoinItemIdLists(const TItemIdList& A, const TItemIdList& B);
// A copy of the last id as a list of one id; nil for nil or the empty list.
TItemIdList LastItemIdOf(const TItemIdList& AList);
// The lists of the first k ids for k = 0 .. n-1 (the desktop, then each ancestor down to the parent).
std::vector<TItemIdList> AncestorIdLists(const TItemIdList& AList);
// The desktop's list: the terminator alone.
TItemIdList DesktopItemIdList();

// Building and reading single ids.
TItemIdList MakeItemId(TItemKind AKind, std::string_view APayload);
// The id numbered AIndex (0-based) as a list of one id; nil when there is none.
TItemIdList ItemIdAt(const TItemIdList& AList, int AIndex);
// Kind and payload of the first id of AList; kind 0 and an empty payload for nil or the empty list.
TItemKind FirstItemKind(const TItemIdList& AList);
std::string FirstItemPayload(const TItemIdList& AList);
