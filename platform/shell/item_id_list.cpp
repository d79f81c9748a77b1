#include "platform/shell/item_id_list.h"

#include <cstring>

namespace {

uint16_t CountAt(const std::vector<uint8_t>& ABytes, size_t AOffset)
{
    if (AOffset + 2 > ABytes.size()) return 0;
    return static_cast<uint16_t>(ABytes[AOffset] | (ABytes[AOffset + 1] << 8));
}

// Offsets of the ids of a list, stopping where the chain breaks.
std::vector<size_t> IdOffsets(const std::vector<uint8_t>& ABytes)
{
    std::vector<size_t> offsets;
    size_t at = 0;
    for (;;) {
        uint16_t count = CountAt(ABytes, at);
        if (count < 2 || at + count + 2 > ABytes.size()) break;
        offsets.push_back(at);
        at += count;
    }
    return offsets;
}

size_t ChainEnd(const std::vector<uint8_t>& ABytes)
{
    auto offsets = IdOffsets(ABytes);
    return offsets.empty() ? 0 : offsets.back() + CountAt(ABytes, offsets.back());
}

}  // namespace

bool operator==(const TItemIdList& A, const TItemIdList& B)
{
    if (A.IsNil() || B.IsNil()) return A.IsNil() == B.IsNil();
    size_t a_end = ChainEnd(A.FBytes), b_end = ChainEnd(B.FBytes);
    return a_end == b_end && std::memcmp(A.FBytes.data(), B.FBytes.data(), a_end) == 0;
}

TItemIdList NewItemIdList(size_t ASize)
{
    return ASize == 0 ? TItemIdList() : TItemIdList(std::vector<uint8_t>(ASize, 0));
}

const uint8_t* NextItemId(const uint8_t* AId)
{
    return AId + (AId[0] | (AId[1] << 8));
}

void DropLastItemId(TItemIdList& AList)
{
    auto offsets = IdOffsets(AList.Bytes());
    if (offsets.empty()) return;
    auto& bytes = AList.Bytes();
    bytes.resize(offsets.back() + 2);
    bytes[offsets.back()] = 0;
    bytes[offsets.back() + 1] = 0;
}

int ItemIdCount(const TItemIdList& AList)
{
    return static_cast<int>(IdOffsets(AList.Bytes()).size());
}

int ItemIdListSize(const TItemIdList& AList)
{
    return AList.IsNil() ? 0 : static_cast<int>(ChainEnd(AList.Bytes()) + 2);
}

TItemIdList CloneItemIdList(const TItemIdList& AList)
{
    if (AList.IsNil()) return {};
    std::vector<uint8_t> bytes(AList.Bytes().begin(), AList.Bytes().begin() + ChainEnd(AList.Bytes()));
    bytes.push_back(0);
    bytes.push_back(0);
    return TItemIdList(std::move(bytes));
}

TItemIdList JoinItemIdLists(const TItemIdList& A, const TItemIdList& B)
{
    if (A.IsNil() && B.IsNil()) return {};
    std::vector<uint8_t> bytes;
    if (!A.IsNil()) bytes.assign(A.Bytes().begin(), A.Bytes().begin() + ChainEnd(A.Bytes()));
    if (!B.IsNil()) bytes.insert(bytes.end(), B.Bytes().begin(), B.Bytes().begin() + ChainEnd(B.Bytes()));
    bytes.push_back(0);
    bytes.push_back(0);
    return TItemIdList(std::move(bytes));
}

TItemIdList LastItemIdOf(const TItemIdList& AList)
{
    int count = ItemIdCount(AList);
    return count == 0 ? TItemIdList() : ItemIdAt(AList, count - 1);
}

std::vector<TItemIdList> AncestorIdLists(const TItemIdList& AList)
{
    std::vector<TItemIdList> result;
    auto offsets = IdOffsets(AList.Bytes());
    for (size_t k = 0; k < offsets.size(); ++k) {
        std::vector<uint8_t> bytes(AList.Bytes().begin(), AList.Bytes().begin() + offsets[k]);
        bytes.push_back(0);
        bytes.push_back(0);
        result.emplace_back(std::move(bytes));
    }
    return result;
}

TItemIdList DesktopItemIdList()
{
    return TItemIdList(std::vector<uint8_t>{0, 0});
}

TItemIdList MakeItemId(TItemKind AKind, std::string_view APayload)
{
    // A count is 16 bits: longer payloads (no POSIX name or mount path is near this) are cut.
    size_t payload = std::min<size_t>(APayload.size(), 0xFFFF - 3);
    size_t count = payload + 3;
    std::vector<uint8_t> bytes;
    bytes.reserve(count + 2);
    bytes.push_back(static_cast<uint8_t>(count & 0xFF));
    bytes.push_back(static_cast<uint8_t>(count >> 8));
    bytes.push_back(AKind);
    bytes.insert(bytes.end(), APayload.begin(), APayload.begin() + payload);
    bytes.push_back(0);
    bytes.push_back(0);
    return TItemIdList(std::move(bytes));
}

TItemIdList ItemIdAt(const TItemIdList& AList, int AIndex)
{
    auto offsets = IdOffsets(AList.Bytes());
    if (AIndex < 0 || static_cast<size_t>(AIndex) >= offsets.size()) return {};
    size_t at = offsets[AIndex];
    std::vector<uint8_t> bytes(AList.Bytes().begin() + at, AList.Bytes().begin() + at + CountAt(AList.Bytes(), at));
    bytes.push_back(0);
    bytes.push_back(0);
    return TItemIdList(std::move(bytes));
}

TItemKind FirstItemKind(const TItemIdList& AList)
{
    if (ItemIdCount(AList) == 0 || CountAt(AList.Bytes(), 0) < 3) return static_cast<TItemKind>(0);
    return static_cast<TItemKind>(AList.Bytes()[2]);
}

std::string FirstItemPayload(const TItemIdList& AList)
{
    if (ItemIdCount(AList) == 0) return {};
    uint16_t count = CountAt(AList.Bytes(), 0);
    if (count < 3) return {};
    return std::string(reinterpret_cast<const char*>(AList.Bytes().data()) + 3, count - 3);
}
