#pragma once
// Containers for mostly empty data, indexed by row or column: a two-level pointer array allocated section by
// section, a list with a count and insert, delete and move on top of it, and a string list whose items (a text
// and an object) live in such a list. The string grid keeps its rows, cells and views in them.
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/rtl/strings.h"

enum TSPAQuantum { SPASmall, SPALarge };

// Called for every stored item in increasing index order; a non-zero result stops the walk and is returned.
using TSPAApply = std::function<Integer(Integer AIndex, void* AItem)>;

// Index I lives in section I >> shift, slot I & mask. The directory is sized by the highest section written, so
// every non-negative Integer index is addressable (no 16-bit directory limit).
class TSparsePointerArray {
public:
    explicit TSparsePointerArray(TSPAQuantum AQuantum);
    TSparsePointerArray(const TSparsePointerArray&) = delete;
    TSparsePointerArray& operator=(const TSparsePointerArray&) = delete;

    // nullptr for an empty slot, an absent section or a negative index.
    void* ItemAt(Integer AIndex);
    // The slot's address, allocating the section (and growing the directory) as needed; AIndex must be >= 0.
    void** SlotAt(Integer AIndex);
    // Storing nullptr into an empty slot allocates nothing.
    void StoreAt(Integer AIndex, void* AItem);
    Integer ForAll(const TSPAApply& AApply) const;
    // The largest index not above the old bound that holds an item, or -1.
    void ResetHighBound();

    Integer HighBound() const { return FHighBound; }
    Integer SectionSize() const { return FSectionSize; }
    // Directory entries (sections allocated or not); for tests of the allocation pattern.
    size_t SlotsInDir() const { return FSecDir.size(); }
    bool SectionAllocated(size_t ASection) const { return ASection < FSecDir.size() && FSecDir[ASection]; }

private:
    std::vector<std::unique_ptr<void*[]>> FSecDir;
    unsigned FIndexMask;
    unsigned FSecShift;
    Integer FHighBound = -1;
    Integer FSectionSize;
    Integer FCachedIndex = -1;
    void* FCachedPointer = nullptr;
};

// A list of untyped pointers with a count; it owns nothing. Negative indexes raise EListError.
class TSparseList {
public:
    explicit TSparseList(TSPAQuantum AQuantum);

    Integer Count() const { return FCount; }
    TSPAQuantum Quantum() const { return FQuantum; }
    void* Items(Integer AIndex);
    // Count becomes HighBound + 1: writing beyond the end lengthens the list, clearing the last item shortens it.
    void SetItems(Integer AIndex, void* AItem);
    void Clear();
    // Out-of-range indexes are ignored.
    void Delete(Integer AIndex);
    // An index beyond the end first extends the list to it.
    void Insert(Integer AIndex, void* AItem);
    void Exchange(Integer AIndex1, Integer AIndex2);
    void Move(Integer ACurIndex, Integer ANewIndex);
    Integer ForAll(const TSPAApply& AApply) const { return FList->ForAll(AApply); }
    const TSparsePointerArray& Array() const { return *FList; }

private:
    std::unique_ptr<TSparsePointerArray> FList;
    Integer FCount = 0;
    TSPAQuantum FQuantum;
};

// One stored item of a string sparse list; the object is a reference, never owned.
struct TStrItem {
    TObject* FObject = nullptr;
    std::string FString;
};

// The stored form of a string sparse list: the item count, then index and text of each item. Objects are not
// stored.
using TSparseListStreamValue = std::variant<Integer, std::string>;
using TSparseListStream = std::vector<TSparseListStreamValue>;

// A string list that stores only non-empty items. It owns its items, not their objects.
class TStringSparseList : public TStrings {
public:
    explicit TStringSparseList(TSPAQuantum AQuantum);
    ~TStringSparseList() override;

    TSparseList& List() { return *FList; }

    Integer Count() const override { return FList->Count(); }
    std::string Strings(Integer AIndex) const override;
    // An empty text on an item without an object frees the item.
    void SetStrings(Integer AIndex, const std::string& S) override;
    TObject* Objects(Integer AIndex) const override;
    // A non-null object on an empty slot creates an item with empty text.
    void SetObjects(Integer AIndex, TObject* AObject) override;
    void Clear() override;
    void Delete(Integer AIndex) override;
    // Exchanges without a change notice.
    void Exchange(Integer AIndex1, Integer AIndex2) override;
    // Always creates an item, also for an empty text.
    void Insert(Integer AIndex, const std::string& S) override;
    // Moves text and object together, shifting the items between.
    void Move(Integer ACurIndex, Integer ANewIndex) override;

    void WriteData(TSparseListStream& AStream) const;
    // Raises EReadError when the values are not a count followed by that many index/text pairs.
    void ReadData(const TSparseListStream& AStream);

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    TStrItem* ItemAt(Integer AIndex) const { return static_cast<TStrItem*>(FList->Items(AIndex)); }

    std::unique_ptr<TSparseList> FList;
};
