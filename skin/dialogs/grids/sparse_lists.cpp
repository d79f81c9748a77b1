#include "skin/dialogs/grids/sparse_lists.h"

#include "platform/rtl/exceptions.h"

namespace {

struct TQuantumShape {
    unsigned Mask;
    unsigned Shift;
    Integer Size;
};

constexpr TQuantumShape QuantumShapes[] = {{15, 4, 16}, {255, 8, 256}};

[[noreturn]] void RaiseListError(const char* AText) { throw EListError(AText); }

}  // namespace

TSparsePointerArray::TSparsePointerArray(TSPAQuantum AQuantum)
    : FIndexMask(QuantumShapes[AQuantum].Mask), FSecShift(QuantumShapes[AQuantum].Shift),
      FSectionSize(QuantumShapes[AQuantum].Size)
{
}

void* TSparsePointerArray::ItemAt(Integer AIndex)
{
    if (AIndex == FCachedIndex && AIndex >= 0) return FCachedPointer;
    void* Item = nullptr;
    const auto U = static_cast<uint32_t>(AIndex);
    const size_t Section = U >> FSecShift;
    if (Section < FSecDir.size() && FSecDir[Section]) Item = FSecDir[Section][U & FIndexMask];
    FCachedIndex = AIndex;
    FCachedPointer = Item;
    return Item;
}

void** TSparsePointerArray::SlotAt(Integer AIndex)
{
    const auto U = static_cast<uint32_t>(AIndex);
    const size_t Section = U >> FSecShift;
    if (Section >= FSecDir.size()) FSecDir.resize(Section + 1);
    auto& Sec = FSecDir[Section];
    if (!Sec) Sec = std::make_unique<void*[]>(static_cast<size_t>(FSectionSize));  // value-initialised: all null
    if (AIndex > FHighBound) FHighBound = AIndex;
    FCachedIndex = -1;
    return &Sec[U & FIndexMask];
}

void TSparsePointerArray::StoreAt(Integer AIndex, void* AItem)
{
    if (!AItem && !ItemAt(AIndex)) return;
    *SlotAt(AIndex) = AItem;
    if (!AItem) ResetHighBound();
}

Integer TSparsePointerArray::ForAll(const TSPAApply& AApply) const
{
    for (size_t S = 0; S < FSecDir.size(); ++S) {
        if (!FSecDir[S]) continue;
        for (Integer I = 0; I < FSectionSize; ++I) {
            void* Item = FSecDir[S][I];
            if (!Item) continue;
            const auto Index = static_cast<Integer>((S << FSecShift) + static_cast<size_t>(I));
            if (Integer R = AApply(Index, Item); R != 0) return R;
        }
    }
    return 0;
}

void TSparsePointerArray::ResetHighBound()
{
    for (Integer I = FHighBound; I >= 0; --I) {
        const size_t Section = static_cast<uint32_t>(I) >> FSecShift;
        if (!FSecDir[Section]) {
            // Skip the whole absent section in one step.
            I = static_cast<Integer>(Section << FSecShift);
            continue;
        }
        if (FSecDir[Section][static_cast<uint32_t>(I) & FIndexMask]) {
            FHighBound = I;
            return;
        }
    }
    FHighBound = -1;
}

TSparseList::TSparseList(TSPAQuantum AQuantum)
    : FList(std::make_unique<TSparsePointerArray>(AQuantum)), FQuantum(AQuantum)
{
}

void* TSparseList::Items(Integer AIndex)
{
    if (AIndex < 0) RaiseListError("ListIndexError");
    return FList->ItemAt(AIndex);
}

void TSparseList::SetItems(Integer AIndex, void* AItem)
{
    if (AIndex < 0) RaiseListError("SListIndexError");
    FList->StoreAt(AIndex, AItem);
    FCount = FList->HighBound() + 1;
}

void TSparseList::Clear()
{
    FList = std::make_unique<TSparsePointerArray>(FQuantum);
    FCount = 0;
}

void TSparseList::Delete(Integer AIndex)
{
    if (AIndex < 0 || AIndex >= FCount) return;
    for (Integer I = AIndex; I < FCount - 1; ++I) FList->StoreAt(I, FList->ItemAt(I + 1));
    FList->StoreAt(FCount - 1, nullptr);
    --FCount;
}

void TSparseList::Insert(Integer AIndex, void* AItem)
{
    if (AIndex < 0) RaiseListError("SListIndexError");
    for (Integer I = FCount - 1; I >= AIndex; --I) FList->StoreAt(I + 1, FList->ItemAt(I));
    FList->StoreAt(AIndex, AItem);
    if (AIndex > FCount) FCount = AIndex;
    ++FCount;
}

void TSparseList::Exchange(Integer AIndex1, Integer AIndex2)
{
    void* P1 = Items(AIndex1);
    void* P2 = Items(AIndex2);
    SetItems(AIndex1, P2);
    SetItems(AIndex2, P1);
}

void TSparseList::Move(Integer ACurIndex, Integer ANewIndex)
{
    if (ACurIndex == ANewIndex) return;
    void* Item = Items(ACurIndex);
    Delete(ACurIndex);
    Insert(ANewIndex, Item);
}

TStringSparseList::TStringSparseList(TSPAQuantum AQuantum) : FList(std::make_unique<TSparseList>(AQuantum)) {}

TStringSparseList::~TStringSparseList()
{
    OnChange = nullptr;
    Clear();
}

std::string TStringSparseList::Strings(Integer AIndex) const
{
    const TStrItem* Item = ItemAt(AIndex);
    return Item ? Item->FString : std::string();
}

TObject* TStringSparseList::Objects(Integer AIndex) const
{
    const TStrItem* Item = ItemAt(AIndex);
    return Item ? Item->FObject : nullptr;
}

void TStringSparseList::SetStrings(Integer AIndex, const std::string& S)
{
    std::unique_ptr<TStrItem> Old(ItemAt(AIndex));
    TObject* Obj = Old ? Old->FObject : nullptr;
    if (!S.empty() || Obj) {
        auto Item = std::make_unique<TStrItem>(TStrItem{Obj, S});
        FList->SetItems(AIndex, Item.get());
        Item.release();
    } else {
        FList->SetItems(AIndex, nullptr);
    }
    Changed();
}

void TStringSparseList::SetObjects(Integer AIndex, TObject* AObject)
{
    if (TStrItem* Item = ItemAt(AIndex)) {
        Item->FObject = AObject;
    } else if (AObject) {
        auto NewItem = std::make_unique<TStrItem>(TStrItem{AObject, {}});
        FList->SetItems(AIndex, NewItem.get());
        NewItem.release();
    }
    Changed();
}

void TStringSparseList::Clear()
{
    FList->ForAll([](Integer, void* AItem) {
        delete static_cast<TStrItem*>(AItem);
        return 0;
    });
    FList->Clear();
    Changed();
}

void TStringSparseList::Delete(Integer AIndex)
{
    // Read first: a negative index raises before anything changes.
    delete ItemAt(AIndex);
    FList->Delete(AIndex);
    Changed();
}

void TStringSparseList::Exchange(Integer AIndex1, Integer AIndex2) { FList->Exchange(AIndex1, AIndex2); }

void TStringSparseList::Insert(Integer AIndex, const std::string& S)
{
    auto Item = std::make_unique<TStrItem>(TStrItem{nullptr, S});
    FList->Insert(AIndex, Item.get());
    Item.release();
    Changed();
}

void TStringSparseList::Move(Integer ACurIndex, Integer ANewIndex)
{
    if (ACurIndex == ANewIndex) return;
    // The item record itself moves, so text and object stay together and an empty slot stays empty.
    FList->Move(ACurIndex, ANewIndex);
    Changed();
}

void TStringSparseList::Changed()
{
    if (OnChange) OnChange(this);
}

void TStringSparseList::WriteData(TSparseListStream& AStream) const
{
    Integer N = 0;
    FList->ForAll([&N](Integer, void*) {
        ++N;
        return 0;
    });
    AStream.emplace_back(N);
    FList->ForAll([&AStream](Integer AIndex, void* AItem) {
        AStream.emplace_back(AIndex);
        AStream.emplace_back(static_cast<TStrItem*>(AItem)->FString);
        return 0;
    });
}

void TStringSparseList::ReadData(const TSparseListStream& AStream)
{
    size_t Pos = 0;
    auto ReadInteger = [&]() {
        if (Pos >= AStream.size() || !std::holds_alternative<Integer>(AStream[Pos]))
            throw EReadError("Invalid property value");
        return std::get<Integer>(AStream[Pos++]);
    };
    auto ReadText = [&]() {
        if (Pos >= AStream.size() || !std::holds_alternative<std::string>(AStream[Pos]))
            throw EReadError("Invalid property value");
        return std::get<std::string>(AStream[Pos++]);
    };
    const Integer N = ReadInteger();
    for (Integer I = 0; I < N; ++I) {
        const Integer Index = ReadInteger();
        InsertObject(Index, ReadText(), nullptr);
    }
}
